#include "profiles/color_words.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii_case.h"

namespace tavoe {

int ColorWords::Probe(std::string_view word, std::uint32_t hash) const {
    std::int32_t slot = SlotOf(word, hash);
    return slot < 0 ? -1
                    : entries_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(slot)].entry)].set;
}

std::int32_t ColorWords::SlotOf(std::string_view word, std::uint32_t hash) const {
    if (slots_.empty()) {
        return -1;
    }
    std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.entry < 0) {
            return -1;
        }
        if (slot.hash == hash) {
            const Entry& entry = entries_[static_cast<std::size_t>(slot.entry)];
            if (entry.text.size() == word.size() &&
                std::memcmp(entry.text.data(), word.data(), word.size()) == 0) {
                return static_cast<std::int32_t>(i);
            }
        }
    }
}

void ColorWords::Rehash(std::size_t slotCount) {
    slots_.assign(slotCount, Slot{});
    std::size_t mask = slotCount - 1;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        std::uint32_t hash = Hash(entries_[e].text);
        std::size_t i = hash & mask;
        while (slots_[i].entry >= 0) {
            i = (i + 1) & mask;
        }
        slots_[i] = Slot{hash, static_cast<std::int32_t>(e)};
    }
}

// Drops removed entries and rebuilds the table and the quick-reject bits from what is left.
void ColorWords::Rebuild() {
    std::erase_if(entries_, [](const Entry& e) { return e.set < 0; });
    lengthsByFirst_.fill(0);
    singleChar_.fill(-1);
    for (const Entry& e : entries_) {
        auto first = static_cast<unsigned char>(e.text[0]);
        lengthsByFirst_[first] |= 1u << e.text.size();
        if (e.text.size() == 1) {
            singleChar_[first] = e.set;
        }
    }
    std::size_t slotCount = 16;
    while (slotCount < entries_.size() * 2 + 2) {
        slotCount *= 2;
    }
    Rehash(slotCount);
    live_ = entries_.size();
}

bool ColorWords::Add(std::string_view word, int set) {
    if (word.empty() || word.size() > kColorWordMax || set < 0 || set > 127) {
        return false;
    }
    std::uint32_t hash = Hash(word);
    if (SlotOf(word, hash) >= 0) {
        return false;
    }
    if ((entries_.size() + 1) * 2 >= slots_.size()) {
        std::size_t slotCount = slots_.empty() ? 16 : slots_.size() * 2;
        Rehash(slotCount);
    }
    entries_.push_back(Entry{std::string(word), static_cast<std::int8_t>(set), nextOrder_++});
    std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].entry >= 0) {
        i = (i + 1) & mask;
    }
    slots_[i] = Slot{hash, static_cast<std::int32_t>(entries_.size() - 1)};
    auto first = static_cast<unsigned char>(word[0]);
    lengthsByFirst_[first] |= 1u << word.size();
    if (word.size() == 1) {
        singleChar_[first] = static_cast<std::int8_t>(set);
    }
    ++live_;
    return true;
}

bool ColorWords::Remove(std::string_view word) {
    std::int32_t slot = SlotOf(word, Hash(word));
    if (slot < 0) {
        return false;
    }
    entries_[static_cast<std::size_t>(slots_[static_cast<std::size_t>(slot)].entry)].set = -1;
    Rebuild();
    return true;
}

std::vector<std::string> ColorWords::WordsOf(int set) const {
    std::vector<const Entry*> chosen;
    for (const Entry& e : entries_) {
        if (e.set == set) {
            chosen.push_back(&e);
        }
    }
    std::sort(chosen.begin(), chosen.end(), [](const Entry* a, const Entry* b) {
        auto fa = static_cast<unsigned char>(a->text[0]);
        auto fb = static_cast<unsigned char>(b->text[0]);
        if (fa != fb) {
            return fa < fb;
        }
        if (a->text.size() != b->text.size()) {
            return a->text.size() < b->text.size();
        }
        return a->order < b->order;
    });
    std::vector<std::string> out;
    out.reserve(chosen.size());
    for (const Entry* e : chosen) {
        out.push_back(e->text);
    }
    return out;
}

void ColorWords::UpperCaseAll() {
    std::vector<Entry> old = std::move(entries_);
    std::sort(old.begin(), old.end(), [](const Entry& a, const Entry& b) { return a.order < b.order; });
    Clear();
    for (const Entry& e : old) {
        if (e.set >= 0) {
            Add(UpperAscii(e.text), e.set);
        }
    }
}

void ColorWords::Clear() {
    entries_.clear();
    slots_.clear();
    live_ = 0;
    nextOrder_ = 0;
    lengthsByFirst_.fill(0);
    singleChar_.fill(-1);
}

}  // namespace tavoe
