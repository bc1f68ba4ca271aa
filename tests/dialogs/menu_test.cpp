#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dialog_run_util.h"
#include "dialogs/menu_parser.h"
#include "dialogs/menu_runtime.h"

using namespace tavoe;

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class MenuTest : public DialogRunFixture {
protected:
    std::unique_ptr<MenuDefinition> Parse(const std::string& text) {
        return ParseMenuText(app, "main", text);
    }
    std::string OnlyMessage() {
        return app.messages.size() == 1 ? app.messages[0].text
                                        : "(messages: " + std::to_string(app.messages.size()) + ")";
    }
};

constexpr const char* kMenu =
    "TITLE=\"Main Menu\"\n"
    "1, Edit, \"Edit a file, or several\", EDIT\n"
    "2, Browse, Browse a file, BROWSE\n"
    "2a, Other, Another browse, BROWSE OTHER\n"
    "0.2, Jump, A jump, =0.2\n";

}  // namespace

TEST_F(MenuTest, TitleIsQuotedOrRunsToTheFirstBlank) {
    EXPECT_EQ(Parse("title=Main Menu\n1,a,b,c\n")->title, "Main");
    EXPECT_EQ(Parse("TITLE=\"Main Menu\"\n")->title, "Main Menu");
    EXPECT_EQ(Parse("Title=One,Two\n")->title, "One");
}

TEST_F(MenuTest, EntriesHaveFourFields) {
    auto def = Parse(kMenu);
    ASSERT_EQ(def->items.size(), 4u);
    EXPECT_EQ(def->items[0].annotation, "Edit a file, or several");
    EXPECT_EQ(def->items[1].annotation, "Browse a file");
    EXPECT_EQ(def->items[2].option, "2A");
    EXPECT_EQ(def->items[2].command, "BROWSE OTHER");
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(MenuTest, BlankLinesAreSkippedAndOnlyEighteenOptionsAreKept) {
    std::string text = "TITLE=T\n\n   \n";
    for (int i = 0; i < 20; ++i) {
        text += "A, v, a, c\n";
    }
    EXPECT_EQ(Parse(text)->items.size(), 18u);
}

TEST_F(MenuTest, EachRecordErrorIsReported) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"1 Edit", "Menu main, record 2, option must be followed by comma."},
        {" , Edit, a, EDIT", "Menu main, record 2, option required."},
        {"1, Edit", "Menu main, record 2, verb must be followed by comma."},
        {"1, , a, EDIT", "Menu main, record 2, verb required."},
        {"1, Edit, a", "Menu main, record 2, annotation must be followed by comma."},
        {"1, Edit, , EDIT", "Menu main, record 2, annotation required."},
        {"1, Edit, a,   ", "Menu main, record 2, primary command required."},
        {"1, \"Edit\" x, a, EDIT", "Menu main, record 2, verb must be followed by comma."},
    };
    for (const Case& c : cases) {
        app.messages.clear();
        EXPECT_EQ(Parse(std::string("TITLE=T\n1, ok, ok, OK\n") + c.line + "\n"), nullptr) << c.line;
        EXPECT_EQ(OnlyMessage(), c.message) << c.line;
        EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    }
}

TEST_F(MenuTest, FirstRecordMustBeTheTitle) {
    EXPECT_EQ(Parse("1, Edit, a, EDIT\n"), nullptr);
    EXPECT_EQ(OnlyMessage(), "Menu main, first record must be 'Title=...title...'");
    app.messages.clear();
    EXPECT_EQ(Parse(""), nullptr);
    EXPECT_EQ(OnlyMessage(), "Menu main, first record must be 'Title=...title...'");
}

TEST_F(MenuTest, MissingFileIsReported) {
    EXPECT_EQ(ReadMenu(app, "nothere"), nullptr);
    EXPECT_EQ(OnlyMessage(), "Unable to open menu definition file nothere.MNU");
}

