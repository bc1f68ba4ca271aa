// The indexed block matching against a literal walk of the compare passes, and the fixed cases a
// user sees in a report.
#include "utilities/compare_match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace tavoe {

namespace {

// The passes as written for the user: linked record lists, a no-match flag per old record, and for
// each pass a walk of the whole new list from its start.
struct RefRecord {
    int seq = 0;
    bool noMatch = false;
    std::string text;  // columns 1..end, blank-padded
    RefRecord* next = nullptr;
};

class Reference {
public:
    Reference(const std::vector<std::string>& oldTexts, const std::vector<std::string>& newTexts,
              const CompareOptions& options)
        : options_(options) {
        oldHead_ = Build(oldTexts, oldStore_);
        newHead_ = Build(newTexts, newStore_);
    }

    CompareResult Run() {
        CompareResult result;
        if (options_.ignoreEmptyLines) {
            oldHead_ = DropBlank(oldHead_);
            newHead_ = DropBlank(newHead_);
        }
        while (Pass(result.matched)) {
        }
        for (RefRecord* r = oldHead_; r != nullptr; r = r->next) {
            result.deleted.push_back(r->seq);
        }
        for (RefRecord* r = newHead_; r != nullptr; r = r->next) {
            result.inserted.push_back(r->seq);
        }
        result.error = error_;
        return result;
    }

private:
    RefRecord* Build(const std::vector<std::string>& texts, std::vector<RefRecord>& store) const {
        store.resize(texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            store[i].seq = static_cast<int>(i + 1);
            store[i].text = texts[i].substr(0, std::min<size_t>(texts[i].size(), options_.colEnd));
            store[i].text.resize(static_cast<size_t>(options_.colEnd), ' ');
            store[i].next = i + 1 < texts.size() ? &store[i + 1] : nullptr;
        }
        return texts.empty() ? nullptr : &store[0];
    }

    static bool Blank(const RefRecord* r) { return r->text.find_first_not_of(' ') == std::string::npos; }

    static RefRecord* DropBlank(RefRecord* head) {
        RefRecord* first = nullptr;
        RefRecord* last = nullptr;
        for (RefRecord* r = head; r != nullptr; r = r->next) {
            if (Blank(r)) {
                continue;
            }
            (last == nullptr ? first : last->next) = r;
            last = r;
        }
        if (last != nullptr) {
            last->next = nullptr;
        }
        return first;
    }

    bool Equal(const RefRecord* a, const RefRecord* b) {
        size_t s = static_cast<size_t>(options_.colStart);
        size_t e = static_cast<size_t>(options_.colEnd);
        if (a->text.size() < s) {
            return b->text.size() < s;
        }
        if (b->text.size() < s) {
            return false;
        }
        std::string pa = a->text.substr(s - 1, std::min(a->text.size(), e) - s + 1);
        std::string pb = b->text.substr(s - 1, std::min(b->text.size(), e) - s + 1);
        if (options_.ignoreWhitespace || options_.ignoreCase) {
            if (pa.size() > 1023 || pb.size() > 1023) {
                error_ = true;
                return false;
            }
            if (options_.ignoreWhitespace) {
                pa = Strip(pa);
                pb = Strip(pb);
            }
            if (options_.ignoreCase) {
                for (char& c : pa) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                }
                for (char& c : pb) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                }
            }
        }
        return !error_ && pa == pb;
    }

    static std::string Strip(const std::string& s) {
        size_t b = s.find_first_not_of(" \t");
        if (b == std::string::npos) {
            return {};
        }
        return s.substr(b, s.find_last_not_of(" \t") - b + 1);
    }

    static void Remove(RefRecord*& head, RefRecord* from, int count) {
        RefRecord* before = nullptr;
        for (RefRecord* r = head; r != from; r = r->next) {
            before = r;
        }
        RefRecord* after = from;
        for (int k = 0; k < count; ++k) {
            after = after->next;
        }
        (before == nullptr ? head : before->next) = after;
    }

    bool Pass(long& matched) {
        RefRecord* o = oldHead_;
        while (o != nullptr && o->noMatch) {
            o = o->next;
        }
        while (o != nullptr && newHead_ != nullptr) {
            RefRecord* bestOld = nullptr;
            RefRecord* bestNew = nullptr;
            int best = 0;
            for (RefRecord* n = newHead_; n != nullptr; n = n->next) {
                if (!Equal(o, n)) {
                    continue;
                }
                int length = 1;
                RefRecord* a = o;
                RefRecord* b = n;
                while (a->next != nullptr && b->next != nullptr && a->next->seq == a->seq + 1 &&
                       b->next->seq == b->seq + 1 && Equal(a->next, b->next)) {
                    a = a->next;
                    b = b->next;
                    ++length;
                }
                if (length == 1 && Blank(o)) {
                    continue;
                }
                if (length > best) {
                    best = length;
                    bestOld = o;
                    bestNew = n;
                }
            }
            if (best > 0) {
                matched += best;
                Remove(oldHead_, bestOld, best);
                Remove(newHead_, bestNew, best);
                return true;
            }
            o->noMatch = true;
            do {
                o = o->next;
            } while (o != nullptr && o->noMatch);
        }
        return false;
    }

    CompareOptions options_;
    std::vector<RefRecord> oldStore_;
    std::vector<RefRecord> newStore_;
    RefRecord* oldHead_ = nullptr;
    RefRecord* newHead_ = nullptr;
    bool error_ = false;
};

