#include "view/view_paint.h"

#include "view/view_colors.h"
#include "view_fixture.h"

using namespace tavoe;

namespace {

constexpr ui::ColorPair kEdit{0, 3};
constexpr ui::ColorPair kBrowse{1, 4};
constexpr ui::ColorPair kSelect{3, 0};
constexpr ui::ColorPair kNumbers{3, 2};
constexpr ui::ColorPair kLcmds{0, 2};
constexpr ui::ColorPair kOther{7, 10};

class PaintTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        auto set = [this](ColorElement element, ui::ColorPair pair) {
            app.profileSettings.colors[static_cast<size_t>(element)] = ::ColorPair{pair.fg, pair.bg};
        };
        set(ColorElement::Edit, kEdit);
        set(ColorElement::Browse, kBrowse);
        set(ColorElement::Select, kSelect);
        set(ColorElement::Numbers, kNumbers);
        set(ColorElement::Lcmds, kLcmds);
        set(ColorElement::Other, kOther);
    }

    // Paints into a canvas of rows x (prefix 6 + dataColumns).
    ui::Canvas Paint(int rows, int dataColumns, PrefixOptions options = {}) {
        ui::Canvas canvas(rows, 6 + dataColumns);
        ui::Painter painter(canvas, canvas.Bounds());
        PaintEditRowsWith(app, *session, painter, options);
        return canvas;
    }
    static ui::ColorPair ColorAt(const ui::Canvas& canvas, int row, int col) {
        return canvas.At(row, col).color;
    }
};

TEST_F(PaintTest, RowsShowPrefixAndTextFromTheOffsetAndBlanksBelowTheEnd) {
    AddLine("ABCDEFGHIJ");
    Finish();
    session->view.horizontalOffset = 2;
    ui::Canvas canvas = Paint(4, 10);
    EXPECT_EQ(RowText(canvas, 0), "      *** Top of");  // markers ignore the offset
    EXPECT_EQ(RowText(canvas, 1), "00001 CDEFGHIJ  ");
    EXPECT_EQ(RowText(canvas, 2), "      *** Bottom");
    EXPECT_EQ(RowText(canvas, 3), "                ");
    EXPECT_EQ(Rows(), (std::vector<std::string>{"top", "1", "end", "-"}));
    EXPECT_EQ(ColorAt(canvas, 1, 0), kNumbers);
    EXPECT_EQ(ColorAt(canvas, 1, 6), kEdit);
    EXPECT_EQ(ColorAt(canvas, 3, 0), kNumbers);
    EXPECT_EQ(session->view.dataRows, 4);
    EXPECT_EQ(session->view.dataColumns, 16);
}

TEST_F(PaintTest, PrefixColoursFollowWhatItShows) {
    LineRecord* command = AddLine("a");
    LineSetPendingCommand(*command, "D");
    LineRecord* label = AddLine("b");
    LineSetLabel(*label, ".A");
    Finish();
    ui::Canvas canvas = Paint(3, 4);
    EXPECT_EQ(RowText(canvas, 1, 0, 6), "D     ");
    EXPECT_EQ(ColorAt(canvas, 1, 0), kLcmds);
    EXPECT_EQ(RowText(canvas, 2, 0, 6), ".A    ");
    EXPECT_EQ(ColorAt(canvas, 2, 5), kOther);
}

TEST_F(PaintTest, ShowEolPaintsTheRestOfTheRecordAreaInNumbersColours) {
    AddLine("0123456789");
    Finish();
    session->view.topLine = Record(1);
    ui::Canvas plain = Paint(1, 90);
    EXPECT_EQ(ColorAt(plain, 0, 6 + 10), kEdit);
    EXPECT_EQ(ColorAt(plain, 0, 6 + 79), kEdit);
    EXPECT_EQ(ColorAt(plain, 0, 6 + 80), kNumbers);  // beyond the record length of 80

    session->view.showEol = true;
    ui::Canvas eol = Paint(1, 90);
    EXPECT_EQ(ColorAt(eol, 0, 6 + 9), kEdit);  // column 10, the last character
    for (int col = 10; col < 90; ++col) {
        EXPECT_EQ(ColorAt(eol, 0, 6 + col), kNumbers) << "data column " << col + 1;
    }
}

TEST_F(PaintTest, RecordAreaEndMovesWithTheOffset) {
    AddLine("x");
    Finish();
    session->view.topLine = Record(1);
    session->view.horizontalOffset = 75;
    ui::Canvas canvas = Paint(1, 10);
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 4), kEdit);     // column 80
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 5), kNumbers);  // past it
}

TEST_F(PaintTest, BrowseUsesBrowseColours) {
    AddLine("abc");
    Finish();
    session->buffer.file.browseReason = BrowseReason::Requested;
    session->view.topLine = Record(1);
    ui::Canvas canvas = Paint(1, 8);
    EXPECT_EQ(ColorAt(canvas, 0, 6), kBrowse);
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 7), kBrowse);
}

