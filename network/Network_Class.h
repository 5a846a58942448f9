#pragma once
// The model of one open system: the node and pipe tables, the link tables
// that join pipes to nodes, free texts, fluid zones, background images, the
// settings and report options, the drawing mode and the solver's work data.
//
// The main window owns one network per tab and one as the clipboard of copy
// and paste. Operations are split by concern over several source files:
// Network_Class.cpp (tables, lifecycle, zones, images), Network_Links.cpp
// (link tables and topology queries), Network_Selection.cpp (selection,
// edits and geometry tests) and Network_Transforms.cpp (extents, grid snap,
// view conversions, rotations).

#include "model/FileHeader.h"
#include "model/Free_Text_Class.h"
#include "model/Fluid_Class.h"
#include "model/Node_Class.h"
#include "model/Node_Set_Class.h"
#include "model/Pipe_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "model/Pipe_Set_Class.h"
#include "network/Config_Options.h"
#include "network/Matrix_Equations.h"
#include "network/Network_States.h"
#include "network/Report_Options.h"
#include "network/User_Interface_Seam.h"
#include "platform/Bitmap.h"
#include "platform/Graphics.h"
#include "units/Calculation_Enums.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaran {

class TStream;

class ENetworkClass : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One pipe between two nodes; a positive flow runs from FromNodeId to ToNodeId.
struct TNodeLink {
    std::int32_t FromNodeId = 0;
    std::int32_t ToNodeId = 0;
    std::int32_t PipeId = 0;
    friend bool operator==(const TNodeLink &, const TNodeLink &) = default;
};

// A pipe that carries a flow control during a calculation, with the joint
// node and pipe copy inserted for a pressure-reducing or back-pressure valve
// (0 for a flow-control valve).
struct TFlowControlLink {
    std::int32_t FromNodeId = 0;
    std::int32_t ToNodeId = 0;
    std::int32_t PipeId = 0;
    std::int32_t ControlNodeId = 0;
    std::int32_t ControlPipeId = 0;
    TControlType ControlType = FCV;
    friend bool operator==(const TFlowControlLink &, const TFlowControlLink &) = default;
};

// One node's entry in the work table of the loop finder's path search.
struct TShortestPathEntry {
    std::int32_t Distance = 2147483647; // pipes from the search's start node
    std::int32_t PreviousNodeId = 0;    // where the shortest path comes from
    std::int32_t PipeId = 0;            // the pipe between that node and this one
    bool Visited = false;               // the distance is final
};

// The pipe ids of one stored loop, addressed 1.. in walking order. Entries
// past those written read 0; writing past the end lengthens the loop's
// storage, so loops hold only what they use and move as a whole.
class TPipeLoopEntries {
public:
    std::int32_t operator[](std::size_t entry) const { return entry < pipes_.size() ? pipes_[entry] : 0; }
    std::int32_t &operator[](std::size_t entry)
    {
        if (entry >= pipes_.size())
            pipes_.resize(entry + 1, 0);
        return pipes_[entry];
    }
    // Every entry 0 again; the storage is kept for the next loop.
    void Clear() { pipes_.clear(); }
    // The whole loop written at once: entries 0.. from first to last.
    void Assign(const std::int32_t *first, const std::int32_t *last) { pipes_.assign(first, last); }
    // Entries 0..Size()-1 as stored (entry 0 unused).
    std::size_t Size() const { return pipes_.size(); }
    std::int32_t *begin() { return pipes_.data(); }
    std::int32_t *end() { return pipes_.data() + pipes_.size(); }
    const std::int32_t *begin() const { return pipes_.data(); }
    const std::int32_t *end() const { return pipes_.data() + pipes_.size(); }

private:
    std::vector<std::int32_t> pipes_;
};

struct TFluidZone {
    TFluid Fluid;
    TColor Color = clWhite;
    bool ShowColor = true;
};

struct TBackgroundImage {
    std::unique_ptr<TBitmap> Bitmap;         // as loaded
    std::unique_ptr<TBitmap> BitmapAdjusted; // as adjusted for display
    std::int32_t ImageX = 0, ImageY = 0;
    std::int32_t ImageStretchWidth = 400, ImageStretchHeight = 400;
    std::int32_t DisplayLayer = 2;
    std::int32_t ImageOpacity = 100;
    bool UseGreyScale = false;
    bool HideImage = false;
    bool Selected = false;
    std::int32_t OrigX = 0, Origy = 0;
};

// Counts and totals of a network for the solve summary.
struct TSystemSummaryData {
    int PipesCount = 0, TanksCount = 0, JointsCount = 0, DemandPressuresCount = 0;
    int PumpsCount = 0, ComponentsCount = 0, FlowControlsCount = 0;
    double TotalFlowDemandsIn_m3s = 0, TotalFlowDemandsOut_m3s = 0, TotalFlowControls_m3s = 0;
    double SystemVolume_m3 = 0;
    double TotalFrictionLosses_mHd = 0, TotalFittingLosses_mHd = 0, TotalComponentLosses_mHd = 0,
           TotalFlowControlLosses_mHd = 0;
    double HighestLoopLoss_bar = 0;
    double TotalPumpHeadAdded_mHd = 0;
    double LowestElevation_m = 999999999.9;
    std::string LowestElevationNodeName;
    double HighestElevation_m = -999999999.9;
    std::string HighestElevationNodeName;
};

// The open pipes leaving (first) and entering (second) each node that links
// name, by node id: read like a map of those nodes (find, end, contains).
class TFlowPipeCounts {
public:
    using Entry = std::pair<int, std::pair<int, int>>;
    void Count(int nodeId, bool out)
    {
        Entry *entry = nullptr;
        if (nodeId >= 0) {
            if (static_cast<std::size_t>(nodeId) >= byId_.size()) {
                byId_.resize(static_cast<std::size_t>(nodeId) + 1);
                linked_.resize(static_cast<std::size_t>(nodeId) + 1, 0);
            }
            entry = &byId_[static_cast<std::size_t>(nodeId)];
            linked_[static_cast<std::size_t>(nodeId)] = 1;
        } else {
            entry = &others_[nodeId];
        }
        entry->first = nodeId;
        ++(out ? entry->second.first : entry->second.second);
    }
    const Entry *find(int nodeId) const
    {
        if (nodeId >= 0)
            return static_cast<std::size_t>(nodeId) < linked_.size() && linked_[static_cast<std::size_t>(nodeId)] != 0
                       ? &byId_[static_cast<std::size_t>(nodeId)]
                       : nullptr;
        const auto found = others_.find(nodeId);
        return found == others_.end() ? nullptr : &found->second;
    }
    const Entry *end() const { return nullptr; }
    bool contains(int nodeId) const { return find(nodeId) != nullptr; }

private:
    std::vector<Entry> byId_;
    std::vector<char> linked_;
    std::map<int, Entry> others_; // ids below 0
};

