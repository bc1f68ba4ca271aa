#include "filelist/file_list_commands.h"

namespace tavoe {

namespace {

constexpr CommandDesc ListRow(std::string_view verb) {
    return {.table = CommandTable::FileList, .verb = verb, .owner = CommandOwner::FileList};
}

constexpr CommandDesc GeneralRow(std::string_view verb, Listing listing = Listing::Listed) {
    return {
        .table = CommandTable::General, .verb = verb, .owner = CommandOwner::FileList, .listing = listing};
}

constexpr CommandDesc kFileListCommands[] = {
    GeneralRow("DRIVELIST"),
    GeneralRow("FILELIST", Listing::Unlisted),
    GeneralRow("FILTERS"),
    GeneralRow("FLISTOPTIONS"),
    GeneralRow("MULTILIST"),
    GeneralRow("NEW"),
    GeneralRow("PROJECTLIST"),
    ListRow("ALLLOWER"),
    ListRow("ALLUPPER"),
    ListRow("BOTTOM"),
    ListRow("CHANGE"),
    ListRow("CONFIRM"),
    ListRow("DOWN"),
    ListRow("FIND"),
    ListRow("IMACRO"),
    ListRow("LEFT"),
    ListRow("LISTTOFILE"),
    ListRow("LOCATE"),
    ListRow("MAKEDIR"),
    ListRow("MAXRECLEN"),
    ListRow("PARENT"),
    ListRow("PRINTLIST"),
    ListRow("PROFILE"),
    ListRow("REFRESH"),
    ListRow("RESET"),
    ListRow("RIGHT"),
    ListRow("SEARCH"),
    ListRow("SELECT"),
    ListRow("SORT"),
    ListRow("TOP"),
    ListRow("UP"),
    ListRow("XMACRO"),
};

}  // namespace

CommandRows FileListCommands() {
    return kFileListCommands;
}

}  // namespace tavoe
