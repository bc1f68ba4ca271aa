#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/command_alias.h"

namespace tavoe {

// Alias lists kept by an instance: primary-command aliases (a short verb standing for a command
// name) and file-profile aliases (a file type standing for another profile). Both are loaded from
// and saved to the main profile, one "alias actual" pair per variable.

inline constexpr int kAliasNameMax = 14;    // characters of the alias
inline constexpr int kAliasActualMax = 16;  // characters of the command or profile it stands for

// The entry whose alias equals the text exactly; null when there is none.
const CommandAlias* FindAlias(const CommandAliasList& list, std::string_view alias);

// Splits a profile value "alias actual" (blanks between, leading blanks skipped) into an entry, each
// part cut to its record length. False, leaving entry unchanged, when either part is missing.
bool ParseAliasValue(std::string_view value, CommandAlias& entry);

}  // namespace tavoe
