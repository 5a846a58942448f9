#pragma once
// The choices that steer a calculation and the numeric solver settings. Each
// enumeration is one byte in the network file, so the order of every value
// below is part of the file format.

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaran {

enum TMethodOfSolution : std::uint8_t {
    LinearTheoryOnly = 0,
    LinearTheoryThenNewton = 1,
    EstimateDischargeNewtonOnly = 2,
    CompressibleNodeAdjust = 3,
    CompressibleFlowAdjust = 4,
};
inline constexpr int TMethodOfSolutionCount = 5;

enum TMethodOfCalculationNonCompressible : std::uint8_t {
    DarcyWeisbachEquation = 0,
};
inline constexpr int TMethodOfCalculationNonCompressibleCount = 1;

// The gas flow equations. The two Panhandle names keep their stored spelling.
enum TMethodOfCalculationCompressible : std::uint8_t {
    CompleteIsothermalFlowEquation = 0,
    GeneralIsothermalFlowEquation = 1,
    WeymouthIsothermalFlowEquation = 2,
    PanhandleAIsomthermalFlowEquation = 3,
    PanhandleBIsomthermalFlowEquation = 4,
    AGAIsothermalFlowEquation = 5,
    IGTIsothermalFlowEquation = 6,
};
inline constexpr int TMethodOfCalculationCompressibleCount = 7;

enum TZCompressibilityModel : std::uint8_t {
    IdealGasLawModel = 0, // Z = 1
    CustomZModel = 1,     // Z given by the user
    CNGAModel = 2,        // Z from the gas data
};
inline constexpr int TZCompressibilityModelCount = 3;

// The result value that colours the drawing.
enum TResultsColorItemEnum : std::uint8_t {
    ResultsFlow = 0,
    ResultsVelocity = 1,
    ResultsPipeTotalPressureLossIncludingElevationChange = 2,
    ResultsPipeTotalPressureLossIncludingElevationChangePer100 = 3,
    ResultsPipeFrictionLoss = 4,
    ResultsPipeFrictionLossPer100 = 5,
    ResultsPipeTotalK = 6,
    ResultsPipeFittingsLoss = 7,
    ResultsPipeReynoldsNumber = 8,
    ResultsPipeInternalDiameter = 9,
    ResultsPipeLength = 10,
    ResultsPressure = 11,
    ResultsHGL = 12,
    ResultsElevation = 13,
    ResultsMassFlow = 14,
};
inline constexpr int TResultsColorItemEnumCount = 15;

// Index of the numeric solver settings (counts are held as reals too).
enum TCalculationParameter : std::uint8_t {
    LinearTheoryFlowBalanceStopAdjustKgPerSec = 0,
    LinearTheoryFlowBalanceStopRatioKgPerSec = 1,
    LinearTheoryFluidZoneToActualGasDensityPercentageTolerance = 2,
    LinearTheoryNPSHPercentWarningTolerance = 3,
    LinearTheoryHighLiquidVelocity_ms = 4,
    LinearTheoryHighGasVelocity_ms = 5,
    NewtonDarcyFromDischargeEstMinVelocity_mPerSec = 6,
    NewtonDarcyFromDischargeEstMaxVelocity_mPerSec = 7,
    NewtonDarcyFromDischargeEstNumOfVelocityGuesses = 8,
    NewtonDarcyFromDischargeEstMinFlowBalanceKgPerSec = 9,
    NewtonDarcyFromDischargeEstMinLoopHeadBalanceInitialBar = 10,
    NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar = 11,
    NewtonDarcyFromDischargeEstMaxIterationsInitial = 12,
    NewtonDarcyFromDischargeEstMaxIterationsFinal = 13,
    NewtonDarcyFromDischargeEstDeltaMultiperInitial = 14,
    NewtonDarcyFromDischargeEstDeltaMultiperFinal = 15,
    NewtonDarcyFromDischargeEstFluidZoneToActualGasDensityPercentageTolerance = 16,
    NewtonDarcyFromDischargeEstNPSHPercentWarningTolerance = 17,
    NewtonDarcyFromDischargeEstHighLiquidVelocity_ms = 18,
    NewtonDarcyFromDischargeEstHighGasVelocity_ms = 19,
    NewtonDarcyFromLinearMinFlowBalanceKgPerSec = 20,
    NewtonDarcyFromLinearMinLoopHeadBalanceInitialBar = 21,
    NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar = 22,
    NewtonDarcyFromLinearMaxIterationsInitial = 23,
    NewtonDarcyFromLinearMaxIterationsFinal = 24,
    NewtonDarcyFromLinearDeltaMultiperInitial = 25,
    NewtonDarcyFromLinearDeltaMultiperFinal = 26,
    NewtonDarcyFromLinearFluidZoneToActualGasDensityPercentageTolerance = 27,
    NewtonDarcyFromLinearNPSHPercentWarningTolerance = 28,
    NewtonDarcyFromLinearHighLiquidVelocity_ms = 29,
    NewtonDarcyFromLinearHighGasVelocity_ms = 30,
    CompressibleNodeAdjustMinFlowBalanceKgPerSec = 31,
    CompressibleNodeAdjustStopAdjustPBar = 32,
    CompressibleNodeAdjustMaxIterationsFinal = 33,
    CompressibleNodeAdjustDeltaMultiperFinal = 34,
    CompressibleNodeAdjustPressureTolerancePercent = 35,
    CompressibleNodeAdjustMaxFullSystemRecalculations = 36,
    CompressibleNodeAdjustHighGasVelocity_ms = 37,
    CompressibleFlowAdjustMinFlowBalanceKgPerSec = 38,
    CompressibleFlowAdjustMinLoopHeadBalanceFinalBar = 39,
    CompressibleFlowAdjustMaxIterationsFinal = 40,
    CompressibleFlowAdjustDeltaMultiperFinal = 41,
    CompressibleFlowAdjustPressureTolerancePercent = 42,
    CompressibleFlowAdjustMaxFullSystemRecalculations = 43,
    CompressibleFlowAdjustInitialNodeBalanceSolutionMinFlowBalanceKgPerSec = 44,
    CompressibleFlowAdjustHighGasVelocity_ms = 45,
};
inline constexpr int TCalculationParameterCount = 46;

// The 46 settings, stored as 8-byte reals in parameter order.
using TCalculationParameters = std::array<double, TCalculationParameterCount>;

// Display names shown by the options dialog, indexed by the enumerations.
inline constexpr std::array<std::string_view, TMethodOfSolutionCount> MethodOfSolutionNames = {
    "Non-Compressible Flow Adjust [Linear Approx]",
    "Non-Compressible Flow Adjust",
    "Non-Compressible Flow Adjust [Outflow Est]",
    "Compressible Node Adjust",
    "Compressible Flow Adjust",
};

inline constexpr std::array<std::string_view, TCalculationParameterCount> CalculationParameterNames = {
    "Linear Flow Adjust -> Flow Balance Stop Adjust kg/s", // LinearTheoryFlowBalanceStopAdjustKgPerSec
    "Linear Flow Adjust -> Flow Balance Stop Ratio", // LinearTheoryFlowBalanceStopRatioKgPerSec
    "Linear Flow Adjust -> Warning: Fluid Zone Density Tolerance %", // LinearTheoryFluidZoneToActualGasDensityPercentageTolerance
    "Linear Flow Adjust -> Warning: NPSHa < NPSHr + Tolerance %", // LinearTheoryNPSHPercentWarningTolerance
    "Linear Flow Adjust -> Warning: High Liquid Velocity m/s", // LinearTheoryHighLiquidVelocity_ms
    "Linear Flow Adjust -> Warning: High Gas Velocity m/s", // LinearTheoryHighGasVelocity_ms
    "Out-Flow Adjust -> Min Velocity m/s", // NewtonDarcyFromDischargeEstMinVelocity_mPerSec
    "Out-Flow Adjust -> Max Velocity_m/s", // NewtonDarcyFromDischargeEstMaxVelocity_mPerSec
    "Out-Flow Adjust -> Num Of Velocity Guesses", // NewtonDarcyFromDischargeEstNumOfVelocityGuesses
    "Out-Flow Adjust -> Flow Balance kg/s", // NewtonDarcyFromDischargeEstMinFlowBalanceKgPerSec
    "Out-Flow Adjust -> Loop Head Balance Initial bar", // NewtonDarcyFromDischargeEstMinLoopHeadBalanceInitialBar
    "Out-Flow Adjust -> Loop Head Balance Final bar", // NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar
    "Out-Flow Adjust -> Max Iterations Initial", // NewtonDarcyFromDischargeEstMaxIterationsInitial
    "Out-Flow Adjust -> Max Iterations Final", // NewtonDarcyFromDischargeEstMaxIterationsFinal
    "Out-Flow Adjust -> Delta Multiper Initial", // NewtonDarcyFromDischargeEstDeltaMultiperInitial
    "Out-Flow Adjust -> Delta Multiper Final", // NewtonDarcyFromDischargeEstDeltaMultiperFinal
    "Out-Flow Adjust -> Warning: Fluid Zone Density Tolerance %", // NewtonDarcyFromDischargeEstFluidZoneToActualGasDensityPercentageTolerance
    "Out-Flow Adjust -> Warning: NPSHa < NPSHr + Tolerance %", // NewtonDarcyFromDischargeEstNPSHPercentWarningTolerance
    "Out-Flow Adjust -> Warning: High Liquid Velocity m/s", // NewtonDarcyFromDischargeEstHighLiquidVelocity_ms
    "Out-Flow Adjust -> Warning: High Gas Velocity m/s", // NewtonDarcyFromDischargeEstHighGasVelocity_ms
    "Flow Adjust -> Flow Balance kg/s", // NewtonDarcyFromLinearMinFlowBalanceKgPerSec
    "Flow Adjust -> Loop Head Balance Initial bar", // NewtonDarcyFromLinearMinLoopHeadBalanceInitialBar
    "Flow Adjust -> Loop Head Balance Final bar", // NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar
    "Flow Adjust -> Max Iterations Initial", // NewtonDarcyFromLinearMaxIterationsInitial
    "Flow Adjust -> Max Iterations Final", // NewtonDarcyFromLinearMaxIterationsFinal
    "Flow Adjust -> Delta Multiper Initial", // NewtonDarcyFromLinearDeltaMultiperInitial
    "Flow Adjust -> Delta Multiper Final", // NewtonDarcyFromLinearDeltaMultiperFinal
    "Flow Adjust -> Warning: Fluid Zone Density Tolerance %", // NewtonDarcyFromLinearFluidZoneToActualGasDensityPercentageTolerance
    "Flow Adjust -> Warning: NPSHa < NPSHr + Tolerance %", // NewtonDarcyFromLinearNPSHPercentWarningTolerance
    "Flow Adjust -> Warning: High Liquid Velocity m/s", // NewtonDarcyFromLinearHighLiquidVelocity_ms
    "Flow Adjust -> Warning: High Gas Velocity m/s", // NewtonDarcyFromLinearHighGasVelocity_ms
    "Compressible Node Adjust -> Flow Balance kg/s", // CompressibleNodeAdjustMinFlowBalanceKgPerSec
    "Compressible Node Adjust -> Stop Adjust Pressure bar", // CompressibleNodeAdjustStopAdjustPBar
    "Compressible Node Adjust -> Max Iterations Final", // CompressibleNodeAdjustMaxIterationsFinal
    "Compressible Node Adjust -> Delta Multiper Final", // CompressibleNodeAdjustDeltaMultiperFinal
    "Compressible Node Adjust -> Node Pressure Tolerance %", // CompressibleNodeAdjustPressureTolerancePercent
    "Compressible Node Adjust -> Max Full System Recalculations", // CompressibleNodeAdjustMaxFullSystemRecalculations
    "Compressible Node Adjust -> Warning: High Gas Velocity m/s", // CompressibleNodeAdjustHighGasVelocity_ms
    "Compressible Flow Adjust -> Flow Balance kg/s", // CompressibleFlowAdjustMinFlowBalanceKgPerSec
    "Compressible Flow Adjust -> Loop Head Balance Final bar", // CompressibleFlowAdjustMinLoopHeadBalanceFinalBar
    "Compressible Flow Adjust -> Max Iterations Final", // CompressibleFlowAdjustMaxIterationsFinal
    "Compressible Flow Adjust -> Delta Multiper Final", // CompressibleFlowAdjustDeltaMultiperFinal
    "Compressible Flow Adjust -> Node Pressure Tolerance %", // CompressibleFlowAdjustPressureTolerancePercent
    "Compressible Flow Adjust -> Max Full System Recalculations", // CompressibleFlowAdjustMaxFullSystemRecalculations
    "Compressible Flow Adjust -> Node Balance Initial Flows kg/s", // CompressibleFlowAdjustInitialNodeBalanceSolutionMinFlowBalanceKgPerSec
    "Compressible Flow Adjust -> Warning: High Gas Velocity m/s", // CompressibleFlowAdjustHighGasVelocity_ms
};

} // namespace tessaran
