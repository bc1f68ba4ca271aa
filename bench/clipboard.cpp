// Clipboard speed: COPY of all 1,000,000 lines of a loaded file to the clipboard, and PASTE of that
// text into an empty file, next to `cp` copying the same file in the same run. The copy builds the
// clipboard text and writes the clipboard file (temporary file and rename); the paste reads it back
// and makes a line of each clipboard line, journaled for UNDO as a user's paste is. The counters
// report each as a ratio to cp (x_cp).

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "editing/clipboard_commands.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/selection.h"
#include "editing/session_clipboard.h"
#include "view/view_commands.h"

using namespace tavoe;

extern char** environ;

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kColumns = 56;  // the whole file stays within the clipboard's 64,000,000 bytes

std::string WorkDirectory() {
    static std::string directory = [] {
        std::string base = (std::filesystem::temp_directory_path() / "tavoe_clip_bench_XXXXXX").string();
        return std::string(::mkdtemp(base.data())) + "/";
    }();
    return directory;
}

// 56 columns of source-like text, varying per record, LF after each.
std::string SourceFile() {
    std::string path = WorkDirectory() + "source.txt";
    if (std::filesystem::exists(path)) {
        return path;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    char record[kColumns + 1];
    for (int i = 0; i < kRecords; ++i) {
        std::snprintf(record, sizeof record, "%08d MOVE WS-%05d TO TOTAL-%03d PERFORM STEP-%07d", i,
                      i % 99991, i % 997, i);
        chunk.append(record, kColumns);
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    out.close();
    ::sync();
    return path;
}

bool RunCp(const std::string& from, const std::string& to) {
    const char* argv[] = {"cp", from.c_str(), to.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) {
        return false;
    }
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double cpSeconds = 0;

// An instance whose clipboard lives in the work directory, without desktop programs.
struct Instance {
    Instance() {
        InstallEditView(app);
        app.hasCurrentEditSession = true;
        std::filesystem::create_directories(WorkDirectory() + "clip");
        app.clipboard = std::make_unique<Clipboard>(WorkDirectory() + "clip", nullptr);
    }
    std::unique_ptr<EditSession> Open(const std::string& path) {
        auto session = std::make_unique<EditSession>(app);
        session->buffer.profile = BuiltInFileProfile("BENCH");
        session->buffer.profile.tabsExpandOnRead = 0;
        session->buffer.profile.maxRecordLength = 80;
        if (OpenFile(session->buffer, path, OpenMode::Edit) != 0 || FinishLoad(session->buffer) != 0) {
            return nullptr;
        }
        session->view.prefixWidth = 7;
        session->view.dataRows = 20;
        session->view.dataColumns = 80;
        session->view.topLine = LineFirst(session->buffer);
        RefreshRowTable(app, *session);
        return session;
    }
    AppSession app;
};

void BM_Cp(benchmark::State& state) {
    std::string source = SourceFile();
    std::string copy = WorkDirectory() + "copy.txt";
    double total = 0;
    for (auto _ : state) {
        std::filesystem::remove(copy);
        auto start = std::chrono::steady_clock::now();
        bool ok = RunCp(source, copy);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("cp failed");
            break;
        }
    }
    std::filesystem::remove(copy);
    cpSeconds = total / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(source)));
}

void Ratio(benchmark::State& state, double total) {
    double seconds = total / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    if (cpSeconds > 0) {
        state.counters["x_cp"] = seconds / cpSeconds;
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(SourceFile())));
}

void BM_Copy(benchmark::State& state) {
    Instance instance;
    std::unique_ptr<EditSession> session = instance.Open(SourceFile());
    if (!session) {
        state.SkipWithError("load failed");
        return;
    }
    SelectLines(*session, *FirstDataLine(session->buffer), *LastDataLine(session->buffer));
    double total = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        int result = CopySelection(instance.app, *session);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result != 0) {
            state.SkipWithError("copy failed");
            break;
        }
    }
    Ratio(state, total);
}

void BM_Paste(benchmark::State& state) {
    Instance instance;
    std::string empty = WorkDirectory() + "empty.txt";
    std::ofstream(empty).close();
    {
        std::unique_ptr<EditSession> source = instance.Open(SourceFile());
        if (source) {
            SelectLines(*source, *FirstDataLine(source->buffer), *LastDataLine(source->buffer));
        }
        if (!source || CopySelection(instance.app, *source) != 0) {
            state.SkipWithError("copy failed");
            return;
        }
    }
    double total = 0;
    for (auto _ : state) {
        std::unique_ptr<EditSession> session = instance.Open(empty);
        session->view.cursorRow = 1;  // on the bottom marker
        auto start = std::chrono::steady_clock::now();
        int result = Paste(instance.app, *session, PasteAs::Data);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result != 0 || LineCount(session->buffer) != kRecords + 2) {
            state.SkipWithError("paste failed");
            break;
        }
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    Ratio(state, total);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("BM_Cp", BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
    benchmark::RegisterBenchmark("BM_Copy", BM_Copy)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_Paste", BM_Paste)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(WorkDirectory());
    return 0;
}
