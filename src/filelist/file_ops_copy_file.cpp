#include "filelist/file_ops_copy_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_write.h"

namespace tavoe {

namespace {

constexpr size_t kCopyBlock = 256 * 1024;

FileCopyResult Failed(int error) {
    return {FileCopyOutcome::Failed, error};
}

// Puts the finished temporary file under the target's name: over an existing file only when asked,
// else never replacing what appeared there meanwhile.
int PlaceTemp(const std::string& temp, const std::string& target, Overwrite overwrite) {
    if (overwrite == Overwrite::Yes) {
        IoResult placed = ReplaceFile(temp, target);
        return placed.error;
    }
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without the no-replace rename: a hard link is refused just as well when the name
    // is taken.
    if (::link(temp.c_str(), target.c_str()) != 0) {
        return errno;
    }
    (void)::unlink(temp.c_str());
    return 0;
}

FileCopyResult CopyLink(const std::string& source, const std::string& target, Overwrite overwrite) {
    std::vector<char> text(PATH_MAX + 1);
    ssize_t length = ::readlink(source.c_str(), text.data(), text.size() - 1);
    if (length < 0) {
        return Failed(errno);
    }
    text[static_cast<size_t>(length)] = '\0';
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0) {
        if (overwrite == Overwrite::No) {
            return {FileCopyOutcome::TargetExists, EEXIST};
        }
        if (S_ISDIR(existing.st_mode) || ::unlink(target.c_str()) != 0) {
            return Failed(S_ISDIR(existing.st_mode) ? EISDIR : errno);
        }
    }
    if (::symlink(text.data(), target.c_str()) != 0) {
        return Failed(errno);
    }
    return {FileCopyOutcome::Copied, 0};
}

int CopyContents(int from, const FileHandle& to) {
    std::vector<char> block(kCopyBlock);
    for (;;) {
        ssize_t got = ::read(from, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            return 0;
        }
        size_t written = 0;
        IoResult result = WriteAll(to, block.data(), static_cast<size_t>(got), &written);
        if (!result.Ok()) {
            return result.error;
        }
    }
}

}  // namespace

FileCopyResult CopyOneFile(const std::string& source, const std::string& target, Overwrite overwrite,
                           LinkHandling links) {
    struct stat own {};
    if (::lstat(source.c_str(), &own) != 0) {
        return Failed(errno);
    }
    if (S_ISLNK(own.st_mode) && links == LinkHandling::CopyLink) {
        return CopyLink(source, target, overwrite);
    }
    // Non-blocking, so that a named pipe is refused below instead of waiting for a writer.
    FileHandle in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in.IsOpen()) {
        return Failed(errno);
    }
    struct stat from {};
    if (::fstat(in.Fd(), &from) != 0) {
        return Failed(errno);
    }
    if (!S_ISREG(from.st_mode)) {
        return {FileCopyOutcome::NotRegular, EINVAL};
    }
    (void)::fcntl(in.Fd(), F_SETFL, 0);

    std::string real;
    if (IoResult resolved = ResolveWriteTarget(target, real); !resolved.Ok()) {
        return Failed(resolved.error);
    }
    struct stat existing {};
    if (::stat(real.c_str(), &existing) == 0) {
        if (existing.st_dev == from.st_dev && existing.st_ino == from.st_ino) {
            return {FileCopyOutcome::SameFile, EINVAL};
        }
        if (S_ISDIR(existing.st_mode)) {
            return Failed(EISDIR);
        }
        if (overwrite == Overwrite::No) {
            return {FileCopyOutcome::TargetExists, EEXIST};
        }
    }

    FileHandle out;
    std::string temp;
    if (IoResult created = CreateTempBeside(real, out, temp); !created.Ok()) {
        return Failed(created.error);
    }
    int error = CopyContents(in.Fd(), out);
    if (error == 0) {
        (void)::fchmod(out.Fd(), from.st_mode & 07777);
        const struct timespec times[2] = {from.st_atim, from.st_mtim};
        (void)::futimens(out.Fd(), times);
        if (::close(out.Release()) != 0) {
            error = errno;
        }
    }
    if (error == 0) {
        error = PlaceTemp(temp, real, overwrite);
    }
    if (error != 0) {
        out.Close();
        (void)::unlink(temp.c_str());
        return error == EEXIST ? FileCopyResult{FileCopyOutcome::TargetExists, EEXIST} : Failed(error);
    }
    return {FileCopyResult{FileCopyOutcome::Copied, 0}};
}

}  // namespace tavoe
