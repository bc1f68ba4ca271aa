#include "macro/macro_compiler.h"

#include "macro/macro_compiler_internal.h"
#include "macro/macro_error.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Keywords that name types become type words; an identifier directly followed by "(" names a
// function and every other identifier a variable.
void RekindTokens(std::vector<MacroToken>& tokens) {
    for (size_t i = 0; i < tokens.size(); ++i) {
        MacroToken& token = tokens[i];
        if (token.kind == TokenKind::Keyword && token.code >= static_cast<uint8_t>(Kw::Bool) &&
            token.code <= static_cast<uint8_t>(Kw::Void)) {
            token.kind = TokenKind::TypeWord;
        } else if (token.kind == TokenKind::Identifier) {
            bool call = i + 1 < tokens.size() && tokens[i + 1].op() == Op::LParen;
            token.kind = call ? TokenKind::FunctionName : TokenKind::VariableName;
        }
    }
}

MacroType TypeOf(Kw kw) {
    switch (kw) {
        case Kw::Bool:
            return MacroType::Bool;
        case Kw::Int:
            return MacroType::Int;
        default:
            return MacroType::String;
    }
}

bool IsArgcArgv(std::string_view name) {
    return name == "argc" || name == "argv";
}

}  // namespace

bool MacroCompiler::Fail(std::string_view message) {
    return Fail(Tok(), message);
}

bool MacroCompiler::Fail(const MacroToken& at, std::string_view message) {
    if (!macro_.error) {
        MacroErrorAt(app_, macro_, at, message);
    }
    return false;
}

bool MacroCompiler::Expect(Op op, std::string_view message) {
    if (!IsOp(op)) {
        return Fail(message);
    }
    Next();
    return true;
}

bool MacroCompiler::CheckAlterable(const PNode* target, const MacroToken& at) {
    const MacroVar* var = target->scope == VarScope::Global  ? &macro_.globals[target->index]
                          : target->scope == VarScope::Local ? &target->function->locals[target->index]
                                                             : nullptr;
    if (var != nullptr && var->isConst) {
        return Fail(at, "CONST variable can not be altered");
    }
    return true;
}

bool MacroCompiler::Enter() {
    if (++nesting_ > kMacroNestingMax) {
        return Fail("statements or expressions nested too deeply");
    }
    return true;
}

// Program: global declarations, then top-level statements (run before the entry function), then
// function definitions. A declaration met among the functions is taken as one more global.
void MacroCompiler::Run() {
    if (!macro_.tokens.empty()) {
        end_ = macro_.tokens.back();
        end_.kind = TokenKind::Operator;
        end_.code = 0;
        end_.text = {};
    }
    RekindTokens(macro_.tokens);
    tokens_ = macro_.tokens.data();
    count_ = macro_.tokens.size();
    if (macro_.FindGlobal("argc") == nullptr) {
        MacroVar argc;
        argc.name = "argc";
        argc.type = MacroType::Int;
        argc.isGlobal = true;
        macro_.globalIndex.Add(argc.name, static_cast<int32_t>(macro_.globals.size()));
        macro_.globals.push_back(argc);
        MacroVar argv;
        argv.name = "argv";
        argv.isArray = true;
        argv.isPointer = true;
        argv.isGlobal = true;
        macro_.globalIndex.Add(argv.name, static_cast<int32_t>(macro_.globals.size()));
        macro_.globals.push_back(argv);
    }
    NodeList init;
    while (!macro_.error && !AtEnd() && DeclarationFollows()) {
        ParseDeclaration(true);
    }
    phase_ = 2;
    // Global initialisers were appended while declaring; statements follow them.
    for (PNode* node = macro_.globalInit; node != nullptr; node = node->next) {
        init.tail = node;
    }
    init.head = macro_.globalInit;
    while (!macro_.error && !AtEnd() && !IsTypeWord() && !IsKw(Kw::Const)) {
        if (IsOp(Op::RBrace)) {
            Fail("'}' found without preceding '{'");
            break;
        }
        ParseStatement(init);
    }
    macro_.globalInit = init.head;
    phase_ = 3;
    while (!macro_.error && !AtEnd()) {
        if (IsOp(Op::RBrace)) {
            Fail("'}' found without matching '{'");
        } else if (DeclarationFollows()) {
            ParseDeclaration(true);
        } else {
            ParseFunction();
        }
    }
}

