// The network's tables, lifecycle, free texts, fluid zones, background
// images and report-option forwarding.

#include "network/Network_Class.h"

#include "platform/Pascal.h"
#include "units/Units.h"

#include <cmath>

namespace tessaran {

namespace {

// Splits a text into lines the way a string list takes its text: CR, LF and
// CR LF all end a line, and a break at the very end adds no empty line.
std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
        ++i;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

TNetwork::TNetwork()
    : FreeTexts(MaxFreeTexts + 1), PipeLoops(MaxLoops + 1), defaultPipe_(std::make_unique<TPipe>())
{
    ConfigOptions.DefaultPipe = defaultPipe_.get();
    ResetDefaultPipeValues();
    Clear();
}

TNetwork::~TNetwork() = default;

void TNetwork::Clear()
{
    solvedSuccessful = false;
    HighlightPipeIdForNetworkFormTimer = 0;
    WarningCount = 0;
    CommentCount = 0;
    PipeLoopsMessagesOn = true;

    NodeSet.Clear();
    PipeSet.Clear();
    TempNode1.Clear();
    TempPipe1.Clear();
    SetNormalDrawing();

    NodeLinksCount = 0;
    NodeLinksFlowControlCount = 0;
    NodeLinksPumpAtSetFlowRateCount = 0;
    NodeLinksClosedPipeCount = 0;
    NodeLinksPreventBackflowCount = 0;
    // The saved table's count is the solver preparation's to restore.
    NodeLinks.fill({});
    NodeLinksClosedPipe.fill({});
    NodeLinksSaved.fill({});
    NodeLinksFlowControl.fill({});
    NodeLinksPumpAtSetFlowRate.fill({});
    NodeLinksPreventBackflow.fill({});

    PipeLoopsPipeCount.fill(0);
    for (auto &loop : PipeLoops)
        loop.Clear();
    PipeLoopsCount = 0;

    ConfigOptions.PressureReference = PressureGage;
    ConfigOptions.Atmosphere_bar_a = 1.01325;
    ConfigOptions.UnitOfAtmosphere = unt_Bar_A;
    ConfigOptions.SetMetricUnits();
    ResetDefaultPipeValues();
    // Label flags, text sizes, tolerances, methods, compressibility, the
    // calculation parameters of all five methods and the results colours.
    ConfigOptions.ResetDefaults();

    const auto &parameters = ConfigOptions.CalculationParameters;
    const double minVelocity = parameters[NewtonDarcyFromDischargeEstMinVelocity_mPerSec];
    const double maxVelocity = parameters[NewtonDarcyFromDischargeEstMaxVelocity_mPerSec];
    CurrentGuessFlowVelocity_ms = minVelocity;
    for (int i = 1; i <= InitialGuessVelocityCount; ++i)
        NetworkClass_ArrayInitialGuessFlowVelocity_ms[static_cast<std::size_t>(i)] =
            minVelocity + (i - 1) * (maxVelocity - minVelocity) / InitialGuessVelocityCount;

    FreeTextsCount = 0;
    for (auto &text : FreeTexts)
        text.Clear();

    ClearBackgroundImages();

    CurrentFluidZone = 1;
    FluidZonesCount = 1;
    for (int i = 1; i <= MaxFluidZones; ++i) {
        auto &zone = FluidZones[static_cast<std::size_t>(i)];
        zone.Fluid.Clear();
        zone.Color = FluidZoneDefaultColors[static_cast<std::size_t>(i)];
        zone.ShowColor = true;
    }
    // The report's pipe columns depend on the kind of system, so they are
    // set once the zones are back to water rather than from the fluids of
    // the system being cleared away.
    ClearPDFReportOptions();

    MatrixEquations.ClearResults(0, TMatrixEquations::MaxDimension);
    MatrixEquationsFlowContinuity.ClearResults(0, TMatrixEquations::MaxDimension);
}

void TNetwork::ResetDefaultPipeValues()
{
    TPipe &pipe = *ConfigOptions.DefaultPipe;
    pipe.Clear();
    pipe.Name = "Default Pipe";
    pipe.Length_m = 3.048;
    pipe.InnerDiameter_m = 0.10226;
    pipe.InnerRoughness_m = 0.000046;
    pipe.Material = "Steel";
    pipe.NominalDiameterMetric = 100;
    pipe.NominalDiameterMetricString = "100 mm";
    pipe.NominalDiameterImperialString = "4\"";
    pipe.SpecificationReference = "";
    pipe.ScheduleClass = "Sch. 40";
    pipe.OuterDiameter_m = 0.1143;
    pipe.WallThickness_m = 0.00602;
    pipe.WeightPerMetre_kg = 16.0751;
}

void TNetwork::ClearBackgroundImages()
{
    BackgroundImagesCount = 0;
    for (int i = 1; i <= MaxBackgroundImages; ++i) {
        auto &image = BackgroundImages[static_cast<std::size_t>(i)];
        image.Bitmap.reset();
        image.BitmapAdjusted.reset();
        image.ImageX = 0;
        image.ImageY = 0;
        image.ImageStretchWidth = 400;
        image.ImageStretchHeight = 400;
        image.DisplayLayer = 2;
        image.ImageOpacity = 100;
        image.UseGreyScale = false;
        image.HideImage = false;
        image.Selected = false;
        image.OrigX = 0;
        image.Origy = 0;
    }
}

void TNetwork::SetNormalDrawing()
{
    IsometricDrawing = false;
    SymbolScale = 1.0;
    MetaFileDrawing_XGridSpacing = 40;
    MetaFileDrawing_YGridSpacing = 40;
    IsometricXRadAng = 0;
    IsometricYRadAng = 0;
}

void TNetwork::SetisometricDrawing()
{
    IsometricDrawing = true;
    SymbolScale = 1.2;
    MetaFileDrawing_XGridSpacing = 40;
    MetaFileDrawing_YGridSpacing = 40;
    IsometricXRadAng = 0.7853981633974483;
    IsometricYRadAng = std::atan(0.5);
}

void TNetwork::ExtractCopyOfPipeSet(TPipeSet &ToThePipeSet) const { ToThePipeSet.CopyPipeSet(PipeSet); }

void TNetwork::ExtractCopyOfNodeSet(TNodeSet &ToTheNodeSet) const { ToTheNodeSet.CopyNodeSet(NodeSet); }

// --- Nodes -------------------------------------------------------------------

int TNetwork::AddNode(const TNode &TheNode) { return NodeSet.AddNode(TheNode); }

void TNetwork::RemoveNode(int TheNodeId) { NodeSet.RemoveNode(TheNodeId); }

int TNetwork::GetNodeCount() const { return NodeSet.NumberOfNodesUsed(); }

int TNetwork::GetNextNodeId(int CurrentNodeId) const { return NodeSet.getNextNodeId(CurrentNodeId); }

int TNetwork::GetPreviousNodeId(int CurrentNodeId) const { return NodeSet.getPreviousNodeId(CurrentNodeId); }

int TNetwork::GetHighestNodeId() const { return NodeSet.getHighestNodeId(); }

int TNetwork::GetNodeIdFromName(const std::string &TheNodeName) const
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (GetNode(id).Name == TheNodeName)
            return id;
    return -1;
}

int TNetwork::ExistsNodeWithSamePosition(int X, int Y, int CurrentNodeId) const
{
    return NodeSet.ExistsNodeWithSamePosition(X, Y, CurrentNodeId);
}

int TNetwork::ExistsNodeWithinGivenDistance(int X, int Y, int xDistance, int yDistance, double OfScaleOrHigher,
                                            int CurrentNodeId) const
{
    return NodeSet.ExistsNodeWithinGivenDistance(X, Y, xDistance, yDistance, OfScaleOrHigher, CurrentNodeId);
}

// --- Pipes -------------------------------------------------------------------

int TNetwork::AddPipe(const TPipe &ThePipe) { return PipeSet.AddPipe(ThePipe); }

void TNetwork::RemovePipe(int ThePipeId) { PipeSet.RemovePipe(ThePipeId); }

int TNetwork::GetPipeIdFromName(const std::string &ThePipeName) const
{
    return PipeSet.GetPipeIdFromName(ThePipeName);
}

int TNetwork::GetPipeCount() const { return PipeSet.NumberOfPipesUsed(); }

int TNetwork::GetNextPipeId(int CurrentPipeId) const
{
    if (CurrentPipeId == 0)
        return NodeLinksCount > 0 ? NodeLinks[1].PipeId : 0;
    const int position = findLink(NodeLinks, NodeLinksCount, CurrentPipeId);
    if (position == 0 || position >= NodeLinksCount)
        return 0;
    return NodeLinks[static_cast<std::size_t>(position + 1)].PipeId;
}

int TNetwork::GetPreviousPipeId(int CurrentPipeId) const
{
    if (CurrentPipeId == 0)
        return NodeLinksCount > 0 ? NodeLinks[static_cast<std::size_t>(NodeLinksCount)].PipeId : 0;
    const int position = findLink(NodeLinks, NodeLinksCount, CurrentPipeId);
    if (position <= 1)
        return 0;
    return NodeLinks[static_cast<std::size_t>(position - 1)].PipeId;
}

int TNetwork::GetHighestPipeId() const
{
    return NodeLinksCount > 0 ? NodeLinks[static_cast<std::size_t>(NodeLinksCount)].PipeId : 0;
}

int TNetwork::GetNextClosedPipeId(int CurrentPipeId) const
{
    if (CurrentPipeId == 0)
        return NodeLinksClosedPipeCount > 0 ? NodeLinksClosedPipe[1].PipeId : 0;
    const int position = findLink(NodeLinksClosedPipe, NodeLinksClosedPipeCount, CurrentPipeId);
    if (position == 0 || position >= NodeLinksClosedPipeCount)
        return 0;
    return NodeLinksClosedPipe[static_cast<std::size_t>(position + 1)].PipeId;
}

int TNetwork::GetPipeSelectedCount() const
{
    int count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (GetPipe(NodeLinks[static_cast<std::size_t>(i)].PipeId).Selected)
            ++count;
    return count;
}

void TNetwork::GetTStringsOfPipeIdForDropdownList(std::vector<std::string> &TheStrings) const
{
    auto add = [&TheStrings](int pipeId) {
        std::string id = std::to_string(pipeId);
        if (id.size() < 4)
            id.insert(0, 4 - id.size(), ' ');
        TheStrings.push_back("Pipe:" + id);
    };
    for (int i = 1; i <= NodeLinksCount; ++i)
        add(NodeLinks[static_cast<std::size_t>(i)].PipeId);
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
        add(NodeLinksClosedPipe[static_cast<std::size_t>(i)].PipeId);
}

// --- Selection counts ----------------------------------------------------------

int TNetwork::GetNumberOfNodesSelected() const
{
    int count = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (GetNode(id).Selected)
            ++count;
    return count;
}

int TNetwork::GetNumberOfItemsSelected() const
{
    int count = GetNumberOfNodesSelected();
    for (int i = 1; i <= FreeTextsCount; ++i)
        if (GetFreeText(i).Selected)
            ++count;
    return count;
}

int TNetwork::GetSelectedNodeId() const
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (GetNode(id).Selected)
            return id;
    return 0;
}

