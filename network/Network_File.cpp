// The network file: TNetwork.Save writes the current layout, TNetwork.Load
// reads every layout back to the first. A file is a sequence of packed
// fields; the item records (nodes, pipes, fluids, free texts) are written by
// their own classes, and the version text of the file header decides which
// fields an older file holds.
//
// Loading trusts nothing: every count is checked against its table's
// capacity, every link against the nodes and pipes in use, every enumeration
// against its range and every length against what is left of the stream.
// A file that fails any check leaves the network cleared.

#include "network/Network_Class.h"

#include "platform/Pascal.h"
#include "platform/Stream.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/Util_Functions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessaran {

namespace {

constexpr const char *CurrentVersion = "7.40";
constexpr int ReservedHeaderBytes = 28;

constexpr const char *FormatErrorMessage = "The file does not have the correct format and cannot be loaded.\r";

// Versions at which fields were added or changed.
constexpr const char *ReservedHeaderVersion = "6.30";
constexpr const char *DrawingModeVersion = "3.12";
constexpr const char *FluidZonesVersion = "2.063";
constexpr const char *GasFlowUnitVersion = "6.41";
constexpr const char *TextSizesVersion = "7.17";
constexpr const char *MethodChoiceVersion = "7.04";
constexpr const char *ResultsColorsVersion = "1.15";
constexpr const char *BackgroundImagesVersion = "7.08";
constexpr const char *DefaultPipeLayoutVersion = "4.06";
constexpr const char *FirstPipeLayoutVersion = "0";
// Calculation settings.
constexpr const char *MethodParametersVersion = "7.01";
constexpr const char *GroupWarningParametersVersion = "7.03";
constexpr const char *ExtraBytesOnlyVersion = "7.15";
constexpr const char *PipelineEfficiencyVersion = "7.05";
constexpr const char *EarlyToleranceVersion = "4.60";
constexpr const char *EarlySkippedValueVersion = "6.45";
constexpr const char *EarlyNpshToleranceVersion = "6.36";
constexpr const char *EarlyDensityToleranceVersion = "6.34";
// Notices.
constexpr const char *OldSystemNoticeVersion = "6.39";

class ENetworkFileFormat : public ENetworkClass {
public:
    explicit ENetworkFileFormat(const std::string &why) : ENetworkClass("TNetwork.Load Failed: " + why) {}
};

void writeUnit(TStream &s, TUnit unit) { s.WriteEnum(unit); }

TUnit readUnit(TStream &s) { return s.ReadEnum<TUnit>(TUnitCount - 1); }

int readCount(TStream &s, int capacity, const char *what)
{
    const std::int32_t count = s.ReadInt32();
    if (count < 0 || count > capacity)
        throw ENetworkFileFormat(std::string(what) + " count " + std::to_string(count) + " outside 0 to " +
                                 std::to_string(capacity));
    return count;
}

void writeLink(TStream &s, const TNodeLink &link)
{
    s.WriteInt32(link.FromNodeId);
    s.WriteInt32(link.ToNodeId);
    s.WriteInt32(link.PipeId);
}

// The mass-flow unit that matches the volume-flow unit of a file that had none.
TUnit massFlowUnitForFlowUnit(TUnit flowUnit, TUnit densityUnit)
{
    switch (flowUnit) {
    case unt_m3_sec:
    case unt_L_sec:
        return unt_kg_sec;
    case unt_m3_min:
    case unt_L_min:
        return unt_kg_min;
    case unt_m3_hour:
    case unt_L_hour:
        return unt_kg_hour;
    case unt_ft3_sec:
    case unt_inch3_sec:
        return unt_lb_sec;
    case unt_ft3_min:
    case unt_inch3_min:
    case unt_gpm_UK:
    case unt_gpm_USA:
    case unt_Barrels_Oil_min:
        return unt_lb_min;
    case unt_ft3_hour:
    case unt_inch3_hour:
    case unt_MGD_UK:
    case unt_MGD_USA:
    case unt_Barrels_Oil_hour:
    case unt_Barrels_Oil_day:
        return unt_lb_hour;
    default:
        return densityUnit == unt_lb_ft3 ? unt_lb_sec : unt_kg_sec;
    }
}

// Clear, and the default pipe as new: its pump keeps a digitised pump
// sheet through Clear, which a loaded network must not take over from the
// network that was there before, nor from a file that was refused.
void clearWhole(TNetwork &network)
{
    network.Clear();
    const TPipe pristine;
    network.ConfigOptions.DefaultPipe->Copy(pristine);
    network.ResetDefaultPipeValues();
}

} // namespace

