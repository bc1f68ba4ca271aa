#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace tavoe {

// The disk bytes of the records whose load changed them in a way a save cannot undo exactly: codes
// without a translation and back, TABs expanded to blanks, trailing blanks stripped, a short record
// padded. Saving writes such a record with these bytes while its line still holds what the load made
// of them, so a line the user did not change goes back to the disk as it was read.
//
// Records are kept by their record number (a line's `recordNumber` survives moves, sorts and saves),
// in load order, which is rising order, so a lookup is a binary search. The bytes live in large
// blocks: 16 bytes of index per record and no heap call per record.
class OriginalRecords {
public:
    // Keeps the bytes of record `record`, which must be above every record kept so far.
    void Keep(std::uint32_t record, std::string_view bytes);
    // The bytes kept for the record; found is false when none were kept.
    std::string_view Find(std::uint32_t record, bool* found) const;
    bool Empty() const { return index_.empty(); }
    std::size_t Count() const { return index_.size(); }
    // Heap bytes held: the index and the blocks.
    std::size_t BytesHeld() const;

private:
    struct Entry {
        std::uint32_t record;
        std::uint32_t length;
        const char* bytes;
    };
    std::vector<Entry> index_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockBytes_ = 0;  // bytes of all blocks
    std::size_t blockFree_ = 0;   // bytes free at the end of the last block
    char* next_ = nullptr;        // the first free byte of the last block
};

}  // namespace tavoe
