#include "macro/macro_runner.h"

#include "core/app_session.h"
#include "platform/format.h"

namespace tavoe {

// This build compiles no macros: a found macro is named in "'%s' is not available yet.".
Status RunMacroLaunch(AppSession& app, const MacroLaunch& launch) {
    ShowMessage(app, Format("'%s' is not available yet.", launch.name.c_str()), MsgTo::Box,
                Beep::Information);
    return -1;
}

}  // namespace tavoe
