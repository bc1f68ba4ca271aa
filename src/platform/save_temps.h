#pragma once

#include <string>

#include "platform/file_io.h"

namespace tavoe {

// The temporary files saves write beside their targets ("." + name + ".tvsave" and numbered
// variants): the ones being written now, so a termination signal can remove them, and the ones a
// killed process left behind, removed at the next save of the same file.

// A temporary file is being written (from its creation until it is renamed into place or removed).
// Room for a few at once; paths that do not fit are not tracked.
void TrackPendingTemp(const std::string& path);
void ForgetPendingTemp(const std::string& path);

// Removes every tracked temporary file. Async-signal-safe: for termination signal handlers.
void RemovePendingTemps() noexcept;

// Installs handlers for SIGTERM, SIGHUP and SIGINT that remove the tracked temporary files and then
// let the signal do what it did before (the previous handler runs, or the default action ends the
// process). Call after any other handler for these signals is in place.
void InstallTempCleanupOnSignals();

// Removes leftovers of killed saves beside `target`: regular files (not links) with the temporary
// names of `target`, owned by this user, not tracked by this process, and not written for
// `minimumAgeSeconds` (a save in progress in another process keeps writing its file). Answers how
// many were removed.
int RemoveStaleTemps(const std::string& target, int minimumAgeSeconds);

// The temporary name of `target` for a given attempt: "." + name + ".tvsave", then with 1, 2, ...
std::string TempNameBeside(const std::string& target, int attempt);

// The temporary file of one save or export, created by CreateTempBeside (which tracks it): closed
// and removed again when it goes out of scope, unless it was renamed into place (Committed).
class TempFile {
public:
    TempFile() = default;
    ~TempFile() { Discard(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    FileHandle handle;
    std::string path;
    void Committed();
    void Discard();
};

}  // namespace tavoe
