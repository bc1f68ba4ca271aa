#pragma once

#include <cstdint>

#include "profiles/main_profile_settings.h"
#include "ui/cell.h"

namespace tavoe {

// The colours of the edit view: the seven colour elements of the instance and the colour bytes of
// the lines, both as pairs of palette indexes.

struct AppSession;

// The element's pair from the instance's settings. A pair whose foreground equals its background
// (settings not read yet, or a choice that would hide the text) takes the element's built-in
// default, so the view never paints unreadable text.
ui::ColorPair ElementColors(const AppSession& app, ColorElement element);

// The element's pair as a colour byte, as the lines store it.
std::uint8_t ElementColorByte(const AppSession& app, ColorElement element);

// A colour byte: the high 4 bits index the foreground, the low 4 bits the background.
inline ui::ColorPair ColorByteColors(uint8_t byte) {
    return ui::ColorPair{static_cast<uint8_t>(byte >> 4), static_cast<uint8_t>(byte & 15)};
}

}  // namespace tavoe
