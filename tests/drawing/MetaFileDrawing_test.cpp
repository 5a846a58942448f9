#include "drawing/Drawing_Network_Fixture.h"
#include "drawing/Emf_Reader.h"
#include "drawing/Log_Points.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "support/Canvas_Log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace tessaran {
namespace {

using test::BuildDrawingFixture;

bool contains(const std::vector<std::string> &lines, const std::string &prefix)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string &l) { return l.rfind(prefix, 0) == 0; });
}

std::string textOf(const std::string &line)
{
    const auto a = line.find('"'), b = line.rfind('"');
    return line.substr(a + 1, b - a - 1);
}

struct TwoNodes {
    TNetwork net;
    int a = 0, b = 0, pipe = 0;
    TwoNodes(int x1, int y1, int x2, int y2, TNodeType typeA = Joint, TNodeType typeB = Joint)
    {
        a = test::AddDrawingNode(net, "A", typeA, 0, x1, y1, 0);
        b = test::AddDrawingNode(net, "B", typeB, 0, x2, y2, 0);
        pipe = test::AddDrawingPipe(net, a, b, "P");
    }
    std::unique_ptr<TCanvasLog> render(TNetworkStates states = {}, bool results = false, bool animate = false,
                                       int animateId = 0)
    {
        TMetaFileDrawing drawing(2000, 1000);
        auto log = std::make_unique<TCanvasLog>();
        drawing.DrawNetworkOnCanvas(*log, net, states, results, true, animate, animateId, true);
        return log;
    }
};

TEST(Renderer, GridsStepByTheSpacingPastTheSheet)
{
    TMetaFileDrawing drawing(400, 200);
    TCanvasLog log;
    TNetwork net;
    drawing.DrawNetworkOnCanvas(log, net, {}, false, true, false, 0, true);
    const auto lines = log.Calls("LineTo");
    ASSERT_EQ(lines.size(), 15u); // x 40..400, y 40..200
    EXPECT_EQ(PointsOf(lines[9]), Pts({{400, 200}}));
    EXPECT_NE(lines[0].find("pen E0E0E0 1"), std::string::npos);

    net.SetisometricDrawing();
    TCanvasLog iso;
    drawing.DrawNetworkOnCanvas(iso, net, {}, false, true, false, 0, true);
    ASSERT_EQ(iso.Lines[0], "MoveTo -1120,0");
    EXPECT_EQ(PointsOf(iso.Lines[1]), Pts({{-1520, 200}}));
    EXPECT_EQ(PointsOf(iso.Lines[3]), Pts({{-720, 200}}));

    TCanvasLog results; // never a grid in results mode
    drawing.DrawNetworkOnCanvas(results, net, {}, true, true, false, 0, true);
    EXPECT_TRUE(results.Calls("LineTo").empty());
}

TEST(Renderer, MetafileOfTheWholeNetworkOpensInTheIndependentReader)
{
    for (bool iso : {false, true}) {
        TNetwork net;
        BuildDrawingFixture(net);
        if (iso)
            net.SetisometricDrawing();
        TMetaFileDrawing drawing(TNetwork::SheetWidth, TNetwork::SheetHeight);
        drawing.DrawMetaFileFromNetwork(net, {}, false, true, false, 0, true);
        const std::string path = (std::filesystem::temp_directory_path() / ("tessaran_network_" + std::to_string(::getpid()) + ".emf")).string();
        drawing.SaveToFile(path);
        TMetafile loaded;
        loaded.LoadFromFile(path);
        std::filesystem::remove(path);
        EXPECT_EQ(loaded.Width, TNetwork::SheetWidth);
        std::vector<std::string> seen;
        std::string svg;
        ASSERT_TRUE(ReadWithIndependentReader(loaded.Bytes(), 1806, 1202, seen, svg));
        EXPECT_EQ(seen, OwnRecordNames(loaded));
        EXPECT_NE(svg.find("PRV"), std::string::npos);
    }
}

