#include "ui/check_box.h"

namespace tavoe {

namespace ui {

CheckBox::CheckBox(const Rect& r, std::string t, TextPrefix p) : text(std::move(t)), prefix(p) {
    rect = r;
}

void CheckBox::Toggle() {
    checked = !checked;
    if (onToggle) {
        onToggle(*this);
    }
}

void CheckBox::Paint(Painter& painter, const Theme& theme, bool focused) {
    ColorPair pair = enabled ? theme.dialog : theme.disabled;
    painter.FillAll(theme.dialog);
    std::string shown = ShownText(text, prefix);
    std::string box = checked ? "[X]" : "[ ]";
    int boxCol = 0;
    if (side == TextSide::Left) {
        painter.Text(0, 0, shown, pair);
        boxCol = rect.cols - 3;
        if (boxCol < static_cast<int>(shown.size()) + 1) {
            boxCol = static_cast<int>(shown.size()) + 1;
        }
    } else {
        painter.Text(0, 4, shown, pair);
    }
    painter.Text(0, boxCol, box, focused ? theme.buttonFocused : pair);
    if (focused) {
        painter.SetCursor(0, boxCol + 1, CursorShape::Block);
    }
}

Handled CheckBox::OnKey(const KeyEvent& key, Screen& screen) {
    (void)screen;
    if (key.IsChar() && key.ch == ' ') {
        Toggle();
        return Handled::Yes;
    }
    return Handled::No;
}

Handled CheckBox::OnMouse(const MouseEvent& mouse, Screen& screen) {
    (void)screen;
    bool click = mouse.action == MouseAction::Press || mouse.action == MouseAction::DoubleClick;
    if (click && mouse.button == MouseButton::Left) {
        Toggle();
        return Handled::Yes;
    }
    return Handled::No;
}

}  // namespace ui

}  // namespace tavoe
