#pragma once

#include "core/command_desc.h"

namespace tavoe {

// The rows of the primary commands that line editing implements or will implement: the column
// commands, COPY, COPYL, CREATE, CURSOR, CURSORMOVE, CUT, DATA, DATALINE, DELEOL, DELETE, ENTER, EXPORT,
// HEXIN, IMPORT, NOTELINE, PASTE, REPLACE, SELECT and UNDO.
CommandRows EditingCommands();

}  // namespace tavoe
