#pragma once

#include <span>
#include <string_view>
#include "core/status.h"

namespace tavoe {

// Legacy "=option" jumps: with the "Legacy Tavo" menu style, "=3.4" and the like leave whatever the
// user is doing and go straight to a menu option, as the panels of the older program did.

struct AppSession;

struct LegacyJumpRow {
    std::string_view option;   // upper case
    std::string_view command;  // posted to the main window
};

// Sets `table` to the jump table of a menu style and returns true: "Legacy Tavo" has 38 rows,
// "Modern Tavo" none. False for any other style, which has no jumps at all.
bool LegacyJumpTableFor(std::string_view menuStyle, std::span<const LegacyJumpRow>& table);

// The row whose option equals the (upper-cased) option exactly; null when there is none.
const LegacyJumpRow* FindLegacyJump(std::span<const LegacyJumpRow> table, std::string_view upperOption);

// "=option": the option as typed after "=". With a table for ZMENUSTYLE and a row for the option,
// closes every edit session and file list, empties the context stack, pushes the top menu's frame
// (LEGACY or MODERN) and posts the row's command; 0. Otherwise -1 after "Jump to option only
// supported when Tavo style menus are active." or "Invalid jump option '%s'".
Status LegacyJump(AppSession& app, std::string_view option);

}  // namespace tavoe
