// TE, TF, TJ and TS: text entry, text flow, join and split.

#include <algorithm>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_run.h"
#include "editing/undo_journal.h"

namespace tavoe {

namespace {

constexpr std::int32_t kTextEntryMin = 8;
constexpr std::int32_t kNumberedTextWidth = 71;

bool IsSpecialLine(const LineRecord& line) {
    switch (line.kind) {
        case LineKind::Bounds:
        case LineKind::Cols:
        case LineKind::Mask:
        case LineKind::Note:
        case LineKind::Tabs:
            return true;
        default:
            return false;
    }
}

std::size_t LeadingBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? text.size() : first;
}

bool HasText(std::string_view text) {
    return text.find_first_not_of(' ') != std::string_view::npos;
}

std::int32_t DefaultWidth(LineCommandRun& run) {
    return DataAreaColumns(run.app, run.session) - 1;
}

// The width of a hanging indent: a list mark ("*", "--", "1.", "a)") and the blanks after it.
std::size_t HangingIndent(std::string_view text, std::size_t indent) {
    std::string_view rest = text.substr(std::min(indent, text.size()));
    size_t wordEnd = rest.find(' ');
    if (wordEnd == std::string_view::npos || wordEnd == 0) {
        return 0;
    }
    std::string_view word = rest.substr(0, wordEnd);
    bool bullets = word.find_first_not_of('*') == std::string_view::npos ||
                   word.find_first_not_of('-') == std::string_view::npos;
    bool numbered = false;
    if (word.size() >= 2 && (word.back() == '.' || word.back() == ')')) {
        numbered = std::all_of(word.begin(), word.end() - 1, [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        });
    }
    if (!bullets && !numbered) {
        return 0;
    }
    size_t next = rest.find_first_not_of(' ', wordEnd);
    if (next == std::string_view::npos) {
        return 0;  // a mark alone is no list item
    }
    return next;
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = text.find_first_not_of(' ', at)) != std::string_view::npos) {
        size_t end = text.find(' ', at);
        end = end == std::string_view::npos ? text.size() : end;
        words.emplace_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

}  // namespace

Status TextEntry(LineCommandRun& run, LineRecord* line, std::int32_t width) {
    EditBuffer& buffer = run.session.buffer;
    const FileProfile& profile = buffer.profile;
    if (profile.recordFormat != Recfm::Variable) {
        return Refuse(run.app, "TE only allowed with variable record format files, TE ignored.", MsgTo::Box,
                      Beep::Exclamation);
    }
    std::int32_t cap = profile.numberType == NumberType::Standard || profile.numberType == NumberType::CobStd
                           ? kNumberedTextWidth
                           : profile.maxRecordLength - 1;
    width = std::min(width > 0 ? width : DefaultWidth(run), cap);
    if (width < kTextEntryMin) {
        return Refuse(run.app, "TE width insufficient, TE ignored.", MsgTo::Box, Beep::Exclamation);
    }
    if (line->kind == LineKind::Data && static_cast<std::int32_t>(LeadingBlanks(LineText(*line))) > width) {
        return Refuse(run.app, "TE right bound less than current indent, TE ignored.", MsgTo::Box,
                      Beep::Exclamation);
    }
    Status status = InsertNewLines(run, line, 1);
    if (status == 0) {
        run.session.textEntryWidth = width;
    }
    return status;
}

Status TextFlow(LineCommandRun& run, LineRecord* line, std::int32_t width) {
    EditBuffer& buffer = run.session.buffer;
    const FileProfile& profile = buffer.profile;
    if (profile.numberType != NumberType::None) {
        return Refuse(run.app, "TF not allowed in line numbered file.", MsgTo::Box, Beep::Exclamation);
    }
    if (line->kind != LineKind::Data) {
        return Refuse(run.app, "TF not allowed on non-text line.", MsgTo::Box, Beep::Exclamation);
    }
    if (FinishLoad(buffer) != 0) {
        return -1;
    }
    std::int32_t right = profile.boundsRight > 0 ? profile.boundsRight : profile.maxRecordLength;
    width = std::min(width > 0 ? width : DefaultWidth(run), right);
    std::string_view first = LineText(*line);
    if (first.empty()) {
        return Refuse(run.app, "Can not start text flow on empty line.", MsgTo::Box, Beep::Exclamation);
    }
    size_t lead = LeadingBlanks(first);
    if (static_cast<std::int32_t>(lead) >= width) {
        return Refuse(run.app,
                      static_cast<std::int32_t>(first.size()) <= width
                          ? "Can not start text flow on blank line."
                          : "Line is blank up to text flow column, can not flow.",
                      MsgTo::Box, Beep::Exclamation);
    }
    size_t indent = std::max<size_t>(lead, static_cast<size_t>(std::max(profile.boundsLeft - 1, 0)));
    size_t hanging = HangingIndent(first, lead);
    // The paragraph: the first line and the lines that go on it.
    std::vector<LineRecord*> paragraph{line};
    for (LineRecord* next = LineNext(line); next != nullptr; next = LineNext(next)) {
        std::string_view text = LineText(*next);
        if (next->kind != LineKind::Data || !LineIsVisible(*next) || !HasText(text)) {
            break;
        }
        size_t blanks = LeadingBlanks(text);
        char opener = text[blanks];
        if (opener == '<' || opener == ':' || opener == '.' || blanks != indent + hanging) {
            break;
        }
        if (LineHasPendingCommand(*next)) {
            ShowMessage(run.app, "TF ended by line with pending line command.", MsgTo::Line,
                        Beep::Information);
            break;
        }
        paragraph.push_back(next);
    }
    std::vector<std::string> words;
    for (LineRecord* part : paragraph) {
        for (std::string& word : Words(LineText(*part))) {
            words.push_back(std::move(word));
        }
    }
    std::vector<std::string> flowed;
    std::string current(indent, ' ');
    bool empty = true;
    for (const std::string& word : words) {
        if (!empty && static_cast<std::int32_t>(current.size() + 1 + word.size()) > width) {
            flowed.push_back(current);
            current.assign(indent + hanging, ' ');
            empty = true;
        }
        current += empty ? word : " " + word;
        empty = false;
    }
    flowed.push_back(current);
    // The new lines are made before anything changes, so a failure leaves the paragraph alone.
    std::vector<LineRecord*> made;
    for (const std::string& text : flowed) {
        LineRecord* fresh = LineNew(buffer, text);
        if (fresh == nullptr) {
            for (LineRecord* unused : made) {
                LineFree(buffer, unused);
            }
            return -1;
        }
        fresh->kind = LineKind::Data;
        made.push_back(fresh);
    }
    UndoGroup group(run.app, run.session);
    LineRecord* before = LineNext(paragraph.back());
    DeleteLineRange(run, paragraph.front(), paragraph.back());
    for (LineRecord* fresh : made) {
        if (LineInsertBefore(buffer, before, fresh) != 0) {
            LineFree(buffer, fresh);
            continue;
        }
        TextChanged(buffer, *fresh);
    }
    if (run.session.view.topLine == nullptr || run.session.view.topLine == before) {
        run.session.view.topLine = made.front();
    }
    return 0;
}

