#include "profiles/control_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "search_path_fixture.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

class ControlFileTest : public SearchPathFixture {
protected:
    ControlFileTest() : SearchPathFixture("ctl", "ZPATH.USERCOMMANDS") {}
    int ReadCmd(int count) {
        return ControlFileRead(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", count, keys, values);
    }
    void ExpectOneBox(const std::string& text) { SearchPathFixture::ExpectOneBox(text, Beep::Information); }

    std::vector<std::string> keys;
    std::vector<std::string> values;
};

}  // namespace

TEST_F(ControlFileTest, SlotsAreFilledByPositionWhateverTheKeyword) {
    Write(root / "server" / "build.ucmd", "Name=build\nDescription=make it\nStop=TRUE\nCommand=make all\n");
    ASSERT_EQ(ReadCmd(3), 0);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0], "Name");
    EXPECT_EQ(values[1], "make it");
    EXPECT_EQ(keys[2], "Stop");  // third slot, although the caller expected Command there
    EXPECT_EQ(values[2], "TRUE");
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(ControlFileTest, SlotsBeyondTheFileAreCleared) {
    Write(root / "user" / "build.ucmd", "Name=a=b\r\nCommand\n");
    std::string k0 = "old", v0 = "old", k1 = "old", v1 = "old", k2 = "old", v2 = "old";
    std::string* ks[] = {&k0, &k1, &k2};
    std::string* vs[] = {&v0, &v1, &v2};
    ASSERT_EQ(ControlFileRead(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", 3, ks, vs), 0);
    EXPECT_EQ(k0, "Name");
    EXPECT_EQ(v0, "a=b");  // the value is everything after the first "="
    EXPECT_EQ(k1, "Command");
    EXPECT_EQ(v1, "");
    EXPECT_EQ(k2, "");
    EXPECT_EQ(v2, "");
}

TEST_F(ControlFileTest, KeywordAndValueLimits) {
    std::string key15(15, 'K');
    std::string value199(199, 'v');
    Write(root / "user" / "build.ucmd", key15 + "=" + value199 + "\n");
    ASSERT_EQ(ReadCmd(1), 0);
    EXPECT_EQ(keys[0], key15);
    EXPECT_EQ(values[0], value199);

    Write(root / "user" / "build.ucmd", "Name=x\n" + key15 + "K=v\n");
    EXPECT_EQ(ReadCmd(2), -1);
    ExpectOneBox("PObjRead: control file 'build.ucmd', keyword '" + key15 + "K' exceeds max length allowed.");

    app.messages.clear();
    Write(root / "user" / "build.ucmd", "Command=" + value199 + "v\n");
    EXPECT_EQ(ReadCmd(1), -1);
    ExpectOneBox(
        "PObjRead: control file 'build.ucmd', keyword 'Command' has value which exceeds max length "
        "allowed.");

    // A line far beyond the line limit is caught the same way and never overflows anything.
    app.messages.clear();
    Write(root / "user" / "build.ucmd", "Command=" + std::string(5000, 'v') + "\n");
    EXPECT_EQ(ReadCmd(1), -1);
    ASSERT_EQ(app.messages.size(), 1u);
}

TEST_F(ControlFileTest, LinesPastTheCountAreNotChecked) {
    Write(root / "user" / "build.ucmd", "Name=x\n" + std::string(40, 'K') + "=v\n");
    EXPECT_EQ(ReadCmd(1), 0);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(ControlFileTest, MissingFileAndMissingSlotsAreReported) {
    EXPECT_EQ(ReadCmd(2), -1);
    ExpectOneBox("PObjRead: unable to open control file 'build.ucmd' for read.");

    app.messages.clear();
    std::string k, v;
    std::string* ks[] = {&k, nullptr};
    std::string* vs[] = {&v, &v};
    EXPECT_EQ(ControlFileRead(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", 2, ks, vs), -1);
    ExpectOneBox("PObjRead: internal error, null keyword pointer.");

    app.messages.clear();
    std::string* ks2[] = {&k, &k};
    std::string* vs2[] = {&v};
    EXPECT_EQ(ControlFileRead(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", 2, ks2, vs2), -1);
    ExpectOneBox("PObjRead: internal error, null value pointer");
}

TEST_F(ControlFileTest, FoundAlongThePathIgnoringCase) {
    Write(root / "server" / "BUILD.UCMD", "Name=server copy\n");
    ASSERT_EQ(ReadCmd(1), 0);
    EXPECT_EQ(values[0], "server copy");
    Write(root / "user" / "build.ucmd", "Name=user copy\n");
    ASSERT_EQ(ReadCmd(1), 0);
    EXPECT_EQ(values[0], "user copy");
}

TEST_F(ControlFileTest, WriteGoesToTheFirstDirectoryAndReadsBack) {
    std::vector<std::string> ks = {"Name", "Command", "Mode"};
    std::vector<std::string> vs = {"build", "make -j2 all", ""};
    ASSERT_EQ(ControlFileWrite(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", ks, vs), 0);
    EXPECT_EQ(Read(root / "user" / "build.ucmd"), "Name=build\nCommand=make -j2 all\nMode=\n");
    EXPECT_FALSE(fs::exists(root / "server" / "build.ucmd"));
    ASSERT_EQ(ReadCmd(3), 0);
    EXPECT_EQ(keys, ks);
    EXPECT_EQ(values, vs);

    // An existing file of another case in the first directory is replaced, not doubled.
    fs::rename(root / "user" / "build.ucmd", root / "user" / "Build.UCMD");
    ASSERT_EQ(ControlFileWrite(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", {"Name"}, {"again"}), 0);
    EXPECT_EQ(Read(root / "user" / "Build.UCMD"), "Name=again\n");
    EXPECT_FALSE(fs::exists(root / "user" / "build.ucmd"));
}

TEST_F(ControlFileTest, WriteFailuresAreReportedBeforeTouchingTheFile) {
    Write(root / "user" / "build.ucmd", "Name=kept\n");
    std::string k = "Name";
    const std::string* ks[] = {&k, &k};
    const std::string* vs[] = {&k, nullptr};
    EXPECT_EQ(ControlFileWrite(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", 2, ks, vs), -1);
    ExpectOneBox("PObjWrite: internal error, null value pointer.");
    EXPECT_EQ(Read(root / "user" / "build.ucmd"), "Name=kept\n");

    app.messages.clear();
    const std::string* ks2[] = {nullptr};
    EXPECT_EQ(ControlFileWrite(app, "ZPATH.USERCOMMANDS", "build", ".ucmd", 1, ks2, vs), -1);
    ExpectOneBox("PObjWrite: internal error, null keyword pointer.");

    app.messages.clear();
    EXPECT_EQ(ControlFileWrite(app, "ZPATH.NOTSET", "build", ".ucmd", {"Name"}, {"x"}), -1);
    ExpectOneBox("PObjWrite: unable to open control file 'build.ucmd' for write.");

    app.messages.clear();
    VarSetValue(app, "ZPATH.PRINTSTYLES", (root / "missing").string());
    EXPECT_EQ(ControlFileWrite(app, "ZPATH.PRINTSTYLES", "wide", ".pstl", {"Name"}, {"x"}), -1);
    ExpectOneBox("PObjWrite: unable to open control file 'wide.pstl' for write.");
}

TEST_F(ControlFileTest, GetFindsTheFirstLineOfTheKeyword) {
    Write(root / "server" / "build.ucmd", "Name=build\nCommandX=wrong\nCommand=make\nCommand=second\n");
    EXPECT_EQ(ControlFileGet(app, "ZPATH.USERCOMMANDS", "build.ucmd", "Command"), "make");
    EXPECT_EQ(ControlFileGet(app, "ZPATH.USERCOMMANDS", "build.ucmd", "Batch"), "");
    EXPECT_EQ(ControlFileGet(app, "ZPATH.USERCOMMANDS", "missing.ucmd", "Name"), "");
    EXPECT_TRUE(app.messages.empty());
}
