#include "editing/keys_tables.h"

namespace tavoe {

namespace {

using ui::Key;
using ui::kModCtrl;
using ui::kModShift;
using R = KeyRule;
using A = KeyAction;
using S = ShiftExtends;

constexpr uint8_t kAny = 0;  // `care` of a row that takes the key with any modifiers
constexpr uint8_t kAll = ui::kModShift | ui::kModCtrl | ui::kModAlt;

// The primary command field of an edit session. The field always inserts; keys that move the
// cursor leave it for the data window, and the scroll keys take the field's text as their amount.
constexpr KeyRow kCommandFieldKeys[] = {
    {Key::Enter, kModCtrl, kModCtrl, R::ExecuteOrProcess},
    {Key::Enter, kAny, 0, R::CommandEnter},
    {Key::RightCtrl, kAny, 0, R::RightCtrlEnter},
    {Key::Tab, kModShift, kModShift, R::Act, A::FieldToDataBackTab},
    {Key::Tab, kAny, 0, R::Act, A::FieldToDataTab},
    {Key::Up, kAny, 0, R::Act, A::FieldToDataUp},
    {Key::Down, kAny, 0, R::Act, A::FieldToDataDown},
    {Key::PageUp, kModCtrl, kModCtrl, R::Run, A::None, S::No, "TOP"},
    {Key::PageUp, kAny, 0, R::ScrollAmount, A::None, S::No, "UP"},
    {Key::PageDown, kModCtrl, kModCtrl, R::Run, A::None, S::No, "BOTTOM"},
    {Key::PageDown, kAny, 0, R::ScrollAmount, A::None, S::No, "DOWN"},
    {Key::Insert, kAny, 0, R::Refuse, A::None, S::No,
     "Overtype mode not supported in Primary Command Field."},
    {Key::Escape, kAny, 0, R::Swallow},
    {Key::Backspace, kAny, 0, R::Pass},
    {Key::Delete, kAny, 0, R::Pass},
    {Key::Left, kAny, 0, R::Pass},
    {Key::Right, kAny, 0, R::Pass},
    {Key::Home, kAny, 0, R::Pass},
    {Key::End, kAny, 0, R::Pass},
};

// The COLS field only shows the columns: it leaves for the data window and scrolls, and swallows
// the keys that would edit a text.
constexpr KeyRow kColsFieldKeys[] = {
    {Key::Enter, kAny, 0, R::Act, A::MoveToData},
    {Key::Tab, kModShift, kModShift, R::Act, A::FieldToDataBackTab},
    {Key::Tab, kAny, 0, R::Act, A::FieldToDataTab},
    {Key::Up, kAny, 0, R::Act, A::FieldToDataUp},
    {Key::Down, kAny, 0, R::Act, A::FieldToDataDown},
    {Key::PageUp, kModCtrl, kModCtrl, R::Run, A::None, S::No, "TOP"},
    {Key::PageUp, kAny, 0, R::ScrollAmount, A::None, S::No, "UP"},
    {Key::PageDown, kModCtrl, kModCtrl, R::Run, A::None, S::No, "BOTTOM"},
    {Key::PageDown, kAny, 0, R::ScrollAmount, A::None, S::No, "DOWN"},
    {Key::Backspace, kAny, 0, R::Swallow},
    {Key::Delete, kAny, 0, R::Swallow},
    {Key::Insert, kAny, 0, R::Swallow},
    {Key::Escape, kAny, 0, R::Swallow},
    {Key::Left, kAny, 0, R::Swallow},
    {Key::Right, kAny, 0, R::Swallow},
    {Key::Home, kAny, 0, R::Swallow},
    {Key::End, kAny, 0, R::Swallow},
};

// The prefix area while a line command is typed: only these keys differ from the data window.
constexpr KeyRow kLineFieldKeys[] = {
    {Key::Insert, kAny, 0, R::Refuse, A::None, S::No, "Overtype mode not supported in Line Command Field."},
    {Key::Up, kAny, 0, R::Act, A::LineFieldUp},
    {Key::Down, kAny, 0, R::Act, A::LineFieldDown},
};

// The data window of an edit session.
constexpr KeyRow kDataWindowKeys[] = {
    {Key::Enter, kModCtrl, kModCtrl, R::ExecuteOrProcess},
    {Key::Enter, kAny, 0, R::DataEnter},
    {Key::RightCtrl, kAny, 0, R::RightCtrlEnter},
    {Key::Backspace, kAny, 0, R::Act, A::Backspace},
    {Key::Tab, kModShift, kModShift, R::Act, A::BackTab},
    {Key::Tab, kAny, 0, R::Act, A::Tab},
    {Key::Left, kModCtrl, kModCtrl, R::Act, A::CtrlLeft, S::Yes},
    {Key::Left, kAny, 0, R::Act, A::CursorLeft, S::Yes},
    {Key::Right, kModCtrl, kModCtrl, R::Act, A::CtrlRight, S::Yes},
    {Key::Right, kAny, 0, R::Act, A::CursorRight, S::Yes},
    // Ctrl+Up and Ctrl+Down have no Shift form: with Shift they extend the selection a row.
    {Key::Up, kModCtrl | kModShift, kModCtrl, R::Act, A::CtrlUp},
    {Key::Up, kAny, 0, R::Act, A::CursorUp, S::Yes},
    {Key::Down, kModCtrl | kModShift, kModCtrl, R::Act, A::CtrlDown},
    {Key::Down, kAny, 0, R::Act, A::CursorDown, S::Yes},
    {Key::Home, kAny, 0, R::Act, A::Home, S::Yes},
    {Key::End, kModShift, kModShift, R::Run, A::None, S::No, "SELECT EOL"},
    {Key::End, kAny, 0, R::Act, A::End},
    {Key::PageUp, kModCtrl, kModCtrl, R::Run, A::None, S::No, "TOP"},
    {Key::PageUp, kAny, 0, R::ScrollAmount, A::None, S::No, "UP"},
    {Key::PageDown, kModCtrl, kModCtrl, R::Run, A::None, S::No, "BOTTOM"},
    {Key::PageDown, kAny, 0, R::ScrollAmount, A::None, S::No, "DOWN"},
    {Key::Delete, kModCtrl, kModCtrl, R::Act, A::DeleteToEndOfLine},
    {Key::Delete, kAny, 0, R::Act, A::DeleteChar},
    {Key::Insert, kAll, 0, R::ToggleInsert},
};

// The command field of a file list: the field edits its own text; the list moves the focus.
constexpr KeyRow kFileListCommandKeys[] = {
    {Key::Enter, kAny, 0, R::ListEnter}, {Key::RightCtrl, kAny, 0, R::ListRightCtrl},
    {Key::Escape, kAny, 0, R::Swallow},  {Key::Backspace, kAny, 0, R::Pass},
    {Key::Delete, kAny, 0, R::Pass},     {Key::Insert, kAny, 0, R::Pass},
    {Key::Left, kAny, 0, R::Pass},       {Key::Right, kAny, 0, R::Pass},
    {Key::Home, kAny, 0, R::Pass},       {Key::End, kAny, 0, R::Pass},
};

bool Matches(const KeyRow& row, const ui::KeyEvent& key) {
    return row.key == key.key && (key.mods & row.care) == row.mods;
}

const KeyRow* FindIn(std::span<const KeyRow> table, const ui::KeyEvent& key) {
    for (const KeyRow& row : table) {
        if (Matches(row, key)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

std::span<const KeyRow> KeyTable(KeyField field) {
    switch (field) {
        case KeyField::Command:
            return kCommandFieldKeys;
        case KeyField::Cols:
            return kColsFieldKeys;
        case KeyField::Prefix:
            return kLineFieldKeys;
        case KeyField::Data:
            return kDataWindowKeys;
        case KeyField::FileListCommand:
            return kFileListCommandKeys;
        case KeyField::FileList:
        case KeyField::Menu:
            break;
    }
    return {};
}

const KeyRow* FindKeyRow(KeyField field, const ui::KeyEvent& key) {
    const KeyRow* row = FindIn(KeyTable(field), key);
    if (row == nullptr && field == KeyField::Prefix) {
        row = FindIn(kDataWindowKeys, key);
    }
    return row;
}

}  // namespace tavoe
