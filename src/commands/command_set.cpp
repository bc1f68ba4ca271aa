#include "commands/command_set.h"

#include <algorithm>

#include "commands/dispatch_builtins.h"
#include "core/app_session.h"
#include "core/command_line.h"
#include "platform/format.h"
#include "profiles/main_profile_aliases.h"

namespace tavoe {

namespace {

size_t IndexOf(CommandTable table) {
    return static_cast<size_t>(table);
}

}  // namespace

CommandSet::CommandSet(std::initializer_list<CommandRows> lists) {
    for (CommandRows rows : lists) {
        for (const CommandDesc& row : rows) {
            tables_[IndexOf(row.table)].push_back(&row);
        }
    }
    for (auto& table : tables_) {
        std::stable_sort(table.begin(), table.end(),
                         [](const CommandDesc* a, const CommandDesc* b) { return a->verb < b->verb; });
    }
}

const CommandDesc* CommandSet::Find(CommandTable table, std::string_view verb) const {
    const auto& rows = tables_[IndexOf(table)];
    auto it = std::lower_bound(rows.begin(), rows.end(), verb,
                               [](const CommandDesc* row, std::string_view v) { return row->verb < v; });
    return it != rows.end() && (*it)->verb == verb ? *it : nullptr;
}

const std::vector<const CommandDesc*>& CommandSet::Rows(CommandTable table) const {
    return tables_[IndexOf(table)];
}

std::vector<std::string_view> CommandSet::ListedVerbs(CommandTable table) const {
    std::vector<std::string_view> verbs;
    for (const CommandDesc* row : tables_[IndexOf(table)]) {
        if (row->listing == Listing::Listed) {
            verbs.push_back(row->verb);
        }
    }
    return verbs;
}

const CommandSet& Commands(const AppSession& app) {
    if (app.commands != nullptr) {
        return *app.commands;
    }
    static const CommandSet own{DispatcherEditCommands(), DispatcherGeneralCommands()};
    return own;
}

const CommandDesc* LookupPrimaryCommand(AppSession& app, CommandTable table, std::string_view verb) {
    if (verb.size() > kVerbMax) {
        return nullptr;
    }
    if (const CommandAlias* alias = FindAlias(app.aliases, verb)) {
        verb = alias->actual;
    }
    return Commands(app).Find(table, verb);
}

bool IsPrimaryCommand(AppSession& app, std::string_view verb) {
    return LookupPrimaryCommand(app, CommandTable::General, verb) != nullptr ||
           LookupPrimaryCommand(app, CommandTable::Edit, verb) != nullptr ||
           LookupPrimaryCommand(app, CommandTable::FileList, verb) != nullptr;
}

void ShowNotAvailable(AppSession& app, std::string_view what) {
    ShowMessage(app, Format("'%s' is not available yet.", std::string(what).c_str()), MsgTo::Box,
                Beep::Information);
}

}  // namespace tavoe
