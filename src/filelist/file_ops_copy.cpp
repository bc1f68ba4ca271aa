#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "filelist/file_ops.h"
#include "filelist/file_ops_common.h"
#include "filelist/file_ops_copy_file.h"
#include "platform/format.h"

namespace tavoe {

namespace {

enum class Transfer { Copy, Move };

// How one try of the copy dialog ended: the work is done (or failed past the dialog's help), the
// user is to correct the fields in the dialog, or the user cancelled.
enum class Step { Done, Failed, Retry, Cancelled };

struct Target {
    std::string path;
    bool created = false;  // a directory was made or a new file will be
};

// The "To" field made a full path: ".." climbs from the source's directory, a bare name stays in the
// source's directory. "" after a message that sends the user back to the dialog.
std::string ResolveToField(AppSession& app, const std::string& source) {
    std::string to = VarGetValue(app, "ZCOPY.TO");
    std::string directory = DirectoryOf(source);
    if (to.starts_with("..")) {
        if (directory == "/") {
            ShowMessage(app, "At root directory, can not back up.", MsgTo::Box, Beep::Information);
            return {};
        }
        std::string rest = to.substr(to.size() > 2 && to[2] == '/' ? 3 : 2);
        to = JoinUnder(JoinUnder(DirectoryOf(directory), ""), rest);
    }
    if (to.empty()) {
        ShowMessage(app, "COPY/MOVE: 'To' field must be specified.", MsgTo::Box, Beep::Information);
        return {};
    }
    if (to.find_first_of("*?") != std::string::npos) {
        ShowMessage(app, "Not allowed to specify wildcard in TO file, specify directory only.", MsgTo::Box,
                    Beep::Exclamation);
        return {};
    }
    if (to.find('/') == std::string::npos) {
        to = JoinUnder(directory, to);
    }
    while (to.size() > 1 && to.back() == '/') {
        to.pop_back();
    }
    return to;
}

bool OverwriteRefused(AppSession& app, const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || FlagSet(app, "ZCOPY.OVERWRITE")) {
        return false;
    }
    ShowMessage(app, Format("Check OVERWRITE to overwrite existing file: %s", target.c_str()), MsgTo::Box,
                Beep::Information);
    return true;
}

// Where a file or tree goes, after the checks on the target: an existing directory takes a file
// under its own name, a missing target is a new name. Retry after a message.
Step ChooseTarget(AppSession& app, const std::string& source, bool sourceIsDir, Target& target) {
    struct stat info {};
    if (::stat(target.path.c_str(), &info) != 0) {
        target.created = true;
        return Step::Done;
    }
    if (!S_ISDIR(info.st_mode)) {
        if (sourceIsDir) {
            ShowMessage(app, "Not allowed to copy DIR to file.", MsgTo::Box, Beep::Exclamation);
            return Step::Retry;
        }
        return OverwriteRefused(app, target.path) ? Step::Retry : Step::Done;
    }
    if (!sourceIsDir) {
        target.path = JoinUnder(target.path, NameOf(source));
        target.created = ::lstat(target.path.c_str(), &info) != 0;
        return OverwriteRefused(app, target.path) ? Step::Retry : Step::Done;
    }
    return Step::Done;
}

// The target is the source under another name (a hard link, or the very same path): a rename would
// do nothing and a copy would empty the file.
bool SameFile(const std::string& source, const std::string& target) {
    struct stat from {};
    struct stat to {};
    return ::lstat(source.c_str(), &from) == 0 && ::lstat(target.c_str(), &to) == 0 &&
           from.st_dev == to.st_dev && from.st_ino == to.st_ino;
}

// A move within one file system is a rename. Done when renamed, Failed after a message, Retry when
// the rename cannot do it (another file system, a directory merged into an existing one) and the
// copy is to be made.
Step TryRename(AppSession& app, const std::string& source, const Target& target, bool sourceIsDir) {
    if (sourceIsDir && !target.created) {
        return Step::Retry;
    }
    int result = FlagSet(app, "ZCOPY.OVERWRITE")
                     ? ::rename(source.c_str(), target.path.c_str())
                     : ::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.path.c_str(), RENAME_NOREPLACE);
    if (result == 0) {
        return Step::Done;
    }
    if (errno == EXDEV || errno == EINVAL || errno == ENOSYS) {
        return Step::Retry;
    }
    ReportOsError(app, source, "COPY/MOVE");
    return Step::Failed;
}

Step CopyFileTo(AppSession& app, const std::string& source, const std::string& target, Transfer kind) {
    Overwrite overwrite = FlagSet(app, "ZCOPY.OVERWRITE") ? Overwrite::Yes : Overwrite::No;
    FileCopyResult copied = CopyOneFile(
        source, target, overwrite, kind == Transfer::Move ? LinkHandling::CopyLink : LinkHandling::Follow);
    switch (copied.outcome) {
        case FileCopyOutcome::Copied:
            return Step::Done;
        case FileCopyOutcome::SameFile:
            ShowMessage(app, Format("Not allowed to copy %s onto itself.", source.c_str()), MsgTo::Box,
                        Beep::Exclamation);
            return Step::Retry;
        case FileCopyOutcome::TargetExists:
            ShowMessage(app, Format("Check OVERWRITE to overwrite existing file: %s", target.c_str()),
                        MsgTo::Box, Beep::Information);
            return Step::Retry;
        case FileCopyOutcome::NotRegular:
        case FileCopyOutcome::Failed:
            break;
    }
    ReportOsError(app, source, "COPY/MOVE");
    return Step::Retry;
}

