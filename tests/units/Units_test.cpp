#include "units/Units.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

// Relative comparison for converted values (absolute near zero).
::testing::AssertionResult Near(double expected, double actual, double relative = 1e-12)
{
    const double scale = std::max(1.0, std::fabs(expected));
    if (std::fabs(expected - actual) <= relative * scale)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << expected << " got " << actual << " (difference "
                                         << expected - actual << ")";
}

template <typename Call>
std::string FailureMessage(Call call)
{
    try {
        call();
    } catch (const EConversionsClass &e) {
        return e.what();
    }
    return "no failure";
}

// The ordinals and texts are stored in files and shown to users: every unit
// in ordinal order with its display name, plain name, decimals and entry digits.
struct UnitRow {
    TUnit unit;
    const char *name;
    const char *plainName;
    int decimals;
    int entryDigits;
};

const UnitRow UnitTable[] = {
    {unt_m, "m", "m", 3, 6},
    {unt_mm, "mm", "mm", 3, 6},
    {unt_ft, "ft", "ft", 3, 6},
    {unt_inch, "inch", "inch", 3, 6},
    {unt_km, "km", "km", 3, 6},
    {unt_mile, "mile", "mile", 3, 6},
    {unt_m2, "m²", "m²", 3, 6},
    {unt_mm2, "mm²", "mm²", 3, 6},
    {unt_ft2, "ft²", "ft²", 3, 6},
    {unt_in2, "in²", "in²", 3, 6},
    {unt_m3, "m³", "m³", 3, 6},
    {unt_mm3, "mm³", "mm³", 3, 6},
    {unt_ft3, "ft³", "ft³", 3, 6},
    {unt_in3, "in³", "in³", 3, 6},
    {unt_m_Sec, "m/sec", "m/sec", 3, 6},
    {unt_ft_Sec, "ft/sec", "ft/sec", 3, 6},
    {unt_KW, "kW", "kW", 3, 6},
    {unt_HP, "HP", "HP", 3, 6},
    {unt_lbs, "lbs", "lbs", 3, 6},
    {unt_kgs, "kgs", "kgs", 3, 6},
    {unt_lbs_per_ft, "lbs/ft", "lbs/ft", 3, 6},
    {unt_kgs_per_m, "kgs/m", "kgs/m", 3, 6},
    {unt_degrees_C, "°C", "°C", 3, 6},
    {unt_degrees_F, "°F", "°F", 3, 6},
    {unt_degrees_K, "°K", "°K", 3, 6},
    {unt_m3_sec, "m³/sec", "m³/sec", 4, 6},
    {unt_m3_min, "m³/min", "m³/min", 3, 6},
    {unt_m3_hour, "m³/hour", "m³/hour", 3, 6},
    {unt_L_sec, "l/sec", "l/sec", 3, 6},
    {unt_L_min, "l/min", "l/min", 2, 6},
    {unt_L_hour, "l/hour", "l/hour", 2, 6},
    {unt_ft3_sec, "ft³/sec", "ft³/sec", 4, 6},
    {unt_ft3_min, "ft³/min", "ft³/min", 3, 6},
    {unt_ft3_hour, "ft³/hour", "ft³/hour", 3, 6},
    {unt_inch3_sec, "in³/sec", "in³/sec", 3, 6},
    {unt_inch3_min, "in³/min", "in³/min", 2, 6},
    {unt_inch3_hour, "in³/hour", "in³/hour", 2, 6},
    {unt_gpm_UK, "UK gpm ", "UK gpm", 2, 6},
    {unt_gpm_USA, "US gpm", "US gpm", 2, 6},
    {unt_MGD_UK, "UK MGD", "UK MGD", 2, 6},
    {unt_MGD_USA, "US MGD", "US MGD", 2, 6},
    {unt_Barrels_Oil_min, "Brls/min", "Brls/min", 3, 6},
    {unt_Barrels_Oil_hour, "Brls/hr", "Brls/hr", 3, 6},
    {unt_Barrels_Oil_day, "Brls/day", "Brls/day", 3, 6},
    {unt_Bar_G, "bar.g", "bar", 4, 5},
    {unt_Psi_G, "psi.g", "psi", 4, 5},
    {unt_N_m2_G, "N/m².g", "N/m²", 3, 6},
    {unt_Pa_G, "Pa.g", "Pa", 3, 6},
    {unt_kPa_G, "kPa.g", "kPa", 3, 6},
    {unt_m_H2O, "m.H2O", "m.H2O", 3, 6},
    {unt_mm_H2O, "mm.H2O", "mm.H2O", 1, 6},
    {unt_ft_H2O, "ft.H2O", "ft.H2O", 2, 6},
    {unt_in_H2O, "in.H2O", "in.H2O", 1, 6},
    {unt_mm_Hg, "mm Hg", "mm Hg", 1, 6},
    {unt_in_Hg, "in. Hg", "in. Hg", 1, 6},
    {unt_m_hd_fluid, "m.hd Fluid", "m.hd", 3, 6},
    {unt_mm_hd_fluid, "mm.hd Fluid", "mm.hd", 1, 6},
    {unt_ft_hd_fluid, "ft.hd Fluid", "ft.hd", 2, 6},
    {unt_in_hd_fluid, "in.hd Fluid", "in.hd", 1, 6},
    {unt_Atm, "atm.", "atm.", 4, 6},
    {unt_Bar_A, "bar.a", "bar", 4, 6},
    {unt_Psi_A, "psi.a", "psi", 4, 6},
    {unt_N_m2_A, "N/m².a", "N/m²", 3, 6},
    {unt_Pa_A, "Pa.a", "Pa", 3, 6},
    {unt_kPa_A, "kPa.a", "kPa", 3, 6},
    {unt_m_H2O_A, "m.H2O.a", "m.H2O", 3, 6},
    {unt_mm_H2O_A, "mm.H2O.a", "mm.H2O", 1, 6},
    {unt_ft_H2O_A, "ft.H2O.a", "ft.H2O", 2, 6},
    {unt_in_H2O_A, "in.H2O.a", "in.H2O", 1, 6},
    {unt_mm_Hg_A, "mm Hg.a", "mm Hg", 1, 6},
    {unt_in_Hg_A, "in. Hg.a", "in. Hg", 1, 6},
    {unt_m_hd_fluid_A, "m.hd.a", "m.hd", 3, 6},
    {unt_mm_hd_fluid_A, "mm.hd.a", "mm.hd", 1, 6},
    {unt_ft_hd_fluid_A, "ft.hd.a", "ft.hd", 2, 6},
    {unt_in_hd_fluid_A, "in.hd.a", "in.hd", 1, 6},
    {unt_Litre, "litres", "litres", 3, 6},
    {unt_gallon_UK, "UK gallon", "UK gallon", 3, 6},
    {unt_gallon_USA, "USA gallon", "USA gallon", 3, 6},
    {unt_Barrel_Oil, "Brls (oil)", "Brls (oil)", 3, 6},
    {unt_kg_m3, "kg/m³", "kg/m³", 6, 6},
    {unt_lb_ft3, "lb/ft³", "lb/ft³", 6, 6},
    {unt_kg_sec, "kg/sec", "kg/sec", 4, 6},
    {unt_kg_min, "kg/min", "kg/min", 4, 6},
    {unt_kg_hour, "kg/hour", "kg/hour", 4, 6},
    {unt_kN_sec, "kN/sec", "kN/sec", 4, 6},
    {unt_kN_min, "kN/min", "kN/min", 4, 6},
    {unt_kN_hour, "kN/hour", "kN/hour", 4, 6},
    {unt_lb_sec, "lb/sec", "lb/sec", 4, 6},
    {unt_lb_min, "lb/min", "lb/min", 4, 6},
    {unt_lb_hour, "lb/hour", "lb/hour", 4, 6},
    {unt_SCCM, "SCCM", "SCCM", 4, 9},
    {unt_SLM, "SLM", "SLM", 4, 9},
    {unt_SCMH, "SCMH", "SCMH", 4, 9},
    {unt_MMSCMH, "MMSCMH", "MMSCMH", 4, 9},
    {unt_MMSCMD, "MMSCMD", "MMSCMD", 4, 9},
    {unt_SCFM, "SCFM", "SCFM", 4, 9},
    {unt_SCFH, "SCFH", "SCFH", 4, 9},
    {unt_SCFD, "SCFD", "SCFD", 4, 9},
    {unt_MMSCFH, "MMSCFH", "MMSCFH", 4, 9},
    {unt_MMSCFD, "MMSCFD", "MMSCFD", 4, 9},
};

