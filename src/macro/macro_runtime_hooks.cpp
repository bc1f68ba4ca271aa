#include "macro/macro_engine.h"
#include "macro/macro_interp.h"
#include "macro/macro_runtime.h"
#include "platform/ascii_case.h"

namespace tavoe {

// The runtime functions that reach outside the macro language: the editor's service interface
// (through the engine's host) and the entry points of outside libraries. They are kept apart from
// the rest of the library because the editor and the library loader supply their behaviour.

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
    std::string result = call.interp.Engine().Host().TavoService(
        call.interp.App(), selector, call.Count() > 1 ? &p2 : nullptr, call.Count() > 2 ? &p3 : nullptr);
    if (result.size() > kRuntimeResultMax) {
        result.resize(kRuntimeResultMax);
    }
    call.Return(result);
    return true;
}

// No library loader is connected yet: every registration fails as for a library that is not there,
// and no handle names an entry point.
bool RtDllEpRegister(const RuntimeCall& call) {
    if (call.Count() != 4) {
        return call.Fail(
            "RUNTIME: four parameters required, P1=DLL-name, P2=EP-name, P3=return-bool, P4=parm-count");
    }
    std::string dll;
    std::string entry;
    std::string returns;
    if (!call.Text(0, dll) || !call.Text(1, entry) || !call.Text(2, returns)) {
        return false;
    }
    if (dll.empty() || entry.empty() || returns.empty()) {
        call.Return("");
        return true;
    }
    return call.Fail("RUNTIME: DLL not found");
}

bool RtDllEpCall(const RuntimeCall& call) {
    int32_t handle = 0;
    if (call.Count() < 1) {
        return call.Fail("RUNTIME: one parameter required, P1=DLL-entrypoint-handle (see DllEpRegister)");
    }
    if (!call.Number(0, handle)) {
        return false;
    }
    if (handle < 1) {
        return call.Fail("RUNTIME: invalid DLL entrypoint handle value");
    }
    return call.Fail("RUNTIME: DLL entrypoint handle refers to NULL entrypoint");
}

}  // namespace tavoe
