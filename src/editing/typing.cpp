#include "editing/typing.h"

#include <algorithm>
#include <string>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/numbering.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/keys.h"
#include "editing/line_commands.h"
#include "editing/selection.h"
#include "editing/typing_fields.h"
#include "editing/typing_journal.h"
#include "editing/undo_journal.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::string_view kReadOnly = "Not allowed to modify READ-ONLY file.";
constexpr std::string_view kNotModifiable = "This line is not modifiable.";
constexpr std::string_view kDeleteInNumberField =
    "Not allowed to delete chars in the line number field, use overtype.";

// Keystroke refusals are errors on the message line (a message too long for it becomes a box).
bool CapsOn(const EditBuffer& buffer) {
    return buffer.profile.caps == CapsMode::On ||
           (buffer.profile.caps == CapsMode::Auto && buffer.file.capsOn);
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

CharSet DisplaySetOf(const EditBuffer& buffer) {
    return buffer.profile.displayCharset == ProfileCharset::AsciiIbmPc ? CharSet::AsciiIbmPc
                                                                       : CharSet::AsciiIso8859;
}

// A bounds line: "<" marks the left bound, ">" the right; a missing mark leaves the record's edge.
void TakeBounds(EditBuffer& buffer, std::string_view text) {
    const std::int32_t length = MaxRecordLength(buffer);
    size_t left = text.find('<');
    size_t right = text.rfind('>');
    std::int32_t leftBound = left == std::string_view::npos ? 1 : static_cast<std::int32_t>(left) + 1;
    std::int32_t rightBound = right == std::string_view::npos ? length : static_cast<std::int32_t>(right) + 1;
    leftBound = std::min(leftBound, length);
    rightBound = std::min(rightBound, length);
    if (rightBound >= leftBound) {
        buffer.profile.boundsLeft = leftBound;
        buffer.profile.boundsRight = rightBound;
    }
}

// A tabs line: every "*" is a Tab key stop.
void TakeTabStops(EditBuffer& buffer, std::string_view text) {
    TabStops stops{};
    int count = 0;
    for (size_t i = 0; i < text.size() && count < kProfileTabStopsMax; ++i) {
        if (text[i] == '*' && static_cast<int>(i) + 1 <= kProfileTabStopMax) {
            stops[static_cast<size_t>(count++)] = static_cast<std::int32_t>(i) + 1;
        }
    }
    buffer.profile.tabKeyStopsAt = stops;
}

// A mask line: its text without trailing blanks.
void TakeMask(EditBuffer& buffer, std::string_view text) {
    size_t end = text.find_last_not_of(' ');
    text = end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
    buffer.profile.maskLine = std::string(text.substr(0, kProfileMaskLineMax));
}

// What follows every change to a line's text: the session is modified, an inserted line has been
// typed into, the line is recoloured, and a special line hands its settings to the session.
void AfterChange(EditSession& session, LineRecord& line) {
    EditBuffer& buffer = session.buffer;
    buffer.modified = true;
    LineClearFlag(line, LineFlagA::InsertPending);
    if (line.kind == LineKind::Data && buffer.colorizer != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, line);
    }
    switch (line.kind) {
        case LineKind::Bounds:
            TakeBounds(buffer, LineText(line));
            break;
        case LineKind::Tabs:
            TakeTabStops(buffer, LineText(line));
            break;
        case LineKind::Mask:
            TakeMask(buffer, LineText(line));
            break;
        default:
            break;
    }
}

// After characters went into a line: with CAPS on a data line is upper-cased whole, then the change
// is taken as every change is.
void AfterTyping(EditSession& session, LineRecord& line) {
    if (IsDataLine(line) && CapsOn(session.buffer)) {
        std::transform(line.text, line.text + line.length, line.text, Upper);
    }
    AfterChange(session, line);
}

std::string InsertRefusal(const EditBuffer& buffer, const LineRecord& line, const EditField& field) {
    if (field.shape == FieldShape::Growing && !(IsDataLine(line) && LineNumbersOn(buffer))) {
        return "Insert would exceed maximum record length.";
    }
    return "Insert would exceed maximum record length or overrun line number field.";
}

// One character into a padded field: the field's last column must be blank; it goes and the field's
// text from the column on moves one place right.
bool InsertIntoPaddedField(EditBuffer& buffer, LineRecord& line, const EditField& field, std::int32_t column,
                           char ch) {
    if (column > field.last || line.length < static_cast<std::uint32_t>(field.last) ||
        line.text[field.last - 1] != ' ') {
        return false;
    }
    if (LineReplaceText(buffer, line, static_cast<std::uint32_t>(field.last - 1), 1, {}) != 0) {
        return false;
    }
    return LineReplaceText(buffer, line, static_cast<std::uint32_t>(column - 1), 0,
                           std::string_view(&ch, 1)) == 0;
}

