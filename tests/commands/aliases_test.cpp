#include "commands/aliases.h"

#include "core/var_store.h"
#include "dispatch_fixture.h"

using namespace tavoe;

using AliasMaintenance = DispatchTest;

TEST_F(AliasMaintenance, EachRefusalHasItsMessageAndTheListShowsAgain) {
    struct Case {
        std::string alias;
        std::string actual;
        std::string message;
        Beep beep;
    };
    app.aliases.push_back({"BOT", "BOTTOM"});
    std::vector<Case> cases = {
        {"", "FIND", "Alias field not specified, CHANGE ignored.", Beep::Exclamation},
        {"F-1", "FIND", "Alias must be verb using A..Z, 0..9 characters only.", Beep::Information},
        {"find", "LOCATE",
         "'FIND' is already an Tavo primary command or alias.\n\nIf alias, delete current entry then "
         "re-assign.\n\nIf Tavo primary command, pick a different name.",
         Beep::Exclamation},
        {"bot", "TOP",
         "'BOT' is already an Tavo primary command or alias.\n\nIf alias, delete current entry then "
         "re-assign.\n\nIf Tavo primary command, pick a different name.",
         Beep::Exclamation},
        {"FF", "", "Actual field not specified, CHANGE ignored.", Beep::Exclamation},
        {"FF", "FIND ALL", "'Actual' field may contain only primary command name, no parms allowed",
         Beep::Information},
        {"FF", "FINDER", "'FINDER' is not an Tavo primary command.", Beep::Exclamation},
    };
    for (const Case& c : cases) {
        app.messages.clear();
        VarSetValue(app, "AEditCmd.Alias", c.alias);
        VarSetValue(app, "AEditCmd.Actual", c.actual);
        EXPECT_EQ(AliasCmdAdd(app), -1) << c.alias;
        ASSERT_EQ(app.messages.size(), 1u) << c.alias;
        EXPECT_EQ(LastMessage().text, c.message);
        EXPECT_EQ(LastMessage().to, MsgTo::Box);
        EXPECT_EQ(LastMessage().beep, c.beep);
    }
    EXPECT_EQ(app.aliases.size(), 1u);
    EXPECT_EQ(Posted(), std::vector<std::string>(cases.size(), "DIALOG ALIASCMD"));
}

TEST_F(AliasMaintenance, AddedAliasIsUpperCasedAndUsable) {
    VarSetValue(app, "AEditCmd.Alias", " ff2 ");
    VarSetValue(app, "AEditCmd.Actual", "makedir");
    EXPECT_EQ(AliasCmdAdd(app), 0);
    ASSERT_EQ(app.aliases.size(), 1u);
    EXPECT_EQ(app.aliases[0].alias, "FF2");
    EXPECT_EQ(app.aliases[0].actual, "MAKEDIR");
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(Posted(), (std::vector<std::string>{"DIALOG ALIASCMD"}));
    EXPECT_EQ(LookupPrimaryCommand(app, CommandTable::FileList, "FF2"),
              Commands(app).Find(CommandTable::FileList, "MAKEDIR"));
    // Now an alias itself: neither it nor a command it stands for can be added again.
    EXPECT_EQ(AddCommandAlias(app, "FF2", "TOP"), -1);
    EXPECT_EQ(AddCommandAlias(app, std::string(20, 'Z'), "TOP"), 0);
    EXPECT_EQ(app.aliases.back().alias, std::string(14, 'Z'));
    EXPECT_TRUE(DeleteCommandAlias(app, "FF2"));
    EXPECT_FALSE(DeleteCommandAlias(app, "FF2"));
    EXPECT_EQ(AddCommandAlias(app, "FF2", "TOP"), 0);
}
