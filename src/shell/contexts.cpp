#include "shell/contexts.h"

#include <utility>

#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/edit_session.h"

namespace {

std::string Cut(std::string_view text) {
    return std::string(text.substr(0, kContextTextMax));
}

// The top menu of the current interface style: "menu legacy", "menu modern", or empty for
// "Windows GUI" (which shows no menu).
std::string TopMenuCommand(AppSession& app) {
    const VarRecord* style = VarFind(app, "ZMENUSTYLE");
    if (style == nullptr) {
        return {};
    }
    if (style->Value() == "Legacy Tavo") {
        return "menu legacy";
    }
    if (style->Value() == "Modern Tavo") {
        return "menu modern";
    }
    return {};
}

}  // namespace

void PushContext(AppSession& app, std::string_view kind, std::string_view name) {
    app.contexts.push_back(DlgStkFrame{Cut(kind), Cut(name)});
    if (app.contextHooks.contextChanged) {
        app.contextHooks.contextChanged(app);
    }
}

void PopContext(AppSession& app) {
    if (!app.contexts.empty()) {
        app.contexts.pop_back();
    }
}

const DlgStkFrame* TopContext(const AppSession& app) {
    return app.contexts.empty() ? nullptr : &app.contexts.back();
}

bool TopContextIs(const AppSession& app, std::string_view kind, std::string_view name) {
    const DlgStkFrame* top = TopContext(app);
    return top != nullptr && top->kind == Cut(kind) && top->name == Cut(name);
}

void ShowTopContext(AppSession& app) {
    PopContext(app);
    const DlgStkFrame* top = TopContext(app);
    if (top == nullptr) {
        if (app.closeWhenEmpty) {
            app.instance.closeRequested = true;
        } else if (app.menuPostponed) {
            std::string command = TopMenuCommand(app);
            if (!command.empty()) {
                SendCommand(app, command);
            }
        }
    } else if (top->kind == "menu") {
        PostCommand(app, "MENU " + top->name);
    } else if (top->kind == "dialog") {
        PostCommand(app, "DIALOG " + top->name);
    } else if (top->kind == "task") {
        // The session's file names and the title come back with it; the focus is where it was.
        if (EditSession* session = CurrentEditSession(app)) {
            MakeCurrentEditSession(app, *session);
        }
    }
    // Whatever is on top now (a file list, an edit session, or nothing) is what the window shows and
    // where the focus goes; the window system re-derives both.
    if (app.contextHooks.contextChanged) {
        app.contextHooks.contextChanged(app);
    }
}

void ShowContextAgain(AppSession& app) {
    PushContext(app, "dummy", "dummy");
    ShowTopContext(app);
}

int CloseAllContexts(AppSession& app) {
    // Ending a session shows the context below it again; what that posts is void once all are gone.
    size_t queued = app.commandQueue.size();
    bool ended = EndAllEditSessions(app);
    if (app.commandQueue.size() > queued) {
        app.commandQueue.resize(queued);
    }
    if (!ended) {
        return -1;
    }
    if (app.contextHooks.closeFileLists) {
        app.contextHooks.closeFileLists(app);
    }
    app.contexts.clear();
    if (app.contextHooks.contextChanged) {
        app.contextHooks.contextChanged(app);
    }
    return 0;
}

void PostCommand(AppSession& app, std::string command) {
    app.commandQueue.push_back(std::move(command));
}

void SendCommand(AppSession& app, std::string_view command) {
    if (app.contextHooks.runGeneralCommand) {
        app.contextHooks.runGeneralCommand(app, command);
    } else {
        RunGeneralCommand(app, command);
    }
}

int RunPostedCommands(AppSession& app) {
    int ran = 0;
    while (!app.commandQueue.empty()) {
        std::string command = std::move(app.commandQueue.front());
        app.commandQueue.pop_front();
        SendCommand(app, command);
        ++ran;
    }
    return ran;
}
