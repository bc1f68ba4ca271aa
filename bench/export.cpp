// EXPORT speed: all 1,000,000 lines of a fixed 80-column EBCDIC file, loaded into an edit session and
// selected whole, are exported as they are shown (ISO-8859-1 text), next to `iconv -f IBM037 -t
// ISO-8859-1` converting the same file in the same run. EXPORT writes a temporary file, syncs it and
// renames it into place, so `iconv` followed by a sync of its output (`iconv+sync`) is measured too.
// The EXPORT counters give the ratios to both, in wall time and in CPU time.

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

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/export_command.h"
#include "editing/selection.h"

#include "cp_yardstick.h"

using namespace tavoe;

extern char** environ;

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kColumns = 80;

std::string WorkDirectory() {
    static std::string directory = [] {
        std::string base = (std::filesystem::temp_directory_path() / "tavoe_export_bench_XXXXXX").string();
        return std::string(::mkdtemp(base.data())) + "/";
    }();
    return directory;
}

// 80 columns of mixed-case source text with a sequence number, varying per record, in EBCDIC.
std::string SourceFile(AppSession& app) {
    std::string path = WorkDirectory() + "members.ebc";
    if (std::filesystem::exists(path)) {
        return path;
    }
    static constexpr const char* kWords[] = {"MOVE ", "add ",  "TO ",  "ws-total ", "PERFORM ", "until ",
                                             "IF ",   "Else ", "{x} ", "= ",        "+ ",       "$12.50 "};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk;
    char record[kColumns + 1];
    for (int i = 0; i < kRecords; ++i) {
        std::memset(record, ' ', kColumns);
        std::snprintf(record, 9, "%08d", i);
        record[8] = ' ';
        int column = 12;
        for (int word = i % 7; column < 70; word = (word * 5 + 3) % 12) {
            std::size_t length = std::strlen(kWords[word]);
            std::memcpy(record + column, kWords[word], length);
            column += static_cast<int>(length);
        }
        (void)Translate(Storage(app), CharSet::AsciiIso8859, CharSet::Ebcdic, record, record, kColumns);
        chunk.append(record, kColumns);
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

bool RunIconv(const std::string& from, const std::string& to, bool sync) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const char* argv[] = {"iconv", "-f", "IBM037", "-t", "ISO-8859-1", from.c_str(), nullptr};
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, "iconv", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return false;
    }
    if (sync) {
        int fd = ::open(to.c_str(), O_RDONLY | O_CLOEXEC);
        bool ok = fd >= 0 && ::fsync(fd) == 0;
        if (fd >= 0) {
            ::close(fd);
        }
        return ok;
    }
    return true;
}

double iconvSeconds = 0;
double iconvSyncSeconds = 0;
double iconvCpuSeconds = 0;

void BM_Iconv(benchmark::State& state, bool sync) {
    AppSession app;
    std::string source = SourceFile(app);
    std::string target = WorkDirectory() + "iconv.txt";
    double total = 0;
    double cpu = 0;
    for (auto _ : state) {
        std::filesystem::remove(target);
        double cpuBefore = CpuSeconds(RUSAGE_CHILDREN);
        auto start = std::chrono::steady_clock::now();
        bool ok = RunIconv(source, target, sync);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += CpuSeconds(RUSAGE_CHILDREN) - cpuBefore;
        if (!ok) {
            state.SkipWithError("iconv failed");
            break;
        }
    }
    std::filesystem::remove(target);
    double runs = state.iterations() > 0 ? static_cast<double>(state.iterations()) : 1;
    (sync ? iconvSyncSeconds : iconvSeconds) = total / runs;
    if (!sync) {
        iconvCpuSeconds = cpu / runs;
        state.counters["cpu_ms"] = iconvCpuSeconds * 1000;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecords) * kColumns);
}

void BM_Export(benchmark::State& state) {
    AppSession app;
    std::string source = SourceFile(app);
    auto session = std::make_unique<EditSession>(app);
    FileProfile& profile = session->buffer.profile;
    profile = BuiltInFileProfile("BENCH");
    profile.recordFormat = Recfm::Fixed;
    profile.endOfRecordSequence = EorType::None;
    profile.maxRecordLength = kColumns;
    profile.boundsRight = kColumns;
    profile.diskCharset = ProfileCharset::Ebcdic;
    profile.displayCharset = ProfileCharset::AsciiIso8859;
    if (OpenFile(session->buffer, source, OpenMode::Browse) != 0) {
        state.SkipWithError("load failed");
        return;
    }
    SelectLines(*session, *FirstDataLine(session->buffer), *LastDataLine(session->buffer));
    std::string target = WorkDirectory() + "exported.txt";
    double total = 0;
    double cpu = 0;
    for (auto _ : state) {
        std::filesystem::remove(target);
        app.messages.clear();
        double cpuBefore = CpuSeconds(RUSAGE_SELF);
        auto start = std::chrono::steady_clock::now();
        Status result = ExportCommand(app, *session, ExportMode::Export, target);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        cpu += CpuSeconds(RUSAGE_SELF) - cpuBefore;
        if (result != 0) {
            state.SkipWithError("export failed");
            break;
        }
    }
    double runs = state.iterations() > 0 ? static_cast<double>(state.iterations()) : 1;
    if (iconvSeconds > 0) {
        state.counters["x_iconv"] = total / runs / iconvSeconds;
    }
    if (iconvSyncSeconds > 0) {
        state.counters["x_iconv_sync"] = total / runs / iconvSyncSeconds;
    }
    state.counters["cpu_ms"] = cpu / runs * 1000;
    if (iconvCpuSeconds > 0) {
        state.counters["cpu_x_iconv"] = cpu / runs / iconvCpuSeconds;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecords) * kColumns);
    std::filesystem::remove(target);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("BM_Iconv", BM_Iconv, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_IconvSync", BM_Iconv, true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_Export", BM_Export)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(WorkDirectory());
    return 0;
}
