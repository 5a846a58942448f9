#include "model/Pipe_Class.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <istream>
#include <numbers>
#include <ostream>

#include "model/Pipe_Table_Text.h"
#include "platform/TextFile.h"
#include "platform/Pascal.h"
#include "platform/Text_Lines.h"
#include "units/Calculations.h"
#include "units/Gas_Calculations.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr int MaxFluidZones = 20;
constexpr int NotesCapacity = 200;

// Fields of the pipe record that older files lack.
constexpr const char *LineStyleVersion = "1.15";
constexpr const char *PreventBackflowVersion = "2.061";
constexpr const char *FluidZoneVersion = "2.063";
constexpr const char *MetricNominalTextVersion = "6.35";
// Pipe-size rows carry their metric nominal text from this table version on.
constexpr const char *RowMetricTextVersion = "1.05";

double HeadToBar(double head_mHd, double density)
{
    return fluidHeadToBar(head_mHd, density);
}

double BarToHead(double pressure_bar, double density)
{
    return convertPressure(TUnit::unt_Bar_G, TUnit::unt_m_hd_fluid, pressure_bar, 0.0, density);
}

std::string FormatDiameter(TUnit unit, double value_m)
{
    return formatForUnit(unit, convertUnit(TUnit::unt_m, unit, value_m));
}



std::string GeneralFloatText(double value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

} // namespace

TPipe::TPipe() { Clear(); }

bool TPipe::FittingsInUse() const { return FittingSet.FittingCount > 0 && FittingsUseInCalc; }
bool TPipe::ComponentInUse() const { return ComponentPressureCount > 0 && ComponentPressureUseInCalc; }
bool TPipe::FlowControlInUse() const { return FlowControlCount > 0 && FlowControlUseInCalc; }
bool TPipe::PumpInUse() const { return PumpCount > 0 && PumpUseInCalc; }

void TPipe::Clear()
{
    Name.clear();
    Material.clear();
    NominalDiameterImperialString.clear();
    NominalDiameterMetricString.clear();
    SpecificationReference.clear();
    ScheduleClass.clear();
    PipeDataFilename.clear();
    Length_m = 0;
    InnerDiameter_m = 0;
    InnerRoughness_m = 0;
    NominalDiameterMetric = 0;
    OuterDiameter_m = 0;
    WallThickness_m = 0;
    WeightPerMetre_kg = 0;
    LineColor = 0;
    LineWidth = 0;
    LineStyle = TBrushStyle::bsSolid;
    FluidZoneIndex = 1;
    FlowGuessUncompressed_m3s = 0;
    FlowGuessUncompressedSet = false;
    FlowUncompressed_m3s = 0;
    Velocity_ms = 0;
    EntryVelocity_ms = 0;
    ExitVelocity_ms = 0;
    VelocityGuess_ms = 0;
    FlowKgsDivPressDiffBar = 0;
    ReynoldsNumber = 0;
    FrictionFactor = 0;
    TransmissionFactor = 0;
    FlowType = "NotSet";
    CompressedFlowFactor = 1.0;
    FittingsUseInCalc = true;
    ComponentPressureUseInCalc = true;
    FlowControlUseInCalc = true;
    PumpUseInCalc = true;
    FittingSet.Clear();
    ComponentPressure.Clear();
    Pump.Clear();
    // Of the flow control only its identity and set flow go; the rest of its
    // settings stay for the next valve placed on this pipe.
    FlowControl.Name.clear();
    FlowControl.FlowControl_m3s = 0;
    ComponentPressureCount = 0;
    FlowControlCount = 0;
    PumpCount = 0;
    FlowControlLoss_Bar = 0;
    FlowControlLoss_mHd_Fluid = 0;
    PreventBackflow = false;
    ComponentPressurePositionPercentageAlongPipe = 0;
    ComponentPressurex = 0;
    ComponentPressurey = 0;
    FlowControlPositionPercentageAlongPipe = 0;
    FlowControlx = 0;
    FlowControly = 0;
    PumpDistanceFromStartOfPipe_m = 0;
    PumpPositionPercentageAlongPipe = 0;
    PumpElevation_m = 0;
    labelPositionPercentageAlongPipe = 50;
    labelx = 0;
    labely = 0;
    FittingsPositionPercentageAlongPipe = 50;
    EntryFittingsx = 0;
    EntryFittingsy = 0;
    ExitFittingsx = 0;
    ExitFittingsy = 0;
    equivPipeLengthForFittings_m = 0;
    equivPipeLengthForEntryFittings_m = 0;
    equivPipeLengthForExitFittings_m = 0;
    equivPipeLengthForComponentCvKvSprinklerK = 0;
    PipeFrictionLoss_mHd_Fluid = 0;
    PipeFrictionLoss_mHd_Fluid_per100 = 0;
    FittingsLoss_mHd_Fluid = 0;
    EntryFittingsLoss_mHd_Fluid = 0;
    ExitFittingsLoss_mHd_Fluid = 0;
    ComponentPressureLoss_mHd_Fluid = 0;
    PumpNPSHr_mHd_Fluid = 0;
    TotalPressureLossWithoutElevationChange_mHd = 0;
    TotalPressureLossWithElevationChange_Bar = 0;
    PressureLossDueToElevationChange_Bar = 0;
    Pump_mHd_Fluid = 0;
    Selected = false;
    Notes.clear();
}

