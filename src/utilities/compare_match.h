#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tavoe {

// What makes two records equal: the columns compared and the three ignore options.
struct CompareOptions {
    int colStart = 1;
    int colEnd = 255;
    bool ignoreWhitespace = false;
    bool ignoreEmptyLines = false;
    bool ignoreCase = false;
};

// Longest compared part allowed while ignoring white space or case.
inline constexpr int kCompareIgnoreLimit = 1023;

// The outcome of matching two record lists: the 1-based numbers of the old records left over
// (deleted) and of the new records left over (inserted), in file order, and how many records the
// matched blocks held. `error` is set when the ignore options met a part longer than the limit; then
// nothing matches.
struct CompareResult {
    std::vector<int32_t> deleted;
    std::vector<int32_t> inserted;
    long matched = 0;
    bool error = false;
};

// Whether a record's text (columns 1..end) is empty or all blanks.
bool CompareTextIsBlank(std::string_view text);

// Matches the records by greedy longest blocks: for the earliest old record that has any equal
// record in the new list, the longest run of consecutive equal records starting there (the one
// nearest the start of the new list among equals) is taken out of both lists; a lone blank record
// never forms a block; an old record without any block is passed over. Moved blocks therefore count
// as matched. Records are the columns 1..end of each record; columns past a record's end are blanks.
CompareResult MatchRecords(std::span<const std::string_view> oldRecords,
                           std::span<const std::string_view> newRecords, const CompareOptions& options);

}  // namespace tavoe
