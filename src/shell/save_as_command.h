#pragma once

#include <string_view>

namespace tavoe {

// The SAVEAS primary command.

struct AppSession;
struct EditSession;

// SAVEAS [name]: writes the session's lines to a new file and goes on editing it under that name.
// Without a name the file chooser asks for one (in Save mode, starting in the file's directory, titled
// "Navigate to directory, specify new file name (ESC to cancel)"); Escape there changes nothing. A
// name may be relative to the current directory. An existing file is overwritten only when the user
// answers Yes to "File already exists, OK to overwrite it?". The new name's file profile decides
// whether the lines fit. After the save the name goes to the recently used files and the title.
void SaveAsCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
