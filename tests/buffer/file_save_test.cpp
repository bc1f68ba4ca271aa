#include <fcntl.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "buffer/file_name_vars.h"
#include "buffer/numbering.h"
#include "file_save_test_util.h"
#include "platform/file_io.h"

using namespace tavoe;

namespace {

// ---- Round trips: loading and saving without edits gives the file back -----------------------------

class SaveRoundTrip : public SaveFixture {
protected:
    // Loads the bytes with the profile, marks the session modified without touching a line, saves,
    // and answers what the file holds then.
    std::string RoundTrip(std::string_view bytes, const FileProfile& profile) {
        std::string path = Path("data.txt");
        WriteBytes(path, bytes);
        auto buffer = Open(path, profile);
        buffer->modified = true;
        EXPECT_EQ(SaveFile(*buffer, SaveClosing::Yes), 0) << LastMessage();
        EXPECT_FALSE(buffer->modified);
        return ReadBytes(path);
    }
};

TEST_F(SaveRoundTrip, VariableLfCrLfAndAny) {
    const std::string lf = "alpha\nbeta\n\n  gamma  \nlast\n";
    EXPECT_EQ(RoundTrip(lf, Variable(EorType::Auto)), lf);
    EXPECT_EQ(RoundTrip(lf, Variable(EorType::Lf)), lf);
    const std::string crlf = "alpha\r\nbe\rta\r\n\r\nlast\r\n";
    EXPECT_EQ(RoundTrip(crlf, Variable(EorType::Auto)), crlf);
    EXPECT_EQ(RoundTrip(crlf, Variable(EorType::CrLf)), crlf);
    EXPECT_EQ(RoundTrip(crlf, Variable(EorType::Any)), crlf);
}

TEST_F(SaveRoundTrip, AnyTerminatorsAreWrittenAsCrLf) {
    EXPECT_EQ(RoundTrip("a\nb\r\nc\n", Variable(EorType::Any)), "a\r\nb\r\nc\r\n");
}

TEST_F(SaveRoundTrip, LastRecordWithoutTerminatorGainsOne) {
    EXPECT_EQ(RoundTrip("one\ntwo\nthree", Variable()), "one\ntwo\nthree\n");
    EXPECT_EQ(RoundTrip("one\r\nthree", Variable()), "one\r\nthree\r\n");
}

TEST_F(SaveRoundTrip, FixedRecords) {
    std::string bytes;
    for (int record = 0; record < 3; ++record) {
        for (int column = 0; column < 80; ++column) {
            bytes += static_cast<char>('A' + (record * 7 + column) % 26);
        }
    }
    bytes.replace(100, 3, "\r\n\x1A");  // terminator-like bytes are data in a fixed file
    FileProfile profile = Fixed(80);
    profile.endOfFileCharWrite = true;  // never written for fixed records
    EXPECT_EQ(RoundTrip(bytes, profile), bytes);
}

TEST_F(SaveRoundTrip, EndOfFileCharacterKeptWhenReadAndWritten) {
    FileProfile profile = Variable();
    profile.endOfFileCharRead = true;
    profile.endOfFileCharWrite = true;
    EXPECT_EQ(RoundTrip("a\nb\n\x1A", profile), "a\nb\n\x1A");
    profile.endOfFileCharRead = false;
    profile.endOfFileCharWrite = false;
    EXPECT_EQ(RoundTrip("a\x1A\nb\n", profile), "a\x1A\nb\n");
}

// Every EBCDIC byte of an unedited record survives the trip through the IBM-PC display; x'25', which
// shows as a blank, becomes the EBCDIC blank x'40' once its record is edited.
std::string AllEbcdicBytes(bool withoutLf) {
    std::string bytes;
    for (int value = 0; value < 256; ++value) {
        if (withoutLf && value == 0x0A) {
            continue;
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

std::string With25As40(std::string bytes) {
    for (char& c : bytes) {
        if (c == '\x25') {
            c = '\x40';
        }
    }
    return bytes;
}

TEST_F(SaveRoundTrip, EbcdicFixedInIbmPcDisplay) {
    FileProfile profile = Fixed(256);
    profile.diskCharset = ProfileCharset::Ebcdic;
    profile.displayCharset = ProfileCharset::AsciiIbmPc;
    std::string bytes = AllEbcdicBytes(false) + With25As40(AllEbcdicBytes(false));
    EXPECT_EQ(RoundTrip(bytes, profile), bytes);
    // Edited: the record is written from its text through the tables.
    std::string path = Path("edited.dat");
    WriteBytes(path, bytes);
    auto buffer = Open(path, profile);
    LineRecord* line = FirstDataLine(*buffer);
    (void)LineSetText(*buffer, *line, std::string(LineText(*line)));
    (void)LineReplaceText(*buffer, *line, 0, 1, std::string(1, LineText(*line)[0]));
    buffer->modified = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::Yes), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), bytes) << "an edit that gives back the loaded text changes nothing";
    buffer = Open(path, profile);
    line = FirstDataLine(*buffer);
    (void)LineReplaceText(*buffer, *line, 0xC1, 1, "B");
    buffer->modified = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::Yes), 0) << LastMessage();
    std::string expected = With25As40(AllEbcdicBytes(false));
    expected[0xC1] = '\xC2';
    EXPECT_EQ(ReadBytes(path), expected + With25As40(AllEbcdicBytes(false)));
}

