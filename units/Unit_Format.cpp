#include "units/Unit_Format.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <string_view>

namespace tessaran {

namespace {

std::atomic<char> DecimalSeparator{'.'};

constexpr int SignificantDigits = 15;

// Scientific form for values too large for the fixed form: up to 15
// significant digits, trailing zeros dropped.
std::string formatScientific(bool negative, const std::string &digits, int exponent, char decimalSeparator)
{
    std::string mantissa = digits;
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();
    std::string text = negative ? "-" : "";
    text += mantissa[0];
    if (mantissa.size() > 1) {
        text += decimalSeparator;
        text.append(mantissa, 1, std::string::npos);
    }
    text += exponent < 0 ? "E-" : "E+";
    text += std::to_string(std::abs(exponent));
    return text;
}

std::string convertedText(double value, int decimals) { return formatFixed(decimals, value); }

} // namespace

char userDecimalSeparator() { return DecimalSeparator.load(std::memory_order_relaxed); }

void setUserDecimalSeparator(char separator) { DecimalSeparator.store(separator, std::memory_order_relaxed); }

int unitDecimalsForValue(TUnit unit, double value)
{
    switch (unit) {
    case unt_MMSCMH:
    case unt_MMSCMD:
    case unt_MMSCFH:
    case unt_MMSCFD:
        return unitDecimals(unit);
    default:
        break;
    }
    if (value < 0.99)
        return 4;
    if (value < 99.99)
        return 2;
    return 0;
}

std::string formatFixed(int decimals, double value, char decimalSeparator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (decimals < 0)
        decimals = 0;

    // The value to 15 significant digits: digits d1..d15 with the decimal
    // point after the first `integerDigits` of them.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, SignificantDigits - 1));
    int exponent = 0;
    const std::string_view exponentText = text.substr(text.find('e') + 1);
    std::from_chars(exponentText.data() + (exponentText[0] == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    int integerDigits = exponent + 1;
    const bool negative = value < 0;

    if (integerDigits > SignificantDigits)
        return formatScientific(negative, digits, exponent, decimalSeparator);

    // Round the digit string half up at the last decimal kept.
    const int keep = integerDigits + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < SignificantDigits) {
        const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (roundUp) {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                digits[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++integerDigits;
            }
        }
    }
    if (integerDigits > SignificantDigits)
        return formatScientific(negative, digits, integerDigits - 1, decimalSeparator);

    auto digitAt = [&](int index) {
        return index >= 0 && index < static_cast<int>(digits.size()) ? digits[static_cast<std::size_t>(index)] : '0';
    };
    std::string out;
    if (integerDigits <= 0) {
        out = "0";
    } else {
        for (int i = 0; i < integerDigits; ++i)
            out += digitAt(i);
    }
    if (decimals > 0) {
        out += decimalSeparator;
        for (int i = 0; i < decimals; ++i)
            out += digitAt(integerDigits + i);
    }
    // No "-0.00": a value that rounds to zero has no sign.
    if (negative && out.find_first_not_of(std::string("0") + decimalSeparator) != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

std::string formatForUnit(TUnit unit, double value, char decimalSeparator)
{
    return formatFixed(unitDecimals(unit), value, decimalSeparator);
}

std::string formatFixedZeroPadded(int integerDigits, int decimals, double value, char decimalSeparator)
{
    std::string text = formatFixed(decimals, value, decimalSeparator);
    const std::size_t width = static_cast<std::size_t>(std::max(0, integerDigits + decimals + 1));
    // The zeros go between the sign and the digits.
    const std::size_t firstDigit = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (text.size() < width)
        text.insert(firstDigit, width - text.size(), '0');
    return text;
}

std::string convertAndFormat(TUnit sourceUnit, TUnit targetUnit, double value)
{
    return formatForUnit(targetUnit, convertUnit(sourceUnit, targetUnit, value));
}

std::string convertAndFormatDecimals(TUnit sourceUnit, TUnit targetUnit, int decimals, double value)
{
    return convertedText(convertUnit(sourceUnit, targetUnit, value), decimals);
}

std::string convertPressureAndFormat(TUnit sourceUnit, TUnit targetUnit, double value, double atmosphericPressure_Bar,
                                     double density)
{
    return formatForUnit(targetUnit,
                         convertPressureUnit(sourceUnit, targetUnit, value, atmosphericPressure_Bar, density));
}

std::string convertUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals, double value)
{
    return convertedText(convertUnit(sourceUnit, targetUnit, value), decimals);
}

std::string convertFlowUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals,
                                    TGasFlowTemperaturePressureModel model, double value, double density,
                                    double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar)
{
    auto isFlowUnit = [](TUnit unit) {
        return (unit >= unt_m3_sec && unit <= unt_Barrels_Oil_day) || isMassFlowUnit(unit) || isGasFlowUnit(unit);
    };
    if (!isFlowUnit(sourceUnit) || !isFlowUnit(targetUnit))
        throw EConversionsClass("Conversions failed : routine does not exist");
    return convertedText(convertFlowUnit(sourceUnit, targetUnit, model, value, density, gaugePressure_Bar,
                                         temperature_K, atmosphericPressure_Bar),
                         decimals);
}

std::string convertHeadPressureUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals, double value,
                                            double density)
{
    return convertedText(convertHeadPressureUnit(sourceUnit, targetUnit, value, density), decimals);
}

std::string convertAbsolutePressureUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals, double value,
                                                double atmosphericPressure_Bar)
{
    return convertedText(convertAbsolutePressureUnit(sourceUnit, targetUnit, value, atmosphericPressure_Bar),
                         decimals);
}

