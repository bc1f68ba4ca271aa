#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// Reading and writing the variable arrays that dialogs bind: NAME.0 holds the count, NAME.1 ..
// NAME.n the entries.

struct AppSession;

// Lists hold at most this many entries; a larger count in NAME.0 is read as this many, so a wrong
// count cannot make the dialog create millions of variables.
inline constexpr long kDialogArrayMax = 32767;

// The value of a variable without creating it; "" when it does not exist.
std::string ReadDialogVar(AppSession& app, std::string_view name);

// The entries NAME.1 .. NAME.n for n = NAME.0, empty entries skipped.
std::vector<std::string> ReadDialogArray(AppSession& app, std::string_view name);

// Sets NAME.0 to the count and NAME.1 .. NAME.n to the entries.
void WriteDialogArray(AppSession& app, std::string_view name, const std::vector<std::string>& items);

// The text cut at its first blank (a list row's leading name).
std::string FirstWord(std::string_view text);

// Upper-cased copy (ASCII letters only).
std::string UpperCased(std::string_view text);

// The text padded with blanks to the width (not cut when longer).
std::string PadRight(std::string_view text, size_t width);

}  // namespace tavoe
