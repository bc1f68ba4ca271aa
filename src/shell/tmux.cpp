#include "shell/tmux.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "core/app_session.h"
#include "platform/process_stat.h"

extern char** environ;

namespace tavoe {

bool TmuxAvailable(const AppSession& app) {
    if (app.batchMode) {
        return false;
    }
    const char* tmux = std::getenv("TMUX");
    return tmux != nullptr && tmux[0] != '\0';
}

int RunTmux(const std::vector<std::string>& args, std::string* output) {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<std::string> words{"tmux"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    int spawned = ::posix_spawnp(&child, "tmux", &actions, nullptr, argv.data(), environ);
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

bool FindTmuxPaneOf(int pid, TmuxPane* pane) {
    std::string listing;
    if (RunTmux({"list-panes", "-a", "-F", "#{pane_pid} #{window_id} #{pane_id}"}, &listing) != 0) {
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
        TmuxPane found;
        if (!(fields >> panePid >> found.windowId >> found.paneId)) {
            continue;
        }
        for (size_t depth = 0; depth < bestDepth; ++depth) {
            if (lineage[depth] == panePid) {
                bestDepth = depth;
                *pane = found;
                break;
            }
        }
    }
    return bestDepth < lineage.size();
}

std::string ShellQuoteJoin(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) {
            line += ' ';
        }
        line += '\'';
        for (char c : word) {
            if (c == '\'') {
                line += "'\\''";
            } else {
                line += c;
            }
        }
        line += '\'';
    }
    return line;
}

}  // namespace tavoe
