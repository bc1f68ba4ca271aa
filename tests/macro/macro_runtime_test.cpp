#include <algorithm>

#include "macro/macro_runtime.h"
#include "macro_fixture.h"

using namespace tavoe;

using MacroRuntime = MacroFixture;

TEST(MacroRuntimeTable, HoldsTheFortyEightFunctionsInNameOrder) {
    ASSERT_EQ(RuntimeFunctionCount(), 48u);
    for (size_t i = 1; i < RuntimeFunctionCount(); ++i) {
        EXPECT_LT(RuntimeFunctionName(i - 1), RuntimeFunctionName(i));
        EXPECT_NE(FindRuntimeFunction(RuntimeFunctionName(i)), nullptr);
    }
    EXPECT_EQ(FindRuntimeFunction("strlen"), nullptr);  // callers upper-case the name first
}

TEST_F(MacroRuntime, StringFunctionsOnEdgeCases) {
    const EvalCase cases[] = {
        {"char *s;", "s = \"abc\"; strcenter(s, \"*\", 8); r = s;", "**abc***"},
        {"char *s;", "s = \"abcdef\"; strcenter(s, \"*\", 4); r = s;", "abcdef"},
        {"", "r = strgenstr(\"ab\", 5);", "ababa"},
        {"", "r = strlen(strgenstr(\"xyz\", 5000));", "1024"},
        {"", "r = strfindsubstr(\"abcabc\", \"bc\", 3);", "5"},
        {"", "r = strfindsubstr(\"abcabc\", \"bc\", 6);", "0"},
        {"", "r = strfindsubstr(\"abc\", \"c\", 99);", "0"},
        {"", "r = strfindlast(\"abcabc\", \"bc\");", "5"},
        {"", "r = strfindlast(\"abc\", \"x\");", "0"},
        {"", "r = strgetsubstr(\"abcdef\", 2, 3);", "bcd"},
        {"char *s;", "s = \"abcdef\"; strdelsubstr(s, 2, 3); r = s;", "aef"},
        {"char *s;", "s = \"abc\"; strinssubstr(s, \"XY\", 4); r = s;", "abcXY"},
        {"char *s;", "s = \"abc\"; strinssubstr(s, \"XY\", 1); r = s;", "XYabc"},
        {"char *s;", "s = \"abcdef\"; strovlsubstr(s, \"XY\", 5); r = s;", "abcdXY"},
        {"char *s;", "s = \"abc\"; strovlsubstr(s, \"XYZ\", 3); r = s;", "abXYZ"},
        {"char *s;", "s = \"ab\"; strcat(s, \"cd\"); r = s;", "abcd"},
        {"char *s;", "strcpy(s, \"copy\"); r = s;", "copy"},
        {"char *s;", "strncpy(s, \"abcdef\", 3); r = s;", "abc"},
        {"", "r = strcompose(\"a\", 1, TRUE);", "a1TRUE"},
        {"", "r = strcmp(\"abc\", \"abd\");", "-1"},
        {"", "r = strcmp(\"b\", \"a\");", "1"},
        {"", "r = strncmp(\"abcX\", \"abcY\", 3);", "0"},
        {"", "r = strncmp(\"abcX\", \"abcY\", 4);", "-1"},
        {"char *s;", "s = \"MiXed\"; strupr(s); r = s;", "MIXED"},
        {"char *s;", "s = \"MiXed\"; r = strlwr(s);", "mixed"},
        {"", "r = strrev(\"abc\");", "cba"},
        {"char *s;", "s = \"  x  \"; strstripleading(s, \" \"); r = strcompose(\"[\", s, \"]\");", "[x  ]"},
        {"char *s;", "s = \"xx--\"; strstriptrailing(s, \"-\"); r = s;", "xx"},
        {"", "r = strparseword(\"foo bar_baz\", 6);", "bar"},
        {"", "r = strparseword(\"foo bar\", 4);", ""},
        {"", "r = strparseword(\"foo\", 0);", "foo"},
        {"", "r = strisalnum(\"ab12\");", "TRUE"},
        {"", "r = strisalnum(\"\");", "FALSE"},
        {"", "r = strisalpha(\"ab1\");", "FALSE"},
        {"", "r = strisdigit(\"0123\");", "TRUE"},
        {"", "r = strislower(\"abc\");", "TRUE"},
        {"", "r = strisupper(\"ABc\");", "FALSE"},
        {"", "r = strisinset(\"bc\", \"abcd\");", "TRUE"},
        {"", "r = strisinset(\"\", \"abcd\");", "FALSE"},
        {"", "r = negate(\"TRUE\");", "FALSE"},
        {"", "r = getenv(\"\");", ""},
        {"",
         "r = putenv(\"TAVOE_MACRO_TEST_VAR\", \"v1\"); r = strcompose(r, getenv(\"TAVOE_MACRO_TEST_VAR\"));",
         "OKv1"},
        {"", "r = putenv(\"\", \"v\");", "ERROR"},
        {"", "r = strlen(date());", "19"},
        {"", "r = tavoservice(\"\");", ""},
    };
    for (const EvalCase& c : cases) {
        EXPECT_EQ(Eval(c.decls, c.body), c.expected) << c.body;
    }
}

