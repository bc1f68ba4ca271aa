// RECENT (and REDIT): the recently used files of the shared block, newest first. Edit or Browse
// opens the chosen file; a file open in a session is marked "(open)" and can still be chosen (the
// open command itself says what happens to a file already open).
#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/shared_block.h"
#include "core/var_store.h"
#include "dialogs/dialog_pattern.h"
#include "dialogs/dialog_table.h"
#include "dialogs/dialog_vars.h"

namespace tavoe {

namespace {

constexpr std::string_view kOpenMark = "  (open)";

std::vector<std::string> RecentRows(AppSession& app, std::vector<std::string>& paths) {
    std::vector<std::string> rows;
    SharedSessionBlock& block = SharedBlock(app);
    for (int i = 0; i < kRecentFileCount; ++i) {
        std::string path = block.RecentPath(i);
        if (path.empty()) {
            break;
        }
        paths.push_back(path);
        rows.push_back(path + (block.RecentInUse(i) ? std::string(kOpenMark) : std::string()));
    }
    return rows;
}

}  // namespace

void RecentDialog(AppSession& app) {
    std::vector<std::string> paths;
    std::vector<std::string> rows = RecentRows(app, paths);
    if (rows.empty()) {
        ShowMessage(app, "No recently used files yet.", MsgTo::Box, Beep::Information);
        ShowContextAgain(app);
        return;
    }
    WriteDialogArray(app, "Recent.List", rows);
    VarSetNumber(app, "Recent.List.Top", 0);
    RunOptionDialog(app, "RECENT", [&app, rows, paths] {
        std::string reply = DialogReply(app, "", "Recent");
        if (reply != "EDIT" && reply != "BROWSE") {
            LeaveDialog(app);
            return;
        }
        // Any move in the list selects the row under the caret, so no selection means the first row.
        std::string chosen = VarGetValue(app, "Recent.List.Reply.1");
        if (VarGetNumber(app, "Recent.List.Reply.0") < 1) {
            chosen = rows.front();
        }
        std::string path;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i] == chosen) {
                path = paths[i];
            }
        }
        if (path.empty()) {
            ShowMessage(app, "No selection.", MsgTo::Box, Beep::Information);
            ShowDialogAgain(app, "RECENT");
            return;
        }
        // The dialog is left first, so the file opens over what was shown before it.
        LeaveDialog(app);
        PostCommand(app, (reply == "EDIT" ? "EDIT " : "BROWSE ") + path);
    });
}

}  // namespace tavoe
