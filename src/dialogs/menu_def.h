#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/dialog_def.h"

namespace tavoe {

// The in-memory model of one full-panel option menu (name.mnu): a title, an "Option" field and one
// row per entry with the option's push button, its verb and its annotation. The positions are kept
// in dialog units (a character 4 units wide, a text line 8 high) and in character cells for the
// terminal.

inline constexpr int kMenuEntriesMax = 18;
inline constexpr size_t kMenuOptionMax = 3;
inline constexpr size_t kMenuVerbMax = 31;
inline constexpr size_t kMenuAnnotationMax = 63;
inline constexpr size_t kMenuCommandMax = 175;
inline constexpr size_t kMenuNameMax = 30;
inline constexpr size_t kMenuTitleMax = 96;

// Control ids of the menu's dialog: the label, the option field, the separator, the option buttons
// from 33, the verb and annotation texts in pairs from 64.
inline constexpr int kMenuLabelId = 30;
inline constexpr int kMenuFieldId = 31;
inline constexpr int kMenuSeparatorId = 32;
inline constexpr int kMenuFirstButtonId = 33;
inline constexpr int kMenuFirstTextId = 64;

// A rectangle in dialog units.
struct UnitRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const UnitRect&) const = default;
};

struct MenuItem {
    std::string option;      // upper case, at most 3 characters
    std::string verb;        // at most 31 characters
    std::string annotation;  // at most 63 characters
    std::string command;     // the primary command the option runs, at most 175 characters

    // Layout of the row: the option button, the verb text and the annotation text.
    UnitRect button;
    UnitRect verbText;
    UnitRect annotationText;
    CellRect buttonCell;
    CellRect verbCell;
    CellRect annotationCell;
};

struct MenuDefinition {
    std::string name;   // as requested, at most 30 characters
    std::string title;  // from the TITLE record, at most 96 characters
    std::vector<MenuItem> items;

    // Size of the menu in dialog units, and of its client area in cells.
    int32_t width = 0;
    int32_t height = 0;
    int clientRows = 0;
    int clientCols = 0;

    // The "Option" label, the option field and the separator line.
    UnitRect label;
    UnitRect field;
    UnitRect separator;
    CellRect labelCell;
    CellRect fieldCell;
    CellRect separatorCell;
    // The label reads "OPTION" in the legacy style, "Option" otherwise.
    std::string labelText = "Option";
};

}  // namespace tavoe
