#include "profiles/file_profile_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/var_store.h"
#include "profiles/file_profile_keywords.h"
#include "search_path_fixture.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

constexpr const char* kInvalidPrefix = "Invalid file profile keyword or value:   ";

// The message of a refused keyword line of TEST.fp.
std::string Invalid(const std::string& keywordAndValue, int line = 1) {
    return kInvalidPrefix + keywordAndValue + "\n\nFile profile 'TEST.fp', line " + std::to_string(line) +
           " is skipped; the lines after it are read.";
}

class FileProfileIoTest : public SearchPathFixture {
protected:
    FileProfileIoTest() : SearchPathFixture("fp", "ZPATH.FILEPROFILES") {}
    // Reads text as the profile TEST from the user directory.
    int ReadText(const std::string& text, FileProfile& out) {
        Write(root / "user" / "TEST.fp", text);
        return ReadFileProfile(app, "TEST", out);
    }
    void ExpectOneError(const std::string& text) { ExpectOneBox(text, Beep::Error); }
};

FileProfile SampleProfile() {
    FileProfile p;
    p.name = "SAMPLE";
    p.recordFormat = Recfm::Fixed;
    p.caps = CapsMode::Auto;
    p.diskCharset = ProfileCharset::Ebcdic;
    p.displayCharset = ProfileCharset::AsciiIbmPc;
    p.colorType = "COBOL";
    p.endOfRecordSequence = EorType::None;
    p.numberType = NumberType::Other;
    p.numberAuto = NumberAuto::Full;
    p.numberStart = 10;
    p.numberIncrement = 10;
    p.numberColumnStart = 1;
    p.numberColumnEnd = 6;
    p.maxRecordLength = 133;
    p.offset = 6;
    p.promptAfterKeystrokes = 500;
    p.boundsLeft = 7;
    p.boundsRight = 72;
    p.imacro = "enter";
    p.xmacro = "leave";
    p.tabsExpandOnRead = 3;
    p.tabsInsertOnWrite = 4;
    p.languageTemplate = "COBOL";
    p.tabKeyStopsAt[0] = 8;
    p.tabKeyStopsAt[1] = 12;
    p.maskLine = "      *  mask  ";
    p.backupAlternatePath = "/var/backups/src dir";
    p.autoIncreaseRecLen = true;
    p.backup = true;
    p.endOfFileCharWrite = true;
    p.lock = true;
    p.truncateLongLines = true;
    return p;
}

}  // namespace

// ---- Reading: format and keywords ----

TEST_F(FileProfileIoTest, LineFormatAllowsBlanksEqualsRunsCommentsAndCrLf) {
    FileProfile p;
    ASSERT_EQ(ReadText("// a comment\r\n"
                       "\n"
                       "   \t\n"
                       "  // indented comment\n"
                       "Recfm Fixed\r\n"
                       "  MaxRecLen = = 100\n"
                       "Imacro=   start\n"
                       "MaskLine='  a  b  '\n"
                       "Bounds 5 60\n"
                       "Tabs=10 20,30\n"
                       "BOOLautosave=TRUE\n"
                       "BOOLbackup=TRUE",  // no newline at the end
                       p),
              0);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(p.name, "TEST");
    EXPECT_TRUE(IsFileProfile(p));
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
    EXPECT_EQ(p.maxRecordLength, 100);
    EXPECT_EQ(p.imacro, "start");
    EXPECT_EQ(p.maskLine, "  a  b  ");
    EXPECT_EQ(p.boundsLeft, 5);
    EXPECT_EQ(p.boundsRight, 60);
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 3);
    EXPECT_EQ(p.tabKeyStopsAt[2], 30);
    EXPECT_TRUE(p.backup);
}

TEST_F(FileProfileIoTest, AbsentFieldsAreZeroFalseOrFirstValue) {
    FileProfile p;
    ASSERT_EQ(ReadText("MaxRecLen=100\n", p), 0);
    EXPECT_EQ(p.recordFormat, Recfm::Variable);
    EXPECT_EQ(p.diskCharset, ProfileCharset::AsciiIso8859);
    EXPECT_EQ(p.caps, CapsMode::Off);
    EXPECT_EQ(p.tabsExpandOnRead, 0);  // the built-in 2 is not used for a profile file
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 0);
    EXPECT_FALSE(p.backup);
    // Bounds that the file does not name cover the record.
    EXPECT_EQ(p.boundsLeft, 1);
    EXPECT_EQ(p.boundsRight, 100);
}

