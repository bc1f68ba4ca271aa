#include "buffer/original_records.h"

#include <algorithm>
#include <cstring>

namespace tavoe {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

}  // namespace

void OriginalRecords::Keep(std::uint32_t record, std::string_view bytes) {
    if (!index_.empty() && record <= index_.back().record) {
        return;  // out of order: the record keeps what the load first kept for it
    }
    if (bytes.size() > blockFree_) {
        std::size_t size = std::max(kBlockSize, bytes.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        next_ = blocks_.back().get();
        blockFree_ = size;
        blockBytes_ += size;
    }
    if (!bytes.empty()) {
        std::memcpy(next_, bytes.data(), bytes.size());
    }
    index_.push_back({record, static_cast<std::uint32_t>(bytes.size()), next_});
    next_ += bytes.size();
    blockFree_ -= bytes.size();
}

std::string_view OriginalRecords::Find(std::uint32_t record, bool* found) const {
    auto it =
        std::lower_bound(index_.begin(), index_.end(), record,
                         [](const Entry& entry, std::uint32_t wanted) { return entry.record < wanted; });
    *found = it != index_.end() && it->record == record;
    return *found ? std::string_view(it->bytes, it->length) : std::string_view();
}

std::size_t OriginalRecords::BytesHeld() const {
    return index_.capacity() * sizeof(Entry) + blockBytes_;
}

}  // namespace tavoe
