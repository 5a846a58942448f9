#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "units/Gas_Calculations.h"
#include "units/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace tessaran;
using namespace tessaran::test;

namespace {

// An all-air network whose fixed-pressure nodes already hold their pressures.
struct GasNetwork {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    TResultsLog Log;

    GasNetwork()
    {
        Network->FluidZones[1].Fluid.SetToAir();
        gasStandardConditions(Network->ConfigOptions.GasFlowTemperaturePressureModel,
                              Network->GasModel_Std_Temp_degrees_k, Network->GasModel_Std_Pressure_Pa_a);
    }
    int Node(TNodeType type, double pressure_bar_g = 0, double discharge_kgs = 0)
    {
        TNode node;
        node.NodeType = type;
        node.x = 40 * (Network->GetNodeCount() + 1);
        node.Pressure_Bar_g = pressure_bar_g;
        node.JointDemandUseFlowType = TFlowType::MassFlow;
        node.JointDischarge_kgs = discharge_kgs;
        return Network->AddNode(node);
    }
    int Pipe(int from, int to, double length_m = 1000, double diameter_m = 0.1)
    {
        TPipe pipe;
        pipe.Length_m = length_m;
        pipe.InnerDiameter_m = diameter_m;
        pipe.InnerRoughness_m = 0.00005;
        pipe.FrictionFactor = 0.02;
        return Network->AddPipeLink(from, to, pipe);
    }
    double MassFlow(int pipeId) const
    {
        return Network->GetPipe(pipeId).FlowUncompressed_m3s * Network->FluidZones[1].Fluid.density_kgs_m3;
    }
    // The pipe's gas law between its end nodes' pressures at friction factor f.
    double LawFlow(int pipeId, double f) const
    {
        const TNetwork &n = *Network;
        const TPipe &pipe = n.GetPipe(pipeId);
        const TFluid &fluid = n.FluidZones[1].Fluid;
        int from = 0, to = 0;
        n.GetFromAndToNodeIds(pipeId, from, to);
        const TConfigOptions &o = n.ConfigOptions;
        return calcCompressibleFlowWithZ(o.MethodOfCalculationCompressible, o.ZCompressibilityModel,
                                         n.GasModel_Std_Temp_degrees_k, n.GasModel_Std_Pressure_Pa_a,
                                         o.PipelineEfficiencyE, n.GetNode(from).Pressure_Bar_g,
                                         n.GetNode(to).Pressure_Bar_g, o.Atmosphere_bar_a, pipe.Length_m,
                                         pipe.InnerDiameter_m, pipe.InnerRoughness_m, f, fluid.density_kgs_m3,
                                         fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise,
                                         o.ZCompressibilityFactor);
    }
    void Iterate(bool &solved, bool &solutionOk, double allowed_kgs = 1e-7, int maxIterations = 200000)
    {
        Network->SetNodeFluidZoneIndexArray();
        double largestImbalance = 0, largestAdjustment = 0;
        Network->SolveNetworkCompressibleIsothermalNodeAdjustmentsIterate(1e-14, maxIterations, 1.0, allowed_kgs, solved,
                                                                          solutionOk, Log, largestImbalance,
                                                                          largestAdjustment);
    }
};

const TMethodOfCalculationCompressible AllEquations[] = {
    CompleteIsothermalFlowEquation,    GeneralIsothermalFlowEquation,     WeymouthIsothermalFlowEquation,
    PanhandleAIsomthermalFlowEquation, PanhandleBIsomthermalFlowEquation, AGAIsothermalFlowEquation,
    IGTIsothermalFlowEquation};

} // namespace

TEST(NetworkNodeAdjustIteration, ASinglePipeBetweenFixedPressuresCarriesItsEquationsFlow)
{
    for (TMethodOfCalculationCompressible equation : AllEquations) {
        SCOPED_TRACE(static_cast<int>(equation));
        GasNetwork gas;
        gas.Network->ConfigOptions.MethodOfCalculationCompressible = equation;
        const int a = gas.Node(Tank, 5);
        const int b = gas.Node(EndPressure, 1);
        const int p = gas.Pipe(a, b);
        bool solved = false, solutionOk = false;
        gas.Iterate(solved, solutionOk);
        EXPECT_TRUE(solved && solutionOk);
        EXPECT_EQ(gas.Log[4], "Node Adjust Iterations: 1"); // balanced at once: no joint to adjust
        const double expected = gas.LawFlow(p, 0.02);
        EXPECT_GT(expected, 0);
        EXPECT_NEAR(gas.MassFlow(p), expected, 1e-12 * expected);
        EXPECT_NEAR(gas.Network->GetPipe(p).FlowKgsDivPressDiffBar, expected / 4, 1e-12 * expected);
    }
}

