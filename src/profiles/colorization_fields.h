#pragma once

#include "profiles/colorizer.h"

namespace tavoe {

// The colorization dialogs' fields and a colorizer: CLRWORD (ClrWord.Delimiters, ClrWord.CaseSense,
// the literal, block comment, comment-to-end and column comment colours and texts, ClrWord.FG1 ..
// ClrWord.FG8 and ClrWord.BG1 .. ClrWord.BG8) and CLRFIELD (ClrField.FG%d, ClrField.BG%d,
// ClrField.From%d, ClrField.To%d, ClrField.Name%d for 8 fields). Colours are palette indexes 0..15
// typed as text; an item left without colours and text is not used.

struct AppSession;

void LoadWordFields(AppSession& app, const Colorizer& colorizer);

// Checks the fields and, when all are sound, stores them into the colorizer (and prepares it).
// -1 after the message of the first fault; the colorizer is then unchanged.
int StoreWordFields(AppSession& app, Colorizer& colorizer);

// The colours of word set `set` (1..8) as the fields give them; -1 after "Specify colors before
// invoking word edit." or a colour message.
int CheckWordSetFields(AppSession& app, int set);

void LoadFieldFields(AppSession& app, const Colorizer& colorizer);
int StoreFieldFields(AppSession& app, Colorizer& colorizer);

}  // namespace tavoe