TEST_F(MacroRuntime, ParseSplitsWithAndWithoutQuotes) {
    WriteMacro("T.C",
               "char *w[];\nchar *x[];\nint n, m;\nvoid main(void)\n{\n"
               "    n = strparse(w, \"one,\\\"two, three\\\",four\", \",\");\n"
               "    m = strparsex(x, \"one,\\\"two, three\\\",four\", \",\");\n}\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Global("t", "n"), "3");
    EXPECT_EQ(Element("t", "w", 0), "one");
    EXPECT_EQ(Element("t", "w", 1), "two, three");
    EXPECT_EQ(Element("t", "w", 2), "four");
    EXPECT_EQ(Global("t", "m"), "4");
    EXPECT_EQ(Element("t", "x", 1), "\"two");
    EXPECT_EQ(Element("t", "x", 2), "three\"");
}

// Words split by blanks agree with a plain reference split (no quotes, blank delimiter).
TEST_F(MacroRuntime, ParseAgreesWithAReferenceSplit) {
    const char* texts[] = {"a b  c", "   lead", "trail   ", "", "one", "x y z w v u"};
    for (const char* text : texts) {
        WriteMacro("T.C", std::string("char *w[];\nint n;\nvoid main(void) { n = strparsex(w, \"") + text +
                              "\", \" \"); }\n");
        engine.cache.clear();
        ASSERT_EQ(Run("t"), 0);
        std::vector<std::string> expected;
        std::istringstream in(text);
        for (std::string word; in >> word;) {
            expected.push_back(word);
        }
        ASSERT_EQ(Global("t", "n"), std::to_string(expected.size())) << text;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(Element("t", "w", i), expected[i]) << text;
        }
    }
}

