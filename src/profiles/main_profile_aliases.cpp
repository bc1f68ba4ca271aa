#include "profiles/main_profile_aliases.h"

namespace tavoe {

const CommandAlias* FindAlias(const CommandAliasList& list, std::string_view alias) {
    for (const CommandAlias& entry : list) {
        if (entry.alias == alias) {
            return &entry;
        }
    }
    return nullptr;
}

bool ParseAliasValue(std::string_view value, CommandAlias& entry) {
    auto word = [&value]() {
        size_t start = value.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            value = {};
            return std::string_view();
        }
        value.remove_prefix(start);
        size_t end = value.find(' ');
        std::string_view w = value.substr(0, end);
        value.remove_prefix(w.size());
        return w;
    };
    std::string_view alias = word();
    std::string_view actual = word();
    if (alias.empty() || actual.empty()) {
        return false;
    }
    entry.alias = std::string(alias.substr(0, kAliasNameMax));
    entry.actual = std::string(actual.substr(0, kAliasActualMax));
    return true;
}

}  // namespace tavoe
