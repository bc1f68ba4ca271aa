#pragma once

namespace tavoe {

// How one instance rings another. What the other instance should do (close, rebuild its Window
// menu, refresh its title) is left as bits in its slot of the shared block; the ring itself is the
// signal SIGURG sent to its process id. The process's handler only writes a byte into a self-pipe,
// which the event loop waits on beside the keyboard; the loop then takes the bits from its slot.
//
// SIGURG is used because its default action is to be ignored: a ring that reaches a process which
// has not installed the handler yet, or a stranger that inherited the id of a dead instance, does no
// harm. A signal that arrives while another is pending is merged, which loses nothing, because the
// requests themselves wait in the slot.
//
// The handler and the pipe belong to the process, not to one instance; they are installed once.

// Installs the handler and creates the pipe (once per process). False when either failed, in which
// case rings are simply not heard and the requests wait until the loop next looks.
bool InstallNotifyHandler();

// The read end of the self-pipe, for the event loop to wait on; -1 before installation.
int NotifyReadFd();

// A further descriptor the handler writes one byte to on each ring, so a loop that already waits on
// a wake-up pipe of its own (the user interface's) is woken too; -1 for none.
void SetNotifyWakeFd(int fd);

// Empties the self-pipe; true when a ring had arrived since the last call.
bool DrainNotifyPipe();

// Rings the process; 0 when the signal was sent, -1 when no such process can be signalled.
int RingProcess(int pid);

}  // namespace tavoe
