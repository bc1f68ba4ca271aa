#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/keys.h"
#include "profiles/profile_defaults.h"

using namespace tavoe;

using ui::CharKey;
using ui::FunctionKey;
using ui::Key;
using ui::kModAlt;
using ui::kModCtrl;
using ui::kModShift;
using ui::NamedKey;

namespace {

// An instance with the shipped key defaults (F1 Help ... F12 Retrieve, Ctrl+S SAVE, ...).
struct KeysTest : ::testing::Test {
    KeysTest() { ApplyProfileDefaults(app); }

    KeyOutcome Press(KeyField field, const ui::KeyEvent& key, std::string_view commandText = {}) {
        KeyContext context;
        context.field = field;
        context.commandText = commandText;
        return MapKey(app, context, key);
    }

    KeyOutcome Type(uint8_t ch, std::string_view prefixText, int prefixOffset) {
        KeyContext context;
        context.field = KeyField::Prefix;
        context.prefixText = prefixText;
        context.prefixOffset = prefixOffset;
        return MapKey(app, context, CharKey(ch));
    }

    const ShownMessage& LastMessage() const { return app.messages.back(); }

    AppSession app;
};

}  // namespace

TEST_F(KeysTest, ShiftWinsOverCtrlAndCtrlOverAlt) {
    VarSetValue(app, "ZF03.SHIFT", "SHIFT3");
    VarSetValue(app, "ZF03.CTRL", "CTRL3");
    VarSetValue(app, "ZF03.ALT", "ALT3");
    EXPECT_EQ(Press(KeyField::Data, FunctionKey(3, kModShift | kModCtrl)).command, "SHIFT3");
    EXPECT_EQ(Press(KeyField::Data, FunctionKey(3, kModShift | kModAlt)).command, "SHIFT3");
    EXPECT_EQ(Press(KeyField::Data, FunctionKey(3, kModCtrl | kModAlt)).command, "CTRL3");
    EXPECT_EQ(Press(KeyField::Data, FunctionKey(3, kModAlt)).command, "ALT3");
    EXPECT_EQ(Press(KeyField::Data, FunctionKey(3)).command, "End");
}

TEST(FunctionKeyNumbers, VariablesAndNamesOfEachGroup) {
    EXPECT_EQ(FunctionKeyVariable(1), "ZF01.BASE");
    EXPECT_EQ(FunctionKeyVariable(12), "ZF12.BASE");
    EXPECT_EQ(FunctionKeyVariable(13), "ZF01.SHIFT");
    EXPECT_EQ(FunctionKeyVariable(24), "ZF12.SHIFT");
    EXPECT_EQ(FunctionKeyVariable(25), "ZF01.CTRL");
    EXPECT_EQ(FunctionKeyVariable(36), "ZF12.CTRL");
    EXPECT_EQ(FunctionKeyVariable(37), "ZF01.ALT");
    EXPECT_EQ(FunctionKeyVariable(48), "ZF12.ALT");
    EXPECT_EQ(FunctionKeyVariable(0), "");
    EXPECT_EQ(FunctionKeyVariable(49), "");
    EXPECT_EQ(FunctionKeyLabelVariable(15), "ZF03.SHIFT.LABEL");
    EXPECT_EQ(FunctionKeyName(1), "F1");
    EXPECT_EQ(FunctionKeyName(15), "Shift F3");
    EXPECT_EQ(FunctionKeyName(36), "Ctrl F12");
    EXPECT_EQ(FunctionKeyName(37), "Alt F1");
    EXPECT_EQ(FunctionKeyName(-1), "");
}

