#pragma once

#include "core/command_desc.h"

namespace tavoe {

// The rows of the general commands the dialogs and menus implement: DIALOG name, MENU name, HELP, the
// commands that open an option dialog (ABOUT, ALIASCMD, ALIASPRF, DIALOGTEST, GENOPTIONS, ISTYLE,
// KEYS, PATHS) and those still to come (COLORS, PROFILES).
CommandRows DialogCommands();

}  // namespace tavoe
