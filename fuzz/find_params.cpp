// Takes arbitrary bytes as the parameters of FIND, CHANGE and EXCLUDE: parses them in both modes,
// rewrites them as RFIND does, and runs the search they describe over a few texts. Nothing may crash
// or loop; a successful parse gives sane columns, the rewrite is stable, and every hit lies inside
// the text (or its blank padding) and the columns.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "commands/find_params.h"
#include "commands/find_search.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void Search(const FindParameters& p) {
    static const std::string_view kTexts[] = {"", "a", "MOVE A TO B.", "  123 abc-DEF ghi  ",
                                              "\x01\xff\x80 x"};
    FindMatcher matcher(p);
    for (std::string_view text : kTexts) {
        for (SearchWay way : {SearchWay::Forward, SearchWay::Backward}) {
            std::int64_t at = matcher.FindInLine(text, 0, 1 << 30, way);
            if (at < 0) {
                continue;
            }
            Check(at >= p.startColumn - 1 || p.constraint == FindConstraint::Eol);
            Check(at + static_cast<std::int64_t>(matcher.Length()) <=
                  std::max<std::int64_t>(p.endColumn, static_cast<std::int64_t>(text.size())));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string once = RepeatText(text);
    Check(RepeatText(once) == once);
    for (ParseMode mode : {ParseMode::Find, ParseMode::Change}) {
        AppSession app;
        FindParameters p = ParseFindText(app, text, mode, StringRequired::No, 1, 80);
        if (p.failed) {
            Check(!app.messages.empty());
            continue;
        }
        Check(p.startColumn >= 1 && p.endColumn >= p.startColumn);
        Check(p.string1.size() <= kFindTextMax && p.string2.size() <= kFindTextMax);
        Search(p);
    }
    return 0;
}
