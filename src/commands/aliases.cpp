#include "commands/aliases.h"

#include <algorithm>
#include <string>

#include "commands/command_set.h"
#include "commands/dispatch.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "profiles/main_profile_aliases.h"

namespace tavoe {

namespace {

bool IsVerbCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

Status AddCommandAlias(AppSession& app, std::string_view aliasText, std::string_view actualText) {
    // Blanks around a field are not part of it. The record holds 14 characters of the alias: the
    // checks look at what will be stored.
    std::string alias = CommandToUpper(CommandTrim(aliasText).substr(0, kAliasNameMax));
    std::string actual = CommandToUpper(CommandTrim(actualText));
    if (alias.empty()) {
        return Refuse(app, "Alias field not specified, CHANGE ignored.", MsgTo::Box, Beep::Exclamation);
    }
    if (!std::all_of(alias.begin(), alias.end(), IsVerbCharacter)) {
        return Refuse(app, "Alias must be verb using A..Z, 0..9 characters only.", MsgTo::Box,
                      Beep::Information);
    }
    if (IsPrimaryCommand(app, alias) || FindAlias(app.aliases, alias) != nullptr) {
        return Refuse(app,
                      Format("'%s' is already an Tavo primary command or alias.\n\nIf alias, delete current "
                             "entry then re-assign.\n\nIf Tavo primary command, pick a different name.",
                             alias.c_str()),
                      MsgTo::Box, Beep::Exclamation);
    }
    if (actual.empty()) {
        return Refuse(app, "Actual field not specified, CHANGE ignored.", MsgTo::Box, Beep::Exclamation);
    }
    if (actual.find(' ') != std::string::npos) {
        return Refuse(app, "'Actual' field may contain only primary command name, no parms allowed",
                      MsgTo::Box, Beep::Information);
    }
    if (!IsPrimaryCommand(app, actual)) {
        return Refuse(app, Format("'%s' is not an Tavo primary command.", actual.c_str()), MsgTo::Box,
                      Beep::Exclamation);
    }
    app.aliases.push_back({alias, actual.substr(0, kAliasActualMax)});
    return 0;
}

Status AliasCmdAdd(AppSession& app) {
    int result =
        AddCommandAlias(app, VarGetValue(app, "AEditCmd.Alias"), VarGetValue(app, "AEditCmd.Actual"));
    PostCommand(app, "DIALOG ALIASCMD");
    return result;
}

bool DeleteCommandAlias(AppSession& app, std::string_view alias) {
    auto found = std::find_if(app.aliases.begin(), app.aliases.end(),
                              [alias](const CommandAlias& entry) { return entry.alias == alias; });
    if (found == app.aliases.end()) {
        return false;
    }
    app.aliases.erase(found);
    return true;
}

}  // namespace tavoe
