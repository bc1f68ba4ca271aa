#include "filelist/file_list_dialogs.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/command_line.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "filelist/file_list_session.h"
#include "filelist/projects.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr int kFilterSlots = 16;

// Lists one path (with a mask) in a new file list once the dialog has gone.
void ListPaths(AppSession& app, const std::vector<std::string>& paths, std::string_view mask) {
    for (int i = 0; i < 4; ++i) {
        VarSetValue(app, Format("ZFLIST.PATH.%d", i + 1), i < static_cast<int>(paths.size()) ? paths[i] : "");
    }
    VarSetValue(app, "ZFLIST.TYPE", mask.empty() ? std::string_view("*") : mask);
    LeaveDialog(app);
    PostCommand(app, "FILELIST NEW");
}

// A directory typed in a dialog: a relative one is taken from the current directory, as OPEN does.
std::string TypedDirectory(AppSession& app, std::string_view field) {
    std::string path = std::string(CommandTrim(VarGetValue(app, field)));
    if (!path.empty() && path.front() != '/') {
        path = std::filesystem::absolute(path).lexically_normal().string();
    }
    return path;
}

// ---- FLSTOPEN: one directory, its mask, recursion ------------------------------------------------

void FlstOpenDialog(AppSession& app) {
    VarSetValue(app, "FlstOpen.Path", VarGetValue(app, "ZFLIST.PATH.1"));
    std::string mask = VarGetValue(app, "ZFLIST.TYPE");
    VarSetValue(app, "FlstOpen.Mask", mask.empty() ? VarGetValue(app, "ZFLIST.DIRMASK") : mask);
    VarSetValue(app, "FlstOpen.Recurs", VarIsTrue(app, "ZFLIST.RECURS") ? "TRUE" : "FALSE");
    RunOptionDialog(app, "FLSTOPEN", [&app] {
        std::string path = TypedDirectory(app, "FlstOpen.Path");
        if (path.empty()) {
            ShowMessage(app, "Path must be in form: /...", MsgTo::Box, Beep::Exclamation);
            ShowDialogAgain(app, "FLSTOPEN");
            return;
        }
        SetBoolSetting(app, "ZFLIST.RECURS", "FlstOpen.Recurs");
        ListPaths(app, {path}, std::string(CommandTrim(VarGetValue(app, "FlstOpen.Mask"))));
    });
}

// ---- MULTOPEN: up to four paths, and FIND or SEARCH texts for the files listed --------------------

void MultOpenDialog(AppSession& app) {
    for (int i = 1; i <= 4; ++i) {
        VarSetValue(app, Format("MultOpen.Path%d", i), VarGetValue(app, Format("ZFLIST.PATH.%d", i)));
        VarSetValue(app, Format("MultOpen.Text%d", i), VarGetValue(app, Format("ZMULT.TEXT.%d", i)));
    }
    std::string mask = VarGetValue(app, "ZFLIST.TYPE");
    VarSetValue(app, "MultOpen.Mask", mask.empty() ? std::string("*") : mask);
    RunOptionDialog(app, "MULTOPEN", [&app] {
        std::string reply = DialogReply(app, "", "MultOpen");
        std::vector<std::string> paths;
        for (int i = 1; i <= 4; ++i) {
            paths.push_back(TypedDirectory(app, Format("MultOpen.Path%d", i)));
            VarSetValue(app, Format("ZMULT.TEXT.%d", i), VarGetValue(app, Format("MultOpen.Text%d", i)));
        }
        if (std::all_of(paths.begin(), paths.end(), [](const std::string& p) { return p.empty(); })) {
            ShowMessage(app, "Path must be in form: /...", MsgTo::Box, Beep::Exclamation);
            ShowDialogAgain(app, "MULTOPEN");
            return;
        }
        ListPaths(app, paths, std::string(CommandTrim(VarGetValue(app, "MultOpen.Mask"))));
        if (reply == "FIND" || reply == "SEARCH") {
            PostCommand(app, "PCMDFILELIST " + reply + " USE_ZMULT_VARS");
        }
    });
}

// ---- FLISTOPT: what is listed and how ------------------------------------------------------------

struct BoolOption {
    const char* setting;
    const char* field;
};

