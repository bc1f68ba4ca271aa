#include "view/view_prefix.h"

#include "editing/keys.h"
#include "view/view_fields.h"
#include "view/view_font.h"
#include "view_fixture.h"

using namespace tavoe;

namespace {

class PrefixTest : public ViewTest {
protected:
    void NumberCobol() {
        FileProfile& profile = Buffer().profile;
        profile.numberType = NumberType::Cobol;
        profile.numberColumnStart = 1;
        profile.numberColumnEnd = 6;
    }
    PrefixShown Prefix(LineRecord* line, int width = 6, bool numbers = true) {
        PrefixOptions options;
        options.showNumbers = numbers;
        return RowPrefix(Buffer(), line, width, options);
    }
};

TEST_F(PrefixTest, PendingCommandOutranksLabelAndTags) {
    LineRecord* line = AddLine("000100 DATA");
    LineSetFlag(*line, LineFlagB::Changed);
    LineSetFlag(*line, LineFlagA::Error);
    LineSetLabel(*line, ".HERE");
    LineSetPendingCommand(*line, "CC");

    PrefixShown shown = Prefix(line);
    EXPECT_EQ(shown.text, "CC    ");
    EXPECT_EQ(shown.element, ColorElement::Lcmds);

    LineClearPendingCommand(*line);
    shown = Prefix(line);
    EXPECT_EQ(shown.text, ".HERE ");
    EXPECT_EQ(shown.element, ColorElement::Other);

    LineClearLabel(*line);
    EXPECT_EQ(Prefix(line).text, "==CHG>");

    LineClearFlag(*line, LineFlagB::Changed);
    EXPECT_EQ(Prefix(line).text, "==ERR>");

    LineClearFlag(*line, LineFlagA::Error);
    shown = Prefix(line);
    EXPECT_EQ(shown.text, "00001 ");
    EXPECT_EQ(shown.element, ColorElement::Numbers);
}

TEST_F(PrefixTest, KindTagsComeBeforeTheErrorTagAndAreCutToTheWidth) {
    const std::pair<LineKind, const char*> tags[] = {{LineKind::Bounds, "<BND"},
                                                     {LineKind::Cols, "<COL"},
                                                     {LineKind::Mask, "<MAS"},
                                                     {LineKind::Note, "<NOT"},
                                                     {LineKind::Tabs, "<TAB"}};
    for (const auto& [kind, text] : tags) {
        LineRecord* line = AddLine("x", kind);
        LineSetFlag(*line, LineFlagA::Error);
        PrefixShown shown = Prefix(line, 4);
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.element, ColorElement::Other);
    }
    // A changed tag still wins over the kind's tag.
    LineRecord* note = AddLine("n", LineKind::Note);
    LineSetFlag(*note, LineFlagB::Changed);
    EXPECT_EQ(Prefix(note, 9).text, "==CHG>   ");
}

TEST_F(PrefixTest, MarkersInsertedLinesAndHiddenNumbersShowBlanks) {
    Finish();
    EXPECT_EQ(Prefix(LineFirst(Buffer())).text, "      ");
    EXPECT_EQ(Prefix(LineLast(Buffer())).text, "      ");
    EXPECT_EQ(Prefix(nullptr).text, "      ");
    EXPECT_EQ(Prefix(nullptr).element, ColorElement::Numbers);

    LineRecord* inserted = LineNew(Buffer(), "");
    inserted->kind = LineKind::Data;
    LineSetFlag(*inserted, LineFlagA::InsertPending);
    (void)LineInsertBefore(Buffer(), LineLast(Buffer()), inserted);
    EXPECT_EQ(Prefix(inserted).text, "      ");

    LineRecord* data = AddLine("abc");
    EXPECT_EQ(Prefix(data, 6, false).text, "      ");
}

TEST_F(PrefixTest, NumberColumnsInColumnOneAreShownZeroPaddedToEightDigits) {
    NumberCobol();
    LineRecord* line = AddLine("000100 IDENTIFICATION DIVISION.");
    EXPECT_EQ(PrefixNumberDigits(Buffer(), *line), "00000100 ");
    EXPECT_TRUE(LineHasFlag(*line, LineFlagA::NumberValid));
    EXPECT_EQ(Prefix(line, 7).text, "000100 ");
    EXPECT_EQ(Prefix(line, 9).text, "00000100 ");
    EXPECT_EQ(Prefix(line, 4).text, "100 ");
}

