#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "file_load_fixture.h"

using namespace tavoe;

namespace {

using Lines = std::vector<std::string>;

// Runs fn in a forked child and answers its exit code (fn's result); 99 when the child died.
template <typename Fn>
int InChild(Fn fn) {
    pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(fn());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

std::string ManyRecords(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "record " + std::to_string(i) + "\n";
    }
    return text;
}

// ---- Refusals ---------------------------------------------------------------------------------------

using OpenFailures = FileLoadTest;

TEST_F(OpenFailures, PathMustBeAbsoluteAndAtMost255Characters) {
    EXPECT_EQ(OpenFile(*buffer, "relative/name.txt", OpenMode::Edit), -1);
    EXPECT_TRUE(Shown("Invalid file name: 'relative/name.txt'"));
    std::string longPath = "/" + std::string(255, 'n');
    EXPECT_EQ(OpenFile(*buffer, longPath, OpenMode::Browse), -1);
    EXPECT_TRUE(Shown("Invalid file name: '" + longPath + "'"));
}

TEST_F(OpenFailures, BrowseOfMissingOrEmptyFileFails) {
    EXPECT_EQ(OpenFile(*buffer, PathOf("missing.txt"), OpenMode::Browse), -1);
    EXPECT_TRUE(Shown("Unable to BROWSE, '" + PathOf("missing.txt") + "' does not exist or has length 0."));
    auto other = std::make_unique<EditBuffer>(app);
    EXPECT_EQ(OpenFile(*other, WriteFile("empty.txt", ""), OpenMode::Browse), -1);
    EXPECT_TRUE(Shown("Unable to BROWSE, '" + PathOf("empty.txt") + "' does not exist or has length 0."));
}

TEST_F(OpenFailures, EditOfMissingFileCreatesItAsNew) {
    std::string path = PathOf("new.txt");
    ASSERT_EQ(OpenFile(*buffer, path, OpenMode::Edit), 0);
    EXPECT_TRUE(buffer->isNewFile);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(DataLines().empty());
    EXPECT_EQ(EndMarkerText(), "*** Bottom of File ***");
    EXPECT_EQ(buffer->file.sensedTerminator, EorType::Lf);  // this system's line end
    EXPECT_FALSE(buffer->file.handle.IsOpen());
    EXPECT_EQ(buffer->displayName, "new.txt");
    EXPECT_EQ(buffer->directory, root.string() + "/");

    auto empty = std::make_unique<EditBuffer>(app);
    empty->profile.endOfRecordSequence = EorType::Lf;
    ASSERT_EQ(OpenFile(*empty, WriteFile("empty.txt", ""), OpenMode::Edit), 0);
    EXPECT_FALSE(empty->isNewFile);
    EXPECT_EQ(empty->file.sensedTerminator, EorType::Lf);

    auto crlf = std::make_unique<EditBuffer>(app);
    crlf->profile.endOfRecordSequence = EorType::CrLf;
    ASSERT_EQ(OpenFile(*crlf, PathOf("dos.txt"), OpenMode::Edit), 0);
    EXPECT_EQ(crlf->file.sensedTerminator, EorType::CrLf);  // a profile that asks for CR LF gets it

    auto noDir = std::make_unique<EditBuffer>(app);
    std::string inMissingDir = PathOf("nodir/x.txt");
    EXPECT_EQ(OpenFile(*noDir, inMissingDir, OpenMode::Edit), -1);
    EXPECT_TRUE(Shown("Unable to open new file '" + inMissingDir + "'."));
}

TEST_F(OpenFailures, DirectoryIsRefusedInBothModes) {
    std::filesystem::create_directories(root / "dir");
    EXPECT_EQ(OpenFile(*buffer, PathOf("dir"), OpenMode::Edit), -1);
    EXPECT_TRUE(Shown("'" + PathOf("dir") + "' exists but unable to open."));
    auto other = std::make_unique<EditBuffer>(app);
    EXPECT_EQ(OpenFile(*other, PathOf("dir"), OpenMode::Browse), -1);
    EXPECT_TRUE(Shown("'" + PathOf("dir") + "' exists but unable to open for BROWSE."));
}

TEST_F(OpenFailures, FifoIsRefusedWithoutWaitingForAWriter) {
    std::string path = PathOf("pipe");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(OpenFile(*buffer, path, OpenMode::Browse), -1);
    EXPECT_TRUE(Shown("'" + path + "' exists but unable to open for BROWSE."));
}

TEST_F(OpenFailures, UnreadableFileIsAccessDenied) {
    std::string path = WriteFile("secret.txt", "x\n");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    // The superuser reads everything, so the check runs as an ordinary user in a child.
    int result = InChild([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return 2;
        }
        AppSession childApp;
        EditBuffer childBuffer(childApp);
        if (OpenFile(childBuffer, path, OpenMode::Edit) != -1) {
            return 3;
        }
        return childApp.messages.size() == 1 && childApp.messages[0].text == "'" + path + "' access denied."
                   ? 0
                   : 4;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(OpenFailures, ReadErrorAbortsTheLoad) {
    buffer->file.hooks.read = [](const FileHandle&, char*, std::size_t, std::size_t* got) {
        *got = 0;
        return IoResult{EIO};
    };
    EXPECT_EQ(Load("a\nb\n"), -1);
    EXPECT_TRUE(Shown("READ I/O error on file " + PathOf("f.txt") + "."));
    EXPECT_FALSE(buffer->file.handle.IsOpen());
}

TEST_F(OpenFailures, ReadErrorDuringVirtualLoadLeavesReadOnlyPartialFile) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    int reads = 0;
    buffer->file.hooks.read = [&reads](const FileHandle& handle, char* data, std::size_t count,
                                       std::size_t* got) {
        return ++reads > 1 ? IoResult{EIO} : ReadFull(handle, data, count, got);
    };
    ASSERT_EQ(Load(ManyRecords(5000)), 0);
    EXPECT_EQ(FinishLoad(*buffer), -1);
    EXPECT_TRUE(buffer->file.IsReadOnly());
    EXPECT_EQ(buffer->file.browseReason, BrowseReason::LoadFailed);
    EXPECT_EQ(EndMarkerText(), "*** File Load Aborted ***");
    EXPECT_FALSE(DataLines().empty());
}

TEST_F(OpenFailures, FileRemovedAfterOpenStillLoadsCompletely) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    std::string text = ManyRecords(20000);
    ASSERT_EQ(Load(text), 0);
    ASSERT_FALSE(buffer->file.loadComplete);
    std::filesystem::remove(PathOf("f.txt"));
    ASSERT_EQ(FinishLoad(*buffer), 0);
    EXPECT_EQ(DataLines().size(), 20000u);
    EXPECT_EQ(DataLines().back(), "record 19999");
}

TEST_F(OpenFailures, FileTruncatedDuringVirtualLoadStopsAndIsNotSavedUnderItsName) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    ASSERT_EQ(Load(ManyRecords(20000)), 0);
    std::filesystem::resize_file(PathOf("f.txt"), 0);
    ASSERT_EQ(FinishLoad(*buffer), 0);
    // What was read is kept but shown as incomplete, and may not replace the file.
    EXPECT_EQ(EndMarkerText(), "*** File Load Aborted ***");
    EXPECT_LT(DataLines().size(), 20000u);
    EXPECT_TRUE(buffer->file.changedWhileLoading);
    EXPECT_FALSE(buffer->file.IsReadOnly());
}