// --- Free texts ------------------------------------------------------------------

int TNetwork::AddFreeText(const std::string &TheTextStrings, int x, int y, TColor TheColor, int TheSize,
                          TFontStyles TheStyle)
{
    if (FreeTextsCount >= MaxFreeTexts)
        return 0;
    ++FreeTextsCount;
    TFreeText &text = GetFreeText(FreeTextsCount);
    text.TextStrings = splitLines(TheTextStrings);
    text.x = x;
    text.y = y;
    text.Color = TheColor;
    text.Size = TheSize;
    text.Style = TheStyle;
    return FreeTextsCount;
}

void TNetwork::RemoveFreeText(int FreeTextId)
{
    if (FreeTextId < 1 || FreeTextId > FreeTextsCount)
        return;
    for (int i = FreeTextId; i < FreeTextsCount; ++i)
        GetFreeText(i).CopyFreeText(GetFreeText(i + 1));
    --FreeTextsCount;
}

// --- Fluid zones -------------------------------------------------------------------

const TFluid &TNetwork::GetPipeFluid(int ThePipeId) const
{
    int zone = GetPipe(ThePipeId).FluidZoneIndex;
    if (zone < 1 || zone > MaxFluidZones)
        zone = 1;
    return FluidZones[static_cast<std::size_t>(zone)].Fluid;
}

