#include "editing/line_command_blocks.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <utility>

#include "buffer/edit_buffer.h"
#include "buffer/excluded_lines.h"
#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "editing/edit_session.h"
#include "editing/labels.h"
#include "editing/line_command_actions.h"
#include "editing/line_command_run.h"
#include "platform/format.h"

namespace tavoe {

namespace {

using Id = LineCommandId;

constexpr std::int32_t kDefaultShift = 2;

// ZSHIFT: a number of columns; below 1, empty or not a number gives 2.
std::int32_t ShiftDefault(AppSession& app) {
    std::string value = VarGetValue(app, "ZSHIFT");
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos || value.size() > 5) {
        return kDefaultShift;
    }
    std::int32_t amount = std::atoi(value.c_str());
    return amount >= 1 ? amount : kDefaultShift;
}

bool IsCopyOrMove(WaitKind kind) {
    return kind == WaitKind::Copy || kind == WaitKind::Move;
}
bool IsTarget(WaitKind kind) {
    return kind == WaitKind::After || kind == WaitKind::Before || kind == WaitKind::Overlay;
}
// A source and its destination pair up instead of conflicting.
bool Partners(WaitKind a, WaitKind b) {
    return (IsCopyOrMove(a) && IsTarget(b)) || (IsTarget(a) && IsCopyOrMove(b));
}

WaitKind KindAt(std::size_t index) {
    return static_cast<WaitKind>(index);
}

// The prefix texts of a waiting command's lines, taken off while its action runs (the action may
// delete those lines) and given back when it fails.
class TextsAside {
public:
    void Take(LineRecord* line) {
        if (line == nullptr) {
            return;
        }
        for (const auto& [held, text] : held_) {
            if (held == line) {
                return;
            }
        }
        held_.emplace_back(line, std::string(LinePendingCommand(*line)));
        LineClearPendingCommand(*line);
    }
    void Take(const WaitingCommand& wait) {
        Take(wait.first);
        Take(wait.second);
    }
    void GiveBack() {
        for (auto& [line, text] : held_) {
            LineSetPendingCommand(*line, text);
        }
        held_.clear();
    }

private:
    std::vector<std::pair<LineRecord*, std::string>> held_;
};

}  // namespace

BlockProcessor::BlockProcessor(LineCommandRun& run, const std::vector<LineEntry>& entries,
                               const LineOrder& order)
    : run_(run), entries_(entries), order_(order) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entryIndex_.emplace(entries[i].line, i);
        if (const std::uint64_t* position = OrderOf(entries[i].line)) {
            entriesInOrder_.emplace_back(*position, i);
        }
    }
    std::sort(entriesInOrder_.begin(), entriesInOrder_.end());
}

const std::uint64_t* BlockProcessor::OrderOf(const LineRecord* line) const {
    auto found = order_.find(line);
    return found != order_.end() ? &found->second : nullptr;
}

std::optional<int> BlockProcessor::CheckConflictsByOrder(const LineEntry& entry, LineRecord* from,
                                                         LineRecord* to, int self) {
    const std::uint64_t* first = OrderOf(from);
    const std::uint64_t* last = OrderOf(to);
    if (first == nullptr || last == nullptr || to->kind == LineKind::ExcludedMarker) {
        return std::nullopt;
    }
    auto inside = [&](const LineRecord* line) {
        const std::uint64_t* at = OrderOf(line);
        return at != nullptr && *at >= *first && *at <= *last;
    };
    LineCommandState& state = run_.session.lineCommands;
    auto skip = [&](std::size_t k) {
        return static_cast<int>(k) == self ||
               (self >= 0 && Partners(KindAt(static_cast<std::size_t>(self)), KindAt(k)));
    };
    for (std::size_t k = 0; k < kWaitKindCount; ++k) {
        const WaitingCommand& wait = state.waiting[k];
        if (!wait.Pending() || skip(k)) {
            continue;
        }
        for (const LineRecord* end : {wait.first, wait.second}) {
            if (end != nullptr && end != entry.line && inside(end)) {
                return ReportConflict(entry, wait.name, wait.first);
            }
        }
    }
    auto at = std::lower_bound(entriesInOrder_.begin(), entriesInOrder_.end(),
                               std::make_pair(*first, std::size_t{0}));
    for (; at != entriesInOrder_.end() && at->first <= *last; ++at) {
        const LineEntry& other = entries_[at->second];
        if (at->second > index_ && other.line != entry.line && !PartnerEntry(at->second, self)) {
            return ReportConflict(entry, other.parsed.name, other.line);
        }
    }
    // Ranges of other waiting commands that hold this one's first line.
    for (std::size_t k = 0; k < kWaitKindCount; ++k) {
        const WaitingCommand& wait = state.waiting[k];
        if (!wait.Complete() || skip(k)) {
            continue;
        }
        const std::uint64_t* waitFrom = OrderOf(wait.from);
        const std::uint64_t* waitTo = wait.lines == 0 ? OrderOf(wait.to) : nullptr;
        if (waitFrom == nullptr || waitTo == nullptr || wait.to->kind == LineKind::ExcludedMarker) {
            return std::nullopt;  // a range of counted lines: walked
        }
        if (*first >= *waitFrom && *first <= *waitTo) {
            return ReportConflict(entry, wait.name, wait.first);
        }
    }
    return 0;
}

