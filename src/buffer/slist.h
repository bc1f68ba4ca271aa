#pragma once

namespace tavoe {

// Intrusive singly linked list (pages, free lists, journals and small lists). A node begins with its
// one link; structures that live on such a list derive from SListNode so the link comes first.
// Operations answer with small status codes; 0 is success.

struct SListNode {
    SListNode* next = nullptr;
};

struct SList {
    SListNode* first = nullptr;
    SListNode* last = nullptr;
};

enum class SListStatus : int {
    Ok = 0,
    PushNoNode = 1,
    PushNoList = 2,
    AppendNoNode = 3,
    AppendNoList = 4,
    NotInList = 5,
    ListEmpty = 6,
    RemoveNoNode = 7,
    RemoveNoList = 8,
};

// The node becomes the first node (and the last when the list was empty).
SListStatus SListPushFront(SList* list, SListNode* node);

// The node becomes the last node.
SListStatus SListAppend(SList* list, SListNode* node);

// Links the node in front of `before` (at the front when `before` is the first node). When `before`
// is not on the list nothing is linked and NotInList is the answer, so the caller still owns the
// node. A missing list or node links nothing and answers like SListAppend.
SListStatus SListInsertBefore(SList* list, SListNode* before, SListNode* node);

// Takes the node off the list: NotInList, ListEmpty, RemoveNoNode or RemoveNoList when it cannot.
SListStatus SListRemove(SList* list, SListNode* node);

// The first node, unlinked, or nullptr.
SListNode* SListPopFront(SList* list);

inline SListNode* SListFirst(const SList* list) {
    return list == nullptr ? nullptr : list->first;
}
inline SListNode* SListNext(const SListNode* node) {
    return node == nullptr ? nullptr : node->next;
}

// Number of nodes, by a walk.
int SListCount(const SList* list);

}  // namespace tavoe
