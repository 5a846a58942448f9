#include "model/Pipe_Nominal_Size_Set_Class.h"

#include "units/Calculations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tessaran {
namespace {

struct SizeRow {
    std::string material, schedule;
    double od_m, wall_m;
    int nominal = 0;
    double weight_kgm = 5.0;
};

// Appends rows to a database as one table would, with a material slot for
// the table.
void AddTable(TPipeNominalSizeSet &db, const std::vector<SizeRow> &rows, const std::string &file = "",
              const TWarningProc &warning = nullptr)
{
    TPipeDiameterSet set(static_cast<int>(rows.size()) + 1);
    for (const auto &r : rows) {
        TPipe pipe;
        pipe.Material = r.material;
        pipe.ScheduleClass = r.schedule;
        pipe.OuterDiameter_m = r.od_m;
        pipe.WallThickness_m = r.wall_m;
        pipe.InnerDiameter_m = r.od_m - 2 * r.wall_m;
        pipe.NominalDiameterMetric = r.nominal;
        pipe.NominalDiameterMetricString = std::to_string(r.nominal) + " mm";
        pipe.NominalDiameterImperialString = "NPS " + std::to_string(r.nominal);
        pipe.WeightPerMetre_kg = r.weight_kgm;
        set.AddPipeDiameterData(pipe);
    }
    db.AddOnPipeDiameterSetData(set, warning);
    if (!file.empty())
        db.AddToPipeMaterialSetData(rows.front().material, rows.front().schedule, file, warning);
}

TEST(PipeNominalSizeSet, RowsAndMaterialsAreStoredAsMatchKeys)
{
    TPipeNominalSizeSet db(10, 10);
    AddTable(db, {{"Carbon Steel", "Sch.40-X S", 0.060325, 0.003912, 50, 5.44}}, "cs40.trpi");
    const TPipeNominalSizeData row = db.getPipeNominalSizeData(1);
    EXPECT_EQ(row.Material, "carbonsteel");
    EXPECT_EQ(row.ScheduleClass, "sch40xs");
    EXPECT_DOUBLE_EQ(row.InnerDiameter_m, 0.060325 - 2 * 0.003912);
    EXPECT_DOUBLE_EQ(row.Density_lb_per_inch3,
                     calcMaterialDensityFromPipeWeight(0.060325 - 2 * 0.003912, 0.060325, 5.44));
    EXPECT_EQ(db.getPipeMaterialData(1).Material, "carbonsteel");
    EXPECT_EQ(db.getPipeMaterialData(1).PipeDataFilename, "cs40.trpi");
    // Out-of-range indexes give row 1.
    EXPECT_EQ(db.getPipeNominalSizeData(7).Material, "carbonsteel");
    EXPECT_TRUE(db.ExistsExactMaterialScheduleMatch("carbon steel", "sch40xs"));
    EXPECT_FALSE(db.ExistsExactMaterialScheduleMatch("carbonsteel", "sch40"));
}

TEST(PipeNominalSizeSet, OuterDiameterLookupRoundsToTheNearerSizeWithinItsBlock)
{
    TPipeNominalSizeSet db(10, 10);
    AddTable(db, {{"pvc", "150", 0.020, 0.001}});
    AddTable(db, {{"cs", "40", 0.060, 0.004}, {"cs", "40", 0.070, 0.004}});
    AddTable(db, {{"zz", "1", 0.100, 0.004}});
    struct Case {
        double od_mm;
        int row;
    } cases[] = {{64.9, 2}, {65.0, 2}, {65.1, 3}, {50, 2}, {80, 3}};
    for (const auto &c : cases)
        EXPECT_EQ(db.getODPipeNominalSizeSetIndex(c.od_mm / 1000, "cs", "40"), c.row) << c.od_mm;
    // Texts are compared as given: only keys match.
    EXPECT_EQ(db.getODPipeNominalSizeSetIndex(0.065, "CS", "40"), 4);
    EXPECT_EQ(db.getODPipeNominalSizeSetIndex(0.065, "none", "40"), 4);
}

TEST(PipeNominalSizeSet, InnerDiameterLookupTakesTheFirstLargerSizeOrTheBlocksLast)
{
    TPipeNominalSizeSet db(10, 10);
    AddTable(db, {{"pvc", "150", 0.020, 0.001}});
    AddTable(db, {{"cs", "40", 0.060, 0.004}, {"cs", "40", 0.070, 0.004}});
    AddTable(db, {{"zz", "1", 0.100, 0.004}});
    EXPECT_EQ(db.getIDPipeNominalSizeSetIndex(0.055, "C-S", "4.0"), 2);
    EXPECT_EQ(db.getIDPipeNominalSizeSetIndex(0.065, "cs", "40"), 3);
    EXPECT_EQ(db.getIDPipeNominalSizeSetIndex(0.075, "cs", "40"), 3);
    EXPECT_EQ(db.getIDPipeNominalSizeSetIndex(0.010, "copper", "k"), 4);
    TPipeNominalSizeSet empty(1, 1);
    EXPECT_EQ(empty.getIDPipeNominalSizeSetIndex(0.05, "cs", "40"), 0);
    EXPECT_EQ(empty.getODPipeNominalSizeSetIndex(0.05, "cs", "40"), 0);
}

TEST(PipeNominalSizeSet, MaterialAndScheduleChoiceByExactTextThenPrefixes)
{
    TPipeNominalSizeSet db(10, 10);
    AddTable(db, {{"Default", "Std", 0.1, 0.005}});
    AddTable(db, {{"Carbon Steel", "Sch 40", 0.06, 0.004}}, "cs40.trpi");
    AddTable(db, {{"Carbon Steel", "Sch 80", 0.06, 0.005}}, "cs80.trpi");
    AddTable(db, {{"PVC", "Class 150", 0.06, 0.003}}, "pvc.trpi");

    struct Case {
        std::string material, schedule, chosenMaterial, chosenSchedule, file;
    } cases[] = {
        {"Carbon-Steel", "Sch 4", "carbonsteel", "sch40", "cs40.trpi"},
        {"carbonsteel", "SCH80", "carbonsteel", "sch80", "cs80.trpi"},
        {"Carbon Steel Pipe", "Sch 80 heavy", "carbonsteel", "sch80", "cs80.trpi"},
        {"Carbonxx", "sch40", "carbonsteel", "sch40", "cs40.trpi"},
        {"PVC", "Class 150", "pvc", "class150", "pvc.trpi"},
        // Keys shorter than 3 characters match only exactly: the default
        // table's row 1 is taken, without a file.
        {"PV", "40", "default", "std", ""},
        {"pvc", "Sch 40", "default", "std", ""},
    };
    for (const auto &c : cases) {
        std::string m = "x", s = "x", f = "x";
        db.getMaterialAndScheduleString(c.material, c.schedule, m, s, f);
        EXPECT_EQ(m, c.chosenMaterial) << c.material << " / " << c.schedule;
        EXPECT_EQ(s, c.chosenSchedule) << c.material << " / " << c.schedule;
        EXPECT_EQ(f, c.file) << c.material << " / " << c.schedule;
    }

    TPipeNominalSizeSet empty(5, 5);
    std::string m = "x", s = "x", f = "x";
    empty.getMaterialAndScheduleString("cs", "40", m, s, f);
    EXPECT_EQ(m, "");
    EXPECT_EQ(s, "");
    EXPECT_EQ(f, "");
}

// Sizes chosen as binary fractions so that the 6 % bounds are met exactly.
class PipeMatching : public ::testing::Test {
protected:
    void SetUp() override
    {
        AddTable(db, {{"Default", "Std", 0.25, 0.01, 250}});
        AddTable(db, {{"CS", "40", 0.03125, 0.0078125, 25}, {"CS", "40", 0.0625, 0.0078125, 50, 7.0}}, "cs.trpi");
        // Another material right after the block, that an inner diameter
        // just above the last size would fit.
        AddTable(db, {{"ZZ", "1", 0.0664, 0.0078, 65}}, "zz.trpi");
    }