class TNetwork {
public:
    static constexpr int MaxNodes = 1000;
    static constexpr int MaxPipes = 1000;
    static constexpr int MaxLinks = 1000;
    static constexpr int MaxFreeTexts = 1000;
    static constexpr int MaxFluidZones = 20;
    static constexpr int MaxBackgroundImages = 10;
    static constexpr int MaxLoops = 1000;
    static constexpr int MaxLoopPipes = 1000;
    static constexpr int InitialGuessVelocityCount = 100;
    // The drawing sheet in drawing units.
    static constexpr int SheetWidth = 18060;
    static constexpr int SheetHeight = 12020;
    static constexpr std::array<TColor, 21> FluidZoneDefaultColors = {
        0,        0xFFFFFF, 0xC0C0FF, 0xA0A0D0, 0x6FA9FF, 0xC0E6E6, 0xC0FFC0, 0xFFFFC0,
        0xFFE0C0, 0xFFC0FF, 0xFFC0C0, 0xC9C9C9, 0x4040FF, 0x6060C0, 0x4080FF, 0x00C0C0,
        0x80FF80, 0xFFFF80, 0xFFD060, 0xFF80FF, 0xFF8080};

    using TNodeLinks = std::array<TNodeLink, MaxLinks + 1>; // 1-based

    TNetwork();
    TNetwork(const TNetwork &) = delete;
    TNetwork &operator=(const TNetwork &) = delete;
    ~TNetwork();

    // --- Lifecycle, drawing mode -------------------------------------------
    void Clear();
    void ResetDefaultPipeValues();
    void ClearBackgroundImages();
    void SetNormalDrawing();
    void SetisometricDrawing();
    void ExtractCopyOfPipeSet(TPipeSet &ToThePipeSet) const;
    void ExtractCopyOfNodeSet(TNodeSet &ToTheNodeSet) const;

    // --- Nodes ---------------------------------------------------------------
    int AddNode(const TNode &TheNode);
    void RemoveNode(int TheNodeId);
    TNode &GetNode(int TheNodeId) { return NodeSet.GetNode(TheNodeId); }
    const TNode &GetNode(int TheNodeId) const { return NodeSet.GetNode(TheNodeId); }
    int GetNodeCount() const;
    int GetNextNodeId(int CurrentNodeId) const;
    int GetPreviousNodeId(int CurrentNodeId) const;
    int GetHighestNodeId() const;
    int GetNodeIdFromName(const std::string &TheNodeName) const;
    int ExistsNodeWithSamePosition(int X, int Y, int CurrentNodeId) const;
    int ExistsNodeWithinGivenDistance(int X, int Y, int xDistance, int yDistance, double OfScaleOrHigher,
                                      int CurrentNodeId) const;

    // --- Pipes (iterated in link order) ----------------------------------------
    int AddPipe(const TPipe &ThePipe);
    void RemovePipe(int ThePipeId);
    TPipe &GetPipe(int ThePipeId) { return PipeSet.GetPipe(ThePipeId); }
    const TPipe &GetPipe(int ThePipeId) const { return PipeSet.GetPipe(ThePipeId); }
    int GetPipeIdFromName(const std::string &ThePipeName) const;
    int GetPipeCount() const;
    int GetNextPipeId(int CurrentPipeId) const;
    int GetPreviousPipeId(int CurrentPipeId) const;
    int GetHighestPipeId() const;
    int GetNextClosedPipeId(int CurrentPipeId) const;
    int GetPipeSelectedCount() const;
    void GetTStringsOfPipeIdForDropdownList(std::vector<std::string> &TheStrings) const;

    // --- Selection counts --------------------------------------------------------
    int GetNumberOfNodesSelected() const;
    int GetNumberOfItemsSelected() const;
    int GetSelectedNodeId() const;

    // --- Free texts (addressed by position 1..FreeTextsCount) ----------------------
    int AddFreeText(const std::string &TheTextStrings, int x, int y, TColor TheColor, int TheSize,
                    TFontStyles TheStyle);
    TFreeText &GetFreeText(int FreeTextId) { return FreeTexts[static_cast<std::size_t>(FreeTextId)]; }
    const TFreeText &GetFreeText(int FreeTextId) const { return FreeTexts[static_cast<std::size_t>(FreeTextId)]; }
    void RemoveFreeText(int FreeTextId);

    // --- Fluid zones and fluids ----------------------------------------------------
    int GetNodeFluidZoneIndex(int TheNodeId) const;
    // GetNodeFluidZoneIndex of every node id 1..MaxNodes (entry 0 unused),
    // in one pass over the links.
    std::vector<int> NodeFluidZoneIndexes() const;
    bool IsAllGasSystem() const;
    bool IsAllLiquidSystem() const;
    double GetNodeHGL(int TheNodeId) const;
    void UpdateSelectedItemsToFluidZone(int FluidZoneIndex);
    void UpdateFluidZoneInPipes(int FromFluidZoneIndex, int ToFluidZoneIndex);
    void DeleteFluidZone(int FluidZoneIndex);
    void CopyFluidZonesFrom(const TNetwork &TheNetwork);
    // The fluid of the zone a pipe lies in (zone 1 for an index out of range).
    const TFluid &GetPipeFluid(int ThePipeId) const;

    void DeleteBackgroundImage(int ImageIndex);

    // --- Report options (forwarded with this network's kind of system) --------------
    void ClearPDFReportOptions();
    void SetDefaultReportOptionPipeData();
    void SetDefaultReportOptionNodeData();
    void SetDefaultReportOptionEnergyData();
    void SaveReportOptions(TStream &TheFileStream) const;
    void LoadReportOptions(TStream &TheFileStream);
    void LoadReportOptionsFirstV638(TStream &TheFileStream);

    // --- Selection, drawing edits and geometry (Network_Selection.cpp) --------------
    void SetSelectedItems(const TNetworkStates &TheNetworkStates);
    void DeselectItems();
    void ResetSelectedNodesXY(int offsetX, int offsetY);
    void MoveSelectedNodes(int offsetX, int offsetY);
    void MoveAllBackgroundImages(int offsetX, int offsetY);
    void DeleteSelectedItems();
    void UpdateSelectedItemsToAutoNameIds();
    void AddOnNetworkSelection(const TNetwork &TheNetwork);

