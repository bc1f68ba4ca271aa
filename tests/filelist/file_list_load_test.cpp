// Loading directories into a file list, and the project file format.
#include "filelist/file_list_load.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/message.h"
#include "filelist/file_list_dialogs.h"
#include "filelist/file_list_primary.h"
#include "filelist/file_list_search.h"
#include "filelist/projects.h"

namespace tavoe {

namespace {

namespace fs = std::filesystem;

struct Recorder : Reporter {
    std::vector<std::string> messages;
    void Report(std::string_view text, MsgTo, Beep) override { messages.emplace_back(text); }
};

class TempTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/flist-test-XXXXXX";
        root_ = mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(root_); }
    void Touch(const std::string& name, size_t size = 0) {
        std::ofstream(root_ / name) << std::string(size, 'x');
    }
    FileList Load(const LoadOptions& options) {
        FileList list;
        list.paths[0] = root_.string() + "/";
        LoadFileList(reporter_, list, options, nullptr);
        return list;
    }
    fs::path root_;
    Recorder reporter_;
};

TEST_F(TempTree, StopsAtTheEntryLimitWithTheMessage) {
    for (int i = 0; i < 12; ++i) {
        Touch("f" + std::to_string(i), 10);
    }
    LoadOptions options;
    options.maxEntries = 10;
    FileList list = Load(options);
    EXPECT_EQ(list.files.size(), 10u);
    EXPECT_EQ(list.fileCount, 10u);
    EXPECT_EQ(list.byteCount, 100u);
    EXPECT_TRUE(list.limited);
    ASSERT_EQ(reporter_.messages.size(), 1u);
    EXPECT_EQ(reporter_.messages[0],
              "File List limited to 10 files, click on menu OPTIONS, item FILE LIST to change limit.");
    options.maxEntries = 0;  // below 1 is the default of 10000
    EXPECT_EQ(Load(options).files.size(), 12u);
}

