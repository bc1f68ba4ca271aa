// Saving never overwrites another program's work, and a file that changes while it is being loaded
// is never saved as a mix of two versions.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "file_save_test_util.h"
#include "platform/file_io.h"
#include "platform/file_write.h"

using namespace tavoe;

namespace {

class SaveOverOthers : public SaveFixture {
protected:
    std::string ModifiedMessage(const std::string& path) const {
        return path +
               " modified by other program, can not write under this name, use SAVEAS to save contents.";
    }
    // Opens "old\n" with the write lock on, types into the line, lets `other` change the file, then
    // saves: the save must be refused and the other program's bytes stay.
    void ExpectRefused(const std::function<void(const std::string&)>& other, bool writeLock) {
        VarSetValue(app, "ZEDITWRITELOCK", writeLock ? "TRUE" : "FALSE");
        std::string path = Path("f.txt");
        WriteBytes(path, "old\n");
        auto buffer = Open(path, Variable());
        ASSERT_EQ(buffer->file.writeLocked, writeLock);
        (void)LineSetText(*buffer, *FirstDataLine(*buffer), "typed");
        buffer->modified = true;
        other(path);
        std::string before = ReadBytes(path);
        EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
        EXPECT_EQ(LastMessage(), ModifiedMessage(path));
        EXPECT_EQ(ReadBytes(path), before);
        EXPECT_TRUE(buffer->modified);
    }
    // Keeps the modification time of the file so only size or identity can tell the change.
    static void KeepTime(const std::string& path, const struct stat& old) {
        struct timespec times[2] = {old.st_atim, old.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
};

TEST_F(SaveOverOthers, AppendTruncateRenameAndLinkSwapAreRefusedLockOrNoLock) {
    for (bool lock : {true, false}) {
        SCOPED_TRACE(lock ? "write lock" : "no lock");
        ExpectRefused(
            [](const std::string& path) {
                std::FILE* f = std::fopen(path.c_str(), "a");
                std::fputs("extra\n", f);
                std::fclose(f);
            },
            lock);
        ExpectRefused([](const std::string& path) { ASSERT_EQ(::truncate(path.c_str(), 0), 0); }, lock);
        // Another file with the same size and time renamed over it: only the inode differs.
        ExpectRefused(
            [this](const std::string& path) {
                struct stat old {};
                ASSERT_EQ(::stat(path.c_str(), &old), 0);
                WriteBytes(Path("other"), "new\n");
                KeepTime(Path("other"), old);
                ASSERT_EQ(::rename(Path("other").c_str(), path.c_str()), 0);
            },
            lock);
        // The file swapped for a link to another file.
        ExpectRefused(
            [this](const std::string& path) {
                WriteBytes(Path("elsewhere"), "theirs\n");
                ASSERT_EQ(::unlink(path.c_str()), 0);
                ASSERT_EQ(::symlink(Path("elsewhere").c_str(), path.c_str()), 0);
            },
            lock);
        EXPECT_EQ(ReadBytes(Path("elsewhere")), "theirs\n");
        std::filesystem::remove(Path("f.txt"));
    }
}

TEST_F(SaveOverOthers, OwnSavesDoNotTripTheCheck) {
    VarSetValue(app, "ZEDITWRITELOCK", "TRUE");
    std::string path = Path("f.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    for (const char* text : {"one", "two", "three"}) {
        (void)LineSetText(*buffer, *FirstDataLine(*buffer), text);
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        EXPECT_EQ(ReadBytes(path), std::string(text) + "\n");
    }
}

// ---- A file rewritten under a virtual load --------------------------------------------------------

class ChangedWhileLoading : public SaveFixture {
protected:
    static std::string Numbers(int from, int to) {
        std::string text;
        for (int i = from; i <= to; ++i) {
            text += std::to_string(i) + "\n";
        }
        return text;
    }
};

TEST_F(ChangedWhileLoading, RewriteStopsTheLoadWithoutMixingAndSaveIsRefused) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    std::string path = Path("seq");
    WriteBytes(path, Numbers(1, 100000));
    auto buffer = Open(path, Variable());
    ASSERT_FALSE(buffer->file.loadComplete);
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "typed");
    buffer->modified = true;
    // Rewritten in place (same inode), as a shell redirection does.
    std::string rewritten = Numbers(500000, 600000);
    {
        int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, rewritten.data(), rewritten.size()), static_cast<ssize_t>(rewritten.size()));
        ::close(fd);
    }
    EXPECT_EQ(FinishLoad(*buffer), 0);
    EXPECT_TRUE(buffer->file.changedWhileLoading);
    EXPECT_NE(LastMessage().find("was changed by another program while it was being loaded"),
              std::string::npos)
        << LastMessage();
    // Every line shown comes from the first version: consecutive numbers after the typed line.
    auto lines = DataLines(*buffer);
    ASSERT_GT(lines.size(), 1u);
    ASSERT_LT(lines.size(), 100000u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ASSERT_EQ(LineText(*lines[i]), std::to_string(i + 1));
    }
    EXPECT_EQ(LineText(*LineLast(*buffer)), kLoadAbortedMarkerText);
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(ReadBytes(path), rewritten);
    // Another name takes what was loaded.
    ASSERT_EQ(SaveFileAs(*buffer, Path("kept"), nullptr), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(Path("kept")), "typed\n" + Numbers(2, static_cast<int>(lines.size())));
}

