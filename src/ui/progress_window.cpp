#include "ui/progress_window.h"

#include <algorithm>

#include "ui/screen.h"

namespace tavoe {

namespace ui {

ProgressWindow::ProgressWindow(Screen& screen, std::string title, std::string text)
    : screen_(screen), title_(std::move(title)), text_(std::move(text)) {
    screen_.PushLayer(*this);
    screen_.Present();
}

ProgressWindow::~ProgressWindow() {
    screen_.RemoveLayer(*this);
    screen_.Present();
}

void ProgressWindow::Update(int percent) {
    percent_ = std::clamp(percent, 0, 100);
    screen_.Present();
}

void ProgressWindow::Update(int percent, std::string text) {
    text_ = std::move(text);
    Update(percent);
}

bool ProgressWindow::CancelRequested() {
    bool cancel = false;
    Event event;
    while (screen_.PollEvent(event)) {
        if (event.kind == EventKind::Key && event.key.Is(Key::Escape)) {
            cancel = true;
        }
    }
    return cancel;
}

void ProgressWindow::Layout(int canvasRows, int canvasCols) {
    int cols =
        std::min(std::max(static_cast<int>(std::max(title_.size(), text_.size())) + 4, 44), canvasCols);
    int rows = 5;
    outer_ = Rect{std::max((canvasRows - rows) / 2, 0), std::max((canvasCols - cols) / 2, 0), rows, cols};
}

void ProgressWindow::Paint(Canvas& canvas, const Theme& theme) {
    Painter painter(canvas, outer_);
    painter.FillAll(theme.dialog);
    painter.Frame(Rect{0, 0, outer_.rows, outer_.cols}, theme.dialog, FrameStyle::Single);
    if (!title_.empty()) {
        std::string shown = " " + title_ + " ";
        painter.Text(0, std::max((outer_.cols - static_cast<int>(shown.size())) / 2, 1), shown, theme.title);
    }
    Painter inside = painter.Sub(Rect{1, 2, outer_.rows - 2, outer_.cols - 4});
    inside.Text(0, 0, text_, theme.dialog);
    int width = std::max(outer_.cols - 4 - 5, 1);
    int filled = width * percent_ / 100;
    for (int i = 0; i < width; ++i) {
        inside.Put(2, i, i < filled ? glyph::kFullBlock : glyph::kLightShade, theme.progress,
                   CellKind::Graphic);
    }
    std::string label = std::to_string(percent_) + "%";
    inside.Text(2, width + 5 - static_cast<int>(label.size()), label, theme.dialog);
}

}  // namespace ui

}  // namespace tavoe
