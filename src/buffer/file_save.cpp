#include "buffer/file_save.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/file_name_vars.h"
#include "buffer/numbering.h"
#include "buffer/record_codec.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "platform/save_temps.h"

namespace tavoe {

namespace {

constexpr char kEndOfFileChar = '\x1A';

// How a save that does not replace the file under its own name differs: SAVEAS over a file the user
// agreed to overwrite makes no backup of it, and a failed replace is reported as the failed deletion
// of that file.
enum class SaveKind { Save, SaveAsNew, SaveAsOverwrite };

void Error(EditBuffer& buffer, const std::string& text) {
    ShowMessage(buffer.host, text, MsgTo::Box, Beep::Error);
}

void ReportNotWritten(EditBuffer& buffer) {
    Error(buffer, Format("'%s' not written to disk.", buffer.fileName.c_str()));
}

void ReportReopenForWrite(EditBuffer& buffer) {
    Error(buffer, Format("Unable to re-open '%s' for write, use SAVEAS to save.", buffer.fileName.c_str()));
}

void ReportWriteError(EditBuffer& buffer) {
    Error(buffer, Format("File %s, write error.", buffer.fileName.c_str()));
}

// Whether an existing file may be written, as a read-only attribute would decide it: the user needs
// write access and the permission bits must grant writing to someone.
bool IsWritable(const std::string& path, const FileStamp& stamp) {
    return ::access(path.c_str(), W_OK) == 0 && (stamp.mode & 0222) != 0;
}

// Blank padding added only to show lines at a length goes before a variable-format file is written,
// unless the profile strips trailing blanks anyway.
void StripPadding(EditBuffer& buffer) {
    if (buffer.profile.recordFormat != Recfm::Variable || buffer.profile.stripTrailingBlanks ||
        !buffer.hasPaddedLines) {
        return;
    }
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (LineHasFlag(*line, LineFlagA::BlankPadded)) {
            LineStripPadding(buffer, *line);
        }
    }
    buffer.hasPaddedLines = false;
}

void RunExitMacro(EditBuffer& buffer) {
    std::string macro = buffer.host.Setting("ZXMACRO");
    if (macro.empty()) {
        macro = buffer.profile.xmacro;
    }
    if (!macro.empty()) {
        buffer.host.RunExitMacro(buffer, macro);
    }
}

bool BackupWanted(EditBuffer& buffer) {
    std::string mode = buffer.host.Setting("ZBACKUP");
    return mode == "ALWAYS" || (mode == "FILEPROF" && buffer.profile.backup);
}

// The session's read buffer is the write buffer. It is raised to kSaveBufferSize for the save (the
// load has finished, so nothing reads into it any more): far fewer system calls than with the read
// size of a short-record file, and always room for two whole records with their terminators, so no
// single write of a record can overflow it.
constexpr std::int32_t kSaveBufferSize = 1 << 20;

constexpr int kStaleTempSeconds = 60;

bool PrepareWriteBuffer(FileState& state, const FileProfile& profile) {
    std::int32_t record = std::max(profile.maxRecordLength, kProfileRecordLengthMin) + 2;
    std::int32_t wanted = std::max(
        {ReadBufferSize(profile.recordFormat, profile.maxRecordLength), 2 * record, kSaveBufferSize});
    if (state.buffer == nullptr || state.bufferSize < wanted) {
        state.buffer.reset(new (std::nothrow) char[static_cast<std::size_t>(wanted)]);
        state.bufferSize = state.buffer ? wanted : 0;
        state.bytesInBuffer = 0;
    }
    state.writePos = 0;
    state.carry = 0;
    state.flushedBytes = 0;
    return state.buffer != nullptr;
}

enum class WriteOutcome { Ok, WriteFailed, ProfileCorrupted, NoMemory };

// Translates `count` bytes of a line of an EBCDIC file into the disk's codes.
XlateResult TranslateForDisk(EditBuffer& buffer, const char* text, char* out, std::uint32_t count) {
    const int n = static_cast<int>(count);
    return buffer.profile.displayCharset == ProfileCharset::AsciiIso8859
               ? TranslateIsoToEbcdic(buffer.host, text, out, n)
               : TranslatePcToEbcdic(buffer.host, text, out, n);
}

// Room for `count` bytes at the end of the write buffer, flushing it first when they would not fit:
// the place to write them, or nullptr when the flush failed. `count` must not exceed the buffer.
char* ReserveBuffered(FileState& state, const FileHandle& handle, int count) {
    if (state.writePos + count > state.bufferSize && FlushBuffered(state, handle) != 0) {
        return nullptr;
    }
    char* at = state.buffer.get() + state.writePos;
    state.writePos += count;
    state.carry = state.writePos;
    return at;
}

// An unedited line whose record's disk bytes were kept at load goes back with those bytes: the line
// still holds exactly what the load made of them. 1 when written, 0 when the line is to be written
// the ordinary way, -1 when the write failed.
int WriteKeptRecord(EditBuffer& buffer, const LineRecord& line, const FileHandle& out,
                    std::string_view terminator, std::vector<char>& decoded) {
    FileState& state = buffer.file;
    if (state.originals.Empty() || line.recordNumber == 0) {
        return 0;
    }
    bool found = false;
    std::string_view raw = state.originals.Find(line.recordNumber, &found);
    if (!found) {
        return 0;
    }
    const FileProfile& profile = buffer.profile;
    const bool padded = profile.recordFormat == Recfm::Fixed || profile.padShortRecsWithBlank;
    const auto padTo = padded ? static_cast<std::uint32_t>(std::max(profile.maxRecordLength, 0)) : 0u;
    if (DecodeRecord(buffer, raw, padTo, decoded) != LineText(line)) {
        return 0;
    }
    if (WriteBuffered(state, out, raw.data(), static_cast<int>(raw.size())) != 0 ||
        WriteBuffered(state, out, terminator.data(), static_cast<int>(terminator.size())) != 0) {
        return -1;
    }
    return 1;
}

// Writes every data line into the open temporary file.
WriteOutcome WriteRecords(EditBuffer& buffer, const FileHandle& out) {
    FileProfile& profile = buffer.profile;
    FileState& state = buffer.file;
    if (!PrepareWriteBuffer(state, profile)) {
        return WriteOutcome::NoMemory;
    }
    const bool fixed = profile.recordFormat == Recfm::Fixed;
    if (!fixed && profile.recordFormat != Recfm::Variable) {
        return WriteOutcome::ProfileCorrupted;
    }
    const std::uint32_t maxLength =
        static_cast<std::uint32_t>(std::clamp(profile.maxRecordLength, 1, kProfileRecordLengthMax));
    const bool ebcdic = profile.diskCharset == ProfileCharset::Ebcdic;
    const int tabWidth = fixed ? 0 : profile.tabsInsertOnWrite;
    const std::string_view terminator =
        fixed ? "" : (profile.sensedTerminator == EorType::Lf ? "\n" : "\r\n");
    UntranslatableReport report;
    std::vector<char> encoded;
    std::vector<char> decoded;

    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (LineHasFlag(*line, LineFlagA::InsertPending)) {
            continue;  // a line offered for typing that was never typed into is no record
        }
        if ((fixed || profile.padShortRecsWithBlank) && line->length < maxLength &&
            LinePadTo(buffer, *line, maxLength) != 0) {
            return WriteOutcome::NoMemory;
        }
        if (int kept = WriteKeptRecord(buffer, *line, out, terminator, decoded); kept != 0) {
            if (kept < 0) {
                return WriteOutcome::WriteFailed;
            }
            continue;
        }
        if (tabWidth == 0 && !(!fixed && profile.stripTrailingBlanks)) {
            // The common case: the record and its terminator go straight into the write buffer,
            // EBCDIC translated on the way.
            const std::uint32_t n = std::min(line->length, maxLength);
            const int size = static_cast<int>(n + terminator.size());
            char* at = ReserveBuffered(state, out, size);
            if (at == nullptr) {
                return WriteOutcome::WriteFailed;
            }
            if (ebcdic && n > 0 && TranslateForDisk(buffer, line->text, at, n) == XlateResult::Substituted) {
                ReportUntranslatable(buffer.host, report, buffer.fileName, CharSet::AsciiIso8859,
                                     CharSet::Ebcdic);
            } else if (!ebcdic && n > 0) {
                std::memcpy(at, line->text, n);
            }
            std::memcpy(at + n, terminator.data(), terminator.size());
            continue;
        }
        bool substituted = false;
        std::string_view bytes = EncodeRecord(buffer, LineText(*line), encoded, &substituted);
        if (substituted) {
            ReportUntranslatable(buffer.host, report, buffer.fileName, CharSet::AsciiIso8859,
                                 CharSet::Ebcdic);
        }
        if (WriteBuffered(state, out, bytes.data(), static_cast<int>(bytes.size())) != 0 ||
            WriteBuffered(state, out, terminator.data(), static_cast<int>(terminator.size())) != 0) {
            return WriteOutcome::WriteFailed;
        }
    }
    if (!fixed && profile.endOfFileCharWrite && WriteBuffered(state, out, &kEndOfFileChar, 1) != 0) {
        return WriteOutcome::WriteFailed;
    }
    return FlushBuffered(state, out) == 0 ? WriteOutcome::Ok : WriteOutcome::WriteFailed;
}

