#include "network/Config_Options.h"

#include "units/Unit_Format.h"

namespace tessaran {
namespace {

struct ParameterDefault {
    TCalculationParameter Index;
    double Value;
};

constexpr ParameterDefault kDefaults[] = {
    {LinearTheoryFlowBalanceStopAdjustKgPerSec, 0.00001},
    {LinearTheoryFlowBalanceStopRatioKgPerSec, 0.0001},
    {LinearTheoryFluidZoneToActualGasDensityPercentageTolerance, 5},
    {LinearTheoryNPSHPercentWarningTolerance, 20},
    {LinearTheoryHighLiquidVelocity_ms, 5},
    {LinearTheoryHighGasVelocity_ms, 100},
    {NewtonDarcyFromDischargeEstMinVelocity_mPerSec, 0.1},
    {NewtonDarcyFromDischargeEstMaxVelocity_mPerSec, 50},
    {NewtonDarcyFromDischargeEstNumOfVelocityGuesses, 100},
    {NewtonDarcyFromDischargeEstMinFlowBalanceKgPerSec, 0.000001},
    {NewtonDarcyFromDischargeEstMinLoopHeadBalanceInitialBar, 0.2},
    {NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar, 0.00001},
    {NewtonDarcyFromDischargeEstMaxIterationsInitial, 200},
    {NewtonDarcyFromDischargeEstMaxIterationsFinal, 2000},
    {NewtonDarcyFromDischargeEstDeltaMultiperInitial, 0.5},
    {NewtonDarcyFromDischargeEstDeltaMultiperFinal, 0.1},
    {NewtonDarcyFromDischargeEstFluidZoneToActualGasDensityPercentageTolerance, 5},
    {NewtonDarcyFromDischargeEstNPSHPercentWarningTolerance, 20},
    {NewtonDarcyFromDischargeEstHighLiquidVelocity_ms, 5},
    {NewtonDarcyFromDischargeEstHighGasVelocity_ms, 100},
    {NewtonDarcyFromLinearMinFlowBalanceKgPerSec, 0.000001},
    {NewtonDarcyFromLinearMinLoopHeadBalanceInitialBar, 0.2},
    {NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar, 0.00001},
    {NewtonDarcyFromLinearMaxIterationsInitial, 500},
    {NewtonDarcyFromLinearMaxIterationsFinal, 2000},
    {NewtonDarcyFromLinearDeltaMultiperInitial, 1.0},
    {NewtonDarcyFromLinearDeltaMultiperFinal, 0.1},
    {NewtonDarcyFromLinearFluidZoneToActualGasDensityPercentageTolerance, 5},
    {NewtonDarcyFromLinearNPSHPercentWarningTolerance, 20},
    {NewtonDarcyFromLinearHighLiquidVelocity_ms, 5},
    {NewtonDarcyFromLinearHighGasVelocity_ms, 100},
    {CompressibleNodeAdjustMinFlowBalanceKgPerSec, 0.00001},
    {CompressibleNodeAdjustStopAdjustPBar, 1e-12},
    {CompressibleNodeAdjustMaxIterationsFinal, 500000},
    {CompressibleNodeAdjustDeltaMultiperFinal, 1.0},
    {CompressibleNodeAdjustPressureTolerancePercent, 0.1},
    {CompressibleNodeAdjustMaxFullSystemRecalculations, 10},
    {CompressibleNodeAdjustHighGasVelocity_ms, 100},
    {CompressibleFlowAdjustMinFlowBalanceKgPerSec, 0.000001},
    {CompressibleFlowAdjustMinLoopHeadBalanceFinalBar, 0.0005},
    {CompressibleFlowAdjustMaxIterationsFinal, 250},
    {CompressibleFlowAdjustDeltaMultiperFinal, 1.0},
    {CompressibleFlowAdjustPressureTolerancePercent, 0.1},
    {CompressibleFlowAdjustMaxFullSystemRecalculations, 1000},
    {CompressibleFlowAdjustInitialNodeBalanceSolutionMinFlowBalanceKgPerSec, 0.001},
    {CompressibleFlowAdjustHighGasVelocity_ms, 100},
};
static_assert(std::size(kDefaults) == TCalculationParameterCount);

// First and last parameter of each method's group, in enumeration order.
struct ParameterGroup {
    int First, Last;
};
constexpr ParameterGroup kGroups[TMethodOfSolutionCount] = {
    {0, 5},   // LinearTheoryOnly
    {20, 30}, // LinearTheoryThenNewton
    {6, 19},  // EstimateDischargeNewtonOnly
    {31, 37}, // CompressibleNodeAdjust
    {38, 45}, // CompressibleFlowAdjust
};

bool IsCompressible(TMethodOfSolution method)
{
    return method == CompressibleNodeAdjust || method == CompressibleFlowAdjust;
}

} // namespace

void ResetCalculationParametersBestAccuracy(TCalculationParameters &parameters, TMethodOfSolution method)
{
    if (method >= TMethodOfSolutionCount)
        return;
    for (int i = kGroups[method].First; i <= kGroups[method].Last; ++i)
        parameters[static_cast<std::size_t>(i)] = kDefaults[i].Value;
}

void ResetCalculationParametersRelaxNodeAdjust(TCalculationParameters &parameters, TMethodOfSolution method)
{
    if (method != CompressibleNodeAdjust)
        return;
    ResetCalculationParametersBestAccuracy(parameters, method);
    parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec] = 0.0005;
    parameters[CompressibleNodeAdjustPressureTolerancePercent] = 0.5;
}

