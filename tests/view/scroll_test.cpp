#include "view/scroll.h"

#include "buffer/file_load.h"
#include "commands/dispatch.h"
#include "shell/contexts.h"
#include "shell/instance_ports.h"
#include "shell/main_window.h"
#include "view/view_commands.h"
#include "view_fixture.h"

using namespace tavoe;

namespace {

class ScrollTest : public ViewTest {
protected:
    ViewGeometry Geometry(int rows, int dataColumns = 74) const {
        return ViewGeometry{rows, session->view.prefixWidth + dataColumns};
    }
    void Vertical(ScrollDirection direction, std::string_view amount, int rows = 20) {
        ASSERT_EQ(Scroll(app, *session, direction, amount, Geometry(rows)), 0);
    }
    void CursorAt(int row, int column = 10, KeyField focus = KeyField::Data) {
        session->view.focus = focus;
        session->view.cursorRow = row;
        session->view.cursorColumn = column;
    }
};

TEST(ScrollAmountParse, FirstCharacterDecides) {
    EXPECT_EQ(ParseScrollAmount("25")->count, 25);
    EXPECT_EQ(ParseScrollAmount("5X")->count, 5);
    EXPECT_EQ(ParseScrollAmount("0")->unit, ScrollUnit::Count);
    EXPECT_EQ(ParseScrollAmount("csr")->unit, ScrollUnit::Cursor);
    EXPECT_EQ(ParseScrollAmount("DATA")->unit, ScrollUnit::Data);
    EXPECT_EQ(ParseScrollAmount("half")->unit, ScrollUnit::Half);
    EXPECT_EQ(ParseScrollAmount("M")->unit, ScrollUnit::Max);
    EXPECT_EQ(ParseScrollAmount("Page")->unit, ScrollUnit::Page);
    EXPECT_FALSE(ParseScrollAmount("XYZ"));
    EXPECT_FALSE(ParseScrollAmount("-5"));
    EXPECT_FALSE(ParseScrollAmount(""));
    // A number too large for any file neither overflows nor turns small.
    EXPECT_GE(ParseScrollAmount("99999999999999999999")->count, int64_t{1} << 32);
}

TEST_F(ScrollTest, InvalidAmountIsReportedAndNothingMoves) {
    AddNumberedLines(50);
    EXPECT_EQ(Scroll(app, *session, ScrollDirection::Down, "quarter", Geometry(20)), -1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Invalid scroll amount QUARTER");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    EXPECT_EQ(TopName(), "top");
}

TEST_F(ScrollTest, AmountsInTwentyRows) {
    AddNumberedLines(100);
    Vertical(ScrollDirection::Down, "0");
    EXPECT_EQ(TopName(), "top");
    Vertical(ScrollDirection::Down, "HALF");
    EXPECT_EQ(TopName(), "10");
    Vertical(ScrollDirection::Down, "DATA");
    EXPECT_EQ(TopName(), "29");
    Vertical(ScrollDirection::Down, "PAGE");
    EXPECT_EQ(TopName(), "49");
    Vertical(ScrollDirection::Down, "7");
    EXPECT_EQ(TopName(), "56");
    Vertical(ScrollDirection::Up, "P");
    EXPECT_EQ(TopName(), "36");
    Vertical(ScrollDirection::Up, "H");
    EXPECT_EQ(TopName(), "26");
}

TEST_F(ScrollTest, StopsAtTheTopMarkerAndAtTheLastLine) {
    AddNumberedLines(30);
    Vertical(ScrollDirection::Down, "25");
    Vertical(ScrollDirection::Up, "100");
    EXPECT_EQ(TopName(), "top");
    Vertical(ScrollDirection::Up, "1");
    EXPECT_EQ(TopName(), "top");
    Vertical(ScrollDirection::Down, "999999");
    EXPECT_EQ(TopName(), "end");
}

TEST_F(ScrollTest, MaxIsTopOrBottomAndBottomShowsTheLastPage) {
    AddNumberedLines(100);
    Vertical(ScrollDirection::Down, "MAX", 10);
    EXPECT_EQ(Rows(),
              (std::vector<std::string>{"92", "93", "94", "95", "96", "97", "98", "99", "100", "end"}));
    Vertical(ScrollDirection::Up, "MAX", 10);
    EXPECT_EQ(TopName(), "top");

    // A file that fits keeps the top marker on top.
    session->view.topLine = Record(3);
    ScrollToBottom(*session, Geometry(200));
    EXPECT_EQ(TopName(), "top");
}

TEST_F(ScrollTest, ExcludedRunCountsAsOneRow) {
    AddNumberedLines(20);
    Exclude(3, 12);
    Vertical(ScrollDirection::Down, "2");
    EXPECT_EQ(TopName(), "2");
    Vertical(ScrollDirection::Down, "1");
    EXPECT_EQ(TopName(), "x10");
    Vertical(ScrollDirection::Down, "1");
    EXPECT_EQ(TopName(), "13");
    Vertical(ScrollDirection::Up, "2");
    EXPECT_EQ(TopName(), "2");
}

TEST_F(ScrollTest, DownCursorMakesTheCursorLineTheTopLine) {
    AddNumberedLines(100);
    Vertical(ScrollDirection::Down, "10");
    CursorAt(4);
    Vertical(ScrollDirection::Down, "CURSOR");
    EXPECT_EQ(TopName(), "14");
    EXPECT_EQ(session->view.cursorRow, 0);
    EXPECT_EQ(session->view.focus, KeyField::Data);

    // On the first row, or from the command field, CURSOR is a page.
    Vertical(ScrollDirection::Down, "C");
    EXPECT_EQ(TopName(), "34");
    CursorAt(5, 10, KeyField::Command);
    Vertical(ScrollDirection::Down, "C");
    EXPECT_EQ(TopName(), "54");
    EXPECT_EQ(session->view.focus, KeyField::Command);
}

TEST_F(ScrollTest, UpCursorBringsTheCursorLineToTheLastRow) {
    AddNumberedLines(100);
    Vertical(ScrollDirection::Down, "50");
    CursorAt(4);  // line 54 on the fifth of 20 rows
    Vertical(ScrollDirection::Up, "CURSOR");
    EXPECT_EQ(TopName(), "35");
    EXPECT_EQ(session->view.cursorRow, 19);
    RebuildRowTable(*session, 20);
    EXPECT_EQ(LineOnRow(*session, 19), Record(54));

    // On the last row CURSOR is a page.
    Vertical(ScrollDirection::Up, "C");
    EXPECT_EQ(TopName(), "15");
    // Near the top the line cannot reach the last row: the cursor still follows it.
    CursorAt(2);
    Vertical(ScrollDirection::Up, "C");
    EXPECT_EQ(TopName(), "top");
    EXPECT_EQ(session->view.cursorRow, 2 + 15);
}

TEST_F(ScrollTest, UpCursorWithTheWholeFileShownOnlyMovesTheCursor) {
    AddNumberedLines(5);
    RebuildRowTable(*session, 20);
    CursorAt(6);  // the end marker
    Vertical(ScrollDirection::Up, "CURSOR");
    EXPECT_EQ(session->view.cursorRow, 0);
    EXPECT_EQ(TopName(), "top");
}

TEST_F(ScrollTest, HorizontalAmountsStayWithinTheRecord) {
    Buffer().profile.maxRecordLength = 200;
    AddNumberedLines(1);
    ViewGeometry geometry = Geometry(10, 80);
    auto right = [&](std::string_view amount) {
        (void)Scroll(app, *session, ScrollDirection::Right, amount, geometry);
        return session->view.horizontalOffset;
    };
    auto left = [&](std::string_view amount) {
        (void)Scroll(app, *session, ScrollDirection::Left, amount, geometry);
        return session->view.horizontalOffset;
    };
    EXPECT_EQ(right("10"), 10);
    EXPECT_EQ(right("HALF"), 50);
    EXPECT_EQ(right("DATA"), 120);  // 129 is past the limit of 200 - 80
    EXPECT_EQ(left("PAGE"), 40);
    EXPECT_EQ(left("MAX"), 0);
    EXPECT_EQ(right("M"), 120);
    EXPECT_EQ(left("500"), 0);
}

TEST_F(ScrollTest, RightAtTheEndOfAFullWidthRecordDoesNotMove) {
    AddNumberedLines(1);
    (void)Scroll(app, *session, ScrollDirection::Right, "PAGE", Geometry(10, 80));
    EXPECT_EQ(session->view.horizontalOffset, 0);
    // A profile offset beyond what a wide window needs is not pulled back by RIGHT.
    session->view.horizontalOffset = 6;
    (void)Scroll(app, *session, ScrollDirection::Right, "1", Geometry(10, 80));
    EXPECT_EQ(session->view.horizontalOffset, 6);
    (void)Scroll(app, *session, ScrollDirection::Left, "1", Geometry(10, 80));
    EXPECT_EQ(session->view.horizontalOffset, 5);
}

TEST_F(ScrollTest, HorizontalCursorScrollsTheCursorColumnToTheEdge) {
    Buffer().profile.maxRecordLength = 300;
    AddNumberedLines(1);
    ViewGeometry geometry = Geometry(10, 80);
    CursorAt(0, 6 + 30);  // data column 31
    (void)Scroll(app, *session, ScrollDirection::Right, "CURSOR", geometry);
    EXPECT_EQ(session->view.horizontalOffset, 30);
    EXPECT_EQ(session->view.cursorColumn, 6);  // still on record column 31

    (void)Scroll(app, *session, ScrollDirection::Left, "CURSOR", geometry);
    EXPECT_EQ(session->view.horizontalOffset, 0);
    EXPECT_EQ(session->view.cursorColumn, 6 + 30);

    // The cursor on the left edge: RIGHT CURSOR is a page; in the prefix area too.
    CursorAt(0, 6);
    (void)Scroll(app, *session, ScrollDirection::Right, "C", geometry);
    EXPECT_EQ(session->view.horizontalOffset, 80);
    CursorAt(0, 2, KeyField::Prefix);
    (void)Scroll(app, *session, ScrollDirection::Right, "C", geometry);
    EXPECT_EQ(session->view.horizontalOffset, 160);
}

TEST_F(ScrollTest, DefaultsComeFromTheScrollVariables) {
    AddNumberedLines(100);
    VarSetValue(app, "ZSCROLL.VERT", "HALF");
    VarSetValue(app, "ZSCROLL.HORIZ", "data");
    EXPECT_EQ(ScrollAmountText(app, ScrollDirection::Down, ""), "HALF");
    EXPECT_EQ(ScrollAmountText(app, ScrollDirection::Down, "  5  more"), "5");
    EXPECT_EQ(ScrollAmountText(app, ScrollDirection::Left, ""), "DATA");
    VarSetValue(app, "ZSCROLL.VERT", "");
    EXPECT_EQ(ScrollAmountText(app, ScrollDirection::Up, ""), "PAGE");
}

TEST_F(ScrollTest, VirtualLoadReadsOnlyTheBatchesTheScrollNeeds) {
    ViewScratch scratch;
    std::string text;
    for (int i = 1; i <= 5000; ++i) {
        text += "record " + std::to_string(i) + "\n";
    }
    std::string path = scratch.Write("big.txt", text);
    session = std::make_unique<EditSession>(app);
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    ASSERT_EQ(OpenFile(Buffer(), path, OpenMode::Edit), 0);
    ASSERT_FALSE(Buffer().file.loadComplete);
    uint32_t first = Buffer().file.recordCount;
    EXPECT_LT(first, 1000u);

    session->view.topLine = LineFirst(Buffer());
    (void)Scroll(app, *session, ScrollDirection::Down, "700", Geometry(20));
    EXPECT_EQ(TopName(), "700");
    EXPECT_GE(Buffer().file.recordCount, 719u);
    EXPECT_LT(Buffer().file.recordCount, 1200u);
    EXPECT_FALSE(Buffer().file.loadComplete);

    (void)Scroll(app, *session, ScrollDirection::Down, "MAX", Geometry(20));
    EXPECT_TRUE(Buffer().file.loadComplete);
    EXPECT_EQ(TopName(), "4982");
}

// The commands through the edit dispatcher, as a user types them.
class ScrollCommandTest : public ScrollTest {
protected:
    void SetUp() override {
        ConnectInstance(app);  // before the session's buffer is made: buffers keep their storage host
        ScrollTest::SetUp();
        AddNumberedLines(100);
        PushContext(app, ContextKind::Task, "view_test.txt");
        app.editSessions.emplace_back(session.release());
        Current().view.dataRows = 20;
        Current().view.dataColumns = 80;
    }
    void TearDown() override { app.editSessions.clear(); }
    EditSession& Current() { return *app.editSessions.front(); }
    std::string Top() {
        RebuildRowTable(Current(), 1);
        const LineRecord* line = Current().view.rowTable[0];
        return line->kind == LineKind::TopMarker ? "top" : std::to_string(line->recordNumber);
    }

private:
};

TEST_F(ScrollCommandTest, VerbsScrollTheCurrentSession) {
    RunEditCommand(app, "down 30");
    EXPECT_EQ(Top(), "30");
    RunEditCommand(app, "UP 5;up 5");
    EXPECT_EQ(Top(), "20");
    RunEditCommand(app, "TOP");
    EXPECT_EQ(Top(), "top");
    RunEditCommand(app, "BOTTOM");
    EXPECT_EQ(Top(), "82");  // 19 lines and the end marker
    RunEditCommand(app, "RIGHT 4");
    EXPECT_EQ(Current().view.horizontalOffset, 4);
    RunEditCommand(app, "LEFT");
    EXPECT_EQ(Current().view.horizontalOffset, 0);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(ScrollCommandTest, ViewSwitches) {
    EditViewState& view = Current().view;
    RunEditCommand(app, "HEX");
    EXPECT_TRUE(view.hexOn);
    RunEditCommand(app, "HEX");
    EXPECT_FALSE(view.hexOn);
    RunEditCommand(app, "hex on");
    EXPECT_TRUE(view.hexOn);
    RunEditCommand(app, "HEX whatever");
    EXPECT_FALSE(view.hexOn);

    RunEditCommand(app, "RULER ON");
    EXPECT_TRUE(view.rulerOn);
    RunEditCommand(app, "RULER");
    EXPECT_FALSE(view.rulerOn);
    RunEditCommand(app, "SHOWEOL");
    EXPECT_TRUE(view.showEol);
    RunEditCommand(app, "SHOWEOL OFF");
    EXPECT_FALSE(view.showEol);
    EXPECT_TRUE(app.messages.empty());
    RunEditCommand(app, "SHOWEOL MAYBE");
    EXPECT_FALSE(view.showEol);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "SHOWEOL parameter must be ON or OFF");
}

}  // namespace