std::string gasStandardConditionName(TGasFlowTemperaturePressureModel model)
{
    switch (model) {
    case std_0degC_100000Pa: return " 0°C, 100.000 kPa.a";
    case std_0degC_101325Pa: return " 0°C, 101.325 kPa.a";
    case std_15degC_101325Pa: return "15°C, 101.325 kPa.a";
    case std_20degC_101325Pa: return "20°C, 101.325 kPa.a";
    case std_25degC_101325Pa: return "25°C, 101.325 kPa.a";
    case std_60degF_14pt696Psi: return "60°F,  14.696 psi.a";
    case std_68degF_14pt696Psi: return "68°F,  14.696 psi.a";
    }
    return "";
}

namespace {

struct SummaryUnits {
    TUnit length, diameter, roughness, flow, massFlow, velocity, weight, area, volume, pipeLosses;
    TUnit surfacePressure, liquidLevel, elevation, otherPressures;
};

std::string unitsSummary(const SummaryUnits &u)
{
    const std::string cr = "\r";
    return "Pipes" + cr + "--------" + cr +
           "Length: " + unitName(u.length) + cr +
           "Diameter: " + unitName(u.diameter) + cr +
           "Roughness: " + unitName(u.roughness) + cr +
           "Flow: " + unitName(u.flow) + cr +
           "MassFlow: " + unitName(u.massFlow) + cr +
           "Velocity: " + unitName(u.velocity) + cr +
           "Weight: " + unitName(u.weight) + cr +
           "Area: " + unitName(u.area) + cr +
           "Volume: " + unitName(u.volume) + cr +
           "Pipe Losses: " + unitName(u.pipeLosses) + cr +
           cr +
           "Nodes" + cr + "--------" + cr +
           "Surface Pressure: " + unitName(u.surfacePressure) + cr +
           "Liquid Level: " + unitName(u.liquidLevel) + cr +
           "Elevation: " + unitName(u.elevation) + cr +
           "Other Pressures: " + unitName(u.otherPressures);
}

} // namespace

std::string unitsSummaryImperial(TPressureReference pressureReference)
{
    return unitsSummary({unt_ft, unt_inch, unt_inch, unt_ft3_sec, unt_lb_sec, unt_ft_Sec, unt_lbs_per_ft, unt_ft2,
                         unt_ft3, unt_ft_hd_fluid, unt_Psi_G, unt_ft, unt_ft,
                         pressureReference == PressureGage ? unt_Psi_G : unt_Psi_A});
}

std::string unitsSummaryMetric(TPressureReference pressureReference)
{
    return unitsSummary({unt_m, unt_mm, unt_mm, unt_m3_sec, unt_kg_sec, unt_m_Sec, unt_kgs_per_m, unt_m2, unt_m3,
                         unt_m_hd_fluid, unt_Bar_G, unt_m, unt_m,
                         pressureReference == PressureGage ? unt_Bar_G : unt_Bar_A});
}

} // namespace tessaran
