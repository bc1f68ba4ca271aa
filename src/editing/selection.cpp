#include "editing/selection.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/message.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/line_command_run.h"
#include "editing/line_commands.h"
#include "editing/typing_fields.h"
#include "editing/undo_journal.h"

namespace tavoe {

namespace {

constexpr std::string_view kReadOnly = "Not allowed to modify READ-ONLY file.";
constexpr std::int32_t kCobolFieldEnd = 6;

bool IsBlankAt(std::string_view text, std::int32_t column) {
    return column < 1 || column > static_cast<std::int32_t>(text.size()) || text[column - 1] == ' ';
}

bool IsWholeLine(const LineRecord& line) {
    return line.selStart == 1 && line.selEnd >= kSelectionLineEnd;
}

void SetColumns(LineRecord& line, std::int32_t first, std::int32_t last) {
    LineSetSelStart(line, std::max(first, 1));
    LineSetSelEnd(line, std::max(last, first));
}

// The selected columns of a partial line that lie inside its text field and its text, as a byte
// offset and count; the number columns beside the field are never deleted.
struct ByteSpan {
    std::uint32_t offset = 0;
    std::uint32_t count = 0;
};
ByteSpan DeletableSpan(const EditBuffer& buffer, const LineRecord& line) {
    const EditField field = TextFieldOf(buffer, line);
    const auto length = static_cast<std::int32_t>(LineLength(line));
    const std::int32_t first = std::max(line.selStart, field.first);
    const std::int32_t last = std::min({line.selEnd, field.last, length});
    if (first > last) {
        return {};
    }
    return {static_cast<std::uint32_t>(first - 1), static_cast<std::uint32_t>(last - first + 1)};
}

// A partial line whose selection covers some but not all of the COBOL number columns.
bool CutsCobolField(const EditBuffer& buffer, const LineRecord& line) {
    const NumberType type = buffer.profile.numberType;
    if ((type != NumberType::Cobol && type != NumberType::CobStd) || line.selStart > kCobolFieldEnd) {
        return false;
    }
    return line.selStart > 1 || line.selEnd < kCobolFieldEnd;
}

// Removes the span from the line's text; in a padded field blanks take its place at the field's end,
// so the columns after the field keep their place.
Status DeleteSpan(AppSession& app, EditSession& session, LineRecord& line, ByteSpan span) {
    EditBuffer& buffer = session.buffer;
    JournalTextChange(app, session, line);
    const EditField field = TextFieldOf(buffer, line);
    const auto fieldEnd = static_cast<std::uint32_t>(field.last);
    if (field.shape == FieldShape::Padded && fieldEnd < LineLength(line)) {
        if (LineReplaceText(buffer, line, fieldEnd, 0, std::string(span.count, ' ')) != 0) {
            return -1;
        }
    }
    if (LineReplaceText(buffer, line, span.offset, span.count, {}) != 0) {
        return -1;
    }
    buffer.modified = true;
    if (buffer.colorizer != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, line);
    }
    return 0;
}

// The session's data line the anchor still names, or null when it is gone.
LineRecord* LiveAnchor(const EditSession& session) {
    const LineRecord* anchor = session.selection.anchorLine;
    if (anchor == nullptr) {
        return nullptr;
    }
    for (LineRecord& line : Lines(session.buffer)) {
        if (&line == anchor) {
            return &line;
        }
    }
    return nullptr;
}

// The record column a place stands for: the data column, or in the prefix area the first column
// shown.
std::int32_t PlaceColumn(const EditSession& session, const CursorPlace& place) {
    return place.area == CursorArea::Data ? place.column : FirstShownColumn(session);
}

// Selects from the anchor to the place, whichever comes first in the file.
void SelectFromAnchor(EditSession& session, SelectionMode mode, LineRecord& anchor, std::int32_t anchorColumn,
                      LineRecord& line, std::int32_t column) {
    const SelectionState keep = session.selection;
    if (mode == SelectionMode::Block) {
        const std::int32_t left = std::min(anchorColumn, column);
        const std::int32_t right = std::max(anchorColumn, column);
        if (LineNotAfter(anchor, line)) {
            SetSelection(session, mode, anchor, left, line, right);
        } else {
            SetSelection(session, mode, line, left, anchor, right);
        }
    } else if (&anchor == &line) {
        SetSelection(session, mode, line, std::min(anchorColumn, column), line,
                     std::max(anchorColumn, column));
    } else if (LineNotAfter(anchor, line)) {
        SetSelection(session, mode, anchor, anchorColumn, line, column);
    } else {
        SetSelection(session, mode, line, column, anchor, anchorColumn);
    }
    session.selection.anchorLine = keep.anchorLine;
    session.selection.anchorColumn = keep.anchorColumn;
    session.selection.dragging = keep.dragging;
}

}  // namespace

