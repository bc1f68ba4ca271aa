#include "editing/select_command.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/message.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/selection.h"

namespace tavoe {

namespace {

// Refusals of the command: a box with the exclamation beep, as the other parameter checks.
Status Refuse(AppSession& app, std::string_view text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
    return -1;
}

std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        pos = text.find_first_not_of(" ,", pos);
        if (pos == std::string_view::npos) {
            break;
        }
        std::size_t end = text.find_first_of(" ,", pos);
        end = end == std::string_view::npos ? text.size() : end;
        words.emplace_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

// A whole word of decimal digits with an optional sign; nullopt for anything else.
std::optional<std::int64_t> NumberOf(std::string_view word) {
    std::int64_t value = 0;
    const char* begin = word.data();
    if (!word.empty() && word[0] == '+') {
        ++begin;
    }
    auto [end, error] = std::from_chars(begin, word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || begin == end) {
        return std::nullopt;
    }
    return value;
}

// A line given by number or by label.
struct LineWord {
    std::optional<std::int64_t> number;
    LineRecord* labelled = nullptr;
};

std::optional<SelectionMode> ModeOf(std::string_view word) {
    if (word == "STREAM") {
        return SelectionMode::Stream;
    }
    if (word == "WHOLELINE") {
        return SelectionMode::WholeLine;
    }
    if (word == "BLOCK") {
        return SelectionMode::Block;
    }
    return std::nullopt;
}

// The first data line from `from` on whose record number is `number`.
LineRecord* LineWithRecordNumber(LineRecord* from, std::int64_t number) {
    for (LineRecord* line = from; line != nullptr; line = NextDataLine(line)) {
        if (IsDataLine(*line) && static_cast<std::int64_t>(LineGetRecordNumber(*line)) == number) {
            return line;
        }
    }
    return nullptr;
}

}  // namespace

Status SelectAll(AppSession& app, EditSession& session) {
    (void)FinishLoad(session.buffer);
    LineRecord* first = FirstDataLine(session.buffer);
    LineRecord* last = LastDataLine(session.buffer);
    if (first == nullptr || last == nullptr) {
        ShowMessage(app, "No text lines to select, SELECT ALL ignored.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    SelectLines(session, *first, *last);
    return 0;
}

Status SelectToEndOfLine(AppSession& app, EditSession& session) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (session.view.focus != KeyField::Data || place.line == nullptr || place.area != CursorArea::Data ||
        !IsDataLine(*place.line)) {
        ShowMessage(app, "To select to end of line, you must be in the data area of a data line.", MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    const auto end = std::max(static_cast<std::int32_t>(LineLength(*place.line)), place.column);
    SetSelection(session, SelectionMode::Stream, *place.line, place.column, *place.line, end);
    return 0;
}

Status SelectByRange(AppSession& app, EditSession& session, std::string_view params) {
    std::vector<std::string> words = SplitWords(params);
    if (words.empty()) {
        return Refuse(app, "SELECT requires at least one parameter.");
    }
    std::optional<SelectionMode> mode = ModeOf(CommandToUpper(words[0]));
    if (!mode) {
        return Refuse(app, "Parameter 1, select mode, must be STREAM, WHOLELINE, or BLOCK.");
    }
    if (words.size() != 5) {
        return Refuse(app, "SELECT command requires exactly 5 parameters to specify a selection.");
    }
    LineWord start;
    start.number = NumberOf(words[1]);
    if (!start.number) {
        if (words[1][0] != '.') {
            return Refuse(app, "Parameter 2 must be first line number in selection.");
        }
        start.labelled = FindLabel(app, session, words[1]);
        if (start.labelled == nullptr) {
            return Refuse(app, "Parameter 2, label not found.");
        }
    }
    std::optional<std::int64_t> startColumn = NumberOf(words[2]);
    if (!startColumn) {
        return Refuse(app, "Parameter 3 must be first column number in selection.");
    }
    LineWord end;
    end.number = NumberOf(words[3]);
    if (!end.number) {
        end.labelled = words[3][0] == '.' ? FindLabel(app, session, words[3]) : nullptr;
        if (end.labelled == nullptr) {
            return Refuse(app, "Parameter 4 must be last line number in selection.");
        }
    }
    std::optional<std::int64_t> endColumn = NumberOf(words[4]);
    if (!endColumn) {
        return Refuse(app, "Parameter 5 must be last column number in selection.");
    }
    if (start.number && *start.number < 1) {
        return Refuse(app, "Parameter 2, start line number, must be equal or greater than 1");
    }
    if (start.number && end.number && *end.number < *start.number) {
        return Refuse(app, "Parameter 4, end line number, must be equal or greater than start line number");
    }
    if (*startColumn < 1) {
        return Refuse(app, "Parameter 3, start column number, must be equal or greater than 1");
    }
    // Across lines a stream may end left of where it starts; one line and a block may not.
    const bool oneLine = (start.number && end.number && *start.number == *end.number) ||
                         (start.labelled != nullptr && start.labelled == end.labelled);
    if (*endColumn < *startColumn && (oneLine || *mode == SelectionMode::Block)) {
        return Refuse(app, "Parameter 5, end col number must be equal or greater than start col number");
    }
    LineRecord* first = start.labelled;
    if (first == nullptr) {
        first = LineWithRecordNumber(FirstDataLine(session.buffer), *start.number);
        if (first == nullptr) {
            return Refuse(app, "Could not find line matching start line number");
        }
    }
    LineRecord* last = end.labelled != nullptr ? end.labelled : LineWithRecordNumber(first, *end.number);
    if (last == nullptr) {
        last = LastDataLine(session.buffer);
    }
    if (last == nullptr || !LineNotAfter(*first, *last)) {
        return Refuse(app, "Parameter 4, end line number, must be equal or greater than start line number");
    }
    const auto clampColumn = [](std::int64_t column) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(column, kSelectionLineEnd));
    };
    SetSelection(session, *mode, *first, clampColumn(*startColumn), *last, clampColumn(*endColumn));
    return 0;
}

void SelectCommand(AppSession& app, EditSession& session, std::string_view params) {
    std::vector<std::string> words = SplitWords(params);
    const std::string first = words.empty() ? std::string() : CommandToUpper(words[0]);
    if (words.size() == 1 && first == "ALL") {
        (void)SelectAll(app, session);
    } else if (words.size() == 1 && first == "EOL") {
        (void)SelectToEndOfLine(app, session);
    } else {
        (void)SelectByRange(app, session, params);
    }
}

}  // namespace tavoe
