#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "core/command_desc.h"

namespace tavoe {

// The rows of the three command tables as one instance dispatches them, gathered from the lists of
// the subsystems (core/command_desc.h). Within a table the rows stand in the order of their verbs,
// which is the order of the quick-reference lists.

struct AppSession;

class CommandSet {
public:
    explicit CommandSet(std::initializer_list<CommandRows> lists);

    // The row of the verb in the table, compared exactly; null when there is none.
    const CommandDesc* Find(CommandTable table, std::string_view verb) const;
    // The table's rows in table order.
    const std::vector<const CommandDesc*>& Rows(CommandTable table) const;
    // The verbs of the rows shown in the table's quick reference, in table order.
    std::vector<std::string_view> ListedVerbs(CommandTable table) const;

private:
    std::array<std::vector<const CommandDesc*>, 3> tables_;
};

// The set the instance dispatches with: the one the shell installed (app.commands), else a set of
// the dispatchers' own rows.
const CommandSet& Commands(const AppSession& app);

// The verb's row in the table after aliases: a verb of 32 characters or more is in no table; an
// alias (exact, case-sensitive) is replaced by its actual command first; rows compare exactly. Null
// when the table has no such row.
const CommandDesc* LookupPrimaryCommand(AppSession& app, CommandTable table, std::string_view verb);

// True when the verb is in the general, the edit or the file list table.
bool IsPrimaryCommand(AppSession& app, std::string_view verb);

// "'%s' is not available yet." (box, information beep): a command of the tables that this build
// does not have.
void ShowNotAvailable(AppSession& app, std::string_view what);

}  // namespace tavoe
