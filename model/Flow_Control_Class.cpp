#include "model/Flow_Control_Class.h"

#include "model/Fluid_Class.h"
#include "platform/Pascal.h"
#include "platform/Stream.h"

namespace tessaran {

void TFlowControl::Clear()
{
    ControlType = FCV;
    ImageIndex = 0;
    Name.clear();
    UseAllowedDpRange = false;
    MinAllowedDp_Bar_g = 0;
    MaxAllowedDp_Bar_g = 0;
    FlowControlFlowType = VolumeFlow;
    FlowControl_m3s = 0;
    FlowControl_kgs = 0;
    FlowControl_SCMH = 0;
    FlowControlDisplayUnit = unt_m3_sec;
    RegulatedPressure_Bar_g = 0;
    CheckCompressibleChokedFlow = true;
}

void TFlowControl::SetEquivalentFlowAndMassFlowRate(const TFluid &theFluid, double theAtmosphere_bar_a,
                                                    TGasFlowTemperaturePressureModel model)
{
    auto convert = [&](TUnit from, TUnit to, double value) {
        return convertFlowUnit(from, to, model, value, theFluid.density_kgs_m3, theFluid.pressure_bar_g,
                               theFluid.degrees_K, theAtmosphere_bar_a);
    };
    switch (FlowControlFlowType) {
    case VolumeFlow:
        FlowControl_kgs = convert(unt_m3_sec, unt_kg_sec, FlowControl_m3s);
        FlowControl_SCMH = convert(unt_m3_sec, unt_SCMH, FlowControl_m3s);
        break;
    case MassFlow:
        FlowControl_m3s = convert(unt_kg_sec, unt_m3_sec, FlowControl_kgs);
        FlowControl_SCMH = convert(unt_kg_sec, unt_SCMH, FlowControl_kgs);
        break;
    case GasFlow:
        FlowControl_m3s = convert(unt_SCMH, unt_m3_sec, FlowControl_SCMH);
        FlowControl_kgs = convert(unt_SCMH, unt_kg_sec, FlowControl_SCMH);
        break;
    }
}

std::string TFlowControl::GetControlValveTypeString() const
{
    switch (ControlType) {
    case FCV:
        return "FCV";
    case PRV:
        return "PRV";
    case BPV:
        return "BPV";
    }
    return "NONE";
}

void TFlowControl::Save(TStream &s, const std::string &fileVersion) const
{
    s.WriteShortString(Name, NameLength);
    if (VersionBelow(fileVersion, "2.06")) {
        s.WriteDouble(FlowControl_m3s);
        return;
    }
    s.WriteEnum(ControlType);
    s.WriteInt32(ImageIndex);
    s.WriteBool(UseAllowedDpRange);
    s.WriteDouble(MinAllowedDp_Bar_g);
    s.WriteDouble(MaxAllowedDp_Bar_g);
    s.WriteDouble(FlowControl_m3s);
    if (VersionAtLeast(fileVersion, "2.063")) {
        if (VersionAtLeast(fileVersion, "7.14"))
            s.WriteEnum(FlowControlFlowType);
        else
            s.WriteBool(FlowControlFlowType == MassFlow);
        s.WriteDouble(FlowControl_kgs);
        if (VersionAtLeast(fileVersion, "7.14"))
            s.WriteDouble(FlowControl_SCMH);
        s.WriteEnum(FlowControlDisplayUnit);
    }
    s.WriteDouble(RegulatedPressure_Bar_g);
    if (VersionAtLeast(fileVersion, "7.13"))
        s.WriteBool(CheckCompressibleChokedFlow);
}

void TFlowControl::Load(TStream &s, const std::string &fileVersion)
{
    Clear();
    TFlowControl read;
    read.Name = s.ReadShortString(NameLength);
    if (VersionBelow(fileVersion, "2.06")) {
        read.FlowControl_m3s = s.ReadDouble();
        *this = read;
        return;
    }
    read.ControlType = s.ReadEnum<TControlType>(BPV);
    read.ImageIndex = s.ReadInt32();
    read.UseAllowedDpRange = s.ReadBool();
    read.MinAllowedDp_Bar_g = s.ReadDouble();
    read.MaxAllowedDp_Bar_g = s.ReadDouble();
    read.FlowControl_m3s = s.ReadDouble();
    if (VersionAtLeast(fileVersion, "2.063")) {
        if (VersionAtLeast(fileVersion, "7.14"))
            read.FlowControlFlowType = s.ReadEnum<TFlowType>(GasFlow);
        else
            read.FlowControlFlowType = s.ReadByte() == 1 ? MassFlow : VolumeFlow;
        read.FlowControl_kgs = s.ReadDouble();
        if (VersionAtLeast(fileVersion, "7.14"))
            read.FlowControl_SCMH = s.ReadDouble();
        read.FlowControlDisplayUnit = s.ReadEnum<TUnit>(TUnitLast);
    }
    read.RegulatedPressure_Bar_g = s.ReadDouble();
    if (VersionAtLeast(fileVersion, "7.13"))
        read.CheckCompressibleChokedFlow = s.ReadBool();
    *this = read;
}

} // namespace tessaran
