#include "macro/macro_lexer.h"

#include <array>
#include <cstring>
#include <string_view>

#include "macro/macro_error.h"
#include "macro/macro_program.h"

namespace tavoe {

namespace {

// The lexer walks the macro's source text with a pointer. The text is a std::string, so the byte
// after its end is a NUL; the loops over names and numbers stop on it without a bounds test, and a
// look one byte ahead never leaves the text.

// What a byte starts.
enum class CharClass : uint8_t {
    Skip,      // control characters and bytes 127..255: ignored
    Blank,     // blank and tab
    LineEnd,   // CR and LF: the next byte is column 1
    Name,      // letters and _ $ @ .
    Digit,     // 0..9
    Quote,     // " and '
    Slash,     // a comment or the operator "/" or "/="
    Operator,  // every other printable character
    Stop,      // character 26 ends the source
};

constexpr bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

constexpr std::array<CharClass, 256> MakeClasses() {
    std::array<CharClass, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        auto u = static_cast<unsigned char>(c);
        CharClass cls = CharClass::Skip;
        if (c == ' ' || c == '\t') {
            cls = CharClass::Blank;
        } else if (c == '\r' || c == '\n') {
            cls = CharClass::LineEnd;
        } else if (c == 26) {
            cls = CharClass::Stop;
        } else if (IsLetter(u) || c == '_' || c == '$' || c == '@' || c == '.') {
            cls = CharClass::Name;
        } else if (IsDigit(u)) {
            cls = CharClass::Digit;
        } else if (c == '"' || c == '\'') {
            cls = CharClass::Quote;
        } else if (c == '/') {
            cls = CharClass::Slash;
        } else if (c > 32 && c < 127) {
            cls = CharClass::Operator;
        }
        classes[u] = cls;
    }
    return classes;
}
constexpr std::array<CharClass, 256> kClass = MakeClasses();

// Bytes that go on a name: its first characters and the digits.
constexpr std::array<bool, 256> MakeNameBytes() {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        bytes[c] = kClass[c] == CharClass::Name || kClass[c] == CharClass::Digit;
    }
    return bytes;
}
constexpr std::array<bool, 256> kNameByte = MakeNameBytes();

// Letters and digits: neither may follow a closing quote.
constexpr std::array<bool, 256> MakeAlnumBytes() {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        bytes[c] = IsLetter(static_cast<unsigned char>(c)) || IsDigit(static_cast<unsigned char>(c));
    }
    return bytes;
}
constexpr std::array<bool, 256> kAlnumByte = MakeAlnumBytes();

// TRUE, FALSE and NULL share this keyword id; they become literal tokens.
constexpr uint8_t kLiteralWord = 38;

constexpr uint8_t Id(Kw kw) {
    return static_cast<uint8_t>(kw);
}

// The keyword a name spells (matched case-sensitively against the whole name), 0 for none. The
// length and first byte pick the one or two candidates.
uint8_t KeywordId(const char* s, size_t n) {
    auto is = [s, n](const char* word) { return std::memcmp(s, word, n) == 0; };
    switch (n) {
        case 2:
            return is("do") ? Id(Kw::Do) : is("if") ? Id(Kw::If) : 0;
        case 3:
            return is("for") ? Id(Kw::For) : is("int") ? Id(Kw::Int) : 0;
        case 4:
            switch (s[0]) {
                case 'B':
                    return is("BOOL") ? Id(Kw::Bool) : is("BYTE") ? Id(Kw::Byte) : 0;
                case 'N':
                    return is("NULL") ? kLiteralWord : 0;
                case 'T':
                    return is("TRUE") ? kLiteralWord : 0;
                case 'b':
                    return is("bool") ? Id(Kw::Bool) : 0;
                case 'c':
                    return is("case") ? Id(Kw::Case) : is("char") ? Id(Kw::Byte) : 0;
                case 'e':
                    return is("else") ? Id(Kw::Else) : 0;
                case 'v':
                    return is("void") ? Id(Kw::Void) : 0;
                default:
                    return 0;
            }
        case 5:
            switch (s[0]) {
                case 'F':
                    return is("FALSE") ? kLiteralWord : 0;
                case 'b':
                    return is("break") ? Id(Kw::Break) : 0;
                case 'c':
                    return is("const") ? Id(Kw::Const) : 0;
                case 'w':
                    return is("while") ? Id(Kw::While) : 0;
                default:
                    return 0;
            }
        case 6:
            return is("return") ? Id(Kw::Return) : is("switch") ? Id(Kw::Switch) : 0;
        case 7:
            return is("default") ? Id(Kw::Default) : 0;
        default:
            return 0;
    }
}

