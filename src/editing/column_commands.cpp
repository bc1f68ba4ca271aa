#include "editing/column_commands.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "buffer/numbering.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "editing/clipboard_lines.h"
#include "editing/column_edit.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/line_command_run.h"
#include "editing/selection.h"
#include "editing/session_clipboard.h"
#include "editing/undo_journal.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::int32_t kMaxInsertColumns = 60;
constexpr std::size_t kMaxPasteWidth = 1023;

void Error(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

bool RefuseReadOnly(AppSession& app, const EditSession& session) {
    if (!session.ReadOnly()) {
        return false;
    }
    Error(app, "Not allowed to modify READ-ONLY file.");
    return true;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (CommandWords next = CommandFirstWord(text); !next.word.empty(); next = CommandFirstWord(next.rest)) {
        words.push_back(next.word);
    }
    return words;
}

// A column number: digits only (a value too large to be a column saturates).
std::optional<std::int64_t> ColumnNumber(std::string_view word) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (end != word.data() + word.size() || word.empty() || word.front() == '-' || word.front() == '+') {
        return std::nullopt;
    }
    return error == std::errc() ? value : INT32_MAX;
}

// The rectangle: first and last record column, first and last line (in file order).
struct ColumnRect {
    std::int32_t first = 0;
    std::int32_t last = 0;
    LineRecord* from = nullptr;
    LineRecord* to = nullptr;
    std::uint32_t Offset() const { return static_cast<std::uint32_t>(first - 1); }
    std::uint32_t Width() const { return static_cast<std::uint32_t>(last - first + 1); }
};

// The rectangle of the BLOCK selection: the selected lines and the columns they share.
std::optional<ColumnRect> SelectionRect(AppSession& app, EditSession& session) {
    SelectionSpan span = FindSelection(session);
    if (!span) {
        Error(app, "No selection, and no parameters specified.");
        return std::nullopt;
    }
    if (span.mode != SelectionMode::Block) {
        Error(app, "Selection is stream, use CTRL + Mouse to select rectangle.");
        return std::nullopt;
    }
    ColumnRect rect;
    rect.from = span.first;
    rect.to = span.last;
    rect.first = span.first->selStart;
    rect.last = std::min(span.first->selEnd, session.buffer.profile.maxRecordLength);
    rect.last = std::max(rect.last, rect.first);
    return rect;
}

// The rectangle of the parameters: one or two column numbers (one: a rectangle one column wide) and
// up to two labels for the lines.
std::optional<ColumnRect> ParameterRect(AppSession& app, EditSession& session, std::string_view params) {
    std::vector<std::int64_t> columns;
    std::vector<std::string_view> labels;
    for (std::string_view word : Words(params)) {
        std::optional<std::int64_t> column = ColumnNumber(word);
        if (column && columns.size() < 2) {
            columns.push_back(*column);
        } else if (word.front() == '.' && word.size() > 1 && labels.size() < 2) {
            labels.push_back(word);
        } else {
            Error(app, "Parameter must be column number or label.");
            return std::nullopt;
        }
    }
    if (columns.empty()) {
        Error(app, "Parameter must be column number or label.");
        return std::nullopt;
    }
    if (columns[0] < 1) {
        Error(app, "Start column must be 1 or greater.");
        return std::nullopt;
    }
    const std::int64_t last = columns.size() > 1 ? columns[1] : columns[0];
    if (last < columns[0]) {
        Error(app, "End column must be equal or greater than start column.");
        return std::nullopt;
    }
    std::optional<LabelRange> range =
        ResolveRange(app, session, labels.empty() ? "" : labels[0], labels.size() > 1 ? labels[1] : "");
    if (!range) {
        return std::nullopt;
    }
    const std::int64_t limit = session.buffer.profile.maxRecordLength;
    ColumnRect rect;
    rect.first = static_cast<std::int32_t>(std::min(columns[0], limit + 1));
    rect.last = static_cast<std::int32_t>(std::min(last, limit));
    rect.last = std::max(rect.last, rect.first);
    rect.from = range->from;
    rect.to = range->to;
    return rect;
}

