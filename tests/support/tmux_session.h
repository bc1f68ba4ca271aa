#pragma once

// A real terminal for tests: a tmux session of its own (a private server socket, 80x24, no status
// line) running a shell, driven with send-keys and read with capture-pane.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

class TmuxSession {
public:
    // `tag` names the server socket, so sessions of different tests and runs never meet.
    explicit TmuxSession(const std::string& tag)
        : socket_("tavoe_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++)) {
        Tmux("-f /dev/null new-session -d -s t -x 80 -y 24 'env -u TMUX sh'");
        Tmux("set-option -t t status off");
    }
    ~TmuxSession() { Tmux("kill-server"); }
    TmuxSession(const TmuxSession&) = delete;
    TmuxSession& operator=(const TmuxSession&) = delete;

    static bool Available() { return std::system("tmux -V >/dev/null 2>&1") == 0; }

    // Runs a tmux command against this session's server; its output with standard error.
    std::string Tmux(const std::string& args) { return Shell("tmux -L " + socket_ + " " + args + " 2>&1"); }
    // Types a line into the shell and presses Enter.
    void Type(const std::string& shellLine) {
        Tmux("send-keys -t t -l '" + shellLine + "'");
        Tmux("send-keys -t t Enter");
    }
    // Presses keys by tmux's names ("F3", "Enter", "Down").
    void Keys(const std::string& keys) { Tmux("send-keys -t t " + keys); }
    std::string Screen() { return Tmux("capture-pane -p -t t"); }

    // Waits (up to 10 s) until the pane shows the text.
    bool WaitFor(const std::string& text) {
        for (int i = 0; i < 200; ++i) {
            if (Screen().find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

private:
    static std::string Shell(const std::string& command) {
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return out;
        }
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        pclose(pipe);
        return out;
    }

    static inline int counter_ = 0;
    std::string socket_;
};
