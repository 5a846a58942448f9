// Drawing transforms: extents, grid snap, plan and isometric conversion,
// rotations by 90 degrees, flip and mirror. Only nodes and free texts move;
// pipes follow their nodes and background images stay where they are.

#include "network/Network_Class.h"

#include "platform/Pascal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace tessaran {

namespace {

std::size_t at(int position) { return static_cast<std::size_t>(position); }

int roundToInt(long double value) { return static_cast<int>(Round(value)); }

void widen(int &x1, int &y1, int &x2, int &y2, int x, int y)
{
    x1 = std::min(x1, x);
    y1 = std::min(y1, y);
    x2 = std::max(x2, x);
    y2 = std::max(y2, y);
}

bool sameParity(int a, int b) { return a % 2 == b % 2; }

// Text angles near the axes are set onto them.
int settleAngle(int angle)
{
    for (int axis : {0, 90, 180, 270, 360})
        if (std::abs(angle - axis) <= 2)
            return axis;
    return angle;
}

double toRadians(int degrees) { return degrees * std::numbers::pi / 180.0; }

// The angles of free texts 1..count, kept so that a refused transform can
// put them back together with the positions.
std::vector<int> textAngles(const TNetwork &network)
{
    std::vector<int> angles;
    for (int i = 1; i <= network.FreeTextsCount; ++i)
        angles.push_back(network.GetFreeText(i).Angle);
    return angles;
}

void restoreTextAngles(TNetwork &network, const std::vector<int> &angles)
{
    for (int i = 1; i <= static_cast<int>(angles.size()); ++i)
        network.GetFreeText(i).Angle = angles[static_cast<std::size_t>(i - 1)];
}

const char *const TooLargeForIso = "The Network cannot be rotated to Isometric.\r\r"
                                   "It is too large to fit on the Isometric grid.\r\r";
const char *const TooLargeForNormal = "The Network cannot be rotated to standard view.\r\r"
                                      "It is too large to fit on the standard grid.\r\r";

} // namespace

// --- Extents and grid ------------------------------------------------------------------

void TNetwork::GetMinMaxXY(int &x1, int &y1, int &x2, int &y2, bool NodeOnly) const
{
    x1 = SheetWidth;
    y1 = SheetHeight;
    x2 = 0;
    y2 = 0;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        widen(x1, y1, x2, y2, node.x, node.y);
        widen(x1, y1, x2, y2, node.x + node.JointSupplyRelativeX, node.y + node.JointSupplyRelativeY);
        widen(x1, y1, x2, y2, node.x + node.JointDischargeRelativeX, node.y + node.JointDischargeRelativeY);
    }
    if (!NodeOnly) {
        for (int i = 1; i <= FreeTextsCount; ++i) {
            const TFreeText &text = GetFreeText(i);
            widen(x1, y1, x2, y2, text.x, text.y);
            if (text.xEnd > 0) {
                x1 = std::min(x1, text.xEnd);
                x2 = std::max(x2, text.xEnd);
            }
            if (text.yEnd > 0) {
                y1 = std::min(y1, text.yEnd);
                y2 = std::max(y2, text.yEnd);
            }
        }
        for (int i = 1; i <= BackgroundImagesCount; ++i) {
            const TBackgroundImage &image = BackgroundImages[at(i)];
            widen(x1, y1, x2, y2, image.ImageX, image.ImageY);
            widen(x1, y1, x2, y2, image.ImageX + image.ImageStretchWidth - 1,
                  image.ImageY + image.ImageStretchHeight - 1);
        }
    }
    if (x2 < x1) {
        x1 = 9029;
        x2 = 9031;
    }
    if (y2 < y1) {
        y1 = 6009;
        y2 = 6011;
    }
}

void TNetwork::GetMinMaxXYSelection(int &x1, int &y1, int &x2, int &y2, bool NodeOnly) const
{
    x1 = SheetWidth - 40;
    y1 = SheetHeight - 40;
    x2 = 40;
    y2 = 40;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (node.Selected)
            widen(x1, y1, x2, y2, node.x, node.y);
    }
    if (!NodeOnly) {
        for (int i = 1; i <= FreeTextsCount; ++i) {
            const TFreeText &text = GetFreeText(i);
            if (text.Selected)
                widen(x1, y1, x2, y2, text.x, text.y);
        }
        for (int i = 1; i <= BackgroundImagesCount; ++i) {
            const TBackgroundImage &image = BackgroundImages[at(i)];
            if (image.Selected)
                widen(x1, y1, x2, y2, image.ImageX, image.ImageY);
        }
    }
    x1 -= 40;
    y1 -= 40;
    x2 += 40;
    y2 += 40;
}

