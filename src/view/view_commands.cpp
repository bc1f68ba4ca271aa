#include "view/view_commands.h"

#include <utility>

#include "commands/command_line.h"
#include "commands/dispatch_host.h"
#include "core/app_session.h"
#include "shell/edit_session.h"
#include "shell/main_window.h"
#include "shell/window_layout.h"
#include "ui/screen.h"
#include "view/scroll.h"
#include "view/view_fields.h"
#include "view/view_paint.h"
#include "view/view_rows.h"

namespace {

enum class Switch { Toggle, On, Off };

// No parameter toggles, "ON" sets; anything else clears (the dispatcher has refused other words for
// RULER and SHOWEOL already).
Switch SwitchOf(std::string_view params) {
    std::string word = CommandToUpper(CommandFirstWord(params).word);
    if (word.empty()) {
        return Switch::Toggle;
    }
    return word == "ON" ? Switch::On : Switch::Off;
}

void Apply(bool& state, Switch change) {
    state = change == Switch::Toggle ? !state : change == Switch::On;
}

// The screen shows the text bytes in the current session's display set.
void FollowDisplaySet(AppSession& app, const EditSession& session) {
    if (app.screen == nullptr) {
        return;
    }
    ui::DisplaySet set = session.buffer.profile.displayCharset == ProfileCharset::AsciiIbmPc
                             ? ui::DisplaySet::IbmPc
                             : ui::DisplaySet::Iso8859;
    if (app.screen->GetDisplaySet() != set) {
        app.screen->SetDisplaySet(set);
    }
}

}  // namespace

void HexCommand(AppSession& app, EditSession& session, std::string_view params) {
    Apply(session.view.hexOn, SwitchOf(params));
    LayoutEditWindow(app);
}

void RulerCommand(AppSession& app, EditSession& session, std::string_view params) {
    Apply(session.view.rulerOn, SwitchOf(params));
    LayoutEditWindow(app);
}

void ShowEolCommand(AppSession&, EditSession& session, std::string_view params) {
    Apply(session.view.showEol, SwitchOf(params));
}

void InstallEditView() {
    WindowParts& parts = MainWindowParts();
    parts.paintData = [](AppSession& app, EditSession& session, ui::Painter& painter) {
        FollowDisplaySet(app, session);
        PaintEditRows(app, session, painter);
    };
    parts.paintRuler = PaintRulerRow;
    parts.paintHex = PaintHexPane;
    parts.verticalThumb = [](AppSession& app, EditSession& session, int cells) {
        ScrollThumb thumb = VerticalThumb(session, ViewGeometryOf(app, session).rows, cells);
        return std::pair<int, int>(thumb.first, thumb.length);
    };
    parts.statusText = ShowStatusLine;
    parts.colsText = [](AppSession& app, EditSession& session) {
        ViewGeometry geometry = ViewGeometryOf(app, session);
        return ShowColsField(session, session.view.horizontalOffset, DataColumns(session, geometry));
    };

    RegisterEditCommand(EditCmd::Hex, HexCommand);
    RegisterEditCommand(EditCmd::Ruler, RulerCommand);
    RegisterEditCommand(EditCmd::ShowEol, ShowEolCommand);
    InstallScrollCommands();

    DispatchViewHooks& view = Dispatch().view;
    view.updateScreenBookkeeping = [](AppSession& app, EditSession& session) {
        RebuildRowTable(session, ViewGeometryOf(app, session).rows);
    };
}
