#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "macro_fixture.h"
#include "platform/message_box_hook.h"

// Calls into the sample library libtest.so, which the build puts beside the test programs, so the
// search beside the running program finds it.

namespace {

class LibraryCalls : public MacroFixture {
protected:
    void SetUp() override {
        MacroFixture::SetUp();
        SetMessageBoxHandler([this](std::string_view text, std::string_view) { boxes.emplace_back(text); });
    }
    void TearDown() override {
        SetMessageBoxHandler(nullptr);
        MacroFixture::TearDown();
    }
    // The first error of a program whose main body is given, or "" when it ran clean.
    std::string ErrorOf(const std::string& body) {
        return FirstError("int h, k; char *r;\nvoid main(void)\n{\n" + body + "\n}\n");
    }

    std::vector<std::string> boxes;
};

}  // namespace

TEST_F(LibraryCalls, TextResultsAreCopiedBeforeTheNextCall) {
    EXPECT_EQ(Eval("int h; char *a, *b;",
                   "h = dllepregister(\"test\", \"test10\", \"TRUE\", 1);\n"
                   "a = dllepcall(h, \"first\");\n"
                   "b = dllepcall(h, \"second\");\n"
                   "r = strcompose(h, \"|\", a, \"|\", b);"),
              "1|TEST10: p1=first|TEST10: p1=second");
    EXPECT_EQ(Eval("int h;",
                   "h = dllepregister(\"test.dll\", \"test12\", \"TRUE\", \"3\");\n"
                   "r = dllepcall(h, \"a\", \"b\", \"c\");"),
              "TEST12: p1=a p2=b p3=c");
    EXPECT_EQ(Eval("int h;", "h = dllepregister(\"test\", \"test9\", \"TRUE\", \"\"); r = dllepcall(h);"),
              "TEST9: no parms in");
}

TEST_F(LibraryCalls, EveryExportTakesItsCount) {
    std::string body;
    for (int n = 0; n <= 8; ++n) {
        body += "h = dllepregister(\"test\", \"test" + std::to_string(n + 9) + "\", \"TRUE\", " +
                std::to_string(n == 0 ? 0 : n) + ");\n";
    }
    // test9 takes none, test10..test17 take 1..8.
    body +=
        "r = strcompose(dllepcall(1), \"|\", dllepcall(2, \"a\"), \"|\", "
        "dllepcall(9, \"1\", \"2\", \"3\", \"4\", \"5\", \"6\", \"7\", \"8\"));";
    EXPECT_EQ(Eval("int h;", body),
              "TEST9: no parms in|TEST10: p1=a|TEST17: p1=1 p2=2 p3=3 p4=4 p5=5 p6=6 p7=7 p8=8");
}

TEST_F(LibraryCalls, NoReturnExportsShowTheirBoxAndGiveNothing) {
    boxes.clear();
    EXPECT_EQ(Eval("int h, k; char *a;",
                   "h = dllepregister(\"test\", \"test0\", \"FALSE\", 0);\n"
                   "k = dllepregister(\"test\", \"test3\", \"FALSE\", 3);\n"
                   "a = dllepcall(h);\n"
                   "r = strcompose(\"[\", a, dllepcall(k, \"x\", \"y\", \"z\"), \"]\");"),
              "[]");
    EXPECT_EQ(boxes, (std::vector<std::string>{"TEST0: no parms in, no return",
                                               "TEST3: p1=x p2=y p3=z, no return"}));
}

TEST_F(LibraryCalls, RegisteringAgainGivesTheSameHandleAndTheCachedMacroKeepsIt) {
    WriteMacro("REG.C",
               "int a, b, c;\nvoid main(void)\n{\n"
               "a = dllepregister(\"test\", \"test12\", \"TRUE\", 3);\n"
               "b = dllepregister(\"test\", \"test12\", \"FALSE\", 7);\n"
               "c = dllepregister(\"test\", \"test11\", \"TRUE\", 2);\n}\n");
    ASSERT_EQ(Run("reg"), 0) << ErrorLine(1);
    ASSERT_EQ(Run("reg"), 0) << ErrorLine(1);
    EXPECT_EQ(Global("reg", "a"), "1");
    EXPECT_EQ(Global("reg", "b"), "1");
    EXPECT_EQ(Global("reg", "c"), "2");
    CompiledMacro* macro = engine.FindCached("reg");
    ASSERT_NE(macro, nullptr);
    ASSERT_EQ(macro->libraries.entries.size(), 2u);
    // The first registration's returns flag and count stand.
    EXPECT_TRUE(macro->libraries.entries[0].returnsText);
    EXPECT_EQ(macro->libraries.entries[0].parameterCount, 3);
}

TEST_F(LibraryCalls, RegistrationMessages) {
    EXPECT_EQ(
        ErrorOf("h = dllepregister(\"test\", \"test1\", \"TRUE\");"),
        "T.C(4,5) RUNTIME: four parameters required, P1=DLL-name, P2=EP-name, P3=return-bool, P4=parm-count");
    EXPECT_EQ(ErrorOf("h = dllepregister(\"nosuchlibrary\", \"test1\", \"TRUE\", 1);"),
              "T.C(4,5) RUNTIME: DLL not found");
    EXPECT_EQ(ErrorOf("h = dllepregister(\"test\", \"test99\", \"TRUE\", 1);"),
              "T.C(4,5) RUNTIME: DLL found but entrypoint not found");
    EXPECT_EQ(ErrorOf("h = dllepregister(\"test\", \"test1\", \"true\", 1);"),
              "T.C(4,5) RUNTIME: 'returns' parm must be 'TRUE' or 'FALSE'");
    EXPECT_EQ(ErrorOf("h = dllepregister(\"test\", strgenstr(\"t\", 32), \"TRUE\", 1);"),
              "T.C(4,5) RUNTIME: entrypoint name longer than 31 characters");
    EXPECT_EQ(ErrorOf("h = dllepregister(strgenstr(\"t\", 256), \"test1\", \"TRUE\", 1);"),
              "T.C(4,5) RUNTIME: DLL name longer than 255 characters");
    // Empty names or flag: nothing happens, no error.
    EXPECT_EQ(Eval("",
                   "r = strcompose(\"[\", dllepregister(\"\", \"test1\", \"TRUE\", 1), "
                   "dllepregister(\"test\", \"\", \"TRUE\", 1), dllepregister(\"test\", \"test1\", \"\", 1), "
                   "\"]\");"),
              "[]");
}

