#include "profiles/colorizer.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "profiles/colorization_io.h"

using namespace tavoe;

namespace {

constexpr std::uint8_t kBase = 0x03;

std::shared_ptr<Colorizer> Parse(AppSession& app, const std::string& text) {
    return ParseColorizationText(app, "TEST", "TEST.clr", text);
}

// The attributes of one line as a string of hex digit pairs is unreadable; as "fg" letters it is not:
// each character becomes the foreground index in hex, so "00aa3" reads as colours per column.
std::string Foregrounds(const std::vector<std::uint8_t>& attributes, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += "0123456789abcdef"[attributes[i] >> 4];
    }
    return out;
}

struct Colored {
    std::string fg;
    ColorLineState end;
};

Colored Color(const Colorizer& c, std::string_view text, ColorLineState start = ColorLineState::Normal) {
    std::vector<std::uint8_t> attributes(text.size() + 8, 0xEE);
    ColorizeOutcome outcome = ColorizeText(c, text, start, kBase, attributes.data(), text.size());
    return {Foregrounds(attributes, text.size()), outcome.end};
}

// ---- A reference colorizer ---------------------------------------------------------------------------
// Written from the description of the passes, as plainly as possible: an upper-cased copy of the text,
// words kept in per-first-byte buckets ordered by length and searched linearly. The real colorizer
// must agree with it byte for byte.

struct RefWord {
    std::string text;
    int set;
};

struct Reference {
    const Colorizer& c;
    std::map<unsigned char, std::vector<RefWord>> buckets;

    explicit Reference(const Colorizer& colorizer) : c(colorizer) {
        for (int s = 0; s < kColorWordSetCount; ++s) {
            for (const std::string& w : c.words.WordsOf(s)) {
                auto& bucket = buckets[static_cast<unsigned char>(w[0])];
                auto it = bucket.begin();
                while (it != bucket.end() && it->text.size() <= w.size()) {
                    ++it;
                }
                bucket.insert(it, RefWord{w, s});
            }
        }
    }

    std::string Up(std::string_view s) const {
        std::string out(s);
        if (!c.caseSensitive) {
            for (char& ch : out) {
                if (ch >= 'a' && ch <= 'z') {
                    ch = static_cast<char>(ch - 32);
                }
            }
        }
        return out;
    }
    static bool IsAlnum(char ch) {
        return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
    }
    std::uint8_t Attr(const ColorIndexPair& p) const {
        return p.Visible() ? ColorAttribute(p.foreground, p.background) : kBase;
    }
    int SetOfSingle(char ch) const {
        bool flag = false;
        for (auto& [first, bucket] : buckets) {
            for (auto& w : bucket) {
                flag = flag || (w.text.size() == 1 && IsAlnum(w.text[0]));
            }
        }
        if (flag && IsAlnum(ch)) {
            return -1;
        }
        auto it = buckets.find(static_cast<unsigned char>(ch));
        if (it != buckets.end()) {
            for (auto& w : it->second) {
                if (w.text.size() == 1) {
                    return w.set;
                }
            }
        }
        return -1;
    }

