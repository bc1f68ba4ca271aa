#include "commands/command_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

int IdOf(std::span<const CommandRow> table, std::string_view name) {
    for (const CommandRow& row : table) {
        if (row.name == name) {
            return row.id;
        }
    }
    return -1;
}

int RowOf(std::span<const CommandRow> table, std::string_view name) {
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ExpectUniqueUpperNames(std::span<const CommandRow> table) {
    std::set<std::string_view> names;
    for (const CommandRow& row : table) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_TRUE(std::none_of(row.name.begin(), row.name.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        })) << row.name;
    }
}

}  // namespace

TEST(EditCommandTable, IdsAreRowPositionsAndOnlyTabsIsUnlisted) {
    ASSERT_EQ(EditPrimaryCommands.size(), 60u);
    ExpectUniqueUpperNames(EditPrimaryCommands);
    for (size_t i = 0; i < EditPrimaryCommands.size(); ++i) {
        EXPECT_EQ(EditPrimaryCommands[i].id, static_cast<int>(i)) << EditPrimaryCommands[i].name;
        EXPECT_EQ(EditPrimaryCommands[i].listed, EditPrimaryCommands[i].name != "TABS");
    }
    EXPECT_EQ(EditPrimaryCommands.front().name, "BOTTOM");
    EXPECT_EQ(EditPrimaryCommands.back().name, "XKEYBOARD");
    // TEMPLATE stands before TABS, out of alphabetical order.
    EXPECT_EQ(RowOf(EditPrimaryCommands, "TEMPLATE"), 53);
    EXPECT_EQ(RowOf(EditPrimaryCommands, "TABS"), 54);
    EXPECT_EQ(IdOf(EditPrimaryCommands, "FIND"), static_cast<int>(EditCmd::Find));
    EXPECT_EQ(IdOf(EditPrimaryCommands, "MERGEMSG"), static_cast<int>(EditCmd::MergeMsg));
    EXPECT_EQ(IdOf(EditPrimaryCommands, "UNNUMBER"), static_cast<int>(EditCmd::Unnumber));
}

TEST(GeneralCommandTable, UserCmdAndWindowCommandsKeepTheirOwnIds) {
    ASSERT_EQ(GeneralPrimaryCommands.size(), 53u);
    ExpectUniqueUpperNames(GeneralPrimaryCommands);
    std::set<int> ids;
    for (const CommandRow& row : GeneralPrimaryCommands) {
        ids.insert(row.id);
    }
    EXPECT_EQ(ids.size(), 53u);
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 53);

    EXPECT_EQ(RowOf(GeneralPrimaryCommands, "SYSTEM"), 46);
    EXPECT_EQ(RowOf(GeneralPrimaryCommands, "USERCMD"), 47);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "SYSTEM"), 47);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "USERCMD"), 53);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "WINOVERLAY"), 48);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "WINSTEPH"), 49);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "WINTILEH"), 50);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "WINSTEPV"), 51);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "WINTILEV"), 52);
    EXPECT_EQ(RowOf(GeneralPrimaryCommands, "WINSTEPV"), 50);  // rows stay alphabetical
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "ABOUT"), 1);
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "RETRIEVE"), static_cast<int>(GeneralCmd::Retrieve));
    EXPECT_EQ(IdOf(GeneralPrimaryCommands, "PCMDFILELIST"), static_cast<int>(GeneralCmd::PcmdFileList));

    std::vector<std::string_view> unlisted;
    for (const CommandRow& row : GeneralPrimaryCommands) {
        if (!row.listed) {
            unlisted.push_back(row.name);
        }
    }
    EXPECT_EQ(unlisted, (std::vector<std::string_view>{"DEFAULTS", "DIALOG", "FILELIST", "FUNCTION", "MENU",
                                                       "PCMDEDIT", "PCMDFILELIST"}));
}

TEST(FileListCommandTable, MakeDirPrecedesMaxRecLenWithTheHigherId) {
    ASSERT_EQ(FileListPrimaryCommands.size(), 25u);
    ExpectUniqueUpperNames(FileListPrimaryCommands);
    EXPECT_TRUE(std::all_of(FileListPrimaryCommands.begin(), FileListPrimaryCommands.end(),
                            [](const CommandRow& row) { return row.listed; }));
    EXPECT_EQ(RowOf(FileListPrimaryCommands, "MAKEDIR"), 11);
    EXPECT_EQ(IdOf(FileListPrimaryCommands, "MAKEDIR"), 13);
    EXPECT_EQ(RowOf(FileListPrimaryCommands, "MAXRECLEN"), 12);
    EXPECT_EQ(IdOf(FileListPrimaryCommands, "MAXRECLEN"), 12);
    EXPECT_EQ(IdOf(FileListPrimaryCommands, "XMACRO"), 25);
    EXPECT_EQ(IdOf(FileListPrimaryCommands, "SELECT"), static_cast<int>(FileListCmd::Select));
}

TEST(QuickReference, ListsFlaggedRowsInTableOrder) {
    std::vector<std::string_view> edit = ListedCommandNames(EditPrimaryCommands);
    EXPECT_EQ(edit.size(), 59u);
    EXPECT_EQ(std::find(edit.begin(), edit.end(), "TABS"), edit.end());
    EXPECT_EQ(edit[53], "TEMPLATE");
    EXPECT_EQ(edit[54], "TOP");  // the unlisted TABS between them is skipped
    std::vector<std::string_view> general = ListedCommandNames(GeneralPrimaryCommands);
    EXPECT_EQ(general.size(), 46u);
    EXPECT_EQ(general.front(), "ABOUT");
    EXPECT_EQ(ListedCommandNames(FileListPrimaryCommands).size(), 25u);
}

TEST(BuiltInDialogs, KnowsTheDialogNamesOnly) {
    EXPECT_EQ(BuiltInDialogNames.size(), 76u);
    EXPECT_TRUE(IsBuiltInDialog("XKEYBRD"));
    EXPECT_TRUE(IsBuiltInDialog("QRFGPCMD"));
    EXPECT_TRUE(IsBuiltInDialog("MULTOPEN"));
    EXPECT_FALSE(IsBuiltInDialog("xkeybrd"));
    EXPECT_FALSE(IsBuiltInDialog("CONVERT"));
    EXPECT_FALSE(IsBuiltInDialog(""));
}
