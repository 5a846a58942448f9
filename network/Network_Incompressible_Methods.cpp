// The two liquid methods that start from linear theory: linear theory alone,
// and Newton-Raphson refining the linear-theory flows in up to four attempts
// with different step multipliers. Each method prepares the network, finds
// the loops, generates and iterates the equations, writes the flows back,
// checks for reverse flows and puts the links back; it absorbs its own
// exceptions and always leaves the network in its drawn state.

#include "network/Network_Class.h"

#include "platform/Pascal.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <cmath>
#include <exception>
#include <string>
#include <vector>

namespace tessaran {

namespace {

// The flow tolerance of an equation system as it is created; linear theory
// has no setting of its own for it.
constexpr double LinearTheoryMinFlowTermsAccuracy_kgs = 1.0E-6;

} // namespace

// --- Busy state -----------------------------------------------------------------

TNetwork::TCalculationScope::TCalculationScope(TNetwork &network) : network_(network)
{
    ++network_.calculationDepth_;
}

TNetwork::TCalculationScope::~TCalculationScope() { --network_.calculationDepth_; }

// --- Counters and small preparations -------------------------------------------------

int TNetwork::getIterationCount() const { return MatrixEquations.IterationCount; }

int TNetwork::getIterationCountTotal() const { return MatrixEquations.IterationCountTotal; }

void TNetwork::SetAllTankLiquidLevelsEqualZeroWhereFluidIsGas()
{
    const std::vector<int> zones = NodeFluidZoneIndexes();
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        int zone = id <= MaxNodes ? zones[static_cast<std::size_t>(id)] : GetNodeFluidZoneIndex(id);
        if (zone < 1 || zone > MaxFluidZones)
            zone = 1;
        if (FluidZones[static_cast<std::size_t>(zone)].Fluid.FluidIsGas)
            GetNode(id).LiquidLevel_m = 0;
    }
}

void TNetwork::restoreAllPreparedLinks(TResultsLog &Log)
{
    RestoreAllNodeLinksForPipesWithFlowControl(Log);
    RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(Log);
    RestoreAllNodeLinksForPreventBackflow(Log);
    SortNodeLinksByPipeId();
}

bool TNetwork::logPressureBelowAbsoluteZero(TResultsLog &Log)
{
    double minPressure = 0, maxPressure = 0;
    std::string minNode, maxNode;
    GetMinAndMaxPressureAtAnyNode_bar_g(minPressure, minNode, maxPressure, maxNode);
    const double atmosphere = ConfigOptions.Atmosphere_bar_a;
    if (!(minPressure < -atmosphere))
        return false;
    const TUnit unit = ConfigOptions.UnitOfSurfacePressure;
    const double density = FluidZones[1].Fluid.density_kgs_m3;
    Log.Add(" ");
    Log.Add(">>> PROBLEM:");
    Log.Add("Pressure at some nodes would need to be less than 0 bar a, which is not physically possible.");
    Log.Add("In this model, 0 bar a (absolute zero) is " +
            formatFixed(unitDecimals(unit), convertPressure(unt_Bar_A, unit, 0.0, atmosphere, density)) + " " +
            unitName(unit));
    Log.Add("Pressure at node " + minNode + " would need to be " +
            formatFixed(unitDecimals(unit), convertPressure(unt_Bar_G, unit, minPressure, atmosphere, density)) + " " +
            unitName(unit) + " (not physically possible)");
    return true;
}

