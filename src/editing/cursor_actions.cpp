#include "editing/cursor_actions.h"

#include <algorithm>
#include <vector>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/keys.h"
#include "editing/selection.h"
#include "editing/typing.h"
#include "editing/typing_fields.h"
#include "ui/screen.h"

namespace tavoe {

namespace {

constexpr std::string_view kReadOnly = "Not allowed to modify READ-ONLY file.";

EditViewState& View(EditSession& session) {
    return session.view;
}

bool IsBlankAt(std::string_view text, std::int32_t column) {
    return column < 1 || static_cast<size_t>(column) > text.size() ||
           text[static_cast<size_t>(column) - 1] == ' ';
}

// The cells of a row the Tab key stops at, ascending.
std::vector<int> TabCells(AppSession& app, EditSession& session) {
    const EditViewState& view = session.view;
    const int columns = WindowSizeOf(app, session).columns;
    const std::int32_t first = FirstShownColumn(session);
    const std::int32_t length = MaxRecordLength(session.buffer);
    std::vector<int> cells;
    if (view.prefixWidth > 0) {
        cells.push_back(0);
    }
    if (columns > view.prefixWidth) {
        cells.push_back(view.prefixWidth);
    }
    for (std::int32_t stop : session.buffer.profile.tabKeyStopsAt) {
        if (stop <= 0) {
            break;
        }
        if (stop <= first || stop > length) {
            continue;
        }
        int cell = view.prefixWidth + (stop - first);
        if (cell < columns) {
            cells.push_back(cell);
        }
    }
    return cells;
}

bool RowHasLine(const EditViewState& view, int row) {
    return row >= 0 && row < static_cast<int>(view.rowTable.size()) &&
           view.rowTable[static_cast<size_t>(row)];
}

void ToCommandField(EditSession& session) {
    View(session).focus = KeyField::Command;
}

void EnterDataWindow(AppSession& app, EditSession& session, int row, int cell) {
    EditViewState& view = View(session);
    view.focus = KeyField::Data;
    SetCursorRow(app, session, row);
    view.cursorColumn = std::clamp(cell, 0, std::max(WindowSizeOf(app, session).columns - 1, 0));
    FitFocusToCursor(session);
}

int DataStartCell(AppSession& app, EditSession& session) {
    return std::min(session.view.prefixWidth, std::max(WindowSizeOf(app, session).columns - 1, 0));
}

void Tab(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    std::vector<int> cells = TabCells(app, session);
    if (cells.empty()) {
        return;
    }
    for (int cell : cells) {
        if (cell > view.cursorColumn) {
            view.cursorColumn = cell;
            FitFocusToCursor(session);
            return;
        }
    }
    for (int row = view.cursorRow + 1; row < static_cast<int>(view.rowTable.size()); ++row) {
        if (RowHasLine(view, row)) {
            EnterDataWindow(app, session, row, cells.front());
            return;
        }
    }
    ToCommandField(session);
}

void BackTab(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    std::vector<int> cells = TabCells(app, session);
    if (cells.empty()) {
        return;
    }
    for (auto it = cells.rbegin(); it != cells.rend(); ++it) {
        if (*it < view.cursorColumn) {
            view.cursorColumn = *it;
            FitFocusToCursor(session);
            return;
        }
    }
    for (int row = std::min(view.cursorRow, static_cast<int>(view.rowTable.size())) - 1; row >= 0; --row) {
        if (RowHasLine(view, row)) {
            EnterDataWindow(app, session, row, cells.back());
            return;
        }
    }
    ToCommandField(session);
}

void CursorLeft(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    if (view.cursorColumn == view.prefixWidth && view.horizontalOffset > 0 && HScrollAtEdge(app)) {
        view.horizontalOffset -= 1;
    } else if (view.cursorColumn > 0) {
        view.cursorColumn -= 1;
    }
    FitFocusToCursor(session);
}

void CursorRight(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    CursorPlace place = CursorPlaceOf(app, session);
    const std::int32_t length = MaxRecordLength(session.buffer);
    if (place.area == CursorArea::Data && place.column >= length) {
        return;
    }
    const int columns = WindowSizeOf(app, session).columns;
    if (view.cursorColumn + 1 < columns) {
        view.cursorColumn += 1;
    } else if (place.area == CursorArea::Data && HScrollAtEdge(app)) {
        int maxOffset = std::max(length - DataAreaColumns(app, session), 0);
        if (view.horizontalOffset < maxOffset) {
            view.horizontalOffset += 1;
        }
    }
    FitFocusToCursor(session);
}

// The column behind the last non-blank of the line's text field (its first column for a blank line).
std::int32_t EndOfTextColumn(AppSession& app, EditSession& session, const LineRecord* line) {
    if (line == nullptr || !IsModifiableLine(*line)) {
        return FirstShownColumn(session);
    }
    (void)app;
    EditField field = TextFieldOf(session.buffer, *line);
    std::string_view text = LineText(*line);
    std::int32_t last = std::min(static_cast<std::int32_t>(text.size()), field.last);
    while (last >= field.first && IsBlankAt(text, last)) {
        --last;
    }
    if (last < field.first) {
        return field.first;
    }
    return std::min(last + 1, field.last);
}

void End(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    ShowCursorColumn(app, session, EndOfTextColumn(app, session, place.line));
}

void Home(AppSession& app, EditSession& session, Selection selection) {
    EditViewState& view = View(session);
    if (view.cursorColumn > view.prefixWidth) {
        view.cursorColumn = DataStartCell(app, session);
        FitFocusToCursor(session);
    } else if (selection == Selection::Move) {
        ToCommandField(session);
    }
}

void CtrlLeft(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.area == CursorArea::Prefix) {
        View(session).cursorColumn = 0;
        return;
    }
    std::string_view text = place.line != nullptr ? LineText(*place.line) : std::string_view{};
    std::int32_t column = place.column - 1;
    while (column >= 1 && IsBlankAt(text, column)) {
        --column;
    }
    if (column < 1) {
        if (session.view.prefixWidth > 0) {
            View(session).cursorColumn = 0;
            FitFocusToCursor(session);
        } else {
            ShowCursorColumn(app, session, 1);
        }
        return;
    }
    while (column > 1 && !IsBlankAt(text, column - 1)) {
        --column;
    }
    ShowCursorColumn(app, session, column);
}

void CtrlRight(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    std::string_view text = place.line != nullptr ? LineText(*place.line) : std::string_view{};
    const auto size = static_cast<std::int32_t>(text.size());
    std::int32_t column = 1;
    if (place.area == CursorArea::Data) {
        column = place.column;
        while (column <= size && !IsBlankAt(text, column)) {
            ++column;
        }
    }
    while (column <= size && IsBlankAt(text, column)) {
        ++column;
    }
    if (column > size) {
        column = EndOfTextColumn(app, session, place.line);
        if (place.area == CursorArea::Data && column < place.column) {
            return;  // already behind the last word
        }
    }
    ShowCursorColumn(app, session, std::min(column, MaxRecordLength(session.buffer)));
}

void DataEnter(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    bool fromPrefix = view.cursorColumn < view.prefixWidth;
    int rows = WindowSizeOf(app, session).rows;
    if (view.cursorRow + 1 < rows) {
        view.cursorRow += 1;
    } else if (EnterScrolls(app)) {
        ScrollRows(app, session, 1);
    } else {
        view.cursorRow = 0;
    }
    view.cursorColumn = fromPrefix ? 0 : DataStartCell(app, session);
    FitFocusToCursor(session);
}

// Backspace: the character before the cursor goes (insert mode) or becomes a blank (overtype mode),
// and the cursor moves onto its column.
void Backspace(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.area == CursorArea::Prefix) {
        if (place.prefixOffset > 0) {
            view.cursorColumn -= 1;
            if (place.line != nullptr) {
                (void)DeletePrefixChar(app, session, *place.line, place.prefixOffset - 1);
            }
        }
        return;
    }
    const std::int32_t target = place.column - 1;
    if (target < 1) {
        return;
    }
    if (place.line == nullptr) {
        ShowCursorColumn(app, session, target);
        return;
    }
    if (session.ReadOnly()) {
        ShowMessage(app, kReadOnly, MsgTo::Line, Beep::Error);
        return;
    }
    int result = 0;
    if (CurrentTypingMode(app) == ui::TypingMode::Overtype) {
        if (static_cast<std::uint32_t>(target) <= LineLength(*place.line)) {
            result = OvertypeChars(app, session, *place.line, " ", target);
        }
    } else {
        result = DeleteChars(app, session, *place.line, target, 1);
    }
    if (result == 0) {
        ShowCursorColumn(app, session, target);
    }
}

