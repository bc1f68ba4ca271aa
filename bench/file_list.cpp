// File list speed on a directory of 100,000 files (made once under $TMPDIR and kept for later runs):
//   BM_Load      loading the directory and formatting every row, in-process;
//   BM_Sort      sorting the loaded list by each column (the copy of the list is not timed).
// bench/run_file_list.sh sets the whole program beside `ls -l` and `grep -rli`.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/message.h"
#include "filelist/file_list_format.h"
#include "filelist/file_list_load.h"
#include "filelist/file_list_sort.h"

using namespace tavoe;

namespace {

constexpr int kFiles = 100'000;

struct Quiet : Reporter {
    void Report(std::string_view, MsgTo, Beep) override {}
};

// The directory of kFiles files of varied names, sizes and extensions.
std::string BenchDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    std::filesystem::path dir =
        std::filesystem::path(tmp != nullptr && *tmp ? tmp : "/tmp") / "tavoe_bench_flist";
    std::filesystem::path done = dir / ".complete";
    if (!std::filesystem::exists(done)) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        static const char* const kExts[] = {"c", "h", "txt", "cbl", "cpy", "java", ""};
        for (int i = 0; i < kFiles; ++i) {
            std::string name = "file" + std::to_string((i * 7919) % kFiles);
            const char* ext = kExts[i % 7];
            if (*ext != '\0') {
                name += std::string(".") + ext;
            }
            std::ofstream(dir / name) << std::string(static_cast<size_t>(i % 97), 'x');
        }
        std::ofstream(done) << "";
    }
    return dir.string() + "/";
}

FileList LoadOnce(const std::string& dir) {
    Quiet quiet;
    FileList list;
    list.paths[0] = dir;
    LoadOptions options;
    options.maxEntries = kFiles * 2;
    LoadFileList(quiet, list, options, nullptr);
    return list;
}

void BM_Load(benchmark::State& state) {
    std::string dir = BenchDirectory();
    RowLayout layout;
    size_t bytes = 0;
    for (auto _ : state) {
        FileList list = LoadOnce(dir);
        for (const FileEntry& entry : list.files) {
            bytes += RowText(entry, layout).size();
        }
        benchmark::DoNotOptimize(bytes);
        state.counters["entries"] = static_cast<double>(list.files.size());
    }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Sort(benchmark::State& state) {
    static const FileList loaded = LoadOnce(BenchDirectory());
    SortRequest request;
    request.field = static_cast<SortField>(state.range(0));
    request.order = state.range(1) != 0 ? SortOrder::Descending : SortOrder::Ascending;
    for (auto _ : state) {
        state.PauseTiming();
        FileList list = loaded;
        state.ResumeTiming();
        SortFileList(list, request);
        benchmark::DoNotOptimize(list.files.data());
    }
    state.SetLabel(std::string(SortFieldName(request.field)) + (state.range(1) ? " DESCENDING" : ""));
}
BENCHMARK(BM_Sort)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0}})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