TCalculationParameters TConfigOptions::DefaultCalculationParameters()
{
    TCalculationParameters parameters{};
    for (const auto &entry : kDefaults)
        parameters[entry.Index] = entry.Value;
    return parameters;
}

void TConfigOptions::ResetDefaults()
{
    TConfigOptions defaults;
    // These survive a reset: the caller sets the reference and atmosphere,
    // and the colour-item ranges belong to the last results.
    defaults.PressureReference = PressureReference;
    defaults.Atmosphere_bar_a = Atmosphere_bar_a;
    defaults.ResultsColorItemMinValue = ResultsColorItemMinValue;
    defaults.ResultsColorItemMaxValue = ResultsColorItemMaxValue;
    defaults.ResultsColorItemAxisMinValue = ResultsColorItemAxisMinValue;
    defaults.ResultsColorItemAxisMaxValue = ResultsColorItemAxisMaxValue;
    defaults.ResultsColorItemUnit = ResultsColorItemUnit;
    defaults.ResultsColorItemMinValueFluidZoneIndex = ResultsColorItemMinValueFluidZoneIndex;
    defaults.ResultsColorItemMaxValueFluidZoneIndex = ResultsColorItemMaxValueFluidZoneIndex;
    defaults.ResultsColorItemAxisMinValueFluidZoneIndex = ResultsColorItemAxisMinValueFluidZoneIndex;
    defaults.ResultsColorItemAxisMaxValueFluidZoneIndex = ResultsColorItemAxisMaxValueFluidZoneIndex;
    defaults.DefaultPipe = DefaultPipe;
    *this = defaults;
    SetMetricUnits();
}

void TConfigOptions::SetMetricUnits()
{
    UnitOfLength = unt_m;
    UnitOfDiameter = unt_mm;
    UnitOfRoughness = unt_mm;
    UnitOfPressureLoss = unt_m_hd_fluid;
    UnitOfFlow = unt_m3_sec;
    UnitOfMassFlow = unt_kg_sec;
    UnitOfGasFlow = unt_SCMH;
    GasFlowTemperaturePressureModel = std_15degC_101325Pa;
    UnitOfVelocity = unt_m_Sec;
    UnitOfWeight = unt_kgs;
    UnitOfArea = unt_m2;
    UnitOfVolume = unt_m3;
    UnitOfSurfacePressure = unt_Bar_G;
    UnitOfLiquidLevel = unt_m;
    UnitOfElevation = unt_m;
    UnitOfTemperature = unt_degrees_C;
    UnitOfPressure = PressureReference == PressureGage ? unt_Bar_G : unt_Bar_A;
    UnitOfAtmosphere = associatedAbsolutePressureUnit(UnitOfPressure);
    UnitOfDensity = unt_kg_m3;
    UnitOfEnergy = unt_KW;
}