TEST(Renderer, PositionsWrittenBackAreWhereTheItemsAreDrawn)
{
    TNetwork net;
    const auto ids = BuildDrawingFixture(net);
    net.ConfigOptions.ShowFittingsKValue = true;
    TMetaFileDrawing drawing(TNetwork::SheetWidth, TNetwork::SheetHeight);
    TCanvasLog log;
    drawing.DrawNetworkOnCanvas(log, net, {}, false, false, false, 0, true);

    // Labels at their stored places, with the pipe's label text.
    for (int id : ids.componentPipes) {
        const TPipe &pipe = net.GetPipe(id);
        const std::string at = "TextOut " + std::to_string(pipe.labelx) + "," + std::to_string(pipe.labely) + " \"" +
                               net.GetPipeLabel(id, false) + "\"";
        EXPECT_TRUE(contains(log.Lines, at)) << at;
    }
    // Style 0 pump: its circle about the stored point.
    const TPump &pump = net.GetPipe(ids.pumpPipes[0]).Pump;
    EXPECT_TRUE(contains(log.Lines, "Ellipse " + std::to_string(pump.x - 7) + "," + std::to_string(pump.y - 7) + " " +
                                        std::to_string(pump.x + 8) + "," + std::to_string(pump.y + 8)));
    // Component 0's box centred on its point; the valve's waist right of its point.
    const TPipe &c0 = net.GetPipe(ids.componentPipes[0]);
    EXPECT_TRUE(contains(log.Lines, "Polygon " + std::to_string(c0.ComponentPressurex - 10) + "," +
                                        std::to_string(c0.ComponentPressurey - 5)));
    const TPipe &fcv = net.GetPipe(ids.fcvPipe);
    const TPoint waist{fcv.FlowControlx, fcv.FlowControly};
    bool waistFound = false;
    for (const std::string &line : log.Calls("Polygon")) {
        const auto pts = PointsOf(line);
        waistFound |= pts.size() == 3 && std::abs(pts[2].X - waist.X) <= 4 && std::abs(pts[2].Y - waist.Y) <= 4;
    }
    EXPECT_TRUE(waistFound);
    // Fitting markers at their stored points, with their "K =" labels.
    const TPipe &fitted = net.GetPipe(ids.componentPipes[1]);
    bool markerFound = false;
    for (const std::string &line : log.Calls("Polygon")) {
        const auto pts = PointsOf(line);
        markerFound |= pts.size() == 5 && (pts[0].X + pts[2].X) / 2 == fitted.EntryFittingsx &&
                       (pts[0].Y + pts[2].Y) / 2 == fitted.EntryFittingsy;
    }
    EXPECT_TRUE(markerFound);
    EXPECT_EQ(fitted.FittingsPositionPercentageAlongPipe, 0);

    // The metafile render writes back the same positions.
    TNetwork again;
    BuildDrawingFixture(again);
    again.ConfigOptions.ShowFittingsKValue = true;
    drawing.DrawMetaFileFromNetwork(again, {}, false, false, false, 0, true);
    for (int id : ids.componentPipes) {
        EXPECT_EQ(again.GetPipe(id).labelx, net.GetPipe(id).labelx);
        EXPECT_EQ(again.GetPipe(id).ComponentPressurex, net.GetPipe(id).ComponentPressurex);
    }
    // Free texts know their extents.
    EXPECT_GT(net.GetFreeText(1).xEnd, 300);
    EXPECT_GT(net.GetFreeText(1).yEnd, 900);
}