TEST_F(FileProfileIoTest, KeywordsAreCaseSensitiveButNumberTypeIsNot) {
    FileProfile p;
    ASSERT_EQ(ReadText("MaxRecLen=80\nNumberType=std\n", p), 0);
    EXPECT_EQ(p.numberType, NumberType::Standard);
    EXPECT_EQ(p.numberColumnStart, 73);
    EXPECT_EQ(p.numberColumnEnd, 80);
    EXPECT_EQ(p.numberIncrement, 100);
    EXPECT_EQ(p.numberStart, 100);

    FileProfile q;
    EXPECT_EQ(ReadText("recfm=Fixed\n", q), -1);
    ExpectOneError(Invalid("recfm=Fixed"));
    app.messages.clear();
    EXPECT_EQ(ReadText("Recfm=fixed\n", q), -1);
    ExpectOneError(Invalid("Recfm=fixed"));
}

// ---- Reading: bad lines ----

TEST_F(FileProfileIoTest, BadLinesAreSkippedWithFileAndLineAndTheRestIsRead) {
    FileProfile p;
    EXPECT_EQ(
        ReadText("Recfm=Fixed\nNumberType=COBOL\nMaxRecLen=64001\nCapsMode=ON\nFutureKey=1\nOffset=6\n", p),
        -1);
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[0].text, Invalid("MaxRecLen=64001", 3));
    EXPECT_EQ(app.messages[1].text, Invalid("FutureKey=1", 5));
    EXPECT_TRUE(p.readIncomplete);
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
    EXPECT_EQ(p.numberType, NumberType::Cobol);
    EXPECT_EQ(p.caps, CapsMode::On);  // after the bad line: read
    EXPECT_EQ(p.offset, 6);
    EXPECT_EQ(p.numberColumnEnd, 6);    // normalised
    EXPECT_EQ(p.maxRecordLength, 255);  // still a usable record
    EXPECT_EQ(p.boundsLeft, 7);
    EXPECT_EQ(p.boundsRight, 255);
}

TEST_F(FileProfileIoTest, ProfileNotReadWholeIsNotWrittenBackAutomaticallyAndKeepsUnknownLines) {
    const std::string text = "// my notes\nRecfm=Fixed\nMaxRecLen=64001\nCapsMode=ON\nFutureKey=1\n";
    FileProfile p;
    ASSERT_EQ(ReadText(text, p), -1);
    p.maxRecordLength = 300;  // what a load's automatic raise does
    EXPECT_EQ(WriteFileProfile(app, p, ProfileWriteMode::Automatic), 0);
    EXPECT_EQ(Read(root / "user" / "TEST.fp"), text);
    // Written on the user's word: the known keywords from the record, the rest kept.
    ASSERT_EQ(WriteFileProfile(app, p), 0);
    std::string written = Read(root / "user" / "TEST.fp");
    EXPECT_NE(written.find("\n// my notes\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\nFutureKey=1\n"), std::string::npos) << written;
    EXPECT_NE(written.find("MaxRecLen=300\n"), std::string::npos) << written;
    FileProfile again;
    app.messages.clear();
    EXPECT_EQ(ReadFileProfile(app, "TEST", again), -1);  // the unknown keyword is still reported
    EXPECT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(again.caps, CapsMode::On);
    EXPECT_EQ(again.maxRecordLength, 300);
    EXPECT_EQ(again.keptLines, (std::vector<std::string>{"// my notes", "FutureKey=1"}));
}

