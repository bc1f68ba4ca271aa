#include "view/view_rows.h"

#include "view_fixture.h"

using namespace tavoe;

namespace {

using RowsTest = ViewTest;

TEST_F(RowsTest, CursorOnARowWithoutALineIsASevereError) {
    AddNumberedLines(2);
    RebuildRowTable(*session, 6);  // top, 1, 2, end, -, -
    session->view.cursorRow = 1;
    EXPECT_EQ(PutCursorOnRow(app, *session, 3), 0);
    EXPECT_EQ(session->view.cursorRow, 3);
    EXPECT_EQ(PutCursorOnRow(app, *session, 4), -1);
    EXPECT_EQ(PutCursorOnRow(app, *session, 99), -1);
    EXPECT_EQ(session->view.cursorRow, 3);
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[0].text, "Severe error, cursor line not in frame buffer.");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
}

TEST_F(RowsTest, CursorLineOnlyWhileTheCursorIsInTheWindow) {
    AddNumberedLines(3);
    RebuildRowTable(*session, 5);
    session->view.cursorRow = 2;
    session->view.focus = KeyField::Command;
    EXPECT_EQ(ViewCursorLine(*session), nullptr);
    session->view.focus = KeyField::Prefix;
    EXPECT_EQ(ViewCursorLine(*session), Record(2));
    EXPECT_EQ(RowOfLine(*session, Record(3)), 3);
    EXPECT_EQ(RowOfLine(*session, nullptr), -1);
}

TEST_F(RowsTest, ForgettingTheTopLineMovesTheViewOn) {
    AddNumberedLines(3);
    session->view.topLine = Record(2);
    RebuildRowTable(*session, 3);
    LineRecord* gone = Record(2);
    ViewForgetLine(*session, gone);
    LineDelete(Buffer(), gone);
    EXPECT_EQ(session->view.topLine, Record(3));
    EXPECT_EQ(session->view.rowTable[0], nullptr);
    RebuildRowTable(*session, 3);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"3", "end", "-"}));

    // At the very end the view falls back to the line before.
    LineRecord* end = LineLast(Buffer());
    session->view.topLine = end;
    ViewForgetLine(*session, end);
    EXPECT_EQ(session->view.topLine, Record(3));
}

TEST_F(RowsTest, WalksSkipHiddenLinesAndTheFallbackGeometryUsesTheTable) {
    AddNumberedLines(6);
    Exclude(2, 5);
    LineRecord* marker = LineNext(Record(1));
    ASSERT_EQ(marker->kind, LineKind::ExcludedMarker);
    EXPECT_EQ(NextShownLine(Buffer(), marker), Record(6));
    EXPECT_EQ(PrevShownLine(Record(6)), marker);
    EXPECT_EQ(ShownLineAtOrBefore(Buffer(), Record(4)), marker);
    EXPECT_EQ(ShownLineAtOrBefore(Buffer(), nullptr), LineFirst(Buffer()));

    RebuildRowTable(*session, 7);
    ViewGeometry geometry = ViewGeometryOf(app, *session);
    EXPECT_EQ(geometry.rows, 7);
    EXPECT_EQ(geometry.columns, 80);
    session->view.dataRows = 12;
    session->view.dataColumns = 50;
    geometry = ViewGeometryOf(app, *session);
    EXPECT_EQ(geometry.rows, 12);
    EXPECT_EQ(DataColumns(*session, geometry), 44);
}

}  // namespace
