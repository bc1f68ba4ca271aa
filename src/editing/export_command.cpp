#include "editing/export_command.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/line_command_run.h"
#include "editing/line_commands.h"
#include "editing/selection.h"
#include "editing/undo_journal.h"
#include "platform/file_io.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "platform/save_temps.h"
#include "ui/file_chooser.h"

namespace tavoe {

namespace {

// The bytes collect here and go to the file a megabyte at a time.
constexpr std::size_t kWriteChunk = 1 << 20;

const char* ModeWord(ExportMode mode) {
    switch (mode) {
        case ExportMode::Create:
            return "CREATE";
        case ExportMode::Replace:
            return "REPLACE";
        case ExportMode::Export:
            break;
    }
    return "EXPORT";
}

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

// The lines written: from `first` to `last` in file order. `block` is the waiting CC or MM block the
// range came from (it is used up by a successful write), or none.
struct ExportRange {
    LineRecord* first = nullptr;
    LineRecord* last = nullptr;
    WaitKind block = WaitKind::Select;
    bool fromBlock = false;
};

ExportRange SelectedRange(const EditSession& session) {
    SelectionSpan span = FindSelection(session);
    ExportRange range;
    range.first = span.first;
    range.last = span.last;
    return range;
}

bool OnLineList(const EditBuffer& buffer, const LineRecord* wanted) {
    for (const LineRecord& line : Lines(buffer)) {
        if (&line == wanted) {
            return true;
        }
    }
    return false;
}

// A CC or MM block (or a single C or M of n lines) that is complete and waits for its destination.
// The kept pointers are checked against the line list before they are followed: the lines may have
// been deleted since. `halfPending` tells that a block has only its first end.
ExportRange WaitingBlockRange(EditSession& session, bool* halfPending) {
    ExportRange range;
    for (WaitKind kind : {WaitKind::Copy, WaitKind::Move}) {
        const WaitingCommand& wait = session.lineCommands.Of(kind);
        if (!wait.Pending()) {
            continue;
        }
        if (!wait.Complete()) {
            *halfPending = true;
            continue;
        }
        EditBuffer& buffer = session.buffer;
        if (!OnLineList(buffer, wait.from) || (wait.to != nullptr && !OnLineList(buffer, wait.to))) {
            continue;
        }
        range.first = wait.from;
        range.last = wait.lines > 0 ? RangeEndOfCount(buffer, wait.from, wait.lines) : wait.to;
        range.block = kind;
        range.fromBlock = range.last != nullptr;
        return range.fromBlock ? range : ExportRange{};
    }
    return range;
}

// The name typed, without the quotes it may stand in; or, when none was typed, the one chosen in the
// file chooser (empty when the user escaped or there is no screen to ask on).
std::string TargetName(AppSession& app, ExportMode mode, std::string_view params) {
    std::string_view name = CommandTrim(params);
    if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'') && name.back() == name.front()) {
        name = name.substr(1, name.size() - 2);
    }
    if (!name.empty()) {
        return FullPath(name);
    }
    if (app.screen == nullptr) {
        return {};
    }
    ui::FileChooserOptions options;
    options.title = Format("Navigate to directory, specify %s file name (ESC to cancel)", ModeWord(mode));
    options.directory = VarGetValue(app, "ZDSNPATH");
    options.mode = ui::FileChooserMode::Save;
    ui::FileChooserResult chosen = ui::RunFileChooser(*app.screen, options);
    return chosen.ok && !chosen.names.empty() ? chosen.Path() : std::string();
}

// The session's own file on disk: the same file (device and inode) when both exist, else the same
// full path.
bool IsEditedFile(const EditSession& session, const std::string& target, const FileStamp& existing) {
    FileStamp own;
    if (existing.valid && StatPath(session.FileName(), own).Ok()) {
        return own.device == existing.device && own.inode == existing.inode;
    }
    return FullPath(session.FileName()) == target;
}

// The line end of a variable-format file: the one the load sensed, LF when it sensed none.
std::string_view LineEnd(const FileProfile& profile) {
    if (profile.recordFormat == Recfm::Fixed) {
        return {};
    }
    return profile.sensedTerminator == EorType::CrLf ||
                   (profile.sensedTerminator == EorType::Auto && profile.endOfRecordSequence == EorType::CrLf)
               ? std::string_view("\r\n")
               : std::string_view("\n");
}

// Writes the data lines of the range to the open file. Fixed-format records are always filled to the
// record length, so the file can be read back record by record; variable ones are padded only when
// the profile pads short records.
IoResult WriteLines(const EditBuffer& buffer, const ExportRange& range, const FileHandle& handle) {
    const FileProfile& profile = buffer.profile;
    const bool fixed = profile.recordFormat == Recfm::Fixed;
    const std::size_t padTo =
        fixed || profile.padShortRecsWithBlank ? static_cast<std::size_t>(profile.maxRecordLength) : 0;
    const std::string_view end = LineEnd(profile);
    std::string out;
    out.reserve(kWriteChunk + 2 * 64000 + 4);
    std::size_t written = 0;
    for (LineRecord* line = range.first; line != nullptr; line = LineNext(line)) {
        if (line->kind == LineKind::Data) {
            std::string_view text = LineText(*line);
            if (fixed && text.size() > padTo) {
                text = text.substr(0, padTo);
            }
            out.append(text);
            if (text.size() < padTo) {
                out.append(padTo - text.size(), ' ');
            }
            out.append(end);
            if (out.size() >= kWriteChunk) {
                if (IoResult result = WriteAll(handle, out.data(), out.size(), &written); !result.Ok()) {
                    return result;
                }
                out.clear();
            }
        }
        if (line == range.last) {
            break;
        }
    }
    return WriteAll(handle, out.data(), out.size(), &written);
}

