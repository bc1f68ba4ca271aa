#include "buffer/edit_buffer.h"

#include "buffer/guarded_block.h"
#include "buffer/record_buffer.h"
#include "core/message.h"
#include "core/storage_host.h"

namespace tavoe {

namespace {

bool IsLinked(const EditBuffer& buffer, const LineRecord* line) {
    return line->prev != nullptr || line->next != nullptr || buffer.lines.first == line;
}

bool IsTopMarker(const LineRecord* line) {
    return line != nullptr && line->kind == LineKind::TopMarker;
}

// Bookkeeping for a line that has just been linked in.
// A data line whose text or neighbours changed is reported to the colorizer, which recolours it
// when it is next shown and hands a changed block-comment state down.
void NoteColorChange(EditBuffer& buffer, LineRecord* line) {
    if (line != nullptr && !IsDataLine(*line)) {
        line = NextDataLine(line);
    }
    if (buffer.colorizer != nullptr && line != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, *line);
    }
}

void NoteInserted(EditBuffer& buffer, LineRecord& line) {
    if (LineIsVisible(line)) {
        ++buffer.visibleLineCount;
    }
    if (line.kind == LineKind::Data) {
        buffer.modified = true;
        if (buffer.journal != nullptr) {
            buffer.journal->JournalInsert(buffer, line);
        }
        NoteColorChange(buffer, &line);
    }
}

}  // namespace

EditBuffer::EditBuffer(AppSession& app) : EditBuffer(Storage(app)) {}

EditBuffer::EditBuffer(StorageHost& storageHost) : host(storageHost) {
    linePool = PoolCreate("LineRecord", sizeof(LineRecord));
    LineRecord* top = LineNew(*this, kTopMarkerText);
    if (top == nullptr) {
        return;  // reported by LineNew; the buffer stays empty
    }
    top->kind = LineKind::TopMarker;
    DListAppend(&lines, top);
    visibleLineCount = 1;
    currentLine = top;
}

EditBuffer::~EditBuffer() {
    PoolDestroy(linePool);
    TextStoreRelease(textClasses);
    RecBufReleaseAll(recordBuffers);
}

LineRecord* EndMarkerLine(const EditBuffer& buffer) {
    LineRecord* last = LineLast(buffer);
    return last != nullptr && last->kind == LineKind::EndMarker ? last : nullptr;
}

LineRecord* FirstDataLine(const EditBuffer& buffer) {
    LineRecord* line = LineFirst(buffer);
    return line == nullptr || IsDataLine(*line) ? line : NextDataLine(line);
}

LineRecord* LastDataLine(const EditBuffer& buffer) {
    LineRecord* line = LineLast(buffer);
    return line == nullptr || IsDataLine(*line) ? line : PrevDataLine(line);
}

LineRecord* NextDataLine(const LineRecord* line) {
    for (LineRecord* walk = LineNext(line); walk != nullptr; walk = LineNext(walk)) {
        if (IsDataLine(*walk)) {
            return walk;
        }
    }
    return nullptr;
}

LineRecord* PrevDataLine(const LineRecord* line) {
    for (LineRecord* walk = LinePrev(line); walk != nullptr; walk = LinePrev(walk)) {
        if (IsDataLine(*walk)) {
            return walk;
        }
    }
    return nullptr;
}

Status LineInsertBefore(EditBuffer& buffer, LineRecord* before, LineRecord* line) {
    if (line == nullptr || IsLinked(buffer, line)) {
        return -1;
    }
    if (before == nullptr) {
        before = EndMarkerLine(buffer);
    } else if (IsTopMarker(before) || !IsLinked(buffer, before)) {
        return -1;
    }
    DListInsertBefore(&buffer.lines, before, line);
    if (before != nullptr && buffer.currentLine == before) {
        buffer.currentLine = line;
    }
    NoteInserted(buffer, *line);
    return 0;
}

Status LineInsertAfter(EditBuffer& buffer, LineRecord* after, LineRecord* line) {
    if (line == nullptr || after == nullptr || IsLinked(buffer, line) || !IsLinked(buffer, after) ||
        after->kind == LineKind::EndMarker) {
        return -1;
    }
    DListInsertAfter(&buffer.lines, after, line);
    NoteInserted(buffer, *line);
    return 0;
}