LineRecord* BlockProcessor::RangeEnd(const WaitingCommand& wait) {
    if (wait.lines > 0) {
        return RangeEndOfCount(run_.session.buffer, wait.from, wait.lines);
    }
    return wait.to;
}

void BlockProcessor::Clear(WaitKind kind) {
    WaitingCommand& wait = run_.session.lineCommands.Of(kind);
    wait = WaitingCommand{};
}

int BlockProcessor::ReportConflict(const LineEntry& entry, const std::string& otherName,
                                   const LineRecord* otherLine) {
    const EditBuffer& buffer = run_.session.buffer;
    std::string text = Format(
        "Line command '%s' on line %d conflicts with line command '%s' on line %d.\n\nManually alter line "
        "command "
        "to clear conflict or use RESET to clear pending line commands.",
        entry.parsed.name.c_str(), static_cast<int>(LinePosition(buffer, entry.line)), otherName.c_str(),
        static_cast<int>(LinePosition(buffer, otherLine)));
    return Refuse(run_.app, text, MsgTo::Box, Beep::Exclamation);
}

bool BlockProcessor::PartnerEntry(std::size_t index, int self) const {
    if (self < 0) {
        return false;
    }
    std::optional<LineCommandInfo> info = LookupLineCommand(entries_[index].parsed.name);
    std::optional<WaitKind> kind = info ? WaitKindOf(info->id) : std::nullopt;
    return kind && Partners(KindAt(static_cast<std::size_t>(self)), *kind);
}

int BlockProcessor::CheckConflicts(const LineEntry& entry, LineRecord* from, LineRecord* to, int self) {
    if (std::optional<int> ordered = CheckConflictsByOrder(entry, from, to, self)) {
        return *ordered;
    }
    LineCommandState& state = run_.session.lineCommands;
    auto skip = [&](std::size_t k) {
        return static_cast<int>(k) == self ||
               (self >= 0 && Partners(KindAt(static_cast<std::size_t>(self)), KindAt(k)));
    };
    // Lines of this range that are ends of other waiting commands, or carry commands still to come.
    LineRecord* last = RangeEndThroughHidden(to);
    for (LineRecord* line = from; line != nullptr; line = LineNext(line)) {
        if (line != entry.line) {
            for (std::size_t k = 0; k < kWaitKindCount; ++k) {
                const WaitingCommand& wait = state.waiting[k];
                if (wait.Pending() && !skip(k) && (wait.first == line || wait.second == line)) {
                    return ReportConflict(entry, wait.name, wait.first);
                }
            }
            auto later = entryIndex_.find(line);
            if (later != entryIndex_.end() && later->second > index_ && !PartnerEntry(later->second, self)) {
                return ReportConflict(entry, entries_[later->second].parsed.name, line);
            }
        }
        if (line == last) {
            break;
        }
    }
    // Ranges of other waiting commands that hold this one's first line.
    for (std::size_t k = 0; k < kWaitKindCount; ++k) {
        const WaitingCommand& wait = state.waiting[k];
        if (!wait.Complete() || skip(k)) {
            continue;
        }
        LineRecord* end = RangeEndThroughHidden(RangeEnd(wait));
        for (LineRecord* line = wait.from; line != nullptr; line = LineNext(line)) {
            if (line == from) {
                return ReportConflict(entry, wait.name, wait.first);
            }
            if (line == end) {
                break;
            }
        }
    }
    return 0;
}