    ColorLineState Run(std::string_view raw, ColorLineState start, std::vector<std::uint8_t>& out) const {
        std::string t = Up(raw);
        std::string delims = Up(c.delimiters);
        std::string begin = c.blockEnd.empty() ? "" : Up(c.blockBegin);
        std::string end = c.blockBegin.empty() ? "" : Up(c.blockEnd);
        std::string toEnd = Up(c.toEndText);
        std::string colText = Up(c.columnText);
        bool literals = c.literalColors.Visible();
        auto at = [&](std::size_t p, const std::string& s) {
            return !s.empty() && t.compare(p, s.size(), s) == 0;
        };
        auto colAt = [&](std::size_t p) { return c.column > 0 && (int)p + 1 == c.column && at(p, colText); };
        bool open = start == ColorLineState::InBlockComment && !begin.empty();
        std::size_t n = t.size(), p = 0;
        out.assign(n, kBase);
        while (p < n) {
            std::size_t pass = p;
            if (!open) {
                while (p < n && (t[p] == ' ' || delims.find(t[p]) != std::string::npos)) {
                    out[p++] = kBase;
                }
                if (p >= n) {
                    break;
                }
                if (colAt(p)) {
                    for (; p < n; ++p)
                        out[p] = Attr(c.columnColors);
                    return ColorLineState::Normal;
                }
                if (at(p, toEnd)) {
                    for (; p < n; ++p)
                        out[p] = Attr(c.toEndColors);
                    return ColorLineState::Normal;
                }
            }
            if (p < n && at(p, begin)) {
                open = true;
                for (std::size_t i = 0; i < begin.size(); ++i)
                    out[p++] = Attr(c.blockColors);
            }
            while (open && p < n) {
                if (at(p, end)) {
                    for (std::size_t i = 0; i < end.size(); ++i)
                        out[p++] = Attr(c.blockColors);
                    open = false;
                } else {
                    out[p++] = Attr(c.blockColors);
                }
            }
            if (p < n && literals && (t[p] == '"' || t[p] == '\'')) {
                char q = t[p];
                out[p++] = Attr(c.literalColors);
                bool closed = false;
                while (p < n && !closed) {
                    if (c.literalEscape != '\0' && t[p] == c.literalEscape && p + 1 < n) {
                        out[p++] = Attr(c.literalColors);
                    } else if (t[p] == q) {
                        closed = true;
                    }
                    out[p++] = Attr(c.literalColors);
                }
            }
            if (p < n && SetOfSingle(t[p]) >= 0) {
                out[p] = Attr(c.sets[(std::size_t)SetOfSingle(t[p])].colors);
                ++p;
                continue;
            }
            std::size_t w = p;
            while (w < n && !(t[w] == ' ' || delims.find(t[w]) != std::string::npos ||
                              (literals && (t[w] == '"' || t[w] == '\'')) || at(w, begin) || at(w, toEnd) ||
                              colAt(w) || SetOfSingle(t[w]) >= 0)) {
                ++w;
            }
            std::uint8_t a = kBase;
            if (w - p > 0 && w - p < 32) {
                auto it = buckets.find(static_cast<unsigned char>(t[p]));
                if (it != buckets.end()) {
                    for (auto& word : it->second) {
                        if (word.text.size() > w - p)
                            break;
                        if (word.text == t.substr(p, w - p)) {
                            a = Attr(c.sets[(std::size_t)word.set].colors);
                            break;
                        }
                    }
                }
            }
            for (; p < w; ++p)
                out[p] = a;
            if (p == pass) {
                out[p++] = kBase;
            }
        }
        return open ? ColorLineState::InBlockComment : ColorLineState::Normal;
    }
};

// ---- Cases from the rules --------------------------------------------------------------------------

TEST(Colorizer, CaseRuleDecidesWhichSpellingsAreWords) {
    struct Case {
        const char* sense;
        const char* text;
        const char* expected;
    } cases[] = {
        {"NO", "Move MOVE move mover", "aaaa0aaaa0aaaa000000"},
        {"YES", "Move MOVE move mover", "0000000000aaaa000000"},
    };
    for (const Case& k : cases) {
        AppSession app;
        auto c = Parse(
            app, std::string("COLOR_CASE_SENSE ") + k.sense + "\nCOLOR_WORD_SET 10,3\nCOLOR_WORD move\n");
        ASSERT_TRUE(c) << k.sense;
        EXPECT_EQ(Color(*c, k.text).fg, k.expected) << k.sense;
    }
}

