#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// Reading a macro's source: the file is read line by line into source records (a line longer than
// 254 characters becomes several records of the same line number), and every line beginning with
// "#include " pulls in another file at that point. Included files are found like the macro itself:
// in the working directory first, then along ZPATH.MACROS.

struct AppSession;
struct CompiledMacro;

// The full path of a readable macro source file: the working directory first, then each directory
// of ZPATH.MACROS (names matched exactly, then ignoring case). Empty when there is none.
std::string FindMacroSourceFile(AppSession& app, std::string_view workingDirectory,
                                std::string_view fileName);

// Reads macro.sourcePath (shown as fileName) and its includes into macro.records. Returns 0, or -1
// after writing the reason to the error file. A file included a second time (or including itself)
// is skipped with "Already processed #include for %s", shown once per name.
int MacroLoadSource(AppSession& app, CompiledMacro& macro, std::string_view fileName);

}  // namespace tavoe
