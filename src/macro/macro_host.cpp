#include "macro/macro_host.h"

#include "core/app_session.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "core/var_store.h"
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

std::string MacroHost::TavoService(AppSession& app, std::string_view selector, const std::string* p2,
                                   const std::string* p3) {
    std::string name = p2 != nullptr ? *p2 : std::string();
    if (selector.size() >= 32) {
        ShowMessage(app, Format("TavoService: selector too long '%s'", std::string(selector).c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return {};
    }
    if (selector == "VGET") {
        return VarGetValue(app, name);
    }
    if (selector == "VPUT") {
        VarSetValue(app, name, p3 != nullptr ? *p3 : std::string());
        return {};
    }
    if (selector == "VDELETE") {
        VarDelete(app, name);
        return {};
    }
    if (selector == "VPERSIST") {
        VarSetPersist(app, name, 1);
        return {};
    }
    if (selector == "CMD") {
        RunCommand(app, name);
        return {};
    }
    ShowMessage(app, Format("TavoService: '%s' not supported.", std::string(selector).c_str()), MsgTo::Box,
                Beep::Exclamation);
    return {};
}

}  // namespace tavoe
