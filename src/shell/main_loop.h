#pragma once

#include <functional>

namespace tavoe {

// The instance's event loop: it runs the posted commands, acts on close requests and on the
// requests of other instances, and hands every other event to the main window, until the instance
// closes or (in batch mode) the script ends.

struct AppSession;

enum class LoopEnd { Closed, ScriptEnded };

// Runs until a close request went through or the input ended. `afterEvent` runs after every event
// (the terminal keeps its title up to date there).
LoopEnd RunMainLoop(AppSession& app, const std::function<void()>& afterEvent = {});

// Acts on what other instances asked for (rebuilding the Window menu, refreshing the title, closing).
void HandleInstanceRequests(AppSession& app);

}  // namespace tavoe
