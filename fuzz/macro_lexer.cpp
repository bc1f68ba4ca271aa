// Lexes arbitrary bytes as macro source: no input may crash the lexer, and every token it makes
// carries a position inside the source and, for names, at most 255 characters.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/app_session.h"
#include "macro/macro_lexer.h"
#include "macro/macro_program.h"

using namespace tavoe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        std::filesystem::path d =
            std::filesystem::temp_directory_path() / ("tavoe_fuzz_mlex_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d.string();
    }();
    AppSession app;
    CompiledMacro macro;
    macro.workingDirectory = dir;
    macro.files.push_back(MacroSourceFile{"FUZZ.C", dir + "/FUZZ.C"});
    std::string_view text(reinterpret_cast<const char*>(data), size);
    int line = 1;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t newline = text.find('\n', pos);
        size_t end =
            std::min(newline == std::string_view::npos ? text.size() : newline + 1, pos + kMacroLineMax);
        macro.AddRecord(0, line, text.substr(pos, end - pos));
        if (end == newline + 1) {
            ++line;
        }
        pos = end;
    }
    MacroTokenize(app, macro);
    for (const MacroToken& token : macro.tokens) {
        if (token.line < 1 || token.line > line || token.column < 1 ||
            static_cast<size_t>(token.column) > size + 1) {
            std::abort();
        }
        if ((token.kind == TokenKind::Identifier) && token.text.size() > kMacroIdentMax) {
            std::abort();
        }
    }
    return 0;
}
