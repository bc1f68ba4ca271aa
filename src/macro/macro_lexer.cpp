#include "macro/macro_lexer.h"

#include <array>
#include <string_view>

#include "macro/macro_error.h"
#include "macro/macro_program.h"

namespace tavoe {

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

// For each first character, a bit per length some keyword of that first character has: most names
// are told apart from every keyword by one look.
constexpr std::array<uint8_t, 128> KeywordShapes() {
    std::array<uint8_t, 128> shapes{};
    for (const KeywordRow& row : kKeywords) {
        if (!row.word.empty()) {
            shapes[static_cast<unsigned char>(row.word[0])] |= static_cast<uint8_t>(1u << row.word.size());
        }
    }
    return shapes;
}
constexpr std::array<uint8_t, 128> kKeywordShapes = KeywordShapes();

bool MayBeKeyword(std::string_view word) {
    unsigned char first = static_cast<unsigned char>(word[0]);
    return word.size() <= 7 && first < 128 && (kKeywordShapes[first] & (1u << word.size())) != 0;
}

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
    Lexer(AppSession& app, CompiledMacro& macro) : app_(app), macro_(macro), text_(macro.source) {
        spans_.reserve(macro.records.size());
        for (const MacroSourceRecord& record : macro.records) {
            spans_.push_back(Span{record.offset, record.file, record.line});
        }
        macro.tokens.reserve(text_.size() / 6);
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
    }
    // Where the token starting here is: the file and line of the record that holds this position.
    struct TokenStart {
        int32_t file;
        int32_t line;
        int32_t column;
    };
    TokenStart Start() {
        while (span_ + 1 < spans_.size() && pos_ >= spans_[span_ + 1].offset) {
            ++span_;
        }
        if (spans_.empty()) {
            return TokenStart{-1, 1, column_};
        }
        return TokenStart{spans_[span_].file, spans_[span_].line, column_};
    }
    // Appends a token in place (no temporary token is moved).
    void Push(const TokenStart& at, TokenKind kind, uint8_t code, std::string_view text = {}) {
        MacroToken& token = macro_.tokens.emplace_back();
        token.kind = kind;
        token.code = code;
        token.file = at.file;
        token.line = at.line;
        token.column = at.column;
        token.text = text;
    }
    void Error(const TokenStart& at, std::string_view message) {
        MacroError(app_, macro_, at.file, at.line, at.column, message);
    }

    void Identifier();
    void Number();
    void Literal();
    void Slash();
    void Operator();
    bool Escape(const TokenStart& at, std::string& out);

    AppSession& app_;
    CompiledMacro& macro_;
    const std::string& text_;
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
    TokenStart at = Start();
    size_t begin = pos_;
    while (!AtEnd() && (IsIdentStart(Peek()) || IsDigit(Peek()))) {
        Advance();
    }
    if (AtEnd()) {
        Error(at, "unexpected end of file");
        return;
    }
    std::string_view word(text_.data() + begin, pos_ - begin);
    if (MayBeKeyword(word)) {
        for (const KeywordRow& row : kKeywords) {
            if (row.word == word) {
                if (row.id == 38) {
                    Push(at, TokenKind::Literal, 0, word);
                } else {
                    Push(at, TokenKind::Keyword, row.id);
                }
                return;
            }
        }
    }
    Push(at, TokenKind::Identifier, 0, word.substr(0, kMacroIdentMax));
}

void Lexer::Number() {
    TokenStart at = Start();
    size_t begin = pos_;
    while (!AtEnd() && IsDigit(Peek())) {
        Advance();
    }
    if (AtEnd()) {
        Error(at, "unexpected end of file");
        return;
    }
    Push(at, TokenKind::Literal, 0, std::string_view(text_.data() + begin, pos_ - begin));
}

// One escape after a backslash inside a literal; false after reporting a form that is not taken.
bool Lexer::Escape(const TokenStart& at, std::string& out) {
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
    TokenStart token = Start();
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
    Push(token, TokenKind::Literal, 0, macro_.literalTexts.emplace_back(std::move(value)));
}

void Lexer::Slash() {
    TokenStart token = Start();
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
    Push(token, TokenKind::Operator, static_cast<uint8_t>(next == '=' ? Op::SlashAssign : Op::Slash));
    Advance();
    if (next == '=') {
        Advance();
    }
}

void Lexer::Operator() {
    TokenStart token = Start();
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
    int length = 1;
    Op op = OperatorAt(c, Peek(1), &length);
    if (op != Op::None) {
        Push(token, TokenKind::Operator, static_cast<uint8_t>(op));
        for (int i = 0; i < length; ++i) {
            Advance();
        }
        return;
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

}  // namespace tavoe
