#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "utilities/compare_match.h"

namespace tavoe {

enum class CompareMode { Quick, Summary, Full };

// The mode named by its text ("Quick", "Summary", "Full"); Quick for anything else.
CompareMode CompareModeNamed(std::string_view name);
const char* CompareModeName(CompareMode mode);

// What a report shows besides the result: the mode, options and the two files.
struct CompareReportHeader {
    CompareMode mode = CompareMode::Full;
    CompareOptions options;
    std::string oldPath;
    std::string newPath;
};

// Writes the compare report: heading, settings, in Full mode a "D" line per deleted old record and
// an "I" line per inserted new record (number and up to 256 columns of its text, blank-padded to
// the end column), the summary and the closing lines. Returns false when a write failed.
bool WriteCompareReport(std::FILE* out, const CompareReportHeader& header,
                        std::span<const std::string_view> oldRecords,
                        std::span<const std::string_view> newRecords, const CompareResult& result);

// The one-line result of a Quick compare.
std::string QuickCompareMessage(const CompareResult& result);

}  // namespace tavoe
