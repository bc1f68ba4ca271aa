#include "filelist/file_list_commands.h"

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "filelist/file_list_dialogs.h"
#include "filelist/file_list_line_commands.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_primary.h"
#include "filelist/file_list_search.h"
#include "filelist/file_list_session.h"
#include "filelist/file_ops.h"
#include "filelist/projects.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// FILELIST NEW: a new list of ZFLIST.PATH.1 .. .4 (empty ones list nothing); every path must be
// absolute. The list is loaded, sorted by ZFLIST.SORT and shown over the current context.
void FileListNew(AppSession& app) {
    FileList paths;
    bool any = false;
    for (int i = 0; i < 4; ++i) {
        std::string path = VarGetValue(app, Format("ZFLIST.PATH.%d", i + 1));
        if (path.empty()) {
            continue;
        }
        if (!NormalizeListPath(app, path)) {
            return;
        }
        paths.paths[i] = path;
        any = true;
    }
    if (!any) {
        ShowMessage(app, "Path must be in form: /...", MsgTo::Box, Beep::Exclamation);
        return;
    }
    std::string name = paths.paths[0].empty() ? "filelist" : paths.paths[0];
    FileListWindow& window = PushFileListWindow(app, name);
    for (int i = 0; i < 4; ++i) {
        window.list.paths[i] = paths.paths[i];
    }
    ReloadFileList(app, window);
}

void PostDialog(AppSession& app, std::string_view name) {
    PostCommand(app, "DIALOG " + std::string(name));
}

void FileListCommand(AppSession& app, const GeneralCommandLine& command) {
    std::string what = UpperAscii(command.p1);
    if (what == "NEW") {
        FileListNew(app);
        return;
    }
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        // File, File list with no list open yet asks which directory to list.
        if (what == "SHOW") {
            PostDialog(app, "FLSTOPEN");
        }
        return;
    }
    if (what == "OPEN") {
        OpenSelectedEntries(app, *window);
    } else if (what == "RESIZE" || what == "SHOW") {
        // The window follows the screen at every paint; SHOW brings a list below other contexts back.
        if (TopContextKind(app) != ContextKind::FileList) {
            ShowContextAgain(app);
        }
        window->list.redrawNeeded = true;
    }
    // Any other word is ignored, as an unknown FILELIST parameter is.
}

void DriveListCommand(AppSession& app, const GeneralCommandLine&) {
    PostDialog(app, "DRIVLIST");
}
void FiltersCommand(AppSession& app, const GeneralCommandLine&) {
    PostDialog(app, "FILTERS");
}
void FlistOptionsCommand(AppSession& app, const GeneralCommandLine&) {
    PostDialog(app, "FLISTOPT");
}
void MultiListCommand(AppSession& app, const GeneralCommandLine&) {
    PostDialog(app, "MULTOPEN");
}
// PROJECTLIST shows the projects; PROJECTLIST name opens that project at once.
void ProjectListCommand(AppSession& app, const GeneralCommandLine& command) {
    if (command.p1.empty()) {
        PostDialog(app, "PROJOPEN");
        return;
    }
    if (!ValidProjectName(command.p1)) {
        ShowMessage(app, "Project name must be all alphanumeric (A..Z, 0..9).", MsgTo::Box,
                    Beep::Exclamation);
        return;
    }
    (void)OpenProject(app, command.p1);
}
void NewCommand(AppSession& app, const GeneralCommandLine&) {
    (void)NewFileDialog(app);
}

constexpr CommandDesc ListRow(std::string_view verb, FileListCommandFn handler) {
    return {
        .table = CommandTable::FileList, .verb = verb, .owner = CommandOwner::FileList, .fileList = handler};
}

constexpr CommandDesc GeneralRow(std::string_view verb, GeneralCommandFn handler,
                                 Listing listing = Listing::Listed) {
    return {.table = CommandTable::General,
            .verb = verb,
            .owner = CommandOwner::FileList,
            .listing = listing,
            .general = handler};
}

constexpr CommandDesc kFileListCommands[] = {
    GeneralRow("DRIVELIST", DriveListCommand),
    GeneralRow("FILELIST", FileListCommand, Listing::Unlisted),
    GeneralRow("FILTERS", FiltersCommand),
    GeneralRow("FLISTOPTIONS", FlistOptionsCommand),
    GeneralRow("MULTILIST", MultiListCommand),
    GeneralRow("NEW", NewCommand),
    GeneralRow("PROJECTLIST", ProjectListCommand),
    ListRow("ALLLOWER", AllLowerCommand),
    ListRow("ALLUPPER", AllUpperCommand),
    ListRow("BOTTOM", BottomCommand),
    ListRow("CHANGE", FileListChange),
    ListRow("CONFIRM", ConfirmCommand),
    ListRow("DOWN", DownCommand),
    ListRow("FIND", FileListFind),
    ListRow("IMACRO", IMacroCommand),
    ListRow("LEFT", LeftCommand),
    ListRow("LISTTOFILE", ListToFileCommand),
    ListRow("LOCATE", LocateCommand),
    ListRow("MAKEDIR", MakeDirCommand),
    ListRow("MAXRECLEN", MaxRecLenCommand),
    ListRow("PARENT", ParentCommand),
    ListRow("PRINTLIST", PrintListCommand),
    ListRow("PROFILE", ProfileCommand),
    ListRow("REFRESH", RefreshCommand),
    ListRow("RESET", ResetCommand),
    ListRow("RIGHT", RightCommand),
    ListRow("SEARCH", FileListSearch),
    ListRow("SELECT", SelectCommand),
    ListRow("SORT", SortCommand),
    ListRow("TOP", TopCommand),
    ListRow("UP", UpCommand),
    ListRow("XMACRO", XMacroCommand),
};

}  // namespace

CommandRows FileListCommands() {
    return kFileListCommands;
}

}  // namespace tavoe
