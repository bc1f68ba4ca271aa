#include "platform/message_box_hook.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace tavoe {

namespace {

// The hook serves the whole process (a loaded library has no other way in), so the handler is
// process-wide; the mutex only guards replacing it while a library thread calls.
struct HookState {
    std::mutex mutex;
    MessageBoxHandler handler;
};

HookState& State() {
    static HookState state;
    return state;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
    HookState& state = State();
    std::lock_guard lock(state.mutex);
    state.handler = std::move(handler);
}

extern "C" void tavoe_message_box(const char* text, const char* title) {
    std::string_view textView = text != nullptr ? text : "";
    std::string_view titleView = title != nullptr ? title : "";
    MessageBoxHandler handler;
    {
        HookState& state = State();
        std::lock_guard lock(state.mutex);
        handler = state.handler;
    }
    // Called outside the lock, so a handler may itself replace the handler.
    if (handler) {
        handler(textView, titleView);
        return;
    }
    if (titleView.empty()) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(textView.size()), textView.data());
    } else {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(titleView.size()), titleView.data(),
                     static_cast<int>(textView.size()), textView.data());
    }
}

}  // namespace tavoe