    struct Result {
        double wall = -1, od = -1, weight = -1;
        int nominal = -1;
        std::string metric = "caller", imperial = "caller";
        bool found = false;
    };
    Result Match(const std::string &material, const std::string &schedule, double id)
    {
        Result r;
        db.GetMatchingDiameterData(material, schedule, id, r.wall, r.od, r.weight, r.nominal, r.metric, r.imperial,
                                   r.found);
        return r;
    }

    TPipeNominalSizeSet db{10, 10};
};

TEST_F(PipeMatching, CompletesAPipeFromTheRowOfItsMaterialAndSize)
{
    const double id = 0.0625 - 2 * 0.0078125;
    const Result r = Match("C S", "4-0", id);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.wall, 0.0078125);
    EXPECT_EQ(r.od, 0.0625);
    EXPECT_EQ(r.nominal, 50);
    EXPECT_EQ(r.metric, "50 mm");
    EXPECT_EQ(r.imperial, "NPS 50");
    // The row's density gives back its weight for its own inner diameter.
    EXPECT_NEAR(r.weight, 7.0, 1e-9);
}

TEST_F(PipeMatching, TheSixPercentBoundIsExcludedAndNoOtherMaterialIsTaken)
{
    // The wall of the 62.5 mm row makes the outer diameter exactly 6 % above
    // that row's; the next row belongs to another material and must not be
    // used, and the default material is too large: no match.
    const double id = 1.06 * 0.0625 - 2 * 0.0078125;
    const Result r = Match("cs", "40", id);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.nominal, 250) << "the outputs keep the last row tried";

    // Just inside the bound it matches.
    const Result inside = Match("cs", "40", id - 1e-9);
    EXPECT_TRUE(inside.found);
    EXPECT_EQ(inside.nominal, 50);
}