TEST_F(MacroRuntime, MisuseStopsTheMacroWithTheFunctionsMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"strlen();", "RUNTIME: one parameter required, P1=string"},
        {"strupr(\"a\", \"b\");", "RUNTIME: one parameter required, P1=string"},
        {"getenv();", "RUNTIME: one parameter required, P1=environment-variable-name"},
        {"putenv(\"a\");", "RUNTIME: two parameters required,  P1=environment-variable-name  P2=value"},
        {"fileclose();", "RUNTIME: one parameter required, P1=file-handle"},
        {"filecopy(\"a\");", "RUNTIME: two parameters required, P1=source-file-name, P2=target-file-name"},
        {"filecopy(\"a\", \"/tmp/b\");",
         "RUNTIME: source-file-name must be fully qualified when edit/browse not active."},
        {"filecopy(\"/tmp/a\", \"b\");",
         "RUNTIME: target-file-name must be fully qualified when edit/browse not active."},
        {"filedelete();", "RUNTIME: one parameter required, P1=file-spec"},
        {"fileexist();", "RUNTIME: one parameter required, P1=file-spec"},
        {"fileisdir(1, 2);", "RUNTIME: one parameter required, P1=file-spec"},
        {"fileopen(\"a\");", "RUNTIME: two parameters required, P1=file-name, P2=open-mode"},
        {"fileprint();", "RUNTIME: one parameter required, P1=file-name"},
        {"filerecread(1);", "RUNTIME: two parameters required, P1=file-handle, P2=record-receiver-buf"},
        {"filerecread(1, \"x\");", "RUNTIME: P2 must be a VAR"},
        {"filerecread(7, s);", "RUNTIME: P1 is not a valid file handle"},
        {"filerecwrite(1);", "RUNTIME: two parameters required, P1=file-handle, P2=record"},
        {"filerecwrite(0, \"x\");", "RUNTIME: P1 is not a valid file handle"},
        {"msg();", "RUNTIME: one parameter required, P1=message-text"},
        {"negate();", "RUNTIME: one parameter required, P1=boolean-state"},
        {"negate(\"true\");", "RUNTIME: not a valid boolean value"},
        {"tavoservice();", "RUNTIME: one parm required: P1=service-selector, P2=optional, P3=optional"},
        {"strcat(s);", "RUNTIME: two parameters required, P1=target-string, P2=catenate-string"},
        {"strcat(\"a\", \"b\");", "RUNTIME: parm1 must be a variable"},
        {"s = strgenstr(\"x\", 1000); strcat(s, strgenstr(\"y\", 25));",
         "RUNTIME: catenated strings would overflow buffer"},
        {"strcenter(s, \"ab\", 5);", "RUNTIME: CENTER pad string too long."},
        {"strcenter(s, \"a\");",
         "RUNTIME: three parameters required, P1=string-to-center, P2=pad-string, P3=length"},
        {"strcmp(\"a\");", "RUNTIME: two parameters required, P1=string1, P2=string2"},
        {"strcompose(\"a\");", "RUNTIME: two or more parameters required, P1=string, P2=string [, P3...]"},
        {"s = strcompose(strgenstr(\"x\", 1000), strgenstr(\"y\", 25));",
         "RUNTIME: composed string exceeds max buffer size"},
        {"strcpy(s);", "RUNTIME: two parameters required, P1=target-string, P2=copy-string"},
        {"s = \"abc\"; strdelsubstr(s, 0, 1);", "RUNTIME: parm2, delete column is less or equal 0"},
        {"s = \"abc\"; strdelsubstr(s, 2, 3);",
         "RUNTIME: parm2, parm3, delete column plus delete length exceeds string length"},
        {"strdelsubstr(s, 1);", "RUNTIME: three parameters required, P1=string, P2=start-col, P3=length"},
        {"strfindsubstr(\"a\", \"\", 1);", "RUNTIME: parm2, string is null"},
        {"strfindsubstr(\"a\", \"a\", 0);", "RUNTIME: parm2, start column is less or equal 0"},
        {"strfindsubstr(\"a\", \"a\");",
         "RUNTIME: three parameters required, P1=source-string, P2=find-string, P3=start-col"},
        {"strfindlast(\"a\", \"\");", "RUNTIME: parm2, string is null"},
        {"strfindlast(\"a\");", "RUNTIME: two parameters required, P1=source-string, P2=find-string"},
        {"strgenstr(\"\", 3);", "RUNTIME: StrGenStr null pattern string or target length 0"},
        {"strgenstr(\"a\", 0);", "RUNTIME: StrGenStr null pattern string or target length 0"},
        {"strgenstr(\"a\");", "RUNTIME: two parameters required, P1=pattern-string, P2=target-length"},
        {"strgetsubstr(\"abc\", 0, 1);", "RUNTIME: parm2, start column is less or equal 0"},
        {"strgetsubstr(\"abc\", 1, 0);", "RUNTIME: parm3, count is less or equal 0"},
        {"strgetsubstr(\"abc\", 2, 3);",
         "RUNTIME: parm2, parm3, start column plus count exceeds string length"},
        {"strgetsubstr(\"abc\", 1);",
         "RUNTIME: three parameters required, P1=source-string, P2=start-col, P3=length"},
        {"s = \"ab\"; strinssubstr(s, \"\", 1);", "RUNTIME: parm2, string is null"},
        {"s = \"ab\"; strinssubstr(s, \"x\", 0);", "RUNTIME: parm3, insert column is less or equal 0"},
        {"s = \"ab\"; strinssubstr(s, \"x\", 4);",
         "RUNTIME: parm3, insert column greater than base string length"},
        {"s = strgenstr(\"x\", 1024); strinssubstr(s, \"x\", 1);",
         "RUNTIME: parm2, parm3, base string length plus insert length exceeds maximum buffer size"},
        {"strinssubstr(s, \"x\");",
         "RUNTIME: three parameters required, P1=target-string, P2=insert-string, P3=insert-column"},
        {"strisinset(\"a\");", "RUNTIME: two parameters required, P1=check-string, P2=set-string"},
        {"strncmp(\"a\", \"b\");", "RUNTIME: three parameters required, P1=string1, P2=string2, P3=count"},
        {"strncpy(s, \"b\");",
         "RUNTIME: three parameters required, P1=target-string, P2=copy-string, P3=max-copy-length"},
        {"s = \"ab\"; strovlsubstr(s, \"\", 1);", "RUNTIME: parm2, string is null"},
        {"s = \"ab\"; strovlsubstr(s, \"x\", 0);", "RUNTIME: parm3, overlay column is less or equal 0"},
        {"s = \"ab\"; strovlsubstr(s, \"x\", 4);",
         "RUNTIME: parm3, overlay column greater than base string length"},
        {"s = strgenstr(\"x\", 1000); strovlsubstr(s, strgenstr(\"y\", 30), 1000);",
         "RUNTIME: parm2, parm3, overlay column plus overlay length exceeds maximum buffer size"},
        {"strovlsubstr(s, \"x\");",
         "RUNTIME: three parameters required, P1=target-string, P2=overlay-string, P3=overlay-column"},
        {"strparse(s, \"a\");",
         "RUNTIME: three parameters required, P1=array-receiver, P2=source-string, P3=parse-pattern-string"},
        {"strparse(\"x\", \"a\", \",\");", "RUNTIME: parm1 must be a variable"},
        {"strparse(s, \"a\", \",\");", "RUNTIME: parm1 must be an array variable"},
        {"strparseword(\"a\");", "RUNTIME: two parameters required, P1=string, P2=parse-column"},
        {"strstripleading(s, \"ab\");", "RUNTIME: StrStripLead strip pattern string too long."},
        {"strstriptrailing(s, \"\");", "RUNTIME: StrStripTrail strip pattern string too long."},
        {"strstriptrailing(s);",
         "RUNTIME: two parameters required, P1=target-string, P2=strip-pattern-string"},
        {"trace();", "RUNTIME: one parameter required, P1=number, 'on' or 'off'"},
        {"trace(0);", "RUNTIME: zero not a valid trace count"},
        {"trace(\"maybe\");", "RUNTIME: parm1 must be NUMBER, 'on', or 'off'."},
        {"date(1);", "RUNTIME: no parameters allowed"},
        {"dllepregister(\"a\", \"b\", \"TRUE\");",
         "RUNTIME: four parameters required, P1=DLL-name, P2=EP-name, P3=return-bool, P4=parm-count"},
        {"dllepcall();", "RUNTIME: one parameter required, P1=DLL-entrypoint-handle (see DllEpRegister)"},
        {"dllepcall(0);", "RUNTIME: invalid DLL entrypoint handle value"},
    };
    for (const auto& [body, message] : cases) {
        std::string error = FirstError(std::string("char *s;\nvoid main(void)\n{\n") + body + "\n}\n");
        EXPECT_EQ(error.substr(error.find(')') + 2), message) << body;
    }
}

