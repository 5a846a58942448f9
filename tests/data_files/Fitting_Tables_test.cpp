#include "Shipped_Data_Folder.h"

#include "model/FileHeader.h"
#include "model/Fitting_Set_Class.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tessaran::test {
namespace {

class ShippedFittings : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ifstream file = OpenShipped(ShippedDataFolder() / std::string(TFittingSet::FittingTablesFolder) /
                                         std::string(TFittingSet::StandardFittingsFileName));
        ASSERT_TRUE(file.is_open());
        header.LoadFromText(file);
        ASSERT_EQ(database.LoadFromTextWithoutQuantity(file), "");
    }

    TFileHeader header;
    TFittingSet database{5000};
};

TEST_F(ShippedFittings, StartWithTheFortyFourNominalSizesInTheManagersOrder)
{
    const int sizes[] = {6,   7,   8,   9,   10,  12,  15,  18,   20,   22,   25,   32,   40,   50,   65,
                         80,  90,  100, 125, 150, 200, 250, 300,  350,  380,  400,  450,  500,  550,  600,
                         650, 700, 750, 800, 850, 900, 950, 1000, 1050, 1200, 1400, 1500, 1800, 2100};
    EXPECT_EQ(header.VersionReference, "1.02");
    int plain = 0;
    for (int id = 1; id <= database.FittingCount; ++id)
        if (database.GetFitting(id).ImageIndex == 0) {
            ASSERT_LT(plain, 44);
            EXPECT_EQ(id, plain + 1) << "plain sizes come first";
            EXPECT_EQ(database.GetFitting(id).MetricSize, sizes[plain]);
            ++plain;
        }
    EXPECT_EQ(plain, 44);
}

TEST_F(ShippedFittings, EverySizeHasItsBendsValvesEntranceAndExitWithSensibleK)
{
    std::map<int, std::set<std::string>> typesBySize;
    for (int id = 45; id <= database.FittingCount; ++id) {
        const TFitting &fitting = database.GetFitting(id);
        ASSERT_EQ(database.GetFittingFileType(id), FittingFileTessaran);
        EXPECT_GT(fitting.KValue, 0.0) << fitting.Description;
        EXPECT_LT(fitting.KValue, 25.0) << fitting.Description;
        if (fitting.MetricSize > 0)
            typesBySize[fitting.MetricSize].insert(fitting.PartTypeStr);
    }
    ASSERT_EQ(typesBySize.size(), 44u);
    for (const auto &[size, types] : typesBySize)
        for (const char *type : {"Elb90", "Elb90LR", "Elb45", "Elb45LR", "TeeRun", "TeeBr", "Gate", "Globe", "Ball",
                                 "Plug", "SwChk", "LiftChk", "Entr", "ExitCon"})
            EXPECT_TRUE(types.count(type)) << type << " at " << size << " mm";

    // K = n f_T falls as the size grows; 4 in standard elbow about 30 x 0.017.
    TFitting elbow;
    elbow.PartTypeStr = "Elb90";
    bool found = false;
    database.GetFittingSameTypeNewSize(FittingFileTessaran, 100, elbow, found);
    ASSERT_TRUE(found);
    EXPECT_EQ(elbow.MetricSize, 100);
    EXPECT_NEAR(elbow.KValue, 30 * 0.017, 0.03);
}

TEST_F(ShippedFittings, ValvesAreCountedAsValvesAndContractionsAndExpansionsMatchByName)
{
    TFittingSet pipe(5);
    auto first = [&](const std::string &type, int size) {
        for (int id = 1; id <= database.FittingCount; ++id)
            if (database.GetFitting(id).PartTypeStr == type && database.GetFitting(id).MetricSize == size)
                return database.GetFitting(id);
        ADD_FAILURE() << type << " " << size;
        return TFitting();
    };
    pipe.AddFitting(first("Gate", 50), 1, EntryFitting);
    pipe.AddFitting(first("SwChk", 50), 1, ExitFitting);
    pipe.AddFitting(first("SuCon", 0), 1, EntryFitting);
    pipe.AddFitting(first("GrEn", 0), 1, ExitFitting);
    pipe.AddFitting(first("Elb90", 50), 1, EntryFitting);
    EXPECT_EQ(pipe.countEntryFittingsValves(), 1);
    EXPECT_EQ(pipe.countExitFittingsValves(), 1);
    EXPECT_EQ(pipe.countContractionFittings(), 1);
    EXPECT_EQ(pipe.countExpansionFittings(), 1);
    EXPECT_EQ(pipe.countBespokeNominalSizeZeroFittings(), 2);
    EXPECT_EQ(pipe.GetFittingSetSymbolType(true, true), FittingSetSymbolBendAndValve);
}

} // namespace
} // namespace tessaran::test
