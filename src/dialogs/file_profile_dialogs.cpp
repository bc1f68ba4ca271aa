// The file profile dialogs: the list of profiles (FPTYPE, also the PROFILES command), a new profile
// (FPNEW) and the profile's property sheet (FPRECFMF for fixed records, FPRECFMV for variable ones).
// The profile the sheet shows is named by FPType.Edit.
#include <cstdio>
#include <cstdlib>

#include "commands/profile_commands.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "dialogs/property_sheet.h"
#include "editing/edit_session.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/file_profile_io.h"
#include "profiles/file_profile_sheet.h"

namespace tavoe {

namespace {

void Box(AppSession& app, const std::string& text, Beep beep = Beep::Exclamation) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

// Some open edit session holds the profile.
bool ProfileInUse(AppSession& app, const std::string& name) {
    for (auto& session : app.editSessions) {
        if (session->buffer.profile.name == name) {
            return true;
        }
    }
    return false;
}

std::string SheetFor(AppSession& app, const std::string& name) {
    FileProfile profile;
    (void)ReadFileProfile(app, name, profile);
    return profile.recordFormat == Recfm::Fixed ? "DIALOG FPRECFMF" : "DIALOG FPRECFMV";
}

void ApplyFpType(AppSession& app) {
    std::string reply = DialogReply(app, "FPType.Popup", "FPType");
    char letter = reply.empty() ? ' ' : reply[0];
    if (letter == 'N') {
        VarSetValue(app, "FPNew.Type", "");
        PostCommand(app, "DIALOG FPNEW");
        return;
    }
    if (letter != 'E' && letter != 'D') {
        LeaveDialog(app);
        return;
    }
    std::string entry =
        VarGetNumber(app, "FPType.Type.Reply.0") >= 1 ? VarGetValue(app, "FPType.Type.Reply.1") : "";
    if (entry.empty()) {
        Box(app, "Must select file type before requesting operation.");
    } else if (IsTypeListMarker(entry)) {
        Box(app, "Not allowed to select PATH marker.");
    } else if (letter == 'E') {
        if (ProfileInUse(app, entry)) {
            Box(app,
                Format("File Profile '%s' is in use, you can view it but you can not modify it.",
                       entry.c_str()),
                Beep::Information);
        }
        VarSetValue(app, kProfileSheetTypeVariable, entry);
        PostCommand(app, SheetFor(app, entry));
        return;
    } else if (ProfileInUse(app, entry)) {
        Box(app, Format("File Profile '%s' is in use, can not be deleted.", entry.c_str()));
    } else {
        std::string path =
            FindAlongPath(VarGetValue(app, kFileProfilePathVariable), FileProfileFileName(entry));
        if (!path.empty() && std::remove(path.c_str()) != 0) {
            Box(app, Format("Unable to delete '%s'.", path.c_str()));
        }
    }
    ShowDialogAgain(app, "FPTYPE");
}

void ApplyFpNew(AppSession& app) {
    if (DialogReply(app, "", "FPNew") == "CANCEL") {
        LeaveDialog(app);
        return;
    }
    std::string type = UpperCased(VarGetValue(app, "FPNew.Type"));
    if (type.empty()) {
        Box(app, "Specify file type for new file profile.");
        ShowDialogAgain(app, "FPNEW");
        return;
    }
    if (type == "PRN") {
        Box(app,
            "Not allowed to create profile PRN.\n\nClick on menu OPTIONS, item ALIAS PROFILES, alias to any "
            "other name.");
        ShowDialogAgain(app, "FPNEW");
        return;
    }
    if (!FileProfileExists(app, type)) {
        FileProfile profile = BuiltInFileProfile(type);
        if (VarGetNumber(app, "FPNew.Recfm.Select") == 2) {
            profile.recordFormat = Recfm::Fixed;
            profile.maxRecordLength = 80;
            profile.boundsRight = 80;
        }
        if (WriteFileProfile(app, profile) != 0) {
            ShowDialogAgain(app, "FPNEW");
            return;
        }
    }
    VarSetValue(app, kProfileSheetTypeVariable, type);
    PopContext(app);
    PostCommand(app, SheetFor(app, type));
}

// Collects the changed rows of the sheet as name and value.
std::vector<std::pair<std::string, std::string>> ChangedRows(const PropertySheet& sheet) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::string changed = PropertyChangedList(sheet);
    std::size_t pos = 0;
    while (pos < changed.size()) {
        std::size_t blank = changed.find(' ', pos);
        int position = std::atoi(changed.substr(pos, blank - pos).c_str());
        pos = blank == std::string::npos ? changed.size() : blank + 1;
        std::string pair = PropertyGet(sheet, position);
        std::size_t equals = pair.find('=');
        if (equals != std::string::npos) {
            rows.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
        }
    }
    return rows;
}

void RunProfileSheet(AppSession& app) {
    std::string name = UpperCased(VarGetValue(app, kProfileSheetTypeVariable));
    FileProfile profile;
    (void)ReadFileProfile(app, name, profile);
    std::unique_ptr<PropertySheet> sheet =
        PropertySheetCreate("File Profile Options", "help_gpcmd.txt", "PROFILES");
    for (const ProfileSheetRow& row : ProfileSheetRows(profile)) {
        (void)PropertyAdd(app, *sheet, row.name, row.type, row.value);
    }
    PropertySheetRun(app, *sheet);
    std::vector<std::pair<std::string, std::string>> changed = ChangedRows(*sheet);
    PropertySheetFree(std::move(sheet));
    if (!changed.empty()) {
        if (ProfileInUse(app, name)) {
            Box(app, Format("File Profile '%s' can not be modified while in use.", name.c_str()));
        } else if (ApplyProfileSheet(app, profile, changed) == 0) {
            (void)WriteFileProfile(app, profile);
        }
    }
    if (TopContextIs(app, ContextKind::Dialog, "PROPSHEET")) {
        Shell(app).ShowTopContext(app);
    } else {
        ShowContextAgain(app);
    }
}

}  // namespace

void FpTypeDialog(AppSession& app) {
    WriteDialogArray(app, "FPType.Type",
                     ListProfileTypes(VarGetValue(app, kFileProfilePathVariable), kFileProfileExtension));
    VarSetValue(app, "FPType.Type.Top", "0");
    VarSetValue(app, "FPType.Type.Reply.0", "0");
    VarSetValue(app, "FPType.Popup.Reply", "");
    VarSetValue(app, "FPType.Popup.0", "2");
    VarSetValue(app, "FPType.Popup.1", "Edit");
    VarSetValue(app, "FPType.Popup.2", "Delete");
    RunOptionDialog(app, "FPTYPE", [&app] { ApplyFpType(app); });
}

void FpNewDialog(AppSession& app) {
    WriteDialogArray(app, "FPNew.Recfm", {"VARIABLE", "FIXED"});
    if (VarGetNumber(app, "FPNew.Recfm.Select") < 1) {
        VarSetValue(app, "FPNew.Recfm.Select", "1");
    }
    RunOptionDialog(app, "FPNEW", [&app] { ApplyFpNew(app); });
}

void FpRecfmDialog(AppSession& app) {
    RunProfileSheet(app);
}

}  // namespace tavoe
