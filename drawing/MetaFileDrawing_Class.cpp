#include "drawing/MetaFileDrawing_Class.h"

#include "drawing/Canvas_Drawings.h"
#include "drawing/Component_Symbols.h"
#include "drawing/MetaFileDrawing_Render.h"
#include "drawing/Pipe_Items.h"
#include "drawing/Pump_Symbols.h"
#include "network/Result_Table_Cells.h"
#include "platform/Codepage1252.h"
#include "platform/Pascal.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <algorithm>
#include <cmath>

namespace tessaran {

namespace {

constexpr TColor kGridColour = 0xE0E0E0;
constexpr TColor kLabelColour = clBlue;
constexpr TColor kNotInCalculation = clSilver;

int roundi(double v) { return static_cast<int>(Round(v)); }

} // namespace

TMetaFileDrawing::TMetaFileDrawing(int TheWidth, int TheHeight) : MetaFileWidth(TheWidth), MetaFileHeight(TheHeight)
{
    MetaFile.Width = TheWidth;
    MetaFile.Height = TheHeight;
    CreateMetaFileCanvasFromMetaFile();
    TransferMetaFileCanvasToMetaFile();
    MetaFileDrawing_XGridSpacing = 40;
    MetaFileDrawing_YGridSpacing = 40;
}

TMetaFileDrawing::~TMetaFileDrawing() = default;

void TMetaFileDrawing::Clear()
{
    MetaFile.Clear();
}

TCanvas &TMetaFileDrawing::canvas()
{
    if (target_)
        return *target_;
    if (!MetaFileCanvas)
        throw EMetafileError("No recording is open");
    return *MetaFileCanvas;
}

void TMetaFileDrawing::CreateMetaFileCanvas(bool, bool)
{
    MetaFile.Width = MetaFileWidth;
    MetaFile.Height = MetaFileHeight;
    MetaFileCanvas = std::make_unique<TMetafileCanvas>(MetaFile);
    MetaFileCanvas->IntersectClipRect(TRect{0, 0, MetaFileWidth, MetaFileHeight});
}

void TMetaFileDrawing::CreateMetaFileCanvasFromMetaFile()
{
    // The recording replaces the picture only when it closes, so a copy of
    // the current one is what is played back.
    TMetafile previous = MetaFile;
    CreateMetaFileCanvas(false, false);
    if (!previous.Empty())
        MetaFileCanvas->StretchDraw(TRect{0, 0, MetaFileWidth, MetaFileHeight}, previous);
}

void TMetaFileDrawing::TransferMetaFileCanvasToMetaFile()
{
    if (!MetaFileCanvas)
        return;
    MetaFileCanvas->Close();
    MetaFileCanvas.reset();
}

namespace {
TCanvas &gridPen(TCanvas &C)
{
    C.Brush.Color = kGridColour;
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Pen.Color = kGridColour;
    C.Pen.Width = 1;
    return C;
}
} // namespace

void TMetaFileDrawing::DrawGridLines()
{
    TCanvas &C = gridPen(canvas());
    for (int x = 0; x < MetaFileWidth;) {
        x += MetaFileDrawing_XGridSpacing;
        C.MoveTo(x, 0);
        C.LineTo(x, MetaFileHeight);
    }
    for (int y = 0; y < MetaFileHeight;) {
        y += MetaFileDrawing_YGridSpacing;
        C.MoveTo(0, y);
        C.LineTo(MetaFileWidth, y);
    }
}

void TMetaFileDrawing::DrawGridLinesIsometric()
{
    TCanvas &C = gridPen(canvas());
    for (int a = -3 * MetaFileWidth; a < 3 * MetaFileWidth;) {
        a += 2 * MetaFileDrawing_XGridSpacing;
        C.MoveTo(a, 0);
        C.LineTo(a - 2 * MetaFileHeight, MetaFileHeight);
        C.MoveTo(a, 0);
        C.LineTo(a + 2 * MetaFileHeight, MetaFileHeight);
    }
}

void TMetaFileDrawing::SaveToFile(const std::string &WmfFilename) const
{
    MetaFile.SaveToFile(WmfFilename);
}

void TMetaFileDrawing::DrawMetaFileFromNetwork(TNetwork &TheNetwork, const TNetworkStates &TheNetworkStates,
                                               bool ResultsMode, bool ShowGridLines, bool Animate, int AnimateId,
                                               bool DrawBackgroundImages)
{
    CreateMetaFileCanvas(ResultsMode, ShowGridLines);
    try {
        DrawNetworkOnCanvas(*MetaFileCanvas, TheNetwork, TheNetworkStates, ResultsMode, ShowGridLines, Animate,
                            AnimateId, DrawBackgroundImages);
    } catch (...) {
        // The unfinished recording is dropped; the previous picture stays.
        MetaFileCanvas.reset();
        throw;
    }
    TransferMetaFileCanvasToMetaFile();
}

void TMetaFileDrawing::DrawNetworkOnCanvas(TCanvas &Target, TNetwork &TheNetwork,
                                           const TNetworkStates &TheNetworkStates, bool ResultsMode,
                                           bool ShowGridLines, bool Animate, int AnimateId, bool DrawBackgroundImages)
{
    TRenderState s{TheNetwork, TheNetworkStates, ResultsMode, ShowGridLines, Animate, AnimateId,
                   DrawBackgroundImages};
    s.C = &Target;
    target_ = &Target;
    try {
        renderLayers(s);
    } catch (...) {
        target_ = nullptr;
        throw;
    }
    target_ = nullptr;
}

void TMetaFileDrawing::renderLayers(TRenderState &s)
{
    const bool imagesShown = s.DrawBackgroundImages && !s.Animate && !s.States.HideAllImages;
    if (imagesShown) {
        drawBackgroundImages(s, 3);
        drawBackgroundImages(s, 2);
    }
    if (!s.ResultsMode && s.ShowGridLines) {
        if (s.Network.IsometricDrawing)
            DrawGridLinesIsometric();
        else
            DrawGridLines();
    }
    if (imagesShown)
        drawBackgroundImages(s, 1);
    if (s.DrawBackgroundImages && !s.Animate && s.Dragging())
        drawImageHandles(s);
    TCanvas &C = *s.C;
    C.Brush.Color = clGreen;
    C.Brush.Style = TBrushStyle::bsDiagCross;
    C.Pen.Style = TPenStyle::psSolid;
    C.Pen.Width = 0;
    C.Pen.Color = kLabelColour;
    drawNodeHighlights(s);
    drawPipesFirstPass(s);
    drawClosedPipes(s);
    drawNodes(s);
    drawPipesSecondPass(s);
    drawFreeTexts(s);
    if (!s.Animate && s.Dragging())
        drawEditBoxes(s);
    drawOverlays(s);
}

// --- Background images ---------------------------------------------------------------

void TMetaFileDrawing::drawBackgroundImages(const TRenderState &s, int Layer)
{
    for (int i = 1; i <= std::min(s.Network.BackgroundImagesCount, TNetwork::MaxBackgroundImages); ++i) {
        const TBackgroundImage &image = s.Network.BackgroundImages[std::size_t(i)];
        // An image whose displayed picture was never made has nothing to show.
        if (image.HideImage || image.DisplayLayer != Layer || !image.BitmapAdjusted)
            continue;
        s.C->StretchDraw(TRect{image.ImageX, image.ImageY, image.ImageX + image.ImageStretchWidth - 1,
                               image.ImageY + image.ImageStretchHeight - 1},
                         *image.BitmapAdjusted);
    }
}

void TMetaFileDrawing::drawImageHandles(const TRenderState &s)
{
    TCanvas &C = *s.C;
    for (int i = 1; i <= std::min(s.Network.BackgroundImagesCount, TNetwork::MaxBackgroundImages); ++i) {
        const TBackgroundImage &image = s.Network.BackgroundImages[std::size_t(i)];
        const int x1 = image.ImageX, y1 = image.ImageY;
        const int x2 = image.ImageX + image.ImageStretchWidth - 1, y2 = image.ImageY + image.ImageStretchHeight - 1;
        const int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
        int r = image.ImageStretchWidth / 20;
        if (image.ImageStretchHeight < image.ImageStretchWidth)
            r = image.ImageStretchHeight / 20;
        r = std::max(r, 30);
        DrawFilledCircle(C, cx, cy, r, clYellow);
        DrawFilledCircle(C, cx, cy, 15, clRed);
        C.Brush.Color = clWhite;
        C.Brush.Style = TBrushStyle::bsClear;
        C.Pen.Width = 3;
        C.Pen.Color = clRed;
        const TPoint frame[5] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {x1, y1}};
        C.Polyline(frame);
        const TPoint handles[8] = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, {cx, y1}, {x2, cy}, {cx, y2}, {x1, cy}};
        for (const TPoint &p : handles)
            DrawFilledCircle(C, p.X, p.Y, 20, clYellow);
        for (const TPoint &p : handles)
            DrawFilledCircle(C, p.X, p.Y, 8, clRed);
    }
}

