#pragma once

#include <functional>
#include <string>

#include "ui/mnemonic.h"
#include "ui/widget.h"

namespace tavoe {

namespace ui {

// A push button, drawn "[ Caption ]" across its width ("[> Caption <]" when it is the default).
// Enter, Space and a click push it.
class Button : public Widget {
public:
    Button(const Rect& r, std::string caption, TextPrefix prefix = TextPrefix::Mnemonic);

    std::string caption;
    TextPrefix prefix;
    bool isDefault = false;
    std::function<void(Button&)> onPush;

    void Push(Screen& screen);

    bool Focusable() const override { return true; }
    void Paint(Painter& painter, const Theme& theme, bool focused) override;
    Handled OnKey(const KeyEvent& key, Screen& screen) override;
    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override;
};

}  // namespace ui

}  // namespace tavoe
