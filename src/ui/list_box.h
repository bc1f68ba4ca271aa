#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/widget.h"

namespace tavoe {

namespace ui {

enum class SelectMode : uint8_t { Single, Extended };

// A list of text items: single or extended multiple selection, one column or several (items run
// down a column, then on to the next), a top index, a caret, paging, type-ahead on the first
// character, double and right click.
//
// Keys: Up/Down by one item, Left/Right by one column in a multi-column list, Home/End, Page Up
// sets the top to top - page (not below 0) and Page Down advances it by the smaller of a page and
// the items after the last visible one, the caret following the top. In an extended list Shift
// extends from the anchor, Ctrl moves the caret alone and Space toggles the caret item; a click
// selects one item, Shift+click a range and Ctrl+click toggles.
class ListBox : public Widget {
public:
    explicit ListBox(const Rect& r);

    SelectMode selectMode = SelectMode::Single;
    bool sorted = false;     // AddItem keeps the items in order (compared without case)
    bool scrollBar = false;  // a vertical scroll bar in the last column (one-column lists)
    int columnWidth = 0;     // > 0: multi-column with columns of this width

    std::function<void(ListBox&)> onSelectionChange;
    std::function<void(ListBox&, int index)> onDoubleClick;
    // Right button: the canvas position of the click.
    std::function<void(ListBox&, int row, int col)> onRightClick;

    void SetItems(std::vector<std::string> items);
    // Adds an item (in order when sorted) and returns its index.
    int AddItem(std::string item);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Item(int index) const { return items_[index]; }
    const std::vector<std::string>& Items() const { return items_; }

    int Caret() const { return caret_; }
    void SetCaret(int index);
    int Top() const { return top_; }
    void SetTop(int index);
    // Items that one page shows.
    int PageSize() const;

    bool IsSelected(int index) const;
    // Single mode: selects this item only (-1 clears). Extended: changes this item alone.
    void Select(int index, bool on = true);
    void ClearSelection();
    std::vector<int> SelectedIndexes() const;
    int SelectedIndex() const;  // the first selected item, or -1

    void PageUp();
    void PageDown();

    bool Focusable() const override { return true; }
    void Paint(Painter& painter, const Theme& theme, bool focused) override;
    Handled OnKey(const KeyEvent& key, Screen& screen) override;
    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override;

private:
    int VisibleRows() const;
    int VisibleColumns() const;
    int TextWidth() const;
    int ItemAt(int row, int col) const;
    void EnsureCaretVisible();
    // Moves the caret as a key does, with selection following by mode and modifiers.
    void MoveCaret(int index, uint8_t mods);
    void SelectRange(int from, int to);
    void Notify();

    std::vector<std::string> items_;
    std::vector<unsigned char> selected_;
    int caret_ = 0;
    int top_ = 0;
    int anchor_ = 0;
};

}  // namespace ui

}  // namespace tavoe
