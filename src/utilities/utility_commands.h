#pragma once

#include "core/command_desc.h"

namespace tavoe {

// The rows of the utilities' commands: PRINT, TAGFIND and TEMPLATE in edit sessions; COMPARE,
// COMPAREDIR, CONVERT, FILESCAN, PRINTSETUP, PRINTSTYLE, SYSTEM and USERCMD everywhere.
CommandRows UtilityCommands();

}  // namespace tavoe
