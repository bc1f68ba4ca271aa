#include "profiles/main_profile.h"
#include "profiles/main_profile_aliases.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/app_session.h"
#include "core/var_store.h"
#include "platform/search_path.h"
#include "profiles/main_profile_io.h"
#include "profiles/profile_defaults.h"

using namespace tavoe;

namespace fs = std::filesystem;

namespace {

// The shared lists as a plain in-memory history (newest first, an equal entry moves to the front)
// and recent-file table.
class FakeSharedLists : public ProfileSharedLists {
public:
    int SessionCount() const override { return sessions; }
    void HistoryAdd(std::string_view command) override {
        std::erase(history, std::string(command));
        history.emplace_front(command);
        if (history.size() > 16) {
            history.pop_back();
        }
        ++adds;
    }
    std::string HistoryEntry(int age) const override {
        return age < static_cast<int>(history.size()) ? history[age] : std::string();
    }
    void SetRecentFile(int slot, std::string_view path) override { recent.at(slot) = path; }
    std::string RecentFile(int slot) const override { return recent.at(slot); }

    int sessions = 1;
    int adds = 0;
    std::deque<std::string> history;
    std::array<std::string, 27> recent;
};

class MainProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("TAVOE_TEST_TMP");
        fs::path parent = base != nullptr && *base != '\0' ? fs::path(base) : fs::temp_directory_path();
        fs::create_directories(parent);
        home = parent / ("tavoe_mainprof_" + std::to_string(::getpid()) + "_" +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        fs::create_directories(home / "profiles");
        app.homeDirectory = home.string();
    }
    void TearDown() override { fs::remove_all(home); }