// Everything Copy and CopyWithoutComponents share.
void TPipe::CopyPipeData(const TPipe &p)
{
    Name = p.Name;
    Length_m = p.Length_m;
    InnerDiameter_m = p.InnerDiameter_m;
    InnerRoughness_m = p.InnerRoughness_m;
    Material = p.Material;
    NominalDiameterMetric = p.NominalDiameterMetric;
    NominalDiameterImperialString = p.NominalDiameterImperialString;
    NominalDiameterMetricString = p.NominalDiameterMetricString;
    SpecificationReference = p.SpecificationReference;
    ScheduleClass = p.ScheduleClass;
    OuterDiameter_m = p.OuterDiameter_m;
    WallThickness_m = p.WallThickness_m;
    WeightPerMetre_kg = p.WeightPerMetre_kg;
    LineColor = p.LineColor;
    LineWidth = p.LineWidth;
    LineStyle = p.LineStyle;
    FluidZoneIndex = p.FluidZoneIndex;
    PipeDataFilename = p.PipeDataFilename;
    FlowGuessUncompressed_m3s = p.FlowGuessUncompressed_m3s;
    FlowGuessUncompressedSet = p.FlowGuessUncompressedSet;
    FlowUncompressed_m3s = p.FlowUncompressed_m3s;
    FlowKgsDivPressDiffBar = p.FlowKgsDivPressDiffBar;
    VelocityGuess_ms = p.VelocityGuess_ms;
    Velocity_ms = p.Velocity_ms;
    ReynoldsNumber = p.ReynoldsNumber;
    FrictionFactor = p.FrictionFactor;
    FlowType = p.FlowType;
    PipeFrictionLoss_mHd_Fluid = p.PipeFrictionLoss_mHd_Fluid;
    FittingsLoss_mHd_Fluid = p.FittingsLoss_mHd_Fluid;
    CompressedFlowFactor = p.CompressedFlowFactor;
    Pump_mHd_Fluid = p.Pump_mHd_Fluid;
    FlowControlLoss_Bar = p.FlowControlLoss_Bar;
    FittingsUseInCalc = p.FittingsUseInCalc;
    FittingSet.CopyFittingSet(p.FittingSet);
    labelPositionPercentageAlongPipe = p.labelPositionPercentageAlongPipe;
    labelx = p.labelx;
    labely = p.labely;
    FittingsPositionPercentageAlongPipe = p.FittingsPositionPercentageAlongPipe;
    EntryFittingsx = p.EntryFittingsx;
    EntryFittingsy = p.EntryFittingsy;
    ExitFittingsx = p.ExitFittingsx;
    ExitFittingsy = p.ExitFittingsy;
    Selected = p.Selected;
    Notes = p.Notes;
}

void TPipe::Copy(const TPipe &p)
{
    if (&p == this)
        return;
    CopyPipeData(p);
    ComponentPressureCount = p.ComponentPressureCount;
    ComponentPressureUseInCalc = p.ComponentPressureUseInCalc;
    ComponentPressure.CopyComponentPressure(p.ComponentPressure);
    ComponentPressurePositionPercentageAlongPipe = p.ComponentPressurePositionPercentageAlongPipe;
    ComponentPressurex = p.ComponentPressurex;
    ComponentPressurey = p.ComponentPressurey;
    FlowControlCount = p.FlowControlCount;
    FlowControlUseInCalc = p.FlowControlUseInCalc;
    FlowControl.CopyFlowControl(p.FlowControl);
    FlowControlPositionPercentageAlongPipe = p.FlowControlPositionPercentageAlongPipe;
    FlowControlx = p.FlowControlx;
    FlowControly = p.FlowControly;
    PreventBackflow = p.PreventBackflow;
    PumpCount = p.PumpCount;
    PumpUseInCalc = p.PumpUseInCalc;
    Pump.CopyPump(p.Pump);
    PumpElevation_m = p.PumpElevation_m;
    PumpPositionPercentageAlongPipe = 0;
}

void TPipe::CopyWithoutComponents(const TPipe &p)
{
    if (&p == this)
        return;
    CopyPipeData(p);
    PreventBackflow = false;
}

std::string TPipe::getNominalDiameterString(TUnit TheDiameterUnits) const
{
    if (TheDiameterUnits == TUnit::unt_ft || TheDiameterUnits == TUnit::unt_inch)
        return NominalDiameterImperialString;
    return NominalDiameterMetricString;
}

std::string TPipe::getNominalDiameterLabelString(TUnit TheDiameterUnits) const
{
    return "Nom: " + getNominalDiameterString(TheDiameterUnits);
}

std::string TPipe::GetPipeNameSizeString(TUnit TheDiameterUnit) const
{
    return Name + ", " + Material + ", " + getNominalDiameterString(TheDiameterUnit) + " ";
}

std::string TPipe::GetPipeInternalDiameterString(TUnit TheUnit) const
{
    return FormatDiameter(TheUnit, InnerDiameter_m) + " " + unitName(TheUnit);
}

std::string TPipe::GetPipeNameSizeInternalDiameterString(TUnit TheUnit) const
{
    return GetPipeNameSizeString(TheUnit) + ",ID=" + GetPipeInternalDiameterString(TheUnit);
}

std::string TPipe::getFlowType() const
{
    auto first = FlowType.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    auto last = FlowType.find_last_not_of(' ');
    return FlowType.substr(first, last - first + 1);
}

double TPipe::InternalVolume_m3_m() const { return Pi * InnerDiameter_m * InnerDiameter_m / 4.0; }

double TPipe::SurfaceArea_m2_m() const { return Pi * OuterDiameter_m; }

void TPipe::SetFlowGuess(double The_Flow_m3s) { FlowGuessUncompressed_m3s = The_Flow_m3s; }

void TPipe::SetVelocityGuess(double The_Velocity_ms)
{
    FlowGuessUncompressed_m3s = calcFlowFromVelocity(The_Velocity_ms, InnerDiameter_m, 1.0);
}

void TPipe::AddFitting(const TFitting &The_Fitting)
{
    FittingSet.AddFitting(The_Fitting, 1, TFittingPosition::EntryFitting);
}

