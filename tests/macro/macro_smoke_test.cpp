#include "macro_fixture.h"

using MacroSmoke = MacroFixture;

TEST_F(MacroSmoke, RunsACountingLoop) {
    EXPECT_EQ(Eval("int i;", "i = 0; while (i < 10) { i = i + 1; } r = i;"), "10");
    EXPECT_EQ(Eval("", "r = 2 + 3 * 4;"), "20");
}
