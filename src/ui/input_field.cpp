#include "ui/input_field.h"

#include <algorithm>
#include <cctype>

namespace tavoe {

namespace ui {
namespace {

bool IsWordByte(uint8_t c) {
    return c != ' ' && c != '\t';
}

}  // namespace

InputField::InputField(const Rect& r) {
    rect = r;
}

int InputField::Limit() const {
    int limit = std::max(maxLength, 0);
    if (hscroll == HScroll::Off) {
        limit = std::min(limit, std::max(rect.cols, 1));
    }
    return limit;
}

void InputField::SetText(std::string_view text) {
    text_.assign(text.substr(0, std::min<size_t>(text.size(), static_cast<size_t>(std::max(maxLength, 0)))));
    cursor_ = static_cast<int>(text_.size());
    scroll_ = 0;
    allMarked_ = false;
    KeepCursorVisible();
}

void InputField::SetCursorPos(int pos) {
    cursor_ = std::clamp(pos, 0, static_cast<int>(text_.size()));
    allMarked_ = false;
    KeepCursorVisible();
}

void InputField::OnFocus(FocusReason reason) {
    if (reason == FocusReason::Keyboard || reason == FocusReason::Initial) {
        allMarked_ = !text_.empty();
        cursor_ = static_cast<int>(text_.size());
        KeepCursorVisible();
    }
}

void InputField::Changed() {
    KeepCursorVisible();
    if (onChange) {
        onChange(*this);
    }
}

void InputField::DeleteMarked() {
    if (allMarked_) {
        text_.clear();
        cursor_ = 0;
        scroll_ = 0;
        allMarked_ = false;
    }
}

bool InputField::TypeChar(uint8_t ch) {
    if (ch >= 0x80 && translateHigh) {
        ch = translateHigh(ch);
    }
    if (caseForce == CaseForce::Upper && ch < 0x80) {
        ch = static_cast<uint8_t>(std::toupper(ch));
    } else if (caseForce == CaseForce::Lower && ch < 0x80) {
        ch = static_cast<uint8_t>(std::tolower(ch));
    }
    if (accept && !accept(ch)) {
        return false;
    }
    bool hadMark = allMarked_;
    DeleteMarked();
    int length = static_cast<int>(text_.size());
    if (mode == TypingMode::Overtype && cursor_ < length) {
        text_[cursor_] = static_cast<char>(ch);
    } else {
        if (length >= Limit()) {
            if (hadMark) {
                Changed();
            }
            return false;
        }
        text_.insert(text_.begin() + cursor_, static_cast<char>(ch));
    }
    ++cursor_;
    Changed();
    return true;
}

Handled InputField::OnKey(const KeyEvent& key, Screen& screen) {
    (void)screen;
    int length = static_cast<int>(text_.size());
    if (key.IsChar()) {
        TypeChar(key.ch);
        return Handled::Yes;
    }
    if (key.key == Key::Char && key.mods == kModCtrl) {
        if ((key.ch == 'c' || key.ch == 'x') && copyText) {
            copyText(text_);
            if (key.ch == 'x' && allMarked_) {
                DeleteMarked();
                Changed();
            }
            return Handled::Yes;
        }
        if (key.ch == 'v' && pasteText) {
            std::string pasted = pasteText();
            for (char c : pasted) {
                if (c == '\n' || c == '\r') {
                    break;
                }
                TypeChar(static_cast<uint8_t>(c));
            }
            return Handled::Yes;
        }
        return Handled::No;
    }
    bool ctrl = key.mods == kModCtrl;
    if (key.mods != 0 && !ctrl) {
        return Handled::No;
    }
    switch (key.key) {
        case Key::Left:
            if (ctrl) {
                int pos = cursor_;
                while (pos > 0 && !IsWordByte(static_cast<uint8_t>(text_[pos - 1]))) {
                    --pos;
                }
                while (pos > 0 && IsWordByte(static_cast<uint8_t>(text_[pos - 1]))) {
                    --pos;
                }
                SetCursorPos(pos);
            } else {
                SetCursorPos(cursor_ - 1);
            }
            return Handled::Yes;
        case Key::Right:
            if (ctrl) {
                int pos = cursor_;
                while (pos < length && IsWordByte(static_cast<uint8_t>(text_[pos]))) {
                    ++pos;
                }
                while (pos < length && !IsWordByte(static_cast<uint8_t>(text_[pos]))) {
                    ++pos;
                }
                SetCursorPos(pos);
            } else {
                SetCursorPos(cursor_ + 1);
            }
            return Handled::Yes;
        case Key::Home:
            if (ctrl) {
                return Handled::No;
            }
            SetCursorPos(0);
            return Handled::Yes;
        case Key::End:
            if (ctrl) {
                return Handled::No;
            }
            SetCursorPos(length);
            return Handled::Yes;
        case Key::Backspace:
            if (allMarked_) {
                DeleteMarked();
                Changed();
            } else if (cursor_ > 0) {
                text_.erase(static_cast<size_t>(cursor_ - 1), 1);
                --cursor_;
                Changed();
            }
            return Handled::Yes;
        case Key::Delete:
            if (allMarked_) {
                DeleteMarked();
                Changed();
            } else if (ctrl) {
                text_.erase(static_cast<size_t>(cursor_));
                Changed();
            } else if (cursor_ < length) {
                text_.erase(static_cast<size_t>(cursor_), 1);
                Changed();
            }
            return Handled::Yes;
        case Key::Insert:
            if (!insertToggles || ctrl) {
                return Handled::No;
            }
            mode = mode == TypingMode::Insert ? TypingMode::Overtype : TypingMode::Insert;
            return Handled::Yes;
        default:
            return Handled::No;
    }
}

Handled InputField::OnMouse(const MouseEvent& mouse, Screen& screen) {
    (void)screen;
    if (mouse.button != MouseButton::Left) {
        return Handled::No;
    }
    if (mouse.action == MouseAction::DoubleClick) {
        allMarked_ = !text_.empty();
        return Handled::Yes;
    }
    if (mouse.action == MouseAction::Press || mouse.action == MouseAction::Drag) {
        int start = StartColumn();
        SetCursorPos(scroll_ + mouse.col - start);
        return Handled::Yes;
    }
    return Handled::No;
}

int InputField::StartColumn() const {
    int length = static_cast<int>(text_.size());
    int width = rect.cols;
    if (length >= width || align == Align::Left) {
        return 0;
    }
    if (align == Align::Center) {
        return (width - length) / 2;
    }
    return std::max(width - length - 1, 0);
}

void InputField::KeepCursorVisible() {
    int width = std::max(rect.cols, 1);
    int length = static_cast<int>(text_.size());
    if (length < width || hscroll == HScroll::Off) {
        scroll_ = 0;
        return;
    }
    if (cursor_ < scroll_) {
        scroll_ = cursor_;
    } else if (cursor_ >= scroll_ + width) {
        scroll_ = cursor_ - width + 1;
    }
    scroll_ = std::clamp(scroll_, 0, std::max(length - width + 1, 0));
}

void InputField::Paint(Painter& painter, const Theme& theme, bool focused) {
    KeepCursorVisible();
    ColorPair pair = enabled ? theme.input : theme.disabled;
    painter.FillAll(pair);
    int start = StartColumn();
    int width = rect.cols;
    ColorPair textPair = allMarked_ && focused ? theme.inputMarked : pair;
    for (int col = 0; col + scroll_ < static_cast<int>(text_.size()) && start + col < width; ++col) {
        uint8_t ch = static_cast<uint8_t>(text_[scroll_ + col]);
        painter.Put(0, start + col, echo == EchoMode::Password ? '*' : ch, textPair);
    }
    if (focused) {
        int col = std::min(start + cursor_ - scroll_, width - 1);
        painter.SetCursor(0, col, mode == TypingMode::Insert ? insertShape : overtypeShape);
    }
}

}  // namespace ui

}  // namespace tavoe
