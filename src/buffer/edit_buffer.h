#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "buffer/dlist.h"
#include "buffer/file_state.h"
#include "buffer/line_record.h"
#include "buffer/record_pool.h"
#include "buffer/text_buf.h"
#include "core/status.h"
#include "core/storage_host.h"
#include "profiles/file_profile.h"

namespace tavoe {

struct AppSession;
struct EditBuffer;

// The undo journal as the line list sees it: while UNDO is on the session sets `journal`, and
// inserting a data line or deleting a line through this file reports it here.
class LineJournal {
public:
    virtual ~LineJournal() = default;
    virtual void JournalInsert(EditBuffer& buffer, LineRecord& line) = 0;
    // Takes over the unlinked line (instead of it being released); `successor` is the line it stood
    // before.
    virtual void JournalDelete(EditBuffer& buffer, LineRecord& line, LineRecord* successor) = 0;
};

// The colorizer as the line list sees it: set when the file profile has a colour type.
class LineColorizer {
public:
    virtual ~LineColorizer() = default;
    virtual void ColorizeLine(EditBuffer& buffer, LineRecord& line) = 0;
};

inline constexpr std::string_view kTopMarkerText = "*** Top of File ***";
inline constexpr std::string_view kBottomMarkerText = "*** Bottom of File ***";
inline constexpr std::string_view kLoadAbortedMarkerText = "*** File Load Aborted ***";

// The buffer part of an edit session: its lines, in display order, and the storage they live in.
// The first line is always the top marker; once loading has finished the last is the end marker.
// Releasing the buffer releases every line at once with the pool, lines kept by an undo journal
// included, so the journal must not outlive it.
struct EditBuffer {
    explicit EditBuffer(StorageHost& storageHost);
    explicit EditBuffer(AppSession& app);  // with the instance's storage host
    ~EditBuffer();
    EditBuffer(const EditBuffer&) = delete;
    EditBuffer& operator=(const EditBuffer&) = delete;

    StorageHost& host;  // messages, settings and progress of the instance
    DList lines;
    DList recordBuffers;  // scratch buffers of MaxRecordLength + 8 bytes
    TextStore textClasses;
    FileProfile profile = BuiltInFileProfile();  // the session's own copy
    RecordPool* linePool = nullptr;
    std::int32_t forcedBrowseCount = 0;
    std::int32_t shortLastRecordCount = 0;
    std::int32_t foldedCount = 0;
    std::int32_t truncatedCount = 0;
    bool isNewFile = false;
    std::string fileName;     // full path
    std::string directory;    // the path up to and including its last "/"
    std::string displayName;  // the name without its directory
    FileState file;           // the open file, the load's progress and the stamp saving compares

    // Session state kept with the lines: the modified state (data changed since the last save), the
    // padded state (some line was blank-padded in memory), the current line and the number of shown
    // rows (lines with `visible` set, markers included). The line operations here keep the count; a
    // caller that changes `visible` directly has RebuildExcludedMarkers recompute it.
    bool modified = false;
    bool hasPaddedLines = false;
    LineRecord* currentLine = nullptr;
    std::uint32_t visibleLineCount = 0;

