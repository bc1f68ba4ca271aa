#include <gtest/gtest.h>

#include <filesystem>

#include "core/context_stack.h"
#include "file_ops_test_support.h"
#include "filelist/file_ops.h"

namespace {

TEST(CopyEntry, ABareNameCopiesBesideTheSourceKeepingModeAndMarksTheList) {
    OpsFixture f;
    std::string source = f.File("a/f.txt", "hello\n");
    ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
    f.YesToAll("g.txt");
    ASSERT_EQ(CopyEntry(f.app, &f.list, source), 0);
    EXPECT_EQ(ReadWholeFile(f.Path("a/g.txt")), "hello\n");
    EXPECT_EQ(ReadWholeFile(source), "hello\n");
    struct stat info {};
    ASSERT_EQ(::stat(f.Path("a/g.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(f.list.actions[source].first, EntryAction::Copied);
    EXPECT_TRUE(f.list.reload);  // a new file in the listed directory
    EXPECT_TRUE(f.list.redraw);
    EXPECT_EQ(VarGetValue(f.app, "ZCOPY.TITLE"), "Copy File or Directory");
    EXPECT_EQ(Names(f.Path("a")), (std::set<std::string>{"f.txt", "g.txt"}));
}

TEST(CopyEntry, TargetsOutsideTheDirectoryAndIntoDirectories) {
    OpsFixture f;
    std::string source = f.File("a/b/f.txt", "one");
    f.Dir("a/into");
    // ".." climbs from the source's directory; an existing directory takes the file under its name.
    f.YesToAll("../into");
    ASSERT_EQ(CopyEntry(f.app, &f.list, source), 0);
    EXPECT_EQ(ReadWholeFile(f.Path("a/into/f.txt")), "one");
    EXPECT_FALSE(f.list.reload);  // the copy went elsewhere

    // A full path, and an existing file there needs OVERWRITE.
    f.YesToAll(f.Path("a/into"));
    f.File("a/b/f.txt", "two");
    EXPECT_EQ(CopyEntry(f.app, nullptr, source), -1);
    EXPECT_TRUE(f.Shown("Check OVERWRITE to overwrite existing file: " + f.Path("a/into/f.txt")));
    EXPECT_EQ(ReadWholeFile(f.Path("a/into/f.txt")), "one");
    f.YesToAll(f.Path("a/into"), true);
    ASSERT_EQ(CopyEntry(f.app, nullptr, source), 0);
    EXPECT_EQ(ReadWholeFile(f.Path("a/into/f.txt")), "two");
}

// Through the dialog: a refused target brings the dialog back with the fields kept, and "..." picks
// the target in the file dialog, which starts in the source's directory.
TEST(CopyEntry, TheDialogComesBackAfterARefusalAndItsBrowseButtonPicksTheTarget) {
    OpsFixture f;
    std::string source = f.File("a/f.txt", "via dialog");
    VarSetValue(f.app, "ZCOPY.YESTOALL", "FALSE");
    VarSetValue(f.app, "ZCOPY.TO", "");
    f.Keys("<Enter>");                        // an empty "To": refused, the dialog shows again
    f.Keys("<Tab><Enter>picked.txt<Enter>");  // "...", then the name in the file dialog
    ASSERT_EQ(CopyEntry(f.app, &f.list, source), 0);
    EXPECT_TRUE(f.Shown("COPY/MOVE: 'To' field must be specified."));
    EXPECT_EQ(ReadWholeFile(f.Path("a/picked.txt")), "via dialog");
    EXPECT_EQ(VarGetValue(f.app, "ZCOPY.TO"), f.Path("a/picked.txt"));
    EXPECT_TRUE(f.backend.pending.empty());
    EXPECT_NE(TopContextKind(f.app), ContextKind::Dialog);
}

TEST(CopyEntry, RefusalsLeaveEverythingAsItWas) {
    OpsFixture f;
    std::string file = f.File("a/f.txt", "data");
    std::string tree = f.Dir("a/tree");
    f.File("a/tree/x", "x");

    f.YesToAll("");
    EXPECT_EQ(CopyEntry(f.app, nullptr, file), -1);
    EXPECT_TRUE(f.Shown("COPY/MOVE: 'To' field must be specified."));
    f.YesToAll("*.txt");
    EXPECT_EQ(CopyEntry(f.app, nullptr, file), -1);
    EXPECT_TRUE(f.Shown("Not allowed to specify wildcard in TO file, specify directory only."));
    f.YesToAll("f.txt", true);
    EXPECT_EQ(CopyEntry(f.app, nullptr, file), -1);
    EXPECT_TRUE(f.Shown("Not allowed to copy " + file + " onto itself."));
    EXPECT_EQ(ReadWholeFile(file), "data");
    f.YesToAll("f.txt");
    EXPECT_EQ(CopyEntry(f.app, nullptr, tree), -1);
    EXPECT_TRUE(f.Shown("Not allowed to copy DIR to file."));
    f.YesToAll(tree + "/sub");
    EXPECT_EQ(CopyEntry(f.app, nullptr, tree), -1);
    EXPECT_TRUE(f.Shown("Not allowed to copy " + tree + " into itself."));
    EXPECT_EQ(Names(tree), (std::set<std::string>{"x"}));
    f.YesToAll("..");
    EXPECT_EQ(CopyEntry(f.app, nullptr, "/tmp"), -1);
    EXPECT_TRUE(f.Shown("At root directory, can not back up."));

    EXPECT_EQ(CopyEntry(f.app, nullptr, f.Path("a/gone.txt")), -1);
    EXPECT_EQ(f.LastMessage(), f.Path("a/gone.txt") + " does not exist.");
    EXPECT_EQ(CopyEntry(f.app, nullptr, "relative.txt"), -1);
    EXPECT_EQ(Names(f.Path("a")), (std::set<std::string>{"f.txt", "tree"}));
}

TEST(CopyEntry, AFullDiskRemovesThePartialCopyAndKeepsTheSourceAndAnOldTarget) {
    OpsFixture f;
    std::string source = f.File("a/big", std::string(600000, 'b'));
    ScopedFileWriteHook full(FullDisk(1000));
    f.YesToAll("new");
    EXPECT_EQ(CopyEntry(f.app, &f.list, source), -1);
    EXPECT_EQ(f.LastMessage(), source + ", COPY/MOVE error.");
    EXPECT_EQ(Names(f.Path("a")), (std::set<std::string>{"big"}));
    EXPECT_TRUE(f.list.actions.empty());

    std::string old = f.File("a/old", "old contents");
    f.YesToAll("old", true);
    EXPECT_EQ(CopyEntry(f.app, nullptr, source), -1);
    EXPECT_EQ(ReadWholeFile(old), "old contents");
    EXPECT_EQ(Names(f.Path("a")), (std::set<std::string>{"big", "old"}));
    EXPECT_EQ(ReadWholeFile(source).size(), 600000u);
}

TEST(CopyDirectoryTree, CopiesSubdirectoriesLeavesDotNamesAndCopiesLinksAsLinks) {
    OpsFixture f;
    std::string outside = f.File("outside/secret", "s");
    std::string source = f.Dir("src");
    f.File("src/top.txt", "t");
    f.File("src/.hidden", "h");
    f.File("src/sub/deep/d.txt", "d");
    ASSERT_EQ(::symlink(f.Path("outside").c_str(), f.Path("src/link").c_str()), 0);
    ASSERT_EQ(::symlink("src", f.Path("src/sub/loop").c_str()), 0);  // would never end if followed
    f.YesToAll(f.Path("dst"));
    ASSERT_EQ(CopyEntry(f.app, &f.list, source), 0);
    EXPECT_EQ(Names(f.Path("dst")), (std::set<std::string>{"link", "sub", "top.txt"}));
    EXPECT_EQ(ReadWholeFile(f.Path("dst/sub/deep/d.txt")), "d");
    EXPECT_TRUE(IsLink(f.Path("dst/link")));
    EXPECT_TRUE(IsLink(f.Path("dst/sub/loop")));
    EXPECT_EQ(Names(f.Path("outside")), (std::set<std::string>{"secret"}));

    // Into an existing tree: the first existing entry (in name order) stops the copy unless OVERWRITE
    // is on.
    f.File("src/top.txt", "new");
    VarSetValue(f.app, "ZCOPY.OVERWRITE", "FALSE");
    EXPECT_EQ(CopyDirectoryTree(f.app, source, f.Path("dst")), -1);
    EXPECT_EQ(f.LastMessage(), "Check OVERWRITE to overwrite existing file: " + f.Path("dst/link"));
    EXPECT_EQ(ReadWholeFile(f.Path("dst/top.txt")), "t");
    VarSetValue(f.app, "ZCOPY.OVERWRITE", "TRUE");
    ASSERT_EQ(CopyDirectoryTree(f.app, source, f.Path("dst")), 0);
    EXPECT_EQ(ReadWholeFile(f.Path("dst/top.txt")), "new");
}

// Names that a shell would split, quote or take for options are ordinary names here.
TEST(CopyEntry, AwkwardNamesAreCopiedAsTheyAre) {
    OpsFixture f;
    for (std::string name :
         {"with blank", "it's \"quoted\"", "line\nbreak", "-leading dash", "bad\xff\xfe utf8"}) {
        std::string source = f.File("a/" + name, name);
        f.YesToAll("copy of " + name);
        ASSERT_EQ(CopyEntry(f.app, nullptr, source), 0) << name;
        EXPECT_EQ(ReadWholeFile(f.Path("a/copy of " + name)), name);
    }
}

}  // namespace
