#include "filelist/file_list_session.h"

#include <algorithm>
#include <map>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_sort.h"
#include "filelist/projects.h"
#include "platform/format.h"

namespace tavoe {

void FileListSetDeleter::operator()(FileListSet* set) const {
    delete set;
}

namespace {

std::string ProgressText(const char* word, size_t count) {
    return Format("DirList%s: %zu", word, count);
}

// Shows the count as the status text every 100 entries and takes Escape as the request to stop.
class StatusProgress : public LoadProgress {
public:
    explicit StatusProgress(AppSession& app) : app_(app) {}
    ~StatusProgress() override { Storage(app_).ShowLoadStatus(""); }
    StatusProgress(const StatusProgress&) = delete;
    StatusProgress& operator=(const StatusProgress&) = delete;

    void Loaded(size_t count) override { Storage(app_).ShowLoadStatus(ProgressText("Load", count)); }
    bool StopRequested() override { return Storage(app_).EscapePressed(); }

private:
    AppSession& app_;
};

long SettingNumber(AppSession& app, std::string_view name, long fallback) {
    std::string text = VarGetValue(app, name);
    if (text.empty()) {
        return fallback;
    }
    return VarGetNumber(app, name);
}

bool SettingOn(AppSession& app, std::string_view name, bool fallback) {
    std::string text = VarGetValue(app, name);
    return text.empty() ? fallback : text == "TRUE";
}

LoadOptions OptionsFromSettings(AppSession& app) {
    LoadOptions options;
    options.mask = VarGetValue(app, "ZFLIST.TYPE");
    if (options.mask.empty()) {
        options.mask = VarGetValue(app, "ZFLIST.DIRMASK");
    }
    if (options.mask.empty()) {
        options.mask = "*";
    }
    options.recursive = VarIsTrue(app, "ZFLIST.RECURS");
    options.showDirs = SettingOn(app, "ZFLIST.SHOW.DIRS", true);
    options.showFiles = SettingOn(app, "ZFLIST.SHOW.FILES", true);
    options.showHidden = VarIsTrue(app, "ZFLIST.SHOW.HIDDEN");
    options.showSystem = VarIsTrue(app, "ZFLIST.SHOW.SYSTEM");
    options.extSeparate = SettingOn(app, "ZFLIST.EXTSEPARATE", true);
    options.maxEntries = VarGetNumber(app, "ZFLIST.MAXENTRIES");
    return options;
}

}  // namespace

void SortShowingProgress(AppSession& app, FileListWindow& window, const SortRequest& request) {
    bool shown = false;
    SortFileList(window.list, request, [&app, &shown](size_t count) {
        Storage(app).ShowLoadStatus(ProgressText("Sort", count));
        shown = true;
    });
    if (shown) {
        Storage(app).ShowLoadStatus("");
    }
}

void FileListWindow::SetEntryAction(std::string_view path, EntryAction action, int count) {
    if (FileEntry* entry = Find(path)) {
        entry->action = action;
        entry->count = count;
        // The entry's size and date may have changed with what was done to it.
        (void)StatEntry(std::string(path), *entry);
        RecountList(list);
        list.redrawNeeded = true;
    }
}

void FileListWindow::RemoveEntry(std::string_view path) {
    for (std::vector<FileEntry>* part : {&list.dirs, &list.files}) {
        auto it = std::find_if(part->begin(), part->end(),
                               [path](const FileEntry& e) { return EntryFullPath(e) == path; });
        if (it != part->end()) {
            part->erase(it);
            RecountList(list);
            list.redrawNeeded = true;
            return;
        }
    }
}

FileEntry* FileListWindow::Find(std::string_view path) {
    for (std::vector<FileEntry>* part : {&list.dirs, &list.files}) {
        for (FileEntry& entry : *part) {
            if (entry.path.size() + entry.name.size() == path.size() && EntryFullPath(entry) == path) {
                return &entry;
            }
        }
    }
    return nullptr;
}

FileListSet& FileLists(AppSession& app) {
    if (!app.fileLists) {
        app.fileLists.reset(new FileListSet());
    }
    return *app.fileLists;
}

FileListWindow* CurrentFileList(AppSession& app) {
    if (!app.fileLists || app.fileLists->windows.empty()) {
        return nullptr;
    }
    return app.fileLists->windows.back().get();
}

FileListWindow& PushFileListWindow(AppSession& app, std::string_view name) {
    FileListSet& set = FileLists(app);
    set.windows.push_back(std::make_unique<FileListWindow>(app));
    PushContext(app, ContextKind::FileList, name);
    return *set.windows.back();
}

void CloseTopFileList(AppSession& app) {
    if (TopContextKind(app) != ContextKind::FileList || CurrentFileList(app) == nullptr) {
        return;
    }
    FileListWindow& window = *CurrentFileList(app);
    if (!window.projectName.empty()) {
        CloseProject(app, window);
    }
    app.fileLists->windows.pop_back();
    Shell(app).ShowTopContext(app);
}

void ForgetFileLists(AppSession& app) {
    if (!app.fileLists) {
        return;
    }
    // An open project keeps its members: the file is written as the list goes.
    for (auto& window : app.fileLists->windows) {
        if (!window->projectName.empty()) {
            CloseProject(app, *window);
        }
    }
    app.fileLists->windows.clear();
}

RowLayout LayoutFromSettings(AppSession& app, bool recursive) {
    RowLayout layout;
    layout.nameWidth = static_cast<int>(std::clamp(SettingNumber(app, "ZFLIST.MAXWIDTHNAME", 30), 8L, 255L));
    layout.extWidth = static_cast<int>(std::clamp(SettingNumber(app, "ZFLIST.MAXWIDTHEXT", 6), 3L, 64L));
    layout.extSeparate = SettingOn(app, "ZFLIST.EXTSEPARATE", true);
    layout.showSize = SettingOn(app, "ZFLIST.INCLUDE.SIZE", true);
    layout.showDate = SettingOn(app, "ZFLIST.INCLUDE.DATE", true);
    layout.showAttr = SettingOn(app, "ZFLIST.INCLUDE.ATTR", true);
    layout.showAction = SettingOn(app, "ZFLIST.INCLUDE.ACTION", true);
    layout.showPath = recursive;
    layout.dateForm = VarGetValue(app, "ZFLIST.FORMAT.DATE");
    return layout;
}

void ReloadFileList(AppSession& app, FileListWindow& window) {
    // What was done to the entries stays with them across the reload an operation asked for.
    std::map<std::string, std::pair<EntryAction, int>> actions;
    for (const std::vector<FileEntry>* part : {&window.list.dirs, &window.list.files}) {
        for (const FileEntry& entry : *part) {
            if (entry.action != EntryAction::None) {
                actions[EntryFullPath(entry)] = {entry.action, entry.count};
            }
        }
    }
    if (!window.projectName.empty()) {
        LoadProjectRows(app, window);
    } else {
        LoadOptions options = OptionsFromSettings(app);
        StatusProgress progress(app);
        LoadFileList(app, window.list, options, &progress);
    }
    for (std::vector<FileEntry>* part : {&window.list.dirs, &window.list.files}) {
        for (FileEntry& entry : *part) {
            if (auto it = actions.find(EntryFullPath(entry)); it != actions.end()) {
                entry.action = it->second.first;
                entry.count = it->second.second;
            }
        }
    }
    window.layout = LayoutFromSettings(app, window.list.recursive);
    SortRequest request;
    std::string error;
    if (!ParseSortParams(VarGetValue(app, "ZFLIST.SORT"), request, error)) {
        ShowMessage(app, error, MsgTo::Box, Beep::Exclamation);
        request = SortRequest{};
    }
    SortShowingProgress(app, window, request);
    window.list.reloadNeeded = false;
    window.list.redrawNeeded = true;
    int rows = static_cast<int>(VisibleRows(window.list).size());
    window.cursorRow = std::clamp(window.cursorRow, 0, std::max(rows - 1, 0));
    window.topRow = std::clamp(window.topRow, 0, std::max(rows - 1, 0));
}

}  // namespace tavoe
