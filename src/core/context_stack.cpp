#include "core/context_stack.h"

#include <utility>

#include "core/app_session.h"
#include "core/shell_port.h"

namespace tavoe {

namespace {

std::string Cut(std::string_view text) {
    return std::string(text.substr(0, kContextTextMax));
}

}  // namespace

std::string_view ContextKindName(ContextKind kind) {
    switch (kind) {
        case ContextKind::Menu:
            return "menu";
        case ContextKind::Dialog:
            return "dialog";
        case ContextKind::FileList:
            return "filelist";
        case ContextKind::Task:
            return "task";
        case ContextKind::Dummy:
            return "dummy";
        case ContextKind::None:
            break;
    }
    return "";
}

void PushContext(AppSession& app, ContextKind kind, std::string_view name) {
    app.contexts.push_back(DlgStkFrame{kind, Cut(name)});
    Shell(app).ContextChanged(app);
}

void PopContext(AppSession& app) {
    if (!app.contexts.empty()) {
        app.contexts.pop_back();
    }
}

const DlgStkFrame* TopContext(const AppSession& app) {
    return app.contexts.empty() ? nullptr : &app.contexts.back();
}

ContextKind TopContextKind(const AppSession& app) {
    const DlgStkFrame* top = TopContext(app);
    return top == nullptr ? ContextKind::None : top->kind;
}

bool TopContextIs(const AppSession& app, ContextKind kind, std::string_view name) {
    const DlgStkFrame* top = TopContext(app);
    return top != nullptr && top->kind == kind && top->name == Cut(name);
}

void ShowContextAgain(AppSession& app) {
    PushContext(app, ContextKind::Dummy, "dummy");
    Shell(app).ShowTopContext(app);
}

void PostCommand(AppSession& app, std::string command) {
    app.commandQueue.push_back(std::move(command));
}

void SendCommand(AppSession& app, std::string_view command) {
    Shell(app).RunGeneralCommand(app, command);
}

}  // namespace tavoe
