#include "editing/clipboard_commands.h"

#include <filesystem>

#include "editing/select_command.h"
#include "editing/selection.h"
#include "editing/session_clipboard.h"
#include "editing/undo_command.h"
#include "typing_test_fixture.h"

namespace fs = std::filesystem;

namespace {

// The desktop clipboard another program filled.
class OtherProgram final : public DesktopClipboard {
public:
    explicit OtherProgram(std::string* text) : text_(text) {}
    bool Offer(std::string_view) override { return false; }
    std::optional<std::string> Take() override {
        return text_->empty() ? std::nullopt : std::optional<std::string>(*text_);
    }

private:
    std::string* text_;
};

class ClipboardCommandsTest : public TypingFixture {
protected:
    void SetUp() override {
        TypingFixture::SetUp();
        dir = fs::temp_directory_path() / ("tavoe_clipcmd_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        app.clipboard = std::make_unique<Clipboard>(dir.string(), std::make_unique<OtherProgram>(&desktop));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Clip() { return GetClipboardText(app).value_or("<empty>"); }
    void Put(std::string_view text) { ASSERT_TRUE(PutClipboardText(app, text)); }
    // The texts of every line between the markers, in order.
    std::vector<std::string> All() const {
        std::vector<std::string> texts;
        for (const LineRecord& line : tavoe::Lines(session.buffer)) {
            if (line.kind != LineKind::TopMarker && line.kind != LineKind::EndMarker) {
                texts.emplace_back(std::string(line.kind == LineKind::Note ? "note:" : "") +
                                   std::string(LineText(line)));
            }
        }
        return texts;
    }
    void Undo() { UndoEditCommand(app, session, ""); }

    fs::path dir;
    std::string desktop;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(ClipboardCommandsTest, CopyPutsEachShapeWithItsLineEnds) {
    Lines({"alpha", "bravo", "charlie"});
    SelectLines(session, *lines[0], *lines[1]);
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "alpha\r\nbravo\r\n");
    // A stream that ends inside its last line has no line end after it.
    SetSelection(session, SelectionMode::Stream, *lines[0], 3, *lines[2], 4);
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "pha\r\nbravo\r\nchar");
    // A block: the same columns of every line, short lines giving what they have.
    SetSelection(session, SelectionMode::Block, *lines[0], 4, *lines[2], 6);
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "ha\r\nvo\r\nrli\r\n");
    // A part of one line is a stream.
    SetSelection(session, SelectionMode::Block, *lines[1], 2, *lines[1], 3);
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "ra");
    EXPECT_EQ(FindSelection(session).mode, SelectionMode::Block);  // copying keeps the selection
}

TEST_F(ClipboardCommandsTest, SpecialAndExcludedLinesInTheRange) {
    app.profileSettings.undoEnabled = true;
    Lines({"one", "two", "three"});
    LineRecord* note = LineNew(session.buffer, "a note");
    note->kind = LineKind::Note;
    ASSERT_EQ(LineInsertBefore(session.buffer, lines[1], note), 0);
    LineClearFlag(*lines[1], LineFlagB::Visible);  // "two" is excluded
    SelectLines(session, *lines[0], *lines[2]);
    EXPECT_FALSE(LineHasSelection(*note));
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "one\r\ntwo\r\nthree\r\n");  // the note is not text of the file
    ASSERT_EQ(CutSelection(app, session), 0);
    EXPECT_EQ(All(), Texts{"note:a note"});
    Undo();
    EXPECT_EQ(All(), (Texts{"one", "note:a note", "two", "three"}));
}

TEST_F(ClipboardCommandsTest, NulBytesWarnAndEndTheClipboardText) {
    Lines({std::string("ab\0cd", 5), "ef"});
    SelectLines(session, *lines[0], *lines[1]);
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(LastMessage(),
              "CUT/COPY of data with x'00' will result in premature end at paste time, use MM or CC.");
    EXPECT_EQ(Clip(), "ab");
}

TEST_F(ClipboardCommandsTest, StreamCopyOfANumberedFileKeepsColumns) {
    Cobol();
    Lines({"000100 move a to b", "000200 add c"});
    SetSelection(session, SelectionMode::Stream, *lines[0], 10, *lines[1], 10);
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "000100   ve a to b\r\n000200 add");
}

