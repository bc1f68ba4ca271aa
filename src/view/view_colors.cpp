#include "view/view_colors.h"

#include <array>

#include "core/app_session.h"
#include "profiles/colorizer.h"

namespace tavoe {

namespace {

// The defaults of ZCOLOR.EDIT .. ZCOLOR.OTHER.
constexpr std::array<ui::ColorPair, kColorElementCount> kDefaultElementColors{{
    {0, 3},   // Edit
    {0, 3},   // Browse
    {3, 0},   // Select
    {0, 14},  // Find
    {3, 2},   // Numbers
    {0, 2},   // Lcmds
    {7, 10},  // Other
}};

}  // namespace

ui::ColorPair ElementColors(const AppSession& app, ColorElement element) {
    size_t index = static_cast<size_t>(element);
    const tavoe::ColorPair& pair = app.profileSettings.colors[index];
    if (pair.foreground == pair.background) {
        return kDefaultElementColors[index];
    }
    return ui::ColorPair{static_cast<uint8_t>(pair.foreground & 15),
                         static_cast<uint8_t>(pair.background & 15)};
}

std::uint8_t ElementColorByte(const AppSession& app, ColorElement element) {
    ui::ColorPair pair = ElementColors(app, element);
    return ColorAttribute(pair.fg, pair.bg);
}

}  // namespace tavoe