void TPipe::RemoveFitting(int The_Fitting_Number) { FittingSet.RemoveFitting(The_Fitting_Number); }

int TPipe::GetFittingCount() const { return FittingSet.FittingCount; }

int TPipe::GetFittingCountIncludingQuantities() const { return FittingSet.GetFittingCountIncludingQuantities(); }

double TPipe::CalcTotalKFittings() const { return FittingSet.CalculateTotal_KValue(); }

void TPipe::SetEquivPipeLengthForFittings_m()
{
    equivPipeLengthForFittings_m = 0;
    equivPipeLengthForEntryFittings_m = 0;
    equivPipeLengthForExitFittings_m = 0;
    if (FrictionFactor > 0 && FittingsInUse()) {
        equivPipeLengthForFittings_m = FittingSet.CalculateTotal_KValue() * InnerDiameter_m / FrictionFactor;
        equivPipeLengthForEntryFittings_m =
            FittingSet.CalculateEntryFittingsKValue() * InnerDiameter_m / FrictionFactor;
        equivPipeLengthForExitFittings_m = FittingSet.CalculateExitFittingsKValue() * InnerDiameter_m / FrictionFactor;
    }
}

void TPipe::SetEquivPipeLengthForComponentCvKvSprinklerK()
{
    equivPipeLengthForComponentCvKvSprinklerK = 0;
    if (!(FrictionFactor > 0 && ComponentInUse()))
        return;
    const double D = InnerDiameter_m;
    double K = 0;
    switch (ComponentPressure.PressureType) {
    case TPressureType::ComponentPressureKv:
        K = calcKFromKv(ComponentPressure.Kv, D);
        break;
    case TPressureType::ComponentPressureCv:
        K = calcKFromKv(0.86497767 * ComponentPressure.Cv, D);
        break;
    case TPressureType::ComponentPressureSprinklerKimperial:
        K = calcKFromCv(ComponentPressure.SprinklerKimperial, D);
        break;
    case TPressureType::ComponentPressureSprinklerKmetric:
        K = calcKFromSprinklerK(ComponentPressure.SprinklerKmetric, D);
        break;
    default:
        K = 0;
        break;
    }
    equivPipeLengthForComponentCvKvSprinklerK = K * D / FrictionFactor;
}

void TPipe::CheckPipeSizeIDMatchOD(TUnit CurrentUnitOfDiameter, bool &MatchOk, std::string &ErrorMessage) const
{
    ErrorMessage.clear();
    MatchOk = true;
    const double a = InnerDiameter_m + 2.0 * WallThickness_m;
    if (0.95 * OuterDiameter_m <= a && a <= 1.05 * OuterDiameter_m)
        return;
    MatchOk = false;
    const std::string unit = unitName(CurrentUnitOfDiameter);
    ErrorMessage = " Inconsistent data: Outer Diameter (" + FormatDiameter(CurrentUnitOfDiameter, OuterDiameter_m) +
                   unit + "), " + "Inner Diameter (" + FormatDiameter(CurrentUnitOfDiameter, InnerDiameter_m) + unit +
                   "), " + "Wall Thickness (" + FormatDiameter(CurrentUnitOfDiameter, WallThickness_m) + unit + ")";
}

void TPipe::CheckFittingSizeMatch(TUnit CurrentUnitOfDiameter, const TFitting &TheFitting, bool &MatchOk,
                                  std::string &ErrorMessage) const
{
    ErrorMessage.clear();
    MatchOk = true;
    const int size = TheFitting.MetricSize;
    if (!(size > 0 && size != NominalDiameterMetric))
        return;
    if (0.925 * NominalDiameterMetric <= size && size <= NominalDiameterMetric)
        return;
    MatchOk = false;
    const std::string unit = unitName(CurrentUnitOfDiameter);
    auto fromMm = [&](int mm) {
        return formatForUnit(CurrentUnitOfDiameter, convertUnit(TUnit::unt_mm, CurrentUnitOfDiameter, mm));
    };
    ErrorMessage = " Inconsistent data: Nominal Fitting Size (" + fromMm(size) + unit + "), " +
                   "Nominal Pipe Size (" + fromMm(NominalDiameterMetric) + unit + ")";
}

void TPipe::AddPump(const TPump &ThePump)
{
    if (PumpCount != 0)
        throw EPipeClass("TPipe.AddPump Failed: Pipe may already have a pump");
    PumpCount = 1;
    Pump.CopyPump(ThePump);
}

void TPipe::RemovePump()
{
    if (PumpCount != 1)
        throw EPipeClass("TPipe.RemovePump Failed: Pipe May not have contained a pump");
    PumpCount = 0;
    Pump.Clear();
}

void TPipe::RemoveComponentPressure()
{
    if (ComponentPressureCount != 1)
        return;
    ComponentPressureCount = 0;
    ComponentPressure.Clear();
}

void TPipe::RemoveFlowControl()
{
    FlowControl.Name.clear();
    FlowControl.FlowControl_m3s = 0;
    FlowControlPositionPercentageAlongPipe = 0;
    FlowControlCount = 0;
}

double TPipe::frictionFactorFor(double Reynolds, double Diameter_m, double Roughness_m)
{
    // The arguments are compared bit for bit, so that the answer is always
    // the one calcFrictionFactor gives for exactly these arguments.
    const auto bits = [](double value) { return std::bit_cast<std::uint64_t>(value); };
    TFrictionFactorMemo &memo = frictionFactorMemo_;
    if (memo.Set && memo.Reynolds == bits(Reynolds) && memo.Diameter == bits(Diameter_m) &&
        memo.Roughness == bits(Roughness_m))
        return memo.Factor;
    if (Reynolds <= 3500) {
        // Below the turbulent range the wall plays no part.
        memo.Factor = calcFrictionFactor(Reynolds, Diameter_m, Roughness_m);
    } else {
        if (!memo.WallSet || memo.WallDiameter != bits(Diameter_m) || memo.WallRoughness != bits(Roughness_m)) {
            memo.Wall = calcFrictionWall(Diameter_m, Roughness_m);
            memo.WallDiameter = bits(Diameter_m);
            memo.WallRoughness = bits(Roughness_m);
            memo.WallSet = true;
        }
        memo.Factor = calcFrictionFactor(Reynolds, memo.Wall);
    }
    memo.Reynolds = bits(Reynolds);
    memo.Diameter = bits(Diameter_m);
    memo.Roughness = bits(Roughness_m);
    memo.Set = true;
    return memo.Factor;
}

