#include "macro/macro_service.h"

#include <array>
#include <climits>

#include "core/app_session.h"
#include "core/message.h"
#include "core/var_store.h"
#include "macro/macro_host.h"
#include "platform/ascii_case.h"
#include "platform/format.h"

namespace tavoe {

namespace {

struct QueryRow {
    std::string_view name;
    ServiceQuery id;
};

// In the stored order; the lookup takes the first exact match.
constexpr std::array<QueryRow, 34> kQueries{{
    {"BOUNDS_LEFT", ServiceQuery::BoundsLeft},
    {"BOUNDS_RIGHT", ServiceQuery::BoundsRight},
    {"CAPS", ServiceQuery::Caps},
    {"CHARSET", ServiceQuery::CharsetFile},
    {"CHARSET_FILE", ServiceQuery::CharsetFile},
    {"CHARSET_DISPLAY", ServiceQuery::CharsetDisplay},
    {"COL_NUMBER", ServiceQuery::ColNumber},
    {"COLS", ServiceQuery::Cols},
    {"CURSOR_ROW", ServiceQuery::CursorRow},
    {"DATE", ServiceQuery::Date},
    {"DATE_EUR", ServiceQuery::DateEur},
    {"DATE_ISO", ServiceQuery::DateIso},
    {"DATE_JIS", ServiceQuery::DateJis},
    {"DATE_USA", ServiceQuery::DateUsa},
    {"FILEMODIFIED", ServiceQuery::FileModified},
    {"FILESPEC", ServiceQuery::FileSpec},
    {"FIND_STRING_COUNT", ServiceQuery::FindStringCount},
    {"FIND_LINE_COUNT", ServiceQuery::FindLineCount},
    {"FONT_FACE", ServiceQuery::FontFace},
    {"FONT_SIZE", ServiceQuery::FontSize},
    {"LAST_LINE_NUMBER", ServiceQuery::LastLineNumber},
    {"LAST_COL_NUMBER", ServiceQuery::LastColNumber},
    {"LINE_DATA", ServiceQuery::LineData},
    {"LINE_COUNT", ServiceQuery::LineCount},
    {"LINE_LABEL", ServiceQuery::LineLabel},
    {"LINE_LENGTH", ServiceQuery::LineLength},
    {"LINE_NUMBER", ServiceQuery::LineNumber},
    {"SELECT_MODE", ServiceQuery::SelectMode},
    {"SELECT_START_COL", ServiceQuery::SelectStartCol},
    {"SELECT_END_COL", ServiceQuery::SelectEndCol},
    {"SELECT_START_LINE", ServiceQuery::SelectStartLine},
    {"SELECT_END_LINE", ServiceQuery::SelectEndLine},
    {"TASK_COUNT", ServiceQuery::TaskCount},
    {"XSTATUS", ServiceQuery::XStatus},
}};

struct SetRow {
    std::string_view name;
    ServiceSet id;
};

constexpr std::array<SetRow, 4> kSets{{
    {"COL_NUMBER", ServiceSet::ColNumber},
    {"CURSOR_ROW", ServiceSet::CursorRow},
    {"LINE_DATA", ServiceSet::LineData},
    {"TITLE", ServiceSet::Title},
}};

void Refuse(AppSession& app, const std::string& text, Beep beep = Beep::Exclamation) {
    ShowMessage(app, text, MsgTo::Box, beep);
}

// A decimal number with an optional sign, as far as its digits go (0 when there are none); values
// beyond 32 bits are held at the nearest limit so a huge count cannot wrap round to a small one.
int32_t DecimalNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > INT32_MAX) {
            value = static_cast<int64_t>(INT32_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
}

std::string Query(AppSession& app, MacroHost& host, std::string_view what, const std::string* p3) {
    std::string upper = UpperAscii(what);
    ServiceQuery query{};
    if (!LookupServiceQuery(upper, query)) {
        Refuse(app, Format("TavoService: query '%s' not supported.", upper.c_str()));
        return {};
    }
    switch (query) {
        case ServiceQuery::Date:
        case ServiceQuery::DateUsa:
        case ServiceQuery::DateEur:
        case ServiceQuery::DateIso:
        case ServiceQuery::DateJis: {
            std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            return FormatServiceDate(query, local);
        }
        case ServiceQuery::FontFace:
        case ServiceQuery::FontSize: {
            std::string font = VarGetValue(app, "ZFONT.EDIT");
            size_t comma = font.find(',');
            if (query == ServiceQuery::FontFace) {
                return font.substr(0, comma);
            }
            return comma == std::string::npos ? std::string() : font.substr(comma + 1);
        }
        default:
            break;
    }
    std::string value = host.QuerySession(app, query, p3 != nullptr ? DecimalNumber(*p3) : 0);
    if (query == ServiceQuery::LineData && value.size() > kServiceQueryDataMax) {
        value.resize(kServiceQueryDataMax);
        Refuse(app, Format("Max length allowed for QUERY result is %d characters", int(kServiceQueryDataMax)),
               Beep::Information);
    }
    return value;
}

void Set(AppSession& app, MacroHost& host, std::string_view what, const std::string* p3) {
    std::string upper = UpperAscii(what);
    const SetRow* row = nullptr;
    for (const SetRow& candidate : kSets) {
        if (candidate.name == upper) {
            row = &candidate;
            break;
        }
    }
    if (row == nullptr) {
        Refuse(app, Format("TAVOSERVICE, SET, '%s' not supported.", upper.c_str()));
        return;
    }
    std::string value = p3 != nullptr ? *p3 : std::string();
    if (row->id == ServiceSet::ColNumber && DecimalNumber(value) <= 0) {
        Refuse(app, "TAVOSERVICE, SET, COL_NUMBER, can not set data column to 0");
        return;
    }
    if (row->id == ServiceSet::CursorRow && DecimalNumber(value) <= 0) {
        Refuse(app, "TAVOSERVICE, SET, CURSOR_ROW, can not set cursor row to 0");
        return;
    }
    ServiceSetOutcome outcome = host.SetSession(app, row->id, value);
    switch (row->id) {
        case ServiceSet::ColNumber:
            if (outcome != ServiceSetOutcome::Done) {
                Refuse(app, "TAVOSERVICE, SET, COL_NUMBER, must be on data line when setting data column.");
            }
            break;
        case ServiceSet::LineData:
            if (outcome == ServiceSetOutcome::NoSession) {
                Refuse(app, "TAVOSERVICE, SET, LINE_DATA, can not set line contents when no task active.");
            } else if (outcome == ServiceSetOutcome::NotDataLine) {
                Refuse(app, "TAVOSERVICE, SET, LINE_DATA, can not set contents of non-data line.");
            } else if (outcome == ServiceSetOutcome::ReadOnly) {
                Refuse(app, "TAVOSERVICE, SET, LINE_DATA, can not set line contents in a browse session.");
            }
            break;
        case ServiceSet::CursorRow:
        case ServiceSet::Title:
            break;
    }
}

void Sleep(AppSession& app, MacroHost& host, const std::string* p2) {
    int32_t ms = p2 != nullptr ? DecimalNumber(*p2) : 0;
    if (ms <= 0) {
        Refuse(app, "Sleep duration must be greater than 0 milliseconds.", Beep::Information);
        return;
    }
    if (ms > kServiceSleepMaxMs) {
        Refuse(app, "Sleep duration greater than 15000 milliseconds not allowed.", Beep::Information);
        return;
    }
    host.Pause(app, ms);
}

}  // namespace

bool LookupServiceQuery(std::string_view upperName, ServiceQuery& out) {
    for (const QueryRow& row : kQueries) {
        if (row.name == upperName) {
            out = row.id;
            return true;
        }
    }
    return false;
}

// The US form shows the hour of a 12-hour clock: midnight and noon are both 12, the hours before
// noon are AM.
std::string FormatServiceDate(ServiceQuery form, const std::tm& t) {
    int year = t.tm_year + 1900;
    int month = t.tm_mon + 1;
    switch (form) {
        case ServiceQuery::DateEur:
            return Format("%2d.%02d.%04d %2d.%02d.%02d", t.tm_mday, month, year, t.tm_hour, t.tm_min,
                          t.tm_sec);
        case ServiceQuery::DateIso:
            return Format("%04d-%02d-%02d %02d.%02d.%02d", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                          t.tm_sec);
        case ServiceQuery::DateJis:
            return Format("%04d-%02d-%02d %02d:%02d:%02d", year, month, t.tm_mday, t.tm_hour, t.tm_min,
                          t.tm_sec);
        default: {
            int hour = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
            return Format("%2d/%02d/%04d %d:%02d%s", month, t.tm_mday, year, hour, t.tm_min,
                          t.tm_hour < 12 ? "AM" : "PM");
        }
    }
}

std::string TavoService(AppSession& app, MacroHost& host, std::string_view selector, const std::string* p2,
                        const std::string* p3) {
    if (selector.size() > kServiceSelectorMax) {
        Refuse(app, Format("TavoService: selector too long '%s'", std::string(selector).c_str()));
        return {};
    }
    std::string upper = UpperAscii(selector);
    std::string name = p2 != nullptr ? *p2 : std::string();
    if (upper == "CMD") {
        host.RunCommand(app, name);
        return {};
    }
    if (upper == "DIALOG") {
        return host.ShowDialog(app, name);
    }
    if (upper == "QUERY") {
        return Query(app, host, name, p3);
    }
    if (upper == "SET") {
        Set(app, host, name, p3);
        return {};
    }
    if (upper == "SLEEP") {
        Sleep(app, host, p2);
        return {};
    }
    if (upper == "VGET") {
        return VarGetValue(app, name);
    }
    if (upper == "VPUT") {
        VarSetValue(app, name, p3 != nullptr ? *p3 : std::string());
        return {};
    }
    if (upper == "VDELETE") {
        VarDelete(app, name);
        return {};
    }
    if (upper == "VPERSIST") {
        VarSetPersist(app, name, 1);
        return {};
    }
    Refuse(app, Format("TavoService: '%s' not supported.", upper.c_str()));
    return {};
}

}  // namespace tavoe
