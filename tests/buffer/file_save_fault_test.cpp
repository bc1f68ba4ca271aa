#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "file_save_test_util.h"
#include "platform/file_write.h"

using namespace tavoe;

namespace {

// A save that fails anywhere leaves the old file byte for byte, no stray files, and the session
// modified; once the fault is gone the same session saves normally.
class SaveFault : public SaveFixture {
protected:
    void SetUp() override {
        SaveFixture::SetUp();
        path = Path("big.txt");
        // Several times the save's write buffer, so a save makes several writes.
        for (int i = 0; i < 16000; ++i) {
            original += std::string(240, static_cast<char>('a' + i % 26)) + std::to_string(100000 + i) + "\n";
        }
        WriteBytes(path, original);
        buffer = Open(path, Variable());
        (void)LineSetText(*buffer, *FirstDataLine(*buffer), "changed");
        buffer->modified = true;
        entries = EntryCount();
    }

    // Fails the `nth` operation of kind `op` (1 = the first) in the way given.
    static FileWriteHook FailNth(FileWriteOp op, int nth, FileWriteFault fault) {
        auto seen = std::make_shared<int>(0);
        return [=](FileWriteOp asked, std::size_t) {
            if (asked == op && ++*seen == nth) {
                return fault;
            }
            return FileWriteFault{};
        };
    }

    void ExpectUntouched(const std::string& message) {
        EXPECT_EQ(LastMessage(), message);
        EXPECT_TRUE(ReadBytes(path) == original) << "the file changed";
        EXPECT_EQ(EntryCount(), entries);
        EXPECT_TRUE(buffer->modified);
    }

    void ExpectRecovers() {
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        EXPECT_EQ(ReadBytes(path).substr(0, 8), "changed\n");
        EXPECT_FALSE(buffer->modified);
    }

    std::string WriteError() const { return "File " + path + ", write error."; }
    // A save whose n-th operation of the kind meets the fault.
    int SaveFailing(FileWriteOp op, int n, FileWriteFault fault) {
        ScopedFileWriteHook hook(FailNth(op, n, fault));
        return SaveFile(*buffer, SaveClosing::No);
    }

    std::string path;
    std::string original;
    std::unique_ptr<EditBuffer> buffer;
    std::size_t entries = 0;
};

TEST_F(SaveFault, NthWriteFails) {
    EXPECT_EQ(SaveFailing(FileWriteOp::Write, 3, {FileWriteFault::Kind::Fail, EIO, 0}), -1);
    ExpectUntouched(WriteError());
    ExpectRecovers();
}

TEST_F(SaveFault, ShortWriteIsAFailure) {
    EXPECT_EQ(SaveFailing(FileWriteOp::Write, 2, {FileWriteFault::Kind::Short, ENOSPC, 100}), -1);
    ExpectUntouched(WriteError());
    ExpectRecovers();
}

TEST_F(SaveFault, LastFlushFails) {
    int writes = 0;
    {
        ScopedFileWriteHook count([&](FileWriteOp op, std::size_t) {
            writes += op == FileWriteOp::Write ? 1 : 0;
            return FileWriteFault{};
        });
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0);
    }
    original = ReadBytes(path);
    buffer->modified = true;
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "CHANGED");
    EXPECT_EQ(SaveFailing(FileWriteOp::Write, writes, {FileWriteFault::Kind::Fail, ENOSPC, 0}), -1);
    ExpectUntouched(WriteError());
}

TEST_F(SaveFault, SyncFails) {
    EXPECT_EQ(SaveFailing(FileWriteOp::Sync, 1, {FileWriteFault::Kind::Fail, EIO, 0}), -1);
    ExpectUntouched(WriteError());
}

TEST_F(SaveFault, RenameFails) {
    EXPECT_EQ(SaveFailing(FileWriteOp::Rename, 1, {FileWriteFault::Kind::Fail, EIO, 0}), -1);
    ExpectUntouched(WriteError());
    ExpectRecovers();
}

TEST_F(SaveFault, TemporaryFileCannotBeMade) {
    EXPECT_EQ(SaveFailing(FileWriteOp::CreateTemp, 1, {FileWriteFault::Kind::Fail, EACCES, 0}), -1);
    ExpectUntouched("Unable to re-open '" + path + "' for write, use SAVEAS to save.");
}

TEST_F(SaveFault, BackupLinkFailsBeforeAnythingIsReplaced) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    WriteBytes(path + ".bak", "older\n");
    entries = EntryCount();
    EXPECT_EQ(SaveFailing(FileWriteOp::Link, 1, {FileWriteFault::Kind::Fail, EIO, 0}), -1);
    ExpectUntouched("Unable to rename modified file to '" + path + ".bak' for backup, use SAVEAS to save.");
    EXPECT_EQ(ReadBytes(path + ".bak"), "older\n");
    ExpectRecovers();
    EXPECT_TRUE(ReadBytes(path + ".bak") == original);
}

TEST_F(SaveFault, AlternateBackupThenReplaceFails) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    std::string backups = Path("bk/");
    ASSERT_EQ(::mkdir(backups.c_str(), 0755), 0);
    buffer->profile.backupAlternatePath = backups;
    entries = EntryCount();
    {
        // The copy's own rename into the backup directory is the first, the file's is the second.
        ScopedFileWriteHook hook(FailNth(FileWriteOp::Rename, 2, {FileWriteFault::Kind::Fail, EBUSY, 0}));
        EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    }
    ExpectUntouched("Unable to delete modified file '" + path + "' after copy to '" + backups +
                    "big.txt' for backup, use SAVEAS to save.");
    EXPECT_TRUE(ReadBytes(backups + "big.txt") == original);
}

