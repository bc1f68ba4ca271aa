// Conversions byte for byte against conversions done here, and the refusals and failures that must
// leave no new file and the old file as it was.
#include "utilities/convert_run.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "buffer/charset.h"
#include "core/app_session.h"
#include "platform/file_write.h"

namespace tavoe {

namespace {

namespace fs = std::filesystem;

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        root_ = fs::path(base != nullptr && *base != '\0' ? base : fs::temp_directory_path().c_str()) /
                ("tavoe_convert_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override {
        SetFileWriteHook({});
        fs::remove_all(root_);
    }

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Converts "old" into "new" and returns the new file's bytes ("<none>" when there is none).
    std::string Convert(ConvertKind kind, const std::string& old, int oldLength = 0, int newLength = 0,
                        bool deleteTrailing = false, int charsetMode = 1) {
        Write("old", old);
        fs::remove(Path("new"));
        ConvertRequest request{kind, Path("old"), "new", oldLength, newLength, deleteTrailing, charsetMode};
        status = RunConversion(app, request, [this](std::string_view q) {
            questions.emplace_back(q);
            return answer;
        });
        EXPECT_EQ(old, Read("old"));
        return fs::exists(Path("new")) ? Read("new") : "<none>";
    }

    std::string LastMessage() const { return app.messages.empty() ? "" : app.messages.back().text; }

    // Nothing but the old file (and the new one) is left in the folder: no temporary files.
    size_t FilesLeft() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(root_), fs::directory_iterator()));
    }

    AppSession app;
    int status = 0;
    bool answer = true;
    std::vector<std::string> questions;
    fs::path root_;
};

TEST_F(ConvertTest, TerminatorConversions) {
    EXPECT_EQ("a\nb\rc\nlast\n", Convert(ConvertKind::CrLfToLf, "a\r\nb\rc\r\nlast"));
    EXPECT_EQ("a\r\n\r\nlast\r\n", Convert(ConvertKind::LfToCrLf, "a\n\nlast"));
    EXPECT_EQ(0, status);
    EXPECT_EQ("File conversion complete, new file in " + Path("new"), LastMessage());
    EXPECT_EQ("<none>", Convert(ConvertKind::LfToCrLf, std::string(4095, 'x') + "\n"));
    EXPECT_EQ("Did not find specified record terminator within first max record length.", LastMessage());
    EXPECT_EQ(1u, FilesLeft());
}

TEST_F(ConvertTest, VariableToFixed) {
    EXPECT_EQ("ab   cdefg     ", Convert(ConvertKind::VariableToFixed, "ab\r\ncdefg\n\n", 0, 5));
    EXPECT_EQ("<none>",
              Convert(ConvertKind::VariableToFixed, "short\n" + std::string(100, 'x') + "\n", 0, 80));
    EXPECT_EQ(-1, status);
    EXPECT_EQ("RECFM=V input record is longer than specified output record length, can not continue.",
              LastMessage());
    EXPECT_EQ(1u, FilesLeft());
}

TEST_F(ConvertTest, FixedLengthAndFixedToVariable) {
    EXPECT_EQ("abcdwxyzq   ", Convert(ConvertKind::ChangeFixedLength, "abcdefwxyz12q", 6, 4));
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ("Conversion will truncate output records to new shorter length, OK to proceed?", questions[0]);
    EXPECT_EQ("abc  def  ", Convert(ConvertKind::ChangeFixedLength, "abcdef", 3, 5));
    EXPECT_EQ("Conversion will pad output records with blanks to new longer length, OK to proceed?",
              questions[1]);
    answer = false;
    EXPECT_EQ("<none>", Convert(ConvertKind::ChangeFixedLength, "abcdef", 3, 2));
    EXPECT_EQ(1, status);
    EXPECT_EQ("ab  \r\n    \r\ncd\r\n", Convert(ConvertKind::FixedToVariable, "ab      cd", 4, 0, false));
    EXPECT_EQ("ab\r\n\r\ncd\r\n", Convert(ConvertKind::FixedToVariable, "ab      cd", 4, 0, true));
}

