#include "utilities/tag_lookup.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/app_session.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "platform/file_io.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

constexpr std::string_view kDelimiters = "~`!@#$%^&*()-+={}[]|:;<>,.?/\\ ";
// An index line longer than this is read to its end and dropped: no definition line is that long.
constexpr size_t kIndexLineMax = 64 * 1024;
// Between this many lines a large index gives Escape a chance.
constexpr long kEscapeInterval = 200000;

bool IsKeyChar(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte >= 32 && kDelimiters.find(c) == std::string_view::npos;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void Say(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

// Reads one line of any length; false at the end. A line over the limit comes back empty.
bool ReadIndexLine(std::FILE* file, std::string& line) {
    line.clear();
    bool any = false;
    bool overlong = false;
    char chunk[4096];
    while (std::fgets(chunk, sizeof chunk, file) != nullptr) {
        any = true;
        size_t n = std::strlen(chunk);  // a NUL byte ends the chunk early; the rest is ignored
        bool complete = n > 0 && chunk[n - 1] == '\n';
        if (!overlong) {
            line.append(chunk, complete ? n - 1 : n);
            if (line.size() > kIndexLineMax) {
                overlong = true;
                line.clear();
            }
        }
        if (complete || std::feof(file)) {
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return any;
}

// The parts of one key line; false when it has no "/^" opening.
struct KeyLine {
    std::string file;
    std::string pattern;
    bool complete = false;
    char kind = 0;
};

bool ParseKeyLine(std::string_view line, size_t keyLength, KeyLine& out) {
    char separator = line[keyLength];
    size_t at = keyLength;
    while (at < line.size() && IsBlank(line[at])) {
        ++at;
    }
    // ctags separates fields by tabs, so after a tab a file name may hold blanks.
    size_t end = at;
    while (end < line.size() && (separator == '\t' ? line[end] != '\t' : !IsBlank(line[end]))) {
        ++end;
    }
    out.file = std::string(line.substr(at, end - at));
    size_t open = line.find("/^", end);
    if (open == std::string_view::npos) {
        return false;
    }
    out.pattern.clear();
    out.complete = false;
    for (size_t i = open + 2; i < line.size(); ++i) {
        // The pattern ends at "$/;\"" (the whole line) or, as ctags writes it for a line it shortens
        // such as a #define, at "/;\"" (the line's beginning); either followed by a blank.
        size_t closing = line.compare(i, 4, "$/;\"") == 0 ? 4 : (line.compare(i, 3, "/;\"") == 0 ? 3 : 0);
        if (closing > 0 && i + closing < line.size() && IsBlank(line[i + closing])) {
            out.complete = true;
            size_t k = i + closing;
            while (k < line.size() && IsBlank(line[k])) {
                ++k;
            }
            out.kind = k < line.size() ? line[k] : 0;
            break;
        }
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '/' || line[i + 1] == '\\')) {
            ++i;
        }
        out.pattern += line[i];
    }
    return true;
}

std::string Trimmed(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last + 1 - first));
}

// The index's file name as a full path: relative names are relative to the index's directory.
std::string TagFilePath(const std::string& indexPath, const std::string& file) {
    if (!file.empty() && file[0] == '/') {
        return FullPath(file);
    }
    return FullPath(PathDirectory(FullPath(indexPath)) + file);
}

}  // namespace

std::string TagKeyAt(std::string_view text, size_t offset) {
    if (offset >= text.size() || !IsKeyChar(text[offset])) {
        return {};
    }
    size_t first = offset;
    while (first > 0 && IsKeyChar(text[first - 1])) {
        --first;
    }
    size_t last = offset;
    while (last + 1 < text.size() && IsKeyChar(text[last + 1])) {
        ++last;
    }
    return std::string(text.substr(first, last + 1 - first));
}

std::string HyphenatedTagKeyAt(std::string_view text, size_t offset) {
    auto inKey = [&text](size_t i) {
        return IsKeyChar(text[i]) || (text[i] == '-' && i > 0 && i + 1 < text.size() &&
                                      IsKeyChar(text[i - 1]) && IsKeyChar(text[i + 1]));
    };
    if (offset >= text.size() || !inKey(offset)) {
        return {};
    }
    size_t first = offset;
    while (first > 0 && inKey(first - 1)) {
        --first;
    }
    size_t last = offset;
    while (last + 1 < text.size() && inKey(last + 1)) {
        ++last;
    }
    return std::string(text.substr(first, last + 1 - first));
}

