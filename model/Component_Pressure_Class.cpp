#include "model/Component_Pressure_Class.h"

#include "platform/Pascal.h"
#include "platform/Stream.h"
#include "platform/TextFile.h"
#include "units/Calculations.h"
#include "units/Quadratic_Curves.h"
#include "units/Unit_Format.h"

#include <cmath>
#include <numbers>

namespace tessaran {
namespace {

constexpr double Gravity = 9.80665;
// Gauge head and pressure conversions do not use the atmosphere.
constexpr double AnyAtmosphere_bar_a = 1.01325;
// Records before "4.06" hold the fixed loss in bar, taken as water.
constexpr double OldFileWaterDensity = 998.0;

double WaterToFluidHead(double head_mH2O, double density)
{
    return convertHeadPressureUnit(unt_m_H2O, unt_m_hd_fluid, head_mH2O, density);
}

double FluidToWaterHead(double head_mHd, double density)
{
    return convertHeadPressureUnit(unt_m_hd_fluid, unt_m_H2O, head_mHd, density);
}

double FluidHeadToBar(double head_mHd, double density)
{
    return convertHeadPressureUnit(unt_m_hd_fluid, unt_Bar_G, head_mHd, density);
}

} // namespace

TComponentPressureCurvePoint &TComponentPressureCurvePoints::Point(int number)
{
    if (number < 1 || number > MaxPoints)
        throw EComponentPressureClass("TComponentPressure: curve point " + std::to_string(number) +
                                      " outside 1..8");
    return Points[number];
}

const TComponentPressureCurvePoint &TComponentPressureCurvePoints::Point(int number) const
{
    return const_cast<TComponentPressureCurvePoints *>(this)->Point(number);
}

void TComponentPressure::Clear()
{
    Name.clear();
    ImageIndex = 0;
    PressureType = ComponentPressureFixed;
    Cv = 0;
    Kv = 0;
    SprinklerKimperial = 0;
    SprinklerKmetric = 0;
    FixedPressureLoss_mHd = 0;
    SetPressureLoss_Stored_mH2O = false;
    CurvePoints.UseMassFlow = false;
    CurvePoints.FlowDisplayUnit = unt_m3_sec;
    CurvePoints.LossDisplayUnit = unt_m_hd_fluid;
    ClearComponentPressureCurve();
    CheckCompressibleChokedFlow = true;
}

void TComponentPressure::CopyComponentPressure(const TComponentPressure &other)
{
    std::string marker = ComponentFileVersionMarker;
    std::string version = ComponentFileVersionString;
    *this = other;
    ComponentFileVersionMarker = marker;
    ComponentFileVersionString = version;
}

std::string TComponentPressure::getComponentTypeString() const
{
    switch (PressureType) {
    case ComponentPressureFixed:
        return "Fixed Loss " + unitPlainName(CurvePoints.LossDisplayUnit);
    case ComponentPressureCurve:
        return "Curve Loss";
    case ComponentPressureCv:
        return "Cv";
    case ComponentPressureKv:
        return "Kv";
    case ComponentPressureSprinklerKimperial:
        return "Sprinkler K imperial";
    case ComponentPressureSprinklerKmetric:
        return "Sprinkler K metric";
    }
    return {};
}

std::string TComponentPressure::getComponentValueString(TUnit theUnitOfPressureLoss, double theAtmosphere_Bar_a,
                                                        double theFluidDensity_kgs_m3) const
{
    switch (PressureType) {
    case ComponentPressureFixed:
        return formatFixed(4, convertPressure(SetPressureLoss_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid,
                                              theUnitOfPressureLoss, FixedPressureLoss_mHd, theAtmosphere_Bar_a,
                                              theFluidDensity_kgs_m3));
    case ComponentPressureCurve:
        return "From Curve";
    case ComponentPressureCv:
        return formatFixed(4, Cv);
    case ComponentPressureKv:
        return formatFixed(4, Kv);
    case ComponentPressureSprinklerKimperial:
        return formatFixed(4, SprinklerKimperial);
    case ComponentPressureSprinklerKmetric:
        return formatFixed(4, SprinklerKmetric);
    }
    return {};
}

double TComponentPressure::CoefficientK(double pipeDiameter_m) const
{
    switch (PressureType) {
    case ComponentPressureKv:
        return calcKFromKv(Kv, pipeDiameter_m);
    case ComponentPressureCv:
        return calcKFromKv(0.86497767 * Cv, pipeDiameter_m);
    case ComponentPressureSprinklerKimperial:
        return calcKFromCv(SprinklerKimperial, pipeDiameter_m);
    case ComponentPressureSprinklerKmetric:
        return calcKFromSprinklerK(SprinklerKmetric, pipeDiameter_m);
    default:
        return 0;
    }
}

double TComponentPressure::PointLoss_mHd_Fluid(int k, double fluidDensity_kgs_m3) const
{
    double loss = CurvePoints.Point(k).Loss_mHd;
    return SetPressureLoss_Stored_mH2O ? WaterToFluidHead(loss, fluidDensity_kgs_m3) : loss;
}

// The segment (k, k+1) that serves a flow: the last one holding it; below
// the first point the first segment, above the last point the last one.
// Needs at least two points.
int TComponentPressure::CurveSegment(double absoluteFlow_m3s) const
{
    const int n = CurvePoints.PointsCount;
    int segment = 0;
    for (int k = 1; k <= n - 1; ++k)
        if (CurvePoints.Point(k).Flow_m3s <= absoluteFlow_m3s && absoluteFlow_m3s <= CurvePoints.Point(k + 1).Flow_m3s)
            segment = k;
    if (segment == 0)
        segment = absoluteFlow_m3s < CurvePoints.Point(1).Flow_m3s ? 1 : n - 1;
    return segment;
}

double TComponentPressure::calcLoss_mHd_Fluid(double flow_m3s, double fluidDensity_kgs_m3,
                                              double pipeDiameter_m) const
{
    const double absoluteFlow = std::fabs(flow_m3s);
    double loss = 0;
    switch (PressureType) {
    case ComponentPressureFixed:
        loss = SetPressureLoss_Stored_mH2O ? WaterToFluidHead(FixedPressureLoss_mHd, fluidDensity_kgs_m3)
                                           : FixedPressureLoss_mHd;
        break;
    case ComponentPressureCurve: {
        const int n = CurvePoints.PointsCount;
        if (n == 1) {
            loss = PointLoss_mHd_Fluid(1, fluidDensity_kgs_m3);
        } else if (n >= 2) {
            const int s = CurveSegment(absoluteFlow);
            const double q1 = CurvePoints.Point(s).Flow_m3s, q2 = CurvePoints.Point(s + 1).Flow_m3s;
            const double h1 = PointLoss_mHd_Fluid(s, fluidDensity_kgs_m3);
            const double h2 = PointLoss_mHd_Fluid(s + 1, fluidDensity_kgs_m3);
            if (q2 != q1)
                loss = h1 + (h2 - h1) / (q2 - q1) * (absoluteFlow - q1);
            else // two points at one flow make a step
                loss = absoluteFlow >= q1 ? h2 : h1;
        }
        break;
    }
    default: {
        const double k = CoefficientK(pipeDiameter_m);
        const double area = std::numbers::pi * (pipeDiameter_m / 2) * (pipeDiameter_m / 2);
        const double velocity = area != 0 ? flow_m3s / area : 0.0;
        loss = k * velocity * velocity / 19.6133;
        break;
    }
    }
    return flow_m3s < 0 ? -loss : loss;
}

double TComponentPressure::calcLoss_Bar(double flow_kgs, double fluidDensity_kgs_m3, double pipeDiameter_m) const
{
    if (fluidDensity_kgs_m3 == 0)
        return 0;
    return FluidHeadToBar(calcLoss_mHd_Fluid(flow_kgs / fluidDensity_kgs_m3, fluidDensity_kgs_m3, pipeDiameter_m),
                          fluidDensity_kgs_m3);
}

double TComponentPressure::calcLoss_Bar_DifferentialQkgs(double flow_kgs, double fluidDensity_kgs_m3,
                                                         double pipeDiameter_m) const
{
    const double rho = fluidDensity_kgs_m3;
    if (rho == 0)
        return 0;
    switch (PressureType) {
    case ComponentPressureFixed:
        return 0;
    case ComponentPressureCurve: {
        if (CurvePoints.PointsCount < 2)
            return 0;
        const int s = CurveSegment(std::fabs(flow_kgs) / rho);
        const double m1 = rho * CurvePoints.Point(s).Flow_m3s, m2 = rho * CurvePoints.Point(s + 1).Flow_m3s;
        if (m2 == m1)
            return 0;
        return (FluidHeadToBar(PointLoss_mHd_Fluid(s + 1, rho), rho) - FluidHeadToBar(PointLoss_mHd_Fluid(s, rho), rho)) /
               (m2 - m1);
    }
    default: {
        const double d = pipeDiameter_m;
        if (d <= 0)
            return 0;
        const double k = CoefficientK(d);
        const double pi = std::numbers::pi;
        const double dhdm = 16 * k * std::fabs(flow_kgs) / (Gravity * rho * rho * pi * pi * d * d * d * d);
        return FluidHeadToBar(dhdm, rho);
    }
    }
}

void TComponentPressure::ClearComponentPressureCurve()
{
    CurvePoints.PointsCount = 0;
    for (auto &point : CurvePoints.Points)
        point = TComponentPressureCurvePoint{};
}

void TComponentPressure::SetCurvePointsQm3sFromQkgs(double fluidDensity_kgs_m3)
{
    if (fluidDensity_kgs_m3 == 0)
        return;
    for (int k = 1; k <= CurvePoints.PointsCount; ++k)
        CurvePoints.Point(k).Flow_m3s = CurvePoints.Point(k).Flow_kgs / fluidDensity_kgs_m3;
}

void TComponentPressure::SetCurvePointsQkgsFromQm3s(double fluidDensity_kgs_m3)
{
    for (int k = 1; k <= CurvePoints.PointsCount; ++k)
        CurvePoints.Point(k).Flow_kgs = CurvePoints.Point(k).Flow_m3s * fluidDensity_kgs_m3;
}

void TComponentPressure::SetEquivalentFlowAndMassFlowRate(double theDensity_kgs_m3s)
{
    if (CurvePoints.UseMassFlow)
        SetCurvePointsQm3sFromQkgs(theDensity_kgs_m3s);
    else
        SetCurvePointsQkgsFromQm3s(theDensity_kgs_m3s);
}

void TComponentPressure::AddCurvePointFlowm3s(double flow_m3s, double loss_mHd, double fluidDensity_kgs_m3)
{
    if (CurvePoints.PointsCount >= TComponentPressureCurvePoints::MaxPoints)
        throw EComponentPressureClass("TComponentPressure.AddCurvePoint Failed: Max number of curve points reached.");
    ++CurvePoints.PointsCount;
    CurvePoints.Point(CurvePoints.PointsCount) = {flow_m3s, flow_m3s * fluidDensity_kgs_m3, loss_mHd};
}

void TComponentPressure::CreateQuadraticCurvePointsFromFirst3Points(double fluidDensity_kgs_m3)
{
    const auto &p = CurvePoints;
    const double x1 = p.Point(1).Flow_m3s, x3 = p.Point(3).Flow_m3s;
    TCurveCoefficents coeffs{};
    // Fit before emptying the curve, so a failed fit leaves the curve as it was.
    calcQuadraticPumpCoefficents(x1, p.Point(1).Loss_mHd, p.Point(2).Flow_m3s, p.Point(2).Loss_mHd, x3,
                                 p.Point(3).Loss_mHd, coeffs);
    const auto [c0, c1, c2] = coeffs;
    const double step = (x3 - x1) / 7;
    ClearComponentPressureCurve();
    CurvePoints.PointsCount = TComponentPressureCurvePoints::MaxPoints;
    for (int i = 1; i <= TComponentPressureCurvePoints::MaxPoints; ++i) {
        const double flow = x1 + (i - 1) * step;
        CurvePoints.Point(i) = {flow, flow * fluidDensity_kgs_m3, c0 + c1 * flow + c2 * flow * flow};
    }
}

void TComponentPressure::LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar(double fluidDensity_kgs_m3, double &a,
                                                                            double &b, double &c) const
{
    const int n = CurvePoints.PointsCount;
    if (n < 2)
        throw EComponentPressureClass(
            "TComponentPressure.LinearTheoryGetQuadraticCoeffForCurveFlowKgsAndBar Failed: Curve has fewer than two "
            "points.");
    auto bar = [&](int k) { return FluidHeadToBar(PointLoss_mHd_Fluid(k, fluidDensity_kgs_m3), fluidDensity_kgs_m3); };
    TCurveCoefficents coeffs{};
    calcQuadraticPumpCoefficents(CurvePoints.Point(1).Flow_kgs, bar(1), CurvePoints.Point(2).Flow_kgs, bar(2),
                                 CurvePoints.Point(n).Flow_kgs, bar(n), coeffs);
    // The fit gives the constant term first; the linear theory takes
    // loss = a·Q² + b·Q + c, as it does for pumps.
    a = coeffs[2];
    b = coeffs[1];
    c = coeffs[0];
}

void TComponentPressure::CheckIfCurveContainsNegativeValues(bool &containsNegativeValues) const
{
    containsNegativeValues = false;
    for (int k = 1; k <= CurvePoints.PointsCount; ++k) {
        const auto &point = CurvePoints.Point(k);
        if (point.Flow_m3s < 0 || point.Flow_kgs < 0 || point.Loss_mHd < 0)
            containsNegativeValues = true;
    }
}

void TComponentPressure::UpdateToStoredFluidHeadIfDisplaySetFluidHead(double fluidDensity_kgs_m3)
{
    const bool displayFluidHead = isFluidHeadUnit(CurvePoints.LossDisplayUnit);
    if (SetPressureLoss_Stored_mH2O && displayFluidHead) {
        FixedPressureLoss_mHd = WaterToFluidHead(FixedPressureLoss_mHd, fluidDensity_kgs_m3);
        for (int k = 1; k <= TComponentPressureCurvePoints::MaxPoints; ++k)
            CurvePoints.Point(k).Loss_mHd = WaterToFluidHead(CurvePoints.Point(k).Loss_mHd, fluidDensity_kgs_m3);
        SetPressureLoss_Stored_mH2O = false;
    } else if (!SetPressureLoss_Stored_mH2O && !displayFluidHead) {
        FixedPressureLoss_mHd = FluidToWaterHead(FixedPressureLoss_mHd, fluidDensity_kgs_m3);
        for (int k = 1; k <= TComponentPressureCurvePoints::MaxPoints; ++k)
            CurvePoints.Point(k).Loss_mHd = FluidToWaterHead(CurvePoints.Point(k).Loss_mHd, fluidDensity_kgs_m3);
        SetPressureLoss_Stored_mH2O = true;
    }
}

void TComponentPressure::Save(TStream &s, const std::string &fileVersion, bool saveFileVersion)
{
    ComponentFileVersionString = CutToShortString(fileVersion, ShortStringLength);
    const std::string &version = ComponentFileVersionString;
    if (saveFileVersion) {
        ComponentFileVersionMarker = std::string(FileVersionMarker);
        s.WriteShortString(ComponentFileVersionMarker, ShortStringLength);
        s.WriteShortString(ComponentFileVersionString, ShortStringLength);
    }
    s.WriteShortString(Name, ShortStringLength);
    s.WriteInt32(ImageIndex);
    s.WriteEnum(PressureType);
    if (VersionAtLeast(version, "5.10")) {
        s.WriteDouble(Cv);
        s.WriteDouble(Kv);
    }
    if (VersionAtLeast(version, "7.11")) {
        s.WriteDouble(SprinklerKimperial);
        s.WriteDouble(SprinklerKmetric);
    }
    if (VersionAtLeast(version, "7.12"))
        s.WriteBool(CheckCompressibleChokedFlow);
    const bool modern = VersionAtLeast(version, "4.06");
    if (modern) {
        s.WriteBool(SetPressureLoss_Stored_mH2O);
        s.WriteDouble(FixedPressureLoss_mHd);
    } else {
        // Older records hold the fixed loss in bar; their heads count as water.
        s.WriteDouble(convertPressure(unt_m_H2O, unt_Bar_G, FixedPressureLoss_mHd, AnyAtmosphere_bar_a,
                                      OldFileWaterDensity));
    }
    const bool massFlowColumn = (saveFileVersion && VersionAtLeast(version, "2.063")) || modern;
    if (massFlowColumn)
        s.WriteBool(CurvePoints.UseMassFlow);
    s.WriteEnum(CurvePoints.FlowDisplayUnit);
    s.WriteEnum(CurvePoints.LossDisplayUnit);
    s.WriteInt32(CurvePoints.PointsCount);
    for (int k = 1; k <= TComponentPressureCurvePoints::MaxPoints; ++k) {
        const auto &point = CurvePoints.Point(k);
        s.WriteDouble(point.Flow_m3s);
        if (massFlowColumn)
            s.WriteDouble(point.Flow_kgs);
        s.WriteDouble(point.Loss_mHd);
    }
}

void TComponentPressure::Load(TStream &s, const std::string &fileVersion, bool loadFileVersion)
{
    Clear();
    ComponentFileVersionString.clear();
    TComponentPressure read(*this);
    try {
        std::string version = fileVersion;
        if (loadFileVersion && VersionAtLeast(version, "4.06")) {
            read.ComponentFileVersionMarker = s.ReadShortString(ShortStringLength);
            if (read.ComponentFileVersionMarker == FileVersionMarker) {
                read.ComponentFileVersionString = s.ReadShortString(ShortStringLength);
                version = read.ComponentFileVersionString;
                read.Name = s.ReadShortString(ShortStringLength);
            } else {
                // A file written before the marker: those bytes were its name.
                read.Name = read.ComponentFileVersionMarker;
                read.ComponentFileVersionString = "0";
                version = "0";
            }
        } else {
            read.Name = s.ReadShortString(ShortStringLength);
        }
        read.ImageIndex = s.ReadInt32();
        read.PressureType = s.ReadEnum<TPressureType>(ComponentPressureSprinklerKmetric);
        if (VersionAtLeast(version, "5.10")) {
            read.Cv = s.ReadDouble();
            read.Kv = s.ReadDouble();
        }
        if (VersionAtLeast(version, "7.11")) {
            read.SprinklerKimperial = s.ReadDouble();
            read.SprinklerKmetric = s.ReadDouble();
        }
        read.CheckCompressibleChokedFlow = VersionAtLeast(version, "7.12") ? s.ReadBool() : true;
        const bool modern = VersionAtLeast(version, "4.06");
        read.SetPressureLoss_Stored_mH2O = modern ? s.ReadBool() : true;
        read.FixedPressureLoss_mHd = s.ReadDouble();
        if (!modern)
            read.FixedPressureLoss_mHd = convertPressure(unt_Bar_G, unt_m_H2O, read.FixedPressureLoss_mHd,
                                                         AnyAtmosphere_bar_a, OldFileWaterDensity);
        const bool massFlowColumn = (loadFileVersion && VersionAtLeast(version, "2.063")) || modern;
        read.CurvePoints.UseMassFlow = massFlowColumn ? s.ReadBool() : false;
        read.CurvePoints.FlowDisplayUnit = s.ReadEnum<TUnit>(TUnitLast);
        read.CurvePoints.LossDisplayUnit = s.ReadEnum<TUnit>(TUnitLast);
        const std::int32_t count = s.ReadInt32();
        if (count < 0 || count > TComponentPressureCurvePoints::MaxPoints)
            throw EStreamError("curve point count " + std::to_string(count) + " outside 0..8");
        read.CurvePoints.PointsCount = count;
        for (int k = 1; k <= TComponentPressureCurvePoints::MaxPoints; ++k) {
            auto &point = read.CurvePoints.Point(k);
            point.Flow_m3s = s.ReadDouble();
            point.Flow_kgs = massFlowColumn ? s.ReadDouble() : 0.0;
            point.Loss_mHd = s.ReadDouble();
        }
    } catch (const std::exception &e) {
        ComponentFileVersionMarker.clear();
        throw EComponentPressureClass(std::string("TComponentPressure.Load Failed: ") + e.what());
    }
    *this = read;
}

} // namespace tessaran