TEST_F(SaveRoundTrip, EbcdicVariableInIbmPcDisplay) {
    FileProfile profile = Variable(EorType::CrLf);
    profile.diskCharset = ProfileCharset::Ebcdic;
    profile.displayCharset = ProfileCharset::AsciiIbmPc;
    // x'0D' not followed by x'0A' is data under CR LF.
    std::string record = AllEbcdicBytes(true);
    std::string bytes = record + "\r\n" + record + "\r\n";
    EXPECT_EQ(RoundTrip(bytes, profile), bytes);
    profile.endOfFileCharRead = true;
    profile.endOfFileCharWrite = true;
    EXPECT_EQ(RoundTrip(bytes + "\x1A", profile), bytes + "\x1A");
}

// ---- Record layout ----------------------------------------------------------------------------------

class SaveLayout : public SaveFixture {
protected:
    // A session on a new file holding the given lines (in the display set).
    std::unique_ptr<EditBuffer> Session(const FileProfile& profile, const std::vector<std::string>& lines) {
        auto buffer = Open(Path("out" + std::to_string(++sessions_) + ".dat"), profile);
        for (const std::string& text : lines) {
            LineRecord* line = LineNew(*buffer, text);
            line->kind = LineKind::Data;
            EXPECT_EQ(LineInsertBefore(*buffer, nullptr, line), 0);
        }
        return buffer;
    }
    std::string Save(EditBuffer& buffer) {
        EXPECT_EQ(SaveFile(buffer, SaveClosing::No), 0) << LastMessage();
        return ReadBytes(buffer.fileName);
    }

private:
    int sessions_ = 0;
};

TEST_F(SaveLayout, TerminatorFollowsTheSensedOne) {
    auto lf = Session(Variable(EorType::Lf), {"A", "", "B"});
    EXPECT_EQ(Save(*lf), "A\n\nB\n");
    auto crlf = Session(Variable(EorType::Auto), {"A", "B"});
    EXPECT_EQ(Save(*crlf), "A\r\nB\r\n");
}

TEST_F(SaveLayout, FixedShortLinePaddedOnDiskAndInMemory) {
    auto buffer = Session(Fixed(80), {"0123456789"});
    EXPECT_EQ(Save(*buffer), "0123456789" + std::string(70, ' '));
    LineRecord* line = FirstDataLine(*buffer);
    EXPECT_EQ(line->length, 80u);
    EXPECT_TRUE(LineHasFlag(*line, LineFlagA::BlankPadded));
}

TEST_F(SaveLayout, LongLineCutAtMaxRecordLength) {
    FileProfile profile = Variable(EorType::Lf);
    auto buffer = Session(profile, {std::string(40, 'x')});
    buffer->profile.maxRecordLength = 16;
    EXPECT_EQ(Save(*buffer), std::string(16, 'x') + "\n");
}

