#include "shell/window_arrange.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "core/app_session.h"
#include "platform/format.h"
#include "shell/instances.h"
#include "shell/profile_lists.h"
#include "shell/tmux.h"

namespace tavoe {

namespace {

void Say(AppSession& app, std::string_view text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Information);
}

// The panes of the registered sessions, in slot order, and the index of the own one.
struct SessionPanes {
    std::vector<TmuxPane> panes;
    int own = -1;
};

// Finds every session's pane; says why when the arrangement cannot be made.
bool CollectPanes(AppSession& app, std::string_view what, SessionPanes* out) {
    if (!TmuxAvailable(app)) {
        Say(app, Format("%s needs the sessions to run in tmux panes: a terminal window can not be "
                        "placed from inside a terminal.",
                        std::string(what).c_str()));
        return false;
    }
    SharedSessionBlock& block = SharedBlock(app);
    int count = RegisteredSessionCount(app);
    int own = OwnSlotIndex(app);
    for (int i = 0; i < count; ++i) {
        int pid = block.SlotWindow(i) != 0 ? block.SlotWindow(i) : block.SlotOwner(i);
        TmuxPane pane;
        if (!FindTmuxPaneOf(pid, &pane)) {
            Say(app, Format("Session %d does not run in a pane of this tmux server, %s ignored.", i + 1,
                            std::string(what).c_str()));
            return false;
        }
        out->panes.push_back(pane);
    }
    out->own = own;
    if (own < 0 || own >= static_cast<int>(out->panes.size())) {
        Say(app, "Unable to get window index for session swap.");
        return false;
    }
    return true;
}

int WindowSize(const TmuxPane& pane, const char* format) {
    std::string out;
    if (RunTmux({"display-message", "-p", "-t", pane.paneId, format}, &out) != 0) {
        return 0;
    }
    return std::atoi(out.c_str());
}

// Moves every session's pane into the own pane's window, then lays them out.
void GatherAndLayout(const SessionPanes& sessions, const char* layout) {
    const TmuxPane& own = sessions.panes[static_cast<size_t>(sessions.own)];
    for (size_t i = 0; i < sessions.panes.size(); ++i) {
        const TmuxPane& pane = sessions.panes[i];
        if (static_cast<int>(i) != sessions.own && pane.windowId != own.windowId) {
            RunTmux({"join-pane", "-d", "-s", pane.paneId, "-t", own.paneId});
        }
    }
    RunTmux({"select-layout", "-t", own.windowId, layout});
    RunTmux({"select-window", "-t", own.windowId});
    RunTmux({"select-pane", "-t", own.paneId});
}

void Tile(AppSession& app, bool horizontal) {
    const char* name = horizontal ? "TILE HORIZONTAL" : "TILE VERTICAL";
    int count = RegisteredSessionCount(app);
    if (count < 2) {
        Say(app, Format("Only one session, %s ignored.", name));
        return;
    }
    SessionPanes sessions;
    if (!CollectPanes(app, name, &sessions)) {
        return;
    }
    const TmuxPane& own = sessions.panes[static_cast<size_t>(sessions.own)];
    if (horizontal) {
        if (WindowSize(own, "#{window_height}") / count < kMinTileRows) {
            Say(app, "Insufficient screen depth for reasonable horizontal tiling, TILE HORIZONTAL ignored.");
            return;
        }
        GatherAndLayout(sessions, "even-vertical");
    } else {
        if (WindowSize(own, "#{window_width}") / count < kMinTileCols) {
            Say(app, "Insufficient screen width for reasonable vertical tiling, TILE VERTICAL ignored.");
            return;
        }
        GatherAndLayout(sessions, "even-horizontal");
    }
}

void Step(AppSession& app, bool horizontal) {
    if (RegisteredSessionCount(app) != 2) {
        if (horizontal) {
            Say(app, "STEP HORIZONTAL only works with first two sessions, passed to TILE HORIZONTAL.");
        } else {
            Say(app, "STEP VERTICAL only works with first two sessions, passed to TILE VERTICAL");
        }
        Tile(app, horizontal);
        return;
    }
    SessionPanes sessions;
    if (!CollectPanes(app, horizontal ? "STEP HORIZONTAL" : "STEP VERTICAL", &sessions)) {
        return;
    }
    GatherAndLayout(sessions, horizontal ? "main-horizontal" : "main-vertical");
}

}  // namespace

