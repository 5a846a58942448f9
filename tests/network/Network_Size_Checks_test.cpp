#include "network/Network_Class.h"

#include "Network_Fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaran {
namespace {

using test::AddJoint;
using test::NewNetwork;

std::string BreakLine()
{
    TResultsLog log;
    LogAddBreakLine(log);
    return log[0];
}

// A pipe between two new joints, with the given inner diameter and wall.
int AddSizedPipe(TNetwork &network, double inner_m, double wall_m, double outer_m)
{
    const int from = AddJoint(network, 0, 0);
    const int to = AddJoint(network, 100, 0);
    TPipe pipe;
    pipe.Length_m = 10;
    pipe.InnerDiameter_m = inner_m;
    pipe.WallThickness_m = wall_m;
    pipe.OuterDiameter_m = outer_m;
    pipe.Material = "CS";
    pipe.ScheduleClass = "40";
    return network.AddPipeLink(from, to, pipe);
}

TFitting MakeFitting(int metricSize, const std::string &partType, const std::string &metric,
                     const std::string &imperial, double k = 0.5)
{
    TFitting fitting;
    fitting.SetFittingData(metricSize, 1, partType, metric, imperial, partType + " description", k);
    return fitting;
}

// One pipe-size table of carbon steel, schedule 40: 25 and 50 mm rows.
void AddCarbonSteelTable(TPipeNominalSizeSet &db)
{
    TPipeDiameterSet set(4);
    for (auto [od, wall, nominal] : {std::tuple{0.03125, 0.0078125, 25}, std::tuple{0.0625, 0.0078125, 50}}) {
        TPipe row;
        row.Material = "CS";
        row.ScheduleClass = "40";
        row.OuterDiameter_m = od;
        row.WallThickness_m = wall;
        row.InnerDiameter_m = od - 2 * wall;
        row.NominalDiameterMetric = nominal;
        row.NominalDiameterMetricString = std::to_string(nominal) + " mm nominal size text long";
        row.NominalDiameterImperialString = "NPS " + std::to_string(nominal);
        row.WeightPerMetre_kg = 5.0;
        set.AddPipeDiameterData(row);
    }
    db.AddOnPipeDiameterSetData(set, nullptr);
    db.AddToPipeMaterialSetData("CS", "40", "cs40.trpi", nullptr);
}

TEST(NetworkSizeChecks, InconsistentOuterDiametersAreReportedOnceWithAHeaderAndEachPipe)
{
    auto network = NewNetwork();
    AddSizedPipe(*network, 0.1, 0.005, 0.11);  // consistent
    const int bad = AddSizedPipe(*network, 0.1, 0.005, 0.2);
    AddSizedPipe(*network, 0.05, 0.002, 0.3);

    TResultsLog log;
    bool ok = true;
    network->CheckPipeSizesConsistent(ok, log, false);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.Count(), 0);

