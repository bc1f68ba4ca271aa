// The general option dialogs: general options, interface style, search paths, the about box, the
// dialog test bench and the editor options chooser.
#include <sys/utsname.h>

#include <array>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shared_block.h"
#include "core/var_store.h"
#include "dialogs/dialog_cache.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/main_profile.h"

namespace tavoe {

namespace {

constexpr std::array<std::string_view, 3> kBackupPolicies{"ALWAYS", "NEVER", "FILEPROF"};
constexpr std::array<std::string_view, 3> kMenuStyles{"Windows GUI", "Modern Tavo", "Legacy Tavo"};

// The search paths and the dialog field of each.
struct PathField {
    std::string_view setting;
    std::string_view field;
};
constexpr std::array<PathField, 10> kPathFields{{
    {"ZPATH.DIALOGS", "Paths.Dialogs"},
    {"ZPATH.MENUS", "Paths.Menus"},
    {"ZPATH.MACROS", "Paths.Macros"},
    {"ZPATH.FILEPROFILES", "Paths.FileProfiles"},
    {"ZPATH.COLORIZATION", "Paths.Colorization"},
    {"ZPATH.PRINTSTYLES", "Paths.PrintStyles"},
    {"ZPATH.PROJECTS", "Paths.Projects"},
    {"ZPATH.TEMPLATES", "Paths.Templates"},
    {"ZPATH.USERCOMMANDS", "Paths.UserCommands"},
    {"ZPATH.HELP", "Paths.Help"},
}};

// Fills a fixed choice list and selects the entry equal to the current value (none when absent).
template <size_t N>
void FillChoices(AppSession& app, std::string_view var, const std::array<std::string_view, N>& choices,
                 std::string_view current) {
    std::vector<std::string> items(choices.begin(), choices.end());
    WriteDialogArray(app, var, items);
    long select = 0;
    for (size_t i = 0; i < N; ++i) {
        if (choices[i] == current) {
            select = static_cast<long>(i + 1);
        }
    }
    VarSetNumber(app, DialogVar(var, "Select"), select);
}

template <size_t N>
std::string ChosenEntry(AppSession& app, std::string_view var,
                        const std::array<std::string_view, N>& choices) {
    long select = VarGetNumber(app, DialogVar(var, "Select"));
    if (select < 1 || select > static_cast<long>(N)) {
        return std::string();
    }
    return std::string(choices[select - 1]);
}

bool IsCancel(const std::string& reply) {
    return reply == "CANCEL";
}

}  // namespace

// General options: message sounds, session cooperation and the backup policy. Applying writes the
// main profile at once, so other sessions started later see the settings.
void GenOptDialog(AppSession& app) {
    VarSetValue(app, "GenOpt.MsgSounds", VarIsTrue(app, "ZMSGSOUNDS") ? "TRUE" : "FALSE");
    VarSetValue(app, "GenOpt.SessionCoop", VarIsTrue(app, "ZSESSIONCOOPERATION") ? "TRUE" : "FALSE");
    FillChoices(app, "GenOpt.Backup", kBackupPolicies, VarGetValue(app, "ZBACKUP"));
    RunOptionDialog(app, "GENOPT", [&app] {
        if (IsCancel(DialogReply(app, "", "GenOpt"))) {
            LeaveDialog(app);
            return;
        }
        SetBoolSetting(app, "ZMSGSOUNDS", "GenOpt.MsgSounds");
        SetBoolSetting(app, "ZSESSIONCOOPERATION", "GenOpt.SessionCoop");
        app.sessionCooperation = VarIsTrue(app, "ZSESSIONCOOPERATION");
        std::string backup = ChosenEntry(app, "GenOpt.Backup", kBackupPolicies);
        if (!backup.empty()) {
            VarSetValue(app, "ZBACKUP", backup);
            KeepSetting(app, "ZBACKUP");
        }
        (void)WriteMainProfile(app, nullptr);
        LeaveDialog(app);
    });
}

// Interface style: the menu style and the use of the common open dialog.
void IStyleDialog(AppSession& app) {
    FillChoices(app, "IStyle.Style", kMenuStyles, VarGetValue(app, "ZMENUSTYLE"));
    VarSetValue(app, "IStyle.Cod", VarIsTrue(app, "ZCOD") ? "TRUE" : "FALSE");
    RunOptionDialog(app, "ISTYLE", [&app] {
        if (IsCancel(DialogReply(app, "", "IStyle"))) {
            LeaveDialog(app);
            return;
        }
        std::string style = ChosenEntry(app, "IStyle.Style", kMenuStyles);
        if (!style.empty()) {
            VarSetValue(app, "ZMENUSTYLE", style);
            KeepSetting(app, "ZMENUSTYLE");
        }
        SetBoolSetting(app, "ZCOD", "IStyle.Cod");
        LeaveDialog(app);
    });
}

// Search paths: each ZPATH setting in its own field. A path may not be emptied, since every file of
// its kind would then be lost from sight.
void PathsDialog(AppSession& app) {
    for (const PathField& path : kPathFields) {
        VarSetValue(app, path.field, VarGetValue(app, path.setting));
    }
    RunOptionDialog(app, "PATHS", [&app] {
        if (IsCancel(DialogReply(app, "", "Paths"))) {
            LeaveDialog(app);
            return;
        }
        for (const PathField& path : kPathFields) {
            std::string value = VarGetValue(app, path.field);
            if (SplitSearchPath(value).empty()) {
                ShowMessage(app,
                            Format("%s must name at least one directory.", std::string(path.setting).c_str()),
                            MsgTo::Box, Beep::Exclamation);
                ShowDialogAgain(app, "PATHS");
                return;
            }
        }
        for (const PathField& path : kPathFields) {
            VarSetValue(app, path.setting, VarGetValue(app, path.field));
            KeepSetting(app, path.setting);
        }
        LeaveDialog(app);
    });
}

// The about box: program version and build, and the operating system.
void AboutDialog(AppSession& app) {
    std::string build;
    std::string system;
    if (app.shared) {
        build = app.shared->ProgramBuild();
        system = app.shared->OsName() + " " + app.shared->OsVersion();
    }
    if (system == " " || system.empty()) {
        struct utsname names {};
        if (uname(&names) == 0) {
            system = std::string(names.sysname) + " " + names.release;
        }
    }
    VarSetValue(app, "About.Version", Format("Tavo/E %s", TAVOE_VERSION));
    VarSetValue(app, "About.Build", build.empty() ? std::string("-") : build);
    VarSetValue(app, "About.System", system);
    RunOptionDialog(app, "ABOUT", [&app] { LeaveDialog(app); });
}

// The dialog test bench: shows any dialog definition (through its built-in handler, or plainly with
// the result reported), runs a macro, and switches the caches.
void DlgTestDialog(AppSession& app) {
    std::vector<std::string> builtIns;
    for (const BuiltInDialog& dialog : BuiltInDialogs()) {
        builtIns.emplace_back(dialog.name);
    }
    WriteDialogArray(app, "DlgTest.Columns", builtIns);
    WriteDialogArray(app, "DlgTest.Mode", {"Plain", "With handler"});
    if (VarGetNumber(app, "DlgTest.Mode.Select") < 1) {
        VarSetValue(app, "DlgTest.Mode.Select", "1");
    }
    if (VarGetValue(app, "DlgTest.MacroName.SIZE").empty()) {
        VarSetValue(app, "DlgTest.MacroName.SIZE", "8");
    }
    std::vector<std::string> cached;
    DialogCache& cache = SessionDialogCache(app);
    for (const auto& def : cache.definitions) {
        cached.push_back(def->name);
    }
    WriteDialogArray(app, "DlgTest.List", cached);
    VarSetValue(app, "DlgTest.Popup.Reply", "");
    WriteDialogArray(app, "DlgTest.Popup", {"Show", "---", "Discard"});
    RunOptionDialog(app, "DLGTEST", [&app] {
        std::string reply = DialogReply(app, "DlgTest.Popup", "DlgTest");
        std::string name = UpperCased(VarGetValue(app, "DlgTest.DialogName"));
        if (VarGetNumber(app, "DlgTest.List.Reply.0") >= 1 &&
            !VarGetValue(app, "DlgTest.Popup.Reply").empty()) {
            name = VarGetValue(app, "DlgTest.List.Reply.1");
        }
        char letter = reply.empty() ? ' ' : reply[0];
        if (letter == 'D') {
            DiscardDialog(app, name);
            VarSetValue(app, "DlgTest.Result", Format("Dialog %s discarded from the cache.", name.c_str()));
        } else if (letter == 'S' && !name.empty()) {
            if (VarGetNumber(app, "DlgTest.Mode.Select") == 2 && FindBuiltInDialog(name) != nullptr) {
                PopContext(app);
                PostCommand(app, Format("DIALOG %s", name.c_str()));
                return;
            }
            DialogResult result = ShowDialog(app, name);
            if (TopContextIs(app, ContextKind::Dialog, name)) {
                PopContext(app);
            }
            static constexpr std::array<std::string_view, 5> kNames{"committed", "help", "return", "closed",
                                                                    "failed"};
            VarSetValue(app, "DlgTest.Result",
                        Format("Dialog %s ended: %d (%s)", name.c_str(), static_cast<int>(result),
                               std::string(kNames[static_cast<int>(result)]).c_str()));
        } else if (letter == 'R') {
            std::string macro = VarGetValue(app, "DlgTest.MacroName.1");
            if (!macro.empty()) {
                PopContext(app);
                PostCommand(app, macro);
                PostCommand(app, "DIALOG DLGTEST");
                return;
            }
        }
        ShowDialogAgain(app, "DLGTEST");
    });
}

// The editor options: a chooser of the option areas.
void EdOptDialog(AppSession& app) {
    RunOptionDialog(app, "EDOPT", [&app] {
        std::string reply = DialogReply(app, "", "EdOpt");
        const char* next = reply.rfind("GENERAL", 0) == 0  ? "DIALOG EDOPTGEN"
                           : reply.rfind("KEYS", 0) == 0   ? "DIALOG KEYS"
                           : reply.rfind("COLORS", 0) == 0 ? "DIALOG COLORS"
                           : reply.rfind("FONTS", 0) == 0  ? "DIALOG FONTMENU"
                           : reply.rfind("STYLE", 0) == 0  ? "DIALOG ISTYLE"
                                                           : nullptr;
        if (next == nullptr) {
            LeaveDialog(app);
            return;
        }
        PostCommand(app, next);
    });
}

}  // namespace tavoe
