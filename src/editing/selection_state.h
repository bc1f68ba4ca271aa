#pragma once

#include <cstdint>

namespace tavoe {

struct LineRecord;

// The selection's shape: the values are those macros and the SELECT command know them by.
enum class SelectionMode : std::uint8_t { None = 0, Block = 1, Stream = 2, WholeLine = 3 };

// The last column a whole line (or the rest of a line) is selected to.
inline constexpr std::int32_t kSelectionLineEnd = 64000;

// What an edit session keeps about its selection beside the lines' selected columns: its shape, and
// the place a mouse drag or Shift with a cursor key grows it from. The anchor line is only compared
// with the lines of the file, never followed, since it may have been deleted since.
struct SelectionState {
    SelectionMode mode = SelectionMode::None;
    const LineRecord* anchorLine = nullptr;
    std::int32_t anchorColumn = 0;
    bool dragging = false;  // between a mouse press in the data area and its release
};

}  // namespace tavoe