TEST(Units, EveryUnitKeepsItsStoredOrdinalNamesDecimalsAndEntryDigits)
{
    ASSERT_EQ(std::size(UnitTable), static_cast<std::size_t>(TUnitCount));
    EXPECT_EQ(sizeof(TUnit), 1u);
    for (int ordinal = 0; ordinal < TUnitCount; ++ordinal) {
        const UnitRow &row = UnitTable[ordinal];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(static_cast<int>(row.unit), ordinal);
        EXPECT_EQ(unitName(row.unit), row.name);
        EXPECT_EQ(unitPlainName(row.unit), row.plainName);
        EXPECT_EQ(unitDecimals(row.unit), row.decimals);
        EXPECT_EQ(unitEntryDigits(row.unit), row.entryDigits);
    }
}

TEST(Units, SmallEnumerationsKeepTheirStoredOrder)
{
    EXPECT_EQ(sizeof(TFlowType), 1u);
    EXPECT_EQ(static_cast<int>(VolumeFlow), 0);
    EXPECT_EQ(static_cast<int>(MassFlow), 1);
    EXPECT_EQ(static_cast<int>(GasFlow), 2);
    EXPECT_EQ(static_cast<int>(PressureAbsolute), 0);
    EXPECT_EQ(static_cast<int>(PressureGage), 1);
    EXPECT_EQ(static_cast<int>(std_0degC_100000Pa), 0);
    EXPECT_EQ(static_cast<int>(std_68degF_14pt696Psi), 6);
}

