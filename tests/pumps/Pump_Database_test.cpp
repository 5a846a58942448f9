#include "pumps/Pump_Database_Class.h"

#include "network/Network_Class.h"
#include "platform/Stream.h"

#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace tessaran {
namespace {

namespace fs = std::filesystem;

constexpr double Water = 998.2;

const fs::path SamplePump =
    fs::path(TESSARAN_SOURCE_DIR) / "data" / "Pumps" / "End Suction 2900 rpm" / "ES_50-160_2900.trpm";

// A library root "Pumps" in a fresh temporary folder.
class PumpLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = fs::temp_directory_path() /
                ("tessaran-pumps-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base_);
        root_ = base_ / "Pumps";
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(base_); }

    void addPump(const fs::path &relative)
    {
        fs::create_directories((root_ / relative).parent_path());
        fs::copy_file(SamplePump, root_ / relative);
    }
    void addFile(const fs::path &relative, const std::string &bytes)
    {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << bytes;
    }
    std::vector<std::string> indexed(const TPumpDatabase &db)
    {
        std::vector<std::string> paths;
        for (int i = 1; i <= db.pumpCount; ++i)
            paths.push_back(db.Entry(i).RelativeFilePath);
        return paths;
    }

    fs::path base_;
    fs::path root_;
};

