// What lies under a drawing point: nodes, pipes, the items along pipes,
// labels, demand arrows, free texts and the handles of background images.
// Item positions are those the last render wrote back into the network.
#include "app/NetworkForm.h"

#include "model/Fitting_Set_Class.h"
#include "platform/Pascal.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace tessaran {

bool TNetworkForm::CheckXYMatch(int X1, int Y1, int X2, int Y2, int tolerance)
{
    return std::abs(X1 - X2) < tolerance && std::abs(Y1 - Y2) < tolerance;
}

namespace {

constexpr int ItemTolerance = 10;

// The pipe line test of one link, ordered so that x1 <= x2.
bool pointOnPipeLine(const TNetwork &network, const TNodeLink &link, int X, int Y)
{
    const TNode &from = network.GetNode(link.FromNodeId);
    const TNode &to = network.GetNode(link.ToNodeId);
    int x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (x1 == x2)
        return x1 - 10 < X && X < x1 + 10 && std::min(y1, y2) < Y && Y < std::max(y1, y2);
    const double s = static_cast<double>(y2 - y1) / (x2 - x1);
    const int yLine = static_cast<int>(Round(s * (X - x1) + y1));
    const int band = std::abs(static_cast<int>(s));
    return x1 < X && X < x2 && Y - 15 - band < yLine && yLine < Y + 15 + band;
}

// The first open pipe whose item at the position `at` gives is near the point.
template <typename Has, typename At>
int firstPipeItemNear(const TNetwork &network, int X, int Y, Has has, At at)
{
    for (int i = 1; i <= network.NodeLinksCount; ++i) {
        const int pipeId = network.GetNodeLink(i).PipeId;
        const TPipe &pipe = network.GetPipe(pipeId);
        if (!has(pipe))
            continue;
        const auto [x, y] = at(pipe);
        if (TNetworkForm::CheckXYMatch(x, y, X, Y, ItemTolerance))
            return pipeId;
    }
    return 0;
}

template <typename Offset> int firstNodeNear(const TNetwork &network, int X, int Y, bool demandsOnly, Offset offset)
{
    for (int id = network.GetNextNodeId(0); id > 0; id = network.GetNextNodeId(id)) {
        const TNode &node = network.GetNode(id);
        if (demandsOnly && node.JointSupply_m3s == 0 && node.JointDischarge_m3s == 0)
            continue;
        const auto [dx, dy] = offset(node);
        if (TNetworkForm::CheckXYMatch(node.x + dx, node.y + dy, X, Y, ItemTolerance))
            return id;
    }
    return 0;
}

} // namespace

int TNetworkForm::CheckNodeClick(int X, int Y) const
{
    try {
        for (int id = CurrentNetwork->GetNextNodeId(0); id > 0; id = CurrentNetwork->GetNextNodeId(id)) {
            const TNode &node = CurrentNetwork->GetNode(id);
            if (CheckXYMatch(node.x, node.y, X, Y, static_cast<int>(node.NodeScale * 2) + 8))
                return id;
        }
    } catch (const std::exception &) {
    }
    return 0;
}

int TNetworkForm::CheckClosedPipeClick(int X, int Y) const
{
    int hit = -1;
    for (int i = 1; i <= CurrentNetwork->NodeLinksClosedPipeCount; ++i) {
        const TNodeLink link = CurrentNetwork->GetNodeLinkClosedPipe(i);
        if (pointOnPipeLine(*CurrentNetwork, link, X, Y))
            hit = link.PipeId;
    }
    return hit;
}

int TNetworkForm::CheckPipeClick(int X, int Y) const
{
    int hit = -1;
    for (int i = 1; i <= CurrentNetwork->NodeLinksCount; ++i) {
        const TNodeLink link = CurrentNetwork->GetNodeLink(i);
        if (pointOnPipeLine(*CurrentNetwork, link, X, Y))
            hit = link.PipeId;
    }
    return hit > 0 ? hit : CheckClosedPipeClick(X, Y);
}

int TNetworkForm::CheckPumpClick(int X, int Y) const
{
    for (int i = 1; i <= CurrentNetwork->NodeLinksCount; ++i) {
        const int pipeId = CurrentNetwork->GetNodeLink(i).PipeId;
        const TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
        if (pipe.PumpCount > 0 &&
            CheckXYMatch(pipe.Pump.x, pipe.Pump.y, X, Y, static_cast<int>(pipe.Pump.PumpScale * 4) + 6))
            return pipeId;
    }
    return 0;
}

