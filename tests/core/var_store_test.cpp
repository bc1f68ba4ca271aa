#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"

using namespace tavoe;

namespace {

std::vector<std::string> Names(AppSession& app) {
    std::vector<std::string> names;
    for (VarRecord* rec = VarFirst(app); rec != nullptr; rec = VarNext(app)) {
        names.emplace_back(rec->Name());
    }
    return names;
}

std::vector<std::string> List(AppSession& app, const std::string& name) {
    std::vector<std::string> entries;
    long count = VarGetNumber(app, name + ".0");
    for (long i = 1; i <= count; ++i) {
        entries.push_back(VarGetValue(app, name + "." + std::to_string(i)));
    }
    return entries;
}

void SetList(AppSession& app, const std::string& name, long size, const std::vector<std::string>& entries) {
    VarSetNumber(app, name + ".SIZE", size);
    VarSetNumber(app, name + ".0", static_cast<long>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        VarSetValue(app, name + "." + std::to_string(i + 1), entries[i]);
    }
}

}  // namespace

TEST(VarNames, CaseFoldsToOneVariable) {
    AppSession app;
    VarSetValue(app, "Find.FindStr", "abc");
    EXPECT_EQ(VarGetValue(app, "FIND.FINDSTR"), "abc");
    EXPECT_EQ(VarGetValue(app, "find.findstr"), "abc");
    EXPECT_EQ(VarLocate(app, "fInD.fInDsTr")->Name(), "FIND.FINDSTR");
    // Only a..z fold; other bytes are kept as they are.
    VarSetValue(app, "Zab\xe9", "x");
    EXPECT_EQ(VarLocate(app, "ZAB\xe9")->Name(), "ZAB\xe9");
    EXPECT_EQ(Names(app).size(), 2u);
    EXPECT_TRUE(app.messages.empty());
}

TEST(VarNames, LongNamesAreCutTo63) {
    AppSession app;
    std::string longName = "A" + std::string(69, 'b');
    VarSetValue(app, longName, "v");
    EXPECT_EQ(VarGetValue(app, longName.substr(0, 63)), "v");
    EXPECT_EQ(VarGetValue(app, longName.substr(0, 64) + "different tail"), "v");
    EXPECT_NE(VarLocate(app, longName.substr(0, 62)), VarLocate(app, longName));
    EXPECT_EQ(VarLocate(app, longName)->Name().size(), 63u);
    EXPECT_EQ(VarLongestName(app), 63);
}

TEST(VarNames, ShortOrNonLetterNamesAreRejected) {
    AppSession app;
    for (std::string bad : {"ab", "1abc", "", ".abc", "_abc"}) {
        app.messages.clear();
        EXPECT_EQ(VarLocate(app, bad), nullptr) << bad;
        ASSERT_EQ(app.messages.size(), 1u) << bad;
        EXPECT_EQ(app.messages[0].text,
                  "Varname must start with a..z and have length >= 3, got '" + bad + "'");
        EXPECT_EQ(app.messages[0].to, MsgTo::Box);
        EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    }
    EXPECT_EQ(VarLocate(app, std::string_view()), nullptr);
    app.messages.clear();
    EXPECT_NE(VarLocate(app, "abc"), nullptr);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(VarFirst(app)->Name(), "ABC");
    EXPECT_EQ(VarNext(app), nullptr);
}

TEST(VarNames, EmbeddedNulEndsTheName) {
    AppSession app;
    VarSetValue(app, std::string_view("abcd\0xyz", 8), "v");
    EXPECT_EQ(VarGetValue(app, "ABCD"), "v");
    EXPECT_EQ(VarLocate(app, std::string_view("ab\0cdef", 7)), nullptr);
}

TEST(VarValues, RejectedNamesReadEmptyAndReportOnSet) {
    AppSession app;
    EXPECT_EQ(VarGetValue(app, "x1"), "");
    ASSERT_EQ(app.messages.size(), 1u);
    app.messages.clear();
    EXPECT_EQ(VarSetValue(app, "x1", "value"), 0);
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[1].text, "VarSetValue: unable to access variable x1");
    EXPECT_EQ(app.messages[1].beep, Beep::Exclamation);
    app.messages.clear();
    EXPECT_EQ(VarSetPersist(app, "9xx", 1), nullptr);
    ASSERT_EQ(app.messages.size(), 2u);
    EXPECT_EQ(app.messages[1].text, "VarSetPersist: unable to access variable 9xx");
    app.messages.clear();
    VarDelete(app, "zz");
    EXPECT_EQ(app.messages.size(), 1u);  // only the name message
}

