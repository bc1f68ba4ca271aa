#include "editing/keys.h"

#include <algorithm>
#include <initializer_list>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "editing/keys_tables.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// The group names of the function key variables, by group: plain, Shift, Ctrl, Alt.
constexpr const char* kGroupVariable[] = {"BASE", "SHIFT", "CTRL", "ALT"};
constexpr const char* kGroupMessage[] = {"", "SHIFT", "CTRL", "ALT"};
constexpr const char* kGroupName[] = {"", "Shift ", "Ctrl ", "Alt "};

// Function key commands that act on the instance rather than on data: they never take the command
// field's text as a parameter.
constexpr std::string_view kStandaloneFunctionVerbs[] = {"CLOSEALL", "END",    "HELP",   "KEYS",   "RETRIEVE",
                                                         "RETURN",   "SPLITF", "SPLITH", "SPLITV", "SWAP"};

// Control key commands that work on the selection: the command field's text stays where it is.
constexpr std::string_view kSelectionControlVerbs[] = {"COPY", "CUT", "PASTE", "DELETE"};

// Characters that can begin a line command: a letter, "." for a label, and the shift commands.
bool StartsLineCommand(uint8_t ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '.' || ch == '(' || ch == ')' ||
           ch == '<' || ch == '>';
}

std::string_view TrimBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string FirstWordUpper(std::string_view text) {
    text = TrimBlanks(text);
    std::string word(text.substr(0, text.find(' ')));
    for (char& c : word) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return word;
}

bool IsOneOf(std::string_view word, std::initializer_list<std::string_view> list) {
    for (std::string_view entry : list) {
        if (word == entry) {
            return true;
        }
    }
    return false;
}

template <size_t N>
bool IsOneOf(std::string_view word, const std::string_view (&list)[N]) {
    for (std::string_view entry : list) {
        if (word == entry) {
            return true;
        }
    }
    return false;
}

// A setting's value without creating the variable: the key handler and the key bar read many
// variables that are often unset, and reading must not add them to the store.
std::string VarText(AppSession& app, std::string_view name) {
    const VarRecord* record = VarFind(app, name);
    return record != nullptr ? std::string(record->Value()) : std::string();
}

bool HasCommandField(KeyField field) {
    return field != KeyField::Menu;
}

// Fields in which Ctrl+C, Ctrl+V and Ctrl+X keep their clipboard meaning unless they are mapped.
bool IsTypedCommandField(KeyField field) {
    return field == KeyField::Command || field == KeyField::Prefix || field == KeyField::FileListCommand;
}

KeyOutcome Outcome(KeyAction action) {
    KeyOutcome outcome;
    outcome.action = action;
    return outcome;
}

KeyOutcome RunLine(CommandRoute route, std::string line, FieldClear clear) {
    KeyOutcome outcome = Outcome(KeyAction::RunCommand);
    outcome.command = std::move(line);
    outcome.route = route;
    outcome.clearField = clear;
    return outcome;
}

KeyOutcome ExecuteField(const KeyContext& context) {
    KeyOutcome outcome = Outcome(KeyAction::ExecuteField);
    outcome.route = RouteOfField(context.field);
    return outcome;
}

KeyOutcome ProcessLineCommands(KeyFocus focus) {
    KeyOutcome outcome = Outcome(KeyAction::ProcessLineCommands);
    outcome.route = CommandRoute::Edit;
    outcome.focus = focus;
    return outcome;
}

bool FieldIsEmpty(const KeyContext& context) {
    return TrimBlanks(context.commandText).empty();
}

// The scroll keys take what is typed in the command field as their amount ("5" then PageDown
// scrolls down five lines) and consume it.
KeyOutcome ScrollWithAmount(const KeyContext& context, const char* verb) {
    std::string line = verb;
    std::string_view amount = TrimBlanks(context.commandText);
    if (!amount.empty()) {
        line += ' ';
        line += amount;
    }
    return RunLine(RouteOfField(context.field), std::move(line), FieldClear::Clear);
}

