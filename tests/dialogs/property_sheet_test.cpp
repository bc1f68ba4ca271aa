#include "dialogs/property_sheet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dialog_run_util.h"

using namespace tavoe;

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

class PropertySheetTest : public DialogRunFixture {
protected:
    void SetUp() override {
        DialogRunFixture::SetUp();
        VarSetValue(app, "ZPATH.DIALOGS", std::string(TAVOE_SOURCE_DIR) + "/data/dialogs");
        sheet = PropertySheetCreate("Profile", "help.txt", "PROFILE");
    }
    std::unique_ptr<PropertySheet> sheet;
};

}  // namespace

TEST_F(PropertySheetTest, TitleNamesTheDoubleClick) {
    EXPECT_EQ(sheet->title, "Profile (Enter or double-click edits an item)");
}

TEST_F(PropertySheetTest, AddRefusesBadNamesTypesAndBounds) {
    EXPECT_EQ(PropertyAdd(app, *sheet, "RecordLength", "number,8,64000", "80"), 0);
    EXPECT_EQ(PropertyAdd(app, *sheet, "RecordLength", "STRING", "x"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "A", "NUMBER,8", "9"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "B", "NUMBER,x,9", "9"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "C", "NUMBER", "9"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "D", "WHATEVER", "9"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, std::string(32, 'N'), "STRING", "x"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "E", "STRING", std::string(96, 'v')), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "F", "CHOICE,a," + std::string(48, 'c'), "a"), -1);
    EXPECT_EQ(sheet->properties.size(), 1u);
    EXPECT_THAT(
        Texts(),
        ElementsAre("PropertyAdd: duplicate property: RecordLength",
                    "PropertyAdd: for NUMBER, min and max values are required.",
                    "PropertyAdd: for NUMBER, min or max value is invalid.",
                    "PropertyAdd: unknown property type or missing required parameters,\n\n'NUMBER'",
                    "PropertyAdd: unknown property type or missing required parameters,\n\n'WHATEVER'",
                    "PropertyAdd: name too long: " + std::string(32, 'N'),
                    "PropertyAdd: value too long: " + std::string(96, 'v'),
                    "PropertyAdd: choice too long: " + std::string(48, 'c')));
}

TEST_F(PropertySheetTest, BadValuesAreReportedButStillAdded) {
    EXPECT_EQ(PropertyAdd(app, *sheet, "Count", "NUMBER,1,9", "x1"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "Flag", "bool", "YES"), -1);
    EXPECT_EQ(PropertyAdd(app, *sheet, "Mode", "CHOICE,Quick, Full", "Slow"), 0);
    ASSERT_EQ(sheet->properties.size(), 3u);
    EXPECT_EQ(sheet->properties[0].value, "x1");
    EXPECT_EQ(sheet->properties[2].value, "Quick");
    EXPECT_THAT(sheet->properties[2].choices, ElementsAre("Quick", "Full"));
    EXPECT_THAT(Texts(), ElementsAre("PropertyAdd: invalid NUMBER value, must be integer,\n\n'x1'",
                                     "PropertyAdd: invalid BOOL value, must be TRUE or FALSE,\n\n'YES'"));
}

TEST_F(PropertySheetTest, ChangedListAndGet) {
    for (int i = 1; i <= 9; ++i) {
        (void)PropertyAdd(app, *sheet, "P" + std::to_string(i), "STRING", "v" + std::to_string(i));
    }
    sheet->properties[0].changed = true;
    sheet->properties[3].changed = true;
    sheet->properties[8].changed = true;
    EXPECT_EQ(PropertyChangedList(*sheet), "1 4 9 ");
    EXPECT_EQ(PropertyGet(*sheet, 4), "P4=v4");
    EXPECT_EQ(PropertyGet(*sheet, 10), "");
}

TEST_F(PropertySheetTest, NumberEditorChecksTheRange) {
    (void)PropertyAdd(app, *sheet, "RecordLength", "NUMBER,8,64000", "80");
    Script(
        "!keys <Down><Enter>\n"  // the first row, Edit (the default button)
        "7\n"
        "!keys <Down><Enter>\n"
        "abc\n"
        "!keys <Down><Enter>\n"
        "120\n"
        "!keys <Tab><Tab><Enter>\n");  // OK
    PropertySheetRun(app, *sheet);
    EXPECT_THAT(Texts(), ElementsAre("Property 'RecordLength' less than minimum allowed.",
                                     "Property 'RecordLength' must be an integer number."));
    EXPECT_EQ(PropertyChangedList(*sheet), "1 ");
    EXPECT_EQ(sheet->properties[0].value, "120");
    EXPECT_EQ(Var("PropSheet.Header"), "Property     Value");
    EXPECT_EQ(Var("PropSheet.List.1"), "RecordLength 120");
    ASSERT_EQ(app.contexts.size(), 1u);
    EXPECT_EQ(app.contexts[0].name, "PROPSHEET");
}

TEST_F(PropertySheetTest, CancellingTheSheetDropsTheChanges) {
    (void)PropertyAdd(app, *sheet, "Name", "STRING", "");
    (void)PropertyAdd(app, *sheet, "Backup", "BOOL", "TRUE");
    Script(
        "!keys <Down><Up><Enter>\n"
        "new name\n"
        "!keys <Down><Enter>\n"
        "!keys <Down><Enter>\n"  // FALSE in the BOOL editor
        "!keys <F3>\n");
    PropertySheetRun(app, *sheet);
    EXPECT_EQ(sheet->properties[0].value, "new name");
    EXPECT_EQ(sheet->properties[1].value, "FALSE");
    EXPECT_EQ(PropertyChangedList(*sheet), "");
}

// The sheet opens with its first row chosen and comes back with the row last edited chosen, so Edit
// (Enter) always has a row; a read-only row says so.
TEST_F(PropertySheetTest, EditKeepsTheChosenRowAndOutputIsReadOnly) {
    (void)PropertyAdd(app, *sheet, "Path", "OUTPUT", "/tmp");
    Script(
        "!keys <Enter>\n"  // Edit on the read-only row, chosen from the start
        "!keys <Enter>\n"  // again: the same row is still chosen
        "!keys <F3>\n");
    PropertySheetRun(app, *sheet);
    EXPECT_THAT(Texts(), ElementsAre("Property 'Path' is read-only, it can not be edited.",
                                     "Property 'Path' is read-only, it can not be edited."));
}

TEST_F(PropertySheetTest, ReturnInsideAnEditorDoesNotUnwind) {
    (void)PropertyAdd(app, *sheet, "Mode", "CHOICE,Quick,Full", "Quick");
    Script("!keys <Down><Enter>\n!keys <F4>\n!keys <F3>\n");
    PropertySheetRun(app, *sheet);
    EXPECT_THAT(Texts(), Contains("Apply RETURN again after this dialog terminates."));
    EXPECT_TRUE(Queue().empty());
}
