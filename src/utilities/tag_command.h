#pragma once

#include <string_view>

namespace tavoe {

struct AppSession;
struct EditSession;

// TAGFIND selector in an edit session: the word under the cursor looked up in ZCTAGSFILE. A target
// in the current file is reached with TOP;FIND;RESET;CURSOR; another file opens in a new tmux window
// running another editor when the editor runs inside tmux, else in a new edit session of this one.
void TagFindCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
