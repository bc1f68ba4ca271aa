#include "shell/instances.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "macro/var_store.h"
#include "platform/format.h"
#include "shell/app_session.h"
#include "shell/notify.h"
#include "shell/shared_block.h"

extern char** environ;

namespace {

int ClampedCount(const SharedSessionBlock& block) {
    return std::clamp(block.SessionCount(), 0, kMaxSessions);
}

uint32_t BitFor(Notification what) {
    switch (what) {
        case Notification::CloseRequest:
            return kPendingClose;
        case Notification::RebuildWindowMenu:
            return kPendingWindowMenu;
        case Notification::RefreshTitle:
            return kPendingTitle;
    }
    return 0;
}

// The state letter and parent of a process from /proc; false when the process does not exist.
bool ReadProcessStat(int pid, char* state, int* parent) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) {
        return false;
    }
    // The command name in parentheses may itself hold blanks and parentheses: the fields after it
    // start behind the last ")".
    size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream rest(line.substr(close + 1));
    return static_cast<bool>(rest >> *state >> *parent);
}

// A process that no longer exists, or has ended and only waits to be reaped, holds no instance.
bool ProcessGone(int pid) {
    if (pid <= 0) {
        return false;
    }
    if (::kill(pid, 0) != 0 && errno == ESRCH) {
        return true;
    }
    char state = '?';
    int parent = 0;
    return ReadProcessStat(pid, &state, &parent) && (state == 'Z' || state == 'X');
}

// Removes slot `index` and moves the later ones up, so the used slots stay contiguous in order.
void RemoveSlot(SharedSessionBlock& block, int index) {
    int count = ClampedCount(block);
    if (index < 0 || index >= count) {
        return;
    }
    for (int i = index; i + 1 < count; ++i) {
        block.CopySlot(i + 1, i);
    }
    block.ClearSlot(count - 1);
    block.SetSessionCount(count - 1);
}

// Slots left behind by instances that ended without leaving (a crash, a kill) would otherwise be
// held for good, and 32 of them would lock every later instance out.
void ReclaimDeadSlots(SharedSessionBlock& block) {
    for (int i = ClampedCount(block) - 1; i >= 0; --i) {
        if (ProcessGone(block.SlotOwner(i))) {
            RemoveSlot(block, i);
        }
    }
}

// Runs a program found on PATH with the arguments, without a shell; standard output is returned in
// *output when asked for. The exit status, or -1 when it could not run.
int RunProgram(const std::vector<std::string>& args, std::string* output) {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return -1;
    }
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0 && output != nullptr) {
            output->append(buffer, static_cast<size_t>(n));
        }
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The tmux pane an instance runs in: the pane whose first process is the instance or one of its
// ancestors (a shell in the pane usually started it).
bool FindTmuxPane(int pid, std::string* windowId, std::string* paneId) {
    std::string listing;
    if (RunProgram({"tmux", "list-panes", "-a", "-F", "#{pane_pid} #{window_id} #{pane_id}"}, &listing) !=
        0) {
        return false;
    }
    std::vector<int> lineage;
    for (int p = pid; p > 1 && lineage.size() < 64;) {
        lineage.push_back(p);
        char state = '?';
        int parent = 0;
        if (!ReadProcessStat(p, &state, &parent)) {
            break;
        }
        p = parent;
    }
    std::istringstream lines(listing);
    std::string line;
    size_t bestDepth = lineage.size();
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        int panePid = 0;
        std::string window;
        std::string pane;
        if (!(fields >> panePid >> window >> pane)) {
            continue;
        }
        auto found = std::find(lineage.begin(), lineage.end(), panePid);
        size_t depth = static_cast<size_t>(found - lineage.begin());
        if (found != lineage.end() && depth < bestDepth) {
            bestDepth = depth;
            *windowId = window;
            *paneId = pane;
        }
    }
    return bestDepth < lineage.size();
}

