#pragma once

#include <cstdint>
#include <string_view>
#include "core/status.h"

namespace tavoe {

// Keystroke editing: the changes typing makes to the line at the cursor.
//
// Characters typed in the data area go into the line at the cursor's record column, in insert or
// overtype mode (the instance's typing mode), within the editable field of the column (see
// typing_fields.h); characters typed in the prefix area build the line's pending line command.
// Every operation returns 0, or -1 after showing why it refused (as an error on the message line):
// a refused change leaves the line as it was, except that an insert that runs out of room keeps the
// characters it inserted. The first change to a line's text is journaled for UNDO when the journal is
// on, so undoing takes back all the keystrokes made on the line since. Changing a bounds, mask or tabs
// line makes the session take its bounds, mask or Tab key stops from that line.

struct AppSession;
struct EditSession;
struct LineRecord;
struct CursorPlace;

// Where a typed character comes from: the keyboard sends ISO-8859 codes, which are translated when the
// session shows the IBM-PC set (codes 128 and up); a display byte (HEXIN, a terminal that already
// decodes into the IBM-PC set) is typed as it is.
enum class TypedFrom : std::uint8_t { Keyboard, Display };

// Types one character at the cursor:
//  - no line on the cursor's row: "CHARIN cursor must be on a line.";
//  - prefix area: a non-blank is stored at the cursor's cell of the pending line command, a blank
//    erases the field from the cursor to its end and the line's label (as DELEOL there); the cursor
//    moves right;
//  - data area: refused in a browse and on lines that are not data, bounds, mask or tabs lines; a
//    selection is deleted first; with text entry on, a character beyond the text-entry width wraps
//    the word to a new line; otherwise the character is inserted or overtyped and the cursor moves
//    right. With a keystroke limit in the profile, every limit + 1 characters typed remind the user
//    to save.
Status TypeChar(AppSession& app, EditSession& session, std::uint8_t ch, TypedFrom from = TypedFrom::Keyboard);

// Inserts the characters at the record column within the column's editable field (insert mode). The
// field's text from the column on moves right and gives up its trailing blanks; with none left the
// insert stops ("Insert would exceed maximum record length or overrun line number field.", or without
// numbers in a variable-format file "Insert would exceed maximum record length.") and keeps what it
// inserted. A column in protected number columns: "Not allowed to insert chars in line number field,
// use overtype.".
Status InsertChars(AppSession& app, EditSession& session, LineRecord& line, std::string_view chars,
                   std::int32_t column);

// Replaces the characters from the record column on (overtype mode), padding a short line with blanks.
// Refused in the number columns while numbers are kept automatically, and past the maximum record
// length.
Status OvertypeChars(AppSession& app, EditSession& session, LineRecord& line, std::string_view chars,
                     std::int32_t column);

// Deletes `count` characters from the record column on, within the column's editable field: the text
// after them moves left and blanks fill the field's end (a variable-format line without numbers just
// gets shorter). Refused in the number columns; a column beyond the end of the text does nothing.
Status DeleteChars(AppSession& app, EditSession& session, LineRecord& line, std::int32_t column,
                   std::int32_t count);

// DELEOL: in the data area deletes from the cursor to the end of the text (to the end of the field
// on a numbered line, whose number columns stay); in the prefix area clears the line's label and
// blanks the pending line command from the cursor on.
Status DeleteToEndOfLine(AppSession& app, EditSession& session);

// The prefix area's editing keys: Backspace and Delete remove the character before or at the cell,
// pulling the rest of the pending line command left.
Status DeletePrefixChar(AppSession& app, EditSession& session, LineRecord& line, int offset);

// Whether keystrokes may change the line: data lines and the bounds, mask and tabs lines.
bool IsModifiableLine(const LineRecord& line);

// Starts a new empty data line after the cursor's line (numbered when the file keeps numbers) and
// puts the cursor at the start of its data: the text-entry Enter of word wrap.
Status StartNewLine(AppSession& app, EditSession& session);

}  // namespace tavoe
