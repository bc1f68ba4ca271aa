#include <cstdint>
#include <random>

#include "macro_fixture.h"

using namespace tavoe;

using MacroRun = MacroFixture;

TEST_F(MacroRun, ArithmeticIsLeftToRightOn32BitNumbers) {
    const EvalCase cases[] = {
        {"", "r = 2 + 3 * 4;", "20"},
        {"", "r = 2 + (3 * 4);", "14"},
        {"", "r = 10 - 2 - 3;", "5"},
        {"", "r = -7 / 2;", "-3"},
        {"", "r = -7 % 3;", "-1"},
        {"", "r = \"12abc\" + 1;", "13"},
        {"", "r = \"abc\" * 5;", "0"},
        {"", "r = \"007\" + 0;", "7"},
        {"", "r = \"+5\" - 1;", "4"},
        {"", "r = 2147483647 - 1 + 1;", "2147483647"},
        {"", "r = -2147483648 % -1;", "0"},
        {"int i;", "i = 5; i += 2; i *= 3; i -= 1; i /= 4; i %= 3; r = i;", "2"},
        {"int i;", "i = 5; i++; ++i; i--; r = i;", "6"},
        {"", "r = RESULT;", "<null>"},
        {"int i;", "i = 4 * 5; r = RESULT;", "20"},
    };
    for (const EvalCase& c : cases) {
        EXPECT_EQ(Eval(c.decls, c.body), c.expected) << c.body;
    }
}

// Random chains of the five operators, evaluated by the macro and by a reference that applies them
// strictly left to right on 64-bit numbers and reports what does not fit in 32 bits.
TEST_F(MacroRun, ArithmeticMatchesALeftToRightReference) {
    std::mt19937 rng(18);
    const char ops[] = {'+', '-', '*', '/', '%'};
    for (int round = 0; round < 60; ++round) {
        int terms = 2 + static_cast<int>(rng() % 4);
        int64_t value = static_cast<int64_t>(rng() % 2001) - 1000;
        std::string text = std::to_string(value);
        std::string expected;
        for (int t = 1; t < terms && expected.empty(); ++t) {
            char op = ops[rng() % 5];
            int64_t operand = static_cast<int64_t>(rng() % 201) - 100;
            text += std::string(" ") + op + " " +
                    (operand < 0 ? "(0 - " + std::to_string(-operand) + ")" : std::to_string(operand));
            if ((op == '/' || op == '%') && operand == 0) {
                expected = "divide";
            } else {
                value = op == '+'   ? value + operand
                        : op == '-' ? value - operand
                        : op == '*' ? value * operand
                        : op == '/' ? value / operand
                                    : value % operand;
                if (value > INT32_MAX || value < INT32_MIN) {
                    expected = "overflow";
                }
            }
        }
        std::string got = Eval("", "r = " + text + ";");
        if (expected == "divide") {
            EXPECT_NE(got.find("RUNTIME: can not divide by zero"), std::string::npos) << text;
        } else if (expected == "overflow") {
            EXPECT_NE(got.find("RUNTIME: integer overflow"), std::string::npos) << text;
        } else {
            EXPECT_EQ(got, std::to_string(value)) << text;
        }
    }
}

TEST_F(MacroRun, ComparisonModesFollowTypesThenValues) {
    const EvalCase cases[] = {
        {"", "r = \"F\"; if (10 > 9) r = \"T\";", "T"},
        {"", "r = \"F\"; if (\"abc\" > \"abd\") r = \"T\";", "F"},
        {"", "r = \"F\"; if (\"10\" > \"9\") r = \"T\";", "T"},
        {"char *s;", "s = \"10\"; r = \"F\"; if (s > \"9\") r = \"T\";", "F"},
        {"int n;", "n = 10; r = \"F\"; if (n > \"9\") r = \"T\";", "T"},
        {"", "r = \"F\"; if (99999999999 > 2147483647) r = \"T\";", "T"},
        {"", "r = \"F\"; if (-3 < 2) r = \"T\";", "T"},
        {"", "r = \"F\"; if (TRUE == TRUE) r = \"T\";", "T"},
        {"BOOL b;", "b = FALSE; r = \"F\"; if (!b) r = \"T\";", "T"},
        {"BOOL b;", "b = TRUE; r = \"F\"; if (b) r = \"T\";", "T"},
        {"int n;", "n = 0; r = \"F\"; if (!n) r = \"T\";", "T"},
        {"char *s;", "s = \"\"; r = \"F\"; if (s) r = \"T\";", "F"},
        {"char *s;", "s = \"0\"; r = \"F\"; if (s) r = \"T\";", "T"},
        {"", "r = \"F\"; if (\"x\" != \"y\" && 1 == 1) r = \"T\";", "T"},
        {"", "r = \"F\"; if (1 == 2 || 2 == 2) r = \"T\";", "T"},
        {"", "r = \"F\"; if (!1 == 1) r = \"T\";", "F"},
    };
    for (const EvalCase& c : cases) {
        EXPECT_EQ(Eval(c.decls, c.body), c.expected) << c.body;
    }
}

