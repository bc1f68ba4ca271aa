#include "editing/line_class_commands.h"

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/line_command_run.h"
#include "editing/line_commands.h"
#include "editing/selection.h"
#include "editing/undo_journal.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

std::string_view Unquoted(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    text.remove_prefix(start);
    if (text.size() >= 2 && (text.front() == '\'' || text.front() == '"') && text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

void InsertOneLine(AppSession& app, EditSession& session, std::string_view params, LineKind kind) {
    const char* what = kind == LineKind::Data ? "DATA" : "NOTE";
    if (Unquoted(params).empty() && params.find_first_of("'\"") == std::string_view::npos) {
        ShowMessage(app,
                    kind == LineKind::Data ? std::string("DATALINE reqires one parameter:  P1 = line text")
                                           : Format("%sLINE requires one parameter:  p1 = line-text", what),
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    LineRecord* at = CursorLine(app, session);
    if (at == nullptr) {
        ShowMessage(app, Format("%sLINE must be in data area, command ignored.", what), MsgTo::Box,
                    Beep::Exclamation);
        return;
    }
    if (at->kind == LineKind::TopMarker) {
        ShowMessage(app, Format("%sLINE not allowed on 'Top of File' line.", what), MsgTo::Box,
                    Beep::Exclamation);
        return;
    }
    EditBuffer& buffer = session.buffer;
    LineRecord* line = LineNew(buffer, Unquoted(params));
    if (line == nullptr) {
        return;
    }
    line->kind = kind;
    UndoGroup group(app, session);
    Status status = at->kind == LineKind::EndMarker
                        ? LineInsertBefore(buffer, at, line)
                        : LineInsertAfter(buffer, InsertionPointAfter(buffer, at), line);
    if (status != 0) {
        LineFree(buffer, line);
        return;
    }
    TextChanged(buffer, *line);
    RefreshRowTable(app, session);
}

enum class LineClass { All, Excluded, Shown };

}  // namespace

void DataLineCommand(AppSession& app, EditSession& session, std::string_view params) {
    InsertOneLine(app, session, params, LineKind::Data);
}

void NoteLineCommand(AppSession& app, EditSession& session, std::string_view params) {
    InsertOneLine(app, session, params, LineKind::Note);
}

void DeleteCommand(AppSession& app, EditSession& session, std::string_view params) {
    LineClass lineClass = LineClass::All;
    std::vector<std::string> labels;
    for (CommandWords words = CommandFirstWord(params); !words.word.empty();
         words = CommandFirstWord(words.rest)) {
        std::string upper = UpperAscii(words.word);
        if (upper.front() == '.') {
            if (labels.size() == 2) {
                ShowMessage(app, "Too many labels.", MsgTo::Box, Beep::Exclamation);
                return;
            }
            if (FindLabel(app, session, upper) == nullptr) {
                ShowMessage(app, Format("Label '%s' not found", upper.c_str()), MsgTo::Box,
                            Beep::Exclamation);
                return;
            }
            labels.push_back(upper);
        } else if (upper == "ALL") {
            lineClass = LineClass::All;
        } else if (upper == "X") {
            lineClass = LineClass::Excluded;
        } else if (upper == "NX") {
            lineClass = LineClass::Shown;
        } else {
            ShowMessage(app, Format("Invalid parameter, %s", std::string(words.word).c_str()), MsgTo::Box,
                        Beep::Exclamation);
            return;
        }
    }
    if (params.find_first_not_of(' ') == std::string_view::npos) {
        (void)DeleteSelection(app, session);
        return;
    }
    std::optional<LabelRange> range =
        ResolveRange(app, session, labels.size() > 0 ? labels[0] : std::string(),
                     labels.size() > 1 ? labels[1] : std::string());
    if (!range) {
        return;
    }
    LineCommandRun run{app, session};
    UndoGroup group(app, session);
    LineRecord* last = RangeEndThroughHidden(range->to);
    for (LineRecord* line = range->from; line != nullptr;) {
        LineRecord* next = LineNext(line);
        const bool end = line == last;
        const bool wanted =
            lineClass == LineClass::All || (lineClass == LineClass::Excluded) != LineIsVisible(*line);
        if (wanted && line->kind != LineKind::TopMarker && line->kind != LineKind::EndMarker &&
            line->kind != LineKind::ExcludedMarker) {
            ForgetLineCommands(session, *line);
            DeleteLineRange(run, line, line);
        }
        if (end) {
            break;
        }
        line = next;
    }
    RebuildMarkersKeepingView(app, session);
}

}  // namespace tavoe
