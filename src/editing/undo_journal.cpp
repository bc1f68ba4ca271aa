#include "editing/undo_journal.h"

#include <algorithm>
#include <new>

#include "core/app_session.h"
#include "editing/edit_session.h"

namespace tavoe {

namespace {

constexpr std::string_view kPoolName = "TASK_UNDO";

void ReportNoMemory(Reporter& app) {
    ShowMessage(app, "Not enough memory for the UNDO journal, the journal has been cleared.", MsgTo::Box,
                Beep::Exclamation);
}

bool IsLinked(const EditBuffer& buffer, const LineRecord& line) {
    return line.prev != nullptr || line.next != nullptr || buffer.lines.first == &line;
}

// Lines the journal never names: the file's ends and the excluded-lines markers, which are made
// afresh from the lines' visibility and released without notice when they are.
bool IsViewMarker(const LineRecord& line) {
    return line.kind == LineKind::ExcludedMarker || line.kind == LineKind::TopMarker ||
           line.kind == LineKind::EndMarker;
}

// A deleted line goes back in front of the line that followed it. An excluded-lines marker is no
// place to remember (markers are rebuilt and released freely), so the first real line after it is
// taken: the marker only stood in front of that line's run anyway.
LineRecord* StableSuccessor(LineRecord* successor) {
    while (successor != nullptr && successor->kind == LineKind::ExcludedMarker) {
        successor = LineNext(successor);
    }
    return successor;
}

bool StripsPadding(const EditBuffer& buffer, const LineRecord& line) {
    return buffer.profile.recordFormat == Recfm::Variable && buffer.profile.stripTrailingBlanks &&
           LineHasFlag(line, LineFlagA::BlankPadded);
}

void DropTrailingBlanks(LineRecord& line) {
    while (line.length > 0 && line.text[line.length - 1] == ' ') {
        --line.length;
    }
}

// The record column of the cursor: scroll offset + cursor column - prefix width, counted from 1, and
// never left of the first column shown.
std::int32_t CursorRecordColumn(const EditSession& session) {
    const EditViewState& view = session.view;
    std::int32_t offset = std::max(view.horizontalOffset, 0);
    return std::max(offset + view.cursorColumn - view.prefixWidth + 1, offset + 1);
}

}  // namespace

// ---- UndoJournal ----------------------------------------------------------------------------------

std::unique_ptr<UndoJournal> UndoJournal::Create() {
    RecordPool* pool = PoolCreate(kPoolName, sizeof(UndoEntry));
    if (pool == nullptr) {
        return nullptr;
    }
    std::unique_ptr<UndoJournal> journal(new (std::nothrow) UndoJournal(pool));
    if (journal == nullptr) {
        PoolDestroy(pool);
    }
    return journal;
}

UndoJournal::~UndoJournal() {
    PoolDestroy(pool_);
}

UndoEntry* UndoJournal::NewEntry(EditBuffer& buffer, UndoKind kind, LineRecord* line) {
    void* record = PoolAlloc(pool_);
    if (record == nullptr) {
        Fail(buffer);
        return nullptr;
    }
    auto* entry = new (record) UndoEntry;
    openRange_ = nullptr;
    chainTail_ = nullptr;
    entry->kind = kind;
    entry->line = line;
    entry->group = group_;
    SListPushFront(&entries_, entry);
    ++entryCount_;
    return entry;
}

void UndoJournal::Fail(EditBuffer& buffer) {
    Discard(buffer);
    failedGroup_ = true;
    ReportNoMemory(buffer.host);
}

bool UndoJournal::GroupHasEntries() const {
    const UndoEntry* newest = Newest();
    return newest != nullptr && newest->group == group_;
}

void UndoJournal::JournalInsert(EditBuffer& buffer, LineRecord& line) {
    bool movedBack = LineHasFlag(line, LineFlagA::UndoMark);
    LineClearFlag(line, LineFlagA::UndoMark);
    if (!Recording()) {
        return;
    }
    UndoEntry* open = openRange_;
    if (!movedBack && open != nullptr && open == Newest() && open->kind == UndoKind::LineInserted &&
        open->group == group_ && LinePrev(&line) == open->saved) {
        open->saved = &line;  // the next line of a run being inserted
        return;
    }
    if (UndoEntry* entry = NewEntry(buffer, UndoKind::LineInserted, &line)) {
        entry->hold = movedBack ? UndoHold::Borrowed : UndoHold::Owned;
        if (!movedBack) {
            entry->saved = &line;
            openRange_ = entry;
        }
    }
}

void UndoJournal::JournalDelete(EditBuffer& buffer, LineRecord& line, LineRecord* successor) {
    if (!Recording() || IsViewMarker(line)) {
        LineFree(buffer, &line);
        return;
    }
    // The line waits in the journal as it will come back: without the transient marks of its old
    // place. Highlight colours would outlive their flag, so they go and the line is coloured afresh
    // when it returns.
    LineClearLabel(line);
    LineClearPendingCommand(line);
    LineClearSelection(line);
    if (LineHasFlag(line, LineFlagB::Highlighted)) {
        LineFreeColor(buffer, line);
        LineClearFlag(line, LineFlagB::Highlighted);
    }
    for (LineFlagA flag :
         {LineFlagA::Error, LineFlagA::InsertPending, LineFlagA::UndoMark, LineFlagA::TextModified}) {
        LineClearFlag(line, flag);
    }
    LineSetFlag(line, LineFlagB::Visible);
    if (StripsPadding(buffer, line)) {
        LineStripPadding(buffer, line);
    }
    UndoEntry* open = openRange_;
    if (open != nullptr && open == Newest() && open->kind == UndoKind::LineDeleted && open->group == group_ &&
        open->saved == &line && chainTail_ != nullptr) {
        // The line that followed the lines just deleted: it joins their chain.
        chainTail_->next = &line;
        line.prev = chainTail_;
        chainTail_ = &line;
        open->saved = StableSuccessor(successor);
        return;
    }
    UndoEntry* entry = NewEntry(buffer, UndoKind::LineDeleted, &line);
    if (entry == nullptr) {
        LineFree(buffer, &line);
        return;
    }
    entry->saved = StableSuccessor(successor);
    openRange_ = entry;
    chainTail_ = &line;
}

void UndoJournal::RecordTextChange(EditBuffer& buffer, LineRecord& line, std::int32_t column) {
    if (!Recording() || LineHasFlag(line, LineFlagA::TextModified) || IsViewMarker(line) ||
        !IsLinked(buffer, line)) {
        return;
    }
    LineRecord* copy = LineNew(buffer, LineText(line));
    if (copy == nullptr) {
        Fail(buffer);
        return;
    }
    copy->kind = line.kind;
    // The prefix marks the change may set or clear ride with the copy, so UNDO shows them again as
    // they were.
    LineSetFlagTo(*copy, LineFlagB::Changed, LineHasFlag(line, LineFlagB::Changed));
    LineSetFlagTo(*copy, LineFlagA::Error, LineHasFlag(line, LineFlagA::Error));
    if (StripsPadding(buffer, line)) {
        DropTrailingBlanks(*copy);
    } else if (LineHasFlag(line, LineFlagA::BlankPadded)) {
        LineSetFlag(*copy, LineFlagA::BlankPadded);
    }
    UndoEntry* entry = NewEntry(buffer, UndoKind::TextChanged, &line);
    if (entry == nullptr) {
        LineFree(buffer, copy);
        return;
    }
    entry->saved = copy;
    entry->column = column;
    LineSetFlag(line, LineFlagA::TextModified);
}

void UndoJournal::RecordMoveOut(EditBuffer& buffer, LineRecord& line, LineRecord* successor) {
    if (!Recording() || IsViewMarker(line)) {
        return;
    }
    if (UndoEntry* entry = NewEntry(buffer, UndoKind::LineDeleted, &line)) {
        entry->saved = StableSuccessor(successor);
        entry->hold = UndoHold::Borrowed;
        // Tells the insertion that brings the line back that the line list, not the journal, keeps it.
        LineSetFlag(line, LineFlagA::UndoMark);
    }
}

void UndoJournal::BeginGroup(EditBuffer& buffer) {
    if (depth_++ == 0 && GroupHasEntries()) {
        EndGroup(buffer);  // keystrokes before the operation are a step of their own
        depth_ = 1;
    }
    typingLine_ = nullptr;
}

void UndoJournal::EndGroup(EditBuffer&) {
    if (depth_ > 0 && --depth_ > 0) {
        return;
    }
    // The lines of the closing group may be journaled again by the next operation.
    for (UndoEntry* entry = Newest(); entry != nullptr && entry->group == group_;
         entry = static_cast<UndoEntry*>(entry->next)) {
        if (entry->kind == UndoKind::TextChanged) {
            LineClearFlag(*entry->line, LineFlagA::TextModified);
        }
    }
    ++group_;
    typingLine_ = nullptr;
    failedGroup_ = false;
    openRange_ = nullptr;
    chainTail_ = nullptr;
}

void UndoJournal::NoteTyping(EditBuffer& buffer, const LineRecord& line) {
    if (depth_ == 0 && typingLine_ != &line) {
        if (GroupHasEntries() || failedGroup_) {
            EndGroup(buffer);
        }
        typingLine_ = &line;
    }
}

void UndoJournal::Discard(EditBuffer& buffer) {
    // Nothing is taken from the line pool while this runs, so a record already freed here (a line
    // deleted twice through moves) is still all zeros and LineFree leaves it alone.
    while (UndoEntry* entry = PopNewest()) {
        switch (entry->kind) {
            case UndoKind::TextChanged:
                LineFree(buffer, entry->saved);
                break;
            case UndoKind::LineDeleted:
                if (entry->hold == UndoHold::Owned) {
                    TakeDeleteChain(*entry, [&](LineRecord& line) {
                        if (!IsLinked(buffer, line)) {
                            LineFree(buffer, &line);
                        }
                    });
                } else {
                    LineClearFlag(*entry->line, LineFlagA::UndoMark);
                }
                break;
            case UndoKind::LineInserted:
                break;
        }
        ReleaseEntry(entry);
    }
    ResetGroupState();
}

UndoEntry* UndoJournal::PopNewest() {
    openRange_ = nullptr;
    chainTail_ = nullptr;
    auto* entry = static_cast<UndoEntry*>(SListPopFront(&entries_));
    if (entry != nullptr) {
        --entryCount_;
    }
    return entry;
}

void UndoJournal::ReleaseEntry(UndoEntry* entry) {
    PoolFree(pool_, entry);
}

void UndoJournal::ResetGroupState() {
    ++group_;
    depth_ = 0;
    typingLine_ = nullptr;
    failedGroup_ = false;
}

// ---- Session operations ---------------------------------------------------------------------------

bool UndoEnabled(const AppSession& app) {
    return app.profileSettings.undoEnabled;
}

UndoJournal* SessionUndoJournal(EditSession& session) {
    return dynamic_cast<UndoJournal*>(session.buffer.journal);
}

Status UndoOn(AppSession& app, EditSession& session) {
    EditBuffer& buffer = session.buffer;
    if (SessionUndoJournal(session) != nullptr) {
        return 0;
    }
    std::unique_ptr<UndoJournal> journal = UndoJournal::Create();
    if (journal == nullptr) {
        ReportNoMemory(app);
        return -1;
    }
    // Marks left from a time without a journal would keep first changes from being journaled.
    for (LineRecord& line : Lines(buffer)) {
        LineClearFlag(line, LineFlagA::TextModified);
        LineClearFlag(line, LineFlagA::UndoMark);
    }
    buffer.journal = journal.get();
    buffer.journalOwner = std::move(journal);
    return 0;
}

void UndoOff(AppSession&, EditSession& session) {
    EditBuffer& buffer = session.buffer;
    UndoJournal* journal = SessionUndoJournal(session);
    if (journal == nullptr) {
        return;
    }
    journal->Discard(buffer);
    buffer.journal = nullptr;
    buffer.journalOwner.reset();
}

Status UndoClear(AppSession& app, EditSession& session) {
    UndoOff(app, session);
    return UndoEnabled(app) ? UndoOn(app, session) : Status(0);
}

UndoJournal* UndoSyncSession(AppSession& app, EditSession& session) {
    if (!UndoEnabled(app)) {
        UndoOff(app, session);
        return nullptr;
    }
    if (UndoOn(app, session) != 0) {
        return nullptr;
    }
    return SessionUndoJournal(session);
}

void UndoApplySetting(AppSession& app) {
    for (auto& session : app.editSessions) {
        if (session != nullptr) {
            UndoSyncSession(app, *session);
        }
    }
}

void JournalTextChange(AppSession& app, EditSession& session, LineRecord& line) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->RecordTextChange(session.buffer, line, CursorRecordColumn(session));
    }
}

