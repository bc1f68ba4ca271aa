#include "profiles/file_profile_io.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/colorization_io.h"
#include "profiles/file_profile_keywords.h"
#include "profiles/main_profile_io.h"

namespace tavoe {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A name that can only mean a file in the profile directories: no "/" to climb out of them and no
// NUL to cut the name short.
bool IsUsableProfileName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// Control characters other than tab mean the file is not a text file; they are refused instead
// of being matched as keywords or stored as values.
bool HasBinaryByte(std::string_view line) {
    for (char ch : line) {
        auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            return true;
        }
    }
    return false;
}

constexpr size_t kShownKeywordMax = 40;
constexpr size_t kShownValueMax = 80;

std::string Printable(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            ch = '?';
        }
    }
    return out;
}

enum class Reporting { Messages, Silent };

// Applies profile lines one at a time; a bad line is reported and skipped and the lines after it are
// read. The same reader serves the profile files, text handed in directly and the writer's check of
// its own output (silently, where the first refusal ends the check).
class ProfileLineReader {
public:
    ProfileLineReader(AppSession* app, std::string_view fileName, FileProfile& profile, Reporting reporting)
        : app(app), fileName(fileName), profile(profile), reporting(reporting) {
        if (app != nullptr && reporting == Reporting::Messages) {
            std::string value = VarGetValue(*app, "ZMAXRECLEN");
            if (!value.empty()) {
                maxRecLenOverride = std::move(value);
            }
        }
    }

    // One line without its newline; overlong when the file's line went past the limit. False when
    // the line was refused (a silent reader then takes no further lines).
    bool Line(std::string_view line, bool overlong);

    // Ends a read: after a clean one the record length is settled and the record normalised.
    // 0, or -1 when a line was refused or the record length cannot be set.
    int Finish();

    const std::string& FailedKeyword() const { return failedKeyword; }
    const std::string& FailedValue() const { return failedValue; }

private:
    bool Refuse(std::string_view keyword, std::string_view value);
    bool RefuseLine(std::string_view line, const std::string& text);
    bool SetMaxRecLen(std::string_view value);

    AppSession* app;
    std::string_view fileName;
    FileProfile& profile;
    Reporting reporting;
    std::optional<std::string> maxRecLenOverride;  // ZMAXRECLEN when set
    bool sawMaxRecLen = false;
    bool failed = false;
    int lineNumber = 0;
    std::string failedKeyword;
    std::string failedValue;
};

bool ProfileLineReader::Refuse(std::string_view keyword, std::string_view value) {
    failed = true;
    failedKeyword.assign(keyword);
    failedValue.assign(value);
    if (reporting == Reporting::Messages) {
        ShowMessage(
            *app,
            Format("Invalid file profile keyword or value:   %s=%s\n\nFile profile '%s', line %d is "
                   "skipped; the lines after it are read.",
                   failedKeyword.c_str(), failedValue.c_str(), std::string(fileName).c_str(), lineNumber),
            MsgTo::Box, Beep::Error);
    }
    return false;
}

bool ProfileLineReader::RefuseLine(std::string_view line, const std::string& text) {
    failed = true;
    // Kept for the writer's own report; bytes that cannot be shown are replaced.
    size_t split = line.find('=');
    failedKeyword = Printable(line.substr(0, std::min(split, kShownKeywordMax)));
    failedValue =
        split == std::string_view::npos ? std::string() : Printable(line.substr(split + 1, kShownValueMax));
    if (reporting == Reporting::Messages) {
        ShowMessage(*app, text, MsgTo::Box, Beep::Error);
    }
    return false;
}

bool ProfileLineReader::SetMaxRecLen(std::string_view value) {
    sawMaxRecLen = true;
    // The session's record length, given when the editor was started, wins over every profile.
    if (maxRecLenOverride) {
        value = *maxRecLenOverride;
    }
    if (SetFileProfileKeyword(profile, "MaxRecLen", value) != ProfileKeywordStatus::Ok) {
        return Refuse("MaxRecLen", value);
    }
    return true;
}

