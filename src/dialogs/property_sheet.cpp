#include "dialogs/property_sheet.h"

#include <algorithm>
#include <cctype>

#include "core/app_session.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/var_store.h"
#include "dialogs/dialog_runtime.h"
#include "dialogs/dialog_vars.h"
#include "dialogs/help_topic.h"
#include "platform/format.h"

namespace tavoe {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A digit string as a number, saturating far above any bound a sheet uses.
long DigitsValue(std::string_view text) {
    long value = 0;
    for (char c : text) {
        value = std::min(value * 10 + (c - '0'), 999999999999L);
    }
    return value;
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    return text;
}

// The comma-separated parameters after the type word, blanks after each comma skipped.
std::vector<std::string> SplitParameters(std::string_view text) {
    std::vector<std::string> parts;
    while (true) {
        text = SkipBlanks(text);
        size_t comma = text.find(',');
        parts.emplace_back(text.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return parts;
}

void Tell(AppSession& app, const std::string& text) {
    ShowMessage(app, text, MsgTo::Box, Beep::Information);
}

// Reads the property type and its choices into the property; false after the message.
bool ParseType(AppSession& app, std::string_view spec, Property& prop) {
    std::string upper = UpperCased(spec);
    if (upper == "STRING" || upper == "OUTPUT" || upper == "BOOL") {
        prop.type = upper == "STRING"   ? PropertyType::String
                    : upper == "OUTPUT" ? PropertyType::Output
                                        : PropertyType::Bool;
        return true;
    }
    bool number = upper.rfind("NUMBER,", 0) == 0;
    bool choice = upper.rfind("CHOICE,", 0) == 0;
    if (!number && !choice) {
        Refuse(app,
               Format("PropertyAdd: unknown property type or missing required parameters,\n\n'%s'",
                      std::string(spec).c_str()),
               MsgTo::Box, Beep::Exclamation);
        return false;
    }
    std::vector<std::string> params = SplitParameters(spec.substr(7));
    if (number) {
        prop.type = PropertyType::Number;
        std::string minText = params.empty() ? std::string() : params[0];
        std::string maxText = params.size() < 2 ? std::string() : params[1];
        while (!maxText.empty() && maxText.back() == ' ') {
            maxText.pop_back();
        }
        while (!minText.empty() && minText.back() == ' ') {
            minText.pop_back();
        }
        if (minText.empty() || maxText.empty()) {
            Refuse(app, "PropertyAdd: for NUMBER, min and max values are required.", MsgTo::Box,
                   Beep::Exclamation);
            return false;
        }
        if (!AllDigits(minText) || !AllDigits(maxText)) {
            Refuse(app, "PropertyAdd: for NUMBER, min or max value is invalid.", MsgTo::Box,
                   Beep::Exclamation);
            return false;
        }
        prop.minimum = DigitsValue(minText);
        prop.maximum = DigitsValue(maxText);
        return true;
    }
    prop.type = PropertyType::Choice;
    for (const std::string& choiceText : params) {
        if (static_cast<int>(prop.choices.size()) >= kPropertyChoicesMax) {
            break;
        }
        if (choiceText.size() > kPropertyChoiceMax) {
            Refuse(app, Format("PropertyAdd: choice too long: %s", choiceText.c_str()), MsgTo::Box,
                   Beep::Exclamation);
            return false;
        }
        prop.choices.push_back(choiceText);
    }
    return true;
}

Property* FindProperty(PropertySheet& sheet, std::string_view name) {
    for (Property& prop : sheet.properties) {
        if (prop.name == name) {
            return &prop;
        }
    }
    return nullptr;
}

// Drops the editor's frame so the sheet is shown again; an editor that could not be read pushed none.
void LeaveEditor(AppSession& app, std::string_view dialog) {
    if (TopContextIs(app, ContextKind::Dialog, dialog)) {
        PopContext(app);
    }
}

void EditNumber(AppSession& app, const PropertySheet& sheet, Property& prop) {
    VarSetValue(app, "PsNumber.Name", prop.name);
    VarSetValue(app, "PsNumber.Value", prop.value);
    VarSetValue(app, "PsNumber.MinMax", Format("Min=%ld   Max=%ld", prop.minimum, prop.maximum));
    DialogResult result = ShowDialog(app, "psnumber");
    if (result == DialogResult::Committed) {
        std::string value = VarGetValue(app, "PsNumber.Value");
        const char* name = prop.name.c_str();
        if (value.size() > kPropertyValueMax) {
            Tell(app, Format("Property '%s' value too long.", name));
        } else if (value.empty()) {
            Tell(app, Format("Property '%s' may not be null.", name));
        } else if (!AllDigits(value)) {
            Tell(app, Format("Property '%s' must be an integer number.", name));
        } else if (DigitsValue(value) < prop.minimum) {
            Tell(app, Format("Property '%s' less than minimum allowed.", name));
        } else if (DigitsValue(value) > prop.maximum) {
            Tell(app, Format("Property '%s' greater than maximum allowed.", name));
        } else {
            prop.value = value;
            prop.changed = true;
        }
    } else if (result == DialogResult::Help) {
        ShowHelpTopic(app, sheet.helpFile, prop.name, sheet.helpTopic);
    }
    LeaveEditor(app, "PSNUMBER");
}

void EditString(AppSession& app, const PropertySheet& sheet, Property& prop) {
    VarSetValue(app, "PsString.Name", prop.name);
    VarSetValue(app, "PsString.Value", prop.value);
    DialogResult result = ShowDialog(app, "psstring");
    if (result == DialogResult::Committed) {
        std::string value = VarGetValue(app, "PsString.Value");
        if (value.size() > kPropertyValueMax) {
            Tell(app, Format("Property '%s' value too long.", prop.name.c_str()));
        } else {
            prop.value = value;
            prop.changed = true;
        }
    } else if (result == DialogResult::Help) {
        ShowHelpTopic(app, sheet.helpFile, prop.name, sheet.helpTopic);
    }
    LeaveEditor(app, "PSSTRING");
}

void EditChoice(AppSession& app, const PropertySheet& sheet, Property& prop) {
    VarSetValue(app, "PsChoice.Name", prop.name);
    WriteDialogArray(app, "PsChoice.Value", prop.choices);
    auto current = std::find(prop.choices.begin(), prop.choices.end(), prop.value);
    long position = current == prop.choices.end() ? 0 : (current - prop.choices.begin()) + 1;
    VarSetNumber(app, "PsChoice.Value.Select", position);
    DialogResult result = ShowDialog(app, "pschoice");
    if (result == DialogResult::Committed) {
        long select = VarGetNumber(app, "PsChoice.Value.Select");
        if (select >= 1 && select <= static_cast<long>(prop.choices.size())) {
            prop.value = prop.choices[select - 1];
            prop.changed = true;
        }
    } else if (result == DialogResult::Help) {
        ShowHelpTopic(app, sheet.helpFile, prop.name, sheet.helpTopic);
    }
    LeaveEditor(app, "PSCHOICE");
}

void EditBool(AppSession& app, const PropertySheet& sheet, Property& prop) {
    VarSetValue(app, "PsBool.Name", prop.name);
    WriteDialogArray(app, "PsBool.Value", {"TRUE", "FALSE"});
    VarSetValue(app, "PsBool.Value.Select", prop.value == "TRUE" ? "1" : "2");
    DialogResult result = ShowDialog(app, "psbool");
    if (result == DialogResult::Committed) {
        long select = VarGetNumber(app, "PsBool.Value.Select");
        prop.value = select == 1 ? "TRUE" : "FALSE";
        prop.changed = true;
    } else if (result == DialogResult::Help) {
        ShowHelpTopic(app, sheet.helpFile, prop.name, sheet.helpTopic);
    }
    LeaveEditor(app, "PSBOOL");
}

void FillSheetVariables(AppSession& app, const PropertySheet& sheet) {
    size_t width = 8;
    for (const Property& prop : sheet.properties) {
        width = std::max(width, prop.name.size());
    }
    VarSetValue(app, "ZPROPSHEETTITLE", sheet.title);
    VarSetValue(app, "PropSheet.Header", PadRight("Property", width) + " Value");
    std::vector<std::string> rows;
    for (const Property& prop : sheet.properties) {
        bool none = prop.type == PropertyType::String && prop.value.empty();
        rows.push_back(PadRight(prop.name, width) + " " + (none ? std::string("NONE") : prop.value));
    }
    WriteDialogArray(app, "PropSheet.List", rows);
    VarSetValue(app, "PropSheet.Popup.Reply", "");
    VarSetValue(app, "PropSheet.Popup.0", "1");
    VarSetValue(app, "PropSheet.Popup.1", "Edit");
}

enum class SheetStep : uint8_t { Again, Done };

SheetStep EditSelected(AppSession& app, PropertySheet& sheet) {
    if (VarGetNumber(app, "PropSheet.List.Reply.0") < 1) {
        Tell(app, "Select a property before clicking on 'Edit'");
        return SheetStep::Again;
    }
    std::string name = FirstWord(VarGetValue(app, "PropSheet.List.Reply.1"));
    Property* prop = FindProperty(sheet, name);
    if (prop == nullptr) {
        return SheetStep::Again;
    }
    switch (prop->type) {
        case PropertyType::Output:
            Tell(app, Format("Property '%s' is read-only, it can not be edited.", prop->name.c_str()));
            break;
        case PropertyType::Number:
            EditNumber(app, sheet, *prop);
            break;
        case PropertyType::String:
            EditString(app, sheet, *prop);
            break;
        case PropertyType::Choice:
            EditChoice(app, sheet, *prop);
            break;
        case PropertyType::Bool:
            EditBool(app, sheet, *prop);
            break;
    }
    return SheetStep::Again;
}

}  // namespace

std::unique_ptr<PropertySheet> PropertySheetCreate(std::string_view title, std::string_view helpFile,
                                                   std::string_view helpTopic) {
    auto sheet = std::make_unique<PropertySheet>();
    sheet->title =
        (std::string(title) + " (Enter or double-click edits an item)").substr(0, kPropertySheetTitleMax);
    sheet->helpFile = std::string(helpFile.substr(0, kPropertyHelpFileMax));
    sheet->helpTopic = std::string(helpTopic.substr(0, kPropertyHelpTopicMax));
    return sheet;
}

Status PropertyAdd(AppSession& app, PropertySheet& sheet, std::string_view name, std::string_view type,
                   std::string_view value) {
    if (name.size() > kPropertyNameMax) {
        Refuse(app, Format("PropertyAdd: name too long: %s", std::string(name).c_str()), MsgTo::Box,
               Beep::Exclamation);
        return -1;
    }
    if (value.size() > kPropertyValueMax) {
        Refuse(app, Format("PropertyAdd: value too long: %s", std::string(value).c_str()), MsgTo::Box,
               Beep::Exclamation);
        return -1;
    }
    if (FindProperty(sheet, name) != nullptr) {
        Refuse(app, Format("PropertyAdd: duplicate property: %s", std::string(name).c_str()), MsgTo::Box,
               Beep::Exclamation);
        return -1;
    }
    Property prop;
    prop.name = std::string(name);
    prop.value = std::string(value);
    if (!ParseType(app, type, prop)) {
        return -1;
    }
    int status = 0;
    if (prop.type == PropertyType::Number && !AllDigits(prop.value)) {
        Refuse(app, Format("PropertyAdd: invalid NUMBER value, must be integer,\n\n'%s'", prop.value.c_str()),
               MsgTo::Box, Beep::Exclamation);
        status = -1;
    } else if (prop.type == PropertyType::Bool && prop.value != "TRUE" && prop.value != "FALSE") {
        Refuse(app,
               Format("PropertyAdd: invalid BOOL value, must be TRUE or FALSE,\n\n'%s'", prop.value.c_str()),
               MsgTo::Box, Beep::Exclamation);
        status = -1;
    } else if (prop.type == PropertyType::Choice && !prop.choices.empty() &&
               std::find(prop.choices.begin(), prop.choices.end(), prop.value) == prop.choices.end()) {
        prop.value = prop.choices.front();
    }
    sheet.properties.push_back(std::move(prop));
    return status;
}

// The row the sheet shows chosen: the first at the start, then the one last edited, so that Enter
// edits again without choosing first.
void ChooseRow(AppSession& app, const PropertySheet& sheet, std::string_view name) {
    for (size_t i = 0; i < sheet.properties.size(); ++i) {
        if (name.empty() || sheet.properties[i].name == name) {
            VarSetNumber(app, "PropSheet.List.Select", static_cast<long>(i + 1));
            return;
        }
    }
}

void PropertySheetRun(AppSession& app, PropertySheet& sheet) {
    ChooseRow(app, sheet, {});
    VarSetNumber(app, "PropSheet.List.Top", 0);
    while (true) {
        FillSheetVariables(app, sheet);
        DialogResult result = ShowDialog(app, "propsheet");
        if (result == DialogResult::Help) {
            ShowHelpTopic(app, sheet.helpFile, sheet.helpTopic);
            continue;
        }
        if (result != DialogResult::Committed) {
            for (Property& prop : sheet.properties) {
                prop.changed = false;
            }
            return;
        }
        std::string reply = VarGetValue(app, "PropSheet.Popup.Reply");
        if (reply.empty()) {
            reply = VarGetValue(app, "PropSheet.BtnPushed");
        }
        reply = UpperCased(reply);
        if (reply == "OK") {
            return;
        }
        if (reply == "EDIT") {
            if (VarGetNumber(app, "PropSheet.List.Reply.0") > 0) {
                ChooseRow(app, sheet, FirstWord(VarGetValue(app, "PropSheet.List.Reply.1")));
            }
            EditSelected(app, sheet);
            continue;
        }
        Tell(app, Format("PropertSheet: unknown operation requested: %s", reply.c_str()));
    }
}

std::string PropertyChangedList(const PropertySheet& sheet) {
    std::string list;
    for (size_t i = 0; i < sheet.properties.size(); ++i) {
        if (sheet.properties[i].changed) {
            list += Format("%d ", static_cast<int>(i + 1));
        }
    }
    return list;
}

std::string PropertyGet(const PropertySheet& sheet, int position) {
    if (position < 1 || position > static_cast<int>(sheet.properties.size())) {
        return std::string();
    }
    const Property& prop = sheet.properties[position - 1];
    return Format("%s=%s", prop.name.c_str(), prop.value.c_str());
}

void PropertySheetFree(std::unique_ptr<PropertySheet> sheet) {
    sheet.reset();
}

}  // namespace tavoe
