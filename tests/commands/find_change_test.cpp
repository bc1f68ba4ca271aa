// FIND, CHANGE and EXCLUDE against a small reference written here, on generated text; the parameter
// parser's refusals; CHANGE's all-or-nothing lines and its single UNDO step.

#include <random>
#include <string>
#include <vector>

#include "commands/find_params.h"
#include "dispatch_fixture.h"
#include "editing/undo_step.h"

// GCC 12 at -O3 takes the strings of the initializer lists of cases below for uninitialized (a known
// false alarm of that compiler); nothing here reads an unset value.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

class FindChange : public DispatchTest {
protected:
    EditSession& OpenLines(const std::vector<std::string>& texts, std::int32_t recordLength = 255) {
        EditSession& s = OpenSession(0);
        s.buffer.profile.maxRecordLength = recordLength;
        s.buffer.profile.boundsLeft = 1;
        s.buffer.profile.boundsRight = recordLength;
        LineRecord* end = LineLast(s.buffer);
        for (const std::string& text : texts) {
            LineRecord* line = LineNew(s.buffer, text);
            line->kind = LineKind::Data;
            EXPECT_EQ(LineInsertBefore(s.buffer, end, line), 0);
        }
        s.buffer.modified = false;
        s.view.prefixWidth = 7;
        s.view.dataRows = 10;
        s.view.dataColumns = 80;
        return s;
    }

    std::vector<std::string> DataTexts() const {
        std::vector<std::string> out;
        for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
            out.emplace_back(LineText(*line));
        }
        return out;
    }

    std::string Run(const std::string& command) {
        app.messages.clear();
        RunEditCommand(app, command);
        return app.messages.empty() ? std::string() : app.messages.back().text;
    }
};

// ---- The reference -------------------------------------------------------------------------------

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool Delimiter(char c) {
    auto u = static_cast<unsigned char>(c);
    return c == ' ' || (u > 32 && u < 127 && !std::isalnum(u));
}

struct RefQuery {
    std::string needle;
    bool caseless = true;
    bool word = false;
    int startColumn = 1;  // inclusive, 1-based
    int endColumn = 255;
};

// The non-overlapping hits, left to right, of the needle starting and ending inside the columns.
std::vector<size_t> RefHits(const std::string& text, const RefQuery& q) {
    std::vector<size_t> hits;
    size_t n = q.needle.size();
    size_t end = std::min(text.size(), static_cast<size_t>(q.endColumn));
    for (size_t at = static_cast<size_t>(q.startColumn - 1); at + n <= end;) {
        bool match = true;
        for (size_t i = 0; i < n && match; ++i) {
            match = q.caseless ? Fold(text[at + i]) == Fold(q.needle[i]) : text[at + i] == q.needle[i];
        }
        if (match && q.word) {
            match =
                (at == 0 || Delimiter(text[at - 1])) && (at + n >= text.size() || Delimiter(text[at + n]));
        }
        if (match) {
            hits.push_back(at);
            at += n;
        } else {
            ++at;
        }
    }
    return hits;
}

std::vector<std::string> GeneratedLines(unsigned seed, int count) {
    static const std::vector<std::string> kWords = {"MOVE",  "move", "Moved",  "REMOVE", "ADD", "WS-MOVE",
                                                    "mOvE.", "TO",   "(MOVE)", "  ",     "9",   "MOVEMOVE"};
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i) {
        std::string line;
        int words = static_cast<int>(random() % 12);
        for (int w = 0; w < words; ++w) {
            line += kWords[random() % kWords.size()];
            line += random() % 3 == 0 ? "" : " ";
        }
        lines.push_back(line.substr(0, 72));
    }
    return lines;
}

struct Expected {
    long long occurrences = 0;
    long long lines = 0;
};

Expected RefCount(const std::vector<std::string>& lines, const RefQuery& q) {
    Expected e;
    for (const std::string& line : lines) {
        size_t hits = RefHits(line, q).size();
        e.occurrences += static_cast<long long>(hits);
        e.lines += hits > 0 ? 1 : 0;
    }
    return e;
}

