// Reading a file batch by batch and cutting the read buffer into records.

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/file_load_records.h"
#include "core/message.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// A batch ends once this many records were made; the test is made before each buffer read, so a
// batch can hold more.
constexpr std::uint32_t kBatchRecords = 120;
// A batch also ends after this many reads, so a stretch of file that makes no records (a long record
// being dropped after truncation) still lets the caller look for Escape now and then.
constexpr int kBatchReads = 16;
constexpr std::int32_t kMinReadBuffer = 8192;
constexpr std::int32_t kMaxReadBuffer = 64000;
constexpr std::int32_t kBufferGrowth = 4096;
constexpr char kEndOfFileChar = '\x1A';

void ReportError(EditBuffer& buffer, const std::string& text) {
    ShowMessage(buffer.host, text, MsgTo::Box, Beep::Error);
}

// Makes room for the next read: the carried bytes of an incomplete record move to the front, and a
// buffer that the record length has outgrown is replaced by a larger one holding them.
bool PrepareBuffer(EditBuffer& buffer) {
    FileState& file = buffer.file;
    char* data = file.buffer.get();
    if (file.carry > 0 && file.bytesInBuffer > file.carry) {
        std::memmove(data, data + file.bytesInBuffer - file.carry, static_cast<std::size_t>(file.carry));
    }
    file.bytesInBuffer = file.carry;
    if (buffer.profile.maxRecordLength <= file.bufferSize) {
        return true;
    }
    std::int32_t size = ReadBufferSize(buffer.profile.recordFormat, buffer.profile.maxRecordLength);
    auto larger = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size));
    std::memcpy(larger.get(), data, static_cast<std::size_t>(file.carry));
    file.buffer = std::move(larger);
    file.bufferSize = size;
    return true;
}

// Fills the buffer behind the carried bytes (the whole buffer on the first read). A read that comes
// back short has met the end of the file.
bool ReadIntoBuffer(EditBuffer& buffer) {
    FileState& file = buffer.file;
    std::size_t want = static_cast<std::size_t>(file.bufferSize - file.carry);
    if (file.hooks.readSizeLimit > 0) {
        want = std::min(want, static_cast<std::size_t>(file.hooks.readSizeLimit));
    }
    std::size_t got = 0;
    char* into = file.buffer.get() + file.carry;
    IoResult result = file.hooks.read ? file.hooks.read(file.handle, into, want, &got)
                                      : ReadFull(file.handle, into, want, &got);
    if (!result.Ok()) {
        ReportError(buffer, Format("READ I/O error on file %s.", buffer.fileName.c_str()));
        return false;
    }
    file.bytesConsumed += static_cast<std::int64_t>(got);
    file.bytesInBuffer = file.carry + static_cast<std::int32_t>(got);
    file.carry = 0;
    file.tabSeen = false;
    if (got < want) {
        file.atEnd = true;
    }
    return true;
}

void ReportNoTerminator(EditBuffer& buffer) {
    ReportError(buffer, Format("Unable to sense LF or CRLF record terminator in '%s', file load aborted.",
                               buffer.fileName.c_str()));
}

// The first CR LF or lone LF in the bytes decides the terminator; a lone CR is passed over.
EorType SenseTerminator(const char* data, std::int32_t count) {
    const char* end = data + count;
    for (const char* p = data; p < end; ++p) {
        if (*p == '\n') {
            return EorType::Lf;
        }
        if (*p == '\r' && p + 1 < end && p[1] == '\n') {
            return EorType::CrLf;
        }
    }
    return EorType::Auto;
}

// Settles the terminator on the first read of a variable-format file. AUTO senses it; None (meant
// for fixed files) senses it too but falls back to ANY instead of failing, so such a load always
// makes progress. False when AUTO finds neither terminator.
bool SettleTerminator(EditBuffer& buffer) {
    FileState& file = buffer.file;
    FileProfile& profile = buffer.profile;
    EorType setting = profile.endOfRecordSequence;
    EorType sensed = setting;
    if (file.bytesInBuffer == 0) {
        sensed = setting == EorType::Lf ? EorType::Lf : EorType::CrLf;
    } else if (setting == EorType::Auto || setting == EorType::None) {
        sensed = SenseTerminator(file.buffer.get(), file.bytesInBuffer);
        if (sensed == EorType::Auto) {
            if (setting == EorType::None) {
                sensed = EorType::Any;
            } else if (file.atEnd) {
                ReportNoTerminator(buffer);
                return false;
            }
            // Otherwise the first record is longer than this read: the terminator stays "not yet
            // sensed" and is looked for again in every further read until one shows up.
        }
    }
    file.sensedTerminator = sensed;
    profile.sensedTerminator = sensed;
    return true;
}

