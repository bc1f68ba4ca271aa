#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/input_field.h"
#include "ui/widget.h"

namespace tavoe {

namespace ui {

// Fixed: a drop-down list whose field shows the selected item. Editable: a text field with a list
// to choose from.
enum class ComboKind : uint8_t { Fixed, Editable };

// A combo box one row high with an arrow in its last column. Up/Down (and Page Up/Down, and in a
// fixed list type-ahead) change the selection in place; Alt+Down, Alt+Up or a click on the arrow (a
// click anywhere on a fixed list) drop the list, in which Enter or a click chooses and Escape, F3 or
// a click elsewhere leaves it.
class ComboBox : public Widget {
public:
    ComboBox(const Rect& r, ComboKind kind);

    ComboKind Kind() const { return kind_; }
    int dropRows = 8;

    void SetItems(std::vector<std::string> items);
    const std::vector<std::string>& Items() const { return items_; }
    // -1 when nothing is selected (an editable combo whose text was typed).
    int Selected() const { return selected_; }
    // Selects an item (or -1); an editable combo shows its text in the field. No notification.
    void SetSelected(int index);
    // The field text: the selected item of a fixed list, the edit text of an editable combo.
    std::string Text() const;
    void SetText(std::string_view text);
    // The edit part of an editable combo (case, scrolling, length).
    InputField& Edit() { return edit_; }

    // Runs when the user changes the selection (not when the program sets it).
    std::function<void(ComboBox&)> onSelectionChange;

    // Drops the list and lets the user choose; returns true when an item was chosen.
    bool DropDown(Screen& screen);

    bool Focusable() const override { return true; }
    void Paint(Painter& painter, const Theme& theme, bool focused) override;
    Handled OnKey(const KeyEvent& key, Screen& screen) override;
    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override;
    void OnFocus(FocusReason reason) override;
    void OnBlur() override { edit_.OnBlur(); }

private:
    void ChooseByUser(int index);
    Rect EditRect() const { return Rect{0, 0, 1, std::max(rect.cols - 1, 1)}; }

    ComboKind kind_;
    std::vector<std::string> items_;
    int selected_ = -1;
    InputField edit_;
};

}  // namespace ui

}  // namespace tavoe
