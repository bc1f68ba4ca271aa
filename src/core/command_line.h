#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavoe {

// Taking a primary command line apart: the sub-commands of a chained line, the verb and the
// parameters of each, as the edit, general and file list dispatchers cut them. Nothing here looks a
// verb up or runs it.

inline constexpr size_t kEditCommandTextMax = 1023;  // longer edit command lines are cut to this
inline constexpr size_t kVerbMax = 31;               // a longer verb is in no table
inline constexpr size_t kCommandFieldMax = 255;      // characters a command field holds

// The text upper-cased (ASCII letters only; other bytes are kept).
std::string CommandToUpper(std::string_view text);

// The text without blanks at either end.
std::string_view CommandTrim(std::string_view text);

// The next sub-command of an edit command line, and `rest` moved past it. Blanks and ";" before it
// are skipped; it ends at the first ";" that stands outside a pair of double quotes and outside a
// pair of single quotes (a quote left open runs to the end of the line). nullopt when nothing but
// blanks and ";" is left.
std::optional<std::string_view> NextSubCommand(std::string_view& rest);

// An edit sub-command cut into verb and parameters: the verb runs to the first blank and is
// upper-cased; the parameters are what follows the blanks after it, quotes and case kept.
struct EditCommandLine {
    std::string verb;    // upper case
    std::string params;  // empty when there are none
};
EditCommandLine SplitEditCommand(std::string_view subCommand);

// A general command line: the verb up to the first blank, all parameters (the rest after the
// blanks, in its own case), the first and second word of the parameters and the text after the
// second word. Verb, P1 and P2 are upper-cased. The general dispatcher does not split at ";".
struct GeneralCommandLine {
    std::string verb;
    std::string allParams;
    std::string p1;
    std::string p2;
    std::string rest;  // after P2 and the blanks that follow it
};
GeneralCommandLine SplitGeneralCommand(std::string_view text);

// The next sub-command of a file list command line, and `rest` moved past it and its ";". The verb
// runs to the first blank or ";" and is upper-cased, "S" and "SEL" standing for "SELECT"; the
// parameters run from the next non-blank to the next ";" (quotes are not recognised). `start` is
// where the sub-command began in the text given. nullopt when only blanks and ";" are left.
struct FileListCommandLine {
    std::string verb;
    std::string params;
    size_t start = 0;
};
std::optional<FileListCommandLine> NextFileListCommand(std::string_view text, size_t& position);

// The first blank-delimited word of a text (leading blanks skipped), and the rest after the blanks
// that follow it.
struct CommandWords {
    std::string_view word;
    std::string_view rest;
};
CommandWords CommandFirstWord(std::string_view text);

}  // namespace tavoe