TEST(VarValues, ReadingCreatesTheVariableWithoutValue) {
    AppSession app;
    EXPECT_EQ(app.varStore, nullptr);
    EXPECT_EQ(VarGetValue(app, "ZNEVER.SET"), "");
    ASSERT_NE(app.varStore, nullptr);
    VarRecord* rec = VarFirst(app);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->Name(), "ZNEVER.SET");
    EXPECT_EQ(rec->value, nullptr);
    EXPECT_EQ(rec->capacity, 0);
    EXPECT_EQ(rec->persist, 0);
    EXPECT_FALSE(rec->HasValue());
}

TEST(VarValues, BuffersGrowInSixteensAndNeverShrink) {
    AppSession app;
    EXPECT_EQ(VarSetValue(app, "ZBUF", std::string(15, 'a')), 16);
    VarRecord* rec = VarLocate(app, "ZBUF");
    EXPECT_EQ(rec->capacity, 16);
    EXPECT_EQ(VarSetValue(app, "ZBUF", std::string(16, 'b')), 17);
    EXPECT_EQ(rec->capacity, 32);
    const char* buffer = rec->value.get();
    EXPECT_EQ(VarSetValue(app, "ZBUF", ""), 0);
    EXPECT_EQ(rec->capacity, 32);
    EXPECT_EQ(rec->value.get(), buffer);
    EXPECT_EQ(VarGetValue(app, "ZBUF"), "");
    EXPECT_EQ(VarSetValue(app, "ZBUF", "short"), 6);
    EXPECT_EQ(rec->value.get(), buffer);
    EXPECT_EQ(rec->capacity, 32);
    EXPECT_EQ(VarGetValue(app, "ZBUF"), "short");
    VarSetValue(app, "ZBUF", std::string(32, 'c'));
    EXPECT_EQ(rec->capacity, 48);
    EXPECT_EQ(VarGetValue(app, "ZBUF"), std::string(32, 'c'));
    // An empty value on a variable that never had one allocates nothing.
    VarSetValue(app, "ZEMPTY", "");
    EXPECT_EQ(VarLocate(app, "ZEMPTY")->value, nullptr);
}

TEST(VarValues, ValueTakenFromItsOwnBufferIsStoredIntact) {
    AppSession app;
    VarSetValue(app, "ZSELF", "0123456789abcdef0123");
    VarRecord* rec = VarLocate(app, "ZSELF");
    VarSetValue(app, "ZSELF", std::string_view(rec->value.get() + 4, 10));
    EXPECT_EQ(VarGetValue(app, "ZSELF"), "456789abcd");
}

TEST(VarValues, EmbeddedNulEndsTheValue) {
    AppSession app;
    EXPECT_EQ(VarSetValue(app, "ZNUL", std::string_view("ab\0cd", 5)), 3);
    EXPECT_EQ(VarGetValue(app, "ZNUL"), "ab");
}

TEST(VarValues, NumbersAndBooleans) {
    AppSession app;
    EXPECT_EQ(VarGetNumber(app, "ZUNSET"), 0);
    VarSetValue(app, "ZNUM", "123abc");
    EXPECT_EQ(VarGetNumber(app, "ZNUM"), 123);
    VarSetValue(app, "ZNUM", "abc");
    EXPECT_EQ(VarGetNumber(app, "ZNUM"), 0);
    VarSetValue(app, "ZNUM", "99999999999999999999999");
    EXPECT_EQ(VarGetNumber(app, "ZNUM"), LONG_MAX);
    VarSetNumber(app, "ZNUM", 42);
    EXPECT_EQ(VarGetValue(app, "ZNUM"), "42");
    VarSetValue(app, "ZFLAG", "TRUE");
    EXPECT_TRUE(VarIsTrue(app, "ZFLAG"));
    VarSetValue(app, "ZFLAG", "True");
    EXPECT_FALSE(VarIsTrue(app, "ZFLAG"));
    VarSetValue(app, "ZFLAG", "TRUE ");
    EXPECT_FALSE(VarIsTrue(app, "ZFLAG"));
}

