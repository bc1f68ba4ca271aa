#include "ui/combo_box.h"

#include <algorithm>
#include <cctype>

#include "ui/form.h"
#include "ui/list_box.h"
#include "ui/screen.h"

namespace tavoe {

namespace ui {

ComboBox::ComboBox(const Rect& r, ComboKind kind)
    : kind_(kind), edit_(Rect{0, 0, 1, std::max(r.cols - 1, 1)}) {
    rect = r;
    edit_.onChange = [this](InputField&) { selected_ = -1; };
}

void ComboBox::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    selected_ = -1;
}

void ComboBox::SetSelected(int index) {
    selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
    if (kind_ == ComboKind::Editable && selected_ >= 0) {
        auto keep = edit_.onChange;
        edit_.onChange = nullptr;
        edit_.SetText(items_[selected_]);
        edit_.onChange = keep;
    }
}

std::string ComboBox::Text() const {
    if (kind_ == ComboKind::Editable) {
        return edit_.Text();
    }
    return selected_ >= 0 ? items_[selected_] : std::string();
}

void ComboBox::SetText(std::string_view text) {
    if (kind_ == ComboKind::Editable) {
        edit_.SetText(text);
        selected_ = -1;
        return;
    }
    selected_ = -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] == text) {
            selected_ = static_cast<int>(i);
        }
    }
}

void ComboBox::OnFocus(FocusReason reason) {
    edit_.rect = EditRect();
    edit_.OnFocus(reason);
}

void ComboBox::ChooseByUser(int index) {
    if (items_.empty()) {
        return;
    }
    index = std::clamp(index, 0, static_cast<int>(items_.size()) - 1);
    bool changed = index != selected_;
    SetSelected(index);
    if (kind_ == ComboKind::Editable) {
        edit_.MarkAll();
    }
    if (changed && onSelectionChange) {
        onSelectionChange(*this);
    }
}

namespace {

// The dropped list: a click on an item chooses it at once.
class DropList : public ListBox {
public:
    using ListBox::ListBox;
    std::function<void(int)> onChoose;

    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override {
        Handled handled = ListBox::OnMouse(mouse, screen);
        bool onItem = mouse.col < rect.cols - (scrollBar ? 1 : 0) && mouse.row >= 0 &&
                      mouse.row < rect.rows && Top() + mouse.row < Count();
        if (mouse.button == MouseButton::Left && onItem &&
            (mouse.action == MouseAction::Press || mouse.action == MouseAction::DoubleClick) && onChoose) {
            onChoose(Top() + mouse.row);
        }
        return handled;
    }
};

}  // namespace

bool ComboBox::DropDown(Screen& screen) {
    if (items_.empty()) {
        return false;
    }
    Rect at = ScreenRect();
    int rows = std::min(std::max(dropRows, 1), static_cast<int>(items_.size()));
    int cols = std::max(rect.cols, 3);
    Form drop("", rows, cols);
    drop.SetFrame(FormFrame::None);
    drop.closeOnOutsideClick = true;
    // Below the field when it fits, else above it.
    int row =
        at.row + 1 + rows <= screen.GetCanvas().Rows() || at.row - rows < 0 ? at.row + 1 : at.row - rows;
    drop.PlaceAt(row, at.col);
    DropList& list = drop.Add<DropList>(Rect{0, 0, rows, cols});
    list.scrollBar = static_cast<int>(items_.size()) > rows;
    list.SetItems(items_);
    int start = selected_ >= 0 ? selected_ : 0;
    list.SetCaret(start);
    list.Select(start);
    int chosen = -1;
    list.onChoose = [&](int index) {
        chosen = index;
        drop.End(0);
    };
    drop.unhandledKey = [&](const KeyEvent& key) {
        if (key.Is(Key::Enter) || key.Is(Key::Up, kModAlt) || key.Is(Key::Down, kModAlt)) {
            chosen = list.Caret();
            drop.End(0);
            return Handled::Yes;
        }
        return Handled::No;
    };
    drop.SetFocus(&list, FocusReason::Program);
    if (screen.RunModal(drop) != 0 || chosen < 0) {
        return false;
    }
    ChooseByUser(chosen);
    return true;
}

