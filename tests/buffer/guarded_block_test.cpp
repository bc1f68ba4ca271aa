#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "buffer/guarded_block.h"

using namespace tavoe;

namespace {

std::uint32_t WordAt(const void* at) {
    std::uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

const unsigned char* BlockStart(const void* payload) {
    return static_cast<const unsigned char*>(payload) - kBlockHeaderSize;
}

}  // namespace

TEST(GuardedBlock, LayoutHasGuardsSizeAndZeroedRoundedPayload) {
    for (std::size_t size : {1u, 8u, 9u, 100u}) {
        auto* payload = static_cast<unsigned char*>(BlockAlloc(size));
        ASSERT_NE(payload, nullptr);
        std::size_t rounded = (size + 7) / 8 * 8;
        const unsigned char* block = BlockStart(payload);
        EXPECT_EQ(std::memcmp(block, "TAG", 4), 0);
        EXPECT_EQ(WordAt(block + 4), rounded + 12);
        EXPECT_EQ(BlockSize(payload), rounded + 12);
        EXPECT_EQ(std::memcmp(payload + rounded, "END", 4), 0);
        for (std::size_t i = 0; i < rounded; ++i) {
            ASSERT_EQ(payload[i], 0) << "byte " << i << " of a block of " << size;
        }
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(payload) % 8, 0u);
        BlockFree(payload);
    }
}

TEST(GuardedBlock, PageSizedBlocksComeBackZeroedWhenTheHeapReusesTheirMemory) {
    // Large blocks take another way through the heap (their pages are made present together): a
    // block made from memory a released block left dirty is still all zeros.
    for (std::size_t size : {4096u, 64000u, 300000u}) {
        for (int round = 0; round < 3; ++round) {
            auto* payload = static_cast<unsigned char*>(BlockAlloc(size));
            ASSERT_NE(payload, nullptr);
            for (std::size_t i = 0; i < size; ++i) {
                ASSERT_EQ(payload[i], 0) << "byte " << i << " of a block of " << size << ", round " << round;
            }
            EXPECT_EQ(std::memcmp(payload + size, "END", 4), 0);
            std::memset(payload, 0xA5, size);
            BlockFree(payload);
        }
    }
}

TEST(GuardedBlock, SecondReleaseAndForeignPointersAreIgnored) {
    void* payload = BlockAlloc(24);
    ASSERT_NE(payload, nullptr);
    BlockFree(payload);
    BlockFree(payload);  // must neither crash nor release anything again
    BlockFree(nullptr);
    int local = 0;
    BlockFree(&local);
    void* again = BlockAlloc(24);  // the allocator still works
    EXPECT_NE(again, nullptr);
    BlockFree(again);
}

TEST(GuardedBlock, DamagedTrailingGuardKeepsBlock) {
    auto* payload = static_cast<unsigned char*>(BlockAlloc(16));
    ASSERT_NE(payload, nullptr);
    payload[16] = 'X';  // an overrun into the trailing guard
    BlockFree(payload);
    // Not released: the header still reads "TAG" and the block can be repaired and freed.
    EXPECT_EQ(std::memcmp(BlockStart(payload), "TAG", 4), 0);
    payload[16] = 'E';
    BlockFree(payload);
}

TEST(GuardedBlock, DamagedLeadingGuardKeepsBlock) {
    auto* payload = static_cast<unsigned char*>(BlockAlloc(8));
    ASSERT_NE(payload, nullptr);
    auto* head = const_cast<unsigned char*>(BlockStart(payload));
    head[0] = 'x';
    BlockFree(payload);
    EXPECT_EQ(head[0], 'x');
    head[0] = 'T';
    BlockFree(payload);
}
