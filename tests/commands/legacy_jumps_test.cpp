#include "commands/legacy_jumps.h"

#include <set>

#include "core/var_store.h"
#include "dispatch_fixture.h"

using namespace tavoe;

TEST(LegacyJumpTable, ThirtyEightUniqueUpperCaseOptions) {
    std::span<const LegacyJumpRow> table;
    ASSERT_TRUE(LegacyJumpTableFor("Legacy Tavo", table));
    ASSERT_EQ(table.size(), 38u);
    std::set<std::string_view> options;
    for (const LegacyJumpRow& row : table) {
        EXPECT_TRUE(options.insert(row.option).second) << row.option;
        EXPECT_EQ(CommandToUpper(row.option), row.option);
    }
    EXPECT_EQ(FindLegacyJump(table, "0")->command, "menu pan0");
    EXPECT_EQ(FindLegacyJump(table, "0.S")->command, "dialog aliascmd");
    EXPECT_EQ(FindLegacyJump(table, "3.4")->command, "open");
    EXPECT_EQ(FindLegacyJump(table, "3.3")->command, "FUNCTION LEGACY_OPT_33");
    EXPECT_EQ(FindLegacyJump(table, "X")->command, "exit");
    EXPECT_EQ(FindLegacyJump(table, "3.Z"), nullptr);
    EXPECT_EQ(FindLegacyJump(table, "0.s"), nullptr);  // the caller upper-cases

    ASSERT_TRUE(LegacyJumpTableFor("Modern Tavo", table));
    EXPECT_TRUE(table.empty());
    EXPECT_FALSE(LegacyJumpTableFor("Windows GUI", table));
    EXPECT_FALSE(LegacyJumpTableFor("legacy tavo", table));
}

using LegacyJumpCommand = DispatchTest;

TEST_F(LegacyJumpCommand, JumpClosesEverythingPushesTheTopMenuAndPostsTheCommand) {
    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    PushContext(app, ContextKind::Task, "pay.cbl");
    RunGeneralCommand(app, "=0.s");
    EXPECT_EQ(calls, (std::vector<std::string>{"closeAll"}));
    EXPECT_TRUE(TopContextIs(app, ContextKind::Menu, "LEGACY"));
    EXPECT_EQ(Posted(), (std::vector<std::string>{"dialog aliascmd"}));
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(LegacyJumpCommand, ModernStyleKnowsNoOptions) {
    VarSetValue(app, "ZMENUSTYLE", "Modern Tavo");
    PushContext(app, ContextKind::Menu, "MODERN");
    RunGeneralCommand(app, "=3.4");
    RunGeneralCommand(app, "=x");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Invalid jump option '3.4'", "Invalid jump option 'x'"}));
    EXPECT_EQ(LastMessage().beep, Beep::Information);
    // After each failure the current context is shown again.
    EXPECT_EQ(calls, (std::vector<std::string>{"showTop", "showTop"}));
    EXPECT_TRUE(Posted().empty());
}

// With nothing open there is nothing to show again: a refused jump leaves the (empty) stack alone
// instead of re-showing it, which would end the program.
TEST_F(LegacyJumpCommand, RefusalWithNothingOpenShowsNothing) {
    VarSetValue(app, "ZMENUSTYLE", "Windows GUI");
    RunGeneralCommand(app, "=x");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"Jump to option only supported when Tavo style menus are active."}));
    EXPECT_TRUE(calls.empty());
}

TEST_F(LegacyJumpCommand, OtherStylesRefuseJumps) {
    VarSetValue(app, "ZMENUSTYLE", "Windows GUI");
    RunGeneralCommand(app, "=0");
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"Jump to option only supported when Tavo style menus are active."}));
    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    RunGeneralCommand(app, "=9.9 extra");
    EXPECT_EQ(LastMessage().text, "Invalid jump option '9.9'");
}
