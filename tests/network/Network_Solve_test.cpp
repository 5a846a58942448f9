#include "network/Network_Class.h"

#include "Liquid_Network_Fixture.h"
#include "support/Scripted_User_Interface.h"
#include "units/Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>

namespace tessaran {
namespace {

// Air from a supply held at 7 bar g through a ring of joints drawing gas to
// an outlet held at 2 bar g.
struct GasRing {
    std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
    test::TScriptedUserInterface Ui;
    std::vector<int> Joints, Pipes;

    GasRing()
    {
        TNetwork &n = *Network;
        n.UserInterface = &Ui;
        n.FluidZones[1].Fluid.SetToAir();
        gasStandardConditions(n.ConfigOptions.GasFlowTemperaturePressureModel, n.GasModel_Std_Temp_degrees_k,
                              n.GasModel_Std_Pressure_Pa_a);
        const int supply = fixed(Tank, 7);
        for (double draw : {0.0, 0.3, 0.2, 0.1})
            Joints.push_back(joint(draw));
        const int outlet = fixed(EndPressure, 2);
        Pipes = {pipe(supply, Joints[0], 500, 0.15), pipe(Joints[0], Joints[1], 300, 0.1),
                 pipe(Joints[1], Joints[2], 400, 0.08), pipe(Joints[0], Joints[3], 350, 0.1),
                 pipe(Joints[3], Joints[2], 300, 0.08), pipe(Joints[2], outlet, 600, 0.1)};
    }

    double MassFlow(int pipeId) const
    {
        return Network->GetPipe(pipeId).FlowUncompressed_m3s * Network->FluidZones[1].Fluid.density_kgs_m3;
    }

private:
    int node(TNodeType type)
    {
        TNode n;
        n.NodeType = type;
        n.x = 40 * (Network->GetNodeCount() + 1);
        n.Name = "N" + std::to_string(Network->GetNodeCount() + 1);
        return Network->AddNode(n);
    }
    int fixed(TNodeType type, double pressure)
    {
        const int id = node(type);
        Network->GetNode(id).Surface_Pressure_Bar_g = pressure;
        Network->GetNode(id).Pressure_Bar_g = pressure;
        return id;
    }
    int joint(double discharge_kgs)
    {
        const int id = node(Joint);
        TNode &n = Network->GetNode(id);
        n.JointDemandUseFlowType = TFlowType::MassFlow;
        n.JointDischarge_kgs = discharge_kgs;
        n.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(Network->FluidZones[1].Fluid,
                                                                      Network->ConfigOptions.Atmosphere_bar_a,
                                                                      Network->ConfigOptions.GasFlowTemperaturePressureModel);
        return id;
    }
    int pipe(int from, int to, double length, double diameter)
    {
        TPipe p;
        p.Length_m = length;
        p.InnerDiameter_m = diameter;
        p.InnerRoughness_m = 0.000046;
        return Network->AddPipeLink(from, to, p);
    }
};

// The driver runs both gas methods from its linear-theory start with the
// zone data put back afterwards; they find the same flows.
TEST(SolveDriver, GasMethodsRunFromTheDriverAndAgree)
{
    GasRing nodeAdjust, flowAdjust;
    const TFluid zoneBefore = nodeAdjust.Network->FluidZones[1].Fluid;
    TResultsLog log1, private1, log2, private2;
    bool solved1 = false, ok1 = false, solved2 = false, ok2 = false;
    nodeAdjust.Network->ConfigOptions.MethodOfSolution = CompressibleNodeAdjust;
    nodeAdjust.Network->SolveNetwork(solved1, ok1, log1, private1);
    flowAdjust.Network->ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
    flowAdjust.Network->SolveNetwork(solved2, ok2, log2, private2);

    ASSERT_TRUE(solved1) << ::testing::PrintToString(log1.Lines);
    ASSERT_TRUE(solved2) << ::testing::PrintToString(log2.Lines);
    EXPECT_TRUE(ok1);
    EXPECT_TRUE(ok2);
    EXPECT_EQ(log1.Lines.front(), "Solve Network: Linear Theory method for initial approximate solution");
    EXPECT_NE(std::find(log2.Lines.begin(), log2.Lines.end(), "Find Compressible Isothermal Flow Balance solution:"),
              log2.Lines.end());
    EXPECT_EQ(nodeAdjust.Network->FluidZones[1].Fluid.density_kgs_m3, zoneBefore.density_kgs_m3);
    EXPECT_EQ(nodeAdjust.Network->FluidZones[1].Fluid.pressure_bar_g, zoneBefore.pressure_bar_g);
    // The driver puts back the parameter it lends to the flow-adjust start.
    EXPECT_EQ(flowAdjust.Network->ConfigOptions.CalculationParameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec],
              TConfigOptions::DefaultCalculationParameters()[CompressibleNodeAdjustMinFlowBalanceKgPerSec]);
    for (std::size_t i = 0; i < nodeAdjust.Pipes.size(); ++i) {
        const double expected = nodeAdjust.MassFlow(nodeAdjust.Pipes[i]);
        EXPECT_NEAR(flowAdjust.MassFlow(flowAdjust.Pipes[i]), expected, 1e-3 * std::fabs(expected)) << i;
    }
}

// --- Impossible data ---------------------------------------------------------------------

// Two tanks and a ring of joints with a demand: sound until a case spoils it.
struct RingWithTanks {
    std::unique_ptr<TNetwork> Network = std::make_unique<TNetwork>();
    test::TScriptedUserInterface Ui;
    int High = 0, Low = 0, A = 0, B = 0, C = 0, Loose = 0;
    int Feed = 0, AB = 0, AC = 0, BC = 0, Out = 0;

