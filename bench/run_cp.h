#pragma once

#include <spawn.h>
#include <sys/wait.h>

#include <string>

extern char** environ;

// Runs `cp from to` as the benchmarks' yardstick; true when it copied.
inline bool RunCp(const std::string& from, const std::string& to) {
    const char* argv[] = {"cp", from.c_str(), to.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
