#pragma once

#include "core/command_line.h"

namespace tavoe {

struct AppSession;

// COMPAREDIR [dirA [dirB]]: opens the COMPDIR dialog, first taking the directories named.
void CompareDirCommand(AppSession& app, const GeneralCommandLine& command);

// DIALOG COMPDIR: directories A and B, the report directory and the file-name mask; Compare writes
// "compdir.txt" in the report directory and browses it.
void CompDirDialog(AppSession& app);

}  // namespace tavoe