// One known value per unit pair, checked in both directions.
struct ConversionCase {
    TUnit source;
    TUnit target;
    double value;
    double expected;
};

const ConversionCase SimpleConversions[] = {
    // length
    {unt_mile, unt_m, 1, 1609.344},
    {unt_ft, unt_inch, 1, 12},
    {unt_km, unt_mm, 1, 1e6},
    {unt_mile, unt_ft, 1, 5280},
    // area
    {unt_ft2, unt_in2, 1, 144},
    {unt_m2, unt_mm2, 1, 1e6},
    {unt_ft2, unt_m2, 1, 0.09290304},
    // volume, with the liquid volumes
    {unt_ft3, unt_in3, 1, 1728},
    {unt_m3, unt_mm3, 1, 1e9},
    {unt_m3, unt_Litre, 1, 1000},
    {unt_gallon_UK, unt_Litre, 1, 4.546092},
    {unt_Barrel_Oil, unt_gallon_USA, 1, 42},
    {unt_ft3, unt_Litre, 1, 28.316846592},
    // velocity, power, mass, mass per length
    {unt_ft_Sec, unt_m_Sec, 1, 0.3048},
    {unt_HP, unt_KW, 1, 0.7456999},
    {unt_lbs, unt_kgs, 1, 0.45359237},
    {unt_lbs_per_ft, unt_kgs_per_m, 1, 0.45359237 / 0.3048},
    // temperature
    {unt_degrees_F, unt_degrees_K, 212, 373.15},
    {unt_degrees_C, unt_degrees_F, -40, -40},
    {unt_degrees_K, unt_degrees_C, 0, -273.15},
    {unt_degrees_F, unt_degrees_C, 32, 0},
    // volume flow
    {unt_m3_sec, unt_m3_hour, 1, 3600},
    {unt_L_sec, unt_L_min, 1, 60},
    {unt_L_hour, unt_m3_sec, 3.6e6, 1},
    {unt_ft3_sec, unt_gpm_USA, 1, 448.83116883116884},
    {unt_ft3_min, unt_ft3_hour, 1, 60},
    {unt_inch3_sec, unt_inch3_hour, 1, 3600},
    {unt_inch3_min, unt_m3_sec, 60, 0.000016387064},
    {unt_gpm_UK, unt_L_min, 1, 4.546092},
    {unt_MGD_USA, unt_gpm_USA, 1, 1e6 / 1440},
    {unt_MGD_UK, unt_gpm_UK, 1, 1e6 / 1440},
    {unt_Barrels_Oil_day, unt_gpm_USA, 1440, 42},
    {unt_Barrels_Oil_hour, unt_Barrels_Oil_min, 60, 1},
    {unt_Barrels_Oil_min, unt_m3_min, 1, 0.158987294928},
    // gauge pressure and liquid columns
    {unt_Psi_G, unt_Bar_G, 14.5037743897, 1},
    {unt_m_H2O, unt_Bar_G, 10, 0.980665},
    {unt_Bar_G, unt_kPa_G, 1, 100},
    {unt_Pa_G, unt_N_m2_G, 1, 1},
    {unt_mm_H2O, unt_m_H2O, 1000, 1},
    {unt_in_H2O, unt_ft_H2O, 12, 1},
    {unt_ft_H2O, unt_Pa_G, 1, 2989.06692},
    {unt_mm_Hg, unt_Pa_G, 760, 101325.0},
    {unt_in_Hg, unt_mm_Hg, 1, 25.4},
    // density
    {unt_lb_ft3, unt_kg_m3, 1, 16.018463373960138},
    // mass and weight flow
    {unt_kg_min, unt_lb_hour, 1, 60 * 2.20462262185},
    {unt_kg_hour, unt_kg_sec, 3600, 1},
    {unt_kN_sec, unt_kg_sec, 9.80665, 1000},
    {unt_kN_min, unt_kN_hour, 1, 60},
    {unt_lb_sec, unt_lb_min, 1, 60},
};

