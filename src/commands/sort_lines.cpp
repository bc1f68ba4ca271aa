#include "commands/sort_lines.h"

#include <algorithm>
#include <cstring>

#include "buffer/edit_buffer.h"
#include "buffer/line_record.h"

namespace tavoe {

namespace {

// Key bytes carried in each record; longer keys are compared on from the line texts.
constexpr std::uint32_t kCarriedKeyBytes = 12;
// Runs this long are put in order by insertion before the merging starts.
constexpr std::size_t kInsertionRun = 32;

// 16 bytes, so a million records are 16 MB to merge.
struct KeyRecord {
    std::uint64_t head = 0;   // key bytes 0-7, the first the most significant
    std::uint32_t tail = 0;   // key bytes 8-11
    std::uint32_t index = 0;  // the line's place among the chosen lines, in list order
};
static_assert(sizeof(KeyRecord) == 16);

// One field as the key is made: where its bytes come from and where they go in the key.
struct FieldPlan {
    std::uint32_t offset = 0;     // of the field's first column in the line
    std::uint32_t width = 0;      // columns
    std::uint32_t keyOffset = 0;  // of the field's first byte in the key
    const CollatingTable* ranks = nullptr;
};

inline std::uint8_t ByteAt(const LineRecord& line, std::uint32_t offset) {
    return offset < line.length ? static_cast<std::uint8_t>(line.text[offset]) : std::uint8_t{' '};
}

std::uint64_t BigEndian(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

class Sorter {
public:
    Sorter(const std::vector<LineRecord*>& lines, const std::vector<SortField>& fields,
           const CollatingTable& collating, SortProgress& progress, std::uint32_t pollInterval)
        : lines_(lines), progress_(progress), pollInterval_(std::max<std::uint32_t>(pollInterval, 1)) {
        for (int byte = 0; byte < 256; ++byte) {
            descending_[byte] = static_cast<std::uint8_t>(255 - collating[byte]);
        }
        for (const SortField& field : fields) {
            FieldPlan plan;
            plan.offset = static_cast<std::uint32_t>(field.startColumn - 1);
            plan.width = static_cast<std::uint32_t>(field.endColumn - field.startColumn + 1);
            plan.keyOffset = keyLength_;
            plan.ranks = field.order == SortOrder::Descending ? &descending_ : &collating;
            keyLength_ += plan.width;
            plans_.push_back(plan);
        }
    }

    // The records of the chosen lines in list order; false when stopped.
    bool MakeKeys(std::vector<KeyRecord>& keys) {
        keys.resize(lines_.size());
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const LineRecord& line = *lines_[i];
            std::uint8_t bytes[kCarriedKeyBytes] = {};
            for (const FieldPlan& plan : plans_) {
                if (plan.keyOffset >= kCarriedKeyBytes) {
                    break;
                }
                const std::uint32_t count = std::min(plan.width, kCarriedKeyBytes - plan.keyOffset);
                for (std::uint32_t c = 0; c < count; ++c) {
                    bytes[plan.keyOffset + c] = (*plan.ranks)[ByteAt(line, plan.offset + c)];
                }
            }
            keys[i] = {BigEndian(bytes, 8), static_cast<std::uint32_t>(BigEndian(bytes + 8, 4)),
                       static_cast<std::uint32_t>(i)};
            if (!Placed(1)) {
                return false;
            }
        }
        return true;
    }

    // Stable: a record goes before another only when its key is smaller.
    bool Less(const KeyRecord& a, const KeyRecord& b) const {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        if (a.tail != b.tail) {
            return a.tail < b.tail;
        }
        return keyLength_ > kCarriedKeyBytes &&
               CompareFrom(kCarriedKeyBytes, *lines_[a.index], *lines_[b.index]) < 0;
    }

    // The whole keys of two lines: negative, 0 or positive.
    int CompareLines(const LineRecord& a, const LineRecord& b) const { return CompareFrom(0, a, b); }

    // Sorts the records; false when stopped (the records are then in no useful order).
    bool Sort(std::vector<KeyRecord>& keys) {
        const std::size_t n = keys.size();
        for (std::size_t lo = 0; lo < n; lo += kInsertionRun) {
            const std::size_t hi = std::min(lo + kInsertionRun, n);
            for (std::size_t i = lo + 1; i < hi; ++i) {
                KeyRecord moving = keys[i];
                std::size_t at = i;
                for (; at > lo && Less(moving, keys[at - 1]); --at) {
                    keys[at] = keys[at - 1];
                }
                keys[at] = moving;
            }
            if (!Placed(static_cast<std::uint32_t>(hi - lo))) {
                return false;
            }
        }
        std::vector<KeyRecord> spare(n);
        std::vector<KeyRecord>* from = &keys;
        std::vector<KeyRecord>* to = &spare;
        for (std::size_t width = kInsertionRun; width < n; width *= 2) {
            for (std::size_t lo = 0; lo < n; lo += 2 * width) {
                const std::size_t mid = std::min(lo + width, n);
                const std::size_t hi = std::min(lo + 2 * width, n);
                Merge(from->data(), lo, mid, hi, to->data());
                if (!Placed(static_cast<std::uint32_t>(hi - lo))) {
                    return false;
                }
            }
            std::swap(from, to);
        }
        if (from != &keys) {
            keys.swap(spare);
        }
        return true;
    }

private:
    // Merges the ordered runs [lo, mid) and [mid, hi) of `in` into the same places of `out`; on ties
    // the left run goes first. Runs already in order are copied whole.
    void Merge(const KeyRecord* in, std::size_t lo, std::size_t mid, std::size_t hi, KeyRecord* out) const {
        if (mid >= hi || !Less(in[mid], in[mid - 1])) {
            std::copy(in + lo, in + hi, out + lo);
            return;
        }
        std::size_t left = lo;
        std::size_t right = mid;
        std::size_t at = lo;
        while (left < mid && right < hi) {
            out[at++] = Less(in[right], in[left]) ? in[right++] : in[left++];
        }
        std::copy(in + left, in + mid, out + at);
        std::copy(in + right, in + hi, out + at + (mid - left));
    }

    // The key bytes from `from` on, made from the two lines as they are compared.
    int CompareFrom(std::uint32_t from, const LineRecord& a, const LineRecord& b) const {
        for (const FieldPlan& plan : plans_) {
            const std::uint32_t end = plan.keyOffset + plan.width;
            if (end <= from) {
                continue;
            }
            const std::uint32_t first = plan.keyOffset >= from ? 0 : from - plan.keyOffset;
            for (std::uint32_t c = first; c < plan.width; ++c) {
                const std::uint8_t x = (*plan.ranks)[ByteAt(a, plan.offset + c)];
                const std::uint8_t y = (*plan.ranks)[ByteAt(b, plan.offset + c)];
                if (x != y) {
                    return x < y ? -1 : 1;
                }
            }
        }
        return 0;
    }

    // Counts placed lines and asks the progress every poll interval.
    bool Placed(std::uint32_t count) {
        sincePoll_ += count;
        if (sincePoll_ < pollInterval_) {
            return true;
        }
        sincePoll_ = 0;
        return progress_.KeepGoing();
    }

    const std::vector<LineRecord*>& lines_;
    SortProgress& progress_;
    const std::uint32_t pollInterval_;
    std::uint32_t sincePoll_ = 0;
    CollatingTable descending_{};
    std::vector<FieldPlan> plans_;
    std::uint32_t keyLength_ = 0;
};

enum class Presorted { Ascending, StrictlyDescending, Neither };

// One pass over the lines, stopping as soon as they are neither: input already in order needs no
// work, and input in strictly descending order (no two keys equal, so no earlier order of equals to
// keep) only needs reversing.
Presorted ScanOrder(const Sorter& sorter, const std::vector<LineRecord*>& lines) {
    bool ascending = true;
    bool descending = true;
    for (std::size_t i = 1; i < lines.size() && (ascending || descending); ++i) {
        const int order = sorter.CompareLines(*lines[i - 1], *lines[i]);
        ascending = ascending && order <= 0;
        descending = descending && order > 0;
    }
    return ascending ? Presorted::Ascending : descending ? Presorted::StrictlyDescending : Presorted::Neither;
}

// Links the lines of `slots` one after the other where the range stood, between the lines that were
// in front of it and behind it.
void LinkInOrder(EditBuffer& buffer, const std::vector<LineRecord*>& slots, DListNode* before,
                 DListNode* after) {
    DListNode* previous = before;
    for (LineRecord* line : slots) {
        line->prev = previous;
        if (previous != nullptr) {
            previous->next = line;
        } else {
            buffer.lines.first = line;
        }
        previous = line;
    }
    previous->next = after;
    if (after != nullptr) {
        after->prev = previous;
    } else {
        buffer.lines.last = previous;
    }
}

}  // namespace

const CollatingTable& ByteValueCollating() {
    static const CollatingTable table = [] {
        CollatingTable ranks{};
        for (int byte = 0; byte < 256; ++byte) {
            ranks[byte] = static_cast<std::uint8_t>(byte);
        }
        return ranks;
    }();
    return table;
}

SortSelection SelectSortLines(LineRecord* from, LineRecord* to, SortFilter filter) {
    SortSelection selection;
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        const std::uint32_t slot = static_cast<std::uint32_t>(selection.slots.size());
        selection.slots.push_back(line);
        if (IsDataLine(*line)) {
            selection.longest = std::max(selection.longest, line->length);
            const bool visible = LineIsVisible(*line);
            if (filter == SortFilter::All || (filter == SortFilter::Visible) == visible) {
                selection.chosen.push_back(slot);
                selection.hiddenChosen = selection.hiddenChosen || !visible;
            }
        }
        if (line == to) {
            break;
        }
    }
    return selection;
}

