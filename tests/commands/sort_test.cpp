// SORT through the edit dispatcher, checked against a reference written here: a stable sort of the
// line numbers on keys cut from the texts, in byte order or in EBCDIC order (the codes below are the
// EBCDIC code points themselves, not the program's tables).

#include <algorithm>
#include <random>

#include "buffer/excluded_lines.h"
#include "commands/dispatch_fixture.h"
#include "commands/sort_lines.h"
#include "editing/undo_journal.h"
#include "support/scripted_storage_host.h"

namespace {

// Runs of characters with consecutive EBCDIC codes: first, last, code of the first.
struct EbcdicRun {
    char first;
    char last;
    int code;
};
constexpr EbcdicRun kEbcdicRuns[] = {
    {'a', 'i', 0x81}, {'j', 'r', 0x91}, {'s', 'z', 0xA2}, {'A', 'I', 0xC1},
    {'J', 'R', 0xD1}, {'S', 'Z', 0xE2}, {'0', '9', 0xF0}, {' ', ' ', 0x40},
    {'.', '.', 0x4B}, {'*', '*', 0x5C}, {'-', '-', 0x60},
};

int EbcdicCode(char c) {
    for (const EbcdicRun& run : kEbcdicRuns) {
        if (c >= run.first && c <= run.last) {
            return run.code + (c - run.first);
        }
    }
    ADD_FAILURE() << "no EBCDIC code in the test for '" << c << "'";
    return 0;
}

struct RefField {
    int start;
    int end;
    bool descending;
};

// The reference: the order of `chosen` (indexes into texts) sorted stably by the fields.
std::vector<int> ReferenceSort(const std::vector<std::string>& texts, std::vector<int> chosen,
                               const std::vector<RefField>& fields, bool ebcdic) {
    auto rank = [&](const std::string& text, int column) {
        char c = column <= static_cast<int>(text.size()) ? text[column - 1] : ' ';
        return ebcdic ? EbcdicCode(c) : static_cast<unsigned char>(c);
    };
    std::stable_sort(chosen.begin(), chosen.end(), [&](int a, int b) {
        for (const RefField& field : fields) {
            for (int column = field.start; column <= field.end; ++column) {
                int x = rank(texts[a], column);
                int y = rank(texts[b], column);
                if (x != y) {
                    return field.descending ? x > y : x < y;
                }
            }
        }
        return false;
    });
    return chosen;
}

// Records every title the sort shows.
class TitleShell : public RecordingShell {
public:
    void ShowProgressTitle(AppSession&, std::string_view text) override { titles.emplace_back(text); }
    std::vector<std::string> titles;
};

class SortTest : public DispatchTest {
protected:
    void SetUp() override {
        DispatchTest::SetUp();
        auto shell = std::make_unique<TitleShell>();
        titleShell = shell.get();
        app.shellPort = std::move(shell);
        host = &ScriptedStorageHost::Install(app);
    }

    // A session whose data lines are the texts, record numbers 1..n, bounds 1..40.
    EditSession& Open(const std::vector<std::string>& texts,
                      ProfileCharset disk = ProfileCharset::AsciiIso8859) {
        app.editSessions.clear();
        app.editSessions.emplace_back(new EditSession(app));
        session = app.editSessions.front().get();
        FileProfile& profile = session->buffer.profile;
        profile.diskCharset = disk;
        profile.maxRecordLength = 40;
        profile.boundsLeft = 1;
        profile.boundsRight = 40;
        for (size_t i = 0; i < texts.size(); ++i) {
            LineRecord* line = LineNew(session->buffer, texts[i]);
            line->kind = LineKind::Data;
            line->recordNumber = static_cast<std::uint32_t>(i + 1);
            LineAppendLoaded(session->buffer, line);
        }
        EXPECT_EQ(AppendEndMarker(session->buffer, LoadEnd::Complete), 0);
        app.hasCurrentEditSession = true;
        PushContext(app, ContextKind::Task, "test");
        return *session;
    }

