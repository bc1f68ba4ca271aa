// The variable browser: VARS lists every variable with a value (name, whether it is saved with the
// profile, value), with a pop-up "Edit" (the VARS2 dialog) and "Delete", and a Find button that
// positions the list on a named variable.
#include <algorithm>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"

namespace tavoe {

namespace {

bool HiddenFromBrowser(std::string_view name) {
    return name.rfind("VARS.", 0) == 0 || name.rfind("VARS2.", 0) == 0;
}

void Tell(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Information);
}

// The names of the listed variables, in store order. The rows are written after the walk, since
// writing creates variables.
std::vector<std::string> ListedVariables(AppSession& app, std::vector<std::string>& rows) {
    std::vector<std::string> names;
    size_t width = std::max<size_t>(VarLongestName(app), 4);
    for (VarRecord* rec = VarFirst(app); rec != nullptr; rec = VarNext(app)) {
        if (!rec->HasValue() || HiddenFromBrowser(rec->Name())) {
            continue;
        }
        names.emplace_back(rec->Name());
        rows.push_back(PadRight(rec->Name(), width) + (rec->persist ? "  YES   " : "   NO    ") +
                       std::string(rec->Value()));
    }
    return names;
}

void PrepareVars(AppSession& app) {
    std::vector<std::string> rows;
    ListedVariables(app, rows);
    size_t width = std::max<size_t>(VarLongestName(app), 4);
    VarSetValue(app, "Vars.Header", PadRight("Name", width) + " Saved  Value");
    WriteDialogArray(app, "Vars.List", rows);
    VarSetValue(app, "Vars.Popup.Reply", "");
    WriteDialogArray(app, "Vars.Popup", {"Edit", "Delete"});
}

// The one selected row's variable name; "" after the message when there is none or several.
std::string SelectedVariable(AppSession& app) {
    long count = VarGetNumber(app, "Vars.List.Reply.0");
    if (count < 1) {
        Tell(app, "No selection.");
        return std::string();
    }
    if (count > 1) {
        Tell(app, "Only one selection allowed.");
        return std::string();
    }
    return FirstWord(VarGetValue(app, "Vars.List.Reply.1"));
}

// Find: asks for a name (dialog VARFIND) and puts its row at the top of the list.
void FindVariable(AppSession& app) {
    DialogResult result = ShowDialog(app, "varfind");
    if (TopContextIs(app, ContextKind::Dialog, "VARFIND")) {
        PopContext(app);
    }
    if (result != DialogResult::Committed || VarGetValue(app, "VarFind.BtnPushed") == "Cancel") {
        return;
    }
    std::string wanted = UpperCased(VarGetValue(app, "VarFind.Find"));
    if (wanted.empty()) {
        Tell(app, "FIND requires variable name.");
        return;
    }
    std::vector<std::string> rows;
    std::vector<std::string> names = ListedVariables(app, rows);
    auto found = std::find(names.begin(), names.end(), wanted);
    if (found == names.end()) {
        Tell(app, Format("Variable '%s' not found.", wanted.c_str()));
        return;
    }
    VarSetNumber(app, "Vars.List.Top", static_cast<long>(found - names.begin()));
}

void ApplyVars(AppSession& app) {
    std::string reply = DialogReply(app, "Vars.Popup", "Vars");
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'E') {
        std::string name = SelectedVariable(app);
        if (!name.empty()) {
            VarRecord* rec = VarFind(app, name);
            VarSetValue(app, "Vars2.Name", name);
            VarSetValue(app, "Vars2.Persist", rec != nullptr && rec->persist ? "TRUE" : "FALSE");
            VarSetValue(app, "Vars2.Value", rec != nullptr ? std::string(rec->Value()) : std::string());
            PostCommand(app, "DIALOG VARS2");
            return;
        }
    } else if (letter == 'D') {
        std::string name = SelectedVariable(app);
        if (!name.empty()) {
            VarDelete(app, name);
        }
    } else if (letter == 'F') {
        FindVariable(app);
    } else {
        LeaveDialog(app);
        return;
    }
    ShowDialogAgain(app, "VARS");
}

}  // namespace

void VarsDialog(AppSession& app) {
    PrepareVars(app);
    RunOptionDialog(app, "VARS", [&app] { ApplyVars(app); });
}

// Editing one variable: the value and the persist flag are written back, then the list is shown.
void Vars2Dialog(AppSession& app) {
    RunOptionDialog(app, "VARS2", [&app] {
        std::string name = VarGetValue(app, "Vars2.Name");
        if (DialogReply(app, "", "Vars2") != "CANCEL" && !name.empty()) {
            VarSetValue(app, name, VarGetValue(app, "Vars2.Value"));
            VarSetPersist(app, name, VarGetValue(app, "Vars2.Persist") == "TRUE" ? 1 : 0);
        }
        LeaveDialog(app);
    });
}

}  // namespace tavoe
