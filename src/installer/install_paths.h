#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavoe {

// The paths the installer derives and checks: where the shared installation lives, where the user's
// own tree is proposed, and what that tree holds.

// The directories of a client tree, relative to the client home, in the order they are created.
inline constexpr std::array<const char*, 17> kClientTreeDirectories = {
    "bin",           "dialogs",       "help",           "macros",        "menus",
    "profiles",      "templates",     "templates/c",    "templates/cbl", "templates/cob",
    "templates/cpp", "templates/htm", "templates/java", "templates/jcl", "templates/pas",
    "templates/pl1", "templates/pli",
};

// The main profile of a client home, relative to it.
inline constexpr const char* kMainProfileName = "profiles/TAVOE.PRF";

// The server home is the program's own path cut at the "/bin/" (or "/BIN/") that immediately precedes
// the program's file name; a program that is not in such a directory has no server home. The match is
// case-sensitive: ".../Bin/client" is not accepted.
std::optional<std::string> DeriveServerHome(std::string_view programPath);

// The proposed client home: the user's home directory followed by the last directory name of the
// server home, so a server home "/srv/tavoe35" proposes "$HOME/tavoe35".
std::string ProposeClientHome(std::string_view serverHome, std::string_view userHome);

// A client home must be an absolute path.
bool HasAbsolutePathForm(std::string_view path);

// Drops trailing "/" characters (a lone "/" stays), so joined paths never show "//".
std::string WithoutTrailingSlashes(std::string_view path);

// `text` as one word for a POSIX shell: unchanged when it holds only characters that need no quoting,
// otherwise in single quotes.
std::string ShellWord(std::string_view text);

}  // namespace tavoe