    fs::path ProfilePath() const { return home / "profiles" / "TAVOE.PRF"; }
    void WriteProfile(const std::string& bytes, const char* name = "TAVOE.PRF") {
        std::ofstream(home / "profiles" / name, std::ios::binary) << bytes;
    }
    std::string ReadFile(const fs::path& p) const {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::vector<std::string> Lines(const fs::path& p) const {
        std::vector<std::string> lines;
        std::istringstream in(ReadFile(p));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    int CountLinesStartingWith(const std::vector<std::string>& lines, std::string_view prefix) const {
        int n = 0;
        for (const std::string& line : lines) {
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }
    int Persist(std::string_view name) {
        VarRecord* rec = VarFind(app, name);
        return rec == nullptr ? -1 : rec->persist;
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(home / "profiles")) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path home;
    AppSession app;
    FakeSharedLists shared;
};

}  // namespace

TEST(ProfileLineSplit, BlanksAndCommasSeparateNameFromValue) {
    ProfileLine p = SplitProfileLine("ZMSGSOUNDS , FALSE");
    EXPECT_EQ(p.name, "ZMSGSOUNDS");
    EXPECT_EQ(p.value, "FALSE");
    p = SplitProfileLine("ZXLATESUBCHAR,a, b");
    EXPECT_EQ(p.value, "a, b");
    p = SplitProfileLine("   ZFONT.EDIT,,, Courier,10  ");
    EXPECT_EQ(p.name, "ZFONT.EDIT");
    EXPECT_EQ(p.value, "Courier,10  ");  // trailing blanks belong to the value
    p = SplitProfileLine("ZNAMEONLY");
    EXPECT_EQ(p.name, "ZNAMEONLY");
    EXPECT_EQ(p.value, "");
    p = SplitProfileLine(",VALUE");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.value, "VALUE");
    p = SplitProfileLine("    ");
    EXPECT_TRUE(p.name.empty() && p.value.empty());
}

TEST_F(MainProfileTest, OddLinesAreReadByTheLineRules) {
    std::string longValue(600, 'x');
    std::string bytes =
        "  ZMSGSOUNDS , FALSE\n"
        "ZXLATESUBCHAR,a, b\n"
        "\n"
        "     \n"
        "ZCRLF.VALUE,with cr\r\n"
        "ZEMPTY.VALUE,\n"
        "ZLONG.VALUE," +
        longValue +
        "\n"
        "ZAFTER.LONG,ok\n"
        "ZNUL.VALUE,ab" +
        std::string(1, '\0') +
        "ZINJECTED,cd\n"
        "ZHIGH.BYTES,\xff\xfe\x01\n"
        "9BAD,name rejected\n"
        "ZLAST,no newline at end";
    WriteProfile(bytes);
    EXPECT_EQ(ReadMainProfile(app, &shared), 0);

    EXPECT_EQ(VarGetValue(app, "ZMSGSOUNDS"), "FALSE");
    EXPECT_EQ(VarGetValue(app, "ZXLATESUBCHAR"), "a, b");
    EXPECT_EQ(VarGetValue(app, "ZCRLF.VALUE"), "with cr");
    EXPECT_EQ(Persist("ZEMPTY.VALUE"), 1);
    EXPECT_EQ(VarGetValue(app, "ZEMPTY.VALUE"), "");
    // An overlong line keeps its first 511 characters; its rest is not a line of its own.
    EXPECT_EQ(VarGetValue(app, "ZLONG.VALUE"), std::string(511 - 12, 'x'));
    EXPECT_EQ(VarGetValue(app, "ZAFTER.LONG"), "ok");
    EXPECT_EQ(VarFind(app, std::string(499, 'x').substr(0, 60)), nullptr);
    EXPECT_EQ(VarGetValue(app, "ZNUL.VALUE"), "ab");
    EXPECT_EQ(VarFind(app, "ZINJECTED"), nullptr);
    EXPECT_EQ(VarGetValue(app, "ZHIGH.BYTES"), "\xff\xfe\x01");
    EXPECT_EQ(VarGetValue(app, "ZLAST"), "no newline at end");
    EXPECT_EQ(Persist("ZXLATESUBCHAR"), 1);

    // Only the rejected name is reported; blank lines are not.
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Varname must start with a..z and have length >= 3, got '9BAD'");
}

TEST_F(MainProfileTest, FirstRunWritesEveryDefaultAndTheAliasesInOrder) {
    EXPECT_EQ(ReadMainProfile(app, &shared), -1);
    EXPECT_TRUE(app.messages.empty());
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::vector<std::string> lines = Lines(ProfilePath());

    std::span<const DefaultAlias> aliases = DefaultCommandAliases();
    ASSERT_EQ(aliases.size(), 42u);
    ASSERT_GE(lines.size(), 42u);
    for (size_t i = 0; i < aliases.size(); ++i) {
        EXPECT_EQ(lines[i], "ZALIAS.CMD." + std::to_string(i + 1) + "," + std::string(aliases[i].alias) +
                                " " + std::string(aliases[i].actual));
    }
    EXPECT_EQ(lines[0], "ZALIAS.CMD.1,B BROWSE");
    EXPECT_EQ(lines[41], "ZALIAS.CMD.42,X EXCLUDE");

    auto has = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    for (const ProfileDefault& row : ProfileDefaults()) {
        if (row.rule == DefaultRule::PersistOnly) {
            continue;
        }
        EXPECT_TRUE(has(std::string(row.name) + "," + DefaultValueFor(app, row))) << row.name;
    }
    EXPECT_TRUE(has("ZPATH.MACROS," + (home / "macros").string()));
    EXPECT_TRUE(has("ZPATH.USERCOMMANDS," + (home / "profiles").string()));
    EXPECT_TRUE(has("ZFILTERS.1,COBOL Program Source *.cbl"));
    EXPECT_TRUE(has("ZFILTERS.10,All Files *.*"));
    EXPECT_TRUE(has("ZEDIT.POP.PCMD.4,Delete"));
    EXPECT_TRUE(has("ZEDIT.POP.LCMD.5,(("));
    EXPECT_TRUE(has("ZF12.SHIFT,RETRIEVE BACK"));
    EXPECT_TRUE(has("ZOPEN.PATH.SIZE,10"));
    EXPECT_TRUE(has("ZOPEN.PATH.0,1"));
    EXPECT_TRUE(has("ZOPEN.PATH.1,/"));
    EXPECT_TRUE(has("ZMULT.PATH.3.1,null"));
    EXPECT_TRUE(has("ZMULT.TYPE.1,*.*"));
    EXPECT_EQ(CountLinesStartingWith(lines, "ZPCMDHISTORY"), 0);
    EXPECT_EQ(CountLinesStartingWith(lines, "ZFILEMRU"), 0);
    // Exactly "name,value": no blank in the name or right after the comma.
    for (const std::string& line : lines) {
        size_t comma = line.find(',');
        ASSERT_NE(comma, std::string::npos) << line;
        EXPECT_EQ(line.substr(0, comma).find(' '), std::string::npos) << line;
        EXPECT_NE(line[comma + 1], ' ') << line;
    }
    // Persistent variables without a value are not written.
    EXPECT_EQ(CountLinesStartingWith(lines, "ZMULT.TEXT"), 0);
    EXPECT_EQ(Persist("ZMULT.TEXT.1"), 1);
    EXPECT_EQ(Persist("ZF01.BASE.LABEL"), 1);
    EXPECT_EQ(Persist("ZF12.ALT.LABEL"), 1);
    EXPECT_EQ(Persist("ZF06.ALT"), -1);
    EXPECT_EQ(Persist("ZCTRL.H"), -1);
    EXPECT_EQ(Persist("ZCTRL.Q"), 1);
    EXPECT_EQ(Persist("ZFILTERS.16"), 1);
}

TEST_F(MainProfileTest, WrittenProfileReadsBackToTheSameSettings) {
    WriteProfile("ZCOLOR.EDIT,5,6\nZUSER.SETTING,keep  trailing  \nZALIAS.CMD.1,QQ QUIT\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    VarSetValue(app, "ZNEW.VALUE", "a,b c");
    VarSetPersist(app, "ZNEW.VALUE", 1);
    VarSetValue(app, "ZNOT.SAVED", "x");
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::string first = ReadFile(ProfilePath());
    EXPECT_NE(first.find("\nZNEW.VALUE,a,b c\n"), std::string::npos);
    EXPECT_NE(first.find("\nZUSER.SETTING,keep  trailing  \n"), std::string::npos);
    EXPECT_EQ(first.find("ZNOT.SAVED"), std::string::npos);

    AppSession again;
    again.homeDirectory = home.string();
    FakeSharedLists shared2;
    ASSERT_EQ(ReadMainProfile(again, &shared2), 0);
    EXPECT_EQ(VarGetValue(again, "ZCOLOR.EDIT"), "5,6");
    EXPECT_EQ(VarGetValue(again, "ZNEW.VALUE"), "a,b c");
    ASSERT_EQ(again.aliases.size(), 1u);
    EXPECT_EQ(again.aliases[0].alias, "QQ");
    ASSERT_EQ(WriteMainProfile(again, &shared2), 0);
    EXPECT_EQ(ReadFile(ProfilePath()), first);
}

TEST_F(MainProfileTest, DefaultsFillOnlyWhatIsMissingAndAlwaysRowsWin) {
    WriteProfile(
        "ZCOLOR.EDIT,5,6\n"
        "ZFILTERS.3,My filter *.x\n"
        "ZFLIST.RECURS,TRUE\n"
        "ZFLIST.INCLUDE.NAME,FALSE\n"
        "ZMSGSOUNDS,FALSE\n"
        "ZCOD,\n"
        "ZEDIT.POP.PCMD.1,Find\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    EXPECT_EQ(VarGetValue(app, "ZCOLOR.EDIT"), "5,6");
    EXPECT_EQ(VarGetValue(app, "ZMSGSOUNDS"), "FALSE");
    EXPECT_EQ(VarGetValue(app, "ZCOD"), "FALSE");  // an empty value counts as missing
    EXPECT_EQ(Persist("ZCOD"), 1);
    EXPECT_EQ(VarGetValue(app, "ZFLIST.RECURS"), "FALSE");
    EXPECT_EQ(VarGetValue(app, "ZFLIST.INCLUDE.NAME"), "TRUE");
    // ZFILTERS.1 was empty, so the whole filter group is laid down again.
    EXPECT_EQ(VarGetValue(app, "ZFILTERS.1"), "COBOL Program Source *.cbl");
    EXPECT_EQ(VarGetValue(app, "ZFILTERS.3"), "COBOL All *.cbl;*.cpy");
    EXPECT_EQ(VarGetValue(app, "ZFILTERS.10"), "All Files *.*");
    // The pop-up group has its first entry, so it is left alone, gaps and all.
    EXPECT_EQ(VarGetValue(app, "ZEDIT.POP.PCMD.1"), "Find");
    EXPECT_EQ(VarGetValue(app, "ZEDIT.POP.PCMD.2"), "");
    EXPECT_EQ(VarGetValue(app, "ZEDIT.POP.LCMD.4"), "))");
    EXPECT_EQ(VarGetValue(app, "ZPATH.DIALOGS"), (home / "dialogs").string());
    EXPECT_EQ(Persist("ZPATH.DIALOGS"), 1);
    EXPECT_EQ(app.profileSettings.colors[static_cast<int>(ColorElement::Edit)].foreground, 5);
    EXPECT_EQ(app.profileSettings.colors[static_cast<int>(ColorElement::Edit)].background, 6);
    EXPECT_TRUE(app.profileLoaded);
}

TEST_F(MainProfileTest, HistoryCombosKeepTheirEntries) {
    WriteProfile("ZOPEN.PATH.0,2\nZOPEN.PATH.1,/src\nZOPEN.PATH.2,/tmp\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    EXPECT_EQ(VarGetValue(app, "ZOPEN.PATH.1"), "/src");
    EXPECT_EQ(VarGetValue(app, "ZOPEN.PATH.0"), "2");
    EXPECT_EQ(VarGetValue(app, "ZOPEN.PATH.SIZE"), "10");
    EXPECT_EQ(Persist("ZOPEN.PATH.2"), 1);
    EXPECT_EQ(VarGetValue(app, "ZOPEN.TYPE.1"), "*.*");
    EXPECT_EQ(VarGetValue(app, "ZOPEN.TYPE.0"), "1");
    EXPECT_EQ(VarGetValue(app, "ZMULT.PATH.2.1"), "null");
}

TEST_F(MainProfileTest, AliasesComeFromTheProfileAndAreWrittenOnce) {
    WriteProfile(
        "ZALIAS.CMD.1,QQ   QUIT\n"
        "ZALIAS.CMD.2,  ABCDEFGHIJKLMNOPQ ABCDEFGHIJKLMNOPQRS\n"
        "ZALIAS.CMD.3,BROKEN\n"
        "ZALIAS.CMD.4,FF FIND\n"
        "ZALIAS.CMD.6,AFTER GAP\n"
        "ZALIAS.PRF.1,001 TXT\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    ASSERT_EQ(app.aliases.size(), 3u);
    EXPECT_EQ(app.aliases[0].alias, "QQ");
    EXPECT_EQ(app.aliases[0].actual, "QUIT");
    EXPECT_EQ(app.aliases[1].alias, "ABCDEFGHIJKLMN");     // 14 characters
    EXPECT_EQ(app.aliases[1].actual, "ABCDEFGHIJKLMNOP");  // 16 characters
    EXPECT_EQ(app.aliases[2].alias, "FF");
    ASSERT_NE(FindAlias(app.aliases, "FF"), nullptr);
    EXPECT_EQ(FindAlias(app.aliases, "ff"), nullptr);
    ASSERT_EQ(app.profileAliases.size(), 1u);
    EXPECT_EQ(app.profileAliases[0].actual, "TXT");
    EXPECT_EQ(VarGetValue(app, "ZALIAS.CMD.1"), "");

    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::vector<std::string> lines = Lines(ProfilePath());
    EXPECT_EQ(lines[0], "ZALIAS.CMD.1,QQ QUIT");
    EXPECT_EQ(lines[2], "ZALIAS.CMD.3,FF FIND");
    EXPECT_EQ(lines[3], "ZALIAS.PRF.1,001 TXT");
    // The stray entry after the gap is not written beside the list.
    EXPECT_EQ(CountLinesStartingWith(lines, "ZALIAS.CMD."), 3);
}

TEST_F(MainProfileTest, StrayAliasVariableDoesNotOverrideDefaultAliases) {
    WriteProfile("ZALIAS.CMD.5,ZZ JUNK\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    ASSERT_EQ(app.aliases.size(), 42u);
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::vector<std::string> lines = Lines(ProfilePath());
    EXPECT_EQ(CountLinesStartingWith(lines, "ZALIAS.CMD.5,"), 1);
    EXPECT_EQ(lines[4], "ZALIAS.CMD.5,C CHANGE");
}

TEST_F(MainProfileTest, HistoryAndRecentFilesTravelWhenRunningAlone) {
    WriteProfile(
        "ZPCMDHISTORY.0,find newest\n"
        "ZPCMDHISTORY.1,top\n"
        "ZPCMDHISTORY.2,bottom\n"
        "ZPCMDHISTORY.3,change a b\n"
        "ZPCMDHISTORY.4,find oldest\n"
        "ZFILEMRU.0,/a/one.txt\n"
        "ZFILEMRU.1,/a/two.txt\n"
        "ZFILEMRU.3,/a/after-gap.txt\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    ASSERT_EQ(shared.history.size(), 5u);
    EXPECT_EQ(shared.history[0], "find newest");  // retrieved first
    EXPECT_EQ(shared.history[4], "find oldest");
    EXPECT_EQ(shared.recent[0], "/a/one.txt");
    EXPECT_EQ(shared.recent[1], "/a/two.txt");
    EXPECT_EQ(shared.recent[3], "");  // the list ends at the first empty entry
    EXPECT_EQ(Persist("ZPCMDHISTORY.0"), 0);
    EXPECT_EQ(Persist("ZFILEMRU.1"), 0);

    shared.HistoryAdd("locate 10");
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::vector<std::string> lines = Lines(ProfilePath());
    EXPECT_EQ(CountLinesStartingWith(lines, "ZPCMDHISTORY."), 6);
    EXPECT_EQ(CountLinesStartingWith(lines, "ZPCMDHISTORY.0,"), 1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ZPCMDHISTORY.0,locate 10"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ZPCMDHISTORY.5,find oldest"), lines.end());
    EXPECT_EQ(CountLinesStartingWith(lines, "ZFILEMRU."), 2);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ZFILEMRU.1,/a/two.txt"), lines.end());
}

TEST_F(MainProfileTest, WithTwoSessionsTheListsAreNeitherReadNorWritten) {
    WriteProfile("ZPCMDHISTORY.0,find x\nZFILEMRU.0,/a/one.txt\n");
    shared.sessions = 2;
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    EXPECT_EQ(shared.adds, 0);
    EXPECT_EQ(shared.recent[0], "");
    shared.history.push_back("typed in the other session");
    shared.recent[0] = "/other.txt";
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::vector<std::string> lines = Lines(ProfilePath());
    // What this instance read goes back as it was; the shared lists are left to the other instance.
    EXPECT_EQ(CountLinesStartingWith(lines, "ZPCMDHISTORY."), 1);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ZPCMDHISTORY.0,find x"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ZFILEMRU.0,/a/one.txt"), lines.end());
}

TEST_F(MainProfileTest, UnwritableValuesAndNamesCannotInjectLines) {
    ASSERT_EQ(ReadMainProfile(app, &shared), -1);
    VarSetValue(app, "ZMACRO.SET", "first\nZPATH.MACROS,/evil");
    VarSetPersist(app, "ZMACRO.SET", 1);
    VarSetValue(app, "ZWITH BLANK", "v");
    VarSetPersist(app, "ZWITH BLANK", 1);
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    std::vector<std::string> lines = Lines(ProfilePath());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ZMACRO.SET,first"), lines.end());
    EXPECT_EQ(CountLinesStartingWith(lines, "ZPATH.MACROS,/evil"), 0);
    EXPECT_EQ(CountLinesStartingWith(lines, "ZWITH"), 0);
}

TEST_F(MainProfileTest, ExistingFileIsFoundIgnoringCaseAndKeepsItsNameAndMode) {
    WriteProfile("ZMSGSOUNDS,FALSE\n", "tavoe.prf");
    ::chmod((home / "profiles" / "tavoe.prf").c_str(), 0640);
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    EXPECT_EQ(VarGetValue(app, "ZMSGSOUNDS"), "FALSE");
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    EXPECT_EQ(Files(), std::vector<std::string>{"tavoe.prf"});
    struct stat st;
    ASSERT_EQ(::stat((home / "profiles" / "tavoe.prf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(MainProfileTest, FailedWriteReportsAndKeepsTheOldProfile) {
    WriteProfile("ZMSGSOUNDS,FALSE\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    // The profiles directory is replaced by a file: no temporary file can be made there.
    fs::remove_all(home / "profiles");
    std::ofstream(home / "profiles") << "not a directory";
    EXPECT_EQ(WriteMainProfile(app, &shared), -1);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text,
              "Unable to open file profile '" + (home / "profiles" / "TAVOE.PRF").string() + "' for WRITE.");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Error);
    EXPECT_EQ(ReadFile(home / "profiles"), "not a directory");
}

TEST_F(MainProfileTest, MissingProfilesDirectoryIsCreatedOnWrite) {
    fs::remove_all(home / "profiles");
    ASSERT_EQ(ReadMainProfile(app, &shared), -1);
    ASSERT_EQ(WriteMainProfile(app, &shared), 0);
    EXPECT_TRUE(fs::is_regular_file(ProfilePath()));
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(MainProfileTest, FailedRenameLeavesNoTemporaryFile) {
    ASSERT_EQ(ReadMainProfile(app, &shared), -1);
    fs::create_directories(ProfilePath());  // a directory where the file should go
    EXPECT_EQ(WriteMainProfile(app, &shared), -1);
    EXPECT_EQ(Files(), std::vector<std::string>{"TAVOE.PRF"});
    EXPECT_TRUE(fs::is_directory(ProfilePath()));
}

TEST_F(MainProfileTest, UncommittedWriterLeavesTheOldFileIntact) {
    WriteProfile("ZOLD,1\n");
    {
        ReplacingFileWriter out;
        ASSERT_TRUE(out.Open(ProfilePath().string()));
        out.Write("ZNEW,half written");
    }
    EXPECT_EQ(ReadFile(ProfilePath()), "ZOLD,1\n");
    EXPECT_EQ(Files(), std::vector<std::string>{"TAVOE.PRF"});
}

TEST_F(MainProfileTest, RestoreDefaultsDeletesTheProfileAndStopsWrites) {
    WriteProfile("ZMSGSOUNDS,FALSE\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    std::string asked;
    auto cancel = [&](std::string_view question) {
        asked = question;
        return false;
    };
    EXPECT_EQ(RestoreDefaults(app, cancel), RestoreOutcome::Cancelled);
    EXPECT_EQ(
        asked,
        "The following are not restored:\n\nfile profiles\ncolorization profiles\nprint styles\nprojects\n"
        "user commands\n\nOK to shut down Tavo to restore defaults?");
    EXPECT_TRUE(fs::exists(ProfilePath()));

    auto ok = [](std::string_view) { return true; };
    EXPECT_EQ(RestoreDefaults(app, ok), RestoreOutcome::Restored);
    EXPECT_FALSE(fs::exists(ProfilePath()));
    EXPECT_EQ(WriteMainProfile(app, &shared), 0);
    EXPECT_FALSE(fs::exists(ProfilePath()));  // the deletion survives the exit
    EXPECT_TRUE(app.messages.empty());

    AppSession next;
    next.homeDirectory = home.string();
    EXPECT_EQ(ReadMainProfile(next, &shared), -1);
    EXPECT_EQ(VarGetValue(next, "ZMSGSOUNDS"), "TRUE");
}

TEST_F(MainProfileTest, RestoreDefaultsIsRefusedOnAThinClient) {
    WriteProfile("ZCLIENT,TRUE\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    bool asked = false;
    auto ok = [&](std::string_view) {
        asked = true;
        return true;
    };
    EXPECT_EQ(RestoreDefaults(app, ok), RestoreOutcome::ThinClient);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(fs::exists(ProfilePath()));
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(
        app.messages[0].text,
        "To restore defaults have network administrator re-install thin client per instructions in menu "
        "HELP, item README, sub-item NETWORK.");
    EXPECT_EQ(app.messages[0].beep, Beep::Information);
}

TEST_F(MainProfileTest, DamagedColoursFallBackToDefaults) {
    WriteProfile(
        "ZCOLOR.3,blue\nZCOLOR.4,16777216\nZCOLOR.5,255\nZCOLOR.FIND,16,1\nZCOLOR.OTHER, 2 , 9\n"
        "ZUNDO,FALSE\nZRIGHTCTRL,TRUE\n");
    ASSERT_EQ(ReadMainProfile(app, &shared), 0);
    const ProfileSessionSettings& s = app.profileSettings;
    EXPECT_EQ(s.palette[3], 16777215u);
    EXPECT_EQ(s.palette[4], 32768u);
    EXPECT_EQ(s.palette[5], 255u);
    EXPECT_EQ(s.colors[static_cast<int>(ColorElement::Find)].foreground, 3);
    EXPECT_EQ(s.colors[static_cast<int>(ColorElement::Find)].background, 14);
    EXPECT_EQ(s.colors[static_cast<int>(ColorElement::Other)].foreground, 2);
    EXPECT_EQ(s.colors[static_cast<int>(ColorElement::Other)].background, 9);
    EXPECT_FALSE(s.undoEnabled);
    EXPECT_TRUE(s.rightCtrlIsEnter);
    EXPECT_TRUE(s.insertMode);
    EXPECT_TRUE(s.sessionCooperation);
}
