// File scan counts, against a byte-at-a-time count of the same rules.
#include "utilities/filescan_count.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace tavoe {

namespace {

// The rules one byte at a time, as a user would count them.
FileScanCounts Reference(const std::string& bytes) {
    FileScanCounts c;
    uint64_t length = 0;
    bool cr = false;
    for (unsigned char b : bytes) {
        ++c.bytes;
        if (b == 13) {
            ++length;
            cr = true;
        } else if (b == 10) {
            ++(cr ? c.crlf : c.lf);
            ++c.records;
            length = 0;
            cr = false;
        } else if (b == 9 || b == 12 || b == 26) {
            ++(b == 9 ? c.tab : b == 12 ? c.ff : c.eof);
            cr = false;
        } else {
            ++length;
            cr = false;
            c.zero += b == 0;
            c.nonData += b >= 1 && b <= 31;
        }
        c.maxRecLen = std::max(c.maxRecLen, length);
    }
    return c;
}

void ExpectCounts(const FileScanCounts& want, const FileScanCounts& got) {
    EXPECT_EQ(want.maxRecLen, got.maxRecLen);
    EXPECT_EQ(want.records, got.records);
    EXPECT_EQ(want.bytes, got.bytes);
    EXPECT_EQ(want.tab, got.tab);
    EXPECT_EQ(want.ff, got.ff);
    EXPECT_EQ(want.lf, got.lf);
    EXPECT_EQ(want.crlf, got.crlf);
    EXPECT_EQ(want.nonData, got.nonData);
    EXPECT_EQ(want.zero, got.zero);
    EXPECT_EQ(want.eof, got.eof);
}

TEST(FileScan, AgreesWithByteCountOnRandomBytesInRandomPieces) {
    std::mt19937 rng(11);
    const std::string common = "ab \r\n\t\f\x1a\0\x01\x1f\x7f\x80\xff";
    for (int round = 0; round < 500 && !HasFailure(); ++round) {
        std::string bytes(rng() % 400, ' ');
        for (char& b : bytes) {
            // Mostly text, so runs of ordinary bytes alternate with control bytes.
            b = rng() % 3 == 0 ? common[rng() % common.size()] : static_cast<char>('A' + rng() % 26);
        }
        FileScanner scanner;
        for (size_t at = 0; at < bytes.size();) {
            size_t piece = std::min<size_t>(1 + rng() % 60, bytes.size() - at);
            scanner.Add(bytes.data() + at, piece);
            at += piece;
        }
        ExpectCounts(Reference(bytes), scanner.Finish());
    }
}

TEST(FileScan, CrLfLinesCountTheCrInTheLength) {
    FileScanner scanner;
    scanner.Add("abc\r\nabc\r\nabc\r\n", 15);
    FileScanCounts c = scanner.Finish();
    EXPECT_EQ(3u, c.records);
    EXPECT_EQ(3u, c.crlf);
    EXPECT_EQ(0u, c.lf);
    EXPECT_EQ(4u, c.maxRecLen);
    EXPECT_EQ(15u, c.bytes);
}

TEST(FileScan, LastLineWithoutLfCountsOnlyInLength) {
    FileScanner scanner;
    scanner.Add("ab\n\tlonger", 10);
    FileScanCounts c = scanner.Finish();
    EXPECT_EQ(1u, c.records);
    EXPECT_EQ(6u, c.maxRecLen);  // the tab does not lengthen it
    EXPECT_EQ(1u, c.tab);
}

TEST(FileScan, FilesOnDisk) {
    const char* base = std::getenv("TAVOE_TEST_TMP");
    std::filesystem::path dir = std::filesystem::path(base != nullptr && *base ? base : "/tmp") /
                                ("tavoe_filescan_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string empty = (dir / "empty").string();
    std::ofstream(empty).close();
    FileScanCounts c;
    EXPECT_EQ("", ScanFile(empty, c));
    ExpectCounts(FileScanCounts{}, c);
    // Larger than one read block, with a CR+LF split across blocks.
    std::string big(3 << 20, 'x');
    for (size_t at = 99; at < big.size(); at += 100) {
        big[at - 1] = '\r';
        big[at] = '\n';
    }
    big[(1 << 20) - 1] = '\r';
    big[1 << 20] = '\n';
    std::string bigPath = (dir / "big").string();
    std::ofstream(bigPath, std::ios::binary) << big;
    EXPECT_EQ("", ScanFile(bigPath, c));
    ExpectCounts(Reference(big), c);
    std::string missing = (dir / "missing").string();
    EXPECT_EQ("Could not open file '" + missing + "' for scan.", ScanFile(missing, c));
    EXPECT_EQ("Could not open file '" + dir.string() + "' for scan.", ScanFile(dir.string(), c));
    std::filesystem::remove_all(dir);
}

TEST(FileScan, NumbersAreGroupedByThousands) {
    EXPECT_EQ("0", GroupedNumber(0));
    EXPECT_EQ("999", GroupedNumber(999));
    EXPECT_EQ("1,000", GroupedNumber(1000));
    EXPECT_EQ("1,073,741,824", GroupedNumber(1073741824));
}

}  // namespace

}  // namespace tavoe
