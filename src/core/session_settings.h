#pragma once

#include <array>
#include <cstdint>

namespace tavoe {

// The screen and behaviour settings an instance takes from its variables once the main profile is
// loaded: the palette, the seven colour elements and the on/off options read at start-up. The view,
// the key handler and the undo journal read them; the main profile reads and writes them.

inline constexpr int kPaletteSize = 16;

// The seven colour elements, in the order of their variables ZCOLOR.EDIT .. ZCOLOR.OTHER.
enum class ColorElement : int { Edit = 0, Browse, Select, Find, Numbers, Lcmds, Other };
inline constexpr int kColorElementCount = 7;

struct ColorPair {
    int foreground = 0;  // palette index 0..15
    int background = 0;
};

struct ProfileSessionSettings {
    // Colours as 24-bit values with red in the low byte, green in the middle and blue in the high byte.
    std::array<uint32_t, kPaletteSize> palette{};
    std::array<ColorPair, kColorElementCount> colors{};
    bool sessionCooperation = true;  // ZSESSIONCOOPERATION
    bool insertMode = true;          // ZINSERT
    bool rightCtrlIsEnter = false;   // ZRIGHTCTRL
    bool undoEnabled = true;         // ZUNDO
};

}  // namespace tavoe
