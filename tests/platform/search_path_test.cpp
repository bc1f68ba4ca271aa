#include "platform/search_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

class SearchPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tavoe_sp_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "user");
        fs::create_directories(root / "server");
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    std::string Path() { return (root / "user").string() + ";" + (root / "server").string(); }
    fs::path root;
};

}  // namespace

TEST(SearchPathSplit, DropsEmptyEntriesAndBlanks) {
    auto dirs = SplitSearchPath(" /a ;;/b/;");
    ASSERT_EQ(dirs.size(), 2u);
    EXPECT_EQ(dirs[0], "/a");
    EXPECT_EQ(dirs[1], "/b/");
    EXPECT_EQ(JoinPath("/b/", "x.dlg"), "/b/x.dlg");
    EXPECT_EQ(JoinPath("/b", "x.dlg"), "/b/x.dlg");
}

TEST_F(SearchPathTest, FirstDirectoryHoldingTheFileWins) {
    Write(root / "server" / "find.dlg", "server");
    EXPECT_EQ(FindAlongPath(Path(), "find.dlg"), (root / "server" / "find.dlg").string());
    Write(root / "user" / "find.dlg", "user");
    EXPECT_EQ(FindAlongPath(Path(), "find.dlg"), (root / "user" / "find.dlg").string());
    std::string found;
    FilePtr f = OpenAlongPath(Path(), "find.dlg", "r", &found);
    ASSERT_TRUE(f);
    char buf[8] = {};
    ASSERT_EQ(std::fread(buf, 1, 4, f.get()), 4u);
    EXPECT_EQ(std::string(buf), "user");
}

TEST_F(SearchPathTest, NamesMatchIgnoringCaseWhenNoExactFile) {
    Write(root / "server" / "Find.Dlg", "x");
    EXPECT_EQ(FindAlongPath(Path(), "FIND.DLG"), (root / "server" / "Find.Dlg").string());
    EXPECT_EQ(FindAlongPath(Path(), "missing.dlg"), "");
    EXPECT_FALSE(OpenAlongPath(Path(), "missing.dlg", "r"));
    // A directory of that name is not a file.
    fs::create_directories(root / "user" / "sub.dlg");
    EXPECT_EQ(FindAlongPath(Path(), "sub.dlg"), "");
}

TEST_F(SearchPathTest, WritesGoToTheFirstDirectoryKeepingExistingCase) {
    EXPECT_EQ(WritePathFor(Path(), "new.fp"), (root / "user" / "new.fp").string());
    Write(root / "user" / "COB.FP", "x");
    EXPECT_EQ(WritePathFor(Path(), "cob.fp"), (root / "user" / "COB.FP").string());
    EXPECT_EQ(WritePathFor("", "cob.fp"), "");
}