TEST(VarValues, DeleteEmptiesValueAndPersistButKeepsRecord) {
    AppSession app;
    VarSetValue(app, "ZKEEP", "value");
    VarRecord* rec = VarSetPersist(app, "ZKEEP", 1);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->persist, 1);
    VarDelete(app, "zkeep");
    EXPECT_EQ(rec->persist, 0);
    EXPECT_EQ(VarGetValue(app, "ZKEEP"), "");
    EXPECT_EQ(VarLocate(app, "ZKEEP"), rec);
    EXPECT_EQ(Names(app), std::vector<std::string>{"ZKEEP"});
}

TEST(VarFind, NeitherCreatesNorReports) {
    AppSession app;
    EXPECT_EQ(VarFind(app, "ZMSGSOUNDS"), nullptr);
    EXPECT_EQ(app.varStore, nullptr);
    VarSetValue(app, "ZMSGSOUNDS", "TRUE");
    EXPECT_EQ(VarFind(app, "zmsgsounds"), VarLocate(app, "ZMSGSOUNDS"));
    EXPECT_EQ(VarFind(app, "ZMSGOTHER"), nullptr);
    EXPECT_EQ(VarFind(app, "x"), nullptr);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(Names(app).size(), 1u);
}

TEST(VarIteration, SlotOrderThenCreationOrder) {
    AppSession app;
    EXPECT_EQ(VarFirst(app), nullptr);
    EXPECT_EQ(VarNext(app), nullptr);
    for (const char* name :
         {"ZPATH.MACROS", "FIND.FINDSTR", "ZPATH.DIALOGS", "ZPA", "ZF01", "FIND.CASE", "ZPATHX"}) {
        VarLocate(app, name);
    }
    EXPECT_EQ(Names(app), (std::vector<std::string>{"ZPATH.MACROS", "ZPATH.DIALOGS", "ZPA", "ZPATHX",
                                                    "FIND.FINDSTR", "FIND.CASE", "ZF01"}));
    // The walk has ended and stays ended until restarted.
    EXPECT_EQ(VarNext(app), nullptr);
    EXPECT_EQ(VarFirst(app)->Name(), "ZPATH.MACROS");
    EXPECT_EQ(VarLongestName(app), 13);
}

TEST(VarIteration, RecordsAddedDuringWalkAreMet) {
    AppSession app;
    VarLocate(app, "AAA1");
    VarLocate(app, "BBB1");
    std::vector<std::string> seen;
    for (VarRecord* rec = VarFirst(app); rec != nullptr; rec = VarNext(app)) {
        seen.emplace_back(rec->Name());
        if (seen.size() == 1) {
            VarLocate(app, "AAA2");
            VarLocate(app, "CCC1");
        }
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"AAA1", "AAA2", "BBB1", "CCC1"}));
}

TEST(VarSlots, FourHundredPrefixesThenOutOfVarLists) {
    AppSession app;
    std::vector<std::string> prefixes;
    for (char a = 'A'; a <= 'Z' && prefixes.size() < kVarSlotCount; ++a) {
        for (char b = 'A'; b <= 'Z' && prefixes.size() < kVarSlotCount; ++b) {
            prefixes.push_back(std::string{a, b, 'X'});
        }
    }
    for (const std::string& p : prefixes) {
        ASSERT_EQ(VarSetValue(app, p + ".V", p), 4);
    }
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(VarLocate(app, "QQQ.NEW"), nullptr);
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].text, "Out of var lists");
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Error);
    EXPECT_EQ(VarGetValue(app, "QQQ.NEW"), "");
    // Existing prefixes still take new names, the last slot included.
    EXPECT_EQ(VarSetValue(app, prefixes.back() + ".OTHER", "ok"), 3);
    EXPECT_EQ(VarGetValue(app, prefixes.back() + ".other"), "ok");
    EXPECT_EQ(VarGetValue(app, "aax.v"), "AAX");
    // The walk covers all 400 slots and ends after the last.
    EXPECT_EQ(Names(app).size(), kVarSlotCount + 1u);
}

