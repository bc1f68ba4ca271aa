#include "shell/instance_ports.h"

#include "buffer/edit_buffer.h"
#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "commands/dispatch_builtins.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "dialogs/dialog_commands.h"
#include "editing/editing_commands.h"
#include "filelist/file_list_commands.h"
#include "filelist/file_list_dialogs.h"
#include "filelist/file_list_session.h"
#include "macro/macro_door.h"
#include "macro/macro_engine.h"
#include "profiles/file_profile_io.h"
#include "shell/command_route.h"
#include "shell/contexts.h"
#include "shell/edit_session.h"
#include "shell/instance_macro_host.h"
#include "shell/instances.h"
#include "shell/main_window.h"
#include "shell/shell_commands.h"
#include "shell/window_layout.h"
#include "utilities/utility_commands.h"
#include "view/view_commands.h"

namespace tavoe {

namespace {

class InstanceShellPort : public ShellPort {
public:
    void RunGeneralCommand(AppSession& app, std::string_view command) override {
        tavoe::RunGeneralCommand(app, command);
    }
    void ShowTopContext(AppSession& app) override { ShowTopContextInShell(app); }
    void CloseFileList(AppSession& app) override { CloseTopFileList(app); }
    std::string FileListDirectory(AppSession& app) override {
        FileListWindow* list = CurrentFileList(app);
        if (list == nullptr) {
            return {};
        }
        for (const std::string& path : list->list.paths) {
            if (!path.empty()) {
                return path;
            }
        }
        return {};
    }
    int CloseAllContexts(AppSession& app) override { return CloseAllContextsInShell(app); }
    int OpenEditSession(AppSession& app, std::string_view path, OpenMode mode) override {
        return tavoe::OpenEditSession(app, path, mode);
    }
    void EndEditSession(AppSession& app, EditSession& session) override {
        tavoe::EndEditSession(app, session);
    }
    EditSession* OpenHiddenSession(AppSession& app, std::string_view path, OpenMode mode) override {
        return OpenHiddenEditSession(app, path, mode);
    }
    int EndHiddenSession(AppSession& app, EditSession* session) override {
        return EndHiddenEditSession(app, session);
    }
    std::optional<std::string> CommandFieldText(AppSession& app) override {
        // An edit session's primary command field, or with nothing open the main window's own field.
        ContextKind kind = TopContextKind(app);
        if ((kind == ContextKind::Task || kind == ContextKind::None) && app.mainWindow != nullptr) {
            return app.mainWindow->CommandText();
        }
        return std::nullopt;
    }
    void SetCommandField(AppSession& app, std::string_view text, CommandFieldFocus focus) override {
        if (TopContextKind(app) == ContextKind::FileList || app.mainWindow == nullptr) {
            return;
        }
        app.mainWindow->SetCommandText(text);
        if (focus == CommandFieldFocus::Take) {
            app.mainWindow->FocusCommandField();
        }
    }
    bool ConfirmOkCancel(AppSession& app, std::string_view question) override {
        return AskQuestion(app, question, ui::MsgBoxButtons::OkCancel, ui::MsgBoxIcon::Question, 0) ==
               ui::MsgBoxReply::Ok;
    }
    DataWindowSize LayoutWindow(AppSession& app) override {
        const EditWindowLayout& layout = LayoutEditWindow(app);
        return {layout.dataRows, layout.dataCols};
    }
    DataWindowSize CurrentDataWindow(AppSession& app) override {
        const EditWindowLayout& layout = CurrentLayout(app);
        return {layout.dataRows, layout.dataCols};
    }
    // The caption is painted from the instance's title, the next time the screen is presented.
    void ShowProgressTitle(AppSession& app, std::string_view text) override {
        if (text.empty()) {
            RefreshTitle(app);
        } else {
            Instance(app).title = std::string(text);
        }
    }
};

class InstanceStorageHost : public StorageHost {
public:
    using StorageHost::StorageHost;

    bool EscapePressed() override {
        return app_.mainWindow != nullptr && app_.mainWindow->EscapeWhileLoading();
    }
    void RecordLengthRaised(EditBuffer&, const FileProfile& profile) override {
        (void)WriteFileProfile(app_, profile, ProfileWriteMode::Automatic);
    }
    // The exit macro runs as if its name had been typed; a save it asks for itself does not start
    // it again.
    void RunExitMacro(EditBuffer&, const std::string& macroName) override {
        if (exitMacroRunning_) {
            return;
        }
        exitMacroRunning_ = true;
        (void)MacroRun(app_, macroName);
        exitMacroRunning_ = false;
    }
    bool ConfirmSave(std::string_view question) override {
        return AskQuestion(app_, question, ui::MsgBoxButtons::YesNo, ui::MsgBoxIcon::Question, 1) ==
               ui::MsgBoxReply::Yes;
    }

private:
    bool exitMacroRunning_ = false;
};

}  // namespace

const CommandSet& ProgramCommands() {
    static const CommandSet commands{
        DispatcherEditCommands(), DispatcherGeneralCommands(), EditingCommands(), ViewCommands(),
        DialogCommands(),         FileListCommands(),          UtilityCommands(), ShellCommands()};
    return commands;
}

void ConnectInstance(AppSession& app) {
    app.shellPort = std::make_unique<InstanceShellPort>();
    app.storageHost = std::make_unique<InstanceStorageHost>(app);
    InstallEditView(app);
    app.commands = &ProgramCommands();
    MacroEngineOf(app).SetHost(MakeInstanceMacroHost());
    static const std::vector<SubsystemDialog> dialogs = [] {
        std::span<const SubsystemDialog> utilities = UtilityDialogs();
        std::span<const SubsystemDialog> lists = FileListDialogs();
        std::vector<SubsystemDialog> all(utilities.begin(), utilities.end());
        all.insert(all.end(), lists.begin(), lists.end());
        return all;
    }();
    app.subsystemDialogs = dialogs;
}

}  // namespace tavoe
