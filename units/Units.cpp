#include "units/Units.h"

#include "platform/Pascal.h"

namespace tessaran {

namespace {

enum class Group : std::uint8_t {
    Length,
    Area,
    Volume,
    Velocity,
    Power,
    Mass,
    MassPerLength,
    Temperature,
    VolumeFlow,
    GaugePressure, // gauge pressures and water/mercury columns
    FluidHead,     // gauge head of the fluid itself
    AbsolutePressure,
    AbsoluteFluidHead,
    Density,
    MassFlow,
    GasFlow,
};

constexpr Extended Foot = 0.3048L;
constexpr Extended Inch = 0.0254L;
constexpr Extended Mile = 1609.344L;
constexpr Extended CubicFoot = Foot * Foot * Foot;
constexpr Extended CubicFootGas = 0.028316846592L;
constexpr Extended UKGallon_m3 = 0.004546092L;
constexpr Extended USGallon_m3 = 0.003785411784L;
// One constant for both directions: a different figure on the way back
// would make every barrel flow drift on each round trip.
constexpr Extended Barrel_m3 = 42.0L * USGallon_m3;
constexpr Extended PoundMass = 0.45359237L;
constexpr Extended PoundsPerKg = 2.20462262185L;
constexpr Extended KWPerHP = 0.7456999L;
constexpr Extended PsiPerBar = 14.5037743897L;
constexpr Extended Gravity = 9.80665L;
constexpr Extended WaterDensity = 1000.0L;
constexpr Extended MercuryRelativeDensity = 13.5950980632L;
constexpr Extended PaPerBar = 100000.0L;

// Column heights in metres per unit of the column units (m, mm, ft, in).
constexpr Extended ColumnM = 1.0L;
constexpr Extended ColumnMM = 1.0L / 1000.0L;
constexpr Extended ColumnFt = Foot;
constexpr Extended ColumnIn = Foot / 12.0L;

struct UnitData {
    Group group;
    const char *name;
    const char *plainName;
    int decimals;
    int entryDigits;
    // Value in the group's base per unit value. For the column units it is the
    // column height in metres, for the gauge-pressure group the bar per unit.
    Extended factor;
};

constexpr Extended WaterColumnBar(Extended height) { return height * Gravity * WaterDensity / PaPerBar; }

// Indexed by the unit's ordinal.
constexpr UnitData Units[TUnitCount] = {
    {Group::Length, "m", "m", 3, 6, 1.0L},
    {Group::Length, "mm", "mm", 3, 6, 1.0L / 1000.0L},
    {Group::Length, "ft", "ft", 3, 6, Foot},
    {Group::Length, "inch", "inch", 3, 6, Inch},
    {Group::Length, "km", "km", 3, 6, 1000.0L},
    {Group::Length, "mile", "mile", 3, 6, Mile},
    {Group::Area, "m²", "m²", 3, 6, 1.0L},
    {Group::Area, "mm²", "mm²", 3, 6, 1.0L / 1000.0L / 1000.0L},
    {Group::Area, "ft²", "ft²", 3, 6, Foot * Foot},
    {Group::Area, "in²", "in²", 3, 6, Foot * Foot / 144.0L},
    {Group::Volume, "m³", "m³", 3, 6, 1.0L},
    {Group::Volume, "mm³", "mm³", 3, 6, 1.0L / 1000.0L / 1000.0L / 1000.0L},
    {Group::Volume, "ft³", "ft³", 3, 6, CubicFoot},
    {Group::Volume, "in³", "in³", 3, 6, CubicFoot / 1728.0L},
    {Group::Velocity, "m/sec", "m/sec", 3, 6, 1.0L},
    {Group::Velocity, "ft/sec", "ft/sec", 3, 6, Foot},
    {Group::Power, "kW", "kW", 3, 6, 1.0L},
    {Group::Power, "HP", "HP", 3, 6, KWPerHP},
    {Group::Mass, "lbs", "lbs", 3, 6, PoundMass},
    {Group::Mass, "kgs", "kgs", 3, 6, 1.0L},
    {Group::MassPerLength, "lbs/ft", "lbs/ft", 3, 6, PoundMass / Foot},
    {Group::MassPerLength, "kgs/m", "kgs/m", 3, 6, 1.0L},
    {Group::Temperature, "°C", "°C", 3, 6, 1.0L},
    {Group::Temperature, "°F", "°F", 3, 6, 1.0L},
    {Group::Temperature, "°K", "°K", 3, 6, 1.0L},
    {Group::VolumeFlow, "m³/sec", "m³/sec", 4, 6, 1.0L},
    {Group::VolumeFlow, "m³/min", "m³/min", 3, 6, 1.0L / 60.0L},
    {Group::VolumeFlow, "m³/hour", "m³/hour", 3, 6, 1.0L / 3600.0L},
    {Group::VolumeFlow, "l/sec", "l/sec", 3, 6, 1.0L / 1000.0L},
    {Group::VolumeFlow, "l/min", "l/min", 2, 6, 1.0L / 1000.0L / 60.0L},
    {Group::VolumeFlow, "l/hour", "l/hour", 2, 6, 1.0L / 1000.0L / 3600.0L},
    {Group::VolumeFlow, "ft³/sec", "ft³/sec", 4, 6, CubicFoot},
    {Group::VolumeFlow, "ft³/min", "ft³/min", 3, 6, CubicFoot / 60.0L},
    {Group::VolumeFlow, "ft³/hour", "ft³/hour", 3, 6, CubicFoot / 3600.0L},
    {Group::VolumeFlow, "in³/sec", "in³/sec", 3, 6, Inch * Inch * Inch},
    {Group::VolumeFlow, "in³/min", "in³/min", 2, 6, Inch * Inch * Inch / 60.0L},
    {Group::VolumeFlow, "in³/hour", "in³/hour", 2, 6, Inch * Inch * Inch / 3600.0L},
    {Group::VolumeFlow, "UK gpm ", "UK gpm", 2, 6, UKGallon_m3 / 60.0L},
    {Group::VolumeFlow, "US gpm", "US gpm", 2, 6, USGallon_m3 / 60.0L},
    {Group::VolumeFlow, "UK MGD", "UK MGD", 2, 6, UKGallon_m3 * 1.0e6L / 24.0L / 3600.0L},
    {Group::VolumeFlow, "US MGD", "US MGD", 2, 6, USGallon_m3 * 1.0e6L / 24.0L / 3600.0L},
    {Group::VolumeFlow, "Brls/min", "Brls/min", 3, 6, Barrel_m3 / 60.0L},
    {Group::VolumeFlow, "Brls/hr", "Brls/hr", 3, 6, Barrel_m3 / 3600.0L},
    {Group::VolumeFlow, "Brls/day", "Brls/day", 3, 6, Barrel_m3 / 24.0L / 3600.0L},
    {Group::GaugePressure, "bar.g", "bar", 4, 5, 1.0L},
    {Group::GaugePressure, "psi.g", "psi", 4, 5, 1.0L / PsiPerBar},
    {Group::GaugePressure, "N/m².g", "N/m²", 3, 6, 1.0L / PaPerBar},
    {Group::GaugePressure, "Pa.g", "Pa", 3, 6, 1.0L / PaPerBar},
    {Group::GaugePressure, "kPa.g", "kPa", 3, 6, 1000.0L / PaPerBar},
    {Group::GaugePressure, "m.H2O", "m.H2O", 3, 6, WaterColumnBar(ColumnM)},
    {Group::GaugePressure, "mm.H2O", "mm.H2O", 1, 6, WaterColumnBar(ColumnMM)},
    {Group::GaugePressure, "ft.H2O", "ft.H2O", 2, 6, WaterColumnBar(ColumnFt)},
    {Group::GaugePressure, "in.H2O", "in.H2O", 1, 6, WaterColumnBar(ColumnIn)},
    {Group::GaugePressure, "mm Hg", "mm Hg", 1, 6, WaterColumnBar(ColumnMM) * MercuryRelativeDensity},
    {Group::GaugePressure, "in. Hg", "in. Hg", 1, 6, WaterColumnBar(ColumnIn) * MercuryRelativeDensity},
    {Group::FluidHead, "m.hd Fluid", "m.hd", 3, 6, ColumnM},
    {Group::FluidHead, "mm.hd Fluid", "mm.hd", 1, 6, ColumnMM},
    {Group::FluidHead, "ft.hd Fluid", "ft.hd", 2, 6, ColumnFt},
    {Group::FluidHead, "in.hd Fluid", "in.hd", 1, 6, ColumnIn},
    {Group::AbsolutePressure, "atm.", "atm.", 4, 6, 1.0L},
    {Group::AbsolutePressure, "bar.a", "bar", 4, 6, 1.0L},
    {Group::AbsolutePressure, "psi.a", "psi", 4, 6, 1.0L / PsiPerBar},
    {Group::AbsolutePressure, "N/m².a", "N/m²", 3, 6, 1.0L / PaPerBar},
    {Group::AbsolutePressure, "Pa.a", "Pa", 3, 6, 1.0L / PaPerBar},
    {Group::AbsolutePressure, "kPa.a", "kPa", 3, 6, 1000.0L / PaPerBar},
    {Group::AbsolutePressure, "m.H2O.a", "m.H2O", 3, 6, WaterColumnBar(ColumnM)},
    {Group::AbsolutePressure, "mm.H2O.a", "mm.H2O", 1, 6, WaterColumnBar(ColumnMM)},
    {Group::AbsolutePressure, "ft.H2O.a", "ft.H2O", 2, 6, WaterColumnBar(ColumnFt)},
    {Group::AbsolutePressure, "in.H2O.a", "in.H2O", 1, 6, WaterColumnBar(ColumnIn)},
    {Group::AbsolutePressure, "mm Hg.a", "mm Hg", 1, 6, WaterColumnBar(ColumnMM) * MercuryRelativeDensity},
    {Group::AbsolutePressure, "in. Hg.a", "in. Hg", 1, 6, WaterColumnBar(ColumnIn) * MercuryRelativeDensity},
    {Group::AbsoluteFluidHead, "m.hd.a", "m.hd", 3, 6, ColumnM},
    {Group::AbsoluteFluidHead, "mm.hd.a", "mm.hd", 1, 6, ColumnMM},
    {Group::AbsoluteFluidHead, "ft.hd.a", "ft.hd", 2, 6, ColumnFt},
    {Group::AbsoluteFluidHead, "in.hd.a", "in.hd", 1, 6, ColumnIn},
    {Group::Volume, "litres", "litres", 3, 6, 1.0L / 1000.0L},
    {Group::Volume, "UK gallon", "UK gallon", 3, 6, UKGallon_m3},
    {Group::Volume, "USA gallon", "USA gallon", 3, 6, USGallon_m3},
    {Group::Volume, "Brls (oil)", "Brls (oil)", 3, 6, Barrel_m3},
    {Group::Density, "kg/m³", "kg/m³", 6, 6, 1.0L},
    {Group::Density, "lb/ft³", "lb/ft³", 6, 6, 1.0L / PoundsPerKg / CubicFoot},
    {Group::MassFlow, "kg/sec", "kg/sec", 4, 6, 1.0L},
    {Group::MassFlow, "kg/min", "kg/min", 4, 6, 1.0L / 60.0L},
    {Group::MassFlow, "kg/hour", "kg/hour", 4, 6, 1.0L / 3600.0L},
    {Group::MassFlow, "kN/sec", "kN/sec", 4, 6, 1000.0L / Gravity},
    {Group::MassFlow, "kN/min", "kN/min", 4, 6, 1000.0L / 60.0L / Gravity},
    {Group::MassFlow, "kN/hour", "kN/hour", 4, 6, 1000.0L / 3600.0L / Gravity},
    {Group::MassFlow, "lb/sec", "lb/sec", 4, 6, 1.0L / PoundsPerKg},
    {Group::MassFlow, "lb/min", "lb/min", 4, 6, 1.0L / 60.0L / PoundsPerKg},
    {Group::MassFlow, "lb/hour", "lb/hour", 4, 6, 1.0L / 3600.0L / PoundsPerKg},
    // Gas standard flows: SCMH per unit value.
    {Group::GasFlow, "SCCM", "SCCM", 4, 9, 60.0L / 1.0e6L},
    {Group::GasFlow, "SLM", "SLM", 4, 9, 60.0L / 1000.0L},
    {Group::GasFlow, "SCMH", "SCMH", 4, 9, 1.0L},
    {Group::GasFlow, "MMSCMH", "MMSCMH", 4, 9, 1.0e6L},
    {Group::GasFlow, "MMSCMD", "MMSCMD", 4, 9, 1.0e6L / 24.0L},
    {Group::GasFlow, "SCFM", "SCFM", 4, 9, 60.0L * CubicFootGas},
    {Group::GasFlow, "SCFH", "SCFH", 4, 9, CubicFoot},
    {Group::GasFlow, "SCFD", "SCFD", 4, 9, CubicFootGas / 24.0L},
    {Group::GasFlow, "MMSCFH", "MMSCFH", 4, 9, 1.0e6L * CubicFoot},
    {Group::GasFlow, "MMSCFD", "MMSCFD", 4, 9, 1.0e6L / 24.0L * CubicFootGas},
};

const UnitData &data(TUnit unit)
{
    if (!IsValidUnitOrdinal(unit))
        throw EConversionsClass("Conversions failed : routine does not exist");
    return Units[unit];
}

[[noreturn]] void routineDoesNotExist()
{
    throw EConversionsClass("Conversions failed : routine does not exist");
}

bool isSimpleGroup(Group group)
{
    switch (group) {
    case Group::FluidHead:
    case Group::AbsolutePressure:
    case Group::AbsoluteFluidHead:
    case Group::GasFlow:
        return false;
    default:
        return true;
    }
}

bool inRange(TUnit unit, TUnit first, TUnit last) { return unit >= first && unit <= last; }

Extended simpleToBase(TUnit unit, Extended value)
{
    const UnitData &d = data(unit);
    if (!isSimpleGroup(d.group))
        routineDoesNotExist();
    switch (unit) {
    case unt_degrees_F: return (value - 32.0L) / 1.8L;
    case unt_degrees_K: return value - 273.15L;
    default: return value * d.factor;
    }
}

Extended simpleFromBase(TUnit unit, Extended value)
{
    const UnitData &d = data(unit);
    if (!isSimpleGroup(d.group))
        routineDoesNotExist();
    switch (unit) {
    case unt_degrees_F: return value * 1.8L + 32.0L;
    case unt_degrees_K: return value + 273.15L;
    default: return value / d.factor;
    }
}

// A pressure unit (44-74) to bar gauge.
Extended pressureToBarG(TUnit unit, Extended value, Extended atmosphere, Extended density)
{
    const UnitData &d = data(unit);
    switch (d.group) {
    case Group::GaugePressure: return value * d.factor;
    case Group::FluidHead: return value * d.factor * Gravity * density / PaPerBar;
    case Group::AbsolutePressure:
        if (unit == unt_Atm)
            return value * atmosphere - atmosphere;
        return value * d.factor - atmosphere;
    case Group::AbsoluteFluidHead: return value * d.factor * Gravity * density / PaPerBar - atmosphere;
    default: routineDoesNotExist();
    }
}

Extended pressureFromBarG(TUnit unit, Extended value, Extended atmosphere, Extended density)
{
    const UnitData &d = data(unit);
    switch (d.group) {
    case Group::GaugePressure: return value / d.factor;
    case Group::FluidHead: return value * PaPerBar / (d.factor * Gravity * density);
    case Group::AbsolutePressure:
        if (unit == unt_Atm)
            return (value + atmosphere) / atmosphere;
        return (value + atmosphere) / d.factor;
    case Group::AbsoluteFluidHead: return (value + atmosphere) * PaPerBar / (d.factor * Gravity * density);
    default: routineDoesNotExist();
    }
}

struct StandardConditions {
    Extended temperature_K;
    Extended pressure_Pa;
    Extended conversionPressure_Bar; // standard pressure used by the flow conversions
};

StandardConditions standardConditions(TGasFlowTemperaturePressureModel model)
{
    switch (model) {
    case std_0degC_100000Pa: return {273.15L, 100000.0L, 1.0L};
    case std_0degC_101325Pa: return {273.15L, 101325.0L, 1.01325L};
    case std_15degC_101325Pa: return {288.15L, 101325.0L, 1.01325L};
    case std_20degC_101325Pa: return {293.15L, 101325.0L, 1.01325L};
    case std_25degC_101325Pa: return {298.15L, 101325.0L, 1.01325L};
    case std_60degF_14pt696Psi: return {288.7055L, 101325.0L, 1.01325L};
    case std_68degF_14pt696Psi: return {293.15L, 101325.0L, 1.01325L};
    }
    return {0.0L, 0.0L, 0.0L};
}

constexpr Extended UniversalGasConstant = 8314.4621L; // J/(kmol K)

// Density of the gas at the model's standard conditions, from its density at
// the actual gauge pressure and temperature; 0 where it cannot be formed.
Extended standardDensity(const StandardConditions &standard, Extended density, Extended gaugePressure_Bar,
                         Extended temperature_K, Extended atmosphere_Bar)
{
    // The actual pressure is the gauge pressure over the atmosphere the
    // caller gives, not over the standard pressure.
    const Extended actualPressure_Pa = (gaugePressure_Bar + atmosphere_Bar) * PaPerBar;
    Extended gasConstant = 0.0L;
    Extended standardPressure_Pa = 0.0L;
    if (actualPressure_Pa > 0.0L) {
        const Extended molecularWeight = UniversalGasConstant * density * temperature_K / actualPressure_Pa;
        gasConstant = molecularWeight > 0.0L ? UniversalGasConstant / molecularWeight : 0.0L;
        standardPressure_Pa = standard.conversionPressure_Bar * PaPerBar;
    }
    if (standardPressure_Pa > 0.0L && gasConstant > 0.0L && standard.temperature_K > 0.0L)
        return standardPressure_Pa / (standard.temperature_K * gasConstant);
    return 0.0L;
}

Extended flowToKgSec(TUnit unit, TGasFlowTemperaturePressureModel model, Extended value, Extended density,
                     Extended gaugePressure, Extended temperature, Extended atmosphere, bool &supported)
{
    supported = true;
    if (inRange(unit, unt_m3_sec, unt_Barrels_Oil_day))
        return simpleToBase(unit, value) * density;
    if (isMassFlowUnit(unit))
        return simpleToBase(unit, value);
    if (isGasFlowUnit(unit))
        return SCMH_To_kgsec(model, static_cast<double>(value * Units[unit].factor), static_cast<double>(density),
                             static_cast<double>(gaugePressure), static_cast<double>(temperature),
                             static_cast<double>(atmosphere));
    supported = false;
    return 0.0L;
}

Extended kgSecToFlow(TUnit unit, TGasFlowTemperaturePressureModel model, Extended massFlow, Extended density,
                     Extended gaugePressure, Extended temperature, Extended atmosphere, bool &supported)
{
    supported = true;
    if (inRange(unit, unt_m3_sec, unt_Barrels_Oil_day)) {
        // No volume for a fluid without density: 0 rather than an infinity.
        if (density == 0.0L)
            return 0.0L;
        return simpleFromBase(unit, massFlow / density);
    }
    if (isMassFlowUnit(unit))
        return simpleFromBase(unit, massFlow);
    if (isGasFlowUnit(unit))
        return kgsec_To_SCMH(model, static_cast<double>(massFlow), static_cast<double>(density),
                             static_cast<double>(gaugePressure), static_cast<double>(temperature),
                             static_cast<double>(atmosphere)) /
               Units[unit].factor;
    supported = false;
    return 0.0L;
}

std::string displayNameOrOrdinal(TUnit unit)
{
    if (IsValidUnitOrdinal(unit))
        return Units[unit].name;
    return "unit " + std::to_string(static_cast<int>(unit));
}

} // namespace

double toBaseUnit(TUnit unit, double value)
{
    return static_cast<double>(simpleToBase(unit, value));
}

double convertUnit(TUnit sourceUnit, TUnit targetUnit, double value)
{
    const Group source = data(sourceUnit).group;
    const Group target = data(targetUnit).group;
    if (source != target || !isSimpleGroup(source))
        routineDoesNotExist();
    return static_cast<double>(simpleFromBase(targetUnit, simpleToBase(sourceUnit, value)));
}

double convertFlowUnit(TUnit sourceUnit, TUnit targetUnit, TGasFlowTemperaturePressureModel model, double value,
                       double density, double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar)
{
    bool sourceSupported = false;
    bool targetSupported = false;
    const Extended massFlow = flowToKgSec(sourceUnit, model, value, density, gaugePressure_Bar, temperature_K,
                                          atmosphericPressure_Bar, sourceSupported);
    Extended result = 0.0L;
    if (sourceSupported)
        result = kgSecToFlow(targetUnit, model, massFlow, density, gaugePressure_Bar, temperature_K,
                             atmosphericPressure_Bar, targetSupported);
    else
        // Only whether the target is a flow unit matters here; converting to
        // it would raise the gas-pressure failure instead of naming the units.
        targetSupported = inRange(targetUnit, unt_m3_sec, unt_Barrels_Oil_day) || isMassFlowUnit(targetUnit) ||
                          isGasFlowUnit(targetUnit);
    if (!sourceSupported || !targetSupported)
        throw EConversionsClass("Conversions failed : routine does not exist => " +
                                displayNameOrOrdinal(sourceUnit) + " to " + displayNameOrOrdinal(targetUnit));
    return static_cast<double>(result);
}

double SCMH_To_kgsec(TGasFlowTemperaturePressureModel model, double flow_SCMH, double density,
                     double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar)
{
    const StandardConditions standard = standardConditions(model);
    if (!(static_cast<Extended>(gaugePressure_Bar) + atmosphericPressure_Bar > 0.0L) ||
        !(standard.conversionPressure_Bar > 0.0L))
        throw EConversionsClass("Conversion failed : SCMH_To_kgsec invalid less than 0 bar a pressures");
    const Extended rho =
        standardDensity(standard, density, gaugePressure_Bar, temperature_K, atmosphericPressure_Bar);
    return static_cast<double>(flow_SCMH * rho / 3600.0L);
}

double kgsec_To_SCMH(TGasFlowTemperaturePressureModel model, double massFlow_kgsec, double density,
                     double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar)
{
    const StandardConditions standard = standardConditions(model);
    if (!(static_cast<Extended>(gaugePressure_Bar) + atmosphericPressure_Bar > 0.0L) ||
        !(standard.conversionPressure_Bar > 0.0L))
        throw EConversionsClass("Conversion failed : kgsec_To_SCMH invalid less than 0 bar a pressure");
    const Extended rho =
        standardDensity(standard, density, gaugePressure_Bar, temperature_K, atmosphericPressure_Bar);
    // A zero standard density (zero gas density or temperature) gives no
    // meaningful standard flow; 0 rather than an infinity.
    if (rho == 0.0L)
        return 0.0;
    return static_cast<double>(massFlow_kgsec / rho * 3600.0L);
}

void gasStandardConditions(TGasFlowTemperaturePressureModel model, double &temperature_K, double &pressure_Pa)
{
    const StandardConditions standard = standardConditions(model);
    temperature_K = static_cast<double>(standard.temperature_K);
    pressure_Pa = static_cast<double>(standard.pressure_Pa);
}

double convertHeadPressureUnit(TUnit sourceUnit, TUnit targetUnit, double value, double density)
{
    if (!inRange(sourceUnit, unt_Bar_G, unt_in_hd_fluid) || !inRange(targetUnit, unt_Bar_G, unt_in_hd_fluid))
        routineDoesNotExist();
    return static_cast<double>(pressureFromBarG(targetUnit, pressureToBarG(sourceUnit, value, 0.0L, density), 0.0L,
                                                density));
}

double convertAbsolutePressureUnit(TUnit sourceUnit, TUnit targetUnit, double value, double atmosphericPressure_Bar)
{
    auto inAbsoluteRange = [](TUnit unit) {
        return inRange(unit, unt_Bar_G, unt_in_Hg) || inRange(unit, unt_Atm, unt_in_Hg_A);
    };
    if (!inAbsoluteRange(sourceUnit) || !inAbsoluteRange(targetUnit))
        routineDoesNotExist();
    return static_cast<double>(pressureFromBarG(
        targetUnit, pressureToBarG(sourceUnit, value, atmosphericPressure_Bar, 0.0L), atmosphericPressure_Bar, 0.0L));
}

double convertPressureUnit(TUnit sourceUnit, TUnit targetUnit, double value, double atmosphericPressure_Bar,
                           double density)
{
    if (!inRange(sourceUnit, unt_Bar_G, unt_in_hd_fluid_A) || !inRange(targetUnit, unt_Bar_G, unt_in_hd_fluid_A))
        routineDoesNotExist();
    return static_cast<double>(
        pressureFromBarG(targetUnit, pressureToBarG(sourceUnit, value, atmosphericPressure_Bar, density),
                         atmosphericPressure_Bar, density));
}

double convertPressure(TUnit sourceUnit, TUnit targetUnit, double value, double atmosphericPressure_Bar,
                       double density)
{
    return convertPressureUnit(sourceUnit, targetUnit, value, atmosphericPressure_Bar, density);
}

// The same operations in the same order as the general conversions, less
// their steps by a factor of exactly 1.
double fluidHeadToBar(double head_mHd, double density)
{
    static_assert(Units[unt_m_hd_fluid].factor == 1.0L && Units[unt_Bar_G].factor == 1.0L);
    return static_cast<double>(static_cast<Extended>(head_mHd) * Gravity * density / PaPerBar);
}

double massFlowToVolumeFlow(double massFlow_kgs, double density)
{
    static_assert(Units[unt_kg_sec].factor == 1.0L && Units[unt_m3_sec].factor == 1.0L);
    if (density == 0.0)
        return 0.0;
    return static_cast<double>(static_cast<Extended>(massFlow_kgs) / density);
}

double volumeFlowToMassFlow(double flow_m3s, double density)
{
    static_assert(Units[unt_kg_sec].factor == 1.0L && Units[unt_m3_sec].factor == 1.0L);
    return static_cast<double>(static_cast<Extended>(flow_m3s) * density);
}

std::string unitName(TUnit unit) { return data(unit).name; }
std::string unitPlainName(TUnit unit) { return data(unit).plainName; }
int unitDecimals(TUnit unit) { return data(unit).decimals; }
int unitEntryDigits(TUnit unit) { return data(unit).entryDigits; }

bool isFluidHeadUnit(TUnit unit)
{
    return inRange(unit, unt_m_hd_fluid, unt_in_hd_fluid) || inRange(unit, unt_m_hd_fluid_A, unt_in_hd_fluid_A);
}

bool isMassFlowUnit(TUnit unit) { return inRange(unit, unt_kg_sec, unt_lb_hour); }

bool isGasFlowUnit(TUnit unit) { return inRange(unit, unt_SCCM, unt_MMSCFD); }

bool isMetricUnit(TUnit unit)
{
    switch (unit) {
    case unt_m: case unt_mm: case unt_km: case unt_m2: case unt_mm2: case unt_m3: case unt_mm3:
    case unt_m_Sec: case unt_KW: case unt_kgs: case unt_kgs_per_m: case unt_degrees_C: case unt_degrees_K:
    case unt_m3_sec: case unt_m3_min: case unt_m3_hour: case unt_L_sec: case unt_L_min: case unt_L_hour:
    case unt_Bar_G: case unt_N_m2_G: case unt_Pa_G: case unt_kPa_G: case unt_m_H2O: case unt_mm_H2O:
    case unt_mm_Hg: case unt_m_hd_fluid: case unt_mm_hd_fluid: case unt_Atm: case unt_Bar_A: case unt_N_m2_A:
    case unt_Pa_A: case unt_kPa_A: case unt_m_H2O_A: case unt_mm_H2O_A: case unt_mm_Hg_A:
    case unt_m_hd_fluid_A: case unt_mm_hd_fluid_A: case unt_Litre: case unt_kg_m3: case unt_kg_sec:
    case unt_kg_min: case unt_kg_hour: case unt_kN_sec: case unt_kN_min: case unt_kN_hour: case unt_SCCM:
    case unt_SLM: case unt_SCMH: case unt_MMSCMH: case unt_MMSCMD:
        return true;
    default:
        return false;
    }
}

TUnit associatedAbsolutePressureUnit(TUnit unit)
{
    // The absolute units 60-70 follow the gauge units 44-54 in the same order.
    if (inRange(unit, unt_Bar_G, unt_in_Hg))
        return static_cast<TUnit>(unit + (unt_Bar_A - unt_Bar_G));
    if (inRange(unit, unt_Bar_A, unt_in_Hg_A))
        return unit;
    throw EConversionsClass("associatedAbsolutePressureUnit failed : association does not exist");
}

TUnit associatedFluidHeadUnitUnit(TUnit unit)
{
    switch (unit) {
    case unt_Psi_G: case unt_ft_H2O: case unt_in_H2O: case unt_in_Hg: case unt_ft_hd_fluid: case unt_in_hd_fluid:
    case unt_Psi_A: case unt_ft_H2O_A: case unt_in_H2O_A: case unt_in_Hg_A:
        return unt_ft_hd_fluid;
    default:
        break;
    }
    if (inRange(unit, unt_Bar_G, unt_in_hd_fluid) || inRange(unit, unt_Bar_A, unt_in_Hg_A))
        return unt_m_hd_fluid;
    throw EConversionsClass("associatedFluidHeadUnitUnit failed : association does not exist");
}

} // namespace tessaran
