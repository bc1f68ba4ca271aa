#pragma once

#include <string_view>

#include "editing/keys.h"

namespace tavoe {

// Runs a command line through the processor of a route: the general, edit or file list dispatcher.

struct AppSession;

void RunCommandLine(AppSession& app, CommandRoute route, std::string_view text);

// The processor of the current context: the edit dispatcher when the top frame is an edit session,
// the file list dispatcher for a file list, the general one otherwise.
CommandRoute CurrentRoute(const AppSession& app);

}  // namespace tavoe
