#include "buffer/file_load_records.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "buffer/record_codec.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// A folded COBOL record continues in column 7: six blanks, then at most 74 bytes of the rest, so a
// continuation fills exactly the 80 columns of a card.
constexpr std::int32_t kCobolIndent = 6;
constexpr std::int32_t kCobolContinuation = 74;

CharSet DisplaySet(const FileProfile& profile) {
    return profile.displayCharset == ProfileCharset::AsciiIbmPc ? CharSet::AsciiIbmPc : CharSet::AsciiIso8859;
}

// EBCDIC records are translated where they lie in the read buffer: the bytes are consumed by this
// record only, and cutting has already found its end.
void TranslateRecord(EditBuffer& buffer, char* record, std::int32_t length) {
    if (buffer.profile.diskCharset != ProfileCharset::Ebcdic || length < 1) {
        return;
    }
    CharSet display = DisplaySet(buffer.profile);
    if (Translate(buffer.host, CharSet::Ebcdic, display, record, record, length) ==
        XlateResult::Substituted) {
        ReportUntranslatable(buffer.host, buffer.file.untranslatable, buffer.fileName, CharSet::Ebcdic,
                             display);
    }
}

// Appends one data line holding the bytes, padded with blanks to padTo when that is longer (the line
// is then marked as blank-padded, so a variable-format save strips the blanks again). The slot is
// taken once at its final size.
LineRecord* AppendDataLine(EditBuffer& buffer, const char* data, std::uint32_t length, std::uint32_t padTo) {
    LineRecord* line = nullptr;
    if (padTo > length) {
        line = LineNew(buffer, {});
        if (line == nullptr) {
            return nullptr;
        }
        if (LineEnsureCapacity(buffer, *line, padTo) != 0) {
            LineFree(buffer, line);
            return nullptr;
        }
        if (length > 0) {
            std::memcpy(line->text, data, length);
        }
        line->length = length;
        (void)LinePadTo(buffer, *line, padTo);  // out of memory is reported; the line stays short
    } else {
        line = LineNew(buffer, std::string_view(data, length));
        if (line == nullptr) {
            return nullptr;
        }
    }
    line->kind = LineKind::Data;
    line->recordNumber = buffer.file.recordCount;
    LineAppendLoaded(buffer, line);
    if (buffer.colorizer != nullptr) {
        buffer.colorizer->ColorizeLine(buffer, *line);
    }
    return line;
}

std::uint32_t PadLength(const EditBuffer& buffer) {
    return buffer.profile.padShortRecsWithBlank ? static_cast<std::uint32_t>(buffer.profile.maxRecordLength)
                                                : 0;
}

// Whether a save of this record's line, unedited, might not give back `raw`: codes without a way back
// from the display set, or a profile that strips or compresses on write. Decided before the record is
// translated (in place), so the bytes can still be copied.
bool MayNotComeBack(EditBuffer& buffer, std::string_view raw) {
    FileState& file = buffer.file;
    const FileProfile& profile = buffer.profile;
    if (profile.recordFormat != Recfm::Fixed &&
        (profile.stripTrailingBlanks || profile.tabsInsertOnWrite != 0)) {
        return true;
    }
    if (profile.diskCharset != ProfileCharset::Ebcdic) {
        return false;
    }
    if (!file.lossyCodesKnown) {
        file.lossyCodes = LossyEbcdicCodes(buffer);
        file.lossyCodesKnown = true;
    }
    return std::any_of(raw.begin(), raw.end(),
                       [&file](char c) { return file.lossyCodes[static_cast<unsigned char>(c)]; });
}

