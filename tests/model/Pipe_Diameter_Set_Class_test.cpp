#include "model/Pipe_Diameter_Set_Class.h"

#include "model/Pipe_Table_Text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessaran {
namespace {

const std::string Sep = "~|~";

// A row line of a current table: material, schedule, roughness (in),
// nominal mm, metric text, imperial text, wall (in), OD (in), weight (lb/ft).
std::string Row(const std::string &material, const std::string &schedule, const std::string &od_in,
                const std::string &wall_in = "0.154", int nominal = 50)
{
    return material + Sep + schedule + Sep + "0.0018" + Sep + std::to_string(nominal) + Sep + "DN" +
           std::to_string(nominal) + Sep + "2\"" + Sep + wall_in + Sep + od_in + Sep + "3.65";
}

TEST(PipeSizeRow, ReadsEveryFieldInSiUnitsUnderEitherDecimalSeparator)
{
    for (const char *od : {"2.375", "2,375"}) {
        TPipe pipe;
        bool ok = false;
        pipe.LoadDiameterDataFromLine(Row("Carbon Steel", "Sch 40", od), "tables/cs40.trpi", "1.05", ok);
        ASSERT_TRUE(ok) << od;
        EXPECT_EQ(pipe.Material, "Carbon Steel");
        EXPECT_EQ(pipe.ScheduleClass, "Sch 40");
        EXPECT_DOUBLE_EQ(pipe.OuterDiameter_m, 0.060325);
        EXPECT_DOUBLE_EQ(pipe.WallThickness_m, 0.154 * 0.0254);
        EXPECT_DOUBLE_EQ(pipe.InnerDiameter_m, 0.060325 - 2 * 0.154 * 0.0254);
        EXPECT_DOUBLE_EQ(pipe.InnerRoughness_m, 0.0018 * 0.0254);
        EXPECT_NEAR(pipe.WeightPerMetre_kg, 3.65 * 0.45359237 / 0.3048, 1e-12);
        EXPECT_EQ(pipe.NominalDiameterMetric, 50);
        EXPECT_EQ(pipe.NominalDiameterMetricString, "DN50");
        EXPECT_EQ(pipe.NominalDiameterImperialString, "2\"");
        EXPECT_EQ(pipe.PipeDataFilename, "tables/cs40.trpi");
    }
}

TEST(PipeSizeRow, OldTablesHaveNoMetricTextAndTakeItFromTheNominalSize)
{
    TPipe pipe;
    bool ok = false;
    const std::string line = "PVC" + Sep + "Class 150" + Sep + "0.00006" + Sep + "50" + Sep + "2\"" + Sep + "0.1" +
                             Sep + "2.375" + Sep + "0.5";
    pipe.LoadDiameterDataFromLine(line, "pvc.trpi", "1.02", ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(pipe.NominalDiameterMetricString, "50 mm");
    EXPECT_EQ(pipe.NominalDiameterImperialString, "2\"");
    EXPECT_DOUBLE_EQ(pipe.OuterDiameter_m, 0.060325);

    // The same 8 fields read as a current table lack their ninth field.
    pipe.LoadDiameterDataFromLine(line, "pvc.trpi", "1.05", ok);
    EXPECT_FALSE(ok);
}

TEST(PipeSizeRow, ALineThatDoesNotParseClearsThePipe)
{
    const std::string cases[] = {
        Row("CS", "40", "2.375", "thin"),                      // wall not a number
        Row("CS", "40", "2.375x"),                             // trailing characters
        Row("CS", "40", "2.37.5"),                             // two separators
        Row("CS", "40", "2.375").substr(0, 30),                // separators missing
        Row("CS", "40", "0"),                                  // no outer diameter
        Row("CS", "40", "0.2", "0.154"),                       // a wall wider than the bore
        Row("CS", "40", "2.375", "-0.1"),                      // negative wall
        "CS" + Sep + "40" + Sep + "-0.0018" + Sep + "50" + Sep + "a" + Sep + "b" + Sep + "0.1" + Sep + "2" + Sep + "3",
        "CS" + Sep + "40" + Sep + "0.0018" + Sep + "50" + Sep + "a" + Sep + "b" + Sep + "0.1" + Sep + "2" + Sep + "-3",
        "CS" + Sep + "40" + Sep + "0" + Sep + "fifty" + Sep + "a" + Sep + "b" + Sep + "1" + Sep + "2" + Sep + "3",
        "",
    };
    for (const auto &line : cases) {
        TPipe pipe;
        pipe.Name = "kept?";
        pipe.Length_m = 12;
        bool ok = true;
        pipe.LoadDiameterDataFromLine(line, "f.trpi", "1.05", ok);
        EXPECT_FALSE(ok) << line;
        EXPECT_EQ(pipe.Name, "") << line;
        EXPECT_EQ(pipe.Length_m, 0) << line;
        EXPECT_EQ(pipe.Material, "") << line;
    }
}

TEST(PipeSizeRow, ANewMaterialsPlaceholderRowLoadsWithoutASize)
{
    // Negative nominal size, no wall and no outside diameter: the one row of a
    // user material that has no sizes yet.
    TPipe pipe;
    bool ok = false;
    pipe.LoadDiameterDataFromLine("HDPE~|~PE100~|~0.0000600~|~-1~|~~|~~|~0~|~0~|~0", "UserMaterial1.trpi", "1.05",
                                  ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(pipe.Material, "HDPE");
    EXPECT_EQ(pipe.ScheduleClass, "PE100");
    EXPECT_EQ(pipe.NominalDiameterMetric, -1);
    EXPECT_EQ(pipe.OuterDiameter_m, 0);

    // A real size still needs a real bore, and a placeholder still needs a sane roughness.
    pipe.LoadDiameterDataFromLine("HDPE~|~PE100~|~0.0000600~|~50~|~~|~~|~0~|~0~|~0", "f.trpi", "1.05", ok);
    EXPECT_FALSE(ok);
    pipe.LoadDiameterDataFromLine("HDPE~|~PE100~|~-0.0000600~|~-1~|~~|~~|~0~|~0~|~0", "f.trpi", "1.05", ok);
    EXPECT_FALSE(ok);
}

TEST(PipeSizeRow, WritesSevenSignificantDigitsWithNineDecimalsAndReadsBack)
{
    TPipe pipe;
    bool ok = false;
    pipe.LoadDiameterDataFromLine(Row("Carbon Steel", "Sch 40", "2.375"), "a.trpi", "1.05", ok);
    ASSERT_TRUE(ok);
    const std::string line = pipe.DiameterDataLine();
    EXPECT_EQ(line, "Carbon Steel~|~Sch 40~|~0.001800000~|~50~|~DN50~|~2\"~|~0.154000000~|~2.375000000~|~"
                    "3.650000000");
    EXPECT_EQ(TableRealText(123.456789, 7, 9), "123.456800000");
    EXPECT_EQ(TableRealText(-0.0000001, 7, 3), "0.000");

    std::ostringstream out;
    pipe.SaveDiameterDataToText(out);
    EXPECT_EQ(out.str(), line + "\r\n");
    TPipe again;
    std::istringstream in(out.str());
    again.LoadDiameterDataFromText(in, "a.trpi", "1.05", ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(again.DiameterDataLine(), line);
}

// A material or schedule that holds the field separator (as a pipe read
// from a network file may) is written so that the row still loads, and a
// text cut to its width never ends in half a separator.
TEST(PipeSizeRow, TextsHoldingTheSeparatorAreWrittenSoTheRowLoads)
{
    TPipe pipe;
    bool ok = false;
    pipe.LoadDiameterDataFromLine(Row("Carbon Steel", "Sch 40", "2.375"), "a.trpi", "1.05", ok);
    ASSERT_TRUE(ok);
    pipe.Material = "Steel ~|~ black";
    pipe.ScheduleClass = "Sch~|";
    pipe.NominalDiameterImperialString = "2~|~in";
    const std::string line = pipe.DiameterDataLine();
    TPipe again;
    again.LoadDiameterDataFromLine(line, "a.trpi", "1.05", ok);
    ASSERT_TRUE(ok) << line;
    EXPECT_EQ(again.Material, "Steel ~!~ black");
    EXPECT_EQ(again.ScheduleClass, "Sch~!");
    EXPECT_EQ(again.NominalDiameterImperialString, "2~!~in");
    EXPECT_DOUBLE_EQ(again.OuterDiameter_m, pipe.OuterDiameter_m);
    EXPECT_EQ(again.DiameterDataLine(), line);

    // A schedule cut at its 20 characters right after "~|" keeps only "~".
    again.LoadDiameterDataFromLine(Row("Carbon Steel", std::string(18, 's') + "~|x", "2.375"), "a.trpi", "1.05", ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(again.ScheduleClass, std::string(18, 's') + "~");
}

TEST(PipeDiameterSet, RemoveClosesTheGapAndRefusesIdsOutsideTheRows)
{
    TPipeDiameterSet set(5);
    for (const char *name : {"one", "two", "three"}) {
        TPipe pipe;
        pipe.Name = name;
        set.AddPipeDiameterData(pipe);
    }
    set.SetPipeFileType(3, PipeFileTessaran);
    set.RemovePipeDiameterData(2);
    EXPECT_EQ(set.PipeCount, 2);
    EXPECT_EQ(set.GetPipeDiameterData(1).Name, "one");
    EXPECT_EQ(set.GetPipeDiameterData(2).Name, "three");
    EXPECT_EQ(set.GetPipeDiameterFileType(2), PipeFileTessaran);
    EXPECT_EQ(set.GetPipeDiameterData(3).Name, "");
    for (int id : {0, 3, -1}) {
        try {
            set.RemovePipeDiameterData(id);
            ADD_FAILURE() << id;
        } catch (const EPipeDiameterSetClass &e) {
            EXPECT_STREQ(e.what(), "TPipeDiameterSet.RemovePipeDiameterData Failed: Specified Id may not be valid");
        }
    }
    EXPECT_THROW(set.GetPipeDiameterData(6), EPipeDiameterSetClass);
}

TEST(PipeDiameterSet, AddToAFullSetRaisesAndChangesNothing)
{
    TPipeDiameterSet set(2);
    TPipe pipe;
    EXPECT_EQ(set.AddPipeDiameterData(pipe), 1);
    EXPECT_EQ(set.GetPipeDiameterFileType(1), PipeFileUser);
    EXPECT_EQ(set.AddPipeDiameterData(pipe), 2);
    try {
        set.AddPipeDiameterData(pipe);
        ADD_FAILURE();
    } catch (const EPipeDiameterSetClass &e) {
        EXPECT_STREQ(e.what(),
                     "TPipeDiameterSet.AddPipeDiameterData Failed: May have reached Max number of Pipes allowed");
    }
    EXPECT_EQ(set.PipeCount, 2);
}

TEST(PipeDiameterSet, BadRowsAreSkippedAndReportedWithTheirLineNumbers)
{
    std::ostringstream file;
    file << Row("CS", "40", "1.315") << "\r\n"
         << Row("CS", "40", "1.660", "oops") << "\r\n"
         << Row("CS", "40", "1.900") << "\r\n"
         << "\r\n"
         << Row("CS", "40", "2.375");
    std::istringstream in(file.str());
    TPipeDiameterSet set(10);
    std::vector<std::string> warnings;
    set.LoadFromText_DiameterData(in, "cs.trpi", "1.05", [&](const std::string &w) { warnings.push_back(w); });
    ASSERT_EQ(set.PipeCount, 3);
    EXPECT_DOUBLE_EQ(set.GetPipeDiameterData(2).OuterDiameter_m, 1.9 * 0.0254);
    EXPECT_DOUBLE_EQ(set.GetPipeDiameterData(3).OuterDiameter_m, 2.375 * 0.0254);
    for (int id = 1; id <= 3; ++id)
        EXPECT_EQ(set.GetPipeDiameterFileType(id), PipeFileTessaran);
    // The header is line 1 of the file, so the damaged row is line 3; the
    // blank line is not a row and passes without a word.
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Line 3 of cs.trpi is not a valid pipe size row and was skipped.");
}

TEST(PipeDiameterSet, AnOverfullTableKeepsTheRowsThatFitAndWarns)
{
    std::ostringstream file;
    for (int i = 0; i < 4; ++i)
        file << Row("CS", "40", std::to_string(1 + i)) << "\r\n";

    struct Case {
        bool user;
        std::string warning;
        TPipeFileType type;
    } cases[] = {
        {false, "File too large. Max Pipes allowed in file is 3.\r", PipeFileTessaran},
        {true, "Too many pipes in file big.trpi. Ignore remaining data in file.", PipeFileUser},
    };
    for (const auto &c : cases) {
        std::istringstream in(file.str());
        TPipeDiameterSet set(3);
        std::vector<std::string> warnings;
        auto sink = [&](const std::string &w) { warnings.push_back(w); };
        if (c.user)
            set.LoadUserPipes_DiameterData_FromText(in, "big.trpi", "1.05", sink);
        else
            set.LoadFromText_DiameterData(in, "big.trpi", "1.05", sink);
        EXPECT_EQ(set.PipeCount, 3);
        EXPECT_DOUBLE_EQ(set.GetPipeDiameterData(3).OuterDiameter_m, 3 * 0.0254);
        EXPECT_EQ(set.GetPipeDiameterFileType(1), c.type);
        EXPECT_EQ(warnings, std::vector<std::string>{c.warning});
    }

    // Exactly full is no overflow.
    std::ostringstream three;
    for (int i = 0; i < 3; ++i)
        three << Row("CS", "40", std::to_string(1 + i)) << "\r\n";
    std::istringstream in(three.str());
    TPipeDiameterSet set(3);
    std::vector<std::string> warnings;
    set.LoadFromText_DiameterData(in, "f.trpi", "1.05", [&](const std::string &w) { warnings.push_back(w); });
    EXPECT_EQ(set.PipeCount, 3);
    EXPECT_TRUE(warnings.empty());
}

TEST(PipeDiameterSet, LoadsAppendAndSavesSplitRowsByTheirList)
{
    TPipeDiameterSet set(10);
    std::istringstream program(Row("CS", "40", "1.315") + "\r\n" + Row("CS", "40", "1.660") + "\r\n");
    std::istringstream user(Row("Copper", "K", "0.625") + "\r\n");
    set.LoadFromText_DiameterData(program, "cs.trpi", "1.05", nullptr);
    set.LoadUserPipes_DiameterData_FromText(user, "mine.trpiu", "1.05", nullptr);
    ASSERT_EQ(set.PipeCount, 3);

    std::ostringstream programOut, userOut;
    set.SaveToText_DiameterData(programOut);
    set.SaveUserPipes_DiameterData_ToText(userOut);
    EXPECT_EQ(programOut.str(), set.GetPipeDiameterData(1).DiameterDataLine() + "\r\n" +
                                    set.GetPipeDiameterData(2).DiameterDataLine() + "\r\n");
    EXPECT_EQ(userOut.str(), set.GetPipeDiameterData(3).DiameterDataLine() + "\r\n");

    std::ostringstream broken;
    broken.setstate(std::ios::badbit);
    try {
        set.SaveUserPipes_DiameterData_ToText(broken);
        ADD_FAILURE();
    } catch (const EPipeDiameterSetClass &e) {
        EXPECT_STREQ(e.what(), "Code -03a: Could not save file.");
    }
    EXPECT_THROW(set.SaveToText_DiameterData(broken), EPipeDiameterSetClass);
}

TEST(PipeDiameterSet, SortOrdersRowsByOuterDiameterEitherWay)
{
    TPipeDiameterSet set(5);
    for (double od : {0.2, 0.05, 0.1}) {
        TPipe pipe;
        pipe.OuterDiameter_m = od;
        set.AddPipeDiameterData(pipe);
    }
    set.SortPipeSet(true);
    EXPECT_EQ(set.GetPipeDiameterData(1).OuterDiameter_m, 0.05);
    EXPECT_EQ(set.GetPipeDiameterData(3).OuterDiameter_m, 0.2);
    set.SortPipeSet(false);
    EXPECT_EQ(set.GetPipeDiameterData(1).OuterDiameter_m, 0.2);
    EXPECT_EQ(set.GetPipeDiameterData(3).OuterDiameter_m, 0.05);
}

} // namespace
} // namespace tessaran