void TPipe::CalcPipeInfo(const TFluid &The_Fluid, TUnit CurrentUnitOfLength, TMethodOfSolution TheMethodOfSolution,
                         TMethodOfCalculationCompressible TheMethodOfCalculationCompressible,
                         double GasModel_Std_Temp_degrees_k, double GasModel_Std_Pressure_Pa_a,
                         double PipelineEfficiencyE, TZCompressibilityModel ZCompressibilityModel,
                         double ZCompressibilityFactorValue, double StartNodeElevation_m, double EndNodeElevation_m,
                         double StartNodePressure_bar_g, double EndNodePressure_bar_g, double Atmosphere_Bar_a)
{
    const double rho = The_Fluid.density_kgs_m3;
    const double mu = The_Fluid.centipoise;
    const double T = The_Fluid.degrees_K;
    const double pRef = The_Fluid.pressure_bar_g;
    const double D = InnerDiameter_m;
    const double e = InnerRoughness_m;
    const double Q = FlowUncompressed_m3s;
    const bool compressible = TheMethodOfSolution == TMethodOfSolution::CompressibleNodeAdjust ||
                              TheMethodOfSolution == TMethodOfSolution::CompressibleFlowAdjust;
    const bool fittingsInUse = FittingsInUse();
    const bool componentInUse = ComponentInUse();

    // Gas properties at a gauge pressure, from the fluid's reference state.
    auto zAt = [&](double p_bar_g) {
        return calcCompressibilityZ(ZCompressibilityModel, p_bar_g, T, rho, pRef, T, ZCompressibilityFactorValue);
    };
    auto densityAt = [&](double Z, double p_bar_g) {
        return calcGasDensityAtPressure(rho, pRef, Z, p_bar_g, Atmosphere_Bar_a);
    };
    auto volumeFlow = [](double m_kgs, double density) { return density > 0 ? m_kgs / density : 0.0; };
    auto dropKnownInlet = [&](double length_m, double m_kgs, double p1_bar_g) {
        return calcPressureDropKnownInlet(TheMethodOfCalculationCompressible, ZCompressibilityModel,
                                          GasModel_Std_Temp_degrees_k, GasModel_Std_Pressure_Pa_a,
                                          PipelineEfficiencyE, p1_bar_g, m_kgs, Atmosphere_Bar_a, length_m, D, e,
                                          FrictionFactor, rho, pRef, T, mu, ZCompressibilityFactorValue);
    };
    auto dropKnownOutlet = [&](double length_m, double m_kgs, double p2_bar_g) {
        return calcPressureDropKnownOutlet(TheMethodOfCalculationCompressible, ZCompressibilityModel,
                                           GasModel_Std_Temp_degrees_k, GasModel_Std_Pressure_Pa_a,
                                           PipelineEfficiencyE, p2_bar_g, m_kgs, Atmosphere_Bar_a, length_m, D, e,
                                           FrictionFactor, rho, pRef, T, mu, ZCompressibilityFactorValue);
    };

    CompressedFlowFactor = 1.0;
    double Z = 1.0;
    VelocityGuess_ms = calcVelocity(FlowGuessUncompressed_m3s, D, 1.0);
    Velocity_ms = calcVelocity(Q, D, 1.0);

    if (!(std::fabs(Velocity_ms) <= 1e30)) {
        // Beyond any physical flow (or not a number): flag it and make the
        // pipe's loss overwhelming, with no partial losses left from before.
        ReynoldsNumber = 0;
        FrictionFactor = 0;
        FlowType = "Too Large";
        PipeFrictionLoss_mHd_Fluid = 1e24;
        PipeFrictionLoss_mHd_Fluid_per100 = 0;
        FittingsLoss_mHd_Fluid = 0;
        EntryFittingsLoss_mHd_Fluid = 0;
        ExitFittingsLoss_mHd_Fluid = 0;
        ComponentPressureLoss_mHd_Fluid = 0;
        TotalPressureLossWithoutElevationChange_mHd = PipeFrictionLoss_mHd_Fluid;
    } else if (std::fabs(Velocity_ms) <= 1e-10) {
        ReynoldsNumber = 1.0;
        FrictionFactor = 64.0 / ReynoldsNumber;
        FlowType = "None";
        PipeFrictionLoss_mHd_Fluid = 0;
        PipeFrictionLoss_mHd_Fluid_per100 = 0;
        FittingsLoss_mHd_Fluid = 0;
        EntryFittingsLoss_mHd_Fluid = 0;
        ExitFittingsLoss_mHd_Fluid = 0;
        ComponentPressureLoss_mHd_Fluid = 0;
        Pump_mHd_Fluid = 0;
        TotalPressureLossWithoutElevationChange_mHd = 0;
        if (compressible)
            Z = zAt(StartNodePressure_bar_g);
    } else {
        const double m = Q * rho;
        double vStart = 0;
        double vEnd = 0;
        // Friction factor and flow regime.
        if (!compressible) {
            ReynoldsNumber = calcReynoldsNumber(Velocity_ms, D, mu, rho, 1.0);
            FrictionFactor = frictionFactorFor(ReynoldsNumber, D, e);
        } else {
            Z = zAt(StartNodePressure_bar_g);
            const double rhoStart = densityAt(Z, StartNodePressure_bar_g);
            vStart = calcVelocity(volumeFlow(m, rhoStart), D, 1.0);
            ReynoldsNumber = calcReynoldsNumber(vStart, D, mu, rhoStart, 1.0);
            Z = zAt(EndNodePressure_bar_g);
            const double rhoEnd = densityAt(Z, EndNodePressure_bar_g);
            vEnd = calcVelocity(volumeFlow(m, rhoEnd), D, 1.0);
            if (TheMethodOfCalculationCompressible == TMethodOfCalculationCompressible::AGAIsothermalFlowEquation) {
                TransmissionFactor = calcAGATransmissionFactor(D, e, ReynoldsNumber, PipelineEfficiencyE);
                FrictionFactor = calcFrictionFactorFromTransmissionFactor(TransmissionFactor);
            } else {
                FrictionFactor = frictionFactorFor(ReynoldsNumber, D, e);
                TransmissionFactor = FrictionFactor > 0 ? 2.0 / std::sqrt(FrictionFactor) : 0.0;
            }
        }
        // The regime changes rarely between calls: the text is rewritten only then.
        std::string regime = calcFlowRegime(ReynoldsNumber);
        if (regime.size() > 30)
            regime.resize(30);
        if (FlowType != regime)
            FlowType = regime;

        // Losses.
        FittingsLoss_mHd_Fluid = 0;
        ComponentPressureLoss_mHd_Fluid = 0;
        // Entry and exit coefficients are read only where fittings are in use.
        const double K_in = fittingsInUse ? FittingSet.CalculateEntryFittingsKValue() : 0.0;
        const double K_out = fittingsInUse ? FittingSet.CalculateExitFittingsKValue() : 0.0;
        const bool componentByCoefficient =
            componentInUse && (ComponentPressure.PressureType == TPressureType::ComponentPressureCv ||
                               ComponentPressure.PressureType == TPressureType::ComponentPressureKv ||
                               ComponentPressure.PressureType == TPressureType::ComponentPressureSprinklerKimperial ||
                               ComponentPressure.PressureType == TPressureType::ComponentPressureSprinklerKmetric);

        if (TheMethodOfSolution == TMethodOfSolution::CompressibleNodeAdjust) {
            // Fittings and coefficient components act as extra pipe length;
            // the gas pressure drop over the whole length is then shared out.
            double L = Length_m;
            if (fittingsInUse)
                L += equivPipeLengthForFittings_m;
            if (componentByCoefficient)
                L += equivPipeLengthForComponentCvKvSprinklerK;
            const double pump_bar = PumpInUse() ? Pump.calcPumpHead_Bar(m, rho) : 0.0;
            PressureLossDueToElevationChange_Bar =
                calcElevationPressureChange(TheMethodOfSolution, StartNodeElevation_m, EndNodeElevation_m,
                                            StartNodePressure_bar_g, EndNodePressure_bar_g, Atmosphere_Bar_a, rho,
                                            pRef, Z);
            const bool knownOutlet =
                PumpInUse() || (FlowControlInUse() && FlowControl.ControlType == TControlType::BPV);
            const double dp = knownOutlet
                                  ? dropKnownOutlet(L, m, EndNodePressure_bar_g + PressureLossDueToElevationChange_Bar)
                                  : dropKnownInlet(L, m, StartNodePressure_bar_g + pump_bar);
            const double h = BarToHead(dp, rho);
            auto shareOf = [&](double length) { return L != 0 ? length / L * h : 0.0; };
            EntryFittingsLoss_mHd_Fluid = 0;
            ExitFittingsLoss_mHd_Fluid = 0;
            if (fittingsInUse) {
                FittingsLoss_mHd_Fluid = shareOf(equivPipeLengthForFittings_m);
                const double hvStart = vStart * vStart / 19.6133;
                const double hvEnd = vEnd * vEnd / 19.6133;
                double wIn = 1;
                double wOut = 1;
                if (K_in + K_out > 0 && hvStart + hvEnd > 0) {
                    wIn = K_in / (K_in + K_out) * hvStart / (hvStart + hvEnd);
                    wOut = K_out / (K_in + K_out) * hvEnd / (hvStart + hvEnd);
                }
                if (wIn + wOut > 0) {
                    EntryFittingsLoss_mHd_Fluid = wIn / (wIn + wOut) * FittingsLoss_mHd_Fluid;
                    ExitFittingsLoss_mHd_Fluid = wOut / (wIn + wOut) * FittingsLoss_mHd_Fluid;
                }
            }
            if (componentInUse)
                ComponentPressureLoss_mHd_Fluid = componentByCoefficient
                                                      ? shareOf(equivPipeLengthForComponentCvKvSprinklerK)
                                                      : ComponentPressure.calcLoss_mHd_Fluid(Q, rho, D);
            PipeFrictionLoss_mHd_Fluid = shareOf(Length_m);
            TotalPressureLossWithoutElevationChange_mHd =
                PipeFrictionLoss_mHd_Fluid + FittingsLoss_mHd_Fluid + ComponentPressureLoss_mHd_Fluid;
        } else if (TheMethodOfSolution == TMethodOfSolution::CompressibleFlowAdjust) {
            // Entry fittings at the start pressure, then the pump and the
            // component, the pipe itself, and the exit fittings at the
            // pressure that reaches them.
            Z = zAt(StartNodePressure_bar_g);
            EntryFittingsLoss_mHd_Fluid = 0;
            double entry_bar = 0;
            if (fittingsInUse) {
                EntryFittingsLoss_mHd_Fluid =
                    calcGasFittingHeadLoss(m, D, K_in, rho, pRef, Z, StartNodePressure_bar_g, Atmosphere_Bar_a);
                entry_bar = HeadToBar(EntryFittingsLoss_mHd_Fluid, rho);
            }
            double total = EntryFittingsLoss_mHd_Fluid;
            const double pump_bar = PumpInUse() ? Pump.calcPumpHead_Bar(m, rho) : 0.0;
            double comp_bar = 0;
            if (componentInUse) {
                ComponentPressureLoss_mHd_Fluid = ComponentPressure.calcLoss_mHd_Fluid(Q, rho, D);
                comp_bar = HeadToBar(ComponentPressureLoss_mHd_Fluid, rho);
            }
            total += ComponentPressureLoss_mHd_Fluid;
            const double pIn = StartNodePressure_bar_g - entry_bar + pump_bar;
            const double dp = dropKnownInlet(Length_m, m, pIn);
            PipeFrictionLoss_mHd_Fluid = BarToHead(dp, rho);
            total += PipeFrictionLoss_mHd_Fluid;
            ExitFittingsLoss_mHd_Fluid = 0;
            if (fittingsInUse) {
                const double pExit = pIn - (dp + comp_bar);
                Z = zAt(pExit);
                ExitFittingsLoss_mHd_Fluid = calcGasFittingHeadLoss(m, D, K_out, rho, pRef, Z, pExit, Atmosphere_Bar_a);
            }
            total += ExitFittingsLoss_mHd_Fluid;
            FittingsLoss_mHd_Fluid = EntryFittingsLoss_mHd_Fluid + ExitFittingsLoss_mHd_Fluid;
            TotalPressureLossWithoutElevationChange_mHd = total;
        } else {
            PipeFrictionLoss_mHd_Fluid = calcDarcyHeadLoss(FrictionFactor, Length_m, D, Velocity_ms);
            EntryFittingsLoss_mHd_Fluid = 0;
            ExitFittingsLoss_mHd_Fluid = 0;
            if (fittingsInUse) {
                FittingsLoss_mHd_Fluid = calcFittingHeadLoss(FittingSet.CalculateTotal_KValue(), Velocity_ms);
                EntryFittingsLoss_mHd_Fluid = calcFittingHeadLoss(K_in, Velocity_ms);
                ExitFittingsLoss_mHd_Fluid = calcFittingHeadLoss(K_out, Velocity_ms);
            }
            if (componentInUse)
                ComponentPressureLoss_mHd_Fluid = ComponentPressure.calcLoss_mHd_Fluid(Q, rho, D);
            TotalPressureLossWithoutElevationChange_mHd =
                PipeFrictionLoss_mHd_Fluid + FittingsLoss_mHd_Fluid + ComponentPressureLoss_mHd_Fluid;
        }

        PipeFrictionLoss_mHd_Fluid_per100 = 0;
        if (Length_m != 0) {
            // Metres need no conversion (it would give the length unchanged).
            const double length = CurrentUnitOfLength == TUnit::unt_m
                                      ? Length_m
                                      : convertUnit(TUnit::unt_m, CurrentUnitOfLength, Length_m);
            PipeFrictionLoss_mHd_Fluid_per100 = PipeFrictionLoss_mHd_Fluid / length * 100.0;
        }
    }

    // Common tail: pump terms, elevation and the totals.
    FlowControlLoss_Bar = 0;
    Pump_mHd_Fluid = 0;
    PumpNPSHr_mHd_Fluid = 0;
    if (PumpInUse()) {
        Pump_mHd_Fluid = Pump.calcPumpHead_mHd_Fluid(Q, rho);
        PumpNPSHr_mHd_Fluid = Pump.calcPumpNPSHr_mHd_Fluid(Q, rho);
        TotalPressureLossWithoutElevationChange_mHd -= Pump_mHd_Fluid;
    }
    PressureLossDueToElevationChange_Bar =
        calcElevationPressureChange(TheMethodOfSolution, StartNodeElevation_m, EndNodeElevation_m,
                                    StartNodePressure_bar_g, EndNodePressure_bar_g, Atmosphere_Bar_a, rho, pRef, Z);
    TotalPressureLossWithElevationChange_Bar =
        HeadToBar(TotalPressureLossWithoutElevationChange_mHd, rho) + PressureLossDueToElevationChange_Bar;
}

