#pragma once

#include <cstdint>

#include "buffer/dlist.h"
#include "core/message.h"
#include "core/status.h"

namespace tavoe {

// Scratch record buffers: each holds one whole record while loading, saving or editing. A session
// keeps them on a list and reuses free ones; the payload is preceded by a header whose guard word
// lets a release recognise a pointer that is not one of these buffers.

inline constexpr std::uint32_t kRecordBufferGuard = 0xFFFFFFFFu;

struct RecordBuffer : DListNode {
    std::uint32_t guard = kRecordBufferGuard;
    std::uint32_t capacity = 0;  // payload bytes
    std::uint32_t inUse = 0;
    std::uint32_t reserved = 0;  // keeps the payload 8-byte aligned
};

// Payload capacity a session needs: the maximum record length plus 8.
constexpr std::uint32_t RecordBufferCapacity(std::uint32_t maxRecordLength) {
    return maxRecordLength + 8;
}

// A payload of at least RecordBufferCapacity(maxRecordLength) bytes, marked in use. The first buffer
// of the list that is not in use is taken; when it is too small (the maximum record length was raised
// since) it is replaced in place by a larger one. With none free a new buffer is appended. nullptr
// when the heap is exhausted.
char* RecBufGet(DList& buffers, std::uint32_t maxRecordLength);

// Marks the buffer free for reuse (it stays on the list). A payload whose header guard is not
// 0xFFFFFFFF reports "Tried to free corrupted record buffer, can't continue" and changes nothing (-1).
Status RecBufRelease(Reporter& reporter, char* payload);

// Releases every buffer of the list.
void RecBufReleaseAll(DList& buffers);

}  // namespace tavoe