// Keeps the previous contents of `target` (the file the session's name leads to) as the backup.
// The file itself is left in place: the new contents replace it in one step afterwards.
// A file written in place (it has other hard links) gets a copy: a link would be written over too.
int MakeBackup(EditBuffer& buffer, const std::string& target, bool inPlace) {
    const FileProfile& profile = buffer.profile;
    if (profile.backupAlternatePath.empty()) {
        std::string backup = buffer.fileName + ".bak";
        if (!PreserveFileAs(target, backup, inPlace ? LinkOrCopy::CopyOnly : LinkOrCopy::Link).Ok()) {
            Error(buffer, Format("Unable to rename modified file to '%s.bak' for backup, use SAVEAS to save.",
                                 buffer.fileName.c_str()));
            return -1;
        }
        return 0;
    }
    std::string directory = profile.backupAlternatePath;
    if (directory.back() != '/') {
        directory += '/';
    }
    std::string backup = directory + buffer.displayName;
    if (!PreserveFileAs(target, backup, LinkOrCopy::CopyOnly).Ok()) {
        Error(buffer, Format("Unable to copy modified file '%s' to '%s' for backup, use SAVEAS to save.",
                             buffer.fileName.c_str(), backup.c_str()));
        return -1;
    }
    return 0;
}

// The backup directory may not be the file's own: the backup would be the file itself.
bool BackupPathIsOwnDirectory(const EditBuffer& buffer) {
    std::string directory = buffer.profile.backupAlternatePath;
    if (directory.empty()) {
        return false;
    }
    if (directory.back() != '/') {
        directory += '/';
    }
    return directory == buffer.directory;
}

