// Where a user's settings go: the installation itself when it can be written, ~/.tavoe35 when it
// is a shared installation; and the search paths that follow from it.
#include "shell/personal_home.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/app_session.h"
#include "core/var_store.h"
#include "profiles/main_profile.h"

using namespace tavoe;

namespace {

namespace fs = std::filesystem;

class PersonalHomeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        dir = fs::path(base != nullptr ? base : fs::temp_directory_path().string()) /
              ("personal_home_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "install" / "bin");
        fs::create_directories(dir / "user");
    }
    void TearDown() override {
        fs::permissions(dir / "install", fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path dir;
};

}  // namespace

TEST_F(PersonalHomeTest, AWritableOrMissingInstallationKeepsItsOwnHome) {
    EXPECT_EQ(PersonalHome((dir / "install").string(), (dir / "user").string().c_str()), "");
    EXPECT_EQ(PersonalHome((dir / "nowhere").string(), (dir / "user").string().c_str()), "");
    EXPECT_FALSE(fs::exists(dir / "user" / ".tavoe35"));

    AppSession app;
    SetInstanceHome(app, (dir / "install" / "bin" / "tavoe").string(), nullptr);
    EXPECT_EQ(app.homeDirectory, (dir / "install").string());
    EXPECT_EQ(app.sharedHome, "");
    // TAVOE35 wins over everything.
    SetInstanceHome(app, (dir / "install" / "bin" / "tavoe").string(), "/elsewhere");
    EXPECT_EQ(app.homeDirectory, "/elsewhere");
}

TEST_F(PersonalHomeTest, ASharedInstallationSendsTheUserHomeAndSearchesItFirst) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root can write every directory; the install test runs this case as nobody";
    }
    fs::permissions(dir / "install",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::string personal = PersonalHome((dir / "install").string(), (dir / "user/").string().c_str());
    EXPECT_EQ(personal, (dir / "user" / ".tavoe35").string());
    EXPECT_TRUE(fs::is_directory(personal));
    EXPECT_EQ(PersonalHome((dir / "install").string(), "relative/home"), "");
    EXPECT_EQ(PersonalHome((dir / "install").string(), nullptr), "");
}

TEST(SharedHomeDefaults, SearchPathsNameTheUsersFoldersFirstAndHelpOnlyTheInstallation) {
    AppSession app;
    app.homeDirectory = "/home/ann/.tavoe35";
    app.sharedHome = "/usr/lib/tavoe35";
    (void)ReadMainProfile(app, nullptr);
    EXPECT_EQ(VarGetValue(app, "ZPATH.DIALOGS"), "/home/ann/.tavoe35/dialogs;/usr/lib/tavoe35/dialogs");
    EXPECT_EQ(VarGetValue(app, "ZPATH.FILEPROFILES"),
              "/home/ann/.tavoe35/profiles;/usr/lib/tavoe35/profiles");
    EXPECT_EQ(VarGetValue(app, "ZPATH.HELP"), "/usr/lib/tavoe35/help");

    AppSession own;
    own.homeDirectory = "/opt/t";
    (void)ReadMainProfile(own, nullptr);
    EXPECT_EQ(VarGetValue(own, "ZPATH.DIALOGS"), "/opt/t/dialogs");
    EXPECT_EQ(VarGetValue(own, "ZPATH.HELP"), "/opt/t/help");
}