int BlockProcessor::CheckAlone(const LineEntry& entry) {
    const LineCommandState& state = run_.session.lineCommands;
    const LineRecord* other = nullptr;
    std::string otherName;
    for (const WaitingCommand& wait : state.waiting) {
        if (wait.Pending() && wait.first != entry.line) {
            other = wait.first;
            otherName = wait.name;
            break;
        }
    }
    for (std::size_t j = index_ + 1; other == nullptr && j < entries_.size(); ++j) {
        if (entries_[j].line != entry.line) {
            other = entries_[j].line;
            otherName = entries_[j].parsed.name;
        }
    }
    if (other == nullptr) {
        return 0;
    }
    const EditBuffer& buffer = run_.session.buffer;
    return Refuse(
        run_.app,
        Format("Can not process line command '%s' on line %d when line command '%s' is pending on line "
               "%d.\n\nUse RESET to clear pending line commands.",
               entry.parsed.name.c_str(), static_cast<int>(LinePosition(buffer, entry.line)),
               otherName.c_str(), static_cast<int>(LinePosition(buffer, other))),
        MsgTo::Box, Beep::Exclamation);
}

Outcome BlockProcessor::Run(const LineEntry& entry, LineCommandId id) {
    if (id == Id::Label) {
        std::string_view text = entry.text;
        size_t start = text.find_first_not_of(' ');
        text = start == std::string_view::npos ? std::string_view() : text.substr(start);
        return SetLineLabel(run_.app, run_.session, *entry.line, text) == 0 ? Outcome::Done : Outcome::Failed;
    }
    if (id == Id::After || id == Id::Before) {
        return RunDestination(entry, id == Id::After ? WaitKind::After : WaitKind::Before);
    }
    if (IsBlockCommand(id)) {
        return RunBlockEnd(entry, id, *WaitKindOf(id));
    }
    if (id == Id::Copy || id == Id::Move || id == Id::Overlay) {
        return RunWaitingSingle(entry, *WaitKindOf(id));
    }
    return RunSingle(entry, id);
}

Outcome BlockProcessor::RunSingle(const LineEntry& entry, LineCommandId id) {
    LineCommandState& state = run_.session.lineCommands;
    if (std::optional<LineCommandId> block = BlockOf(id)) {
        const WaitingCommand& wait = state.Of(*WaitKindOf(*block));
        if (wait.Pending() && !wait.Complete()) {
            ReportConflict(entry, wait.name, wait.first);
            return Outcome::Failed;
        }
    }
    LineRecord* line = entry.line;
    const std::int32_t count = entry.parsed.count;
    const std::int32_t atLeastOne = std::max(count, 1);
    LineRecord* to = CountIsLines(id) ? RangeEndOfCount(run_.session.buffer, line, atLeastOne) : line;
    if (id == Id::TextJoin && LineNext(line) != nullptr) {
        to = LineNext(line);  // the joined line goes away
    }
    if (id != Id::TextEntry && id != Id::TextFlow && CheckConflicts(entry, line, to, -1) != 0) {
        return Outcome::Failed;
    }
    const std::int32_t shift = count > 0 ? count : ShiftDefault(run_.app);
    Status status = 0;
    switch (id) {
        case Id::ColumnLeft:
            status = ShiftLines(run_, line, to, ShiftKind::Column, -shift);
            break;
        case Id::ColumnRight:
            status = ShiftLines(run_, line, to, ShiftKind::Column, shift);
            break;
        case Id::DataLeft:
            status = ShiftLines(run_, line, to, ShiftKind::Data, -shift);
            break;
        case Id::DataRight:
            status = ShiftLines(run_, line, to, ShiftKind::Data, shift);
            break;
        case Id::Delete:
            status = DeleteLines(run_, line, to);
            break;
        case Id::Lower:
            status = ChangeCase(run_, line, to, false);
            break;
        case Id::Upper:
            status = ChangeCase(run_, line, to, true);
            break;
        case Id::MakeData:
            status = MakeDataLines(run_, line, to);
            break;
        case Id::Exclude:
            status = ExcludeLines(run_, line, to);
            break;
        case Id::Select:
            status = SelectLineRange(run_, line, to);
            break;
        case Id::Repeat:
            status = RepeatLines(run_, line, line, atLeastOne);
            break;
        case Id::Insert:
            status = InsertNewLines(run_, line, atLeastOne);
            break;
        case Id::First:
            status = ShowHiddenLines(run_, line, atLeastOne, ShowWhich::First);
            break;
        case Id::Last:
            status = ShowHiddenLines(run_, line, atLeastOne, ShowWhich::Last);
            break;
        case Id::Show:
            status = ShowHiddenLines(run_, line, atLeastOne, ShowWhich::LeastIndented);
            break;
        case Id::Bounds:
            status = InsertSpecialLine(run_, line, SpecialLine::Bounds);
            break;
        case Id::Cols:
            status = InsertSpecialLine(run_, line, SpecialLine::Cols);
            break;
        case Id::Mask:
            status = InsertSpecialLine(run_, line, SpecialLine::Mask);
            break;
        case Id::Tabs:
            status = InsertSpecialLine(run_, line, SpecialLine::Tabs);
            break;
        case Id::TextEntry:
            status = CheckAlone(entry) != 0 ? Status(-1) : TextEntry(run_, line, count);
            break;
        case Id::TextFlow:
            status = CheckAlone(entry) != 0 ? Status(-1) : TextFlow(run_, line, count);
            break;
        case Id::TextJoin:
            status = TextJoin(run_, line);
            break;
        case Id::TextSplit:
            status = TextSplit(run_, line, count);
            break;
        default:
            status = -1;
            break;
    }
    return status == 0 ? Outcome::Done : Outcome::Failed;
}

