#include "view/view_commands.h"

#include <utility>

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/shell_port.h"
#include "editing/edit_session.h"
#include "editing/edit_view_port.h"
#include "ui/screen.h"
#include "view/color_commands.h"
#include "view/scroll.h"
#include "view/view_fields.h"
#include "view/view_paint.h"
#include "view/view_rows.h"

namespace tavoe {

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
    Shell(app).LayoutWindow(app);
}

void RulerCommand(AppSession& app, EditSession& session, std::string_view params) {
    Apply(session.view.rulerOn, SwitchOf(params));
    Shell(app).LayoutWindow(app);
}

void ShowEolCommand(AppSession&, EditSession& session, std::string_view params) {
    Apply(session.view.showEol, SwitchOf(params));
}

void PaintEditData(AppSession& app, EditSession& session, ui::Painter& painter) {
    FollowDisplaySet(app, session);
    PaintEditRows(app, session, painter);
}

std::pair<int, int> VerticalThumbCells(AppSession& app, EditSession& session, int cells) {
    ScrollThumb thumb = VerticalThumb(session, ViewGeometryOf(app, session).rows, cells);
    return {thumb.first, thumb.length};
}

std::string ColsFieldText(AppSession& app, EditSession& session) {
    ViewGeometry geometry = ViewGeometryOf(app, session);
    return ShowColsField(session, session.view.horizontalOffset, DataColumns(session, geometry));
}

namespace {

// The view behind editing and the dispatchers: the window as laid out, rows rebuilt and scrolled
// over the shown lines, further batches of a virtual load read as the rows need them.
class ViewEditPort : public EditViewPort {
public:
    DataWindowSize WindowSize(AppSession& app, EditSession& session) override {
        ViewGeometry geometry = ViewGeometryOf(app, session);
        return {geometry.rows, geometry.columns};
    }
    void RebuildRows(AppSession& app, EditSession& session) override {
        RebuildRowTable(session, ViewGeometryOf(app, session).rows);
    }
    void ScrollRows(AppSession& app, EditSession& session, int delta) override {
        ScrollAmount amount{ScrollUnit::Count, delta > 0 ? delta : -delta};
        ScrollVertical(session, delta > 0 ? ScrollDirection::Down : ScrollDirection::Up, amount,
                       ViewGeometryOf(app, session));
    }
};

constexpr CommandDesc kViewCommands[] = {
    {.table = CommandTable::Edit, .verb = "BOTTOM", .owner = CommandOwner::View, .edit = BottomCommand},
    {.table = CommandTable::Edit, .verb = "COLORMAP", .owner = CommandOwner::View, .edit = ColormapCommand},
    {.table = CommandTable::Edit, .verb = "DOWN", .owner = CommandOwner::View, .edit = DownCommand},
    {.table = CommandTable::Edit, .verb = "HEX", .owner = CommandOwner::View, .edit = HexCommand},
    {.table = CommandTable::Edit, .verb = "LEFT", .owner = CommandOwner::View, .edit = LeftCommand},
    {.table = CommandTable::Edit, .verb = "RECOLOR", .owner = CommandOwner::View, .edit = RecolorCommand},
    {.table = CommandTable::Edit, .verb = "RIGHT", .owner = CommandOwner::View, .edit = RightCommand},
    {.table = CommandTable::Edit, .verb = "RULER", .owner = CommandOwner::View, .edit = RulerCommand},
    {.table = CommandTable::Edit, .verb = "SHOWEOL", .owner = CommandOwner::View, .edit = ShowEolCommand},
    {.table = CommandTable::Edit, .verb = "TOP", .owner = CommandOwner::View, .edit = TopCommand},
    {.table = CommandTable::Edit, .verb = "UP", .owner = CommandOwner::View, .edit = UpCommand},
};

}  // namespace

CommandRows ViewCommands() {
    return kViewCommands;
}

void InstallEditView(AppSession& app) {
    app.editView.reset(new ViewEditPort());
}

}  // namespace tavoe
