#include "editing/locate_command.h"

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "buffer/numbering.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/cursor.h"
#include "editing/cursor_actions.h"
#include "editing/edit_session.h"
#include "editing/keys.h"
#include "editing/labels.h"
#include "editing/line_command_run.h"
#include "editing/line_commands.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `at`, saturating; the position after them in `at`.
std::int64_t ReadNumber(std::string_view text, size_t& at) {
    std::int64_t value = 0;
    while (at < text.size() && IsDigit(text[at])) {
        value = value > 1000000000 ? value : value * 10 + (text[at] - '0');
        ++at;
    }
    return value;
}

LineRecord* StartLine(AppSession& app, EditSession& session) {
    LineRecord* line = CursorLine(app, session);
    return line != nullptr ? line : session.buffer.currentLine;
}

// The line a LOCATE number names.
LineRecord* LineOfNumber(EditSession& session, std::int64_t number) {
    EditBuffer& buffer = session.buffer;
    if (number == 0) {
        return LineFirst(buffer);
    }
    const bool numbered =
        buffer.profile.numberType != NumberType::None && ProfileNumberField(buffer).has_value();
    std::int64_t ordinal = 0;
    LineRecord* lastData = nullptr;
    for (LineRecord* line = LineFirst(buffer); line != nullptr; line = LineNextLoading(buffer, line)) {
        if (line->kind != LineKind::Data) {
            continue;
        }
        lastData = line;
        if (numbered) {
            std::optional<std::int64_t> value = LineNumberValue(buffer, *line);
            if (value && *value >= number) {
                return line;
            }
        } else if (++ordinal == number) {
            return line;
        }
    }
    return lastData != nullptr ? lastData : LineLast(buffer);
}

void GoToLine(AppSession& app, EditSession& session, LineRecord* target, std::int32_t column) {
    EditBuffer& buffer = session.buffer;
    if (!LineIsVisible(*target)) {
        LineSetFlag(*target, LineFlagB::Visible);
        LineRecord* current = buffer.currentLine;
        (void)RebuildExcludedMarkers(buffer, MarkerWidthFor(app, session));
        buffer.currentLine =
            current != nullptr && current->kind != LineKind::ExcludedMarker ? current : target;
    }
    session.view.topLine = target;
    buffer.currentLine = target;
    RefreshRowTable(app, session);
    if (column > 0) {
        session.view.cursorRow = 0;
        ShowCursorColumn(app, session, column);
        return;
    }
    // The CURSOR command's place: the first tab position of the data area, on the target's row.
    KeyOutcome outcome;
    outcome.action = KeyAction::FieldToDataTab;
    PerformEditAction(app, session, outcome);
    SetCursorRow(app, session, 0);
}

LineRecord* SearchForward(LineRecord* from, EditBuffer& buffer, char what) {
    for (LineRecord* line = LineNextLoading(buffer, from); line != nullptr;
         line = LineNextLoading(buffer, line)) {
        bool hit = what == 'S'   ? line->kind != LineKind::Data
                   : what == 'L' ? LineHasLabel(*line)
                                 : LineHasFlag(*line, LineFlagB::Changed);
        if (hit) {
            return line;
        }
    }
    return nullptr;
}

}  // namespace

void LocateCommand(AppSession& app, EditSession& session, std::string_view params) {
    size_t start = params.find_first_not_of(' ');
    std::string_view text = start == std::string_view::npos ? std::string_view() : params.substr(start);
    EditBuffer& buffer = session.buffer;
    if (!text.empty() && text.front() == '.') {
        std::string label = UpperAscii(text.substr(0, text.find(' ')));
        LineRecord* line = FindLabel(app, session, label);
        if (line == nullptr) {
            ShowMessage(app, Format("Label '%s' not found.", label.c_str()), MsgTo::Line, Beep::Information);
            return;
        }
        GoToLine(app, session, line, 0);
        return;
    }
    char first = text.empty() ? '\0' : static_cast<char>(text.front() & ~0x20);
    if (first == 'S' || first == 'L' || first == 'C') {
        LineRecord* from = StartLine(app, session);
        LineRecord* line = from != nullptr ? SearchForward(from, buffer, first) : nullptr;
        if (line == nullptr) {
            const char* what = first == 'S' ? "SPECIAL" : first == 'L' ? "LABEL" : "CHANGE";
            ShowMessage(app, Format("%s line not found.", what), MsgTo::Line, Beep::Information);
            return;
        }
        GoToLine(app, session, line, 0);
        return;
    }
    if (text.empty() || !IsDigit(text.front())) {
        ShowMessage(app, "LOCATE, invalid line number.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    size_t at = 0;
    std::int64_t number = ReadNumber(text, at);
    if (at < text.size() && text[at] != ' ' && text[at] != ',') {
        ShowMessage(app, "LOCATE, invalid line number.", MsgTo::Box, Beep::Exclamation);
        return;
    }
    while (at < text.size() && (text[at] == ' ' || text[at] == ',')) {
        ++at;
    }
    std::int64_t column = 0;
    if (at < text.size()) {
        std::string_view rest = text.substr(at);
        rest = rest.substr(0, rest.find(' '));
        if (rest.find_first_not_of("0123456789") != std::string_view::npos) {
            ShowMessage(app, "LOCATE, invalid colume number.", MsgTo::Box, Beep::Exclamation);
            return;
        }
        size_t digits = 0;
        column = ReadNumber(rest, digits);
        if (column > buffer.profile.maxRecordLength) {
            ShowMessage(app, "LOCATE, colume number greater than maximum record length.", MsgTo::Box,
                        Beep::Exclamation);
            return;
        }
    }
    GoToLine(app, session, LineOfNumber(session, number), static_cast<std::int32_t>(column));
}

void EnterCommand(AppSession& app, EditSession& session, std::string_view) {
    ProcessLineCommands(app, session);
}

}  // namespace tavoe
