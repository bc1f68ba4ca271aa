#pragma once

#include "core/command_desc.h"

namespace tavoe {

// The rows of the commands the shell carries out: SAVEAS in edit sessions; CLOSEALL, EXIT, SPLITF,
// SPLITH, SPLITV, SWAP, SWAPBACK and the WIN arrangement commands everywhere.
CommandRows ShellCommands();

}  // namespace tavoe
