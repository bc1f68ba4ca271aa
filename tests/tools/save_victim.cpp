// A save under attack, for the fault-injection script tests/safety/fault_matrix.sh: opens FILE as an
// edit session, appends "X" to every line, lets one thing go wrong, saves, and prints every message
// the save showed ("message: TEXT"). Exit status 0 when the save reported success, 1 when it refused
// or failed, 2 on bad usage. What goes wrong is the MODE:
//   none        nothing
//   eio         every write to a file fails with an I/O error
//   enospc      the disk fills up: the second write stops part way with "no space left"
//   sigterm     SIGTERM arrives during the second write (the temporary file must not stay)
//   sigkill     SIGKILL arrives during the second write
//   append      another program appends a line after the file was loaded
//   truncate    another program empties the file after it was loaded
//   replace     another program renames a new file over it after it was loaded
//   readonly    the file loses its write permission after it was loaded
//   vanish      the file is deleted after it was loaded
//   inplace-eio the file has a second hard link (so it is written in place) and the second write
//               to it fails

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "buffer/edit_buffer.h"
#include "buffer/file_load.h"
#include "buffer/file_save.h"
#include "core/app_session.h"
#include "core/message.h"
#include "core/storage_host.h"
#include "core/var_store.h"
#include "platform/file_write.h"
#include "platform/save_temps.h"

using namespace tavoe;

namespace {

void Append(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::app | std::ios::binary);
    out << text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: save_victim MODE FILE\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    InstallTempCleanupOnSignals();
    AppSession app;
    app.storageHost = std::make_unique<StorageHost>(app);
    VarSetValue(app, "ZEDITWRITELOCK", "TRUE");  // the default: the advisory lock must not stop the checks
    EditBuffer buffer(app);
    buffer.profile = BuiltInFileProfile("TXT");
    buffer.profile.tabsExpandOnRead = 0;
    buffer.profile.maxRecordLength = 1000;
    if (OpenFile(buffer, path, OpenMode::Edit) != 0) {
        std::printf("open failed\n");
        return 1;
    }
    (void)FinishLoad(buffer);
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        (void)LineAppendText(buffer, *line, "X");
    }
    buffer.modified = true;

    int writes = 0;
    int inPlaceWrites = 0;
    FileWriteHook hook;
    if (mode == "eio") {
        hook = [](FileWriteOp op, std::size_t) {
            return op == FileWriteOp::Write ? FileWriteFault{FileWriteFault::Kind::Fail, EIO, 0}
                                            : FileWriteFault{};
        };
    } else if (mode == "enospc") {
        hook = [&writes](FileWriteOp op, std::size_t count) {
            if (op == FileWriteOp::Write && ++writes == 2) {
                return FileWriteFault{FileWriteFault::Kind::Short, ENOSPC, count / 2};
            }
            return FileWriteFault{};
        };
    } else if (mode == "sigterm" || mode == "sigkill") {
        const int signo = mode == "sigterm" ? SIGTERM : SIGKILL;
        hook = [&writes, signo](FileWriteOp op, std::size_t) {
            if (op == FileWriteOp::Write && ++writes == 2) {
                std::raise(signo);
            }
            return FileWriteFault{};
        };
    } else if (mode == "inplace-eio") {
        if (::link(path.c_str(), (path + ".other").c_str()) != 0) {
            std::perror("link");
            return 2;
        }
        // The first writes fill the temporary file; writing in place comes after the sync.
        hook = [&inPlaceWrites, &writes](FileWriteOp op, std::size_t) {
            if (op == FileWriteOp::Sync) {
                inPlaceWrites = 1;
            }
            if (op == FileWriteOp::Write && inPlaceWrites > 0 && ++writes == 2) {
                return FileWriteFault{FileWriteFault::Kind::Fail, EIO, 0};
            }
            return FileWriteFault{};
        };
    } else if (mode == "append") {
        Append(path, "another program's line\n");
    } else if (mode == "truncate") {
        (void)::truncate(path.c_str(), 0);
    } else if (mode == "replace") {
        std::string other = path + ".new";
        Append(other, "another program's file\n");
        (void)::rename(other.c_str(), path.c_str());
    } else if (mode == "readonly") {
        (void)::chmod(path.c_str(), 0444);
    } else if (mode == "vanish") {
        (void)::unlink(path.c_str());
    } else if (mode != "none") {
        std::fprintf(stderr, "save_victim: unknown mode %s\n", mode.c_str());
        return 2;
    }
    app.messages.clear();
    Status status = 0;
    {
        ScopedFileWriteHook scoped(hook);
        status = SaveFile(buffer, SaveClosing::Yes);
    }
    for (const ShownMessage& message : app.messages) {
        std::printf("message: %s\n", message.text.c_str());
    }
    return status == 0 ? 0 : 1;
}
