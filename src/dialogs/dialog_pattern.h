#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "dialogs/dialog_runtime.h"

namespace tavoe {

// The pattern every built-in option dialog follows: its handler copies the settings into the
// dialog's variables, shows the dialog, and by the result applies (0), asks for help (1), goes back
// to whatever opened the dialog (3, 4) or lets the queued RETURN unwind (2). An apply handler that
// finds an error, or runs a sub-step, shows its dialog again with the user's entries kept.

struct AppSession;

// Shows the dialog and acts on the result; apply runs for a commit.
void RunOptionDialog(AppSession& app, std::string_view name, const std::function<void()>& apply);

// What a dialog that ended without a commit leads to: Help posts HELP, closing it goes back to the
// context below, a dialog that could not be read shows the current context again.
void FinishUncommittedDialog(AppSession& app, DialogResult result);

// Queues the dialog again: its frame is dropped first, so showing it pushes the frame afresh.
void ShowDialogAgain(AppSession& app, std::string_view name);

// Goes back to what opened the dialog now on top (ShowTopContext).
void LeaveDialog(AppSession& app);

// The reply of a list dialog: the pop-up choice when there is one (its variable POPUP.Reply), else
// the button pushed (DLG.BtnPushed), upper-cased; "" when neither.
std::string DialogReply(AppSession& app, std::string_view popupVar, std::string_view dialog);

// Marks a setting to be saved with the main profile.
void KeepSetting(AppSession& app, std::string_view name);

// Sets a boolean setting from a check box variable ("TRUE" when it is "TRUE", else "FALSE").
void SetBoolSetting(AppSession& app, std::string_view setting, std::string_view checkboxVar);

}  // namespace tavoe
