#include "buffer/dlist.h"

namespace tavoe {

void DListAppend(DList* list, DListNode* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    node->next = nullptr;
    node->prev = list->last;
    if (list->last == nullptr) {
        list->first = node;
    } else {
        list->last->next = node;
    }
    list->last = node;
    ++list->count;
}

void DListPrepend(DList* list, DListNode* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    node->prev = nullptr;
    node->next = list->first;
    if (list->first == nullptr) {
        list->last = node;
    } else {
        list->first->prev = node;
    }
    list->first = node;
    ++list->count;
}

void DListInsertBefore(DList* list, DListNode* before, DListNode* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    if (list->first == nullptr || before == nullptr) {
        DListAppend(list, node);
        return;
    }
    if (before == list->first) {
        DListPrepend(list, node);
        return;
    }
    node->prev = before->prev;
    node->next = before;
    before->prev->next = node;
    before->prev = node;
    ++list->count;
}

void DListInsertAfter(DList* list, DListNode* after, DListNode* node) {
    if (list == nullptr || node == nullptr) {
        return;
    }
    if (list->first == nullptr || after == nullptr || after == list->last) {
        DListAppend(list, node);
        return;
    }
    node->prev = after;
    node->next = after->next;
    after->next->prev = node;
    after->next = node;
    ++list->count;
}

void DListUnlink(DList* list, DListNode* node) {
    if (list == nullptr || node == nullptr || list->count == 0) {
        return;
    }
    if (list->first == node && list->last == node) {
        list->first = nullptr;
        list->last = nullptr;
    } else if (list->first == node) {
        list->first = node->next;
        list->first->prev = nullptr;
    } else if (list->last == node) {
        list->last = node->prev;
        list->last->next = nullptr;
    } else {
        if (node->prev == nullptr || node->next == nullptr) {
            return;  // not on this list
        }
        node->prev->next = node->next;
        node->next->prev = node->prev;
    }
    node->prev = nullptr;
    node->next = nullptr;
    --list->count;
}

DListNode* DListPopFirst(DList* list) {
    if (list == nullptr || list->first == nullptr) {
        return nullptr;
    }
    DListNode* node = list->first;
    DListUnlink(list, node);
    return node;
}

}  // namespace tavoe