// A read after a first one that held no terminator: the terminator is sensed in what is in the buffer
// now (the carried bytes included, so a CR LF split between reads is seen). At the end of a file that
// holds no terminator at all the load is aborted, as it is when the first read shows none.
bool SenseWhilePending(EditBuffer& buffer) {
    FileState& file = buffer.file;
    EorType sensed = SenseTerminator(file.buffer.get(), file.bytesInBuffer);
    if (sensed == EorType::Auto) {
        if (!file.atEnd) {
            return true;
        }
        ReportNoTerminator(buffer);
        return false;
    }
    file.sensedTerminator = sensed;
    buffer.profile.sensedTerminator = sensed;
    return true;
}

// The LF that ends the record starting at `from`, or nullptr. Under CRLF only an LF right behind a CR
// of the same record counts; a lone LF is data.
const char* FindRecordEnd(const char* from, const char* end, EorType terminator) {
    const char* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
    if (terminator != EorType::CrLf) {
        return lf;
    }
    while (lf != nullptr && (lf == from || lf[-1] != '\r')) {
        lf = static_cast<const char*>(std::memchr(lf + 1, '\n', static_cast<std::size_t>(end - lf - 1)));
    }
    return lf;
}

// A record that filled the whole buffer without a terminator. With room to grow and
// AutoIncreaseRecLen on, the record length grows by 4096 (the buffer follows before the next read)
// and the bytes stay carried; otherwise the buffer's content is taken as a record. A CR at the very
// end stays behind, since it may begin the CR LF that ends the rest. Returns the bytes consumed.
std::int32_t HandleLongRecord(EditBuffer& buffer, char* data, std::int32_t count, bool* ok) {
    FileState& file = buffer.file;
    FileProfile& profile = buffer.profile;
    const std::int32_t oldSize = file.bufferSize;
    if (oldSize < kMaxReadBuffer && profile.autoIncreaseRecLen) {
        RaiseMaxRecordLength(buffer, std::min(oldSize + kBufferGrowth, kMaxReadBuffer));
    }
    if (profile.maxRecordLength > oldSize) {
        if (profile.autoIncreaseNotify) {
            ReportError(
                buffer,
                Format("File '%s' has record which exceeds read buffer size of %d.\n\nRead buffer "
                       "size increased to %d. File Profile %s, field 'MaxRecordLength', set equal "
                       "to new read buffer size.",
                       buffer.fileName.c_str(), oldSize, profile.maxRecordLength, profile.name.c_str()));
        }
        return 0;
    }
    std::int32_t take = count;
    if (file.sensedTerminator != EorType::Lf && take > 1 && data[take - 1] == '\r') {
        --take;
    }
    *ok = MakeVariableRecordLines(buffer, data, take);
    file.splitRecordOpen = true;
    return take;
}