TEST_F(PipeMatching, TheDefaultMaterialIsAFallbackHeldToTheSameTolerance)
{
    // Far above every CS size, but a default-table size.
    const Result r = Match("cs", "40", 0.23);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.nominal, 250);
    EXPECT_DOUBLE_EQ(r.od, 0.25);

    // Unknown schedule: the default row's material straight away.
    EXPECT_TRUE(Match("cs", "unknown", 0.23).found);
    EXPECT_FALSE(Match("cs", "unknown", 0.10).found);
}

TEST_F(PipeMatching, NominalSizesChangeOnlyOnAMatch)
{
    int mm = 7;
    std::string metric = "mine", imperial = "mine";
    bool updated = true;
    db.CalcNominalMetricSize(0.10, "cs", "unknown", mm, metric, imperial, updated);
    EXPECT_FALSE(updated);
    EXPECT_EQ(mm, 7);
    EXPECT_EQ(metric, "mine");

    db.CalcNominalMetricSize(0.0625 - 2 * 0.0078125, "cs", "40", mm, metric, imperial, updated);
    EXPECT_TRUE(updated);
    EXPECT_EQ(mm, 50);
    EXPECT_EQ(imperial, "NPS 50");

    TPipeNominalSizeSet empty(5, 5);
    Result r;
    empty.GetMatchingDiameterData("cs", "40", 0.05, r.wall, r.od, r.weight, r.nominal, r.metric, r.imperial, r.found);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.metric, "caller");
}

TEST(PipeNominalSizeSet, AppendsStopAtTheCapacityWithAWarning)
{
    TPipeNominalSizeSet db(1, 3);
    std::vector<std::string> warnings;
    auto sink = [&](const std::string &w) { warnings.push_back(w); };
    AddTable(db, {{"a", "1", 0.1, 0.01}, {"a", "1", 0.2, 0.01}}, "a.trpi", sink);
    AddTable(db, {{"b", "1", 0.1, 0.01}, {"b", "1", 0.2, 0.01}}, "b.trpi", sink);
    EXPECT_EQ(db.PipeCount, 3);
    EXPECT_EQ(db.getPipeNominalSizeData(3).Material, "b");
    EXPECT_EQ(db.MaterialCount, 1);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "Pipe Nominal Size set File too large. Max Pipes allowed in file is 3.\r");
    EXPECT_EQ(warnings[1], warnings[0]);
}

