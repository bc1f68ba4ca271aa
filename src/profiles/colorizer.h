#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/color_words.h"

namespace tavoe {

// The in-memory colorizer of one colorization type, and the colour of every character of a line.
//
// A colorizer works in one of two modes. Field mode colours fixed column ranges. Word mode scans the
// text: blanks and delimiters, comments to the end of the line (anywhere, or starting in a fixed
// column), block comments that may span lines, quoted literals, and words looked up in eight word
// sets. Only block comments carry anything from one line to the next, so the whole state between
// lines is one ColorLineState: callers keep it per line and recolour a changed line from the state
// it starts in, without going back to the top of the file.

inline constexpr int kColorWordSetCount = 8;
inline constexpr int kColorFieldMax = 8;
inline constexpr std::size_t kColorTextMax = 3;        // comment texts
inline constexpr std::size_t kColorDelimiterMax = 31;  // delimiters besides the blank
inline constexpr std::size_t kColorFieldNameMax = 63;
inline constexpr std::size_t kColorTypeNameMax = 7;
inline constexpr int kColorIndexMax = 15;  // palette indexes run 0..15
inline constexpr int32_t kColorColumnMax = 64000;

// A colour attribute: the foreground palette index in the high four bits, the background in the low.
inline std::uint8_t ColorAttribute(int foreground, int background) {
    return static_cast<std::uint8_t>(((foreground & 15) << 4) | (background & 15));
}

// A foreground and background pair of palette indexes as a colorization names it. A pair whose two
// indexes are equal would hide the text: it means "not coloured" and such text keeps the line's base
// colour.
struct ColorIndexPair {
    int foreground = 0;
    int background = 0;
    bool Visible() const { return foreground != background; }
    bool operator==(const ColorIndexPair&) const = default;
};

// A column field of field mode: columns from..to (1-based, inclusive) in its colours.
struct ColorField {
    ColorIndexPair colors;
    int32_t from = 0;
    int32_t to = 0;
    std::string name;  // up to 63 characters
};

// A word set: its colours and whether any word was ever added to it.
struct ColorWordSet {
    ColorIndexPair colors;
    bool used = false;
};

// What one line hands to the next: whether a block comment is still open at its end.
enum class ColorLineState : std::uint8_t { Normal = 0, InBlockComment = 1 };

// Lookup tables derived from the settings, so the scan decides each byte with one table read.
struct ColorScanTables {
    std::array<std::uint8_t, 256> fold{};       // identity, or ASCII upper-casing when case-blind
    std::array<std::uint8_t, 256> separator{};  // 1: blank or delimiter
    std::array<std::int8_t, 256> singleChar{};  // set of a one-character word checked alone, else -1
    std::array<std::uint8_t, 256> wordStop{};   // 1: ends a word; 2: may start a comment text
    std::string blockBegin, blockEnd, toEnd, columnText;  // folded like the text
    bool literals = false;
    bool prepared = false;
};

struct Colorizer {
    std::string name;                // the type, upper case, up to 7 characters
    std::vector<ColorField> fields;  // up to 8; any field means field mode
    std::array<ColorWordSet, kColorWordSetCount> sets;
    ColorWords words;              // every word of every set
    ColorIndexPair literalColors;  // literals are coloured only when the pair is visible
    char literalEscape = '\0';     // inside a literal, makes the next character part of it
    ColorIndexPair blockColors;    // block comment
    std::string blockBegin;        // up to 3 characters each; no begin text: no block comments
    std::string blockEnd;
    ColorIndexPair toEndColors;  // comment to the end of the line
    std::string toEndText;
    ColorIndexPair columnColors;  // comment from a fixed column to the end of the line
    std::string columnText;
    int32_t column = 0;            // 1-based; 0 with no text: none
    bool singleCharWords = false;  // some set holds a one-character letter or digit (kept by Prepare)
    bool caseSensitive = false;    // false: words and texts compare in upper case
    std::string delimiters;        // characters besides the blank that separate words
    ColorScanTables tables;        // rebuilt by PrepareColorizer after any change
    bool nulLineReported = false;  // the session that owns it has said lines with X'00' stay plain

    bool FieldMode() const { return !fields.empty(); }
};

// Rebuilds the scan tables from the settings. The reader calls it once it has read a file; code that
// changes a colorizer (the colorization dialogs) calls it before the colorizer colours again.
void PrepareColorizer(Colorizer& colorizer);

// The colorizer can leave a line inside a block comment, so a line's colours may depend on the
// lines above it.
bool CarriesState(const Colorizer& colorizer);

// Colours one line. `attributes` has room for `capacity` bytes, at least the text's length. Word
// mode writes one attribute per text byte; field mode writes all `capacity` bytes (the line buffer
// as a whole) and stops at the first field whose last column lies beyond them, so the fields listed
// after it are not applied. `base` is the session's normal colour. A line holding a NUL byte is
// all `base` and passes the state on unchanged; `hasNul` tells the caller. Returns the state the
// next line starts in.
struct ColorizeOutcome {
    ColorLineState end = ColorLineState::Normal;
    bool hasNul = false;
};
ColorizeOutcome ColorizeText(const Colorizer& colorizer, std::string_view text, ColorLineState start,
                             std::uint8_t base, std::uint8_t* attributes, std::size_t capacity);

// The state the next line starts in, without colouring anything (the same scan as ColorizeText).
ColorLineState NextLineState(const Colorizer& colorizer, std::string_view text, ColorLineState start);

}  // namespace tavoe
