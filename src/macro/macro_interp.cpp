#include "macro/macro_interp.h"

#include <limits>

#include "macro/macro_engine.h"
#include "macro/macro_error.h"
#include "macro/macro_runtime.h"
#include "macro/macro_trace.h"

namespace tavoe {

namespace {

enum class CompareMode { Boolean, Numeric, String };

CompareMode ModeOfType(MacroType type) {
    switch (type) {
        case MacroType::Bool:
            return CompareMode::Boolean;
        case MacroType::Int:
            return CompareMode::Numeric;
        case MacroType::String:
            break;
    }
    return CompareMode::String;
}

// The leading sign and digits of a text, for exact comparison of numbers beyond 32 bits.
std::string_view LeadingInteger(std::string_view text) {
    size_t pos = 0;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        ++pos;
    }
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
    }
    return text.substr(0, pos);
}

int CompareNumbers(const MacroValue& a, const MacroValue& b) {
    if (!a.Overflows() && !b.Overflows()) {
        return a.Number() < b.Number() ? -1 : (a.Number() > b.Number() ? 1 : 0);
    }
    return CompareIntegerTexts(LeadingInteger(a.Text()), LeadingInteger(b.Text()));
}

int CompareTexts(const std::string& a, const std::string& b) {
    int c = a.compare(b);  // std::string compares bytes as unsigned char
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool Holds(NodeKind kind, int order) {
    switch (kind) {
        case NodeKind::Eq:
            return order == 0;
        case NodeKind::Ne:
            return order != 0;
        case NodeKind::Gt:
            return order > 0;
        case NodeKind::Lt:
            return order < 0;
        case NodeKind::Ge:
            return order >= 0;
        default:
            return order <= 0;
    }
}

// An operand whose evaluation cannot run code or move values: no copy of the other side is needed.
bool IsQuiet(const PNode* node) {
    return node->kind == NodeKind::Literal || (node->kind == NodeKind::VarRef && node->op1 == nullptr);
}

bool CaseMatches(const MacroValue& caseValue, const MacroValue& value) {
    if (caseValue.IsDigits() && value.IsDigits()) {
        return CompareNumbers(caseValue, value) == 0;
    }
    return caseValue.Text() == value.Text();
}

// Counts one level of nested evaluation for as long as it lives.
class DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

constexpr const char* kTraceTitle = "Macro trace: YES=step, NO=trace-off, CANCEL=end-macro";

}  // namespace

MacroInterp::MacroInterp(AppSession& app, MacroEngine& engine, CompiledMacro& macro)
    : app_(app), engine_(engine), macro_(macro), pollCountdown_(kMacroEscapePollNodes) {}

bool MacroInterp::Error(const PNode& at, std::string_view message) {
    if (!macro_.error) {
        MacroErrorAtNode(app_, macro_, at, message);
    }
    return false;
}

Psw* MacroInterp::AllocPsw(MacroFunction* function, PNode* list, const PNode* at) {
    for (Psw& psw : engine_.psws) {
        if (!psw.inUse) {
            psw.link = engine_.pswTop;
            psw.function = function;
            psw.next = list;
            psw.continuation = nullptr;
            psw.inUse = true;
            engine_.pswTop = &psw;
            return &psw;
        }
    }
    Error(*at, "RUNTIME: out of PSWs, look for infinite recursion or circularity");
    return nullptr;
}

void MacroInterp::ReleasePsw(Psw* psw, const PNode* at) {
    if (psw == nullptr) {
        Error(*at, "RUNTIME: passed NULL to PswDestroy");
        return;
    }
    if (!psw->inUse) {
        Error(*at, "RUNTIME: PSW passed to PswDestroy is not allocated");
        return;
    }
    psw->inUse = false;
    psw->next = nullptr;
    engine_.pswTop = psw->link;
}

void MacroInterp::RunProgram() {
    macro_.endMacro = false;
    if (macro_.globalInit != nullptr) {
        RunNested(nullptr, macro_.globalInit, macro_.globalInit);
    }
    if (macro_.error || macro_.endMacro || macro_.functions.empty()) {
        return;
    }
    MacroFunction* entry = macro_.functions.front().get();
    if (!PushFrame(entry, entry->body)) {
        return;
    }
    MacroFunction* saved = current_;
    current_ = entry;
    RunInit(entry->init);
    if (!macro_.error && entry->body != nullptr) {
        RunNested(entry, entry->body, entry->body);
    }
    entry->returning = false;
    current_ = saved;
    PopFrame(entry);
}

