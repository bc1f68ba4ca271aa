#include "ui/input_decoder.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace tavoe {

namespace ui {
namespace {

// Longest escape sequence kept while waiting for its end; anything longer is dropped.
constexpr size_t kMaxSequence = 256;

// The CSI-u key codes of the right Ctrl key and of the other modifier and lock keys (ignored).
constexpr int kRightCtrlCode = 57448;
constexpr int kFirstModifierCode = 57358;
constexpr int kLastModifierCode = 57454;

// xterm modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl, 8 Meta).
uint8_t ModsFromParam(int param) {
    if (param < 2) {
        return 0;
    }
    int bits = param - 1;
    uint8_t mods = 0;
    if (bits & 1) {
        mods |= kModShift;
    }
    if (bits & (2 | 8)) {
        mods |= kModAlt;
    }
    if (bits & 4) {
        mods |= kModCtrl;
    }
    return mods;
}

struct Param {
    int value = -1;  // -1: empty
    int sub = -1;    // the first ":" sub-parameter, -1 when absent
};

std::vector<Param> SplitParams(std::string_view text) {
    std::vector<Param> params;
    size_t start = 0;
    while (true) {
        size_t end = text.find(';', start);
        std::string_view part = text.substr(start, end == std::string_view::npos ? end : end - start);
        Param p;
        size_t colon = part.find(':');
        std::string_view main = part.substr(0, colon);
        if (!main.empty() && main.size() < 8) {
            p.value = std::atoi(std::string(main).c_str());
        }
        if (colon != std::string_view::npos) {
            std::string_view sub = part.substr(colon + 1);
            size_t next = sub.find(':');
            sub = sub.substr(0, next);
            if (!sub.empty() && sub.size() < 8) {
                p.sub = std::atoi(std::string(sub).c_str());
            }
        }
        params.push_back(p);
        if (end == std::string_view::npos || params.size() > 16) {
            break;
        }
        start = end + 1;
    }
    return params;
}

// "~" sequences: the number's key.
Key TildeKey(int number) {
    switch (number) {
        case 1:
        case 7:
            return Key::Home;
        case 2:
            return Key::Insert;
        case 3:
            return Key::Delete;
        case 4:
        case 8:
            return Key::End;
        case 5:
            return Key::PageUp;
        case 6:
            return Key::PageDown;
        case 11:
            return Key::F1;
        case 12:
            return Key::F2;
        case 13:
            return Key::F3;
        case 14:
            return Key::F4;
        case 15:
            return Key::F5;
        case 17:
            return Key::F6;
        case 18:
            return Key::F7;
        case 19:
            return Key::F8;
        case 20:
            return Key::F9;
        case 21:
            return Key::F10;
        case 23:
            return Key::F11;
        case 24:
            return Key::F12;
        default:
            return Key::None;
    }
}

// Letter finals of CSI and SS3.
Key LetterKey(char final) {
    switch (final) {
        case 'A':
            return Key::Up;
        case 'B':
            return Key::Down;
        case 'C':
            return Key::Right;
        case 'D':
            return Key::Left;
        case 'H':
            return Key::Home;
        case 'F':
            return Key::End;
        case 'P':
            return Key::F1;
        case 'Q':
            return Key::F2;
        case 'R':
            return Key::F3;
        case 'S':
            return Key::F4;
        case 'M':
            return Key::Enter;  // keypad Enter in application mode
        default:
            return Key::None;
    }
}

}  // namespace

void InputDecoder::Feed(std::string_view bytes, int64_t nowMs) {
    now_ = nowMs;
    buffer_.append(bytes);
    Decode(false);
}

bool InputDecoder::Next(Event& out) {
    if (events_.empty()) {
        return false;
    }
    out = std::move(events_.front());
    events_.pop_front();
    return true;
}

void InputDecoder::Flush() {
    Decode(true);
}

void InputDecoder::EmitKey(KeyEvent key) {
    // The right Ctrl key counts alone only when nothing else was pressed while it was down.
    rightCtrlArmed_ = false;
    events_.push_back(Event::OfKey(key));
}

void InputDecoder::EmitCodePoint(char32_t ch, uint8_t mods) {
    if (ch < 0x20 || ch == 0x7F) {
        EmitControl(static_cast<uint8_t>(ch), mods);
        return;
    }
    int byte = ch < 0x80 ? static_cast<int>(ch) : DisplayByteOf(ch, set_);
    if (byte < 0) {
        return;
    }
    if ((mods & kModCtrl) && byte < 0x80) {
        byte = std::tolower(byte);
    }
    // Shift is part of the character itself.
    if ((mods & (kModCtrl | kModAlt)) == 0) {
        mods = 0;
    }
    EmitKey(CharKey(static_cast<uint8_t>(byte), mods));
}

void InputDecoder::EmitControl(uint8_t byte, uint8_t mods) {
    switch (byte) {
        case 0x0D:
            EmitKey(NamedKey(Key::Enter, mods));
            return;
        case 0x0A:
            EmitKey(NamedKey(Key::Enter, mods | kModCtrl));
            return;
        case 0x09:
            EmitKey(NamedKey(Key::Tab, mods));
            return;
        case 0x7F:
            EmitKey(NamedKey(Key::Backspace, mods));
            return;
        case 0x08:
            EmitKey(NamedKey(Key::Backspace, mods | kModCtrl));
            return;
        case 0x1B:
            EmitKey(NamedKey(Key::Escape, mods));
            return;
        case 0x00:
            EmitKey(CharKey(' ', mods | kModCtrl));
            return;
        default:
            break;
    }
    if (byte <= 0x1A) {
        EmitKey(CharKey(static_cast<uint8_t>('a' + byte - 1), mods | kModCtrl));
    } else if (byte >= 0x1C && byte <= 0x1F) {
        static const char kPunct[] = {'\\', ']', '^', '_'};
        EmitKey(CharKey(static_cast<uint8_t>(kPunct[byte - 0x1C]), mods | kModCtrl));
    }
}

void InputDecoder::Decode(bool final) {
    while (!buffer_.empty()) {
        uint8_t b = static_cast<uint8_t>(buffer_[0]);
        size_t used = 0;
        if (b == 0x1B) {
            if (ParseEscape(used, final) == Parse::Incomplete) {
                return;
            }
        } else if (b < 0x20 || b == 0x7F) {
            EmitControl(b, 0);
            used = 1;
        } else if (b < 0x80) {
            EmitKey(CharKey(b));
            used = 1;
        } else if (!utf8_) {
            EmitCodePoint(b, 0);
            used = 1;
        } else {
            int length = Utf8Length(b);
            if (static_cast<int>(buffer_.size()) < length && !final) {
                return;
            }
            size_t pos = 0;
            int32_t ch = DecodeUtf8(buffer_, pos);
            used = pos;
            if (ch >= 0) {
                EmitCodePoint(static_cast<char32_t>(ch), 0);
            }
        }
        buffer_.erase(0, used == 0 ? 1 : used);
    }
}

InputDecoder::Parse InputDecoder::ParseEscape(size_t& used, bool final) {
    if (buffer_.size() < 2) {
        if (!final) {
            return Parse::Incomplete;
        }
        EmitKey(NamedKey(Key::Escape));
        used = 1;
        return Parse::Done;
    }
    uint8_t next = static_cast<uint8_t>(buffer_[1]);
    uint8_t alt = 0;
    size_t at = 1;
    // ESC before a sequence is Alt with that key (some terminals send Alt+arrows so).
    if (next == 0x1B && buffer_.size() >= 3 && (buffer_[2] == '[' || buffer_[2] == 'O')) {
        alt = kModAlt;
        at = 2;
        next = static_cast<uint8_t>(buffer_[2]);
    }
    if (next == '[') {
        Parse p = ParseCsi(at + 1, alt, used);
        if (p == Parse::Incomplete && final) {
            used = buffer_.size();
            return Parse::Done;
        }
        return p;
    }
    if (next == 'O') {
        // SS3: optional modifier digits, then one final letter.
        size_t i = at + 1;
        while (i < buffer_.size() &&
               (std::isdigit(static_cast<unsigned char>(buffer_[i])) || buffer_[i] == ';')) {
            ++i;
        }
        if (i >= buffer_.size()) {
            if (!final) {
                return Parse::Incomplete;
            }
            // "ESC O" alone is Alt+O.
            EmitKey(CharKey('O', kModAlt));
            used = 2;
            return Parse::Done;
        }
        std::string_view digits = std::string_view(buffer_).substr(at + 1, i - at - 1);
        size_t semi = digits.rfind(';');
        int modParam =
            digits.empty()
                ? 1
                : std::atoi(
                      std::string(digits.substr(semi == std::string_view::npos ? 0 : semi + 1)).c_str());
        Key key = LetterKey(buffer_[i]);
        if (key != Key::None) {
            EmitKey(NamedKey(key, static_cast<uint8_t>(ModsFromParam(modParam) | alt)));
        }
        used = i + 1;
        return Parse::Done;
    }
    if (next == ']' || next == 'P' || next == '_' || next == '^') {
        // A terminal reply: skip to BEL or ESC \.
        for (size_t i = 2; i < buffer_.size(); ++i) {
            if (buffer_[i] == '\a') {
                used = i + 1;
                return Parse::Done;
            }
            if (buffer_[i] == 0x1B && i + 1 < buffer_.size() && buffer_[i + 1] == '\\') {
                used = i + 2;
                return Parse::Done;
            }
        }
        if (!final && buffer_.size() < kMaxSequence) {
            return Parse::Incomplete;
        }
        used = buffer_.size();
        return Parse::Done;
    }
    // Alt with a character (UTF-8 included) or a control code.
    if (next >= 0x80 && utf8_) {
        int length = Utf8Length(next);
        if (static_cast<int>(buffer_.size()) < 1 + length && !final) {
            return Parse::Incomplete;
        }
        size_t pos = 1;
        int32_t ch = DecodeUtf8(buffer_, pos);
        used = pos;
        if (ch >= 0) {
            EmitCodePoint(static_cast<char32_t>(ch), kModAlt);
        }
        return Parse::Done;
    }
    EmitCodePoint(next, kModAlt);
    used = 2;
    return Parse::Done;
}

InputDecoder::Parse InputDecoder::ParseCsi(size_t start, uint8_t extraMods, size_t& used) {
    // X10 mouse: ESC [ M and three raw bytes.
    if (start < buffer_.size() && buffer_[start] == 'M' && start == 2) {
        if (buffer_.size() < start + 4) {
            return Parse::Incomplete;
        }
        int cb = static_cast<uint8_t>(buffer_[start + 1]) - 32;
        int col = static_cast<uint8_t>(buffer_[start + 2]) - 32;
        int row = static_cast<uint8_t>(buffer_[start + 3]) - 32;
        EmitMouse(cb, col, row, (cb & 3) == 3 && (cb & 64) == 0, extraMods);
        used = start + 4;
        return Parse::Done;
    }
    // Linux console F1..F5: ESC [ [ A..E.
    if (start < buffer_.size() && buffer_[start] == '[') {
        if (buffer_.size() < start + 2) {
            return Parse::Incomplete;
        }
        char c = buffer_[start + 1];
        if (c >= 'A' && c <= 'E') {
            EmitKey(FunctionKey(c - 'A' + 1, extraMods));
        }
        used = start + 2;
        return Parse::Done;
    }
    char prefix = 0;
    size_t i = start;
    if (i < buffer_.size() &&
        (buffer_[i] == '<' || buffer_[i] == '?' || buffer_[i] == '>' || buffer_[i] == '=')) {
        prefix = buffer_[i];
        ++i;
    }
    size_t paramStart = i;
    while (i < buffer_.size()) {
        uint8_t c = static_cast<uint8_t>(buffer_[i]);
        // rxvt ends its shifted keys with "$", which is otherwise an intermediate byte.
        if ((c >= 0x40 && c <= 0x7E) || (c == '$' && prefix == 0)) {
            EmitCsi(std::string_view(buffer_).substr(paramStart, i - paramStart), prefix,
                    static_cast<char>(c), extraMods);
            used = i + 1;
            return Parse::Done;
        }
        if (c < 0x20 || c > 0x3F) {
            // Not a CSI after all: drop what was read and decode the rest afresh.
            used = i;
            return Parse::Done;
        }
        ++i;
    }
    if (buffer_.size() >= kMaxSequence) {
        used = buffer_.size();
        return Parse::Done;
    }
    return Parse::Incomplete;
}

void InputDecoder::EmitCsi(std::string_view params, char prefix, char final, uint8_t extraMods) {
    std::vector<Param> p = SplitParams(params);
    auto value = [&](size_t index, int fallback) {
        return index < p.size() && p[index].value >= 0 ? p[index].value : fallback;
    };
    if (prefix == '<' && (final == 'M' || final == 'm')) {
        EmitMouse(value(0, 0), value(1, 1), value(2, 1), final == 'm', extraMods);
        return;
    }
    if (prefix == '?' && final == 'u') {
        csiUReported_ = true;
        return;
    }
    if (prefix != 0) {
        return;  // replies (device attributes and the like)
    }
    // The event type (1 press, 2 repeat, 3 release) of the CSI-u protocol rides on the modifiers.
    int eventType = p.size() > 1 && p[1].sub > 0 ? p[1].sub : 1;
    uint8_t mods = static_cast<uint8_t>(ModsFromParam(value(1, 1)) | extraMods);
    if (final == 'u') {
        EmitCsiU(params, extraMods);
        return;
    }
    if (eventType == 3) {
        return;
    }
    if (final == '~') {
        int number = value(0, 0);
        if (number == 27 && p.size() >= 3) {
            // modifyOtherKeys: ESC [ 27 ; mods ; code ~
            EmitCodePoint(static_cast<char32_t>(value(2, 0)), mods);
            return;
        }
        Key key = TildeKey(number);
        if (key != Key::None) {
            EmitKey(NamedKey(key, mods));
        }
        return;
    }
    if (final == '^' || final == '$' || final == '@') {
        // rxvt: ^ Ctrl, $ Shift, @ Ctrl+Shift.
        uint8_t rxvtMods = final == '^' ? kModCtrl : final == '$' ? kModShift : kModCtrl | kModShift;
        Key key = TildeKey(value(0, 0));
        if (key != Key::None) {
            EmitKey(NamedKey(key, static_cast<uint8_t>(rxvtMods | extraMods)));
        }
        return;
    }
    if (final == 'Z') {
        EmitKey(NamedKey(Key::Tab, static_cast<uint8_t>(mods | kModShift)));
        return;
    }
    Key key = LetterKey(final);
    if (key != Key::None && final != 'M') {
        EmitKey(NamedKey(key, mods));
    }
}

void InputDecoder::EmitCsiU(std::string_view params, uint8_t extraMods) {
    std::vector<Param> p = SplitParams(params);
    if (p.empty() || p[0].value < 0) {
        return;
    }
    int code = p[0].value;
    int shifted = p[0].sub;
    int modParam = p.size() > 1 && p[1].value > 0 ? p[1].value : 1;
    int eventType = p.size() > 1 && p[1].sub > 0 ? p[1].sub : 1;
    uint8_t mods = static_cast<uint8_t>(ModsFromParam(modParam) | extraMods);
    if (code == kRightCtrlCode) {
        if (eventType == 1) {
            rightCtrlArmed_ = true;
        } else if (eventType == 3 && rightCtrlArmed_) {
            rightCtrlArmed_ = false;
            events_.push_back(Event::OfKey(NamedKey(Key::RightCtrl)));
        }
        return;
    }
    if (eventType == 3 || (code >= kFirstModifierCode && code <= kLastModifierCode)) {
        return;
    }
    switch (code) {
        case 13:
            EmitKey(NamedKey(Key::Enter, mods));
            return;
        case 9:
            EmitKey(NamedKey(Key::Tab, mods));
            return;
        case 27:
            EmitKey(NamedKey(Key::Escape, mods));
            return;
        case 127:
            EmitKey(NamedKey(Key::Backspace, mods));
            return;
        default:
            break;
    }
    if (code < 0x20 || code > 0x10FFFF || (code >= 0xE000 && code <= 0xF8FF) || code >= 57344) {
        return;  // private-use codes of keys we do not know
    }
    char32_t ch = static_cast<char32_t>(code);
    if ((mods & kModShift) && shifted > 0) {
        ch = static_cast<char32_t>(shifted);
    } else if ((mods & kModShift) && ch < 0x80 && std::islower(static_cast<int>(ch))) {
        ch = static_cast<char32_t>(std::toupper(static_cast<int>(ch)));
    }
    EmitCodePoint(ch, mods);
}

void InputDecoder::EmitMouse(int cb, int col, int row, bool release, uint8_t extraMods) {
    MouseEvent m;
    m.row = row - 1;
    m.col = col - 1;
    m.mods = extraMods;
    if (cb & 4) {
        m.mods |= kModShift;
    }
    if (cb & 8) {
        m.mods |= kModAlt;
    }
    if (cb & 16) {
        m.mods |= kModCtrl;
    }
    if (m.row < 0 || m.col < 0) {
        return;
    }
    int button = cb & 3;
    rightCtrlArmed_ = false;
    if (cb & 64) {
        if (button == 0 || button == 1) {
            m.action = button == 0 ? MouseAction::WheelUp : MouseAction::WheelDown;
            m.button = MouseButton::None;
            events_.push_back(Event::OfMouse(m));
        }
        return;
    }
    m.button = button == 0   ? MouseButton::Left
               : button == 1 ? MouseButton::Middle
               : button == 2 ? MouseButton::Right
                             : MouseButton::None;
    if (cb & 32) {
        if (m.button == MouseButton::None) {
            return;  // motion without a button
        }
        m.action = MouseAction::Drag;
        dragging_ = true;
        events_.push_back(Event::OfMouse(m));
        return;
    }
    if (release) {
        m.action = MouseAction::Release;
        dragging_ = false;
        events_.push_back(Event::OfMouse(m));
        return;
    }
    m.action = MouseAction::Press;
    if (m.button == MouseButton::Left) {
        if (now_ - lastPressMs_ <= kDoubleClickMs && m.row == lastPressRow_ && m.col == lastPressCol_) {
            m.action = MouseAction::DoubleClick;
            lastPressMs_ = -1000000;
        } else {
            lastPressMs_ = now_;
            lastPressRow_ = m.row;
            lastPressCol_ = m.col;
        }
    }
    events_.push_back(Event::OfMouse(m));
}

}  // namespace ui

}  // namespace tavoe
