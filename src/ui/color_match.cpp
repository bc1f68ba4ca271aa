#include "ui/color_match.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tavoe {

namespace ui {
namespace {

constexpr uint32_t kDefaultValues[16] = {0,     8421504, 12632256, 16777215, 32768,    32896,
                                         65280, 65535,   8388608,  8421440,  16711680, 16776960,
                                         128,   8388736, 255,      16711935};

constexpr Rgb kVga16[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                            {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                            {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

constexpr uint8_t kCubeLevels[6] = {0, 95, 135, 175, 215, 255};

// Squared distance weighted for the eye's sensitivity (green most, blue least).
int Distance(Rgb a, Rgb b) {
    int dr = a.r - b.r;
    int dg = a.g - b.g;
    int db = a.b - b.b;
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

Palette DefaultPalette() {
    Palette palette;
    for (int i = 0; i < 16; ++i) {
        palette[i] = RgbFromColorValue(kDefaultValues[i]);
    }
    return palette;
}

Rgb RgbFromColorValue(uint32_t value) {
    return Rgb{static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>((value >> 8) & 0xFF),
               static_cast<uint8_t>((value >> 16) & 0xFF)};
}

uint32_t ColorValueFromRgb(Rgb rgb) {
    return static_cast<uint32_t>(rgb.r) | (static_cast<uint32_t>(rgb.g) << 8) |
           (static_cast<uint32_t>(rgb.b) << 16);
}

Rgb Xterm256Rgb(int index) {
    if (index < 0 || index > 255) {
        return Rgb{};
    }
    if (index < 16) {
        return kVga16[index];
    }
    if (index < 232) {
        int i = index - 16;
        return Rgb{kCubeLevels[i / 36], kCubeLevels[(i / 6) % 6], kCubeLevels[i % 6]};
    }
    uint8_t level = static_cast<uint8_t>(8 + 10 * (index - 232));
    return Rgb{level, level, level};
}

int NearestXterm256(Rgb rgb) {
    int best = 16;
    int bestDistance = INT_MAX;
    for (int i = 16; i < 256; ++i) {
        int d = Distance(rgb, Xterm256Rgb(i));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int NearestAnsi8(Rgb rgb) {
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < 8; ++i) {
        int d = Distance(rgb, kVga16[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int TerminalColorOf(ColorDepth depth, Rgb rgb) {
    switch (depth) {
        case ColorDepth::TrueColor:
            return (rgb.r << 16) | (rgb.g << 8) | rgb.b;
        case ColorDepth::Indexed256:
            return NearestXterm256(rgb);
        case ColorDepth::Basic8:
            break;
    }
    return NearestAnsi8(rgb);
}

Rgb TerminalRgbOf(ColorDepth depth, int color) {
    if (depth == ColorDepth::TrueColor) {
        return Rgb{static_cast<uint8_t>((color >> 16) & 0xFF), static_cast<uint8_t>((color >> 8) & 0xFF),
                   static_cast<uint8_t>(color & 0xFF)};
    }
    return Xterm256Rgb(color);
}

TerminalPair TerminalPairOf(ColorDepth depth, const Palette& palette, uint8_t fg, uint8_t bg) {
    const Rgb& fore = palette[fg & 15];
    const Rgb& back = palette[bg & 15];
    TerminalPair pair{TerminalColorOf(depth, fore), TerminalColorOf(depth, back)};
    if (pair.fg == pair.bg && !(fore == back)) {
        bool lightBg = 3 * back.r + 4 * back.g + 2 * back.b > 9 * 128;
        pair.fg = depth == ColorDepth::TrueColor    ? (lightBg ? 0 : 0xFFFFFF)
                  : depth == ColorDepth::Indexed256 ? (lightBg ? 16 : 231)
                                                    : (lightBg ? 0 : 7);
    }
    return pair;
}

namespace {

double Luminance(Rgb rgb) {
    auto channel = [](uint8_t value) {
        double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(rgb.r) + 0.7152 * channel(rgb.g) + 0.0722 * channel(rgb.b);
}

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
    double la = Luminance(a);
    double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace ui

}  // namespace tavoe
