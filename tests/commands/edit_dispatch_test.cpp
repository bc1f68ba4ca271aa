// The edit dispatcher: splitting, line commands, lookup, the hand-over to the general dispatcher and
// the parameter checks made before a handler runs.

#include "core/var_store.h"
#include "dispatch_fixture.h"
#include "editing/selection.h"
#include "macro/macro_engine.h"

using namespace tavoe;

using EditDispatch = DispatchTest;

TEST_F(EditDispatch, ChainedCommandsRunInOrderEachOnce) {
    OpenSession();
    RecordEdit("TOP");
    RecordEdit("LOCATE");
    RecordEdit("BOTTOM");
    RunEditCommand(app, "top;locate special;;;; bottom ;");
    EXPECT_EQ(calls, (std::vector<std::string>{"TOP ", "LOCATE special", "BOTTOM "}));
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(EditDispatch, QuotedSemicolonStaysInTheFindString) {
    OpenSession();
    RecordEdit("FIND");
    RecordEdit("TOP");
    RunEditCommand(app, "find \"a;b\" all;top");
    EXPECT_EQ(calls, (std::vector<std::string>{"FIND \"a;b\" all", "TOP "}));
}

TEST_F(EditDispatch, LongLineIsCutBeforeSplitting) {
    OpenSession();
    RecordEdit("FIND");
    RecordEdit("BOTTOM");
    std::string text = "find " + std::string(1018, 'a');  // 1023 characters
    RunEditCommand(app, text + ";bottom");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].size(), std::string("FIND ").size() + 1018);
}

TEST_F(EditDispatch, WithoutSessionEditCommandsAndLineCommandsAreRefused) {
    RecordEdit("FIND");
    RunEditCommand(app, "find x;:d5");
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(app.messages.size(), 2u);
    for (const ShownMessage& message : app.messages) {
        EXPECT_EQ(message.text, "Not in file EDIT, command ignored.");
        EXPECT_EQ(message.to, MsgTo::Box);
        EXPECT_EQ(message.beep, Beep::Exclamation);
    }
}

TEST_F(EditDispatch, LineCommandGoesToTheCursorLineOrTheCurrentLine) {
    EditSession& s = OpenSession();
    LineRecord* second = NextDataLine(FirstDataLine(s.buffer));
    PlaceCursorOn(second);
    RunEditCommand(app, "::d5");  // runs at once: the cursor line goes
    EXPECT_NE(NextDataLine(FirstDataLine(s.buffer)), second);
    EXPECT_TRUE(app.messages.empty());

    PlaceCursorOn(nullptr);
    s.buffer.currentLine = FirstDataLine(s.buffer);
    RunEditCommand(app, ".abcdefghijk");  // a label command; the field keeps 9 characters
    EXPECT_EQ(LineLabel(*FirstDataLine(s.buffer)), ".ABCDEFGH");
    EXPECT_FALSE(LineHasPendingCommand(*FirstDataLine(s.buffer)));
}

TEST_F(EditDispatch, UnknownVerbGoesToTheGeneralDispatcherInUpperCase) {
    OpenSession();
    TempDir dir;
    dir.Write(
        "mymac.c",
        "void main(void) { tavoservice(\"VPUT\", \"MYMAC.ARGS\", strcompose(argc, argv[1], argv[2])); }\n");
    VarSetValue(app, "ZPATH.MACROS", dir.Path());
    RunEditCommand(app, "mymac  one 'two three'");
    EXPECT_EQ(VarGetValue(app, "MYMAC.ARGS"), "3one'two three'");
    EXPECT_NE(MacroEngineOf(app).FindCached("MYMAC"), nullptr);  // the cache key is the verb as passed on
}

TEST_F(EditDispatch, SIsNoEditCommandWithoutAnAlias) {
    OpenSession();
    VarSetValue(app, "ZPATH.MACROS", "/nonexistent-dir");
    RunEditCommand(app, "s");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Unable to read macro S.C"}));
    EXPECT_EQ(LastMessage().beep, Beep::Error);
}