TEST_F(SaveFault, BackupFallsBackToACopyWithoutHardLinks) {
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    {
        // What link() answers on a file system without hard links.
        ScopedFileWriteHook hook(FailNth(FileWriteOp::Link, 1, {FileWriteFault::Kind::Fail, EPERM, 0}));
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    }
    EXPECT_TRUE(ReadBytes(path + ".bak") == original);
    struct stat backup {};
    ASSERT_EQ(::stat((path + ".bak").c_str(), &backup), 0);
    EXPECT_NE(backup.st_ino, before.st_ino);  // a copy, with the original's time
    EXPECT_EQ(backup.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(backup.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(ReadBytes(path).substr(0, 8), "changed\n");
}

// ---- A real file system that fills up -------------------------------------------------------------------

class SaveOnFullDisk : public SaveFixture {
protected:
    void SetUp() override {
        SaveFixture::SetUp();
        mountPoint = Path("small");
        ASSERT_EQ(::mkdir(mountPoint.c_str(), 0755), 0);
        if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "cannot mount a small file system here (errno " << errno << ")";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(mountPoint.c_str(), MNT_DETACH);
        }
        SaveFixture::TearDown();
    }
    std::string mountPoint;
    bool mounted = false;
};

TEST_F(SaveOnFullDisk, OriginalSurvivesAndTheErrorShows) {
    std::string path = mountPoint + "/f.txt";
    std::string original;
    for (int i = 0; i < 400; ++i) {
        original += std::string(79, 'o') + "\n";  // 32000 bytes of the 64k
    }
    WriteBytes(path, original);
    ASSERT_EQ(ReadBytes(path), original);
    auto buffer = Open(path, Variable());
    // Twice the size: the new contents cannot fit beside the old.
    for (LineRecord* line = FirstDataLine(*buffer); line != nullptr; line = NextDataLine(line)) {
        (void)LineSetText(*buffer, *line, std::string(159, 'n'));
    }
    buffer->modified = true;
    EXPECT_EQ(SaveFile(*buffer, SaveClosing::No), -1);
    EXPECT_EQ(app.messages.back().text, "File " + path + ", write error.");
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_TRUE(buffer->modified);
    std::size_t names = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(mountPoint)) {
        ++names;
    }
    EXPECT_EQ(names, 1u);
}

// ---- What the replaced file keeps -----------------------------------------------------------------------

class SaveKeeps : public SaveFixture {
protected:
    std::unique_ptr<EditBuffer> Edited(const std::string& path) {
        auto buffer = Open(path, Variable());
        (void)LineSetText(*buffer, *FirstDataLine(*buffer), "new");
        buffer->modified = true;
        return buffer;
    }
};

TEST_F(SaveKeeps, PermissionBits) {
    for (mode_t mode : {0640, 0755, 0600}) {
        std::string path = Path("p" + std::to_string(mode));
        WriteBytes(path, "old\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        auto buffer = Edited(path);
        ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(ReadBytes(path), "new\n");
    }
}

TEST_F(SaveKeeps, SymbolicLinkAndItsTarget) {
    ASSERT_EQ(::mkdir(Path("real").c_str(), 0755), 0);
    std::string target = Path("real/target.txt");
    WriteBytes(target, "old\n");
    std::string link = Path("link.txt");
    ASSERT_EQ(::symlink("real/target.txt", link.c_str()), 0);
    VarSetValue(app, "ZBACKUP", "ALWAYS");
    auto buffer = Edited(link);
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    char pointsTo[256] = {};
    ASSERT_GT(::readlink(link.c_str(), pointsTo, sizeof pointsTo - 1), 0);
    EXPECT_STREQ(pointsTo, "real/target.txt");
    EXPECT_EQ(ReadBytes(target), "new\n");
    // The backup is named after the file the user edits and holds the old contents.
    EXPECT_EQ(ReadBytes(link + ".bak"), "old\n");
    ASSERT_EQ(::lstat((link + ".bak").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    // The stamp is the target's, so the next save is not taken for another program's change.
    (void)LineSetText(*buffer, *FirstDataLine(*buffer), "newer");
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(target), "newer\n");
}

TEST_F(SaveKeeps, DirectoryInTheWayOfTheTemporaryFile) {
    std::string path = Path("a.txt");
    WriteBytes(path, "old\n");
    ASSERT_EQ(::mkdir(Path(".a.txt.tvsave").c_str(), 0755), 0);
    WriteBytes(Path(".a.txt.tvsave/keep"), "k");
    auto buffer = Edited(path);
    std::size_t entries = EntryCount();
    ASSERT_EQ(SaveFile(*buffer, SaveClosing::No), 0) << LastMessage();
    EXPECT_EQ(ReadBytes(path), "new\n");
    EXPECT_EQ(ReadBytes(Path(".a.txt.tvsave/keep")), "k");
    EXPECT_EQ(EntryCount(), entries);
}

TEST_F(SaveKeeps, TargetThatIsNotARegularFileIsRefused) {
    std::string path = Path("fifo");
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EditBuffer buffer(app);
    buffer.profile = Variable();
    buffer.fileName = path;
    buffer.directory = dir;
    buffer.displayName = "fifo";
    EXPECT_EQ(SaveFile(buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), "Unable to re-open '" + path + "' for write, use SAVEAS to save.");
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(SaveKeeps, LinkLoopIsNotWritten) {
    std::string path = Path("loop");
    ASSERT_EQ(::symlink("loop", path.c_str()), 0);
    EditBuffer buffer(app);
    buffer.profile = Variable();
    buffer.fileName = path;
    buffer.directory = dir;
    buffer.displayName = "loop";
    EXPECT_EQ(SaveFile(buffer, SaveClosing::No), -1);
    EXPECT_EQ(LastMessage(), "'" + path + "' not written to disk.");
}

}  // namespace
