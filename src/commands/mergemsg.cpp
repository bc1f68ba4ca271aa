#include "commands/mergemsg.h"

#include <filesystem>
#include <fstream>
#include <limits>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr long kNumberCeiling = std::numeric_limits<int>::max();

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number at `at`: an optional "-" and at least one digit; large values stop at kNumberCeiling.
bool ParseNumber(std::string_view text, size_t& at, long& value) {
    bool negative = at < text.size() && text[at] == '-';
    size_t digits = negative ? at + 1 : at;
    if (digits >= text.size() || !IsDigit(text[digits])) {
        return false;
    }
    value = 0;
    for (at = digits; at < text.size() && IsDigit(text[at]); ++at) {
        value = value >= kNumberCeiling / 10 ? kNumberCeiling : value * 10 + (text[at] - '0');
    }
    if (negative) {
        value = -value;
    }
    return true;
}

// The name without its directory and extension, upper-cased; both "/" and "\" end a directory,
// since message files may come from other systems.
std::string FileStem(std::string_view path) {
    size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        path.remove_prefix(slash + 1);
    }
    size_t dot = path.rfind('.');
    if (dot != std::string_view::npos) {
        path = path.substr(0, dot);
    }
    return CommandToUpper(path);
}

std::string_view Unquoted(std::string_view text) {
    text = CommandTrim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

void Report(AppSession& app, std::string_view text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

// The n-th data line (1 = first), counted in the order the lines stand now.
LineRecord* NthDataLine(const EditBuffer& buffer, long n) {
    long seen = 0;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (++seen == n) {
            return line;
        }
    }
    return nullptr;
}

}  // namespace

MessageParse ParseCompilerMessage(std::string_view line, CompilerMessage& message) {
    size_t open = line.find('(');
    if (open == std::string_view::npos) {
        return MessageParse::NotMessage;
    }
    // File names may hold parentheses themselves: the first "(" that opens a line number wins.
    for (; open != std::string_view::npos; open = line.find('(', open + 1)) {
        if (open == 0) {
            continue;
        }
        size_t at = open + 1;
        long number = 0;
        if (!ParseNumber(line, at, number)) {
            continue;
        }
        std::optional<long> column;
        if (at < line.size() && line[at] == ',') {
            ++at;
            long value = 0;
            if (!ParseNumber(line, at, value)) {
                continue;
            }
            column = value;
        }
        if (at >= line.size() || line[at] != ')') {
            continue;
        }
        ++at;
        while (at < line.size() && (line[at] == ' ' || line[at] == ':' || line[at] == '\t')) {
            ++at;
        }
        message.file = std::string(line.substr(0, open));
        message.line = number;
        message.column = column;
        message.text = std::string(line.substr(at));
        return MessageParse::Message;
    }
    return MessageParse::BadFormat;
}

std::string MessageNoteText(const CompilerMessage& message) {
    if (message.column) {
        return Format("(Col %ld) ", *message.column) + message.text;
    }
    return message.text;
}

int MergeMessages(AppSession& app, EditBuffer& buffer, std::string_view fileParam) {
    std::string path(Unquoted(fileParam));
    if (path.empty()) {
        Report(app, "MERGEMSG: command requires file name.");
        return -1;
    }
    // Only a regular file: a directory reads as empty and a pipe could wait for ever.
    std::error_code error;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, error)) {
        in.open(path);
    }
    if (!in.is_open()) {
        Report(app, Format("Unable to open error message file '%s'", path.c_str()));
        return -1;
    }
    const std::string ownStem = FileStem(buffer.displayName.empty() ? buffer.fileName : buffer.displayName);
    const size_t maxLength = buffer.profile.maxRecordLength > 0
                                 ? static_cast<size_t>(buffer.profile.maxRecordLength)
                                 : static_cast<size_t>(64000);
    int messages = 0;
    int inserted = 0;
    bool firstLine = true;
    std::string text;
    while (std::getline(in, text)) {
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) {
            text.pop_back();
        }
        if (CommandTrim(text).empty()) {
            continue;
        }
        CompilerMessage message;
        MessageParse parsed = ParseCompilerMessage(text, message);
        bool header = firstLine;
        firstLine = false;
        if (parsed != MessageParse::Message) {
            if (header) {
                continue;  // the macro error file starts with the source path
            }
            Report(app, parsed == MessageParse::NotMessage
                            ? "MERGEMSG: message file not in format: file-name(line-number) : ...msg..."
                            : "MERGEMSG: message file not in correct format");
            return -1;
        }
        ++messages;
        if (FileStem(message.file) != ownStem) {
            continue;
        }
        if (message.line < 1) {
            Report(app, "MERGEMSG: line number must be greater than 0.");
            return -1;
        }
        LineRecord* target = NthDataLine(buffer, message.line);
        if (target == nullptr) {
            Report(app, "MERGEMSG: unable to locate error line.");
            return -1;
        }
        // Several messages for one line keep their order: each goes after the notes already there.
        LineRecord* after = target;
        while (LineNext(after) != nullptr && LineGetKind(*LineNext(after)) == LineKind::Note) {
            after = LineNext(after);
        }
        std::string note = MessageNoteText(message).substr(0, maxLength);
        LineRecord* line = LineNew(buffer, note);
        if (line == nullptr) {
            return -1;
        }
        LineSetKind(*line, LineKind::Note);
        if (LineInsertAfter(buffer, after, line) != 0) {
            LineFree(buffer, line);
            return -1;
        }
        ++inserted;
    }
    if (messages == 0) {
        ShowMessage(app, "MERGEMSG: no error messages.", MsgTo::Box, Beep::Information);
    }
    return inserted;
}

}  // namespace tavoe
