#include "utilities/convert_run.h"

#include <algorithm>
#include <vector>

#include "buffer/charset.h"
#include "core/app_session.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "platform/file_io.h"
#include "platform/file_write.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr size_t kBlock = 1 << 20;
// Longest variable record the terminator conversions look for a terminator in.
constexpr size_t kMaxVariableRecord = 4094;

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Error);
}

// Reads the old file block by block.
class Reader {
public:
    Reader(AppSession& app, const std::string& path) : app_(app), path_(path), block_(kBlock) {}

    bool Open() {
        if (!OpenExisting(path_, OpenAccess::Read, handle_).Ok()) {
            Error(app_, Format("Unable to open %s for READ", path_.c_str()));
            return false;
        }
        return true;
    }

    // The next block; empty at the end. `failed` is set after a read error (already shown).
    std::string_view Next() {
        if (ended_) {
            return {};
        }
        size_t got = 0;
        if (!ReadFull(handle_, block_.data(), block_.size(), &got).Ok()) {
            Error(app_, Format("Error reading %s", path_.c_str()));
            failed = true;
            ended_ = true;
            return {};
        }
        ended_ = got < block_.size();
        return {block_.data(), got};
    }

    bool failed = false;

private:
    AppSession& app_;
    std::string path_;
    FileHandle handle_;
    std::vector<char> block_;
    bool ended_ = false;
};

// Collects the new file's bytes and writes them to the temporary file in large pieces.
class Writer {
public:
    Writer(AppSession& app, const std::string& target) : app_(app), target_(target) {
        buffer_.reserve(kBlock);
    }
    ~Writer() {
        if (!tempPath_.empty()) {
            handle_.Close();
            (void)RemoveFile(tempPath_);
        }
    }

    bool Open() {
        if (!CreateTempBeside(target_, handle_, tempPath_).Ok()) {
            tempPath_.clear();
            Error(app_, Format("Unable to open %s for WRITE", target_.c_str()));
            return false;
        }
        return true;
    }

    void Put(std::string_view bytes) {
        buffer_.append(bytes);
        if (buffer_.size() >= kBlock) {
            Flush();
        }
    }
    void PutBlanks(size_t count) { buffer_.append(count, ' '); }

    // Writes what is left, syncs and renames the file into place.
    bool Commit() {
        Flush();
        if (!failed_ && !SyncFile(handle_).Ok()) {
            Fail();
        }
        handle_.Close();
        if (failed_) {
            return false;
        }
        // The name was free when the conversion began; a file that appeared since is not replaced.
        if (TestPathExists(target_) != PathKind::Missing) {
            Error(app_, "New file already exists.");
            return false;
        }
        if (!ReplaceFile(tempPath_, target_).Ok()) {
            Fail();
            return false;
        }
        tempPath_.clear();
        (void)SyncDirectoryOf(target_);  // so the new name survives a crash
        return true;
    }

    bool Failed() const { return failed_; }

private:
    void Flush() {
        if (failed_ || buffer_.empty()) {
            buffer_.clear();
            return;
        }
        size_t written = 0;
        if (!WriteAll(handle_, buffer_.data(), buffer_.size(), &written).Ok()) {
            Fail();
        } else {
            // The disk starts on each piece now, so the sync at the end has little left to wait for.
            StartWriteBack(handle_, flushed_, static_cast<std::int64_t>(written));
            flushed_ += static_cast<std::int64_t>(written);
        }
        buffer_.clear();
    }
    void Fail() {
        if (!failed_) {
            Error(app_, Format("Error writing %s", target_.c_str()));
        }
        failed_ = true;
    }

    AppSession& app_;
    std::string target_;
    std::string tempPath_;
    FileHandle handle_;
    std::string buffer_;
    std::int64_t flushed_ = 0;
    bool failed_ = false;
};

