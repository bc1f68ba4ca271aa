#pragma once

#include <cstdint>

#include "core/status.h"
#include "editing/selection_state.h"

namespace tavoe {

// The selection of an edit session: a stream of text, a set of whole lines or a rectangle of
// columns. Each selected data line carries its own selected columns (selStart..selEnd, from 1): a
// whole line 1..64000; a stream its first line from the start column to 64000, inner lines whole and
// its last line from 1 to the end column; a block the same columns on every line. Lines that are not
// data lines (notes, markers, COLS and the like) never carry a selection, so a range over them
// selects the data lines around them. Excluded data lines inside the range are selected like any
// other: they are part of the text the range covers.

struct AppSession;
struct CursorPlace;
struct EditSession;
struct LineRecord;

// The first and last selected lines (file order) and the selection's shape; null lines when there
// is no selection.
struct SelectionSpan {
    LineRecord* first = nullptr;
    LineRecord* last = nullptr;
    SelectionMode mode = SelectionMode::None;
    explicit operator bool() const { return first != nullptr; }
};

// True when some line of the session holds selected columns.
bool SelectionExists(const EditSession& session);
SelectionSpan FindSelection(const EditSession& session);

// No line keeps selected columns afterwards; the mode is None.
void ClearSelection(EditSession& session);

// Makes the lines first..last (file order) the session's selection, alone in it, in the given
// shape, from firstColumn of the first line to lastColumn of the last (for a block, the columns of
// every line). Whole lines ignore the columns.
void SetSelection(EditSession& session, SelectionMode mode, LineRecord& first, std::int32_t firstColumn,
                  LineRecord& last, std::int32_t lastColumn);

// Whether `a` stands before `b` in the file (or is `b`). Both must be lines of the session.
bool LineNotAfter(const LineRecord& a, const LineRecord& b);

// Deletes the selection: whole lines are removed, partial lines lose their selected columns (the
// text after them moves left within the line's text field; sequence number columns stay). One undo
// step. 0 when it was deleted or there was none, -1 after a refusal ("Not allowed to modify
// READ-ONLY file.", or "Not allowed to delete part of COBOL line number field."), which leaves the
// file unchanged.
Status DeleteSelection(AppSession& app, EditSession& session);

// The refusals of DeleteSelection alone, with their messages: CUT asks before it copies, so a
// refused cut leaves the clipboard as it was too.
Status CheckSelectionDeletable(AppSession& app, EditSession& session, const SelectionSpan& span);

// Shift with a cursor key moved the cursor from one place to another in the data area: the stream
// (or block) selection grows from where it was started to the new place; without one, a stream
// selection starts at the old place.
void ExtendSelection(AppSession& app, EditSession& session, const CursorPlace& from, const CursorPlace& to);

// A double-click: the word at the record column (blank-delimited) becomes a stream selection of one
// line. A blank at the column selects nothing.
void SelectWordAt(EditSession& session, LineRecord& line, std::int32_t column);

// Z, ZZ and SELECT ALL: the lines first..last (in file order) become the whole-line selection.
void SelectLines(EditSession& session, LineRecord& first, LineRecord& last);

// The mouse: a press in the data window starts a drag at the cursor's place (the cursor was placed
// there already) and removes the selection; each move while the button is held selects from there
// to the cursor's new place, as a stream, or as a block with Ctrl; the release ends the drag.
void MouseSelectBegin(AppSession& app, EditSession& session);
void MouseSelectTo(AppSession& app, EditSession& session, SelectionMode mode);
void MouseSelectEnd(EditSession& session);

}  // namespace tavoe