void TPipe::Save(TStream &s, const std::string &FileVersion)
{
    s.WriteShortString(Name, 20);
    s.WriteDouble(Length_m);
    s.WriteDouble(InnerDiameter_m);
    s.WriteDouble(InnerRoughness_m);
    s.WriteShortString(Material, 40);
    s.WriteInt32(NominalDiameterMetric);
    s.WriteShortString(NominalDiameterMetricString, 20);
    s.WriteShortString(NominalDiameterImperialString, 20);
    s.WriteShortString(SpecificationReference, 20);
    s.WriteShortString(ScheduleClass, 20);
    s.WriteDouble(OuterDiameter_m);
    s.WriteDouble(WallThickness_m);
    s.WriteDouble(WeightPerMetre_kg);
    if (VersionAtLeast(FileVersion, FluidZoneVersion))
        s.WriteInt32(FluidZoneIndex);
    if (VersionAtLeast(FileVersion, LineStyleVersion)) {
        s.WriteInt32(static_cast<std::int32_t>(LineColor));
        s.WriteInt32(LineWidth);
        s.WriteEnum(LineStyle);
    }
    s.WriteShortString(PipeDataFilename, 100);
    s.WriteDouble(labelPositionPercentageAlongPipe);
    s.WriteInt32(labelx);
    s.WriteInt32(labely);
    s.WriteDouble(CompressedFlowFactor);
    s.WriteDouble(FlowUncompressed_m3s);
    s.WriteBool(FittingsUseInCalc);
    FittingSet.Save(s, FileVersion);
    s.WriteDouble(FittingsPositionPercentageAlongPipe);
    s.WriteInt32(EntryFittingsx);
    s.WriteInt32(EntryFittingsy);
    s.WriteInt32(ComponentPressureCount);
    s.WriteBool(ComponentPressureUseInCalc);
    s.WriteShortString(ComponentPressure.Name, 20);
    ComponentPressure.Save(s, FileVersion, false);
    s.WriteDouble(ComponentPressurePositionPercentageAlongPipe);
    s.WriteInt32(ComponentPressurex);
    s.WriteInt32(ComponentPressurey);
    s.WriteInt32(FlowControlCount);
    s.WriteBool(FlowControlUseInCalc);
    FlowControl.Save(s, FileVersion);
    if (VersionAtLeast(FileVersion, PreventBackflowVersion))
        s.WriteBool(PreventBackflow);
    s.WriteDouble(FlowControlPositionPercentageAlongPipe);
    s.WriteInt32(FlowControlx);
    s.WriteInt32(FlowControly);
    s.WriteInt32(PumpCount);
    s.WriteBool(PumpUseInCalc);
    Pump.Save(s, FileVersion, 0.0, false);
    s.WriteDouble(PumpDistanceFromStartOfPipe_m);
    s.WriteDouble(PumpPositionPercentageAlongPipe);
    s.WriteDouble(PumpElevation_m);
    s.WriteDouble(Velocity_ms);
    s.WriteDouble(ReynoldsNumber);
    s.WriteShortString(FlowType, 30);
    s.WriteDouble(PipeFrictionLoss_mHd_Fluid);
    s.WriteDouble(FittingsLoss_mHd_Fluid);
    // The record has room for 200 single-byte characters of notes; whatever
    // is longer is kept in memory but not in the file.
    s.WriteShortString(JoinLines(Notes), NotesCapacity);
}

