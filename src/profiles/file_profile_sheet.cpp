#include "profiles/file_profile_sheet.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/app_session.h"
#include "core/message.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/colorization_io.h"

namespace tavoe {

namespace {

constexpr int kIncrementMax = 10000;

constexpr const char* kCharsetChoices[] = {
    "Disk(ASCII-ISO8859).Display(ASCII-ISO8859)",
    "Disk(ASCII-IBMPC).Display(ASCII-IBMPC)",
    "Disk(EBCDIC).Display(ASCII-ISO8859)",
    "Disk(EBCDIC).Display(ASCII-IBMPC)",
};
constexpr const char* kEorChoices[] = {"AUTO", "CRLF", "LF", "ANY", "None"};
constexpr const char* kCapsChoices[] = {"OFF", "ON", "AUTO"};
constexpr const char* kNumberTypeChoices[] = {"NONE", "COBOL", "STANDARD", "COB+STD", "OTHER"};
constexpr const char* kNumberAutoChoices[] = {"NONE", "FULL", "INCR"};

int CharsetChoice(const FileProfile& p) {
    if (p.diskCharset == ProfileCharset::Ebcdic) {
        return p.displayCharset == ProfileCharset::AsciiIbmPc ? 3 : 2;
    }
    return p.diskCharset == ProfileCharset::AsciiIbmPc ? 1 : 0;
}

const char* Bool(bool b) {
    return b ? "TRUE" : "FALSE";
}

std::string TabStopsText(const TabStops& stops) {
    std::string out;
    for (int i = 0; i < kProfileTabStopsMax && stops[static_cast<std::size_t>(i)] != 0; ++i) {
        out += (out.empty() ? "" : ",") + std::to_string(stops[static_cast<std::size_t>(i)]);
    }
    return out;
}

int ChoiceIndex(std::string_view value, std::initializer_list<const char*> choices) {
    int i = 0;
    for (const char* c : choices) {
        if (UpperAscii(value) == UpperAscii(c)) {
            return i;
        }
        ++i;
    }
    return -1;
}

int32_t Number(std::string_view value) {
    int64_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9') {
            return 0;
        }
        n = std::min<int64_t>(n * 10 + (c - '0'), 999999999);
    }
    return static_cast<int32_t>(n);
}

bool IsNumberingRow(std::string_view name) {
    return name == "NumberType" || name == "NumberAuto" || name == "NumberStart" ||
           name == "NumberIncrement" || name == "NumberColumnStart" || name == "NumberColumnEnd";
}

void Box(AppSession& app, const std::string& text, Beep beep) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

