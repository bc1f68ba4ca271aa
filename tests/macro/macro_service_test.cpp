#include <gtest/gtest.h>

#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "core/app_session.h"
#include "core/var_store.h"
#include "macro/macro_host.h"
#include "macro/macro_service.h"
#include "macro_fixture.h"

using namespace tavoe;

namespace {

// A host that answers session questions from fixed values and records what the service asked.
class ScriptedServiceHost : public MacroHost {
public:
    std::string QuerySession(AppSession&, ServiceQuery query, int32_t number) override {
        queries.push_back(query);
        numbers.push_back(number);
        return answer;
    }
    ServiceSetOutcome SetSession(AppSession&, ServiceSet what, std::string_view value) override {
        sets.emplace_back(what, std::string(value));
        return setOutcome;
    }
    std::string ShowDialog(AppSession&, std::string_view name) override {
        dialogs.emplace_back(name);
        return "CANCEL";
    }
    void Pause(AppSession&, int milliseconds) override { pauses.push_back(milliseconds); }
    int RunCommand(AppSession&, std::string_view command) override {
        commands.emplace_back(command);
        return 0;
    }

    std::string answer = "7";
    ServiceSetOutcome setOutcome = ServiceSetOutcome::Done;
    std::vector<ServiceQuery> queries;
    std::vector<int32_t> numbers;
    std::vector<std::pair<ServiceSet, std::string>> sets;
    std::vector<std::string> dialogs;
    std::vector<int> pauses;
    std::vector<std::string> commands;
};

class Service : public ::testing::Test {
protected:
    std::string Call(std::string_view selector, const char* p2 = nullptr, const char* p3 = nullptr) {
        std::string two = p2 != nullptr ? p2 : "";
        std::string three = p3 != nullptr ? p3 : "";
        return TavoService(app, host, selector, p2 != nullptr ? &two : nullptr,
                           p3 != nullptr ? &three : nullptr);
    }
    std::string LastMessage() const { return app.messages.empty() ? "" : app.messages.back().text; }

    AppSession app;
    ScriptedServiceHost host;
};

std::tm At(int hour, int minute, int second = 0) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;  // March
    t.tm_mday = 7;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

}  // namespace

TEST_F(Service, SelectorOf31CharactersIsLookedUpAnd32IsTooLong) {
    std::string thirtyOne(31, 'Q');
    std::string thirtyTwo(32, 'Q');
    EXPECT_EQ(Call(thirtyOne), "");
    EXPECT_EQ(LastMessage(), "TavoService: '" + thirtyOne + "' not supported.");
    EXPECT_EQ(app.messages.back().beep, Beep::Exclamation);
    EXPECT_EQ(Call(thirtyTwo), "");
    EXPECT_EQ(LastMessage(), "TavoService: selector too long '" + thirtyTwo + "'");
    // A long selector that would otherwise name a real one is refused all the same.
    EXPECT_EQ(Call(std::string(40, 'v')), "");
    EXPECT_EQ(LastMessage(), "TavoService: selector too long '" + std::string(40, 'v') + "'");
}

TEST_F(Service, SelectorsAndQueryNamesWorkInAnyCase) {
    Call("vPut", "SVC.NAME", "value");
    EXPECT_EQ(Call("vget", "SVC.NAME"), "value");
    EXPECT_EQ(Call("Query", "task_count"), "7");
    ASSERT_EQ(host.queries.size(), 1u);
    EXPECT_EQ(host.queries[0], ServiceQuery::TaskCount);
    EXPECT_EQ(Call("unknown"), "");
    EXPECT_EQ(LastMessage(), "TavoService: 'UNKNOWN' not supported.");
}

TEST_F(Service, UnknownQueryAndSetNamesAreRefusedWithoutAskingTheSession) {
    EXPECT_EQ(Call("QUERY", "cursor_col"), "");
    EXPECT_EQ(LastMessage(), "TavoService: query 'CURSOR_COL' not supported.");
    Call("SET", "font_face", "Mono");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, 'FONT_FACE' not supported.");
    EXPECT_EQ(app.messages.back().beep, Beep::Exclamation);
    EXPECT_TRUE(host.queries.empty());
    EXPECT_TRUE(host.sets.empty());
}

