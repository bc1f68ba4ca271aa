#include "utilities/user_command_list.h"

#include "core/var_store.h"
#include "dialogs/dialog_vars.h"
#include "platform/dir_entries.h"
#include "platform/format.h"
#include "platform/search_path.h"
#include "profiles/control_file.h"
#include "profiles/main_profile_io.h"

namespace tavoe {

namespace {

// The value of the keyword's line in this very file (not the first file of the name along the path,
// which may lie in another directory).
std::string DescriptionIn(const std::string& path, std::string_view keyword) {
    FilePtr file(std::fopen(path.c_str(), "r"));
    std::string line;
    while (file && ReadTextLine(file.get(), kControlLineMax, line)) {
        if (line.size() > keyword.size() && line.compare(0, keyword.size(), keyword) == 0 &&
            line[keyword.size()] == '=') {
            return line.substr(keyword.size() + 1);
        }
    }
    return {};
}

}  // namespace

std::vector<ControlListEntry> ControlListRows(AppSession& app, std::string_view pathVariable,
                                              std::string_view extension, std::string_view describeKeyword) {
    std::vector<ControlListEntry> rows;
    for (const std::string& directory : SplitSearchPath(VarGetValue(app, pathVariable))) {
        rows.push_back(ControlListEntry{{}, {}, Format("<In: %s>", directory.c_str())});
        for (const std::string& file : ListFilesWithExtension(directory, extension)) {
            std::string name = file.substr(0, file.size() - extension.size());
            std::string description = DescriptionIn(JoinPath(directory, file), describeKeyword);
            rows.push_back(
                ControlListEntry{directory, name, PadRight(name, kControlListNameColumn) + description});
        }
    }
    return rows;
}

void WriteControlList(AppSession& app, std::string_view listVariable,
                      const std::vector<ControlListEntry>& rows) {
    std::vector<std::string> texts;
    for (const ControlListEntry& entry : rows) {
        texts.push_back(entry.row);
    }
    WriteDialogArray(app, listVariable, texts);
}

ControlListPick PickedControlEntry(AppSession& app, std::string_view listVariable,
                                   const std::vector<ControlListEntry>& rows, ControlListEntry* entry) {
    std::string base(listVariable);
    if (VarGetNumber(app, base + ".Reply.0") < 1) {
        return ControlListPick::Nothing;
    }
    std::string picked = VarGetValue(app, base + ".Reply.1");
    for (const ControlListEntry& row : rows) {
        if (row.row == picked) {
            if (row.directory.empty()) {
                return ControlListPick::Separator;
            }
            *entry = row;
            return ControlListPick::Entry;
        }
    }
    return ControlListPick::Nothing;
}

}  // namespace tavoe
