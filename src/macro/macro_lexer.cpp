#include "macro/macro_lexer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

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

// Whether the name at s is the word (the name has the word's length).
template <size_t N>
bool Is(const char* s, const char (&word)[N]) {
    return std::memcmp(s, word, N - 1) == 0;
}

// The keyword a name of n bytes spells (matched case-sensitively against the whole name), 0 for
// none. The length and first byte pick the one or two candidates.
uint8_t KeywordId(const char* s, size_t n) {
    switch (n) {
        case 2:
            return Is(s, "do") ? Id(Kw::Do) : Is(s, "if") ? Id(Kw::If) : 0;
        case 3:
            return Is(s, "for") ? Id(Kw::For) : Is(s, "int") ? Id(Kw::Int) : 0;
        case 4:
            switch (s[0]) {
                case 'B':
                    return Is(s, "BOOL") ? Id(Kw::Bool) : Is(s, "BYTE") ? Id(Kw::Byte) : 0;
                case 'N':
                    return Is(s, "NULL") ? kLiteralWord : 0;
                case 'T':
                    return Is(s, "TRUE") ? kLiteralWord : 0;
                case 'b':
                    return Is(s, "bool") ? Id(Kw::Bool) : 0;
                case 'c':
                    return Is(s, "case") ? Id(Kw::Case) : Is(s, "char") ? Id(Kw::Byte) : 0;
                case 'e':
                    return Is(s, "else") ? Id(Kw::Else) : 0;
                case 'v':
                    return Is(s, "void") ? Id(Kw::Void) : 0;
                default:
                    return 0;
            }
        case 5:
            switch (s[0]) {
                case 'F':
                    return Is(s, "FALSE") ? kLiteralWord : 0;
                case 'b':
                    return Is(s, "break") ? Id(Kw::Break) : 0;
                case 'c':
                    return Is(s, "const") ? Id(Kw::Const) : 0;
                case 'w':
                    return Is(s, "while") ? Id(Kw::While) : 0;
                default:
                    return 0;
            }
        case 6:
            return Is(s, "return") ? Id(Kw::Return) : Is(s, "switch") ? Id(Kw::Switch) : 0;
        case 7:
            return Is(s, "default") ? Id(Kw::Default) : 0;
        default:
            return 0;
    }
}

// What a printable character starts: the operator it is alone, the operators it makes with one of
// up to two characters after it (the longest match wins: ">=" is also written "=>", while "=<" is
// "=" then "<"), or the message that refuses it.
struct OperatorRow {
    Op alone = Op::None;
    char second1 = 0;
    Op pair1 = Op::None;
    char second2 = 0;
    Op pair2 = Op::None;
    const char* refused = nullptr;
};

constexpr std::array<OperatorRow, 256> MakeOperators() {
    std::array<OperatorRow, 256> rows{};
    rows['='] = {Op::Assign, '=', Op::Eq, '>', Op::Ge};
    rows['>'] = {Op::Gt, '=', Op::Ge};
    rows['<'] = {Op::Lt, '=', Op::Le};
    rows['!'] = {Op::Not, '=', Op::Ne};
    rows['+'] = {Op::Plus, '+', Op::Inc, '=', Op::PlusAssign};
    rows['-'] = {Op::Minus, '-', Op::Dec, '=', Op::MinusAssign};
    rows['*'] = {Op::Star, '=', Op::StarAssign};
    rows['%'] = {Op::Percent, '=', Op::PercentAssign};
    rows['&'] = {Op::Amp, '&', Op::AndAnd};
    rows['|'] = {Op::None, '|',
                 Op::OrOr, 0,
                 Op::None, "unary VERTICAL-BAR operator (bitwise OR) not supported in this implementation."};
    rows['('] = {Op::LParen};
    rows[')'] = {Op::RParen};
    rows[':'] = {Op::Colon};
    rows['{'] = {Op::LBrace};
    rows['}'] = {Op::RBrace};
    rows['['] = {Op::LBracket};
    rows[']'] = {Op::RBracket};
    rows[';'] = {Op::Semicolon};
    rows[','] = {Op::Comma};
    rows['`'].refused = "APOSTROPHE not allowed outside literal.";
    rows['\\'].refused = "BACKSLASH not allowed outside literal.";
    rows['^'].refused = "CARET operator (bitwise XOR) not supported in this implementation.";
    rows['?'].refused = "QUESTION-MARK operator (trinary 'if' EXP2) not supported in this implementation.";
    rows['~'].refused = "TILDE operator (one's complement) not supported in this implementation.";
    rows['#'].refused = "HASHMARK operator (preprocessor escape) not supported in this implementation.";
    return rows;
}
constexpr std::array<OperatorRow, 256> kOperators = MakeOperators();

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

