#pragma once

#include <string>
#include <string_view>

#include "utilities/external_command.h"

namespace tavoe {

// User commands: named command definitions kept as control files "<name>.ucmd" along
// ZPATH.USERCOMMANDS (keys Name, Description, Command, Mode, Interpret, Stop, Batch, Suspend). A user
// command of mode "Macro" runs its command line, symbols replaced (by SYSTEM itself when it is a
// SYSTEM command), through the general command processor (so it may be
// any primary command or a macro); one of mode "External" runs it as an external command with its four
// options. USERCMD name runs one; USERCMD alone lists them (dialog USERCMD) for running, editing
// (USERCMD2) and deleting.

struct AppSession;

inline constexpr std::string_view kUserCommandExtension = ".ucmd";
inline constexpr std::string_view kUserCommandPathVariable = "ZPATH.USERCOMMANDS";
inline constexpr size_t kUserCommandNameMax = 10;

enum class UserCommandMode { External, Macro };

struct UserCommand {
    std::string name;
    std::string description;
    std::string command;
    UserCommandMode mode = UserCommandMode::External;
    ExternalOptions options;
};

// Reads "<name>.ucmd" along the path. Lines are matched to fields by keyword (any case); a file that
// cannot be read is reported by the control-file reader, an unknown keyword or a value that is not
// TRUE/FALSE (options) or External/Macro (mode) in a message box. 0, or -1.
int ReadUserCommand(AppSession& app, std::string_view name, UserCommand& out);

// Writes the eight lines to the first directory of the path. 0, or -1 after a message.
int WriteUserCommand(AppSession& app, const UserCommand& command);

// The checks before saving: "NAME, DESCRIPTION, and COMMAND must be specified.", "No blanks or
// punctuation allowed in User Command name.", "NAME too long.". 0, or -1 after the message.
int ValidateUserCommand(AppSession& app, const UserCommand& command);

// Runs the user command of that name. 0, or -1 after a message (nothing is run after a failure).
int RunUserCommand(AppSession& app, std::string_view name, TerminalHandover* handover);

// USERCMD [name]: without a name (or with RUN when no user command has that name) the list dialog.
int UserCmdCommand(AppSession& app, std::string_view parameters, TerminalHandover* handover);

// The dialog handlers: USERCMD (the list) and USERCMD2 (a new or edited user command).
void UserCmdDialog(AppSession& app, TerminalHandover* handover);
void UserCmd2Dialog(AppSession& app);

}  // namespace tavoe
