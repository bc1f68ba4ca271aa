// Looks a key up in arbitrary bytes read as a tags index: lines of any length and bytes of any value
// never crash the reader, and a key it reports found does begin a line of the index.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/app_session.h"
#include "utilities/tag_lookup.h"

using namespace tavoe;

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path index = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavoe_tags_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return std::filesystem::path(pattern) / "tags";
    }();
    if (size == 0) {
        return 0;
    }
    // The first byte picks the selector; the key is the first word of the next line, so that keys
    // the index holds are looked up as often as keys it lacks.
    char selector = static_cast<char>(data[0]);
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string_view key = text.substr(0, text.find_first_of(" \t\n"));
    if (key.empty()) {
        key = "main";
    }
    std::FILE* out = std::fopen(index.c_str(), "wb");
    if (out == nullptr) {
        return 0;
    }
    Check(std::fwrite(text.data(), 1, text.size(), out) == text.size());
    std::fclose(out);

    AppSession app;
    TagHit hit;
    TagLookup result = LookupTag(app, index.string(), key, selector, hit);
    if (result == TagLookup::Found) {
        std::string lineStart = std::string(key) + "\t";
        Check(text.rfind(lineStart, 0) == 0 || text.find("\n" + lineStart) != std::string_view::npos ||
              text.find(std::string(key) + " ") != std::string_view::npos);
    }
    return 0;
}
