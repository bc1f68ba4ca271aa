#include <gtest/gtest.h>

#include "buffer/edit_buffer.h"
#include "buffer/file_name_vars.h"
#include "core/app_session.h"
#include "core/storage_host.h"
#include "core/var_store.h"

using namespace tavoe;

TEST(FileNameVariables, FullPathSetsEveryPart) {
    AppSession app;
    SetFileNameVariables(Storage(app), "/home/user/src/payroll.cbl");
    EXPECT_EQ(VarGetValue(app, "ZDSN"), "/home/user/src/payroll.cbl");
    EXPECT_EQ(VarGetValue(app, "ZDSNNAME"), "payroll.cbl");
    EXPECT_EQ(VarGetValue(app, "ZDSNPATH"), "/home/user/src");
    EXPECT_EQ(VarGetValue(app, "ZDSNEXT"), "cbl");
    EXPECT_EQ(VarGetValue(app, "ZDSNBASE"), "payroll");
    EXPECT_EQ(VarGetValue(app, "ZDSNTYPE"), "*.cbl");
}

TEST(FileNameVariables, FileInRootWithoutExtension) {
    AppSession app;
    SetFileNameVariables(Storage(app), "/dir/a.b.c");
    SetFileNameVariables(Storage(app), "/file");
    EXPECT_EQ(VarGetValue(app, "ZDSNPATH"), "/");
    EXPECT_EQ(VarGetValue(app, "ZDSNNAME"), "file");
    EXPECT_EQ(VarGetValue(app, "ZDSNEXT"), "");  // the earlier extension does not linger
    EXPECT_EQ(VarGetValue(app, "ZDSNBASE"), "file");
    EXPECT_EQ(VarGetValue(app, "ZDSNTYPE"), "*");
}

TEST(FileNameVariables, LastDotDecidesExtensionAndColonKeepsSlash) {
    AppSession app;
    SetFileNameVariables(Storage(app), "/dir/archive.tar.gz");
    EXPECT_EQ(VarGetValue(app, "ZDSNEXT"), "gz");
    EXPECT_EQ(VarGetValue(app, "ZDSNBASE"), "archive.tar");
    EXPECT_EQ(VarGetValue(app, "ZDSNTYPE"), "*.gz");
    SetFileNameVariables(Storage(app), "E:/file");
    EXPECT_EQ(VarGetValue(app, "ZDSNPATH"), "E:/");
    SetFileNameVariables(Storage(app), "/dir.d/name");  // a dot in the directory is no extension
    EXPECT_EQ(VarGetValue(app, "ZDSNEXT"), "");
    EXPECT_EQ(VarGetValue(app, "ZDSNBASE"), "name");
}

TEST(FileNameVariables, PathWithoutSlashSetsOnlyDsn) {
    AppSession app;
    SetFileNameVariables(Storage(app), "/dir/first.txt");
    SetFileNameVariables(Storage(app), "plain.txt");
    EXPECT_EQ(VarGetValue(app, "ZDSN"), "plain.txt");
    EXPECT_EQ(VarGetValue(app, "ZDSNNAME"), "first.txt");
    EXPECT_EQ(VarGetValue(app, "ZDSNPATH"), "/dir");
}

TEST(FileNameVariables, BufferKeepsPathDirectoryAndName) {
    AppSession app;
    EditBuffer buffer(app);
    SetBufferFileName(buffer, "/home/user/payroll.cbl");
    EXPECT_EQ(buffer.fileName, "/home/user/payroll.cbl");
    EXPECT_EQ(buffer.directory, "/home/user/");
    EXPECT_EQ(buffer.displayName, "payroll.cbl");
    SetBufferFileName(buffer, "local");
    EXPECT_EQ(buffer.directory, "");
    EXPECT_EQ(buffer.displayName, "local");
}