void TNetwork::CalcSnapToGridXY(int &MetaFileX, int &MetaFileY) const
{
    const int gx = MetaFileDrawing_XGridSpacing;
    const int gy = MetaFileDrawing_YGridSpacing;
    if (!IsometricDrawing) {
        auto snap = [](int value, int grid, int sheet) {
            if (value % grid == 0)
                return value;
            value = ((value + grid / 2) / grid) * grid;
            return std::clamp(value, grid, sheet - grid);
        };
        MetaFileX = snap(MetaFileX, gx, SheetWidth);
        MetaFileY = snap(MetaFileY, gy, SheetHeight);
        return;
    }
    const int a = MetaFileX / gx;
    const int s = gy / 2;
    const int b = (MetaFileY + s) / s;
    MetaFileX = a * gx + gx / 2;
    MetaFileY = b * s;
    if (sameParity(a, b))
        MetaFileY -= s;
}

// --- Point conversions ---------------------------------------------------------------------

void TNetwork::RotateNormalPointToIso(int x, int y, int xNormalZeroRef, int yNormalZeroRef, int xIsoZeroRef,
                                      int yIsoZeroRef, int &xIso, int &yIso) const
{
    const int dx = x - xNormalZeroRef;
    const int dy = y - yNormalZeroRef;
    const int h = dy / 2;
    const double r = static_cast<double>(MetaFileDrawing_YGridSpacing) / (2.0 * MetaFileDrawing_XGridSpacing);
    xIso = xIsoZeroRef + dx - roundToInt(h / r);
    yIso = yIsoZeroRef + h + roundToInt(r * dx);
}

void TNetwork::RotateIsoPointToNormal(int x, int y, int xIsoZeroRef, int yIsoZeroRef, int xNormalZeroRef,
                                      int yNormalZeroRef, int &xNormal, int &yNormal) const
{
    const int gx = MetaFileDrawing_XGridSpacing;
    const int gy = MetaFileDrawing_YGridSpacing;
    const double A = static_cast<double>(x - xIsoZeroRef) / gx * 0.5;
    const double B = static_cast<double>(y - yIsoZeroRef) / (gy / 2) * 0.5;
    xNormal = xNormalZeroRef + roundToInt((A + B) * gx);
    yNormal = yNormalZeroRef + roundToInt((B - A) * gy);
}

void TNetwork::rotateTextAngleToIso(TFreeText &text) const
{
    const double theta = toRadians(text.Angle);
    const int farX = text.OrigX + roundToInt(std::cos(theta) * 10000);
    const int farY = text.OrigY - roundToInt(std::sin(theta) * 10000);
    int xIso = 0, yIso = 0;
    RotateNormalPointToIso(farX, farY, text.OrigX, text.OrigY, text.OrigX, text.OrigY, xIso, yIso);
    int angle = 0;
    if (xIso != text.OrigX) {
        const double degrees = std::atan2(double(yIso - text.OrigY), double(xIso - text.OrigX)) * 180.0 /
                               std::numbers::pi;
        angle = (360 - roundToInt(degrees)) % 360;
    }
    text.Angle = settleAngle(angle);
}

void TNetwork::rotateTextAngleToNormal(TFreeText &text) const
{
    const double theta = toRadians(text.Angle);
    const int farX = text.OrigX + roundToInt(std::cos(theta) * 100000);
    const int farY = text.OrigY + roundToInt(std::sin(theta) * 100000);
    int xNormal = 0, yNormal = 0;
    RotateIsoPointToNormal(farX, farY, text.OrigX, text.OrigY, text.OrigX, text.OrigY, xNormal, yNormal);
    int angle = 0;
    if (xNormal != text.OrigX) {
        const double degrees = std::atan2(double(yNormal - text.OrigY), double(xNormal - text.OrigX)) * 180.0 /
                               std::numbers::pi;
        angle = (roundToInt(degrees) + 90) % 360; // may be negative
    }
    text.Angle = settleAngle(angle);
}

