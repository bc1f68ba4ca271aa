#include "dialogs/dialog_cache.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/var_store.h"
#include "dialog_test_util.h"

using namespace tavoe;

namespace fs = std::filesystem;
using ::testing::ElementsAre;

namespace {

class DialogCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tavoe_dlg_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "user");
        fs::create_directories(root / "shared");
        VarSetValue(app, "ZPATH.DIALOGS", (root / "user").string() + ";" + (root / "shared").string());
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
    void WriteFind(const std::string& title, const fs::path& dir) {
        Write(dir / "find.dlg",
              "DIALOG { TITLE=\"" + title + "\" }\nOBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=9 VAR=FindStr }\n");
    }

    AppSession app;
    fs::path root;
};

}  // namespace

TEST_F(DialogCacheTest, FindsTheFileInAnyCaseAlongThePath) {
    WriteFind("Shared", root / "shared");
    DialogDefinition* def = PrepareDialog(app, "Find", DialogScreen{});
    ASSERT_NE(def, nullptr);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(def->name, "FIND");
    EXPECT_EQ(def->title, "Shared");
    EXPECT_EQ(*def->objects[0].variable, "FIND.FINDSTR");
    EXPECT_TRUE(def->tmpl.built);
    EXPECT_EQ(app.dialogCache->showing, def);
    EXPECT_EQ(FindCachedDialog(app, "find"), def);

    // A user's own copy earlier on the path takes precedence.
    WriteFind("User", root / "user");
    def = PrepareDialog(app, "FIND", DialogScreen{});
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->title, "User");
    EXPECT_EQ(app.dialogCache->definitions.size(), 1u);
}

TEST_F(DialogCacheTest, MissingFileNamesTheRequestedFile) {
    EXPECT_EQ(PrepareDialog(app, "Nowhere", DialogScreen{}), nullptr);
    ASSERT_THAT(Texts(app), ElementsAre("Dialog definition 'Nowhere.dlg' not found."));
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_TRUE(app.dialogCache->definitions.empty());
    EXPECT_EQ(app.dialogCache->showing, nullptr);
}

TEST_F(DialogCacheTest, EmptyFileFailsSilentlyAndCachesNothing) {
    Write(root / "user" / "empty.dlg", "");
    EXPECT_EQ(PrepareDialog(app, "empty", DialogScreen{}), nullptr);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_TRUE(app.dialogCache->definitions.empty());
}

TEST_F(DialogCacheTest, ReusesOnlyWithCachingOnAndModernStyle) {
    WriteFind("One", root / "user");
    DialogDefinition* first = PrepareDialog(app, "find", DialogScreen{});
    ASSERT_NE(first, nullptr);
    // Caching off (unset): the file is read again and the edit shows at once.
    WriteFind("Two", root / "user");
    DialogDefinition* second = PrepareDialog(app, "find", DialogScreen{});
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->title, "Two");
    EXPECT_EQ(app.dialogCache->definitions.size(), 1u);

    VarSetValue(app, "ZCACHE.DIALOGS", "TRUE");
    WriteFind("Three", root / "user");
    DialogDefinition* third = PrepareDialog(app, "FIND", DialogScreen{});
    EXPECT_EQ(third, second);
    EXPECT_EQ(third->title, "Two");

    // The legacy style always reads and lays out afresh, to fill the current window.
    VarSetValue(app, "ZMENUSTYLE", "Legacy Tavo");
    DialogScreen screen;
    screen.rows = 20;
    screen.cols = 60;
    DialogDefinition* legacy = PrepareDialog(app, "find", screen);
    ASSERT_NE(legacy, nullptr);
    EXPECT_EQ(legacy->title, "Three");
    EXPECT_EQ(legacy->tmpl.clientCols, 58);
    EXPECT_EQ(app.dialogCache->definitions.size(), 1u);
}

TEST_F(DialogCacheTest, AFailedReparseLeavesNothingCached) {
    VarSetValue(app, "ZCACHE.DIALOGS", "FALSE");
    WriteFind("One", root / "user");
    ASSERT_NE(PrepareDialog(app, "find", DialogScreen{}), nullptr);
    Write(root / "user" / "find.dlg", "DIALOG { }\nOBJ { TYPE=INPUT }\n");
    EXPECT_EQ(PrepareDialog(app, "find", DialogScreen{}), nullptr);
    EXPECT_EQ(FindCachedDialog(app, "find"), nullptr);
    EXPECT_EQ(app.dialogCache->showing, nullptr);
    EXPECT_EQ(app.messages.front().text, "Dialog FIND: OBJECT 1 must have VAR");
}

TEST_F(DialogCacheTest, FreeAndDiscard) {
    WriteFind("One", root / "user");
    Write(root / "user" / "other.dlg", "DIALOG { }\nOBJ { TYPE=STATIC ROW=1 COL=1 TEXT=x }\n");
    DialogDefinition* find = PrepareDialog(app, "find", DialogScreen{});
    DialogDefinition* other = PrepareDialog(app, "other", DialogScreen{});
    ASSERT_NE(find, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(app.dialogCache->showing, other);

    // Freeing the definition now showing clears the reference to it.
    struct Probe : DialogWindow {
        explicit Probe(bool& gone) : gone(gone) {}
        ~Probe() override { gone = true; }
        bool& gone;
    };
    bool windowGone = false;
    other->window = std::make_unique<Probe>(windowGone);
    FreeDialog(app, other);
    EXPECT_TRUE(windowGone);
    EXPECT_EQ(app.dialogCache->showing, nullptr);
    EXPECT_EQ(FindCachedDialog(app, "other"), nullptr);

    DiscardDialog(app, "Find");
    EXPECT_TRUE(app.dialogCache->definitions.empty());
    DiscardDialog(app, "find");  // nothing cached: nothing happens
    EXPECT_TRUE(app.messages.empty());
}

TEST(DialogCacheSession, CreatedOnFirstUse) {
    AppSession app;
    EXPECT_EQ(app.dialogCache, nullptr);
    EXPECT_EQ(FindCachedDialog(app, "find"), nullptr);
    DiscardDialog(app, "find");
    EXPECT_EQ(app.dialogCache, nullptr);
    auto def = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=x }"), "Mine");
    ASSERT_NE(def, nullptr);
    DialogDefinition* held = AddToDialogCache(app, std::move(def));
    ASSERT_NE(app.dialogCache, nullptr);
    EXPECT_EQ(FindCachedDialog(app, "MINE"), held);
}
