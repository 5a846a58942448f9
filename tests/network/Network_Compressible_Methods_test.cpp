#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "support/Scripted_User_Interface.h"
#include "units/Gas_Calculations.h"
#include "units/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace tessaran;
using namespace tessaran::test;

namespace {

// An air network: fixed-pressure nodes hold their pressure as a calculation
// leaves them, joints draw mass flows.
struct AirNetwork {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    TScriptedUserInterface Ui;
    TResultsLog Log, PrivateLog;

    AirNetwork()
    {
        Network->UserInterface = &Ui;
        Network->FluidZones[1].Fluid.SetToAir();
        gasStandardConditions(Network->ConfigOptions.GasFlowTemperaturePressureModel,
                              Network->GasModel_Std_Temp_degrees_k, Network->GasModel_Std_Pressure_Pa_a);
    }
    int Fixed(TNodeType type, double pressure_bar_g)
    {
        const int id = node(type);
        Network->GetNode(id).Surface_Pressure_Bar_g = pressure_bar_g;
        Network->GetNode(id).Pressure_Bar_g = pressure_bar_g;
        return id;
    }
    int Joint(double discharge_kgs = 0)
    {
        const int id = node(tessaran::Joint);
        TNode &n = Network->GetNode(id);
        n.JointDemandUseFlowType = TFlowType::MassFlow;
        n.JointDischarge_kgs = discharge_kgs;
        n.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
            Network->FluidZones[1].Fluid, Network->ConfigOptions.Atmosphere_bar_a,
            Network->ConfigOptions.GasFlowTemperaturePressureModel);
        return id;
    }
    int Pipe(int from, int to, double length_m, double diameter_m, const std::string &name = "")
    {
        TPipe pipe;
        pipe.Name = name;
        pipe.Length_m = length_m;
        pipe.InnerDiameter_m = diameter_m;
        pipe.InnerRoughness_m = 0.000046;
        return Network->AddPipeLink(from, to, pipe);
    }
    double MassFlow(int pipeId) const
    {
        return Network->GetPipe(pipeId).FlowUncompressed_m3s * Network->FluidZones[1].Fluid.density_kgs_m3;
    }
    std::map<int, double> MassFlows() const
    {
        std::map<int, double> flows;
        for (int id = Network->GetNextPipeId(0); id > 0; id = Network->GetNextPipeId(id))
            flows[id] = MassFlow(id);
        return flows;
    }
    // The start the solve driver gives a gas method: two linear-theory
    // passes on zone densities adjusted to the system's pressures.
    void LinearStart(bool &solved)
    {
        bool solutionOk = false;
        Network->SaveCurrentFluidZonesData();
        Network->AdjustCurrentFluidZonesDataBasedOnFixedPressureReferenceInSystem();
        Network->SolveNetworkLinearTheory(solved, solutionOk, PrivateLog);
        if (solved) {
            Network->AdjustCurrentFluidZonesDataBasedOnPressureInSystem();
            Network->SolveNetworkLinearTheory(solved, solutionOk, PrivateLog);
        }
        Network->AdjustVolumetricFlowRatesToMatchDensityInSavedFluidZonesData();
        Network->RestoreCurrentFluidZonesData();
    }
    void NodeAdjust(bool &solved, bool &solutionOk)
    {
        Network->ConfigOptions.MethodOfSolution = CompressibleNodeAdjust;
        LinearStart(solved);
        ASSERT_TRUE(solved);
        Network->SolveNetworkCompressibleIsothermalNodeAdjustments(solved, solutionOk, Log, PrivateLog);
    }
    // As the solve driver runs it: a node-adjust start to a looser balance,
    // then the Newton refinement.
    void FlowAdjust(bool &solved, bool &solutionOk)
    {
        Network->ConfigOptions.MethodOfSolution = CompressibleFlowAdjust;
        auto &parameters = Network->ConfigOptions.CalculationParameters;
        const double kept = parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec];
        parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec] =
            parameters[CompressibleFlowAdjustInitialNodeBalanceSolutionMinFlowBalanceKgPerSec];
        LinearStart(solved);
        ASSERT_TRUE(solved);
        Network->SolveNetworkCompressibleIsothermalNodeAdjustments(solved, solutionOk, Log, PrivateLog);
        parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec] = kept;
        ASSERT_TRUE(solved);
        Network->SolveNetworkNewtonCompressibleIsothermalFlowAdjustments(solved, solutionOk, Log, PrivateLog);
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
};

// A supply at 7 bar g feeding a ring of joints that draws gas, with an
// outlet held at 2 bar g.
struct GasRing : AirNetwork {
    int Supply = Fixed(Tank, 7);
    int R1 = Joint(), R2 = Joint(0.3), R3 = Joint(0.2), R4 = Joint(0.1);
    int Outlet = Fixed(EndPressure, 2);
    std::vector<int> Pipes = {Pipe(Supply, R1, 500, 0.15), Pipe(R1, R2, 300, 0.1), Pipe(R2, R3, 400, 0.08),
                              Pipe(R1, R4, 350, 0.1),      Pipe(R4, R3, 300, 0.08), Pipe(R3, Outlet, 600, 0.1)};
};

} // namespace

