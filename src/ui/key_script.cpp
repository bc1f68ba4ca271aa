#include "ui/key_script.h"

#include <cctype>
#include <charconv>

#include "platform/ascii_case.h"

namespace tavoe {

namespace ui {
namespace {

struct NamedKeyRow {
    const char* name;
    Key key;
};

constexpr NamedKeyRow kNamedKeys[] = {
    {"ENTER", Key::Enter},   {"TAB", Key::Tab},    {"BS", Key::Backspace},    {"DEL", Key::Delete},
    {"INS", Key::Insert},    {"HOME", Key::Home},  {"END", Key::End},         {"UP", Key::Up},
    {"DOWN", Key::Down},     {"LEFT", Key::Left},  {"RIGHT", Key::Right},     {"PGUP", Key::PageUp},
    {"PGDN", Key::PageDown}, {"ESC", Key::Escape}, {"RCTRL", Key::RightCtrl}, {"F1", Key::F1},
    {"F2", Key::F2},         {"F3", Key::F3},      {"F4", Key::F4},           {"F5", Key::F5},
    {"F6", Key::F6},         {"F7", Key::F7},      {"F8", Key::F8},           {"F9", Key::F9},
    {"F10", Key::F10},       {"F11", Key::F11},    {"F12", Key::F12},
};

// "ROW,COL" with both from 1.
bool ParsePosition(std::string_view text, int& row, int& col) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return false;
    }
    std::string_view r = text.substr(0, comma);
    std::string_view c = text.substr(comma + 1);
    auto [rEnd, rErr] = std::from_chars(r.data(), r.data() + r.size(), row);
    auto [cEnd, cErr] = std::from_chars(c.data(), c.data() + c.size(), col);
    return rErr == std::errc() && cErr == std::errc() && rEnd == r.data() + r.size() &&
           cEnd == c.data() + c.size() && row >= 1 && col >= 1 && row <= 10000 && col <= 10000;
}

// "ROW,COL,ROW2,COL2": cuts the second position off `where` into row2 and col2. False when `where`
// holds only one position (or the second is bad, which the caller then reports).
bool SplitDrag(std::string_view& where, int& row2, int& col2) {
    size_t first = where.find(',');
    size_t second = first == std::string_view::npos ? first : where.find(',', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    if (!ParsePosition(where.substr(second + 1), row2, col2)) {
        return false;
    }
    where = where.substr(0, second);
    return true;
}

}  // namespace

bool KeyScriptParser::Parse(std::string_view text, std::vector<Event>& out, std::string& error) {
    std::vector<Event> events;
    int savedRow = lastRow_;
    int savedCol = lastCol_;
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '<') {
            size_t close = text.find('>', pos + 1);
            if (close == std::string_view::npos) {
                error = "unclosed key name " + std::string(text.substr(pos));
                lastRow_ = savedRow;
                lastCol_ = savedCol;
                return false;
            }
            if (!ParseToken(text.substr(pos + 1, close - pos - 1), events, error)) {
                lastRow_ = savedRow;
                lastCol_ = savedCol;
                return false;
            }
            pos = close + 1;
            continue;
        }
        size_t start = pos;
        int32_t ch = DecodeUtf8(text, pos);
        int byte = static_cast<uint8_t>(text[start]);
        if (ch >= 0x80) {
            byte = DisplayByteOf(static_cast<char32_t>(ch), set_);
            if (byte < 0) {
                byte = '?';
            }
        }
        events.push_back(Event::OfKey(CharKey(static_cast<uint8_t>(byte))));
    }
    out.insert(out.end(), events.begin(), events.end());
    return true;
}