void TPipe::Load(TStream &s, const std::string &FileVersion)
{
    Clear();
    auto readCount = [&](const char *what) {
        int count = s.ReadInt32();
        if (count != 0 && count != 1)
            throw EPipeClass(std::string("TPipe.Load Failed: ") + what + " count " + std::to_string(count) +
                             " is not 0 or 1");
        return count;
    };
    try {
        Name = s.ReadShortString(20);
        Length_m = s.ReadDouble();
        InnerDiameter_m = s.ReadDouble();
        InnerRoughness_m = s.ReadDouble();
        Material = s.ReadShortString(40);
        NominalDiameterMetric = s.ReadInt32();
        const bool hasMetricText = VersionAtLeast(FileVersion, MetricNominalTextVersion);
        if (hasMetricText)
            NominalDiameterMetricString = s.ReadShortString(20);
        NominalDiameterImperialString = s.ReadShortString(20);
        if (!hasMetricText)
            NominalDiameterMetricString = NominalDiameterImperialString;
        SpecificationReference = s.ReadShortString(20);
        ScheduleClass = s.ReadShortString(20);
        OuterDiameter_m = s.ReadDouble();
        WallThickness_m = s.ReadDouble();
        WeightPerMetre_kg = s.ReadDouble();
        if (VersionAtLeast(FileVersion, FluidZoneVersion)) {
            FluidZoneIndex = s.ReadInt32();
            if (FluidZoneIndex < 1 || FluidZoneIndex > MaxFluidZones)
                throw EPipeClass("TPipe.Load Failed: fluid zone " + std::to_string(FluidZoneIndex) +
                                 " outside 1 to " + std::to_string(MaxFluidZones));
        }
        if (VersionAtLeast(FileVersion, LineStyleVersion)) {
            LineColor = static_cast<TColor>(s.ReadInt32());
            LineWidth = s.ReadInt32();
            LineStyle = s.ReadEnum<TBrushStyle>(static_cast<int>(TBrushStyle::bsDiagCross));
        }
        PipeDataFilename = s.ReadShortString(100);
        labelPositionPercentageAlongPipe = s.ReadDouble();
        labelx = s.ReadInt32();
        labely = s.ReadInt32();
        CompressedFlowFactor = s.ReadDouble();
        FlowUncompressed_m3s = s.ReadDouble();
        FittingsUseInCalc = s.ReadBool();
        FittingSet.Load(s, FileVersion);
        FittingsPositionPercentageAlongPipe = s.ReadDouble();
        EntryFittingsx = s.ReadInt32();
        EntryFittingsy = s.ReadInt32();
        ComponentPressureCount = readCount("component");
        ComponentPressureUseInCalc = s.ReadBool();
        s.ReadShortString(20); // the component's name, stored again inside its record
        ComponentPressure.Load(s, FileVersion, false);
        ComponentPressurePositionPercentageAlongPipe = s.ReadDouble();
        ComponentPressurex = s.ReadInt32();
        ComponentPressurey = s.ReadInt32();
        FlowControlCount = readCount("flow control");
        FlowControlUseInCalc = s.ReadBool();
        FlowControl.Load(s, FileVersion);
        if (VersionAtLeast(FileVersion, PreventBackflowVersion))
            PreventBackflow = s.ReadBool();
        FlowControlPositionPercentageAlongPipe = s.ReadDouble();
        FlowControlx = s.ReadInt32();
        FlowControly = s.ReadInt32();
        PumpCount = readCount("pump");
        PumpUseInCalc = s.ReadBool();
        Pump.Load(s, FileVersion, 0.0, false);
        s.ReadDouble(); // pump distance and position: recomputed by the drawing
        s.ReadDouble();
        PumpDistanceFromStartOfPipe_m = 0;
        PumpPositionPercentageAlongPipe = 0;
        PumpElevation_m = s.ReadDouble();
        Velocity_ms = s.ReadDouble();
        ReynoldsNumber = s.ReadDouble();
        FlowType = s.ReadShortString(30);
        PipeFrictionLoss_mHd_Fluid = s.ReadDouble();
        FittingsLoss_mHd_Fluid = s.ReadDouble();
        Notes = SplitLines(s.ReadShortString(NotesCapacity), TTrailingBreak::StartsEmptyLine);
    } catch (...) {
        Clear();
        throw;
    }
}

