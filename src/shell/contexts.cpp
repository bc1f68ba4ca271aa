#include "shell/contexts.h"

#include <utility>

#include "core/app_session.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "filelist/file_list_session.h"
#include "shell/edit_session.h"
#include "shell/instances.h"

namespace tavoe {

namespace {

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

void ShowTopContextInShell(AppSession& app) {
    PopContext(app);
    const DlgStkFrame* top = TopContext(app);
    if (top == nullptr) {
        if (app.closeWhenEmpty) {
            Instance(app).closeRequested = true;
        } else if (app.menuPostponed) {
            std::string command = TopMenuCommand(app);
            if (!command.empty()) {
                SendCommand(app, command);
            }
        }
    } else if (top->kind == ContextKind::Menu) {
        PostCommand(app, "MENU " + top->name);
    } else if (top->kind == ContextKind::Dialog) {
        PostCommand(app, "DIALOG " + top->name);
    } else if (top->kind == ContextKind::Task) {
        // The session's file names and the title come back with it; the focus is where it was.
        if (EditSession* session = CurrentEditSession(app)) {
            MakeCurrentEditSession(app, *session);
        }
    }
    // Whatever is on top now (a file list, an edit session, or nothing) is what the window shows and
    // where the focus goes; the window system re-derives both.
    Shell(app).ContextChanged(app);
}

Status CloseAllContextsInShell(AppSession& app) {
    // Ending a session shows the context below it again; what that posts is void once all are gone.
    size_t queued = app.commandQueue.size();
    bool ended = EndAllEditSessions(app);
    if (app.commandQueue.size() > queued) {
        app.commandQueue.resize(queued);
    }
    if (!ended) {
        return -1;
    }
    app.contexts.clear();
    ForgetFileLists(app);
    Shell(app).ContextChanged(app);
    return 0;
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

}  // namespace tavoe
