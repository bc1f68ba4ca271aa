#pragma once

#include <cstdint>
#include <future>
#include <memory>

#include "platform/file_io.h"

// The output side of a save. Records collect in one buffer while the other, filled before, is being
// written to the file by a helper thread, so formatting the records and the system's copying of the
// bytes overlap. After each write the system is asked to start putting that part on the disk, so the
// sync that ends a save waits for the tail only. Writes stay in order: a buffer is handed over only
// once the previous write has ended, and the first failure ends the writing.
class RecordWriter {
public:
    // `buffer` (of `size` bytes, at least the largest record with its terminator twice over) is the
    // first of the two buffers; the writer makes the second. The handle must stay open until Finish.
    RecordWriter(const FileHandle& handle, char* buffer, std::int32_t size);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // False when the second buffer could not be made.
    bool Ok() const { return spare_ != nullptr; }

    // Room for `count` bytes (at most the buffer size) at the end of the filling buffer, handing the
    // buffer over first when they would not fit. nullptr once a write has failed.
    char* Reserve(std::int32_t count);
    // Copies the bytes in; false once a write has failed.
    bool Append(const char* bytes, std::int32_t count);
    // Writes what is left and waits for every write. False when any write failed.
    bool Finish();

private:
    bool HandOver();
    bool WaitForWrite();

    const FileHandle& handle_;
    std::unique_ptr<char[]> spare_;
    char* buffers_[2];
    int filling_ = 0;
    std::int32_t size_;
    std::int32_t used_ = 0;
    std::int64_t offset_ = 0;
    std::future<bool> pending_;
    bool failed_ = false;
};
