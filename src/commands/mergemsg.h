#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavoe {

// MERGEMSG: compiler or macro error messages merged into the source they refer to, each as a NOTE
// line after the line it names, so the messages can be read (and LOCATE SPECIAL reached) in place.
//
// A message line is "file(line) text", "file(line,column) text" or "file(line) : text"; the macro
// error file's first line (the source path) and blank lines are passed over. Messages for other
// files (compared by name without directory and extension, in upper case) are skipped.

struct AppSession;
struct EditBuffer;

struct CompilerMessage {
    std::string file;            // as written, directory and extension included
    long line = 0;               // 1 = the first data line
    std::optional<long> column;  // present for the "(line,column)" form
    std::string text;            // after the blanks and colons that follow ")"
};

enum class MessageParse {
    Message,     // a message was taken apart
    NotMessage,  // no "(": not in the form "file-name(line-number) : ...msg..."
    BadFormat,   // a "(" but no "(line)" or "(line,column)" after a file name
};
MessageParse ParseCompilerMessage(std::string_view line, CompilerMessage& message);

// The NOTE text of a message: "(Col %ld) " and the text with a column, the text alone without.
std::string MessageNoteText(const CompilerMessage& message);

// Merges the message file named by `fileParam` (blanks around it and enclosing double quotes
// dropped) into the buffer. Returns the number of NOTE lines inserted (0 after "MERGEMSG: no error
// messages." when the file holds no message at all), or -1 after a message that ends the merge:
// "MERGEMSG: command requires file name.", "Unable to open error message file '%s'", "MERGEMSG:
// unable to locate error line.", "MERGEMSG: line number must be greater than 0." or one of the two
// format messages. Lines inserted before such a message stay.
int MergeMessages(AppSession& app, EditBuffer& buffer, std::string_view fileParam);

}  // namespace tavoe
