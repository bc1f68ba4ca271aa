#pragma once

#include <cstdint>
#include "core/status.h"

namespace tavoe {

// The selection of an edit session as keystroke editing and the dispatchers see it: whether one
// exists, deleting it before a typed character takes its place, growing it with Shift and a cursor
// key, and selecting a word.

struct AppSession;
struct CursorPlace;
struct EditSession;
struct LineRecord;

// True when some line of the session holds selected columns.
bool SelectionExists(const EditSession& session);

// Deletes the selection before a typed character takes its place; 0 when it was deleted or there was
// none to delete, -1 after a refusal. The lines' selected columns are cleared; their text stays until
// selections can be cut.
Status DeleteSelection(AppSession& app, EditSession& session);

// Shift with a cursor key moved the cursor from one place to another. Without stream and block
// selections the selection does not grow: the cursor just moves.
void ExtendSelection(AppSession& app, EditSession& session, const CursorPlace& from, const CursorPlace& to);

// A double-click: the word at the record column (blank-delimited) becomes the line's selected
// columns, alone in the session. A blank at the column selects nothing.
void SelectWordAt(EditSession& session, LineRecord& line, std::int32_t column);

// Z and ZZ: the lines first..last (in file order) become the session's whole-line selection, alone in
// the session: each gets every column from 1 to the longest record.
void SelectLines(EditSession& session, LineRecord& first, LineRecord& last);

}  // namespace tavoe