// --- Writing -------------------------------------------------------------------

void TNetwork::Save(TStream &TheFileStream)
{
    TStream &s = TheFileStream;
    FileHeader.SetData(CurrentVersion, "", "");
    FileHeader.Save(s);
    for (int i = 0; i < ReservedHeaderBytes; ++i)
        s.WriteByte(0);
    s.WriteByte(0);

    s.WriteBool(IsometricDrawing);
    s.WriteInt32(MetaFileDrawing_XGridSpacing);
    s.WriteInt32(MetaFileDrawing_YGridSpacing);
    s.WriteDouble(IsometricXRadAng);
    s.WriteDouble(IsometricYRadAng);
    s.WriteDouble(SymbolScale);

    s.WriteInt32(FluidZonesCount);
    for (int i = 1; i <= FluidZonesCount; ++i) {
        const TFluidZone &zone = FluidZones.at(static_cast<std::size_t>(i));
        zone.Fluid.Save(s);
        s.WriteInt32(zone.Color);
    }

    NodeSet.Save(s, CurrentVersion);
    PipeSet.Save(s, CurrentVersion);

    s.WriteInt32(NodeLinksCount);
    for (int i = 1; i <= NodeLinksCount; ++i)
        writeLink(s, NodeLinks.at(static_cast<std::size_t>(i)));
    s.WriteInt32(NodeLinksClosedPipeCount);
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
        writeLink(s, NodeLinksClosedPipe.at(static_cast<std::size_t>(i)));

    s.WriteInt32(PipeLoopsCount);
    for (int loop = 1; loop <= PipeLoopsCount; ++loop) {
        const auto &entries = PipeLoops.at(static_cast<std::size_t>(loop));
        for (int entry = 1; entry <= MaxLoopPipes; ++entry)
            s.WriteInt32(entries[static_cast<std::size_t>(entry)]);
    }

    const TConfigOptions &c = ConfigOptions;
    s.WriteEnum(c.PressureReference);
    s.WriteDouble(c.Atmosphere_bar_a);
    for (TUnit unit : {c.UnitOfAtmosphere, c.UnitOfLength, c.UnitOfDiameter, c.UnitOfRoughness, c.UnitOfFlow,
                       c.UnitOfVelocity, c.UnitOfPressureLoss, c.UnitOfWeight, c.UnitOfArea, c.UnitOfVolume,
                       c.UnitOfSurfacePressure, c.UnitOfLiquidLevel, c.UnitOfElevation, c.UnitOfTemperature,
                       c.UnitOfPressure, c.UnitOfDensity, c.UnitOfMassFlow, c.UnitOfEnergy, c.UnitOfGasFlow})
        writeUnit(s, unit);
    s.WriteEnum(c.GasFlowTemperaturePressureModel);
    for (bool flag : {c.ShowPipeId, c.ShowPipeName, c.ShowPipeDiam, c.ShowPipeLength, c.ShowComponentName,
                      c.ShowFlowControlName, c.ShowFittingsValves, c.ShowFittingsBends, c.ShowFittingsKValue,
                      c.ShowPumpName, c.ShowPumpDistance, c.ShowPumpElevation, c.ShowNodeId, c.ShowNodeName,
                      c.ShowNodeElevation, c.ShowNodeTankInfo, c.ShowPipeFlowRate, c.ShowPipeMassFlowRate,
                      c.ShowPipeGasFlowRate, c.ShowPipeVelocity, c.ShowPipePressureLoss, c.ShowFittingsNothing,
                      c.ShowFittingsPressureLoss, c.ShowPumpNothing, c.ShowPumpHead, c.ShowPumpNPSHa,
                      c.ShowNodeNothing, c.ShowNodePressure})
        s.WriteBool(flag);
    s.WriteInt32(c.DefaultTextSize);
    s.WriteInt32(c.DemandTextSize);
    s.WriteInt32(c.NodeLabelSpacingY);
    s.WriteEnum(c.MethodOfSolution);
    s.WriteEnum(c.MethodOfCalculationNonCompressible);
    s.WriteEnum(c.MethodOfCalculationCompressible);
    s.WriteBool(c.GasSystemCheckFinalNodeBalanceUsePercent);
    for (double parameter : c.CalculationParameters)
        s.WriteDouble(parameter);
    s.WriteDouble(c.PipelineEfficiencyE);
    s.WriteEnum(c.ZCompressibilityModel);
    s.WriteDouble(c.ZCompressibilityFactor);
    s.WriteDouble(c.NodeBalancingToleranceFinal_bar);
    s.WriteBool(c.UseResultsColors);
    s.WriteInt32(c.ResultsColor1);
    s.WriteInt32(c.ResultsColor2);
    s.WriteInt32(c.ResultsColor3);
    s.WriteEnum(c.ResultsColorItem);

    ConfigOptions.DefaultPipe->Save(s, CurrentVersion);

    s.WriteInt32(FreeTextsCount);
    for (int i = 1; i <= FreeTextsCount; ++i)
        FreeTexts.at(static_cast<std::size_t>(i)).Save(s);

    // A slot without a picture is stored as an empty picture.
    const TBitmap noPicture;
    s.WriteInt32(BackgroundImagesCount);
    for (int i = 1; i <= BackgroundImagesCount; ++i) {
        const TBackgroundImage &image = BackgroundImages.at(static_cast<std::size_t>(i));
        WriteBitmapToStream(s, image.Bitmap ? *image.Bitmap : noPicture);
        WriteBitmapToStream(s, image.BitmapAdjusted ? *image.BitmapAdjusted : noPicture);
        for (std::int32_t value : {image.ImageX, image.ImageY, image.ImageStretchWidth, image.ImageStretchHeight,
                                   image.DisplayLayer, image.ImageOpacity})
            s.WriteInt32(value);
        s.WriteBool(image.UseGreyScale);
        s.WriteBool(image.HideImage);
    }
}