TEST_F(KeysTest, MissingAndInvalidMappingsAreReported) {
    EXPECT_EQ(FunctionKeyCommand(app, 0), "");
    EXPECT_EQ(LastMessage().text, "Invalid function key number: 0");
    EXPECT_EQ(LastMessage().to, MsgTo::Box);
    EXPECT_EQ(LastMessage().beep, Beep::Exclamation);
    EXPECT_EQ(FunctionKeyCommand(app, 49), "");
    EXPECT_EQ(LastMessage().text, "Invalid function key number: 49");

    VarSetValue(app, "ZF07.BASE", "");
    KeyOutcome outcome = Press(KeyField::Command, FunctionKey(7), "5");
    EXPECT_EQ(outcome.action, KeyAction::None);
    EXPECT_EQ(outcome.clearField, FieldClear::Keep);  // nothing ran, the amount stays typed
    EXPECT_EQ(LastMessage().text, "Function key F7 has no mapping value");

    Press(KeyField::Data, FunctionKey(5, kModShift));
    EXPECT_EQ(LastMessage().text, "Function key SHIFT-F5 has no mapping value");
    Press(KeyField::Data, FunctionKey(11, kModCtrl));
    EXPECT_EQ(LastMessage().text, "Function key CTRL-F11 has no mapping value");
    Press(KeyField::Menu, FunctionKey(6, kModAlt));
    EXPECT_EQ(LastMessage().text, "Function key ALT-F6 has no mapping value");
    EXPECT_EQ(LastMessage().to, MsgTo::Box);

    VarSetValue(app, "ZF02.CTRL", "   ");  // blanks are no mapping
    EXPECT_EQ(Press(KeyField::Data, FunctionKey(2, kModCtrl)).action, KeyAction::None);
    EXPECT_EQ(LastMessage().text, "Function key CTRL-F2 has no mapping value");
}

TEST_F(KeysTest, FunctionKeyTakesTheCommandFieldAsParameter) {
    KeyOutcome down = Press(KeyField::Data, FunctionKey(8), " 5 ");
    EXPECT_EQ(down.action, KeyAction::RunCommand);
    EXPECT_EQ(down.command, "Down 5");
    EXPECT_EQ(down.route, CommandRoute::Edit);
    EXPECT_EQ(down.clearField, FieldClear::Clear);

    KeyOutcome empty = Press(KeyField::Command, FunctionKey(7), "");
    EXPECT_EQ(empty.command, "Up");

    // Instance commands never take the field, yet the field is still cleared.
    KeyOutcome swap = Press(KeyField::Command, FunctionKey(9), "abc");
    EXPECT_EQ(swap.command, "Swap");
    EXPECT_EQ(swap.clearField, FieldClear::Clear);
    EXPECT_EQ(Press(KeyField::Command, FunctionKey(12, kModShift), "abc").command, "RETRIEVE BACK");
    EXPECT_EQ(Press(KeyField::Command, FunctionKey(3), "abc").command, "End");
    VarSetValue(app, "ZF10.CTRL", "  splitv now");
    EXPECT_EQ(Press(KeyField::Command, FunctionKey(10, kModCtrl), "abc").command, "splitv now");
    // SWAPBACK is not SWAP: it takes the field.
    EXPECT_EQ(Press(KeyField::Command, FunctionKey(9, kModShift), "2").command, "SWAPBACK 2");
}

TEST_F(KeysTest, FunctionKeyRoutesByContext) {
    KeyOutcome list = Press(KeyField::FileList, FunctionKey(5), "x");
    EXPECT_EQ(list.route, CommandRoute::FileList);
    EXPECT_EQ(list.command, "Rfind x");
    KeyOutcome menu = Press(KeyField::Menu, FunctionKey(4, kModAlt), "ignored");
    EXPECT_EQ(menu.route, CommandRoute::General);
    EXPECT_EQ(menu.command, "Exit");
    EXPECT_EQ(menu.clearField, FieldClear::Keep);
}

TEST_F(KeysTest, ScrollKeysTakeTheAmountAndClearTheField) {
    for (KeyField field : {KeyField::Command, KeyField::Data, KeyField::Prefix, KeyField::Cols}) {
        KeyOutcome down = Press(field, NamedKey(Key::PageDown), "5");
        EXPECT_EQ(down.action, KeyAction::RunCommand);
        EXPECT_EQ(down.command, "DOWN 5");
        EXPECT_EQ(down.route, CommandRoute::Edit);
        EXPECT_EQ(down.clearField, FieldClear::Clear);
        EXPECT_EQ(Press(field, NamedKey(Key::PageUp), "").command, "UP");
        EXPECT_EQ(Press(field, NamedKey(Key::PageUp, kModShift), " max ").command, "UP max");
        KeyOutcome bottom = Press(field, NamedKey(Key::PageDown, kModCtrl), "5");
        EXPECT_EQ(bottom.command, "BOTTOM");
        EXPECT_EQ(bottom.clearField, FieldClear::Keep);
        EXPECT_EQ(Press(field, NamedKey(Key::PageUp, kModCtrl | kModShift)).command, "TOP");
    }
}

