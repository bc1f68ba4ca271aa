#include "shell/window_layout.h"

#include <gtest/gtest.h>

#include "shell/window_position.h"

using namespace tavoe;

namespace {

TEST(EditWindowLayout, EveryPartOnTakesItsRowsFromTheDataWindow) {
    LayoutInputs in;
    in.rows = 30;
    in.cols = 100;
    EditWindowLayout bare = ComputeEditWindowLayout(in);
    // Caption, menu bar, field bar, message line and status line stand around the data window.
    EXPECT_EQ(bare.caption.row, 0);
    EXPECT_EQ(bare.menuBar.row, 1);
    EXPECT_EQ(bare.fieldBar.row, 2);
    EXPECT_EQ(bare.data.row, 3);
    EXPECT_EQ(bare.dataRows, 30 - 5);
    EXPECT_EQ(bare.dataCols, 100);
    EXPECT_EQ(bare.messageLine.row, 28);
    EXPECT_EQ(bare.statusLine.row, 29);
    EXPECT_EQ(bare.colsField.cols, kColsFieldWidth);
    EXPECT_EQ(bare.colsField.col + bare.colsField.cols, 100);

    in.toolbar = true;
    in.ruler = true;
    in.hex = true;
    in.horizontalBar = true;
    in.verticalBar = true;
    in.keyBarRows = 2;
    EditWindowLayout full = ComputeEditWindowLayout(in);
    EXPECT_EQ(full.toolbar.row, 2);
    EXPECT_EQ(full.fieldBar.row, 3);
    EXPECT_EQ(full.ruler.row, 4);
    EXPECT_EQ(full.data.row, 5);
    EXPECT_EQ(full.dataRows, 30 - 5 - 1 - 1 - 2 - 1 - 2);
    EXPECT_EQ(full.dataCols, 99);
    EXPECT_EQ(full.verticalBar.col, 99);
    EXPECT_EQ(full.verticalBar.rows, full.dataRows);
    EXPECT_EQ(full.hexPane.row, full.data.row + full.dataRows);
    EXPECT_EQ(full.hexPane.rows, 2);
    EXPECT_EQ(full.horizontalBar.row, full.hexPane.row + 2);
    EXPECT_EQ(full.keyBar.row, full.horizontalBar.row + 1);
    EXPECT_EQ(full.keyBar.rows, 2);
    EXPECT_EQ(full.messageLine.row, full.keyBar.row + 2);
}

TEST(EditWindowLayout, AScreenWithoutRoomLaysOutNoDataWindow) {
    LayoutInputs in;
    in.rows = 5;
    in.cols = 40;
    in.toolbar = true;
    in.keyBarRows = 1;
    EditWindowLayout layout = ComputeEditWindowLayout(in);
    EXPECT_EQ(layout.dataRows, 0);
    EXPECT_EQ(layout.dataCols, 0);
    EXPECT_TRUE(layout.data.Empty());
    EXPECT_TRUE(layout.verticalBar.Empty());
    in.rows = 0;
    in.cols = 0;
    layout = ComputeEditWindowLayout(in);
    EXPECT_TRUE(layout.caption.Empty());
    EXPECT_TRUE(layout.data.Empty());
}

TEST(WindowPosition, FileLinesSetTheFieldsAndOnlyTrueMaximizes) {
    WindowPosition defaults = DefaultWindowPosition(1000, 800);
    EXPECT_EQ(defaults, (WindowPosition{180, 160, 640, 480, false}));
    WindowPosition read =
        ParseWindowPosition("X_POS=10\nY_POS=20\nX_EXTENT=300\nY_EXTENT=200\nMAXIMIZED=FALSE", defaults);
    EXPECT_EQ(read, (WindowPosition{10, 20, 300, 200, false}));
    EXPECT_TRUE(ParseWindowPosition("MAXIMIZED=TRUE", defaults).maximized);
    EXPECT_FALSE(ParseWindowPosition("MAXIMIZED=YES", defaults).maximized);
    EXPECT_FALSE(ParseWindowPosition("MAXIMIZED=", defaults).maximized);
    // Unknown lines and overlong ones are passed over.
    std::string junk = "COLOR=7\r\nX_POS=" + std::string(300, '9') + "\nY_POS=5\r\n";
    WindowPosition mixed = ParseWindowPosition(junk, defaults);
    EXPECT_EQ(mixed.x, defaults.x);
    EXPECT_EQ(mixed.y, 5);
}

TEST(WindowPosition, FittingCutsTheSizeAndMovesTheWindowBack) {
    WindowPosition wide{50, 40, 2000, 300, false};
    WindowPosition fitted = FitWindowPosition(wide, 1024, 768);
    EXPECT_EQ(fitted.width, 1024);
    EXPECT_EQ(fitted.x, 0);
    EXPECT_EQ(fitted.y, 40);
    WindowPosition low{100, 700, 400, 300, false};
    fitted = FitWindowPosition(low, 1024, 768);
    EXPECT_EQ(fitted.y, 468);
    EXPECT_EQ(fitted.x, 100);
}

}  // namespace
