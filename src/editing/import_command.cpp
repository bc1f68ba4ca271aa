#include "editing/import_command.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "buffer/numbering.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/line_command_run.h"
#include "editing/line_commands.h"
#include "editing/undo_journal.h"
#include "platform/ascii_case.h"
#include "platform/file_io.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::int32_t kMaxCopies = 99999;

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

// The next blank-delimited word from `at`; a word that begins with a quote runs to the same quote
// and is given without them.
std::string_view NextWord(std::string_view text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    if (at >= text.size()) {
        return {};
    }
    const char first = text[at];
    if (first == '"' || first == '\'') {
        std::size_t close = text.find(first, at + 1);
        std::size_t end = close == std::string_view::npos ? text.size() : close;
        std::string_view word = text.substr(at + 1, end - at - 1);
        at = close == std::string_view::npos ? text.size() : close + 1;
        return word;
    }
    std::size_t end = std::min(text.find(' ', at), text.size());
    std::string_view word = text.substr(at, end - at);
    at = end;
    return word;
}

// A line number: decimal digits only, at least 1.
bool ParseLineNumber(std::string_view word, std::int64_t& value) {
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && value >= 1;
}

// The file checks, in the order the messages are given; the full path, or empty after a message.
std::string CheckedPath(AppSession& app, const std::string& name) {
    if (name.find('/') == std::string::npos) {
        Error(app, "Need path for file.");
        return {};
    }
    std::string path = FullPath(name);
    if (name.back() == '/') {
        Error(app, "Not allowed to specify directory only.");
        return {};
    }
    if (TestPathExists(path) != PathKind::Exists || !CanRead(path)) {
        Error(app, Format("'%s' does not exist or is not accessible.", path.c_str()));
        return {};
    }
    FileStamp stamp;
    if (!StatPath(path, stamp).Ok()) {
        Error(app, Format("Unable to get status for '%s'", path.c_str()));
        return {};
    }
    if (stamp.isDirectory) {
        Error(app, "Not allowed to specify directory only.");
        return {};
    }
    FileHandle probe;
    if (!stamp.isRegular || !OpenExisting(path, OpenAccess::Read, probe).Ok()) {
        Error(app, Format("Unable to open for read '%s'", path.c_str()));
        return {};
    }
    return path;
}

// Loads the file into `scratch` by the session's profile. A record longer than the record length
// raises the session's record length when the profile lets it grow (the loader says so and writes the
// profile); otherwise the import stops, since folding or cutting would insert records other than the
// file's. 0, or -1 after a message.
Status LoadImportFile(AppSession& app, EditSession& session, const std::string& path, EditBuffer& scratch) {
    FileProfile& profile = session.buffer.profile;
    scratch.profile = profile;
    if (OpenFile(scratch, path, OpenMode::Browse, LoadQuiet::NoCapsScan | LoadQuiet::NoSummary) != 0 ||
        FinishLoad(scratch) != 0) {
        return -1;
    }
    const FileState& file = scratch.file;
    if (scratch.foldedCount > 0 || scratch.truncatedCount > 0 || file.splitRecords > 0 ||
        file.cutRecords > 0) {
        Error(app, "Import file contains a record which exceeds maxiumum record length, import terminated.");
        return -1;
    }
    if (scratch.profile.maxRecordLength > profile.maxRecordLength) {
        profile.maxRecordLength = scratch.profile.maxRecordLength;
        profile.boundsRight = scratch.profile.boundsRight;
    }
    return 0;
}

