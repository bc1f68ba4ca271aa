#include "editing/cursor_commands.h"

#include <algorithm>
#include <array>
#include <string>

#include "buffer/line_record.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/cursor_actions.h"
#include "editing/edit_session.h"
#include "editing/keys.h"
#include "platform/format.h"

namespace tavoe {

namespace {

struct Direction {
    std::string_view name;
    KeyAction action;
};

constexpr std::array<Direction, 9> kDirections{{
    {"UP", KeyAction::CursorUp},
    {"DOWN", KeyAction::CursorDown},
    {"LEFT", KeyAction::CursorLeft},
    {"RIGHT", KeyAction::CursorRight},
    {"HOME", KeyAction::Home},
    {"END", KeyAction::End},
    {"TAB", KeyAction::Tab},
    {"BACKTAB", KeyAction::BackTab},
    {"ENTER", KeyAction::DataEnter},
}};

std::string FirstWord(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    text = text.substr(start);
    return std::string(text.substr(0, text.find(' ')));
}

void Perform(AppSession& app, EditSession& session, KeyAction action) {
    KeyOutcome outcome;
    outcome.action = action;
    PerformEditAction(app, session, outcome);
}

}  // namespace

void CursorCommand(AppSession& app, EditSession& session, std::string_view) {
    RefreshRowTable(app, session);
    const std::vector<LineRecord*>& rows = session.view.rowTable;
    auto data = std::find_if(rows.begin(), rows.end(),
                             [](const LineRecord* line) { return line != nullptr && IsDataLine(*line); });
    const int row = data == rows.end() ? 0 : static_cast<int>(data - rows.begin());
    // Entering the data window as Tab from the command field does (first data column shown, focus in
    // the data area), then on to the row of the first data line.
    Perform(app, session, KeyAction::FieldToDataTab);
    SetCursorRow(app, session, row);
}

void CursorMoveCommand(AppSession& app, EditSession& session, std::string_view parameters) {
    std::string word = FirstWord(parameters);
    if (word.empty()) {
        ShowMessage(app, "CURSORMOVE command requires parameter", MsgTo::Line, Beep::Error);
        return;
    }
    std::string upper = word;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const Direction& direction : kDirections) {
        if (direction.name == upper) {
            if (session.view.focus != KeyField::Data && session.view.focus != KeyField::Prefix) {
                CursorToDataArea(app, session);
            }
            Perform(app, session, direction.action);
            return;
        }
    }
    ShowMessage(app, Format("CURSORMOVE unknown parameter: %s", word.c_str()), MsgTo::Line, Beep::Error);
}

}  // namespace tavoe
