#include "macro/macro_trace.h"

#include <set>

#include "macro/macro_interp.h"
#include "macro/macro_runtime.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr const char* kVarsHeader = "\n\nVars used in this statement and values prior to execution:\n\n";

bool Bare(const MacroValue& value) {
    return value.IsInteger() || value.IsBoolean();
}

std::string Quoted(const MacroValue& value) {
    return Bare(value) ? value.Text() : "\"" + value.Text() + "\"";
}

const char* OperatorText(NodeKind kind) {
    switch (kind) {
        case NodeKind::Add:
            return " + ";
        case NodeKind::Sub:
            return " - ";
        case NodeKind::Mul:
            return " * ";
        case NodeKind::Div:
            return " / ";
        case NodeKind::Mod:
            return " % ";
        case NodeKind::Eq:
            return " == ";
        case NodeKind::Ne:
            return " != ";
        case NodeKind::Gt:
            return " > ";
        case NodeKind::Lt:
            return " < ";
        case NodeKind::Ge:
            return " >= ";
        default:
            return " <= ";
    }
}

bool IsArithmetic(const PNode* node) {
    return node->kind >= NodeKind::Add && node->kind <= NodeKind::Mod;
}

class Lister {
public:
    explicit Lister(MacroInterp& interp) : interp_(interp), macro_(interp.Macro()) {}

    std::string Statement(const PNode& node, const MacroFunction& function);
    std::string Vars() const { return vars_; }

private:
    std::string Expr(const PNode* node);
    std::string Condition(const PNode* first);
    const MacroVar* Declared(const PNode* ref) const;
    void NoteVar(const PNode* ref, const std::string& shown);

    MacroInterp& interp_;
    CompiledMacro& macro_;
    std::set<std::string> seen_;
    std::string vars_;
};

const MacroVar* Lister::Declared(const PNode* ref) const {
    switch (ref->scope) {
        case VarScope::Global:
            return &macro_.globals[ref->index];
        case VarScope::Local:
            return &ref->function->locals[ref->index];
        case VarScope::Result:
            break;
    }
    return &macro_.result;
}

// Lists a variable's value as it stands, without evaluating anything: an element is shown only for
// a literal subscript naming an existing element.
void Lister::NoteVar(const PNode* ref, const std::string& shown) {
    if (!seen_.insert(shown).second) {
        return;
    }
    const MacroVar* var = interp_.ResolveVar(ref);
    if (var == nullptr) {
        return;
    }
    const MacroValue* value = &var->value;
    if (ref->op1 != nullptr) {
        value = nullptr;
        if (ref->op1->kind == NodeKind::Literal) {
            const MacroValue& subscript = macro_.literals[ref->op1->index];
            if (subscript.IsDigits() && !subscript.Overflows() &&
                static_cast<size_t>(subscript.Number()) < var->elements.size()) {
                value = &var->elements[subscript.Number()];
            }
        }
    }
    if (value == nullptr) {
        return;
    }
    vars_ += shown + " = " + (value->IsNull() ? std::string("NULL") : Quoted(*value)) + "\n";
}

std::string Lister::Expr(const PNode* node) {
    if (node == nullptr) {
        return {};
    }
    switch (node->kind) {
        case NodeKind::Literal:
            return Quoted(macro_.literals[node->index]);
        case NodeKind::VarRef: {
            std::string shown = Declared(node)->name;
            if (node->op1 != nullptr) {
                shown += "[" + Expr(node->op1) + "]";
            }
            NoteVar(node, shown);
            return shown;
        }
        case NodeKind::Call: {
            const MacroCall& call = macro_.calls[node->index];
            bool known = call.resolved || FindRuntimeFunction(call.name) != nullptr ||
                         macro_.FindFunction(call.name) != nullptr;
            std::string text = (known ? call.name : std::string("?unresolved?")) + "(";
            for (const PNode* arg = call.args; arg != nullptr; arg = arg->next) {
                text += Expr(arg);
                if (arg->next != nullptr) {
                    text += ", ";
                }
            }
            return text + ")";
        }
        default:
            if (IsArithmetic(node)) {
                std::string right = Expr(node->op2);
                if (IsArithmetic(node->op2)) {
                    right = "(" + right + ")";
                }
                return Expr(node->op1) + OperatorText(node->kind) + right;
            }
            return "?unresolved?";
    }
}

// Comparisons without an operator are shown against what they test: TRUE for booleans, 0 for
// numbers and the empty text for strings.
std::string Lister::Condition(const PNode* first) {
    std::string text;
    for (const PNode* c = first; c != nullptr; c = c->next) {
        std::string left = Expr(c->op1);
        if (c->op2 != nullptr) {
            text += (c->negate ? "!" : "") + left + OperatorText(c->kind) + Expr(c->op2);
        } else {
            MacroType type = MacroType::String;
            if (c->op1->kind == NodeKind::VarRef) {
                type = Declared(c->op1)->type;
            } else if (c->op1->kind == NodeKind::Literal) {
                const MacroValue& value = macro_.literals[c->op1->index];
                type = value.IsBoolean()   ? MacroType::Bool
                       : value.IsInteger() ? MacroType::Int
                                           : MacroType::String;
            }
            bool isTrue = c->kind == NodeKind::Eq;
            switch (type) {
                case MacroType::Bool:
                    text += left + (isTrue ? " == TRUE" : " != TRUE");
                    break;
                case MacroType::Int:
                    text += left + (isTrue ? " != 0" : " == 0");
                    break;
                case MacroType::String:
                    text += left + (isTrue ? " != \"\"" : " == \"\"");
                    break;
            }
        }
        if (c->connector == NodeKind::And) {
            text += " && ";
        } else if (c->connector == NodeKind::Or) {
            text += " || ";
        } else {
            break;
        }
    }
    return text;
}

std::string Lister::Statement(const PNode& node, const MacroFunction& function) {
    switch (node.kind) {
        case NodeKind::Assign:
            return Expr(node.op1) + " = " + Expr(node.op2);
        case NodeKind::Call:
            return Expr(&node);
        case NodeKind::If:
            return "IF (" + Condition(node.op1) + ")";
        case NodeKind::While:
            return "WHILE (" + Condition(node.op1) + ")";
        case NodeKind::Switch:
            return "SWITCH (" + Expr(node.op1) + ")";
        case NodeKind::Return:
            return "return(" + Expr(node.op1) + ")";
        case NodeKind::EndFunction:
            return Format("Exit function: %s", function.name.c_str());
        default:
            return Expr(&node);
    }
}

}  // namespace

std::string MacroTraceListing(MacroInterp& interp, const MacroFunction& function, const PNode& node) {
    Lister lister(interp);
    std::string statement = lister.Statement(node, function);
    return Format("%s(%d): ", function.name.c_str(), node.line) + statement + kVarsHeader + lister.Vars();
}

std::string MacroTraceCaseText(const MacroValue& value, bool isDefault) {
    if (isDefault) {
        return "default:";
    }
    return "case " + Quoted(value) + ":";
}

std::string MacroTraceCaseListing(const CompiledMacro&, const MacroFunction& function, const PNode& node,
                                  const std::string& caseText) {
    return Format("%s(%d): ", function.name.c_str(), node.line) + caseText;
}

}  // namespace tavoe