TEST(Colorizer, BlockCommentSpansLinesAndEachLineStartsFromItsOwnState) {
    AppSession app;
    auto c = Parse(app, "COLOR_BEGEND 4,3,/*,*/\nCOLOR_WORD_SET 10,3\nCOLOR_WORD int\n");
    ASSERT_TRUE(c);
    Colored first = Color(*c, "int a; /* open");
    EXPECT_EQ(first.fg, "aaa00004444444");
    EXPECT_EQ(first.end, ColorLineState::InBlockComment);
    Colored middle = Color(*c, "int inside", first.end);
    EXPECT_EQ(middle.fg, "4444444444");
    EXPECT_EQ(middle.end, ColorLineState::InBlockComment);
    Colored last = Color(*c, "still */ int", middle.end);
    EXPECT_EQ(last.fg, "444444440aaa");
    EXPECT_EQ(last.end, ColorLineState::Normal);
    // The first line coloured again alone starts outside any comment.
    EXPECT_EQ(Color(*c, "int inside").fg, "aaa0000000");
    EXPECT_EQ(NextLineState(*c, "int a; /* open", ColorLineState::Normal), ColorLineState::InBlockComment);
    EXPECT_EQ(NextLineState(*c, "x */", ColorLineState::InBlockComment), ColorLineState::Normal);
}

TEST(Colorizer, ColumnCommentOnlyInItsColumn) {
    AppSession app;
    auto c = Parse(app, "COLOR_COL_TO_END 4,3,*,7\nCOLOR_WORD_SET 10,3\nCOLOR_WORD MOVE\n");
    ASSERT_TRUE(c);
    EXPECT_EQ(Color(*c, "000100* MOVE A").fg,
              "000000"
              "44444444");
    EXPECT_EQ(Color(*c, "      * MOVE A").fg,
              "000000"
              "44444444");
    EXPECT_EQ(Color(*c, "           MOVE A * B").fg, "00000000000aaaa000000");
}

TEST(Colorizer, LongWordsAreCutWhenReadAndNeverMatchInText) {
    AppSession app;
    std::string forty(40, 'W');
    auto c = Parse(app, "COLOR_WORD_SET 10,3\nCOLOR_WORD " + forty + "\n");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->words.Find(std::string(31, 'W')), 0);
    EXPECT_EQ(Color(*c, forty).fg, std::string(40, '0'));
    EXPECT_EQ(Color(*c, std::string(31, 'W')).fg, std::string(31, 'a'));
}

TEST(Colorizer, FieldBeyondTheBufferStopsTheFieldsAfterIt) {
    AppSession app;
    auto c = Parse(app,
                   "COLOR_FIELD 12,3,1,6,sequence\nCOLOR_FIELD 4,3,7,7,indicator\n"
                   "COLOR_FIELD 8,3,73,80,identification\nCOLOR_FIELD 10,3,8,11,area A\n");
    ASSERT_TRUE(c);
    std::vector<std::uint8_t> attributes(16, 0xEE);
    ColorizeText(*c, "000100*ABC", ColorLineState::Normal, kBase, attributes.data(), 16);
    // The whole buffer is coloured; area A, listed after the field that does not fit, is not applied.
    EXPECT_EQ(Foregrounds(attributes, 16), "cccccc4000000000");
}

TEST(Colorizer, LineWithNulKeepsTheBaseColourAndPassesTheStateOn) {
    AppSession app;
    auto c = Parse(app, "COLOR_BEGEND 4,3,/*,*/\nCOLOR_WORD_SET 10,3\nCOLOR_WORD int\n");
    ASSERT_TRUE(c);
    std::string text("int /*\0x", 8);
    std::vector<std::uint8_t> attributes(8, 0xEE);
    ColorizeOutcome outcome =
        ColorizeText(*c, text, ColorLineState::InBlockComment, kBase, attributes.data(), 8);
    EXPECT_TRUE(outcome.hasNul);
    EXPECT_EQ(outcome.end, ColorLineState::InBlockComment);
    EXPECT_EQ(Foregrounds(attributes, 8), "00000000");
}

