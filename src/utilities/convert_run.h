#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tavoe {

struct AppSession;

// The conversions of the Convert utility.
enum class ConvertKind {
    VariableToFixed,  // text lines padded with blanks to the new length, no terminator
    CrLfToLf,
    LfToCrLf,
    ChangeFixedLength,  // records of the old length cut or padded to the new one
    FixedToVariable,    // records of the old length, each followed by CR+LF
    CharacterSet,       // every byte through the translation table of the mode
};

struct ConvertRequest {
    ConvertKind kind = ConvertKind::CrLfToLf;
    std::string oldPath;
    std::string newPath;  // as given: a name without "/" goes beside the old file
    int oldLength = 0;    // fixed record length of the old file
    int newLength = 0;    // fixed record length of the new file
    bool deleteTrailing = false;
    int charsetMode = 1;  // 1..6, see kConvertCharsetModes
};

// The six character-set modes, in the order the wizard lists them.
inline constexpr const char* kConvertCharsetModes[] = {
    "EBCDIC to ASCII(ISO-8859)", "EBCDIC to ASCII(IBM-PC)",          "ASCII(ISO-8859) to EBCDIC",
    "ASCII(IBM-PC) to EBCDIC",   "ASCII(ISO-8859) to ASCII(IBM-PC)", "ASCII(IBM-PC) to ASCII(ISO-8859)",
};

// Longest fixed record length accepted.
inline constexpr int kConvertMaxLength = 64000;

// The path the new file gets: a name without "/" is placed in the old file's directory.
std::string ConvertTargetPath(const std::string& oldPath, const std::string& newName);

// Converts the old file into a new file, which appears only complete: the bytes go to a temporary
// file beside it that is renamed into place at the end and removed on any failure, so the old file
// is never touched and no partial new file is left. Refuses an existing new file (the old file
// itself included). A changed fixed length asks `confirm` first (false: nothing is done, status 1).
// Returns 0 when converted, 1 when the user declined, -1 on failure; failures have been shown.
int RunConversion(AppSession& app, const ConvertRequest& request,
                  const std::function<bool(std::string_view question)>& confirm);

}  // namespace tavoe
