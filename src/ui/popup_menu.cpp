#include "ui/popup_menu.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "ui/form.h"
#include "ui/mnemonic.h"
#include "ui/screen.h"

namespace tavoe {

namespace ui {
namespace {

class MenuList : public Widget {
public:
    MenuList(const Rect& r, const std::vector<MenuEntry>& entries) : entries_(entries) {
        rect = r;
        current_ = Step(-1, 1);
    }

    std::function<void(int)> onChoose;

    bool Focusable() const override { return true; }

    void Paint(Painter& painter, const Theme& theme, bool focused) override {
        (void)focused;
        painter.FillAll(theme.menu);
        for (int i = 0; i < static_cast<int>(entries_.size()) && i < rect.rows; ++i) {
            if (entries_[i].kind == MenuEntryKind::Separator) {
                painter.HLine(i, 0, rect.cols, theme.menu);
                continue;
            }
            ColorPair pair = entries_[i].greyed ? theme.disabled
                             : i == current_    ? theme.menuSelected
                                                : theme.menu;
            painter.Fill(Rect{i, 0, 1, rect.cols}, pair);
            painter.Text(i, 1, StripMnemonic(entries_[i].text), pair);
        }
        if (current_ >= 0) {
            painter.SetCursor(current_, 1, CursorShape::Block);
        }
    }

    Handled OnKey(const KeyEvent& key, Screen& screen) override {
        (void)screen;
        if (key.Is(Key::Up)) {
            current_ = Step(current_, -1);
            return Handled::Yes;
        }
        if (key.Is(Key::Down)) {
            current_ = Step(current_, 1);
            return Handled::Yes;
        }
        if (key.Is(Key::Home) || key.Is(Key::PageUp)) {
            current_ = Step(-1, 1);
            return Handled::Yes;
        }
        if (key.Is(Key::End) || key.Is(Key::PageDown)) {
            current_ = Step(static_cast<int>(entries_.size()), -1);
            return Handled::Yes;
        }
        if (key.Is(Key::Enter) || (key.IsChar() && key.ch == ' ')) {
            if (current_ >= 0) {
                onChoose(current_);
            }
            return Handled::Yes;
        }
        if (key.IsChar()) {
            ChooseByLetter(static_cast<char>(std::toupper(key.ch)));
            return Handled::Yes;
        }
        return Handled::No;
    }

    Handled OnMouse(const MouseEvent& mouse, Screen& screen) override {
        (void)screen;
        int index = mouse.row;
        if (index < 0 || index >= static_cast<int>(entries_.size()) || !Choosable(entries_[index])) {
            return Handled::Yes;
        }
        if (mouse.action == MouseAction::Press || mouse.action == MouseAction::DoubleClick ||
            mouse.action == MouseAction::Release) {
            current_ = index;
            onChoose(index);
        } else if (mouse.action == MouseAction::Drag) {
            current_ = index;
        }
        return Handled::Yes;
    }

private:
    int Step(int from, int direction) const {
        int count = static_cast<int>(entries_.size());
        for (int i = from + direction; i >= 0 && i < count; i += direction) {
            if (Choosable(entries_[i])) {
                return i;
            }
        }
        return from >= 0 && from < count ? from : -1;
    }

    static bool Choosable(const MenuEntry& entry) {
        return entry.kind == MenuEntryKind::Item && !entry.greyed;
    }

    char KeyOf(const MenuEntry& entry) const {
        char key = MnemonicOf(entry.text);
        if (key == 0 && !entry.text.empty()) {
            key = static_cast<char>(std::toupper(static_cast<unsigned char>(entry.text[0])));
        }
        return key;
    }

    void ChooseByLetter(char letter) {
        std::vector<int> matches;
        for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
            if (Choosable(entries_[i]) && KeyOf(entries_[i]) == letter) {
                matches.push_back(i);
            }
        }
        if (matches.size() == 1) {
            current_ = matches[0];
            onChoose(current_);
        } else if (!matches.empty()) {
            auto next = std::upper_bound(matches.begin(), matches.end(), current_);
            current_ = next == matches.end() ? matches[0] : *next;
        }
    }

    const std::vector<MenuEntry>& entries_;
    int current_ = -1;
};

}  // namespace

int RunPopupMenu(Screen& screen, const std::vector<MenuEntry>& entries, int row, int col) {
    if (entries.empty()) {
        return -1;
    }
    int width = 4;
    for (const MenuEntry& entry : entries) {
        width = std::max(width, static_cast<int>(StripMnemonic(entry.text).size()) + 2);
    }
    int rows = static_cast<int>(entries.size());
    Form form("", rows, width);
    form.SetFrame(FormFrame::Plain);
    form.closeOnOutsideClick = true;
    form.PlaceAt(row, col);
    MenuList& list = form.Add<MenuList>(Rect{0, 0, rows, width}, entries);
    int chosen = -1;
    list.onChoose = [&](int index) {
        chosen = index;
        form.End(0);
    };
    form.SetFocus(&list, FocusReason::Program);
    if (screen.RunModal(form) != 0) {
        return -1;
    }
    return chosen;
}

}  // namespace ui

}  // namespace tavoe