// Residuals of a looped network: every joint balances its mass and every
// pipe's flow is its gas law between the pressures its nodes ended with.
TEST(NetworkNodeAdjustIteration, ALoopedNetworkBalancesEveryJointUnderEachEquation)
{
    for (TMethodOfCalculationCompressible equation : AllEquations) {
        SCOPED_TRACE(static_cast<int>(equation));
        GasNetwork gas;
        gas.Network->ConfigOptions.MethodOfCalculationCompressible = equation;
        const int a = gas.Node(Tank, 6);
        const int j1 = gas.Node(Joint, 3);
        const int j2 = gas.Node(Joint, 3, 0.05);
        const int j3 = gas.Node(Joint, 3, 0.02);
        const int b = gas.Node(EndPressure, 1);
        const std::vector<int> pipes = {gas.Pipe(a, j1), gas.Pipe(j1, j2, 500), gas.Pipe(j1, j3, 800),
                                        gas.Pipe(j3, j2, 300, 0.05), gas.Pipe(j2, b, 400)};
        bool solved = false, solutionOk = false;
        gas.Iterate(solved, solutionOk);
        ASSERT_TRUE(solved && solutionOk);
        for (int j : {j1, j2, j3})
            EXPECT_LE(std::fabs(gas.Network->NodeContinuityFlowKgs[static_cast<std::size_t>(j)]), 1e-7);
        for (int p : pipes) {
            const double law = gas.LawFlow(p, 0.02);
            EXPECT_NEAR(gas.MassFlow(p), law, 1e-6 * std::fabs(law) + 1e-9) << "pipe " << p;
        }
        // The network's own friction factors follow the final flows.
        EXPECT_NE(gas.Network->GetPipe(pipes[0]).FrictionFactor, 0.02);
    }
}

TEST(NetworkNodeAdjustIteration, CompressibilityModelsMoveTheFlowTheExpectedWay)
{
    auto flowWith = [](TZCompressibilityModel model, double z) {
        GasNetwork gas;
        gas.Network->ConfigOptions.ZCompressibilityModel = model;
        gas.Network->ConfigOptions.ZCompressibilityFactor = z;
        const int a = gas.Node(Tank, 40);
        const int j = gas.Node(Joint, 20);
        const int b = gas.Node(EndPressure, 10);
        gas.Pipe(a, j);
        const int p = gas.Pipe(j, b);
        bool solved = false, solutionOk = false;
        gas.Iterate(solved, solutionOk);
        EXPECT_TRUE(solved);
        return gas.MassFlow(p);
    };
    const double ideal = flowWith(IdealGasLawModel, 1.0);
    // A gas that packs tighter than ideal (Z below 1) carries more mass at
    // the same pressures; one that packs looser carries less.
    EXPECT_GT(flowWith(CustomZModel, 0.9), ideal);
    EXPECT_LT(flowWith(CustomZModel, 1.1), ideal);
    EXPECT_GT(flowWith(CNGAModel, 1.0), ideal);
}

TEST(NetworkNodeAdjustIteration, AnUnbalancedRunIsReportedOutsideTolerance)
{
    GasNetwork gas;
    const int a = gas.Node(Tank, 5);
    const int j = gas.Node(Joint, 0);
    const int b = gas.Node(EndPressure, 1);
    gas.Pipe(a, j);
    gas.Pipe(j, b);
    bool solved = true, solutionOk = true;
    gas.Iterate(solved, solutionOk, 1e-9, 2);
    EXPECT_FALSE(solved);
    EXPECT_FALSE(solutionOk);
    EXPECT_EQ(gas.Log[4], "Node Adjust Iterations: 2");
    EXPECT_EQ(gas.Log[gas.Log.Count() - 1].rfind("(outside specified tolerance of ", 0), 0u);
}

TEST(NetworkNodeAdjustIteration, AJointWithoutAnyPressureTermKeepsItsPressure)
{
    GasNetwork gas;
    const int a = gas.Node(Tank, 5);
    const int j = gas.Node(Joint, 2.5, 0.1);
    const int p = gas.Pipe(a, j);
    gas.Network->GetPipe(p).FrictionFactor = 0; // no flow law: the pipe adds no pressure term
    bool solved = true, solutionOk = true;
    gas.Iterate(solved, solutionOk, 1e-6, 5);
    EXPECT_EQ(gas.Network->GetNode(j).Pressure_Bar_g, 2.5);
    EXPECT_FALSE(solved);
}

