#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/var_store.h"
#include "dialog_test_util.h"

using namespace tavoe;

using ::testing::ElementsAre;

namespace {

// Parses a text that must fail with exactly one message box, with the exclamation beep.
std::string OnlyError(std::string_view text, std::string_view name = "test") {
    AppSession app;
    auto def = ParseText(app, text, name);
    EXPECT_EQ(def, nullptr);
    if (app.messages.size() != 1) {
        ADD_FAILURE() << "expected one message, got " << app.messages.size();
        return app.messages.empty() ? std::string() : app.messages.back().text;
    }
    EXPECT_EQ(app.messages[0].to, MsgTo::Box);
    EXPECT_EQ(app.messages[0].beep, Beep::Exclamation);
    return app.messages[0].text;
}

const char* kInput = "OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=5 VAR=v }";

}  // namespace

TEST(DialogSyntax, OneLineStaticObject) {
    AppSession app;
    auto def = ParseText(app, "DIALOG{TITLE=Hello}\nOBJ{TYPE=STATIC ROW=1 COL=1 TEXT='a b'}");
    ASSERT_NE(def, nullptr);
    EXPECT_TRUE(app.messages.empty());
    EXPECT_EQ(def->name, "TEST");
    EXPECT_EQ(def->title, "Hello");
    ASSERT_EQ(def->objects.size(), 1u);
    const DialogObject& obj = def->objects[0];
    EXPECT_EQ(obj.type, DialogObjectType::Static);
    EXPECT_EQ(*obj.text, "a b");
    EXPECT_EQ(obj.width, 3);
    EXPECT_EQ(obj.depth, 1);
    EXPECT_EQ(obj.hAlign, DialogHAlign::Left);
    EXPECT_EQ(obj.textSide, DialogTextSide::Right);
    EXPECT_EQ(obj.controlId, 32);
}

TEST(DialogSyntax, BracesCommentsAndSharedLines) {
    AppSession app;
    auto def = ParseText(app,
                         "// leading comment\n"
                         "\n"
                         "dialog\n"
                         "{\n"
                         "   title = \"A // title\"   // a comment after a quoted value\n"
                         "}\n"
                         "obj { type=static row=1 col=1 text=x//y } OBJ{TYPE=BUTTON\n"
                         "  ROW=2 COL=1\n"
                         "  TEXT=Go }{{ OBJ TYPE=SEPARATOR ROW=3 }\r\n");
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    EXPECT_EQ(def->title, "A // title");
    ASSERT_EQ(def->objects.size(), 3u);
    // An unquoted value runs to the blank, so the slashes are part of it.
    EXPECT_EQ(*def->objects[0].text, "x//y");
    EXPECT_EQ(def->objects[1].type, DialogObjectType::Button);
    EXPECT_EQ(def->objects[1].width, 2);
    EXPECT_EQ(def->objects[2].type, DialogObjectType::Separator);
    EXPECT_EQ(def->objects[2].column, 1);
    EXPECT_EQ(def->objects[2].width, 1);
}

TEST(DialogSyntax, UnquotedValueEndsAtBlankAndRestIsComment) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=abc //def ghi=1\n}"));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(*def->objects[0].text, "abc");
    auto quoted = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=\"abc //def\" }"));
    ASSERT_NE(quoted, nullptr);
    EXPECT_EQ(*quoted->objects[0].text, "abc //def");
    EXPECT_TRUE(app.messages.empty());
}

TEST(DialogSyntax, QuoteRunsToLineEndWhenUnclosed) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=2 COL=1 TEXT=\"open to the end }\n}"));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(*def->objects[0].text, "open to the end }");
}

TEST(DialogSyntax, LongLinesContinueAsNextLine) {
    AppSession app;
    // The 255th character ends the first line; the rest is read as a line of its own.
    std::string pad(255 - std::string("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=").size(), 'a');
    auto def = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=" + pad + "ROW=2 }"));
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    EXPECT_EQ(def->objects[0].text->size(), pad.size());
    EXPECT_EQ(def->objects[0].row, 2);
}

TEST(DialogSyntax, EmptyOrCommentOnlyFileIsSilent) {
    AppSession app;
    EXPECT_EQ(ParseText(app, ""), nullptr);
    EXPECT_EQ(ParseText(app, "// nothing\n   \n{\n"), nullptr);
    EXPECT_TRUE(app.messages.empty());
}

TEST(DialogSyntax, OpenObjectAtEndIsDropped) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=a }\nOBJ { TYPE=STATIC"));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->objects.size(), 1u);
}

