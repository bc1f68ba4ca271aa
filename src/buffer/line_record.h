#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "buffer/dlist.h"
#include "buffer/text_buf.h"
#include "core/status.h"

namespace tavoe {

struct EditBuffer;

// One line of an edit session: a data line from the file or one of the lines the editor shows for
// its own purposes. Records come from the session's line pool and their text and colour bytes from
// its text store, so a million lines cost two heap calls per page and none per line.

enum class LineKind : std::uint8_t {
    None = 0,  // a new line until its maker sets the kind
    TopMarker = 1,
    EndMarker = 2,
    Bounds = 3,
    Cols = 4,
    ExcludedMarker = 5,
    Mask = 6,
    Note = 7,
    Tabs = 8,
    Data = 9,
};

// Flags of `flagsA`.
enum class LineFlagA : std::uint8_t {
    InsertPending = 1 << 0,  // made by the I line command and not typed into yet
    UndoMark = 1 << 1,       // transient, cleared when a deleted line is journaled
    TextModified = 1 << 2,   // changed by keystrokes or data shifts since the last checkpoint
    NumberValid = 1 << 3,    // the number columns hold a valid line number
    Error = 1 << 4,          // prefix shows "==ERR>" until RESET
    BlankPadded = 1 << 5,    // padded with blanks; stripped again before a variable-format save
    MadeFromCols = 1 << 6,   // a COLS line turned into data by MD
    MadeFromNote = 1 << 7,   // a NOTE line turned into data by MD
};

// Flags of `flagsB`.
enum class LineFlagB : std::uint8_t {
    Visible = 1 << 0,      // clear = excluded, hidden behind an excluded-lines marker
    Highlighted = 1 << 1,  // colour bytes overwritten to mark the line; RESET recolours it
    Changed = 1 << 2,      // prefix shows "==CHG>" until RESET
    // Colorization upkeep (view/line_colors.h): the colour bytes are older than the text or its start
    // state; the start state below is known to be right; the line starts inside a block comment.
    ColorStale = 1 << 3,
    ColorStateKnown = 1 << 4,
    StartsInComment = 1 << 5,
    // Holds hits of the last FIND ALL that are painted in the Find colours when the line is next
    // shown (the session's pending hit marker does it), so FIND ALL touches no colour bytes.
    FindPending = 1 << 6,
};

// Width of the pending command and label fields (each is followed by a NUL).
inline constexpr std::uint32_t kLineFieldWidth = 9;

struct LineRecord : DListNode {
    TextPage* textPage = nullptr;    // page of the text buffer
    TextPage* colorPage = nullptr;   // page of the colour buffer
    std::uint8_t* color = nullptr;   // one attribute byte per text byte, same capacity as the text
    char* text = nullptr;            // not NUL-terminated; nullptr while capacity is 0
    std::uint32_t recordNumber = 0;  // file record the line came from (1 = first), 0 if not loaded
    std::uint32_t hiddenCount = 0;   // excluded-lines marker: lines it stands for
    std::uint32_t capacity = 0;      // bytes of the text buffer, a multiple of 8
    std::uint32_t length = 0;        // text bytes in use
    std::int32_t selStart = 0;       // selected columns, 1-based; 0 and 0 = not selected
    std::int32_t selEnd = 0;
    std::uint8_t flagsA = 0;
    std::uint8_t flagsB = 0;
    LineKind kind = LineKind::None;
    char pendingCommand[kLineFieldWidth + 1] = {};  // blank-padded; all blanks = none
    char label[kLineFieldWidth + 1] = {};           // "." and up to 8 letters, blank-padded
};
static_assert(sizeof(LineRecord) == 96, "line records are the most numerous objects; keep them small");

// ---- Accessors ----------------------------------------------------------------------------------

inline std::string_view LineText(const LineRecord& line) {
    return {line.text, line.length};
}
inline std::uint32_t LineLength(const LineRecord& line) {
    return line.length;
}
inline std::uint32_t LineCapacity(const LineRecord& line) {
    return line.capacity;
}
// Sets the number of text bytes in use, at most the capacity. Bytes uncovered by a longer length are
// whatever the buffer held: callers write them.
inline void LineSetLength(LineRecord& line, std::uint32_t length) {
    line.length = length < line.capacity ? length : line.capacity;
}

inline LineKind LineGetKind(const LineRecord& line) {
    return line.kind;
}
inline void LineSetKind(LineRecord& line, LineKind kind) {
    line.kind = kind;
}
inline bool IsDataLine(const LineRecord& line) {
    return line.kind == LineKind::Data;
}

inline std::uint32_t LineGetRecordNumber(const LineRecord& line) {
    return line.recordNumber;
}
inline void LineSetRecordNumber(LineRecord& line, std::uint32_t number) {
    line.recordNumber = number;
}
inline std::uint32_t LineGetHiddenCount(const LineRecord& line) {
    return line.hiddenCount;
}

inline bool LineHasFlag(const LineRecord& line, LineFlagA flag) {
    return (line.flagsA & static_cast<std::uint8_t>(flag)) != 0;
}
inline void LineSetFlag(LineRecord& line, LineFlagA flag) {
    line.flagsA |= static_cast<std::uint8_t>(flag);
}
inline void LineClearFlag(LineRecord& line, LineFlagA flag) {
    line.flagsA &= static_cast<std::uint8_t>(~static_cast<std::uint8_t>(flag));
}
inline bool LineHasFlag(const LineRecord& line, LineFlagB flag) {
    return (line.flagsB & static_cast<std::uint8_t>(flag)) != 0;
}
inline void LineSetFlag(LineRecord& line, LineFlagB flag) {
    line.flagsB |= static_cast<std::uint8_t>(flag);
}
inline void LineClearFlag(LineRecord& line, LineFlagB flag) {
    line.flagsB &= static_cast<std::uint8_t>(~static_cast<std::uint8_t>(flag));
}
// Sets or clears the flag as `on` says.
template <typename Flag>
void LineSetFlagTo(LineRecord& line, Flag flag, bool on) {
    if (on) {
        LineSetFlag(line, flag);
    } else {
        LineClearFlag(line, flag);
    }
}
inline bool LineIsVisible(const LineRecord& line) {
    return LineHasFlag(line, LineFlagB::Visible);
}

// Selection: setting the start clears the end; an end is accepted only when a start is set and the
// end is not before it, otherwise both are cleared.
void LineSetSelStart(LineRecord& line, std::int32_t column);
void LineSetSelEnd(LineRecord& line, std::int32_t column);
inline void LineClearSelection(LineRecord& line) {
    line.selStart = line.selEnd = 0;
}
inline bool LineHasSelection(const LineRecord& line) {
    return line.selStart > 0;
}

// Label: the whole 9-character field, the label without its padding, and tests.
inline std::string_view LineLabelField(const LineRecord& line) {
    return {line.label, kLineFieldWidth};
}
std::string_view LineLabel(const LineRecord& line);
inline bool LineHasLabel(const LineRecord& line) {
    return line.label[0] != ' ' && line.label[0] != '\0';
}
// Equal when the name matches the stored characters and the field ends there or goes on with a blank:
// a stored ".ABC" equals ".ABC" and not ".AB". An empty name equals nothing.
bool LineLabelEquals(const LineRecord& line, std::string_view name);
// Stores up to 9 characters, blank-padded (checking the label syntax is the caller's business).
void LineSetLabel(LineRecord& line, std::string_view label);
inline void LineClearLabel(LineRecord& line) {
    LineSetLabel(line, {});
}

// Pending line command: set copies up to 9 characters and blank-fills; "has" is any non-blank.
inline std::string_view LinePendingCommand(const LineRecord& line) {
    return {line.pendingCommand, kLineFieldWidth};
}
void LineSetPendingCommand(LineRecord& line, std::string_view text);
bool LineHasPendingCommand(const LineRecord& line);
inline void LineClearPendingCommand(LineRecord& line) {
    LineSetPendingCommand(line, {});
}

// ---- Operations ---------------------------------------------------------------------------------
// They take the owning buffer first. Failures (a text longer than 64000 bytes, an exhausted heap) are
// reported through the buffer's session and leave the line as it was.

// A line from the pool: blank pending command and label, `visible` set, kind None until the caller
// sets it; a text of length > 0 gets a buffer of its slot size. nullptr on failure.
LineRecord* LineNew(EditBuffer& buffer, std::string_view text);

// Releases the text buffer, the colour buffer and the record. A line still on the line list is taken
// off it first (LineRemove); a line already released is left alone.
void LineFree(EditBuffer& buffer, LineRecord* line);

// A new unlinked line with the same text, kind, hidden count and `highlighted` flag, and a copy of the
// colour bytes when there are any. Labels, pending command, selection and other flags are not copied.
LineRecord* LineDuplicate(EditBuffer& buffer, const LineRecord& line);

// Replaces the text. A text of the same slot size stays in its buffer (the colour bytes stay too);
// otherwise a new buffer is taken and the old text and colour buffers are released. An empty text
// leaves the line without buffers and with capacity 0.
Status LineSetText(EditBuffer& buffer, LineRecord& line, std::string_view text);

// Makes the capacity at least n, keeping the text and the colour bytes; `length` is unchanged.
Status LineEnsureCapacity(EditBuffer& buffer, LineRecord& line, std::uint32_t n);

// When the line is shorter than n: notes that the buffer holds padded lines, sets `blankPadded` and
// appends blanks up to n. A line already that long is not touched.
Status LinePadTo(EditBuffer& buffer, LineRecord& line, std::uint32_t n);

// For a data line of a variable-format file: clears `blankPadded` and drops trailing blanks.
void LineStripPadding(EditBuffer& buffer, LineRecord& line);

// Makes the colour buffer (the text's capacity) when it is missing; new colour bytes are 0.
Status LineEnsureColor(EditBuffer& buffer, LineRecord& line);

// Releases the colour buffer, if any.
void LineFreeColor(EditBuffer& buffer, LineRecord& line);

// Replaces `count` bytes at byte offset `offset` by `text` (count 0 inserts, an empty text deletes).
// An offset beyond the end first pads the line with blanks up to it. Colour bytes follow the text:
// bytes after the change move with it and new bytes take the colour of the byte before them.
Status LineReplaceText(EditBuffer& buffer, LineRecord& line, std::uint32_t offset, std::uint32_t count,
                       std::string_view text);
inline int LineAppendText(EditBuffer& buffer, LineRecord& line, std::string_view text) {
    return LineReplaceText(buffer, line, line.length, 0, text);
}

// Gives `line` the text (and colour) buffers of `donor`, releasing the line's own; the donor is left
// without text. The undo journal restores a saved text this way.
void LineAdoptText(EditBuffer& buffer, LineRecord& line, LineRecord& donor);

}  // namespace tavoe