namespace {

// A row no pipe can have: no outer diameter, a wall that leaves no bore, or
// a negative roughness, wall or weight.
// A new user material's file starts with a placeholder row: a negative
// nominal size carrying only material, schedule and roughness, with no wall
// and no outside diameter. Every other row must describe a real pipe.
bool IsPossiblePipeSize(int nominal, double roughness, double wall, double outer, double weight)
{
    if (roughness < 0 || weight < 0)
        return false;
    if (nominal < 0 && outer == 0 && wall == 0)
        return true;
    return outer > 0 && wall >= 0 && outer - 2.0 * wall > 0;
}

} // namespace

std::string TPipe::DiameterDataLine() const
{
    const std::string sep = "~|~";
    return TableFieldForLine(Material) + sep + TableFieldForLine(ScheduleClass) + sep +
           TableRealText(convertUnit(TUnit::unt_m, TUnit::unt_inch, InnerRoughness_m), 7, 9) + sep +
           std::to_string(NominalDiameterMetric) + sep + TableFieldForLine(NominalDiameterMetricString) + sep +
           TableFieldForLine(NominalDiameterImperialString) + sep +
           TableRealText(convertUnit(TUnit::unt_m, TUnit::unt_inch, WallThickness_m), 7, 9) + sep +
           TableRealText(convertUnit(TUnit::unt_m, TUnit::unt_inch, OuterDiameter_m), 7, 9) + sep +
           TableRealText(convertUnit(TUnit::unt_kgs_per_m, TUnit::unt_lbs_per_ft, WeightPerMetre_kg), 7, 9);
}