TEST_F(FileProfileIoTest, EveryKindOfBadLineGetsOneClearMessage) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::string big(600, 'x');
    const Case cases[] = {
        {"Colour=RED\n", Invalid("Colour=RED")},
        {"MaxRecLen=7\n", Invalid("MaxRecLen=7")},
        {"MaxRecLen=abc\n", Invalid("MaxRecLen=abc")},
        {"Recfm\n", Invalid("Recfm=")},
        {"Fixed\n", Invalid("Fixed=")},
        {"=Fixed\n", Invalid("=Fixed")},
        {"Bounds=10,5\n", Invalid("Bounds=10,5")},
        {"Bounds=1\n", Invalid("Bounds=1")},
        {"Tabs=5,3\n", Invalid("Tabs=5,3")},
        {"TabsIn=10\n", Invalid("TabsIn=10")},
        {"BOOLbackup=yes\n", Invalid("BOOLbackup=yes")},
        {"CharsetDisplay=EBCDIC\n", Invalid("CharsetDisplay=EBCDIC")},
        {"MaskLine=no quotes\n", Invalid("MaskLine=no quotes")},
        {"Color=TOOLONGNAME\n", Invalid("Color=TOOLONGNAME")},
        {"NumberIncrement=10001\n", Invalid("NumberIncrement=10001")},
        {"Recfm=Fixed\nBackupPath=" + big + "\n",
         "File profile 'TEST.fp', line 2 is longer than 511 characters."},
        {"Recfm=Fixed\x01\x02\n", "File profile 'TEST.fp', line 1 holds binary data, not text."},
        {std::string("Recfm=Fixed\0junk\n", 17),
         "File profile 'TEST.fp', line 1 holds binary data, not text."},
        {"\x7f\x45\x4c\x46\x02\x01\x01\n", "File profile 'TEST.fp', line 1 holds binary data, not text."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        app.messages.clear();
        FileProfile p;
        EXPECT_EQ(ReadText(c.text, p), -1);
        ExpectOneError(c.message);
        EXPECT_TRUE(IsFileProfile(p));
        EXPECT_GE(p.maxRecordLength, kProfileRecordLengthMin);
    }
}

TEST_F(FileProfileIoTest, OverlongLineIsNotSplitIntoAFurtherLine) {
    // The tail of a long line must not be read as a line of its own (here it would set Recfm).
    FileProfile p;
    std::string text = "// " + std::string(600, '-') + "Recfm=Fixed\n";
    EXPECT_EQ(ReadText(text, p), -1);
    EXPECT_EQ(p.recordFormat, Recfm::Variable);
    ASSERT_EQ(app.messages.size(), 1u);
    // A line of exactly 511 characters is fine.
    app.messages.clear();
    EXPECT_EQ(ReadText("// " + std::string(508, '-') + "\r\nRecfm=Fixed\n", p), 0);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
}

// ---- Reading: normalisation and the session's record length ----

