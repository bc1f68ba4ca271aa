#include "dialogs/dialog_parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/definition_lines.h"
#include "dialogs/dialog_cache.h"
#include "platform/ascii_case.h"
#include "platform/format.h"
#include "platform/search_path.h"

namespace tavoe {

namespace {

// Integers saturate here, so an absurd ROW or WIDTH is reported as a (large) invalid value rather
// than overflowing.
constexpr int64_t kIntSaturate = 1000000000;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal integer as the definition files write them: leading blanks, an optional sign, digits;
// anything else ends it and no digits give 0.
int32_t ParseInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (IsBlank(text[i]) || text[i] == '\r' || text[i] == '\n')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min(value * 10 + (text[i] - '0'), kIntSaturate);
    }
    return static_cast<int32_t>(negative ? -value : value);
}

// Calls visit for each line of the text as the file reader sees it, without trailing blanks.
template <class Visit>
bool ForEachLine(std::string_view text, Visit visit) {
    for (std::string_view line : SplitDefinitionLines(text)) {
        while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) {
            line.remove_suffix(1);
        }
        if (!visit(line)) {
            return false;
        }
    }
    return true;
}

enum class Prop {
    Type,
    Row,
    Col,
    Width,
    Depth,
    Text,
    Var,
    Popup,
    YesNo,
    HAlign,
    TextSide,
    MultiSelect,
    MultiCol,
    ColWidth,
    Color,
};

enum class ValueCase : uint8_t { Keep, Upper };

constexpr uint32_t TypeBit(DialogObjectType type) {
    return 1u << static_cast<int>(type);
}
constexpr uint32_t kAnyType = 0xffffffffu;

// One object property: how its value is read, which object types may carry it (checked against the
// type known when the property is read, so TYPE must come first), the message for a misplaced
// property, and for YES/NO properties the flag they set and the message for another value.
struct PropertyRow {
    std::string_view name;
    Prop prop;
    ValueCase valueCase;
    uint32_t allowed;
    const char* misplaced;
    bool DialogObject::*flag;
    const char* invalid;
};

constexpr uint32_t kButtonOnly = TypeBit(DialogObjectType::Button);
constexpr uint32_t kListOnly = TypeBit(DialogObjectType::List);
constexpr uint32_t kCommitTypes = TypeBit(DialogObjectType::List) | TypeBit(DialogObjectType::Combo) |
                                  TypeBit(DialogObjectType::Button) | TypeBit(DialogObjectType::Checkbox);
constexpr uint32_t kFocusTypes = kCommitTypes | TypeBit(DialogObjectType::Input);
constexpr uint32_t kDepthTypes =
    TypeBit(DialogObjectType::Button) | TypeBit(DialogObjectType::Combo) | TypeBit(DialogObjectType::List);
constexpr uint32_t kWidthTypes = ~(TypeBit(DialogObjectType::Static) | TypeBit(DialogObjectType::Checkbox) |
                                   TypeBit(DialogObjectType::Separator));