TEST_F(MacroRuntime, FilesAreWrittenReadAndReportedNotCrashed) {
    WriteMacro(
        "T.C",
        "int h, k;\nchar *rec, *st, *lines, *seen;\nvoid main(void)\n{\n"
        "    h = fileopen(\"out.txt\", \"w\");\n"
        "    filerecwrite(h, \"first\");\n    filerecwrite(h, \"second\");\n    fileclose(h);\n"
        "    h = fileopen(\"out.txt\", \"r\");\n    lines = \"\";\n"
        "    st = filerecread(h, rec);\n"
        "    while (st == \"OK\") { lines = strcompose(lines, rec, \"|\"); st = filerecread(h, rec); }\n"
        "    seen = strcompose(st, \"[\", rec, \"]\");\n    fileclose(h);\n"
        "    k = fileopen(\"missing/none.txt\", \"r\");\n"
        "    st = strcompose(k, fileopen(\"\", \"r\"), fileopen(\"x\", \"q\"), fileopen(\".\", \"r\"));\n"
        "    st = strcompose(st, fileexist(\"out.txt\"), filedelete(\"out.txt\"), fileexist(\"out.txt\"), "
        "filedelete(\"out.txt\"));\n"
        "    st = strcompose(st, fileisdir(\"/\"), fileisdir(\"\"));\n}\n");
    ASSERT_EQ(Run("t"), 0) << ErrorLine(1);
    EXPECT_EQ(Global("t", "lines"), "first|second|");
    EXPECT_EQ(Global("t", "seen"), "EOF[]");
    EXPECT_EQ(Global("t", "st"), "0000TRUEOKFALSEOKTRUEFALSE");
}