TEST(NetworkCompressibleMethods, NodeAdjustBalancesALoopedNetworkAndPutsTheLinksBack)
{
    GasRing ring;
    bool solved = false, solutionOk = false;
    ring.NodeAdjust(solved, solutionOk);
    ASSERT_TRUE(solved);
    EXPECT_TRUE(solutionOk);
    const double allowed = ring.Network->ConfigOptions.CalculationParameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec];
    ring.Network->SetNodeFlowContinuityKgSecArray();
    for (int joint : {ring.R1, ring.R2, ring.R3, ring.R4})
        EXPECT_LE(std::fabs(ring.Network->NodeContinuityFlowKgs[static_cast<std::size_t>(joint)]), allowed);
    // A solved network still gets three full recalculations.
    int runs = 0;
    for (const std::string &line : ring.Log.Lines)
        runs += line.rfind("Node Adjust Iterations: ", 0) == 0;
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(ring.Network->NodeLinksCount, 6);
    // Velocities are set on the way out: the gas speeds up as it expands.
    const TPipe &first = ring.Network->GetPipe(ring.Pipes[0]);
    EXPECT_GT(first.ExitVelocity_ms, first.EntryVelocity_ms);
}

TEST(NetworkCompressibleMethods, TheTwoGasMethodsAgree)
{
    GasRing nodeAdjust, flowAdjust;
    bool solved = false, solutionOk = false;
    nodeAdjust.NodeAdjust(solved, solutionOk);
    ASSERT_TRUE(solved);
    flowAdjust.FlowAdjust(solved, solutionOk);
    ASSERT_TRUE(solved);
    const auto expected = nodeAdjust.MassFlows();
    for (const auto &[pipe, flow] : flowAdjust.MassFlows()) {
        EXPECT_GT(flow, 0);
        EXPECT_NEAR(flow, expected.at(pipe), 1e-3 * expected.at(pipe)) << "pipe " << pipe;
    }
    for (int joint : {nodeAdjust.R1, nodeAdjust.R2, nodeAdjust.R3, nodeAdjust.R4})
        EXPECT_NEAR(flowAdjust.Network->GetNode(joint).Pressure_Bar_g, nodeAdjust.Network->GetNode(joint).Pressure_Bar_g,
                    1e-3);
}

TEST(NetworkCompressibleMethods, TheRelaxQuestionIsAskedOnceAndItsAnswerHonoured)
{
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer);
        GasRing ring;
        // Steps that only ever lead away from the balance: the first
        // failure takes the step multiplier under its floor.
        ring.Network->ConfigOptions.CalculationParameters[CompressibleFlowAdjustDeltaMultiperFinal] = -1;
        ring.Ui.Answers = {answer};
        bool solved = false, solutionOk = false;
        ring.FlowAdjust(solved, solutionOk);
        ASSERT_EQ(ring.Ui.QuestionsAsked, 1);
        EXPECT_EQ(ring.Ui.Messages[0].Text.rfind("Cannot converge further.\r\rOption: Allow relaxation of Loop Balance.", 0),
                  0u);
        if (!answer)
            EXPECT_FALSE(solved);
        EXPECT_EQ(ring.Network->StopCalculating, !answer);
        const bool relaxedLine =
            std::any_of(ring.Log.Lines.begin(), ring.Log.Lines.end(), [](const std::string &line) {
                return line.rfind("Relax Loop Balance Tolerance to ", 0) == 0;
            });
        EXPECT_EQ(relaxedLine, answer);
    }
}

TEST(NetworkCompressibleMethods, NodeAdjustReversalQuestionIsNotRepeatedAfterARefusal)
{
    for (bool answer : {false, true}) {
        SCOPED_TRACE(answer);
        AirNetwork gas;
        const int low = gas.Fixed(Tank, 1);
        const int mid = gas.Joint();
        const int high = gas.Fixed(Tank, 5);
        const int p1 = gas.Pipe(low, mid, 400, 0.1, "P1");
        gas.Pipe(mid, high, 400, 0.1, "P2");
        gas.Ui.Answers = {answer};
        bool solved = false, solutionOk = false;
        gas.NodeAdjust(solved, solutionOk);
        EXPECT_EQ(gas.Ui.QuestionsAsked, 1);
        EXPECT_EQ(solved, answer);
        int from = 0, to = 0;
        gas.Network->GetFromAndToNodeIds(p1, from, to);
        EXPECT_EQ(from, answer ? mid : low);
        if (answer)
            EXPECT_GT(gas.MassFlow(p1), 0);
    }
}

