#include "profiles/profile_name.h"

#include <algorithm>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "platform/search_path.h"
#include "profiles/file_profile.h"
#include "profiles/file_profile_io.h"
#include "profiles/main_profile_aliases.h"

namespace tavoe {

namespace {

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::string_view FileExtension(std::string_view path) {
    size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return {};
    }
    return name.substr(dot + 1);
}

std::string ProfileAliasTarget(const AppSession& app, std::string_view type) {
    const CommandAlias* entry = FindAlias(app.profileAliases, type);
    return entry != nullptr ? UpperAscii(entry->actual) : std::string();
}

std::string ProfileNameForFile(AppSession& app, std::string_view path) {
    std::string name = UpperAscii(VarGetValue(app, "ZPROFILE"));
    if (name.empty()) {
        name = UpperAscii(FileExtension(path));
        if (!name.empty()) {
            std::string target = ProfileAliasTarget(app, name);
            if (!target.empty()) {
                name = std::move(target);
            }
        }
    }
    if (name.empty()) {
        return std::string(kNoTypeProfileName);
    }
    if (name.size() > static_cast<size_t>(kProfileNameMax)) {
        name.resize(kProfileNameMax);
    }
    // PRN names a printer device on some systems, so its files use the text profile instead.
    if (name == kPrnProfileName) {
        name = kTextProfileName;
        if (!app.prnAliasReported) {
            app.prnAliasReported = true;
            ShowMessage(app,
                        "File profile PRN automatically aliased to TXT to avoid collision with reserved "
                        "system name. To set a different alias, click menu OPTIONS, item ALIAS PROFILES.",
                        MsgTo::Box, Beep::Information);
        }
    }
    if (!FileProfileExists(app, name)) {
        return std::string(AllDigits(name) ? kNumberProfileName : kTextProfileName);
    }
    return name;
}

AliasEditResult EditProfileAlias(AppSession& app, std::string_view alias, std::string_view actual) {
    std::string aliasText = UpperAscii(alias.substr(0, kAliasNameMax));
    std::string actualText = UpperAscii(actual.substr(0, kAliasActualMax));
    if (aliasText.empty()) {
        ShowMessage(app, "Alias field not specified, CHANGE ignored.", MsgTo::Box, Beep::Exclamation);
        return AliasEditResult::Ignored;
    }
    // The list is saved as "alias actual" pairs split at blanks, so a blank would corrupt it.
    if (aliasText.find(' ') != std::string::npos || actualText.find(' ') != std::string::npos) {
        ShowMessage(app, "Alias and actual may not contain blanks, CHANGE ignored.", MsgTo::Box,
                    Beep::Exclamation);
        return AliasEditResult::Ignored;
    }
    CommandAliasList& list = app.profileAliases;
    auto it =
        std::find_if(list.begin(), list.end(), [&](const CommandAlias& e) { return e.alias == aliasText; });
    if (it != list.end()) {
        if (actualText.empty()) {
            list.erase(it);
            return AliasEditResult::Deleted;
        }
        it->actual = std::move(actualText);
        return AliasEditResult::Changed;
    }
    if (actualText.empty()) {
        ShowMessage(app, "Actual field not specified, CHANGE ignored.", MsgTo::Box, Beep::Exclamation);
        return AliasEditResult::Ignored;
    }
    list.push_back(CommandAlias{std::move(aliasText), std::move(actualText)});
    return AliasEditResult::Appended;
}

}  // namespace tavoe
