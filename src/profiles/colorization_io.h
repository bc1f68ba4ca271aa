#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "profiles/colorizer.h"

namespace tavoe {

// Colorization files: "<TYPE>.clr" text files along ZPATH.COLORIZATION, one statement per line.
// A statement starts with its keyword in upper or lower case (leading blanks ignored); any other line
// is a comment. Numbers are decimal and separated by commas; a text operand runs to the next comma,
// the last one to the end of the line. In words and delimiters "\d" followed by a number 1..255 is
// the character of that code and a backslash before anything else stands for that character.
//
//   COLOR_DELIMITERS chars         COLOR_CASE_SENSE YES|NO       COLOR_LITERALS fg,bg
//   COLOR_ESCAPE c                 COLOR_BEGEND fg,bg,begin,end  COLOR_TO_END fg,bg,text
//   COLOR_COL_TO_END fg,bg,text,column                           COLOR_WORD_SET fg,bg
//   COLOR_WORD word word ...       COLOR_FIELD fg,bg,from,to,name
//
// COLOR_ESCAPE names the character that, inside a literal, takes the next character into it (the
// backslash of C, Java, shell and Python strings); files without it read as before.

struct AppSession;

inline constexpr std::string_view kColorizationExtension = ".clr";
inline constexpr std::string_view kColorizationPathVariable = "ZPATH.COLORIZATION";

// A type name usable as a file name: 1 to 7 characters, no "/" and no leading ".".
bool IsColorTypeName(std::string_view name);

// Reads the colorization of this type along ZPATH.COLORIZATION. A missing file (or a name that cannot
// be a file) gives none without a message. A faulty file gives none after one message box naming the
// file, and the line where the fault is not one of the classic messages; single bad words are
// dropped with a message and the rest loads.
std::shared_ptr<Colorizer> LoadColorizer(AppSession& app, std::string_view typeName);

// The same reading applied to text, as if it were the file `fileName` of type typeName.
std::shared_ptr<Colorizer> ParseColorizationText(AppSession& app, std::string_view typeName,
                                                 std::string_view fileName, std::string_view text);

// The text the writer produces. Field mode: one COLOR_FIELD line per field. Word mode: the
// delimiters (when any), the case rule, the literal colours and escape, the block comment, the
// comment to end and the column comment (each when set), then each used word set whose colours
// differ, after a "//**** WORD SET ****" comment line, with one COLOR_WORD line per word.
std::string ColorizationText(const Colorizer& colorizer);

// Writes the colorization as "<TYPE>.clr" into the first directory of ZPATH.COLORIZATION, replacing
// the file only once the new text is on disk. -1 after "Unable to open '%s' for write.".
int SaveColorizer(AppSession& app, const Colorizer& colorizer);

// Adds one word (escapes already resolved) to a set (0-based), with the rules of the reader: a word
// of digits only is refused, a longer word is cut to 31 characters, a case-blind colorizer stores it
// upper-cased, a word some set already holds is refused. Refusals are reported unless `quiet` says
// they were reported already; 0 when the word was added.
struct ColorWordNotes {
    bool digitsShown = false;
    bool duplicateShown = false;
};
int AddColorWord(AppSession& app, Colorizer& colorizer, std::string_view word, int set,
                 ColorWordNotes* notes = nullptr);

// The words of a COLOR_WORD line, blank-separated, escapes resolved.
std::string ResolveColorEscapes(std::string_view text);

}  // namespace tavoe
