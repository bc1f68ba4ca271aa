#include "ui/file_chooser.h"

#include <strings.h>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/input_field.h"
#include "ui/list_box.h"
#include "ui/message_box.h"
#include "ui/screen.h"
#include "ui/static_text.h"

namespace tavoe {

namespace fs = std::filesystem;

namespace ui {
namespace {

bool MatchOne(std::string_view name, std::string_view pattern) {
    // Iterative wildcard match with one backtrack point for the last "*".
    size_t n = 0;
    size_t p = 0;
    size_t star = std::string_view::npos;
    size_t mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || std::tolower(static_cast<unsigned char>(pattern[p])) ==
                                      std::tolower(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

struct Entry {
    std::string name;
    bool isDir = false;
};

class Chooser {
public:
    Chooser(Screen& screen, const FileChooserOptions& options) : screen_(screen), options_(options) {
        filters_ = options.filters;
        if (filters_.empty()) {
            filters_.push_back(FileFilter{"All files (*.*)", "*"});
        }
        filterIndex_ = std::clamp(options.filterIndex, 0, static_cast<int>(filters_.size()) - 1);
        pattern_ = filters_[filterIndex_].patterns;
    }

    FileChooserResult Run() {
        const Canvas& canvas = screen_.GetCanvas();
        int cols = std::clamp(canvas.Cols() - 4, 30, 72);
        int rows = std::clamp(canvas.Rows() - 4, 10, 22);
        Form form(options_.title, rows, cols);
        form_ = &form;
        where_ = &form.Add<StaticText>(Rect{0, 0, 1, cols}, "", TextPrefix::Literal);
        form.Add<StaticText>(Rect{1, 0, 1, 10}, "File name:", TextPrefix::Literal);
        name_ = &form.Add<InputField>(Rect{1, 11, 1, cols - 11});
        name_->maxLength = 4096;
        form.Add<StaticText>(Rect{2, 0, 1, 10}, "Type:", TextPrefix::Literal);
        type_ = &form.Add<ComboBox>(Rect{2, 11, 1, cols - 11}, ComboKind::Fixed);
        std::vector<std::string> labels;
        for (const FileFilter& f : filters_) {
            labels.push_back(f.label);
        }
        type_->SetItems(labels);
        type_->SetSelected(filterIndex_);
        type_->onSelectionChange = [this](ComboBox& combo) {
            filterIndex_ = combo.Selected();
            pattern_ = filters_[filterIndex_].patterns;
            Refresh();
        };
        list_ = &form.Add<ListBox>(Rect{3, 0, rows - 5, cols});
        list_->scrollBar = true;
        list_->selectMode = options_.multiple ? SelectMode::Extended : SelectMode::Single;
        list_->onSelectionChange = [this](ListBox&) { NameFromSelection(); };
        list_->onDoubleClick = [this](ListBox&, int index) {
            if (index >= 0 && index < static_cast<int>(entries_.size()) && entries_[index].isDir) {
                Open(entries_[index].name);
            } else {
                Accept();
            }
        };
        Button& ok = form.Add<Button>(Rect{rows - 1, cols - 24, 1, 10}, "OK");
        ok.isDefault = true;
        ok.onPush = [this](Button&) { Accept(); };
        form.defaultButton = &ok;
        Button& cancel = form.Add<Button>(Rect{rows - 1, cols - 12, 1, 10}, "Cancel");
        cancel.onPush = [&form](Button&) { form.End(Form::kCancelled); };
        form.unhandledKey = [this](const KeyEvent& key) {
            if (key.Is(Key::Backspace) && form_->Focused() == list_) {
                Open("..");
                return Handled::Yes;
            }
            return Handled::No;
        };

        std::error_code ec;
        fs::path start = options_.directory.empty() ? fs::current_path(ec) : fs::path(options_.directory);
        if (!Navigate(start)) {
            Navigate(fs::current_path(ec));
        }
        name_->SetText(options_.fileName);
        form.SetFocus(name_, FocusReason::Initial);
        result_.filterIndex = filterIndex_;
        if (screen_.RunModal(form) != 0) {
            return FileChooserResult{};
        }
        result_.ok = true;
        result_.filterIndex = filterIndex_;
        return result_;
    }

private:
    bool Navigate(const fs::path& target) {
        std::error_code ec;
        fs::path dir = fs::weakly_canonical(fs::absolute(target, ec), ec);
        if (ec || !fs::is_directory(dir, ec)) {
            return false;
        }
        fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
        if (ec) {
            ShowMessageBox(screen_, MessageBoxSpec{dir.string() + "\nThe directory cannot be read.", "Tavo/E",
                                                   MsgBoxButtons::Ok, MsgBoxIcon::Exclamation, 0});
            return false;
        }
        dir_ = dir;
        Refresh();
        return true;
    }

    void Refresh() {
        std::vector<Entry> dirs;
        std::vector<Entry> files;
        std::error_code ec;
        for (fs::directory_iterator it(dir_, fs::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            if (name.empty() || (name[0] == '.' && !options_.showHidden)) {
                continue;
            }
            std::error_code typeEc;
            if (it->is_directory(typeEc)) {
                dirs.push_back(Entry{name, true});
            } else if (MatchesPatterns(name, pattern_)) {
                files.push_back(Entry{name, false});
            }
        }
        auto byName = [](const Entry& a, const Entry& b) {
            return strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
        };
        std::sort(dirs.begin(), dirs.end(), byName);
        std::sort(files.begin(), files.end(), byName);
        entries_.clear();
        if (dir_.has_parent_path() && dir_ != dir_.root_path()) {
            entries_.push_back(Entry{"..", true});
        }
        entries_.insert(entries_.end(), dirs.begin(), dirs.end());
        entries_.insert(entries_.end(), files.begin(), files.end());
        std::vector<std::string> items;
        for (const Entry& e : entries_) {
            items.push_back(e.isDir ? e.name + "/" : e.name);
        }
        list_->SetItems(std::move(items));
        std::string shown = "Look in: " + dir_.string();
        int width = where_->rect.cols;
        if (static_cast<int>(shown.size()) > width && width > 12) {
            shown = "Look in: ..." + dir_.string().substr(dir_.string().size() - (width - 12));
        }
        where_->text = shown;
    }

    void Open(const std::string& name) {
        if (Navigate(dir_ / name)) {
            name_->SetText("");
        }
    }

    std::vector<int> SelectedFiles() const {
        std::vector<int> out;
        for (int i : list_->SelectedIndexes()) {
            if (!entries_[i].isDir) {
                out.push_back(i);
            }
        }
        return out;
    }

    void NameFromSelection() {
        std::vector<int> files = SelectedFiles();
        if (files.empty()) {
            return;
        }
        std::string text;
        if (files.size() == 1) {
            text = entries_[files[0]].name;
        } else {
            for (int i : files) {
                text += (text.empty() ? "\"" : " \"") + entries_[i].name + "\"";
            }
        }
        name_->SetText(text);
        autoName_ = text;
    }

    void Finish(std::vector<std::string> names) {
        result_.directory = dir_.string();
        result_.names = std::move(names);
        form_->End(0);
    }

    void Accept() {
        int caret = list_->Caret();
        if (form_->Focused() == list_ && caret >= 0 && caret < static_cast<int>(entries_.size()) &&
            entries_[caret].isDir) {
            Open(entries_[caret].name);
            return;
        }
        std::string name = name_->Text();
        while (!name.empty() && name.front() == ' ') {
            name.erase(0, 1);
        }
        while (!name.empty() && name.back() == ' ') {
            name.pop_back();
        }
        std::vector<int> files = SelectedFiles();
        if ((name.empty() || (options_.multiple && name == autoName_)) && !files.empty()) {
            std::vector<std::string> names;
            for (int i : files) {
                names.push_back(entries_[i].name);
            }
            Finish(std::move(names));
            return;
        }
        if (name.empty()) {
            return;
        }
        if (name == "~" || name.rfind("~/", 0) == 0) {
            const char* home = std::getenv("HOME");
            name = std::string(home != nullptr ? home : "") + name.substr(1);
        }
        fs::path path = fs::path(name).is_absolute() ? fs::path(name) : dir_ / name;
        if (name.find_first_of("*?") != std::string::npos) {
            fs::path parent = path.parent_path();
            if (parent != dir_ && !Navigate(parent)) {
                return;
            }
            pattern_ = path.filename().string();
            Refresh();
            name_->SetText("");
            return;
        }
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            Open(path.string());
            return;
        }
        if (!fs::is_directory(path.parent_path(), ec)) {
            ShowMessageBox(screen_,
                           MessageBoxSpec{path.parent_path().string() + "\nThe directory does not exist.",
                                          "Tavo/E", MsgBoxButtons::Ok, MsgBoxIcon::Exclamation, 0});
            return;
        }
        if (options_.mode == FileChooserMode::Open && !fs::exists(path, ec)) {
            ShowMessageBox(screen_, MessageBoxSpec{path.string() + "\nFile not found.", "Tavo/E",
                                                   MsgBoxButtons::Ok, MsgBoxIcon::Exclamation, 0});
            return;
        }
        dir_ = fs::weakly_canonical(path.parent_path(), ec);
        Finish({path.filename().string()});
    }

    Screen& screen_;
    const FileChooserOptions& options_;
    std::vector<FileFilter> filters_;
    int filterIndex_ = 0;
    std::string pattern_;
    fs::path dir_;
    std::vector<Entry> entries_;
    std::string autoName_;
    Form* form_ = nullptr;
    StaticText* where_ = nullptr;
    InputField* name_ = nullptr;
    ComboBox* type_ = nullptr;
    ListBox* list_ = nullptr;
    FileChooserResult result_;
};

}  // namespace

FileChooserResult RunFileChooser(Screen& screen, const FileChooserOptions& options) {
    Chooser chooser(screen, options);
    return chooser.Run();
}

std::string FileChooserResult::Path(size_t i) const {
    if (i >= names.size()) {
        return std::string();
    }
    return directory == "/" ? "/" + names[i] : directory + "/" + names[i];
}

bool MatchesPatterns(std::string_view name, std::string_view patterns) {
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        std::string_view pattern = patterns.substr(start, end == std::string_view::npos ? end : end - start);
        while (!pattern.empty() && pattern.front() == ' ') {
            pattern.remove_prefix(1);
        }
        while (!pattern.empty() && pattern.back() == ' ') {
            pattern.remove_suffix(1);
        }
        if (pattern == "*.*" || (!pattern.empty() && MatchOne(name, pattern))) {
            return true;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace ui

}  // namespace tavoe