// Whether a failed activation explains itself: a user's SWAP does, the courtesy swap of an instance
// that is leaving does not.
enum class Report { Show, Quiet };

// Brings another instance's terminal to the front. Only tmux lets one program switch the user's
// view to another; a plain terminal window cannot be raised from inside a terminal.
bool ActivateByTmux(AppSession& app, int slot, int pid, Report report) {
    const char* tmux = std::getenv("TMUX");
    if (tmux == nullptr || tmux[0] == '\0') {
        if (report == Report::Quiet) {
            return false;
        }
        ShowMessage(app,
                    Format("Session %d runs in another terminal window: switch to it there. Sessions can be "
                           "brought to the front only when they run inside tmux.",
                           slot + 1),
                    MsgTo::Box, Beep::Information);
        return false;
    }
    std::string windowId;
    std::string paneId;
    if (!FindTmuxPane(pid, &windowId, &paneId)) {
        if (report == Report::Quiet) {
            return false;
        }
        ShowMessage(app,
                    Format("Session %d does not run in a pane of this tmux server: switch to its terminal "
                           "window yourself.",
                           slot + 1),
                    MsgTo::Box, Beep::Information);
        return false;
    }
    // Switching the client first shows the pane's tmux session when it is not the one in view.
    RunProgram({"tmux", "switch-client", "-t", paneId}, nullptr);
    if (RunProgram({"tmux", "select-window", "-t", windowId}, nullptr) != 0 ||
        RunProgram({"tmux", "select-pane", "-t", paneId}, nullptr) != 0) {
        if (report == Report::Quiet) {
            return false;
        }
        ShowMessage(
            app, Format("Unable to bring session %d to the front: tmux did not select its pane.", slot + 1),
            MsgTo::Box, Beep::Exclamation);
        return false;
    }
    return true;
}

void ShowSessionBox(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

int Activate(AppSession& app, int index, Report report) {
    SharedSessionBlock& block = SharedBlock(app);
    if (index < 0 || index >= ClampedCount(block)) {
        ShowSessionBox(app, "Session swap index out of range.");
        return -1;
    }
    int pid = block.SlotWindow(index) != 0 ? block.SlotWindow(index) : block.SlotOwner(index);
    bool activated = app.instance.activateWindow ? app.instance.activateWindow(app, index, pid)
                                                 : ActivateByTmux(app, index, pid, report);
    RebuildWindowMenu(app);
    return activated ? 0 : -1;
}

// The slot after (step 1) or before (step -1) the own one, wrapping; activated when there are two
// sessions or more and session cooperation is on.
int Swap(AppSession& app, int step, Report report) {
    int count = RegisteredSessionCount(app);
    if (count < 2 || !app.sessionCooperation) {
        return 0;
    }
    int own = OwnSlotIndex(app);
    if (own < 0) {
        ShowSessionBox(app, "Unable to get window index for session swap.");
        return -1;
    }
    return Activate(app, (own + step + count) % count, report);
}

}  // namespace