// A declaration is [const] type-word [const] [*] variable-name; a type word followed by a function
// name begins a function definition.
bool MacroCompiler::DeclarationFollows() const {
    size_t ahead = 0;
    if (Peek(ahead).kw() == Kw::Const) {
        ++ahead;
    }
    if (Peek(ahead).kind != TokenKind::TypeWord || Peek(ahead).kw() == Kw::Void) {
        return false;
    }
    ++ahead;
    while (Peek(ahead).kw() == Kw::Const || Peek(ahead).op() == Op::Star) {
        ++ahead;
    }
    return Peek(ahead).kind != TokenKind::FunctionName;
}

bool MacroCompiler::DeclareVariable(const MacroToken& at, MacroType type, bool isConst, bool isPointer,
                                    bool isArray, bool global, MacroVar** out) {
    std::string name(at.text);
    if (name.size() > kMacroNameMax) {
        return Fail(at, Format("VarNew: name too long: %s", name.c_str()));
    }
    if (!global && !IsArgcArgv(name) && macro_.FindGlobal(name) != nullptr) {
        return Fail(at, Format("Local variable '%s' is duplicate of global variable.", name.c_str()));
    }
    MacroVar var;
    var.name = name;
    var.type = type;
    var.isConst = isConst;
    var.isPointer = isPointer;
    var.isArray = isArray;
    var.isGlobal = global;
    // A name declared again keeps its first declaration.
    std::vector<MacroVar>& vars = global ? macro_.globals : function_->locals;
    MacroNameIndex& index = global ? macro_.globalIndex : function_->localIndex;
    int32_t slot = global ? macro_.GlobalIndexOf(name) : function_->FindLocal(name);
    if (slot < 0) {
        slot = static_cast<int32_t>(vars.size());
        index.Add(name, slot);
        vars.push_back(std::move(var));
    }
    *out = &vars[slot];
    return true;
}

// declaration: [const] type [const] [*] name [ "[" "]" ] ( ";" | "," declarator | "=" initialiser ";" )
bool MacroCompiler::ParseDeclaration(bool global) {
    bool constFirst = false;
    if (IsKw(Kw::Const)) {
        constFirst = true;
        Next();
    }
    if (!IsTypeWord() || IsKw(Kw::Void)) {
        return Fail("expected reserved word, function call, variable, or unary operator");
    }
    Kw typeWord = Tok().kw();
    MacroType type = TypeOf(typeWord);
    Next();
    while (true) {
        bool isConst = constFirst;
        if (IsKw(Kw::Const)) {
            isConst = true;
            Next();
        }
        bool isPointer = IsOp(Op::Star);
        if (type != MacroType::String && isPointer) {
            return Fail("pointer to ('*') not allowed with this var type");
        }
        if (type == MacroType::String && !isPointer) {
            return Fail("pointer to ('*') required with this var type");
        }
        if (isPointer) {
            Next();
        }
        if (Tok().kind != TokenKind::VariableName) {
            return Fail("expected variable name");
        }
        const MacroToken& nameTok = Tok();
        Next();
        bool isArray = false;
        if (!ParseArraySuffix(&isArray)) {
            return false;
        }
        MacroVar* var = nullptr;
        if (!DeclareVariable(nameTok, type, isConst, isPointer, isArray, global, &var)) {
            return false;
        }
        if (IsOp(Op::Semicolon)) {
            Next();
            return true;
        }
        if (IsOp(Op::Comma)) {
            Next();
            continue;
        }
        if (!IsOp(Op::Assign)) {
            return Fail("expected ';'");
        }
        Next();
        if (isConst) {
            bool negative = IsOp(Op::Minus) && Peek(1).kind == TokenKind::Literal;
            if (negative) {
                Next();
            }
            if (Tok().kind != TokenKind::Literal) {
                return Fail("expected number, boolean, or string");
            }
            var->value.SetText(negative ? "-" + std::string(Tok().text) : std::string(Tok().text));
            Next();
        } else {
            // The initialiser runs as an assignment before the program (globals) or at each call.
            PNode* target = macro_.NewNode(NodeKind::VarRef, nameTok);
            if (global) {
                target->scope = VarScope::Global;
                target->index = macro_.GlobalIndexOf(nameTok.text);
            } else {
                target->scope = VarScope::Local;
                target->function = function_;
                target->index = function_->FindLocal(nameTok.text);
            }
            PNode* value = ParseExpression();
            if (value == nullptr) {
                return false;
            }
            PNode* assign = macro_.NewNode(NodeKind::Assign, nameTok);
            assign->op1 = target;
            assign->op2 = value;
            if (global) {
                PNode** link = &macro_.globalInit;
                while (*link != nullptr) {
                    link = &(*link)->next;
                }
                *link = assign;
            } else {
                PNode** link = &function_->init;
                while (*link != nullptr) {
                    link = &(*link)->next;
                }
                *link = assign;
            }
        }
        return Expect(Op::Semicolon, "expected ';'");
    }
}

