#pragma once

// Connects the dialogs and menus to the command dispatcher: DIALOG name, MENU name, HELP, and the
// general commands that open an option dialog (ABOUT, ALIASCMD, ALIASPRF, DIALOGTEST, GENOPTIONS,
// ISTYLE, KEYS, PATHS). Called once at start-up.
void RegisterDialogCommands();
