#include "buffer/guarded_block.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <unordered_map>

namespace tavoe {

namespace {

// Opening a large file makes hundreds of megabytes of pool and text pages, and on first touch every
// 4 KB of it costs a page fault, which is most of the cost of making a line. Where the system gives
// transparent huge pages on request, the heap is grown well ahead of use and the new, untouched part
// is advised to use them, so one fault maps 2 MB. Memory handed back by the heap works as before.
constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
constexpr int kHeapGrowAhead = 32 << 20;

struct HeapAdvice {
    bool started = false;
    std::uintptr_t advisedEnd = 0;
};

void AdviseHugePages(HeapAdvice& advice) {
#if !defined(__SANITIZE_ADDRESS__)
    if (!advice.started) {
        advice.started = true;
        mallopt(M_TOP_PAD, kHeapGrowAhead);
        advice.advisedEnd = reinterpret_cast<std::uintptr_t>(sbrk(0));
        return;
    }
    auto heapEnd = reinterpret_cast<std::uintptr_t>(sbrk(0));
    if (heapEnd < advice.advisedEnd) {
        advice.advisedEnd = heapEnd;  // the heap gave memory back: what grows again is new
    }
    if (heapEnd <= advice.advisedEnd + kHugePage) {
        return;
    }
    // Only whole huge pages past the old end are advised: the heap grew by the pad, so apart from
    // the block just handed out they are untouched and can be mapped 2 MB at a time.
    std::uintptr_t from = (advice.advisedEnd + kHugePage - 1) & ~(kHugePage - 1);
    std::uintptr_t to = heapEnd & ~(kHugePage - 1);
    if (to > from) {
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
    advice.advisedEnd = heapEnd;
#else
    (void)advice;
#endif
}

// The heap is process-wide, so is the table of live blocks (payload to total size). It lets a second
// release of a block, or the release of a pointer that never was a block, be recognised without
// reading freed memory, and keeps a damaged size word from sending the guard check out of bounds.
struct LiveBlocks {
    std::mutex mutex;
    std::unordered_map<const void*, std::uint32_t> payloads;
    HeapAdvice advice;
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

}  // namespace

void* BlockAlloc(std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max() - kBlockOverhead - 8) {
        return nullptr;
    }
    LiveBlocks& live = Live();
    std::lock_guard lock(live.mutex);
    std::size_t total = BlockTotalSize(size);
    auto* block = static_cast<unsigned char*>(std::calloc(1, total));
    if (block == nullptr) {
        return nullptr;
    }
    WriteWord(block, kTagGuardWord);
    WriteWord(block + 4, static_cast<std::uint32_t>(total));
    WriteWord(block + total - 4, kEndGuardWord);
    void* payload = block + kBlockHeaderSize;
    live.payloads.emplace(payload, static_cast<std::uint32_t>(total));
    AdviseHugePages(live.advice);
    return payload;
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
