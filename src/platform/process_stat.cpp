#include "platform/process_stat.h"

#include <fstream>
#include <sstream>
#include <string>

namespace tavoe {

bool ReadProcessStat(int pid, char* state, int* parent) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) {
        return false;
    }
    // The command name in parentheses may itself hold blanks and parentheses: the fields after it
    // start behind the last ")".
    size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream rest(line.substr(close + 1));
    return static_cast<bool>(rest >> *state >> *parent);
}

bool ReadProcessStartTime(int pid, unsigned long long* ticks) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line)) {
        return false;
    }
    size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    // Behind the name: state (field 3) ... start time (field 22), so 19 fields come before it.
    std::istringstream rest(line.substr(close + 1));
    std::string skipped;
    for (int i = 0; i < 19; ++i) {
        if (!(rest >> skipped)) {
            return false;
        }
    }
    return static_cast<bool>(rest >> *ticks);
}

}  // namespace tavoe
