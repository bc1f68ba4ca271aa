#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The context stack of an instance and its command queue.
//
// Menus, dialogs, the file list and edit sessions are pushed on the stack as frames; the top frame
// decides where typed input goes and which command processor runs it. Closing the top re-shows the
// one below: a menu or dialog by posting "MENU %s" or "DIALOG %s", a file list or edit session by
// showing its windows again.
//
// Commands reach the main window in two ways: posted (queued, run by the main loop after the event
// now being handled) or sent (run at once through the general command processor).

struct AppSession;

inline constexpr size_t kContextTextMax = 15;  // kind and name are cut to this many characters

// How the context stack reaches the rest of the program: a replacement for the general command
// processor that sent and posted commands run through (unset: RunGeneralCommand; tests record the
// commands with it), the window system, told when the top frame changed so that it shows the new top
// and moves the focus there, and the file lists, closed by CloseAllContexts. Unset entries do
// nothing.
struct ContextHooks {
    std::function<void(AppSession& app, std::string_view command)> runGeneralCommand;
    std::function<void(AppSession& app)> contextChanged;
    // Closes every file list of the instance (CloseAllContexts).
    std::function<void(AppSession& app)> closeFileLists;
};

// One frame of the context stack. Kinds: "menu", "dialog", "filelist", "task" (an edit or browse
// session), "dummy" (pushed only to be popped again, which re-shows the frame below).
struct DlgStkFrame {
    std::string kind;
    std::string name;  // menu or dialog name, the edit session's file name, or "dummy"
};

// Puts a frame with the kind and the name (both cut to 15 characters) on top of the stack. The file
// list or edit session that was on top stops being shown; it reappears when it is on top again.
void PushContext(AppSession& app, std::string_view kind, std::string_view name);

// Removes the top frame without showing anything (a dialog that re-queues itself uses this).
void PopContext(AppSession& app);

// The top frame, or null when the stack is empty.
const DlgStkFrame* TopContext(const AppSession& app);

// True when the top frame has this kind and this name (the name compared after the same cut).
bool TopContextIs(const AppSession& app, std::string_view kind, std::string_view name);

// Removes the top frame and shows what the new top names:
//  - nothing left: an instance started for one file asks its main window to close; one whose top
//    menu was held back sends "menu modern" or "menu legacy" (by ZMENUSTYLE; "Windows GUI" shows
//    no menu); otherwise the main window just gets the focus;
//  - "menu": posts "MENU <name>"; "dialog": posts "DIALOG <name>";
//  - "filelist": the file list is shown again; "task": the current edit session is shown again with
//    the focus where its cursor was, and the title is refreshed.
void ShowTopContext(AppSession& app);

// Shows the current context again (after a macro or a jump): pushes ("dummy", "dummy") and shows
// the top.
void ShowContextAgain(AppSession& app);

// Ends every edit session (EndEditSession, with its prompt) and closes every file list, then gives
// the main window the focus. Returns 0, or -1 when an edit session refused to end (Cancel).
int CloseAllContexts(AppSession& app);

// Appends a command to the instance's queue; the main loop runs it after the current event.
void PostCommand(AppSession& app, std::string command);

// Runs a command at once through the general command processor.
void SendCommand(AppSession& app, std::string_view command);

// Runs the queued commands in order until the queue is empty (commands may post further ones).
// The main loop calls this after every event; modal loops call it too. Returns how many ran.
int RunPostedCommands(AppSession& app);
