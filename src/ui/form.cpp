#include "ui/form.h"

#include <algorithm>

#include "ui/button.h"

namespace tavoe {

namespace ui {

Form::Form(std::string title, int clientRows, int clientCols)
    : title_(std::move(title)), clientRows_(clientRows), clientCols_(clientCols) {}

void Form::SetClientSize(int rows, int cols) {
    clientRows_ = rows;
    clientCols_ = cols;
}

void Form::PlaceAt(int row, int col) {
    placed_ = true;
    placeRow_ = row;
    placeCol_ = col;
}

void Form::Layout(int canvasRows, int canvasCols) {
    int border = frame_ == FormFrame::None ? 0 : 1;
    int rows = std::max(clientRows_, 0) + 2 * border;
    int cols = std::max(clientCols_, 0) + 2 * border;
    int row = 0;
    int col = 0;
    if (placed_) {
        // A placed form (a pop-up) moves up or left to stay on the canvas where it can.
        row = std::max(0, std::min(placeRow_, canvasRows - rows));
        col = std::max(0, std::min(placeCol_, canvasCols - cols));
    } else {
        row = std::max(0, (canvasRows - rows) / 2);
        col = std::max(0, (canvasCols - cols) / 2);
    }
    outer_ = Rect{row, col, rows, cols};
    client_ = Rect{row + border, col + border, std::max(clientRows_, 0), std::max(clientCols_, 0)};
    PlaceWidgets();
}

void Form::PlaceWidgets() {
    for (auto& widget : widgets_) {
        widget->SetScreenRect(Rect{client_.row + widget->rect.row, client_.col + widget->rect.col,
                                   widget->rect.rows, widget->rect.cols});
    }
}

void Form::Paint(Canvas& canvas, const Theme& theme) {
    PlaceWidgets();
    Painter outer(canvas, outer_);
    outer.FillAll(theme.dialog);
    if (frame_ != FormFrame::None) {
        outer.Frame(Rect{0, 0, outer_.rows, outer_.cols}, theme.dialog, FrameStyle::Single);
        if (frame_ == FormFrame::Titled && !title_.empty() && outer_.cols > 4) {
            std::string shown = " " + title_ + " ";
            if (static_cast<int>(shown.size()) > outer_.cols - 2) {
                shown.resize(outer_.cols - 2);
            }
            int col = (outer_.cols - static_cast<int>(shown.size())) / 2;
            outer.Text(0, col, shown, theme.title);
        }
    }
    Painter client(canvas, client_);
    for (auto& widget : widgets_) {
        if (!widget->visible) {
            continue;
        }
        Painter painter = client.Sub(widget->rect);
        widget->Paint(painter, theme, widget.get() == focused_);
    }
}

void Form::SetFocus(Widget* widget, FocusReason reason) {
    if (widget == focused_ && reason != FocusReason::Keyboard && reason != FocusReason::Initial) {
        return;
    }
    if (focused_ != nullptr && focused_ != widget) {
        focused_->OnBlur();
    }
    focused_ = widget;
    if (widget != nullptr) {
        widget->OnFocus(reason);
    }
}

void Form::FocusNext(bool backwards) {
    int count = static_cast<int>(widgets_.size());
    if (count == 0) {
        return;
    }
    int start = -1;
    for (int i = 0; i < count; ++i) {
        if (widgets_[i].get() == focused_) {
            start = i;
        }
    }
    for (int step = 1; step <= count; ++step) {
        int i = 0;
        if (start < 0) {
            i = backwards ? count - step : step - 1;
        } else {
            i = ((start + (backwards ? -step : step)) % count + count) % count;
        }
        Widget* w = widgets_[i].get();
        if (w->Focusable() && w->visible && w->enabled) {
            SetFocus(w, FocusReason::Keyboard);
            return;
        }
    }
}

void Form::EnsureFocus() {
    if (focused_ != nullptr) {
        return;
    }
    for (auto& widget : widgets_) {
        if (widget->Focusable() && widget->visible && widget->enabled) {
            SetFocus(widget.get(), FocusReason::Initial);
            return;
        }
    }
}

void Form::End(int result) {
    ended_ = true;
    result_ = result;
}

Handled Form::Dispatch(const Event& event, Screen& screen) {
    if (event.kind == EventKind::Key) {
        return DispatchKey(event.key, screen);
    }
    if (event.kind == EventKind::Mouse) {
        return DispatchMouse(event.mouse, screen);
    }
    return Handled::No;
}

Handled Form::DispatchKey(const KeyEvent& key, Screen& screen) {
    if (keyFilter && keyFilter(key) == Handled::Yes) {
        return Handled::Yes;
    }
    if (ended_) {
        return Handled::Yes;
    }
    if (focused_ != nullptr && focused_->OnKey(key, screen) == Handled::Yes) {
        return Handled::Yes;
    }
    if (ended_) {
        return Handled::Yes;
    }
    if (key.Is(Key::Tab) || key.Is(Key::Tab, kModShift)) {
        FocusNext(key.mods == kModShift);
        return Handled::Yes;
    }
    if (unhandledKey && unhandledKey(key) == Handled::Yes) {
        return Handled::Yes;
    }
    if (key.Is(Key::Enter) && defaultButton != nullptr && defaultButton->enabled) {
        defaultButton->Push(screen);
        return Handled::Yes;
    }
    if ((key.Is(Key::Escape) && cancelKeys == CancelKeys::EscapeAndF3) ||
        (key.Is(Key::F3) && cancelKeys != CancelKeys::None)) {
        End(kCancelled);
        return Handled::Yes;
    }
    return Handled::No;
}

Widget* Form::WidgetAt(int row, int col) const {
    for (auto it = widgets_.rbegin(); it != widgets_.rend(); ++it) {
        Widget* w = it->get();
        if (w->visible && w->ScreenRect().Intersect(client_).Contains(row, col)) {
            return w;
        }
    }
    return nullptr;
}

Handled Form::DispatchMouse(const MouseEvent& mouse, Screen& screen) {
    Widget* target = nullptr;
    if (mouse.action == MouseAction::Drag || mouse.action == MouseAction::Release) {
        target = captured_;
        if (mouse.action == MouseAction::Release) {
            captured_ = nullptr;
        }
    } else {
        target = WidgetAt(mouse.row, mouse.col);
        bool wheel = mouse.action == MouseAction::WheelUp || mouse.action == MouseAction::WheelDown;
        if (wheel && target == nullptr) {
            target = focused_;
        }
        if (!wheel && !outer_.Contains(mouse.row, mouse.col)) {
            if (closeOnOutsideClick) {
                End(kCancelled);
            }
            return Handled::Yes;
        }
        if (!wheel) {
            captured_ = target;
        }
        if (!wheel && target != nullptr && target->Focusable() && target->enabled) {
            SetFocus(target, FocusReason::Mouse);
        }
    }
    if (target == nullptr || !target->enabled) {
        return Handled::No;
    }
    MouseEvent relative = mouse;
    relative.row -= target->ScreenRect().row;
    relative.col -= target->ScreenRect().col;
    return target->OnMouse(relative, screen);
}

}  // namespace ui

}  // namespace tavoe
