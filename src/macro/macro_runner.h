#pragma once

#include <string>
#include "core/status.h"

namespace tavoe {

// Compiling and running a macro whose source the macro door found.

struct AppSession;

// A macro whose source file was found, ready to be compiled and run.
struct MacroLaunch {
    std::string name;              // as typed: the key of the macro cache
    std::string sourcePath;        // full path of the source file
    std::string arguments;         // after the name, leading blanks removed
    std::string workingDirectory;  // where the macro runs and writes its error file
};

// Compiles (or takes from the cache) and runs the macro with the instance's macro engine
// (macro/macro_engine.h); 0 on success, -1 after its errors were shown.
Status RunMacroLaunch(AppSession& app, const MacroLaunch& launch);

}  // namespace tavoe
