#pragma once

#include <cstdint>
#include <string>

#include "core/status.h"

namespace tavoe {

// The actions of the line commands, each over lines the processor has already checked. Every action
// that changes data is one UNDO step. Internal to the line command files of this folder.

struct LineCommandRun;
struct LineRecord;

// ---- Lines in and out (line_command_actions_lines.cpp) ----
Status DeleteLines(LineCommandRun& run, LineRecord* from, LineRecord* to);
Status InsertNewLines(LineCommandRun& run, LineRecord* line, std::int32_t count);
Status RepeatLines(LineCommandRun& run, LineRecord* from, LineRecord* to, std::int32_t times);

// Where copied or moved lines go: after the A line (and its hidden lines) or before the B line.
struct Destination {
    LineRecord* line = nullptr;
    bool after = true;
    std::int32_t copies = 1;
};
// C/CC and M/MM with A or B. "C/CC invalid destination." or "M/MM invalid destination." when the
// destination lies inside the block.
Status CopyOrMoveLines(LineCommandRun& run, LineRecord* from, LineRecord* to, bool move, Destination dest);
// C/CC or M/MM laid over an O/OO block.
Status OverlayLines(LineCommandRun& run, LineRecord* from, LineRecord* to, bool move, LineRecord* targetFrom,
                    LineRecord* targetTo);

// ---- Text of lines (line_command_actions_text.cpp) ----
enum class ShiftKind { Column, Data };
// Shifts by `amount` columns (negative: left) within the bounds.
Status ShiftLines(LineCommandRun& run, LineRecord* from, LineRecord* to, ShiftKind kind, std::int32_t amount);
Status ChangeCase(LineCommandRun& run, LineRecord* from, LineRecord* to, bool upper);

// ---- Showing and hiding, special lines (line_command_actions_view.cpp) ----
Status ExcludeLines(LineCommandRun& run, LineRecord* from, LineRecord* to);
enum class ShowWhich { First, Last, LeastIndented };
Status ShowHiddenLines(LineCommandRun& run, LineRecord* marker, std::int32_t count, ShowWhich which);
enum class SpecialLine { Bounds, Cols, Mask, Tabs };
Status InsertSpecialLine(LineCommandRun& run, LineRecord* before, SpecialLine which);
Status MakeDataLines(LineCommandRun& run, LineRecord* from, LineRecord* to);
Status SelectLineRange(LineCommandRun& run, LineRecord* from, LineRecord* to);

// ---- Text entry, flow, join and split (line_command_actions_flow.cpp) ----
Status TextEntry(LineCommandRun& run, LineRecord* line, std::int32_t width);
Status TextFlow(LineCommandRun& run, LineRecord* line, std::int32_t width);
Status TextJoin(LineCommandRun& run, LineRecord* line);
Status TextSplit(LineCommandRun& run, LineRecord* line, std::int32_t column);

// The text of a COLS ruler of `length` columns (at most 9999).
std::string ColsRulerText(std::int32_t length);

}  // namespace tavoe
