// The alias lists: primary-command aliases (ALIASCMD, new entries in AEDITCMD) and file-profile
// aliases (ALIASPRF, AEDITPRF). Each list dialog shows one row per alias with a pop-up "Delete";
// every outcome of the entry dialogs shows the list again.
#include <algorithm>
#include <cctype>

#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"
#include "profiles/main_profile_aliases.h"

namespace tavoe {

namespace {

constexpr size_t kAliasColumn = 15;

void Box(AppSession& app, const std::string& text, Beep beep) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

// List.1 .. List.n: the alias padded to 15 characters, a blank and the actual.
void PrepareAliasList(AppSession& app, const CommandAliasList& aliases, std::string_view dialog) {
    std::vector<std::string> rows;
    for (const CommandAlias& alias : aliases) {
        rows.push_back(PadRight(alias.alias, kAliasColumn) + " " + alias.actual);
    }
    std::string base(dialog);
    WriteDialogArray(app, base + ".List", rows);
    VarSetValue(app, base + ".Popup.Reply", "");
    VarSetValue(app, base + ".Popup.0", "1");
    VarSetValue(app, base + ".Popup.1", "Delete");
}

// The reply letter: the pop-up choice, else the button. "N" opens the entry dialog, "D" deletes the
// selected alias; anything else goes back.
void ApplyAliasList(AppSession& app, CommandAliasList& aliases, std::string_view dialog,
                    std::string_view entryDialog) {
    std::string base(dialog);
    std::string reply = DialogReply(app, base + ".Popup", base);
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'N') {
        VarSetValue(app, DialogVar(entryDialog, "Alias"), "");
        VarSetValue(app, DialogVar(entryDialog, "Actual"), "");
        PostCommand(app, Format("DIALOG %s", UpperCased(entryDialog).c_str()));
        return;
    }
    if (letter != 'D') {
        LeaveDialog(app);
        return;
    }
    if (VarGetNumber(app, base + ".List.Reply.0") < 1) {
        Box(app, "Must select entry to delete.", Beep::Information);
    } else {
        std::string name = FirstWord(VarGetValue(app, base + ".List.Reply.1"));
        auto found = std::find_if(aliases.begin(), aliases.end(),
                                  [&name](const CommandAlias& a) { return a.alias == name; });
        if (found != aliases.end()) {
            aliases.erase(found);
        }
    }
    ShowDialogAgain(app, dialog);
}

bool LettersAndDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// The entry dialog's outcome always shows the list again: its own frame is dropped and the list
// queued (the list's frame is below it).
void BackToList(AppSession& app, std::string_view list) {
    PopContext(app);
    PostCommand(app, Format("DIALOG %s", std::string(list).c_str()));
}

void ApplyNewCommandAlias(AppSession& app) {
    std::string alias = UpperCased(VarGetValue(app, "AEditCmd.Alias"));
    std::string actual = UpperCased(VarGetValue(app, "AEditCmd.Actual"));
    if (alias.empty()) {
        Box(app, "Alias field not specified, CHANGE ignored.", Beep::Exclamation);
    } else if (!LettersAndDigits(alias)) {
        Box(app, "Alias must be verb using A..Z, 0..9 characters only.", Beep::Information);
    } else if (IsPrimaryCommand(app, alias) || FindAlias(app.aliases, alias) != nullptr) {
        Box(app,
            Format("'%s' is already an Tavo primary command or alias.\n\nIf alias, delete current entry then "
                   "re-assign.\n\nIf Tavo primary command, pick a different name.",
                   alias.c_str()),
            Beep::Exclamation);
    } else if (actual.empty()) {
        Box(app, "Actual field not specified, CHANGE ignored.", Beep::Exclamation);
    } else if (actual.find(' ') != std::string::npos) {
        Box(app, "'Actual' field may contain only primary command name, no parms allowed", Beep::Information);
    } else if (!IsPrimaryCommand(app, actual)) {
        Box(app, Format("'%s' is not an Tavo primary command.", actual.c_str()), Beep::Exclamation);
    } else {
        app.aliases.push_back(
            CommandAlias{alias.substr(0, kAliasNameMax), actual.substr(0, kAliasActualMax)});
    }
}

// A profile alias: an existing alias takes the new target, or is deleted when the target is empty;
// a new alias needs a target.
void ApplyNewProfileAlias(AppSession& app) {
    std::string alias = UpperCased(VarGetValue(app, "AEditPrf.Alias")).substr(0, kAliasNameMax);
    std::string actual = UpperCased(VarGetValue(app, "AEditPrf.Actual")).substr(0, kAliasActualMax);
    if (alias.empty()) {
        Box(app, "Alias field not specified, CHANGE ignored.", Beep::Exclamation);
        return;
    }
    auto found = std::find_if(app.profileAliases.begin(), app.profileAliases.end(),
                              [&alias](const CommandAlias& a) { return a.alias == alias; });
    if (found != app.profileAliases.end()) {
        if (actual.empty()) {
            app.profileAliases.erase(found);
        } else {
            found->actual = actual;
        }
        return;
    }
    if (actual.empty()) {
        Box(app, "Actual field not specified, CHANGE ignored.", Beep::Exclamation);
        return;
    }
    app.profileAliases.push_back(CommandAlias{alias, actual});
}

void EntryDialog(AppSession& app, const char* dialog, const char* list, void (*apply)(AppSession&)) {
    DialogResult result = ShowDialog(app, dialog);
    switch (result) {
        case DialogResult::Committed:
            if (DialogReply(app, "", dialog) != "CANCEL") {
                apply(app);
            }
            BackToList(app, list);
            break;
        default:
            FinishUncommittedDialog(app, result);
            break;
    }
}

}  // namespace

void AliasCmdDialog(AppSession& app) {
    PrepareAliasList(app, app.aliases, "AliasCmd");
    RunOptionDialog(app, "ALIASCMD", [&app] { ApplyAliasList(app, app.aliases, "AliasCmd", "AEditCmd"); });
}

void AEditCmdDialog(AppSession& app) {
    EntryDialog(app, "AEDITCMD", "ALIASCMD", ApplyNewCommandAlias);
}

void AliasPrfDialog(AppSession& app) {
    PrepareAliasList(app, app.profileAliases, "AliasPrf");
    RunOptionDialog(app, "ALIASPRF",
                    [&app] { ApplyAliasList(app, app.profileAliases, "AliasPrf", "AEditPrf"); });
}

void AEditPrfDialog(AppSession& app) {
    EntryDialog(app, "AEDITPRF", "ALIASPRF", ApplyNewProfileAlias);
}

}  // namespace tavoe
