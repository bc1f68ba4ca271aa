#include "shell/edit_session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "buffer/line_record.h"
#include "core/app_session.h"
#include "core/var_store.h"
#include "shell/contexts.h"
#include "shell/instance_ports.h"
#include "shell/main_window.h"
#include "shell/recent_files.h"
#include "shell_test_support.h"
#include "ui/screen.h"

using namespace tavoe;

namespace {

// An instance with a window system whose message boxes take queued replies.
struct EditFixture {
    ReplyBackend backend;
    ui::Screen screen{backend};
    AppSession app;
    MainWindow window{app, screen};
    ScratchDir dir{"edit"};

    EditFixture() {
        ConnectInstance(app);
        VarSetValue(app, "ZPROMPTONEXIT", "TRUE");
        VarSetValue(app, "ZLCMDCOLS.EDIT", "7");
        VarSetValue(app, "ZLCMDCOLS.BROWSE", "0");
        VarSetValue(app, "ZNEWEDITS", "StackInCurrentSession");
    }

    // Changes the first data line as typing would.
    void Change(EditSession& session) {
        LineRecord* line = FirstDataLine(session.buffer);
        ASSERT_NE(line, nullptr);
        ASSERT_EQ(LineReplaceText(session.buffer, *line, 0, 0, "X"), 0);
        session.buffer.modified = true;
    }
};

TEST(OpenEditSession, PushesATaskFrameAndBecomesCurrent) {
    EditFixture f;
    std::string path = f.dir.File("a_rather_long_file_name.txt", "one\ntwo\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    EditSession* session = CurrentEditSession(f.app);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->FileName(), path);
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Task, "a_rather_long_file_name.txt"));
    EXPECT_EQ(TopContext(f.app)->name, "a_rather_long_f");
    EXPECT_TRUE(f.app.hasCurrentEditSession);
    EXPECT_EQ(Instance(f.app).title, "a_rather_long_file_name.txt");
    EXPECT_EQ(VarGetValue(f.app, "ZDSNNAME"), "a_rather_long_file_name.txt");
    EXPECT_EQ(session->view.prefixWidth, 7);
    EXPECT_EQ(RecentFiles(f.app).front(), path);
    EXPECT_TRUE(RecentMenuItems(f.app).front().greyed);  // in use while the session is open

    std::string second = f.dir.File("b.txt", "x\n");
    ASSERT_EQ(OpenEditSession(f.app, second, OpenMode::Browse), 0);
    EXPECT_EQ(CurrentEditSession(f.app)->FileName(), second);
    EXPECT_TRUE(CurrentEditSession(f.app)->ReadOnly());
    EXPECT_EQ(CurrentEditSession(f.app)->view.prefixWidth, 0);
    EXPECT_EQ(f.app.editSessions.size(), 2u);

    ASSERT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_EQ(CurrentEditSession(f.app), session);
    EXPECT_EQ(Instance(f.app).title, "a_rather_long_file_name.txt");
    EXPECT_TRUE(f.backend.boxes.empty());  // nothing changed, nothing asked
}

TEST(OpenEditSession, RelativePathsBecomeFullPathsAndLongOnesAreRefused) {
    EditFixture f;
    f.dir.File("rel.txt", "r\n");
    std::error_code error;
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(f.dir.Path());
    int opened = OpenEditSession(f.app, "./sub/../rel.txt", OpenMode::Edit);
    std::filesystem::current_path(old);
    ASSERT_EQ(opened, 0);
    EXPECT_EQ(CurrentEditSession(f.app)->FileName(), (f.dir.Path() / "rel.txt").string());

    std::string tooLong = "/" + std::string(300, 'x');
    EXPECT_EQ(OpenEditSession(f.app, tooLong, OpenMode::Edit), -1);
    EXPECT_EQ(f.app.messages.back().text, "Drive+Path+Filename too long '" + tooLong + "'");
    EXPECT_EQ(f.app.messages.back().beep, Beep::Exclamation);
    EXPECT_EQ(f.app.editSessions.size(), 1u);
}

TEST(OpenEditSession, AFailedOpenLeavesNoFrameBehind) {
    EditFixture f;
    PushContext(f.app, ContextKind::Menu, "MODERN");
    std::string missing = (f.dir.Path() / "no_such_dir" / "x.txt").string();
    EXPECT_EQ(OpenEditSession(f.app, missing, OpenMode::Browse), -1);
    EXPECT_TRUE(f.app.editSessions.empty());
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Menu, "MODERN"));
    ASSERT_FALSE(f.app.commandQueue.empty());
    EXPECT_EQ(f.app.commandQueue.back(), "MENU MODERN");  // the menu below is shown again
}

TEST(OpenEditSession, NewSessionsInAnotherInstanceNeedSomewhereToRun) {
    EditFixture f;
    f.app.batchMode = true;  // a batch instance has no terminal to give another instance
    VarSetValue(f.app, "ZNEWEDITS", "CreateNewSession");
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("a.txt", "a\n"), OpenMode::Edit), 0);  // the first stacks
    EXPECT_EQ(OpenEditSession(f.app, f.dir.File("b.txt", "b\n"), OpenMode::Edit), -1);
    EXPECT_EQ(f.app.messages.back().text, "Unable to create process to execute Tavo.");
    EXPECT_EQ(f.app.messages.back().beep, Beep::Error);
    EXPECT_EQ(f.app.editSessions.size(), 1u);
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Task, "a.txt"));
}

