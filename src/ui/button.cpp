#include "ui/button.h"

namespace tavoe {

namespace ui {

Button::Button(const Rect& r, std::string c, TextPrefix p) : caption(std::move(c)), prefix(p) {
    rect = r;
}

void Button::Push(Screen& screen) {
    (void)screen;
    if (onPush && enabled) {
        onPush(*this);
    }
}

void Button::Paint(Painter& painter, const Theme& theme, bool focused) {
    ColorPair pair = !enabled ? theme.disabled : focused ? theme.buttonFocused : theme.button;
    painter.FillAll(theme.dialog);
    int width = rect.cols;
    std::string shown = ShownText(caption, prefix);
    painter.Fill(Rect{0, 0, 1, width}, pair);
    int inner = width - 2;
    if (static_cast<int>(shown.size()) > inner) {
        shown.resize(inner > 0 ? inner : 0);
    }
    int col = 1 + (inner - static_cast<int>(shown.size())) / 2;
    painter.Put(0, 0, '[', pair);
    painter.Put(0, width - 1, ']', pair);
    if (isDefault && inner >= static_cast<int>(shown.size()) + 2) {
        painter.Put(0, 1, '>', pair);
        painter.Put(0, width - 2, '<', pair);
    }
    painter.Text(0, col, shown, pair);
    if (focused) {
        painter.SetCursor(0, col, CursorShape::Block);
    }
}

Handled Button::OnKey(const KeyEvent& key, Screen& screen) {
    if (key.Is(Key::Enter) || (key.IsChar() && key.ch == ' ')) {
        Push(screen);
        return Handled::Yes;
    }
    return Handled::No;
}

Handled Button::OnMouse(const MouseEvent& mouse, Screen& screen) {
    if ((mouse.action == MouseAction::Press || mouse.action == MouseAction::DoubleClick) &&
        mouse.button == MouseButton::Left) {
        Push(screen);
        return Handled::Yes;
    }
    return Handled::No;
}

}  // namespace ui

}  // namespace tavoe
