#pragma once

#include <string_view>

#include "macro/macro_program.h"

namespace tavoe {

// Shared between the compiler's statement part (macro_compiler.cpp) and its expression part
// (macro_compile_expr.cpp). Each parse function reports its own error and returns false or null.

struct AppSession;

struct NodeList {
    PNode* head = nullptr;
    PNode* tail = nullptr;
    void Append(PNode* node) {
        if (tail != nullptr) {
            tail->next = node;
        } else {
            head = node;
        }
        tail = node;
    }
};

class MacroCompiler {
public:
    MacroCompiler(AppSession& app, CompiledMacro& macro) : app_(app), macro_(macro) {}
    void Run();

    // Expressions and conditions (macro_compile_expr.cpp).
    PNode* ParseExpression();
    PNode* ParseCondition();  // after "(": the comparisons and the closing ")"
    PNode* ParseVarRef();
    PNode* ParseCall(bool resultUsed);

private:
    // Tokens.
    // The token list does not change while the compiler runs; past its end stands end_.
    const MacroToken& Tok() const { return pos_ < count_ ? tokens_[pos_] : end_; }
    const MacroToken& Peek(size_t ahead) const {
        return pos_ + ahead < count_ ? tokens_[pos_ + ahead] : end_;
    }
    bool AtEnd() const { return pos_ >= count_; }
    void Next() { ++pos_; }
    bool IsOp(Op op) const { return Tok().op() == op; }
    bool IsKw(Kw kw) const { return Tok().kw() == kw; }
    bool IsTypeWord() const { return Tok().kind == TokenKind::TypeWord; }
    bool Fail(std::string_view message);
    bool Fail(const MacroToken& at, std::string_view message);
    bool Expect(Op op, std::string_view message);

    // Nesting guard: statements and parenthesised expressions both count.
    bool Enter();
    void Leave() { --nesting_; }

    // Declarations and functions (macro_compiler.cpp).
    bool DeclarationFollows() const;
    bool ParseDeclaration(bool global);
    bool DeclareVariable(const MacroToken& at, MacroType type, bool isConst, bool isPointer, bool isArray,
                         bool global, MacroVar** out);
    bool ParseFunction();
    bool ParseParameters(MacroFunction& function);

    // Statements (macro_compiler.cpp).
    bool ParseStatements(NodeList& list);
    bool ParseStatement(NodeList& list);
    bool ParseBlockOrStatement(NodeList& list);
    bool ParseAssignment(NodeList& list);
    bool CheckAlterable(const PNode* target, const MacroToken& at);
    bool ParseIf(NodeList& list);
    bool ParseWhile(NodeList& list);
    bool ParseSwitch(NodeList& list);
    bool ParseCaseBody(NodeList& list);
    bool ParseReturn(NodeList& list);
    bool ParseOpenParen();
    PNode* ParseConditionHead(NodeKind kind);
    bool ParseArraySuffix(bool* isArray);

    // Expression pieces (macro_compile_expr.cpp).
    PNode* ParseElement();
    PNode* Literal(const MacroToken& at, std::string_view text);
    bool StartsOperand() const;
    PNode* ParseComparison(bool* hadOperator);

    AppSession& app_;
    CompiledMacro& macro_;
    MacroToken end_;
    const MacroToken* tokens_ = nullptr;
    size_t count_ = 0;
    size_t pos_ = 0;
    MacroFunction* function_ = nullptr;  // none while compiling globals
    int nesting_ = 0;
    int switchDepth_ = 0;
    int phase_ = 1;
    MacroNameIndex literalIndex_;  // the literal values made so far, by text
};

}  // namespace tavoe
