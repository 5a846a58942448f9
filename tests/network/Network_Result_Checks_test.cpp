#include "network/Network_Class.h"

#include "Network_Fixture.h"

#include "units/Unit_Format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tessaran {
namespace {

using test::NewNetwork;

std::string BreakLine()
{
    TResultsLog log;
    LogAddBreakLine(log);
    return log[0];
}

bool Contains(const TResultsLog &log, const std::string &line)
{
    return std::find(log.Lines.begin(), log.Lines.end(), line) != log.Lines.end();
}

int CountOf(const TResultsLog &log, const std::string &line)
{
    return static_cast<int>(std::count(log.Lines.begin(), log.Lines.end(), line));
}

TFitting Fitting(double k)
{
    TFitting f;
    f.SetFittingData(100, 1, "Elbow", "100 mm", "4\"", "", k);
    return f;
}

// A solved supply tank feeding a joint that discharges: nothing to report.
struct SolvedChain {
    SolvedChain()
    {
        TFluid &water = network->FluidZones[1].Fluid;
        water.FluidIsGas = false;
        water.density_kgs_m3 = 1000;
        water.vapourPressure_bar_a = network->ConfigOptions.Atmosphere_bar_a;
        tank = AddNode(Tank, "Supply", 0);
        joint = AddNode(Joint, "Outlet", 1.0);
        network->GetNode(joint).JointDischarge_m3s = 0.01;
        TPipe pipe;
        pipe.Name = "Main";
        pipe.Length_m = 10;
        pipe.InnerDiameter_m = 0.1;
        pipe.Velocity_ms = 1.0;
        pipe.FlowUncompressed_m3s = 0.01;
        pipe.FittingSet.AddFitting(Fitting(0.5), 1, EntryFitting);
        pipeId = network->AddPipeLink(tank, joint, pipe);
    }
    int AddNode(TNodeType type, const std::string &name, double pressure_bar_g)
    {
        TNode node;
        node.NodeType = type;
        node.Name = name;
        node.Pressure_Bar_g = pressure_bar_g;
        node.IsPressureSet = true;
        return network->AddNode(node);
    }
    TResultsLog Run(bool &solved)
    {
        TResultsLog log;
        network->CheckResults(log, solved, network->WarningCount);
        return log;
    }
    TResultsLog Run()
    {
        bool solved = true;
        return Run(solved);
    }
    std::unique_ptr<TNetwork> network = NewNetwork();
    int tank = 0, joint = 0, pipeId = 0;
};

TEST(CheckResults, ACleanSolvedNetworkHasNoIssues)
{
    SolvedChain chain;
    bool solved = true;
    const TResultsLog log = chain.Run(solved);
    EXPECT_TRUE(solved);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{BreakLine(), "Checking Network...", "No issues to report.",
                                                   BreakLine(), " "}));
    EXPECT_EQ(chain.network->WarningCount, 0);
    EXPECT_EQ(chain.network->CommentCount, 0);
}

TEST(CheckResults, AnUnsolvedNetworkWithoutWarningsEndsPlainly)
{
    SolvedChain chain;
    bool solved = false;
    TResultsLog log = chain.Run(solved);
    EXPECT_FALSE(solved);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{BreakLine(), "Checking Network...",
                                                   "Check completed. Nothing further to report.", BreakLine(), " "}));

    // Not converging adds its suggestions.
    chain.network->CalculationOverflowCount = 1;
    log = chain.Run(solved);
    EXPECT_EQ(log[3], "*** Flow and pressure calculations did not converge to a balanced condition:");
    EXPECT_EQ(log[log.Count() - 3], "Check completed. Nothing further to report.");
}

TEST(CheckResults, ANodeWithoutPipesIsReportedAndItsPressureCleared)
{
    SolvedChain chain;
    const int lonely = chain.AddNode(Joint, "Lonely", 5.0);
    chain.network->GetNode(lonely).IsPressureSet = false;
    bool solved = true;
    const TResultsLog log = chain.Run(solved);
    EXPECT_TRUE(solved);
    const std::string id = std::to_string(lonely);
    EXPECT_TRUE(Contains(log, "Node " + id + ", Lonely is not connected to any other node in the network."));
    EXPECT_TRUE(Contains(log, "Pressure was not calculated at 1 'Isolated' nodes:"));
    EXPECT_TRUE(Contains(log, "Node Id " + id + ", Lonely, Isolated - Pressure at node set to zero."));
    EXPECT_EQ(chain.network->GetNode(lonely).Pressure_Bar_g, 0);
    EXPECT_EQ(chain.network->WarningCount, 2);
    EXPECT_EQ(CountOf(log, ">>> Warning:"), 2);
    EXPECT_EQ(std::vector<std::string>(log.Lines.end() - 3, log.Lines.end()),
              (std::vector<std::string>{" ", BreakLine(), " "}));
}

