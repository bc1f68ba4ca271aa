#include "editing/line_commands.h"

namespace tavoe {

// Pending line commands stay pending: this build has no line command processor, and a line command
// typed in the command field is answered by the edit dispatcher.

void PendingCommandTyped(AppSession&, EditSession&, LineRecord&) {}

void PendingCommandCleared(AppSession&, EditSession&, LineRecord&) {}

void ProcessLineCommands(AppSession&, EditSession&) {}

}  // namespace tavoe
