#pragma once
// Units of measure: the unit enumeration stored in every file, the conversion
// of values between units and the gas standard-flow conversions. Every value
// is held in an SI-based unit and converted only for entry and display.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tessaran {

// One byte in network, pump and component files: the ordinals are part of
// every file format and must never change.
enum TUnit : std::uint8_t {
    // Length, base unt_m
    unt_m = 0,
    unt_mm = 1,
    unt_ft = 2,
    unt_inch = 3,
    unt_km = 4,
    unt_mile = 5,
    // Area, base unt_m2
    unt_m2 = 6,
    unt_mm2 = 7,
    unt_ft2 = 8,
    unt_in2 = 9,
    // Volume, base unt_m3 (with 75-78)
    unt_m3 = 10,
    unt_mm3 = 11,
    unt_ft3 = 12,
    unt_in3 = 13,
    // Velocity, base unt_m_Sec
    unt_m_Sec = 14,
    unt_ft_Sec = 15,
    // Power, base unt_KW
    unt_KW = 16,
    unt_HP = 17,
    // Mass, base unt_kgs
    unt_lbs = 18,
    unt_kgs = 19,
    // Mass per length, base unt_kgs_per_m
    unt_lbs_per_ft = 20,
    unt_kgs_per_m = 21,
    // Temperature, base unt_degrees_C
    unt_degrees_C = 22,
    unt_degrees_F = 23,
    unt_degrees_K = 24,
    // Volume flow, base unt_m3_sec
    unt_m3_sec = 25,
    unt_m3_min = 26,
    unt_m3_hour = 27,
    unt_L_sec = 28,
    unt_L_min = 29,
    unt_L_hour = 30,
    unt_ft3_sec = 31,
    unt_ft3_min = 32,
    unt_ft3_hour = 33,
    unt_inch3_sec = 34,
    unt_inch3_min = 35,
    unt_inch3_hour = 36,
    unt_gpm_UK = 37,
    unt_gpm_USA = 38,
    unt_MGD_UK = 39,
    unt_MGD_USA = 40,
    unt_Barrels_Oil_min = 41,
    unt_Barrels_Oil_hour = 42,
    unt_Barrels_Oil_day = 43,
    // Gauge pressure and liquid columns, base unt_Bar_G
    unt_Bar_G = 44,
    unt_Psi_G = 45,
    unt_N_m2_G = 46,
    unt_Pa_G = 47,
    unt_kPa_G = 48,
    unt_m_H2O = 49,
    unt_mm_H2O = 50,
    unt_ft_H2O = 51,
    unt_in_H2O = 52,
    unt_mm_Hg = 53,
    unt_in_Hg = 54,
    // Fluid head (gauge): needs the fluid density
    unt_m_hd_fluid = 55,
    unt_mm_hd_fluid = 56,
    unt_ft_hd_fluid = 57,
    unt_in_hd_fluid = 58,
    // Atmospheres and absolute pressure: need the atmospheric pressure
    unt_Atm = 59,
    unt_Bar_A = 60,
    unt_Psi_A = 61,
    unt_N_m2_A = 62,
    unt_Pa_A = 63,
    unt_kPa_A = 64,
    unt_m_H2O_A = 65,
    unt_mm_H2O_A = 66,
    unt_ft_H2O_A = 67,
    unt_in_H2O_A = 68,
    unt_mm_Hg_A = 69,
    unt_in_Hg_A = 70,
    // Absolute fluid head: needs density and atmosphere
    unt_m_hd_fluid_A = 71,
    unt_mm_hd_fluid_A = 72,
    unt_ft_hd_fluid_A = 73,
    unt_in_hd_fluid_A = 74,
    // Liquid volumes (volume group)
    unt_Litre = 75,
    unt_gallon_UK = 76,
    unt_gallon_USA = 77,
    unt_Barrel_Oil = 78,
    // Density, base unt_kg_m3
    unt_kg_m3 = 79,
    unt_lb_ft3 = 80,
    // Mass and weight flow, base unt_kg_sec
    unt_kg_sec = 81,
    unt_kg_min = 82,
    unt_kg_hour = 83,
    unt_kN_sec = 84,
    unt_kN_min = 85,
    unt_kN_hour = 86,
    unt_lb_sec = 87,
    unt_lb_min = 88,
    unt_lb_hour = 89,
    // Gas standard flow, through SCMH and the standard conditions
    unt_SCCM = 90,
    unt_SLM = 91,
    unt_SCMH = 92,
    unt_MMSCMH = 93,
    unt_MMSCMD = 94,
    unt_SCFM = 95,
    unt_SCFH = 96,
    unt_SCFD = 97,
    unt_MMSCFH = 98,
    unt_MMSCFD = 99,
};

inline constexpr int TUnitCount = 100;
inline constexpr TUnit TUnitFirst = unt_m;
inline constexpr TUnit TUnitLast = unt_MMSCFD;

