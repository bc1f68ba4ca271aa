#include "editing/line_command_parse.h"

#include <array>
#include <utility>

#include "platform/ascii_case.h"

namespace tavoe {

namespace {

struct TableRow {
    std::string_view name;
    LineCommandId id;
    bool browse;
};

using Id = LineCommandId;

constexpr std::array kTable = {
    TableRow{"(", Id::ColumnLeft, false},   TableRow{"((", Id::ColumnLeftBlock, false},
    TableRow{")", Id::ColumnRight, false},  TableRow{"))", Id::ColumnRightBlock, false},
    TableRow{"<", Id::DataLeft, false},     TableRow{"<<", Id::DataLeftBlock, false},
    TableRow{">", Id::DataRight, false},    TableRow{">>", Id::DataRightBlock, false},
    TableRow{"A", Id::After, false},        TableRow{"B", Id::Before, false},
    TableRow{"BN", Id::Bounds, false},      TableRow{"BND", Id::Bounds, false},
    TableRow{"BNDS", Id::Bounds, false},    TableRow{"C", Id::Copy, true},
    TableRow{"CC", Id::CopyBlock, true},    TableRow{"CO", Id::Cols, true},
    TableRow{"COL", Id::Cols, true},        TableRow{"COLS", Id::Cols, true},
    TableRow{"D", Id::Delete, false},       TableRow{"DD", Id::DeleteBlock, false},
    TableRow{"F", Id::First, true},         TableRow{"I", Id::Insert, false},
    TableRow{"L", Id::Last, true},          TableRow{"LC", Id::Lower, false},
    TableRow{"LCC", Id::LowerBlock, false}, TableRow{"M", Id::Move, false},
    TableRow{"MM", Id::MoveBlock, false},   TableRow{"MA", Id::Mask, false},
    TableRow{"MAS", Id::Mask, false},       TableRow{"MASK", Id::Mask, false},
    TableRow{"MD", Id::MakeData, false},    TableRow{"MDD", Id::MakeDataBlock, false},
    TableRow{"O", Id::Overlay, false},      TableRow{"OO", Id::OverlayBlock, false},
    TableRow{"R", Id::Repeat, false},       TableRow{"RR", Id::RepeatBlock, false},
    TableRow{"S", Id::Show, false},         TableRow{"TA", Id::Tabs, false},
    TableRow{"TAB", Id::Tabs, false},       TableRow{"TABS", Id::Tabs, false},
    TableRow{"TE", Id::TextEntry, false},   TableRow{"TF", Id::TextFlow, false},
    TableRow{"TJ", Id::TextJoin, false},    TableRow{"TS", Id::TextSplit, false},
    TableRow{"UC", Id::Upper, false},       TableRow{"UCC", Id::UpperBlock, false},
    TableRow{"X", Id::Exclude, true},       TableRow{"XX", Id::ExcludeBlock, true},
    TableRow{"Z", Id::Select, true},        TableRow{"ZZ", Id::SelectBlock, true},
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<LineCommandInfo> LookupLineCommand(std::string_view name) {
    if (!name.empty() && name.front() == '.') {
        return LineCommandInfo{Id::Label, true};
    }
    for (const TableRow& row : kTable) {
        if (row.name == name) {
            return LineCommandInfo{row.id, row.browse};
        }
    }
    return std::nullopt;
}

ParsedLineCommand ParseLineCommand(std::string_view text) {
    ParsedLineCommand parsed;
    size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos) {
        return parsed;
    }
    text.remove_prefix(at);
    size_t nameEnd = 0;
    while (nameEnd < text.size() && text[nameEnd] != ' ' && !IsDigit(text[nameEnd])) {
        ++nameEnd;
    }
    parsed.name = UpperAscii(text.substr(0, nameEnd));
    size_t digitsEnd = nameEnd;
    std::int64_t count = 0;
    while (digitsEnd < text.size() && IsDigit(text[digitsEnd])) {
        count = count > kLineCommandCountMax ? count : count * 10 + (text[digitsEnd] - '0');
        ++digitsEnd;
    }
    // A label takes its text as it is: ".AB1" is the label .AB, the rest is ignored there.
    size_t rest = text.find_first_not_of(' ', digitsEnd);
    if (parsed.name.empty() || parsed.name.front() != '.') {
        if (rest != std::string_view::npos && digitsEnd > nameEnd && rest == digitsEnd) {
            // Letters glued to the count ("D3X"): no command of the table looks like that.
            parsed.name = UpperAscii(text.substr(0, text.find(' ', digitsEnd)));
            parsed.count = 0;
            return parsed;
        }
    }
    if (count > kLineCommandCountMax) {
        count = kLineCommandCountMax;
        parsed.countCapped = true;
    }
    parsed.count = static_cast<std::int32_t>(count);
    return parsed;
}

std::optional<WaitKind> WaitKindOf(LineCommandId id) {
    switch (id) {
        case Id::After:
            return WaitKind::After;
        case Id::Before:
            return WaitKind::Before;
        case Id::ColumnLeftBlock:
            return WaitKind::ColumnLeft;
        case Id::ColumnRightBlock:
            return WaitKind::ColumnRight;
        case Id::DataLeftBlock:
            return WaitKind::DataLeft;
        case Id::DataRightBlock:
            return WaitKind::DataRight;
        case Id::Copy:
        case Id::CopyBlock:
            return WaitKind::Copy;
        case Id::DeleteBlock:
            return WaitKind::Delete;
        case Id::LowerBlock:
            return WaitKind::Lower;
        case Id::MakeDataBlock:
            return WaitKind::MakeData;
        case Id::Move:
        case Id::MoveBlock:
            return WaitKind::Move;
        case Id::Overlay:
        case Id::OverlayBlock:
            return WaitKind::Overlay;
        case Id::RepeatBlock:
            return WaitKind::Repeat;
        case Id::UpperBlock:
            return WaitKind::Upper;
        case Id::ExcludeBlock:
            return WaitKind::Exclude;
        case Id::SelectBlock:
            return WaitKind::Select;
        default:
            return std::nullopt;
    }
}

std::optional<LineCommandId> BlockOf(LineCommandId id) {
    switch (id) {
        case Id::ColumnLeft:
            return Id::ColumnLeftBlock;
        case Id::ColumnRight:
            return Id::ColumnRightBlock;
        case Id::DataLeft:
            return Id::DataLeftBlock;
        case Id::DataRight:
            return Id::DataRightBlock;
        case Id::Copy:
            return Id::CopyBlock;
        case Id::Delete:
            return Id::DeleteBlock;
        case Id::Lower:
            return Id::LowerBlock;
        case Id::Move:
            return Id::MoveBlock;
        case Id::MakeData:
            return Id::MakeDataBlock;
        case Id::Overlay:
            return Id::OverlayBlock;
        case Id::Repeat:
            return Id::RepeatBlock;
        case Id::Upper:
            return Id::UpperBlock;
        case Id::Exclude:
            return Id::ExcludeBlock;
        case Id::Select:
            return Id::SelectBlock;
        default:
            return std::nullopt;
    }
}

bool IsBlockCommand(LineCommandId id) {
    switch (id) {
        case Id::ColumnLeftBlock:
        case Id::ColumnRightBlock:
        case Id::DataLeftBlock:
        case Id::DataRightBlock:
        case Id::CopyBlock:
        case Id::DeleteBlock:
        case Id::LowerBlock:
        case Id::MoveBlock:
        case Id::MakeDataBlock:
        case Id::OverlayBlock:
        case Id::RepeatBlock:
        case Id::UpperBlock:
        case Id::ExcludeBlock:
        case Id::SelectBlock:
            return true;
        default:
            return false;
    }
}

bool CountIsLines(LineCommandId id) {
    switch (id) {
        case Id::Copy:
        case Id::Delete:
        case Id::Lower:
        case Id::Move:
        case Id::MakeData:
        case Id::Overlay:
        case Id::Upper:
        case Id::Exclude:
        case Id::Select:
            return true;
        default:
            return false;
    }
}

}  // namespace tavoe
