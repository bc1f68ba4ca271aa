#pragma once

#include <string_view>

namespace tavoe {

// The three primary command dispatchers. Every command line a user, a menu, a function key or a
// macro issues ends in one of them: the edit dispatcher in an edit or browse session, the file list
// dispatcher in a file list, the general one everywhere else. The first two hand what they do not
// know to the general dispatcher, which hands what it does not know to the macro runner. Messages
// go to boxes. Commands are the rows of the instance's command set (commands/command_set.h).

struct AppSession;

// Runs an edit command line: cut at 1023 characters, split into sub-commands at ";" outside quotes,
// each run to its end before the next is cut. A sub-command beginning with ":" or "." is a line
// command for the cursor line; any other is looked up in the edit table (after aliases) and, when it
// is not there, handed to RunGeneralCommand as verb + " " + parameters.
void RunEditCommand(AppSession& app, std::string_view text);

// Runs a general command line. It is not split at ";": what follows the verb is the parameters. A
// verb beginning with "=" is a legacy jump; a verb in no table names a macro.
void RunGeneralCommand(AppSession& app, std::string_view text);

// Runs a file list command line, sub-command by sub-command ("S" and "SEL" are SELECT). At the first
// verb the file list table does not know, the line from that sub-command on goes to RunGeneralCommand
// and the loop ends.
void RunFileListCommand(AppSession& app, std::string_view text);

}  // namespace tavoe