// True when an ordinal read from a file names a unit.
constexpr bool IsValidUnitOrdinal(int ordinal) { return ordinal >= 0 && ordinal < TUnitCount; }

// How a flow value was given. One byte, ordinals stored.
enum TFlowType : std::uint8_t {
    VolumeFlow = 0,
    MassFlow = 1,
    GasFlow = 2,
};

// One byte, ordinals stored.
enum TPressureReference : std::uint8_t {
    PressureAbsolute = 0,
    PressureGage = 1,
};

// Standard conditions of a gas standard flow. One byte, ordinals stored.
enum TGasFlowTemperaturePressureModel : std::uint8_t {
    std_0degC_100000Pa = 0,
    std_0degC_101325Pa = 1,
    std_15degC_101325Pa = 2,
    std_20degC_101325Pa = 3,
    std_25degC_101325Pa = 4,
    std_60degF_14pt696Psi = 5,
    std_68degF_14pt696Psi = 6,
};

inline constexpr int TGasFlowTemperaturePressureModelCount = 7;

// Raised by every conversion that cannot be made; a failed conversion
// changes nothing.
class EConversionsClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --- Conversions -------------------------------------------------------------
// Pressures are in bar (gauge unless named absolute), densities in kg/m3,
// temperatures in K.

// The value in the base unit of the unit's group (units 0-54 and 75-89).
double toBaseUnit(TUnit unit, double value);

// Between two units of one simple group (length, area, volume, velocity,
// power, mass, mass per length, temperature, volume flow, gauge pressure and
// liquid columns, density, mass flow).
double convertUnit(TUnit sourceUnit, TUnit targetUnit, double value);

// Between any two volume-flow, mass-flow and gas standard-flow units, always
// through kg/s.
double convertFlowUnit(TUnit sourceUnit, TUnit targetUnit, TGasFlowTemperaturePressureModel model,
                       double value, double density, double gaugePressure_Bar, double temperature_K,
                       double atmosphericPressure_Bar);

// Gas standard flow (SCMH) to mass flow (kg/s) and back, for a gas whose
// density is known at the actual gauge pressure and temperature.
double SCMH_To_kgsec(TGasFlowTemperaturePressureModel model, double flow_SCMH, double density,
                     double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar);
double kgsec_To_SCMH(TGasFlowTemperaturePressureModel model, double massFlow_kgsec, double density,
                     double gaugePressure_Bar, double temperature_K, double atmosphericPressure_Bar);

// Standard temperature (K) and pressure (Pa) of a model.
void gasStandardConditions(TGasFlowTemperaturePressureModel model, double &temperature_K,
                           double &pressure_Pa);

// Between the gauge-pressure, liquid-column and fluid-head units (44-58).
double convertHeadPressureUnit(TUnit sourceUnit, TUnit targetUnit, double value, double density);
// Between the gauge-pressure and liquid-column units and the atmosphere and
// absolute units (44-70 without the fluid heads).
double convertAbsolutePressureUnit(TUnit sourceUnit, TUnit targetUnit, double value,
                                   double atmosphericPressure_Bar);
// Between any two pressure units (44-74).
double convertPressureUnit(TUnit sourceUnit, TUnit targetUnit, double value,
                           double atmosphericPressure_Bar, double density);
// The entry most callers use; forwards to convertPressureUnit.
double convertPressure(TUnit sourceUnit, TUnit targetUnit, double value,
                       double atmosphericPressure_Bar, double density);

// The conversions a calculation makes for every pipe on every pass, without
// the unit tables; each gives exactly the double its general form gives.
// Metres of fluid to bar, as convertPressure (unt_m_hd_fluid to unt_Bar_G).
double fluidHeadToBar(double head_mHd, double density);
// kg/s to m³/s, as convertFlowUnit (unt_kg_sec to unt_m3_sec): 0 for a
// fluid without density.
double massFlowToVolumeFlow(double massFlow_kgs, double density);
// m³/s to kg/s, as convertFlowUnit (unt_m3_sec to unt_kg_sec).
double volumeFlowToMassFlow(double flow_m3s, double density);

// --- Per-unit data -----------------------------------------------------------

// Display name, with the gauge or absolute suffix ("bar.g", "psi.a").
std::string unitName(TUnit unit);
// Name without the suffix ("bar", "psi").
std::string unitPlainName(TUnit unit);
// Default number of display decimals.
int unitDecimals(TUnit unit);
// Largest number of characters before the decimal separator the numeric
// entry accepts for a value in this unit.
int unitEntryDigits(TUnit unit);

bool isFluidHeadUnit(TUnit unit);
bool isMassFlowUnit(TUnit unit);
bool isGasFlowUnit(TUnit unit);
bool isMetricUnit(TUnit unit);

// The absolute twin of a gauge pressure or liquid-column unit; an absolute
// unit answers itself.
TUnit associatedAbsolutePressureUnit(TUnit unit);
// The fluid-head unit of a pressure unit's system (feet or metres).
TUnit associatedFluidHeadUnitUnit(TUnit unit);

} // namespace tessaran
