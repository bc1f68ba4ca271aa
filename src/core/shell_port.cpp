#include "core/shell_port.h"

#include "core/app_session.h"

namespace tavoe {

// The base port: what an instance without a shell or window system can do.

void ShellPort::RunGeneralCommand(AppSession&, std::string_view) {}

void ShellPort::ContextChanged(AppSession&) {}

// A menu or dialog that comes back on top is shown again by its command, run after the current one.
void ShellPort::ShowTopContext(AppSession& app) {
    PopContext(app);
    if (const DlgStkFrame* top = TopContext(app)) {
        if (top->kind == ContextKind::Menu) {
            PostCommand(app, "MENU " + top->name);
        } else if (top->kind == ContextKind::Dialog) {
            PostCommand(app, "DIALOG " + top->name);
        }
    }
    ContextChanged(app);
}

int ShellPort::CloseAllContexts(AppSession& app) {
    app.contexts.clear();
    return 0;
}

void ShellPort::CloseFileList(AppSession&) {}

std::string ShellPort::FileListDirectory(AppSession&) {
    return {};
}

int ShellPort::OpenEditSession(AppSession&, std::string_view, OpenMode) {
    return -1;
}

void ShellPort::EndEditSession(AppSession&, EditSession&) {}

EditSession* ShellPort::OpenHiddenSession(AppSession&, std::string_view, OpenMode) {
    return nullptr;
}

int ShellPort::EndHiddenSession(AppSession&, EditSession*) {
    return -1;
}

std::optional<std::string> ShellPort::CommandFieldText(AppSession&) {
    return std::nullopt;
}

void ShellPort::SetCommandField(AppSession&, std::string_view, CommandFieldFocus) {}

bool ShellPort::ConfirmOkCancel(AppSession&, std::string_view) {
    return true;
}

bool ShellPort::OpenDialog(AppSession&, OpenDialogKind) {
    return false;
}

DataWindowSize ShellPort::LayoutWindow(AppSession& app) {
    return CurrentDataWindow(app);
}

DataWindowSize ShellPort::CurrentDataWindow(AppSession&) {
    return {};
}

void ShellPort::ShowProgressTitle(AppSession&, std::string_view) {}

}  // namespace tavoe