TEST(Colorizer, LiteralsStopAtTheirQuoteOrTheEscapeTakesItIn) {
    AppSession app;
    auto plain = Parse(app, "COLOR_LITERALS 12,3\nCOLOR_WORD_SET 10,3\nCOLOR_WORD x\n");
    auto escaped = Parse(app, "COLOR_LITERALS 12,3\nCOLOR_ESCAPE \\\nCOLOR_WORD_SET 10,3\nCOLOR_WORD x\n");
    ASSERT_TRUE(plain && escaped);
    std::string text = R"("a\"x" x 'never)";
    EXPECT_EQ(Color(*plain, text).fg,
              "cccc"
              "a"
              "cccccccccc");
    EXPECT_EQ(Color(*escaped, text).fg, "cccccc0a0cccccc");
}

TEST(Colorizer, InvisiblePairsKeepTheBaseColour) {
    AppSession app;
    auto c = Parse(app, "COLOR_TO_END 5,5,--\nCOLOR_WORD_SET 7,7\nCOLOR_WORD SELECT\n");
    ASSERT_TRUE(c);
    EXPECT_EQ(Color(*c, "SELECT -- x").fg, "00000000000");
}

// ---- Against the reference -----------------------------------------------------------------------------

TEST(Colorizer, AgreesWithTheReferenceOnRandomLines) {
    const char* settings[] = {
        "COLOR_DELIMITERS (),;.\nCOLOR_LITERALS 12,3\nCOLOR_BEGEND 4,3,/*,*/\nCOLOR_TO_END 4,3,//\n",
        "COLOR_CASE_SENSE YES\nCOLOR_DELIMITERS .\nCOLOR_LITERALS 12,12\nCOLOR_COL_TO_END 4,3,*,3\n"
        "COLOR_TO_END 9,3,--\n",
        "COLOR_DELIMITERS =\nCOLOR_LITERALS 12,3\nCOLOR_ESCAPE \\\nCOLOR_BEGEND 4,3,\"\"\",\"\"\"\n"
        "COLOR_TO_END 4,3,#\n",
        "COLOR_DELIMITERS -\nCOLOR_LITERALS 1,3\nCOLOR_BEGEND 4,3,-*,*-\nCOLOR_TO_END 4,3,-!\n",
    };
    const char* words =
        "COLOR_WORD_SET 10,3\nCOLOR_WORD int if x move a\nCOLOR_WORD_SET 13,3\n"
        "COLOR_WORD + ; Return (\nCOLOR_WORD_SET 5,5\nCOLOR_WORD zero\n";
    const char* pieces[] = {"int", "if", "x",      "move", "MOVE", "a",  "A",  "+",      ";",
                            "(",   ")",  "return", " ",    "  ",   "/*", "*/", "//",     "\"",
                            "'",   "\\", "--",     "*",    ".",    "=",  "#",  "\"\"\"", "-",
                            "-*",  "*-", "-!",     "zero", "abc",  "1",  "\t", "\xe9"};
    std::mt19937 rng(17);
    for (const char* s : settings) {
        AppSession app;
        auto c = Parse(app, std::string(s) + words);
        ASSERT_TRUE(c) << s;
        Reference ref(*c);
        ColorLineState state = ColorLineState::Normal;
        ColorLineState refState = ColorLineState::Normal;
        for (int line = 0; line < 3000; ++line) {
            std::string text;
            int count = static_cast<int>(rng() % 14);
            for (int i = 0; i < count; ++i) {
                text += pieces[rng() % std::size(pieces)];
            }
            std::vector<std::uint8_t> expected;
            ColorLineState refEnd = ref.Run(text, refState, expected);
            std::vector<std::uint8_t> got(text.size() + 1, 0xEE);
            ColorizeOutcome outcome = ColorizeText(*c, text, state, kBase, got.data(), text.size());
            got.resize(text.size());
            ASSERT_EQ(got, expected) << s << "\ntext: [" << text << "] start " << int(state);
            ASSERT_EQ(outcome.end, refEnd) << text;
            ASSERT_EQ(NextLineState(*c, text, state), refEnd) << text;
            state = outcome.end;
            refState = refEnd;
        }
    }
}

}  // namespace