TEST_F(SaveLayout, StripTrailingBlanksOnDiskOnly) {
    FileProfile profile = Variable(EorType::Lf);
    profile.stripTrailingBlanks = true;
    auto buffer = Session(profile, {"ab   ", "   ", "c d "});
    EXPECT_EQ(Save(*buffer), "ab\n\nc d\n");
    EXPECT_EQ(LineText(*FirstDataLine(*buffer)), "ab   ");
}

TEST_F(SaveLayout, PadShortRecordsOfVariableFile) {
    FileProfile profile = Variable(EorType::Lf);
    profile.padShortRecsWithBlank = true;
    profile.maxRecordLength = 8;
    auto buffer = Session(profile, {"ab", "12345678"});
    EXPECT_EQ(Save(*buffer), "ab      \n12345678\n");
}

TEST_F(SaveLayout, PaddingFromShowingIsStrippedBeforeAVariableSave) {
    auto buffer = Session(Variable(EorType::Lf), {"ab", "cd"});
    LineRecord* first = FirstDataLine(*buffer);
    ASSERT_EQ(LinePadTo(*buffer, *first, 10), 0);
    EXPECT_EQ(Save(*buffer), "ab\ncd\n");
    EXPECT_EQ(first->length, 2u);
    EXPECT_FALSE(buffer->hasPaddedLines);
}

TEST_F(SaveLayout, TabCompressionOnlyForWholeAlignedBlankPieces) {
    FileProfile profile = Variable(EorType::Lf);
    profile.tabsInsertOnWrite = 4;
    auto buffer = Session(profile, {"        X", "  X", "ab      cd  ", "ab  cd"});
    EXPECT_EQ(Save(*buffer), "\t\tX\n  X\nab  \tcd  \nab  cd\n");
}

TEST(CompressTabs, PiecesAreCountedFromTheFirstByte) {
    char out[32];
    std::string in = "x       y   ";  // pieces of 4: "x   ", "    ", "y   "
    int n = CompressTabs(in.data(), static_cast<int>(in.size()), 4, ' ', '\t', out);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), "x   \ty   ");
    in = "\x40\x40\x40\xC1";
    n = CompressTabs(in.data(), 4, 3, '\x40', '\x05', out);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), "\x05\xC1");
}

TEST_F(SaveLayout, EbcdicIsoDisplayReportsUntranslatableOnce) {
    FileProfile profile = Variable(EorType::CrLf);
    profile.diskCharset = ProfileCharset::Ebcdic;
    profile.displayCharset = ProfileCharset::AsciiIso8859;
    auto buffer = Session(profile, {"A\x85", "B\x90", "C"});
    std::string bytes = Save(*buffer);
    EXPECT_EQ(bytes, "\xC1?\r\n\xC2?\r\n\xC3\r\n");
    int reports = 0;
    for (const ShownMessage& message : app.messages) {
        reports += message.text.find("do not translate to EBCDIC") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(HasMessage("File '" + buffer->fileName +
                           "' has some ASCII-ISO8859 character codes which do not translate to EBCDIC.\n\n"
                           "Character '?' substituted for non-tranlatable character codes."));
}

TEST_F(SaveLayout, CorruptedRecordFormatWritesNothing) {
    std::string path = Path("keep.txt");
    WriteBytes(path, "keep\n");
    auto buffer = Open(path, Variable());
    buffer->modified = true;
    buffer->profile.recordFormat = static_cast<Recfm>(7);
    EXPECT_NE(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_TRUE(HasMessage("File profile corrupted, unable to write."));
    EXPECT_EQ(ReadBytes(path), "keep\n");
    EXPECT_TRUE(buffer->modified);
}

TEST_F(SaveLayout, FullRenumberBeforeWriting) {
    FileProfile profile = Fixed(80);
    profile.numberType = NumberType::Standard;
    profile.numberAuto = NumberAuto::Full;
    profile.numberStart = 100;
    profile.numberIncrement = 100;
    profile.numberColumnStart = 73;
    profile.numberColumnEnd = 80;
    auto buffer = Session(profile, {"first", "second"});
    std::string bytes = Save(*buffer);
    ASSERT_EQ(bytes.size(), 160u);
    EXPECT_EQ(bytes.substr(72, 8), "00000100");
    EXPECT_EQ(bytes.substr(152, 8), "00000200");
}

// ---- The save procedure -------------------------------------------------------------------------------

class SaveProcedure : public SaveFixture {};

TEST_F(SaveProcedure, SavedMessageAndModifiedCleared) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "new");
    buffer->modified = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_EQ(ReadBytes(path), "new\n");
    EXPECT_FALSE(buffer->modified);
    ASSERT_FALSE(app.messages.empty());
    EXPECT_EQ(app.messages.back().text, "File saved");
    EXPECT_EQ(app.messages.back().beep, Beep::Information);
}

