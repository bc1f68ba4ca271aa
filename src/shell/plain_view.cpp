#include "shell/plain_view.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "platform/format.h"
#include "shell/edit_session.h"
#include "shell/window_layout.h"
#include "view/view_fields.h"

namespace {

ui::ColorPair Colors(const AppSession& app, ColorElement element) {
    const ::ColorPair& pair = app.profileSettings.colors[static_cast<size_t>(element)];
    if (pair.foreground == pair.background) {
        return element == ColorElement::Numbers ? ui::ColorPair{8, 3} : ui::ColorPair{0, 3};
    }
    return ui::ColorPair{static_cast<uint8_t>(pair.foreground & 15),
                         static_cast<uint8_t>(pair.background & 15)};
}

// The line shown below `line`: the next one that is visible.
LineRecord* NextShown(LineRecord* line) {
    for (line = LineNext(line); line != nullptr && !LineIsVisible(*line); line = LineNext(line)) {
    }
    return line;
}

std::string PrefixText(const LineRecord& line, int width) {
    std::string text;
    if (IsDataLine(line)) {
        text = Format("%08u ", static_cast<unsigned>(line.recordNumber));
    } else {
        text = "*********";
    }
    if (width <= 0) {
        return {};
    }
    if (width >= static_cast<int>(text.size())) {
        return text + std::string(static_cast<size_t>(width) - text.size(), ' ');
    }
    return text.substr(text.size() - static_cast<size_t>(width));
}

bool FromStart(const LineRecord& line) {
    LineKind kind = line.kind;
    return kind == LineKind::TopMarker || kind == LineKind::EndMarker || kind == LineKind::ExcludedMarker ||
           kind == LineKind::Note;
}

// The data line under the cursor and the byte offset of the cursor in it; null when the cursor is not
// in the data area of a data line.
LineRecord* CursorDataLine(EditSession& session, uint32_t* offset) {
    const EditViewState& view = session.view;
    if (view.focus != KeyField::Data || view.cursorRow < 0 ||
        view.cursorRow >= static_cast<int>(view.rowTable.size()) || view.cursorColumn < view.prefixWidth) {
        return nullptr;
    }
    LineRecord* line = view.rowTable[static_cast<size_t>(view.cursorRow)];
    if (line == nullptr || !IsDataLine(*line)) {
        return nullptr;
    }
    *offset =
        static_cast<uint32_t>(view.cursorColumn - view.prefixWidth + std::max(view.horizontalOffset, 0));
    return line;
}

void MarkChanged(EditSession& session, LineRecord& line) {
    LineSetFlag(line, LineFlagA::TextModified);
    session.buffer.modified = true;
}

// Typing and deleting in the data line under the cursor; false for any other action.
bool EditPlainText(AppSession& app, EditSession& session, const KeyOutcome& outcome) {
    KeyAction action = outcome.action;
    if (action != KeyAction::TypeChar && action != KeyAction::Backspace && action != KeyAction::DeleteChar &&
        action != KeyAction::DeleteToEndOfLine) {
        return false;
    }
    uint32_t offset = 0;
    LineRecord* line = CursorDataLine(session, &offset);
    if (line == nullptr || session.ReadOnly()) {
        return true;
    }
    EditBuffer& buffer = session.buffer;
    uint32_t length = LineLength(*line);
    switch (action) {
        case KeyAction::TypeChar: {
            int32_t limit = std::max(buffer.profile.maxRecordLength, 1);
            if (offset >= static_cast<uint32_t>(limit)) {
                return true;
            }
            bool overtype = CurrentTypingMode(app) == ui::TypingMode::Overtype && offset < length;
            if (!overtype && length >= static_cast<uint32_t>(limit)) {
                // Inserting pushes the last byte out: only a trailing blank may go.
                if (line->text[length - 1] != ' ' || LineReplaceText(buffer, *line, length - 1, 1, {}) != 0) {
                    return true;
                }
            }
            char ch = static_cast<char>(outcome.ch);
            if (LineReplaceText(buffer, *line, offset, overtype ? 1 : 0, std::string_view(&ch, 1)) == 0) {
                MarkChanged(session, *line);
                session.view.cursorColumn += 1;
            }
            return true;
        }
        case KeyAction::Backspace:
            if (session.view.cursorColumn > session.view.prefixWidth) {
                session.view.cursorColumn -= 1;
                if (offset - 1 < length && LineReplaceText(buffer, *line, offset - 1, 1, {}) == 0) {
                    MarkChanged(session, *line);
                }
            }
            return true;
        case KeyAction::DeleteChar:
            if (offset < length && LineReplaceText(buffer, *line, offset, 1, {}) == 0) {
                MarkChanged(session, *line);
            }
            return true;
        case KeyAction::DeleteToEndOfLine:
            if (offset < length && LineReplaceText(buffer, *line, offset, length - offset, {}) == 0) {
                MarkChanged(session, *line);
            }
            return true;
        default:
            return true;
    }
}

}  // namespace