constexpr BoolOption kBoolOptions[] = {
    {"ZFLIST.SHOW.DIRS", "FlistOpt.ShowDirs"},          {"ZFLIST.SHOW.FILES", "FlistOpt.ShowFiles"},
    {"ZFLIST.SHOW.HIDDEN", "FlistOpt.ShowHidden"},      {"ZFLIST.EXTSEPARATE", "FlistOpt.ExtSeparate"},
    {"ZFLIST.INCLUDE.SIZE", "FlistOpt.InclSize"},       {"ZFLIST.INCLUDE.DATE", "FlistOpt.InclDate"},
    {"ZFLIST.INCLUDE.ATTR", "FlistOpt.InclAttr"},       {"ZFLIST.INCLUDE.ACTION", "FlistOpt.InclAction"},
    {"ZFLIST.CONFIRMDELETE", "FlistOpt.ConfirmDelete"},
};

constexpr const char* kDateForms[] = {"USA", "EUR", "ISO", "JIS"};

bool ReadNumber(AppSession& app, const char* field, long low, long high, long& value, const char* what) {
    std::string text = std::string(CommandTrim(VarGetValue(app, field)));
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stol(text) < low || std::stol(text) > high) {
        ShowMessage(app, Format("%s must be a number from %ld to %ld.", what, low, high), MsgTo::Box,
                    Beep::Exclamation);
        return false;
    }
    value = std::stol(text);
    return true;
}

void ApplyFlistOpt(AppSession& app) {
    long maxEntries = 0;
    long nameWidth = 0;
    long extWidth = 0;
    if (!ReadNumber(app, "FlistOpt.MaxEntries", 1, 9999999, maxEntries, "Maximum entries") ||
        !ReadNumber(app, "FlistOpt.NameWidth", 8, 255, nameWidth, "Name width") ||
        !ReadNumber(app, "FlistOpt.ExtWidth", 3, 64, extWidth, "Extension width")) {
        ShowDialogAgain(app, "FLISTOPT");
        return;
    }
    std::string sort = std::string(CommandTrim(VarGetValue(app, "FlistOpt.Sort")));
    VarSetNumber(app, "ZFLIST.MAXENTRIES", maxEntries);
    VarSetNumber(app, "ZFLIST.MAXWIDTHNAME", nameWidth);
    VarSetNumber(app, "ZFLIST.MAXWIDTHEXT", extWidth);
    long form = VarGetNumber(app, "FlistOpt.DateForm.Select");
    if (form >= 1 && form <= 4) {
        VarSetValue(app, "ZFLIST.FORMAT.DATE", kDateForms[form - 1]);
    }
    if (!sort.empty()) {
        VarSetValue(app, "ZFLIST.SORT", sort);
    }
    for (const char* name : {"ZFLIST.MAXENTRIES", "ZFLIST.MAXWIDTHNAME", "ZFLIST.MAXWIDTHEXT",
                             "ZFLIST.FORMAT.DATE", "ZFLIST.SORT"}) {
        KeepSetting(app, name);
    }
    for (const BoolOption& option : kBoolOptions) {
        SetBoolSetting(app, option.setting, option.field);
        KeepSetting(app, option.setting);
    }
    LeaveDialog(app);
    if (CurrentFileList(app) != nullptr) {
        PostCommand(app, "PCMDFILELIST REFRESH");
    }
}

void FlistOptDialog(AppSession& app) {
    VarSetValue(app, "FlistOpt.MaxEntries", VarGetValue(app, "ZFLIST.MAXENTRIES"));
    VarSetValue(app, "FlistOpt.NameWidth", VarGetValue(app, "ZFLIST.MAXWIDTHNAME"));
    VarSetValue(app, "FlistOpt.ExtWidth", VarGetValue(app, "ZFLIST.MAXWIDTHEXT"));
    VarSetValue(app, "FlistOpt.Sort", VarGetValue(app, "ZFLIST.SORT"));
    std::string form = VarGetValue(app, "ZFLIST.FORMAT.DATE");
    WriteDialogArray(app, "FlistOpt.DateForm", {"USA", "EUR", "ISO", "JIS"});
    long select = 1;
    for (long i = 0; i < 4; ++i) {
        if (form == kDateForms[i]) {
            select = i + 1;
        }
    }
    VarSetNumber(app, "FlistOpt.DateForm.Select", select);
    for (const BoolOption& option : kBoolOptions) {
        VarSetValue(app, option.field, VarIsTrue(app, option.setting) ? "TRUE" : "FALSE");
    }
    RunOptionDialog(app, "FLISTOPT", [&app] { ApplyFlistOpt(app); });
}

