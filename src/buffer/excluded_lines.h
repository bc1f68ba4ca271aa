#pragma once

#include <cstdint>
#include "core/status.h"

namespace tavoe {

struct EditBuffer;
struct LineRecord;

// Excluded lines stay on the line list with `visible` clear; each maximal run of them is shown as one
// excluded-lines marker line (kind 5) placed in front of the run.

// Widest marker text, and the capacity every marker's text buffer gets.
inline constexpr int kExcludedMarkerMaxWidth = 256;

// Makes `marker` an excluded-lines marker for `count` lines: the text " %d lines excluded ", centred
// in dashes when `width` (at most 256) is wider: half the difference on each side, the odd dash on
// the right. The text buffer has room for 256 bytes. Callers pass the width
// min(visible data width, maximum record length - scroll offset).
Status MakeExcludedMarker(EditBuffer& buffer, LineRecord& marker, int width, std::uint32_t count);

// Removes every marker, then puts a new one in front of each maximal run of hidden lines, with the
// run's length as its hidden count, and recounts the shown lines. A current line that was a marker
// or is hidden becomes the marker of its run. -1 when a marker could not be made (reported).
int RebuildExcludedMarkers(EditBuffer& buffer, int width);

// The last line a range ending on `line` covers: for an excluded-lines marker, the last of the hidden
// lines that follow it; for any other line, the line itself.
LineRecord* RangeEndThroughHidden(LineRecord* line);

}  // namespace tavoe