TagLookup LookupTag(AppSession& app, const std::string& indexPath, std::string_view key, char selector,
                    TagHit& hit) {
    FileStamp stamp;
    if (key.empty() || !StatPath(indexPath, stamp).Ok() || !stamp.isRegular) {
        return key.empty() ? TagLookup::KeyNotFound : TagLookup::CannotOpen;
    }
    FilePtr file(std::fopen(indexPath.c_str(), "r"));
    if (!file) {
        return TagLookup::CannotOpen;
    }
    char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(selector)));
    bool keySeen = false;
    bool patternSeen = false;
    std::string line;
    KeyLine parsed;
    for (long count = 1; ReadIndexLine(file.get(), line); ++count) {
        if (count % kEscapeInterval == 0 && Storage(app).EscapePressed()) {
            return TagLookup::Cancelled;
        }
        if (line.size() <= key.size() || line.compare(0, key.size(), key) != 0 ||
            !IsBlank(line[key.size()])) {
            continue;
        }
        keySeen = true;
        if (!ParseKeyLine(line, key.size(), parsed) || !parsed.complete) {
            continue;
        }
        patternSeen = true;
        if (std::toupper(static_cast<unsigned char>(parsed.kind)) == wanted) {
            hit.file = parsed.file;
            hit.pattern = parsed.pattern;
            return TagLookup::Found;
        }
    }
    if (!keySeen) {
        return TagLookup::KeyNotFound;
    }
    return patternSeen ? TagLookup::NoSelector : TagLookup::NoExactMatch;
}

std::string TagFindCommand(std::string_view pattern) {
    char quote = pattern.find('\'') == std::string_view::npos ? '\'' : '"';
    return Format("FIND C%c%s%c", quote, std::string(pattern).c_str(), quote);
}

int TagFind(AppSession& app, const TagFindRequest& request, TagFindActions& actions) {
    std::string action = VarGetValue(app, "ZCTAGSACTION");
    std::string index = VarGetValue(app, "ZCTAGSFILE");
    if (action.empty()) {
        Say(app, "TAGFIND: variable ZCTAGSACTION must be set to 'browse' or 'edit' before using TAGFIND.");
        return -1;
    }
    if (index.empty()) {
        Say(app,
            "TAGFIND: variable ZCTAGSFILE must be set to fully qualified name of CTAGS index file "
            "before using TAGFIND.");
        return -1;
    }
    std::string selector = Trimmed(request.parameters);
    if (selector.empty()) {
        Say(app, "TAGFIND: missing required parameter, correct form:  TAGFIND  selector");
        return -1;
    }
    if (selector.size() > 1) {
        Say(app, "TAGFIND: too many parameters, correct form:  TAGFIND  selector");
        return -1;
    }
    if (!request.inDataArea) {
        Say(app, "TAGFIND: cursor must be in data area.");
        return -1;
    }
    if (!request.onTextLine) {
        Say(app, "TAGFIND: cursor must be on text line.");
        return -1;
    }
    if (request.column < 1 || static_cast<size_t>(request.column) > request.lineText.size()) {
        Say(app, "TAGFIND: cursor beyond end of line.");
        return -1;
    }
    size_t offset = static_cast<size_t>(request.column - 1);
    std::string key = TagKeyAt(request.lineText, offset);
    TagHit hit;
    TagLookup result = LookupTag(app, index, key, selector[0], hit);
    // A COBOL name such as MAIN-PARA is one word to its index although "-" ends a key.
    std::string hyphenated = HyphenatedTagKeyAt(request.lineText, offset);
    if (result == TagLookup::KeyNotFound && hyphenated != key) {
        TagLookup second = LookupTag(app, index, hyphenated, selector[0], hit);
        if (second != TagLookup::KeyNotFound) {
            key = hyphenated;
            result = second;
        }
    }
    switch (result) {
        case TagLookup::CannotOpen:
            Say(app, Format("TAGFIND: unable to open CTAGS database '%s'", index.c_str()));
            return -1;
        case TagLookup::KeyNotFound:
            Say(app, Format("TAGFIND: key '%s' not found.", key.c_str()));
            return -1;
        case TagLookup::NoExactMatch:
            Say(app, "TAGFIND: found key but did not find 'exact match' string.");
            return -1;
        case TagLookup::NoSelector:
            Say(app, "TAGFIND: found key, but did not find selector.");
            return -1;
        case TagLookup::Cancelled:
            Say(app, "TAGFIND: search of CTAGS database cancelled.");
            return -1;
        case TagLookup::Found:
            break;
    }
    std::string target = TagFilePath(index, hit.file);
    if (target == FullPath(request.currentFile)) {
        actions.ShowInCurrentSession(hit.pattern);
        ShowMessage(app, "Target key in current file.", MsgTo::Line, Beep::None);
        return 0;
    }
    std::vector<std::string> arguments;
    if (action[0] == 'b' || action[0] == 'B') {
        arguments.push_back("-B");
    }
    arguments.push_back(target);
    arguments.push_back("-S");
    char quote = hit.pattern.find('"') == std::string::npos ? '"' : '\'';
    arguments.push_back(Format("FIND %c%s%c;.ctags;locate .ctags;reset;reset label;cursor", quote,
                               hit.pattern.c_str(), quote));
    if (actions.LaunchEditor(arguments, hit.pattern) != 0) {
        Say(app, "TAGFIND: unable launch process for browse/edit of source file.");
        return -1;
    }
    return 0;
}

}  // namespace tavoe