void TNetworkForm::CheckPipeFittingClick(int X, int Y, int &PipeId, TFittingPosition &FittingPosition) const
{
    PipeId = 0;
    for (int i = 1; i <= CurrentNetwork->NodeLinksCount; ++i) {
        const int pipeId = CurrentNetwork->GetNodeLink(i).PipeId;
        const TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
        if (pipe.GetFittingCount() < 1)
            continue;
        if (CheckXYMatch(pipe.EntryFittingsx, pipe.EntryFittingsy, X, Y, ItemTolerance)) {
            PipeId = pipeId;
            FittingPosition = EntryFitting;
            return;
        }
        if (CheckXYMatch(pipe.ExitFittingsx, pipe.ExitFittingsy, X, Y, ItemTolerance)) {
            PipeId = pipeId;
            FittingPosition = ExitFitting;
            return;
        }
    }
}

int TNetworkForm::CheckPipeComponentPressureClick(int X, int Y) const
{
    return firstPipeItemNear(
        *CurrentNetwork, X, Y, [](const TPipe &p) { return p.ComponentPressureCount > 0; },
        [](const TPipe &p) { return std::pair(p.ComponentPressurex, p.ComponentPressurey); });
}

int TNetworkForm::CheckTessaranControlClick(int X, int Y) const
{
    return firstPipeItemNear(
        *CurrentNetwork, X, Y, [](const TPipe &p) { return p.FlowControlCount > 0; },
        [](const TPipe &p) { return std::pair(p.FlowControlx, p.FlowControly); });
}

int TNetworkForm::CheckPipeTextClick(int X, int Y) const
{
    return firstPipeItemNear(
        *CurrentNetwork, X, Y, [](const TPipe &) { return true; },
        [](const TPipe &p) { return std::pair(p.labelx, p.labely); });
}

int TNetworkForm::CheckNodeDemandInClick(int X, int Y) const
{
    return firstNodeNear(*CurrentNetwork, X, Y, true,
                         [](const TNode &n) { return std::pair(n.JointSupplyRelativeX, n.JointSupplyRelativeY); });
}

int TNetworkForm::CheckNodeDemandOutClick(int X, int Y) const
{
    return firstNodeNear(*CurrentNetwork, X, Y, true, [](const TNode &n) {
        return std::pair(n.JointDischargeRelativeX, n.JointDischargeRelativeY);
    });
}

int TNetworkForm::CheckNodeTextClick(int X, int Y) const
{
    return firstNodeNear(*CurrentNetwork, X, Y, false,
                         [](const TNode &n) { return std::pair(n.labelRelativex, n.labelRelativey); });
}

int TNetworkForm::CheckFreeTextClick(int X, int Y) const
{
    int hit = 0;
    try {
        for (int i = 1; i <= CurrentNetwork->FreeTextsCount; ++i) {
            const TFreeText &text = CurrentNetwork->GetFreeText(i);
            if (CheckXYMatch(text.x, text.y, X, Y, ItemTolerance))
                hit = i;
        }
    } catch (const std::exception &) {
        return 0;
    }
    return hit;
}

void TNetworkForm::CheckBackgroundImageClick(int X, int Y, int &ImageId, int &Handle) const
{
    ImageId = 0;
    Handle = 0;
    constexpr int HandleTolerance = 20;
    for (int i = 1; i <= CurrentNetwork->BackgroundImagesCount; ++i) {
        const TBackgroundImage &image = CurrentNetwork->BackgroundImages[static_cast<std::size_t>(i)];
        const int x = image.ImageX, y = image.ImageY;
        const int right = x + image.ImageStretchWidth, bottom = y + image.ImageStretchHeight;
        const int midX = (x + right) / 2, midY = (y + bottom) / 2;
        const std::pair<int, int> handles[] = {{x + 30, y + 26}, {x, y},         {midX, y},      {right, y},
                                               {right, midY},    {right, bottom}, {midX, bottom}, {x, bottom},
                                               {x, midY},        {midX, midY}};
        for (int h = 0; h < 10; ++h)
            if (CheckXYMatch(handles[h].first, handles[h].second, X, Y, HandleTolerance)) {
                ImageId = i;
                Handle = h == 0 ? 10 : h; // the edit box is tested first
                break;
            }
    }
}

} // namespace tessaran
