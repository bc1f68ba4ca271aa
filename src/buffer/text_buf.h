#pragma once

#include <cstddef>
#include <cstdint>

#include "buffer/slist.h"
#include "core/message.h"
#include "core/status.h"

namespace tavoe {

// The text buffer store of an edit session: line texts and colour bytes live in slots whose size is
// a multiple of 8. Size class k holds slots of 8·k bytes on pages of at most 64000 bytes of slots and
// never more than 100 slots, so loading a large file costs one heap call per page, and a line whose
// length changes within its class keeps its slot.

inline constexpr std::uint32_t kTextPageSlotBytes = 64000;
inline constexpr std::uint32_t kTextPageMaxSlots = 100;
inline constexpr std::uint32_t kMaxTextLength = 64000;  // no record of the editor is longer

struct TextPage : SListNode {
    std::uint32_t slotSize = 0;
    std::uint32_t freeCount = 0;
    std::uint8_t inUse[kTextPageMaxSlots] = {};  // 1 = slot in use, 0 = free
    // Position of the page in its class list (pages are only ever pushed at the front, so a higher
    // number stands nearer the front), whether it is listed among the pages with room, and a slot
    // index below which every slot is in use (where the search for a free map byte starts).
    std::uint32_t sequence = 0;
    std::uint8_t listedWithRoom = 0;
    std::uint8_t searchFrom = 0;
};

static_assert(sizeof(TextPage) == 128, "slots start 8-byte aligned after the header");

// One size class: its pages (the newest first) and, beside them, the pages that may have a free slot
// kept as a heap by list position, so the front-most page with room is found without a walk.
struct TextClass {
    SList pages;
    TextPage** roomHeap = nullptr;
    std::uint32_t roomCount = 0;
    std::uint32_t roomCapacity = 0;
    std::uint32_t nextSequence = 0;
};

// The class table, indexed by class (entry 0 is never used), and its length.
struct TextStore {
    TextClass* classes = nullptr;
    std::uint32_t classCount = 0;
    std::size_t bytesHeld = 0;  // heap bytes of the table, the pages and the heaps
};

// A text buffer is known by its page and its slot address.
struct TextBufRef {
    TextPage* page = nullptr;
    char* data = nullptr;
};

// Slot size and slots per page for a length of at least 1.
constexpr std::uint32_t TextSlotSize(std::uint32_t length) {
    return (length + 7) / 8 * 8;
}
constexpr std::uint32_t TextSlotsPerPage(std::uint32_t slotSize) {
    return kTextPageSlotBytes / slotSize < kTextPageMaxSlots ? kTextPageSlotBytes / slotSize
                                                             : kTextPageMaxSlots;
}

// A buffer of TextSlotSize(length) bytes from the first page of its class that has a free slot (the
// newest page first); a full class gets a new page at the front of its list. An empty result for a
// length of 0 or above 64000, or when the heap is exhausted. The bytes are not cleared.
TextBufRef TextBufAlloc(TextStore& store, std::uint32_t length);

// Returns the slot to its page. A slot that is not in use (a second release) or an address that is
// not a slot of the page reports "Tried to free textbuf which was not allocated, can't continue." and
// changes nothing (-1). A missing page or buffer does nothing (0).
Status TextBufFree(Reporter& reporter, TextStore& store, TextPage* page, void* buffer);

// Releases every page and the class table.
void TextStoreRelease(TextStore& store);

}  // namespace tavoe