// ---- DRIVLIST: the mounted file systems -----------------------------------------------------------

std::string Unescape(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        bool octal = field[i] == '\\' && i + 3 < field.size();
        for (size_t k = 1; octal && k <= 3; ++k) {
            octal = field[i + k] >= '0' && field[i + k] <= '7';
        }
        if (octal) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

void DrivListDialog(AppSession& app) {
    std::string mounts;
    std::ifstream in("/proc/self/mounts");
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        mounts = text.str();
    }
    const char* home = std::getenv("HOME");
    std::vector<std::string> places = DrivePlaces(mounts, home != nullptr ? home : "");
    WriteDialogArray(app, "DrivList.List", places);
    VarSetNumber(app, "DrivList.List.Top", 0);
    RunOptionDialog(app, "DRIVLIST", [&app, places] {
        std::string chosen = VarGetValue(app, "DrivList.List.Reply.1");
        if (VarGetNumber(app, "DrivList.List.Reply.0") < 1) {
            chosen = places.empty() ? std::string("/") : places.front();
        }
        ListPaths(app, {chosen}, VarGetValue(app, "ZFLIST.DIRMASK"));
    });
}

// ---- FILTERS and FILTERS2: the file-type filters ---------------------------------------------------

void StoreFilters(AppSession& app, const std::vector<std::string>& filters) {
    for (int i = 1; i <= kFilterSlots; ++i) {
        std::string name = Format("ZFILTERS.%d", i);
        VarSetValue(app, name,
                    i <= static_cast<int>(filters.size()) ? filters[static_cast<size_t>(i - 1)] : "");
        KeepSetting(app, name);
    }
}

// The index (1-based) of the filter chosen in the list, or 0.
int ChosenFilter(AppSession& app, const std::vector<std::string>& filters) {
    if (VarGetNumber(app, "Filters.List.Reply.0") < 1) {
        return 0;
    }
    std::string chosen = VarGetValue(app, "Filters.List.Reply.1");
    auto it = std::find(filters.begin(), filters.end(), chosen);
    return it == filters.end() ? 0 : static_cast<int>(it - filters.begin()) + 1;
}

void ApplyFilters(AppSession& app) {
    std::vector<std::string> filters = FileTypeFilters(app);
    std::string reply = DialogReply(app, "", "Filters");
    int chosen = ChosenFilter(app, filters);
    if (reply == "NEW") {
        if (filters.size() >= static_cast<size_t>(kFilterSlots)) {
            ShowMessage(app, "All 16 filters are in use, delete one first.", MsgTo::Box, Beep::Exclamation);
            ShowDialogAgain(app, "FILTERS");
            return;
        }
        VarSetNumber(app, "Filters2.Index", 0);
        VarSetValue(app, "Filters2.Desc", "");
        VarSetValue(app, "Filters2.Mask", "");
        PopContext(app);
        PostCommand(app, "DIALOG FILTERS2");
        return;
    }
    if (chosen == 0) {
        ShowMessage(app, "Select a filter first.", MsgTo::Box, Beep::Information);
        ShowDialogAgain(app, "FILTERS");
        return;
    }
    std::string description;
    std::string patterns;
    SplitFilter(filters[static_cast<size_t>(chosen - 1)], description, patterns);
    if (reply == "EDIT") {
        VarSetNumber(app, "Filters2.Index", chosen);
        VarSetValue(app, "Filters2.Desc", description);
        VarSetValue(app, "Filters2.Mask", patterns);
        PopContext(app);
        PostCommand(app, "DIALOG FILTERS2");
        return;
    }
    if (reply == "DELETE") {
        filters.erase(filters.begin() + (chosen - 1));
        StoreFilters(app, filters);
        ShowDialogAgain(app, "FILTERS");
        return;
    }
    // Use: the filter's patterns become the mask of the lists to come and of the one shown.
    VarSetNumber(app, "ZFILTERS.LASTINDEX", chosen);
    KeepSetting(app, "ZFILTERS.LASTINDEX");
    VarSetValue(app, "ZFLIST.TYPE", patterns);
    LeaveDialog(app);
    if (CurrentFileList(app) != nullptr) {
        PostCommand(app, "PCMDFILELIST REFRESH");
    }
}

void FiltersDialog(AppSession& app) {
    std::vector<std::string> filters = FileTypeFilters(app);
    WriteDialogArray(app, "Filters.List", filters);
    VarSetNumber(app, "Filters.List.Top", 0);
    RunOptionDialog(app, "FILTERS", [&app] { ApplyFilters(app); });
}

