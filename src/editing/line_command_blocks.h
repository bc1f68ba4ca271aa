#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "editing/line_command_parse.h"

namespace tavoe {

// Running one parsed line command: the conflict checks, the pairing of block ends and destinations
// across Enter presses, and the call of the action. Internal to the line command processor.

struct LineCommandRun;
struct LineRecord;

struct LineEntry {
    LineRecord* line = nullptr;
    ParsedLineCommand parsed;
    std::string text;  // the prefix text as typed
};

// File positions of the lines that carried a pending command when the Enter began. Lines inserted or
// deleted elsewhere leave the order of these lines as it was, so comparing two of them stays right
// for the whole Enter; block ends are ordered and checked this way without walking between them.
using LineOrder = std::unordered_map<const LineRecord*, std::uint64_t>;

enum class Outcome {
    Done,     // executed; the prefix text goes
    Waiting,  // accepted, waits for a partner; the prefix text stays
    Failed,   // refused (reported); processing stops here
};

class BlockProcessor {
public:
    BlockProcessor(LineCommandRun& run, const std::vector<LineEntry>& entries, const LineOrder& order);

    // The entry at `index` is the one running now: the entries after it are still to come.
    void Begin(std::size_t index) { index_ = index; }
    Outcome Run(const LineEntry& entry, LineCommandId id);

private:
    Outcome RunSingle(const LineEntry& entry, LineCommandId id);
    Outcome RunBlockEnd(const LineEntry& entry, LineCommandId id, WaitKind kind);
    Outcome RunDestination(const LineEntry& entry, WaitKind kind);
    Outcome RunWaitingSingle(const LineEntry& entry, WaitKind kind);
    // A block whose both ends are known: its action, or for copy, move and overlay the pairing.
    Outcome Complete(WaitKind kind);
    Outcome TryCopyMoveOverlay();
    void Clear(WaitKind kind);
    // The last line of a waiting command's range (a single C, M or O counts its lines now).
    LineRecord* RangeEnd(const WaitingCommand& wait);

    // 0 when no line of from..to meets a waiting command (other than `self` and its partners) or a
    // command still to run on this Enter; otherwise the conflict message and -1.
    int CheckConflicts(const LineEntry& entry, LineRecord* from, LineRecord* to, int self);
    // The entry still to come at `index` is a destination or source that pairs with kind `self`.
    bool PartnerEntry(std::size_t index, int self) const;
    // TE and TF run alone.
    int CheckAlone(const LineEntry& entry);
    int ReportConflict(const LineEntry& entry, const std::string& otherName, const LineRecord* otherLine);

    LineCommandRun& run_;
    const std::vector<LineEntry>& entries_;
    // The ordered check for a block whose ends both carry pending commands (no hidden lines behind
    // its end); nullopt when it does not apply and the lines must be walked.
    std::optional<int> CheckConflictsByOrder(const LineEntry& entry, LineRecord* from, LineRecord* to,
                                             int self);
    const std::uint64_t* OrderOf(const LineRecord* line) const;

    std::unordered_map<const LineRecord*, std::size_t> entryIndex_;      // the line of each entry
    std::vector<std::pair<std::uint64_t, std::size_t>> entriesInOrder_;  // (position, entry), sorted
    const LineOrder& order_;
    std::size_t index_ = 0;
};

}  // namespace tavoe