TEST(Units, ConvertUnitBothWaysWithinEveryGroup)
{
    for (const ConversionCase &c : SimpleConversions) {
        SCOPED_TRACE(unitName(c.source) + " -> " + unitName(c.target));
        EXPECT_TRUE(Near(c.expected, convertUnit(c.source, c.target, c.value), 1e-10));
        EXPECT_TRUE(Near(c.value, convertUnit(c.target, c.source, c.expected), 1e-10));
    }
}

TEST(Units, PartsOwnCasesAreExact)
{
    EXPECT_DOUBLE_EQ(convertUnit(unt_degrees_F, unt_degrees_K, 212), 373.15);
    EXPECT_DOUBLE_EQ(convertUnit(unt_degrees_C, unt_degrees_F, -40), -40);
    EXPECT_DOUBLE_EQ(convertUnit(unt_Psi_G, unt_Bar_G, 14.5037743897), 1);
    EXPECT_DOUBLE_EQ(convertUnit(unt_m_H2O, unt_Bar_G, 10), 0.980665);
    EXPECT_DOUBLE_EQ(toBaseUnit(unt_ft, 10), 3.048);
    EXPECT_DOUBLE_EQ(toBaseUnit(unt_degrees_F, 212), 100);
}

// Every unit of the simple groups converted from its base and back returns
// the start value to a few ulps. The barrel flows once used one constant
// each way (42 US gallons and 0.15898729492 m3), so a displayed value
// drifted by about 5e-11 on every round trip.
TEST(Units, EverySimpleUnitRoundTripsThroughItsBase)
{
    const std::vector<std::pair<TUnit, TUnit>> groups = {
        {unt_m, unt_mile},     {unt_m2, unt_in2},           {unt_m3, unt_in3},
        {unt_Litre, unt_Barrel_Oil}, {unt_m_Sec, unt_ft_Sec}, {unt_KW, unt_HP},
        {unt_lbs, unt_kgs},    {unt_lbs_per_ft, unt_kgs_per_m}, {unt_degrees_C, unt_degrees_K},
        {unt_m3_sec, unt_Barrels_Oil_day}, {unt_Bar_G, unt_in_Hg}, {unt_kg_m3, unt_lb_ft3},
        {unt_kg_sec, unt_lb_hour},
    };
    for (const auto &[first, last] : groups) {
        const TUnit base = (first == unt_Litre) ? unt_m3 : first == unt_lbs ? unt_kgs
                         : first == unt_lbs_per_ft ? unt_kgs_per_m : first;
        for (int u = first; u <= last; ++u) {
            const TUnit unit = static_cast<TUnit>(u);
            SCOPED_TRACE(unitName(unit));
            for (const double value : {1.0, 123.456, -7.25e-3}) {
                // Offsets (temperatures) lose what the larger intermediate cannot hold.
                const double there = convertUnit(base, unit, value);
                const double scale = std::max({1.0, std::fabs(value), std::fabs(there)});
                EXPECT_LE(std::fabs(convertUnit(unit, base, there) - value), 4e-16 * scale);
            }
        }
    }
}

TEST(Units, BarrelFlowsAgreeWithTheBarrelVolume)
{
    const double barrel_m3 = convertUnit(unt_Barrel_Oil, unt_m3, 1);
    EXPECT_DOUBLE_EQ(convertUnit(unt_Barrels_Oil_min, unt_m3_min, 1), barrel_m3);
    EXPECT_DOUBLE_EQ(convertUnit(unt_m3_min, unt_Barrels_Oil_min, barrel_m3), 1);
    EXPECT_DOUBLE_EQ(convertUnit(unt_m3_hour, unt_Barrels_Oil_hour, barrel_m3), 1);
    EXPECT_DOUBLE_EQ(convertUnit(unt_m3_hour, unt_Barrels_Oil_day, barrel_m3 / 24), 1);
}

