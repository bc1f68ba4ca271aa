#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavoe {

namespace ui {

// The character set in which the canvas's text bytes are shown.
enum class DisplaySet : uint8_t { Iso8859, IbmPc };

// The Unicode glyph of a display byte. ISO-8859-1 shows each byte as itself, except the control codes
// (0x00-0x1F, 0x7F-0x9F), which get a visible substitute; the IBM-PC set shows the code page 437
// glyphs, the graphic glyphs of 0x01-0x1F and 0x7F included.
char32_t GlyphOf(uint8_t byte, DisplaySet set);
// The glyph of a CellKind::Graphic byte (always the IBM-PC set).
inline char32_t GraphicGlyphOf(uint8_t byte) {
    return GlyphOf(byte, DisplaySet::IbmPc);
}

// The display byte that shows a typed character, or -1 when the set has none.
int DisplayByteOf(char32_t ch, DisplaySet set);

void AppendUtf8(std::string& out, char32_t ch);
// Decodes one UTF-8 sequence at text[pos]; advances pos. Returns -1 for a malformed or incomplete
// sequence (pos then moves past one byte) so callers can fall back to the raw byte.
int32_t DecodeUtf8(std::string_view text, size_t& pos);
// Bytes of a UTF-8 sequence that starts with this lead byte (1 for anything not a valid lead).
int Utf8Length(uint8_t lead);

// UTF-8 text converted to display bytes; characters the set cannot show become '?', and bytes that
// are not valid UTF-8 are taken as they are.
std::string DisplayBytesFromUtf8(std::string_view text, DisplaySet set);
// Display bytes converted to UTF-8 glyphs.
std::string Utf8FromDisplayBytes(std::string_view bytes, DisplaySet set);

}  // namespace ui

}  // namespace tavoe