TEST_F(ConvertTest, CharacterSetsByteForByte) {
    std::string all;
    for (int code = 0; code < 256; ++code) {
        all.push_back(static_cast<char>(code));
    }
    // Larger than one block, so block edges are crossed.
    std::string old;
    std::mt19937 rng(5);
    for (int i = 0; i < (3 << 19); ++i) {
        old.push_back(all[rng() % 256]);
    }
    const CharSet from[] = {CharSet::Ebcdic,     CharSet::Ebcdic,       CharSet::AsciiIso8859,
                            CharSet::AsciiIbmPc, CharSet::AsciiIso8859, CharSet::AsciiIbmPc};
    const CharSet to[] = {CharSet::AsciiIso8859, CharSet::AsciiIbmPc, CharSet::Ebcdic,
                          CharSet::Ebcdic,       CharSet::AsciiIbmPc, CharSet::AsciiIso8859};
    for (int mode = 1; mode <= 6; ++mode) {
        const auto& table = *TranslationTable(from[mode - 1], to[mode - 1]);
        std::string want = old;
        for (char& c : want) {
            c = static_cast<char>(table[static_cast<unsigned char>(c)]);
        }
        EXPECT_EQ(want, Convert(ConvertKind::CharacterSet, old, 0, 0, false, mode)) << "mode " << mode;
    }
    // A few codes every EBCDIC table agrees on.
    EXPECT_EQ("AZaz09 ", Convert(ConvertKind::CharacterSet, "\xC1\xE9\x81\xA9\xF0\xF9\x40", 0, 0, false, 1));
    EXPECT_EQ("\xC1\xE9\x81\xA9\xF0\xF9\x40", Convert(ConvertKind::CharacterSet, "AZaz09 ", 0, 0, false, 3));
}

TEST_F(ConvertTest, UntranslatableCodesAreReportedOnce) {
    app.messages.clear();
    Convert(ConvertKind::CharacterSet, std::string("\x21\x22\xC1", 3), 0, 0, false, 1);
    ASSERT_EQ(2u, app.messages.size());
    EXPECT_EQ(0u,
              app.messages[0].text.rfind("File '" + Path("old") +
                                             "' has some EBCDIC character codes which do not translate to "
                                             "ASCII-ISO8859.",
                                         0));
}

TEST_F(ConvertTest, RefusalsLeaveEverythingAsItWas) {
    Write("old", "data\n");
    ConvertRequest request{ConvertKind::LfToCrLf, Path("old"), "", 0, 0, false, 1};
    auto yes = [](std::string_view) { return true; };
    EXPECT_EQ(-1, RunConversion(app, request, yes));
    EXPECT_EQ("New file name must be specified", LastMessage());
    request.newPath = Path("old");  // onto its own input
    EXPECT_EQ(-1, RunConversion(app, request, yes));
    EXPECT_EQ("New file already exists.", LastMessage());
    EXPECT_EQ("data\n", Read("old"));
    Write("empty", "");
    request.oldPath = Path("empty");
    request.newPath = "new";
    EXPECT_EQ(-1, RunConversion(app, request, yes));
    EXPECT_EQ("Old file does not exist or has size 0.", LastMessage());
    request.oldPath = root_.string();
    EXPECT_EQ(-1, RunConversion(app, request, yes));
    EXPECT_EQ("Old file does not exist or has size 0.", LastMessage());
    EXPECT_FALSE(fs::exists(Path("new")));
}

TEST_F(ConvertTest, FullDiskLeavesNoNewFile) {
    SetFileWriteHook([](FileWriteOp op, std::size_t count) {
        FileWriteFault fault;
        if (op == FileWriteOp::Write) {
            fault.kind = FileWriteFault::Kind::Short;
            fault.error = ENOSPC;
            fault.shortCount = count / 2;
        }
        return fault;
    });
    std::string many;
    for (int i = 0; i < 300000; ++i) {
        many += "record\n";
    }
    EXPECT_EQ("<none>", Convert(ConvertKind::LfToCrLf, many));
    EXPECT_EQ("<none>", Convert(ConvertKind::LfToCrLf, "a\nb\n"));
    EXPECT_EQ(-1, status);
    EXPECT_EQ("Error writing " + Path("new"), LastMessage());
    EXPECT_EQ(1u, FilesLeft());
}

}  // namespace

}  // namespace tavoe
