#pragma once
// Values as text in their units: the one number format the whole system
// uses, the converters combined with it, the names of the gas standard
// conditions and the two unit summaries.

#include <string>

#include "units/Units.h"

namespace tessaran {

// The decimal separator of the user's locale, used by every formatter below
// unless a caller passes its own. It is '.' until the application shell sets
// it once at start-up from the user's locale; the C locale is never read.
char userDecimalSeparator();
void setUserDecimalSeparator(char separator);

// Decimals that suit the size of a value.
int unitDecimalsForValue(TUnit unit, double value);

// Fixed-point text: rounded to 15 significant digits, then written with a
// minus sign when negative, at least one digit before the separator and
// exactly `decimals` digits after it, no thousands separator. Values with
// more than 15 digits before the separator are written in scientific form.
std::string formatFixed(int decimals, double value, char decimalSeparator = userDecimalSeparator());
std::string formatForUnit(TUnit unit, double value, char decimalSeparator = userDecimalSeparator());
// formatFixed, then zeros put in front of the digits until the text is at
// least integerDigits + decimals + 1 characters long; a minus sign stays in
// front of the zeros ("-05.00").
std::string formatFixedZeroPadded(int integerDigits, int decimals, double value,
                                  char decimalSeparator = userDecimalSeparator());

std::string convertAndFormat(TUnit sourceUnit, TUnit targetUnit, double value);
std::string convertAndFormatDecimals(TUnit sourceUnit, TUnit targetUnit, int decimals, double value);
std::string convertPressureAndFormat(TUnit sourceUnit, TUnit targetUnit, double value, double atmosphericPressure_Bar,
                                     double density);
std::string convertUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals, double value);
std::string convertFlowUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals,
                                    TGasFlowTemperaturePressureModel model, double value, double density,
                                    double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar);
std::string convertHeadPressureUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals, double value,
                                            double density);
std::string convertAbsolutePressureUnitToString(TUnit sourceUnit, TUnit targetUnit, int decimals, double value,
                                                double atmosphericPressure_Bar);

// " 0°C, 100.000 kPa.a" and the like; empty for a value outside the model.
std::string gasStandardConditionName(TGasFlowTemperaturePressureModel model);

// The units of one system, one line per quantity, lines joined by a single
// carriage return.
std::string unitsSummaryImperial(TPressureReference pressureReference);
std::string unitsSummaryMetric(TPressureReference pressureReference);

} // namespace tessaran