CompareResult Indexed(const std::vector<std::string>& oldTexts, const std::vector<std::string>& newTexts,
                      const CompareOptions& options) {
    std::vector<std::string_view> o(oldTexts.begin(), oldTexts.end());
    std::vector<std::string_view> n(newTexts.begin(), newTexts.end());
    return MatchRecords(o, n, options);
}

// Small alphabets make duplicates, blank and white-space variants and case variants common.
std::string RandomRecord(std::mt19937& rng) {
    static const char* const kWords[] = {"",    " ", "  ",  "a",  "A",   " a", "a ",
                                         "\ta", "b", "B b", "ab", "a\t", "c"};
    return kWords[rng() % std::size(kWords)];
}

std::vector<std::string> RandomFile(std::mt19937& rng, size_t maxRecords) {
    std::vector<std::string> records(rng() % (maxRecords + 1));
    for (std::string& r : records) {
        r = RandomRecord(rng);
    }
    return records;
}

// An edited copy: changed, inserted and deleted records and a moved block.
std::vector<std::string> Edited(std::mt19937& rng, std::vector<std::string> records) {
    int edits = static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
        size_t at = records.empty() ? 0 : rng() % records.size();
        switch (rng() % 4) {
            case 0:
                if (!records.empty()) {
                    records[at] = RandomRecord(rng);
                }
                break;
            case 1:
                records.insert(records.begin() + static_cast<long>(at), RandomRecord(rng));
                break;
            case 2:
                if (!records.empty()) {
                    records.erase(records.begin() + static_cast<long>(at));
                }
                break;
            default:
                if (records.size() > 2) {
                    size_t len = 1 + rng() % (records.size() / 2);
                    size_t from = rng() % (records.size() - len + 1);
                    std::vector<std::string> block(records.begin() + static_cast<long>(from),
                                                   records.begin() + static_cast<long>(from + len));
                    records.erase(records.begin() + static_cast<long>(from),
                                  records.begin() + static_cast<long>(from + len));
                    size_t to = rng() % (records.size() + 1);
                    records.insert(records.begin() + static_cast<long>(to), block.begin(), block.end());
                }
                break;
        }
    }
    return records;
}

void ExpectSame(const CompareResult& want, const CompareResult& got, const std::string& what) {
    EXPECT_EQ(want.deleted, got.deleted) << what;
    EXPECT_EQ(want.inserted, got.inserted) << what;
    EXPECT_EQ(want.matched, got.matched) << what;
    EXPECT_EQ(want.error, got.error) << what;
}

std::string Describe(const std::vector<std::string>& o, const std::vector<std::string>& n,
                     const CompareOptions& c) {
    std::string text = "cols " + std::to_string(c.colStart) + "-" + std::to_string(c.colEnd) +
                       (c.ignoreWhitespace ? " ws" : "") + (c.ignoreEmptyLines ? " empty" : "") +
                       (c.ignoreCase ? " case" : "") + "\nold:";
    for (const std::string& r : o) {
        text += " [" + r + "]";
    }
    text += "\nnew:";
    for (const std::string& r : n) {
        text += " [" + r + "]";
    }
    return text;
}

TEST(CompareMatch, AgreesWithTheLiteralPassesOnRandomInputs) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 6000 && !HasFailure(); ++round) {
        std::vector<std::string> oldTexts = RandomFile(rng, 14);
        std::vector<std::string> newTexts = rng() % 3 == 0 ? RandomFile(rng, 14) : Edited(rng, oldTexts);
        CompareOptions options;
        options.colStart = 1 + static_cast<int>(rng() % 3);
        options.colEnd = options.colStart + static_cast<int>(rng() % 4);
        options.ignoreWhitespace = rng() % 2 == 0;
        options.ignoreEmptyLines = rng() % 2 == 0;
        options.ignoreCase = rng() % 2 == 0;
        ExpectSame(Reference(oldTexts, newTexts, options).Run(), Indexed(oldTexts, newTexts, options),
                   Describe(oldTexts, newTexts, options));
    }
}

