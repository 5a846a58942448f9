// The two methods for gas networks. Node adjust balances every joint's mass
// by moving its pressure (see Network_Node_Adjust_Iteration.cpp) over up to
// a set number of full recalculations; flow adjust refines that result with
// the Newton-Raphson solution of the isothermal equation system, offering to
// relax the loop balance when it cannot converge further. Both prepare the
// network as the liquid methods do and always put the links back.

#include "network/Network_Class.h"

#include "platform/Pascal.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <exception>
#include <limits>
#include <string>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

// The Newton iteration's status when its step multiplier fell below its
// floor: it cannot converge any further.
constexpr int StatusCannotConvergeFurther = 1;

} // namespace

bool TNetwork::isNegativeFlowInAnyNonControlPipe() const
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[at(i)].PipeId;
        if (GetPipe(pipeId).FlowUncompressed_m3s < 0 && !IsPipePRVOrBPVNewControlPipe(pipeId))
            return true;
    }
    return false;
}

void TNetwork::SolveNetworkCompressibleIsothermalNodeAdjustments(bool &solved, bool &solutionOk, TResultsLog &Log,
                                                                 TResultsLog & /*PrivateLog*/)
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
    CurrentMethodOfSolution = CompressibleNodeAdjust;
    solved = false;
    solutionOk = false;
    Log.Add("Solve Network: " + ConfigOptions.GetMethodOfSolutionAndCalculationString());
    CalculatingString = "Solving Network - Compressible Isothermal Node Adjust...";
    UserInterface->ProcessMessages();

    const auto &parameters = ConfigOptions.CalculationParameters;
    try {
        prepareLinksAndLoops(Log);
        ++MatrixEquations.IterationCountTotal;
        MatrixEquationsGenerate(MatrixEquations, Log, true);
        UserInterface->ProcessMessages();
        SetNodeFluidZoneIndexArray();

        const int maxRecalculations = Trunc(parameters[CompressibleNodeAdjustMaxFullSystemRecalculations]);
        double previousImbalance = std::numeric_limits<double>::max();
        bool done = false;
        for (int n = 1; n <= maxRecalculations && !StopCalculating && !done; ++n) {
            double largestImbalance = 0, largestAdjustment = 0;
            SolveNetworkCompressibleIsothermalNodeAdjustmentsIterate(
                parameters[CompressibleNodeAdjustStopAdjustPBar],
                Trunc(parameters[CompressibleNodeAdjustMaxIterationsFinal]),
                parameters[CompressibleNodeAdjustDeltaMultiperFinal],
                parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec], solved, solutionOk, Log, largestImbalance,
                largestAdjustment);
            // Runs past the third that no longer reduce the imbalance will not
            // find a balance.
            if (n > 3 && !solutionOk && !(largestImbalance < previousImbalance)) {
                solved = false;
                break;
            }
            previousImbalance = largestImbalance;
            if (solved && n >= 3)
                done = true;
            // Asked once per recalculation at most; a refusal is final, so the
            // question is not put again on the next recalculation.
            const bool negativeBefore = isNegativeFlowInAnyNonControlPipe();
            ReverseAnyNegativeFlowPipesForFinalSolutionNodeBalance(solved, Log);
            if (negativeBefore && isNegativeFlowInAnyNonControlPipe()) {
                solved = false;
                break;
            }
        }
        if (StopCalculating)
            solved = false;

        if (solved) {
            CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, Log);
            CheckNetworkForNegativeFlowsPreventBackflow(solved, Log);
        }
        restoreAllPreparedLinks(Log);
        SetAllPipeEntryAndExitVelocities();
        if (solved) {
            SetFlowControlPressureLosses(solved, Log, true);
            SetPumpsSetFlowRatePressureLosses(solved, Log, true);
        }
    } catch (const std::exception &e) {
        restoreAllPreparedLinks(Log);
        logMethodException(Log, e);
        solved = false;
        solutionOk = false;
        solvedSuccessful = false;
    }
}

