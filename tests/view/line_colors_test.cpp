#include "view/line_colors.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "profiles/colorization_io.h"

using namespace tavoe;

namespace {

constexpr std::uint8_t kBase = 0x03;

constexpr const char* kCLike =
    "COLOR_DELIMITERS ();,\nCOLOR_LITERALS 12,3\nCOLOR_BEGEND 4,3,/*,*/\nCOLOR_TO_END 4,3,//\n"
    "COLOR_WORD_SET 10,3\nCOLOR_WORD int if return\n";

class LineColorsTest : public ::testing::Test {
protected:
    void Use(const char* clr) {
        auto c = ParseColorizationText(app, "T", "T.clr", clr);
        ASSERT_TRUE(c);
        buffer.profile.colorizer = c;
        buffer.colorizer = &LineColorUpkeep();
    }
    // Loading's way: appended lines are reported to the line list's colorizer one by one.
    LineRecord* Append(std::string_view text) {
        LineRecord* line = LineNew(buffer, text);
        line->kind = LineKind::Data;
        LineAppendLoaded(buffer, line);
        buffer.colorizer->ColorizeLine(buffer, *line);
        return line;
    }
    LineRecord* At(int index) {
        LineRecord* line = FirstDataLine(buffer);
        for (int i = 0; i < index && line != nullptr; ++i) {
            line = NextDataLine(line);
        }
        return line;
    }
    int Count() {
        int n = 0;
        for (LineRecord* l = FirstDataLine(buffer); l != nullptr; l = NextDataLine(l)) {
            ++n;
        }
        return n;
    }
    // The colour bytes of every data line coloured afresh from the top, one string per line.
    std::vector<std::string> Reference() {
        std::vector<std::string> out;
        ColorLineState state = ColorLineState::Normal;
        for (LineRecord* l = FirstDataLine(buffer); l != nullptr; l = NextDataLine(l)) {
            std::string bytes(l->length, '\0');
            state = ColorizeText(*buffer.profile.colorizer, LineText(*l), state, kBase,
                                 reinterpret_cast<std::uint8_t*>(bytes.data()), l->length)
                        .end;
            out.push_back(bytes);
        }
        return out;
    }
    std::string Shown(LineRecord& line) {
        EnsureLineColors(app, buffer, line, kBase);
        return line.color == nullptr ? std::string()
                                     : std::string(reinterpret_cast<char*>(line.color), line.length);
    }
    std::vector<std::string> AllShown() {
        std::vector<std::string> out;
        for (LineRecord* l = FirstDataLine(buffer); l != nullptr; l = NextDataLine(l)) {
            out.push_back(Shown(*l));
        }
        return out;
    }

