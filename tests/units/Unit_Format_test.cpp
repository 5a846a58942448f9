#include "units/Unit_Format.h"

#include <string>

#include <gtest/gtest.h>

namespace tessaran {
namespace {

std::string Commas(std::string text)
{
    for (char &c : text)
        if (c == '.')
            c = ',';
    return text;
}

struct FixedCase {
    int decimals;
    double value;
    const char *text; // with "." as separator
};

// Written under both separators; the comma text is the point text with its
// separator swapped.
TEST(UnitFormat, FormatFixedUnderBothSeparators)
{
    const FixedCase cases[] = {
        {3, 2, "2.000"},
        {0, 2, "2"},
        {2, -5, "-5.00"},
        {4, 0.5, "0.5000"},
        {2, 1234567.891, "1234567.89"},           // no thousands separator
        {2, 2.675, "2.68"},                       // 15 significant digits first, then half up
        {0, 0.5, "1"},
        {0, 2.5, "3"},
        {1, 0.95, "1.0"},
        {2, 999.999, "1000.00"},
        {3, 0.0005, "0.001"},
        {1, 0.04, "0.0"},
        {2, -0.001, "0.00"},                      // no "-0.00"
        {2, 0, "0.00"},
        {6, 1.0 / 3.0, "0.333333"},
        {20, 0.1, "0.10000000000000000000"},      // nothing beyond 15 significant digits
        {2, 123456789012345.0, "123456789012345.00"},
        {2, 1e16, "1E+16"},                       // more than 15 integer digits
        {2, -2.5e20, "-2.5E+20"},
        {-1, 7.6, "8"},
    };
    for (const FixedCase &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatFixed(c.decimals, c.value, '.'), c.text);
        EXPECT_EQ(formatFixed(c.decimals, c.value, ','), Commas(c.text));
    }
}

TEST(UnitFormat, DefaultSeparatorIsTheOneTheShellSet)
{
    const char saved = userDecimalSeparator();
    setUserDecimalSeparator(',');
    EXPECT_EQ(formatFixed(3, 2), "2,000");
    EXPECT_EQ(formatForUnit(unt_Bar_G, 1.5), "1,5000");
    EXPECT_EQ(convertAndFormat(unt_Psi_G, unt_Bar_G, 14.5037743897), "1,0000");
    setUserDecimalSeparator('.');
    EXPECT_EQ(formatFixed(3, 2), "2.000");
    setUserDecimalSeparator(saved);
}

// The zeros go between the sign and the digits: putting them in front of a
// minus sign ("0-5.00") gives a text that is no number at all.
TEST(UnitFormat, FormatFixedZeroPadded)
{
    const struct {
        int integerDigits, decimals;
        double value;
        const char *text;
    } cases[] = {
        {3, 2, 5, "005.00"},
        {3, 2, -5, "-05.00"},
        {4, 1, -5, "-005.0"},
        {3, 2, 123.456, "123.46"},
        {2, 2, 12345, "12345.00"},
        {1, 0, 7, "07"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(formatFixedZeroPadded(c.integerDigits, c.decimals, c.value, '.'), c.text);
        EXPECT_EQ(formatFixedZeroPadded(c.integerDigits, c.decimals, c.value, ','), Commas(c.text));
    }
}

TEST(UnitFormat, UnitDecimalsForValue)
{
    const struct {
        TUnit unit;
        double value;
        int decimals;
    } cases[] = {
        {unt_m, 0.5, 4},      {unt_m, 0.99, 2},      {unt_m, 50, 2}, {unt_m, 99.99, 0},
        {unt_m, 150, 0},      {unt_m, -500, 4},      {unt_MMSCFD, 1e6, 4}, {unt_MMSCMH, 0.1, 4},
        {unt_SCFD, 1e6, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(unitDecimalsForValue(c.unit, c.value), c.decimals) << unitName(c.unit) << " " << c.value;
}

TEST(UnitFormat, ConvertersWithText)
{
    EXPECT_EQ(convertAndFormat(unt_m_H2O, unt_Bar_G, 10), "0.9807");  // the target unit's 4 decimals
    EXPECT_EQ(convertAndFormatDecimals(unt_ft, unt_m, 1, 10), "3.0");
    EXPECT_EQ(convertUnitToString(unt_kg_min, unt_lb_hour, 2, 1), "132.28");
    EXPECT_EQ(convertPressureAndFormat(unt_Bar_G, unt_Atm, 0, 0.9, 1000), "1.0000");
    EXPECT_EQ(convertHeadPressureUnitToString(unt_ft_hd_fluid, unt_ft_H2O, 3, 1, 500), "0.500");
    EXPECT_EQ(convertAbsolutePressureUnitToString(unt_Bar_G, unt_Bar_A, 2, 1, 1.01325), "2.01");
    EXPECT_EQ(convertFlowUnitToString(unt_m3_sec, unt_kg_sec, 1, std_15degC_101325Pa, 2, 850, 0, 288.15, 1.01325),
              "1700.0");
}

TEST(UnitFormat, ConvertersFailAsTheConversionsDo)
{
    auto message = [](auto call) -> std::string {
        try {
            call();
        } catch (const EConversionsClass &e) {
            return e.what();
        }
        return "no failure";
    };
    const std::string doesNotExist = "Conversions failed : routine does not exist";
    EXPECT_EQ(message([] { convertUnitToString(unt_kg_sec, unt_m3_sec, 2, 1); }), doesNotExist);
    EXPECT_EQ(message([] { convertAndFormat(unt_Bar_A, unt_Bar_G, 1); }), doesNotExist);
    EXPECT_EQ(message([] { convertPressureAndFormat(unt_m, unt_Bar_G, 1, 1, 1); }), doesNotExist);
    EXPECT_EQ(message([] { convertHeadPressureUnitToString(unt_Atm, unt_Bar_G, 1, 1, 1); }), doesNotExist);
    EXPECT_EQ(message([] { convertAbsolutePressureUnitToString(unt_ft_hd_fluid, unt_Bar_G, 1, 1, 1); }),
              doesNotExist);
    // Without the unit names that the flow conversion itself adds.
    EXPECT_EQ(message([] {
                  convertFlowUnitToString(unt_Pa_G, unt_kg_sec, 2, std_15degC_101325Pa, 1, 1, 0, 288.15, 1.01325);
              }),
              doesNotExist);
    EXPECT_EQ(message([] {
                  convertFlowUnitToString(unt_SCMH, unt_kg_sec, 2, std_15degC_101325Pa, 1, 1, -5, 288.15, 1.01325);
              }),
              "Conversion failed : SCMH_To_kgsec invalid less than 0 bar a pressures");
}

TEST(UnitFormat, GasStandardConditionNames)
{
    const char *names[] = {" 0°C, 100.000 kPa.a", " 0°C, 101.325 kPa.a", "15°C, 101.325 kPa.a",
                           "20°C, 101.325 kPa.a", "25°C, 101.325 kPa.a", "60°F,  14.696 psi.a",
                           "68°F,  14.696 psi.a"};
    for (int m = 0; m < TGasFlowTemperaturePressureModelCount; ++m)
        EXPECT_EQ(gasStandardConditionName(static_cast<TGasFlowTemperaturePressureModel>(m)), names[m]);
    EXPECT_EQ(gasStandardConditionName(static_cast<TGasFlowTemperaturePressureModel>(7)), "");
}

TEST(UnitFormat, UnitSummaries)
{
    EXPECT_EQ(unitsSummaryMetric(PressureGage),
              "Pipes\r--------\rLength: m\rDiameter: mm\rRoughness: mm\rFlow: m³/sec\rMassFlow: kg/sec\r"
              "Velocity: m/sec\rWeight: kgs/m\rArea: m²\rVolume: m³\rPipe Losses: m.hd Fluid\r\r"
              "Nodes\r--------\rSurface Pressure: bar.g\rLiquid Level: m\rElevation: m\rOther Pressures: bar.g");
    EXPECT_EQ(unitsSummaryImperial(PressureAbsolute),
              "Pipes\r--------\rLength: ft\rDiameter: inch\rRoughness: inch\rFlow: ft³/sec\rMassFlow: lb/sec\r"
              "Velocity: ft/sec\rWeight: lbs/ft\rArea: ft²\rVolume: ft³\rPipe Losses: ft.hd Fluid\r\r"
              "Nodes\r--------\rSurface Pressure: psi.g\rLiquid Level: ft\rElevation: ft\rOther Pressures: psi.a");
    EXPECT_TRUE(unitsSummaryMetric(PressureAbsolute).ends_with("Other Pressures: bar.a"));
    EXPECT_TRUE(unitsSummaryImperial(PressureGage).ends_with("Other Pressures: psi.g"));
}

} // namespace
} // namespace tessaran
