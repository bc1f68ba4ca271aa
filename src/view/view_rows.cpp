#include "view/view_rows.h"

#include <algorithm>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/shell_port.h"
#include "editing/edit_session.h"

namespace tavoe {

namespace {

constexpr int kFallbackColumns = 80;

bool InWindow(const EditViewState& view) {
    return view.focus == KeyField::Data || view.focus == KeyField::Prefix;
}

}  // namespace

ViewGeometry ViewGeometryOf(AppSession& app, const EditSession& session) {
    DataWindowSize window = Shell(app).CurrentDataWindow(app);
    if (window.rows > 0 && window.columns > 0) {
        return ViewGeometry{window.rows, window.columns};
    }
    const EditViewState& view = session.view;
    if (view.dataRows > 0 && view.dataColumns > 0) {
        return ViewGeometry{view.dataRows, view.dataColumns};
    }
    int rows = std::max(static_cast<int>(session.view.rowTable.size()), 1);
    return ViewGeometry{rows, kFallbackColumns};
}

int DataColumns(const EditSession& session, const ViewGeometry& geometry) {
    return std::max(geometry.columns - std::clamp(session.view.prefixWidth, 0, geometry.columns), 1);
}

LineRecord* NextShownLine(EditBuffer& buffer, LineRecord* line, MoreLines more) {
    if (line == nullptr) {
        return nullptr;
    }
    for (;;) {
        LineRecord* next = LineNext(line);
        // At the end of what is in memory a virtual load reads on, batch by batch, until a line
        // follows or the file is complete (LoadBatch then stops answering 1).
        while (next == nullptr && more == MoreLines::Load && !buffer.file.loadComplete) {
            int status = LoadBatch(buffer);
            next = LineNext(line);
            if (status != 1) {
                break;
            }
        }
        if (next == nullptr || LineIsVisible(*next)) {
            return next;
        }
        line = next;
    }
}

LineRecord* PrevShownLine(LineRecord* line) {
    for (line = LinePrev(line); line != nullptr && !LineIsVisible(*line); line = LinePrev(line)) {
    }
    return line;
}

LineRecord* ShownLineAtOrBefore(EditBuffer& buffer, LineRecord* line) {
    if (line == nullptr) {
        return LineFirst(buffer);
    }
    while (line != nullptr && !LineIsVisible(*line)) {
        line = LinePrev(line);
    }
    return line != nullptr ? line : LineFirst(buffer);
}

void RebuildRowTable(EditSession& session, int rows) {
    EditViewState& view = session.view;
    rows = std::max(rows, 0);
    view.rowTable.assign(static_cast<size_t>(rows), nullptr);
    view.topLine = ShownLineAtOrBefore(session.buffer, view.topLine);
    LineRecord* line = view.topLine;
    for (int row = 0; row < rows && line != nullptr; ++row) {
        view.rowTable[static_cast<size_t>(row)] = line;
        if (row + 1 < rows) {
            line = NextShownLine(session.buffer, line);
        }
    }
}

LineRecord* LineOnRow(const EditSession& session, int row) {
    const std::vector<LineRecord*>& table = session.view.rowTable;
    if (row < 0 || row >= static_cast<int>(table.size())) {
        return nullptr;
    }
    return table[static_cast<size_t>(row)];
}

LineRecord* ViewCursorLine(const EditSession& session) {
    if (!InWindow(session.view)) {
        return nullptr;
    }
    return LineOnRow(session, session.view.cursorRow);
}

int RowOfLine(const EditSession& session, const LineRecord* line) {
    if (line == nullptr) {
        return -1;
    }
    const std::vector<LineRecord*>& table = session.view.rowTable;
    auto found = std::find(table.begin(), table.end(), line);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

Status PutCursorOnRow(AppSession& app, EditSession& session, int row) {
    if (LineOnRow(session, row) == nullptr) {
        ShowMessage(app, "Severe error, cursor line not in frame buffer.", MsgTo::Box, Beep::Exclamation);
        return -1;
    }
    session.view.cursorRow = row;
    return 0;
}

void ViewForgetLine(EditSession& session, LineRecord* line) {
    if (line == nullptr) {
        return;
    }
    EditViewState& view = session.view;
    if (view.topLine == line) {
        LineRecord* next = NextShownLine(session.buffer, line, MoreLines::LoadedOnly);
        view.topLine = next != nullptr ? next : PrevShownLine(line);
    }
    std::replace(view.rowTable.begin(), view.rowTable.end(), line, static_cast<LineRecord*>(nullptr));
}

}  // namespace tavoe
