#pragma once

#include "core/command_desc.h"

namespace tavoe {

// The rows of the file list's commands: the whole file list table and the general commands that
// open or arrange file lists and projects (DRIVELIST, FILELIST, FILTERS, FLISTOPTIONS, MULTILIST,
// NEW, PROJECTLIST, REDIT).
CommandRows FileListCommands();

}  // namespace tavoe
