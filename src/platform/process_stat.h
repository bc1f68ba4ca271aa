#pragma once

namespace tavoe {

// What /proc tells about another process.

// The state letter ('R', 'S', 'Z', ...) and the parent of a process; false when the process does not
// exist (or /proc cannot be read).
bool ReadProcessStat(int pid, char* state, int* parent);

}  // namespace tavoe
