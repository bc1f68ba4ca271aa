#include "ui/canvas.h"

#include <algorithm>

namespace tavoe {

namespace ui {

Rect Rect::Intersect(const Rect& other) const {
    int top = std::max(row, other.row);
    int left = std::max(col, other.col);
    int bottom = std::min(row + rows, other.row + other.rows);
    int right = std::min(col + cols, other.col + other.cols);
    if (bottom <= top || right <= left) {
        return Rect{top, left, 0, 0};
    }
    return Rect{top, left, bottom - top, right - left};
}

Canvas::Canvas(int rows, int cols) : rows_(0), cols_(0) {
    Resize(rows, cols);
}

void Canvas::Resize(int rows, int cols) {
    rows_ = std::max(rows, 1);
    cols_ = std::max(cols, 1);
    size_t count = static_cast<size_t>(rows_) * cols_;
    cells_.assign(count, Cell{});
    shown_.assign(count, Cell{});
    dirty_.assign(rows_, 0);
    allChanged_ = true;
    cursor_.visible = false;
}

void Canvas::Set(int row, int col, const Cell& cell) {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        return;
    }
    Cell& target = cells_[Index(row, col)];
    if (!(target == cell)) {
        target = cell;
        dirty_[row] = 1;
    }
}

void Canvas::Fill(const Rect& rect, const Cell& cell) {
    Rect r = rect.Intersect(Bounds());
    for (int row = r.row; row < r.row + r.rows; ++row) {
        for (int col = r.col; col < r.col + r.cols; ++col) {
            Set(row, col, cell);
        }
    }
}

std::vector<Canvas::Change> Canvas::TakeChanges() {
    std::vector<Change> changes;
    for (int row = 0; row < rows_; ++row) {
        if (!allChanged_ && dirty_[row] == 0) {
            continue;
        }
        dirty_[row] = 0;
        for (int col = 0; col < cols_; ++col) {
            size_t i = Index(row, col);
            if (allChanged_ || !(cells_[i] == shown_[i])) {
                shown_[i] = cells_[i];
                changes.push_back(Change{row, col, cells_[i]});
            }
        }
    }
    allChanged_ = false;
    return changes;
}

void Canvas::MarkAllChanged() {
    allChanged_ = true;
}

void Canvas::SetCursor(int row, int col, CursorShape shape) {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        return;
    }
    cursor_ = CursorState{true, row, col, shape};
}

Painter::Painter(Canvas& canvas, const Rect& area) : Painter(canvas, area, area.Intersect(canvas.Bounds())) {}

Painter::Painter(Canvas& canvas, const Rect& area, const Rect& clip)
    : canvas_(&canvas), area_(area), clip_(clip) {}

Painter Painter::Sub(const Rect& relative) const {
    Rect area{area_.row + relative.row, area_.col + relative.col, relative.rows, relative.cols};
    return Painter(*canvas_, area, area.Intersect(clip_));
}

void Painter::Put(int row, int col, uint8_t ch, ColorPair color, CellKind kind) {
    int r = area_.row + row;
    int c = area_.col + col;
    if (!clip_.Contains(r, c)) {
        return;
    }
    canvas_->Set(r, c, Cell{ch, color, kind});
}

int Painter::Text(int row, int col, std::string_view text, ColorPair color) {
    for (size_t i = 0; i < text.size(); ++i) {
        Put(row, col + static_cast<int>(i), static_cast<uint8_t>(text[i]), color);
    }
    return static_cast<int>(text.size());
}

void Painter::Fill(const Rect& relative, ColorPair color, uint8_t ch) {
    Rect r = Rect{area_.row + relative.row, area_.col + relative.col, relative.rows, relative.cols}.Intersect(
        clip_);
    canvas_->Fill(r, Cell{ch, color, CellKind::Text});
}

void Painter::HLine(int row, int col, int length, ColorPair color) {
    for (int i = 0; i < length; ++i) {
        Put(row, col + i, glyph::kHLine, color, CellKind::Graphic);
    }
}

void Painter::Frame(const Rect& r, ColorPair color, FrameStyle style) {
    if (r.rows < 2 || r.cols < 2) {
        return;
    }
    bool dbl = style == FrameStyle::Double;
    uint8_t h = dbl ? glyph::kDHLine : glyph::kHLine;
    uint8_t v = dbl ? glyph::kDVLine : glyph::kVLine;
    int bottom = r.row + r.rows - 1;
    int right = r.col + r.cols - 1;
    for (int c = r.col + 1; c < right; ++c) {
        Put(r.row, c, h, color, CellKind::Graphic);
        Put(bottom, c, h, color, CellKind::Graphic);
    }
    for (int row = r.row + 1; row < bottom; ++row) {
        Put(row, r.col, v, color, CellKind::Graphic);
        Put(row, right, v, color, CellKind::Graphic);
    }
    Put(r.row, r.col, dbl ? glyph::kDTopLeft : glyph::kTopLeft, color, CellKind::Graphic);
    Put(r.row, right, dbl ? glyph::kDTopRight : glyph::kTopRight, color, CellKind::Graphic);
    Put(bottom, r.col, dbl ? glyph::kDBottomLeft : glyph::kBottomLeft, color, CellKind::Graphic);
    Put(bottom, right, dbl ? glyph::kDBottomRight : glyph::kBottomRight, color, CellKind::Graphic);
}

void Painter::SetCursor(int row, int col, CursorShape shape) {
    int r = area_.row + row;
    int c = area_.col + col;
    if (clip_.Contains(r, c)) {
        canvas_->SetCursor(r, c, shape);
    }
}

}  // namespace ui

}  // namespace tavoe
