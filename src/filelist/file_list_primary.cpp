#include "filelist/file_list_primary.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "buffer/file_name_vars.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/message.h"
#include "core/open_mode.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "filelist/file_list_format.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_session.h"
#include "filelist/file_list_sort.h"
#include "macro/macro_door.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "ui/file_chooser.h"

namespace tavoe {

namespace {

// The rows a scroll moves by when no amount is given: the rows shown.
int PageRows(AppSession& app) {
    DataWindowSize size = Shell(app).CurrentDataWindow(app);
    return std::max(size.rows - 3, 1);
}

// "", a number, or MAX; -1 for anything else.
long ScrollAmount(AppSession& app, std::string_view params, long max) {
    std::string word = UpperAscii(std::string(CommandTrim(params)));
    if (word.empty()) {
        return PageRows(app);
    }
    if (word == "MAX" || word == "M") {
        return max;
    }
    if (word.size() > 9 || word.find_first_not_of("0123456789") != std::string::npos) {
        ShowMessage(app, Format("Scroll amount '%s' is not valid.", word.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    return std::stol(word);
}

int RowCount(FileListWindow& window) {
    return static_cast<int>(VisibleRows(window.list).size());
}

void ScrollRows(AppSession& app, std::string_view params, int direction) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    int count = RowCount(*window);
    long amount = ScrollAmount(app, params, count);
    if (amount < 0) {
        return;
    }
    long top = window->topRow + direction * amount;
    window->topRow = static_cast<int>(std::clamp(top, 0L, static_cast<long>(std::max(count - 1, 0))));
    window->cursorRow = window->topRow;
}

void ScrollColumns(AppSession& app, std::string_view params, int direction) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    long amount = ScrollAmount(app, params, 255);
    if (amount < 0) {
        return;
    }
    if (std::string(CommandTrim(params)).empty()) {
        amount = 10;
    }
    long left = window->leftColumn + direction * amount;
    window->leftColumn = static_cast<int>(std::clamp(left, 0L, 512L));
}

// Renames without replacing an existing file: two names that differ only in case stay two files.
bool RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
#endif
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) {
        return false;
    }
    return rename(from.c_str(), to.c_str()) == 0;
}

void RenameAll(AppSession& app, CaseRename how, std::string_view what) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    if (!Shell(app).ConfirmOkCancel(app, "Rename ALL files in current list to " + std::string(what))) {
        return;
    }
    bool failed = false;
    for (FileEntry* entry : VisibleRows(window->list)) {
        if (entry->isDirectory) {
            continue;
        }
        std::string renamed = RenamedCase(entry->name, how);
        if (renamed == entry->name) {
            continue;
        }
        if (!RenameNoReplace(entry->path + entry->name, entry->path + renamed)) {
            failed = true;
            continue;
        }
        entry->name = renamed;
        if (!entry->ext.empty()) {
            entry->ext = ExtensionOf(renamed);
        }
        entry->action = EntryAction::Renamed;
    }
    if (failed) {
        ShowMessage(app, "Rename failed.", MsgTo::Box, Beep::Exclamation);
    }
}