TEST(Units, ConvertUnitRefusesPairsOutsideOneSimpleGroup)
{
    const std::string message = "Conversions failed : routine does not exist";
    const std::pair<TUnit, TUnit> pairs[] = {
        {unt_Bar_A, unt_Bar_G},       // absolute needs the atmosphere
        {unt_Bar_G, unt_Atm},         //
        {unt_m_hd_fluid, unt_Bar_G},  // fluid head needs the density
        {unt_m, unt_m2},              // different groups
        {unt_kg_sec, unt_m3_sec},     // mass flow to volume flow
        {unt_m3, unt_m3_sec},         //
        {unt_SCMH, unt_SCFH},         // gas flows need the standard conditions
        {unt_kg_m3, unt_lbs},         //
    };
    for (const auto &[source, target] : pairs) {
        SCOPED_TRACE(unitName(source) + " -> " + unitName(target));
        EXPECT_EQ(FailureMessage([&] { convertUnit(source, target, 1); }), message);
    }
    for (const TUnit unit : {unt_m_hd_fluid, unt_Atm, unt_Bar_A, unt_in_hd_fluid_A, unt_SCCM, unt_MMSCFD})
        EXPECT_EQ(FailureMessage([&] { toBaseUnit(unit, 1); }), message) << unitName(unit);
    EXPECT_EQ(FailureMessage([] { toBaseUnit(static_cast<TUnit>(100), 1); }), message);
    EXPECT_EQ(FailureMessage([] { convertUnit(unt_m, static_cast<TUnit>(255), 1); }), message);
}

struct PressureCase {
    TUnit source;
    TUnit target;
    double value;
    double atmosphere;
    double density;
    double expected;
};

TEST(Units, ConvertPressureUnitUsesTheGivenAtmosphereAndDensity)
{
    const PressureCase cases[] = {
        {unt_Bar_G, unt_Atm, 0, 0.9, 1000, 1},             // an atmosphere is the given atmosphere
        {unt_Atm, unt_Bar_A, 2, 0.9, 1000, 1.8},
        {unt_m_hd_fluid, unt_Bar_G, 10, 1.01325, 1000, 0.980665},
        {unt_m_hd_fluid_A, unt_Bar_G, 10, 1.01325, 1000, 0.980665 - 1.01325},
        {unt_Bar_A, unt_Bar_G, 1.01325, 1.01325, 1000, 0},
        {unt_Psi_A, unt_Bar_A, 14.5037743897, 0.95, 1000, 1},
        {unt_Psi_G, unt_Psi_A, 0, 1.0, 1000, 14.5037743897},
        {unt_ft_hd_fluid, unt_ft_H2O, 1, 1.01325, 500, 0.5},   // half as dense as water
        {unt_mm_hd_fluid_A, unt_mm_H2O_A, 1000, 1.01325, 800, 800},
        {unt_kPa_A, unt_Pa_G, 100, 1.0, 1000, 0},
        {unt_in_Hg_A, unt_in_Hg, 30, 1.01325, 1000, 30 - 1.01325 / (0.0254 * 9.80665 * 13.5950980632 / 100)},
    };
    for (const PressureCase &c : cases) {
        SCOPED_TRACE(unitName(c.source) + " -> " + unitName(c.target));
        EXPECT_TRUE(Near(c.expected, convertPressureUnit(c.source, c.target, c.value, c.atmosphere, c.density)));
        EXPECT_TRUE(Near(c.value, convertPressure(c.target, c.source, c.expected, c.atmosphere, c.density)));
    }
}

TEST(Units, EveryPressureUnitRoundTripsThroughBarGauge)
{
    for (int u = unt_Bar_G; u <= unt_in_hd_fluid_A; ++u) {
        const TUnit unit = static_cast<TUnit>(u);
        SCOPED_TRACE(unitName(unit));
        const double there = convertPressureUnit(unt_Bar_G, unit, 3.25, 0.97, 850);
        EXPECT_TRUE(Near(3.25, convertPressureUnit(unit, unt_Bar_G, there, 0.97, 850), 1e-14));
    }
}

TEST(Units, HeadAndAbsoluteConvertersServeOnlyTheirOwnRanges)
{
    EXPECT_TRUE(Near(0.5, convertHeadPressureUnit(unt_ft_hd_fluid, unt_ft_H2O, 1, 500)));
    EXPECT_TRUE(Near(1.0, convertAbsolutePressureUnit(unt_Bar_G, unt_Atm, 0, 0.9)));
    EXPECT_TRUE(Near(14.5037743897, convertAbsolutePressureUnit(unt_Bar_A, unt_Psi_A, 1, 0.9)));

    const std::string message = "Conversions failed : routine does not exist";
    EXPECT_EQ(FailureMessage([] { convertHeadPressureUnit(unt_Bar_A, unt_Bar_G, 1, 1000); }), message);
    EXPECT_EQ(FailureMessage([] { convertHeadPressureUnit(unt_Bar_G, unt_Atm, 1, 1000); }), message);
    EXPECT_EQ(FailureMessage([] { convertAbsolutePressureUnit(unt_m_hd_fluid, unt_Bar_G, 1, 1); }), message);
    EXPECT_EQ(FailureMessage([] { convertAbsolutePressureUnit(unt_Bar_G, unt_m_hd_fluid_A, 1, 1); }), message);
    EXPECT_EQ(FailureMessage([] { convertPressureUnit(unt_m, unt_Bar_G, 1, 1, 1000); }), message);
    EXPECT_EQ(FailureMessage([] { convertPressure(unt_Bar_G, unt_kg_m3, 1, 1, 1000); }), message);
}

