#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "filelist/file_ops.h"
#include "filelist/file_ops_common.h"
#include "filelist/file_ops_copy_file.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// The names of a directory that the tree operations act on: everything except names beginning with
// ".", sorted so that the order (and so the first failure) does not depend on the file system.
bool ListNames(int directoryFd, std::vector<std::string>& names) {
    int copy = ::dup(directoryFd);
    if (copy < 0) {
        return false;
    }
    DIR* dir = ::fdopendir(copy);
    if (dir == nullptr) {
        ::close(copy);
        return false;
    }
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.') {
            names.emplace_back(entry->d_name);
        }
    }
    bool ok = errno == 0;
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return ok;
}

// Deletes what the directory open as `fd` holds, working relative to the open directory so that a
// directory swapped for a symbolic link meanwhile is never entered: subdirectories are opened with
// O_NOFOLLOW and every link is removed as a link.
int DeleteContents(AppSession& app, int fd, const std::string& path) {
    std::vector<std::string> names;
    if (!ListNames(fd, names)) {
        return ReportOsError(app, path, "DELETE");
    }
    for (const std::string& name : names) {
        std::string full = JoinUnder(path, name);
        struct stat info {};
        if (::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            return ReportOsError(app, full, "DELETE");
        }
        if (S_ISDIR(info.st_mode)) {
            int child = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) {
                return ReportOsError(app, full, "DELETE");
            }
            int result = DeleteContents(app, child, full);
            ::close(child);
            if (result != 0) {
                return -1;
            }
            if (::unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0) {
                return ReportOsError(app, full, "DELETE");
            }
        } else if (::unlinkat(fd, name.c_str(), 0) != 0) {
            return ReportOsError(app, full, "DELETE");
        }
    }
    return 0;
}

int CopyContents(AppSession& app, const std::string& source, const std::string& target, Overwrite overwrite) {
    int fd = ::open(source.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<std::string> names;
    bool listed = fd >= 0 && ListNames(fd, names);
    if (fd >= 0) {
        ::close(fd);
    }
    if (!listed) {
        return ReportOsError(app, source, "COPY");
    }
    for (const std::string& name : names) {
        std::string from = JoinUnder(source, name);
        std::string to = JoinUnder(target, name);
        struct stat info {};
        if (::lstat(from.c_str(), &info) != 0) {
            return ReportOsError(app, from, "COPY");
        }
        if (S_ISDIR(info.st_mode)) {
            struct stat existing {};
            if (::lstat(to.c_str(), &existing) != 0) {
                if (::mkdir(to.c_str(), (info.st_mode & 07777) | S_IRWXU) != 0) {
                    return ReportOsError(app, from, "COPY");
                }
            } else if (!S_ISDIR(existing.st_mode)) {
                return ReportOsError(app, from, "COPY");
            }
            if (CopyContents(app, from, to, overwrite) != 0) {
                return -1;
            }
            continue;
        }
        FileCopyResult copied = CopyOneFile(from, to, overwrite, LinkHandling::CopyLink);
        if (copied.outcome == FileCopyOutcome::TargetExists) {
            return Refuse(app, Format("Check OVERWRITE to overwrite existing file: %s", to.c_str()),
                          MsgTo::Box, Beep::Information);
        }
        if (copied.outcome != FileCopyOutcome::Copied) {
            return ReportOsError(app, from, "COPY");
        }
    }
    return 0;
}

}  // namespace

int DeleteDirectoryTree(AppSession& app, std::string_view pathText) {
    std::string path(pathText);
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    // Opened without following a link: a link named as the tree is refused, its target untouched.
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return ReportOsError(app, path, "DELETE");
    }
    int result = DeleteContents(app, fd, path);
    ::close(fd);
    if (result != 0) {
        return -1;
    }
    if (::rmdir(path.c_str()) != 0) {
        return ReportOsError(app, path, "DELETE");
    }
    return 0;
}

int CopyDirectoryTree(AppSession& app, std::string_view sourceText, std::string_view targetText) {
    std::string source(sourceText);
    std::string target(targetText);
    if (InsideTree(source, target)) {
        return Refuse(app, Format("Not allowed to copy %s into itself.", source.c_str()), MsgTo::Box,
                      Beep::Exclamation);
    }
    Overwrite overwrite = FlagSet(app, "ZCOPY.OVERWRITE") ? Overwrite::Yes : Overwrite::No;
    return CopyContents(app, source, target, overwrite);
}

}  // namespace tavoe