Handled ComboBox::OnKey(const KeyEvent& key, Screen& screen) {
    if (key.Is(Key::Down, kModAlt) || key.Is(Key::Up, kModAlt)) {
        DropDown(screen);
        return Handled::Yes;
    }
    if (key.mods == 0) {
        int count = static_cast<int>(items_.size());
        switch (key.key) {
            case Key::Up:
                if (count > 0) {
                    ChooseByUser(selected_ < 0 ? 0 : selected_ - 1);
                }
                return Handled::Yes;
            case Key::Down:
                if (count > 0) {
                    ChooseByUser(selected_ < 0 ? 0 : selected_ + 1);
                }
                return Handled::Yes;
            case Key::PageUp:
                if (count > 0) {
                    ChooseByUser(std::max(selected_, 0) - std::max(dropRows - 1, 1));
                }
                return Handled::Yes;
            case Key::PageDown:
                if (count > 0) {
                    ChooseByUser(std::max(selected_, 0) + std::max(dropRows - 1, 1));
                }
                return Handled::Yes;
            default:
                break;
        }
    }
    if (kind_ == ComboKind::Editable) {
        edit_.rect = EditRect();
        return edit_.OnKey(key, screen);
    }
    if (key.mods == 0 && (key.key == Key::Home || key.key == Key::End) && !items_.empty()) {
        ChooseByUser(key.key == Key::Home ? 0 : static_cast<int>(items_.size()) - 1);
        return Handled::Yes;
    }
    if (key.IsChar() && key.ch != ' ' && !items_.empty()) {
        int count = static_cast<int>(items_.size());
        int wanted = std::tolower(key.ch);
        for (int step = 1; step <= count; ++step) {
            int i = (std::max(selected_, -1) + step + count) % count;
            if (!items_[i].empty() && std::tolower(static_cast<unsigned char>(items_[i][0])) == wanted) {
                ChooseByUser(i);
                break;
            }
        }
        return Handled::Yes;
    }
    return Handled::No;
}

Handled ComboBox::OnMouse(const MouseEvent& mouse, Screen& screen) {
    if (mouse.button != MouseButton::Left && mouse.action != MouseAction::WheelUp &&
        mouse.action != MouseAction::WheelDown) {
        return Handled::No;
    }
    if (mouse.action == MouseAction::WheelUp || mouse.action == MouseAction::WheelDown) {
        if (!items_.empty()) {
            ChooseByUser(std::max(selected_, 0) + (mouse.action == MouseAction::WheelUp ? -1 : 1));
        }
        return Handled::Yes;
    }
    if (mouse.action != MouseAction::Press && mouse.action != MouseAction::DoubleClick) {
        return Handled::No;
    }
    if (kind_ == ComboKind::Fixed || mouse.col >= rect.cols - 1) {
        DropDown(screen);
        return Handled::Yes;
    }
    edit_.rect = EditRect();
    return edit_.OnMouse(mouse, screen);
}

void ComboBox::Paint(Painter& painter, const Theme& theme, bool focused) {
    Rect field = EditRect();
    if (kind_ == ComboKind::Editable) {
        edit_.rect = field;
        Painter sub = painter.Sub(field);
        edit_.enabled = enabled;
        edit_.Paint(sub, theme, focused);
    } else {
        ColorPair pair = !enabled ? theme.disabled : focused ? theme.inputMarked : theme.input;
        painter.Fill(field, pair);
        std::string text = Text();
        if (static_cast<int>(text.size()) > field.cols) {
            text.resize(field.cols);
        }
        painter.Text(0, 0, text, pair);
        if (focused) {
            painter.SetCursor(0, 0, CursorShape::Block);
        }
    }
    painter.Put(0, rect.cols - 1, glyph::kArrowDown, theme.button, CellKind::Graphic);
}

}  // namespace ui

}  // namespace tavoe