TEST_F(SaveProcedure, BackgroundSessionSavesQuietly) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = std::make_unique<EditBuffer>(app);
    buffer->profile = Variable();
    ASSERT_EQ(OpenFile(*buffer, path, OpenMode::Edit, LoadQuiet::NoCapsScan | LoadQuiet::NoSummary), 0);
    app.messages.clear();
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::Yes), 0);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(SaveProcedure, ReadOnlySessionRefused) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable(), OpenMode::Browse);
    buffer->modified = true;
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), "Can not save READ-ONLY file.");
    EXPECT_EQ(ReadBytes(path), "old\n");
    EXPECT_TRUE(buffer->modified);
}

TEST_F(SaveProcedure, FileWithoutWritePermissionIsNotReplaced) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    ASSERT_FALSE(buffer->file.IsReadOnly());
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // chmod does not change the modification time, so only the permission stops the save.
    buffer->modified = true;
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), "Unable to re-open '" + path + "' for write, use SAVEAS to save.");
    EXPECT_EQ(ReadBytes(path), "old\n");
}

TEST_F(SaveProcedure, ChangedByAnotherProgramToTheNanosecond) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    // Same size, same second: only the nanoseconds of the modification time differ.
    WriteBytes(path, "OLD\n");
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = buffer->file.loadStamp.mtimeSeconds;
    times[1].tv_nsec = (buffer->file.loadStamp.mtimeNanoseconds + 1) % 1000000000;
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    buffer->modified = true;
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), path +
                                 " modified by other program, can not write under this name, use SAVEAS to "
                                 "save contents.");
    EXPECT_EQ(ReadBytes(path), "OLD\n");
    EXPECT_TRUE(buffer->modified);
}

TEST_F(SaveProcedure, SecondSaveComparesWithTheFirstSavesStamp) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "one");
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "two");
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), "two\n");
}

TEST_F(SaveProcedure, DeletedFileIsNotWritten) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), "'" + path + "' not written to disk.");
    EXPECT_FALSE(Exists(path));
}

TEST_F(SaveProcedure, ExitMacroFromVariableOrProfile) {
    std::vector<std::string> ran;
    host->exitMacro = [&](EditBuffer&, const std::string& name) { ran.push_back(name); };
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    FileProfile profile = Variable();
    profile.xmacro = "PROFX";
    auto buffer = Open(path, profile);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    VarSetValue(app, "ZXMACRO", "OVERRIDE");
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_EQ(ran, (std::vector<std::string>{"PROFX", "OVERRIDE"}));
}

TEST_F(SaveProcedure, WriteLockHeldAgainUnlessClosing) {
    VarSetValue(app, "ZEDITWRITELOCK", "TRUE");
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    auto buffer = Open(path, Variable());
    ASSERT_TRUE(buffer->file.writeLocked);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_TRUE(buffer->file.writeLocked);
    EXPECT_TRUE(IsWriteLockedElsewhere(path));
    FileStamp now;
    ASSERT_TRUE(StatPath(path, now).Ok());
    EXPECT_TRUE(SameContentStamp(now, buffer->file.loadStamp));
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::Yes), 0);
    EXPECT_FALSE(buffer->file.handle.IsOpen());
    EXPECT_FALSE(IsWriteLockedElsewhere(path));
}

// ---- Backups --------------------------------------------------------------------------------------------

