// Loading speed. Run without arguments it is a benchmark program over generated files; with
// arguments it is the timed loader that bench/run_timed.sh drives:
//   bench_file_load --generate lf|crlf|fixed|ebcdic|tabs FILE RECORDS   writes an 80-column test file
//   bench_file_load --timed lf|crlf|fixed|ebcdic|tabs FILE              loads it once, prints time and peak
//   RSS bench_file_load --first-batch lf|crlf|fixed|ebcdic|tabs FILE        times the first batch of a
//   virtual load

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
#include <string_view>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "core/storage_host.h"
#include "core/var_store.h"

using namespace tavoe;

namespace {

// Tabs: LF records that start with a TAB, loaded with TAB expansion, so every record keeps its disk
// bytes aside (the most a load ever keeps).
enum class Kind { Lf, CrLf, Fixed, Ebcdic, Tabs };

bool ParseKind(std::string_view text, Kind& kind) {
    if (text == "lf") {
        kind = Kind::Lf;
    } else if (text == "crlf") {
        kind = Kind::CrLf;
    } else if (text == "fixed") {
        kind = Kind::Fixed;
    } else if (text == "ebcdic") {
        kind = Kind::Ebcdic;
    } else if (text == "tabs") {
        kind = Kind::Tabs;
    } else {
        return false;
    }
    return true;
}

// 80 columns of source-like text: a sequence number, words and blanks, varying per record.
void MakeRecord(std::uint64_t index, char* out) {
    static constexpr std::string_view kWords[] = {"MOVE ",    "ADD ",     "TO ",      "WS-TOTAL ",
                                                  "PERFORM ", "UNTIL ",   "DISPLAY ", "IF ",
                                                  "ELSE ",    "COMPUTE ", "= ",       "+ "};
    std::snprintf(out, 9, "%08llu", static_cast<unsigned long long>(index % 100000000));
    std::size_t at = 8;
    std::uint64_t state = index * 2654435761u + 1;
    while (at < 80) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        std::string_view word = kWords[(state >> 33) % std::size(kWords)];
        std::size_t take = std::min(word.size(), 80 - at);
        std::memcpy(out + at, word.data(), take);
        at += take;
    }
}

int Generate(Kind kind, const std::string& path, std::uint64_t records) {
    AppSession app;
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    char record[81];
    for (std::uint64_t i = 0; i < records; ++i) {
        MakeRecord(i, record);
        if (kind == Kind::Ebcdic) {
            TranslateIsoToEbcdic(Storage(app), record, record, 80);
        }
        if (kind == Kind::Tabs) {
            record[0] = '\t';
        }
        chunk.append(record, 80);
        if (kind == Kind::Lf || kind == Kind::Tabs) {
            chunk += '\n';
        } else if (kind == Kind::CrLf) {
            chunk += "\r\n";
        }
        if (chunk.size() > (1u << 20)) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    return out.good() ? 0 : 1;
}

void SetProfile(FileProfile& profile, Kind kind) {
    profile.tabsExpandOnRead = 0;
    profile.maxRecordLength = 80;
    profile.boundsRight = 80;
    if (kind == Kind::Fixed || kind == Kind::Ebcdic) {
        profile.recordFormat = Recfm::Fixed;
    }
    if (kind == Kind::Tabs) {
        profile.tabsExpandOnRead = 8;
        profile.maxRecordLength = 255;
        profile.boundsRight = 255;
    }
    if (kind == Kind::Ebcdic) {
        profile.diskCharset = ProfileCharset::Ebcdic;
        profile.displayCharset = ProfileCharset::AsciiIso8859;
    }
}

long PeakRssKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int TimedLoad(Kind kind, const std::string& path, bool firstBatchOnly) {
    AppSession app;
    if (firstBatchOnly) {
        VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    }
    const long baseRss = PeakRssKilobytes();
    auto buffer = std::make_unique<EditBuffer>(app);
    SetProfile(buffer->profile, kind);
    auto start = std::chrono::steady_clock::now();
    double cpuStart = CpuSeconds();
    // A virtual load happens only for EDIT; a full load is timed as BROWSE.
    int status = OpenFile(*buffer, std::filesystem::absolute(path).string(),
                          firstBatchOnly ? OpenMode::Edit : OpenMode::Browse,
                          LoadQuiet::NoSummary | LoadQuiet::NoCapsScan);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cpu = CpuSeconds() - cpuStart;
    if (status != 0) {
        std::fprintf(stderr, "load failed\n");
        return 1;
    }
    double bytes = static_cast<double>(std::filesystem::file_size(path));
    std::uint32_t lines = LineCount(*buffer);
    if (firstBatchOnly) {
        std::printf("  first batch of a virtual load: %.3f ms (%u lines, complete: %s)\n", seconds * 1e3,
                    lines, buffer->file.loadComplete ? "yes" : "no");
        return 0;
    }
    long peak = PeakRssKilobytes();
    std::printf(
        "  load alone: wall %.3f s (%.0f MB/s), cpu %.3f s (%.0f MB/s), %u lines, peak RSS %.1f MB "
        "(%.2f x file; %.1f MB before the load)\n",
        seconds, bytes / seconds / 1e6, cpu, bytes / cpu / 1e6, lines - 2, static_cast<double>(peak) / 1024.0,
        static_cast<double>(peak) * 1024.0 / bytes, static_cast<double>(baseRss) / 1024.0);
    return 0;
}

// ---- Google Benchmark cases over a smaller generated file ----

std::string BenchFile(Kind kind) {
    static const char* names[] = {"lf", "crlf", "fixed", "ebcdic", "tabs"};
    std::string path =
        (std::filesystem::temp_directory_path() /
         ("tavoe_bench_load_" + std::to_string(::getpid()) + "_" + names[static_cast<int>(kind)]))
            .string();
    if (!std::filesystem::exists(path)) {
        Generate(kind, path, 100000);
    }
    return path;
}

void BM_FullLoad(benchmark::State& state) {
    auto kind = static_cast<Kind>(state.range(0));
    std::string path = BenchFile(kind);
    for (auto _ : state) {
        AppSession app;
        EditBuffer buffer(app);
        SetProfile(buffer.profile, kind);
        if (OpenFile(buffer, path, OpenMode::Browse, LoadQuiet::NoSummary | LoadQuiet::NoCapsScan) != 0) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(LineCount(buffer));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_FullLoad)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_VirtualFirstBatch(benchmark::State& state) {
    std::string path = BenchFile(Kind::Lf);
    for (auto _ : state) {
        AppSession app;
        VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
        EditBuffer buffer(app);
        SetProfile(buffer.profile, Kind::Lf);
        if (OpenFile(buffer, path, OpenMode::Edit, LoadQuiet::NoSummary | LoadQuiet::NoCapsScan) != 0) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(LineCount(buffer));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_VirtualFirstBatch)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && (std::strcmp(argv[1], "--generate") == 0 || std::strcmp(argv[1], "--timed") == 0 ||
                      std::strcmp(argv[1], "--first-batch") == 0)) {
        Kind kind{};
        if (!ParseKind(argv[2], kind)) {
            std::fprintf(stderr, "unknown file kind '%s'\n", argv[2]);
            return 2;
        }
        if (std::strcmp(argv[1], "--generate") == 0) {
            return Generate(kind, argv[3], argc >= 5 ? std::stoull(argv[4]) : 1000000);
        }
        return TimedLoad(kind, argv[3], std::strcmp(argv[1], "--first-batch") == 0);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
