// Sorting a file list: the name order, stability, and the keyed fields, against a straightforward
// reference of the same rules.
#include "filelist/file_list_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tavoe {

namespace {

FileEntry File(std::string name, uint64_t size = 0, std::string ext = "") {
    FileEntry entry;
    entry.name = std::move(name);
    entry.size = size;
    entry.ext = std::move(ext);
    entry.path = "/d/";
    return entry;
}

FileEntry Dir(std::string name) {
    FileEntry entry = File(std::move(name));
    entry.isDirectory = true;
    return entry;
}

std::vector<std::string> Names(const std::vector<FileEntry>& entries) {
    std::vector<std::string> names;
    for (const FileEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

SortRequest Request(SortField field, SortOrder order = SortOrder::Ascending) {
    return SortRequest{field, order};
}

using Names_ = std::vector<std::string>;

TEST(FileListNameOrder, NonLettersFirstThenLettersWithoutCase) {
    FileList list;
    for (const char* name : {"banana", "apple2", "_a", "Apple", "9b"}) {
        list.files.push_back(File(name));
    }
    SortFileList(list, Request(SortField::Name));
    EXPECT_EQ(Names(list.files), (Names_{"9b", "_a", "Apple", "apple2", "banana"}));
    SortFileList(list, Request(SortField::Name, SortOrder::Descending));
    EXPECT_EQ(Names(list.files), (Names_{"banana", "apple2", "Apple", "_a", "9b"}));
    // Bytes above 127 are no letters: such names stay in the first group, after ASCII ones there.
    EXPECT_TRUE(NameBefore("\xc3\xa9t\xc3\xa9", "a"));
    EXPECT_TRUE(NameBefore("_z", "\xc3\xa9"));
    EXPECT_TRUE(NameBefore("Zeta", "zf"));
}

TEST(FileListNameOrder, MatchesAReferenceOnRandomNames) {
    std::mt19937 random(7);
    const std::string alphabet = "aAbBzZ09_.-~";
    std::vector<std::string> names;
    for (int i = 0; i < 500; ++i) {
        std::string name;
        for (int k = 0, n = 1 + static_cast<int>(random() % 5); k < n; ++k) {
            name += alphabet[random() % alphabet.size()];
        }
        names.push_back(name);
    }
    // The rule written out: group (0 for non-letters, then A..Z), then the lower-cased bytes.
    auto key = [](const std::string& name) {
        char first = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
        int group = (first >= 'a' && first <= 'z') ? first - 'a' + 1 : 0;
        std::string lower;
        for (char c : name) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return std::make_pair(group, lower);
    };
    std::vector<std::string> expected = names;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](const std::string& a, const std::string& b) { return key(a) < key(b); });
    FileList list;
    for (const std::string& name : names) {
        list.files.push_back(File(name));
    }
    SortFileList(list, Request(SortField::Name));
    EXPECT_EQ(Names(list.files), expected);
}

TEST(FileListKeyedSort, SizeDescendingKeepsDirectoriesByNameAndEqualSizesInOrder) {
    FileList list;
    list.dirs = {Dir("zeta"), Dir("Alpha")};
    list.files = {File("c", 10), File("a", 500), File("b", 10), File("d", 7)};
    SortFileList(list, Request(SortField::Size, SortOrder::Descending));
    EXPECT_EQ(Names(list.dirs), (Names_{"Alpha", "zeta"}));
    // The keyed sort starts from name order: a tie between b and c keeps b first either way.
    EXPECT_EQ(Names(list.files), (Names_{"a", "b", "c", "d"}));
    SortFileList(list, Request(SortField::Size));
    EXPECT_EQ(Names(list.files), (Names_{"d", "b", "c", "a"}));
    EXPECT_TRUE(list.sorted);
    EXPECT_EQ(list.sortField, SortField::Size);
}

TEST(FileListKeyedSort, EmptyKeysComeFirstAscendingAndLastDescending) {
    FileList list;
    list.files = {File("b.txt", 1, "txt"), File("make", 1), File("a.c", 1, "c"), File("a.txt", 1, "txt"),
                  File("Readme", 1)};
    SortFileList(list, Request(SortField::Ext));
    EXPECT_EQ(Names(list.files), (Names_{"make", "Readme", "a.c", "a.txt", "b.txt"}));
    SortFileList(list, Request(SortField::Ext, SortOrder::Descending));
    // Descending reverses the buckets, not the name order inside one.
    EXPECT_EQ(Names(list.files), (Names_{"a.txt", "b.txt", "a.c", "make", "Readme"}));
}

TEST(FileListKeyedSort, ActionAndPathAndDate) {
    FileList list;
    list.files = {File("x"), File("y"), File("z")};
    list.files[0].action = EntryAction::Edited;
    list.files[2].action = EntryAction::Browsed;
    SortFileList(list, Request(SortField::Action));
    EXPECT_EQ(Names(list.files), (Names_{"y", "z", "x"}));

    list.files = {File("b"), File("a"), File("a")};
    list.files[0].path = "/p/";
    list.files[1].path = "/q/";
    list.files[2].path = "/o/";
    SortFileList(list, Request(SortField::Path, SortOrder::Descending));
    EXPECT_EQ(list.files[0].path, "/q/");
    EXPECT_EQ(list.files[1].path, "/p/");
    EXPECT_EQ(list.files[2].path, "/o/");

    list.dirs = {Dir("new"), Dir("old")};
    list.dirs[0].modified = 200;
    list.dirs[1].modified = 100;
    SortFileList(list, Request(SortField::Date));
    EXPECT_EQ(Names(list.dirs), (Names_{"old", "new"}));  // dates sort directories too
}

TEST(FileListSortParams, FieldsOrdersAndTheirMessages) {
    SortRequest request;
    std::string error;
    ASSERT_TRUE(ParseSortParams("  size  descending ", request, error));
    EXPECT_EQ(request.field, SortField::Size);
    EXPECT_EQ(request.order, SortOrder::Descending);
    ASSERT_TRUE(ParseSortParams("ASCENDING", request, error));
    EXPECT_EQ(request.field, SortField::Name);
    EXPECT_FALSE(ParseSortParams("NAME SIZE", request, error));
    EXPECT_EQ(error, "File List, SORT, only allowed to sort one field.");
    EXPECT_FALSE(ParseSortParams("date sideways", request, error));
    EXPECT_EQ(error, "File List, SORT, invalid parameter 'sideways'");
}

}  // namespace