// ---- Read-only and locks ------------------------------------------------------------------------------

using OpenAccessModes = FileLoadTest;

TEST_F(OpenAccessModes, ReadOnlyFileOpensInBrowseWithSummary) {
    std::string path = WriteFile("ro.txt", "x\n");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(OpenFile(*buffer, path, OpenMode::Edit), 0);
    EXPECT_EQ(buffer->file.browseReason, BrowseReason::NoWriteAccess);
    EXPECT_EQ(buffer->forcedBrowseCount, 1);
    EXPECT_TRUE(Shown("'ro.txt' loaded into BROWSE"));
    EXPECT_EQ(DataLines(), (Lines{"x"}));
}

TEST_F(OpenAccessModes, BrowseRequestedIsReadOnlyWithAStampForTheLoad) {
    ASSERT_EQ(Load("x\n", OpenMode::Browse), 0);
    EXPECT_EQ(buffer->file.browseReason, BrowseReason::Requested);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_TRUE(buffer->file.loadStamp.valid);  // batches read later are checked against it
}

TEST_F(OpenAccessModes, EditKeepsStampAndClosesWithoutWriteLock) {
    ASSERT_EQ(Load("x\n"), 0);
    EXPECT_FALSE(buffer->file.IsReadOnly());
    EXPECT_TRUE(buffer->file.loadStamp.valid);
    EXPECT_EQ(buffer->file.loadStamp.size, 2);
    EXPECT_FALSE(buffer->file.handle.IsOpen());
    EXPECT_FALSE(IsWriteLockedElsewhere(PathOf("f.txt")));
}