void RunMacroOnRows(AppSession& app, std::string_view params, bool selectedOnly) {
    FileListWindow* window = CurrentFileList(app);
    std::string macro = std::string(CommandTrim(params));
    if (window == nullptr) {
        return;
    }
    if (macro.empty()) {
        ShowMessage(app, "Macro name required.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    std::vector<std::string> paths;
    for (const FileEntry* entry : VisibleRows(window->list)) {
        if (!entry->isDirectory && (!selectedOnly || entry->selected)) {
            paths.push_back(EntryFullPath(*entry));
        }
    }
    if (paths.empty()) {
        ShowMessage(app,
                    selectedOnly ? "You need to select one or more files before applying a popup menu verb."
                                 : "No files in this list.",
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    // Each run sees the file through the file-name variables, as a macro started in an edit session.
    for (const std::string& path : paths) {
        SetFileNameVariables(Storage(app), path);
        if (MacroRun(app, macro) != 0) {
            return;
        }
    }
}

bool WriteText(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

// The first path of the list, where relative names given to its commands are taken from.
std::string ListDirectory(const FileListWindow& window) {
    for (const std::string& path : window.list.paths) {
        if (!path.empty()) {
            return path;
        }
    }
    return "/";
}

}  // namespace

std::string RenamedCase(std::string_view name, CaseRename how) {
    std::string out(name);
    for (size_t i = 0; i < out.size(); ++i) {
        char& c = out[i];
        bool upper = how == CaseRename::Upper || (how == CaseRename::Initial && i == 0);
        if (upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (!upper && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// ALLLOWER and ALLUPPER rename every file of the list; "INITIAL" gives an initial capital followed
// by lower case.
void AllLowerCommand(AppSession& app, std::string_view params) {
    if (UpperAscii(std::string(CommandTrim(params))) == "INITIAL") {
        RenameAll(app, CaseRename::Initial, "initial capital followed by all lowercase?");
        return;
    }
    RenameAll(app, CaseRename::Lower, "ALL lowercase?");
}

void AllUpperCommand(AppSession& app, std::string_view params) {
    if (UpperAscii(std::string(CommandTrim(params))) == "INITIAL") {
        RenameAll(app, CaseRename::Initial, "initial capital followed by all lowercase?");
        return;
    }
    RenameAll(app, CaseRename::Upper, "ALL uppercase?");
}

void TopCommand(AppSession& app, std::string_view) {
    ScrollRows(app, "MAX", -1);
}
void BottomCommand(AppSession& app, std::string_view) {
    ScrollRows(app, "MAX", 1);
}
void UpCommand(AppSession& app, std::string_view params) {
    ScrollRows(app, params, -1);
}
void DownCommand(AppSession& app, std::string_view params) {
    ScrollRows(app, params, 1);
}
void LeftCommand(AppSession& app, std::string_view params) {
    ScrollColumns(app, params, -1);
}
void RightCommand(AppSession& app, std::string_view params) {
    ScrollColumns(app, params, 1);
}

// CONFIRM ON|OFF: whether deletes ask first.
void ConfirmCommand(AppSession& app, std::string_view params) {
    std::string word = UpperAscii(std::string(CommandTrim(params)));
    if (word == "ON" || word == "OFF") {
        VarSetValue(app, "ZFLIST.CONFIRMDELETE", word == "ON" ? "TRUE" : "FALSE");
        ShowMessage(app, Format("Confirm delete is %s.", word.c_str()), MsgTo::Box, Beep::Information);
        return;
    }
    ShowMessage(app, "CONFIRM requires ON or OFF.", MsgTo::Box, Beep::Exclamation);
}

// IMACRO name: runs the macro once for every file of the list; XMACRO name: for every selected
// row. The file-name variables name the file during each run.
void IMacroCommand(AppSession& app, std::string_view params) {
    RunMacroOnRows(app, params, false);
}
void XMacroCommand(AppSession& app, std::string_view params) {
    RunMacroOnRows(app, params, true);
}

// LISTTOFILE name: the list as text into a file (relative to the list's directory); an existing
// file is replaced only when the user agrees.
void ListToFileCommand(AppSession& app, std::string_view params) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    std::string name = std::string(CommandTrim(params));
    if (name.empty()) {
        ShowMessage(app, "LISTTOFILE requires a file name.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    std::string path = name.front() == '/' ? name : ListDirectory(*window) + name;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            ShowMessage(app, "Target file is a directory, please provide file name.", MsgTo::Box,
                        Beep::Exclamation);
            return;
        }
        if (!Shell(app).ConfirmOkCancel(app, "File already exists, OK to overwrite it?")) {
            return;
        }
    }
    if (!WriteText(path, ExportText(window->list, window->layout))) {
        ShowMessage(app, Format("%s, %s error.", path.c_str(), "WRITE"), MsgTo::Box, Beep::Exclamation);
        return;
    }
    ShowMessage(app, Format("File List written to %s.", path.c_str()), MsgTo::Box, Beep::Information);
}

// LOCATE text: the first row whose name begins with the text (without regard to case) comes to the top.
void LocateCommand(AppSession& app, std::string_view params) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    std::string wanted = UpperAscii(std::string(CommandTrim(params)));
    std::vector<FileEntry*> rows = VisibleRows(window->list);
    for (size_t i = 0; i < rows.size(); ++i) {
        if (UpperAscii(rows[i]->name).starts_with(wanted)) {
            window->topRow = static_cast<int>(i);
            window->cursorRow = static_cast<int>(i);
            return;
        }
    }
    ShowMessage(app, Format("LOCATE: '%s' not found.", std::string(CommandTrim(params)).c_str()), MsgTo::Box,
                Beep::Exclamation);
}

// MAKEDIR name: a new directory in the list's directory, listed at once unless the list is locked.
void MakeDirCommand(AppSession& app, std::string_view params) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    std::string name = std::string(CommandTrim(params));
    if (name.empty()) {
        ShowMessage(app, "MAKEDIR requires a directory name.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    std::string path = name.front() == '/' ? name : ListDirectory(*window) + name;
    if (mkdir(path.c_str(), 0777) != 0) {
        ShowMessage(app, Format("%s, %s error.", path.c_str(), "MAKEDIR"), MsgTo::Box, Beep::Exclamation);
        return;
    }
    if (window->list.locked) {
        ShowMessage(app, "File List is locked, new names are not displayed.", MsgTo::Box, Beep::Information);
        return;
    }
    ReloadFileList(app, *window);
    window->SetEntryAction(path, EntryAction::Created);
}

// MAXRECLEN: the longest record (line without its end) of the files in the list.
void MaxRecLenCommand(AppSession& app, std::string_view) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    size_t longest = 0;
    std::string where;
    std::vector<char> block(65536);
    for (const FileEntry* entry : VisibleRows(window->list)) {
        if (entry->isDirectory) {
            continue;
        }
        std::string path = EntryFullPath(*entry);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            continue;
        }
        size_t current = 0;
        size_t got;
        while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) {
            for (size_t i = 0; i < got; ++i) {
                char c = block[i];
                if (c == '\n') {
                    current = 0;
                } else if (c != '\r' && ++current > longest) {
                    longest = current;
                    where = path;
                }
            }
        }
        std::fclose(file);
    }
    if (where.empty()) {
        ShowMessage(app, "No records in the files of this list.", MsgTo::Box, Beep::Information);
        return;
    }
    ShowMessage(app, Format("Maximum record length %zu, in %s.", longest, where.c_str()), MsgTo::Box,
                Beep::Information);
}

// PARENT: the list shows the parent of its first path instead.
void ParentCommand(AppSession& app, std::string_view) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr || !window->projectName.empty()) {
        return;
    }
    std::string path = ListDirectory(*window);
    if (path == "/") {
        ShowMessage(app, "At root directory, can not back up.", MsgTo::Box, Beep::Information);
        return;
    }
    path.pop_back();
    path.erase(path.rfind('/') + 1);
    for (std::string& listed : window->list.paths) {
        listed.clear();
    }
    window->list.paths[0] = path;
    VarSetValue(app, "ZFLIST.PATH.1", path);
    window->topRow = window->cursorRow = 0;
    ReloadFileList(app, *window);
}

// PRINTLIST: the list as text in a temporary file, opened for browsing, where it prints as any file.
void PrintListCommand(AppSession& app, std::string_view) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string path = Format("%s/tavoe-filelist-%d.txt", tmp != nullptr && *tmp != '\0' ? tmp : "/tmp",
                              static_cast<int>(getpid()));
    if (!WriteText(path, ExportText(window->list, window->layout))) {
        ShowMessage(app, Format("%s, %s error.", path.c_str(), "WRITE"), MsgTo::Box, Beep::Exclamation);
        return;
    }
    (void)Shell(app).OpenEditSession(app, path, OpenMode::Browse);
}

