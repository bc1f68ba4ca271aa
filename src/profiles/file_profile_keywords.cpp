#include "profiles/file_profile_keywords.h"

#include "platform/ascii_case.h"

#include <array>
#include <climits>
#include <cstdint>
#include <span>

namespace tavoe {

namespace {

enum class Field {
    Recfm,
    CharsetFile,
    CharsetDisplay,
    EorType,
    NumberType,
    NumberAuto,
    CapsMode,
    MaxRecLen,
    Offset,
    PromptKeystrokeLimit,
    Bounds,
    TabsIn,
    TabsOut,
    Tabs,
    NumberStart,
    NumberIncrement,
    NumberColStart,
    NumberColEnd,
    AutoIncreaseRecLen,
    AutoIncreaseNotify,
    Backup,
    Lock,
    EofRead,
    EofWrite,
    Truncate,
    StripBlanks,
    PadBlanks,
    Color,
    Template,
    Imacro,
    Xmacro,
    MaskLine,
    BackupPath,
    AutoSave,
};

struct KeywordRow {
    std::string_view keyword;
    Field field;
};

// Every keyword a profile file may hold; Charset is the older spelling of CharsetFile.
constexpr KeywordRow kKeywords[] = {
    {"Recfm", Field::Recfm},
    {"CharsetFile", Field::CharsetFile},
    {"Charset", Field::CharsetFile},
    {"CharsetDisplay", Field::CharsetDisplay},
    {"EorType", Field::EorType},
    {"NumberType", Field::NumberType},
    {"NumberAuto", Field::NumberAuto},
    {"CapsMode", Field::CapsMode},
    {"MaxRecLen", Field::MaxRecLen},
    {"Offset", Field::Offset},
    {"PromptKeystrokeLimit", Field::PromptKeystrokeLimit},
    {"Bounds", Field::Bounds},
    {"TabsIn", Field::TabsIn},
    {"TabsOut", Field::TabsOut},
    {"Tabs", Field::Tabs},
    {"NumberStart", Field::NumberStart},
    {"NumberIncrement", Field::NumberIncrement},
    {"NumberColStart", Field::NumberColStart},
    {"NumberColEnd", Field::NumberColEnd},
    {"BOOLautoincreasereclen", Field::AutoIncreaseRecLen},
    {"BOOLautoincreasenotify", Field::AutoIncreaseNotify},
    {"BOOLbackup", Field::Backup},
    {"BOOLlock", Field::Lock},
    {"BOOLeofread", Field::EofRead},
    {"BOOLeofwrite", Field::EofWrite},
    {"BOOLtruncate", Field::Truncate},
    {"BOOLstripblanks", Field::StripBlanks},
    {"BOOLpadblanks", Field::PadBlanks},
    {"Color", Field::Color},
    {"Template", Field::Template},
    {"Imacro", Field::Imacro},
    {"Xmacro", Field::Xmacro},
    {"MaskLine", Field::MaskLine},
    {"BackupPath", Field::BackupPath},
    {"BOOLautosave", Field::AutoSave},
};

// Choice texts in the order of the enum values.
constexpr std::string_view kRecfmNames[] = {"Variable", "Fixed"};
constexpr std::string_view kCharsetNames[] = {"ASCII-ISO8859", "ASCII-IBMPC", "EBCDIC"};
constexpr std::string_view kEorNames[] = {"AUTO", "CRLF", "LF", "ANY", "None"};
constexpr std::string_view kNumberTypeNames[] = {"NONE", "COBOL", "STANDARD", "COB+STD", "OTHER"};
constexpr std::string_view kNumberTypeWritten[] = {"None", "COBOL", "STANDARD", "COB+STD", "OTHER"};
constexpr std::string_view kNumberAutoNames[] = {"None", "Full", "Incr"};
constexpr std::string_view kCapsNames[] = {"OFF", "ON", "AUTO"};

const KeywordRow* FindKeyword(std::string_view keyword) {
    for (const KeywordRow& row : kKeywords) {
        if (row.keyword == keyword) {
            return &row;
        }
    }
    return nullptr;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A decimal integer, optionally signed, that is the whole text and lies in min..max.
bool ParseInt(std::string_view text, int64_t min, int64_t max, int32_t& out) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    int64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
        if (number > INT32_MAX) {
            return false;
        }
    }
    if (negative) {
        number = -number;
    }
    if (number < min || number > max) {
        return false;
    }
    out = static_cast<int32_t>(number);
    return true;
}

template <typename E>
bool ParseChoice(std::string_view text, std::span<const std::string_view> names, E& out) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == text) {
            out = static_cast<E>(i);
            return true;
        }
    }
    return false;
}