TEST(PipeNominalSizeSet, SortsRowsByMaterialScheduleAndSizeAndMaterialsByName)
{
    TPipeNominalSizeSet db(10, 10);
    AddTable(db, {{"def", "s", 0.9, 0.01}});
    AddTable(db, {{"pvc", "150", 0.2, 0.01}, {"pvc", "150", 0.1, 0.01}}, "pvc.trpi");
    AddTable(db, {{"cs", "80", 0.05, 0.01}}, "cs80.trpi");
    AddTable(db, {{"cs", "40", 1.5, 0.01}, {"cs", "40", 0.3, 0.01}}, "cs40.trpi");
    db.QuickSortPipeNominalSizeDataByMaterialScheduleOD(2, db.PipeCount);
    const std::vector<std::pair<std::string, double>> expected = {
        {"def", 0.9}, {"cs", 0.3}, {"cs", 1.5}, {"cs", 0.05}, {"pvc", 0.1}, {"pvc", 0.2}};
    for (int i = 1; i <= db.PipeCount; ++i) {
        EXPECT_EQ(db.getPipeNominalSizeData(i).Material, expected[i - 1].first) << i;
        EXPECT_EQ(db.getPipeNominalSizeData(i).OuterDiameter_m, expected[i - 1].second) << i;
    }
    db.BubbleSortPipeMaterialDataByMaterial();
    EXPECT_EQ(db.getPipeMaterialData(1).PipeDataFilename, "cs40.trpi");
    EXPECT_EQ(db.getPipeMaterialData(2).PipeDataFilename, "cs80.trpi");
    EXPECT_EQ(db.getPipeMaterialData(3).PipeDataFilename, "pvc.trpi");
}

class PipeTablesFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("tessaran_pipe_tables_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void Write(const std::string &name, const std::string &version, const std::vector<std::string> &rows)
    {
        std::ofstream out(folder / name, std::ios::binary);
        out << version << "~|~~|~\r\n";
        for (const auto &row : rows)
            out << row << "\r\n";
    }
    static std::string Row(const std::string &material, const std::string &schedule, const std::string &od_in,
                           int nominal, const std::string &metric = "")
    {
        const std::string sep = "~|~";
        std::string line = material + sep + schedule + sep + "0.0018" + sep + std::to_string(nominal) + sep;
        if (!metric.empty())
            line += metric + sep;
        return line + "NPS" + std::to_string(nominal) + sep + "0.1" + sep + od_in + sep + "3.0";
    }

    std::filesystem::path folder;
};

