#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "buffer/charset.h"
#include "core/context_stack.h"
#include "core/storage_host.h"
#include "file_ops_test_support.h"
#include "filelist/file_ops.h"

namespace {

struct SearchFixture : OpsFixture {
    SearchFixture() {
        VarSetValue(app, "ZPATH.FILEPROFILES", std::string(TAVOE_SOURCE_DIR) + "/data/profiles");
    }
};

// The reference: a case-blind search of the whole file at once.
bool ReferenceFinds(std::string data, std::string text) {
    auto lower = [](std::string& s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    };
    lower(data);
    lower(text);
    return data.find(text) != std::string::npos;
}

// Random files over a small alphabet put the text everywhere, across every block boundary too; the
// answer must always be the reference's.
TEST(SearchFileBytes, AgreesWithAWholeFileSearchWhereverTheTextLies) {
    SearchFixture f;
    std::mt19937 random(20);
    const std::string alphabet = "abAB\n";
    int found = 0;
    for (int round = 0; round < 60; ++round) {
        std::string data(static_cast<size_t>(random() % 300000), 'x');
        for (char& c : data) {
            c = random() % 50 == 0 ? alphabet[random() % alphabet.size()] : 'x';
        }
        std::string text = round % 2 == 0 ? "aBbA" : "AbAbA";
        static constexpr size_t kBoundaries[] = {4096, 65536, 262144};
        size_t boundary = kBoundaries[static_cast<size_t>(round / 3) % 3] - 2;
        if (round % 3 == 0) {
            // The text cut by a block boundary of the reads (whatever block size they use).
            data.resize(std::max(data.size(), boundary + 100), 'x');
            std::string planted = text;
            std::transform(planted.begin(), planted.end(), planted.begin(),
                           [](unsigned char c) { return std::tolower(c); });
            data.replace(boundary, text.size(), planted);
        }
        std::string path = f.File("r.txt", data);
        bool expected = ReferenceFinds(data, text);
        found += expected;
        EXPECT_EQ(SearchFileBytes(f.app, path, text), expected ? 1 : 0) << "round " << round;
    }
    EXPECT_GT(found, 5);  // both answers occur
    EXPECT_LT(found, 60);
}

TEST(SearchFileBytes, QuotesMissingFilesAndEbcdicFiles) {
    SearchFixture f;
    std::string path = f.File("q.txt", "say 'Hello World' now");
    EXPECT_EQ(SearchFileBytes(f.app, path, "'hello world'"), 1);
    EXPECT_EQ(SearchFileBytes(f.app, path, "\"WORLD' NOW\""), 1);
    EXPECT_EQ(SearchFileBytes(f.app, path, "'hello there"), 0);  // an unmatched quote is part of the text
    EXPECT_EQ(SearchFileBytes(f.app, path, "'hello w"), 1);
    EXPECT_EQ(SearchFileBytes(f.app, f.Path("none.txt"), "x"), 0);
    EXPECT_EQ(f.LastMessage(), "Unable to open '" + f.Path("none.txt") + "' for SEARCH.");

    // A file of the EBC profile holds EBCDIC: the text is translated before the bytes are compared.
    std::string text = "Record ONE";
    std::string ebcdic(text.size(), '\0');
    Translate(Storage(f.app), CharSet::AsciiIso8859, CharSet::Ebcdic, text.data(), ebcdic.data(),
              static_cast<int>(text.size()));
    std::string file = f.File("data.ebc", "\x40\x40" + ebcdic + "\x40");
    EXPECT_EQ(SearchFileBytes(f.app, file, "record one"), 1);
    EXPECT_EQ(SearchFileBytes(f.app, file, "Record TWO"), 0);
    std::string ascii = f.File("data.txt", "\x40\x40" + ebcdic);
    EXPECT_EQ(SearchFileBytes(f.app, ascii, "record one"), 0);

    // A profile kept across calls is read again when the next file has another type.
    SearchProfileCache cache;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(SearchFileBytes(f.app, file, "record one", &cache), 1);
        EXPECT_EQ(cache.profileName, "EBC");
        EXPECT_EQ(SearchFileBytes(f.app, ascii, "record one", &cache), 0);
        EXPECT_EQ(SearchFileBytes(f.app, path, "hello", &cache), 1);
        EXPECT_FALSE(cache.ebcdic);
    }
}

TEST(FindInFile, CountsHitsInAHiddenSessionThatLeavesNoTrace) {
    SearchFixture f;
    std::string path = f.File("a.txt", "abc x abc\nnone\nABC\n");
    size_t frames = f.app.contexts.size();
    EXPECT_EQ(FindInFile(f.app, path, "abc all"), 3);
    EXPECT_EQ(FindInFile(f.app, path, "zzz all"), 0);
    EXPECT_EQ(FindInFile(f.app, f.Path("gone.txt"), "abc all"), 0);
    EXPECT_TRUE(f.app.editSessions.empty());
    EXPECT_EQ(f.app.contexts.size(), frames);
    EXPECT_EQ(ReadWholeFile(path), "abc x abc\nnone\nABC\n");
}

TEST(ChangeInFile, ChangesAreSavedAndReadOnlyFilesSkipped) {
    SearchFixture f;
    std::string path = f.File("a.txt", "abc x abc\nnone\nabc\n");
    EXPECT_EQ(ChangeInFile(f.app, path, "abc yz"), 3);
    EXPECT_EQ(ReadWholeFile(path), "yz x yz\nnone\nyz\n");
    EXPECT_EQ(ChangeInFile(f.app, path, "abc yz"), 0);
    EXPECT_TRUE(f.app.editSessions.empty());

    std::string locked = f.File("ro.txt", "abc\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    EXPECT_EQ(ChangeInFile(f.app, locked, "abc yz"), 0);
    EXPECT_EQ(ReadWholeFile(locked), "abc\n");
}

// The base port of an instance without a shell opens no sessions: the searches find nothing rather
// than fail.
TEST(FindInFile, WithoutAShellNothingIsOpened) {
    AppSession app;
    ScratchDir dir{"fops_base"};
    std::string path = dir.File("a.txt", "abc\n");
    EXPECT_EQ(FindInFile(app, path, "abc all"), 0);
    EXPECT_EQ(ChangeInFile(app, path, "abc x"), 0);
    EXPECT_EQ(ReadWholeFile(path), "abc\n");
}

}  // namespace
