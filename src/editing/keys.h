#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"
#include "ui/event.h"
#include "ui/input_field.h"

namespace tavoe {

// Key mapping: what a key does in the field that has the focus.
//
// Function keys and Ctrl+letter keys are mapped to command texts held in variables (ZF01.BASE ..
// ZF12.ALT, ZCTRL.A .. ZCTRL.Z); the cursor and editing keys of an edit session are translated into
// fixed editing actions or commands. MapKey decides and returns the outcome; the main loop performs
// it: it runs the command through the processor the outcome names, moves the focus, or calls the
// editing action. MapKey itself only shows the mapping messages and switches insert mode.

struct AppSession;

// The field that has the keyboard focus when the key arrives.
enum class KeyField : uint8_t {
    Command,          // the primary command field of an edit or browse session
    Cols,             // the COLS field of the field bar (shows columns, takes no typing)
    Prefix,           // the prefix area of a data window row, while a line command is typed
    Data,             // the data area of an edit or browse session
    FileListCommand,  // the command field of a file list
    FileList,         // the rows of a file list
    Menu,             // the main window with a menu, a dialog or nothing current
};

// Which command processor runs a command line: the typed-command processor of the current context.
enum class CommandRoute : uint8_t {
    General,   // RunGeneralCommand (a menu, a dialog, or no context)
    Edit,      // RunEditCommand (an edit or browse session)
    FileList,  // RunFileListCommand (a file list)
};

// What the main loop does with a key.
enum class KeyAction : uint8_t {
    Unmapped,             // the key means nothing here: offer it elsewhere (menu bar, list) or drop it
    None,                 // handled: swallowed, or refused with a message already shown
    PassToField,          // the focused text field edits with it itself (typing, cursor, clipboard keys)
    RunCommand,           // run `command` through `route` (after clearing the field when asked)
    ExecuteField,         // run the context's command field as a typed command line (history, "&" rule,
                          // pending line commands first in an edit session)
    ProcessLineCommands,  // process the pending line commands of the edit session
    MoveToData,           // the cursor goes from the command field into the data area
    InsertToggled,        // insert mode was switched for this run: re-create the caret as
                          // `cursorShape`
    Redraw,               // draw the whole screen again (Ctrl+L when no command is mapped to it)

    // Leaving the primary command field for the data window.
    FieldToDataTab,      // Tab: to the first tab position of the first data row
    FieldToDataBackTab,  // Shift+Tab
    FieldToDataUp,       // Up
    FieldToDataDown,     // Down