TEST_F(FindChange, FindAllCountsAgreeWithTheReference) {
    struct Case {
        std::string command;
        RefQuery query;
    };
    const std::vector<Case> cases = {
        {"find move all", {"move"}},
        {"find c'MOVE' all", {"MOVE", false}},
        {"find move all word", {"move", true, true}},
        {"find move 10 40 all", {"move", true, false, 10, 40}},
        {"find 'e m' all", {"e m"}},
        {"find x'4d4f' all", {"MO", false}},
    };
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::vector<std::string> lines = GeneratedLines(seed, 400);
        for (const Case& c : cases) {
            OpenLines(lines);
            Expected e = RefCount(lines, c.query);
            std::string message = Run(c.command);
            SCOPED_TRACE(c.command + " seed " + std::to_string(seed));
            EXPECT_EQ(session->find.stringCount, e.occurrences);
            EXPECT_EQ(session->find.lineCount, e.lines);
            if (e.occurrences > 0) {
                EXPECT_NE(message.find(Format("Found %lld occurrences", e.occurrences)), std::string::npos)
                    << message;
            }
            EXPECT_FALSE(session->buffer.modified);
            // EXCLUDE with the same parameters hides exactly the lines FIND counted.
            OpenLines(lines);
            Run("exclude" + c.command.substr(4));
            EXPECT_EQ(session->find.lineCount, e.lines);
            long long hidden = 0;
            for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr;
                 line = NextDataLine(line)) {
                hidden += LineIsVisible(*line) ? 0 : 1;
            }
            EXPECT_EQ(hidden, e.lines);
        }
    }
}

// Short lines of bytes that differ only in bit 0x20 ("@" and "`", "[" and "{", "-" and "\r") or in
// case, so hits fall at every offset of a word and at the very end of a line: the search's eight-
// byte filter may fold only letters together, and must neither miss a hit nor report a false one.
TEST_F(FindChange, FindAllAgreesWithTheReferenceOnEveryOffsetOfShortLines) {
    const std::string alphabet = "aAmM@`[{-\r 0";
    std::mt19937 random(11);
    std::vector<std::string> lines;
    for (int i = 0; i < 600; ++i) {
        std::string line(random() % 40, ' ');
        for (char& ch : line) {
            ch = alphabet[random() % alphabet.size()];
        }
        lines.push_back(line);
    }
    struct Case {
        std::string command;
        RefQuery query;
    };
    const std::vector<Case> cases = {
        {"find m all", {"m"}},       {"find 'M' all", {"M"}},
        {"find 'Am' all", {"Am"}},   {"find c'M' all", {"M", false}},
        {"find '@' all", {"@"}},     {"find '@a' all", {"@a"}},
        {"find 'am' all", {"am"}},   {"find c'aM' all", {"aM", false}},
        {"find '[m' all", {"[m"}},   {"find '-a' all", {"-a"}},
        {"find 'ma@' all", {"ma@"}}, {"find 'm' 5 12 all", {"m", true, false, 5, 12}},
    };
    for (const Case& c : cases) {
        OpenLines(lines);
        Expected e = RefCount(lines, c.query);
        Run(c.command);
        SCOPED_TRACE(c.command);
        EXPECT_EQ(session->find.stringCount, e.occurrences);
        EXPECT_EQ(session->find.lineCount, e.lines);
    }
}

