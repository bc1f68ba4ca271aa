#pragma once

#include <functional>
#include <string_view>
#include "core/status.h"

namespace tavoe {

struct EditBuffer;
struct FileProfile;
struct FileState;
class FileHandle;

// Writing an edit session's data lines back to its file in the record format, terminator and
// character set of the session's file profile, after an optional backup of the previous version.
//
// The new contents go to a temporary file beside the file, which is flushed to the disk and then
// renamed over the file, so a save that fails at any point (a full disk, a write error, a failed
// backup) leaves the file on disk exactly as it was, and the session modified. The replaced file keeps
// its permission bits (and owner, where allowed); a symbolic link stays a link and the file it points
// to gets the new contents. A hard-linked file is replaced under this name only.

// Whether the caller ends the session right after the save (END, the prompt on exit): a file kept
// write-locked (ZEDITWRITELOCK "TRUE") is then not opened and locked again.
enum class SaveClosing { No, Yes };

// SAVE. Finishes the load, strips blank padding of a variable-format file, runs the exit macro, and
// writes the file. Refuses a read-only session ("Can not save READ-ONLY file.") and a file whose
// modification time (to the nanosecond), size or identity (device and inode) changed since it was
// loaded or last saved, write lock or not, or that changed while it was being loaded ("... modified by
// other program, ..."). Records the load split or cut short are written so only when the storage host's
// ConfirmSave agrees. Lines whose records were kept at load (OriginalRecords) and that still hold what
// the load made of them are written with the bytes they were read from. A file with more than one
// hard link is written in place (after a backup copy); any other is replaced through a temporary file. With
// ZBACKUP "ALWAYS", or "FILEPROF" and the profile's `Backup` on, the previous contents are kept as
// <file>.bak, or in the profile's `BackupAlternatePath` under the file's name. Shows "File saved" (not for
// sessions opened by background operations). 0 on success, which clears the session's modified state; -1
// after a message on failure.
Status SaveFile(EditBuffer& buffer, SaveClosing closing);

// The file half of SAVEAS, once the shell has asked for the new name (kSaveAsPrompt in the file
// chooser). Refuses a directory ("Target file is a directory, please provide file name."). An existing
// file is replaced only when `confirmOverwrite` answers true to "File already exists, OK to overwrite
// it?" (no answer function = no). When `targetProfile` is the profile the new name brings and it is
// another profile than the session's, a data line longer than its `MaxRecordLength` refuses the save.
// Otherwise the load is finished, the old file closed, the new path taken into the session (file name,
// directory, display name, the ZDSN variables) and the file written by SaveFile. The caller then adds
// the path to the recently used files and refreshes the window title. 0 on success, -1 after a message
// (a refusal or a failed write leaves the session under its old name, modified, and says what failed).
using ConfirmOverwrite = std::function<bool(std::string_view question)>;
Status SaveFileAs(EditBuffer& buffer, std::string_view newPath, const ConfirmOverwrite& confirmOverwrite,
                  const FileProfile* targetProfile = nullptr);

inline constexpr std::string_view kSaveAsPrompt =
    "Navigate to directory, specify new file name (ESC to cancel)";

// Buffered writing through the session's read buffer: bytes collect in state.buffer and go to the
// file in one write when the next bytes would not fit. 0, or -1 when the system took fewer bytes than
// asked. `count` must not exceed the buffer's size.
Status WriteBuffered(FileState& state, const FileHandle& handle, const char* bytes, int count);

// Writes the pending bytes. 0, or -1 on a short write.
Status FlushBuffered(FileState& state, const FileHandle& handle);

// Tab compression on write: the record is taken in consecutive pieces of `width` bytes from its first
// byte; a whole piece of blanks becomes one `tab` byte, any other piece (and a shorter last piece) is
// copied unchanged. `out` must hold `count` bytes. Answers the bytes written to `out`.
int CompressTabs(const char* in, int count, int width, char blank, char tab, char* out);

}  // namespace tavoe