// Keeps the record's disk bytes when a save of its unedited line would write other bytes, and says
// once per load that such records exist.
void KeepOriginalIfChanged(EditBuffer& buffer, const LineRecord& line, std::string_view raw) {
    FileState& file = buffer.file;
    bool substituted = false;
    std::string_view written = EncodeRecord(buffer, LineText(line), file.encodeBuffer, &substituted);
    if (written == raw) {
        return;
    }
    // A short record the profile pads is written padded once edited, as the user of a padded type
    // expects: it is kept as read, without a warning.
    const char blank = written.size() > raw.size() ? written.back() : ' ';
    const bool paddedOnly = (blank == ' ' || blank == '\x40') && written.size() > raw.size() &&
                            written.substr(0, raw.size()) == raw &&
                            written.find_first_not_of(blank, raw.size()) == std::string_view::npos;
    file.originals.Keep(line.recordNumber, raw);
    if (!paddedOnly && !file.warnedOriginals && !HasQuiet(file.quiet, LoadQuiet::NoSummary)) {
        file.warnedOriginals = true;
        // Short enough for the message line of an 80-column screen: it must not stop the user in a box.
        ShowMessage(buffer.host, "Records with TABs, padding or unmapped codes stay as read unless edited.",
                    MsgTo::Line, Beep::None);
    }
}

}  // namespace

void RaiseMaxRecordLength(EditBuffer& buffer, std::int32_t newLength) {
    FileProfile& profile = buffer.profile;
    newLength = std::min(newLength, kProfileRecordLengthMax);
    if (newLength <= profile.maxRecordLength) {
        return;
    }
    if (profile.boundsRight == profile.maxRecordLength) {
        profile.boundsRight = newLength;
    }
    profile.maxRecordLength = newLength;
    buffer.host.RecordLengthRaised(buffer, profile);
}

bool MakeVariableRecordLines(EditBuffer& buffer, char* record, std::int32_t length) {
    FileState& file = buffer.file;
    FileProfile& profile = buffer.profile;
    ++file.recordCount;
    std::string_view raw(record, static_cast<std::size_t>(length));
    bool mayChange = MayNotComeBack(buffer, raw);
    if (mayChange && profile.diskCharset == ProfileCharset::Ebcdic) {
        file.rawRecord.assign(raw.begin(), raw.end());
        raw = {file.rawRecord.data(), file.rawRecord.size()};
    }
    TranslateRecord(buffer, record, length);

    std::string_view data(record, static_cast<std::size_t>(length));
    if (profile.tabsExpandOnRead != 0 &&
        std::memchr(record, '\t', static_cast<std::size_t>(length)) != nullptr) {
        file.tabSeen = true;
        mayChange = true;
        data = ExpandTabs(file.expandBuffer, record, length, profile.tabsExpandOnRead);
    }
    if (profile.stripTrailingBlanks) {
        while (!data.empty() && data.back() == ' ') {
            data.remove_suffix(1);
            mayChange = true;
        }
    }
    mayChange = mayChange || data.size() < PadLength(buffer);
    // A record that makes one line keeps its disk bytes when a save would not give them back.
    auto single = [&](LineRecord* line) {
        if (line != nullptr && mayChange) {
            KeepOriginalIfChanged(buffer, *line, raw);
        }
        return line != nullptr;
    };
    if (data.empty()) {
        return single(AppendDataLine(buffer, nullptr, 0, PadLength(buffer)));
    }
    bool folded = false;

    for (;;) {
        auto size = static_cast<std::int32_t>(std::min<std::size_t>(data.size(), 0x7fffffff));
        if (size > profile.maxRecordLength && profile.autoIncreaseRecLen &&
            profile.maxRecordLength < kProfileRecordLengthMax) {
            RaiseMaxRecordLength(buffer, size);
            if (profile.autoIncreaseNotify) {
                ShowMessage(buffer.host,
                            Format("File '%s' has record which exceeds 'MaxRecordLength'.\n\nIncreased "
                                   "'MaxRecordLength' to %d in file profile %s.",
                                   buffer.fileName.c_str(), profile.maxRecordLength, profile.name.c_str()),
                            MsgTo::Box, Beep::Error);
            }
        }
        auto max = static_cast<std::size_t>(profile.maxRecordLength);
        if (data.size() <= max) {
            return single(AppendDataLine(buffer, data.data(), static_cast<std::uint32_t>(data.size()),
                                         PadLength(buffer)));
        }
        if (AppendDataLine(buffer, data.data(), static_cast<std::uint32_t>(max), 0) == nullptr) {
            return false;
        }
        if (profile.truncateLongLines) {
            ++buffer.truncatedCount;
            ++file.cutRecords;
            return true;
        }
        ++buffer.foldedCount;
        if (!folded) {
            folded = true;
            ++file.splitRecords;
        }
        ++file.recordCount;
        data.remove_prefix(max);
        if (!file.cobolFolding) {
            continue;
        }
        // Every continuation of a COBOL record starts in column 7 and holds what fits beside the
        // indent; what remains after it goes into the next continuation.
        std::size_t room =
            std::min<std::size_t>(kCobolContinuation, max > kCobolIndent ? max - kCobolIndent : 1);
        std::array<char, kCobolIndent + kCobolContinuation> piece;
        for (;;) {
            std::size_t take = std::min(room, data.size());
            std::fill_n(piece.begin(), kCobolIndent, ' ');
            std::memcpy(piece.data() + kCobolIndent, data.data(), take);
            auto pieceLength = static_cast<std::uint32_t>(kCobolIndent + take);
            if (AppendDataLine(buffer, piece.data(), pieceLength, PadLength(buffer)) == nullptr) {
                return false;
            }
            data.remove_prefix(take);
            if (data.empty()) {
                return true;
            }
            ++buffer.foldedCount;
            ++file.recordCount;
        }
    }
}

