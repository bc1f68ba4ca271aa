#pragma once

#include <cstdint>
#include "core/status.h"

namespace tavoe {

// Taking changes back from the undo journal (editing/undo_journal.h).

struct AppSession;
struct EditSession;

// One UNDO step: the newest group of the session's journal is taken back, entry by entry from the
// newest, and the entries go back to the pool.
//   - a changed text gets its saved text (and kind) again, `numberValid` and `textModified` cleared,
//     `visible` set, recoloured; on the current line the cursor returns to the column of the change;
//   - a deleted line goes back in front of the line that followed it;
//   - an inserted line is taken out again, or a NOTE or COLS line made data by MD becomes that line
//     again.
// Lines of an I command that were never typed into stop being placeholders first. Every restored
// data change marks the session modified, since the file on disk may hold the undone state. The
// view's top line, row table and cursor row are brought up to date, and the excluded-lines markers
// rebuilt when the change touched excluded lines.
// 0, or -1 after "Not in Edit, command ignored." (no session) or "UNDO journal empty or UNDO is
// disabled.".
Status UndoStep(AppSession& app, EditSession* session);

// Up to `maxSteps` steps, stopping quietly when the journal runs empty after the first; an empty
// journal at the start is reported as UndoStep does. The number of steps taken, or -1.
std::int64_t UndoSteps(AppSession& app, EditSession* session, std::uint64_t maxSteps);

}  // namespace tavoe
