#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "ui/event.h"
#include "ui/glyph_map.h"

namespace tavoe {

namespace ui {

// Turns the bytes a terminal sends into key and mouse events: control codes, UTF-8 text (as display
// bytes), ESC-prefixed Alt keys, CSI and SS3 keys with xterm modifiers (so Shift, Ctrl and Alt with
// F1..F12 arrive as such), rxvt and Linux-console variants, modifyOtherKeys and CSI-u keys (with
// press and release, which is how the right Ctrl key alone is seen), and SGR and X10 mouse reports
// (double clicks are made from two presses on one cell in quick succession). Sequences it does not
// know are dropped whole; terminal replies (OSC, DCS) are skipped.
class InputDecoder {
public:
    explicit InputDecoder(DisplaySet set = DisplaySet::Iso8859) : set_(set) {}

    void SetDisplaySet(DisplaySet set) { set_ = set; }
    // Whether bytes of 0x80 and above come as UTF-8 (else as ISO-8859-1 characters).
    void SetUtf8(bool utf8) { utf8_ = utf8; }

    // Adds bytes read from the terminal at time nowMs (milliseconds of any steady clock).
    void Feed(std::string_view bytes, int64_t nowMs);
    // Takes the next complete event.
    bool Next(Event& out);
    // Bytes wait for the rest of a sequence: the caller waits briefly for more, then calls Flush.
    bool Pending() const { return !buffer_.empty(); }
    // Resolves what is left: a lone ESC is the Escape key, an unfinished sequence is dropped.
    void Flush();

    // The terminal answered the query for the CSI-u keyboard protocol.
    bool CsiUReported() const { return csiUReported_; }

    static constexpr int kDoubleClickMs = 400;

private:
    enum class Parse : uint8_t { Done, Incomplete };
    void Decode(bool final);
    Parse ParseEscape(size_t& used, bool final);
    Parse ParseCsi(size_t start, uint8_t extraMods, size_t& used);
    void EmitCsi(std::string_view params, char prefix, char final, uint8_t extraMods);
    void EmitCsiU(std::string_view params, uint8_t extraMods);
    void EmitMouse(int cb, int col, int row, bool release, uint8_t extraMods);
    void EmitKey(KeyEvent key);
    void EmitCodePoint(char32_t ch, uint8_t mods);
    void EmitControl(uint8_t byte, uint8_t mods);

    DisplaySet set_;
    bool utf8_ = true;
    std::string buffer_;
    std::deque<Event> events_;
    int64_t now_ = 0;
    int64_t lastPressMs_ = -1000000;
    int lastPressRow_ = -1;
    int lastPressCol_ = -1;
    bool dragging_ = false;
    bool rightCtrlArmed_ = false;
    bool csiUReported_ = false;
};

}  // namespace ui

}  // namespace tavoe
