#include "ui/screen.h"

#include <algorithm>

namespace tavoe {

namespace ui {

Screen::Screen(Backend& backend)
    : backend_(&backend), canvas_(backend.Rows(), backend.Cols()), palette_(DefaultPalette()) {
    backend_->SetPalette(palette_);
    backend_->SetDisplaySet(displaySet_);
}

void Screen::SetPalette(const Palette& palette) {
    palette_ = palette;
    backend_->SetPalette(palette);
    canvas_.MarkAllChanged();
}

void Screen::SetDisplaySet(DisplaySet set) {
    displaySet_ = set;
    backend_->SetDisplaySet(set);
    canvas_.MarkAllChanged();
}

void Screen::PushLayer(Layer& layer) {
    RemoveLayer(layer);
    layers_.push_back(&layer);
    layer.Layout(canvas_.Rows(), canvas_.Cols());
}

void Screen::RemoveLayer(Layer& layer) {
    std::erase(layers_, &layer);
}

void Screen::Render() {
    canvas_.HideCursor();
    canvas_.Fill(canvas_.Bounds(), Cell{' ', theme_.desktop, CellKind::Text});
    if (basePainter_) {
        basePainter_(canvas_);
    }
    for (Layer* layer : layers_) {
        // Only the top layer keeps the cursor: what lies below a modal form has no focus.
        canvas_.HideCursor();
        layer->Paint(canvas_, theme_);
    }
}

void Screen::Present() {
    Render();
    backend_->Present(canvas_);
}

void Screen::ApplyResize(const Event& event) {
    if (event.kind != EventKind::Resize) {
        return;
    }
    canvas_.Resize(std::max(event.rows, 1), std::max(event.cols, 1));
    for (Layer* layer : layers_) {
        layer->Layout(canvas_.Rows(), canvas_.Cols());
    }
}

Event Screen::WaitEvent() {
    Present();
    if (!held_.empty()) {
        Event event = held_.front();  // its resize was applied when it was first taken
        held_.pop_front();
        return event;
    }
    Event event = backend_->WaitEvent();
    ApplyResize(event);
    return event;
}

bool Screen::PollEvent(Event& event) {
    if (!held_.empty()) {
        event = held_.front();
        held_.pop_front();
        return true;
    }
    if (!backend_->PollEvent(event)) {
        return false;
    }
    ApplyResize(event);
    return true;
}

int Screen::RunModal(Form& form) {
    form.Reopen();
    PushLayer(form);
    form.EnsureFocus();
    ++modalDepth_;
    while (!form.Ended()) {
        Event event = WaitEvent();
        switch (event.kind) {
            case EventKind::Key:
            case EventKind::Mouse:
                form.Dispatch(event, *this);
                break;
            case EventKind::TypedLine:
                for (char c : event.text) {
                    if (form.Ended()) {
                        break;
                    }
                    form.Dispatch(Event::OfKey(CharKey(static_cast<uint8_t>(c))), *this);
                }
                if (!form.Ended()) {
                    form.Dispatch(Event::OfKey(NamedKey(Key::Enter)), *this);
                }
                break;
            case EventKind::EndOfInput:
                form.Dispatch(Event::OfKey(NamedKey(Key::F3)), *this);
                if (!form.Ended()) {
                    form.End(Form::kCancelled);
                }
                break;
            case EventKind::Wake:
                if (wakeHandler_) {
                    wakeHandler_();
                }
                break;
            case EventKind::Resize:
            case EventKind::None:
                break;
        }
        if (afterEvent_) {
            afterEvent_();
        }
    }
    --modalDepth_;
    RemoveLayer(form);
    return form.Result();
}

}  // namespace ui

}  // namespace tavoe
