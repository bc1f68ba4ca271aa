#pragma once

#include <cstddef>
#include <cstdint>

namespace tavoe {

// Guarded heap blocks: every general heap allocation goes through this allocator. A block is laid
// out as the guard word "TAG\0", the block's total size (32-bit, header and trailer included), the
// zero-filled payload (the requested size rounded up to a multiple of 8) and the guard word "END\0".
// Callers hold the payload address.

// The guard words as they read in memory, taken as little-endian 32-bit values.
inline constexpr std::uint32_t kTagGuardWord = 0x00474154u;  // "TAG\0"
inline constexpr std::uint32_t kEndGuardWord = 0x00444E45u;  // "END\0"

// Bytes a block adds around its payload: leading guard, size word, trailing guard.
inline constexpr std::size_t kBlockHeaderSize = 8;
inline constexpr std::size_t kBlockOverhead = 12;

// Rounds a byte count up to the next multiple of 8.
constexpr std::size_t RoundUp8(std::size_t n) {
    return (n + 7) & ~static_cast<std::size_t>(7);
}

// Total bytes a block for a payload of `size` occupies, as stored in its size word.
constexpr std::size_t BlockTotalSize(std::size_t size) {
    return RoundUp8(size) + kBlockOverhead;
}

// A zero-filled payload of at least `size` bytes (usable length: size rounded up to 8), or nullptr
// when the heap is exhausted or the block would not fit a 32-bit size word. Reports nothing: callers
// say what they could not do.
void* BlockAlloc(std::size_t size);

// As BlockAlloc, but only the first `cleared` bytes of the payload are zero: the rest holds whatever
// the heap had there. For the pages of the line and text stores, whose slots are written before they
// are read (clearing hundreds of megabytes of them would cost as much as filling them).
void* BlockAllocUncleared(std::size_t size, std::size_t cleared);

// Releases a block only when it is a live block of this allocator and both guards are intact; the
// leading guard is cleared before the release. A second release of the same payload, a payload this
// allocator never handed out, nullptr, or a block with a damaged guard are left alone and nothing is
// reported (a damaged block is kept rather than handed back to the heap in an unknown state).
void BlockFree(void* payload);

// The total size stored in a live block's header (0 for nullptr).
std::uint32_t BlockSize(const void* payload);

}  // namespace tavoe
