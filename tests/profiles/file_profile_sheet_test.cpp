#include "profiles/file_profile_sheet.h"

#include <gtest/gtest.h>

#include "core/var_store.h"
#include "platform/ascii_case.h"
#include "search_path_fixture.h"

using namespace tavoe;

namespace {

using Changes = std::vector<std::pair<std::string, std::string>>;

class ProfileSheetTest : public SearchPathFixture {
protected:
    ProfileSheetTest() : SearchPathFixture("fpsheet", "ZPATH.FILEPROFILES") {}
    std::vector<std::string> Texts() {
        std::vector<std::string> out;
        for (const ShownMessage& m : app.messages) {
            out.push_back(m.text);
        }
        return out;
    }
};

TEST_F(ProfileSheetTest, RowsFollowTheRecordFormat) {
    FileProfile p = BuiltInFileProfile("TXT");
    auto names = [](const FileProfile& profile) {
        std::string out;
        for (const ProfileSheetRow& row : ProfileSheetRows(profile)) {
            out += row.name + " ";
        }
        return out;
    };
    std::string variable = names(p);
    EXPECT_NE(variable.find("EndOfRecordSequence MaxRecordLength Bounds"), std::string::npos);
    EXPECT_NE(variable.find("StripTrailingBlanks TruncateLongLines"), std::string::npos);
    EXPECT_EQ(variable.find("RecordLength "), variable.find("MaxRecordLength ") + 3);
    p.recordFormat = Recfm::Fixed;
    std::string fixed = names(p);
    EXPECT_EQ(fixed.find("EndOfRecordSequence"), std::string::npos);
    EXPECT_EQ(fixed.find("TabsExpandOnRead"), std::string::npos);
    EXPECT_NE(fixed.find("RecordFormat RecordLength Bounds"), std::string::npos);
    EXPECT_EQ(ProfileSheetRows(p)[3].value, "1,255");
}

TEST_F(ProfileSheetTest, StandardNumberingSetsLengthAndBounds) {
    FileProfile p = BuiltInFileProfile("TXT");
    ASSERT_EQ(ApplyProfileSheet(app, p, Changes{{"NumberType", "STANDARD"}}), 0);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(p.maxRecordLength, 80);
    EXPECT_EQ(p.boundsLeft, 1);
    EXPECT_EQ(p.boundsRight, 72);
    EXPECT_EQ(p.numberIncrement, 100);
    EXPECT_EQ(p.numberStart, 100);
    FileProfile cobol = BuiltInFileProfile("CBL");
    ASSERT_EQ(ApplyProfileSheet(app, cobol, Changes{{"NumberType", "COB+STD"}}), 0);
    EXPECT_EQ(cobol.offset, 6);
    EXPECT_EQ(cobol.boundsLeft, 7);
    EXPECT_EQ(cobol.boundsRight, 72);
}

TEST_F(ProfileSheetTest, FaultsAreReportedAndTheChangeIgnored) {
    struct Case {
        Changes changes;
        std::vector<std::string> messages;
    } cases[] = {
        {{{"StripTrailingBlanks", "TRUE"}, {"PadShortRecsWithBlank", "TRUE"}},
         {"Set either 'StripTrailingBlanks' or 'PadShortRecsWithBlank' not both."}},
        {{{"PadShortRecsWithBlank", "TRUE"}, {"MaxRecordLength", "300"}},
         {"'PadShortRecsWithBlank' not valid when record length exceeds 255."}},
        {{{"TabKeyStopsAt", "5, 9 300"}}, {"'TabKeyStopsAt' exceeds max reclen."}},
        {{{"TabKeyStopsAt", "5,9,9"}}, {"'TabKeyStopsAt' not in ascending order."}},
        {{{"BackupAlternatePath", "/no/such/directory"}}, {"'/no/such/directory' is not a valid path."}},
        {{{"NumberType", "OTHER"}, {"NumberColumnStart", "10"}, {"NumberColumnEnd", "20"}},
         {"Line number field width must be between 4 and 8."}},
        {{{"NumberType", "OTHER"}, {"NumberColumnStart", "1"}, {"NumberColumnEnd", "3"}},
         {"Line number column end must be 4 or greater."}},
    };
    for (const Case& k : cases) {
        app.messages.clear();
        FileProfile p = BuiltInFileProfile("TXT");
        EXPECT_EQ(ApplyProfileSheet(app, p, k.changes), -1);
        std::vector<std::string> expected = k.messages;
        expected.push_back("Changes to file profile ignored due to error in field value(s).");
        EXPECT_EQ(Texts(), expected);
    }
}

TEST_F(ProfileSheetTest, TypeListMarksDirectoriesAndShowsTheFirstOfEachName) {
    Write(root / "user" / "cbl.fp", "");
    Write(root / "user" / "B.FP", "");
    Write(root / "server" / "CBL.fp", "");
    Write(root / "server" / "JCL.fp", "");
    Write(root / "server" / "notes.txt", "");
    std::string path = VarGetValue(app, "ZPATH.FILEPROFILES");
    std::vector<std::string> list = ListProfileTypes(path, ".fp");
    std::vector<std::string> expected = {"<In " + UpperAscii((root / "user").string()) + ">", "B", "CBL",
                                         "<In " + UpperAscii((root / "server").string()) + ">", "JCL"};
    EXPECT_EQ(list, expected);
    EXPECT_TRUE(IsTypeListMarker(list[0]));
    EXPECT_EQ(ListProfileTypes((root / "server").string(), ".FP"), (std::vector<std::string>{"CBL", "JCL"}));
}

}  // namespace