TEST(DialogSyntax, KeywordMessages) {
    EXPECT_EQ(OnlyError("OBJ { TYPE=STATIC }"), "Dialog TEST: expected DIALOG, got OBJ { TYPE=STATIC }");
    // Only the two spellings of the keyword count.
    EXPECT_EQ(OnlyError("  Dialog {}"), "Dialog TEST: expected DIALOG, got   Dialog {}");
    EXPECT_EQ(OnlyError("DIALOG {}\nDIALOG {}   "), "Dialog TEST: expected OBJECT, got DIALOG {}");
    EXPECT_EQ(OnlyError("DIALOG {} OBJECT { TYPE=STATIC }"), "Dialog TEST: unknown property ECT");
    EXPECT_EQ(OnlyError("DIALOG { HEIGHT=3 }"), "Dialog TEST: unknown property HEIGHT");
    EXPECT_EQ(OnlyError(Dialog("OBJ { title=x }")), "Dialog TEST: unknown property TITLE");
    EXPECT_EQ(OnlyError(Dialog("OBJ { TYPE STATIC }")),
              "Dialog TEST: expected equal sign after TYPE, got STATIC }");
    EXPECT_EQ(OnlyError(Dialog("OBJ { ROW")), "Dialog TEST: expected equal sign after ROW, got ");
}

TEST(DialogSyntax, NameIsUpperCasedInMessages) {
    EXPECT_EQ(OnlyError("DIALOG { X=1 }", "Compare"), "Dialog COMPARE: unknown property X");
}

TEST(DialogProperties, NamesAndKeywordValuesIgnoreCase) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { type=button Row=1 cOl=1 text=Ok Default=yes cancel=No "
                                     "halign=center textside=left hscroll=yes vscroll=YES upcase=yes "
                                     "lowcase=yes password=yes number=yes }"));
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    const DialogObject& obj = def->objects[0];
    EXPECT_TRUE(obj.isDefault);
    EXPECT_FALSE(obj.cancel);
    EXPECT_EQ(obj.hAlign, DialogHAlign::Center);
    EXPECT_EQ(obj.textSide, DialogTextSide::Left);
    EXPECT_TRUE(obj.hscroll && obj.vscroll && obj.upcase && obj.lowcase && obj.password && obj.number);
    EXPECT_EQ(*obj.text, "Ok");
}

TEST(DialogProperties, InvalidValues) {
    struct Case {
        const char* property;
        const char* message;
    };
    const Case cases[] = {
        {"TYPE=RADIO", "Dialog TEST: invalid value, TYPE=RADIO"},
        {"TYPE=BUTTON CANCEL=maybe", "Dialog TEST: invalid value, CANCEL=MAYBE"},
        {"TYPE=BUTTON DEFAULT=1", "Dialog TEST: invalid value, DEFAULT=1"},
        {"TYPE=LIST COMMIT=TRUE", "Dialog TEST: invalid value, COMMIT=TRUE"},
        {"TYPE=INPUT FOCUS=Y", "Dialog TEST: invalid value, FOCUS=Y"},
        {"HALIGN=middle", "Dialog TEST: invalid value, HALIGN=MIDDLE"},
        {"HSCROLL=", "Dialog TEST: invalid value, HSCROLL="},
        {"LOWCASE=on", "Dialog TEST: invalid value, LOWCASE=ON"},
        {"TYPE=COMBO MODIFIABLE=x", "Dialog TEST: invalid value, MODIFIABLE=X"},
        {"NUMBER=2", "Dialog TEST: invalid value, NUMBER=2"},
        {"PASSWORD=yess", "Dialog TEST: invalid value, PASSWORD=YESS"},
        {"SORT=no!", "Dialog TEST: invalid value, SORT=NO!"},
        {"TEXTSIDE=CENTER", "Dialog TEST: invalid value, TEXTSIDE=CENTER"},
        {"UPCASE=+", "Dialog TEST: invalid value, UPCASE=+"},
        {"VSCROLL='YES NO'", "Dialog TEST: invalid value, VSCROLL=YES NO"},
        {"TYPE=LIST MULTISELECT=maybe", "Dialog TEST: MULTISELECT must be YES or NO"},
        {"TEXT=''", "Dialog TEST: TEXT keyword specified with no value"},
        {"VAR= }", "Dialog TEST: VAR keyword specified with no value"},
        {"POPUP=\"\"", "Dialog TEST: POPUP keyword specified with no value"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OnlyError(Dialog(std::string("OBJ { ") + c.property + " }")), c.message) << c.property;
    }
}