void TNetwork::SaveToFile(const std::string &FileName)
{
    TMemoryStream stream;
    Save(stream);
    SaveFileAtomically(FileName, stream.Bytes());
}

// --- Reading -------------------------------------------------------------------

namespace {

// Reads items 4 to 19 of a file of version V into a cleared network.
class TNetworkFileReader {
public:
    TNetworkFileReader(TNetwork &network, TStream &stream, std::string version)
        : n_(network), s_(stream), v_(std::move(version))
    {
    }

    void ReadBody()
    {
        readDrawingMode();
        readFluidZones();
        n_.NodeSet.Load(s_, v_);
        n_.PipeSet.Load(s_, v_);
        readLinks(n_.NodeLinks, n_.NodeLinksCount, "link");
        readLinks(n_.NodeLinksClosedPipe, n_.NodeLinksClosedPipeCount, "closed-pipe link");
        readLoops();
        readSettings();
        n_.ConfigOptions.DefaultPipe->Load(s_, from(DefaultPipeLayoutVersion) ? v_ : FirstPipeLayoutVersion);
        readFreeTexts();
        if (from(BackgroundImagesVersion))
            readBackgroundImages();
    }

private:
    bool from(const char *gate) const { return VersionAtLeast(v_, gate); }

    void readDrawingMode()
    {
        if (!from(DrawingModeVersion))
            return;
        n_.IsometricDrawing = s_.ReadBool();
        n_.MetaFileDrawing_XGridSpacing = s_.ReadInt32();
        n_.MetaFileDrawing_YGridSpacing = s_.ReadInt32();
        n_.IsometricXRadAng = s_.ReadDouble();
        n_.IsometricYRadAng = s_.ReadDouble();
        n_.SymbolScale = s_.ReadDouble();
    }

