#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "profiles/file_profile.h"

namespace tavoe {

// Filling and reading a FileProfile by the keywords of the profile file format. Keywords match
// exactly, case included. Values are taken as the file spells them: the choice texts compared
// case-sensitively (NumberType alone is upper-cased first and also takes "COB" and "STD"),
// integers in decimal, booleans "TRUE" and "FALSE", Bounds as two integers separated by commas or
// blanks, Tabs as integers separated by blanks or commas ("0" for none), MaskLine in single
// quotes. Surrounding blanks are ignored. Nothing is reported here: the profile reader names the
// offending line in its own message.

enum class ProfileKeywordStatus {
    Ok,              // the field was set
    Ignored,         // a recognised keyword without a field (BOOLautosave)
    UnknownKeyword,  // not a profile keyword; nothing changed
    BadValue,        // the value is out of its range or set, or too long; nothing changed
};

// Stores value into the field named by keyword.
[[nodiscard]] ProfileKeywordStatus SetFileProfileKeyword(FileProfile& profile, std::string_view keyword,
                                                         std::string_view value);

// The field named by keyword as the profile writer spells it ("Variable", "ASCII-IBMPC", "1,255",
// "2,4,6", "0" for no tab stops, "'mask'", "TRUE"). None for an unknown keyword and for
// BOOLautosave.
std::optional<std::string> FileProfileKeywordValue(const FileProfile& profile, std::string_view keyword);

bool IsFileProfileKeyword(std::string_view keyword);

}  // namespace tavoe
