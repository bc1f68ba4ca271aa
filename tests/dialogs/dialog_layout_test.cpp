#include "dialogs/dialog_layout.h"

#include <gtest/gtest.h>

#include "core/var_store.h"
#include "dialog_test_util.h"

using namespace tavoe;

namespace {

std::unique_ptr<DialogDefinition> Laid(AppSession& app, std::string_view objects,
                                       std::string_view name = "test", WindowFill fill = WindowFill::Natural,
                                       DialogScreen screen = {}) {
    auto def = ParseText(app, Dialog(objects), name);
    if (def) {
        LayoutDialog(*def, fill, screen);
    }
    return def;
}

LegacyPixelMetrics SampleWindow(BorderMode border) {
    LegacyPixelMetrics m;
    m.windowWidth = 800;
    m.windowHeight = 600;
    m.frameWidth = 4;
    m.frameHeight = 4;
    m.captionHeight = 20;
    m.cellWidth = 8;
    m.cellHeight = 16;
    m.border = border;
    return m;
}

}  // namespace

TEST(DialogUnits, InputPositionAndSize) {
    AppSession app;
    auto def = Laid(app, "OBJ { TYPE=INPUT ROW=2 COL=5 WIDTH=10 VAR=x }");
    ASSERT_NE(def, nullptr);
    const DialogObject& obj = def->objects[0];
    EXPECT_EQ(obj.x, 19);
    EXPECT_EQ(obj.y, 20);
    EXPECT_EQ(obj.cx, 40);
    EXPECT_EQ(obj.cy, 12);
    EXPECT_EQ(obj.cell, (CellRect{1, 5, 1, 10}));
}

TEST(DialogUnits, SingleInputDialogSize) {
    AppSession app;
    auto def = Laid(app, "OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=10 VAR=x }");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->width, 49);   // 3 + 40 - 1 + 7
    EXPECT_EQ(def->height, 23);  // 4 + 12 - 1 + 8
}

TEST(DialogUnits, CheckboxFromTextIs36UnitsWide) {
    AppSession app;
    auto def = Laid(app, "OBJ { TYPE=CHECKBOX ROW=1 COL=1 TEXT=Backup VAR=b }");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->objects[0].cx, 36);
    EXPECT_EQ(def->objects[0].cell.cols, 10);  // "[ ] " and the six letters of the label
}

TEST(DialogUnits, TextMovesDownAfterTheSizeIsTaken) {
    AppSession app;
    auto def =
        Laid(app, "OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=abcd }\nOBJ { TYPE=OUTPUT ROW=3 COL=2 WIDTH=2 VAR=o }");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->objects[0].y, 6);
    EXPECT_EQ(def->objects[1].y, 38);
    EXPECT_EQ(def->objects[1].x, 7);
    // The size uses the positions before the nudge: 36 + 12 - 1 + 8.
    EXPECT_EQ(def->height, 55);
    EXPECT_EQ(def->width, 3 + 16 - 1 + 7);
}

TEST(DialogUnits, ListAndComboHeights) {
    AppSession app;
    auto def = Laid(app,
                    "OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=10 DEPTH=5 VAR=l }\n"
                    "OBJ { TYPE=COMBO ROW=6 COL=1 WIDTH=10 VAR=c }\n"
                    "OBJ { TYPE=BUTTON ROW=7 COL=20 TEXT=Go DEPTH=2 }");
    ASSERT_NE(def, nullptr);
    const DialogObject& list = def->objects[0];
    const DialogObject& combo = def->objects[1];
    const DialogObject& button = def->objects[2];
    EXPECT_EQ(list.cy, 76);   // 16 x 5 - 4
    EXPECT_EQ(combo.cy, 96);  // 12 x 8: the field and its drop-down list
    EXPECT_EQ(button.cy, 24);
    EXPECT_EQ(button.y, 100);
    // Lowest: the button (100 + 24 - 1); the combo counts 12 only (84 + 12 - 1).
    EXPECT_EQ(def->height, 123 + 8);
    EXPECT_EQ(def->width, 4 * 19 + 3 + 8 - 1 + 7);
    EXPECT_EQ(list.cell, (CellRect{0, 1, 5, 10}));
    EXPECT_EQ(combo.cell, (CellRect{5, 1, 1, 10}));
    EXPECT_EQ(combo.dropRows, 8);
    EXPECT_EQ(button.cell, (CellRect{6, 20, 2, 4}));  // the two letters and the brackets
    EXPECT_EQ(def->tmpl.clientRows, 8);
    EXPECT_EQ(def->tmpl.clientCols, 25);
}

TEST(DialogUnits, SeparatorSpansTheFinalWidth) {
    AppSession app;
    auto def = Laid(app,
                    "OBJ { TYPE=INPUT ROW=1 COL=3 WIDTH=20 VAR=x }\n"
                    "OBJ { TYPE=SEPARATOR ROW=2 }\n"
                    "OBJ { TYPE=BUTTON ROW=3 COL=1 TEXT=Ok }");
    ASSERT_NE(def, nullptr);
    const DialogObject& sep = def->objects[1];
    EXPECT_EQ(def->width, 11 + 80 - 1 + 7);
    EXPECT_EQ(sep.x, 0);
    EXPECT_EQ(sep.cx, def->width);
    EXPECT_EQ(sep.y, 20);
    EXPECT_EQ(sep.cy, 12);
    EXPECT_EQ(sep.controlId, 33);
    EXPECT_EQ(def->tmpl.clientCols, 24);
    EXPECT_EQ(sep.cell, (CellRect{1, 0, 1, 24}));
}

