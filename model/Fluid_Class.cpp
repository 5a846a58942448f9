#include "model/Fluid_Class.h"

#include "platform/Pascal.h"
#include "platform/Stream.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

namespace tessaran {
namespace {

// Absolute-to-absolute conversions do not use the atmosphere.
constexpr double AnyAtmosphere_bar_a = 1.01325;

std::string VapourPressureCell(double value)
{
    return value <= 0.001 ? std::string("N/A") : formatFixed(6, value);
}

} // namespace

void TFluid::SetToWater()
{
    name = "Water";
    chemicalFormula = "H2O";
    degrees_K = convertUnit(unt_degrees_C, unt_degrees_K, 20.0);
    pressure_bar_g = 0.0;
    centistokes = 1.0;
    centipoise = 1.002;
    density_kgs_m3 = 998.0;
    vapourPressure_bar_a = 0.024;
    specificHeatRatio = 0.0;
    FluidIsGas = false;
    compressedFlowFactor = 1.0;
}

void TFluid::SetToAir()
{
    name = "Air";
    chemicalFormula = "N/A";
    degrees_K = convertUnit(unt_degrees_C, unt_degrees_K, 20.0);
    pressure_bar_g = 0.0;
    density_kgs_m3 = 1.204;
    centipoise = 0.018;
    centistokes = 0.018 / 1.204 * 1000.0;
    vapourPressure_bar_a = 0.0;
    specificHeatRatio = 1.401968;
    FluidIsGas = true;
    compressedFlowFactor = 1.0;
}

std::vector<std::string> TFluid::DisplayOnStringGrid_Imperial(int theFluid_ID) const
{
    return {name,
            chemicalFormula,
            formatFixed(3, convertUnit(unt_degrees_K, unt_degrees_F, degrees_K)),
            formatFixed(6, convertUnit(unt_Bar_G, unt_Psi_G, pressure_bar_g)),
            formatFixed(6, convertUnit(unt_kg_m3, unt_lb_ft3, density_kgs_m3)),
            formatFixed(6, centipoise),
            FluidIsGas ? formatFixed(6, specificHeatRatio)
                       : VapourPressureCell(convertAbsolutePressureUnit(unt_Bar_A, unt_Psi_A, vapourPressure_bar_a,
                                                                        AnyAtmosphere_bar_a)),
            FluidIsGas ? "Gas" : "Liquid",
            std::to_string(theFluid_ID)};
}

std::vector<std::string> TFluid::DisplayOnStringGrid_Metric(int theFluid_ID) const
{
    return {name,
            chemicalFormula,
            formatFixed(3, convertUnit(unt_degrees_K, unt_degrees_C, degrees_K)),
            formatFixed(6, pressure_bar_g),
            formatFixed(6, density_kgs_m3),
            formatFixed(6, centipoise),
            FluidIsGas ? formatFixed(6, specificHeatRatio)
                       : VapourPressureCell(convertAbsolutePressureUnit(unt_Bar_A, unt_kPa_A, vapourPressure_bar_a,
                                                                        AnyAtmosphere_bar_a)),
            FluidIsGas ? "Gas" : "Liquid",
            std::to_string(theFluid_ID)};
}

void TFluid::Save(TStream &theFileStream) const
{
    theFileStream.WriteShortString(name, NameLength);
    theFileStream.WriteShortString(chemicalFormula, ChemicalFormulaLength);
    theFileStream.WriteDouble(degrees_K);
    theFileStream.WriteDouble(pressure_bar_g);
    theFileStream.WriteDouble(centistokes);
    theFileStream.WriteDouble(centipoise);
    theFileStream.WriteDouble(density_kgs_m3);
    theFileStream.WriteDouble(vapourPressure_bar_a);
    theFileStream.WriteDouble(specificHeatRatio);
    theFileStream.WriteBool(FluidIsGas);
    theFileStream.WriteDouble(compressedFlowFactor);
}

void TFluid::Load(TStream &theFileStream, const std::string &fileVersion)
{
    Clear();
    TFluid read;
    read.name = theFileStream.ReadShortString(NameLength);
    read.chemicalFormula = theFileStream.ReadShortString(ChemicalFormulaLength);
    read.degrees_K = theFileStream.ReadDouble();
    read.pressure_bar_g = theFileStream.ReadDouble();
    read.centistokes = theFileStream.ReadDouble();
    read.centipoise = theFileStream.ReadDouble();
    read.density_kgs_m3 = theFileStream.ReadDouble();
    read.vapourPressure_bar_a = theFileStream.ReadDouble();
    read.specificHeatRatio = VersionAtLeast(fileVersion, "7.02") ? theFileStream.ReadDouble() : 0.0;
    read.FluidIsGas = theFileStream.ReadBool();
    read.compressedFlowFactor = theFileStream.ReadDouble();
    *this = read;
}

} // namespace tessaran