// Stores one row; the TabKeyStopsAt text goes to `tabs` for the checks.
void StoreRow(AppSession& app, FileProfile& p, const std::string& name, const std::string& value,
              std::vector<int64_t>& tabs, bool& tabsChanged) {
    auto flag = [&](bool& field) { field = value == "TRUE"; };
    if (name == "EndOfRecordSequence") {
        int i = ChoiceIndex(value, {"AUTO", "CRLF", "LF", "ANY"});
        p.endOfRecordSequence = static_cast<EorType>(std::max(i, 0));
    } else if (name == "RecordLength" || name == "MaxRecordLength") {
        p.maxRecordLength = std::clamp(Number(value), kProfileRecordLengthMin, kProfileRecordLengthMax);
    } else if (name == "CharacterSet") {
        int i = std::max(ChoiceIndex(value, {kCharsetChoices[0], kCharsetChoices[1], kCharsetChoices[2],
                                             kCharsetChoices[3]}),
                         0);
        p.diskCharset = i >= 2 ? ProfileCharset::Ebcdic : static_cast<ProfileCharset>(i);
        p.displayCharset = (i == 1 || i == 3) ? ProfileCharset::AsciiIbmPc : ProfileCharset::AsciiIso8859;
    } else if (name == "Caps") {
        p.caps = static_cast<CapsMode>(std::max(ChoiceIndex(value, {"OFF", "ON", "AUTO"}), 0));
    } else if (name == "ColorType") {
        std::string type = UpperAscii(value).substr(0, kProfileColorTypeMax);
        if (type != p.colorType) {
            p.colorType = type;
            p.colorizer = type.empty() ? nullptr : LoadColorizer(app, type);
        }
    } else if (name == "LanguageTemplate") {
        p.languageTemplate = UpperAscii(value).substr(0, kProfileTemplateMax);
    } else if (name == "Imacro") {
        p.imacro = value.substr(0, kProfileMacroMax);
    } else if (name == "Xmacro") {
        p.xmacro = value.substr(0, kProfileMacroMax);
    } else if (name == "NumberType") {
        p.numberType = static_cast<NumberType>(
            std::max(ChoiceIndex(value, {kNumberTypeChoices[0], kNumberTypeChoices[1], kNumberTypeChoices[2],
                                         kNumberTypeChoices[3], kNumberTypeChoices[4]}),
                     0));
        switch (p.numberType) {
            case NumberType::Cobol:
                p.numberColumnStart = 1, p.numberColumnEnd = 6, p.offset = 6;
                break;
            case NumberType::Standard:
                p.numberColumnStart = 73, p.numberColumnEnd = 80, p.maxRecordLength = 80, p.offset = 0;
                break;
            case NumberType::CobStd:
                p.numberColumnStart = 1, p.numberColumnEnd = 6, p.maxRecordLength = 80, p.offset = 6;
                break;
            case NumberType::None:
                p.numberColumnStart = p.numberColumnEnd = p.offset = 0;
                break;
            case NumberType::Other:
                break;
        }
    } else if (name == "NumberAuto") {
        p.numberAuto = static_cast<NumberAuto>(std::max(ChoiceIndex(value, {"NONE", "FULL", "INCR"}), 0));
    } else if (name == "NumberStart") {
        p.numberStart = Number(value);
    } else if (name == "NumberIncrement") {
        p.numberIncrement = Number(value);
    } else if (name == "NumberColumnStart") {
        p.numberColumnStart = Number(value);
    } else if (name == "NumberColumnEnd") {
        p.numberColumnEnd = Number(value);
    } else if (name == "PromptAfterKeystrokes") {
        p.promptAfterKeystrokes = Number(value);
    } else if (name == "TabsExpandOnRead") {
        p.tabsExpandOnRead = Number(value);
    } else if (name == "TabsInsertOnWrite") {
        p.tabsInsertOnWrite = Number(value);
    } else if (name == "TabKeyStopsAt") {
        tabs.clear();
        tabsChanged = true;
        std::string number;
        for (char c : value + ",") {
            if (c >= '0' && c <= '9') {
                number += c;
            } else if (!number.empty()) {
                tabs.push_back(Number(number));
                number.clear();
            }
        }
    } else if (name == "Backup") {
        flag(p.backup);
    } else if (name == "BackupAlternatePath") {
        p.backupAlternatePath = value.substr(0, kProfileBackupPathMax);
    } else if (name == "Lock") {
        flag(p.lock);
    } else if (name == "AutoIncreaseRecLen") {
        flag(p.autoIncreaseRecLen);
    } else if (name == "AutoIncreaseNotify") {
        flag(p.autoIncreaseNotify);
    } else if (name == "EndOfFileCharRead") {
        flag(p.endOfFileCharRead);
    } else if (name == "EndOfFileCharWrite") {
        flag(p.endOfFileCharWrite);
    } else if (name == "PadShortRecsWithBlank") {
        flag(p.padShortRecsWithBlank);
    } else if (name == "StripTrailingBlanks") {
        flag(p.stripTrailingBlanks);
    } else if (name == "TruncateLongLines") {
        flag(p.truncateLongLines);
    }
}

// The numbering rules after a numbering row changed. False after the message of the first failed
// check, which also turns numbering off.
bool ApplyNumbering(AppSession& app, FileProfile& p) {
    if (p.numberType == NumberType::None) {
        p.numberAuto = NumberAuto::None;
        p.numberStart = p.numberIncrement = p.numberColumnStart = p.numberColumnEnd = p.offset = 0;
        p.boundsLeft = 1;
        p.boundsRight = p.maxRecordLength;
        return true;
    }
    if (p.numberIncrement == 0) {
        p.numberIncrement = 100;
    }
    if (p.numberStart == 0) {
        p.numberStart = p.numberIncrement;
    }
    if (p.numberColumnStart == 1) {
        p.offset = p.numberColumnEnd;
    } else {
        p.maxRecordLength = std::clamp(p.numberColumnEnd, kProfileRecordLengthMin, kProfileRecordLengthMax);
        p.offset = 0;
    }
    std::string fault;
    int32_t width = p.numberColumnEnd - p.numberColumnStart + 1;
    if (p.numberStart < 1) {
        fault = "Line number start must be 1 or greater.";
    } else if (p.numberIncrement < 1 || p.numberIncrement > kIncrementMax) {
        fault = Format("Line number increment must be between 1 and %d.", kIncrementMax);
    } else if (p.numberColumnStart < 1) {
        fault = "Line number column start must be 1 or greater.";
    } else if (p.numberColumnEnd < 4) {
        fault = "Line number column end must be 4 or greater.";
    } else if (p.numberColumnStart >= p.maxRecordLength) {
        fault = "Line number column start equal or greater than max record length.";
    } else if (p.numberColumnEnd > p.maxRecordLength) {
        fault = "Line number column end equal or greater than max record length.";
    } else if (width < 4 || width > 8) {
        fault = "Line number field width must be between 4 and 8.";
    }
    if (!fault.empty()) {
        Box(app, fault, Beep::Exclamation);
        p.numberType = NumberType::None;
        return false;
    }
    if (p.numberType == NumberType::CobStd) {
        p.boundsLeft = 7, p.boundsRight = 72;
    } else if (p.numberColumnStart != 1) {
        p.boundsLeft = 1, p.boundsRight = p.numberColumnStart - 1;
    } else {
        p.boundsLeft = p.numberColumnEnd + 1, p.boundsRight = p.maxRecordLength;
    }
    return true;
}

