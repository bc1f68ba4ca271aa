// Opening a file for EDIT or BROWSE: the path and access checks, the open with its write lock, the
// load loop with Escape, new and empty files, the virtual load and the CAPS setting.

#include "buffer/file_load.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load_records.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::size_t kMaxPathLength = 255;

void ReportError(EditBuffer& buffer, const std::string& text) {
    ShowMessage(buffer.host, text, MsgTo::Box, Beep::Error);
}

// A positive ZMAXRECLEN replaces the profile's record length for this session.
void ApplyRecordLengthOverride(EditBuffer& buffer) {
    std::string value = buffer.host.Setting("ZMAXRECLEN");
    long number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error == std::errc() && end == value.data() + value.size() && number > 0) {
        buffer.profile.maxRecordLength =
            static_cast<std::int32_t>(std::min<long>(number, kProfileRecordLengthMax));
    }
    // A record length outside the profile's range (a damaged record) is brought into it, so the
    // buffer arithmetic below always works on a usable length.
    buffer.profile.maxRecordLength =
        std::clamp(buffer.profile.maxRecordLength, kProfileRecordLengthMin, kProfileRecordLengthMax);
}

// Paths are absolute, at most 255 characters, and hold no NUL.
bool IsValidFileSpecification(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.size() <= kMaxPathLength &&
           path.find('\0') == std::string_view::npos;
}

// The state of a fresh open: everything cleared but the test hooks, the read buffer allocated.
void ResetFileState(EditBuffer& buffer, OpenMode mode, LoadQuiet quiet) {
    LoadReadHooks hooks = std::move(buffer.file.hooks);
    buffer.file = FileState{};
    FileState& file = buffer.file;
    file.hooks = std::move(hooks);
    file.mode = mode;
    file.quiet = quiet;
    file.browseReason = mode == OpenMode::Browse ? BrowseReason::Requested : BrowseReason::None;
    const FileProfile& profile = buffer.profile;
    file.viewOffset = profile.offset;
    file.cobolFolding = profile.offset == 6 && (profile.name == "COB" || profile.name == "CBL");
    file.bufferSize = ReadBufferSize(profile.recordFormat, profile.maxRecordLength);
    file.buffer = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(file.bufferSize));
}

// A file that does not exist, or exists with length 0. BROWSE has nothing to show; EDIT creates the
// file at once and starts with no data lines.
int OpenNewFile(EditBuffer& buffer, bool markNew, bool writeLockWanted) {
    FileState& file = buffer.file;
    const char* name = buffer.fileName.c_str();
    if (file.IsReadOnly()) {
        ReportError(buffer, Format("Unable to BROWSE, '%s' does not exist or has length 0.", name));
        return -1;
    }
    if (markNew) {
        buffer.isNewFile = true;
    }
    if (!CreateAlways(buffer.fileName, OpenAccess::ReadWrite, file.handle).Ok()) {
        ReportError(buffer, Format("Unable to open new file '%s'.", name));
        return -1;
    }
    FileProfile& profile = buffer.profile;
    if (profile.recordFormat == Recfm::Fixed) {
        file.sensedTerminator = EorType::None;
    } else {
        // A new file gets this system's line end, LF, unless its profile asks for CR LF.
        file.sensedTerminator = profile.endOfRecordSequence == EorType::CrLf ? EorType::CrLf : EorType::Lf;
    }
    profile.sensedTerminator = file.sensedTerminator;
    StatHandle(file.handle, file.loadStamp);
    file.firstRead = false;
    file.atEnd = true;
    file.loadComplete = true;
    (void)AppendEndMarker(buffer, LoadEnd::Complete);
    if (writeLockWanted && TryWriteLock(file.handle).Ok()) {
        file.writeLocked = true;
    } else {
        CloseFile(buffer);
    }
    return 0;
}

// Takes the write lock; only a lock held by another open of the file counts against it (a file
// system without locks leaves the file unlocked).
bool LockHeldElsewhere(const FileHandle& handle) {
    IoResult result = TryWriteLock(handle);
    return result.error == EAGAIN || result.error == EACCES;
}

// Opens an existing file for EDIT: read-write with the advisory write lock, so no other editor can
// have it for EDIT at the same time. When that fails (another editor holds the lock, or the system
// refuses write access) the file is opened for reading only and the session becomes BROWSE.
int OpenForEdit(EditBuffer& buffer, const FileStamp& stamp) {
    FileState& file = buffer.file;
    FileStamp opened;
    bool readWrite =
        stamp.isRegular && OpenExisting(buffer.fileName, OpenAccess::ReadWrite, file.handle).Ok() &&
        StatHandle(file.handle, opened).Ok() && opened.isRegular && !LockHeldElsewhere(file.handle);
    if (readWrite) {
        file.loadStamp = opened;
        return 0;
    }
    file.handle.Close();
    if (!stamp.isRegular || !OpenExisting(buffer.fileName, OpenAccess::Read, file.handle).Ok() ||
        !StatHandle(file.handle, opened).Ok() || !opened.isRegular) {
        file.handle.Close();
        ReportError(buffer, Format("'%s' exists but unable to open.", buffer.fileName.c_str()));
        return -1;
    }
    file.loadStamp = opened;
    file.browseReason = BrowseReason::OpenFallback;
    ShowLoadInformation(buffer, Format("'%s' loaded into BROWSE\n", buffer.displayName.c_str()));
    return 0;
}

