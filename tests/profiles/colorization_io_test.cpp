#include "profiles/colorization_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "core/var_store.h"
#include "search_path_fixture.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

class ColorizationIoTest : public SearchPathFixture {
protected:
    ColorizationIoTest() : SearchPathFixture("clr", "ZPATH.COLORIZATION") {}
    std::shared_ptr<Colorizer> Parse(const std::string& text) {
        return ParseColorizationText(app, "TEST", "TEST.clr", text);
    }
    void ExpectOneExclamation(const std::string& text) { ExpectOneBox(text, Beep::Exclamation); }
};

constexpr const char* kSample =
    "// a sample, comments and blank lines are dropped\n"
    "\n"
    "  COLOR_DELIMITERS ( ) , \\d9 \\\\\n"
    "color_case_sense no\n"
    "COLOR_LITERALS 12,3\n"
    "COLOR_ESCAPE \\\n"
    "COLOR_BEGEND 4,3,/*,*/\n"
    "COLOR_TO_END 4,3,//\n"
    "COLOR_COL_TO_END 4,3,*,7\n"
    "COLOR_WORD_SET 10,3\n"
    "COLOR_WORD move perform if a zz b go\n"
    "COLOR_WORD_SET 6,6\n"
    "COLOR_WORD hidden\n"
    "COLOR_WORD_SET 13,3\n"
    "COLOR_WORD tab\\d9x back\\\\slash\n";

TEST_F(ColorizationIoTest, WriterPutsStatementsAndWordsInTheirOrder) {
    auto c = Parse(kSample);
    ASSERT_TRUE(c);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(c->name, "TEST");
    EXPECT_EQ(ColorizationText(*c),
              "COLOR_DELIMITERS (),\\d009\\\\\n"
              "COLOR_CASE_SENSE NO\n"
              "COLOR_LITERALS 12,3\n"
              "COLOR_ESCAPE \\\n"
              "COLOR_BEGEND 4,3,/*,*/\n"
              "COLOR_TO_END 4,3,//\n"
              "COLOR_COL_TO_END 4,3,*,7\n"
              "\n//**** WORD SET ****\n"
              "COLOR_WORD_SET 10,3\n"
              "COLOR_WORD A\nCOLOR_WORD B\nCOLOR_WORD GO\nCOLOR_WORD IF\nCOLOR_WORD MOVE\n"
              "COLOR_WORD PERFORM\nCOLOR_WORD ZZ\n"
              "\n//**** WORD SET ****\n"
              "COLOR_WORD_SET 13,3\n"
              "COLOR_WORD BACK\\\\SLASH\nCOLOR_WORD TAB\\d009X\n");
}

TEST_F(ColorizationIoTest, FieldModeWritesOnlyTheFields) {
    auto c = Parse(
        "COLOR_WORD_SET 1,2\nCOLOR_WORD X\nCOLOR_FIELD 12,3,1,6,Sequence area\nCOLOR_FIELD 4,3,7,7,a,b\n");
    ASSERT_TRUE(c);
    EXPECT_EQ(ColorizationText(*c), "COLOR_FIELD 12,3,1,6,Sequence area\nCOLOR_FIELD 4,3,7,7,a,b\n");
}

TEST_F(ColorizationIoTest, WhatTheWriterWritesReadsBackTheSame) {
    auto c = Parse(kSample);
    ASSERT_TRUE(c);
    std::string written = ColorizationText(*c);
    auto again = Parse(written);
    ASSERT_TRUE(again);
    EXPECT_EQ(ColorizationText(*again), written);
    // Words with every awkward byte survive the trip.
    Colorizer odd;
    odd.name = "ODD";
    odd.caseSensitive = true;
    odd.sets[0] = {{1, 2}, true};
    for (std::string w :
         {std::string("a b"), std::string("\\d5"), std::string("x\x01y"), std::string("\x7f\xff")}) {
        ASSERT_TRUE(odd.words.Add(w, 0)) << w;
    }
    auto back = Parse(ColorizationText(odd));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->words.WordsOf(0), odd.words.WordsOf(0));
}

