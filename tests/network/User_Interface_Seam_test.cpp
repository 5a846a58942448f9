#include "network/User_Interface_Seam.h"

#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

using namespace tessaran;

TEST(StringGrid, KeepsCellsWhenResizedAndReadsOutsideAsEmpty)
{
    TStringGrid grid(2, 2);
    grid.SetCell(1, 1, "b");
    grid.SetRow(0, {"Heading", "Unit"});
    grid.SetSize(3, 4);
    EXPECT_EQ(grid.Cell(1, 1), "b");
    EXPECT_EQ(grid.Cell(0, 0), "Heading");
    EXPECT_EQ(grid.Cell(5, 9), "");
    EXPECT_THROW(grid.SetCell(3, 0, "x"), std::out_of_range);
    grid.SetColWidth(2, 120);
    EXPECT_EQ(grid.ColWidth(2), 120);
    EXPECT_EQ(grid.Row(0), (std::vector<std::string>{"Heading", "Unit", ""}));
}

TEST(ScriptedUserInterface, AnswersFromTheScriptThenNo)
{
    test::TScriptedUserInterface ui;
    ui.Answers = {true};
    EXPECT_TRUE(ui.AskYesNo(TMessageKind::Confirmation, "Reverse?"));
    EXPECT_FALSE(ui.AskYesNo(TMessageKind::Confirmation, "Reverse?"));
    ui.ShowMessage(TMessageKind::Warning, "w");
    ASSERT_EQ(ui.Messages.size(), 3u);
    EXPECT_TRUE(ui.Messages[0].Question);
    EXPECT_EQ(ui.Messages[2].Kind, TMessageKind::Warning);
}

TEST(ResultsLog, NotifiesEveryAddedLine)
{
    TResultsLog log;
    std::vector<std::string> seen;
    log.OnLineAdded = [&](const std::string &line) { seen.push_back(line); };
    log.Add(">>> Warning: x");
    log.Add(" ");
    EXPECT_EQ(log.Count(), 2);
    EXPECT_EQ(seen, log.Lines);
}
