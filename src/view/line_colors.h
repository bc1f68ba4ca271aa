#pragma once

#include <cstdint>
#include <memory>

#include "buffer/edit_buffer.h"

namespace tavoe {

// The colours of an edit session's lines, from the colorizer of its file profile.
//
// Lines are coloured when they are about to be shown (and all at once by RECOLOR and COLORMAP), not
// as they are loaded or changed: a change only marks the line (ColorStale). Only block comments
// carry anything from one line to the next, so each data line keeps the state it starts in
// (StartsInComment, valid while ColorStateKnown is set). Known states always form a leading run of
// the data lines; a line past that run gets its state by scanning forward from the last known line.
// A changed line passes its new end state on to the lines after it only as far as the states
// differ, so typing inside a comment that never ends does not rescan the file, and a colorizer
// without block comments needs no states at all.

struct AppSession;
struct Colorizer;

// What the line list calls after loading, typing, line commands, CHANGE and pastes have changed a
// line (buffer.colorizer): NoteLineChanged. It holds no state of its own, so one serves every buffer.
LineColorizer& LineColorUpkeep();

// Marks the line's colours out of date. When the colorizer carries block comments and lines after
// this one have known states, this line's start state is taken from the line above and its end
// state handed on down while it changes what the next line starts in. Call it for a changed or
// inserted line, and for the line that follows lines just removed or moved away.
void NoteLineChanged(EditBuffer& buffer, LineRecord& line);

// Makes the colour bytes of a data line current when the profile has a colorizer: a line marked out
// of date or without colour bytes is coloured from its start state. `base` is the colour byte of
// plain text. The first line holding X'00' in the session shows "File '%s', lines with X'00'
// character will not be colorized.".
void EnsureLineColors(AppSession& app, EditBuffer& buffer, LineRecord& line, std::uint8_t base);

// Colours every data line loaded so far, top to bottom (RECOLOR). Without a colorizer the colour
// bytes of every line that is not highlighted are released instead.
void RecolorAll(AppSession& app, EditBuffer& buffer, std::uint8_t base);

// Gives the buffer another colorizer (none: no colours) and recolours every line (COLORMAP). The
// line list calls LineColorUpkeep() while there is a colorizer.
void UseColorizer(AppSession& app, EditBuffer& buffer, std::shared_ptr<Colorizer> colorizer,
                  std::uint8_t base);

}  // namespace tavoe
