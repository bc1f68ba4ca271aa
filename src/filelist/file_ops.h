#pragma once

#include <string>
#include <string_view>

namespace tavoe {

// What the file list (and the project window, the recent-files dialog, a macro) does to one entry:
// copy, move, delete, rename, properties, print and the user command, the directory-tree copy and
// delete beneath them, the per-file searches of the file-list FIND, CHANGE and SEARCH, and NEW.
//
// Every operation takes the entry's full path, reports each failure itself through ShowMessage and
// answers 0 or -1. `list` is the file list the entry was picked in; it may be null, and the steps
// that mark, drop or reload entries are then skipped. Names are never handed to a shell, so blanks,
// quotes, newlines, leading dashes and bytes that are not UTF-8 are ordinary characters.

struct AppSession;
class FileListLink;

// The letters of the line commands and verbs: B browse, E edit, C copy, M move, D delete, R rename,
// I properties, P print, U user command. An unknown letter fails (-1) without a message.
int RunEntryOperation(AppSession& app, FileListLink* list, std::string_view path, char letter);

// The copy dialog (its title "Copy File or Directory"), or at once with ZCOPY.YESTOALL "TRUE". 0 only
// when a file or tree was copied.
int CopyEntry(AppSession& app, FileListLink* list, std::string_view path);
// A copy under the title "Move File or Directory", then the source is deleted; a failed copy deletes
// nothing. Within one file system the entry is renamed instead.
int MoveEntry(AppSession& app, FileListLink* list, std::string_view path);
// A file at once; a directory and all it holds after the user answers Yes.
int DeleteEntry(AppSession& app, FileListLink* list, std::string_view path);
int RenameEntry(AppSession& app, FileListLink* list, std::string_view path);
int ShowEntryProperties(AppSession& app, FileListLink* list, std::string_view path);
int PrintEntry(AppSession& app, FileListLink* list, std::string_view path);
int UserCommandOnEntry(AppSession& app, FileListLink* list, std::string_view path);

// Copies every entry of source (a directory) into target (an existing directory), subdirectories by
// recursion, names beginning with "." left out. An existing file is overwritten only with
// ZCOPY.OVERWRITE "TRUE". Symbolic links are copied as links, never followed. The first failure ends
// the copy with "%s, COPY error." and -1.
int CopyDirectoryTree(AppSession& app, std::string_view source, std::string_view target);
// Deletes a directory and everything in it except names beginning with "." (which then keep the
// directory itself, reported as "%s, DELETE error."). A symbolic link is removed as a link; its
// target is never touched. Stops at the first failure with -1.
int DeleteDirectoryTree(AppSession& app, std::string_view path);

// FIND "quiet <parameters>" over the file in a hidden browse session: the number of hits, 0 when the
// file cannot be opened.
int FindInFile(AppSession& app, std::string_view path, std::string_view parameters);
// CHANGE "all quiet <parameters>" over the file in a hidden edit session, saved when it changed: the
// number of changes. A file the user may not write is skipped (0).
int ChangeInFile(AppSession& app, std::string_view path, std::string_view parameters);
// The file profile SearchFileBytes read last: a search over many files (the file list's SEARCH) passes
// one along, so the profile of a run of files of one type is read once.
struct SearchProfileCache {
    std::string profileName;  // "" until a profile was read
    bool ebcdic = false;      // the file's disk set is EBCDIC
    int displaySet = 0;       // the profile's display set (CharSet)
};

// Whether the raw bytes of the file hold the text in either case (translated to EBCDIC when the
// file's profile says the file is EBCDIC): 1 found, 0 not found or not readable (reported).
int SearchFileBytes(AppSession& app, std::string_view path, std::string_view text,
                    SearchProfileCache* cache = nullptr);

// NEW: asks for the name of a new file with the file dialog and opens it for editing; a name that
// exists is refused with "%s already exists, use OPEN.". 0 when a file was opened.
int NewFileDialog(AppSession& app);

}  // namespace tavoe