// The operator a character starts, given the character after it: the longest match of two
// characters wins (">=" is also written "=>"; "=<" is "=" then "<"). Op::None for none.
Op OperatorAt(unsigned char c, unsigned char next, int* length) {
    *length = 2;
    switch (c) {
        case '=':
            return next == '=' ? Op::Eq : next == '>' ? Op::Ge : (*length = 1, Op::Assign);
        case '>':
            return next == '=' ? Op::Ge : (*length = 1, Op::Gt);
        case '<':
            return next == '=' ? Op::Le : (*length = 1, Op::Lt);
        case '!':
            return next == '=' ? Op::Ne : (*length = 1, Op::Not);
        case '+':
            return next == '+' ? Op::Inc : next == '=' ? Op::PlusAssign : (*length = 1, Op::Plus);
        case '-':
            return next == '-' ? Op::Dec : next == '=' ? Op::MinusAssign : (*length = 1, Op::Minus);
        case '*':
            return next == '=' ? Op::StarAssign : (*length = 1, Op::Star);
        case '%':
            return next == '=' ? Op::PercentAssign : (*length = 1, Op::Percent);
        case '&':
            return next == '&' ? Op::AndAnd : (*length = 1, Op::Amp);
        case '|':
            return next == '|' ? Op::OrOr : Op::None;
        default:
            break;
    }
    *length = 1;
    switch (c) {
        case '(':
            return Op::LParen;
        case ')':
            return Op::RParen;
        case ':':
            return Op::Colon;
        case '{':
            return Op::LBrace;
        case '}':
            return Op::RBrace;
        case '[':
            return Op::LBracket;
        case ']':
            return Op::RBracket;
        case ';':
            return Op::Semicolon;
        case ',':
            return Op::Comma;
        default:
            return Op::None;
    }
}

// The message for a printable character that is no operator of the language, or null.
const char* RefusedOperator(unsigned char c, unsigned char next) {
    switch (c) {
        case '`':
            return "APOSTROPHE not allowed outside literal.";
        case '\\':
            return "BACKSLASH not allowed outside literal.";
        case '^':
            return "CARET operator (bitwise XOR) not supported in this implementation.";
        case '?':
            return "QUESTION-MARK operator (trinary 'if' EXP2) not supported in this implementation.";
        case '~':
            return "TILDE operator (one's complement) not supported in this implementation.";
        case '#':
            return "HASHMARK operator (preprocessor escape) not supported in this implementation.";
        case '|':
            return next == '|' ? nullptr
                               : "unary VERTICAL-BAR operator (bitwise OR) not supported in this implementation.";
        default:
            return nullptr;
    }
}

// The value of the escape letter after a backslash, or -1 when the form is not taken.
int EscapeValue(unsigned char c) {
    switch (c) {
        case '"':
        case '\'':
        case '?':
        case '\\':
            return c;
        case 'a':
            return 7;
        case 'b':
            return 8;
        case 'f':
            return 12;
        case 'n':
            return 10;
        case 'r':
            return 13;
        case 't':
            return 9;
        case 'v':
            return 11;
        default:
            return -1;
    }
}

const char* EscapeRefusal(unsigned char c) {
    if (c == '\r' || c == '\n') {
        return "unexpected end of line parsing literal.";
    }
    if (c == 'x') {
        return "hexadecimal form of escape sequence in string is not currently supported.";
    }
    return IsDigit(c) ? "octal form of escape sequence in string is not currently supported."
                      : "unknown form of escape sequence in string.";
}