TEST_F(MenuTest, LayoutInUnitsAndCells) {
    auto def = Parse("TITLE=T\n1, Edit, Edit a file, EDIT\n22, Browsing, File, BROWSE\n");
    LayoutMenu(*def, WindowFill::Natural, DialogScreen{});
    // 20 + 4 x 8 (verbs) + 4 x (11 + 2) (annotations) + 10; 15 x 2 + 26.
    EXPECT_EQ(def->width, 114);
    EXPECT_EQ(def->height, 56);
    EXPECT_EQ(def->field, (UnitRect{31, 3, 80, 12}));
    EXPECT_EQ(def->items[1].button, (UnitRect{3, 40, 20, 12}));
    EXPECT_EQ(def->items[1].verbText, (UnitRect{26, 42, 32, 8}));
    EXPECT_EQ(def->items[1].annotationText, (UnitRect{58, 42, 52, 8}));
    EXPECT_EQ(def->labelText, "Option");
    EXPECT_EQ(def->clientRows, 4);

    LayoutMenu(*def, WindowFill::SessionWindow, DialogScreen{});
    EXPECT_EQ(def->labelText, "OPTION");
    EXPECT_EQ(def->clientRows, 22);
    EXPECT_EQ(def->clientCols, 78);
}

TEST_F(MenuTest, RepliesAreActedOn) {
    auto def = Parse(kMenu);
    ActOnMenuReply(app, *def, "2");
    ActOnMenuReply(app, *def, "0.2");
    ActOnMenuReply(app, *def, "save");
    ActOnMenuReply(app, *def, " ");
    ActOnMenuReply(app, *def, "*");
    EXPECT_THAT(Queue(), ElementsAre("BROWSE", "=0.2", "save", "MENU main"));

    app.commandQueue.clear();
    ActOnMenuReply(app, *def, "q");
    EXPECT_THAT(Queue(), ElementsAre("MENU main"));
    EXPECT_EQ(OnlyMessage(), "'Q' is not a valid option in this menu.");
    EXPECT_EQ(app.messages[0].beep, Beep::Information);
}

TEST_F(MenuTest, TypedOptionRunsItsCommandAndIsKeptInTheHistory) {
    Write("main.mnu", kMenu);
    Script("  2\n");
    ShowMenu(app, "main");
    EXPECT_THAT(Queue(), ElementsAre("BROWSE"));
    ASSERT_EQ(app.contexts.size(), 1u);
    EXPECT_EQ(app.contexts[0].kind, ContextKind::Menu);
}

TEST_F(MenuTest, ClickedOptionRunsItsOwnCommand) {
    Write("main.mnu", kMenu);
    MenuDefinition* def = PrepareMenu(app, "main");
    int rows = def->clientRows + 2;
    int cols = def->clientCols + 2;
    int row = (24 - rows) / 2 + 1 + def->items[2].buttonCell.row + 1;
    int col = (80 - cols) / 2 + 1 + def->items[2].buttonCell.col + 1;
    Script("!keys <Click:" + std::to_string(row) + "," + std::to_string(col) + ">\n");
    ShowMenu(app, "main");
    EXPECT_THAT(Queue(), ElementsAre("BROWSE OTHER"));
}

TEST_F(MenuTest, ArrowsReachTheButtonsAndFunctionKeysRunTheirCommands) {
    Write("main.mnu", kMenu);
    Script("!keys <Up><Enter>\n");
    ShowMenu(app, "main");
    EXPECT_THAT(Queue(), ElementsAre("=0.2"));

    app.commandQueue.clear();
    VarSetValue(app, "ZF03.BASE", "End");
    Script("!keys <F3>\n");
    ShowMenu(app, "main");
    EXPECT_THAT(Queue(), ElementsAre("End"));
}

TEST_F(MenuTest, CachedUnlessCachingIsOffOrTheStyleIsLegacy) {
    Write("main.mnu", kMenu);
    MenuDefinition* first = PrepareMenu(app, "main");
    Write("main.mnu", "TITLE=Changed\n1, a, b, c\n");
    EXPECT_EQ(PrepareMenu(app, "main"), first);
    EXPECT_EQ(first->title, "Main Menu");
    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    EXPECT_EQ(PrepareMenu(app, "main")->title, "Changed");
}

TEST_F(MenuTest, WithoutAScreenTheMenuFailsAndGoesBack) {
    Write("main.mnu", kMenu);
    ShowMenu(app, "main");
    EXPECT_EQ(OnlyMessage(), "DialogBoxIndirect failed for menu main");
    EXPECT_TRUE(app.contexts.empty());
}