    void readFluidZones()
    {
        // Clear has reset all zones to water with their table colours.
        if (!from(FluidZonesVersion)) {
            n_.FluidZones[1].Fluid.Load(s_, v_);
            n_.FluidZonesCount = 1;
            return;
        }
        const std::int32_t count = s_.ReadInt32();
        if (count < 1 || count > TNetwork::MaxFluidZones)
            throw ENetworkFileFormat("fluid zone count " + std::to_string(count) + " outside 1 to " +
                                     std::to_string(TNetwork::MaxFluidZones));
        for (int i = 1; i <= count; ++i) {
            TFluidZone &zone = n_.FluidZones[static_cast<std::size_t>(i)];
            zone.Fluid.Load(s_, v_);
            zone.Color = s_.ReadInt32();
        }
        n_.FluidZonesCount = count;
    }

    // Every link joins two nodes in use by a pipe in use, and no pipe stands
    // in more than one link of the two tables.
    void readLinks(TNetwork::TNodeLinks &links, std::int32_t &count, const char *what)
    {
        const int stored = readCount(s_, TNetwork::MaxLinks, what);
        for (int i = 1; i <= stored; ++i) {
            TNodeLink link;
            link.FromNodeId = s_.ReadInt32();
            link.ToNodeId = s_.ReadInt32();
            link.PipeId = s_.ReadInt32();
            if (!n_.NodeSet.NodeArray.IsUsed(link.FromNodeId) || !n_.NodeSet.NodeArray.IsUsed(link.ToNodeId))
                throw ENetworkFileFormat(std::string(what) + " " + std::to_string(i) + " names a node not in use");
            if (!n_.PipeSet.PipeArray.IsUsed(link.PipeId))
                throw ENetworkFileFormat(std::string(what) + " " + std::to_string(i) + " names a pipe not in use");
            if (linkedPipes_.at(static_cast<std::size_t>(link.PipeId)))
                throw ENetworkFileFormat("pipe " + std::to_string(link.PipeId) + " is linked twice");
            linkedPipes_.at(static_cast<std::size_t>(link.PipeId)) = true;
            links[static_cast<std::size_t>(i)] = link;
        }
        count = stored;
    }

    // The loop store: its entries come back, the per-loop counts stay 0
    // until the loops are generated again.
    void readLoops()
    {
        const int count = readCount(s_, TNetwork::MaxLoops, "loop");
        const std::int64_t bytes = static_cast<std::int64_t>(count) * TNetwork::MaxLoopPipes * 4;
        if (bytes > s_.Remaining())
            throw ENetworkFileFormat("loops run past the end of the file");
        for (int loop = 1; loop <= count; ++loop) {
            auto &entries = n_.PipeLoops.at(static_cast<std::size_t>(loop));
            for (int entry = 1; entry <= TNetwork::MaxLoopPipes; ++entry) {
                const std::int32_t pipeId = s_.ReadInt32();
                if (pipeId < 0 || pipeId > TNetwork::MaxPipes)
                    throw ENetworkFileFormat("loop " + std::to_string(loop) + " holds pipe id " +
                                             std::to_string(pipeId));
                entries[static_cast<std::size_t>(entry)] = pipeId;
            }
        }
        n_.PipeLoopsCount = count;
    }