TEST_F(ChangedWhileLoading, UnchangedFileLoadsCompletely) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    std::string path = Path("seq");
    WriteBytes(path, Numbers(1, 5000));
    auto buffer = Open(path, Variable());
    EXPECT_EQ(FinishLoad(*buffer), 0);
    EXPECT_FALSE(buffer->file.changedWhileLoading);
    EXPECT_EQ(DataLines(*buffer).size(), 5000u);
}

// ---- Unedited records go back as they were read -------------------------------------------------------

class UneditedBytes : public SaveFixture {
protected:
    static std::string AllCodes(bool reversed) {
        std::string bytes(256, '\0');
        for (int i = 0; i < 256; ++i) {
            bytes[static_cast<std::size_t>(i)] = static_cast<char>(reversed ? 255 - i : i);
        }
        return bytes;
    }
    std::size_t MessagesContaining(std::string_view text) const {
        std::size_t count = 0;
        for (const ShownMessage& message : app.messages) {
            count += message.text.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
};

TEST_F(UneditedBytes, EbcdicRecordsOfAllCodesSurviveAnUnrelatedEditInBothDisplaySets) {
    const std::string edited = std::string("\xE6\xD6\xD9\xD3\xC4", 5) + std::string(251, '\x40');  // WORLD
    for (ProfileCharset display : {ProfileCharset::AsciiIso8859, ProfileCharset::AsciiIbmPc}) {
        SCOPED_TRACE(display == ProfileCharset::AsciiIso8859 ? "ISO-8859" : "IBM-PC");
        FileProfile profile = Fixed(256);
        profile.diskCharset = ProfileCharset::Ebcdic;
        profile.displayCharset = display;
        std::string path = Path("ebc.dat");
        const std::string first = AllCodes(false);
        const std::string last = AllCodes(true);
        const std::string middle = std::string(256, '\xC1');
        const std::string shortLast("\x00\x41\xCA\xFF\x4A\x5F\x6A\x25", 8);  // a short last record
        WriteBytes(path, first + middle + last + shortLast);
        app.messages.clear();
        auto buffer = Open(path, profile);
        ASSERT_EQ(DataLines(*buffer).size(), 4u);
        EXPECT_EQ(MessagesContaining("stay as read unless edited"), 1u);
        (void)LineSetText(*buffer, *DataLines(*buffer)[1], "WORLD");
        buffer->modified = true;
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        EXPECT_EQ(ReadBytes(path), first + edited + last + shortLast);
        // A second save of the same session still knows the unedited records.
        buffer->modified = true;
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        EXPECT_EQ(ReadBytes(path), first + edited + last + shortLast);
        // An edited record goes through the tables: codes without a way back do not survive it.
        LineRecord* line = DataLines(*buffer)[0];
        std::string text(LineText(*line));
        text[0xC1] = 'Z';
        (void)LineSetText(*buffer, *line, text);
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::Yes), 0) << LastMessage();
        std::string saved = ReadBytes(path).substr(0, 256);
        EXPECT_EQ(saved[0xC1], '\xE9');
        EXPECT_NE(saved, first);
        EXPECT_EQ(ReadBytes(path).substr(256), edited + last + shortLast);
    }
}

TEST_F(UneditedBytes, TabsAndTrailingBlanksOfUntouchedLinesStay) {
    FileProfile profile = Variable();
    profile.tabsExpandOnRead = 8;
    profile.stripTrailingBlanks = true;
    std::string path = Path("Makefile");
    const std::string lines[] = {"all:\tprog\n", "\tcc -o prog prog.c   \n", "x = 1\t\t# note  \n",
                                 "\tedit me\n"};
    WriteBytes(path, lines[0] + lines[1] + lines[2] + lines[3]);
    auto buffer = Open(path, profile);
    auto data = DataLines(*buffer);
    ASSERT_EQ(data.size(), 4u);
    EXPECT_EQ(LineText(*data[1]), "        cc -o prog prog.c");
    (void)LineSetText(*buffer, *data[3], "        edited   ");
    // Moved lines keep their bytes too.
    ASSERT_EQ(LineMoveRange(*buffer, data[0], data[0], EndMarkerLine(*buffer)), 0);
    buffer->modified = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), lines[1] + lines[2] + "        edited\n" + lines[0]);
}

TEST_F(UneditedBytes, LineEditedBackToItsLoadedTextKeepsItsBytes) {
    FileProfile profile = Variable();
    profile.tabsExpandOnRead = 4;
    std::string path = Path("t.txt");
    WriteBytes(path, "\ta\n\tb\n");
    auto buffer = Open(path, profile);
    LineRecord* line = FirstDataLine(*buffer);
    (void)LineSetText(*buffer, *line, "changed");
    (void)LineSetText(*buffer, *line, "    a");
    buffer->modified = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), "\ta\n\tb\n");
}

