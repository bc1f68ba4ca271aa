#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "commands/command_tables.h"

// What the command dispatchers need from the rest of the program, and where the command handlers
// are registered.
//
// The dispatchers cut, look up and check commands; what a command does belongs mostly to other
// subsystems (the shell's contexts and edit sessions, the view, FIND, the file list, dialogs,
// macros). They reach those through one table of functions:
//   - shell hooks: the context stack, the current edit session, posting a command, the command field;
//   - view hooks: the cursor line, the selection, modal windows and redrawing of an edit session;
//   - handlers: one per command id of each table, plus DIALOG, MENU, the open dialogs and the macro
//     runner.
// The table holds code only, the same for every instance; per-instance state stays in the AppSession
// and is reached through the hooks, which receive it. A subsystem registers its functions at start-up
// (RegisterEditCommand and friends, or by assigning into Dispatch()). A handler that nobody has
// registered answers "'%s' is not available yet."; a hook that nobody has registered behaves as
// documented at its field.

struct AppSession;
struct EditBuffer;
struct EditSession;  // one edit or browse of a file, owned by the shell
struct LineRecord;
struct GeneralCommandLine;

// The kind of the top frame of the context stack.
enum class CommandContext { None, Menu, Dialog, FileList, Task, Dummy };

enum class EditOpenMode { Edit, Browse };

// The open dialogs: the common one, or the program's own showing directories and files, only
// directories or only files.
enum class OpenDialogKind { Common, DirectoriesAndFiles, DirectoriesOnly, FilesOnly };

enum class CommandFieldFocus { Keep, Take };

// A macro whose source file was found, ready to be compiled and run.
struct MacroLaunch {
    std::string name;              // as typed: the key of the macro cache
    std::string sourcePath;        // full path of the source file
    std::string arguments;         // after the name, leading blanks removed
    std::string workingDirectory;  // where the macro runs and writes its error file
};

struct DispatchShellHooks {
    // Kind of the top context frame. Unset: None.
    std::function<CommandContext(AppSession&)> contextKind;
    // The current (top) edit session, null when there is none. Unset: none.
    std::function<EditSession*(AppSession&)> currentEditSession;
    // The buffer part of an edit session. Unset: null (checks that need the buffer are skipped).
    std::function<EditBuffer*(EditSession&)> editBuffer;
    // Appends a command to the instance's queue; the main loop runs it through RunGeneralCommand
    // after the current event. Unset: the command runs at once.
    std::function<void(AppSession&, std::string_view)> postCommand;
    // Pushes a frame (kind and name) on the context stack. Unset: nothing.
    std::function<void(AppSession&, CommandContext, std::string_view)> pushContext;
    // Pops the top frame and shows the new top. Unset: nothing.
    std::function<void(AppSession&)> showTopContext;
    // Ends every edit session, closes every file list, empties the stack. Unset: nothing.
    std::function<void(AppSession&)> closeAllContexts;
    // Ends an edit session (asking about unsaved changes). Unset: not available.
    std::function<void(AppSession&, EditSession&)> endEditSession;
    // Closes the current file list. Unset: not available.
    std::function<void(AppSession&)> closeFileList;
    // Opens a file in a new edit or browse session. Unset: not available.
    std::function<void(AppSession&, std::string_view path, EditOpenMode)> openEditSession;
    // The text of the current context's command field (the edit session's primary command field or
    // the file list's command field); nullopt when the context has none. Unset: none.
    std::function<std::optional<std::string>(AppSession&)> commandFieldText;
    // Replaces the command field's text, optionally giving it the keyboard focus. Unset: nothing.
    std::function<void(AppSession&, std::string_view, CommandFieldFocus)> setCommandField;
    // Asks an OK/Cancel question in a box titled "Tavo/E"; true for OK. Unset: DEFAULTS is not
    // available.
    std::function<bool(AppSession&, std::string_view question)> confirmOkCancel;
    // The directory the current file list shows. Unset: empty.
    std::function<std::string(AppSession&)> fileListDirectory;
};

struct DispatchViewHooks {
    // The line the cursor is on, null when it is on none. Unset: the buffer's current line.
    std::function<LineRecord*(AppSession&, EditSession&)> cursorLine;
    // A selection or a marked line range exists. Unset: never.
    std::function<bool(AppSession&, EditSession&)> hasSelection;
    // A modal window of the session is open; escapeModal sends it an Escape key. Unset: never.
    std::function<bool(AppSession&, EditSession&)> modalActive;
    std::function<void(AppSession&, EditSession&)> escapeModal;
    // Runs the pending line commands. Unset: a pending command is not available.
    std::function<void(AppSession&, EditSession&)> processLineCommands;
    // Puts the cursor into the data area. Unset: nothing.
    std::function<void(AppSession&, EditSession&)> cursorToDataArea;
    // Brings the pending screen bookkeeping up to date after each sub-command, and redraws the screen
    // after the last. Unset: nothing.
    std::function<void(AppSession&, EditSession&)> updateScreenBookkeeping;
    std::function<void(AppSession&, EditSession&)> redrawScreen;
};

// A handler runs after the dispatcher's own checks have passed.
using EditCommandHandler = std::function<void(AppSession&, EditSession&, std::string_view params)>;
using GeneralCommandHandler = std::function<void(AppSession&, const GeneralCommandLine&)>;
using FileListCommandHandler = std::function<void(AppSession&, std::string_view params)>;

struct CommandHandlers {
    std::array<EditCommandHandler, kEditCmdCount> edit;                  // by EditCmd
    std::array<GeneralCommandHandler, kGeneralCmdMaxId + 1> general;     // by GeneralCmd (0 unused)
    std::array<FileListCommandHandler, kFileListCmdMaxId + 1> fileList;  // by FileListCmd (0 unused)
    // DIALOG with a built-in dialog name (upper case), with that dialog's own preparation.
    std::function<void(AppSession&, std::string_view name)> showDialog;
    // MENU with a menu name (upper case).
    std::function<void(AppSession&, std::string_view name)> showMenu;
    std::function<void(AppSession&, OpenDialogKind)> openDialog;
    // Compiles (or takes from the cache) and runs a macro; 0 on success.
    std::function<int(AppSession&, const MacroLaunch&)> runMacro;
};

struct DispatchTable {
    DispatchShellHooks shell;
    DispatchViewHooks view;
    CommandHandlers handlers;
};

// The program's table. It starts with the commands the dispatchers carry themselves; everything
// else is registered by its subsystem.
DispatchTable& Dispatch();

// A table with only the dispatchers' own commands (what Dispatch() starts as).
DispatchTable DefaultDispatchTable();

void RegisterEditCommand(EditCmd id, EditCommandHandler handler);
void RegisterGeneralCommand(GeneralCmd id, GeneralCommandHandler handler);
void RegisterFileListCommand(FileListCmd id, FileListCommandHandler handler);

// "'%s' is not available yet." (box, information beep).
void ShowNotAvailable(AppSession& app, std::string_view what);

// The hooks with their unset behaviour applied.
CommandContext DispatchContext(AppSession& app);
EditSession* DispatchEditSession(AppSession& app);
EditBuffer* DispatchEditBuffer(EditSession& session);
void DispatchPostCommand(AppSession& app, std::string_view text);
// Shows the current context again: a "dummy" frame is pushed and popped.
void DispatchReshowContext(AppSession& app);