SortOutcome SortSelectedLines(EditBuffer& buffer, SortSelection& selection,
                              const std::vector<SortField>& fields, const CollatingTable& collating,
                              SortProgress& progress, std::uint32_t pollInterval) {
    if (selection.chosen.size() < 2 || fields.empty()) {
        return SortOutcome::InOrder;
    }
    std::vector<LineRecord*> lines;
    lines.reserve(selection.chosen.size());
    for (std::uint32_t slot : selection.chosen) {
        lines.push_back(selection.slots[slot]);
    }
    Sorter sorter(lines, fields, collating, progress, pollInterval);
    const Presorted presorted = ScanOrder(sorter, lines);
    if (presorted == Presorted::Ascending) {
        return SortOutcome::InOrder;
    }
    std::vector<KeyRecord> keys;
    if (presorted == Presorted::StrictlyDescending) {
        keys.resize(lines.size());
        for (std::size_t k = 0; k < keys.size(); ++k) {
            keys[k].index = static_cast<std::uint32_t>(keys.size() - 1 - k);
        }
    } else if (!sorter.MakeKeys(keys) || !sorter.Sort(keys)) {
        return SortOutcome::Stopped;
    }
    DListNode* before = selection.slots.front()->prev;
    DListNode* after = selection.slots.back()->next;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        selection.slots[selection.chosen[k]] = lines[keys[k].index];
    }
    LinkInOrder(buffer, selection.slots, before, after);
    return SortOutcome::Reordered;
}

}  // namespace tavoe
