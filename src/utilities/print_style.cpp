#include "utilities/print_style.h"

#include <array>
#include <cctype>
#include <vector>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/property_sheet.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/control_file.h"

namespace tavoe {

namespace {

constexpr std::array<PrintStyleField, kPrintStyleFieldCount> kFields = {{
    {"Name", "Name", "STRING"},
    {"Description", "Describe", "STRING"},
    {"MarginTop", "TopMarg", "NUMBER,0,8"},
    {"MarginBottom", "BotMarg", "NUMBER,0,8"},
    {"MarginLeft", "LeftMarg", "NUMBER,0,8"},
    {"MarginRight", "RightMarg", "NUMBER,0,8"},
    {"HdwMarginTop", "HdwTopMarg", "NUMBER,0,8"},
    {"HdwMarginBottom", "HdwBotMarg", "NUMBER,0,8"},
    {"HdwMarginLeft", "HdwLeftMarg", "NUMBER,0,8"},
    {"HdwMarginRight", "HdwRightMarg", "NUMBER,0,8"},
    {"HeaderShow", "HdrShow", "BOOL"},
    {"HeaderRuler", "RulerInHdr", "BOOL"},
    {"HeaderText", "HdrText", "STRING"},
    {"HeaderAlign", "HdrAlign", "CHOICE,LEFT,CENTER,RIGHT,SPREAD"},
    {"HeaderSpace", "HdrSpace", "NUMBER,0,8"},
    {"FooterShow", "FtrShow", "BOOL"},
    {"FooterRuler", "RulerInFtr", "BOOL"},
    {"FooterText", "FtrText", "STRING"},
    {"FooterAlign", "FtrAlign", "CHOICE,LEFT,CENTER,RIGHT,SPREAD"},
    {"FooterSpace", "FtrSpace", "NUMBER,0,8"},
    {"FoldAtColumn", "FoldAtColumn", "NUMBER,0,999"},
    {"FoldLongLines", "Fold", "BOOL"},
    {"ColOneFormFeed", "FormFeed", "BOOL"},
    {"ColorPrint", "Color", "BOOL"},
    {"LineNumbersLeft", "LineNumbers", "BOOL"},
}};

// Where each field lives in the record, in table order: exactly one of the pointers is set.
struct FieldSlot {
    std::string PrintStyle::*text = nullptr;
    int PrintStyle::*number = nullptr;
    bool PrintStyle::*flag = nullptr;
    PrintAlign PrintStyle::*align = nullptr;
    int maximum = 0;  // numbers: 0..maximum
};

const std::array<FieldSlot, kPrintStyleFieldCount> kSlots = {{
    {&PrintStyle::name},
    {&PrintStyle::description},
    {nullptr, &PrintStyle::marginTop, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::marginBottom, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::marginLeft, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::marginRight, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::hdwMarginTop, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::hdwMarginBottom, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::hdwMarginLeft, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::hdwMarginRight, nullptr, nullptr, 8},
    {nullptr, nullptr, &PrintStyle::headerShow},
    {nullptr, nullptr, &PrintStyle::headerRuler},
    {&PrintStyle::headerText},
    {nullptr, nullptr, nullptr, &PrintStyle::headerAlign},
    {nullptr, &PrintStyle::headerSpace, nullptr, nullptr, 8},
    {nullptr, nullptr, &PrintStyle::footerShow},
    {nullptr, nullptr, &PrintStyle::footerRuler},
    {&PrintStyle::footerText},
    {nullptr, nullptr, nullptr, &PrintStyle::footerAlign},
    {nullptr, &PrintStyle::footerSpace, nullptr, nullptr, 8},
    {nullptr, &PrintStyle::foldAtColumn, nullptr, nullptr, 999},
    {nullptr, nullptr, &PrintStyle::foldLongLines},
    {nullptr, nullptr, &PrintStyle::colOneFormFeed},
    {nullptr, nullptr, &PrintStyle::colorPrint},
    {nullptr, nullptr, &PrintStyle::lineNumbersLeft},
}};

constexpr std::array<std::string_view, 4> kAlignNames = {"LEFT", "CENTER", "RIGHT", "SPREAD"};

int FieldIndex(std::string_view keyword) {
    std::string upper = UpperAscii(keyword);
    for (int i = 0; i < kPrintStyleFieldCount; ++i) {
        if (UpperAscii(kFields[i].keyword) == upper) {
            return i;
        }
    }
    return -1;
}

void Box(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Exclamation);
}

}  // namespace

std::span<const PrintStyleField> PrintStyleFields() {
    return kFields;
}

PrintAlign PrintAlignFromText(std::string_view text) {
    switch (text.empty() ? ' ' : std::toupper(static_cast<unsigned char>(text[0]))) {
        case 'C':
            return PrintAlign::Center;
        case 'R':
            return PrintAlign::Right;
        case 'S':
            return PrintAlign::Spread;
        default:
            return PrintAlign::Left;
    }
}

std::string_view PrintAlignName(PrintAlign align) {
    return kAlignNames[static_cast<size_t>(align)];
}

std::string PrintStyleValue(const PrintStyle& style, int field) {
    const FieldSlot& slot = kSlots[static_cast<size_t>(field)];
    if (slot.text != nullptr) {
        return style.*slot.text;
    }
    if (slot.number != nullptr) {
        return std::to_string(style.*slot.number);
    }
    if (slot.flag != nullptr) {
        return style.*slot.flag ? "TRUE" : "FALSE";
    }
    return std::string(PrintAlignName(style.*slot.align));
}