// Calls `record` for each record of the old file: the bytes before each terminator, and a last one
// without it. `crlf` makes CR+LF the terminator (a lone CR is data), else LF. `stripCr` also drops a
// CR before an LF terminator (text lines). A record longer than `longest` stops with false.
template <typename OnRecord>
bool ForEachLine(Reader& reader, bool crlf, bool stripCr, size_t longest, OnRecord record, bool& tooLong) {
    std::string pending;
    for (std::string_view block = reader.Next(); !block.empty(); block = reader.Next()) {
        size_t at = 0;
        while (at < block.size()) {
            size_t lf = block.find('\n', at);
            if (lf == std::string_view::npos) {
                pending.append(block.substr(at));
                at = block.size();
            } else {
                pending.append(block.substr(at, lf - at));
                at = lf + 1;
                bool ends = !crlf || (!pending.empty() && pending.back() == '\r');
                if (!ends) {
                    pending.push_back('\n');  // a lone LF is data when CR+LF ends records
                } else {
                    if ((crlf || stripCr) && !pending.empty() && pending.back() == '\r') {
                        pending.pop_back();
                    }
                    if (pending.size() > longest) {
                        tooLong = true;
                        return false;
                    }
                    if (!record(std::string_view(pending))) {
                        return false;
                    }
                    pending.clear();
                    continue;
                }
            }
            if (pending.size() > longest + 1) {  // + 1: a CR whose LF is in the next block
                tooLong = true;
                return false;
            }
        }
    }
    if (reader.failed) {
        return false;
    }
    if (!pending.empty()) {
        if (pending.size() > longest) {
            tooLong = true;
            return false;
        }
        return record(std::string_view(pending));
    }
    return true;
}

// Calls `record` for each fixed-length record (the last one may be shorter).
template <typename OnRecord>
bool ForEachFixed(Reader& reader, size_t length, OnRecord record) {
    std::string pending;
    for (std::string_view block = reader.Next(); !block.empty(); block = reader.Next()) {
        size_t at = 0;
        if (!pending.empty()) {
            size_t take = std::min(length - pending.size(), block.size());
            pending.append(block.substr(0, take));
            at = take;
            if (pending.size() < length) {
                continue;
            }
            record(std::string_view(pending));
            pending.clear();
        }
        for (; at + length <= block.size(); at += length) {
            record(block.substr(at, length));
        }
        pending.append(block.substr(at));
    }
    if (reader.failed) {
        return false;
    }
    if (!pending.empty()) {
        record(std::string_view(pending));
    }
    return true;
}

void PutFitted(Writer& out, std::string_view record, size_t length) {
    out.Put(record.substr(0, std::min(record.size(), length)));
    if (record.size() < length) {
        out.PutBlanks(length - record.size());
    }
}

struct CharsetMode {
    CharSet from;
    CharSet to;
};

constexpr CharsetMode kCharsetModes[] = {
    {CharSet::Ebcdic, CharSet::AsciiIso8859},     {CharSet::Ebcdic, CharSet::AsciiIbmPc},
    {CharSet::AsciiIso8859, CharSet::Ebcdic},     {CharSet::AsciiIbmPc, CharSet::Ebcdic},
    {CharSet::AsciiIso8859, CharSet::AsciiIbmPc}, {CharSet::AsciiIbmPc, CharSet::AsciiIso8859},
};