    RingWithTanks()
    {
        TNetwork &n = *Network;
        n.UserInterface = &Ui;
        High = test::AddTank(n, "High", 30);
        A = test::AddSolverNode(n, "A", Joint);
        B = test::AddSolverNode(n, "B", Joint, 0, 0.004);
        C = test::AddSolverNode(n, "C", Joint);
        Low = test::AddTank(n, "Low", 0);
        Loose = test::AddSolverNode(n, "Loose", Joint);
        Feed = test::AddSolverPipe(n, High, A, 100, 0.1, "Feed");
        AB = test::AddSolverPipe(n, A, B, 80, 0.08, "AB");
        AC = test::AddSolverPipe(n, A, C, 120, 0.08, "AC");
        BC = test::AddSolverPipe(n, B, C, 60, 0.05, "BC");
        Out = test::AddSolverPipe(n, C, Low, 100, 0.1, "Out");
    }
    void SetDemand(int nodeId, double discharge_m3s)
    {
        TNode &node = Network->GetNode(nodeId);
        node.JointDischarge_m3s = discharge_m3s;
        node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
            Network->FluidZones[1].Fluid, Network->ConfigOptions.Atmosphere_bar_a,
            Network->ConfigOptions.GasFlowTemperaturePressureModel);
    }
};