TEST(DialogProperties, TypeRestrictionsFollowTheTypeKnownSoFar) {
    struct Case {
        const char* properties;
        const char* message;
    };
    const Case cases[] = {
        {"CANCEL=YES TYPE=BUTTON", "Dialog TEST: only valid for BUTTON"},
        {"TYPE=INPUT DEFAULT=NO", "Dialog TEST: only valid for BUTTON"},
        {"TYPE=INPUT COMMIT=YES", "Dialog TEST: only valid for LIST, COMBO, BUTTON, or CHECKBOX"},
        {"TYPE=STATIC FOCUS=YES", "Dialog TEST: only valid for INPUT, LIST, COMBO, BUTTON, or CHECKBOX"},
        {"TYPE=INPUT DEPTH=2", "Dialog TEST: DEPTH only valid for BUTTON, COMBO, or LIST"},
        {"DEPTH=2 TYPE=LIST", "Dialog TEST: DEPTH only valid for BUTTON, COMBO, or LIST"},
        {"TYPE=CHECKBOX WIDTH=4",
         "Dialog TEST: WIDTH not allowed on object type STATIC, CHECKBOX, or SEPARATOR"},
        {"TYPE=SEPARATOR WIDTH=4",
         "Dialog TEST: WIDTH not allowed on object type STATIC, CHECKBOX, or SEPARATOR"},
        {"TYPE=LIST MODIFIABLE=YES", "Dialog TEST: MODIFIABLE only valid for COMBO"},
        {"TYPE=COMBO MULTICOL=YES", "Dialog TEST: MULTICOL only allowed on object type LIST"},
        {"TYPE=COMBO MULTISELECT=YES", "Dialog TEST: MULTISELECT only allowed on object type LIST"},
        {"COLWIDTH=10 TYPE=LIST", "Dialog TEST: COLWIDTH only allowed on object type LIST"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OnlyError(Dialog(std::string("OBJ { ") + c.properties + " }")), c.message) << c.properties;
    }
    // After the TYPE the same properties are accepted, and WIDTH is allowed while no type is known.
    AppSession app;
    auto def =
        ParseText(app, Dialog("OBJ { TYPE=BUTTON CANCEL=YES ROW=1 COL=1 TEXT=Cancel DEPTH=2 }\n"
                              "OBJ { WIDTH=10 TYPE=LIST ROW=2 COL=1 VAR=l MULTISELECT=YES COMMIT=YES }"));
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    EXPECT_TRUE(def->objects[0].cancel);
    EXPECT_EQ(def->objects[0].depth, 2);
    EXPECT_TRUE(def->objects[1].multiselect);
    EXPECT_EQ(def->objects[1].width, 10);
}

TEST(DialogProperties, VarAndPopupResolveAgainstTheDialogName) {
    AppSession app;
    auto def = ParseText(app,
                         Dialog("OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=9 VAR=SpecOld }\n"
                                "OBJ { TYPE=INPUT ROW=2 COL=1 WIDTH=9 VAR=ZCOMP.SPEC.OLD }\n"
                                "OBJ { TYPE=INPUT ROW=3 COL=1 WIDTH=9 VAR=zcomp.spec.old }\n"
                                "OBJ { TYPE=LIST ROW=4 COL=1 WIDTH=9 VAR=List POPUP=Popup }\n"
                                "OBJ { TYPE=LIST ROW=5 COL=1 WIDTH=9 VAR=List2 POPUP=zPop }"),
                         "compare");
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    EXPECT_EQ(*def->objects[0].variable, "COMPARE.SPECOLD");
    EXPECT_EQ(*def->objects[1].variable, "ZCOMP.SPEC.OLD");
    EXPECT_EQ(*def->objects[2].variable, "ZCOMP.SPEC.OLD");
    EXPECT_EQ(*def->objects[3].popup, "COMPARE.POPUP");
    EXPECT_EQ(*def->objects[4].popup, "ZPOP");
}

TEST(DialogProperties, MulticolKeepsTrueFalseOrName) {
    AppSession app;
    auto def =
        ParseText(app, Dialog("OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=9 VAR=a MULTICOL=yes COLWIDTH=5,4 }\n"
                              "OBJ { TYPE=LIST ROW=2 COL=1 WIDTH=9 VAR=b MULTICOL=No COLWIDTH=x }\n"
                              "OBJ { TYPE=LIST ROW=3 COL=1 WIDTH=9 VAR=c MULTICOL=zMulti COLWIDTH=Ab }"));
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    EXPECT_EQ(*def->objects[0].multicolumn, "TRUE");
    EXPECT_EQ(*def->objects[0].columnWidths, "5,4");
    EXPECT_EQ(*def->objects[1].multicolumn, "FALSE");
    EXPECT_EQ(*def->objects[2].multicolumn, "ZMULTI");
    EXPECT_EQ(*def->objects[2].columnWidths, "Ab");
}