bool MakeFixedRecordLine(EditBuffer& buffer, char* record, std::int32_t length) {
    FileState& file = buffer.file;
    ++file.recordCount;
    auto full = static_cast<std::uint32_t>(buffer.profile.maxRecordLength);
    std::string_view raw(record, static_cast<std::size_t>(length));
    const bool shortRecord = static_cast<std::uint32_t>(length) < full;
    const bool mayChange = shortRecord || MayNotComeBack(buffer, raw);
    if (mayChange) {
        file.rawRecord.assign(raw.begin(), raw.end());
        raw = {file.rawRecord.data(), file.rawRecord.size()};
    }
    TranslateRecord(buffer, record, length);
    if (shortRecord) {
        ++buffer.shortLastRecordCount;
    }
    LineRecord* line = AppendDataLine(buffer, record, static_cast<std::uint32_t>(length), full);
    if (line != nullptr && mayChange) {
        KeepOriginalIfChanged(buffer, *line, raw);
    }
    return line != nullptr;
}

namespace {

// Letters of the display set: ASCII everywhere, and the accented letters of ISO-8859-1 (the
// multiplication and division signs excepted) in that set.
bool IsLower(unsigned char c, CharSet display) {
    if (c >= 'a' && c <= 'z') {
        return true;
    }
    return display == CharSet::AsciiIso8859 && c >= 0xDF && c != 0xF7;
}
bool IsUpper(unsigned char c, CharSet display) {
    if (c >= 'A' && c <= 'Z') {
        return true;
    }
    return display == CharSet::AsciiIso8859 && c >= 0xC0 && c <= 0xDE && c != 0xD7;
}

}  // namespace

bool HasOnlyUppercaseLetters(const EditBuffer& buffer) {
    CharSet display = DisplaySet(buffer.profile);
    bool letter = false;
    for (const LineRecord& line : Lines(buffer)) {
        if (!IsDataLine(line)) {
            continue;
        }
        for (unsigned char c : LineText(line)) {
            if (IsLower(c, display)) {
                return false;
            }
            letter = letter || IsUpper(c, display);
        }
    }
    return letter;
}

}  // namespace tavoe