    void readSettings()
    {
        TConfigOptions &c = n_.ConfigOptions;
        c.PressureReference = s_.ReadEnum<TPressureReference>(PressureGage);
        c.Atmosphere_bar_a = s_.ReadDouble();
        for (TUnit *unit : {&c.UnitOfAtmosphere, &c.UnitOfLength, &c.UnitOfDiameter, &c.UnitOfRoughness,
                            &c.UnitOfFlow, &c.UnitOfVelocity, &c.UnitOfPressureLoss, &c.UnitOfWeight, &c.UnitOfArea,
                            &c.UnitOfVolume, &c.UnitOfSurfacePressure, &c.UnitOfLiquidLevel, &c.UnitOfElevation,
                            &c.UnitOfTemperature, &c.UnitOfPressure, &c.UnitOfDensity})
            *unit = readUnit(s_);
        if (from(FluidZonesVersion)) {
            c.UnitOfMassFlow = readUnit(s_);
            c.UnitOfEnergy = readUnit(s_);
        }
        if (from(GasFlowUnitVersion)) {
            c.UnitOfGasFlow = readUnit(s_);
            c.GasFlowTemperaturePressureModel =
                s_.ReadEnum<TGasFlowTemperaturePressureModel>(TGasFlowTemperaturePressureModelCount - 1);
        }
        for (bool *flag : {&c.ShowPipeId, &c.ShowPipeName, &c.ShowPipeDiam, &c.ShowPipeLength,
                           &c.ShowComponentName, &c.ShowFlowControlName, &c.ShowFittingsValves,
                           &c.ShowFittingsBends, &c.ShowFittingsKValue, &c.ShowPumpName, &c.ShowPumpDistance,
                           &c.ShowPumpElevation, &c.ShowNodeId, &c.ShowNodeName, &c.ShowNodeElevation,
                           &c.ShowNodeTankInfo, &c.ShowPipeFlowRate})
            *flag = s_.ReadBool();
        c.ShowPipeMassFlowRate = from(FluidZonesVersion) ? s_.ReadBool() : false;
        c.ShowPipeGasFlowRate = from(GasFlowUnitVersion) ? s_.ReadBool() : false;
        for (bool *flag : {&c.ShowPipeVelocity, &c.ShowPipePressureLoss, &c.ShowFittingsNothing,
                           &c.ShowFittingsPressureLoss, &c.ShowPumpNothing, &c.ShowPumpHead, &c.ShowPumpNPSHa,
                           &c.ShowNodeNothing, &c.ShowNodePressure})
            *flag = s_.ReadBool();
        if (from(TextSizesVersion)) {
            c.DefaultTextSize = s_.ReadInt32();
            c.DemandTextSize = s_.ReadInt32();
            c.NodeLabelSpacingY = s_.ReadInt32();
        } else {
            c.DefaultTextSize = 7;
            c.DemandTextSize = 8;
            c.NodeLabelSpacingY = 11;
        }
        if (from(MethodChoiceVersion)) {
            c.MethodOfSolution = s_.ReadEnum<TMethodOfSolution>(TMethodOfSolutionCount - 1);
            c.MethodOfCalculationNonCompressible = s_.ReadEnum<TMethodOfCalculationNonCompressible>(
                TMethodOfCalculationNonCompressibleCount - 1);
            c.MethodOfCalculationCompressible =
                s_.ReadEnum<TMethodOfCalculationCompressible>(TMethodOfCalculationCompressibleCount - 1);
            c.GasSystemCheckFinalNodeBalanceUsePercent = s_.ReadBool();
        } else {
            c.MethodOfSolution = LinearTheoryThenNewton;
            c.MethodOfCalculationNonCompressible = DarcyWeisbachEquation;
            c.MethodOfCalculationCompressible = CompleteIsothermalFlowEquation;
            c.GasSystemCheckFinalNodeBalanceUsePercent = true;
        }
        if (from(MethodParametersVersion))
            readCalculationSettings();
        else
            readEarlyCalculationSettings();
        if (c.NodeBalancingToleranceFinal_bar < 0.000001)
            c.NodeBalancingToleranceFinal_bar = 0.000018;
        if (from(ResultsColorsVersion)) {
            c.UseResultsColors = s_.ReadBool();
            c.ResultsColor1 = s_.ReadInt32();
            c.ResultsColor2 = s_.ReadInt32();
            c.ResultsColor3 = s_.ReadInt32();
            c.ResultsColorItem = s_.ReadEnum<TResultsColorItemEnum>(TResultsColorItemEnumCount - 1);
        }
    }

    void readParameters(int first, int last)
    {
        for (int i = first; i <= last; ++i)
            n_.ConfigOptions.CalculationParameters[static_cast<std::size_t>(i)] = s_.ReadDouble();
    }

    void setParameter(int index, double value)
    {
        n_.ConfigOptions.CalculationParameters[static_cast<std::size_t>(index)] = value;
    }

    // Files before the per-method warning parameters hold one NPSH tolerance
    // and one pair of velocity limits; every method takes them.
    void copyWarningParameters()
    {
        const auto &p = n_.ConfigOptions.CalculationParameters;
        const double npsh = p[3], liquidVelocity = p[4], gasVelocity = p[5];
        for (int i : {17, 28})
            setParameter(i, npsh);
        for (int i : {18, 29})
            setParameter(i, liquidVelocity);
        for (int i : {19, 30, 37, 45})
            setParameter(i, gasVelocity);
    }