// clang-format off
const std::array<PropertyRow, 26> kProperties = {{
    {"TYPE",        Prop::Type,        ValueCase::Upper, kAnyType, nullptr, nullptr,
     "Dialog %s: invalid value, TYPE=%s"},
    {"ROW",         Prop::Row,         ValueCase::Keep,  kAnyType, nullptr, nullptr, nullptr},
    {"COL",         Prop::Col,         ValueCase::Keep,  kAnyType, nullptr, nullptr, nullptr},
    {"WIDTH",       Prop::Width,       ValueCase::Keep,  kWidthTypes,
     "Dialog %s: WIDTH not allowed on object type STATIC, CHECKBOX, or SEPARATOR", nullptr, nullptr},
    {"DEPTH",       Prop::Depth,       ValueCase::Keep,  kDepthTypes,
     "Dialog %s: DEPTH only valid for BUTTON, COMBO, or LIST", nullptr, nullptr},
    {"TEXT",        Prop::Text,        ValueCase::Keep,  kAnyType, nullptr, nullptr, nullptr},
    {"VAR",         Prop::Var,         ValueCase::Upper, kAnyType, nullptr, nullptr, nullptr},
    {"POPUP",       Prop::Popup,       ValueCase::Upper, kAnyType, nullptr, nullptr, nullptr},
    {"CANCEL",      Prop::YesNo,       ValueCase::Upper, kButtonOnly, "Dialog %s: only valid for BUTTON",
     &DialogObject::cancel, "Dialog %s: invalid value, CANCEL=%s"},
    {"DEFAULT",     Prop::YesNo,       ValueCase::Upper, kButtonOnly, "Dialog %s: only valid for BUTTON",
     &DialogObject::isDefault, "Dialog %s: invalid value, DEFAULT=%s"},
    {"COMMIT",      Prop::YesNo,       ValueCase::Upper, kCommitTypes,
     "Dialog %s: only valid for LIST, COMBO, BUTTON, or CHECKBOX",
     &DialogObject::commit, "Dialog %s: invalid value, COMMIT=%s"},
    {"FOCUS",       Prop::YesNo,       ValueCase::Upper, kFocusTypes,
     "Dialog %s: only valid for INPUT, LIST, COMBO, BUTTON, or CHECKBOX",
     &DialogObject::focus, "Dialog %s: invalid value, FOCUS=%s"},
    {"HALIGN",      Prop::HAlign,      ValueCase::Upper, kAnyType, nullptr, nullptr,
     "Dialog %s: invalid value, HALIGN=%s"},
    {"TEXTSIDE",    Prop::TextSide,    ValueCase::Upper, kAnyType, nullptr, nullptr,
     "Dialog %s: invalid value, TEXTSIDE=%s"},
    {"HSCROLL",     Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::hscroll, "Dialog %s: invalid value, HSCROLL=%s"},
    {"VSCROLL",     Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::vscroll, "Dialog %s: invalid value, VSCROLL=%s"},
    {"UPCASE",      Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::upcase, "Dialog %s: invalid value, UPCASE=%s"},
    {"LOWCASE",     Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::lowcase, "Dialog %s: invalid value, LOWCASE=%s"},
    {"PASSWORD",    Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::password, "Dialog %s: invalid value, PASSWORD=%s"},
    {"MODIFIABLE",  Prop::YesNo,       ValueCase::Upper, TypeBit(DialogObjectType::Combo),
     "Dialog %s: MODIFIABLE only valid for COMBO",
     &DialogObject::modifiable, "Dialog %s: invalid value, MODIFIABLE=%s"},
    {"MULTISELECT", Prop::MultiSelect, ValueCase::Upper, kListOnly,
     "Dialog %s: MULTISELECT only allowed on object type LIST",
     &DialogObject::multiselect, "Dialog %s: MULTISELECT must be YES or NO"},
    {"MULTICOL",    Prop::MultiCol,    ValueCase::Upper, kListOnly,
     "Dialog %s: MULTICOL only allowed on object type LIST", nullptr, nullptr},
    {"COLWIDTH",    Prop::ColWidth,    ValueCase::Keep,  kListOnly,
     "Dialog %s: COLWIDTH only allowed on object type LIST", nullptr, nullptr},
    {"SORT",        Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::sort, "Dialog %s: invalid value, SORT=%s"},
    {"NUMBER",      Prop::YesNo,       ValueCase::Upper, kAnyType, nullptr,
     &DialogObject::number, "Dialog %s: invalid value, NUMBER=%s"},
    {"COLOR",       Prop::Color,       ValueCase::Keep,  kAnyType, nullptr, nullptr, nullptr},
}};
// clang-format on