// The block a CREATE or REPLACE wrote is used up: its line commands go, and the lines of an MM block
// leave the file (one UNDO step), as a move to the new file.
void UseUpBlock(AppSession& app, EditSession& session, const ExportRange& range) {
    WaitingCommand wait = session.lineCommands.Of(range.block);
    for (LineRecord* line : {wait.from, wait.to, wait.first, wait.second}) {
        if (line != nullptr && OnLineList(session.buffer, line)) {
            ForgetLineCommands(session, *line);
        }
    }
    session.lineCommands.Of(range.block) = WaitingCommand{};
    if (range.block != WaitKind::Move) {
        return;
    }
    // As a move does, only the data lines leave; notes and other special lines stay.
    std::vector<LineRecord*> moved;
    for (LineRecord* line = range.first; line != nullptr; line = LineNext(line)) {
        if (line->kind == LineKind::Data) {
            moved.push_back(line);
        }
        if (line == range.last) {
            break;
        }
    }
    UndoGroup group(app, session);
    LineCommandRun run{app, session};
    for (LineRecord* line : moved) {
        DeleteLineRange(run, line, line);
    }
    if (run.markersStale) {
        (void)RebuildExcludedMarkers(session.buffer, MarkerWidthFor(app, session));
    }
    RefreshRowTable(app, session);
}

}  // namespace

Status ExportCommand(AppSession& app, EditSession& session, ExportMode mode, std::string_view fileName) {
    ExportRange range = SelectedRange(session);
    if (range.first == nullptr && mode != ExportMode::Export) {
        bool halfPending = false;
        range = WaitingBlockRange(session, &halfPending);
        if (range.first == nullptr && halfPending) {
            Error(app, "CREATE waiting for CC or MM block.");
            return -1;
        }
    }
    if (range.first == nullptr) {
        Error(app, "Use mouse or ZZ line command to make a selection before invoking EXPORT");
        return -1;
    }
    std::string path = TargetName(app, mode, fileName);
    if (path.empty()) {
        return -1;
    }
    std::string target;
    if (!ResolveWriteTarget(path, target).Ok()) {
        Error(app, "EXPORT: unable to open file for write.");
        return -1;
    }
    FileStamp existing;
    const bool exists = StatPath(target, existing).Ok();
    if (exists && existing.isDirectory) {
        Error(app, "Can not export to directory.");
        return -1;
    }
    if (IsEditedFile(session, target, exists ? existing : FileStamp{})) {
        Error(app, "Can not export to the file being edited, use SAVE or SAVEAS.");
        return -1;
    }
    if (exists) {
        switch (mode) {
            case ExportMode::Create:
                Error(app, "File exists, can not CREATE.");
                return -1;
            case ExportMode::Replace:
                if (!existing.isRegular || !CanReadWrite(target)) {
                    Error(app, "Unable to delete existing file, can not REPLACE.");
                    return -1;
                }
                break;
            case ExportMode::Export:
                if (!Shell(app).ConfirmOkCancel(app,
                                                Format("%s already exists, replace it?", path.c_str()))) {
                    return -1;
                }
                if (!existing.isRegular || !CanReadWrite(target)) {
                    Error(app, "EXPORT: unable to open file for write.");
                    return -1;
                }
                break;
        }
    }

    TempFile temp;
    if (!CreateTempBeside(target, temp.handle, temp.path).Ok()) {
        temp.path.clear();
        Error(app, "EXPORT: unable to open file for write.");
        return -1;
    }
    if (exists) {
        FileAttributes attributes;
        if (ReadAttributes(target, attributes).Ok()) {
            ApplyAttributes(temp.handle, attributes);
        }
    }
    IoResult result = WriteLines(session.buffer, range, temp.handle);
    if (result.Ok()) {
        result = SyncFile(temp.handle);
    }
    temp.handle.Close();
    if (result.Ok()) {
        result = ReplaceFile(temp.path, target);
    }
    if (!result.Ok()) {
        Error(app, Format("EXPORT: unable to write '%s' (%s), file not changed.", path.c_str(),
                          std::strerror(result.error)));
        return -1;
    }
    temp.Committed();
    (void)SyncDirectoryOf(target);
    if (range.fromBlock) {
        UseUpBlock(app, session, range);
    }
    ShowMessage(app, exists ? "File replaced" : "File created", MsgTo::Line, Beep::Information);
    return 0;
}

void ExportEditCommand(AppSession& app, EditSession& session, std::string_view params) {
    (void)ExportCommand(app, session, ExportMode::Export, params);
}

void CreateEditCommand(AppSession& app, EditSession& session, std::string_view params) {
    (void)ExportCommand(app, session, ExportMode::Create, params);
}

void ReplaceEditCommand(AppSession& app, EditSession& session, std::string_view params) {
    (void)ExportCommand(app, session, ExportMode::Replace, params);
}

}  // namespace tavoe
