// Takes arbitrary bytes as a primary command line: splits it the way each dispatcher does, expands
// its symbols, and runs it through the three dispatchers with no subsystem registered. Nothing may
// crash, loop or leave the limits the splitting promises.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/command_symbols.h"
#include "core/var_store.h"

using namespace tavoe;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void SplitEveryWay(std::string_view text) {
    std::string_view rest = text;
    while (std::optional<std::string_view> sub = NextSubCommand(rest)) {
        Check(!sub->empty() && sub->front() != ' ' && sub->front() != ';');
        Check(sub->data() >= text.data() && sub->data() + sub->size() <= text.data() + text.size());
        EditCommandLine edit = SplitEditCommand(*sub);
        Check(!edit.verb.empty() && edit.verb.find(' ') == std::string::npos);
        Check(edit.params.empty() || edit.params.front() != ' ');
    }
    GeneralCommandLine general = SplitGeneralCommand(text);
    Check(general.verb.find(' ') == std::string::npos && general.p1.find(' ') == std::string::npos);
    size_t position = 0;
    size_t last = 0;
    while (std::optional<FileListCommandLine> list = NextFileListCommand(text, position)) {
        Check(position > list->start && list->start >= last && position <= text.size());
        Check(!list->verb.empty() && list->params.find(';') == std::string::npos);
        last = position;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    SplitEveryWay(text);

    AppSession app;
    VarSetValue(app, "ZDSN", "/src/pay.cbl");
    VarSetValue(app, "ZDSNPATH", "/src");
    VarSetValue(app, "ZHOME", "&zhome");
    VarSetValue(app, "ZPATH.MACROS", "/nonexistent-fuzz-macros");
    std::string expanded = SubstituteCommandSymbols(app, text);
    if (text.find('&') == std::string_view::npos) {
        Check(expanded == text);
    }

    std::string line(text.substr(0, 2048));
    RunEditCommand(app, line);
    RunFileListCommand(app, line);
    RunGeneralCommand(app, line);
    return 0;
}
