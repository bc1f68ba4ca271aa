#include "platform/dir_entries.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "platform/ascii_case.h"

namespace tavoe {

std::vector<std::string> ListFilesWithExtension(const std::string& directory, std::string_view extension) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) {
        return names;
    }
    std::string wanted = UpperAscii(extension);
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name.size() <= wanted.size() || UpperAscii(name.substr(name.size() - wanted.size())) != wanted) {
            continue;
        }
        std::string full = directory + "/" + std::string(name);
        struct stat st {};
        if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            names.emplace_back(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        std::string ua = UpperAscii(a);
        std::string ub = UpperAscii(b);
        return ua != ub ? ua < ub : a < b;
    });
    return names;
}

std::string FindSubdirectory(const std::string& directory, std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) {
        return {};
    }
    auto isDirectory = [&directory](std::string_view entry) {
        struct stat st {};
        std::string full = directory + "/" + std::string(entry);
        return ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    };
    if (isDirectory(name)) {
        return std::string(name);
    }
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) {
        return {};
    }
    std::string wanted = UpperAscii(name);
    while (const dirent* entry = ::readdir(dir.get())) {
        if (UpperAscii(entry->d_name) == wanted && isDirectory(entry->d_name)) {
            return entry->d_name;
        }
    }
    return {};
}

}  // namespace tavoe