    static bool IsPointOnLine(int PointX, int PointY, int LineX1, int LineY1, int LineX2, int LineY2);
    static void SnapPointToLine(int &PointX, int &PointY, int LineX1, int LineY1, int LineX2, int LineY2);
    int IsPointOnAnyNetworkLine(int PointX, int PointY) const;
    int IsPointOnAnyClosedNetworkLine(int PointX, int PointY) const;
    int IsPointOnAnyLineFromThisNode(int TheNodeId, int PointX, int PointY) const;
    int IsPointOnAnyLineNotFromThisNode(int TheNodeId, int PointX, int PointY) const;
    bool ExistsNodesOnPipeLinkLine(int TheFromNodeId, int TheToNodeId) const;
    bool ExistsNodesOnPipeLine(int LineX1, int LineY1, int LineX2, int LineY2) const;
    bool ExistsNodesOnAnyLineFromThisNode(int TheNodeId) const;
    bool ExistsAnyNodeOrPipeDrawingIssue() const;

    static bool IsOnSheet(int x, int y);
    bool ExistsNodeOffScreen() const;
    bool ExistsSelectedNodeOffScreen() const;
    void SelectItemsOffScreen();

    void SetPumpPercentagePositionFromXY(int ThePipeId);
    void SetPumpXYFromPercentagePosition(int ThePipeId);

