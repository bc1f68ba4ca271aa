#include "ui/clipboard_codec.h"

#include <array>
#include <unordered_map>

namespace tavoe {

namespace ui {

namespace {

constexpr char kSubstitute = '?';
constexpr char32_t kByteOrderMark = 0xFEFF;

bool IsLineOrTab(unsigned char byte) {
    return byte == '\t' || byte == '\n' || byte == '\r';
}

// The IBM-PC glyphs of every byte, and the byte of every glyph, built once.
struct IbmPcTables {
    std::array<std::string, 256> utf8;
    std::unordered_map<char32_t, char> bytes;

    IbmPcTables() {
        for (int byte = 1; byte < 256; ++byte) {
            const auto code = static_cast<uint8_t>(byte);
            const char32_t glyph = IsLineOrTab(code) ? char32_t{code} : GlyphOf(code, DisplaySet::IbmPc);
            AppendUtf8(utf8[code], glyph);
            bytes.emplace(glyph, static_cast<char>(code));
        }
    }
};

const IbmPcTables& IbmPc() {
    static const IbmPcTables tables;
    return tables;
}

}  // namespace

std::string DisplaySetCodec::ToUtf8(std::string_view displayBytes) const {
    std::string out;
    out.reserve(displayBytes.size() + displayBytes.size() / 8);
    const IbmPcTables* pc = set_ == DisplaySet::IbmPc ? &IbmPc() : nullptr;
    for (unsigned char byte : displayBytes) {
        if (byte < 0x80 && (pc == nullptr || byte >= 0x20 || IsLineOrTab(byte))) {
            if (pc != nullptr && byte == 0x7F) {
                out += pc->utf8[byte];
            } else {
                out.push_back(static_cast<char>(byte));
            }
        } else if (pc != nullptr) {
            out += pc->utf8[byte];
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string DisplaySetCodec::FromUtf8(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    const IbmPcTables* pc = set_ == DisplaySet::IbmPc ? &IbmPc() : nullptr;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        if (lead > 0 && lead < 0x80 && (pc == nullptr || lead != 0x7F)) {
            out.push_back(static_cast<char>(lead));  // the common case, ASCII, without decoding
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        int32_t ch = DecodeUtf8(utf8, pos);
        if (ch < 0) {
            ch = static_cast<unsigned char>(utf8[start]);  // not UTF-8: an ISO-8859-1 byte
        }
        if (ch == 0) {
            out.push_back(kSubstitute);
            continue;
        }
        if (static_cast<char32_t>(ch) == kByteOrderMark && start == 0) {
            continue;
        }
        if (pc == nullptr) {
            out.push_back(ch <= 0xFF ? static_cast<char>(ch) : kSubstitute);
            continue;
        }
        auto found = pc->bytes.find(static_cast<char32_t>(ch));
        out.push_back(found != pc->bytes.end() ? found->second : kSubstitute);
    }
    return out;
}

}  // namespace ui

}  // namespace tavoe
