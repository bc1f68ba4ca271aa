#pragma once

namespace tavoe {

// Finding the instance a window belongs to. Each running instance of the process enters itself for
// as long as it runs; a window (its screen) leads to the instance whose screen it is, and anything
// else (a library calling back into the program, a window of no instance) to the process's own
// instance, the first one entered.

struct AppSession;

namespace ui {
class Screen;
}

// Enters the instance while the object lives.
class RunningInstance {
public:
    explicit RunningInstance(AppSession& app);
    ~RunningInstance();
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

private:
    AppSession& app_;
};

// The instance showing this screen, else the process's own instance; null when none runs.
AppSession* FindAppSession(const ui::Screen* window);

}  // namespace tavoe
