#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// How the records of a compared file are cut from its bytes.
struct CompareReadRules {
    bool terminators = true;  // every record must end with a newline within maxReclen
    int maxReclen = 255;      // longest record
    int colEnd = 255;         // records keep columns 1..colEnd
};

// The records of one compared file: each is a view into the file's bytes, holding the record's
// columns 1..end column (shorter when the record is; the columns past its end count as blanks).
struct CompareFile {
    std::vector<char> bytes;
    std::vector<std::string_view> records;
};

// Reads the file's records. A newline is LF or CR+LF; a lone CR is data. With terminators
// required, a record longer than the maximum or a last record without a newline fails; without
// them, a longer line is cut into records of the maximum length (a line of exactly that length
// stays one record). Returns the message to show, empty on success.
std::string ReadCompareFile(const std::string& path, const CompareReadRules& rules, CompareFile& out);

}  // namespace tavoe
