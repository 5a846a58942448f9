#include <gtest/gtest.h>

#include "docexport/Font_Charsets.h"

namespace tessaran {
namespace {

bool Has(const std::vector<int> &list, int charset) { return std::find(list.begin(), list.end(), charset) != list.end(); }

TEST(FontCharsets, FromTheCodePageBitsOfTheFamily)
{
    std::vector<int> latin;
    GetFontCharsets("Arial", latin);
    for (int charset : {0, 161, 204, 238})
        EXPECT_TRUE(Has(latin, charset)) << charset;
    EXPECT_FALSE(Has(latin, 128));
    EXPECT_FALSE(Has(latin, 2));
    // Kept, not repeated.
    std::vector<int> list{999, 0};
    GetFontCharsets("Liberation Sans", list);
    EXPECT_EQ(list.front(), 999);
    EXPECT_EQ(std::count(list.begin(), list.end(), 0), 1);
    std::vector<int> none{7};
    GetFontCharsets("No Such Family Anywhere", none);
    EXPECT_EQ(none, std::vector<int>{7});
}

} // namespace
} // namespace tessaran
