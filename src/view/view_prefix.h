#pragma once

#include <string>

#include "profiles/main_profile_settings.h"

namespace tavoe {

// What the prefix area of one row shows, and in which colour element. The precedence is: the
// pending line command (Lcmds), the label (Other), "==CHG>" for a changed line (Other), the tag of a
// bounds, COLS, mask, note or tabs line (Other), "==ERR>" for a line with the error flag (Other),
// the line number of a data line (Numbers), blanks (Numbers).

struct EditBuffer;
struct LineRecord;

// Display options of an instance that the painter reads.
struct PrefixOptions {
    bool showNumbers = true;  // data lines show their numbers (ZSHOWLINENUM "TRUE")
    // The prefix cells form a box: its right edge takes the last cell, so one character less is
    // drawn. Off in this program (the colours already set the area apart); kept as an option.
    bool boxed = false;
};

struct PrefixShown {
    std::string text;  // exactly the prefix width, blank-padded
    ColorElement element = ColorElement::Numbers;
};

// The prefix of a row that shows `line` (null: a row below the end of the file) in `width` cells.
// Reading a data line's number may set its `numberValid` flag.
PrefixShown RowPrefix(const EditBuffer& buffer, LineRecord* line, int width, const PrefixOptions& options);

// The 9-character number text of a data line: when numbering is on and the profile's number columns
// start in column 1 and hold only digits (or the line carries `numberValid`), those digits
// right-aligned in 8 characters padded with "0"; otherwise the record number as "%08d". One blank
// follows. Longer record numbers keep all their digits.
std::string PrefixNumberDigits(const EditBuffer& buffer, LineRecord& line);

// The last `width` characters of the number text (blanks for a width below 4, blank-padded on the
// left above 9).
std::string PrefixNumber(const EditBuffer& buffer, LineRecord& line, int width);

}  // namespace tavoe
