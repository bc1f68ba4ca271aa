#pragma once

#include <string_view>

namespace tavoe {

// Help texts: plain text files found along ZPATH.HELP, each holding topics that begin with a line
// "[TOPIC]" (the name in any case) and run to the next such line.

struct AppSession;

// Shows the topic of the help file in a message box; reports a missing file or topic instead.
void ShowHelpTopic(AppSession& app, std::string_view helpFile, std::string_view topic);

// HELP [topic]: the topic from the general help file "help_gpcmd.txt"; without a topic, the entry of
// the top context frame (the dialog or menu now shown), or the help menu when there is none.
void RunHelpCommand(AppSession& app, std::string_view topic);

}  // namespace tavoe