TEST_F(EditDispatch, AliasSelectsTheEditCommandAndNamesItWhenUnavailable) {
    OpenSession();
    app.aliases.push_back({"CL", "COPYL"});
    Unbuild(CommandTable::Edit, "COPYL");
    RunEditCommand(app, "cl abc");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"'COPYL' is not available yet."}));
    EXPECT_EQ(LastMessage().beep, Beep::Information);
    RecordEdit("COPYL");
    RunEditCommand(app, "CL abc");
    EXPECT_EQ(calls, (std::vector<std::string>{"COPYL abc"}));
}

TEST_F(EditDispatch, MergeMsgParametersAloneAreSubstituted) {
    OpenSession();
    VarSetValue(app, "ZDSNPATH", "/src");
    RecordEdit("MERGEMSG");
    RecordEdit("FIND");
    app.aliases.push_back({"MM", "MERGEMSG"});
    RunEditCommand(app, "mergemsg &zdsnpath/err.txt;find &zdsnpath;mm &ZDSNPATH");
    EXPECT_EQ(calls, (std::vector<std::string>{"MERGEMSG /src/err.txt", "FIND &zdsnpath", "MERGEMSG /src"}));
}

TEST_F(EditDispatch, SessionEndedByOneSubCommandIsNotUsedByTheNext) {
    OpenSession();
    session->buffer.modified = true;
    RecordEdit("FIND");
    RunEditCommand(app, "cancel;find x");
    EXPECT_EQ(calls, (std::vector<std::string>{"endSession"}));  // modified was cleared first
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Not in file EDIT, command ignored."}));
}

TEST_F(EditDispatch, OnOffParameterChecks) {
    OpenSession();
    RecordEdit("CAPS");
    RecordEdit("RULER");
    RecordEdit("SHOWEOL");
    RunEditCommand(app, "caps;caps maybe;caps on;ruler x;ruler;ruler off;showeol 1;showeol ON");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"CAPS requires one parameter, ON or OFF.",
                                                 "CAPS parameter must be ON or OFF",
                                                 "RULER has one optional parameter:  P1 = ON | OFF",
                                                 "SHOWEOL parameter must be ON or OFF"}));
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    EXPECT_EQ(app.messages[2].beep, Beep::Information);
    EXPECT_EQ(calls, (std::vector<std::string>{"CAPS on", "RULER ", "RULER off", "SHOWEOL ON"}));
}

TEST_F(EditDispatch, ColormapNameLimit) {
    OpenSession();
    RecordEdit("COLORMAP");
    RunEditCommand(app, "colormap;colormap cobolxyz;colormap cobolxy");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"COLORMAP requires one parameter:  P1 = colorization-type",
                                                 "COLORMAP name too long."}));
    EXPECT_EQ(calls, (std::vector<std::string>{"COLORMAP cobolxy"}));
}

TEST_F(EditDispatch, SelectionCommandsNeedASelection) {
    EditSession& s = OpenSession();
    RecordEdit("COPY");
    RecordEdit("CUT");
    RecordEdit("DELETE");
    RunEditCommand(app, "copy;cut;delete;delete .a .b x");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"No selection", "No selection", "No selection"}));
    EXPECT_EQ(calls, (std::vector<std::string>{"DELETE .a .b x"}));
    SetSelection(s, SelectionMode::Stream, *FirstDataLine(s.buffer), 1, *FirstDataLine(s.buffer), 1);
    calls.clear();
    RunEditCommand(app, "copy;cut;delete");
    EXPECT_EQ(calls, (std::vector<std::string>{"COPY ", "CUT ", "DELETE "}));
}

