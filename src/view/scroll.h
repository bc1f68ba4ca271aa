#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/status.h"
#include "view/view_rows.h"

namespace tavoe {

// Scrolling an edit session: UP, DOWN, LEFT, RIGHT, TOP and BOTTOM. An amount is a number of lines
// or columns or one of the words CURSOR, DATA, HALF, MAX and PAGE, of which only the first letter
// counts; without one the session default (ZSCROLL.VERT, ZSCROLL.HORIZ) applies. The mouse wheel
// and the scroll bars send the same commands.

struct AppSession;
struct EditSession;

enum class ScrollDirection { Up, Down, Left, Right };

enum class ScrollUnit { Count, Cursor, Data, Half, Max, Page };

struct ScrollAmount {
    ScrollUnit unit = ScrollUnit::Page;
    int64_t count = 0;  // for ScrollUnit::Count
};

// Reads an amount (at most 15 characters are looked at, in upper case). nullopt for an amount whose
// first character is not a digit or one of C, D, H, M, P.
std::optional<ScrollAmount> ParseScrollAmount(std::string_view text);

// The amount text of a command's parameters: its first word, or the session default for the
// direction ("PAGE" when the default is empty). Upper case, at most 15 characters.
std::string ScrollAmountText(AppSession& app, ScrollDirection direction, std::string_view params);

// UP and DOWN: moves the top line over shown lines by the amount (see ScrollVertical below), or
// LEFT and RIGHT: moves the horizontal offset. An invalid amount gets "Invalid scroll amount %s"
// (box, beep 2), nothing moves, and -1 is returned; otherwise 0.
Status Scroll(AppSession& app, EditSession& session, ScrollDirection direction, std::string_view amountText,
              const ViewGeometry& geometry);

// The vertical scroll by a parsed amount. Lines: that many shown lines, stopping at the top marker
// or the last line; PAGE the rows, HALF half of them, DATA the rows less one; MAX is TOP or BOTTOM.
// CURSOR: DOWN with the cursor on the second row or below makes the cursor's line the top line and
// puts the cursor on the first row; UP with the cursor on a row above the last scrolls so that the
// cursor's line comes to the last row (the cursor follows it); anything else acts as PAGE, except
// that UP with the whole file on the screen (top marker on top, cursor on the end marker) only puts
// the cursor on the first row. UP with the top marker on top does nothing else.
void ScrollVertical(EditSession& session, ScrollDirection direction, const ScrollAmount& amount,
                    const ViewGeometry& geometry);

// The horizontal scroll: the offset changes by the amount, kept within 0 and the maximum record
// length less the data columns. PAGE is the data columns, HALF half of them, DATA one less; MAX goes
// to a limit; CURSOR scrolls the cursor's column to the window's left edge (RIGHT) or right edge
// (LEFT), and acts as PAGE when the cursor is not in the data area or already on that edge.
void ScrollHorizontal(EditSession& session, ScrollDirection direction, const ScrollAmount& amount,
                      const ViewGeometry& geometry);

// TOP: the top marker becomes the top line.
void ScrollToTop(EditSession& session, const ViewGeometry& geometry);

// BOTTOM: the rest of a virtual load is read, and the last page shows, the end marker on the last row
// (or the top marker on top when the whole file fits).
void ScrollToBottom(EditSession& session, const ViewGeometry& geometry);

// The commands UP, DOWN, LEFT and RIGHT (with an amount as ParseScrollAmount reads it, or the
// amount in the command field) and TOP and BOTTOM.
void UpCommand(AppSession& app, EditSession& session, std::string_view params);
void DownCommand(AppSession& app, EditSession& session, std::string_view params);
void LeftCommand(AppSession& app, EditSession& session, std::string_view params);
void RightCommand(AppSession& app, EditSession& session, std::string_view params);
void TopCommand(AppSession& app, EditSession& session, std::string_view params);
void BottomCommand(AppSession& app, EditSession& session, std::string_view params);

}  // namespace tavoe
