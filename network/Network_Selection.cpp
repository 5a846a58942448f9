// Selection, drawing edits, fluid-zone edits, copy and paste, the geometric
// tests of points against pipe lines, sheet bounds and pump symbol places.

#include "network/Network_Class.h"

#include "platform/Pascal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

bool inside(int x, int y, const TNetworkStates &states)
{
    return x >= states.SelectionStartX && x <= states.SelectionEndX && y >= states.SelectionStartY &&
           y <= states.SelectionEndY;
}

// The tolerance test shared by the point-on-line operations. The ends are
// already ordered by x; on a sloping line yL receives the line's y at PointX.
bool onOrderedLine(int PointX, int PointY, int X1, int Y1, int X2, int Y2, bool &vertical, int &yL)
{
    vertical = X1 == X2;
    if (vertical)
        return X1 - 10 < PointX && PointX < X1 + 10 && PointY > std::min(Y1, Y2) && PointY < std::max(Y1, Y2);
    const double slope = static_cast<double>(Y2 - Y1) / static_cast<double>(X2 - X1);
    yL = static_cast<int>(Round(static_cast<long double>(PointX - X1) * slope + Y1));
    const int band = 15 + static_cast<int>(std::llabs(Trunc(slope)));
    return PointY - band < yL && yL < PointY + band && X1 < PointX && PointX < X2;
}

double distance(int x1, int y1, int x2, int y2) { return std::hypot(double(x2 - x1), double(y2 - y1)); }

} // namespace

// --- Selection --------------------------------------------------------------------------

void TNetwork::SetSelectedItems(const TNetworkStates &TheNetworkStates)
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.Selected = inside(node.x, node.y, TheNetworkStates);
        if (node.Selected) {
            node.OrigX = node.x;
            node.OrigY = node.y;
        }
    }
    auto selectPipe = [this](const TNodeLink &link) {
        GetPipe(link.PipeId).Selected = GetNode(link.FromNodeId).Selected && GetNode(link.ToNodeId).Selected;
    };
    for (int i = 1; i <= NodeLinksCount; ++i)
        selectPipe(NodeLinks[at(i)]);
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
        selectPipe(NodeLinksClosedPipe[at(i)]);
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        text.Selected = inside(text.x, text.y, TheNetworkStates);
        if (text.Selected) {
            text.OrigX = text.x;
            text.OrigY = text.y;
        }
    }
}

void TNetwork::DeselectItems()
{
    NodeSet.DeSelectNodes();
    PipeSet.DeSelectPipes();
    for (int i = 1; i <= FreeTextsCount; ++i)
        GetFreeText(i).Selected = false;
    for (int i = 1; i <= BackgroundImagesCount; ++i)
        BackgroundImages[at(i)].Selected = false;
}

void TNetwork::ResetSelectedNodesXY(int offsetX, int offsetY)
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        if (node.Selected) {
            node.OrigX = node.x + offsetX;
            node.OrigY = node.y + offsetY;
        }
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        if (text.Selected) {
            text.OrigX = text.x + offsetX;
            text.OrigY = text.y + offsetY;
        }
    }
    for (int i = 1; i <= BackgroundImagesCount; ++i) {
        TBackgroundImage &image = BackgroundImages[at(i)];
        if (image.Selected) {
            image.OrigX = image.ImageX + offsetX;
            image.Origy = image.ImageY + offsetY;
        }
    }
}

void TNetwork::MoveSelectedNodes(int offsetX, int offsetY)
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        if (node.Selected) {
            node.x = node.OrigX + offsetX;
            node.y = node.OrigY + offsetY;
        }
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        if (text.Selected) {
            text.x = text.OrigX + offsetX;
            text.y = text.OrigY + offsetY;
        }
    }
    for (int i = 1; i <= BackgroundImagesCount; ++i) {
        TBackgroundImage &image = BackgroundImages[at(i)];
        if (image.Selected) {
            image.ImageX = image.OrigX + offsetX;
            image.ImageY = image.Origy + offsetY;
        }
    }
}

void TNetwork::MoveAllBackgroundImages(int offsetX, int offsetY)
{
    for (int i = 1; i <= BackgroundImagesCount; ++i) {
        TBackgroundImage &image = BackgroundImages[at(i)];
        image.OrigX = image.ImageX;
        image.Origy = image.ImageY;
        image.ImageX += offsetX;
        image.ImageY += offsetY;
    }
}