void Filters2Dialog(AppSession& app) {
    RunOptionDialog(app, "FILTERS2", [&app] {
        std::string description = std::string(CommandTrim(VarGetValue(app, "Filters2.Desc")));
        std::string patterns = std::string(CommandTrim(VarGetValue(app, "Filters2.Mask")));
        if (description.empty() || patterns.empty() || patterns.find(' ') != std::string::npos) {
            ShowMessage(app, "A filter needs a description and a file mask without blanks (*.c;*.h).",
                        MsgTo::Box, Beep::Exclamation);
            ShowDialogAgain(app, "FILTERS2");
            return;
        }
        std::vector<std::string> filters = FileTypeFilters(app);
        long index = VarGetNumber(app, "Filters2.Index");
        std::string line = description + " " + patterns;
        if (index >= 1 && index <= static_cast<long>(filters.size())) {
            filters[static_cast<size_t>(index - 1)] = line;
        } else if (filters.size() < static_cast<size_t>(kFilterSlots)) {
            filters.push_back(line);
        }
        StoreFilters(app, filters);
        PopContext(app);
        PostCommand(app, "DIALOG FILTERS");
    });
}

constexpr SubsystemDialog kDialogs[] = {
    {"FLSTOPEN", FlstOpenDialog}, {"MULTOPEN", MultOpenDialog}, {"FLISTOPT", FlistOptDialog},
    {"DRIVLIST", DrivListDialog}, {"FILTERS", FiltersDialog},   {"FILTERS2", Filters2Dialog},
    {"PROJOPEN", ProjOpenDialog}, {"PROJNEW", ProjNewDialog},   {"PROJECT", ProjectDialog},
};

bool PseudoFileSystem(std::string_view type) {
    static constexpr std::string_view kPseudo[] = {
        "proc",     "sysfs",      "devpts",    "cgroup",   "cgroup2",   "securityfs", "pstore", "debugfs",
        "tracefs",  "mqueue",     "hugetlbfs", "configfs", "fusectl",   "bpf",        "autofs", "binfmt_misc",
        "devtmpfs", "rpc_pipefs", "nsfs",      "efivarfs", "selinuxfs", "ramfs"};
    return std::find(std::begin(kPseudo), std::end(kPseudo), type) != std::end(kPseudo);
}

}  // namespace

std::span<const SubsystemDialog> FileListDialogs() {
    return kDialogs;
}

std::vector<std::string> DrivePlaces(std::string_view mountsText, std::string_view home) {
    std::vector<std::string> places{"/"};
    if (!home.empty() && home != "/") {
        places.emplace_back(home);
    }
    std::set<std::string> mounted;
    size_t at = 0;
    while (at < mountsText.size()) {
        size_t end = mountsText.find('\n', at);
        std::string_view line = mountsText.substr(at, end == std::string_view::npos ? end : end - at);
        at = end == std::string_view::npos ? mountsText.size() : end + 1;
        std::istringstream fields{std::string(line)};
        std::string device, point, type;
        if (!(fields >> device >> point >> type) || PseudoFileSystem(type) || point.empty() ||
            point.front() != '/') {
            continue;
        }
        std::string decoded = Unescape(point);
        if (decoded.starts_with("/proc") || decoded.starts_with("/sys") || decoded.starts_with("/dev") ||
            decoded.starts_with("/run")) {
            continue;
        }
        mounted.insert(decoded);
    }
    for (const std::string& point : mounted) {
        if (std::find(places.begin(), places.end(), point) == places.end()) {
            places.push_back(point);
        }
    }
    return places;
}

void SplitFilter(std::string_view filter, std::string& description, std::string& patterns) {
    std::string text = std::string(CommandTrim(filter));
    size_t blank = text.rfind(' ');
    if (blank == std::string::npos) {
        description.clear();
        patterns = text;
        return;
    }
    description = std::string(CommandTrim(std::string_view(text).substr(0, blank)));
    patterns = text.substr(blank + 1);
}

std::vector<std::string> FileTypeFilters(AppSession& app) {
    std::vector<std::string> filters;
    for (int i = 1; i <= kFilterSlots; ++i) {
        std::string value = VarGetValue(app, Format("ZFILTERS.%d", i));
        if (!value.empty()) {
            filters.push_back(value);
        }
    }
    return filters;
}

}  // namespace tavoe