void TConfigOptions::SetImperialUnits()
{
    UnitOfLength = unt_ft;
    UnitOfDiameter = unt_inch;
    UnitOfRoughness = unt_inch;
    UnitOfPressureLoss = unt_ft_hd_fluid;
    UnitOfFlow = unt_ft3_sec;
    UnitOfMassFlow = unt_lb_sec;
    UnitOfGasFlow = unt_SCFM;
    GasFlowTemperaturePressureModel = std_60degF_14pt696Psi;
    UnitOfVelocity = unt_ft_Sec;
    UnitOfWeight = unt_lbs;
    UnitOfArea = unt_ft2;
    UnitOfVolume = unt_ft3;
    UnitOfSurfacePressure = unt_Psi_G;
    UnitOfLiquidLevel = unt_ft;
    UnitOfElevation = unt_ft;
    UnitOfTemperature = unt_degrees_F;
    UnitOfPressure = PressureReference == PressureGage ? unt_Psi_G : unt_Psi_A;
    UnitOfAtmosphere = associatedAbsolutePressureUnit(UnitOfPressure);
    UnitOfDensity = unt_lb_ft3;
    UnitOfEnergy = unt_HP;
}

bool TConfigOptions::IsMethodOfSolutionCompressibleEngine() const { return IsCompressible(MethodOfSolution); }

double TConfigOptions::getHighLiquidVelocity_ms() const
{
    switch (MethodOfSolution) {
    case LinearTheoryOnly: return CalculationParameters[LinearTheoryHighLiquidVelocity_ms];
    case LinearTheoryThenNewton: return CalculationParameters[NewtonDarcyFromLinearHighLiquidVelocity_ms];
    case EstimateDischargeNewtonOnly: return CalculationParameters[NewtonDarcyFromDischargeEstHighLiquidVelocity_ms];
    default: return 0;
    }
}

double TConfigOptions::getHighGasVelocity_ms() const
{
    switch (MethodOfSolution) {
    case LinearTheoryOnly: return CalculationParameters[LinearTheoryHighGasVelocity_ms];
    case LinearTheoryThenNewton: return CalculationParameters[NewtonDarcyFromLinearHighGasVelocity_ms];
    case EstimateDischargeNewtonOnly: return CalculationParameters[NewtonDarcyFromDischargeEstHighGasVelocity_ms];
    case CompressibleNodeAdjust: return CalculationParameters[CompressibleNodeAdjustHighGasVelocity_ms];
    case CompressibleFlowAdjust: return CalculationParameters[CompressibleFlowAdjustHighGasVelocity_ms];
    }
    return 0;
}

double TConfigOptions::getNPSHPercentWarningTolerance() const
{
    switch (MethodOfSolution) {
    case LinearTheoryOnly: return CalculationParameters[LinearTheoryNPSHPercentWarningTolerance];
    case LinearTheoryThenNewton: return CalculationParameters[NewtonDarcyFromLinearNPSHPercentWarningTolerance];
    case EstimateDischargeNewtonOnly:
        return CalculationParameters[NewtonDarcyFromDischargeEstNPSHPercentWarningTolerance];
    default: return 0;
    }
}

std::string TConfigOptions::GetMethodOfSolutionString() const
{
    switch (MethodOfSolution) {
    case LinearTheoryOnly: return "Non-Compressible Flow [Linear Approx]";
    case LinearTheoryThenNewton: return "Non-Compressible Flow [Accurate]";
    case EstimateDischargeNewtonOnly: return "Non-Compressible Flow [Est Out-Flow]";
    case CompressibleNodeAdjust: return "Compressible Gas Flow [Accurate Node Adjust]";
    case CompressibleFlowAdjust: return "Compressible Gas Flow [Accurate Flow Adjust]";
    }
    return "";
}