// --- Node highlights -----------------------------------------------------------------------

void TMetaFileDrawing::drawNodeHighlights(const TRenderState &s)
{
    const TNetworkStates &st = s.States;
    for (int id = s.Network.GetNextNodeId(0); id > 0; id = s.Network.GetNextNodeId(id)) {
        const TNode &node = s.Network.GetNode(id);
        const bool highlight = id == st.CurrentNodeIdSelected || st.DrawingObject == DrawingDragNode ||
                               (st.DrawingObject == DrawingSelection && st.SelectionStatus != 9) ||
                               (node.Selected && st.SelectionStatus == 9) || s.Animated(id);
        if (highlight)
            DrawFilledCircle(*s.C, node.x, node.y, static_cast<int>(Trunc(node.NodeScale * 18)), clYellow);
    }
}

// --- Pipes ------------------------------------------------------------------------------------

TPipeGeometry TMetaFileDrawing::TRenderState::Geometry(const TNodeLink &link) const
{
    const TNode &a = Network.GetNode(link.FromNodeId);
    const TNode &b = Network.GetNode(link.ToNodeId);
    TPipeGeometry g;
    g.X1 = a.x;
    g.Y1 = a.y;
    g.X2 = b.x;
    g.Y2 = b.y;
    const double dx = double(g.X2) - g.X1, dy = double(g.Y2) - g.Y1;
    g.L = double(Round(std::sqrt(dx * dx + dy * dy)));
    if (g.L == 0)
        g.L = 1;
    auto clearance = [](const TNode &n) {
        return n.NodeType == Joint ? static_cast<int>(Trunc(n.NodeScale * 4)) : roundi(n.NodeScale * 9);
    };
    g.J = clearance(a) + 7;
    g.ce = clearance(b);
    g.E = g.ce + 15;
    return g;
}