TEST(DialogProperties, ColorPairsAndVariables) {
    AppSession app;
    VarSetValue(app, "ZHEAD.COLOR", "14,1");
    VarSetValue(app, "ZNONE.COLOR", "");
    auto def = ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=a COLOR=3,0 }\n"
                                     "OBJ { TYPE=OUTPUT ROW=2 COL=1 WIDTH=4 VAR=o COLOR=ZHead.Color }\n"
                                     "OBJ { TYPE=STATIC ROW=3 COL=1 TEXT=b COLOR=ZNONE.COLOR }"));
    ASSERT_NE(def, nullptr) << testing::PrintToString(Texts(app));
    EXPECT_TRUE(def->objects[0].colored);
    EXPECT_EQ(def->objects[0].foreground, 3);
    EXPECT_EQ(def->objects[0].background, 0);
    EXPECT_TRUE(def->objects[1].colored);
    EXPECT_EQ(def->objects[1].foreground, 14);
    EXPECT_EQ(def->objects[1].background, 1);
    EXPECT_FALSE(def->objects[2].colored);
    EXPECT_TRUE(app.messages.empty());
}

TEST(DialogProperties, ColorMessages) {
    const std::string base = "OBJ { TYPE=STATIC ROW=1 COL=1 TEXT=a COLOR=";
    EXPECT_EQ(OnlyError(Dialog(base + "3,3 }")), "Dialog TEST: COLOR, FG must be different than BG");
    EXPECT_EQ(OnlyError(Dialog(base + "16,1 }")), "Dialog TEST: COLOR, foreground must be in range 0..15");
    EXPECT_EQ(OnlyError(Dialog(base + "1,16 }")), "Dialog TEST: COLOR, background must be in range 0..15");
    EXPECT_EQ(OnlyError(Dialog(base + "1 }")), "Dialog TEST: COLOR, background must be in range 0..15");
    EXPECT_EQ(OnlyError(Dialog(base + "99999999999999999999,1 }")),
              "Dialog TEST: COLOR, foreground must be in range 0..15");
}

TEST(DialogFinalChecks, NoObjects) {
    EXPECT_EQ(OnlyError("DIALOG { TITLE=x }"), "Dialog TEST: has no OBJECTS");
    EXPECT_EQ(OnlyError("DIALOG { TITLE=x }\nOBJ { TYPE=STATIC"), "Dialog TEST: has no OBJECTS");
}

