#include <gtest/gtest.h>

#include "ui/key_script.h"

using namespace tavoe;

using namespace ui;

namespace {

std::vector<Event> Parse(std::string_view text) {
    KeyScriptParser parser;
    std::vector<Event> events;
    std::string error;
    EXPECT_TRUE(parser.Parse(text, events, error)) << error;
    return events;
}

std::string Error(std::string_view text) {
    KeyScriptParser parser;
    std::vector<Event> events;
    std::string error;
    EXPECT_FALSE(parser.Parse(text, events, error));
    EXPECT_TRUE(events.empty());
    return error;
}

}  // namespace

TEST(KeyScript, TextAndEveryNamedKeyRoundTrip) {
    const char* names[] = {"<Enter>",  "<Tab>",  "<S-Tab>", "<BS>",    "<Del>",  "<Ins>",
                           "<Home>",   "<End>",  "<Up>",    "<Down>",  "<Left>", "<Right>",
                           "<PgUp>",   "<PgDn>", "<Esc>",   "<F1>",    "<F12>",  "<S-F3>",
                           "<C-PgDn>", "<C-x>",  "<A-x>",   "<RCtrl>", "<Lt>",   "<C-A-F9>"};
    for (const char* name : names) {
        std::vector<Event> events = Parse(name);
        ASSERT_EQ(events.size(), 1u) << name;
        EXPECT_EQ(KeyName(events[0].key), name);
    }
    std::vector<Event> typed = Parse("a b<Lt>");
    ASSERT_EQ(typed.size(), 4u);
    EXPECT_EQ(typed[1].key, CharKey(' '));
    EXPECT_EQ(typed[3].key, CharKey('<'));
}

TEST(KeyScript, NamesIgnoreCaseAndCtrlLettersAreLowerCase) {
    EXPECT_EQ(Parse("<enter>")[0].key, NamedKey(Key::Enter));
    EXPECT_EQ(Parse("<c-X>")[0].key, CharKey('x', kModCtrl));
    EXPECT_EQ(Parse("<S-c-f3>")[0].key, FunctionKey(3, kModShift | kModCtrl));
    EXPECT_EQ(FunctionKeyNumber(Parse("<S-C-F3>")[0].key), 15);
    EXPECT_EQ(Parse("<Space>")[0].key, CharKey(' '));
}

TEST(KeyScript, MousePositionsCountFromOne) {
    std::vector<Event> e =
        Parse("<Click:3,7><DblClick:1,1><RClick:10,20><S-Click:2,2><WheelUp><WheelDown:5,6>");
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0].mouse, (MouseEvent{MouseAction::Press, MouseButton::Left, 2, 6, 0}));
    EXPECT_EQ(e[1].mouse.action, MouseAction::DoubleClick);
    EXPECT_EQ(e[2].mouse.button, MouseButton::Right);
    EXPECT_EQ(e[3].mouse.mods, kModShift);
    // A wheel without a position turns where the mouse was last.
    EXPECT_EQ(e[4].mouse.row, 1);
    EXPECT_EQ(e[4].mouse.action, MouseAction::WheelUp);
    EXPECT_EQ(e[5].mouse.row, 4);
}

// A drag between two places is a press, a move and a release (Ctrl held throughout with C-); a
// wheel before any position was given has no place (-1), which the program takes as its edit view.
TEST(KeyScript, DragsAndWheelsWithoutPlace) {
    std::vector<Event> e = Parse("<WheelDown><C-Drag:2,3,4,9><WheelUp>");
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].mouse.action, MouseAction::WheelDown);
    EXPECT_EQ(e[0].mouse.row, -1);
    EXPECT_EQ(e[0].mouse.col, -1);
    EXPECT_EQ(e[1].mouse, (MouseEvent{MouseAction::Press, MouseButton::Left, 1, 2, kModCtrl}));
    EXPECT_EQ(e[2].mouse, (MouseEvent{MouseAction::Drag, MouseButton::Left, 3, 8, kModCtrl}));
    EXPECT_EQ(e[3].mouse, (MouseEvent{MouseAction::Release, MouseButton::Left, 3, 8, kModCtrl}));
    EXPECT_EQ(e[4].mouse.row, 3);  // where the drag let go
    EXPECT_EQ(Error("<Drag:1,1,0,4>"), "bad mouse position in <Drag:1,1,0,4>");
}

TEST(KeyScript, BadNamesAreReportedAndTypeNothing) {
    EXPECT_EQ(Error("ab<Foo>"), "unknown key name <Foo>");
    EXPECT_EQ(Error("<F13>"), "unknown key name <F13>");
    EXPECT_EQ(Error("<Enter"), "unclosed key name <Enter");
    EXPECT_EQ(Error("<Click:0,4>"), "bad mouse position in <Click:0,4>");
    EXPECT_EQ(Error("<Click>"), "mouse key needs a position, as <Click:ROW,COL>: <Click>");
    EXPECT_EQ(Error("<>"), "unknown key name <>");
    EXPECT_EQ(Error("<Enter:1,1>"), "unknown key name <Enter:1,1>");
}

TEST(KeyScript, Utf8TextBecomesDisplayBytes) {
    KeyScriptParser parser(DisplaySet::IbmPc);
    std::vector<Event> events;
    std::string error;
    ASSERT_TRUE(parser.Parse("\xc3\xa9", events, error));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].key, CharKey(0x82));
}
