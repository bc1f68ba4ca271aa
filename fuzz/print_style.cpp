// Reads arbitrary bytes as a print style file: the read may refuse with one message but never
// crashes, and a style it accepts is written and read back to the same values.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/app_session.h"
#include "core/var_store.h"
#include "utilities/print_style.h"

using namespace tavoe;

namespace {

std::filesystem::path ScratchDirectory(const char* name) {
    std::string pattern = (std::filesystem::temp_directory_path() / name).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path readDir = ScratchDirectory("tavoe_pstl_in_XXXXXX");
    static const std::filesystem::path writeDir = ScratchDirectory("tavoe_pstl_out_XXXXXX");
    std::FILE* out = std::fopen((readDir / "FUZZ.pstl").c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    Check(std::fwrite(data, 1, size, out) == size);
    std::fclose(out);

    AppSession app;
    VarSetValue(app, "ZPATH.PRINTSTYLES", readDir.string());
    PrintStyle style;
    int status = ReadPrintStyle(app, "FUZZ", style);
    Check(status == 0 ? app.messages.empty() : app.messages.size() == 1);
    if (status != 0) {
        return 0;
    }
    AppSession writer;
    VarSetValue(writer, "ZPATH.PRINTSTYLES", writeDir.string());
    Check(WritePrintStyle(writer, style) == 0);
    PrintStyle reread;
    Check(ReadPrintStyle(writer, style.name, reread) == 0);
    for (int field = 0; field < kPrintStyleFieldCount; ++field) {
        Check(PrintStyleValue(reread, field) == PrintStyleValue(style, field));
    }
    return 0;
}