TEST(DialogFinalChecks, EachMessage) {
    struct Case {
        const char* object;
        const char* message;
    };
    const Case cases[] = {
        {"OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=3 }", "Dialog TEST: OBJECT 2 must have VAR"},
        {"OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=a VAR=x }", "Dialog TEST: OBJECT 2 must not have VAR"},
        {"OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=3 VAR=x MULTICOL=YES }",
         "Dialog TEST: OBJECT 2 if MULTICOL=YES, COLWIDTH must be specified"},
        {"OBJ { TYPE=STATIC ROW=1 TEXT=a }", "Dialog TEST: OBJECT 2 column invalid, 0"},
        {"OBJ { TYPE=STATIC COL=1 TEXT=a }", "Dialog TEST: OBJECT 2 row invalid, 0"},
        {"OBJ { TYPE=STATIC ROW=x COL=1 TEXT=a }", "Dialog TEST: OBJECT 2 row invalid, 0"},
        {"OBJ { TYPE=INPUT ROW=1 COL=1 VAR=x }", "Dialog TEST: OBJECT 2 width invalid, 0"},
        {"OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=a DEPTH=-2 }", "Dialog TEST: OBJECT 2 depth invalid, -2"},
        {"OBJ { TYPE=BUTTON ROW=1 COL=1 WIDTH=5 }", "Dialog TEST: OBJECT 2 must have TEXT or ZVAR"},
        {"OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=3 VAR=x SORT=YES }", "Dialog TEST: OBJECT 2 can not have SORT"},
        {"OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=3 VAR=x COLOR=1,2 }",
         "Dialog TEST: OBJECT 2 can not have COLOR"},
        // Values the grid cannot hold are reported like a missing one.
        {"OBJ { TYPE=STATIC ROW=-1 COL=1 TEXT=a }", "Dialog TEST: OBJECT 2 row invalid, -1"},
        {"OBJ { TYPE=STATIC ROW=1 COL=1000 TEXT=a }", "Dialog TEST: OBJECT 2 column invalid, 1000"},
        {"OBJ { TYPE=INPUT ROW=1 COL=1 WIDTH=99999999999 VAR=x }",
         "Dialog TEST: OBJECT 2 width invalid, 1000000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OnlyError(Dialog(std::string(kInput) + "\n" + c.object)), c.message) << c.object;
    }
}

TEST(DialogFinalChecks, StaticWithoutTextGetsBothMessages) {
    AppSession app;
    EXPECT_EQ(ParseText(app, Dialog("OBJ { TYPE=STATIC ROW=1 COL=1 }")), nullptr);
    EXPECT_THAT(Texts(app), ElementsAre("Dialog TEST: OBJECT 1 width invalid, 0",
                                        "Dialog TEST: OBJECT 1 must have TEXT"));
}

TEST(DialogFinalChecks, AllMessagesOfTheFirstBadObjectOnly) {
    AppSession app;
    auto def = ParseText(app, Dialog(std::string(kInput) + "\nOBJ { }\nOBJ { TYPE=INPUT }"));
    EXPECT_EQ(def, nullptr);
    EXPECT_THAT(Texts(app),
                ElementsAre("Dialog TEST: OBJECT 2 has no TYPE", "Dialog TEST: OBJECT 2 must have VAR",
                            "Dialog TEST: OBJECT 2 column invalid, 0", "Dialog TEST: OBJECT 2 row invalid, 0",
                            "Dialog TEST: OBJECT 2 width invalid, 0"));
    for (const ShownMessage& shown : app.messages) {
        EXPECT_EQ(shown.beep, Beep::Exclamation);
        EXPECT_EQ(shown.to, MsgTo::Box);
    }
}

TEST(DialogFinalChecks, ListAndComboDepthBecomesEight) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=9 VAR=a DEPTH=1 }\n"
                                     "OBJ { TYPE=LIST ROW=1 COL=1 WIDTH=9 VAR=a }\n"
                                     "OBJ { TYPE=COMBO ROW=1 COL=1 WIDTH=9 VAR=b }\n"
                                     "OBJ { TYPE=COMBO ROW=1 COL=1 WIDTH=9 VAR=b DEPTH=2 }\n"
                                     "OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=b }"));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->objects[0].depth, 8);
    EXPECT_EQ(def->objects[1].depth, 8);
    EXPECT_EQ(def->objects[2].depth, 8);
    EXPECT_EQ(def->objects[3].depth, 2);
    EXPECT_EQ(def->objects[4].depth, 1);
}

TEST(DialogFinalChecks, CheckboxWidthCountsTheBox) {
    AppSession app;
    auto def = ParseText(app, Dialog("OBJ { TYPE=CHECKBOX ROW=1 COL=1 TEXT=\"Backup\" VAR=b }"));
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->objects[0].width, 9);
}

TEST(DialogFinalChecks, TitleIsCutTo95Characters) {
    AppSession app;
    auto def = ParseText(app, "DIALOG { TITLE=\"" + std::string(120, 't') + "\" }\n" + kInput);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->title.size(), 95u);
}

TEST(DialogCaptions, TitleAndButtonCaptionsReadVariables) {
    AppSession app;
    auto def = ParseText(app,
                         "DIALOG { TITLE=&ZTitle }\n"
                         "OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=&zLabel }\n"
                         "OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=&Mine }\n"
                         "OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=Plain }\n"
                         "OBJ { TYPE=BUTTON ROW=1 COL=1 TEXT=& }",
                         "Aliascmd");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(ResolveDialogTitle(app, *def), "&ZTitle");  // empty variable: the title as written
    VarSetValue(app, "ZTITLE", "Aliases");
    VarSetValue(app, "ZLABEL", "Global");
    VarSetValue(app, "AliasCmd.Mine", "Local");
    EXPECT_EQ(ResolveDialogTitle(app, *def), "Aliases");
    EXPECT_EQ(ResolveButtonCaption(app, *def, def->objects[0]), "Global");
    EXPECT_EQ(ResolveButtonCaption(app, *def, def->objects[1]), "Local");
    EXPECT_EQ(ResolveButtonCaption(app, *def, def->objects[2]), "Plain");
    EXPECT_EQ(ResolveButtonCaption(app, *def, def->objects[3]), "&");
}