TPoint TPipeGeometry::AtDistance(double D) const
{
    return {roundi(D / L * (X2 - X1) + X1), roundi(D / L * (Y2 - Y1) + Y1)};
}

TPoint TPipeGeometry::AtFraction(double f) const
{
    return {roundi((X2 - X1) * f + X1), roundi((Y2 - Y1) * f + Y1)};
}

bool TMetaFileDrawing::TRenderState::LinkDrawable(const TNodeLink &link) const
{
    return Network.NodeSet.NodeArray.IsUsed(link.FromNodeId) && Network.NodeSet.NodeArray.IsUsed(link.ToNodeId) &&
           Network.PipeSet.PipeArray.IsUsed(link.PipeId);
}

const TFluid &TMetaFileDrawing::TRenderState::ZoneFluid(int FluidZoneIndex) const
{
    if (FluidZoneIndex < 1 || FluidZoneIndex > TNetwork::MaxFluidZones)
        FluidZoneIndex = 1;
    return Network.FluidZones[std::size_t(FluidZoneIndex)].Fluid;
}

void TMetaFileDrawing::drawPipesFirstPass(TRenderState &s)
{
    TCanvas &C = *s.C;
    TNetwork &net = s.Network;
    const TConfigOptions &opt = net.ConfigOptions;
    const bool resultColours = s.ResultsMode && net.solvedSuccessful && opt.UseResultsColors &&
                               TNetwork::GetResultsColorItemIndex(opt.ResultsColorItem) <= 10;
    for (int i = 1; i <= std::min(net.NodeLinksCount, TNetwork::MaxLinks); ++i) {
        const TNodeLink link = net.GetNodeLink(i);
        if (!s.LinkDrawable(link))
            continue;
        TPipe &pipe = net.GetPipe(link.PipeId);
        const TPipeGeometry g = s.Geometry(link);
        const TColor colour =
            resultColours ? net.GetColorFromItemMinMaxValues(net.GetResultsColorPipeItemValue(link.PipeId))
                          : pipe.LineColor;
        const int zone = pipe.FluidZoneIndex;
        if (zone > 1 && zone <= TNetwork::MaxFluidZones && net.FluidZones[std::size_t(zone)].ShowColor)
            DrawPipeBand(C, g.X1, g.Y1, g.X2, g.Y2, net.FluidZones[std::size_t(zone)].Color, pipe.LineWidth + 14,
                         TBrushStyle::bsSolid);
        if (!s.ResultsMode && pipe.Selected)
            DrawPipeBand(C, g.X1, g.Y1, g.X2, g.Y2, clYellow, pipe.LineWidth + 18, TBrushStyle::bsSolid);
        if (link.PipeId == s.States.CurrentPipeIdSelected || s.Animated(link.PipeId))
            DrawPipeBand(C, g.X1, g.Y1, g.X2, g.Y2, clYellow, pipe.LineWidth + 8, TBrushStyle::bsSolid);
        DrawPipeLine(C, g.X1, g.Y1, g.X2, g.Y2, colour, pipe.LineWidth, pipe.LineStyle);

        if (pipe.PumpCount > 0)
            drawPump(s, link, pipe, g);

        const std::string label = net.GetPipeLabel(link.PipeId, s.ResultsMode);
        DrawPipeLabel(pipe.labelx, pipe.labely, C, g.X1, g.Y1, g.X2, g.Y2, pipe.labelPositionPercentageAlongPipe,
                      label, kLabelColour, opt.DefaultTextSize, s.Dragging());
    }
}