TEST_F(ColorizationIoTest, FaultsStopTheReadingAndNameTheFile) {
    struct Case {
        const char* text;
        const char* message;
        Beep beep;
    } cases[] = {
        {"COLOR_DELIMITERS   \n", "Colorization file TEST.clr, COLOR_DELIMITERS, no delimiter specified.",
         Beep::Exclamation},
        {"COLOR_WORD_SET 1,2\nCOLOR_WORD x\nCOLOR_CASE_SENSE YES\n",
         "Colorization file TEST.clr, COLOR_CASE_SENSE, must precede words.", Beep::Exclamation},
        {"COLOR_CASE_SENSE maybe\n", "Colorization file TEST.clr, COLOR_CASE_SENSE, must be YES or NO.",
         Beep::Exclamation},
        {"COLOR_ALIAS COBOL\n", "COLOR_ALIAS no longer supported.", Beep::Information},
        {"\n\nCOLOR_LITERALS 16,3\n",
         "Colorization file TEST.clr, line 3, COLOR_LITERALS, colors must be two "
         "numbers from 0 to 15.",
         Beep::Exclamation},
        {"COLOR_BEGEND 4,3,/***,*/\n",
         "Colorization file TEST.clr, line 1, COLOR_BEGEND, text must be 1 to 3 "
         "characters.",
         Beep::Exclamation},
        {"COLOR_TO_END 4,3\n",
         "Colorization file TEST.clr, line 1, COLOR_TO_END, colors and text are required.",
         Beep::Exclamation},
        {"COLOR_COL_TO_END 4,3,*,0\n",
         "Colorization file TEST.clr, line 1, COLOR_COL_TO_END, column must be a "
         "number from 1 to 64000.",
         Beep::Exclamation},
        {"COLOR_FIELD 1,2,9,8,x\n",
         "Colorization file TEST.clr, line 1, COLOR_FIELD, 'From' and 'To' must be "
         "columns from 1 to 64000, 'From' not after 'To'.",
         Beep::Exclamation},
        {"COLOR_ESCAPE ab\n",
         "Colorization file TEST.clr, line 1, COLOR_ESCAPE, escape must be one character.",
         Beep::Exclamation},
        {"COLOR_DELIMITERS abcdefghijklmnopqrstuvwxyz0123456789\n",
         "Colorization file TEST.clr, line 1, COLOR_DELIMITERS, more than 31 delimiters.", Beep::Exclamation},
    };
    for (const Case& k : cases) {
        app.messages.clear();
        EXPECT_FALSE(Parse(k.text)) << k.text;
        ExpectOneBox(k.message, k.beep);
    }
    std::string nine;
    for (int i = 1; i <= 9; ++i) {
        nine += "COLOR_FIELD 1,2," + std::to_string(i) + "," + std::to_string(i) + ",f\n";
    }
    app.messages.clear();
    EXPECT_FALSE(Parse(nine));
    ExpectOneExclamation("Colorization file TEST.clr, line 9, COLOR_FIELD, more than 8 fields.");
}

TEST_F(ColorizationIoTest, BadWordsAreDroppedWithOneMessageOfEachKind) {
    auto c = Parse(
        "COLOR_WORD early\nCOLOR_WORD_SET 10,3\nCOLOR_WORD PERFORM 123 456\n"
        "COLOR_WORD_SET 11,3\nCOLOR_WORD_SET 12,3\nCOLOR_WORD_SET 13,3\nCOLOR_WORD_SET 14,3\n"
        "COLOR_WORD PERFORM perform\nCOLOR_WORD_SET 1,3\nCOLOR_WORD_SET 2,3\nCOLOR_WORD_SET 5,3\n"
        "COLOR_WORD_SET 6,3\nCOLOR_WORD ninth\n");
    ASSERT_TRUE(c);
    ASSERT_EQ(app.messages.size(), 3u);
    EXPECT_EQ(app.messages[0].text, "COLOR_WORD_SET must be specified before COLOR_WORD.");
    EXPECT_EQ(app.messages[1].text, "Colorization word consisting of all digits is not allowed.");
    EXPECT_EQ(app.messages[2].text,
              "Word 'PERFORM' is a duplicate, please delete from colorization file TEST.CLR.");
    EXPECT_EQ(c->words.Find("PERFORM"), 0);  // the first set keeps it
    EXPECT_EQ(c->words.Find("EARLY"), -1);
    // A long word is cut before the digits rule applies to it.
    app.messages.clear();
    auto cut = Parse("COLOR_WORD_SET 1,3\nCOLOR_WORD " + std::string(31, '7') + "X\n");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->words.Count(), 0u);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Colorization word consisting of all digits is not allowed.");
    // A ninth set adds to the eighth and keeps the eighth's colours.
    EXPECT_EQ(c->words.Find("NINTH"), 7);
    EXPECT_EQ(c->sets[7].colors, (ColorIndexPair{5, 3}));
}