TEST_F(Service, QueryTableHas34NamesAndCharsetIsTheFileCharset) {
    const char* names[] = {"BOUNDS_LEFT",
                           "BOUNDS_RIGHT",
                           "CAPS",
                           "CHARSET",
                           "CHARSET_FILE",
                           "CHARSET_DISPLAY",
                           "COL_NUMBER",
                           "COLS",
                           "CURSOR_ROW",
                           "DATE",
                           "DATE_EUR",
                           "DATE_ISO",
                           "DATE_JIS",
                           "DATE_USA",
                           "FILEMODIFIED",
                           "FILESPEC",
                           "FIND_STRING_COUNT",
                           "FIND_LINE_COUNT",
                           "FONT_FACE",
                           "FONT_SIZE",
                           "LAST_LINE_NUMBER",
                           "LAST_COL_NUMBER",
                           "LINE_DATA",
                           "LINE_COUNT",
                           "LINE_LABEL",
                           "LINE_LENGTH",
                           "LINE_NUMBER",
                           "SELECT_MODE",
                           "SELECT_START_COL",
                           "SELECT_END_COL",
                           "SELECT_START_LINE",
                           "SELECT_END_LINE",
                           "TASK_COUNT",
                           "XSTATUS"};
    std::set<int> ids;
    for (const char* name : names) {
        ServiceQuery query{};
        ASSERT_TRUE(LookupServiceQuery(name, query)) << name;
        ids.insert(static_cast<int>(query));
    }
    EXPECT_EQ(ids.size(), 33u);  // CHARSET and CHARSET_FILE share one
    ServiceQuery charset{};
    ASSERT_TRUE(LookupServiceQuery("CHARSET", charset));
    EXPECT_EQ(charset, ServiceQuery::CharsetFile);
    ServiceQuery lower{};
    EXPECT_FALSE(LookupServiceQuery("charset", lower));  // callers upper-case first
}

TEST_F(Service, QueryPassesP3AsANumber) {
    Call("QUERY", "LINE_LABEL", "12");
    Call("QUERY", "XSTATUS", "x");
    Call("QUERY", "LINE_NUMBER");
    EXPECT_EQ(host.numbers, (std::vector<int32_t>{12, 0, 0}));
}

TEST_F(Service, LongLineDataIsCutTo1023WithANote) {
    host.answer = std::string(1500, 'a');
    std::string value = Call("QUERY", "LINE_DATA");
    EXPECT_EQ(value.size(), 1023u);
    EXPECT_EQ(LastMessage(), "Max length allowed for QUERY result is 1023 characters");
    EXPECT_EQ(app.messages.back().beep, Beep::Information);
    app.messages.clear();
    host.answer = std::string(1023, 'b');
    EXPECT_EQ(Call("QUERY", "LINE_DATA").size(), 1023u);
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(Service, FontPartsComeFromTheEditFontSetting) {
    VarSetValue(app, "ZFONT.EDIT", "Courier New,12");
    EXPECT_EQ(Call("QUERY", "FONT_FACE"), "Courier New");
    EXPECT_EQ(Call("QUERY", "FONT_SIZE"), "12");
    VarSetValue(app, "ZFONT.EDIT", "Fixed");
    EXPECT_EQ(Call("QUERY", "FONT_FACE"), "Fixed");
    EXPECT_EQ(Call("QUERY", "FONT_SIZE"), "");
    EXPECT_TRUE(host.queries.empty());
}

TEST_F(Service, SetRefusesZeroRowAndColumnBeforeTheSessionIsAsked) {
    Call("SET", "CURSOR_ROW", "0");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, CURSOR_ROW, can not set cursor row to 0");
    Call("SET", "COL_NUMBER", "");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, COL_NUMBER, can not set data column to 0");
    EXPECT_TRUE(host.sets.empty());
    Call("set", "cursor_row", "3");
    ASSERT_EQ(host.sets.size(), 1u);
    EXPECT_EQ(host.sets[0].first, ServiceSet::CursorRow);
    EXPECT_EQ(host.sets[0].second, "3");
}

TEST_F(Service, SetReportsWhyTheSessionRefused) {
    host.setOutcome = ServiceSetOutcome::NotDataLine;
    Call("SET", "COL_NUMBER", "5");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, COL_NUMBER, must be on data line when setting data column.");
    Call("SET", "LINE_DATA", "text");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, LINE_DATA, can not set contents of non-data line.");
    host.setOutcome = ServiceSetOutcome::NoSession;
    Call("SET", "LINE_DATA", "text");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, LINE_DATA, can not set line contents when no task active.");
    host.setOutcome = ServiceSetOutcome::ReadOnly;
    Call("SET", "LINE_DATA", "text");
    EXPECT_EQ(LastMessage(), "TAVOSERVICE, SET, LINE_DATA, can not set line contents in a browse session.");
    size_t shown = app.messages.size();
    host.setOutcome = ServiceSetOutcome::Done;
    Call("SET", "TITLE", "My title");
    EXPECT_EQ(app.messages.size(), shown);
    EXPECT_EQ(host.sets.back().second, "My title");
}

TEST_F(Service, SleepTakesOneTo15000Milliseconds) {
    Call("SLEEP", "0");
    EXPECT_EQ(LastMessage(), "Sleep duration must be greater than 0 milliseconds.");
    EXPECT_EQ(app.messages.back().beep, Beep::Information);
    Call("SLEEP", "-3");
    Call("SLEEP");
    EXPECT_EQ(LastMessage(), "Sleep duration must be greater than 0 milliseconds.");
    Call("SLEEP", "15001");
    EXPECT_EQ(LastMessage(), "Sleep duration greater than 15000 milliseconds not allowed.");
    Call("SLEEP", "99999999999999");  // no wrap round to a short pause
    EXPECT_EQ(LastMessage(), "Sleep duration greater than 15000 milliseconds not allowed.");
    EXPECT_TRUE(host.pauses.empty());
    Call("SLEEP", "15000");
    Call("sleep", "1");
    EXPECT_EQ(host.pauses, (std::vector<int>{15000, 1}));
}

TEST_F(Service, DialogAndCommandGoToTheHost) {
    EXPECT_EQ(Call("DIALOG", "Find"), "CANCEL");
    EXPECT_EQ(host.dialogs, (std::vector<std::string>{"Find"}));
    EXPECT_EQ(Call("CMD", "top;find x"), "");
    EXPECT_EQ(host.commands, (std::vector<std::string>{"top;find x"}));
}

TEST_F(Service, StoreSelectorsReadWriteClearAndPersist) {
    Call("VPUT", "SVC.KEEP", "one");
    Call("VPERSIST", "SVC.KEEP");
    VarRecord* record = VarFind(app, "SVC.KEEP");
    ASSERT_NE(record, nullptr);
    EXPECT_NE(record->persist, 0);
    Call("VDELETE", "SVC.KEEP");
    EXPECT_EQ(Call("VGET", "SVC.KEEP"), "");
    EXPECT_EQ(VarFind(app, "SVC.KEEP")->persist, 0);
    // The store's own name rule applies.
    Call("VGET", "ab");
    EXPECT_EQ(LastMessage(), "Varname must start with a..z and have length >= 3, got 'ab'");
}

TEST(ServiceDate, UsFormUsesATwelveHourClock) {
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateUsa, At(13, 5)), " 3/07/2026 1:05PM");
    EXPECT_EQ(FormatServiceDate(ServiceQuery::Date, At(13, 5)), " 3/07/2026 1:05PM");
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateUsa, At(0, 5)), " 3/07/2026 12:05AM");
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateUsa, At(12, 0)), " 3/07/2026 12:00PM");
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateUsa, At(11, 59)), " 3/07/2026 11:59AM");
}