class SaveBackup : public SaveFixture {
protected:
    std::unique_ptr<EditBuffer> Edited(const std::string& path, FileProfile profile = Variable()) {
        WriteBytes(path, "old\n");
        auto buffer = Open(path, profile);
        (void)LineSetText(*buffer, *FirstDataLine(*buffer), "new");
        buffer->modified = true;
        return buffer;
    }
};

TEST_F(SaveBackup, AlwaysKeepsPreviousContentsAsBak) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    std::string path = Path("X.TXT");
    WriteBytes(path + ".bak", "older backup\n");
    auto buffer = Edited(path);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), "new\n");
    EXPECT_EQ(ReadBytes(path + ".bak"), "old\n");
    // The next save backs up the first save's contents.
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "newer");
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path + ".bak"), "new\n");
    EXPECT_EQ(ReadBytes(path), "newer\n");
}

TEST_F(SaveBackup, FileProfileSettingDecides) {
    VarSetValue(app, "ZBACKUP", "FILEPROF");
    FileProfile profile = Variable();
    profile.backup = false;
    std::string path = Path("a.txt");
    auto buffer = Edited(path, profile);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_FALSE(Exists(path + ".bak"));
    buffer->profile.backup = true;
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_EQ(ReadBytes(path + ".bak"), "new\n");
}

TEST_F(SaveBackup, NeverWithoutSettingOrForEmptyFile) {
    std::string path = Path("a.txt");
    auto buffer = Edited(path);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    EXPECT_FALSE(Exists(path + ".bak"));
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    std::string empty = Path("empty.txt");
    WriteBytes(empty, "");
    auto fresh = Open(empty, Variable());
    LineRecord* line = LineNew(*fresh, "x");
    line->kind = LineKind::Data;
    (void)LineInsertBefore(*fresh, nullptr, line);
    ASSERT_EQ(SaveFile(*fresh, SaveClosing::No), 0);
    EXPECT_FALSE(Exists(empty + ".bak"));
}

TEST_F(SaveBackup, BakInTheWayAsDirectoryFailsTheSave) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    std::string path = Path("a.txt");
    ASSERT_EQ(::mkdir((path + ".bak").c_str(), 0755), 0);
    WriteBytes(path + ".bak/inside", "x");
    auto buffer = Edited(path);
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(),
              "Unable to rename modified file to '" + path + ".bak' for backup, use SAVEAS to save.");
    EXPECT_EQ(ReadBytes(path), "old\n");
    EXPECT_EQ(ReadBytes(path + ".bak/inside"), "x");
    EXPECT_TRUE(buffer->modified);
}

TEST_F(SaveBackup, AlternatePathGetsACopy) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    std::string backups = Path("backups");
    ASSERT_EQ(::mkdir(backups.c_str(), 0755), 0);
    FileProfile profile = Variable();
    profile.backupAlternatePath = backups;  // without the trailing "/"
    std::string path = Path("a.txt");
    WriteBytes(backups + "/a.txt", "older\n");
    auto buffer = Edited(path, profile);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(backups + "/a.txt"), "old\n");
    EXPECT_EQ(ReadBytes(path), "new\n");
    EXPECT_FALSE(Exists(path + ".bak"));
}

TEST_F(SaveBackup, AlternatePathSameAsFileDirectoryRefused) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    FileProfile profile = Variable();
    profile.backupAlternatePath = dir;
    std::string path = Path("a.txt");
    auto buffer = Edited(path, profile);
    std::size_t entries = EntryCount();
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(),
              "Can not backup modified file, backup path is same as current path, use SAVEAS to save.");
    EXPECT_EQ(ReadBytes(path), "old\n");
    EXPECT_EQ(EntryCount(), entries);
}

TEST_F(SaveBackup, MissingAlternatePathFailsTheSave) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    FileProfile profile = Variable();
    profile.backupAlternatePath = Path("nowhere/");
    std::string path = Path("a.txt");
    auto buffer = Edited(path, profile);
    std::size_t entries = EntryCount();
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), "Unable to copy modified file '" + path + "' to '" + Path("nowhere/a.txt") +
                                 "' for backup, use SAVEAS to save.");
    EXPECT_EQ(ReadBytes(path), "old\n");
    EXPECT_EQ(EntryCount(), entries);
}

