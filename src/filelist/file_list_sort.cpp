#include "filelist/file_list_sort.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

#include "filelist/file_list_format.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr size_t kProgressStep = 400;

// Counts the entries put in their final place across the whole sort and tells the caller every
// kProgressStep of them. Passes whose order a later pass replaces get no counter.
class SortCounter {
public:
    explicit SortCounter(const std::function<void(size_t)>& report) : report_(report) {}
    void Placed() {
        ++placed_;
        if (report_ && placed_ % kProgressStep == 0) {
            report_(placed_);
        }
    }
    size_t placed() const { return placed_; }

private:
    const std::function<void(size_t)>& report_;
    size_t placed_ = 0;
};

char LowerByte(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The name's key: its group (0 for a name not beginning with a letter, 1..26 for A..Z) in front
// of its lower-cased bytes, so that one byte-wise comparison gives the whole name order.
std::string NameKey(std::string_view name) {
    std::string key;
    key.reserve(name.size() + 1);
    char first = name.empty() ? '\0' : LowerByte(name.front());
    key += (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 1) : '\0';
    for (char c : name) {
        key += LowerByte(c);
    }
    return key;
}

// Stably reorders the entries by a key per entry. Compared as unsigned bytes (strings) or
// numbers; descending reverses the comparison, so entries with equal keys keep their order both
// ways and the entries with an empty key come first ascending and last descending.
template <typename Key>
void StableSortBy(std::vector<FileEntry>& entries, const std::vector<Key>& keys, SortOrder order,
                  SortCounter* counter) {
    std::vector<uint32_t> perm(entries.size());
    std::iota(perm.begin(), perm.end(), 0u);
    if (order == SortOrder::Ascending) {
        std::stable_sort(perm.begin(), perm.end(),
                         [&keys](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
    } else {
        std::stable_sort(perm.begin(), perm.end(),
                         [&keys](uint32_t a, uint32_t b) { return keys[b] < keys[a]; });
    }
    std::vector<FileEntry> sorted;
    sorted.reserve(entries.size());
    for (uint32_t index : perm) {
        sorted.push_back(std::move(entries[index]));
        if (counter != nullptr) {
            counter->Placed();
        }
    }
    entries = std::move(sorted);
}

// std::string compares its bytes as char; keys compare as unsigned bytes, so a name with bytes
// above 127 (UTF-8) sorts after ASCII ones on every platform.
using ByteKey = std::basic_string<unsigned char>;

ByteKey Bytes(std::string_view text) {
    return ByteKey(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

void SortByName(std::vector<FileEntry>& entries, SortOrder order, SortCounter* counter) {
    std::vector<ByteKey> keys;
    keys.reserve(entries.size());
    for (const FileEntry& entry : entries) {
        keys.push_back(Bytes(NameKey(entry.name)));
    }
    StableSortBy(entries, keys, order, counter);
}

template <typename KeyOf>
void SortByKey(std::vector<FileEntry>& entries, SortOrder order, SortCounter* counter, KeyOf keyOf) {
    using Key = decltype(keyOf(entries.front()));
    std::vector<Key> keys;
    keys.reserve(entries.size());
    for (const FileEntry& entry : entries) {
        keys.push_back(keyOf(entry));
    }
    StableSortBy(entries, keys, order, counter);
}

void SortPart(std::vector<FileEntry>& entries, bool directories, const SortRequest& request,
              SortCounter& counter) {
    if (entries.empty()) {
        return;
    }
    const SortOrder order = request.order;
    switch (request.field) {
        case SortField::Name:
            SortByName(entries, order, &counter);
            return;
        case SortField::Date:
            SortByKey(entries, order, &counter,
                      [](const FileEntry& e) { return static_cast<int64_t>(e.modified); });
            return;
        case SortField::Path:
            SortByName(entries, SortOrder::Ascending, nullptr);
            SortByKey(entries, order, &counter, [](const FileEntry& e) { return Bytes(e.path); });
            return;
        default:
            break;
    }
    // The keyed fields put directories in name order.
    SortByName(entries, SortOrder::Ascending, directories ? &counter : nullptr);
    if (directories) {
        return;
    }
    switch (request.field) {
        case SortField::Ext:
            SortByKey(entries, order, &counter, [](const FileEntry& e) { return Bytes(UpperAscii(e.ext)); });
            return;
        case SortField::Size:
            SortByKey(entries, order, &counter, [](const FileEntry& e) { return e.size; });
            return;
        case SortField::Attr:
            SortByKey(entries, order, &counter, [](const FileEntry& e) { return Bytes(FormatAttrs(e)); });
            return;
        case SortField::Action:
            SortByKey(entries, order, &counter, [](const FileEntry& e) { return Bytes(ActionText(e)); });
            return;
        default:
            return;
    }
}

}  // namespace

bool ParseSortParams(std::string_view params, SortRequest& request, std::string& error) {
    static constexpr SortField kFields[] = {SortField::Name, SortField::Ext,  SortField::Size,
                                            SortField::Date, SortField::Attr, SortField::Action,
                                            SortField::Path};
    bool haveField = false;
    request = SortRequest{};
    size_t at = 0;
    while (at < params.size()) {
        size_t start = params.find_first_not_of(' ', at);
        if (start == std::string_view::npos) {
            break;
        }
        size_t end = params.find(' ', start);
        std::string_view word = params.substr(start, end == std::string_view::npos ? end : end - start);
        at = end == std::string_view::npos ? params.size() : end;
        std::string upper = UpperAscii(word);
        if (upper == "ASCENDING") {
            request.order = SortOrder::Ascending;
            continue;
        }
        if (upper == "DESCENDING") {
            request.order = SortOrder::Descending;
            continue;
        }
        bool known = false;
        for (SortField field : kFields) {
            if (upper == SortFieldName(field)) {
                if (haveField) {
                    error = "File List, SORT, only allowed to sort one field.";
                    return false;
                }
                haveField = true;
                known = true;
                request.field = field;
            }
        }
        if (!known) {
            error = Format("File List, SORT, invalid parameter '%s'", std::string(word).c_str());
            return false;
        }
    }
    return true;
}

bool NameBefore(std::string_view a, std::string_view b) {
    return Bytes(NameKey(a)) < Bytes(NameKey(b));
}

void SortFileList(FileList& list, const SortRequest& request, const std::function<void(size_t)>& progress) {
    SortCounter counter(progress);
    SortPart(list.dirs, true, request, counter);
    SortPart(list.files, false, request, counter);
    if (progress && counter.placed() % kProgressStep != 0 && counter.placed() > kProgressStep) {
        progress(counter.placed());  // the last, uneven count
    }
    list.sorted = true;
    list.sortField = request.field;
    list.sortOrder = request.order;
}

}  // namespace tavoe