int OpenForBrowse(EditBuffer& buffer, const FileStamp& stamp) {
    FileState& file = buffer.file;
    FileStamp opened;
    if (!stamp.isRegular || !OpenExisting(buffer.fileName, OpenAccess::Read, file.handle).Ok() ||
        !StatHandle(file.handle, opened).Ok() || !opened.isRegular) {
        file.handle.Close();
        ReportError(buffer, Format("'%s' exists but unable to open for BROWSE.", buffer.fileName.c_str()));
        return -1;
    }
    file.loadStamp = opened;
    return 0;
}

std::int32_t DataLineCount(const EditBuffer& buffer) {
    std::int32_t count = 0;
    for (const LineRecord& line : Lines(buffer)) {
        count += IsDataLine(line) ? 1 : 0;
    }
    return count;
}

// Loads batch after batch. Between batches the status text invites Escape, and a pending Escape
// stops the load: the session keeps the lines read so far, read-only, behind an aborted-load marker.
int LoadAll(EditBuffer& buffer) {
    StorageHost& host = buffer.host;
    FileState& file = buffer.file;
    int status = LoadBatch(buffer);
    while (status == 1) {
        host.ShowLoadStatus("Loading file, press ESC to abort");
        if (host.EscapePressed()) {
            file.browseReason = BrowseReason::LoadAborted;
            file.loadAborted = true;
            file.atEnd = true;
            file.loadComplete = true;
            ReportError(buffer, Format("%s\n\nFile load aborted at line %d.\n\nFile can not be modified.",
                                       buffer.fileName.c_str(), DataLineCount(buffer)));
            (void)AppendEndMarker(buffer, LoadEnd::Aborted);
            CloseFile(buffer);
            break;
        }
        status = LoadBatch(buffer);
    }
    host.ShowLoadStatus("");
    return status == -1 ? -1 : 0;
}

// CAPS ON and OFF are taken as they are. AUTO starts off and, for an EDIT session, looks at the whole
// file: letters that are all uppercase turn CAPS on.
void SettleCaps(EditBuffer& buffer) {
    FileState& file = buffer.file;
    file.capsOn = buffer.profile.caps == CapsMode::On;
    if (buffer.profile.caps != CapsMode::Auto || file.IsReadOnly() ||
        HasQuiet(file.quiet, LoadQuiet::NoCapsScan)) {
        return;
    }
    (void)FinishLoad(buffer);  // an aborted load is reported and leaves the file read-only
    if (!file.IsReadOnly() && HasOnlyUppercaseLetters(buffer)) {
        file.capsOn = true;
        ShowLoadInformation(buffer, "All alphabetic characters are uppercase, CAPS set ON for this file.");
    }
}

}  // namespace

Status OpenFile(EditBuffer& buffer, std::string_view path, OpenMode mode, LoadQuiet quiet) {
    buffer.fileName = std::string(path);
    buffer.directory = PathDirectory(buffer.fileName);
    buffer.displayName = PathFileName(buffer.fileName);
    const bool writeLockWanted = buffer.host.Setting("ZEDITWRITELOCK") == "TRUE";
    const bool virtualWanted = buffer.host.Setting("ZEDITVIRTUALLOAD") == "TRUE";
    buffer.profile.sensedTerminator = EorType::Auto;
    ApplyRecordLengthOverride(buffer);
    ResetFileState(buffer, mode, quiet);
    FileState& file = buffer.file;
    const char* name = buffer.fileName.c_str();

    if (!IsValidFileSpecification(path)) {
        ReportError(buffer, Format("Invalid file name: '%s'", name));
        return -1;
    }
    switch (TestPathExists(buffer.fileName)) {
        case PathKind::Missing:
            if (OpenNewFile(buffer, true, writeLockWanted) != 0) {
                return -1;
            }
            SettleCaps(buffer);
            return 0;
        case PathKind::Unknown:
            ReportError(buffer, Format("'%s' access denied.", name));
            return -1;
        case PathKind::Exists:
            break;
    }

    if (mode == OpenMode::Browse) {
        if (!CanRead(buffer.fileName)) {
            ReportError(buffer, Format("'%s' access denied.", name));
            return -1;
        }
    } else if (!CanReadWrite(buffer.fileName)) {
        if (!CanRead(buffer.fileName)) {
            ReportError(buffer, Format("'%s' access denied.", name));
            return -1;
        }
        file.browseReason = BrowseReason::NoWriteAccess;
        ++buffer.forcedBrowseCount;
    }

    FileStamp stamp;
    if (!StatPath(buffer.fileName, stamp).Ok()) {
        ReportError(buffer, Format("'%s' exists but unable to get status.", name));
        return -1;
    }
    if (stamp.isRegular && stamp.size == 0) {
        if (OpenNewFile(buffer, false, writeLockWanted) != 0) {
            return -1;
        }
        SettleCaps(buffer);
        return 0;
    }

    if (file.IsReadOnly()) {
        if (OpenForBrowse(buffer, stamp) != 0) {
            return -1;
        }
    } else {
        if (OpenForEdit(buffer, stamp) != 0) {
            return -1;
        }
        if (!file.IsReadOnly()) {
            file.writeLocked = writeLockWanted;
            if (virtualWanted) {
                // Only the first batch now; the handle (and its lock) stays until the rest is loaded.
                file.virtualLoad = true;
                if (LoadBatch(buffer) == -1) {
                    CloseFile(buffer);
                    return -1;
                }
                SettleCaps(buffer);
                return 0;
            }
        }
    }

    if (LoadAll(buffer) != 0) {
        CloseFile(buffer);
        return -1;
    }
    if (!file.writeLocked || file.IsReadOnly()) {
        CloseFile(buffer);
    }
    SettleCaps(buffer);
    return 0;
}

void CloseFile(EditBuffer& buffer) {
    buffer.file.handle.Close();
    buffer.file.writeLocked = false;
}

}  // namespace tavoe
