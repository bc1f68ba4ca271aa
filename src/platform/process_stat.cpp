#include "platform/process_stat.h"

#include <fstream>
#include <sstream>
#include <string>

namespace tavoe {

namespace {

// The fields of /proc/PID/stat behind the command name, from the state (field 3) on; false when the
// process is gone or the line is not what the kernel writes. The name in parentheses may itself hold
// blanks and parentheses, so the fields start behind the last ")".
bool StatFieldsAfterName(int pid, std::istringstream* fields) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) {
        return false;
    }
    size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    fields->str(line.substr(close + 1));
    return true;
}

}  // namespace

bool ReadProcessStat(int pid, char* state, int* parent) {
    std::istringstream rest;
    return StatFieldsAfterName(pid, &rest) && static_cast<bool>(rest >> *state >> *parent);
}

bool ReadProcessStartTime(int pid, unsigned long long* ticks) {
    std::istringstream rest;
    if (!StatFieldsAfterName(pid, &rest)) {
        return false;
    }
    // State (field 3) ... start time (field 22): 19 fields come before it.
    std::string skipped;
    for (int i = 0; i < 19; ++i) {
        if (!(rest >> skipped)) {
            return false;
        }
    }
    return static_cast<bool>(rest >> *ticks);
}

}  // namespace tavoe
