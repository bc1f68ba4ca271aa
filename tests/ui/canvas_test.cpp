#include <gtest/gtest.h>

#include "ui/canvas.h"
#include "ui/canvas_text.h"
#include "ui/color_match.h"
#include "ui/glyph_map.h"

using namespace tavoe;

using namespace ui;

TEST(CanvasChanges, OneCellOfAFullCanvasFlushesOneCell) {
    Canvas canvas(60, 200);
    EXPECT_EQ(canvas.TakeChanges().size(), 60u * 200u);  // the first flush sends everything
    canvas.Set(37, 150, Cell{'x', ColorPair{1, 2}, CellKind::Text});
    std::vector<Canvas::Change> changes = canvas.TakeChanges();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].row, 37);
    EXPECT_EQ(changes[0].col, 150);
    EXPECT_EQ(changes[0].cell.ch, 'x');
    EXPECT_TRUE(canvas.TakeChanges().empty());
}

TEST(CanvasChanges, RepaintingTheSameContentFlushesNothing) {
    Canvas canvas(24, 80);
    Painter p(canvas, canvas.Bounds());
    p.Text(3, 4, "hello", ColorPair{0, 3});
    canvas.TakeChanges();
    // A full repaint (clear, then draw again) ends where it started.
    canvas.Fill(canvas.Bounds(), Cell{});
    p.Text(3, 4, "hello", ColorPair{0, 3});
    EXPECT_TRUE(canvas.TakeChanges().empty());
    // A colour change alone is a change.
    p.Text(3, 4, "h", ColorPair{3, 0});
    EXPECT_EQ(canvas.TakeChanges().size(), 1u);
}

TEST(CanvasChanges, ResizeAndMarkAllResendEverything) {
    Canvas canvas(5, 10);
    canvas.TakeChanges();
    canvas.MarkAllChanged();
    EXPECT_EQ(canvas.TakeChanges().size(), 50u);
    canvas.Resize(3, 4);
    EXPECT_EQ(canvas.TakeChanges().size(), 12u);
    canvas.Resize(0, -5);  // never smaller than one cell
    EXPECT_EQ(canvas.Rows(), 1);
    EXPECT_EQ(canvas.Cols(), 1);
}

TEST(CanvasPainter, ClipsToItsRegionAndTheCanvas) {
    Canvas canvas(5, 10);
    Painter outer(canvas, Rect{1, 2, 2, 5});
    Painter inner = outer.Sub(Rect{1, 3, 4, 10});  // reaches beyond the outer region
    inner.Text(0, 0, "abcdefgh", ColorPair{});
    inner.Text(1, 0, "zzz", ColorPair{});  // row outside the outer region
    outer.Put(-1, 0, 'q', ColorPair{});
    EXPECT_EQ(CanvasRowText(canvas, 2, DisplaySet::Iso8859), "     ab");
    EXPECT_EQ(CanvasRowText(canvas, 3, DisplaySet::Iso8859), "");
    EXPECT_EQ(CanvasRowText(canvas, 0, DisplaySet::Iso8859), "");
    Painter off(canvas, Rect{4, 8, 3, 3});
    off.Frame(Rect{0, 0, 3, 3}, ColorPair{}, FrameStyle::Single);
    EXPECT_EQ(CanvasRowText(canvas, 4, DisplaySet::Iso8859), "        ┌─");
}

TEST(CanvasPainter, CursorOnlyWhereVisible) {
    Canvas canvas(5, 10);
    Painter p(canvas, Rect{0, 0, 2, 2});
    p.SetCursor(3, 3, CursorShape::Bar);
    EXPECT_FALSE(canvas.Cursor().visible);
    p.SetCursor(1, 1, CursorShape::Bar);
    EXPECT_TRUE(canvas.Cursor().visible);
    EXPECT_EQ(canvas.Cursor().shape, CursorShape::Bar);
}

TEST(Glyphs, IbmPcShowsCodePage437IncludingControlGlyphs) {
    EXPECT_EQ(GlyphOf(0x01, DisplaySet::IbmPc), U'\u263A');
    EXPECT_EQ(GlyphOf(0x1F, DisplaySet::IbmPc), U'\u25BC');
    EXPECT_EQ(GlyphOf(0x7F, DisplaySet::IbmPc), U'\u2302');
    EXPECT_EQ(GlyphOf(0x82, DisplaySet::IbmPc), U'\u00E9');
    EXPECT_EQ(GlyphOf(0xB3, DisplaySet::IbmPc), U'\u2502');
    EXPECT_EQ(GlyphOf(0xFF, DisplaySet::IbmPc), U'\u00A0');
    EXPECT_EQ(GlyphOf('A', DisplaySet::IbmPc), U'A');
}

TEST(Glyphs, IsoShowsItselfWithVisibleControls) {
    EXPECT_EQ(GlyphOf(0xE9, DisplaySet::Iso8859), U'\u00E9');
    EXPECT_EQ(GlyphOf(0x00, DisplaySet::Iso8859), U'\u2400');
    EXPECT_EQ(GlyphOf(0x1B, DisplaySet::Iso8859), U'\u241B');
    EXPECT_EQ(GlyphOf(0x7F, DisplaySet::Iso8859), U'\u2421');
    EXPECT_EQ(GlyphOf(0x85, DisplaySet::Iso8859), U'\uFFFD');
}

TEST(Glyphs, TypedCharactersMapBackToDisplayBytes) {
    EXPECT_EQ(DisplayByteOf(U'\u00E9', DisplaySet::Iso8859), 0xE9);
    EXPECT_EQ(DisplayByteOf(U'\u00E9', DisplaySet::IbmPc), 0x82);
    EXPECT_EQ(DisplayByteOf(U'\u2502', DisplaySet::Iso8859), -1);
    EXPECT_EQ(DisplayBytesFromUtf8("a\xC3\xA9\xE2\x82\xAC", DisplaySet::Iso8859), "a\xE9?");
    EXPECT_EQ(Utf8FromDisplayBytes("\x82", DisplaySet::IbmPc), "\xC3\xA9");
    // Bytes that are not UTF-8 are kept as they are.
    EXPECT_EQ(DisplayBytesFromUtf8("\xFF\xC3", DisplaySet::Iso8859), "\xFF\xC3");
}

TEST(ColorMatch, PaletteValuesAndNearestTerminalColours) {
    EXPECT_EQ(RgbFromColorValue(255), (Rgb{255, 0, 0}));
    EXPECT_EQ(RgbFromColorValue(16711680), (Rgb{0, 0, 255}));
    EXPECT_EQ(ColorValueFromRgb(Rgb{0, 128, 128}), 8421376u);
    Palette p = DefaultPalette();
    EXPECT_EQ(p[3], (Rgb{255, 255, 255}));
    EXPECT_EQ(p[9], (Rgb{64, 128, 128}));
    EXPECT_EQ(NearestXterm256(Rgb{255, 255, 255}), 231);
    EXPECT_EQ(NearestXterm256(Rgb{0, 0, 0}), 16);
    EXPECT_EQ(NearestXterm256(Rgb{128, 128, 128}), 244);
    EXPECT_EQ(NearestAnsi8(Rgb{255, 0, 0}), 1);
    EXPECT_EQ(NearestAnsi8(Rgb{0, 0, 128}), 4);
    EXPECT_EQ(NearestAnsi8(Rgb{255, 255, 255}), 7);
}