// Every gas equation under every compressibility model: the flow-adjust
// result balances each joint, and each pipe carries its own law's flow
// between the pressures its end nodes were given.
TEST(NetworkCompressibleMethods, EveryEquationAndCompressibilityModelSolves)
{
    const TMethodOfCalculationCompressible equations[] = {
        CompleteIsothermalFlowEquation,    GeneralIsothermalFlowEquation,     WeymouthIsothermalFlowEquation,
        PanhandleAIsomthermalFlowEquation, PanhandleBIsomthermalFlowEquation, AGAIsothermalFlowEquation,
        IGTIsothermalFlowEquation};
    for (TMethodOfCalculationCompressible equation : equations)
        for (TZCompressibilityModel model : {IdealGasLawModel, CustomZModel, CNGAModel}) {
            SCOPED_TRACE(std::to_string(equation) + " " + std::to_string(model));
            GasRing ring;
            TConfigOptions &options = ring.Network->ConfigOptions;
            options.MethodOfCalculationCompressible = equation;
            options.ZCompressibilityModel = model;
            options.ZCompressibilityFactor = 0.95;
            bool solved = false, solutionOk = false;
            ring.FlowAdjust(solved, solutionOk);
            ASSERT_TRUE(solved);
            ring.Network->SetNodeFlowContinuityKgSecArray();
            for (int joint : {ring.R1, ring.R2, ring.R3, ring.R4})
                EXPECT_LE(std::fabs(ring.Network->NodeContinuityFlowKgs[static_cast<std::size_t>(joint)]),
                          options.CalculationParameters[CompressibleFlowAdjustMinFlowBalanceKgPerSec]);
            for (int pipeId : ring.Pipes) {
                const TPipe &pipe = ring.Network->GetPipe(pipeId);
                const TFluid &fluid = ring.Network->FluidZones[1].Fluid;
                int from = 0, to = 0;
                ring.Network->GetFromAndToNodeIds(pipeId, from, to);
                const double law = calcCompressibleFlowWithZ(
                    equation, model, ring.Network->GasModel_Std_Temp_degrees_k, ring.Network->GasModel_Std_Pressure_Pa_a,
                    options.PipelineEfficiencyE, ring.Network->GetNode(from).Pressure_Bar_g,
                    ring.Network->GetNode(to).Pressure_Bar_g, options.Atmosphere_bar_a, pipe.Length_m,
                    pipe.InnerDiameter_m, pipe.InnerRoughness_m, pipe.FrictionFactor, fluid.density_kgs_m3,
                    fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise, options.ZCompressibilityFactor);
                EXPECT_NEAR(ring.MassFlow(pipeId), law, 1e-3 * law) << "pipe " << pipeId;
            }
        }
}

// Pressure valves in a gas network, through the solve driver: a reducing
// valve holds its outlet, a back-pressure valve its inlet, at the setting,
// and the gas either passes is what the joints downstream draw.
TEST(NetworkCompressibleMethods, PressureValvesHoldTheirSettingUnderBothMethods)
{
    struct Case {
        TControlType type;
        double setting_bar_g;
        bool holdsOutlet;
    };
    for (const Case c : {Case{PRV, 3, true}, Case{BPV, 7.5, false}})
        for (TMethodOfSolution method : {CompressibleNodeAdjust, CompressibleFlowAdjust}) {
            SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(method));
            AirNetwork gas;
            const int supply = gas.Fixed(Tank, 8);
            const int before = gas.Joint();
            const int after = gas.Joint();
            const int user = gas.Joint(0.2);
            const int outlet = gas.Fixed(EndPressure, 1);
            const int feed = gas.Pipe(supply, before, 300, 0.1);
            const int valvePipe = gas.Pipe(before, after, 5, 0.1);
            const int toUser = gas.Pipe(after, user, 200, 0.1);
            gas.Pipe(user, outlet, 300, 0.08);
            TPipe &valve = gas.Network->GetPipe(valvePipe);
            valve.FlowControlCount = 1;
            valve.FlowControl.ControlType = c.type;
            valve.FlowControl.RegulatedPressure_Bar_g = c.setting_bar_g;
            gas.Network->ConfigOptions.MethodOfSolution = method;
            bool solved = false, solutionOk = false;
            gas.Network->SolveNetwork(solved, solutionOk, gas.Log, gas.PrivateLog);
            ASSERT_TRUE(solved);
            EXPECT_NEAR(gas.Network->GetNode(c.holdsOutlet ? after : before).Pressure_Bar_g, c.setting_bar_g, 1e-9);
            EXPECT_EQ(gas.Network->NodeLinksCount, 4); // the valve pipe is back, the control items gone
            EXPECT_EQ(gas.Network->GetNodeCount(), 5);
            EXPECT_NEAR(gas.MassFlow(valvePipe), gas.MassFlow(feed), 1e-4);
            EXPECT_NEAR(gas.MassFlow(toUser), gas.MassFlow(valvePipe), 1e-4);
            EXPECT_GT(gas.MassFlow(toUser), 0.2);
        }
}