void TNetwork::DeleteSelectedItems()
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (GetNode(id).Selected) {
            RemoveAllPipeLinksFromToNode(id);
            RemoveNode(id);
        }

    std::vector<int> pipes;
    for (int i = 1; i <= NodeLinksCount; ++i)
        if (GetPipe(NodeLinks[at(i)].PipeId).Selected)
            pipes.push_back(NodeLinks[at(i)].PipeId);
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i)
        if (GetPipe(NodeLinksClosedPipe[at(i)].PipeId).Selected)
            pipes.push_back(NodeLinksClosedPipe[at(i)].PipeId);
    for (int pipeId : pipes)
        RemovePipeLink(pipeId);

    int i = 1;
    while (i <= FreeTextsCount) {
        if (GetFreeText(i).Selected) {
            RemoveFreeText(i);
            GetFreeText(FreeTextsCount + 1).Clear();
        } else {
            ++i;
        }
    }
}

void TNetwork::UpdateSelectedItemsToAutoNameIds()
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (GetNode(id).Selected)
            GetNode(id).Name = "N" + std::to_string(id);
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const int pipeId = NodeLinks[at(i)].PipeId;
        if (GetPipe(pipeId).Selected)
            GetPipe(pipeId).Name = "P" + std::to_string(pipeId);
    }
}

// --- Fluid zones ---------------------------------------------------------------------------

void TNetwork::UpdateSelectedItemsToFluidZone(int FluidZoneIndex)
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (pipe.Selected)
            pipe.FluidZoneIndex = FluidZoneIndex;
    }
}

void TNetwork::UpdateFluidZoneInPipes(int FromFluidZoneIndex, int ToFluidZoneIndex)
{
    for (int i = 1; i <= NodeLinksCount; ++i) {
        TPipe &pipe = GetPipe(NodeLinks[at(i)].PipeId);
        if (pipe.FluidZoneIndex == FromFluidZoneIndex)
            pipe.FluidZoneIndex = ToFluidZoneIndex;
    }
}

void TNetwork::DeleteFluidZone(int FluidZoneIndex)
{
    if (FluidZoneIndex < 1 || FluidZoneIndex > MaxFluidZones)
        return;
    // The caller moves the deleted zone's active pipes to zone 1. Closed
    // pipes follow their zones too, or they would take another zone's fluid
    // when the zones move down.
    auto moveClosedPipes = [this](int fromZone, int toZone) {
        for (int i = 1; i <= NodeLinksClosedPipeCount; ++i) {
            TPipe &pipe = GetPipe(NodeLinksClosedPipe[at(i)].PipeId);
            if (pipe.FluidZoneIndex == fromZone)
                pipe.FluidZoneIndex = toZone;
        }
    };
    moveClosedPipes(FluidZoneIndex, 1);
    const TColor deletedColor = FluidZones[at(FluidZoneIndex)].Color;
    for (int j = FluidZoneIndex; j < MaxFluidZones; ++j) {
        TFluidZone &zone = FluidZones[at(j)];
        const TFluidZone &next = FluidZones[at(j + 1)];
        zone.Fluid.CopyFluid(next.Fluid);
        zone.Color = next.Color;
        zone.ShowColor = next.ShowColor;
        UpdateFluidZoneInPipes(j + 1, j);
        moveClosedPipes(j + 1, j);
    }
    FluidZones[at(MaxFluidZones)].Color = deletedColor;
    CurrentFluidZone = 1;
    --FluidZonesCount;
}

void TNetwork::CopyFluidZonesFrom(const TNetwork &TheNetwork)
{
    for (int i = 1; i <= MaxFluidZones; ++i) {
        FluidZones[at(i)].Fluid.CopyFluid(TheNetwork.FluidZones[at(i)].Fluid);
        FluidZones[at(i)].Color = TheNetwork.FluidZones[at(i)].Color;
        FluidZones[at(i)].ShowColor = true;
    }
    FluidZonesCount = TheNetwork.FluidZonesCount;
    CurrentFluidZone = 1;
}

// --- Copy and paste --------------------------------------------------------------------------