    network->CheckPipeSizesConsistent(ok, log, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(log.Count(), 9);
    EXPECT_EQ(log[0], " ");
    EXPECT_EQ(log[1], "Note: Model contains some inconsistent outer diameter data");
    EXPECT_EQ(log[2], BreakLine());
    EXPECT_EQ(log[6], "Fitting sizes are checked against the nominal pipe size (which may not be correct).");
    EXPECT_EQ(log[7], "Pipe " + std::to_string(bad) + ": ID=100.000, Wall Thickness=5.000 => not consistent with OD=200.000");

    auto consistent = NewNetwork();
    AddSizedPipe(*consistent, 0.1, 0.005, 0.11);
    TResultsLog none;
    consistent->CheckPipeSizesConsistent(ok, none, true);
    EXPECT_TRUE(ok);
    EXPECT_EQ(none.Count(), 0);
}

TEST(NetworkSizeChecks, RepairTakesTheTableRowOrKeepsTheWallAndRecomputesTheOuterDiameter)
{
    TPipeNominalSizeSet db(10, 10);
    AddCarbonSteelTable(db);
    auto network = NewNetwork();
    // Inner diameter of the 50 mm row, wrong outer diameter: the row is found.
    const int matched = AddSizedPipe(*network, 0.0625 - 2 * 0.0078125, 0.001, 0.5);
    // Far from every row: the wall stays and the outer diameter follows it.
    const int unmatched = AddSizedPipe(*network, 0.2, 0.004, 0.5);
    const int fine = AddSizedPipe(*network, 0.1, 0.005, 0.11);

    TResultsLog log;
    network->UpdatePipeWallThicknessAndOuterDiameters(db, log, true);

    const TPipe &a = network->GetPipe(matched);
    EXPECT_DOUBLE_EQ(a.WallThickness_m, 0.0078125);
    EXPECT_DOUBLE_EQ(a.OuterDiameter_m, 0.0625);
    EXPECT_EQ(a.NominalDiameterMetric, 50);
    EXPECT_EQ(a.NominalDiameterMetricString, "50 mm nominal size t") << "cut to 20 characters";
    const TPipe &b = network->GetPipe(unmatched);
    EXPECT_DOUBLE_EQ(b.WallThickness_m, 0.004);
    EXPECT_DOUBLE_EQ(b.OuterDiameter_m, 0.208);
    EXPECT_EQ(network->GetPipe(fine).OuterDiameter_m, 0.11);

    ASSERT_EQ(log.Count(), 5);
    EXPECT_EQ(log[1], "Update inconsistent pipe data");
    EXPECT_EQ(log[2], BreakLine());
    EXPECT_EQ(log[3], "Pipe " + std::to_string(matched) +
                          ": ID=46.875 mm, updated Wall Thickness=7.813 mm, new OD=62.500 mm (50 mm nominal size t)");
    EXPECT_EQ(log[4].rfind("Pipe " + std::to_string(unmatched) +
                               ": ID=200.000 mm, existing Wall Thickness=4.000 mm, updated OD=208.000 mm (",
                           0),
              0u)
        << log[4];
    bool ok = false;
    network->CheckPipeSizesConsistent(ok, log, false);
    EXPECT_TRUE(ok);
}

TEST(NetworkSizeChecks, NominalSizesFollowTheTablesOnlyOnAMatch)
{
    TPipeNominalSizeSet db(10, 10);
    AddCarbonSteelTable(db);
    auto network = NewNetwork();
    const int matched = AddSizedPipe(*network, 0.03125 - 2 * 0.0078125, 0.0078125, 0.03125);
    const int unmatched = AddSizedPipe(*network, 0.9, 0.01, 0.92);
    network->GetPipe(unmatched).NominalDiameterMetric = 7;
    network->GetPipe(unmatched).NominalDiameterMetricString = "mine";

    network->UpdateNominalPipeSizes(db);
    EXPECT_EQ(network->GetPipe(matched).NominalDiameterMetric, 25);
    EXPECT_EQ(network->GetPipe(matched).NominalDiameterImperialString, "NPS 25");
    EXPECT_EQ(network->GetPipe(matched).NominalDiameterMetricString.size(), 20u);
    EXPECT_EQ(network->GetPipe(unmatched).NominalDiameterMetric, 7);
    EXPECT_EQ(network->GetPipe(unmatched).NominalDiameterMetricString, "mine");
}

TEST(NetworkSizeChecks, DiameterDataMatchAllowsATenthOfAMillimetre)
{
    struct Case {
        double inner, wall, outer;
        bool ok;
    };
    for (const Case c : {Case{0.1, 0.005, 0.11, true}, Case{0.1, 0.005, 0.1101, true}, Case{0.1, 0.005, 0.1099, true},
                         Case{0.1, 0.005, 0.11011, false}, Case{0.1, 0.0, 0.0998, false}}) {
        auto network = NewNetwork();
        AddSizedPipe(*network, 0.1, 0.005, 0.11);
        AddSizedPipe(*network, c.inner, c.wall, c.outer);
        EXPECT_EQ(network->CheckDiameterDataMatchOk(), c.ok) << c.outer;
    }
    EXPECT_TRUE(NewNetwork()->CheckDiameterDataMatchOk());
}

class FittingSizes : public ::testing::Test {
protected:
    void SetUp() override
    {
        network = NewNetwork();
        standard = AddSizedPipe(*network, 0.05, 0.005, 0.06);
        TPipe &pipe = network->GetPipe(standard);
        pipe.NominalDiameterMetric = 50;
        pipe.NominalDiameterMetricString = "50 mm";
        pipe.FittingSet.AddFitting(MakeFitting(25, "Elbow", "25 mm", "1\""), 2, EntryFitting);
        pipe.FittingSet.AddFitting(MakeFitting(50, "Gate", "50 mm", "2\""), 1, EntryFitting);
        pipe.FittingSet.AddFitting(MakeFitting(25, "Tee", "25 mm", "1\""), 1, ExitFitting);

        bespoke = AddSizedPipe(*network, 0.05, 0.005, 0.06);
        TPipe &other = network->GetPipe(bespoke);
        other.NominalDiameterMetric = 50;
        other.NominalDiameterMetricString = "50 mm";
        other.FittingSet.AddFitting(MakeFitting(0, "SuCon", "", ""), 1, ExitFitting);
        other.FittingSet.AddFitting(MakeFitting(25, "Elbow", "25 mm", "1\""), 1, EntryFitting);
        other.FittingSet.AddFitting(MakeFitting(50, "Gate", "50 mm", "2\""), 1, EntryFitting);

        // The standard list has a 50 mm elbow; the user's list a 50 mm tee,
        // which must not be taken.
        for (const TFitting &f : {MakeFitting(50, "Elbow", "50 mm", "2\"", 0.3), MakeFitting(25, "Elbow", "25 mm", "1\"")}) {
            const int id = database.AddFitting(f, 1, EntryFitting);
            database.SetFittingFileType(id, FittingFileTessaran);
        }
        database.AddFitting(MakeFitting(50, "Tee", "50 mm", "2\""), 1, EntryFitting);
    }