TEST_F(KeysTest, EnterInThePrimaryCommandField) {
    KeyOutcome empty = Press(KeyField::Command, NamedKey(Key::Enter), "  ");
    EXPECT_EQ(empty.action, KeyAction::ProcessLineCommands);
    EXPECT_EQ(empty.focus, KeyFocus::DataArea);
    KeyOutcome typed = Press(KeyField::Command, NamedKey(Key::Enter), "find abc");
    EXPECT_EQ(typed.action, KeyAction::ExecuteField);
    EXPECT_EQ(typed.route, CommandRoute::Edit);

    KeyOutcome ctrlEmpty = Press(KeyField::Command, NamedKey(Key::Enter, kModCtrl), "");
    EXPECT_EQ(ctrlEmpty.action, KeyAction::ProcessLineCommands);
    EXPECT_EQ(ctrlEmpty.focus, KeyFocus::Keep);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Enter, kModCtrl), "x").action, KeyAction::ExecuteField);
    // The carriage return and line feed codes are Enter and Ctrl+Enter.
    EXPECT_EQ(Press(KeyField::Command, CharKey('m', kModCtrl), "x").action, KeyAction::ExecuteField);
    EXPECT_EQ(Press(KeyField::Command, CharKey('j', kModCtrl), "").focus, KeyFocus::Keep);

    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::RightCtrl), "x").action, KeyAction::Unmapped);
}

TEST_F(KeysTest, RightCtrlAsEnter) {
    app.profileSettings.rightCtrlIsEnter = true;
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Enter), "find x").action, KeyAction::MoveToData);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::RightCtrl), "find x").action, KeyAction::ExecuteField);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::RightCtrl), "").action, KeyAction::DataEnter);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Enter), "find x").action, KeyAction::DataEnter);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::RightCtrl), "find x").action, KeyAction::ExecuteField);
    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::RightCtrl), "").action, KeyAction::DataEnter);
    EXPECT_EQ(Press(KeyField::FileListCommand, NamedKey(Key::RightCtrl), "x").action,
              KeyAction::ExecuteField);
    // Ctrl+Enter keeps its meaning.
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Enter, kModCtrl), "").action,
              KeyAction::ProcessLineCommands);
}

TEST_F(KeysTest, PrimaryCommandFieldKeys) {
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Tab)).action, KeyAction::FieldToDataTab);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Tab, kModShift)).action, KeyAction::FieldToDataBackTab);
    EXPECT_EQ(Press(KeyField::Command, CharKey('i', kModCtrl)).action, KeyAction::FieldToDataTab);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Up)).action, KeyAction::FieldToDataUp);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Down)).action, KeyAction::FieldToDataDown);
    EXPECT_EQ(Press(KeyField::Command, CharKey('a')).action, KeyAction::PassToField);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Left)).action, KeyAction::PassToField);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Backspace)).action, KeyAction::PassToField);
    EXPECT_EQ(Press(KeyField::Command, CharKey('h', kModCtrl)).action, KeyAction::PassToField);
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Escape)).action, KeyAction::None);
    EXPECT_EQ(Press(KeyField::Command, CharKey(' ', kModCtrl)).action, KeyAction::None);
    EXPECT_EQ(Press(KeyField::Command, CharKey('_', kModCtrl)).action, KeyAction::None);
    EXPECT_EQ(Press(KeyField::Command, CharKey('x', kModAlt)).action, KeyAction::Unmapped);

    bool insertBefore = app.profileSettings.insertMode;
    EXPECT_EQ(Press(KeyField::Command, NamedKey(Key::Insert)).action, KeyAction::None);
    EXPECT_EQ(LastMessage().text, "Overtype mode not supported in Primary Command Field.");
    EXPECT_EQ(LastMessage().beep, Beep::Exclamation);
    EXPECT_EQ(app.profileSettings.insertMode, insertBefore);
}

