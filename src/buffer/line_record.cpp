#include "buffer/line_record.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/record_pool.h"
#include "core/message.h"

namespace tavoe {

namespace {

void ReportTooLong(EditBuffer& buffer) {
    ShowMessage(buffer.host, "Individual record length exceeds 64000.", MsgTo::Box, Beep::Error);
}

void ReportNoMemory(EditBuffer& buffer) {
    ShowMessage(buffer.host, "Not enough memory to hold the lines of the file.", MsgTo::Box, Beep::Error);
}

void CopyField(char* field, std::string_view text) {
    std::size_t length = std::min<std::size_t>(text.size(), kLineFieldWidth);
    std::size_t end = 0;
    while (end < length && text[end] != '\0') {
        ++end;
    }
    if (end > 0) {
        std::memcpy(field, text.data(), end);
    }
    std::memset(field + end, ' ', kLineFieldWidth - end);
    field[kLineFieldWidth] = '\0';
}

void ReleaseText(EditBuffer& buffer, LineRecord& line) {
    (void)TextBufFree(buffer.host, buffer.textClasses, line.textPage, line.text);
    line.textPage = nullptr;
    line.text = nullptr;
    line.capacity = 0;
    line.length = 0;
}

// Gives the colour buffer a new capacity, keeping the bytes that fit. New bytes repeat the colour of
// the last byte kept, so a grown line is not painted black on black before it is recoloured.
bool ResizeColor(EditBuffer& buffer, LineRecord& line, std::uint32_t capacity) {
    if (line.color == nullptr) {
        return true;
    }
    TextBufRef grown = TextBufAlloc(buffer.textClasses, capacity);
    if (grown.data == nullptr) {
        return false;
    }
    auto* bytes = reinterpret_cast<std::uint8_t*>(grown.data);
    std::uint32_t kept = std::min(line.length, grown.page->slotSize);
    std::memcpy(bytes, line.color, kept);
    std::memset(bytes + kept, kept > 0 ? bytes[kept - 1] : 0, grown.page->slotSize - kept);
    LineFreeColor(buffer, line);
    line.colorPage = grown.page;
    line.color = bytes;
    return true;
}

// Colour bytes [from, to) take the colour of the byte before `from`.
void SpreadColor(LineRecord& line, std::uint32_t from, std::uint32_t to) {
    if (line.color != nullptr && from > 0 && to > from) {
        std::memset(line.color + from, line.color[from - 1], to - from);
    }
}

}  // namespace

void LineSetSelStart(LineRecord& line, std::int32_t column) {
    line.selStart = column > 0 ? column : 0;
    line.selEnd = 0;
}

void LineSetSelEnd(LineRecord& line, std::int32_t column) {
    if (line.selStart > 0 && column >= line.selStart) {
        line.selEnd = column;
    } else {
        LineClearSelection(line);
    }
}

std::string_view LineLabel(const LineRecord& line) {
    std::string_view field = LineLabelField(line);
    std::size_t end = field.find_first_of(std::string_view(" \0", 2));
    return field.substr(0, end);
}

bool LineLabelEquals(const LineRecord& line, std::string_view name) {
    if (name.empty() || name.size() > kLineFieldWidth) {
        return false;
    }
    return std::memcmp(line.label, name.data(), name.size()) == 0 &&
           (name.size() == kLineFieldWidth || line.label[name.size()] == ' ');
}

void LineSetLabel(LineRecord& line, std::string_view label) {
    CopyField(line.label, label);
}

void LineSetPendingCommand(LineRecord& line, std::string_view text) {
    CopyField(line.pendingCommand, text);
}

bool LineHasPendingCommand(const LineRecord& line) {
    for (std::uint32_t i = 0; i < kLineFieldWidth; ++i) {
        if (line.pendingCommand[i] != ' ' && line.pendingCommand[i] != '\0') {
            return true;
        }
    }
    return false;
}

LineRecord* LineNew(EditBuffer& buffer, std::string_view text) {
    if (text.size() > kMaxTextLength) {
        ReportTooLong(buffer);
        return nullptr;
    }
    void* record = PoolAlloc(buffer.linePool);
    if (record == nullptr) {
        ReportNoMemory(buffer);
        return nullptr;
    }
    // The pool hands out zero-filled records: only the non-zero fields need setting.
    auto* line = static_cast<LineRecord*>(record);
    std::memset(line->pendingCommand, ' ', kLineFieldWidth);
    std::memset(line->label, ' ', kLineFieldWidth);
    line->flagsB = static_cast<std::uint8_t>(LineFlagB::Visible);
    if (!text.empty()) {
        TextBufRef slot = TextBufAlloc(buffer.textClasses, static_cast<std::uint32_t>(text.size()));
        if (slot.data == nullptr) {
            PoolFree(buffer.linePool, line);
            ReportNoMemory(buffer);
            return nullptr;
        }
        std::memcpy(slot.data, text.data(), text.size());
        line->textPage = slot.page;
        line->text = slot.data;
        line->capacity = slot.page->slotSize;
        line->length = static_cast<std::uint32_t>(text.size());
    }
    return line;
}

void LineFree(EditBuffer& buffer, LineRecord* line) {
    // A released record is all zeros, and a live one always has a blank or a letter here.
    if (line == nullptr || line->pendingCommand[0] == '\0') {
        return;
    }
    if (line->prev != nullptr || line->next != nullptr || buffer.lines.first == line) {
        LineRemove(buffer, line);
        if (line->prev != nullptr || line->next != nullptr || buffer.lines.first == line) {
            return;  // the top marker stays
        }
    }
    ReleaseText(buffer, *line);
    LineFreeColor(buffer, *line);
    if (buffer.currentLine == line) {
        buffer.currentLine = nullptr;
    }
    PoolFree(buffer.linePool, line);
}

LineRecord* LineDuplicate(EditBuffer& buffer, const LineRecord& line) {
    LineRecord* copy = LineNew(buffer, LineText(line));
    if (copy == nullptr) {
        return nullptr;
    }
    copy->kind = line.kind;
    copy->hiddenCount = line.hiddenCount;
    if (LineHasFlag(line, LineFlagB::Highlighted)) {
        LineSetFlag(*copy, LineFlagB::Highlighted);
    }
    if (line.color != nullptr && copy->capacity > 0) {
        if (LineEnsureColor(buffer, *copy) != 0) {
            LineFree(buffer, copy);
            return nullptr;
        }
        std::memcpy(copy->color, line.color, std::min(copy->capacity, line.capacity));
    }
    return copy;
}

namespace {

Status SetText(EditBuffer& buffer, LineRecord& line, std::string_view text) {
    if (text.size() > kMaxTextLength) {
        ReportTooLong(buffer);
        return -1;
    }
    auto length = static_cast<std::uint32_t>(text.size());
    if (length == 0) {
        ReleaseText(buffer, line);
        LineFreeColor(buffer, line);
        return 0;
    }
    if (TextSlotSize(length) == line.capacity) {
        std::memmove(line.text, text.data(), length);
        line.length = length;
        return 0;
    }
    TextBufRef slot = TextBufAlloc(buffer.textClasses, length);
    if (slot.data == nullptr) {
        ReportNoMemory(buffer);
        return -1;
    }
    std::memcpy(slot.data, text.data(), length);  // before the release: the text may be the line's own
    ReleaseText(buffer, line);
    LineFreeColor(buffer, line);
    line.textPage = slot.page;
    line.text = slot.data;
    line.capacity = slot.page->slotSize;
    line.length = length;
    return 0;
}

// A changed data line is reported to the colorizer, which recolours it when it is next shown.
void NoteTextChange(EditBuffer& buffer, LineRecord& line) {
    if (buffer.colorizer != nullptr && IsDataLine(line)) {
        buffer.colorizer->ColorizeLine(buffer, line);
    }
}

}  // namespace

Status LineSetText(EditBuffer& buffer, LineRecord& line, std::string_view text) {
    Status status = SetText(buffer, line, text);
    if (status == 0) {
        NoteTextChange(buffer, line);
    }
    return status;
}

Status LineEnsureCapacity(EditBuffer& buffer, LineRecord& line, std::uint32_t n) {
    if (line.capacity >= n) {
        return 0;
    }
    if (n > kMaxTextLength) {
        ReportTooLong(buffer);
        return -1;
    }
    // The new buffer is taken before the old one is released, so a failure loses nothing.
    TextBufRef slot = TextBufAlloc(buffer.textClasses, n);
    if (slot.data == nullptr || !ResizeColor(buffer, line, slot.page->slotSize)) {
        (void)TextBufFree(buffer.host, buffer.textClasses, slot.page, slot.data);
        ReportNoMemory(buffer);
        return -1;
    }
    std::uint32_t length = line.length;
    if (length > 0) {
        std::memcpy(slot.data, line.text, length);
    }
    ReleaseText(buffer, line);
    line.textPage = slot.page;
    line.text = slot.data;
    line.capacity = slot.page->slotSize;
    line.length = length;
    return 0;
}

Status LinePadTo(EditBuffer& buffer, LineRecord& line, std::uint32_t n) {
    if (line.length >= n) {
        return 0;
    }
    if (LineEnsureCapacity(buffer, line, n) != 0) {
        return -1;
    }
    buffer.hasPaddedLines = true;
    LineSetFlag(line, LineFlagA::BlankPadded);
    std::memset(line.text + line.length, ' ', n - line.length);
    SpreadColor(line, line.length, n);
    line.length = n;
    return 0;
}

void LineStripPadding(EditBuffer& buffer, LineRecord& line) {
    if (buffer.profile.recordFormat != Recfm::Variable || line.kind != LineKind::Data) {
        return;
    }
    LineClearFlag(line, LineFlagA::BlankPadded);
    while (line.length > 0 && line.text[line.length - 1] == ' ') {
        --line.length;
    }
}

Status LineEnsureColor(EditBuffer& buffer, LineRecord& line) {
    if (line.color != nullptr || line.capacity == 0) {
        return 0;
    }
    TextBufRef slot = TextBufAlloc(buffer.textClasses, line.capacity);
    if (slot.data == nullptr) {
        ReportNoMemory(buffer);
        return -1;
    }
    std::memset(slot.data, 0, slot.page->slotSize);
    line.colorPage = slot.page;
    line.color = reinterpret_cast<std::uint8_t*>(slot.data);
    return 0;
}

void LineFreeColor(EditBuffer& buffer, LineRecord& line) {
    (void)TextBufFree(buffer.host, buffer.textClasses, line.colorPage, line.color);
    line.colorPage = nullptr;
    line.color = nullptr;
}

namespace {

Status ReplaceText(EditBuffer& buffer, LineRecord& line, std::uint32_t offset, std::uint32_t count,
                   std::string_view text) {
    std::string own;
    if (!text.empty() && line.text != nullptr && text.data() >= line.text &&
        text.data() < line.text + line.capacity) {
        own.assign(text);  // the text is part of this line and may move
        text = own;
    }
    std::uint64_t start = offset;
    std::uint64_t removeEnd = std::min<std::uint64_t>(start + count, line.length);
    if (removeEnd < start) {
        removeEnd = start;  // the offset lies beyond the end: nothing to remove
    }
    std::uint64_t tail = line.length > removeEnd ? line.length - removeEnd : 0;
    std::uint64_t newLength = start + text.size() + tail;
    if (newLength > kMaxTextLength) {
        ReportTooLong(buffer);
        return -1;
    }
    auto length = static_cast<std::uint32_t>(newLength);
    if (LineEnsureCapacity(buffer, line, length) != 0) {
        return -1;
    }
    if (length == 0) {
        line.length = 0;
        return 0;
    }
    auto at = static_cast<std::uint32_t>(start);
    auto inserted = static_cast<std::uint32_t>(text.size());
    auto from = static_cast<std::uint32_t>(removeEnd);
    auto kept = static_cast<std::uint32_t>(tail);
    std::uint32_t oldLength = line.length;
    std::memmove(line.text + at + inserted, line.text + from, kept);
    if (line.color != nullptr) {
        std::memmove(line.color + at + inserted, line.color + from, kept);
    }
    if (at > oldLength) {
        std::memset(line.text + oldLength, ' ', at - oldLength);
        SpreadColor(line, oldLength, at);
    }
    if (inserted > 0) {
        std::memcpy(line.text + at, text.data(), inserted);  // an empty text may have no data at all
    }
    if (at == 0 && line.color != nullptr && inserted > 0 && kept > 0) {
        std::memset(line.color, line.color[inserted], inserted);  // nothing before: take the next colour
    }
    SpreadColor(line, at, at + inserted);
    line.length = length;
    return 0;
}

}  // namespace

Status LineReplaceText(EditBuffer& buffer, LineRecord& line, std::uint32_t offset, std::uint32_t count,
                       std::string_view text) {
    Status status = ReplaceText(buffer, line, offset, count, text);
    if (status == 0) {
        NoteTextChange(buffer, line);
    }
    return status;
}

void LineAdoptText(EditBuffer& buffer, LineRecord& line, LineRecord& donor) {
    if (&line == &donor) {
        return;
    }
    ReleaseText(buffer, line);
    LineFreeColor(buffer, line);
    line.textPage = donor.textPage;
    line.text = donor.text;
    line.capacity = donor.capacity;
    line.length = donor.length;
    line.colorPage = donor.colorPage;
    line.color = donor.color;
    donor.textPage = nullptr;
    donor.text = nullptr;
    donor.capacity = 0;
    donor.length = 0;
    donor.colorPage = nullptr;
    donor.color = nullptr;
}

}  // namespace tavoe
