// The search dialogs (FIND, CHANGE, LOCATE) and IMPORT. Their handlers fill the choice lists the
// definitions bind; LOCATE runs on commit, the others belong to the edit session's search and
// import, which are not part of this build yet, so committing them says so.
#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"

namespace tavoe {

namespace {

// A fixed choice list, keeping the user's last choice (the first entry when there is none).
void FillChoiceList(AppSession& app, const std::string& var, const std::vector<std::string>& items) {
    WriteDialogArray(app, var, items);
    long select = VarGetNumber(app, var + ".Select");
    if (select < 1 || select > static_cast<long>(items.size())) {
        VarSetValue(app, var + ".Select", "1");
    }
}

void FillSearchLists(AppSession& app, const std::string& dialog) {
    FillChoiceList(app, dialog + ".Mask", {"any line", "excluded lines", "non-excluded lines"});
    FillChoiceList(app, dialog + ".Scope", {"FIRST", "LAST", "PREV", "NEXT"});
    FillChoiceList(app, dialog + ".Constrain", {"NONE", "CHARS", "PREFIX", "SUFFIX", "WORD"});
}

void NotYetApplied(AppSession& app, std::string_view dialog) {
    RunOptionDialog(app, dialog, [&app, dialog] {
        if (DialogReply(app, "", dialog) != "CANCEL") {
            ShowNotAvailable(app, dialog);
        }
        LeaveDialog(app);
    });
}

}  // namespace

void FindDialog(AppSession& app) {
    FillSearchLists(app, "Find");
    NotYetApplied(app, "FIND");
}

void ChangeDialog(AppSession& app) {
    FillSearchLists(app, "Change");
    NotYetApplied(app, "CHANGE");
}

// LOCATE on commit goes to the line number or label typed in the dialog.
void LocateDialog(AppSession& app) {
    RunOptionDialog(app, "LOCATE", [&app] {
        std::string reply = DialogReply(app, "", "LOCATE");
        LeaveDialog(app);
        if (reply != "CANCEL") {
            RunEditCommand(app, "LOCATE " + VarGetValue(app, "Locate.Target"));
        }
    });
}

void ImportDialog(AppSession& app) {
    NotYetApplied(app, "IMPORT");
}

}  // namespace tavoe
