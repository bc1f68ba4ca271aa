#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// Which file profile a file is opened with. Profiles are named after file types: normally the
// file's extension, upper-cased, possibly redirected by a file-profile alias, with a few fixed
// names for files that have no type or no profile of their own.

struct AppSession;

inline constexpr std::string_view kNoTypeProfileName = "NOTYPE";  // a file without an extension
inline constexpr std::string_view kNumberProfileName = "NUMBER";  // digits only, no profile file
inline constexpr std::string_view kTextProfileName = "TXT";       // any other type without a file
inline constexpr std::string_view kPrnProfileName = "PRN";        // a reserved device name

// The extension of the file a path names: the text after the last "." of its last component, as
// it stands. Empty when the name has no "." or only a leading one (".profile" is a hidden file,
// not a type) or ends in ".".
std::string_view FileExtension(std::string_view path);

// The profile a file-profile alias redirects the type to (the alias is compared exactly, so pass
// the upper-cased type); empty when no alias names it.
std::string ProfileAliasTarget(const AppSession& app, std::string_view type);

// The profile name for the file at path:
//   1. ZPROFILE upper-cased when it is set (a profile forced for this open);
//   2. otherwise the extension upper-cased, or the target of its alias;
//   3. "NOTYPE" when that is empty, with no further lookup;
//   4. "PRN" becomes "TXT", telling the user the first time in a run;
//   5. a name with no profile file along ZPATH.FILEPROFILES becomes "NUMBER" when it is all
//      digits, else "TXT".
std::string ProfileNameForFile(AppSession& app, std::string_view path);

enum class AliasEditResult {
    Ignored,   // reported: the alias or the target was missing
    Changed,   // an existing alias got the new target
    Deleted,   // an existing alias was removed (empty target)
    Appended,  // a new alias was added at the end of the list
};

// Applies one alias edit to the session's file-profile aliases: both texts are upper-cased and
// cut to their alias-record lengths; an existing alias gets the target, or is removed when the
// target is empty; a new alias needs a target and is appended.
AliasEditResult EditProfileAlias(AppSession& app, std::string_view alias, std::string_view actual);

}  // namespace tavoe
