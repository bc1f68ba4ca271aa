#include <gtest/gtest.h>

#include <string>

#include "profiles/file_profile.h"
#include "profiles/file_profile_keywords.h"

using namespace tavoe;

namespace {

ProfileKeywordStatus Set(FileProfile& p, std::string_view keyword, std::string_view value) {
    return SetFileProfileKeyword(p, keyword, value);
}

std::string Value(const FileProfile& p, std::string_view keyword) {
    return FileProfileKeywordValue(p, keyword).value_or("<none>");
}

}  // namespace

TEST(BuiltInFileProfile, HoldsTheDefaults) {
    FileProfile p = BuiltInFileProfile("cbl");
    EXPECT_TRUE(IsFileProfile(p));
    EXPECT_EQ(p.tag, "FILEPROF");
    EXPECT_EQ(p.name, "CBL");
    EXPECT_EQ(p.colorizer, nullptr);
    EXPECT_EQ(p.recordFormat, Recfm::Variable);
    EXPECT_EQ(p.diskCharset, ProfileCharset::AsciiIso8859);
    EXPECT_EQ(p.displayCharset, ProfileCharset::AsciiIso8859);
    EXPECT_EQ(p.endOfRecordSequence, EorType::Auto);
    EXPECT_EQ(p.sensedTerminator, EorType::Auto);
    EXPECT_EQ(p.numberType, NumberType::None);
    EXPECT_EQ(p.numberAuto, NumberAuto::None);
    EXPECT_EQ(p.caps, CapsMode::Off);
    EXPECT_EQ(p.maxRecordLength, 255);
    EXPECT_EQ(p.boundsLeft, 1);
    EXPECT_EQ(p.boundsRight, 255);
    EXPECT_EQ(p.offset, 0);
    EXPECT_EQ(p.promptAfterKeystrokes, 0);
    EXPECT_EQ(p.tabsExpandOnRead, 2);
    EXPECT_EQ(p.tabsInsertOnWrite, 0);
    EXPECT_EQ(Value(p, "Tabs"), "2,4,6,8,10,12,14,16,18,20");
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 10);
    EXPECT_EQ(p.numberStart, 0);
    EXPECT_EQ(p.numberIncrement, 0);
    EXPECT_EQ(p.numberColumnStart, 0);
    EXPECT_EQ(p.numberColumnEnd, 0);
    EXPECT_TRUE(p.backup);
    EXPECT_FALSE(p.autoIncreaseRecLen || p.autoIncreaseNotify || p.lock || p.endOfFileCharRead ||
                 p.endOfFileCharWrite || p.truncateLongLines || p.stripTrailingBlanks ||
                 p.padShortRecsWithBlank);
    EXPECT_TRUE(p.colorType.empty() && p.languageTemplate.empty() && p.imacro.empty() && p.xmacro.empty() &&
                p.maskLine.empty() && p.backupAlternatePath.empty());
    EXPECT_EQ(BuiltInFileProfile(std::string(70, 'x')).name, std::string(63, 'X'));
}

TEST(FileProfileRecord, EmptyRecordIsAllFirstValues) {
    FileProfile p;
    EXPECT_TRUE(IsFileProfile(p));
    EXPECT_EQ(p.maxRecordLength, 0);
    EXPECT_FALSE(p.backup);
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 0);
    EXPECT_EQ(Value(p, "Tabs"), "0");
    p.tag = "OTHER";
    EXPECT_FALSE(IsFileProfile(p));
    EXPECT_EQ(ProfileCharsetName(ProfileCharset::Ebcdic), "EBCDIC");
    EXPECT_EQ(ProfileCharsetName(ProfileCharset::AsciiIbmPc), "ASCII-IBMPC");
}

