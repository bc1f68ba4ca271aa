#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace tavoe {

// Reads the user's answers from standard input, which may be a terminal or a pipe. Every question is
// answered with one line; an answer is held in a buffer of 256 characters, so at most 255 of them are
// taken.

inline constexpr std::size_t kMaxAnswerLength = 255;

enum class AnswerStatus {
    Line,     // a whole line was read (its line end removed)
    End,      // the input ended before any character of the line
    TooLong,  // the line did not fit; only kMaxAnswerLength characters of it were consumed
};

// Reads one answer line from `in`. A line end is "\n" or "\r\n"; a last line without a line end
// counts as a line. Reading stops after kMaxAnswerLength characters without a line end, so an endless
// line cannot make the installer hold unbounded input.
AnswerStatus ReadAnswer(std::FILE* in, std::string& answer);

}  // namespace tavoe