TEST_F(UneditedBytes, PlainFilesKeepNothingAside) {
    std::string path = Path("plain.txt");
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    WriteBytes(path, text);
    auto buffer = Open(path, Variable());
    EXPECT_TRUE(buffer->file.originals.Empty());
    EXPECT_EQ(MessagesContaining("stay as read unless edited"), 0u);
}

// ---- Long records are not split on disk without the user's word --------------------------------------

TEST_F(UneditedBytes, SaveOfFoldedOrCutRecordsAsksWithTheCount) {
    for (bool truncate : {false, true}) {
        SCOPED_TRACE(truncate ? "truncated" : "folded");
        FileProfile profile = Variable();
        profile.maxRecordLength = 10;
        profile.autoIncreaseRecLen = false;
        profile.truncateLongLines = truncate;
        std::string path = Path("long.txt");
        const std::string original = "0123456789ABCDE\nshort\n0123456789abcdefghijklmnopqrstuvwxyz\n";
        WriteBytes(path, original);
        host->questions.clear();
        host->confirmSave = false;
        auto buffer = Open(path, profile);
        buffer->modified = true;
        EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
        ASSERT_EQ(host->questions.size(), 1u);
        EXPECT_NE(host->questions[0].find(
                      truncate ? "has 0 records that are written split into several records and 2 "
                               : "has 2 records that are written split into several records and 0 "),
                  std::string::npos)
            << host->questions[0];
        EXPECT_EQ(ReadBytes(path), original);
        EXPECT_TRUE(buffer->modified);
        // Agreed: written as the lines show it, and the next save no longer asks.
        host->confirmSave = true;
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        EXPECT_EQ(ReadBytes(path),
                  truncate ? "0123456789\nshort\n0123456789\n"
                           : "0123456789\nABCDE\nshort\n0123456789\nabcdefghij\nklmnopqrst\nuvwxyz\n");
        buffer->modified = true;
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        EXPECT_EQ(host->questions.size(), 2u);
    }
}

TEST_F(UneditedBytes, RecordLongerThanTheReadBufferIsCountedOnce) {
    FileProfile profile = Variable();
    profile.maxRecordLength = 64000;
    std::string path = Path("huge.txt");
    const std::string original = "a\n" + std::string(1300000, 'x') + "\nb\n";
    WriteBytes(path, original);
    host->confirmSave = false;
    auto buffer = Open(path, profile);
    EXPECT_GT(DataLines(*buffer).size(), 20u);
    buffer->modified = true;
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    ASSERT_EQ(host->questions.size(), 1u);
    EXPECT_NE(host->questions[0].find("has 1 records that are written split"), std::string::npos)
        << host->questions[0];
    EXPECT_EQ(ReadBytes(path), original);
}

// ---- A failed SAVEAS keeps the session's name ---------------------------------------------------------

TEST_F(SaveOverOthers, FailedSaveAsKeepsTheOldNameAndSaysWhatFailed) {
    VarSetValue(app, "ZEDITWRITELOCK", "TRUE");
    std::string path = Path("f.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "typed");
    buffer->modified = true;
    {
        ScopedFileWriteHook refuse([](FileWriteOp op, std::size_t) {
            return op == FileWriteOp::CreateTemp ? FileWriteFault{FileWriteFault::Kind::Fail, EACCES, 0}
                                                 : FileWriteFault{};
        });
        EXPECT_EQ(SaveFileAs(*buffer, Path("elsewhere.txt"), nullptr), -1);
    }
    EXPECT_EQ(LastMessage(), "SAVEAS could not create '" + Path("elsewhere.txt") + "': Permission denied.");
    EXPECT_EQ(buffer->fileName, path);
    EXPECT_EQ(buffer->displayName, "f.txt");
    EXPECT_TRUE(buffer->modified);
    EXPECT_TRUE(buffer->file.writeLocked);
    EXPECT_FALSE(Exists(Path("elsewhere.txt")));
    // The session still saves under its own name.
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), "typed\n");
}

}  // namespace

TEST_F(UneditedBytes, PaddedTypesKeepShortRecordsWithoutAWarning) {
    std::string path = Path("short.cbl");
    WriteBytes(path, "000100 SHORT.\n000200 ALSO SHORT.\n");
    FileProfile profile = Variable();
    profile.maxRecordLength = 80;
    profile.padShortRecsWithBlank = true;
    auto buffer = Open(path, profile);
    EXPECT_FALSE(buffer->file.originals.Empty());
    EXPECT_EQ(MessagesContaining("stay as read unless edited"), 0u);
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "000100 EDITED.");
    buffer->modified = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), "000100 EDITED." + std::string(66, ' ') + "\n000200 ALSO SHORT.\n");
}
