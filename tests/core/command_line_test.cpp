#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavoe;

namespace {

std::vector<std::string> SubCommands(std::string_view text) {
    std::vector<std::string> out;
    while (std::optional<std::string_view> sub = NextSubCommand(text)) {
        out.emplace_back(*sub);
    }
    return out;
}

std::vector<std::string> FileListCommands(std::string_view text) {
    std::vector<std::string> out;
    size_t position = 0;
    while (std::optional<FileListCommandLine> line = NextFileListCommand(text, position)) {
        out.push_back(line->verb + "|" + line->params);
    }
    return out;
}

}  // namespace

TEST(SubCommandSplit, SemicolonsOutsideQuotesSeparateCommands) {
    EXPECT_EQ(SubCommands("top;locate special"), (std::vector<std::string>{"top", "locate special"}));
    EXPECT_EQ(SubCommands(" ;;top ;;; bottom;;"), (std::vector<std::string>{"top ", "bottom"}));
    EXPECT_EQ(SubCommands(""), std::vector<std::string>{});
    EXPECT_EQ(SubCommands(" ; ;; "), std::vector<std::string>{});
}

TEST(SubCommandSplit, QuotesHideSemicolons) {
    EXPECT_EQ(SubCommands("find \"a;b\" all;top"), (std::vector<std::string>{"find \"a;b\" all", "top"}));
    EXPECT_EQ(SubCommands("find 'a;b';top"), (std::vector<std::string>{"find 'a;b'", "top"}));
    // A single quote inside double quotes opens nothing, so the ";" after the pair still splits.
    EXPECT_EQ(SubCommands("find \"it's\";top"), (std::vector<std::string>{"find \"it's\"", "top"}));
    EXPECT_EQ(SubCommands("c 'say \"hi;' x;top"), (std::vector<std::string>{"c 'say \"hi;' x", "top"}));
    // A quote left open runs to the end of the line.
    EXPECT_EQ(SubCommands("find \"a;top"), (std::vector<std::string>{"find \"a;top"}));
}

TEST(EditCommandSplit, VerbUpperCasedParametersKeptAsTyped) {
    EditCommandLine line = SplitEditCommand("find  'Abc' ALL ");
    EXPECT_EQ(line.verb, "FIND");
    EXPECT_EQ(line.params, "'Abc' ALL ");
    line = SplitEditCommand("top ");
    EXPECT_EQ(line.verb, "TOP");
    EXPECT_EQ(line.params, "");
    line = SplitEditCommand("find'x'");
    EXPECT_EQ(line.verb, "FIND'X'");
}

TEST(GeneralCommandSplit, TakesVerbAllParametersP1P2AndRest) {
    GeneralCommandLine line = SplitGeneralCommand("open  /tmp/Abc  yes  no more words");
    EXPECT_EQ(line.verb, "OPEN");
    EXPECT_EQ(line.allParams, "/tmp/Abc  yes  no more words");
    EXPECT_EQ(line.p1, "/TMP/ABC");
    EXPECT_EQ(line.p2, "YES");
    EXPECT_EQ(line.rest, "no more words");
    line = SplitGeneralCommand("backup always;top");
    EXPECT_EQ(line.p1, "ALWAYS;TOP");  // no split at ";"
    line = SplitGeneralCommand("retrieve");
    EXPECT_EQ(line.verb, "RETRIEVE");
    EXPECT_TRUE(line.allParams.empty() && line.p1.empty() && line.p2.empty());
}

TEST(FileListCommandSplit, SelectSpellingsAndUnquotedSemicolons) {
    EXPECT_EQ(FileListCommands("s x;sel;find abc ;  top"),
              (std::vector<std::string>{"SELECT|x", "SELECT|", "FIND|abc ", "TOP|"}));
    EXPECT_EQ(FileListCommands("find 'a;b'"), (std::vector<std::string>{"FIND|'a", "B'|"}));
    EXPECT_EQ(FileListCommands("top;;bottom"), (std::vector<std::string>{"TOP|", "BOTTOM|"}));
    EXPECT_EQ(FileListCommands("  ;; "), std::vector<std::string>{});
    EXPECT_EQ(FileListCommands("ss x"), (std::vector<std::string>{"SS|x"}));
}

TEST(FirstWord, SkipsBlanksAroundTheWord) {
    CommandWords words = CommandFirstWord("   mac  a  b ");
    EXPECT_EQ(words.word, "mac");
    EXPECT_EQ(words.rest, "a  b ");
    words = CommandFirstWord("   ");
    EXPECT_TRUE(words.word.empty() && words.rest.empty());
}