TEST(EndEditSession, PromptAnswersDecideTheSave) {
    EditFixture f;
    std::string path = f.dir.File("p.txt", "abc\n");

    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    f.Change(*CurrentEditSession(f.app));
    f.backend.replies.push_back(ui::MsgBoxReply::No);
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_EQ(ReadWholeFile(path), "abc\n");
    ASSERT_EQ(f.backend.boxes.size(), 1u);
    EXPECT_EQ(f.backend.boxes[0], path + " modified, save changes?");

    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    f.Change(*CurrentEditSession(f.app));
    f.backend.replies.push_back(ui::MsgBoxReply::Cancel);
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Cancelled);
    ASSERT_NE(CurrentEditSession(f.app), nullptr);
    EXPECT_FALSE(CurrentEditSession(f.app)->saveOnEnd);
    EXPECT_EQ(CurrentEditSession(f.app)->view.focus, KeyField::Command);
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Task, "p.txt"));

    f.backend.replies.push_back(ui::MsgBoxReply::Yes);
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_EQ(ReadWholeFile(path), "Xabc\n");
    EXPECT_TRUE(f.app.editSessions.empty());
    EXPECT_TRUE(f.app.contexts.empty());
    EXPECT_FALSE(f.app.hasCurrentEditSession);
}

TEST(EndEditSession, SavesWithoutAskingWhenPromptingIsOffOrTheInstanceCloses) {
    EditFixture f;
    std::string path = f.dir.File("q.txt", "abc\n");
    VarSetValue(f.app, "ZPROMPTONEXIT", "FALSE");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    f.Change(*CurrentEditSession(f.app));
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_EQ(ReadWholeFile(path), "Xabc\n");

    VarSetValue(f.app, "ZPROMPTONEXIT", "TRUE");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    f.Change(*CurrentEditSession(f.app));
    f.app.closing = true;
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_EQ(ReadWholeFile(path), "XXabc\n");
    EXPECT_TRUE(f.backend.boxes.empty());
    EXPECT_TRUE(f.app.contexts.empty());
}

TEST(EndEditSession, PromptDefaultNoSavesNothingWhenNobodyAnswers) {
    EditFixture f;
    std::string path = f.dir.File("n.txt", "abc\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    f.Change(*CurrentEditSession(f.app));
    EXPECT_TRUE(EndAllEditSessions(f.app, PromptDefault::No));
    EXPECT_EQ(ReadWholeFile(path), "abc\n");
}

TEST(EndEditSession, AFailedSaveKeepsTheSessionAndItsChanges) {
    EditFixture f;
    std::string path = f.dir.File("s.txt", "abc\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    EditSession* session = CurrentEditSession(f.app);
    f.Change(*session);
    // Another program rewrites the file meanwhile: saving refuses to overwrite it.
    f.dir.File("s.txt", "changed elsewhere, longer\n");
    f.backend.replies.push_back(ui::MsgBoxReply::Yes);
    EXPECT_EQ(EndEditSession(f.app, *session), EndResult::SaveFailed);
    ASSERT_EQ(CurrentEditSession(f.app), session);
    EXPECT_TRUE(session->Modified());
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Task, "s.txt"));
    EXPECT_EQ(ReadWholeFile(path), "changed elsewhere, longer\n");
    EXPECT_FALSE(EndAllEditSessions(f.app));
}

TEST(EndEditSession, AnAbandonedNewFileLeavesNothingBehind) {
    EditFixture f;
    std::string path = (f.dir.Path() / "fresh.txt").string();
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    EXPECT_TRUE(CurrentEditSession(f.app)->newAtOpen);
    EXPECT_TRUE(std::filesystem::exists(path));  // EDIT creates the file at once
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_FALSE(std::filesystem::exists(path));

    // An existing empty file is not new: it stays.
    std::string empty = f.dir.File("empty.txt", "");
    ASSERT_EQ(OpenEditSession(f.app, empty, OpenMode::Edit), 0);
    EXPECT_EQ(EndEditSession(f.app, *CurrentEditSession(f.app)), EndResult::Ended);
    EXPECT_TRUE(std::filesystem::exists(empty));
}

TEST(EndEditSession, TheLastSessionOfAnInstanceStartedForFilesClosesIt) {
    EditFixture f;
    f.app.closeWhenEmpty = true;
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("a.txt", "a\n"), OpenMode::Edit), 0);
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("b.txt", "b\n"), OpenMode::Edit), 0);
    EndEditSession(f.app, *CurrentEditSession(f.app));
    EXPECT_FALSE(Instance(f.app).closeRequested);
    EndEditSession(f.app, *CurrentEditSession(f.app));
    EXPECT_TRUE(Instance(f.app).closeRequested);
}

