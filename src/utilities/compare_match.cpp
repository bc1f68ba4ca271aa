#include "utilities/compare_match.h"

#include <algorithm>
#include <functional>
#include <string>

namespace tavoe {

namespace {

// The matching works on small integer keys: every distinct compared text of the new list gets an
// id, every old record the id of its equal new text (or -1 when there is none), so record equality
// is one integer comparison. The new records are indexed by id and by the ids of two neighbouring
// records; an old record looks up only the new records that could start a block with it, which keeps
// the work in step with the records and blocks instead of with their product.

enum State : uint8_t { kOut = 0, kListed = 1, kMatched = 2 };  // kOut: dropped as an empty line

struct KeyRules {
    size_t start = 0;  // first compared column, from 0
    size_t end = 0;    // columns compared end before this one
    bool whitespace = false;
    bool fold = false;
};

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

// The part of a record that decides equality: the compared columns without the blanks that padding
// would add anyway (and, ignoring white space, without leading and trailing blanks and tabs).
std::string_view ComparedPart(std::string_view text, const KeyRules& rules) {
    text = text.substr(0, std::min(text.size(), rules.end));
    std::string_view part = text.size() > rules.start ? text.substr(rules.start) : std::string_view();
    size_t end = part.size();
    if (rules.whitespace) {
        while (end > 0 && IsBlankOrTab(part[end - 1])) {
            --end;
        }
        size_t begin = 0;
        while (begin < end && IsBlankOrTab(part[begin])) {
            ++begin;
        }
        return part.substr(begin, end - begin);
    }
    while (end > 0 && part[end - 1] == ' ') {
        --end;
    }
    return part.substr(0, end);
}

unsigned char Upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

uint64_t HashPart(std::string_view part, bool fold) {
    if (!fold) {
        return std::hash<std::string_view>{}(part);
    }
    uint64_t hash = 1469598103934665603ULL;
    for (char c : part) {
        hash = (hash ^ Upper(static_cast<unsigned char>(c))) * 1099511628211ULL;
    }
    return hash;
}

bool SamePart(std::string_view a, std::string_view b, bool fold) {
    if (a.size() != b.size()) {
        return false;
    }
    if (!fold) {
        return a == b;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(static_cast<unsigned char>(a[i])) != Upper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

size_t TableSize(size_t entries) {
    size_t size = 16;
    while (size < entries * 2) {
        size <<= 1;
    }
    return size;
}

// Gives each distinct compared text an id (open addressing over the ids).
class TextIds {
public:
    TextIds(size_t expected, bool fold) : fold_(fold), slots_(TableSize(expected), -1) {}

    int32_t Intern(std::string_view part) { return Lookup(part, true); }
    int32_t Find(std::string_view part) { return Lookup(part, false); }
    size_t Count() const { return parts_.size(); }

private:
    int32_t Lookup(std::string_view part, bool add) {
        uint64_t hash = HashPart(part, fold_);
        size_t mask = slots_.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            int32_t id = slots_[slot];
            if (id < 0) {
                if (!add) {
                    return -1;
                }
                id = static_cast<int32_t>(parts_.size());
                parts_.push_back(part);
                hashes_.push_back(hash);
                slots_[slot] = id;
                return id;
            }
            if (hashes_[static_cast<size_t>(id)] == hash &&
                SamePart(parts_[static_cast<size_t>(id)], part, fold_)) {
                return id;
            }
        }
    }

    bool fold_;
    std::vector<int32_t> slots_;
    std::vector<std::string_view> parts_;
    std::vector<uint64_t> hashes_;
};

// Gives each distinct pair of ids an id.
class PairIds {
public:
    explicit PairIds(size_t expected) : slots_(TableSize(expected), -1) {}

    int32_t Intern(int32_t a, int32_t b) { return Lookup(Key(a, b), true); }
    int32_t Find(int32_t a, int32_t b) { return Lookup(Key(a, b), false); }
    size_t Count() const { return keys_.size(); }

private:
    static uint64_t Key(int32_t a, int32_t b) {
        return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
    }

    int32_t Lookup(uint64_t key, bool add) {
        uint64_t hash = key * 0x9E3779B97F4A7C15ULL;
        hash ^= hash >> 29;
        size_t mask = slots_.size() - 1;
        for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            int32_t id = slots_[slot];
            if (id < 0) {
                if (!add) {
                    return -1;
                }
                id = static_cast<int32_t>(keys_.size());
                keys_.push_back(key);
                slots_[slot] = id;
                return id;
            }
            if (keys_[static_cast<size_t>(id)] == key) {
                return id;
            }
        }
    }

    std::vector<int32_t> slots_;
    std::vector<uint64_t> keys_;
};

// Positions grouped by key, each group in ascending order (keys from 0 to count - 1).
struct Groups {
    std::vector<uint32_t> start;  // group g holds positions[start[g] .. end[g])
    std::vector<uint32_t> end;
    std::vector<uint32_t> positions;

