#include "profiles/main_profile.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/main_profile_aliases.h"
#include "profiles/main_profile_io.h"
#include "profiles/main_profile_settings.h"
#include "profiles/profile_defaults.h"

namespace tavoe {

namespace {

constexpr std::string_view kCommandAliasPrefix = "ZALIAS.CMD.";
constexpr std::string_view kProfileAliasPrefix = "ZALIAS.PRF.";
constexpr std::string_view kHistoryPrefix = "ZPCMDHISTORY.";
constexpr std::string_view kRecentPrefix = "ZFILEMRU.";

bool IsSeparator(char c) {
    return c == ' ' || c == ',';
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string ProfilesDirectory(const AppSession& app) {
    return JoinPath(MainProfileHome(app), kProfilesDirectory);
}

// The lists go to and from the profile only when this instance runs alone; otherwise the others
// keep them, and the variables travel through the store unchanged.
bool OwnsSharedLists(ProfileSharedLists* shared) {
    return shared != nullptr && shared->SessionCount() == 1;
}

void ReadVariables(AppSession& app, std::FILE* file) {
    std::string line;
    while (ReadTextLine(file, kMainProfileLineMax, line)) {
        ProfileLine parts = SplitProfileLine(line);
        if (parts.name.empty() && parts.value.empty()) {
            continue;  // a blank line carries nothing
        }
        // A name the store rejects is reported by the store and the line is skipped.
        VarRecord* rec = VarLocate(app, parts.name);
        if (rec == nullptr) {
            continue;
        }
        VarSetValue(app, parts.name, parts.value);
        rec->persist = 1;
    }
}

// The history is pushed oldest first, so the most recent entry (index 0) ends on top. The variables
// are only the carriers of the lists: they are no longer saved from the store.
void RestoreSharedLists(AppSession& app, ProfileSharedLists& shared) {
    for (int i = kProfileHistoryMax - 1; i >= 0; --i) {
        std::string name = Format("ZPCMDHISTORY.%d", i);
        std::string command = VarGetValue(app, name);
        VarSetPersist(app, name, 0);
        if (!command.empty()) {
            shared.HistoryAdd(command);
        }
    }
    bool ended = false;
    for (int i = 0; i < kProfileRecentFilesMax; ++i) {
        std::string name = Format("ZFILEMRU.%d", i);
        std::string path = VarGetValue(app, name);
        VarSetPersist(app, name, 0);
        ended = ended || path.empty();
        if (!ended) {
            shared.SetRecentFile(i, path);
        }
    }
}

enum class AliasDefaults { None, Commands };

// Loads prefix1, prefix2, ... until the first empty one, emptying each variable: from here on the
// list is the only copy. With no first entry the command aliases get their built-in list.
void LoadAliasList(AppSession& app, std::string_view prefix, CommandAliasList& list, AliasDefaults defaults) {
    list.clear();
    std::string first = std::string(prefix) + "1";
    if (VarGetValue(app, first).empty()) {
        if (defaults == AliasDefaults::Commands) {
            for (const DefaultAlias& row : DefaultCommandAliases()) {
                list.push_back({std::string(row.alias), std::string(row.actual)});
            }
        }
        return;
    }
    for (int i = 1;; ++i) {
        std::string name = std::string(prefix) + std::to_string(i);
        std::string value = VarGetValue(app, name);
        if (value.empty()) {
            break;
        }
        CommandAlias entry;
        if (ParseAliasValue(value, entry)) {
            list.push_back(std::move(entry));
        }
        VarSetValue(app, name, "");
    }
}

// A name with a blank, a comma or a line break, or a value with a line break, cannot be read back
// as it was written: such a name is left out, such a value is cut at the break, so no text of a
// value can ever turn into a line of its own.
bool WritableName(std::string_view name) {
    return name.find_first_of(" ,\r\n") == std::string_view::npos;
}

std::string_view WritableValue(std::string_view value) {
    return value.substr(0, value.find_first_of("\r\n"));
}

void WriteLine(ReplacingFileWriter& out, std::string_view name, std::string_view value) {
    std::string line;
    line.reserve(name.size() + value.size() + 2);
    line.append(name).append(",").append(WritableValue(value)).append("\n");
    out.Write(line);
}

void WriteAliases(ReplacingFileWriter& out, std::string_view prefix, const CommandAliasList& list) {
    int n = 1;
    for (const CommandAlias& entry : list) {
        WriteLine(out, std::string(prefix) + std::to_string(n++), entry.alias + " " + entry.actual);
    }
}

// Every saved variable with a value. The alias families are always written from their lists, and
// the history and recent-file families too when the lists are written, so none appears twice.
void WriteStore(AppSession& app, ReplacingFileWriter& out, bool listsWritten) {
    for (VarRecord* rec = VarFirst(app); rec != nullptr; rec = VarNext(app)) {
        if (rec->persist == 0 || !rec->HasValue() || !WritableName(rec->Name())) {
            continue;
        }
        std::string_view name = rec->Name();
        if (StartsWith(name, kCommandAliasPrefix) || StartsWith(name, kProfileAliasPrefix)) {
            continue;
        }
        if (listsWritten && (StartsWith(name, kHistoryPrefix) || StartsWith(name, kRecentPrefix))) {
            continue;
        }
        WriteLine(out, name, rec->Value());
    }
}

void WriteSharedLists(ReplacingFileWriter& out, ProfileSharedLists& shared) {
    for (int age = 0; age < kProfileHistoryMax; ++age) {
        std::string command = shared.HistoryEntry(age);
        if (command.empty()) {
            break;
        }
        WriteLine(out, Format("ZPCMDHISTORY.%d", age), command);
    }
    for (int i = 0; i < kProfileRecentFilesMax; ++i) {
        std::string path = shared.RecentFile(i);
        if (path.empty()) {
            break;
        }
        WriteLine(out, Format("ZFILEMRU.%d", i), path);
    }
}

}  // namespace

ProfileLine SplitProfileLine(std::string_view line) {
    size_t pos = line.find_first_not_of(' ');
    if (pos == std::string_view::npos) {
        return {};
    }
    line.remove_prefix(pos);
    size_t end = 0;
    while (end < line.size() && !IsSeparator(line[end])) {
        ++end;
    }
    ProfileLine parts{line.substr(0, end), {}};
    while (end < line.size() && IsSeparator(line[end])) {
        ++end;
    }
    parts.value = line.substr(end);
    return parts;
}

std::string MainProfileHome(const AppSession& app) {
    return app.homeDirectory.empty() ? std::string(".") : app.homeDirectory;
}

std::string FindMainProfile(const AppSession& app) {
    std::string dir = ProfilesDirectory(app);
    std::string name = ResolveNameInDirectory(dir, kMainProfileName);
    return name.empty() ? std::string() : JoinPath(dir, name);
}

std::string MainProfileWritePath(const AppSession& app) {
    std::string found = FindMainProfile(app);
    return found.empty() ? JoinPath(ProfilesDirectory(app), kMainProfileName) : found;
}

Status ReadMainProfile(AppSession& app, ProfileSharedLists* shared) {
    std::string path = FindMainProfile(app);
    int result = path.empty() ? -1 : 0;
    bool unreadable = false;
    // Only a regular file is read: a FIFO would block the start and a device such as /dev/zero would
    // feed it without end. The open itself never blocks.
    FileHandle handle;
    FileStamp stamp;
    bool special = false;
    if (!path.empty() && OpenExisting(path, OpenAccess::Read, handle).Ok() &&
        StatHandle(handle, stamp).Ok() && !stamp.isRegular) {
        special = true;
        handle.Close();
        unreadable = true;
        ShowMessage(
            app,
            Format("Main profile '%s' is not a regular file; it is not read and not written.", path.c_str()),
            MsgTo::Box, Beep::Error);
    }
    if (!path.empty() && !special) {
        FilePtr file(handle.IsOpen() ? ::fdopen(handle.Fd(), "r") : nullptr);
        if (file) {
            handle.Release();
            ReadVariables(app, file.get());
            if (OwnsSharedLists(shared)) {
                RestoreSharedLists(app, *shared);
            }
        } else {
            // A profile that exists but cannot be read is not a first run: it is reported and kept
            // out of this run's writes, so the settings in it are not replaced by defaults.
            unreadable = true;
            ShowMessage(app, Format("Unable to open file profile '%s' for READ.", path.c_str()), MsgTo::Box,
                        Beep::Error);
        }
    }
    ApplyProfileDefaults(app);
    LoadAliasList(app, kCommandAliasPrefix, app.aliases, AliasDefaults::Commands);
    LoadAliasList(app, kProfileAliasPrefix, app.profileAliases, AliasDefaults::None);
    PrepareHistoryComboLists(app);
    app.profileSettings = ReadSessionSettings(app);
    app.profileLoaded = !unreadable;
    return result;
}

Status WriteMainProfile(AppSession& app, ProfileSharedLists* shared) {
    if (!app.profileLoaded) {
        return 0;
    }
    // A home without its profiles directory yet (a fresh build tree) gets one; the rest of the
    // tree is the installation's business.
    ::mkdir(ProfilesDirectory(app).c_str(), 0777);
    std::string path = MainProfileWritePath(app);
    ReplacingFileWriter out;
    if (!out.Open(path)) {
        ShowMessage(app, Format("Unable to open file profile '%s' for WRITE.", path.c_str()), MsgTo::Box,
                    Beep::Error);
        return -1;
    }
    bool listsWritten = OwnsSharedLists(shared);
    WriteAliases(out, kCommandAliasPrefix, app.aliases);
    WriteAliases(out, kProfileAliasPrefix, app.profileAliases);
    WriteStore(app, out, listsWritten);
    if (listsWritten) {
        WriteSharedLists(out, *shared);
    }
    if (!out.Commit()) {
        ShowMessage(app, Format("Unable to open file profile '%s' for WRITE.", path.c_str()), MsgTo::Box,
                    Beep::Error);
        return -1;
    }
    return 0;
}

RestoreOutcome RestoreDefaults(AppSession& app, const ConfirmOkCancel& confirm) {
    if (VarGetValue(app, "ZCLIENT") == "TRUE") {
        ShowMessage(app,
                    "To restore defaults have network administrator re-install thin client per "
                    "instructions in menu HELP, item README, sub-item NETWORK.",
                    MsgTo::Box, Beep::Information);
        return RestoreOutcome::ThinClient;
    }
    constexpr std::string_view kQuestion =
        "The following are not restored:\n\nfile profiles\ncolorization profiles\nprint "
        "styles\nprojects\nuser commands\n\nOK to shut down Tavo to restore defaults?";
    if (!confirm || !confirm(kQuestion)) {
        return RestoreOutcome::Cancelled;
    }
    // A profile that is already gone needs no deleting: the next start applies every default.
    std::string path = FindMainProfile(app);
    if (!path.empty() && ::unlink(path.c_str()) != 0 && errno != ENOENT) {
        ShowMessage(app, "Unable to delete main Tavo profile.", MsgTo::Box, Beep::Error);
        return RestoreOutcome::DeleteFailed;
    }
    app.profileLoaded = false;
    return RestoreOutcome::Restored;
}

}  // namespace tavoe