TEST_F(KeysTest, DataWindowKeys) {
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Enter), "").action, KeyAction::DataEnter);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Enter), "reset").action, KeyAction::ExecuteField);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Enter, kModCtrl), "").action,
              KeyAction::ProcessLineCommands);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Backspace)).action, KeyAction::Backspace);
    EXPECT_EQ(Press(KeyField::Data, CharKey('h', kModCtrl)).action, KeyAction::Backspace);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Tab)).action, KeyAction::Tab);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Tab, kModShift)).action, KeyAction::BackTab);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Home)).action, KeyAction::Home);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::End)).action, KeyAction::End);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Delete)).action, KeyAction::DeleteChar);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Delete, kModCtrl)).action, KeyAction::DeleteToEndOfLine);

    KeyOutcome selectEol = Press(KeyField::Data, NamedKey(Key::End, kModShift), "5");
    EXPECT_EQ(selectEol.action, KeyAction::RunCommand);
    EXPECT_EQ(selectEol.command, "SELECT EOL");
    EXPECT_EQ(selectEol.clearField, FieldClear::Keep);

    KeyOutcome typed = Press(KeyField::Data, CharKey(0xE9));
    EXPECT_EQ(typed.action, KeyAction::TypeChar);
    EXPECT_EQ(typed.ch, 0xE9);
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Escape)).action, KeyAction::Unmapped);
    EXPECT_EQ(Press(KeyField::Data, CharKey('q', kModAlt)).action, KeyAction::Unmapped);
}

TEST_F(KeysTest, CursorMovesWithCtrlAndShift) {
    struct Case {
        Key key;
        uint8_t mods;
        KeyAction action;
        Selection selection;
    };
    const Case cases[] = {
        {Key::Left, 0, KeyAction::CursorLeft, Selection::Move},
        {Key::Left, kModShift, KeyAction::CursorLeft, Selection::Extend},
        {Key::Left, kModCtrl, KeyAction::CtrlLeft, Selection::Move},
        {Key::Left, kModCtrl | kModShift, KeyAction::CtrlLeft, Selection::Extend},
        {Key::Right, kModCtrl | kModShift, KeyAction::CtrlRight, Selection::Extend},
        {Key::Up, kModCtrl, KeyAction::CtrlUp, Selection::Move},
        // Ctrl+Up and Ctrl+Down only without Shift.
        {Key::Up, kModCtrl | kModShift, KeyAction::CursorUp, Selection::Extend},
        {Key::Down, kModCtrl, KeyAction::CtrlDown, Selection::Move},
        {Key::Down, kModCtrl | kModShift, KeyAction::CursorDown, Selection::Extend},
        {Key::Down, kModShift, KeyAction::CursorDown, Selection::Extend},
        {Key::Home, kModShift, KeyAction::Home, Selection::Extend},
    };
    for (const Case& c : cases) {
        KeyOutcome outcome = Press(KeyField::Data, NamedKey(c.key, c.mods));
        EXPECT_EQ(outcome.action, c.action) << ui::KeyName(NamedKey(c.key, c.mods));
        EXPECT_EQ(outcome.selection, c.selection) << ui::KeyName(NamedKey(c.key, c.mods));
    }
}

