// Colorizing speed over a generated 1,000,000-line COBOL member (fixed 80-column records, the
// shipped CBL profile and COBOL colorization):
//   - RecolorVsLoad: the full load of the file and RECOLOR of every line, timed in the same run; the
//     counters give their ratio (target: RECOLOR at most 3 times the load);
//   - FirstScreenVirtualColored: opening the file with ZEDITVIRTUALLOAD "TRUE" and painting the first
//     coloured screen (target: under 20 ms);
//   - RepaintAfterTypedCharColored: one character typed into a line of a C file whose first line
//     opens a block comment that never ends, and the window painted again (target: under 1 ms);
//   - ColorizeLines: the colorizer alone over the lines of the member.
// Run with --ratio for one plain timed run of the load and RECOLOR.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "profiles/colorization_io.h"
#include "profiles/file_profile_io.h"
#include "shell/edit_session.h"
#include "ui/canvas.h"
#include "view/line_colors.h"
#include "view/view_colors.h"
#include "view/view_paint.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 1000000;

// Statements of a payroll program, repeated with varying names, so the member reads like COBOL.
constexpr const char* kStatements[] = {
    "       IDENTIFICATION DIVISION.",
    "       PROGRAM-ID. PAYCALC.",
    "      * Computes the gross and net pay of each employee of a run.",
    "       DATA DIVISION.",
    "       WORKING-STORAGE SECTION.",
    "       01  WS-EMPLOYEE-%d.",
    "           05  WS-NAME-%d           PIC X(30) VALUE SPACES.",
    "           05  WS-RATE-%d           PIC S9(5)V99 COMP-3 VALUE ZERO.",
    "           05  WS-STATUS-%d         PIC X VALUE 'A'.",
    "               88  WS-ACTIVE-%d     VALUE 'A'.",
    "       PROCEDURE DIVISION.",
    "       PARA-%d.",
    "           MOVE WS-RATE-%d TO WS-GROSS-PAY",
    "           COMPUTE WS-NET-PAY = WS-GROSS-PAY - WS-TAX-%d",
    "           IF WS-ACTIVE-%d AND WS-NET-PAY > ZERO",
    "              PERFORM WRITE-LINE THRU WRITE-LINE-EXIT",
    "           ELSE",
    "              DISPLAY 'EMPLOYEE ' WS-NAME-%d ' SKIPPED'",
    "           END-IF",
    "           ADD 1 TO WS-COUNT-%d.  *> one more employee",
    "           READ EMP-FILE AT END SET WS-EOF TO TRUE END-READ.",
};

fs::path ProgramDir() {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
}

