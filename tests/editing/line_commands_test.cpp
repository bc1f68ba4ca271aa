#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_parse.h"
#include "editing/line_commands.h"
#include "editing/undo_journal.h"
#include "editing/undo_step.h"

using namespace tavoe;

namespace {

// ---- Parsing ----------------------------------------------------------------------------------------

TEST(LineCommandParse, CountMustFollowTheNameDirectly) {
    ParsedLineCommand glued = ParseLineCommand("d3       ");
    EXPECT_EQ(glued.name, "D");
    EXPECT_EQ(glued.count, 3);
    ParsedLineCommand spaced = ParseLineCommand("  d 3    ");
    EXPECT_EQ(spaced.name, "D");
    EXPECT_EQ(spaced.count, 0);
}

TEST(LineCommandParse, CountsAboveTheCapAreCutAndFlagged) {
    ParsedLineCommand big = ParseLineCommand("R100000");
    EXPECT_EQ(big.count, kLineCommandCountMax);
    EXPECT_TRUE(big.countCapped);
    ParsedLineCommand huge = ParseLineCommand("cc9999999999999999999");
    EXPECT_EQ(huge.name, "CC");
    EXPECT_EQ(huge.count, kLineCommandCountMax);
    EXPECT_TRUE(huge.countCapped);
    EXPECT_FALSE(ParseLineCommand("R99999").countCapped);
}

TEST(LineCommandParse, GarbageNamesAreNotInTheTable) {
    for (const char* text : {"d-3", "d3x", "abcdefghi", "\xff", "3", "DDD"}) {
        ParsedLineCommand parsed = ParseLineCommand(text);
        EXPECT_FALSE(LookupLineCommand(parsed.name).has_value()) << text << " parsed as " << parsed.name;
    }
}

TEST(LineCommandParse, EverySpellingFindsItsCommand) {
    EXPECT_EQ(LookupLineCommand("BN")->id, LineCommandId::Bounds);
    EXPECT_EQ(LookupLineCommand("BNDS")->id, LineCommandId::Bounds);
    EXPECT_EQ(LookupLineCommand("COL")->id, LineCommandId::Cols);
    EXPECT_EQ(LookupLineCommand("MAS")->id, LineCommandId::Mask);
    EXPECT_EQ(LookupLineCommand("TAB")->id, LineCommandId::Tabs);
    EXPECT_EQ(LookupLineCommand(".ANY")->id, LineCommandId::Label);
    EXPECT_TRUE(LookupLineCommand("XX")->browse);
    EXPECT_FALSE(LookupLineCommand("DD")->browse);
    EXPECT_FALSE(LookupLineCommand("BND5").has_value());
}

TEST(LineCommandParse, ColsRulerMarksEveryFifthColumnAndTensWithRoomLeft) {
    EXPECT_EQ(ColsRulerText(15), "----+----10---+");
    // 20 is written only when at least five columns remain from it.
    EXPECT_EQ(ColsRulerText(23), "----+----10---+----+---");
    EXPECT_EQ(ColsRulerText(24), "----+----10---+----20---");
    EXPECT_EQ(ColsRulerText(20000).size(), 9999u);
}

// ---- Processing ---------------------------------------------------------------------------------------

class LineCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        VarSetValue(app, "ZUNDO", "TRUE");
        app.profileSettings.undoEnabled = true;
        session.buffer.profile = BuiltInFileProfile("TEST");
        session.buffer.profile.maxRecordLength = 40;
        session.buffer.profile.boundsLeft = 1;
        session.buffer.profile.boundsRight = 40;
        session.buffer.file.atEnd = true;
        session.buffer.file.loadComplete = true;
        session.view.prefixWidth = 7;
        session.view.dataRows = 30;
        session.view.dataColumns = 60;
    }

    void Lines(int count) {
        std::vector<std::string> texts;
        for (int i = 1; i <= count; ++i) {
            texts.push_back(std::to_string(i));
        }
        Lines(texts);
    }
    void Lines(const std::vector<std::string>& texts) {
        for (const std::string& text : texts) {
            LineRecord* line = LineNew(session.buffer, text);
            line->kind = LineKind::Data;
            LineAppendLoaded(session.buffer, line);
            lines.push_back(line);
        }
        ASSERT_EQ(AppendEndMarker(session.buffer, LoadEnd::Complete), 0);
        session.view.topLine = LineFirst(session.buffer);
        ASSERT_NE(UndoSyncSession(app, session), nullptr);
    }

    // Types a command into line n's prefix (1 = the first data line, 0 = the top marker).
    void Type(int n, std::string_view text) {
        LineRecord* line = n == 0 ? LineFirst(session.buffer) : lines[static_cast<size_t>(n - 1)];
        LineSetPendingCommand(*line, text);
        PendingCommandTyped(app, session, *line);
    }
    int Enter() { return ProcessLineCommands(app, session); }

    // The data lines by text, excluded ones in brackets, special lines by kind, joined with ",".
    std::string Texts() const {
        std::string all;
        bool first = true;
        for (const LineRecord& line : tavoe::Lines(session.buffer)) {
            std::string item;
            switch (line.kind) {
                case LineKind::Data:
                    item = LineIsVisible(line) ? std::string(LineText(line))
                                               : "[" + std::string(LineText(line)) + "]";
                    break;
                case LineKind::ExcludedMarker:
                    item = "x" + std::to_string(line.hiddenCount);
                    break;
                case LineKind::Cols:
                    item = "cols";
                    break;
                case LineKind::Bounds:
                    item = "bnds";
                    break;
                default:
                    continue;
            }
            all += first ? item : "," + item;
            first = false;
        }
        return all;
    }
    std::string LastMessage() const {
        return app.messages.empty() ? std::string() : app.messages.back().text;
    }
    std::string Pending(int n) const {
        std::string_view text = LinePendingCommand(*lines[static_cast<size_t>(n - 1)]);
        return std::string(text.substr(0, text.find(' ')));
    }
    void Undo() { ASSERT_EQ(UndoStep(app, &session), 0); }

    AppSession app;
    EditSession session{app};
    std::vector<LineRecord*> lines;
};

