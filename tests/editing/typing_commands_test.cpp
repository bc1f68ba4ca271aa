#include "editing/typing_commands.h"

#include <gtest/gtest.h>

#include "typing_test_fixture.h"

using namespace tavoe;

namespace {

using DataCommandTest = TypingFixture;
using HexInCommandTest = TypingFixture;

TEST_F(DataCommandTest, TypesTheQuotedTextAtTheCursor) {
    Lines({"ab"});
    At(0, 2);
    DataCommand(app, session, "  'abc def' and more");
    EXPECT_EQ(Text(0), "aabc defb");
    EXPECT_EQ(Column(), 9);
    DataCommand(app, session, "\"x'y\"");
    EXPECT_EQ(Text(0), "aabc defx'yb");
    DataCommand(app, session, "plain");
    EXPECT_EQ(Text(0), "aabc defx'yplainb");
}

TEST_F(DataCommandTest, NeedsTheDataAreaAndAParameter) {
    Lines({"ab"});
    AtPrefix(0, 2);
    DataCommand(app, session, "x");
    EXPECT_EQ(LastMessage(), "DATA command only valid in data area, command ignored.");
    At(0, 1);
    DataCommand(app, session, "   ");
    EXPECT_EQ(LastMessage(), "DATA command requires one parameter: P1=data");
    EXPECT_EQ(Text(0), "ab");
}

TEST_F(DataCommandTest, StopsAtTheFirstRefusedCharacter) {
    Standard();
    Lines({StandardLine(std::string(70, 'a'))});
    At(0, 1);
    DataCommand(app, session, "wxyz");
    EXPECT_EQ(Text(0), StandardLine("wx" + std::string(70, 'a')));
    EXPECT_EQ(LastMessage(), "Insert would exceed maximum record length or overrun line number field.");
    EXPECT_EQ(app.messages.size(), 1u);
}

TEST_F(HexInCommandTest, EbcdicCodesAreShownInTheDisplaySet) {
    Lines({"", ""});
    session.buffer.profile.diskCharset = ProfileCharset::Ebcdic;
    At(0, 1);
    HexInCommand(app, session, "C1 c2");
    EXPECT_EQ(Text(0), "AB");
    EXPECT_TRUE(app.messages.empty());

    At(1, 1);
    HexInCommand(app, session, "30");
    EXPECT_EQ(Text(1), "?");
    EXPECT_EQ(
        LastMessage(),
        "EBCDIC character code x'30' can not be translated to ASCII-ISO8859, '?' character substituted.");
    session.buffer.profile.displayCharset = ProfileCharset::AsciiIbmPc;
    HexInCommand(app, session, "4a");  // the cent sign, x'9B' in the IBM-PC set
    EXPECT_EQ(Text(1), "?\x9B");
}

TEST_F(HexInCommandTest, AsciiBytesAreTypedAsTheyAre) {
    Lines({"xy"});
    SetTypingMode(app, ui::TypingMode::Overtype);
    At(0, 1);
    HexInCommand(app, session, "e9");
    EXPECT_EQ(Text(0), "\xE9y");
}

TEST_F(HexInCommandTest, BadInputTypesNothing) {
    Lines({"xy"});
    At(0, 1);
    HexInCommand(app, session, "41 4");
    EXPECT_EQ(LastMessage(), "HEX input must be in pairs.");
    HexInCommand(app, session, "4 1");
    EXPECT_EQ(LastMessage(), "HEX input must be in pairs.");
    HexInCommand(app, session, "41 G1");
    EXPECT_EQ(LastMessage(), "HEX digit must be in range 0..9  A..F");
    EXPECT_EQ(Text(0), "xy");
    session.view.cursorRow = 0;
    HexInCommand(app, session, "41");
    EXPECT_EQ(LastMessage(), "HEXIN cursor must in data portion of data line.");
}

}  // namespace
