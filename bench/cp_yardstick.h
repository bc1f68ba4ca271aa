#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

extern char** environ;

// `cp`, the yardstick several benchmarks measure the editor's file work against.

// Runs `cp from to`; true when it copied.
inline bool RunCp(const std::string& from, const std::string& to) {
    const char* argv[] = {"cp", from.c_str(), to.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// CPU seconds (user and system) of this process (RUSAGE_SELF) or of its waited-for children
// (RUSAGE_CHILDREN). A busy machine disturbs them far less than wall times.
inline double CpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// One timed cp: its wall seconds (with `then`, such as a sync of the copy, included) and cp's own CPU
// seconds.
struct CpRun {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
};
inline CpRun TimedCp(const std::string& from, const std::string& to, const std::function<bool()>& then = {}) {
    CpRun run;
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    run.ok = RunCp(from, to) && (!then || then());
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
    return run;
}

// Times one cp from -> to per iteration of the benchmark (the copy removed before each run and after
// the last) and returns the mean wall and CPU seconds; a failed cp ends the benchmark with an error.
inline CpRun MeanCp(benchmark::State& state, const std::string& from, const std::string& to,
                    const std::function<bool()>& then = {}) {
    CpRun mean{.ok = true};
    for (auto _ : state) {
        std::filesystem::remove(to);
        CpRun run = TimedCp(from, to, then);
        mean.seconds += run.seconds;
        mean.cpuSeconds += run.cpuSeconds;
        if (!run.ok) {
            mean.ok = false;
            state.SkipWithError("cp failed");
            break;
        }
    }
    std::filesystem::remove(to);
    const double runs = static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    mean.seconds /= runs;
    mean.cpuSeconds /= runs;
    return mean;
}