TEST_F(LineCommandTest, BlockEndsPairInEitherOrderAcrossEnters) {
    Lines(22);
    Type(10, "CC");
    Type(5, "CC");
    Type(20, "A");
    Enter();
    EXPECT_EQ(Texts(), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,5,6,7,8,9,10,21,22");
    Undo();
    EXPECT_EQ(Texts(), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22");

    // The second end arrives an Enter later; the destination one later still.
    Type(3, "mm");
    Enter();
    EXPECT_EQ(Pending(3), "mm");
    Type(2, "mm");
    Enter();
    EXPECT_EQ(Texts(), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22");
    Type(6, "b2");
    Enter();
    EXPECT_EQ(Texts(), "1,4,5,2,3,2,3,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22");
    EXPECT_EQ(Pending(2), "");
    Undo();
    EXPECT_EQ(Texts(), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22");
}

TEST_F(LineCommandTest, DestinationInsideTheBlockIsRefusedAndTheBlockWaits) {
    Lines(6);
    Type(2, "CC");
    Type(4, "CC");
    Type(3, "A");
    Enter();
    EXPECT_EQ(LastMessage(), "C/CC invalid destination.");
    EXPECT_EQ(Pending(3), "A");
    Type(3, "");
    PendingCommandCleared(app, session, *lines[2]);
    Type(4 + 2, "A");
    Enter();
    EXPECT_EQ(Texts(), "1,2,3,4,5,6,2,3,4");
    // A destination typed inside the block on the same Enter is its partner, not a conflict.
    Type(1, "MM");
    Type(3, "MM");
    Type(2, "B");
    Enter();
    EXPECT_EQ(LastMessage(), "M/MM invalid destination.");
    EXPECT_EQ(Texts(), "1,2,3,4,5,6,2,3,4");
}

TEST_F(LineCommandTest, ConflictsAndSecondBlocksAreRefusedWithTheirMessages) {
    Lines(8);
    Type(2, "DD");
    Enter();
    Type(3, "C");  // a single command while a block of its kind is open is fine: CC is another kind
    Type(4, "D");  // D while DD's first end waits
    Enter();
    EXPECT_EQ(LastMessage(),
              "Line command 'D' on line 4 conflicts with line command 'DD' on line 2.\n\nManually alter line "
              "command to clear conflict or use RESET to clear pending line commands.");
    ForgetAllLineCommands(session);
    Type(1, "CC");
    Type(3, "CC");
    Type(5, "CC");
    Enter();
    EXPECT_EQ(LastMessage(), "CC line block already pending, do RESET or clear one of the CC line commands.");
    EXPECT_EQ(Pending(5), "CC");
    EXPECT_EQ(Pending(1), "CC");
}

TEST_F(LineCommandTest, AFailingEntryStopsTheRestWhichStayPending) {
    Lines(5);
    Type(1, "D");
    Type(2, "F");
    Type(4, "D");
    EXPECT_EQ(Enter(), 1);
    EXPECT_EQ(LastMessage(), "FIRST only allowed on excluded line.");
    EXPECT_EQ(Texts(), "2,3,4,5");
    EXPECT_EQ(Pending(2), "F");
    EXPECT_EQ(Pending(4), "D");
}

TEST_F(LineCommandTest, DeleteAndExcludeOnOneEnterRunTheDeleteFirst) {
    Lines(6);
    Type(2, "X2");
    Type(5, "D");
    Enter();
    EXPECT_EQ(Texts(), "1,x2,[2],[3],4,6");
    // A delete whose range holds a command still to come is refused instead of deleting its line.
    Type(4, "D3");
    Type(6, "I");
    Enter();
    EXPECT_NE(LastMessage().find("conflicts"), std::string::npos);
    EXPECT_EQ(Texts(), "1,x2,[2],[3],4,6");
}

TEST_F(LineCommandTest, TopAndEndMarkersTakeOnlyTheirCommands) {
    Lines(3);
    Type(0, "D");
    Enter();
    EXPECT_EQ(LastMessage(), "'D' not allowed on TOF Line..");
    ForgetAllLineCommands(session);
    Type(0, "I");
    Enter();
    EXPECT_EQ(Texts(), ",1,2,3");
    LineRecord* end = LineLast(session.buffer);
    LineSetPendingCommand(*end, "R");
    Enter();
    EXPECT_EQ(LastMessage(), "'R' not allowed on BOF Line..");
}

TEST_F(LineCommandTest, RepeatCopiesKeepTheExcludedStateAndUndoInOneStep) {
    Lines(4);
    Type(2, "X");
    Enter();
    Type(1, "RR");
    Type(3, "RR2");
    Enter();
    EXPECT_EQ(Texts(), "1,x1,[2],3,1,x1,[2],3,1,x1,[2],3,4");
    Undo();
    EXPECT_EQ(Texts(), "1,x1,[2],3,4");
    Type(4, "R99999");
    Enter();
    EXPECT_EQ(LineCount(session.buffer), 2u + 1u + 4u + 99999u);
    Undo();
    EXPECT_EQ(Texts(), "1,x1,[2],3,4");
}

TEST_F(LineCommandTest, ShiftsStayWithinTheBoundsAndDataShiftsKeepText) {
    Lines({"abcdef", "  indented", "x"});
    session.buffer.profile.boundsLeft = 2;
    session.buffer.profile.boundsRight = 6;
    Type(1, "(");  // ZSHIFT unset: 2 columns
    Enter();
    EXPECT_EQ(std::string(LineText(*lines[0])), "adef");
    Type(2, "<5");
    Enter();
    EXPECT_EQ(std::string(LineText(*lines[1])), " inde nted");  // text right of the bounds stays
    EXPECT_TRUE(LineHasFlag(*lines[1], LineFlagA::Error));
    EXPECT_EQ(LastMessage(), "Data shift incomplete.");
    VarSetValue(app, "ZSHIFT", "3");
    Type(3, ")");
    Enter();
    EXPECT_EQ(std::string(LineText(*lines[2])), "x");  // nothing within the bounds
    Undo();
    Undo();
    EXPECT_EQ(std::string(LineText(*lines[1])), "  indented");
}

TEST_F(LineCommandTest, MoveWithOverlayKeepsSourcesWhenIncomplete) {
    Lines({"ab  ", "  cd", "  xy", "q"});
    Type(1, "M");
    Type(2, "O");
    Enter();
    EXPECT_EQ(Texts(), "abcd,  xy,q");
    Type(2, "C");
    Type(3, "O");
    Enter();
    EXPECT_EQ(Texts(), "abcd,abxy,q");
    Type(3, "M");
    Type(4, "O");
    Enter();
    EXPECT_EQ(LastMessage(), "O/OO incomplete, M/MM lines not deleted.");
    EXPECT_EQ(Texts(), "abcd,abxy,qbxy");
}

TEST_F(LineCommandTest, FirstLastAndLeastIndentedShowHiddenLines) {
    Lines({"a", "    deep", "  mid", "    deep2", "  mid2", "z"});
    Type(2, "XX");
    Type(5, "XX");
    Enter();
    EXPECT_EQ(Texts(), "a,x4,[    deep],[  mid],[    deep2],[  mid2],z");
    LineRecord* marker = LineNext(lines[0]);
    LineSetPendingCommand(*marker, "S2");
    Enter();
    EXPECT_EQ(Texts(), "a,x1,[    deep],  mid,x1,[    deep2],  mid2,z");
    marker = LineNext(lines[0]);
    LineSetPendingCommand(*marker, "L");
    Enter();
    EXPECT_EQ(Texts(), "a,    deep,  mid,x1,[    deep2],  mid2,z");
}

TEST_F(LineCommandTest, SpecialLinesGoInBeforeAndMdMakesColsData) {
    Lines(2);
    Type(1, "COLS");
    Type(2, "BNDS");
    Enter();
    EXPECT_EQ(Texts(), "cols,1,bnds,2");
    LineRecord* cols = LineNext(LineFirst(session.buffer));
    LineSetPendingCommand(*cols, "MD");
    Enter();
    EXPECT_EQ(Texts(), "----+----10---+----20---+----30---+----+,1,bnds,2");
    Undo();
    EXPECT_EQ(Texts(), "cols,1,bnds,2");
}

TEST_F(LineCommandTest, BrowseDropsChangingCommandsAndRunsTheOthers) {
    Lines(3);
    session.buffer.file.browseReason = BrowseReason::Requested;
    Type(1, "D");
    Type(2, "X");
    Enter();
    EXPECT_EQ(app.messages.front().text, "'D' line command can not be used in READ-ONLY file.");
    EXPECT_EQ(Texts(), "1,x1,[2],3");
    EXPECT_EQ(Pending(1), "");
}

TEST_F(LineCommandTest, TextFlowJoinAndSplit) {
    Lines({"one two three four five six", "seven eight", "", "next para"});
    Type(1, "TF12");
    Enter();
    EXPECT_EQ(Texts(), "one two,three four,five six,seven eight,,next para");
    Undo();
    EXPECT_EQ(Texts(), "one two three four five six,seven eight,,next para");
    Type(2, "TJ");
    Enter();
    EXPECT_EQ(Texts(), "one two three four five six,seven eight,next para");
    Type(2, "TS7");
    Enter();
    EXPECT_EQ(Texts(), "one two three four five six,seven,eight,next para");
}

}  // namespace

namespace {

// Every command that changes lines is one UNDO step that gives back exactly the lines before it.
TEST_F(LineCommandTest, EveryChangingCommandUndoesInOneStep) {
    Lines({"Alpha one", "  beta two", "gamma (three)", "delta", "epsilon", "zeta"});
    struct Step {
        std::vector<std::pair<int, const char*>> typed;
    };
    const std::vector<Step> steps = {
        {{{2, "D2"}}},
        {{{1, "DD"}, {3, "DD"}}},
        {{{4, "I3"}}},
        {{{2, "R2"}}},
        {{{1, "RR"}, {2, "RR"}}},
        {{{1, "C2"}, {5, "A2"}}},
        {{{3, "M"}, {1, "B"}}},
        {{{5, "MM"}, {6, "MM"}, {1, "A"}}},
        {{{1, "UC3"}}},
        {{{1, "LCC"}, {2, "LCC"}}},
        {{{1, ")4"}}},
        {{{2, "((1"}, {3, "(("}}},
        {{{2, "<"}}},
        {{{1, ">>"}, {3, ">>"}}},
        {{{1, "C"}, {4, "O"}}},
        {{{1, "M"}, {6, "OO"}, {5, "OO"}}},
        {{{3, "TJ"}}},
        {{{1, "TS7"}}},
        {{{1, "TF5"}}},
    };
    const std::string original = Texts();
    for (const Step& step : steps) {
        std::string label;
        for (const auto& [n, text] : step.typed) {
            Type(n, text);
            label += std::to_string(n) + text + " ";
        }
        Enter();
        ASSERT_NE(Texts(), original) << label << "changed nothing: " << LastMessage();
        Undo();
        EXPECT_EQ(Texts(), original) << label;
        EXPECT_EQ(Pending(1) + Pending(2) + Pending(3) + Pending(4) + Pending(5) + Pending(6), "") << label;
    }
}

}  // namespace
