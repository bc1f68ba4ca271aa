// Utilities: the compare's block matching on generated files (Google Benchmark), and the generators
// of the files that bench/run_utilities.sh times against diff, iconv + fold and wc -l.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "buffer/charset_tables.h"
#include "utilities/compare_match.h"

namespace {

// A program-like line: mostly distinct statements, with the blank lines and closing lines that
// repeat through real sources.
std::string SourceLine(std::mt19937& rng, size_t number) {
    switch (number % 16) {
        case 0:
            return "";
        case 7:
            return "           END-IF.";
        default:
            return "           MOVE WS-FIELD-" + std::to_string(rng() % 100000) + " TO OUT-REC-" +
                   std::to_string(number) + ".";
    }
}

// Old and new line lists: `changes` records changed at random places and one block of `moved`
// records moved from a fifth of the way down to four fifths.
void MakePair(size_t records, size_t changes, size_t moved, std::vector<std::string>& oldLines,
              std::vector<std::string>& newLines) {
    std::mt19937 rng(1234);
    oldLines.clear();
    for (size_t i = 0; i < records; ++i) {
        oldLines.push_back(SourceLine(rng, i));
    }
    newLines = oldLines;
    for (size_t c = 0; c < changes; ++c) {
        newLines[rng() % records] = "      * CHANGED " + std::to_string(c);
    }
    size_t from = records / 5;
    std::vector<std::string> block(newLines.begin() + static_cast<long>(from),
                                   newLines.begin() + static_cast<long>(from + moved));
    newLines.erase(newLines.begin() + static_cast<long>(from),
                   newLines.begin() + static_cast<long>(from + moved));
    size_t to = newLines.size() * 4 / 5;
    newLines.insert(newLines.begin() + static_cast<long>(to), block.begin(), block.end());
}

int WriteLines(const char* path, const std::vector<std::string>& lines) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return 1;
    }
    for (const std::string& line : lines) {
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

int GenerateCompare(const char* oldPath, const char* newPath, size_t records) {
    std::vector<std::string> oldLines;
    std::vector<std::string> newLines;
    MakePair(records, records / 100, 1000, oldLines, newLines);
    return WriteLines(oldPath, oldLines) | WriteLines(newPath, newLines);
}

// Fixed 80-byte EBCDIC records of program text.
int GenerateEbcdic(const char* path, size_t records) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return 1;
    }
    std::mt19937 rng(99);
    std::string record;
    for (size_t i = 0; i < records; ++i) {
        record = SourceLine(rng, i);
        record.resize(80, ' ');
        for (char& c : record) {
            c = static_cast<char>(tavoe::IsoToEbcdic[static_cast<unsigned char>(c)]);
        }
        std::fwrite(record.data(), 1, record.size(), out);
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

// Text lines up to about `bytes` bytes.
int GenerateText(const char* path, size_t bytes) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return 1;
    }
    std::mt19937 rng(7);
    size_t written = 0;
    for (size_t i = 0; written < bytes; ++i) {
        std::string line = SourceLine(rng, i);
        line += i % 3 == 0 ? "\r\n" : "\n";
        if (i % 50 == 0) {
            line.insert(0, "\t");
        }
        std::fwrite(line.data(), 1, line.size(), out);
        written += line.size();
    }
    return std::fclose(out) == 0 ? 0 : 1;
}

void BM_MatchRecords(benchmark::State& state) {
    std::vector<std::string> oldLines;
    std::vector<std::string> newLines;
    size_t records = static_cast<size_t>(state.range(0));
    MakePair(records, records / 100, records / 100, oldLines, newLines);
    std::vector<std::string_view> oldViews(oldLines.begin(), oldLines.end());
    std::vector<std::string_view> newViews(newLines.begin(), newLines.end());
    tavoe::CompareOptions options;
    for (auto _ : state) {
        tavoe::CompareResult result = tavoe::MatchRecords(oldViews, newViews, options);
        benchmark::DoNotOptimize(result.matched);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(records));
}
BENCHMARK(BM_MatchRecords)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "--generate-compare") == 0) {
        return GenerateCompare(argv[2], argv[3], std::stoull(argv[4]));
    }
    if (argc >= 4 && std::strcmp(argv[1], "--generate-ebcdic") == 0) {
        return GenerateEbcdic(argv[2], std::stoull(argv[3]));
    }
    if (argc >= 4 && std::strcmp(argv[1], "--generate-text") == 0) {
        return GenerateText(argv[2], std::stoull(argv[3]));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
