#include "filelist/file_list_line_commands.h"

#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/open_mode.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_session.h"
#include "filelist/file_ops.h"
#include "platform/format.h"

namespace tavoe {

namespace {

struct Job {
    FileEntry* entry;
    char letter;
    bool inBlock;
};

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool Known(char letter) {
    return kEntryLetters.find(letter) != std::string_view::npos;
}

// Reads the typed texts into one job per row. Blocks are a doubled letter on a first and a last row;
// rows between them take the block's letter. Everything is checked before anything runs.
bool CollectJobs(AppSession& app, const std::vector<FileEntry*>& rows, std::vector<Job>& jobs) {
    char openBlock = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string typed;
        for (char c : rows[i]->pending) {
            if (c != ' ' && c != '.') {
                typed += Upper(c);
            }
        }
        if (typed.empty()) {
            if (openBlock != 0) {
                jobs.push_back({rows[i], openBlock, true});
            }
            continue;
        }
        char letter = typed[0];
        if (!Known(letter)) {
            ShowMessage(app, Format("'%c' unknown line command.", letter), MsgTo::Box, Beep::Exclamation);
            return false;
        }
        bool doubled = typed.size() >= 2 && typed[1] == letter;
        if ((typed.size() > 1 && !doubled) || typed.size() > 2) {
            ShowMessage(app, Format("'%c' unknown line command.", typed[1] == letter ? typed[2] : typed[1]),
                        MsgTo::Box, Beep::Exclamation);
            return false;
        }
        if (!doubled) {
            if (openBlock != 0) {
                ShowMessage(
                    app,
                    Format("Block line command '%c%c' has conflict, can not continue.", openBlock, openBlock),
                    MsgTo::Box, Beep::Exclamation);
                return false;
            }
            jobs.push_back({rows[i], letter, false});
            continue;
        }
        if (openBlock == 0) {
            openBlock = letter;
            jobs.push_back({rows[i], letter, true});
        } else if (openBlock != letter) {
            ShowMessage(
                app,
                Format("Block line command '%c%c' has conflict, can not continue.", openBlock, openBlock),
                MsgTo::Box, Beep::Exclamation);
            return false;
        } else {
            jobs.push_back({rows[i], letter, true});
            openBlock = 0;
        }
    }
    if (openBlock != 0) {
        ShowMessage(
            app,
            Format("End of block for line command '%c%c' not found, can not continue.", openBlock, openBlock),
            MsgTo::Box, Beep::Exclamation);
        return false;
    }
    return true;
}

bool Confirm(AppSession& app, const std::string& question) {
    return Shell(app).ConfirmOkCancel(app, question);
}

// Opening rows for E and B: one directory alone, or files alone.
bool CheckOpenRules(AppSession& app, const std::vector<Job>& jobs) {
    int dirs = 0;
    int files = 0;
    for (const Job& job : jobs) {
        if (job.letter == 'E' || job.letter == 'B') {
            (job.entry->isDirectory ? dirs : files) += 1;
        }
    }
    if (dirs > 1) {
        ShowMessage(app, "Only allowed to open one sub-directory at a time.", MsgTo::Box, Beep::Exclamation);
        return false;
    }
    if (dirs == 1 && files > 0) {
        ShowMessage(app, "You can open a sub-directory or file, but not both.", MsgTo::Box,
                    Beep::Exclamation);
        return false;
    }
    return true;
}

// Runs the jobs: the copies of the full paths are taken first, since an operation may reload the
// list and so replace its entries.
void RunJobs(AppSession& app, FileListWindow& window, std::vector<Job>& jobs, bool blockDelete,
             std::string_view deleteQuestion) {
    if (!CheckOpenRules(app, jobs)) {
        return;
    }
    if (blockDelete && VarIsTrue(app, "ZFLIST.CONFIRMDELETE") && !Confirm(app, std::string(deleteQuestion))) {
        return;
    }
    struct Planned {
        std::string path;
        FileEntry copy;
        char letter;
    };
    std::vector<Planned> planned;
    for (const Job& job : jobs) {
        planned.push_back({EntryFullPath(*job.entry), *job.entry, job.letter});
    }
    for (Planned& job : planned) {
        // A directory asks its own, stronger question when it is deleted.
        if (job.letter == 'D' && !blockDelete && !job.copy.isDirectory &&
            VarIsTrue(app, "ZFLIST.CONFIRMDELETE") &&
            !Confirm(app, Format("OK to delete %s?", job.path.c_str()))) {
            continue;
        }
        (void)RunEntryLetter(app, window, job.copy, job.letter);
        if (CurrentFileList(app) != &window) {
            return;  // the operation opened another list or closed this one
        }
    }
    FinishListOperation(app, window);
}

}  // namespace