bool MacroCompiler::ParseParameters(MacroFunction& function) {
    if (IsKw(Kw::Void)) {
        Next();
        return Expect(Op::RParen, "missing right parenthesis ')'");
    }
    while (true) {
        if (!IsTypeWord() || IsKw(Kw::Void)) {
            return Fail("expected VOID or TYPE and parameter");
        }
        MacroType type = TypeOf(Tok().kw());
        Next();
        bool isPointer = false;
        while (IsOp(Op::Star)) {
            isPointer = true;
            Next();
        }
        if (Tok().kind != TokenKind::VariableName) {
            return Fail("expected VOID or TYPE and parameter");
        }
        const MacroToken& nameTok = Tok();
        if (!IsArgcArgv(nameTok.text) && macro_.FindGlobal(nameTok.text) != nullptr) {
            return Fail(Format("Parameter variable '%s' is duplicate of global variable.",
                               std::string(nameTok.text).c_str()));
        }
        Next();
        bool isArray = false;
        if (!ParseArraySuffix(&isArray)) {
            return false;
        }
        MacroVar* var = nullptr;
        if (!DeclareVariable(nameTok, type, false, isPointer, isArray, false, &var)) {
            return false;
        }
        function.paramCount = static_cast<int32_t>(function.locals.size());
        if (IsOp(Op::Comma)) {
            Next();
            continue;
        }
        return Expect(Op::RParen, "expected comma, or ')'");
    }
}

// function: type [*] name "(" ( void | parameters ) ")" "{" declarations statements "}"
bool MacroCompiler::ParseFunction() {
    const MacroToken& typeTok = Tok();
    if (!IsTypeWord()) {
        return Fail("expected VOID or VAR return type");
    }
    bool returnsValue = !IsKw(Kw::Void);
    Next();
    while (IsOp(Op::Star)) {
        Next();
    }
    if (Tok().kind != TokenKind::FunctionName) {
        return Fail("expected VOID or VAR return type");
    }
    const MacroToken& nameTok = Tok();
    if (nameTok.text.size() >= 32) {
        return Fail("function name too long");
    }
    std::string name = UpperAscii(nameTok.text);
    if (macro_.FindFunction(name) != nullptr) {
        return Fail("duplicate function name");
    }
    auto owned = std::make_unique<MacroFunction>();
    MacroFunction& function = *owned;
    macro_.functions.push_back(std::move(owned));
    function.name = name;
    function.returnsValue = returnsValue;
    function.file = nameTok.file;
    function.line = nameTok.line;
    function.column = nameTok.column;
    function_ = &function;
    Next();
    Next();  // "(" (a function name is always followed by it)
    if (IsOp(Op::RParen)) {
        return Fail("expected VOID or TYPE and parameter");
    }
    if (!ParseParameters(function) || !Expect(Op::LBrace, "missing left brace '{'")) {
        return false;
    }
    while (!macro_.error && DeclarationFollows()) {
        if (!ParseDeclaration(false)) {
            return false;
        }
    }
    NodeList body;
    if (!ParseStatements(body)) {
        return false;
    }
    if (AtEnd()) {
        return Fail("missing '}'");
    }
    body.Append(macro_.NewNode(NodeKind::EndFunction, Tok()));
    Next();
    function.body = body.head;
    function_ = nullptr;
    if (function.returnsValue && !function.returnSeen) {
        return Fail(typeTok, "'return(...)' expected but not found");
    }
    return true;
}

