#include "shell/shell_hooks.h"

#include "commands/command_line.h"
#include "commands/dispatch_host.h"
#include "core/app_session.h"
#include "shell/edit_session.h"
#include "shell/main_window.h"
#include "shell/window_arrange.h"

namespace {

CommandContext KindOf(const AppSession& app) {
    const DlgStkFrame* top = TopContext(app);
    if (top == nullptr) {
        return CommandContext::None;
    }
    if (top->kind == "menu") {
        return CommandContext::Menu;
    }
    if (top->kind == "dialog") {
        return CommandContext::Dialog;
    }
    if (top->kind == "filelist") {
        return CommandContext::FileList;
    }
    if (top->kind == "task") {
        return CommandContext::Task;
    }
    return CommandContext::Dummy;
}

const char* KindName(CommandContext kind) {
    switch (kind) {
        case CommandContext::Menu:
            return "menu";
        case CommandContext::Dialog:
            return "dialog";
        case CommandContext::FileList:
            return "filelist";
        case CommandContext::Task:
            return "task";
        case CommandContext::None:
        case CommandContext::Dummy:
            break;
    }
    return "dummy";
}

std::optional<std::string> CommandFieldText(AppSession& app) {
    CommandContext kind = KindOf(app);
    if (kind == CommandContext::FileList) {
        const WindowParts& parts = MainWindowParts();
        return parts.fileListCommandText ? parts.fileListCommandText(app) : std::nullopt;
    }
    // An edit session's primary command field, or with nothing open the main window's own field.
    if ((kind == CommandContext::Task || kind == CommandContext::None) && app.mainWindow != nullptr) {
        return app.mainWindow->CommandText();
    }
    return std::nullopt;
}

void SetCommandField(AppSession& app, std::string_view text, CommandFieldFocus focus) {
    if (KindOf(app) == CommandContext::FileList) {
        if (MainWindowParts().setFileListCommandText) {
            MainWindowParts().setFileListCommandText(app, text);
        }
        return;
    }
    if (app.mainWindow != nullptr) {
        app.mainWindow->SetCommandText(text);
        if (focus == CommandFieldFocus::Take) {
            app.mainWindow->FocusCommandField();
        }
    }
}

void Register(GeneralCmd id, void (*action)(AppSession&)) {
    RegisterGeneralCommand(id, [action](AppSession& app, const GeneralCommandLine&) { action(app); });
}

}  // namespace

void InstallShellHooks() {
    DispatchShellHooks& shell = Dispatch().shell;
    shell.contextKind = [](AppSession& app) { return KindOf(app); };
    shell.currentEditSession = [](AppSession& app) { return CurrentEditSession(app); };
    shell.editBuffer = [](EditSession& session) { return &session.buffer; };
    shell.postCommand = [](AppSession& app, std::string_view text) { PostCommand(app, std::string(text)); };
    shell.pushContext = [](AppSession& app, CommandContext kind, std::string_view name) {
        PushContext(app, KindName(kind), name);
    };
    shell.showTopContext = [](AppSession& app) { ShowTopContext(app); };
    shell.closeAllContexts = [](AppSession& app) { CloseAllContexts(app); };
    shell.endEditSession = [](AppSession& app, EditSession& session) { EndEditSession(app, session); };
    shell.openEditSession = [](AppSession& app, std::string_view path, EditOpenMode mode) {
        OpenEditSession(app, path, mode == EditOpenMode::Browse ? OpenMode::Browse : OpenMode::Edit);
    };
    shell.commandFieldText = CommandFieldText;
    shell.setCommandField = SetCommandField;
    shell.confirmOkCancel = [](AppSession& app, std::string_view question) {
        return AskQuestion(app, question, ui::MsgBoxButtons::OkCancel, ui::MsgBoxIcon::Question, 0) ==
               ui::MsgBoxReply::Ok;
    };

    Register(GeneralCmd::SplitF, [](AppSession& app) { StartNewSession(app); });
    Register(GeneralCmd::SplitH, SplitHorizontal);
    Register(GeneralCmd::SplitV, SplitVertical);
    Register(GeneralCmd::WinOverlay, ArrangeOverlay);
    Register(GeneralCmd::WinStepH, ArrangeStepH);
    Register(GeneralCmd::WinStepV, ArrangeStepV);
    Register(GeneralCmd::WinTileH, ArrangeTileH);
    Register(GeneralCmd::WinTileV, ArrangeTileV);
}
