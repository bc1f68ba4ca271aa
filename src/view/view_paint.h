#pragma once

#include "ui/canvas.h"
#include "view/view_prefix.h"

namespace tavoe {

// Painting an edit session's data window, its ruler row and its hexadecimal pane. The view is a
// function of the line list, the scroll position and the settings: every paint rebuilds the row
// table and draws every row of the painter's rectangle.

struct AppSession;
struct EditSession;

// The instance's prefix options: numbers follow ZSHOWLINENUM ("TRUE" shows them); no box.
PrefixOptions PrefixOptionsOf(AppSession& app);

// Paints one row per shown line from the top line into the painter (the data window: the prefix area
// on the left, the data area right of it) and rebuilds session.view.rowTable. Each row: the prefix
// (see RowPrefix); the text from the horizontal offset (from the first character for the top and end
// markers, excluded-lines markers and NOTE lines) in the Edit or Browse colours, in runs of its colour
// bytes, with selected characters in the Select colours, NOTE lines wholly in the Other colours; the
// rest of the record area blank, in the Numbers colours with SHOWEOL on; columns beyond the maximum
// record length in the Numbers colours. Nothing is painted while the instance closes.
void PaintEditRows(AppSession& app, EditSession& session, ui::Painter& painter);
void PaintEditRowsWith(AppSession& app, EditSession& session, ui::Painter& painter,
                       const PrefixOptions& options);

// The COLS ruler row shown with RULER on: "<COLS>" in the prefix area, the ruler of the record's
// columns from the horizontal offset in the data area.
void PaintRulerRow(AppSession& app, EditSession& session, ui::Painter& painter);

// The two rows of the hexadecimal pane (ShowHexPane), blank under the prefix area.
void PaintHexPane(AppSession& app, EditSession& session, ui::Painter& painter);

// Where the vertical scroll bar's thumb stands in a bar of `cells` cells (arrows excluded) for a
// window of `rows` rows: the first cell and the number of cells. From the top line's record number
// among the file's records (while a virtual load runs, the count the bytes read so far suggest).
struct ScrollThumb {
    int first = 0;
    int length = 1;
};
ScrollThumb VerticalThumb(const EditSession& session, int rows, int cells);

}  // namespace tavoe