TEST_F(FileProfileIoTest, NormalisationByNumberType) {
    FileProfile p;
    ASSERT_EQ(
        ReadText("MaxRecLen=80\nNumberType=NONE\nNumberAuto=Full\nNumberStart=5\nOffset=6\nNumberColEnd=8\n",
                 p),
        0);
    EXPECT_EQ(p.numberAuto, NumberAuto::None);
    EXPECT_EQ(p.numberStart, 0);
    EXPECT_EQ(p.numberColumnEnd, 0);
    EXPECT_EQ(p.offset, 0);

    ASSERT_EQ(ReadText("MaxRecLen=80\nNumberType=COB\nNumberIncrement=10\nOffset=6\n", p), 0);
    EXPECT_EQ(p.numberColumnStart, 1);
    EXPECT_EQ(p.numberColumnEnd, 6);
    EXPECT_EQ(p.numberIncrement, 10);
    EXPECT_EQ(p.numberStart, 10);
    EXPECT_EQ(p.boundsLeft, 7);  // past the offset

    ASSERT_EQ(ReadText("MaxRecLen=80\nNumberType=OTHER\nNumberColStart=20\nNumberColEnd=25\n", p), 0);
    EXPECT_EQ(p.numberColumnStart, 20);
    EXPECT_EQ(p.numberColumnEnd, 25);
    EXPECT_EQ(p.numberIncrement, 0);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(FileProfileIoTest, NormalisationKeepsColumnsInsideTheRecord) {
    FileProfile p;
    ASSERT_EQ(ReadText("MaxRecLen=255\nBounds=1,300\n", p), 0);
    EXPECT_EQ(p.boundsRight, 255);
    ASSERT_EQ(ReadText("MaxRecLen=100\nBounds=150,300\n", p), 0);
    EXPECT_EQ(p.boundsLeft, 1);
    EXPECT_EQ(p.boundsRight, 100);
    // An offset past the record is pulled in first, so the left bound it moves stays inside.
    ASSERT_EQ(ReadText("MaxRecLen=20\nNumberType=OTHER\nOffset=50\nBounds=1,20\n", p), 0);
    EXPECT_EQ(p.offset, 19);
    EXPECT_EQ(p.boundsLeft, 20);
    EXPECT_EQ(p.boundsRight, 20);
    // Tab stops past the record end at its last column and the list stays ascending.
    ASSERT_EQ(ReadText("MaxRecLen=20\nTabs=5,10,18,19,25,30\nTabsIn=9\n", p), 0);
    ASSERT_EQ(TabStopCount(p.tabKeyStopsAt), 4);
    EXPECT_EQ(p.tabKeyStopsAt[2], 18);
    EXPECT_EQ(p.tabKeyStopsAt[3], 19);
    ASSERT_EQ(ReadText("MaxRecLen=20\nTabs=5,25,30\n", p), 0);
    ASSERT_EQ(TabStopCount(p.tabKeyStopsAt), 2);
    EXPECT_EQ(p.tabKeyStopsAt[1], 19);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(FileProfileIoTest, SessionRecordLengthOverridesEveryProfile) {
    VarSetValue(app, "ZMAXRECLEN", "132");
    FileProfile p;
    ASSERT_EQ(ReadText("MaxRecLen=80\nBounds=1,80\n", p), 0);
    EXPECT_EQ(p.maxRecordLength, 132);
    ASSERT_EQ(ReadText("Recfm=Fixed\n", p), 0);  // no MaxRecLen line at all
    EXPECT_EQ(p.maxRecordLength, 132);
    ASSERT_EQ(ReadFileProfile(app, "NOFILE", p), 0);  // the built-in profile
    EXPECT_EQ(p.maxRecordLength, 132);
    EXPECT_EQ(p.boundsRight, 132);
    EXPECT_TRUE(app.messages.empty());

    VarSetValue(app, "ZMAXRECLEN", "7");
    EXPECT_EQ(ReadText("Recfm=Fixed\nMaxRecLen=80\nCapsMode=ON\n", p), -1);
    ExpectOneError(Invalid("MaxRecLen=7", 2));
    EXPECT_EQ(p.caps, CapsMode::On);
}

// ---- Reading: which file ----

TEST_F(FileProfileIoTest, FallsBackToDefaultThenBuiltIn) {
    FileProfile p;
    ASSERT_EQ(ReadFileProfile(app, "xyz", p), 0);
    EXPECT_EQ(p.name, "XYZ");
    EXPECT_EQ(p.maxRecordLength, 255);
    EXPECT_EQ(p.tabsExpandOnRead, 2);
    EXPECT_TRUE(p.backup);
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 10);

    Write(root / "server" / "default.FP", "MaxRecLen=99\n");
    ASSERT_EQ(ReadFileProfile(app, "xyz", p), 0);
    EXPECT_EQ(p.name, "XYZ");
    EXPECT_EQ(p.maxRecordLength, 99);
    EXPECT_FALSE(p.backup);
}

TEST_F(FileProfileIoTest, FirstDirectoryOfThePathWinsAndCaseIsIgnored) {
    Write(root / "server" / "CBL.fp", "MaxRecLen=80\n");
    Write(root / "user" / "cbl.fp", "MaxRecLen=90\n");
    FileProfile p;
    ASSERT_EQ(ReadFileProfile(app, "CBL", p), 0);
    EXPECT_EQ(p.maxRecordLength, 90);
    EXPECT_TRUE(FileProfileExists(app, "CBL"));
    EXPECT_FALSE(FileProfileExists(app, "COB"));
}

TEST_F(FileProfileIoTest, NamesThatLeaveTheProfileDirectoriesAreNotOpened) {
    fs::create_directories(root / "user" / "sub");
    Write(root / "user" / "sub" / "X.fp", "MaxRecLen=77\n");
    FileProfile p;
    ASSERT_EQ(ReadFileProfile(app, "sub/X", p), 0);
    EXPECT_EQ(p.maxRecordLength, 255);  // built-in
    EXPECT_FALSE(FileProfileExists(app, "sub/X"));
}

TEST_F(FileProfileIoTest, SpecialFilesAreNotReadAsProfiles) {
    ASSERT_EQ(::mkfifo((root / "user" / "PIPE.fp").c_str(), 0600), 0);
    FileProfile p;
    ASSERT_EQ(ReadFileProfile(app, "PIPE", p), 0);  // would block if opened as a file
    EXPECT_EQ(p.maxRecordLength, 255);
}

// ---- Writing ----

TEST_F(FileProfileIoTest, WriterOrderAndOptionalLines) {
    EXPECT_EQ(FileProfileText(SampleProfile()),
              "Recfm=Fixed\n"
              "CapsMode=AUTO\n"
              "CharsetFile=EBCDIC\n"
              "CharsetDisplay=ASCII-IBMPC\n"
              "Color=COBOL\n"
              "EorType=None\n"
              "NumberType=OTHER\n"
              "NumberAuto=Full\n"
              "NumberStart=10\n"
              "NumberIncrement=10\n"
              "NumberColStart=1\n"
              "NumberColEnd=6\n"
              "MaxRecLen=133\n"
              "Offset=6\n"
              "PromptKeystrokeLimit=500\n"
              "Bounds=7,72\n"
              "Imacro=enter\n"
              "Xmacro=leave\n"
              "TabsIn=3\n"
              "TabsOut=4\n"
              "Template=COBOL\n"
              "Tabs=8,12\n"
              "MaskLine='      *  mask  '\n"
              "BackupPath=/var/backups/src dir\n"
              "BOOLautoincreasereclen=TRUE\n"
              "BOOLautoincreasenotify=FALSE\n"
              "BOOLbackup=TRUE\n"
              "BOOLeofread=FALSE\n"
              "BOOLeofwrite=TRUE\n"
              "BOOLlock=TRUE\n"
              "BOOLpadblanks=FALSE\n"
              "BOOLstripblanks=FALSE\n"
              "BOOLtruncate=TRUE\n");

    FileProfile plain = BuiltInFileProfile("PLAIN");
    plain.tabKeyStopsAt = {};
    plain.numberStart = 5;  // not written: numbering is off
    EXPECT_EQ(FileProfileText(plain),
              "Recfm=Variable\nCapsMode=OFF\nCharsetFile=ASCII-ISO8859\nCharsetDisplay=ASCII-ISO8859\n"
              "EorType=AUTO\nNumberType=None\nMaxRecLen=255\nOffset=0\nBounds=1,255\nTabsIn=2\nTabsOut=0\n"
              "Tabs=0\nBOOLautoincreasereclen=FALSE\nBOOLautoincreasenotify=FALSE\nBOOLbackup=TRUE\n"
              "BOOLeofread=FALSE\nBOOLeofwrite=FALSE\nBOOLlock=FALSE\nBOOLpadblanks=FALSE\n"
              "BOOLstripblanks=FALSE\nBOOLtruncate=FALSE\n");
}

TEST_F(FileProfileIoTest, WriteThenReadGivesTheSameProfile) {
    FileProfile written = SampleProfile();
    ASSERT_EQ(WriteFileProfile(app, written), 0);
    EXPECT_TRUE(fs::exists(root / "user" / "SAMPLE.fp"));
    EXPECT_FALSE(fs::exists(root / "server" / "SAMPLE.fp"));
    FileProfile read;
    ASSERT_EQ(ReadFileProfile(app, "sample", read), 0);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(FileProfileText(read), FileProfileText(written));
    for (std::string_view keyword : {"Recfm", "MaskLine", "BackupPath", "Tabs", "Bounds", "NumberAuto"}) {
        EXPECT_EQ(FileProfileKeywordValue(read, keyword), FileProfileKeywordValue(written, keyword))
            << keyword;
    }
    EXPECT_EQ(read.name, "SAMPLE");
}

TEST_F(FileProfileIoTest, WriteKeepsTheCaseOfAnExistingFileAndReplacesItWhole) {
    Write(root / "user" / "sample.FP", "old text that is much longer than anything the writer produces\n");
    ASSERT_EQ(WriteFileProfile(app, SampleProfile()), 0);
    EXPECT_FALSE(fs::exists(root / "user" / "SAMPLE.fp"));
    EXPECT_EQ(Read(root / "user" / "sample.FP"), FileProfileText(SampleProfile()));
    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root / "user")) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(FileProfileIoTest, AutomaticWriteLeavesALockedProfileAlone) {
    FileProfile p = SampleProfile();
    ASSERT_EQ(WriteFileProfile(app, p, ProfileWriteMode::Automatic), 0);
    EXPECT_FALSE(fs::exists(root / "user" / "SAMPLE.fp"));
    ASSERT_EQ(WriteFileProfile(app, p, ProfileWriteMode::Explicit), 0);
    EXPECT_TRUE(fs::exists(root / "user" / "SAMPLE.fp"));
    p.lock = false;
    p.maxRecordLength = 200;
    ASSERT_EQ(WriteFileProfile(app, p, ProfileWriteMode::Automatic), 0);
    FileProfile read;
    ASSERT_EQ(ReadFileProfile(app, "SAMPLE", read), 0);
    EXPECT_EQ(read.maxRecordLength, 200);

    FileProfile nameless = SampleProfile();
    nameless.name.clear();
    EXPECT_EQ(WriteFileProfile(app, nameless), 0);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(FileProfileIoTest, WriteCutShortByAFullDiskLeavesTheOldProfile) {
    // A file size limit makes the write fail part-way, as a full disk would, even for root.
    Write(root / "user" / "SAMPLE.fp", "MaxRecLen=99\n");
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    int status = WriteFileProfile(app, SampleProfile());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status, -1);
    ExpectOneError("Unable to open file profile '" + (root / "user" / "SAMPLE.fp").string() + "' for WRITE.");
    EXPECT_EQ(Read(root / "user" / "SAMPLE.fp"), "MaxRecLen=99\n");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root / "user")) {
        ++files;
    }
    EXPECT_EQ(files, 1);  // the temporary file is gone
}