TEST(DialogUnits, PixelConversionRounds) {
    EXPECT_EQ(PixelsToUnitsX(8, 8), 4);
    EXPECT_EQ(PixelsToUnitsX(3, 8), 2);  // (12 + 4) / 8
    EXPECT_EQ(PixelsToUnitsY(16, 16), 8);
    EXPECT_EQ(PixelsToUnitsY(1, 16), 1);  // (8 + 8) / 16
    EXPECT_EQ(PixelsToUnitsX(5, 0), 0);
}

TEST(DialogLegacy, FillsTheSessionWindowInUnits) {
    UnitSize normal = LegacyMinimumUnits(SampleWindow(BorderMode::Normal));
    EXPECT_EQ(normal.width, (4 * 785 + 4) / 8);
    EXPECT_EQ(normal.height, (8 * 546 + 8) / 16);
    UnitSize alternate = LegacyMinimumUnits(SampleWindow(BorderMode::Alternate));
    EXPECT_EQ(alternate.width, (4 * 787 + 4) / 8);
    EXPECT_EQ(alternate.height, (8 * 543 + 8) / 16);
}

TEST(DialogLegacy, DialogGrowsToScreenButNeverShrinks) {
    AppSession app;
    DialogScreen screen;
    screen.rows = 24;
    screen.cols = 80;
    screen.pixels = SampleWindow(BorderMode::Normal);
    auto def = Laid(app, "OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=10 VAR=x }\nOBJ { TYPE=SEPARATOR ROW=2 }",
                    "test", WindowFill::SessionWindow, screen);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->width, 393);
    EXPECT_EQ(def->height, 273);
    EXPECT_EQ(def->objects[1].cx, 393);
    EXPECT_EQ(def->tmpl.clientRows, 22);
    EXPECT_EQ(def->tmpl.clientCols, 78);
    EXPECT_EQ(def->objects[1].cell.cols, 78);

    screen.rows = 3;
    screen.cols = 10;
    screen.pixels.reset();
    auto wide =
        Laid(app, "OBJ { TYPE=INPUT ROW=4 COL=1 WIDTH=30 VAR=x }", "test", WindowFill::SessionWindow, screen);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->width, 3 + 120 - 1 + 7);  // no pixels: the units stay natural
    EXPECT_EQ(wide->tmpl.clientRows, 4);
    EXPECT_EQ(wide->tmpl.clientCols, 32);
}

TEST(DialogTemplateBuild, FontFromVariables) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=3 VAR=x }"));
    ASSERT_NE(def, nullptr);
    BuildDialogTemplate(app, *def, DialogScreen{});
    EXPECT_TRUE(def->tmpl.built);
    EXPECT_EQ(def->tmpl.fontFace, "Courier");
    EXPECT_EQ(def->tmpl.fontPoints, 10);
    EXPECT_TRUE(def->tmpl.namesFont);

    VarSetValue(app, "ZFONT.DIALOG", "Lucida Console,5,400,0");
    BuildDialogTemplate(app, *def, DialogScreen{});
    EXPECT_EQ(def->tmpl.fontFace, "Lucida Console");
    EXPECT_EQ(def->tmpl.fontPoints, 5);
    EXPECT_FALSE(def->tmpl.namesFont);

    VarSetValue(app, "ZFONT.EDIT", "Fixed,12,700,1");
    auto keyboard = ParseText(app, Dialog("OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=3 VAR=x }"), "xkeybrd");
    ASSERT_NE(keyboard, nullptr);
    BuildDialogTemplate(app, *keyboard, DialogScreen{});
    EXPECT_EQ(keyboard->tmpl.fontFace, "Fixed");
    EXPECT_EQ(keyboard->tmpl.fontPoints, 12);
    EXPECT_TRUE(keyboard->tmpl.namesFont);
}

TEST(DialogTemplateBuild, MulticolVariableIsReadWhenBuilt) {
    AppSession app;
    auto def =
        ParseText(app, Dialog("OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=9 VAR=a MULTICOL=ZMULTI COLWIDTH=3 }\n"
                              "OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=9 VAR=b MULTICOL=YES COLWIDTH=3 }\n"
                              "OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=9 VAR=c }"));
    ASSERT_NE(def, nullptr);
    BuildDialogTemplate(app, *def, DialogScreen{});
    EXPECT_FALSE(def->objects[0].multicolumnOn);
    EXPECT_TRUE(def->objects[1].multicolumnOn);
    EXPECT_FALSE(def->objects[2].multicolumnOn);
    VarSetValue(app, "ZMULTI", "TRUE");
    BuildDialogTemplate(app, *def, DialogScreen{});
    EXPECT_TRUE(def->objects[0].multicolumnOn);
}

TEST(DialogTemplateBuild, LegacyStyleFillsTheScreen) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=3 VAR=x }"));
    ASSERT_NE(def, nullptr);
    DialogScreen screen;
    screen.rows = 30;
    screen.cols = 100;
    BuildDialogTemplate(app, *def, screen);
    EXPECT_EQ(def->tmpl.clientCols, 5);
    EXPECT_EQ(def->tmpl.clientRows, 1);
    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    BuildDialogTemplate(app, *def, screen);
    EXPECT_EQ(def->tmpl.clientCols, 98);
    EXPECT_EQ(def->tmpl.clientRows, 28);
}
