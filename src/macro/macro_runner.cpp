#include "macro/macro_runner.h"

#include "core/app_session.h"
#include "macro/macro_engine.h"

namespace tavoe {

Status RunMacroLaunch(AppSession& app, const MacroLaunch& launch) {
    return MacroStart(app, MacroEngineOf(app), launch);
}

}  // namespace tavoe