void TNetwork::AddOnNetworkSelection(const TNetwork &TheNetwork)
{
    std::array<int, MaxNodes + 1> newNodeIds{};
    for (int id = TheNetwork.GetNextNodeId(0); id > 0; id = TheNetwork.GetNextNodeId(id))
        if (TheNetwork.GetNode(id).Selected)
            newNodeIds[at(id)] = AddNode(TheNetwork.GetNode(id));

    for (int i = 1; i <= TheNetwork.NodeLinksCount; ++i) {
        const TNodeLink &link = TheNetwork.NodeLinks[at(i)];
        const TPipe &pipe = TheNetwork.GetPipe(link.PipeId);
        if (!pipe.Selected)
            continue;
        const int from = newNodeIds[at(link.FromNodeId)];
        const int to = newNodeIds[at(link.ToNodeId)];
        // A pipe needs both of its ends in the selection; without them it
        // would be joined to no node at all.
        if (from == 0 || to == 0)
            continue;
        AddPipeLink(from, to, pipe);
    }

    for (int i = 1; i <= TheNetwork.FreeTextsCount; ++i) {
        const TFreeText &source = TheNetwork.GetFreeText(i);
        if (!source.Selected)
            continue;
        const int position =
            AddFreeText(source.GetText(), source.x, source.y, source.Color, source.Size, source.Style);
        if (position > 0)
            GetFreeText(position).CopyFreeText(source);
    }
}

// --- Points and lines ------------------------------------------------------------------------

bool TNetwork::IsPointOnLine(int PointX, int PointY, int LineX1, int LineY1, int LineX2, int LineY2)
{
    if (LineX2 < LineX1) {
        std::swap(LineX1, LineX2);
        std::swap(LineY1, LineY2);
    }
    bool vertical = false;
    int yL = 0;
    return onOrderedLine(PointX, PointY, LineX1, LineY1, LineX2, LineY2, vertical, yL);
}

void TNetwork::SnapPointToLine(int &PointX, int &PointY, int LineX1, int LineY1, int LineX2, int LineY2)
{
    if (LineX2 < LineX1) {
        std::swap(LineX1, LineX2);
        std::swap(LineY1, LineY2);
    }
    bool vertical = false;
    int yL = 0;
    const bool on = onOrderedLine(PointX, PointY, LineX1, LineY1, LineX2, LineY2, vertical, yL);
    if (vertical) {
        if (on)
            PointX = LineX1;
    } else if (on) {
        PointY = yL;
    } else {
        PointX = 0;
        PointY = 0;
    }
}

int TNetwork::IsPointOnAnyNetworkLine(int PointX, int PointY) const
{
    int found = 0, count = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        const TNode &from = GetNode(link.FromNodeId);
        const TNode &to = GetNode(link.ToNodeId);
        if (IsPointOnLine(PointX, PointY, from.x, from.y, to.x, to.y)) {
            found = link.PipeId;
            ++count;
        }
    }
    return count > 1 ? -1 : found;
}

int TNetwork::IsPointOnAnyClosedNetworkLine(int PointX, int PointY) const
{
    int found = 0, count = 0;
    for (int i = 1; i <= NodeLinksClosedPipeCount; ++i) {
        const TNodeLink &link = NodeLinksClosedPipe[at(i)];
        const TNode &from = GetNode(link.FromNodeId);
        const TNode &to = GetNode(link.ToNodeId);
        if (IsPointOnLine(PointX, PointY, from.x, from.y, to.x, to.y)) {
            found = link.PipeId;
            ++count;
        }
    }
    return count > 1 ? -1 : found;
}

int TNetwork::IsPointOnAnyLineFromThisNode(int TheNodeId, int PointX, int PointY) const
{
    int found = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.FromNodeId != TheNodeId && link.ToNodeId != TheNodeId)
            continue;
        const TNode &from = GetNode(link.FromNodeId);
        const TNode &to = GetNode(link.ToNodeId);
        if (IsPointOnLine(PointX, PointY, from.x, from.y, to.x, to.y))
            found = link.PipeId;
    }
    return found;
}

int TNetwork::IsPointOnAnyLineNotFromThisNode(int TheNodeId, int PointX, int PointY) const
{
    int found = 0;
    for (int i = 1; i <= NodeLinksCount; ++i) {
        const TNodeLink &link = NodeLinks[at(i)];
        if (link.FromNodeId == TheNodeId || link.ToNodeId == TheNodeId)
            continue;
        const TNode &from = GetNode(link.FromNodeId);
        const TNode &to = GetNode(link.ToNodeId);
        if (IsPointOnLine(PointX, PointY, from.x, from.y, to.x, to.y))
            found = link.PipeId;
    }
    return found;
}

