#include "core/app_session.h"

#include <algorithm>

#include "core/shell_port.h"
#include "core/storage_host.h"

namespace tavoe {

namespace {

// Sounds are on only when ZMSGSOUNDS is exactly "TRUE". The variable is looked up without creating
// it, because the store itself reports through the instance (a full slot table would otherwise
// report again while reporting).
bool SoundsOn(AppSession& app) {
    const VarRecord* rec = VarFind(app, "ZMSGSOUNDS");
    return rec != nullptr && rec->Value() == "TRUE";
}

}  // namespace

AppSession::AppSession() = default;
AppSession::~AppSession() = default;

void AppSession::Report(std::string_view text, MsgTo to, Beep beep) {
    ShownMessage shown{std::string(text), to, beep};
    if (to == MsgTo::Line && holdLineMessages && !hasCurrentEditSession) {
        heldLineMessages.push_back(std::move(shown));
        return;
    }
    if (to == MsgTo::Line &&
        (!hasCurrentEditSession || static_cast<int>(text.size()) + 1 > messageCapacity)) {
        shown.to = MsgTo::Box;
    }
    if (shown.to == MsgTo::Line) {
        messageShown = true;
    }
    if (messageSink != nullptr) {
        if (beep != Beep::None && SoundsOn(*this)) {
            messageSink->Sound(beep);
        }
        if (shown.to == MsgTo::Line) {
            messageSink->ShowLine(shown.text);
        } else {
            messageSink->ShowBox(shown.text, beep);
        }
    }
    messages.push_back(std::move(shown));
}

void ReleaseHeldLineMessages(AppSession& app) {
    app.holdLineMessages = false;
    std::vector<ShownMessage> held = std::move(app.heldLineMessages);
    app.heldLineMessages.clear();
    if (held.size() == 1) {
        app.Report(held.front().text, MsgTo::Line, held.front().beep);
    } else if (held.size() > 1) {
        // The message line shows one text: several go together into one box, so none is lost.
        std::string text;
        Beep beep = Beep::None;
        for (const ShownMessage& message : held) {
            text += (text.empty() ? "" : "\n") + message.text;
            beep = std::max(beep, message.beep);
        }
        app.Report(text, MsgTo::Box, beep);
    }
}

ShellPort& Shell(AppSession& app) {
    if (!app.shellPort) {
        app.shellPort = std::make_unique<ShellPort>();
    }
    return *app.shellPort;
}

StorageHost& Storage(AppSession& app) {
    if (!app.storageHost) {
        app.storageHost = std::make_unique<StorageHost>(app);
    }
    return *app.storageHost;
}

}  // namespace tavoe
