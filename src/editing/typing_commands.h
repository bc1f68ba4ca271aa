#pragma once

#include <string_view>

namespace tavoe {

// The primary commands of keystroke editing, and where keystroke editing connects to the program.

struct AppSession;
struct EditSession;

// DATA text: types the text at the cursor as if it were keyed in, character by character, until one
// is refused. The cursor must be in the data area ("DATA command only valid in data area, command
// ignored."); the text is what follows the leading blanks ("DATA command requires one parameter:
// P1=data" when nothing does), or the part of it between a leading double or single quote and the
// same quote.
void DataCommand(AppSession& app, EditSession& session, std::string_view text);

// HEXIN digits: types the bytes given as pairs of hexadecimal digits (blanks between pairs are
// skipped) at the cursor, which must be in the data area of a data line ("HEXIN cursor must in data
// portion of data line."). Nothing is typed when the digits are not all 0-9, A-F ("HEX digit must be
// in range 0..9  A..F") or not in pairs ("HEX input must be in pairs."). For a file kept in EBCDIC
// the bytes are EBCDIC codes shown in the display set; a code without a display character becomes
// the substitution character, with a message naming it.
void HexInCommand(AppSession& app, EditSession& session, std::string_view digits);

// DELEOL: deletes from the cursor to the end of the line (DeleteToEndOfLine).
void DeleteToEndOfLineCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