bool ParseBool(std::string_view text, bool& out) {
    if (text == "TRUE" || text == "FALSE") {
        out = text == "TRUE";
        return true;
    }
    return false;
}

enum class Case { Keep, Upper };

bool ParseText(std::string_view text, size_t maxLength, Case letterCase, std::string& out) {
    if (text.size() > maxLength || text.find('\0') != std::string_view::npos) {
        return false;
    }
    out = letterCase == Case::Upper ? UpperAscii(text) : std::string(text);
    return true;
}

// Splits on runs of commas and blanks.
template <typename Fn>
bool ForEachNumberText(std::string_view text, Fn&& fn) {
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ',' || IsBlank(text[pos]))) {
            ++pos;
        }
        size_t end = pos;
        while (end < text.size() && text[end] != ',' && !IsBlank(text[end])) {
            ++end;
        }
        if (end > pos && !fn(text.substr(pos, end - pos))) {
            return false;
        }
        pos = end;
    }
    return true;
}

bool ParseBounds(std::string_view text, int32_t& left, int32_t& right) {
    int32_t values[2] = {0, 0};
    int count = 0;
    bool ok = ForEachNumberText(text, [&](std::string_view item) {
        return count < 2 && ParseInt(item, 1, kProfileRecordLengthMax, values[count++]);
    });
    if (!ok || count != 2 || values[0] > values[1]) {
        return false;
    }
    left = values[0];
    right = values[1];
    return true;
}

// Up to 31 ascending stops in 1..1000; a 0 ends the list, so "0" alone means no stops.
bool ParseTabs(std::string_view text, TabStops& out) {
    TabStops stops{};
    int count = 0;
    bool ended = false;
    bool ok = ForEachNumberText(text, [&](std::string_view item) {
        int32_t stop = 0;
        if (ended || !ParseInt(item, 0, kProfileTabStopMax, stop)) {
            return false;
        }
        if (stop == 0) {
            ended = true;
            return true;
        }
        if (count == kProfileTabStopsMax || (count > 0 && stop <= stops[count - 1])) {
            return false;
        }
        stops[count++] = stop;
        return true;
    });
    if (!ok || (count == 0 && !ended)) {
        return false;
    }
    out = stops;
    return true;
}

bool ParseMask(std::string_view text, std::string& out) {
    if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') {
        return false;
    }
    std::string_view inner = text.substr(1, text.size() - 2);
    if (inner.find('\'') != std::string_view::npos) {
        return false;
    }
    return ParseText(inner, kProfileMaskLineMax, Case::Keep, out);
}

std::string TabsText(const TabStops& stops) {
    int count = TabStopCount(stops);
    if (count == 0) {
        return "0";
    }
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            text += ',';
        }
        text += std::to_string(stops[i]);
    }
    return text;
}

template <typename E>
std::string ChoiceText(std::span<const std::string_view> names, E value) {
    auto index = static_cast<size_t>(value);
    return index < names.size() ? std::string(names[index]) : std::string(names[0]);
}

std::string BoolText(bool value) {
    return value ? "TRUE" : "FALSE";
}

}  // namespace

