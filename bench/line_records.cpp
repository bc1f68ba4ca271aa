// Cost of making the lines of a large file: one million data lines of 80 bytes, each made with
// LineNew (record from the line pool, text from the text store) and appended to the line list as
// loading does. Reports the time per line and the heap bytes the pool and text store hold per line.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstring>
#include <memory>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

constexpr int kLines = 1'000'000;
constexpr int kLineLength = 80;

// Makes the lines of one file into a fresh buffer and reports the cost per line. With
// FreshMemory::Yes the heap first gives all free memory back to the system, so every page the pools
// and text pages use must be faulted in again, as on the first file a process opens.
enum class FreshMemory { No, Yes };

void MakeDataLines(benchmark::State& state, FreshMemory fresh) {
    AppSession app;
    std::string text(kLineLength, ' ');
    std::memcpy(text.data(), "       IDENTIFICATION DIVISION.  PROGRAM-ID. PAYROLL.", 53);
    double bytesPerLine = 0;
    double heapPerLine = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (fresh == FreshMemory::Yes) {
            malloc_trim(0);
        }
        auto buffer = std::make_unique<EditBuffer>(app);
        std::size_t heapBefore = mallinfo2().uordblks + mallinfo2().hblkhd;
        state.ResumeTiming();
        for (int i = 0; i < kLines; ++i) {
            LineRecord* line = LineNew(*buffer, text);
            line->kind = LineKind::Data;
            line->recordNumber = static_cast<std::uint32_t>(i + 1);
            LineAppendLoaded(*buffer, line);
        }
        benchmark::DoNotOptimize(buffer->lines.last);
        state.PauseTiming();
        std::size_t heapAfter = mallinfo2().uordblks + mallinfo2().hblkhd;
        bytesPerLine = static_cast<double>(EditBufferBytesHeld(*buffer)) / kLines;
        heapPerLine = static_cast<double>(heapAfter - heapBefore) / kLines;
        if (LineCount(*buffer) != kLines + 1) {
            state.SkipWithError("line count is wrong");
        }
        buffer.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    // Time per line, and the bytes the pool and text store hold per line (and what the C heap
    // handed out for them, its own overhead included).
    state.counters["ns_per_line"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLines,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_line"] = bytesPerLine;
    state.counters["heap_bytes_per_line"] = heapPerLine;
}

void BM_MakeDataLines(benchmark::State& state) {
    MakeDataLines(state, FreshMemory::No);
}
void BM_MakeDataLinesFreshMemory(benchmark::State& state) {
    MakeDataLines(state, FreshMemory::Yes);
}

BENCHMARK(BM_MakeDataLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MakeDataLinesFreshMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
