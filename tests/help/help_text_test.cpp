#include "dialogs/help_text.h"

#include <gtest/gtest.h>

using namespace tavoe;

TEST(HelpText, TopicsWithSeveralNamesSummaryExamplesAndTrailingBlanks) {
    std::string text =
        "comment before any topic\n"
        "[c | CC ]\r\n"
        "\n"
        "   Copy lines.  \n"
        "Example: C5\n"
        "  Example:   CC  \n"
        "        [NEXT|PREV]\n"
        "\n"
        "\n"
        "[  readme   general ]\n"
        "About.\n"
        "[]\n"
        "lost: no name\n"
        "[last]";
    std::vector<HelpTopic> topics = ParseHelpText(text);
    ASSERT_EQ(topics.size(), 3u);
    EXPECT_EQ(topics[0].names, (std::vector<std::string>{"C", "CC"}));
    EXPECT_EQ(topics[0].summary, "Copy lines.");
    EXPECT_EQ(topics[0].examples, (std::vector<std::string>{"C5", "CC"}));
    // The body keeps its indentation, loses blank lines before the summary and at the end.
    EXPECT_EQ(topics[0].lines, (std::vector<std::string>{"   Copy lines.", "Example: C5", "  Example:   CC",
                                                         "        [NEXT|PREV]"}));
    EXPECT_EQ(topics[1].names, (std::vector<std::string>{"README GENERAL"}));
    EXPECT_EQ(topics[2].names, (std::vector<std::string>{"LAST"}));
    EXPECT_TRUE(topics[2].lines.empty());
    EXPECT_TRUE(topics[2].summary.empty());

    EXPECT_EQ(FindHelpTopic(topics, "cc"), &topics[0]);
    EXPECT_EQ(FindHelpTopic(topics, " ReadMe  General"), &topics[1]);
    EXPECT_EQ(FindHelpTopic(topics, "README"), nullptr);  // a name is matched whole
    EXPECT_EQ(FindHelpTopic(topics, ""), nullptr);
    EXPECT_EQ(FindHelpTopic(topics, "lost: no name"), nullptr);
}

TEST(HelpText, EmptyAndHeadingOnlyTexts) {
    EXPECT_TRUE(ParseHelpText("").empty());
    EXPECT_TRUE(ParseHelpText("no topics here\n[unclosed\n").empty());
    EXPECT_EQ(ParseHelpText("[a]\n[a]\n").size(), 2u);
}
