#include "dialogs/dialog_table.h"

#include <algorithm>
#include <array>

#include "commands/command_set.h"
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_vars.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

constexpr std::array<BuiltInDialog, kBuiltInDialogCount> kDialogs{{
    {"ABOUT", AboutDialog},
    {"AEDITCMD", AEditCmdDialog},
    {"AEDITPRF", AEditPrfDialog},
    {"ALIASCMD", AliasCmdDialog},
    {"ALIASPRF", AliasPrfDialog},
    {"CHANGE", ChangeDialog},
    {"CLRFIELD", ClrFieldDialog},
    {"CLRMODE", ClrModeDialog},
    {"CLRNEW", ClrNewDialog},
    {"CLRPALETTE", ClrPaletteDialog},
    {"CLRTYPE", ClrTypeDialog},
    {"CLRWORD", ClrWordDialog},
    {"COLORS", ColorsDialog},
    {"COMPARE", nullptr},
    {"COMPDIR", nullptr},
    {"CONVERT1", nullptr},
    {"CONVERT2", nullptr},
    {"CONVERT3", nullptr},
    {"CONVV1", nullptr},
    {"CONVV2", nullptr},
    {"CONVF1", nullptr},
    {"CONVF2", nullptr},
    {"CONVF3", nullptr},
    {"CONVF4", nullptr},
    {"CONVC1", nullptr},
    {"COPY", nullptr},
    {"DLGTEST", DlgTestDialog},
    {"DRIVLIST", nullptr},
    {"EDOPT", EdOptDialog},
    {"EDOPTGEN", EdOptGenDialog},
    {"FILESCAN", nullptr},
    {"FILTERS", nullptr},
    {"FILTERS2", nullptr},
    {"FIND", FindDialog},
    {"FLISTOPT", nullptr},
    {"FLSTOPEN", nullptr},
    {"FONT", FontDialog},
    {"FONTMENU", FontMenuDialog},
    {"FPNEW", FpNewDialog},
    {"FPTYPE", FpTypeDialog},
    {"FPRECFMF", FpRecfmDialog},
    {"FPRECFMV", FpRecfmDialog},
    {"GENOPT", GenOptDialog},
    {"HELPTOC", HelpTocDialog},
    {"IMPORT", ImportDialog},
    {"ISTYLE", IStyleDialog},
    {"KEYS", KeysDialog},
    {"KEYSALT", KeysAltDialog},
    {"KEYSATOZ", KeysAtoZDialog},
    {"KEYSBASE", KeysBaseDialog},
    {"KEYSCTRL", KeysCtrlDialog},
    {"KEYSRCTL", KeysRCtlDialog},
    {"KEYSSHFT", KeysShiftDialog},
    {"LOCATE", LocateDialog},
    {"MULTOPEN", nullptr},
    {"PATHS", PathsDialog},
    {"PRNSETUP", nullptr},
    {"PRNSTYLE", nullptr},
    {"PROJECT", nullptr},
    {"PROJNEW", nullptr},
    {"PROJOPEN", nullptr},
    {"QRFELCMD", QrfElCmdDialog},
    {"QRFEPCMD", QrfEpCmdDialog},
    {"QRFFLCMD", QrfFlCmdDialog},
    {"QRFFPCMD", QrfFpCmdDialog},
    {"QRFGPCMD", QrfGpCmdDialog},
    {"RECENT", RecentDialog},
    {"TEMPLATE", nullptr},
    {"USERCMD", nullptr},
    {"USERCMD2", nullptr},
    {"VARS", VarsDialog},
    {"VARS2", Vars2Dialog},
    {"WORDNEW", WordNewDialog},
    {"WORDS", WordsDialog},
    {"XCMD", nullptr},
    {"XKEYBRD", XKeybrdDialog},
}};