TEST(EndEditSession, ASessionBelowADialogTakesOnlyItsOwnFrame) {
    EditFixture f;
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("a.txt", "a\n"), OpenMode::Edit), 0);
    PushContext(f.app, ContextKind::Dialog, "FIND");
    EndEditSession(f.app, *CurrentEditSession(f.app));
    ASSERT_EQ(f.app.contexts.size(), 1u);
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Dialog, "FIND"));
    EXPECT_TRUE(f.app.commandQueue.empty());
}

TEST(CloseAllContexts, EndsEverySessionAndDropsWhatTheirEndsPosted) {
    EditFixture f;
    PushContext(f.app, ContextKind::Menu, "MODERN");
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("a.txt", "a\n"), OpenMode::Edit), 0);
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("b.txt", "b\n"), OpenMode::Edit), 0);
    EXPECT_EQ(CloseAllContextsInShell(f.app), 0);
    EXPECT_TRUE(f.app.editSessions.empty());
    EXPECT_TRUE(f.app.contexts.empty());
    EXPECT_TRUE(f.app.commandQueue.empty());

    std::string path = f.dir.File("c.txt", "c\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    f.Change(*CurrentEditSession(f.app));
    f.backend.replies.push_back(ui::MsgBoxReply::Cancel);
    EXPECT_EQ(CloseAllContextsInShell(f.app), -1);
    EXPECT_EQ(f.app.editSessions.size(), 1u);
}

}  // namespace

namespace {

TEST(ShowTopContext, AnEditSessionShownAgainGetsItsTitleAndFileNamesBack) {
    EditFixture f;
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("a.txt", "a\n"), OpenMode::Edit), 0);
    PushContext(f.app, ContextKind::Dialog, "FIND");
    SetTitleContext(f.app, "Find", TitleContext::Description);
    VarSetValue(f.app, "ZDSNNAME", "elsewhere.txt");
    ShowTopContextInShell(f.app);
    EXPECT_TRUE(TopContextIs(f.app, ContextKind::Task, "a.txt"));
    EXPECT_EQ(Instance(f.app).title, "a.txt");
    EXPECT_EQ(VarGetValue(f.app, "ZDSNNAME"), "a.txt");
    EXPECT_TRUE(f.app.commandQueue.empty());
}

}  // namespace

namespace {

// A long load looks at the input between its batches: Escape stops it, and whatever else was typed
// meanwhile is handed out afterwards in order. Without Escape the file loads whole.
TEST(OpenEditSession, EscapeTypedDuringALongLoadStopsItAndOtherKeysWait) {
    EditFixture f;
    std::string text;
    for (int i = 0; i < 20000; ++i) {
        text += "record " + std::to_string(i) + "\n";
    }
    std::string path = f.dir.File("long.txt", text);
    f.backend.pending = {ui::Event::OfKey(ui::CharKey('x')), ui::Event::OfKey(ui::NamedKey(ui::Key::Escape)),
                         ui::Event::OfKey(ui::CharKey('y'))};
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    EditSession* session = CurrentEditSession(f.app);
    ASSERT_NE(session, nullptr);
    EXPECT_TRUE(session->buffer.file.loadAborted);
    EXPECT_TRUE(session->buffer.file.IsReadOnly());
    ASSERT_FALSE(f.backend.boxes.empty());
    EXPECT_NE(f.backend.boxes.back().find("File load aborted at line"), std::string::npos);
    EXPECT_TRUE(f.app.statusText.empty());
    ui::Event event = f.screen.WaitEvent();
    EXPECT_EQ(event.key, ui::CharKey('x'));
    event = f.screen.WaitEvent();
    EXPECT_EQ(event.key, ui::CharKey('y'));
    EXPECT_EQ(f.screen.WaitEvent().kind, ui::EventKind::EndOfInput);

    f.backend.pending = {ui::Event::OfKey(ui::CharKey('z'))};
    ASSERT_EQ(OpenEditSession(f.app, f.dir.File("again.txt", text), OpenMode::Edit), 0);
    EXPECT_FALSE(CurrentEditSession(f.app)->buffer.file.loadAborted);
    EXPECT_EQ(f.screen.WaitEvent().key, ui::CharKey('z'));
}

}  // namespace

// A load that raises a profile's record length leaves the new length in the profile on disk, so the
// next file of the type opens with it.
TEST(OpenEditSession, RaisedRecordLengthIsWrittenToTheFileProfile) {
    EditFixture f;
    VarSetValue(f.app, "ZPATH.FILEPROFILES", f.dir.Path().string());
    f.dir.File("TXT.fp",
               "Recfm=Variable\nEorType=AUTO\nMaxRecLen=20\nBounds=1,20\nBOOLautoincreasereclen=TRUE\n");
    std::string path = f.dir.File("long.txt", std::string(30, 'w') + "\nshort\n");
    ASSERT_EQ(OpenEditSession(f.app, path, OpenMode::Edit), 0);
    EXPECT_EQ(CurrentEditSession(f.app)->buffer.profile.maxRecordLength, 30);
    EXPECT_NE(ReadWholeFile((f.dir.Path() / "TXT.fp").string()).find("MaxRecLen=30"), std::string::npos);
}