    void readCalculationSettings()
    {
        TConfigOptions &c = n_.ConfigOptions;
        const bool perMethodWarnings = from(GroupWarningParametersVersion);
        readParameters(0, 2);
        if (perMethodWarnings)
            readParameters(3, 5);
        readParameters(6, 16);
        if (perMethodWarnings)
            readParameters(17, 19);
        readParameters(20, 27);
        if (perMethodWarnings)
            readParameters(28, 30);
        readParameters(31, 36);
        if (perMethodWarnings)
            readParameters(37, 37);
        if (v_ == ExtraBytesOnlyVersion)
            s_.Skip(8);
        readParameters(38, 44);
        if (perMethodWarnings)
            readParameters(45, 45);
        c.PipelineEfficiencyE = from(PipelineEfficiencyVersion) ? s_.ReadDouble() : 1.0;
        if (perMethodWarnings) {
            c.ZCompressibilityModel = s_.ReadEnum<TZCompressibilityModel>(TZCompressibilityModelCount - 1);
            c.ZCompressibilityFactor = s_.ReadDouble();
            if (c.ZCompressibilityFactor == 0)
                c.ZCompressibilityFactor = 1.0;
        } else {
            c.ZCompressibilityModel = IdealGasLawModel;
            c.ZCompressibilityFactor = 1.0;
        }
        c.NodeBalancingToleranceFinal_bar = s_.ReadDouble();
        if (!perMethodWarnings) {
            readParameters(3, 5);
            copyWarningParameters();
        }
    }

    // One set of values for all methods.
    void readEarlyCalculationSettings()
    {
        TConfigOptions &c = n_.ConfigOptions;
        double flowBalance_kgs = s_.ReadDouble();
        if (!from(FluidZonesVersion)) {
            const TFluid &fluid = n_.FluidZones[1].Fluid;
            flowBalance_kgs =
                convertFlowUnit(unt_m3_sec, unt_kg_sec, std_15degC_101325Pa, flowBalance_kgs, fluid.density_kgs_m3,
                                0, 288.15, 1.01325);
        }
        setParameter(NewtonDarcyFromLinearMinFlowBalanceKgPerSec, flowBalance_kgs);
        setParameter(NewtonDarcyFromDischargeEstMinFlowBalanceKgPerSec, flowBalance_kgs);
        const double loopInitial_bar = s_.ReadDouble();
        setParameter(NewtonDarcyFromDischargeEstMinLoopHeadBalanceInitialBar, loopInitial_bar);
        setParameter(NewtonDarcyFromLinearMinLoopHeadBalanceInitialBar, loopInitial_bar);
        const double loopFinal_bar = s_.ReadDouble();
        setParameter(NewtonDarcyFromDischargeEstMinLoopHeadBalanceFinalBar, loopFinal_bar);
        setParameter(NewtonDarcyFromLinearMinLoopHeadBalanceFinalBar, loopFinal_bar);
        c.NodeBalancingToleranceFinal_bar = 1.8 * loopFinal_bar;
        if (from(EarlyToleranceVersion))
            c.NodeBalancingToleranceFinal_bar = s_.ReadDouble();
        if (from(EarlySkippedValueVersion))
            s_.Skip(8);
        const double iterationsInitial = s_.ReadInt32();
        setParameter(NewtonDarcyFromDischargeEstMaxIterationsInitial, iterationsInitial);
        setParameter(NewtonDarcyFromLinearMaxIterationsInitial, iterationsInitial);
        const double iterationsFinal = s_.ReadInt32();
        setParameter(NewtonDarcyFromDischargeEstMaxIterationsFinal, iterationsFinal);
        setParameter(NewtonDarcyFromLinearMaxIterationsFinal, iterationsFinal);
        const double deltaFinal = s_.ReadDouble();
        setParameter(NewtonDarcyFromDischargeEstDeltaMultiperFinal, deltaFinal);
        setParameter(NewtonDarcyFromLinearDeltaMultiperFinal, deltaFinal);
        readParameters(6, 7);
        setParameter(3, from(EarlyNpshToleranceVersion) ? s_.ReadDouble() : 20.0);
        readParameters(4, 5);
        copyWarningParameters();
        if (from(EarlyDensityToleranceVersion)) {
            const double densityTolerance = s_.ReadDouble();
            for (int i : {2, 16, 27})
                setParameter(i, densityTolerance);
        }
        c.PipelineEfficiencyE = 1.0;
        c.ZCompressibilityModel = IdealGasLawModel;
        c.ZCompressibilityFactor = 1.0;
    }

