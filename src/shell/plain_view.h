#pragma once

#include <string>

#include "shell/keys.h"
#include "ui/canvas.h"

// The shell's own plain versions of the edit window's parts, used until the edit view and the
// keystroke editing supply theirs: the lines' text row by row, the status line, the COLS field and
// cursor movement inside the data window.

struct AppSession;
struct EditSession;

// Paints one row per shown line from the session's top line: the prefix area (record numbers of data
// lines, asterisks for the other lines) and the text from the horizontal offset. Fills
// session.view.rowTable.
void PaintPlainRows(AppSession& app, EditSession& session, ui::Painter& painter);

// " L %d  C %d  Task %d  RdOnly": the cursor's record number and data column ("-" when the cursor is
// on no data line or not in the data area), the number of edit sessions when more than one, and
// RdOnly for a browse. Empty when there is no edit session or the instance is closing.
std::string StatusLineText(AppSession& app);

// "COLS %02d %02d" .. "COLS %05d %05d" by the maximum record length: the first and last data column
// shown.
std::string ColsFieldText(AppSession& app, EditSession& session, int dataColumns);

// The plain editing actions: the cursor actions (Left, Right, Up, Down, Home, End, the data-area
// Enter, Tab and Back-Tab, leaving the command field) move the cursor inside the data window; typing,
// Backspace, Delete and delete-to-end-of-line change the data line under the cursor (never in a
// browse), by the instance's typing mode. Other actions do nothing here.
void PlainEditAction(AppSession& app, EditSession& session, const KeyOutcome& outcome, int dataRows,
                     int dataColumns);
