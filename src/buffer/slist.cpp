#include "buffer/slist.h"

namespace tavoe {

SListStatus SListPushFront(SList* list, SListNode* node) {
    if (node == nullptr) {
        return SListStatus::PushNoNode;
    }
    if (list == nullptr) {
        return SListStatus::PushNoList;
    }
    node->next = list->first;
    list->first = node;
    if (list->last == nullptr) {
        list->last = node;
    }
    return SListStatus::Ok;
}

SListStatus SListAppend(SList* list, SListNode* node) {
    if (node == nullptr) {
        return SListStatus::AppendNoNode;
    }
    if (list == nullptr) {
        return SListStatus::AppendNoList;
    }
    node->next = nullptr;
    if (list->last == nullptr) {
        list->first = node;
    } else {
        list->last->next = node;
    }
    list->last = node;
    return SListStatus::Ok;
}

SListStatus SListInsertBefore(SList* list, SListNode* before, SListNode* node) {
    if (node == nullptr) {
        return SListStatus::AppendNoNode;
    }
    if (list == nullptr) {
        return SListStatus::AppendNoList;
    }
    if (before != nullptr && before == list->first) {
        return SListPushFront(list, node);
    }
    for (SListNode* walk = list->first; walk != nullptr; walk = walk->next) {
        if (walk->next == before && before != nullptr) {
            node->next = before;
            walk->next = node;
            return SListStatus::Ok;
        }
    }
    return SListStatus::NotInList;
}

SListStatus SListRemove(SList* list, SListNode* node) {
    if (list == nullptr) {
        return SListStatus::RemoveNoList;
    }
    if (node == nullptr) {
        return SListStatus::RemoveNoNode;
    }
    if (list->first == nullptr) {
        return SListStatus::ListEmpty;
    }
    if (list->first == node) {
        SListPopFront(list);
        return SListStatus::Ok;
    }
    for (SListNode* walk = list->first; walk->next != nullptr; walk = walk->next) {
        if (walk->next == node) {
            walk->next = node->next;
            if (list->last == node) {
                list->last = walk;
            }
            node->next = nullptr;
            return SListStatus::Ok;
        }
    }
    return SListStatus::NotInList;
}

SListNode* SListPopFront(SList* list) {
    if (list == nullptr || list->first == nullptr) {
        return nullptr;
    }
    SListNode* node = list->first;
    list->first = node->next;
    if (list->first == nullptr) {
        list->last = nullptr;
    }
    node->next = nullptr;
    return node;
}

int SListCount(const SList* list) {
    int count = 0;
    for (SListNode* walk = SListFirst(list); walk != nullptr; walk = walk->next) {
        ++count;
    }
    return count;
}

}  // namespace tavoe