bool ProfileLineReader::Line(std::string_view line, bool overlong) {
    if (failed && reporting == Reporting::Silent) {
        return false;  // checking a profile: the first refusal decides
    }
    ++lineNumber;
    std::string name(fileName);
    if (overlong || line.size() > kFileProfileLineMax) {
        return RefuseLine(line, Format("File profile '%s', line %d is longer than %d characters.",
                                       name.c_str(), lineNumber, static_cast<int>(kFileProfileLineMax)));
    }
    // A byte-order mark that some editors put at the start of a text file is not part of a keyword.
    if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) {
        line.remove_prefix(3);
    }
    if (HasBinaryByte(line)) {
        return RefuseLine(line, Format("File profile '%s', line %d holds binary data, not text.",
                                       name.c_str(), lineNumber));
    }
    size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    std::string_view rest = line.substr(pos);
    if (rest.starts_with("//")) {
        profile.keptLines.emplace_back(line);
        return true;
    }
    if (rest.empty()) {
        return true;
    }
    size_t keyEnd = 0;
    while (keyEnd < rest.size() && !IsBlank(rest[keyEnd]) && rest[keyEnd] != '=') {
        ++keyEnd;
    }
    std::string_view keyword = rest.substr(0, keyEnd);
    size_t valueStart = keyEnd;
    while (valueStart < rest.size() && (IsBlank(rest[valueStart]) || rest[valueStart] == '=')) {
        ++valueStart;
    }
    std::string_view value = rest.substr(valueStart);
    if (keyword == "MaxRecLen") {
        return SetMaxRecLen(value);
    }
    switch (SetFileProfileKeyword(profile, keyword, value)) {
        case ProfileKeywordStatus::Ok:
        case ProfileKeywordStatus::Ignored:
            return true;
        case ProfileKeywordStatus::UnknownKeyword:
            profile.keptLines.emplace_back(line);  // a setting of another version: kept as it is
            break;
        case ProfileKeywordStatus::BadValue:
            break;
    }
    return Refuse(keyword, value);
}

// Numbering defaults by type, then everything that counts columns is kept inside the record. The
// offset is brought inside first, so that the left bound it moves cannot end up past the record.
void NormaliseProfile(FileProfile& p) {
    switch (p.numberType) {
        case NumberType::None:
            p.numberAuto = NumberAuto::None;
            p.numberStart = 0;
            p.numberIncrement = 0;
            p.numberColumnStart = 0;
            p.numberColumnEnd = 0;
            p.offset = 0;
            break;
        case NumberType::Cobol:
        case NumberType::CobStd:
        case NumberType::Standard:
            if (p.numberIncrement == 0) {
                p.numberIncrement = 100;
            }
            if (p.numberStart == 0) {
                p.numberStart = p.numberIncrement;
            }
            p.numberColumnStart = p.numberType == NumberType::Standard ? 73 : 1;
            p.numberColumnEnd = p.numberType == NumberType::Standard ? 80 : 6;
            break;
        case NumberType::Other:
            break;
    }
    const int32_t length = p.maxRecordLength;
    if (p.offset > length - 1) {
        p.offset = length - 1;
    }
    if (p.boundsLeft > length) {
        p.boundsLeft = 1;
    }
    // A profile that names no bounds has a right bound of 0: the whole record.
    if (p.boundsRight > length || p.boundsRight == 0) {
        p.boundsRight = length;
    }
    if (p.boundsLeft <= p.offset) {
        p.boundsLeft = p.offset + 1;
    }
    if (p.boundsRight < p.boundsLeft) {
        p.boundsRight = p.boundsLeft;
    }
    if (p.tabsExpandOnRead > length - 1) {
        p.tabsExpandOnRead = length - 1;
    }
    if (p.tabsInsertOnWrite > length - 1) {
        p.tabsInsertOnWrite = length - 1;
    }
    // Stops past the record move to its last column; the stops after the first one moved there
    // would repeat it, so the list ends there and stays ascending.
    int count = TabStopCount(p.tabKeyStopsAt);
    for (int i = 0; i < count; ++i) {
        if (p.tabKeyStopsAt[i] > length - 1) {
            p.tabKeyStopsAt[i] = length - 1;
            if (i > 0 && p.tabKeyStopsAt[i] <= p.tabKeyStopsAt[i - 1]) {
                p.tabKeyStopsAt[i] = 0;
            }
            for (int j = i + 1; j <= count; ++j) {
                p.tabKeyStopsAt[j] = 0;
            }
            break;
        }
    }
}

int ProfileLineReader::Finish() {
    const bool refused = failed;
    if (!sawMaxRecLen && maxRecLenOverride) {
        SetMaxRecLen({});
    }
    // Every record needs a length and bounds, even one with refused lines: a profile that names no
    // length gets the built-in one, and no bounds mean the whole record.
    if (profile.maxRecordLength < kProfileRecordLengthMin) {
        profile.maxRecordLength = kBuiltInRecordLength;
    }
    if (profile.boundsLeft < 1) {
        profile.boundsLeft = 1;
    }
    NormaliseProfile(profile);
    profile.readIncomplete = refused || failed;
    return profile.readIncomplete ? -1 : 0;
}

