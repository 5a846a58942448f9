// TPump: life cycle, copies, points, curve fitting and unit bookkeeping.

#include "model/Pump_Class.h"

#include "platform/Text_Lines.h"
#include "units/Calculations.h"
#include "units/Units.h"

#include <charconv>

namespace tessaran {

// --- shared conversions -------------------------------------------------------

// Pump flows travel between m³/s and kg/s at fixed standard conditions; only
// the density matters for these two kinds.
// Between volume and mass flow the gas model plays no part: the direct forms
// give exactly what the unit tables would, without looking them up.
double PumpFlow_m3s_to_kgs(double Flow_m3s, double FluidDensity_kgs_m3)
{
    return volumeFlowToMassFlow(Flow_m3s, FluidDensity_kgs_m3);
}

double PumpFlow_kgs_to_m3s(double Flow_kgs, double FluidDensity_kgs_m3)
{
    return massFlowToVolumeFlow(Flow_kgs, FluidDensity_kgs_m3);
}

double PumpHead_mH2O_to_mFluid(double Head_mH2O, double FluidDensity_kgs_m3)
{
    return convertHeadPressureUnit(unt_m_H2O, unt_m_hd_fluid, Head_mH2O, FluidDensity_kgs_m3);
}

double PumpHead_mFluid_to_mH2O(double Head_mHd, double FluidDensity_kgs_m3)
{
    return convertHeadPressureUnit(unt_m_hd_fluid, unt_m_H2O, Head_mHd, FluidDensity_kgs_m3);
}

double PumpHead_mFluid_to_Bar(double Head_mHd, double FluidDensity_kgs_m3)
{
    return convertPressure(unt_m_hd_fluid, unt_Bar_G, Head_mHd, 0.0, FluidDensity_kgs_m3);
}

// --- presets --------------------------------------------------------------------

const std::array<TPumpMultiplierPreset, 6> PumpHeadMultiplierPresets{{
    {"Standard Affinity Laws", 0, 0, 0, 0},
    {"Min to Max Range (+)", 0.1, 0.6, -0.1, -0.6},
    {"Min to Max Range (++)", 0.15, 0.8, -0.2, -0.8},
    {"Min to Max Range (+++)", 0.2, 1.0, -0.3, -1.0},
    {"Min to Max Range (++++)", 0.25, 1.5, -0.4, -1.5},
    {"Min to Max Range (+++++)", 0.3, 2.0, -0.5, -2.0},
}};

const std::array<TPumpMultiplierPreset, 10> PumpEfficiencyMultiplierPresets{{
    {"Standard Affinity Laws", 0, 0, 0, 0},
    {"O Shape 1", 0.1, 0.1, 0.15, 0.15},
    {"O Shape 2", 0.2, 0.2, 0.2, 0.2},
    {"O Shape 3", 0.3, 0.3, 0.3, 0.3},
    {"U Shape 1", -0.05, -0.05, 0.1, 0.1},
    {"U Shape 2", -0.1, -0.1, 0.2, 0.2},
    {"U Shape 3", -0.2, -0.2, 0.3, 0.3},
    {"V Shape 1", -0.08, -0.08, 0.06, 0.06},
    {"V Shape 2", -0.16, -0.16, 0.12, 0.12},
    {"V Shape 3", -0.24, -0.24, 0.18, 0.18},
}};

// --- life cycle -------------------------------------------------------------------

TPump::TPump() { Clear(); }

namespace {

void clearPointSet(TPumpPoints &points)
{
    points.FlowDisplayUnit = unt_ft3_sec;
    points.HeadDisplayUnit = unt_ft_hd_fluid;
    points.NPSHrDisplayUnit = unt_ft_hd_fluid;
    points.PowerDisplayUnit = unt_HP;
    points.SetHead_Stored_mH2O = false;
    points.SetNPSHr_Stored_mH2O = false;
    points.PointsCount = 0;
    points.Points.Fill(TPumpPoint{});
}

// The NPSHr unit that goes with a head display unit; `fallback` for a head
// unit without a partner.
TUnit npshrUnitForHeadUnit(TUnit headUnit, TUnit fallback)
{
    switch (headUnit) {
    case unt_Bar_G:
    case unt_kPa_G:
    case unt_mm_H2O:
    case unt_mm_Hg:
    case unt_m_hd_fluid:
        return unt_m_hd_fluid;
    case unt_Psi_G:
    case unt_in_H2O:
    case unt_in_Hg:
    case unt_ft_hd_fluid:
        return unt_ft_hd_fluid;
    case unt_mm_hd_fluid:
        return unt_mm_hd_fluid;
    case unt_in_hd_fluid:
        return unt_in_hd_fluid;
    default:
        return fallback;
    }
}

// A fixed head is held in m of fluid for a fluid-head display unit and in m of
// water otherwise; the water-column units are shown in their finer twins.
void bringFixedHeadToStorageForm(TPump &pump, double density)
{
    const bool wantsFluid = isFluidHeadUnit(pump.SetFixedHeadDisplayUnit);
    if (pump.SetFixedHead_Stored_mH2O && wantsFluid) {
        pump.SetFixedHead_FluidHead_m = PumpHead_mH2O_to_mFluid(pump.SetFixedHead_FluidHead_m, density);
        pump.SetFixedHead_Stored_mH2O = false;
    } else if (!pump.SetFixedHead_Stored_mH2O && !wantsFluid) {
        pump.SetFixedHead_FluidHead_m = PumpHead_mFluid_to_mH2O(pump.SetFixedHead_FluidHead_m, density);
        pump.SetFixedHead_Stored_mH2O = true;
    }
    if (pump.SetFixedHeadDisplayUnit == unt_m_H2O)
        pump.SetFixedHeadDisplayUnit = unt_mm_H2O;
    else if (pump.SetFixedHeadDisplayUnit == unt_ft_H2O)
        pump.SetFixedHeadDisplayUnit = unt_in_H2O;
}

} // namespace

void TPump::Clear()
{
    Name = "Pump";
    PumpType = PumpFixedSpeed;
    SetFlowRate_m3s = 0;
    SetFlowRate_kgs = 0;
    SetFlowRateDisplayUnit = unt_m3_sec;
    SetFixedHead_Stored_mH2O = false;
    SetFixedHead_FluidHead_m = 0;
    SetFixedHeadDisplayUnit = unt_m_hd_fluid;
    Speed_rpm = 0;
    PreferredOpRegionFromPercent = 0;
    PreferredOpRegionToPercent = 0;
    x = 0;
    y = 0;
    PumpImageIndex = 0;
    PumpColorIndex = 0;
    PumpScale = 1.0;
    BaseDataSpeed_rpm = 0;
    BaseDataImpellerDiameter_m = 0;
    clearPointSet(PumpPoints);
    clearPointSet(BaseDataPumpPoints);
    ClearPumpCurves();

    Notes.assign(1, " ");
    ImpellerDiameter_m = 0;
    ImpellerDiameterDisplayUnit = unt_mm;
    PumpCatalog.clear();
    PumpManufacturer.clear();
    PumpTypeKind.clear();
    PumpMotorRpm = 0;
    PumpSpeedMinRpm = 0;
    PumpSpeedMaxRpm = 0;
    PumpSize.clear();
    PumpImpellerDiameterMin_m = 0;
    PumpImpellerDiameterMax_m = 0;
    PumpStages = 0;
    PumpSpeedRpmGraph = Speed_rpm;
    PumpImpellerDiameterGraph_m = 0;
    FlowHeadCurveMaxImpellerMultipliers.Fill(0);
    FlowHeadCurveMinImpellerMultipliers.Fill(0);
    EfficiencyCurveMaxImpellerMultipliers.Fill(0);
    EfficiencyCurveMinImpellerMultipliers.Fill(0);
    EfficiencyMinImpellerPointMultipliers.Fill(1.0);
    EfficiencyMaxImpellerPointMultipliers.Fill(1.0);
    PumpNPSHStartMinDiamNpshPercentIncrease = 0;
    PumpNPSHEndMinDiamNpshPercentIncrease = 0;
    PumpNPSHStartMaxDiamNpshPercentIncrease = 0;
    PumpNPSHEndMaxDiamNpshPercentIncrease = 0;
    PumpGraphOptions = TPumpGraphOptions{};

    // The sheet's picture and digitised points survive a Clear; only its
    // switches and calibration are reset.
    ImportedPumpSheet.Imported = false;
    ImportedPumpSheet.SaveImportedBitmap = false;
    ImportedPumpSheet.PumpSheetOpacity = 0;
    ImportedPumpSheet.xAxisMinImageX = 0;
    ImportedPumpSheet.xAxisMinImageY = 0;
    ImportedPumpSheet.xAxisMaxImageX = 0;
    ImportedPumpSheet.xAxisMaxImageY = 0;
    ImportedPumpSheet.yAxisMinImageX = 0;
    ImportedPumpSheet.yAxisMinImageY = 0;
    ImportedPumpSheet.yAxisMaxImageX = 0;
    ImportedPumpSheet.yAxisMaxImageY = 0;
    ImportedPumpSheet.xMin = 0;
    ImportedPumpSheet.xMax = 0;
    ImportedPumpSheet.yMin = 0;
    ImportedPumpSheet.yMax = 0;
    ImportedPumpSheet.xUnits = unt_m3_sec;
    ImportedPumpSheet.yUnits = unt_m_hd_fluid;
    ImportedPumpSheet.PumpSpeed_rpm = 0;
    ImportedPumpSheet.PumpImpellerDiameter_m = 0;
}

void TPump::CopyPump(const TPump &ThePump)
{
    if (&ThePump == this)
        return;
    PumpFileVersionMarker = ThePump.PumpFileVersionMarker;
    PumpFileVersionString = ThePump.PumpFileVersionString;
    x = ThePump.x;
    y = ThePump.y;
    PumpImageIndex = ThePump.PumpImageIndex;
    PumpColorIndex = ThePump.PumpColorIndex;
    PumpScale = ThePump.PumpScale == 0 ? 1.0 : ThePump.PumpScale;
    Name = ThePump.Name;
    PumpType = ThePump.PumpType;
    SetFlowRate_m3s = ThePump.SetFlowRate_m3s;
    SetFlowRate_kgs = ThePump.SetFlowRate_kgs;
    SetFlowRateDisplayUnit = ThePump.SetFlowRateDisplayUnit;
    SetFixedHead_Stored_mH2O = ThePump.SetFixedHead_Stored_mH2O;
    SetFixedHead_FluidHead_m = ThePump.SetFixedHead_FluidHead_m;
    SetFixedHeadDisplayUnit = ThePump.SetFixedHeadDisplayUnit;
    Speed_rpm = ThePump.Speed_rpm;
    PreferredOpRegionFromPercent = ThePump.PreferredOpRegionFromPercent;
    PreferredOpRegionToPercent = ThePump.PreferredOpRegionToPercent;
    PumpPoints = ThePump.PumpPoints;
    BaseDataPumpPoints = ThePump.BaseDataPumpPoints;
    BaseDataSpeed_rpm = ThePump.BaseDataSpeed_rpm;
    BaseDataImpellerDiameter_m = ThePump.BaseDataImpellerDiameter_m;

    PumpCurve_Qm3s_mHd.CopyCurve(ThePump.PumpCurve_Qm3s_mHd);
    PumpCurve_Qkgs_mHd.CopyCurve(ThePump.PumpCurve_Qkgs_mHd);
    PumpCurve_Qkgs_Bar.CopyCurve(ThePump.PumpCurve_Qkgs_Bar);
    PumpCurve_mHd_Qkgs.CopyCurve(ThePump.PumpCurve_mHd_Qkgs);
    PumpEfficiencyCurve.CopyCurve(ThePump.PumpEfficiencyCurve);
    PumpMinDiamCurrentSpeedEfficiencyCurve.CopyCurve(ThePump.PumpMinDiamCurrentSpeedEfficiencyCurve);
    PumpBaseDiamCurrentSpeedEfficiencyCurve.CopyCurve(ThePump.PumpBaseDiamCurrentSpeedEfficiencyCurve);
    PumpMaxDiamCurrentSpeedEfficiencyCurve.CopyCurve(ThePump.PumpMaxDiamCurrentSpeedEfficiencyCurve);
    PumpMinDiamCurve_Qkgs_mHd.CopyCurve(ThePump.PumpMinDiamCurve_Qkgs_mHd);
    PumpBaseDiamCurve_Qkgs_mHd.CopyCurve(ThePump.PumpBaseDiamCurve_Qkgs_mHd);
    PumpMaxDiamCurve_Qkgs_mHd.CopyCurve(ThePump.PumpMaxDiamCurve_Qkgs_mHd);
    PumpNPSHrCurve.CopyCurve(ThePump.PumpNPSHrCurve);
    PumpPowerKwCurve.CopyCurve(ThePump.PumpPowerKwCurve);
    PumpBaseDataNPSHrCurve.CopyCurve(ThePump.PumpBaseDataNPSHrCurve);
    PumpBaseDataEfficiencyCurve.CopyCurve(ThePump.PumpBaseDataEfficiencyCurve);

    ImpellerDiameter_m = ThePump.ImpellerDiameter_m;
    ImpellerDiameterDisplayUnit = ThePump.ImpellerDiameterDisplayUnit;
    PumpCatalog = ThePump.PumpCatalog;
    PumpManufacturer = ThePump.PumpManufacturer;
    PumpTypeKind = ThePump.PumpTypeKind;
    PumpMotorRpm = ThePump.PumpMotorRpm;
    PumpSpeedMinRpm = ThePump.PumpSpeedMinRpm;
    PumpSpeedMaxRpm = ThePump.PumpSpeedMaxRpm;
    PumpSize = ThePump.PumpSize;
    PumpImpellerDiameterMin_m = ThePump.PumpImpellerDiameterMin_m;
    PumpImpellerDiameterMax_m = ThePump.PumpImpellerDiameterMax_m;
    PumpStages = ThePump.PumpStages;
    PumpSpeedRpmGraph = ThePump.PumpSpeedRpmGraph;
    PumpImpellerDiameterGraph_m = ThePump.PumpImpellerDiameterGraph_m;
    FlowHeadCurveMaxImpellerMultipliers = ThePump.FlowHeadCurveMaxImpellerMultipliers;
    FlowHeadCurveMinImpellerMultipliers = ThePump.FlowHeadCurveMinImpellerMultipliers;
    EfficiencyCurveMaxImpellerMultipliers = ThePump.EfficiencyCurveMaxImpellerMultipliers;
    EfficiencyCurveMinImpellerMultipliers = ThePump.EfficiencyCurveMinImpellerMultipliers;
    EfficiencyMinImpellerPointMultipliers = ThePump.EfficiencyMinImpellerPointMultipliers;
    EfficiencyMaxImpellerPointMultipliers = ThePump.EfficiencyMaxImpellerPointMultipliers;
    PumpEfficiencyMaxSpeedEfficPercentIncrease = ThePump.PumpEfficiencyMaxSpeedEfficPercentIncrease;
    PumpNPSHStartMinDiamNpshPercentIncrease = ThePump.PumpNPSHStartMinDiamNpshPercentIncrease;
    PumpNPSHEndMinDiamNpshPercentIncrease = ThePump.PumpNPSHEndMinDiamNpshPercentIncrease;
    PumpNPSHStartMaxDiamNpshPercentIncrease = ThePump.PumpNPSHStartMaxDiamNpshPercentIncrease;
    PumpNPSHEndMaxDiamNpshPercentIncrease = ThePump.PumpNPSHEndMaxDiamNpshPercentIncrease;
    PumpGraphOptions = ThePump.PumpGraphOptions;
    ImportedPumpSheet = ThePump.ImportedPumpSheet;
    ImportedLogoLoaded = ThePump.ImportedLogoLoaded;
    ImportedLogoBitmap = ThePump.ImportedLogoBitmap;
    Notes = ThePump.Notes;
}

void TPump::CopyGraphOptions(const TPump &ThePump)
{
    FlowHeadCurveMaxImpellerMultipliers = ThePump.FlowHeadCurveMaxImpellerMultipliers;
    FlowHeadCurveMinImpellerMultipliers = ThePump.FlowHeadCurveMinImpellerMultipliers;
    EfficiencyCurveMaxImpellerMultipliers = ThePump.EfficiencyCurveMaxImpellerMultipliers;
    EfficiencyCurveMinImpellerMultipliers = ThePump.EfficiencyCurveMinImpellerMultipliers;
    EfficiencyMinImpellerPointMultipliers = ThePump.EfficiencyMinImpellerPointMultipliers;
    EfficiencyMaxImpellerPointMultipliers = ThePump.EfficiencyMaxImpellerPointMultipliers;
    PumpGraphOptions = ThePump.PumpGraphOptions;
}

void TPump::CopyBaseDataFromRunningData()
{
    BaseDataSpeed_rpm = Speed_rpm;
    BaseDataImpellerDiameter_m = ImpellerDiameter_m;
    BaseDataPumpPoints.PointsCount = PumpPoints.PointsCount;
    BaseDataPumpPoints.Points = PumpPoints.Points;
    BaseDataPumpPoints.SetHead_Stored_mH2O = PumpPoints.SetHead_Stored_mH2O;
    BaseDataPumpPoints.SetNPSHr_Stored_mH2O = PumpPoints.SetNPSHr_Stored_mH2O;
}

void TPump::CopyRunningDataFromBaseData()
{
    Speed_rpm = BaseDataSpeed_rpm;
    ImpellerDiameter_m = BaseDataImpellerDiameter_m;
    PumpPoints.PointsCount = BaseDataPumpPoints.PointsCount;
    PumpPoints.Points = BaseDataPumpPoints.Points;
    PumpPoints.SetHead_Stored_mH2O = BaseDataPumpPoints.SetHead_Stored_mH2O;
    PumpPoints.SetNPSHr_Stored_mH2O = BaseDataPumpPoints.SetNPSHr_Stored_mH2O;
}

void TPump::CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData()
{
    if (Speed_rpm != BaseDataSpeed_rpm || ImpellerDiameter_m != BaseDataImpellerDiameter_m)
        return;
    CopyBaseDataFromRunningData();
    BaseDataPumpPoints.FlowDisplayUnit = PumpPoints.FlowDisplayUnit;
    BaseDataPumpPoints.HeadDisplayUnit = PumpPoints.HeadDisplayUnit;
    BaseDataPumpPoints.NPSHrDisplayUnit = PumpPoints.NPSHrDisplayUnit;
    BaseDataPumpPoints.PowerDisplayUnit = PumpPoints.PowerDisplayUnit;
}

std::string TPump::NotesText() const { return JoinLines(Notes, true); }

void TPump::SetNotesText(const std::string &text) { Notes = SplitLines(text, TTrailingBreak::IsDropped); }

// --- points and fitting ---------------------------------------------------------------

void TPump::addPoint(double Flow_m3s, double Flow_kgs, double Head_mHd, double EfficiencyPercent, double NPSHr_mHd,
                     double FluidDensity_kgs_m3)
{
    const int n = ++PumpPoints.PointsCount;
    TPumpPoint &point = PumpPoints.Points[n];
    point.Flow_m3s = Flow_m3s;
    point.Flow_kgs = Flow_kgs;
    point.Head_mHd = Head_mHd;
    point.EfficiencyPercent = EfficiencyPercent;
    point.NPSHr_mHd = NPSHr_mHd;
    calcPumpCurves(FluidDensity_kgs_m3);
}

void TPump::AddPumpCurvePointFlowm3s(double Flow_m3s, double Head_mHd, double EfficiencyPercent, double NPSHr_mHd,
                                     double FluidDensity_kgs_m3)
{
    if (PumpPoints.PointsCount >= MaxPumpPoints)
        throw EPumpClass("TPump.AddPumpCurvePointFlowm3s Failed: Max number of Pump points reached.");
    addPoint(Flow_m3s, PumpFlow_m3s_to_kgs(Flow_m3s, FluidDensity_kgs_m3), Head_mHd, EfficiencyPercent, NPSHr_mHd,
             FluidDensity_kgs_m3);
}

void TPump::AddPumpCurvePointFlowkgs(double Flow_kgs, double Head_mHd, double EfficiencyPercent, double NPSHr_mHd,
                                     double FluidDensity_kgs_m3)
{
    if (PumpPoints.PointsCount >= MaxPumpPoints)
        throw EPumpClass("TPump.AddPumpCurvePointFlowkgs Failed: Max number of Pump points reached.");
    addPoint(PumpFlow_kgs_to_m3s(Flow_kgs, FluidDensity_kgs_m3), Flow_kgs, Head_mHd, EfficiencyPercent, NPSHr_mHd,
             FluidDensity_kgs_m3);
}

void TPump::RemovePumpCurvePoint(int PointId, double FluidDensity_kgs_m3)
{
    const int n = PumpPoints.PointsCount;
    if (PointId < 1 || PointId > n)
        throw EPumpClass("TPump.RemovePumpCurvePoint Failed: Point Id outside of current Points that are defined.");
    for (int i = PointId; i < n; ++i)
        PumpPoints.Points[i] = PumpPoints.Points[i + 1];
    // Nothing reads beyond the count; the freed slot is zeroed all the same.
    PumpPoints.Points[n] = TPumpPoint{};
    PumpPoints.PointsCount = n - 1;
    calcPumpCurves(FluidDensity_kgs_m3);
}

void TPump::ClearPumpCurvesButNotBasePoints()
{
    PumpPoints.PointsCount = 0;
    PumpPoints.Points.Fill(TPumpPoint{});
    PumpCurve_Qm3s_mHd.Clear();
    PumpCurve_Qkgs_mHd.Clear();
    PumpCurve_Qkgs_Bar.Clear();
    PumpCurve_mHd_Qkgs.Clear();
    PumpEfficiencyCurve.Clear();
    PumpMinDiamCurrentSpeedEfficiencyCurve.Clear();
    PumpBaseDiamCurrentSpeedEfficiencyCurve.Clear();
    PumpMaxDiamCurrentSpeedEfficiencyCurve.Clear();
    PumpMinDiamCurve_Qkgs_mHd.Clear();
    PumpBaseDiamCurve_Qkgs_mHd.Clear();
    PumpMaxDiamCurve_Qkgs_mHd.Clear();
    PumpNPSHrCurve.Clear();
    PumpPowerKwCurve.Clear();
}

void TPump::ClearPumpCurves()
{
    ClearPumpCurvesButNotBasePoints();
    BaseDataPumpPoints.PointsCount = 0;
    BaseDataPumpPoints.Points.Fill(TPumpPoint{});
}

void TPump::refreshRunningMassFlows(double FluidDensity_kgs_m3)
{
    for (int i = 1; i <= PumpPoints.PointsCount; ++i)
        PumpPoints.Points[i].Flow_kgs = PumpFlow_m3s_to_kgs(PumpPoints.Points[i].Flow_m3s, FluidDensity_kgs_m3);
}

// The three Q-H curves through the running points (at least three of them).
void TPump::fitFlowHeadCurves(double FluidDensity_kgs_m3)
{
    const int n = PumpPoints.PointsCount;
    for (int i = 1; i <= n; ++i) {
        const TPumpPoint &point = PumpPoints.Points[i];
        double h = point.Head_mHd;
        if (PumpPoints.SetHead_Stored_mH2O)
            h = PumpHead_mH2O_to_mFluid(h, FluidDensity_kgs_m3);
        PumpCurve_Qm3s_mHd.CurvePoints[i] = {point.Flow_m3s, h};
        PumpCurve_Qkgs_mHd.CurvePoints[i] = {point.Flow_kgs, h};
        PumpCurve_Qkgs_Bar.CurvePoints[i] = {point.Flow_kgs, PumpHead_mFluid_to_Bar(h, FluidDensity_kgs_m3)};
    }
    bool solved = false;
    PumpCurve_Qm3s_mHd.CalculateCurveCoeffs(n, solved);
    PumpCurve_Qkgs_mHd.CalculateCurveCoeffs(n, solved);
    PumpCurve_Qkgs_Bar.CalculateCurveCoeffs(n, solved);
}

void TPump::calcPumpCurves(double FluidDensity_kgs_m3)
{
    // Every base point's mass flow follows the density, whatever the running
    // count is.
    for (int i = 1; i <= BaseDataPumpPoints.PointsCount; ++i)
        BaseDataPumpPoints.Points[i].Flow_kgs =
            PumpFlow_m3s_to_kgs(BaseDataPumpPoints.Points[i].Flow_m3s, FluidDensity_kgs_m3);
    refreshRunningMassFlows(FluidDensity_kgs_m3);
    const int n = PumpPoints.PointsCount;
    if (n < 3)
        return;
    fitFlowHeadCurves(FluidDensity_kgs_m3);

    bool solved = false;
    int k = 0;
    for (int j = 2; j <= n; ++j) {
        const TPumpPoint &point = PumpPoints.Points[j];
        if (point.EfficiencyPercent <= 0)
            continue;
        ++k;
        PumpEfficiencyCurve.CurvePoints[k] = {point.Flow_kgs, point.EfficiencyPercent};
        double power = 0;
        if (FluidDensity_kgs_m3 > 0 && point.EfficiencyPercent > 0.1)
            power = calcPumpPower(point.Flow_kgs / FluidDensity_kgs_m3, PumpCurve_Qkgs_mHd.CurvePoints[j].Y,
                                  FluidDensity_kgs_m3) /
                    (point.EfficiencyPercent / 100);
        PumpPowerKwCurve.CurvePoints[k] = {point.Flow_kgs, power};
    }
    if (k > 2) {
        PumpEfficiencyCurve.CalculateCurveCoeffs(k, solved);
        PumpPowerKwCurve.CalculateCurveCoeffs(k, solved);
    } else {
        PumpEfficiencyCurve.Clear();
        PumpPowerKwCurve.Clear();
    }

    k = 0;
    for (int j = 1; j <= n; ++j) {
        const TPumpPoint &point = PumpPoints.Points[j];
        if (point.NPSHr_mHd < 0)
            continue;
        ++k;
        PumpNPSHrCurve.CurvePoints[k] = {point.Flow_kgs, point.NPSHr_mHd};
    }
    if (k > 2)
        PumpNPSHrCurve.CalculateCurveCoeffs(k, solved);
    else
        PumpNPSHrCurve.Clear();
}

void TPump::calcPumpFlowHeadCurves(double FluidDensity_kgs_m3)
{
    refreshRunningMassFlows(FluidDensity_kgs_m3);
    if (PumpPoints.PointsCount < 3)
        return;
    fitFlowHeadCurves(FluidDensity_kgs_m3);
}

void TPump::calcPumpCurveFlowAndEfficFromRunningData(double FluidDensity_kgs_m3,
                                                     TQuadraticCurves &ThePumpCurve_Qkgs_mHd,
                                                     TQuadraticCurves &ThePumpEfficiencyCurve)
{
    refreshRunningMassFlows(FluidDensity_kgs_m3);
    const int n = PumpPoints.PointsCount;
    if (n < 3)
        return;
    bool solved = false;
    for (int i = 1; i <= n; ++i) {
        const TPumpPoint &point = PumpPoints.Points[i];
        double h = point.Head_mHd;
        if (PumpPoints.SetHead_Stored_mH2O)
            h = PumpHead_mH2O_to_mFluid(h, FluidDensity_kgs_m3);
        ThePumpCurve_Qkgs_mHd.CurvePoints[i] = {point.Flow_kgs, h};
    }
    ThePumpCurve_Qkgs_mHd.CalculateCurveCoeffs(n, solved);

    int k = 0;
    for (int j = 1; j <= n; ++j) {
        const TPumpPoint &point = PumpPoints.Points[j];
        if (point.EfficiencyPercent < 0)
            continue;
        ++k;
        ThePumpEfficiencyCurve.CurvePoints[k] = {point.Flow_kgs, point.EfficiencyPercent};
    }
    if (k > 2)
        ThePumpEfficiencyCurve.CalculateCurveCoeffs(k, solved);
    else
        ThePumpEfficiencyCurve.Clear();
}

namespace {

enum class BaseValue { NPSHr, Efficiency };

void fitBaseDataCurve(const TPumpPoints &base, TQuadraticCurves &curve, BaseValue which)
{
    int k = 0;
    for (int i = 1; i <= base.PointsCount; ++i) {
        const TPumpPoint &point = base.Points[i];
        const double value = which == BaseValue::NPSHr ? point.NPSHr_mHd : point.EfficiencyPercent;
        if (value < 0)
            continue;
        ++k;
        curve.CurvePoints[k] = {point.Flow_kgs, value};
    }
    bool solved = false;
    if (k > 2)
        curve.CalculateCurveCoeffs(k, solved);
    else
        curve.Clear();
}

} // namespace

void TPump::calcPumpBaseDataNPSHCurve()
{
    fitBaseDataCurve(BaseDataPumpPoints, PumpBaseDataNPSHrCurve, BaseValue::NPSHr);
}

void TPump::calcPumpBaseDataEfficiencyCurve()
{
    fitBaseDataCurve(BaseDataPumpPoints, PumpBaseDataEfficiencyCurve, BaseValue::Efficiency);
}

// --- units and bookkeeping ---------------------------------------------------------------

bool TPump::isPumpCurveShowingInMassFlow() const { return isMassFlowUnit(PumpPoints.FlowDisplayUnit); }

bool TPump::isSetFlowRateUsingMassFlow() const { return isMassFlowUnit(SetFlowRateDisplayUnit); }

void TPump::SetEquivalentFlowAndMassFlowRate(double TheDensity_kgs_m3s)
{
    if (isSetFlowRateUsingMassFlow())
        SetFlowRate_m3s = PumpFlow_kgs_to_m3s(SetFlowRate_kgs, TheDensity_kgs_m3s);
    else
        SetFlowRate_kgs = PumpFlow_m3s_to_kgs(SetFlowRate_m3s, TheDensity_kgs_m3s);
    calcPumpCurves(TheDensity_kgs_m3s);
}

void TPump::SetEquivalentMassFlowRateFromVolumeFlowForAllPumpPoints(double TheDensity_kgs_m3s)
{
    for (int i = 1; i <= MaxPumpPoints; ++i) {
        PumpPoints.Points[i].Flow_kgs = PumpFlow_m3s_to_kgs(PumpPoints.Points[i].Flow_m3s, TheDensity_kgs_m3s);
        BaseDataPumpPoints.Points[i].Flow_kgs =
            PumpFlow_m3s_to_kgs(BaseDataPumpPoints.Points[i].Flow_m3s, TheDensity_kgs_m3s);
    }
}

void TPump::GetImpellerDiameterIncrement(double &ImpellerDiameterIncrement_m, TUnit TheImpellerDiameterUnit)
{
    ImpellerDiameterIncrement_m =
        (TheImpellerDiameterUnit == unt_ft || TheImpellerDiameterUnit == unt_inch) ? 0.000635 : 0.001;
}

TUnit TPump::getPowerDisplayUnit()
{
    const auto ordinal = static_cast<int>(PumpPoints.FlowDisplayUnit);
    const bool metric = (ordinal >= static_cast<int>(unt_m3_sec) && ordinal <= static_cast<int>(unt_L_hour)) ||
                        PumpPoints.FlowDisplayUnit == unt_kg_sec || PumpPoints.FlowDisplayUnit == unt_kg_min ||
                        PumpPoints.FlowDisplayUnit == unt_kg_hour;
    PumpPoints.PowerDisplayUnit = metric ? unt_KW : unt_HP;
    return PumpPoints.PowerDisplayUnit;
}

void TPump::UpdateToStoredFluidHeadIfDisplaySetFluidHead(double FluidDensity_kgs_m3)
{
    bringFixedHeadToStorageForm(*this, FluidDensity_kgs_m3);
    if (PumpPoints.SetHead_Stored_mH2O && isFluidHeadUnit(PumpPoints.HeadDisplayUnit)) {
        for (int i = 1; i <= MaxPumpPoints; ++i)
            PumpPoints.Points[i].Head_mHd = PumpHead_mH2O_to_mFluid(PumpPoints.Points[i].Head_mHd, FluidDensity_kgs_m3);
        PumpPoints.SetHead_Stored_mH2O = false;
    }
    if (PumpPoints.SetNPSHr_Stored_mH2O) {
        for (int i = 1; i <= MaxPumpPoints; ++i)
            PumpPoints.Points[i].NPSHr_mHd =
                PumpHead_mH2O_to_mFluid(PumpPoints.Points[i].NPSHr_mHd, FluidDensity_kgs_m3);
        PumpPoints.SetNPSHr_Stored_mH2O = false;
    }
    PumpPoints.NPSHrDisplayUnit = npshrUnitForHeadUnit(PumpPoints.HeadDisplayUnit, unt_m_hd_fluid);
}

void TPump::ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(double FluidDensity_kgs_m3)
{
    bringFixedHeadToStorageForm(*this, FluidDensity_kgs_m3);

    const bool runningWantsFluid = isFluidHeadUnit(PumpPoints.HeadDisplayUnit);
    if (BaseDataPumpPoints.SetHead_Stored_mH2O && runningWantsFluid) {
        for (int i = 1; i <= MaxPumpPoints; ++i)
            BaseDataPumpPoints.Points[i].Head_mHd =
                PumpHead_mH2O_to_mFluid(BaseDataPumpPoints.Points[i].Head_mHd, FluidDensity_kgs_m3);
        BaseDataPumpPoints.SetHead_Stored_mH2O = false;
        PumpPoints.SetHead_Stored_mH2O = false;
    } else if (!BaseDataPumpPoints.SetHead_Stored_mH2O && !runningWantsFluid) {
        for (int i = 1; i <= MaxPumpPoints; ++i)
            BaseDataPumpPoints.Points[i].Head_mHd =
                PumpHead_mFluid_to_mH2O(BaseDataPumpPoints.Points[i].Head_mHd, FluidDensity_kgs_m3);
        BaseDataPumpPoints.SetHead_Stored_mH2O = true;
        PumpPoints.SetHead_Stored_mH2O = true;
    }

    BaseDataPumpPoints.FlowDisplayUnit =
        isMassFlowUnit(PumpPoints.FlowDisplayUnit) ? unt_m3_sec : PumpPoints.FlowDisplayUnit;
    BaseDataPumpPoints.HeadDisplayUnit = PumpPoints.HeadDisplayUnit;
    BaseDataPumpPoints.PowerDisplayUnit = PumpPoints.PowerDisplayUnit;

    if (BaseDataPumpPoints.SetNPSHr_Stored_mH2O) {
        for (int i = 1; i <= MaxPumpPoints; ++i)
            BaseDataPumpPoints.Points[i].NPSHr_mHd =
                PumpHead_mH2O_to_mFluid(BaseDataPumpPoints.Points[i].NPSHr_mHd, FluidDensity_kgs_m3);
        BaseDataPumpPoints.SetNPSHr_Stored_mH2O = false;
        PumpPoints.SetNPSHr_Stored_mH2O = false;
    }

    BaseDataPumpPoints.NPSHrDisplayUnit = unt_m_hd_fluid;
    PumpPoints.NPSHrDisplayUnit = npshrUnitForHeadUnit(PumpPoints.HeadDisplayUnit, PumpPoints.NPSHrDisplayUnit);
}

std::vector<std::string> TPump::PrintData() const
{
    auto text = [](double value) {
        char buffer[32];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, result.ptr);
    };
    std::vector<std::string> lines;
    for (int i = 1; i <= PumpPoints.PointsCount; ++i) {
        const TPumpPoint &point = PumpPoints.Points[i];
        lines.push_back("Points=" + text(point.Flow_m3s) + "," + text(point.Head_mHd) + "," +
                        text(point.EfficiencyPercent) + "," + text(point.NPSHr_mHd));
    }
    return lines;
}

} // namespace tessaran
