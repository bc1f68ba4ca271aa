#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "filelist/file_list.h"

namespace tavoe {

// Sorting a file list. Every sort is stable; directories and files are sorted apart, each by the
// rule of the field (a keyed field sorts directories by name).

struct SortRequest {
    SortField field = SortField::Name;
    SortOrder order = SortOrder::Ascending;
};

// Reads "FIELD [ASCENDING|DESCENDING]" (in any order, any case). On a fault returns false with the
// message to show in `error`; an empty text is NAME ASCENDING.
bool ParseSortParams(std::string_view params, SortRequest& request, std::string& error);

// The name order: names not beginning with a letter first, then one group per letter A..Z without
// regard to case; inside a group the lower-cased names compared byte by byte. True when a comes
// before b ascending.
bool NameBefore(std::string_view a, std::string_view b);

// Sorts the list and records the field and order for the header line. `progress` (may be empty)
// receives the count of entries sorted.
void SortFileList(FileList& list, const SortRequest& request,
                  const std::function<void(size_t)>& progress = {});

}  // namespace tavoe