int TNetwork::GetNodeFluidZoneIndex(int TheNodeId) const
{
    const TNodeType type = GetNode(TheNodeId).NodeType;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
        const bool found = (type == Tank || type == EndPressure)
                               ? (link.FromNodeId == TheNodeId || link.ToNodeId == TheNodeId)
                               : (type == Joint && link.FromNodeId == TheNodeId);
        if (found)
            return GetPipe(link.PipeId).FluidZoneIndex;
    }
    if (type == Joint)
        for (int i = 1; i <= NodeLinksCount; ++i) {
            const TNodeLink &link = NodeLinks[static_cast<std::size_t>(i)];
            if (link.ToNodeId == TheNodeId)
                return GetPipe(link.PipeId).FluidZoneIndex;
        }
    return 1;
}

std::vector<int> TNetwork::NodeFluidZoneIndexes() const
{
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    const auto valid = [](int id) { return id >= 1 && id <= MaxNodes; };
    // The first link that touches, leaves and enters each node.
    std::vector<int> firstTouch(at(MaxNodes + 1), 0), firstOut(at(MaxNodes + 1), 0), firstIn(at(MaxNodes + 1), 0);
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        for (const int id : {link.FromNodeId, link.ToNodeId})
            if (valid(id) && firstTouch[at(id)] == 0)
                firstTouch[at(id)] = i;
        if (valid(link.FromNodeId) && firstOut[at(link.FromNodeId)] == 0)
            firstOut[at(link.FromNodeId)] = i;
        if (valid(link.ToNodeId) && firstIn[at(link.ToNodeId)] == 0)
            firstIn[at(link.ToNodeId)] = i;
    }
    std::vector<int> zones(at(MaxNodes + 1), 1);
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        if (!valid(id))
            continue;
        const TNodeType type = GetNode(id).NodeType;
        int k = 0;
        if (type == Tank || type == EndPressure)
            k = firstTouch[at(id)];
        else if (type == Joint)
            k = firstOut[at(id)] > 0 ? firstOut[at(id)] : firstIn[at(id)];
        if (k > 0)
            zones[at(id)] = GetPipe(NodeLinks[at(k)].PipeId).FluidZoneIndex;
    }
    return zones;
}

