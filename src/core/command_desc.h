#pragma once

#include <span>
#include <string_view>

#include "core/command_line.h"

namespace tavoe {

// One row per primary command, declared by the subsystem that implements it. The dispatchers look a
// verb up among the rows of its table (commands/command_set.h); a row without a handler names a
// command this build does not have yet.
//
// Adding a command is adding one row to the owning subsystem's list and writing its handler:
//
//     void UndoCommand(AppSession& app, EditSession& session, std::string_view params);
//     ...
//     {.table = CommandTable::Edit, .verb = "UNDO", .owner = CommandOwner::Editing, .edit = UndoCommand},

struct AppSession;
struct EditSession;

// The three command tables: edit and browse sessions, every context, file lists.
enum class CommandTable { Edit, General, FileList };

// The subsystem whose rows list the command.
enum class CommandOwner { Shell, Editing, View, Commands, Macro, Dialogs, FileList, Utilities };

// How the general dispatcher treats a row beyond running it.
enum class Cooperation { NotNeeded, Needed };  // Needed: refused while ZSESSIONCOOPERATION is off
enum class Listing { Listed, Unlisted };       // Listed: shown in the quick reference of its table

using EditCommandFn = void (*)(AppSession& app, EditSession& session, std::string_view params);
using GeneralCommandFn = void (*)(AppSession& app, const GeneralCommandLine& command);
using FileListCommandFn = void (*)(AppSession& app, std::string_view params);

struct CommandDesc {
    CommandTable table = CommandTable::General;
    std::string_view verb;  // upper case; looked up exactly (after aliases)
    CommandOwner owner = CommandOwner::Commands;
    Listing listing = Listing::Listed;
    Cooperation cooperation = Cooperation::NotNeeded;
    // The handler of the row's table; all null while the command is not built yet.
    EditCommandFn edit = nullptr;
    GeneralCommandFn general = nullptr;
    FileListCommandFn fileList = nullptr;

    bool HasHandler() const { return edit != nullptr || general != nullptr || fileList != nullptr; }
};

using CommandRows = std::span<const CommandDesc>;

}  // namespace tavoe