// Statements up to (not including) the "}" that closes the list; the caller takes the "}".
bool MacroCompiler::ParseStatements(NodeList& list) {
    while (!macro_.error && !AtEnd() && !IsOp(Op::RBrace)) {
        if (!ParseStatement(list)) {
            return false;
        }
    }
    return !macro_.error;
}

bool MacroCompiler::ParseBlockOrStatement(NodeList& list) {
    if (!IsOp(Op::LBrace)) {
        return ParseStatement(list);
    }
    Next();
    return ParseStatements(list) && Expect(Op::RBrace, "missing '}'");
}

bool MacroCompiler::ParseStatement(NodeList& list) {
    if (!Enter()) {
        return false;
    }
    bool ok = false;
    const MacroToken& tok = Tok();
    switch (tok.kind) {
        case TokenKind::Operator:
            switch (tok.op()) {
                case Op::Semicolon:
                    Next();
                    ok = true;
                    break;
                case Op::LBrace:
                    ok = ParseBlockOrStatement(list);
                    break;
                case Op::RBrace:
                    ok = Fail("'}' found without preceding '{'");
                    break;
                case Op::Star:
                    Next();
                    ok = Tok().kind == TokenKind::VariableName ? ParseAssignment(list)
                                                               : Fail("expected var name after '*'");
                    break;
                case Op::Inc:
                case Op::Dec: {
                    Next();
                    if (Tok().kind != TokenKind::VariableName) {
                        ok = Fail("variable expected before operation");
                        break;
                    }
                    const MacroToken& varTok = Tok();
                    PNode* target = ParseVarRef();
                    if (target == nullptr) {
                        break;
                    }
                    if (!CheckAlterable(target, varTok)) {
                        break;
                    }
                    PNode* step = macro_.NewNode(tok.op() == Op::Inc ? NodeKind::Add : NodeKind::Sub, tok);
                    step->op1 = target;
                    step->op2 = Literal(tok, "1");
                    PNode* assign = macro_.NewNode(NodeKind::Assign, varTok);
                    assign->op1 = target;
                    assign->op2 = step;
                    list.Append(assign);
                    ok = Expect(Op::Semicolon, "expected semicolon");
                    break;
                }
                case Op::PlusAssign:
                case Op::MinusAssign:
                case Op::StarAssign:
                case Op::SlashAssign:
                case Op::PercentAssign:
                case Op::Assign:
                    ok = Fail("variable expected before operation");
                    break;
                default:
                    ok = Fail("expected reserved word, function call, variable, or unary operator");
                    break;
            }
            break;
        case TokenKind::Keyword:
            switch (tok.kw()) {
                case Kw::If:
                    ok = ParseIf(list);
                    break;
                case Kw::While:
                    ok = ParseWhile(list);
                    break;
                case Kw::Switch:
                    ok = ParseSwitch(list);
                    break;
                case Kw::Return:
                    ok = ParseReturn(list);
                    break;
                case Kw::Do:
                case Kw::For:
                    ok = Fail("small 'C' does not handle this construction");
                    break;
                case Kw::Break:
                    ok = Fail("'break' found without preceding 'case'");
                    break;
                case Kw::Case:
                case Kw::Default:
                    ok = Fail(switchDepth_ == 0
                                  ? "CASE found but no SWITCH pending."
                                  : "expected reserved word, function call, variable, or unary operator");
                    break;
                default:
                    ok = Fail("expected reserved word, function call, variable, or unary operator");
                    break;
            }
            break;
        case TokenKind::FunctionName: {
            PNode* call = ParseCall(false);
            if (call != nullptr) {
                list.Append(call);
                ok = Expect(Op::Semicolon, "expected semicolon");
            }
            break;
        }
        case TokenKind::VariableName:
            ok = ParseAssignment(list);
            break;
        default:
            ok = Fail("expected reserved word, function call, variable, or unary operator");
            break;
    }
    Leave();
    return ok && !macro_.error;
}