// A typed character in the prefix area: the character that begins a line command must be able to
// begin one; later characters (counts, label letters) and the blank that erases are taken as typed.
KeyOutcome TypeIntoPrefix(AppSession& app, const KeyContext& context, uint8_t ch) {
    bool begins = true;
    size_t typed =
        std::min(context.prefixText.size(), static_cast<size_t>(std::max(context.prefixOffset, 0)));
    for (size_t i = 0; i < typed; ++i) {
        if (context.prefixText[i] != ' ') {
            begins = false;
            break;
        }
    }
    if (begins && ch != ' ' && !StartsLineCommand(ch)) {
        ShowMessage(app, "Line command must be alpha character (a..z).", MsgTo::Box, Beep::None);
        return Outcome(KeyAction::None);
    }
    KeyOutcome outcome = Outcome(KeyAction::TypeChar);
    outcome.ch = ch;
    return outcome;
}

KeyOutcome MapNamedKey(AppSession& app, const KeyContext& context, const ui::KeyEvent& key);

// Ctrl+H, Ctrl+I, Ctrl+J and Ctrl+M are the backspace, tab, line feed and carriage return codes:
// they act as those keys and are never mapped.
KeyOutcome MapControlCode(AppSession& app, const KeyContext& context, const ui::KeyEvent& key, char letter) {
    uint8_t others = key.mods & static_cast<uint8_t>(~ui::kModCtrl);
    switch (letter) {
        case 'h':
            return MapNamedKey(app, context, ui::NamedKey(ui::Key::Backspace, others));
        case 'i':
            return MapNamedKey(app, context, ui::NamedKey(ui::Key::Tab, others));
        case 'j':
            return MapNamedKey(app, context, ui::NamedKey(ui::Key::Enter, others | ui::kModCtrl));
        default:
            return MapNamedKey(app, context, ui::NamedKey(ui::Key::Enter, others));
    }
}

KeyOutcome MapChar(AppSession& app, const KeyContext& context, const ui::KeyEvent& key) {
    bool quietField = context.field == KeyField::Menu || context.field == KeyField::FileList;
    if (key.mods & ui::kModAlt) {
        return Outcome(KeyAction::Unmapped);
    }
    if (key.mods & ui::kModCtrl) {
        char letter = static_cast<char>(key.ch);
        if (letter >= 'A' && letter <= 'Z') {
            letter = static_cast<char>(letter - 'A' + 'a');
        }
        if (letter < 'a' || letter > 'z') {
            // Ctrl+Space (NUL) and the codes 28-31 carry no command.
            return Outcome(quietField ? KeyAction::Unmapped : KeyAction::None);
        }
        if (letter == 'h' || letter == 'i' || letter == 'j' || letter == 'm') {
            return MapControlCode(app, context, key, letter);
        }
        if ((letter == 'c' || letter == 'v' || letter == 'x') && IsTypedCommandField(context.field) &&
            !ClipboardKeysMapped(app)) {
            return Outcome(KeyAction::PassToField);
        }
        return ControlKeyCommand(app, context, letter);
    }
    if (key.ch < 0x20 || key.ch == 0x7F) {
        return Outcome(quietField ? KeyAction::Unmapped : KeyAction::None);
    }
    switch (context.field) {
        case KeyField::Command:
        case KeyField::FileListCommand:
            return Outcome(KeyAction::PassToField);
        case KeyField::Cols:
            return Outcome(KeyAction::None);
        case KeyField::Prefix:
            return TypeIntoPrefix(app, context, key.ch);
        case KeyField::Data: {
            KeyOutcome outcome = Outcome(KeyAction::TypeChar);
            outcome.ch = key.ch;
            return outcome;
        }
        case KeyField::FileList:
        case KeyField::Menu:
            break;
    }
    return Outcome(KeyAction::Unmapped);
}

