#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The primary command history that RETRIEVE walks: 16 slots of up to 255 characters used as a ring,
// the index of the newest slot, a retrieve cursor and the direction of the last retrieve. It lives in
// the shared session block, so every running instance retrieves the same commands.

struct AppSession;

// Records a command. An empty text, or the newest command again, only puts the retrieve cursor on
// the newest slot. Otherwise the text takes the next slot (slot 0 when the history is empty or the
// ring wraps) and an older copy of it is removed, so each command is kept once. The next retrieve
// starts afresh from the newest command.
void HistoryAdd(AppSession& app, std::string_view text);

// RETRIEVE: the command at the cursor, walking from the newest towards older ones and wrapping
// from the oldest back to the newest.
std::string HistoryPrevious(AppSession& app);

// RETRIEVE BACK: the command after the one last retrieved, walking towards newer ones and wrapping
// to the oldest.
std::string HistoryNext(AppSession& app);

// The commands from the newest back to the oldest, empty slots passed over (what the main profile
// saves as ZPCMDHISTORY.0 ..).
std::vector<std::string> HistoryEntries(AppSession& app);

}  // namespace tavoe