// One character into a line that grows: a full line gives up a trailing blank behind the column.
bool InsertIntoGrowingLine(EditBuffer& buffer, LineRecord& line, std::int32_t column, char ch) {
    const std::int32_t length = MaxRecordLength(buffer);
    if (column > length) {
        return false;
    }
    auto at = static_cast<std::uint32_t>(column - 1);
    if (at < line.length && line.length >= static_cast<std::uint32_t>(length)) {
        if (line.text[line.length - 1] != ' ') {
            return false;
        }
        if (LineReplaceText(buffer, line, line.length - 1, 1, {}) != 0) {
            return false;
        }
    }
    return LineReplaceText(buffer, line, at, 0, std::string_view(&ch, 1)) == 0;
}

// Whether one character fits at the column: a padded field needs a blank (or no text yet) in its last
// column, a growing line room below the maximum record length or a trailing blank behind the column.
bool HasRoomToInsert(const EditBuffer& buffer, const LineRecord& line, const EditField& field,
                     std::int32_t column) {
    if (field.shape == FieldShape::Padded) {
        return column <= field.last &&
               (line.length < static_cast<std::uint32_t>(field.last) || line.text[field.last - 1] == ' ');
    }
    const std::int32_t length = MaxRecordLength(buffer);
    if (column > length || line.length < static_cast<std::uint32_t>(length) ||
        static_cast<std::uint32_t>(column - 1) >= line.length) {
        return column <= length;
    }
    return line.text[line.length - 1] == ' ';
}

// An insert between the bounds shifts text only up to the right bound: what stands beyond it (a
// sequence field in columns 73-80, say) stays where it is. A line whose text reaches the right bound
// then works as a padded field ending there; a shorter line grows as before.
EditField WithinBounds(const EditBuffer& buffer, const LineRecord& line, EditField field,
                       std::int32_t column) {
    const std::int32_t left = buffer.profile.boundsLeft;
    const std::int32_t right = buffer.profile.boundsRight;
    if (!IsDataLine(line) || field.numberField || left < 1 || right < left || column < left ||
        column > right || right >= field.last || line.length < static_cast<std::uint32_t>(right)) {
        return field;
    }
    field.first = std::max(field.first, left);
    field.last = right;
    field.shape = FieldShape::Padded;
    return field;
}

void NotifyPendingCleared(AppSession& app, EditSession& session, LineRecord& line) {
    if (!LineHasPendingCommand(line)) {
        PendingCommandCleared(app, session, line);
    }
}

// The prefix area from the cell on: the label goes and the pending text is blanked.
void ClearPrefixFrom(AppSession& app, EditSession& session, LineRecord& line, int offset) {
    if (LineHasLabel(line)) {
        LineClearLabel(line);
    }
    std::string pending(LinePendingCommand(line));
    size_t from = static_cast<size_t>(std::clamp(offset, 0, static_cast<int>(pending.size())));
    std::fill(pending.begin() + static_cast<std::ptrdiff_t>(from), pending.end(), ' ');
    LineSetPendingCommand(line, pending);
    NotifyPendingCleared(app, session, line);
}

void CursorOneCellRight(AppSession& app, EditSession& session) {
    EditViewState& view = session.view;
    view.cursorColumn = std::min(view.cursorColumn + 1, std::max(WindowSizeOf(app, session).columns - 1, 0));
    FitFocusToCursor(session);
}

int TypeIntoPrefix(AppSession& app, EditSession& session, const CursorPlace& place, std::uint8_t ch) {
    LineRecord& line = *place.line;
    int offset = std::min(place.prefixOffset, static_cast<int>(kLineFieldWidth) - 1);
    if (ch == ' ') {
        ClearPrefixFrom(app, session, line, offset);
    } else {
        std::string pending(LinePendingCommand(line));
        pending[static_cast<size_t>(offset)] = static_cast<char>(ch);
        LineSetPendingCommand(line, pending);
        PendingCommandTyped(app, session, line);
    }
    CursorOneCellRight(app, session);
    return 0;
}

// After a character went in: the cursor moves one record column right, the view following it; from
// the last column of the record it goes just past the record, where the next key is refused aloud.
void AdvanceCursor(AppSession& app, EditSession& session, std::int32_t column) {
    if (column < MaxRecordLength(session.buffer)) {
        ShowCursorColumn(app, session, column + 1);
    } else {
        ShowCursorPastRecord(app, session);
    }
}

