#include "platform/Text_Lines.h"

#include <gtest/gtest.h>

using namespace tessaran;

TEST(TextLines, SplitsEveryKindOfBreakAndReadsTheLastBreakAsAsked)
{
    using Lines = std::vector<std::string>;
    struct Case {
        const char *text;
        Lines exact, dropped;
    } cases[] = {
        {"", {}, {}},
        {"a", {"a"}, {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}, {"a", "b", "c", "d"}},
        {"a\r\n", {"a", ""}, {"a"}},
        {"a\r\n\r\n", {"a", "", ""}, {"a", ""}},
        {"\r\n", {"", ""}, {""}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SplitLines(c.text, TTrailingBreak::StartsEmptyLine), c.exact) << c.text;
        EXPECT_EQ(SplitLines(c.text, TTrailingBreak::IsDropped), c.dropped) << c.text;
    }
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(JoinLines({"a", "b"}, true), "a\r\nb\r\n");
    EXPECT_EQ(JoinLines({}, true), "");
    Lines withEmptyLast = {"x", ""};
    EXPECT_EQ(SplitLines(JoinLines(withEmptyLast), TTrailingBreak::StartsEmptyLine), withEmptyLast);
}
