// Directory compare: listing by mask, pairing by exact name, content compare and the report.
#include "utilities/dircompare_report.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "utilities/dircompare_scan.h"

namespace tavoe {

namespace {

namespace fs = std::filesystem;

class DirCompareTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        root_ = fs::path(base != nullptr && *base != '\0' ? base : fs::temp_directory_path().c_str()) /
                ("tavoe_compdir_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "a");
        fs::create_directories(root_ / "b");
        a = (root_ / "a").string();
        b = (root_ / "b").string();
    }
    void TearDown() override { fs::remove_all(root_); }

    void Write(const std::string& dir, const std::string& name, const std::string& bytes) {
        std::ofstream(fs::path(dir) / name, std::ios::binary) << bytes;
    }

    std::string Run(const std::string& mask = "*.*") {
        std::vector<DirFile> filesA;
        std::vector<DirFile> filesB;
        EXPECT_TRUE(ListDirectoryFiles(a, mask, filesA));
        EXPECT_TRUE(ListDirectoryFiles(b, mask, filesB));
        EXPECT_EQ("", CompareDirectoryFiles(a, filesA, b, filesB));
        char* text = nullptr;
        size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        EXPECT_TRUE(WriteDirCompareReport(out, a, filesA, b, filesB));
        std::fclose(out);
        std::string report(text, size);
        std::free(text);
        return report;
    }

    static std::string Heading(const std::string& nameColumn) {
        return "\n  ------------------------\n  Directory Compare Report\n  ------------------------\n\n"
               "  Status               " +
               nameColumn + "  Path\n  " + std::string(72, '-') + "\n\n";
    }
    static constexpr const char* kEnd = "\n  -------------\n  End of Report\n  -------------\n";

    fs::path root_;
    std::string a;
    std::string b;
};

TEST_F(DirCompareTest, IdenticalDirectoriesGiveOnlyTheHeading) {
    Write(a, "x.txt", "same");
    Write(b, "x.txt", "same");
    fs::create_directories(fs::path(a) / "sub.dir");
    EXPECT_EQ(Heading("FileName") + kEnd, Run());
}

TEST_F(DirCompareTest, OneSidedFilesAndChangedBytesAreListed) {
    Write(a, "changed.cbl", "abcdef");
    Write(b, "changed.cbl", "abcxef");  // same size, one byte changed
    Write(a, "longer.cbl", "abc");
    Write(b, "longer.cbl", "abcd");
    Write(a, "onlya.cbl", "");
    Write(b, "onlyb-with-a-long-name.cbl", "");
    Write(a, "Case.cbl", "x");
    Write(b, "case.cbl", "x");                             // names differing in case do not pair
    Write(a, "skip.txt", "x");                             // not matched by the mask
    const std::string pad = "                          ";  // to the longest name, 26 characters
    auto line = [&](const std::string& status, const std::string& name, const std::string& dir) {
        return "  " + status + "  " + name + pad.substr(name.size()) + "  " + dir + "\n";
    };
    EXPECT_EQ(Heading("FileName" + pad.substr(8)) + line("In path A, not in B", "Case.cbl", a) +
                  line("In path A, not in B", "onlya.cbl", a) + line("In path B, not in A", "case.cbl", b) +
                  line("In path B, not in A", "onlyb-with-a-long-name.cbl", b) +
                  line("In A & B, no match ", "changed.cbl", a) +
                  line("In A & B, no match ", "longer.cbl", a) + kEnd,
              Run("*.CBL"));
}

TEST_F(DirCompareTest, LargeEqualFilesCompareAcrossBlocks) {
    std::string big(200000, 'q');
    Write(a, "big.dat", big);
    Write(b, "big.dat", big);
    EXPECT_EQ(Heading("FileName") + kEnd, Run());
    big[150000] = 'r';
    Write(b, "big.dat", big);
    EXPECT_NE(std::string::npos, Run().find("In A & B, no match   big.dat"));
}

TEST_F(DirCompareTest, UnreadableDirectoryCannotBeListed) {
    std::vector<DirFile> files;
    EXPECT_FALSE(ListDirectoryFiles((root_ / "missing").string(), "*.*", files));
}

}  // namespace

}  // namespace tavoe