// Reads one line: the newline and a carriage return before it are removed, at most one character
// past the limit is kept and the rest of a longer line is dropped (overlong is then set), so the
// rest cannot pass for a line of its own. False at the end of the file when nothing was read.
bool ReadProfileLine(std::FILE* file, std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    bool any = false;
    int c;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() <= kFileProfileLineMax + 1) {
            line.push_back(static_cast<char>(c));
        } else {
            overlong = true;
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > kFileProfileLineMax) {
        overlong = true;
    }
    return any;
}

// Opens the first regular, readable "<name>.fp" along the path. Special files are refused before
// they are read, so a FIFO or device of that name cannot block or feed the editor.
FilePtr OpenProfileFile(std::string_view pathValue, std::string_view fileName, std::string& foundPath) {
    for (const std::string& dir : SplitSearchPath(pathValue)) {
        std::string resolved = ResolveNameInDirectory(dir, fileName);
        if (resolved.empty()) {
            continue;
        }
        std::string full = JoinPath(dir, resolved);
        FileHandle handle;
        FileStamp stamp;
        if (!OpenExisting(full, OpenAccess::Read, handle).Ok() || !StatHandle(handle, stamp).Ok() ||
            !stamp.isRegular) {
            continue;
        }
        FilePtr file(::fdopen(handle.Fd(), "rb"));
        if (!file) {
            continue;
        }
        handle.Release();
        foundPath = full;
        return file;
    }
    return nullptr;
}

void WriteLine(std::string& out, std::string_view keyword, std::string_view value) {
    out += keyword;
    out += '=';
    out += value;
    out += '\n';
}

void WriteKeyword(std::string& out, const FileProfile& p, std::string_view keyword) {
    WriteLine(out, keyword, FileProfileKeywordValue(p, keyword).value_or(std::string()));
}

void WriteIfNonZero(std::string& out, std::string_view keyword, int32_t value) {
    if (value != 0) {
        WriteLine(out, keyword, std::to_string(value));
    }
}

void WriteIfSet(std::string& out, std::string_view keyword, const std::string& value) {
    if (!value.empty()) {
        WriteLine(out, keyword, value);
    }
}

}  // namespace

std::string FileProfileFileName(std::string_view name) {
    std::string fileName(name);
    fileName += kFileProfileExtension;
    return fileName;
}

bool FileProfileExists(AppSession& app, std::string_view name) {
    if (!IsUsableProfileName(name)) {
        return false;
    }
    return !FindAlongPath(VarGetValue(app, kFileProfilePathVariable), FileProfileFileName(name)).empty();
}

int ParseFileProfileText(AppSession& app, std::string_view fileName, std::string_view text,
                         FileProfile& profile) {
    ProfileLineReader reader(&app, fileName, profile, Reporting::Messages);
    while (!text.empty()) {
        size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        (void)reader.Line(line, false);  // a refused line is reported and skipped
    }
    return reader.Finish();
}

Status ReadFileProfile(AppSession& app, std::string_view name, FileProfile& out) {
    out = FileProfile{};
    out.name = UpperAscii(name.substr(0, kProfileNameMax));
    std::string pathValue = VarGetValue(app, kFileProfilePathVariable);
    std::string foundPath;
    FilePtr file;
    if (IsUsableProfileName(name)) {
        file = OpenProfileFile(pathValue, FileProfileFileName(name), foundPath);
    }
    if (!file) {
        file = OpenProfileFile(pathValue, FileProfileFileName(kDefaultProfileName), foundPath);
    }
    if (!file) {
        // Neither file: the built-in profile, still subject to the session's record length.
        out = BuiltInFileProfile(name);
        ProfileLineReader reader(&app, FileProfileFileName(out.name), out, Reporting::Messages);
        return reader.Finish();
    }
    std::string shownName = PathFileName(foundPath);
    ProfileLineReader reader(&app, shownName, out, Reporting::Messages);
    std::string line;
    bool overlong = false;
    while (ReadProfileLine(file.get(), line, overlong)) {
        (void)reader.Line(line, overlong);  // a refused line is reported and skipped
    }
    int status = reader.Finish();
    // The colour type read so far is loaded even after a stopped read: those lines stay in effect.
    if (!out.colorType.empty()) {
        out.colorizer = LoadColorizer(app, out.colorType);
    }
    return status;
}