void NormaliseBounds(FileProfile& p) {
    int32_t length = p.maxRecordLength;
    if (p.boundsLeft == 0) {
        p.boundsLeft = 1;
    }
    if (p.boundsLeft <= p.offset) {
        p.boundsLeft = p.offset + 1;
    }
    if (p.boundsLeft > length) {
        p.boundsLeft = length;
    }
    if (p.boundsRight == 0) {
        p.boundsRight = length;
    }
    if (p.boundsRight < p.boundsLeft) {
        p.boundsRight = p.boundsLeft;
    }
    if (p.boundsRight > length) {
        p.boundsRight = length;
    }
}

}  // namespace

std::vector<ProfileSheetRow> ProfileSheetRows(const FileProfile& p) {
    bool fixed = p.recordFormat == Recfm::Fixed;
    auto choice = [](std::initializer_list<const char*> choices) {
        std::string type = "CHOICE";
        for (const char* c : choices) {
            type += std::string(",") + c;
        }
        return type;
    };
    std::vector<ProfileSheetRow> rows;
    auto add = [&rows](std::string name, std::string type, std::string value) {
        rows.push_back({std::move(name), std::move(type), std::move(value)});
    };
    add("FileType", "OUTPUT", p.name);
    add("RecordFormat", "OUTPUT", fixed ? "Fixed" : "Variable");
    if (fixed) {
        add("RecordLength", "NUMBER,8,64000", std::to_string(p.maxRecordLength));
    } else {
        int eor = std::clamp(static_cast<int>(p.endOfRecordSequence), 0, 3);
        add("EndOfRecordSequence", choice({"AUTO", "CRLF", "LF", "ANY"}), kEorChoices[eor]);
        add("MaxRecordLength", "NUMBER,8,64000", std::to_string(p.maxRecordLength));
    }
    add("Bounds", "OUTPUT", Format("%d,%d", p.boundsLeft, p.boundsRight));
    add("CharacterSet",
        choice({kCharsetChoices[0], kCharsetChoices[1], kCharsetChoices[2], kCharsetChoices[3]}),
        kCharsetChoices[CharsetChoice(p)]);
    add("Caps", choice({"AUTO", "ON", "OFF"}), kCapsChoices[std::clamp(static_cast<int>(p.caps), 0, 2)]);
    add("ColorType", "STRING", p.colorType);
    add("LanguageTemplate", "STRING", p.languageTemplate);
    add("Imacro", "STRING", p.imacro);
    add("Xmacro", "STRING", p.xmacro);
    add("NumberType", choice({"COBOL", "STANDARD", "COB+STD", "OTHER", "NONE"}),
        kNumberTypeChoices[std::clamp(static_cast<int>(p.numberType), 0, 4)]);
    add("NumberAuto", choice({"FULL", "INCR", "NONE"}),
        kNumberAutoChoices[std::clamp(static_cast<int>(p.numberAuto), 0, 2)]);
    add("NumberStart", "NUMBER,0,1000", std::to_string(p.numberStart));
    add("NumberIncrement", "NUMBER,0,1000", std::to_string(p.numberIncrement));
    std::string columns = Format("NUMBER,0,%d", p.maxRecordLength);
    add("NumberColumnStart", columns, std::to_string(p.numberColumnStart));
    add("NumberColumnEnd", columns, std::to_string(p.numberColumnEnd));
    add("PromptAfterKeystrokes", "NUMBER,0,999999", std::to_string(p.promptAfterKeystrokes));
    if (!fixed) {
        add("TabsExpandOnRead", "NUMBER,0,8", std::to_string(std::clamp(p.tabsExpandOnRead, 0, 8)));
        add("TabsInsertOnWrite", "NUMBER,0,8", std::to_string(std::clamp(p.tabsInsertOnWrite, 0, 8)));
    }
    add("TabKeyStopsAt", "STRING", TabStopsText(p.tabKeyStopsAt));
    add("Backup", "BOOL", Bool(p.backup));
    add("BackupAlternatePath", "STRING", p.backupAlternatePath);
    add("Lock", "BOOL", Bool(p.lock));
    add("AutoIncreaseRecLen", "BOOL", Bool(p.autoIncreaseRecLen));
    add("AutoIncreaseNotify", "BOOL", Bool(p.autoIncreaseNotify));
    add("EndOfFileCharRead", "BOOL", Bool(p.endOfFileCharRead));
    add("EndOfFileCharWrite", "BOOL", Bool(p.endOfFileCharWrite));
    if (!fixed) {
        add("PadShortRecsWithBlank", "BOOL", Bool(p.padShortRecsWithBlank));
        add("StripTrailingBlanks", "BOOL", Bool(p.stripTrailingBlanks));
        add("TruncateLongLines", "BOOL", Bool(p.truncateLongLines));
    }
    return rows;
}