    // The editing actions of the data window (and of the prefix area where they apply). The outcome's
    // `selection` says whether Shift extends the selection.
    TypeChar,           // type `ch` at the cursor (insert or overtype by the instance's typing mode)
    DataEnter,          // the data-area Enter: to the start of the next line
    Backspace,          // delete the character before the cursor
    Tab,                // to the next tab position
    BackTab,            // to the previous tab position
    CursorLeft,         // one column left
    CursorRight,        // one column right
    CursorUp,           // one row up
    CursorDown,         // one row down
    CtrlLeft,           // the Ctrl variant of Left
    CtrlRight,          // the Ctrl variant of Right
    CtrlUp,             // the Ctrl variant of Up (never with Shift)
    CtrlDown,           // the Ctrl variant of Down (never with Shift)
    Home,               // the Home action
    End,                // the End action
    DeleteChar,         // delete the character at the cursor
    DeleteToEndOfLine,  // DELEOL: delete from the cursor to the end of the line
    LineFieldUp,        // prefix area: to the row above; on the top row run "UP 1" instead
    LineFieldDown,      // prefix area: to the row below; on the bottom row run "DOWN 1" instead
    SelectWord,         // double-click: select the word under the mouse
};

// Whether a cursor action extends the selection (Shift held) or just moves.
enum class Selection : uint8_t { Move, Extend };

// Whether the context's command field is emptied before the command runs.
enum class FieldClear : uint8_t { Keep, Clear };

// Where the cursor goes after the action.
enum class KeyFocus : uint8_t { Keep, DataArea };

// The decision for one key.
struct KeyOutcome {
    KeyAction action = KeyAction::Unmapped;
    std::string command;                         // RunCommand: the whole line to run
    CommandRoute route = CommandRoute::General;  // RunCommand: the processor that runs it
    FieldClear clearField = FieldClear::Keep;    // empty the context's command field first
    KeyFocus focus = KeyFocus::Keep;             // ProcessLineCommands: then move into the data area
    Selection selection = Selection::Move;       // cursor actions
    uint8_t ch = 0;                              // TypeChar: the display byte typed
    ui::CursorShape cursorShape = ui::CursorShape::Block;  // InsertToggled: the new caret
};

// What the key mapping needs to know about the focus besides the field.
struct KeyContext {
    KeyField field = KeyField::Menu;
    // The text of the current context's command field: the edit session's primary command field in
    // Command, Cols, Prefix and Data, the file list's command field in FileListCommand and FileList;
    // empty for Menu.
    std::string_view commandText;
    // Prefix only: the line's pending line command as typed so far, and the cursor's offset in the
    // prefix area (from 0). A typed character that would begin the line command is checked.
    std::string_view prefixText;
    int prefixOffset = 0;
};

// Decides what the key does in the focused field. Shows the mapping messages ("Function key F%d has
// no mapping value", "No mapping value for CTRL-%c", the overtype refusals, the line command
// character refusal) and switches insert mode itself; everything else is left to the caller.
KeyOutcome MapKey(AppSession& app, const KeyContext& context, const ui::KeyEvent& key);

// The mouse in an edit window: the wheel scrolls ("UP 1", "DOWN 1" per notch), a double-click in the
// data area runs DBLCLICK when ZDBLCLICKMACRO is "TRUE" and otherwise selects the word. The caller
// has already put the cursor where the mouse is. Anything else is Unmapped.
KeyOutcome MapMouse(AppSession& app, const KeyContext& context, const ui::MouseEvent& mouse);

// The processor that runs commands typed in the field.
CommandRoute RouteOfField(KeyField field);

// ---- Function keys -------------------------------------------------------------------------------

inline constexpr int kFunctionKeyCount = 48;  // F1-F12 plain, with Shift, with Ctrl, with Alt

// The variable holding the command of key 1..48: "ZF03.BASE", "ZF03.SHIFT", "ZF03.CTRL", "ZF03.ALT";
// its label variable: "ZF03.SHIFT.LABEL". Empty for a number outside 1..48.
std::string FunctionKeyVariable(int number);
std::string FunctionKeyLabelVariable(int number);

// The key's name: "F3", "Shift F3", "Ctrl F3", "Alt F3". Empty outside 1..48.
std::string FunctionKeyName(int number);

// The command text of key 1..48. An invalid number or an empty mapping is reported (box, beep 2) and
// gives the empty text.
std::string FunctionKeyCommand(AppSession& app, int number);

// The command line of key 1..48 in the focused field: the mapping, followed after one blank by the
// context's command field text unless its first word is CLOSEALL, END, HELP, KEYS, RETRIEVE, RETURN,
// SPLITF, SPLITH, SPLITV or SWAP; the command field is cleared in any case. An unmapped key is None.
KeyOutcome RunFunctionKey(AppSession& app, const KeyContext& context, int number);

// ---- Control keys --------------------------------------------------------------------------------

// The command line of Ctrl+letter in the focused field: ZCTRL.<letter>, followed after one blank by
// the command field text (which is then cleared) unless its first word is COPY, CUT, PASTE or
// DELETE. Only letters other than H, I, J and M are mapped; anything else is None. An empty
// mapping: "No mapping value for CTRL-%c" (box, beep 2) and None.
KeyOutcome ControlKeyCommand(AppSession& app, const KeyContext& context, char letter);

// True when Ctrl+C, Ctrl+V and Ctrl+X in the command fields run their ZCTRL mappings (variable
// ZCLIPBOARDKEYS is "TRUE"); otherwise they keep the field's own clipboard meaning.
bool ClipboardKeysMapped(AppSession& app);

// ---- Insert mode and caret -----------------------------------------------------------------------

// The instance's typing mode in the data area (from ZINSERT at start-up). Command fields always
// insert; their caret is CaretShapeFor(Insert).
ui::TypingMode CurrentTypingMode(const AppSession& app);

// Sets the typing mode and stores ZINSERT ("TRUE" or "FALSE"), so the profile keeps it.
void SetTypingMode(AppSession& app, ui::TypingMode mode);

// Switches insert and overtype; returns the caret for the new mode.
ui::CursorShape ToggleInsertMode(AppSession& app);

// The caret for the current mode: ZCURSORWIDTH.INSERT or ZCURSORWIDTH.OVERTYPE, "Narrow" a bar,
// "Medium" an underline, any other value the full cell.
ui::CursorShape CaretShape(AppSession& app);
ui::CursorShape CaretShapeFor(AppSession& app, ui::TypingMode mode);
ui::CursorShape CaretShapeOfWidth(std::string_view width);

// ---- Function key bar ----------------------------------------------------------------------------

// The bar under the data window while ZPFSHOW is "TRUE": 12 buttons for each group that
// ZPFSHOW.BASE, ZPFSHOW.SHIFT, ZPFSHOW.CTRL and ZPFSHOW.ALT switch on, in that order; one group a row
// while at most two are on, else two groups side by side in each of two rows. A button shows, by
// ZPFSHOW.STYLE, the key's name ("Numbers", also for an unknown style; shortened to fit, as
// "S-F12" or "SF12"), its label ("Labels", the name when the label is empty) or its command text
// ("MapVal").
struct FunctionKeyBar {
    int width = 0;
    std::vector<std::string> rows;         // each exactly `width` display bytes
    std::vector<int> firstKey;             // number of the first key of each row: 1, 13, 25 or 37
    std::vector<std::vector<int>> groups;  // the first key of each group in each row, left to right

    // The key 1..48 whose button covers the cell, or 0.
    int KeyAt(int row, int col) const;
};

// Rows the bar needs: 0 while ZPFSHOW is not "TRUE".
int FunctionKeyBarRows(AppSession& app);

// The bar's text for a width in cells. A row of n groups gives group g the cells g*width/n up to
// (g+1)*width/n - 1; button i of a group of w cells covers i*w/12 up to (i+1)*w/12 - 1 of them; its
// text is cut to leave the last cell as a "|" separator.
FunctionKeyBar BuildFunctionKeyBar(AppSession& app, int width);

}  // namespace tavoe
