#include "dialogs/dialog_commands.h"

#include "commands/command_line.h"
#include "commands/dispatch_host.h"
#include "dialogs/dialog_table.h"
#include "dialogs/help_topic.h"
#include "dialogs/menu_runtime.h"

namespace {

void RegisterDialogVerb(GeneralCmd id, DialogHandler handler) {
    RegisterGeneralCommand(id, [handler](AppSession& app, const GeneralCommandLine&) { handler(app); });
}

}  // namespace

void RegisterDialogCommands() {
    CommandHandlers& handlers = Dispatch().handlers;
    handlers.showDialog = [](AppSession& app, std::string_view name) { RunBuiltInDialog(app, name); };
    handlers.showMenu = [](AppSession& app, std::string_view name) { ShowMenu(app, name); };
    RegisterGeneralCommand(GeneralCmd::Help, [](AppSession& app, const GeneralCommandLine& command) {
        RunHelpCommand(app, command.p1);
    });
    RegisterDialogVerb(GeneralCmd::About, AboutDialog);
    RegisterDialogVerb(GeneralCmd::AliasCmd, AliasCmdDialog);
    RegisterDialogVerb(GeneralCmd::AliasPrf, AliasPrfDialog);
    RegisterDialogVerb(GeneralCmd::DialogTest, DlgTestDialog);
    RegisterDialogVerb(GeneralCmd::GenOptions, GenOptDialog);
    RegisterDialogVerb(GeneralCmd::IStyle, IStyleDialog);
    RegisterDialogVerb(GeneralCmd::Keys, KeysDialog);
    RegisterDialogVerb(GeneralCmd::Paths, PathsDialog);
}