TEST(NetworkNodeAdjustIteration, ThePrvControlPipeCarriesTheDownstreamNodesNetOutflow)
{
    // As the solver preparation leaves a pressure-reducing valve from A to
    // T: T held at the set pressure, the valve's flow through control pipe
    // A -> C into control node C.
    GasNetwork gas;
    const int a = gas.Node(Tank, 5);
    const int t = gas.Node(Tank, 2);
    const int c = gas.Node(Joint, 2);
    const int d = gas.Node(Joint, 1, 0.2);
    const int e = gas.Node(Joint, 1);
    const int controlPipe = gas.Pipe(a, c, 10);
    const int out1 = gas.Pipe(t, d);
    const int out2 = gas.Pipe(t, e);
    const int back = gas.Pipe(e, t);
    gas.Network->GetNode(t).JointDemandUseFlowType = TFlowType::VolumeFlow;
    gas.Network->GetNode(t).JointDischarge_m3s = 0.01;
    gas.Network->NodeLinksFlowControlCount = 1;
    gas.Network->NodeLinksFlowControl[1] = {a, t, 99, c, controlPipe, PRV};
    const double rho = gas.Network->FluidZones[1].Fluid.density_kgs_m3;
    gas.Network->GetPipe(out1).FlowUncompressed_m3s = 0.3;
    gas.Network->GetPipe(out2).FlowUncompressed_m3s = 0.2;
    gas.Network->GetPipe(back).FlowUncompressed_m3s = 0.05;

    gas.Network->NodeAdjustCalculationSetFlowRateInAllControlPipesForPRVsToDownnstreamFlowRate();
    const double expected = 0.01 + 0.3 + 0.2 - 0.05;
    EXPECT_NEAR(gas.Network->GetPipe(controlPipe).FlowUncompressed_m3s, expected, 1e-12);
    const TNode &control = gas.Network->GetNode(c);
    EXPECT_EQ(control.JointDemandUseFlowType, TFlowType::MassFlow);
    EXPECT_NEAR(control.JointDischarge_kgs, expected * rho, 1e-12);
    EXPECT_EQ(control.JointSupply_kgs, 0.0);

    gas.Network->NodeAdjustCalculationSetEndNodePressureToMatchFlowRatePressureLossInAllControlPipesForPRVs();
    const double pc = control.Pressure_Bar_g;
    EXPECT_LT(pc, 5.0);
    // The control pipe's own law carries the valve's flow from A's pressure to C's.
    EXPECT_NEAR(gas.LawFlow(controlPipe, 0.02), expected * rho, 1e-5 * expected * rho);
    EXPECT_NEAR(gas.Network->GetPipe(controlPipe).FlowKgsDivPressDiffBar, expected * rho / (5.0 - pc), 1e-9);
}

TEST(NetworkNodeAdjustIteration, TheBpvControlPipeCarriesTheUpstreamNodesNetInflow)
{
    // A back-pressure valve from F to B: F held at the set pressure, the
    // flow carried on through control pipe C -> B out of control node C.
    GasNetwork gas;
    const int s = gas.Node(Tank, 6);
    const int f = gas.Node(Tank, 4);
    const int c = gas.Node(Joint, 4);
    const int b = gas.Node(EndPressure, 1);
    const int in = gas.Pipe(s, f);
    const int controlPipe = gas.Pipe(c, b, 10);
    gas.Network->NodeLinksFlowControlCount = 1;
    gas.Network->NodeLinksFlowControl[1] = {f, b, 99, c, controlPipe, BPV};
    gas.Network->GetPipe(in).FlowUncompressed_m3s = 0.4;

    gas.Network->NodeAdjustCalculationSetFlowRateInAllControlPipesForBPVsToUpstreamFlowRate();
    EXPECT_NEAR(gas.Network->GetPipe(controlPipe).FlowUncompressed_m3s, 0.4, 1e-12);
    gas.Network->NodeAdjustCalculationSetStartNodePressureToMatchFlowRatePressureLossInAllControlPipesForBPVs();
    const double pc = gas.Network->GetNode(c).Pressure_Bar_g;
    EXPECT_GT(pc, 1.0);
    EXPECT_NEAR(gas.LawFlow(controlPipe, 0.02), gas.MassFlow(controlPipe), 1e-5 * gas.MassFlow(controlPipe));
}