// After a move's copy the source goes: a file as one call, a tree without asking again (the move
// was confirmed in its dialog), symbolic links as links.
bool RemoveSource(AppSession& app, const std::string& source, bool sourceIsDir) {
    if (sourceIsDir) {
        return DeleteDirectoryTree(app, source) == 0;
    }
    if (::unlink(source.c_str()) != 0) {
        ReportOsError(app, source, "DELETE");
        return false;
    }
    return true;
}

void UpdateList(FileListLink* list, const std::string& source, const Target& target, Transfer kind) {
    if (list == nullptr) {
        return;
    }
    if (kind == Transfer::Move) {
        list->RemoveEntry(source);
        list->MarkForRedraw();
    } else {
        MarkEntry(list, source, EntryAction::Copied);
    }
    bool sameDirectory = UpperCased(DirectoryOf(target.path)) == UpperCased(DirectoryOf(source));
    if (!list->Locked() && sameDirectory && (target.created || kind == Transfer::Move)) {
        list->MarkForReload();
    }
}

// One try of the copy or move with the dialog's fields.
Step PerformTransfer(AppSession& app, FileListLink* list, Transfer kind) {
    std::string source = VarGetValue(app, "Copy.From1") + VarGetValue(app, "Copy.From2");
    if (UpperCased(VarGetValue(app, "Copy.BtnPushed")) == "...") {
        std::string chosen =
            ChooseFilePath(app, "Navigate to directory, specify TO file name (ESC to cancel)",
                           DirectoryOf(source), NameOf(source));
        if (chosen.empty()) {
            return Step::Cancelled;
        }
        VarSetValue(app, "ZCOPY.TO", chosen);
    }
    Target target;
    target.path = ResolveToField(app, source);
    if (target.path.empty()) {
        return Step::Retry;
    }
    struct stat info {};
    // A move takes a symbolic link as the link; a copy copies what the link leads to.
    bool found =
        kind == Transfer::Move ? ::lstat(source.c_str(), &info) == 0 : ::stat(source.c_str(), &info) == 0;
    if (!found) {
        ShowMessage(app, Format("%s does not exist.", source.c_str()), MsgTo::Box, Beep::Exclamation);
        return Step::Failed;
    }
    bool sourceIsDir = S_ISDIR(info.st_mode);
    if (Step checked = ChooseTarget(app, source, sourceIsDir, target); checked != Step::Done) {
        return checked;
    }
    if (sourceIsDir && InsideTree(source, target.path)) {
        ShowMessage(app, Format("Not allowed to copy %s into itself.", source.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return Step::Retry;
    }
    if (SameFile(source, target.path)) {
        ShowMessage(app, Format("Not allowed to copy %s onto itself.", source.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return Step::Retry;
    }
    if (kind == Transfer::Move) {
        Step renamed = TryRename(app, source, target, sourceIsDir);
        if (renamed == Step::Done) {
            UpdateList(list, source, target, kind);
        }
        if (renamed != Step::Retry) {
            return renamed;
        }
    }
    if (sourceIsDir) {
        if (target.created && ::mkdir(target.path.c_str(), (info.st_mode & 07777) | S_IRWXU) != 0) {
            ReportOsError(app, target.path, "MAKEDIR");
            return Step::Retry;
        }
        if (CopyDirectoryTree(app, source, target.path) != 0) {
            return Step::Retry;
        }
    } else if (Step copied = CopyFileTo(app, source, target.path, kind); copied != Step::Done) {
        return copied;
    }
    if (kind == Transfer::Move && !RemoveSource(app, source, sourceIsDir)) {
        MarkEntry(list, source, EntryAction::Copied);
        return Step::Failed;
    }
    UpdateList(list, source, target, kind);
    return Step::Done;
}

// The copy dialog and its tries: a failure that the user can correct shows the dialog again with
// the fields as they were.
int TransferEntry(AppSession& app, FileListLink* list, std::string_view pathText, Transfer kind) {
    std::string path(pathText);
    VarSetValue(app, "ZCOPY.TITLE",
                kind == Transfer::Copy ? "Copy File or Directory" : "Move File or Directory");
    if (!CheckExists(app, path) ||
        !CheckQualified(app, path, "Operation requires fully qualified file name.")) {
        return -1;
    }
    SetSplitPath(app, "Copy.From1", "Copy.From2", path);
    bool showDialog = !FlagSet(app, "ZCOPY.YESTOALL");
    if (!showDialog) {
        VarSetValue(app, "Copy.BtnPushed", "");
        PushContext(app, ContextKind::Dialog, "copy");
    }
    for (;;) {
        if (showDialog) {
            if (TopContextKind(app) == ContextKind::Dialog) {
                PopContext(app);  // the dialog pushes its own frame
            }
            if (RunOperationDialog(app, "Copy") != DialogResult::Committed) {
                return -1;
            }
        }
        Step step = PerformTransfer(app, list, kind);
        if (step != Step::Retry) {
            LeaveOperationDialog(app);
            return step == Step::Done ? 0 : -1;
        }
        showDialog = true;
    }
}

}  // namespace

int CopyEntry(AppSession& app, FileListLink* list, std::string_view path) {
    return TransferEntry(app, list, path, Transfer::Copy);
}

int MoveEntry(AppSession& app, FileListLink* list, std::string_view path) {
    return TransferEntry(app, list, path, Transfer::Move);
}

}  // namespace tavoe
