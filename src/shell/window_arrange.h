#pragma once

#include <string>
#include <vector>
#include "core/status.h"

namespace tavoe {

// Further instances and the arrangement of the instances' windows. On this platform an instance's
// window is its tmux pane: starting an instance opens a pane or a window for it, and the WIN
// commands lay the panes out (tiled in bands or columns, one main pane with the other beside it, or
// each in a window of its own so that they lie over one another). Outside tmux an instance cannot
// place another terminal, and the commands say so.

struct AppSession;

// Where a started instance appears: a tmux window of its own, or a pane split off the own pane.
enum class LaunchPlace { NewWindow, SplitBelow, SplitBeside };

// Starts the program as a further instance with the arguments (after the program path), in its own
// process group, in the current directory and with this instance's TAVOE35. 0 when it started, -1
// when it could not be (outside tmux, or tmux refused).
int LaunchInstance(AppSession& app, const std::vector<std::string>& arguments, LaunchPlace place);

// SPLITF: writes the main profile (the new instance reads the current settings), starts another
// instance, waits 200 milliseconds, arranges the windows again and shows the current context again.
// Failure: "Unable to start new Tavo session." (box, beep 3). Returns 0 or -1.
Status StartNewSession(AppSession& app);

// SPLITH and SPLITV: with exactly two sessions, the step arrangements (one above the other, or side
// by side); otherwise a message and SPLITF.
void SplitHorizontal(AppSession& app);
void SplitVertical(AppSession& app);

// The WIN commands. Messages go to a box with beep 1.
void ArrangeOverlay(AppSession& app);  // WINOVERLAY: every session full size, the own one in front
void ArrangeTileH(AppSession& app);    // WINTILEH: horizontal bands of equal height
void ArrangeTileV(AppSession& app);    // WINTILEV: columns of equal width
void ArrangeStepH(AppSession& app);    // WINSTEPH: two sessions, the second below the first
void ArrangeStepV(AppSession& app);    // WINSTEPV: two sessions, the second beside the first

// The smallest band height and column width, in cells, below which tiling is refused.
inline constexpr int kMinTileRows = 9;
inline constexpr int kMinTileCols = 12;

}  // namespace tavoe