TEST_F(KeysTest, ControlLetters) {
    KeyOutcome save = Press(KeyField::Data, CharKey('s', kModCtrl), "");
    EXPECT_EQ(save.action, KeyAction::RunCommand);
    EXPECT_EQ(save.command, "SAVE");
    EXPECT_EQ(save.route, CommandRoute::Edit);

    VarSetValue(app, "ZCTRL.F", "FIND");
    KeyOutcome find = Press(KeyField::Data, CharKey('f', kModCtrl), " abc ");
    EXPECT_EQ(find.command, "FIND abc");
    EXPECT_EQ(find.clearField, FieldClear::Clear);
    // Selection commands leave the field alone.
    KeyOutcome cut = Press(KeyField::Data, CharKey('x', kModCtrl), "abc");
    EXPECT_EQ(cut.command, "CUT");
    EXPECT_EQ(cut.clearField, FieldClear::Keep);
    VarSetValue(app, "ZCTRL.D", "delete");
    EXPECT_EQ(Press(KeyField::Data, CharKey('d', kModCtrl), "abc").command, "delete");

    KeyOutcome menu = Press(KeyField::Menu, CharKey('o', kModCtrl), "");
    EXPECT_EQ(menu.command, "OPEN");
    EXPECT_EQ(menu.route, CommandRoute::General);
    EXPECT_EQ(Press(KeyField::FileList, CharKey('f', kModCtrl), "x").route, CommandRoute::FileList);

    size_t before = app.messages.size();
    EXPECT_EQ(Press(KeyField::Data, CharKey('q', kModCtrl), "abc").action, KeyAction::None);
    ASSERT_EQ(app.messages.size(), before + 1);
    EXPECT_EQ(LastMessage().text, "No mapping value for CTRL-Q");
    EXPECT_EQ(LastMessage().to, MsgTo::Box);
    EXPECT_EQ(LastMessage().beep, Beep::Exclamation);

    // Ctrl+L without a command of its own asks for a full redraw, quietly; a mapped one runs it.
    EXPECT_EQ(Press(KeyField::Data, CharKey('l', kModCtrl), "").action, KeyAction::Redraw);
    EXPECT_EQ(app.messages.size(), before + 1);
    VarSetValue(app, "ZCTRL.L", "locate 5");
    EXPECT_EQ(Press(KeyField::Data, CharKey('l', kModCtrl), "").command, "locate 5");
    VarSetValue(app, "ZCTRL.L", "");

    // Backspace, tab, line feed and carriage return are never looked up, even when set.
    VarSetValue(app, "ZCTRL.M", "SAVE");
    EXPECT_EQ(ControlKeyCommand(app, KeyContext{}, 'm').action, KeyAction::None);
    EXPECT_EQ(ControlKeyCommand(app, KeyContext{}, '1').action, KeyAction::None);
    EXPECT_EQ(app.messages.size(), before + 1);
}

TEST_F(KeysTest, ClipboardKeysInCommandFields) {
    for (KeyField field : {KeyField::Command, KeyField::Prefix, KeyField::FileListCommand}) {
        EXPECT_EQ(Press(field, CharKey('c', kModCtrl), "abc").action, KeyAction::PassToField);
        EXPECT_EQ(Press(field, CharKey('v', kModCtrl), "abc").action, KeyAction::PassToField);
        EXPECT_EQ(Press(field, CharKey('x', kModCtrl), "abc").action, KeyAction::PassToField);
        // Other letters are mapped in the fields too.
        EXPECT_EQ(Press(field, CharKey('z', kModCtrl), "").command, "UNDO");
    }
    EXPECT_EQ(Press(KeyField::Data, CharKey('c', kModCtrl)).command, "COPY");

    VarSetValue(app, "ZCLIPBOARDKEYS", "TRUE");
    KeyOutcome copy = Press(KeyField::Command, CharKey('c', kModCtrl), "abc");
    EXPECT_EQ(copy.action, KeyAction::RunCommand);
    EXPECT_EQ(copy.command, "COPY");
    EXPECT_EQ(copy.clearField, FieldClear::Keep);
}

TEST_F(KeysTest, LineCommandField) {
    KeyOutcome digit = Type('3', "", 0);
    EXPECT_EQ(digit.action, KeyAction::None);
    EXPECT_EQ(LastMessage().text, "Line command must be alpha character (a..z).");
    EXPECT_EQ(LastMessage().to, MsgTo::Box);
    Type('*', "   ", 2);  // only blanks before the cursor: still the first character
    EXPECT_EQ(LastMessage().text, "Line command must be alpha character (a..z).");

    size_t before = app.messages.size();
    KeyOutcome letter = Type('d', "", 0);
    EXPECT_EQ(letter.action, KeyAction::TypeChar);
    EXPECT_EQ(letter.ch, 'd');
    EXPECT_EQ(Type('5', "d", 1).action, KeyAction::TypeChar);   // a count after the name
    EXPECT_EQ(Type('5', "d", 40).action, KeyAction::TypeChar);  // offset past the text
    EXPECT_EQ(Type('.', "", 0).action, KeyAction::TypeChar);    // label
    EXPECT_EQ(Type(')', "", 0).action, KeyAction::TypeChar);    // column shift
    EXPECT_EQ(Type(' ', "cc", 0).action, KeyAction::TypeChar);  // the blank erases
    EXPECT_EQ(Type('3', "", -4).action, KeyAction::None);
    EXPECT_EQ(app.messages.size(), before + 1);

    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::Insert)).action, KeyAction::None);
    EXPECT_EQ(LastMessage().text, "Overtype mode not supported in Line Command Field.");
    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::Up)).action, KeyAction::LineFieldUp);
    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::Down, kModShift)).action, KeyAction::LineFieldDown);
    // The rest is as in the data window.
    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::Enter), "").action, KeyAction::DataEnter);
    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::Enter), "x").action, KeyAction::ExecuteField);
    EXPECT_EQ(Press(KeyField::Prefix, NamedKey(Key::Right)).action, KeyAction::CursorRight);
}

