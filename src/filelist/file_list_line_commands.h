#pragma once

#include <string_view>

namespace tavoe {

// The one-letter line commands typed in front of the rows, the popup verbs on selected rows, and
// opening entries.

struct AppSession;
class FileListWindow;
struct FileEntry;

// The letters a row takes: edit, browse, copy, move, rename, delete, print, information, user
// command. Each may also mark a block when doubled on a first and a last row ("DD").
inline constexpr std::string_view kEntryLetters = "EBCMRDPIU";

// Runs every typed line command of the window, top to bottom, after checking all of them (an unknown
// letter, an unended block or overlapping blocks stop everything with a message). The typed texts are
// cleared afterwards. A reload a command asked for runs at the end.
void ProcessFileListLineCommands(AppSession& app, FileListWindow& window);

// A popup-menu verb ("Edit", "Browse", "Copy", "Move", "Rename", "Delete", "Exclude", "Print", "Info",
// "UserCmd") on the selected rows.
void ApplyPopupVerb(AppSession& app, FileListWindow& window, std::string_view verb);

// Opens the selected rows (FILELIST OPEN, a double click): one sub-directory as a new list, or the
// files for editing (browsing when ZBROWSE is "TRUE").
void OpenSelectedEntries(AppSession& app, FileListWindow& window);

// Runs one letter on one entry; 0 on success, -1 after a message. E and B on a directory open it as
// a new file list.
int RunEntryLetter(AppSession& app, FileListWindow& window, const FileEntry& entry, char letter);

// Runs the file-list work left over from an operation: the reload it asked for.
void FinishListOperation(AppSession& app, FileListWindow& window);

}  // namespace tavoe
