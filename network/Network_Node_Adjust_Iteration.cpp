// One run of the gas node-adjust iteration: every pipe's mass flow follows
// from its two end pressures through the chosen isothermal gas equation, and
// every joint's pressure moves in proportion to its mass imbalance, until the
// joints balance or the adjustments become negligible. Pressure-reducing and
// back-pressure valves are carried by their control node and control pipe.

#include "network/Network_Class.h"

#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <cmath>
#include <string>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

constexpr int BisectionSteps = 2000;

} // namespace

double TNetwork::compressiblePipeLength_m(const TPipe &pipe) const
{
    double length = pipe.Length_m;
    if (pipe.FittingsInUse())
        length += pipe.equivPipeLengthForFittings_m;
    if (pipe.ComponentInUse()) {
        const TPressureType type = pipe.ComponentPressure.PressureType;
        if (type != ComponentPressureFixed && type != ComponentPressureCurve)
            length += pipe.equivPipeLengthForComponentCvKvSprinklerK;
    }
    return length;
}

double TNetwork::compressiblePipeFlow_kgs(const TPipe &pipe, const TFluid &fluid, double length_m,
                                          double startPressure_bar_g, double endPressure_bar_g) const
{
    const TConfigOptions &options = ConfigOptions;
    return calcCompressibleFlowWithZ(options.MethodOfCalculationCompressible, options.ZCompressibilityModel,
                                     GasModel_Std_Temp_degrees_k, GasModel_Std_Pressure_Pa_a,
                                     options.PipelineEfficiencyE, startPressure_bar_g, endPressure_bar_g,
                                     options.Atmosphere_bar_a, length_m, pipe.InnerDiameter_m,
                                     pipe.InnerRoughness_m, pipe.FrictionFactor, fluid.density_kgs_m3,
                                     fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise,
                                     options.ZCompressibilityFactor);
}

void TNetwork::nodeAdjustPipeFlow(int ThePipeId, int TheFromNodeId, int TheToNodeId)
{
    TPipe &pipe = GetPipe(ThePipeId);
    const TFluid &fluid = GetPipeFluid(ThePipeId);
    const double rho = fluid.density_kgs_m3;
    double ps = GetNode(TheFromNodeId).Pressure_Bar_g;
    double pe = GetNode(TheToNodeId).Pressure_Bar_g + pipe.PressureLossDueToElevationChange_Bar;
    const double length = compressiblePipeLength_m(pipe);

    // The flow at which a flow-dependent head or loss and the pipe's own
    // gas law agree, by bisection; converged is false when none was met.
    auto bisect = [&](double upper_kgs, auto pipeFlowForFlow, bool &converged) {
        double lower = 0, upper = upper_kgs;
        double q = (lower + upper) / 2;
        converged = false;
        for (int step = 1; step <= BisectionSteps; ++step) {
            const double m = pipeFlowForFlow(q);
            if (q >= m)
                upper = q;
            else
                lower = q;
            const double previous = q;
            q = (lower + upper) / 2;
            if (std::fabs(m - q) <= 1e-10) {
                converged = true;
                return previous;
            }
        }
        return q;
    };

    if (pipe.PumpCount == 1 && pipe.PumpUseInCalc) {
        const TPump &pump = pipe.Pump;
        if (pump.PumpType == PumpFixedHead) {
            ps += pump.calcPumpHead_Bar(1.0, rho);
        } else if (pump.PumpType == PumpFixedSpeed) {
            const int points = pump.PumpPoints.PointsCount;
            const double upper = points >= 1 ? pump.PumpPoints.Points[points].Flow_kgs : 0.0;
            bool converged = false;
            const double q = bisect(
                upper,
                [&](double flow) {
                    return compressiblePipeFlow_kgs(pipe, fluid, length, ps + pump.calcPumpHead_Bar(flow, rho), pe);
                },
                converged);
            ps += pump.calcPumpHead_Bar(converged ? q : 0.0, rho);
        }
    }

    if (pipe.ComponentInUse()) {
        const TComponentPressure &component = pipe.ComponentPressure;
        const double diameter = pipe.InnerDiameter_m;
        if (component.PressureType == ComponentPressureFixed) {
            pe += component.calcLoss_Bar(1.0, rho, diameter);
        } else if (component.PressureType == ComponentPressureCurve) {
            const int points = component.CurvePoints.PointsCount;
            const double upper = points >= 1 ? component.CurvePoints.Point(points).Flow_kgs : 0.0;
            bool converged = false;
            const double q = bisect(
                upper,
                [&](double flow) {
                    return compressiblePipeFlow_kgs(pipe, fluid, length, ps,
                                                    pe + component.calcLoss_Bar(flow, rho, diameter));
                },
                converged);
            pe += component.calcLoss_Bar(converged ? q : upper, rho, diameter);
        }
    }

    if (IsPipePRVOrBPVNewControlPipe(ThePipeId) || !(pipe.FrictionFactor > 0))
        return;
    const double m = compressiblePipeFlow_kgs(pipe, fluid, length, ps, pe);
    pipe.FlowUncompressed_m3s = rho > 0 ? m / rho : 0.0;
    pipe.FlowKgsDivPressDiffBar = ps == pe ? std::fabs(m / 1e-6) : std::fabs(m / (ps - pe));
}