    void Build(const std::vector<int32_t>& keyOf, size_t count) {
        start.assign(count + 1, 0);
        for (int32_t key : keyOf) {
            if (key >= 0) {
                ++start[static_cast<size_t>(key) + 1];
            }
        }
        for (size_t g = 0; g < count; ++g) {
            start[g + 1] += start[g];
        }
        end.assign(start.begin(), start.end() - 1);
        positions.resize(start[count]);
        for (size_t at = 0; at < keyOf.size(); ++at) {
            if (keyOf[at] >= 0) {
                positions[end[static_cast<size_t>(keyOf[at])]++] = static_cast<uint32_t>(at);
            }
        }
    }
};

class Matcher {
public:
    Matcher(std::span<const std::string_view> oldRecords, std::span<const std::string_view> newRecords,
            const CompareOptions& options)
        : old_(oldRecords), new_(newRecords), options_(options) {
        rules_.start = static_cast<size_t>(std::max(options.colStart, 1) - 1);
        rules_.end = static_cast<size_t>(std::max(options.colEnd, 0));
        rules_.whitespace = options.ignoreWhitespace;
        rules_.fold = options.ignoreCase;
    }

    CompareResult Run() {
        CompareResult result;
        ListRecords(old_, oldState_);
        ListRecords(new_, newState_);
        bool anyOld = std::find(oldState_.begin(), oldState_.end(), kListed) != oldState_.end();
        bool anyNew = std::find(newState_.begin(), newState_.end(), kListed) != newState_.end();
        int compared = options_.colEnd - std::max(options_.colStart, 1) + 1;
        if ((options_.ignoreWhitespace || options_.ignoreCase) && compared > kCompareIgnoreLimit && anyOld &&
            anyNew) {
            result.error = true;  // every comparison fails, so nothing matches
        } else if (anyOld && anyNew) {
            Index();
            result.matched = MatchBlocks();
        }
        Collect(oldState_, result.deleted);
        Collect(newState_, result.inserted);
        return result;
    }

private:
    void ListRecords(std::span<const std::string_view> records, std::vector<uint8_t>& state) {
        state.assign(records.size(), kListed);
        if (options_.ignoreEmptyLines) {
            for (size_t at = 0; at < records.size(); ++at) {
                if (CompareTextIsBlank(records[at].substr(0, std::min(records[at].size(), rules_.end)))) {
                    state[at] = kOut;
                }
            }
        }
    }

    static void Collect(const std::vector<uint8_t>& state, std::vector<int32_t>& numbers) {
        for (size_t at = 0; at < state.size(); ++at) {
            if (state[at] == kListed) {
                numbers.push_back(static_cast<int32_t>(at + 1));
            }
        }
    }

    void Index() {
        TextIds ids(new_.size(), rules_.fold);
        newId_.assign(new_.size(), -1);
        for (size_t j = 0; j < new_.size(); ++j) {
            if (newState_[j] == kListed) {
                newId_[j] = ids.Intern(ComparedPart(new_[j], rules_));
            }
        }
        oldId_.assign(old_.size(), -1);
        for (size_t i = 0; i < old_.size(); ++i) {
            if (oldState_[i] == kListed) {
                oldId_[i] = ids.Find(ComparedPart(old_[i], rules_));
            }
        }
        singles_.Build(newId_, ids.Count());
        singleHead_.assign(singles_.start.begin(), singles_.start.end() - 1);

        // Pairs of neighbours that are both still listed: a block of two or more starts at one.
        PairIds pairs(new_.size());
        std::vector<int32_t> pairOf(new_.size(), -1);
        for (size_t j = 0; j + 1 < new_.size(); ++j) {
            if (newId_[j] >= 0 && newId_[j + 1] >= 0) {
                pairOf[j] = pairs.Intern(newId_[j], newId_[j + 1]);
            }
        }
        pairGroups_.Build(pairOf, pairs.Count());
        pairOf.clear();
        pairOf.shrink_to_fit();
        // Old-side pair keys looked up once, so the tables can go.
        oldPair_.assign(old_.size(), -1);
        for (size_t i = 0; i + 1 < old_.size(); ++i) {
            if (oldId_[i] >= 0 && oldId_[i + 1] >= 0) {
                oldPair_[i] = pairs.Find(oldId_[i], oldId_[i + 1]);
            }
        }
        // How many listed old records follow each one without a gap (itself included).
        oldRun_.assign(old_.size() + 1, 0);
        for (size_t i = old_.size(); i-- > 0;) {
            oldRun_[i] = oldState_[i] == kListed ? oldRun_[i + 1] + 1 : 0;
        }
    }