TEST_F(PaintTest, ColourBytesAndSelectionMix) {
    LineRecord* line = AddLine("abcdef");
    Finish();
    (void)LineEnsureColor(Buffer(), *line);
    const uint8_t bytes[] = {0x12, 0x12, 0x34, 0x34, 0x56, 0x56};
    std::copy(std::begin(bytes), std::end(bytes), line->color);
    LineSetSelStart(*line, 2);
    LineSetSelEnd(*line, 3);
    session->view.topLine = line;
    ui::Canvas canvas = Paint(1, 8);
    EXPECT_EQ(ColorAt(canvas, 0, 6), (ui::ColorPair{1, 2}));
    EXPECT_EQ(ColorAt(canvas, 0, 7), kSelect);
    EXPECT_EQ(ColorAt(canvas, 0, 8), kSelect);
    EXPECT_EQ(ColorAt(canvas, 0, 9), (ui::ColorPair{3, 4}));
    EXPECT_EQ(ColorAt(canvas, 0, 11), (ui::ColorPair{5, 6}));
    EXPECT_EQ(ColorAt(canvas, 0, 12), kEdit);  // after the text

    // The selection is in record columns: scrolled by 2, column 3 is the first cell.
    session->view.horizontalOffset = 2;
    canvas = Paint(1, 8);
    EXPECT_EQ(RowText(canvas, 0, 6, 4), "cdef");
    EXPECT_EQ(ColorAt(canvas, 0, 6), kSelect);
    EXPECT_EQ(ColorAt(canvas, 0, 7), (ui::ColorPair{3, 4}));
}

TEST_F(PaintTest, SelectionWithoutColourBytes) {
    LineRecord* line = AddLine("abcdef");
    Finish();
    LineSetSelStart(*line, 5);
    LineSetSelEnd(*line, 9);
    session->view.topLine = line;
    ui::Canvas canvas = Paint(1, 10);
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 3), kEdit);
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 4), kSelect);
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 5), kSelect);
    EXPECT_EQ(ColorAt(canvas, 0, 6 + 6), kEdit);  // blanks after the text are not selected
}

TEST_F(PaintTest, NoteLineIgnoresOffsetSelectionAndColourBytes) {
    LineRecord* note = AddLine("remember this", LineKind::Note);
    Finish();
    (void)LineEnsureColor(Buffer(), *note);
    std::fill(note->color, note->color + note->length, 0x9A);
    LineSetSelStart(*note, 1);
    LineSetSelEnd(*note, 5);
    session->view.topLine = note;
    session->view.horizontalOffset = 4;
    ui::Canvas canvas = Paint(1, 16);
    EXPECT_EQ(RowText(canvas, 0), "<NOTE>remember this   ");
    EXPECT_EQ(ColorAt(canvas, 0, 0), kOther);
    for (int col = 6; col < 6 + 13; ++col) {
        EXPECT_EQ(ColorAt(canvas, 0, col), kOther);
    }
}

TEST_F(PaintTest, ExcludedRunTakesOneRowAndTheTableSkipsHiddenLines) {
    AddNumberedLines(6);
    Exclude(2, 4);
    ui::Canvas canvas = Paint(6, 50);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"top", "1", "x3", "5", "6", "end"}));
    EXPECT_NE(RowText(canvas, 2).find("3 lines excluded"), std::string::npos);
}

TEST_F(PaintTest, HiddenTopLineShowsItsMarker) {
    AddNumberedLines(5);
    session->view.topLine = Record(3);
    Exclude(2, 4);
    Paint(3, 20);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"x3", "5", "end"}));
}

TEST_F(PaintTest, BoxedPrefixKeepsItsLastCellForTheEdge) {
    AddLine("x");
    Finish();
    session->view.topLine = Record(1);
    PrefixOptions options;
    options.boxed = true;
    ui::Canvas canvas = Paint(1, 4, options);
    EXPECT_EQ(RowText(canvas, 0, 0, 5), "0001 ");
    EXPECT_EQ(canvas.At(0, 5).kind, ui::CellKind::Graphic);
}

TEST_F(PaintTest, NothingIsPaintedWhileClosing) {
    AddNumberedLines(2);
    app.closing = true;
    ui::Canvas canvas = Paint(2, 10);
    EXPECT_EQ(RowText(canvas, 0), std::string(16, ' '));
    EXPECT_TRUE(session->view.rowTable.empty());
}

TEST_F(PaintTest, UnreadableColourPairFallsBackToTheDefault) {
    app.profileSettings.colors[static_cast<size_t>(ColorElement::Edit)] = ::ColorPair{5, 5};
    EXPECT_EQ(ElementColors(app, ColorElement::Edit), (ui::ColorPair{0, 3}));
}

TEST_F(PaintTest, RulerRowAndHexPaneAreAlignedWithTheDataArea) {
    AddLine("AB");
    Finish();
    session->view.topLine = Record(1);
    ui::Canvas ruler(1, 20);
    ui::Painter rulerPainter(ruler, ruler.Bounds());
    PaintRulerRow(app, *session, rulerPainter);
    EXPECT_EQ(RowText(ruler, 0), "<COLS>----+----10---");
    EXPECT_EQ(ColorAt(ruler, 0, 0), kOther);

    ui::Canvas hex(2, 10);
    ui::Painter hexPainter(hex, hex.Bounds());
    PaintHexPane(app, *session, hexPainter);
    EXPECT_EQ(RowText(hex, 0), "      44  ");
    EXPECT_EQ(RowText(hex, 1), "      12  ");
}

TEST_F(PaintTest, ThumbFollowsTheTopLine) {
    AddNumberedLines(98);
    ScrollThumb top = VerticalThumb(*session, 10, 20);
    EXPECT_EQ(top.first, 0);
    EXPECT_EQ(top.length, 2);
    session->view.topLine = Record(50);
    EXPECT_EQ(VerticalThumb(*session, 10, 20).first, 10);
    session->view.topLine = LineLast(Buffer());
    EXPECT_EQ(VerticalThumb(*session, 10, 20).first, 18);
}

}  // namespace