    void readFreeTexts()
    {
        const int count = readCount(s_, TNetwork::MaxFreeTexts, "free text");
        for (int i = 1; i <= count; ++i)
            n_.FreeTexts.at(static_cast<std::size_t>(i)).Load(s_, v_);
        n_.FreeTextsCount = count;
    }

    void readBackgroundImages()
    {
        const int count = readCount(s_, TNetwork::MaxBackgroundImages, "background image");
        for (int i = 1; i <= count; ++i) {
            TBackgroundImage &image = n_.BackgroundImages[static_cast<std::size_t>(i)];
            image.Bitmap = std::make_unique<TBitmap>();
            image.BitmapAdjusted = std::make_unique<TBitmap>();
            // Counted before its data is read, so that a failure frees it.
            n_.BackgroundImagesCount = i;
            ReadBitmapFromStream(s_, *image.Bitmap);
            ReadBitmapFromStream(s_, *image.BitmapAdjusted);
            image.Bitmap->SetPixelFormat(TPixelFormat::pf24bit);
            image.BitmapAdjusted->SetPixelFormat(TPixelFormat::pf24bit);
            image.ImageX = s_.ReadInt32();
            image.ImageY = s_.ReadInt32();
            image.ImageStretchWidth = s_.ReadInt32();
            image.ImageStretchHeight = s_.ReadInt32();
            image.DisplayLayer = s_.ReadInt32();
            image.ImageOpacity = s_.ReadInt32();
            image.UseGreyScale = s_.ReadBool();
            image.HideImage = s_.ReadBool();
            image.Selected = false;
            image.OrigX = image.ImageX;
            image.Origy = image.ImageY;
        }
    }

    TNetwork &n_;
    TStream &s_;
    const std::string v_;
    std::vector<bool> linkedPipes_ = std::vector<bool>(TNetwork::MaxPipes + 1, false);
};

} // namespace

