#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include "core/status.h"

namespace tavoe {

struct EditBuffer;
struct LineRecord;

// Sequence numbers in fixed columns of every data line. The number field is the profile's columns
// `NumberColumnStart` to `NumberColumnEnd` (4 to 8 wide); a number is written zero-padded to the
// field width, and a number with more digits than the field keeps its leftmost digits. Nothing here
// runs while the profile's `NumberType` is None, except UNNUMBER with an explicit type.

// The field's columns as byte offsets, when the profile names a usable field (start >= 1,
// end >= start, end within the longest record).
struct NumberField {
    std::uint32_t offset = 0;  // byte offset of the first column
    std::uint32_t width = 0;
    std::uint32_t End() const { return offset + width; }
};
std::optional<NumberField> ProfileNumberField(const EditBuffer& buffer);

// The number as the field shows it: "%0*d" with the field width, cut to its leftmost `width` digits.
std::string FormatLineNumber(std::int64_t number, std::uint32_t width);

// The line's number when its field is valid: `numberValid` is set, or the line is long enough and
// the field holds only digits (then `numberValid` is set, so the next look is cheap). nullopt when
// the line has no valid number or the profile no number field.
std::optional<std::int64_t> LineNumberValue(const EditBuffer& buffer, LineRecord& line);

// RENUMBER, and the step before a save or after a copy, move or repeat when `NumberAuto` is FULL:
// finishes the load, then writes NumberStart, NumberStart + NumberIncrement, ... into the data lines
// in order, padding short lines with blanks to the end of the field. With `NumberType` None nothing
// happens.
void Renumber(EditBuffer& buffer);

// Numbers one inserted data line so that it fits between the data lines around it: 100 past the line
// before when the gap allows, else 10, else 1; with no room left (the next line's number is just one
// more), the line takes that number and the next line is numbered in turn from it, down the file for
// as long as numbers collide. Without a valid number before it the line gets NumberStart; with no
// larger valid number after it, the number before plus NumberIncrement. -1 (nothing done) for a line
// that is not data or when numbering is off.
Status NumberNewLine(EditBuffer& buffer, LineRecord& line);

// UNNUMBER [type]: blanks the number columns of every data line that reaches the end of the field,
// says so, and turns numbering off for the session. `type` may be empty (numbering must then be on)
// or one of COB, COBOL, STD, STANDARD, COB+STD, OTHER, in any case; the columns cleared are always
// the profile's. 0 when the columns were cleared, -1 after a message that refused the command or when
// the profile names no number columns.
Status Unnumber(EditBuffer& buffer, std::string_view type);

// NUMBER OFF: numbering is off for the rest of this session (the profile file is not changed).
void NumberingOff(EditBuffer& buffer);

// The prefix area's text for a data line, exactly `width` characters: with numbering on and a valid
// number field, the field's text; otherwise the record number as "%08d " cut to the width from the
// right (a width of w shows the last w - 1 digits and a blank). Widths below 4 show blanks.
std::string PrefixNumberText(const EditBuffer& buffer, LineRecord& line, int width);

}  // namespace tavoe