Outcome BlockProcessor::RunBlockEnd(const LineEntry& entry, LineCommandId, WaitKind kind) {
    WaitingCommand& wait = run_.session.lineCommands.Of(kind);
    const int self = static_cast<int>(kind);
    if (!wait.Pending()) {
        if (CheckConflicts(entry, entry.line, entry.line, self) != 0) {
            return Outcome::Failed;
        }
        wait.first = entry.line;
        wait.count = entry.parsed.count;
        wait.name = entry.parsed.name;
        return Outcome::Waiting;
    }
    if (wait.second != nullptr || wait.Complete()) {
        Refuse(run_.app,
               Format("%s line block already pending, do RESET or clear one of the %s line commands.",
                      entry.parsed.name.c_str(), entry.parsed.name.c_str()),
               MsgTo::Box, Beep::Exclamation);
        return Outcome::Failed;
    }
    LineRecord* from = wait.first;
    LineRecord* to = entry.line;
    const std::uint64_t* fromAt = OrderOf(from);
    const std::uint64_t* toAt = OrderOf(to);
    if (fromAt != nullptr && toAt != nullptr ? *toAt < *fromAt : LinePrecedes(to, from)) {
        std::swap(from, to);
    }
    if (CheckConflicts(entry, from, to, self) != 0) {
        return Outcome::Failed;
    }
    const WaitingCommand before = wait;
    wait.second = entry.line;
    wait.from = from;
    wait.to = to;
    wait.count = std::max(wait.count, entry.parsed.count);
    Outcome outcome = Complete(kind);
    if (outcome == Outcome::Failed) {
        run_.session.lineCommands.Of(kind) = before;
    }
    return outcome;
}

Outcome BlockProcessor::RunDestination(const LineEntry& entry, WaitKind kind) {
    LineCommandState& state = run_.session.lineCommands;
    WaitingCommand& wait = state.Of(kind);
    const WaitingCommand& other = state.Of(kind == WaitKind::After ? WaitKind::Before : WaitKind::After);
    if (wait.Pending()) {
        Refuse(run_.app,
               Format("%s line block already pending, do RESET or clear one of the %s line commands.",
                      entry.parsed.name.c_str(), entry.parsed.name.c_str()),
               MsgTo::Box, Beep::Exclamation);
        return Outcome::Failed;
    }
    if (other.Pending()) {
        ReportConflict(entry, other.name, other.first);
        return Outcome::Failed;
    }
    if (CheckConflicts(entry, entry.line, entry.line, static_cast<int>(kind)) != 0) {
        return Outcome::Failed;
    }
    wait.first = entry.line;
    wait.from = wait.to = entry.line;
    wait.count = entry.parsed.count;
    wait.name = entry.parsed.name;
    Outcome outcome = TryCopyMoveOverlay();
    if (outcome == Outcome::Failed) {
        Clear(kind);
    }
    return outcome;
}

