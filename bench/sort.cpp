// SORT speed: 1,000,000 lines of 80 columns whose keys in columns 1-10 are random, already sorted,
// reversed, or only 3 distinct values, next to `LC_ALL=C sort -s -k1.1,1.10` on the same file writing
// its output to a file. Two figures per arrangement:
//   BM_Sort      the SORT 1 10 command on a loaded session (the load is not timed);
//   BM_Process   a whole `tavoe --batch` run: load, SORT 1 10, SAVE.
// Each reports the best wall time and the best CPU time of its runs, and the ratios of those to the
// best of the same run's `sort` (x_sort of wall times, cpu_x_sort of CPU times): on a shared machine
// the best run is the one least disturbed by others.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "commands/sort_command.h"
#include "core/app_session.h"
#include "editing/edit_session.h"

#include "cp_yardstick.h"

using namespace tavoe;

extern char** environ;

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kColumns = 80;
constexpr int kKeyColumns = 10;

enum class Keys { Random, Sorted, Reversed, ThreeDistinct };
constexpr Keys kAllKeys[] = {Keys::Random, Keys::Sorted, Keys::Reversed, Keys::ThreeDistinct};

const char* KeysName(Keys keys) {
    switch (keys) {
        case Keys::Random:
            return "random";
        case Keys::Sorted:
            return "sorted";
        case Keys::Reversed:
            return "reversed";
        case Keys::ThreeDistinct:
            return "three_keys";
    }
    return "?";
}

std::string WorkDirectory() {
    static std::string directory = [] {
        std::string base = (std::filesystem::temp_directory_path() / "tavoe_sort_bench_XXXXXX").string();
        return std::string(::mkdtemp(base.data())) + "/";
    }();
    return directory;
}

