#include "shell/startup.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/format.h"
#include "profiles/profile_defaults.h"
#include "shell/edit_session.h"
#include "shell/instance_ports.h"
#include "shell/instances.h"
#include "shell/main_window.h"
#include "shell_test_support.h"
#include "ui/headless/headless_backend.h"
#include "ui/screen.h"

using namespace tavoe;

namespace {

// An instance started on the headless backend with an installation home of its own.
class Startup : public ::testing::Test {
protected:
    Startup()
        : home_("startup"), backend_(in_, out_, err_, 24, 80), screen_(backend_), window_(app_, screen_) {}

    void SetUp() override {
        ConnectInstance(app_);
        const char* old = std::getenv("TAVOE35");
        savedHome_ = old != nullptr ? std::make_unique<std::string>(old) : nullptr;
        ::setenv("TAVOE35", home_.Path().c_str(), 1);
        static int counter = 0;
        start_.programPath = "/nonexistent/bin/tavoe";
        start_.blockName = Format("/tavoe_startuptest_%d_%d", static_cast<int>(getpid()), ++counter);
        start_.batch = true;
    }
    void TearDown() override {
        if (savedHome_) {
            ::setenv("TAVOE35", savedHome_->c_str(), 1);
        } else {
            ::unsetenv("TAVOE35");
        }
        UnregisterSession(app_);
        shm_unlink(start_.blockName.c_str());
    }

    std::string Profile() const { return ReadWholeFile((home_.Path() / "profiles/TAVOE.PRF").string()); }

    // The "name,value" lines of the written profile.
    std::map<std::string, std::string> ProfileLines() const {
        std::map<std::string, std::string> lines;
        std::istringstream text(Profile());
        std::string line;
        while (std::getline(text, line)) {
            size_t comma = line.find(',');
            if (comma != std::string::npos) {
                lines[line.substr(0, comma)] = line.substr(comma + 1);
            }
        }
        return lines;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : app_.messages) {
            texts.push_back(m.text);
        }
        return texts;
    }

    ScratchDir home_;
    std::istringstream in_;
    std::ostringstream out_;
    std::ostringstream err_;
    ui::HeadlessBackend backend_;
    ui::Screen screen_;
    AppSession app_;
    MainWindow window_;
    InstanceStart start_;
    std::unique_ptr<std::string> savedHome_;
};

TEST_F(Startup, AFirstRunWritesEveryDefaultAndTheAliasesAtOnce) {
    ASSERT_TRUE(StartInstance(app_, start_));
    std::map<std::string, std::string> lines = ProfileLines();
    for (const ProfileDefault& row : ProfileDefaults()) {
        if (row.rule == DefaultRule::PersistOnly) {
            continue;
        }
        auto found = lines.find(std::string(row.name));
        ASSERT_NE(found, lines.end()) << row.name;
        EXPECT_EQ(found->second, DefaultValueFor(app_, row)) << row.name;
    }
    int aliases = 0;
    for (const auto& [name, value] : lines) {
        aliases += name.starts_with("ZALIAS.CMD.") ? 1 : 0;
    }
    EXPECT_EQ(aliases, 42);
    EXPECT_EQ(static_cast<int>(DefaultCommandAliases().size()), 42);
    // In batch mode no welcome and no interface-style dialog.
    EXPECT_TRUE(app_.messages.empty()) << Texts().front();
    EXPECT_TRUE(app_.commandQueue.empty());
    EXPECT_EQ(VarGetValue(app_, "ZTAVOVERSION"), "3.5");
    EXPECT_EQ(VarGetValue(app_, "ZTAVOBUILD"), "616");
    EXPECT_EQ(app_.homeDirectory, home_.Path().string());
    EXPECT_EQ(Instance(app_).title, "Verso");
}

TEST_F(Startup, AFirstRunWithAUserExplainsAndPostsTheStyleDialog) {
    start_.batch = false;
    ASSERT_TRUE(StartInstance(app_, start_));
    ASSERT_EQ(app_.messages.size(), 1u);
    EXPECT_NE(app_.messages[0].text.find("chooses the style of the user interface"), std::string::npos);
    ASSERT_EQ(app_.commandQueue.size(), 1u);
    EXPECT_EQ(app_.commandQueue.front(), "ISTYLE");
}

TEST_F(Startup, TheTopMenuOfTheStyleUnlessStartedForFiles) {
    std::filesystem::create_directories(home_.Path() / "profiles");
    home_.File("profiles/TAVOE.PRF", "ZMENUSTYLE,Legacy Tavo\nZFONT.EDIT,Courier,ten\n");
    ASSERT_TRUE(StartInstance(app_, start_));
    EXPECT_EQ(Texts(),
              std::vector<std::string>{"Unable to set edit font, 'Courier,ten,,', using default font."});
    ASSERT_EQ(app_.commandQueue.size(), 1u);
    EXPECT_EQ(app_.commandQueue.front(), "menu LEGACY");
    EXPECT_FALSE(app_.closeWhenEmpty);
}

