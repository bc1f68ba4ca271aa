// Reading compared files and writing the report: record cutting, the newline rules, and the report
// text line for line.
#include "utilities/compare_report.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "utilities/compare_read.h"

// GCC 12 at -O3 takes short strings assigned to the header below for uninitialized (a known false
// alarm of that compiler); nothing here reads an unset value.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace tavoe {

namespace {

namespace fs = std::filesystem;

class CompareFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        root_ = fs::path(base != nullptr && *base != '\0' ? base : fs::temp_directory_path().c_str()) /
                ("tavoe_compare_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = (root_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::vector<std::string> Texts(const CompareFile& file) {
        return {file.records.begin(), file.records.end()};
    }

    fs::path root_;
};

TEST_F(CompareFileTest, NewlinesEndRecordsAndLoneCrIsData) {
    CompareReadRules rules;
    rules.colEnd = 4;
    CompareFile file;
    ASSERT_EQ("", ReadCompareFile(Write("a", "abc\r\nde\rf\n\nlonger line\n"), rules, file));
    EXPECT_EQ((std::vector<std::string>{"abc", "de\rf", "", "long"}), Texts(file));
}

TEST_F(CompareFileTest, TerminatorsRequiredNameTheFailingRecord) {
    CompareReadRules rules;
    rules.maxReclen = 5;
    rules.colEnd = 5;
    CompareFile file;
    std::string noFinal = Write("nofinal", "12345\n12345");
    EXPECT_EQ(noFinal + ", record 2, newline character not found within expected maximum record length.",
              ReadCompareFile(noFinal, rules, file));
    std::string tooLong = Write("long", "1\n2\n123456\n");
    EXPECT_EQ(tooLong + ", record 3, newline character not found within expected maximum record length.",
              ReadCompareFile(tooLong, rules, file));
    // Exactly the maximum, ended by CR+LF, is fine.
    EXPECT_EQ("", ReadCompareFile(Write("exact", "12345\r\n"), rules, file));
}

TEST_F(CompareFileTest, WithoutTerminatorsLongLinesAreCut) {
    CompareReadRules rules;
    rules.terminators = false;
    rules.maxReclen = 3;
    rules.colEnd = 3;
    CompareFile file;
    ASSERT_EQ("", ReadCompareFile(Write("a", "abcdefg\nxyz\n\nend"), rules, file));
    // A line of exactly the maximum length stays one record; the last line needs no newline.
    EXPECT_EQ((std::vector<std::string>{"abc", "def", "g", "xyz", "", "end"}), Texts(file));
}

TEST_F(CompareFileTest, MissingFileAndDirectoryCannotBeRead) {
    CompareFile file;
    std::string missing = (root_ / "missing").string();
    EXPECT_EQ("Unable to open '" + missing + "' for read.", ReadCompareFile(missing, {}, file));
    EXPECT_EQ("Unable to open '" + root_.string() + "' for read.", ReadCompareFile(root_.string(), {}, file));
}

std::string Report(const CompareReportHeader& header, const std::vector<std::string_view>& oldRecords,
                   const std::vector<std::string_view>& newRecords) {
    CompareResult result = MatchRecords(oldRecords, newRecords, header.options);
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    EXPECT_TRUE(WriteCompareReport(out, header, oldRecords, newRecords, result));
    std::fclose(out);
    std::string report(text, size);
    std::free(text);
    return report;
}

TEST(CompareReport, FullReportListsDeletedAndInsertedRecords) {
    CompareReportHeader header;
    header.options.colEnd = 6;
    header.oldPath = "/o";
    header.newPath = "/n";
    std::vector<std::string_view> oldRecords = {"one", "two", "three", "", "four", "five"};
    std::vector<std::string_view> newRecords = {"one", "TWO", "three", "", "four", "six", "five"};
    EXPECT_EQ(
        "\n------------\nFile Compare\n------------\n\n"
        "Report:   Full\n"
        "Options:  IgnoreWhitespace(OFF), IgnoreEmptyLines(OFF), IgnoreCase(OFF)\n"
        "Columns:  1 through 6\n\n"
        "New file: /n\nOld file: /o\n\n"
        "D 000002 'two   '\n\n"
        "I 000002 'TWO   '\n"
        "I 000006 'six   '\n\n"
        "Summary:  1 lines deleted,  2 lines inserted,  5 lines matched\n\n"
        "-------------\nEnd of Report\n-------------\n\n",
        Report(header, oldRecords, newRecords));
}

TEST(CompareReport, SummaryModeCountsOnlyAndIgnoreOptionsShow) {
    CompareReportHeader header;
    header.mode = CompareMode::Summary;
    header.options = {
        .colStart = 2, .colEnd = 300, .ignoreWhitespace = true, .ignoreEmptyLines = true, .ignoreCase = true};
    header.oldPath = "/o";
    header.newPath = "/n";
    std::string report = Report(header, {"xabc", "", "x  DEF"}, {"yABC ", "ydef", "   "});
    EXPECT_NE(std::string::npos,
              report.find("Options:  IgnoreWhitespace(ON), IgnoreEmptyLines(ON), IgnoreCase(ON)\n"
                          "Columns:  2 through 300\n"));
    EXPECT_NE(std::string::npos, report.find("New file: /n\nOld file: /o\n\nSummary: all lines matched\n\n"));
    EXPECT_EQ(std::string::npos, report.find("D 0"));
}

TEST(CompareReport, LongRecordsShowAtMost256ColumnsAndErrorsAbort) {
    CompareReportHeader header;
    header.options.colEnd = 2000;
    std::string longText(300, 'x');
    std::string report = Report(header, {longText}, {"y"});
    EXPECT_NE(std::string::npos, report.find("D 000001 '" + std::string(256, 'x') + "'\n"));
    EXPECT_NE(std::string::npos, report.find("I 000001 'y" + std::string(255, ' ') + "'\n"));
    header.options.ignoreWhitespace = true;
    report = Report(header, {"same"}, {"same"});
    EXPECT_NE(std::string::npos, report.find("\n\nCompare aborted due to error\n\n-------------\n"));
}

TEST(CompareReport, QuickMessages) {
    CompareResult result;
    EXPECT_EQ("Quick file compare result: files match.", QuickCompareMessage(result));
    result.inserted = {4};
    EXPECT_EQ("Quick file compare result: mismatch on last old file line + 1.", QuickCompareMessage(result));
    result.deleted = {7, 9};
    EXPECT_EQ("Quick file compare result: mismatch on old file line 7.", QuickCompareMessage(result));
}

}  // namespace

}  // namespace tavoe
