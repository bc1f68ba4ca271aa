#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/status.h"
#include "profiles/main_profile.h"

namespace tavoe {

// The main profile's shared lists (the command history and the recently used files) kept in the
// instance's shared session block.

struct AppSession;

class SharedBlockLists : public ProfileSharedLists {
public:
    explicit SharedBlockLists(AppSession& app) : app_(app) {}

    int SessionCount() const override;
    void HistoryAdd(std::string_view command) override;
    std::string HistoryEntry(int age) const override;
    void SetRecentFile(int slot, std::string_view path) override;
    std::string RecentFile(int slot) const override;

private:
    AppSession& app_;
};

// The command history and the recent files as they stand, to be put back after a batch run: a script
// leaves the user's lists as it found them.
class SharedListsSnapshot {
public:
    explicit SharedListsSnapshot(AppSession& app);
    void Restore(AppSession& app) const;

private:
    std::vector<std::string> history_;
    int newest_ = 0;
    int cursor_ = 0;
    int direction_ = 0;
    std::vector<std::string> recent_;
    std::vector<bool> recentInUse_;
};

// Reads the main profile with the shared lists of the block: 0, or -1 on a first run.
Status ReadProfileNow(AppSession& app);

// Writes the main profile with the shared lists of the block (at exit, when the general options are
// applied and before another instance starts): 0, or -1 after a message.
Status WriteProfileNow(AppSession& app);

}  // namespace tavoe
