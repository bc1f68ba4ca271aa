#pragma once

#include <string>
#include <string_view>

#include "platform/clipboard.h"
#include "ui/glyph_map.h"

namespace tavoe {

namespace ui {

// The conversion of clipboard text between the session's display set and the desktop's UTF-8.
//
// To UTF-8: ISO-8859-1 bytes are their own code points (control codes included); IBM-PC bytes become
// their code page 437 glyphs, except TAB, LF and CR, which stay control codes so lines and tabs keep
// their meaning. Every byte but NUL thus has its own character and comes back exactly.
//
// From UTF-8: each character becomes the display byte that shows it; one the set lacks becomes "?".
// A byte that is not part of valid UTF-8 is taken as an ISO-8859-1 character (text from a program
// that does not write UTF-8 keeps its accented letters); a NUL becomes "?" so the rest of the text is
// not cut off; a leading byte-order mark is dropped. Line ends (CR LF, CR or LF) pass as they are.
class DisplaySetCodec final : public ClipboardCodec {
public:
    explicit DisplaySetCodec(DisplaySet set) : set_(set) {}
    std::string ToUtf8(std::string_view displayBytes) const override;
    std::string FromUtf8(std::string_view utf8) const override;

private:
    DisplaySet set_;
};

}  // namespace ui

}  // namespace tavoe
