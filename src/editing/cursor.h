#pragma once

#include <cstdint>

#include "core/shell_port.h"

namespace tavoe {

// The cursor of an edit session's data window and the moves that keep it inside the view.
//
// The cursor is a row of the data window (view.cursorRow, from 0) and a cell of that row
// (view.cursorColumn, from 0, the prefix area included). Cells left of the prefix width are the prefix
// area; the others show record columns from the horizontal offset on, so the record column under the
// cursor is offset + (cell - prefix width) + 1. The session remembers the place while the focus is in
// the command field: a DATA or HEXIN command typed there works at it.

struct AppSession;
struct EditSession;
struct LineRecord;

enum class CursorArea : std::uint8_t { Prefix, Data };

// Where the cursor is, resolved against the row table.
struct CursorPlace {
    LineRecord* line = nullptr;  // the line on the cursor's row; null on a row below the file
    int row = 0;
    CursorArea area = CursorArea::Data;
    int prefixOffset = 0;     // Prefix: the cell in the prefix area, from 0
    std::int32_t column = 0;  // Data: the record column, from 1
};

// The data window's size in cells, the prefix area included (as the view lays it out).
DataWindowSize WindowSizeOf(AppSession& app, EditSession& session);

// Cells of the data area (window columns minus the prefix width, at least 0).
int DataAreaColumns(AppSession& app, EditSession& session);

CursorPlace CursorPlaceOf(AppSession& app, EditSession& session);

// The line on the cursor's row, or null.
LineRecord* CursorLine(AppSession& app, EditSession& session);

// The record column shown in the first cell of the data area.
std::int32_t FirstShownColumn(const EditSession& session);

// Fills the row table from the view's top line over the shown lines, one entry per row of the window.
void RefreshRowTable(AppSession& app, EditSession& session);

// The row (from 0) that shows `line` after the row table is refreshed; a line not on the screen is
// first made the top line. -1 when it still shows nowhere (a hidden line).
int RowShowingLine(AppSession& app, EditSession& session, LineRecord* line);

// Scrolls the view by `delta` shown lines (negative: up) as UP n and DOWN n do, stopping at the top
// marker and at the last line. Returns whether the top line moved.
bool ScrollRows(AppSession& app, EditSession& session, int delta);

// Puts the cursor in the data area on the record column (1 .. maximum record length), scrolling the
// view left or right just enough to show it.
void ShowCursorColumn(AppSession& app, EditSession& session, std::int32_t column);

// Puts the cursor on the column just past the record's last column (after a character went into the
// last column), so the next key is refused with a message instead of replacing that column again.
void ShowCursorPastRecord(AppSession& app, EditSession& session);

// Puts the cursor on the row (within the window) and fits the focus to the cell: Prefix or Data.
void SetCursorRow(AppSession& app, EditSession& session, int row);

// The focus follows the cursor's cell when it is in the data window: the prefix area or the data area.
void FitFocusToCursor(EditSession& session);

// Moves the cursor one row down, scrolling the view by one line on the last row. Returns false when
// it could not move (the last line is already at the top of the view on the last row).
bool CursorRowDown(AppSession& app, EditSession& session);
bool CursorRowUp(AppSession& app, EditSession& session);

// Settings read by the cursor moves: ZCURSOR.HSCROLL (the view scrolls sideways when the cursor keys
// run into its edge) and ZENTERSCROLL (Enter on the last row scrolls instead of wrapping to the
// first). Both are on unless the variable says "FALSE".
bool HScrollAtEdge(AppSession& app);
bool EnterScrolls(AppSession& app);

}  // namespace tavoe