void TPipe::SaveDiameterDataToText(std::ostream &F) const { WriteTextLine(F, DiameterDataLine()); }

void TPipe::LoadDiameterDataFromLine(const std::string &line, const std::string &FileName,
                                     const std::string &Version, bool &Ok)
{
    Ok = false;
    const bool hasMetricText = VersionAtLeast(Version, RowMetricTextVersion);
    const std::vector<std::string> fields = SplitTableFields(line, hasMetricText ? 9 : 8);
    double roughness_in = 0, wall_in = 0, od_in = 0, weight_lbft = 0;
    int nominal = 0;
    const std::size_t shift = hasMetricText ? 0 : 1;
    if (fields.empty() || !ReadTableReal(fields[2], roughness_in) || !ReadTableInteger(fields[3], nominal) ||
        !ReadTableReal(fields[6 - shift], wall_in) || !ReadTableReal(fields[7 - shift], od_in) ||
        !ReadTableReal(fields[8 - shift], weight_lbft) || !IsPossiblePipeSize(nominal, roughness_in, wall_in, od_in, weight_lbft)) {
        Clear();
        return;
    }
    Material = CutTableField(fields[0], 40);
    ScheduleClass = CutTableField(fields[1], 20);
    InnerRoughness_m = convertUnit(TUnit::unt_inch, TUnit::unt_m, roughness_in);
    NominalDiameterMetric = nominal;
    NominalDiameterMetricString = std::to_string(nominal) + " mm";
    if (hasMetricText)
        NominalDiameterMetricString = CutTableField(fields[4], 20);
    NominalDiameterImperialString = CutTableField(fields[5 - shift], 20);
    WallThickness_m = convertUnit(TUnit::unt_inch, TUnit::unt_m, wall_in);
    OuterDiameter_m = convertUnit(TUnit::unt_inch, TUnit::unt_m, od_in);
    WeightPerMetre_kg = convertUnit(TUnit::unt_lbs_per_ft, TUnit::unt_kgs_per_m, weight_lbft);
    InnerDiameter_m = OuterDiameter_m - 2.0 * WallThickness_m;
    PipeDataFilename = CutToShortString(FileName, 100);
    Ok = true;
}

void TPipe::LoadDiameterDataFromText(std::istream &F, const std::string &FileName, const std::string &Version,
                                     bool &Ok)
{
    Ok = false;
    if (!HasAnotherTextLine(F)) {
        Clear();
        return;
    }
    LoadDiameterDataFromLine(ReadTextLine(F), FileName, Version, Ok);
}

std::vector<std::string> TPipe::PrintData() const
{
    return {"InnerDiameter_m=" + GeneralFloatText(InnerDiameter_m),
            "InnerRoughness_m=" + GeneralFloatText(InnerRoughness_m),
            "Length_m=" + GeneralFloatText(Length_m),
            "FlowGuessUncompressed_m3s=" + GeneralFloatText(FlowGuessUncompressed_m3s),
            "FlowUncompressed_m3s=" + GeneralFloatText(FlowUncompressed_m3s) + "   -- Calculated values below",
            "Velocity_ms=" + GeneralFloatText(Velocity_ms),
            "ReynoldsNumber=" + GeneralFloatText(ReynoldsNumber),
            "FrictionFactor=" + GeneralFloatText(FrictionFactor),
            "\tFlowType=" + FlowType,
            "PipeFrictionLoss_mHd_Fluid=" + GeneralFloatText(PipeFrictionLoss_mHd_Fluid),
            "FittingsLoss_mHd_Fluid=" + GeneralFloatText(FittingsLoss_mHd_Fluid),
            "Pump_mHd=" + GeneralFloatText(Pump_mHd_Fluid)};
}

} // namespace tessaran
