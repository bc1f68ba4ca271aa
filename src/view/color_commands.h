#pragma once

#include <string_view>

namespace tavoe {

struct AppSession;
struct EditSession;

// RECOLOR: colours every line of the session again.
void RecolorCommand(AppSession& app, EditSession& session, std::string_view params);

// COLORMAP type|NONE (checked by the dispatcher): drops the session's colorization and, unless the
// type is NONE, loads that colorization type and colours every line with it. The file profile keeps
// its own colour type. A type without a colorization file says "Colorization type '%s' not found."
void ColormapCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
