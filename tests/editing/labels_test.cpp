#include "editing/labels.h"

#include "buffer/line_record.h"
#include "typing_test_fixture.h"

using namespace tavoe;

using Labels = TypingFixture;

TEST_F(Labels, LetterSyntaxMovesTheLabelAndClearsThePendingCommand) {
    Lines({"one", "two", "three"});
    LineSetPendingCommand(*lines[0], ".ab1");
    ASSERT_EQ(SetLineLabel(app, session, *lines[0], ".ab1x"), 0);  // a digit ends the label
    EXPECT_EQ(LineLabel(*lines[0]), ".AB");
    EXPECT_FALSE(LineHasPendingCommand(*lines[0]));
    ASSERT_EQ(SetLineLabel(app, session, *lines[2], ".abcdefghijk"), 0);  // at most 8 letters
    EXPECT_EQ(LineLabel(*lines[2]), ".ABCDEFGH");
    ASSERT_EQ(SetLineLabel(app, session, *lines[1], ".Ab"), 0);  // one line per label
    EXPECT_FALSE(LineHasLabel(*lines[0]));
    EXPECT_EQ(FindLabel(app, session, ".ab"), lines[1]);

    for (std::string_view bad : {".z", ".Zed", ".1", ".", ".-x"}) {
        app.messages.clear();
        EXPECT_EQ(SetLineLabel(app, session, *lines[0], bad), -1) << bad;
        EXPECT_EQ(LastMessage(), "Label name must be a-z/A-Z chars, Z not allowed as first character.");
    }
    EXPECT_FALSE(LineHasLabel(*lines[0]));
}

TEST_F(Labels, SystemLabelsAndRangesInFileOrder) {
    Lines({"one", "two", "three"});
    EXPECT_EQ(FindLabel(app, session, ".zfirst"), lines[0]);
    EXPECT_EQ(FindLabel(app, session, ".ZLAST"), lines[2]);  // the last data line, not the end marker
    EXPECT_EQ(FindLabel(app, session, "zfirst"), nullptr);   // no "." no label
    ASSERT_EQ(SetLineLabel(app, session, *lines[0], ".a"), 0);
    ASSERT_EQ(SetLineLabel(app, session, *lines[2], ".b"), 0);

    std::optional<LabelRange> range = ResolveRange(app, session, ".B", ".A");
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->from, lines[0]);
    EXPECT_EQ(range->to, lines[2]);
    range = ResolveRange(app, session, ".b", "");
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->from, lines[2]);
    EXPECT_EQ(range->to, LineLast(session.buffer));
    range = ResolveRange(app, session, "", "");
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->from, LineFirst(session.buffer));

    EXPECT_FALSE(ResolveRange(app, session, ".a", ".nosuch").has_value());
    EXPECT_EQ(LastMessage(), "Label '.NOSUCH' not found.");
}
