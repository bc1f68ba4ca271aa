#include "view/scroll.h"

#include <algorithm>
#include <cctype>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr size_t kAmountMax = 15;
// Larger counts cannot move further than the longest file; the cap keeps the arithmetic in range.
constexpr int64_t kCountCap = int64_t{1} << 40;

bool CursorInWindow(const EditViewState& view) {
    return view.focus == KeyField::Data || view.focus == KeyField::Prefix;
}

std::string Upper(std::string_view text) {
    std::string out(text.substr(0, std::min(text.size(), kAmountMax)));
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// Moves the top line up by at most n shown lines; returns how many it moved.
int64_t MoveTopUp(EditSession& session, int64_t n) {
    EditViewState& view = session.view;
    int64_t moved = 0;
    while (moved < n) {
        LineRecord* prev = PrevShownLine(view.topLine);
        if (prev == nullptr) {
            break;
        }
        view.topLine = prev;
        ++moved;
    }
    return moved;
}

// Moves the top line down by at most n shown lines, reading a virtual load only as far as needed.
void MoveTopDown(EditSession& session, int64_t n) {
    EditViewState& view = session.view;
    for (int64_t i = 0; i < n; ++i) {
        LineRecord* next = NextShownLine(session.buffer, view.topLine);
        if (next == nullptr) {
            break;
        }
        view.topLine = next;
    }
}

// Lines or columns an amount stands for in a window of `size` rows or data columns: HALF is half
// the window, DATA one less than it, PAGE (and MAX, settled by the caller) all of it.
int64_t AmountInWindow(ScrollUnit unit, int64_t count, int size) {
    switch (unit) {
        case ScrollUnit::Count:
            return std::clamp<int64_t>(count, 0, kCountCap);
        case ScrollUnit::Half:
            return size / 2;
        case ScrollUnit::Data:
            return std::max(size - 1, 1);
        default:
            return size;
    }
}

// The CURSOR cases that are not a plain page; true when one applied.
bool ScrollByCursor(EditSession& session, ScrollDirection direction, int rows) {
    EditViewState& view = session.view;
    if (!CursorInWindow(view)) {
        return false;
    }
    int row = view.cursorRow;
    LineRecord* cursorLine = LineOnRow(session, row);
    if (direction == ScrollDirection::Down) {
        if (row < 1 || cursorLine == nullptr) {
            return false;
        }
        view.topLine = cursorLine;
        view.cursorRow = 0;
        return true;
    }
    if (view.topLine == LineFirst(session.buffer) && cursorLine != nullptr &&
        cursorLine->kind == LineKind::EndMarker) {
        view.cursorRow = 0;  // the whole file is on the screen already
        return true;
    }
    if (row < 0 || row >= rows - 1) {
        return false;
    }
    int64_t moved = MoveTopUp(session, rows - (row + 1));
    view.cursorRow = row + static_cast<int>(moved);
    return true;
}

}  // namespace

std::optional<ScrollAmount> ParseScrollAmount(std::string_view text) {
    std::string amount = Upper(text);
    if (amount.empty()) {
        return std::nullopt;
    }
    ScrollAmount result;
    char first = amount[0];
    if (first >= '0' && first <= '9') {
        result.unit = ScrollUnit::Count;
        for (char c : amount) {
            if (c < '0' || c > '9') {
                break;
            }
            result.count = std::min(result.count * 10 + (c - '0'), kCountCap);
        }
        return result;
    }
    switch (first) {
        case 'C':
            result.unit = ScrollUnit::Cursor;
            return result;
        case 'D':
            result.unit = ScrollUnit::Data;
            return result;
        case 'H':
            result.unit = ScrollUnit::Half;
            return result;
        case 'M':
            result.unit = ScrollUnit::Max;
            return result;
        case 'P':
            result.unit = ScrollUnit::Page;
            return result;
        default:
            return std::nullopt;
    }
}

std::string ScrollAmountText(AppSession& app, ScrollDirection direction, std::string_view params) {
    std::string_view word = CommandFirstWord(params).word;
    if (!word.empty()) {
        return Upper(word);
    }
    bool vertical = direction == ScrollDirection::Up || direction == ScrollDirection::Down;
    std::string fallback = VarGetValue(app, vertical ? "ZSCROLL.VERT" : "ZSCROLL.HORIZ");
    std::string_view fallbackWord = CommandFirstWord(fallback).word;
    return fallbackWord.empty() ? std::string("PAGE") : Upper(fallbackWord);
}

