#include <random>

#include "macro_fixture.h"

using namespace tavoe;

// The macros shipped in data/macros, run from there as an installation would find them.
class ShippedMacros : public MacroFixture {
protected:
    void SetUp() override {
        MacroFixture::SetUp();
        VarSetValue(app, "ZPATH.MACROS", std::string(TAVOE_SOURCE_DIR) + "/data/macros");
    }
    std::string LastMessage() const {
        return app.messages.empty() ? std::string() : app.messages.back().text;
    }
};

namespace {

bool IsAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Lines holding the word with no letter or digit joined to it.
int ReferenceWordLines(const std::vector<std::string>& lines, const std::string& word) {
    int count = 0;
    for (const std::string& line : lines) {
        for (size_t at = line.find(word); at != std::string::npos; at = line.find(word, at + 1)) {
            bool before = at > 0 && IsAlnum(line[at - 1]);
            bool after = at + word.size() < line.size() && IsAlnum(line[at + word.size()]);
            if (!before && !after) {
                ++count;
                break;
            }
        }
    }
    return count;
}

}  // namespace

TEST_F(ShippedMacros, WordCountAgreesWithAReference) {
    std::mt19937 rng(7);
    const char* vocabulary[] = {"MOVE",    "MOVED",  "REMOVE", "total", "x",
                                "MOVE-IT", "a_MOVE", "(MOVE)", "9MOVE"};
    std::vector<std::string> lines;
    std::string text;
    for (int i = 0; i < 300; ++i) {
        std::string line;
        int words = static_cast<int>(rng() % 6);
        for (int w = 0; w < words; ++w) {
            line += std::string(vocabulary[rng() % 9]) + (rng() % 3 == 0 ? "" : " ");
        }
        lines.push_back(line);
        text += line + "\n";
    }
    Write(work + "/data.cbl", text);
    for (const char* word : {"MOVE", "total", "x", "absent"}) {
        engine.cache.clear();
        ASSERT_EQ(Run(std::string("wordcnt ") + word + " " + work + "/data.cbl"), 0) << ErrorLine(1);
        EXPECT_EQ(VarGetValue(app, "WORDCNT.COUNT"), std::to_string(ReferenceWordLines(lines, word))) << word;
        EXPECT_EQ(VarGetValue(app, "WORDCNT.LINES"), "300");
    }
    VarSetValue(app, "ZDSN", work + "/data.cbl");
    ASSERT_EQ(Run("wordcnt 'x'"), 0);
    EXPECT_EQ(LastMessage(), "" + VarGetValue(app, "WORDCNT.COUNT") + " of 300 lines hold the word 'x'.");
    ASSERT_EQ(Run("wordcnt"), 0);
    EXPECT_EQ(LastMessage(), "WORDCNT: name a word, and a file unless the edited one is meant.");
    ASSERT_EQ(Run("wordcnt MOVE " + work + "/none.txt"), 0);
    EXPECT_EQ(LastMessage(), "WORDCNT: can not read '" + work + "/none.txt'.");
}

TEST_F(ShippedMacros, RenumberARange) {
    std::vector<std::string> lines = {"       IDENTIFICATION DIVISION.", "", std::string(90, 'x'),
                                      "       PROGRAM-ID. T.", "       PROCEDURE DIVISION."};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    Write(work + "/prog.cbl", text);
    ASSERT_EQ(Run("renum " + work + "/prog.cbl 10 5 2 4"), 0) << ErrorLine(1);
    std::string expected;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (i >= 1 && i <= 3) {
            line.resize(72, ' ');
            char digits[16];
            std::snprintf(digits, sizeof digits, "%08zu", 10 + (i - 1) * 5);
            line += digits;
        }
        expected += line + "\n";
    }
    EXPECT_EQ(Read(work + "/prog.cbl"), expected);
    EXPECT_EQ(VarGetValue(app, "RENUM.COUNT"), "3");
    EXPECT_EQ(LastMessage(), "3 records renumbered in " + work + "/prog.cbl.");
    ASSERT_EQ(Run("renum " + work + "/prog.cbl 99999999 1"), 0);
    EXPECT_EQ(LastMessage(), "RENUM: sequence numbers would need more than eight digits.");
    EXPECT_EQ(Read(work + "/prog.cbl"), expected);  // nothing written after the refusal
}

TEST_F(ShippedMacros, BoxACommentInEachStyle) {
    ASSERT_EQ(Run("boxcmt cobol Compute the totals"), 0) << ErrorLine(1);
    std::string top = "      " + std::string(54, '*');
    std::string middle = "      * Compute the totals" + std::string(60 - 26 - 2, ' ') + " *";
    EXPECT_EQ(Read(work + "/boxcmt.txt"), top + "\n" + middle + "\n" + top + "\n");
    EXPECT_EQ(VarGetValue(app, "BOXCMT.0"), "3");
    // Long text wraps at word boundaries; every line is 60 columns and the words come back in order.
    std::string words;
    for (int i = 0; i < 30; ++i) {
        words += " word" + std::to_string(i);
    }
    ASSERT_EQ(Run("boxcmt" + words), 0);
    std::istringstream in(Read(work + "/boxcmt.txt"));
    std::string line;
    std::string joined;
    int count = 0;
    while (std::getline(in, line)) {
        ++count;
        EXPECT_EQ(line.size(), 60u) << line;
        if (line.rfind("/* ", 0) == 0) {
            std::string inner = line.substr(3, 54);
            inner.erase(inner.find_last_not_of(' ') + 1);
            joined += " " + inner;
        }
    }
    EXPECT_EQ(joined, words);
    EXPECT_EQ(VarGetValue(app, "BOXCMT.0"), std::to_string(count));
    ASSERT_EQ(Run("boxcmt JCL step one"), 0);
    EXPECT_EQ(Read(work + "/boxcmt.txt").substr(0, 61), "//" + std::string(58, '*') + "\n");
}
