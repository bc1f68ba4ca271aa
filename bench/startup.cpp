// The time `tavoe --batch` takes with an empty script: start, read (or on a first run write) the main
// profile, register in the shared block, lay out the window, end, write the profile and the position
// file, and leave the table. Each iteration runs the program beside this one as a new process, with
// an installation home of its own, and waits for it; the wall time of the whole run is what a script
// or a test pays per instance. Target: well under 30 ms.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ProgramBeside() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : (self.parent_path() / "tavoe").string();
}

// Runs the program with an empty script and returns its exit code (-1 when it could not run).
int RunEmptyBatch(const std::string& program, const std::string& home) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string programArg = program;
    std::string batch = "--batch";
    char* argv[] = {programArg.data(), batch.data(), nullptr};
    std::string homeVar = "HOME=" + home;
    std::string tavoeVar = "TAVOE35=" + home;
    char* envp[] = {homeVar.data(), tavoeVar.data(), nullptr};
    pid_t pid = 0;
    int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Home {
public:
    Home() {
        path_ = fs::temp_directory_path() / ("tavoe_bench_start_" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~Home() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    std::string Path() const { return path_.string(); }
    void ForgetProfile() {
        std::error_code error;
        fs::remove(path_ / "profiles" / "TAVOE.PRF", error);
    }

private:
    fs::path path_;
};

void Measure(benchmark::State& state, bool firstRun) {
    std::string program = ProgramBeside();
    if (program.empty() || !fs::exists(program)) {
        state.SkipWithError("the tavoe program is not built beside the benchmark");
        return;
    }
    Home home;
    if (RunEmptyBatch(program, home.Path()) != 0) {  // the profile now exists
        state.SkipWithError("tavoe --batch did not exit 0");
        return;
    }
    for (auto _ : state) {
        if (firstRun) {
            home.ForgetProfile();
        }
        auto start = std::chrono::steady_clock::now();
        int code = RunEmptyBatch(program, home.Path());
        auto end = std::chrono::steady_clock::now();
        if (code != 0) {
            state.SkipWithError("tavoe --batch did not exit 0");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void BM_BatchStartWithProfile(benchmark::State& state) {
    Measure(state, false);
}
void BM_BatchStartFirstRun(benchmark::State& state) {
    Measure(state, true);
}

BENCHMARK(BM_BatchStartWithProfile)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_BatchStartFirstRun)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
