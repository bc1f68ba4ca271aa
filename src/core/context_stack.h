#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavoe {

// The context stack of an instance and its command queue.
//
// Menus, dialogs, the file list and edit sessions are pushed on the stack as frames; the top frame
// decides where typed input goes and which command processor runs it. Closing the top re-shows the
// one below (the shell does that: ShellPort::ShowTopContext).
//
// Commands reach the main window in two ways: posted (queued here, run by the main loop after the
// event now being handled) or sent (run at once through the shell's general command processor).

struct AppSession;

inline constexpr size_t kContextTextMax = 15;  // names are cut to this many characters

// The kinds of frame. None stands for an empty stack; Dummy frames are pushed only to be popped
// again, which re-shows the frame below.
enum class ContextKind { None, Menu, Dialog, FileList, Task, Dummy };

// The name a kind has where macros and help see it: "menu", "dialog", "filelist", "task", "dummy"
// ("" for None).
std::string_view ContextKindName(ContextKind kind);

// One frame of the context stack.
struct DlgStkFrame {
    ContextKind kind = ContextKind::Dummy;
    std::string name;  // menu or dialog name, the edit session's file name, or "dummy"
};

// Puts a frame with the kind and the name (cut to 15 characters) on top of the stack and tells the
// shell, which shows it. The file list or edit session that was on top stops being shown; it
// reappears when it is on top again.
void PushContext(AppSession& app, ContextKind kind, std::string_view name);

// Removes the top frame without showing anything (a dialog that re-queues itself uses this).
void PopContext(AppSession& app);

// The top frame, or null when the stack is empty.
const DlgStkFrame* TopContext(const AppSession& app);

// The kind of the top frame; None when the stack is empty.
ContextKind TopContextKind(const AppSession& app);

// True when the top frame has this kind and this name (the name compared after the same cut).
bool TopContextIs(const AppSession& app, ContextKind kind, std::string_view name);

// Shows the current context again (after a macro or a jump): pushes a dummy frame and lets the shell
// show the top.
void ShowContextAgain(AppSession& app);

// Appends a command to the instance's queue; the main loop runs it after the current event.
void PostCommand(AppSession& app, std::string command);

// Runs a command at once through the shell's general command processor.
void SendCommand(AppSession& app, std::string_view command);

}  // namespace tavoe