void MacroInterp::RunNested(MacroFunction* function, PNode* list, const PNode* at) {
    Psw* psw = AllocPsw(function, list, at);
    if (psw == nullptr) {
        return;
    }
    RunList(psw);
    ReleasePsw(psw, at);
}

void MacroInterp::RunInit(PNode* list) {
    for (PNode* node = list; node != nullptr && !macro_.error; node = node->next) {
        ExecAssign(node);
    }
}

// Before each node: the trace prompt, the end of a cancelled macro, and now and then a look for
// Escape. False when the node is not to run.
bool MacroInterp::BeforeNode(MacroFunction* function, PNode* node) {
    if (function != nullptr && function->trace) {
        TracePrompt(function, node, nullptr);
    }
    if (macro_.endMacro) {
        return false;
    }
    if (--pollCountdown_ <= 0) {
        pollCountdown_ = kMacroEscapePollNodes;
        if (engine_.Host().EscapePressed(app_)) {
            return Error(*node, "RUNTIME: macro ended by Escape");
        }
    }
    return true;
}

void MacroInterp::RunList(Psw* psw) {
    ++macro_.runDepth;
    MacroFunction* function = psw->function;
    while (!macro_.error) {
        PNode* node = psw->next;
        if (node == nullptr || !BeforeNode(function, node)) {
            break;
        }
        psw->next = node->next;
        Exec(node, psw);
        if (function != nullptr && function->returning) {
            psw->next = nullptr;
            psw->continuation = nullptr;
        }
    }
    --macro_.runDepth;
}

void MacroInterp::Exec(PNode* node, Psw* psw) {
    switch (node->kind) {
        case NodeKind::Assign:
            ExecAssign(node);
            break;
        case NodeKind::Call:
            Call(node);
            break;
        case NodeKind::Add:
        case NodeKind::Sub:
        case NodeKind::Mul:
        case NodeKind::Div:
        case NodeKind::Mod: {
            int32_t ignored = 0;
            Arithmetic(node, &ignored);
            break;
        }
        case NodeKind::If: {
            bool holds = false;
            if (Condition(node->op1, &holds)) {
                PNode* list = holds ? node->op2 : node->op3;
                if (list != nullptr) {
                    RunNested(psw->function, list, node);
                }
            }
            break;
        }
        case NodeKind::While:
            ExecWhile(node, psw);
            break;
        case NodeKind::Switch:
            ExecSwitch(node, psw);
            break;
        case NodeKind::Return: {
            MacroValue& result = macro_.result.value;
            if (node->op1 == nullptr) {
                result.SetText("");
            } else {
                const MacroValue* value = Eval(node->op1);
                if (value == nullptr) {
                    break;
                }
                if (value != &result) {
                    result.Assign(*value);
                }
            }
            if (psw->function != nullptr) {
                psw->function->returning = true;
            }
            break;
        }
        default:
            break;  // the end of a function: its frame is popped by the caller
    }
}

// The value goes to RESULT first, then from RESULT to the target, after the target's type check.
void MacroInterp::ExecAssign(const PNode* node) {
    MacroValue& result = macro_.result.value;
    const MacroValue* value = Eval(node->op2);
    if (value == nullptr) {
        return;
    }
    if (value != &result) {
        result.Assign(*value);
    }
    MacroValue* slot = ResolveSlot(node->op1);
    if (slot == nullptr) {
        if (!macro_.error) {
            Error(*node->op1, "RUNTIME: unable to resolve left hand side var reference");
        }
        return;
    }
    const MacroVar* var = ResolveVar(node->op1);
    if (!TypeCheck(node, *var, result)) {
        return;
    }
    if (slot != &result) {
        slot->Assign(result);
    }
}

bool MacroInterp::TypeCheck(const PNode* at, const MacroVar& var, const MacroValue& value) {
    if (value.IsNull()) {
        return true;
    }
    if (var.type == MacroType::Bool && !value.IsBoolean()) {
        return Error(*at, "RUNTIME: type BOOL may only be set to TRUE or FALSE");
    }
    if (var.type == MacroType::Int && !value.IsInteger() && !value.IsEmpty()) {
        return Error(*at, "RUNTIME: type INT may only be set to an integer number");
    }
    return true;
}

