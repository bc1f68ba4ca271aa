#include "shell/recent_files.h"

#include "core/app_session.h"
#include "core/shared_block.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Moves entries from..to-1 one place down (to the higher index), so entry `from` can be reused.
void ShiftDown(SharedSessionBlock& block, int from, int to) {
    for (int i = to; i > from; --i) {
        block.SetRecentPath(i, block.RecentPath(i - 1));
        block.SetRecentInUse(i, block.RecentInUse(i - 1));
    }
}

}  // namespace

void RecentFileAdd(AppSession& app, std::string_view path) {
    if (path.empty() || path.size() >= shared_layout::kRecentPathSize) {
        return;
    }
    SharedSessionBlock& block = SharedBlock(app);
    // An equal entry is moved rather than copied, so a path is listed once; without one, the last
    // entry is the one given up.
    int last = kRecentFileCount - 1;
    for (int i = 0; i < kRecentFileCount; ++i) {
        if (block.RecentPath(i) == path) {
            last = i;
            break;
        }
    }
    ShiftDown(block, 0, last);
    block.SetRecentPath(0, path);
    block.SetRecentInUse(0, false);
}

void RecentFileSetInUse(AppSession& app, std::string_view path, RecentUse use) {
    SharedSessionBlock& block = SharedBlock(app);
    for (int i = 0; i < kRecentFileCount; ++i) {
        if (block.RecentPath(i) == path && !path.empty()) {
            block.SetRecentInUse(i, use == RecentUse::InUse);
            return;
        }
    }
}

std::vector<std::string> RecentFiles(AppSession& app) {
    const SharedSessionBlock& block = SharedBlock(app);
    std::vector<std::string> paths;
    for (int i = 0; i < kRecentFileCount; ++i) {
        std::string path = block.RecentPath(i);
        if (path.empty()) {
            break;
        }
        paths.push_back(std::move(path));
    }
    return paths;
}

void RecentFileSetEntry(AppSession& app, int index, std::string_view path) {
    SharedSessionBlock& block = SharedBlock(app);
    block.SetRecentPath(index, path);
    block.SetRecentInUse(index, false);
}

std::vector<ShellMenuItem> RecentMenuItems(AppSession& app) {
    const SharedSessionBlock& block = SharedBlock(app);
    std::vector<ShellMenuItem> items;
    for (int i = 0; i < kRecentMenuCount; ++i) {
        std::string path = block.RecentPath(i);
        if (path.empty()) {
            break;
        }
        items.push_back(
            {kRecentMenuFirstId + i, Format("&%d  ", i + 1) + DoubleAmpersands(path), block.RecentInUse(i)});
    }
    return items;
}

void RebuildRecentMenu(AppSession& app) {
    Instance(app).recentMenu = RecentMenuItems(app);
}

std::string RecentFileCommand(AppSession& app, int id) {
    if (id < kRecentMenuFirstId || id >= kRecentMenuFirstId + kRecentMenuCount) {
        return {};
    }
    std::string path = SharedBlock(app).RecentPath(id - kRecentMenuFirstId);
    return path.empty() ? std::string() : "edit " + path;
}

}  // namespace tavoe
