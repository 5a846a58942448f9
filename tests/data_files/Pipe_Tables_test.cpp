#include "Shipped_Data_Folder.h"

#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

namespace tessaran::test {
namespace {

int RowLines(const std::filesystem::path &path)
{
    std::ifstream file = OpenShipped(path);
    int lines = 0;
    while (HasAnotherTextLine(file)) {
        ReadTextLine(file);
        ++lines;
    }
    return lines - 1; // the header line
}

class ShippedPipeTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        database.LoadFromPipeDiameterSetData(
            (ShippedDataFolder() / "PipeTables").string(), [](const std::string &) {},
            [this](const std::string &warning) { warnings.push_back(warning); });
    }

    TPipeNominalSizeSet database{500, 5000};
    std::vector<std::string> warnings;
};

TEST_F(ShippedPipeTables, EveryRowOfEveryTableLoadsWithoutAWarning)
{
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    const auto defaults = ShippedFiles("PipeTables", ".trpin");
    const auto tables = ShippedFiles("PipeTables", ".trpi");
    ASSERT_EQ(defaults.size(), 1u);
    int rows = RowLines(defaults.front());
    EXPECT_EQ(database.LastDefaultPipeIndex, rows);
    for (const auto &table : tables)
        rows += RowLines(table);
    EXPECT_EQ(database.PipeCount, rows);
    EXPECT_EQ(database.MaterialCount, static_cast<int>(tables.size()));
    EXPECT_EQ(database.FileHeader.VersionReference, "1.05");

    for (int i = 1; i <= database.PipeCount; ++i) {
        const TPipeNominalSizeData row = database.getPipeNominalSizeData(i);
        EXPECT_GT(row.InnerDiameter_m, 0.0) << i;
        EXPECT_GT(row.InnerRoughness_m, 0.0) << i;
        // Weight per metre came back as a density between plastics and copper.
        EXPECT_GT(row.Density_lb_per_inch3, 0.03) << i;
        EXPECT_LT(row.Density_lb_per_inch3, 0.33) << i;
        if (i > database.LastDefaultPipeIndex && i < database.PipeCount) {
            const TPipeNominalSizeData next = database.getPipeNominalSizeData(i + 1);
            if (next.Material == row.Material && next.ScheduleClass == row.ScheduleClass)
                EXPECT_GT(next.OuterDiameter_m, row.OuterDiameter_m) << row.Material << " " << row.ScheduleClass;
        }
    }
}

TEST_F(ShippedPipeTables, APipeIsCompletedFromItsMaterialScheduleAndInnerDiameter)
{
    struct Case {
        const char *Material, *Schedule;
        double Inner_mm, Outer_mm, Wall_mm;
        int Nominal;
    } cases[] = {
        {"Steel ANSI", "Sch 40", 102.26, 114.3, 6.02, 100},
        {"Steel ANSI", "Sch 80", 97.18, 114.3, 8.56, 100},
        {"Stainless Steel", "Sch 10S", 54.79, 60.325, 2.77, 50},
        {"Copper", "Type L", 26.04, 28.575, 1.27, 25},
        {"PVC", "Sch 40", 52.50, 60.325, 3.91, 50},
        {"PE100", "SDR 11", 90.0, 110.0, 10.0, 110},
        {"Ductile Iron", "K9", 311.6, 326.0, 7.2, 300},
    };
    for (const Case &c : cases) {
        double wall = 0, outer = 0, weight = 0;
        int nominal = 0;
        std::string metric, imperial;
        bool found = false;
        database.GetMatchingDiameterData(c.Material, c.Schedule, c.Inner_mm / 1000, wall, outer, weight, nominal,
                                         metric, imperial, found);
        EXPECT_TRUE(found) << c.Material;
        EXPECT_EQ(nominal, c.Nominal) << c.Material << " " << c.Schedule;
        EXPECT_NEAR(wall * 1000, c.Wall_mm, 0.01) << c.Material << " " << c.Schedule;
        EXPECT_NEAR(outer * 1000, c.Outer_mm, 0.05) << c.Material << " " << c.Schedule;
        EXPECT_GT(weight, 0.0);
    }
}

TEST_F(ShippedPipeTables, DefaultTableListsTheStandardSizesFromTheSmallest)
{
    const TPipeNominalSizeData first = database.getPipeNominalSizeData(1);
    EXPECT_EQ(first.Material, "steelansi");
    EXPECT_EQ(first.NominalDiameterMetric, 6);
    EXPECT_EQ(first.NominalDiameterImperialString, "1/8\"");
    for (int i = 2; i <= database.LastDefaultPipeIndex; ++i)
        EXPECT_GT(database.getPipeNominalSizeData(i).OuterDiameter_m,
                  database.getPipeNominalSizeData(i - 1).OuterDiameter_m);
}

} // namespace
} // namespace tessaran::test