    LineJournal* journal = nullptr;  // set while UNDO is on
    // Owns the undo journal `journal` points at while UNDO is on. Members go after the destructor has
    // released the lines and their pool, so a journal's destructor must not touch lines.
    std::unique_ptr<LineJournal> journalOwner;
    LineColorizer* colorizer = nullptr;  // set when the profile has a colour type
};

// ---- Walking the lines ----------------------------------------------------------------------------

inline LineRecord* AsLine(DListNode* node) {
    return static_cast<LineRecord*>(node);
}
inline LineRecord* LineFirst(const EditBuffer& buffer) {
    return AsLine(buffer.lines.first);
}
inline LineRecord* LineLast(const EditBuffer& buffer) {
    return AsLine(buffer.lines.last);
}
inline LineRecord* LineNext(const LineRecord* line) {
    return line ? AsLine(line->next) : nullptr;
}
inline LineRecord* LinePrev(const LineRecord* line) {
    return line ? AsLine(line->prev) : nullptr;
}
inline std::uint32_t LineCount(const EditBuffer& buffer) {
    return buffer.lines.count;
}

// The end marker when it is the last line (loading has finished), else nullptr.
LineRecord* EndMarkerLine(const EditBuffer& buffer);

// Data lines (kind 9) only: first, last, and the next or previous from a line (not counting it).
LineRecord* FirstDataLine(const EditBuffer& buffer);
LineRecord* LastDataLine(const EditBuffer& buffer);
LineRecord* NextDataLine(const LineRecord* line);
LineRecord* PrevDataLine(const LineRecord* line);

// `for (LineRecord& line : Lines(buffer))` walks every line in order. The body must not unlink the
// line it is on; loops that delete keep the next line themselves.
class LineIterator {
public:
    explicit LineIterator(LineRecord* line) : line_(line) {}
    LineRecord& operator*() const { return *line_; }
    LineRecord* operator->() const { return line_; }
    LineIterator& operator++() {
        line_ = LineNext(line_);
        return *this;
    }
    bool operator==(const LineIterator& other) const = default;

private:
    LineRecord* line_;
};
struct LineRange {
    LineRecord* from;
    LineIterator begin() const { return LineIterator(from); }
    LineIterator end() const { return LineIterator(nullptr); }
};
inline LineRange Lines(const EditBuffer& buffer) {
    return {LineFirst(buffer)};
}
inline LineRange LinesFrom(LineRecord* line) {
    return {line};
}

// ---- Changing the line list ---------------------------------------------------------------------
// Every insertion keeps the invariants: nothing goes in front of the top marker or behind the end
// marker (-1, the line stays unlinked and the caller's), and a line already on a list is refused.
// Inserting a data line marks the buffer modified and journals the insertion when UNDO is on.

// Links the line in front of `before` (nullptr: at the end of the data, in front of the end marker
// when there is one). When `before` was the current line, the new line becomes the current line.
Status LineInsertBefore(EditBuffer& buffer, LineRecord* before, LineRecord* line);

// Links the line behind `after`; the current line stays.
Status LineInsertAfter(EditBuffer& buffer, LineRecord* after, LineRecord* line);

// Loading's append: the line goes at the end (in front of the end marker once there is one); the
// buffer is not marked modified and nothing is journaled.
void LineAppendLoaded(EditBuffer& buffer, LineRecord* line);

// Appends the end marker: "*** Bottom of File ***", or "*** File Load Aborted ***" when loading was
// stopped. An end marker already present is left as it is.
enum class LoadEnd { Complete, Aborted };
Status AppendEndMarker(EditBuffer& buffer, LoadEnd how);

// Takes the line off the list and answers the line that followed it. A current line moves to the
// following line (or the one before when it was the last); removing a data line marks the buffer
// modified. The top marker is never removed (nullptr, nothing changes). The line stays allocated.
LineRecord* LineRemove(EditBuffer& buffer, LineRecord* line);

// LineRemove, then the line goes to the undo journal when UNDO is on, else it is released.
void LineDelete(EditBuffer& buffer, LineRecord* line);

// Moves the lines first..last (in list order) in front of `before`, relinking them without copying.
// -1 when last does not follow first, when `before` lies inside the range, when the range holds the
// top marker, or when the move would put lines in front of the top marker. Nothing is journaled:
// callers that journal a move remove and insert the lines themselves.
Status LineMoveRange(EditBuffer& buffer, LineRecord* first, LineRecord* last, LineRecord* before);

// ---- Scratch buffers and accounting -----------------------------------------------------------------

// A scratch record buffer of the profile's maximum record length + 8 bytes, and its release.
char* RecBufGet(EditBuffer& buffer);
Status RecBufRelease(EditBuffer& buffer, char* payload);

// Heap bytes held by the buffer's pool, text store and scratch buffers.
std::size_t EditBufferBytesHeld(const EditBuffer& buffer);

}  // namespace tavoe
