#include "network/Config_Options.h"

#include <gtest/gtest.h>

using namespace tessaran;

TEST(ConfigOptions, UnitSetsFollowThePressureReference)
{
    struct Case {
        TPressureReference Reference;
        bool Imperial;
        TUnit Pressure, Atmosphere;
    } cases[] = {{PressureGage, false, unt_Bar_G, unt_Bar_A},
                 {PressureAbsolute, false, unt_Bar_A, unt_Bar_A},
                 {PressureGage, true, unt_Psi_G, unt_Psi_A},
                 {PressureAbsolute, true, unt_Psi_A, unt_Psi_A}};
    for (const auto &c : cases) {
        TConfigOptions options;
        options.PressureReference = c.Reference;
        c.Imperial ? options.SetImperialUnits() : options.SetMetricUnits();
        EXPECT_EQ(options.UnitOfPressure, c.Pressure);
        EXPECT_EQ(options.UnitOfAtmosphere, c.Atmosphere);
        EXPECT_EQ(options.GasFlowTemperaturePressureModel, c.Imperial ? std_60degF_14pt696Psi : std_15degC_101325Pa);
        EXPECT_EQ(options.UnitOfEnergy, c.Imperial ? unt_HP : unt_KW);
    }
}

TEST(ConfigOptions, ParameterResetsTouchOnlyTheirMethodsGroup)
{
    TCalculationParameters parameters;
    parameters.fill(-7);
    ResetCalculationParametersBestAccuracy(parameters, CompressibleFlowAdjust);
    for (int i = 0; i < TCalculationParameterCount; ++i)
        EXPECT_EQ(parameters[static_cast<std::size_t>(i)] == -7, i < 38) << i;
    EXPECT_EQ(parameters[CompressibleFlowAdjustMaxFullSystemRecalculations], 1000);

    ResetCalculationParametersBestAccuracy(parameters, EstimateDischargeNewtonOnly);
    EXPECT_EQ(parameters[NewtonDarcyFromDischargeEstMaxVelocity_mPerSec], 50);
    EXPECT_EQ(parameters[LinearTheoryHighGasVelocity_ms], -7);
    EXPECT_EQ(parameters[NewtonDarcyFromLinearMinFlowBalanceKgPerSec], -7);

    TCalculationParameters before = parameters;
    ResetCalculationParametersRelaxNodeAdjust(parameters, LinearTheoryOnly);
    EXPECT_EQ(parameters, before);
    ResetCalculationParametersRelaxNodeAdjust(parameters, CompressibleNodeAdjust);
    EXPECT_EQ(parameters[CompressibleNodeAdjustMinFlowBalanceKgPerSec], 0.0005);
    EXPECT_EQ(parameters[CompressibleNodeAdjustPressureTolerancePercent], 0.5);
    EXPECT_EQ(parameters[CompressibleNodeAdjustMaxIterationsFinal], 500000);

    TConfigOptions options;
    EXPECT_EQ(options.CalculationParameters[CompressibleNodeAdjustStopAdjustPBar], 1e-12);
    EXPECT_EQ(options.CalculationParameters[NewtonDarcyFromLinearMaxIterationsInitial], 500);
}

TEST(ConfigOptions, WarningThresholdsComeFromTheMethodInUse)
{
    TConfigOptions options;
    options.CalculationParameters[NewtonDarcyFromLinearHighLiquidVelocity_ms] = 4.5;
    EXPECT_EQ(options.getHighLiquidVelocity_ms(), 4.5);
    options.MethodOfSolution = CompressibleNodeAdjust;
    options.CalculationParameters[CompressibleNodeAdjustHighGasVelocity_ms] = 77;
    EXPECT_EQ(options.getHighLiquidVelocity_ms(), 0);
    EXPECT_EQ(options.getNPSHPercentWarningTolerance(), 0);
    EXPECT_EQ(options.getHighGasVelocity_ms(), 77);
    EXPECT_TRUE(options.IsMethodOfSolutionCompressibleEngine());
}

TEST(ConfigOptions, MethodTexts)
{
    TConfigOptions options;
    EXPECT_EQ(options.GetMethodOfSolutionAndCalculationString(),
              "Non-Compressible Flow [Accurate] with Darcy-Weisbach Equation (Colebrook-White Friction Factors).");

    options.MethodOfSolution = CompressibleFlowAdjust;
    options.MethodOfCalculationCompressible = IGTIsothermalFlowEquation;
    options.PipelineEfficiencyE = 0.95;
    EXPECT_EQ(options.GetFrictionModelString(), "");
    EXPECT_EQ(options.GetMethodOfSolutionAndCalculationString(),
              "Compressible Gas Flow [Accurate Flow Adjust] with IGT Isothermal Flow Equation (Pipeline Efficiency = "
              "0.950).");
    options.MethodOfCalculationCompressible = AGAIsothermalFlowEquation;
    EXPECT_EQ(options.GetFrictionModelString(), "AGA Transmission Factors with Drag Factor = 0.950");

    options.ZCompressibilityModel = CustomZModel;
    options.ZCompressibilityFactor = 0.9;
    EXPECT_EQ(options.GetCompressibilityModelString(), "Real Gas with Custom Compressibility Factor Z = 0.900");

    TResultsLog log;
    options.LogAddMethodOfSolution(log);
    EXPECT_EQ(log.Count(), 0);
    options.MethodOfSolution = EstimateDischargeNewtonOnly;
    options.LogAddMethodOfSolution(log);
    LogAddBreakLine(log);
    ASSERT_EQ(log.Count(), 2);
    EXPECT_EQ(log[0], "Calculation Engine: Accurate Newton Solution using Discharge Estimates");
    EXPECT_EQ(log[1], std::string(123, '-'));
}

TEST(ConfigOptions, ResetDefaultsKeepsTheColourRangeAndDefaultPipe)
{
    TConfigOptions options;
    options.ShowPipeId = true;
    options.MethodOfSolution = LinearTheoryOnly;
    options.ResultsColorItemMaxValue = 12.5;
    options.ResultsColorItemUnit = unt_ft_Sec;
    auto *pipe = reinterpret_cast<TPipe *>(&options);
    options.DefaultPipe = pipe;
    options.ResetDefaults();
    EXPECT_FALSE(options.ShowPipeId);
    EXPECT_EQ(options.MethodOfSolution, LinearTheoryThenNewton);
    EXPECT_EQ(options.ResultsColorItemMaxValue, 12.5);
    EXPECT_EQ(options.ResultsColorItemUnit, unt_ft_Sec);
    EXPECT_EQ(options.DefaultPipe, pipe);
}
