#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/instances.h"

namespace tavoe {

// The recently used files, kept in the shared block so every instance lists the same files: at most
// 27 paths, the most recent first, each with a flag that marks it as open in some session. The File
// menu shows the first eight.

struct AppSession;

inline constexpr int kRecentMenuFirstId = 280;  // File menu items 280 .. 287
inline constexpr int kRecentMenuCount = 8;

enum class RecentUse { Free, InUse };

// Moves an equal entry to the front, or puts the path in front of the others (the oldest of 27
// falls off). The front entry is marked free. An empty path, or one longer than 255 characters
// (which the entry could only hold cut, naming another file), is not added.
void RecentFileAdd(AppSession& app, std::string_view path);

// Marks the entry with exactly this path; nothing when none has it.
void RecentFileSetInUse(AppSession& app, std::string_view path, RecentUse use);

// The paths from the most recent, up to the first empty entry (what the profile saves).
std::vector<std::string> RecentFiles(AppSession& app);

// Stores a path in entry `index` as it stands (the profile restores the list entry by entry).
void RecentFileSetEntry(AppSession& app, int index, std::string_view path);

// The File menu's recent-file items: "&%d  " with the item number 1 to 8 and the path with "&"
// doubled, identifiers 280 to 287, greyed while the file is in use.
std::vector<ShellMenuItem> RecentMenuItems(AppSession& app);
// Rebuilds Instance(app).recentMenu.
void RebuildRecentMenu(AppSession& app);

// The command a chosen recent-file item runs ("edit " and the path), empty for any other item or
// an empty entry.
std::string RecentFileCommand(AppSession& app, int id);

}  // namespace tavoe
