#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavoe {

// Running a dialog: the definition is found or parsed, its controls are built on the character
// grid, loaded from the variables they are bound to, run modally, and on commit stored back.
//
// Variable conventions, VAR being an object's bound variable and DLG the dialog name:
//   VAR               INPUT text, OUTPUT text (never stored), CHECKBOX "TRUE"/"FALSE"
//   VAR.0, VAR.1 ..   LIST and COMBO items (empty items skipped)
//   VAR.Top           LIST: 0-based first visible item
//   VAR.Select        COMBO: 1-based selected item (stored back by a fixed-list combo)
//   VAR.SIZE          modifiable COMBO: capacity of its history list
//   VAR.Reply.0, .1.. LIST: the selected items on commit
//   DLG.BtnPushed     caption of the committing button, "" when none
//   POPUP.0, .1 ..    LIST pop-up menu entries ("---" a separator); POPUP.Reply the choice

struct AppSession;

// How a showing of a dialog ended.
enum class DialogResult : int {
    Committed = 0,  // fields stored
    Help = 1,       // F1 (nothing stored) or a button captioned "Help" (stored)
    Return = 2,     // F4: RETURN queued (or refused for the property-sheet dialogs)
    Closed = 3,     // F3, a cancel button or the close box; nothing stored
    Failed = 4,     // not found, not parsed or not shown
};

// Shows the dialog modally and returns how it ended. Pushes the ("dialog", name) frame unless it is
// already on top.
DialogResult ShowDialog(AppSession& app, std::string_view name);

// The macro service's view of a showing: shows the dialog, pops its frame, and gives the reply text
// "OK", "HELP", "CANCEL" or "ERROR"; nullopt for RETURN, which leaves the macro's reply unchanged.
std::optional<std::string> ShowDialogForMacro(AppSession& app, std::string_view name);
std::optional<std::string> DialogReplyText(DialogResult result);

// The name of a dialog variable: "%s.%s" of the dialog (or variable) and the suffix.
std::string DialogVar(std::string_view base, std::string_view suffix);

}  // namespace tavoe
