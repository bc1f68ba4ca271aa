// Reads arbitrary bytes as a file profile, both as text and from a file along the profile path:
// neither may crash, both must agree (the same messages in the same order), a clean read reports
// nothing and a read with refused lines reports at least once and at most once per line, and what
// the writer makes of a clean read must read back to the same text.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/app_session.h"
#include "core/var_store.h"
#include "profiles/file_profile_io.h"

using namespace tavoe;

namespace {

const std::filesystem::path& ProfileDirectory() {
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavoe_fp_fuzz_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return std::filesystem::path(pattern);
    }();
    return dir;
}

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    AppSession app;
    FileProfile fromText;
    fromText.name = "FUZZ";
    int textStatus = ParseFileProfileText(app, "FUZZ.fp", text, fromText);
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    Check(textStatus == 0 ? app.messages.empty() : !app.messages.empty() && app.messages.size() <= lines);
    Check(fromText.maxRecordLength >= kProfileRecordLengthMin);
    std::string written = FileProfileText(fromText);

    // The same bytes as a file.
    std::filesystem::path file = ProfileDirectory() / "FUZZ.fp";
    if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
        Check(std::fwrite(data, 1, size, out) == size);
        std::fclose(out);
        AppSession fileApp;
        VarSetValue(fileApp, "ZPATH.FILEPROFILES", ProfileDirectory().string());
        FileProfile fromFile;
        int fileStatus = ReadFileProfile(fileApp, "fuzz", fromFile);
        Check(fileStatus == textStatus);
        Check(FileProfileText(fromFile) == written);
        Check(fileApp.messages.size() == app.messages.size());
        for (size_t i = 0; i < app.messages.size(); ++i) {
            Check(fileApp.messages[i].text == app.messages[i].text);
        }
    }

    if (textStatus == 0) {
        AppSession again;
        FileProfile reread;
        reread.name = "FUZZ";
        Check(ParseFileProfileText(again, "FUZZ.fp", written, reread) == 0);
        Check(FileProfileText(reread) == written);
    }
    return 0;
}
