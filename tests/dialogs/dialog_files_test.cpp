#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialog_test_util.h"
#include "dialogs/dialog_layout.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

fs::path DialogsDir() {
    return fs::path(TAVOE_SOURCE_DIR) / "data" / "dialogs";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

// Every installed definition parses without a message and fits an 80x24 terminal with its frame.
TEST(InstalledDialogs, ParseCleanlyAndFitTheTerminal) {
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(DialogsDir())) {
        if (entry.path().extension() != ".dlg") {
            continue;
        }
        ++count;
        AppSession app;
        std::string name = entry.path().stem().string();
        auto def = ParseDialogText(app, name, ReadFile(entry.path()));
        ASSERT_NE(def, nullptr) << name;
        EXPECT_TRUE(app.messages.empty()) << name << ": " << app.messages.front().text;
        BuildDialogTemplate(app, *def, DialogScreen{});
        EXPECT_LE(def->tmpl.clientCols + 2 * kDialogCellFrame, 80) << name;
        EXPECT_LE(def->tmpl.clientRows + 2 * kDialogCellFrame, 24) << name;
        EXPECT_FALSE(def->title.empty()) << name;
    }
    EXPECT_GE(count, 2);
}

TEST(InstalledDialogs, TestBenchUsesEveryControlKind) {
    AppSession app;
    auto def = ParseDialogText(app, "dlgtest", ReadFile(DialogsDir() / "dlgtest.dlg"));
    ASSERT_NE(def, nullptr);
    for (int type = 1; type <= 8; ++type) {
        bool found = false;
        for (const DialogObject& obj : def->objects) {
            found = found || static_cast<int>(obj.type) == type;
        }
        EXPECT_TRUE(found) << DialogTypeName(static_cast<DialogObjectType>(type));
    }
}

TEST(InstalledDialogs, FindBindsTheFindVariables) {
    AppSession app;
    auto def = ParseDialogText(app, "find", ReadFile(DialogsDir() / "find.dlg"));
    ASSERT_NE(def, nullptr);
    std::vector<std::string> vars;
    for (const DialogObject& obj : def->objects) {
        if (obj.variable) {
            vars.push_back(*obj.variable);
        }
    }
    EXPECT_EQ(vars, (std::vector<std::string>{"FIND.FINDSTR", "FIND.COLSTART", "FIND.COLEND", "FIND.LBLSTART",
                                              "FIND.LBLEND", "FIND.MASK", "FIND.SCOPE", "FIND.CONSTRAIN",
                                              "FIND.EXACT"}));
}
