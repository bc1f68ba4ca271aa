#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavoe {

// The text arithmetic of the column commands on one line, apart from the line list so it can be
// checked on its own. Offsets count from 0 (column 1 is offset 0).

// The part of a line whose text may move: up to `end` (the first number column when numbers stand at
// the end of the line, else the record length). With `keepLength` (fixed-format lines) a line keeps
// its length: blanks fill what moves away, and blanks pushed past the end go.
struct ColumnField {
    std::uint32_t end = 0;
    bool keepLength = false;
};

enum class ColumnEdit {
    Unchanged,  // nothing to do on this line (it ends before the column)
    Changed,    // `out` holds the new text
    NoRoom,     // a non-blank character would be pushed past the field's end
};

// `chars` go in at `offset`; the field's text from there on moves right. A line that ends before the
// offset is left alone, unless `padShort` asks for it to be filled with blanks up to the offset.
ColumnEdit InsertColumns(std::string_view text, std::uint32_t offset, std::string_view chars,
                         const ColumnField& field, bool padShort, std::string& out);

// `count` columns from `offset` leave the field; what follows within the field moves left.
ColumnEdit DeleteColumns(std::string_view text, std::uint32_t offset, std::uint32_t count,
                         const ColumnField& field, std::string& out);

// The `count` columns from `offset`, filled with blanks where the line is shorter.
std::string CopyColumns(std::string_view text, std::uint32_t offset, std::uint32_t count);

}  // namespace tavoe
