#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "file_ops_test_support.h"
#include "filelist/file_ops.h"

namespace {

TEST(ShowEntryProperties, FillsTheDialogAndAppliesReadOnly) {
    OpsFixture f;
    std::string path = f.File("a/.f.txt", std::string(1234567, 'p'));
    struct timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    VarSetValue(f.app, "ZFLIST.FORMAT.DATE", "ISO");
    // Space checks "Read only" (the focused control); Enter commits.
    f.Keys(" <Enter>");
    ASSERT_EQ(ShowEntryProperties(f.app, &f.list, path), 0);
    EXPECT_EQ(VarGetValue(f.app, "Property.Type"), "File");
    EXPECT_EQ(VarGetValue(f.app, "Property.Size"), "1,234,567");
    EXPECT_EQ(VarGetValue(f.app, "Property.DateModified"), "2023-11-14  22.13.20");
    EXPECT_EQ(VarGetValue(f.app, "Property.Hidden"), "TRUE");
    EXPECT_EQ(VarGetValue(f.app, "Property.Archive"), "FALSE");
    EXPECT_EQ(VarGetValue(f.app, "ZFILEPROPSPEC"), path);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0222, 0u);
    EXPECT_EQ(f.list.actions[path].first, EntryAction::Info);
    EXPECT_TRUE(f.list.reload);

    // Shown again: read-only now, and unchecking it gives the owner write permission back. The date
    // forms follow the setting; the accessed date is the date alone.
    VarSetValue(f.app, "ZFLIST.FORMAT.DATE", "USA");
    f.Keys(" <Enter>");
    ASSERT_EQ(ShowEntryProperties(f.app, nullptr, path), 0);
    EXPECT_EQ(VarGetValue(f.app, "Property.DateModified"), "11/14/2023  10:13PM");
    EXPECT_EQ(VarGetValue(f.app, "Property.DateAccessed").find(' '), std::string::npos);
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);

    std::string directory = f.Dir("a/d");
    f.Keys("<Esc>");
    EXPECT_EQ(ShowEntryProperties(f.app, nullptr, directory), 0);
    EXPECT_EQ(VarGetValue(f.app, "Property.Type"), "Directory");
    EXPECT_EQ(VarGetValue(f.app, "Property.Size"), "0");

    EXPECT_EQ(ShowEntryProperties(f.app, nullptr, f.Path("a/gone")), -1);
    EXPECT_EQ(f.LastMessage(), f.Path("a/gone") + " does not exist.");
    ASSERT_EQ(::symlink("nowhere", f.Path("a/dangling").c_str()), 0);
    EXPECT_EQ(ShowEntryProperties(f.app, nullptr, f.Path("a/dangling")), -1);
    EXPECT_EQ(f.LastMessage(), "Unable to get status for '" + f.Path("a/dangling") + "'.");
}

TEST(RunEntryOperation, LettersReachTheirOperations) {
    OpsFixture f;
    std::string path = f.File("a/f.txt", "f\n");
    EXPECT_EQ(RunEntryOperation(f.app, &f.list, path, 'x'), -1);
    EXPECT_TRUE(f.app.messages.empty());
    f.YesToAll("g.txt");
    EXPECT_EQ(RunEntryOperation(f.app, &f.list, path, 'c'), 0);
    EXPECT_TRUE(Exists(f.Path("a/g.txt")));
    EXPECT_EQ(RunEntryOperation(f.app, &f.list, f.Path("a/g.txt"), 'D'), 0);
    EXPECT_FALSE(Exists(f.Path("a/g.txt")));
    ASSERT_EQ(RunEntryOperation(f.app, &f.list, path, 'B'), 0) << f.LastMessage();
    ASSERT_EQ(f.app.editSessions.size(), 1u);
    EXPECT_EQ(RunEntryOperation(f.app, &f.list, f.Path("a/none"), 'P'), -1);
    EXPECT_EQ(f.LastMessage(), f.Path("a/none") + " does not exist.");
}

TEST(UserCommandOnEntry, SetsTheFileNameVariablesShowsTheListAndMarksTheEntry) {
    OpsFixture f;
    std::string path = f.File("a/prog.cbl", "x\n");
    f.Keys("<Esc>");
    EXPECT_EQ(UserCommandOnEntry(f.app, &f.list, path), 0);
    EXPECT_EQ(VarGetValue(f.app, "ZDSNNAME"), "prog.cbl");
    EXPECT_EQ(f.list.actions[path].first, EntryAction::UserCmd);
    EXPECT_TRUE(f.backend.pending.empty());  // the list dialog took the Escape
}

TEST(NewFileDialog, OpensANewNameAndRefusesAnExistingOne) {
    OpsFixture f;
    std::string existing = f.File("d/old.txt", "old\n");
    VarSetValue(f.app, "ZDSNPATH", f.Path("d"));
    VarSetValue(f.app, "ZNEWEDITS", "StackInCurrentSession");
    f.Keys("old.txt<Enter>");
    EXPECT_EQ(NewFileDialog(f.app), -1);
    EXPECT_EQ(f.LastMessage(), existing + " already exists, use OPEN.");
    EXPECT_TRUE(f.app.editSessions.empty());

    f.Keys("new.txt<Enter>");
    ASSERT_EQ(NewFileDialog(f.app), 0);
    ASSERT_EQ(f.app.editSessions.size(), 1u);
    f.Keys("<Esc>");
    EXPECT_EQ(NewFileDialog(f.app), -1);  // cancelled
    EXPECT_EQ(f.app.editSessions.size(), 1u);
}

}  // namespace