KeyOutcome MapNamedKey(AppSession& app, const KeyContext& context, const ui::KeyEvent& key) {
    const KeyRow* row = FindKeyRow(context.field, key);
    if (row == nullptr) {
        return Outcome(KeyAction::Unmapped);
    }
    bool rightCtrlIsEnter = app.profileSettings.rightCtrlIsEnter;
    switch (row->rule) {
        case KeyRule::Act: {
            KeyOutcome outcome = Outcome(row->action);
            if (row->shift == ShiftExtends::Yes && (key.mods & ui::kModShift)) {
                outcome.selection = Selection::Extend;
            }
            return outcome;
        }
        case KeyRule::Pass:
            return Outcome(KeyAction::PassToField);
        case KeyRule::Swallow:
            return Outcome(KeyAction::None);
        case KeyRule::Run:
            return RunLine(RouteOfField(context.field), row->text, FieldClear::Keep);
        case KeyRule::ScrollAmount:
            return ScrollWithAmount(context, row->text);
        case KeyRule::Refuse:
            ShowMessage(app, row->text, MsgTo::Line, Beep::Exclamation);
            return Outcome(KeyAction::None);
        case KeyRule::ToggleInsert: {
            KeyOutcome outcome = Outcome(KeyAction::InsertToggled);
            outcome.cursorShape = ToggleInsertMode(app);
            return outcome;
        }
        case KeyRule::CommandEnter:
            // With the right Ctrl key as Enter, the Enter key only steps into the data.
            if (rightCtrlIsEnter) {
                return Outcome(KeyAction::MoveToData);
            }
            return FieldIsEmpty(context) ? ProcessLineCommands(KeyFocus::DataArea) : ExecuteField(context);
        case KeyRule::ExecuteOrProcess:
            return FieldIsEmpty(context) ? ProcessLineCommands(KeyFocus::Keep) : ExecuteField(context);
        case KeyRule::DataEnter:
            if (rightCtrlIsEnter || FieldIsEmpty(context)) {
                return Outcome(KeyAction::DataEnter);
            }
            return ExecuteField(context);
        case KeyRule::RightCtrlEnter:
            if (!rightCtrlIsEnter) {
                return Outcome(KeyAction::Unmapped);
            }
            return FieldIsEmpty(context) ? Outcome(KeyAction::DataEnter) : ExecuteField(context);
        case KeyRule::ListEnter:
            return ExecuteField(context);
        case KeyRule::ListRightCtrl:
            return rightCtrlIsEnter ? ExecuteField(context) : Outcome(KeyAction::Unmapped);
    }
    return Outcome(KeyAction::Unmapped);
}

}  // namespace

CommandRoute RouteOfField(KeyField field) {
    switch (field) {
        case KeyField::Command:
        case KeyField::Cols:
        case KeyField::Prefix:
        case KeyField::Data:
            return CommandRoute::Edit;
        case KeyField::FileListCommand:
        case KeyField::FileList:
            return CommandRoute::FileList;
        case KeyField::Menu:
            break;
    }
    return CommandRoute::General;
}

KeyOutcome MapKey(AppSession& app, const KeyContext& context, const ui::KeyEvent& key) {
    int number = ui::FunctionKeyNumber(key);
    if (number > 0) {
        return RunFunctionKey(app, context, number);
    }
    if (key.key == ui::Key::Char) {
        return MapChar(app, context, key);
    }
    return MapNamedKey(app, context, key);
}

KeyOutcome MapMouse(AppSession& app, const KeyContext& context, const ui::MouseEvent& mouse) {
    bool editWindow = RouteOfField(context.field) == CommandRoute::Edit;
    if (editWindow && mouse.action == ui::MouseAction::WheelUp) {
        return RunLine(CommandRoute::Edit, "UP 1", FieldClear::Keep);
    }
    if (editWindow && mouse.action == ui::MouseAction::WheelDown) {
        return RunLine(CommandRoute::Edit, "DOWN 1", FieldClear::Keep);
    }
    if (context.field == KeyField::Data && mouse.action == ui::MouseAction::DoubleClick &&
        mouse.button == ui::MouseButton::Left) {
        // DBLCLICK is no edit verb, so it runs the macro of that name.
        if (VarText(app, "ZDBLCLICKMACRO") == "TRUE") {
            return RunLine(CommandRoute::Edit, "DBLCLICK", FieldClear::Keep);
        }
        return Outcome(KeyAction::SelectWord);
    }
    return Outcome(KeyAction::Unmapped);
}

std::string FunctionKeyVariable(int number) {
    if (number < 1 || number > kFunctionKeyCount) {
        return {};
    }
    return Format("ZF%02d.%s", (number - 1) % 12 + 1, kGroupVariable[(number - 1) / 12]);
}

std::string FunctionKeyLabelVariable(int number) {
    std::string name = FunctionKeyVariable(number);
    return name.empty() ? name : name + ".LABEL";
}

std::string FunctionKeyName(int number) {
    if (number < 1 || number > kFunctionKeyCount) {
        return {};
    }
    return Format("%sF%d", kGroupName[(number - 1) / 12], (number - 1) % 12 + 1);
}