TEST_F(MacroRuntime, ThirtyOneFilesAtMostAndHandlesSurviveRuns) {
    WriteMacro("T.C",
               "int i, h;\nvoid main(void)\n{\n    i = 0;\n"
               "    while (i < 31) { h = fileopen(strcompose(\"f\", i), \"w\"); i = i + 1; }\n"
               "    h = fileopen(\"extra\", \"w\");\n}\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Global("t", "h"), "0");
    EXPECT_TRUE(
        std::all_of(engine.files.begin(), engine.files.end(), [](std::FILE* f) { return f != nullptr; }));
}

TEST_F(MacroRuntime, FileCopyWorksInTheEditedFilesDirectory) {
    VarSetValue(app, "ZDSNPATH", work);
    Write(work + "/a.txt", "alpha\n");
    std::filesystem::create_directories(work + "/sub");
    WriteMacro("T.C",
               "char *st;\nvoid main(void)\n{\n    st = strcompose(filecopy(\"a.txt\", \"b.txt\"), "
               "filecopy(\"a.txt\", "
               "\"sub\"), filecopy(\"*.txt\", \"sub\"), filecopy(\"none.txt\", \"c.txt\"));\n}\n");
    ASSERT_EQ(Run("t"), 0) << ErrorLine(1);
    EXPECT_EQ(Global("t", "st"), "OKOKOKERROR");
    EXPECT_EQ(Read(work + "/b.txt"), "alpha\n");
    EXPECT_EQ(Read(work + "/sub/a.txt"), "alpha\n");
    EXPECT_EQ(Read(work + "/sub/b.txt"), "alpha\n");
    EXPECT_EQ(FirstError("void main(void) { filecopy(\"*.txt\", \"b.txt\"); }\n"),
              "T.C(1,19) RUNTIME: not allowed to copy directory to file");
}

TEST_F(MacroRuntime, ServiceReachesTheVariableStoreAndMessages) {
    WriteMacro("T.C",
               "char *v;\nvoid main(void)\n{\n    tavoservice(\"vput\", \"Macro.Out\", \"42\");\n"
               "    v = tavoservice(\"VGET\", \"macro.out\");\n    msg(\"hello\");\n    msg(\"\");\n"
               "    tavoservice(\"nosuch\");\n}\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(VarGetValue(app, "MACRO.OUT"), "42");
    EXPECT_EQ(Global("t", "v"), "42");
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[0].text, "hello");
    EXPECT_EQ(app.messages[0].beep, Beep::Information);
    EXPECT_EQ(app.messages[1].text, "TavoService: 'NOSUCH' not supported.");
}

TEST_F(MacroRuntime, RuntimeNamesShadowUserFunctions) {
    WriteMacro("T.C",
               "int n;\nvoid main(void) { n = StrLen(\"abcd\"); }\nint strlen(char *s) { return(99); }\n");
    ASSERT_EQ(Run("t"), 0);
    EXPECT_EQ(Global("t", "n"), "4");
}