TEST_F(LibraryCalls, AFileThatIsNoLibraryIsNotFound) {
    std::filesystem::create_directories(root / "home" / "bin");
    Write((root / "home" / "bin" / "libfake.so").string(), "this is text, not a library\n");
    Write((root / "home" / "bin" / "fake").string(), "#!/bin/sh\n");
    app.homeDirectory = (root / "home").string();
    EXPECT_EQ(ErrorOf("h = dllepregister(\"fake\", \"test1\", \"TRUE\", 1);"),
              "T.C(4,5) RUNTIME: DLL not found");
    EXPECT_EQ(ErrorOf("h = dllepregister(\"" + (root / "home" / "bin" / "libfake.so").string() +
                      "\", \"test1\", \"TRUE\", 1);"),
              "T.C(4,5) RUNTIME: DLL not found");
}

TEST_F(LibraryCalls, The33rdRegistrationIsRefused) {
    // 32 distinct pairs from two spellings of the library's name, then one more.
    std::string body;
    for (int i = 0; i < 32; ++i) {
        body += "h = dllepregister(\"" + std::string(i < 18 ? "test" : "test.dll") + "\", \"test" +
                std::to_string(i % 18) + "\", \"FALSE\", 0);\n";
    }
    body += "k = h;\n";
    body += "h = dllepregister(\"test.dll\", \"test14\", \"FALSE\", 0);";
    EXPECT_EQ(ErrorOf(body), "T.C(37,5) RUNTIME: DLL entrypoint registry full");
    // Registering one of the 32 again still answers its handle.
    EXPECT_EQ(
        Eval("int h;", body.substr(0, body.find("k = h;")) +
                           "r = strcompose(h, \"/\", dllepregister(\"test\", \"test5\", \"TRUE\", 9));"),
        "32/6");
}

TEST_F(LibraryCalls, CallMessages) {
    EXPECT_EQ(ErrorOf("r = dllepcall();"),
              "T.C(4,5) RUNTIME: one parameter required, P1=DLL-entrypoint-handle (see DllEpRegister)");
    EXPECT_EQ(ErrorOf("r = dllepcall(0);"), "T.C(4,5) RUNTIME: invalid DLL entrypoint handle value");
    EXPECT_EQ(ErrorOf("r = dllepcall(\"abc\");"), "T.C(4,5) RUNTIME: invalid DLL entrypoint handle value");
    EXPECT_EQ(ErrorOf("r = dllepcall(1);"),
              "T.C(4,5) RUNTIME: DLL entrypoint handle refers to NULL entrypoint");
    EXPECT_EQ(ErrorOf("h = dllepregister(\"test\", \"test12\", \"TRUE\", 3); r = dllepcall(33, \"a\");"),
              "T.C(4,53) RUNTIME: DLL entrypoint handle refers to NULL entrypoint");
    EXPECT_EQ(
        ErrorOf("h = dllepregister(\"test\", \"test12\", \"TRUE\", 3); r = dllepcall(h, \"a\", \"b\");"),
        "T.C(4,53) RUNTIME: number of parms passed does not match DLL entrypoint registry entry");
}

TEST_F(LibraryCalls, ArgumentsBeyondEightAreIgnored) {
    EXPECT_EQ(Eval("int h;",
                   "h = dllepregister(\"test\", \"test17\", \"TRUE\", 8);\n"
                   "r = dllepcall(h, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10);"),
              "TEST17: p1=1 p2=2 p3=3 p4=4 p5=5 p6=6 p7=7 p8=8");
    // A count above eight can never be matched.
    EXPECT_EQ(ErrorOf("h = dllepregister(\"test\", \"test17\", \"TRUE\", 9);\n"
                      "r = dllepcall(h, 1, 2, 3, 4, 5, 6, 7, 8, 9);"),
              "T.C(5,5) RUNTIME: number of parms passed does not match DLL entrypoint registry entry");
}

// A text of 10,000 characters (here a macro argument) goes to the library whole; the library cuts
// what does not fit its buffer and the copy back is cut to 1024.
TEST_F(LibraryCalls, HugeArgumentsAreCutNotOverrun) {
    WriteMacro("BIG.C",
               "int h; char *r;\nvoid main(void)\n{\n"
               "h = dllepregister(\"test\", \"test11\", \"TRUE\", 2);\n"
               "r = dllepcall(h, argv[1], argv[1]);\n}\n");
    ASSERT_EQ(Run("big " + std::string(10000, 'x')), 0);
    std::string result = Global("big", "r");
    EXPECT_EQ(result.size(), 1024u);
    EXPECT_EQ(result.substr(0, 14), "TEST11: p1=xxx");
    EXPECT_EQ(result.find_first_not_of('x', 11), std::string::npos);
}
