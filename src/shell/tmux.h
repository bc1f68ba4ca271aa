#pragma once

#include <string>
#include <vector>

namespace tavoe {

// The terminal multiplexer the instances share a screen through. Each instance runs in a tmux pane;
// starting further instances, bringing one to the front and arranging them are tmux commands.

struct AppSession;

// True when the instance runs inside tmux and may drive it: never in batch mode, whose instances
// have no terminal of their own.
bool TmuxAvailable(const AppSession& app);

// Runs tmux with the arguments, without a shell; standard output goes to *output when asked for.
// Returns tmux's exit status, or -1 when it could not be run.
int RunTmux(const std::vector<std::string>& args, std::string* output = nullptr);

// The pane a process runs in: the pane whose first process is the process or one of its ancestors
// (a shell in the pane usually started it). False when no pane of this tmux server holds it.
struct TmuxPane {
    std::string windowId;  // "@3"
    std::string paneId;    // "%7"
};
bool FindTmuxPaneOf(int pid, TmuxPane* pane);

// The words joined into one command line for /bin/sh, each quoted so that blanks and quotes in
// paths survive.
std::string ShellQuoteJoin(const std::vector<std::string>& words);

}  // namespace tavoe