bool SetPrintStyleValue(PrintStyle& style, int field, std::string_view value) {
    if (field < 0 || field >= kPrintStyleFieldCount) {
        return false;
    }
    const FieldSlot& slot = kSlots[static_cast<size_t>(field)];
    if (slot.text != nullptr) {
        if (value.size() > kControlValueMax) {
            return false;
        }
        style.*slot.text = std::string(value);
        return true;
    }
    if (slot.number != nullptr) {
        if (value.empty() || value.size() > 3) {
            return false;
        }
        int number = 0;
        for (char c : value) {
            if (!std::isdigit(static_cast<unsigned char>(c))) {
                return false;
            }
            number = number * 10 + (c - '0');
        }
        if (number > slot.maximum) {
            return false;
        }
        style.*slot.number = number;
        return true;
    }
    if (slot.flag != nullptr) {
        if (value != "TRUE" && value != "FALSE") {
            return false;
        }
        style.*slot.flag = value == "TRUE";
        return true;
    }
    std::string upper = UpperAscii(value);
    for (size_t i = 0; i < kAlignNames.size(); ++i) {
        if (upper == kAlignNames[i]) {
            style.*slot.align = static_cast<PrintAlign>(i);
            return true;
        }
    }
    return false;
}

PrintStyle DefaultPrintStyle() {
    PrintStyle style;
    style.name = std::string(kDefaultPrintStyle);
    style.description = "Default print style";
    return style;
}

int WritePrintStyle(AppSession& app, const PrintStyle& style) {
    std::vector<std::string> keywords;
    std::vector<std::string> values;
    for (int i = 0; i < kPrintStyleFieldCount; ++i) {
        keywords.emplace_back(kFields[i].keyword);
        values.push_back(PrintStyleValue(style, i));
    }
    return ControlFileWrite(app, kPrintStylePathVariable, style.name, kPrintStyleExtension, keywords, values);
}

int ReadPrintStyle(AppSession& app, std::string_view name, PrintStyle& out) {
    std::string upperName = UpperAscii(name);
    std::string fileName = upperName + std::string(kPrintStyleExtension);
    std::string pathValue = VarGetValue(app, kPrintStylePathVariable);
    if (upperName == kDefaultPrintStyle && FindAlongPath(pathValue, fileName).empty()) {
        if (WritePrintStyle(app, DefaultPrintStyle()) != 0) {
            out = DefaultPrintStyle();  // reported; printing still has its defaults
            return 0;
        }
    }
    // Control files are at most a few hundred bytes; reading more lines than there are fields lets
    // a duplicated or stray line be noticed instead of silently cut off.
    constexpr int kSlotsRead = kPrintStyleFieldCount + 8;
    std::vector<std::string> keywords;
    std::vector<std::string> values;
    if (ControlFileRead(app, kPrintStylePathVariable, upperName, kPrintStyleExtension, kSlotsRead, keywords,
                        values) != 0) {
        return -1;
    }
    PrintStyle style;
    style.name = upperName;
    for (int i = 0; i < kSlotsRead; ++i) {
        if (keywords[i].empty() && values[i].empty()) {
            continue;  // a blank line, or the file has ended
        }
        int field = FieldIndex(keywords[i]);
        if (field < 0) {
            Box(app,
                Format("Print style '%s': unknown keyword '%s'.", upperName.c_str(), keywords[i].c_str()));
            return -1;
        }
        if (!SetPrintStyleValue(style, field, values[i])) {
            Box(app, Format("Print style '%s': keyword '%s' has invalid value '%s'.", upperName.c_str(),
                            keywords[i].c_str(), values[i].c_str()));
            return -1;
        }
    }
    style.name = UpperAscii(style.name);
    out = std::move(style);
    return 0;
}

int ValidatePrintStyle(AppSession& app, PrintStyle& style) {
    if (style.name == "?") {
        Box(app, "Print style, name required.");
        return -1;
    }
    if (style.description == "?") {
        Box(app, "Print style, description required.");
        return -1;
    }
    style.name = UpperAscii(style.name);
    for (char c : style.name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') {
            Box(app, "Print style, no blanks or punctuation allowed in name.");
            return -1;
        }
    }
    // An empty name would write the file ".pstl"; it is as much a missing name as "?".
    if (style.name.empty()) {
        Box(app, "Print style, name required.");
        return -1;
    }
    if (style.name.size() > kPrintStyleNameMax) {
        Box(app, "Print style, name too long.");
        return -1;
    }
    return 0;
}

void AddPrintStyleProperties(AppSession& app, PropertySheet& sheet, const PrintStyle& style) {
    for (int i = 0; i < kPrintStyleFieldCount; ++i) {
        (void)PropertyAdd(app, sheet, kFields[i].property, kFields[i].type, PrintStyleValue(style, i));
    }
}

void ApplyPrintStyleProperties(const PropertySheet& sheet, PrintStyle& style) {
    for (const Property& property : sheet.properties) {
        if (!property.changed) {
            continue;
        }
        for (int i = 0; i < kPrintStyleFieldCount; ++i) {
            if (kFields[i].property == property.name) {
                SetPrintStyleValue(style, i, property.value);
            }
        }
    }
}

}  // namespace tavoe
