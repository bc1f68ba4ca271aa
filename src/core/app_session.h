#pragma once

#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/charset_state.h"
#include "core/command_alias.h"
#include "core/context_stack.h"
#include "core/message.h"
#include "core/session_settings.h"
#include "core/shared_block.h"
#include "core/var_store.h"
#include "platform/clipboard.h"

namespace tavoe {

namespace ui {
class Screen;
}
struct DialogCache;
struct EditSession;
class MainWindow;
// Frees an edit session; defined with the session, so this header needs only its name.
struct EditSessionDeleter {
    void operator()(EditSession* session) const;
};
struct EditBuffer;
// Frees the session's dialog cache; defined with the cache, so this header needs only its name.
struct DialogCacheDeleter {
    void operator()(DialogCache* cache) const;
};
// The instance's part of the cooperation between instances (shell/instances.h).
struct InstanceState;
struct InstanceStateDeleter {
    void operator()(InstanceState* state) const;
};
class CommandSet;
// The edit view as editing and the dispatchers see it (editing/edit_view_port.h).
class EditViewPort;
struct EditViewPortDeleter {
    void operator()(EditViewPort* port) const;
};
class ShellPort;
class StorageHost;
// The instance's open file lists (filelist/file_list_session.h).
struct FileListSet;
struct FileListSetDeleter {
    void operator()(FileListSet* set) const;
};
// The instance's macro engine: compiled macros, open macro files (macro/macro_engine.h).
struct MacroEngine;
struct MacroEngineDeleter {
    void operator()(MacroEngine* engine) const;
};

// Receives the messages of an instance once the window system is connected: the message line, a
// message box, and the beep that goes with them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowLine(const std::string& text) = 0;
    virtual void ShowBox(const std::string& text, Beep beep) = 0;
    virtual void Sound(Beep beep) = 0;
};

// A built-in dialog (DIALOG name, name in upper case) and the handler that prepares, shows and
// applies it.
struct SubsystemDialog {
    std::string_view name;
    void (*handler)(AppSession& app);
};

// The record of one running instance. Every operation receives it explicitly, so a test can run
// several instances in one process. It is the instance's Reporter: a message goes to the message line
// only while an edit session is current and the text fits after one leading blank, else to a box;
// every message is also kept in `messages`.
struct AppSession : Reporter {
    int messageCapacity = 79;   // characters the message line can show
    bool messageShown = false;  // a message is standing on the message line
    bool hasCurrentEditSession = false;
    MessageSink* messageSink = nullptr;
    std::vector<ShownMessage> messages;  // every message shown, in order (tests read them)
    // While a file is being opened its line messages wait here for its session to become current
    // (ReleaseHeldLineMessages), so they land on its message line instead of in a box.
    bool holdLineMessages = false;
    std::vector<ShownMessage> heldLineMessages;
    std::unique_ptr<VarStore> varStore;  // the variable store, created on its first use
    CharsetState charset;                // substitution characters kept for the run
    std::unique_ptr<DialogCache, DialogCacheDeleter> dialogCache;  // parsed dialogs, made on first use
    std::unique_ptr<MacroEngine, MacroEngineDeleter> macroEngine;  // MacroEngineOf(app), made on first use
    std::unique_ptr<SharedSessionBlock> shared;  // the block the instances share (SharedBlock(app))
    // This instance's slot, title and instance menus (Instance(app), made on first use).
    std::unique_ptr<InstanceState, InstanceStateDeleter> instance;
    bool sessionCooperation = false;  // copy of ZSESSIONCOOPERATION ("TRUE" = on)
    std::string homeDirectory;        // installation home: profiles/, dialogs/, macros/, ...
    // The shared installation when the user's own home (homeDirectory) lies elsewhere because the
    // installation cannot be written (a system-wide install); "" otherwise.
    std::string sharedHome;
    CommandAliasList aliases;                // primary-command aliases, in list order
    CommandAliasList profileAliases;         // file-profile aliases, in list order
    bool prnAliasReported = false;           // the PRN-to-TXT profile note was shown this run
    bool profileLoaded = false;              // the main profile was read and is to be written back
    ProfileSessionSettings profileSettings;  // palette, colour elements and options from the profile
    // The window system and the context stack (core/context_stack.h).
    ui::Screen* screen = nullptr;          // the canvas and backend of the instance; null without one
    std::vector<DlgStkFrame> contexts;     // the context stack, the top frame LAST (see TopContext)
    std::deque<std::string> commandQueue;  // posted commands, run by the main loop after the event
    // What the lower layers ask of the shell (Shell(app)) and what storage asks of the instance
    // (Storage(app)); base versions are made on first use, the shell installs its own.
    std::unique_ptr<ShellPort> shellPort;
    std::unique_ptr<StorageHost> storageHost;
    std::unique_ptr<Clipboard> clipboard;                         // SessionClipboard(app), made on first use
    std::unique_ptr<EditViewPort, EditViewPortDeleter> editView;  // EditView(app)
    const CommandSet* commands = nullptr;  // the command tables (Commands(app)); shared, never owned
    // Handlers of built-in dialogs that belong to a layer above the dialogs (the utilities): DIALOG
    // name runs them; the shell lists them when it connects the instance.
    std::span<const SubsystemDialog> subsystemDialogs;
    bool closing = false;           // shutting down: no prompts; painting and status output stop
    bool closeWhenEmpty = false;    // started for files: asks to close when the context stack empties
    bool menuPostponed = false;     // started for files with -H: shows the top menu when it empties
    bool modalActive = false;       // a modal sub-window is open
    bool rightCtrlIsEnter = false;  // the Right Ctrl key acts as Enter
    // The edit sessions, the current one first (shell/edit_session.h), and the main window.
    std::vector<std::unique_ptr<EditSession, EditSessionDeleter>> editSessions;
    MainWindow* mainWindow = nullptr;  // layout, command field and menus; null without a window
    bool batchMode = false;            // runs headless from a script (--batch)
    std::string statusText;            // a status text standing in for the status line (long loads)

    // The open file lists (FileLists(app)), made on first use.
    std::unique_ptr<FileListSet, FileListSetDeleter> fileLists;

    AppSession();
    ~AppSession() override;
    void Report(std::string_view text, MsgTo to, Beep beep) override;
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;
};

// Shows the line messages held while a file was opened: on the message line when an edit session is
// now current, else (the open failed) in boxes as usual.
void ReleaseHeldLineMessages(AppSession& app);

}  // namespace tavoe
