#include "platform/search_path.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace tavoe {

namespace {

bool IsRegularOrAny(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

std::vector<std::string> SplitSearchPath(std::string_view pathValue) {
    std::vector<std::string> dirs;
    while (!pathValue.empty()) {
        size_t semi = pathValue.find(';');
        std::string_view part = Trim(pathValue.substr(0, semi));
        if (!part.empty()) {
            dirs.emplace_back(part);
        }
        if (semi == std::string_view::npos) {
            break;
        }
        pathValue.remove_prefix(semi + 1);
    }
    return dirs;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string out(directory);
    if (out.empty() || out.back() != '/') {
        out += '/';
    }
    while (!name.empty() && name.front() == '/') {
        name.remove_prefix(1);
    }
    out += name;
    return out;
}

std::string ResolveNameInDirectory(std::string_view directory, std::string_view name) {
    if (name.empty()) {
        return {};
    }
    std::string exact = JoinPath(directory, name);
    if (IsRegularOrAny(exact)) {
        return std::string(name);
    }
    // Only the last component is matched without case; a name with directories in it must match
    // them exactly.
    size_t slash = name.rfind('/');
    std::string subdir = JoinPath(directory, slash == std::string_view::npos ? "" : name.substr(0, slash));
    std::string leaf(slash == std::string_view::npos ? name : name.substr(slash + 1));
    DIR* dir = ::opendir(subdir.c_str());
    if (dir == nullptr) {
        return {};
    }
    std::string found;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, leaf.c_str()) == 0 &&
            IsRegularOrAny(JoinPath(subdir, entry->d_name))) {
            found = slash == std::string_view::npos ? std::string(entry->d_name)
                                                    : std::string(name.substr(0, slash + 1)) + entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

std::string FindAlongPath(std::string_view pathValue, std::string_view name) {
    for (const std::string& dir : SplitSearchPath(pathValue)) {
        std::string resolved = ResolveNameInDirectory(dir, name);
        if (!resolved.empty()) {
            return JoinPath(dir, resolved);
        }
    }
    return {};
}

FilePtr OpenAlongPath(std::string_view pathValue, std::string_view name, const char* mode,
                      std::string* foundPath) {
    for (const std::string& dir : SplitSearchPath(pathValue)) {
        std::string resolved = ResolveNameInDirectory(dir, name);
        if (resolved.empty()) {
            continue;
        }
        std::string full = JoinPath(dir, resolved);
        FilePtr file(std::fopen(full.c_str(), mode));
        if (file) {
            if (foundPath != nullptr) {
                *foundPath = full;
            }
            return file;
        }
    }
    return nullptr;
}

std::string WritePathFor(std::string_view pathValue, std::string_view name) {
    std::vector<std::string> dirs = SplitSearchPath(pathValue);
    if (dirs.empty()) {
        return {};
    }
    std::string resolved = ResolveNameInDirectory(dirs.front(), name);
    return JoinPath(dirs.front(), resolved.empty() ? name : std::string_view(resolved));
}

}  // namespace tavoe
