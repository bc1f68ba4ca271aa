#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <regex>
#include <string>

#include "core/shared_block.h"
#include "platform/format.h"

using namespace tavoe;

namespace {

uint32_t RawInt(const SharedSessionBlock& block, size_t offset) {
    const uint8_t* p = block.Bytes() + offset;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::string RawText(const SharedSessionBlock& block, size_t offset) {
    return reinterpret_cast<const char*>(block.Bytes() + offset);
}

std::string UniqueBlockName() {
    static int counter = 0;
    return Format("/tavoe_sbtest_%d_%d", static_cast<int>(getpid()), ++counter);
}

}  // namespace

TEST(SharedBlockLayout, IntegersLandLittleEndianAtTheirOffsets) {
    auto block = SharedSessionBlock::CreatePrivate();
    block->SetSessionCount(0x01020304);
    block->SetLastSessionId(7);
    block->SetHighestSessionCount(9);
    block->SetLastRegistered(4242);
    block->SetSlotWindow(5, 111);
    block->SetSlotOwner(5, 222);
    block->SetSlotId(5, 333);
    block->SetSlotWindow(31, 444);
    block->SetRecentInUse(26, true);
    block->SetHistoryNewest(11);
    block->SetHistoryCursor(12);
    block->SetHistoryDirection(RetrieveDirection::Forward);
    block->SetWindowX(-5);
    block->SetWindowY(20);
    block->SetWindowExtentX(800);
    block->SetWindowExtentY(600);
    block->SetWindowMaximized(1);
    block->SetWindowPositionState(1);

    const uint8_t* bytes = block->Bytes();
    EXPECT_EQ(bytes[19712], 0x04);
    EXPECT_EQ(bytes[19715], 0x01);
    EXPECT_EQ(RawInt(*block, 19716), 7u);
    EXPECT_EQ(RawInt(*block, 19720), 9u);
    EXPECT_EQ(RawInt(*block, 0), 4242u);
    EXPECT_EQ(RawInt(*block, 5 * 268 + 8), 111u);
    EXPECT_EQ(RawInt(*block, 5 * 268 + 12), 222u);
    EXPECT_EQ(RawInt(*block, 5 * 268 + 16), 333u);
    EXPECT_EQ(RawInt(*block, 31 * 268 + 8), 444u);
    EXPECT_EQ(RawInt(*block, 8584 + 26 * 260), 1u);
    EXPECT_EQ(RawInt(*block, 15604), 11u);
    EXPECT_EQ(RawInt(*block, 15608), 12u);
    EXPECT_EQ(RawInt(*block, 15612), 2u);
    EXPECT_EQ(RawInt(*block, 19732), 0xFFFFFFFBu);
    EXPECT_EQ(RawInt(*block, 19736), 20u);
    EXPECT_EQ(RawInt(*block, 19740), 800u);
    EXPECT_EQ(RawInt(*block, 19744), 600u);
    EXPECT_EQ(RawInt(*block, 19748), 1u);
    EXPECT_EQ(RawInt(*block, 19752), 1u);
    EXPECT_EQ(block->WindowX(), -5);
    EXPECT_EQ(block->HistoryDirection(), RetrieveDirection::Forward);
}

TEST(SharedBlockLayout, TextsLandAtTheirOffsetsAndAreCutToTheirFields) {
    auto block = SharedSessionBlock::CreatePrivate();
    block->SetSlotTitle(3, "Verso[4]  main.c");
    block->SetRecentPath(26, "/home/u/last.txt");
    block->SetHistorySlot(15, "find abc");
    block->SetInstallationFacts("Linux", "6.1", "76", "-18-amd64", "3.5", "616", "/opt/tavoe35");
    block->SetSearchText("needle");

    EXPECT_EQ(RawText(*block, 3 * 268 + 20), "Verso[4]  main.c");
    EXPECT_EQ(RawText(*block, 8584 + 26 * 260 + 4), "/home/u/last.txt");
    EXPECT_EQ(RawText(*block, 15616 + 15 * 256), "find abc");
    EXPECT_EQ(RawText(*block, 19756), "Linux");
    EXPECT_EQ(RawText(*block, 19788), "6.1");
    EXPECT_EQ(RawText(*block, 19820), "76");
    EXPECT_EQ(RawText(*block, 19852), "-18-amd64");
    EXPECT_EQ(RawText(*block, 19884), "3.5");
    EXPECT_EQ(RawText(*block, 19916), "616");
    EXPECT_EQ(RawText(*block, 19948), "/opt/tavoe35");
    EXPECT_EQ(RawText(*block, 20204), "needle");

    // A text longer than its field keeps size - 1 characters and its NUL; the next field is intact.
    block->SetSlotId(4, 77);
    block->SetSlotTitle(3, std::string(300, 'x'));
    // (The title field ends where the slot keeps its owner's start time.)
    EXPECT_EQ(block->SlotTitle(3), std::string(239, 'x'));
    EXPECT_EQ(block->Bytes()[3 * 268 + 20 + 239], 0);
    EXPECT_EQ(block->SlotId(4), 77);
    // A shorter text clears what a longer one left behind.
    block->SetSlotTitle(3, "ab");
    EXPECT_EQ(block->Bytes()[3 * 268 + 20 + 5], 0);
    // A field without its NUL (written by a faulty writer) is read only to the field's end.
    std::memset(block->Bytes() + 20204, 'z', 256);
    EXPECT_EQ(block->SearchText().size(), 256u);
}

TEST(SharedBlockLayout, IndexesOutsideTheTablesTouchNothing) {
    auto block = SharedSessionBlock::CreatePrivate();
    block->SetSlotId(32, 5);            // would be the first recent entry
    block->SetRecentPath(27, "x");      // would be the history newest index
    block->SetHistorySlot(16, "oops");  // would be the session count
    block->SetSlotTitle(-1, "neg");
    for (size_t i = 0; i < kSharedBlockSize; ++i) {
        ASSERT_EQ(block->Bytes()[i], 0) << "byte " << i;
    }
    EXPECT_EQ(block->SlotId(32), 0);
    EXPECT_TRUE(block->HistorySlotEmpty(16));
    // Stored indexes out of range read as slot 0.
    block->WriteInt(shared_layout::kHistoryCursor, 999);
    block->WriteInt(shared_layout::kHistoryNewest, -3);
    EXPECT_EQ(block->HistoryCursor(), 0);
    EXPECT_EQ(block->HistoryNewest(), 0);
}

TEST(SharedBlockSlots, ClearAndCopyKeepTheSlotZeroWord) {
    auto block = SharedSessionBlock::CreatePrivate();
    block->SetLastRegistered(99);
    block->SetSlotId(0, 1);
    block->SetSlotTitle(0, "zero");
    block->SetSlotId(1, 2);
    block->SetSlotTitle(1, "one");
    block->AddSlotPending(1, kPendingTitle);
    block->CopySlot(1, 0);
    EXPECT_EQ(block->LastRegistered(), 99);
    EXPECT_EQ(block->SlotId(0), 2);
    EXPECT_EQ(block->SlotTitle(0), "one");
    EXPECT_EQ(block->TakeSlotPending(0), kPendingTitle);  // requests move with their slot
    block->ClearSlot(0);
    EXPECT_EQ(block->LastRegistered(), 99);
    EXPECT_EQ(block->SlotId(0), 0);
    EXPECT_EQ(block->SlotTitle(0), "");

    block->AddSlotPending(2, kPendingClose);
    block->AddSlotPending(2, kPendingWindowMenu);
    EXPECT_EQ(block->TakeSlotPending(2), kPendingClose | kPendingWindowMenu);
    EXPECT_EQ(block->TakeSlotPending(2), 0u);
}

TEST(SharedBlockSlots, ValidityCatchesWhatNoInstanceWritesAndStartTimesMoveWithSlots) {
    auto block = SharedSessionBlock::CreatePrivate();
    EXPECT_TRUE(block->LooksValid("Linux"));  // a fresh block
    block->SetSessionCount(2);
    EXPECT_FALSE(block->LooksValid("Linux"));  // counted slots without owners
    for (int slot : {0, 1}) {
        block->SetSlotOwner(slot, 100 + slot);
        block->SetSlotId(slot, slot + 1);
    }
    EXPECT_TRUE(block->LooksValid("Linux"));
    block->SetSlotOwner(5, 4242);  // an owner beyond the count
    EXPECT_FALSE(block->LooksValid("Linux"));
    block->ClearSlot(5);
    block->SetSessionCount(kMaxSessions + 1);
    EXPECT_FALSE(block->LooksValid("Linux"));
    block->SetSessionCount(-1);
    EXPECT_FALSE(block->LooksValid("Linux"));
    block->SetSessionCount(2);
    block->SetInstallationFacts("Linux", "6.1", "76", "", "3.5", "616", "/opt");
    EXPECT_TRUE(block->LooksValid("Linux"));
    EXPECT_FALSE(block->LooksValid("Plan9"));  // facts of another system: not this block's
    // The start time sits behind the title and travels with its slot.
    block->SetSlotStartTime(1, 0x1234567890ull);
    block->SetSlotTitle(1, std::string(300, 't'));
    block->CopySlot(1, 0);
    EXPECT_EQ(block->SlotStartTime(0), 0x1234567890ull);
    block->Reset();
    EXPECT_EQ(block->SessionCount(), 0);
    EXPECT_EQ(block->SlotStartTime(0), 0u);
}

TEST(SharedBlockNamed, TwoMappingsShareBytesAndUnlinkStartsAfresh) {
    std::string name = UniqueBlockName();
    std::string error;
    auto first = SharedSessionBlock::OpenNamed(name, &error);
    ASSERT_NE(first, nullptr) << error;
    for (size_t i = 0; i < kSharedBlockSize; ++i) {
        ASSERT_EQ(first->Bytes()[i], 0);
    }
    auto second = SharedSessionBlock::OpenNamed(name, &error);
    ASSERT_NE(second, nullptr) << error;
    first->SetHistorySlot(3, "shared text");
    first->SetSessionCount(2);
    EXPECT_EQ(second->HistorySlot(3), "shared text");
    EXPECT_EQ(second->SessionCount(), 2);

    first->UnlinkName();
    // The old mappings stay usable; a new opener gets a fresh, empty block.
    EXPECT_EQ(second->SessionCount(), 2);
    auto third = SharedSessionBlock::OpenNamed(name, &error);
    ASSERT_NE(third, nullptr) << error;
    EXPECT_EQ(third->SessionCount(), 0);
    // The stale mapping must not remove the newer block's name.
    second->UnlinkName();
    auto fourth = SharedSessionBlock::OpenNamed(name, &error);
    third->SetSessionCount(5);
    EXPECT_EQ(fourth->SessionCount(), 5);
    third->UnlinkName();
}

TEST(SharedBlockNamed, NameMangledFromTheProgramPathPerUser) {
    EXPECT_EQ(SharedBlockName("/opt/my tavo/bin/tavoe.x:y\\z", 1000), "/_opt_my_tavo_bin_tavoe_x_y_z_u1000");
    EXPECT_NE(SharedBlockName("/usr/bin/tavoe", 1000), SharedBlockName("/usr/bin/tavoe", 1001));
    std::string longA = "/" + std::string(300, 'a') + "/one/tavoe";
    std::string longB = "/" + std::string(300, 'a') + "/two/tavoe";
    std::string nameA = SharedBlockName(longA, 1);
    EXPECT_LE(nameA.size(), 240u);
    EXPECT_EQ(nameA[0], '/');
    EXPECT_EQ(nameA.find('/', 1), std::string::npos);
    EXPECT_NE(nameA, SharedBlockName(longB, 1));
}

TEST(SharedBlockInstallation, HomeFromEnvironmentOrTwoLevelsUp) {
    EXPECT_EQ(InstallationHome("/work/build/bin/tavoe", "/srv/tavo"), "/srv/tavo");
    EXPECT_EQ(InstallationHome("/work/build/bin/tavoe", ""), "/work/build");
    EXPECT_EQ(InstallationHome("/work/build/bin/tavoe", nullptr), "/work/build");
    EXPECT_EQ(InstallationHome("/bin/tavoe", nullptr), "/");
    EXPECT_EQ(InstallationHome("/tavoe", nullptr), "/opt/tavoe35");
    EXPECT_EQ(InstallationHome("", nullptr), "/opt/tavoe35");
}

TEST(SharedBlockInstallation, FirstInstanceFillsTheFactsOnce) {
    auto block = SharedSessionBlock::CreatePrivate();
    const char* saved = getenv("TAVOE35");
    std::string savedValue = saved ? saved : "";
    unsetenv("TAVOE35");
    FillInstallationFields(*block, "/work/build/bin/tavoe");
    EXPECT_EQ(block->OsName(), "Linux");
    EXPECT_TRUE(std::regex_match(block->OsVersion(), std::regex("[0-9]+\\.[0-9]+")));
    EXPECT_TRUE(std::regex_match(block->OsBuild(), std::regex("[0-9]+")));
    EXPECT_EQ(block->ProgramVersion(), "3.5");
    EXPECT_EQ(block->ProgramBuild(), "616");
    EXPECT_EQ(block->HomeDirectory(), "/work/build");

    setenv("TAVOE35", "/elsewhere", 1);
    FillInstallationFields(*block, "/other/bin/tavoe");
    EXPECT_EQ(block->HomeDirectory(), "/work/build");  // already filled: left alone
    auto fresh = SharedSessionBlock::CreatePrivate();
    FillInstallationFields(*fresh, "/other/bin/tavoe");
    EXPECT_EQ(fresh->HomeDirectory(), "/elsewhere");
    if (saved) {
        setenv("TAVOE35", savedValue.c_str(), 1);
    } else {
        unsetenv("TAVOE35");
    }
}