// --- Helpers shared by the whole-drawing transforms -------------------------------------------

void TNetwork::setPositionsToOrig()
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.x = node.OrigX;
        node.y = node.OrigY;
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        text.x = text.OrigX;
        text.y = text.OrigY;
    }
}

void TNetwork::setOrigToPositions(bool clearLabelOffsets)
{
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        if (clearLabelOffsets) {
            node.labelRelativex = 0;
            node.labelRelativey = 0;
        }
        node.OrigX = node.x;
        node.OrigY = node.y;
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        text.OrigX = text.x;
        text.OrigY = text.y;
    }
}

// --- View conversions ---------------------------------------------------------------------------

void TNetwork::RotateNormalDrawingToIso()
{
    const int gx = MetaFileDrawing_XGridSpacing;
    const int gy = MetaFileDrawing_YGridSpacing;
    SetNormalDrawing();
    int x1, y1, x2, y2;
    GetMinMaxXY(x1, y1, x2, y2, true);
    CalcSnapToGridXY(x1, y1);
    CalcSnapToGridXY(x2, y2);
    const std::vector<int> angles = textAngles(*this);

    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.OrigX = node.x;
        node.OrigY = node.y;
        RotateNormalPointToIso(node.OrigX, node.OrigY, x1, y1, x1, y1, node.x, node.y);
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        text.OrigX = text.x;
        text.OrigY = text.y;
        RotateNormalPointToIso(text.OrigX, text.OrigY, x1, y1, x1, y1, text.x, text.y);
        rotateTextAngleToIso(text);
    }

    SetisometricDrawing();
    GetMinMaxXY(x1, y1, x2, y2, false);
    CalcSnapToGridXY(x1, y1);
    CalcSnapToGridXY(x2, y2);
    int sx = gx * (((SheetWidth - (x2 - x1)) / 2 - x1) / gx) - gx / 2;
    int sy = (gy / 2) * (((SheetHeight - (y2 - y1)) / 2 - y1) / gy);
    CalcSnapToGridXY(sx, sy);
    if (const int first = GetNextNodeId(0); first > 0) {
        const TNode &node = GetNode(first);
        if (sameParity((node.x + sx) / gx, (node.y + sy) / (gy / 2)))
            sx += gx;
    }

    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.x += sx;
        node.y += sy;
        CalcSnapToGridXY(node.x, node.y);
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        GetFreeText(i).x += sx;
        GetFreeText(i).y += sy;
    }

    GetMinMaxXY(x1, y1, x2, y2, false);
    if (x1 < 0 || x2 > SheetWidth || y1 < 0 || y2 > SheetHeight) {
        UserInterface->ShowMessage(TMessageKind::Information, TooLargeForIso);
        SetNormalDrawing();
        setPositionsToOrig();
        restoreTextAngles(*this, angles);
    } else {
        setOrigToPositions(true);
    }
}

void TNetwork::RotateIsoDrawingToNormal()
{
    const int gx = MetaFileDrawing_XGridSpacing;
    const int gy = MetaFileDrawing_YGridSpacing;
    SetisometricDrawing();
    int xr = SheetWidth, yr = SheetHeight;
    bool anyNode = false;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        const TNode &node = GetNode(id);
        if (!anyNode || node.x < xr) {
            xr = node.x;
            yr = node.y;
            anyNode = true;
        }
    }
    const int xn = xr + gx / 2;
    const int yn = yr + gy / 2;
    const std::vector<int> angles = textAngles(*this);

    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        node.OrigX = node.x;
        node.OrigY = node.y;
        RotateIsoPointToNormal(node.OrigX, node.OrigY, xr, yr, xn, yn, node.x, node.y);
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        text.OrigX = text.x;
        text.OrigY = text.y;
        RotateIsoPointToNormal(text.OrigX, text.OrigY, xr, yr, xn, yn, text.x, text.y);
        rotateTextAngleToNormal(text);
    }

    int x1, y1, x2, y2;
    GetMinMaxXY(x1, y1, x2, y2, true);
    SetNormalDrawing();
    const int sx = gx * (((SheetWidth - (x2 - x1)) / 2 - x1) / gx);
    const int sy = gy * (((SheetHeight - (y2 - y1)) / 2 - y1) / gy);
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        GetNode(id).x += sx;
        GetNode(id).y += sy;
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        GetFreeText(i).x += sx;
        GetFreeText(i).y += sy;
    }

    GetMinMaxXY(x1, y1, x2, y2, false);
    if (x1 < 0 || x2 > SheetWidth || y1 < 0 || y2 > SheetHeight) {
        UserInterface->ShowMessage(TMessageKind::Information, TooLargeForNormal);
        SetisometricDrawing();
        setPositionsToOrig();
        restoreTextAngles(*this, angles);
    } else {
        setOrigToPositions(true);
    }
}

