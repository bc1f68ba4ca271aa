#pragma once

#include <memory>

namespace tavoe {

// The macro host of a program instance: what a running macro needs of the editor around it. Commands
// run through the processor of the current context, the trace is asked in a Yes/No/Cancel box, the
// service interface reads and changes the current edit session (cursor, lines, labels, selection,
// search counts), shows dialogs and redraws afterwards, pauses with the screen brought up to date,
// and FILEPRINT prints through the print utility.

struct AppSession;
struct EditSession;
class MacroHost;

std::unique_ptr<MacroHost> MakeInstanceMacroHost();

// A mouse click put the cursor in the data window: the data line and record column under it are
// recorded for macros (QUERY LAST_LINE_NUMBER, LAST_COL_NUMBER); a click beside the data lines or
// in the prefix area records 0.
void RecordClickForMacros(AppSession& app, EditSession& session);

}  // namespace tavoe
