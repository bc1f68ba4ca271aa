#pragma once

#include <cstdint>

namespace tavoe {

namespace ui {

// Foreground and background as indexes into the 16-entry palette.
struct ColorPair {
    uint8_t fg = 0;
    uint8_t bg = 3;
    bool operator==(const ColorPair&) const = default;
};

// How a cell's byte is to be read. Text bytes belong to the session's display character set; graphic
// bytes always name a glyph of the IBM-PC set (frames, arrows, check marks), whatever the display set.
enum class CellKind : uint8_t { Text = 0, Graphic = 1 };

// One character cell of the canvas.
struct Cell {
    uint8_t ch = ' ';
    ColorPair color;
    CellKind kind = CellKind::Text;
    bool operator==(const Cell&) const = default;
};

// Glyphs of the IBM-PC set used by the widgets for frames and marks (drawn as CellKind::Graphic).
namespace glyph {
constexpr uint8_t kHLine = 0xC4;
constexpr uint8_t kVLine = 0xB3;
constexpr uint8_t kTopLeft = 0xDA;
constexpr uint8_t kTopRight = 0xBF;
constexpr uint8_t kBottomLeft = 0xC0;
constexpr uint8_t kBottomRight = 0xD9;
constexpr uint8_t kDHLine = 0xCD;
constexpr uint8_t kDVLine = 0xBA;
constexpr uint8_t kDTopLeft = 0xC9;
constexpr uint8_t kDTopRight = 0xBB;
constexpr uint8_t kDBottomLeft = 0xC8;
constexpr uint8_t kDBottomRight = 0xBC;
constexpr uint8_t kArrowUp = 0x1E;
constexpr uint8_t kArrowDown = 0x1F;
constexpr uint8_t kArrowLeft = 0x11;
constexpr uint8_t kArrowRight = 0x10;
constexpr uint8_t kFullBlock = 0xDB;
constexpr uint8_t kLightShade = 0xB0;
constexpr uint8_t kMediumShade = 0xB1;
constexpr uint8_t kSquare = 0xFE;
constexpr uint8_t kBullet = 0x07;
}  // namespace glyph

}  // namespace ui

}  // namespace tavoe