std::string TConfigOptions::GetMethodOfCalculationString() const
{
    if (!IsCompressible(MethodOfSolution))
        return MethodOfCalculationNonCompressible == DarcyWeisbachEquation ? "Darcy-Weisbach Equation" : "";
    switch (MethodOfCalculationCompressible) {
    case CompleteIsothermalFlowEquation: return "Complete Isothermal Flow Equation";
    case GeneralIsothermalFlowEquation: return "General Fundamental Isothermal Flow Equation";
    case WeymouthIsothermalFlowEquation: return "Weymouth Isothermal Flow Equation";
    case PanhandleAIsomthermalFlowEquation: return "Panhandle A Isothermal Flow Equation";
    case PanhandleBIsomthermalFlowEquation: return "Panhandle B Isothermal Flow Equation";
    case AGAIsothermalFlowEquation: return "AGA Isothermal Flow Equation";
    case IGTIsothermalFlowEquation: return "IGT Isothermal Flow Equation";
    }
    return "";
}

std::string TConfigOptions::GetCompressibilityModelString() const
{
    switch (ZCompressibilityModel) {
    case IdealGasLawModel: return "Ideal Gas Law, Compressibility Factor Z = 1.0";
    case CustomZModel:
        return "Real Gas with Custom Compressibility Factor Z = " + formatFixed(3, ZCompressibilityFactor);
    case CNGAModel: return "Real Gas with CNGA Compressibility Factor Z = [calculated for each pipe]";
    }
    return "";
}

std::string TConfigOptions::GetFrictionModelString() const
{
    if (!IsCompressible(MethodOfSolution))
        return "Colebrook-White Friction Factors";
    switch (MethodOfCalculationCompressible) {
    case CompleteIsothermalFlowEquation:
    case GeneralIsothermalFlowEquation: return "Colebrook-White Friction Factors";
    case WeymouthIsothermalFlowEquation:
    case PanhandleAIsomthermalFlowEquation:
    case PanhandleBIsomthermalFlowEquation: return "Pipeline Efficiency = " + formatFixed(3, PipelineEfficiencyE);
    case AGAIsothermalFlowEquation:
        return "AGA Transmission Factors with Drag Factor = " + formatFixed(3, PipelineEfficiencyE);
    case IGTIsothermalFlowEquation: return "";
    }
    return "";
}

std::string TConfigOptions::GetMethodOfSolutionAndCalculationString() const
{
    std::string text = GetMethodOfSolutionString() + " with " + GetMethodOfCalculationString();
    if (!IsCompressible(MethodOfSolution))
        return text + " (Colebrook-White Friction Factors).";
    switch (MethodOfCalculationCompressible) {
    case CompleteIsothermalFlowEquation:
    case GeneralIsothermalFlowEquation: return text + " (Colebrook-White Friction Factors).";
    case AGAIsothermalFlowEquation: return text + " (Drag Factor = " + formatFixed(3, PipelineEfficiencyE) + ").";
    default: return text + " (Pipeline Efficiency = " + formatFixed(3, PipelineEfficiencyE) + ").";
    }
}

void TConfigOptions::LogAddMethodOfSolution(TResultsLog &log) const
{
    switch (MethodOfSolution) {
    case LinearTheoryOnly: log.Add("Calculation Engine: Linear Approximation Solution"); break;
    case LinearTheoryThenNewton: log.Add("Calculation Engine: Accurate Newton Solution after Linear Approximation"); break;
    case EstimateDischargeNewtonOnly: log.Add("Calculation Engine: Accurate Newton Solution using Discharge Estimates"); break;
    default: break;
    }
}

void LogAddBreakLine(TResultsLog &log) { log.Add(std::string(123, '-')); }

} // namespace tessaran
