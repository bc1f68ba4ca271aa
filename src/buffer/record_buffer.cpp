#include "buffer/record_buffer.h"

#include <new>

#include "buffer/guarded_block.h"
#include "core/message.h"

namespace tavoe {

namespace {

char* Payload(RecordBuffer* buffer) {
    return reinterpret_cast<char*>(buffer + 1);
}

RecordBuffer* NewBuffer(std::uint32_t capacity) {
    void* block = BlockAlloc(sizeof(RecordBuffer) + capacity);
    if (block == nullptr) {
        return nullptr;
    }
    auto* buffer = new (block) RecordBuffer{};
    buffer->capacity = capacity;
    buffer->inUse = 1;
    return buffer;
}

}  // namespace

char* RecBufGet(DList& buffers, std::uint32_t maxRecordLength) {
    std::uint32_t required = RecordBufferCapacity(maxRecordLength);
    for (DListNode* node = buffers.first; node != nullptr; node = node->next) {
        auto* buffer = static_cast<RecordBuffer*>(node);
        if (buffer->inUse) {
            continue;
        }
        if (buffer->capacity >= required) {
            buffer->inUse = 1;
            return Payload(buffer);
        }
        RecordBuffer* larger = NewBuffer(required);
        if (larger == nullptr) {
            return nullptr;
        }
        DListInsertBefore(&buffers, buffer, larger);
        DListUnlink(&buffers, buffer);
        BlockFree(buffer);
        return Payload(larger);
    }
    RecordBuffer* buffer = NewBuffer(required);
    if (buffer == nullptr) {
        return nullptr;
    }
    DListAppend(&buffers, buffer);
    return Payload(buffer);
}

Status RecBufRelease(Reporter& reporter, char* payload) {
    if (payload == nullptr) {
        return 0;
    }
    auto* buffer = reinterpret_cast<RecordBuffer*>(payload) - 1;
    if (buffer->guard != kRecordBufferGuard) {
        ShowMessage(reporter, "Tried to free corrupted record buffer, can't continue", MsgTo::Box,
                    Beep::Error);
        return -1;
    }
    buffer->inUse = 0;
    return 0;
}

void RecBufReleaseAll(DList& buffers) {
    while (DListNode* node = DListPopFirst(&buffers)) {
        BlockFree(node);
    }
}

}  // namespace tavoe
