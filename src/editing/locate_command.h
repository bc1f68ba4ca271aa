#pragma once

#include <string_view>

namespace tavoe {

// LOCATE and RESET: the primary commands that go to labelled or special lines and take back the marks
// line commands and searches leave on lines.

struct AppSession;
struct EditSession;

// LOCATE label | SPECIAL | LABEL | CHANGE | line [column]. The target line, shown again when it was
// excluded, becomes the top line. Line 0 is the top of the data; a number past the last data line
// goes to the last one. Data lines are counted in file order, or matched by their number (the first
// whose number is at least the one asked for) when the file is numbered.
void LocateCommand(AppSession& app, EditSession& session, std::string_view params);

// RESET [CHANGE | COMMAND | ERROR | EXCLUDED | FIND | LABEL | SELECTION | SPECIAL ...] [label [label]].
void ResetCommand(AppSession& app, EditSession& session, std::string_view params);

// ENTER: the pending line commands are processed.
void EnterCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
