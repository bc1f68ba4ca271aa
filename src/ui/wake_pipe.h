#pragma once

namespace tavoe {

namespace ui {

// The self-pipe through which other parts of the program wake the event loop: signal handlers (a
// close request from another instance) and anything else that must be noticed while the loop
// waits for a key. Raise() only writes one byte and may be called from a signal handler.
class WakePipe {
public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    bool Valid() const { return readFd_ >= 0; }
    int ReadFd() const { return readFd_; }
    // The descriptor a signal handler writes to (one byte, any value).
    int WriteFd() const { return writeFd_; }

    void Raise() const;
    // Empties the pipe; returns true when it had been raised.
    bool Drain() const;

private:
    int readFd_ = -1;
    int writeFd_ = -1;
};

}  // namespace ui

}  // namespace tavoe
