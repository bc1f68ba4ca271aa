#include "profiles/colorization_fields.h"

#include <gtest/gtest.h>

#include "core/app_session.h"
#include "core/var_store.h"
#include "profiles/colorization_io.h"

using namespace tavoe;

namespace {

constexpr const char* kWords =
    "COLOR_DELIMITERS (),\nCOLOR_CASE_SENSE NO\nCOLOR_LITERALS 12,3\nCOLOR_ESCAPE \\\nCOLOR_BEGEND "
    "4,3,/*,*/\n"
    "COLOR_TO_END 4,3,//\nCOLOR_COL_TO_END 4,3,*,7\nCOLOR_WORD_SET 10,3\nCOLOR_WORD MOVE\nCOLOR_WORD_SET "
    "13,3\n"
    "COLOR_WORD PIC\n";

TEST(ColorizationFields, WordFieldsGoRoundUnchanged) {
    AppSession app;
    auto c = ParseColorizationText(app, "T", "T.clr", kWords);
    ASSERT_TRUE(c);
    std::string before = ColorizationText(*c);
    LoadWordFields(app, *c);
    ASSERT_EQ(StoreWordFields(app, *c), 0);
    EXPECT_EQ(ColorizationText(*c), before);
    auto f = ParseColorizationText(app, "F", "F.clr", "COLOR_FIELD 1,3,1,6,seq\nCOLOR_FIELD 14,3,7,7,ind\n");
    ASSERT_TRUE(f);
    before = ColorizationText(*f);
    LoadFieldFields(app, *f);
    ASSERT_EQ(StoreFieldFields(app, *f), 0);
    EXPECT_EQ(ColorizationText(*f), before);
    EXPECT_TRUE(app.messages.empty());
}

TEST(ColorizationFields, FaultsNameTheItemAndLeaveTheColorizerAlone) {
    struct Case {
        const char* variable;
        const char* value;
        const char* message;
    } cases[] = {
        {"ClrWord.LitFG", "16", "'Literal' foreground color must be between 0 and 15."},
        {"ClrWord.BG3", "x", "'Wordset 3' foreground color must be between 0 and 15."},
        {"ClrWord.BG1", "10", "'Wordset 1' foreground color must different than background color."},
        {"ClrWord.BlkFG", "", "'Comment begin/end' foreground color must be between 0 and 15."},
        {"ClrWord.EolText", "", "Comment 'to chars' missing."},
        {"ClrWord.Column", "0", "Comment column must be greater than 0."},
    };
    for (const Case& k : cases) {
        AppSession app;
        auto c = ParseColorizationText(app, "T", "T.clr", kWords);
        ASSERT_TRUE(c);
        std::string before = ColorizationText(*c);
        LoadWordFields(app, *c);
        VarSetValue(app, k.variable, k.value);
        EXPECT_EQ(StoreWordFields(app, *c), -1) << k.variable;
        ASSERT_EQ(app.messages.size(), 1u) << k.variable;
        EXPECT_EQ(app.messages[0].text, k.message);
        EXPECT_EQ(ColorizationText(*c), before);
    }
    AppSession app;
    Colorizer empty;
    LoadWordFields(app, empty);
    EXPECT_EQ(CheckWordSetFields(app, 2), -1);
    EXPECT_EQ(app.messages.back().text, "Specify colors before invoking word edit.");
    VarSetValue(app, "ClrWord.EolText", "#");
    EXPECT_EQ(StoreWordFields(app, empty), -1);
    EXPECT_EQ(app.messages.back().text, "Comment 'to end' colors missing.");
    VarSetValue(app, "ClrWord.EolText", "");
    VarSetValue(app, "ClrWord.ColText", "*");
    EXPECT_EQ(StoreWordFields(app, empty), -1);
    EXPECT_EQ(app.messages.back().text, "Comment col-to-end specified, but no colors specified.");
    LoadFieldFields(app, empty);
    VarSetValue(app, "ClrField.From2", "9");
    VarSetValue(app, "ClrField.To2", "8");
    EXPECT_EQ(StoreFieldFields(app, empty), -1);
    EXPECT_EQ(app.messages.back().text, "Field 2, 'To' column must be greater or equal to 'From' column.");
    VarSetValue(app, "ClrField.From2", "0");
    EXPECT_EQ(StoreFieldFields(app, empty), -1);
    EXPECT_EQ(app.messages.back().text, "Field 2, 'From' and 'To' columns must be greater than 0.");
}

}  // namespace