TEST(Units, GasStandardConditionsOfEveryModel)
{
    const struct {
        TGasFlowTemperaturePressureModel model;
        double temperature;
        double pressure;
    } cases[] = {
        {std_0degC_100000Pa, 273.15, 100000},  {std_0degC_101325Pa, 273.15, 101325},
        {std_15degC_101325Pa, 288.15, 101325}, {std_20degC_101325Pa, 293.15, 101325},
        {std_25degC_101325Pa, 298.15, 101325}, {std_60degF_14pt696Psi, 288.7055, 101325},
        {std_68degF_14pt696Psi, 293.15, 101325},
    };
    for (const auto &c : cases) {
        double temperature = -1, pressure = -1;
        gasStandardConditions(c.model, temperature, pressure);
        EXPECT_DOUBLE_EQ(temperature, c.temperature);
        EXPECT_DOUBLE_EQ(pressure, c.pressure);
    }
}

TEST(Units, StandardCubicMetreWeighsTheGivenDensityAtStandardConditions)
{
    const double density = 1.2;
    // 1.01325 bar absolute at 15 degC is the standard state of the model.
    EXPECT_TRUE(Near(density, convertFlowUnit(unt_SCMH, unt_kg_sec, std_15degC_101325Pa, 3600, density, 0,
                                              288.15, 1.01325)));
    EXPECT_TRUE(Near(3600, convertFlowUnit(unt_kg_sec, unt_SCMH, std_15degC_101325Pa, density, density, 0,
                                           288.15, 1.01325)));
    // The same state reached over a lower atmosphere.
    EXPECT_TRUE(Near(density, SCMH_To_kgsec(std_15degC_101325Pa, 3600, density, 0.11325, 288.15, 0.9)));
    EXPECT_TRUE(Near(3600, kgsec_To_SCMH(std_15degC_101325Pa, density, density, 0.11325, 288.15, 0.9)));
}

// The gas density is known at the actual state: gauge pressure over the
// atmosphere the caller gives. Making the gauge pressure absolute with the
// standard pressure instead got every standard flow wrong by the ratio of
// the two whenever the atmosphere differs from the standard pressure.
TEST(Units, StandardFlowMakesTheGaugePressureAbsoluteWithTheGivenAtmosphere)
{
    const double density = 2.0;  // kg/m3 at 1 bar.g over a 0.9 bar atmosphere, 20 degC
    const double standardDensity = density * 1.01325 / 1.9 * 293.15 / 273.15;
    EXPECT_TRUE(Near(100 * standardDensity / 3600,
                     SCMH_To_kgsec(std_0degC_101325Pa, 100, density, 1.0, 293.15, 0.9)));
    EXPECT_TRUE(Near(100, kgsec_To_SCMH(std_0degC_101325Pa, 100 * standardDensity / 3600, density, 1.0, 293.15,
                                        0.9)));
    // 0 bar.g at a 0.9 bar atmosphere is not the standard state.
    EXPECT_TRUE(Near(1.2 * 1.01325 / 0.9,
                     convertFlowUnit(unt_SCMH, unt_kg_sec, std_15degC_101325Pa, 3600, 1.2, 0, 288.15, 0.9)));
}

TEST(Units, StandardFlowRefusesPressuresNotAboveAbsoluteZero)
{
    EXPECT_EQ(FailureMessage([] { SCMH_To_kgsec(std_15degC_101325Pa, 1, 1, -1.01325, 288, 1.01325); }),
              "Conversion failed : SCMH_To_kgsec invalid less than 0 bar a pressures");
    EXPECT_EQ(FailureMessage([] { kgsec_To_SCMH(std_15degC_101325Pa, 1, 1, -2, 288, 1.01325); }),
              "Conversion failed : kgsec_To_SCMH invalid less than 0 bar a pressure");
}