TEST(Renderer, ItemPlacesAlongThePipe)
{
    struct Case {
        const char *what;
        int x2, y2;
        int kind; // 0 component, 1 PRV, 2 BPV, 3 FCV
        double pct;
        bool entryFittings;
        TPoint expected;
        double storedAfter;
    } cases[] = {
        // Joints: clearance 4, J = 11 from the start, E = 19 before the end.
        {"component at 0 %", 1200, 100, 0, 0, false, {211, 100}, 0},
        {"component at 0 % after entry fittings", 1200, 100, 0, 0, true, {221, 100}, 0},
        {"component at 90 %", 1200, 100, 0, 90, false, {1175, 100}, 90},
        {"component at 50 %", 1200, 100, 0, 50, false, {700, 100}, 50},
        {"PRV on a 200-unit pipe", 400, 100, 1, 50, false, {374, 100}, 87},
        {"new PRV on a 200-unit pipe stays on it", 400, 100, 1, 0, false, {374, 100}, 87},
        {"BPV at 3 % on a 100-unit pipe", 300, 100, 2, 3, false, {212, 100}, 3},
        {"new FCV near the start of a 200-unit pipe", 400, 100, 3, 4.9, false, {220, 100}, 4.9},
    };
    for (const Case &c : cases) {
        TwoNodes t(200, 100, c.x2, c.y2);
        TPipe &pipe = t.net.GetPipe(t.pipe);
        if (c.entryFittings)
            test::AddFitting(pipe, 1, 0.3, EntryFitting);
        if (c.kind == 0) {
            pipe.ComponentPressureCount = 1;
            pipe.ComponentPressurePositionPercentageAlongPipe = c.pct;
        } else {
            pipe.FlowControlCount = 1;
            pipe.FlowControl.ControlType = c.kind == 1 ? PRV : (c.kind == 2 ? BPV : FCV);
            pipe.FlowControlPositionPercentageAlongPipe = c.pct;
        }
        t.render();
        if (c.kind == 0) {
            EXPECT_EQ(TPoint(pipe.ComponentPressurex, pipe.ComponentPressurey), c.expected) << c.what;
        } else {
            EXPECT_EQ(TPoint(pipe.FlowControlx, pipe.FlowControly), c.expected) << c.what;
            EXPECT_NEAR(pipe.FlowControlPositionPercentageAlongPipe, c.storedAfter, 1e-4) << c.what;
        }
    }
}

TEST(Renderer, CoincidentNodesAndDeletedIdsDrawWithoutFailure)
{
    TwoNodes t(300, 300, 300, 300);
    TPipe &pipe = t.net.GetPipe(t.pipe);
    pipe.ComponentPressureCount = 1;
    pipe.FlowControlCount = 1;
    pipe.PumpCount = 1;
    test::AddFitting(pipe, 1, 0.3, EntryFitting);
    EXPECT_NO_THROW(t.render());

    // The editing state names a node and a pipe deleted since.
    TwoNodes u(100, 100, 300, 100);
    const int gone = test::AddDrawingNode(u.net, "Gone", Joint, 0, 500, 500, 0);
    u.net.RemoveNode(gone);
    TNetworkStates states;
    states.RubberBand = true;
    states.CurrentNodeIdSelected = gone;
    states.CurrentPipeIdSelected = 77;
    states.CursorX = 900;
    states.CursorY = 900;
    const auto owned = u.render(states);
    const TCanvasLog &log = *owned;
    for (const std::string &line : log.Lines)
        EXPECT_EQ(line.find("900,900"), std::string::npos) << line;
}

TEST(Renderer, HighlightsByToolSelectionAndAnimation)
{
    auto highlights = [](const TCanvasLog &log) {
        int n = 0;
        for (const std::string &line : log.Calls("Ellipse"))
            n += line.find("brush 00FFFF solid") != std::string::npos ? 1 : 0;
        return n;
    };
    TwoNodes t(100, 100, 300, 100);
    EXPECT_EQ(highlights(*t.render()), 0);
    TNetworkStates drag;
    drag.DrawingObject = DrawingDragNode;
    EXPECT_EQ(highlights(*t.render(drag)), 2 + 2 + 1); // nodes, label handles, pipe label handle
    EXPECT_EQ(highlights(*t.render({}, true, true, 1)), 1);
    EXPECT_EQ(highlights(*t.render({}, true, true, 2)), 0);

    // A selected pipe gets its band in design mode only.
    t.net.GetPipe(t.pipe).Selected = true;
    auto bands = [](const TCanvasLog &log) {
        int n = 0;
        for (const std::string &line : log.Calls("LineTo"))
            n += line.find("pen 00FFFF 18") != std::string::npos ? 1 : 0;
        return n;
    };
    EXPECT_EQ(bands(*t.render()), 1);
    EXPECT_EQ(bands(*t.render({}, true)), 0);
}