TEST_F(FindChange, ChangeAllAgreesWithTheReferenceAndUndoesInOneStep) {
    struct Case {
        std::string command;
        RefQuery query;
        std::string replacement;
    };
    const std::vector<Case> cases = {
        {"change move copy all", {"move"}, "COPY"},  // a plain string two is not case-sensitive
        {"change c'MOVE' 'x' all", {"MOVE", false}, "x"},
        {"change move 'transfer' all word", {"move", true, true}, "transfer"},
        {"change move '' 20 50 all", {"move", true, false, 20, 50}, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = GeneratedLines(7, 300);
        OpenLines(lines);
        std::vector<std::string> expected = lines;
        Expected e;
        for (std::string& line : expected) {
            std::vector<size_t> hits = RefHits(line, c.query);
            e.occurrences += static_cast<long long>(hits.size());
            e.lines += hits.empty() ? 0 : 1;
            for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
                line.replace(*it, c.query.needle.size(), c.replacement);
            }
        }
        SCOPED_TRACE(c.command);
        Run(c.command);
        // The replacement keeps the case it was typed in, except a plain string under CAPS.
        std::vector<std::string> actual = DataTexts();
        for (size_t i = 0; i < actual.size(); ++i) {
            std::string folded = actual[i];
            std::string want = expected[i];
            for (char& ch : folded) {
                ch = Fold(ch);
            }
            for (char& ch : want) {
                ch = Fold(ch);
            }
            ASSERT_EQ(folded, want) << "line " << i;
        }
        EXPECT_EQ(session->find.stringCount, e.occurrences);
        EXPECT_EQ(session->find.lineCount, e.lines);
        ASSERT_EQ(UndoStep(app, session), 0);
        EXPECT_EQ(DataTexts(), lines);
    }
}

TEST_F(FindChange, RepeatedFindMovesOnAndRfindWrapsAfterTheEnd) {
    OpenLines({"abc abc", "x", "abc"});
    LineRecord* first = FirstDataLine(session->buffer);
    PlaceCursorOn(LineFirst(session->buffer));
    Run("find abc");
    EXPECT_EQ(session->find.lastHitLine, first);
    EXPECT_EQ(session->find.lastHitColumn, 1);
    Run("rfind");
    EXPECT_EQ(session->find.lastHitColumn, 5);
    Run("rfind");
    EXPECT_EQ(session->find.lastHitLine, LastDataLine(session->buffer));
    EXPECT_EQ(Run("rfind"), "RFIND at bottom of data, 'abc' not found.");
    Run("rfind");
    EXPECT_EQ(session->find.lastHitLine, first);
    EXPECT_EQ(session->find.lastHitColumn, 1);
}

TEST_F(FindChange, ConstraintsPicturesAndPaddedBlanks) {
    OpenLines({"pre prefix suffix-pre", "ab", "x 123 45"});
    EXPECT_EQ(Run("find pre all prefix"), "Found 1 occurrences of 'pre' in 1 lines.");
    EXPECT_EQ(Run("find fix all suffix"), "Found 2 occurrences of 'fix' in 1 lines.");
    EXPECT_EQ(Run("find pre all word"), "Found 2 occurrences of 'pre' in 1 lines.");
    EXPECT_EQ(Run("find p'###' all"), "Found 1 occurrences of '###' in 1 lines.");
    EXPECT_EQ(Run("find pre eol all"), "Found 1 occurrences of 'pre' in 1 lines.");
    // Three blanks match on the two-character line, which counts as padded, without changing it.
    EXPECT_EQ(Run("find '   ' 1 5 all"), "Found 1 occurrences of '   ' in 1 lines.");
    EXPECT_EQ(DataTexts()[1], "ab");
    EXPECT_EQ(Run("find abc 10"), "'abc' not found between columns 10 and 12");
}

TEST_F(FindChange, ExcludeAndFlipHideAndShowLines) {
    OpenLines({"keep", "drop 1", "keep", "drop 2"});
    EXPECT_EQ(Run("exclude drop all"), "Excluded 2 lines containing 'drop'");
    int markers = 0;
    for (LineRecord& line : Lines(session->buffer)) {
        markers += line.kind == LineKind::ExcludedMarker ? 1 : 0;
    }
    EXPECT_EQ(markers, 2);
    EXPECT_EQ(Run("exclude drop all"), "'drop' not found in visible lines between columns 1 and 255.");
    EXPECT_EQ(Run("find drop all x"), "Found 2 occurrences of 'drop' in 2 lines.");  // shown again
    Run("exclude keep all");
    Run("flip");
    std::vector<bool> visible;
    for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
        visible.push_back(LineIsVisible(*line));
    }
    EXPECT_EQ(visible, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(Run("exclude"), "String1 required (or put string in quotes)");
}