int ApplyProfileSheet(AppSession& app, FileProfile& p,
                      const std::vector<std::pair<std::string, std::string>>& changed) {
    std::vector<int64_t> tabs;
    bool tabsChanged = false;
    bool numberingChanged = false;
    for (const auto& [name, value] : changed) {
        StoreRow(app, p, name, value, tabs, tabsChanged);
        numberingChanged = numberingChanged || IsNumberingRow(name);
    }
    bool faulty = false;
    if (!p.backupAlternatePath.empty()) {
        std::error_code error;
        if (!std::filesystem::is_directory(p.backupAlternatePath, error)) {
            Box(app, Format("'%s' is not a valid path.", p.backupAlternatePath.c_str()), Beep::Exclamation);
            p.backupAlternatePath.clear();
            faulty = true;
        }
    }
    if (p.stripTrailingBlanks && p.padShortRecsWithBlank) {
        Box(app, "Set either 'StripTrailingBlanks' or 'PadShortRecsWithBlank' not both.", Beep::Exclamation);
        p.stripTrailingBlanks = p.padShortRecsWithBlank = false;
        faulty = true;
    }
    if (p.padShortRecsWithBlank && p.maxRecordLength > 255) {
        Box(app, "'PadShortRecsWithBlank' not valid when record length exceeds 255.", Beep::Information);
        p.padShortRecsWithBlank = false;
        faulty = true;
    }
    if (numberingChanged && !ApplyNumbering(app, p)) {
        faulty = true;
    }
    if (tabsChanged) {
        TabStops stops{};
        bool tabsOk = true;
        for (std::size_t i = 0; i < tabs.size() && tabsOk; ++i) {
            if (tabs[i] > p.maxRecordLength || i >= static_cast<std::size_t>(kProfileTabStopsMax)) {
                Box(app, "'TabKeyStopsAt' exceeds max reclen.", Beep::Exclamation);
                tabsOk = false;
            } else if (i > 0 && tabs[i] <= tabs[i - 1]) {
                Box(app, "'TabKeyStopsAt' not in ascending order.", Beep::Exclamation);
                tabsOk = false;
            } else {
                stops[i] = static_cast<int32_t>(tabs[i]);
            }
        }
        if (tabsOk) {
            p.tabKeyStopsAt = stops;
        }
        faulty = faulty || !tabsOk;
    }
    NormaliseBounds(p);
    if (faulty) {
        Box(app, "Changes to file profile ignored due to error in field value(s).", Beep::Information);
        return -1;
    }
    return 0;
}

std::vector<std::string> ListProfileTypes(std::string_view pathValue, std::string_view extension) {
    std::vector<std::string> directories = SplitSearchPath(pathValue);
    std::string suffix = UpperAscii(extension);
    std::set<std::string> seen;
    std::vector<std::string> entries;
    for (const std::string& directory : directories) {
        std::vector<std::string> names;
        std::error_code error;
        for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
             it.increment(error)) {
            std::string file = it->path().filename().string();
            if (file.size() > suffix.size() && UpperAscii(file).ends_with(suffix) &&
                it->is_regular_file(error)) {
                names.push_back(file);
            }
        }
        std::sort(names.begin(), names.end());
        if (directories.size() > 1) {
            entries.push_back("<In " + UpperAscii(directory) + ">");
        }
        for (const std::string& file : names) {
            std::string type = UpperAscii(file.substr(0, file.find('.')));
            if (!type.empty() && seen.insert(type).second) {
                entries.push_back(type);
            }
        }
    }
    return entries;
}

bool IsTypeListMarker(std::string_view entry) {
    return entry.starts_with("<In ");
}

}  // namespace tavoe