// The character at the cursor's place by the instance's typing mode.
int TypeAt(AppSession& app, EditSession& session, LineRecord& line, std::int32_t column, char ch) {
    std::string_view one(&ch, 1);
    int result = CurrentTypingMode(app) == ui::TypingMode::Overtype
                     ? OvertypeChars(app, session, line, one, column)
                     : InsertChars(app, session, line, one, column);
    if (result == 0) {
        AdvanceCursor(app, session, column);
    }
    return result;
}

// Text entry: a character typed beyond the width takes the word it ends to a new line. A blank just
// starts the new line.
int WrapWord(AppSession& app, EditSession& session, LineRecord& line, char ch) {
    EditBuffer& buffer = session.buffer;
    UndoGroup group(app, session);  // the cut, the new line and the moved word undo as one step
    if (ch == ' ') {
        return StartNewLine(app, session);
    }
    const std::int32_t width = session.textEntryWidth;
    std::string_view text = LineText(line);
    std::int32_t blank = 0;
    for (std::int32_t column = width; column >= 1; --column) {
        if (static_cast<std::uint32_t>(column) > text.size() ||
            text[static_cast<size_t>(column) - 1] == ' ') {
            blank = column;
            break;
        }
    }
    if (blank == 0) {
        Refuse(app, "Current line full, has no blanks, can not wrap word.", MsgTo::Line, Beep::Error);
        return -1;
    }
    // The word runs from the blank to the end of the line's text field; number columns stay put.
    EditField field = TextFieldOf(buffer, line);
    std::int32_t end = std::min(static_cast<std::int32_t>(text.size()), field.last);
    std::string word;
    if (end > blank) {
        word.assign(text.substr(static_cast<size_t>(blank), static_cast<size_t>(end - blank)));
        word.erase(word.find_last_not_of(' ') + 1);
    }
    if (blank <= end) {
        JournalFirstChange(app, session, line);
        auto at = static_cast<std::uint32_t>(blank - 1);
        auto count = static_cast<std::uint32_t>(end - blank + 1);
        bool cutInside = field.shape == FieldShape::Padded && text.size() > static_cast<size_t>(field.last);
        int result = cutInside ? LineReplaceText(buffer, line, at, count, std::string(count, ' '))
                               : LineReplaceText(buffer, line, at, count, {});
        if (result != 0) {
            return -1;
        }
        AfterChange(session, line);
    }
    if (StartNewLine(app, session) != 0) {
        return -1;
    }
    word += ch;
    for (char c : word) {
        CursorPlace place = CursorPlaceOf(app, session);
        if (place.line == nullptr || place.area != CursorArea::Data ||
            TypeAt(app, session, *place.line, place.column, c) != 0) {
            return -1;
        }
    }
    return 0;
}

void CountKeystroke(AppSession& app, EditSession& session) {
    const std::int32_t limit = session.buffer.profile.promptAfterKeystrokes;
    if (limit <= 0) {
        return;
    }
    session.keystrokeCount += 1;
    if (session.keystrokeCount > limit) {
        ShowMessage(
            app,
            Format("You requested to be prompted for a possible SAVE after %d keystrokes were entered.\n"
                   "The keystroke counter is reset to 0 at this time.\n"
                   "The precise time you enter the SAVE command is left up to you.\n",
                   static_cast<int>(session.keystrokeCount)),
            MsgTo::Box, Beep::Error);
        session.keystrokeCount = 0;
    }
}

}  // namespace

bool IsModifiableLine(const LineRecord& line) {
    switch (line.kind) {
        case LineKind::Data:
        case LineKind::Bounds:
        case LineKind::Mask:
        case LineKind::Tabs:
            return true;
        default:
            return false;
    }
}

Status TypeChar(AppSession& app, EditSession& session, std::uint8_t ch, TypedFrom from) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr) {
        Refuse(app, "CHARIN cursor must be on a line.", MsgTo::Line, Beep::Error);
        return -1;
    }
    if (place.area == CursorArea::Prefix) {
        return TypeIntoPrefix(app, session, place, ch);
    }
    if (session.ReadOnly()) {
        Refuse(app, kReadOnly, MsgTo::Line, Beep::Error);
        return -1;
    }
    if (!IsModifiableLine(*place.line)) {
        Refuse(app, kNotModifiable, MsgTo::Line, Beep::Error);
        return -1;
    }
    if (SelectionExists(session)) {
        if (DeleteSelection(app, session) != 0) {
            return -1;
        }
        place = CursorPlaceOf(app, session);
        if (place.line == nullptr || place.area != CursorArea::Data || !IsModifiableLine(*place.line)) {
            return -1;
        }
    }
    char typed = static_cast<char>(ch);
    if (from == TypedFrom::Keyboard) {
        typed = TranslateTypedChar(DisplaySetOf(session.buffer), typed);
    }
    int result = session.textEntryWidth > 0 && place.column > session.textEntryWidth
                     ? WrapWord(app, session, *place.line, typed)
                     : TypeAt(app, session, *place.line, place.column, typed);
    if (result == 0) {
        CountKeystroke(app, session);
    }
    return result;
}