// ---- SAVEAS -----------------------------------------------------------------------------------------------

class SaveAs : public SaveFixture {
protected:
    void SetUp() override {
        SaveFixture::SetUp();
        path = Path("a.txt");
        WriteBytes(path, "old\n");
        buffer = Open(path, Variable());
        (void)LineSetText(*buffer, *FirstDataLine(*buffer), "new");
        buffer->modified = true;
    }
    std::string path;
    std::unique_ptr<EditBuffer> buffer;
};

TEST_F(SaveAs, NewNameTakenAndWritten) {
    std::string target = Path("b.txt");
    ASSERT_EQ(SaveFileAs(*buffer, target, nullptr), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(target), "new\n");
    EXPECT_EQ(ReadBytes(path), "old\n");
    EXPECT_EQ(buffer->fileName, target);
    EXPECT_EQ(buffer->displayName, "b.txt");
    EXPECT_EQ(buffer->directory, dir);
    EXPECT_EQ(VarGetValue(app, "ZDSNNAME"), "b.txt");
    EXPECT_TRUE(buffer->isNewFile);
    EXPECT_FALSE(buffer->modified);
    // Later saves go to the new name and compare with its stamp.
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "again");
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(target), "again\n");
}

TEST_F(SaveAs, DirectoryRefused) {
    EXPECT_EQ(SaveFileAs(*buffer, dir, nullptr), -1);
    EXPECT_EQ(LastMessage(), "Target file is a directory, please provide file name.");
    EXPECT_EQ(buffer->fileName, path);
}

TEST_F(SaveAs, ExistingFileNeedsConsent) {
    std::string target = Path("b.txt");
    WriteBytes(target, "theirs\n");
    std::string asked;
    auto no = [&](std::string_view question) {
        asked = question;
        return false;
    };
    EXPECT_EQ(SaveFileAs(*buffer, target, no), -1);
    EXPECT_EQ(asked, "File already exists, OK to overwrite it?");
    EXPECT_EQ(ReadBytes(target), "theirs\n");
    EXPECT_EQ(buffer->fileName, path);

    VarSetValue(app, "ZBACKUP", "ALWAYS");
    ASSERT_EQ(SaveFileAs(*buffer, target, [](std::string_view) { return true; }), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(target), "new\n");
    EXPECT_FALSE(Exists(target + ".bak"));  // an overwritten file is not backed up
    EXPECT_FALSE(buffer->isNewFile);
}

TEST_F(SaveAs, ReadOnlyTargetIsNotOverwritten) {
    std::string target = Path("b.txt");
    WriteBytes(target, "theirs\n");
    ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
    EXPECT_EQ(SaveFileAs(*buffer, target, [](std::string_view) { return true; }), -1);
    EXPECT_EQ(LastMessage(), "Unable to delete existing file.");
    EXPECT_EQ(ReadBytes(target), "theirs\n");
}

TEST_F(SaveAs, LinesLongerThanTheTargetProfileAllows) {
    FileProfile target = Variable();
    target.name = "SHORT";
    target.maxRecordLength = 2;
    EXPECT_EQ(SaveFileAs(*buffer, Path("b.short"), nullptr, &target), -1);
    EXPECT_EQ(LastMessage(),
              "Current file actual record lengths exceeds target file type max record length, try again.");
    EXPECT_FALSE(Exists(Path("b.short")));
    EXPECT_EQ(buffer->fileName, path);
    target.maxRecordLength = 3;
    EXPECT_EQ(SaveFileAs(*buffer, Path("b.short"), nullptr, &target), 0);
}

TEST_F(SaveAs, ReadOnlySessionKeepsItsName) {
    auto browse = Open(path, Variable(), OpenMode::Browse);
    EXPECT_EQ(SaveFileAs(*browse, Path("b.txt"), nullptr), -1);
    EXPECT_EQ(LastMessage(), "Can not save READ-ONLY file.");
    EXPECT_EQ(browse->fileName, path);
    EXPECT_FALSE(Exists(Path("b.txt")));
}

}  // namespace
