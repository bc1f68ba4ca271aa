#include <gtest/gtest.h>

#include <vector>

#include "buffer/text_buf.h"
#include "core/app_session.h"

using namespace tavoe;

namespace {

constexpr const char* kNotAllocated = "Tried to free textbuf which was not allocated, can't continue.";

class TextStoreTest : public ::testing::Test {
protected:
    ~TextStoreTest() override { TextStoreRelease(store); }
    AppSession app;
    TextStore store;
};

}  // namespace

TEST(TextBufClasses, SlotSizesAndSlotsPerPage) {
    EXPECT_EQ(TextSlotSize(1), 8u);
    EXPECT_EQ(TextSlotSize(8), 8u);
    EXPECT_EQ(TextSlotSize(9), 16u);
    EXPECT_EQ(TextSlotSize(64000), 64000u);
    EXPECT_EQ(TextSlotsPerPage(800), 80u);
    EXPECT_EQ(TextSlotsPerPage(640), 100u);
    EXPECT_EQ(TextSlotsPerPage(8), 100u);
    EXPECT_EQ(TextSlotsPerPage(64000), 1u);
}

TEST_F(TextStoreTest, LengthsShareClassesAndTableGrowsOnDemand) {
    TextBufRef one = TextBufAlloc(store, 1);
    TextBufRef eight = TextBufAlloc(store, 8);
    ASSERT_NE(one.data, nullptr);
    EXPECT_EQ(one.page, eight.page);  // both in class 1
    EXPECT_EQ(one.page->slotSize, 8u);
    EXPECT_EQ(store.classCount, 2u);
    TextBufRef nine = TextBufAlloc(store, 9);
    EXPECT_EQ(nine.page->slotSize, 16u);
    EXPECT_EQ(store.classCount, 3u);
    TextBufRef big = TextBufAlloc(store, 800);
    EXPECT_EQ(store.classCount, 101u);
    EXPECT_EQ(big.page->freeCount, 79u);
    // Growing the table kept the older classes: class 1 still hands out its page.
    EXPECT_EQ(TextBufAlloc(store, 3).page, one.page);
    EXPECT_EQ(TextBufAlloc(store, 0).data, nullptr);
    EXPECT_EQ(TextBufAlloc(store, 64001).data, nullptr);
    EXPECT_NE(TextBufAlloc(store, 64000).data, nullptr);
}

TEST_F(TextStoreTest, FullPageMakesNewPageAtFront) {
    std::vector<TextBufRef> bufs;
    for (int i = 0; i < 101; ++i) {
        bufs.push_back(TextBufAlloc(store, 5));
    }
    TextPage* older = bufs[0].page;
    TextPage* newer = bufs[100].page;
    EXPECT_NE(older, newer);
    EXPECT_EQ(bufs[99].page, older);
    EXPECT_EQ(bufs[1].data - bufs[0].data, 8);
    EXPECT_EQ(older->freeCount, 0u);
    EXPECT_EQ(newer->freeCount, 99u);
    EXPECT_EQ(store.classes[1].pages.first, newer);  // the newest page is searched first
    EXPECT_EQ(newer->next, older);
}

TEST_F(TextStoreTest, FreedSlotIsReusedFromTheFrontMostPage) {
    std::vector<TextBufRef> bufs;
    for (int i = 0; i < 200; ++i) {
        bufs.push_back(TextBufAlloc(store, 16));  // two full pages
    }
    TextPage* older = bufs[0].page;
    TextPage* newer = bufs[199].page;
    ASSERT_EQ(TextBufFree(app, store, older, bufs[7].data), 0);
    ASSERT_EQ(TextBufFree(app, store, older, bufs[3].data), 0);
    ASSERT_EQ(TextBufFree(app, store, newer, bufs[150].data), 0);
    EXPECT_EQ(older->freeCount, 2u);
    // The newer page stands in front, so its slot goes first; then the lowest free slot of the older.
    EXPECT_EQ(TextBufAlloc(store, 10).data, bufs[150].data);
    EXPECT_EQ(TextBufAlloc(store, 10).data, bufs[3].data);
    EXPECT_EQ(TextBufAlloc(store, 10).data, bufs[7].data);
    TextBufRef fresh = TextBufAlloc(store, 10);
    EXPECT_NE(fresh.page, older);
    EXPECT_NE(fresh.page, newer);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(TextStoreTest, DoubleReleaseIsReportedAndChangesNothing) {
    TextBufRef a = TextBufAlloc(store, 20);
    TextBufRef b = TextBufAlloc(store, 20);
    ASSERT_EQ(TextBufFree(app, store, a.page, a.data), 0);
    std::uint32_t freeCount = a.page->freeCount;
    EXPECT_EQ(TextBufFree(app, store, a.page, a.data), -1);
    EXPECT_EQ(a.page->freeCount, freeCount);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, kNotAllocated);
    EXPECT_EQ(app.messages[0].beep, Beep::Error);

    // An address inside a slot, or outside the page's slots, is not a buffer either.
    EXPECT_EQ(TextBufFree(app, store, b.page, b.data + 1), -1);
    EXPECT_EQ(TextBufFree(app, store, b.page, b.data + 24 * 100), -1);
    EXPECT_EQ(app.messages.size(), 3u);
    EXPECT_EQ(b.page->inUse[1], 1);
    EXPECT_EQ(TextBufFree(app, store, nullptr, nullptr), 0);
}

TEST_F(TextStoreTest, HeldBytesCountPagesAndTable) {
    std::size_t empty = store.bytesHeld;
    TextBufAlloc(store, 80);
    std::size_t onePage = store.bytesHeld - empty;
    // One page of 100 slots of 80 bytes plus its header, one table and one room list.
    EXPECT_GE(onePage, 8000u + sizeof(TextPage));
    EXPECT_LT(onePage, 8000u + sizeof(TextPage) + 11 * sizeof(TextClass) + 256);
}
