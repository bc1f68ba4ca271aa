#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "macro/macro_program.h"

namespace tavoe {

// The interpreter: walks the p-code of a compiled macro statement by statement. Each active
// statement list holds one program status word from the engine's pool of 64; values are text with
// their integer reading kept beside them; arithmetic is on 32-bit integers. Every run-time error is
// written to the error file at the node that caused it and ends the macro.

struct AppSession;
struct MacroEngine;
struct Psw;

inline constexpr int kMacroEscapePollNodes = 4096;  // nodes run between two Escape polls
inline constexpr int kMacroEvalDepthMax = 4096;     // nested evaluations (expressions and lists)

class MacroInterp {
public:
    MacroInterp(AppSession& app, MacroEngine& engine, CompiledMacro& macro);

    // Runs the global initialisation list, then the entry function (the first one) when there is one.
    void RunProgram();

    // What runtime functions use.
    AppSession& App() { return app_; }
    MacroEngine& Engine() { return engine_; }
    CompiledMacro& Macro() { return macro_; }
    MacroFunction* CurrentFunction() { return current_; }
    bool Failed() const { return macro_.error; }
    bool Error(const PNode& at, std::string_view message);

    // The value of an expression: a literal, a variable's own value or RESULT, so the pointer is
    // valid only until the next evaluation. Null after an error.
    const MacroValue* Eval(const PNode* node);
    bool EvalInto(const PNode* node, MacroValue& out);

    // The value slot a variable reference names: the variable, or its element (the array grows to
    // the subscript). Null when the subscript does not begin with a digit; Failed() tells whether an
    // error was reported on the way.
    MacroValue* ResolveSlot(const PNode* ref);
    // The variable record a reference names (no subscript applied).
    MacroVar* ResolveVar(const PNode* ref);

private:
    void RunList(Psw* psw);
    void Exec(PNode* node, Psw* psw);
    bool BeforeNode(MacroFunction* function, PNode* node);
    void RunNested(MacroFunction* function, PNode* list, const PNode* at);
    void RunInit(PNode* list);
    void ExecAssign(const PNode* node);
    void ExecWhile(PNode* node, Psw* psw);
    void ExecSwitch(PNode* node, Psw* psw);
    void TracePrompt(MacroFunction* function, const PNode* node, const std::string* caseText);
    bool Arithmetic(const PNode* node, int32_t* out);
    bool Operand(const PNode* node, const PNode* at, int32_t* out);
    bool Condition(const PNode* first, bool* value);
    bool Compare(const PNode* node, bool* result);
    bool Call(const PNode* node);
    bool CallUser(const PNode* node, MacroCall& call);
    bool Resolve(MacroCall& call, const PNode* node);
    bool TypeCheck(const PNode* at, const MacroVar& var, const MacroValue& value);
    bool PushFrame(MacroFunction* function, const PNode* at);
    void PopFrame(MacroFunction* function);
    Psw* AllocPsw(MacroFunction* function, PNode* list, const PNode* at);
    void ReleasePsw(Psw* psw, const PNode* at);

    AppSession& app_;
    MacroEngine& engine_;
    CompiledMacro& macro_;
    MacroFunction* current_ = nullptr;
    int pollCountdown_;
    int depth_ = 0;
    std::vector<MacroValue> argStack_;
};

}  // namespace tavoe
