#include "commands/command_history.h"

#include "core/app_session.h"
#include "core/shared_block.h"

namespace tavoe {

namespace {

constexpr int kLastSlot = kHistorySlotCount - 1;

int StepBack(int index) {
    return index == 0 ? kLastSlot : index - 1;
}

int StepForward(int index) {
    return index == kLastSlot ? 0 : index + 1;
}

}  // namespace

void HistoryAdd(AppSession& app, std::string_view text) {
    SharedSessionBlock& block = SharedBlock(app);
    // A slot holds 255 characters; longer text is kept as far as it fits.
    text = text.substr(0, shared_layout::kHistorySlotSize - 1);
    int newest = block.HistoryNewest();
    // Whatever retrieving went on before, the next RETRIEVE starts again from the newest command.
    // (Keeping a forward direction here made RETRIEVE right after a command skip that command.)
    block.SetHistoryDirection(RetrieveDirection::None);
    if (text.empty() || block.HistorySlot(newest) == text) {
        block.SetHistoryCursor(newest);
        return;
    }
    int older = -1;
    for (int i = 0; i < kHistorySlotCount; ++i) {
        if (!block.HistorySlotEmpty(i) && block.HistorySlot(i) == text) {
            older = i;
            break;
        }
    }
    newest = block.HistorySlotEmpty(0) ? 0 : StepForward(newest);
    block.SetHistorySlot(newest, text);
    if (older >= 0 && older != newest) {
        // Close the gap the older copy leaves: later slots move up one and the last becomes empty.
        for (int i = older; i < kLastSlot; ++i) {
            block.SetHistorySlot(i, block.HistorySlot(i + 1));
        }
        block.SetHistorySlot(kLastSlot, "");
        if (older < newest) {
            --newest;
        }
    }
    block.SetHistoryNewest(newest);
    block.SetHistoryCursor(newest);
}

std::string HistoryPrevious(AppSession& app) {
    SharedSessionBlock& block = SharedBlock(app);
    int cursor = block.HistoryCursor();
    if (block.HistoryDirection() == RetrieveDirection::Forward) {
        cursor = StepBack(cursor);
    }
    block.SetHistoryDirection(RetrieveDirection::Backward);
    while (cursor > 0 && block.HistorySlotEmpty(cursor)) {
        --cursor;
    }
    std::string result = block.HistorySlot(cursor);
    block.SetHistoryCursor(StepBack(cursor));
    return result;
}

std::string HistoryNext(AppSession& app) {
    SharedSessionBlock& block = SharedBlock(app);
    int cursor = block.HistoryCursor();
    RetrieveDirection direction = block.HistoryDirection();
    if (direction == RetrieveDirection::Backward && !block.HistorySlotEmpty(cursor)) {
        cursor = StepForward(cursor);
        if (block.HistorySlotEmpty(cursor)) {
            cursor = 0;
        }
    }
    if (direction != RetrieveDirection::None && !block.HistorySlotEmpty(cursor)) {
        cursor = StepForward(cursor);
    }
    block.SetHistoryDirection(RetrieveDirection::Forward);
    while (cursor < kHistorySlotCount && block.HistorySlotEmpty(cursor)) {
        ++cursor;
    }
    if (cursor > kLastSlot) {
        cursor = 0;
    }
    block.SetHistoryCursor(cursor);
    return block.HistorySlot(cursor);
}

std::vector<std::string> HistoryEntries(AppSession& app) {
    const SharedSessionBlock& block = SharedBlock(app);
    // Empty slots are passed over rather than ending the walk: removing a repeated command from a
    // history that has wrapped leaves its gap in the middle of the ring, and stopping there would
    // drop every older command from the saved history.
    std::vector<std::string> entries;
    int index = block.HistoryNewest();
    for (int n = 0; n < kHistorySlotCount; ++n) {
        if (!block.HistorySlotEmpty(index)) {
            entries.push_back(block.HistorySlot(index));
        }
        index = StepBack(index);
    }
    return entries;
}

}  // namespace tavoe
