#pragma once

#include "core/context_stack.h"
#include "core/status.h"

namespace tavoe {

// The shell's side of the context stack (core/context_stack.h): what showing the top frame means,
// closing everything, and running the posted commands. The instance's shell port calls these.

struct AppSession;

// Removes the top frame and shows what the new top names:
//  - nothing left: an instance started for one file asks its main window to close; one whose top
//    menu was held back sends "menu modern" or "menu legacy" (by ZMENUSTYLE; "Windows GUI" shows
//    no menu); otherwise the main window just gets the focus;
//  - a menu: posts "MENU <name>"; a dialog: posts "DIALOG <name>";
//  - a file list: the file list is shown again; an edit session: it is shown again with the focus
//    where its cursor was, and the title is refreshed.
void ShowTopContextInShell(AppSession& app);

// Ends every edit session (EndEditSession, with its prompt) and closes every file list, then gives
// the main window the focus. Returns 0, or -1 when an edit session refused to end (Cancel).
Status CloseAllContextsInShell(AppSession& app);

// Runs the queued commands in order until the queue is empty (commands may post further ones).
// The main loop calls this after every event; modal loops call it too. Returns how many ran.
int RunPostedCommands(AppSession& app);

}  // namespace tavoe
