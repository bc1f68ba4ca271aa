#include "macro/macro_host.h"

#include <chrono>
#include <thread>

#include "core/app_session.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "platform/format.h"

namespace tavoe {

bool MacroHost::EscapePressed(AppSession& app) {
    return Storage(app).EscapePressed();
}

TraceAnswer MacroHost::AskTrace(AppSession& app, std::string_view title, std::string_view listing) {
    ShowMessage(app, std::string(title) + "\n\n" + std::string(listing), MsgTo::Box, Beep::Question);
    return TraceAnswer::Step;
}

int MacroHost::RunCommand(AppSession& app, std::string_view command) {
    Shell(app).RunGeneralCommand(app, command);
    return 0;
}

std::string MacroHost::QuerySession(AppSession&, ServiceQuery query, int32_t) {
    switch (query) {
        case ServiceQuery::Caps:
        case ServiceQuery::FileModified:
        case ServiceQuery::XStatus:
            return "FALSE";
        case ServiceQuery::CharsetFile:
        case ServiceQuery::CharsetDisplay:
        case ServiceQuery::FileSpec:
        case ServiceQuery::LineData:
        case ServiceQuery::LineLabel:
            return {};
        case ServiceQuery::Cols:
            return "0,0";
        case ServiceQuery::SelectMode:
            return "NONE";
        default:
            return "0";
    }
}

ServiceSetOutcome MacroHost::SetSession(AppSession&, ServiceSet what, std::string_view) {
    return what == ServiceSet::Title ? ServiceSetOutcome::Done : ServiceSetOutcome::NoSession;
}

std::string MacroHost::ShowDialog(AppSession&, std::string_view) {
    return "ERROR";
}

void MacroHost::Pause(AppSession&, int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void MacroHost::PrintFile(AppSession& app, const std::string& path) {
    RunCommand(app, Format("browse %s;print;end", path.c_str()));
}

}  // namespace tavoe