// Where a token starts: the file and line of the record that holds it, and its column.
struct At {
    int32_t file;
    int32_t line;
    int32_t column;
};

void Push(std::vector<MacroToken>& tokens, const At& at, TokenKind kind, uint8_t code,
          std::string_view text = {}) {
    MacroToken& token = tokens.emplace_back();
    token.kind = kind;
    token.code = code;
    token.file = at.file;
    token.line = at.line;
    token.column = at.column;
    token.text = text;
}

class Lexer {
public:
    Lexer(AppSession& app, CompiledMacro& macro) : app_(app), macro_(macro) {}

    // The scan keeps its position in locals: a token is written with byte stores, which the
    // compiler must assume may change any member, while locals stay in registers.
    void Run();

private:
    void Error(const At& at, std::string_view message) {
        MacroError(app_, macro_, at.file, at.line, at.column, message);
    }
    const char* Escaped(const At& at, const char* open, const char* p, const char* end);

    AppSession& app_;
    CompiledMacro& macro_;
};

void Lexer::Run() {
    if (macro_.error) {
        return;
    }
    std::vector<MacroToken>& tokens = macro_.tokens;
    // A first guess (source text runs three to six bytes a token); the list grows by doubling from
    // there. Reserving the worst case up front measured slower: one block that large is mapped
    // afresh, and its pages faulted in, on every compile, while the blocks freed as the list grows
    // let the allocator keep memory for the next compile.
    tokens.reserve(macro_.source.size() / 6 + 16);

    const char* const begin = macro_.source.data();
    const char* const end = begin + macro_.source.size();
    const MacroSourceRecord* record = macro_.records.data();
    const MacroSourceRecord* const records_end = record + macro_.records.size();
    size_t nextOffset = macro_.records.size() > 1 ? record[1].offset : SIZE_MAX;
    const char* lineStart = begin;  // column 1 of the current line
    const char* p = begin;

    // Tokens start in source order, so the record that holds one only moves forward.
    auto start = [&](const char* q) {
        auto column = static_cast<int32_t>(q - lineStart + 1);
        if (record == records_end) {
            return At{-1, 1, column};
        }
        auto offset = static_cast<size_t>(q - begin);
        while (offset >= nextOffset) {
            ++record;
            nextOffset = record + 1 < records_end ? record[1].offset : SIZE_MAX;
        }
        return At{record->file, record->line, column};
    };

    while (p < end) {
        while (*p == ' ') {
            ++p;
        }
        const char* const tokenStart = p;
        switch (kClass[static_cast<unsigned char>(*p)]) {
            case CharClass::Blank:
            case CharClass::Skip:
                ++p;  // the NUL after the text ends the loop here
                break;
            case CharClass::LineEnd:
                lineStart = ++p;
                break;
            case CharClass::Stop:
                return;
            case CharClass::Name: {
                do {
                    ++p;
                } while (kNameByte[static_cast<unsigned char>(*p)]);
                if (p >= end) {
                    return Error(start(tokenStart), "unexpected end of file");
                }
                auto length = static_cast<size_t>(p - tokenStart);
                uint8_t id = length <= 7 ? KeywordId(tokenStart, length) : 0;
                if (id == kLiteralWord) {
                    Push(tokens, start(tokenStart), TokenKind::Literal, 0,
                         std::string_view(tokenStart, length));
                } else if (id != 0) {
                    Push(tokens, start(tokenStart), TokenKind::Keyword, id);
                } else {
                    Push(tokens, start(tokenStart), TokenKind::Identifier, 0,
                         std::string_view(tokenStart, std::min(length, kMacroIdentMax)));
                }
                break;
            }
            case CharClass::Digit:
                do {
                    ++p;
                } while (IsDigit(static_cast<unsigned char>(*p)));
                if (p >= end) {
                    return Error(start(tokenStart), "unexpected end of file");
                }
                Push(tokens, start(tokenStart), TokenKind::Literal, 0,
                     std::string_view(tokenStart, static_cast<size_t>(p - tokenStart)));
                break;
            case CharClass::Quote: {
                // Without escapes the literal's text is the source between the quotes.
                const char quote = *p++;
                while (p < end && *p != quote && *p != '\r' && *p != '\n' && *p != '\\') {
                    ++p;
                }
                if (p >= end) {
                    return Error(start(tokenStart), "unexpected end of file");
                }
                if (*p == '\\') {
                    p = Escaped(start(tokenStart), tokenStart, p, end);
                    if (p == nullptr) {
                        return;
                    }
                    break;
                }
                if (*p != quote) {
                    return Error(start(tokenStart), "unexpected end of line parsing literal.");
                }
                ++p;
                if (kAlnumByte[static_cast<unsigned char>(*p)]) {
                    return Error(start(tokenStart), "unexpected alphanumeric following quoted string.");
                }
                Push(tokens, start(tokenStart), TokenKind::Literal, 0,
                     std::string_view(tokenStart + 1, static_cast<size_t>(p - tokenStart - 2)));
                break;
            }
            case CharClass::Slash: {
                const char next = p[1];
                if (next == '/') {
                    while (p < end && *p != '\r' && *p != '\n') {
                        ++p;
                    }
                    if (p >= end) {
                        return Error(start(tokenStart), "unexpected end of file");
                    }
                    break;
                }
                if (next == '*') {
                    const At at = start(tokenStart);  // before the comment's line ends move lineStart
                    p += 2;
                    int depth = 1;
                    while (depth > 0) {
                        if (p >= end) {
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
                                lineStart = p;
                            }
                        }
                    }
                    break;
                }
                Push(tokens, start(tokenStart), TokenKind::Operator,
                     static_cast<uint8_t>(next == '=' ? Op::SlashAssign : Op::Slash));
                p += next == '=' ? 2 : 1;
                break;
            }
            case CharClass::Operator: {
                const OperatorRow& row = kOperators[static_cast<unsigned char>(*p)];
                const char next = p[1];
                Op op = row.alone;
                int length = 1;
                if (next != 0 && next == row.second1) {
                    op = row.pair1;
                    length = 2;
                } else if (next != 0 && next == row.second2) {
                    op = row.pair2;
                    length = 2;
                } else if (row.refused != nullptr) {
                    return Error(start(tokenStart), row.refused);
                }
                if (op != Op::None) {
                    Push(tokens, start(tokenStart), TokenKind::Operator, static_cast<uint8_t>(op));
                }
                // Every printable character is an operator or refused; anything else is skipped.
                p += length;
                break;
            }
        }
    }
}

