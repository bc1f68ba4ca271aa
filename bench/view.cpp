// The edit view over a 1,000,000-record file of 80 columns:
//   - FirstScreenVirtual: with ZEDITVIRTUALLOAD "TRUE", opening the file and painting the first
//     screen (target: under 20 ms);
//   - FirstScreenProcess: the same as a user sees it: `tavoe --batch` started on the file as a new
//     process, up to its first printed screen (profile, shared block, window, open and paint);
//   - RepaintAfterTypedChar: one character typed into a line and the data window painted again, in a
//     24x80 and a 60x200 window (target: under 1 ms);
//   - DownMaxLoaded: DOWN MAX over the fully loaded file (target: under 5 ms).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/edit_session.h"
#include "ui/canvas.h"
#include "view/scroll.h"
#include "view/view_paint.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 1000000;

// The generated file, made once per run of the program and removed at its end.
class BigFile {
public:
    BigFile() {
        dir_ = fs::temp_directory_path() / ("tavoe_bench_view_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        path_ = (dir_ / "big.txt").string();
        std::ofstream out(path_, std::ios::binary);
        std::string line;
        for (int i = 1; i <= kRecords; ++i) {
            line = std::to_string(i);
            line.insert(0, 8 - std::min<size_t>(line.size(), 8), '0');
            line += "  MOVE WS-FIELD-A TO WS-FIELD-B OF WS-RECORD-AREA IN THE PROGRAM TEXT.";
            line.resize(80, ' ');
            out << line << '\n';
        }
    }
    ~BigFile() {
        std::error_code error;
        fs::remove_all(dir_, error);
    }
    const std::string& Path() const { return path_; }
    const fs::path& Dir() const { return dir_; }

private:
    fs::path dir_;
    std::string path_;
};

const BigFile& File() {
    static BigFile file;
    return file;
}

std::unique_ptr<EditSession> OpenSession(AppSession& app, bool virtualLoad) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", virtualLoad ? "TRUE" : "FALSE");
    VarSetValue(app, "ZSHOWLINENUM", "TRUE");
    auto session = std::make_unique<EditSession>(app);
    session->buffer.profile.maxRecordLength = 80;
    session->buffer.profile.tabsExpandOnRead = 0;
    if (OpenFile(session->buffer, File().Path(), OpenMode::Edit,
                 LoadQuiet::NoCapsScan | LoadQuiet::NoSummary) != 0) {
        return nullptr;
    }
    session->view.topLine = LineFirst(session->buffer);
    session->view.prefixWidth = 7;
    return session;
}

void FirstScreenVirtual(benchmark::State& state) {
    File();
    for (auto _ : state) {
        AppSession app;
        std::unique_ptr<EditSession> session = OpenSession(app, true);
        if (!session) {
            state.SkipWithError("the file did not open");
            return;
        }
        ui::Canvas canvas(17, 80);  // the data window of a 24x80 screen
        ui::Painter painter(canvas, canvas.Bounds());
        PaintEditRows(app, *session, painter);
        benchmark::DoNotOptimize(canvas.At(16, 79));
        state.PauseTiming();
        session.reset();  // closing is not part of the first screen
        state.ResumeTiming();
    }
}
BENCHMARK(FirstScreenVirtual)->Unit(benchmark::kMillisecond);

std::string ProgramBeside() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : (self.parent_path() / "tavoe").string();
}

// Starts `tavoe --batch FILE` with the script and returns the seconds until its first screen dump
// has been printed (the "--- end ---" line read from its output); the process is then waited for,
// outside the time. A negative result when it could not run or printed no screen.
double SecondsToFirstScreen(const std::string& program, const std::string& home, const std::string& script) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, script.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    std::string programArg = program;
    std::string batch = "--batch";
    std::string file = File().Path();
    char* argv[] = {programArg.data(), batch.data(), file.data(), nullptr};
    std::string homeVar = "HOME=" + home;
    std::string tavoeVar = "TAVOE35=" + home;
    char* envp[] = {homeVar.data(), tavoeVar.data(), nullptr};
    auto started = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    double seconds = -1;
    if (spawned == 0) {
        std::string output;
        char chunk[4096];
        ssize_t n = 0;
        while ((n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0) {
            output.append(chunk, static_cast<size_t>(n));
            if (output.find("--- end ---\n") != std::string::npos) {
                seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
                break;
            }
        }
        while (::read(pipeFds[0], chunk, sizeof chunk) > 0) {
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            seconds = -1;
        }
    }
    ::close(pipeFds[0]);
    return seconds;
}

void FirstScreenProcess(benchmark::State& state) {
    std::string program = ProgramBeside();
    if (program.empty() || !fs::exists(program)) {
        state.SkipWithError("the tavoe program is not built beside the benchmark");
        return;
    }
    fs::path home = File().Dir() / "home";
    fs::create_directories(home);
    std::string script = (File().Dir() / "script").string();
    std::ofstream(script) << "!screen\n";
    // The first run writes the main profile (ZEDITVIRTUALLOAD is "TRUE" by default); the timed runs
    // read it as a user's start does.
    SecondsToFirstScreen(program, home.string(), script);
    for (auto _ : state) {
        double seconds = SecondsToFirstScreen(program, home.string(), script);
        if (seconds < 0) {
            state.SkipWithError("tavoe --batch printed no screen or did not exit 0");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(FirstScreenProcess)->Unit(benchmark::kMillisecond)->UseManualTime();

void RepaintAfterTypedChar(benchmark::State& state) {
    AppSession app;
    std::unique_ptr<EditSession> session = OpenSession(app, true);
    if (!session) {
        state.SkipWithError("the file did not open");
        return;
    }
    int rows = static_cast<int>(state.range(0));
    int cols = static_cast<int>(state.range(1));
    ui::Canvas canvas(rows, cols);
    ui::Painter painter(canvas, canvas.Bounds());
    PaintEditRows(app, *session, painter);
    LineRecord* line = session->view.rowTable[static_cast<size_t>(rows / 2)];
    char ch = 'a';
    for (auto _ : state) {
        (void)LineReplaceText(session->buffer, *line, 10, 1, std::string_view(&ch, 1));
        ch = ch == 'z' ? 'a' : static_cast<char>(ch + 1);
        PaintEditRows(app, *session, painter);
        canvas.TakeChanges();
    }
}
BENCHMARK(RepaintAfterTypedChar)->Args({17, 80})->Args({60, 200})->Unit(benchmark::kMicrosecond);

void DownMaxLoaded(benchmark::State& state) {
    AppSession app;
    std::unique_ptr<EditSession> session = OpenSession(app, false);
    if (!session || !session->buffer.file.loadComplete) {
        state.SkipWithError("the file did not load");
        return;
    }
    ViewGeometry geometry{17, 80};
    for (auto _ : state) {
        session->view.topLine = LineFirst(session->buffer);
        (void)Scroll(app, *session, ScrollDirection::Down, "MAX", geometry);
        benchmark::DoNotOptimize(session->view.topLine);
    }
    if (session->view.topLine->recordNumber != kRecords - 15) {
        state.SkipWithError("DOWN MAX did not reach the last page");
    }
}
BENCHMARK(DownMaxLoaded)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