TEST(Units, ConvertFlowUnitAcrossVolumeMassAndGasFlows)
{
    const auto model = std_15degC_101325Pa;
    const double density = 850, gauge = 2, temperature = 300, atmosphere = 1.01325;
    auto flow = [&](TUnit source, TUnit target, double value) {
        return convertFlowUnit(source, target, model, value, density, gauge, temperature, atmosphere);
    };
    EXPECT_TRUE(Near(850, flow(unt_m3_sec, unt_kg_sec, 1)));
    EXPECT_TRUE(Near(1, flow(unt_kg_sec, unt_m3_sec, 850)));
    EXPECT_TRUE(Near(3600 * 850 * 2.20462262185, flow(unt_m3_sec, unt_lb_hour, 1), 1e-11));
    EXPECT_TRUE(Near(60, flow(unt_L_sec, unt_L_min, 1)));  // same kind goes through kg/s
    EXPECT_TRUE(Near(1000 / 9.80665, flow(unt_kN_sec, unt_kg_sec, 1)));
    // Gas to gas passes the standard density both ways and cancels it.
    EXPECT_TRUE(Near(0.028316846592, flow(unt_SCFH, unt_SCMH, 1)));
    EXPECT_TRUE(Near(1e6 / 24 * 0.028316846592, flow(unt_MMSCFD, unt_SCMH, 1)));
    EXPECT_TRUE(Near(1, flow(unt_SLM, unt_SCMH, 1000.0 / 60)));
    EXPECT_TRUE(Near(1e6, flow(unt_SLM, unt_SCCM, 1000)));
    // A standard flow into an actual volume flow and back.
    const double actual = flow(unt_SCMH, unt_m3_hour, 1000);
    EXPECT_TRUE(Near(1000 * 1.01325 / 3.01325 * 300 / 288.15, actual));
    EXPECT_TRUE(Near(1000, flow(unt_m3_hour, unt_SCMH, actual)));
}

// Callers never pass a zero density; should one slip through, the result
// is 0 and not an infinity that would spread through a calculation.
TEST(Units, ZeroDensityGivesZeroFlowsNotInfinities)
{
    EXPECT_EQ(convertFlowUnit(unt_kg_sec, unt_m3_hour, std_15degC_101325Pa, 5, 0, 0, 288.15, 1.01325), 0.0);
    EXPECT_EQ(kgsec_To_SCMH(std_15degC_101325Pa, 5, 0, 0, 288.15, 1.01325), 0.0);
    EXPECT_EQ(convertFlowUnit(unt_kg_sec, unt_SCFM, std_15degC_101325Pa, 5, 0, 0, 288.15, 1.01325), 0.0);
    EXPECT_EQ(SCMH_To_kgsec(std_15degC_101325Pa, 5, 1.2, 0, 0, 1.01325), 0.0);  // no temperature
}

// The solver's shortcuts stand in for the general conversions: any
// difference in the last bit would move a calculation's results.
TEST(Units, SolverShortcutsGiveTheGeneralConversionsBitForBit)
{
    std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 1e-300, -3.7e-12, 0.1, 1.0 / 3.0, 2.5e6, -7.25e17,
                                  std::numeric_limits<double>::denorm_min(), std::nan("")};
    std::vector<double> densities = {1000.0, 998.2, 1.2041, 0.0, 13595.1, 1e-3, 850.0 / 3.0, -1.0};
    // A spread of mantissas, so that the roundings of the long-double steps
    // come out every way.
    for (int i = 1; i <= 200; ++i)
        values.push_back(std::ldexp(1.0 + i * 0.0123456789, i % 40 - 20) * (i % 2 ? 1 : -1));
    const auto same = [](double a, double b) {
        return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
    };
    for (const double density : densities) {
        for (const double value : values) {
            SCOPED_TRACE(testing::Message() << "value " << value << " density " << density);
            EXPECT_TRUE(same(convertPressure(unt_m_hd_fluid, unt_Bar_G, value, 1.01325, density),
                             fluidHeadToBar(value, density)));
            EXPECT_TRUE(same(convertFlowUnit(unt_kg_sec, unt_m3_sec, std_15degC_101325Pa, value, density, 0, 0, 1.01325),
                             massFlowToVolumeFlow(value, density)));
            EXPECT_TRUE(same(convertFlowUnit(unt_m3_sec, unt_kg_sec, std_15degC_101325Pa, value, density, 0, 0, 1.01325),
                             volumeFlowToMassFlow(value, density)));
        }
    }
}