    // Hides the data lines whose index is marked and puts the markers in.
    void Hide(const std::vector<bool>& hidden) {
        size_t i = 0;
        for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr;
             line = NextDataLine(line), ++i) {
            if (hidden[i]) {
                LineClearFlag(*line, LineFlagB::Visible);
            }
        }
        ASSERT_EQ(RebuildExcludedMarkers(session->buffer, 40), 0);
    }

    // The record numbers of the data lines in list order, from 0.
    std::vector<int> Order() const {
        std::vector<int> order;
        for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
            order.push_back(static_cast<int>(line->recordNumber) - 1);
        }
        return order;
    }

    std::vector<std::string> DataTexts() const {
        std::vector<std::string> texts;
        for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
            texts.emplace_back(LineText(*line));
        }
        return texts;
    }

    // Every run of hidden lines has one marker in front of it counting the run, the links run both
    // ways and the list's count is right.
    void ExpectSoundList() const {
        const EditBuffer& buffer = session->buffer;
        std::uint32_t count = 0;
        LineRecord* previous = nullptr;
        for (LineRecord* line = LineFirst(buffer); line != nullptr; previous = line, line = LineNext(line)) {
            ++count;
            ASSERT_EQ(LinePrev(line), previous);
            if (line->kind == LineKind::ExcludedMarker) {
                std::uint32_t run = 0;
                for (LineRecord* hidden = LineNext(line); hidden != nullptr && !LineIsVisible(*hidden);
                     hidden = LineNext(hidden)) {
                    ++run;
                }
                EXPECT_EQ(line->hiddenCount, run);
            } else if (!LineIsVisible(*line)) {
                ASSERT_NE(previous, nullptr);
                EXPECT_TRUE(previous->kind == LineKind::ExcludedMarker || !LineIsVisible(*previous));
            }
        }
        EXPECT_EQ(LineLast(buffer), previous);
        EXPECT_EQ(LineCount(buffer), count);
    }

    TitleShell* titleShell = nullptr;
    ScriptedStorageHost* host = nullptr;
};

std::vector<std::string> Generate(std::mt19937& random, size_t count, const std::string& alphabet,
                                  int maxLength) {
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::vector<std::string> texts(count);
    for (std::string& text : texts) {
        text.resize(static_cast<size_t>(length(random)));
        for (char& c : text) {
            c = alphabet[pick(random)];
        }
    }
    return texts;
}

enum class Arrangement { Random, Sorted, Reversed, ThreeKeys };

std::vector<std::string> Arrange(std::mt19937& random, size_t count, Arrangement arrangement) {
    const std::string alphabet = "aZz09 .-*AbQ";
    std::vector<std::string> texts = Generate(random, count, alphabet, 24);
    if (arrangement == Arrangement::Sorted) {
        std::sort(texts.begin(), texts.end());
    } else if (arrangement == Arrangement::Reversed) {
        std::sort(texts.rbegin(), texts.rend());
    } else if (arrangement == Arrangement::ThreeKeys) {
        const std::string keys[3] = {"MMMM", "b12", "0000  "};
        std::uniform_int_distribution<int> which(0, 2);
        for (std::string& text : texts) {
            text = keys[which(random)] + text.substr(0, 4);
        }
    }
    return texts;
}

struct FieldCase {
    const char* params;
    std::vector<RefField> fields;
};

const FieldCase kFieldCases[] = {
    {"", {{1, 40, false}}},
    {"1 3", {{1, 3, false}}},
    {"2 4 d 6 9", {{2, 4, true}, {6, 9, false}}},
    {"D 1 2 5 8 A", {{1, 2, true}, {5, 8, false}}},
    {"3 3 D 1 2", {{3, 3, true}, {1, 2, false}}},
    {"1 1 7 30 d", {{1, 1, false}, {7, 30, true}}},  // a key past the carried bytes
    {"20", {{20, 40, false}}},                       // beyond most lines: blanks compare
};