class CobolFile {
public:
    CobolFile() {
        dir_ = fs::temp_directory_path() / ("tavoe_bench_color_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        path_ = (dir_ / "big.cbl").string();
        std::ofstream out(path_, std::ios::binary);
        std::string chunk;
        char record[128];
        for (int i = 0; i < kRecords; ++i) {
            std::snprintf(record, sizeof record, kStatements[static_cast<size_t>(i) % std::size(kStatements)],
                          i % 997);
            std::string line(record);
            line.resize(80, ' ');
            std::memcpy(line.data(), std::to_string(100000 + i % 900000).c_str(), 6);
            chunk += line;
            if (chunk.size() > (1u << 20)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
        cPath_ = (dir_ / "endless.c").string();
        std::ofstream c(cPath_, std::ios::binary);
        c << "int a; /* a comment that never ends\n";
        for (int i = 0; i < 200000; ++i) {
            c << "    if (x" << i << " > 0) return \"s\"; // line " << i << "\n";
        }
    }
    ~CobolFile() {
        std::error_code error;
        fs::remove_all(dir_, error);
    }
    const std::string& Path() const { return path_; }
    const std::string& CPath() const { return cPath_; }

private:
    fs::path dir_;
    std::string path_;
    std::string cPath_;
};

const CobolFile& File() {
    static CobolFile file;
    return file;
}

// An instance whose profiles and colorizations are the shipped ones (the build tree's copy).
void UseShippedProfiles(AppSession& app, bool virtualLoad) {
    std::string profiles = (ProgramDir().parent_path() / "profiles").string();
    VarSetValue(app, "ZPATH.FILEPROFILES", profiles);
    VarSetValue(app, "ZPATH.COLORIZATION", profiles);
    VarSetValue(app, "ZEDITVIRTUALLOAD", virtualLoad ? "TRUE" : "FALSE");
}

std::unique_ptr<EditSession> Open(AppSession& app, const std::string& path, const char* profile,
                                  bool virtualLoad) {
    UseShippedProfiles(app, virtualLoad);
    auto session = std::make_unique<EditSession>(app);
    if (ReadFileProfile(app, profile, session->buffer.profile) != 0 || !session->buffer.profile.colorizer) {
        return nullptr;
    }
    session->buffer.colorizer = &LineColorUpkeep();
    if (OpenFile(session->buffer, path, virtualLoad ? OpenMode::Edit : OpenMode::Browse,
                 LoadQuiet::NoCapsScan | LoadQuiet::NoSummary) != 0) {
        return nullptr;
    }
    session->view.topLine = LineFirst(session->buffer);
    session->view.prefixWidth = 7;
    return session;
}

std::uint8_t Base(AppSession& app) {
    ui::ColorPair pair = ElementColors(app, ColorElement::Edit);
    return ColorAttribute(pair.fg, pair.bg);
}

// Paints the data window; the view colours the lines it shows.
void PaintColored(AppSession& app, EditSession& session, ui::Painter& painter) {
    PaintEditRows(app, session, painter);
}

struct RatioRun {
    double load = 0;
    double recolor = 0;
};

RatioRun TimeLoadAndRecolor() {
    RatioRun run;
    AppSession app;
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<EditSession> session = Open(app, File().Path(), "CBL", false);
    run.load = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!session || !session->buffer.file.loadComplete) {
        return {};
    }
    start = std::chrono::steady_clock::now();
    RecolorAll(app, session->buffer, Base(app));
    run.recolor = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

void RecolorVsLoad(benchmark::State& state) {
    File();
    double load = 0;
    double recolor = 0;
    for (auto _ : state) {
        RatioRun run = TimeLoadAndRecolor();
        if (run.load == 0) {
            state.SkipWithError("the member did not load with its profile");
            return;
        }
        load += run.load;
        recolor += run.recolor;
        state.SetIterationTime(run.recolor);
    }
    state.counters["load_ms"] = load * 1e3 / static_cast<double>(state.iterations());
    state.counters["recolor_ms"] = recolor * 1e3 / static_cast<double>(state.iterations());
    state.counters["recolor_per_load"] = recolor / load;
}
BENCHMARK(RecolorVsLoad)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void FirstScreenVirtualColored(benchmark::State& state) {
    File();
    for (auto _ : state) {
        AppSession app;
        std::unique_ptr<EditSession> session = Open(app, File().Path(), "CBL", true);
        if (!session) {
            state.SkipWithError("the member did not open");
            return;
        }
        ui::Canvas canvas(17, 80);
        ui::Painter painter(canvas, canvas.Bounds());
        PaintColored(app, *session, painter);
        benchmark::DoNotOptimize(canvas.At(16, 79));
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(FirstScreenVirtualColored)->Unit(benchmark::kMillisecond);

void RepaintAfterTypedCharColored(benchmark::State& state) {
    AppSession app;
    std::unique_ptr<EditSession> session = Open(app, File().CPath(), "C", false);
    if (!session) {
        state.SkipWithError("the C file did not open");
        return;
    }
    ui::Canvas canvas(17, 80);
    ui::Painter painter(canvas, canvas.Bounds());
    PaintColored(app, *session, painter);
    LineRecord* line = session->view.rowTable[8];
    char ch = 'a';
    for (auto _ : state) {
        (void)LineReplaceText(session->buffer, *line, 10, 1, std::string_view(&ch, 1));
        ch = ch == 'z' ? 'a' : static_cast<char>(ch + 1);
        PaintColored(app, *session, painter);
        canvas.TakeChanges();
    }
}
BENCHMARK(RepaintAfterTypedCharColored)->Unit(benchmark::kMicrosecond);

void ColorizeLines(benchmark::State& state) {
    AppSession app;
    UseShippedProfiles(app, false);
    std::shared_ptr<Colorizer> c = LoadColorizer(app, "COBOL");
    if (!c) {
        state.SkipWithError("no COBOL colorization");
        return;
    }
    std::vector<std::string> lines;
    for (const char* s : kStatements) {
        std::string line = std::string("000100") + s;
        line.resize(80, ' ');
        lines.push_back(line);
    }
    std::vector<std::uint8_t> attributes(80);
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& line : lines) {
            ColorizeText(*c, line, ColorLineState::Normal, 0x03, attributes.data(), 80);
            bytes += 80;
        }
        benchmark::DoNotOptimize(attributes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(ColorizeLines);

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--ratio") == 0) {
        RatioRun run = TimeLoadAndRecolor();
        if (run.load == 0) {
            std::fprintf(stderr, "the member did not load with its profile\n");
            return 1;
        }
        std::printf("1,000,000-line COBOL member: load %.3f s, RECOLOR %.3f s, RECOLOR / load = %.2f\n",
                    run.load, run.recolor, run.recolor / run.load);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