std::optional<ColumnRect> CommandRect(AppSession& app, EditSession& session, std::string_view params) {
    (void)FinishLoad(session.buffer);
    return CommandTrim(params).empty() ? SelectionRect(app, session) : ParameterRect(app, session, params);
}

// The data lines of the rectangle, excluded ones included: they are part of the text the range
// covers, as they are of a selection.
std::vector<LineRecord*> RectLines(const ColumnRect& rect) {
    std::vector<LineRecord*> lines;
    for (LineRecord* line = rect.from; line != nullptr; line = LineNext(line)) {
        if (line->kind == LineKind::Data) {
            lines.push_back(line);
        }
        if (line == rect.to) {
            break;
        }
    }
    return lines;
}

// The number columns when the file keeps numbers.
std::optional<NumberField> NumberColumns(const EditBuffer& buffer) {
    if (buffer.profile.numberType == NumberType::None) {
        return std::nullopt;
    }
    return ProfileNumberField(buffer);
}

ColumnField FieldOf(const EditBuffer& buffer) {
    ColumnField field;
    field.end = static_cast<std::uint32_t>(buffer.profile.maxRecordLength);
    field.keepLength = buffer.profile.recordFormat == Recfm::Fixed;
    if (std::optional<NumberField> numbers = NumberColumns(buffer); numbers && numbers->offset > 0) {
        field.end = std::min(field.end, numbers->offset);
    }
    return field;
}

// Whether the columns from offset, `width` wide, reach into the number columns.
bool TouchesNumbers(const EditBuffer& buffer, std::uint32_t offset, std::uint32_t width) {
    std::optional<NumberField> numbers = NumberColumns(buffer);
    return numbers && offset < numbers->End() && offset + width > numbers->offset;
}

// One line's new text, made before anything changes so a refusal leaves the file as it was.
struct LineEdit {
    LineRecord* line = nullptr;
    std::string text;
};

void ApplyEdits(AppSession& app, EditSession& session, std::vector<LineEdit>& edits) {
    EditBuffer& buffer = session.buffer;
    for (LineEdit& edit : edits) {
        JournalTextChange(app, session, *edit.line);
        if (LineSetText(buffer, *edit.line, edit.text) == 0) {
            LineClearFlag(*edit.line, LineFlagA::NumberValid);
            TextChanged(buffer, *edit.line);
        }
    }
}

// The edits of a deletion of the rectangle's columns; false after a message.
bool DeleteEdits(AppSession& app, EditSession& session, const ColumnRect& rect,
                 std::vector<LineEdit>& edits) {
    const EditBuffer& buffer = session.buffer;
    if (TouchesNumbers(buffer, rect.Offset(), rect.Width())) {
        Error(app, "Not allowed to delete chars in the line number field, use overtype.");
        return false;
    }
    const ColumnField field = FieldOf(buffer);
    std::string out;
    for (LineRecord* line : RectLines(rect)) {
        if (DeleteColumns(LineText(*line), rect.Offset(), rect.Width(), field, out) == ColumnEdit::Changed) {
            edits.push_back({line, out});
        }
    }
    return true;
}

// The rectangle's text as clipboard lines: each as wide as the rectangle, CR LF after each.
std::string RectText(const ColumnRect& rect) {
    std::string text;
    for (LineRecord* line : RectLines(rect)) {
        text += CopyColumns(LineText(*line), rect.Offset(), rect.Width());
        text += "\r\n";
    }
    return text;
}

bool CopyRect(AppSession& app, const ColumnRect& rect) {
    if (!PutClipboardText(app, RectText(rect))) {
        Error(app, "Unable to put the columns on the clipboard.");
        return false;
    }
    return true;
}

