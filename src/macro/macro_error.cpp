#include "macro/macro_error.h"

#include <cstdlib>

#include "core/app_session.h"
#include "core/message.h"
#include "macro/macro_program.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

// Where the error file may go, in order: the working directory, then the user's runtime and
// temporary directories.
std::vector<std::string> ErrorFileCandidates(const CompiledMacro& macro) {
    std::vector<std::string> dirs;
    if (!macro.workingDirectory.empty()) {
        dirs.push_back(macro.workingDirectory);
    }
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] == '/') {
            dirs.emplace_back(value);
        }
    }
    dirs.emplace_back("/tmp");
    return dirs;
}

// Opens the error file on the first error. False when no place takes it (count is raised anyway,
// so later errors do not retry).
bool OpenErrorFile(CompiledMacro& macro, const std::string& firstPath) {
    for (const std::string& dir : ErrorFileCandidates(macro)) {
        std::string path = JoinPath(dir, kMacroErrorFileName);
        std::FILE* file = std::fopen(path.c_str(), "w");
        if (file != nullptr) {
            macro.errors.file = file;
            macro.errors.path = path;
            macro.errors.firstPath = firstPath;
            std::fprintf(file, "%s\n", firstPath.c_str());
            return true;
        }
    }
    return false;
}

}  // namespace

std::string MacroSourcePathOf(const CompiledMacro& macro, int file) {
    if (file < 0 || file >= static_cast<int>(macro.files.size())) {
        return "Unknown file";
    }
    const MacroSourceFile& source = macro.files[file];
    return source.path.empty() ? source.name : source.path;
}

void MacroError(AppSession& app, CompiledMacro& macro, int file, int line, int column,
                std::string_view message) {
    if (file < 0 || file >= static_cast<int>(macro.files.size())) {
        line = 1;
        column = 1;
    }
    std::string path = MacroSourcePathOf(macro, file);
    std::string text(message);
    if (macro.errors.count == 0) {
        OpenErrorFile(macro, path);
    }
    ++macro.errors.count;
    macro.error = true;
    if (macro.errors.file != nullptr) {
        std::fprintf(macro.errors.file, "%s(%d,%d) %s\n", path.c_str(), line, column, text.c_str());
        std::fflush(macro.errors.file);
    } else {
        ShowMessage(app, Format("%s(%d,%d) %s", path.c_str(), line, column, text.c_str()), MsgTo::Box,
                    Beep::Information);
    }
}

void MacroErrorAt(AppSession& app, CompiledMacro& macro, const MacroToken& token, std::string_view message) {
    MacroError(app, macro, token.file, token.line, token.column, message);
}

void MacroErrorAtNode(AppSession& app, CompiledMacro& macro, const PNode& node, std::string_view message) {
    MacroError(app, macro, node.file, node.line, node.column, message);
}

bool MacroCloseErrorFile(CompiledMacro& macro) {
    if (macro.errors.file == nullptr) {
        return false;
    }
    std::fclose(macro.errors.file);
    macro.errors.file = nullptr;
    return true;
}

}  // namespace tavoe
