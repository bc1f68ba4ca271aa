// The search dialogs (FIND, CHANGE, LOCATE) and IMPORT. Their handlers fill the choice lists the
// definitions bind; committing FIND or CHANGE builds the command's parameter text from the fields and
// runs it in the edit session, LOCATE goes to the line or label typed, IMPORT imports the file named
// in its fields.
#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "editing/import_command.h"

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

// A field's text as a quoted string: c'..' when case counts, with a quote the text does not hold.
std::string QuotedString(const std::string& text, bool exact) {
    char quote = text.find('\'') != std::string::npos && text.find('"') == std::string::npos ? '"' : '\'';
    return (exact ? "c" : "") + std::string(1, quote) + text + std::string(1, quote);
}

// The chosen entry of a choice list.
std::string ChoiceOf(AppSession& app, const std::string& var) {
    return VarGetValue(app, var + "." + VarGetValue(app, var + ".Select"));
}

// The parameter text of the dialog's fields: the strings, columns, labels, line class, direction and
// constraint, in the order the commands read them.
std::string SearchParameters(AppSession& app, const std::string& dialog, bool change) {
    bool exact = VarGetValue(app, dialog + ".Exact") == "TRUE";
    std::string text = QuotedString(VarGetValue(app, dialog + ".FindStr"), exact);
    if (change) {
        text += " " + QuotedString(VarGetValue(app, dialog + ".ChangeStr"), false);
    }
    for (const char* field : {".ColStart", ".ColEnd", ".LblStart", ".LblEnd"}) {
        std::string value = VarGetValue(app, dialog + field);
        if (!value.empty() && value.find(' ') == std::string::npos) {
            text += " " + value;
        }
    }
    std::string mask = ChoiceOf(app, dialog + ".Mask");
    if (mask == "excluded lines") {
        text += " X";
    } else if (mask == "non-excluded lines") {
        text += " NX";
    }
    std::string scope = ChoiceOf(app, dialog + ".Scope");
    if (!scope.empty()) {
        text += " " + scope;
    }
    std::string constrain = ChoiceOf(app, dialog + ".Constrain");
    if (!constrain.empty() && constrain != "NONE" && constrain != "CHARS") {
        text += " " + constrain;
    }
    return text;
}

void RunSearchDialog(AppSession& app, std::string_view name, const std::string& dialog, bool change) {
    RunOptionDialog(app, name, [&app, name, dialog, change] {
        std::string reply = DialogReply(app, "", name);
        LeaveDialog(app);
        if (reply != "CANCEL") {
            RunEditCommand(app,
                           std::string(change ? "CHANGE " : "FIND ") + SearchParameters(app, dialog, change));
        }
    });
}

}  // namespace

void FindDialog(AppSession& app) {
    FillSearchLists(app, "Find");
    RunSearchDialog(app, "FIND", "Find", false);
}

void ChangeDialog(AppSession& app) {
    FillSearchLists(app, "Change");
    RunSearchDialog(app, "CHANGE", "Change", true);
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

// The fields start from the last parameters IMPORT was given (ZIMPORTPARMS); committing builds the
// parameter text from them again, the file name in quotes when it holds a blank.
void ImportDialog(AppSession& app) {
    ImportParams last;
    if (ParseImportParams(VarGetValue(app, "ZIMPORTPARMS"), last) == nullptr) {
        VarSetValue(app, "Import.File", last.file);
        VarSetValue(app, "Import.Start", last.startLine > 0 ? std::to_string(last.startLine) : "");
        VarSetValue(app, "Import.End", last.endLine > 0 ? std::to_string(last.endLine) : "");
        VarSetValue(app, "Import.AsNotes", last.asNotes ? "TRUE" : "FALSE");
    }
    RunOptionDialog(app, "IMPORT", [&app] {
        std::string reply = DialogReply(app, "", "IMPORT");
        LeaveDialog(app);
        if (reply != "IMPORT") {
            return;
        }
        std::string file = VarGetValue(app, "Import.File");
        std::string text = file.find(' ') != std::string::npos ? "\"" + file + "\"" : file;
        for (const char* field : {"Import.Start", "Import.End"}) {
            std::string value(CommandTrim(VarGetValue(app, field)));
            if (!value.empty()) {
                text += " " + value;
            }
        }
        if (VarGetValue(app, "Import.AsNotes") == "TRUE") {
            text += " ASNOTES";
        }
        RunEditCommand(app, "IMPORT " + text);
    });
}

}  // namespace tavoe
