#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tavoe {

// Finds entries of a list by name: an open-addressing table of list indexes. The table keeps no
// names of its own; a lookup hashes the name once and compares it only with the names of the
// entries whose hash matches, read from the list through `nameOf(index)`. The list may grow and
// move, since only indexes are kept.
class MacroNameIndex {
public:
    static uint32_t Hash(std::string_view name) {
        uint32_t hash = 2166136261u;  // FNV-1a: names are short, so byte by byte is quickest
        for (char c : name) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return hash;
    }

    // The index stored for the name, or -1.
    template <typename NameOf>
    int32_t Find(std::string_view name, NameOf nameOf) const {
        return FindHashed(name, Hash(name), nameOf);
    }
    template <typename NameOf>
    int32_t FindHashed(std::string_view name, uint32_t hash, NameOf nameOf) const {
        if (slots_.empty()) {
            return -1;
        }
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const Slot& slot = slots_[i];
            if (slot.index < 0) {
                return -1;
            }
            if (slot.hash == hash && nameOf(slot.index) == name) {
                return slot.index;
            }
        }
    }

    // Records the index under the name's hash; the caller has made sure the name is not present.
    void Add(uint32_t hash, int32_t index) {
        if ((count_ + 1) * 2 > slots_.size()) {
            Grow();
        }
        Place(hash, index);
        ++count_;
    }
    void Add(std::string_view name, int32_t index) { Add(Hash(name), index); }

    size_t size() const { return count_; }

private:
    struct Slot {
        uint32_t hash = 0;
        int32_t index = -1;  // -1: empty
    };
    void Place(uint32_t hash, int32_t index) {
        const size_t mask = slots_.size() - 1;
        size_t i = hash & mask;
        while (slots_[i].index >= 0) {
            i = (i + 1) & mask;
        }
        slots_[i] = Slot{hash, index};
    }
    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.resize(old.empty() ? 16 : old.size() * 2);
        for (const Slot& slot : old) {
            if (slot.index >= 0) {
                Place(slot.hash, slot.index);
            }
        }
    }

    std::vector<Slot> slots_;  // a power of two long, at most half full
    size_t count_ = 0;
};

}  // namespace tavoe
