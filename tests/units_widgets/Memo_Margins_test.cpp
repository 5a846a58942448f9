#include "units/widgets/Memo_Margins.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>

namespace tessaran {
namespace {

TEST(MemoMargins, TextAreaShrinksByTheMargins)
{
    QPlainTextEdit memo;
    memo.resize(300, 200);
    memo.show();
    QRect before = memo.viewport()->geometry();
    SetMemoMargins(memo, 10, 20, 5, 15);
    QRect after = memo.viewport()->geometry();
    EXPECT_EQ(after.left(), before.left() + 10);
    EXPECT_EQ(after.top(), before.top() + 5);
    EXPECT_EQ(after.width(), before.width() - 30);
    EXPECT_EQ(after.height(), before.height() - 20);
}

} // namespace
} // namespace tessaran