    bool NewListed(size_t j) const { return j < newState_.size() && newState_[j] == kListed; }

    // The longest block of two or more records starting at old record i (first in the new list
    // among equals); 0 when there is none.
    uint32_t LongestPairBlock(size_t i, size_t& bestJ) {
        int32_t pair = oldPair_[i];
        if (pair < 0) {
            return 0;
        }
        const uint32_t limit = oldRun_[i];
        uint32_t best = 0;
        uint32_t* positions = pairGroups_.positions.data();
        uint32_t& end = pairGroups_.end[static_cast<size_t>(pair)];
        uint32_t kept = pairGroups_.start[static_cast<size_t>(pair)];
        uint32_t at = kept;
        for (; at < end; ++at) {
            size_t j = positions[at];
            if (!NewListed(j) || !NewListed(j + 1)) {
                continue;  // matched since: drop it from the group
            }
            positions[kept++] = positions[at];
            if (best > 0) {
                // Only a longer block counts, so its record at offset `best` must match first.
                if (!NewListed(j + best) || newId_[j + best] != oldId_[i + best]) {
                    continue;
                }
            }
            uint32_t length = 2;
            while (length < limit && NewListed(j + length) && newId_[j + length] == oldId_[i + length]) {
                ++length;
            }
            if (length > best) {
                best = length;
                bestJ = j;
                if (best == limit) {
                    ++at;
                    break;  // no block can be longer
                }
            }
        }
        // Close the gap left by dropped entries so the group stays in ascending order.
        while (at < end) {
            positions[kept++] = positions[at++];
        }
        end = kept;
        return best;
    }

    // The first listed new record equal to old record i; false when there is none.
    bool FirstSingle(size_t i, size_t& j) {
        size_t id = static_cast<size_t>(oldId_[i]);
        uint32_t& head = singleHead_[id];
        uint32_t end = singles_.end[id];
        while (head < end && !NewListed(singles_.positions[head])) {
            ++head;
        }
        if (head == end) {
            return false;
        }
        j = singles_.positions[head];
        return true;
    }

    long MatchBlocks() {
        long matched = 0;
        size_t i = 0;
        while (i < old_.size()) {
            if (oldState_[i] != kListed || oldId_[i] < 0) {
                ++i;
                continue;
            }
            size_t bestJ = 0;
            uint32_t best = LongestPairBlock(i, bestJ);
            if (best == 0 && !CompareTextIsBlank(old_[i].substr(0, std::min(old_[i].size(), rules_.end))) &&
                FirstSingle(i, bestJ)) {
                best = 1;
            }
            if (best == 0) {
                ++i;  // no block starts here: the record stays as deleted
                continue;
            }
            for (uint32_t k = 0; k < best; ++k) {
                oldState_[i + k] = kMatched;
                newState_[bestJ + k] = kMatched;
            }
            matched += best;
            i += best;
        }
        return matched;
    }

    std::span<const std::string_view> old_;
    std::span<const std::string_view> new_;
    CompareOptions options_;
    KeyRules rules_;
    std::vector<uint8_t> oldState_;
    std::vector<uint8_t> newState_;
    std::vector<int32_t> oldId_;
    std::vector<int32_t> newId_;
    std::vector<int32_t> oldPair_;
    std::vector<uint32_t> oldRun_;
    Groups singles_;
    std::vector<uint32_t> singleHead_;
    Groups pairGroups_;
};

}  // namespace

bool CompareTextIsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

CompareResult MatchRecords(std::span<const std::string_view> oldRecords,
                           std::span<const std::string_view> newRecords, const CompareOptions& options) {
    return Matcher(oldRecords, newRecords, options).Run();
}

}  // namespace tavoe
