// Reads arbitrary bytes as a control file into a handful of slots and looks a keyword up: neither
// may crash, and every slot filled stays within the keyword and value limits.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "profiles/control_file.h"

using namespace tavoe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path dir = [] {
        std::filesystem::path d =
            std::filesystem::temp_directory_path() / ("tavoe_fuzz_ctl_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    {
        std::ofstream out(dir / "fuzz.ucmd", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    AppSession app;
    VarSetValue(app, "ZPATH.USERCOMMANDS", dir.string());
    std::vector<std::string> keywords;
    std::vector<std::string> values;
    if (ControlFileRead(app, "ZPATH.USERCOMMANDS", "fuzz", ".ucmd", 8, keywords, values) == 0) {
        for (size_t i = 0; i < keywords.size(); ++i) {
            if (keywords[i].size() > kControlKeywordMax || values[i].size() > kControlValueMax) {
                std::abort();
            }
        }
    }
    ControlFileGet(app, "ZPATH.USERCOMMANDS", "fuzz.ucmd", "Command");
    return 0;
}