// After the new contents are in place: with ZEDITWRITELOCK "TRUE" (and the session staying open) the
// file is opened and locked again; either way its new stamp becomes the one the next save compares.
void TakeNewStamp(EditBuffer& buffer, SaveClosing closing, const std::string& target) {
    FileState& state = buffer.file;
    state.handle.Close();
    state.writeLocked = false;
    if (closing == SaveClosing::No && buffer.host.SettingIsTrue("ZEDITWRITELOCK")) {
        FileHandle handle;
        if (OpenExisting(target, OpenAccess::ReadWrite, handle).Ok() && TryWriteLock(handle).Ok()) {
            state.handle = std::move(handle);
            state.writeLocked = true;
        } else {
            Error(buffer, Format("Unable to re-open '%s' for write after SAVE.", buffer.fileName.c_str()));
        }
    }
    FileStamp stamp;
    IoResult result = state.handle.IsOpen() ? StatHandle(state.handle, stamp) : StatPath(target, stamp);
    state.loadStamp = result.Ok() ? stamp : FileStamp{};
}

Status SaveFileAs(EditBuffer& buffer, SaveClosing closing, SaveKind kind) {
    (void)FinishLoad(buffer);  // an aborted load leaves the session read-only: refused below
    StripPadding(buffer);
    RunExitMacro(buffer);
    if (buffer.file.IsReadOnly()) {
        Error(buffer, "Can not save READ-ONLY file.");
        return -1;
    }
    FileState& state = buffer.file;

    std::string target;
    if (!ResolveWriteTarget(buffer.fileName, target).Ok()) {
        ReportNotWritten(buffer);
        return -1;
    }
    // Another program's change since the load or the last save: the file under the name is no longer
    // the one seen then (other size or modification time, or another file renamed or linked in). The
    // write lock is advisory, so a locked file is checked too.
    if (state.loadStamp.valid || state.changedWhileLoading) {
        FileStamp now;
        if (!StatPath(target, now).Ok()) {
            ReportNotWritten(buffer);
            return -1;
        }
        if (state.changedWhileLoading || !SameFileStamp(now, state.loadStamp)) {
            Error(buffer, Format("%s modified by other program, can not write under this name, use SAVEAS to "
                                 "save contents.",
                                 buffer.fileName.c_str()));
            return -1;
        }
    }

    // Records the load split into several lines or cut short would be written that way: the file's
    // own name is replaced only when the user agrees.
    if (kind == SaveKind::Save && state.splitRecords + state.cutRecords > 0 &&
        !buffer.host.ConfirmSave(
            Format("'%s' has %u records that are written split into several records and %u "
                   "records that are written cut short, because they were longer than the "
                   "record length when loaded. Save under this name anyway?",
                   buffer.fileName.c_str(), state.splitRecords, state.cutRecords))) {
        Error(buffer,
              Format("'%s' not saved: its long records would be written split or cut short. Use SAVEAS "
                     "to save under another name.",
                     buffer.fileName.c_str()));
        return -1;
    }

    FileStamp existing;
    int statError = 0;
    if (IoResult result = StatPath(target, existing); !result.Ok()) {
        statError = result.error;
        if (statError != ENOENT && statError != ENOTDIR) {
            ReportNotWritten(buffer);
            return -1;
        }
        existing = FileStamp{};
    }
    if (existing.valid && (!existing.isRegular || !IsWritable(target, existing))) {
        ReportReopenForWrite(buffer);
        return -1;
    }
    const bool backup =
        kind != SaveKind::SaveAsOverwrite && existing.valid && existing.size > 0 && BackupWanted(buffer);
    if (backup && BackupPathIsOwnDirectory(buffer)) {
        Error(buffer,
              "Can not backup modified file, backup path is same as current path, use SAVEAS to save.");
        return -1;
    }

    // Leftovers of saves of this file that were killed; a minute without writes tells them from a
    // save in progress in another instance.
    (void)RemoveStaleTemps(target, kStaleTempSeconds);
    TempFile temp;
    if (IoResult created = CreateTempBeside(target, temp.handle, temp.path); !created.Ok()) {
        if (kind == SaveKind::Save) {
            ReportReopenForWrite(buffer);
        } else {
            Error(buffer, Format("SAVEAS could not create '%s': %s.", buffer.fileName.c_str(),
                                 std::strerror(created.error)));
        }
        return -1;
    }
    if (existing.valid) {
        FileAttributes attributes;
        if (ReadAttributes(target, attributes).Ok()) {
            ApplyAttributes(temp.handle, attributes);
        }
    }

    if (buffer.profile.numberAuto == NumberAuto::Full && buffer.profile.numberType != NumberType::None) {
        Renumber(buffer);
    }
    switch (WriteRecords(buffer, temp.handle)) {
        case WriteOutcome::Ok:
            break;
        case WriteOutcome::ProfileCorrupted:
            Error(buffer, "File profile corrupted, unable to write.");
            return -1;
        case WriteOutcome::WriteFailed:
            ReportWriteError(buffer);
            return -1;
        case WriteOutcome::NoMemory:
            ReportNotWritten(buffer);
            return -1;
    }
    if (!SyncFile(temp.handle).Ok()) {
        ReportWriteError(buffer);
        return -1;
    }
    temp.handle.Close();

    // A file with other hard links is written in place, so every name keeps seeing one file; any
    // other file is replaced in one step by the temporary one.
    const bool inPlace = existing.valid && existing.linkCount > 1;
    if (backup && MakeBackup(buffer, target, inPlace) != 0) {
        return -1;
    }
    if (inPlace) {
        if (!ReplaceContentsInPlace(temp.path, target).Ok()) {
            ReportWriteError(buffer);
            return -1;
        }
        temp.Discard();
    } else if (!ReplaceFile(temp.path, target).Ok()) {
        if (kind == SaveKind::SaveAsOverwrite) {
            Error(buffer, "Unable to delete existing file.");
        } else if (backup && !buffer.profile.backupAlternatePath.empty()) {
            std::string directory = buffer.profile.backupAlternatePath;
            if (directory.back() != '/') {
                directory += '/';
            }
            Error(buffer, Format("Unable to delete modified file '%s' after copy to '%s' for backup, use "
                                 "SAVEAS to save.",
                                 buffer.fileName.c_str(), (directory + buffer.displayName).c_str()));
        } else {
            ReportWriteError(buffer);
        }
        return -1;
    }
    temp.Committed();
    SyncDirectoryOf(target);

    if (!HasQuiet(state.quiet, LoadQuiet::NoSummary)) {
        ShowMessage(buffer.host, "File saved", MsgTo::Line, Beep::Information);
    }
    TakeNewStamp(buffer, closing, target);
    state.splitRecords = state.cutRecords = 0;  // the file now holds the records as the lines show them
    buffer.modified = false;
    return 0;
}