// Keys of letters and digits; the rest of each line is text with the record's number in it.
void Generate(Keys arrangement, const std::string& path) {
    std::mt19937 random(2026);
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<int> pick(0, 35);
    std::vector<std::string> keys(kRecords);
    const std::string three[3] = {"PAYROLL-01", "INVENTORY ", "ACCOUNTS-9"};
    for (int i = 0; i < kRecords; ++i) {
        if (arrangement == Keys::ThreeDistinct) {
            keys[i] = three[pick(random) % 3];
            continue;
        }
        keys[i].resize(kKeyColumns);
        for (char& c : keys[i]) {
            c = kAlphabet[pick(random)];
        }
    }
    if (arrangement == Keys::Sorted) {
        std::sort(keys.begin(), keys.end());
    } else if (arrangement == Keys::Reversed) {
        std::sort(keys.rbegin(), keys.rend());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    char rest[kColumns - kKeyColumns + 1];
    for (int i = 0; i < kRecords; ++i) {
        // No trailing blanks, so the saved file equals what `sort` writes whether or not the text
        // profile strips them.
        std::snprintf(rest, sizeof rest, " RECORD %08d MOVE WS-TOTAL TO WS-GRAND-TOTAL ADD 1 TO WS-COUNT....",
                      i);
        chunk += keys[i];
        chunk.append(rest, kColumns - kKeyColumns);
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

std::string SourceFile(Keys keys) {
    std::string path = WorkDirectory() + KeysName(keys) + ".txt";
    if (!std::filesystem::exists(path)) {
        Generate(keys, path);
    }
    return path;
}

double ThreadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

// Runs a program with standard input from `input` (or none) and the environment given; true when
// it exits 0.
bool Run(const std::vector<std::string>& args, const std::string& input,
         const std::vector<std::string>& env) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& entry : env) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : input.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int spawned =
        posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.empty() ? environ : envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return false;
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Wall and CPU seconds of one run of `sort`, per arrangement, for the ratios.
double sortSeconds[4] = {};
double sortCpuSeconds[4] = {};

void Ratios(benchmark::State& state, Keys keys, double wall, double cpu) {
    const int index = static_cast<int>(keys);
    state.counters["wall_ms"] = wall * 1000;
    state.counters["cpu_ms"] = cpu * 1000;
    if (sortSeconds[index] > 0) {
        state.counters["x_sort"] = wall / sortSeconds[index];
    }
    if (sortCpuSeconds[index] > 0) {
        state.counters["cpu_x_sort"] = cpu / sortCpuSeconds[index];
    }
}

// One timed run of a child program (`run` returns whether it worked), with the best wall and CPU
// seconds so far kept in `best`; false after the benchmark was ended with `failure`.
struct BestTimes {
    double wall = 1e9;
    double cpu = 1e9;
};
bool TimeChild(benchmark::State& state, BestTimes& best, const std::function<bool()>& run,
               const char* failure) {
    const double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = run();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    best.wall = std::min(best.wall, seconds);
    best.cpu = std::min(best.cpu, CpuSeconds(RUSAGE_CHILDREN) - cpuBefore);
    if (!ok) {
        state.SkipWithError(failure);
    }
    return ok;
}

void BM_GnuSort(benchmark::State& state, Keys keys) {
    const std::string source = SourceFile(keys);
    const std::string output = WorkDirectory() + "sorted.out";
    BestTimes best;
    for (auto _ : state) {
        auto sort = [&] {
            return Run({"sort", "-s", "-k1.1,1.10", source, "-o", output}, "",
                       {"LC_ALL=C", "PATH=/usr/bin:/bin"});
        };
        if (!TimeChild(state, best, sort, "sort failed")) {
            return;
        }
    }
    sortSeconds[static_cast<int>(keys)] = best.wall;
    sortCpuSeconds[static_cast<int>(keys)] = best.cpu;
    state.counters["wall_ms"] = best.wall * 1000;
    state.counters["cpu_ms"] = best.cpu * 1000;
    std::filesystem::remove(output);
}

FileProfile BenchProfile() {
    FileProfile profile = BuiltInFileProfile("BENCH");
    profile.tabsExpandOnRead = 0;
    profile.maxRecordLength = kColumns;
    profile.boundsLeft = 1;
    profile.boundsRight = kColumns;
    return profile;
}

// The command alone: every iteration loads the file afresh (not timed) and sorts it.
void BM_Sort(benchmark::State& state, Keys keys) {
    const std::string source = SourceFile(keys);
    double wall = 1e9;
    double cpu = 1e9;
    for (auto _ : state) {
        AppSession app;
        auto session = std::make_unique<EditSession>(app);
        session->buffer.profile = BenchProfile();
        if (OpenFile(session->buffer, source, OpenMode::Edit) != 0 || FinishLoad(session->buffer) != 0) {
            state.SkipWithError("load failed");
            return;
        }
        const double cpuBefore = ThreadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        SortCommand(app, *session, "1 10");
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        wall = std::min(wall, seconds);
        cpu = std::min(cpu, ThreadCpuSeconds() - cpuBefore);
        if (app.messages.empty() || app.messages.back().text != "Sort complete.") {
            state.SkipWithError("sort did not complete");
            return;
        }
    }
    Ratios(state, keys, wall, cpu);
}

// The program's own path, its installation home beside it copied so the runs leave it untouched.
std::string ProgramDirectory() {
    return std::filesystem::canonical("/proc/self/exe").parent_path().string();
}

std::string ScratchHome() {
    static std::string home = [] {
        const std::filesystem::path build = std::filesystem::path(ProgramDirectory()).parent_path();
        const std::filesystem::path copy = WorkDirectory() + "home";
        std::filesystem::create_directories(copy);
        for (const char* data : {"dialogs", "help", "macros", "menus", "profiles", "templates"}) {
            if (std::filesystem::exists(build / data)) {
                std::filesystem::copy(build / data, copy / data, std::filesystem::copy_options::recursive);
            }
        }
        std::filesystem::create_directories(copy / "user");
        return copy.string();
    }();
    return home;
}

// The whole program: start, load, SORT 1 10, SAVE, end.
void BM_Process(benchmark::State& state, Keys keys) {
    const std::string source = SourceFile(keys);
    const std::string edited = WorkDirectory() + "edited.txt";
    const std::string script = WorkDirectory() + "script";
    std::ofstream(script) << "sort 1 10\nsave\n";
    const std::string home = ScratchHome();
    const std::vector<std::string> env = {"TAVOE35=" + home, "HOME=" + home + "/user", "PATH=/usr/bin:/bin",
                                          "TERM=dumb"};
    BestTimes best;
    for (auto _ : state) {
        std::filesystem::copy_file(source, edited, std::filesystem::copy_options::overwrite_existing);
        auto tavoe = [&] { return Run({ProgramDirectory() + "/tavoe", "--batch", edited}, script, env); };
        if (!TimeChild(state, best, tavoe, "tavoe failed")) {
            return;
        }
    }
    // The saved file must be what `sort` wrote.
    Run({"sort", "-s", "-k1.1,1.10", source, "-o", WorkDirectory() + "check.out"}, "", {"LC_ALL=C"});
    if (!Run({"cmp", "-s", edited, WorkDirectory() + "check.out"}, "", {"PATH=/usr/bin:/bin"})) {
        state.SkipWithError("the saved file differs from sort's output");
        return;
    }
    Ratios(state, keys, best.wall, best.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    for (Keys keys : kAllKeys) {
        const std::string name = KeysName(keys);
        benchmark::RegisterBenchmark(("BM_GnuSort/" + name).c_str(), BM_GnuSort, keys)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
        benchmark::RegisterBenchmark(("BM_Sort/" + name).c_str(), BM_Sort, keys)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
        benchmark::RegisterBenchmark(("BM_Process/" + name).c_str(), BM_Process, keys)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(WorkDirectory());
    return 0;
}
