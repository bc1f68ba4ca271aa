#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// The error file of a macro: every error found while loading, lexing, compiling or running is one
// line "%s(%d,%d) %s" (source path, line, column, message) of errmsg.txt, whose first line is the
// path of the source file that holds the first error. The file is written in the macro's working
// directory, else in the user's runtime or temporary directory; when none can be written each
// message is shown in a message box instead.

struct AppSession;
struct CompiledMacro;
struct MacroToken;
struct PNode;

inline constexpr const char* kMacroErrorFileName = "errmsg.txt";

// Appends one error line and sets the macro's error flag. A file index outside the macro's files
// is reported as "Unknown file" line 1 column 1.
void MacroError(AppSession& app, CompiledMacro& macro, int file, int line, int column,
                std::string_view message);
void MacroErrorAt(AppSession& app, CompiledMacro& macro, const MacroToken& token, std::string_view message);
void MacroErrorAtNode(AppSession& app, CompiledMacro& macro, const PNode& node, std::string_view message);

// The path shown for a source file of the macro ("Unknown file" for none).
std::string MacroSourcePathOf(const CompiledMacro& macro, int file);

// Closes the error file; true when one was written (its path is in macro.errors.path).
bool MacroCloseErrorFile(CompiledMacro& macro);

}  // namespace tavoe