class Lexer {
public:
    Lexer(AppSession& app, CompiledMacro& macro)
        : app_(app),
          macro_(macro),
          tokens_(macro.tokens),
          records_(macro.records),
          begin_(macro.source.data()),
          end_(begin_ + macro.source.size()),
          lineStart_(begin_) {
        // Source text runs about three bytes a token; half its length is room enough for almost
        // any macro, so the list is not copied while it grows. Untouched room costs no memory.
        constexpr size_t kReserveMax = size_t{1} << 22;
        tokens_.reserve(std::min(macro.source.size() / 2 + 16, kReserveMax));
    }

    void Run();

private:
    // Where a token starts: the file and line of the record that holds it, and its column.
    struct At {
        int32_t file;
        int32_t line;
        int32_t column;
    };
    At Start(const char* p) {
        auto column = static_cast<int32_t>(p - lineStart_ + 1);
        if (records_.empty()) {
            return At{-1, 1, column};
        }
        auto offset = static_cast<size_t>(p - begin_);
        while (record_ + 1 < records_.size() && offset >= records_[record_ + 1].offset) {
            ++record_;
        }
        return At{records_[record_].file, records_[record_].line, column};
    }
    void Push(const At& at, TokenKind kind, uint8_t code, std::string_view text = {}) {
        MacroToken& token = tokens_.emplace_back();
        token.kind = kind;
        token.code = code;
        token.file = at.file;
        token.line = at.line;
        token.column = at.column;
        token.text = text;
    }
    // Reports the error; the scan stops, so the callers return null.
    const char* Error(const At& at, std::string_view message) {
        MacroError(app_, macro_, at.file, at.line, at.column, message);
        return nullptr;
    }

    // Each takes the token starting at p and returns where the scan goes on, or null after an error.
    const char* Name(const char* p);
    const char* Number(const char* p);
    const char* Quoted(const char* p);
    const char* Escaped(const At& at, const char* open, const char* p);
    const char* Slash(const char* p);
    const char* Operator(const char* p);

    AppSession& app_;
    CompiledMacro& macro_;
    std::vector<MacroToken>& tokens_;
    const std::vector<MacroSourceRecord>& records_;
    const char* const begin_;
    const char* const end_;
    const char* lineStart_;  // the first byte of the current line: column 1
    size_t record_ = 0;
};

void Lexer::Run() {
    if (macro_.error) {
        return;
    }
    const char* p = begin_;
    while (p != nullptr && p < end_) {
        switch (kClass[static_cast<unsigned char>(*p)]) {
            case CharClass::Blank:
            case CharClass::Skip:
                ++p;
                break;
            case CharClass::LineEnd:
                lineStart_ = ++p;
                break;
            case CharClass::Stop:
                return;
            case CharClass::Name:
                p = Name(p);
                break;
            case CharClass::Digit:
                p = Number(p);
                break;
            case CharClass::Quote:
                p = Quoted(p);
                break;
            case CharClass::Slash:
                p = Slash(p);
                break;
            case CharClass::Operator:
                p = Operator(p);
                break;
        }
    }
}

const char* Lexer::Name(const char* p) {
    const char* begin = p;
    do {
        ++p;
    } while (kNameByte[static_cast<unsigned char>(*p)]);
    if (p >= end_) {
        return Error(Start(begin), "unexpected end of file");
    }
    auto length = static_cast<size_t>(p - begin);
    uint8_t id = length <= 7 ? KeywordId(begin, length) : 0;
    if (id == kLiteralWord) {
        Push(Start(begin), TokenKind::Literal, 0, std::string_view(begin, length));
    } else if (id != 0) {
        Push(Start(begin), TokenKind::Keyword, id);
    } else {
        Push(Start(begin), TokenKind::Identifier, 0, std::string_view(begin, std::min(length, kMacroIdentMax)));
    }
    return p;
}

const char* Lexer::Number(const char* p) {
    const char* begin = p;
    do {
        ++p;
    } while (IsDigit(static_cast<unsigned char>(*p)));
    if (p >= end_) {
        return Error(Start(begin), "unexpected end of file");
    }
    Push(Start(begin), TokenKind::Literal, 0, std::string_view(begin, static_cast<size_t>(p - begin)));
    return p;
}

