#pragma once

#include <cstdint>

namespace tavoe {

struct EditBuffer;

// Shaping records into data lines, for the loader. Each call numbers the record (and every folded
// piece after it), translates EBCDIC into the display set in place, and appends the lines behind the
// last line loaded. A false result means a line could not be made (the heap is exhausted; the
// storage layer has reported it) and the load must stop.

// One variable-format record of `length` bytes (terminator removed): TABs expanded when the profile
// asks for it, trailing blanks stripped, long records raising the record length, folded (COBOL style
// when the read state says so) or truncated, short ones padded.
bool MakeVariableRecordLines(EditBuffer& buffer, char* record, std::int32_t length);

// One fixed-format record: exactly the record length, or shorter for the last record of the file,
// which is padded to the full length and counted.
bool MakeFixedRecordLine(EditBuffer& buffer, char* record, std::int32_t length);

// Raises the record length to newLength (at most 64000): the right bound follows when it stood at the
// old length, and the profile is rewritten unless it is locked.
void RaiseMaxRecordLength(EditBuffer& buffer, std::int32_t newLength);

// Display-set letter tests for the CAPS scan.
bool HasOnlyUppercaseLetters(const EditBuffer& buffer);

}  // namespace tavoe