TEST(Renderer, PipesTakeResultsColoursOnlyAfterASuccessfulCalculation)
{
    TwoNodes t(100, 100, 500, 100);
    TPipe &pipe = t.net.GetPipe(t.pipe);
    pipe.LineColor = 0x123456;
    pipe.Velocity_ms = 1.0;
    TConfigOptions &opt = t.net.ConfigOptions;
    opt.UseResultsColors = true;
    opt.ResultsColorItem = ResultsVelocity;
    opt.ResultsColorItemMinValue = 0;
    opt.ResultsColorItemMaxValue = 2;
    auto pipeLine = [&](bool solved, TResultsColorItemEnum item) {
        t.net.solvedSuccessful = solved;
        opt.ResultsColorItem = item;
        const auto log = t.render({}, true);
        for (const std::string &line : log->Calls("LineTo"))
            if (PointsOf(line) == Pts({{500, 100}}))
                return line.substr(line.find("pen ") + 4, 6);
        return std::string();
    };
    EXPECT_EQ(pipeLine(false, ResultsVelocity), "123456");
    EXPECT_EQ(pipeLine(true, ResultsVelocity), TCanvasLog::ColorText(t.net.GetColorFromItemMinMaxValues(1.0)));
    EXPECT_EQ(pipeLine(true, ResultsPressure), "123456"); // a node item colours the nodes only
}

TEST(Renderer, DragToolShowsImageHandlesAndEditBoxesButAnimationHidesImages)
{
    TNetwork net;
    BuildDrawingFixture(net);
    TMetaFileDrawing drawing(TNetwork::SheetWidth, TNetwork::SheetHeight);
    TNetworkStates drag;
    drag.DrawingObject = DrawingDragNode;
    TCanvasLog log;
    drawing.DrawNetworkOnCanvas(log, net, drag, false, false, false, 0, true);
    // Only the image that has a displayed picture is drawn; both get an "EDIT" box.
    EXPECT_EQ(log.Calls("StretchDraw").size(), 1u);
    int edits = 0;
    for (const std::string &line : log.Calls("TextOut"))
        edits += textOf(line) == "EDIT" ? 1 : 0;
    EXPECT_EQ(edits, 2);

    TCanvasLog animated;
    drawing.DrawNetworkOnCanvas(animated, net, drag, true, false, true, 0, true);
    EXPECT_TRUE(animated.Calls("StretchDraw").empty());
}

TEST(Renderer, ClosedPipeLabelIsCutAtTwentyNineCharacters)
{
    TwoNodes t(100, 100, 900, 100);
    t.net.GetPipe(t.pipe).Name = "Ölleitung Süd Ä1234567890";
    t.net.RemoveNodeLinkAddClosedPipeLink(t.pipe);
    const auto log = t.render();
    const auto texts = log->Calls("TextOut");
    ASSERT_EQ(texts.size(), 3u); // the label, then the two node labels
    EXPECT_EQ(textOf(texts[0]), "Ölleitung Süd Ä1234567890 - C");
    EXPECT_NE(texts[0].find("C0C0C0"), std::string::npos);
}

TEST(Renderer, OutOfRangeIndexesFromFilesDrawSafely)
{
    TwoNodes t(100, 100, 500, 100);
    TPipe &pipe = t.net.GetPipe(t.pipe);
    pipe.PumpCount = 1;
    pipe.Pump.PumpColorIndex = 9;
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressure.ImageIndex = 15;
    pipe.ComponentPressure.Name = "Odd";
    const auto owned = t.render();
    const TCanvasLog &log = *owned;
    // The pump takes the first colour row; the component draws nothing.
    bool redFill = false;
    for (const std::string &line : log.Calls("Polygon"))
        redFill |= line.find("brush 0000FF solid") != std::string::npos;
    EXPECT_TRUE(redFill);
    for (const std::string &line : log.Calls("TextOut"))
        EXPECT_NE(textOf(line), "Odd");
}

TEST(Renderer, AFailedRenderKeepsThePreviousPicture)
{
    TwoNodes t(100, 100, 500, 100);
    TMetaFileDrawing drawing(1000, 500);
    drawing.DrawMetaFileFromNetwork(t.net, {}, false, true, false, 0, true);
    const std::vector<std::uint8_t> before = drawing.MetaFile.Bytes();
    t.net.ConfigOptions.UnitOfElevation = unt_Bar_G; // no conversion from metres
    EXPECT_ANY_THROW(drawing.DrawMetaFileFromNetwork(t.net, {}, false, true, false, 0, true));
    EXPECT_EQ(drawing.MetaFile.Bytes(), before);
    EXPECT_EQ(drawing.MetaFileCanvas, nullptr);
}

