#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tavoe {

struct EditBuffer;

// The two directions between a record's disk bytes and its line's text under the session's file
// profile, one record at a time: what a save writes for a text, and what a load makes of a record
// that fits one line. Loading asks both to find the records a save would not give back as they were
// read (see OriginalRecords); saving asks the load direction to tell an unchanged line.

// The bytes a save writes for `text` (already padded as the save pads it), without the terminator:
// at most the record length, trailing blanks stripped when a variable-format profile asks for it,
// EBCDIC translated from the display set, whole pieces of blanks compressed to TABs when the profile
// asks for it. The answer points into `text` or `out`. *substituted tells whether codes without a
// translation were replaced.
std::string_view EncodeRecord(EditBuffer& buffer, std::string_view text, std::vector<char>& out,
                              bool* substituted);

// The text a load makes of `raw`: EBCDIC translated into the display set, TABs expanded when the
// profile asks for it, trailing blanks stripped when it asks for that, padded with blanks to `padTo`.
// The answer points into `raw` or `out`.
std::string_view DecodeRecord(EditBuffer& buffer, std::string_view raw, std::uint32_t padTo,
                              std::vector<char>& out);

// TAB expansion of a record: a TAB at output column c becomes blanks up to the next multiple of the
// width above c (one blank for width 0). Answers the expanded bytes in `out`.
std::string_view ExpandTabs(std::vector<char>& out, const char* record, std::int32_t length,
                            std::int32_t width);

// For an EBCDIC file: the disk codes that do not come back as they were from a translation into the
// display set and back (true = lost on a save of an edited record).
std::array<bool, 256> LossyEbcdicCodes(EditBuffer& buffer);

}  // namespace tavoe
