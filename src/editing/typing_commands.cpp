#include "editing/typing_commands.h"

#include <string>
#include <vector>

#include "buffer/charset.h"
#include "buffer/edit_buffer.h"
#include "core/app_session.h"
#include "editing/cursor.h"
#include "editing/cursor_actions.h"
#include "editing/edit_session.h"
#include "editing/typing.h"
#include "platform/format.h"

namespace tavoe {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

char UpperHexDigit(char c) {
    return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
}

// One byte of HEXIN: its value and the two digits as typed (upper case), for the message.
struct HexByte {
    std::uint8_t value = 0;
    char high = '0';
    char low = '0';
};

// The pairs of the HEXIN parameter; false after a message when a digit is wrong or a digit is left
// without its partner (a blank may stand between pairs, not inside one).
bool ParseHexPairs(AppSession& app, std::string_view digits, std::vector<HexByte>& bytes) {
    for (char c : digits) {
        if (c != ' ' && HexValue(c) < 0) {
            Refuse(app, "HEX digit must be in range 0..9  A..F", MsgTo::Line, Beep::Error);
            return false;
        }
    }
    for (size_t i = 0; i < digits.size();) {
        if (digits[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= digits.size() || digits[i + 1] == ' ') {
            Refuse(app, "HEX input must be in pairs.", MsgTo::Line, Beep::Error);
            return false;
        }
        bytes.push_back(HexByte{static_cast<std::uint8_t>(HexValue(digits[i]) * 16 + HexValue(digits[i + 1])),
                                UpperHexDigit(digits[i]), UpperHexDigit(digits[i + 1])});
        i += 2;
    }
    return true;
}

// The display character of an EBCDIC code typed by HEXIN.
char FromEbcdic(AppSession& app, const EditBuffer& buffer, const HexByte& byte) {
    const char code = static_cast<char>(byte.value);
    char shown = code;
    if (buffer.profile.displayCharset == ProfileCharset::AsciiIbmPc) {
        (void)TranslateEbcdicToPc(Storage(app), &code, &shown, 1);
        return shown;
    }
    if (TranslateEbcdicToIso(Storage(app), &code, &shown, 1) == XlateResult::Substituted) {
        ShowMessage(
            app,
            Format("EBCDIC character code x'%c%c' can not be translated to ASCII-ISO8859, '%c' character "
                   "substituted.",
                   byte.high, byte.low, shown),
            MsgTo::Line, Beep::Error);
    }
    return shown;
}

}  // namespace

void DataCommand(AppSession& app, EditSession& session, std::string_view text) {
    if (CursorPlaceOf(app, session).area != CursorArea::Data) {
        Refuse(app, "DATA command only valid in data area, command ignored.", MsgTo::Line, Beep::Error);
        return;
    }
    size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        Refuse(app, "DATA command requires one parameter: P1=data", MsgTo::Line, Beep::Error);
        return;
    }
    text = text.substr(start);
    if (text.front() == '"' || text.front() == '\'') {
        size_t end = text.find(text.front(), 1);
        text = text.substr(1, end == std::string_view::npos ? std::string_view::npos : end - 1);
    }
    const std::string chars(text);  // typing may change the field the text came from
    for (char c : chars) {
        if (TypeChar(app, session, static_cast<std::uint8_t>(c), TypedFrom::Keyboard) != 0) {
            break;
        }
    }
}

void HexInCommand(AppSession& app, EditSession& session, std::string_view digits) {
    CursorPlace place = CursorPlaceOf(app, session);
    if (place.line == nullptr || place.area != CursorArea::Data || !IsDataLine(*place.line)) {
        Refuse(app, "HEXIN cursor must in data portion of data line.", MsgTo::Line, Beep::Error);
        return;
    }
    std::vector<HexByte> bytes;
    if (!ParseHexPairs(app, digits, bytes)) {
        return;
    }
    const EditBuffer& buffer = session.buffer;
    const bool ebcdic = buffer.profile.diskCharset == ProfileCharset::Ebcdic;
    for (const HexByte& byte : bytes) {
        char shown = ebcdic ? FromEbcdic(app, buffer, byte) : static_cast<char>(byte.value);
        if (TypeChar(app, session, static_cast<std::uint8_t>(shown), TypedFrom::Display) != 0) {
            break;
        }
    }
}

void DeleteToEndOfLineCommand(AppSession& app, EditSession& session, std::string_view) {
    (void)DeleteToEndOfLine(app, session);
}

}  // namespace tavoe