bool SelectionExists(const EditSession& session) {
    if (session.selection.mode == SelectionMode::None) {
        return false;
    }
    for (const LineRecord& line : Lines(session.buffer)) {
        if (LineHasSelection(line)) {
            return true;
        }
    }
    return false;
}

SelectionSpan FindSelection(const EditSession& session) {
    SelectionSpan span;
    if (session.selection.mode == SelectionMode::None) {
        return span;  // no line carries columns: every maker of a selection sets the mode
    }
    for (LineRecord& line : Lines(session.buffer)) {
        if (LineHasSelection(line)) {
            span.first = span.first != nullptr ? span.first : &line;
            span.last = &line;
        }
    }
    if (span.first != nullptr) {
        span.mode = session.selection.mode;
    }
    return span;
}

void ClearSelection(EditSession& session) {
    if (session.selection.mode != SelectionMode::None) {
        for (LineRecord& line : Lines(session.buffer)) {
            LineClearSelection(line);
        }
    }
    session.selection = SelectionState{};
}

void SetSelection(EditSession& session, SelectionMode mode, LineRecord& first, std::int32_t firstColumn,
                  LineRecord& last, std::int32_t lastColumn) {
    for (LineRecord& line : Lines(session.buffer)) {
        LineClearSelection(line);
    }
    session.selection = SelectionState{};
    session.selection.mode = mode;
    for (LineRecord* line = &first; line != nullptr; line = LineNext(line)) {
        if (IsDataLine(*line)) {
            std::int32_t from = 1;
            std::int32_t to = kSelectionLineEnd;
            if (mode == SelectionMode::Block) {
                from = firstColumn;
                to = lastColumn;
            } else if (mode == SelectionMode::Stream) {
                from = line == &first ? firstColumn : 1;
                to = line == &last ? lastColumn : kSelectionLineEnd;
            }
            SetColumns(*line, from, to);
        }
        if (line == &last) {
            break;
        }
    }
}

bool LineNotAfter(const LineRecord& a, const LineRecord& b) {
    // Walk both ways from `a` at once, so the cost is the distance between the lines.
    const LineRecord* forward = &a;
    const LineRecord* backward = &a;
    while (forward != nullptr || backward != nullptr) {
        if (forward == &b) {
            return true;
        }
        if (backward == &b) {
            return false;
        }
        forward = forward != nullptr ? LineNext(forward) : nullptr;
        backward = backward != nullptr ? LinePrev(backward) : nullptr;
    }
    return true;
}

Status CheckSelectionDeletable(AppSession& app, EditSession& session, const SelectionSpan& span) {
    if (session.ReadOnly()) {
        ShowMessage(app, kReadOnly, MsgTo::Line, Beep::Error);
        return -1;
    }
    for (LineRecord* line = span.first; line != nullptr; line = LineNext(line)) {
        if (LineHasSelection(*line) && !IsWholeLine(*line) && CutsCobolField(session.buffer, *line)) {
            ShowMessage(app, "Not allowed to delete part of COBOL line number field.", MsgTo::Box,
                        Beep::Exclamation);
            return -1;
        }
        if (line == span.last) {
            break;
        }
    }
    return 0;
}

Status DeleteSelection(AppSession& app, EditSession& session) {
    SelectionSpan span = FindSelection(session);
    if (!span) {
        ClearSelection(session);
        return 0;
    }
    if (CheckSelectionDeletable(app, session, span) != 0) {
        return -1;
    }
    EditBuffer& buffer = session.buffer;
    UndoGroup group(app, session);
    EditViewState& view = session.view;
    LineRecord* after = LineNext(span.last);
    Status result = 0;
    bool hiddenGone = false;
    for (LineRecord* line = span.first; line != nullptr && line != after;) {
        LineRecord* next = LineNext(line);
        if (!LineHasSelection(*line)) {
            line = next;
            continue;
        }
        if (IsWholeLine(*line)) {
            if (line == view.topLine) {
                view.topLine = next != nullptr ? next : LinePrev(line);
            }
            hiddenGone = hiddenGone || !LineIsVisible(*line);
            ForgetLineCommands(session, *line);
            LineDelete(buffer, line);
        } else {
            ByteSpan bytes = DeletableSpan(buffer, *line);
            LineClearSelection(*line);
            if (bytes.count > 0 && DeleteSpan(app, session, *line, bytes) != 0) {
                result = -1;
            }
        }
        line = next;
    }
    ClearSelection(session);
    if (hiddenGone) {
        RebuildMarkersKeepingView(app, session);  // an excluded run may be shorter or gone
    } else {
        RefreshRowTable(app, session);  // the rows must not show removed lines
    }
    return result;
}

