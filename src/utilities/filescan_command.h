#pragma once

#include "core/command_line.h"

namespace tavoe {

struct AppSession;

// FILESCAN [file]: scans the file named, or the one picked in the file chooser ("Navigate to
// directory, select file to SCAN (ESC to cancel)"; Escape ends the command), and shows the counts in
// the FILESCAN dialog.
void FileScanCommand(AppSession& app, const GeneralCommandLine& command);

// DIALOG FILESCAN: the same, always through the file chooser.
void FileScanDialog(AppSession& app);

}  // namespace tavoe