TEST_F(PrefixTest, LetterInNumberColumnsFallsBackToRecordNumberWithoutMarkingValid) {
    NumberCobol();
    AddLine("000100 A");
    AddLine("000200 B");
    LineRecord* line = AddLine("0003X0 C");
    EXPECT_EQ(PrefixNumberDigits(Buffer(), *line), "00000003 ");
    EXPECT_FALSE(LineHasFlag(*line, LineFlagA::NumberValid));
    // Once marked valid (by numbering), the flag is trusted.
    LineRecord* valid = AddLine("000400 D");
    LineSetFlag(*valid, LineFlagA::NumberValid);
    EXPECT_EQ(PrefixNumberDigits(Buffer(), *valid), "00000400 ");
}

TEST_F(PrefixTest, NumbersOutsideColumnOneOrWithNumberingOffShowRecordNumbers) {
    FileProfile& profile = Buffer().profile;
    profile.numberType = NumberType::Standard;
    profile.numberColumnStart = 73;
    profile.numberColumnEnd = 80;
    LineRecord* line = AddLine(std::string(72, ' ') + "00000700");
    EXPECT_EQ(PrefixNumberDigits(Buffer(), *line), "00000001 ");

    NumberCobol();
    profile.numberType = NumberType::None;
    LineRecord* cobol = AddLine("000900 X");
    EXPECT_EQ(PrefixNumberDigits(Buffer(), *cobol), "00000002 ");
}

TEST_F(PrefixTest, WidthCutsFromTheRightAndNarrowPrefixesShowBlanks) {
    LineRecord* line = AddLine("x");
    line->recordNumber = 1234567;
    EXPECT_EQ(PrefixNumber(Buffer(), *line, 6), "34567 ");
    EXPECT_EQ(PrefixNumber(Buffer(), *line, 9), "01234567 ");
    EXPECT_EQ(PrefixNumber(Buffer(), *line, 3), "   ");
    EXPECT_EQ(PrefixNumber(Buffer(), *line, 0), "");
    line->recordNumber = 123456789;
    EXPECT_EQ(PrefixNumber(Buffer(), *line, 9), "23456789 ");
}

TEST_F(PrefixTest, BoxedPrefixDrawsOneCharacterLess) {
    LineRecord* line = AddLine("x");
    line->recordNumber = 42;
    PrefixOptions options;
    options.boxed = true;
    EXPECT_EQ(RowPrefix(Buffer(), line, 7, options).text, "00042  ");
    LineSetPendingCommand(*line, "MMMMMMMMM");
    EXPECT_EQ(RowPrefix(Buffer(), line, 7, options).text, "MMMMMM ");
}

// ---- COLS field, status line, hexadecimal pane, ruler ----------------------------------------------

TEST_F(PrefixTest, ColsFieldFormatFollowsTheRecordLength) {
    FileProfile& profile = Buffer().profile;
    profile.maxRecordLength = 99;
    EXPECT_EQ(ShowColsField(*session, 0, 72), "COLS 01 72");
    EXPECT_EQ(ShowColsField(*session, 50, 72), "COLS 51 99");
    profile.maxRecordLength = 150;
    EXPECT_EQ(ShowColsField(*session, 0, 72), "COLS 001 072");
    profile.maxRecordLength = 1000;
    EXPECT_EQ(ShowColsField(*session, 9, 20), "COLS 0010 0029");
    profile.maxRecordLength = 64000;
    EXPECT_EQ(ShowColsField(*session, 63999, 80), "COLS 64000 64000");
    profile.maxRecordLength = 80;
    EXPECT_EQ(ShowColsField(*session, 200, 80), "COLS 80 80");
}

TEST_F(PrefixTest, StatusLineNamesRecordColumnTasksAndBrowse) {
    AddNumberedLines(3);
    app.editSessions.emplace_back(session.release());
    EditSession& current = *app.editSessions.front();
    RebuildRowTable(current, 5);
    current.view.focus = KeyField::Data;
    current.view.cursorRow = 2;
    current.view.cursorColumn = 6;
    current.view.horizontalOffset = 10;
    EXPECT_EQ(ShowStatusLine(app), " L 2  C 11  Ins");  // where typing goes, the mode shows
    SetTypingMode(app, ui::TypingMode::Overtype);
    EXPECT_EQ(ShowStatusLine(app), " L 2  C 11  Ovr");
    SetTypingMode(app, ui::TypingMode::Insert);

    current.view.focus = KeyField::Prefix;
    current.view.cursorColumn = 2;
    EXPECT_EQ(ShowStatusLine(app), " L 2  C -");
    current.view.cursorRow = 0;  // the top marker
    EXPECT_EQ(ShowStatusLine(app), " L -  C -");

    app.editSessions.emplace_back(new EditSession(app));
    current.buffer.file.browseReason = BrowseReason::Requested;
    EXPECT_EQ(ShowStatusLine(app), " L -  C -  Task 2  RdOnly");

    app.closing = true;
    EXPECT_EQ(ShowStatusLine(app), "");
    app.closing = false;
    app.editSessions.clear();
    EXPECT_EQ(ShowStatusLine(app), "");
}