// variable ( "=" | "+=" | "-=" | "*=" | "/=" | "%=" ) expression ";"   or   variable ( "++" | "--" ) ";"
bool MacroCompiler::ParseAssignment(NodeList& list) {
    const MacroToken& varTok = Tok();
    PNode* target = ParseVarRef();
    if (target == nullptr) {
        return false;
    }
    if (!CheckAlterable(target, varTok)) {
        return false;
    }
    const MacroToken& opTok = Tok();
    PNode* value = nullptr;
    NodeKind arithmetic = NodeKind::Literal;
    switch (opTok.op()) {
        case Op::Assign:
            Next();
            value = ParseExpression();
            break;
        case Op::PlusAssign:
            arithmetic = NodeKind::Add;
            break;
        case Op::MinusAssign:
            arithmetic = NodeKind::Sub;
            break;
        case Op::StarAssign:
            arithmetic = NodeKind::Mul;
            break;
        case Op::SlashAssign:
            arithmetic = NodeKind::Div;
            break;
        case Op::PercentAssign:
            arithmetic = NodeKind::Mod;
            break;
        case Op::Inc:
        case Op::Dec:
            Next();
            value = macro_.NewNode(opTok.op() == Op::Inc ? NodeKind::Add : NodeKind::Sub, opTok);
            value->op1 = target;
            value->op2 = Literal(opTok, "1");
            break;
        case Op::None:
            return Fail("expected assign or unary operator after variable name");
        default:
            return Fail("expected assign or arithmetic operator after variable name");
    }
    if (arithmetic != NodeKind::Literal) {
        Next();
        PNode* right = ParseExpression();
        if (right == nullptr) {
            return false;
        }
        value = macro_.NewNode(arithmetic, opTok);
        value->op1 = target;
        value->op2 = right;
    }
    if (value == nullptr) {
        return false;
    }
    PNode* assign = macro_.NewNode(NodeKind::Assign, varTok);
    assign->op1 = target;
    assign->op2 = value;
    list.Append(assign);
    return Expect(Op::Semicolon, "expected semicolon");
}

bool MacroCompiler::ParseOpenParen() {
    return Expect(Op::LParen, "missing left parenthesis '('");
}

// An optional "[]" after a declared name: *isArray tells whether it was there; false after the
// message when "[" is not closed.
bool MacroCompiler::ParseArraySuffix(bool* isArray) {
    *isArray = IsOp(Op::LBracket);
    if (!*isArray) {
        return true;
    }
    Next();
    return Expect(Op::RBracket, "expected ']'");
}

// The keyword of an if or while and its "(" condition ")": the new node with the condition as op1,
// or nullptr after the message.
PNode* MacroCompiler::ParseConditionHead(NodeKind kind) {
    PNode* node = macro_.NewNode(kind, Tok());
    Next();
    if (!ParseOpenParen()) {
        return nullptr;
    }
    node->op1 = ParseCondition();
    return node->op1 == nullptr ? nullptr : node;
}

// if "(" condition ")" statement-or-block [ else statement-or-block ]
bool MacroCompiler::ParseIf(NodeList& list) {
    PNode* node = ParseConditionHead(NodeKind::If);
    if (node == nullptr) {
        return false;
    }
    NodeList thenList;
    if (!ParseBlockOrStatement(thenList)) {
        return false;
    }
    node->op2 = thenList.head;
    if (IsKw(Kw::Else)) {
        Next();
        NodeList elseList;
        if (!ParseBlockOrStatement(elseList)) {
            return false;
        }
        node->op3 = elseList.head;
    }
    list.Append(node);
    return true;
}

