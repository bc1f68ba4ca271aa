#include "utilities/compare_report.h"

#include <algorithm>

#include "platform/format.h"

namespace tavoe {

namespace {

constexpr size_t kReportTextMax = 256;

const char* OnOff(bool on) {
    return on ? "(ON)" : "(OFF)";
}

// One "D" or "I" line: the record's columns 1..end, blank-padded, at most 256 of them.
void WriteRecordLine(std::FILE* out, char kind, int32_t number, std::string_view text, int colEnd) {
    size_t width = std::min(static_cast<size_t>(std::max(colEnd, 0)), kReportTextMax);
    std::string shown(text.substr(0, std::min(text.size(), width)));
    shown.resize(width, ' ');
    std::fprintf(out, "%c %06d '", kind, number);
    std::fwrite(shown.data(), 1, shown.size(), out);
    std::fputs("'\n", out);
}

}  // namespace

CompareMode CompareModeNamed(std::string_view name) {
    if (name == "Full") {
        return CompareMode::Full;
    }
    return name == "Summary" ? CompareMode::Summary : CompareMode::Quick;
}

const char* CompareModeName(CompareMode mode) {
    switch (mode) {
        case CompareMode::Full:
            return "Full";
        case CompareMode::Summary:
            return "Summary";
        case CompareMode::Quick:
            break;
    }
    return "Quick";
}

bool WriteCompareReport(std::FILE* out, const CompareReportHeader& header,
                        std::span<const std::string_view> oldRecords,
                        std::span<const std::string_view> newRecords, const CompareResult& result) {
    const CompareOptions& o = header.options;
    const bool full = header.mode == CompareMode::Full;
    std::fputs("\n------------\nFile Compare\n------------\n\n", out);
    std::fprintf(out, "Report:   %s\n", CompareModeName(header.mode));
    std::fprintf(out, "Options:  IgnoreWhitespace%s, IgnoreEmptyLines%s, IgnoreCase%s\n",
                 OnOff(o.ignoreWhitespace), OnOff(o.ignoreEmptyLines), OnOff(o.ignoreCase));
    std::fprintf(out, "Columns:  %d through %d\n\n", o.colStart, o.colEnd);
    std::fprintf(out, "New file: %s\nOld file: %s\n\n", header.newPath.c_str(), header.oldPath.c_str());
    if (full) {
        for (int32_t number : result.deleted) {
            WriteRecordLine(out, 'D', number, oldRecords[static_cast<size_t>(number - 1)], o.colEnd);
        }
        std::fputs("\n", out);
        for (int32_t number : result.inserted) {
            WriteRecordLine(out, 'I', number, newRecords[static_cast<size_t>(number - 1)], o.colEnd);
        }
        std::fputs("\n", out);
    }
    if (result.error) {
        std::fputs("Compare aborted due to error\n\n", out);
    } else if (result.deleted.empty() && result.inserted.empty()) {
        std::fputs("Summary: all lines matched\n\n", out);
    } else {
        std::fprintf(out, "Summary:  %zu lines deleted,  %zu lines inserted,  %ld lines matched\n\n",
                     result.deleted.size(), result.inserted.size(), result.matched);
    }
    std::fputs("-------------\nEnd of Report\n-------------\n\n", out);
    return std::ferror(out) == 0;
}

std::string QuickCompareMessage(const CompareResult& result) {
    if (!result.deleted.empty()) {
        return Format("Quick file compare result: mismatch on old file line %d.", result.deleted.front());
    }
    if (!result.inserted.empty()) {
        return "Quick file compare result: mismatch on last old file line + 1.";
    }
    return "Quick file compare result: files match.";
}

}  // namespace tavoe
