#pragma once
// One node of a network: a joint where pipes meet and flow may be supplied
// or drawn, a tank with a liquid level and surface pressure, or an
// end-pressure node whose pressure is fixed. Holds the node's input, its
// place on the drawing, its notes and the two values the solver writes.

#include "platform/Graphics.h"
#include "units/Units.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessaran {

class TStream;
class TFluid;

// One byte in files.
enum TNodeType : std::uint8_t {
    Joint = 0,
    Tank = 1,
    EndPressure = 2,
    NotSet = 3,
};

class TNode {
public:
    static constexpr int NameLength = 20;
    static constexpr int NotesLength = 200;
    // Every field of the current version.
    static constexpr int RecordSize = (NameLength + 1) + 1 + 8 * 7 + 1 + 8 * 4 + 1 + 4 * 10 + 4 + (NotesLength + 1);
    static constexpr TColor DefaultLiquidColor = 0xFF8000;

    TNode() { Clear(); }

    // Resets everything but Name, Selected, OrigX and OrigY.
    void Clear();
    void SetType(TNodeType theNodeType) { NodeType = theNodeType; }
    void SetJointNodeData(double theElevation_m, double theJointSupply_m3s, double theJointDischarge_m3s);
    void SetSupplyNodeData(double theElevation_m) { Elevation_m = theElevation_m; }
    void SetDischargeNodeData(double theElevation_m) { Elevation_m = theElevation_m; }

    // Derives the two other forms of both demands from the form the user
    // entered (JointDemandUseFlowType).
    void SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        const TFluid &theFluid, double atmosphere_bar_a,
        TGasFlowTemperaturePressureModel gasFlowTemperaturePressureModel);

    double getHGL_bar_g(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const;
    double getSurfacePressureAtNode_mHd_Fluid(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const;
    double getSurfacePlusLiquidPressure_mHd_Fluid(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const;
    double getSurfacePlusLiquidPressure_bar_g(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const;

    // The demand as kg/s; 0 for any node but a joint.
    double GetJointSupply_kgs(const TFluid &theFluid, double systemAtmosphere_bar_a,
                              TGasFlowTemperaturePressureModel gasFlowTemperaturePressureModel) const;
    double GetJointDischarge_kgs(const TFluid &theFluid, double systemAtmosphere_bar_a,
                                 TGasFlowTemperaturePressureModel gasFlowTemperaturePressureModel) const;

    void Copy(const TNode &theNode) { *this = theNode; }

    // The node record of the network file. Save writes exactly what Load
    // reads for the same version. Load clears the node first and, on a
    // damaged record, raises the stream's error and leaves it cleared.
    void Save(TStream &theFileStream, const std::string &fileVersion) const;
    void Load(TStream &theFileStream, const std::string &fileVersion);

    // Diagnostic lines describing the node's input and result.
    std::vector<std::string> PrintData() const;

    std::string Name;
    TNodeType NodeType;
    double NodeScale;
    double Elevation_m;
    double Surface_Pressure_Bar_g;
    double LiquidLevel_m;
    double Pressure_Bar_g;
    bool IsPressureSet;
    double JointSupply_m3s;
    double JointDischarge_m3s;
    double JointSupply_kgs;
    double JointDischarge_kgs;
    double JointSupply_SCMH;
    double JointDischarge_SCMH;
    TFlowType JointDemandUseFlowType;
    std::int32_t x, y;
    std::int32_t z;
    std::int32_t labelRelativex, labelRelativey;
    std::int32_t JointSupplyRelativeX, JointSupplyRelativeY;
    std::int32_t JointDischargeRelativeX, JointDischargeRelativeY;
    std::int32_t NodeImageIndex;
    TColor LiquidColor;
    std::vector<std::string> Notes;
    bool Selected = false;
    std::int32_t OrigX = 0, OrigY = 0;
};

} // namespace tessaran
