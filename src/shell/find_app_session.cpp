#include "shell/find_app_session.h"

#include <algorithm>
#include <vector>

#include "core/app_session.h"

namespace tavoe {

namespace {

// The running instances of the process in the order they were entered. Only the user-interface
// thread touches it.
std::vector<AppSession*>& Running() {
    static std::vector<AppSession*> running;
    return running;
}

}  // namespace

RunningInstance::RunningInstance(AppSession& app) : app_(app) {
    Running().push_back(&app);
}

RunningInstance::~RunningInstance() {
    std::erase(Running(), &app_);
}

AppSession* FindAppSession(const ui::Screen* window) {
    const std::vector<AppSession*>& running = Running();
    if (window != nullptr) {
        auto it = std::find_if(running.begin(), running.end(),
                               [window](const AppSession* app) { return app->screen == window; });
        if (it != running.end()) {
            return *it;
        }
    }
    return running.empty() ? nullptr : running.front();
}

}  // namespace tavoe