// --- Pressure-reducing and back-pressure valves ------------------------------------

double TNetwork::netOutflowAtNode_m3s(int TheNodeId, const TFluid &controlFluid) const
{
    const TNode &node = GetNode(TheNodeId);
    double flow = node.JointDischarge_m3s - node.JointSupply_m3s;
    if (!(controlFluid.density_kgs_m3 > 0))
        return flow;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.ToNodeId == TheNodeId)
            flow -= pipeMassFlow_kgs(link.PipeId) / controlFluid.density_kgs_m3;
        if (link.FromNodeId == TheNodeId)
            flow += pipeMassFlow_kgs(link.PipeId) / controlFluid.density_kgs_m3;
    }
    return flow;
}

void TNetwork::setControlNodeDemand(int ControlNodeId, const TFluid &controlFluid, double Supply_m3s,
                                    double Discharge_m3s)
{
    TNode &node = GetNode(ControlNodeId);
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointSupply_m3s = Supply_m3s;
    node.JointDischarge_m3s = Discharge_m3s;
    node.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(controlFluid, ConfigOptions.Atmosphere_bar_a,
                                                                     ConfigOptions.GasFlowTemperaturePressureModel);
    node.JointDemandUseFlowType = MassFlow;
}

void TNetwork::setControlPipePressureTerm(TPipe &controlPipe, double m_kgs, double inlet_bar_g, double outlet_bar_g)
{
    controlPipe.FlowKgsDivPressDiffBar = inlet_bar_g == outlet_bar_g ? 0.001 : m_kgs / (inlet_bar_g - outlet_bar_g);
}

void TNetwork::NodeAdjustCalculationSetFlowRateInAllControlPipesForPRVsToDownnstreamFlowRate()
{
    for (int f = 1; f <= NodeLinksFlowControlCount; ++f) {
        const TFlowControlLink &link = NodeLinksFlowControl[at(f)];
        if (link.ControlType != PRV || link.ControlPipeId < 1)
            continue;
        const TFluid &fluid = GetPipeFluid(link.ControlPipeId);
        const double flow = netOutflowAtNode_m3s(link.ToNodeId, fluid);
        GetPipe(link.ControlPipeId).FlowUncompressed_m3s = flow;
        setControlNodeDemand(link.ControlNodeId, fluid, 0, flow);
    }
}

void TNetwork::NodeAdjustCalculationSetEndNodePressureToMatchFlowRatePressureLossInAllControlPipesForPRVs()
{
    const TConfigOptions &options = ConfigOptions;
    for (int f = 1; f <= NodeLinksFlowControlCount; ++f) {
        const TFlowControlLink &link = NodeLinksFlowControl[at(f)];
        if (link.ControlType != PRV || link.ControlPipeId < 1)
            continue;
        TPipe &pipe = GetPipe(link.ControlPipeId);
        const TFluid &fluid = GetPipeFluid(link.ControlPipeId);
        const double m = pipeMassFlow_kgs(link.ControlPipeId);
        const double inlet = GetNode(link.FromNodeId).Pressure_Bar_g;
        const double drop = calcPressureDropKnownInlet(
            options.MethodOfCalculationCompressible, options.ZCompressibilityModel, GasModel_Std_Temp_degrees_k,
            GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE, inlet, m, options.Atmosphere_bar_a,
            compressiblePipeLength_m(pipe), pipe.InnerDiameter_m, pipe.InnerRoughness_m, pipe.FrictionFactor,
            fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise,
            options.ZCompressibilityFactor);
        TNode &controlNode = GetNode(link.ControlNodeId);
        controlNode.Pressure_Bar_g = inlet - drop;
        setControlPipePressureTerm(pipe, m, inlet, controlNode.Pressure_Bar_g);
    }
}

