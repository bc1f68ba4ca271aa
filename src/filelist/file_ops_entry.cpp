#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <string>

#include "buffer/file_name_vars.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "filelist/file_ops.h"
#include "filelist/file_ops_common.h"
#include "platform/format.h"
#include "utilities/print_job.h"
#include "utilities/user_command.h"

namespace tavoe {

namespace {

// The rename itself: a name without "/" stays in the entry's directory, and an existing file of the
// new name is never replaced.
int ApplyRename(AppSession& app, FileListLink* list, const std::string& path) {
    std::string name = VarGetValue(app, "Rename.New");
    if (name.empty()) {
        return 0;
    }
    if (name.find_first_of("*?") != std::string::npos) {
        return Refuse(app, "RENAME: not allowed to specify wildcard characters in new name.", MsgTo::Box,
                      Beep::Information);
    }
    std::string target = name.find('/') == std::string::npos ? JoinUnder(DirectoryOf(path), name) : name;
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        return ReportOsError(app, path, "RENAME");
    }
    if (list != nullptr) {
        if (list->Locked()) {
            list->RemoveEntry(path);
            list->MarkForRedraw();
        } else {
            list->MarkForReload();
        }
    }
    return 0;
}

}  // namespace

int RunEntryOperation(AppSession& app, FileListLink* list, std::string_view path, char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'B':
            return Shell(app).OpenEditSession(app, path, OpenMode::Browse) == 0 ? 0 : -1;
        case 'E':
            return Shell(app).OpenEditSession(app, path, OpenMode::Edit) == 0 ? 0 : -1;
        case 'C':
            return CopyEntry(app, list, path);
        case 'M':
            return MoveEntry(app, list, path);
        case 'D':
            return DeleteEntry(app, list, path);
        case 'R':
            return RenameEntry(app, list, path);
        case 'I':
            return ShowEntryProperties(app, list, path);
        case 'P':
            return PrintEntry(app, list, path);
        case 'U':
            return UserCommandOnEntry(app, list, path);
        default:
            return -1;
    }
}

int DeleteEntry(AppSession& app, FileListLink* list, std::string_view pathText) {
    std::string path(pathText);
    if (!CheckExists(app, path) || !CheckQualified(app, path, "DELETE requires fully qualified file name.")) {
        return -1;
    }
    struct stat info {};
    if (LinkStatus(path, info) && S_ISDIR(info.st_mode)) {
        if (!AskYesNo(app, Format("OK to delete DIRECTORY and ALL its files\n\n%s", path.c_str()))) {
            return 0;
        }
        if (DeleteDirectoryTree(app, path) != 0) {
            return -1;
        }
    } else if (::unlink(path.c_str()) != 0) {
        return ReportOsError(app, path, "DELETE");
    }
    if (list != nullptr) {
        list->RemoveEntry(path);
        list->MarkForRedraw();
    }
    return 0;
}

int RenameEntry(AppSession& app, FileListLink* list, std::string_view pathText) {
    std::string path(pathText);
    if (!CheckExists(app, path) || !CheckQualified(app, path, "RENAME requires fully qualified file name.")) {
        return -1;
    }
    SetSplitPath(app, "Rename.Old1", "Rename.Old2", path);
    VarSetValue(app, "Rename.New", NameOf(path));
    if (RunOperationDialog(app, "Rename") != DialogResult::Committed) {
        return -1;
    }
    int renamed = ApplyRename(app, list, path);
    LeaveOperationDialog(app);
    return renamed;
}

int PrintEntry(AppSession& app, FileListLink*, std::string_view pathText) {
    std::string path(pathText);
    if (!CheckExists(app, path)) {
        return -1;
    }
    return PrintFile(app, path, {});
}

int UserCommandOnEntry(AppSession& app, FileListLink* list, std::string_view path) {
    SetFileNameVariables(Storage(app), path);
    UserCmdDialog(app, nullptr);
    MarkEntry(list, path, EntryAction::UserCmd);
    return 0;
}

int NewFileDialog(AppSession& app) {
    std::string directory = VarGetValue(app, "ZDSNPATH");
    if (directory.empty()) {
        directory = "/";
    }
    std::string extension = VarGetValue(app, "ZDSNEXT");
    std::string path =
        ChooseFilePath(app, "Navigate to directory, specify new file name (ESC to cancel)", directory, {},
                       "*." + (extension.empty() ? std::string("*") : extension));
    if (path.empty()) {
        return -1;
    }
    struct stat info {};
    if (LinkStatus(path, info)) {
        return Refuse(app, Format("%s already exists, use OPEN.", path.c_str()), MsgTo::Box,
                      Beep::Information);
    }
    return Shell(app).OpenEditSession(app, path, OpenMode::Edit) == 0 ? 0 : -1;
}

}  // namespace tavoe
