#include <algorithm>
#include <string>

#include "macro/macro_interp.h"
#include "macro/macro_runtime.h"

namespace tavoe {

// The string functions. Columns are 1-based; texts a function builds are at most 1024 characters.

namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsAsciiAlnum(unsigned char c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c);
}
bool IsAsciiLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}
bool IsAsciiUpper(unsigned char c) {
    return c >= 'A' && c <= 'Z';
}

bool CountIs(const RuntimeCall& call, int count, const char* message) {
    return call.Count() == count || call.Fail(message);
}

// The text of a first argument that the function changes in place: the variable's value when it is
// one, else the argument's value (the change then goes nowhere).
bool TargetText(const RuntimeCall& call, std::string& text) {
    if (call.IsVariable(0)) {
        MacroValue* slot = call.VarSlot(0);
        if (slot == nullptr) {
            return !call.interp.Failed();
        }
        text = slot->Text();
        return true;
    }
    return call.Text(0, text);
}

// Stores into the first argument when it is a variable (no type check, as for every function that
// receives a variable).
bool StoreTarget(const RuntimeCall& call, const std::string& text) {
    if (!call.IsVariable(0)) {
        return true;
    }
    MacroValue* slot = call.VarSlot(0);
    if (slot != nullptr) {
        slot->SetText(text);
    }
    return !call.interp.Failed();
}

template <typename Pred>
bool ClassTest(const RuntimeCall& call, Pred pred) {
    std::string text;
    if (!CountIs(call, 1, "RUNTIME: one parameter required, P1=string") || !call.Text(0, text)) {
        return false;
    }
    bool all = !text.empty() && std::all_of(text.begin(), text.end(),
                                            [&](char c) { return pred(static_cast<unsigned char>(c)); });
    call.ReturnBool(all);
    return true;
}

// Changes the argument in place when it is a variable, and returns the changed text.
template <typename Change>
bool InPlace(const RuntimeCall& call, Change change) {
    std::string text;
    if (!CountIs(call, 1, "RUNTIME: one parameter required, P1=string") || !TargetText(call, text)) {
        return false;
    }
    change(text);
    if (!StoreTarget(call, text)) {
        return false;
    }
    call.Return(text);
    return true;
}

// Words of a text, split at any of the delimiters: blanks before a word are skipped, trailing blanks
// removed, empty words dropped. With quotes honoured, a word that begins with a quote runs to the
// matching quote, which is removed, and delimiters inside it are ordinary characters.
std::vector<std::string> ParseWords(const std::string& text, const std::string& delimiters, bool quotes) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ') {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        std::string word;
        if (quotes && (text[pos] == '"' || text[pos] == '\'')) {
            size_t end = text.find(text[pos], pos + 1);
            if (end == std::string::npos) {
                end = text.size();
            }
            word = text.substr(pos + 1, end - pos - 1);
            pos = end + 1;
        } else {
            size_t end = text.find_first_of(delimiters, pos);
            if (end == std::string::npos) {
                end = text.size();
            }
            word = text.substr(pos, end - pos);
            pos = end + 1;
            size_t last = word.find_last_not_of(' ');
            word.erase(last == std::string::npos ? 0 : last + 1);
        }
        if (!word.empty()) {
            words.push_back(std::move(word));
        }
    }
    return words;
}

bool Parse(const RuntimeCall& call, bool quotes) {
    if (!CountIs(call, 3,
                 "RUNTIME: three parameters required, P1=array-receiver, P2=source-string, "
                 "P3=parse-pattern-string")) {
        return false;
    }
    if (!call.IsVariable(0)) {
        return call.Fail("RUNTIME: parm1 must be a variable");
    }
    std::string text;
    std::string delimiters;
    if (!call.Text(1, text) || !call.Text(2, delimiters)) {
        return false;
    }
    const PNode* ref = call.ArgNode(0);
    MacroVar* var = call.interp.ResolveVar(ref);
    if (var == nullptr) {
        return call.Fail("RUNTIME: parm1, unable to resolve var reference");
    }
    if (!var->isArray || ref->op1 != nullptr) {
        return call.Fail("RUNTIME: parm1 must be an array variable");
    }
    std::vector<std::string> words = ParseWords(text, delimiters, quotes);
    var->elements.resize(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        var->elements[i].SetText(words[i]);
    }
    call.ReturnNumber(static_cast<int64_t>(words.size()));
    return true;
}