Status InsertChars(AppSession& app, EditSession& session, LineRecord& line, std::string_view chars,
                   std::int32_t column) {
    EditBuffer& buffer = session.buffer;
    if (!IsModifiableLine(line)) {
        Refuse(app, kNotModifiable, MsgTo::Line, Beep::Error);
        return -1;
    }
    std::optional<EditField> field = EditableField(buffer, line, column);
    if (!field) {
        if (column > MaxRecordLength(buffer)) {
            Refuse(app, InsertRefusal(buffer, line, EditableField(buffer, line, 1).value_or(EditField{})),
                   MsgTo::Line, Beep::Error);
        } else {
            Refuse(app, "Not allowed to insert chars in line number field, use overtype.", MsgTo::Line,
                   Beep::Error);
        }
        return -1;
    }
    if (chars.empty()) {
        return 0;
    }
    field = WithinBounds(buffer, line, *field, column);
    if (!HasRoomToInsert(buffer, line, *field, column)) {
        Refuse(app, InsertRefusal(buffer, line, *field), MsgTo::Line, Beep::Error);
        return -1;
    }
    JournalFirstChange(app, session, line);
    if (field->shape == FieldShape::Padded &&
        LinePadTo(buffer, line, static_cast<std::uint32_t>(field->last)) != 0) {
        return -1;
    }
    std::string own(chars);  // the characters may come from the line itself
    int result = 0;
    bool changed = false;
    for (size_t i = 0; i < own.size(); ++i) {
        std::int32_t at = column + static_cast<std::int32_t>(i);
        bool done = field->shape == FieldShape::Padded
                        ? InsertIntoPaddedField(buffer, line, *field, at, own[i])
                        : InsertIntoGrowingLine(buffer, line, at, own[i]);
        if (!done) {
            Refuse(app, InsertRefusal(buffer, line, *field), MsgTo::Line, Beep::Error);
            result = -1;
            break;
        }
        changed = true;
    }
    if (changed) {
        AfterTyping(session, line);
    }
    return result;
}

Status OvertypeChars(AppSession& app, EditSession& session, LineRecord& line, std::string_view chars,
                     std::int32_t column) {
    EditBuffer& buffer = session.buffer;
    if (!IsModifiableLine(line)) {
        Refuse(app, kNotModifiable, MsgTo::Line, Beep::Error);
        return -1;
    }
    if (column < 1 || chars.empty()) {
        return column < 1 ? -1 : 0;
    }
    const auto count = static_cast<std::int32_t>(chars.size());
    if (buffer.profile.numberAuto != NumberAuto::None) {
        for (std::int32_t c = column; c < column + count; ++c) {
            if (InNumberColumns(buffer, line, c)) {
                Refuse(app, "Not allowed to overtype line number field when NUMAUTO is on.", MsgTo::Line,
                       Beep::Error);
                return -1;
            }
        }
    }
    if (column + count - 1 > MaxRecordLength(buffer)) {
        Refuse(app, "Overtype string would exceed maximum record length.", MsgTo::Line, Beep::Error);
        return -1;
    }
    JournalFirstChange(app, session, line);
    auto at = static_cast<std::uint32_t>(column - 1);
    std::uint32_t replaced = line.length > at ? std::min<std::uint32_t>(line.length - at, chars.size()) : 0;
    if (LineReplaceText(buffer, line, at, replaced, chars) != 0) {
        return -1;
    }
    AfterTyping(session, line);
    return 0;
}

