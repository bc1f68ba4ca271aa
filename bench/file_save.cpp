// Saving speed: a loaded file of 1,000,000 records of 80 columns is saved again and again, next to
// `cp` copying the same file in the same directory. Each save writes a temporary file, syncs it to
// the disk and renames it into place, so the benchmark also shows `cp` followed by a sync of the copy
// (`cp+sync`), the honest comparison for a save that survives a crash. The save counters report the
// ratio to both.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
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
#include "buffer/file_save.h"
#include "core/app_session.h"
#include "cp_yardstick.h"

using namespace tavoe;

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kColumns = 80;

enum class Kind { Lf, CrLf, Fixed, Ebcdic };

FileProfile ProfileFor(Kind kind) {
    FileProfile profile = BuiltInFileProfile("BENCH");
    profile.tabsExpandOnRead = 0;
    profile.maxRecordLength = kColumns;
    profile.boundsRight = kColumns;
    if (kind == Kind::Fixed || kind == Kind::Ebcdic) {
        profile.recordFormat = Recfm::Fixed;
        profile.endOfRecordSequence = EorType::None;
    }
    if (kind == Kind::Ebcdic) {
        profile.diskCharset = ProfileCharset::Ebcdic;
        profile.displayCharset = ProfileCharset::AsciiIbmPc;
    }
    return profile;
}

// 80 columns of source-like text with a sequence number, varying per record.
void MakeRecord(int index, char* out) {
    static constexpr const char* kWords[] = {"MOVE ", "ADD ",  "TO ",      "WS-TOTAL ", "PERFORM ", "UNTIL ",
                                             "IF ",   "ELSE ", "COMPUTE ", "= ",        "+ ",       "    "};
    std::memset(out, ' ', kColumns);
    std::snprintf(out, 9, "%08d", index);
    out[8] = ' ';
    int column = 12;
    for (int word = index % 7; column < 70; word = (word * 5 + 3) % 12) {
        std::size_t length = std::strlen(kWords[word]);
        std::memcpy(out + column, kWords[word], length);
        column += static_cast<int>(length);
    }
}

void Generate(Kind kind, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    char record[kColumns];
    for (int i = 0; i < kRecords; ++i) {
        MakeRecord(i, record);
        if (kind == Kind::Ebcdic) {
            for (char& c : record) {
                c = c == ' ' ? '\x40' : static_cast<char>(c >= '0' && c <= '9' ? 0xF0 + (c - '0') : 0xC1);
            }
        }
        chunk.append(record, kColumns);
        if (kind == Kind::Lf) {
            chunk += '\n';
        } else if (kind == Kind::CrLf) {
            chunk += "\r\n";
        }
        if (chunk.size() > (1 << 20)) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            chunk.clear();
        }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

std::string WorkDirectory() {
    static std::string directory = [] {
        std::string base = (std::filesystem::temp_directory_path() / "tavoe_save_bench_XXXXXX").string();
        return std::string(::mkdtemp(base.data())) + "/";
    }();
    return directory;
}

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Lf:
            return "lf";
        case Kind::CrLf:
            return "crlf";
        case Kind::Fixed:
            return "fixed";
        case Kind::Ebcdic:
            return "ebcdic";
    }
    return "?";
}

std::string SourceFile(Kind kind) {
    std::string path = WorkDirectory() + KindName(kind) + ".dat";
    if (!std::filesystem::exists(path)) {
        Generate(kind, path);
        // Every measurement starts with nothing waiting to be written back, so neither side pays
        // for the generator's data.
        ::sync();
    }
    return path;
}

bool SyncPath(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Seconds per run of cp (and of cp followed by a sync of the copy), kept for the ratios, and the CPU
// seconds of one cp, which a busy machine disturbs far less than the wall time.
double cpSeconds[4] = {};
double cpSyncSeconds[4] = {};
double cpCpuSeconds[4] = {};

enum class CpMode { Plain, ThenSync };

void BM_Cp(benchmark::State& state, Kind kind, CpMode mode) {
    std::string source = SourceFile(kind);
    std::string copy = WorkDirectory() + "copy.dat";
    CpRun mean = mode == CpMode::Plain ? MeanCp(state, source, copy)
                                       : MeanCp(state, source, copy, [&] { return SyncPath(copy); });
    (mode == CpMode::Plain ? cpSeconds : cpSyncSeconds)[static_cast<int>(kind)] = mean.seconds;
    if (mode == CpMode::Plain) {
        cpCpuSeconds[static_cast<int>(kind)] = mean.cpuSeconds;
        state.counters["cp_cpu_ms"] = mean.cpuSeconds * 1000;
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(source)));
}

void BM_Save(benchmark::State& state, Kind kind) {
    std::string path = WorkDirectory() + "edited.dat";
    std::filesystem::copy_file(SourceFile(kind), path, std::filesystem::copy_options::overwrite_existing);
    AppSession app;
    auto buffer = std::make_unique<EditBuffer>(app);
    buffer->profile = ProfileFor(kind);
    if (OpenFile(*buffer, path, OpenMode::Edit) != 0) {
        state.SkipWithError("load failed");
        return;
    }
    ::sync();
    double total = 0;
    double cpu = 0;
    for (auto _ : state) {
        buffer->modified = true;
        app.messages.clear();
        double cpuBefore = CpuSeconds(RUSAGE_SELF);
        auto start = std::chrono::steady_clock::now();
        int result = SaveFile(*buffer, SaveClosing::No);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += CpuSeconds(RUSAGE_SELF) - cpuBefore;
        if (result != 0) {
            state.SkipWithError("save failed");
            break;
        }
    }
    double seconds = state.iterations() > 0 ? total / static_cast<double>(state.iterations()) : 0;
    int index = static_cast<int>(kind);
    if (cpSeconds[index] > 0) {
        state.counters["x_cp"] = seconds / cpSeconds[index];
    }
    if (cpSyncSeconds[index] > 0) {
        state.counters["x_cp_sync"] = seconds / cpSyncSeconds[index];
    }
    double cpuSeconds = state.iterations() > 0 ? cpu / static_cast<double>(state.iterations()) : 0;
    state.counters["cpu_ms"] = cpuSeconds * 1000;
    if (cpCpuSeconds[index] > 0) {
        state.counters["cpu_x_cp"] = cpuSeconds / cpCpuSeconds[index];
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
    buffer.reset();
    std::filesystem::remove(path);
}

void RegisterKind(Kind kind) {
    std::string name = KindName(kind);
    benchmark::RegisterBenchmark(("BM_Cp/" + name).c_str(), BM_Cp, kind, CpMode::Plain)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark(("BM_CpSync/" + name).c_str(), BM_Cp, kind, CpMode::ThenSync)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark(("BM_Save/" + name).c_str(), BM_Save, kind)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
}

}  // namespace

int main(int argc, char** argv) {
    for (Kind kind : {Kind::Lf, Kind::CrLf, Kind::Fixed, Kind::Ebcdic}) {
        RegisterKind(kind);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(WorkDirectory());
    return 0;
}
