#pragma once

#include <functional>
#include <string>
#include <string_view>
#include "core/status.h"

namespace tavoe {

// The main profile: the one file that carries the settings (the variables marked to be saved) from
// one run to the next. It lives in <home>/profiles/TAVOE.PRF, one variable per line as
// "name,value". It is read once at start-up, after which every missing setting gets its built-in
// default, and written back at exit, when the general options are applied and before another
// instance is started.

struct AppSession;

inline constexpr std::string_view kMainProfileName = "TAVOE.PRF";
inline constexpr std::string_view kProfilesDirectory = "profiles";
inline constexpr size_t kMainProfileLineMax = 511;  // characters of a line, the newline not counted
inline constexpr int kProfileHistoryMax = 16;       // ZPCMDHISTORY.0 .. .15, most recent first
inline constexpr int kProfileRecentFilesMax = 27;   // ZFILEMRU.0 .. .26, in list order

// The lists a profile carries that live in the block all running instances share: the primary
// command history and the recently used files. The shell implements it over the shared block.
class ProfileSharedLists {
public:
    virtual ~ProfileSharedLists() = default;
    // Number of running instances registered in the block. The lists are read and written only by
    // an instance that runs alone, so instances do not overwrite each other's lists.
    virtual int SessionCount() const = 0;
    // Adds a command to the history as typing it would (the history's own add operation).
    virtual void HistoryAdd(std::string_view command) = 0;
    // The history entry of this age: 0 the most recent; empty past the last entry.
    virtual std::string HistoryEntry(int age) const = 0;
    // Sets slot 0..26 of the recently used files (in use flag clear); an empty path ends the list.
    virtual void SetRecentFile(int slot, std::string_view path) = 0;
    // The path in slot 0..26; empty when the slot is unused.
    virtual std::string RecentFile(int slot) const = 0;
};

// One line split into name and value: leading blanks skipped, the name up to the first blank or
// comma, then every blank and comma skipped; the value is the rest as it stands (trailing blanks
// kept) and may be empty.
struct ProfileLine {
    std::string_view name;
    std::string_view value;
};
ProfileLine SplitProfileLine(std::string_view line);

// The home directory the profile and the default search paths are under ("." when none is set).
std::string MainProfileHome(const AppSession& app);

// The existing profile file: TAVOE.PRF in <home>/profiles, or a name matching it ignoring case.
// Empty when there is none.
std::string FindMainProfile(const AppSession& app);

// Where the profile is written: the existing file (its case kept), else <home>/profiles/TAVOE.PRF.
std::string MainProfileWritePath(const AppSession& app);

// Reads the profile (every variable it names is marked to be saved), then gives each missing
// setting its default, loads the alias lists, prepares the history combo lists, takes the screen
// and behaviour settings into app.profileSettings and marks the profile loaded. When the instance
// runs alone, the command history and the recently used files are restored into shared. Returns 0,
// or -1 when there is no profile file (a first run: the defaults provide everything). shared may be
// null (no shared block): the history and recent-file variables then stay as read.
Status ReadMainProfile(AppSession& app, ProfileSharedLists* shared);

// Writes the aliases, every saved variable with a value, and (when the instance runs alone) the
// history and the recently used files. The new file replaces the old one only when it was written
// whole. Writes nothing and returns 0 when the profile was not loaded or was restored to defaults
// in this run. Returns -1 after reporting when the file cannot be written.
Status WriteMainProfile(AppSession& app, ProfileSharedLists* shared);

enum class RestoreOutcome {
    ThinClient,    // refused: a thin-client installation restores by re-installing
    Cancelled,     // the user answered Cancel
    DeleteFailed,  // the profile file could not be deleted (reported)
    Restored,      // the profile is gone and will not be written again: the caller posts "EXIT"
};

// Shows the question in an OK/Cancel message box titled "Tavo/E" and returns true for OK.
using ConfirmOkCancel = std::function<bool(std::string_view question)>;

// The DEFAULTS command: after asking, deletes the main profile and stops this run from writing it,
// so the next start applies every default. On Restored the caller queues the command "EXIT".
RestoreOutcome RestoreDefaults(AppSession& app, const ConfirmOkCancel& confirm);

}  // namespace tavoe
