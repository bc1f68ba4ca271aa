#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/status.h"

namespace tavoe {

// IMPORT and COPYL: another file's records inserted into the session. The file is read by the
// receiving session's file profile (record format, terminator, character sets, tabs, padding) through
// the same loader that opens files, into a scratch buffer; its lines then go into the session as one
// UNDO step. Nothing is inserted when the file cannot be read whole.

struct AppSession;
struct EditSession;

// The parameters: the file, the first and last line numbers wanted (0: from the first, to the last)
// and whether the records become NOTE lines.
struct ImportParams {
    std::string file;
    std::int64_t startLine = 0;
    std::int64_t endLine = 0;
    bool asNotes = false;
};

// "file [start [end]] [ASNOTES]", the file name possibly in quotes, ASNOTES in any case and place.
// Null, or the message that tells what is wrong: "Start/end line number must be >= 1." or "End line
// number must be >= start line number.".
const char* ParseImportParams(std::string_view text, ImportParams& params);

// IMPORT: without parameters the IMPORT dialog asks for them; given ones are kept in ZIMPORTPARMS.
// The records go in before the cursor line (after the top marker when the cursor is on it).
Status ImportCommand(AppSession& app, EditSession& session, std::string_view params);
void ImportEditCommand(AppSession& app, EditSession& session, std::string_view params);

// COPYL: the same parameters; the records go in at the waiting A (after the line and the hidden lines
// behind it) or B (before the line) destination, as many times as its count says, and the
// destination is used up.
void CopyLinesCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