// What the user calls a dialog that is not built yet (the menus' words for it), for the message
// that says so: the dialog's own name is an internal one.
std::string UserNameOfDialog(std::string_view name) {
    struct Named {
        std::string_view dialog;
        std::string_view shown;
    };
    static constexpr Named kNames[] = {
        {"COMPARE", "File compare"},
        {"COMPDIR", "Directory compare"},
        {"CONVERT1", "File conversion"},
        {"CONVERT2", "File conversion"},
        {"CONVERT3", "File conversion"},
        {"CONVV1", "File conversion"},
        {"CONVV2", "File conversion"},
        {"CONVF1", "File conversion"},
        {"CONVF2", "File conversion"},
        {"CONVF3", "File conversion"},
        {"CONVF4", "File conversion"},
        {"CONVC1", "File conversion"},
        {"COPY", "Copy file"},
        {"DRIVLIST", "Drive list"},
        {"FILESCAN", "File scan"},
        {"FILTERS", "File open filters"},
        {"FILTERS2", "File open filters"},
        {"FLISTOPT", "File list options"},
        {"FLSTOPEN", "Open file list"},
        {"FONT", "Font"},
        {"FONTMENU", "Font"},
        {"HELPTOC", "Help contents"},
        {"MULTOPEN", "Open several files"},
        {"PRNSETUP", "Print setup"},
        {"PRNSTYLE", "Print styles"},
        {"PROJECT", "Projects"},
        {"PROJNEW", "New project"},
        {"PROJOPEN", "Open project"},
        {"QRFELCMD", "Quick reference: line commands"},
        {"QRFEPCMD", "Quick reference: edit commands"},
        {"QRFFLCMD", "Quick reference: file list line commands"},
        {"QRFFPCMD", "Quick reference: file list commands"},
        {"QRFGPCMD", "Quick reference: general commands"},
        {"RECENT", "Recent files"},
        {"TEMPLATE", "Templates"},
        {"USERCMD", "User commands"},
        {"USERCMD2", "User commands"},
        {"XCMD", "External command"},
        {"XKEYBRD", "Keyboard"},
    };
    std::string upper = UpperCased(name);
    for (const Named& named : kNames) {
        if (named.dialog == upper) {
            return std::string(named.shown);
        }
    }
    return upper;
}

// A dialog whose subsystem is not built yet: shown when its definition exists, so its layout can
// be tried; committing it says so. Without a definition file it says so at once.
void NotYetAvailable(AppSession& app, std::string_view name) {
    std::string fileName = UpperCased(name) + ".dlg";
    for (char& c : fileName) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (FindAlongPath(VarGetValue(app, "ZPATH.DIALOGS"), fileName).empty()) {
        ShowNotAvailable(app, UserNameOfDialog(name));
        ShowContextAgain(app);
        return;
    }
    RunOptionDialog(app, name, [&app, name] {
        ShowNotAvailable(app, UserNameOfDialog(name));
        LeaveDialog(app);
    });
}

}  // namespace

std::span<const BuiltInDialog> BuiltInDialogs() {
    return kDialogs;
}

const BuiltInDialog* FindBuiltInDialog(std::string_view name) {
    std::string upper = UpperCased(name);
    auto found = std::find_if(kDialogs.begin(), kDialogs.end(),
                              [&upper](const BuiltInDialog& d) { return d.name == upper; });
    return found == kDialogs.end() ? nullptr : &*found;
}

bool RunBuiltInDialog(AppSession& app, std::string_view name) {
    const BuiltInDialog* dialog = FindBuiltInDialog(name);
    if (dialog == nullptr) {
        return false;
    }
    if (dialog->handler != nullptr) {
        dialog->handler(app);
        return true;
    }
    for (const SubsystemDialog& other : app.subsystemDialogs) {
        if (other.name == dialog->name && other.handler != nullptr) {
            other.handler(app);
            return true;
        }
    }
    NotYetAvailable(app, dialog->name);
    return true;
}

}  // namespace tavoe
