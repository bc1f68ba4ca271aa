// Every colour pair the program ships reads on every kind of terminal: the default screen pairs
// (ZCOLOR.*), the dialog and menu theme, and the pairs of each shipped colorization profile, each
// shown as a terminal of that depth shows it (nearest colours, and the rule for pairs that fall
// together). Text needs a contrast of 3 where the terminal has 256 colours or more; the 8 basic
// colours cannot give that to green, cyan or yellow on white, so there it needs 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "profiles/profile_defaults.h"
#include "ui/color_match.h"
#include "ui/theme.h"

namespace tavoe {
namespace {

using ui::ColorDepth;

double ShownContrast(ColorDepth depth, int fg, int bg) {
    ui::TerminalPair shown =
        ui::TerminalPairOf(depth, ui::DefaultPalette(), static_cast<uint8_t>(fg), static_cast<uint8_t>(bg));
    return ui::ContrastRatio(ui::TerminalRgbOf(depth, shown.fg), ui::TerminalRgbOf(depth, shown.bg));
}

void ExpectReadable(const std::string& what, int fg, int bg, double least = 3.0, double leastOn8 = 2.0) {
    for (ColorDepth depth : {ColorDepth::TrueColor, ColorDepth::Indexed256, ColorDepth::Basic8}) {
        double need = depth == ColorDepth::Basic8 ? leastOn8 : least;
        EXPECT_GE(ShownContrast(depth, fg, bg), need)
            << what << " (" << fg << "," << bg << ") at depth " << static_cast<int>(depth);
    }
}

TEST(ShippedColors, ScreenPairsRead) {
    for (const char* name : {"ZCOLOR.EDIT", "ZCOLOR.BROWSE", "ZCOLOR.SELECT", "ZCOLOR.FIND", "ZCOLOR.NUMBERS",
                             "ZCOLOR.LCMDS", "ZCOLOR.OTHER"}) {
        std::string value(BuiltInDefault(name));
        int fg = -1;
        int bg = -1;
        char comma = 0;
        std::istringstream in(value);
        ASSERT_TRUE(in >> fg >> comma >> bg) << name << "=" << value;
        ExpectReadable(name, fg, bg);
    }
}

TEST(ShippedColors, ThemePairsRead) {
    ui::Theme theme;
    const std::pair<const char*, ui::ColorPair> text[] = {
        {"dialog", theme.dialog},     {"title", theme.title},
        {"input", theme.input},       {"inputMarked", theme.inputMarked},
        {"list", theme.list},         {"listSelected", theme.listSelected},
        {"button", theme.button},     {"buttonFocused", theme.buttonFocused},
        {"menu", theme.menu},         {"menuSelected", theme.menuSelected},
        {"progress", theme.progress},
    };
    for (const auto& [name, pair] : text) {
        ExpectReadable(name, pair.fg, pair.bg);
    }
    // Disabled text reads dimmer on purpose, but must still be seen.
    ExpectReadable("disabled", theme.disabled.fg, theme.disabled.bg, 2.0, 2.0);
}

TEST(ShippedColors, ColorizationPairsRead) {
    const std::regex pairLine(R"(^\s*(COLOR_\w+)\s+(\d+),(\d+))");
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVOE_SOURCE_DIR "/data/profiles")) {
        if (entry.path().extension() != ".clr") {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            std::smatch m;
            if (!std::regex_search(line, m, pairLine)) {
                continue;
            }
            int fg = std::stoi(m[2]);
            int bg = std::stoi(m[3]);
            if (fg == bg) {
                continue;  // the same colour twice leaves that kind of text uncoloured
            }
            ExpectReadable(entry.path().filename().string() + " " + m[1].str(), fg, bg);
            ++checked;
        }
    }
    EXPECT_GT(checked, 20);
}

}  // namespace
}  // namespace tavoe