TEST_F(PipeTablesFolder, LoadsEveryKindInItsOrderAndSortsTheAddedRows)
{
    // Written in the opposite order of their names: the folder's own order
    // must not decide.
    Write("b_default.trpin", "1.05", {Row("Other", "X", "9", 9, "9 mm")});
    Write("a_default.trpin", "1.05",
          {Row("Default", "Std", "2.375", 50, "DN50"), Row("Default", "Std", "4.5", 100, "DN100")});
    Write("z_listed.trpil", "1.05", {Row("Steel", "Sch 80", "3.5", 80, "DN80")});
    Write("m_program.trpi", "1.05",
          {Row("Steel", "Sch 40", "4.5", 100, "DN100"), Row("Steel", "Sch 40", "2.375", 50, "DN50")});
    Write("c_program.trpi", "1.05", {Row("Copper", "K", "1.125", 25, "DN25")});
    Write("u_old.trpiu", "1.02", {Row("Mine", "A", "2.3", 7)});
    Write("v_new.trpiu", "1.05", {Row("Mine", "B", "2.3", 7, "own")});
    Write("notes.txt", "1.05", {"not a table"});

    TPipeNominalSizeSet db(500, 5000);
    std::vector<std::string> progress, warnings;
    db.LoadFromPipeDiameterSetData(folder.string(), [&](const std::string &t) { progress.push_back(t); },
                                   [&](const std::string &w) { warnings.push_back(w); });
    EXPECT_TRUE(warnings.empty()) << warnings.front();

    // Only the first default table, its rows in file order.
    ASSERT_EQ(db.LastDefaultPipeIndex, 2);
    EXPECT_EQ(db.getPipeNominalSizeData(1).NominalDiameterMetric, 50);
    EXPECT_EQ(db.getPipeNominalSizeData(2).NominalDiameterMetric, 100);
    ASSERT_EQ(db.PipeCount, 8);
    const std::vector<std::pair<std::string, int>> rows = {{"copper", 25}, {"mine", 50},    {"mine", 7},
                                                           {"steel", 50},  {"steel", 100}, {"steel", 80}};
    for (int i = 3; i <= 8; ++i) {
        EXPECT_EQ(db.getPipeNominalSizeData(i).Material, rows[i - 3].first) << i;
        EXPECT_EQ(db.getPipeNominalSizeData(i).NominalDiameterMetric, rows[i - 3].second) << i;
    }
    // The old user table takes its nominal sizes from the default table
    // (2.3 in fits the 2.375 in default size); the current one keeps its own.
    EXPECT_EQ(db.getPipeNominalSizeData(4).ScheduleClass, "a");
    EXPECT_EQ(db.getPipeNominalSizeData(4).NominalDiameterMetricString, "DN50");
    EXPECT_EQ(db.getPipeNominalSizeData(5).ScheduleClass, "b");
    EXPECT_EQ(db.getPipeNominalSizeData(5).NominalDiameterMetricString, "own");

    ASSERT_EQ(db.MaterialCount, 5);
    const std::vector<std::string> files = {"c_program.trpi", "u_old.trpiu", "v_new.trpiu", "m_program.trpi",
                                            "z_listed.trpil"};
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(db.getPipeMaterialData(i).PipeDataFilename, files[i - 1]) << i;

    const std::vector<std::string> expectedProgress = {
        "Loading Pipe Tables...",       "Loading: a_default.trpin",    "Loading: z_listed.trpil",
        "Loading: c_program.trpi",      "Loading: m_program.trpi",     "Loading: u_old.trpiu",
        "Loading: v_new.trpiu",         "Sorting Pipe Diameter Data...", "Sorting Pipe Material Data...", ""};
    EXPECT_EQ(progress, expectedProgress);
}

TEST_F(PipeTablesFolder, ADefaultTableAloneListsNoMaterialAndSortsNothing)
{
    Write("d.trpin", "1.05", {Row("D", "S", "4.5", 100, "a"), Row("D", "S", "2.375", 50, "b")});
    TPipeNominalSizeSet db(5, 50);
    db.LoadFromPipeDiameterSetData(folder.string(), nullptr, nullptr);
    EXPECT_EQ(db.PipeCount, 2);
    EXPECT_EQ(db.LastDefaultPipeIndex, 2);
    EXPECT_EQ(db.MaterialCount, 0);
    EXPECT_EQ(db.getPipeNominalSizeData(1).NominalDiameterMetric, 100);
}

TEST_F(PipeTablesFolder, FailuresAreReportedToTheCallerNotRaised)
{
    TPipeNominalSizeSet db(5, 50);
    std::vector<std::string> warnings;
    auto sink = [&](const std::string &w) { warnings.push_back(w); };
    const std::string missing = (folder / "nowhere").string();
    EXPECT_NO_THROW(db.LoadFromPipeDiameterSetData(missing, nullptr, sink));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Error reading Pipe database files.\r\rPlease check read/write file permissions on:\r" +
                               missing);

    // A damaged header line ends the load; rows already added stay.
    warnings.clear();
    Write("a.trpi", "1.05", {Row("A", "1", "1", 1, "x")});
    {
        std::ofstream bad(folder / "b.trpi", std::ios::binary);
        bad << "no header here\r\n";
    }
    db.LoadFromPipeDiameterSetData(folder.string(), nullptr, sink);
    EXPECT_EQ(db.PipeCount, 1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find((folder / "b.trpi").string()), std::string::npos);
}

TEST(PipeNominalSizeSet, SavesRowsAsEightFieldLines)
{
    TPipeNominalSizeSet db(2, 2);
    AddTable(db, {{"Carbon Steel", "Sch 40", 0.060325, 0.0039116, 50}});
    std::ostringstream out;
    db.SaveToTextPipeNominalSizeData(out);
    EXPECT_EQ(out.str(), "carbonsteel~|~sch40~|~0.000000~|~50~|~50 mm~|~NPS 50~|~0.154~|~2.375\r\n");
}

} // namespace
} // namespace tessaran
