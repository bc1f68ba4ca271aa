#include "utilities/print_style_dialog.h"

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "dialogs/property_sheet.h"
#include "platform/file_write.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "utilities/print_style.h"
#include "utilities/user_command_list.h"

namespace tavoe {

namespace {

constexpr const char* kDialog = "PRNSTYLE";

void Box(AppSession& app, const std::string& text, Beep beep = Beep::Exclamation) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

std::vector<ControlListEntry> StyleRows(AppSession& app) {
    return ControlListRows(app, kPrintStylePathVariable, kPrintStyleExtension, "Describe");
}

void DeleteStyle(AppSession& app, const ControlListEntry& entry) {
    std::string name = UpperCased(entry.name);
    if (name == kDefaultPrintStyle) {
        Box(app, Format("Not allowed to delete print style %s", name.c_str()));
        return;
    }
    std::string path = JoinPath(entry.directory, entry.name + std::string(kPrintStyleExtension));
    if (!RemoveFile(path).Ok()) {
        Box(app, Format("Unable to delete print style file '%s'.", path.c_str()), Beep::Error);
        return;
    }
    if (UpperCased(VarGetValue(app, "ZPRNSTYLE")) == name) {
        Box(app, "Deleting active style, style set to DEFAULT", Beep::Information);
        VarSetValue(app, "ZPRNSTYLE", kDefaultPrintStyle);
        KeepSetting(app, "ZPRNSTYLE");
    }
}

void ApplyPrnStyle(AppSession& app) {
    std::string reply = DialogReply(app, "PrnStyle.Popup", "PrnStyle");
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'N') {
        EditPrintStyle(app, PrintStyle{});
        ShowDialogAgain(app, kDialog);
        return;
    }
    if (letter != 'S' && letter != 'E' && letter != 'D') {
        LeaveDialog(app);
        return;
    }
    std::vector<ControlListEntry> rows = StyleRows(app);
    ControlListEntry entry;
    switch (PickedControlEntry(app, "PrnStyle.List", rows, &entry)) {
        case ControlListPick::Nothing:
            Box(app, "Must select a print style before applying operation.", Beep::Information);
            ShowDialogAgain(app, kDialog);
            return;
        case ControlListPick::Separator:
            Box(app, "Not allowed to select path entry.", Beep::Information);
            ShowDialogAgain(app, kDialog);
            return;
        case ControlListPick::Entry:
            break;
    }
    if (letter == 'S') {
        VarSetValue(app, "ZPRNSTYLE", UpperCased(entry.name));
        KeepSetting(app, "ZPRNSTYLE");
        LeaveDialog(app);
        return;
    }
    if (letter == 'E') {
        PrintStyle style;
        if (ReadPrintStyle(app, entry.name, style) == 0) {
            EditPrintStyle(app, style);
        }
    } else {
        DeleteStyle(app, entry);
    }
    ShowDialogAgain(app, kDialog);
}

}  // namespace

int EditPrintStyle(AppSession& app, PrintStyle style) {
    for (;;) {
        std::unique_ptr<PropertySheet> sheet =
            PropertySheetCreate("Print Style Options", "help_print.txt", "PRNSTYLE");
        AddPrintStyleProperties(app, *sheet, style);
        PropertySheetRun(app, *sheet);
        bool changed = !PropertyChangedList(*sheet).empty();
        ApplyPrintStyleProperties(*sheet, style);
        PropertySheetFree(std::move(sheet));
        if (!changed) {
            return -1;  // left with Cancel, or confirmed without a change
        }
        if (ValidatePrintStyle(app, style) != 0) {
            continue;  // the sheet again, with what was entered
        }
        if (WritePrintStyle(app, style) != 0) {
            return -1;
        }
        VarSetValue(app, "ZPRNSTYLE", style.name);
        KeepSetting(app, "ZPRNSTYLE");
        return 0;
    }
}

void PrnStyleDialog(AppSession& app) {
    PrintStyle probe;
    ReadPrintStyle(app, kDefaultPrintStyle, probe);  // writes DEFAULT when it exists nowhere
    WriteControlList(app, "PrnStyle.List", StyleRows(app));
    VarSetValue(app, "PrnStyle.Active", VarGetValue(app, "ZPRNSTYLE"));
    VarSetValue(app, "PrnStyle.Popup.Reply", "");
    WriteDialogArray(app, "PrnStyle.Popup", {"Select", "Edit", "Delete"});
    RunOptionDialog(app, kDialog, [&app] { ApplyPrnStyle(app); });
}

}  // namespace tavoe
