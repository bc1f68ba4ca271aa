#pragma once

#include <string>
#include <string_view>

#include "profiles/file_profile.h"

// File profile files: "<TYPE>.fp" text files found along ZPATH.FILEPROFILES, one "keyword=value"
// line per setting. Reading fills a FileProfile and normalises it; writing produces the fixed line
// order below and replaces the file only once the new text is safely on disk.

struct AppSession;

inline constexpr std::string_view kFileProfileExtension = ".fp";
inline constexpr std::string_view kFileProfilePathVariable = "ZPATH.FILEPROFILES";
inline constexpr std::string_view kDefaultProfileName = "DEFAULT";
inline constexpr size_t kFileProfileLineMax = 511;  // characters of a line, the newline not counted

// An automatic write (the loader raising the record length) leaves a locked profile alone; an
// explicit one (the profile sheet) always writes.
enum class ProfileWriteMode { Explicit, Automatic };

// The profile name for a file: ZPROFILE when set, else the extension upper-cased (through a
// file-profile alias when one exists), "NOTYPE" for none, "PRN" as "TXT", and "NUMBER" or "TXT"
// when no profile file of that name exists along ZPATH.FILEPROFILES.
std::string ProfileNameForFile(AppSession& app, std::string_view path);

// Reads the profile of this name into out: the file "<name>.fp" along ZPATH.FILEPROFILES, else
// "DEFAULT.fp", else the built-in profile. out always holds a usable record tagged "FILEPROF" with
// the upper-cased name. Returns 0, or -1 after reporting the first bad line (the lines before it
// stay in effect and the record is not normalised).
int ReadFileProfile(AppSession& app, std::string_view name, FileProfile& out);

// Writes the profile as "<name>.fp" into the first directory of ZPATH.FILEPROFILES. A profile
// without a name is never written, and an automatic write of a locked profile does nothing; both
// return 0. Returns -1 after reporting when the file cannot be written; the old file then stays
// as it was.
int WriteFileProfile(AppSession& app, const FileProfile& profile,
                     ProfileWriteMode mode = ProfileWriteMode::Explicit);
