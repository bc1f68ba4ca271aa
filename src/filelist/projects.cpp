#include "filelist/projects.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_session.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "ui/file_chooser.h"

namespace tavoe {

namespace {

constexpr size_t kLineMax = 255;
constexpr std::string_view kProfileKey = "FileProf=";
constexpr std::string_view kFileKey = "File=";

std::string ProjectFileName(std::string_view name) {
    return std::string(name) + ".prj";
}

bool ReadWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return true;
}

}  // namespace

ProjectFile ParseProjectText(std::string_view text) {
    ProjectFile project;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.size() > kLineMax || line.find('\0') != std::string_view::npos) {
            continue;  // not a line this program writes
        }
        if (line.starts_with(kProfileKey)) {
            project.profile = std::string(line.substr(kProfileKey.size()));
        } else if (line.starts_with(kFileKey) && line.size() > kFileKey.size()) {
            std::string member(line.substr(kFileKey.size()));
            if (std::find(project.members.begin(), project.members.end(), member) == project.members.end()) {
                project.members.push_back(member);
            }
        }
    }
    return project;
}

std::string ProjectText(const ProjectFile& project) {
    std::string out;
    if (!project.profile.empty()) {
        out += std::string(kProfileKey) + project.profile + "\n";
    }
    for (const std::string& member : project.members) {
        out += std::string(kFileKey) + member + "\n";
    }
    return out;
}

bool ValidProjectName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

std::string FindProjectFile(AppSession& app, std::string_view name) {
    if (!ValidProjectName(name)) {
        return {};
    }
    return FindAlongPath(VarGetValue(app, "ZPATH.PROJECTS"), ProjectFileName(name));
}

bool OpenProject(AppSession& app, std::string_view name) {
    std::string path = FindProjectFile(app, name);
    std::string text;
    if (path.empty() || !ReadWhole(path, text)) {
        ShowMessage(app, Format("Project '%s' not found.", std::string(name).c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return false;
    }
    ProjectFile project = ParseProjectText(text);
    FileListWindow& window = PushFileListWindow(app, name);
    window.projectName = std::string(name);
    window.projectProfile = project.profile;
    window.members = project.members;
    window.list.title = Format("File List for %s", window.projectName.c_str());
    VarSetValue(app, "ZPROJ.NAME", window.projectName);
    VarSetValue(app, "ZPROJ.TITLE", window.list.title);
    VarSetValue(app, "ZPROFILE", project.profile);
    ReloadFileList(app, window);
    if (window.members.empty()) {
        ShowMessage(app, "Click on ADD to populate empty project.", MsgTo::Box, Beep::Information);
    }
    return true;
}

void LoadProjectRows(AppSession&, FileListWindow& window) {
    FileList& list = window.list;
    list.dirs.clear();
    list.files.clear();
    for (const std::string& member : window.members) {
        FileEntry entry;
        size_t slash = member.rfind('/');
        entry.path = slash == std::string::npos ? std::string() : member.substr(0, slash + 1);
        entry.name = slash == std::string::npos ? member : member.substr(slash + 1);
        entry.ext = ExtensionOf(entry.name);
        if (!entry.name.empty() && entry.name.front() == '.') {
            entry.attrs |= kAttrHidden;
        }
        (void)StatEntry(member, entry);  // a member that does not exist is listed all the same
        entry.isDirectory = false;
        list.files.push_back(std::move(entry));
    }
    RecountList(list);
}

int AddProjectFiles(AppSession& app, FileListWindow& window, std::string_view path, std::string_view mask) {
    if (window.projectName.empty()) {
        ShowMessage(app, "Must open project before adding files.", MsgTo::Box, Beep::Exclamation);
        return 0;
    }
    std::vector<std::string> candidates;
    std::string where(path);
    struct stat st {};
    if (where.empty() || where.front() != '/' || stat(where.c_str(), &st) != 0) {
        ShowMessage(app, Format("%s does not exist.", where.c_str()), MsgTo::Line, Beep::Exclamation);
        return 0;
    }
    if (S_ISDIR(st.st_mode)) {
        FileList found;
        found.paths[0] = where.back() == '/' ? where : where + "/";
        LoadOptions options;
        options.mask = mask.empty() ? std::string("*") : std::string(mask);
        options.showDirs = false;
        LoadFileList(app, found, options, nullptr);
        for (const FileEntry& entry : found.files) {
            candidates.push_back(EntryFullPath(entry));
        }
        std::sort(candidates.begin(), candidates.end());
    } else {
        candidates.push_back(where);
    }
    return AddProjectMembers(app, window, candidates);
}

int AddProjectMembers(AppSession& app, FileListWindow& window, const std::vector<std::string>& files) {
    int added = 0;
    for (const std::string& file : files) {
        if (std::find(window.members.begin(), window.members.end(), file) != window.members.end()) {
            ShowMessage(app, Format("'%s' already in project.", file.c_str()), MsgTo::Box, Beep::Information);
            continue;
        }
        window.members.push_back(file);
        ++added;
    }
    if (added > 0) {
        ReloadFileList(app, window);
    }
    return added;
}

void CloseProject(AppSession& app, FileListWindow& window) {
    ProjectFile project{window.projectProfile, window.members};
    std::string path = FindProjectFile(app, window.projectName);
    if (path.empty()) {
        path = WritePathFor(VarGetValue(app, "ZPATH.PROJECTS"), ProjectFileName(window.projectName));
    }
    // Written beside the old file and renamed over it, so a failed write keeps the old project.
    std::string text = ProjectText(project);
    std::string temporary = path + ".new";
    std::FILE* file = path.empty() ? nullptr : std::fopen(temporary.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file != nullptr && std::fclose(file) != 0) {
        ok = false;
    }
    if (ok) {
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok && file != nullptr) {
        std::remove(temporary.c_str());
    }
    if (!ok) {
        ShowMessage(app, Format("%s, %s error.", path.c_str(), "WRITE"), MsgTo::Box, Beep::Exclamation);
    }
    VarSetValue(app, "ZPROJ.NAME", "");
    VarSetValue(app, "ZPROFILE", "");
    window.projectName.clear();
}

}  // namespace tavoe
