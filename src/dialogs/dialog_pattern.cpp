#include "dialogs/dialog_pattern.h"

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"

namespace tavoe {

void RunOptionDialog(AppSession& app, std::string_view name, const std::function<void()>& apply) {
    DialogResult result = ShowDialog(app, name);
    if (result == DialogResult::Committed) {
        apply();
    } else {
        FinishUncommittedDialog(app, result);
    }
}

void FinishUncommittedDialog(AppSession& app, DialogResult result) {
    switch (result) {
        case DialogResult::Help:
            PostCommand(app, "HELP");
            break;
        case DialogResult::Closed:
            LeaveDialog(app);
            break;
        case DialogResult::Failed:
            // Nothing was pushed for a dialog that could not be read: show the current context again.
            ShowContextAgain(app);
            break;
        case DialogResult::Committed:
        case DialogResult::Return:
            break;
    }
}

void ShowDialogAgain(AppSession& app, std::string_view name) {
    PopContext(app);
    PostCommand(app, Format("DIALOG %s", UpperCased(name).c_str()));
}

void LeaveDialog(AppSession& app) {
    Shell(app).ShowTopContext(app);
}

std::string DialogReply(AppSession& app, std::string_view popupVar, std::string_view dialog) {
    std::string reply;
    if (!popupVar.empty()) {
        reply = VarGetValue(app, DialogVar(popupVar, "Reply"));
    }
    if (reply.empty()) {
        reply = VarGetValue(app, DialogVar(dialog, "BtnPushed"));
    }
    return UpperCased(reply);
}

void KeepSetting(AppSession& app, std::string_view name) {
    VarSetPersist(app, name, 1);
}

void SetBoolSetting(AppSession& app, std::string_view setting, std::string_view checkboxVar) {
    VarSetValue(app, setting, VarGetValue(app, checkboxVar) == "TRUE" ? "TRUE" : "FALSE");
    KeepSetting(app, setting);
}

}  // namespace tavoe
