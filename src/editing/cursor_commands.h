#pragma once

#include <string_view>

namespace tavoe {

// The cursor's primary commands: CURSOR and CURSORMOVE.

struct AppSession;
struct EditSession;

// CURSOR: the cursor goes to its default place, the first data column shown on the first row that
// holds a data line (the first row when none does), with the focus in the data area.
void CursorCommand(AppSession& app, EditSession& session, std::string_view parameters);

// CURSORMOVE direction: the cursor moves as the key of that name moves it in the data window. The
// directions (any case): UP, DOWN, LEFT, RIGHT, HOME, END, TAB, BACKTAB, ENTER (to the start of the
// next row). No parameter: "CURSORMOVE command requires parameter"; another word: "CURSORMOVE unknown
// parameter: %s".
void CursorMoveCommand(AppSession& app, EditSession& session, std::string_view parameters);

}  // namespace tavoe
