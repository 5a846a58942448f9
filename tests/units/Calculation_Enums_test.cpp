#include "units/Calculation_Enums.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

// The network file stores these as single bytes: pin the ordinals that a
// reordering would silently change.
TEST(CalculationEnums, StoredOrdinals)
{
    EXPECT_EQ(sizeof(TMethodOfSolution), 1u);
    EXPECT_EQ(sizeof(TCalculationParameter), 1u);
    EXPECT_EQ(static_cast<int>(LinearTheoryOnly), 0);
    EXPECT_EQ(static_cast<int>(CompressibleFlowAdjust), 4);
    EXPECT_EQ(static_cast<int>(DarcyWeisbachEquation), 0);
    EXPECT_EQ(static_cast<int>(PanhandleAIsomthermalFlowEquation), 3);
    EXPECT_EQ(static_cast<int>(IGTIsothermalFlowEquation), 6);
    EXPECT_EQ(static_cast<int>(CNGAModel), 2);
    EXPECT_EQ(static_cast<int>(ResultsPipeReynoldsNumber), 8);
    EXPECT_EQ(static_cast<int>(ResultsMassFlow), 14);
    EXPECT_EQ(static_cast<int>(NewtonDarcyFromDischargeEstMinVelocity_mPerSec), 6);
    EXPECT_EQ(static_cast<int>(NewtonDarcyFromLinearMinFlowBalanceKgPerSec), 20);
    EXPECT_EQ(static_cast<int>(CompressibleNodeAdjustMinFlowBalanceKgPerSec), 31);
    EXPECT_EQ(static_cast<int>(CompressibleFlowAdjustMinFlowBalanceKgPerSec), 38);
    EXPECT_EQ(static_cast<int>(CompressibleFlowAdjustHighGasVelocity_ms), 45);
    EXPECT_EQ(sizeof(TCalculationParameters), 46 * sizeof(double));
}

TEST(CalculationEnums, NamesAreIndexedByTheirEnumerations)
{
    EXPECT_EQ(MethodOfSolutionNames[LinearTheoryOnly], "Non-Compressible Flow Adjust [Linear Approx]");
    EXPECT_EQ(MethodOfSolutionNames[LinearTheoryThenNewton], "Non-Compressible Flow Adjust");
    EXPECT_EQ(MethodOfSolutionNames[EstimateDischargeNewtonOnly], "Non-Compressible Flow Adjust [Outflow Est]");
    EXPECT_EQ(MethodOfSolutionNames[CompressibleNodeAdjust], "Compressible Node Adjust");
    EXPECT_EQ(MethodOfSolutionNames[CompressibleFlowAdjust], "Compressible Flow Adjust");

    EXPECT_EQ(CalculationParameterNames[LinearTheoryFlowBalanceStopAdjustKgPerSec],
              "Linear Flow Adjust -> Flow Balance Stop Adjust kg/s");
    EXPECT_EQ(CalculationParameterNames[NewtonDarcyFromDischargeEstMaxVelocity_mPerSec],
              "Out-Flow Adjust -> Max Velocity_m/s");
    EXPECT_EQ(CalculationParameterNames[NewtonDarcyFromLinearNPSHPercentWarningTolerance],
              "Flow Adjust -> Warning: NPSHa < NPSHr + Tolerance %");
    EXPECT_EQ(CalculationParameterNames[CompressibleNodeAdjustStopAdjustPBar],
              "Compressible Node Adjust -> Stop Adjust Pressure bar");
    EXPECT_EQ(CalculationParameterNames[CompressibleFlowAdjustInitialNodeBalanceSolutionMinFlowBalanceKgPerSec],
              "Compressible Flow Adjust -> Node Balance Initial Flows kg/s");
    EXPECT_EQ(CalculationParameterNames[CompressibleFlowAdjustHighGasVelocity_ms],
              "Compressible Flow Adjust -> Warning: High Gas Velocity m/s");

    // Every parameter has its own caption, prefixed by its method.
    std::set<std::string_view> distinct(CalculationParameterNames.begin(), CalculationParameterNames.end());
    EXPECT_EQ(distinct.size(), CalculationParameterNames.size());
    for (int p = 0; p < TCalculationParameterCount; ++p)
        EXPECT_NE(CalculationParameterNames[p].find(" -> "), std::string_view::npos) << p;
}

} // namespace
} // namespace tessaran
