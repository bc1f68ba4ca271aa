#pragma once

#include <string>
#include <vector>

namespace tavoe {

// One alias of an instance's alias lists: a short verb standing for a primary command name, or a file
// type standing for another file profile. The lists are kept by the instance and read by the
// dispatchers and the profile chooser.
struct CommandAlias {
    std::string alias;   // letters and digits, compared exactly (case-sensitive)
    std::string actual;  // one primary command name, or a file profile name
};

// In list order: the dispatcher takes the first equal alias, the profile writes them numbered from 1.
using CommandAliasList = std::vector<CommandAlias>;

}  // namespace tavoe
