#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The parameters of SORT taken apart and checked: which lines take part, the key fields in the order
// given, and the labels of the range. Nothing here touches a session.

// Which data lines of the range are reordered: all of them, only the excluded ones (X, EX) or only
// the shown ones (NX). The others keep their places.
enum class SortFilter { All, Excluded, Visible };

enum class SortOrder { Ascending, Descending };

// One key field: record columns (from 1), both ends included.
struct SortField {
    int32_t startColumn = 0;
    int32_t endColumn = 0;
    SortOrder order = SortOrder::Ascending;
};

// The columns a field may use: the session's bounds.
struct SortBounds {
    int32_t left = 1;
    int32_t right = 1;
};

struct SortRequest {
    SortFilter filter = SortFilter::All;
    std::vector<SortField> fields;    // never empty once parsed: no column given means the bounds
    std::vector<std::string> labels;  // up to two, upper case, "." included
};

// Reads the words of `params` in any case and in any order: X, EX or NX once; A or D for the field
// they follow (before any field: the order of every field that names none); a number starting a
// field, the next number its end column (else the right bound); ".name" labels. A bad parameter
// leaves the message to show in `error`, which is empty when the request is good:
//   "SORT: '%s' is not a valid parameter"  a word that is none of these, or a second filter or order
//   "Too many labels."                     a third label
//   "SORT: column outside bounds"          a column left of the left or right of the right bound
//   "SORT: start column greater than end column"
//   "SORT: fields overlap"                 two fields share a column
struct SortParse {
    SortRequest request;
    std::string error;  // empty when the parameters are good
};
SortParse ParseSortParams(std::string_view params, SortBounds bounds);

}  // namespace tavoe
