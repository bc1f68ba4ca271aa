#pragma once

#include <functional>
#include <string>

#include "ui/mnemonic.h"
#include "ui/widget.h"

namespace tavoe {

namespace ui {

enum class TextSide : uint8_t { Left, Right };

// "[X] Text" (or "Text [X]" with the text on the left). Space and a click toggle it.
class CheckBox : public Widget {
public:
    CheckBox(const Rect& r, std::string text, TextPrefix prefix = TextPrefix::Mnemonic);

    std::string text;
    TextPrefix prefix;
    bool checked = false;
    TextSide side = TextSide::Right;
    std::function<void(CheckBox&)> onToggle;

    void Toggle();

    bool Focusable() const override { return true; }
    void Paint(Painter& painter, const Theme& theme, bool focused) override;
    Handled OnKey(const KeyEvent& key, Screen& screen) override;
    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override;
};

}  // namespace ui

}  // namespace tavoe
