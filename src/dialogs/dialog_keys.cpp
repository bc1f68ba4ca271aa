// The key assignment dialogs: the chooser KEYS, the four function key groups, the Ctrl+letter keys
// and the right-Ctrl switch. The group dialogs bind the key variables (ZF01.BASE, ZF01.BASE.LABEL,
// ZCTRL.A, ...) directly, so committing stores them and the key mapping reads them at the next key.
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Keeps every key variable of the group (command and label) for the main profile.
void KeepFunctionKeys(AppSession& app, const char* group, int skipKey) {
    for (int key = 1; key <= 12; ++key) {
        if (key == skipKey) {
            continue;
        }
        KeepSetting(app, Format("ZF%02d.%s", key, group));
        KeepSetting(app, Format("ZF%02d.%s.LABEL", key, group));
    }
}

void FunctionKeyGroupDialog(AppSession& app, const char* dialog, const char* group, int skipKey) {
    RunOptionDialog(app, dialog, [&app, dialog, group, skipKey] {
        if (DialogReply(app, "", dialog) == "CANCEL") {
            LeaveDialog(app);
            return;
        }
        KeepFunctionKeys(app, group, skipKey);
        LeaveDialog(app);
    });
}

}  // namespace

void KeysDialog(AppSession& app) {
    RunOptionDialog(app, "KEYS", [&app] {
        std::string reply = DialogReply(app, "", "Keys");
        const char* next = reply == "BASE"         ? "DIALOG KEYSBASE"
                           : reply == "SHIFT"      ? "DIALOG KEYSSHFT"
                           : reply == "CTRL"       ? "DIALOG KEYSCTRL"
                           : reply == "ALT"        ? "DIALOG KEYSALT"
                           : reply == "CTRL A-Z"   ? "DIALOG KEYSATOZ"
                           : reply == "RIGHT CTRL" ? "DIALOG KEYSRCTL"
                                                   : nullptr;
        if (next == nullptr) {
            LeaveDialog(app);
            return;
        }
        PostCommand(app, next);
    });
}

void KeysBaseDialog(AppSession& app) {
    FunctionKeyGroupDialog(app, "KEYSBASE", "BASE", 0);
}

void KeysShiftDialog(AppSession& app) {
    FunctionKeyGroupDialog(app, "KEYSSHFT", "SHIFT", 0);
}

void KeysCtrlDialog(AppSession& app) {
    FunctionKeyGroupDialog(app, "KEYSCTRL", "CTRL", 0);
}

// Alt+F6 has no mapping variable, so the dialog does not offer it.
void KeysAltDialog(AppSession& app) {
    FunctionKeyGroupDialog(app, "KEYSALT", "ALT", 6);
}

// Ctrl+H, I, J and M are the backspace, tab, line feed and carriage return codes and are not mapped.
void KeysAtoZDialog(AppSession& app) {
    RunOptionDialog(app, "KEYSATOZ", [&app] {
        if (DialogReply(app, "", "KeysAtoZ") == "CANCEL") {
            LeaveDialog(app);
            return;
        }
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (letter != 'H' && letter != 'I' && letter != 'J' && letter != 'M') {
                KeepSetting(app, Format("ZCTRL.%c", letter));
            }
        }
        LeaveDialog(app);
    });
}

void KeysRCtlDialog(AppSession& app) {
    VarSetValue(app, "KeysRCtl.RightCtrl", app.rightCtrlIsEnter ? "TRUE" : "FALSE");
    RunOptionDialog(app, "KEYSRCTL", [&app] {
        if (DialogReply(app, "", "KeysRCtl") == "CANCEL") {
            LeaveDialog(app);
            return;
        }
        SetBoolSetting(app, "ZRIGHTCTRL", "KeysRCtl.RightCtrl");
        app.rightCtrlIsEnter = VarIsTrue(app, "ZRIGHTCTRL");
        LeaveDialog(app);
    });
}

}  // namespace tavoe
