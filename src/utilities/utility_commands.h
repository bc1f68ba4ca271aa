#pragma once

#include <span>

#include "core/app_session.h"
#include "core/command_desc.h"

namespace tavoe {

// The rows of the utilities' commands: PRINT, TAGFIND and TEMPLATE in edit sessions; COMPARE,
// COMPAREDIR, CONVERT, FILESCAN, PRINTSETUP, PRINTSTYLE, SYSTEM and USERCMD everywhere.
CommandRows UtilityCommands();

// The handlers of the utilities' built-in dialogs (COMPARE, COMPDIR, the CONVERT wizard, FILESCAN,
// PRNSETUP, PRNSTYLE, TEMPLATE, USERCMD, USERCMD2, XCMD), which DIALOG name reaches through
// app.subsystemDialogs.
std::span<const SubsystemDialog> UtilityDialogs();

}  // namespace tavoe