// The rest of a literal from its first backslash at p on; its text is built in the macro's literal
// texts. Returns where the scan goes on, or null after an error.
const char* Lexer::Escaped(const At& at, const char* open, const char* p, const char* end) {
    const char quote = *open;
    std::string value(open + 1, p);
    while (true) {
        if (p >= end) {
            Error(at, "unexpected end of file");
            return nullptr;
        }
        char c = *p;
        if (c == quote) {
            break;
        }
        if (c == '\r' || c == '\n') {
            Error(at, "unexpected end of line parsing literal.");
            return nullptr;
        }
        if (c == '\\') {
            ++p;
            if (p >= end) {
                Error(at, "unexpected end of file");
                return nullptr;
            }
            int escaped = EscapeValue(static_cast<unsigned char>(*p));
            if (escaped < 0) {
                Error(at, EscapeRefusal(static_cast<unsigned char>(*p)));
                return nullptr;
            }
            value.push_back(static_cast<char>(escaped));
        } else {
            value.push_back(c);
        }
        ++p;
    }
    ++p;
    if (kAlnumByte[static_cast<unsigned char>(*p)]) {
        Error(at, "unexpected alphanumeric following quoted string.");
        return nullptr;
    }
    Push(macro_.tokens, at, TokenKind::Literal, 0, macro_.literalTexts.emplace_back(std::move(value)));
    return p;
}

}  // namespace

void MacroTokenize(AppSession& app, CompiledMacro& macro) {
    macro.tokens.clear();
    Lexer lexer(app, macro);
    lexer.Run();
}

}  // namespace tavoe
