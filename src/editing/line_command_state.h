#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavoe {

struct LineRecord;

// What the line command processor keeps in an edit session between Enter presses: the lines typed
// into, in typing order, and the commands accepted but still waiting for a partner (the second end
// of a block, or a destination).
//
// Line pointers kept here are only compared, never followed, until the processor has checked them
// against the lines that still carry a pending command: any other part of the editor may delete a
// line in the meantime.

// The kinds of command that can wait.
enum class WaitKind : std::uint8_t {
    After,        // A
    Before,       // B
    ColumnLeft,   // ((
    ColumnRight,  // ))
    DataLeft,     // <<
    DataRight,    // >>
    Copy,         // CC, or C n waiting for a destination
    Delete,       // DD
    Lower,        // LCC
    MakeData,     // MDD
    Move,         // MM, or M n waiting for a destination
    Overlay,      // OO, or O n waiting for a source
    Repeat,       // RR
    Upper,        // UCC
    Exclude,      // XX
    Select,       // ZZ
};
inline constexpr std::size_t kWaitKindCount = 16;

// One waiting command. A block has its first end in `first` and, once the second arrives, its ends in
// file order in `from` and `to`. A single C, M or O of n lines is complete at once: `from` is its line
// and `lines` the count.
struct WaitingCommand {
    LineRecord* first = nullptr;
    LineRecord* second = nullptr;
    LineRecord* from = nullptr;
    LineRecord* to = nullptr;
    std::int32_t count = 0;  // shift amount, repeat count, copies (A, B)
    std::int32_t lines = 0;  // single forms: the lines of the range; 0 for a block
    std::string name;        // as it was typed, for messages ("CC", "C", "A")

    bool Pending() const { return first != nullptr; }
    bool Complete() const { return from != nullptr; }
};

struct LineCommandState {
    std::vector<LineRecord*> typed;  // lines whose prefix was typed into, first typed first
    std::array<WaitingCommand, kWaitKindCount> waiting{};

    WaitingCommand& Of(WaitKind kind) { return waiting[static_cast<std::size_t>(kind)]; }
    const WaitingCommand& Of(WaitKind kind) const { return waiting[static_cast<std::size_t>(kind)]; }
};

}  // namespace tavoe
