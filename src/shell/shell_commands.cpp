#include "shell/shell_commands.h"

#include "core/app_session.h"
#include "shell/instances.h"
#include "shell/save_as_command.h"
#include "shell/window_arrange.h"

namespace tavoe {

namespace {

// A command that only acts on the instance.
template <void (*Act)(AppSession&)>
void InstanceCommand(AppSession& app, const GeneralCommandLine&) {
    Act(app);
}

void Exit(AppSession& app) {
    Instance(app).closeRequested = true;  // the main loop closes the instance after this event
}

void SplitF(AppSession& app) {
    (void)StartNewSession(app);
}

void Swap(AppSession& app) {
    if (RegisteredSessionCount(app) < 2) {
        ShowMessage(app, "No other sessions.", MsgTo::Box, Beep::Information);
        return;
    }
    (void)SwapNext(app);  // reports its own failures
}

void SwapBack(AppSession& app) {
    (void)SwapPrevious(app);
}

// A general command that acts on other instances too, so it needs session cooperation.
constexpr CommandDesc Cooperating(std::string_view verb, GeneralCommandFn handler) {
    return {.table = CommandTable::General,
            .verb = verb,
            .owner = CommandOwner::Shell,
            .cooperation = Cooperation::Needed,
            .general = handler};
}

constexpr CommandDesc kShellCommands[] = {
    {.table = CommandTable::Edit, .verb = "SAVEAS", .owner = CommandOwner::Shell, .edit = SaveAsCommand},
    Cooperating("CLOSEALL", InstanceCommand<CloseAllSessions>),
    {.table = CommandTable::General,
     .verb = "EXIT",
     .owner = CommandOwner::Shell,
     .general = InstanceCommand<Exit>},
    Cooperating("SPLITF", InstanceCommand<SplitF>),
    Cooperating("SPLITH", InstanceCommand<SplitHorizontal>),
    Cooperating("SPLITV", InstanceCommand<SplitVertical>),
    Cooperating("SWAP", InstanceCommand<Swap>),
    Cooperating("SWAPBACK", InstanceCommand<SwapBack>),
    Cooperating("WINOVERLAY", InstanceCommand<ArrangeOverlay>),
    Cooperating("WINSTEPH", InstanceCommand<ArrangeStepH>),
    Cooperating("WINSTEPV", InstanceCommand<ArrangeStepV>),
    Cooperating("WINTILEH", InstanceCommand<ArrangeTileH>),
    Cooperating("WINTILEV", InstanceCommand<ArrangeTileV>),
};

}  // namespace

CommandRows ShellCommands() {
    return kShellCommands;
}

}  // namespace tavoe
