// Macro language speed. Run without arguments it is a benchmark program; with --ratio it measures,
// in one run, the figures the macro language is held to:
//   - a macro counting to 1,000,000 (`i = i + 1;` and a comparison per pass) against python3 running
//     the same loop with the value kept as a string (`i = str(int(i) + 1)` and the comparison);
//   - compiling a 5,000-line macro against loading a 5,000-line file into an edit buffer.
// Each side is timed as the whole operation a user waits for. Compiling: reading the macro source
// from disk, splitting it into records, lexing and compiling to p-code (MacroBuild). Loading: making
// the edit buffer and reading the file into its line records (EditBuffer and OpenFile in BROWSE).
// The file loaded is the macro source itself (the same bytes the compile reads) and, for reference,
// a program file of the same line count with 80-column records.

#include <benchmark/benchmark.h>
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
#include "core/var_store.h"
#include "macro/macro_engine.h"
#include "macro/macro_program.h"

using namespace tavoe;

namespace {

namespace fs = std::filesystem;

constexpr int kLoopCount = 1000000;
constexpr int kSourceLines = 5000;

fs::path Scratch() {
    static fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("tavoe_bench_macro_" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::string WriteFile(const std::string& name, const std::string& text) {
    fs::path path = Scratch() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

MacroLaunch Request(const std::string& name, const std::string& path) {
    MacroLaunch request;
    request.name = name;
    request.sourcePath = path;
    request.workingDirectory = Scratch().string();
    return request;
}

std::string LoopSource() {
    return "int i;\nvoid main(void)\n{\n    i = 0;\n    while (i < " + std::to_string(kLoopCount) +
           ") {\n        i = i + 1;\n    }\n}\n";
}

// A macro of 5,000 lines in the shapes real macros have: declarations, assignments with arithmetic,
// conditions, loops, switches and calls of runtime and user functions.
std::string LargeSource() {
    std::string text = "int total;\nchar *name;\n";
    int lines = 2;
    int function = 0;
    while (lines < kSourceLines - 12) {
        text += "int f" + std::to_string(function++) + "(int n)\n{\n    int k;\n    char *s;\n";
        lines += 4;
        for (int i = 0; i < 40 && lines < kSourceLines - 8; ++i, lines += 4) {
            text += "    k = n * " + std::to_string(i + 1) + " + (total - 3) % 7;\n";
            text += "    if (k > " + std::to_string(i) + " && n != 0) { total = total + k; }\n";
            text += "    s = strcompose(\"v\", k, name);\n";
            text += "    while (k > 100) { k = k / 2; }\n";
        }
        text += "    return(k);\n}\n";
        lines += 2;
    }
    text += "void main(void)\n{\n    total = f0(3);\n}\n";
    return text;
}

std::string LargeFile() {
    std::string text;
    for (int i = 0; i < kSourceLines; ++i) {
        char line[96];
        std::snprintf(line, sizeof line,
                      "%06d     MOVE WS-TOTAL TO WS-COUNT.  ADD 1 TO WS-INDEX GIVING WS-NEXT%9s\n", i + 1,
                      "");
        text += line;
    }
    return text;
}

double RunMacroLoop(const std::string& path) {
    AppSession app;
    MacroEngine engine;
    auto start = std::chrono::steady_clock::now();
    int rc = MacroStart(app, engine, Request("loop", path));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (rc != 0) {
        std::fprintf(stderr, "macro loop failed\n");
    }
    return seconds;
}

// The python loop times itself, so the interpreter's start-up is not counted against it.
double RunPythonLoop() {
    std::string script =
        "import time\n"
        "t = time.perf_counter()\n"
        "i = '0'\n"
        "while int(i) < " +
        std::to_string(kLoopCount) +
        ":\n"
        "    i = str(int(i) + 1)\n"
        "print(time.perf_counter() - t)\n";
    std::string path = WriteFile("loop.py", script);
    std::FILE* pipe = ::popen(("python3 " + path + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    double seconds = -1;
    if (std::fscanf(pipe, "%lf", &seconds) != 1) {
        seconds = -1;
    }
    ::pclose(pipe);
    return seconds;
}

double CompileSeconds(const std::string& path) {
    AppSession app;
    auto start = std::chrono::steady_clock::now();
    auto macro = MacroBuild(app, Request("large", path));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (macro->error) {
        std::fprintf(stderr, "large macro did not compile\n");
    }
    return seconds;
}

double LoadSeconds(const std::string& path) {
    AppSession app;
    auto start = std::chrono::steady_clock::now();
    auto buffer = std::make_unique<EditBuffer>(app);
    int status = OpenFile(*buffer, path, OpenMode::Browse, LoadQuiet::NoSummary | LoadQuiet::NoCapsScan);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
        std::fprintf(stderr, "load failed\n");
    }
    return seconds;
}

template <typename F>
double Best(int runs, F f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        best = std::min(best, f());
    }
    return best;
}

int Ratio() {
    std::string loop = WriteFile("LOOP.C", LoopSource());
    std::string large = WriteFile("LARGE.C", LargeSource());
    std::string file = WriteFile("large.txt", LargeFile());
    double macro = Best(3, [&] { return RunMacroLoop(loop); });
    double python = Best(3, RunPythonLoop);
    std::printf("counting loop, %d passes: macro %.3f s, python3 (string value) %.3f s, ratio %.2f\n",
                kLoopCount, macro, python, python > 0 ? macro / python : 0.0);
    double compile = Best(5, [&] { return CompileSeconds(large); });
    double load = Best(5, [&] { return LoadSeconds(large); });
    double loadWide = Best(5, [&] { return LoadSeconds(file); });
    std::printf("%d lines: compile %.2f ms, load of the same text %.2f ms, ratio %.2f\n", kSourceLines,
                compile * 1e3, load * 1e3, compile / load);
    std::printf("%d lines: load of an 80-column file %.2f ms, ratio %.2f\n", kSourceLines, loadWide * 1e3,
                compile / loadWide);
    fs::remove_all(Scratch());
    return macro <= python && compile <= load ? 0 : 1;
}

void BM_MacroCountingLoop(benchmark::State& state) {
    std::string path = WriteFile("LOOP.C", LoopSource());
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunMacroLoop(path));
    }
}
BENCHMARK(BM_MacroCountingLoop)->Unit(benchmark::kMillisecond);

void BM_MacroCompile5000Lines(benchmark::State& state) {
    std::string path = WriteFile("LARGE.C", LargeSource());
    for (auto _ : state) {
        benchmark::DoNotOptimize(CompileSeconds(path));
    }
}
BENCHMARK(BM_MacroCompile5000Lines)->Unit(benchmark::kMillisecond);

void BM_FileLoad5000Lines(benchmark::State& state) {
    std::string path = WriteFile("large.txt", LargeFile());
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadSeconds(path));
    }
}
BENCHMARK(BM_FileLoad5000Lines)->Unit(benchmark::kMillisecond);

void BM_FileLoadMacroText(benchmark::State& state) {
    std::string path = WriteFile("LARGE.C", LargeSource());
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadSeconds(path));
    }
}
BENCHMARK(BM_FileLoadMacroText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--ratio") == 0) {
        return Ratio();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(Scratch());
    return 0;
}