Status TextJoin(LineCommandRun& run, LineRecord* line) {
    EditBuffer& buffer = run.session.buffer;
    if (line->kind != LineKind::Data) {
        return Refuse(run.app, "TJ not allowed on non-text line.", MsgTo::Box, Beep::Exclamation);
    }
    LineRecord* next = LineNext(line);
    if (next == nullptr || next->kind == LineKind::EndMarker || next->kind == LineKind::ExcludedMarker) {
        return Refuse(run.app, "Can't join this record type.", MsgTo::Box, Beep::Exclamation);
    }
    if (next->kind != LineKind::Data) {
        return Refuse(run.app, "Can't join non-text line.", MsgTo::Box, Beep::Exclamation);
    }
    std::string_view head = LineText(*line);
    head = head.substr(0, head.find_last_not_of(' ') + 1);
    std::string_view tail = LineText(*next);
    tail.remove_prefix(LeadingBlanks(tail));
    std::string joined(head);
    if (!joined.empty() && !tail.empty()) {
        joined += ' ';
    }
    joined += tail;
    if (static_cast<std::int32_t>(joined.size()) > buffer.profile.maxRecordLength) {
        return Refuse(run.app, "Can't join this record type.", MsgTo::Box, Beep::Exclamation);
    }
    UndoGroup group(run.app, run.session);
    JournalTextChange(run.app, run.session, *line);
    if (LineSetText(buffer, *line, joined) != 0) {
        return -1;
    }
    TextChanged(buffer, *line);
    DeleteLineRange(run, next, next);
    return 0;
}

Status TextSplit(LineCommandRun& run, LineRecord* line, std::int32_t column) {
    EditBuffer& buffer = run.session.buffer;
    if (line->kind != LineKind::Data) {
        return Refuse(
            run.app, IsSpecialLine(*line) ? "Can't split non-text line." : "TS not allowed on non-text line.",
            MsgTo::Box, Beep::Exclamation);
    }
    if (column <= 0) {
        CursorPlace place = CursorPlaceOf(run.app, run.session);
        if (place.line != line) {
            return Refuse(run.app, "Cursor must be on SPLIT line, SPLIT ignored.", MsgTo::Box,
                          Beep::Exclamation);
        }
        column = place.area == CursorArea::Data ? place.column : FirstShownColumn(run.session);
    }
    std::string_view text = LineText(*line);
    const FileProfile& profile = buffer.profile;
    std::int32_t left = std::max(profile.boundsLeft, 1);
    std::int32_t right = profile.boundsRight > 0 ? profile.boundsRight : profile.maxRecordLength;
    if (column < left || column > right) {
        return Refuse(run.app, "SPLIT point outside BOUNDS, SPLIT ignored.", MsgTo::Box, Beep::Exclamation);
    }
    if (static_cast<size_t>(column) > text.size() || !HasText(text.substr(static_cast<size_t>(column - 1)))) {
        return Refuse(run.app, "No text right of SPLIT point, SPLIT ignored.", MsgTo::Box, Beep::Exclamation);
    }
    std::string rest(text.substr(static_cast<size_t>(column - 1)));
    std::string kept(text.substr(0, static_cast<size_t>(column - 1)));
    LineRecord* fresh = LineNew(buffer, rest);
    if (fresh == nullptr) {
        return -1;
    }
    fresh->kind = LineKind::Data;
    UndoGroup group(run.app, run.session);
    JournalTextChange(run.app, run.session, *line);
    if (LineSetText(buffer, *line, kept) != 0 || LineInsertAfter(buffer, line, fresh) != 0) {
        LineFree(buffer, fresh);
        return -1;
    }
    LineStripPadding(buffer, *line);
    TextChanged(buffer, *line);
    TextChanged(buffer, *fresh);
    return 0;
}

}  // namespace tavoe