// The loop runs its body in a fresh list for each pass; between passes the while node is listed and
// polled again, as any node is before it runs.
void MacroInterp::ExecWhile(PNode* node, Psw* psw) {
    MacroFunction* function = psw->function;
    while (true) {
        bool holds = false;
        if (!Condition(node->op1, &holds) || !holds || node->op2 == nullptr) {
            return;
        }
        RunNested(function, node->op2, node);
        if (macro_.error || macro_.endMacro || (function != nullptr && function->returning)) {
            return;
        }
        if (!BeforeNode(function, node)) {
            return;
        }
    }
}

// Cases are examined in source order up to the first default; the first match runs (no fall-through);
// without one, or with a null value, the first default runs.
void MacroInterp::ExecSwitch(PNode* node, Psw* psw) {
    const MacroValue* value = Eval(node->op1);
    if (value == nullptr) {
        return;
    }
    PNode* chosen = nullptr;
    if (!value->IsNull()) {
        for (PNode* c = node->op2; c != nullptr && chosen == nullptr && !c->isDefault; c = c->next) {
            for (const MacroValue& caseValue : macro_.caseValues[c->index]) {
                if (CaseMatches(caseValue, *value)) {
                    chosen = c;
                    break;
                }
            }
        }
    }
    if (chosen == nullptr) {
        for (PNode* c = node->op2; c != nullptr; c = c->next) {
            if (c->isDefault) {
                chosen = c;
                break;
            }
        }
    }
    if (chosen == nullptr) {
        return;
    }
    MacroFunction* function = psw->function;
    if (function != nullptr && function->trace) {
        std::string caseText = MacroTraceCaseText(*value, chosen->isDefault);
        TracePrompt(function, chosen, &caseText);
        if (macro_.endMacro) {
            return;
        }
    }
    if (chosen->op2 != nullptr) {
        RunNested(function, chosen->op2, chosen);
    }
}

void MacroInterp::TracePrompt(MacroFunction* function, const PNode* node, const std::string* caseText) {
    std::string listing = caseText != nullptr ? MacroTraceCaseListing(macro_, *function, *node, *caseText)
                                              : MacroTraceListing(*this, *function, *node);
    TraceAnswer answer = engine_.Host().AskTrace(app_, kTraceTitle, listing);
    if (function->traceCounting && --function->traceSteps <= 0) {
        function->trace = false;
        function->traceCounting = false;
    }
    if (answer == TraceAnswer::TraceOff) {
        function->trace = false;
    } else if (answer == TraceAnswer::EndMacro) {
        function->trace = false;
        macro_.endMacro = true;
    }
}

const MacroValue* MacroInterp::Eval(const PNode* node) {
    DepthGuard guard(depth_);
    if (depth_ > kMacroEvalDepthMax) {
        Error(*node, "RUNTIME: expressions nested too deeply");
        return nullptr;
    }
    switch (node->kind) {
        case NodeKind::Literal:
            return &macro_.literals[node->index];
        case NodeKind::VarRef: {
            MacroValue* slot = ResolveSlot(node);
            if (slot == nullptr && !macro_.error) {
                Error(*node, "RUNTIME: invalid array subscript");
            }
            return slot;
        }
        case NodeKind::Call:
            return Call(node) ? &macro_.result.value : nullptr;
        case NodeKind::Add:
        case NodeKind::Sub:
        case NodeKind::Mul:
        case NodeKind::Div:
        case NodeKind::Mod: {
            int32_t ignored = 0;
            return Arithmetic(node, &ignored) ? &macro_.result.value : nullptr;
        }
        default:
            Error(*node, "expected element of expression");
            return nullptr;
    }
}

bool MacroInterp::EvalInto(const PNode* node, MacroValue& out) {
    const MacroValue* value = Eval(node);
    if (value == nullptr) {
        return false;
    }
    if (value != &out) {
        out.Assign(*value);
    }
    return true;
}

bool MacroInterp::Operand(const PNode* node, const PNode* at, int32_t* out) {
    const MacroValue* value = Eval(node);
    if (value == nullptr) {
        return false;
    }
    if (value->IsNull()) {
        return Error(*at, "RUNTIME: can not do arithmetic on null value");
    }
    if (value->Overflows()) {
        return Error(*at, "RUNTIME: integer overflow");
    }
    *out = value->Number();
    return true;
}

