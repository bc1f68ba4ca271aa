#pragma once

#include <array>
#include <cstdint>

#include "core/session_settings.h"

namespace tavoe {

// The screen and behaviour settings an instance takes from its variables once the main profile is
// loaded: the palette, the seven colour elements and the on/off options read at start-up. The view,
// the key handler and the undo journal read them from here.

struct AppSession;

// Reads the settings from the store. A palette entry that is not a number of at most 24 bits, or a
// colour pair that is not two palette indexes, takes its built-in default, so a damaged profile
// cannot leave the screen unreadable.
ProfileSessionSettings ReadSessionSettings(AppSession& app);

// The colour element's variable name, such as "ZCOLOR.EDIT".
const char* ColorElementVariable(ColorElement element);

}  // namespace tavoe