TEST_F(TempTree, HiddenNamesMasksAndDirectories) {
    Touch("a.c");
    Touch("b.h");
    Touch("c.txt");
    Touch(".profile");
    fs::create_directory(root_ / "src");
    fs::create_directory(root_ / ".git");
    LoadOptions options;
    FileList list = Load(options);
    EXPECT_EQ(list.files.size(), 3u);
    ASSERT_EQ(list.dirs.size(), 1u);  // dot directories are never listed
    EXPECT_EQ(list.dirs[0].name, "src");
    options.showHidden = true;
    options.mask = "*.C;*.h";  // masks ignore case
    list = Load(options);
    std::vector<std::string> names;
    for (const FileEntry& entry : list.files) {
        names.push_back(entry.name);
        EXPECT_EQ(entry.path, root_.string() + "/");
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.c", "b.h"}));
    options.mask = "*";
    list = Load(options);
    EXPECT_EQ(list.files.size(), 4u);
    for (const FileEntry& entry : list.files) {
        EXPECT_EQ((entry.attrs & kAttrHidden) != 0, entry.name == ".profile");
        EXPECT_EQ(entry.ext, entry.name == ".profile" ? "" : ExtensionOf(entry.name));
    }
}

TEST_F(TempTree, RecursionEntersEachDirectoryOnceAndFollowsNoLinks) {
    fs::create_directories(root_ / "a" / "b");
    Touch("a/b/deep.txt", 3);
    fs::create_directory_symlink(root_, root_ / "a" / "loop");  // back to the top
    fs::create_directory_symlink(root_ / "a", root_ / "a" / "b" / "up");
    LoadOptions options;
    options.recursive = true;
    FileList list = Load(options);
    int deep = 0;
    for (const FileEntry& entry : list.files) {
        deep += entry.name == "deep.txt" ? 1 : 0;
        if (entry.name == "deep.txt") {
            EXPECT_EQ(entry.path, root_.string() + "/a/b/");
        }
    }
    EXPECT_EQ(deep, 1);
    // The links are listed (as links to directories) but not entered.
    int links = 0;
    for (const FileEntry& entry : list.dirs) {
        links += (entry.attrs & kAttrLink) != 0 ? 1 : 0;
    }
    EXPECT_EQ(links, 2);
    EXPECT_EQ(list.dirs.size(), 4u);
}

TEST_F(TempTree, MissingPathsAndStat) {
    FileList list;
    list.paths[0] = root_.string() + "/nothing/";
    LoadFileList(reporter_, list, LoadOptions{}, nullptr);
    EXPECT_TRUE(list.files.empty());
    std::string path = "relative/dir";
    EXPECT_FALSE(NormalizeListPath(reporter_, path));
    EXPECT_EQ(reporter_.messages.back(), "Path must be in form: /...");
    path = "/tmp";
    EXPECT_TRUE(NormalizeListPath(reporter_, path));
    EXPECT_EQ(path, "/tmp/");
    FileEntry entry;
    EXPECT_FALSE(StatEntry(root_.string() + "/gone", entry));
    Touch("run.sh", 5);
    fs::permissions(root_ / "run.sh", fs::perms::owner_all);
    ASSERT_TRUE(StatEntry(root_.string() + "/run.sh", entry));
    EXPECT_EQ(entry.size, 5u);
    EXPECT_NE(entry.attrs & kAttrExec, 0);
}

TEST(ProjectFileFormat, ReadsItsLinesAndIgnoresGarbage) {
    std::string text = "FileProf=COBOL\nFile=/a/one.cbl\r\nFile=/a/two.cbl\ngarbage\x01\xff line\nFile=\n" +
                       std::string("File=/a/") + std::string(300, 'x') +
                       "\nFile=/a/three.cbl\nFile=/a/one.cbl";
    text += std::string(1, '\0') + "File=/nul\n";
    ProjectFile project = ParseProjectText(text);
    EXPECT_EQ(project.profile, "COBOL");
    EXPECT_EQ(project.members, (std::vector<std::string>{"/a/one.cbl", "/a/two.cbl", "/a/three.cbl"}));
    EXPECT_EQ(ProjectText(project), "FileProf=COBOL\nFile=/a/one.cbl\nFile=/a/two.cbl\nFile=/a/three.cbl\n");
    EXPECT_EQ(ProjectText(ParseProjectText(ProjectText(project))), ProjectText(project));
    EXPECT_EQ(ProjectText(ProjectFile{"", {"/x"}}), "File=/x\n");
    EXPECT_TRUE(ValidProjectName("Proj42"));
    EXPECT_FALSE(ValidProjectName("my project"));
    EXPECT_FALSE(ValidProjectName(""));
    EXPECT_FALSE(ValidProjectName("../etc"));
}

TEST(FileListPlaces, RootHomeThenRealMountsOnce) {
    std::string mounts =
        "overlay / overlay rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "tmpfs /dev tmpfs rw 0 0\n"
        "/dev/sda1 /mnt/my\\040disk ext4 rw 0 0\n"
        "/dev/sdb1 /data xfs rw 0 0\n"
        "/dev/sdb1 /data xfs rw 0 0\n"
        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
        "short line\n";
    EXPECT_EQ(DrivePlaces(mounts, "/home/me"),
              (std::vector<std::string>{"/", "/home/me", "/data", "/mnt/my disk"}));
    std::string description;
    std::string patterns;
    SplitFilter("COBOL All *.cbl;*.cpy", description, patterns);
    EXPECT_EQ(description, "COBOL All");
    EXPECT_EQ(patterns, "*.cbl;*.cpy");
}

TEST(FileListTexts, NotFoundAndCaseRenames) {
    EXPECT_EQ(NotFoundMessage({"abc"}), "String 'abc' not found in any files in this list.");
    EXPECT_EQ(NotFoundMessage({"a", "\"b c\""}), "Strings 'a', \"b c\" not found in any files in this list.");
    EXPECT_EQ(RenamedCase("My File.TXT", CaseRename::Lower), "my file.txt");
    EXPECT_EQ(RenamedCase("my file.txt", CaseRename::Upper), "MY FILE.TXT");
    EXPECT_EQ(RenamedCase("mY FILE.Txt", CaseRename::Initial), "My file.txt");
    EXPECT_EQ(RenamedCase("\xc3\xa9t\xc3\xa9", CaseRename::Upper), "\xc3\xa9T\xc3\xa9");
}

}  // namespace

}  // namespace tavoe