    std::unique_ptr<TNetwork> network;
    TFittingSet database{10};
    int standard = 0, bespoke = 0;
};

TEST_F(FittingSizes, MismatchesAreLoggedExceptOnPipesWithBespokeFittings)
{
    TResultsLog log;
    bool ok = true;
    network->CheckFittingSizesConsistent(ok, log, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(log.Count(), 7);
    EXPECT_EQ(log[1], "Remaining Inconsistent Fitting Sizes");
    EXPECT_EQ(log[2], BreakLine());
    const std::string pipe = "Pipe " + std::to_string(standard) + ", Size 50 mm: ";
    EXPECT_EQ(log[5], pipe + "Fitting Size 1\" (25 mm): Elbow(Elbow description)");
    EXPECT_EQ(log[6], pipe + "Fitting Size 1\" (25 mm): Tee(Tee description)");
}

TEST_F(FittingSizes, StandardFittingsAreReplacedFromTheStandardListOnly)
{
    TResultsLog log;
    network->UpdateFittingsToMatchPipeSizes(database, log, true);
    const TFittingSet &set = network->GetPipe(standard).FittingSet;
    EXPECT_EQ(set.GetFitting(1).MetricSize, 50);
    EXPECT_DOUBLE_EQ(set.GetFitting(1).KValue, 0.3);
    EXPECT_EQ(set.GetQuantity(1), 2) << "the quantity stays";
    EXPECT_EQ(set.GetFitting(3).MetricSize, 25) << "no standard tee of the size: kept";
    // The pipe with a bespoke fitting keeps all of them.
    EXPECT_EQ(network->GetPipe(bespoke).FittingSet.GetFitting(2).MetricSize, 25);

    ASSERT_EQ(log.Count(), 4);
    EXPECT_EQ(log[1], "Update Fitting Sizes to match nominal pipe sizes");
    EXPECT_EQ(log[3], "Pipe " + std::to_string(standard) +
                          " (50 mm) =>  Updated Fitting: .....Elbow now 2\" (50 mm) was 1\" (25 mm)");

    TResultsLog remaining;
    bool ok = true;
    network->CheckFittingSizesConsistent(ok, remaining, true);
    EXPECT_FALSE(ok);
    EXPECT_EQ(remaining.Count(), 6);
}

TEST_F(FittingSizes, BespokeFittingsAreListedWithTheirStandardCompanions)
{
    TResultsLog log;
    network->ReportBespokeFittings(log);
    ASSERT_EQ(log.Count(), 8);
    EXPECT_EQ(log[1], "Note:");
    EXPECT_EQ(log[6], BreakLine());
    EXPECT_EQ(log[7], "Pipe " + std::to_string(bespoke) +
                          ", Size 50 mm: contains 1 Bespoke Fittings (SuCon) plus 2 Std Fittings");

    auto alone = NewNetwork();
    const int id = AddSizedPipe(*alone, 0.05, 0.005, 0.06);
    alone->GetPipe(id).FittingSet.AddFitting(MakeFitting(0, "SuCon", "", ""), 1, ExitFitting);
    alone->GetPipe(id).FittingSet.AddFitting(MakeFitting(-1, "GrEn", "", ""), 1, ExitFitting);
    TResultsLog only;
    alone->ReportBespokeFittings(only);
    EXPECT_EQ(only[only.Count() - 1], "Pipe " + std::to_string(id) + ", Size : contains 2 Bespoke Fittings (SuCon, GrEn)");
}

// Contraction and expansion fittings on a chain of pipes; each case builds
// its own chain: a -> b -> c, optionally with a branch at b's end.
TEST(NetworkSizeChecks, ContractionAndExpansionFittingsMustSitBeforeTheirChangeOfSize)
{
    struct Case {
        const char *name;
        const char *partType;
        TFittingPosition position;
        double first, second; // inner diameters of the checked pipe and the next one
        bool branch;          // a second pipe leaves the end node
        bool last;            // the checked pipe has no pipe after it
        bool ok;
        std::string message; // with P the checked pipe, Q the one after or before it
    };
    const std::vector<Case> cases = {
        {"contraction before a smaller pipe", "SuCon", ExitFitting, 0.1, 0.05, false, false, true, ""},
        {"contraction before a larger pipe", "GrCon", ExitFitting, 0.1, 0.15, false, false, false,
         "Pipe P: Contraction Fitting found and following Pipe Q diameter does not reduce in size."},
        {"contraction at the end", "SuCon", ExitFitting, 0.1, 0.05, false, true, false,
         "Pipe P: Contraction Fitting found but there is no pipe downstream."},
        {"contraction before a branch", "SuCon", ExitFitting, 0.1, 0.05, true, false, false,
         "Pipe P: Contraction Fitting found but there are multiple pipes downstream."},
        {"expansion before a larger pipe", "SuEn", ExitFitting, 0.05, 0.1, false, false, true, ""},
        {"expansion before a smaller pipe", "GrEn", ExitFitting, 0.1, 0.05, false, false, false,
         "Pipe P: Expansion Fitting found and following Pipe Q diameter does not increase in size."},
        {"expansion at the end", "SuEn", ExitFitting, 0.05, 0.1, false, true, false,
         "Pipe P: Expansion Fitting found but there is no pipe downstream."},
    };
    for (const Case &c : cases) {
        auto network = NewNetwork();
        const int n1 = AddJoint(*network, 0, 0), n2 = AddJoint(*network, 100, 0), n3 = AddJoint(*network, 200, 0);
        TPipe pipe;
        pipe.Length_m = 1;
        pipe.InnerDiameter_m = c.first;
        pipe.FittingSet.AddFitting(MakeFitting(0, c.partType, "", ""), 1, c.position);
        const int p = network->AddPipeLink(n1, n2, pipe);
        int q = 0;
        if (!c.last) {
            TPipe next;
            next.Length_m = 1;
            next.InnerDiameter_m = c.second;
            q = network->AddPipeLink(n2, n3, next);
        }
        if (c.branch) {
            TPipe branch;
            branch.InnerDiameter_m = c.second;
            network->AddPipeLink(n2, AddJoint(*network, 100, 100), branch);
        }
        std::string expected = c.message;
        if (auto at = expected.find("Pipe P"); at != std::string::npos)
            expected.replace(at, 6, "Pipe " + std::to_string(p));
        if (auto at = expected.find("Pipe Q"); at != std::string::npos)
            expected.replace(at, 6, "Pipe " + std::to_string(q));

        bool ok = !c.ok;
        std::string message = "stale";
        if (std::string(c.partType).find("Con") != std::string::npos) {
            network->CheckPipeFittingsContractionsOk(1, ok, message);
            bool other = false;
            std::string otherMessage;
            network->CheckPipeFittingsExpansionsOk(1, other, otherMessage);
            EXPECT_TRUE(other) << c.name;
        } else {
            network->CheckPipeFittingsExpansionsOk(1, ok, message);
        }
        EXPECT_EQ(ok, c.ok) << c.name;
        EXPECT_EQ(message, expected) << c.name;
    }
}

TEST(NetworkSizeChecks, AFittingAtThePipeStartBelongsOnThePriorPipeWhenTheSizeChangesThere)
{
    struct Case {
        const char *partType;
        double prior, checked;
        std::string message;
    };
    for (const Case &c : {Case{"SuCon", 0.1, 0.05, ": Contraction Fitting probably on wrong pipe (should be on the "
                                                   "larger diameter prior Pipe "},
                          Case{"SuCon", 0.05, 0.1, ""},
                          Case{"GrEn", 0.05, 0.1, ": Expansion Fitting probably on wrong pipe (should be on the "
                                                  "smaller diameter prior Pipe "},
                          Case{"GrEn", 0.1, 0.05, ""}}) {
        auto network = NewNetwork();
        const int n1 = AddJoint(*network, 0, 0), n2 = AddJoint(*network, 100, 0), n3 = AddJoint(*network, 200, 0);
        const int n4 = AddJoint(*network, 300, 0);
        TPipe prior;
        prior.InnerDiameter_m = c.prior;
        const int r = network->AddPipeLink(n1, n2, prior);
        TPipe checked;
        checked.InnerDiameter_m = c.checked;
        checked.FittingSet.AddFitting(MakeFitting(0, c.partType, "", ""), 1, EntryFitting);
        const int p = network->AddPipeLink(n2, n3, checked);
        // After the pipe a size that satisfies the downstream rule.
        TPipe next;
        next.InnerDiameter_m = c.partType[2] == 'C' ? 0.01 : 0.5;
        network->AddPipeLink(n3, n4, next);

        bool ok = false;
        std::string message;
        if (c.partType[2] == 'C')
            network->CheckPipeFittingsContractionsOk(2, ok, message);
        else
            network->CheckPipeFittingsExpansionsOk(2, ok, message);
        EXPECT_EQ(ok, c.message.empty()) << c.partType << c.prior;
        EXPECT_EQ(message, c.message.empty() ? "" : "Pipe " + std::to_string(p) + c.message + std::to_string(r) + ").");
    }
}

TEST(NetworkSizeChecks, PlacementChecksOfALinkOutsideTheTablePass)
{
    auto network = NewNetwork();
    bool ok = false;
    std::string message = "x";
    network->CheckPipeFittingsContractionsOk(1, ok, message);
    EXPECT_TRUE(ok);
    EXPECT_EQ(message, "");
}

} // namespace
} // namespace tessaran
