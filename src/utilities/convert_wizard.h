#pragma once

#include <span>

#include "core/app_session.h"
#include "core/command_line.h"

namespace tavoe {

struct AppSession;

// CONVERT [old file]: starts the conversion wizard (CONVERT1), first taking the file named as the
// old file.
void ConvertCommand(AppSession& app, const GeneralCommandLine& command);

// The wizard's steps (CONVERT1 .. CONVERT3, CONVV1, CONVV2, CONVF1 .. CONVF4, CONVC1) as DIALOG
// handlers. Each stores its answer in a ZCONVERT. setting and goes on to the step the answers lead to;
// Back goes to the step before; CONVERT3 runs the conversion.
std::span<const SubsystemDialog> ConvertDialogs();

}  // namespace tavoe