    // --- Drawing transforms (Network_Transforms.cpp) ---------------------------------
    void GetMinMaxXY(int &x1, int &y1, int &x2, int &y2, bool NodeOnly) const;
    void GetMinMaxXYSelection(int &x1, int &y1, int &x2, int &y2, bool NodeOnly) const;
    void CalcSnapToGridXY(int &MetaFileX, int &MetaFileY) const;
    void RotateNormalPointToIso(int x, int y, int xNormalZeroRef, int yNormalZeroRef, int xIsoZeroRef,
                                int yIsoZeroRef, int &xIso, int &yIso) const;
    void RotateIsoPointToNormal(int x, int y, int xIsoZeroRef, int yIsoZeroRef, int xNormalZeroRef,
                                int yNormalZeroRef, int &xNormal, int &yNormal) const;
    void RotateNormalDrawingToIso();
    void RotateIsoDrawingToNormal();
    void RotateNormalDrawingPlus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly);
    void RotateNormalDrawingMinus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly);
    void RotateIsoDrawingPlus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly);
    void RotateIsoDrawingMinus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly);
    void RotateFlipUpDown(TNetworkStates &TheNetworkStates, bool SelectionOnly);
    void RotateMirrorLeftRight(TNetworkStates &TheNetworkStates, bool SelectionOnly);
    void RotateFreeTextAngles(int TheAngle);

    // --- Node links and topology queries (Network_Links.cpp) -------------------------
    bool AddLink(int TheFromNodeId, int TheToNodeId, int ThePipeId);
    bool AddLinkPreventBackflow(int TheFromNodeId, int TheToNodeId, int ThePipeId);
    int AddPipeLink(int TheFromNodeId, int TheToNodeId, const TPipe &ThePipe);
    void RemoveLink(int ThePipeId);
    void RemoveLinkClosedPipe(int ThePipeId);
    void RemovePipeLink(int ThePipeId);
    void RemoveAllPipeLinksFromToNode(int TheNodeId);
    void RemovePipeLinkBetweenNodes(int TheFromNodeId, int TheToNodeId);
    void ReversePipeLink(int ThePipeId);
    void RemoveNodeLinkAddClosedPipeLink(int ThePipeId);
    void RestoreNodeLinkForClosedPipe(int ThePipeId);
    bool IsPipeClosed(int ThePipeId) const;

    TNodeLink GetNodeLink(int TheNodeLinkId) const { return NodeLinks[static_cast<std::size_t>(TheNodeLinkId)]; }
    TNodeLink GetNodeLinkClosedPipe(int TheNodeLinkId) const
    {
        return NodeLinksClosedPipe[static_cast<std::size_t>(TheNodeLinkId)];
    }
    int GetNextUndirectedNodeLinkId(int TheNodeId, int TheLastNodeLinkId) const;
    void GetPipeNodes(int ThePipeId, int &TheFromNodeId, int &TheToNodeId) const;
    void GetFromAndToNodeIds(int ThePipeId, int &TheFromNodeId, int &TheToNodeId) const;
    bool ExistsPipeLink(int TheFromNodeId, int TheToNodeId) const;
    void SortNodeLinksByPipeId();
    void SortNodeLinksClosedPipeByPipeId();

    int GetNumberOfOutFlowPipes(int TheNodeId) const;
    int GetNumberOfInFlowPipes(int TheNodeId) const;
    // The open pipes leaving (first) and entering (second) each linked node,
    // counted in one pass over the links: for checks that ask of every node.
    TFlowPipeCounts CountOutAndInFlowPipesByNode() const;
    int GetSingleOutFlowPipe(int TheNodeId) const;
    int GetSingleInFlowPipe(int TheNodeId) const;
    int GetNumberOfOutFlowPipesNotSet(int TheNodeId) const;
    int GetNumberOfInFlowPipesWithFluidZone(int TheNodeId, int TheFluidZoneIndex) const;
    int GetNumberOfOutFlowPipesWithFluidZone(int TheNodeId, int TheFluidZoneIndex) const;
    int GetNumberOfInFlowPipesClosed(int TheNodeId) const;
    int GetNumberOfOutFlowPipesClosed(int TheNodeId) const;
    long double GetOutFlowSumAtNode_kgs(int TheNodeId) const;
    double GetPipeStartNodePressure_bar_g(int ThePipeId) const;
    bool IsNegativeFlowInAnyPipe() const;
    bool IsNegativeFlowInAnyPipeWithPump() const;

    bool IsPipeOkToAddFlowControl(int ThePipeId) const;
    bool IsNodeAssociatedWithAnyPRV(int TheNodeId) const;
    bool IsNodeAssociatedWithAnyBPV(int TheNodeId) const;
    bool IsNodeControlNode(int TheNodeId) const;
    int GetOriginalPipeIdForThisControlPipe(int ThePipeId) const;
    bool IsPipePRVNewControlPipe(int ThePipeId) const;
    bool IsPipeBPVNewControlPipe(int ThePipeId) const;
    bool IsPipePRVOrBPVNewControlPipe(int ThePipeId) const;
    void GetNodeAfterPRVIfNewControlPipe(int ThePipeId, int &ToNodeIdAfterPRV) const;
    void GetNodeBeforeBPVIfNewControlPipe(int ThePipeId, int &FromNodeIdBeforePRV) const;
    void GetPipeEnteringNodeBeforeBPVIfNewControlPipe(int ThePipeId, int &PipeIdBeforeBPV) const;

    // --- Results log counters (Network_Results_Log.cpp) ------------------------------
    // " " and ">>> Warning:" (or "Comment:") with the counter counted up.
    static void CountWarnings(std::int32_t &count, TResultsLog &Log);
    static void CountComments(std::int32_t &count, TResultsLog &Log);

    // --- Pipe and fitting size checks (Network_Size_Checks.cpp) ----------------------
    void CheckPipeSizesConsistent(bool &NetworkOk, TResultsLog &Log, bool AddToLog) const;
    void UpdatePipeWallThicknessAndOuterDiameters(const TPipeNominalSizeSet &PipeNominalSizeSet, TResultsLog &Log,
                                                  bool AddToLog);
    void UpdateNominalPipeSizes(const TPipeNominalSizeSet &PipeNominalSizeSet);
    static void SetNominalPipeSize(const TPipeNominalSizeSet &PipeNominalSizeSet, TPipe &ThePipe);
    bool CheckDiameterDataMatchOk() const;
    void CheckFittingSizesConsistent(bool &NetworkOk, TResultsLog &Log, bool AddToLog) const;
    void UpdateFittingsToMatchPipeSizes(const TFittingSet &FromFittingSet, TResultsLog &Log, bool AddToLog);
    void ReportBespokeFittings(TResultsLog &Log) const;
    void CheckPipeFittingsContractionsOk(int NodeLinkId, bool &Ok, std::string &ErrorMessage) const;
    void CheckPipeFittingsExpansionsOk(int NodeLinkId, bool &Ok, std::string &ErrorMessage) const;

    // --- Pre-calculation checks and fix-ups (Network_PreCalc_Checks.cpp) -------------
    void IsNetworkOkToCalculate(bool &NetworkOk, std::string &MessageString, int &ZoomToPipeId,
                                int &ZoomToNodeId) const;
    void CheckNodeAllPipesSameFluidZone(int NodeId, bool &NetworkOk, std::string &MessageString) const;
    void CheckNodeAllInPipesSameFluidZone(int NodeId, bool &NetworkOk, std::string &MessageString) const;
    void IsNetworkOkForPipeLengths(int FromNodeLinkId, bool &NetworkOk, std::string &MessageString,
                                   int &ZoomToPipeId, int &PipeNodeLinkId) const;
    void UpdatePipeLengthToDiffInStartEndElevation(int ThePipeId, double &oldLength_m, double &NewLength_m);
    void CheckPipeLengthsVersusElevationChange(bool &NetworkOk, TResultsLog &Log) const;
    void CheckShortPipeLengths(bool &NetworkOk, TResultsLog &Log);
    void CheckAndSetPumpsAtStartOfPipe(TResultsLog &Log);
    void CheckAndSetComponentsAtEndOfPipe(TResultsLog &Log);
    void CheckAndSetFCVsAtEndOfPipe(TResultsLog &Log);
    void CheckPumpsVolumeFlowRate(TResultsLog &Log) const;
    void CheckComponentsVolumeFlowRate(TResultsLog &Log) const;

    // --- Results colouring (Network_Results_Colour.cpp) ------------------------------
    static int GetResultsColorItemIndex(TResultsColorItemEnum TheResultsColorItemEnum);
    std::string GetResultsColorItemStringsText(TResultsColorItemEnum TheResultsColorItemEnum) const;
    // Not const: the per-100 friction loss is written into the pipe.
    double GetResultsColorPipeItemValue(int ThePipeId);
    double GetResultsColorNodeItemValue(int TheNodeId) const;
    TUnit GetResultsColorItemUnit(TResultsColorItemEnum TheResultsColorItemEnum) const;
    double GetResultsColorItemConvertedValue(double TheItemValue, int TheFluidZoneIndex) const;
    void SetResultsColorItemMinMaxValues();
    TColor GetColorFromItemMinMaxValues(double TheValue) const;
    TColor GetColorFromGradient(double LowValue, double HighValue, double ActualValue) const;

    // --- After-solve result checks (Network_Result_Checks.cpp) -----------------------
    void CheckResults(TResultsLog &Log, bool &Solved, std::int32_t &warningCount);
    void CheckGasPressureDropWithinFluidZone(bool &NetworkOk, TResultsLog &Log);

    // --- Pump suction pressures (Network_Pump_Pressures.cpp) ------------------------
    double GetPumpSuctionPressure_mFluid(int ThePipeId) const;
    double GetPumpNPSHa_mFluid(int ThePipeId) const;

    // --- Solver preparation and control elements (Network_Solver_Preparation.cpp) ---
    // Fixed-flow pumps and flow-control valves are taken out of the active
    // links for a calculation and put back afterwards; see the file.
    void RemoveAllNodeLinksForPipesWithPumpAtSetFlowRate();
    void RestoreAllNodeLinksForPipesWithPumpsAtSetFlowRate(TResultsLog &Log);
    void RemoveAllNodeLinksForPipesWithFlowControl(bool RemoveFCV, bool RemovePRV, bool RemoveBPV);
    void RestoreAllNodeLinksForPipesWithFlowControl(TResultsLog &Log);
    void RemoveLinkPreventBackflow(int ThePipeId);
    void RestoreNodeLinkForPreventBackflow(int ThePipeId);
    void RestoreAllNodeLinksForPreventBackflow(TResultsLog &Log);
    bool CheckIfAnyFlowsNegative() const;
    void NodeLinksSave();
    void NodeLinksRestore();
    void SetFlowControlPressureLosses(bool &solved, TResultsLog &Log, bool LoggingOn);
    void SetPumpsSetFlowRatePressureLosses(bool &solved, TResultsLog &Log, bool LoggingOn);
    void CheckFlowControlPipesAreFromToJoints(TResultsLog &Log, bool &Solved);
    void CheckNetworkForNegativeFlowsInPumpsPrvsBpvs(bool &solved, TResultsLog &Log);
    void CheckNetworkForNegativeFlowsPreventBackflow(bool &solved, TResultsLog &Log);
    void SetEquivalentMassFlowRateFromVolumeFlowForAllPumpPoints();

    // --- Liquid methods and the solve driver (Network_Incompressible_Methods.cpp,
    //     Network_Solve.cpp) -----------------------------------------------------------
    void SolveNetwork(bool &solved, bool &solutionOk, TResultsLog &Log, TResultsLog &PrivateLog);
    void SolveNetworkLinearTheory(bool &solved, bool &solutionOk, TResultsLog &Log);
    void SolveNetworkNewtonWithLinearTheoryEstimates(bool &solved, bool &solutionOk, TResultsLog &Log);
    void SetAllTankLiquidLevelsEqualZeroWhereFluidIsGas();
    int getIterationCount() const;
    int getIterationCountTotal() const;

    // True from the start of a calculation to its end: the network is then in
    // its prepared state, and saving or editing it must wait.
    bool IsCalculating() const { return calculationDepth_ > 0; }

    // --- Solution checks and the results log (Network_Solution_Checks.cpp) ----------
    // FoundInvalid: an earlier check already found the solution invalid, so
    // these checks may not verify it.
    void CheckNetworkSolutionOk(TResultsLog &Log, bool &SolutionOk, bool FoundInvalid = false);
    void CheckNetworkCompressibleSolutionOk(TResultsLog &Log, bool &SolutionOk);
    void CheckFlowContinuity(bool &FlowContinuityOk, bool &FlowContinuityBalancePositive, TResultsLog &TheMemo) const;

    // --- Solve summary (Network_Solve_Summary.cpp) ------------------------------------
    // The mass balance of one joint from the links and its demands (kg/s),
    // and the sum of its pipes' flow-per-pressure-difference terms.
    void calcFlowContinuityKgSec(int NodeId, double &flowUncompressedContinuitySumKgSec,
                                 double &flowUncompressedDivPressDiffContinuitySum) const;
    void CheckNetworkFlowContinuity(double MaxAllowedFlowContinuitySumKgSec, bool &TheFlowContinuityOk,
                                    int &TheLargestFlowContinuityNodeId, double &TheLargestFlowContinuitySumKgSec) const;
    void GetMinAndMaxPressureAtAnyNode_bar_g(double &MinPressure_bar_g, std::string &MinPressureNodeString,
                                             double &MaxPressure_bar_g, std::string &MaxPressureNodeString) const;
    void GetSystemSummaryData(TSystemSummaryData &Data) const;
    void SolveLogSummary(TResultsLog &Log, bool solved, bool solutionOk);
    void logSummaryConfigurationAndExtremes(TResultsLog &Log, const TSystemSummaryData &data, bool solved) const;
    void LogOneTimeMessages(TResultsLog &Log) const;
    // --- Initial flow guesses (Network_Flow_Guesses.cpp) ------------------------------
    // Start flows of the Newton method from discharge estimates, in the pipes'
    // FlowGuessUncompressed_m3s; FlowBalanceAdjusted tells whether the
    // flow-continuity solution could balance them at every joint.
    void SetAllInitialFlowGuesses(TResultsLog &Log, bool &FlowBalanceAdjusted, double UsingVelocity_ms);
    void SetAllInitialFlowGuessesToZero();
    void SetAllInitialFlowGuessesToUnity();
    void SetAllDischargeFlowGuesses();
    void SetAllSingleJointSupplySingleOutFlowGuesses();
    void SetAllSingleJointDischargeSingleInFlowGuesses();
    int GetNodeIdWhereAllOutFlowsSetAndSomeInFlowsNotSet() const;
    void SetInFlowGuessesFromOutFlows(int TheNodeId, TResultsLog &Log);
    int GetNodeIdWithLeastOutFlowsNotSet(TNodeType TheNodeType) const;
    void SetSingleInAndOutFlowNode(int TheNodeId, double TheFlow, int &Level);
    void SetSingleInAndOutFlowNodeBackwards(int TheNodeId, double TheFlow, int &Level);
    void SetOutFlowGuessesNotSet(int TheNodeId);

    // --- Gas balance, zone densities and velocities (Network_Gas_Balance.cpp) ---------
    // The gas methods work on zone densities adjusted to the system's
    // pressures, with the user's zone data kept aside in FluidZonesSaved.
    void SaveCurrentFluidZonesData();
    void RestoreCurrentFluidZonesData();
    void AdjustCurrentFluidZonesDataBasedOnFixedPressureReferenceInSystem();
    void AdjustCurrentFluidZonesDataBasedOnPressureInSystem();
    void AdjustVolumetricFlowRatesToMatchDensityInSavedFluidZonesData();
    void AdjustInitialFlowGuessesBasedOnPressureInSystem();
    void SetNodeFluidZoneIndexArray();
    void SetNodeFlowContinuityKgSecArray();
    void getNodeFlowContinuityKgSec(int NodeId, double &flowUncompressedContinuitySumKgSec,
                                    double &flowUncompressedDivPressDiffContinuitySum) const;
    void calcFlowContinuityAtJointOrTankNodesKgSec(int NodeId, double &flowUncompressedContinuitySumKgSec) const;
    void CheckNetworkGasFlowContinuity(double MaxAllowedFlowContinuitySumKgSec, bool &TheFlowContinuityOk,
                                       int &TheLargestFlowContinuityNodeId, double &TheLargestFlowContinuitySumKgSec);
    void GetGasFlowEntryAndExitVelocity_ms(int ThePipeId, double &EntryVelocity_ms, double &ExitVelocity_ms,
                                           double &ExitFlowActual_m3_sec) const;
    void SetAllPipeEntryAndExitVelocities();
    double GetMaxFlowInAnyPipe_m3s() const;
    void GetMinMaxDischargeVelocity_ms(double &MinDischargeVelocity_ms, double &MaxDischargeVelocity_ms) const;

    // --- Gas node-adjust iteration (Network_Node_Adjust_Iteration.cpp) ----------------
    void SolveNetworkCompressibleIsothermalNodeAdjustmentsIterate(
        double CompressibleNodeBalancingToleranceStopAdjustP_bar, int CompressibleMaxAllowedIterations,
        double CompressibleDeltaMultiper, double CompressibleMaxAllowedFlowContinuitySumKgSec, bool &solved,
        bool &solutionOk, TResultsLog &Log, double &largestFlowContinuitySumKgSec, double &largestNodeAdjustP_bar);
    void NodeAdjustCalculationSetFlowRateInAllControlPipesForPRVsToDownnstreamFlowRate();
    void NodeAdjustCalculationSetEndNodePressureToMatchFlowRatePressureLossInAllControlPipesForPRVs();
    void NodeAdjustCalculationSetFlowRateInAllControlPipesForBPVsToUpstreamFlowRate();
    void NodeAdjustCalculationSetStartNodePressureToMatchFlowRatePressureLossInAllControlPipesForBPVs();

    // --- Network file (Network_File.cpp) ---------------------------------------------
    // Writes the whole network in the current layout; stream errors pass on.
    void Save(TStream &TheFileStream);
    // Saves through a temporary file renamed over FileName once complete, so
    // a failed save leaves the previous file as it was.
    void SaveToFile(const std::string &FileName);
    // Replaces the network by a file's content. Never raises: a file that
    // cannot be read whole ends in a message, a cleared network and false.
    bool Load(TStream &TheFileStream);
    void CheckLoadOfOldSystemVersion();

    // --- Equivalent flows and demand-flow units (Network_Equivalent_Flows.cpp) -------
    void SetAllFlowControlEquivalentMassFlowRates();
    void SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
    void SetAllComponentEquivalentMassFlowRates();
    void SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
    void SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();

    // --- Pipe loops (Network_Loops.cpp) ----------------------------------------------
    int PipeLoopCreate();
    void PipeLoopClear(int LoopId);
    void PipeLoopRemove(int LoopId);
    void PipeLoopsRemoveAllLoops();
    void PipeLoopsInsertLastAtPosition(int LoopId);
    void PipeLoopAddPipe(int LoopId, int PipeId);
    void PipeLoopRemovePipe(int LoopId, int PipeId);
    int PipeLoopGetNextPipeId(int LoopId, int CurrentPipeId) const;

    void PipeLoopsGenerateAllLoops(TResultsLog &Log);
    void PipeLoopsGenerateFromNode(int FromNodeId, int maxPipesInLoop, bool LoopMustHaveNewPipe);
    void PipeLoopsShortestPathClear();
    int GetNumberOfJointTypeNodes() const;

    void PipeLoopsRemoveLastIfPseudoLoopViaIntermediateTank();
    void PipeLoopsRemoveLastIfDuplicate();
    void PipeLoopsCheckPipeLoopHasAtLeastOneNewPipeOverPreviousLoops(int LoopId, bool &AtLeastOneNewPipe,
                                                                     bool CheckOnlyInPseudoLoops) const;
    void PipeLoopsRemoveLastUnlessAtLeastOneNewPipe(bool CheckOnlyInPseudoLoops);
    void PipeLoopsRemoveLastUnlessIfAddedFirstEveryOtherLoopHasAtLeastOneNewPipe(bool CheckOnlyInPseudoLoops);
    int PipeLoopsGetNumberOfNewPipesOverPriorLoops(int LoopId, int UpToPriorLoopId) const;
    void PipeLoopsCountPipeExistsInRealLoop(int PipeId, int RealLoopCount, int &ExistsCount) const;
    void PipeLoopsRemoveOneRealLoopWhereEveryPipeExistsInAtLeastOneOtherRealLoop(int &RealLoopCount, bool &success);
    void PipeLoopsSortExtraLoopsLongestFirst(int FromLoopId);
    bool PipeLoopsLastPseduoLoopStartOrEndPipeIsNew() const;
    void PipeLoopsReOrderRealLoopsForPositiveStartDirection();
    void PipeLoopsCheckAllPipesPresent(TResultsLog &Log) const;
    void PipeLoopsRemoveBetweenSupplyAndSupply();

    // --- Debug listings (Network_Debug_Listings.cpp); no command calls them ---------
    void PrintData(TResultsLog &TheMemo) const;
    void PrintNodeLinks(TResultsLog &TheMemo) const;
    void PrintNodeLinksNames(TResultsLog &TheMemo) const;
    void PrintPipeLoops(TResultsLog &TheMemo) const;
    void PrintInitialFlowGuesses(TResultsLog &TheMemo) const;
    // The data of one pipe in an information box.
    void MsgPipeData(int ThePipeId);
    void PrintQMatrix(TResultsLog &TheMemo) const;
    void PrintQKnowns(TResultsLog &TheMemo) const;
    void PrintFResults(TResultsLog &TheMemo) const;
    void PrintDMatrix(TResultsLog &TheMemo) const;
    void PrintQDeltasEquations(TResultsLog &TheMemo) const;
    void PrintQVariables(TResultsLog &TheMemo) const;
    void PrintKVariables(TResultsLog &TheMemo) const;
    void PrintNVariables(TResultsLog &TheMemo) const;
    void PrintQFittingLossCoefficents(TResultsLog &TheMemo) const;
    void PrintQPumpHeadCoefficents(TResultsLog &TheMemo) const;

    // --- Equation generation and recalculation (Network_Equations.cpp) ---------------
    int getQIndexOfPipeId(int PipeId) const;
    void MatrixEquationsGenerate(TMatrixEquations &TheMatrixEquations, TResultsLog &Log, bool IncludeLoopEquations);
    void MatrixEquationsAddEquivalentLengthForFittings(TMatrixEquations &TheMatrixEquations, TResultsLog &Log);
    void MatrixEquationsAddEquivalentLengthForComponents(TMatrixEquations &TheMatrixEquations, TResultsLog &Log);
    void ReCalcNetworkFromMatrixQVariables(bool &solved, TResultsLog &Log);
    void ReCalcCompressibleFlowNetworkFromMatrixQVariables(bool &solved, TResultsLog &Log);
    // True when the user accepted and the pipes with negative flow were reversed.
    bool ReverseAnyNegativeFlowPipesForFinalSolution(bool &solved, TResultsLog &Log);
    void ReverseAnyNegativeFlowPipesForFinalSolutionNodeBalance(bool &solved, TResultsLog &Log);

    // --- Newton from discharge estimates (Network_Discharge_Estimate_Method.cpp) ------
    void SolveNetworkNewtonWithDischargeEstimates(bool &solved, bool &solutionOk, TResultsLog &Log);
    void SolvedMessage(bool Solved, bool LookingForAccurateSolution, bool IncludesNegFlow, bool AcceptNegativeFlow,
                       TResultsLog &Log);

    // --- Gas methods (Network_Compressible_Methods.cpp) --------------------------------
    void SolveNetworkCompressibleIsothermalNodeAdjustments(bool &solved, bool &solutionOk, TResultsLog &Log,
                                                           TResultsLog &PrivateLog);
    void SolveNetworkNewtonCompressibleIsothermalFlowAdjustments(bool &solved, bool &solutionOk, TResultsLog &Log,
                                                                 TResultsLog &PrivateLog);

    // --- Result texts and pump discharge pressure (Network_Result_Texts.cpp) ----------
    std::string GetPipeLabel(int ThePipeId, bool ResultsMode) const;
    double GetPumpDischargePressure_mFluid(int ThePipeId) const;
    std::string PopulateStringFluidInfo(int TheFluidZoneId, bool ResultsMode) const;
    std::string PopulateStringNodeResultsInfo(int TheNodeId, bool ResultsMode) const;
    // Not const: a flow-control valve's equivalent flows are brought up to date.
    std::string PopulateStringPipeResultsInfo(int ThePipeId, bool ResultsMode);

    // --- Result tables (Network_Pipe_Tables.cpp, Network_Item_Tables.cpp) -------------
    // Each writes its heading rows at TheStartRow and its data rows below, sets
    // TheFinishRow to the last row written and then the grid's row count.
    void PopulateStringGridPipeResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPipeSummaryResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPipeFactorResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPipeMaterialResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridEnergyResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridFCVResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPRVResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridBPVResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridComponentResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPumpResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridNodeResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridFluidResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridFittingResults(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridAllResults(TStringGrid &TheStringGrid, int TheStartRow, int EnergyUnitsFlag,
                                      int &TheFinishRow) const;
    // Reorders the rows below the fixed rows by one column (Network_Grid_Sort.cpp).
    static void SortStringGrid(TStringGrid &GenStrGrid, int TheCol, int FixedRowCount, int AscendingFlag);

    // --- Input-data tables of the edit grid (Network_Input_Tables.cpp) ----------------
    void PopulateStringGridPipeData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridTankData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridEndPressureData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridJointData(TStringGrid &TheStringGrid, int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridFCVData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid, int TheStartRow,
                                   int &TheFinishRow) const;
    void PopulateStringGridPRVData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid, int TheStartRow,
                                   int &TheFinishRow) const;
    void PopulateStringGridBPVData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid, int TheStartRow,
                                   int &TheFinishRow) const;
    void PopulateStringGridComponentCvData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                           int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridComponentKvData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                           int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridComponentFixedLossData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                                  int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPumpsFixedFlowData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                              int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPumpsFixedHeadData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                              int TheStartRow, int &TheFinishRow) const;
    void PopulateStringGridPumpsCurveData(bool ShowInUse, bool ShowNotInUse, TStringGrid &TheStringGrid,
                                          int TheStartRow, int &TheFinishRow) const;

    // --- Data ------------------------------------------------------------------------
    // The user interface this network reports to; the main window replaces
    // the silent default with its own.
    TUserInterfaceSeam *UserInterface = &SilentUserInterface();

    TFileHeader FileHeader;
    TNodeSet NodeSet;
    TPipeSet PipeSet;
    TNode TempNode1;
    TPipe TempPipe1;

    std::int32_t FreeTextsCount = 0;
    std::vector<TFreeText> FreeTexts; // 1-based, MaxFreeTexts + 1 entries

    std::int32_t NodeLinksCount = 0;
    TNodeLinks NodeLinks{};
    std::int32_t NodeLinksClosedPipeCount = 0;
    TNodeLinks NodeLinksClosedPipe{};
    std::int32_t NodeLinksSavedCount = 0;
    TNodeLinks NodeLinksSaved{};
    std::int32_t NodeLinksFlowControlCount = 0;
    std::array<TFlowControlLink, MaxLinks + 1> NodeLinksFlowControl{};
    std::int32_t NodeLinksPumpAtSetFlowRateCount = 0;
    TNodeLinks NodeLinksPumpAtSetFlowRate{};
    std::int32_t NodeLinksPreventBackflowCount = 0;
    TNodeLinks NodeLinksPreventBackflow{};

    std::int32_t FluidZonesCount = 1;
    std::int32_t CurrentFluidZone = 1;
    std::array<TFluidZone, MaxFluidZones + 1> FluidZones;      // 1-based
    std::array<TFluidZone, MaxFluidZones + 1> FluidZonesSaved; // 1-based

    TConfigOptions ConfigOptions;
    TReportOptions ReportOptions;

    bool IsometricDrawing = false;
    std::int32_t MetaFileDrawing_XGridSpacing = 40;
    std::int32_t MetaFileDrawing_YGridSpacing = 40;
    double IsometricXRadAng = 0;
    double IsometricYRadAng = 0;
    double SymbolScale = 1.0;

    std::int32_t BackgroundImagesCount = 0;
    std::array<TBackgroundImage, MaxBackgroundImages + 1> BackgroundImages; // 1-based

    // Solver work data. The two equation systems of the iterations are added
    // with the equation-system class; the loop finder adds its path store.
    std::array<double, InitialGuessVelocityCount + 1> NetworkClass_ArrayInitialGuessFlowVelocity_ms{};
    double CurrentGuessFlowVelocity_ms = 0;
    std::array<std::int32_t, MaxNodes + 1> NodeFluidZoneIndex{};
    std::array<bool, MaxNodes + 1> NodeContinuityIsolated{};
    std::array<double, MaxNodes + 1> NodeContinuityFlowKgs{};
    std::array<double, MaxNodes + 1> NodeFlowKgsDivPressDiffBar{};

    std::int32_t PipeLoopsCount = 0;
    std::array<std::int32_t, MaxLoops + 1> PipeLoopsPipeCount{};
    // PipeLoops[loop][entry], both 1-based.
    std::vector<TPipeLoopEntries> PipeLoops;
    std::int32_t PipeRealLoopCount = 0;
    std::int32_t PipePseudoLoopCount = 0;
    std::array<TShortestPathEntry, MaxNodes + 1> ShortestPaths{}; // by node id

    // The equation system of the iterations and the one of the first
    // flow-continuity solution.
    TMatrixEquations MatrixEquations{TMatrixEquations::MaxDimension, TMatrixEquations::MaxDimension};
    TMatrixEquations MatrixEquationsFlowContinuity{TMatrixEquations::MaxDimension, TMatrixEquations::MaxDimension};

    TMethodOfSolution CurrentMethodOfSolution = LinearTheoryThenNewton;
    double GasModel_Std_Temp_degrees_k = 0;
    double GasModel_Std_Pressure_Pa_a = 0;
    bool FixedFlowRatePumpWarning = false;

    std::string CalculatingString;
    bool StopCalculating = false;
    std::int32_t CalculationOverflowCount = 0;
    std::int32_t WarningCount = 0;
    std::int32_t CommentCount = 0;
    bool PipeLoopsMessagesOn = true;
    bool FinalPressureBalanceToleranceMaybeTooSmall = false;
    double HighestPressureBalancingToleranceFinal_bar = 0;
    std::int32_t HighestPressureBalancingTolerancePipeId = 0;
    bool solvedSuccessful = false;
    std::int32_t HighlightPipeIdForNetworkFormTimer = 0;