std::string FileProfileText(const FileProfile& p) {
    std::string out;
    WriteKeyword(out, p, "Recfm");
    WriteKeyword(out, p, "CapsMode");
    WriteKeyword(out, p, "CharsetFile");
    WriteKeyword(out, p, "CharsetDisplay");
    WriteIfSet(out, "Color", p.colorType);
    WriteKeyword(out, p, "EorType");
    WriteKeyword(out, p, "NumberType");
    if (p.numberType != NumberType::None) {
        WriteKeyword(out, p, "NumberAuto");
        WriteIfNonZero(out, "NumberStart", p.numberStart);
        WriteIfNonZero(out, "NumberIncrement", p.numberIncrement);
        WriteIfNonZero(out, "NumberColStart", p.numberColumnStart);
        WriteIfNonZero(out, "NumberColEnd", p.numberColumnEnd);
    }
    WriteKeyword(out, p, "MaxRecLen");
    WriteKeyword(out, p, "Offset");
    WriteIfNonZero(out, "PromptKeystrokeLimit", p.promptAfterKeystrokes);
    WriteKeyword(out, p, "Bounds");
    WriteIfSet(out, "Imacro", p.imacro);
    WriteIfSet(out, "Xmacro", p.xmacro);
    WriteKeyword(out, p, "TabsIn");
    WriteKeyword(out, p, "TabsOut");
    WriteIfSet(out, "Template", p.languageTemplate);
    WriteKeyword(out, p, "Tabs");
    if (!p.maskLine.empty()) {
        WriteKeyword(out, p, "MaskLine");
    }
    WriteIfSet(out, "BackupPath", p.backupAlternatePath);
    for (std::string_view keyword :
         {"BOOLautoincreasereclen", "BOOLautoincreasenotify", "BOOLbackup", "BOOLeofread", "BOOLeofwrite",
          "BOOLlock", "BOOLpadblanks", "BOOLstripblanks", "BOOLtruncate"}) {
        WriteKeyword(out, p, keyword);
    }
    return out;
}

Status WriteFileProfile(AppSession& app, const FileProfile& profile, ProfileWriteMode mode) {
    if (profile.name.empty() || (mode == ProfileWriteMode::Automatic && profile.lock)) {
        return 0;
    }
    std::string fileName = FileProfileFileName(profile.name);
    // A line break or other control character in a text field would split its line.
    for (std::string_view keyword : {"Color", "Imacro", "Xmacro", "Template", "MaskLine", "BackupPath"}) {
        std::string value = FileProfileKeywordValue(profile, keyword).value_or(std::string());
        if (HasBinaryByte(value)) {
            ShowMessage(app,
                        Format("Invalid file profile keyword or value:   %s=%s", std::string(keyword).c_str(),
                               Printable(value).c_str()),
                        MsgTo::Box, Beep::Error);
            return -1;
        }
    }
    if (mode == ProfileWriteMode::Automatic && profile.readIncomplete) {
        // Writing it back would drop what the reader could not take: the raise stays in memory.
        ShowMessage(app,
                    Format("File profile %s has lines that could not be read; it is not updated "
                           "automatically.",
                           profile.name.c_str()),
                    MsgTo::Line, Beep::None);
        return 0;
    }
    std::string text = FileProfileText(profile);
    // A value the reader would refuse (a newline in a macro name, a quote in the mask line, a
    // number out of range) would leave a file that stops every later read: refuse it here.
    FileProfile check;
    ProfileLineReader verify(nullptr, fileName, check, Reporting::Silent);
    std::string_view rest = text;
    while (!rest.empty()) {
        size_t newline = rest.find('\n');
        if (!verify.Line(rest.substr(0, newline), false)) {
            ShowMessage(app,
                        Format("Invalid file profile keyword or value:   %s=%s",
                               verify.FailedKeyword().c_str(), verify.FailedValue().c_str()),
                        MsgTo::Box, Beep::Error);
            return -1;
        }
        rest.remove_prefix(newline + 1);
    }
    // Comments and settings the reader did not know go back behind the known keywords.
    for (const std::string& kept : profile.keptLines) {
        if (!HasBinaryByte(kept) && kept.size() <= kFileProfileLineMax) {
            text += kept;
            text += '\n';
        }
    }
    std::string path;
    if (IsUsableProfileName(profile.name)) {
        path = WritePathFor(VarGetValue(app, kFileProfilePathVariable), fileName);
    }
    ReplacingFileWriter writer;
    if (path.empty() || !writer.Open(path)) {
        ShowMessage(app,
                    Format("Unable to open file profile '%s' for WRITE.",
                           path.empty() ? fileName.c_str() : path.c_str()),
                    MsgTo::Box, Beep::Error);
        return -1;
    }
    writer.Write(text);
    if (!writer.Commit()) {
        ShowMessage(app, Format("Unable to open file profile '%s' for WRITE.", path.c_str()), MsgTo::Box,
                    Beep::Error);
        return -1;
    }
    return 0;
}

void FreeFileProfile(FileProfile& profile) {
    if (!IsFileProfile(profile)) {
        return;
    }
    profile.colorizer.reset();
    profile.tag.clear();
}

}  // namespace tavoe
