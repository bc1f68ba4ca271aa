#pragma once

#include <cstdint>
#include <optional>

namespace tavoe {

struct EditBuffer;
struct LineRecord;

// The editable fields of a line: the columns that an insert or a deletion at a column may shift.
//
// A line without sequence numbers is one field, the whole record. With sequence numbers the record
// falls apart into the number columns and the text beside them: COBOL numbers (columns 1-6) leave the
// text after them, STANDARD numbers (73-80) the text before them, COB+STD both, so the text is 7-72.
// Text shifted by an insert or a deletion never crosses into the number columns, and the number
// columns themselves are one field of their own (only while numbers are not kept automatically).
// Columns are record columns, counted from 1.

// How a field holds its text.
enum class FieldShape : std::uint8_t {
    // The line is padded with blanks to the field's end; an insert pushes the field's text right and
    // drops the field's last blank, a deletion pulls it left and blanks the field's end.
    Padded,
    // The line grows and shrinks with its text, up to the maximum record length (variable-format
    // lines without numbers, and the bounds, mask and tabs lines).
    Growing,
};

struct EditField {
    std::int32_t first = 1;  // first and last column of the field
    std::int32_t last = 0;
    FieldShape shape = FieldShape::Growing;
    bool numberField = false;  // the line number columns themselves
};

// The maximum record length of the buffer's file (at least 1).
std::int32_t MaxRecordLength(const EditBuffer& buffer);

// Sequence numbers are kept in the buffer's data lines: the profile names a number type and usable
// number columns.
bool LineNumbersOn(const EditBuffer& buffer);

// The column lies in the line number columns of a data line (both fields for COB+STD). False for any
// other line kind and without line numbers.
bool InNumberColumns(const EditBuffer& buffer, const LineRecord& line, std::int32_t column);

// The field an insert or a deletion at the column works in; nullopt when the column lies in number
// columns that are protected (numbers kept automatically) or outside the record.
std::optional<EditField> EditableField(const EditBuffer& buffer, const LineRecord& line, std::int32_t column);

// The field in which text typed at the column would end up, without the column's protection: the text
// field beside the number columns. Used to find where the text of a line ends.
EditField TextFieldOf(const EditBuffer& buffer, const LineRecord& line);

}  // namespace tavoe
