// Translation speed of whole records: loading an EBCDIC file translates every byte once.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "buffer/charset.h"
#include "core/app_session.h"
#include "core/storage_host.h"

using namespace tavoe;

namespace {

// An 80 MB file in 80-byte records, translated record by record in place as a load does.
void BM_EbcdicRecordsToIso(benchmark::State& state) {
    AppSession app;
    const int recordLength = 80;
    std::string file(80 * 1024 * 1024, '\0');
    for (size_t i = 0; i < file.size(); ++i) {
        file[i] = static_cast<char>(0xC1 + i % 9);  // EBCDIC letters A..I, all translatable
    }
    for (auto _ : state) {
        for (size_t at = 0; at < file.size(); at += recordLength) {
            benchmark::DoNotOptimize(
                TranslateEbcdicToIso(Storage(app), file.data() + at, file.data() + at, recordLength));
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_EbcdicRecordsToIso)->Unit(benchmark::kMillisecond);

void BM_EbcdicRecordsToPc(benchmark::State& state) {
    AppSession app;
    std::string record(state.range(0), '\xC1');
    std::string out(record.size(), '\0');
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            TranslateEbcdicToPc(Storage(app), record.data(), out.data(), static_cast<int>(record.size())));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_EbcdicRecordsToPc)->Arg(80)->Arg(64000);

void BM_EbcdicRecordToIsoInPlace(benchmark::State& state) {
    AppSession app;
    std::string record(state.range(0), '\xC1');
    for (auto _ : state) {
        benchmark::DoNotOptimize(TranslateEbcdicToIso(Storage(app), record.data(), record.data(),
                                                      static_cast<int>(record.size())));
        std::fill(record.begin(), record.end(), '\xC1');
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_EbcdicRecordToIsoInPlace)->Arg(80)->Arg(64000);

}  // namespace

BENCHMARK_MAIN();