int RegisterSession(AppSession& app, const SessionStart& start) {
    if (OwnSlotIndex(app) >= 0) {
        return app.instance.sessionId;  // registered already: a second slot would never be freed
    }
    app.instance.programPath = start.programPath;
    std::string name =
        start.blockName.empty() ? SharedBlockName(start.programPath, ::getuid()) : start.blockName;
    if (name.empty() || name[0] != '/') {
        name.insert(0, "/");
    }
    std::string error;
    app.shared = SharedSessionBlock::OpenNamed(name, &error);
    if (!app.shared) {
        ShowMessage(app,
                    Format("Unable to open the shared session block %s: %s. This session runs alone, without "
                           "the history, recent files and Window menu of other sessions.",
                           name.c_str(), error.c_str()),
                    MsgTo::Box, Beep::Exclamation);
        app.shared = SharedSessionBlock::CreatePrivate();
    }
    SharedSessionBlock& block = *app.shared;
    FillInstallationFields(block, start.programPath);
    // The handler must be in place before the slot exists, so no ring reaches the process unheard.
    InstallNotifyHandler();
    ReclaimDeadSlots(block);

    int count = ClampedCount(block);
    if (count >= kMaxSessions) {
        ShowMessage(app, Format("Can not register any more Tavo sessions, max = %d", kMaxSessions),
                    MsgTo::Box, Beep::Exclamation);
        app.instance.sessionId = 0;
        return 0;
    }
    int id = block.LastSessionId() + 1;
    if (id <= 0) {
        id = 1;  // the counter wrapped; ids stay positive because 0 means "unregistered"
    }
    block.SetLastSessionId(id);
    block.ClearSlot(count);
    block.SetSlotOwner(count, ::getpid());
    block.SetSlotId(count, id);
    block.SetLastRegistered(::getpid());
    block.SetSessionCount(count + 1);
    if (block.HighestSessionCount() < count + 1) {
        block.SetHighestSessionCount(count + 1);
    }
    app.instance.sessionId = id;
    return id;
}

void SetSessionWindow(AppSession& app, int window) {
    int slot = OwnSlotIndex(app);
    if (slot < 0) {
        return;
    }
    app.instance.window = window;
    app.shared->SetSlotWindow(slot, window);
}

void UnregisterSession(AppSession& app) {
    if (!app.shared) {
        app.instance.sessionId = 0;
        return;
    }
    SharedSessionBlock& block = *app.shared;
    if (ClampedCount(block) > 1 && OwnSlotIndex(app) >= 0) {
        Swap(app, 1, Report::Quiet);  // a leaving instance hands the front to the next one
    }
    int own = OwnSlotIndex(app);
    if (own >= 0) {
        RemoveSlot(block, own);
    }
    app.instance.sessionId = 0;
    app.instance.window = 0;
    if (ClampedCount(block) == 0) {
        block.UnlinkName();
    } else if (own >= 0) {
        // Slot numbers have changed, and with them the others' titles and Window menus.
        BroadcastWindowMenu(app);
        BroadcastTitles(app);
    }
    app.shared.reset();
}

int RegisteredSessionCount(AppSession& app) {
    return ClampedCount(SharedBlock(app));
}

int OwnSlotIndex(AppSession& app) {
    if (app.instance.sessionId == 0 || !app.shared) {
        return -1;
    }
    const SharedSessionBlock& block = *app.shared;
    int count = ClampedCount(block);
    for (int i = 0; i < count; ++i) {
        if (block.SlotId(i) == app.instance.sessionId) {
            return i;
        }
    }
    return -1;
}

int SwapNext(AppSession& app) {
    return Swap(app, 1, Report::Show);
}

int SwapPrevious(AppSession& app) {
    return Swap(app, -1, Report::Show);
}

int ActivateSlot(AppSession& app, int index) {
    return Activate(app, index, Report::Show);
}

void CloseAllSessions(AppSession& app) {
    SharedSessionBlock& block = SharedBlock(app);
    for (int i = 0; i < ClampedCount(block); ++i) {
        PostNotification(app, i, Notification::CloseRequest);
    }
    // An unregistered instance holds no slot, yet it is one of the sessions asked to close.
    if (OwnSlotIndex(app) < 0) {
        app.instance.closeRequested = true;
    }
}

bool CheckSessionCooperation(AppSession& app, std::string_view verb) {
    if (app.sessionCooperation) {
        return true;
    }
    std::string shown(verb);
    ShowMessage(
        app,
        Format("Command '%s' is not operative when Session Cooperation is OFF.\n\nClick on menu OPTIONS, "
               "item GENERAL to set Session Cooperation.",
               shown.c_str()),
        MsgTo::Box, Beep::Information);
    return false;
}

void LoadSessionCooperation(AppSession& app) {
    app.sessionCooperation = VarGetValue(app, "ZSESSIONCOOPERATION") == "TRUE";
}