TEST(FileProfileKeywords, ChoicesAreCaseSensitiveExceptNumberType) {
    FileProfile p;
    EXPECT_EQ(Set(p, "Recfm", "Fixed"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
    EXPECT_EQ(Set(p, "Recfm", "FIXED"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(p.recordFormat, Recfm::Fixed);
    EXPECT_EQ(Set(p, "recfm", "Fixed"), ProfileKeywordStatus::UnknownKeyword);

    EXPECT_EQ(Set(p, "EorType", "None"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.endOfRecordSequence, EorType::None);
    EXPECT_EQ(Set(p, "EorType", "NONE"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "CapsMode", "AUTO"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.caps, CapsMode::Auto);
    EXPECT_EQ(Set(p, "NumberAuto", "Incr"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.numberAuto, NumberAuto::Incr);

    EXPECT_EQ(Set(p, "NumberType", "std"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.numberType, NumberType::Standard);
    EXPECT_EQ(Set(p, "NumberType", "Cob"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.numberType, NumberType::Cobol);
    EXPECT_EQ(Set(p, "NumberType", "cob+std"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.numberType, NumberType::CobStd);
    EXPECT_EQ(Set(p, "NumberType", "None"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.numberType, NumberType::None);
    EXPECT_EQ(Set(p, "NumberType", "COBOLX"), ProfileKeywordStatus::BadValue);
}

TEST(FileProfileKeywords, CharsetsAndTheAsciiAlias) {
    FileProfile p;
    EXPECT_EQ(Set(p, "CharsetFile", "EBCDIC"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.diskCharset, ProfileCharset::Ebcdic);
    EXPECT_EQ(Set(p, "Charset", "ASCII"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.diskCharset, ProfileCharset::AsciiIso8859);
    EXPECT_EQ(Set(p, "Charset", "ASCII-IBMPC"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.diskCharset, ProfileCharset::AsciiIbmPc);
    EXPECT_EQ(p.displayCharset, ProfileCharset::AsciiIso8859);
    // The screen never shows EBCDIC.
    EXPECT_EQ(Set(p, "CharsetDisplay", "EBCDIC"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "CharsetDisplay", "ASCII"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "CharsetDisplay", "ASCII-IBMPC"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Value(p, "CharsetDisplay"), "ASCII-IBMPC");
}

TEST(FileProfileKeywords, NumbersKeepTheirRanges) {
    FileProfile p;
    EXPECT_EQ(Set(p, "MaxRecLen", "7"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaxRecLen", "64001"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaxRecLen", "80x"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaxRecLen", ""), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaxRecLen", "99999999999999"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(p.maxRecordLength, 0);
    EXPECT_EQ(Set(p, "MaxRecLen", " 64000 "), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.maxRecordLength, 64000);
    EXPECT_EQ(Set(p, "TabsIn", "9"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Set(p, "TabsOut", "10"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Offset", "63999"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Set(p, "Offset", "-1"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "PromptKeystrokeLimit", "1000000"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "NumberStart", "0"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "NumberIncrement", "0"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Set(p, "NumberIncrement", "10001"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "NumberColStart", "73"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Set(p, "NumberColEnd", "80"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.numberColumnStart, 73);
    EXPECT_EQ(Value(p, "NumberColEnd"), "80");
}

TEST(FileProfileKeywords, BoundsAreAnOrderedPair) {
    FileProfile p;
    EXPECT_EQ(Set(p, "Bounds", "10,5"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Bounds", "7"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Bounds", "1,2,3"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Bounds", "0,5"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Bounds", "1,64001"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(p.boundsLeft, 0);
    EXPECT_EQ(Set(p, "Bounds", "7 , 72"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.boundsLeft, 7);
    EXPECT_EQ(p.boundsRight, 72);
    EXPECT_EQ(Set(p, "Bounds", "5 5"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Value(p, "Bounds"), "5,5");
}

TEST(FileProfileKeywords, TabStopsAscendAndEndAtZero) {
    FileProfile p = BuiltInFileProfile();
    EXPECT_EQ(Set(p, "Tabs", "10 20,30"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Value(p, "Tabs"), "10,20,30");
    EXPECT_EQ(p.tabKeyStopsAt[3], 0);
    EXPECT_EQ(Set(p, "Tabs", "0"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 0);
    EXPECT_EQ(Set(p, "Tabs", "5,9,0"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Value(p, "Tabs"), "5,9");
    EXPECT_EQ(Set(p, "Tabs", "5,0,9"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Tabs", "9,5"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Tabs", "5,5"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Tabs", "1001"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "Tabs", ""), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Value(p, "Tabs"), "5,9");

    std::string stops;
    for (int i = 1; i <= 31; ++i) {
        stops += std::to_string(i * 3) + ",";
    }
    EXPECT_EQ(Set(p, "Tabs", stops), ProfileKeywordStatus::Ok);
    EXPECT_EQ(TabStopCount(p.tabKeyStopsAt), 31);
    EXPECT_EQ(p.tabKeyStopsAt[31], 0);
    EXPECT_EQ(Set(p, "Tabs", stops + "999"), ProfileKeywordStatus::BadValue);
}

TEST(FileProfileKeywords, TextsKeepTheirWidths) {
    FileProfile p;
    EXPECT_EQ(Set(p, "Color", "cobol"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.colorType, "COBOL");
    EXPECT_EQ(Set(p, "Color", "12345678"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(p.colorType, "COBOL");
    EXPECT_EQ(Set(p, "Template", "cbl"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.languageTemplate, "CBL");
    EXPECT_EQ(Set(p, "Imacro", "MyEntryMacro123"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.imacro, "MyEntryMacro123");
    EXPECT_EQ(Set(p, "Xmacro", "MyExitMacro12345"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "BackupPath", std::string(255, 'd')), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Set(p, "BackupPath", std::string(256, 'd')), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(p.backupAlternatePath.size(), 255u);
}

TEST(FileProfileKeywords, MaskLineIsQuotedWithoutInnerQuotes) {
    FileProfile p;
    EXPECT_EQ(Set(p, "MaskLine", "'      *  '"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(p.maskLine, "      *  ");
    EXPECT_EQ(Value(p, "MaskLine"), "'      *  '");
    EXPECT_EQ(Set(p, "MaskLine", "abc"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaskLine", "'"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaskLine", "'it's'"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaskLine", "'" + std::string(128, 'm') + "'"), ProfileKeywordStatus::BadValue);
    EXPECT_EQ(Set(p, "MaskLine", "''"), ProfileKeywordStatus::Ok);
    EXPECT_TRUE(p.maskLine.empty());
}

TEST(FileProfileKeywords, BooleansAndTheIgnoredAutosave) {
    FileProfile p;
    EXPECT_EQ(Set(p, "BOOLpadblanks", "TRUE"), ProfileKeywordStatus::Ok);
    EXPECT_TRUE(p.padShortRecsWithBlank);
    EXPECT_EQ(Set(p, "BOOLpadblanks", "true"), ProfileKeywordStatus::BadValue);
    EXPECT_TRUE(p.padShortRecsWithBlank);
    EXPECT_EQ(Set(p, "BOOLlock", "FALSE"), ProfileKeywordStatus::Ok);
    EXPECT_EQ(Value(p, "BOOLpadblanks"), "TRUE");
    EXPECT_EQ(Value(p, "BOOLlock"), "FALSE");
    EXPECT_EQ(Set(p, "BOOLautosave", "whatever"), ProfileKeywordStatus::Ignored);
    EXPECT_TRUE(IsFileProfileKeyword("BOOLautosave"));
    EXPECT_FALSE(FileProfileKeywordValue(p, "BOOLautosave").has_value());
    EXPECT_FALSE(IsFileProfileKeyword("BOOLPADBLANKS"));
}

// Every field written under its keyword reads back into the same record.
TEST(FileProfileKeywords, WrittenValuesReadBack) {
    FileProfile a = BuiltInFileProfile("JCL");
    ASSERT_EQ(Set(a, "Recfm", "Fixed"), ProfileKeywordStatus::Ok);
    ASSERT_EQ(Set(a, "CharsetFile", "EBCDIC"), ProfileKeywordStatus::Ok);
    ASSERT_EQ(Set(a, "CharsetDisplay", "ASCII-IBMPC"), ProfileKeywordStatus::Ok);
    ASSERT_EQ(Set(a, "NumberType", "COB+STD"), ProfileKeywordStatus::Ok);
    ASSERT_EQ(Set(a, "MaxRecLen", "80"), ProfileKeywordStatus::Ok);
    ASSERT_EQ(Set(a, "MaskLine", "'//  '"), ProfileKeywordStatus::Ok);
    ASSERT_EQ(Set(a, "BOOLeofwrite", "TRUE"), ProfileKeywordStatus::Ok);
    const char* keywords[] = {"Recfm",
                              "CharsetFile",
                              "CharsetDisplay",
                              "EorType",
                              "NumberType",
                              "NumberAuto",
                              "CapsMode",
                              "MaxRecLen",
                              "Offset",
                              "PromptKeystrokeLimit",
                              "Bounds",
                              "TabsIn",
                              "TabsOut",
                              "Tabs",
                              "NumberIncrement",
                              "BOOLautoincreasereclen",
                              "BOOLautoincreasenotify",
                              "BOOLbackup",
                              "BOOLlock",
                              "BOOLeofread",
                              "BOOLeofwrite",
                              "BOOLtruncate",
                              "BOOLstripblanks",
                              "BOOLpadblanks",
                              "Color",
                              "Template",
                              "Imacro",
                              "Xmacro",
                              "MaskLine",
                              "BackupPath"};
    FileProfile b;
    for (const char* keyword : keywords) {
        std::string text = Value(a, keyword);
        EXPECT_EQ(Set(b, keyword, text), ProfileKeywordStatus::Ok) << keyword << "=" << text;
        EXPECT_EQ(Value(b, keyword), text) << keyword;
    }
    EXPECT_EQ(b.recordFormat, Recfm::Fixed);
    EXPECT_EQ(b.numberType, NumberType::CobStd);
    EXPECT_EQ(b.tabKeyStopsAt, a.tabKeyStopsAt);
}
