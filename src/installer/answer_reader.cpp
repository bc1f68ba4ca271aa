#include "answer_reader.h"

namespace tavoe {

AnswerStatus ReadAnswer(std::FILE* in, std::string& answer) {
    answer.clear();
    int c = std::fgetc(in);
    if (c == EOF) {
        return AnswerStatus::End;
    }
    for (; c != EOF && c != '\n'; c = std::fgetc(in)) {
        if (c == '\r') {
            int next = std::fgetc(in);
            if (next == '\n' || next == EOF) {
                break;
            }
            std::ungetc(next, in);
        }
        if (answer.size() == kMaxAnswerLength) {
            return AnswerStatus::TooLong;
        }
        answer.push_back(static_cast<char>(c));
    }
    return AnswerStatus::Line;
}

}  // namespace tavoe