Status DeleteChars(AppSession& app, EditSession& session, LineRecord& line, std::int32_t column,
                   std::int32_t count) {
    EditBuffer& buffer = session.buffer;
    if (!IsModifiableLine(line)) {
        Refuse(app, kNotModifiable, MsgTo::Line, Beep::Error);
        return -1;
    }
    if (InNumberColumns(buffer, line, column)) {
        Refuse(app, kDeleteInNumberField, MsgTo::Line, Beep::Error);
        return -1;
    }
    std::optional<EditField> field = EditableField(buffer, line, column);
    const auto length = static_cast<std::int32_t>(line.length);
    if (!field || column < 1 || column > length || count < 1) {
        return 0;  // nothing there to delete
    }
    JournalFirstChange(app, session, line);
    auto at = static_cast<std::uint32_t>(column - 1);
    int result = 0;
    if (field->shape == FieldShape::Padded && length >= field->last) {
        // Within the field: what follows moves left and the field's end is blanked.
        std::int32_t n = std::min(count, field->last - column + 1);
        auto fieldEnd = static_cast<std::uint32_t>(field->last);
        result = LineReplaceText(buffer, line, at, static_cast<std::uint32_t>(n), {});
        if (result == 0) {
            result = LineReplaceText(buffer, line, fieldEnd - static_cast<std::uint32_t>(n), 0,
                                     std::string(static_cast<size_t>(n), ' '));
        }
    } else {
        std::int32_t n = std::min(count, length - column + 1);
        result = LineReplaceText(buffer, line, at, static_cast<std::uint32_t>(n), {});
    }
    if (result != 0) {
        return -1;
    }
    AfterChange(session, line);
    return 0;
}

Status DeleteToEndOfLine(AppSession& app, EditSession& session) {
    constexpr std::string_view kNeedDataLine = "The cursor must be on a data line to do DELEOL.";
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr) {
        Refuse(app, kNeedDataLine, MsgTo::Line, Beep::Error);
        return -1;
    }
    LineRecord& line = *place.line;
    if (place.area == CursorArea::Prefix) {
        ClearPrefixFrom(app, session, line, place.prefixOffset);
        return 0;
    }
    if (!IsModifiableLine(line)) {
        Refuse(app, kNeedDataLine, MsgTo::Line, Beep::Error);
        return -1;
    }
    if (session.ReadOnly()) {
        Refuse(app, kReadOnly, MsgTo::Line, Beep::Error);
        return -1;
    }
    EditBuffer& buffer = session.buffer;
    const std::int32_t column = place.column;
    const auto length = static_cast<std::int32_t>(line.length);
    // The number columns of a numbered line are not the line's text: they stay.
    std::int32_t end = length;
    bool blankFill = false;
    if (IsDataLine(line) && LineNumbersOn(buffer)) {
        if (InNumberColumns(buffer, line, column)) {
            Refuse(app, kDeleteInNumberField, MsgTo::Line, Beep::Error);
            return -1;
        }
        std::optional<EditField> field = EditableField(buffer, line, column);
        if (!field) {
            return 0;
        }
        blankFill = length > field->last;
        end = std::min(length, field->last);
    }
    if (column > end) {
        return 0;
    }
    JournalFirstChange(app, session, line);
    auto at = static_cast<std::uint32_t>(column - 1);
    auto count = static_cast<std::uint32_t>(end - column + 1);
    int result = blankFill ? LineReplaceText(buffer, line, at, count, std::string(count, ' '))
                           : LineReplaceText(buffer, line, at, count, {});
    if (result != 0) {
        return -1;
    }
    AfterChange(session, line);
    return 0;
}

Status DeletePrefixChar(AppSession& app, EditSession& session, LineRecord& line, int offset) {
    std::string pending(LinePendingCommand(line));
    if (offset < 0 || offset >= static_cast<int>(pending.size())) {
        return 0;
    }
    pending.erase(static_cast<size_t>(offset), 1);
    pending += ' ';
    LineSetPendingCommand(line, pending);
    NotifyPendingCleared(app, session, line);
    return 0;
}

Status StartNewLine(AppSession& app, EditSession& session) {
    EditBuffer& buffer = session.buffer;
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr || place.line->kind == LineKind::EndMarker) {
        Refuse(app, "CHARIN cursor must be on a line.", MsgTo::Line, Beep::Error);
        return -1;
    }
    LineRecord* line = LineNew(buffer, {});
    if (line == nullptr) {
        return -1;
    }
    line->kind = LineKind::Data;
    if (LineInsertAfter(buffer, place.line, line) != 0) {
        LineFree(buffer, line);
        return -1;
    }
    if (buffer.profile.numberAuto != NumberAuto::None && LineNumbersOn(buffer)) {
        (void)NumberNewLine(buffer, *line);
    }
    if (buffer.colorizer != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, *line);
    }
    NumberType type = buffer.profile.numberType;
    if (type != NumberType::Cobol && type != NumberType::CobStd) {
        session.view.horizontalOffset = 0;
    }
    RefreshRowTable(app, session);
    CursorRowDown(app, session);
    session.view.cursorColumn = session.view.prefixWidth;
    FitFocusToCursor(session);
    return 0;
}

}  // namespace tavoe