// The lines of the scratch buffer within the wanted line numbers.
std::vector<const LineRecord*> WantedLines(const EditBuffer& scratch, const ImportParams& params) {
    std::vector<const LineRecord*> lines;
    const std::int64_t start = std::max<std::int64_t>(params.startLine, 1);
    const std::int64_t end = params.endLine > 0 ? params.endLine : INT64_MAX;
    for (const LineRecord* line = FirstDataLine(scratch); line != nullptr; line = NextDataLine(line)) {
        if (line->recordNumber >= start && line->recordNumber <= end) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Inserts copies of the lines in front of `before`, `copies` times, as one UNDO step, numbering them
// as the profile asks. The first line inserted, or null.
LineRecord* InsertCopies(AppSession& app, EditSession& session, const std::vector<const LineRecord*>& lines,
                         LineRecord* before, std::int32_t copies, bool asNotes) {
    EditBuffer& buffer = session.buffer;
    const FileProfile& profile = buffer.profile;
    const bool numbered = profile.numberType != NumberType::None && !asNotes;
    UndoGroup group(app, session);
    LineRecord* first = nullptr;
    for (std::int32_t round = 0; round < copies; ++round) {
        for (const LineRecord* source : lines) {
            LineRecord* line = LineDuplicate(buffer, *source);
            if (line == nullptr) {
                return first;  // the storage layer reported it; what went in stays, as one step
            }
            line->kind = asNotes ? LineKind::Note : LineKind::Data;
            if (LineHasFlag(*source, LineFlagA::BlankPadded)) {
                LineSetFlag(*line, LineFlagA::BlankPadded);
                buffer.hasPaddedLines = true;
            }
            if (LineInsertBefore(buffer, before, line) != 0) {
                LineFree(buffer, line);
                return first;
            }
            if (asNotes) {
                JournalInsert(app, session, *line);  // the line list journals data lines only
            } else {
                TextChanged(buffer, *line);
                if (numbered && profile.numberAuto == NumberAuto::Incr) {
                    (void)NumberNewLine(buffer, *line);
                }
            }
            first = first != nullptr ? first : line;
        }
    }
    if (numbered && profile.numberAuto == NumberAuto::Full && first != nullptr) {
        Renumber(buffer);
    }
    return first;
}

// Reads the file the parameters name and inserts its wanted lines before `before`. 0, or -1 after a
// message.
Status ImportBefore(AppSession& app, EditSession& session, const ImportParams& params, LineRecord* before,
                    std::int32_t copies) {
    std::string path = CheckedPath(app, params.file);
    if (path.empty()) {
        return -1;
    }
    EditBuffer scratch(session.buffer.host);
    FileStamp stamp;
    if (StatPath(path, stamp).Ok() && stamp.size > 0 && LoadImportFile(app, session, path, scratch) != 0) {
        return -1;
    }
    std::vector<const LineRecord*> lines = WantedLines(scratch, params);
    if (lines.empty() && params.startLine > 0) {
        Error(app, "Start line number is not in file.");
        return -1;
    }
    (void)InsertCopies(app, session, lines, before, copies, params.asNotes);
    RefreshRowTable(app, session);
    return 0;
}

bool RefuseReadOnly(AppSession& app, const EditSession& session) {
    if (!session.ReadOnly()) {
        return false;
    }
    Error(app, "Not allowed to modify READ-ONLY file.");
    return true;
}

}  // namespace

const char* ParseImportParams(std::string_view text, ImportParams& params) {
    params = ImportParams{};
    std::size_t at = 0;
    params.file = std::string(NextWord(text, at));
    int numbers = 0;
    for (std::string_view word = NextWord(text, at); !word.empty(); word = NextWord(text, at)) {
        if (UpperAscii(word) == "ASNOTES") {
            params.asNotes = true;
            continue;
        }
        std::int64_t value = 0;
        if (numbers >= 2 || !ParseLineNumber(word, value)) {
            return "Start/end line number must be >= 1.";
        }
        (numbers++ == 0 ? params.startLine : params.endLine) = value;
    }
    if (params.endLine > 0 && params.endLine < params.startLine) {
        return "End line number must be >= start line number.";
    }
    return nullptr;
}

Status ImportCommand(AppSession& app, EditSession& session, std::string_view text) {
    if (RefuseReadOnly(app, session)) {
        return -1;
    }
    LineRecord* at = CursorLine(app, session);
    if (at == nullptr ||
        (at->kind != LineKind::Data && at->kind != LineKind::TopMarker && at->kind != LineKind::EndMarker)) {
        Error(app, "Put cursor on data line where lines are to be inserted.");
        return -1;
    }
    if (CommandTrim(text).empty()) {
        Shell(app).RunGeneralCommand(app, "DIALOG IMPORT");
        return 0;
    }
    VarSetValue(app, "ZIMPORTPARMS", std::string(CommandTrim(text)));
    ImportParams params;
    if (const char* wrong = ParseImportParams(text, params)) {
        Error(app, wrong);
        return -1;
    }
    LineRecord* before = at->kind == LineKind::TopMarker ? LineNextLoading(session.buffer, at) : at;
    return ImportBefore(app, session, params, before, 1);
}

void ImportEditCommand(AppSession& app, EditSession& session, std::string_view params) {
    (void)ImportCommand(app, session, params);
}

void CopyLinesCommand(AppSession& app, EditSession& session, std::string_view text) {
    if (RefuseReadOnly(app, session)) {
        return;
    }
    LineCommandState& state = session.lineCommands;
    WaitKind kind = state.Of(WaitKind::After).Pending() ? WaitKind::After : WaitKind::Before;
    const WaitingCommand wait = state.Of(kind);
    LineRecord* destination = nullptr;
    if (wait.Pending()) {
        for (LineRecord& line : Lines(session.buffer)) {
            destination = &line == wait.first ? &line : destination;
        }
    }
    if (destination == nullptr) {
        Error(app, "Specify line command A or B to set destination for COPYL.");
        return;
    }
    ImportParams params;
    if (const char* wrong = ParseImportParams(text, params)) {
        Error(app, wrong);
        return;
    }
    if (params.file.empty()) {
        Error(app, "Need path for file.");
        return;
    }
    LineRecord* before = destination;
    if (kind == WaitKind::After) {
        before = LineNext(InsertionPointAfter(session.buffer, destination));
    }
    const std::int32_t copies = std::clamp(wait.count, 1, kMaxCopies);
    if (ImportBefore(app, session, params, before, copies) == 0) {
        ForgetLineCommands(session, *destination);
        RefreshRowTable(app, session);
    }
}

}  // namespace tavoe
