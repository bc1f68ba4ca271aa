#include "macro_fixture.h"

using namespace tavoe;

// Every compiler message, at the token that causes it. Each program is written as T.C; lines and
// columns are those of the offending token.
using MacroCompileErrors = MacroFixture;

TEST_F(MacroCompileErrors, DeclarationMessages) {
    const std::pair<const char*, const char*> cases[] = {
        {"char name;\n", "T.C(1,6) pointer to ('*') required with this var type"},
        {"int *n;\n", "T.C(1,5) pointer to ('*') not allowed with this var type"},
        {"BOOL *b;\n", "T.C(1,6) pointer to ('*') not allowed with this var type"},
        {"int abcdefghijklmnopqrstuvwxyz123456;\n",
         "T.C(1,5) VarNew: name too long: abcdefghijklmnopqrstuvwxyz123456"},
        {"char *a[;\n", "T.C(1,9) expected ']'"},
        {"int a = 1, b;\n", "T.C(1,10) expected ';'"},
        {"int a b;\n", "T.C(1,7) expected ';'"},
        {"const int K = J;\n", "T.C(1,15) expected number, boolean, or string"},
        {"int ;\n", "T.C(1,5) expected variable name"},
        {"int g;\nvoid main(void)\n{\n    int g;\n}\n",
         "T.C(4,9) Local variable 'g' is duplicate of global variable."},
        {"int g;\nvoid f(char *g)\n{\n}\n",
         "T.C(2,14) Parameter variable 'g' is duplicate of global variable."},
    };
    for (const auto& [source, error] : cases) {
        EXPECT_EQ(FirstError(source), error) << source;
    }
}

TEST_F(MacroCompileErrors, FunctionMessages) {
    const std::pair<const char*, const char*> cases[] = {
        {"void main(void)\n{\n}\n}\n", "T.C(4,1) '}' found without matching '{'"},
        {"int x;\nx = 1;\n}\n", "T.C(3,1) '}' found without preceding '{'"},
        {"void main(void) { }\nx\n", "T.C(2,1) expected VOID or VAR return type"},
        {"void abcdefghijklmnopqrstuvwxyz123456(void) { }\n", "T.C(1,6) function name too long"},
        {"void f(void) { }\nvoid F(void) { }\n", "T.C(2,6) duplicate function name"},
        {"void f(int a int b) { }\n", "T.C(1,14) expected comma, or ')'"},
        {"void main() { }\n", "T.C(1,11) expected VOID or TYPE and parameter"},
        {"void f(void x) { }\n", "T.C(1,13) missing right parenthesis ')'"},
        {"void f(x) { }\n", "T.C(1,8) expected VOID or TYPE and parameter"},
        {"void f(void) x = 1;\n", "T.C(1,14) missing left brace '{'"},
        {"int f(void)\n{\n}\n", "T.C(1,1) 'return(...)' expected but not found"},
        {"void f(void)\n{\n    return 1;\n}\n",
         "T.C(3,12) function prototype specifies VOID return, but 'return(...)' found"},
        {"void f(void)\n{\n    if (1 == 1) {\n", "T.C(3,17) missing '}'"},
    };
    for (const auto& [source, error] : cases) {
        EXPECT_EQ(FirstError(source), error) << source;
    }
}

TEST_F(MacroCompileErrors, StatementMessages) {
    const std::string head = "int x;\nint a[];\nconst int K = 5;\nvoid main(void)\n{\n";
    const std::pair<const char*, const char*> cases[] = {
        {"K = 6;", "T.C(6,1) CONST variable can not be altered"},
        {"K++;", "T.C(6,1) CONST variable can not be altered"},
        {"y = 1;", "T.C(6,1) 'y' variable not declared"},
        {"a[1 = 2;", "T.C(6,5) expected array subscript end, ']'"},
        {"x[1] = 2;", "T.C(6,1) variable is not an array"},
        {"++;", "T.C(6,3) variable expected before operation"},
        {"+= 1;", "T.C(6,1) variable expected before operation"},
        {"* 5;", "T.C(6,3) expected var name after '*'"},
        {"case 1: x = 1;", "T.C(6,1) CASE found but no SWITCH pending."},
        {"break;", "T.C(6,1) 'break' found without preceding 'case'"},
        {"for (;;) x = 1;", "T.C(6,1) small 'C' does not handle this construction"},
        {"do x = 1;", "T.C(6,1) small 'C' does not handle this construction"},
        {"else x = 1;", "T.C(6,1) expected reserved word, function call, variable, or unary operator"},
        {"x = 1; int y;", "T.C(6,8) expected reserved word, function call, variable, or unary operator"},
        {"x < 1;", "T.C(6,3) expected assign or arithmetic operator after variable name"},
        {"x 1;", "T.C(6,3) expected assign or unary operator after variable name"},
        {"x = 1 x = 2;", "T.C(6,7) expected semicolon"},
        {"strlen(x) x = 1;", "T.C(6,11) expected semicolon"},
        {"if x == 1) x = 2;", "T.C(6,4) missing left parenthesis '('"},
        {"switch (x) { case 1, y: break; }", "T.C(6,22) case value must be constant expression"},
        {"switch (x) { case 1,2,3,4,5,6,7,8,9,10,11: break; }", "T.C(6,40) too many CASE values"},
        {"switch (x) { case 1 x = 2; break; }", "T.C(6,21) expected ':'"},
        {"switch (x) { x = 2; }",
         "T.C(6,14) expected reserved word, function call, variable, or unary operator"},
        {"switch (x) { case 1: x = 2; break; ", "T.C(7,1) missing '}'"},
        {"x = strlen(a);", "T.C(6,12) Not allowed to pass arrays to user written functions."},
        {"x = strlen(x x);", "T.C(6,14) expected comma, or ')'"},
    };
    for (const auto& [body, error] : cases) {
        EXPECT_EQ(FirstError(head + body + "\n}\n"), error) << body;
    }
}