// No precedence between && and ||: the chain runs left to right and stops at the first connector
// that settles it, so c (a call that records itself) is not looked at.
TEST_F(MacroRun, ConnectorsStopEarlyLeftToRight) {
    WriteMacro("T.C",
               "int a, b;\nchar *seen;\nvoid main(void)\n{\n    a = 2; b = 2; seen = \"no\";\n"
               "    if (a == 1 && b == 2 || c() == TRUE) seen = \"then\";\n}\n"
               "BOOL c(void) { seen = \"yes\"; return(TRUE); }\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Global("t", "seen"), "no");
}

TEST_F(MacroRun, BooleanOrderingIsAnError) {
    const std::pair<const char*, const char*> cases[] = {
        {">", "RUNTIME: can not use '>' to compare boolean values"},
        {"<", "RUNTIME: can not use '<' to compare boolean values"},
        {">=", "RUNTIME: can not use '>=' to compare boolean values"},
        {"<=", "RUNTIME: can not use '<=' to compare boolean values"},
    };
    for (const auto& [op, message] : cases) {
        EXPECT_EQ(Eval("BOOL b;", std::string("b = TRUE; if (b ") + op + " FALSE) r = 1;"),
                  std::string("<error: T.C(5,17) ") + message + ">");
    }
}

TEST_F(MacroRun, SwitchMatchesDigitsAsNumbersAndFallsToDefault) {
    const char* program =
        "switch (v) { case 7: r = \"seven\"; break; case \"abc\", 'x': r = \"text\"; break;"
        " default: r = \"other\"; break; case 9: r = \"nine\"; break; }";
    EXPECT_EQ(Eval("char *v;", std::string("v = \"007\"; ") + program), "seven");
    EXPECT_EQ(Eval("char *v;", std::string("v = \"x\"; ") + program), "text");
    EXPECT_EQ(Eval("char *v;", std::string("v = \"zzz\"; ") + program), "other");
    // Cases after the first default are never examined; a null value takes the default.
    EXPECT_EQ(Eval("char *v;", std::string("v = 9; ") + program), "other");
    EXPECT_EQ(Eval("char *v;", program), "other");
    EXPECT_EQ(Eval("int v;", "v = 3; r = \"none\"; switch (v) { case 1: r = \"one\"; break; }"), "none");
}

TEST_F(MacroRun, WhileLoopsAndNestedFunctions) {
    EXPECT_EQ(Eval("int i; int s;", "i = 0; s = 0; while (i < 100) { i = i + 1; s = s + i; } r = s;"),
              "5050");
    // The first function is the entry; the others may follow it.
    WriteMacro("T.C",
               "int r;\nchar *s;\nvoid main(void)\n{\n    r = fact(10);\n    s = join(join(\"a\", \"b\"), "
               "join(\"c\", \"d\"));\n}\n"
               "int fact(int n)\n{\n    if (n <= 1) return(1);\n    return(n * fact(n - 1));\n}\n"
               "char *join(char *a, char *b) { return(strcompose(a, \"-\", b)); }\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Global("t", "r"), "3628800");
    EXPECT_EQ(Global("t", "s"), "a-b-c-d");
}

TEST_F(MacroRun, RecursionLimitsAndPswPool) {
    // The sixteenth nested activation of one function overflows its frames.
    EXPECT_EQ(FirstError("void main(void) { f(1); }\nvoid f(int n)\n{\n    if (n < 16) f(n + 1);\n}\n"),
              "T.C(4,17) RUNTIME: stack overflow, check for recursion or circularity.");
    EXPECT_EQ(FirstError("void main(void) { f(1); }\nvoid f(int n)\n{\n    if (n < 15) f(n + 1);\n}\n"), "");
    EXPECT_EQ(FirstError("void main(void) { a(); }\nvoid a(void) { b(); }\nvoid b(void) { a(); }\n"),
              "T.C(3,16) RUNTIME: stack overflow, check for recursion or circularity.");
    std::string deep = "int x;\nvoid main(void)\n{\n";
    for (int i = 0; i < 70; ++i) {
        deep += "if (1 == 1) {\n";
    }
    deep += "x = 1;\n" + std::string(70, '}') + "\n}\n";
    EXPECT_EQ(FirstError(deep), "T.C(67,1) RUNTIME: out of PSWs, look for infinite recursion or circularity");
}

TEST_F(MacroRun, RuntimeErrorsStopAtTheNode) {
    const std::string head = "int n;\nBOOL b;\nchar *a[];\nvoid main(void)\n{\n    g();\n";
    const std::pair<const char*, const char*> cases[] = {
        {"b = \"yes\";", "T.C(7,1) RUNTIME: type BOOL may only be set to TRUE or FALSE"},
        {"n = \"1.5\";", "T.C(7,1) RUNTIME: type INT may only be set to an integer number"},
        {"n = \"-\";", "T.C(7,1) RUNTIME: type INT may only be set to an integer number"},
        {"n = n + 1;", "T.C(7,7) RUNTIME: can not do arithmetic on null value"},
        {"n = 5 / (3 - 3);", "T.C(7,7) RUNTIME: can not divide by zero"},
        {"n = 7 % 0;", "T.C(7,7) RUNTIME: can not divide by zero"},
        {"n = 65536 * 65536;", "T.C(7,11) RUNTIME: integer overflow"},
        {"n = -2147483648 / -1;", "T.C(7,17) RUNTIME: integer overflow"},
        {"n = \"99999999999\" + 0;", "T.C(7,19) RUNTIME: integer overflow"},
        {"nosuch(1);", "T.C(7,1) RUNTIME: unknown function"},
        {"f(1, 2);", "T.C(7,1) RUNTIME: more parms passed than required"},
        {"f();", "T.C(7,1) RUNTIME: fewer parms passed than required"},
        {"a[-1] = 1;", "T.C(7,1) RUNTIME: unable to resolve left hand side var reference"},
        {"n = a[\"x\"];", "T.C(7,5) RUNTIME: invalid array subscript"},
        {"a[5000000] = 1;", "T.C(7,1) RUNTIME: array subscript too large"},
    };
    for (const auto& [body, error] : cases) {
        EXPECT_EQ(FirstError(head + body + "\n}\nvoid f(int p) { }\nvoid g(void) { }\n"), error) << body;
    }
}

TEST_F(MacroRun, ArraysGrowToTheSubscript) {
    WriteMacro("T.C",
               "char *a[];\nint n;\nvoid main(void)\n{\n    a[3] = \"x\";\n    a[1] = a[3];\n"
               "    n = 2;\n    a[n] = \"y\";\n}\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Element("t", "a", 0), "");
    EXPECT_EQ(Element("t", "a", 1), "x");
    EXPECT_EQ(Element("t", "a", 2), "y");
    EXPECT_EQ(Element("t", "a", 3), "x");
}

TEST_F(MacroRun, ArgumentsAndCache) {
    WriteMacro("ARGS.C",
               "int runs;\nchar *first;\nvoid main(void)\n{\n    runs = runs + 1;\n    first = argv[2];\n}\n"
               "int seed = 0;\n");
    // A global initialiser runs at every start, so runs counts from its value each time... unless
    // the variable carries no initialiser: runs keeps its value between runs of the cached macro.
    ASSERT_EQ(Run("args a 'b c' d"), -1);  // runs is null on the first pass
    WriteMacro("ARGS.C",
               "int runs = 0;\nint total;\nchar *first;\nint count;\n"
               "void main(void)\n{\n    if (!total) total = 0;\n    total = total + 1;\n"
               "    first = argv[2];\n    count = argc;\n}\n");
    ASSERT_EQ(Run("args a 'b c' d"), 0);
    EXPECT_EQ(Global("args", "count"), "4");
    EXPECT_EQ(Global("args", "first"), "'b c'");
    EXPECT_EQ(Element("args", "argv", 0), work + "/ARGS.C");
    // The cached compile is used again: editing the source changes nothing, globals carry over.
    WriteMacro("ARGS.C", "void main(void) { }\n");
    ASSERT_EQ(Run("args x"), 0);
    EXPECT_EQ(Global("args", "total"), "2");
    EXPECT_EQ(Global("args", "count"), "2");
    // The name as typed is the key: another spelling compiles the (changed) source again.
    ASSERT_EQ(Run("ARGS"), 0);
    EXPECT_EQ(engine.cache.size(), 2u);
    VarSetValue(app, "ZCACHE.MACROS", "FALSE");
    WriteMacro("OTHER.C", "void main(void) { }\n");
    ASSERT_EQ(Run("other"), 0);
    EXPECT_EQ(engine.FindCached("other"), nullptr);
}

TEST_F(MacroRun, MacrosWithoutFunctionsRunTheirStatements) {
    WriteMacro("T.C", "int x;\nchar *s;\nx = 6 * 7;\ns = strcompose(\"v\", x);\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Global("t", "s"), "v42");
}

TEST_F(MacroRun, EscapeStopsAnEndlessLoop) {
    host.escapeAfter = 2;
    EXPECT_EQ(FirstError("int i;\nvoid main(void)\n{\n    i = 0;\n    while (i == 0) { i = 0; }\n}\n"),
              "T.C(5,5) RUNTIME: macro ended by Escape");
    EXPECT_EQ(engine.FindCached("t"), nullptr);
}

TEST_F(MacroRun, TraceListsStepsAndCancelEndsQuietly) {
    WriteMacro("T.C",
               "int i;\nvoid main(void)\n{\n    trace(\"on\");\n    i = 1;\n    if (i == 1) i = i + 2;\n"
               "    switch (i) { case 3: i = 4; break; }\n}\n");
    ASSERT_EQ(Run("t"), 0);
    ASSERT_EQ(host.listings.size(), 7u);
    EXPECT_EQ(host.listings[0],
              "MAIN(5): i = 1\n\nVars used in this statement and values prior to execution:\n\ni = NULL\n");
    EXPECT_EQ(host.listings[1].substr(0, host.listings[1].find('\n')), "MAIN(6): IF (i == 1)");
    EXPECT_EQ(host.listings[2].substr(0, host.listings[2].find('\n')), "MAIN(6): i = i + 2");
    EXPECT_EQ(host.listings[4], "MAIN(7): case 3:");
    EXPECT_EQ(host.listings[6].substr(0, host.listings[6].find('\n')), "MAIN(8): Exit function: MAIN");
    host.listings.clear();
    engine.cache.clear();
    host.answers = {TraceAnswer::Step, TraceAnswer::EndMacro};
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(host.listings.size(), 2u);
    EXPECT_EQ(Global("t", "i"), "1");
    EXPECT_FALSE(std::filesystem::exists(work + "/errmsg.txt"));
    // Comparisons without an operator are listed against what they test; unknown calls as such.
    host.listings.clear();
    engine.cache.clear();
    WriteMacro("T.C",
               "BOOL b;\nint n;\nchar *s, *a[];\nvoid main(void)\n{\n    trace(\"on\");\n    b = TRUE;\n"
               "    if (b && !n || s) n = 1;\n    a[0] = 5;\n    s = a[0] + 1 * (2 - n);\n    nosuch(s, "
               "\"x\");\n}\n");
    EXPECT_EQ(Run("t"), -1);
    ASSERT_EQ(host.listings.size(), 6u);
    EXPECT_EQ(
        host.listings[1],
        "MAIN(8): IF (b == TRUE && n == 0 || s != \"\")\n\nVars used in this statement and values prior to "
        "execution:\n\nb = TRUE\nn = NULL\ns = NULL\n");
    EXPECT_EQ(host.listings[4].substr(0, host.listings[4].find('\n')), "MAIN(10): s = a[0] + 1 * (2 - n)");
    EXPECT_NE(host.listings[4].find("a[0] = 5\n"), std::string::npos);
    EXPECT_EQ(host.listings[5].substr(0, host.listings[5].find('\n')), "MAIN(11): ?unresolved?(s, \"x\")");
    // A step count turns the trace off by itself.
    host.listings.clear();
    engine.cache.clear();
    WriteMacro("T.C", "int i;\nvoid main(void)\n{\n    trace(2);\n    i = 1;\n    i = 2;\n    i = 3;\n}\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(host.listings.size(), 2u);
}

TEST_F(MacroRun, ErrorFileIsShownByMergingOrBrowsing) {
    EXPECT_EQ(FirstError("int x;\nvoid main(void) { x = ; }\n"), "T.C(2,23) expected element of expression");
    EXPECT_EQ(Read(work + "/errmsg.txt"),
              work + "/T.C\n" + work + "/T.C(2,23) expected element of expression\n");
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0], "browse " + work + "/errmsg.txt");
    ASSERT_FALSE(app.messages.empty());
    EXPECT_EQ(app.messages.back().text.substr(0, 42), "Options, Editor, 'NewEdits' must be set to");
    host.commands.clear();
    VarSetValue(app, "ZNEWEDITS", "StackInCurrentSession");
    FirstError("int x;\nvoid main(void) { x = ; }\n");
    EXPECT_EQ(host.commands,
              (std::vector<std::string>{"edit " + work + "/T.C", "mergemsg " + work + "/errmsg.txt",
                                        "top;locate special"}));
}

TEST_F(MacroRun, ErrorFileFallsBackWhenTheWorkingDirectoryIsGone) {
    std::string runtime = (root / "runtime").string();
    std::filesystem::create_directories(runtime);
    std::string saved = std::getenv("XDG_RUNTIME_DIR") != nullptr ? std::getenv("XDG_RUNTIME_DIR") : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    WriteMacro("T.C", "x = 1;\n");
    MacroLaunch request{"t", work + "/T.C", "", (root / "gone").string()};
    EXPECT_EQ(MacroStart(app, engine, request), -1);
    EXPECT_EQ(Read(runtime + "/errmsg.txt"),
              work + "/T.C\n" + work + "/T.C(1,1) 'x' variable not declared\n");
    if (saved.empty()) {
        ::unsetenv("XDG_RUNTIME_DIR");
    } else {
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    }
}

TEST_F(MacroRun, ArgumentWordsKeepTheirQuotes) {
    EXPECT_EQ(MacroSplitArguments("/p/M.C", "a 'b c' d"),
              (std::vector<std::string>{"/p/M.C", "a", "'b c'", "d"}));
    EXPECT_EQ(MacroSplitArguments("/p/M.C", "  \"x y\"z  'open"),
              (std::vector<std::string>{"/p/M.C", "\"x y\"", "z", "'open"}));
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += "w" + std::to_string(i) + " ";
    }
    EXPECT_EQ(MacroSplitArguments("/p/M.C", many).size(), 32u);
}

// Hundreds of globals, locals and distinct literals: every reference reaches its own variable and
// every literal keeps its own text, however many names the lookup tables hold. Literals that read as
// the same number but are written differently stay different texts.
TEST_F(MacroRun, ManyNamesAndLiteralsKeepTheirOwnSlots) {
    constexpr int kGlobals = 300;
    constexpr int kLocals = 120;
    std::string text = "int total;\nchar *joined;\n";
    for (int i = 0; i < kGlobals; ++i) {
        text += "int g" + std::to_string(i) + ";\n";
    }
    text += "void main(void)\n{\n";
    for (int i = 0; i < kLocals; ++i) {
        text += "    int l" + std::to_string(i) + ";\n";
    }
    text += "    total = 0;\n";
    int64_t total = 0;
    for (int i = 0; i < kGlobals; ++i) {
        text += "    g" + std::to_string(i) + " = " + std::to_string(i * 7 + 3) + ";\n";
    }
    for (int i = 0; i < kLocals; ++i) {
        text += "    l" + std::to_string(i) + " = g" + std::to_string(kGlobals - 1 - i) + " - " +
                std::to_string(i) + ";\n";
        text += "    total = total + l" + std::to_string(i) + ";\n";
        total += (kGlobals - 1 - i) * 7 + 3 - i;
    }
    text += "    joined = strcompose(\"7\", 7, \"007\", 007, -7, \"-7\");\n}\n";
    WriteMacro("T.C", text);
    ASSERT_EQ(Run("t"), 0) << ErrorLine(1);
    EXPECT_EQ(Global("t", "total"), std::to_string(total));
    EXPECT_EQ(Global("t", "g0"), "3");
    EXPECT_EQ(Global("t", "g150"), std::to_string(150 * 7 + 3));
    EXPECT_EQ(Global("t", "g299"), std::to_string(299 * 7 + 3));
    EXPECT_EQ(Global("t", "joined"), "77007007-7-7");
}