bool IsDirectory(const std::string& path) {
    FileStamp stamp;
    return StatPath(path, stamp).Ok() && stamp.isDirectory;
}

std::uint32_t LongestDataLine(const EditBuffer& buffer) {
    std::uint32_t longest = 0;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        longest = std::max(longest, line->length);
    }
    return longest;
}

}  // namespace

Status SaveFile(EditBuffer& buffer, SaveClosing closing) {
    return SaveFileAs(buffer, closing, SaveKind::Save);
}

Status SaveFileAs(EditBuffer& buffer, std::string_view newPath, const ConfirmOverwrite& confirmOverwrite,
                  const FileProfile* targetProfile) {
    std::string path(newPath);
    if (path.empty() || path.back() == '/' || IsDirectory(path)) {
        Error(buffer, "Target file is a directory, please provide file name.");
        return -1;
    }
    SaveKind kind = SaveKind::Save;
    FileStamp existing;
    if (StatPath(path, existing).Ok() || TestPathExists(path) == PathKind::Exists) {
        if (!confirmOverwrite || !confirmOverwrite("File already exists, OK to overwrite it?")) {
            return -1;
        }
        // The old file goes only when the new contents are complete; one that may not be written
        // (no write permission) is not overwritten.
        std::string target;
        if (!ResolveWriteTarget(path, target).Ok() || !StatPath(target, existing).Ok() ||
            !existing.isRegular || !IsWritable(target, existing)) {
            Error(buffer, "Unable to delete existing file.");
            return -1;
        }
        kind = SaveKind::SaveAsOverwrite;
    }
    // A read-only session is refused before it takes the new name, so the refusal changes nothing.
    (void)FinishLoad(buffer);  // an aborted load leaves the session read-only: refused below
    if (buffer.file.IsReadOnly()) {
        Error(buffer, "Can not save READ-ONLY file.");
        return -1;
    }
    if (targetProfile != nullptr && targetProfile->name != buffer.profile.name &&
        LongestDataLine(buffer) > static_cast<std::uint32_t>(std::max(targetProfile->maxRecordLength, 0))) {
        Error(buffer,
              "Current file actual record lengths exceeds target file type max record length, try again.");
        return -1;
    }
    // What the session had under its old name, given back when the save under the new one fails.
    FileState& state = buffer.file;
    const std::string oldName = buffer.fileName;
    const bool wasLocked = state.writeLocked;
    const FileStamp oldStamp = state.loadStamp;
    const bool oldChanged = state.changedWhileLoading;
    const std::uint32_t oldSplit = state.splitRecords;
    const std::uint32_t oldCut = state.cutRecords;
    const bool oldNew = buffer.isNewFile;
    CloseFile(buffer);
    state.writeLocked = false;
    state.loadStamp = FileStamp{};  // the new file has no load of its own to compare with
    state.changedWhileLoading = false;
    state.splitRecords = state.cutRecords = 0;  // nothing of the new name was split
    SetBufferFileName(buffer, path);
    // Ending the session removes the file again when it is new and still empty; a file that existed
    // before is never new.
    buffer.isNewFile = kind != SaveKind::SaveAsOverwrite;
    int result = SaveFileAs(buffer, SaveClosing::No, kind == SaveKind::Save ? SaveKind::SaveAsNew : kind);
    if (result != 0) {
        SetBufferFileName(buffer, oldName);
        state.loadStamp = oldStamp;
        state.changedWhileLoading = oldChanged;
        state.splitRecords = oldSplit;
        state.cutRecords = oldCut;
        buffer.isNewFile = oldNew;
        if (wasLocked) {
            FileHandle handle;
            if (OpenExisting(oldName, OpenAccess::ReadWrite, handle).Ok() && TryWriteLock(handle).Ok()) {
                state.handle = std::move(handle);
                state.writeLocked = true;
            }
        }
        SetFileNameVariables(buffer.host, oldName);
        return result;
    }
    SetFileNameVariables(buffer.host, path);
    return result;
}