TEST(CheckResults, AJointWithoutACalculatedPressureIsAProblem)
{
    SolvedChain chain;
    chain.network->GetNode(chain.joint).IsPressureSet = false;
    bool solved = true;
    const TResultsLog log = chain.Run(solved);
    EXPECT_FALSE(solved);
    const auto at = std::find(log.Lines.begin(), log.Lines.end(), ">>> PROBLEM:");
    ASSERT_NE(at, log.Lines.end());
    EXPECT_NE(*(at - 1), " ") << "no warning header before it";
    EXPECT_EQ(*(at + 1), "Pressure was not calculated at 1 'Joint' nodes:");
    EXPECT_EQ(*(at + 2), "Node Id " + std::to_string(chain.joint) + ", Outlet ***");
    EXPECT_EQ(*(at + 3), "An additional Pressure Reference within this part of the system is required.");
    EXPECT_EQ(chain.network->GetNode(chain.joint).Pressure_Bar_g, 1.0) << "a connected joint keeps its pressure";
}

TEST(CheckResults, EqualDemandsInAndOutCancel)
{
    struct Case {
        double in, out;
        bool warned;
    };
    for (const Case c : {Case{2, 2, true}, Case{2, 3, false}, Case{0, 0, false}}) {
        SolvedChain chain;
        chain.network->GetNode(chain.joint).JointSupply_kgs = c.in;
        chain.network->GetNode(chain.joint).JointDischarge_kgs = c.out;
        const TResultsLog log = chain.Run();
        EXPECT_EQ(Contains(log, "Note: Demand flows do not control the flow rate in a pipe like a flow control valve does."),
                  c.warned)
            << c.in << " " << c.out;
        EXPECT_EQ(chain.network->WarningCount, c.warned ? 1 : 0);
    }
}

TEST(CheckResults, MissingEntryAndExitLossesAreComments)
{
    const std::string entry = ": Flow comes in from a tank but pipe appears to have no fitting with a K factor to "
                              "represent additional entry loss condition.";
    const std::string exit = ": Flow discharges but pipe appears to have no fitting with a K factor to represent "
                             "additional exit loss condition.";
    struct Case {
        double k;
        TNodeType end;
        bool component;
        bool entryComment, exitComment;
    };
    for (const Case c : {Case{0.4, Joint, false, true, false}, Case{0.5, Joint, false, false, false},
                         Case{0.99, EndPressure, false, false, true}, Case{1.0, EndPressure, false, false, false},
                         Case{0.99, EndPressure, true, false, false}}) {
        SolvedChain chain;
        TNetwork &network = *chain.network;
        TPipe &pipe = network.GetPipe(chain.pipeId);
        pipe.FittingSet.ReplaceFitting(1, Fitting(c.k));
        pipe.ComponentPressureCount = c.component ? 1 : 0;
        network.GetNode(chain.joint).NodeType = c.end;
        const TResultsLog log = chain.Run();
        const std::string pipeText = "Pipe " + std::to_string(chain.pipeId);
        EXPECT_EQ(Contains(log, pipeText + entry), c.entryComment) << c.k;
        EXPECT_EQ(Contains(log, pipeText + exit), c.exitComment) << c.k;
        EXPECT_EQ(network.CommentCount, (c.entryComment || c.exitComment) ? 1 : 0);
        EXPECT_EQ(network.WarningCount, 0);
        if (network.CommentCount > 0) {
            EXPECT_EQ(log[2], " ");
            EXPECT_EQ(log[3], "Comment:");
        }
    }
}

