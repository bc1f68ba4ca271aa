#include "filelist/file_list_search.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/message.h"
#include "core/shared_block.h"
#include "core/shell_port.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_session.h"
#include "filelist/file_ops.h"
#include "filelist/file_ops_common.h"
#include "platform/format.h"
#include "ui/progress_window.h"

namespace tavoe {

namespace {

enum class RunKind { Find, Change, Search };

bool Quoted(std::string_view text) {
    return text.size() >= 2 && (text.front() == '\'' || text.front() == '"') && text.back() == text.front();
}

// Shows the path of the file being searched while the run goes and takes Escape as the request to
// stop after the current file. The window is painted again at most every 100 ms: painting it for
// each of thousands of small files would cost more than searching them.
class RunProgress {
public:
    RunProgress(AppSession& app, std::string_view title) : app_(app) {
        if (app.screen != nullptr) {
            window_ = std::make_unique<ui::ProgressWindow>(*app.screen, std::string(title), std::string());
        }
    }
    ~RunProgress() { Storage(app_).ShowLoadStatus(""); }
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    void File(const std::string& path, size_t done, size_t total) {
        if (!window_) {
            return;
        }
        auto now = std::chrono::steady_clock::now();
        if (painted_ && now - lastPaint_ < std::chrono::milliseconds(100)) {
            return;
        }
        painted_ = true;
        lastPaint_ = now;
        window_->Update(total == 0 ? 100 : static_cast<int>(done * 100 / total), path);
    }
    bool Stop() { return (window_ && window_->CancelRequested()) || Storage(app_).EscapePressed(); }

private:
    AppSession& app_;
    std::unique_ptr<ui::ProgressWindow> window_;
    bool painted_ = false;
    std::chrono::steady_clock::time_point lastPaint_;
};

void RunOverList(AppSession& app, std::string_view params, RunKind kind) {
    FileListWindow* window = CurrentFileList(app);
    if (window == nullptr) {
        return;
    }
    if (std::string(CommandTrim(params)).empty()) {
        const char* text =
            kind == RunKind::Change ? "CHANGE requires at least two parameters:  P1=...find-string...  "
                                      "P2=...change-to-string..."
            : kind == RunKind::Find ? "FIND requires at least one parameter:  P1=...find-string..."
                                    : "SEARCH requires one parameter:  P1=...search-string...";
        ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
        return;
    }
    if (kind == RunKind::Change && !AskYesNo(app, "Change ALL occurences in ALL files in File List?")) {
        return;
    }
    std::vector<std::string> texts = SearchTexts(app, params);
    if (texts.empty()) {
        ShowMessage(app, "No search texts in the multiple file list variables.", MsgTo::Box,
                    Beep::Exclamation);
        return;
    }
    SharedBlock(app).SetSearchText(texts.front());
    FileList& list = window->list;
    for (FileEntry& entry : list.dirs) {
        entry.excluded = true;
    }
    for (FileEntry& entry : list.files) {
        entry.count = 0;
    }
    std::string promptOnExit = VarGetValue(app, "ZPROMPTONEXIT");
    if (kind == RunKind::Change) {
        VarSetValue(app, "ZPROMPTONEXIT", "FALSE");
    }
    const char* title = kind == RunKind::Change ? "File List Change"
                        : kind == RunKind::Find ? "File List Find"
                                                : "File List Search";
    bool anyHit = false;
    {
        RunProgress progress(app, title);
        SearchProfileCache profiles;
        size_t total = list.files.size();
        for (size_t i = 0; i < list.files.size(); ++i) {
            FileEntry& entry = list.files[i];
            if (entry.excluded) {
                continue;
            }
            std::string path = EntryFullPath(entry);
            progress.File(path, i, total);
            int hits = 0;
            for (const std::string& text : texts) {
                int got = kind == RunKind::Change ? ChangeInFile(app, path, text)
                          : kind == RunKind::Find ? FindInFile(app, path, text)
                                                  : SearchFileBytes(app, path, text, &profiles);
                hits += std::max(got, 0);
                if (kind == RunKind::Search && got > 0) {
                    break;
                }
            }
            if (hits == 0) {
                entry.excluded = true;
            } else {
                anyHit = true;
                entry.count = kind == RunKind::Search ? 0 : hits;
                entry.action = kind == RunKind::Change ? EntryAction::Changed
                               : kind == RunKind::Find ? EntryAction::Found
                                                       : EntryAction::SearchHit;
                if (kind == RunKind::Change) {
                    (void)StatEntry(path, entry);  // the saved file's new size and date
                }
            }
            if (progress.Stop()) {
                break;
            }
        }
    }
    if (kind == RunKind::Change) {
        VarSetValue(app, "ZPROMPTONEXIT", promptOnExit);
    }
    RecountList(list);
    window->topRow = window->cursorRow = 0;
    list.redrawNeeded = true;
    if (!anyHit) {
        ShowMessage(app, NotFoundMessage(texts), MsgTo::Box, Beep::Information);
    }
}

}  // namespace

std::vector<std::string> SearchTexts(AppSession& app, std::string_view params) {
    std::string text = std::string(CommandTrim(params));
    if (text != "USE_ZMULT_VARS") {
        return {text};
    }
    std::vector<std::string> texts;
    for (int i = 1; i <= 4; ++i) {
        std::string value = VarGetValue(app, Format("ZMULT.TEXT.%d", i));
        if (!value.empty()) {
            texts.push_back(value);
        }
    }
    return texts;
}

std::string NotFoundMessage(const std::vector<std::string>& texts) {
    std::string out = texts.size() > 1 ? "Strings " : "String ";
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            out += ", ";
        }
        out += Quoted(texts[i]) ? texts[i] : "'" + texts[i] + "'";
    }
    return out + " not found in any files in this list.";
}

void FileListFind(AppSession& app, std::string_view params) {
    RunOverList(app, params, RunKind::Find);
}

void FileListChange(AppSession& app, std::string_view params) {
    RunOverList(app, params, RunKind::Change);
}

void FileListSearch(AppSession& app, std::string_view params) {
    RunOverList(app, params, RunKind::Search);
}

}  // namespace tavoe