// Every impossible network is refused before the calculation with a message
// naming the item and its value; run anyway, no liquid method verifies it.
TEST(ImpossibleNetworks, AreRefusedAndNeverVerified)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *Name;
        std::function<void(RingWithTanks &)> Spoil;
        std::function<std::string(const RingWithTanks &)> Message;
    };
    const auto pipeText = [](const RingWithTanks &r, int id, const std::string &rest) {
        return "Pipe " + std::to_string(id) + ", " + r.Network->GetPipe(id).Name + ", " + rest;
    };
    const Case cases[] = {
        {"zero diameter", [](RingWithTanks &r) { r.Network->GetPipe(r.BC).InnerDiameter_m = 0; },
         [&](const RingWithTanks &r) { return pipeText(r, r.BC, "has an inner diameter of 0.000 mm, which is not allowed."); }},
        {"negative diameter", [](RingWithTanks &r) { r.Network->GetPipe(r.AB).InnerDiameter_m = -0.08; },
         [&](const RingWithTanks &r) { return pipeText(r, r.AB, "has an inner diameter of -80.000 mm, which is not allowed."); }},
        {"NaN diameter", [&](RingWithTanks &r) { r.Network->GetPipe(r.AB).InnerDiameter_m = nan; },
         [&](const RingWithTanks &r) { return pipeText(r, r.AB, "has an inner diameter of NAN mm, which is not allowed."); }},
        {"negative length", [](RingWithTanks &r) { r.Network->GetPipe(r.AC).Length_m = -5; },
         [&](const RingWithTanks &r) { return pipeText(r, r.AC, "has a length of -5.000 m, which is not allowed."); }},
        {"NaN roughness", [&](RingWithTanks &r) { r.Network->GetPipe(r.Feed).InnerRoughness_m = nan; },
         [&](const RingWithTanks &r) { return pipeText(r, r.Feed, "has an inner roughness of NAN mm, which is not allowed."); }},
        {"infinite roughness",
         [](RingWithTanks &r) { r.Network->GetPipe(r.Feed).InnerRoughness_m = std::numeric_limits<double>::infinity(); },
         [&](const RingWithTanks &r) { return pipeText(r, r.Feed, "has an inner roughness of INF mm, which is not allowed."); }},
        {"roughness above the bore", [](RingWithTanks &r) { r.Network->GetPipe(r.Out).InnerRoughness_m = 1e6; },
         [&](const RingWithTanks &r) {
             return pipeText(r, r.Out, "has an inner roughness of 1000000000.000 mm, which is not less than its inner diameter (100.000 mm).");
         }},
        {"NaN demand", [&](RingWithTanks &r) { r.SetDemand(r.B, nan); },
         [](const RingWithTanks &r) { return "Node " + std::to_string(r.B) + ", B, has a demand out flow of NAN m\u00B3/sec, which is not allowed."; }},
        {"demand on a joint without pipes", [](RingWithTanks &r) { r.SetDemand(r.Loose, 0.002); },
         [](const RingWithTanks &r) { return "Node " + std::to_string(r.Loose) + ", Loose, has a demand flow but no pipe connects to it."; }},
        {"density zero", [](RingWithTanks &r) { r.Network->FluidZones[1].Fluid.density_kgs_m3 = 0; },
         [](const RingWithTanks &r) { return "Fluid Zone 1, " + r.Network->FluidZones[1].Fluid.name + ", has a density of 0.000000 kg/m\u00B3, which is not allowed."; }},
        {"no tank", [](RingWithTanks &r) {
             r.Network->GetNode(r.High).NodeType = Joint;
             r.Network->GetNode(r.Low).NodeType = Joint;
         },
         [](const RingWithTanks &) { return std::string("The network has neither a Tank nor an End Pressure node."); }},
    };
    for (const Case &c : cases) {
        for (const TMethodOfSolution method : {LinearTheoryOnly, LinearTheoryThenNewton, EstimateDischargeNewtonOnly}) {
            SCOPED_TRACE(std::string(c.Name) + " method " + std::to_string(static_cast<int>(method)));
            RingWithTanks ring;
            TNetwork &n = *ring.Network;
            n.ConfigOptions.MethodOfSolution = method;
            bool ok = true;
            std::string message;
            int zoomPipe = 0, zoomNode = 0;
            n.IsNetworkOkToCalculate(ok, message, zoomPipe, zoomNode);
            ASSERT_TRUE(ok) << message;
            c.Spoil(ring);
            n.IsNetworkOkToCalculate(ok, message, zoomPipe, zoomNode);
            EXPECT_FALSE(ok);
            EXPECT_EQ(message.substr(0, message.find('\r')), c.Message(ring));

            bool solved = false, solutionOk = true;
            TResultsLog log, privateLog;
            n.SolveNetwork(solved, solutionOk, log, privateLog);
            EXPECT_FALSE(solutionOk && solved) << ::testing::PrintToString(log.Lines);
            EXPECT_FALSE(solutionOk);
            EXPECT_FALSE(n.solvedSuccessful);
            EXPECT_EQ(std::count(log.Lines.begin(), log.Lines.end(), ">>> Solution Verified."), 0);
            // Without a fixed pressure every method says what is missing.
            if (std::string(c.Name) == "no tank")
                EXPECT_TRUE(std::any_of(log.Lines.begin(), log.Lines.end(), [](const std::string &line) {
                    return line.find("neither a Tank nor an End Pressure node") != std::string::npos;
                })) << ::testing::PrintToString(log.Lines);
        }
    }
}

// A calculation that cannot meet a fixed-flow pump's setting (the tanks
// alone would drive more) ends, by every liquid method, with one verdict:
// not solved, never verified, and never a valid solution.
TEST(SolveDriver, AnUnmetPumpSettingEndsWithOneVerdictByEveryMethod)
{
    for (const TMethodOfSolution method : {LinearTheoryOnly, LinearTheoryThenNewton, EstimateDischargeNewtonOnly}) {
        SCOPED_TRACE(static_cast<int>(method));
        RingWithTanks ring;
        TNetwork &n = *ring.Network;
        test::AddFixedFlowPump(n, ring.Out, 0.005);
        n.ConfigOptions.MethodOfSolution = method;
        bool solved = true, solutionOk = true;
        TResultsLog log, privateLog;
        n.SolveNetwork(solved, solutionOk, log, privateLog);
        const auto count = [&](const std::string &line) {
            return std::count(log.Lines.begin(), log.Lines.end(), line);
        };
        EXPECT_FALSE(solved);
        EXPECT_FALSE(solutionOk);
        EXPECT_FALSE(n.solvedSuccessful);
        EXPECT_EQ(count(">>> System not solved. Problem with some pumps."), 1) << ::testing::PrintToString(log.Lines);
        EXPECT_EQ(count(">>> Solution Verified."), 0);
        EXPECT_EQ(count("Final Solution Details:"), 0);
        EXPECT_EQ(count("System solved but solution is NOT VALID:"), 0);
        EXPECT_EQ(count("SYSTEM WAS NOT SOLVED."), 1);
    }
}

} // namespace
} // namespace tessaran
