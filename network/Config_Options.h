#pragma once
// A network's own settings: pressure reference, display units, label
// choices, text sizes, the solver's calculation parameters, the methods of
// solution and calculation, the gas compressibility model, the results
// colours and the default pipe. They travel inside the network file.

#include "network/User_Interface_Seam.h"
#include "platform/Graphics.h"
#include "units/Calculation_Enums.h"
#include "units/Units.h"

#include <string>

namespace tessaran {

class TPipe;

// Writes the defaults of one method's group of parameters; other groups stay.
void ResetCalculationParametersBestAccuracy(TCalculationParameters &parameters, TMethodOfSolution method);
// The looser set of the node-adjust method; nothing for the other methods.
void ResetCalculationParametersRelaxNodeAdjust(TCalculationParameters &parameters, TMethodOfSolution method);

struct TConfigOptions {
    TPressureReference PressureReference = PressureGage;
    double Atmosphere_bar_a = 1.01325;
    TUnit UnitOfAtmosphere = unt_Bar_A;
    TUnit UnitOfLength = unt_m;
    TUnit UnitOfDiameter = unt_mm;
    TUnit UnitOfRoughness = unt_mm;
    TUnit UnitOfFlow = unt_m3_sec;
    TUnit UnitOfMassFlow = unt_kg_sec;
    TUnit UnitOfGasFlow = unt_SCMH;
    TGasFlowTemperaturePressureModel GasFlowTemperaturePressureModel = std_15degC_101325Pa;
    TUnit UnitOfVelocity = unt_m_Sec;
    TUnit UnitOfPressureLoss = unt_m_hd_fluid;
    TUnit UnitOfWeight = unt_kgs;
    TUnit UnitOfArea = unt_m2;
    TUnit UnitOfVolume = unt_m3;
    TUnit UnitOfSurfacePressure = unt_Bar_G;
    TUnit UnitOfLiquidLevel = unt_m;
    TUnit UnitOfElevation = unt_m;
    TUnit UnitOfTemperature = unt_degrees_C;
    TUnit UnitOfPressure = unt_Bar_G;
    TUnit UnitOfDensity = unt_kg_m3;
    TUnit UnitOfEnergy = unt_KW;

    bool ShowPipeId = false;
    bool ShowPipeName = true;
    bool ShowPipeDiam = false;
    bool ShowPipeLength = true;
    bool ShowComponentName = true;
    bool ShowFlowControlName = true;
    bool ShowFittingsValves = true;
    bool ShowFittingsBends = true;
    bool ShowFittingsKValue = false;
    bool ShowPumpName = false;
    bool ShowPumpDistance = true;
    bool ShowPumpElevation = false;
    bool ShowNodeId = false;
    bool ShowNodeName = true;
    bool ShowNodeElevation = true;
    bool ShowNodeTankInfo = true;
    bool ShowPipeFlowRate = true;
    bool ShowPipeMassFlowRate = false;
    bool ShowPipeGasFlowRate = false;
    bool ShowPipeVelocity = false;
    bool ShowPipePressureLoss = false;
    bool ShowFittingsNothing = true;
    bool ShowFittingsPressureLoss = false;
    bool ShowPumpNothing = true;
    bool ShowPumpHead = false;
    bool ShowPumpNPSHa = false;
    bool ShowNodeNothing = false;
    bool ShowNodePressure = true;

    std::int32_t DefaultTextSize = 7;
    std::int32_t DemandTextSize = 8;
    std::int32_t NodeLabelSpacingY = 11;

    TCalculationParameters CalculationParameters = DefaultCalculationParameters();

    TZCompressibilityModel ZCompressibilityModel = IdealGasLawModel;
    double ZCompressibilityFactor = 1.0;
    TMethodOfSolution MethodOfSolution = LinearTheoryThenNewton;
    TMethodOfCalculationNonCompressible MethodOfCalculationNonCompressible = DarcyWeisbachEquation;
    TMethodOfCalculationCompressible MethodOfCalculationCompressible = CompleteIsothermalFlowEquation;
    double PipelineEfficiencyE = 1.0;
    bool GasSystemCheckFinalNodeBalanceUsePercent = true;
    double NodeBalancingToleranceFinal_bar = 0.000018;

    bool UseResultsColors = true;
    bool ShowResultsColorKey = true;
    TColor ResultsColor1 = 0x00FF00;
    TColor ResultsColor2 = 0x00FFFF;
    TColor ResultsColor3 = 0x0000FF;
    TResultsColorItemEnum ResultsColorItem = ResultsVelocity;
    double ResultsColorItemMinValue = 0, ResultsColorItemMaxValue = 0, ResultsColorItemAxisMinValue = 0,
           ResultsColorItemAxisMaxValue = 0;
    TUnit ResultsColorItemUnit = unt_m_Sec;
    std::int32_t ResultsColorItemMinValueFluidZoneIndex = 1, ResultsColorItemMaxValueFluidZoneIndex = 1,
                 ResultsColorItemAxisMinValueFluidZoneIndex = 1, ResultsColorItemAxisMaxValueFluidZoneIndex = 1;

    // Owned by the network; new pipes take its values.
    TPipe *DefaultPipe = nullptr;

    // The defaults a network's Clear sets (everything but the pressure
    // reference, atmosphere, the colour-item ranges and the default pipe).
    void ResetDefaults();
    void SetMetricUnits();
    void SetImperialUnits();
    bool IsMethodOfSolutionCompressibleEngine() const;

    double getHighLiquidVelocity_ms() const;
    double getHighGasVelocity_ms() const;
    double getNPSHPercentWarningTolerance() const;
    double getHighGasPercentErosionalVelocity() const { return 50; }

    std::string GetMethodOfSolutionString() const;
    std::string GetMethodOfCalculationString() const;
    std::string GetCompressibilityModelString() const;
    std::string GetFrictionModelString() const;
    std::string GetMethodOfSolutionAndCalculationString() const;
    void LogAddMethodOfSolution(TResultsLog &log) const;

    static TCalculationParameters DefaultCalculationParameters();
};

void LogAddBreakLine(TResultsLog &log);

} // namespace tessaran