void TMetaFileDrawing::drawPump(TRenderState &s, const TNodeLink &link, TPipe &pipe, const TPipeGeometry &g)
{
    TNetwork &net = s.Network;
    const TConfigOptions &opt = net.ConfigOptions;
    TPump &pump = pipe.Pump;
    double D = pipe.FittingSet.countEntryFittings() < 1 ? g.J + 7 : g.J + 14;
    D += double(Trunc(PumpSymbolOffset(pump.PumpImageIndex) * pump.PumpScale));
    const TPoint at = g.AtDistance(D);
    pump.x = at.X;
    pump.y = at.Y;

    std::string text1, text2;
    if (!s.ResultsMode || !pipe.PumpUseInCalc) {
        if (opt.ShowPumpName)
            text1 = pump.Name;
    } else {
        const double density = s.ZoneFluid(pipe.FluidZoneIndex).density_kgs_m3;
        auto head = [&](double head_m) {
            return convertHeadPressureUnitToString(unt_m_hd_fluid, opt.UnitOfPressureLoss, 3, head_m, density) +
                   unitPlainName(opt.UnitOfPressureLoss);
        };
        if (opt.ShowPumpHead)
            text1 = "+" + head(pipe.Pump_mHd_Fluid);
        else if (opt.ShowPumpNPSHa) {
            text1 = "NPSHa=";
            text2 = head(net.GetPumpNPSHa_mFluid(link.PipeId));
        }
    }
    const TPumpSymbolColors &colours = PumpColorsFor(pump.PumpColorIndex, pipe.PumpUseInCalc);
    DrawPumpSymbol(*s.C, g.X1, g.Y1, pump.x, pump.y, text1, text2, colours, false, net.IsometricXRadAng,
                   net.IsometricYRadAng, pump.PumpImageIndex, pump.PumpScale, pump.PumpStages, opt.DefaultTextSize);
}

