#include "macro/macro_source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "macro/macro_error.h"
#include "macro/macro_program.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

// A regular file we may read: directories, pipes and devices are never opened as source.
bool Readable(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

// Source texts larger than this are refused as unreadable (offsets into the text are 32-bit).
constexpr size_t kSourceMax = size_t{64} << 20;

bool ReadWhole(const std::string& path, std::string& text) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    // Room for the whole file at once, so the text is not copied as it grows.
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) == 0 && info.st_size > 0 &&
        static_cast<size_t>(info.st_size) <= kSourceMax) {
        text.reserve(static_cast<size_t>(info.st_size));
    }
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (text.size() + got > kSourceMax) {
            return false;
        }
        text.append(chunk, got);
    }
    return std::ferror(file.get()) == 0;
}

struct Loader {
    AppSession& app;
    CompiledMacro& macro;
    std::set<std::string> reported;  // names already reported as processed

    int LoadFile(int fileIndex);
    int Include(int fileIndex, int line, std::string_view text, size_t hashAt);
};

// Splits the file into records: a line of at most 254 characters, newline included; a longer line
// goes on in further records of the same line number.
int Loader::LoadFile(int fileIndex) {
    std::string text;
    if (!ReadWhole(macro.files[fileIndex].path, text) || macro.source.size() + text.size() > kSourceMax) {
        return -1;
    }
    macro.source.reserve(macro.source.size() + text.size() + 1);
    int line = 0;
    bool continuing = false;  // the previous piece ended without a newline: same physical line
    bool lastIsRecord = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t limit = std::min(text.size(), pos + kMacroLineMax);
        const void* hit = std::memchr(text.data() + pos, '\n', limit - pos);
        size_t end =
            hit != nullptr ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) + 1 : limit;
        std::string_view piece(text.data() + pos, end - pos);
        pos = end;
        if (!continuing) {
            ++line;
        }
        bool endsLine = piece.back() == '\n';
        size_t start = 0;
        while (start < piece.size() && (piece[start] == ' ' || piece[start] == '\t')) {
            ++start;
        }
        if (!continuing && start < piece.size() && piece[start] == '#' &&
            piece.substr(start, 9) == "#include ") {
            if (!endsLine) {
                // The rest of an over-long directive line is not source.
                size_t newline = text.find('\n', pos);
                pos = newline == std::string::npos ? text.size() : newline + 1;
            }
            if (Include(fileIndex, line, piece, start) != 0) {
                return -1;
            }
            lastIsRecord = false;
            continuing = false;
            continue;
        }
        macro.AddRecord(fileIndex, line, piece);
        lastIsRecord = true;
        continuing = !endsLine;
    }
    // The last line of an included file ends there even without a newline, so it cannot run into the
    // line that follows the #include in the including file.
    if (lastIsRecord && fileIndex != 0 && macro.source.back() != '\n') {
        macro.source.push_back('\n');
        ++macro.records.back().length;
    }
    return 0;
}

int Loader::Include(int fileIndex, int line, std::string_view text, size_t hashAt) {
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
    if (end == std::string_view::npos) {
        MacroError(app, macro, fileIndex, line, column, "#include name missing end quote or >");
        return -1;
    }
    std::string written(text.substr(pos + 1, end - pos - 1));
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
    macro.source.clear();
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

}  // namespace tavoe
