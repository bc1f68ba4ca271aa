#pragma once

#include <array>
#include <cstdint>

namespace tavoe {

namespace ui {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 16 palette entries the canvas's colour indexes select.
using Palette = std::array<Rgb, 16>;

// The program's default palette (black, greys, white, then the darker and brighter primaries).
Palette DefaultPalette();

// A palette value as the settings store it: a 24-bit number with red in the low byte, green in the
// middle byte and blue in the high byte.
Rgb RgbFromColorValue(uint32_t value);
uint32_t ColorValueFromRgb(Rgb rgb);

// The RGB value of an xterm 256-colour index (16-231 the 6x6x6 cube, 232-255 the grey ramp; 0-15 the
// conventional VGA values, which many terminals let users change).
Rgb Xterm256Rgb(int index);
// The nearest of the terminal colours 16-255, whose values terminals do not vary.
int NearestXterm256(Rgb rgb);
// The nearest of the 8 basic terminal colours (black, red, green, yellow, blue, magenta, cyan, white)
// taken at their usual dark values.
int NearestAnsi8(Rgb rgb);

}  // namespace ui

}  // namespace tavoe