TEST(CheckResults, PumpSuctionHeadAgainstTheRequiredHead)
{
    const std::string prefix = "Main,P1";
    struct Case {
        double npsha_m;
        std::vector<std::string> expected; // lines that must be present
        bool solved;
    };
    const std::string unit = unitName(unt_m_hd_fluid);
    auto m = [](double v) { return formatForUnit(unt_m_hd_fluid, v); };
    const std::vector<Case> cases = {
        {3.05,
         {prefix + " => NPSHa is greater than NPSHr (i.e. Ok) but by less than 5% (i.e. low tolerance)",
          "NPSHa=" + m(3.05) + " " + unit + "  NPSHr=" + m(3.0) + " " + unit},
         true},
        {3.2, {}, true},
        {2.9,
         {prefix + " => NPSHa is not sufficient",
          "NPSHr=" + m(3.0) + "  " + unit + ", NPSHa=" + m(2.9) + "  " + unit +
              " (Too Low - Cavitation may occur at the pump)"},
         true},
        {-0.1, {">>> PROBLEM:", prefix + " => NPSHa = " + m(-0.1) + " - NPSHa cannot be negative"}, false},
    };
    for (const Case &c : cases) {
        SolvedChain chain;
        TNetwork &network = *chain.network;
        network.ConfigOptions.CalculationParameters[NewtonDarcyFromLinearNPSHPercentWarningTolerance] = 5;
        // The vapour pressure is the atmosphere: the suction head is the NPSH available.
        network.GetNode(chain.tank).Pressure_Bar_g =
            convertPressure(unt_m_hd_fluid, unt_Bar_G, c.npsha_m, network.ConfigOptions.Atmosphere_bar_a, 1000);
        TPipe &pipe = network.GetPipe(chain.pipeId);
        pipe.PumpCount = 1;
        pipe.Pump.Name = "P1";
        pipe.Pump.PumpType = PumpFixedSpeed;
        pipe.Pump.PumpPoints.PointsCount = 3;
        for (int i = 1; i <= 3; ++i)
            pipe.Pump.PumpPoints.Points[i].Flow_m3s = 0.01 * (i - 1);
        pipe.PumpNPSHr_mHd_Fluid = 3.0;
        EXPECT_NEAR(network.GetPumpNPSHa_mFluid(chain.pipeId), c.npsha_m, 1e-9);

        bool solved = true;
        const TResultsLog log = chain.Run(solved);
        EXPECT_EQ(solved, c.solved) << c.npsha_m;
        for (const std::string &line : c.expected)
            EXPECT_TRUE(Contains(log, line)) << c.npsha_m << ": " << line;
        if (c.expected.empty())
            EXPECT_EQ(log[2], "No issues to report.");
        if (!c.solved) {
            const auto at = std::find(log.Lines.begin(), log.Lines.end(), ">>> PROBLEM:");
            EXPECT_EQ(*(at - 1), " ");
            EXPECT_NE(*(at - 2), ">>> Warning:");
            EXPECT_TRUE(Contains(log, "Please check the warnings and review your system."));
        }
    }
}

TEST(CheckResults, ThePumpSuctionOfAPipeWithoutLengthHasNoFrictionShare)
{
    SolvedChain chain;
    TNetwork &network = *chain.network;
    TPipe &pipe = network.GetPipe(chain.pipeId);
    pipe.PumpCount = 1;
    pipe.Length_m = 0;
    pipe.PumpDistanceFromStartOfPipe_m = 3;
    pipe.PipeFrictionLoss_mHd_Fluid = 2;
    network.GetNode(chain.tank).Pressure_Bar_g =
        convertPressure(unt_m_hd_fluid, unt_Bar_G, 4.0, network.ConfigOptions.Atmosphere_bar_a, 1000);
    EXPECT_NEAR(network.GetPumpSuctionPressure_mFluid(chain.pipeId), 4.0, 1e-9);
    pipe.Length_m = 6;
    EXPECT_NEAR(network.GetPumpSuctionPressure_mFluid(chain.pipeId), 3.0, 1e-9);
    pipe.PumpCount = 0;
    EXPECT_EQ(network.GetPumpNPSHa_mFluid(chain.pipeId), 0);
}

TEST(CheckResults, PumpCurvesAndElevationsAreChecked)
{
    SolvedChain chain;
    TNetwork &network = *chain.network;
    network.GetNode(chain.tank).Pressure_Bar_g = 5;
    network.GetPipe(chain.pipeId).PumpCount = 1;
    TPipe &pipe = network.GetPipe(chain.pipeId);
    pipe.Pump.Name = "P1";
    pipe.Pump.PumpType = PumpFixedSpeed;
    pipe.Pump.PumpPoints.PointsCount = 2;
    pipe.Pump.PumpPoints.Points[1].Flow_m3s = 0.02;
    pipe.Pump.PumpPoints.Points[2].Flow_m3s = 0.03;
    pipe.PumpElevation_m = 4;
    const TResultsLog log = chain.Run();
    EXPECT_TRUE(Contains(log, "Main,P1 => Pump curve is not fully specified."));
    EXPECT_TRUE(Contains(log, "Main,P1 => Flow is outside of the specified Pump curve points."));
    EXPECT_TRUE(Contains(log, "Main,P1 => The pump elevation 4.000m is not between the start and end elevation of the "
                              "pipe (0.000m to 0.000m)"));

    // A pump without curve points has no range to be outside of.
    pipe.Pump.PumpPoints.PointsCount = 0;
    pipe.PumpElevation_m = 0;
    const TResultsLog none = chain.Run();
    EXPECT_FALSE(Contains(none, "Main,P1 => Flow is outside of the specified Pump curve points."));
}