void TNetwork::SolveNetworkNewtonCompressibleIsothermalFlowAdjustments(bool &solved, bool &solutionOk,
                                                                       TResultsLog &Log, TResultsLog & /*PrivateLog*/)
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
    int status = 0;
    CurrentMethodOfSolution = CompressibleFlowAdjust;
    solved = false;
    solutionOk = false;
    FinalPressureBalanceToleranceMaybeTooSmall = false;
    HighestPressureBalancingToleranceFinal_bar = 0;

    const TConfigOptions &options = ConfigOptions;
    const auto &parameters = options.CalculationParameters;
    TMatrixEquations &equations = MatrixEquations;
    try {
        prepareLinksAndLoops(Log);
        ++equations.IterationCountTotal;
        CalculatingString = "Solving Network Equations...";
        Log.Add(" ");
        Log.Add("Compressible Isothermal Flow Balance. Refining...");
        CalculatingString = "Compressible Isothermal Flow Balance. Refining...";
        NodeLinksSave();

        const int maxRecalculations = Trunc(parameters[CompressibleFlowAdjustMaxFullSystemRecalculations]);
        std::string statusText;
        for (int r = 1; !solved && r <= maxRecalculations && !StopCalculating && status == 0; ++r) {
            MatrixEquationsGenerate(equations, Log, true);
            equations.ClearBestAccuracyFound();
            equations.MinFlowTermsAccuracy_kgs = parameters[CompressibleFlowAdjustMinFlowBalanceKgPerSec];
            equations.MinHeadTermsAccuracy_bar = parameters[CompressibleFlowAdjustMinLoopHeadBalanceFinalBar];
            equations.MaxNewtonIterations = Trunc(parameters[CompressibleFlowAdjustMaxIterationsFinal]);
            equations.NewtonIterationDeltaMultiplier = parameters[CompressibleFlowAdjustDeltaMultiperFinal];
            equations.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodIsothermal);
            equations.IterationCountTotal += equations.IterationCount;
            const std::string progress =
                "Flow Adjustment " + std::to_string(r) + ", Total Iterations: " +
                std::to_string(equations.IterationCountTotal);
            Log.Add(progress);
            CalculatingString = progress + "\r" + "Loops Balanced to:  " +
                                formatFixed(8, static_cast<double>(equations.FResultBestHeadBarAccuracy)) + " " +
                                unitPlainName(unt_Bar_G);
            UserInterface->ProcessMessages();
            if (!solved)
                equations.LogBestAccuracyFound(Log, options.UnitOfMassFlow, options.UnitOfSurfacePressure);
            ReCalcCompressibleFlowNetworkFromMatrixQVariables(solved, Log);
        }

        if (status == StatusCannotConvergeFurther) {
            const double relaxed = static_cast<double>(equations.FResultBestHeadBarAccuracy) + 1e-10;
            const TUnit unit = options.UnitOfSurfacePressure;
            const std::string relaxedText =
                formatFixed(12, convertPressure(unt_Bar_G, unit, relaxed, options.Atmosphere_bar_a,
                                                FluidZones[1].Fluid.density_kgs_m3)) +
                " " + unitPlainName(unit);
            const std::string question = "Cannot converge further.\r\rOption: Allow relaxation of Loop Balance.\r\r"
                                         "Set Loop Balance to " +
                                         relaxedText + " ?" + "\r";
            if (UserInterface->AskYesNo(TMessageKind::Confirmation, question)) {
                Log.Add(" ");
                Log.Add("Relax Loop Balance Tolerance to " + relaxedText + " [Confirmed by User]");
                equations.MinHeadTermsAccuracy_bar = relaxed;
                equations.SolveQkgsVariables(solved, status, statusText, Log, MatrixCalculationMethodIsothermal);
            } else {
                StopCalculating = true;
            }
        }

        if (StopCalculating)
            solved = false;
        if (!solved) {
            Log.Add("Solution did not converge to accurate solution.");
            equations.LogBestAccuracyFound(Log, options.UnitOfMassFlow, options.UnitOfSurfacePressure);
        }
        if (solved) {
            ReCalcCompressibleFlowNetworkFromMatrixQVariables(solved, Log);
            CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(solved, Log);
            CheckNetworkForNegativeFlowsPreventBackflow(solved, Log);
            if (solved) {
                CalculatingString = "Found accurate solution.";
                Log.Add("Final solution iterations: " + std::to_string(equations.IterationCount));
                equations.LogBestAccuracyFound(Log, options.UnitOfMassFlow, options.UnitOfSurfacePressure);
            }
        }
        UserInterface->ProcessMessages();
        if (solved) {
            ReverseAnyNegativeFlowPipesForFinalSolution(solved, Log);
            ReCalcCompressibleFlowNetworkFromMatrixQVariables(solved, Log);
        }

        restoreAllPreparedLinks(Log);
        SetAllPipeEntryAndExitVelocities();
        if (solved) {
            SetFlowControlPressureLosses(solved, Log, true);
            SetPumpsSetFlowRatePressureLosses(solved, Log, true);
        }
    } catch (const std::exception &e) {
        restoreAllPreparedLinks(Log);
        logMethodException(Log, e);
        solved = false;
        solutionOk = false;
        solvedSuccessful = false;
    }
}

} // namespace tessaran
