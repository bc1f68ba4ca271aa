#include "buffer/guarded_block.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "platform/memory_pages.h"

namespace tavoe {

namespace {

// Opening a large file makes hundreds of megabytes of pool and text pages. The heap is grown well
// ahead of use (fewer calls to the system), and the memory is left to ordinary 4 KB pages: on
// virtual machines that hand free guest memory back to the host, a 2 MB huge page comes from such
// returned memory and its first touch costs several times what the same bytes cost in small pages,
// which were taken from memory the guest had just used.
constexpr int kHeapGrowAhead = 32 << 20;

void GrowHeapAhead(bool& started) {
#if !defined(__SANITIZE_ADDRESS__)
    if (!started) {
        started = true;
        mallopt(M_TOP_PAD, kHeapGrowAhead);
    }
#else
    (void)started;
#endif
}

// Blocks from this size on are the pool and text pages a large file is made of.
constexpr std::size_t kPopulateFrom = 4 << 10;
// How far beyond such a block the heap's free memory is made present with it.
constexpr std::uintptr_t kPopulateAhead = 2 << 20;

// Makes the pages of a new block present in one call, and inside the heap also the free memory just
// beyond it, where the next blocks of a growing file go (see PopulatePages). `populated` is the range
// made present last.
void PopulateBlock(unsigned char* block, std::size_t size, std::uintptr_t (&populated)[2]) {
    const auto from = reinterpret_cast<std::uintptr_t>(block);
    std::uintptr_t to = from + size;
    if (from >= populated[0] && to <= populated[1]) {
        return;
    }
    // The heap between these ends is one mapping of our own: reaching ahead stays inside it.
    static const auto heapStart = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    const auto heapEnd = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    if (from >= heapStart && to <= heapEnd) {
        to = std::max(to, std::min(from + kPopulateAhead, heapEnd));
    }
    PopulatePages(block, to - from);
    populated[0] = from;
    populated[1] = to;
}

// The heap is process-wide, so is the table of live blocks (payload to total size). It lets a second
// release of a block, or the release of a pointer that never was a block, be recognised without
// reading freed memory, and keeps a damaged size word from sending the guard check out of bounds.
struct LiveBlocks {
    std::mutex mutex;
    std::unordered_map<const void*, std::uint32_t> payloads;
    bool heapPadSet = false;
    std::uintptr_t populated[2] = {0, 0};
};

LiveBlocks& Live() {
    static LiveBlocks live;
    return live;
}

std::uint32_t ReadWord(const unsigned char* at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

void WriteWord(unsigned char* at, std::uint32_t word) {
    std::memcpy(at, &word, sizeof word);
}

void* AllocBlock(std::size_t size, std::size_t cleared) {
    if (size > std::numeric_limits<std::uint32_t>::max() - kBlockOverhead - 8) {
        return nullptr;
    }
    LiveBlocks& live = Live();
    std::lock_guard lock(live.mutex);
    std::size_t total = BlockTotalSize(size);
    unsigned char* block = nullptr;
    if (total >= kPopulateFrom) {
        block = static_cast<unsigned char*>(std::malloc(total));
        if (block != nullptr) {
            PopulateBlock(block, total, live.populated);
            std::memset(block + kBlockHeaderSize, 0, std::min(cleared, total - kBlockOverhead));
        }
    } else {
        block = static_cast<unsigned char*>(std::calloc(1, total));
    }
    if (block == nullptr) {
        return nullptr;
    }
    WriteWord(block, kTagGuardWord);
    WriteWord(block + 4, static_cast<std::uint32_t>(total));
    WriteWord(block + total - 4, kEndGuardWord);
    void* payload = block + kBlockHeaderSize;
    live.payloads.emplace(payload, static_cast<std::uint32_t>(total));
    GrowHeapAhead(live.heapPadSet);
    return payload;
}

}  // namespace

void* BlockAlloc(std::size_t size) {
    return AllocBlock(size, std::numeric_limits<std::size_t>::max());
}

void* BlockAllocUncleared(std::size_t size, std::size_t cleared) {
    return AllocBlock(size, std::min(cleared, size));
}

void BlockFree(void* payload) {
    if (payload == nullptr) {
        return;
    }
    LiveBlocks& live = Live();
    std::lock_guard lock(live.mutex);
    auto found = live.payloads.find(payload);
    if (found == live.payloads.end()) {
        return;
    }
    unsigned char* block = static_cast<unsigned char*>(payload) - kBlockHeaderSize;
    std::uint32_t total = found->second;
    if (ReadWord(block) != kTagGuardWord || ReadWord(block + 4) != total ||
        ReadWord(block + total - 4) != kEndGuardWord) {
        return;
    }
    WriteWord(block, 0);
    live.payloads.erase(found);
    std::free(block);
}

std::uint32_t BlockSize(const void* payload) {
    if (payload == nullptr) {
        return 0;
    }
    return ReadWord(static_cast<const unsigned char*>(payload) - kBlockHeaderSize + 4);
}

}  // namespace tavoe
