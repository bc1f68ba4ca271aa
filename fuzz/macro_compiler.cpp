// Compiles arbitrary bytes as a macro (loading, lexing and compiling): no input may crash or hang
// the compiler, and a failed compile always leaves an error in the error file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "macro/macro_engine.h"
#include "macro/macro_program.h"

using namespace tavoe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d =
            std::filesystem::temp_directory_path() / ("tavoe_fuzz_mcomp_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        // An include target, so #include lines reach a second file.
        std::ofstream(d / "INC.H") << "int fromInclude;\n#include \"FUZZ.C\"\n";
        return d;
    }();
    {
        std::ofstream out(dir / "FUZZ.C", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    AppSession app;
    VarSetValue(app, "ZPATH.MACROS", dir.string());
    MacroLaunch request{"fuzz", (dir / "FUZZ.C").string(), "", dir.string()};
    auto macro = MacroBuild(app, request);
    if (macro->error && macro->errors.count == 0) {
        std::abort();
    }
    if (!macro->error && macro->FindGlobal("argv") == nullptr) {
        std::abort();
    }
    return 0;
}