// Cuts the valid bytes into variable-format records. What is left of an incomplete record stays as
// `carry` for the next read; at the end of the file it is the last record.
bool CutVariableRecords(EditBuffer& buffer) {
    FileState& file = buffer.file;
    char* data = file.buffer.get();
    const char* end = data + file.bytesInBuffer;
    const EorType terminator = file.sensedTerminator;
    const bool eofChar = buffer.profile.endOfFileCharRead;
    char* pos = data;
    while (pos < end) {
        if (file.splitRecordOpen) {
            // Right behind a record taken at the buffer's end: its own terminator ends it quietly.
            const bool crLf = terminator != EorType::Lf && *pos == '\r';
            if (crLf && pos + 1 == end && !file.atEnd) {
                break;  // the LF may come with the next read
            }
            file.splitRecordOpen = false;
            if (crLf && pos + 1 < end && pos[1] == '\n') {
                file.splitCounted = false;
                pos += 2;
                continue;
            }
            if (*pos == '\n' && terminator != EorType::CrLf) {
                file.splitCounted = false;
                ++pos;
                continue;
            }
            // More of the same record follows: it really is longer than the buffer.
            if (file.bufferSize >= kMaxReadBuffer && !file.longRecordReported) {
                // Said once per load: a file without terminators would otherwise raise it for every
                // buffer.
                ReportError(buffer, "Individual record length exceeds 64000.");
                file.longRecordReported = true;
            }
            file.skippingSplitRecord = buffer.profile.truncateLongLines;
            if (!file.splitCounted) {
                file.splitCounted = true;
                ++(file.skippingSplitRecord ? file.cutRecords : file.splitRecords);
            }
        }
        if (file.skippingSplitRecord) {
            const char* lf = FindRecordEnd(pos, end, terminator);
            if (lf == nullptr) {
                // Drop what was read, but keep a final CR: it may begin the CR LF that ends the record.
                pos = terminator != EorType::Lf && end[-1] == '\r' && !file.atEnd ? const_cast<char*>(end) - 1
                                                                                  : const_cast<char*>(end);
                break;
            }
            file.skippingSplitRecord = false;
            pos = const_cast<char*>(lf) + 1;
            continue;
        }
        if (eofChar && *pos == kEndOfFileChar) {
            file.eofCharSeen = true;
            file.atEnd = true;
            pos = const_cast<char*>(end);
            break;
        }
        const char* lf = FindRecordEnd(pos, end, terminator);
        if (lf != nullptr) {
            const char* recordEnd = lf;
            if (terminator != EorType::Lf && recordEnd > pos && recordEnd[-1] == '\r') {
                --recordEnd;
            }
            if (!MakeVariableRecordLines(buffer, pos, static_cast<std::int32_t>(recordEnd - pos))) {
                return false;
            }
            file.splitCounted = false;
            pos = const_cast<char*>(lf) + 1;
            continue;
        }
        auto rest = static_cast<std::int32_t>(end - pos);
        if (file.atEnd) {
            if (!MakeVariableRecordLines(buffer, pos, rest)) {
                return false;
            }
            pos = const_cast<char*>(end);
            break;
        }
        if (rest < file.bufferSize) {
            break;  // carried into the next read
        }
        bool ok = true;
        pos += HandleLongRecord(buffer, pos, rest, &ok);
        if (!ok) {
            return false;
        }
        break;
    }
    file.carry = static_cast<std::int32_t>(end - pos);
    return true;
}

// Cuts the valid bytes into records of exactly the record length; a shorter rest is carried, or, at
// the end of the file, is the short last record.
bool CutFixedRecords(EditBuffer& buffer) {
    FileState& file = buffer.file;
    char* data = file.buffer.get();
    const std::int32_t length = buffer.profile.maxRecordLength;
    std::int32_t pos = 0;
    for (; file.bytesInBuffer - pos >= length; pos += length) {
        if (!MakeFixedRecordLine(buffer, data + pos, length)) {
            return false;
        }
    }
    std::int32_t rest = file.bytesInBuffer - pos;
    if (rest > 0 && file.atEnd) {
        if (!MakeFixedRecordLine(buffer, data + pos, rest)) {
            return false;
        }
        rest = 0;
    }
    file.carry = rest;
    return true;
}

// The one information message at the end of a load, made of the lines that apply.
void ShowLoadSummary(EditBuffer& buffer) {
    std::string text;
    if (buffer.forcedBrowseCount > 0) {
        text += Format("'%s' loaded into BROWSE\n", buffer.displayName.c_str());
    }
    if (buffer.shortLastRecordCount > 0) {
        text += "Last rec short, padded to max rec len\n";
    }
    if (buffer.foldedCount > 0) {
        text += Format("Long rec folded at max rec len: %d times\n", buffer.foldedCount);
    }
    if (buffer.truncatedCount > 0) {
        text += Format("Long rec truncated at max rec len: %d times\n", buffer.truncatedCount);
    }
    if (!text.empty()) {
        ShowLoadInformation(buffer, std::move(text));
    }
}