private:
    // What a pressure-reducing or back-pressure valve's fixed-pressure node
    // was before the preparation made it a tank, restored with the links.
    struct TControlledNodeState {
        std::int32_t NodeId = 0;
        TNodeType NodeType = Joint;
        double LiquidLevel_m = 0;
        double Surface_Pressure_Bar_g = 0;
    };
    std::vector<TControlledNodeState> controlledNodeStates_;
    // The demands a node had before the preparation first added a fixed flow
    // to it, put back exactly when the last of its fixed flows is taken away.
    struct TPreparedDemand {
        int Adjustments = 0;
        double JointSupply_m3s = 0, JointDischarge_m3s = 0, JointSupply_kgs = 0, JointDischarge_kgs = 0,
               JointSupply_SCMH = 0, JointDischarge_SCMH = 0;
    };
    std::map<int, TPreparedDemand> preparedDemands_;
    int calculationDepth_ = 0;
    // Work data of the loop finder and the loops it last found with the
    // layout they belong to (Network_Loops.cpp).
    struct TLoopFinder;
    std::shared_ptr<TLoopFinder> loopFinder_;
    TLoopFinder &loopFinder();
    void loopPipeNodes(int PipeId, int &FromNodeId, int &ToNodeId) const;
    void judgeLastLoopFromFixedStart(bool LoopMustHaveNewPipe);
    std::vector<std::string> loopCountLines(int links, int joints) const;
    void reportLoopCount(TResultsLog &Log, const std::vector<std::string> &lines);

