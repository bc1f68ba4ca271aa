#include "shell/profile_lists.h"

#include <vector>

#include "commands/command_history.h"
#include "core/app_session.h"
#include "core/shared_block.h"
#include "shell/recent_files.h"

namespace tavoe {

int SharedBlockLists::SessionCount() const {
    return RegisteredSessionCount(app_);
}

void SharedBlockLists::HistoryAdd(std::string_view command) {
    tavoe::HistoryAdd(app_, command);
}

std::string SharedBlockLists::HistoryEntry(int age) const {
    std::vector<std::string> entries = HistoryEntries(app_);
    if (age < 0 || age >= static_cast<int>(entries.size())) {
        return {};
    }
    return entries[static_cast<size_t>(age)];
}

void SharedBlockLists::SetRecentFile(int slot, std::string_view path) {
    if (slot >= 0 && slot < kRecentFileCount) {
        RecentFileSetEntry(app_, slot, path);
    }
}

std::string SharedBlockLists::RecentFile(int slot) const {
    std::vector<std::string> files = RecentFiles(app_);
    if (slot < 0 || slot >= static_cast<int>(files.size())) {
        return {};
    }
    return files[static_cast<size_t>(slot)];
}

SharedListsSnapshot::SharedListsSnapshot(AppSession& app) {
    const SharedSessionBlock& block = SharedBlock(app);
    for (int i = 0; i < kHistorySlotCount; ++i) {
        history_.push_back(block.HistorySlot(i));
    }
    newest_ = block.HistoryNewest();
    cursor_ = block.HistoryCursor();
    direction_ = static_cast<int>(block.HistoryDirection());
    for (int i = 0; i < kRecentFileCount; ++i) {
        recent_.push_back(block.RecentPath(i));
        recentInUse_.push_back(block.RecentInUse(i));
    }
}

void SharedListsSnapshot::Restore(AppSession& app) const {
    SharedSessionBlock& block = SharedBlock(app);
    for (int i = 0; i < kHistorySlotCount; ++i) {
        block.SetHistorySlot(i, history_[static_cast<size_t>(i)]);
    }
    block.SetHistoryNewest(newest_);
    block.SetHistoryCursor(cursor_);
    block.SetHistoryDirection(static_cast<RetrieveDirection>(direction_));
    for (int i = 0; i < kRecentFileCount; ++i) {
        block.SetRecentPath(i, recent_[static_cast<size_t>(i)]);
        block.SetRecentInUse(i, recentInUse_[static_cast<size_t>(i)]);
    }
    RebuildRecentMenu(app);
}

Status ReadProfileNow(AppSession& app) {
    SharedBlockLists lists(app);
    return ReadMainProfile(app, &lists);
}

Status WriteProfileNow(AppSession& app) {
    SharedBlockLists lists(app);
    return WriteMainProfile(app, &lists);
}

}  // namespace tavoe