bool TNetwork::Load(TStream &TheFileStream)
{
    clearWhole(*this);
    try {
        FileHeader.Load(TheFileStream);
        const std::string version = FileHeader.VersionReference;
        if (VersionAtLeast(version, ReservedHeaderVersion))
            TheFileStream.Skip(ReservedHeaderBytes);

        const char separator = userDecimalSeparator();
        std::string numberText = version;
        NormaliseDecimalSeparator(numberText, separator);
        if (!IsRealText(numberText, separator)) {
            UserInterface->ShowMessage(TMessageKind::Information, FormatErrorMessage);
            clearWhole(*this);
            return false;
        }
        if (VersionBelow(CurrentVersion, version)) {
            UserInterface->ShowMessage(TMessageKind::Information,
                                       "The file was produced by Tessaran version " + version + "\r\r" +
                                           "and cannot be read this copy of Tessaran, version " + CurrentVersion +
                                           "\r\r");
            clearWhole(*this);
            return false;
        }

        TheFileStream.Skip(1);
        TNetworkFileReader(*this, TheFileStream, version).ReadBody();
        // Bytes after a whole network mean the file is not what it claims to be.
        if (TheFileStream.Remaining() != 0)
            throw ENetworkClass("bytes after the end of the network");

        TConfigOptions &c = ConfigOptions;
        c.ShowResultsColorKey = c.UseResultsColors;
        if (VersionBelow(version, FluidZonesVersion)) {
            c.UnitOfMassFlow = massFlowUnitForFlowUnit(c.UnitOfFlow, c.UnitOfDensity);
            c.UnitOfEnergy = (c.UnitOfFlow >= unt_m3_sec && c.UnitOfFlow <= unt_L_hour) ? unt_KW : unt_HP;
        }
        if (VersionBelow(version, GasFlowUnitVersion)) {
            if (isMetricUnit(c.UnitOfMassFlow)) {
                c.UnitOfGasFlow = unt_SCMH;
                c.GasFlowTemperaturePressureModel = std_15degC_101325Pa;
            } else {
                c.UnitOfGasFlow = unt_SCFM;
                c.GasFlowTemperaturePressureModel = std_68degF_14pt696Psi;
            }
        }
        if (VersionBelow(version, MethodParametersVersion) && c.ResultsColorItem == ResultsFlow)
            c.ResultsColorItem = ResultsVelocity;

        // Pump curves and component heads follow the density of each pipe's zone.
        bool anyComponent = false;
        auto refreshPipe = [&](int pipeId) {
            TPipe &pipe = GetPipe(pipeId);
            const double density = GetPipeFluid(pipeId).density_kgs_m3;
            pipe.Pump.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density);
            pipe.Pump.calcPumpCurves(density);
            pipe.ComponentPressure.UpdateToStoredFluidHeadIfDisplaySetFluidHead(density);
            if (pipe.ComponentPressureCount > 0)
                anyComponent = true;
        };
        for (int i = 1; i <= NodeLinksCount; ++i)
            refreshPipe(NodeLinks[static_cast<std::size_t>(i)].PipeId);
        for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
            refreshPipe(NodeLinksClosedPipe[static_cast<std::size_t>(i)].PipeId);

        if ((version == "4.10" || version == "4.11") && anyComponent)
            UserInterface->ShowMessage(
                TMessageKind::Warning,
                "The system being loaded was saved with a previous version of Tessaran: Version " + version +
                    "\r\r" + "Due to a specific issue with program release " + version + ", " +
                    "pressure loss component data could have been saved incorrectly." + "\r\r" +
                    "Pressure loss component data means the data associated with a Fixed Loss Component or "
                    "Curve Loss Component on a pipe." +
                    "\r\r" +
                    "Most systems will be unaffected by this issue however as a precaution we recommend that "
                    "you should" +
                    "\r" + "REVIEW ANY PRESSURE LOSS COMPONENTS IN YOUR SYSTEM TO ENSURE THE DATA IS VALID." +
                    " " + "\r");

        if (ExistsNodeOffScreen()) {
            UserInterface->ShowMessage(
                TMessageKind::Warning,
                std::string("The system has nodes that have been moved off the visible grid.") + "\r\r" +
                    "In previous versions of the software, the selection tool did not stop the user if they "
                    "attempted to move items off the grid." +
                    "\r\r" + "Any pipes or nodes that are not within the visible grid area will be removed. " +
                    "\r");
            SelectItemsOffScreen();
            DeleteSelectedItems();
        }

        CheckLoadOfOldSystemVersion();

        SetAllFlowControlEquivalentMassFlowRates();
        SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
        SetAllComponentEquivalentMassFlowRates();
        SetDefaultReportOptionPipeData();
        SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
        SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();
    } catch (...) {
        UserInterface->ShowMessage(TMessageKind::Information, FormatErrorMessage);
        clearWhole(*this);
        return false;
    }
    return true;
}

void TNetwork::CheckLoadOfOldSystemVersion()
{
    const std::string &version = FileHeader.VersionReference;
    if (VersionBelow(OldSystemNoticeVersion, version) || UserInterface->TestResultsMode() != 0)
        return;
    UserInterface->ShowMessage(
        TMessageKind::Information,
        "The system being loaded was saved with an old version of the software (version " + version + ")" + "\r\r" +
            "Note: The current version (" + CurrentVersion + ") requires the following:" + "\r\r" +
            "  1. Fittings are specified at the start or end of a pipe" + "\r" +
            "  2. Pumps are specified at the start of a pipe" + "\r" +
            "  3. Components are specified at the end of a pipe (for gas systems)" + "\r\r" +
            "The software will automatically update the position of these items." + "\r\r" +
            "In most cases any updates will not affect the calculations, however " +
            "updating a Pump's position may change the NPSH available calculation since previously " +
            "a component may have been positioned on the same pipe but in front of the pump. " + "\r\r" +
            "After loading, please check that the 'arrangement' of the model meets your requirements." + "\r\r");
}

} // namespace tessaran