// PROFILE name: files opened from this list use that file profile; PROFILE alone ends the override.
void ProfileCommand(AppSession& app, std::string_view params) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    window->projectProfile = std::string(CommandTrim(params));
    VarSetValue(app, "ZPROFILE", window->projectProfile);
    if (window->projectProfile.empty()) {
        ShowMessage(app, "File profile override is off.", MsgTo::Box, Beep::Information);
    } else {
        ShowMessage(app, Format("File profile override is %s.", window->projectProfile.c_str()), MsgTo::Box,
                    Beep::Information);
    }
}

void RefreshCommand(AppSession& app, std::string_view) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    if (window->list.locked) {
        ShowMessage(app, "File List is locked, new names are not displayed.", MsgTo::Box, Beep::Information);
        return;
    }
    ReloadFileList(app, *window);
}

// RESET: excluded rows come back; selections and typed line commands are dropped.
void ResetCommand(AppSession& app, std::string_view) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    for (std::vector<FileEntry>* part : {&window->list.dirs, &window->list.files}) {
        for (FileEntry& entry : *part) {
            entry.excluded = false;
            entry.selected = false;
            entry.pending.clear();
        }
    }
    RecountList(window->list);
}

// SELECT ALL, SELECT NONE, or SELECT pattern (names matching it join the selection).
void SelectCommand(AppSession& app, std::string_view params) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    std::string what = std::string(CommandTrim(params));
    std::string upper = UpperAscii(what);
    if (what.empty()) {
        ShowMessage(app, "SELECT requires ALL, NONE or a file name pattern.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    for (FileEntry* entry : VisibleRows(window->list)) {
        if (upper == "ALL") {
            entry->selected = true;
        } else if (upper == "NONE") {
            entry->selected = false;
        } else if (ui::MatchesPatterns(entry->name, what)) {
            entry->selected = true;
        }
    }
}

void SortCommand(AppSession& app, std::string_view params) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    SortRequest request;
    std::string error;
    if (!ParseSortParams(params, request, error)) {
        ShowMessage(app, error, MsgTo::Box, Beep::Exclamation);
        return;
    }
    SortShowingProgress(app, *window, request);
}

}  // namespace tavoe
