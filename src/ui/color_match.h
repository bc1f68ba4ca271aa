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

// How many colours a terminal has: 24-bit colour, the xterm 256, or the 8 basic ones.
enum class ColorDepth : uint8_t { TrueColor, Indexed256, Basic8 };

// The colour a terminal of that depth is given for an RGB value: the value itself (0xRRGGBB) for true
// colour, else the index of the nearest colour it has.
int TerminalColorOf(ColorDepth depth, Rgb rgb);
// What that terminal colour looks like.
Rgb TerminalRgbOf(ColorDepth depth, int color);

// The foreground and background a terminal shows for a pair of palette indexes. Two different palette
// colours that fall together on the terminal keep the text readable: black on a light background,
// white on a dark one.
struct TerminalPair {
    int fg = 0;
    int bg = 0;
};
TerminalPair TerminalPairOf(ColorDepth depth, const Palette& palette, uint8_t fg, uint8_t bg);

// The contrast of two colours, from 1 (none) to 21 (black on white), by relative luminance.
double ContrastRatio(Rgb a, Rgb b);

}  // namespace ui

}  // namespace tavoe
