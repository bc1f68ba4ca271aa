#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "profiles/file_profile.h"

namespace tavoe {

// The file profile as a property sheet ("File Profile Options"): the rows it shows and what a
// confirmed sheet does to the profile. Running the sheet belongs to the dialogs; this is the
// profile's side of it, so the rules can be checked without a screen.

struct AppSession;

// One row: its name, its property type as the sheet takes it ("OUTPUT", "STRING", "BOOL",
// "NUMBER,min,max", "CHOICE,a,b,...") and the profile's value.
struct ProfileSheetRow {
    std::string name;
    std::string type;
    std::string value;
};

// The rows in their order; rows of the variable format only (terminator, MaxRecordLength, tab
// widths, the trimming and padding switches) or of the fixed format only (RecordLength) appear as
// the profile's record format says.
std::vector<ProfileSheetRow> ProfileSheetRows(const FileProfile& profile);

// Applies the changed rows (name and new value, in sheet order) to the profile and checks the
// result: the backup path, the trimming and padding switches, the numbering rules (when a numbering
// row changed), the tab stops; then the bounds are brought within the record. A changed ColorType
// loads its colorizer. 0 when the profile may be written; -1 after the messages of the faults and
// "Changes to file profile ignored due to error in field value(s).", the caller then leaves the file
// as it was.
int ApplyProfileSheet(AppSession& app, FileProfile& profile,
                      const std::vector<std::pair<std::string, std::string>>& changed);

// The entries of a profile or colorization type list: for each directory of the path, when the path
// has more than one, a marker "<In DIR>" with the directory upper-cased, then the names of its files
// with the extension (any case), sorted, each up to its first "." and upper-cased; a name listed from
// an earlier directory is left out, as the search-path opener would not find it there.
std::vector<std::string> ListProfileTypes(std::string_view pathValue, std::string_view extension);

// The entry is a directory marker, not a type.
bool IsTypeListMarker(std::string_view entry);

}  // namespace tavoe
