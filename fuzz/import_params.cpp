// Takes arbitrary bytes as the parameters of IMPORT and COPYL. Nothing may crash; a successful parse
// gives line numbers of at least 1 (0 for none) with the end not before the start, and the dialog's
// rebuilt parameter text parses to the same values.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editing/import_command.h"

using namespace tavoe;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ImportParams params;
    if (ParseImportParams(text, params) != nullptr) {
        return 0;
    }
    Check(params.startLine >= 0 && params.endLine >= 0);
    Check(params.endLine == 0 || params.endLine >= params.startLine);
    if (params.file.empty() || params.file.find_first_of(" \"'") != std::string::npos) {
        return 0;
    }
    std::string again = params.file;
    if (params.startLine > 0) {
        again += " " + std::to_string(params.startLine);
    }
    if (params.endLine > 0) {
        again += " " + std::to_string(params.endLine);
    }
    if (params.asNotes) {
        again += " ASNOTES";
    }
    ImportParams reparsed;
    Check(ParseImportParams(again, reparsed) == nullptr);
    Check(reparsed.file == params.file && reparsed.startLine == params.startLine &&
          reparsed.endLine == params.endLine && reparsed.asNotes == params.asNotes);
    return 0;
}