bool TNetwork::IsAllGasSystem() const
{
    if (NodeLinksCount == 0)
        return FluidZones[1].Fluid.FluidIsGas;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (!GetPipeFluid(NodeLinks[static_cast<std::size_t>(i)].PipeId).FluidIsGas)
            return false;
    return true;
}

bool TNetwork::IsAllLiquidSystem() const
{
    if (NodeLinksCount == 0)
        return !FluidZones[1].Fluid.FluidIsGas;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (GetPipeFluid(NodeLinks[static_cast<std::size_t>(i)].PipeId).FluidIsGas)
            return false;
    return true;
}

double TNetwork::GetNodeHGL(int TheNodeId) const
{
    const TNode &node = GetNode(TheNodeId);
    int zone = GetNodeFluidZoneIndex(TheNodeId);
    if (zone < 1 || zone > MaxFluidZones)
        zone = 1;
    const TFluid &fluid = FluidZones[static_cast<std::size_t>(zone)].Fluid;
    return convertPressure(unt_Bar_G, unt_m_hd_fluid, node.Pressure_Bar_g, ConfigOptions.Atmosphere_bar_a,
                           fluid.density_kgs_m3) +
           node.Elevation_m;
}

// --- Background images ----------------------------------------------------------------

void TNetwork::DeleteBackgroundImage(int ImageIndex)
{
    if (BackgroundImagesCount <= 0 || ImageIndex > BackgroundImagesCount || ImageIndex < 1)
        return;
    auto copyBitmap = [](std::unique_ptr<TBitmap> &to, const std::unique_ptr<TBitmap> &from) {
        if (from) {
            if (to)
                *to = *from;
            else
                to = std::make_unique<TBitmap>(*from);
        } else {
            to.reset();
        }
    };
    for (int i = ImageIndex; i < BackgroundImagesCount; ++i) {
        auto &to = BackgroundImages[static_cast<std::size_t>(i)];
        const auto &from = BackgroundImages[static_cast<std::size_t>(i + 1)];
        copyBitmap(to.Bitmap, from.Bitmap);
        copyBitmap(to.BitmapAdjusted, from.BitmapAdjusted);
        to.ImageX = from.ImageX;
        to.ImageY = from.ImageY;
        to.ImageStretchWidth = from.ImageStretchWidth;
        to.ImageStretchHeight = from.ImageStretchHeight;
        to.DisplayLayer = from.DisplayLayer;
        to.ImageOpacity = from.ImageOpacity;
        to.UseGreyScale = from.UseGreyScale;
        to.HideImage = from.HideImage;
        to.Selected = from.Selected;
        to.OrigX = from.OrigX;
        to.Origy = from.Origy;
    }
    auto &last = BackgroundImages[static_cast<std::size_t>(BackgroundImagesCount)];
    last.Bitmap.reset();
    last.BitmapAdjusted.reset();
    --BackgroundImagesCount;
}

// --- Report options ---------------------------------------------------------------------

void TNetwork::ClearPDFReportOptions() { ReportOptions.ClearPDFReportOptions(IsAllGasSystem()); }

void TNetwork::SetDefaultReportOptionPipeData() { ReportOptions.SetDefaultReportOptionPipeData(IsAllGasSystem()); }

void TNetwork::SetDefaultReportOptionNodeData() { ReportOptions.SetDefaultReportOptionNodeData(); }

void TNetwork::SetDefaultReportOptionEnergyData() { ReportOptions.SetDefaultReportOptionEnergyData(); }

void TNetwork::SaveReportOptions(TStream &TheFileStream) const
{
    ReportOptions.SaveReportOptions(TheFileStream, IsAllGasSystem());
}

void TNetwork::LoadReportOptions(TStream &TheFileStream)
{
    ReportOptions.LoadReportOptions(TheFileStream, IsAllGasSystem(), *UserInterface);
}

void TNetwork::LoadReportOptionsFirstV638(TStream &TheFileStream)
{
    ReportOptions.LoadReportOptionsFirstV638(TheFileStream);
}

} // namespace tessaran
