#include "commands/find_params.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::int32_t kColumnMax = 64000;
constexpr long kNumberCeiling = 1000000000;

// What the parse needs of the session, so that the same rules run without one.
struct ParseContext {
    EditSession* session = nullptr;
    std::int32_t boundsLeft = 1;
    std::int32_t boundsRight = 128;
    bool capsOn = false;
};

enum class StringKind { Plain, Quoted, Exact, Hex, Picture, Star };

class Parser {
public:
    Parser(AppSession& app, const ParseContext& context, ParseMode mode)
        : app_(app), context_(context), mode_(mode) {}

    FindParameters Run(std::string_view text, StringRequired required);

private:
    bool Fail(std::string_view text, Beep beep) {
        ShowMessage(app_, text, MsgTo::Box, beep);
        p_.failed = true;
        return false;
    }
    bool ReadWords(std::string_view text);
    bool Keyword(std::string_view upper);
    bool AddString(std::string value, StringKind kind);
    bool AddQuoted(char letter, std::string_view body);
    bool TakeSelection();
    bool TakeNumbers();
    bool SetColumns();

    AppSession& app_;
    const ParseContext& context_;
    ParseMode mode_;
    FindParameters p_;
    bool string1Set_ = false;
    bool starUsed_ = false;
    int labels_ = 0;
    std::vector<std::pair<long, std::string>> numbers_;
    std::vector<std::int32_t> columns_;
};

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsQuote(char c) {
    return c == '\'' || c == '"';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The body of a quoted string starting at `at` (the opening quote): up to the matching quote or the
// end of the text. `next` becomes the position after the closing quote.
std::string_view QuotedBody(std::string_view text, std::size_t at, std::size_t& next) {
    char quote = text[at];
    std::size_t close = text.find(quote, at + 1);
    if (close == std::string_view::npos) {
        next = text.size();
        return text.substr(at + 1);
    }
    next = close + 1;
    return text.substr(at + 1, close - at - 1);
}

// A word beginning with c, x or p (either case) immediately followed by a quote.
bool IsLetterQuoted(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size() || !IsQuote(text[at + 1])) {
        return false;
    }
    char c = static_cast<char>(text[at] | 0x20);
    return c == 'c' || c == 'x' || c == 'p';
}

