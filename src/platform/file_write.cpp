#include "platform/file_write.h"

#include "platform/save_temps.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace tavoe {

namespace {

// The test hook. Process-wide on purpose: it stands for the operating system, which is one per
// process too.
FileWriteHook& Hook() {
    static FileWriteHook hook;
    return hook;
}

FileWriteFault AskHook(FileWriteOp op, std::size_t count) {
    FileWriteHook& hook = Hook();
    return hook ? hook(op, count) : FileWriteFault{};
}

// The hook's answer for an operation that cannot be shortened: 0 to run it, else the error.
int InjectedError(FileWriteOp op, std::size_t count = 0) {
    FileWriteFault fault = AskHook(op, count);
    if (fault.kind == FileWriteFault::Kind::None) {
        return 0;
    }
    return fault.error != 0 ? fault.error : EIO;
}

constexpr int kMaxLinkDepth = 40;
constexpr int kTempNameTries = 1000;

IoResult CopyContents(int from, int to) {
    std::vector<char> chunk(1 << 16);
    for (;;) {
        ssize_t got = ::read(from, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {errno};
        }
        if (got == 0) {
            return {};
        }
        FileHandle target(to);
        std::size_t written = 0;
        IoResult result = WriteAll(target, chunk.data(), static_cast<std::size_t>(got), &written);
        target.Release();  // the caller owns the descriptor
        if (!result.Ok()) {
            return result;
        }
    }
}

// A copy of `from` at `to` through a temporary file beside `to`.
IoResult CopyThroughTemp(const std::string& from, const std::string& to) {
    if (int error = InjectedError(FileWriteOp::Copy)) {
        return {error};
    }
    FileHandle source;
    if (IoResult result = OpenExisting(from, OpenAccess::Read, source); !result.Ok()) {
        return result;
    }
    struct stat st {};
    if (::fstat(source.Fd(), &st) != 0) {
        return {errno};
    }
    if (!S_ISREG(st.st_mode)) {
        return {EINVAL};
    }
    FileHandle temp;
    std::string tempPath;
    if (IoResult result = CreateTempBeside(to, temp, tempPath); !result.Ok()) {
        return result;
    }
    IoResult result = CopyContents(source.Fd(), temp.Fd());
    if (result.Ok()) {
        ApplyAttributes(
            temp, FileAttributes{true, st.st_uid, st.st_gid, static_cast<std::uint32_t>(st.st_mode & 07777)});
        struct timespec times[2] = {};
        times[0].tv_nsec = UTIME_OMIT;
        times[1] = st.st_mtim;
        ::futimens(temp.Fd(), times);
        result = SyncFile(temp);
    }
    temp.Close();
    if (result.Ok()) {
        result = ReplaceFile(tempPath, to);
    }
    if (!result.Ok()) {
        ::unlink(tempPath.c_str());
    }
    ForgetPendingTemp(tempPath);
    return result;
}

}  // namespace

void SetFileWriteHook(FileWriteHook hook) {
    Hook() = std::move(hook);
}

IoResult WriteAll(const FileHandle& handle, const char* data, std::size_t count, std::size_t* written) {
    *written = 0;
    FileWriteFault fault = AskHook(FileWriteOp::Write, count);
    int injected = fault.error != 0 ? fault.error : EIO;
    if (fault.kind == FileWriteFault::Kind::Fail) {
        return {injected};
    }
    std::size_t limit = count;
    if (fault.kind == FileWriteFault::Kind::Short && fault.shortCount < count) {
        limit = fault.shortCount;
    }
    std::size_t done = 0;
    IoResult result = WriteFull(handle, data, limit, &done);
    *written = done;
    if (!result.Ok()) {
        return result;
    }
    if (done < count) {
        return {fault.error != 0 ? fault.error : ENOSPC};
    }
    return {};
}

IoResult SyncFile(const FileHandle& handle) {
    if (int error = InjectedError(FileWriteOp::Sync)) {
        return {error};
    }
    while (::fsync(handle.Fd()) != 0) {
        if (errno != EINTR) {
            return {errno};
        }
    }
    return {};
}

void StartWriteBack(const FileHandle& handle, std::int64_t offset, std::int64_t length) {
    if (handle.IsOpen() && length > 0) {
        ::sync_file_range(handle.Fd(), offset, length, SYNC_FILE_RANGE_WRITE);
    }
}

IoResult SyncDirectoryOf(const std::string& path) {
    const std::string directory = PathDirectory(path);
    int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return {errno};
    }
    FileHandle handle(fd);
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        return {errno};
    }
    return {};
}

IoResult ResolveWriteTarget(const std::string& path, std::string& target) {
    std::string current = path;
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                target = current;  // a new file, or a dangling link's target
                return {};
            }
            return {errno};
        }
        if (!S_ISLNK(st.st_mode)) {
            target = current;
            return {};
        }
        std::vector<char> link(static_cast<std::size_t>(PATH_MAX) + 1);
        ssize_t length = ::readlink(current.c_str(), link.data(), link.size() - 1);
        if (length < 0) {
            return {errno};
        }
        std::string next(link.data(), static_cast<std::size_t>(length));
        if (next.empty()) {
            return {ENOENT};
        }
        current = next.front() == '/' ? next : PathDirectory(current) + next;
    }
    return {ELOOP};
}

IoResult CreateTempBeside(const std::string& target, FileHandle& out, std::string& tempPath) {
    if (int error = InjectedError(FileWriteOp::CreateTemp)) {
        return {error};
    }
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        std::string candidate = TempNameBeside(target, attempt);
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            out = FileHandle(fd);
            TrackPendingTemp(candidate);
            tempPath = std::move(candidate);
            return {};
        }
        if (errno != EEXIST) {
            return {errno};
        }
    }
    return {EEXIST};
}

