#include "profiles/palette.h"

#include <string>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "platform/format.h"

namespace tavoe {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    std::size_t start = s.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    return s.substr(start, s.find_last_not_of(' ') - start + 1);
}

// A palette index: one or two decimal digits, 0..15.
bool ParseIndex(std::string_view text, int& out) {
    text = TrimBlanks(text);
    if (text.empty() || text.size() > 2) {
        return false;
    }
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        n = n * 10 + (c - '0');
    }
    if (n > kColorIndexMax) {
        return false;
    }
    out = n;
    return true;
}

}  // namespace

int CheckColorPair(AppSession& app, std::string_view item, std::string_view foreground,
                   std::string_view background, ColorIndexPair& out) {
    std::string name(item);
    ColorIndexPair pair;
    if (!ParseIndex(foreground, pair.foreground)) {
        ShowMessage(app, Format("'%s' foreground color must be between 0 and 15.", name.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    if (!ParseIndex(background, pair.background)) {
        ShowMessage(app, Format("'%s' background color must be between 0 and 15.", name.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    if (!pair.Visible()) {
        ShowMessage(app, Format("'%s' foreground color must different than background color.", name.c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    out = pair;
    return 0;
}

int StorePalette(AppSession& app, const PaletteValues& palette) {
    for (int i = 0; i < kPaletteSize; ++i) {
        for (int j = i + 1; j < kPaletteSize; ++j) {
            if (palette[static_cast<std::size_t>(i)] == palette[static_cast<std::size_t>(j)]) {
                ShowMessage(app, "Duplicate color in palette.", MsgTo::Box, Beep::Exclamation);
                return -1;
            }
        }
    }
    for (int i = 0; i < kPaletteSize; ++i) {
        VarSetValue(app, Format("ZCOLOR.%d", i),
                    Format("%u", static_cast<unsigned>(palette[static_cast<std::size_t>(i)] & 0xFFFFFFu)));
    }
    return 0;
}

PaletteValues CurrentPalette(AppSession& app) {
    return ReadSessionSettings(app).palette;
}

}  // namespace tavoe