std::string FunctionKeyCommand(AppSession& app, int number) {
    if (number < 1 || number > kFunctionKeyCount) {
        ShowMessage(app, Format("Invalid function key number: %d", number), MsgTo::Box, Beep::Exclamation);
        return {};
    }
    std::string command(TrimBlanks(VarText(app, FunctionKeyVariable(number))));
    if (command.empty()) {
        int group = (number - 1) / 12;
        int key = (number - 1) % 12 + 1;
        if (group == 0) {
            ShowMessage(app, Format("Function key F%d has no mapping value", key), MsgTo::Box,
                        Beep::Exclamation);
        } else {
            ShowMessage(app, Format("Function key %s-F%d has no mapping value", kGroupMessage[group], key),
                        MsgTo::Box, Beep::Exclamation);
        }
    }
    return command;
}

KeyOutcome RunFunctionKey(AppSession& app, const KeyContext& context, int number) {
    std::string line = FunctionKeyCommand(app, number);
    if (line.empty()) {
        return Outcome(KeyAction::None);
    }
    if (!HasCommandField(context.field)) {
        return RunLine(RouteOfField(context.field), std::move(line), FieldClear::Keep);
    }
    std::string_view fieldText = TrimBlanks(context.commandText);
    if (!fieldText.empty() && !IsOneOf(FirstWordUpper(line), kStandaloneFunctionVerbs)) {
        line += ' ';
        line += fieldText;
    }
    return RunLine(RouteOfField(context.field), std::move(line), FieldClear::Clear);
}

KeyOutcome ControlKeyCommand(AppSession& app, const KeyContext& context, char letter) {
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    if (letter < 'A' || letter > 'Z' || IsOneOf(std::string_view(&letter, 1), {"H", "I", "J", "M"})) {
        return Outcome(KeyAction::None);
    }
    std::string line(TrimBlanks(VarText(app, Format("ZCTRL.%c", letter))));
    if (line.empty() && letter == 'L') {
        return Outcome(KeyAction::Redraw);  // the terminal's usual key for a full redraw
    }
    if (line.empty()) {
        ShowMessage(app, Format("No mapping value for CTRL-%c", letter), MsgTo::Box, Beep::Exclamation);
        return Outcome(KeyAction::None);
    }
    FieldClear clear = FieldClear::Keep;
    std::string_view fieldText = TrimBlanks(context.commandText);
    if (HasCommandField(context.field) && !fieldText.empty() &&
        !IsOneOf(FirstWordUpper(line), kSelectionControlVerbs)) {
        line += ' ';
        line += fieldText;
        clear = FieldClear::Clear;
    }
    return RunLine(RouteOfField(context.field), std::move(line), clear);
}

bool ClipboardKeysMapped(AppSession& app) {
    return VarText(app, "ZCLIPBOARDKEYS") == "TRUE";
}

ui::TypingMode CurrentTypingMode(const AppSession& app) {
    return app.profileSettings.insertMode ? ui::TypingMode::Insert : ui::TypingMode::Overtype;
}

void SetTypingMode(AppSession& app, ui::TypingMode mode) {
    app.profileSettings.insertMode = mode == ui::TypingMode::Insert;
    VarSetValue(app, "ZINSERT", app.profileSettings.insertMode ? "TRUE" : "FALSE");
}

ui::CursorShape ToggleInsertMode(AppSession& app) {
    // The Insert key switches the mode for this run only: the next run starts as ZINSERT (the
    // General options) says, not as this one was left.
    app.profileSettings.insertMode = !app.profileSettings.insertMode;
    return CaretShape(app);
}

ui::CursorShape CaretShape(AppSession& app) {
    return CaretShapeFor(app, CurrentTypingMode(app));
}

ui::CursorShape CaretShapeFor(AppSession& app, ui::TypingMode mode) {
    return CaretShapeOfWidth(
        VarText(app, mode == ui::TypingMode::Insert ? "ZCURSORWIDTH.INSERT" : "ZCURSORWIDTH.OVERTYPE"));
}

// A quarter of a cell reads as a bar, half a cell as an underline, anything else fills the cell.
ui::CursorShape CaretShapeOfWidth(std::string_view width) {
    if (width == "Narrow") {
        return ui::CursorShape::Bar;
    }
    if (width == "Medium") {
        return ui::CursorShape::Underline;
    }
    return ui::CursorShape::Block;
}

}  // namespace tavoe
