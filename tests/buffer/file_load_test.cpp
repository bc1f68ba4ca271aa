#include <numeric>

#include "buffer/charset.h"
#include "file_load_fixture.h"

using namespace tavoe;

namespace {

using Lines = std::vector<std::string>;

// ---- Terminators ----------------------------------------------------------------------------------

using VariableFormatLoad = FileLoadTest;

TEST_F(VariableFormatLoad, AutoSensesCrLfAndCutsAtBoth) {
    ASSERT_EQ(Load("A\r\nB\r\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"A", "B"}));
    EXPECT_EQ(buffer->profile.sensedTerminator, EorType::CrLf);
    EXPECT_EQ(buffer->file.sensedTerminator, EorType::CrLf);
    EXPECT_EQ(RecordNumbers(), (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(EndMarkerText(), "*** Bottom of File ***");
    EXPECT_FALSE(buffer->modified);
}

TEST_F(VariableFormatLoad, AutoSensesLfFromFirstLoneLfAndKeepsEarlierCrAsData) {
    ASSERT_EQ(Load("A\rB\nC\r\n"), 0);
    EXPECT_EQ(buffer->file.sensedTerminator, EorType::Lf);
    EXPECT_EQ(DataLines(), (Lines{"A\rB", "C\r"}));
}

TEST_F(VariableFormatLoad, AutoWithoutAnyTerminatorAbortsWithMessage) {
    EXPECT_EQ(Load("just one line"), -1);
    EXPECT_TRUE(Shown("Unable to sense LF or CRLF record terminator in '" + PathOf("f.txt") +
                      "', file load aborted."));
    EXPECT_FALSE(buffer->file.handle.IsOpen());
}

TEST_F(VariableFormatLoad, CrLfModeTreatsLoneCrAndLoneLfAsData) {
    buffer->profile.endOfRecordSequence = EorType::CrLf;
    ASSERT_EQ(Load("a\rb\nc\r\nd"), 0);
    EXPECT_EQ(DataLines(), (Lines{"a\rb\nc", "d"}));
}

TEST_F(VariableFormatLoad, AnyModeEndsAtLfOrCrLfButNotLoneCr) {
    buffer->profile.endOfRecordSequence = EorType::Any;
    ASSERT_EQ(Load("a\r\nb\nc\rd\n\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"a", "b", "c\rd", ""}));
    EXPECT_EQ(buffer->profile.sensedTerminator, EorType::Any);
}

TEST_F(VariableFormatLoad, NoneOnVariableFileSensesAndFallsBackToAny) {
    buffer->profile.endOfRecordSequence = EorType::None;
    ASSERT_EQ(Load("x\ny\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"x", "y"}));
    EXPECT_EQ(buffer->file.sensedTerminator, EorType::Lf);

    auto other = std::make_unique<EditBuffer>(app);
    other->profile.endOfRecordSequence = EorType::None;
    ASSERT_EQ(OpenFile(*other, WriteFile("g.txt", "no terminator at all"), OpenMode::Edit), 0);
    EXPECT_EQ(DataLinesOf(*other), (Lines{"no terminator at all"}));
    EXPECT_EQ(other->file.sensedTerminator, EorType::Any);
}

TEST_F(VariableFormatLoad, LastRecordWithoutTerminatorAndEmptyRecordsKept) {
    ASSERT_EQ(Load("a\n\n\nlast"), 0);
    EXPECT_EQ(DataLines(), (Lines{"a", "", "", "last"}));
}

// The read size is cut to a few bytes so that every terminator falls across two reads somewhere.
TEST_F(VariableFormatLoad, CrLfSplitAcrossReadsEndsTheRecordOnce) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += std::string(static_cast<std::size_t>(i % 7), 'a' + static_cast<char>(i % 26)) + "\r\n";
    }
    for (int limit : {1, 2, 3, 5, 8}) {
        auto b = std::make_unique<EditBuffer>(app);
        b->profile.endOfRecordSequence = EorType::CrLf;
        b->file.hooks.readSizeLimit = limit;
        ASSERT_EQ(OpenFile(*b, WriteFile("s.txt", text), OpenMode::Edit), 0) << limit;
        Lines lines = DataLinesOf(*b);
        ASSERT_EQ(lines.size(), 40u) << limit;
        for (int i = 0; i < 40; ++i) {
            EXPECT_EQ(lines[static_cast<std::size_t>(i)],
                      std::string(static_cast<std::size_t>(i % 7), 'a' + static_cast<char>(i % 26)))
                << "limit " << limit << " line " << i;
        }
    }
}

TEST_F(VariableFormatLoad, CrLfAtTheReadBufferBoundary) {
    // The first buffer holds 8192 bytes: the CR of the second record is its last byte and the LF
    // starts the next read.
    buffer->profile.maxRecordLength = 8192;
    std::string second(8188, 'x');
    ASSERT_EQ(Load("a\r\n" + second + "\r\nthird\r\n"), 0);
    ASSERT_EQ(buffer->file.bufferSize, 16384);
    EXPECT_EQ(DataLines(), (Lines{"a", second, "third"}));

    auto small = std::make_unique<EditBuffer>(app);
    std::string tail(8189 - 3, 'y');
    ASSERT_EQ(OpenFile(*small, WriteFile("b.txt", "a\r\n" + tail + "\r\nz\r\n"), OpenMode::Edit), 0);
    ASSERT_EQ(small->file.bufferSize, 8192);
    Lines lines = DataLinesOf(*small);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "z");
    std::string joined;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        joined += lines[i];
    }
    EXPECT_EQ(joined, tail);
}

TEST_F(VariableFormatLoad, EndOfFileCharacterEndsFileOnlyAtRecordStart) {
    buffer->profile.endOfFileCharRead = true;
    ASSERT_EQ(Load("a\x1A"
                   "b\n\x1A"
                   "rest\nmore\n"),
              0);
    EXPECT_EQ(DataLines(), (Lines{"a\x1A"
                                  "b"}));
    EXPECT_TRUE(buffer->file.eofCharSeen);

    auto off = std::make_unique<EditBuffer>(app);
    ASSERT_EQ(OpenFile(*off, WriteFile("g.txt", "a\n\x1A\n"), OpenMode::Edit), 0);
    EXPECT_EQ(DataLinesOf(*off), (Lines{"a", "\x1A"}));
}

TEST_F(VariableFormatLoad, NulAndEveryOtherByteValueAreData) {
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), 0);
    buffer->profile.endOfRecordSequence = EorType::Lf;
    buffer->profile.maxRecordLength = 1000;
    ASSERT_EQ(Load(bytes + "\n"), 0);
    std::string before(bytes.begin(), bytes.begin() + 10);
    std::string after(bytes.begin() + 11, bytes.end());
    EXPECT_EQ(DataLines(), (Lines{before, after}));
}

// ---- Record shaping --------------------------------------------------------------------------------

using RecordShaping = FileLoadTest;

TEST_F(RecordShaping, TabsExpandToNextMultipleOfWidth) {
    buffer->profile.tabsExpandOnRead = 8;
    ASSERT_EQ(Load("ab\tc\n\t\tx\n12345678\ty\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"ab      c", std::string(16, ' ') + "x", "12345678        y"}));
}

TEST_F(RecordShaping, TabExpansionBeyondRecordLengthFoldsInsteadOfDropping) {
    buffer->profile.tabsExpandOnRead = 8;
    buffer->profile.maxRecordLength = 10;
    ASSERT_EQ(Load("\t\tabcdef\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{std::string(10, ' '), "      abcd", "ef"}));
    EXPECT_EQ(buffer->foldedCount, 2);
}

TEST_F(RecordShaping, StripsTrailingBlanksAndPadsShortRecords) {
    buffer->profile.stripTrailingBlanks = true;
    ASSERT_EQ(Load("ab   \n   \ncd\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"ab", "", "cd"}));

    auto padded = std::make_unique<EditBuffer>(app);
    padded->profile.padShortRecsWithBlank = true;
    padded->profile.maxRecordLength = 8;
    ASSERT_EQ(OpenFile(*padded, WriteFile("p.txt", "ab\n\n12345678\n"), OpenMode::Edit), 0);
    EXPECT_EQ(DataLinesOf(*padded), (Lines{"ab      ", "        ", "12345678"}));
    const LineRecord* first = FirstDataLine(*padded);
    EXPECT_TRUE(LineHasFlag(*first, LineFlagA::BlankPadded));
    EXPECT_FALSE(LineHasFlag(*LastDataLine(*padded), LineFlagA::BlankPadded));
    EXPECT_TRUE(padded->hasPaddedLines);
    EXPECT_FALSE(padded->modified);
}

TEST_F(RecordShaping, FoldsLongRecordsWithConsecutiveNumbersAndCountsThem) {
    buffer->profile.maxRecordLength = 10;
    ASSERT_EQ(Load(std::string("abcdefghijklmnopqrstuvwxy") + "\nz\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"abcdefghij", "klmnopqrst", "uvwxy", "z"}));
    EXPECT_EQ(RecordNumbers(), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(buffer->foldedCount, 2);
    EXPECT_TRUE(Shown("Long rec folded at max rec len: 2 times"));
}

TEST_F(RecordShaping, TruncatesLongRecordsWhenAsked) {
    buffer->profile.maxRecordLength = 10;
    buffer->profile.truncateLongLines = true;
    ASSERT_EQ(Load(std::string(25, 'q') + "\nz\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{std::string(10, 'q'), "z"}));
    EXPECT_EQ(RecordNumbers(), (std::vector<std::uint32_t>{1, 2}));
    EXPECT_TRUE(Shown("Long rec truncated at max rec len: 1 times"));
}

TEST_F(RecordShaping, CobolFoldingContinuesInColumnSevenWithoutDroppingData) {
    buffer->profile = BuiltInFileProfile("COB");
    buffer->profile.tabsExpandOnRead = 0;
    buffer->profile.offset = 6;
    buffer->profile.maxRecordLength = 80;
    std::string record;
    for (int i = 0; i < 240; ++i) {
        record += static_cast<char>('A' + i % 26);
    }
    ASSERT_EQ(Load(record + "\n"), 0);
    Lines lines = DataLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], record.substr(0, 80));
    EXPECT_EQ(lines[1], "      " + record.substr(80, 74));
    EXPECT_EQ(lines[2], "      " + record.substr(154, 74));
    EXPECT_EQ(lines[3], "      " + record.substr(228));
    EXPECT_EQ(buffer->foldedCount, 3);
    EXPECT_EQ(RecordNumbers(), (std::vector<std::uint32_t>{1, 2, 3, 4}));
}

TEST_F(RecordShaping, AutoIncreaseRaisesRecordLengthAndTellsTheHost) {
    buffer->profile = BuiltInFileProfile("TXT");
    buffer->profile.tabsExpandOnRead = 0;
    buffer->profile.maxRecordLength = 20;
    buffer->profile.boundsRight = 20;
    buffer->profile.autoIncreaseRecLen = true;
    buffer->profile.autoIncreaseNotify = true;
    ASSERT_EQ(Load(std::string(30, 'w') + "\nshort\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{std::string(30, 'w'), "short"}));
    EXPECT_EQ(buffer->profile.maxRecordLength, 30);
    EXPECT_EQ(buffer->profile.boundsRight, 30);
    EXPECT_TRUE(Shown("File '" + PathOf("f.txt") +
                      "' has record which exceeds 'MaxRecordLength'.\n\nIncreased 'MaxRecordLength' to 30 in "
                      "file profile TXT."));
    ASSERT_EQ(host->raisedLengths.size(), 1u);
    EXPECT_EQ(host->raisedLengths[0], 30);
}

// ---- Long records -----------------------------------------------------------------------------------

using LongRecordLoad = FileLoadTest;

TEST_F(LongRecordLoad, RecordOver64000IsSplitReportedOnceAndNothingIsLost) {
    buffer->profile.maxRecordLength = 64000;
    buffer->profile.endOfRecordSequence = EorType::CrLf;
    std::string big(150000, 'b');
    for (std::size_t i = 0; i < big.size(); i += 997) {
        big[i] = static_cast<char>('0' + i % 10);
    }
    ASSERT_EQ(Load(big + "\r\nafter\r\n"), 0);
    Lines lines = DataLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 64000u);
    EXPECT_EQ(lines[0] + lines[1] + lines[2], big);
    EXPECT_EQ(lines[3], "after");
    int reports = 0;
    for (const std::string& text : MessageTexts()) {
        reports += text == "Individual record length exceeds 64000." ? 1 : 0;
    }
    EXPECT_EQ(reports, 1);
}

TEST_F(LongRecordLoad, SplitKeepsCrLfTogether) {
    // The record fills the 64000-byte buffer exactly up to its CR: the CR must not become data.
    buffer->profile.maxRecordLength = 64000;
    buffer->profile.endOfRecordSequence = EorType::CrLf;
    std::string big(63999, 'c');
    ASSERT_EQ(Load(big + "\r\nnext\r\n"), 0);
    Lines lines = DataLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], big);
    EXPECT_EQ(lines[1], "next");
    EXPECT_FALSE(Shown("Individual record length exceeds 64000."));
}

TEST_F(LongRecordLoad, RecordFillingTheBufferExactlyMakesNoExtraRecord) {
    buffer->profile.maxRecordLength = 255;
    buffer->profile.endOfRecordSequence = EorType::Lf;
    std::string exact(8192, 'e');
    ASSERT_EQ(Load(exact + "\nnext\n"), 0);
    Lines lines = DataLines();
    ASSERT_EQ(lines.size(), 8192u / 255 + 2);
    EXPECT_EQ(lines.back(), "next");
    EXPECT_EQ(lines[lines.size() - 2], std::string(8192 % 255, 'e'));
}

TEST_F(LongRecordLoad, BufferGrowsWithAutoIncreaseUntilTheRecordFits) {
    buffer->profile.maxRecordLength = 255;
    buffer->profile.autoIncreaseRecLen = true;
    buffer->profile.autoIncreaseNotify = true;
    buffer->profile.name = "";  // not written anywhere
    buffer->profile.endOfRecordSequence = EorType::Lf;
    std::string big(10000, 'g');
    ASSERT_EQ(Load(big + "\nx\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{big, "x"}));
    EXPECT_TRUE(Shown("File '" + PathOf("f.txt") +
                      "' has record which exceeds read buffer size of 8192.\n\nRead buffer size increased to "
                      "12288. File Profile , field 'MaxRecordLength', set equal to new read buffer size."));
    EXPECT_GE(buffer->profile.maxRecordLength, 10000);
}

TEST_F(LongRecordLoad, TruncatedSplitRecordDropsItsRest) {
    buffer->profile.maxRecordLength = 255;
    buffer->profile.truncateLongLines = true;
    buffer->profile.endOfRecordSequence = EorType::Lf;
    ASSERT_EQ(Load(std::string(20000, 't') + "\nnext\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{std::string(255, 't'), "next"}));
}

// ---- Fixed format -----------------------------------------------------------------------------------

using FixedFormatLoad = FileLoadTest;

TEST_F(FixedFormatLoad, PadsShortLastRecordAndSaysSo) {
    buffer->profile.recordFormat = Recfm::Fixed;
    buffer->profile.maxRecordLength = 80;
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        bytes += static_cast<char>(i % 2 ? '\n' : 'k');
    }
    ASSERT_EQ(Load(bytes), 0);
    Lines lines = DataLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], bytes.substr(0, 80));
    EXPECT_EQ(lines[2], bytes.substr(160) + std::string(40, ' '));
    EXPECT_EQ(buffer->shortLastRecordCount, 1);
    EXPECT_TRUE(Shown("Last rec short, padded to max rec len"));
    EXPECT_EQ(buffer->file.sensedTerminator, EorType::None);
}

TEST_F(FixedFormatLoad, RecordsSurviveArbitraryReadSizes) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes += static_cast<char>(i * 7);
    }
    for (int limit : {1, 7, 13, 100}) {
        auto b = std::make_unique<EditBuffer>(app);
        b->profile.recordFormat = Recfm::Fixed;
        b->profile.maxRecordLength = 10;
        b->file.hooks.readSizeLimit = limit;
        ASSERT_EQ(OpenFile(*b, WriteFile("r.dat", bytes), OpenMode::Edit), 0);
        Lines lines = DataLinesOf(*b);
        ASSERT_EQ(lines.size(), 100u);
        EXPECT_EQ(std::accumulate(lines.begin(), lines.end(), std::string()), bytes) << limit;
    }
}

TEST_F(FixedFormatLoad, EbcdicTranslatesEveryByteValue) {
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), 0);
    for (ProfileCharset display : {ProfileCharset::AsciiIbmPc, ProfileCharset::AsciiIso8859}) {
        auto b = std::make_unique<EditBuffer>(app);
        b->profile.recordFormat = Recfm::Fixed;
        b->profile.maxRecordLength = 64;
        b->profile.diskCharset = ProfileCharset::Ebcdic;
        b->profile.displayCharset = display;
        ASSERT_EQ(OpenFile(*b, WriteFile("e.dat", bytes), OpenMode::Edit), 0);
        CharSet to = display == ProfileCharset::AsciiIbmPc ? CharSet::AsciiIbmPc : CharSet::AsciiIso8859;
        std::string expected(256, '\0');
        Translate(Storage(app), CharSet::Ebcdic, to, bytes.data(), expected.data(), 256);
        Lines lines = DataLinesOf(*b);
        EXPECT_EQ(std::accumulate(lines.begin(), lines.end(), std::string()), expected);
        EXPECT_EQ(lines[3].substr(1, 1), "A");  // x'C1'
    }
    int reports = 0;
    for (const std::string& text : MessageTexts()) {
        reports += text.find("do not translate") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(reports, 1);  // ISO-8859 display: x'20'-x'3F' are reported once for the file
}

TEST_F(FixedFormatLoad, BufferSizeFollowsRecordLength) {
    EXPECT_EQ(ReadBufferSize(Recfm::Fixed, 80), 8160);
    EXPECT_EQ(ReadBufferSize(Recfm::Fixed, 200), 10000);
    EXPECT_EQ(ReadBufferSize(Recfm::Fixed, 3000), 63000);
    EXPECT_EQ(ReadBufferSize(Recfm::Fixed, 64000), 64000);
    EXPECT_EQ(ReadBufferSize(Recfm::Variable, 255), 8192);
    EXPECT_EQ(ReadBufferSize(Recfm::Variable, 20000), 40000);
    EXPECT_EQ(ReadBufferSize(Recfm::Variable, 40000), 64000);
}

TEST_F(VariableFormatLoad, EbcdicVariableRecordsAreTranslated) {
    buffer->profile.diskCharset = ProfileCharset::Ebcdic;
    buffer->profile.displayCharset = ProfileCharset::AsciiIbmPc;
    ASSERT_EQ(Load("\xC1\xC2\x40\x25\n\xF1\n"), 0);
    EXPECT_EQ(DataLines(), (Lines{"AB  ", "1"}));
}

}  // namespace
