#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "file_ops_test_support.h"
#include "filelist/file_ops.h"

namespace {

ino_t Inode(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// A scratch directory on another file system than the test's tree, when the machine has one.
std::string OtherFileSystem(const std::string& near) {
    struct stat here {};
    struct stat there {};
    std::string candidate = "/dev/shm";
    if (::stat(near.c_str(), &here) != 0 || ::stat(candidate.c_str(), &there) != 0 ||
        here.st_dev == there.st_dev) {
        return {};
    }
    std::string dir = candidate + "/fops_" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    return dir;
}

TEST(MoveEntry, WithinOneFileSystemTheEntryIsRenamed) {
    OpsFixture f;
    std::string source = f.File("a/f.txt", "move me");
    ino_t inode = Inode(source);
    f.YesToAll("g.txt");
    ASSERT_EQ(MoveEntry(f.app, &f.list, source), 0);
    EXPECT_EQ(VarGetValue(f.app, "ZCOPY.TITLE"), "Move File or Directory");
    EXPECT_FALSE(Exists(source));
    EXPECT_EQ(Inode(f.Path("a/g.txt")), inode);
    EXPECT_EQ(f.list.removed, std::vector<std::string>{source});
    EXPECT_TRUE(f.list.reload);

    // A tree into a directory that does not exist yet; a symbolic link moves as the link.
    f.File("a/tree/x", "x");
    ASSERT_EQ(::symlink("../g.txt", f.Path("a/tree/ln").c_str()), 0);
    f.YesToAll(f.Path("b"));
    ASSERT_EQ(MoveEntry(f.app, nullptr, f.Path("a/tree")), 0);
    EXPECT_FALSE(Exists(f.Path("a/tree")));
    EXPECT_EQ(Names(f.Path("b")), (std::set<std::string>{"ln", "x"}));
    EXPECT_TRUE(IsLink(f.Path("b/ln")));
}

// Onto itself, or onto another name of the same file, a rename would do nothing and report success:
// the entry would vanish from the list while the file stays.
TEST(MoveEntry, OntoItselfOrAHardLinkIsRefused) {
    OpsFixture f;
    std::string source = f.File("a/f.txt", "same");
    ASSERT_EQ(::link(source.c_str(), f.Path("a/hard").c_str()), 0);
    for (const char* to : {"f.txt", "hard"}) {
        f.YesToAll(to, true);
        EXPECT_EQ(MoveEntry(f.app, &f.list, source), -1) << to;
        EXPECT_EQ(f.LastMessage(), "Not allowed to copy " + source + " onto itself.");
    }
    EXPECT_TRUE(f.list.removed.empty());
    EXPECT_EQ(ReadWholeFile(source), "same");
    EXPECT_EQ(ReadWholeFile(f.Path("a/hard")), "same");
}

TEST(MoveEntry, AcrossFileSystemsCopiesThenDeletesWithoutFollowingLinks) {
    OpsFixture f;
    std::string other = OtherFileSystem(f.dir.Path().string());
    if (other.empty()) {
        GTEST_SKIP() << "no second file system";
    }
    std::string outside = f.File("outside/keep", "keep");
    f.File("tree/sub/f", "f");
    ASSERT_EQ(::symlink(f.Path("outside").c_str(), f.Path("tree/sub/out").c_str()), 0);
    f.YesToAll(other + "/moved");
    int result = MoveEntry(f.app, &f.list, f.Path("tree"));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(Exists(f.Path("tree")));
    EXPECT_EQ(ReadWholeFile(other + "/moved/sub/f"), "f");
    EXPECT_TRUE(IsLink(other + "/moved/sub/out"));
    EXPECT_EQ(ReadWholeFile(outside), "keep");

    // A copy that fails half way deletes nothing.
    std::string file = f.File("big", std::string(100000, 'z'));
    ScopedFileWriteHook full(FullDisk(0));
    f.YesToAll(other);
    EXPECT_EQ(MoveEntry(f.app, nullptr, file), -1);
    EXPECT_EQ(ReadWholeFile(file).size(), 100000u);
    EXPECT_FALSE(Exists(other + "/big"));
    std::filesystem::remove_all(other);
}

TEST(DeleteEntry, FilesGoAtOnceDirectoriesAfterYes) {
    OpsFixture f;
    std::string file = f.File("a/f", "f");
    ASSERT_EQ(DeleteEntry(f.app, &f.list, file), 0);
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(f.list.removed, std::vector<std::string>{file});

    std::string tree = f.Dir("a/tree");
    f.File("a/tree/sub/x", "x");
    f.backend.replies.push_back(ui::MsgBoxReply::No);
    EXPECT_EQ(DeleteEntry(f.app, &f.list, tree), 0);
    EXPECT_TRUE(Exists(f.Path("a/tree/sub/x")));
    EXPECT_EQ(f.backend.boxes.back(), "OK to delete DIRECTORY and ALL its files\n\n" + tree);
    f.backend.replies.push_back(ui::MsgBoxReply::Yes);
    EXPECT_EQ(DeleteEntry(f.app, &f.list, tree), 0);
    EXPECT_FALSE(Exists(tree));
    EXPECT_EQ(f.list.removed.back(), tree);

    EXPECT_EQ(DeleteEntry(f.app, &f.list, f.Path("a/gone")), -1);
    EXPECT_EQ(f.LastMessage(), f.Path("a/gone") + " does not exist.");
    EXPECT_EQ(DeleteEntry(f.app, nullptr, "bare"), -1);
}

// Nothing outside the chosen entry is ever deleted: links inside the tree, and a link chosen as the
// entry, go as links.
TEST(DeleteDirectoryTree, LinksAreRemovedAsLinksAndDotNamesKeepTheirDirectory) {
    OpsFixture f;
    std::string outside = f.File("outside/keep", "keep");
    f.File("tree/sub/f", "f");
    ASSERT_EQ(::symlink(f.Path("outside").c_str(), f.Path("tree/sub/dirlink").c_str()), 0);
    ASSERT_EQ(::symlink(outside.c_str(), f.Path("tree/filelink").c_str()), 0);
    ASSERT_EQ(DeleteDirectoryTree(f.app, f.Path("tree")), 0);
    EXPECT_FALSE(Exists(f.Path("tree")));
    EXPECT_EQ(ReadWholeFile(outside), "keep");

    ASSERT_EQ(::symlink(f.Path("outside").c_str(), f.Path("entrylink").c_str()), 0);
    ASSERT_EQ(DeleteEntry(f.app, nullptr, f.Path("entrylink")), 0);  // no question: it is no directory
    EXPECT_FALSE(Exists(f.Path("entrylink")));
    EXPECT_EQ(ReadWholeFile(outside), "keep");
    EXPECT_EQ(DeleteDirectoryTree(f.app, f.Path("outside-link-free")), -1);

    f.File("dotted/.profile", "p");
    f.File("dotted/plain", "p");
    EXPECT_EQ(DeleteDirectoryTree(f.app, f.Path("dotted")), -1);
    EXPECT_EQ(f.LastMessage(), f.Path("dotted") + ", DELETE error.");
    EXPECT_EQ(Names(f.Path("dotted")), (std::set<std::string>{".profile"}));
}

TEST(RenameEntry, NewNamesStayInTheDirectoryAndNeverReplaceAFile) {
    OpsFixture f;
    std::string file = f.File("a/f.txt", "f");
    std::string other = f.File("a/taken", "taken");
    auto rename = [&f](const std::string& path, const std::string& name) {
        // The dialog is preset to the old name; Home, Shift+End and the new text replace it.
        f.Keys("<Home><S-End>" + name + "<Enter>");
        return RenameEntry(f.app, &f.list, path);
    };
    ASSERT_EQ(rename(file, "x.txt"), 0);
    EXPECT_EQ(ReadWholeFile(f.Path("a/x.txt")), "f");
    EXPECT_FALSE(Exists(file));
    EXPECT_TRUE(f.list.reload);

    EXPECT_EQ(rename(f.Path("a/x.txt"), "*.bak"), -1);
    EXPECT_TRUE(f.Shown("RENAME: not allowed to specify wildcard characters in new name."));
    EXPECT_EQ(rename(f.Path("a/x.txt"), "taken"), -1);
    EXPECT_EQ(f.LastMessage(), f.Path("a/x.txt") + ", RENAME error.");
    EXPECT_EQ(ReadWholeFile(other), "taken");

    f.list.locked = true;
    ASSERT_EQ(rename(f.Path("a/x.txt"), "-y z\n"), 0);
    EXPECT_EQ(ReadWholeFile(f.Path("a/-y z\n")), "f");
    EXPECT_EQ(f.list.removed, std::vector<std::string>{f.Path("a/x.txt")});
}

}  // namespace
