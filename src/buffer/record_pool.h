#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "buffer/slist.h"

namespace tavoe {

// Pools of fixed-size records (line records, undo entries, directory entries and the like). Records
// come from pages of 64000 bytes of slots, so a pool costs one heap call per page and not per record.
// Released records go to a free list and are handed out again first; pages are returned only when
// the whole pool is destroyed.

inline constexpr std::uint32_t kPoolPageSlotBytes = 64000;
inline constexpr std::size_t kPoolNameMax = 31;

// A page: header, then kPoolPageSlotBytes of record slots.
struct PoolPage : SListNode {
    std::uint32_t capacity = 0;  // records the page holds: 64000 / record size
    std::uint32_t nextFree = 0;  // index of the first slot never handed out
};
inline constexpr std::size_t kPoolPageBytes = sizeof(PoolPage) + kPoolPageSlotBytes;
static_assert(kPoolPageBytes == 64016);

struct RecordPool {
    SList pages;
    SList freeList;
    std::uint32_t recordSize = 0;  // a multiple of 8
    std::uint32_t guard = 0;       // the "TAG" guard word while the pool lives
    char name[kPoolNameMax + 1] = {};
    // Bookkeeping that keeps allocation constant-time: the first page that still has slots never
    // handed out (pages only ever fill up, so the pages in front of it stay full), and the count.
    PoolPage* fillPage = nullptr;
    std::uint32_t pageCount = 0;
};

// A new empty pool, or nullptr when the name is empty, the record size is below 1 or above 64000, or
// the heap is exhausted. The size is rounded up to a multiple of 8; the name is cut to 31 characters.
RecordPool* PoolCreate(std::string_view name, std::uint32_t recordSize);

// A zero-filled record: from the front of the free list when it holds one, else the next unused slot
// of the first page with room, else a slot of a new page. nullptr when the pool is missing, its guard
// word is wrong, or the heap is exhausted.
void* PoolAlloc(RecordPool* pool);

// Zero-fills the record and appends it to the free list. Missing pool or record: nothing happens.
void PoolFree(RecordPool* pool, void* record);

// Releases every page and the pool itself.
void PoolDestroy(RecordPool* pool);

// Heap bytes the pool holds (its own block and its pages).
std::size_t PoolBytesHeld(const RecordPool* pool);

}  // namespace tavoe