// 32-bit signed arithmetic. A result that does not fit (and the quotient of the most negative number
// by -1) is an error rather than a wrapped number.
bool MacroInterp::Arithmetic(const PNode* node, int32_t* out) {
    int32_t a = 0;
    int32_t b = 0;
    if (!Operand(node->op1, node, &a) || !Operand(node->op2, node, &b)) {
        return false;
    }
    int32_t r = 0;
    bool overflow = false;
    switch (node->kind) {
        case NodeKind::Add:
            overflow = __builtin_add_overflow(a, b, &r);
            break;
        case NodeKind::Sub:
            overflow = __builtin_sub_overflow(a, b, &r);
            break;
        case NodeKind::Mul:
            overflow = __builtin_mul_overflow(a, b, &r);
            break;
        case NodeKind::Div:
        case NodeKind::Mod:
            if (b == 0) {
                return Error(*node, "RUNTIME: can not divide by zero");
            }
            if (b == -1) {
                // a / -1 is -a, which the most negative number does not have; a % -1 is always 0.
                overflow = node->kind == NodeKind::Div && a == std::numeric_limits<int32_t>::min();
                r = node->kind == NodeKind::Div && !overflow ? -a : 0;
            } else {
                r = node->kind == NodeKind::Div ? a / b : a % b;
            }
            break;
        default:
            break;
    }
    if (overflow) {
        return Error(*node, "RUNTIME: integer overflow");
    }
    macro_.result.value.SetInt(r);
    *out = r;
    return true;
}

bool MacroInterp::Condition(const PNode* first, bool* value) {
    bool result = false;
    if (!Compare(first, &result)) {
        return false;
    }
    for (const PNode* c = first; c->connector != NodeKind::Literal && c->next != nullptr; c = c->next) {
        if (c->connector == NodeKind::And) {
            if (!result) {
                break;
            }
        } else if (c->connector == NodeKind::Or) {
            if (result) {
                break;
            }
        } else {
            return Error(*c, "RUNTIME: invalid compound expression connector");
        }
        if (!Compare(c->next, &result)) {
            return false;
        }
    }
    *value = result;
    return true;
}

bool MacroInterp::Compare(const PNode* node, bool* result) {
    const PNode* leftNode = node->op1;
    const PNode* rightNode = node->op2;
    const MacroValue* left = Eval(leftNode);
    if (left == nullptr) {
        return false;
    }
    MacroValue leftCopy;
    if (rightNode != nullptr && !IsQuiet(rightNode) && leftNode->kind != NodeKind::Literal) {
        leftCopy.Assign(*left);
        left = &leftCopy;
    }
    const MacroValue* right = nullptr;
    if (rightNode != nullptr) {
        right = Eval(rightNode);
        if (right == nullptr) {
            return false;
        }
    }
    CompareMode mode = CompareMode::String;
    if (leftNode->kind == NodeKind::VarRef) {
        mode = ModeOfType(ResolveVar(leftNode)->type);
    } else if (rightNode != nullptr && rightNode->kind == NodeKind::VarRef) {
        mode = ModeOfType(ResolveVar(rightNode)->type);
    } else if (left->IsBoolean()) {
        mode = CompareMode::Boolean;
    } else if (left->IsInteger() && (right == nullptr || right->IsInteger() || right->IsEmpty())) {
        mode = CompareMode::Numeric;
    }
    bool holds = false;
    switch (mode) {
        case CompareMode::Boolean: {
            const char* refused =
                node->kind == NodeKind::Gt   ? "RUNTIME: can not use '>' to compare boolean values"
                : node->kind == NodeKind::Lt ? "RUNTIME: can not use '<' to compare boolean values"
                : node->kind == NodeKind::Ge ? "RUNTIME: can not use '>=' to compare boolean values"
                : node->kind == NodeKind::Le ? "RUNTIME: can not use '<=' to compare boolean values"
                                             : nullptr;
            if (refused != nullptr) {
                return Error(*node, refused);
            }
            bool leftTrue = left->IsTrue();
            bool same = right == nullptr ? leftTrue : leftTrue == right->IsTrue();
            holds = node->kind == NodeKind::Eq ? same : !same;
            break;
        }
        case CompareMode::Numeric:
            if (right == nullptr) {
                bool nonZero = left->Overflows() || left->Number() != 0;
                holds = node->kind == NodeKind::Eq ? nonZero : !nonZero;
            } else {
                holds = Holds(node->kind, CompareNumbers(*left, *right));
            }
            break;
        case CompareMode::String:
            if (right == nullptr) {
                holds = node->kind == NodeKind::Eq ? !left->IsEmpty() : left->IsEmpty();
            } else {
                holds = Holds(node->kind, CompareTexts(left->Text(), right->Text()));
            }
            break;
    }
    *result = node->negate ? !holds : holds;
    return true;
}

