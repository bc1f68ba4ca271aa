#include "editing/selection.h"

#include <string_view>

#include "buffer/line_record.h"
#include "editing/edit_session.h"

namespace tavoe {

namespace {

bool IsBlankAt(std::string_view text, std::int32_t column) {
    return column < 1 || column > static_cast<std::int32_t>(text.size()) || text[column - 1] == ' ';
}

}  // namespace

bool SelectionExists(const EditSession& session) {
    for (const LineRecord& line : Lines(session.buffer)) {
        if (LineHasSelection(line)) {
            return true;
        }
    }
    return false;
}

Status DeleteSelection(AppSession&, EditSession& session) {
    for (LineRecord& line : Lines(session.buffer)) {
        LineClearSelection(line);
    }
    return 0;
}

void ExtendSelection(AppSession&, EditSession&, const CursorPlace&, const CursorPlace&) {}

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
    for (LineRecord& other : Lines(session.buffer)) {
        LineClearSelection(other);
    }
    LineSetSelStart(line, first);
    LineSetSelEnd(line, last);
}

void SelectLines(EditSession& session, LineRecord& first, LineRecord& last) {
    for (LineRecord& other : Lines(session.buffer)) {
        LineClearSelection(other);
    }
    const std::int32_t width =
        session.buffer.profile.maxRecordLength > 0 ? session.buffer.profile.maxRecordLength : 1;
    for (LineRecord* line = &first; line != nullptr; line = LineNext(line)) {
        LineSetSelStart(*line, 1);
        LineSetSelEnd(*line, width);
        if (line == &last) {
            break;
        }
    }
}

}  // namespace tavoe