bool AllDigits(std::string_view word) {
    return !word.empty() &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool Parser::Keyword(std::string_view upper) {
    struct Row {
        std::string_view word;
        void (*apply)(FindParameters&);
    };
    static constexpr Row kKeywords[] = {
        {"ALL", [](FindParameters& p) { p.direction = FindDirection::All; }},
        {"DUPLINES", [](FindParameters& p) { p.constraint = FindConstraint::DupLines; }},
        {"EOL", [](FindParameters& p) { p.constraint = FindConstraint::Eol; }},
        {"FIRST", [](FindParameters& p) { p.direction = FindDirection::First; }},
        {"LAST", [](FindParameters& p) { p.direction = FindDirection::Last; }},
        {"NEXT", [](FindParameters& p) { p.direction = FindDirection::Next; }},
        {"NX", [](FindParameters& p) { p.lineFilter = LineFilter::Visible; }},
        {"PREFIX", [](FindParameters& p) { p.constraint = FindConstraint::Prefix; }},
        {"PREV", [](FindParameters& p) { p.direction = FindDirection::Prev; }},
        {"QUIET", [](FindParameters& p) { p.quiet = true; }},
        {"SUFFIX", [](FindParameters& p) { p.constraint = FindConstraint::Suffix; }},
        {"WORD", [](FindParameters& p) { p.constraint = FindConstraint::Word; }},
        {"X", [](FindParameters& p) { p.lineFilter = LineFilter::Excluded; }},
    };
    for (const Row& row : kKeywords) {
        if (row.word == upper) {
            row.apply(p_);
            return true;
        }
    }
    return false;
}

bool Parser::AddString(std::string value, StringKind kind) {
    if (!string1Set_) {
        string1Set_ = true;
        p_.exact1 = kind == StringKind::Exact || kind == StringKind::Hex;
        p_.picture1 = kind == StringKind::Picture;
        if (kind == StringKind::Star && context_.session != nullptr) {
            p_.exact1 = context_.session->find.previousExact1;
            p_.picture1 = context_.session->find.previousPicture1;
        }
        p_.string1 = std::move(value);
        return true;
    }
    if (p_.string2Given) {
        return Fail("FIND/CHANGE too many strings.", Beep::Exclamation);
    }
    p_.string2Given = true;
    p_.exact2 = kind != StringKind::Plain;
    p_.picture2 = kind == StringKind::Picture;
    if (kind == StringKind::Star && context_.session != nullptr) {
        p_.picture2 = context_.session->find.previousPicture2;
    }
    if (p_.picture2) {
        for (char c : value) {
            if (std::string_view("#$-.@^").find(c) != std::string_view::npos) {
                return Fail(Format("'%c' not allowed in picture STRING2", c), Beep::Exclamation);
            }
        }
    }
    if ((kind == StringKind::Plain || kind == StringKind::Quoted) && context_.capsOn) {
        value = UpperAscii(value);
    }
    p_.string2 = std::move(value);
    return true;
}

bool Parser::AddQuoted(char letter, std::string_view body) {
    switch (letter | 0x20) {
        case 'c':
            return AddString(std::string(body), StringKind::Exact);
        case 'p':
            return AddString(std::string(body), StringKind::Picture);
        case 'x': {
            if (body.size() % 2 != 0) {
                return Fail("FIND/CHANGE bad or unpaired hex digit, valid range 0..F.", Beep::Exclamation);
            }
            std::string bytes;
            for (std::size_t i = 0; i < body.size(); i += 2) {
                int high = HexValue(body[i]);
                int low = HexValue(body[i + 1]);
                if (high < 0 || low < 0) {
                    return Fail("FIND/CHANGE bad or unpaired hex digit, valid range 0..F.",
                                Beep::Exclamation);
                }
                bytes.push_back(static_cast<char>(high * 16 + low));
            }
            // An EBCDIC file is searched in what the user sees: the stored codes become display codes.
            if (context_.session != nullptr) {
                EditBuffer& buffer = context_.session->buffer;
                if (buffer.profile.diskCharset == ProfileCharset::Ebcdic && !bytes.empty()) {
                    CharSet display = buffer.profile.displayCharset == ProfileCharset::AsciiIbmPc
                                          ? CharSet::AsciiIbmPc
                                          : CharSet::AsciiIso8859;
                    (void)Translate(buffer.host, CharSet::Ebcdic, display, bytes.data(), bytes.data(),
                                    static_cast<int>(bytes.size()));
                }
            }
            return AddString(std::move(bytes), StringKind::Hex);
        }
        default:
            return AddString(std::string(body), StringKind::Quoted);
    }
}

bool Parser::TakeSelection() {
    if (string1Set_) {
        return Fail("FIND/CHANGE/EXCLUDE string one already set, can not set to current text selection.",
                    Beep::Exclamation);
    }
    const LineRecord* selected = nullptr;
    int lines = 0;
    if (context_.session != nullptr) {
        for (const LineRecord& line : Lines(context_.session->buffer)) {
            if (LineHasSelection(line) && ++lines == 1) {
                selected = &line;
            }
        }
    }
    if (lines != 1) {
        return Fail("FIND/CHANGE/EXCLUDE text selection must be single line (or subset), command ignored.",
                    Beep::Exclamation);
    }
    std::string_view text = LineText(*selected);
    auto first = static_cast<std::size_t>(selected->selStart - 1);
    auto last = static_cast<std::size_t>(std::max(selected->selEnd, selected->selStart));
    std::string value = first < text.size() ? std::string(text.substr(first, last - first)) : std::string();
    value.resize(std::min<std::size_t>(value.size(), kFindTextMax));
    return AddString(std::move(value), StringKind::Quoted);
}

bool Parser::ReadWords(std::string_view text) {
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            return true;
        }
        std::size_t next = i;
        if (IsQuote(text[i])) {
            std::string_view body = QuotedBody(text, i, next);
            if (!AddQuoted('\'', body)) {
                return false;
            }
            i = next;
            continue;
        }
        if (IsLetterQuoted(text, i)) {
            std::string_view body = QuotedBody(text, i + 1, next);
            if (!AddQuoted(text[i], body)) {
                return false;
            }
            i = next;
            continue;
        }
        while (next < text.size() && !IsBlank(text[next])) {
            ++next;
        }
        std::string_view word = text.substr(i, next - i);
        i = next;
        std::string upper = UpperAscii(word);
        if (Keyword(upper)) {
            continue;
        }
        if (upper == "SELECTION") {
            if (!TakeSelection()) {
                return false;
            }
        } else if (upper == "*") {
            if (starUsed_) {
                return Fail("FIND/CHANGE/EXCLUDE too many '*' specified.", Beep::Exclamation);
            }
            starUsed_ = true;
            std::string previous;
            if (context_.session != nullptr) {
                previous = string1Set_ ? context_.session->find.previousString2
                                       : context_.session->find.previousString1;
            }
            if (!AddString(std::move(previous), StringKind::Star)) {
                return false;
            }
        } else if (word.size() > 1 && word.front() == '.') {
            if (++labels_ > 2) {
                return Fail("FIND/CHANGE too many labels.", Beep::Exclamation);
            }
            (labels_ == 1 ? p_.label1 : p_.label2) = upper;
        } else if (AllDigits(word)) {
            long value = 0;
            for (char c : word) {
                value = std::min(value * 10 + (c - '0'), kNumberCeiling);
            }
            numbers_.emplace_back(value, std::string(word));
        } else if (!AddString(std::string(word), StringKind::Plain)) {
            return false;
        }
    }
}