// --- Rotations by 90 degrees ----------------------------------------------------------------------

void TNetwork::rotateNormalDrawing90(TNetworkStates &states, bool selectionOnly, bool plus)
{
    const int gx = MetaFileDrawing_XGridSpacing;
    const int gy = MetaFileDrawing_YGridSpacing;
    int x1, y1, x2, y2;
    GetMinMaxXYSelection(x1, y1, x2, y2, false);
    x1 -= gx;
    y1 -= gy;
    CalcSnapToGridXY(x1, y1);
    CalcSnapToGridXY(x2, y2);
    if (std::abs(x2 - x1) >= 11941) {
        UserInterface->ShowMessage(TMessageKind::Information,
                                   "The items cannot be rotated by 90 degrees.\r\r"
                                   "The selection width is greater than the drawing height.\r\r"
                                   "When rotated the itmes are too large to fit on the grid.\r\r");
        return;
    }

    // Which items turn is decided once, before anything moves.
    std::vector<int> nodes, texts;
    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id))
        if (!selectionOnly || GetNode(id).Selected)
            nodes.push_back(id);
    for (int i = 1; i <= FreeTextsCount; ++i)
        if (!selectionOnly || GetFreeText(i).Selected)
            texts.push_back(i);
    const std::vector<int> angles = textAngles(*this);

    const double W = static_cast<double>(x2 - x1) / gx;
    const double H = static_cast<double>(y2 - y1) / gy;
    auto turn = [&](int u, int v, int &x, int &y) {
        if (plus) {
            x = roundToInt((W - static_cast<double>(v) / gy) * gx);
            y = roundToInt(static_cast<double>(gy) * u / gx);
        } else {
            x = roundToInt(static_cast<double>(gx) * v / gy);
            y = roundToInt((H - static_cast<double>(u) / gx) * gy);
        }
    };
    for (int id : nodes) {
        TNode &node = GetNode(id);
        node.OrigX = node.x;
        node.OrigY = node.y;
        int u = node.x - x1, v = node.y - y1;
        CalcSnapToGridXY(u, v);
        turn(u, v, node.x, node.y);
    }
    for (int i : texts) {
        TFreeText &text = GetFreeText(i);
        text.OrigX = text.x;
        text.OrigY = text.y;
        turn(text.x - x1, text.y - y1, text.x, text.y);
        text.Angle = (text.Angle + (plus ? 270 : 90)) % 360;
    }

    int sx, sy;
    if (selectionOnly) {
        GetMinMaxXYSelection(x1, y1, x2, y2, false);
        CalcSnapToGridXY(x1, y1);
        CalcSnapToGridXY(x2, y2);
        sx = states.SelectionStartX - x1;
        sy = states.SelectionStartY - y1;
    } else {
        GetMinMaxXY(x1, y1, x2, y2, false);
        CalcSnapToGridXY(x1, y1);
        CalcSnapToGridXY(x2, y2);
        sx = gx * (((SheetWidth - (x2 - x1)) / 2 - x1) / gx);
        sy = gy * (((SheetHeight - (y2 - y1)) / 2 - y1) / gy);
    }
    for (int id : nodes) {
        TNode &node = GetNode(id);
        node.x += sx;
        node.y += sy;
        CalcSnapToGridXY(node.x, node.y);
    }
    for (int i : texts) {
        GetFreeText(i).x += sx;
        GetFreeText(i).y += sy;
    }

    GetMinMaxXYSelection(x1, y1, x2, y2, false);
    if (std::abs(y2 - y1) <= 11940) {
        setOrigToPositions(true);
        states.SelectionStartX = x1;
        states.SelectionStartY = y1;
        states.SelectionEndX = x2;
        states.SelectionEndY = y2;
        return;
    }
    UserInterface->ShowMessage(TMessageKind::Information,
                               std::string(plus ? "The items cannot be rotated by 90 degrees."
                                                : "The items cannot be rotated by minus 90 degrees.") +
                                   "\r\rWhen rotated they are too large to fit on the grid.\r\r");
    // Only the turned items go back: the others' saved positions may be
    // left over from an earlier drag.
    for (int id : nodes) {
        GetNode(id).x = GetNode(id).OrigX;
        GetNode(id).y = GetNode(id).OrigY;
    }
    for (int i : texts) {
        GetFreeText(i).x = GetFreeText(i).OrigX;
        GetFreeText(i).y = GetFreeText(i).OrigY;
    }
    restoreTextAngles(*this, angles);
}

