#pragma once

#include <string>
#include <string_view>
#include "core/status.h"

namespace tavoe {

// The main window's position, kept between runs in the position file "TAVOPOS.TMP" and, while
// instances run, in the shared block. In a terminal the window is the terminal itself: the position
// is 0,0 and the extent is the terminal's size in cells, so the file records the size the last
// instance had.
//
// The file holds the lines "X_POS=%d", "Y_POS=%d", "X_EXTENT=%d", "Y_EXTENT=%d" and a last line
// "MAXIMIZED=TRUE" or "MAXIMIZED=FALSE" without a line end. It lies in the directory named by TAVOE35
// when that is set, else beside the program file when that directory may be written, else in the
// temporary directory ($TMPDIR or /tmp).

struct AppSession;

inline constexpr std::string_view kPositionFileName = "TAVOPOS.TMP";

struct WindowPosition {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const WindowPosition&) const = default;
};

// The default position in a work area: at most 640 by 480, centred; not maximized.
WindowPosition DefaultWindowPosition(int workWidth, int workHeight);

// Applies the lines of a position file to a position: "X_POS=", "Y_POS=", "X_EXTENT=", "Y_EXTENT="
// set their value from the number after "=", "MAXIMIZED=" followed by "TRUE" sets maximized (anything
// else leaves it normal); other lines, and lines over 256 characters, are passed over.
WindowPosition ParseWindowPosition(std::string_view text, WindowPosition position);

// Cuts the size to the work area and moves the window left and up until it fits.
WindowPosition FitWindowPosition(WindowPosition position, int workWidth, int workHeight);

// The position for a new instance: the shared block's while its position-state flag is 1, else the
// position file's (the defaults when there is none), fitted to the work area. The block then holds
// it, with the flag set.
WindowPosition ReadWindowPosition(AppSession& app, int workWidth, int workHeight);

// Records a new size of the window (the terminal was resized) in the shared block.
void NoteWindowSize(AppSession& app, int width, int height);

// Writes the position file from the shared block's fields. 0, or -1 when it could not be written.
Status WriteWindowPosition(AppSession& app);

// Where the position file lies.
std::string WindowPositionPath(const AppSession& app);

}  // namespace tavoe
