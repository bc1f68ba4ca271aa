#include "shell/main_loop.h"

#include "core/app_session.h"
#include "shell/contexts.h"
#include "shell/instances.h"
#include "shell/main_window.h"
#include "shell/notify.h"
#include "shell/startup.h"
#include "shell/window_position.h"
#include "ui/screen.h"

namespace tavoe {

void HandleInstanceRequests(AppSession& app) {
    DrainNotifyPipe();
    HandleNotifications(app);
}

namespace {

// Runs the posted commands and acts on a close request; true when the instance is to end.
bool SettleAfterEvent(AppSession& app) {
    for (;;) {
        RunPostedCommands(app);
        if (!Instance(app).closeRequested) {
            return false;
        }
        if (CloseInstance(app)) {
            return true;
        }
        // The close was refused; commands posted meanwhile still run.
        if (app.commandQueue.empty()) {
            return false;
        }
    }
}

}  // namespace

LoopEnd RunMainLoop(AppSession& app, const std::function<void()>& afterEvent) {
    ui::Screen& screen = *app.screen;
    // While a modal window waits, requests of other instances are still taken; a close request is
    // acted on once the modal window has ended.
    screen.SetWakeHandler([&app] { HandleInstanceRequests(app); });
    for (;;) {
        if (SettleAfterEvent(app)) {
            return LoopEnd::Closed;
        }
        if (afterEvent) {
            afterEvent();
        }
        ui::Event event = screen.WaitEvent();
        switch (event.kind) {
            case ui::EventKind::Wake:
                HandleInstanceRequests(app);
                break;
            case ui::EventKind::EndOfInput:
                return LoopEnd::ScriptEnded;
            case ui::EventKind::Resize:
                NoteWindowSize(app, event.cols, event.rows);
                if (app.mainWindow != nullptr) {
                    app.mainWindow->HandleEvent(event);
                }
                break;
            default:
                if (app.mainWindow != nullptr) {
                    app.mainWindow->HandleEvent(event);
                }
                break;
        }
    }
}

}  // namespace tavoe