TEST_F(MacroCompileErrors, ExpressionAndConditionMessages) {
    const std::string head = "int x;\nvoid main(void)\n{\n";
    const std::pair<const char*, const char*> cases[] = {
        {"x = -x;", "T.C(4,5) '-' arithmetic operator must be preceded by left hand side value"},
        {"x = 1 + ;",
         "T.C(4,9) RHS arithmetic operation must be string, variable, function call, or expression"},
        {"x = 1 * * 2;",
         "T.C(4,9) RHS arithmetic operation must be string, variable, function call, or expression"},
        {"x = ;", "T.C(4,5) expected element of expression"},
        {"x = (1 + 2;", "T.C(4,11) open parenthesis without matching close parenthesis"},
        {"if (x x) x = 1;", "T.C(4,7) expected relational operator"},
        {"if (x == 1 x) x = 1;", "T.C(4,12) open parenthesis without matching close parenthesis"},
        {"if (== 1) x = 1;", "T.C(4,5) expected left hand side of relational operator"},
        {"if (!>= 1) x = 1;", "T.C(4,6) expected left hand side of relational operator"},
        {"if () x = 1;", "T.C(4,5) expected left hand side of conditional expression"},
        {"while (x == 1 && || x) x = 1;", "T.C(4,18) expected left hand side of conditional expression"},
        {"if (x == ) x = 1;", "T.C(4,10) expected element of expression"},
    };
    for (const auto& [body, error] : cases) {
        EXPECT_EQ(FirstError(head + body + "\n}\n"), error) << body;
    }
}

TEST_F(MacroCompileErrors, CompilesTheAcceptedForms) {
    const char* programs[] = {
        "int a, b = 2;\nvoid main(void) { }\n",
        "char *s[];\nconst BOOL T = TRUE;\nconst int N = -4;\nBYTE *b;\nbool f;\nvoid main(void) { }\n",
        "int x;\nx = 3;\nvoid main(void) { x++; x--; ++x; --x; x += 2; x -= 1; x *= 3; x /= 2; x %= 5; *x = "
        "1; }\n",
        "int f(int a, char *s, BOOL b, char *arr[])\n{\n    return(a);\n}\nvoid main(void) { f(1, \"\", "
        "TRUE, 0); }\n",
        "char *g(void) { return \"\"; }\nvoid main(void) { }\n",
        "void main(void)\n{\n    int i = 1;\n    while (i < 3) i = i + 1;\n"
        "    if (i == 3) ; else { i = 0; }\n"
        "    switch (i) { case 1, 2: i = 5; break; default: i = 6; break; case 'x': break; }\n}\n",
        "void main(void) { }\nint late;\nvoid other(void) { late = 1; }\n",
    };
    for (const char* program : programs) {
        EXPECT_EQ(FirstError(program), "") << program;
    }
}

TEST_F(MacroCompileErrors, DeepNestingIsRefusedNotCrashed) {
    std::string deep = "void main(void)\n{\n";
    for (int i = 0; i < 5000; ++i) {
        deep += "if (1 == 1) {\n";
    }
    EXPECT_EQ(FirstError(deep), "T.C(1026,5) statements or expressions nested too deeply");
    std::string parens =
        "int x;\nvoid main(void) { x = " + std::string(5000, '(') + "1" + std::string(5000, ')') + "; }\n";
    EXPECT_EQ(FirstError(parens), "T.C(2,1046) statements or expressions nested too deeply");
}
