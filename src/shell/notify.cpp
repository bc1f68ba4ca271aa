#include "shell/notify.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace tavoe {

namespace {

// Process-wide by nature: a signal handler can reach nothing else.
std::atomic<int> gReadFd{-1};
std::atomic<int> gWriteFd{-1};
std::atomic<int> gWakeFd{-1};

void WriteByte(int fd) {
    if (fd >= 0) {
        char byte = 1;
        // A full pipe already wakes its reader, so a failed write loses nothing.
        [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    }
}

extern "C" void OnRing(int) {
    int saved = errno;
    WriteByte(gWriteFd.load());
    WriteByte(gWakeFd.load());
    errno = saved;
}

}  // namespace

bool InstallNotifyHandler() {
    if (gReadFd.load() >= 0) {
        return true;
    }
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
        return false;
    }
    gReadFd.store(fds[0]);
    gWriteFd.store(fds[1]);
    struct sigaction action {};
    action.sa_handler = OnRing;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGURG, &action, nullptr) == 0;
}

int NotifyReadFd() {
    return gReadFd.load();
}

void SetNotifyWakeFd(int fd) {
    gWakeFd.store(fd);
}

bool DrainNotifyPipe() {
    int fd = gReadFd.load();
    if (fd < 0) {
        return false;
    }
    bool rang = false;
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0) {
        rang = true;
    }
    return rang;
}

int RingProcess(int pid) {
    if (pid <= 0) {
        return -1;  // 0 and negative ids would signal whole process groups
    }
    return ::kill(pid, SIGURG) == 0 ? 0 : -1;
}

}  // namespace tavoe
