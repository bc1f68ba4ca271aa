#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tavoe {

// Thin wrappers over the file services that loading and saving need: opening with the editor's
// access modes, whole reads and writes that retry short transfers and interrupted calls, status with
// full-precision times, and the advisory lock an edited file holds. Everything reports through
// return values and errno-style codes; the callers choose the user's message.

// An open file descriptor that closes itself. Closing drops any lock held through it.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() { Close(); }
    FileHandle(FileHandle&& other) noexcept : fd_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    int Release();  // gives up ownership without closing
    void Close();

private:
    int fd_ = -1;
};

// What the system tells about a file: its kind, size, full-precision modification time and identity.
// `valid` is false for a stamp that was never taken.
struct FileStamp {
    bool valid = false;
    bool isRegular = false;
    bool isDirectory = false;
    std::int64_t size = 0;
    std::int64_t mtimeSeconds = 0;
    std::int64_t mtimeNanoseconds = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t mode = 0;  // permission bits
    std::uint32_t linkCount = 0;
};

// Same modification time (to the nanosecond) and size.
bool SameContentStamp(const FileStamp& a, const FileStamp& b);

// The same file (device and inode) with the same modification time and size: what saving and
// loading compare with the stamp taken at load, so a file rewritten, truncated, appended to or
// replaced under its name (a rename over it, a link swapped in) is noticed.
bool SameFileStamp(const FileStamp& a, const FileStamp& b);

// Outcome of a call, with the system's error code when it failed.
struct IoResult {
    int error = 0;  // 0 on success, else an errno value
    bool Ok() const { return error == 0; }
};

enum class PathKind { Missing, Exists, Unknown };  // Unknown: the test itself failed (e.g. EACCES)

// Whether anything exists under the path; Missing only for "no such file" (ENOENT, ENOTDIR).
PathKind TestPathExists(const std::string& path, int* error = nullptr);

// Status of a path (following links) or of an open handle.
IoResult StatPath(const std::string& path, FileStamp& stamp);

// The path as a full path: relative to the current directory, with "." and ".." steps resolved
// textually (the file need not exist). The path as given when the current directory is unknown.
std::string FullPath(std::string_view path);
IoResult StatHandle(const FileHandle& handle, FileStamp& stamp);

// Effective access of the calling user. A file whose permission bits grant no write access to anyone
// counts as not writable even for a user who could override it, as a read-only attribute would.
bool CanRead(const std::string& path);
bool CanReadWrite(const std::string& path);

// Opening. Every open is close-on-exec and never blocks on special files (FIFOs, devices); callers
// refuse what is not a regular file from the handle's status.
enum class OpenAccess { Read, ReadWrite, Write };
IoResult OpenExisting(const std::string& path, OpenAccess access, FileHandle& out);
// Creates the file or truncates an existing one ("create always"), for writing (and reading with
// ReadWrite), permissions 0666 less the umask.
IoResult CreateAlways(const std::string& path, OpenAccess access, FileHandle& out);

// Reads until `count` bytes are in or the file ends; *got is the number read. Interrupted and short
// reads are retried. On an error *got holds what was read before it.
IoResult ReadFull(const FileHandle& handle, char* data, std::size_t count, std::size_t* got);

// Writes all `count` bytes, retrying short and interrupted writes; *written is what reached the file.
IoResult WriteFull(const FileHandle& handle, const char* data, std::size_t count, std::size_t* written);

IoResult SeekTo(const FileHandle& handle, std::int64_t offset);

// The advisory write lock an edited file holds while ZEDITWRITELOCK is "TRUE". It belongs to the
// open file description (not the process), so a second open of the same file, in this process or
// another, conflicts with it, and closing some other descriptor of the file never drops it. Needs a
// handle opened for writing. Fails at once with EAGAIN (or EACCES) when another holder has it.
IoResult TryWriteLock(const FileHandle& handle);
IoResult Unlock(const FileHandle& handle);

// Whether some other open file description holds a lock on the file that a write lock would meet
// (the path is opened read-only to ask). False when the file cannot be opened.
bool IsWriteLockedElsewhere(const std::string& path);

// The last path component and the part up to and including the last "/".
std::string PathFileName(const std::string& path);
std::string PathDirectory(const std::string& path);

}  // namespace tavoe
