// Tag lookup against indexes made by the real ctags over a small C and COBOL tree, and against
// damaged and large indexes.
#include "utilities/tag_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../profiles/search_path_fixture.h"

namespace tavoe {

namespace fs = std::filesystem;

namespace {

TEST(TagKey, WordAroundTheCursor) {
    struct Case {
        const char* text;
        size_t offset;
        const char* key;
        const char* hyphenated;
    } cases[] = {
        {"x=foo(1);", 3, "foo", "foo"},
        {"x=foo(1);", 2, "foo", "foo"},
        {"x=foo(1);", 5, "", ""},  // on the parenthesis
        {"PERFORM CALC-PAY.", 9, "CALC", "CALC-PAY"},
        {"PERFORM CALC-PAY.", 14, "PAY", "CALC-PAY"},
        {"a - b", 2, "", ""},   // a lone hyphen is no word
        {"a\tb", 0, "a", "a"},  // control codes end a key
        {"name_1::x", 2, "name_1", "name_1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TagKeyAt(c.text, c.offset), c.key) << c.text << " @" << c.offset;
        EXPECT_EQ(HyphenatedTagKeyAt(c.text, c.offset), c.hyphenated) << c.text << " @" << c.offset;
    }
}

class TagTest : public SearchPathFixture {
protected:
    TagTest() : SearchPathFixture("tags", "ZPATH.TEMPLATES") {}

    void SetUp() override {
        SearchPathFixture::SetUp();
        fs::create_directories(root / "src");
        Write(root / "src" / "util.c",
              "#include <stdio.h>\n"
              "#define LIMIT 10\n"
              "static int counter = 0;\n"
              "struct point { int x; int y; };\n"
              "int add(int a, int b) { return a + b; }\n"
              "int path_join(const char *a, const char *b) { return a[0] == '/' && b[0] == '\\\\'; }\n"
              "int *re[3] = {0}; /* .*+?^$ (x) [y] {z} | */\n"
              "int main(void) { printf(\"%d\\n\", add(1, 2)); return 0; }\n");
        Write(root / "src" / "pay.cbl",
              "       IDENTIFICATION DIVISION.\n"
              "       PROGRAM-ID. PAYROLL.\n"
              "       PROCEDURE DIVISION.\n"
              "       MAINLINE.\n"
              "           PERFORM CALC-PAY.\n"
              "           STOP RUN.\n"
              "       CALC-PAY.\n"
              "           DISPLAY 'X'.\n");
        index = (root / "tags").string();
        ctags = std::system(("cd '" + root.string() + "' && ctags -f tags -R src 2>/dev/null").c_str()) == 0;
        VarSetValue(app, "ZCTAGSFILE", index);
        VarSetValue(app, "ZCTAGSACTION", "browse");
    }

    std::string index;
    bool ctags = false;
};

// Every definition ctags wrote is found again, and its pattern is a line (or, for a shortened
// pattern, the beginning of a line) of the source file exactly as it stands.
TEST_F(TagTest, EveryIndexedDefinitionIsFoundAtItsLine) {
    if (!ctags) {
        GTEST_SKIP() << "ctags is not installed";
    }
    std::ifstream tags(index);
    std::string line;
    int checked = 0;
    while (std::getline(tags, line)) {
        if (line.starts_with("!_")) {
            continue;
        }
        std::string key = line.substr(0, line.find('\t'));
        std::string kind = line.substr(line.find(";\"\t") + 3, 1);
        TagHit hit;
        ASSERT_EQ(LookupTag(app, index, key, kind[0], hit), TagLookup::Found) << line;
        std::string source = Read(root / hit.file);
        bool atLineStart =
            source.starts_with(hit.pattern) || source.find("\n" + hit.pattern) != std::string::npos;
        EXPECT_TRUE(atLineStart) << key << ": " << hit.pattern;
        if (line.find("$/;\"") != std::string::npos) {
            EXPECT_NE(source.find(hit.pattern + "\n"), std::string::npos) << key;
        }
        ++checked;
    }
    EXPECT_GE(checked, 12);
}

TEST_F(TagTest, LookupOutcomes) {
    Write(root / "idx",
          "!_TAG_FILE_FORMAT\t2\n"
          "half\ta.c\t/^int half(\n"
          "kind\ta.c\t/^int kind;$/;\"\tv\n"
          "kind\tb.c\t/^int kind(void)$/;\"\tf\n"
          "spaced b.c /^x y$/;\" f\n");
    std::string idx = (root / "idx").string();
    TagHit hit;
    EXPECT_EQ(LookupTag(app, idx, "half", 'f', hit), TagLookup::NoExactMatch);
    EXPECT_EQ(LookupTag(app, idx, "kind", 'm', hit), TagLookup::NoSelector);
    EXPECT_EQ(LookupTag(app, idx, "kin", 'f', hit), TagLookup::KeyNotFound);  // a key is a whole field
    ASSERT_EQ(LookupTag(app, idx, "kind", 'F', hit), TagLookup::Found);       // kinds compare in any case
    EXPECT_EQ(hit.file, "b.c");
    EXPECT_EQ(hit.pattern, "int kind(void)");
    ASSERT_EQ(LookupTag(app, idx, "spaced", 'f', hit), TagLookup::Found);
    EXPECT_EQ(hit.pattern, "x y");
    EXPECT_EQ(LookupTag(app, (root / "none").string(), "kind", 'f', hit), TagLookup::CannotOpen);
    EXPECT_EQ(LookupTag(app, root.string(), "kind", 'f', hit), TagLookup::CannotOpen);  // a directory
}

TEST_F(TagTest, GarbageAndHugeIndexesAreReadWithoutHarm) {
    std::string garbage;
    for (int i = 0; i < 300000; ++i) {
        garbage += static_cast<char>((static_cast<unsigned>(i) * 7919u) % 256u);
    }
    std::string huge(3 * 1024 * 1024, 'k');  // one line of 3 MB that begins like the key
    Write(root / "bad", garbage + "\n" + huge + " x.c /^k$/;\" f\n" + std::string(5000, '\0') +
                            "\nkey\tz.c\t/^key here$/;\"\tf\n");
    TagHit hit;
    EXPECT_EQ(LookupTag(app, (root / "bad").string(), "key", 'f', hit), TagLookup::Found);
    EXPECT_EQ(hit.file, "z.c");
    EXPECT_EQ(LookupTag(app, (root / "bad").string(), "kk", 'f', hit), TagLookup::KeyNotFound);
}

// Records what TAGFIND asks of the session.
class Actions : public TagFindActions {
public:
    void ShowInCurrentSession(const std::string& pattern) override { chains.push_back(pattern); }
    int LaunchEditor(const std::vector<std::string>& arguments, const std::string&) override {
        launches.push_back(arguments);
        return launchResult;
    }
    std::vector<std::string> chains;
    std::vector<std::vector<std::string>> launches;
    int launchResult = 0;
};

TEST_F(TagTest, CommandMessages) {
    Write(root / "idx", "foo\tsrc/a.c\t/^int foo(void)$/;\"\tf\n");
    TagFindRequest ok{"f", true, true, "x=foo(1);", 4, (root / "other.c").string()};
    struct Case {
        const char* action;
        const char* file;
        TagFindRequest request;
        const char* message;
    } cases[] = {
        {"", "x", ok,
         "TAGFIND: variable ZCTAGSACTION must be set to 'browse' or 'edit' before using TAGFIND."},
        {"edit", "", ok,
         "TAGFIND: variable ZCTAGSFILE must be set to fully qualified name of CTAGS index file before using "
         "TAGFIND."},
        {"edit",
         "idx",
         {" ", true, true, "x=foo(1);", 4, ""},
         "TAGFIND: missing required parameter, correct form:  TAGFIND  selector"},
        {"edit",
         "idx",
         {"fv", true, true, "x=foo(1);", 4, ""},
         "TAGFIND: too many parameters, correct form:  TAGFIND  selector"},
        {"edit", "idx", {"f", false, true, "x=foo(1);", 4, ""}, "TAGFIND: cursor must be in data area."},
        {"edit", "idx", {"f", true, false, "", 4, ""}, "TAGFIND: cursor must be on text line."},
        {"edit", "idx", {"f", true, true, "x=foo(1);", 10, ""}, "TAGFIND: cursor beyond end of line."},
        {"edit", "idx", {"f", true, true, "x=bar(1);", 4, ""}, "TAGFIND: key 'bar' not found."},
        {"edit", "nosuch", ok, "TAGFIND: unable to open CTAGS database '<root>/nosuch'"},
    };
    for (const Case& c : cases) {
        VarSetValue(app, "ZCTAGSACTION", c.action);
        VarSetValue(app, "ZCTAGSFILE", *c.file ? (root / c.file).string() : "");
        app.messages.clear();
        Actions actions;
        EXPECT_EQ(TagFind(app, c.request, actions), -1) << c.message;
        ASSERT_EQ(app.messages.size(), 1u) << c.message;
        std::string expected = c.message;
        if (size_t at = expected.find("<root>"); at != std::string::npos) {
            expected.replace(at, 6, root.string());
        }
        EXPECT_EQ(app.messages[0].text, expected);
        EXPECT_TRUE(actions.chains.empty() && actions.launches.empty());
    }
}

TEST_F(TagTest, TargetInCurrentFileOrInANewEditor) {
    Write(root / "idx",
          "foo\tsrc/a.c\t/^int foo(void) { return '\\/'; }$/;\"\tf\n"
          "bar\t" +
              (root / "src" / "b c.c").string() + "\t/^int bar = \"q\";$/;\"\tv\n");
    VarSetValue(app, "ZCTAGSFILE", (root / "idx").string());
    Actions actions;
    VarSetValue(app, "ZCTAGSACTION", "Edit");
    ASSERT_EQ(TagFind(app, {"f", true, true, "foo();", 1, (root / "src" / "a.c").string()}, actions), 0);
    ASSERT_EQ(actions.chains.size(), 1u);
    EXPECT_EQ(actions.chains[0], "int foo(void) { return '/'; }");
    EXPECT_EQ(TagFindCommand(actions.chains[0]), "FIND C\"int foo(void) { return '/'; }\"");
    EXPECT_EQ(TagFindCommand("a \"b\""), "FIND C'a \"b\"'");
    EXPECT_EQ(app.messages.back().text, "Target key in current file.");

    VarSetValue(app, "ZCTAGSACTION", "browse");
    ASSERT_EQ(TagFind(app, {"V", true, true, "y = bar;", 6, (root / "src" / "a.c").string()}, actions), 0);
    ASSERT_EQ(actions.launches.size(), 1u);
    std::vector<std::string> expected{
        "-B", (root / "src" / "b c.c").string(), "-S",
        "FIND 'int bar = \"q\";';.ctags;locate .ctags;reset;reset label;cursor"};
    EXPECT_EQ(actions.launches[0], expected);

    actions.launchResult = -1;
    EXPECT_EQ(TagFind(app, {"v", true, true, "bar", 1, ""}, actions), -1);
    EXPECT_EQ(app.messages.back().text, "TAGFIND: unable launch process for browse/edit of source file.");
}

TEST_F(TagTest, HyphenatedCobolNamesAreFoundWhenThePlainKeyIsNot) {
    if (!ctags) {
        GTEST_SKIP() << "ctags is not installed";
    }
    Actions actions;
    TagFindRequest request{
        "p", true, true, "           PERFORM CALC-PAY.", 20, (root / "src" / "pay.cbl").string()};
    ASSERT_EQ(TagFind(app, request, actions), 0) << (app.messages.empty() ? "" : app.messages.back().text);
    ASSERT_EQ(actions.chains.size(), 1u);
    EXPECT_EQ(actions.chains[0], "       CALC-PAY.");
}

}  // namespace

}  // namespace tavoe