Status Scroll(AppSession& app, EditSession& session, ScrollDirection direction, std::string_view amountText,
              const ViewGeometry& geometry) {
    std::optional<ScrollAmount> amount = ParseScrollAmount(amountText);
    if (!amount) {
        ShowMessage(app, Format("Invalid scroll amount %s", Upper(amountText).c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return -1;
    }
    if (direction == ScrollDirection::Up || direction == ScrollDirection::Down) {
        ScrollVertical(session, direction, *amount, geometry);
    } else {
        ScrollHorizontal(session, direction, *amount, geometry);
    }
    return 0;
}

void ScrollVertical(EditSession& session, ScrollDirection direction, const ScrollAmount& amount,
                    const ViewGeometry& geometry) {
    int rows = std::max(geometry.rows, 1);
    // The cursor rules look at what the rows show now.
    RebuildRowTable(session, rows);
    if (amount.unit == ScrollUnit::Max) {
        if (direction == ScrollDirection::Up) {
            ScrollToTop(session, geometry);
        } else {
            ScrollToBottom(session, geometry);
        }
        return;
    }
    bool done = amount.unit == ScrollUnit::Cursor && ScrollByCursor(session, direction, rows);
    if (!done) {
        int64_t lines = AmountInWindow(amount.unit, amount.count, rows);
        if (direction == ScrollDirection::Up) {
            MoveTopUp(session, lines);
        } else {
            MoveTopDown(session, lines);
        }
    }
    RebuildRowTable(session, rows);
}

void ScrollHorizontal(EditSession& session, ScrollDirection direction, const ScrollAmount& amount,
                      const ViewGeometry& geometry) {
    EditViewState& view = session.view;
    int dataColumns = DataColumns(session, geometry);
    int64_t offset = std::max(view.horizontalOffset, 0);
    int64_t limit = std::max<int64_t>(session.buffer.profile.maxRecordLength - dataColumns, 0);
    bool right = direction == ScrollDirection::Right;
    int64_t columns = 0;
    bool cursorFollows = false;
    int cursorData = view.cursorColumn - view.prefixWidth;  // the cursor's column in the data area
    if (amount.unit == ScrollUnit::Max) {
        columns = kCountCap;
    } else if (amount.unit == ScrollUnit::Cursor && view.focus == KeyField::Data && cursorData >= 0 &&
               cursorData < dataColumns) {
        // The distance to the edge the cursor's column is to reach.
        columns = right ? cursorData : dataColumns - 1 - cursorData;
        cursorFollows = columns > 0;
        if (columns == 0) {
            columns = dataColumns;
        }
    } else {
        columns = AmountInWindow(amount.unit, amount.count, dataColumns);
    }
    // A window wider than the rest of the record never scrolls right, nor left past column 1; an
    // offset already beyond the right limit (a profile offset) is not pulled back by RIGHT.
    int64_t moved = 0;
    if (right) {
        int64_t target = std::max(offset, std::min(offset + columns, limit));
        moved = target - offset;
        offset = target;
    } else {
        int64_t target = std::max<int64_t>(offset - columns, 0);
        moved = offset - target;
        offset = target;
    }
    view.horizontalOffset = static_cast<int32_t>(offset);
    if (cursorFollows) {
        view.cursorColumn += static_cast<int>(right ? -moved : moved);
    }
}

void ScrollToTop(EditSession& session, const ViewGeometry& geometry) {
    session.view.topLine = LineFirst(session.buffer);
    RebuildRowTable(session, std::max(geometry.rows, 1));
}

void ScrollToBottom(EditSession& session, const ViewGeometry& geometry) {
    EditBuffer& buffer = session.buffer;
    (void)FinishLoad(buffer);  // an aborted load is reported; the view shows what was read
    int rows = std::max(geometry.rows, 1);
    LineRecord* top = ShownLineAtOrBefore(buffer, LineLast(buffer));
    for (int i = 1; i < rows; ++i) {
        LineRecord* prev = PrevShownLine(top);
        if (prev == nullptr) {
            break;
        }
        top = prev;
    }
    session.view.topLine = top;
    RebuildRowTable(session, rows);
}

namespace {

void ScrollBy(AppSession& app, EditSession& session, ScrollDirection direction, std::string_view params) {
    (void)Scroll(app, session, direction, ScrollAmountText(app, direction, params),
                 ViewGeometryOf(app, session));
}

}  // namespace

void UpCommand(AppSession& app, EditSession& session, std::string_view params) {
    ScrollBy(app, session, ScrollDirection::Up, params);
}

void DownCommand(AppSession& app, EditSession& session, std::string_view params) {
    ScrollBy(app, session, ScrollDirection::Down, params);
}

void LeftCommand(AppSession& app, EditSession& session, std::string_view params) {
    ScrollBy(app, session, ScrollDirection::Left, params);
}

void RightCommand(AppSession& app, EditSession& session, std::string_view params) {
    ScrollBy(app, session, ScrollDirection::Right, params);
}

void TopCommand(AppSession& app, EditSession& session, std::string_view) {
    ScrollToTop(session, ViewGeometryOf(app, session));
}

void BottomCommand(AppSession& app, EditSession& session, std::string_view) {
    ScrollToBottom(session, ViewGeometryOf(app, session));
}

}  // namespace tavoe
