#include "commands/command_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/app_session.h"
#include "dialogs/built_in_dialogs.h"
#include "shell/instance_ports.h"

using namespace tavoe;

namespace {

std::vector<std::string_view> Verbs(CommandTable table) {
    std::vector<std::string_view> verbs;
    for (const CommandDesc* row : ProgramCommands().Rows(table)) {
        verbs.push_back(row->verb);
    }
    return verbs;
}

std::vector<std::string_view> Unlisted(CommandTable table) {
    std::vector<std::string_view> verbs;
    for (const CommandDesc* row : ProgramCommands().Rows(table)) {
        if (row->listing == Listing::Unlisted) {
            verbs.push_back(row->verb);
        }
    }
    return verbs;
}

}  // namespace

// Every subsystem lists its own rows; together they must make the three tables exactly once each.
TEST(ProgramCommandTables, EachVerbOnceInUpperCaseWithTheTablesSizes) {
    const std::pair<CommandTable, size_t> sizes[] = {
        {CommandTable::Edit, 60}, {CommandTable::General, 53}, {CommandTable::FileList, 25}};
    for (const auto& [table, size] : sizes) {
        std::vector<std::string_view> verbs = Verbs(table);
        EXPECT_EQ(verbs.size(), size);
        EXPECT_TRUE(std::is_sorted(verbs.begin(), verbs.end()));
        EXPECT_EQ(std::set<std::string_view>(verbs.begin(), verbs.end()).size(), verbs.size());
        for (std::string_view verb : verbs) {
            EXPECT_TRUE(std::none_of(verb.begin(), verb.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
                << verb;
            const CommandDesc* row = ProgramCommands().Find(table, verb);
            ASSERT_NE(row, nullptr) << verb;
            // A row names only the handler of its own table.
            EXPECT_EQ(row->edit != nullptr && table != CommandTable::Edit, false) << verb;
            EXPECT_EQ(row->general != nullptr && table != CommandTable::General, false) << verb;
            EXPECT_EQ(row->fileList != nullptr && table != CommandTable::FileList, false) << verb;
        }
    }
}

TEST(ProgramCommandTables, UnlistedRowsAndQuickReferenceOrder) {
    EXPECT_EQ(Unlisted(CommandTable::Edit), (std::vector<std::string_view>{"TABS"}));
    EXPECT_EQ(Unlisted(CommandTable::General),
              (std::vector<std::string_view>{"DEFAULTS", "DIALOG", "FILELIST", "FUNCTION", "MENU", "PCMDEDIT",
                                             "PCMDFILELIST"}));
    EXPECT_TRUE(Unlisted(CommandTable::FileList).empty());

    std::vector<std::string_view> edit = ProgramCommands().ListedVerbs(CommandTable::Edit);
    EXPECT_EQ(edit.size(), 59u);
    EXPECT_EQ(edit.front(), "BOTTOM");
    EXPECT_EQ(edit.back(), "XKEYBOARD");
    EXPECT_EQ(ProgramCommands().ListedVerbs(CommandTable::General).size(), 46u);
    EXPECT_EQ(ProgramCommands().ListedVerbs(CommandTable::FileList).size(), 25u);
}

TEST(ProgramCommandTables, CommandsActingOnOtherInstancesNeedCooperation) {
    std::vector<std::string_view> cooperating;
    for (const CommandDesc* row : ProgramCommands().Rows(CommandTable::General)) {
        if (row->cooperation == Cooperation::Needed) {
            cooperating.push_back(row->verb);
        }
    }
    EXPECT_EQ(cooperating,
              (std::vector<std::string_view>{"CLOSEALL", "SPLITF", "SPLITH", "SPLITV", "SWAP", "SWAPBACK",
                                             "WINOVERLAY", "WINSTEPH", "WINSTEPV", "WINTILEH", "WINTILEV"}));
}

TEST(CommandLookup, AliasesLongVerbsAndTheDispatchersOwnSet) {
    AppSession app;
    // Without the program's set an instance knows the dispatchers' own commands only.
    EXPECT_NE(LookupPrimaryCommand(app, CommandTable::Edit, "BOUNDS"), nullptr);
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "UNDO"), nullptr);
    ConnectInstance(app);
    EXPECT_NE(LookupPrimaryCommand(app, CommandTable::Edit, "UNDO"), nullptr);
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "undo"), nullptr);  // rows compare exactly
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "UND"), nullptr);   // no abbreviations
    app.aliases.push_back({"u", "UNDO"});
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "u"),
              LookupPrimaryCommand(app, CommandTable::Edit, "UNDO"));
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, "U"), nullptr);  // aliases are case-sensitive
    app.aliases.push_back({std::string(32, 'V'), "UNDO"});
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::Edit, std::string(32, 'V')), nullptr);
    EXPECT_TRUE(IsPrimaryCommand(app, "MAXRECLEN"));
    EXPECT_FALSE(IsPrimaryCommand(app, "SEL"));
    EXPECT_FALSE(IsPrimaryCommand(app, ""));
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