TEST_F(SortTest, OrdersLikeAStableReferenceSortInByteAndEbcdicOrder) {
    std::mt19937 random(1234);
    for (bool ebcdic : {false, true}) {
        for (Arrangement arrangement :
             {Arrangement::Random, Arrangement::Sorted, Arrangement::Reversed, Arrangement::ThreeKeys}) {
            for (size_t count : {2u, 37u, 700u, 3000u}) {
                for (const FieldCase& field : kFieldCases) {
                    std::vector<std::string> texts = Arrange(random, count, arrangement);
                    Open(texts, ebcdic ? ProfileCharset::Ebcdic : ProfileCharset::AsciiIso8859);
                    RunEditCommand(app, std::string("sort ") + field.params);
                    std::vector<int> all(count);
                    for (size_t i = 0; i < count; ++i) {
                        all[i] = static_cast<int>(i);
                    }
                    SCOPED_TRACE(Format("ebcdic %d, arrangement %d, %d lines, SORT %s", ebcdic,
                                        static_cast<int>(arrangement), static_cast<int>(count),
                                        field.params));
                    ASSERT_EQ(Order(), ReferenceSort(texts, all, field.fields, ebcdic));
                    ExpectSoundList();
                    EXPECT_EQ(LastMessage().text, "Sort complete.");
                }
            }
        }
    }
}

TEST_F(SortTest, EbcdicFilesPutDigitsAfterLettersAndLowerCaseBeforeUpper) {
    Open({"9abc", "Abc", "abc", "Zed", "0", " x"}, ProfileCharset::Ebcdic);
    RunEditCommand(app, "SORT 1 1");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{" x", "abc", "Abc", "Zed", "0", "9abc"}));
    Open({"9abc", "Abc", "abc", "Zed", "0", " x"});
    RunEditCommand(app, "SORT 1 1");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{" x", "0", "9abc", "Abc", "Zed", "abc"}));
}

// Only the chosen lines move, into the places chosen lines held; markers still count their runs.
TEST_F(SortTest, ExcludedOrShownLinesSortAmongThemselvesInTheirOwnPlaces) {
    std::mt19937 random(99);
    for (const char* filter : {"X", "ex", "NX", ""}) {
        std::vector<std::string> texts = Generate(random, 400, "abc12 ", 6);
        std::vector<bool> hidden(texts.size());
        std::bernoulli_distribution coin(0.4);
        std::vector<int> chosen;
        for (size_t i = 0; i < texts.size(); ++i) {
            hidden[i] = coin(random);
            bool wanted = std::string(filter).empty() || (std::string(filter) == "NX") != hidden[i];
            if (wanted) {
                chosen.push_back(static_cast<int>(i));
            }
        }
        Open(texts);
        Hide(hidden);
        RunEditCommand(app, Format("sort %s 1 3 d", filter));
        std::vector<int> expected(texts.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            expected[i] = static_cast<int>(i);
        }
        std::vector<int> sorted = ReferenceSort(texts, chosen, {{1, 3, true}}, false);
        for (size_t k = 0; k < chosen.size(); ++k) {
            expected[static_cast<size_t>(chosen[k])] = sorted[k];
        }
        SCOPED_TRACE(filter);
        EXPECT_EQ(Order(), expected);
        // A line keeps its own visibility wherever it went.
        for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
            EXPECT_EQ(!LineIsVisible(*line), hidden[line->recordNumber - 1]);
        }
        ExpectSoundList();
    }
}

TEST_F(SortTest, LabelsLimitTheRangeInEitherOrder) {
    Open({"e", "d", "c", "b", "a", "0"});
    LineRecord* second = NextDataLine(FirstDataLine(session->buffer));
    LineRecord* fifth = NextDataLine(NextDataLine(NextDataLine(second)));
    LineSetLabel(*second, ".FROM");
    LineSetLabel(*fifth, ".TO");
    RunEditCommand(app, "sort .to .from");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"e", "a", "b", "c", "d", "0"}));
    // One label: from it to the last line. The labels travel with their lines.
    RunEditCommand(app, "SORT .To");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"e", "0", "a", "b", "c", "d"}));
}