IoResult ReadAttributes(const std::string& path, FileAttributes& attributes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {errno};
    }
    attributes.valid = true;
    attributes.owner = st.st_uid;
    attributes.group = st.st_gid;
    attributes.mode = st.st_mode & 07777;
    return {};
}

void ApplyAttributes(const FileHandle& handle, const FileAttributes& attributes) {
    if (!attributes.valid) {
        return;
    }
    mode_t mode = static_cast<mode_t>(attributes.mode & 07777);
    struct stat current {};
    if (::fstat(handle.Fd(), &current) == 0 &&
        (current.st_uid != attributes.owner || current.st_gid != attributes.group) &&
        ::fchown(handle.Fd(), attributes.owner, attributes.group) != 0) {
        mode &= 0777 | S_ISVTX;  // owned by someone else now: no set-id bits
    }
    ::fchmod(handle.Fd(), mode);
}

IoResult ReplaceFile(const std::string& from, const std::string& to) {
    if (int error = InjectedError(FileWriteOp::Rename)) {
        return {error};
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return {errno};
    }
    return {};
}

namespace {

// Copies all of `from` (from its start) over `to` from its start and cuts `to` to that length.
IoResult OverwriteFrom(int from, int to, std::int64_t length) {
    if (::lseek(from, 0, SEEK_SET) < 0 || ::lseek(to, 0, SEEK_SET) < 0) {
        return {errno};
    }
    if (IoResult result = CopyContents(from, to); !result.Ok()) {
        return result;
    }
    if (::ftruncate(to, static_cast<off_t>(length)) != 0) {
        return {errno};
    }
    FileHandle target(to);
    IoResult result = SyncFile(target);
    target.Release();
    return result;
}

}  // namespace

IoResult ReplaceContentsInPlace(const std::string& from, const std::string& to) {
    FileHandle source;
    FileHandle target;
    if (IoResult result = OpenExisting(from, OpenAccess::Read, source); !result.Ok()) {
        return result;
    }
    if (IoResult result = OpenExisting(to, OpenAccess::ReadWrite, target); !result.Ok()) {
        return result;
    }
    struct stat newStat {};
    struct stat oldStat {};
    if (::fstat(source.Fd(), &newStat) != 0 || ::fstat(target.Fd(), &oldStat) != 0) {
        return {errno};
    }
    if (!S_ISREG(oldStat.st_mode)) {
        return {EINVAL};
    }
    // The old contents, kept until the new ones are safely in place. Named apart from the temporary
    // files of saves (".NAME.old.tvsave"), so the removal of stale ones never takes it.
    FileHandle rescue;
    std::string rescuePath;
    if (IoResult result = CreateTempBeside(to + ".old", rescue, rescuePath); !result.Ok()) {
        return result;
    }
    auto dropRescue = [&]() {
        rescue.Close();
        ::unlink(rescuePath.c_str());
        ForgetPendingTemp(rescuePath);
    };
    IoResult result = CopyContents(target.Fd(), rescue.Fd());
    if (result.Ok()) {
        result = SyncFile(rescue);
    }
    if (result.Ok() && newStat.st_size > oldStat.st_size &&
        ::fallocate(target.Fd(), FALLOC_FL_KEEP_SIZE, 0, newStat.st_size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS) {
        result = {errno};
    }
    if (!result.Ok()) {
        dropRescue();  // nothing was changed yet
        return result;
    }
    result = OverwriteFrom(source.Fd(), target.Fd(), newStat.st_size);
    if (result.Ok()) {
        dropRescue();
        return result;
    }
    // Writing in place failed part way: the old contents go back (they fit, the space was theirs).
    FileHandle old;
    if (OpenExisting(rescuePath, OpenAccess::Read, old).Ok() &&
        OverwriteFrom(old.Fd(), target.Fd(), oldStat.st_size).Ok()) {
        dropRescue();
    } else {
        rescue.Close();
        ForgetPendingTemp(rescuePath);  // the only copy of the old contents: left for the user
    }
    return result;
}

bool RemoveOwnEmptyFile(const std::string& path, const FileStamp& stamp) {
    std::string target;
    if (!stamp.valid || !ResolveWriteTarget(path, target).Ok()) {
        return false;
    }
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != 0 ||
        static_cast<std::uint64_t>(st.st_dev) != stamp.device ||
        static_cast<std::uint64_t>(st.st_ino) != stamp.inode) {
        return false;
    }
    return ::unlink(target.c_str()) == 0;
}

IoResult RemoveFile(const std::string& path) {
    if (int error = InjectedError(FileWriteOp::Unlink)) {
        return {error};
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return {errno};
    }
    return {};
}

IoResult PreserveFileAs(const std::string& from, const std::string& to, LinkOrCopy how) {
    if (how == LinkOrCopy::Link) {
        // Link under a free name first, then rename over `to`: an older `to` stays until the new one
        // is complete.
        for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
            std::string linkPath = TempNameBeside(to, attempt);
            int error = InjectedError(FileWriteOp::Link);
            if (error == 0) {
                if (::link(from.c_str(), linkPath.c_str()) == 0) {
                    IoResult renamed = ReplaceFile(linkPath, to);
                    if (!renamed.Ok()) {
                        ::unlink(linkPath.c_str());
                    }
                    return renamed;
                }
                error = errno;
            }
            if (error == EEXIST) {
                continue;
            }
            // File systems without hard links, and links across devices, fall back to a copy.
            if (error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP ||
                error == EOPNOTSUPP) {
                break;
            }
            return {error};
        }
    }
    return CopyThroughTemp(from, to);
}

}  // namespace tavoe
