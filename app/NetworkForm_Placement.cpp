// Placing items with the mouse: nodes, joints that split pipes, pipes
// between nodes, items on pipes and free texts. Every refusal leaves the
// network as it was; node and pipe additions go to the undo log.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "pumps/Pump_Database_Class.h"
#include "units/Unit_Format.h"

#include <QLabel>

#include <cmath>

namespace tessaran {

namespace {

const char *const NodeTooCloseText = "Node cannot be added at a position too close to another scaled up node.\r\r";
const char *const NodesOnLineText =
    "Pipe cannot be added. \r\rThe pipe would pass through other nodes on the drawing \rand then some nodes would "
    "appear to be connected when \rthey were not. This is not allowed so as to avoid confusion. \r\rIn order to "
    "create a flow between the chosen points, \rfirst add a separate joint elsewhere and then connect \rthe nodes "
    "via the joint.";

std::string itemName(const char *prefix, int id) { return (prefix + std::to_string(id)).substr(0, 20); }

void clearDemands(TNode &node)
{
    node.JointDemandUseFlowType = VolumeFlow;
    node.JointSupply_m3s = node.JointDischarge_m3s = 0;
    node.JointSupply_kgs = node.JointDischarge_kgs = 0;
    node.JointSupply_SCMH = node.JointDischarge_SCMH = 0;
}

} // namespace

void TNetworkForm::info(const std::string &text) { Messages.ShowMessage(TMessageKind::Information, text); }

bool TNetworkForm::ask(const std::string &text) { return Messages.AskYesNo(TMessageKind::Confirmation, text); }

bool TNetworkForm::nodeTooCloseToScaledNode(int X, int Y) const
{
    const int dx = static_cast<int>(1.5 * MetaFileDrawing->MetaFileDrawing_XGridSpacing);
    const int dy = static_cast<int>(1.5 * MetaFileDrawing->MetaFileDrawing_YGridSpacing);
    return CurrentNetwork->ExistsNodeWithinGivenDistance(X, Y, dx, dy, 1.5, 0) > 0;
}

// --- tanks and end-pressure nodes ---------------------------------------------

void TNetworkForm::AddTankContainer(int X, int Y, int NodeImageIndex)
{
    TNetwork &n = *CurrentNetwork;
    if (const int existing = n.ExistsNodeWithSamePosition(X, Y, 0); existing > 0) {
        if (n.IsNodeAssociatedWithAnyPRV(existing)) {
            info("Node cannot be changed to a tank. \r\rAt least one pipe coming in to the node contains a PRV, "
                 "which is not allowed.");
        } else if (n.IsNodeAssociatedWithAnyBPV(existing)) {
            info("Node cannot be changed to a tank.\r\rAt least one pipe leaving the node contains a BPV, which is "
                 "not allowed.");
        } else if (ask("Do you wish to change the type of the node to a tank?\r")) {
            TNode &node = n.GetNode(existing);
            node.NodeType = Tank;
            node.NodeImageIndex = NodeImageIndex;
            node.labelRelativex = node.labelRelativey = 0;
            clearDemands(node);
            NetworkStates.CurrentNodeIdSelected = existing;
        }
        return;
    }
    addNodeOfType(X, Y, NodeImageIndex, true);
}

void TNetworkForm::AddDemandPressure(int X, int Y, int NodeImageIndex)
{
    TNetwork &n = *CurrentNetwork;
    if (const int existing = n.ExistsNodeWithSamePosition(X, Y, 0); existing > 0) {
        const std::string refused = "The node cannot be converted to an End Pressure node.\r\r";
        if (n.IsNodeAssociatedWithAnyPRV(existing)) {
            info(refused + "An End Pressure node cannot be at the end of a pipe that contains a PRV control.");
        } else if (n.IsNodeAssociatedWithAnyBPV(existing)) {
            info(refused + "An End Pressure node cannot be at the start of a pipe that contains a BPV control.");
        } else if (n.GetNumberOfOutFlowPipes(existing) > 0 || n.GetNumberOfInFlowPipes(existing) > 1) {
            info(refused + "Demand Pressure nodes must be at the end of a single pipe.");
        } else if (ask("Do you wish to change the type of the node to an end demand pressure?\r")) {
            TNode &node = n.GetNode(existing);
            node.NodeType = EndPressure;
            node.LiquidLevel_m = 0;
            node.NodeImageIndex = 5;
            node.labelRelativex = node.labelRelativey = 0;
            clearDemands(node);
            NetworkStates.CurrentNodeIdSelected = existing;
            RefreshScreen(true);
        }
        return;
    }
    addNodeOfType(X, Y, NodeImageIndex, false);
}

void TNetworkForm::addNodeOfType(int X, int Y, int NodeImageIndex, bool tank)
{
    TNetwork &n = *CurrentNetwork;
    if (nodeTooCloseToScaledNode(X, Y)) {
        info(NodeTooCloseText);
        return;
    }
    TNode node;
    node.NodeType = tank ? Tank : EndPressure;
    node.NodeImageIndex = NodeImageIndex;
    node.x = X;
    node.y = Y;
    if (n.GetNodeCount() >= TNetwork::MaxNodes) {
        info("Node cannot be added. Maximum number of Nodes reached. ");
        return;
    }
    // A node drawn onto a pipe line would look joined to it. Where several
    // lines cross the point the same holds for each of them.
    if (n.IsPointOnAnyNetworkLine(X, Y) != 0) {
        info(tank ? "Node container cannot be added on top of an existing pipe."
                  : "Node cannot be added on top of an existing pipe.");
        return;
    }
    int id = -1;
    try {
        id = n.AddNode(node);
    } catch (const std::exception &) {
        id = -1;
    }
    if (id < 1) {
        if (tank)
            info("Node cannot be created. Unexpected Error occured. ");
        return;
    }
    TNode &added = n.GetNode(id);
    added.Name = itemName("N", id);
    NetworkStates.CurrentNodeIdSelected = id;
    UpdatePanelsNode(id, true);
    if (tank)
        ActionLog->AddSupply(id, added);
    else
        ActionLog->AddEndPressure(id, added);
}

// --- joints --------------------------------------------------------------------

int TNetworkForm::AddJoint(int X, int Y, int NodeImageIndex, double Elevation_m)
{
    TNetwork &n = *CurrentNetwork;
    if (const int existing = n.ExistsNodeWithSamePosition(X, Y, 0); existing > 0) {
        if (ask("Do you wish to change the type of the node to a joint?\r")) {
            TNode &node = n.GetNode(existing);
            node.NodeType = Joint;
            node.NodeImageIndex = 0;
            node.labelRelativex = node.labelRelativey = 0;
            NetworkStates.CurrentNodeIdSelected = existing;
        }
        return -1;
    }
    if (nodeTooCloseToScaledNode(X, Y)) {
        info(NodeTooCloseText);
        return -1;
    }
    TNode joint;
    joint.NodeType = Joint;
    joint.Elevation_m = Elevation_m;
    joint.NodeImageIndex = NodeImageIndex;
    joint.x = X;
    joint.y = Y;
    if (n.GetPipeCount() >= TNetwork::MaxPipes) {
        info("Action cannot be performed. Maximum number of Pipes reached. ");
        return -1;
    }
    if (n.GetNodeCount() >= TNetwork::MaxNodes) {
        info("Action cannot be performed. Maximum number of Nodes reached. ");
        return -1;
    }
    int pipeId = n.IsPointOnAnyNetworkLine(X, Y);
    if (pipeId == 0)
        pipeId = n.IsPointOnAnyClosedNetworkLine(X, Y);
    if (pipeId < 0) {
        info("A Node cannot be added on a point where multiple lines already intersect. \r\rIf you wish to connect "
             "the pipes at this point then please remove the \rexisting pipes, then add a joint at this point and "
             "then re-connect the pipes \rto the joint.");
        return -1;
    }
    if (pipeId == 0) {
        const int id = n.AddNode(joint);
        TNode &added = n.GetNode(id);
        added.Name = itemName("N", id);
        NetworkStates.CurrentNodeIdSelected = id;
        ActionLog->AddJoint(id, added);
        return id;
    }
    if (!ask("A Node cannot be added on top of an existing pipe line in the Network without splitting the pipe into "
             "two sections. \r\rIf the pipe is split you will need to reset the pipe details manually. \r\rDo you "
             "wish to add the node and split the pipe?"))
        return -1;
    int jointId = -1;
    splitPipeAtJoint(pipeId, joint, jointId);
    return jointId;
}

void TNetworkForm::splitPipeAtJoint(int pipeId, TNode &joint, int &jointId)
{
    TNetwork &n = *CurrentNetwork;
    int fromId = -1, toId = -1;
    n.GetFromAndToNodeIds(pipeId, fromId, toId);
    const TPipe &whole = n.GetPipe(pipeId);

    auto first = std::make_unique<TPipe>();
    first->Copy(whole);
    first->Length_m = whole.Length_m / 2;
    auto second = std::make_unique<TPipe>();
    second->Copy(*first);
    first->FittingSet.RemoveExitFittings();
    second->FittingSet.RemoveEntryFittings();
    // The pump stands at the start of its pipe: it stays on the first half.
    second->Pump.ClearPumpCurves();
    second->PumpCount = 0;
    if (whole.FlowControlCount > 0) {
        if (whole.FlowControl.ControlType == BPV)
            second->RemoveFlowControl();
        else
            first->RemoveFlowControl();
    }
    // A component in the first half of the pipe stays on the first half.
    if (whole.ComponentPressureCount > 0) {
        if (whole.ComponentPressurePositionPercentageAlongPipe < 50)
            second->RemoveComponentPressure();
        else
            first->RemoveComponentPressure();
    }

    ActionLog->RemovePipeLink(fromId, toId, whole);
    n.RemovePipeLink(pipeId);

    joint.Elevation_m = n.GetNode(fromId).Elevation_m;
    jointId = n.AddNode(joint);
    TNode &added = n.GetNode(jointId);
    added.Name = itemName("N", jointId);
    NetworkStates.CurrentNodeIdSelected = jointId;

    const int firstId = n.AddPipeLink(fromId, jointId, *first);
    const int secondId = n.AddPipeLink(jointId, toId, *second);
    if (secondId > 0)
        n.GetPipe(secondId).Name = itemName("P", secondId);

    ActionLog->AddJoint(jointId, added);
    if (firstId > 0)
        ActionLog->AddPipeLink(fromId, jointId, firstId, n.GetPipe(firstId));
    if (secondId > 0)
        ActionLog->AddPipeLink(jointId, toId, secondId, n.GetPipe(secondId));
}

// --- pipes ---------------------------------------------------------------------

bool TNetworkForm::AddPipeLink(int TheFromNodeId, int ToNodeId)
{
    TNetwork &n = *CurrentNetwork;
    if (n.GetPipeCount() >= TNetwork::MaxPipes) {
        info("Pipe cannot be added. Maximum number of " + std::to_string(TNetwork::MaxPipes) + " pipes reached. ");
        return false;
    }
    if (n.ExistsPipeLink(TheFromNodeId, ToNodeId) || n.ExistsPipeLink(ToNodeId, TheFromNodeId)) {
        info("The nodes are already connected. \r\rIf you need to create another flow between these nodes \rthen "
             "first add a joint at a different location and then \rconnect the nodes again via the joint.\r\rIf you "
             "were trying to highlight this node to draw from \rthen you first need to unselect the current node \rby "
             "clicking on the yellow highlight.");
        return false;
    }
    if (n.ExistsNodesOnPipeLinkLine(TheFromNodeId, ToNodeId)) {
        info(NodesOnLineText);
        return false;
    }
    if (n.NodeLinksCount == 0) {
        const TConfigOptions &c = n.ConfigOptions;
        const TPipe &d = *c.DefaultPipe;
        const std::string text =
            "First Pipe Reminder \r\rThe default pipe values for drawing are:\r\r" + d.Material + " " +
            d.ScheduleClass + "\r" + "Length = " + convertAndFormat(unt_m, c.UnitOfLength, d.Length_m) + " " +
            unitName(c.UnitOfLength) + "\r" + "Diameter = " +
            convertAndFormat(unt_m, c.UnitOfDiameter, d.InnerDiameter_m) + " " + unitName(c.UnitOfDiameter) + "\r" +
            "Roughness = " + convertAndFormat(unt_m, c.UnitOfRoughness, d.InnerRoughness_m) + " " +
            unitName(c.UnitOfRoughness) + "\r\r" + "Do you wish to change these values now?";
        if (ask(text)) {
            OpenConfigForm(ConfigDefaults, n.ConfigOptions, n, ResultsMode, false);
            RefreshScreen(true);
        }
    }
    TPipe pipe;
    if (NetworkStates.MovingPipe) {
        pipe.Copy(*ScratchPipes[0]);
        NetworkStates.MovingPipe = false;
    } else {
        pipe.Copy(*n.ConfigOptions.DefaultPipe);
        pipe.FluidZoneIndex = n.CurrentFluidZone;
    }
    int pipeId = -1;
    try {
        pipeId = n.AddPipeLink(TheFromNodeId, ToNodeId, pipe);
    } catch (const std::exception &) {
        pipeId = -1;
    }
    if (pipeId < 1) {
        info("Pipe cannot be added. \r\rThe maximum number of pipes may have been reached.");
        return false;
    }
    NetworkStates.PipeIdClick1 = pipeId;
    NetworkStates.CurrentPipeIdSelected = pipeId;
    TPipe &added = n.GetPipe(pipeId);
    added.Name = itemName("P", pipeId);
    ActionLog->AddPipeLink(TheFromNodeId, ToNodeId, pipeId, added);
    return true;
}

// --- demands -------------------------------------------------------------------

void TNetworkForm::AddDemandFlow(int X, int Y, int)
{
    TNetwork &n = *CurrentNetwork;
    const int id = n.ExistsNodeWithSamePosition(X, Y, 0);
    if (id < 1) {
        info("Cannot add a flow demand at this point.\r\rClick on a regular joint node to add a flow demand at that "
             "point.");
        return;
    }
    if (n.GetNode(id).NodeType != Joint) {
        info("Flow demands can only be added at nodes that are\rnot of type tank or end pressure.\r\rClick on a "
             "regular node to add a flow demand at that point.");
        return;
    }
    ImageDrawCursorType->hide();
    NetworkStates.CurrentNodeIdSelected = id;
    RefreshScreen(true);
    if (ItemDialogs)
        ItemDialogs->DemandsOpenForm(n.GetNode(id), id, n.ConfigOptions, nodeFluid(id), ResultsMode, true);
    ImageDrawCursorType->show();
}

const TFluid &TNetworkForm::nodeFluid(int NodeId) const
{
    const TNetwork &n = *CurrentNetwork;
    int zone = n.GetNodeFluidZoneIndex(NodeId);
    if (zone < 1 || zone > n.FluidZonesCount)
        zone = 1;
    return n.FluidZones[static_cast<std::size_t>(zone)].Fluid;
}

// --- items on pipes ------------------------------------------------------------

int TNetworkForm::pipeForItemPlacement(int rawX, int rawY, int snappedX, int snappedY, const char *sameNodeText,
                                       const char *blankText)
{
    if (CurrentNetwork->ExistsNodeWithSamePosition(snappedX, snappedY, 0) > 0) {
        info(sameNodeText);
        return 0;
    }
    const int pipeId = CurrentNetwork->IsPointOnAnyNetworkLine(rawX, rawY);
    if (pipeId < 1) {
        info(blankText);
        return 0;
    }
    NetworkStates.CurrentPipeIdSelected = pipeId;
    return pipeId;
}

double TNetworkForm::percentageAlongPipe(int pipeId, int rawX, int rawY) const
{
    int fromId = -1, toId = -1;
    CurrentNetwork->GetFromAndToNodeIds(pipeId, fromId, toId);
    if (fromId < 1 || toId < 1)
        return 0;
    const TNode &from = CurrentNetwork->GetNode(fromId);
    const TNode &to = CurrentNetwork->GetNode(toId);
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    // Both ends on one point (a file may hold such a pipe): no direction to
    // measure along, the item sits at the start.
    if (length <= 0)
        return 0;
    return std::hypot(rawX - from.x, rawY - from.y) / length * 100;
}

void TNetworkForm::AddPump(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid)
{
    const int pipeId = pipeForItemPlacement(
        MetaFileX, MetaFileY, MetaFileXSnappedToGrid, MetaFileySnappedToGrid,
        "Pump cannot be added at same position as an existing node. \r\rA Pump must be added to a pipe by clicking "
        "on the pipe",
        "Pump cannot be added on to a blank section of the drawing. \r\rA Pump must be added to a pipe by clicking "
        "on the pipe");
    if (pipeId < 1)
        return;
    TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
    if (pipe.FlowControlCount > 0)
        info("Pump cannot be added to a pipe where a Control Valve already exists. \r\rEither remove the control "
             "valve, or add the pump to a different pipe.\r");
    else if (pipe.PumpCount > 0)
        OpenPumpDialog(pipeId);
    else
        placePump(pipeId, MetaFileX, MetaFileY);
    ToolButtonCursorArrowClick();
}

void TNetworkForm::placePump(int pipeId, int rawX, int rawY)
{
    TNetwork &n = *CurrentNetwork;
    int fromId = -1, toId = -1;
    n.GetFromAndToNodeIds(pipeId, fromId, toId);
    const TNode &from = n.GetNode(fromId);
    const TNode &to = n.GetNode(toId);
    int x = rawX, y = rawY;
    TNetwork::SnapPointToLine(x, y, from.x, from.y, to.x, to.y);
    if (x <= 0 || y <= 0)
        return;
    // The log restores pipes as they were logged: a pump it does not know of
    // could come back on the wrong pipe or vanish, so the log starts afresh.
    ActionLog->Clear();
    TPipe &pipe = n.GetPipe(pipeId);
    pipe.PumpCount = 1;
    pipe.Pump.Name = "Pump";
    pipe.Pump.x = x;
    pipe.Pump.y = y;
    n.SetPumpPercentagePositionFromXY(pipeId);
    const TUnit lengthUnit = n.ConfigOptions.UnitOfLength;
    if (lengthUnit == unt_m || lengthUnit == unt_mm || lengthUnit == unt_km) {
        pipe.Pump.SetFlowRateDisplayUnit = unt_m3_sec;
        pipe.Pump.SetFixedHeadDisplayUnit = unt_m_hd_fluid;
    } else {
        pipe.Pump.SetFlowRateDisplayUnit = unt_ft3_sec;
        pipe.Pump.SetFixedHeadDisplayUnit = unt_ft_hd_fluid;
    }
    pipe.PumpElevation_m = from.Elevation_m;
    pipe.PumpDistanceFromStartOfPipe_m = 0;
    pipe.PumpPositionPercentageAlongPipe = 0;
    const TUnit elevationUnit = n.ConfigOptions.UnitOfElevation;
    if (ask("Add Pump to the pipe:\r\rThe pump elevation was set to " +
            convertAndFormat(unt_m, elevationUnit, pipe.PumpElevation_m) + unitName(elevationUnit) + "\r" +
            " ( same elevation as the start of the pipe )" + "\r\r" +
            "The pump is always positoned at the start of the pipe." + "\r\r" +
            "Further information about the pump is required." + "\r\r" + "Do you want to enter the pump data now?"))
        OpenPumpDialog(pipeId);
    NetworkStates.CurrentPipeIdSelected = pipeId;
    UpdatePanelsPipe(pipeId, true);
}

void TNetworkForm::OpenPumpDialog(int PipeId)
{
    RefreshScreen(true);
    if (!ItemDialogs)
        return;
    TPipe &pipe = CurrentNetwork->GetPipe(PipeId);
    bool deletePump = false;
    ItemDialogs->PumpDataOpenForm(*PumpDatabase, pipe.Pump, PipeId, *CurrentNetwork, deletePump, ResultsMode);
    pipe.PumpCount = 1;
    if (deletePump) {
        ActionLog->Clear();
        pipe.RemovePump();
    }
}

void TNetworkForm::AddFittings(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid)
{
    const int pipeId = pipeForItemPlacement(
        MetaFileX, MetaFileY, MetaFileXSnappedToGrid, MetaFileySnappedToGrid,
        "Fittings cannot be added at same position as an existing node. \r\rFittings must be added to a pipe by "
        "clicking on the pipe",
        "Fittings cannot be added on to a blank section of the drawing. \r\rFittings must be added to a pipe by "
        "clicking on the pipe");
    if (pipeId < 1)
        return;
    RefreshScreen(true);
    TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
    if (pipe.FittingSet.FittingCount == 0)
        pipe.FittingsPositionPercentageAlongPipe = percentageAlongPipe(pipeId, MetaFileX, MetaFileY);
    TNetwork::SetNominalPipeSize(*PipeNominalSizeSet, pipe);
    if (ItemDialogs)
        ItemDialogs->OpenFittingManager(pipe.FittingSet, pipeId,
                                        pipe.GetPipeNameSizeInternalDiameterString(
                                            CurrentNetwork->ConfigOptions.UnitOfDiameter),
                                        pipe.NominalDiameterMetric, ResultsMode, EntryFitting);
    UpdatePanelsPipe(pipeId, true);
    RefreshScreen(true);
}

void TNetworkForm::AddComponentPressureLoss(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid,
                                            int MetaFileySnappedToGrid)
{
    const int pipeId = pipeForItemPlacement(
        MetaFileX, MetaFileY, MetaFileXSnappedToGrid, MetaFileySnappedToGrid,
        "Fixed Pressure Loss component cannot be added at same position as an existing node. \r\rA Fixed Pressure "
        "Loss component must be added to a pipe by clicking on the pipe",
        "Fixed Pressure Loss component cannot be added on to a blank section of the drawing. \r\rA Fixed Pressure "
        "Loss component must be added to a pipe by clicking on the pipe");
    if (pipeId < 1)
        return;
    RefreshScreen(true);
    TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
    if (pipe.ComponentPressureCount == 0)
        pipe.ComponentPressurePositionPercentageAlongPipe = percentageAlongPipe(pipeId, MetaFileX, MetaFileY);
    if (ItemDialogs)
        ItemDialogs->ComponentPressureOpenForm(pipe.ComponentPressure, pipe, pipeId, *CurrentNetwork, ResultsMode);
    UpdatePanelsPipe(pipeId, true);
    ToolButtonCursorArrowClick();
    RefreshScreen(true);
}

void TNetworkForm::AddFlowControl(int MetaFileX, int MetaFileY, int MetaFileXSnappedToGrid, int MetaFileySnappedToGrid)
{
    const int pipeId = pipeForItemPlacement(
        MetaFileX, MetaFileY, MetaFileXSnappedToGrid, MetaFileySnappedToGrid,
        "Control Valve component cannot be added at same position as an existing node. \r\rA Control Valve "
        "component must be added to a pipe by clicking on the pipe",
        "Control valve component cannot be added on to a blank section of the drawing. \r\rA Control valve "
        "component must be added to a pipe by clicking on the pipe");
    if (pipeId < 1)
        return;
    RefreshScreen(true);
    TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
    if (pipe.PumpCount > 0) {
        info("Control valve component cannot be added on to a pipe with a pump on. \r\rEither remove the pump, or "
             "add the control valve to a different pipe.\r\rNote: If the pump type is 'variable speed' then the flow "
             "can be set directly on the pump.");
        return;
    }
    if (pipe.FlowControlCount == 0)
        pipe.FlowControlPositionPercentageAlongPipe = percentageAlongPipe(pipeId, MetaFileX, MetaFileY);
    if (ItemDialogs)
        ItemDialogs->FlowControlOpenForm(*CurrentNetwork, pipeId, CurrentNetwork->ConfigOptions, ResultsMode);
    UpdatePanelsPipe(pipeId, true);
    ToolButtonCursorArrowClick();
    RefreshScreen(true);
}

// --- free texts ----------------------------------------------------------------

void TNetworkForm::AddFreeText(int MetaFileX, int MetaFileY, int, int)
{
    TNetwork &n = *CurrentNetwork;
    int index = CheckFreeTextClick(MetaFileX, MetaFileY);
    if (index < 1) {
        if (n.FreeTextsCount >= TNetwork::MaxFreeTexts)
            return;
        index = n.AddFreeText("", MetaFileX, MetaFileY, lastFreeTextColor, lastFreeTextSize, lastFreeTextStyle);
        if (index < 1)
            return;
        TFreeText &text = n.GetFreeText(index);
        text.Clear();
        text.TextStrings.clear();
        text.Color = lastFreeTextColor;
        text.Size = lastFreeTextSize;
        text.Style = lastFreeTextStyle;
        text.Angle = lastFreeTextAngle;
        text.x = MetaFileX;
        text.y = MetaFileY;
    }
    TFreeText &text = n.GetFreeText(index);
    if (ItemDialogs)
        ItemDialogs->FreeTextsOpenForm(text, index, n);
    if (index <= n.FreeTextsCount) {
        const TFreeText &after = n.GetFreeText(index);
        lastFreeTextColor = after.Color;
        lastFreeTextSize = after.Size;
        lastFreeTextStyle = after.Style;
        lastFreeTextAngle = after.Angle;
    }
}

} // namespace tessaran
