#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/status.h"
#include "macro/macro_runner.h"

namespace tavoe {

// The door from the command dispatchers to the macro language: a command whose verb is no primary
// command names a macro. This part expands the command line, finds the macro's source file (in the
// working directory, then along ZPATH.MACROS) and hands it to the macro runner
// (macro/macro_runner.h) for compiling and running.

struct AppSession;

inline constexpr size_t kMacroFileNameMax = 31;  // characters of a source file name

// Finds the macro a command line names, without running it: the launch, or nullopt after the
// messages MacroRun describes.
std::optional<MacroLaunch> PrepareMacroLaunch(AppSession& app, std::string_view commandText);

// Starts the macro a command line names. The line is expanded with SubstituteCommandSymbols; its
// first blank-delimited word is the macro name and the rest, leading blanks removed, the arguments.
// Returns the runner's result (0 on success), or -1 after "Macro source file name too long, %s" or
// "Unable to read macro %s" (message box, error beep).
Status MacroRun(AppSession& app, std::string_view commandText);

// The source file name of a macro: the name followed by ".C", upper-cased.
std::string MacroSourceFileName(std::string_view macroName);

// Where a macro started now runs: the directory of the file list on top; else ZDSNPATH while an edit
// session is current; else ZLAST.COD.PATH when ZCOD is "TRUE", or the file list's directory when it
// is not; else the process's current directory.
std::string MacroWorkingDirectory(AppSession& app);

// The full path of a readable source file: in the working directory first, then along
// ZPATH.MACROS (names matched exactly, then ignoring case). Empty when there is none.
std::string FindMacroSource(AppSession& app, std::string_view workingDirectory, std::string_view fileName);

}  // namespace tavoe
