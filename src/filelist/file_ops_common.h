#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "dialogs/dialog_runtime.h"
#include "filelist/file_list_link.h"

namespace tavoe {

// What the file operations share: the checks every operation starts with, the error texts, the
// paths split for display, the question boxes and the file dialog.

struct AppSession;

// lstat of the path itself: a symbolic link is described as a link, never as what it leads to.
bool LinkStatus(const std::string& path, struct stat& info);

// The path names something (a dangling symbolic link included); otherwise "%s does not exist.".
bool CheckExists(AppSession& app, const std::string& path);

// The path holds a "/"; otherwise the message given (the "requires fully qualified file name" text
// of the operation).
bool CheckQualified(AppSession& app, const std::string& path, std::string_view message);

// "%s, %s error." with the path and the verb (DELETE, RENAME, MAKEDIR, COPY/MOVE, COPY); -1.
int ReportOsError(AppSession& app, const std::string& path, std::string_view verb);

// The directory part of a path, ending without "/" ("/" for an entry at the root), and the name.
std::string DirectoryOf(const std::string& path);
std::string NameOf(const std::string& path);
// directory + "/" + name, the "/" added only when the directory does not end in one.
std::string JoinUnder(const std::string& directory, const std::string& name);

// A path shown in two output fields: under 77 characters whole in the first, else 76 and the rest.
void SetSplitPath(AppSession& app, std::string_view first, std::string_view second, const std::string& path);

// The question "OK to delete ..." style: Yes and No, the question icon, No the default button.
bool AskYesNo(AppSession& app, std::string_view question);

// The file dialog with a prompt, starting in a directory with a name offered; the chosen path, or
// "" when the user cancelled or there is no screen to ask on.
std::string ChooseFilePath(AppSession& app, std::string_view prompt, const std::string& directory,
                           const std::string& name, std::string_view filter = {});

// Read-only: the user may not write the file, or nobody may (no write permission bit at all), which
// a user running with every privilege still takes as the owner's wish.
bool IsReadOnly(const std::string& path);

// "TRUE" in a flag variable.
bool FlagSet(AppSession& app, std::string_view variable);

// Whether the directory `target` (which need not exist yet; its parent must) lies inside the tree of
// the directory `source`, or is that directory: a copy there would copy its own copies without end.
bool InsideTree(const std::string& source, const std::string& target);

// Where the dialogs of the operations end: the dialog frame on top is left and what lies below is
// shown again.
void LeaveOperationDialog(AppSession& app);

// Shows one of the operations' dialogs. A showing that ends without a commit is finished here (Help
// posts HELP, closing goes back to what lies below, and a dialog that could not be shown drops the
// frame it may have left); the result tells the caller whether to apply.
DialogResult RunOperationDialog(AppSession& app, std::string_view name);

// Tells the list, when there is one, that the entry got an action code and needs to be redrawn.
void MarkEntry(FileListLink* list, std::string_view path, EntryAction action, int count = 0);

}  // namespace tavoe
