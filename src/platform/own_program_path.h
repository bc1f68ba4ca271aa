#pragma once

#include <string>

// The running program file's full path, symbolic links resolved; empty when it cannot be read.
std::string OwnProgramPath();
