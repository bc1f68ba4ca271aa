#include "profiles/main_profile_settings.h"

#include <string>
#include <string_view>

#include "core/var_store.h"
#include "platform/format.h"
#include "profiles/profile_defaults.h"

namespace tavoe {

namespace {

constexpr const char* kElementVariables[kColorElementCount] = {
    "ZCOLOR.EDIT",    "ZCOLOR.BROWSE", "ZCOLOR.SELECT", "ZCOLOR.FIND",
    "ZCOLOR.NUMBERS", "ZCOLOR.LCMDS",  "ZCOLOR.OTHER",
};

// Whole decimal text only, at most maxValue.
bool ParseNumber(std::string_view text, unsigned long maxValue, unsigned long& out) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    unsigned long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        n = n * 10 + static_cast<unsigned long>(c - '0');
    }
    if (n > maxValue) {
        return false;
    }
    out = n;
    return true;
}

std::string_view TrimBlanks(std::string_view s) {
    size_t start = s.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    return s.substr(start, s.find_last_not_of(' ') - start + 1);
}

// "foreground,background", each a palette index.
bool ParseColorPair(std::string_view text, ColorPair& pair) {
    size_t comma = text.find(',');
    unsigned long fg = 0;
    unsigned long bg = 0;
    if (comma == std::string_view::npos ||
        !ParseNumber(TrimBlanks(text.substr(0, comma)), kPaletteSize - 1, fg) ||
        !ParseNumber(TrimBlanks(text.substr(comma + 1)), kPaletteSize - 1, bg)) {
        return false;
    }
    pair = {static_cast<int>(fg), static_cast<int>(bg)};
    return true;
}

}  // namespace

const char* ColorElementVariable(ColorElement element) {
    return kElementVariables[static_cast<int>(element)];
}

ProfileSessionSettings ReadSessionSettings(AppSession& app) {
    ProfileSessionSettings settings;
    for (int i = 0; i < kPaletteSize; ++i) {
        std::string name = Format("ZCOLOR.%d", i);
        unsigned long rgb = 0;
        if (!ParseNumber(VarGetValue(app, name), 0xFFFFFF, rgb)) {
            ParseNumber(BuiltInDefault(name), 0xFFFFFF, rgb);
        }
        settings.palette[i] = static_cast<uint32_t>(rgb);
    }
    for (int i = 0; i < kColorElementCount; ++i) {
        ColorPair pair;
        if (!ParseColorPair(VarGetValue(app, kElementVariables[i]), pair)) {
            ParseColorPair(BuiltInDefault(kElementVariables[i]), pair);
        }
        settings.colors[i] = pair;
    }
    settings.sessionCooperation = VarIsTrue(app, "ZSESSIONCOOPERATION");
    settings.insertMode = VarIsTrue(app, "ZINSERT");
    settings.rightCtrlIsEnter = VarIsTrue(app, "ZRIGHTCTRL");
    settings.undoEnabled = VarIsTrue(app, "ZUNDO");
    return settings;
}

}  // namespace tavoe