bool Strip(const RuntimeCall& call, bool leading) {
    std::string pattern;
    std::string text;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=target-string, P2=strip-pattern-string") ||
        !call.Text(1, pattern)) {
        return false;
    }
    if (pattern.size() != 1) {
        return call.Fail(leading ? "RUNTIME: StrStripLead strip pattern string too long."
                                 : "RUNTIME: StrStripTrail strip pattern string too long.");
    }
    if (!TargetText(call, text)) {
        return false;
    }
    if (leading) {
        size_t first = text.find_first_not_of(pattern[0]);
        text.erase(0, first == std::string::npos ? text.size() : first);
    } else {
        size_t last = text.find_last_not_of(pattern[0]);
        text.erase(last == std::string::npos ? 0 : last + 1);
    }
    return StoreTarget(call, text);
}

}  // namespace

bool RtStrCat(const RuntimeCall& call) {
    std::string add;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=target-string, P2=catenate-string")) {
        return false;
    }
    if (!call.IsVariable(0)) {
        return call.Fail("RUNTIME: parm1 must be a variable");
    }
    std::string text;
    if (!call.Text(1, add) || !TargetText(call, text)) {
        return false;
    }
    if (text.size() + add.size() > kRuntimeResultMax) {
        return call.Fail("RUNTIME: catenated strings would overflow buffer");
    }
    return StoreTarget(call, text + add);
}

bool RtStrCenter(const RuntimeCall& call) {
    std::string pad;
    int32_t length = 0;
    if (!CountIs(call, 3,
                 "RUNTIME: three parameters required, P1=string-to-center, P2=pad-string, P3=length") ||
        !call.Text(1, pad) || !call.Number(2, length)) {
        return false;
    }
    if (pad.size() != 1) {
        return call.Fail("RUNTIME: CENTER pad string too long.");
    }
    std::string text;
    if (!TargetText(call, text)) {
        return false;
    }
    size_t width = static_cast<size_t>(std::clamp<int64_t>(length, 0, kRuntimeResultMax));
    if (text.size() >= width) {
        return true;
    }
    size_t d = width - text.size();
    return StoreTarget(call, std::string(d / 2, pad[0]) + text + std::string(d - d / 2, pad[0]));
}

bool RtStrCmp(const RuntimeCall& call) {
    std::string a;
    std::string b;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=string1, P2=string2") || !call.Text(0, a) ||
        !call.Text(1, b)) {
        return false;
    }
    int c = a.compare(b);
    call.ReturnNumber(c < 0 ? -1 : (c > 0 ? 1 : 0));
    return true;
}

bool RtStrCompose(const RuntimeCall& call) {
    if (call.Count() < 2) {
        return call.Fail("RUNTIME: two or more parameters required, P1=string, P2=string [, P3...]");
    }
    std::string composed;
    std::string part;
    for (int i = 0; i < call.Count(); ++i) {
        if (!call.Text(i, part)) {
            return false;
        }
        composed += part;
        if (composed.size() > kRuntimeResultMax) {
            return call.Fail("RUNTIME: composed string exceeds max buffer size");
        }
    }
    call.Return(composed);
    return true;
}

bool RtStrCpy(const RuntimeCall& call) {
    std::string text;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=target-string, P2=copy-string") ||
        !call.Text(1, text)) {
        return false;
    }
    return StoreTarget(call, text);
}

bool RtStrDelSubstr(const RuntimeCall& call) {
    int32_t column = 0;
    int32_t length = 0;
    std::string text;
    if (!CountIs(call, 3, "RUNTIME: three parameters required, P1=string, P2=start-col, P3=length") ||
        !call.Number(1, column) || !call.Number(2, length) || !TargetText(call, text)) {
        return false;
    }
    if (column <= 0) {
        return call.Fail("RUNTIME: parm2, delete column is less or equal 0");
    }
    if (static_cast<int64_t>(column) - 1 + length > static_cast<int64_t>(text.size())) {
        return call.Fail("RUNTIME: parm2, parm3, delete column plus delete length exceeds string length");
    }
    if (length > 0) {
        text.erase(static_cast<size_t>(column - 1), static_cast<size_t>(length));
    }
    return StoreTarget(call, text);
}

bool RtStrFindSubstr(const RuntimeCall& call) {
    std::string text;
    std::string find;
    int32_t start = 0;
    if (!CountIs(call, 3,
                 "RUNTIME: three parameters required, P1=source-string, P2=find-string, P3=start-col") ||
        !call.Text(0, text) || !call.Text(1, find) || !call.Number(2, start)) {
        return false;
    }
    if (find.empty()) {
        return call.Fail("RUNTIME: parm2, string is null");
    }
    if (start <= 0) {
        return call.Fail("RUNTIME: parm2, start column is less or equal 0");
    }
    size_t from = static_cast<size_t>(start - 1);
    size_t at = from <= text.size() ? text.find(find, from) : std::string::npos;
    call.ReturnNumber(at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1);
    return true;
}

