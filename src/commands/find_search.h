#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "commands/find_params.h"

namespace tavoe {

// The one search of FIND, CHANGE and EXCLUDE: a FindMatcher made once from the parameters tests
// line texts, and SearchLines walks the data lines from a place in either direction.

struct AppSession;
struct EditSession;
struct LineRecord;

enum class SearchWay { Forward, Backward };

// Offsets are 0-based byte positions in a line's text; columns are 1-based.
class FindMatcher {
public:
    explicit FindMatcher(const FindParameters& p);

    std::size_t Length() const { return length_; }

    // The first (Forward) or last (Backward) hit in the line whose start lies in [minOffset, maxOffset]
    // and inside the parameters' columns, or -1. Lines shorter than the end column count as padded with
    // blanks when the string is blanks (or a picture of "=", "-" and blanks), without being changed.
    std::int64_t FindInLine(std::string_view text, std::int64_t minOffset, std::int64_t maxOffset,
                            SearchWay way) const;

    // Whether the line is one the parameters search (data, and excluded or visible as asked).
    bool Eligible(const LineRecord& line) const;

private:
    bool MatchAt(std::string_view text, std::size_t at) const;
    bool Constrained(std::string_view text, std::size_t at) const;

    const FindParameters& p_;
    std::size_t length_ = 0;
    bool padded_ = false;
    bool caseless_ = false;
    std::array<unsigned char, 256> fold_{};  // lower-case fold for caseless search
    std::string folded_;                     // string one folded
    // Eight-offset candidate filter for the first two bytes (see the constructor).
    std::uint64_t mask0_ = 0;
    std::uint64_t pattern0_ = 0;
    std::uint64_t mask1_ = 0;
    std::uint64_t pattern1_ = 0;
};

struct SearchHit {
    LineRecord* line = nullptr;
    std::int32_t column = 0;  // from 1
};

// From (line, column) the first hit going forward (starting at or after the column) or backward (at
// or before it), then through the following (preceding) lines up to `stop` (inclusive; null: the end
// of the file, reading further batches of a file still loading). Records the hit as the session's
// last hit.
std::optional<SearchHit> SearchLines(EditSession& session, const FindMatcher& matcher, LineRecord* line,
                                     std::int32_t column, SearchWay way, LineRecord* stop);

// Where a search begins: the range (from labels, else the whole file), the starting line and column
// and the direction, following FIRST, LAST, NEXT and PREV and moving one column on from the last hit.
struct SearchStart {
    LineRecord* from = nullptr;  // first line of the range
    LineRecord* to = nullptr;    // last line of the range; null: the end of the file
    LineRecord* line = nullptr;
    std::int32_t column = 1;
    SearchWay way = SearchWay::Forward;
};
SearchStart StartOfSearch(AppSession& app, EditSession& session, const FindParameters& p);

// Shows the hit: makes its line the cursor line, scrolling the view so that it is shown (with one
// line of context above unless ZLINEPOSAFTERFIND is 1) and its columns are in sight; the cursor goes
// to the hit's first column (column 0: the line only).
void PositionAfterFind(AppSession& app, EditSession& session, LineRecord& line, std::int32_t column,
                       std::int32_t length);

// Paints the hit's characters in the Find colours.
void HighlightHit(AppSession& app, EditSession& session, LineRecord& line, std::size_t offset,
                  std::size_t length);

}  // namespace tavoe
