#include "commands/dispatch_host.h"

#include "buffer/edit_buffer.h"
#include "commands/dispatch.h"
#include "commands/dispatch_builtins.h"
#include "core/app_session.h"
#include "platform/format.h"

DispatchTable DefaultDispatchTable() {
    DispatchTable table;
    InstallBuiltInEditCommands(table.handlers);
    InstallBuiltInGeneralCommands(table.handlers);
    return table;
}

DispatchTable& Dispatch() {
    static DispatchTable table = DefaultDispatchTable();
    return table;
}

void RegisterEditCommand(EditCmd id, EditCommandHandler handler) {
    Dispatch().handlers.edit[static_cast<size_t>(id)] = std::move(handler);
}

void RegisterGeneralCommand(GeneralCmd id, GeneralCommandHandler handler) {
    Dispatch().handlers.general[static_cast<size_t>(id)] = std::move(handler);
}

void RegisterFileListCommand(FileListCmd id, FileListCommandHandler handler) {
    Dispatch().handlers.fileList[static_cast<size_t>(id)] = std::move(handler);
}

void ShowNotAvailable(AppSession& app, std::string_view what) {
    ShowMessage(app, Format("'%s' is not available yet.", std::string(what).c_str()), MsgTo::Box,
                Beep::Information);
}

CommandContext DispatchContext(AppSession& app) {
    const DispatchShellHooks& shell = Dispatch().shell;
    return shell.contextKind ? shell.contextKind(app) : CommandContext::None;
}

EditSession* DispatchEditSession(AppSession& app) {
    const DispatchShellHooks& shell = Dispatch().shell;
    return shell.currentEditSession ? shell.currentEditSession(app) : nullptr;
}

EditBuffer* DispatchEditBuffer(EditSession& session) {
    const DispatchShellHooks& shell = Dispatch().shell;
    return shell.editBuffer ? shell.editBuffer(session) : nullptr;
}

void DispatchPostCommand(AppSession& app, std::string_view text) {
    const DispatchShellHooks& shell = Dispatch().shell;
    if (shell.postCommand) {
        shell.postCommand(app, text);
    } else {
        RunGeneralCommand(app, text);
    }
}

void DispatchReshowContext(AppSession& app) {
    const DispatchShellHooks& shell = Dispatch().shell;
    if (shell.pushContext) {
        shell.pushContext(app, CommandContext::Dummy, "dummy");
    }
    if (shell.showTopContext) {
        shell.showTopContext(app);
    }
}
