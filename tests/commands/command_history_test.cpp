#include "commands/command_history.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_session.h"
#include "core/shared_block.h"
#include "platform/format.h"

using namespace tavoe;

namespace {

void AddAll(AppSession& app, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        HistoryAdd(app, text);
    }
}

// Retrieves once per step ('P' previous, 'N' next) and answers what came back, joined by ",".
std::string Retrieve(AppSession& app, std::string_view steps) {
    std::string got;
    for (char step : steps) {
        got += (got.empty() ? "" : ",") + (step == 'P' ? HistoryPrevious(app) : HistoryNext(app));
    }
    return got;
}

}  // namespace

TEST(HistoryAdd, RepeatedCommandIsKeptOnceAsTheNewest) {
    AppSession app;
    AddAll(app, {"A", "B", "A"});
    SharedSessionBlock& block = SharedBlock(app);
    EXPECT_EQ(block.HistorySlot(0), "B");
    EXPECT_EQ(block.HistorySlot(1), "A");
    EXPECT_TRUE(block.HistorySlotEmpty(2));
    EXPECT_EQ(block.HistoryNewest(), 1);
    EXPECT_EQ(HistoryEntries(app), (std::vector<std::string>{"A", "B"}));

    HistoryAdd(app, "A");  // the newest again: nothing new is stored
    HistoryAdd(app, "");
    EXPECT_EQ(HistoryEntries(app), (std::vector<std::string>{"A", "B"}));
    HistoryAdd(app, std::string(300, 'q'));
    EXPECT_EQ(HistoryEntries(app).front(), std::string(255, 'q'));
}

TEST(HistoryAdd, FullHistoryDropsTheOldestAndKeepsEveryOtherCommand) {
    AppSession app;
    for (int i = 0; i < 20; ++i) {
        HistoryAdd(app, Format("c%d", i));
    }
    std::vector<std::string> entries = HistoryEntries(app);
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries.front(), "c19");
    EXPECT_EQ(entries.back(), "c4");

    // Repeating a command from the middle of a wrapped history moves it to the front; only the
    // oldest command gives way, and the saved list still reaches back past the gap.
    HistoryAdd(app, "c10");
    entries = HistoryEntries(app);
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[0], "c10");
    EXPECT_EQ(entries[1], "c19");
    EXPECT_EQ(entries.back(), "c5");
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "c10"), 1);
    EXPECT_EQ(HistoryPrevious(app), "c10");
    EXPECT_EQ(HistoryPrevious(app), "c19");
}

TEST(HistoryRetrieve, PreviousWalksBackAndWrapsToTheNewest) {
    AppSession app;
    EXPECT_EQ(HistoryPrevious(app), "");  // an empty history retrieves nothing
    EXPECT_EQ(HistoryNext(app), "");
    AddAll(app, {"A", "B", "C"});
    EXPECT_EQ(Retrieve(app, "PPPPP"), "C,B,A,C,B");
}

TEST(HistoryRetrieve, NextWalksForwardAndWrapsToTheOldest) {
    AppSession app;
    AddAll(app, {"A", "B", "C"});
    EXPECT_EQ(Retrieve(app, "NNNNN"), "C,A,B,C,A");
}

TEST(HistoryRetrieve, ChangingDirectionReturnsTheNeighbour) {
    AppSession app;
    AddAll(app, {"A", "B", "C"});
    // Forward from B gives C then A; back from A goes around the ring to C, then B.
    EXPECT_EQ(Retrieve(app, "PPNNPP"), "C,B,C,A,C,B");
}

TEST(HistoryRetrieve, FullRingWrapsBothWays) {
    AppSession app;
    for (int i = 0; i < 20; ++i) {
        HistoryAdd(app, Format("c%d", i));
    }
    for (int i = 19; i >= 4; --i) {
        ASSERT_EQ(HistoryPrevious(app), Format("c%d", i));
    }
    EXPECT_EQ(HistoryPrevious(app), "c19");
    HistoryAdd(app, "c19");  // repeating the newest starts again from it
    EXPECT_EQ(HistoryNext(app), "c19");
    EXPECT_EQ(HistoryNext(app), "c4");
    EXPECT_EQ(HistoryNext(app), "c5");
}

TEST(HistoryRetrieve, NewCommandIsRetrievedFirstWhateverTheLastDirection) {
    AppSession app;
    AddAll(app, {"A", "B", "C"});
    EXPECT_EQ(HistoryNext(app), "C");
    EXPECT_EQ(HistoryNext(app), "A");
    HistoryAdd(app, "D");
    EXPECT_EQ(HistoryPrevious(app), "D");
    EXPECT_EQ(HistoryPrevious(app), "C");

    HistoryPrevious(app);
    HistoryAdd(app, "");  // an empty command only puts the cursor back on the newest
    EXPECT_EQ(HistoryPrevious(app), "D");
}

TEST(HistoryRetrieve, DamagedCursorStaysInsideTheSlots) {
    AppSession app;
    AddAll(app, {"A", "B"});
    SharedSessionBlock& block = SharedBlock(app);
    block.WriteInt(shared_layout::kHistoryCursor, 4000);
    block.WriteInt(shared_layout::kHistoryDirection, 77);
    EXPECT_EQ(HistoryPrevious(app), "A");
    block.WriteInt(shared_layout::kHistoryCursor, -1);
    EXPECT_EQ(HistoryNext(app), "A");
}

TEST(HistoryShared, InstancesOnOneBlockRetrieveEachOthersCommands) {
    std::string name = Format("/tavoe_histtest_%d", static_cast<int>(getpid()));
    std::string error;
    AppSession first;
    AppSession second;
    first.shared = SharedSessionBlock::OpenNamed(name, &error);
    second.shared = SharedSessionBlock::OpenNamed(name, &error);
    ASSERT_NE(first.shared, nullptr) << error;
    ASSERT_NE(second.shared, nullptr) << error;
    HistoryAdd(first, "find abc");
    HistoryAdd(second, "top");
    EXPECT_EQ(HistoryPrevious(first), "top");
    EXPECT_EQ(HistoryPrevious(second), "find abc");
    EXPECT_EQ(second.shared->ReadText(shared_layout::kHistorySlots, 256), "find abc");
    shm_unlink(name.c_str());
}
