#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_io.h"

namespace tavoe {

// The file services that replace a file safely: new contents go to a temporary file beside the
// target, are flushed to the disk, and only then are renamed over the target, so a failure at any
// point leaves the old file as it was. Also the copies and links that backups are made with, and a
// fault hook through which tests make chosen operations fail.

// ---- Fault injection --------------------------------------------------------------------------------

// The operations the hook is asked about, each time one is about to run.
enum class FileWriteOp { CreateTemp, Write, Sync, Rename, Link, Unlink, Copy };

// What the hook wants done with the operation: run it, fail it with `error`, or (writes only) let
// only `shortCount` bytes through and then fail the rest with `error`, as a file system that fills
// up does.
struct FileWriteFault {
    enum class Kind { None, Fail, Short };
    Kind kind = Kind::None;
    int error = 0;
    std::size_t shortCount = 0;
};

using FileWriteHook = std::function<FileWriteFault(FileWriteOp op, std::size_t count)>;

// Installs the process's hook (an empty function removes it). For tests only: it applies to every
// operation of this file, in any session.
void SetFileWriteHook(FileWriteHook hook);

// Installs a hook for the lifetime of the object and removes it again.
class ScopedFileWriteHook {
public:
    explicit ScopedFileWriteHook(FileWriteHook hook) { SetFileWriteHook(std::move(hook)); }
    ~ScopedFileWriteHook() { SetFileWriteHook({}); }
    ScopedFileWriteHook(const ScopedFileWriteHook&) = delete;
    ScopedFileWriteHook& operator=(const ScopedFileWriteHook&) = delete;
};

// ---- Writing ------------------------------------------------------------------------------------------

// Writes all `count` bytes, retrying interrupted calls; *written is what reached the file. A write
// that takes fewer bytes is retried, so a full file system ends in its error (ENOSPC), not in a
// silently shortened file.
IoResult WriteAll(const FileHandle& handle, const char* data, std::size_t count, std::size_t* written);

// Flushes the file's data and size to the disk.
IoResult SyncFile(const FileHandle& handle);

// Asks the system to start writing `length` bytes of the file from `offset` to the disk now, without
// waiting, so that a later SyncFile finds most of the work done. Best effort: nothing is reported.
void StartWriteBack(const FileHandle& handle, std::int64_t offset, std::int64_t length);

// Flushes the directory that holds `path`, so a rename in it survives a crash. Best effort: file
// systems that cannot sync a directory answer success.
IoResult SyncDirectoryOf(const std::string& path);

// ---- Replacing a file -----------------------------------------------------------------------------

// The file a write to `path` really changes: symbolic links are followed (relative ones from the
// directory of the link) to the first path that is not a link, which need not exist. More than 40
// links in a row (a loop) give ELOOP.
IoResult ResolveWriteTarget(const std::string& path, std::string& target);

// Creates a new, empty file beside `target` (same directory) under a name that nothing uses yet:
// "." + the target's name + ".tvsave", then with 1, 2, ... appended when that is taken (by anything,
// a directory included). Opened for writing only, close-on-exec, mode 0666 less the umask.
IoResult CreateTempBeside(const std::string& target, FileHandle& out, std::string& tempPath);

// Owner, group and permission bits of a file (links followed).
struct FileAttributes {
    bool valid = false;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint32_t mode = 0;  // permission bits, set-id and sticky bits included
};
IoResult ReadAttributes(const std::string& path, FileAttributes& attributes);

// Gives the open file the owner, group and permission bits as far as the caller may: a change of
// owner that is not permitted is skipped, and then set-user and set-group bits are not copied either.
void ApplyAttributes(const FileHandle& handle, const FileAttributes& attributes);

// Renames `from` over `to` in one step: `to` is either the old file or the new one, never missing.
IoResult ReplaceFile(const std::string& from, const std::string& to);

// Replaces the contents of the existing regular file `to` by those of `from` in place, so the file
// keeps its inode and every hard link to it sees the new contents. The old contents are first copied
// to a temporary file beside `to` and the space the new ones need is reserved where the file system
// allows it; when writing in place fails anyway the old contents are written back, so `to` ends
// holding either its old or its new contents. `from` is left as it is.
IoResult ReplaceContentsInPlace(const std::string& from, const std::string& to);

// Removes a file; a file that is already gone is not an error.
IoResult RemoveFile(const std::string& path);

// Removes the file a path leads to (links followed) only when it is a regular file, still empty, and
// still the file `stamp` describes (same device and inode): the empty file an editing session
// created, and nothing else. A symbolic link is never removed, only the file it leads to. True when
// the file was removed.
bool RemoveOwnEmptyFile(const std::string& path, const FileStamp& stamp);

// Makes `to` hold the contents of `from` (which must be a regular file), replacing whatever `to`
// was, without a moment when `to` is missing or half written: a hard link when the file system
// allows one, else a copy through a temporary file beside `to` that is synced and renamed into place.
// The copy keeps the source's permission bits and modification time.
enum class LinkOrCopy { Link, CopyOnly };
IoResult PreserveFileAs(const std::string& from, const std::string& to, LinkOrCopy how);

}  // namespace tavoe
