#include "utilities/utility_commands.h"

namespace tavoe {

namespace {

constexpr CommandDesc EditRow(std::string_view verb, EditCommandFn handler = nullptr) {
    return {.table = CommandTable::Edit, .verb = verb, .owner = CommandOwner::Utilities, .edit = handler};
}

constexpr CommandDesc GeneralRow(std::string_view verb, GeneralCommandFn handler = nullptr) {
    return {
        .table = CommandTable::General, .verb = verb, .owner = CommandOwner::Utilities, .general = handler};
}

constexpr CommandDesc kUtilityCommands[] = {
    EditRow("PRINT"),         EditRow("TAGFIND"),    EditRow("TEMPLATE"),    GeneralRow("COMPARE"),
    GeneralRow("COMPAREDIR"), GeneralRow("CONVERT"), GeneralRow("FILESCAN"), GeneralRow("PRINTSETUP"),
    GeneralRow("PRINTSTYLE"), GeneralRow("SYSTEM"),  GeneralRow("USERCMD"),
};

}  // namespace

CommandRows UtilityCommands() {
    return kUtilityCommands;
}

}  // namespace tavoe
