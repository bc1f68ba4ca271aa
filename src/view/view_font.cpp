#include "view/view_font.h"

#include <cctype>
#include <cstdlib>

#include "core/app_session.h"
#include "editing/edit_session.h"
#include "platform/format.h"

namespace tavoe {

namespace {

// Upper case without "-" and "_", so "utf8", "UTF-8" and "Utf_8" compare equal.
std::string Squeezed(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '-' && c != '_') {
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

std::string_view EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

}  // namespace

TerminalCharset TerminalCharsetOfLocale(std::string_view locale) {
    TerminalCharset result;
    size_t at = locale.find('@');
    std::string_view base = locale.substr(0, at);
    size_t dot = base.find('.');
    if (dot == std::string_view::npos) {
        result.encoding = TerminalEncoding::Other;
        result.name = base.empty() || base == "C" || base == "POSIX" ? "ANSI_X3.4-1968" : std::string(base);
        return result;
    }
    std::string_view codeset = base.substr(dot + 1);
    result.name = std::string(codeset);
    std::string key = Squeezed(codeset);
    if (key == "UTF8") {
        result.encoding = TerminalEncoding::Utf8;
    } else if (key == "ISO88591" || key == "LATIN1" || key == "ISO885911987") {
        result.encoding = TerminalEncoding::Latin1;
    } else if (key == "CP437" || key == "IBM437" || key == "437") {
        result.encoding = TerminalEncoding::Cp437;
    } else {
        result.encoding = TerminalEncoding::Other;
    }
    return result;
}

TerminalCharset TerminalCharsetFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        std::string_view value = EnvironmentValue(name);
        if (!value.empty()) {
            return TerminalCharsetOfLocale(value);
        }
    }
    return TerminalCharsetOfLocale("C");
}

bool TerminalShows(TerminalEncoding encoding, ProfileCharset display) {
    switch (encoding) {
        case TerminalEncoding::Utf8:
            return true;
        case TerminalEncoding::Latin1:
            return display == ProfileCharset::AsciiIso8859;
        case TerminalEncoding::Cp437:
            return display == ProfileCharset::AsciiIbmPc;
        case TerminalEncoding::Other:
            break;
    }
    return false;
}

int CheckEditFontFor(AppSession& app, const EditSession& session, const TerminalCharset& terminal) {
    const FileProfile& profile = session.buffer.profile;
    ProfileCharset display = profile.displayCharset == ProfileCharset::AsciiIbmPc
                                 ? ProfileCharset::AsciiIbmPc
                                 : ProfileCharset::AsciiIso8859;
    if (TerminalShows(terminal.encoding, display)) {
        return 0;
    }
    ProfileCharset other =
        display == ProfileCharset::AsciiIbmPc ? ProfileCharset::AsciiIso8859 : ProfileCharset::AsciiIbmPc;
    std::string displayName(ProfileCharsetName(display));
    std::string otherName(ProfileCharsetName(other));
    ShowMessage(
        app,
        Format("Edit font '%s' and display charset %s are not compatible.\nCan not display char codes "
               "outside range 20-127 correctly.\n\nRecommend change to Edit font '%s' (or "
               "equivalent).\nOr change File Profile '%s' field 'CharacterSet' to display charset %s.",
               terminal.name.c_str(), displayName.c_str(), "UTF-8", profile.name.c_str(), otherName.c_str()),
        MsgTo::Box, Beep::Exclamation);
    return 1;
}

int CheckEditFont(AppSession& app, const EditSession& session) {
    if (app.batchMode || app.screen == nullptr) {
        return 0;
    }
    return CheckEditFontFor(app, session, TerminalCharsetFromEnvironment());
}

}  // namespace tavoe
