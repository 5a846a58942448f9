#include "network/Network_Class.h"

#include "support/Scripted_User_Interface.h"
#include "units/Units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

} // namespace
} // namespace tessaran
