#include "core/app_session.h"

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
