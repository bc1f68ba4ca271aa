#include "editing/cursor.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/edit_view_port.h"
#include "editing/typing_fields.h"

namespace tavoe {

namespace {

// A setting that is on unless it says "FALSE"; read without creating the variable.
bool SettingOn(AppSession& app, std::string_view name) {
    const VarRecord* record = VarFind(app, name);
    return record == nullptr || record->Value() != "FALSE";
}

}  // namespace

DataWindowSize WindowSizeOf(AppSession& app, EditSession& session) {
    return EditView(app).WindowSize(app, session);
}

int DataAreaColumns(AppSession& app, EditSession& session) {
    return std::max(WindowSizeOf(app, session).columns - session.view.prefixWidth, 0);
}

std::int32_t FirstShownColumn(const EditSession& session) {
    return std::max(session.view.horizontalOffset, 0) + 1;
}

CursorPlace CursorPlaceOf(AppSession& app, EditSession& session) {
    EditViewState& view = session.view;
    if (view.rowTable.empty()) {
        RefreshRowTable(app, session);
    }
    CursorPlace place;
    place.row = view.cursorRow;
    if (view.cursorRow >= 0 && view.cursorRow < static_cast<int>(view.rowTable.size())) {
        place.line = view.rowTable[static_cast<size_t>(view.cursorRow)];
    }
    if (view.cursorColumn < view.prefixWidth) {
        place.area = CursorArea::Prefix;
        place.prefixOffset = std::max(view.cursorColumn, 0);
    } else {
        place.area = CursorArea::Data;
        place.column = FirstShownColumn(session) + (view.cursorColumn - view.prefixWidth);
    }
    return place;
}

LineRecord* CursorLine(AppSession& app, EditSession& session) {
    return CursorPlaceOf(app, session).line;
}

void RefreshRowTable(AppSession& app, EditSession& session) {
    EditView(app).RebuildRows(app, session);
}

int RowShowingLine(AppSession& app, EditSession& session, LineRecord* line) {
    RefreshRowTable(app, session);
    const auto& rows = session.view.rowTable;
    auto found = std::find(rows.begin(), rows.end(), line);
    if (found == rows.end()) {
        session.view.topLine = line;
        RefreshRowTable(app, session);
        found = std::find(rows.begin(), rows.end(), line);
    }
    return found != rows.end() ? static_cast<int>(found - rows.begin()) : -1;
}

bool ScrollRows(AppSession& app, EditSession& session, int delta) {
    if (delta == 0) {
        return false;
    }
    const LineRecord* before = session.view.topLine;
    EditView(app).ScrollRows(app, session, delta);
    return session.view.topLine != before;
}

namespace {

void ShowCursorColumnUpTo(AppSession& app, EditSession& session, std::int32_t column, std::int32_t limit) {
    EditViewState& view = session.view;
    column = std::clamp(column, 1, limit);
    int shown = std::max(DataAreaColumns(app, session), 1);
    std::int32_t offset = std::max(view.horizontalOffset, 0);
    if (column <= offset) {
        offset = column - 1;
    } else if (column > offset + shown) {
        offset = column - shown;
    }
    view.horizontalOffset = offset;
    view.cursorColumn = view.prefixWidth + (column - offset - 1);
    FitFocusToCursor(session);
}

}  // namespace

void ShowCursorColumn(AppSession& app, EditSession& session, std::int32_t column) {
    ShowCursorColumnUpTo(app, session, column, MaxRecordLength(session.buffer));
}

void ShowCursorPastRecord(AppSession& app, EditSession& session) {
    const std::int32_t length = MaxRecordLength(session.buffer);
    ShowCursorColumnUpTo(app, session, length + 1, length + 1);
}

void SetCursorRow(AppSession& app, EditSession& session, int row) {
    int rows = WindowSizeOf(app, session).rows;
    session.view.cursorRow = std::clamp(row, 0, std::max(rows - 1, 0));
    FitFocusToCursor(session);
}

void FitFocusToCursor(EditSession& session) {
    EditViewState& view = session.view;
    if (view.focus != KeyField::Data && view.focus != KeyField::Prefix) {
        return;
    }
    view.focus = view.cursorColumn < view.prefixWidth ? KeyField::Prefix : KeyField::Data;
}

bool CursorRowDown(AppSession& app, EditSession& session) {
    int rows = WindowSizeOf(app, session).rows;
    if (session.view.cursorRow + 1 < rows) {
        session.view.cursorRow += 1;
        return true;
    }
    return ScrollRows(app, session, 1);
}

bool CursorRowUp(AppSession& app, EditSession& session) {
    if (session.view.cursorRow > 0) {
        session.view.cursorRow -= 1;
        return true;
    }
    return ScrollRows(app, session, -1);
}

bool HScrollAtEdge(AppSession& app) {
    return SettingOn(app, "ZCURSOR.HSCROLL");
}

bool EnterScrolls(AppSession& app) {
    return SettingOn(app, "ZENTERSCROLL");
}

}  // namespace tavoe
