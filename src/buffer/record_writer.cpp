#include "buffer/record_writer.h"

#include <cstring>
#include <new>
#include <system_error>

#include "platform/file_write.h"

RecordWriter::RecordWriter(const FileHandle& handle, char* buffer, std::int32_t size)
    : handle_(handle),
      spare_(new (std::nothrow) char[static_cast<std::size_t>(size)]),
      buffers_{buffer, spare_.get()},
      size_(size) {}

RecordWriter::~RecordWriter() {
    WaitForWrite();
}

char* RecordWriter::Reserve(std::int32_t count) {
    if (failed_ || (used_ + count > size_ && !HandOver())) {
        return nullptr;
    }
    char* at = buffers_[filling_] + used_;
    used_ += count;
    return at;
}

bool RecordWriter::Append(const char* bytes, std::int32_t count) {
    if (count <= 0) {
        return !failed_;
    }
    char* at = Reserve(count);
    if (at == nullptr) {
        return false;
    }
    std::memcpy(at, bytes, static_cast<std::size_t>(count));
    return true;
}

bool RecordWriter::Finish() {
    HandOver();
    return WaitForWrite();
}

bool RecordWriter::WaitForWrite() {
    if (pending_.valid() && !pending_.get()) {
        failed_ = true;
    }
    return !failed_;
}

bool RecordWriter::HandOver() {
    if (!WaitForWrite()) {
        return false;
    }
    if (used_ == 0) {
        return true;
    }
    const char* data = buffers_[filling_];
    const std::int32_t count = used_;
    const std::int64_t offset = offset_;
    const FileHandle& handle = handle_;
    auto write = [&handle, data, count, offset] {
        std::size_t written = 0;
        if (!WriteAll(handle, data, static_cast<std::size_t>(count), &written).Ok()) {
            return false;
        }
        StartWriteBack(handle, offset, count);
        return true;
    };
    try {
        pending_ = std::async(std::launch::async, write);
    } catch (const std::system_error&) {
        // No thread to be had: this part is written here and now.
        if (!write()) {
            failed_ = true;
            return false;
        }
    }
    offset_ += count;
    filling_ ^= 1;
    used_ = 0;
    return true;
}
