#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "filelist/file_list_format.h"
#include "filelist/file_ops.h"
#include "filelist/file_ops_common.h"
#include "platform/format.h"
#include "utilities/filescan_count.h"

namespace tavoe {

namespace {

// A time in local time, in the form the file list's Date column uses for ZFLIST.FORMAT.DATE.
std::string FormatDate(AppSession& app, std::time_t when) {
    return FormatEntryDate(when, VarGetValue(app, "ZFLIST.FORMAT.DATE"));
}

// The birth time where the file system records it, else the time of the last status change.
std::time_t CreationTime(const std::string& path, const struct stat& info) {
    struct statx extended {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &extended) == 0 &&
        (extended.stx_mask & STATX_BTIME) != 0) {
        return static_cast<std::time_t>(extended.stx_btime.tv_sec);
    }
    return info.st_ctime;
}

void SetFlag(AppSession& app, std::string_view name, bool on) {
    VarSetValue(app, name, on ? "TRUE" : "FALSE");
}

void FillProperties(AppSession& app, const std::string& path, const struct stat& info) {
    bool directory = S_ISDIR(info.st_mode);
    VarSetValue(app, "Property.FileSpec", path);
    VarSetValue(app, "ZFILEPROPSPEC", path);
    VarSetValue(app, "Property.Type", directory ? "Directory" : "File");
    VarSetValue(app, "Property.Size", directory ? "0" : GroupedNumber(static_cast<uint64_t>(info.st_size)));
    std::time_t created = CreationTime(path, info);
    std::string accessed = FormatDate(app, directory ? created : info.st_atime);
    VarSetValue(app, "Property.DateCreated", FormatDate(app, created));
    VarSetValue(app, "Property.DateModified", FormatDate(app, directory ? created : info.st_mtime));
    VarSetValue(app, "Property.DateAccessed", accessed.substr(0, accessed.find(' ')));
    SetFlag(app, "Property.ReadOnly", IsReadOnly(path));
    SetFlag(app, "Property.Hidden", NameOf(path).starts_with("."));
    SetFlag(app, "Property.Archive", false);
    SetFlag(app, "Property.System", false);
}

// Read-only is the write permission: set, every write bit goes; cleared, the owner may write again.
// Hidden follows the name and system and archive do not exist here, so they are not applied.
int ApplyProperties(AppSession& app, FileListLink* list) {
    if (VarGetValue(app, "Property.FileSpec") != VarGetValue(app, "ZFILEPROPSPEC")) {
        ShowMessage(
            app,
            "'Name' field is presented non-static to provide horizontal scroll and name copy capability "
            "only, use RENAME to rename file.",
            MsgTo::Box, Beep::Information);
    }
    std::string path = VarGetValue(app, "ZFILEPROPSPEC");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Refuse(app, "Error setting file attributes.", MsgTo::Box, Beep::Exclamation);
    }
    bool readOnly = FlagSet(app, "Property.ReadOnly");
    bool wasReadOnly = IsReadOnly(path);
    if (readOnly != wasReadOnly) {
        mode_t mode = info.st_mode & 07777;
        mode = readOnly ? mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
        if (::chmod(path.c_str(), mode) != 0) {
            return Refuse(app, "Error setting file attributes.", MsgTo::Box, Beep::Exclamation);
        }
    }
    MarkEntry(list, path, EntryAction::Info);
    if (list != nullptr && !list->Locked()) {
        list->MarkForReload();
    }
    return 0;
}

}  // namespace

int ShowEntryProperties(AppSession& app, FileListLink* list, std::string_view pathText) {
    std::string path(pathText);
    if (!CheckExists(app, path)) {
        return -1;
    }
    struct stat own {};
    if (!LinkStatus(path, own)) {
        return Refuse(app, Format("Unable to get properties for '%s'.", path.c_str()), MsgTo::Box,
                      Beep::Exclamation);
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return Refuse(app, Format("Unable to get status for '%s'.", path.c_str()), MsgTo::Box,
                      Beep::Exclamation);
    }
    FillProperties(app, path, info);
    DialogResult result = RunOperationDialog(app, "Property");
    if (result != DialogResult::Committed) {
        return result == DialogResult::Closed ? 0 : -1;
    }
    int applied = ApplyProperties(app, list);
    LeaveOperationDialog(app);
    return applied;
}

}  // namespace tavoe