    AppSession app;
    EditBuffer buffer{app};
};

// Random edits of the kinds the editor makes (typing, inserted, deleted and moved lines), each
// reported as the editing code reports it, with random lines shown in between. Whatever was shown
// when, every line must end up as a fresh colouring from the top would colour it.
TEST_F(LineColorsTest, UpkeepAfterRandomEditsMatchesColouringFromTheTop) {
    Use(kCLike);
    const char* pieces[] = {"int ", "x", " ", "/*", "*/", "//", "\"", "if", "(", ")", ";", "return "};
    std::mt19937 rng(3);
    auto randomText = [&] {
        std::string t;
        for (int i = static_cast<int>(rng() % 7); i > 0; --i) {
            t += pieces[rng() % std::size(pieces)];
        }
        return t;
    };
    for (int i = 0; i < 60; ++i) {
        Append(randomText());
    }
    (void)AppendEndMarker(buffer, LoadEnd::Complete);
    for (int step = 0; step < 4000; ++step) {
        int n = Count();
        int pick = static_cast<int>(rng() % static_cast<unsigned>(n));
        LineRecord* line = At(pick);
        switch (rng() % 5) {
            case 0:
            case 1: {  // typing
                std::string piece = pieces[rng() % std::size(pieces)];
                std::uint32_t at = line->length == 0 ? 0 : static_cast<std::uint32_t>(rng() % line->length);
                ASSERT_EQ(LineReplaceText(buffer, *line, at, rng() % 2, piece), 0);
                buffer.colorizer->ColorizeLine(buffer, *line);
                break;
            }
            case 2: {  // an inserted line
                LineRecord* fresh = LineNew(buffer, randomText());
                fresh->kind = LineKind::Data;
                ASSERT_EQ(LineInsertAfter(buffer, line, fresh), 0);
                buffer.colorizer->ColorizeLine(buffer, *fresh);
                break;
            }
            case 3: {  // a deleted line: the one after it is reported
                if (n < 5) {
                    break;
                }
                LineRecord* after = NextDataLine(line);
                LineDelete(buffer, line);
                if (after != nullptr) {
                    buffer.colorizer->ColorizeLine(buffer, *after);
                }
                break;
            }
            case 4: {  // a line moved to the top: the old follower and the moved line are reported
                LineRecord* after = NextDataLine(line);
                LineRecord* top = FirstDataLine(buffer);
                if (line == top || LineMoveRange(buffer, line, line, top) != 0) {
                    break;
                }
                if (after != nullptr) {
                    buffer.colorizer->ColorizeLine(buffer, *after);
                }
                buffer.colorizer->ColorizeLine(buffer, *line);
                break;
            }
        }
        // Some lines are shown now and then, as a screen would.
        if (rng() % 3 == 0) {
            int first = static_cast<int>(rng() % static_cast<unsigned>(Count()));
            for (int r = 0; r < 5; ++r) {
                if (LineRecord* shown = At(first + r)) {
                    Shown(*shown);
                }
            }
        }
        if (step % 97 == 0) {
            ASSERT_EQ(AllShown(), Reference()) << "after step " << step;
        }
    }
    ASSERT_EQ(AllShown(), Reference());
}

// A block comment opened at the top and never closed: each later keystroke inside it checks only the
// line typed into, not the rest of the file.
TEST_F(LineColorsTest, TypingInsideAnEndlessCommentTouchesOnlyThatLine) {
    Use(kCLike);
    Append("int a; /* never closed");
    for (int i = 0; i < 2000; ++i) {
        Append("int b = " + std::to_string(i) + ";");
    }
    (void)AppendEndMarker(buffer, LoadEnd::Complete);
    RecolorAll(app, buffer, kBase);
    for (LineRecord* l = FirstDataLine(buffer); l != nullptr; l = NextDataLine(l)) {
        LineClearFlag(*l, LineFlagB::ColorStale);
    }
    LineRecord* middle = At(1000);
    ASSERT_EQ(LineReplaceText(buffer, *middle, 0, 0, "x"), 0);
    buffer.colorizer->ColorizeLine(buffer, *middle);
    int stale = 0;
    for (LineRecord* l = FirstDataLine(buffer); l != nullptr; l = NextDataLine(l)) {
        stale += LineHasFlag(*l, LineFlagB::ColorStale) ? 1 : 0;
    }
    EXPECT_EQ(stale, 1);
    // Closing the comment on the first line reaches every line below, once.
    ASSERT_EQ(LineAppendText(buffer, *At(0), " */"), 0);
    buffer.colorizer->ColorizeLine(buffer, *At(0));
    EXPECT_EQ(AllShown(), Reference());
    EXPECT_EQ(static_cast<std::uint8_t>(Shown(*At(2000))[0]), ColorAttribute(10, 3));
}

TEST_F(LineColorsTest, ColormapNoneReleasesColoursButKeepsHighlights) {
    Use(kCLike);
    LineRecord* a = Append("int a;");
    LineRecord* b = Append("int b;");
    (void)AppendEndMarker(buffer, LoadEnd::Complete);
    RecolorAll(app, buffer, kBase);
    ASSERT_NE(a->color, nullptr);
    LineSetFlag(*b, LineFlagB::Highlighted);
    UseColorizer(app, buffer, nullptr, kBase);
    EXPECT_EQ(a->color, nullptr);
    EXPECT_NE(b->color, nullptr);
    EXPECT_EQ(buffer.colorizer, nullptr);
    Shown(*a);
    EXPECT_EQ(a->color, nullptr);
}

TEST_F(LineColorsTest, LineWithNulIsReportedOnceAndStaysPlain) {
    Use(kCLike);
    Append(std::string("int\0a", 5));
    Append(std::string("int\0b", 5));
    (void)AppendEndMarker(buffer, LoadEnd::Complete);
    buffer.displayName = "nul.c";
    EXPECT_EQ(AllShown()[1], std::string(5, static_cast<char>(kBase)));
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "File 'nul.c', lines with X'00' character will not be colorized.");
}

}  // namespace
