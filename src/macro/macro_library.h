#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavoe {

// Entry points of outside shared libraries that a macro registers (DLLEPREGISTER) and calls
// (DLLEPCALL). The registry belongs to one compiled macro and lives as long as it, so a cached macro
// keeps its registrations from one run to the next.
//
// The calling contract: up to eight arguments, each a pointer to a NUL-terminated 8-bit text that is
// valid only during the call; the function either returns nothing useful or a pointer to a text it
// owns (typically a static buffer it reuses), which is copied before anything else can call it.

inline constexpr size_t kLibraryEntriesMax = 32;
inline constexpr int kLibraryArgsMax = 8;
inline constexpr size_t kLibraryNameMax = 255;      // characters of a library name
inline constexpr size_t kLibraryEntryNameMax = 31;  // characters of an entry-point name
inline constexpr size_t kLibraryResultMax = 1024;   // characters of a returned text kept

struct LibraryEntry {
    void* function = nullptr;
    int32_t parameterCount = 0;
    bool returnsText = false;
    std::string library;  // as the macro named it
    std::string entryName;
};

struct LibraryRegistry {
    std::vector<LibraryEntry> entries;  // the handle of an entry is its position + 1

    // The handle of the entry with exactly this library and entry-point name, or 0.
    int Find(const std::string& library, const std::string& entryName) const;
    // The entry of a handle, or null when the handle names none.
    const LibraryEntry* At(int32_t handle) const;
};

// Calls the entry with the texts, through a function pointer typed for their number (0..8), and
// returns the text it hands back (cut to kLibraryResultMax) when the entry returns text; empty
// otherwise. The caller has checked that the number of texts equals the registered count.
std::string CallLibraryEntry(const LibraryEntry& entry, std::span<const std::string> texts);

}  // namespace tavoe
