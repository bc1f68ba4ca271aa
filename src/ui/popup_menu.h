#pragma once

#include <string>
#include <vector>

namespace tavoe {

namespace ui {

class Screen;

enum class MenuEntryKind : uint8_t { Item, Separator };

struct MenuEntry {
    std::string text;
    MenuEntryKind kind = MenuEntryKind::Item;
    bool greyed = false;  // shown in the disabled colours; never chosen, the cursor passes over it
};

// Shows a pop-up menu with its top-left corner at the canvas position (moved to stay on the canvas)
// and returns the index of the chosen entry, or -1 when it was left without a choice. Up/Down skip
// separators and greyed entries; Enter or a click chooses; a letter chooses the entry whose access key ("&x")
// or first character it is when only one entry has it, and moves to the next such entry otherwise; Escape, F3
// or a click outside leave.
int RunPopupMenu(Screen& screen, const std::vector<MenuEntry>& entries, int row, int col);

}  // namespace ui

}  // namespace tavoe