void LineAppendLoaded(EditBuffer& buffer, LineRecord* line) {
    if (line == nullptr) {
        return;
    }
    if (LineRecord* end = EndMarkerLine(buffer)) {
        DListInsertBefore(&buffer.lines, end, line);
    } else {
        DListAppend(&buffer.lines, line);
    }
    if (LineIsVisible(*line)) {
        ++buffer.visibleLineCount;
    }
}

Status AppendEndMarker(EditBuffer& buffer, LoadEnd how) {
    if (EndMarkerLine(buffer) != nullptr) {
        return 0;
    }
    LineRecord* end = LineNew(buffer, how == LoadEnd::Aborted ? kLoadAbortedMarkerText : kBottomMarkerText);
    if (end == nullptr) {
        return -1;
    }
    end->kind = LineKind::EndMarker;
    DListAppend(&buffer.lines, end);
    ++buffer.visibleLineCount;
    return 0;
}

LineRecord* LineRemove(EditBuffer& buffer, LineRecord* line) {
    if (line == nullptr || IsTopMarker(line) || !IsLinked(buffer, line)) {
        return nullptr;
    }
    LineRecord* successor = LineNext(line);
    if (buffer.currentLine == line) {
        buffer.currentLine = successor != nullptr ? successor : LinePrev(line);
    }
    DListUnlink(&buffer.lines, line);
    if (LineIsVisible(*line) && buffer.visibleLineCount > 0) {
        --buffer.visibleLineCount;
    }
    if (line->kind == LineKind::Data) {
        buffer.modified = true;
        NoteColorChange(buffer, successor);
    }
    return successor;
}

void LineDelete(EditBuffer& buffer, LineRecord* line) {
    if (line == nullptr || IsTopMarker(line) || !IsLinked(buffer, line)) {
        return;
    }
    LineRecord* successor = LineRemove(buffer, line);
    if (buffer.journal != nullptr) {
        buffer.journal->JournalDelete(buffer, *line, successor);
    } else {
        LineFree(buffer, line);
    }
}

Status LineMoveRange(EditBuffer& buffer, LineRecord* first, LineRecord* last, LineRecord* before) {
    if (first == nullptr || last == nullptr || before == nullptr || IsTopMarker(before) ||
        !IsLinked(buffer, first) || !IsLinked(buffer, before)) {
        return -1;
    }
    bool movesData = false;
    for (LineRecord* walk = first;; walk = LineNext(walk)) {
        if (walk == nullptr || walk == before || IsTopMarker(walk)) {
            return -1;
        }
        movesData = movesData || IsDataLine(*walk);
        if (walk == last) {
            break;
        }
    }
    if (LineNext(last) == before) {
        return 0;  // already there
    }
    // Cut first..last out of the list (last is not the list's last line: `before` follows somewhere,
    // or precedes the range, in which case the range may end the list).
    LineRecord* outerPrev = LinePrev(first);
    LineRecord* outerNext = LineNext(last);
    LineRecord* beforePrev = LinePrev(before);
    if (outerPrev == nullptr || beforePrev == nullptr) {
        return -1;  // a list without its top marker: nothing may go first
    }
    outerPrev->next = outerNext;
    if (outerNext != nullptr) {
        outerNext->prev = outerPrev;
    } else {
        buffer.lines.last = outerPrev;
    }
    // Splice it in front of `before`. Its predecessor was taken before the cut: when that was `last`,
    // before == last->next and the move returned above.
    beforePrev->next = first;
    first->prev = beforePrev;
    last->next = before;
    before->prev = last;
    if (movesData) {
        buffer.modified = true;
        NoteColorChange(buffer, outerNext);
        NoteColorChange(buffer, first);
    }
    return 0;
}

char* RecBufGet(EditBuffer& buffer) {
    std::int32_t length = buffer.profile.maxRecordLength;
    return RecBufGet(buffer.recordBuffers, length > 0 ? static_cast<std::uint32_t>(length) : 0);
}

Status RecBufRelease(EditBuffer& buffer, char* payload) {
    return RecBufRelease(buffer.host, payload);
}

std::size_t EditBufferBytesHeld(const EditBuffer& buffer) {
    std::size_t bytes = PoolBytesHeld(buffer.linePool) + buffer.textClasses.bytesHeld;
    for (DListNode* node = buffer.recordBuffers.first; node != nullptr; node = node->next) {
        bytes += BlockSize(node);
    }
    return bytes;
}

}  // namespace tavoe
