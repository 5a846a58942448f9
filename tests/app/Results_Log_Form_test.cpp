// The results log window: its summary line for each kind of outcome, and
// the choice each of its buttons hands back.

#include "app/Results_Log_Form.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaran::test {
namespace {

struct SummaryCase {
    bool Solved, SolutionOk;
    int Warnings, Comments;
    const char *Text;
    bool Yellow, Red, Bold;
};

TEST(ResultsSummary, TextAndColoursFollowTheCounts)
{
    const SummaryCase cases[] = {
        {true, true, 0, 0, "The network was solved successfully.", false, false, false},
        {true, true, 1, 0, "Solved with 1 WARNING ***.", true, true, true},
        {true, true, 3, 0, "Solved with 3 WARNINGS ***.", true, true, true},
        {true, true, 1, 1, "Solved with 1 WARNING *** plus 1 comments", true, true, true},
        {true, true, 2, 5, "Solved with 2 WARNINGS *** plus 5 comments.", true, true, true},
        {true, true, 0, 4, "The network was solved successfully. The log contains 4 comments for review.", false,
         false, false},
        {true, false, 0, 0, "INVALID SOLUTION: The network was solved successfully.", false, false, false},
        {true, false, 2, 0, "INVALID SOLUTION: Solved with 2 WARNINGS ***.", true, true, true},
        {false, false, 3, 2, "The network was not solved.", true, false, true},
    };
    for (const SummaryCase &c : cases) {
        const TResultsSummary s = ResultsSummaryFor(c.Solved, c.SolutionOk, c.Warnings, c.Comments, false);
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(s.Text, c.Text);
        EXPECT_EQ(s.Yellow, c.Yellow);
        EXPECT_EQ(s.Red, c.Red);
        EXPECT_EQ(s.Bold, c.Bold);
        if (c.Solved)
            EXPECT_EQ(s.Text2, "The solution values are displayed on the drawing.");
    }
    EXPECT_EQ(ResultsSummaryFor(false, false, 0, 0, true).Text2,
              "The Final Pressure balance tolerance may be set too low.\r\rPlease review the details above and "
              "scroll to the end of the log.");
    EXPECT_EQ(ResultsSummaryFor(false, false, 0, 0, false).Text2,
              "Please review the log details above (scroll through for details).\r\rAnd then review the design of "
              "your system.");
}

TEST(ResultsLogForm, EachButtonHandsBackItsChoice)
{
    TResultsLogForm form;
    EXPECT_EQ(form.windowTitle(), "Results Log");
    form.SetLogLines({"first", " ", "last"});
    EXPECT_EQ(form.MemoLog->toPlainText(), "first\n \nlast");
    EXPECT_TRUE(form.MemoLog->isReadOnly());

    struct Choice {
        const char *Button;
        bool Sheet, Pdf;
    };
    for (const Choice &c : {Choice{"BitBtnViewDrawing", false, false}, Choice{"BitBtnViewResults", true, false},
                            Choice{"BitBtnCreatePDF", false, true}}) {
        SCOPED_TRACE(c.Button);
        bool sheet = !c.Sheet, pdf = !c.Pdf;
        form.ModalRunner = [&](TResultsLogForm &shown) {
            auto *button = shown.findChild<QPushButton *>(c.Button);
            ASSERT_NE(button, nullptr);
            EXPECT_FALSE(shown.ButtonOk->isVisibleTo(&shown));
            EXPECT_TRUE(button->isVisibleTo(&shown));
            QTest::mouseClick(button, Qt::LeftButton);
        };
        form.OpenForm(true, true, 1, 0, sheet, pdf);
        EXPECT_EQ(sheet, c.Sheet);
        EXPECT_EQ(pdf, c.Pdf);
        EXPECT_EQ(form.LabelResultsMessage->text(), "Solved with 1 WARNING ***.");
        EXPECT_EQ(form.LabelResultsMessage->palette().color(QPalette::WindowText), QColor(Qt::red));
        EXPECT_TRUE(form.LabelResultsMessage->font().bold());
    }

    // Not solved: only Ok, and nothing chosen.
    bool sheet = true, pdf = true;
    form.ModalRunner = [&](TResultsLogForm &shown) {
        EXPECT_FALSE(shown.BitBtnViewResults->isVisibleTo(&shown));
        EXPECT_TRUE(shown.ButtonOk->isVisibleTo(&shown));
        QTest::mouseClick(shown.ButtonOk, Qt::LeftButton);
    };
    form.OpenForm(false, false, 0, 0, sheet, pdf);
    EXPECT_FALSE(sheet);
    EXPECT_FALSE(pdf);
    EXPECT_EQ(form.LabelResultsMessage->text(), "The network was not solved.");
    EXPECT_EQ(form.LabelResultsMessage->palette().color(QPalette::Window), QColor(255, 255, 0));
}

} // namespace
} // namespace tessaran::test
