#pragma once
#include "core/status.h"

namespace tavoe {

struct EditBuffer;
struct LineRecord;

// MD: NOTE and COLS lines of the range first..last become data lines. A range ending on an
// excluded-lines marker also covers the hidden lines behind it. Each converted line gets
// `madeFromNote` or `madeFromCols` (so UNDO can turn it back), is journaled as an insertion when UNDO
// is on, recoloured, and marks the buffer modified. Bounds, mask, tabs, marker and data lines are
// left alone and answered, once per call, with "Only NOTE and COLS lines can be converted to data."
// (then -1). Excluded-lines markers inside the range are passed over silently: the lines they stand
// for are in the range themselves.
Status MakeLinesData(EditBuffer& buffer, LineRecord* first, LineRecord* last);

}  // namespace tavoe