TEST_F(Startup, MergeAndLocateFollowOnlyTheFirstFileOpened) {
    std::filesystem::create_directories(home_.Path() / "profiles");
    home_.File("profiles/TAVOE.PRF", "ZMENUSTYLE,Legacy Tavo\n");
    std::string missing = (home_.Path() / "missing_dir/none.txt").string();
    std::string first = home_.File("first.txt", "a\nb\nc\n");
    std::string second = home_.File("second.txt", "x\n");
    start_.editorWords = {"-L2,3", "-R", "errs.txt", missing, first, second};
    ASSERT_TRUE(StartInstance(app_, start_));
    std::vector<std::string> texts = Texts();
    // The file in a missing directory fails to open; the merge follows the first file that opened,
    // once.
    int merges = 0;
    for (const std::string& text : texts) {
        merges += text.find("errs.txt") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(merges, 1);
    EXPECT_EQ(app_.editSessions.size(), 2u);
    EXPECT_TRUE(app_.commandQueue.empty());  // started for files: no top menu
    EXPECT_TRUE(app_.closeWhenEmpty);
    EditSession& firstSession = *app_.editSessions[1];
    EXPECT_EQ(firstSession.FileName(), first);
    EXPECT_EQ(firstSession.view.focus, KeyField::Data);
    EXPECT_EQ(firstSession.view.cursorColumn, firstSession.view.prefixWidth + 2);
}

TEST_F(Startup, AnOptionErrorStopsTheRestButKeepsWhatCameBefore) {
    std::filesystem::create_directories(home_.Path() / "profiles");
    home_.File("profiles/TAVOE.PRF", "ZMENUSTYLE,Windows GUI\n");
    std::string first = home_.File("one.txt", "1\n");
    start_.editorWords = {"-H", first, "-Q", "-Spfshow"};
    ASSERT_TRUE(StartInstance(app_, start_));
    EXPECT_EQ(Texts().back(), "Invalid command option 'Q'.");
    EXPECT_EQ(app_.editSessions.size(), 1u);
    EXPECT_NE(VarGetValue(app_, "ZPFSHOW"), "TRUE");  // -S was not reached
    EXPECT_FALSE(app_.closeWhenEmpty);                // -H holds the instance open
    EXPECT_TRUE(app_.menuPostponed);
}

TEST_F(Startup, CloseEndsTheSessionsUnlessOneRefusesAndExitWritesTheProfile) {
    std::filesystem::create_directories(home_.Path() / "profiles");
    home_.File("profiles/TAVOE.PRF", "ZMENUSTYLE,Windows GUI\n");
    ASSERT_TRUE(StartInstance(app_, start_));
    std::string path = home_.File("c.txt", "abc\n");
    ASSERT_EQ(OpenEditSession(app_, path, OpenMode::Edit), 0);
    CurrentEditSession(app_)->buffer.modified = true;
    in_.str("!reply CANCEL\n");
    in_.clear();
    backend_.WaitEvent();  // takes the queued reply
    EXPECT_FALSE(CloseInstance(app_));
    EXPECT_EQ(app_.editSessions.size(), 1u);
    VarSetValue(app_, "ZPROMPTONEXIT", "FALSE");
    CurrentEditSession(app_)->buffer.modified = false;
    EXPECT_TRUE(CloseInstance(app_));
    EXPECT_TRUE(app_.editSessions.empty());
    EXPECT_TRUE(app_.contexts.empty());

    VarSetValue(app_, "ZPFSHOW", "TRUE");
    FinishInstance(app_);
    EXPECT_NE(Profile().find("ZPFSHOW,TRUE\n"), std::string::npos);
    EXPECT_EQ(OwnSlotIndex(app_), -1);
    EXPECT_TRUE(std::filesystem::exists(home_.Path() / "TAVOPOS.TMP"));
}

TEST(InstanceBlockName, AnotherHomeIsAnotherBlock) {
    std::string plain = InstanceBlockName("/opt/tavoe35/bin/tavoe", nullptr);
    EXPECT_EQ(plain, InstanceBlockName("/opt/tavoe35/bin/tavoe", ""));
    EXPECT_NE(plain, InstanceBlockName("/opt/tavoe35/bin/tavoe", "/home/ann/tavoe"));
    EXPECT_NE(InstanceBlockName("/opt/tavoe35/bin/tavoe", "/home/ann/tavoe"),
              InstanceBlockName("/opt/tavoe35/bin/tavoe", "/home/bob/tavoe"));
    EXPECT_EQ(plain.front(), '/');
    EXPECT_EQ(plain.find('/', 1), std::string::npos);
}

}  // namespace
