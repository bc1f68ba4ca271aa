#pragma once

#include <string>

#include "ui/color_match.h"

namespace tavoe {

namespace ui {

class Screen;

struct ColorChooserResult {
    bool ok = false;
    int index = 0;    // the palette entry chosen last
    Palette palette;  // the palette with the user's changes
};

// The colour chooser over the 16-entry palette: a 4x4 grid of the entries (arrow keys or a click
// choose one) and its red, green and blue values (0..255), which may be edited; the screen shows
// edits at once. OK returns the palette; Cancel (or Escape, F3) restores the screen's palette.
ColorChooserResult RunColorChooser(Screen& screen, const Palette& palette, int index,
                                   const std::string& title = "Color");

}  // namespace ui

}  // namespace tavoe
