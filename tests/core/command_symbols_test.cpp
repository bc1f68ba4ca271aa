#include "core/command_symbols.h"

#include <gtest/gtest.h>

#include "core/app_session.h"
#include "core/var_store.h"

using namespace tavoe;

class SymbolTest : public ::testing::Test {
protected:
    void SetUp() override {
        VarSetValue(app, "ZDSNPATH", "/src/");
        VarSetValue(app, "ZDSNNAME", "pay.cbl");
        VarSetValue(app, "ZDSNBASE", "pay");
        VarSetValue(app, "ZDSNEXT", "cbl");
        VarSetValue(app, "ZDSN", "/src/pay.cbl");
        VarSetValue(app, "ZHOME", "/opt/tavoe35");
    }
    std::string Sub(std::string_view in) { return SubstituteCommandSymbols(app, in); }
    AppSession app;
};

TEST_F(SymbolTest, LongestSymbolWinsAtEachPosition) {
    EXPECT_EQ(Sub("&zdsnpath"), "/src/");
    EXPECT_EQ(Sub("&ZDSNNAME &zdsnbase.&ZDSNEXT"), "pay.cbl pay.cbl");
    EXPECT_EQ(Sub("&zdsn"), "/src/pay.cbl");
    EXPECT_EQ(Sub("&zdsnx"), "/src/pay.cblx");      // no longer symbol fits: ZDSN and "x"
    EXPECT_EQ(Sub("&ZDSNPATHS"), "/src/S");         // ZDSNPATH and "S"
    EXPECT_EQ(Sub("&zdsnpat"), "/src/pay.cblpat");  // "&zdsnpath" cut short is ZDSN
    EXPECT_EQ(Sub("edit &zhome/x"), "edit /opt/tavoe35/x");
}

TEST_F(SymbolTest, SemicolonSymbolAndLiteralAmpersands) {
    EXPECT_EQ(Sub("top&zsemibottom"), "top;bottom");
    EXPECT_EQ(Sub("&ZSEMI"), ";");
    EXPECT_EQ(Sub("a&b"), "a&b");
    EXPECT_EQ(Sub("&&zsemi"), "&;");
    EXPECT_EQ(Sub("end&"), "end&");
    EXPECT_EQ(Sub("&"), "&");
    EXPECT_EQ(Sub("&z"), "&z");
    EXPECT_EQ(Sub(""), "");
}

TEST_F(SymbolTest, MixedCaseIsNoSymbol) {
    EXPECT_EQ(Sub("&Zdsn"), "&Zdsn");
    EXPECT_EQ(Sub("&zDSNPATH"), "&zDSNPATH");
    EXPECT_EQ(Sub("&zdsnPATH"), "/src/pay.cblPATH");  // lower-case ZDSN, then plain text
}

TEST_F(SymbolTest, ValuesAreNotScannedAgainAndUnsetVariablesStayUnset) {
    VarSetValue(app, "ZDSN", "&zsemi");
    EXPECT_EQ(Sub("x &zdsn"), "x &zsemi");
    AppSession empty;
    EXPECT_EQ(SubstituteCommandSymbols(empty, "[&zhome]"), "[]");
    EXPECT_EQ(VarFind(empty, "ZHOME"), nullptr);
}
