#pragma once

#include <string_view>

#include "buffer/file_state.h"
#include "core/status.h"

namespace tavoe {

struct EditBuffer;

// Loading a file into an edit session's line list. The session's file profile (buffer.profile) says
// how the bytes become records: fixed or variable format, record length, terminator, character sets,
// tab expansion, end-of-file character, and what to do with long and short records. The file is read
// in batches of about 120 records through one read buffer of at most 64000 bytes; with
// ZEDITVIRTUALLOAD "TRUE" only the first batch is read at open and the rest on demand.
//
// The results for the session are left in buffer.file: the read-only state and its reason, the CAPS
// mode, the view's initial offset, the open handle and its write lock, and the stamp saving compares.

// Opens `path` for EDIT or BROWSE and loads it (or its first batch for a virtual load): sets the
// buffer's fileName, directory and displayName, makes the read state, and appends the data lines and
// the end marker behind the top marker. 0 on success (the session may have become read-only, see
// buffer.file.browseReason), -1 on failure after the message has been shown.
Status OpenFile(EditBuffer& buffer, std::string_view path, OpenMode mode, LoadQuiet quiet = LoadQuiet::None);

// Reads the next batch: 1 when more remains, 0 when the file is complete (or nothing is open), -1
// when the load was aborted (the session is then read-only and ends in "*** File Load Aborted ***").
int LoadBatch(EditBuffer& buffer);

// What every command that needs the whole file calls first: LoadBatch until it no longer returns 1.
// 0 when the file is complete, -1 when the load aborted.
Status FinishLoad(EditBuffer& buffer);

// Closes the handle, if any (dropping its write lock), and forgets it. An unfinished load stays
// unfinished: LoadBatch then returns 0.
void CloseFile(EditBuffer& buffer);

// Read buffer size for a record format and record length: fixed, 50 records, at least the records
// that fit in 8192 bytes and at most those that fit in 64000; variable, twice the length, within
// 8192..64000.
std::int32_t ReadBufferSize(Recfm format, std::int32_t maxRecordLength);

// Information from a load: one line goes to the message line, so opening a file never leaves a box
// that swallows the next keys; several lines (or one too long for the line) go to a box.
void ShowLoadInformation(EditBuffer& buffer, std::string text);

}  // namespace tavoe
