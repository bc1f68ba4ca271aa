#pragma once

#include <cstdio>
#include <string>

#include "platform/search_path.h"

namespace tavoe {

// Line reading and safe whole-file replacement for the profile files (the main profile and the
// keyword=value control files).

// Reads one line into line. False at the end of the file when nothing was read. The newline and one
// carriage return before it are removed; at most maxChars characters are kept and the rest of an
// overlong line is read and dropped, so it cannot turn into a line of its own. Text from a NUL byte
// on is dropped (the line is a C string to every reader).
bool ReadTextLine(std::FILE* file, size_t maxChars, std::string& line);

// Writes a file under a temporary name in the target's directory and renames it over the target
// only when every byte was written, so a failed save leaves the previous file intact. An existing
// target keeps its permissions; a symbolic link is written through to the file it names. A writer
// destroyed without Commit removes its temporary file.
class ReplacingFileWriter {
public:
    ReplacingFileWriter() = default;
    ~ReplacingFileWriter();
    ReplacingFileWriter(const ReplacingFileWriter&) = delete;
    ReplacingFileWriter& operator=(const ReplacingFileWriter&) = delete;

    // Creates the temporary file; false when the directory does not allow it.
    bool Open(const std::string& path);
    std::FILE* File() const { return file.get(); }
    void Write(std::string_view text);
    // Flushes, syncs and renames over the target. False (the target untouched) on any failure.
    bool Commit();

private:
    void Discard();

    std::string target;
    std::string temp;
    FilePtr file;
    bool failed = false;
};

}  // namespace tavoe
