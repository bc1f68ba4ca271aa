#include "platform/process_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>

extern char** environ;

namespace tavoe {

namespace {

// The file actions that point one standard stream at /dev/null.
void NullStream(posix_spawn_file_actions_t& actions, int fd, int flags) {
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", flags, 0);
}

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline; -1 (poll's "no limit") without one.
int MillisecondsLeft(std::optional<Clock::time_point> deadline) {
    if (!deadline) {
        return -1;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

// A child past its deadline is killed, with its group when it leads one, so a hung helper program
// (a clipboard tool waiting for a display that never answers) cannot hang the editor.
void KillChild(pid_t child, bool ownGroup) {
    if (ownGroup) {
        (void)::kill(-child, SIGKILL);
    }
    (void)::kill(child, SIGKILL);
}

int WaitForChild(pid_t child, std::optional<Clock::time_point> deadline, bool ownGroup) {
    int status = 0;
    for (;;) {
        pid_t done = ::waitpid(child, &status, deadline ? WNOHANG : 0);
        if (done == child) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (done == 0) {
            if (MillisecondsLeft(deadline) == 0) {
                KillChild(child, ownGroup);
                deadline.reset();  // now wait for it to go
            } else {
                ::usleep(5000);
            }
        }
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return -1;
}

// Reads the pipe to its end (or until the deadline), keeping at most limit bytes.
void DrainPipe(int fd, size_t limit, std::string& out, std::optional<Clock::time_point> deadline) {
    char buffer[4096];
    for (;;) {
        if (deadline) {
            pollfd ready{.fd = fd, .events = POLLIN, .revents = 0};
            int polled = ::poll(&ready, 1, MillisecondsLeft(deadline));
            if (polled < 0 && errno == EINTR) {
                continue;
            }
            if (polled <= 0) {
                break;  // out of time: the child is killed by the wait that follows
            }
        }
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        size_t room = limit > out.size() ? limit - out.size() : 0;
        out.append(buffer, std::min(room, static_cast<size_t>(got)));
    }
}

// A detached child runs under an intermediate process that exits at once, so the grandchild is
// adopted by init and never lingers as a zombie of ours. The intermediate's exit code tells whether
// the real start worked (0) or failed (the errno).
ProcessResult SpawnDetached(std::vector<char*>& argv, const ProcessOptions& options) {
    ProcessResult result;
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        result.errorCode = errno;
        return result;
    }
    pid_t middle = ::fork();
    if (middle < 0) {
        result.errorCode = errno;
        ::close(report[0]);
        ::close(report[1]);
        return result;
    }
    if (middle == 0) {
        ::setsid();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (options.input == ChildStream::Null) {
            NullStream(actions, STDIN_FILENO, O_RDONLY);
        }
        if (options.output != ChildStream::Inherit) {
            NullStream(actions, STDOUT_FILENO, O_WRONLY);
        }
        if (options.errors != ChildStream::Inherit) {
            NullStream(actions, STDERR_FILENO, O_WRONLY);
        }
        if (!options.directory.empty() && ::chdir(options.directory.c_str()) != 0) {
            int error = errno;
            (void)!::write(report[1], &error, sizeof error);
            ::_exit(1);
        }
        pid_t child = 0;
        int spawned = options.searchPath
                          ? ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ)
                          : ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
        if (spawned != 0) {
            (void)!::write(report[1], &spawned, sizeof spawned);
            ::_exit(1);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int error = 0;
    ssize_t got = ::read(report[0], &error, sizeof error);
    ::close(report[0]);
    WaitForChild(middle, std::nullopt, false);
    if (got == static_cast<ssize_t>(sizeof error)) {
        result.errorCode = error;
        return result;
    }
    result.started = true;
    return result;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
    ProcessResult result;
    if (argv.empty() || argv[0].empty()) {
        result.errorCode = ENOENT;
        return result;
    }
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (std::string& word : words) {
        args.push_back(word.data());
    }
    args.push_back(nullptr);
    if (options.wait == ChildWait::NoWait) {
        return SpawnDetached(args, options);
    }

    int capture[2] = {-1, -1};
    if (options.output == ChildStream::Capture && ::pipe2(capture, O_CLOEXEC) != 0) {
        result.errorCode = errno;
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.input != ChildStream::Inherit) {
        NullStream(actions, STDIN_FILENO, O_RDONLY);
    }
    if (options.output == ChildStream::Capture) {
        posix_spawn_file_actions_adddup2(&actions, capture[1], STDOUT_FILENO);
    } else if (options.output == ChildStream::Null) {
        NullStream(actions, STDOUT_FILENO, O_WRONLY);
    }
    if (options.errors != ChildStream::Inherit) {
        NullStream(actions, STDERR_FILENO, O_WRONLY);
    }
    if (!options.directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.directory.c_str());
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (options.newProcessGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    pid_t child = 0;
    int spawned = options.searchPath
                      ? ::posix_spawnp(&child, args[0], &actions, &attributes, args.data(), environ)
                      : ::posix_spawn(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (capture[1] >= 0) {
        ::close(capture[1]);
    }
    if (spawned != 0) {
        if (capture[0] >= 0) {
            ::close(capture[0]);
        }
        result.errorCode = spawned;
        return result;
    }
    result.started = true;
    result.pid = child;
    std::optional<Clock::time_point> deadline;
    if (options.timeoutMilliseconds > 0) {
        deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMilliseconds);
    }
    if (capture[0] >= 0) {
        DrainPipe(capture[0], options.outputLimit, result.output, deadline);
        ::close(capture[0]);
    }
    result.exitStatus = WaitForChild(child, deadline, options.newProcessGroup);
    return result;
}

bool ProcessAlive(int pid) {
    if (pid <= 0) {
        return false;
    }
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

std::string ShellQuote(std::string_view word) {
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

bool ProgramAvailable(std::string_view program) {
    if (program.empty()) {
        return false;
    }
    std::string name(program);
    if (name.find('/') != std::string::npos) {
        return ::access(name.c_str(), X_OK) == 0;
    }
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        size_t colon = dirs.find(':');
        std::string_view dir = dirs.substr(0, colon);
        std::string candidate = std::string(dir.empty() ? "." : dir) + "/" + name;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        if (colon == std::string_view::npos) {
            break;
        }
        dirs.remove_prefix(colon + 1);
    }
    return false;
}

}  // namespace tavoe