TEST(Units, ConvertFlowUnitNamesBothUnitsWhenOneIsNotAFlow)
{
    auto failure = [](TUnit source, TUnit target) {
        return FailureMessage(
            [&] { convertFlowUnit(source, target, std_15degC_101325Pa, 1, 1, 0, 288.15, 1.01325); });
    };
    EXPECT_EQ(failure(unt_Pa_G, unt_kg_sec), "Conversions failed : routine does not exist => Pa.g to kg/sec");
    EXPECT_EQ(failure(unt_SCMH, unt_m), "Conversions failed : routine does not exist => SCMH to m");
    EXPECT_EQ(failure(unt_m3, unt_Litre), "Conversions failed : routine does not exist => m³ to litres");
    // A gas target is named too, not reported as a pressure below absolute zero.
    EXPECT_EQ(failure(unt_Pa_G, unt_SCMH), "Conversions failed : routine does not exist => Pa.g to SCMH");
    EXPECT_EQ(failure(unt_m, unt_MMSCFD), "Conversions failed : routine does not exist => m to MMSCFD");
}

TEST(Units, PredicatesOverAllUnits)
{
    int metric = 0, fluidHead = 0, massFlow = 0, gasFlow = 0;
    for (int u = 0; u < TUnitCount; ++u) {
        const TUnit unit = static_cast<TUnit>(u);
        metric += isMetricUnit(unit);
        fluidHead += isFluidHeadUnit(unit);
        massFlow += isMassFlowUnit(unit);
        gasFlow += isGasFlowUnit(unit);
    }
    EXPECT_EQ(metric, 51);
    EXPECT_EQ(fluidHead, 8);
    EXPECT_EQ(massFlow, 9);
    EXPECT_EQ(gasFlow, 10);
    EXPECT_TRUE(isMetricUnit(unt_Atm));
    EXPECT_TRUE(isMetricUnit(unt_degrees_K));
    EXPECT_FALSE(isMetricUnit(unt_SCFM));
    EXPECT_FALSE(isMetricUnit(unt_gallon_UK));
    EXPECT_TRUE(isFluidHeadUnit(unt_in_hd_fluid_A));
    EXPECT_FALSE(isFluidHeadUnit(unt_m_H2O));
    EXPECT_TRUE(isMassFlowUnit(unt_kN_hour));
    EXPECT_FALSE(isGasFlowUnit(unt_lb_hour));
}

TEST(Units, AssociatedAbsoluteAndFluidHeadUnits)
{
    for (int u = unt_Bar_G; u <= unt_in_Hg; ++u) {
        const TUnit gauge = static_cast<TUnit>(u);
        const TUnit absolute = associatedAbsolutePressureUnit(gauge);
        EXPECT_EQ(unitPlainName(absolute), unitPlainName(gauge)) << unitName(gauge);
        EXPECT_EQ(associatedAbsolutePressureUnit(absolute), absolute);
    }
    EXPECT_EQ(associatedAbsolutePressureUnit(unt_Psi_G), unt_Psi_A);
    EXPECT_EQ(associatedAbsolutePressureUnit(unt_Bar_A), unt_Bar_A);
    for (const TUnit unit : {unt_m_hd_fluid, unt_Atm, unt_m_hd_fluid_A, unt_m})
        EXPECT_EQ(FailureMessage([&] { associatedAbsolutePressureUnit(unit); }),
                  "associatedAbsolutePressureUnit failed : association does not exist")
            << unitName(unit);

    const std::pair<TUnit, TUnit> heads[] = {
        {unt_Psi_G, unt_ft_hd_fluid},   {unt_in_Hg, unt_ft_hd_fluid},   {unt_in_hd_fluid, unt_ft_hd_fluid},
        {unt_ft_H2O_A, unt_ft_hd_fluid}, {unt_Bar_G, unt_m_hd_fluid},   {unt_mm_Hg, unt_m_hd_fluid},
        {unt_mm_hd_fluid, unt_m_hd_fluid}, {unt_kPa_A, unt_m_hd_fluid}, {unt_in_Hg_A, unt_ft_hd_fluid},
    };
    for (const auto &[unit, head] : heads)
        EXPECT_EQ(associatedFluidHeadUnitUnit(unit), head) << unitName(unit);
    for (const TUnit unit : {unt_Atm, unt_m_hd_fluid_A, unt_in_hd_fluid_A, unt_m, unt_kg_sec})
        EXPECT_EQ(FailureMessage([&] { associatedFluidHeadUnitUnit(unit); }),
                  "associatedFluidHeadUnitUnit failed : association does not exist")
            << unitName(unit);
}

} // namespace
} // namespace tessaran