TEST_F(PumpLibrary, IndexesThreeLevelsSubFoldersFirstAndOwnPumpsLast)
{
    addPump("Top/own.trpm");
    addPump("Top/B/b1.trpm");
    addPump("Top/A/a2.trpm");
    addPump("Top/A/a1.trpm");
    addPump("Top/A/Deep/d.trpm");
    addPump("Top/A/Deep/Deeper/too_deep.trpm"); // below the third level
    addPump("Top/.hidden/h.trpm");              // hidden folders are passed over
    addFile("Top/A/notes.txt", "not a pump");
    fs::create_directories(root_ / "Top/A/folder.trpm"); // a folder, not a pump file

    TPumpDatabase db;
    int errorCode = -1;
    std::string error, message;
    db.IndexBuild((root_ / "Top").string(), Water, errorCode, error, message);

    EXPECT_EQ(errorCode, 0);
    EXPECT_EQ(error, "");
    EXPECT_EQ(message, "");
    EXPECT_EQ(db.topFolderName, "Top");
    EXPECT_EQ(indexed(db), (std::vector<std::string>{"/Top/A/a1.trpm", "/Top/A/a2.trpm", "/Top/A/Deep/d.trpm",
                                                      "/Top/B/b1.trpm", "/Top/own.trpm"}));
    const TPumpIndexItem &deep = db.Entry(3);
    EXPECT_EQ(deep.FolderName, "Deep");
    EXPECT_EQ(deep.Filename, "d.trpm");
    EXPECT_EQ(fs::path(db.GetFullPathFromRelativePath(deep.RelativeFilePath)), root_ / "Top/A/Deep/d.trpm");
    // Loaded with curves fitted, and no curve image kept in memory.
    EXPECT_FALSE(deep.Pump.Name.empty());
    EXPECT_GT(deep.Pump.calcPumpHead_mHd_Fluid(0, Water), 0);
    EXPECT_FALSE(deep.Pump.ImportedPumpSheet.Imported);

    QTreeWidget tree;
    db.TreeViewBuildFromIndex(tree);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    const QTreeWidgetItem *top = tree.topLevelItem(0);
    EXPECT_EQ(top->text(0), "Top");
    ASSERT_EQ(top->childCount(), 3); // A, B and the top folder's own pump
    const QTreeWidgetItem *a = top->child(0);
    EXPECT_EQ(a->text(0), "A");
    ASSERT_EQ(a->childCount(), 3); // a1, a2 and the folder Deep
    EXPECT_EQ(a->child(2)->text(0), "Deep");
    EXPECT_EQ(a->child(2)->child(0)->data(0, PumpTreePathRole).toString(), "/Top/A/Deep/d.trpm");
    EXPECT_EQ(a->child(2)->child(0)->data(0, PumpTreeImageRole).toInt(), 1);
    EXPECT_EQ(top->child(2)->text(0), "own.trpm");

    std::vector<std::string> tops;
    TPumpDatabase::TStringsBuildTopLevelFoldersBasedOnFileSystem(tops, root_.string());
    EXPECT_EQ(tops, std::vector<std::string>{"Top"});
    QTreeWidget folders;
    TPumpDatabase::TreeViewBuildFoldersBasedOnFileSystem(folders, root_.string());
    EXPECT_EQ(folders.topLevelItem(0)->text(0), "Pumps");
    ASSERT_EQ(folders.topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(folders.topLevelItem(0)->child(0)->childCount(), 1); // only own.trpm lies directly in Top

    // Rebuilding after a clear starts again from nothing.
    db.IndexClear();
    EXPECT_EQ(db.pumpCount, 0);
    EXPECT_EQ(db.folderPath, "");
}

TEST_F(PumpLibrary, AFileThatIsNoPumpIsListedClearedAndAFolderInsideNamedPumpsChangesNothing)
{
    addFile("Top/broken.trpm", std::string("\x05" "junk", 5));
    addPump("Top/Pumps/inner.trpm");
    TPumpDatabase db;
    int errorCode = -1;
    std::string error, message;
    db.IndexBuild((root_ / "Top").string(), Water, errorCode, error, message);
    EXPECT_EQ(errorCode, 0) << error;
    ASSERT_EQ(db.pumpCount, 2);
    EXPECT_EQ(db.Entry(1).RelativeFilePath, "/Top/Pumps/inner.trpm");
    EXPECT_FALSE(db.Entry(1).Pump.Name.empty());
    EXPECT_EQ(db.Entry(2).Filename, "broken.trpm");
    EXPECT_EQ(db.Entry(2).Pump.PumpFileVersionString, ""); // a cleared pump
}

TEST_F(PumpLibrary, StopsAtAThousandPumpsWithTheLimitMessage)
{
    addPump("Top/Sub/p0000.trpm");
    for (int i = 1; i <= 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%04d.trpm", i);
        fs::create_symlink(root_ / "Top/Sub/p0000.trpm", root_ / "Top/Sub" / name);
    }
    addPump("Top/own.trpm");
    TPumpDatabase db;
    int errorCode = -1;
    std::string error, message;
    const std::string folder = (root_ / "Top").string();
    db.IndexBuild(folder, Water, errorCode, error, message);
    EXPECT_EQ(errorCode, 0);
    EXPECT_EQ(db.pumpCount, 1000);
    EXPECT_EQ(db.Entry(1000).Filename, "p0999.trpm");
    EXPECT_EQ(message, "Maximum Limit of 1000 pumps have been loaded from: \r\r" + folder +
                           "\r\rThis pump library folder may contain additional pumps that have not been loaded. "
                           "\r\rSplit the pump library folder into more top level folders to correct this issue.\r");
}

// The searches on one sample pump, its duty taken from its own curve at a
// slower speed so that every search has something to find.
class PumpSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMemoryStream stream;
        stream.LoadFromFile(SamplePump.string());
        TPump &pump = db_.Entry(1).Pump;
        pump.Load(stream, PumpCurrentFileVersion, Water, true);
        pump.calcPumpCurves(Water);
        db_.Entry(1).Filename = "sample.trpm";
        db_.pumpCount = 1;
        pump.PumpSpeedMinRpm = 1000;
        pump.PumpSpeedMaxRpm = 3000;
        pump.PumpImpellerDiameterMin_m = pump.ImpellerDiameter_m * 0.8;
        pump.PumpImpellerDiameterMax_m = pump.ImpellerDiameter_m;
        // A duty on the full impeller's curve at 2500 rpm.
        bool valid = true;
        pump.UpdateRunningDataForSpeedAndImpellerDiameter2(2500, pump.PumpImpellerDiameterMax_m, Water, valid);
        flow_m3s_ = pump.PumpPoints.Points[pump.PumpPoints.PointsCount].Flow_m3s * 0.5;
        head_ = pump.calcPumpHead_mHd_Fluid(flow_m3s_, Water);
    }

    enum Search { Fastest, Largest, Best };
    // Returns the rows written; the pump is left at the row's speed and diameter.
    int search(Search which, int speedMin, int speedMax, TFlowPreference preference = FlowNoPreference,
               double head = 0)
    {
        grid_ = TStringGrid();
        int row = 2;
        const double h = head > 0 ? head : head_;
        const double flow_kgs = flow_m3s_ * Water;
        switch (which) {
        case Fastest:
            db_.IndexFindMatchingPumpsFastestSpeedAddToStringGrid(flow_kgs, unt_m3_hour, h, unt_m_hd_fluid, unt_mm,
                                                                   speedMin, speedMax, Water, preference, 1,
                                                                   network_, grid_, row);
            break;
        case Largest:
            db_.IndexFindMatchingPumpsLargestDiameterAddToStringGrid(flow_kgs, unt_m3_hour, h, unt_m_hd_fluid, unt_mm,
                                                                      speedMin, speedMax, Water, preference, 1,
                                                                      network_, grid_, row);
            break;
        case Best:
            db_.IndexFindMatchingPumpsBestEfficiencyAddToStringGrid(flow_kgs, unt_m3_hour, h, unt_m_hd_fluid, unt_mm,
                                                                     speedMin, speedMax, Water, preference, 1,
                                                                     network_, grid_, row);
            break;
        }
        db_.AddPumpRowHeaderToStringGrid(grid_, network_); // in the units the search set
        return row - 2;
    }
    TPump &pump() { return db_.Entry(1).Pump; }

    TPumpDatabase db_;
    TNetwork network_;
    TStringGrid grid_;
    double flow_m3s_ = 0;
    double head_ = 0;
};

