// EXPORT and IMPORT against the file system: what reaches the disk, and what does not when writing
// fails part way.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editing/export_command.h"
#include "editing/import_command.h"
#include "editing/selection.h"
#include "editing/undo_journal.h"
#include "editing/undo_step.h"
#include "platform/file_write.h"
#include "typing_test_fixture.h"

namespace {

namespace fs = std::filesystem;

class ExportImportTest : public TypingFixture {
protected:
    void SetUp() override {
        TypingFixture::SetUp();
        const char* base = std::getenv("TAVOE_TEST_TMP");
        dir = fs::path(base != nullptr ? base : fs::temp_directory_path().string()) /
              ("export_import_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        session.buffer.fileName = (dir / "edited.txt").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const char* name) const { return (dir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> DataTexts() const {
        std::vector<std::string> texts;
        for (LineRecord* line = FirstDataLine(session.buffer); line != nullptr; line = NextDataLine(line)) {
            texts.emplace_back(LineText(*line));
        }
        return texts;
    }

    fs::path dir;
};

TEST_F(ExportImportTest, ExportWritesTheSelectedLinesAsShown) {
    Lines({"one", "two  ", "three", "four"});
    session.buffer.profile.sensedTerminator = EorType::CrLf;
    SelectLines(session, *lines[1], *lines[2]);
    ASSERT_EQ(ExportCommand(app, session, ExportMode::Export, Path("out.txt")), 0);
    EXPECT_EQ(Read(Path("out.txt")), "two  \r\nthree\r\n");
    EXPECT_EQ(LastMessage(), "File created");

    // Fixed records are filled to the record length and have no line ends.
    session.buffer.profile.recordFormat = Recfm::Fixed;
    session.buffer.profile.maxRecordLength = 6;
    ASSERT_EQ(ExportCommand(app, session, ExportMode::Replace, Path("out.txt")), 0);
    EXPECT_EQ(Read(Path("out.txt")), "two   three ");
    EXPECT_EQ(LastMessage(), "File replaced");
}

TEST_F(ExportImportTest, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    Lines({"new one", "new two"});
    SelectLines(session, *lines[0], *lines[1]);
    Write(Path("target.txt"), "old contents\n");
    for (FileWriteOp failing : {FileWriteOp::Write, FileWriteOp::Sync, FileWriteOp::Rename}) {
        ScopedFileWriteHook hook([failing](FileWriteOp op, std::size_t count) {
            FileWriteFault fault;
            if (op == failing) {
                fault.kind =
                    op == FileWriteOp::Write ? FileWriteFault::Kind::Short : FileWriteFault::Kind::Fail;
                fault.error = ENOSPC;
                fault.shortCount = count / 2;
            }
            return fault;
        });
        EXPECT_EQ(ExportCommand(app, session, ExportMode::Replace, Path("target.txt")), -1);
        EXPECT_EQ(Read(Path("target.txt")), "old contents\n");
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{"target.txt"});
        EXPECT_NE(LastMessage().find("file not changed"), std::string::npos) << LastMessage();
    }
    ASSERT_EQ(ExportCommand(app, session, ExportMode::Replace, Path("target.txt")), 0);
    EXPECT_EQ(Read(Path("target.txt")), "new one\nnew two\n");
}

TEST_F(ExportImportTest, ImportReadsByTheSessionsProfileAsOneUndoStep) {
    Lines({"first", "last"});
    app.profileSettings.undoEnabled = true;
    (void)UndoSyncSession(app, session);
    Write(Path("in.txt"), "a\tb\r\nsecond\r\nthird\r\n");
    session.buffer.profile.tabsExpandOnRead = 4;
    At(1, 1);
    ASSERT_EQ(ImportCommand(app, session, Path("in.txt") + " 1 2"), 0);
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"first", "a   b", "second", "last"}));
    EXPECT_TRUE(session.buffer.modified);
    ASSERT_EQ(UndoStep(app, &session), 0);
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"first", "last"}));
}

TEST_F(ExportImportTest, ImportNumbersNewLinesOfAnIncrNumberedFile) {
    Standard(NumberAuto::Incr);
    Lines({StandardLine("first", "00000100"), StandardLine("last", "00000200")});
    Write(Path("in.txt"), "x\ny\n");
    At(1, 1);
    ASSERT_EQ(ImportCommand(app, session, Path("in.txt")), 0);
    std::vector<std::string> texts = DataTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1].substr(72), "00000110");
    EXPECT_EQ(texts[2].substr(72), "00000120");
}

}  // namespace