bool RtStrFindLast(const RuntimeCall& call) {
    std::string text;
    std::string find;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=source-string, P2=find-string") ||
        !call.Text(0, text) || !call.Text(1, find)) {
        return false;
    }
    if (find.empty()) {
        return call.Fail("RUNTIME: parm2, string is null");
    }
    size_t at = text.rfind(find);
    call.ReturnNumber(at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1);
    return true;
}

// Lengths beyond the 1024-character result are cut to it.
bool RtStrGenStr(const RuntimeCall& call) {
    std::string pattern;
    int32_t length = 0;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=pattern-string, P2=target-length") ||
        !call.Text(0, pattern) || !call.Number(1, length)) {
        return false;
    }
    if (pattern.empty() || length <= 0) {
        return call.Fail("RUNTIME: StrGenStr null pattern string or target length 0");
    }
    size_t width = std::min<size_t>(static_cast<size_t>(length), kRuntimeResultMax);
    std::string text;
    text.reserve(width);
    while (text.size() < width) {
        text += pattern.substr(0, width - text.size());
    }
    call.Return(text);
    return true;
}

bool RtStrGetSubstr(const RuntimeCall& call) {
    std::string text;
    int32_t column = 0;
    int32_t count = 0;
    if (!CountIs(call, 3, "RUNTIME: three parameters required, P1=source-string, P2=start-col, P3=length") ||
        !call.Text(0, text) || !call.Number(1, column) || !call.Number(2, count)) {
        return false;
    }
    if (column <= 0) {
        return call.Fail("RUNTIME: parm2, start column is less or equal 0");
    }
    if (count <= 0) {
        return call.Fail("RUNTIME: parm3, count is less or equal 0");
    }
    if (static_cast<int64_t>(column) - 1 + count > static_cast<int64_t>(text.size())) {
        return call.Fail("RUNTIME: parm2, parm3, start column plus count exceeds string length");
    }
    call.Return(text.substr(static_cast<size_t>(column - 1), static_cast<size_t>(count)));
    return true;
}

bool RtStrInsSubstr(const RuntimeCall& call) {
    std::string insert;
    int32_t column = 0;
    std::string text;
    if (!CountIs(
            call, 3,
            "RUNTIME: three parameters required, P1=target-string, P2=insert-string, P3=insert-column") ||
        !call.Text(1, insert) || !call.Number(2, column) || !TargetText(call, text)) {
        return false;
    }
    if (insert.empty()) {
        return call.Fail("RUNTIME: parm2, string is null");
    }
    if (column <= 0) {
        return call.Fail("RUNTIME: parm3, insert column is less or equal 0");
    }
    if (static_cast<size_t>(column) > text.size() + 1) {
        return call.Fail("RUNTIME: parm3, insert column greater than base string length");
    }
    if (text.size() + insert.size() > kRuntimeResultMax) {
        return call.Fail(
            "RUNTIME: parm2, parm3, base string length plus insert length exceeds maximum buffer size");
    }
    text.insert(static_cast<size_t>(column - 1), insert);
    return StoreTarget(call, text);
}

bool RtStrIsAlnum(const RuntimeCall& call) {
    return ClassTest(call, IsAsciiAlnum);
}
bool RtStrIsAlpha(const RuntimeCall& call) {
    return ClassTest(call, IsAsciiLetter);
}
bool RtStrIsDigit(const RuntimeCall& call) {
    return ClassTest(call, IsAsciiDigit);
}
bool RtStrIsLower(const RuntimeCall& call) {
    return ClassTest(call, IsAsciiLower);
}
bool RtStrIsUpper(const RuntimeCall& call) {
    return ClassTest(call, IsAsciiUpper);
}

bool RtStrIsInSet(const RuntimeCall& call) {
    std::string check;
    std::string set;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=check-string, P2=set-string") ||
        !call.Text(0, check) || !call.Text(1, set)) {
        return false;
    }
    call.ReturnBool(!check.empty() && !set.empty() && set.find(check) != std::string::npos);
    return true;
}

