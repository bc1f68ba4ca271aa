#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "commands/sort_params.h"

namespace tavoe {

// Reordering the data lines of a range by key fields: the lines are taken in list order, sorted
// stably (lines with equal keys keep their earlier order, ascending or descending) and linked again
// in the places the sorted lines held. Only links move; no text is copied or changed.
//
// Keys are compared as if every line were padded with blanks to the end of the key, so short lines
// need no padding in memory, and each byte by its rank in the collating order. The sort is a merge
// sort of small records that carry the first 12 key bytes, already put in rank (descending fields
// with ranks reversed), so most comparisons are two integer compares; ties beyond those bytes are
// settled from the line texts. It is O(n log n) whatever the input: sorted, reversed or with few
// distinct keys; input already in order or in strictly reverse order takes one pass.

struct EditBuffer;
struct LineRecord;

// A byte's rank in the collating order.
using CollatingTable = std::array<std::uint8_t, 256>;

// Ranks in byte-value order (the ASCII sets).
const CollatingTable& ByteValueCollating();

// The lines of a range, as the sort sees them.
struct SortSelection {
    std::vector<LineRecord*> slots;     // every line of the range, in list order
    std::vector<std::uint32_t> chosen;  // indexes into `slots` of the lines to be sorted, ascending
    std::uint32_t longest = 0;          // length of the longest data line of the range
    bool hiddenChosen = false;          // an excluded line is among the chosen ones
};

// Takes the lines from `from` to `to` (both included, in list order): data lines that pass the filter
// are chosen; every other line keeps its place.
SortSelection SelectSortLines(LineRecord* from, LineRecord* to, SortFilter filter);

// Asked now and then while lines are ordered: false stops the sort.
class SortProgress {
public:
    virtual ~SortProgress() = default;
    virtual bool KeepGoing() = 0;
};

// Lines placed (keys made, lines moved by a merge) between two questions to the progress.
inline constexpr std::uint32_t kSortPollInterval = 16384;

enum class SortOutcome {
    Reordered,  // the lines were linked in their new order
    InOrder,    // the lines were already in order: nothing moved
    Stopped,    // the progress said stop: nothing moved
};

// Sorts the chosen lines by the fields (record columns, already cut to the selection's longest line)
// and links them in the places of the chosen lines; `selection.slots` then holds the new order. The
// fields must not be empty.
SortOutcome SortSelectedLines(EditBuffer& buffer, SortSelection& selection,
                              const std::vector<SortField>& fields, const CollatingTable& collating,
                              SortProgress& progress, std::uint32_t pollInterval = kSortPollInterval);

}  // namespace tavoe
