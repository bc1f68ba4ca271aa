#include "ui/canvas_text.h"

namespace tavoe {

namespace ui {

std::string CanvasRowText(const Canvas& canvas, int row, DisplaySet set) {
    std::string line;
    size_t keep = 0;
    for (int col = 0; col < canvas.Cols(); ++col) {
        const Cell& cell = canvas.At(row, col);
        bool graphic = cell.kind == CellKind::Graphic;
        AppendUtf8(line, graphic ? GraphicGlyphOf(cell.ch) : GlyphOf(cell.ch, set));
        if (cell.ch != ' ' || graphic) {
            keep = line.size();
        }
    }
    line.resize(keep);
    return line;
}

std::string CanvasText(const Canvas& canvas, DisplaySet set) {
    std::string text;
    for (int row = 0; row < canvas.Rows(); ++row) {
        text += CanvasRowText(canvas, row, set);
        text += '\n';
    }
    return text;
}

}  // namespace ui

}  // namespace tavoe
