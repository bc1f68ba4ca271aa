#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavoe {

// What a file is made of, byte by byte: records end at LF (a CR before it counts in the record's
// length), tabs, form feeds and end-of-file characters are counted apart and do not lengthen a
// record, zero bytes and the other control bytes below 32 are counted.
struct FileScanCounts {
    uint64_t maxRecLen = 0;
    uint64_t records = 0;
    uint64_t bytes = 0;
    uint64_t tab = 0;
    uint64_t ff = 0;
    uint64_t lf = 0;
    uint64_t crlf = 0;
    uint64_t nonData = 0;
    uint64_t zero = 0;
    uint64_t eof = 0;
};

// Counts a file in pieces: Add takes each piece in order, Finish closes the last record.
class FileScanner {
public:
    void Add(const char* data, size_t count);
    FileScanCounts Finish();

private:
    void Special(unsigned char c);
    void Ordinary(size_t count);  // bytes of 32 and above

    FileScanCounts counts_;
    uint64_t length_ = 0;  // of the record being read
    bool crPending_ = false;
};

// Scans the file with constant memory. Returns the message to show (empty on success); a read
// error keeps what was counted before it.
std::string ScanFile(const std::string& path, FileScanCounts& counts);

// A count with "," between groups of three digits.
std::string GroupedNumber(uint64_t number);

}  // namespace tavoe
