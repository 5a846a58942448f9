// The node layer of the renderer: each node's symbol, its label lines and,
// for joints, the supply and discharge arrows with their flow texts.

#include "drawing/Canvas_Drawings.h"
#include "drawing/MetaFileDrawing_Render.h"
#include "drawing/Node_Symbols.h"
#include "drawing/Pipe_Items.h"
#include "network/Result_Table_Cells.h"
#include "platform/Pascal.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <cmath>
#include <string>
#include <vector>

namespace tessaran {

namespace {

constexpr TColor kNodeTextColour = clBlue;
constexpr TColor kPressureNotSet = 0xE0E0E0;

int truncInt(double v) { return static_cast<int>(Trunc(v)); }

struct DemandSide {
    double m3s, kgs, scmh;
    int relX, relY;
    TColor colour;
    bool discharge;
};

} // namespace

void TMetaFileDrawing::drawNodes(TRenderState &s)
{
    for (int id = s.Network.GetNextNodeId(0); id > 0; id = s.Network.GetNextNodeId(id))
        drawNode(s, id);
}

void TMetaFileDrawing::drawNode(TRenderState &s, int NodeId)
{
    TCanvas &C = *s.C;
    TNetwork &net = s.Network;
    const TConfigOptions &opt = net.ConfigOptions;
    TNode &node = net.GetNode(NodeId);
    const TFluid &fluid = s.ZoneFluid(net.GetNodeFluidZoneIndex(NodeId));
    const bool results = s.ResultsMode;
    const double yaw = net.IsometricXRadAng, tilt = net.IsometricYRadAng;

    if (s.Dragging())
        DrawFilledCircle(C, node.x + node.labelRelativex, node.y + node.labelRelativey + 5, 7, clYellow);

    TColor pen = clBlack;
    const int imageIndex = node.NodeImageIndex;
    TColor fill = NodeImageColors[std::size_t(imageIndex >= 0 && imageIndex < 6 ? imageIndex : 0)];
    if (results && net.solvedSuccessful && opt.UseResultsColors) {
        if (opt.ResultsColorItem == ResultsPressure)
            pen = fill = net.GetColorFromItemMinMaxValues(node.Pressure_Bar_g);
        else if (opt.ResultsColorItem == ResultsHGL)
            pen = fill = net.GetColorFromItemMinMaxValues(net.GetNodeHGL(NodeId));
        else if (opt.ResultsColorItem == ResultsElevation)
            pen = fill = net.GetColorFromItemMinMaxValues(node.Elevation_m);
    }

    std::string label;
    if (opt.ShowNodeId)
        label += ",[" + std::to_string(NodeId) + "]";
    if (opt.ShowNodeName)
        label += "," + Trimmed(node.Name);
    if (opt.ShowNodeElevation)
        label += std::string(results && node.NodeType == Joint ? "  " : ", ") +
                 convertUnitToString(unt_m, opt.UnitOfElevation, 1, node.Elevation_m) + unitName(opt.UnitOfElevation);
    label = label.empty() ? std::string() : Trimmed(label.substr(1));

    auto pressureText = [&](double bar_g) {
        return convertPressureAndFormat(unt_Bar_G, opt.UnitOfPressure, bar_g, opt.Atmosphere_bar_a,
                                        fluid.density_kgs_m3) +
               " " + unitName(opt.UnitOfPressure);
    };
    auto defaultOffsets = [&](double dx, double dy) {
        if (node.labelRelativex == 0 && node.labelRelativey == 0) {
            node.labelRelativex = truncInt(dx * node.NodeScale);
            node.labelRelativey = truncInt(dy * node.NodeScale);
        }
    };

    std::string secondLine, pressureLine;
    switch (node.NodeType) {
    case Tank: {
        DrawTankSymbol(node.NodeImageIndex, C, node.x, node.y, node.LiquidColor, pen, yaw, tilt, node.NodeScale);
        if (opt.ShowNodeTankInfo)
            secondLine = formatFixed(1, convertPressure(unt_Bar_G, opt.UnitOfSurfacePressure,
                                                        node.Surface_Pressure_Bar_g, opt.Atmosphere_bar_a,
                                                        fluid.density_kgs_m3)) +
                         " " + unitName(opt.UnitOfSurfacePressure) + "@ " +
                         convertUnitToString(unt_m, opt.UnitOfLiquidLevel, 1, node.LiquidLevel_m) +
                         unitName(opt.UnitOfLiquidLevel);
        if (results && opt.ShowNodePressure)
            pressureLine = pressureText(node.Pressure_Bar_g);
        const int w = C.TextWidth(node.Name);
        defaultOffsets(1 - w, 18);
        break;
    }
    case EndPressure: {
        DrawEndPressureSymbol(node.NodeImageIndex, C, node.x, node.y, clSilver, pen, yaw, tilt,
                              net.SymbolScale * node.NodeScale);
        if (net.IsometricDrawing)
            DrawIsometricLetterP(C, node.x, node.y - 1, 3, 4, clBlack, yaw, tilt, 1.0);
        else
            DrawCanvasText(C, node.x - 3, node.y - 6, "P", clBlack, opt.DefaultTextSize);
        if (opt.ShowNodePressure)
            secondLine = "  p= " + pressureText(node.Surface_Pressure_Bar_g);
        const int w = C.TextWidth(node.Name);
        defaultOffsets(1 - w, 14);
        break;
    }
    default: {
        const bool greyed = results && !node.IsPressureSet;
        const DemandSide sides[2] = {
            {node.JointSupply_m3s, node.JointSupply_kgs, node.JointSupply_SCMH, node.JointSupplyRelativeX,
             node.JointSupplyRelativeY, greyed ? kPressureNotSet : clPurple, false},
            {node.JointDischarge_m3s, node.JointDischarge_kgs, node.JointDischarge_SCMH, node.JointDischargeRelativeX,
             node.JointDischargeRelativeY, greyed ? kPressureNotSet : clGreen, true}};
        for (const DemandSide &d : sides) {
            const TFlowType type = node.JointDemandUseFlowType;
            if (!((d.m3s > 0 && type == VolumeFlow) || (d.kgs > 0 && type == MassFlow) ||
                  (d.scmh > 0 && type == GasFlow)))
                continue;
            const int ax = node.x + d.relX, ay = node.y + d.relY;
            const bool above = ay < node.y;
            int ty = above ? ay - 13 : ay + 3;
            const int step = (above ? -1 : 1) * (opt.NodeLabelSpacingY + 1);
            if (d.discharge)
                DrawDemandOutArrow(C, node.x, node.y, ax, ay, d.colour, s.Dragging());
            else
                DrawDemandInArrow(C, ax, ay, node.x, node.y, d.colour, s.Dragging());
            auto write = [&](const std::string &text) {
                DrawCanvasText(C, ax - 5, ty, text, d.colour, opt.DemandTextSize);
            };
            if ((results && opt.ShowPipeGasFlowRate) || (!results && type == GasFlow) || fluid.FluidIsGas) {
                const double v = convertFlowUnit(unt_kg_sec, opt.UnitOfGasFlow, opt.GasFlowTemperaturePressureModel,
                                                 d.kgs, fluid.density_kgs_m3, fluid.pressure_bar_g, fluid.degrees_K,
                                                 opt.Atmosphere_bar_a);
                write(formatFixed(unitDecimalsForValue(opt.UnitOfGasFlow, v), v) + " " + unitName(opt.UnitOfGasFlow));
                ty += step;
            }
            if ((results && opt.ShowPipeMassFlowRate) || (!results && type == MassFlow) || fluid.FluidIsGas) {
                write(formatFixed(unitDecimals(opt.UnitOfMassFlow), convertUnit(unt_kg_sec, opt.UnitOfMassFlow, d.kgs)) +
                      " " + unitName(opt.UnitOfMassFlow));
                ty += step;
            }
            if ((results && opt.ShowPipeFlowRate) || (!results && !fluid.FluidIsGas && type == VolumeFlow)) {
                const std::string volume =
                    convertAndFormat(unt_m3_sec, opt.UnitOfFlow, d.m3s) + " " + unitName(opt.UnitOfFlow);
                if (fluid.FluidIsGas) {
                    write("[Fluid defined at " + convertAndFormat(unt_kg_m3, opt.UnitOfDensity, fluid.density_kgs_m3) +
                          " " + unitName(opt.UnitOfDensity) + " at " +
                          formatFixed(1, convertPressure(unt_Bar_G, opt.UnitOfSurfacePressure, fluid.pressure_bar_g,
                                                         opt.Atmosphere_bar_a, fluid.density_kgs_m3)) +
                          unitName(opt.UnitOfSurfacePressure) + ", " +
                          convertUnitToString(unt_degrees_K, opt.UnitOfTemperature, 0, fluid.degrees_K) +
                          unitName(opt.UnitOfTemperature));
                    ty += step;
                    write((d.discharge ? " Equivalent Volume at this condition is  "
                                       : "[Equivalent Volume at this condition is ") +
                          volume + "]");
                } else {
                    write(volume);
                }
            }
        }
        TColor jointFill = fill, jointPen = pen;
        if (greyed) {
            jointFill = clWhite;
            jointPen = kPressureNotSet;
        }
        DrawJoinPointSymbol(C, node.x, node.y, truncInt(node.NodeScale * 4), jointFill, jointPen);
        if (results && opt.ShowNodePressure)
            pressureLine = pressureText(node.Pressure_Bar_g);
        if (net.IsometricDrawing)
            defaultOffsets(-3 - C.TextWidth(node.Name), 10);
        else
            defaultOffsets(-4 - C.TextWidth(label), 4);
        break;
    }
    }

    int y = node.y + node.labelRelativey;
    const int x = node.x + node.labelRelativex;
    DrawCanvasText(C, x, y, label, kNodeTextColour, opt.DefaultTextSize);
    if (!secondLine.empty()) {
        y += opt.NodeLabelSpacingY;
        DrawCanvasText(C, x, y, secondLine, kNodeTextColour, opt.DefaultTextSize);
    }
    if (!pressureLine.empty()) {
        y += opt.NodeLabelSpacingY;
        DrawCanvasText(C, x, y, pressureLine, kNodeTextColour, opt.DefaultTextSize);
    }
}

} // namespace tessaran