void TMetaFileDrawing::drawClosedPipes(TRenderState &s)
{
    TCanvas &C = *s.C;
    TNetwork &net = s.Network;
    for (int i = 1; i <= std::min(net.NodeLinksClosedPipeCount, TNetwork::MaxLinks); ++i) {
        const TNodeLink link = net.GetNodeLinkClosedPipe(i);
        if (!s.LinkDrawable(link))
            continue;
        TPipe &pipe = net.GetPipe(link.PipeId);
        const TPipeGeometry g = s.Geometry(link);
        C.Pen.Color = clBlack;
        if (link.PipeId == s.States.CurrentPipeIdSelected || s.Animated(link.PipeId))
            DrawPipeBand(C, g.X1, g.Y1, g.X2, g.Y2, clYellow, 7, TBrushStyle::bsSolid);
        if (!s.ResultsMode && pipe.Selected)
            DrawPipeBand(C, g.X1, g.Y1, g.X2, g.Y2, clYellow, pipe.LineWidth + 18, TBrushStyle::bsSolid);
        DrawClosedPipeLine(C, g.X1, g.Y1, g.X2, g.Y2, clGray);
        const std::u16string full = Utf8ToUtf16(pipe.Name + " - Closed");
        const std::string label = Utf16ToUtf8(full.substr(0, 29)); // 29 characters, not bytes
        DrawPipeLabel(pipe.labelx, pipe.labely, C, g.X1, g.Y1, g.X2, g.Y2, pipe.labelPositionPercentageAlongPipe,
                      label, kNotInCalculation, net.ConfigOptions.DefaultTextSize, s.Dragging());
    }
}

void TMetaFileDrawing::drawPipesSecondPass(TRenderState &s)
{
    TCanvas &C = *s.C;
    TNetwork &net = s.Network;
    const TConfigOptions &opt = net.ConfigOptions;
    const double yaw = std::fabs(net.IsometricXRadAng), tilt = net.IsometricYRadAng, scale = net.SymbolScale;
    for (int i = 1; i <= std::min(net.NodeLinksCount, TNetwork::MaxLinks); ++i) {
        const TNodeLink link = net.GetNodeLink(i);
        if (!s.LinkDrawable(link))
            continue;
        TPipe &pipe = net.GetPipe(link.PipeId);
        TPipeGeometry g = s.Geometry(link);
        const TFittingSet &fittings = pipe.FittingSet;

        if (pipe.GetFittingCount() >= 1 && (opt.ShowFittingsValves || opt.ShowFittingsBends)) {
            pipe.FittingsPositionPercentageAlongPipe = 0;
            const TPoint entry = g.AtDistance(g.J), exit = g.AtDistance(g.L - g.E);
            pipe.EntryFittingsx = entry.X;
            pipe.EntryFittingsy = entry.Y;
            pipe.ExitFittingsx = exit.X;
            pipe.ExitFittingsy = exit.Y;
            const TColor colour = pipe.FittingsUseInCalc ? clBlack : kNotInCalculation;
            std::string entryText, exitText;
            if (s.ResultsMode && pipe.FittingsUseInCalc && opt.ShowFittingsPressureLoss) {
                const double density = s.ZoneFluid(pipe.FluidZoneIndex).density_kgs_m3;
                // A loss is a difference: no atmosphere is added to it.
                auto loss = [&](double head_m) {
                    return formatFixed(unitDecimals(opt.UnitOfPressure),
                                       convertPressure(unt_m_hd_fluid, opt.UnitOfPressure, head_m, 0, density)) +
                           " " + unitPlainName(opt.UnitOfPressure);
                };
                entryText = loss(pipe.EntryFittingsLoss_mHd_Fluid);
                exitText = loss(pipe.ExitFittingsLoss_mHd_Fluid);
            }
            auto marker = [&](TPoint at, int valves, double k, const std::string &text) {
                if (valves > 0 && opt.ShowFittingsValves)
                    DrawValveFittingsSymbol(C, g.X1, g.Y1, at.X, at.Y, k, opt.ShowFittingsKValue, colour,
                                            s.Dragging(), yaw, tilt, scale, text);
                else
                    DrawFittingsSymbol(C, g.X1, g.Y1, at.X, at.Y, k, opt.ShowFittingsKValue, colour, s.Dragging(),
                                       yaw, tilt, scale, text);
            };
            if (fittings.countEntryFittings() > 0) {
                marker(entry, fittings.countEntryFittingsValves(), fittings.CalculateEntryFittingsKValue(), entryText);
                g.J += 10;
            }
            if (fittings.countExitFittings() > 0) {
                marker(exit, fittings.countExitFittingsValves(), fittings.CalculateExitFittingsKValue(), exitText);
                g.E += 10;
            }
        }

        if (pipe.PreventBackflow) {
            DrawLineEndOpenArrowHead(C, g.X1, g.Y1, g.X2, g.Y2, g.ce + 20, clRed);
            DrawLineEndOpenArrowHead(C, g.X1, g.Y1, g.X2, g.Y2, g.ce + 15, clRed);
        }
        DrawLineEndArrowHead(C, g.X1, g.Y1, g.X2, g.Y2, g.ce, clBlack, net.IsometricXRadAng, net.IsometricYRadAng);

        if (pipe.ComponentPressureCount > 0)
            drawComponent(s, pipe, g);
        if (pipe.FlowControlCount > 0)
            drawFlowControl(s, pipe, g);
    }
}

