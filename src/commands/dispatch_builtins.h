#pragma once

#include <string_view>

#include "commands/command_tables.h"

// The commands the dispatchers carry themselves, and the checks the edit dispatcher makes before a
// handler runs. Other subsystems replace or add handlers through the dispatch table.

struct AppSession;
struct CommandHandlers;
struct EditSession;

// BOUNDS, CANCEL, MERGEMSG, NUMBER OFF, RENUMBER, SAVE, TABS, UNNUMBER and XKEYBOARD.
void InstallBuiltInEditCommands(CommandHandlers& handlers);

// BACKUP, BROWSE, CLOSEALL, DEFAULTS, DIALOG, EDIT, END, EXIT, FILELIST, FUNCTION, MENU, OPEN,
// PCMDEDIT, PCMDFILELIST, PFSHOW, RETRIEVE, RETURN, SWAP and SWAPBACK.
void InstallBuiltInGeneralCommands(CommandHandlers& handlers);

// The parameter checks of the edit dispatcher (CAPS, COLORMAP, COPY, CUT, DELETE, NUMBER, PASTE,
// PROFILE, RULER, SHOWEOL, TABS). False after a message when the handler must not run.
bool PassesEditCommandChecks(AppSession& app, EditSession& session, EditCmd id, std::string_view params);
