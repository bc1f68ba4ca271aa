#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tavoe {

// Shared libraries that macros name. A name with a "/" is a path and is opened as it stands. A bare
// name may carry the ".dll" ending other platforms use (dropped, in any case); it is then tried as
// given, as lib<name>.so and as <name>.so in each of the directories in order, and last by the
// system's own rules (the library path, the loader's cache). A library once opened stays loaded for
// the life of the process, so addresses taken from it stay valid.

// The handle of the opened library, or null when no candidate could be opened (missing files and
// files that are no loadable library alike).
void* OpenSharedLibrary(std::string_view name, std::span<const std::string> directories);

// The address of the exported symbol, or null when the library has no such export.
void* SharedLibrarySymbol(void* library, const std::string& symbol);

// The name with a ".dll" ending (any case) removed: "test.DLL" is "test".
std::string SharedLibraryStem(std::string_view name);

}  // namespace tavoe
