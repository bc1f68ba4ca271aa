#pragma once

#include <string>

#include "ui/form.h"

namespace tavoe {

namespace ui {

class Screen;

// A window shown while long work runs: a title, a line of text and a bar. It is not modal: the work
// updates it between batches and asks whether Escape was pressed. It removes itself when destroyed.
class ProgressWindow : public Layer {
public:
    ProgressWindow(Screen& screen, std::string title, std::string text);
    ~ProgressWindow() override;
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Percent 0..100 (clamped); redraws at once.
    void Update(int percent);
    void Update(int percent, std::string text);
    int Percent() const { return percent_; }
    const std::string& Text() const { return text_; }

    // Takes the events that are waiting: true when one was Escape. Other keys are dropped, a resize
    // is applied.
    bool CancelRequested();

    void Layout(int canvasRows, int canvasCols) override;
    void Paint(Canvas& canvas, const Theme& theme) override;

private:
    Screen& screen_;
    std::string title_;
    std::string text_;
    int percent_ = 0;
    Rect outer_;
};

}  // namespace ui

}  // namespace tavoe