// The Insert key switches the mode for this run; ZINSERT, which the next run starts from, stays.
TEST_F(KeysTest, InsertTogglesTheModeForTheRun) {
    ASSERT_EQ(CurrentTypingMode(app), ui::TypingMode::Insert);  // ZINSERT default
    KeyOutcome off = Press(KeyField::Data, NamedKey(Key::Insert));
    EXPECT_EQ(off.action, KeyAction::InsertToggled);
    EXPECT_EQ(off.cursorShape, ui::CursorShape::Block);  // ZCURSORWIDTH.OVERTYPE "Wide"
    EXPECT_EQ(CurrentTypingMode(app), ui::TypingMode::Overtype);
    EXPECT_EQ(VarGetValue(app, "ZINSERT"), "TRUE");

    KeyOutcome on = Press(KeyField::Data, NamedKey(Key::Insert));
    EXPECT_EQ(on.cursorShape, ui::CursorShape::Bar);  // ZCURSORWIDTH.INSERT "Narrow"
    EXPECT_EQ(CurrentTypingMode(app), ui::TypingMode::Insert);
    EXPECT_EQ(VarGetValue(app, "ZINSERT"), "TRUE");

    // Insert with a modifier is not the toggle.
    EXPECT_EQ(Press(KeyField::Data, NamedKey(Key::Insert, kModShift)).action, KeyAction::Unmapped);
    EXPECT_EQ(CurrentTypingMode(app), ui::TypingMode::Insert);
}

TEST_F(KeysTest, CaretShapeFollowsWidthSettings) {
    EXPECT_EQ(CaretShapeOfWidth("Narrow"), ui::CursorShape::Bar);
    EXPECT_EQ(CaretShapeOfWidth("Medium"), ui::CursorShape::Underline);
    EXPECT_EQ(CaretShapeOfWidth("Wide"), ui::CursorShape::Block);
    EXPECT_EQ(CaretShapeOfWidth(""), ui::CursorShape::Block);
    EXPECT_EQ(CaretShapeOfWidth("narrow"), ui::CursorShape::Block);

    VarSetValue(app, "ZCURSORWIDTH.INSERT", "Medium");
    VarSetValue(app, "ZCURSORWIDTH.OVERTYPE", "Narrow");
    EXPECT_EQ(CaretShape(app), ui::CursorShape::Underline);
    SetTypingMode(app, ui::TypingMode::Overtype);
    EXPECT_EQ(CaretShape(app), ui::CursorShape::Bar);
    EXPECT_EQ(CaretShapeFor(app, ui::TypingMode::Insert), ui::CursorShape::Underline);
}