void DeleteChar(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr) {
        return;
    }
    if (place.area == CursorArea::Prefix) {
        (void)DeletePrefixChar(app, session, *place.line, place.prefixOffset);
        return;
    }
    if (session.ReadOnly()) {
        ShowMessage(app, kReadOnly, MsgTo::Line, Beep::Error);
        return;
    }
    (void)DeleteChars(app, session, *place.line, place.column, 1);
}

void SelectWord(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr || place.area != CursorArea::Data) {
        return;
    }
    SelectWordAt(session, *place.line, place.column);
}

// Keys arrive as ISO-8859 codes unless the screen already decodes them into the IBM-PC set.
TypedFrom KeySource(const AppSession& app) {
    return app.screen != nullptr && app.screen->GetDisplaySet() == ui::DisplaySet::IbmPc
               ? TypedFrom::Display
               : TypedFrom::Keyboard;
}

bool IsMove(KeyAction action) {
    switch (action) {
        case KeyAction::CursorLeft:
        case KeyAction::CursorRight:
        case KeyAction::CursorUp:
        case KeyAction::CursorDown:
        case KeyAction::CtrlLeft:
        case KeyAction::CtrlRight:
        case KeyAction::Home:
        case KeyAction::End:
            return true;
        default:
            return false;
    }
}

}  // namespace