Status WriteBuffered(FileState& state, const FileHandle& handle, const char* bytes, int count) {
    if (count <= 0) {
        return 0;
    }
    if (state.writePos + count > state.bufferSize && FlushBuffered(state, handle) != 0) {
        return -1;
    }
    if (count > state.bufferSize) {
        std::size_t written = 0;
        return WriteAll(handle, bytes, static_cast<std::size_t>(count), &written).Ok() ? 0 : -1;
    }
    std::memcpy(state.buffer.get() + state.writePos, bytes, static_cast<std::size_t>(count));
    state.writePos += count;
    state.carry = state.writePos;
    return 0;
}

Status FlushBuffered(FileState& state, const FileHandle& handle) {
    if (state.writePos <= 0) {
        return 0;
    }
    std::size_t written = 0;
    IoResult result =
        WriteAll(handle, state.buffer.get(), static_cast<std::size_t>(state.writePos), &written);
    // The disk starts on what was written while the next buffer fills, so the sync that ends a save
    // waits for the last part only.
    StartWriteBack(handle, state.flushedBytes, static_cast<std::int64_t>(written));
    state.flushedBytes += static_cast<std::int64_t>(written);
    state.writePos = 0;
    state.carry = 0;
    return result.Ok() ? 0 : -1;
}

int CompressTabs(const char* in, int count, int width, char blank, char tab, char* out) {
    if (width <= 0) {
        std::memmove(out, in, static_cast<std::size_t>(std::max(count, 0)));
        return std::max(count, 0);
    }
    int written = 0;
    for (int start = 0; start < count; start += width) {
        int piece = std::min(width, count - start);
        bool allBlanks = piece == width &&
                         std::all_of(in + start, in + start + piece, [blank](char c) { return c == blank; });
        if (allBlanks) {
            out[written++] = tab;
        } else {
            std::memmove(out + written, in + start, static_cast<std::size_t>(piece));
            written += piece;
        }
    }
    return written;
}

}  // namespace tavoe