void TNetwork::NodeAdjustCalculationSetFlowRateInAllControlPipesForBPVsToUpstreamFlowRate()
{
    for (int f = 1; f <= NodeLinksFlowControlCount; ++f) {
        const TFlowControlLink &link = NodeLinksFlowControl[at(f)];
        if (link.ControlType != BPV || link.ControlPipeId < 1)
            continue;
        const TFluid &fluid = GetPipeFluid(link.ControlPipeId);
        const double flow = -netOutflowAtNode_m3s(link.FromNodeId, fluid);
        GetPipe(link.ControlPipeId).FlowUncompressed_m3s = flow;
        setControlNodeDemand(link.ControlNodeId, fluid, flow, 0);
    }
}

void TNetwork::NodeAdjustCalculationSetStartNodePressureToMatchFlowRatePressureLossInAllControlPipesForBPVs()
{
    const TConfigOptions &options = ConfigOptions;
    for (int f = 1; f <= NodeLinksFlowControlCount; ++f) {
        const TFlowControlLink &link = NodeLinksFlowControl[at(f)];
        if (link.ControlType != BPV || link.ControlPipeId < 1)
            continue;
        TPipe &pipe = GetPipe(link.ControlPipeId);
        const TFluid &fluid = GetPipeFluid(link.ControlPipeId);
        const double m = pipeMassFlow_kgs(link.ControlPipeId);
        const double outlet = GetNode(link.ToNodeId).Pressure_Bar_g;
        const double drop = calcPressureDropKnownOutlet(
            options.MethodOfCalculationCompressible, options.ZCompressibilityModel, GasModel_Std_Temp_degrees_k,
            GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE, outlet, m, options.Atmosphere_bar_a,
            compressiblePipeLength_m(pipe), pipe.InnerDiameter_m, pipe.InnerRoughness_m, pipe.FrictionFactor,
            fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K, fluid.centipoise,
            options.ZCompressibilityFactor);
        TNode &controlNode = GetNode(link.ControlNodeId);
        controlNode.Pressure_Bar_g = outlet + drop;
        setControlPipePressureTerm(pipe, m, controlNode.Pressure_Bar_g, outlet);
    }
}

// --- The iteration run ----------------------------------------------------------------

