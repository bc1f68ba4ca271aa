#include "macro_fixture.h"

using namespace tavoe;

using MacroSource = MacroFixture;

TEST_F(MacroSource, IncludesFromTheWorkingDirectoryAndThePath) {
    Write(lib + "/LIBDEFS.H", "int fromLib = 7;\n");
    WriteMacro("local.h", "int fromLocal;\n");
    WriteMacro("T.C",
               "#include \"libdefs.h\"\n  #include <LOCAL.H>\nint sum;\n"
               "void main(void) { fromLocal = 3; sum = fromLib + fromLocal; }\n");
    ASSERT_EQ(Run("t"), 0) << ErrorLine(1);
    EXPECT_EQ(Global("t", "sum"), "10");
}

// The directive lines count: an error after an include in the middle of a file has its physical
// line, and an error inside an included file names that file.
TEST_F(MacroSource, ErrorsKeepPhysicalLinesAndFiles) {
    WriteMacro("PART.H", "int p;\nint q q;\n");
    EXPECT_EQ(FirstError("int a;\n#include \"part.h\"\nint b;\n"), "PART.H(2,7) expected ';'");
    EXPECT_EQ(Read(work + "/errmsg.txt").substr(0, Read(work + "/errmsg.txt").find('\n')), work + "/PART.H");
    WriteMacro("PART.H", "int p;\n");
    EXPECT_EQ(FirstError("int a;\n#include \"part.h\"\nint b;\nx = 1;\n"),
              "T.C(4,1) 'x' variable not declared");
    // An included file's last line ends with the file even without a newline.
    WriteMacro("NONL.H", "int z");
    EXPECT_EQ(FirstError("#include \"nonl.h\"\n;\nvoid main(void) { z = 1; }\n"), "");
}

TEST_F(MacroSource, RepeatedAndCircularIncludesAreSkippedOnce) {
    WriteMacro("A.H", "#include \"b.h\"\nint a;\n");
    WriteMacro("B.H", "#include \"a.h\"\n#include \"t.c\"\nint b;\n");
    std::string text = "#include \"t.c\"\n";
    for (int i = 0; i < 10000; ++i) {
        text += "#include \"a.h\"\n";
    }
    text += "void main(void) { a = 1; b = 2; }\n";
    EXPECT_EQ(FirstError(text), "");
    std::vector<std::string> boxes;
    for (const ShownMessage& m : app.messages) {
        boxes.push_back(m.text);
    }
    EXPECT_EQ(boxes, (std::vector<std::string>{"Already processed #include for T.C",
                                               "Already processed #include for A.H"}));
}

TEST_F(MacroSource, BadDirectivesEndTheLoad) {
    const std::pair<const char*, const char*> cases[] = {
        {"int a;\n#include (x.h)\n", "T.C(2,1) #include name must be enclosed in double quotes or <>"},
        {"int a;\n   #include \"x.h\n", "T.C(2,4) #include name missing end quote or >"},
        {"#include <x.h\n", "T.C(1,1) #include name missing end quote or >"},
        {"#include \"nothere.h\"\n", "T.C(1,1) Unable to read macro NOTHERE.H"},
        {"#include \"abcdefghijklmnopqrstuvwxyz0123456.h\"\n",
         "T.C(1,1) Macro source file name too long, ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456.H"},
    };
    for (const auto& [source, error] : cases) {
        EXPECT_EQ(FirstError(source), error) << source;
    }
}

TEST_F(MacroSource, LongLinesAndHugeOrBinarySourcesNeverCrash) {
    // A 300-character line is two records of one line: columns run on across the split.
    std::string pad(290, ' ');
    EXPECT_EQ(FirstError("int x;\n" + pad + "x = ;\n"), "T.C(2,295) expected element of expression");
    std::string big = "int x;\nvoid main(void)\n{\n";
    for (int i = 0; i < 100000; ++i) {
        big += "    x = " + std::to_string(i) + ";\n";
    }
    EXPECT_EQ(FirstError(big + "}\n"), "");
    EXPECT_EQ(FirstError(big + "    y = 1;\n}\n"), "T.C(100004,5) 'y' variable not declared");
    std::string bytes;
    uint32_t state = 7;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(state >> 24));
    }
    std::string error = FirstError(bytes);
    EXPECT_FALSE(error.empty());
}

TEST_F(MacroSource, MacrosAreFoundAlongThePathIgnoringCase) {
    Write(lib + "/Found.c", "int v;\nvoid main(void) { v = 5; }\n");
    ASSERT_EQ(Run("found"), 0);
    EXPECT_EQ(Global("found", "v"), "5");
    EXPECT_EQ(Run("missing"), -2);
}