TEST_F(KeysTest, MouseWheelAndDoubleClick) {
    KeyContext data{KeyField::Data, "5", {}, 0};
    ui::MouseEvent wheel{ui::MouseAction::WheelDown, ui::MouseButton::None, 3, 4, 0};
    KeyOutcome down = MapMouse(app, data, wheel);
    EXPECT_EQ(down.command, "DOWN 1");  // the typed amount does not apply to the wheel
    EXPECT_EQ(down.clearField, FieldClear::Keep);
    wheel.action = ui::MouseAction::WheelUp;
    EXPECT_EQ(MapMouse(app, data, wheel).command, "UP 1");

    ui::MouseEvent dbl{ui::MouseAction::DoubleClick, ui::MouseButton::Left, 3, 4, 0};
    KeyOutcome macro = MapMouse(app, data, dbl);
    EXPECT_EQ(macro.action, KeyAction::RunCommand);
    EXPECT_EQ(macro.command, "DBLCLICK");
    EXPECT_EQ(macro.route, CommandRoute::Edit);
    VarSetValue(app, "ZDBLCLICKMACRO", "FALSE");
    EXPECT_EQ(MapMouse(app, data, dbl).action, KeyAction::SelectWord);

    KeyContext list{KeyField::FileList, {}, {}, 0};
    EXPECT_EQ(MapMouse(app, list, wheel).action, KeyAction::Unmapped);
    ui::MouseEvent click{ui::MouseAction::Press, ui::MouseButton::Left, 1, 1, 0};
    EXPECT_EQ(MapMouse(app, data, click).action, KeyAction::Unmapped);
}

