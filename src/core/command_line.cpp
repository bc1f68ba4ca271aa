#include "core/command_line.h"

#include "platform/ascii_case.h"

namespace tavoe {

namespace {

size_t SkipBlanks(std::string_view text, size_t at) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    return at;
}

}  // namespace

std::string CommandToUpper(std::string_view text) {
    return UpperAscii(text);
}

std::string_view CommandTrim(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    size_t end = text.find_last_not_of(' ');
    return text.substr(start, end - start + 1);
}

std::optional<std::string_view> NextSubCommand(std::string_view& rest) {
    size_t start = 0;
    while (start < rest.size() && (rest[start] == ' ' || rest[start] == ';')) {
        ++start;
    }
    if (start == rest.size()) {
        rest = {};
        return std::nullopt;
    }
    // A quote opens a pair only outside the other kind, so "it's" inside double quotes does not
    // hide the ";" after the closing double quote.
    char openQuote = 0;
    size_t end = start;
    for (; end < rest.size(); ++end) {
        char c = rest[end];
        if (openQuote != 0) {
            if (c == openQuote) {
                openQuote = 0;
            }
        } else if (c == '"' || c == '\'') {
            openQuote = c;
        } else if (c == ';') {
            break;
        }
    }
    std::string_view command = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return command;
}

EditCommandLine SplitEditCommand(std::string_view subCommand) {
    EditCommandLine line;
    size_t blank = subCommand.find(' ');
    line.verb = CommandToUpper(subCommand.substr(0, blank));
    if (blank != std::string_view::npos) {
        line.params = std::string(subCommand.substr(SkipBlanks(subCommand, blank)));
    }
    return line;
}

CommandWords CommandFirstWord(std::string_view text) {
    size_t start = SkipBlanks(text, 0);
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) {
        return {text.substr(start), {}};
    }
    return {text.substr(start, end - start), text.substr(SkipBlanks(text, end))};
}

GeneralCommandLine SplitGeneralCommand(std::string_view text) {
    GeneralCommandLine line;
    size_t blank = text.find(' ');
    line.verb = CommandToUpper(text.substr(0, blank));
    if (blank == std::string_view::npos) {
        return line;
    }
    std::string_view params = text.substr(SkipBlanks(text, blank));
    line.allParams = std::string(params);
    CommandWords first = CommandFirstWord(params);
    line.p1 = CommandToUpper(first.word);
    CommandWords second = CommandFirstWord(first.rest);
    line.p2 = CommandToUpper(second.word);
    line.rest = std::string(second.rest);
    return line;
}

std::optional<FileListCommandLine> NextFileListCommand(std::string_view text, size_t& position) {
    size_t at = position;
    while (at < text.size() && (text[at] == ' ' || text[at] == ';')) {
        ++at;
    }
    if (at >= text.size()) {
        position = text.size();
        return std::nullopt;
    }
    FileListCommandLine line;
    line.start = at;
    size_t verbEnd = at;
    while (verbEnd < text.size() && text[verbEnd] != ' ' && text[verbEnd] != ';') {
        ++verbEnd;
    }
    line.verb = CommandToUpper(text.substr(at, verbEnd - at));
    if (line.verb == "S" || line.verb == "SEL") {
        line.verb = "SELECT";
    }
    size_t paramStart = SkipBlanks(text, verbEnd);
    size_t paramEnd = paramStart;
    while (paramEnd < text.size() && text[paramEnd] != ';') {
        ++paramEnd;
    }
    line.params = std::string(text.substr(paramStart, paramEnd - paramStart));
    position = paramEnd;
    return line;
}

}  // namespace tavoe