ProfileKeywordStatus SetFileProfileKeyword(FileProfile& p, std::string_view keyword, std::string_view value) {
    const KeywordRow* row = FindKeyword(keyword);
    if (row == nullptr) {
        return ProfileKeywordStatus::UnknownKeyword;
    }
    value = Trim(value);  // a mask line keeps the blanks inside its quotes
    bool ok = false;
    switch (row->field) {
        case Field::Recfm:
            ok = ParseChoice(value, kRecfmNames, p.recordFormat);
            break;
        case Field::CharsetFile:
            if (value == "ASCII") {
                p.diskCharset = ProfileCharset::AsciiIso8859;
                ok = true;
            } else {
                ok = ParseChoice(value, kCharsetNames, p.diskCharset);
            }
            break;
        case Field::CharsetDisplay:
            ok = ParseChoice(value, std::span(kCharsetNames).first(2), p.displayCharset);
            break;
        case Field::EorType:
            ok = ParseChoice(value, kEorNames, p.endOfRecordSequence);
            break;
        case Field::NumberType: {
            std::string upper = UpperAscii(value);
            if (upper == "COB") {
                upper = "COBOL";
            } else if (upper == "STD") {
                upper = "STANDARD";
            }
            ok = ParseChoice(std::string_view(upper), kNumberTypeNames, p.numberType);
            break;
        }
        case Field::NumberAuto:
            ok = ParseChoice(value, kNumberAutoNames, p.numberAuto);
            break;
        case Field::CapsMode:
            ok = ParseChoice(value, kCapsNames, p.caps);
            break;
        case Field::MaxRecLen:
            ok = ParseInt(value, kProfileRecordLengthMin, kProfileRecordLengthMax, p.maxRecordLength);
            break;
        case Field::Offset:
            ok = ParseInt(value, 0, kProfileRecordLengthMax - 1, p.offset);
            break;
        case Field::PromptKeystrokeLimit:
            ok = ParseInt(value, 0, 999999, p.promptAfterKeystrokes);
            break;
        case Field::Bounds:
            ok = ParseBounds(value, p.boundsLeft, p.boundsRight);
            break;
        case Field::TabsIn:
            ok = ParseInt(value, 0, 9, p.tabsExpandOnRead);
            break;
        case Field::TabsOut:
            ok = ParseInt(value, 0, 9, p.tabsInsertOnWrite);
            break;
        case Field::Tabs:
            ok = ParseTabs(value, p.tabKeyStopsAt);
            break;
        case Field::NumberStart:
            ok = ParseInt(value, 1, INT32_MAX, p.numberStart);
            break;
        case Field::NumberIncrement:
            ok = ParseInt(value, 0, 10000, p.numberIncrement);
            break;
        case Field::NumberColStart:
            ok = ParseInt(value, 1, kProfileRecordLengthMax, p.numberColumnStart);
            break;
        case Field::NumberColEnd:
            ok = ParseInt(value, 1, kProfileRecordLengthMax, p.numberColumnEnd);
            break;
        case Field::AutoIncreaseRecLen:
            ok = ParseBool(value, p.autoIncreaseRecLen);
            break;
        case Field::AutoIncreaseNotify:
            ok = ParseBool(value, p.autoIncreaseNotify);
            break;
        case Field::Backup:
            ok = ParseBool(value, p.backup);
            break;
        case Field::Lock:
            ok = ParseBool(value, p.lock);
            break;
        case Field::EofRead:
            ok = ParseBool(value, p.endOfFileCharRead);
            break;
        case Field::EofWrite:
            ok = ParseBool(value, p.endOfFileCharWrite);
            break;
        case Field::Truncate:
            ok = ParseBool(value, p.truncateLongLines);
            break;
        case Field::StripBlanks:
            ok = ParseBool(value, p.stripTrailingBlanks);
            break;
        case Field::PadBlanks:
            ok = ParseBool(value, p.padShortRecsWithBlank);
            break;
        case Field::Color:
            ok = ParseText(value, kProfileColorTypeMax, Case::Upper, p.colorType);
            break;
        case Field::Template:
            ok = ParseText(value, kProfileTemplateMax, Case::Upper, p.languageTemplate);
            break;
        case Field::Imacro:
            ok = ParseText(value, kProfileMacroMax, Case::Keep, p.imacro);
            break;
        case Field::Xmacro:
            ok = ParseText(value, kProfileMacroMax, Case::Keep, p.xmacro);
            break;
        case Field::MaskLine:
            ok = ParseMask(value, p.maskLine);
            break;
        case Field::BackupPath:
            ok = ParseText(value, kProfileBackupPathMax, Case::Keep, p.backupAlternatePath);
            break;
        case Field::AutoSave:
            return ProfileKeywordStatus::Ignored;
    }
    return ok ? ProfileKeywordStatus::Ok : ProfileKeywordStatus::BadValue;
}

