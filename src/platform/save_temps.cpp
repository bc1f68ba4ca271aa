#include "platform/save_temps.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>

#include "platform/file_io.h"

namespace tavoe {

namespace {

constexpr std::size_t kTempNameBaseMax = 200;  // keeps "." + base + ".tvsave" + digits within NAME_MAX
constexpr int kSlots = 8;
constexpr std::size_t kSlotPath = 4096;

// Slots a signal handler can read: a slot's path is complete whenever `used` is set.
struct PendingSlot {
    std::atomic<bool> used{false};
    char path[kSlotPath] = {};
};
PendingSlot g_slots[kSlots];

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
struct sigaction g_previous[sizeof(kSignals) / sizeof(kSignals[0])];

void OnTerminationSignal(int signo) {
    RemovePendingTemps();
    for (std::size_t i = 0; i < sizeof(kSignals) / sizeof(kSignals[0]); ++i) {
        if (kSignals[i] != signo) {
            continue;
        }
        const struct sigaction& previous = g_previous[i];
        if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler != SIG_DFL &&
            previous.sa_handler != SIG_IGN && previous.sa_handler != nullptr) {
            previous.sa_handler(signo);
            return;
        }
        if (previous.sa_handler == SIG_IGN) {
            return;
        }
    }
    std::signal(signo, SIG_DFL);
    std::raise(signo);
}

bool IsTracked(const std::string& path) {
    for (PendingSlot& slot : g_slots) {
        if (slot.used.load() && path == slot.path) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string TempNameBeside(const std::string& target, int attempt) {
    std::string base = PathFileName(target);
    if (base.size() > kTempNameBaseMax) {
        base.resize(kTempNameBaseMax);
    }
    std::string name = PathDirectory(target) + "." + base + ".tvsave";
    return attempt == 0 ? name : name + std::to_string(attempt);
}

void TrackPendingTemp(const std::string& path) {
    if (path.size() >= kSlotPath) {
        return;
    }
    for (PendingSlot& slot : g_slots) {
        if (!slot.used.load()) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.used.store(true);
            return;
        }
    }
}

void ForgetPendingTemp(const std::string& path) {
    for (PendingSlot& slot : g_slots) {
        if (slot.used.load() && path == slot.path) {
            slot.used.store(false);
        }
    }
}

void RemovePendingTemps() noexcept {
    for (PendingSlot& slot : g_slots) {
        if (slot.used.load()) {
            ::unlink(slot.path);
            slot.used.store(false);
        }
    }
}

void InstallTempCleanupOnSignals() {
    for (std::size_t i = 0; i < sizeof(kSignals) / sizeof(kSignals[0]); ++i) {
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(kSignals[i], &action, &g_previous[i]);
    }
}

int RemoveStaleTemps(const std::string& target, int minimumAgeSeconds) {
    const std::string directory = PathDirectory(target);
    const std::string prefix = PathFileName(TempNameBeside(target, 0));
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) {
        return 0;
    }
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const struct dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0 ||
            name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) {
            continue;
        }
        std::string path = directory + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            now - st.st_mtime < minimumAgeSeconds || IsTracked(path)) {
            continue;
        }
        removed += ::unlink(path.c_str()) == 0 ? 1 : 0;
    }
    ::closedir(dir);
    return removed;
}

void TempFile::Committed() {
    ForgetPendingTemp(path);
    path.clear();
}

void TempFile::Discard() {
    handle.Close();
    if (!path.empty()) {
        ::unlink(path.c_str());
        ForgetPendingTemp(path);
        path.clear();
    }
}

}  // namespace tavoe
