#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tavoe {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

int FileHandle::Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

void FileHandle::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool SameContentStamp(const FileStamp& a, const FileStamp& b) {
    return a.valid == b.valid && a.size == b.size && a.mtimeSeconds == b.mtimeSeconds &&
           a.mtimeNanoseconds == b.mtimeNanoseconds;
}

bool SameFileStamp(const FileStamp& a, const FileStamp& b) {
    return SameContentStamp(a, b) && a.device == b.device && a.inode == b.inode;
}

namespace {

void FillStamp(const struct stat& st, FileStamp& stamp) {
    stamp.valid = true;
    stamp.isRegular = S_ISREG(st.st_mode);
    stamp.isDirectory = S_ISDIR(st.st_mode);
    stamp.size = static_cast<std::int64_t>(st.st_size);
    stamp.mtimeSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    stamp.mtimeNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.mode = static_cast<std::uint32_t>(st.st_mode & 07777);
    stamp.linkCount = static_cast<std::uint32_t>(st.st_nlink);
}

int OpenFlags(OpenAccess access) {
    switch (access) {
        case OpenAccess::Read:
            return O_RDONLY;
        case OpenAccess::ReadWrite:
            return O_RDWR;
        case OpenAccess::Write:
            return O_WRONLY;
    }
    return O_RDONLY;
}

// Opens without blocking (a FIFO with no writer would otherwise hang the editor), then puts the
// descriptor back into blocking mode for ordinary reads and writes.
IoResult OpenWith(const std::string& path, int flags, FileHandle& out) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        return {errno};
    }
    FileHandle handle(fd);
    int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) {
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    out = std::move(handle);
    return {};
}

IoResult SetLock(const FileHandle& handle, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;  // the whole file, however it grows
#ifdef F_OFD_SETLK
    if (::fcntl(handle.Fd(), F_OFD_SETLK, &lock) == 0) {
        return {};
    }
    if (errno != EINVAL) {
        return {errno};
    }
    lock.l_pid = 0;
#endif
    // Kernels without open-file-description locks: a process lock, which at least keeps other
    // instances out.
    if (::fcntl(handle.Fd(), F_SETLK, &lock) == 0) {
        return {};
    }
    return {errno};
}

}  // namespace

PathKind TestPathExists(const std::string& path, int* error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        return PathKind::Exists;
    }
    int code = errno;
    if (error != nullptr) {
        *error = code;
    }
    return code == ENOENT || code == ENOTDIR ? PathKind::Missing : PathKind::Unknown;
}

IoResult StatPath(const std::string& path, FileStamp& stamp) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {errno};
    }
    FillStamp(st, stamp);
    return {};
}

IoResult StatHandle(const FileHandle& handle, FileStamp& stamp) {
    struct stat st {};
    if (::fstat(handle.Fd(), &st) != 0) {
        return {errno};
    }
    FillStamp(st, stamp);
    return {};
}

bool CanRead(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
}

bool CanReadWrite(const std::string& path) {
    if (::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) != 0) {
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return false;
    }
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

IoResult OpenExisting(const std::string& path, OpenAccess access, FileHandle& out) {
    return OpenWith(path, OpenFlags(access), out);
}

IoResult CreateAlways(const std::string& path, OpenAccess access, FileHandle& out) {
    return OpenWith(
        path, OpenFlags(access == OpenAccess::Read ? OpenAccess::ReadWrite : access) | O_CREAT | O_TRUNC,
        out);
}

IoResult ReadFull(const FileHandle& handle, char* data, std::size_t count, std::size_t* got) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::read(handle.Fd(), data + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *got = done;
            return {errno};
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    *got = done;
    return {};
}

IoResult WriteFull(const FileHandle& handle, const char* data, std::size_t count, std::size_t* written) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(handle.Fd(), data + done, count - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *written = done;
            return {errno};
        }
        if (n == 0) {
            *written = done;
            return {EIO};
        }
        done += static_cast<std::size_t>(n);
    }
    *written = done;
    return {};
}

IoResult SeekTo(const FileHandle& handle, std::int64_t offset) {
    if (::lseek(handle.Fd(), static_cast<off_t>(offset), SEEK_SET) < 0) {
        return {errno};
    }
    return {};
}

IoResult TryWriteLock(const FileHandle& handle) {
    return SetLock(handle, F_WRLCK);
}

IoResult Unlock(const FileHandle& handle) {
    return SetLock(handle, F_UNLCK);
}

bool IsWriteLockedElsewhere(const std::string& path) {
    FileHandle handle;
    if (!OpenExisting(path, OpenAccess::Read, handle).Ok()) {
        return false;
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#ifdef F_OFD_GETLK
    if (::fcntl(handle.Fd(), F_OFD_GETLK, &lock) == 0) {
        return lock.l_type != F_UNLCK;
    }
    lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
#endif
    if (::fcntl(handle.Fd(), F_GETLK, &lock) == 0) {
        return lock.l_type != F_UNLCK;
    }
    return false;
}

std::string PathFileName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PathDirectory(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FullPath(std::string_view path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(std::filesystem::path(path), error);
    if (error) {
        return std::string(path);
    }
    return full.lexically_normal().string();
}

}  // namespace tavoe
