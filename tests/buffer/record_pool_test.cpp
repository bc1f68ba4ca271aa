#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "buffer/guarded_block.h"
#include "buffer/record_pool.h"

using namespace tavoe;

namespace {

bool AllZero(const void* record, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(RecordPool, CreateRoundsSizeAndCutsName) {
    RecordPool* pool = PoolCreate("A name that is much longer than thirty-one characters", 13);
    ASSERT_NE(pool, nullptr);
    EXPECT_EQ(pool->recordSize, 16u);
    EXPECT_EQ(std::string(pool->name), std::string("A name that is much longer than"));
    EXPECT_EQ(std::strlen(pool->name), 31u);
    EXPECT_EQ(pool->guard, kTagGuardWord);
    PoolDestroy(pool);

    EXPECT_EQ(PoolCreate("", 8), nullptr);
    EXPECT_EQ(PoolCreate("TASK_UNDO", 0), nullptr);
    EXPECT_EQ(PoolCreate("TASK_UNDO", 64001), nullptr);  // would give pages without a slot
}

TEST(RecordPool, PagesHold64000BytesOfRecords) {
    RecordPool* pool = PoolCreate("DirList", 96);
    ASSERT_NE(pool, nullptr);
    std::vector<char*> records;
    for (int i = 0; i < 667; ++i) {
        records.push_back(static_cast<char*>(PoolAlloc(pool)));
        ASSERT_NE(records.back(), nullptr);
    }
    // 64000 / 96 = 666 records per page: the 667th opens a second page.
    EXPECT_EQ(pool->pageCount, 2u);
    auto* firstPage = static_cast<PoolPage*>(pool->pages.first);
    EXPECT_EQ(firstPage->capacity, 666u);
    EXPECT_EQ(firstPage->nextFree, 666u);
    EXPECT_EQ(records[1] - records[0], 96);
    EXPECT_EQ(records[665] - records[0], 665 * 96);
    EXPECT_EQ(static_cast<PoolPage*>(firstPage->next)->nextFree, 1u);
    EXPECT_EQ(PoolBytesHeld(pool), BlockTotalSize(sizeof(RecordPool)) + 2 * BlockTotalSize(64016));
    PoolDestroy(pool);
}

TEST(RecordPool, ReleasedRecordComesBackZeroedAndFirst) {
    RecordPool* pool = PoolCreate("COMPREC", 40);
    ASSERT_NE(pool, nullptr);
    auto* a = static_cast<char*>(PoolAlloc(pool));
    auto* b = static_cast<char*>(PoolAlloc(pool));
    auto* c = static_cast<char*>(PoolAlloc(pool));
    std::memset(a, 'a', 40);
    std::memset(b, 'b', 40);
    PoolFree(pool, b);
    PoolFree(pool, a);
    // The free list is taken from its front, in the order records were released.
    char* first = static_cast<char*>(PoolAlloc(pool));
    char* second = static_cast<char*>(PoolAlloc(pool));
    EXPECT_EQ(first, b);
    EXPECT_EQ(second, a);
    EXPECT_TRUE(AllZero(first, 40));
    EXPECT_TRUE(AllZero(second, 40));
    EXPECT_EQ(static_cast<char*>(PoolAlloc(pool)), c + 40);  // then the page goes on
    PoolDestroy(pool);
}

TEST(RecordPool, RecordsOfANewPageAreZeroOnMemoryAnotherPoolLeftDirty) {
    // Pages are not cleared as a whole: every record must be cleared as it is handed out.
    for (int round = 0; round < 3; ++round) {
        RecordPool* pool = PoolCreate("LINES", 96);
        ASSERT_NE(pool, nullptr);
        for (int i = 0; i < 2000; ++i) {
            auto* record = static_cast<char*>(PoolAlloc(pool));
            ASSERT_NE(record, nullptr);
            ASSERT_TRUE(AllZero(record, 96)) << "record " << i << " of round " << round;
            std::memset(record, 0xA5, 96);
        }
        PoolDestroy(pool);
    }
}

TEST(RecordPool, DamagedGuardGivesNoRecord) {
    RecordPool* pool = PoolCreate("SortBy", 8);
    ASSERT_NE(pool, nullptr);
    pool->guard = 0;
    EXPECT_EQ(PoolAlloc(pool), nullptr);
    EXPECT_EQ(pool->pageCount, 0u);
    pool->guard = kTagGuardWord;
    EXPECT_NE(PoolAlloc(pool), nullptr);
    EXPECT_EQ(PoolAlloc(nullptr), nullptr);
    PoolDestroy(pool);
}