TEST_F(OpenAccessModes, WriteLockSendsSecondEditToBrowseInThisProcessAndOthers) {
    VarSetValue(app, "ZEDITWRITELOCK", "TRUE");
    ASSERT_EQ(Load("x\n"), 0);
    EXPECT_TRUE(buffer->file.writeLocked);
    EXPECT_TRUE(buffer->file.handle.IsOpen());
    std::string path = PathOf("f.txt");

    auto second = std::make_unique<EditBuffer>(app);
    ASSERT_EQ(OpenFile(*second, path, OpenMode::Edit), 0);
    EXPECT_EQ(second->file.browseReason, BrowseReason::OpenFallback);
    EXPECT_TRUE(Shown("'f.txt' loaded into BROWSE"));
    EXPECT_EQ(DataLinesOf(*second), (Lines{"x"}));
    EXPECT_TRUE(buffer->file.writeLocked);  // the second open's close did not drop the lock

    int child = InChild([&] {
        AppSession childApp;
        EditBuffer childBuffer(childApp);
        if (OpenFile(childBuffer, path, OpenMode::Edit) != 0) {
            return 2;
        }
        return childBuffer.file.browseReason == BrowseReason::OpenFallback ? 0 : 3;
    });
    EXPECT_EQ(child, 0);

    CloseFile(*buffer);
    auto third = std::make_unique<EditBuffer>(app);
    ASSERT_EQ(OpenFile(*third, path, OpenMode::Edit), 0);
    EXPECT_FALSE(third->file.IsReadOnly());
}

// ---- Virtual load, Escape and CAPS ------------------------------------------------------------------

using LoadProgress = FileLoadTest;

TEST_F(LoadProgress, VirtualLoadReadsFirstBatchThenTheRestOnDemand) {
    VarSetValue(app, "ZEDITVIRTUALLOAD", "TRUE");
    ASSERT_EQ(Load(ManyRecords(10000)), 0);
    EXPECT_FALSE(buffer->file.loadComplete);
    EXPECT_TRUE(buffer->file.handle.IsOpen());
    EXPECT_EQ(EndMarkerLine(*buffer), nullptr);
    std::size_t first = DataLines().size();
    EXPECT_GE(first, 120u);
    EXPECT_LT(first, 2000u);
    EXPECT_EQ(LoadBatch(*buffer), 1);
    EXPECT_GT(DataLines().size(), first);
    EXPECT_EQ(FinishLoad(*buffer), 0);
    EXPECT_EQ(DataLines().size(), 10000u);
    EXPECT_EQ(EndMarkerText(), "*** Bottom of File ***");
    EXPECT_FALSE(buffer->file.handle.IsOpen());
    EXPECT_EQ(LoadBatch(*buffer), 0);
}