// Every refusal leaves the lines as they were and the session unmodified.
TEST_F(SortTest, BadParametersAreRefusedWithTheirMessages) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 10 5 20", "SORT: fields overlap"},
        {"5 20 D 1 5", "SORT: fields overlap"},
        {"10 5", "SORT: start column greater than end column"},
        {"0", "SORT: column outside bounds"},
        {"1 41", "SORT: column outside bounds"},
        {"99999999999", "SORT: column outside bounds"},
        {"1 5 up", "SORT: 'UP' is not a valid parameter"},
        {"x nx", "SORT: 'NX' is not a valid parameter"},
        {"1 5 a d", "SORT: 'D' is not a valid parameter"},
        {"5x", "SORT: '5X' is not a valid parameter"},
        {".a .b .c", "Too many labels."},
        {".nowhere", "Label '.NOWHERE' not found"},
    };
    for (const auto& [params, message] : cases) {
        Open({"b", "a"});
        session->buffer.profile.boundsLeft = 1;
        RunEditCommand(app, std::string("sort ") + params);
        SCOPED_TRACE(params);
        EXPECT_EQ(LastMessage().text, message);
        EXPECT_EQ(LastMessage().to, MsgTo::Box);
        EXPECT_EQ(DataTexts(), (std::vector<std::string>{"b", "a"}));
        EXPECT_FALSE(session->buffer.modified);
    }
}

TEST_F(SortTest, ColumnsOutsideTheBoundsAreRefused) {
    Open({"b", "a"});
    session->buffer.profile.boundsLeft = 7;
    session->buffer.profile.boundsRight = 72;
    RunEditCommand(app, "sort 1 6");
    EXPECT_EQ(LastMessage().text, "SORT: column outside bounds");
    RunEditCommand(app, "sort 72 73");
    EXPECT_EQ(LastMessage().text, "SORT: column outside bounds");
}

TEST_F(SortTest, AFieldBeyondEveryLineIsReportedAndChangesNothing) {
    Open({"bb", "a", "ccc"});
    RunEditCommand(app, "sort 10 20");
    std::vector<std::string> texts = Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "SORT: no text between 10 and 20");
    EXPECT_EQ(texts.back(), "Sort complete.");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"bb", "a", "ccc"}));
    EXPECT_FALSE(session->buffer.modified);
    // Such a field takes no part; the others still sort.
    RunEditCommand(app, "sort 1 1 d 10 20");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"ccc", "bb", "a"}));
}

TEST_F(SortTest, NoTextIsPaddedOrStripped) {
    Open({"b  ", "a", "a ", " "});
    RunEditCommand(app, "sort");
    // "a" and "a " are equal keys and keep their order; every text keeps its bytes.
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{" ", "a", "a ", "b  "}));
    for (LineRecord* line = FirstDataLine(session->buffer); line != nullptr; line = NextDataLine(line)) {
        EXPECT_FALSE(LineHasFlag(*line, LineFlagA::BlankPadded));
    }
    EXPECT_TRUE(session->buffer.modified);
}

TEST_F(SortTest, EmptyFilesAndSingleLinesAreLeftAlone) {
    for (const std::vector<std::string>& texts :
         {std::vector<std::string>{}, std::vector<std::string>{"x"}}) {
        Open(texts);
        RunEditCommand(app, "sort 1 5");
        EXPECT_EQ(Texts().back(), "Sort complete.");
        EXPECT_EQ(DataTexts(), texts);
        EXPECT_FALSE(session->buffer.modified);
    }
}

