#include "macro/macro_engine.h"
#include "macro/macro_interp.h"
#include "macro/macro_runtime.h"
#include "macro/macro_service.h"
#include "platform/ascii_case.h"

namespace tavoe {

// TAVOSERVICE: the runtime function that reaches the editor's service interface (macro_service.h).

bool RtTavoService(const RuntimeCall& call) {
    if (call.Count() < 1 || call.Count() > 3) {
        return call.Fail("RUNTIME: one parm required: P1=service-selector, P2=optional, P3=optional");
    }
    std::string selector;
    std::string p2;
    std::string p3;
    if (!call.Text(0, selector) || (call.Count() > 1 && !call.Text(1, p2)) ||
        (call.Count() > 2 && !call.Text(2, p3))) {
        return false;
    }
    selector = UpperAscii(selector);
    if (selector.empty()) {
        call.Return("");
        return true;
    }
    std::string result = TavoService(call.interp.App(), call.interp.Engine().Host(), selector,
                                     call.Count() > 1 ? &p2 : nullptr, call.Count() > 2 ? &p3 : nullptr);
    if (result.size() > kRuntimeResultMax) {
        result.resize(kRuntimeResultMax);
    }
    call.Return(result);
    return true;
}

}  // namespace tavoe
