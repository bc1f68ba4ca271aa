#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/file_list.h"
#include "filelist/file_list_format.h"
#include "filelist/file_list_link.h"
#include "filelist/file_list_sort.h"

namespace tavoe {

// The open file lists of an instance. Each open list is one "filelist" frame of the context stack
// and one window state here, in the same order: the last window belongs to the file-list frame
// nearest the top of the stack.

struct AppSession;

// Where the keyboard is inside a file list window.
enum class ListFocus { Command, Rows };

// One open file list: its data, how it is laid out, where the user is in it, and its command field.
// It is the link the file operations use to mark, drop and reload entries.
class FileListWindow : public FileListLink {
public:
    explicit FileListWindow(AppSession& app) : app_(app) {}

    FileList list;
    RowLayout layout;
    int topRow = 0;     // first row shown (index into the visible rows)
    int cursorRow = 0;  // the row the keyboard is on (index into the visible rows)
    int leftColumn = 0;
    ListFocus focus = ListFocus::Command;
    std::string command;      // the file list's own command field
    std::string projectName;  // a project shown as a list: its name ("" for a directory list)
    std::string projectProfile;
    std::vector<std::string> members;  // a project's files, in project order

    bool Locked() const override { return list.locked; }
    void SetEntryAction(std::string_view path, EntryAction action, int count = 0) override;
    void RemoveEntry(std::string_view path) override;
    void MarkForReload() override { list.reloadNeeded = true; }
    void MarkForRedraw() override { list.redrawNeeded = true; }

    // The entry with this full path, or null.
    FileEntry* Find(std::string_view path);

private:
    AppSession& app_;
};

struct FileListSet {
    std::vector<std::unique_ptr<FileListWindow>> windows;
};

FileListSet& FileLists(AppSession& app);

// The file list shown now (the one of the file-list frame nearest the top), or null.
FileListWindow* CurrentFileList(AppSession& app);

// Creates a window for a new list and pushes its ("filelist", name) frame.
FileListWindow& PushFileListWindow(AppSession& app, std::string_view name);

// Drops the top file list: its window and its frame (the frame must be on top), then shows what
// is below it. A project list writes its project file first.
void CloseTopFileList(AppSession& app);

// Forgets every window (the context stack was emptied).
void ForgetFileLists(AppSession& app);

// The layout of rows from the settings (ZFLIST.MAXWIDTHNAME, ZFLIST.EXTSEPARATE, the
// ZFLIST.INCLUDE.* columns, ZFLIST.FORMAT.DATE); recursive lists show the Path column.
RowLayout LayoutFromSettings(AppSession& app, bool recursive);

// Sorts the window's list, showing "DirListSort: N" as the status text every 400 entries sorted
// (as loading shows "DirListLoad: N" every 100) and clearing it afterwards.
void SortShowingProgress(AppSession& app, FileListWindow& window, const SortRequest& request);

// Loads (or reloads) the window's list from its paths with the current settings, applies
// ZFLIST.SORT, and keeps the cursor in range.
void ReloadFileList(AppSession& app, FileListWindow& window);

}  // namespace tavoe