// The progress counts each entry once, whatever the field (keyed fields sort twice inside), every
// 400 entries across directories and files, with the last uneven count at the end.
TEST(FileListSortProgress, EveryFourHundredEntriesOnceEach) {
    FileList list;
    for (int i = 0; i < 300; ++i) {
        list.dirs.push_back(Dir("d" + std::to_string(i)));
    }
    for (int i = 0; i < 1000; ++i) {
        list.files.push_back(File("f" + std::to_string(i), static_cast<uint64_t>(1000 - i)));
    }
    for (SortField field : {SortField::Name, SortField::Size, SortField::Path, SortField::Ext}) {
        std::vector<size_t> counts;
        SortFileList(list, Request(field), [&counts](size_t count) { counts.push_back(count); });
        EXPECT_EQ(counts, (std::vector<size_t>{400, 800, 1200, 1300})) << static_cast<int>(field);
    }
    std::vector<size_t> counts;
    list.files.resize(50);
    SortFileList(list, Request(SortField::Size), [&counts](size_t count) { counts.push_back(count); });
    EXPECT_TRUE(counts.empty()) << "a list under 400 entries needs no report";
    EXPECT_TRUE(std::is_sorted(list.files.begin(), list.files.end(),
                               [](const FileEntry& a, const FileEntry& b) { return a.size < b.size; }));
}

}  // namespace tavoe
