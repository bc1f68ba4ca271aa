#include "macro/macro_source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <set>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "macro/macro_error.h"
#include "macro/macro_program.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace {

// A regular file we may read: directories, pipes and devices are never opened as source.
bool Readable(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

struct Loader {
    AppSession& app;
    CompiledMacro& macro;
    std::set<std::string> reported;  // names already reported as processed

    // Reads one line of at most kMacroLineMax characters, newline included. False at end of file.
    static bool ReadPiece(std::FILE* file, std::string& piece) {
        piece.clear();
        int c = 0;
        while (piece.size() < kMacroLineMax && (c = std::getc(file)) != EOF) {
            piece.push_back(static_cast<char>(c));
            if (c == '\n') {
                break;
            }
        }
        return !piece.empty();
    }

    int LoadFile(int fileIndex);
    int Include(int fileIndex, int line, const std::string& text, size_t hashAt);
};

int Loader::LoadFile(int fileIndex) {
    std::string path = macro.files[fileIndex].path;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return -1;
    }
    std::string piece;
    int line = 0;
    bool continuing = false;  // the previous piece ended without a newline: same physical line
    size_t lastRecord = SIZE_MAX;
    while (ReadPiece(file.get(), piece)) {
        if (!continuing) {
            ++line;
        }
        bool endsLine = piece.back() == '\n';
        size_t start = piece.find_first_not_of(" \t");
        if (!continuing && start != std::string::npos && piece.compare(start, 9, "#include ") == 0) {
            if (!endsLine) {
                // The rest of an over-long directive line is not source.
                std::string rest;
                while (!endsLine && ReadPiece(file.get(), rest)) {
                    endsLine = rest.back() == '\n';
                }
            }
            if (Include(fileIndex, line, piece, start) != 0) {
                return -1;
            }
            lastRecord = SIZE_MAX;
            continuing = false;
            continue;
        }
        macro.records.push_back(MacroSourceRecord{fileIndex, line, piece});
        lastRecord = macro.records.size() - 1;
        continuing = !endsLine;
    }
    // The last line of a file ends there even without a newline, so it cannot run into the line
    // that follows the #include in the including file.
    if (lastRecord != SIZE_MAX && macro.records[lastRecord].text.back() != '\n' && fileIndex != 0) {
        macro.records[lastRecord].text.push_back('\n');
    }
    return 0;
}

int Loader::Include(int fileIndex, int line, const std::string& text, size_t hashAt) {
    int column = static_cast<int>(hashAt) + 1;
    size_t pos = hashAt + 9;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    char open = pos < text.size() ? text[pos] : '\0';
    if (open != '"' && open != '<') {
        MacroError(app, macro, fileIndex, line, column,
                   "#include name must be enclosed in double quotes or <>");
        return -1;
    }
    char close = open == '"' ? '"' : '>';
    size_t end = text.find(close, pos + 1);
    if (end == std::string::npos) {
        MacroError(app, macro, fileIndex, line, column, "#include name missing end quote or >");
        return -1;
    }
    std::string written = text.substr(pos + 1, end - pos - 1);
    std::string name = UpperAscii(written);
    if (name.size() > kMacroNameMax) {
        MacroError(app, macro, fileIndex, line, column,
                   Format("Macro source file name too long, %s", name.c_str()));
        return -1;
    }
    for (const MacroSourceFile& loaded : macro.files) {
        if (loaded.name == name) {
            if (reported.insert(name).second) {
                ShowMessage(app, Format("Already processed #include for %s", name.c_str()), MsgTo::Box,
                            Beep::Information);
            }
            return 0;
        }
    }
    std::string path =
        written.empty() ? std::string() : FindMacroSourceFile(app, macro.workingDirectory, written);
    if (path.empty()) {
        MacroError(app, macro, fileIndex, line, column, Format("Unable to read macro %s", name.c_str()));
        return -1;
    }
    macro.files.push_back(MacroSourceFile{name, path});
    int included = static_cast<int>(macro.files.size()) - 1;
    if (LoadFile(included) != 0) {
        if (!macro.error) {
            MacroError(app, macro, fileIndex, line, column, Format("Unable to read macro %s", name.c_str()));
        }
        return -1;
    }
    return 0;
}

}  // namespace

std::string FindMacroSourceFile(AppSession& app, std::string_view workingDirectory,
                                std::string_view fileName) {
    if (!fileName.empty() && fileName[0] == '/') {
        std::string path(fileName);
        return Readable(path) ? path : std::string();
    }
    if (!workingDirectory.empty()) {
        std::string resolved = ResolveNameInDirectory(workingDirectory, fileName);
        if (!resolved.empty()) {
            std::string path = JoinPath(workingDirectory, resolved);
            if (Readable(path)) {
                return path;
            }
        }
    }
    std::string path = FindAlongPath(VarGetValue(app, "ZPATH.MACROS"), fileName);
    return Readable(path) ? path : std::string();
}

int MacroLoadSource(AppSession& app, CompiledMacro& macro, std::string_view fileName) {
    macro.files.clear();
    macro.records.clear();
    macro.files.push_back(MacroSourceFile{std::string(fileName), macro.sourcePath});
    Loader loader{app, macro, {}};
    if (loader.LoadFile(0) != 0) {
        if (!macro.error) {
            MacroError(app, macro, 0, 1, 1, Format("Unable to read macro %s", std::string(fileName).c_str()));
        }
        return -1;
    }
    return 0;
}
