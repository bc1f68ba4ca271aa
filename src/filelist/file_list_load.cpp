#include "filelist/file_list_load.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <utility>

#include "core/app_session.h"
#include "core/message.h"
#include "platform/format.h"
#include "ui/file_chooser.h"

namespace tavoe {

namespace {

constexpr long kDefaultMaxEntries = 10000;
constexpr size_t kProgressStep = 100;

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Whether the running user may write the file, judged from its mode as the kernel would for an
// ordinary process (root writes everything).
bool Writable(const struct stat& st) {
    static const uid_t uid = geteuid();
    if (uid == 0) {
        return true;
    }
    if (st.st_uid == uid) {
        return (st.st_mode & S_IWUSR) != 0;
    }
    static const gid_t gid = getegid();
    if (st.st_gid == gid) {
        return (st.st_mode & S_IWGRP) != 0;
    }
    return (st.st_mode & S_IWOTH) != 0;
}

void FillFromStat(FileEntry& entry, const struct stat& st) {
    entry.isDirectory = S_ISDIR(st.st_mode);
    entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
    entry.modified = st.st_mtime;
    if (!Writable(st)) {
        entry.attrs |= kAttrReadOnly;
    }
    // A link whose target is gone keeps the link's own mode, which says nothing about running it.
    if (!entry.isDirectory && !S_ISLNK(st.st_mode) && (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0) {
        entry.attrs |= kAttrExec;
    }
}

class Loader {
public:
    Loader(Reporter& reporter, FileList& list, const LoadOptions& options, LoadProgress* progress)
        : reporter_(reporter), list_(list), options_(options), progress_(progress) {
        limit_ = options.maxEntries < 1 ? kDefaultMaxEntries : options.maxEntries;
        list_.maxEntries = limit_;
        matchAll_ = options.mask.empty() || options.mask == "*" || options.mask == "*.*";
    }

    void LoadPath(const std::string& path) {
        if (!Full()) {
            LoadDirectory(path);
        }
    }

    bool Full() const { return list_.limited || list_.aborted; }

private:
    bool Take(FileEntry&& entry) {
        if (static_cast<long>(list_.dirs.size() + list_.files.size()) >= limit_) {
            list_.limited = true;
            ShowMessage(
                reporter_,
                Format(
                    "File List limited to %d files, click on menu OPTIONS, item FILE LIST to change limit.",
                    static_cast<int>(limit_)),
                MsgTo::Box, Beep::Information);
            return false;
        }
        if (entry.isDirectory) {
            ++list_.dirCount;
            list_.dirs.push_back(std::move(entry));
        } else {
            ++list_.fileCount;
            list_.byteCount += entry.size;
            list_.files.push_back(std::move(entry));
        }
        ++loaded_;
        if (progress_ != nullptr && loaded_ % kProgressStep == 0) {
            progress_->Loaded(loaded_);
            if (progress_->StopRequested()) {
                list_.aborted = true;
                return false;
            }
        }
        return true;
    }

    void LoadDirectory(const std::string& path) {
        int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return;  // an unreadable directory lists nothing
        }
        struct stat self {};
        if (fstat(fd, &self) != 0 || !visited_.insert({self.st_dev, self.st_ino}).second) {
            close(fd);
            return;
        }
        std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
        if (!dir) {
            close(fd);
            return;
        }
        std::vector<std::string> subdirs;
        while (dirent* d = readdir(dir.get())) {
            std::string_view name = d->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            bool hidden = name.front() == '.';
            FileEntry entry;
            struct stat st {};
            if (fstatat(fd, d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;  // vanished while listed
            }
            if (S_ISLNK(st.st_mode)) {
                entry.attrs |= kAttrLink;
                struct stat target {};
                if (fstatat(fd, d->d_name, &target, 0) == 0) {
                    st = target;
                }
            }
            FillFromStat(entry, st);
            if (hidden) {
                entry.attrs |= kAttrHidden;
            }
            if (entry.isDirectory) {
                if (hidden || !options_.showDirs) {
                    if (options_.recursive && !hidden && !(entry.attrs & kAttrLink)) {
                        subdirs.emplace_back(name);
                    }
                    continue;
                }
            } else {
                bool take = hidden ? options_.showHidden : options_.showFiles;
                if (!take || (!matchAll_ && !ui::MatchesPatterns(name, options_.mask))) {
                    continue;
                }
            }
            entry.name = std::string(name);
            if (options_.extSeparate && !entry.isDirectory) {
                entry.ext = ExtensionOf(name);
            }
            entry.path = path;
            bool recurse = options_.recursive && entry.isDirectory && !(entry.attrs & kAttrLink);
            if (!Take(std::move(entry))) {
                return;
            }
            if (recurse) {
                subdirs.emplace_back(name);
            }
        }
        dir.reset();
        for (const std::string& sub : subdirs) {
            if (Full()) {
                return;
            }
            LoadDirectory(path + sub + "/");
        }
    }

    Reporter& reporter_;
    FileList& list_;
    const LoadOptions& options_;
    LoadProgress* progress_;
    long limit_ = kDefaultMaxEntries;
    bool matchAll_ = true;
    size_t loaded_ = 0;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

bool NormalizeListPath(Reporter& reporter, std::string& path) {
    if (path.empty() || path.front() != '/') {
        ShowMessage(reporter, "Path must be in form: /...", MsgTo::Box, Beep::Exclamation);
        return false;
    }
    if (path.back() != '/') {
        path += '/';
    }
    return true;
}

std::string ExtensionOf(std::string_view name) {
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return {};
    }
    return std::string(name.substr(dot + 1));
}

bool StatEntry(const std::string& fullPath, FileEntry& entry) {
    struct stat st {};
    if (lstat(fullPath.c_str(), &st) != 0) {
        return false;
    }
    uint8_t keep = entry.attrs & kAttrHidden;
    entry.attrs = keep;
    if (S_ISLNK(st.st_mode)) {
        entry.attrs |= kAttrLink;
        struct stat target {};
        if (stat(fullPath.c_str(), &target) == 0) {
            st = target;
        }
    }
    FillFromStat(entry, st);
    return true;
}

void LoadFileList(Reporter& reporter, FileList& list, const LoadOptions& options, LoadProgress* progress) {
    list.dirs.clear();
    list.files.clear();
    list.dirCount = list.fileCount = list.byteCount = 0;
    list.limited = false;
    list.aborted = false;
    list.sorted = false;
    list.recursive = options.recursive;
    list.mask = options.mask;
    Loader loader(reporter, list, options, progress);
    for (const std::string& path : list.paths) {
        if (!path.empty()) {
            loader.LoadPath(path);
        }
    }
}

}  // namespace tavoe
