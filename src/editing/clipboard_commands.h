#pragma once

#include <string>
#include <string_view>

#include "core/status.h"

namespace tavoe {

// COPY, CUT and PASTE: the selection to the clipboard and clipboard text into the file.
//
// The clipboard text is display-set bytes, each copied line followed by CR LF: a whole line, and
// every line of a stream or block but a last stream line selected only up to a column (and a
// single-line part of one line), which has no line end. Pasting text without line ends inserts it
// into the cursor line at the cursor; text with line ends (CR LF, CR or LF) becomes new lines before
// the cursor line. Each change is one UNDO step.

struct AppSession;
struct EditSession;

// Whether PASTE makes data lines or NOTE lines.
enum class PasteAs { Data, Notes };

// COPY: the selection replaces the clipboard text; 0 when it was copied. "No selection." without one;
// the x'00' warning when the text holds NUL bytes (which end the text on the clipboard).
Status CopySelection(AppSession& app, EditSession& session);

// CUT: COPY, and when that worked the selection is deleted; a selection that may not be deleted is
// not copied either.
Status CutSelection(AppSession& app, EditSession& session);

// PASTE: the clipboard text into the file at the cursor (an existing selection is deleted first).
Status Paste(AppSession& app, EditSession& session, PasteAs as);

// The primary commands. PASTE takes one optional parameter, ASNOTES (any case), for NOTE lines.
void CopyCommand(AppSession& app, EditSession& session, std::string_view params);
void CutCommand(AppSession& app, EditSession& session, std::string_view params);
void PasteCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
