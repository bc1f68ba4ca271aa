#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "ui/form.h"
#include "ui/headless/batch_script.h"
#include "ui/headless/headless_backend.h"
#include "ui/input_field.h"
#include "ui/message_box.h"
#include "ui/screen.h"
#include "ui_test_harness.h"

using namespace tavoe;

using namespace ui;

TEST(BatchScript, EveryLineKind) {
    std::istringstream in(
        "# comment\nfind abc\n\n!keys x<Enter>\n!reply yes\n!screen\n!var Demo.Name\n!set Demo.Name = "
        "a=b\r\n");
    BatchScript script(in);
    ScriptItem item = script.Next();
    EXPECT_EQ(item.kind, ScriptItemKind::TypedLine);
    EXPECT_EQ(item.text, "find abc");
    item = script.Next();
    EXPECT_EQ(item.kind, ScriptItemKind::TypedLine);  // an empty line is a bare Enter
    EXPECT_EQ(item.text, "");
    item = script.Next();
    EXPECT_EQ(item.kind, ScriptItemKind::Keys);
    EXPECT_EQ(item.events.size(), 2u);
    item = script.Next();
    EXPECT_EQ(item.kind, ScriptItemKind::Reply);
    EXPECT_EQ(item.reply, MsgBoxReply::Yes);
    EXPECT_EQ(script.Next().kind, ScriptItemKind::Screen);
    item = script.Next();
    EXPECT_EQ(item.kind, ScriptItemKind::Var);
    EXPECT_EQ(item.text, "Demo.Name");
    item = script.Next();
    EXPECT_EQ(item.kind, ScriptItemKind::Set);
    EXPECT_EQ(item.text, "Demo.Name");
    EXPECT_EQ(item.value, " a=b");
    EXPECT_EQ(script.Next().kind, ScriptItemKind::End);
    EXPECT_EQ(script.Next().kind, ScriptItemKind::End);
}

TEST(BatchScript, ErrorsNameTheLine) {
    std::istringstream in("ok\n!keys <Bogus>\n!frob x\n!reply MAYBE\n!set NOEQUALS\n!var\n");
    BatchScript script(in);
    script.Next();
    EXPECT_EQ(script.Next().text, "line 2: unknown key name <Bogus>");
    EXPECT_EQ(script.Next().text, "line 3: unknown command !frob");
    EXPECT_EQ(script.Next().text, "line 4: !reply needs OK, YES, NO or CANCEL, got 'MAYBE'");
    EXPECT_EQ(script.Next().text, "line 5: !set needs NAME=VALUE");
    EXPECT_EQ(script.Next().text, "line 6: !var needs a variable name");
}

TEST(HeadlessBackend, EventsScreenAndVariables) {
    UiHarness h("typed\n!keys a<F3>\n!screen\n!var X\n!set X=7\n!var X\n");
    std::map<std::string, std::string, std::less<>> vars;
    h.backend.SetHooks(BatchHooks{[&](std::string_view n) { return vars[std::string(n)]; },
                                  [&](std::string_view n, std::string_view v) { vars[std::string(n)] = v; }});
    Event e = h.backend.WaitEvent();
    EXPECT_EQ(e.kind, EventKind::TypedLine);
    EXPECT_EQ(e.text, "typed");
    EXPECT_EQ(h.backend.WaitEvent().key, CharKey('a'));
    EXPECT_EQ(h.backend.WaitEvent().key, FunctionKey(3));
    Canvas canvas(24, 80);
    Painter(canvas, canvas.Bounds()).Text(1, 2, "hi", ColorPair{});
    h.backend.Present(canvas);
    EXPECT_EQ(h.backend.WaitEvent().kind, EventKind::EndOfInput);
    EXPECT_EQ(h.backend.WaitEvent().kind, EventKind::EndOfInput);  // and so on, so nothing hangs
    std::string out = h.out.str();
    EXPECT_EQ(out.substr(0, 21), "--- screen ---\n\n  hi\n");
    EXPECT_NE(out.find("\n--- end ---\nvar: X=\nvar: X=7\n"), std::string::npos);
    EXPECT_EQ(h.backend.ExitCode(), 0);
    EXPECT_EQ(vars["X"], "7");
}

TEST(HeadlessBackend, ScriptErrorEndsInputWithExitTwo) {
    UiHarness h("!keys x\n!keys <Nope>\n!keys y\n");
    EXPECT_EQ(h.backend.WaitEvent().key, CharKey('x'));
    EXPECT_EQ(h.backend.WaitEvent().kind, EventKind::EndOfInput);
    EXPECT_EQ(h.err.str(), "batch: line 2: unknown key name <Nope>\n");
    EXPECT_EQ(h.backend.ExitCode(), 2);
    UiHarness noHooks("!var X\n");
    EXPECT_EQ(noHooks.backend.WaitEvent().kind, EventKind::EndOfInput);
    EXPECT_EQ(noHooks.err.str(), "batch: line 1: !var is not available here\n");
}

