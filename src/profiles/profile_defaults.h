#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tavoe {

// The built-in settings: what every setting holds when the main profile does not say, which
// settings are reset at every start, which are only marked to be saved, the default command
// aliases and the history lists of the open dialogs.

struct AppSession;

enum class DefaultRule : unsigned char {
    IfEmpty,      // set when the variable is still empty after the profile was read
    Always,       // set at every start, whatever the profile said
    PersistOnly,  // no default; only marked to be saved with the profile
};

// Text: the value as it stands. HomeDirectory: the value names a directory under the home directory.
enum class DefaultBase : unsigned char { Text, HomeDirectory };

struct ProfileDefault {
    std::string_view name;
    std::string_view value;
    DefaultRule rule = DefaultRule::IfEmpty;
    DefaultBase base = DefaultBase::Text;
};

// Variables prefix1 .. prefixN set together, all of them, when prefix1 is empty.
struct ProfileDefaultGroup {
    std::string_view prefix;  // "ZFILTERS." gives ZFILTERS.1, ZFILTERS.2, ...
    std::span<const std::string_view> values;
};

struct DefaultAlias {
    std::string_view alias;
    std::string_view actual;
};

// A history combo list of a dialog: NAME.SIZE, NAME.0 and NAME.1 .. NAME.10.
struct HistoryComboList {
    std::string_view name;
    std::string_view firstEntry;  // NAME.1 when the list is empty
};

inline constexpr int kHistoryComboSize = 10;

std::span<const ProfileDefault> ProfileDefaults();
std::span<const ProfileDefaultGroup> ProfileDefaultGroups();
std::span<const DefaultAlias> DefaultCommandAliases();  // the 42 aliases in load order
std::span<const HistoryComboList> HistoryComboLists();

// The built-in text default of a setting ("" when the table gives it none; paths are not included).
std::string_view BuiltInDefault(std::string_view name);

// The value a default row gives for this session (the home directory joined in for paths).
std::string DefaultValueFor(const AppSession& app, const ProfileDefault& row);

// Gives every setting its default: empty ones get their value, "always" rows are set whatever they
// hold, the groups are set together, the function-key and control-key variables and the filter
// list are marked to be saved. Every variable touched is marked to be saved.
void ApplyProfileDefaults(AppSession& app);

// Prepares the history combo lists: NAME.SIZE is 10, an empty list gets its first entry, and every
// entry holding a value is marked to be saved.
void PrepareHistoryComboLists(AppSession& app);

}  // namespace tavoe