TEST_F(SortTest, BrowseSessionsAreNotSorted) {
    Open({"b", "a"});
    session->buffer.file.browseReason = BrowseReason::Requested;
    RunEditCommand(app, "sort");
    EXPECT_EQ(LastMessage().text, "Not allowed to modify READ-ONLY file.");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"b", "a"}));
}

// Enough lines that the progress is asked a few times.
std::vector<std::string> ManyLines(size_t count) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < count; ++i) {
        texts.push_back(Format("%07d", static_cast<int>((i * 7919) % count)));
    }
    return texts;
}

TEST_F(SortTest, ProgressShowsInTheTitleAndTheOwnTitleComesBack) {
    std::vector<std::string> texts = ManyLines(3 * kSortPollInterval);
    Open(texts);
    RunEditCommand(app, "sort 1 7");
    std::vector<std::string>& titles = titleShell->titles;
    ASSERT_GE(titles.size(), 3u);
    EXPECT_EQ(titles[0], "Sorting .");
    EXPECT_EQ(titles[1], "Sorting ..");
    EXPECT_EQ(titles.back(), "");
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(DataTexts(), texts);
}

TEST_F(SortTest, EscapeStopsTheSortAndLeavesTheOriginalOrder) {
    std::vector<std::string> texts = ManyLines(3 * kSortPollInterval);
    Open(texts);
    int asked = 0;
    host->escape = [&] { return ++asked == 3; };
    RunEditCommand(app, "sort 1 7");
    EXPECT_EQ(LastMessage().text, "Sort aborted, cancel out of file to restore original order.");
    EXPECT_EQ(LastMessage().to, MsgTo::Box);
    EXPECT_EQ(DataTexts(), texts);
    EXPECT_FALSE(session->buffer.modified);
    ExpectSoundList();
    // The session is free for the next sort.
    host->escape = nullptr;
    RunEditCommand(app, "sort 1 7");
    EXPECT_EQ(LastMessage().text, "Sort complete.");
}

TEST_F(SortTest, ASortStartedWhileOneRunsIsRefused) {
    Open(ManyLines(2 * kSortPollInterval));
    host->escape = [&] {
        RunEditCommand(app, "sort");
        return false;
    };
    RunEditCommand(app, "sort 1 7 d");
    std::vector<std::string> texts = Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "SORT: already active, try again later."), texts.end());
    EXPECT_EQ(texts.back(), "Sort complete.");
    std::vector<std::string> sorted = DataTexts();
    EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend()));
}

TEST_F(SortTest, ASortThatMovesLinesEmptiesTheUndoJournal) {
    VarSetValue(app, "ZUNDO", "TRUE");
    Open({"a", "b", "c"});
    ASSERT_NE(UndoSyncSession(app, *session), nullptr);
    LineRecord* first = FirstDataLine(session->buffer);
    {
        UndoGroup group(app, *session);
        JournalTextChange(app, *session, *first);
        ASSERT_EQ(LineSetText(session->buffer, *first, "d"), 0);
    }
    ASSERT_FALSE(SessionUndoJournal(*session)->Empty());
    // Already in order on column 2 (all blank): nothing moves, the journal stays.
    RunEditCommand(app, "sort 2 3");
    EXPECT_FALSE(SessionUndoJournal(*session)->Empty());
    RunEditCommand(app, "sort");
    EXPECT_EQ(DataTexts(), (std::vector<std::string>{"b", "c", "d"}));
    ASSERT_NE(SessionUndoJournal(*session), nullptr);  // still on, for what comes next
    EXPECT_TRUE(SessionUndoJournal(*session)->Empty());
}

TEST_F(SortTest, TheTopRowKeepsItsPlace) {
    Open({"c", "b", "a", "d"});
    LineRecord* third = NextDataLine(NextDataLine(FirstDataLine(session->buffer)));
    session->view.topLine = third;
    RunEditCommand(app, "sort");
    EXPECT_EQ(std::string(LineText(*session->view.topLine)), "c");  // the third line now
}

}  // namespace
