#include "shell/command_route.h"

#include "commands/dispatch.h"
#include "core/app_session.h"

namespace tavoe {

void RunCommandLine(AppSession& app, CommandRoute route, std::string_view text) {
    switch (route) {
        case CommandRoute::General:
            RunGeneralCommand(app, text);
            break;
        case CommandRoute::Edit:
            RunEditCommand(app, text);
            break;
        case CommandRoute::FileList:
            RunFileListCommand(app, text);
            break;
    }
}

CommandRoute CurrentRoute(const AppSession& app) {
    const DlgStkFrame* top = TopContext(app);
    if (top == nullptr) {
        return CommandRoute::General;
    }
    if (top->kind == ContextKind::Task) {
        return CommandRoute::Edit;
    }
    if (top->kind == ContextKind::FileList) {
        return CommandRoute::FileList;
    }
    return CommandRoute::General;
}

}  // namespace tavoe
