#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_session.h"
#include "macro/macro_lexer.h"
#include "macro/macro_program.h"
#include "macro_fixture.h"

using namespace tavoe;

namespace {

// Lexes a text (split into records at line ends) and lists the tokens as "kind:code:text@line,col".
std::string Lex(const std::string& text, bool* failed = nullptr) {
    AppSession app;
    CompiledMacro macro;
    macro.workingDirectory = "/nonexistent-dir";
    macro.files.push_back(MacroSourceFile{"T.C", "T.C"});
    int line = 1;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        macro.AddRecord(0, line++, std::string_view(text).substr(start, end - start));
        start = end;
    }
    MacroTokenize(app, macro);
    if (failed != nullptr) {
        *failed = macro.error;
    }
    std::string out;
    for (const MacroToken& token : macro.tokens) {
        if (!out.empty()) {
            out += ' ';
        }
        out += std::to_string(static_cast<int>(token.kind)) + ":" + std::to_string(token.code);
        if (!token.text.empty()) {
            out += ":" + std::string(token.text);
        }
        out += "@" + std::to_string(token.line) + "," + std::to_string(token.column);
    }
    return out;
}

struct LexCase {
    const char* input;
    const char* tokens;
};

}  // namespace

TEST(MacroLexer, TokensKindsCodesAndPositions) {
    const LexCase cases[] = {
        // ">=" also written "=>"; "=<" is "=" then "<".
        {"a=>b\n", "3:0:a@1,1 1:4@1,2 3:0:b@1,4"},
        {"a=<b\n", "3:0:a@1,1 1:7@1,2 1:3@1,3 3:0:b@1,4"},
        // Nested block comments end at the outer star-slash; columns run on across the comment.
        {"x /* a /* b */ c */ y\n", "3:0:x@1,1 3:0:y@1,21"},
        {"x // rest ( of line\ny\n", "3:0:x@1,1 3:0:y@2,1"},
        {"'abc' \"abc\" ''\n", "7:0:abc@1,1 7:0:abc@1,7 7:0@1,13"},
        // TRUE, FALSE and NULL are literals; True is a name; bool and BOOL are one type keyword.
        {"True bool BOOL TRUE NULL FALSE\n",
         "3:0:True@1,1 2:33@1,6 2:33@1,11 7:0:TRUE@1,16 7:0:NULL@1,21 7:0:FALSE@1,26"},
        {"char BYTE int void const break case default do else for if return switch while\n",
         "2:34@1,1 2:34@1,6 2:35@1,11 2:36@1,15 2:37@1,20 2:39@1,26 2:40@1,32 2:41@1,37 2:42@1,45 2:43@1,48 "
         "2:44@1,53 2:45@1,57 2:46@1,60 2:47@1,67 2:48@1,74"},
        {"$x @y .z _w9 12abc\n", "3:0:$x@1,1 3:0:@y@1,4 3:0:.z@1,7 3:0:_w9@1,10 7:0:12@1,14 3:0:abc@1,16"},
        {"== > < >= <= != = + - * / % ++ -- += -= *= /= %= && || ! ( ) : { } [ ] ; , &\n",
         "1:1@1,1 1:2@1,4 1:3@1,6 1:4@1,8 1:5@1,11 1:6@1,14 1:7@1,17 1:8@1,19 1:9@1,21 1:10@1,23 1:11@1,25 "
         "1:12@1,27 1:13@1,29 1:14@1,32 1:15@1,35 1:16@1,38 1:17@1,41 1:18@1,44 1:19@1,47 1:20@1,50 "
         "1:21@1,53 "
         "1:22@1,56 1:23@1,58 1:24@1,60 1:25@1,62 1:26@1,64 1:27@1,66 1:28@1,68 1:29@1,70 1:30@1,72 "
         "1:31@1,74 "
         "1:32@1,76"},
        // A tab counts one column; control characters and bytes 127..255 are skipped.
        {"  ab\tc\n", "3:0:ab@1,3 3:0:c@1,6"},
        {"a\x01\xff"
         "b\n",
         "3:0:a@1,1 3:0:b@1,4"},
        // Character 26 ends the token stream.
        {"a;\x1a b;\n", "3:0:a@1,1 1:30@1,2"},
        // Escapes inside literals.
        {"\"\\\"\\'\\?\\\\\\a\\b\\f\\n\\r\\t\\v\"\n", "7:0:\"'?\\\a\b\f\n\r\t\v@1,1"},
        // CR LF is one line end.
        {"a\r\nb\r\n", "3:0:a@1,1 3:0:b@2,1"},
        // An escape after plain text keeps the text before it; the next token's column counts the
        // source characters, not the literal's.
        {"'ab\\tcd' x\n", "7:0:ab\tcd@1,1 3:0:x@1,10"},
        // Keywords only as whole words, at every length the keywords have.
        {"dox iff forx inte BOOLS whilex returns defaults\n",
         "3:0:dox@1,1 3:0:iff@1,5 3:0:forx@1,9 3:0:inte@1,14 3:0:BOOLS@1,19 3:0:whilex@1,25 "
         "3:0:returns@1,32 3:0:defaults@1,40"},
    };
    for (const LexCase& c : cases) {
        bool failed = true;
        EXPECT_EQ(Lex(c.input, &failed), c.tokens) << c.input;
        EXPECT_FALSE(failed) << c.input;
    }
}

