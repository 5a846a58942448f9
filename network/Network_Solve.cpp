// The one entry point of a calculation: demand units for the kind of fluid,
// the method of the settings, the pressure check against absolute zero,
// velocities and colour ranges, the solution checks, the summary and the
// one-time messages.

#include "network/Network_Class.h"

#include "units/Unit_Format.h"
#include "units/Units.h"

namespace tessaran {

void TNetwork::SolveNetwork(bool &solved, bool &solutionOk, TResultsLog &Log, TResultsLog &PrivateLog)
{
    TCalculationScope busy(*this);
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

    if (solved) {
        solutionOk = true;
        double minPressure = 0, maxPressure = 0;
        std::string minNode, maxNode;
        GetMinAndMaxPressureAtAnyNode_bar_g(minPressure, minNode, maxPressure, maxNode);
        const double atmosphere = ConfigOptions.Atmosphere_bar_a;
        if (minPressure < -atmosphere) {
            solutionOk = false;
            const TUnit unit = ConfigOptions.UnitOfSurfacePressure;
            const double density = FluidZones[1].Fluid.density_kgs_m3;
            Log.Add(" ");
            Log.Add(">>> PROBLEM:");
            Log.Add("Pressure at some nodes would need to be less than 0 bar a, which is not physically possible.");
            Log.Add("In this model, 0 bar a (absolute zero) is " +
                    formatFixed(unitDecimals(unit), convertPressure(unt_Bar_A, unit, 0.0, atmosphere, density)) + " " +
                    unitName(unit));
            Log.Add("Pressure at node " + minNode + " would need to be " +
                    formatFixed(unitDecimals(unit), convertPressure(unt_Bar_G, unit, minPressure, atmosphere, density)) +
                    " " + unitName(unit) + " (not physically possible)");
        }
        SetAllPipeEntryAndExitVelocities();
        SetResultsColorItemMinMaxValues();
    }
    if (solved) {
        bool checksOk = true;
        CheckNetworkSolutionOk(Log, checksOk);
        solutionOk = solutionOk && checksOk;
    }
    if (solved && compressible) {
        bool checksOk = true;
        CheckNetworkCompressibleSolutionOk(Log, checksOk);
        solutionOk = solutionOk && checksOk;
    }
    if (solutionOk) {
        if (solved)
            solvedSuccessful = true;
        SolveLogSummary(Log, solved, solutionOk);
    }
    if (StopCalculating) {
        Log.Add(" ");
        Log.Add("*** Calculation Stopped. System was not solved.");
    }
    LogOneTimeMessages(Log);
}

} // namespace tessaran