void PaintPlainRows(AppSession& app, EditSession& session, ui::Painter& painter) {
    EditViewState& view = session.view;
    ui::ColorPair text = Colors(app, session.ReadOnly() ? ColorElement::Browse : ColorElement::Edit);
    ui::ColorPair numbers = Colors(app, ColorElement::Numbers);
    ui::ColorPair other = Colors(app, ColorElement::Other);
    int prefix = std::min(view.prefixWidth, painter.Cols());
    view.rowTable.assign(static_cast<size_t>(std::max(painter.Rows(), 0)), nullptr);
    if (view.topLine == nullptr) {
        view.topLine = LineFirst(session.buffer);
    }
    LineRecord* line = view.topLine;
    if (line != nullptr && !LineIsVisible(*line)) {
        line = NextShown(line);
    }
    for (int row = 0; row < painter.Rows(); ++row) {
        painter.Fill(ui::Rect{row, 0, 1, prefix}, numbers);
        painter.Fill(ui::Rect{row, prefix, 1, painter.Cols() - prefix}, text);
        if (line == nullptr) {
            continue;
        }
        view.rowTable[static_cast<size_t>(row)] = line;
        painter.Text(row, 0, PrefixText(*line, prefix), numbers);
        std::string_view shown = LineText(*line);
        if (!FromStart(*line)) {
            size_t offset = static_cast<size_t>(std::max(view.horizontalOffset, 0));
            shown = offset < shown.size() ? shown.substr(offset) : std::string_view{};
        }
        shown = shown.substr(0, static_cast<size_t>(std::max(painter.Cols() - prefix, 0)));
        painter.Text(row, prefix, shown, line->kind == LineKind::Data ? text : other);
        line = NextShown(line);
    }
}

std::string StatusLineText(AppSession& app) {
    return ShowStatusLine(app);
}

std::string ColsFieldText(AppSession& app, EditSession& session, int dataColumns) {
    (void)app;
    return ShowColsField(session, session.view.horizontalOffset, dataColumns);
}

void PlainEditAction(AppSession& app, EditSession& session, const KeyOutcome& outcome, int dataRows,
                     int dataColumns) {
    EditViewState& view = session.view;
    if (EditPlainText(app, session, outcome)) {
        return;
    }
    int lastRow = std::max(dataRows - 1, 0);
    int lastCol = std::max(dataColumns - 1, 0);
    auto enterData = [&](int row) {
        view.focus = KeyField::Data;
        view.cursorRow = std::clamp(row, 0, lastRow);
        view.cursorColumn = std::min(view.prefixWidth, lastCol);
    };
    switch (outcome.action) {
        case KeyAction::FieldToDataTab:
        case KeyAction::FieldToDataDown:
        case KeyAction::MoveToData:
            enterData(view.focus == KeyField::Data ? view.cursorRow : 0);
            break;
        case KeyAction::FieldToDataBackTab:
        case KeyAction::FieldToDataUp:
            enterData(lastRow);
            break;
        case KeyAction::CursorLeft:
        case KeyAction::CtrlLeft:
            view.cursorColumn = std::max(view.cursorColumn - 1, 0);
            break;
        case KeyAction::CursorRight:
        case KeyAction::CtrlRight:
            view.cursorColumn = std::min(view.cursorColumn + 1, lastCol);
            break;
        case KeyAction::CursorUp:
        case KeyAction::CtrlUp:
        case KeyAction::LineFieldUp:
            view.cursorRow = std::max(view.cursorRow - 1, 0);
            break;
        case KeyAction::CursorDown:
        case KeyAction::CtrlDown:
        case KeyAction::LineFieldDown:
            view.cursorRow = std::min(view.cursorRow + 1, lastRow);
            break;
        case KeyAction::DataEnter:
            view.cursorRow = std::min(view.cursorRow + 1, lastRow);
            view.cursorColumn = std::min(view.prefixWidth, lastCol);
            break;
        case KeyAction::Home:
            view.focus = KeyField::Command;
            break;
        case KeyAction::End: {
            const LineRecord* line = view.cursorRow < static_cast<int>(view.rowTable.size())
                                         ? view.rowTable[static_cast<size_t>(view.cursorRow)]
                                         : nullptr;
            int length = line != nullptr ? static_cast<int>(LineLength(*line)) - view.horizontalOffset : 0;
            view.cursorColumn = std::clamp(view.prefixWidth + std::max(length, 0), 0, lastCol);
            break;
        }
        case KeyAction::Tab:
            view.cursorColumn = std::min((view.cursorColumn / 8 + 1) * 8, lastCol);
            break;
        case KeyAction::BackTab:
            view.cursorColumn = std::max(((view.cursorColumn - 1) / 8) * 8, 0);
            break;
        default:
            break;
    }
    if (view.focus == KeyField::Data && view.cursorColumn < view.prefixWidth) {
        view.focus = KeyField::Prefix;
    } else if (view.focus == KeyField::Prefix && view.cursorColumn >= view.prefixWidth) {
        view.focus = KeyField::Data;
    }
}
