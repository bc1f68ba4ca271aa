#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

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

// A utility command's blank-separated file or directory names, made absolute, go into the variables
// in order (names beyond them are ignored); then the utility's dialog is posted, filled with them.
void PrefillPathsAndOpen(AppSession& app, std::string_view params,
                         std::initializer_list<const char*> variables, std::string_view dialog);

}  // namespace tavoe
