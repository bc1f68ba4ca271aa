#pragma once

#include "ui/canvas.h"

namespace tavoe {

// Where the parts of the main window lie on the screen, top to bottom:
//   caption (the window title), menu bar, toolbar (ZTOOLBAR), field bar ("Command" label, primary
//   command field, COLS field), ruler (RULER), data window with the vertical scroll bar on its right
//   (ZSCROLL.VERT.BAR), hexadecimal pane (HEX, two rows), horizontal scroll bar (ZSCROLL.HORIZ.BAR),
//   function key bar (ZPFSHOW, one row per group shown), message line, status line.
// The data window takes whatever rows and columns the others leave.

struct AppSession;

struct LayoutInputs {
    int rows = 24;
    int cols = 80;
    bool toolbar = false;
    bool ruler = false;
    bool hex = false;
    bool horizontalBar = false;
    bool verticalBar = false;
    int keyBarRows = 0;
};

struct EditWindowLayout {
    ui::Rect caption;
    ui::Rect menuBar;
    ui::Rect toolbar;
    ui::Rect fieldBar;
    ui::Rect commandLabel;  // "Command" in the field bar
    ui::Rect commandField;  // the primary command field
    ui::Rect colsField;     // the COLS field at the right of the field bar
    ui::Rect ruler;
    ui::Rect data;  // the data window: prefix area and data area
    ui::Rect verticalBar;
    ui::Rect hexPane;
    ui::Rect horizontalBar;
    ui::Rect keyBar;
    ui::Rect messageLine;
    ui::Rect statusLine;
    ui::Rect client;   // everything between the menu bar (or toolbar) and the message line
    int dataRows = 0;  // 0 and 0 when the screen leaves no room: nothing is laid out there
    int dataCols = 0;
};

inline constexpr int kColsFieldWidth = 16;  // wide enough for "COLS 00001 00072"

// The layout for a screen size and the parts that are on.
EditWindowLayout ComputeEditWindowLayout(const LayoutInputs& inputs);

// Lays the main window out from the instance's settings (ZTOOLBAR, ZSCROLL.HORIZ.BAR,
// ZSCROLL.VERT.BAR, ZPFSHOW and the function key bar's groups) and the current edit session's RULER
// and HEX states, for the screen's size. The message line's width becomes the capacity of the message
// line. Stored in the main window; returns it.
const EditWindowLayout& LayoutEditWindow(AppSession& app);

// The layout last made (an empty one before the first).
const EditWindowLayout& CurrentLayout(const AppSession& app);

}  // namespace tavoe
