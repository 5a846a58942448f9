// The one entry point of a calculation: demand units for the kind of fluid,
// the method of the settings, the pressure check against absolute zero,
// velocities and colour ranges, the solution checks, the summary and the
// one-time messages.

#include "network/Network_Class.h"


namespace tessaran {

void TNetwork::SolveNetwork(bool &solved, bool &solutionOk, TResultsLog &Log, TResultsLog &PrivateLog)
{
    TCalculationScope busy(*this);
    // The first passes run with loop messages off; whatever way the
    // calculation ends, they are on again for the next one.
    struct TLoopMessagesBackOn {
        bool &On;
        ~TLoopMessagesBackOn() { On = true; }
    } loopMessagesBackOn{PipeLoopsMessagesOn};
    solved = false;
    solutionOk = false;
    solvedSuccessful = false;

    const TMethodOfSolution method = ConfigOptions.MethodOfSolution;
    const bool compressible = method == CompressibleNodeAdjust || method == CompressibleFlowAdjust;
    if (compressible)
        SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
    else
        SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();

    switch (method) {
    case LinearTheoryOnly:
        SolveNetworkLinearTheory(solved, solutionOk, Log);
        break;
    case LinearTheoryThenNewton:
        PrivateLog.Clear();
        PipeLoopsMessagesOn = false;
        SolveNetworkLinearTheory(solved, solutionOk, PrivateLog);
        PipeLoopsMessagesOn = true;
        if (solved) {
            SolveNetworkNewtonWithLinearTheoryEstimates(solved, solutionOk, Log);
        } else {
            // The user sees why the first pass failed.
            for (const std::string &line : PrivateLog.Lines)
                Log.Add(line);
        }
        break;
    case EstimateDischargeNewtonOnly:
        SolveNetworkNewtonWithDischargeEstimates(solved, solutionOk, Log);
        break;
    case CompressibleNodeAdjust:
    case CompressibleFlowAdjust: {
        const bool nodeAdjust = method == CompressibleNodeAdjust;
        PrivateLog.Clear();
        Log.Add("Solve Network: Linear Theory method for initial approximate solution");
        SaveCurrentFluidZonesData();
        AdjustCurrentFluidZonesDataBasedOnFixedPressureReferenceInSystem();
        if (nodeAdjust)
            PipeLoopsMessagesOn = false;
        SolveNetworkLinearTheory(solved, solutionOk, PrivateLog);
        if (solved) {
            AdjustCurrentFluidZonesDataBasedOnPressureInSystem();
            SolveNetworkLinearTheory(solved, solutionOk, PrivateLog);
        }
        PipeLoopsMessagesOn = true;
        AdjustVolumetricFlowRatesToMatchDensityInSavedFluidZonesData();
        RestoreCurrentFluidZonesData();
        if (!solved) {
            for (const std::string &line : PrivateLog.Lines)
                Log.Add(line);
        } else if (nodeAdjust) {
            SolveNetworkCompressibleIsothermalNodeAdjustments(solved, solutionOk, Log, PrivateLog);
        } else {
            auto &parameters = ConfigOptions.CalculationParameters;
            const double kept = parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec];
            parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec] =
                parameters[CompressibleFlowAdjustInitialNodeBalanceSolutionMinFlowBalanceKgPerSec];
            SolveNetworkCompressibleIsothermalNodeAdjustments(solved, solutionOk, Log, PrivateLog);
            parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec] = kept;
            Log.Add(" ");
            Log.Add("Find Compressible Isothermal Flow Balance solution:");
            SolveNetworkNewtonCompressibleIsothermalFlowAdjustments(solved, solutionOk, Log, PrivateLog);
        }
        break;
    }
    }
    if (StopCalculating)
        solved = false;

    // Linear theory alone and Newton from discharge estimates verify and sum
    // up their own solutions; the log carries one verdict per outcome.
    const bool methodVerifies = method == LinearTheoryOnly || method == EstimateDischargeNewtonOnly;
    if (solved && !methodVerifies) {
        const bool belowAbsoluteZero = logPressureBelowAbsoluteZero(Log);
        SetAllPipeEntryAndExitVelocities();
        SetResultsColorItemMinMaxValues();
        CheckNetworkSolutionOk(Log, solutionOk, belowAbsoluteZero);
        if (compressible) {
            bool checksOk = true;
            CheckNetworkCompressibleSolutionOk(Log, checksOk);
            solutionOk = solutionOk && checksOk;
        }
    } else if (solved) {
        SetAllPipeEntryAndExitVelocities();
        SetResultsColorItemMinMaxValues();
    }
    solutionOk = solved && solutionOk;
    solvedSuccessful = solutionOk;

    const bool summarised = (method == LinearTheoryOnly && solved) ||
                            (method == EstimateDischargeNewtonOnly && solutionOk);
    if (StopCalculating) {
        // The discharge-estimate method has logged the stop itself.
        if (method != EstimateDischargeNewtonOnly) {
            Log.Add(" ");
            Log.Add("*** Calculation Stopped. System was not solved.");
        }
    } else if (!summarised) {
        SolveLogSummary(Log, solved, solutionOk);
    }
    LogOneTimeMessages(Log);
}

} // namespace tessaran