TEST_F(FileProfileIoTest, WriteToAMissingDirectoryFails) {
    VarSetValue(app, "ZPATH.FILEPROFILES", (root / "nowhere").string());
    EXPECT_EQ(WriteFileProfile(app, SampleProfile()), -1);
    ExpectOneError("Unable to open file profile '" + (root / "nowhere" / "SAMPLE.fp").string() +
                   "' for WRITE.");
}

TEST_F(FileProfileIoTest, ValuesTheReaderWouldRefuseAreNotWritten) {
    Write(root / "user" / "SAMPLE.fp", "MaxRecLen=99\n");
    FileProfile p = SampleProfile();
    p.imacro = "two\nlines";
    EXPECT_EQ(WriteFileProfile(app, p), -1);
    ExpectOneError(std::string(kInvalidPrefix) + "Imacro=two?lines");
    EXPECT_EQ(Read(root / "user" / "SAMPLE.fp"), "MaxRecLen=99\n");

    app.messages.clear();
    p = SampleProfile();
    p.maskLine = "it's";
    EXPECT_EQ(WriteFileProfile(app, p), -1);
    ExpectOneError(std::string(kInvalidPrefix) + "MaskLine='it's'");

    app.messages.clear();
    p = SampleProfile();
    p.maxRecordLength = 3;
    EXPECT_EQ(WriteFileProfile(app, p), -1);
    ExpectOneError(std::string(kInvalidPrefix) + "MaxRecLen=3");
    EXPECT_EQ(Read(root / "user" / "SAMPLE.fp"), "MaxRecLen=99\n");
}