TEST_F(PrefixTest, HexPaneExplainsItselfUnlessTheTopLineIsData) {
    AddLine("AB");
    Finish();
    HexPaneRows rows = ShowHexPane(*session, 5);
    EXPECT_EQ(rows.high, "Hex codes are displayed in this window");
    EXPECT_EQ(rows.low, "when top display line is a data line.");

    session->view.topLine = Record(1);
    rows = ShowHexPane(*session, 5);
    EXPECT_EQ(rows.high, "44   ");
    EXPECT_EQ(rows.low, "12   ");
    session->view.horizontalOffset = 1;
    EXPECT_EQ(ShowHexPane(*session, 3).high, "4  ");
    EXPECT_EQ(ShowHexPane(*session, 3).low, "2  ");
}

TEST_F(PrefixTest, HexPaneShowsEbcdicCodesOfAnEbcdicFile) {
    Buffer().profile.diskCharset = ProfileCharset::Ebcdic;
    AddLine("A1 a");
    Finish();
    session->view.topLine = Record(1);
    HexPaneRows rows = ShowHexPane(*session, 4);
    EXPECT_EQ(rows.high, "CF48");
    EXPECT_EQ(rows.low, "1101");
}

TEST_F(PrefixTest, RulerMarksFivesAndWritesTensWhereTheyFit) {
    std::string ruler;
    for (int c = 1; c <= 16; ++c) {
        ruler += RulerCharAt(c, 80);
    }
    EXPECT_EQ(ruler, "----+----10---+-");
    EXPECT_EQ(RulerCharAt(100, 200), '1');
    EXPECT_EQ(RulerCharAt(102, 200), '0');
    EXPECT_EQ(RulerCharAt(103, 200), '-');
    // 80 leaves no room for its digits in a ruler of 83 columns; 70 does.
    EXPECT_EQ(RulerCharAt(80, 83), '+');
    EXPECT_EQ(RulerCharAt(70, 83), '7');
    EXPECT_EQ(RulerCharAt(84, 83), ' ');
}

// ---- The terminal check ------------------------------------------------------------------------

TEST(EditFontCheck, LocaleNamesItsEncoding) {
    EXPECT_EQ(TerminalCharsetOfLocale("en_US.UTF-8").encoding, TerminalEncoding::Utf8);
    EXPECT_EQ(TerminalCharsetOfLocale("de_DE.utf8@euro").encoding, TerminalEncoding::Utf8);
    EXPECT_EQ(TerminalCharsetOfLocale("de_DE.ISO-8859-1").encoding, TerminalEncoding::Latin1);
    EXPECT_EQ(TerminalCharsetOfLocale("en_US.IBM437").encoding, TerminalEncoding::Cp437);
    TerminalCharset plain = TerminalCharsetOfLocale("C");
    EXPECT_EQ(plain.encoding, TerminalEncoding::Other);
    EXPECT_EQ(plain.name, "ANSI_X3.4-1968");
    EXPECT_EQ(TerminalCharsetOfLocale("").encoding, TerminalEncoding::Other);
}

TEST_F(PrefixTest, IbmPcDisplayOnALatinTerminalIsWarnedAbout) {
    Buffer().profile.name = "COBOL";
    Buffer().profile.displayCharset = ProfileCharset::AsciiIbmPc;
    EXPECT_EQ(CheckEditFontFor(app, *session, TerminalCharsetOfLocale("en_US.UTF-8")), 0);
    EXPECT_TRUE(app.messages.empty());

    EXPECT_EQ(CheckEditFontFor(app, *session, TerminalCharsetOfLocale("de_DE.ISO-8859-1")), 1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(
        app.messages[0].text,
        "Edit font 'ISO-8859-1' and display charset ASCII-IBMPC are not compatible.\nCan not display char "
        "codes outside range 20-127 correctly.\n\nRecommend change to Edit font 'UTF-8' (or equivalent).\nOr "
        "change File Profile 'COBOL' field 'CharacterSet' to display charset ASCII-ISO8859.");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);

    Buffer().profile.displayCharset = ProfileCharset::AsciiIso8859;
    EXPECT_EQ(CheckEditFontFor(app, *session, TerminalCharsetOfLocale("de_DE.ISO-8859-1")), 0);
    EXPECT_EQ(CheckEditFontFor(app, *session, TerminalCharsetOfLocale("en_US.CP437")), 1);
    EXPECT_EQ(CheckEditFontFor(app, *session, TerminalCharsetOfLocale("POSIX")), 1);
}

}  // namespace
