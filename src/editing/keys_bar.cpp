#include "editing/keys.h"

#include <algorithm>
#include <string_view>

#include "core/app_session.h"
#include "core/var_store.h"

namespace tavoe {

// The function key bar: rows of twelve buttons, one row per key group that is switched on.

namespace {

constexpr int kKeysPerRow = 12;

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

std::string ButtonText(AppSession& app, int number, BarStyle style) {
    switch (style) {
        case BarStyle::Labels: {
            std::string label = VarText(app, FunctionKeyLabelVariable(number));
            return label.empty() ? FunctionKeyName(number) : label;
        }
        case BarStyle::MapVal:
            return VarText(app, FunctionKeyVariable(number));
        case BarStyle::Numbers:
            break;
    }
    return FunctionKeyName(number);
}

int ButtonStart(int width, int index) {
    return index * width / kKeysPerRow;
}

// One row: each button's text is cut to its width less one cell, and that last cell is the "|"
// that separates it from the next. Control bytes in a label are shown as blanks.
std::string BarRow(AppSession& app, int width, int firstKey, BarStyle style) {
    std::string row(static_cast<size_t>(width), ' ');
    for (int i = 0; i < kKeysPerRow; ++i) {
        int start = ButtonStart(width, i);
        int cells = ButtonStart(width, i + 1) - start;
        if (cells <= 0) {
            continue;
        }
        std::string text = ButtonText(app, firstKey + i, style);
        int shown = std::min(static_cast<int>(text.size()), cells - 1);
        for (int c = 0; c < shown; ++c) {
            unsigned char ch = static_cast<unsigned char>(text[static_cast<size_t>(c)]);
            row[static_cast<size_t>(start + c)] = ch < 0x20 || ch == 0x7F ? ' ' : static_cast<char>(ch);
        }
        row[static_cast<size_t>(start + cells - 1)] = '|';
    }
    return row;
}

}  // namespace

int FunctionKeyBar::KeyAt(int row, int col) const {
    if (row < 0 || row >= static_cast<int>(firstKey.size()) || col < 0 || col >= width) {
        return 0;
    }
    for (int i = 0; i < kKeysPerRow; ++i) {
        if (col < ButtonStart(width, i + 1)) {
            return firstKey[static_cast<size_t>(row)] + i;
        }
    }
    return 0;
}

int FunctionKeyBarRows(AppSession& app) {
    if (!IsOn(app, "ZPFSHOW")) {
        return 0;
    }
    int rows = 0;
    for (const BarGroup& group : kBarGroups) {
        rows += IsOn(app, group.variable) ? 1 : 0;
    }
    return rows;
}

FunctionKeyBar BuildFunctionKeyBar(AppSession& app, int width) {
    FunctionKeyBar bar;
    bar.width = std::max(width, 0);
    if (!IsOn(app, "ZPFSHOW")) {
        return bar;
    }
    BarStyle style = StyleOf(app);
    for (const BarGroup& group : kBarGroups) {
        if (IsOn(app, group.variable)) {
            bar.rows.push_back(BarRow(app, bar.width, group.firstKey, style));
            bar.firstKey.push_back(group.firstKey);
        }
    }
    return bar;
}

}  // namespace tavoe
