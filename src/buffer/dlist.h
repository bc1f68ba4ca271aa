#pragma once

#include <cstdint>

namespace tavoe {

// Intrusive doubly linked list (the lines of a file, the scratch record buffers). A node begins with
// its two links; structures that live on such a list derive from DListNode so the links come first.
// Every operation does nothing when the list or the node is missing.

struct DListNode {
    DListNode* prev = nullptr;
    DListNode* next = nullptr;
};

struct DList {
    DListNode* first = nullptr;
    DListNode* last = nullptr;
    std::uint32_t count = 0;
};

// The node becomes the last node.
void DListAppend(DList* list, DListNode* node);

// The node becomes the first node.
void DListPrepend(DList* list, DListNode* node);

// Links the node in front of `before`: an empty list (or no `before`) gets it appended, a `before`
// that is the first node gets it prepended.
void DListInsertBefore(DList* list, DListNode* before, DListNode* node);

// Links the node behind `after`: an empty list, no `after`, or an `after` that is the last node get
// it appended.
void DListInsertAfter(DList* list, DListNode* after, DListNode* node);

// Takes the node out of the list and clears its two links.
void DListUnlink(DList* list, DListNode* node);

// The first node, unlinked, or nullptr for an empty list.
DListNode* DListPopFirst(DList* list);

inline DListNode* DListNext(const DListNode* node) {
    return node == nullptr ? nullptr : node->next;
}
inline DListNode* DListPrev(const DListNode* node) {
    return node == nullptr ? nullptr : node->prev;
}
inline std::uint32_t DListCount(const DList* list) {
    return list == nullptr ? 0 : list->count;
}

}  // namespace tavoe