TEST(CheckResults, FlowsOutsideThePreferredRegionOfAPump)
{
    struct Case {
        int from, to;
        double flow;
        bool efficiencies;
        bool warned;
    };
    // Best efficiency at 0.05 m3/s.
    for (const Case c : {Case{70, 120, 0.04, true, false}, Case{70, 120, 0.03, true, true},
                         Case{70, 120, 0.065, true, true}, Case{0, 0, 0.065, true, false},
                         // A bound of 0 is not set and limits nothing.
                         Case{70, 0, 0.04, true, false}, Case{70, 0, 0.03, true, true},
                         Case{0, 120, 0.03, true, false}, Case{0, 120, 0.065, true, true},
                         // No efficiencies, no best-efficiency flow.
                         Case{70, 120, 0.04, false, false}}) {
        SolvedChain chain;
        TPipe &pipe = chain.network->GetPipe(chain.pipeId);
        pipe.PumpCount = 1;
        TPump &pump = pipe.Pump;
        pump.Name = "P1";
        pump.ClearPumpCurves();
        for (auto [flow, head, efficiency] : {std::tuple{0.0, 50.0, 0.0}, std::tuple{0.03, 45.0, 60.0},
                                              std::tuple{0.05, 40.0, 80.0}, std::tuple{0.07, 30.0, 60.0}})
            pump.AddPumpCurvePointFlowm3s(flow, head, c.efficiencies ? efficiency : 0.0, 1.0, 1000);
        pump.PreferredOpRegionFromPercent = c.from;
        pump.PreferredOpRegionToPercent = c.to;
        pipe.FlowUncompressed_m3s = c.flow;
        const TResultsLog log = chain.Run();
        EXPECT_EQ(Contains(log, "Main,P1 => Flow rate is Outside Preferred Operating Region for this pump."), c.warned)
            << c.from << "-" << c.to << " at " << c.flow << (c.efficiencies ? "" : " without efficiencies");
    }
}

TEST(CheckResults, ControlValvesOutsideTheirAllowedLoss)
{
    SolvedChain chain;
    TPipe &pipe = chain.network->GetPipe(chain.pipeId);
    pipe.FlowControlCount = 1;
    pipe.FlowControl.UseAllowedDpRange = true;
    pipe.FlowControl.MinAllowedDp_Bar_g = 0.5;
    pipe.FlowControl.MaxAllowedDp_Bar_g = 2;
    pipe.FlowControlLoss_Bar = 0.25;
    pipe.PreventBackflow = true;
    pipe.FlowUncompressed_m3s = 0;
    const TResultsLog log = chain.Run();
    const std::string id = std::to_string(chain.pipeId);
    EXPECT_TRUE(Contains(log, "Pipe " + id + ": The dP loss across the control valve (0.2500 bar.g) is less than the "
                              "control's allowed minimum loss of 0.5000 bar.g."));
    EXPECT_TRUE(Contains(log, "Backflow prevented on Pipe " + id));
    EXPECT_EQ(chain.network->WarningCount, 2);
}

// Gas in one zone along a chain of joints whose absolute pressures are given.
struct GasZone {
    explicit GasZone(const std::vector<double> &pressures_bar_a)
    {
        TFluid &gas = network->FluidZones[1].Fluid;
        gas.FluidIsGas = true;
        gas.degrees_K = 288.15;
        const double atmosphere = network->ConfigOptions.Atmosphere_bar_a;
        int previous = 0;
        for (double p : pressures_bar_a) {
            TNode node;
            node.NodeType = Joint;
            node.Pressure_Bar_g = p - atmosphere;
            node.IsPressureSet = true;
            const int id = network->AddNode(node);
            nodes.push_back(id);
            if (previous > 0) {
                TPipe pipe;
                pipe.Length_m = 100;
                pipe.InnerDiameter_m = 0.1;
                pipes.push_back(network->AddPipeLink(previous, id, pipe));
            }
            previous = id;
        }
    }
    std::unique_ptr<TNetwork> network = NewNetwork();
    std::vector<int> nodes, pipes;
};

