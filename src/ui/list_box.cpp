#include "ui/list_box.h"

#include <strings.h>
#include <algorithm>
#include <cctype>

namespace tavoe {

namespace ui {

ListBox::ListBox(const Rect& r) {
    rect = r;
}

int ListBox::VisibleRows() const {
    return std::max(rect.rows, 1);
}

int ListBox::VisibleColumns() const {
    if (columnWidth <= 0) {
        return 1;
    }
    return std::max(rect.cols / columnWidth, 1);
}

int ListBox::TextWidth() const {
    if (columnWidth > 0) {
        return columnWidth;
    }
    return std::max(rect.cols - (scrollBar ? 1 : 0), 1);
}

int ListBox::PageSize() const {
    return VisibleRows() * VisibleColumns();
}

void ListBox::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    if (sorted) {
        std::stable_sort(items_.begin(), items_.end(), [](const std::string& a, const std::string& b) {
            return strcasecmp(a.c_str(), b.c_str()) < 0;
        });
    }
    selected_.assign(items_.size(), 0);
    caret_ = 0;
    top_ = 0;
    anchor_ = 0;
}

int ListBox::AddItem(std::string item) {
    int index = Count();
    if (sorted) {
        auto it = std::upper_bound(
            items_.begin(), items_.end(), item,
            [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
        index = static_cast<int>(it - items_.begin());
    }
    items_.insert(items_.begin() + index, std::move(item));
    selected_.insert(selected_.begin() + index, 0);
    return index;
}

void ListBox::Clear() {
    SetItems({});
}

void ListBox::SetCaret(int index) {
    if (items_.empty()) {
        caret_ = 0;
        return;
    }
    caret_ = std::clamp(index, 0, Count() - 1);
    EnsureCaretVisible();
}

void ListBox::SetTop(int index) {
    int page = PageSize();
    int rows = VisibleRows();
    int maxTop = std::max(Count() - page, 0);
    if (columnWidth > 0) {
        // Multi-column lists scroll by whole columns.
        maxTop = ((std::max(Count() - 1, 0) / rows) - VisibleColumns() + 1) * rows;
        maxTop = std::max(maxTop, 0);
        index = index / rows * rows;
    }
    top_ = std::clamp(index, 0, maxTop);
}

bool ListBox::IsSelected(int index) const {
    return index >= 0 && index < Count() && selected_[index] != 0;
}

void ListBox::Select(int index, bool on) {
    if (selectMode == SelectMode::Single) {
        std::fill(selected_.begin(), selected_.end(), 0);
    }
    if (index >= 0 && index < Count()) {
        selected_[index] = on ? 1 : 0;
    }
}

void ListBox::ClearSelection() {
    std::fill(selected_.begin(), selected_.end(), 0);
}

std::vector<int> ListBox::SelectedIndexes() const {
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i) {
        if (selected_[i] != 0) {
            out.push_back(i);
        }
    }
    return out;
}

int ListBox::SelectedIndex() const {
    for (int i = 0; i < Count(); ++i) {
        if (selected_[i] != 0) {
            return i;
        }
    }
    return -1;
}

void ListBox::EnsureCaretVisible() {
    int page = PageSize();
    int rows = VisibleRows();
    if (caret_ < top_) {
        SetTop(columnWidth > 0 ? caret_ / rows * rows : caret_);
    } else if (caret_ >= top_ + page) {
        SetTop(columnWidth > 0 ? (caret_ / rows - VisibleColumns() + 1) * rows : caret_ - page + 1);
    }
}

void ListBox::Notify() {
    if (onSelectionChange) {
        onSelectionChange(*this);
    }
}

void ListBox::SelectRange(int from, int to) {
    std::fill(selected_.begin(), selected_.end(), 0);
    for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
        if (i >= 0 && i < Count()) {
            selected_[i] = 1;
        }
    }
}

void ListBox::MoveCaret(int index, uint8_t mods) {
    if (items_.empty()) {
        return;
    }
    SetCaret(index);
    if (selectMode == SelectMode::Single) {
        if (!IsSelected(caret_)) {
            Select(caret_);
            Notify();
        }
        return;
    }
    if (mods & kModShift) {
        SelectRange(anchor_, caret_);
        Notify();
    } else if (!(mods & kModCtrl)) {
        anchor_ = caret_;
        SelectRange(caret_, caret_);
        Notify();
    }
}

void ListBox::PageUp() {
    SetTop(top_ - PageSize());
    caret_ = std::min(top_, std::max(Count() - 1, 0));
}

void ListBox::PageDown() {
    int page = PageSize();
    int after = Count() - (top_ + page);
    if (after > 0) {
        SetTop(top_ + std::min(page, after));
    }
    caret_ = std::min(top_, std::max(Count() - 1, 0));
}

Handled ListBox::OnKey(const KeyEvent& key, Screen& screen) {
    (void)screen;
    if (items_.empty()) {
        return key.IsChar() ? Handled::Yes : Handled::No;
    }
    uint8_t mods = key.mods & (kModShift | kModCtrl);
    if ((key.mods & kModAlt) != 0) {
        return Handled::No;
    }
    int rows = VisibleRows();
    switch (key.key) {
        case Key::Up:
            MoveCaret(caret_ - 1, mods);
            return Handled::Yes;
        case Key::Down:
            MoveCaret(caret_ + 1, mods);
            return Handled::Yes;
        case Key::Left:
            if (columnWidth <= 0) {
                return Handled::No;
            }
            MoveCaret(caret_ - rows, mods);
            return Handled::Yes;
        case Key::Right:
            if (columnWidth <= 0) {
                return Handled::No;
            }
            MoveCaret(std::min(caret_ + rows, Count() - 1), mods);
            return Handled::Yes;
        case Key::Home:
            MoveCaret(0, mods);
            return Handled::Yes;
        case Key::End:
            MoveCaret(Count() - 1, mods);
            return Handled::Yes;
        case Key::PageUp:
        case Key::PageDown:
            if (key.mods != 0) {
                return Handled::No;
            }
            if (key.key == Key::PageUp) {
                PageUp();
            } else {
                PageDown();
            }
            MoveCaret(caret_, 0);
            return Handled::Yes;
        case Key::Char:
            break;
        default:
            return Handled::No;
    }
    if (key.mods != 0) {
        return Handled::No;
    }
    if (key.ch == ' ') {
        if (selectMode == SelectMode::Extended) {
            selected_[caret_] = selected_[caret_] ? 0 : 1;
            anchor_ = caret_;
            Notify();
        } else if (!IsSelected(caret_)) {
            Select(caret_);
            Notify();
        }
        return Handled::Yes;
    }
    // Type-ahead: the next item after the caret whose first character matches, wrapping around.
    int wanted = std::tolower(key.ch);
    for (int step = 1; step <= Count(); ++step) {
        int i = (caret_ + step) % Count();
        if (!items_[i].empty() && std::tolower(static_cast<unsigned char>(items_[i][0])) == wanted) {
            MoveCaret(i, 0);
            break;
        }
    }
    return Handled::Yes;
}

int ListBox::ItemAt(int row, int col) const {
    if (row < 0 || row >= VisibleRows() || col < 0) {
        return -1;
    }
    int column = columnWidth > 0 ? col / columnWidth : 0;
    if (column >= VisibleColumns()) {
        return -1;
    }
    int index = top_ + column * VisibleRows() + row;
    return index < Count() ? index : -1;
}

Handled ListBox::OnMouse(const MouseEvent& mouse, Screen& screen) {
    (void)screen;
    if (mouse.action == MouseAction::WheelUp || mouse.action == MouseAction::WheelDown) {
        int step = columnWidth > 0 ? VisibleRows() : 3;
        SetTop(top_ + (mouse.action == MouseAction::WheelUp ? -step : step));
        return Handled::Yes;
    }
    if (scrollBar && columnWidth <= 0 && mouse.col == rect.cols - 1 && mouse.button == MouseButton::Left &&
        mouse.action == MouseAction::Press) {
        if (mouse.row == 0) {
            SetTop(top_ - 1);
        } else if (mouse.row == rect.rows - 1) {
            SetTop(top_ + 1);
        } else if (mouse.row < rect.rows / 2) {
            PageUp();
        } else {
            PageDown();
        }
        return Handled::Yes;
    }
    int index = ItemAt(mouse.row, mouse.col);
    if (mouse.button == MouseButton::Right) {
        if (mouse.action == MouseAction::Press && onRightClick) {
            onRightClick(*this, ScreenRect().row + mouse.row, ScreenRect().col + mouse.col);
        }
        return Handled::Yes;
    }
    if (index < 0) {
        return Handled::Yes;
    }
    switch (mouse.action) {
        case MouseAction::Press:
            if (selectMode == SelectMode::Extended && (mouse.mods & kModCtrl)) {
                SetCaret(index);
                selected_[index] = selected_[index] ? 0 : 1;
                anchor_ = index;
                Notify();
            } else {
                MoveCaret(index, mouse.mods & kModShift);
            }
            return Handled::Yes;
        case MouseAction::Drag:
            MoveCaret(index, selectMode == SelectMode::Extended ? kModShift : 0);
            return Handled::Yes;
        case MouseAction::DoubleClick:
            MoveCaret(index, 0);
            if (onDoubleClick) {
                onDoubleClick(*this, index);
            }
            return Handled::Yes;
        default:
            return Handled::Yes;
    }
}

void ListBox::Paint(Painter& painter, const Theme& theme, bool focused) {
    SetTop(top_);
    painter.FillAll(theme.list);
    int rows = VisibleRows();
    int width = TextWidth();
    for (int column = 0; column < VisibleColumns(); ++column) {
        for (int row = 0; row < rows; ++row) {
            int index = top_ + column * rows + row;
            if (index >= Count()) {
                break;
            }
            ColorPair pair = IsSelected(index) ? theme.listSelected : theme.list;
            int col = column * (columnWidth > 0 ? columnWidth : 0);
            painter.Fill(Rect{row, col, 1, width}, pair);
            std::string_view text = items_[index];
            if (static_cast<int>(text.size()) > width) {
                text = text.substr(0, width);
            }
            painter.Text(row, col, text, pair);
            if (focused && index == caret_) {
                painter.SetCursor(row, col, CursorShape::Block);
            }
        }
    }
    if (scrollBar && columnWidth <= 0 && rect.cols > 1) {
        int col = rect.cols - 1;
        for (int row = 0; row < rows; ++row) {
            painter.Put(row, col, glyph::kLightShade, theme.list, CellKind::Graphic);
        }
        if (rows >= 2) {
            painter.Put(0, col, glyph::kArrowUp, theme.list, CellKind::Graphic);
            painter.Put(rows - 1, col, glyph::kArrowDown, theme.list, CellKind::Graphic);
        }
        int track = rows - 2;
        if (track > 0 && Count() > rows) {
            int span = std::max(Count() - rows, 1);
            int thumb = 1 + (track - 1) * std::min(top_, span) / span;
            painter.Put(thumb, col, glyph::kFullBlock, theme.list, CellKind::Graphic);
        }
    }
}

}  // namespace ui

}  // namespace tavoe