void TMetaFileDrawing::drawComponent(TRenderState &s, TPipe &pipe, TPipeGeometry g)
{
    TNetwork &net = s.Network;
    const TConfigOptions &opt = net.ConfigOptions;
    const int style = pipe.ComponentPressure.ImageIndex;
    // An index from a file outside the table has no symbol and no place.
    if (style < 0 || style >= ComponentStyleCount)
        return;
    g.E += ComponentLength[style];
    const double fmax = (g.L - g.E) / g.L;
    const double pct = pipe.ComponentPressurePositionPercentageAlongPipe;
    const double f = pct / 100;
    const double used = (f < fmax && pct < 90) ? std::max(g.J / g.L, f) : fmax;
    const TPoint at = g.AtFraction(used);
    pipe.ComponentPressurex = at.X;
    pipe.ComponentPressurey = at.Y;
    const TColor colour = pipe.ComponentPressureUseInCalc ? clBlack : kNotInCalculation;
    const std::string name = opt.ShowComponentName ? pipe.ComponentPressure.Name : std::string();
    DrawComponentSymbol(style, *s.C, g.X1, g.Y1, at.X, at.Y, name, colour, s.Dragging(),
                        std::fabs(net.IsometricXRadAng), net.IsometricYRadAng, net.SymbolScale, opt.DefaultTextSize);
}

void TMetaFileDrawing::drawFlowControl(TRenderState &s, TPipe &pipe, const TPipeGeometry &g)
{
    TNetwork &net = s.Network;
    const TConfigOptions &opt = net.ConfigOptions;
    double dxReal = double(g.X2) - g.X1, dyReal = double(g.Y2) - g.Y1;
    if (dxReal == 0)
        dxReal = 0.1;
    if (dyReal == 0)
        dyReal = 0.1;
    double dx = dxReal, dy = dyReal;
    const double stored = pipe.FlowControlPositionPercentageAlongPipe;
    const bool scaled = (std::fabs(dx) < 800 || std::fabs(dy) < 800) && stored < 5;
    if (scaled) {
        double k;
        if (std::fabs(dx) > std::fabs(dy))
            k = (dx < 0 ? 600 : 400) / std::fabs(dx);
        else
            k = 400 / std::fabs(dy);
        dx = double(Round(dx * k));
        dy = double(Round(dy * k));
    }
    const double lengthReal = std::sqrt(dxReal * dxReal + dyReal * dyReal);
    auto pointAt = [&](double pct, double ddx, double ddy) {
        return TPoint{roundi(pct / 100 * ddx + g.X1), roundi(pct / 100 * ddy + g.Y1)};
    };
    TPoint at;
    switch (pipe.FlowControl.ControlType) {
    case PRV: {
        // Always 26 units before the end of the pipe itself: a new valve on a
        // short pipe measured on the lengthened line would land off the pipe.
        const double pct = 100 - 26 / lengthReal * 100;
        pipe.FlowControlPositionPercentageAlongPipe = pct;
        at = pointAt(pct, dxReal, dyReal);
        break;
    }
    default: {
        const double Lf = std::sqrt(dx * dx + dy * dy);
        double pct = stored;
        if (pipe.FlowControl.ControlType == FCV) {
            const double limit = 100 - 26 / Lf * 100;
            pct = stored < limit ? stored : limit;
        }
        at = pointAt(pct, dx, dy);
        if (scaled) {
            // Kept on the pipe, at most where a pressure-reducing valve would stand.
            const double along = pct / 100 * Lf;
            const double maxAlong = std::max(0.0, lengthReal - 26);
            if (along > maxAlong)
                at = pointAt(maxAlong / lengthReal * 100, dxReal, dyReal);
        }
        break;
    }
    }
    pipe.FlowControlx = at.X;
    pipe.FlowControly = at.Y;
    const TColor colour = pipe.FlowControlUseInCalc ? clBlack : kNotInCalculation;
    const std::string name = opt.ShowFlowControlName ? pipe.FlowControl.Name : std::string();
    DrawFlowControlSymbol(*s.C, name, g.X1, g.Y1, at.X, at.Y, colour, s.Dragging(), std::fabs(net.IsometricXRadAng),
                          net.SymbolScale, opt.DefaultTextSize);
}