void ExtendSelection(AppSession&, EditSession& session, const CursorPlace& from, const CursorPlace& to) {
    if (from.line == nullptr || to.line == nullptr) {
        return;
    }
    SelectionState& state = session.selection;
    const SelectionMode mode =
        state.mode == SelectionMode::Block ? SelectionMode::Block : SelectionMode::Stream;
    LineRecord* anchor = state.mode == mode ? LiveAnchor(session) : nullptr;
    if (anchor == nullptr) {
        anchor = from.line;
        state.anchorLine = anchor;
        state.anchorColumn = PlaceColumn(session, from);
    }
    const std::int32_t anchorColumn = state.anchorColumn;
    const std::int32_t column = PlaceColumn(session, to);
    if (mode == SelectionMode::Block) {
        SelectFromAnchor(session, mode, *anchor, anchorColumn, *to.line, column);
        return;
    }
    if (anchor == to.line && column == anchorColumn) {
        // Back where it started: nothing is selected, but the next Shift move grows from here.
        for (LineRecord& line : Lines(session.buffer)) {
            LineClearSelection(line);
        }
        state.mode = mode;
        return;
    }
    // A stream covers the characters between the two cursor places: moving forward, the character
    // under the new place is not part of it; moving back, the one under the anchor is not.
    const bool forward = anchor == to.line ? column > anchorColumn : LineNotAfter(*anchor, *to.line);
    if (forward) {
        SelectFromAnchor(session, mode, *anchor, anchorColumn, *to.line, column - 1);
    } else {
        SelectFromAnchor(session, mode, *anchor, anchorColumn - 1, *to.line, column);
    }
}

void SelectWordAt(EditSession& session, LineRecord& line, std::int32_t column) {
    std::string_view text = LineText(line);
    if (IsBlankAt(text, column)) {
        return;
    }
    std::int32_t first = column;
    std::int32_t last = column;
    while (!IsBlankAt(text, first - 1)) {
        --first;
    }
    while (!IsBlankAt(text, last + 1)) {
        ++last;
    }
    SetSelection(session, SelectionMode::Stream, line, first, line, last);
}

void SelectLines(EditSession& session, LineRecord& first, LineRecord& last) {
    SetSelection(session, SelectionMode::WholeLine, first, 1, last, kSelectionLineEnd);
}

void MouseSelectBegin(AppSession& app, EditSession& session) {
    ClearSelection(session);
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr) {
        return;
    }
    session.selection.anchorLine = place.line;
    session.selection.anchorColumn = PlaceColumn(session, place);
    session.selection.dragging = true;
}

void MouseSelectTo(AppSession& app, EditSession& session, SelectionMode mode) {
    if (!session.selection.dragging) {
        return;
    }
    CursorPlace place = CursorPlaceOf(app, session);
    LineRecord* anchor = LiveAnchor(session);
    if (anchor == nullptr) {
        return;
    }
    std::int32_t column = PlaceColumn(session, place);
    if (place.line == nullptr) {
        // Below the end of the file: up to the end of the last line shown.
        const std::vector<LineRecord*>& rows = session.view.rowTable;
        for (int row = std::min(place.row, static_cast<int>(rows.size()) - 1); row >= 0; --row) {
            if (rows[static_cast<std::size_t>(row)] != nullptr) {
                place.line = rows[static_cast<std::size_t>(row)];
                break;
            }
        }
        if (place.line == nullptr) {
            return;
        }
        column = mode == SelectionMode::Block ? column : kSelectionLineEnd;
    }
    SelectFromAnchor(session, mode, *anchor, session.selection.anchorColumn, *place.line, column);
}

void MouseSelectEnd(EditSession& session) {
    session.selection.dragging = false;
}

}  // namespace tavoe
