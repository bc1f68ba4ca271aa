#pragma once

#include <cstdint>
#include <span>

#include "editing/keys.h"
#include "ui/event.h"

namespace tavoe {

// The fixed key tables of the fields: which named key, under which modifiers, does what. Function
// keys and typed characters are decided before the tables; everything else is looked up here.

// How a table row is carried out.
enum class KeyRule : uint8_t {
    Act,               // the row's action
    Pass,              // the focused text field handles the key itself
    Swallow,           // nothing happens
    Run,               // the row's command text runs; the command field keeps its text
    ScrollAmount,      // the row's verb runs with the command field's text as amount; the field is cleared
    Refuse,            // the row's text is shown (beep 2) and nothing else happens
    ToggleInsert,      // insert and overtype change places
    CommandEnter,      // Enter in the primary command field
    ExecuteOrProcess,  // Ctrl+Enter: the command field's text runs, or the line commands when it is empty
    DataEnter,         // Enter in the data window and the prefix area
    RightCtrlEnter,    // right Ctrl released, in an edit session
    ListEnter,         // Enter in the file list command field
    ListRightCtrl,     // right Ctrl released in the file list command field
};

// Whether Shift on a cursor row extends the selection.
enum class ShiftExtends : uint8_t { No, Yes };

// A row matches a key when the key is the row's key and the modifiers, masked by `care`, equal
// `mods`. Rows are walked in order and the first match wins, so rows that need a modifier come
// before the row that takes the key with any modifier.
struct KeyRow {
    ui::Key key;
    uint8_t care;
    uint8_t mods;
    KeyRule rule;
    KeyAction action = KeyAction::None;
    ShiftExtends shift = ShiftExtends::No;
    const char* text = nullptr;
};

// The table of a field.
std::span<const KeyRow> KeyTable(KeyField field);

// The row for the key in the field; the prefix area falls back to the data window's table. Null when
// the field has no row for it.
const KeyRow* FindKeyRow(KeyField field, const ui::KeyEvent& key);

}  // namespace tavoe