// ---- Shipped profiles ----

TEST(ShippedFileProfiles, EveryShippedProfileReadsCleanlyInTheWritersFormat) {
    AppSession app;
    const fs::path dir = fs::path(TAVOE_SOURCE_DIR) / "data" / "profiles";
    VarSetValue(app, "ZPATH.FILEPROFILES", dir.string());
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".fp") {
            continue;
        }
        ++count;
        std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        FileProfile p;
        ASSERT_EQ(ReadFileProfile(app, name, p), 0);
        EXPECT_TRUE(app.messages.empty());
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(FileProfileText(p), text.str());
        // Files are kept as they are: no profile strips trailing blanks unless the user asks.
        EXPECT_FALSE(p.stripTrailingBlanks);
    }
    EXPECT_GE(count, 10);
}

TEST(ShippedFileProfiles, KeyValuesOfTheCommonTypes) {
    AppSession app;
    VarSetValue(app, "ZPATH.FILEPROFILES", (fs::path(TAVOE_SOURCE_DIR) / "data" / "profiles").string());
    FileProfile p;
    for (const char* name : {"CBL", "COB", "CPY"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(ReadFileProfile(app, name, p), 0);
        EXPECT_EQ(p.maxRecordLength, 80);
        EXPECT_EQ(p.numberType, NumberType::Cobol);
        EXPECT_EQ(p.numberColumnStart, 1);
        EXPECT_EQ(p.numberColumnEnd, 6);
        EXPECT_EQ(p.offset, 6);
        EXPECT_EQ(p.boundsLeft, 7);
        EXPECT_EQ(p.boundsRight, 72);
        EXPECT_EQ(p.recordFormat, Recfm::Fixed);
        EXPECT_EQ(p.colorType, "COBOL");
    }
    ASSERT_EQ(ReadFileProfile(app, "JCL", p), 0);
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
    EXPECT_EQ(p.maxRecordLength, 80);
    EXPECT_EQ(p.numberType, NumberType::Standard);
    EXPECT_EQ(p.numberColumnStart, 73);
    EXPECT_EQ(p.numberColumnEnd, 80);
    EXPECT_EQ(p.boundsRight, 72);
    ASSERT_EQ(ReadFileProfile(app, "EBC", p), 0);
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
    EXPECT_EQ(p.diskCharset, ProfileCharset::Ebcdic);
    EXPECT_EQ(p.displayCharset, ProfileCharset::AsciiIso8859);
    EXPECT_EQ(p.endOfRecordSequence, EorType::None);
    EXPECT_EQ(p.maxRecordLength, 80);
    for (const char* name : {"TXT", "C", "H", "CPP", "JAVA"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(ReadFileProfile(app, name, p), 0);
        EXPECT_EQ(p.recordFormat, Recfm::Variable);
        EXPECT_EQ(p.numberType, NumberType::None);
        EXPECT_EQ(p.endOfRecordSequence, EorType::Auto);
        EXPECT_TRUE(p.autoIncreaseRecLen);
    }
    EXPECT_TRUE(app.messages.empty());
}

// ---- Profile names ----

TEST_F(FileProfileIoTest, ProfileNameFromTheExtension) {
    Write(root / "server" / "CBL.fp", "MaxRecLen=80\n");
    EXPECT_EQ(ProfileNameForFile(app, "/src/JOB.cbl"), "CBL");
    EXPECT_EQ(ProfileNameForFile(app, "/src/report.001"), "NUMBER");
    EXPECT_EQ(ProfileNameForFile(app, "/src/notes.xyz"), "TXT");
    EXPECT_EQ(ProfileNameForFile(app, "/src/readme"), "NOTYPE");
    EXPECT_EQ(ProfileNameForFile(app, "/src/trailing."), "NOTYPE");
    EXPECT_EQ(ProfileNameForFile(app, "/src/.profile"), "NOTYPE");
    EXPECT_EQ(ProfileNameForFile(app, "/src.d/readme"), "NOTYPE");  // a dot in a directory is no type
    EXPECT_EQ(ProfileNameForFile(app, "a.tar.cBl"), "CBL");
    EXPECT_TRUE(app.messages.empty());
    // With a profile file of its own, an all-digit type keeps its name.
    Write(root / "user" / "001.fp", "MaxRecLen=80\n");
    EXPECT_EQ(ProfileNameForFile(app, "/src/report.001"), "001");
}

TEST_F(FileProfileIoTest, PrnBecomesTxtAndSaysSoOncePerRun) {
    const std::string note =
        "File profile PRN automatically aliased to TXT to avoid collision with reserved system name. To set "
        "a "
        "different alias, click menu OPTIONS, item ALIAS PROFILES.";
    EXPECT_EQ(ProfileNameForFile(app, "x.prn"), "TXT");
    EXPECT_EQ(ProfileNameForFile(app, "y.PRN"), "TXT");
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, note);
    EXPECT_EQ(app.messages[0].beep, Beep::Information);
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    // Another instance has its own run.
    AppSession other;
    EXPECT_EQ(ProfileNameForFile(other, "z.prn"), "TXT");
    EXPECT_EQ(other.messages.size(), 1u);
}

TEST_F(FileProfileIoTest, ForcedProfileAndAliases) {
    Write(root / "server" / "COBOL.fp", "MaxRecLen=80\n");
    Write(root / "server" / "CBL.fp", "MaxRecLen=80\n");
    app.profileAliases.push_back({"CBL", "cobol"});
    app.profileAliases.push_back({"LST", "PRN"});
    EXPECT_EQ(ProfileNameForFile(app, "job.cbl"), "COBOL");
    EXPECT_EQ(ProfileNameForFile(app, "job.lst"), "TXT");  // the alias target goes through the PRN rule
    EXPECT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(ProfileAliasTarget(app, "CBL"), "COBOL");
    EXPECT_EQ(ProfileAliasTarget(app, "cbl"), "");  // exact comparison: callers pass the upper-cased type

    VarSetValue(app, "ZPROFILE", "cbl");
    EXPECT_EQ(ProfileNameForFile(app, "anything.java"), "CBL");  // forced: no alias applied
    VarSetValue(app, "ZPROFILE", "nosuch");
    EXPECT_EQ(ProfileNameForFile(app, "anything.cbl"), "TXT");
}

TEST_F(FileProfileIoTest, AliasEditing) {
    EXPECT_EQ(EditProfileAlias(app, "", "TXT"), AliasEditResult::Ignored);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Alias field not specified, CHANGE ignored.");
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    EXPECT_EQ(EditProfileAlias(app, "lst", ""), AliasEditResult::Ignored);
    EXPECT_EQ(app.messages.back().text, "Actual field not specified, CHANGE ignored.");
    EXPECT_EQ(EditProfileAlias(app, "a b", "TXT"), AliasEditResult::Ignored);
    EXPECT_TRUE(app.profileAliases.empty());

    EXPECT_EQ(EditProfileAlias(app, "lst", "txt"), AliasEditResult::Appended);
    EXPECT_EQ(EditProfileAlias(app, "cbl", "cobol"), AliasEditResult::Appended);
    EXPECT_EQ(EditProfileAlias(app, "LST", "list"), AliasEditResult::Changed);
    ASSERT_EQ(app.profileAliases.size(), 2u);
    EXPECT_EQ(app.profileAliases[0].alias, "LST");
    EXPECT_EQ(app.profileAliases[0].actual, "LIST");
    EXPECT_EQ(EditProfileAlias(app, "lst", ""), AliasEditResult::Deleted);
    ASSERT_EQ(app.profileAliases.size(), 1u);
    EXPECT_EQ(app.profileAliases[0].alias, "CBL");
    // Both texts are cut to the alias record.
    EXPECT_EQ(EditProfileAlias(app, "ABCDEFGHIJKLMNOPQ", "ABCDEFGHIJKLMNOPQRS"), AliasEditResult::Appended);
    EXPECT_EQ(app.profileAliases[1].alias, "ABCDEFGHIJKLMN");
    EXPECT_EQ(app.profileAliases[1].actual, "ABCDEFGHIJKLMNOP");
}
