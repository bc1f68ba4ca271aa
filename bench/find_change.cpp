// Search speed. Run without arguments it is a benchmark program over a generated file; with
// arguments it is the timed program that bench/run_find.sh drives:
//   bench_find_change --generate FILE RECORDS   writes COBOL-like 80-column text, one record a line
//   bench_find_change --timed FILE WORD OTHER    loads FILE, then times FIND WORD ALL, EXCLUDE WORD ALL,
//                                                FLIP, CHANGE WORD OTHER ALL and its UNDO, in-process

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "commands/find_commands.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/undo_step.h"
#include "shell/instance_ports.h"

using namespace tavoe;

namespace {

// COBOL-like lines: a sequence number, a statement from a small set with varying names, padded to 80
// columns. "TOTAL" stands once in every line; "MOVE" in about a third of them.
int Generate(const std::string& path, std::uint64_t records) {
    static const char* kStatements[] = {
        "MOVE WS-AMOUNT-%05llu TO CUSTOMER-TOTAL-%03llu.",
        "ADD INVOICE-LINE-%04llu TO RUNNING-TOTAL-%03llu.",
        "IF ACCOUNT-BALANCE-%04llu > LIMIT-TOTAL-%03llu",
        "    PERFORM PRINT-TOTAL-%04llu THRU EXIT-%03llu",
        "COMPUTE NET-PAY = GROSS-PAY - TOTAL-DEDUCT-%04llu * %03llu.",
        "DISPLAY 'Subtotal for region ' REGION-%04llu TOTAL-%03llu",
    };
    std::ofstream out(path, std::ios::binary);
    char line[128];
    for (std::uint64_t i = 0; i < records; ++i) {
        char statement[96];
        unsigned long long a = (i * 7919) % 100000;
        unsigned long long b = i % 1000;
        std::snprintf(statement, sizeof statement, kStatements[(i * 31 + i / 7) % 6], a, b);
        int n = std::snprintf(line, sizeof line, "%06llu     %-63.63s%-6s",
                              static_cast<unsigned long long>(i % 1000000), statement, "PROG01");
        out.write(line, n);
        out.put('\n');
    }
    return out ? 0 : 1;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Wall and CPU time of one call.
void Time(const char* label, const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    double cpu = CpuSeconds();
    work();
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("  %-28s wall %7.3f s  cpu %7.3f s\n", label, wall, CpuSeconds() - cpu);
}

std::unique_ptr<AppSession> NewInstance() {
    auto app = std::make_unique<AppSession>();
    ConnectInstance(*app);
    return app;
}

int Timed(const std::string& path, const std::string& word, const std::string& other) {
    auto app = NewInstance();
    app->editSessions.emplace_back(new EditSession(*app));
    EditSession& session = *app->editSessions.front();
    session.buffer.profile.maxRecordLength = 255;
    session.buffer.profile.boundsLeft = 1;
    session.buffer.profile.boundsRight = 255;
    app->hasCurrentEditSession = true;
    int status = 0;
    Time("load", [&] {
        status = OpenFile(session.buffer, std::filesystem::absolute(path).string(), OpenMode::Edit,
                          LoadQuiet::NoSummary | LoadQuiet::NoCapsScan);
        if (status == 0) {
            status = FinishLoad(session.buffer);
        }
    });
    if (status != 0) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    Time(("FIND " + word + " ALL").c_str(), [&] { FindCommand(*app, session, word + " ALL"); });
    std::printf("    -> %lld occurrences in %lld lines\n", static_cast<long long>(session.find.stringCount),
                static_cast<long long>(session.find.lineCount));
    Time(("EXCLUDE " + word + " ALL").c_str(), [&] { ExcludeCommand(*app, session, word + " ALL"); });
    Time("FLIP", [&] { FlipCommand(*app, session, ""); });
    Time("FLIP back", [&] { FlipCommand(*app, session, ""); });
    Time(("CHANGE " + word + " " + other + " ALL").c_str(),
         [&] { ChangeCommand(*app, session, word + " " + other + " ALL"); });
    std::printf("    -> %lld occurrences in %lld lines\n", static_cast<long long>(session.find.stringCount),
                static_cast<long long>(session.find.lineCount));
    Time("UNDO of the CHANGE", [&] { (void)UndoStep(*app, &session); });
    return 0;
}

// ---- Google Benchmark cases over a smaller generated file ----

std::string BenchFile() {
    std::string path =
        (std::filesystem::temp_directory_path() / ("tavoe_bench_find_" + std::to_string(::getpid())))
            .string();
    if (!std::filesystem::exists(path)) {
        Generate(path, 100000);
    }
    return path;
}

void BM_FindAll(benchmark::State& state) {
    auto app = NewInstance();
    app->editSessions.emplace_back(new EditSession(*app));
    EditSession& session = *app->editSessions.front();
    if (OpenFile(session.buffer, BenchFile(), OpenMode::Browse,
                 LoadQuiet::NoSummary | LoadQuiet::NoCapsScan) != 0) {
        state.SkipWithError("load failed");
        return;
    }
    for (auto _ : state) {
        FindCommand(*app, session, "move all quiet");
        benchmark::DoNotOptimize(session.find.stringCount);
    }
}
BENCHMARK(BM_FindAll)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--generate") == 0) {
        return Generate(argv[2], std::stoull(argv[3]));
    }
    if (argc >= 5 && std::strcmp(argv[1], "--timed") == 0) {
        return Timed(argv[2], argv[3], argv[4]);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove(BenchFile());
    return 0;
}