// --- Free texts and overlays ---------------------------------------------------------------

void TMetaFileDrawing::drawFreeTexts(TRenderState &s)
{
    TCanvas &C = *s.C;
    TNetwork &net = s.Network;
    const TDrawingObjectEnum tool = s.States.DrawingObject;
    const bool handles = (tool == DrawingDragNode || tool == DrawingSelection || tool == DrawingText) &&
                         s.States.SelectionStatus != 9;
    for (int i = 1; i <= std::min(net.FreeTextsCount, TNetwork::MaxFreeTexts); ++i) {
        TFreeText &text = net.GetFreeText(i);
        if (handles)
            DrawFilledCircle(C, text.x, text.y, 7, clYellow);
        DrawAngledText(C, text.x, text.y, "", 0, text.Color, text.Size, text.Style);
        const int h = C.TextHeight("A");
        text.xEnd = 0;
        text.yEnd = 0;
        const double angle = -text.Angle / 360.0 * 2 * kPi;
        for (std::size_t line = 0; line < text.TextStrings.size(); ++line) {
            const std::string &str = text.TextStrings[line];
            int ox = text.x, oy = text.y + roundi(double(h) * double(line));
            const TSize extent = C.TextExtent(str);
            int cx = ox + extent.cx, cy = oy + extent.cy;
            RotatePointAbout(cx, cy, text.x, text.y, angle);
            RotatePointAbout(ox, oy, text.x, text.y, angle);
            text.xEnd = std::max(text.xEnd, cx);
            text.yEnd = std::max(text.yEnd, cy);
            DrawAngledText(C, ox, oy, str, text.Angle, text.Color, text.Size, text.Style);
        }
    }
}

void TMetaFileDrawing::drawEditBoxes(const TRenderState &s)
{
    TCanvas &C = *s.C;
    for (int i = 1; i <= std::min(s.Network.BackgroundImagesCount, TNetwork::MaxBackgroundImages); ++i) {
        const TBackgroundImage &image = s.Network.BackgroundImages[std::size_t(i)];
        const int bx = image.ImageX + 10, by = image.ImageY + 10;
        DrawStyledRectangle(C, bx, by, bx + 62, by + 40, clYellow, TPenStyle::psSolid, TBrushStyle::bsSolid);
        C.Pen.Width = 3;
        C.Pen.Color = clRed;
        const TPoint box[5] = {{bx, by}, {bx + 62, by}, {bx + 62, by + 40}, {bx, by + 40}, {bx, by}};
        C.Polyline(box);
        DrawCanvasText(C, bx + 6, by + 8, "EDIT", clRed, 16);
    }
}

void TMetaFileDrawing::drawOverlays(const TRenderState &s)
{
    TCanvas &C = *s.C;
    const TNetworkStates &st = s.States;
    // A node deleted since the band began has nothing to start from.
    if (st.RubberBand && st.CurrentNodeIdSelected > 0 && s.Network.NodeSet.NodeArray.IsUsed(st.CurrentNodeIdSelected)) {
        const TNode &node = s.Network.GetNode(st.CurrentNodeIdSelected);
        DrawPipeLine(C, node.x, node.y, st.CursorX, st.CursorY, clBlue, 0, TBrushStyle::bsSolid);
        DrawLineEndArrowHead(C, node.x, node.y, st.CursorX, st.CursorY, 3, clBlue, 0, 0);
    }
    if (st.SelectionStatus > 0)
        DrawStyledRectangle(C, st.SelectionStartX, st.SelectionStartY, st.SelectionEndX, st.SelectionEndY, clBlue,
                            TPenStyle::psDash, TBrushStyle::bsClear);
}

} // namespace tessaran
