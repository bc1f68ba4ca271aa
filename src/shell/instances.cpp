#include "shell/instances.h"

#include <signal.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/app_session.h"
#include "core/shared_block.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "platform/process_stat.h"
#include "shell/notify.h"
#include "shell/tmux.h"

namespace tavoe {

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

// A process that no longer exists, has ended and only waits to be reaped, belongs to another user
// (instances of one block all run as its user), or started at another time than the one the slot
// recorded (its id was given to a later process) holds no instance.
bool ProcessGone(int pid, std::uint64_t startTime) {
    if (pid <= 0) {
        return false;
    }
    if (::kill(pid, 0) != 0) {
        return true;
    }
    char state = '?';
    int parent = 0;
    if (ReadProcessStat(pid, &state, &parent) && (state == 'Z' || state == 'X')) {
        return true;
    }
    unsigned long long started = 0;
    return startTime != 0 && ReadProcessStartTime(pid, &started) && started != startTime;
}

// Whether some slot of the block names a live process other than this one.
bool AnyLiveOwner(const SharedSessionBlock& block) {
    for (int i = 0; i < kMaxSessions; ++i) {
        int pid = block.SlotOwner(i);
        if (pid > 0 && pid != ::getpid() && !ProcessGone(pid, block.SlotStartTime(i))) {
            return true;
        }
    }
    return false;
}

std::string SystemName() {
    utsname names{};
    return ::uname(&names) == 0 ? std::string(names.sysname) : std::string("Linux");
}

// A block whose fields no instance could have written (a crash while writing, another program) would
// lock every instance out or mislead it. When no live instance uses it, it is rebuilt; otherwise this
// instance runs with a private block and leaves the others theirs.
void CheckBlock(AppSession& app, const std::string& name) {
    SharedSessionBlock& block = *app.shared;
    if (!block.IsNamed() || block.LooksValid(SystemName())) {
        return;
    }
    if (!AnyLiveOwner(block)) {
        block.Reset();
        ShowMessage(app,
                    Format("The shared session block %s was damaged and has been rebuilt: the recent files "
                           "and command history of earlier sessions are lost.",
                           name.c_str()),
                    MsgTo::Box, Beep::Exclamation);
        return;
    }
    ShowMessage(
        app,
        Format("The shared session block %s is damaged and still used by other sessions. This session "
               "runs alone; the block is rebuilt once those sessions have ended.",
               name.c_str()),
        MsgTo::Box, Beep::Exclamation);
    app.shared = SharedSessionBlock::CreatePrivate();
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
        if (ProcessGone(block.SlotOwner(i), block.SlotStartTime(i))) {
            RemoveSlot(block, i);
        }
    }
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
    TmuxPane pane;
    if (!FindTmuxPaneOf(pid, &pane)) {
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
    RunTmux({"switch-client", "-t", pane.paneId});
    if (RunTmux({"select-window", "-t", pane.windowId}) != 0 ||
        RunTmux({"select-pane", "-t", pane.paneId}) != 0) {
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
    bool activated = Instance(app).activateWindow ? Instance(app).activateWindow(app, index, pid)
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

void InstanceStateDeleter::operator()(InstanceState* state) const {
    delete state;
}

InstanceState& Instance(AppSession& app) {
    if (!app.instance) {
        app.instance.reset(new InstanceState());
    }
    return *app.instance;
}

const InstanceState& Instance(const AppSession& app) {
    static const InstanceState kNone;
    return app.instance ? *app.instance : kNone;
}

int RegisterSession(AppSession& app, const SessionStart& start) {
    if (OwnSlotIndex(app) >= 0) {
        return Instance(app).sessionId;  // registered already: a second slot would never be freed
    }
    Instance(app).programPath = start.programPath;
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
    CheckBlock(app, name);
    SharedSessionBlock& block = *app.shared;
    FillInstallationFields(block, start.programPath);
    // The handler must be in place before the slot exists, so no ring reaches the process unheard.
    InstallNotifyHandler();
    ReclaimDeadSlots(block);

    int count = ClampedCount(block);
    if (count >= kMaxSessions) {
        ShowMessage(app, Format("Can not register any more Tavo sessions, max = %d", kMaxSessions),
                    MsgTo::Box, Beep::Exclamation);
        Instance(app).sessionId = 0;
        return 0;
    }
    int id = block.LastSessionId() + 1;
    if (id <= 0) {
        id = 1;  // the counter wrapped; ids stay positive because 0 means "unregistered"
    }
    block.SetLastSessionId(id);
    block.ClearSlot(count);
    block.SetSlotOwner(count, ::getpid());
    unsigned long long started = 0;
    if (ReadProcessStartTime(::getpid(), &started)) {
        block.SetSlotStartTime(count, started);
    }
    block.SetSlotId(count, id);
    block.SetLastRegistered(::getpid());
    block.SetSessionCount(count + 1);
    if (block.HighestSessionCount() < count + 1) {
        block.SetHighestSessionCount(count + 1);
    }
    Instance(app).sessionId = id;
    return id;
}

void SetSessionWindow(AppSession& app, int window) {
    int slot = OwnSlotIndex(app);
    if (slot < 0) {
        return;
    }
    Instance(app).window = window;
    app.shared->SetSlotWindow(slot, window);
}

void UnregisterSession(AppSession& app) {
    if (!app.shared) {
        Instance(app).sessionId = 0;
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
    Instance(app).sessionId = 0;
    Instance(app).window = 0;
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
    if (Instance(app).sessionId == 0 || !app.shared) {
        return -1;
    }
    const SharedSessionBlock& block = *app.shared;
    int count = ClampedCount(block);
    for (int i = 0; i < count; ++i) {
        if (block.SlotId(i) == Instance(app).sessionId) {
            return i;
        }
    }
    return -1;
}

Status SwapNext(AppSession& app) {
    return Swap(app, 1, Report::Show);
}

Status SwapPrevious(AppSession& app) {
    return Swap(app, -1, Report::Show);
}

Status ActivateSlot(AppSession& app, int index) {
    return Activate(app, index, Report::Show);
}

void CloseAllSessions(AppSession& app) {
    SharedSessionBlock& block = SharedBlock(app);
    for (int i = 0; i < ClampedCount(block); ++i) {
        PostNotification(app, i, Notification::CloseRequest);
    }
    // An unregistered instance holds no slot, yet it is one of the sessions asked to close.
    if (OwnSlotIndex(app) < 0) {
        Instance(app).closeRequested = true;
    }
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
    Instance(app).titleDescription = std::string(description);
    Instance(app).titleContext = kind;
    RefreshTitle(app);
}

void RefreshTitle(AppSession& app) {
    Instance(app).title = ComposeWindowTitle(RegisteredSessionCount(app), OwnSlotIndex(app),
                                             Instance(app).titleDescription, Instance(app).titleContext);
    SetSessionTitle(app, Instance(app).title);
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
    Instance(app).windowMenu = WindowMenuItems(app);
}

bool RunInstanceMenuCommand(AppSession& app, int id) {
    if (id >= kWindowMenuFirstId && id < kWindowMenuFirstId + kMaxSessions) {
        (void)ActivateSlot(app, id - kWindowMenuFirstId);
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
        Instance(app).closeRequested = true;
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

}  // namespace tavoe
