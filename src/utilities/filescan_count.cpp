#include "utilities/filescan_count.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/file_io.h"
#include "platform/format.h"

namespace tavoe {

namespace {

constexpr size_t kReadBlock = 1 << 20;
constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

// Whether any of the eight bytes is below 32 (a control byte: the only ones the scan looks at).
bool HasControlByte(uint64_t word) {
    return ((word - kOnes * 32) & ~word & kHighs) != 0;
}

}  // namespace

void FileScanner::Special(unsigned char c) {
    switch (c) {
        case 13:
            ++length_;
            crPending_ = true;
            return;
        case 10:
            ++(crPending_ ? counts_.crlf : counts_.lf);
            ++counts_.records;
            counts_.maxRecLen = std::max(counts_.maxRecLen, length_);
            length_ = 0;
            break;
        case 9:
            ++counts_.tab;
            break;
        case 12:
            ++counts_.ff;
            break;
        case 26:
            ++counts_.eof;
            break;
        case 0:
            ++counts_.zero;
            ++length_;
            break;
        default:
            ++counts_.nonData;
            ++length_;
            break;
    }
    crPending_ = false;
}

void FileScanner::Ordinary(size_t count) {
    if (count > 0) {
        length_ += count;
        crPending_ = false;
    }
}

void FileScanner::Add(const char* data, size_t count) {
    counts_.bytes += count;
    size_t at = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a mask of the control bytes among them, each handled in turn, and the
    // ordinary bytes between them only lengthen the record.
    const __m128i limit = _mm_set1_epi8(31);
    while (at + 16 <= count) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        auto mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, limit), bytes)));
        size_t done = 0;
        while (mask != 0) {
            auto bit = static_cast<size_t>(__builtin_ctz(mask));
            Ordinary(bit - done);
            Special(static_cast<unsigned char>(data[at + bit]));
            done = bit + 1;
            mask &= mask - 1;
        }
        Ordinary(16 - done);
        at += 16;
    }
#endif
    while (at < count) {
        // Runs of ordinary bytes only lengthen the record: skip them eight at a time.
        size_t start = at;
        while (at + 8 <= count) {
            uint64_t word;
            std::memcpy(&word, data + at, 8);
            if (HasControlByte(word)) {
                break;
            }
            at += 8;
        }
        while (at < count && static_cast<unsigned char>(data[at]) >= 32) {
            ++at;
        }
        Ordinary(at - start);
        if (at < count) {
            Special(static_cast<unsigned char>(data[at]));
            ++at;
        }
    }
}

FileScanCounts FileScanner::Finish() {
    counts_.maxRecLen = std::max(counts_.maxRecLen, length_);
    return counts_;
}

std::string ScanFile(const std::string& path, FileScanCounts& counts) {
    counts = FileScanCounts{};
    FileHandle handle;
    FileStamp stamp;
    if (!OpenExisting(path, OpenAccess::Read, handle).Ok() || !StatHandle(handle, stamp).Ok() ||
        stamp.isDirectory) {
        return Format("Could not open file '%s' for scan.", path.c_str());
    }
    FileScanner scanner;
    std::vector<char> block(kReadBlock);
    std::string failure;
    for (;;) {
        size_t got = 0;
        if (!ReadFull(handle, block.data(), block.size(), &got).Ok()) {
            scanner.Add(block.data(), got);
            failure = Format("Read error on file %s", path.c_str());
            break;
        }
        scanner.Add(block.data(), got);
        if (got < block.size()) {
            break;
        }
    }
    counts = scanner.Finish();
    return failure;
}

std::string GroupedNumber(uint64_t number) {
    std::string digits = std::to_string(number);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped.push_back(',');
        }
        grouped.push_back(digits[i]);
    }
    return grouped;
}

}  // namespace tavoe