TEST(GasPressureDrop, AFortyPerCentDropWithinAZoneIsAProblemUnderIncompressibleMethods)
{
    GasZone zone({10, 8, 5.9});
    TNetwork &network = *zone.network;
    network.FluidZones[1].Fluid.density_kgs_m3 = 8;
    bool ok = true;
    TResultsLog log;
    network.CheckGasPressureDropWithinFluidZone(ok, log);
    EXPECT_FALSE(ok);
    EXPECT_EQ(network.WarningCount, 1);
    ASSERT_GE(log.Count(), 6);
    EXPECT_EQ(log[1], ">>> WARNING (problem):");
    EXPECT_EQ(log[2], "Fluid Zone 1 contains node pressures (absolute) that are over 40% lower than the highest node "
                      "pressure (absolute) within the zone.");
    EXPECT_EQ(log[3].rfind("Node " + std::to_string(zone.nodes[0]) + " has the highest pressure at ", 0), 0u);
    EXPECT_EQ(log[4].rfind("Node " + std::to_string(zone.nodes[2]) + " has the lowest pressure at ", 0), 0u);
    EXPECT_EQ(log[5], "Pressure has dropped by 41% within this fluid zone.");
    EXPECT_TRUE(Contains(log, "FLUID ZONE NOTE "));

    // A compressible method gets the warning without the note.
    network.ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
    TResultsLog compressible;
    network.CheckGasPressureDropWithinFluidZone(ok, compressible);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(Contains(compressible, "FLUID ZONE NOTE "));
}

TEST(GasPressureDrop, AModerateDropNeedsTheZoneDensityAtTheAveragePressure)
{
    GasZone zone({10, 8.5});
    TNetwork &network = *zone.network;
    const double atmosphere = network.ConfigOptions.Atmosphere_bar_a;
    TFluid &gas = network.FluidZones[1].Fluid;
    // The zone's fluid is defined at the average pressure: nothing to say.
    gas.pressure_bar_g = (10 + 8.5) / 2 - atmosphere;
    gas.density_kgs_m3 = 11;
    bool ok = false;
    TResultsLog log;
    network.CheckGasPressureDropWithinFluidZone(ok, log);
    EXPECT_TRUE(ok);
    EXPECT_EQ(log.Count(), 0);
    EXPECT_EQ(network.WarningCount, 0);

    // Defined at the atmosphere with that density, it is far off.
    gas.pressure_bar_g = 0;
    network.CheckGasPressureDropWithinFluidZone(ok, log);
    EXPECT_TRUE(ok) << "a warning, not a problem";
    EXPECT_EQ(network.WarningCount, 1);
    ASSERT_GE(log.Count(), 3);
    EXPECT_EQ(log[1], ">>> Warning:");
    EXPECT_EQ(log[2], "Fluid Zone 1 contains node pressures (absolute) that are over 10% lower than the highest node "
                      "pressure (absolute) within the zone.");
    EXPECT_TRUE(Contains(log, "*** Suggestion: Update Fluid Zone Data to have:"));
    EXPECT_FALSE(Contains(log, "FLUID ZONE NOTE "));
}

TEST(GasPressureDrop, TheInletOfACompressorAtTheZoneStartDoesNotCount)
{
    GasZone zone({1.5, 10, 8.5});
    TNetwork &network = *zone.network;
    TFluid &gas = network.FluidZones[1].Fluid;
    gas.pressure_bar_g = (10 + 8.5) / 2 - network.ConfigOptions.Atmosphere_bar_a;
    gas.density_kgs_m3 = 11;
    network.GetPipe(zone.pipes[0]).PumpCount = 1;
    bool ok = false;
    TResultsLog log;
    network.CheckGasPressureDropWithinFluidZone(ok, log);
    EXPECT_TRUE(ok);
    EXPECT_EQ(log[1].rfind("Pump/Compressor found on pipe " + std::to_string(zone.pipes[0]) +
                               ". Pressure at prior node is ",
                           0),
              0u);
    EXPECT_EQ(network.WarningCount, 0);

    // Through CheckResults the same zone is reviewed after an incompressible solve.
    network.GetPipe(zone.pipes[0]).PumpCount = 0;
    bool solved = true;
    TResultsLog results;
    network.CheckResults(results, solved, network.WarningCount);
    EXPECT_TRUE(Contains(results, ">>> WARNING (problem):"));
    EXPECT_TRUE(Contains(results, "FLUID ZONE NOTE "));
}

} // namespace
} // namespace tessaran