void TNetwork::SolveNetworkCompressibleIsothermalNodeAdjustmentsIterate(
    double CompressibleNodeBalancingToleranceStopAdjustP_bar, int CompressibleMaxAllowedIterations,
    double CompressibleDeltaMultiper, double CompressibleMaxAllowedFlowContinuitySumKgSec, bool &solved,
    bool &solutionOk, TResultsLog &Log, double &largestFlowContinuitySumKgSec, double &largestNodeAdjustP_bar)
{
    CurrentMethodOfSolution = CompressibleNodeAdjust;
    ++MatrixEquations.IterationCountTotal;
    auto setEquivalentLengths = [&](int pipeId) {
        if (pipeId < 1)
            return;
        TPipe &pipe = GetPipe(pipeId);
        pipe.SetEquivPipeLengthForFittings_m();
        pipe.SetEquivPipeLengthForComponentCvKvSprinklerK();
    };
    for (int i = 1; i <= NodeLinksCount; ++i)
        setEquivalentLengths(NodeLinks[at(i)].PipeId);
    for (int i = 1; i <= NodeLinksFlowControlCount; ++i)
        setEquivalentLengths(NodeLinksFlowControl[at(i)].PipeId);
    for (int i = 1; i <= NodeLinksPumpAtSetFlowRateCount; ++i)
        setEquivalentLengths(NodeLinksPumpAtSetFlowRate[at(i)].PipeId);

    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    int k = 0;
    bool ok = false;
    int largestImbalanceNodeId = 0;
    int largestAdjustmentNodeId = 0;
    largestFlowContinuitySumKgSec = 0;
    largestNodeAdjustP_bar = 1.0;
    while (!ok && largestNodeAdjustP_bar > CompressibleNodeBalancingToleranceStopAdjustP_bar &&
           k < CompressibleMaxAllowedIterations && !StopCalculating) {
        ++k;
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[at(i)];
            nodeAdjustPipeFlow(link.PipeId, link.FromNodeId, link.ToNodeId);
        }
        NodeAdjustCalculationSetFlowRateInAllControlPipesForPRVsToDownnstreamFlowRate();
        NodeAdjustCalculationSetEndNodePressureToMatchFlowRatePressureLossInAllControlPipesForPRVs();
        NodeAdjustCalculationSetFlowRateInAllControlPipesForBPVsToUpstreamFlowRate();
        NodeAdjustCalculationSetStartNodePressureToMatchFlowRatePressureLossInAllControlPipesForBPVs();

        SetNodeFlowContinuityKgSecArray();
        largestNodeAdjustP_bar = 0;
        for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
            TNode &node = GetNode(id);
            const double perBar = NodeFlowKgsDivPressDiffBar[at(id)];
            if (node.NodeType != Joint || !(std::fabs(perBar) > 1e-7))
                continue;
            const double adjustment = CompressibleDeltaMultiper * NodeContinuityFlowKgs[at(id)] / std::fabs(perBar);
            if (!std::isfinite(adjustment))
                continue;
            if (std::fabs(adjustment) > largestNodeAdjustP_bar) {
                largestNodeAdjustP_bar = std::fabs(adjustment);
                largestAdjustmentNodeId = id;
            }
            node.Pressure_Bar_g = std::max(node.Pressure_Bar_g + adjustment, -atmosphere);
        }

        ok = false;
        if (k % 300 == 1) {
            CheckNetworkGasFlowContinuity(CompressibleMaxAllowedFlowContinuitySumKgSec, ok, largestImbalanceNodeId,
                                          largestFlowContinuitySumKgSec);
            CalculatingString = "Node Adjust, Iteration: " + std::to_string(k) + "\r" + "Node " +
                                std::to_string(largestImbalanceNodeId) + ",   Flow Balance: " +
                                formatFixed(12, largestFlowContinuitySumKgSec) + " " + unitName(unt_kg_sec) + "\r" +
                                "Node " + std::to_string(largestAdjustmentNodeId) + ",   Largest Adjustment: " +
                                formatFixed(12, largestNodeAdjustP_bar) + " " + unitPlainName(unt_Bar_G);
            UserInterface->ProcessMessages();
        }
    }

    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        calcCompressiblePipeInfo(link.PipeId, link.FromNodeId, link.ToNodeId);
    }

    CheckNetworkGasFlowContinuity(CompressibleMaxAllowedFlowContinuitySumKgSec, ok, largestImbalanceNodeId,
                                  largestFlowContinuitySumKgSec);
    solved = ok;
    solutionOk = ok;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (!(GetNode(id).Pressure_Bar_g + atmosphere > 0))
            solved = false;

    const std::string massUnit = unitName(unt_kg_sec);
    Log.Add(" ");
    Log.Add(" ");
    Log.Add("Solve Network: Calculate compressible flow solution using updated node pressures");
    Log.Add(" ");
    Log.Add("Node Adjust Iterations: " + std::to_string(k));
    Log.Add("Largest Pressure Adjustment (bar): " + formatFixed(14, largestNodeAdjustP_bar));
    Log.Add("Node " + std::to_string(largestImbalanceNodeId) + ", Flow Balance: " +
            formatFixed(12, largestFlowContinuitySumKgSec) + " " + massUnit);
    if (ok)
        Log.Add("Flow Balanced at all Nodes to within " + formatFixed(12, CompressibleMaxAllowedFlowContinuitySumKgSec) +
                " " + massUnit + ")");
    else
        Log.Add("(outside specified tolerance of " + formatFixed(12, CompressibleMaxAllowedFlowContinuitySumKgSec) +
                " " + massUnit + ")");
}

void TNetwork::calcCompressiblePipeInfo(int ThePipeId, int TheFromNodeId, int TheToNodeId)
{
    const TConfigOptions &options = ConfigOptions;
    const TNode &from = GetNode(TheFromNodeId);
    const TNode &to = GetNode(TheToNodeId);
    GetPipe(ThePipeId).CalcPipeInfo(GetPipeFluid(ThePipeId), options.UnitOfLength, CurrentMethodOfSolution,
                                    options.MethodOfCalculationCompressible, GasModel_Std_Temp_degrees_k,
                                    GasModel_Std_Pressure_Pa_a, options.PipelineEfficiencyE,
                                    options.ZCompressibilityModel, options.ZCompressibilityFactor, from.Elevation_m,
                                    to.Elevation_m, from.Pressure_Bar_g, to.Pressure_Bar_g, options.Atmosphere_bar_a);
}

} // namespace tessaran
