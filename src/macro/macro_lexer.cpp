#include "macro/macro_lexer.h"

#include <array>
#include <string_view>

#include "macro/macro_error.h"
#include "macro/macro_program.h"

namespace {

struct KeywordRow {
    std::string_view word;
    uint8_t id;
};

// Matched case-sensitively against the whole identifier.
constexpr std::array<KeywordRow, 22> kKeywords{{
    {"BOOL", 33},  {"BYTE", 34},  {"FALSE", 38}, {"NULL", 38},  {"TRUE", 38},    {"bool", 33},
    {"break", 39}, {"case", 40},  {"char", 34},  {"const", 37}, {"default", 41}, {"do", 42},
    {"else", 43},  {"for", 44},   {"if", 45},    {"int", 35},   {"return", 46},  {"switch", 47},
    {"void", 36},  {"while", 48}, {"", 0},       {"", 0},
}};

struct OperatorRow {
    std::string_view text;
    Op op;
};

// Two-character operators first: the longest match wins.
constexpr std::array<OperatorRow, 32> kOperators{{
    {"==", Op::Eq},
    {">=", Op::Ge},
    {"=>", Op::Ge},
    {"<=", Op::Le},
    {"!=", Op::Ne},
    {"++", Op::Inc},
    {"--", Op::Dec},
    {"+=", Op::PlusAssign},
    {"-=", Op::MinusAssign},
    {"*=", Op::StarAssign},
    {"%=", Op::PercentAssign},
    {"&&", Op::AndAnd},
    {"||", Op::OrOr},
    {">", Op::Gt},
    {"<", Op::Lt},
    {"=", Op::Assign},
    {"+", Op::Plus},
    {"-", Op::Minus},
    {"*", Op::Star},
    {"%", Op::Percent},
    {"!", Op::Not},
    {"(", Op::LParen},
    {")", Op::RParen},
    {":", Op::Colon},
    {"{", Op::LBrace},
    {"}", Op::RBrace},
    {"[", Op::LBracket},
    {"]", Op::RBracket},
    {";", Op::Semicolon},
    {",", Op::Comma},
    {"&", Op::Amp},
    {"", Op::None},
}};

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsIdentStart(unsigned char c) {
    return IsLetter(c) || c == '_' || c == '$' || c == '@' || c == '.';
}

// Where one record's text starts in the lexer's flat buffer.
struct Span {
    size_t offset;
    int32_t file;
    int32_t line;
};

class Lexer {
public:
    Lexer(AppSession& app, CompiledMacro& macro) : app_(app), macro_(macro) {
        for (const MacroSourceRecord& record : macro.records) {
            spans_.push_back(Span{text_.size(), record.file, record.line});
            text_ += record.text;
        }
    }

    void Run();

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    unsigned char Peek(size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? static_cast<unsigned char>(text_[pos_ + ahead]) : 0;
    }
    void Advance() {
        ++pos_;
        ++column_;
        while (span_ + 1 < spans_.size() && pos_ >= spans_[span_ + 1].offset) {
            ++span_;
        }
    }
    MacroToken Start(TokenKind kind) const {
        MacroToken token;
        token.kind = kind;
        token.file = spans_.empty() ? -1 : spans_[span_].file;
        token.line = spans_.empty() ? 1 : spans_[span_].line;
        token.column = column_;
        return token;
    }
    void Error(const MacroToken& at, std::string_view message) { MacroErrorAt(app_, macro_, at, message); }

    void Identifier();
    void Number();
    void Literal();
    void Slash();
    void Operator();
    bool Escape(const MacroToken& at, std::string& out);

