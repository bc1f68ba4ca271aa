#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>
#include "core/status.h"

namespace tavoe {

// The running instances of the program and their table in the shared block: registration, the
// Window menu, titles, switching between instances and the requests they send each other.
//
// On this platform the "window handle" of a slot is the instance's process id. Requests to another
// instance are bits in its slot plus a ring (see shell/notify.h); the receiving event loop calls
// HandleNotifications. Several AppSessions may register from one process (tests do): each finds its
// own slot by its session id, never by process id.

struct AppSession;

inline constexpr int kWindowMenuFirstId = 290;  // Window menu item of slot i: 290 + i
inline constexpr int kRebuildWindowMenuId = 322;
inline constexpr int kRefreshTitleId = 323;

enum class Notification { CloseRequest, RebuildWindowMenu, RefreshTitle };

// One item the shell's menu bar shows: its command identifier, its text ("&" marks the accelerator,
// "&&" a literal "&") and whether it is greyed.
struct ShellMenuItem {
    int id = 0;
    std::string text;
    bool greyed = false;
};

// What the main window's title describes beside the instance name.
enum class TitleContext {
    None,          // the title is the instance name alone
    Description,   // the instance name, two blanks, the description
    EditFileName,  // the current edit session's own file name, shown alone
};

// How an instance starts: its program file and, for tests, a block name of its own (empty: derived
// from the program file and the user).
struct SessionStart {
    std::string programPath;
    std::string blockName;
};

// Brings the main window of slot `slot` (process `pid`) to the front. Returns true when it did; on
// false it has said why. Empty: the built-in way (tmux panes).
using WindowActivator = std::function<bool(AppSession& app, int slot, int pid)>;

// The instance's own part of the cooperation, kept in its AppSession.
struct InstanceState {
    int sessionId = 0;  // 0 while unregistered
    int window = 0;     // the main window (process id) once SetSessionWindow ran
    std::string programPath;
    std::string title;  // the main window title as last derived
    std::string titleDescription;
    TitleContext titleContext = TitleContext::None;
    std::vector<ShellMenuItem> windowMenu;  // Window menu items after its separator
    std::vector<ShellMenuItem> recentMenu;  // File menu items of the recent files
    bool closeRequested = false;            // a close request arrived; the main loop acts on it
    WindowActivator activateWindow;
};

// The instance's part, made on first use; read-only, an empty one until then.
InstanceState& Instance(AppSession& app);
const InstanceState& Instance(const AppSession& app);

// Maps (creating when needed) the shared block, fills its installation fields when still empty,
// reclaims the slots of instances whose process has ended, and takes the next slot. Returns the new
// session id, or 0 when 32 sessions are registered: then "Can not register any more Tavo sessions,
// max = %d" is shown and the instance runs unregistered, still sharing history and recent files.
// When the named block cannot be mapped the instance runs alone on a private block, after a message.
int RegisterSession(AppSession& app, const SessionStart& start);

// Stores the main window (process id) in the instance's slot; nothing for an unregistered instance.
void SetSessionWindow(AppSession& app, int window);

// Leaves the table: with others registered the next one is brought to the front first, the slot is
// cleared and the table compacted, and those remaining rebuild their Window menus and titles. The
// last instance to leave removes the block's name, so the next one starts with an empty block.
void UnregisterSession(AppSession& app);

// Number of registered sessions, kept within 0..32.
int RegisteredSessionCount(AppSession& app);
// The instance's slot index, -1 when it holds none.
int OwnSlotIndex(AppSession& app);

// Swapping between instances. Each returns 0, or -1 after a message box. SwapNext and SwapPrevious do
// nothing with fewer than two sessions or with session cooperation off.
Status SwapNext(AppSession& app);
Status SwapPrevious(AppSession& app);
Status ActivateSlot(AppSession& app, int index);

// Asks every registered instance, this one included, to close.
void CloseAllSessions(AppSession& app);

// Copies ZSESSIONCOOPERATION ("TRUE" = on) into the AppSession.
void LoadSessionCooperation(AppSession& app);

// "Verso" with fewer than two sessions, else "Verso[%d]" with the slot index + 1; a description
// follows after two blanks; the current edit session's own file name stands alone.
std::string ComposeWindowTitle(int sessionCount, int ownIndex, std::string_view description,
                               TitleContext kind);
// Remembers what the title describes and refreshes it.
void SetTitleContext(AppSession& app, std::string_view description, TitleContext kind);
// Re-derives the title into Instance(app).title and the slot (the title refresh command).
void RefreshTitle(AppSession& app);
// Stores the slot title other instances list in their Window menus (cut to 247 characters).
void SetSessionTitle(AppSession& app, std::string_view text);

// The Window menu's items after its separator: one per used slot, identifier 290 + slot index, the
// slot title with "&" doubled, the own item greyed.
std::vector<ShellMenuItem> WindowMenuItems(AppSession& app);
// Rebuilds Instance(app).windowMenu (the Window menu rebuild command).
void RebuildWindowMenu(AppSession& app);

// Runs the instance menu commands: 290 + i activates slot i, 322 rebuilds the Window menu, 323
// refreshes the title. False for any other identifier.
bool RunInstanceMenuCommand(AppSession& app, int id);

// Requests to other instances.
void PostNotification(AppSession& app, int slot, Notification what);
void BroadcastWindowMenu(AppSession& app);
void BroadcastTitles(AppSession& app);
// Takes and acts on the requests waiting in the own slot: rebuilds the Window menu, refreshes the
// title, and sets closeRequested for a close request. Returns the bits taken (shared_block.h).
uint32_t HandleNotifications(AppSession& app);

// The text with every "&" doubled, so a menu shows it rather than underlining the next letter.
std::string DoubleAmpersands(std::string_view text);

}  // namespace tavoe
