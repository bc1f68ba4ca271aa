// The general commands the dispatcher carries itself: settings it stores, the ways of opening files,
// leaving contexts, retrieving commands and switching between instances.

#include <filesystem>
#include <string>

#include "commands/command_history.h"
#include "commands/command_line.h"
#include "commands/dispatch.h"
#include "commands/dispatch_builtins.h"
#include "commands/dispatch_host.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "profiles/main_profile.h"
#include "shell/instances.h"

namespace {

void Say(AppSession& app, std::string_view text, Beep beep) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

std::string CurrentDirectory() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

bool IsDirectory(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// Opens one of the open dialogs for `asker`.
void OpenFileDialog(AppSession& app, OpenDialogKind which, std::string_view asker) {
    auto open = Dispatch().handlers.openDialog;
    if (open) {
        open(app, which);
    } else {
        ShowNotAvailable(app, asker);
    }
}

OpenDialogKind DialogByCod(AppSession& app) {
    return VarIsTrue(app, "ZCOD") ? OpenDialogKind::Common : OpenDialogKind::DirectoriesAndFiles;
}

void BackupCommand(AppSession& app, const GeneralCommandLine& command) {
    if (command.p1.empty()) {
        Say(app, "BACKUP command requires 1 parameter: P1=[ ALWAYS | NEVER | FILEPROF ]", Beep::Exclamation);
        return;
    }
    if (command.p1 != "ALWAYS" && command.p1 != "NEVER" && command.p1 != "FILEPROF") {
        Say(app, "BACKUP mode must be one of: ALWAYS, NEVER, FILEPROF", Beep::Exclamation);
        return;
    }
    VarSetValue(app, "ZBACKUP", command.p1);
}

// BROWSE and EDIT: a plain file name opens the file at once; a directory or a name pattern goes
// through OPEN, which lists the matching files.
void OpenFileCommand(AppSession& app, const GeneralCommandLine& command, EditOpenMode how) {
    std::string param(CommandTrim(command.allParams));
    const char* browse = how == EditOpenMode::Browse ? "TRUE" : "FALSE";
    if (param.empty()) {
        if (how == EditOpenMode::Browse) {
            Say(app, "BROWSE command requires file name.", Beep::Information);
            return;
        }
        // The open dialog edits or browses by ZBROWSE: a BROWSE before must not turn this into one.
        VarSetValue(app, "ZBROWSE", browse);
        OpenFileDialog(app, DialogByCod(app), "EDIT");
        return;
    }
    if (param.find_first_of("?*") == std::string::npos && !IsDirectory(param)) {
        auto openSession = Dispatch().shell.openEditSession;
        if (openSession) {
            openSession(app, param, how);
        } else {
            ShowNotAvailable(app, how == EditOpenMode::Browse ? "BROWSE" : "EDIT");
        }
        return;
    }
    VarSetValue(app, "ZBROWSE", browse);
    RunGeneralCommand(app, "open " + param);
}

void BrowseCommand(AppSession& app, const GeneralCommandLine& command) {
    OpenFileCommand(app, command, EditOpenMode::Browse);
}

void EditCommand(AppSession& app, const GeneralCommandLine& command) {
    OpenFileCommand(app, command, EditOpenMode::Edit);
}

// OPEN [directory | path/pattern | pattern]: lists the files in a new file list, or in the common
// open dialog when ZCOD is "TRUE".
void OpenCommand(AppSession& app, const GeneralCommandLine& command) {
    std::string param(CommandTrim(command.allParams));
    if (param.empty()) {
        OpenFileDialog(app, DialogByCod(app), "OPEN");
        return;
    }
    std::string directory;
    std::string pattern;
    if (IsDirectory(param)) {
        directory = param;
        pattern = "*.*";
    } else if (size_t slash = param.rfind('/'); slash != std::string::npos) {
        directory = slash == 0 ? std::string("/") : param.substr(0, slash);
        pattern = param.substr(slash + 1);
    } else {
        directory = CurrentDirectory();
        pattern = param;
    }
    if (directory.empty() || pattern.empty()) {
        Say(app, "OPEN parameter must specify directory or path+filename.", Beep::Exclamation);
        return;
    }
    if (directory.front() != '/') {
        // The file list and the dialog keep full paths, whatever the current directory is later.
        directory = FullPath(directory);
        if (directory.size() > 1 && directory.back() == '/') {
            directory.pop_back();
        }
    }
    if (VarIsTrue(app, "ZCOD")) {
        VarSetValue(app, "ZLAST.COD.PATH", directory);
        VarSetValue(app, "ZLAST.COD.NAME", pattern);
        OpenFileDialog(app, OpenDialogKind::Common, "OPEN");
        return;
    }
    VarSetValue(app, "ZFLIST.PATH.1", directory);
    for (int i = 2; i <= 4; ++i) {
        VarSetValue(app, Format("ZFLIST.PATH.%d", i), "");
    }
    VarSetValue(app, "ZFLIST.TYPE", pattern);
    DispatchPostCommand(app, "FILELIST NEW");
}

void DefaultsCommand(AppSession& app, const GeneralCommandLine&) {
    auto confirm = Dispatch().shell.confirmOkCancel;
    if (!confirm) {
        ShowNotAvailable(app, "DEFAULTS");
        return;
    }
    RestoreOutcome outcome =
        RestoreDefaults(app, [&app, &confirm](std::string_view question) { return confirm(app, question); });
    if (outcome == RestoreOutcome::Restored) {
        DispatchPostCommand(app, "EXIT");
    }
}

void DialogCommand(AppSession& app, const GeneralCommandLine& command) {
    if (!IsBuiltInDialog(command.p1)) {
        return;
    }
    auto show = Dispatch().handlers.showDialog;
    if (show) {
        show(app, command.p1);
    } else {
        ShowNotAvailable(app, "DIALOG " + command.p1);
    }
}

// END leaves the current context: an edit session ends (or its modal window is escaped), a file
// list closes, a menu gives way to the context below it; a dialog stays.
void EndCommand(AppSession& app, const GeneralCommandLine&) {
    const DispatchTable& table = Dispatch();
    switch (DispatchContext(app)) {
        case CommandContext::Task: {
            EditSession* session = DispatchEditSession(app);
            if (session == nullptr) {
                return;
            }
            if (table.view.modalActive && table.view.modalActive(app, *session)) {
                if (table.view.escapeModal) {
                    table.view.escapeModal(app, *session);
                }
            } else if (auto end = table.shell.endEditSession) {
                end(app, *session);
            } else {
                ShowNotAvailable(app, "END");
            }
            return;
        }
        case CommandContext::FileList:
            if (auto close = table.shell.closeFileList) {
                close(app);
            } else {
                ShowNotAvailable(app, "END");
            }
            return;
        case CommandContext::Menu:
            if (auto showTop = table.shell.showTopContext) {
                showTop(app);
            }
            return;
        default:
            return;
    }
}

void ExitCommand(AppSession& app, const GeneralCommandLine&) {
    app.instance.closeRequested = true;  // the main loop closes the instance after this event
}

// FUNCTION: the internal functions behind the legacy menu options.
void FunctionCommand(AppSession& app, const GeneralCommandLine& command) {
    const std::string& name = command.p1;
    if (name == "LEGACY_OPT_1") {
        VarSetValue(app, "ZBROWSE", "TRUE");
        OpenFileDialog(app, OpenDialogKind::DirectoriesAndFiles, "FUNCTION " + name);
    } else if (name == "LEGACY_OPT_2" || name == "LEGACY_OPT_34") {
        VarSetValue(app, "ZBROWSE", "FALSE");
        OpenFileDialog(app, OpenDialogKind::DirectoriesAndFiles, "FUNCTION " + name);
    } else if (name == "LEGACY_OPT_3A" || name == "LEGACY_OPT_3B") {
        VarSetValue(app, "ZBROWSE", "FALSE");
        OpenFileDialog(app,
                       name == "LEGACY_OPT_3A" ? OpenDialogKind::DirectoriesOnly : OpenDialogKind::FilesOnly,
                       "FUNCTION " + name);
    } else if (name == "LEGACY_OPT_3C") {
        RunGeneralCommand(app, "DIALOG MULTOPEN");
    } else if (name == "LEGACY_OPT_33") {
        Say(app,
            "File move and copy are done with the M and C line commands of the file list, see option 3.4.",
            Beep::Information);
    }
}

void MenuCommand(AppSession& app, const GeneralCommandLine& command) {
    if (command.p1 == "END") {
        auto showTop = Dispatch().shell.showTopContext;
        if (showTop && DispatchContext(app) == CommandContext::Menu) {
            showTop(app);
        }
        return;
    }
    if (command.p1.empty()) {
        return;
    }
    auto show = Dispatch().handlers.showMenu;
    if (show) {
        show(app, command.p1);
    } else {
        ShowNotAvailable(app, "MENU " + command.p1);
    }
}

void PcmdEditCommand(AppSession& app, const GeneralCommandLine& command) {
    RunEditCommand(app, command.allParams);
}

void PcmdFileListCommand(AppSession& app, const GeneralCommandLine& command) {
    RunFileListCommand(app, command.allParams);
}

void PfShowCommand(AppSession& app, const GeneralCommandLine&) {
    if (VarIsTrue(app, "ZPFSHOW")) {
        VarSetValue(app, "ZPFSHOW", "FALSE");
        Say(app, "Graphical PF keys are now OFF.", Beep::Information);
    } else {
        VarSetValue(app, "ZPFSHOW", "TRUE");
        Say(app, "Graphical PF keys are now ON, they are only visible in Edit/Browse.", Beep::Information);
    }
}

// RETRIEVE [BACK]: the previous (or with BACK the next) command of the history into the current
// context's command field.
void RetrieveCommand(AppSession& app, const GeneralCommandLine& command) {
    const DispatchShellHooks& shell = Dispatch().shell;
    std::optional<std::string> field;
    if (shell.commandFieldText) {
        field = shell.commandFieldText(app);
    }
    if (!field) {
        Say(app, "No primary command field in current context, can not RETRIEVE.", Beep::Information);
        return;
    }
    std::string text = command.p1 == "BACK" ? HistoryNext(app) : HistoryPrevious(app);
    if (shell.setCommandField) {
        shell.setCommandField(app, text, CommandFieldFocus::Take);
    }
}

void ReturnCommand(AppSession& app, const GeneralCommandLine&) {
    if (auto closeAll = Dispatch().shell.closeAllContexts) {
        closeAll(app);
    }
    std::string style = VarGetValue(app, "ZMENUSTYLE");
    if (style == "Legacy Tavo") {
        RunGeneralCommand(app, "menu legacy");
    } else if (style == "Modern Tavo") {
        RunGeneralCommand(app, "menu modern");
    }
}

void CloseAllCommand(AppSession& app, const GeneralCommandLine&) {
    CloseAllSessions(app);
}

void SwapCommand(AppSession& app, const GeneralCommandLine&) {
    if (RegisteredSessionCount(app) < 2) {
        Say(app, "No other sessions.", Beep::Information);
        return;
    }
    (void)SwapNext(app);  // reports its own failures
}

void SwapBackCommand(AppSession& app, const GeneralCommandLine&) {
    (void)SwapPrevious(app);
}

}  // namespace

void InstallBuiltInGeneralCommands(CommandHandlers& handlers) {
    auto set = [&handlers](GeneralCmd id, GeneralCommandHandler handler) {
        handlers.general[static_cast<size_t>(id)] = std::move(handler);
    };
    set(GeneralCmd::Backup, BackupCommand);
    set(GeneralCmd::Browse, BrowseCommand);
    set(GeneralCmd::CloseAll, CloseAllCommand);
    set(GeneralCmd::Defaults, DefaultsCommand);
    set(GeneralCmd::Dialog, DialogCommand);
    set(GeneralCmd::Edit, EditCommand);
    set(GeneralCmd::End, EndCommand);
    set(GeneralCmd::Exit, ExitCommand);
    set(GeneralCmd::Function, FunctionCommand);
    set(GeneralCmd::Menu, MenuCommand);
    set(GeneralCmd::Open, OpenCommand);
    set(GeneralCmd::PcmdEdit, PcmdEditCommand);
    set(GeneralCmd::PcmdFileList, PcmdFileListCommand);
    set(GeneralCmd::PfShow, PfShowCommand);
    set(GeneralCmd::Retrieve, RetrieveCommand);
    set(GeneralCmd::Return, ReturnCommand);
    set(GeneralCmd::Swap, SwapCommand);
    set(GeneralCmd::SwapBack, SwapBackCommand);
}