void JournalKeystroke(AppSession& app, EditSession& session, LineRecord& line) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->NoteTyping(session.buffer, line);
        journal->RecordTextChange(session.buffer, line, CursorRecordColumn(session));
    }
}

void JournalDelete(AppSession& app, EditSession& session, LineRecord& line, LineRecord* successor) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->JournalDelete(session.buffer, line, successor);
    } else {
        LineFree(session.buffer, &line);
    }
}

void JournalInsert(AppSession& app, EditSession& session, LineRecord& line) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->JournalInsert(session.buffer, line);
    }
}

void JournalMoveOut(AppSession& app, EditSession& session, LineRecord& line, LineRecord* successor) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->RecordMoveOut(session.buffer, line, successor);
    }
}

void UndoBeginGroup(AppSession& app, EditSession& session) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->BeginGroup(session.buffer);
    }
}

void UndoEndGroup(AppSession& app, EditSession& session) {
    if (UndoJournal* journal = UndoSyncSession(app, session)) {
        journal->EndGroup(session.buffer);
    }
}

UndoGroup::UndoGroup(AppSession& app, EditSession& session) : app_(app), session_(session) {
    UndoBeginGroup(app_, session_);
}

UndoGroup::~UndoGroup() {
    UndoEndGroup(app_, session_);
}

}  // namespace tavoe
