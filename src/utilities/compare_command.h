#pragma once

#include <string>

#include "core/command_line.h"

namespace tavoe {

struct AppSession;

// COMPARE [old [new]]: opens the COMPARE dialog, first taking the files named (as they are typed,
// "&" symbols already replaced) as the old and new file.
void CompareCommand(AppSession& app, const GeneralCommandLine& command);

// DIALOG COMPARE: the compare settings; Old... and New... pick a file, Compare runs the compare.
void CompareDialog(AppSession& app);

// Compares the old file with the new one within the columns, with the other settings from the
// variable store (ZCOMP.*). Full and Summary write the report "compare.txt" to the first directory
// of ZPATH.FILEPROFILES; Quick shows its one-line result. 0 on success; a failure has been shown.
int CompareFiles(AppSession& app, const std::string& oldPath, const std::string& newPath, int colStart,
                 int colEnd);

}  // namespace tavoe
