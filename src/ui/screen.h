#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "ui/backend.h"
#include "ui/canvas.h"
#include "ui/form.h"
#include "ui/theme.h"

namespace tavoe {

namespace ui {

// The canvas of one instance and the layers drawn on it, over the backend that shows it. The program's
// own view paints first (the base painter), then every open form or progress window in order.
class Screen {
public:
    explicit Screen(Backend& backend);

    Backend& GetBackend() { return *backend_; }
    Canvas& GetCanvas() { return canvas_; }
    Theme& GetTheme() { return theme_; }
    const Palette& GetPalette() const { return palette_; }
    void SetPalette(const Palette& palette);
    DisplaySet GetDisplaySet() const { return displaySet_; }
    void SetDisplaySet(DisplaySet set);

    // Paints the program's own view below every layer (the edit view, the file list).
    void SetBasePainter(std::function<void(Canvas&)> painter) { basePainter_ = std::move(painter); }
    // Runs when a wake-up event arrives while a modal loop waits.
    void SetWakeHandler(std::function<void()> handler) { wakeHandler_ = std::move(handler); }
    // Runs after every event a modal loop handled (e.g. to run posted commands).
    void SetAfterEventHook(std::function<void()> hook) { afterEvent_ = std::move(hook); }

    void PushLayer(Layer& layer);
    void RemoveLayer(Layer& layer);

    void Render();
    // Renders and hands the changes to the backend.
    void Present();

    // Presents, then waits for the next event. A resize is applied here (canvas and layers) before
    // the event is returned.
    Event WaitEvent();
    // Takes an event that is already waiting, without blocking; a resize is applied as in WaitEvent.
    bool PollEvent(Event& event);
    // Gives back an event taken early (while work looked only for Escape): WaitEvent and PollEvent
    // hand out held events first, in the order they were held.
    void HoldEvent(const Event& event) { held_.push_back(event); }

    // Runs the form until it ends and returns its result. Keys and mouse go to the form (its focused
    // widget first); a typed script line is typed into the focused widget and followed by Enter; the
    // end of the script presses F3, and a form that still does not end is cancelled.
    int RunModal(Form& form);
    int ModalDepth() const { return modalDepth_; }

    // Gives the terminal to a program the editor runs, and takes it back, drawing everything again.
    void SuspendForChild() { backend_->SuspendForChild(); }
    void ResumeAfterChild() {
        backend_->ResumeAfterChild();
        Present();
    }

    // Draws everything again from scratch (Ctrl+L, or after the terminal's content was disturbed).
    void RedrawAll() {
        canvas_.MarkAllChanged();
        backend_->RequestFullRedraw();
        Present();
    }

    // Beeps through the backend (a program checks its sound setting first).
    void Beep() { backend_->Beep(); }

private:
    void ApplyResize(const Event& event);

    Backend* backend_;
    Canvas canvas_;
    Theme theme_;
    Palette palette_;
    DisplaySet displaySet_ = DisplaySet::Iso8859;
    std::function<void(Canvas&)> basePainter_;
    std::function<void()> wakeHandler_;
    std::function<void()> afterEvent_;
    std::deque<Event> held_;
    std::vector<Layer*> layers_;
    int modalDepth_ = 0;
};

}  // namespace ui

}  // namespace tavoe
