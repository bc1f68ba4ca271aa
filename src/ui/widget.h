#pragma once

#include "ui/canvas.h"
#include "ui/event.h"
#include "ui/theme.h"

namespace tavoe {

namespace ui {

class Screen;

enum class Handled : uint8_t { No, Yes };
// How a widget came to have the focus: keyboard and initial focus mark an input field's whole text,
// as a dialog does, so typing replaces it; a click places the cursor instead.
enum class FocusReason : uint8_t { Initial, Keyboard, Mouse, Program };

// One control of a form. Its rectangle is relative to the form's client area; the form tells it
// where that lies on the canvas before painting or dispatching.
class Widget {
public:
    virtual ~Widget() = default;

    Rect rect;
    int id = 0;  // free for the owner (the dialog runtime keeps its object number here)
    bool visible = true;
    bool enabled = true;

    virtual bool Focusable() const { return false; }
    // Draws through a painter of the widget's own rectangle.
    virtual void Paint(Painter& painter, const Theme& theme, bool focused) = 0;
    virtual Handled OnKey(const KeyEvent& key, Screen& screen) {
        (void)key;
        (void)screen;
        return Handled::No;
    }
    // Mouse position relative to the widget's rectangle.
    virtual Handled OnMouse(const MouseEvent& mouse, Screen& screen) {
        (void)mouse;
        (void)screen;
        return Handled::No;
    }
    virtual void OnFocus(FocusReason reason) { (void)reason; }
    virtual void OnBlur() {}

    // Where the widget lies on the canvas (set by its form).
    const Rect& ScreenRect() const { return screenRect_; }
    void SetScreenRect(const Rect& r) { screenRect_ = r; }

private:
    Rect screenRect_;
};

}  // namespace ui

}  // namespace tavoe
