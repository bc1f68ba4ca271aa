#pragma once

#include <string>

#include "ui/canvas.h"
#include "ui/glyph_map.h"

namespace tavoe {

namespace ui {

// One canvas row as UTF-8 glyphs, trailing blanks removed.
std::string CanvasRowText(const Canvas& canvas, int row, DisplaySet set);
// Every row, each followed by '\n' (the body of a screen dump).
std::string CanvasText(const Canvas& canvas, DisplaySet set);

}  // namespace ui

}  // namespace tavoe