void TNetwork::prepareLinksAndLoops(TResultsLog &Log)
{
    // The nodes that links name, and of the nodes the first with a demand
    // but no link, in one pass over each.
    std::vector<char> linked(static_cast<std::size_t>(MaxNodes) + 1, 0);
    bool pipesInRange = true;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        pipesInRange = pipesInRange && link.PipeId >= 1 && link.PipeId <= TPipeSet::MaxNumberOfPipes;
        for (const int id : {link.FromNodeId, link.ToNodeId})
            if (id >= 0) {
                if (static_cast<std::size_t>(id) >= linked.size())
                    linked.resize(static_cast<std::size_t>(id) + 1, 0);
                linked[static_cast<std::size_t>(id)] = 1;
            }
    }
    bool pressureReference = false;
    int unlinkedDemand = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        pressureReference = pressureReference || node.NodeType == Tank || node.NodeType == EndPressure;
        const bool demand = node.JointSupply_kgs != 0 || node.JointDischarge_kgs != 0 ||
                            node.JointSupply_m3s != 0 || node.JointDischarge_m3s != 0;
        const bool isLinked = static_cast<std::size_t>(id) < linked.size() && linked[static_cast<std::size_t>(id)];
        if (unlinkedDemand == 0 && node.NodeType == Joint && demand && !isLinked)
            unlinkedDemand = id;
    }
    // Without a fixed pressure any flow pattern would balance; refuse it
    // before a method can call one a solution.
    if (!pressureReference)
        throw ENetworkClass("The network has neither a Tank nor an End Pressure node: flows and pressures can only "
                            "be found from a known pressure.");
    // Nor can a demand nothing delivers, or a fluid without density, give
    // any solution at all. A pipe's fluid is one of the zones' (the first
    // for a zone out of range): with every zone's density sound, so is
    // every pipe's, and only a pipe id out of range (which the pipe table
    // refuses) needs the pipes read.
    const auto soundDensity = [](double density) { return std::isfinite(density) && density > 0; };
    bool everyZoneSound = pipesInRange;
    for (int zone = 1; zone <= MaxFluidZones; ++zone)
        everyZoneSound = everyZoneSound && soundDensity(FluidZones[static_cast<std::size_t>(zone)].Fluid.density_kgs_m3);
    for (int i = 1; i <= NodeLinksCount && !everyZoneSound; ++i) {
        const double density = GetPipeFluid(NodeLinks[static_cast<std::size_t>(i)].PipeId).density_kgs_m3;
        if (!soundDensity(density))
            throw ENetworkClass("Pipe " + std::to_string(NodeLinks[static_cast<std::size_t>(i)].PipeId) +
                                " carries a fluid whose density is not above zero.");
    }
    if (unlinkedDemand != 0)
        throw ENetworkClass("Node " + std::to_string(unlinkedDemand) + ", " + GetNode(unlinkedDemand).Name +
                            ", has a demand flow but no pipe connects to it.");
    SortNodeLinksByPipeId();
    SetAllFlowControlEquivalentMassFlowRates();
    SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
    SetAllComponentEquivalentMassFlowRates();
    RemoveAllNodeLinksForPipesWithFlowControl(true, true, true);
    RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
    PipeLoopsRemoveAllLoops();
    PipeLoopsGenerateAllLoops(Log);
}

void TNetwork::logMethodException(TResultsLog &Log, const std::exception &e)
{
    Log.Add(" ");
    Log.Add(">>> PROBLEM:");
    Log.Add(e.what());
}

// --- Linear theory ---------------------------------------------------------------------

