#include "view/line_colors.h"

#include <vector>

#include "core/app_session.h"
#include "core/message.h"
#include "platform/format.h"
#include "profiles/colorizer.h"
#include "view/view_colors.h"

namespace tavoe {

namespace {

class Upkeep final : public LineColorizer {
public:
    void ColorizeLine(EditBuffer& buffer, LineRecord& line) override { NoteLineChanged(buffer, line); }
};

const Colorizer* ColorizerOf(const EditBuffer& buffer) {
    return buffer.profile.colorizer.get();
}

bool Known(const LineRecord& line) {
    return LineHasFlag(line, LineFlagB::ColorStateKnown);
}

ColorLineState StoredStart(const LineRecord& line) {
    return LineHasFlag(line, LineFlagB::StartsInComment) ? ColorLineState::InBlockComment
                                                         : ColorLineState::Normal;
}

void StoreStart(LineRecord& line, ColorLineState state) {
    LineSetFlag(line, LineFlagB::ColorStateKnown);
    if (state == ColorLineState::InBlockComment) {
        LineSetFlag(line, LineFlagB::StartsInComment);
    } else {
        LineClearFlag(line, LineFlagB::StartsInComment);
    }
}

ColorLineState EndOf(const Colorizer& c, const LineRecord& line, ColorLineState start) {
    return NextLineState(c, LineText(line), start);
}

// The state a data line starts in. A line past the known run is reached by scanning forward from
// the last known line above it (or from the top), and every line passed keeps its state.
ColorLineState StartOf(const Colorizer& c, LineRecord& line) {
    if (!CarriesState(c)) {
        return ColorLineState::Normal;
    }
    if (Known(line)) {
        return StoredStart(line);
    }
    LineRecord* first = &line;
    LineRecord* anchor = PrevDataLine(&line);
    while (anchor != nullptr && !Known(*anchor)) {
        first = anchor;
        anchor = PrevDataLine(anchor);
    }
    ColorLineState state =
        anchor != nullptr ? EndOf(c, *anchor, StoredStart(*anchor)) : ColorLineState::Normal;
    LineRecord* walk = first;
    for (; walk != &line; walk = NextDataLine(walk)) {
        StoreStart(*walk, state);
        state = EndOf(c, *walk, state);
    }
    StoreStart(line, state);
    return state;
}

// Colours the line from its start state and answers the state the next line starts in.
ColorLineState ColorLine(AppSession& app, EditBuffer& buffer, Colorizer& c, LineRecord& line,
                         ColorLineState start, std::uint8_t base) {
    LineClearFlag(line, LineFlagB::ColorStale);
    if (line.length == 0) {
        return start;
    }
    if (LineEnsureColor(buffer, line) != 0) {
        return EndOf(c, line, start);
    }
    // Found strings keep their Find colour through the recolouring of a changed line: the change
    // moved their colour bytes along with the text.
    std::vector<std::uint32_t> hits;
    std::uint8_t findByte = 0;
    if (LineHasFlag(line, LineFlagB::Highlighted)) {
        findByte = ElementColorByte(app, ColorElement::Find);
        for (std::uint32_t i = 0; i < line.length; ++i) {
            if (line.color[i] == findByte) {
                hits.push_back(i);
            }
        }
    }
    ColorizeOutcome outcome = ColorizeText(c, LineText(line), start, base, line.color, line.capacity);
    for (std::uint32_t i : hits) {
        line.color[i] = findByte;
    }
    if (outcome.hasNul && !c.nulLineReported) {
        c.nulLineReported = true;
        ShowMessage(app,
                    Format("File '%s', lines with X'00' character will not be colorized.",
                           buffer.displayName.c_str()),
                    MsgTo::Line, Beep::None);
    }
    return outcome.end;
}

}  // namespace

LineColorizer& LineColorUpkeep() {
    static Upkeep upkeep;
    return upkeep;
}

void NoteLineChanged(EditBuffer& buffer, LineRecord& line) {
    LineSetFlag(line, LineFlagB::ColorStale);
    const Colorizer* c = ColorizerOf(buffer);
    if (c == nullptr || !CarriesState(*c) || !IsDataLine(line)) {
        return;
    }
    LineRecord* next = NextDataLine(&line);
    if (next == nullptr || !Known(*next)) {
        // Nothing below depends on a known state: this line joins the lines found on demand.
        LineClearFlag(line, LineFlagB::ColorStateKnown);
        return;
    }
    LineRecord* above = PrevDataLine(&line);
    ColorLineState state = above == nullptr ? ColorLineState::Normal : EndOf(*c, *above, StartOf(*c, *above));
    StoreStart(line, state);
    state = EndOf(*c, line, state);
    for (LineRecord* n = next; n != nullptr && Known(*n) && StoredStart(*n) != state; n = NextDataLine(n)) {
        StoreStart(*n, state);
        LineSetFlag(*n, LineFlagB::ColorStale);
        state = EndOf(*c, *n, state);
    }
}

void EnsureLineColors(AppSession& app, EditBuffer& buffer, LineRecord& line, std::uint8_t base) {
    Colorizer* c = buffer.profile.colorizer.get();
    if (c == nullptr || !IsDataLine(line) || line.length == 0) {
        return;
    }
    if (line.color != nullptr && !LineHasFlag(line, LineFlagB::ColorStale)) {
        return;
    }
    (void)ColorLine(app, buffer, *c, line, StartOf(*c, line), base);
}

void RecolorAll(AppSession& app, EditBuffer& buffer, std::uint8_t base) {
    Colorizer* c = buffer.profile.colorizer.get();
    if (c == nullptr) {
        for (LineRecord& line : Lines(buffer)) {
            LineClearFlag(line, LineFlagB::ColorStateKnown);
            if (!LineHasFlag(line, LineFlagB::Highlighted)) {
                LineFreeColor(buffer, line);
            }
        }
        return;
    }
    bool carries = CarriesState(*c);
    ColorLineState state = ColorLineState::Normal;
    for (LineRecord* line = FirstDataLine(buffer); line != nullptr; line = NextDataLine(line)) {
        if (carries) {
            StoreStart(*line, state);
        }
        state = ColorLine(app, buffer, *c, *line, state, base);
    }
}

void UseColorizer(AppSession& app, EditBuffer& buffer, std::shared_ptr<Colorizer> colorizer,
                  std::uint8_t base) {
    for (LineRecord& line : Lines(buffer)) {
        LineClearFlag(line, LineFlagB::ColorStateKnown);
    }
    buffer.profile.colorizer = std::move(colorizer);
    buffer.colorizer = buffer.profile.colorizer ? &LineColorUpkeep() : nullptr;
    RecolorAll(app, buffer, base);
}

}  // namespace tavoe
