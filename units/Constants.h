#pragma once
// Physical constants of the hydraulic and gas formulas.

namespace tessaran {

inline constexpr double Gravity_ms2 = 9.80665;
inline constexpr double TwoGravity_ms2 = 19.6133;
inline constexpr long double PiExtended = 3.141592653589793238462643383279502884L;
inline constexpr double KW_Per_HP = 0.7456999;
// Density of water in the valve and sprinkler coefficient relations.
inline constexpr double WaterDensityForValveCoefficients_kg_m3 = 998.0;
inline constexpr double UniversalGasConstant_J_kmolK = 8314.4621;
// Air at 288.15 K and 1.01325 bar absolute, the reference of specific gravity.
inline constexpr double AirDensity_kg_m3 = 1.225;
inline constexpr double AirReferenceTemperature_K = 288.15;
inline constexpr double AirReferencePressure_Bar_a = 1.01325;
inline constexpr double SecondsPerDay = 86400.0;

} // namespace tessaran