void TNetwork::SolveNetworkLinearTheory(bool &solved, bool &solutionOk, TResultsLog &Log)
{
    TCalculationScope busy(*this);
    solved = false;
    solutionOk = false;
    CurrentMethodOfSolution = LinearTheoryOnly;
    CalculatingString = "Preparing to solve network.";
    // Cleared before the first message pump, so a Stop pressed there counts.
    StopCalculating = false;
    UserInterface->ProcessMessages();
    CalculationOverflowCount = 0;
    WarningCount = 0;
    CommentCount = 0;
    MatrixEquations.IterationCountTotal = 0;
    MatrixEquations.IterationCountTotalSaved = 0;
    FinalPressureBalanceToleranceMaybeTooSmall = false;
    HighestPressureBalancingToleranceFinal_bar = 0;

    const TMethodOfSolution configured = ConfigOptions.MethodOfSolution;
    const auto &parameters = ConfigOptions.CalculationParameters;
    try {
        prepareLinksAndLoops(Log);
        MatrixEquationsGenerate(MatrixEquations, Log, true);
        MatrixEquationsAddEquivalentLengthForFittings(MatrixEquations, Log);
        MatrixEquationsAddEquivalentLengthForComponents(MatrixEquations, Log);

        if (configured == LinearTheoryOnly) {
            Log.Add("Solving network to approximate solution using linear convergence.");
            Log.Add(" ");
            Log.Add("*** Note: The solution flow rates will be used in the Darcy-Weisbach equation to calculate an "
                    "accurate pressure drop through each pipe. The resulting node pressures will be verified against "
                    "all connected nodes, again using the accurate Darcy-Weisbach method. The solution obtained using "
                    "linear convergence may produce a result that is not accurate enough to pass verification via the "
                    "Darcy-Weisbach method.");
        } else if (configured == LinearTheoryThenNewton) {
            Log.Add("Solving network to accurate solution using Newton convergence.");
            Log.Add(" ");
            Log.Add("First find initial approximate solution using linear convergence.");
        }

        // A tolerance left behind by an earlier run of another method must
        // not decide which flows count as reversed here.
        MatrixEquations.MinFlowTermsAccuracy_kgs = LinearTheoryMinFlowTermsAccuracy_kgs;
        MatrixEquations.LinearTheoryFlowBalanceStopAdjustKgPerSec =
            parameters[LinearTheoryFlowBalanceStopAdjustKgPerSec];
        MatrixEquations.LinearTheoryFlowBalanceStopRatioKgPerSec = parameters[LinearTheoryFlowBalanceStopRatioKgPerSec];
        int status = 0;
        std::string statusText;
        MatrixEquations.LinearTheorySolveQkgsVariables(solved, status, statusText, Log);
        UserInterface->ProcessMessages();
        if (StopCalculating)
            solved = false;

        if (solved) {
            ReCalcNetworkFromMatrixQVariables(solved, Log);
            // The checks leave the flows and links as they found them, or
            // re-solve and write the new flows back themselves; a liquid's
            // written-back state does not depend on the node pressures. While
            // the method stays solved, writing back again from the same flows
            // and links would write the same state.
            CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, Log);
            CheckNetworkForNegativeFlowsPreventBackflow(solved, Log);
            if (solved) {
                CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, Log);
                CheckNetworkForNegativeFlowsPreventBackflow(solved, Log);
            }
            if (solved && configured == LinearTheoryOnly && ReverseAnyNegativeFlowPipesForFinalSolution(solved, Log))
                ReCalcNetworkFromMatrixQVariables(solved, Log);
        }

        RestoreAllNodeLinksForPipesWithFlowControl(Log);
        RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(Log);
        if (!solved && NodeLinksPreventBackflowCount > 0) {
            Log.Add(" ");
            Log.Add("System cannot be solved when backflow is prevented in these pipes:");
        }
        if (configured == LinearTheoryOnly)
            RestoreAllNodeLinksForPreventBackflow(Log);
        SortNodeLinksByPipeId();

        const bool linearSolved = solved;
        if (solved) {
            SetFlowControlPressureLosses(solved, Log, true);
            SetPumpsSetFlowRatePressureLosses(solved, Log, true);
            if (!solved) {
                // The valve or pump settings were not met: nothing to verify.
            } else if (configured == LinearTheoryOnly) {
                const bool belowAbsoluteZero = logPressureBelowAbsoluteZero(Log);
                SetResultsColorItemMinMaxValues();
                CheckNetworkSolutionOk(Log, solutionOk, belowAbsoluteZero);
                SolveLogSummary(Log, solved, solutionOk);
            } else {
                solutionOk = true;
            }
        }
        if (!solved) {
            RestoreAllNodeLinksForPreventBackflow(Log);
            SortNodeLinksByPipeId();
            // A pass that only prepares a later method keeps its flows.
            if (configured != LinearTheoryOnly && linearSolved)
                solved = true;
        }
    } catch (const std::exception &e) {
        restoreAllPreparedLinks(Log);
        logMethodException(Log, e);
        solved = false;
        solutionOk = false;
    }
}

// --- Newton-Raphson from the linear-theory flows --------------------------------------------