TEST(HeadlessBackend, MessagesAndBoxesArePrintedWithNewlinesEscaped) {
    UiHarness h("!reply NO\n!reply CANCEL\n");
    h.backend.NoteMessageLine("two\nlines");
    h.backend.WaitEvent();  // reads both replies and the end
    // An OK box asks nothing and leaves the replies queued.
    EXPECT_EQ(ShowMessageBox(h.screen, MessageBoxSpec{"Saved.", "Tavo/E", MsgBoxButtons::Ok}),
              MsgBoxReply::Ok);
    MessageBoxSpec ask{"Save?\nReally", "Tavo/E", MsgBoxButtons::YesNoCancel, MsgBoxIcon::Question, 0};
    EXPECT_EQ(ShowMessageBox(h.screen, ask), MsgBoxReply::No);
    EXPECT_EQ(ShowMessageBox(h.screen, ask), MsgBoxReply::Cancel);
    ask.defaultButton = 1;
    EXPECT_EQ(ShowMessageBox(h.screen, ask), MsgBoxReply::No);  // no reply left: the default button
    EXPECT_EQ(h.out.str(),
              "message: two\\nlines\nbox: Saved.\nbox: Save?\\nReally\nbox: Save?\\nReally\n"
              "box: Save?\\nReally\n");
}

TEST(HeadlessBackend, AReplyTheBoxDoesNotOfferIsAScriptError) {
    UiHarness h("!reply YES\n");
    h.backend.WaitEvent();
    MessageBoxSpec box{"Continue?", "Tavo/E", MsgBoxButtons::OkCancel, MsgBoxIcon::None, 1};
    EXPECT_EQ(ShowMessageBox(h.screen, box), MsgBoxReply::Cancel);
    EXPECT_EQ(h.err.str(), "batch: reply YES does not fit the message box \"Continue?\"\n");
    EXPECT_EQ(h.backend.ExitCode(), 2);
}

TEST(HeadlessBackend, SizeOption) {
    int rows = 0;
    int cols = 0;
    EXPECT_TRUE(HeadlessBackend::ParseSize("132x43", rows, cols));
    EXPECT_EQ(rows, 43);
    EXPECT_EQ(cols, 132);
    EXPECT_FALSE(HeadlessBackend::ParseSize("80", rows, cols));
    EXPECT_FALSE(HeadlessBackend::ParseSize("9x24", rows, cols));
    EXPECT_FALSE(HeadlessBackend::ParseSize("80x24x", rows, cols));
}

TEST(ModalLoop, TypedLinesGoToTheFocusedWidgetThenEnter) {
    UiHarness h("hello\n");
    Form form("T", 3, 20);
    InputField& field = form.Add<InputField>(Rect{0, 0, 1, 10});
    field.SetText("old");
    int enters = 0;
    form.unhandledKey = [&](const KeyEvent& key) {
        if (key.Is(Key::Enter)) {
            ++enters;
            form.End(5);
        }
        return Handled::Yes;
    };
    EXPECT_EQ(h.screen.RunModal(form), 5);
    EXPECT_EQ(field.Text(), "hello");  // the initial focus marked the old text, so typing replaced it
    EXPECT_EQ(enters, 1);
}

TEST(ModalLoop, EndOfScriptPressesF3AndForcesAnEnd) {
    UiHarness h("");
    Form form("T", 3, 20);
    form.Add<InputField>(Rect{0, 0, 1, 10});
    std::vector<KeyEvent> seen;
    form.keyFilter = [&](const KeyEvent& key) {
        seen.push_back(key);
        return Handled::Yes;  // swallows everything, F3 included
    };
    EXPECT_EQ(h.screen.RunModal(form), Form::kCancelled);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], FunctionKey(3));
}

TEST(ModalLoop, WakeEventsRunTheWakeHandler) {
    UiHarness h("");
    int woken = 0;
    h.screen.SetWakeHandler([&] { ++woken; });
    h.backend.Wake().Raise();
    h.backend.Wake().Raise();
    Form form("T", 1, 5);
    h.screen.RunModal(form);
    EXPECT_EQ(woken, 1);  // two raises before a wait are one wake-up
}

TEST(HeadlessBackend, ScreenRowRangesCountFromOne) {
    UiHarness h("!screen 2-3\n!screen colors 3\n!screen 30-40\n!screen 3-2\n");
    Canvas canvas(5, 10);
    Painter painter(canvas, canvas.Bounds());
    for (int row = 0; row < 5; ++row) {
        painter.Text(row, 0, "row" + std::to_string(row + 1), ColorPair{});
    }
    h.backend.Present(canvas);
    EXPECT_EQ(h.backend.WaitEvent().kind, EventKind::EndOfInput);
    std::string out = h.out.str();
    EXPECT_EQ(out.substr(0, out.find("--- end ---")), "--- screen ---\nrow2\nrow3\n");
    EXPECT_NE(out.find("--- screen ---\nrow3\n--- colors ---\n2: 0:"), std::string::npos);
    EXPECT_NE(out.find("--- screen ---\n--- end ---"), std::string::npos);  // rows past the screen
    EXPECT_EQ(h.err.str(),
              "batch: line 4: !screen takes COLORS and a row range A-B (from 1), nothing else\n");
    EXPECT_EQ(h.backend.ExitCode(), 2);
}
