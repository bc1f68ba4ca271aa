#include "ui/glyph_map.h"

namespace tavoe {

namespace ui {
namespace {

// Code page 437: the glyphs of 0x00-0x1F, then 0x7F, then 0x80-0xFF.
constexpr char32_t kCp437Low[32] = {0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                                    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
                                    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                                    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
constexpr char32_t kCp437Del = 0x2302;
constexpr char32_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// ISO-8859-1 control codes: C0 and DEL as the Unicode control pictures, C1 as the replacement glyph.
constexpr char32_t kControlPictureBase = 0x2400;
constexpr char32_t kDeletePicture = 0x2421;
constexpr char32_t kC1Substitute = 0xFFFD;

}  // namespace

char32_t GlyphOf(uint8_t byte, DisplaySet set) {
    if (set == DisplaySet::IbmPc) {
        if (byte < 0x20) {
            return kCp437Low[byte];
        }
        if (byte == 0x7F) {
            return kCp437Del;
        }
        if (byte >= 0x80) {
            return kCp437High[byte - 0x80];
        }
        return byte;
    }
    if (byte < 0x20) {
        return kControlPictureBase + byte;
    }
    if (byte == 0x7F) {
        return kDeletePicture;
    }
    if (byte >= 0x80 && byte < 0xA0) {
        return kC1Substitute;
    }
    return byte;
}

int DisplayByteOf(char32_t ch, DisplaySet set) {
    if (ch >= 0x20 && ch < 0x7F) {
        return static_cast<int>(ch);
    }
    if (set == DisplaySet::Iso8859) {
        return ch >= 0xA0 && ch <= 0xFF ? static_cast<int>(ch) : -1;
    }
    for (int i = 0; i < 128; ++i) {
        if (kCp437High[i] == ch) {
            return 0x80 + i;
        }
    }
    for (int i = 1; i < 32; ++i) {
        if (kCp437Low[i] == ch) {
            return i;
        }
    }
    return ch == kCp437Del ? 0x7F : -1;
}

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

int Utf8Length(uint8_t lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

int32_t DecodeUtf8(std::string_view text, size_t& pos) {
    uint8_t lead = static_cast<uint8_t>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = Utf8Length(lead);
    if (length == 1 || pos + length > text.size()) {
        ++pos;
        return -1;
    }
    int32_t value = lead & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i) {
        uint8_t next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return -1;
        }
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms and surrogates are malformed.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return -1;
    }
    pos += length;
    return value;
}

std::string DisplayBytesFromUtf8(std::string_view text, DisplaySet set) {
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = pos;
        int32_t ch = DecodeUtf8(text, pos);
        if (ch < 0) {
            out.push_back(text[start]);
            continue;
        }
        if (ch < 0x80) {
            out.push_back(static_cast<char>(ch));
            continue;
        }
        int byte = DisplayByteOf(static_cast<char32_t>(ch), set);
        out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return out;
}

std::string Utf8FromDisplayBytes(std::string_view bytes, DisplaySet set) {
    std::string out;
    for (char c : bytes) {
        AppendUtf8(out, GlyphOf(static_cast<uint8_t>(c), set));
    }
    return out;
}

}  // namespace ui

}  // namespace tavoe