bool RtStrLen(const RuntimeCall& call) {
    std::string text;
    if (!CountIs(call, 1, "RUNTIME: one parameter required, P1=string") || !call.Text(0, text)) {
        return false;
    }
    call.ReturnNumber(static_cast<int64_t>(text.size()));
    return true;
}

bool RtStrLwr(const RuntimeCall& call) {
    return InPlace(call, [](std::string& text) {
        for (char& c : text) {
            if (IsAsciiUpper(static_cast<unsigned char>(c))) {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
    });
}

bool RtStrUpr(const RuntimeCall& call) {
    return InPlace(call, [](std::string& text) {
        for (char& c : text) {
            if (IsAsciiLower(static_cast<unsigned char>(c))) {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
    });
}

bool RtStrRev(const RuntimeCall& call) {
    return InPlace(call, [](std::string& text) { std::reverse(text.begin(), text.end()); });
}

bool RtStrNCmp(const RuntimeCall& call) {
    std::string a;
    std::string b;
    int32_t count = 0;
    if (!CountIs(call, 3, "RUNTIME: three parameters required, P1=string1, P2=string2, P3=count") ||
        !call.Text(0, a) || !call.Text(1, b) || !call.Number(2, count)) {
        return false;
    }
    size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    int c = a.substr(0, std::min(n, a.size())).compare(b.substr(0, std::min(n, b.size())));
    call.ReturnNumber(c < 0 ? -1 : (c > 0 ? 1 : 0));
    return true;
}

bool RtStrNCpy(const RuntimeCall& call) {
    std::string text;
    int32_t count = 0;
    if (!CountIs(
            call, 3,
            "RUNTIME: three parameters required, P1=target-string, P2=copy-string, P3=max-copy-length") ||
        !call.Text(1, text) || !call.Number(2, count)) {
        return false;
    }
    size_t n = static_cast<size_t>(std::clamp<int64_t>(count, 0, kRuntimeResultMax));
    return StoreTarget(call, text.substr(0, std::min(n, text.size())));
}

// The overlay may start right after the last character (it then appends).
bool RtStrOvlSubstr(const RuntimeCall& call) {
    std::string overlay;
    int32_t column = 0;
    std::string text;
    if (!CountIs(
            call, 3,
            "RUNTIME: three parameters required, P1=target-string, P2=overlay-string, P3=overlay-column") ||
        !call.Text(1, overlay) || !call.Number(2, column) || !TargetText(call, text)) {
        return false;
    }
    if (overlay.empty()) {
        return call.Fail("RUNTIME: parm2, string is null");
    }
    if (column <= 0) {
        return call.Fail("RUNTIME: parm3, overlay column is less or equal 0");
    }
    if (static_cast<size_t>(column) > text.size() + 1) {
        return call.Fail("RUNTIME: parm3, overlay column greater than base string length");
    }
    size_t at = static_cast<size_t>(column - 1);
    if (at + overlay.size() > kRuntimeResultMax) {
        return call.Fail(
            "RUNTIME: parm2, parm3, overlay column plus overlay length exceeds maximum buffer size");
    }
    if (text.size() < at + overlay.size()) {
        text.resize(at + overlay.size());
    }
    text.replace(at, overlay.size(), overlay);
    return StoreTarget(call, text);
}

bool RtStrParse(const RuntimeCall& call) {
    return Parse(call, true);
}

bool RtStrParseX(const RuntimeCall& call) {
    return Parse(call, false);
}

bool RtStrParseWord(const RuntimeCall& call) {
    std::string text;
    int32_t column = 0;
    if (!CountIs(call, 2, "RUNTIME: two parameters required, P1=string, P2=parse-column") ||
        !call.Text(0, text) || !call.Number(1, column)) {
        return false;
    }
    size_t at = column < 1 ? 0 : static_cast<size_t>(column - 1);
    if (at >= text.size() || !IsAsciiAlnum(static_cast<unsigned char>(text[at]))) {
        call.Return("");
        return true;
    }
    size_t begin = at;
    while (begin > 0 && IsAsciiAlnum(static_cast<unsigned char>(text[begin - 1]))) {
        --begin;
    }
    size_t end = at;
    while (end < text.size() && IsAsciiAlnum(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    if (end - begin > kRuntimeResultMax) {
        return call.Fail("RUNTIME: parsed word exceeds internal buffer size");
    }
    call.Return(text.substr(begin, end - begin));
    return true;
}

bool RtStrStripLeading(const RuntimeCall& call) {
    return Strip(call, true);
}

bool RtStrStripTrailing(const RuntimeCall& call) {
    return Strip(call, false);
}

}  // namespace tavoe