TEST_F(EditDispatch, NumberChecksModeAndRecordLength) {
    EditSession& s = OpenSession();
    RecordEdit("NUMBER");
    s.buffer.profile.maxRecordLength = 255;
    RunEditCommand(app, "number;number abc;number other;number standard;number cob+std;number cobol");
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "NUMBER requires one parameter: P1 = COBOL | STANDARD | COB+STD | OFF",
                           "NUMBER parameter must be one of COBOL | STANDARD | COB+STD | OFF",
                           "Use menu OPTIONS, item FILE PROFILES to set line number type OTHER.",
                           "File profile record length must be 80 before setting number type to STANDARD.",
                           "File profile record length must be 80 before setting number type to COB+STD."}));
    s.buffer.profile.maxRecordLength = 80;
    RunEditCommand(app, "number standard");
    EXPECT_EQ(calls, (std::vector<std::string>{"NUMBER cobol", "NUMBER standard"}));
}

TEST_F(EditDispatch, PasteNeedsTheCursorOnALine) {
    EditSession& s = OpenSession();
    RecordEdit("PASTE");
    PlaceCursorOn(nullptr);
    RunEditCommand(app, "paste");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"To PASTE, cursor must be on a line."}));
    PlaceCursorOn(FirstDataLine(s.buffer));
    RunEditCommand(app, "paste");
    EXPECT_EQ(calls, (std::vector<std::string>{"PASTE "}));
}

TEST_F(EditDispatch, ProfileSaysViewOnlyThenOpens) {
    EditSession& s = OpenSession();
    s.buffer.profile.name = "CBL";
    RecordEdit("PROFILE");
    RunEditCommand(app, "profile");
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "File Profile 'CBL' is in use, you can view it but you can not modify it."}));
    EXPECT_EQ(LastMessage().beep, Beep::Information);
    EXPECT_EQ(calls, (std::vector<std::string>{"PROFILE "}));
}

TEST_F(EditDispatch, TabsIsAlwaysRefused) {
    OpenSession();
    RecordEdit("TABS");
    RunEditCommand(app, "tabs 1 5 9");
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           "Edit does not support the TABS primary command.\n\nUse PROFILE command to view "
                           "current file profile (see field 'TabKeyStopsAt')."}));
}

TEST_F(EditDispatch, BoundsSetsTheProfileBounds) {
    EditSession& s = OpenSession();
    FileProfile& profile = s.buffer.profile;
    profile.maxRecordLength = 80;
    profile.boundsLeft = 1;
    profile.boundsRight = 80;
    RunEditCommand(app, "bounds 7 72");
    EXPECT_EQ(profile.boundsLeft, 7);
    EXPECT_EQ(profile.boundsRight, 72);
    RunEditCommand(app, "bounds * 60;bounds 10");
    EXPECT_EQ(profile.boundsLeft, 10);
    EXPECT_EQ(profile.boundsRight, 60);
    RunEditCommand(app, "bounds 5 500");
    EXPECT_EQ(profile.boundsRight, 80);
    RunEditCommand(app, "bounds");
    EXPECT_EQ(profile.boundsLeft, 1);
    EXPECT_EQ(profile.boundsRight, 80);
    EXPECT_TRUE(app.messages.empty());

    RunEditCommand(app, "bounds 0 5;bounds x 5;bounds 5 y;bounds 50 10");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"BOUNDS: left bound may not be 0",
                                                 "BOUNDS: parm one must be number or asterisk.",
                                                 "BOUNDS: parm two must be number or asterisk.",
                                                 "BOUNDS: right bound must greater or equal to left bound"}));
    EXPECT_EQ(profile.boundsLeft, 1);
    EXPECT_EQ(profile.boundsRight, 80);
}

TEST_F(EditDispatch, BuiltInCommandsReachTheirSubsystems) {
    EditSession& s = OpenSession();
    s.buffer.profile.numberType = NumberType::Standard;
    RunEditCommand(app, "number off;xkeyboard");
    EXPECT_EQ(s.buffer.profile.numberType, NumberType::None);
    EXPECT_EQ(calls, (std::vector<std::string>{"dialog XKEYBRD"}));
    RunEditCommand(app, "number cobol");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(s.buffer.profile.numberType, NumberType::Cobol);
    EXPECT_EQ(LineText(*FirstDataLine(s.buffer)).substr(0, 6), "000100");
}
