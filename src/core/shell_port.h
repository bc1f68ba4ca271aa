#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/open_mode.h"

namespace tavoe {

// What the layers below the shell ask of the running instance's shell: showing contexts, running
// commands, opening and ending edit sessions, the command field of the current context, questions,
// and the main window's layout. The instance owns one port (app.shellPort); Shell(app) gives it.
//
// The base class is a real, complete port for an instance without a window system or a shell (a
// unit test's instance, a tool): every method does what such an instance can, as documented at it.
// The shell's port (ConnectInstance) replaces it with the real behaviour; a test subclasses it to
// record or to answer.

struct AppSession;
struct EditSession;

enum class CommandFieldFocus { Keep, Take };

// The open dialogs: the common one, or the program's own showing directories and files, only
// directories or only files.
enum class OpenDialogKind { Common, DirectoriesAndFiles, DirectoriesOnly, FilesOnly };

// The size of the data window (prefix area included) in cells.
struct DataWindowSize {
    int rows = 0;
    int columns = 0;
};

class ShellPort {
public:
    virtual ~ShellPort() = default;

    // Runs a command line through the general command processor at once. Base: the command is
    // dropped, since there is no processor.
    virtual void RunGeneralCommand(AppSession& app, std::string_view command);
    // The top frame of the context stack changed: the window system shows the new top and moves the
    // focus there. Base: nothing.
    virtual void ContextChanged(AppSession& app);
    // Removes the top frame and shows what the new top names (a menu or dialog again, the file
    // list, the edit session, or the empty window). Base: a menu or dialog on top is posted again
    // ("MENU %s", "DIALOG %s"), and the change is told (ContextChanged).
    virtual void ShowTopContext(AppSession& app);
    // Ends every edit session and file list and empties the stack; -1 when a session refused to end.
    // Base: the stack is emptied.
    virtual int CloseAllContexts(AppSession& app);
    // Closes the file list on top. Base: nothing.
    virtual void CloseFileList(AppSession& app);
    // The directory the current file list shows. Base: empty.
    virtual std::string FileListDirectory(AppSession& app);
    // Opens a file in a new edit or browse session; 0 when it opened. Base: refused (-1).
    virtual int OpenEditSession(AppSession& app, std::string_view path, OpenMode mode);
    // Ends an edit session (asking about unsaved changes). Base: nothing.
    virtual void EndEditSession(AppSession& app, EditSession& session);
    // Opens an existing file in a hidden session for a search over many files: loaded with its file
    // profile as OpenEditSession loads it, but never shown or made current, without a context frame,
    // a recent-file entry or the entry macro, and quiet about the load. The port owns the session
    // until EndHiddenSession. Null after a message when the file cannot be loaded. Base: null, since
    // there is no shell to load sessions.
    virtual EditSession* OpenHiddenSession(AppSession& app, std::string_view path, OpenMode mode);
    // Ends a hidden session as END ends a session (a changed file is saved, asking first when
    // ZPROMPTONEXIT is "TRUE") and frees it; 0, or -1 when a save failed (the file on disk is left as
    // it was). Base: the session is dropped (-1), since the base never opens one.
    virtual int EndHiddenSession(AppSession& app, EditSession* session);
    // The text of the current context's command field; nullopt when the context has none. Base: none.
    virtual std::optional<std::string> CommandFieldText(AppSession& app);
    // Replaces the command field's text, optionally giving it the keyboard focus. Base: nothing.
    virtual void SetCommandField(AppSession& app, std::string_view text, CommandFieldFocus focus);
    // Asks an OK/Cancel question in a box titled "Tavo/E"; true for OK. Base: the default button of
    // such a question, OK.
    virtual bool ConfirmOkCancel(AppSession& app, std::string_view question);
    // Shows one of the open dialogs and opens what the user picks; false when the instance has no
    // such dialog. Base: false.
    virtual bool OpenDialog(AppSession& app, OpenDialogKind kind);
    // Lays the main window out again (after RULER or HEX changed the rows it needs) and returns the
    // data window's size; the current size without laying out. Base: no window (0 by 0).
    virtual DataWindowSize LayoutWindow(AppSession& app);
    virtual DataWindowSize CurrentDataWindow(AppSession& app);
    // Shows `text` as the main window's title while long work runs (a sort's progress); an empty
    // text gives the window its own title back. Base: nothing, there is no window.
    virtual void ShowProgressTitle(AppSession& app, std::string_view text);
};

// The instance's shell port: the one installed, or a base port made on first use.
ShellPort& Shell(AppSession& app);

}  // namespace tavoe
