#pragma once

#include <span>
#include <string_view>

namespace tavoe {

// The dialogs the DIALOG command knows by name, each with its handler (preparation, showing and
// applying). A dialog whose work belongs to a subsystem not yet built has no handler: it is still
// shown when its definition file exists, and committing it says "'%s' is not available yet.".

struct AppSession;

using DialogHandler = void (*)(AppSession& app);

struct BuiltInDialog {
    std::string_view name;  // upper case
    DialogHandler handler;  // null: shown, not yet applied
};

inline constexpr int kBuiltInDialogCount = 76;

std::span<const BuiltInDialog> BuiltInDialogs();

// The entry of the (upper-cased) name, or null.
const BuiltInDialog* FindBuiltInDialog(std::string_view name);

// DIALOG name: runs the dialog's handler. An unknown name does nothing and returns false.
bool RunBuiltInDialog(AppSession& app, std::string_view name);

// Handlers, by area.
void GenOptDialog(AppSession& app);
void IStyleDialog(AppSession& app);
void PathsDialog(AppSession& app);
void AboutDialog(AppSession& app);
void DlgTestDialog(AppSession& app);
void EdOptDialog(AppSession& app);
void EdOptGenDialog(AppSession& app);
void KeysDialog(AppSession& app);
void KeysBaseDialog(AppSession& app);
void KeysShiftDialog(AppSession& app);
void KeysCtrlDialog(AppSession& app);
void KeysAltDialog(AppSession& app);
void KeysAtoZDialog(AppSession& app);
void KeysRCtlDialog(AppSession& app);
void AliasCmdDialog(AppSession& app);
void AEditCmdDialog(AppSession& app);
void AliasPrfDialog(AppSession& app);
void AEditPrfDialog(AppSession& app);
// Colorization (colorization_dialogs.cpp) and file profiles (file_profile_dialogs.cpp).
void ClrTypeDialog(AppSession& app);
void ClrNewDialog(AppSession& app);
void ClrModeDialog(AppSession& app);
void ClrWordDialog(AppSession& app);
void WordsDialog(AppSession& app);
void WordNewDialog(AppSession& app);
void ClrFieldDialog(AppSession& app);
void ClrPaletteDialog(AppSession& app);
void ColorsDialog(AppSession& app);
void FpTypeDialog(AppSession& app);
void FpNewDialog(AppSession& app);
void FpRecfmDialog(AppSession& app);
void VarsDialog(AppSession& app);
void Vars2Dialog(AppSession& app);
void FindDialog(AppSession& app);
void ChangeDialog(AppSession& app);
void LocateDialog(AppSession& app);
void ImportDialog(AppSession& app);
// Help contents and quick references (help_dialogs.cpp).
void HelpTocDialog(AppSession& app);
void QrfGpCmdDialog(AppSession& app);
void QrfEpCmdDialog(AppSession& app);
void QrfFpCmdDialog(AppSession& app);
void QrfElCmdDialog(AppSession& app);
void QrfFlCmdDialog(AppSession& app);
// Fonts, the extended keyboard and the recent files.
void FontMenuDialog(AppSession& app);
void FontDialog(AppSession& app);
void XKeybrdDialog(AppSession& app);
void RecentDialog(AppSession& app);
// The extended keyboard's entries: the code (hexadecimal, or decimal after "#") 0..255, else -1; the
// repeat count 1..99 (empty is 1), else -1.
int ParseCharacterCode(std::string_view typed);
int ParseRepeatCount(std::string_view typed);

}  // namespace tavoe
