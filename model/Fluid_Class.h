#pragma once
// The properties of one fluid, a liquid or a gas at a reference temperature
// and pressure. Each fluid zone of a network holds one; the elements take it
// for their conversions and hydraulics.

#include <string>
#include <vector>

namespace tessaran {

class TStream;

class TFluid {
public:
    static constexpr int NameLength = 80;
    static constexpr int ChemicalFormulaLength = 30;
    // Two short strings, eight reals and the gas flag.
    static constexpr int RecordSize = (NameLength + 1) + (ChemicalFormulaLength + 1) + 8 * 8 + 1;
    // Files older than this carry no specific heat ratio.
    static constexpr int RecordSizeWithoutSpecificHeatRatio = RecordSize - 8;

    TFluid() { SetToWater(); }

    void SetToWater();
    void SetToAir();
    void Clear() { SetToWater(); }
    void CopyFluid(const TFluid &theFluid) { *this = theFluid; }

    double density_KgPerLitre() const { return density_kgs_m3 / 1000.0; }
    void SetDensity_KgPerLitre(double kgPerLitre) { density_kgs_m3 = kgPerLitre * 1000.0; }

    // The nine cells of a fluid grid row: name, formula, temperature,
    // pressure, density, viscosity, specific heat ratio or vapour pressure,
    // "Gas" or "Liquid", and the fluid id.
    std::vector<std::string> DisplayOnStringGrid_Imperial(int theFluid_ID) const;
    std::vector<std::string> DisplayOnStringGrid_Metric(int theFluid_ID) const;

    void Save(TStream &theFileStream) const;
    // Reads a record of the given version or raises the stream's error and
    // leaves water in place.
    void Load(TStream &theFileStream, const std::string &fileVersion);

    std::string name;
    std::string chemicalFormula;
    double degrees_K;
    double pressure_bar_g;
    double centistokes;
    double centipoise;
    double density_kgs_m3;
    double vapourPressure_bar_a;
    double specificHeatRatio;
    bool FluidIsGas;
    double compressedFlowFactor;
};

} // namespace tessaran
