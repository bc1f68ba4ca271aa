#pragma once

namespace tavoe {

// The editing actions of an edit session's data window: the key mapping's outcomes for the data area
// and the prefix area (typing, Backspace, Delete, DELEOL, the cursor keys with their Ctrl variants,
// Home, End, Tab, Back-Tab, Enter), the moves from the command field into the data window, and the
// mouse placing the cursor.
//
// The moves:
//   - Left and Right go one cell; at the edge of the data area the view scrolls one column instead
//     when ZCURSOR.HSCROLL is on (the default), never past the maximum record length.
//   - Up and Down go one row; on the first or last row the view scrolls one line instead.
//   - Ctrl+Left and Ctrl+Right go to the start of the previous or next word of the line; Ctrl+Up and
//     Ctrl+Down scroll the view one line and leave the cursor on its row.
//   - Home goes to the first data column shown; pressed there (or in the prefix area) it goes to the
//     primary command field. End goes behind the last non-blank of the line's text (before its
//     number columns), scrolling sideways to show it.
//   - Tab and Back-Tab step through the row's tab positions: the prefix area, the first data column
//     shown and every Tab key stop of the profile (TabKeyStopsAt) shown in the window; past the last
//     one of a row they go on in the next (or previous) row holding a line, and past the last row to
//     the primary command field.
//   - Enter goes to the start of the next row (the prefix area from the prefix area, else the first
//     data column shown); on the last row the view scrolls one line when ZENTERSCROLL is on (the
//     default), else the cursor goes to the first row.
//   - Backspace deletes the character before the cursor (insert mode) or blanks it (overtype mode)
//     and moves left; Delete deletes the character at the cursor; in the prefix area both edit the
//     pending line command.
//   - From the command field: Tab and Down go to the first row, Up to the last row, each at the first
//     data column shown; Back-Tab to the last tab position of the last row holding a line.
// With Shift held, a move extends the selection (editing/selection.h).

struct AppSession;
struct EditSession;
struct KeyOutcome;

// Performs a key mapping outcome that is an editing action; other outcomes are ignored.
void PerformEditAction(AppSession& app, EditSession& session, const KeyOutcome& outcome);

// A mouse press at a cell of the data window (row and column from 0): the cursor goes there and the
// focus to the prefix or data area under it. A cell beyond the maximum record length puts the cursor
// on the record's last column.
void PlaceCursor(AppSession& app, EditSession& session, int row, int column);

// The cursor returns from the command field to its place in the data window, in the data area.
void CursorToDataArea(AppSession& app, EditSession& session);

}  // namespace tavoe