TEST_F(FindChange, ChangeLeavesALineWholeWhenItWouldNotFit) {
    OpenLines({"aaaaaaaa  ", "a b", "aaaaaaaaaa"}, 10);
    Run("change a bb all");
    std::vector<std::string> texts = DataTexts();
    EXPECT_EQ(texts[0], "aaaaaaaa  ");  // 16 characters would not fit in 10
    EXPECT_EQ(texts[1], "bb b");
    EXPECT_EQ(texts[2], "aaaaaaaaaa");
    LineRecord* first = FirstDataLine(session->buffer);
    EXPECT_TRUE(LineHasFlag(*first, LineFlagA::Error));
    EXPECT_TRUE(LineHasFlag(*NextDataLine(first), LineFlagB::Changed));
    EXPECT_EQ(session->find.lineCount, 1);
    // Trailing blanks give way: "ab  " becomes "abcd" within the record length.
    OpenLines({"ab    "}, 6);
    Run("change b bcde all");
    EXPECT_EQ(DataTexts()[0], "abcde ");
}

TEST_F(FindChange, ChangeRefusals) {
    OpenLines({"abc"});
    EXPECT_EQ(Run("change abc 10"), "To specify a number for STRING1 or STRING2, put it in quotes.");
    EXPECT_EQ(Run("change abc"), "String2 null, use QUOTE/QUOTE to indicate null string, CHANGE ignored.");
    Run("change abc '10'");
    EXPECT_EQ(DataTexts()[0], "10");
    EXPECT_EQ(Run("change p'###' p'@@'"), "'@' not allowed in picture STRING2");
    EXPECT_EQ(Run("change p'##' p'='"), "FIND/CHANGE picture STRING2 must be same length as picture STRING1");
    // The refused text is not remembered: RCHANGE repeats the last CHANGE that was read.
    EXPECT_EQ(Run("rchange"), "RCHANGE at bottom of data, 'abc' not found.");
}

TEST_F(FindChange, PictureStringTwoKeepsAndRecasesCharacters) {
    OpenLines({"ab12 Cd34"});
    Run("change p'@@##' p'>=<X' all");
    EXPECT_EQ(DataTexts()[0], "Ab1X Cd3X");
}

// ---- The parser's refusals ------------------------------------------------------------------------

struct Refusal {
    std::string text;
    ParseMode mode;
    std::string message;
};

TEST(FindParser, RefusesBadInputWithItsMessage) {
    const std::vector<Refusal> cases = {
        {std::string(1000, 'a'), ParseMode::Find,
         "FIND/CHANGE/EXCLUDE parameter string too long, must be <= 255 characters."},
        {"x'4'", ParseMode::Find, "FIND/CHANGE bad or unpaired hex digit, valid range 0..F."},
        {"x'4G'", ParseMode::Find, "FIND/CHANGE bad or unpaired hex digit, valid range 0..F."},
        {"a b c", ParseMode::Change, "FIND/CHANGE too many strings."},
        {"a .x .y .z", ParseMode::Find, "FIND/CHANGE too many labels."},
        {"a 1 2 3", ParseMode::Find, "FIND/CHANGE too many columns specified."},
        {"a 0", ParseMode::Find, "FIND/CHANGE can't specify column 0."},
        {"a 20 10", ParseMode::Find, "FIND/CHANGE end column less than start column."},
        {"a 99999", ParseMode::Find, "FIND/CHANGE column greater than 64000."},
        {"a b", ParseMode::Find, "FIND, too many strings."},
        {"* *", ParseMode::Change, "FIND/CHANGE/EXCLUDE too many '*' specified."},
        {"''", ParseMode::Find, "FIND/CHANGE string length 0, may need to be enclosed in quotes"},
        {"SELECTION", ParseMode::Find,
         "FIND/CHANGE/EXCLUDE text selection must be single line (or subset), command ignored."},
    };
    for (const Refusal& c : cases) {
        AppSession app;
        FindParameters p = ParseFindText(app, c.text, c.mode, StringRequired::Yes, 1, 80);
        EXPECT_TRUE(p.failed) << c.text;
        ASSERT_FALSE(app.messages.empty()) << c.text;
        EXPECT_EQ(app.messages.back().text, c.message) << c.text;
    }
}

