#pragma once

namespace tavoe {

// Makes an AppSession a full instance of the program: the shell's port (contexts shown, commands run
// through the general processor, edit sessions opened and ended, the main window's command field and
// layout), the storage host (load progress and Escape through the main window, the raised record
// length written to the file profile), the view as the edit view, and every subsystem's commands.
// The program calls it for each instance before anything runs; tests call it for an instance that
// behaves as the program's does.

struct AppSession;
class CommandSet;

void ConnectInstance(AppSession& app);

// The rows of every subsystem, as the program dispatches them.
const CommandSet& ProgramCommands();

}  // namespace tavoe
