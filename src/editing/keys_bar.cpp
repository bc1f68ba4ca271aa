#include "editing/keys.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/format.h"

namespace tavoe {

// The function key bar: at most two rows of buttons, twelve for each key group that is switched on.

namespace {

constexpr int kKeysPerRow = 12;
constexpr int kMaxBarRows = 2;  // the bar never takes more rows than this

// The switch of each group's row and the number of its first key.
struct BarGroup {
    const char* variable;
    int firstKey;
};
constexpr BarGroup kBarGroups[] = {
    {"ZPFSHOW.BASE", 1},
    {"ZPFSHOW.SHIFT", 13},
    {"ZPFSHOW.CTRL", 25},
    {"ZPFSHOW.ALT", 37},
};

enum class BarStyle { Numbers, Labels, MapVal };

std::string VarText(AppSession& app, std::string_view name) {
    const VarRecord* record = VarFind(app, name);
    return record != nullptr ? std::string(record->Value()) : std::string();
}

bool IsOn(AppSession& app, std::string_view name) {
    return VarText(app, name) == "TRUE";
}

BarStyle StyleOf(AppSession& app) {
    std::string style = VarText(app, "ZPFSHOW.STYLE");
    if (style == "Labels") {
        return BarStyle::Labels;
    }
    if (style == "MapVal") {
        return BarStyle::MapVal;
    }
    return BarStyle::Numbers;
}

int ButtonStart(int width, int index) {
    return index * width / kKeysPerRow;
}

int SegmentStart(int width, int segments, int index) {
    return segments > 0 ? index * width / segments : 0;
}

// The key's name in the room a button has: "Shift F12", else "S-F12", else "SF12"; in a row shared
// by two groups, where a button has only two or three cells, the key's number within its group, the
// first button of the group also carrying the group's letter ("S1", "2", ... "12"), so that every key
// stays told apart.
std::string FittedName(int number, int room) {
    std::string full = FunctionKeyName(number);
    if (static_cast<int>(full.size()) <= room) {
        return full;
    }
    int group = (number - 1) / kKeysPerRow;
    int key = (number - 1) % kKeysPerRow + 1;
    static constexpr const char* kLetter[] = {"F", "S", "C", "A"};
    std::string dashed = group == 0 ? Format("F%d", key) : Format("%s-F%d", kLetter[group], key);
    if (static_cast<int>(dashed.size()) <= room) {
        return dashed;
    }
    std::string joined = group == 0 ? Format("F%d", key) : Format("%sF%d", kLetter[group], key);
    if (static_cast<int>(joined.size()) <= room) {
        return joined;
    }
    return key == 1 ? Format("%s1", kLetter[group]) : Format("%d", key);
}

std::string ButtonText(AppSession& app, int number, BarStyle style, int room) {
    switch (style) {
        case BarStyle::Labels: {
            std::string label = VarText(app, FunctionKeyLabelVariable(number));
            return label.empty() ? FittedName(number, room) : label;
        }
        case BarStyle::MapVal:
            return VarText(app, FunctionKeyVariable(number));
        case BarStyle::Numbers:
            break;
    }
    return FittedName(number, room);
}

// The twelve buttons of one group in the cells [start, start + width) of the row: each button's
// text is cut to its width less one cell, and that last cell is the "|" that separates it from the
// next. Control bytes in a label are shown as blanks.
void PaintGroup(AppSession& app, std::string& row, int start, int width, int firstKey, BarStyle style) {
    for (int i = 0; i < kKeysPerRow; ++i) {
        int from = start + ButtonStart(width, i);
        int cells = ButtonStart(width, i + 1) - ButtonStart(width, i);
        if (cells <= 0) {
            continue;
        }
        std::string text = ButtonText(app, firstKey + i, style, cells - 1);
        int shown = std::min(static_cast<int>(text.size()), cells - 1);
        for (int c = 0; c < shown; ++c) {
            unsigned char ch = static_cast<unsigned char>(text[static_cast<size_t>(c)]);
            row[static_cast<size_t>(from + c)] = ch < 0x20 || ch == 0x7F ? ' ' : static_cast<char>(ch);
        }
        row[static_cast<size_t>(from + cells - 1)] = '|';
    }
}

// The first keys of the groups switched on, in order.
std::vector<int> GroupsOn(AppSession& app) {
    std::vector<int> groups;
    for (const BarGroup& group : kBarGroups) {
        if (IsOn(app, group.variable)) {
            groups.push_back(group.firstKey);
        }
    }
    return groups;
}

}  // namespace

int FunctionKeyBar::KeyAt(int row, int col) const {
    if (row < 0 || row >= static_cast<int>(groups.size()) || col < 0 || col >= width) {
        return 0;
    }
    const std::vector<int>& shared = groups[static_cast<size_t>(row)];
    const int segments = static_cast<int>(shared.size());
    for (int g = 0; g < segments; ++g) {
        int start = SegmentStart(width, segments, g);
        int end = SegmentStart(width, segments, g + 1);
        if (col >= end) {
            continue;
        }
        for (int i = 0; i < kKeysPerRow; ++i) {
            if (col - start < ButtonStart(end - start, i + 1)) {
                return shared[static_cast<size_t>(g)] + i;
            }
        }
    }
    return 0;
}

int FunctionKeyBarRows(AppSession& app) {
    if (!IsOn(app, "ZPFSHOW")) {
        return 0;
    }
    return std::min(static_cast<int>(GroupsOn(app).size()), kMaxBarRows);
}

FunctionKeyBar BuildFunctionKeyBar(AppSession& app, int width) {
    FunctionKeyBar bar;
    bar.width = std::max(width, 0);
    if (!IsOn(app, "ZPFSHOW")) {
        return bar;
    }
    BarStyle style = StyleOf(app);
    std::vector<int> on = GroupsOn(app);
    // Up to two groups a row of their own; three or four share the two rows, two groups a row.
    const size_t perRow = on.size() > static_cast<size_t>(kMaxBarRows) ? 2 : 1;
    for (size_t first = 0; first < on.size(); first += perRow) {
        std::vector<int> shared(
            on.begin() + static_cast<std::ptrdiff_t>(first),
            on.begin() + static_cast<std::ptrdiff_t>(std::min(first + perRow, on.size())));
        std::string row(static_cast<size_t>(bar.width), ' ');
        const int segments = static_cast<int>(shared.size());
        for (int g = 0; g < segments; ++g) {
            int start = SegmentStart(bar.width, segments, g);
            PaintGroup(app, row, start, SegmentStart(bar.width, segments, g + 1) - start,
                       shared[static_cast<size_t>(g)], style);
        }
        bar.rows.push_back(std::move(row));
        bar.firstKey.push_back(shared.front());
        bar.groups.push_back(std::move(shared));
    }
    return bar;
}

}  // namespace tavoe
