#pragma once
// A network with every kind of item the renderer draws: every tank,
// end-pressure and join style, joints with both demands, all ten pump
// styles, the fifteen components, the three control valves, fittings, a
// closed pipe, turned free texts and background images. Pumps, components
// and valves are left out of the calculation unless asked for, so that the
// network solves.

#include "network/Network_Class.h"
#include "platform/Bitmap.h"

#include <memory>
#include <string>

namespace tessaran::test {

struct TDrawingFixtureIds {
    int tanks[10]{}, joints[10]{}, ends[9]{};
    int pumpPipes[10]{}, componentPipes[15]{};
    int fcvPipe = 0, prvPipe = 0, bpvPipe = 0, closedPipe = 0;
};

inline int AddDrawingNode(TNetwork &net, const std::string &name, TNodeType type, int style, int x, int y,
                          double elevation_m, double scale = 1.0)
{
    TNode node;
    node.Name = name;
    node.NodeType = type;
    node.NodeImageIndex = style;
    node.NodeScale = scale;
    node.x = x;
    node.y = y;
    node.Elevation_m = elevation_m;
    node.JointDemandUseFlowType = VolumeFlow;
    return net.AddNode(node);
}

inline int AddDrawingPipe(TNetwork &net, int from, int to, const std::string &name)
{
    TPipe pipe;
    pipe.Name = name;
    pipe.Length_m = 50;
    pipe.InnerDiameter_m = 0.1;
    pipe.InnerRoughness_m = 0.000046;
    pipe.FluidZoneIndex = 1;
    return net.AddPipeLink(from, to, pipe);
}

inline void AddFitting(TPipe &pipe, int imageIndex, double k, TFittingPosition position)
{
    TFitting fitting;
    fitting.SetFittingData(100, imageIndex, "Bend", "100", "4", "Fitting", k);
    pipe.FittingSet.AddFitting(fitting, 1, position);
}

inline TDrawingFixtureIds BuildDrawingFixture(TNetwork &net, bool itemsInCalculation = false)
{
    net.Clear();
    TDrawingFixtureIds ids;
    for (int i = 0; i < 10; ++i)
        ids.tanks[i] = AddDrawingNode(net, "T" + std::to_string(i), Tank, i, 120 + 160 * i, 120, 60 - 5 * i,
                                      i == 8 ? 1.5 : 1.0);
    for (int i = 0; i < 10; ++i)
        ids.joints[i] = AddDrawingNode(net, "J" + std::to_string(i), Joint, i % 6, 120 + 160 * i, 400, 0);
    for (int i = 0; i < 9; ++i) {
        ids.ends[i] = AddDrawingNode(net, "E" + std::to_string(i), EndPressure, i, 200 + 160 * i, 700, 0);
        net.GetNode(ids.ends[i]).Surface_Pressure_Bar_g = 0.1;
    }
    // The last joint has no end node: a demand drains it.
    TNode &last = net.GetNode(ids.joints[9]);
    last.JointDischarge_m3s = 0.03;
    last.JointDischargeRelativeX = 20;
    last.JointDischargeRelativeY = 40;
    last.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        net.FluidZones[1].Fluid, net.ConfigOptions.Atmosphere_bar_a, net.ConfigOptions.GasFlowTemperaturePressureModel);
    TNode &demands = net.GetNode(ids.joints[2]);
    demands.JointSupply_m3s = 0.002;
    demands.JointDischarge_m3s = 0.004;
    demands.JointSupplyRelativeX = -30;
    demands.JointSupplyRelativeY = -40;
    demands.JointDischargeRelativeX = 30;
    demands.JointDischargeRelativeY = 50;
    demands.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        net.FluidZones[1].Fluid, net.ConfigOptions.Atmosphere_bar_a, net.ConfigOptions.GasFlowTemperaturePressureModel);

    for (int i = 0; i < 10; ++i) {
        const int id = AddDrawingPipe(net, ids.tanks[i], ids.joints[i], "PT" + std::to_string(i));
        ids.pumpPipes[i] = id;
        TPipe &pipe = net.GetPipe(id);
        pipe.PumpCount = 1;
        pipe.PumpUseInCalc = itemsInCalculation;
        pipe.Pump.Name = "Pump" + std::to_string(i);
        pipe.Pump.PumpImageIndex = i;
        pipe.Pump.PumpColorIndex = i % 4;
        pipe.Pump.PumpStages = i == 7 ? 3 : 1;
    }
    for (int i = 0; i < 9; ++i) {
        const int id = AddDrawingPipe(net, ids.joints[i], ids.joints[i + 1], "PJ" + std::to_string(i));
        ids.componentPipes[i] = id;
    }
    for (int i = 0; i < 9; ++i) {
        const int id = AddDrawingPipe(net, ids.joints[i], ids.ends[i], "PE" + std::to_string(i));
        if (i < 6)
            ids.componentPipes[9 + i] = id;
    }
    for (int i = 0; i < 15; ++i) {
        TPipe &pipe = net.GetPipe(ids.componentPipes[i]);
        pipe.ComponentPressureCount = 1;
        pipe.ComponentPressureUseInCalc = itemsInCalculation;
        pipe.ComponentPressure.Name = "C" + std::to_string(i);
        pipe.ComponentPressure.ImageIndex = i;
        pipe.ComponentPressurePositionPercentageAlongPipe = 50;
    }
    // The valves on the last three end pipes, not in the calculation.
    const TControlType types[3] = {FCV, PRV, BPV};
    int *valvePipes[3] = {&ids.fcvPipe, &ids.prvPipe, &ids.bpvPipe};
    for (int k = 0; k < 3; ++k) {
        const int linkIndex = 10 + 9 + 6 + k; // pump pipes, joint chain, six component pipes
        const int id = net.GetNodeLink(linkIndex).PipeId;
        *valvePipes[k] = id;
        TPipe &pipe = net.GetPipe(id);
        pipe.FlowControlCount = 1;
        pipe.FlowControlUseInCalc = itemsInCalculation;
        pipe.FlowControl.ControlType = types[k];
        pipe.FlowControl.Name = k == 0 ? "FCV" : (k == 1 ? "PRV" : "BPV");
        pipe.FlowControlPositionPercentageAlongPipe = 50;
    }
    // Fittings, one valve group, back-flow prevention on a joint pipe.
    AddFitting(net.GetPipe(ids.componentPipes[1]), 1, 0.3, EntryFitting);
    AddFitting(net.GetPipe(ids.componentPipes[1]), 9, 0.2, ExitFitting);
    AddFitting(net.GetPipe(ids.pumpPipes[3]), 2, 0.5, EntryFitting);
    net.GetPipe(ids.componentPipes[4]).PreventBackflow = true;
    net.GetPipe(ids.componentPipes[5]).LineWidth = 2;
    net.GetPipe(ids.componentPipes[5]).LineColor = 0x0080FF;

    // A closed pipe between two end-pressure nodes.
    ids.closedPipe = AddDrawingPipe(net, ids.ends[0], ids.ends[1], "Shut");
    net.RemoveNodeLinkAddClosedPipeLink(ids.closedPipe);

    net.AddFreeText("Pump house\nLine two", 300, 900, clRed, 10, TFontStyles{});
    const int turned = net.AddFreeText("Turned note", 700, 950, clBlue, 9, TFontStyles{TFontStyle::fsBold});
    net.GetFreeText(turned).Angle = 30;

    // A picture shown on the lowest layer and one never adjusted for display.
    net.BackgroundImagesCount = 2;
    for (int i = 1; i <= 2; ++i) {
        TBackgroundImage &image = net.BackgroundImages[std::size_t(i)];
        image.Bitmap = std::make_unique<TBitmap>(4, 3);
        image.ImageX = 1100 + 250 * (i - 1);
        image.ImageY = 850;
        image.ImageStretchWidth = 200;
        image.ImageStretchHeight = 150;
        image.DisplayLayer = 1;
    }
    TBitmap &picture = *(net.BackgroundImages[1].BitmapAdjusted = std::make_unique<TBitmap>(4, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            picture.SetPixel(x, y, RGB(200 - 40 * x, 180 + 20 * y, 230));
    return ids;
}

} // namespace tessaran::test
