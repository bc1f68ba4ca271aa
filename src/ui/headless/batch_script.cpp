#include "ui/headless/batch_script.h"

#include <cctype>
#include <string>

#include "platform/ascii_case.h"
#include "platform/format.h"
#include "ui/glyph_map.h"

namespace tavoe {

namespace ui {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A row number of at most four digits, at least 1.
bool ParseRow(std::string_view text, int& row) {
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    row = std::stoi(std::string(text));
    return row >= 1;
}

// "!screen" words: COLORS, and a row range "A-B" or a single row "A"; each at most once.
bool ParseScreenArguments(std::string_view words, ScriptItem& item) {
    while (!words.empty()) {
        size_t end = words.find(' ');
        std::string_view word = words.substr(0, end);
        words = end == std::string_view::npos ? std::string_view() : TrimBlanks(words.substr(end));
        if (word == "COLORS" && item.text.empty()) {
            item.text = "COLORS";
            continue;
        }
        if (item.firstRow != 0) {
            return false;
        }
        size_t dash = word.find('-');
        if (!ParseRow(word.substr(0, dash), item.firstRow)) {
            return false;
        }
        item.lastRow = item.firstRow;
        if (dash != std::string_view::npos && !ParseRow(word.substr(dash + 1), item.lastRow)) {
            return false;
        }
        if (item.lastRow < item.firstRow) {
            return false;
        }
    }
    return true;
}

ScriptItem ErrorItem(int line, const std::string& message) {
    ScriptItem item;
    item.kind = ScriptItemKind::Error;
    item.text = Format("line %d: %s", line, message.c_str());
    return item;
}

}  // namespace

BatchScript::BatchScript(std::istream& in, DisplaySet set) : in_(in), set_(set), parser_(set) {}

void BatchScript::SetDisplaySet(DisplaySet set) {
    set_ = set;
    parser_.SetDisplaySet(set);
}

ScriptItem BatchScript::Next() {
    std::string line;
    while (std::getline(in_, line)) {
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '#') {
            continue;
        }
        ScriptItem item;
        if (line.empty() || line[0] != '!') {
            item.kind = ScriptItemKind::TypedLine;
            item.text = DisplayBytesFromUtf8(line, set_);
            return item;
        }
        std::string_view rest(line);
        rest.remove_prefix(1);
        size_t blank = rest.find(' ');
        std::string word = UpperAscii(rest.substr(0, blank));
        std::string_view argument =
            blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        if (word == "KEYS") {
            std::string error;
            item.kind = ScriptItemKind::Keys;
            if (!parser_.Parse(argument, item.events, error)) {
                return ErrorItem(lineNumber_, error);
            }
            return item;
        }
        if (word == "REPLY") {
            std::string answer = UpperAscii(TrimBlanks(argument));
            item.kind = ScriptItemKind::Reply;
            if (answer == "OK") {
                item.reply = MsgBoxReply::Ok;
            } else if (answer == "YES") {
                item.reply = MsgBoxReply::Yes;
            } else if (answer == "NO") {
                item.reply = MsgBoxReply::No;
            } else if (answer == "CANCEL") {
                item.reply = MsgBoxReply::Cancel;
            } else {
                return ErrorItem(lineNumber_, "!reply needs OK, YES, NO or CANCEL, got '" + answer + "'");
            }
            return item;
        }
        if (word == "SCREEN") {
            item.kind = ScriptItemKind::Screen;
            if (!ParseScreenArguments(UpperAscii(TrimBlanks(argument)), item)) {
                return ErrorItem(lineNumber_,
                                 "!screen takes COLORS and a row range A-B (from 1), nothing else");
            }
            return item;
        }
        if (word == "VAR") {
            std::string_view name = TrimBlanks(argument);
            if (name.empty()) {
                return ErrorItem(lineNumber_, "!var needs a variable name");
            }
            item.kind = ScriptItemKind::Var;
            item.text = std::string(name);
            return item;
        }
        if (word == "SET") {
            size_t equals = argument.find('=');
            std::string_view name = TrimBlanks(argument.substr(0, equals));
            if (equals == std::string_view::npos || name.empty()) {
                return ErrorItem(lineNumber_, "!set needs NAME=VALUE");
            }
            item.kind = ScriptItemKind::Set;
            item.text = std::string(name);
            item.value = DisplayBytesFromUtf8(argument.substr(equals + 1), set_);
            return item;
        }
        return ErrorItem(lineNumber_, "unknown command !" + std::string(rest.substr(0, blank)));
    }
    return ScriptItem{};
}

}  // namespace ui

}  // namespace tavoe