TEST(FindParser, ReadsStringsColumnsAndKeywords) {
    AppSession app;
    FindParameters p =
        ParseFindText(app, "  'it''s  PREV x \"a b\" 5", ParseMode::Change, StringRequired::Yes, 1, 80);
    // An unbalanced quote runs to the end of the text.
    EXPECT_FALSE(p.failed);
    EXPECT_EQ(p.string1, "it");
    EXPECT_EQ(p.string2, "s  PREV x \"a b\" 5");
    p = ParseFindText(app, "c'Ab' 'x y' 7 last nx word quiet", ParseMode::Change, StringRequired::Yes, 1, 80);
    EXPECT_FALSE(p.failed);
    EXPECT_TRUE(p.exact1);
    EXPECT_TRUE(p.exact2);
    EXPECT_EQ(p.string2, "x y");
    EXPECT_EQ(p.startColumn, 7);
    EXPECT_EQ(p.endColumn, 8);  // only a start: the string must begin there
    EXPECT_EQ(p.direction, FindDirection::Last);
    EXPECT_EQ(p.lineFilter, LineFilter::Visible);
    EXPECT_EQ(p.constraint, FindConstraint::Word);
    EXPECT_TRUE(p.quiet);
    p = ParseFindText(app, "10", ParseMode::Find, StringRequired::Yes, 3, 70);
    EXPECT_EQ(p.string1, "10");  // a lone number is the string
    EXPECT_EQ(p.startColumn, 3);
    EXPECT_EQ(p.endColumn, 70);
}

TEST(FindParser, RepeatTextTurnsDirectionsIntoNextAndPrev) {
    EXPECT_EQ(RepeatText("abc ALL quiet"), "abc next");
    EXPECT_EQ(RepeatText("'all first' first"), "'all first' next");
    EXPECT_EQ(RepeatText("x'C1' LAST 3"), "x'C1' prev 3");
    EXPECT_EQ(RepeatText("c\"LAST\" p'##'"), "c\"LAST\" p'##'");
}

}  // namespace

namespace {

TEST_F(FindChange, SelectionWithinOneLineIsStringOne) {
    OpenLines({"alpha beta", "beta gamma beta"});
    LineRecord* first = FirstDataLine(session->buffer);
    LineSetSelStart(*first, 7);
    LineSetSelEnd(*first, 10);
    EXPECT_EQ(Run("find selection all"), "Found 3 occurrences of 'beta' in 2 lines.");
    EXPECT_EQ(Run("find y selection"),
              "FIND/CHANGE/EXCLUDE string one already set, can not set to current text selection.");
    LineSetSelStart(*NextDataLine(first), 1);
    LineSetSelEnd(*NextDataLine(first), 4);
    EXPECT_EQ(Run("find selection"),
              "FIND/CHANGE/EXCLUDE text selection must be single line (or subset), command ignored.");
}

TEST_F(FindChange, StarTakesThePreviousStrings) {
    OpenLines({"one two one"});
    Run("find two");
    EXPECT_EQ(Run("change * 'zwei' all"), "Changed 1 occurrences of 'two' to 'zwei' in 1 lines.");
    EXPECT_EQ(Run("change one * all"), "Changed 2 occurrences of 'one' to 'zwei' in 1 lines.");
    EXPECT_EQ(DataTexts()[0], "zwei zwei zwei");
}

TEST_F(FindChange, ReadOnlySessionRefusesChange) {
    OpenLines({"abc"});
    session->buffer.file.browseReason = BrowseReason::Requested;
    EXPECT_EQ(Run("change abc def all"), "Not allowed to modify READ-ONLY file.");
    EXPECT_EQ(DataTexts()[0], "abc");
}

}  // namespace