TEST(MacroLexer, LongIdentifiersAreCutTo255) {
    std::string name(300, 'k');
    EXPECT_EQ(Lex(name + ";\n"), "3:0:" + std::string(255, 'k') + "@1,1 1:30@1,301");
}

using MacroLexerErrors = MacroFixture;

TEST_F(MacroLexerErrors, EveryMessageAtItsToken) {
    const std::pair<const char*, const char*> cases[] = {
        {"x = `a`;\n", "T.C(1,5) APOSTROPHE not allowed outside literal."},
        {"x = a \\ b;\n", "T.C(1,7) BACKSLASH not allowed outside literal."},
        {"x = a ^ b;\n", "T.C(1,7) CARET operator (bitwise XOR) not supported in this implementation."},
        {"x = a ? b;\n",
         "T.C(1,7) QUESTION-MARK operator (trinary 'if' EXP2) not supported in this implementation."},
        {"x = ~a;\n", "T.C(1,5) TILDE operator (one's complement) not supported in this implementation."},
        {"  # define\n",
         "T.C(1,3) HASHMARK operator (preprocessor escape) not supported in this implementation."},
        {"if (a | b)\n",
         "T.C(1,7) unary VERTICAL-BAR operator (bitwise OR) not supported in this implementation."},
        {"s = \"a\\101\";\n", "T.C(1,5) octal form of escape sequence in string is not currently supported."},
        {"s = 'a\\x41';\n",
         "T.C(1,5) hexadecimal form of escape sequence in string is not currently supported."},
        {"s = 'a\\q';\n", "T.C(1,5) unknown form of escape sequence in string."},
        {"\n s = 'abc\n';\n", "T.C(2,6) unexpected end of line parsing literal."},
        {"s = 'abc'x;\n", "T.C(1,5) unexpected alphanumeric following quoted string."},
        {"s = \"abc\"9;\n", "T.C(1,5) unexpected alphanumeric following quoted string."},
        {"x = 1; /* open /* nested */\n", "T.C(1,8) unexpected end of file"},
        {"s = 'abc", "T.C(1,5) unexpected end of file"},
        {"x = 1;\nname", "T.C(2,1) unexpected end of file"},
        // An open comment is reported where it began, not where the text ran out.
        {"x = 1;\n  /* a\nb\n", "T.C(2,3) unexpected end of file"},
        {"x = 1;\n12", "T.C(2,1) unexpected end of file"},
    };
    for (const auto& [source, error] : cases) {
        EXPECT_EQ(FirstError(source), error) << source;
    }
}

// Lines longer than one source record go on in further records of the same line: columns keep
// counting across the cut and the next line is still the next line.
TEST_F(MacroLexerErrors, PositionsRunOnAcrossLongLines) {
    EXPECT_EQ(FirstError(std::string(300, ' ') + "`\n"),
              "T.C(1,301) APOSTROPHE not allowed outside literal.");
    // A name that straddles the cut at 254 characters is one token.
    EXPECT_EQ(FirstError(std::string(250, ' ') + "abcdefghij`\n"),
              "T.C(1,261) APOSTROPHE not allowed outside literal.");
    EXPECT_EQ(FirstError(std::string(600, ' ') + ";\n `\n"),
              "T.C(2,2) APOSTROPHE not allowed outside literal.");
}
