#include "buffer/record_pool.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "buffer/guarded_block.h"

namespace tavoe {

namespace {

unsigned char* PageSlots(PoolPage* page) {
    return reinterpret_cast<unsigned char*>(page + 1);
}

PoolPage* AddPage(RecordPool* pool) {
    // The slots are cleared one by one as they are handed out.
    void* block = BlockAllocUncleared(kPoolPageBytes, sizeof(PoolPage));
    if (block == nullptr) {
        return nullptr;
    }
    auto* page = new (block) PoolPage{};
    page->capacity = kPoolPageSlotBytes / pool->recordSize;
    SListAppend(&pool->pages, page);
    ++pool->pageCount;
    return page;
}

}  // namespace

RecordPool* PoolCreate(std::string_view name, std::uint32_t recordSize) {
    if (name.empty() || recordSize < 1 || recordSize > kPoolPageSlotBytes) {
        return nullptr;
    }
    void* block = BlockAlloc(sizeof(RecordPool));
    if (block == nullptr) {
        return nullptr;
    }
    auto* pool = new (block) RecordPool{};
    pool->recordSize = static_cast<std::uint32_t>(RoundUp8(recordSize));
    pool->guard = kTagGuardWord;
    std::size_t length = std::min(name.size(), kPoolNameMax);
    std::memcpy(pool->name, name.data(), length);
    return pool;
}

void* PoolAlloc(RecordPool* pool) {
    if (pool == nullptr || pool->guard != kTagGuardWord) {
        return nullptr;
    }
    if (pool->pages.first == nullptr) {
        pool->fillPage = AddPage(pool);
        if (pool->fillPage == nullptr) {
            return nullptr;
        }
    }
    if (SListNode* reused = SListPopFront(&pool->freeList)) {
        return reused;  // zero-filled when it was released; the pop cleared its link word
    }
    PoolPage* page = pool->fillPage;
    while (page != nullptr && page->nextFree >= page->capacity) {
        page = static_cast<PoolPage*>(page->next);
    }
    if (page == nullptr) {
        page = AddPage(pool);
        if (page == nullptr) {
            return nullptr;
        }
    }
    pool->fillPage = page;
    unsigned char* record = PageSlots(page) + static_cast<std::size_t>(page->nextFree++) * pool->recordSize;
    std::memset(record, 0, pool->recordSize);
    return record;
}

void PoolFree(RecordPool* pool, void* record) {
    if (pool == nullptr || record == nullptr || pool->guard != kTagGuardWord) {
        return;
    }
    std::memset(record, 0, pool->recordSize);
    SListAppend(&pool->freeList, static_cast<SListNode*>(record));
}

void PoolDestroy(RecordPool* pool) {
    if (pool == nullptr || pool->guard != kTagGuardWord) {
        return;
    }
    while (SListNode* page = SListPopFront(&pool->pages)) {
        BlockFree(page);
    }
    pool->guard = 0;
    BlockFree(pool);
}

std::size_t PoolBytesHeld(const RecordPool* pool) {
    if (pool == nullptr) {
        return 0;
    }
    return BlockTotalSize(sizeof(RecordPool)) + pool->pageCount * BlockTotalSize(kPoolPageBytes);
}

}  // namespace tavoe
