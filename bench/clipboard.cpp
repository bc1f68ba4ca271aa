// Clipboard speed: COPY of all 1,000,000 lines of a loaded file to the clipboard (its file in memory,
// as under the user's runtime directory), and PASTE of that
// text into an empty file, next to `cp` copying the same file in the same run. The copy builds the
// clipboard text and writes the clipboard file (temporary file and rename); the paste reads it back
// and makes a line of each clipboard line, journaled for UNDO as a user's paste is. The counters
// report each as a ratio to cp, of wall time (x_cp) and of CPU time (cpu_x_cp, cp's own CPU time
// as its child; the wall time swings with the load of a shared machine).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
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
#include "cp_yardstick.h"
#include "editing/clipboard_commands.h"
#include "editing/cursor.h"
#include "editing/edit_session.h"
#include "editing/selection.h"
#include "editing/session_clipboard.h"
#include "view/view_commands.h"

using namespace tavoe;

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

double cpSeconds = 0;
double cpCpuSeconds = 0;

// Where the clipboard file goes: in memory (tmpfs), as the user's runtime directory is, when the
// machine has /dev/shm; else beside the source file.
std::string ClipboardDirectoryForBench() {
    static std::string directory = [] {
        std::string place = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/tavoe_clip_bench_XXXXXX"
                                                                      : WorkDirectory() + "clip_XXXXXX";
        return std::string(::mkdtemp(place.data()));
    }();
    return directory;
}

// An instance whose clipboard lives in ClipboardDirectoryForBench, without desktop programs.
struct Instance {
    Instance() {
        InstallEditView(app);
        app.hasCurrentEditSession = true;
        app.clipboard = std::make_unique<Clipboard>(ClipboardDirectoryForBench(), nullptr);
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
    CpRun mean = MeanCp(state, source, copy);
    cpSeconds = mean.seconds;
    cpCpuSeconds = mean.cpuSeconds;
    state.counters["cpu_ms"] = cpCpuSeconds * 1000;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(source)));
}

void Ratio(benchmark::State& state, double total, double cpu) {
    double runs = static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    if (cpSeconds > 0) {
        state.counters["x_cp"] = total / runs / cpSeconds;
    }
    state.counters["cpu_ms"] = cpu / runs * 1000;
    if (cpCpuSeconds > 0) {
        state.counters["cpu_x_cp"] = cpu / runs / cpCpuSeconds;
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
    double cpu = 0;
    for (auto _ : state) {
        double cpuBefore = CpuSeconds(RUSAGE_SELF);
        auto start = std::chrono::steady_clock::now();
        int result = CopySelection(instance.app, *session);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += CpuSeconds(RUSAGE_SELF) - cpuBefore;
        if (result != 0) {
            state.SkipWithError("copy failed");
            break;
        }
    }
    Ratio(state, total, cpu);
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
    double cpu = 0;
    for (auto _ : state) {
        std::unique_ptr<EditSession> session = instance.Open(empty);
        session->view.cursorRow = 1;  // on the bottom marker
        double cpuBefore = CpuSeconds(RUSAGE_SELF);
        auto start = std::chrono::steady_clock::now();
        int result = Paste(instance.app, *session, PasteAs::Data);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += CpuSeconds(RUSAGE_SELF) - cpuBefore;
        if (result != 0 || LineCount(session->buffer) != kRecords + 2) {
            state.SkipWithError("paste failed");
            break;
        }
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    Ratio(state, total, cpu);
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
    std::filesystem::remove_all(ClipboardDirectoryForBench());
    std::filesystem::remove_all(WorkDirectory());
    return 0;
}