TEST_F(ClipboardCommandsTest, CutOfPartialLinesAndWholeLinesIsOneUndoStep) {
    app.profileSettings.undoEnabled = true;
    Lines({"first line", "second line", "third line", "fourth"});
    SetSelection(session, SelectionMode::Stream, *lines[0], 7, *lines[2], 3);
    ASSERT_EQ(CutSelection(app, session), 0);
    EXPECT_EQ(Clip(), "line\r\nsecond line\r\nthi");
    EXPECT_EQ(All(), (Texts{"first ", "rd line", "fourth"}));
    EXPECT_FALSE(SelectionExists(session));
    Undo();
    EXPECT_EQ(All(), (Texts{"first line", "second line", "third line", "fourth"}));
}

TEST_F(ClipboardCommandsTest, DeletionRefusalsLeaveTheFileAlone) {
    Cobol();
    Lines({"000100 text"});
    Put("before");
    SetSelection(session, SelectionMode::Block, *lines[0], 3, *lines[0], 9);
    EXPECT_EQ(CutSelection(app, session), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to delete part of COBOL line number field.");
    EXPECT_EQ(Text(0), "000100 text");
    EXPECT_EQ(Clip(), "before");  // a refused cut copies nothing either
    session.buffer.file.browseReason = BrowseReason::Requested;
    EXPECT_EQ(CutSelection(app, session), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to modify READ-ONLY file.");
    EXPECT_EQ(Text(0), "000100 text");
}

TEST_F(ClipboardCommandsTest, DeletingInsideAStandardNumberedLineKeepsTheNumber) {
    Standard();
    Lines({StandardLine("abcdefgh", "00000100")});
    SetSelection(session, SelectionMode::Stream, *lines[0], 3, *lines[0], kSelectionLineEnd);
    ASSERT_EQ(DeleteSelection(app, session), 0);
    EXPECT_EQ(Text(0), StandardLine("ab", "00000100"));
}

TEST_F(ClipboardCommandsTest, PasteOfLinesGoesBeforeTheCursorLineWithAnyLineEnds) {
    app.profileSettings.undoEnabled = true;
    Lines({"top", "bottom"});
    Put("a\r\nb\rc\nd");
    At(1, 1);
    ASSERT_EQ(Paste(app, session, PasteAs::Data), 0);
    EXPECT_EQ(All(), (Texts{"top", "a", "b", "c", "d", "bottom"}));
    EXPECT_TRUE(session.buffer.modified);
    Undo();
    EXPECT_EQ(All(), (Texts{"top", "bottom"}));
    // As notes, and on the top marker the lines go after it.
    session.view.cursorRow = 0;
    ASSERT_EQ(Paste(app, session, PasteAs::Notes), 0);
    EXPECT_EQ(All(), (Texts{"note:a", "note:b", "note:c", "note:d", "top", "bottom"}));
    Undo();
    EXPECT_EQ(All(), (Texts{"top", "bottom"}));
}

TEST_F(ClipboardCommandsTest, PasteFoldsLongLinesAndWarnsOnce) {
    session.buffer.profile.maxRecordLength = 4;
    Lines({"end"});
    Put("123456789\r\nab\r\nABCDE\r\n");
    At(0, 1);
    ASSERT_EQ(Paste(app, session, PasteAs::Data), 0);
    EXPECT_EQ(All(), (Texts{"1234", "5678", "9", "ab", "ABCD", "E", "end"}));
    int warnings = 0;
    for (const ShownMessage& message : app.messages) {
        warnings +=
            message.text ==
            "Clipboard contains lines longer than max rec length for receiving file, they will be folded.";
    }
    EXPECT_EQ(warnings, 1);
}

TEST_F(ClipboardCommandsTest, PasteOfAStreamInsertsAtTheCursor) {
    Lines({"hello world"});
    Put("big ");
    At(0, 7);
    ASSERT_EQ(Paste(app, session, PasteAs::Data), 0);
    EXPECT_EQ(Text(0), "hello big world");
    // Not on a data line: refused.
    session.view.cursorRow = 0;
    EXPECT_EQ(Paste(app, session, PasteAs::Data), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to paste stream into non-text line.");
    // A selection is replaced by the pasted text.
    SetSelection(session, SelectionMode::Stream, *lines[0], 7, *lines[0], 9);
    At(0, 7);
    ASSERT_EQ(Paste(app, session, PasteAs::Data), 0);
    EXPECT_EQ(Text(0), "hello big  world");
}

TEST_F(ClipboardCommandsTest, EmptyClipboardAndReadOnlySessionsRefuse) {
    Lines({"x"});
    At(0, 1);
    EXPECT_EQ(Paste(app, session, PasteAs::Data), -1);
    EXPECT_EQ(LastMessage(), "Clipboard is empty.");
    Put("y\r\n");
    session.buffer.file.browseReason = BrowseReason::Requested;
    EXPECT_EQ(Paste(app, session, PasteAs::Data), -1);
    EXPECT_EQ(LastMessage(), "Not allowed to modify READ-ONLY file.");
    EXPECT_EQ(All(), Texts{"x"});
}

TEST_F(ClipboardCommandsTest, DesktopTextWithBadBytesPastesSafely) {
    Lines({"end"});
    At(0, 1);
    // Invalid UTF-8 (a lone Latin-1 byte), a NUL and CR-only line ends from another program.
    desktop = std::string("caf\xE9\rna\0ve\r\xC3\xA9t\xC3\xA9\r", 17);
    ASSERT_EQ(Paste(app, session, PasteAs::Data), 0);
    EXPECT_EQ(All(), (Texts{"caf\xE9", "na?ve", "\xE9t\xE9", "end"}));
}

TEST_F(ClipboardCommandsTest, CopyOfAManyPieceSelectionIsWholeAndInOrder) {
    session.buffer.profile.maxRecordLength = 32760;
    app.clipboard = std::make_unique<Clipboard>(dir.string(), nullptr);
    // Far more text than one piece of the copy: every line must arrive once, in order.
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i) {
        texts.push_back(std::to_string(i) +
                        std::string(static_cast<std::size_t>(150 + i % 97), 'a' + i % 26));
    }
    Lines(texts);
    SetSelection(session, SelectionMode::Stream, *lines[0], 2, *lines.back(), 3);
    ASSERT_EQ(CopySelection(app, session), 0);
    std::string expected = texts[0].substr(1) + "\r\n";
    for (std::size_t i = 1; i + 1 < texts.size(); ++i) {
        expected += texts[i] + "\r\n";
    }
    expected += texts.back().substr(0, 3);  // the stream ends inside its last line
    EXPECT_EQ(Clip(), expected);
}

TEST_F(ClipboardCommandsTest, CopyBeyondTheClipboardSizeKeepsTheOldText) {
    session.buffer.profile.maxRecordLength = 32760;
    app.clipboard = std::make_unique<Clipboard>(dir.string(), nullptr);
    Put("old\r\n");
    Lines(std::vector<std::string>(2000, std::string(32760, 'z')));  // 65 MB
    SelectLines(session, *lines[0], *lines.back());
    EXPECT_NE(CopySelection(app, session), 0);
    EXPECT_EQ(LastMessage(), "Selection size exceeds available clipboard memory, can not copy.");
    EXPECT_EQ(Clip(), "old\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary
}

TEST_F(ClipboardCommandsTest, HundredMegabytePasteFoldsEveryLine) {
    session.buffer.profile.maxRecordLength = 32760;
    app.clipboard = std::make_unique<Clipboard>(dir.string(), nullptr);  // no desktop to convert for
    Lines({"end"});
    std::string line(100000, 'x');
    line += "\r\n";
    std::string text;
    text.reserve(line.size() * 1000);
    for (int i = 0; i < 1000; ++i) {
        text += line;
    }
    Put(text);
    At(0, 1);
    ASSERT_EQ(Paste(app, session, PasteAs::Data), 0);
    EXPECT_EQ(LineCount(session.buffer), 2u + 1000u * 4u + 1u);  // markers, four pieces a line, "end"
    EXPECT_EQ(LineLength(*LineNext(LineFirst(session.buffer))), 32760u);
}

TEST_F(ClipboardCommandsTest, SelectCommandFindsLinesByRecordNumber) {
    Lines({"aaaaaaaaaaaa", "bbbbbbbbbbbb", "cccccccccccc", "dddddddddddd"});
    for (std::uint32_t i = 0; i < lines.size(); ++i) {
        LineSetRecordNumber(*lines[i], i + 1);
    }
    SelectCommand(app, session, "STREAM, 3, 5, 4, 10");
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "cccccccc\r\ndddddddddd");
    // An end number that no line has runs to the last line.
    SelectCommand(app, session, "block 2 2 99 3");
    ASSERT_EQ(CopySelection(app, session), 0);
    EXPECT_EQ(Clip(), "bb\r\ncc\r\ndd\r\n");
    SelectCommand(app, session, "stream 7 1 8 1");
    EXPECT_EQ(LastMessage(), "Could not find line matching start line number");
}