void TNetwork::RotateNormalDrawingPlus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly)
{
    rotateNormalDrawing90(TheNetworkStates, SelectionOnly, true);
}

void TNetwork::RotateNormalDrawingMinus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly)
{
    rotateNormalDrawing90(TheNetworkStates, SelectionOnly, false);
}

void TNetwork::RotateIsoDrawingPlus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly)
{
    // The turn passes through the plan view. A drawing that does not fit it
    // stays isometric, and turning its isometric positions as plan ones
    // would garble it.
    RotateIsoDrawingToNormal();
    if (IsometricDrawing)
        return;
    GetMinMaxXYSelection(TheNetworkStates.SelectionStartX, TheNetworkStates.SelectionStartY,
                         TheNetworkStates.SelectionEndX, TheNetworkStates.SelectionEndY, false);
    rotateNormalDrawing90(TheNetworkStates, SelectionOnly, true);
    RotateNormalDrawingToIso();
}

void TNetwork::RotateIsoDrawingMinus90Degrees(TNetworkStates &TheNetworkStates, bool SelectionOnly)
{
    RotateIsoDrawingToNormal();
    if (IsometricDrawing)
        return;
    GetMinMaxXYSelection(TheNetworkStates.SelectionStartX, TheNetworkStates.SelectionStartY,
                         TheNetworkStates.SelectionEndX, TheNetworkStates.SelectionEndY, false);
    rotateNormalDrawing90(TheNetworkStates, SelectionOnly, false);
    RotateNormalDrawingToIso();
}

// --- Flip and mirror -----------------------------------------------------------------------------

void TNetwork::flipOrMirror(bool selectionOnly, bool flip)
{
    int x1, y1, x2, y2;
    if (selectionOnly)
        GetMinMaxXYSelection(x1, y1, x2, y2, false);
    else
        GetMinMaxXY(x1, y1, x2, y2, true);
    CalcSnapToGridXY(x1, y1);
    CalcSnapToGridXY(x2, y2);

    for (int id = GetNextNodeId(0); id > 0; id = GetNextNodeId(id)) {
        TNode &node = GetNode(id);
        if (selectionOnly && !node.Selected)
            continue;
        if (flip)
            node.y = y1 + y2 - node.y;
        else
            node.x = x1 + x2 - node.x;
        if (!selectionOnly)
            CalcSnapToGridXY(node.x, node.y);
        node.OrigX = node.x;
        node.OrigY = node.y;
    }
    for (int i = 1; i <= FreeTextsCount; ++i) {
        TFreeText &text = GetFreeText(i);
        if (selectionOnly && !text.Selected)
            continue;
        if (flip) {
            text.y = y1 + y2 - text.y;
            text.Angle = (720 - text.Angle) % 360;
        } else {
            text.x = x1 + x2 - text.x;
        }
        text.OrigX = text.x;
        text.OrigY = text.y;
    }
}

void TNetwork::RotateFlipUpDown(TNetworkStates &, bool SelectionOnly) { flipOrMirror(SelectionOnly, true); }

void TNetwork::RotateMirrorLeftRight(TNetworkStates &, bool SelectionOnly) { flipOrMirror(SelectionOnly, false); }

void TNetwork::RotateFreeTextAngles(int TheAngle)
{
    for (int i = 1; i <= FreeTextsCount; ++i)
        GetFreeText(i).Angle = (GetFreeText(i).Angle + TheAngle) % 360;
}

} // namespace tessaran
