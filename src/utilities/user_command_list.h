#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The list dialogs of control files along a search path (the user commands of USERCMD and the print
// styles of PRNSTYLE): each directory of the path is a separator row "<In: %s>", followed by its
// files of the extension, sorted by name, each as its name, blanks and a description read from the
// file.

struct AppSession;

inline constexpr size_t kControlListNameColumn = 12;

struct ControlListEntry {
    std::string directory;  // empty for a separator row
    std::string name;       // the file name without the extension
    std::string row;        // the text shown
};

// The rows for the path held in pathVariable. describeKeyword names the line that holds the
// description ("Description" for user commands, "Describe" for print styles).
std::vector<ControlListEntry> ControlListRows(AppSession& app, std::string_view pathVariable,
                                              std::string_view extension, std::string_view describeKeyword);

// Fills LIST.0 .. LIST.n with the rows.
void WriteControlList(AppSession& app, std::string_view listVariable,
                      const std::vector<ControlListEntry>& rows);

enum class ControlListPick { Entry, Nothing, Separator };

// The entry the user selected in the list (LIST.Reply.0 and LIST.Reply.1 after the dialog): Nothing
// when no row was selected, Separator for a "<In: %s>" row; with Entry, *entry is the row's entry (the
// first row with that text).
ControlListPick PickedControlEntry(AppSession& app, std::string_view listVariable,
                                   const std::vector<ControlListEntry>& rows, ControlListEntry* entry);

}  // namespace tavoe
