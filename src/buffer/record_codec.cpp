#include "buffer/record_codec.h"

#include <algorithm>
#include <cstring>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/file_save.h"

namespace tavoe {

namespace {

constexpr char kAsciiBlank = ' ';
constexpr char kAsciiTab = '\x09';
constexpr char kEbcdicBlank = '\x40';
constexpr char kEbcdicTab = '\x05';

CharSet DisplaySet(const FileProfile& profile) {
    return profile.displayCharset == ProfileCharset::AsciiIbmPc ? CharSet::AsciiIbmPc : CharSet::AsciiIso8859;
}

}  // namespace

std::string_view EncodeRecord(EditBuffer& buffer, std::string_view text, std::vector<char>& out,
                              bool* substituted) {
    const FileProfile& profile = buffer.profile;
    const bool fixed = profile.recordFormat == Recfm::Fixed;
    const bool ebcdic = profile.diskCharset == ProfileCharset::Ebcdic;
    *substituted = false;
    std::size_t n = std::min<std::size_t>(
        text.size(),
        static_cast<std::size_t>(std::clamp(profile.maxRecordLength, 1, kProfileRecordLengthMax)));
    if (!fixed && profile.stripTrailingBlanks) {
        while (n > 0 && text[n - 1] == kAsciiBlank) {
            --n;
        }
    }
    const int tabWidth = fixed ? 0 : profile.tabsInsertOnWrite;
    if (!ebcdic && tabWidth == 0) {
        return text.substr(0, n);
    }
    // Translation into the first half, compression into the second.
    out.resize(2 * n + 1);
    const char* bytes = text.data();
    if (ebcdic && n > 0) {
        const int count = static_cast<int>(n);
        XlateResult result = profile.displayCharset == ProfileCharset::AsciiIso8859
                                 ? TranslateIsoToEbcdic(buffer.host, bytes, out.data(), count)
                                 : TranslatePcToEbcdic(buffer.host, bytes, out.data(), count);
        *substituted = result == XlateResult::Substituted;
        bytes = out.data();
    }
    if (tabWidth == 0) {
        return {bytes, n};
    }
    int count = CompressTabs(bytes, static_cast<int>(n), tabWidth, ebcdic ? kEbcdicBlank : kAsciiBlank,
                             ebcdic ? kEbcdicTab : kAsciiTab, out.data() + n);
    return {out.data() + n, static_cast<std::size_t>(count)};
}

std::string_view DecodeRecord(EditBuffer& buffer, std::string_view raw, std::uint32_t padTo,
                              std::vector<char>& out) {
    const FileProfile& profile = buffer.profile;
    std::vector<char> translated;
    std::string_view data = raw;
    if (profile.diskCharset == ProfileCharset::Ebcdic && !raw.empty()) {
        translated.resize(raw.size());
        (void)Translate(buffer.host, CharSet::Ebcdic, DisplaySet(profile), raw.data(), translated.data(),
                        static_cast<int>(raw.size()));
        data = {translated.data(), translated.size()};
    }
    if (profile.recordFormat != Recfm::Fixed && profile.tabsExpandOnRead != 0 &&
        data.find('\t') != std::string_view::npos) {
        std::vector<char> expanded;
        data = ExpandTabs(expanded, data.data(), static_cast<std::int32_t>(data.size()),
                          profile.tabsExpandOnRead);
        translated = std::move(expanded);
        data = {translated.data(), data.size()};
    }
    if (profile.recordFormat != Recfm::Fixed && profile.stripTrailingBlanks) {
        while (!data.empty() && data.back() == kAsciiBlank) {
            data.remove_suffix(1);
        }
    }
    out.assign(data.begin(), data.end());
    if (out.size() < padTo) {
        out.resize(padTo, kAsciiBlank);
    }
    return {out.data(), out.size()};
}

std::string_view ExpandTabs(std::vector<char>& out, const char* record, std::int32_t length,
                            std::int32_t width) {
    std::size_t tabs = static_cast<std::size_t>(std::count(record, record + length, '\t'));
    std::size_t stride = static_cast<std::size_t>(width > 0 ? width : 1);
    out.resize(static_cast<std::size_t>(length) + tabs * stride);
    std::size_t column = 0;
    for (std::int32_t i = 0; i < length; ++i) {
        char c = record[i];
        if (c != '\t') {
            out[column++] = c;
            continue;
        }
        std::size_t next = width > 0 ? (column / stride + 1) * stride : column + 1;
        std::fill(out.begin() + static_cast<std::ptrdiff_t>(column),
                  out.begin() + static_cast<std::ptrdiff_t>(next), ' ');
        column = next;
    }
    return {out.data(), column};
}

std::array<bool, 256> LossyEbcdicCodes(EditBuffer& buffer) {
    std::array<char, 256> codes{};
    for (int i = 0; i < 256; ++i) {
        codes[static_cast<std::size_t>(i)] = static_cast<char>(i);
    }
    std::array<char, 256> shown{};
    std::array<char, 256> back{};
    (void)Translate(buffer.host, CharSet::Ebcdic, DisplaySet(buffer.profile), codes.data(), shown.data(),
                    256);
    (void)Translate(buffer.host, DisplaySet(buffer.profile), CharSet::Ebcdic, shown.data(), back.data(), 256);
    std::array<bool, 256> lossy{};
    for (std::size_t i = 0; i < 256; ++i) {
        lossy[i] = back[i] != codes[i];
    }
    return lossy;
}

}  // namespace tavoe