int LaunchInstance(AppSession& app, const std::vector<std::string>& arguments, LaunchPlace place) {
    if (!TmuxAvailable(app) || Instance(app).programPath.empty()) {
        return -1;
    }
    std::vector<std::string> command{Instance(app).programPath};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<std::string> args;
    switch (place) {
        case LaunchPlace::NewWindow:
            args = {"new-window"};
            break;
        case LaunchPlace::SplitBelow:
            args = {"split-window", "-v"};
            break;
        case LaunchPlace::SplitBeside:
            args = {"split-window", "-h"};
            break;
    }
    std::error_code error;
    std::string directory = std::filesystem::current_path(error).string();
    if (!error) {
        args.insert(args.end(), {"-c", directory});
    }
    // The tmux server starts the pane with its own environment, so the home is passed on.
    if (const char* home = std::getenv("TAVOE35"); home != nullptr && home[0] != '\0') {
        args.insert(args.end(), {"-e", std::string("TAVOE35=") + home});
    }
    args.push_back(ShellQuoteJoin(command));
    return RunTmux(args) == 0 ? 0 : -1;
}

Status StartNewSession(AppSession& app) {
    (void)WriteProfileNow(app);
    if (LaunchInstance(app, {}, LaunchPlace::SplitBelow) != 0) {
        ShowMessage(app, "Unable to start new Tavo session.", MsgTo::Box, Beep::Error);
        return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (TmuxAvailable(app)) {
        TmuxPane own;
        if (FindTmuxPaneOf(static_cast<int>(::getpid()), &own)) {
            RunTmux({"select-pane", "-t", own.paneId});
        }
    }
    ShowContextAgain(app);
    return 0;
}

void SplitHorizontal(AppSession& app) {
    if (RegisteredSessionCount(app) == 2) {
        Step(app, true);
        return;
    }
    Say(app,
        "SPLITH only works with first two sessions, passing to SPLITF.\n\nSee menu WINDOW for other "
        "available "
        "window topology and access options.");
    (void)StartNewSession(app);
}

void SplitVertical(AppSession& app) {
    if (RegisteredSessionCount(app) == 2) {
        Step(app, false);
        return;
    }
    Say(app,
        "SPLITV only works with first two sessions, passing to SPLITF.\n\nSee menu WINDOW for window "
        "topology "
        "and access options.");
    (void)StartNewSession(app);
}

void ArrangeOverlay(AppSession& app) {
    if (RegisteredSessionCount(app) < 2) {
        Say(app, "Only one session, OVERLAY ignored.");
        return;
    }
    SessionPanes sessions;
    if (!CollectPanes(app, "OVERLAY", &sessions)) {
        return;
    }
    // Every other session gets a window of its own, the full size of the screen, behind this one.
    const TmuxPane& own = sessions.panes[static_cast<size_t>(sessions.own)];
    for (size_t i = 0; i < sessions.panes.size(); ++i) {
        if (static_cast<int>(i) != sessions.own && sessions.panes[i].windowId == own.windowId) {
            RunTmux({"break-pane", "-d", "-s", sessions.panes[i].paneId});
        }
    }
    RunTmux({"select-window", "-t", own.windowId});
    RunTmux({"select-pane", "-t", own.paneId});
}

void ArrangeTileH(AppSession& app) {
    Tile(app, true);
}

void ArrangeTileV(AppSession& app) {
    Tile(app, false);
}

void ArrangeStepH(AppSession& app) {
    Step(app, true);
}

void ArrangeStepV(AppSession& app) {
    Step(app, false);
}

}  // namespace tavoe