void ProcessFileListLineCommands(AppSession& app, FileListWindow& window) {
    std::vector<FileEntry*> rows = VisibleRows(window.list);
    std::vector<Job> jobs;
    bool ok = CollectJobs(app, rows, jobs);
    if (!ok) {
        return;  // the typed texts stay, so the user can correct them
    }
    for (FileEntry* row : rows) {
        row->pending.clear();
    }
    bool blockDelete = false;
    for (const Job& job : jobs) {
        blockDelete = blockDelete || (job.inBlock && job.letter == 'D');
    }
    RunJobs(app, window, jobs, blockDelete, "OK to delete all files in DD block?");
}

void ApplyPopupVerb(AppSession& app, FileListWindow& window, std::string_view verb) {
    std::vector<FileEntry*> chosen;
    for (FileEntry* row : VisibleRows(window.list)) {
        if (row->selected) {
            chosen.push_back(row);
        }
    }
    if (chosen.empty()) {
        ShowMessage(app, "You need to select one or more files before applying a popup menu verb.",
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    if (verb == "Exclude") {
        for (FileEntry* row : chosen) {
            row->excluded = true;
            row->selected = false;
        }
        RecountList(window.list);
        return;
    }
    char letter = verb == "UserCmd" ? 'U' : verb == "Info" ? 'I' : Upper(verb.empty() ? ' ' : verb.front());
    std::vector<Job> jobs;
    for (FileEntry* row : chosen) {
        jobs.push_back({row, letter, chosen.size() > 1});
    }
    RunJobs(app, window, jobs, letter == 'D' && chosen.size() > 1, "OK to delete all files in selection?");
}

void OpenSelectedEntries(AppSession& app, FileListWindow& window) {
    std::vector<FileEntry*> chosen;
    for (FileEntry* row : VisibleRows(window.list)) {
        if (row->selected) {
            chosen.push_back(row);
        }
    }
    int dirs = 0;
    for (const FileEntry* row : chosen) {
        dirs += row->isDirectory ? 1 : 0;
    }
    if (dirs > 1) {
        ShowMessage(app, "Not allowed to select more than one directory.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    char letter = VarIsTrue(app, "ZBROWSE") ? 'B' : 'E';
    std::vector<Job> jobs;
    for (FileEntry* row : chosen) {
        jobs.push_back({row, letter, false});
    }
    RunJobs(app, window, jobs, false, "");
}

int RunEntryLetter(AppSession& app, FileListWindow& window, const FileEntry& entry, char letter) {
    std::string path = EntryFullPath(entry);
    if (entry.isDirectory && (letter == 'E' || letter == 'B')) {
        // A directory opens as a new list of its own.
        VarSetValue(app, "ZFLIST.PATH.1", path);
        for (int i = 2; i <= 4; ++i) {
            VarSetValue(app, Format("ZFLIST.PATH.%d", i), "");
        }
        SendCommand(app, "FILELIST NEW");
        return 0;
    }
    if (entry.isDirectory && letter == 'P') {
        ShowMessage(app, "Print not available for directories.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    if (!window.projectName.empty() && !entry.isDirectory) {
        FileEntry probe;
        if (!StatEntry(path, probe)) {
            ShowMessage(app, Format("File %s does not currently exist", path.c_str()), MsgTo::Box,
                        Beep::Exclamation);
            return -1;
        }
    }
    if (letter == 'E' || letter == 'B') {
        // The file list stays below the session, so END comes back to it.
        if (Shell(app).OpenEditSession(app, path, letter == 'B' ? OpenMode::Browse : OpenMode::Edit) != 0) {
            return -1;
        }
        window.SetEntryAction(path, letter == 'B' ? EntryAction::Browsed : EntryAction::Edited);
        return 0;
    }
    return RunEntryOperation(app, &window, path, letter);
}

void FinishListOperation(AppSession& app, FileListWindow& window) {
    if (window.list.reloadNeeded && !window.list.locked) {
        ReloadFileList(app, window);
    }
}

}  // namespace tavoe