void TNetwork::SolveNetworkNewtonWithLinearTheoryEstimates(bool &solved, bool &solutionOk, TResultsLog &Log)
{
    TCalculationScope busy(*this);
    CalculatingString = "Preparing to solve network.";
    UserInterface->ProcessMessages();
    solvedSuccessful = false;
    CalculationOverflowCount = 0;
    WarningCount = 0;
    CommentCount = 0;
    MatrixEquations.IterationCountTotal = 1;
    MatrixEquations.IterationCountTotalSaved = 1;
    CurrentMethodOfSolution = LinearTheoryThenNewton;
    solved = false;
    solutionOk = false;
    StopCalculating = false;
    FinalPressureBalanceToleranceMaybeTooSmall = false;
    HighestPressureBalancingToleranceFinal_bar = 0;

    const auto &parameters = ConfigOptions.CalculationParameters;
    const TUnit massFlowUnit = ConfigOptions.UnitOfMassFlow;
    const TUnit headUnit = ConfigOptions.UnitOfSurfacePressure;
    TMatrixEquations &e = MatrixEquations;
    try {
        prepareLinksAndLoops(Log);
        ++e.IterationCountTotal;
        CalculatingString = "Solving Network Equations...";
        MatrixEquationsGenerate(e, Log, true);
        Log.Add(" ");
        Log.Add("Found linear solution flow values. Refining...");
        CalculatingString = "Found linear solution flow values. Refining...";

        e.MinFlowTermsAccuracy_kgs = parameters[NewtonDarcyFromLinearMinFlowBalanceKgPerSec];
        e.MinHeadTermsAccuracy_bar = parameters[NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar];
        e.MaxNewtonIterations = static_cast<std::int32_t>(Trunc(parameters[NewtonDarcyFromLinearMaxIterationsInitial]));
        NodeLinksSave();
        e.SaveQkgsVariablesLinearTheory();
        e.NewtonIterationDeltaMultiplier = parameters[NewtonDarcyFromLinearDeltaMultiperInitial];
        int status = 0;
        std::string statusText;
        e.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodDarcy);
        if (!solved)
            e.LogBestAccuracyFound(Log, massFlowUnit, headUnit);

        // Later attempts start again from the linear-theory flows and links.
        struct Attempt {
            double Multiplier;
            int DeltaDecimals;
            int SetDecimals;
        };
        const double initial = parameters[NewtonDarcyFromLinearDeltaMultiperInitial];
        const double final = parameters[NewtonDarcyFromLinearDeltaMultiperFinal];
        const Attempt attempts[] = {{final, 2, 10}, {(initial + final) / 4, 10, 10}, {final, 2, 2}};
        auto outsideTolerance = [&](int decimals) {
            Log.Add("Solution outside specified loop balance tolerance (using refinement delta=" +
                    formatFixed(decimals, e.NewtonIterationDeltaMultiplier) + " over " +
                    std::to_string(e.IterationCount) + " iterations)");
        };
        for (const Attempt &attempt : attempts) {
            if (solved || StopCalculating)
                break;
            UserInterface->ProcessMessages();
            if (StopCalculating)
                break;
            outsideTolerance(attempt.DeltaDecimals);
            e.ClearBestAccuracyFound();
            e.NewtonIterationDeltaMultiplier = attempt.Multiplier;
            e.MaxNewtonIterations = static_cast<std::int32_t>(Trunc(parameters[NewtonDarcyFromLinearMaxIterationsFinal]));
            Log.Add("Set Delta Multiplier to " + formatFixed(attempt.SetDecimals, attempt.Multiplier));
            NodeLinksRestore();
            e.RestoreQkgsVariablesLinearTheory();
            e.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodDarcy);
            if (!solved)
                e.LogBestAccuracyFound(Log, massFlowUnit, headUnit);
        }
        // A stop ends the method unsolved; the driver says so.
        if (StopCalculating) {
            solved = false;
        } else if (!solved) {
            outsideTolerance(2);
            e.ClearBestAccuracyFound();
            Log.Add(" ");
            Log.Add("Failed to converge from linear solution start values.");
        }

        if (solved) {
            ReCalcNetworkFromMatrixQVariables(solved, Log);
            CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, Log);
            CheckNetworkForNegativeFlowsPreventBackflow(solved, Log);
            if (solved) {
                CalculatingString = "Found accurate solution.";
                Log.Add("Final solution iterations: " + std::to_string(e.IterationCount));
                e.LogBestAccuracyFound(Log, massFlowUnit, headUnit);
            }
            UserInterface->ProcessMessages();
            // The checks leave the last write-back standing (see the linear
            // method); only reversed pipes change what another would write.
            if (solved && ReverseAnyNegativeFlowPipesForFinalSolution(solved, Log))
                ReCalcNetworkFromMatrixQVariables(solved, Log);
        }

        restoreAllPreparedLinks(Log);
        if (solved) {
            SetFlowControlPressureLosses(solved, Log, true);
            SetPumpsSetFlowRatePressureLosses(solved, Log, true);
        }
    } catch (const std::exception &ex) {
        restoreAllPreparedLinks(Log);
        logMethodException(Log, ex);
        solved = false;
        solutionOk = false;
        solvedSuccessful = false;
    }
}

} // namespace tessaran