// Numbers become string one when there is none, then columns.
bool Parser::TakeNumbers() {
    if (mode_ == ParseMode::Change && !p_.string2Given && !numbers_.empty()) {
        return Fail("To specify a number for STRING1 or STRING2, put it in quotes.", Beep::Information);
    }
    for (auto& [value, digits] : numbers_) {
        if (!string1Set_) {
            string1Set_ = true;
            p_.string1 = digits;
            continue;
        }
        if (columns_.size() == 2) {
            return Fail("FIND/CHANGE too many columns specified.", Beep::Exclamation);
        }
        if (value == 0) {
            return Fail("FIND/CHANGE can't specify column 0.", Beep::Exclamation);
        }
        if (value > kColumnMax) {
            return Fail(Format("FIND/CHANGE column greater than %d.", kColumnMax), Beep::Exclamation);
        }
        columns_.push_back(static_cast<std::int32_t>(value));
    }
    return true;
}

bool Parser::SetColumns() {
    if (columns_.empty()) {
        p_.startColumn = context_.boundsLeft;
        p_.endColumn = context_.boundsRight;
        return true;
    }
    p_.startColumn = columns_[0];
    if (columns_.size() == 1) {
        p_.endColumn =
            p_.startColumn + std::max<std::int32_t>(static_cast<std::int32_t>(p_.string1.size()), 1) - 1;
        return true;
    }
    p_.endColumn = columns_[1];
    if (p_.endColumn < p_.startColumn) {
        return Fail("FIND/CHANGE end column less than start column.", Beep::Exclamation);
    }
    return true;
}

FindParameters Parser::Run(std::string_view text, StringRequired required) {
    if (text.size() > kFindTextMax) {
        ShowMessage(app_, "FIND/CHANGE/EXCLUDE parameter string too long, must be <= 255 characters.",
                    MsgTo::Box, Beep::Information);
        p_.failed = true;
        return p_;
    }
    if (!ReadWords(text) || !TakeNumbers()) {
        return p_;
    }
    if (!p_.exact1) {
        p_.lower1 = LowerAscii(p_.string1);
        p_.upper1 = UpperAscii(p_.string1);
    }
    p_.blank1 = !p_.string1.empty() && p_.string1.find_first_not_of(' ') == std::string::npos;
    if (p_.picture1 && p_.picture2 && p_.string1.size() != p_.string2.size()) {
        Fail("FIND/CHANGE picture STRING2 must be same length as picture STRING1", Beep::Information);
        return p_;
    }
    if (!SetColumns()) {
        return p_;
    }
    if (required == StringRequired::Yes && p_.string1.empty()) {
        Fail("FIND/CHANGE string length 0, may need to be enclosed in quotes", Beep::Information);
    }
    return p_;
}

