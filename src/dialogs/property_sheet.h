#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "core/status.h"

namespace tavoe {

// Property sheets: a list of typed settings (name and value rows) in which a double click, or the
// pop-up entry "Edit", opens a small editor for the row's type. A caller creates a sheet, adds its
// properties with their current values, runs it, and then walks the changed positions.
//
// The sheet and its editors are the definition-file dialogs PROPSHEET, PSNUMBER, PSSTRING, PSCHOICE
// and PSBOOL.

struct AppSession;

enum class PropertyType : int { Number = 1, String = 2, Choice = 3, Output = 4, Bool = 5 };

inline constexpr size_t kPropertyNameMax = 31;
inline constexpr size_t kPropertyValueMax = 95;
inline constexpr size_t kPropertyChoiceMax = 47;
inline constexpr int kPropertyChoicesMax = 8;
inline constexpr size_t kPropertySheetTitleMax = 127;
inline constexpr size_t kPropertyHelpFileMax = 31;
inline constexpr size_t kPropertyHelpTopicMax = 63;

struct Property {
    PropertyType type = PropertyType::String;
    long minimum = 0;  // NUMBER only
    long maximum = 0;
    bool changed = false;
    std::string name;
    std::string value;
    std::vector<std::string> choices;  // CHOICE only, at most 8
};

struct PropertySheet {
    std::vector<Property> properties;  // in the order added
    std::string title;                 // the caller's title + " (dbl-click on item to edit it)"
    std::string helpFile;
    std::string helpTopic;
};

std::unique_ptr<PropertySheet> PropertySheetCreate(std::string_view title, std::string_view helpFile,
                                                   std::string_view helpTopic);

// Adds a property of the type "STRING", "OUTPUT", "BOOL", "NUMBER,min,max" or "CHOICE,a,b,..."
// (case-insensitive). 0, or -1 after a message box; a wrong value still adds the property.
Status PropertyAdd(AppSession& app, PropertySheet& sheet, std::string_view name, std::string_view type,
                   std::string_view value);

// Runs the sheet until it is confirmed (OK: the changes stand) or left (F3, F4, a failure: every
// changed mark is cleared).
void PropertySheetRun(AppSession& app, PropertySheet& sheet);

// The 1-based positions of the changed properties, each followed by a blank ("1 4 9 ").
std::string PropertyChangedList(const PropertySheet& sheet);

// "name=value" of the property at the 1-based position; "" outside the sheet.
std::string PropertyGet(const PropertySheet& sheet, int position);

void PropertySheetFree(std::unique_ptr<PropertySheet> sheet);

}  // namespace tavoe
