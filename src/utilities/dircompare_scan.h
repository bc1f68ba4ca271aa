#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavoe {

// How a listed file of a directory compare came out.
enum class DirFileStatus : uint8_t {
    Unpaired = 0,   // not yet looked at
    OnlyHere = 1,   // no file of the same name in the other directory
    Equal = 2,      // in both, same contents
    Different = 3,  // in both, different contents
};

struct DirFile {
    std::string name;
    DirFileStatus status = DirFileStatus::Unpaired;
};

// The files (no directories) of a directory whose names match the mask ("*" and "?", case ignored;
// "*.*" matches every name), sorted by name. False when the directory cannot be read.
bool ListDirectoryFiles(const std::string& directory, const std::string& mask, std::vector<DirFile>& files);

// Pairs the files of A with those of B by exactly equal names and compares the contents of each
// pair (sizes first, then the bytes). Files of B left unpaired get OnlyHere. Returns the message of
// the first error, which ends the compare; empty on success.
std::string CompareDirectoryFiles(const std::string& dirA, std::vector<DirFile>& filesA,
                                  const std::string& dirB, std::vector<DirFile>& filesB);

}  // namespace tavoe
