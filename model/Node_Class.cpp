#include "model/Node_Class.h"

#include "model/Fluid_Class.h"
#include "platform/Pascal.h"
#include "platform/Stream.h"
#include "platform/Text_Lines.h"

#include <charconv>

namespace tessaran {
namespace {



std::string GeneralFloat(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

double MetresOfFluidToBar(double head_m, double atmosphere_bar_a, double density)
{
    // A column of fluid gives gauge bar alone: the atmosphere plays no part.
    static_cast<void>(atmosphere_bar_a);
    return fluidHeadToBar(head_m, density);
}

double BarToMetresOfFluid(double pressure_bar_g, double atmosphere_bar_a, double density)
{
    return convertPressure(unt_Bar_G, unt_m_hd_fluid, pressure_bar_g, atmosphere_bar_a, density);
}

} // namespace

void TNode::Clear()
{
    NodeType = NotSet;
    NodeScale = 1.0;
    JointSupply_m3s = 0;
    JointDischarge_m3s = 0;
    JointSupply_kgs = 0;
    JointDischarge_kgs = 0;
    // Recomputed from the master form before every calculation; zeroed so a
    // reused node never carries another node's standard flows.
    JointSupply_SCMH = 0;
    JointDischarge_SCMH = 0;
    JointDemandUseFlowType = VolumeFlow;
    Elevation_m = 0;
    Surface_Pressure_Bar_g = 0;
    LiquidLevel_m = 0;
    Pressure_Bar_g = 0;
    IsPressureSet = false;
    x = y = z = 0;
    labelRelativex = labelRelativey = 0;
    JointSupplyRelativeX = 12;
    JointSupplyRelativeY = -28;
    JointDischargeRelativeX = 12;
    JointDischargeRelativeY = 28;
    NodeImageIndex = 0;
    LiquidColor = DefaultLiquidColor;
    Notes.clear();
}

void TNode::SetJointNodeData(double theElevation_m, double theJointSupply_m3s, double theJointDischarge_m3s)
{
    Elevation_m = theElevation_m;
    JointSupply_m3s = theJointSupply_m3s;
    JointDischarge_m3s = theJointDischarge_m3s;
}

void TNode::SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(const TFluid &theFluid,
                                                                        double atmosphere_bar_a,
                                                                        TGasFlowTemperaturePressureModel model)
{
    auto convert = [&](TUnit from, TUnit to, double value) {
        return convertFlowUnit(from, to, model, value, theFluid.density_kgs_m3, theFluid.pressure_bar_g,
                               theFluid.degrees_K, atmosphere_bar_a);
    };
    auto derive = [&](double &m3s, double &kgs, double &scmh) {
        switch (JointDemandUseFlowType) {
        case VolumeFlow:
            kgs = convert(unt_m3_sec, unt_kg_sec, m3s);
            scmh = convert(unt_m3_sec, unt_SCMH, m3s);
            break;
        case MassFlow:
            m3s = convert(unt_kg_sec, unt_m3_sec, kgs);
            scmh = convert(unt_kg_sec, unt_SCMH, kgs);
            break;
        case GasFlow:
            m3s = convert(unt_SCMH, unt_m3_sec, scmh);
            kgs = convert(unt_SCMH, unt_kg_sec, scmh);
            break;
        }
    };
    derive(JointSupply_m3s, JointSupply_kgs, JointSupply_SCMH);
    derive(JointDischarge_m3s, JointDischarge_kgs, JointDischarge_SCMH);
}

double TNode::getHGL_bar_g(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const
{
    return MetresOfFluidToBar(Elevation_m, theAtmosphere_bar_a, theFluidDensity_kgs_m3) +
           MetresOfFluidToBar(LiquidLevel_m, theAtmosphere_bar_a, theFluidDensity_kgs_m3) + Surface_Pressure_Bar_g;
}

double TNode::getSurfacePressureAtNode_mHd_Fluid(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const
{
    return BarToMetresOfFluid(Surface_Pressure_Bar_g, theAtmosphere_bar_a, theFluidDensity_kgs_m3);
}

double TNode::getSurfacePlusLiquidPressure_mHd_Fluid(double theAtmosphere_bar_a,
                                                     double theFluidDensity_kgs_m3) const
{
    return getSurfacePressureAtNode_mHd_Fluid(theAtmosphere_bar_a, theFluidDensity_kgs_m3) + LiquidLevel_m;
}

double TNode::getSurfacePlusLiquidPressure_bar_g(double theAtmosphere_bar_a, double theFluidDensity_kgs_m3) const
{
    return MetresOfFluidToBar(getSurfacePlusLiquidPressure_mHd_Fluid(theAtmosphere_bar_a, theFluidDensity_kgs_m3),
                              theAtmosphere_bar_a, theFluidDensity_kgs_m3);
}

namespace {

double JointMassFlow(const TNode &node, double m3s, double kgs, double scmh, const TFluid &fluid,
                     double atmosphere_bar_a, TGasFlowTemperaturePressureModel model)
{
    if (node.NodeType != Joint)
        return 0;
    switch (node.JointDemandUseFlowType) {
    case MassFlow:
        return kgs;
    case GasFlow:
        return convertFlowUnit(unt_SCMH, unt_kg_sec, model, scmh, fluid.density_kgs_m3, fluid.pressure_bar_g,
                               fluid.degrees_K, atmosphere_bar_a);
    case VolumeFlow:
        break;
    }
    // Volume to mass needs the density alone; the standard conditions are
    // passed only to complete the call.
    return convertFlowUnit(unt_m3_sec, unt_kg_sec, std_15degC_101325Pa, m3s, fluid.density_kgs_m3, 0.0, 288.15,
                           1.01325);
}

} // namespace

double TNode::GetJointSupply_kgs(const TFluid &theFluid, double systemAtmosphere_bar_a,
                                 TGasFlowTemperaturePressureModel model) const
{
    return JointMassFlow(*this, JointSupply_m3s, JointSupply_kgs, JointSupply_SCMH, theFluid, systemAtmosphere_bar_a,
                         model);
}

double TNode::GetJointDischarge_kgs(const TFluid &theFluid, double systemAtmosphere_bar_a,
                                    TGasFlowTemperaturePressureModel model) const
{
    return JointMassFlow(*this, JointDischarge_m3s, JointDischarge_kgs, JointDischarge_SCMH, theFluid,
                         systemAtmosphere_bar_a, model);
}

void TNode::Save(TStream &s, const std::string &fileVersion) const
{
    s.WriteShortString(Name, NameLength);
    s.WriteEnum(NodeType);
    if (VersionAtLeast(fileVersion, "5.50"))
        s.WriteDouble(NodeScale);
    s.WriteDouble(JointSupply_m3s);
    s.WriteDouble(JointDischarge_m3s);
    if (VersionAtLeast(fileVersion, "2.063")) {
        s.WriteDouble(JointSupply_kgs);
        s.WriteDouble(JointDischarge_kgs);
        if (VersionAtLeast(fileVersion, "6.44")) {
            s.WriteDouble(JointSupply_SCMH);
            s.WriteDouble(JointDischarge_SCMH);
        }
        // Older files hold a mass-flow flag in this byte.
        if (VersionBelow(fileVersion, "6.43"))
            s.WriteBool(JointDemandUseFlowType == MassFlow);
        else
            s.WriteEnum(JointDemandUseFlowType);
    }
    s.WriteDouble(Elevation_m);
    s.WriteDouble(Surface_Pressure_Bar_g);
    s.WriteDouble(LiquidLevel_m);
    s.WriteDouble(Pressure_Bar_g);
    s.WriteBool(IsPressureSet);
    for (std::int32_t value : {x, y, z, labelRelativex, labelRelativey, JointSupplyRelativeX, JointSupplyRelativeY,
                               JointDischargeRelativeX, JointDischargeRelativeY, NodeImageIndex, LiquidColor})
        s.WriteInt32(value);
    s.WriteShortString(JoinLines(Notes), NotesLength);
}

void TNode::Load(TStream &s, const std::string &fileVersion)
{
    Clear();
    TNode read(*this);
    try {
        read.Name = s.ReadShortString(NameLength);
        read.NodeType = s.ReadEnum<TNodeType>(NotSet);
        if (VersionAtLeast(fileVersion, "5.50"))
            read.NodeScale = s.ReadDouble();
        read.JointSupply_m3s = s.ReadDouble();
        read.JointDischarge_m3s = s.ReadDouble();
        if (VersionAtLeast(fileVersion, "2.063")) {
            read.JointSupply_kgs = s.ReadDouble();
            read.JointDischarge_kgs = s.ReadDouble();
            if (VersionAtLeast(fileVersion, "6.44")) {
                read.JointSupply_SCMH = s.ReadDouble();
                read.JointDischarge_SCMH = s.ReadDouble();
            }
            if (VersionBelow(fileVersion, "6.43")) {
                read.JointDemandUseFlowType = s.ReadByte() == 1 ? MassFlow : VolumeFlow;
            } else if (fileVersion == "6.43") {
                // Files of that version hold mass-flow demands whatever the byte says.
                s.ReadByte();
                read.JointDemandUseFlowType = MassFlow;
            } else {
                read.JointDemandUseFlowType = s.ReadEnum<TFlowType>(GasFlow);
            }
        }
        read.Elevation_m = s.ReadDouble();
        read.Surface_Pressure_Bar_g = s.ReadDouble();
        read.LiquidLevel_m = s.ReadDouble();
        read.Pressure_Bar_g = s.ReadDouble();
        read.IsPressureSet = s.ReadBool();
        for (std::int32_t *field :
             {&read.x, &read.y, &read.z, &read.labelRelativex, &read.labelRelativey, &read.JointSupplyRelativeX,
              &read.JointSupplyRelativeY, &read.JointDischargeRelativeX, &read.JointDischargeRelativeY,
              &read.NodeImageIndex})
            *field = s.ReadInt32();
        // Tank symbols were renumbered after 7.06.
        if (fileVersion <= "7.06" && read.NodeType == Tank && read.NodeImageIndex > 9)
            read.NodeImageIndex %= 10;
        read.LiquidColor = s.ReadInt32();
        read.Notes = SplitLines(s.ReadShortString(NotesLength), TTrailingBreak::IsDropped);
    } catch (...) {
        Name.clear();
        throw;
    }
    *this = read;
}

std::vector<std::string> TNode::PrintData() const
{
    const char *typeText = "NotSet";
    switch (NodeType) {
    case Joint: typeText = "Join Point"; break;
    case Tank: typeText = "Tank"; break;
    case EndPressure: typeText = "Demand Pressure"; break;
    case NotSet: break;
    }
    return {std::string("NodeType=") + typeText + ", Elevation_m=" + GeneralFloat(Elevation_m) +
                ", Surface_Pressure_Bar_g=" + GeneralFloat(Surface_Pressure_Bar_g) +
                ", LiquidLevel_m=" + GeneralFloat(LiquidLevel_m) + ", JointSupply_m3s=" + GeneralFloat(JointSupply_m3s) +
                ", JointDischarge_m3s=" + GeneralFloat(JointDischarge_m3s),
            "Pressure_Bar_g=" + GeneralFloat(Pressure_Bar_g),
            IsPressureSet ? "IsPressureSet=True" : "IsPressureSet=False"};
}

} // namespace tessaran
