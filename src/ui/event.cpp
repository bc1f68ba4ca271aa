#include "ui/event.h"

namespace tavoe {

namespace ui {
namespace {

struct KeyNameRow {
    Key key;
    const char* name;
};

constexpr KeyNameRow kKeyNames[] = {
    {Key::Enter, "Enter"},   {Key::Tab, "Tab"},    {Key::Backspace, "BS"},    {Key::Delete, "Del"},
    {Key::Insert, "Ins"},    {Key::Home, "Home"},  {Key::End, "End"},         {Key::Up, "Up"},
    {Key::Down, "Down"},     {Key::Left, "Left"},  {Key::Right, "Right"},     {Key::PageUp, "PgUp"},
    {Key::PageDown, "PgDn"}, {Key::Escape, "Esc"}, {Key::RightCtrl, "RCtrl"},
};

}  // namespace

KeyEvent CharKey(uint8_t ch, uint8_t mods) {
    return KeyEvent{Key::Char, ch, mods};
}

KeyEvent NamedKey(Key key, uint8_t mods) {
    return KeyEvent{key, 0, mods};
}

KeyEvent FunctionKey(int n, uint8_t mods) {
    if (n < 1 || n > 12) {
        return KeyEvent{};
    }
    return KeyEvent{static_cast<Key>(static_cast<int>(Key::F1) + n - 1), 0, mods};
}

int FunctionKeyNumber(const KeyEvent& key) {
    int base = static_cast<int>(key.key) - static_cast<int>(Key::F1);
    if (base < 0 || base > 11) {
        return 0;
    }
    if (key.mods & kModShift) {
        return 13 + base;
    }
    if (key.mods & kModCtrl) {
        return 25 + base;
    }
    if (key.mods & kModAlt) {
        return 37 + base;
    }
    return 1 + base;
}

std::string KeyName(const KeyEvent& key) {
    std::string prefix;
    if (key.mods & kModShift) {
        prefix += "S-";
    }
    if (key.mods & kModCtrl) {
        prefix += "C-";
    }
    if (key.mods & kModAlt) {
        prefix += "A-";
    }
    if (key.key == Key::Char) {
        if (prefix.empty()) {
            return key.ch == '<' ? "<Lt>" : std::string(1, static_cast<char>(key.ch));
        }
        return "<" + prefix +
               (key.ch == '<' ? std::string("Lt") : std::string(1, static_cast<char>(key.ch))) + ">";
    }
    int f = static_cast<int>(key.key) - static_cast<int>(Key::F1);
    if (f >= 0 && f < 12) {
        return "<" + prefix + "F" + std::to_string(f + 1) + ">";
    }
    for (const KeyNameRow& row : kKeyNames) {
        if (row.key == key.key) {
            return "<" + prefix + row.name + ">";
        }
    }
    return "<None>";
}

Event Event::OfKey(const KeyEvent& key) {
    Event e;
    e.kind = EventKind::Key;
    e.key = key;
    return e;
}

Event Event::OfMouse(const MouseEvent& mouse) {
    Event e;
    e.kind = EventKind::Mouse;
    e.mouse = mouse;
    return e;
}

Event Event::OfResize(int rows, int cols) {
    Event e;
    e.kind = EventKind::Resize;
    e.rows = rows;
    e.cols = cols;
    return e;
}

Event Event::Of(EventKind kind) {
    Event e;
    e.kind = kind;
    return e;
}

}  // namespace ui

}  // namespace tavoe