// A component's loss adds to the outlet pressure the pipe's law sees: a fixed
// loss as it stands, a curve's loss at the flow that both agree on.
TEST(NetworkNodeAdjustIteration, ComponentLossesJoinThePipesLaw)
{
    for (TPressureType type : {ComponentPressureFixed, ComponentPressureCurve}) {
        SCOPED_TRACE(static_cast<int>(type));
        GasNetwork gas;
        const int a = gas.Node(Tank, 5);
        const int b = gas.Node(EndPressure, 1);
        const int p = gas.Pipe(a, b);
        TPipe &pipe = gas.Network->GetPipe(p);
        TComponentPressure &component = pipe.ComponentPressure;
        pipe.ComponentPressureCount = 1;
        component.PressureType = type;
        component.SetPressureLoss_Stored_mH2O = false;
        component.FixedPressureLoss_mHd = 8000;
        component.CurvePoints.UseMassFlow = true;
        component.CurvePoints.PointsCount = 2;
        component.CurvePoints.Point(1).Flow_kgs = 0;
        component.CurvePoints.Point(2).Flow_kgs = 5;
        component.CurvePoints.Point(2).Loss_mHd = 20000;
        const double rho = gas.Network->FluidZones[1].Fluid.density_kgs_m3;
        component.SetCurvePointsQm3sFromQkgs(rho);
        bool solved = false, solutionOk = false;
        gas.Iterate(solved, solutionOk);
        ASSERT_TRUE(solved);

        const double m = gas.MassFlow(p);
        const double loss = component.calcLoss_Bar(type == ComponentPressureFixed ? 1.0 : m, rho, 0.1);
        EXPECT_GT(loss, 0.3);
        const TConfigOptions &o = gas.Network->ConfigOptions;
        const TFluid &fluid = gas.Network->FluidZones[1].Fluid;
        const double law = calcCompressibleFlowWithZ(
            o.MethodOfCalculationCompressible, o.ZCompressibilityModel, gas.Network->GasModel_Std_Temp_degrees_k,
            gas.Network->GasModel_Std_Pressure_Pa_a, o.PipelineEfficiencyE, 5, 1 + loss, o.Atmosphere_bar_a, 1000, 0.1,
            0.00005, 0.02, fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise,
            o.ZCompressibilityFactor);
        EXPECT_NEAR(m, law, 1e-6 * law);
        EXPECT_LT(m, gas.LawFlow(p, 0.02));
    }
}

// A fixed-speed machine lifts the gas against a higher outlet pressure at the
// flow where its curve and the pipe's law agree.
TEST(NetworkNodeAdjustIteration, AFixedSpeedPumpRunsWhereItsCurveMeetsThePipesLaw)
{
    GasNetwork gas;
    const int a = gas.Node(Tank, 2);
    const int b = gas.Node(EndPressure, 3);
    const int p = gas.Pipe(a, b);
    const double rho = gas.Network->FluidZones[1].Fluid.density_kgs_m3;
    TPipe &pipe = gas.Network->GetPipe(p);
    pipe.PumpCount = 1;
    pipe.Pump.PumpType = PumpFixedSpeed;
    pipe.Pump.AddPumpCurvePointFlowm3s(0.0, 30000, 0, 0, rho);
    pipe.Pump.AddPumpCurvePointFlowm3s(0.5, 27000, 60, 0, rho);
    pipe.Pump.AddPumpCurvePointFlowm3s(1.0, 18000, 70, 0, rho);
    pipe.Pump.calcPumpCurves(rho);
    bool solved = false, solutionOk = false;
    gas.Iterate(solved, solutionOk);
    ASSERT_TRUE(solved);

    const double m = gas.MassFlow(p);
    EXPECT_GT(m, 0);
    const double head = pipe.Pump.calcPumpHead_Bar(m, rho);
    const TConfigOptions &o = gas.Network->ConfigOptions;
    const TFluid &fluid = gas.Network->FluidZones[1].Fluid;
    const double law = calcCompressibleFlowWithZ(
        o.MethodOfCalculationCompressible, o.ZCompressibilityModel, gas.Network->GasModel_Std_Temp_degrees_k,
        gas.Network->GasModel_Std_Pressure_Pa_a, o.PipelineEfficiencyE, 2 + head, 3, o.Atmosphere_bar_a, 1000, 0.1,
        0.00005, 0.02, fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise,
        o.ZCompressibilityFactor);
    EXPECT_NEAR(m, law, 1e-6 * law);
}
