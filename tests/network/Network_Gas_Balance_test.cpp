#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "units/Gas_Calculations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace tessaran;
using namespace tessaran::test;

namespace {

int addNode(TNetwork &network, TNodeType type, double pressure_bar_g)
{
    TNode node;
    node.NodeType = type;
    node.x = 40 * (network.GetNodeCount() + 1);
    node.Pressure_Bar_g = pressure_bar_g;
    return network.AddNode(node);
}

int addPipe(TNetwork &network, int from, int to, double flow_m3s)
{
    TPipe pipe;
    pipe.InnerDiameter_m = 0.1;
    pipe.FlowUncompressed_m3s = flow_m3s;
    return network.AddPipeLink(from, to, pipe);
}

} // namespace

TEST(NetworkGasBalance, ZoneDensitiesFollowTheAverageFixedPressureAndComeBack)
{
    auto network = NewNetwork();
    network->FluidZones[1].Fluid.SetToAir();
    const double atmosphere = network->ConfigOptions.Atmosphere_bar_a;
    const int a = addNode(*network, Tank, 2);
    const int j = addNode(*network, Joint, 50); // joints take no part in the reference
    const int b = addNode(*network, EndPressure, 6);
    const int p = addPipe(*network, a, j, 0.5);
    addPipe(*network, j, b, 0.5);
    const TFluid user = network->FluidZones[1].Fluid;

    network->SaveCurrentFluidZonesData();
    network->AdjustCurrentFluidZonesDataBasedOnFixedPressureReferenceInSystem();
    const TFluid &adjusted = network->FluidZones[1].Fluid;
    const double average = calcAveragePressure(2, 6, atmosphere);
    EXPECT_DOUBLE_EQ(adjusted.pressure_bar_g, average);
    EXPECT_NEAR(adjusted.density_kgs_m3 / user.density_kgs_m3, (average + atmosphere) / atmosphere, 1e-9);

    // Flows found at the adjusted density keep their mass at the user's.
    network->AdjustVolumetricFlowRatesToMatchDensityInSavedFluidZonesData();
    EXPECT_NEAR(network->GetPipe(p).FlowUncompressed_m3s * user.density_kgs_m3, 0.5 * adjusted.density_kgs_m3, 1e-12);
    EXPECT_EQ(network->GetPipe(p).FlowGuessUncompressed_m3s, network->GetPipe(p).FlowUncompressed_m3s);

    // All nodes count for the second adjustment, and a pressure below
    // absolute zero counts as absolute zero.
    network->GetNode(a).Pressure_Bar_g = -5;
    network->AdjustCurrentFluidZonesDataBasedOnPressureInSystem();
    EXPECT_DOUBLE_EQ(network->FluidZones[1].Fluid.pressure_bar_g, calcAveragePressure(-atmosphere, 50, atmosphere));

    network->RestoreCurrentFluidZonesData();
    EXPECT_EQ(network->FluidZones[1].Fluid.density_kgs_m3, user.density_kgs_m3);
    EXPECT_EQ(network->FluidZones[1].Fluid.pressure_bar_g, user.pressure_bar_g);
}

TEST(NetworkGasBalance, JointBalancesCountLinksAndDemandsButNotFixedPressureNodes)
{
    auto network = NewNetwork();
    const double rho = network->FluidZones[1].Fluid.density_kgs_m3;
    const int t = addNode(*network, Tank, 0);
    const int j = addNode(*network, Joint, 0);
    const int isolated = addNode(*network, Joint, 0);
    const int e = addNode(*network, EndPressure, 0);
    network->GetNode(j).JointDischarge_m3s = 0.1;
    network->GetNode(isolated).JointDischarge_m3s = 0.3;
    const int in = addPipe(*network, t, j, 0.5);
    const int out = addPipe(*network, j, e, 0.25);
    network->GetPipe(in).FlowKgsDivPressDiffBar = 2;
    network->GetPipe(out).FlowKgsDivPressDiffBar = 3;
    network->SetNodeFluidZoneIndexArray();

    bool ok = true;
    int node = -1;
    double largest = 0;
    network->CheckNetworkGasFlowContinuity(0.1 * rho, ok, node, largest);
    EXPECT_NEAR(network->NodeContinuityFlowKgs[static_cast<std::size_t>(j)], 0.15 * rho, 1e-9);
    EXPECT_EQ(network->NodeContinuityFlowKgs[static_cast<std::size_t>(t)], 0.0);
    EXPECT_EQ(network->NodeContinuityFlowKgs[static_cast<std::size_t>(isolated)], 0.0);
    EXPECT_TRUE(network->NodeContinuityIsolated[static_cast<std::size_t>(isolated)]);
    EXPECT_EQ(network->NodeFlowKgsDivPressDiffBar[static_cast<std::size_t>(j)], 5.0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(node, j);
    EXPECT_NEAR(largest, 0.15 * rho, 1e-9);

    double sum = 0, perBar = 0;
    network->getNodeFlowContinuityKgSec(j, sum, perBar);
    EXPECT_EQ(perBar, 5.0);
    network->calcFlowContinuityAtJointOrTankNodesKgSec(t, sum);
    EXPECT_NEAR(sum, -0.5 * rho, 1e-9); // any node type, straight from the links
}

TEST(NetworkGasBalance, EntryAndExitVelocities)
{
    auto network = NewNetwork();
    const int a = addNode(*network, Tank, 4);
    const int b = addNode(*network, Tank, 1);
    const int p = addPipe(*network, a, b, 0.02);
    const double area = std::numbers::pi * 0.01 / 4;
    double entry = 0, exit = 0, exitFlow = 0;

    network->GetGasFlowEntryAndExitVelocity_ms(p, entry, exit, exitFlow);
    EXPECT_DOUBLE_EQ(entry, 0.02 / area); // a liquid keeps its volume
    EXPECT_DOUBLE_EQ(exit, entry);
    EXPECT_DOUBLE_EQ(exitFlow, 0.02);

    network->FluidZones[1].Fluid.SetToAir();
    network->SetAllPipeEntryAndExitVelocities();
    const TPipe &pipe = network->GetPipe(p);
    // The gas expands as its pressure falls: at ideal-gas densities the
    // velocities go as the inverse of the absolute pressures.
    const double atmosphere = network->ConfigOptions.Atmosphere_bar_a;
    EXPECT_NEAR(pipe.ExitVelocity_ms / pipe.EntryVelocity_ms, (4 + atmosphere) / (1 + atmosphere), 1e-9);
    const double rhoEnd = calcGasDensityAtPressure(1.204, 0, 1, 1, atmosphere);
    EXPECT_NEAR(pipe.ExitVelocity_ms, 0.02 * 1.204 / rhoEnd / area, 1e-9);
}