bool Convert(AppSession& app, const ConvertRequest& request, const std::string& oldPath, Reader& in,
             Writer& out) {
    bool tooLong = false;
    switch (request.kind) {
        case ConvertKind::VariableToFixed: {
            size_t length = static_cast<size_t>(request.newLength);
            bool done = ForEachLine(
                in, false, true, std::max(length, kMaxVariableRecord),
                [&](std::string_view record) {
                    if (record.size() > length) {
                        return false;
                    }
                    PutFitted(out, record, length);
                    return !out.Failed();
                },
                tooLong);
            if (!done && !in.failed && !out.Failed()) {
                Error(
                    app,
                    "RECFM=V input record is longer than specified output record length, can not continue.");
            }
            return done;
        }
        case ConvertKind::CrLfToLf:
        case ConvertKind::LfToCrLf: {
            bool fromCrLf = request.kind == ConvertKind::CrLfToLf;
            std::string_view terminator = fromCrLf ? "\n" : "\r\n";
            bool done = ForEachLine(
                in, fromCrLf, false, kMaxVariableRecord,
                [&](std::string_view record) {
                    out.Put(record);
                    out.Put(terminator);
                    return !out.Failed();
                },
                tooLong);
            if (tooLong) {
                Error(app, "Did not find specified record terminator within first max record length.");
            }
            return done;
        }
        case ConvertKind::ChangeFixedLength:
            return ForEachFixed(in, static_cast<size_t>(request.oldLength), [&](std::string_view record) {
                PutFitted(out, record, static_cast<size_t>(request.newLength));
            });
        case ConvertKind::FixedToVariable:
            return ForEachFixed(in, static_cast<size_t>(request.oldLength), [&](std::string_view record) {
                if (request.deleteTrailing) {
                    size_t end = record.find_last_not_of(' ');
                    record = record.substr(0, end == std::string_view::npos ? 0 : end + 1);
                }
                out.Put(record);
                out.Put("\r\n");
            });
        case ConvertKind::CharacterSet: {
            const CharsetMode& mode = kCharsetModes[std::clamp(request.charsetMode, 1, 6) - 1];
            StorageHost& host = Storage(app);
            bool substituted = false;
            std::vector<char> translated(kBlock);
            for (std::string_view block = in.Next(); !block.empty(); block = in.Next()) {
                if (Translate(host, mode.from, mode.to, block.data(), translated.data(),
                              static_cast<int>(block.size())) == XlateResult::Substituted) {
                    substituted = true;
                }
                out.Put(std::string_view(translated.data(), block.size()));
            }
            if (substituted && !in.failed && !out.Failed()) {
                UntranslatableReport report;
                ReportUntranslatable(host, report, oldPath, mode.from, mode.to);
            }
            return !in.failed;
        }
    }
    return false;
}

bool ExistsWithData(const std::string& path) {
    FileStamp stamp;
    return StatPath(path, stamp).Ok() && stamp.isRegular && stamp.size > 0;
}

}  // namespace

std::string ConvertTargetPath(const std::string& oldPath, const std::string& newName) {
    if (newName.find('/') != std::string::npos) {
        return FullPath(newName);
    }
    return FullPath(PathDirectory(oldPath) + "/" + newName);
}

int RunConversion(AppSession& app, const ConvertRequest& request,
                  const std::function<bool(std::string_view question)>& confirm) {
    // A relative old name would put the new file relative to the current directory's parent.
    const std::string oldPath = FullPath(request.oldPath);
    if (request.newPath.find_first_not_of(' ') == std::string::npos) {
        Error(app, "New file name must be specified");
        return -1;
    }
    std::string target = ConvertTargetPath(oldPath, request.newPath);
    if (TestPathExists(target) != PathKind::Missing) {
        Error(app, "New file already exists.");
        return -1;
    }
    if (!ExistsWithData(oldPath)) {
        Error(app, "Old file does not exist or has size 0.");
        return -1;
    }
    bool fixedIn =
        request.kind == ConvertKind::ChangeFixedLength || request.kind == ConvertKind::FixedToVariable;
    bool fixedOut =
        request.kind == ConvertKind::ChangeFixedLength || request.kind == ConvertKind::VariableToFixed;
    if ((fixedIn && (request.oldLength < 1 || request.oldLength > kConvertMaxLength)) ||
        (fixedOut && (request.newLength < 1 || request.newLength > kConvertMaxLength))) {
        Error(app, Format("Record length must be a number from 1 to %d.", kConvertMaxLength));
        return -1;
    }
    if (request.kind == ConvertKind::ChangeFixedLength && request.newLength != request.oldLength) {
        const char* question =
            request.newLength < request.oldLength
                ? "Conversion will truncate output records to new shorter length, OK to proceed?"
                : "Conversion will pad output records with blanks to new longer length, OK to proceed?";
        if (!confirm(question)) {
            return 1;
        }
    }
    Reader in(app, oldPath);
    if (!in.Open()) {
        return -1;
    }
    Writer out(app, target);
    if (!out.Open()) {
        return -1;
    }
    if (!Convert(app, request, oldPath, in, out) || !out.Commit()) {
        return -1;
    }
    ShowMessage(app, Format("File conversion complete, new file in %s", target.c_str()), MsgTo::Box,
                Beep::Information);
    return 0;
}

}  // namespace tavoe