const PropertyRow* FindProperty(std::string_view name) {
    for (const PropertyRow& row : kProperties) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

struct TypeKeyword {
    std::string_view word;
    DialogObjectType type;
};

constexpr std::array<TypeKeyword, 8> kTypeKeywords = {{
    {"STATIC", DialogObjectType::Static},
    {"OUTPUT", DialogObjectType::Output},
    {"INPUT", DialogObjectType::Input},
    {"LIST", DialogObjectType::List},
    {"COMBO", DialogObjectType::Combo},
    {"BUTTON", DialogObjectType::Button},
    {"CHECKBOX", DialogObjectType::Checkbox},
    {"SEPARATOR", DialogObjectType::Separator},
}};

enum class Block : uint8_t { None, Header, Object };

class DialogParser {
public:
    DialogParser(AppSession& app, std::string_view name)
        : app_(app), def_(std::make_unique<DialogDefinition>()) {
        def_->name = UpperAscii(name);
    }

    std::unique_ptr<DialogDefinition> Run(std::string_view text) {
        if (!ForEachLine(text, [this](std::string_view line) { return ScanLine(line); })) {
            return nullptr;
        }
        if (!headerSeen_) {
            return nullptr;
        }
        // An object block still open at the end of the file is dropped.
        if (!FinalChecks()) {
            return nullptr;
        }
        return std::move(def_);
    }

private:
    void Error(const std::string& text) { ShowMessage(app_, text, MsgTo::Box, Beep::Exclamation); }
    const char* Name() const { return def_->name.c_str(); }

    // Scans one line token by token; false after reporting an error.
    bool ScanLine(std::string_view line) {
        size_t pos = 0;
        while (true) {
            while (pos < line.size() && (IsBlank(line[pos]) || line[pos] == '{')) {
                ++pos;
            }
            if (pos >= line.size()) {
                return true;
            }
            std::string_view rest = line.substr(pos);
            if (rest.starts_with("//")) {
                return true;
            }
            if (block_ == Block::None) {
                // The keywords are compared by their length only, in upper or lower case: what
                // follows them on the line is scanned as the next token.
                if (!headerSeen_) {
                    if (!rest.starts_with("DIALOG") && !rest.starts_with("dialog")) {
                        Error(
                            Format("Dialog %s: expected DIALOG, got %s", Name(), std::string(line).c_str()));
                        return false;
                    }
                    pos += 6;
                    headerSeen_ = true;
                    block_ = Block::Header;
                    continue;
                }
                if (!rest.starts_with("OBJ") && !rest.starts_with("obj")) {
                    Error(Format("Dialog %s: expected OBJECT, got %s", Name(), std::string(line).c_str()));
                    return false;
                }
                pos += 3;
                current_ = DialogObject{};
                block_ = Block::Object;
                continue;
            }
            if (line[pos] == '}') {
                CloseBlock();
                ++pos;
                continue;
            }
            if (!Property(line, pos)) {
                return false;
            }
        }
    }

    // Closing an object block completes its defaults and appends it.
    void CloseBlock() {
        if (block_ == Block::Object) {
            if (current_.width == 0 && current_.text) {
                current_.width = static_cast<int32_t>(current_.text->size());
                current_.widthFromText = true;
                if (current_.type == DialogObjectType::Checkbox) {
                    current_.width += 3;
                }
            }
            if (current_.depth == 0) {
                current_.depth = 1;
            }
            def_->objects.push_back(std::move(current_));
            current_ = DialogObject{};
        }
        block_ = Block::None;
    }

    // NAME=VALUE at pos; pos ends after the value.
    bool Property(std::string_view line, size_t& pos) {
        size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '=') {
            ++pos;
        }
        std::string name = UpperAscii(line.substr(start, pos - start));
        const PropertyRow* row = nullptr;
        bool isTitle = block_ == Block::Header && name == "TITLE";
        if (block_ == Block::Object) {
            row = FindProperty(name);
        }
        if (row == nullptr && !isTitle) {
            Error(Format("Dialog %s: unknown property %s", Name(), name.c_str()));
            return false;
        }
        // Only blanks may stand between the name and "=": taking the next "=" further on the line
        // would give this property the value of a later one.
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        if (pos >= line.size() || line[pos] != '=') {
            Error(Format("Dialog %s: expected equal sign after %s, got %s", Name(), name.c_str(),
                         std::string(line.substr(pos)).c_str()));
            return false;
        }
        ++pos;
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        std::string value = ReadValue(line, pos);
        if (isTitle) {
            def_->title = value.substr(0, kDialogTitleMax);
            return true;
        }
        if (row->valueCase == ValueCase::Upper) {
            value = UpperAscii(value);
        }
        return Apply(*row, value);
    }

    // A quoted value runs to the same quote character or the end of the line and loses its quotes;
    // any other value runs to a blank, a "}" or the end of the line.
    static std::string ReadValue(std::string_view line, size_t& pos) {
        if (pos < line.size() && (line[pos] == '"' || line[pos] == '\'')) {
            char quote = line[pos];
            size_t close = line.find(quote, pos + 1);
            size_t end = close == std::string_view::npos ? line.size() : close;
            std::string value(line.substr(pos + 1, end - pos - 1));
            pos = close == std::string_view::npos ? line.size() : close + 1;
            return value;
        }
        size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '}') {
            ++pos;
        }
        return std::string(line.substr(start, pos - start));
    }

    // A VAR or POPUP value beginning with Z names a global variable; any other value is a field of
    // this dialog.
    std::string ResolveVariable(const std::string& value) const {
        if (value[0] == 'Z') {
            return value;
        }
        return def_->name + "." + value;
    }

    bool Apply(const PropertyRow& row, const std::string& value) {
        DialogObject& obj = current_;
        if (row.allowed != kAnyType && (row.allowed & TypeBit(obj.type)) == 0) {
            Error(Format(row.misplaced, Name()));
            return false;
        }
        switch (row.prop) {
            case Prop::Type: {
                auto found = std::find_if(kTypeKeywords.begin(), kTypeKeywords.end(),
                                          [&](const TypeKeyword& k) { return k.word == value; });
                if (found == kTypeKeywords.end()) {
                    Error(Format(row.invalid, Name(), value.c_str()));
                    return false;
                }
                obj.type = found->type;
                if (obj.type == DialogObjectType::Separator) {
                    obj.column = 1;
                    obj.width = 1;
                    obj.depth = 1;
                }
                return true;
            }
            case Prop::Row:
                obj.row = ParseInt(value);
                return true;
            case Prop::Col:
                obj.column = ParseInt(value);
                return true;
            case Prop::Width:
                obj.width = ParseInt(value);
                return true;
            case Prop::Depth:
                obj.depth = ParseInt(value);
                return true;
            case Prop::Text:
                if (value.empty()) {
                    Error(Format("Dialog %s: TEXT keyword specified with no value", Name()));
                    return false;
                }
                obj.text = value;
                return true;
            case Prop::Var:
                if (value.empty()) {
                    Error(Format("Dialog %s: VAR keyword specified with no value", Name()));
                    return false;
                }
                obj.variable = ResolveVariable(value);
                return true;
            case Prop::Popup:
                if (value.empty()) {
                    Error(Format("Dialog %s: POPUP keyword specified with no value", Name()));
                    return false;
                }
                obj.popup = ResolveVariable(value);
                return true;
            case Prop::YesNo:
            case Prop::MultiSelect:
                if (value != "YES" && value != "NO") {
                    Error(Format(row.invalid, Name(), value.c_str()));
                    return false;
                }
                obj.*row.flag = value == "YES";
                return true;
            case Prop::HAlign:
                if (value == "LEFT") {
                    obj.hAlign = DialogHAlign::Left;
                } else if (value == "CENTER") {
                    obj.hAlign = DialogHAlign::Center;
                } else if (value == "RIGHT") {
                    obj.hAlign = DialogHAlign::Right;
                } else {
                    Error(Format(row.invalid, Name(), value.c_str()));
                    return false;
                }
                return true;
            case Prop::TextSide:
                if (value == "LEFT") {
                    obj.textSide = DialogTextSide::Left;
                } else if (value == "RIGHT") {
                    obj.textSide = DialogTextSide::Right;
                } else {
                    Error(Format(row.invalid, Name(), value.c_str()));
                    return false;
                }
                return true;
            case Prop::MultiCol:
                obj.multicolumn = value == "YES" ? "TRUE" : value == "NO" ? "FALSE" : value;
                return true;
            case Prop::ColWidth:
                obj.columnWidths = value;
                return true;
            case Prop::Color:
                return ApplyColor(value);
        }
        return true;
    }

    // COLOR=fg,bg with palette indexes 0..15 that differ, or the name of a variable holding such a
    // pair; an empty pair leaves the object uncolored.
    bool ApplyColor(const std::string& value) {
        DialogObject& obj = current_;
        std::string pair = value;
        if (pair.empty() || !IsDigit(pair[0])) {
            pair = pair.empty() ? std::string() : VarGetValue(app_, pair);
            if (pair.empty()) {
                obj.colored = false;
                return true;
            }
        }
        int32_t fg = ParseInt(pair);
        if (fg < 0 || fg > 15) {
            Error(Format("Dialog %s: COLOR, foreground must be in range 0..15", Name()));
            return false;
        }
        size_t comma = pair.find(',');
        int32_t bg = comma == std::string::npos ? -1 : ParseInt(std::string_view(pair).substr(comma + 1));
        if (bg < 0 || bg > 15) {
            Error(Format("Dialog %s: COLOR, background must be in range 0..15", Name()));
            return false;
        }
        if (fg == bg) {
            Error(Format("Dialog %s: COLOR, FG must be different than BG", Name()));
            return false;
        }
        obj.foreground = fg;
        obj.background = bg;
        obj.colored = true;
        return true;
    }

    static bool GridValueValid(int32_t value) { return value >= 1 && value <= kDialogGridMax; }

    // Checks every object in order; all complaints about one object are shown, and checking stops
    // after the first object that had any.
    bool FinalChecks() {
        if (def_->objects.empty()) {
            Error(Format("Dialog %s: has no OBJECTS", Name()));
            return false;
        }
        int number = 0;
        for (DialogObject& obj : def_->objects) {
            ++number;
            obj.controlId = kDialogFirstControlId + number - 1;
            bool listLike = obj.type == DialogObjectType::List || obj.type == DialogObjectType::Combo;
            if (listLike && (obj.depth == 0 || obj.depth == 1)) {
                obj.depth = kDialogDefaultListDepth;
            }
            bool failed = false;
            auto report = [&](const std::string& text) {
                Error(text);
                failed = true;
            };
            bool withoutVar = obj.type == DialogObjectType::Static ||
                              obj.type == DialogObjectType::Separator || obj.type == DialogObjectType::Button;
            if (obj.type == DialogObjectType::None) {
                report(Format("Dialog %s: OBJECT %d has no TYPE", Name(), number));
            }
            if (!withoutVar && !obj.variable) {
                report(Format("Dialog %s: OBJECT %d must have VAR", Name(), number));
            }
            if (withoutVar && obj.variable) {
                report(Format("Dialog %s: OBJECT %d must not have VAR", Name(), number));
            }
            if (obj.multicolumn && !obj.columnWidths) {
                report(Format("Dialog %s: OBJECT %d if MULTICOL=YES, COLWIDTH must be specified", Name(),
                              number));
            }
            if (!GridValueValid(obj.column)) {
                report(Format("Dialog %s: OBJECT %d column invalid, %d", Name(), number, obj.column));
            }
            if (!GridValueValid(obj.row)) {
                report(Format("Dialog %s: OBJECT %d row invalid, %d", Name(), number, obj.row));
            }
            if (!GridValueValid(obj.width)) {
                report(Format("Dialog %s: OBJECT %d width invalid, %d", Name(), number, obj.width));
            }
            if (!GridValueValid(obj.depth)) {
                report(Format("Dialog %s: OBJECT %d depth invalid, %d", Name(), number, obj.depth));
            }
            if ((obj.type == DialogObjectType::Static || obj.type == DialogObjectType::Checkbox) &&
                !obj.text) {
                report(Format("Dialog %s: OBJECT %d must have TEXT", Name(), number));
            }
            if (obj.type == DialogObjectType::Button && !obj.text) {
                report(Format("Dialog %s: OBJECT %d must have TEXT or ZVAR", Name(), number));
            }
            if (obj.sort && obj.type != DialogObjectType::List) {
                report(Format("Dialog %s: OBJECT %d can not have SORT", Name(), number));
            }
            if (obj.colored && obj.type != DialogObjectType::Static && obj.type != DialogObjectType::Output) {
                report(Format("Dialog %s: OBJECT %d can not have COLOR", Name(), number));
            }
            if (failed) {
                return false;
            }
        }
        return true;
    }

    AppSession& app_;
    std::unique_ptr<DialogDefinition> def_;
    bool headerSeen_ = false;
    Block block_ = Block::None;
    DialogObject current_;
};

// The whole file; false when it cannot be read.
bool ReadAll(std::FILE* file, std::string& text) {
    char buffer[8192];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    return std::ferror(file) == 0;
}

}  // namespace

std::unique_ptr<DialogDefinition> ParseDialogText(AppSession& app, std::string_view name,
                                                  std::string_view text) {
    DialogParser parser(app, name);
    return parser.Run(text);
}

DialogDefinition* ParseDialog(AppSession& app, std::string_view name) {
    std::string fileName = std::string(name) + ".dlg";
    FilePtr file = OpenAlongPath(VarGetValue(app, "ZPATH.DIALOGS"), fileName, "rb");
    std::string text;
    if (!file || !ReadAll(file.get(), text)) {
        ShowMessage(app, Format("Dialog definition '%s' not found.", fileName.c_str()), MsgTo::Box,
                    Beep::Exclamation);
        return nullptr;
    }
    file.reset();
    std::unique_ptr<DialogDefinition> def = ParseDialogText(app, name, text);
    if (!def) {
        return nullptr;
    }
    return AddToDialogCache(app, std::move(def));
}

}  // namespace tavoe
