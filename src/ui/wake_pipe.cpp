#include "ui/wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

namespace tavoe {

namespace ui {

WakePipe::WakePipe() {
    int fds[2];
    if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
        readFd_ = fds[0];
        writeFd_ = fds[1];
    }
}

WakePipe::~WakePipe() {
    if (readFd_ >= 0) {
        close(readFd_);
        close(writeFd_);
    }
}

void WakePipe::Raise() const {
    if (writeFd_ >= 0) {
        char byte = 1;
        // A full pipe already wakes the loop, so a failed write loses nothing.
        [[maybe_unused]] ssize_t n = write(writeFd_, &byte, 1);
    }
}

bool WakePipe::Drain() const {
    if (readFd_ < 0) {
        return false;
    }
    bool raised = false;
    char buffer[64];
    while (read(readFd_, buffer, sizeof buffer) > 0) {
        raised = true;
    }
    return raised;
}

}  // namespace ui

}  // namespace tavoe
