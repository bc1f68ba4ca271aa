#include <string>
#include <vector>

#include "core/app_session.h"
#include "macro/macro_interp.h"
#include "macro/macro_library.h"
#include "macro/macro_runtime.h"
#include "platform/dynamic_library.h"
#include "platform/own_program_path.h"

namespace tavoe {

// DLLEPREGISTER and DLLEPCALL: a macro registers an entry point of an outside library and gets a
// small handle for it, then calls it with text arguments. Every misuse is a run-time error.

namespace {

// Where a library named without a directory is looked for first: beside the running program, then
// in the installation's bin directory.
std::vector<std::string> LibraryDirectories(AppSession& app) {
    std::vector<std::string> directories;
    std::string program = OwnProgramPath();
    size_t slash = program.rfind('/');
    if (slash != std::string::npos) {
        directories.push_back(program.substr(0, slash));
    }
    if (!app.homeDirectory.empty()) {
        std::string bin = app.homeDirectory + (app.homeDirectory.back() == '/' ? "bin" : "/bin");
        if (directories.empty() || directories.front() != bin) {
            directories.push_back(bin);
        }
    }
    return directories;
}

}  // namespace

// The checks run in a fixed order: the arguments, an entry already registered (returned without
// loading anything again), the library and its export, the returns flag, the room left. Names too
// long for an entry are refused rather than cut, so a cut name can never load some other library.
bool RtDllEpRegister(const RuntimeCall& call) {
    if (call.Count() != 4) {
        return call.Fail(
            "RUNTIME: four parameters required, P1=DLL-name, P2=EP-name, P3=return-bool, P4=parm-count");
    }
    std::string library;
    std::string entryName;
    std::string returns;
    int32_t count = 0;
    if (!call.Text(0, library) || !call.Text(1, entryName) || !call.Text(2, returns) ||
        !call.Number(3, count)) {
        return false;
    }
    if (library.empty() || entryName.empty() || returns.empty()) {
        call.Return("");
        return true;
    }
    if (library.size() > kLibraryNameMax) {
        return call.Fail("RUNTIME: DLL name longer than 255 characters");
    }
    if (entryName.size() > kLibraryEntryNameMax) {
        return call.Fail("RUNTIME: entrypoint name longer than 31 characters");
    }
    LibraryRegistry& registry = call.interp.Macro().libraries;
    if (int handle = registry.Find(library, entryName); handle > 0) {
        call.ReturnNumber(handle);
        return true;
    }
    void* handle = OpenSharedLibrary(library, LibraryDirectories(call.interp.App()));
    if (handle == nullptr) {
        return call.Fail("RUNTIME: DLL not found");
    }
    void* function = SharedLibrarySymbol(handle, entryName);
    if (function == nullptr) {
        return call.Fail("RUNTIME: DLL found but entrypoint not found");
    }
    if (returns != "TRUE" && returns != "FALSE") {
        return call.Fail("RUNTIME: 'returns' parm must be 'TRUE' or 'FALSE'");
    }
    if (registry.entries.size() >= kLibraryEntriesMax) {
        return call.Fail("RUNTIME: DLL entrypoint registry full");
    }
    registry.entries.push_back({function, count, returns == "TRUE", library, entryName});
    call.ReturnNumber(static_cast<int64_t>(registry.entries.size()));
    return true;
}

// At most eight arguments after the handle are taken (further ones are neither evaluated nor
// passed), and their number must be the registered count.
bool RtDllEpCall(const RuntimeCall& call) {
    if (call.Count() < 1) {
        return call.Fail("RUNTIME: one parameter required, P1=DLL-entrypoint-handle (see DllEpRegister)");
    }
    int32_t handle = 0;
    if (!call.Number(0, handle)) {
        return false;
    }
    if (handle < 1) {
        return call.Fail("RUNTIME: invalid DLL entrypoint handle value");
    }
    const LibraryEntry* entry = call.interp.Macro().libraries.At(handle);
    if (entry == nullptr) {
        return call.Fail("RUNTIME: DLL entrypoint handle refers to NULL entrypoint");
    }
    int taken = call.Count() - 1 < kLibraryArgsMax ? call.Count() - 1 : kLibraryArgsMax;
    std::vector<std::string> texts(static_cast<size_t>(taken));
    for (int i = 0; i < taken; ++i) {
        if (!call.Text(i + 1, texts[static_cast<size_t>(i)])) {
            return false;
        }
    }
    if (taken != entry->parameterCount) {
        return call.Fail("RUNTIME: number of parms passed does not match DLL entrypoint registry entry");
    }
    call.Return(CallLibraryEntry(*entry, texts));
    return true;
}

}  // namespace tavoe
