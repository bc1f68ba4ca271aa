#include "dialogs/dialog_commands.h"

#include "core/app_session.h"
#include "core/shell_port.h"
#include "dialogs/built_in_dialogs.h"
#include "dialogs/dialog_table.h"
#include "dialogs/help_topic.h"
#include "dialogs/menu_runtime.h"

namespace tavoe {

namespace {

// A command that only opens its dialog.
template <void (*Open)(AppSession&)>
void OpenDialogCommand(AppSession& app, const GeneralCommandLine&) {
    Open(app);
}

// DIALOG name: a built-in dialog with its own preparation; other names are ignored.
void DialogCommand(AppSession& app, const GeneralCommandLine& command) {
    if (IsBuiltInDialog(command.p1)) {
        RunBuiltInDialog(app, command.p1);
    }
}

// MENU END leaves the menu on top; MENU name shows that menu.
void MenuCommand(AppSession& app, const GeneralCommandLine& command) {
    if (command.p1 == "END") {
        if (TopContextKind(app) == ContextKind::Menu) {
            Shell(app).ShowTopContext(app);
        }
        return;
    }
    if (!command.p1.empty()) {
        ShowMenu(app, command.p1);
    }
}

void HelpCommand(AppSession& app, const GeneralCommandLine& command) {
    RunHelpCommand(app, command.p1, command.p2);
}

constexpr CommandDesc Row(std::string_view verb, GeneralCommandFn handler,
                          Listing listing = Listing::Listed) {
    return {.table = CommandTable::General,
            .verb = verb,
            .owner = CommandOwner::Dialogs,
            .listing = listing,
            .general = handler};
}

constexpr CommandDesc kDialogCommands[] = {
    Row("ABOUT", OpenDialogCommand<AboutDialog>),       Row("ALIASCMD", OpenDialogCommand<AliasCmdDialog>),
    Row("ALIASPRF", OpenDialogCommand<AliasPrfDialog>), Row("COLORS", OpenDialogCommand<ColorsDialog>),
    Row("DIALOG", DialogCommand, Listing::Unlisted),    Row("DIALOGTEST", OpenDialogCommand<DlgTestDialog>),
    Row("GENOPTIONS", OpenDialogCommand<GenOptDialog>), Row("HELP", HelpCommand),
    Row("ISTYLE", OpenDialogCommand<IStyleDialog>),     Row("KEYS", OpenDialogCommand<KeysDialog>),
    Row("MENU", MenuCommand, Listing::Unlisted),        Row("PATHS", OpenDialogCommand<PathsDialog>),
    Row("PROFILES", OpenDialogCommand<FpTypeDialog>),   Row("REDIT", OpenDialogCommand<RecentDialog>),
};

}  // namespace

CommandRows DialogCommands() {
    return kDialogCommands;
}

}  // namespace tavoe