bool TNetwork::ExistsNodesOnPipeLinkLine(int TheFromNodeId, int TheToNodeId) const
{
    const TNode &from = GetNode(TheFromNodeId);
    const TNode &to = GetNode(TheToNodeId);
    return ExistsNodesOnPipeLine(from.x, from.y, to.x, to.y);
}

bool TNetwork::ExistsNodesOnPipeLine(int LineX1, int LineY1, int LineX2, int LineY2) const
{
    // The test is strict at the ends, so the line's own nodes never count.
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (IsPointOnLine(node.x, node.y, LineX1, LineY1, LineX2, LineY2))
            return true;
    }
    return false;
}

bool TNetwork::ExistsNodesOnAnyLineFromThisNode(int TheNodeId) const
{
    for (int i = GetNextUndirectedNodeLinkId(TheNodeId, 0); i > 0; i = GetNextUndirectedNodeLinkId(TheNodeId, i))
        if (ExistsNodesOnPipeLinkLine(NodeLinks[at(i)].FromNodeId, NodeLinks[at(i)].ToNodeId))
            return true;
    return false;
}

bool TNetwork::ExistsAnyNodeOrPipeDrawingIssue() const
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (ExistsNodeWithSamePosition(node.x, node.y, id) > 0 || ExistsNodesOnAnyLineFromThisNode(id))
            return true;
    }
    return false;
}

// --- Sheet bounds ------------------------------------------------------------------------------

bool TNetwork::IsOnSheet(int x, int y) { return x >= 0 && x <= SheetWidth && y >= 0 && y <= SheetHeight; }

bool TNetwork::ExistsNodeOffScreen() const
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (!IsOnSheet(GetNode(id).x, GetNode(id).y))
            return true;
    return false;
}

bool TNetwork::ExistsSelectedNodeOffScreen() const
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.Selected && !IsOnSheet(node.x, node.y))
            return true;
    }
    return false;
}

void TNetwork::SelectItemsOffScreen()
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.Selected = !IsOnSheet(node.x, node.y);
    }
}

// --- Pump symbol position ------------------------------------------------------------------------

void TNetwork::SetPumpPercentagePositionFromXY(int ThePipeId)
{
    int fromId = -1, toId = -1;
    GetFromAndToNodeIds(ThePipeId, fromId, toId);
    if (fromId < 1 || toId < 1)
        return;
    const TNode &start = GetNode(fromId);
    const TNode &end = GetNode(toId);
    TPipe &pipe = GetPipe(ThePipeId);

    // A pipe drawn with both ends on one point has no direction to measure
    // along: the symbol then sits at 0 per cent.
    const double pipeLength = distance(start.x, start.y, end.x, end.y);
    const double p = pipeLength > 0 ? 100.0 * distance(start.x, start.y, pipe.Pump.x, pipe.Pump.y) / pipeLength : 0.0;
    pipe.PumpPositionPercentageAlongPipe = p;
    pipe.PumpDistanceFromStartOfPipe_m = 0;

    const int dx = end.x - start.x;
    const int dy = end.y - start.y;
    double q = std::min(p, 95.0);
    auto offsetX = [&] { return static_cast<int>(Round(q / 100.0 * dx)); };
    auto offsetY = [&] { return static_cast<int>(Round(q / 100.0 * dy)); };
    int ox = offsetX(), oy = offsetY();
    for (int k = 0; k <= 19 && std::abs(ox) < 10 && std::abs(oy) < 10; ++k) {
        q += 1 + k;
        ox = offsetX();
        oy = offsetY();
    }
    pipe.Pump.x = start.x + ox;
    pipe.Pump.y = start.y + oy;
}

void TNetwork::SetPumpXYFromPercentagePosition(int ThePipeId)
{
    int fromId = -1, toId = -1;
    GetFromAndToNodeIds(ThePipeId, fromId, toId);
    if (fromId < 1 || toId < 1)
        return;
    const TNode &start = GetNode(fromId);
    const TNode &end = GetNode(toId);
    TPipe &pipe = GetPipe(ThePipeId);
    const double q = std::min(pipe.PumpPositionPercentageAlongPipe, 95.0);
    pipe.Pump.x = start.x + static_cast<int>(Round(q / 100.0 * (end.x - start.x)));
    pipe.Pump.y = start.y + static_cast<int>(Round(q / 100.0 * (end.y - start.y)));
}

} // namespace tessaran
