// The general commands the dispatcher carries itself: settings it stores, the ways of opening files,
// leaving contexts, retrieving commands and switching between instances.

#include <filesystem>
#include <string>

#include "commands/command_history.h"
#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "commands/dispatch_builtins.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "profiles/main_profile.h"

namespace tavoe {

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
    if (!Shell(app).OpenDialog(app, which)) {
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
void OpenFileCommand(AppSession& app, const GeneralCommandLine& command, OpenMode how) {
    std::string param(CommandTrim(command.allParams));
    // A name in quotes may hold blanks; the quotes are not part of it.
    if (param.size() >= 2 && (param.front() == '"' || param.front() == '\'') &&
        param.back() == param.front()) {
        param = param.substr(1, param.size() - 2);
    }
    const char* browse = how == OpenMode::Browse ? "TRUE" : "FALSE";
    if (param.empty()) {
        if (how == OpenMode::Browse) {
            Say(app, "BROWSE command requires file name.", Beep::Information);
            return;
        }
        // The open dialog edits or browses by ZBROWSE: a BROWSE before must not turn this into one.
        VarSetValue(app, "ZBROWSE", browse);
        OpenFileDialog(app, DialogByCod(app), "EDIT");
        return;
    }
    if (param.find_first_of("?*") == std::string::npos && !IsDirectory(param)) {
        Shell(app).OpenEditSession(app, param, how);
        return;
    }
    VarSetValue(app, "ZBROWSE", browse);
    RunGeneralCommand(app, "open " + param);
}

void BrowseCommand(AppSession& app, const GeneralCommandLine& command) {
    OpenFileCommand(app, command, OpenMode::Browse);
}

void EditCommand(AppSession& app, const GeneralCommandLine& command) {
    OpenFileCommand(app, command, OpenMode::Edit);
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
    PostCommand(app, "FILELIST NEW");
}

void DefaultsCommand(AppSession& app, const GeneralCommandLine&) {
    RestoreOutcome outcome = RestoreDefaults(
        app, [&app](std::string_view question) { return Shell(app).ConfirmOkCancel(app, question); });
    if (outcome == RestoreOutcome::Restored) {
        PostCommand(app, "EXIT");
    }
}

// END leaves the current context: an edit session ends, a file list closes, a menu gives way to the
// context below it; a dialog stays.
void EndCommand(AppSession& app, const GeneralCommandLine&) {
    switch (TopContextKind(app)) {
        case ContextKind::Task:
            if (EditSession* session = CurrentEditSession(app)) {
                Shell(app).EndEditSession(app, *session);
            }
            return;
        case ContextKind::FileList:
            Shell(app).CloseFileList(app);
            return;
        case ContextKind::Menu:
            Shell(app).ShowTopContext(app);
            return;
        default:
            return;
    }
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
    std::optional<std::string> field = Shell(app).CommandFieldText(app);
    if (!field) {
        Say(app, "No primary command field in current context, can not RETRIEVE.", Beep::Information);
        return;
    }
    std::string text = command.p1 == "BACK" ? HistoryNext(app) : HistoryPrevious(app);
    Shell(app).SetCommandField(app, text, CommandFieldFocus::Take);
}

void ReturnCommand(AppSession& app, const GeneralCommandLine&) {
    Shell(app).CloseAllContexts(app);
    std::string style = VarGetValue(app, "ZMENUSTYLE");
    if (style == "Legacy Tavo") {
        RunGeneralCommand(app, "menu legacy");
    } else if (style == "Modern Tavo") {
        RunGeneralCommand(app, "menu modern");
    }
}

constexpr CommandDesc Row(std::string_view verb, GeneralCommandFn handler,
                          Listing listing = Listing::Listed) {
    return {.table = CommandTable::General,
            .verb = verb,
            .owner = CommandOwner::Commands,
            .listing = listing,
            .general = handler};
}

constexpr CommandDesc kGeneralRows[] = {
    Row("BACKUP", BackupCommand),
    Row("BROWSE", BrowseCommand),
    Row("DEFAULTS", DefaultsCommand, Listing::Unlisted),
    Row("EDIT", EditCommand),
    Row("END", EndCommand),
    Row("FUNCTION", FunctionCommand, Listing::Unlisted),
    Row("OPEN", OpenCommand),
    Row("PCMDEDIT", PcmdEditCommand, Listing::Unlisted),
    Row("PCMDFILELIST", PcmdFileListCommand, Listing::Unlisted),
    Row("PFSHOW", PfShowCommand),
    Row("RETRIEVE", RetrieveCommand),
    Row("RETURN", ReturnCommand),
};

}  // namespace

CommandRows DispatcherGeneralCommands() {
    return kGeneralRows;
}

}  // namespace tavoe