TEST_F(PumpSearch, EachSearchMeetsTheDutyAtItsOwnSpeed)
{
    ASSERT_EQ(search(Fastest, 1000, 2955), 1);
    const int fastest = pump().Speed_rpm;
    EXPECT_NEAR(pump().calcPumpHead_mHd_Fluid(flow_m3s_, Water), head_, 0.01 * head_);
    EXPECT_EQ(grid_.Cell(0, 2), "1");
    EXPECT_EQ(grid_.Cell(1, 2), "sample.trpm");
    EXPECT_EQ(grid_.Cell(3, 2), std::to_string(fastest));
    EXPECT_EQ(grid_.Cell(5, 1), unitName(unt_m3_hour));
    // From 2955 the speeds tried are 2955, 2940, 2930 ...: the fastest is at most 2955, whole tens below it.
    EXPECT_TRUE(fastest == 2955 || fastest % 10 == 0) << fastest;
    EXPECT_GT(fastest, 2500);

    ASSERT_EQ(search(Largest, 1005, 3000), 1);
    const int slowest = pump().Speed_rpm;
    EXPECT_TRUE(slowest == 1005 || slowest % 10 == 0) << slowest;
    // The lowest speed that reaches the duty needs the largest impeller: about 2500 rpm.
    EXPECT_NEAR(slowest, 2500, 10);
    EXPECT_LT(slowest, fastest);

    ASSERT_EQ(search(Best, 1000, 3000), 1);
    EXPECT_GE(pump().Speed_rpm, slowest);
    EXPECT_LE(pump().Speed_rpm, fastest);

    // A range of one speed tries exactly that speed.
    ASSERT_EQ(search(Fastest, 2700, 2700), 1);
    EXPECT_EQ(pump().Speed_rpm, 2700);
}

TEST_F(PumpSearch, PumpsThatCannotMeetTheDutyGiveNoRow)
{
    // Just the full impeller's head at the top speed is not enough: it must exceed the duty.
    bool valid = true;
    pump().UpdateRunningDataForSpeedAndImpellerDiameter2(2000, pump().PumpImpellerDiameterMax_m, Water, valid);
    const double exactHead = pump().calcPumpHead_mHd_Fluid(flow_m3s_, Water);
    EXPECT_EQ(search(Fastest, 1000, 2000, FlowNoPreference, exactHead), 0);
    EXPECT_EQ(search(Fastest, 1000, 2010, FlowNoPreference, exactHead), 1);

    // A base speed outside the pump's own range never qualifies.
    const int base = pump().BaseDataSpeed_rpm;
    pump().PumpSpeedMaxRpm = base - 1;
    EXPECT_EQ(search(Largest, 1000, 3000), 0);
    pump().PumpSpeedMaxRpm = 3000;

    // Where the duty flow lies against the best-efficiency flow.
    double bep = 0, best = 0;
    const TQuadraticCurves &efficiency = pump().PumpEfficiencyCurve;
    efficiency.CalculateXAtMaxY(bep, best, 0, efficiency.CurvePoints[efficiency.PointsCount].X);
    const bool dutyLeftOfBep = flow_m3s_ * Water < bep;
    EXPECT_EQ(search(Fastest, 1000, 3000, FlowLeftOfBEP), dutyLeftOfBep ? 1 : 0);
    EXPECT_EQ(search(Fastest, 1000, 3000, FlowRightOfBEP), dutyLeftOfBep ? 0 : 1);
}

TEST(PumpDatabaseGrid, SelectedEntriesListedInIndexOrder)
{
    TPumpDatabase db;
    db.pumpCount = 3;
    db.impellerDiameterUnit = unt_mm;
    for (int i = 1; i <= 3; ++i) {
        db.Entry(i).Filename = "p" + std::to_string(i) + ".trpm";
        db.Entry(i).Pump.PumpImpellerDiameterMax_m = 0.2;
    }
    db.Entry(1).Selected = true;
    db.Entry(3).Selected = true;
    TStringGrid grid;
    int finish = 0;
    db.PopulateStringGridPumpDataSelected(TNetwork(), grid, 0, finish);
    EXPECT_EQ(finish, 3);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(4, 1), "mm");
    EXPECT_EQ(grid.Cell(0, 2), "1");
    EXPECT_EQ(grid.Cell(0, 3), "3");
    EXPECT_EQ(grid.Cell(15, 3), "200.000");
    EXPECT_EQ(grid.ColWidth(0), 0);
}

} // namespace
} // namespace tessaran
