#include "commands/legacy_jumps.h"

#include <array>
#include <string>

#include "core/app_session.h"
#include "core/command_line.h"
#include "core/shell_port.h"
#include "core/var_store.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr std::string_view kLegacyStyle = "Legacy Tavo";
constexpr std::string_view kModernStyle = "Modern Tavo";

// Options of the panels of the legacy menus, in table order.
constexpr std::array<LegacyJumpRow, 38> kLegacyJumps = {{
    {"0", "menu pan0"},
    {"0.2", "dialog prnstyle"},
    {"0.3", "dialog keys"},
    {"0.5", "dialog edoptgen"},
    {"0.6", "dialog flistopt"},
    {"0.7", "dialog fptype"},
    {"0.8", "dialog paths"},
    {"0.F", "dialog fontmenu"},
    {"0.K", "dialog keys"},
    {"0.S", "dialog aliascmd"},
    {"0.T", "dialog aliasprf"},
    {"0.U", "menu color"},
    {"0.V", "dialog filters"},
    {"0.W", "dialog genopt"},
    {"0.X", "dialog istyle"},
    {"0.Y", "dialog prnsetup"},
    {"1", "FUNCTION LEGACY_OPT_1"},
    {"2", "FUNCTION LEGACY_OPT_2"},
    {"3", "menu pan3"},
    {"3.A", "FUNCTION LEGACY_OPT_3A"},
    {"3.B", "FUNCTION LEGACY_OPT_3B"},
    {"3.C", "FUNCTION LEGACY_OPT_3C"},
    {"3.D", "dialog multopen"},
    {"3.E", "dialog drivlist"},
    {"3.F", "dialog filescan"},
    {"3.G", "dialog convert"},
    {"3.H", "dialog recent"},
    {"3.I", "dialog compare"},
    {"3.J", "dialog compdir"},
    {"3.K", "dialog projopen"},
    {"4", "dialog usercmd"},
    {"6", "system"},
    {"7", "dialog dlgtest"},
    {"A", "???"},
    {"T", "menu help"},
    {"X", "exit"},
    {"3.3", "FUNCTION LEGACY_OPT_33"},
    {"3.4", "open"},
}};

}  // namespace

bool LegacyJumpTableFor(std::string_view menuStyle, std::span<const LegacyJumpRow>& table) {
    if (menuStyle == kLegacyStyle) {
        table = kLegacyJumps;
        return true;
    }
    if (menuStyle == kModernStyle) {
        table = {};
        return true;
    }
    return false;
}

const LegacyJumpRow* FindLegacyJump(std::span<const LegacyJumpRow> table, std::string_view upperOption) {
    for (const LegacyJumpRow& row : table) {
        if (row.option == upperOption) {
            return &row;
        }
    }
    return nullptr;
}

Status LegacyJump(AppSession& app, std::string_view option) {
    std::string style = VarGetValue(app, "ZMENUSTYLE");
    std::span<const LegacyJumpRow> table;
    if (!LegacyJumpTableFor(style, table)) {
        ShowMessage(app, "Jump to option only supported when Tavo style menus are active.", MsgTo::Box,
                    Beep::Information);
        return -1;
    }
    const LegacyJumpRow* row = FindLegacyJump(table, CommandToUpper(option));
    if (row == nullptr) {
        ShowMessage(app, Format("Invalid jump option '%s'", std::string(option).c_str()), MsgTo::Box,
                    Beep::Information);
        return -1;
    }
    Shell(app).CloseAllContexts(app);
    PushContext(app, ContextKind::Menu, style == kLegacyStyle ? "LEGACY" : "MODERN");
    PostCommand(app, std::string(row->command));
    return 0;
}

}  // namespace tavoe