// A quoted literal. Without escapes its text is the source between the quotes; with them it is
// built in the macro's literal texts.
const char* Lexer::Quoted(const char* p) {
    const char* open = p;
    const char quote = *p++;
    const char* body = p;
    while (true) {
        if (p >= end_) {
            return Error(Start(open), "unexpected end of file");
        }
        char c = *p;
        if (c == quote) {
            break;
        }
        if (c == '\r' || c == '\n') {
            return Error(Start(open), "unexpected end of line parsing literal.");
        }
        if (c == '\\') {
            return Escaped(Start(open), open, p);
        }
        ++p;
    }
    std::string_view text(body, static_cast<size_t>(p - body));
    ++p;
    if (kAlnumByte[static_cast<unsigned char>(*p)]) {
        return Error(Start(open), "unexpected alphanumeric following quoted string.");
    }
    Push(Start(open), TokenKind::Literal, 0, text);
    return p;
}

// The rest of a literal from its first backslash at p on.
const char* Lexer::Escaped(const At& at, const char* open, const char* p) {
    const char quote = *open;
    std::string value(open + 1, p);
    while (true) {
        if (p >= end_) {
            return Error(at, "unexpected end of file");
        }
        char c = *p;
        if (c == quote) {
            break;
        }
        if (c == '\r' || c == '\n') {
            return Error(at, "unexpected end of line parsing literal.");
        }
        if (c == '\\') {
            ++p;
            if (p >= end_) {
                return Error(at, "unexpected end of file");
            }
            int escaped = EscapeValue(static_cast<unsigned char>(*p));
            if (escaped < 0) {
                return Error(at, EscapeRefusal(static_cast<unsigned char>(*p)));
            }
            value.push_back(static_cast<char>(escaped));
        } else {
            value.push_back(c);
        }
        ++p;
    }
    ++p;
    if (kAlnumByte[static_cast<unsigned char>(*p)]) {
        return Error(at, "unexpected alphanumeric following quoted string.");
    }
    Push(at, TokenKind::Literal, 0, macro_.literalTexts.emplace_back(std::move(value)));
    return p;
}

const char* Lexer::Slash(const char* p) {
    const char* open = p;
    const char next = p[1];
    if (next == '/') {
        while (p < end_ && *p != '\r' && *p != '\n') {
            ++p;
        }
        return p < end_ ? p : Error(Start(open), "unexpected end of file");
    }
    if (next == '*') {
        const At at = Start(open);  // before the comment's own line ends move the column base
        p += 2;
        int depth = 1;
        while (depth > 0) {
            if (p >= end_) {
                return Error(at, "unexpected end of file");
            }
            char c = *p;
            if (c == '/' && p[1] == '*') {
                ++depth;
                p += 2;
            } else if (c == '*' && p[1] == '/') {
                --depth;
                p += 2;
            } else {
                ++p;
                if (c == '\r' || c == '\n') {
                    lineStart_ = p;
                }
            }
        }
        return p;
    }
    Push(Start(open), TokenKind::Operator, static_cast<uint8_t>(next == '=' ? Op::SlashAssign : Op::Slash));
    return p + (next == '=' ? 2 : 1);
}

const char* Lexer::Operator(const char* p) {
    auto c = static_cast<unsigned char>(p[0]);
    auto next = static_cast<unsigned char>(p[1]);
    if (const char* refused = RefusedOperator(c, next)) {
        return Error(Start(p), refused);
    }
    int length = 1;
    Op op = OperatorAt(c, next, &length);
    if (op != Op::None) {
        Push(Start(p), TokenKind::Operator, static_cast<uint8_t>(op));
    }
    // Every printable character is an operator or refused above; anything else is skipped.
    return p + (op != Op::None ? length : 1);
}

}  // namespace

void MacroTokenize(AppSession& app, CompiledMacro& macro) {
    macro.tokens.clear();
    Lexer lexer(app, macro);
    lexer.Run();
}

}  // namespace tavoe
