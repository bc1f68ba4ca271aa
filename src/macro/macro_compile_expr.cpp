#include "macro/macro_compiler_internal.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

bool IsArithmetic(Op op) {
    return op == Op::Plus || op == Op::Minus || op == Op::Star || op == Op::Slash || op == Op::Percent;
}

NodeKind ArithmeticKind(Op op) {
    switch (op) {
        case Op::Plus:
            return NodeKind::Add;
        case Op::Minus:
            return NodeKind::Sub;
        case Op::Star:
            return NodeKind::Mul;
        case Op::Slash:
            return NodeKind::Div;
        default:
            return NodeKind::Mod;
    }
}

bool IsRelational(Op op) {
    return op == Op::Eq || op == Op::Ne || op == Op::Gt || op == Op::Lt || op == Op::Ge || op == Op::Le;
}

NodeKind RelationalKind(Op op) {
    switch (op) {
        case Op::Eq:
            return NodeKind::Eq;
        case Op::Ne:
            return NodeKind::Ne;
        case Op::Gt:
            return NodeKind::Gt;
        case Op::Lt:
            return NodeKind::Lt;
        case Op::Ge:
            return NodeKind::Ge;
        default:
            return NodeKind::Le;
    }
}

bool IsNumberText(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

// Literal values are only read while the macro runs, so every use of the same text shares one.
PNode* MacroCompiler::Literal(const MacroToken& at, std::string_view text) {
    PNode* node = macro_.NewNode(NodeKind::Literal, at);
    uint32_t hash = MacroNameIndex::Hash(text);
    int32_t index = literalIndex_.FindHashed(
        text, hash, [this](int32_t i) -> std::string_view { return macro_.literals[i].Text(); });
    if (index < 0) {
        index = static_cast<int32_t>(macro_.literals.size());
        macro_.literals.Add().SetText(text);
        literalIndex_.Add(hash, index);
    }
    node->index = index;
    return node;
}

// The right operand of an arithmetic operator: a literal (a negative number too), a variable, a call
// or a parenthesised expression.
bool MacroCompiler::StartsOperand() const {
    const MacroToken& tok = Tok();
    return tok.kind == TokenKind::Literal || tok.kind == TokenKind::VariableName ||
           tok.kind == TokenKind::FunctionName || tok.op() == Op::LParen ||
           (tok.op() == Op::Minus && Peek(1).kind == TokenKind::Literal && IsNumberText(Peek(1).text));
}

// expression: element { ( "+" | "-" | "*" | "/" | "%" ) element }, all one precedence, left to right.
PNode* MacroCompiler::ParseExpression() {
    PNode* left = ParseElement();
    while (left != nullptr && IsArithmetic(Tok().op())) {
        const MacroToken& opTok = Tok();
        Next();
        if (!StartsOperand()) {
            Fail("RHS arithmetic operation must be string, variable, function call, or expression");
            return nullptr;
        }
        PNode* right = ParseElement();
        if (right == nullptr) {
            return nullptr;
        }
        PNode* node = macro_.NewNode(ArithmeticKind(opTok.op()), opTok);
        node->op1 = left;
        node->op2 = right;
        left = node;
    }
    return left;
}

// element: literal | "-" number | variable [ "[" expression "]" ] | call | "(" expression ")"
PNode* MacroCompiler::ParseElement() {
    if (!Enter()) {
        return nullptr;
    }
    PNode* node = nullptr;
    const MacroToken& tok = Tok();
    if (tok.kind == TokenKind::Literal) {
        node = Literal(tok, tok.text);
        Next();
    } else if (tok.op() == Op::Minus) {
        if (Peek(1).kind == TokenKind::Literal && IsNumberText(Peek(1).text)) {
            node = Literal(tok, "-" + std::string(Peek(1).text));
            Next();
            Next();
        } else {
            Fail("'-' arithmetic operator must be preceded by left hand side value");
        }
    } else if (tok.kind == TokenKind::VariableName) {
        node = ParseVarRef();
    } else if (tok.kind == TokenKind::FunctionName) {
        node = ParseCall(true);
    } else if (tok.op() == Op::LParen) {
        Next();
        node = ParseExpression();
        if (node != nullptr && !Expect(Op::RParen, "open parenthesis without matching close parenthesis")) {
            node = nullptr;
        }
    } else {
        Fail("expected element of expression");
    }
    Leave();
    return macro_.error ? nullptr : node;
}

// A variable, resolved now: RESULT, then the globals, then the current function's locals.
PNode* MacroCompiler::ParseVarRef() {
    const MacroToken& tok = Tok();
    PNode* node = macro_.NewNode(NodeKind::VarRef, tok);
    const MacroVar* var = nullptr;
    if (tok.text == "RESULT") {
        node->scope = VarScope::Result;
        var = &macro_.result;
    } else if (int32_t global = macro_.GlobalIndexOf(tok.text); global >= 0) {
        node->scope = VarScope::Global;
        node->index = global;
        var = &macro_.globals[global];
    } else if (function_ != nullptr) {
        if (int32_t local = function_->FindLocal(tok.text); local >= 0) {
            node->scope = VarScope::Local;
            node->function = function_;
            node->index = local;
            var = &function_->locals[local];
        }
    }
    if (var == nullptr) {
        Fail(Format("'%s' variable not declared", std::string(tok.text).c_str()));
        return nullptr;
    }
    Next();
    if (IsOp(Op::LBracket)) {
        if (!var->isArray) {
            Fail(tok, "variable is not an array");
            return nullptr;
        }
        if (!Enter()) {
            return nullptr;
        }
        Next();
        node->op1 = ParseExpression();
        Leave();
        if (node->op1 == nullptr || !Expect(Op::RBracket, "expected array subscript end, ']'")) {
            return nullptr;
        }
    }
    return node;
}

// name "(" [ expression { "," expression } ] ")". Whether the name is a runtime function or a user
// function is settled when the call first runs.
PNode* MacroCompiler::ParseCall(bool resultUsed) {
    const MacroToken& tok = Tok();
    PNode* node = macro_.NewNode(NodeKind::Call, tok);
    node->resultUsed = resultUsed;
    node->index = static_cast<int32_t>(macro_.calls.size());
    MacroCall& call = macro_.calls.Add();
    call.name = UpperAscii(tok.text);
    Next();
    Next();  // "("
    if (!Enter()) {
        return nullptr;
    }
    NodeList args;
    bool ok = true;
    if (IsOp(Op::RParen)) {
        Next();
    } else {
        while (true) {
            const MacroToken& argTok = Tok();
            PNode* arg = ParseExpression();
            if (arg == nullptr) {
                ok = false;
                break;
            }
            if (arg->kind == NodeKind::VarRef && arg->op1 == nullptr && arg->scope != VarScope::Result) {
                const MacroVar& var = arg->scope == VarScope::Global ? macro_.globals[arg->index]
                                                                     : arg->function->locals[arg->index];
                if (var.isArray && call.name != "STRPARSE" && call.name != "STRPARSEX") {
                    ok = Fail(argTok, "Not allowed to pass arrays to user written functions.");
                    break;
                }
            }
            args.Append(arg);
            ++call.argCount;
            if (IsOp(Op::Comma)) {
                Next();
                continue;
            }
            ok = Expect(Op::RParen, "expected comma, or ')'");
            break;
        }
    }
    Leave();
    call.args = args.head;
    return ok ? node : nullptr;
}

// One comparison: [ "!" ] expression [ relational-operator expression ].
PNode* MacroCompiler::ParseComparison(bool* hadOperator) {
    bool negate = false;
    if (IsOp(Op::Not)) {
        negate = true;
        Next();
    }
    if (IsRelational(Tok().op())) {
        Fail("expected left hand side of relational operator");
        return nullptr;
    }
    const MacroToken& startTok = Tok();
    PNode* left = ParseExpression();
    if (left == nullptr) {
        return nullptr;
    }
    PNode* node = nullptr;
    if (IsRelational(Tok().op())) {
        const MacroToken& opTok = Tok();
        Next();
        PNode* right = ParseExpression();
        if (right == nullptr) {
            return nullptr;
        }
        node = macro_.NewNode(RelationalKind(opTok.op()), opTok);
        node->op2 = right;
        node->negate = negate;
        *hadOperator = true;
    } else {
        node = macro_.NewNode(negate ? NodeKind::Ne : NodeKind::Eq, startTok);
        *hadOperator = false;
    }
    node->op1 = left;
    return node;
}

// condition: comparison { ( "&&" | "||" ) comparison } ")". The connectors have no precedence: the
// chain is evaluated left to right.
PNode* MacroCompiler::ParseCondition() {
    NodeList chain;
    while (true) {
        Op op = Tok().op();
        if (op == Op::AndAnd || op == Op::OrOr || op == Op::RParen || AtEnd()) {
            Fail("expected left hand side of conditional expression");
            return nullptr;
        }
        bool hadOperator = false;
        PNode* comparison = ParseComparison(&hadOperator);
        if (comparison == nullptr) {
            return nullptr;
        }
        chain.Append(comparison);
        op = Tok().op();
        if (op == Op::AndAnd || op == Op::OrOr) {
            comparison->connector = op == Op::AndAnd ? NodeKind::And : NodeKind::Or;
            Next();
            continue;
        }
        if (op == Op::RParen) {
            Next();
            return chain.head;
        }
        Fail(hadOperator ? "open parenthesis without matching close parenthesis"
                         : "expected relational operator");
        return nullptr;
    }
}

}  // namespace tavoe