MacroVar* MacroInterp::ResolveVar(const PNode* ref) {
    switch (ref->scope) {
        case VarScope::Global:
            return &macro_.globals[ref->index];
        case VarScope::Local: {
            MacroFunction* function = ref->function;
            if (function->depth < 0) {
                return nullptr;
            }
            return &function->frames[function->depth][ref->index];
        }
        case VarScope::Result:
            break;
    }
    return &macro_.result;
}

MacroValue* MacroInterp::ResolveSlot(const PNode* ref) {
    if (ref->op1 == nullptr) {
        MacroVar* var = ResolveVar(ref);
        return var != nullptr ? &var->value : nullptr;
    }
    const MacroValue* subscript = Eval(ref->op1);
    if (subscript == nullptr || !subscript->BeginsWithDigit()) {
        return nullptr;
    }
    if (subscript->Overflows() || static_cast<size_t>(subscript->Number()) >= kMacroArrayMax) {
        Error(*ref, "RUNTIME: array subscript too large");
        return nullptr;
    }
    size_t index = static_cast<size_t>(subscript->Number());
    MacroVar* var = ResolveVar(ref);
    if (var == nullptr) {
        return nullptr;
    }
    if (index >= var->elements.size()) {
        var->elements.resize(index + 1);
    }
    return &var->elements[index];
}

bool MacroInterp::Resolve(MacroCall& call, const PNode* node) {
    call.runtime = FindRuntimeFunction(call.name);
    if (call.runtime == nullptr) {
        call.user = macro_.FindFunction(call.name);
        if (call.user == nullptr) {
            return Error(*node, "RUNTIME: unknown function");
        }
    }
    call.resolved = true;
    return true;
}

bool MacroInterp::Call(const PNode* node) {
    MacroCall& call = macro_.calls[node->index];
    if (!call.resolved && !Resolve(call, node)) {
        return false;
    }
    if (call.runtime == nullptr) {
        return CallUser(node, call);
    }
    MacroValue returned;
    RuntimeCall runtimeCall{*this, *node, call, returned};
    if (!call.runtime->handler(runtimeCall) || macro_.error) {
        return false;
    }
    if (node->resultUsed) {
        macro_.result.value.Assign(returned);
    }
    return true;
}

bool MacroInterp::PushFrame(MacroFunction* function, const PNode* at) {
    // A function active 15 times at once has saved 15 frames: it cannot be entered again.
    if (function->depth + 1 >= kMacroSavedFrames) {
        return Error(*at, "RUNTIME: stack overflow, check for recursion or circularity.");
    }
    ++function->depth;
    if (static_cast<int32_t>(function->frames.size()) <= function->depth) {
        function->frames.push_back(function->locals);
        return true;
    }
    std::vector<MacroVar>& frame = function->frames[function->depth];
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i].value.Assign(function->locals[i].value);  // null, or the constant's value
        frame[i].elements.clear();
    }
    return true;
}

void MacroInterp::PopFrame(MacroFunction* function) {
    --function->depth;
}

// Arguments are evaluated left to right into copies (a later call overwrites RESULT), then a fresh
// frame of locals receives them.
bool MacroInterp::CallUser(const PNode* node, MacroCall& call) {
    MacroFunction* function = call.user;
    size_t base = argStack_.size();
    int count = 0;
    for (const PNode* arg = call.args; arg != nullptr && count < kMacroCallArgsMax;
         arg = arg->next, ++count) {
        const MacroValue* value = Eval(arg);
        if (value == nullptr) {
            argStack_.resize(base);
            return false;
        }
        argStack_.push_back(*value);
    }
    if (!PushFrame(function, node)) {
        argStack_.resize(base);
        return false;
    }
    bool ok = true;
    if (count > function->paramCount) {
        ok = Error(*node, "RUNTIME: more parms passed than required");
    } else if (count < function->paramCount) {
        ok = Error(*node, "RUNTIME: fewer parms passed than required");
    }
    if (ok) {
        std::vector<MacroVar>& frame = function->frames[function->depth];
        for (int i = 0; i < count; ++i) {
            frame[i].value.Assign(argStack_[base + i]);
        }
    }
    argStack_.resize(base);
    if (ok) {
        MacroFunction* saved = current_;
        current_ = function;
        RunInit(function->init);
        if (!macro_.error && function->body != nullptr) {
            RunNested(function, function->body, node);
        }
        function->returning = false;
        current_ = saved;
    }
    PopFrame(function);
    return !macro_.error;
}

}  // namespace tavoe