// The clipboard's lines for COLSPASTE, all of the first one's width; false after a message.
bool PasteLines(AppSession& app, std::vector<std::string>& lines) {
    std::optional<std::string> text = GetClipboardText(app);
    if (!text || text->empty()) {
        Error(app, "COLSPASTE clipboard is empty.");
        return false;
    }
    if (!HasLineEnd(*text)) {
        Error(app, "COLSPASTE clipboard contains stream, can not do column paste.");
        return false;
    }
    ForEachClipboardLine(*text, [&lines](std::string_view line, std::string_view) {
        lines.emplace_back(line);
        return true;
    });
    const std::size_t width = lines.front().size();
    if (width > kMaxPasteWidth) {
        Error(app, Format("COLSPASTE max width allowed for cols paste field is %d.",
                          static_cast<int>(kMaxPasteWidth)));
        return false;
    }
    for (const std::string& line : lines) {
        if (line.size() != width) {
            Error(app, "COLSPASTE clipboard lines do not have uniform length, can not continue.");
            return false;
        }
    }
    return true;
}

// Where COLSPASTE goes: the column and the first line; false after a message.
bool PastePlace(AppSession& app, EditSession& session, std::string_view params, std::int32_t& column,
                LineRecord*& start) {
    std::vector<std::int64_t> columns;
    std::vector<std::string_view> labels;
    for (std::string_view word : Words(params)) {
        if (std::optional<std::int64_t> number = ColumnNumber(word)) {
            columns.push_back(*number);
        } else if (word.front() == '.' && word.size() > 1) {
            labels.push_back(word);
        } else {
            Error(app, "COLSPASTE parameter must be column number or label.");
            return false;
        }
    }
    if (columns.size() > 1) {
        Error(app, "COLSPASTE only allowed to specify one column.");
        return false;
    }
    if (labels.size() > 1) {
        Error(app, "COLSPASTE only allowed to specify one label.");
        return false;
    }
    CursorPlace place = CursorPlaceOf(app, session);
    start = place.line;
    if (!labels.empty()) {
        start = FindLabel(app, session, labels[0]);
        if (start == nullptr) {
            Error(app, Format("Label '%s' not found.", UpperAscii(labels[0]).c_str()));
            return false;
        }
    }
    const std::int64_t limit = session.buffer.profile.maxRecordLength;
    if (!columns.empty()) {
        column = static_cast<std::int32_t>(std::min(columns[0], limit + 1));
    } else {
        column = place.line != nullptr && place.area == CursorArea::Data ? place.column : 0;
    }
    if (column < 1 || column > limit ||
        TouchesNumbers(session.buffer, static_cast<std::uint32_t>(column - 1), 1)) {
        Error(app, "COLSPASTE paste column must be in data area.");
        return false;
    }
    if (start == nullptr || start->kind == LineKind::TopMarker) {
        start = start != nullptr ? LineNext(start) : nullptr;
    }
    if (start == nullptr) {
        Error(app, "COLSPASTE paste column must be in data area.");
        return false;
    }
    return true;
}

}  // namespace

void ColsInsertCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (RefuseReadOnly(app, session)) {
        return;
    }
    std::optional<ColumnRect> rect = CommandRect(app, session, params);
    if (!rect) {
        return;
    }
    std::uint32_t width = rect->Width();
    if (width > static_cast<std::uint32_t>(kMaxInsertColumns)) {
        ShowMessage(app,
                    Format("Insert limited to %d columns, repeat command if more needed.", kMaxInsertColumns),
                    MsgTo::Box, Beep::Exclamation);
        width = kMaxInsertColumns;
    }
    const EditBuffer& buffer = session.buffer;
    if (TouchesNumbers(buffer, rect->Offset(), 1)) {
        Error(app, "Not allowed to insert chars in line number field, use overtype.");
        return;
    }
    const ColumnField field = FieldOf(buffer);
    const std::string blanks(width, ' ');
    std::vector<LineEdit> edits;
    std::string out;
    for (LineRecord* line : RectLines(*rect)) {
        switch (InsertColumns(LineText(*line), rect->Offset(), blanks, field, false, out)) {
            case ColumnEdit::Unchanged:
                break;
            case ColumnEdit::Changed:
                edits.push_back({line, out});
                break;
            case ColumnEdit::NoRoom:
                Error(app, "Insert would exceed maximum record length.");
                return;
        }
    }
    UndoGroup group(app, session);
    ApplyEdits(app, session, edits);
}

void ColsDeleteCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (RefuseReadOnly(app, session)) {
        return;
    }
    std::optional<ColumnRect> rect = CommandRect(app, session, params);
    std::vector<LineEdit> edits;
    if (!rect || !DeleteEdits(app, session, *rect, edits)) {
        return;
    }
    UndoGroup group(app, session);
    ApplyEdits(app, session, edits);
}

void ColsCopyCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (std::optional<ColumnRect> rect = CommandRect(app, session, params)) {
        (void)CopyRect(app, *rect);
    }
}

void ColsCutCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (RefuseReadOnly(app, session)) {
        return;
    }
    std::optional<ColumnRect> rect = CommandRect(app, session, params);
    std::vector<LineEdit> edits;
    if (!rect || !DeleteEdits(app, session, *rect, edits) || !CopyRect(app, *rect)) {
        return;
    }
    UndoGroup group(app, session);
    ApplyEdits(app, session, edits);
}

void ColsPasteCommand(AppSession& app, EditSession& session, std::string_view params) {
    if (RefuseReadOnly(app, session)) {
        return;
    }
    (void)FinishLoad(session.buffer);
    std::int32_t column = 0;
    LineRecord* start = nullptr;
    std::vector<std::string> pieces;
    if (!PastePlace(app, session, params, column, start) || !PasteLines(app, pieces)) {
        return;
    }
    EditBuffer& buffer = session.buffer;
    const ColumnField field = FieldOf(buffer);
    const auto offset = static_cast<std::uint32_t>(column - 1);
    // The lines the pieces go into, in order; the pieces beyond the last data line make new lines.
    std::vector<LineEdit> edits;
    std::string out;
    LineRecord* line = start;
    std::size_t used = 0;
    for (; used < pieces.size(); ++used) {
        while (line != nullptr && line->kind != LineKind::Data && line->kind != LineKind::EndMarker) {
            line = LineNext(line);
        }
        if (line == nullptr || line->kind == LineKind::EndMarker) {
            break;
        }
        if (InsertColumns(LineText(*line), offset, pieces[used], field, true, out) == ColumnEdit::NoRoom) {
            Error(app, "Insert would exceed maximum record length.");
            return;
        }
        edits.push_back({line, out});
        line = LineNext(line);
    }
    UndoGroup group(app, session);
    ApplyEdits(app, session, edits);
    const bool numbered = NumberColumns(buffer).has_value();
    for (; used < pieces.size(); ++used) {
        std::string text;
        (void)InsertColumns({}, offset, pieces[used], field, true, text);
        LineRecord* added = LineNew(buffer, text);
        if (added == nullptr) {
            break;
        }
        added->kind = LineKind::Data;
        if (field.keepLength) {
            (void)LinePadTo(buffer, *added, static_cast<std::uint32_t>(buffer.profile.maxRecordLength));
        }
        if (LineInsertBefore(buffer, nullptr, added) != 0) {
            LineFree(buffer, added);
            break;
        }
        TextChanged(buffer, *added);
        if (numbered && buffer.profile.numberAuto == NumberAuto::Incr) {
            (void)NumberNewLine(buffer, *added);
        }
    }
    if (numbered && buffer.profile.numberAuto == NumberAuto::Full) {
        Renumber(buffer);
    }
    RefreshRowTable(app, session);
}

}  // namespace tavoe