TEST_F(ColorizationIoTest, GarbageAndHugeInputGiveASoundResult) {
    std::mt19937 rng(5);
    std::string garbage;
    for (int i = 0; i < 200000; ++i) {
        garbage += static_cast<char>(rng() % 256);
    }
    // Lines that start with no keyword are comments, however odd their bytes.
    auto c = Parse(garbage);
    EXPECT_TRUE(c != nullptr || app.messages.size() == 1);
    app.messages.clear();
    std::string words = "COLOR_WORD_SET 10,3\n";
    std::string longLine = "COLOR_WORD";
    for (int i = 0; i < 100000; ++i) {
        std::string w = "W" + std::to_string(i);
        words += "COLOR_WORD " + w + "\n";
        longLine += " L" + std::to_string(i);
    }
    c = Parse(words + longLine + "\n" + "COLOR_TO_END 4,3,#" + std::string(100000, 'x') + "\n");
    ASSERT_FALSE(c);  // the comment text is far too long
    app.messages.clear();
    c = Parse(words + longLine + "\n");
    ASSERT_TRUE(c);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(c->words.Count(), 200000u);
    EXPECT_EQ(c->words.Find("W99999"), 0);
    EXPECT_EQ(c->words.Find("L54321"), 0);
    EXPECT_EQ(c->words.Find("W100000"), -1);
}

TEST_F(ColorizationIoTest, LoadFindsTheFirstFileAlongThePathAndMissingIsSilent) {
    Write(root / "server" / "cobol.clr", "COLOR_WORD_SET 1,2\nCOLOR_WORD SERVER\n");
    auto c = LoadColorizer(app, "COBOL");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->name, "COBOL");
    EXPECT_EQ(c->words.Find("SERVER"), 0);
    Write(root / "user" / "COBOL.clr", "COLOR_WORD_SET 1,2\nCOLOR_WORD USER\n");
    c = LoadColorizer(app, "COBOL");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->words.Find("USER"), 0);
    EXPECT_FALSE(LoadColorizer(app, "NONE"));
    EXPECT_FALSE(LoadColorizer(app, "../user/COBOL"));
    EXPECT_FALSE(LoadColorizer(app, ""));
    EXPECT_TRUE(app.messages.empty());
    Write(root / "user" / "BAD.clr", "COLOR_LITERALS x\n");
    EXPECT_FALSE(LoadColorizer(app, "BAD"));
    ExpectOneExclamation(
        "Colorization file BAD.clr, line 1, COLOR_LITERALS, colors must be two numbers from 0 to 15.");
}

TEST_F(ColorizationIoTest, SaveWritesToTheFirstDirectoryAndReportsFailure) {
    auto c = Parse(kSample);
    ASSERT_TRUE(c);
    c->name = "MINE";
    ASSERT_EQ(SaveColorizer(app, *c), 0);
    EXPECT_EQ(Read(root / "user" / "MINE.clr"), ColorizationText(*c));
    EXPECT_FALSE(fs::exists(root / "server" / "MINE.clr"));
    auto loaded = LoadColorizer(app, "MINE");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(ColorizationText(*loaded), ColorizationText(*c));
    EXPECT_TRUE(app.messages.empty());

    if (::geteuid() != 0) {
        ::chmod((root / "user").c_str(), 0555);
        EXPECT_EQ(SaveColorizer(app, *c), -1);
        ::chmod((root / "user").c_str(), 0755);
        ASSERT_EQ(app.messages.size(), 1u);
        EXPECT_EQ(app.messages[0].text,
                  "Unable to open '" + (root / "user" / "MINE.clr").string() + "' for write.");
    }
    app.messages.clear();
    VarSetValue(app, "ZPATH.COLORIZATION", (root / "missing" / "dir").string());
    EXPECT_EQ(SaveColorizer(app, *c), -1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
}

TEST(ColorWords, ManyWordsAddFindRemoveAndKeepTheirWriterOrder) {
    ColorWords words;
    for (int i = 0; i < 50000; ++i) {
        ASSERT_TRUE(words.Add("K" + std::to_string(i), i % 8));
    }
    EXPECT_FALSE(words.Add("K7", 3));
    EXPECT_EQ(words.Find("K7"), 7);
    EXPECT_TRUE(words.Remove("K7"));
    EXPECT_EQ(words.Find("K7"), -1);
    EXPECT_EQ(words.Find("K8"), 0);
    EXPECT_EQ(words.Count(), 49999u);
    ColorWords order;
    for (const char* w : {"bb", "b", "a", "ccc", "bc", "ab", "c"}) {
        order.Add(w, 0);
    }
    EXPECT_EQ(order.WordsOf(0), (std::vector<std::string>{"a", "ab", "b", "bb", "bc", "c", "ccc"}));
    order.Add("Ab", 1);
    order.UpperCaseAll();  // "ab" and "Ab" become one; the earlier one stays
    EXPECT_EQ(order.Find("AB"), 0);
    EXPECT_EQ(order.Count(), 7u);
    EXPECT_EQ(order.SingleCharSet('A'), 0);
}

}  // namespace
