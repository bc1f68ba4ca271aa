#include "buffer/text_buf.h"

#include <cstring>
#include <new>
#include <utility>

#include "buffer/guarded_block.h"
#include "core/message.h"

namespace tavoe {

namespace {

char* PageSlots(TextPage* page) {
    return reinterpret_cast<char*>(page + 1);
}

std::size_t PageBytes(std::uint32_t slotSize) {
    return sizeof(TextPage) + static_cast<std::size_t>(TextSlotsPerPage(slotSize)) * slotSize;
}

// The heap of pages with room is ordered by list position: the page nearest the front (the highest
// sequence number) is on top. Entries whose page has filled up since are dropped lazily.
void SiftUp(TextPage** heap, std::uint32_t at) {
    while (at > 0) {
        std::uint32_t parent = (at - 1) / 2;
        if (heap[parent]->sequence >= heap[at]->sequence) {
            break;
        }
        std::swap(heap[parent], heap[at]);
        at = parent;
    }
}

void SiftDown(TextPage** heap, std::uint32_t count, std::uint32_t at) {
    for (;;) {
        std::uint32_t largest = at;
        std::uint32_t left = 2 * at + 1;
        std::uint32_t right = left + 1;
        if (left < count && heap[left]->sequence > heap[largest]->sequence) {
            largest = left;
        }
        if (right < count && heap[right]->sequence > heap[largest]->sequence) {
            largest = right;
        }
        if (largest == at) {
            return;
        }
        std::swap(heap[largest], heap[at]);
        at = largest;
    }
}

bool ListWithRoom(TextStore& store, TextClass& textClass, TextPage* page) {
    if (textClass.roomCount == textClass.roomCapacity) {
        std::uint32_t capacity = textClass.roomCapacity == 0 ? 16 : textClass.roomCapacity * 2;
        auto* grown = static_cast<TextPage**>(BlockAlloc(capacity * sizeof(TextPage*)));
        if (grown == nullptr) {
            return false;
        }
        if (textClass.roomHeap != nullptr) {
            std::memcpy(grown, textClass.roomHeap, textClass.roomCount * sizeof(TextPage*));
            store.bytesHeld -= BlockSize(textClass.roomHeap);
            BlockFree(textClass.roomHeap);
        }
        store.bytesHeld += BlockSize(grown);
        textClass.roomHeap = grown;
        textClass.roomCapacity = capacity;
    }
    textClass.roomHeap[textClass.roomCount] = page;
    SiftUp(textClass.roomHeap, textClass.roomCount);
    ++textClass.roomCount;
    page->listedWithRoom = 1;
    return true;
}

// The front-most page of the class that has a free slot, or nullptr.
TextPage* FirstPageWithRoom(TextClass& textClass) {
    while (textClass.roomCount > 0) {
        TextPage* top = textClass.roomHeap[0];
        if (top->freeCount > 0) {
            return top;
        }
        top->listedWithRoom = 0;
        textClass.roomHeap[0] = textClass.roomHeap[--textClass.roomCount];
        SiftDown(textClass.roomHeap, textClass.roomCount, 0);
    }
    return nullptr;
}

// Makes the table long enough for `classIndex`: a new table, the old entries copied, the old table
// released.
bool GrowClassTable(TextStore& store, std::uint32_t classIndex) {
    std::uint32_t count = classIndex + 1;
    auto* table = static_cast<TextClass*>(BlockAlloc(count * sizeof(TextClass)));
    if (table == nullptr) {
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        new (&table[i]) TextClass{};
    }
    if (store.classes != nullptr) {
        std::memcpy(static_cast<void*>(table), store.classes, store.classCount * sizeof(TextClass));
        store.bytesHeld -= BlockSize(store.classes);
        BlockFree(store.classes);
    }
    store.bytesHeld += BlockSize(table);
    store.classes = table;
    store.classCount = count;
    return true;
}

}  // namespace

TextBufRef TextBufAlloc(TextStore& store, std::uint32_t length) {
    if (length == 0 || length > kMaxTextLength) {
        return {};
    }
    std::uint32_t slotSize = TextSlotSize(length);
    std::uint32_t classIndex = slotSize / 8;
    if (classIndex >= store.classCount && !GrowClassTable(store, classIndex)) {
        return {};
    }
    TextClass& textClass = store.classes[classIndex];
    TextPage* page = FirstPageWithRoom(textClass);
    if (page != nullptr) {
        std::uint32_t slots = TextSlotsPerPage(slotSize);
        // Every slot below searchFrom is in use, so the scan usually stops at its first byte.
        std::uint32_t index = page->searchFrom;
        while (index < slots && page->inUse[index] != 0) {
            ++index;
        }
        if (index == slots) {
            return {};  // free count and map disagree: the page is damaged, leave it alone
        }
        page->inUse[index] = 1;
        --page->freeCount;
        page->searchFrom = static_cast<std::uint8_t>(index + 1);
        return {page, PageSlots(page) + static_cast<std::size_t>(index) * slotSize};
    }
    void* block = BlockAllocUncleared(PageBytes(slotSize), sizeof(TextPage));
    if (block == nullptr) {
        return {};
    }
    page = new (block) TextPage{};
    page->slotSize = slotSize;
    page->freeCount = TextSlotsPerPage(slotSize) - 1;
    page->inUse[0] = 1;
    page->searchFrom = 1;
    page->sequence = textClass.nextSequence++;
    SListPushFront(&textClass.pages, page);
    store.bytesHeld += BlockSize(block);
    if (page->freeCount > 0) {
        ListWithRoom(store, textClass, page);  // without the listing the page is just not reused
    }
    return {page, PageSlots(page)};
}

Status TextBufFree(Reporter& reporter, TextStore& store, TextPage* page, void* buffer) {
    if (page == nullptr || buffer == nullptr) {
        return 0;
    }
    std::uint32_t slotSize = page->slotSize;
    std::uint32_t classIndex = slotSize / 8;
    bool known = slotSize != 0 && slotSize % 8 == 0 && classIndex < store.classCount;
    std::size_t index = 0;
    if (known) {
        char* slots = PageSlots(page);
        char* at = static_cast<char*>(buffer);
        std::size_t slotCount = TextSlotsPerPage(slotSize);
        known = at >= slots && at < slots + slotCount * slotSize &&
                static_cast<std::size_t>(at - slots) % slotSize == 0;
        index = known ? static_cast<std::size_t>(at - slots) / slotSize : 0;
    }
    if (!known || page->inUse[index] != 1) {
        ShowMessage(reporter, "Tried to free textbuf which was not allocated, can't continue.", MsgTo::Box,
                    Beep::Error);
        return -1;
    }
    page->inUse[index] = 0;
    ++page->freeCount;
    if (index < page->searchFrom) {
        page->searchFrom = static_cast<std::uint8_t>(index);
    }
    if (!page->listedWithRoom) {
        ListWithRoom(store, store.classes[classIndex], page);
    }
    return 0;
}

void TextStoreRelease(TextStore& store) {
    for (std::uint32_t i = 0; i < store.classCount; ++i) {
        TextClass& textClass = store.classes[i];
        while (SListNode* page = SListPopFront(&textClass.pages)) {
            BlockFree(page);
        }
        BlockFree(textClass.roomHeap);
    }
    BlockFree(store.classes);
    store = TextStore{};
}

}  // namespace tavoe
