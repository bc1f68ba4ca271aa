#pragma once

#include <string>

namespace tavoe {

// The running program file's full path, symbolic links resolved; empty when it cannot be read.
std::string OwnProgramPath();

}  // namespace tavoe
