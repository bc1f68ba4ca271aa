#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavoe {

// The words of a colorization's eight word sets. A word belongs to one set at most (the reader refuses
// duplicates), so one hash table answers "which set holds this word" with a single probe, however
// many words there are. A word is 1 to 31 bytes; longer ones are cut by the caller.

inline constexpr std::size_t kColorWordMax = 31;

class ColorWords {
public:
    // Adds the word to the set (0-based). False, nothing added, when the word is already in any set.
    bool Add(std::string_view word, int set);

    // The set (0-based) holding the word, or -1. Words of 32 bytes or more are never held.
    int Find(std::string_view word) const {
        std::size_t length = word.size();
        if (length == 0 || length > kColorWordMax ||
            (lengthsByFirst_[static_cast<unsigned char>(word[0])] & (1u << length)) == 0) {
            return -1;
        }
        return Probe(word, Hash(word));
    }

    // Removes the word; false when no set holds it.
    bool Remove(std::string_view word);

    // The words of a set in the order they are written out: by first byte, then shortest first, then
    // in the order they were added.
    std::vector<std::string> WordsOf(int set) const;

    // Upper-cases every word (ASCII letters); a word that then equals an earlier one is dropped.
    void UpperCaseAll();

    // A word of one byte in some set: its set, else -1.
    int SingleCharSet(unsigned char c) const { return singleChar_[c]; }

    std::size_t Count() const { return live_; }
    void Clear();

private:
    struct Entry {
        std::string text;
        std::int8_t set = -1;  // -1: removed
        std::uint32_t order = 0;
    };
    struct Slot {
        std::uint32_t hash = 0;
        std::int32_t entry = -1;  // -1: empty
    };

    static std::uint32_t Hash(std::string_view word) {
        std::uint32_t h = 2166136261u;
        for (char c : word) {
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return h;
    }
    int Probe(std::string_view word, std::uint32_t hash) const;
    std::int32_t SlotOf(std::string_view word, std::uint32_t hash) const;  // -1 when absent
    void Rehash(std::size_t slotCount);
    void Rebuild();

    std::vector<Entry> entries_;
    std::vector<Slot> slots_;  // open addressing, a power of two, at most half full
    std::size_t live_ = 0;
    std::uint32_t nextOrder_ = 0;
    std::array<std::uint32_t, 256> lengthsByFirst_{};  // bit n: some word of n bytes starts so
    std::array<std::int8_t, 256> singleChar_ = MakeNoSingles();

    static std::array<std::int8_t, 256> MakeNoSingles() {
        std::array<std::int8_t, 256> a{};
        a.fill(-1);
        return a;
    }
};

}  // namespace tavoe
