#include <gtest/gtest.h>

#include <vector>

#include "buffer/dlist.h"
#include "buffer/slist.h"

using namespace tavoe;

namespace {

struct Item : DListNode {
    int value = 0;
};

struct Link : SListNode {
    int value = 0;
};

std::vector<int> Forward(const DList& list) {
    std::vector<int> values;
    for (DListNode* node = list.first; node != nullptr; node = DListNext(node)) {
        values.push_back(static_cast<Item*>(node)->value);
    }
    return values;
}

std::vector<int> Backward(const DList& list) {
    std::vector<int> values;
    for (DListNode* node = list.last; node != nullptr; node = DListPrev(node)) {
        values.push_back(static_cast<Item*>(node)->value);
    }
    return values;
}

std::vector<int> Values(const SList& list) {
    std::vector<int> values;
    for (SListNode* node = SListFirst(&list); node != nullptr; node = SListNext(node)) {
        values.push_back(static_cast<Link*>(node)->value);
    }
    return values;
}

}  // namespace

TEST(DList, InsertsKeepBothDirectionsAndCount) {
    Item a, b, c, d, e;
    a.value = 1, b.value = 2, c.value = 3, d.value = 4, e.value = 5;
    DList list;
    DListInsertBefore(&list, nullptr, &b);  // empty list: appended
    DListAppend(&list, &d);
    DListPrepend(&list, &a);
    DListInsertBefore(&list, &d, &c);  // inner
    DListInsertAfter(&list, &d, &e);   // after the last
    EXPECT_EQ(Forward(list), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Backward(list), (std::vector<int>{5, 4, 3, 2, 1}));
    EXPECT_EQ(DListCount(&list), 5u);

    Item f;
    f.value = 0;
    DListInsertBefore(&list, &a, &f);  // before the first: prepended
    EXPECT_EQ(list.first, &f);
    EXPECT_EQ(f.prev, nullptr);
    EXPECT_EQ(DListCount(&list), 6u);
}

TEST(DList, UnlinkHandlesEveryPositionAndClearsLinks) {
    Item a, b, c, d;
    a.value = 1, b.value = 2, c.value = 3, d.value = 4;
    DList list;
    for (Item* item : {&a, &b, &c, &d}) {
        DListAppend(&list, item);
    }
    DListUnlink(&list, &b);  // inner
    EXPECT_EQ(b.prev, nullptr);
    EXPECT_EQ(b.next, nullptr);
    DListUnlink(&list, &a);  // first
    DListUnlink(&list, &d);  // last
    EXPECT_EQ(Forward(list), (std::vector<int>{3}));
    EXPECT_EQ(list.first, list.last);
    DListUnlink(&list, &c);  // only
    EXPECT_EQ(list.first, nullptr);
    EXPECT_EQ(list.last, nullptr);
    EXPECT_EQ(DListCount(&list), 0u);
    DListUnlink(&list, &c);  // empty list: nothing happens
    EXPECT_EQ(DListCount(&list), 0u);
}

TEST(DList, PopFirstAndMissingArguments) {
    Item a, b;
    a.value = 1, b.value = 2;
    DList list;
    EXPECT_EQ(DListPopFirst(&list), nullptr);
    DListAppend(&list, &a);
    DListAppend(&list, &b);
    EXPECT_EQ(DListPopFirst(&list), &a);
    EXPECT_EQ(a.next, nullptr);
    EXPECT_EQ(list.first, &b);
    EXPECT_EQ(b.prev, nullptr);

    DListAppend(nullptr, &a);
    DListAppend(&list, nullptr);
    DListInsertBefore(&list, &b, nullptr);
    DListUnlink(nullptr, &b);
    EXPECT_EQ(DListCount(&list), 1u);
    EXPECT_EQ(DListCount(nullptr), 0u);
    EXPECT_EQ(DListNext(nullptr), nullptr);
    EXPECT_EQ(DListPopFirst(nullptr), nullptr);
}

TEST(SList, StatusCodesOfMissingArguments) {
    SList list;
    Link a;
    EXPECT_EQ(SListPushFront(&list, nullptr), SListStatus::PushNoNode);
    EXPECT_EQ(static_cast<int>(SListPushFront(nullptr, &a)), 2);
    EXPECT_EQ(static_cast<int>(SListAppend(&list, nullptr)), 3);
    EXPECT_EQ(static_cast<int>(SListAppend(nullptr, &a)), 4);
    EXPECT_EQ(static_cast<int>(SListRemove(&list, &a)), 6);  // empty list
    EXPECT_EQ(static_cast<int>(SListRemove(&list, nullptr)), 7);
    EXPECT_EQ(static_cast<int>(SListRemove(nullptr, &a)), 8);
    Link b;
    EXPECT_EQ(SListAppend(&list, &b), SListStatus::Ok);
    EXPECT_EQ(static_cast<int>(SListRemove(&list, &a)), 5);  // not on the list
    EXPECT_EQ(SListCount(&list), 1);
}

TEST(SList, PushAppendInsertAndRemoveKeepFirstAndLast) {
    Link a, b, c, d;
    a.value = 1, b.value = 2, c.value = 3, d.value = 4;
    SList list;
    EXPECT_EQ(SListPushFront(&list, &b), SListStatus::Ok);
    EXPECT_EQ(list.last, &b);  // set when the list was empty
    SListAppend(&list, &d);
    SListPushFront(&list, &a);
    EXPECT_EQ(SListInsertBefore(&list, &d, &c), SListStatus::Ok);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(SListCount(&list), 4);

    EXPECT_EQ(SListRemove(&list, &d), SListStatus::Ok);  // last: the last pointer moves back
    EXPECT_EQ(list.last, &c);
    SListAppend(&list, &d);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(SListRemove(&list, &a), SListStatus::Ok);  // first: popped
    EXPECT_EQ(list.first, &b);
    EXPECT_EQ(SListRemove(&list, &c), SListStatus::Ok);  // inner
    EXPECT_EQ(Values(list), (std::vector<int>{2, 4}));

    EXPECT_EQ(SListInsertBefore(&list, &b, &a), SListStatus::Ok);  // before the first
    EXPECT_EQ(list.first, &a);
    EXPECT_EQ(SListPopFront(&list), &a);
    EXPECT_EQ(SListPopFront(&list), &b);
    EXPECT_EQ(SListPopFront(&list), &d);
    EXPECT_EQ(SListPopFront(&list), nullptr);
    EXPECT_EQ(list.last, nullptr);
}

// A node whose `before` is not on the list is not linked; the answer says so, so the caller knows it
// still holds the node.
TEST(SList, InsertBeforeUnknownNodeLinksNothing) {
    Link a, b, stranger;
    SList list;
    SListAppend(&list, &a);
    EXPECT_EQ(SListInsertBefore(&list, &stranger, &b), SListStatus::NotInList);
    EXPECT_EQ(SListCount(&list), 1);
    EXPECT_EQ(SListInsertBefore(&list, nullptr, &b), SListStatus::NotInList);
    EXPECT_EQ(SListCount(&list), 1);
}