public:
    // One entry of the layout that the loop finder's last loops belong to.
    struct TLoopFinderLayoutEntry {
        std::int32_t A, B, C;
        bool operator==(const TLoopFinderLayoutEntry &) const = default;
    };

private:
    // Marks the network busy for as long as it lives.
    class TCalculationScope {
    public:
        explicit TCalculationScope(TNetwork &network);
        ~TCalculationScope();
        TCalculationScope(const TCalculationScope &) = delete;
        TCalculationScope &operator=(const TCalculationScope &) = delete;

    private:
        TNetwork &network_;
    };
    // The preparation every liquid method starts with, the restores every
    // method ends with, and the report of an exception a method absorbs.
    void prepareLinksAndLoops(TResultsLog &Log);
    // Logs the problem when some node pressure lies below absolute zero.
    bool logPressureBelowAbsoluteZero(TResultsLog &Log);
    void restoreAllPreparedLinks(TResultsLog &Log);
    static void logMethodException(TResultsLog &Log, const std::exception &e);

    // Adds (Sign 1) or takes away (Sign -1) a flow at a node's discharge or
    // supply, in the form the node's demand is given in.
    void adjustNodeDemandFlow(int TheNodeId, bool Discharge, double Flow_kgs, double Flow_m3s, int Sign);
    // A pipe's results from its flow and its end nodes.
    void calcPipeInfoBetweenNodes(int ThePipeId, int TheFromNodeId, int TheToNodeId);
    // The sonic-velocity part of the solution checks of an all-gas network.
    void checkSonicVelocities(TResultsLog &Log, bool &SolutionOk);
    // Steps of the flow-guess procedure that have no name of their own.
    void SetAllPropagatedFlowGuesses(TResultsLog &Log);
    void BalanceFlowGuessesByFlowContinuity(TResultsLog &Log, bool &FlowBalanceAdjusted);
    // The fluid of a zone (zone 1 for an index out of range) and a pipe's
    // mass flow at its zone density.
    const TFluid &fluidOfZone(int FluidZoneIndex) const;
    double pipeMassFlow_kgs(int ThePipeId) const;
    void adjustFluidZoneDensities(double LowestPressure_bar_g, double HighestPressure_bar_g);
    // Pieces of the node-adjust iteration: a pipe's length with the
    // equivalent lengths of its fittings and Cv, Kv or sprinkler component,
    // its gas mass flow between two pressures, one pipe's flow from its end
    // pressures, a node's net outflow in volume at a control pipe's density,
    // and the control node's demand and control pipe's pressure term.
    double compressiblePipeLength_m(const TPipe &pipe) const;
    double compressiblePipeFlow_kgs(const TPipe &pipe, const TFluid &fluid, double length_m,
                                    double startPressure_bar_g, double endPressure_bar_g) const;
    void nodeAdjustPipeFlow(int ThePipeId, int TheFromNodeId, int TheToNodeId);
    double netOutflowAtNode_m3s(int TheNodeId, const TFluid &controlFluid) const;
    void setControlNodeDemand(int ControlNodeId, const TFluid &controlFluid, double Supply_m3s, double Discharge_m3s);
    static void setControlPipePressureTerm(TPipe &controlPipe, double m_kgs, double inlet_bar_g, double outlet_bar_g);
    void calcCompressiblePipeInfo(int ThePipeId, int TheFromNodeId, int TheToNodeId);
    // Pieces of the discharge-estimate method and of the node-adjust method.
    void fillInitialGuessFlowVelocities();
    // The pressure loss of a pipe as the solution checks weigh it against its
    // end pressures (pumps negative, elevation included), in bar.
    double pipeSolutionLoss_bar(int pipeId) const;
    // Logs each real loop whose pipe losses do not add up to about nothing
    // round it; true when there was one.
    bool logUnbalancedLoops(TResultsLog &Log);
    void solveNewtonDarcy(bool &solved, int &status, std::string &statusText, TResultsLog &Log, int maxIterations,
                          double deltaMultiplier, double minHeadTerms_bar);
    void regenerateAndSolveAfterLinkChange(bool &solved, int &status, std::string &statusText, TResultsLog &Log);
    void acceptNegativeFlowsOfGuess(bool &solved, int &status, int &guessIndex, TResultsLog &Log);
    void logDischargeEstimateSummary(TResultsLog &Log);
    bool isNegativeFlowInAnyNonControlPipe() const;

    std::unique_ptr<TPipe> defaultPipe_; // ConfigOptions.DefaultPipe points here

    // Position of a pipe's entry in a link table, 0 when absent.
    static int findLink(const TNodeLinks &links, int count, int pipeId);
    static void removeLinkAt(TNodeLinks &links, int &count, int position);
    void setPositionsToOrig();
    void setOrigToPositions(bool clearLabelOffsets);
    void rotateTextAngleToIso(TFreeText &text) const;
    void rotateTextAngleToNormal(TFreeText &text) const;
    void rotateNormalDrawing90(TNetworkStates &states, bool selectionOnly, bool plus);
    void flipOrMirror(bool selectionOnly, bool flip);
};

} // namespace tessaran
