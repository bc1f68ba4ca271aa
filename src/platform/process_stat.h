#pragma once

namespace tavoe {

// What /proc tells about another process.

// The state letter ('R', 'S', 'Z', ...) and the parent of a process; false when the process does not
// exist (or /proc cannot be read).
bool ReadProcessStat(int pid, char* state, int* parent);

// When the process started, in clock ticks after the system's start: with the process id it names
// one process for good, since an id can be given again to a later process. False when the process
// does not exist.
bool ReadProcessStartTime(int pid, unsigned long long* ticks);

}  // namespace tavoe
