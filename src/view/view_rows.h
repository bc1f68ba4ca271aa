#pragma once

#include <cstdint>
#include "core/status.h"

namespace tavoe {

// The rows of an edit session's data window: which line each row shows, how the view walks from one
// shown line to the next (excluded lines stay hidden behind their marker row), and where the cursor
// stands. A virtually loaded file is read further only as far as a walk needs.

struct AppSession;
struct EditBuffer;
struct EditSession;
struct LineRecord;

// The size of the data window in character cells: rows, and columns including the prefix area.
struct ViewGeometry {
    int rows = 0;
    int columns = 0;
};

// The data window's size: the main window's layout when there is one, else the size the view was
// last painted in (view.dataRows, view.dataColumns), else the rows of the row table (at least 1) and
// 80 columns.
ViewGeometry ViewGeometryOf(AppSession& app, const EditSession& session);

// Data columns of the window: its columns less the prefix area, at least 1.
int DataColumns(const EditSession& session, const ViewGeometry& geometry);

// Whether a walk past the last line in memory may read the next batches of a virtual load.
enum class MoreLines { Load, LoadedOnly };

// The next line a row shows after `line` (the next one with `visible` set), or null at the end. At
// the end of what is loaded, with MoreLines::Load, the next batches are read until one shows up or
// the file is complete.
LineRecord* NextShownLine(EditBuffer& buffer, LineRecord* line, MoreLines more = MoreLines::Load);

// The shown line before `line`, or null before the top marker.
LineRecord* PrevShownLine(LineRecord* line);

// `line` when it is shown; for a hidden line the excluded-lines marker in front of its run (or the
// nearest shown line before it); the first line for null.
LineRecord* ShownLineAtOrBefore(EditBuffer& buffer, LineRecord* line);

// Refills view.rowTable for `rows` rows from the top line (which is first moved onto a shown line).
// Rows below the end of the file hold null.
void RebuildRowTable(EditSession& session, int rows);

// The line on a data-window row (from 0), or null.
LineRecord* LineOnRow(const EditSession& session, int row);

// The line under the cursor while the cursor is in the data window (prefix or data area), else null.
LineRecord* ViewCursorLine(const EditSession& session);

// The row (from 0) that shows `line`, or -1.
int RowOfLine(const EditSession& session, const LineRecord* line);

// Puts the cursor on a data-window row (from 0), keeping its column and area. A row that shows no
// line gets "Severe error, cursor line not in frame buffer." (box, beep 2), the cursor stays where it
// was, and -1 is returned.
Status PutCursorOnRow(AppSession& app, EditSession& session, int row);

// Called before a line leaves the line list: a top line that is this line moves to the shown line
// after it (or before it at the end), and rows showing it are emptied until the next rebuild.
void ViewForgetLine(EditSession& session, LineRecord* line);

}  // namespace tavoe