ParseContext ContextOf(EditSession& session) {
    const FileProfile& profile = session.buffer.profile;
    ParseContext context;
    context.session = &session;
    std::int32_t length = profile.maxRecordLength > 0 ? profile.maxRecordLength : 128;
    context.boundsLeft = profile.boundsLeft > 0 ? profile.boundsLeft : 1;
    context.boundsRight = profile.boundsRight > 0 ? profile.boundsRight : length;
    context.capsOn =
        profile.caps == CapsMode::On || (profile.caps == CapsMode::Auto && session.buffer.file.capsOn);
    return context;
}

}  // namespace

FindParameters ParseFindText(AppSession& app, std::string_view text, ParseMode mode, StringRequired required,
                             std::int32_t boundsLeft, std::int32_t boundsRight) {
    ParseContext context;
    context.boundsLeft = boundsLeft;
    context.boundsRight = boundsRight;
    FindParameters p = Parser(app, context, mode).Run(text, required);
    if (!p.failed && mode == ParseMode::Find && p.string2Given) {
        ShowMessage(app, "FIND, too many strings.", MsgTo::Box, Beep::Exclamation);
        p.failed = true;
    }
    return p;
}

FindParameters ParseFindParameters(AppSession& app, EditSession& session, std::string_view text,
                                   ParseMode mode, StringRequired required) {
    ParseContext context = ContextOf(session);
    FindParameters p = Parser(app, context, mode).Run(text, required);
    if (p.failed) {
        return p;
    }
    FindState& state = session.find;
    state.lastFindText = std::string(text);
    state.haveFind = true;
    if (mode == ParseMode::Change) {
        state.lastChangeText = std::string(text);
        state.haveChange = true;
    }
    if (!p.label1.empty()) {
        std::optional<LabelRange> range = ResolveRange(app, session, p.label1, p.label2);
        if (!range) {
            p.failed = true;
            return p;
        }
        p.rangeFrom = range->from;
        p.rangeTo = range->to;
    }
    // RFIND repeats the last CHANGE's text as well, and searches for its string one.
    if (mode == ParseMode::Find && p.string2Given && !session.find.repeatFind) {
        ShowMessage(app, "FIND, too many strings.", MsgTo::Box, Beep::Exclamation);
        p.failed = true;
        return p;
    }
    state.previousString1 = p.string1;
    state.previousExact1 = p.exact1;
    state.previousPicture1 = p.picture1;
    if (p.string2Given) {
        state.previousString2 = p.string2;
        state.previousPicture2 = p.picture2;
    }
    return p;
}

std::string RepeatText(std::string_view text) {
    std::string out;
    auto append = [&out](std::string_view word) {
        if (!out.empty()) {
            out.push_back(' ');
        }
        out.append(word);
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        std::size_t next = i;
        if (IsQuote(text[i]) || IsLetterQuoted(text, i)) {
            std::size_t quote = IsQuote(text[i]) ? i : i + 1;
            (void)QuotedBody(text, quote, next);
            append(text.substr(i, next - i));
            i = next;
            continue;
        }
        while (next < text.size() && !IsBlank(text[next])) {
            ++next;
        }
        std::string_view word = text.substr(i, next - i);
        i = next;
        std::string upper = UpperAscii(word);
        if (upper == "FIRST" || upper == "ALL") {
            append("next");
        } else if (upper == "LAST") {
            append("prev");
        } else if (upper != "QUIET") {
            append(word);
        }
    }
    return out;
}

}  // namespace tavoe
