#include "model/Pipe_Table_Text.h"

#include <gtest/gtest.h>

namespace tessaran {
namespace {

TEST(PipeTableText, NumbersReadWithEitherSeparatorWhateverTheLocale)
{
    struct Case {
        const char *text;
        bool ok;
        double value;
    } cases[] = {{"2.375", true, 2.375}, {"2,375", true, 2.375}, {" -0.5 ", true, -0.5}, {"1e-3", true, 0.001},
                 {"+4", true, 4},        {"12", true, 12},       {"1,234.5", false, 0}, {"1.2.3", false, 0},
                 {"", false, 0},         {"abc", false, 0},      {"2.5mm", false, 0},   {"inf", false, 0},
                 {"nan", false, 0},      {"1e999", false, 0}};
    for (const auto &c : cases) {
        double value = -99;
        EXPECT_EQ(ReadTableReal(c.text, value), c.ok) << c.text;
        if (c.ok)
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        else
            EXPECT_EQ(value, -99) << c.text;
    }
    int n = -1;
    EXPECT_TRUE(ReadTableInteger(" 50 ", n));
    EXPECT_EQ(n, 50);
    EXPECT_FALSE(ReadTableInteger("50.0", n));
    EXPECT_FALSE(ReadTableInteger("99999999999", n));
}

TEST(PipeTableText, FieldsSplitAtTheFirstSeparatorsAndTheLastTakesTheRest)
{
    EXPECT_EQ(SplitTableFields("a~|~b~|~c~|~d", 3), (std::vector<std::string>{"a", "b", "c~|~d"}));
    EXPECT_EQ(SplitTableFields("~|~~|~", 3), (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(SplitTableFields("a~|~b", 3).empty());
    EXPECT_TRUE(SplitTableFields("a~|b~|~c", 3).empty());
}

TEST(PipeTableText, RealsRoundToSignificantDigitsBeforeTheDecimals)
{
    EXPECT_EQ(TableRealText(2.375, 7, 9), "2.375000000");
    EXPECT_EQ(TableRealText(60.325 / 25.4, 7, 9), "2.375000000");
    EXPECT_EQ(TableRealText(123.456789, 7, 9), "123.456800000");
    EXPECT_EQ(TableRealText(0.0018, 7, 6), "0.001800");
    EXPECT_EQ(TableRealText(-1.25, 7, 3), "-1.250");
    EXPECT_EQ(TableRealText(-0.0000001, 7, 3), "0.000");
    EXPECT_EQ(TableRealText(0.0, 15, 4), "0.0000");
}

} // namespace
} // namespace tessaran