void PerformEditAction(AppSession& app, EditSession& session, const KeyOutcome& outcome) {
    EditViewState& view = View(session);
    if (view.rowTable.empty()) {
        RefreshRowTable(app, session);
    }
    CursorPlace before = CursorPlaceOf(app, session);
    const int rows = WindowSizeOf(app, session).rows;
    switch (outcome.action) {
        case KeyAction::FieldToDataTab:
        case KeyAction::FieldToDataDown:
            EnterDataWindow(app, session, 0, DataStartCell(app, session));
            break;
        case KeyAction::FieldToDataUp:
            EnterDataWindow(app, session, rows - 1, DataStartCell(app, session));
            break;
        case KeyAction::FieldToDataBackTab: {
            int row = static_cast<int>(view.rowTable.size()) - 1;
            while (row > 0 && !RowHasLine(view, row)) {
                --row;
            }
            std::vector<int> cells = TabCells(app, session);
            EnterDataWindow(app, session, row, cells.empty() ? 0 : cells.back());
            break;
        }
        case KeyAction::MoveToData:
            CursorToDataArea(app, session);
            break;
        case KeyAction::TypeChar:
            (void)TypeChar(app, session, outcome.ch, KeySource(app));
            break;
        case KeyAction::DataEnter:
            DataEnter(app, session);
            break;
        case KeyAction::Backspace:
            Backspace(app, session);
            break;
        case KeyAction::Tab:
            Tab(app, session);
            break;
        case KeyAction::BackTab:
            BackTab(app, session);
            break;
        case KeyAction::CursorLeft:
            CursorLeft(app, session);
            break;
        case KeyAction::CursorRight:
            CursorRight(app, session);
            break;
        case KeyAction::CursorUp:
        case KeyAction::LineFieldUp:
            CursorRowUp(app, session);
            break;
        case KeyAction::CursorDown:
        case KeyAction::LineFieldDown:
            CursorRowDown(app, session);
            break;
        case KeyAction::CtrlLeft:
            CtrlLeft(app, session);
            break;
        case KeyAction::CtrlRight:
            CtrlRight(app, session);
            break;
        case KeyAction::CtrlUp:
            ScrollRows(app, session, -1);
            break;
        case KeyAction::CtrlDown:
            ScrollRows(app, session, 1);
            break;
        case KeyAction::Home:
            Home(app, session, outcome.selection);
            break;
        case KeyAction::End:
            End(app, session);
            break;
        case KeyAction::DeleteChar:
            DeleteChar(app, session);
            break;
        case KeyAction::DeleteToEndOfLine:
            (void)DeleteToEndOfLine(app, session);
            break;
        case KeyAction::SelectWord:
            SelectWord(app, session);
            break;
        default:
            return;
    }
    if (outcome.selection == Selection::Extend && IsMove(outcome.action)) {
        ExtendSelection(app, session, before, CursorPlaceOf(app, session));
    }
}

void PlaceCursor(AppSession& app, EditSession& session, int row, int column) {
    EditViewState& view = View(session);
    DataWindowSize size = WindowSizeOf(app, session);
    column = std::clamp(column, 0, std::max(size.columns - 1, 0));
    if (column >= view.prefixWidth) {
        std::int32_t last = MaxRecordLength(session.buffer);
        std::int32_t first = FirstShownColumn(session);
        if (first + (column - view.prefixWidth) > last) {
            column = view.prefixWidth + std::max(last - first, 0);
        }
    }
    view.cursorRow = std::clamp(row, 0, std::max(size.rows - 1, 0));
    view.cursorColumn = column;
    view.focus = column < view.prefixWidth ? KeyField::Prefix : KeyField::Data;
}

void CursorToDataArea(AppSession& app, EditSession& session) {
    EditViewState& view = View(session);
    int row = view.cursorRow;
    view.focus = KeyField::Data;
    SetCursorRow(app, session, row);
    if (view.cursorColumn < view.prefixWidth) {
        view.cursorColumn = DataStartCell(app, session);
    }
    FitFocusToCursor(session);
}

}  // namespace tavoe
