#pragma once

#include <cstdint>
#include <string>

namespace tavoe {

namespace ui {

// Named keys. Key::Char carries a display byte in KeyEvent::ch.
enum class Key : uint8_t {
    None,
    Char,
    Enter,
    Tab,
    Backspace,
    Delete,
    Insert,
    Home,
    End,
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    Escape,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    RightCtrl,  // the right Ctrl key pressed and released on its own
};

// Modifier bits of KeyEvent::mods and MouseEvent::mods.
constexpr uint8_t kModShift = 1;
constexpr uint8_t kModCtrl = 2;
constexpr uint8_t kModAlt = 4;

// One key press. Ctrl+letter and Alt+letter are Key::Char with the modifier; a Ctrl+letter carries
// the lower-case letter. Shift on a plain character is already in the character.
struct KeyEvent {
    Key key = Key::None;
    uint8_t ch = 0;
    uint8_t mods = 0;

    bool Is(Key k, uint8_t m = 0) const { return key == k && mods == m; }
    bool IsChar() const { return key == Key::Char && (mods & (kModCtrl | kModAlt)) == 0; }
    bool IsCtrlLetter(char letter) const { return key == Key::Char && mods == kModCtrl && ch == letter; }
    bool operator==(const KeyEvent&) const = default;
};

KeyEvent CharKey(uint8_t ch, uint8_t mods = 0);
KeyEvent NamedKey(Key key, uint8_t mods = 0);
KeyEvent FunctionKey(int n, uint8_t mods = 0);  // n = 1..12

// The number 1-48 of a function key: F1-F12 alone 1-12, with Shift 13-24, with Ctrl 25-36, with Alt
// 37-48. Shift wins over Ctrl and Ctrl over Alt. 0 for any other key.
int FunctionKeyNumber(const KeyEvent& key);

// The key in the notation of batch scripts: "a", "<Enter>", "<S-F3>", "<C-x>", "<Lt>".
std::string KeyName(const KeyEvent& key);

enum class MouseAction : uint8_t { Press, DoubleClick, Release, Drag, WheelUp, WheelDown };
enum class MouseButton : uint8_t { None, Left, Middle, Right };

// Mouse position in canvas cells from 0 (a widget receives it relative to its own rectangle).
struct MouseEvent {
    MouseAction action = MouseAction::Press;
    MouseButton button = MouseButton::Left;
    int row = 0;
    int col = 0;
    uint8_t mods = 0;
    bool operator==(const MouseEvent&) const = default;
};

enum class EventKind : uint8_t {
    None,
    Key,
    Mouse,
    Resize,     // the terminal changed size: rows and cols
    Wake,       // another part of the program raised the wake-up pipe
    TypedLine,  // headless: a script line typed into the current field, followed by Enter
    EndOfInput  // the script ended (or failed); repeated for every later wait
};

struct Event {
    EventKind kind = EventKind::None;
    KeyEvent key;
    MouseEvent mouse;
    int rows = 0;
    int cols = 0;
    std::string text;

    static Event OfKey(const KeyEvent& key);
    static Event OfMouse(const MouseEvent& mouse);
    static Event OfResize(int rows, int cols);
    static Event Of(EventKind kind);
};

}  // namespace ui

}  // namespace tavoe
