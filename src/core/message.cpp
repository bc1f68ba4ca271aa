#include "core/message.h"

#include "core/app_session.h"
#include "core/var_store.h"

namespace {

// Sounds are on only when ZMSGSOUNDS is exactly "TRUE". The variable is looked up without creating
// it, because the store itself reports through this routine (a full slot table would otherwise
// report again while reporting).
bool SoundsOn(AppSession& app) {
    const VarRecord* rec = VarFind(app, "ZMSGSOUNDS");
    return rec != nullptr && rec->Value() == "TRUE";
}

}  // namespace

void ShowMessage(AppSession& app, std::string_view text, MsgTo to, Beep beep) {
    int type = static_cast<int>(beep);
    if (type < 0 || type > 4) {
        ShowMessage(app, "Next message out had unknown beep type.", MsgTo::Box, Beep::Error);
        beep = Beep::None;
    }
    ShownMessage shown{std::string(text), to, beep};
    // The message line takes the text only when an edit session is current and it fits after the
    // one leading blank; anything else becomes a box.
    if (to == MsgTo::Line &&
        (!app.hasCurrentEditSession || static_cast<int>(text.size()) + 1 > app.messageCapacity)) {
        shown.to = MsgTo::Box;
    }
    if (shown.to == MsgTo::Line) {
        app.messageShown = true;
    }
    if (app.messageSink != nullptr) {
        if (beep != Beep::None && SoundsOn(app)) {
            app.messageSink->Sound(beep);
        }
        if (shown.to == MsgTo::Line) {
            app.messageSink->ShowLine(shown.text);
        } else {
            app.messageSink->ShowBox(shown.text, beep);
        }
    }
    app.messages.push_back(std::move(shown));
}
