#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// External commands: SYSTEM, the XCMD dialog and user commands of mode External start a program or a
// command of the system's command interpreter (/bin/sh) with four options:
//   Interpret  run the command through /bin/sh -c
//   Stop       (with the interpreter) run it from a work script that shows the command, runs it and
//              waits for Enter, so its output stays readable
//   Batch      the command is itself a shell script: /bin/sh runs it (even without Interpret)
//   Suspend    the editor waits until the command has ended
// Without Interpret and Batch the command is split into words and run directly, with no shell.
//
// Where the command runs: in batch mode (no terminal) it runs to its end with the editor's output
// streams; inside tmux it gets a window of its own; in a plain terminal, a command that is waited for
// or stops gets the terminal (the editor's screen is put away and always restored afterwards), and
// one that is neither runs detached from it.
//
// Symbols ("&zdsnpath" and the rest) in the command are replaced by their values in a way that keeps
// each value one word: quoted for /bin/sh, or substituted inside its word when there is no shell.

struct AppSession;

struct ExternalOptions {
    bool interpret = true;
    bool stop = true;
    bool batch = false;
    bool suspend = false;
};

// SYSTEM text: option words at the front ("interp ", "nointerp ", "stop ", "nostop ", "batch ",
// "nobatch ", "suspend ", "nosuspend ", all lower or all upper case, each with its blank) change the
// options; the first text that is none of them starts the command, which is the rest of the line.
struct SystemRequest {
    ExternalOptions options;
    std::string command;
};
SystemRequest ParseSystemText(std::string_view text, ExternalOptions options = {});

// The words of a command for running without a shell: split at blanks; single or double quotes keep
// blanks inside a word and are removed. Nothing else is special.
std::vector<std::string> SplitCommandWords(std::string_view command);

// The work script for Stop: shows the command, runs it (with Batch through /bin/sh), waits for Enter
// and ends with the command's exit status. It removes itself first thing, so no run leaves it behind.
std::string WorkScriptText(const std::string& shellCommand, bool batch);

// The editor's screen while a command has the terminal. The runner calls Suspend before it hands
// the terminal over and Resume afterwards, on every path.
class TerminalHandover {
public:
    virtual ~TerminalHandover() = default;
    virtual void Suspend() = 0;
    virtual void Resume() = 0;
};

enum class CommandSurface { Headless, Terminal, TmuxWindow };

// Headless in batch mode; TmuxWindow when the editor runs inside tmux; else Terminal.
CommandSurface SurfaceFor(const AppSession& app);

// Runs the command (symbols not yet replaced) with the options; a null handover stands for the
// instance's screen. "COMMAND must be specified." for an
// empty command; "Need directory /tmp for temporary work file, it does not exist." and "Unable to
// create tavotemp.sh work file." for the work script; "Unable to create process for external
// command." when it cannot be started; a command that was waited for and failed gives "External
// command ended with exit code %d.". 0, or -1 after a message.
int RunExternalCommand(AppSession& app, std::string_view command, const ExternalOptions& options,
                       TerminalHandover* handover);

// SYSTEM: without text the XCMD dialog, else ParseSystemText and RunExternalCommand.
int SystemCommand(AppSession& app, std::string_view text, TerminalHandover* handover);

// XCMD: the command and its four options; an empty command gives "COMMAND must be specified." and the
// dialog again.
void XcmdDialog(AppSession& app, TerminalHandover* handover);

}  // namespace tavoe
