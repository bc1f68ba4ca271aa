#include "shell/window_layout.h"

#include <algorithm>

#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/keys.h"
#include "shell/edit_session.h"
#include "shell/main_window.h"
#include "ui/screen.h"

namespace tavoe {

EditWindowLayout ComputeEditWindowLayout(const LayoutInputs& in) {
    EditWindowLayout layout;
    int rows = std::max(in.rows, 0);
    int cols = std::max(in.cols, 0);
    int top = 0;
    int bottom = rows;  // first row below the free area
    auto takeTop = [&](int count) {
        ui::Rect r{top, 0, 0, cols};
        int n = std::clamp(count, 0, std::max(bottom - top, 0));
        r.rows = n;
        top += n;
        return r;
    };
    auto takeBottom = [&](int count) {
        int n = std::clamp(count, 0, std::max(bottom - top, 0));
        bottom -= n;
        return ui::Rect{bottom, 0, n, cols};
    };
    layout.caption = takeTop(1);
    layout.menuBar = takeTop(1);
    layout.statusLine = takeBottom(1);
    layout.messageLine = takeBottom(1);
    if (in.toolbar) {
        layout.toolbar = takeTop(1);
    }
    int clientTop = top;
    layout.fieldBar = takeTop(1);
    if (!layout.fieldBar.Empty()) {
        const char* label = " Command ";
        int labelCols = std::min(cols, static_cast<int>(std::char_traits<char>::length(label)));
        layout.commandLabel = ui::Rect{layout.fieldBar.row, 0, 1, labelCols};
        int colsWidth = cols - labelCols >= kColsFieldWidth + 10 ? kColsFieldWidth : 0;
        int fieldCols = std::max(cols - labelCols - colsWidth - (colsWidth > 0 ? 1 : 0), 0);
        layout.commandField = ui::Rect{layout.fieldBar.row, labelCols, 1, fieldCols};
        if (colsWidth > 0) {
            layout.colsField = ui::Rect{layout.fieldBar.row, cols - colsWidth, 1, colsWidth};
        }
    }
    if (in.keyBarRows > 0) {
        layout.keyBar = takeBottom(in.keyBarRows);
    }
    if (in.horizontalBar) {
        layout.horizontalBar = takeBottom(1);
    }
    if (in.hex) {
        layout.hexPane = takeBottom(2);
    }
    if (in.ruler) {
        layout.ruler = takeTop(1);
    }
    layout.client = ui::Rect{clientTop, 0, std::max(layout.messageLine.row - clientTop, 0), cols};
    int dataRows = std::max(bottom - top, 0);
    int dataCols = cols;
    if (in.verticalBar && dataCols > 1) {
        layout.verticalBar = ui::Rect{top, cols - 1, dataRows, 1};
        dataCols -= 1;
    }
    if (dataRows > 0 && dataCols > 0) {
        layout.data = ui::Rect{top, 0, dataRows, dataCols};
        layout.dataRows = dataRows;
        layout.dataCols = dataCols;
    } else {
        layout.verticalBar = ui::Rect{};
    }
    if (!layout.horizontalBar.Empty()) {
        layout.horizontalBar.cols = dataCols;
    }
    return layout;
}

const EditWindowLayout& LayoutEditWindow(AppSession& app) {
    MainWindow* window = app.mainWindow;
    static const EditWindowLayout kNone{};
    if (window == nullptr) {
        return kNone;
    }
    LayoutInputs in;
    if (app.screen != nullptr) {
        in.rows = app.screen->GetCanvas().Rows();
        in.cols = app.screen->GetCanvas().Cols();
    }
    in.toolbar = VarGetValue(app, "ZTOOLBAR") == "TRUE";
    // The scroll bars, the ruler, the hexadecimal pane and the function key bar belong to the edit
    // window: they are there only while an edit session is shown.
    if (ShownClientView(app) == ClientView::Edit) {
        if (EditSession* session = CurrentEditSession(app)) {
            in.ruler = session->view.rulerOn;
            in.hex = session->view.hexOn;
        }
        in.horizontalBar = VarGetValue(app, "ZSCROLL.HORIZ.BAR") == "TRUE";
        in.verticalBar = VarGetValue(app, "ZSCROLL.VERT.BAR") == "TRUE";
        in.keyBarRows = FunctionKeyBarRows(app);
    }
    window->layout = ComputeEditWindowLayout(in);
    if (window->layout.messageLine.cols > 0) {
        app.messageCapacity = window->layout.messageLine.cols;
    }
    return window->layout;
}

const EditWindowLayout& CurrentLayout(const AppSession& app) {
    static const EditWindowLayout kNone{};
    return app.mainWindow != nullptr ? app.mainWindow->layout : kNone;
}

}  // namespace tavoe