TEST(NodeLayer, DefaultLabelOffsetsAreWrittenOnceAndKept)
{
    TwoNodes t(100, 100, 500, 100, Tank, EndPressure);
    TNode &tank = t.net.GetNode(t.a);
    TNode &end = t.net.GetNode(t.b);
    end.labelRelativey = 5;
    t.render();
    EXPECT_EQ(tank.labelRelativey, 18);
    EXPECT_LT(tank.labelRelativex, 0);
    EXPECT_EQ(end.labelRelativex, 0);
    EXPECT_EQ(end.labelRelativey, 5);

    TwoNodes j(100, 100, 500, 100);
    j.render();
    EXPECT_EQ(j.net.GetNode(j.a).labelRelativey, 4);
    j.net.GetNode(j.b).labelRelativex = 0;
    j.net.GetNode(j.b).labelRelativey = 0;
    j.net.SetisometricDrawing();
    j.render();
    EXPECT_EQ(j.net.GetNode(j.b).labelRelativey, 10);
}

TEST(NodeLayer, DemandStacksPressureLinesAndGreyedJoints)
{
    TwoNodes t(400, 400, 800, 400, Joint, EndPressure);
    TNode &joint = t.net.GetNode(t.a);
    joint.JointSupply_m3s = 0.01;
    joint.JointDischarge_m3s = 0.02;
    joint.JointSupplyRelativeX = -20;
    joint.JointSupplyRelativeY = -40;
    joint.JointDischargeRelativeX = 20;
    joint.JointDischargeRelativeY = 40;
    t.net.GetNode(t.b).Surface_Pressure_Bar_g = 2;
    t.net.ConfigOptions.ShowPipeMassFlowRate = true;
    joint.SetAllJointInFlowOutFlowVolumetricMassAndGasFlowsEquivalent(
        t.net.FluidZones[1].Fluid, 1.01325, t.net.ConfigOptions.GasFlowTemperaturePressureModel);

    const auto designLog = t.render();
    const TCanvasLog &design = *designLog;
    std::vector<std::string> texts;
    for (const std::string &line : design.Calls("TextOut"))
        texts.push_back(textOf(line));
    EXPECT_NE(std::find_if(texts.begin(), texts.end(), [](const std::string &s) { return s.rfind("  p= ", 0) == 0; }),
              texts.end());
    // Supply above the node: its text above the arrow point; discharge below.
    EXPECT_TRUE(contains(design.Lines, "TextOut 375,347 "));
    EXPECT_TRUE(contains(design.Lines, "TextOut 415,443 "));

    // Results: stacked flows in both units, growing away from the node; a
    // joint without a pressure is greyed.
    t.net.solvedSuccessful = true;
    joint.IsPressureSet = false;
    const auto resultsLog = t.render({}, true);
    const TCanvasLog &results = *resultsLog;
    EXPECT_TRUE(contains(results.Lines, "TextOut 375,347 "));
    EXPECT_TRUE(contains(results.Lines, "TextOut 375,335 "));
    EXPECT_TRUE(contains(results.Lines, "TextOut 415,455 "));
    EXPECT_TRUE(contains(results.Lines, "Ellipse 396,396 404,404 pen E0E0E0 0 solid brush FFFFFF solid"));
}

TEST(NodeLayer, GasSupplyInDesignShowsStandardAndMassFlowsOnly)
{
    TwoNodes t(400, 400, 800, 400);
    t.net.FluidZones[1].Fluid.FluidIsGas = true;
    TNode &joint = t.net.GetNode(t.a);
    joint.JointDemandUseFlowType = GasFlow;
    joint.JointSupply_SCMH = 100;
    joint.JointSupply_kgs = 0.03;
    joint.JointSupplyRelativeX = 0;
    joint.JointSupplyRelativeY = 40;
    const auto owned = t.render();
    const TCanvasLog &log = *owned;
    int flowTexts = 0;
    for (const std::string &line : log.Calls("TextOut"))
        flowTexts += line.find("font Arial 8 800080") != std::string::npos ? 1 : 0;
    EXPECT_EQ(flowTexts, 2);
}

} // namespace
} // namespace tessaran