TEST(ServiceDate, EuropeanIsoAndJisForms) {
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateEur, At(9, 4, 3)), " 7.03.2026  9.04.03");
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateIso, At(9, 4, 3)), "2026-03-07 09.04.03");
    EXPECT_EQ(FormatServiceDate(ServiceQuery::DateJis, At(23, 4, 3)), "2026-03-07 23:04:03");
}

// Through the runtime function, with the base host: no session, so session values are empty or 0.
class ServiceFromMacro : public MacroFixture {};

TEST_F(ServiceFromMacro, WithoutASessionValuesAreEmptyOrZero) {
    EXPECT_EQ(Eval("",
                   "r = strcompose(tavoservice(\"QUERY\", \"LINE_NUMBER\"), \"|\", "
                   "tavoservice(\"QUERY\", \"LINE_DATA\"), \"|\", tavoservice(\"QUERY\", \"SELECT_MODE\"), "
                   "\"|\", tavoservice(\"query\", \"caps\"));"),
              "0||NONE|FALSE");
    EXPECT_EQ(Eval("", "r = tavoservice(\"DIALOG\", \"Find\");"), "ERROR");
    EXPECT_EQ(Eval("", "r = tavoservice(\"\");"), "");
}

TEST_F(ServiceFromMacro, ArgumentCountIsChecked) {
    EXPECT_EQ(FirstError("void main(void) { tavoservice(); }\n"),
              "T.C(1,19) RUNTIME: one parm required: P1=service-selector, P2=optional, P3=optional");
    EXPECT_EQ(FirstError("void main(void) { tavoservice(\"VGET\", \"a\", \"b\", \"c\"); }\n"),
              "T.C(1,19) RUNTIME: one parm required: P1=service-selector, P2=optional, P3=optional");
}

TEST_F(ServiceFromMacro, FilePrintHandsTheFullPathToTheHost) {
    WriteMacro("P.C", "void main(void) { fileprint(\"listing.txt\"); fileprint(\"\"); }\n");
    ASSERT_EQ(Run("p"), 0);
    EXPECT_EQ(host.commands, (std::vector<std::string>{"browse " + work + "/listing.txt;print;end"}));
}