// Whether the open file is no longer what it was when the load began: rewritten, truncated or
// appended to by another program. What is read next would then belong to another version.
bool FileChangedSinceOpen(EditBuffer& buffer) {
    const FileState& file = buffer.file;
    if (!file.loadStamp.valid) {
        return false;
    }
    FileStamp now;
    return !StatHandle(file.handle, now).Ok() || !SameFileStamp(now, file.loadStamp);
}

// Ends a load whose file changed under it: the lines read so far stay (editable, so nothing typed is
// lost), nothing more is read, and the session may not save under this name.
void StopChangedLoad(EditBuffer& buffer) {
    FileState& file = buffer.file;
    file.changedWhileLoading = true;
    file.atEnd = true;
    file.loadComplete = true;
    (void)AppendEndMarker(buffer, LoadEnd::Aborted);
    CloseFile(buffer);
    ReportError(buffer, Format("'%s' was changed by another program while it was being loaded. Loading "
                               "stopped after record %u; the rest of the file is not shown. The lines "
                               "shown can be saved only under another name (SAVEAS).",
                               buffer.fileName.c_str(), file.recordCount));
}

}  // namespace

std::int32_t ReadBufferSize(Recfm format, std::int32_t maxRecordLength) {
    std::int32_t length = std::clamp(maxRecordLength, 1, kMaxReadBuffer);
    if (format == Recfm::Fixed) {
        std::int32_t size = length * 50;
        if (size < kMinReadBuffer) {
            return kMinReadBuffer / length * length;
        }
        if (size > kMaxReadBuffer) {
            return kMaxReadBuffer / length * length;
        }
        return size;
    }
    return std::clamp(2 * length, kMinReadBuffer, kMaxReadBuffer);
}

int LoadBatch(EditBuffer& buffer) {
    FileState& file = buffer.file;
    if (!IsFileProfile(buffer.profile) || !file.buffer || !file.handle.IsOpen() || file.atEnd) {
        return 0;
    }
    if (!file.firstRead && FileChangedSinceOpen(buffer)) {
        StopChangedLoad(buffer);
        return 0;
    }
    const std::uint32_t startCount = file.recordCount;
    bool aborted = false;
    for (int reads = 0; !file.atEnd && file.recordCount - startCount < kBatchRecords && reads < kBatchReads;
         ++reads) {
        if (!PrepareBuffer(buffer) || !ReadIntoBuffer(buffer)) {
            aborted = true;
            break;
        }
        const bool variable = buffer.profile.recordFormat != Recfm::Fixed;
        if (file.firstRead) {
            file.firstRead = false;
            if (!variable) {
                file.sensedTerminator = buffer.profile.sensedTerminator = EorType::None;
            } else if (!SettleTerminator(buffer)) {
                aborted = true;
                break;
            }
        } else if (variable && file.sensedTerminator == EorType::Auto && !SenseWhilePending(buffer)) {
            aborted = true;
            break;
        }
        if (!(variable ? CutVariableRecords(buffer) : CutFixedRecords(buffer))) {
            aborted = true;
            break;
        }
    }

    if (aborted) {
        file.loadAborted = true;
        file.atEnd = true;
        file.loadComplete = true;
        if (file.browseReason == BrowseReason::None) {
            file.browseReason = BrowseReason::LoadFailed;
        }
        (void)AppendEndMarker(buffer, LoadEnd::Aborted);
        CloseFile(buffer);
        return -1;
    }
    if (!file.atEnd) {
        return 1;
    }
    (void)AppendEndMarker(buffer, LoadEnd::Complete);
    file.loadComplete = true;
    if (!file.writeLocked) {
        CloseFile(buffer);
    }
    if (!HasQuiet(file.quiet, LoadQuiet::NoSummary)) {
        ShowLoadSummary(buffer);
    }
    return 0;
}

Status FinishLoad(EditBuffer& buffer) {
    int status = 1;
    while (status == 1) {
        status = LoadBatch(buffer);
    }
    return buffer.file.loadAborted ? -1 : 0;
}

void ShowLoadInformation(EditBuffer& buffer, std::string text) {
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    const MsgTo to = text.find('\n') == std::string::npos ? MsgTo::Line : MsgTo::Box;
    ShowMessage(buffer.host, text, to, Beep::Information);
}

}  // namespace tavoe