bool KeyScriptParser::ParseToken(std::string_view token, std::vector<Event>& out, std::string& error) {
    std::string whole = "<" + std::string(token) + ">";
    uint8_t mods = 0;
    std::string_view rest = token;
    // Modifier prefixes; a lone "S", "C" or "A" after them is the character itself (<C-a>, <S-->).
    while (rest.size() > 2 && rest[1] == '-') {
        char m = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
        uint8_t bit = m == 'S' ? kModShift : m == 'C' ? kModCtrl : m == 'A' ? kModAlt : 0;
        if (bit == 0) {
            break;
        }
        mods |= bit;
        rest.remove_prefix(2);
    }
    if (rest.empty()) {
        error = "unknown key name " + whole;
        return false;
    }
    std::string upper = UpperAscii(rest);
    // Mouse.
    size_t colon = upper.find(':');
    std::string word = upper.substr(0, colon);
    if (word == "CLICK" || word == "DBLCLICK" || word == "RCLICK" || word == "DRAG" || word == "WHEELUP" ||
        word == "WHEELDOWN") {
        int row = lastRow_;
        int col = lastCol_;
        bool wheel = word == "WHEELUP" || word == "WHEELDOWN";
        std::string_view where =
            colon == std::string::npos ? std::string_view{} : std::string_view(upper).substr(colon + 1);
        int row2 = 0;
        int col2 = 0;
        if (word == "DRAG" && SplitDrag(where, row2, col2)) {
            // <Drag:ROW,COL,ROW2,COL2>: press at the first place, move to the second, release there.
            if (!ParsePosition(where, row, col)) {
                error = "bad mouse position in " + whole;
                return false;
            }
            MouseEvent m;
            m.mods = mods;
            m.row = row - 1;
            m.col = col - 1;
            m.action = MouseAction::Press;
            out.push_back(Event::OfMouse(m));
            m.row = row2 - 1;
            m.col = col2 - 1;
            m.action = MouseAction::Drag;
            out.push_back(Event::OfMouse(m));
            m.action = MouseAction::Release;
            out.push_back(Event::OfMouse(m));
            lastRow_ = m.row;
            lastCol_ = m.col;
            return true;
        }
        if (colon == std::string::npos) {
            if (!wheel) {
                error = "mouse key needs a position, as <Click:ROW,COL>: " + whole;
                return false;
            }
        } else if (!ParsePosition(where, row, col)) {
            error = "bad mouse position in " + whole;
            return false;
        } else {
            --row;
            --col;
        }
        lastRow_ = row;
        lastCol_ = col;
        MouseEvent m;
        m.row = row;
        m.col = col;
        m.mods = mods;
        if (word == "CLICK") {
            m.action = MouseAction::Press;
        } else if (word == "DBLCLICK") {
            m.action = MouseAction::DoubleClick;
        } else if (word == "RCLICK") {
            m.action = MouseAction::Press;
            m.button = MouseButton::Right;
        } else if (word == "DRAG") {
            m.action = MouseAction::Drag;
        } else {
            m.action = word == "WHEELUP" ? MouseAction::WheelUp : MouseAction::WheelDown;
            m.button = MouseButton::None;
        }
        out.push_back(Event::OfMouse(m));
        return true;
    }
    if (colon != std::string::npos) {
        error = "unknown key name " + whole;
        return false;
    }
    if (upper == "LT") {
        out.push_back(Event::OfKey(CharKey('<', mods)));
        return true;
    }
    if (upper == "SPACE") {
        out.push_back(Event::OfKey(CharKey(' ', mods)));
        return true;
    }
    for (const NamedKeyRow& row : kNamedKeys) {
        if (upper == row.name) {
            out.push_back(Event::OfKey(NamedKey(row.key, mods)));
            return true;
        }
    }
    // A single character with modifiers.
    size_t pos = 0;
    int32_t ch = DecodeUtf8(rest, pos);
    if (mods != 0 && pos == rest.size() && ch > 0x20 && ch < 0x7F) {
        uint8_t c = static_cast<uint8_t>(ch);
        if (mods & kModCtrl) {
            c = static_cast<uint8_t>(std::tolower(c));
        }
        out.push_back(Event::OfKey(CharKey(c, mods)));
        return true;
    }
    error = "unknown key name " + whole;
    return false;
}

}  // namespace ui

}  // namespace tavoe