TEST(CompareMatch, AgreesOnLongerFilesWithRepeatedBlocks) {
    std::mt19937 rng(7);
    for (int round = 0; round < 400 && !HasFailure(); ++round) {
        std::vector<std::string> oldTexts;
        size_t records = 20 + rng() % 60;
        for (size_t i = 0; i < records; ++i) {
            // Recurring short runs ("}" then a blank) alongside mostly distinct records.
            oldTexts.push_back(rng() % 4 == 0 ? (i % 2 ? "}" : "") : "line " + std::to_string(rng() % 30));
        }
        std::vector<std::string> newTexts = Edited(rng, oldTexts);
        CompareOptions options;
        options.colEnd = 10;
        options.ignoreEmptyLines = rng() % 2 == 0;
        ExpectSame(Reference(oldTexts, newTexts, options).Run(), Indexed(oldTexts, newTexts, options),
                   Describe(oldTexts, newTexts, options));
    }
}

TEST(CompareMatch, MovedBlockCountsAsMatched) {
    std::vector<std::string> oldTexts;
    for (int i = 1; i <= 30; ++i) {
        oldTexts.push_back("record " + std::to_string(i));
    }
    std::vector<std::string> newTexts(oldTexts.begin() + 10, oldTexts.end());
    newTexts.insert(newTexts.end(), oldTexts.begin(), oldTexts.begin() + 10);
    CompareResult result = Indexed(oldTexts, newTexts, CompareOptions{});
    EXPECT_TRUE(result.deleted.empty());
    EXPECT_TRUE(result.inserted.empty());
    EXPECT_EQ(30, result.matched);
}

TEST(CompareMatch, LoneBlankRecordNeverFormsABlock) {
    // The blank between two changed records has an equal blank in the new file, but alone.
    std::vector<std::string> oldTexts = {"a", "x", "", "y", "b"};
    std::vector<std::string> newTexts = {"a", "p", "", "q", "b"};
    CompareResult result = Indexed(oldTexts, newTexts, CompareOptions{});
    EXPECT_EQ((std::vector<int32_t>{2, 3, 4}), result.deleted);
    EXPECT_EQ((std::vector<int32_t>{2, 3, 4}), result.inserted);
    // Inside a longer block the blank matches.
    result = Indexed({"a", "", "b"}, {"a", "", "b"}, CompareOptions{});
    EXPECT_TRUE(result.deleted.empty());
    EXPECT_EQ(3, result.matched);
}

TEST(CompareMatch, ColumnsBeyondEveryRecordMakeAllEqual) {
    CompareOptions options;
    options.colStart = 50;
    options.colEnd = 60;
    CompareResult result = Indexed({"abc", "def"}, {"xyz", "uvw", "rst"}, options);
    EXPECT_TRUE(result.deleted.empty());
    EXPECT_EQ((std::vector<int32_t>{3}), result.inserted);
}

TEST(CompareMatch, IgnoreOptionsOverTheLimitMatchNothing) {
    CompareOptions options;
    options.colEnd = 2000;
    options.ignoreCase = true;
    CompareResult result = Indexed({"same"}, {"same"}, options);
    EXPECT_TRUE(result.error);
    EXPECT_EQ((std::vector<int32_t>{1}), result.deleted);
    EXPECT_EQ((std::vector<int32_t>{1}), result.inserted);
    // Exactly 1,023 compared columns are allowed.
    options.colEnd = 1023;
    result = Indexed({"same"}, {"SAME"}, options);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(1, result.matched);
}

TEST(CompareMatch, ScatteredChangesInALargeFileFinish) {
    // Quadratic matching does not finish this within the test time limit.
    const int records = 200000;
    std::vector<std::string> oldTexts;
    oldTexts.reserve(records);
    for (int i = 0; i < records; ++i) {
        oldTexts.push_back(
            i % 10 == 0 ? "" : "data record " + std::to_string(i % 5000) + " of " + std::to_string(i));
    }
    std::vector<std::string> newTexts = oldTexts;
    std::mt19937 rng(3);
    std::vector<int32_t> changed;
    for (int c = 0; c < 2000; ++c) {
        // Away from the blank records, whose neighbours then always match (a blank between two
        // changes would be a lone blank, which never matches).
        int at = static_cast<int>(rng() % (records / 10)) * 10 + 2 + static_cast<int>(rng() % 7);
        newTexts[static_cast<size_t>(at)] = "changed " + std::to_string(c);
        changed.push_back(at + 1);
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    CompareResult result = Indexed(oldTexts, newTexts, CompareOptions{});
    EXPECT_EQ(changed, result.inserted);
    EXPECT_EQ(changed, result.deleted);
    EXPECT_EQ(static_cast<long>(records - changed.size()), result.matched);
}

}  // namespace

}  // namespace tavoe