// while "(" condition ")" statement-or-block
bool MacroCompiler::ParseWhile(NodeList& list) {
    PNode* node = ParseConditionHead(NodeKind::While);
    if (node == nullptr) {
        return false;
    }
    NodeList body;
    if (!ParseBlockOrStatement(body)) {
        return false;
    }
    node->op2 = body.head;
    list.Append(node);
    return true;
}

// Statements of one case, up to its "break" ";" (or, leniently, the next case or the closing "}").
bool MacroCompiler::ParseCaseBody(NodeList& list) {
    while (!macro_.error) {
        if (AtEnd()) {
            return Fail("missing '}'");
        }
        if (IsKw(Kw::Break)) {
            Next();
            return Expect(Op::Semicolon, "expected semicolon");
        }
        if (IsKw(Kw::Case) || IsKw(Kw::Default) || IsOp(Op::RBrace)) {
            return true;
        }
        if (!ParseStatement(list)) {
            return false;
        }
    }
    return false;
}

// switch "(" expression ")" "{" { case value, ... ":" statements break ";" | default ":" ... } "}"
bool MacroCompiler::ParseSwitch(NodeList& list) {
    PNode* node = macro_.NewNode(NodeKind::Switch, Tok());
    Next();
    if (!ParseOpenParen()) {
        return false;
    }
    node->op1 = ParseExpression();
    if (node->op1 == nullptr || !Expect(Op::RParen, "open parenthesis without matching close parenthesis") ||
        !Expect(Op::LBrace, "missing left brace '{'")) {
        return false;
    }
    ++switchDepth_;
    NodeList cases;
    bool ok = true;
    while (ok && !macro_.error) {
        if (AtEnd()) {
            ok = Fail("missing '}'");
            break;
        }
        if (IsOp(Op::RBrace)) {
            Next();
            break;
        }
        PNode* caseNode = macro_.NewNode(NodeKind::Case, Tok());
        if (IsKw(Kw::Case)) {
            Next();
            caseNode->index = static_cast<int32_t>(macro_.caseValues.size());
            std::vector<MacroValue>& values = macro_.caseValues.emplace_back();
            while (true) {
                bool negative = IsOp(Op::Minus) && Peek(1).kind == TokenKind::Literal;
                if (negative) {
                    Next();
                }
                if (Tok().kind != TokenKind::Literal) {
                    ok = Fail("case value must be constant expression");
                    break;
                }
                if (static_cast<int>(values.size()) == kMacroCaseValuesMax) {
                    ok = Fail("too many CASE values");
                    break;
                }
                values.emplace_back().SetText(negative ? "-" + std::string(Tok().text)
                                                       : std::string(Tok().text));
                Next();
                if (!IsOp(Op::Comma)) {
                    break;
                }
                Next();
            }
        } else if (IsKw(Kw::Default)) {
            Next();
            caseNode->isDefault = true;
        } else {
            ok = Fail("expected reserved word, function call, variable, or unary operator");
        }
        if (!ok || !Expect(Op::Colon, "expected ':'")) {
            ok = false;
            break;
        }
        NodeList body;
        ok = ParseCaseBody(body);
        caseNode->op2 = body.head;
        cases.Append(caseNode);
    }
    --switchDepth_;
    node->op2 = cases.head;
    list.Append(node);
    return ok && !macro_.error;
}

// return [ expression ] ";"
bool MacroCompiler::ParseReturn(NodeList& list) {
    if (function_ == nullptr) {
        return Fail("expected reserved word, function call, variable, or unary operator");
    }
    PNode* node = macro_.NewNode(NodeKind::Return, Tok());
    Next();
    function_->returnSeen = true;
    if (!IsOp(Op::Semicolon)) {
        if (!function_->returnsValue) {
            return Fail("function prototype specifies VOID return, but 'return(...)' found");
        }
        node->op1 = ParseExpression();
        if (node->op1 == nullptr) {
            return false;
        }
    }
    list.Append(node);
    return Expect(Op::Semicolon, "expected semicolon");
}

void MacroCompile(AppSession& app, CompiledMacro& macro) {
    MacroCompiler compiler(app, macro);
    compiler.Run();
}

}  // namespace tavoe