    AppSession& app_;
    CompiledMacro& macro_;
    std::string text_;
    std::vector<Span> spans_;
    size_t pos_ = 0;
    size_t span_ = 0;
    int32_t column_ = 1;
};

void Lexer::Run() {
    while (!AtEnd() && !macro_.error) {
        unsigned char c = Peek();
        if (c == ' ' || c == '\t') {
            Advance();
        } else if (c == '\r' || c == '\n') {
            Advance();
            column_ = 1;
        } else if (c == 26) {
            return;
        } else if (IsIdentStart(c)) {
            Identifier();
        } else if (IsDigit(c)) {
            Number();
        } else if (c == '"' || c == '\'') {
            Literal();
        } else if (c == '/') {
            Slash();
        } else if (c < 32 || c >= 127) {
            Advance();
        } else {
            Operator();
        }
    }
}

void Lexer::Identifier() {
    MacroToken token = Start(TokenKind::Identifier);
    size_t begin = pos_;
    while (!AtEnd() && (IsIdentStart(Peek()) || IsDigit(Peek()))) {
        Advance();
    }
    if (AtEnd()) {
        Error(token, "unexpected end of file");
        return;
    }
    std::string_view word(text_.data() + begin, pos_ - begin);
    for (const KeywordRow& row : kKeywords) {
        if (!row.word.empty() && row.word == word) {
            if (row.id == 38) {
                token.kind = TokenKind::Literal;
                token.text = std::string(word);
            } else {
                token.kind = TokenKind::Keyword;
                token.code = row.id;
            }
            macro_.tokens.push_back(std::move(token));
            return;
        }
    }
    token.text = std::string(word.substr(0, kMacroIdentMax));
    macro_.tokens.push_back(std::move(token));
}

void Lexer::Number() {
    MacroToken token = Start(TokenKind::Literal);
    size_t begin = pos_;
    while (!AtEnd() && IsDigit(Peek())) {
        Advance();
    }
    if (AtEnd()) {
        Error(token, "unexpected end of file");
        return;
    }
    token.text = text_.substr(begin, pos_ - begin);
    macro_.tokens.push_back(std::move(token));
}

// One escape after a backslash inside a literal; false after reporting a form that is not taken.
bool Lexer::Escape(const MacroToken& at, std::string& out) {
    Advance();  // the backslash
    if (AtEnd()) {
        Error(at, "unexpected end of file");
        return false;
    }
    unsigned char c = Peek();
    char value = 0;
    switch (c) {
        case '"':
        case '\'':
        case '?':
        case '\\':
            value = static_cast<char>(c);
            break;
        case 'a':
            value = 7;
            break;
        case 'b':
            value = 8;
            break;
        case 'f':
            value = 12;
            break;
        case 'n':
            value = 10;
            break;
        case 'r':
            value = 13;
            break;
        case 't':
            value = 9;
            break;
        case 'v':
            value = 11;
            break;
        case '\r':
        case '\n':
            Error(at, "unexpected end of line parsing literal.");
            return false;
        case 'x':
            Error(at, "hexadecimal form of escape sequence in string is not currently supported.");
            return false;
        default:
            Error(at, IsDigit(c) ? "octal form of escape sequence in string is not currently supported."
                                 : "unknown form of escape sequence in string.");
            return false;
    }
    out.push_back(value);
    Advance();
    return true;
}

void Lexer::Literal() {
    MacroToken token = Start(TokenKind::Literal);
    unsigned char quote = Peek();
    Advance();
    std::string value;
    while (true) {
        if (AtEnd()) {
            Error(token, "unexpected end of file");
            return;
        }
        unsigned char c = Peek();
        if (c == quote) {
            Advance();
            break;
        }
        if (c == '\r' || c == '\n') {
            Error(token, "unexpected end of line parsing literal.");
            return;
        }
        if (c == '\\') {
            if (!Escape(token, value)) {
                return;
            }
            continue;
        }
        value.push_back(static_cast<char>(c));
        Advance();
    }
    if (!AtEnd() && (IsLetter(Peek()) || IsDigit(Peek()))) {
        Error(token, "unexpected alphanumeric following quoted string.");
        return;
    }
    token.text = std::move(value);
    macro_.tokens.push_back(std::move(token));
}

void Lexer::Slash() {
    MacroToken token = Start(TokenKind::Operator);
    unsigned char next = Peek(1);
    if (next == '/') {
        while (!AtEnd() && Peek() != '\r' && Peek() != '\n') {
            Advance();
        }
        if (AtEnd()) {
            Error(token, "unexpected end of file");
        }
        return;
    }
    if (next == '*') {
        Advance();
        Advance();
        int depth = 1;
        while (depth > 0) {
            if (AtEnd()) {
                Error(token, "unexpected end of file");
                return;
            }
            unsigned char c = Peek();
            if (c == '/' && Peek(1) == '*') {
                ++depth;
                Advance();
                Advance();
            } else if (c == '*' && Peek(1) == '/') {
                --depth;
                Advance();
                Advance();
            } else {
                Advance();
                if (c == '\r' || c == '\n') {
                    column_ = 1;
                }
            }
        }
        return;
    }
    token.code = static_cast<uint8_t>(next == '=' ? Op::SlashAssign : Op::Slash);
    Advance();
    if (next == '=') {
        Advance();
    }
    macro_.tokens.push_back(std::move(token));
}

void Lexer::Operator() {
    MacroToken token = Start(TokenKind::Operator);
    unsigned char c = Peek();
    const char* refused = nullptr;
    switch (c) {
        case '`':
            refused = "APOSTROPHE not allowed outside literal.";
            break;
        case '\\':
            refused = "BACKSLASH not allowed outside literal.";
            break;
        case '^':
            refused = "CARET operator (bitwise XOR) not supported in this implementation.";
            break;
        case '?':
            refused = "QUESTION-MARK operator (trinary 'if' EXP2) not supported in this implementation.";
            break;
        case '~':
            refused = "TILDE operator (one's complement) not supported in this implementation.";
            break;
        case '#':
            refused = "HASHMARK operator (preprocessor escape) not supported in this implementation.";
            break;
        case '|':
            if (Peek(1) != '|') {
                refused = "unary VERTICAL-BAR operator (bitwise OR) not supported in this implementation.";
            }
            break;
        default:
            break;
    }
    if (refused != nullptr) {
        Error(token, refused);
        return;
    }
    char pair[2] = {static_cast<char>(c), static_cast<char>(Peek(1))};
    for (const OperatorRow& row : kOperators) {
        if (row.text.empty()) {
            continue;
        }
        if (row.text.size() == 2 ? (pos_ + 1 < text_.size() && row.text == std::string_view(pair, 2))
                                 : row.text[0] == pair[0]) {
            token.code = static_cast<uint8_t>(row.op);
            for (size_t i = 0; i < row.text.size(); ++i) {
                Advance();
            }
            macro_.tokens.push_back(std::move(token));
            return;
        }
    }
    // Every printable character is dispatched above; anything left is skipped like a control code.
    Advance();
}

}  // namespace

void MacroTokenize(AppSession& app, CompiledMacro& macro) {
    macro.tokens.clear();
    Lexer lexer(app, macro);
    lexer.Run();
}