TEST(VarSlots, ShowMessageDoesNotRecurseWhenSlotsAreFull) {
    AppSession app;
    for (int i = 0; i < kVarSlotCount; ++i) {
        std::string name = {static_cast<char>('A' + i / 26 % 26), static_cast<char>('A' + i % 26),
                            static_cast<char>('0' + i / 676)};
        VarLocate(app, name);
    }
    ShowMessage(app, "hello", MsgTo::Box, Beep::Exclamation);
    EXPECT_EQ(app.messages.size(), 1u);
}

TEST(VarPush, SizeMustBeFourToThirtyTwo) {
    for (const char* size : {"3", "33", "", "x"}) {
        AppSession app;
        VarSetValue(app, "Dlg.Hist.SIZE", size);
        VarSetValue(app, "Dlg.Hist.0", "1");
        VarSetValue(app, "Dlg.Hist.1", "old");
        VarPushValue(app, "Dlg.Hist", "new");
        ASSERT_EQ(app.messages.size(), 1u) << size;
        EXPECT_EQ(app.messages[0].text,
                  "Var Dlg.Hist.SIZE must be set within range 4..32, VarPushValue ignored");
        EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
        EXPECT_EQ(List(app, "Dlg.Hist"), std::vector<std::string>{"old"});
    }
}

TEST(VarPush, NewValueGoesOnTopAndOldestFallsOff) {
    AppSession app;
    SetList(app, "HIST", 4, {"p", "q", "r", "s"});
    VarPushValue(app, "HIST", "t");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"t", "p", "q", "r"}));
    EXPECT_EQ(VarGetValue(app, "HIST.0"), "4");
    EXPECT_TRUE(app.messages.empty());
}

TEST(VarPush, ExistingEntryMovesToTop) {
    AppSession app;
    SetList(app, "HIST", 4, {"p", "q", "r"});
    VarPushValue(app, "HIST", "r");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"r", "p", "q"}));
    VarPushValue(app, "HIST", "r");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"r", "p", "q"}));
    VarPushValue(app, "HIST", "q");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"q", "r", "p"}));
    // Matching is exact, case included.
    VarPushValue(app, "HIST", "Q");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"Q", "q", "r", "p"}));
}

TEST(VarPush, FullListOfThirtyTwoAndEmptyStart) {
    AppSession app;
    VarSetValue(app, "hist.size", "32");
    for (int i = 1; i <= 40; ++i) {
        VarPushValue(app, "hist", "v" + std::to_string(i));
    }
    std::vector<std::string> entries = List(app, "HIST");
    ASSERT_EQ(entries.size(), 32u);
    EXPECT_EQ(entries.front(), "v40");
    EXPECT_EQ(entries.back(), "v9");
    // An entry beyond the stored count is not a match.
    SetList(app, "MRU", 4, {"a"});
    VarSetValue(app, "MRU.3", "b");
    VarPushValue(app, "MRU", "b");
    EXPECT_EQ(List(app, "MRU"), (std::vector<std::string>{"b", "a", "b"}));
}

TEST(VarPush, EmptyValueIsNotPushed) {
    AppSession app;
    SetList(app, "HIST", 4, {"p", "q", "r", "s"});
    VarPushValue(app, "HIST", "");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"p", "q", "r", "s"}));
}

TEST(VarPush, ListIsKeptWhenTheScratchListHasNoSlot) {
    AppSession app;
    SetList(app, "HIST", 4, {"p", "q"});
    for (int i = 1; i < kVarSlotCount; ++i) {
        std::string name = {static_cast<char>('A' + i / 26 % 26), static_cast<char>('A' + i % 26), '#'};
        VarLocate(app, name);
    }
    ASSERT_TRUE(app.messages.empty());
    VarPushValue(app, "HIST", "new");
    ASSERT_FALSE(app.messages.empty());
    EXPECT_EQ(app.messages[0].text, "Out of var lists");
    EXPECT_EQ(List(app, "HIST"), (std::vector<std::string>{"p", "q"}));
}
