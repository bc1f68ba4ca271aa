#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editing/line_command_state.h"

namespace tavoe {

// The line command table and the parsing of what was typed into a prefix area.

// Command ids; the names of one id are spellings of one command.
enum class LineCommandId : std::uint8_t {
    Label = 0,
    ColumnLeft = 1,
    ColumnLeftBlock = 2,
    ColumnRight = 3,
    ColumnRightBlock = 4,
    DataLeft = 5,
    DataLeftBlock = 6,
    DataRight = 7,
    DataRightBlock = 8,
    After = 9,
    Before = 10,
    Bounds = 11,
    Copy = 12,
    CopyBlock = 13,
    Cols = 14,
    Delete = 15,
    DeleteBlock = 16,
    First = 17,
    Insert = 18,
    Last = 19,
    Lower = 20,
    LowerBlock = 21,
    Move = 22,
    MoveBlock = 23,
    Mask = 24,
    MakeData = 25,
    MakeDataBlock = 26,
    Overlay = 27,
    OverlayBlock = 28,
    Repeat = 29,
    RepeatBlock = 30,
    Show = 31,
    Tabs = 32,
    TextEntry = 33,
    TextFlow = 34,
    TextJoin = 35,
    TextSplit = 36,
    Upper = 37,
    UpperBlock = 38,
    Exclude = 39,
    ExcludeBlock = 40,
    Select = 41,
    SelectBlock = 42,
};

struct LineCommandInfo {
    LineCommandId id;
    bool browse;  // allowed in a BROWSE session
};

// The table row of a name (upper case); names beginning with "." are the label command. nullopt for
// a name the table does not have.
std::optional<LineCommandInfo> LookupLineCommand(std::string_view name);

inline constexpr std::int32_t kLineCommandCountMax = 99999;

// A prefix text taken apart: leading blanks skipped, the name up to a blank or a digit (upper case),
// the digits right after it as the repeat count. Anything after the count other than blanks makes the
// text malformed (the whole text is then the name, so it is reported as not valid).
struct ParsedLineCommand {
    std::string name;
    std::int32_t count = 0;    // 0 = none given
    bool countCapped = false;  // the count was above 99999 and is now 99999
};
ParsedLineCommand ParseLineCommand(std::string_view text);

// The kind a command waits as: blocks, destinations and the single copy, move and overlay.
std::optional<WaitKind> WaitKindOf(LineCommandId id);
// The block command (CC, DD, ...) of a single command id, or nullopt.
std::optional<LineCommandId> BlockOf(LineCommandId id);
bool IsBlockCommand(LineCommandId id);
// Whether the count of a single command is its number of lines (C n, D n, X n) rather than an
// amount (shifts, R, TE, TF, TS) or a number of new lines (I) or shown lines (F, L, S).
bool CountIsLines(LineCommandId id);

}  // namespace tavoe
