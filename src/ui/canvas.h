#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/cell.h"

namespace tavoe {

namespace ui {

// A rectangle of cells: top-left corner and size. Rows and columns count from 0.
struct Rect {
    int row = 0;
    int col = 0;
    int rows = 0;
    int cols = 0;

    bool Empty() const { return rows <= 0 || cols <= 0; }
    bool Contains(int r, int c) const { return r >= row && r < row + rows && c >= col && c < col + cols; }
    Rect Intersect(const Rect& other) const;
    bool operator==(const Rect&) const = default;
};

enum class CursorShape : uint8_t { Bar, Underline, Block };

// Where the terminal cursor stands after a flush; hidden unless a widget places it.
struct CursorState {
    bool visible = false;
    int row = 0;
    int col = 0;
    CursorShape shape = CursorShape::Block;
    bool operator==(const CursorState&) const = default;
};

// The character-cell canvas every piece of the interface draws into. It remembers what the backend
// was last given, so a flush hands over only the cells that changed since: writes mark their row,
// and only marked rows are compared cell by cell.
class Canvas {
public:
    struct Change {
        int row;
        int col;
        Cell cell;
    };

    Canvas(int rows = 24, int cols = 80);

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    Rect Bounds() const { return Rect{0, 0, rows_, cols_}; }

    // New size; the content is blanked and everything counts as changed.
    void Resize(int rows, int cols);

    const Cell& At(int row, int col) const { return cells_[Index(row, col)]; }
    // Writes one cell; positions outside the canvas are ignored.
    void Set(int row, int col, const Cell& cell);
    void Fill(const Rect& rect, const Cell& cell);

    // The changes since the last call, in row-major order; afterwards the canvas counts as shown.
    std::vector<Change> TakeChanges();
    // Forces the next TakeChanges to report every cell (after the terminal lost its content).
    void MarkAllChanged();

    const CursorState& Cursor() const { return cursor_; }
    void SetCursor(int row, int col, CursorShape shape);
    void HideCursor() { cursor_.visible = false; }

private:
    size_t Index(int row, int col) const { return static_cast<size_t>(row) * cols_ + col; }

    int rows_;
    int cols_;
    std::vector<Cell> cells_;
    std::vector<Cell> shown_;           // what the last TakeChanges handed out
    std::vector<unsigned char> dirty_;  // one flag per row: written since the last TakeChanges
    bool allChanged_ = true;
    CursorState cursor_;
};

enum class FrameStyle : uint8_t { Single, Double };

// A clipped view of the canvas: coordinates are relative to its origin, and nothing is drawn outside
// its clip rectangle. Widgets draw through a painter of their own rectangle.
class Painter {
public:
    Painter(Canvas& canvas, const Rect& area);

    int Rows() const { return area_.rows; }
    int Cols() const { return area_.cols; }
    // The painter of a rectangle given relative to this one, clipped to this one's clip.
    Painter Sub(const Rect& relative) const;
    // The absolute canvas position of a relative one.
    int AbsRow(int row) const { return area_.row + row; }
    int AbsCol(int col) const { return area_.col + col; }

    void Put(int row, int col, uint8_t ch, ColorPair color, CellKind kind = CellKind::Text);
    // Writes the bytes of text from (row, col) to the right; returns the columns written (clipped
    // columns included), i.e. text.size().
    int Text(int row, int col, std::string_view text, ColorPair color);
    void Fill(const Rect& relative, ColorPair color, uint8_t ch = ' ');
    void FillAll(ColorPair color) { Fill(Rect{0, 0, area_.rows, area_.cols}, color); }
    void HLine(int row, int col, int length, ColorPair color);
    void Frame(const Rect& relative, ColorPair color, FrameStyle style);
    // Places the terminal cursor when the position is visible through this painter.
    void SetCursor(int row, int col, CursorShape shape);

private:
    Painter(Canvas& canvas, const Rect& area, const Rect& clip);

    Canvas* canvas_;
    Rect area_;  // origin and nominal size, absolute
    Rect clip_;  // absolute
};

}  // namespace ui

}  // namespace tavoe