Outcome BlockProcessor::RunWaitingSingle(const LineEntry& entry, WaitKind kind) {
    WaitingCommand& wait = run_.session.lineCommands.Of(kind);
    if (wait.Pending()) {
        if (!wait.Complete()) {
            ReportConflict(entry, wait.name, wait.first);
        } else {
            Refuse(run_.app,
                   Format("%s line block already pending, do RESET or clear one of the %s line commands.",
                          wait.name.c_str(), wait.name.c_str()),
                   MsgTo::Box, Beep::Exclamation);
        }
        return Outcome::Failed;
    }
    const std::int32_t lines = std::max(entry.parsed.count, 1);
    LineRecord* to = RangeEndOfCount(run_.session.buffer, entry.line, lines);
    if (CheckConflicts(entry, entry.line, to, static_cast<int>(kind)) != 0) {
        return Outcome::Failed;
    }
    wait.first = entry.line;
    wait.from = wait.to = entry.line;
    wait.lines = lines;
    wait.name = entry.parsed.name;
    Outcome outcome = TryCopyMoveOverlay();
    if (outcome == Outcome::Failed) {
        Clear(kind);
    }
    return outcome;
}

Outcome BlockProcessor::TryCopyMoveOverlay() {
    LineCommandState& state = run_.session.lineCommands;
    WaitKind sourceKind = WaitKind::Copy;
    if (!state.Of(WaitKind::Copy).Complete()) {
        if (!state.Of(WaitKind::Move).Complete()) {
            return Outcome::Waiting;
        }
        sourceKind = WaitKind::Move;
    }
    const bool move = sourceKind == WaitKind::Move;
    const WaitingCommand source = state.Of(sourceKind);
    const WaitingCommand& overlay = state.Of(WaitKind::Overlay);
    const WaitingCommand& after = state.Of(WaitKind::After);
    const WaitingCommand& before = state.Of(WaitKind::Before);
    WaitKind targetKind;
    if (overlay.Complete()) {
        targetKind = WaitKind::Overlay;
    } else if (after.Pending()) {
        targetKind = WaitKind::After;
    } else if (before.Pending()) {
        targetKind = WaitKind::Before;
    } else {
        return Outcome::Waiting;
    }
    const WaitingCommand target = state.Of(targetKind);
    TextsAside texts;
    texts.Take(source);
    texts.Take(target);
    LineRecord* sourceEnd = RangeEnd(source);
    Status status = 0;
    if (targetKind == WaitKind::Overlay) {
        status = OverlayLines(run_, source.from, sourceEnd, move, target.from, RangeEnd(target));
    } else {
        Destination dest{target.first, targetKind == WaitKind::After, target.count > 0 ? target.count : 1};
        status = CopyOrMoveLines(run_, source.from, sourceEnd, move, dest);
    }
    if (status != 0) {
        texts.GiveBack();
        return Outcome::Failed;
    }
    Clear(sourceKind);
    Clear(targetKind);
    return Outcome::Done;
}

Outcome BlockProcessor::Complete(WaitKind kind) {
    if (kind == WaitKind::Copy || kind == WaitKind::Move || kind == WaitKind::Overlay) {
        return TryCopyMoveOverlay();
    }
    const WaitingCommand wait = run_.session.lineCommands.Of(kind);
    TextsAside texts;
    texts.Take(wait);
    const std::int32_t shift = wait.count > 0 ? wait.count : ShiftDefault(run_.app);
    Status status = 0;
    switch (kind) {
        case WaitKind::ColumnLeft:
            status = ShiftLines(run_, wait.from, wait.to, ShiftKind::Column, -shift);
            break;
        case WaitKind::ColumnRight:
            status = ShiftLines(run_, wait.from, wait.to, ShiftKind::Column, shift);
            break;
        case WaitKind::DataLeft:
            status = ShiftLines(run_, wait.from, wait.to, ShiftKind::Data, -shift);
            break;
        case WaitKind::DataRight:
            status = ShiftLines(run_, wait.from, wait.to, ShiftKind::Data, shift);
            break;
        case WaitKind::Delete:
            status = DeleteLines(run_, wait.from, wait.to);
            break;
        case WaitKind::Lower:
            status = ChangeCase(run_, wait.from, wait.to, false);
            break;
        case WaitKind::Upper:
            status = ChangeCase(run_, wait.from, wait.to, true);
            break;
        case WaitKind::MakeData:
            status = MakeDataLines(run_, wait.from, wait.to);
            break;
        case WaitKind::Repeat:
            status = RepeatLines(run_, wait.from, wait.to, std::max(wait.count, 1));
            break;
        case WaitKind::Exclude:
            status = ExcludeLines(run_, wait.from, wait.to);
            break;
        case WaitKind::Select:
            status = SelectLineRange(run_, wait.from, wait.to);
            break;
        default:
            status = -1;
            break;
    }
    if (status != 0) {
        texts.GiveBack();
        return Outcome::Failed;
    }
    Clear(kind);
    return Outcome::Done;
}

}  // namespace tavoe