std::string ComposeWindowTitle(int sessionCount, int ownIndex, std::string_view description,
                               TitleContext kind) {
    if (kind == TitleContext::EditFileName && !description.empty()) {
        return std::string(description);
    }
    std::string title =
        sessionCount < 2 || ownIndex < 0 ? std::string("Verso") : Format("Verso[%d]", ownIndex + 1);
    if (kind == TitleContext::Description && !description.empty()) {
        title += "  ";
        title += description;
    }
    return title;
}

void SetTitleContext(AppSession& app, std::string_view description, TitleContext kind) {
    app.instance.titleDescription = std::string(description);
    app.instance.titleContext = kind;
    RefreshTitle(app);
}

void RefreshTitle(AppSession& app) {
    app.instance.title = ComposeWindowTitle(RegisteredSessionCount(app), OwnSlotIndex(app),
                                            app.instance.titleDescription, app.instance.titleContext);
    SetSessionTitle(app, app.instance.title);
}

void SetSessionTitle(AppSession& app, std::string_view text) {
    int slot = OwnSlotIndex(app);
    if (slot >= 0) {
        app.shared->SetSlotTitle(slot, text);
    }
}

std::vector<ShellMenuItem> WindowMenuItems(AppSession& app) {
    const SharedSessionBlock& block = SharedBlock(app);
    int own = OwnSlotIndex(app);
    std::vector<ShellMenuItem> items;
    for (int i = 0; i < ClampedCount(block); ++i) {
        std::string title = block.SlotTitle(i);
        if (title.empty()) {
            title = Format("Verso[%d]", i + 1);  // an instance that has not set its title yet
        }
        items.push_back({kWindowMenuFirstId + i, DoubleAmpersands(title), i == own});
    }
    return items;
}

void RebuildWindowMenu(AppSession& app) {
    app.instance.windowMenu = WindowMenuItems(app);
}

bool RunInstanceMenuCommand(AppSession& app, int id) {
    if (id >= kWindowMenuFirstId && id < kWindowMenuFirstId + kMaxSessions) {
        ActivateSlot(app, id - kWindowMenuFirstId);
        return true;
    }
    if (id == kRebuildWindowMenuId) {
        RebuildWindowMenu(app);
        return true;
    }
    if (id == kRefreshTitleId) {
        RefreshTitle(app);
        return true;
    }
    return false;
}

void PostNotification(AppSession& app, int slot, Notification what) {
    SharedSessionBlock& block = SharedBlock(app);
    if (slot < 0 || slot >= ClampedCount(block)) {
        return;
    }
    block.AddSlotPending(slot, BitFor(what));
    int pid = block.SlotWindow(slot) != 0 ? block.SlotWindow(slot) : block.SlotOwner(slot);
    RingProcess(pid);
}

void BroadcastWindowMenu(AppSession& app) {
    for (int i = 0; i < RegisteredSessionCount(app); ++i) {
        PostNotification(app, i, Notification::RebuildWindowMenu);
    }
}

void BroadcastTitles(AppSession& app) {
    for (int i = 0; i < RegisteredSessionCount(app); ++i) {
        PostNotification(app, i, Notification::RefreshTitle);
    }
}

uint32_t HandleNotifications(AppSession& app) {
    int own = OwnSlotIndex(app);
    if (own < 0) {
        return 0;
    }
    uint32_t bits = app.shared->TakeSlotPending(own);
    if (bits & kPendingWindowMenu) {
        RebuildWindowMenu(app);
    }
    if (bits & kPendingTitle) {
        RefreshTitle(app);
    }
    if (bits & kPendingClose) {
        app.instance.closeRequested = true;
    }
    return bits;
}

std::string DoubleAmpersands(std::string_view text) {
    std::string doubled;
    doubled.reserve(text.size());
    for (char c : text) {
        doubled += c;
        if (c == '&') {
            doubled += '&';
        }
    }
    return doubled;
}