TEST_F(LoadProgress, EscapeStopsTheLoadAndLeavesAReadOnlyPartialFile) {
    int calls = 0;
    std::string status;
    host->escape = [&] {
        status = app.statusText;
        return ++calls == 3;
    };
    ASSERT_EQ(Load(ManyRecords(10000)), 0);
    EXPECT_EQ(status, "Loading file, press ESC to abort");
    EXPECT_TRUE(app.statusText.empty());
    EXPECT_EQ(buffer->file.browseReason, BrowseReason::LoadAborted);
    EXPECT_EQ(EndMarkerText(), "*** File Load Aborted ***");
    std::size_t lines = DataLines().size();
    EXPECT_GT(lines, 0u);
    EXPECT_LT(lines, 10000u);
    EXPECT_TRUE(Shown(PathOf("f.txt") + "\n\nFile load aborted at line " + std::to_string(lines) +
                      ".\n\nFile can not be modified."));
    EXPECT_FALSE(buffer->file.handle.IsOpen());
    EXPECT_EQ(FinishLoad(*buffer), -1);
}

TEST_F(LoadProgress, EscapeIsPolledWhileALongDroppedRecordIsRead) {
    buffer->profile.truncateLongLines = true;
    buffer->profile.endOfRecordSequence = EorType::Lf;
    int calls = 0;
    host->escape = [&] {
        ++calls;
        return false;
    };
    ASSERT_EQ(Load("a\n" + std::string(3 << 20, 'x') + "\nb\n", OpenMode::Edit, LoadQuiet::NoSummary), 0);
    EXPECT_EQ(DataLines(), (Lines{"a", std::string(255, 'x'), "b"}));
    EXPECT_GT(calls, 10);
}

TEST_F(LoadProgress, CapsAutoTurnsOnForUppercaseFilesOnly) {
    buffer->profile.caps = CapsMode::Auto;
    ASSERT_EQ(Load("HELLO 123\nWORLD\n"), 0);
    EXPECT_TRUE(buffer->file.capsOn);
    EXPECT_TRUE(Shown("All alphabetic characters are uppercase, CAPS set ON for this file."));

    for (const char* text : {"1234\n", "HELLO\nworld\n"}) {
        auto other = std::make_unique<EditBuffer>(app);
        other->profile.caps = CapsMode::Auto;
        ASSERT_EQ(OpenFile(*other, WriteFile("c.txt", text), OpenMode::Edit), 0);
        EXPECT_FALSE(other->file.capsOn) << text;
    }
    auto quiet = std::make_unique<EditBuffer>(app);
    quiet->profile.caps = CapsMode::Auto;
    ASSERT_EQ(OpenFile(*quiet, WriteFile("q.txt", "UPPER\n"), OpenMode::Edit, LoadQuiet::NoCapsScan), 0);
    EXPECT_FALSE(quiet->file.capsOn);
}

TEST_F(LoadProgress, SummaryIsSuppressedForBackgroundOpens) {
    buffer->profile.maxRecordLength = 8;
    ASSERT_EQ(Load("0123456789\n", OpenMode::Edit, LoadQuiet::NoSummary), 0);
    EXPECT_EQ(buffer->foldedCount, 1);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(LoadProgress, RecordLengthOverrideAndViewOffset) {
    VarSetValue(app, "ZMAXRECLEN", "12");
    buffer->profile.offset = 6;
    ASSERT_EQ(Load(std::string(20, 'z') + "\n", OpenMode::Edit, LoadQuiet::NoSummary), 0);
    EXPECT_EQ(buffer->profile.maxRecordLength, 12);
    EXPECT_EQ(DataLines(), (Lines{std::string(12, 'z'), std::string(8, 'z')}));
    EXPECT_EQ(buffer->file.viewOffset, 6);
}

}  // namespace
