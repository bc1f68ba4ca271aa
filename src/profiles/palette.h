#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "profiles/colorizer.h"
#include "profiles/main_profile_settings.h"

namespace tavoe {

// The 16-colour palette (ZCOLOR.0 .. ZCOLOR.15, each a 24-bit value with red in the low byte) and
// the colour pairs that the colorization and screen-colour dialogs take from their fields.

struct AppSession;

using PaletteValues = std::array<std::uint32_t, kPaletteSize>;

// Checks a pair typed as two texts for the item named in the messages ("Literal", "Wordset 3",
// "EDIT", ...): each a number 0..15 and the two different. 0 with the pair in `out`; -1 after
// "'%s' foreground color must be between 0 and 15.", "'%s' background color must be between 0 and
// 15." or "'%s' foreground color must different than background color." (box, exclamation beep).
int CheckColorPair(AppSession& app, std::string_view item, std::string_view foreground,
                   std::string_view background, ColorIndexPair& out);

// Stores the palette into ZCOLOR.0 .. ZCOLOR.15. Two equal colours are refused with "Duplicate color
// in palette." (box, exclamation beep) and nothing is stored: -1.
int StorePalette(AppSession& app, const PaletteValues& palette);

// The palette as the variables hold it now (entries that are not 24-bit numbers take their defaults).
PaletteValues CurrentPalette(AppSession& app);

}  // namespace tavoe