TEST_F(KeysTest, UnknownKeysAreUnmapped) {
    for (KeyField field : {KeyField::Command, KeyField::Cols, KeyField::Prefix, KeyField::Data,
                           KeyField::FileListCommand, KeyField::FileList, KeyField::Menu}) {
        EXPECT_EQ(Press(field, ui::KeyEvent{}).action, KeyAction::Unmapped);
    }
    EXPECT_EQ(Press(KeyField::Menu, NamedKey(Key::Tab)).action, KeyAction::Unmapped);
    EXPECT_EQ(Press(KeyField::Menu, CharKey('a')).action, KeyAction::Unmapped);
    EXPECT_EQ(Press(KeyField::FileList, NamedKey(Key::Enter), "x").action, KeyAction::Unmapped);
    EXPECT_EQ(Press(KeyField::FileListCommand, NamedKey(Key::Enter), "x").action, KeyAction::ExecuteField);
    EXPECT_EQ(Press(KeyField::FileListCommand, NamedKey(Key::Enter), "x").route, CommandRoute::FileList);
    EXPECT_EQ(Press(KeyField::FileListCommand, NamedKey(Key::PageDown), "5").action, KeyAction::Unmapped);
    EXPECT_EQ(Press(KeyField::Cols, CharKey('a')).action, KeyAction::None);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(KeysTest, KeyBarRowsFollowTheSwitches) {
    EXPECT_EQ(FunctionKeyBarRows(app), 0);  // ZPFSHOW "FALSE"
    EXPECT_TRUE(BuildFunctionKeyBar(app, 80).rows.empty());
    VarSetValue(app, "ZPFSHOW", "TRUE");
    EXPECT_EQ(FunctionKeyBarRows(app), 1);
    VarSetValue(app, "ZPFSHOW.ALT", "TRUE");
    VarSetValue(app, "ZPFSHOW.BASE", "FALSE");
    VarSetValue(app, "ZPFSHOW.SHIFT", "TRUE");
    FunctionKeyBar bar = BuildFunctionKeyBar(app, 96);
    ASSERT_EQ(bar.rows.size(), 2u);
    EXPECT_EQ(FunctionKeyBarRows(app), 2);
    EXPECT_EQ(bar.firstKey, (std::vector<int>{13, 37}));
    EXPECT_EQ(bar.rows[0].substr(0, 16), "S-F1   |S-F2   |");  // Numbers style, shortened to fit 7 cells
    EXPECT_EQ(bar.KeyAt(1, 0), 37);
    EXPECT_EQ(bar.KeyAt(1, 95), 48);
    EXPECT_EQ(bar.KeyAt(0, 8), 14);
    EXPECT_EQ(bar.KeyAt(2, 0), 0);
    EXPECT_EQ(bar.KeyAt(0, 96), 0);
}

// At 80 columns every key of every group keeps a name of its own, and the bar never takes more
// than two rows: three or four groups share them, two groups to a row.
TEST_F(KeysTest, KeyBarKeepsKeysDistinctInTwoRows) {
    VarSetValue(app, "ZPFSHOW", "TRUE");
    VarSetValue(app, "ZPFSHOW.SHIFT", "TRUE");
    FunctionKeyBar two = BuildFunctionKeyBar(app, 80);
    ASSERT_EQ(two.rows.size(), 2u);
    EXPECT_EQ(two.rows[1].substr(0, 13), "S-F1 |S-F2  |");  // "Shift F1" does not fit 5 or 6 cells
    EXPECT_NE(two.rows[1].find("S-F12"), std::string::npos) << two.rows[1];

    VarSetValue(app, "ZPFSHOW.CTRL", "TRUE");
    VarSetValue(app, "ZPFSHOW.ALT", "TRUE");
    EXPECT_EQ(FunctionKeyBarRows(app), 2);
    FunctionKeyBar all = BuildFunctionKeyBar(app, 80);
    ASSERT_EQ(all.rows.size(), 2u);
    EXPECT_EQ(all.firstKey, (std::vector<int>{1, 25}));
    // Each row's buttons, read back through KeyAt, name 24 different keys, and every button's text
    // is distinct within its group.
    for (int row = 0; row < 2; ++row) {
        std::set<int> keys;
        std::set<std::string> texts[2];
        int last = 0;
        std::string text;
        for (int col = 0; col < 80; ++col) {
            int key = all.KeyAt(row, col);
            ASSERT_GT(key, 0) << row << "," << col;
            if (key != last && last != 0) {
                texts[(last - 1) / 12 % 2].insert(text);
                text.clear();
            }
            if (all.rows[static_cast<size_t>(row)][static_cast<size_t>(col)] != '|') {
                text += all.rows[static_cast<size_t>(row)][static_cast<size_t>(col)];
            }
            keys.insert(key);
            last = key;
        }
        texts[(last - 1) / 12 % 2].insert(text);
        EXPECT_EQ(keys.size(), 24u);
        EXPECT_EQ(texts[0].size(), 12u) << all.rows[static_cast<size_t>(row)];
        EXPECT_EQ(texts[1].size(), 12u) << all.rows[static_cast<size_t>(row)];
    }
    EXPECT_EQ(all.KeyAt(0, 0), 1);
    EXPECT_EQ(all.KeyAt(0, 40), 13);
    EXPECT_EQ(all.KeyAt(1, 79), 48);
    EXPECT_EQ(all.rows[0].substr(40, 3), "S1|");
}

TEST_F(KeysTest, KeyBarStyles) {
    VarSetValue(app, "ZPFSHOW", "TRUE");
    FunctionKeyBar numbers = BuildFunctionKeyBar(app, 120);
    ASSERT_EQ(numbers.rows.size(), 1u);
    EXPECT_EQ(numbers.rows[0].size(), 120u);
    EXPECT_EQ(numbers.rows[0].substr(0, 20), "F1       |F2       |");
    EXPECT_EQ(numbers.rows[0].back(), '|');

    VarSetValue(app, "ZPFSHOW.STYLE", "Labels");
    VarSetValue(app, "ZF02.BASE.LABEL", "Split\tH");
    std::string labels = BuildFunctionKeyBar(app, 120).rows[0];
    EXPECT_EQ(labels.substr(0, 20), "F1       |Split H  |");  // empty label: the name; tab shown blank

    VarSetValue(app, "ZPFSHOW.STYLE", "MapVal");
    VarSetValue(app, "ZF01.BASE", "A very long command");
    VarSetValue(app, "ZF04.BASE", "");
    std::string mapval = BuildFunctionKeyBar(app, 120).rows[0];
    EXPECT_EQ(mapval.substr(0, 40), "A very lo|SplitH   |End      |         |");

    VarSetValue(app, "ZPFSHOW.STYLE", "Pictures");
    EXPECT_EQ(BuildFunctionKeyBar(app, 120).rows[0].substr(0, 3), "F1 ");

    // Narrow widths still give a row of exactly that width and never fail.
    for (int width : {0, 1, 5, 11, 12, 13}) {
        FunctionKeyBar bar = BuildFunctionKeyBar(app, width);
        ASSERT_EQ(bar.rows.size(), 1u);
        EXPECT_EQ(bar.rows[0].size(), static_cast<size_t>(width));
        for (int col = 0; col < width; ++col) {
            EXPECT_GE(bar.KeyAt(0, col), 1);
            EXPECT_LE(bar.KeyAt(0, col), 12);
        }
    }
    EXPECT_TRUE(BuildFunctionKeyBar(app, -3).rows[0].empty());
}