std::optional<std::string> FileProfileKeywordValue(const FileProfile& p, std::string_view keyword) {
    const KeywordRow* row = FindKeyword(keyword);
    if (row == nullptr) {
        return std::nullopt;
    }
    switch (row->field) {
        case Field::Recfm:
            return ChoiceText(kRecfmNames, p.recordFormat);
        case Field::CharsetFile:
            return ChoiceText(kCharsetNames, p.diskCharset);
        case Field::CharsetDisplay:
            return ChoiceText(std::span(kCharsetNames).first(2), p.displayCharset);
        case Field::EorType:
            return ChoiceText(kEorNames, p.endOfRecordSequence);
        case Field::NumberType:
            return ChoiceText(kNumberTypeWritten, p.numberType);
        case Field::NumberAuto:
            return ChoiceText(kNumberAutoNames, p.numberAuto);
        case Field::CapsMode:
            return ChoiceText(kCapsNames, p.caps);
        case Field::MaxRecLen:
            return std::to_string(p.maxRecordLength);
        case Field::Offset:
            return std::to_string(p.offset);
        case Field::PromptKeystrokeLimit:
            return std::to_string(p.promptAfterKeystrokes);
        case Field::Bounds:
            return std::to_string(p.boundsLeft) + "," + std::to_string(p.boundsRight);
        case Field::TabsIn:
            return std::to_string(p.tabsExpandOnRead);
        case Field::TabsOut:
            return std::to_string(p.tabsInsertOnWrite);
        case Field::Tabs:
            return TabsText(p.tabKeyStopsAt);
        case Field::NumberStart:
            return std::to_string(p.numberStart);
        case Field::NumberIncrement:
            return std::to_string(p.numberIncrement);
        case Field::NumberColStart:
            return std::to_string(p.numberColumnStart);
        case Field::NumberColEnd:
            return std::to_string(p.numberColumnEnd);
        case Field::AutoIncreaseRecLen:
            return BoolText(p.autoIncreaseRecLen);
        case Field::AutoIncreaseNotify:
            return BoolText(p.autoIncreaseNotify);
        case Field::Backup:
            return BoolText(p.backup);
        case Field::Lock:
            return BoolText(p.lock);
        case Field::EofRead:
            return BoolText(p.endOfFileCharRead);
        case Field::EofWrite:
            return BoolText(p.endOfFileCharWrite);
        case Field::Truncate:
            return BoolText(p.truncateLongLines);
        case Field::StripBlanks:
            return BoolText(p.stripTrailingBlanks);
        case Field::PadBlanks:
            return BoolText(p.padShortRecsWithBlank);
        case Field::Color:
            return p.colorType;
        case Field::Template:
            return p.languageTemplate;
        case Field::Imacro:
            return p.imacro;
        case Field::Xmacro:
            return p.xmacro;
        case Field::MaskLine:
            return "'" + p.maskLine + "'";
        case Field::BackupPath:
            return p.backupAlternatePath;
        case Field::AutoSave:
            return std::nullopt;
    }
    return std::nullopt;
}

bool IsFileProfileKeyword(std::string_view keyword) {
    return FindKeyword(keyword) != nullptr;
}

}  // namespace tavoe
