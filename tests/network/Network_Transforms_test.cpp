#include "network/Network_Class.h"

#include "Network_Fixture.h"
#include "support/Scripted_User_Interface.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

using namespace tessaran;
using namespace tessaran::test;

namespace {

struct Box {
    int x1, y1, x2, y2;
    friend bool operator==(const Box &, const Box &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Box &b)
    {
        return out << "(" << b.x1 << ", " << b.y1 << ", " << b.x2 << ", " << b.y2 << ")";
    }
};

Box Extents(const TNetwork &n, bool nodeOnly)
{
    Box b{};
    n.GetMinMaxXY(b.x1, b.y1, b.x2, b.y2, nodeOnly);
    return b;
}

Box SelectionExtents(const TNetwork &n)
{
    Box b{};
    n.GetMinMaxXYSelection(b.x1, b.y1, b.x2, b.y2, false);
    return b;
}

struct Offset {
    int dx, dy;
    friend bool operator==(const Offset &, const Offset &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Offset &o)
    {
        return out << "(" << o.dx << ", " << o.dy << ")";
    }
};

Offset Between(const TNetwork &n, int a, int b)
{
    return {n.GetNode(b).x - n.GetNode(a).x, n.GetNode(b).y - n.GetNode(a).y};
}

} // namespace

TEST(NetworkTransforms, Extents)
{
    auto network = NewNetwork();
    TNetwork &n = *network;
    EXPECT_EQ(Extents(n, false), (Box{9029, 6009, 9031, 6011}));
    EXPECT_EQ(SelectionExtents(n), (Box{17980, 11940, 80, 80}));

    const int a = AddJoint(n, 1000, 2000);
    const int b = AddJoint(n, 3000, 2500);
    for (int id : {a, b}) {
        TNode &node = n.GetNode(id);
        node.JointSupplyRelativeX = node.JointSupplyRelativeY = 0;
        node.JointDischargeRelativeX = node.JointDischargeRelativeY = 0;
    }
    n.GetNode(a).JointSupplyRelativeX = -200;
    n.GetNode(a).JointDischargeRelativeY = 300;
    EXPECT_EQ(Extents(n, true), (Box{800, 2000, 3000, 2500}));

    n.AddFreeText("t", 500, 2100, clBlack, 10, {});
    n.GetFreeText(1).xEnd = 3500;
    n.GetFreeText(1).yEnd = 0; // not drawn yet: only its x end counts
    n.BackgroundImagesCount = 1;
    n.BackgroundImages[1].ImageX = 2000;
    n.BackgroundImages[1].ImageY = 100;
    EXPECT_EQ(Extents(n, false), (Box{500, 100, 3500, 2500}));
    EXPECT_EQ(Extents(n, true), (Box{800, 2000, 3000, 2500}));
    n.BackgroundImages[1].ImageX = 4000;
    EXPECT_EQ(Extents(n, false).x2, 4399) << "the image's far corner";

    n.GetNode(a).Selected = true;
    n.GetFreeText(1).Selected = true;
    EXPECT_EQ(SelectionExtents(n), (Box{460, 1960, 1040, 2140})) << "arrows are not counted";
}

TEST(NetworkTransforms, PlanGridSnap)
{
    auto network = NewNetwork();
    struct Case {
        int x, y, ExpectedX, ExpectedY;
    } cases[] = {
        {61, 59, 80, 40},       {18059, 10, 18020, 40}, {0, 0, 0, 0},
        {18040, 12000, 18040, 12000}, {19, 21, 40, 40}, {-30, 12015, 40, 11980},
    };
    for (const Case &c : cases) {
        int x = c.x, y = c.y;
        network->CalcSnapToGridXY(x, y);
        EXPECT_EQ(x, c.ExpectedX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.ExpectedY) << c.x << "," << c.y;
    }
}

TEST(NetworkTransforms, IsometricGridSnap)
{
    auto network = NewNetwork();
    network->SetisometricDrawing();
    struct Case {
        int x, y, ExpectedX, ExpectedY;
    } cases[] = {
        {0, 0, 20, 20},   {10, 5, 20, 20},     {45, 30, 60, 40},
        {50, 50, 60, 40}, {100, 100, 100, 100}, {20000, 30, 20020, 20}, // not limited to the sheet
    };
    for (const Case &c : cases) {
        int x = c.x, y = c.y;
        network->CalcSnapToGridXY(x, y);
        EXPECT_EQ(x, c.ExpectedX) << c.x << "," << c.y;
        EXPECT_EQ(y, c.ExpectedY) << c.x << "," << c.y;
    }
}

TEST(NetworkTransforms, PointConversions)
{
    auto network = NewNetwork();
    struct Case {
        int x, y, IsoX, IsoY;
    } cases[] = {{100, 0, 100, 50}, {0, 100, -100, 50}, {400, 400, 0, 400}, {80, -40, 120, 20}};
    for (const Case &c : cases) {
        int xi = 0, yi = 0;
        network->RotateNormalPointToIso(c.x, c.y, 0, 0, 0, 0, xi, yi);
        EXPECT_EQ(xi, c.IsoX) << c.x << "," << c.y;
        EXPECT_EQ(yi, c.IsoY) << c.x << "," << c.y;
        int xn = 0, yn = 0;
        network->RotateIsoPointToNormal(xi, yi, 0, 0, 0, 0, xn, yn);
        EXPECT_EQ(xn, c.x) << "back from " << xi << "," << yi;
        EXPECT_EQ(yn, c.y) << "back from " << xi << "," << yi;
    }
    int xi = 0, yi = 0;
    network->RotateNormalPointToIso(1100, 2000, 1000, 2000, 500, 700, xi, yi);
    EXPECT_EQ(xi, 600);
    EXPECT_EQ(yi, 750);
}

TEST(NetworkTransforms, PlanToIsometricAndBackKeepsTheShape)
{
    auto network = NewNetwork();
    TNetwork &n = *network;
    const int a = AddJoint(n, 1000, 1000);
    const int b = AddJoint(n, 1400, 1000);
    const int c = AddJoint(n, 1000, 1400);
    n.GetNode(b).labelRelativex = 25;
    n.AddFreeText("along x", 1200, 1000, clBlack, 10, {});
    n.AddFreeText("along y", 1000, 1200, clBlack, 10, {});
    n.GetFreeText(2).Angle = 90;

    n.RotateNormalDrawingToIso();
    ASSERT_TRUE(n.IsometricDrawing);
    EXPECT_DOUBLE_EQ(n.SymbolScale, 1.2);
    EXPECT_EQ(Between(n, a, b), (Offset{400, 200}));
    EXPECT_EQ(Between(n, a, c), (Offset{-400, 200}));
    EXPECT_EQ(n.GetNode(b).labelRelativex, 0);
    EXPECT_EQ(n.GetNode(b).OrigX, n.GetNode(b).x);
    for (int id : {a, b, c}) {
        int x = n.GetNode(id).x, y = n.GetNode(id).y;
        n.CalcSnapToGridXY(x, y);
        EXPECT_EQ(x, n.GetNode(id).x) << "on the isometric lattice";
        EXPECT_EQ(y, n.GetNode(id).y) << "on the isometric lattice";
    }
    EXPECT_EQ(n.GetFreeText(1).Angle, 333);
    EXPECT_EQ(n.GetFreeText(2).Angle, 27);
    const Box iso = Extents(n, false);
    EXPECT_TRUE(iso.x1 >= 0 && iso.x2 <= 18060 && iso.y1 >= 0 && iso.y2 <= 12020);

    n.RotateIsoDrawingToNormal();
    ASSERT_FALSE(n.IsometricDrawing);
    EXPECT_EQ(Between(n, a, b), (Offset{400, 0}));
    EXPECT_EQ(Between(n, a, c), (Offset{0, 400}));
    EXPECT_EQ(n.GetFreeText(1).Angle, 0);
    EXPECT_EQ(n.GetFreeText(2).Angle, 90);
}

TEST(NetworkTransforms, ConversionsThatDoNotFitAreRefused)
{
    {
        auto network = NewNetwork();
        TNetwork &n = *network;
        TScriptedUserInterface ui;
        n.UserInterface = &ui;
        AddJoint(n, 40, 40);
        AddJoint(n, 18000, 12000);
        n.AddFreeText("t", 500, 500, clBlack, 10, {});
        n.RotateNormalDrawingToIso();
        EXPECT_FALSE(n.IsometricDrawing);
        EXPECT_EQ(n.GetNode(1).x, 40);
        EXPECT_EQ(n.GetNode(2).y, 12000);
        EXPECT_EQ(n.GetFreeText(1).x, 500);
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Kind, TMessageKind::Information);
        EXPECT_EQ(ui.Messages[0].Text, "The Network cannot be rotated to Isometric.\r\r"
                                       "It is too large to fit on the Isometric grid.\r\r");
    }
    {
        auto network = NewNetwork();
        TNetwork &n = *network;
        TScriptedUserInterface ui;
        n.UserInterface = &ui;
        n.SetisometricDrawing();
        AddJoint(n, 20, 20);
        AddJoint(n, 18020, 12000);
        n.RotateIsoDrawingToNormal();
        EXPECT_TRUE(n.IsometricDrawing);
        EXPECT_EQ(n.GetNode(2).x, 18020);
        EXPECT_EQ(n.GetNode(2).y, 12000);
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Text, "The Network cannot be rotated to standard view.\r\r"
                                       "It is too large to fit on the standard grid.\r\r");
    }
}

namespace {

// Two selected nodes on a horizontal line and a selected text; one node
// elsewhere that is not selected.
struct Selection {
    std::unique_ptr<TNetwork> Network = NewNetwork();
    TScriptedUserInterface Ui;
    TNetworkStates States;
    int A = AddJoint(*Network, 1000, 1000);
    int B = AddJoint(*Network, 1400, 1000);
    int Other = AddJoint(*Network, 5000, 5000);

    Selection()
    {
        Network->UserInterface = &Ui;
        Network->AddFreeText("t", 1200, 1000, clBlack, 10, {});
        Network->GetFreeText(1).Angle = 30;
        Network->GetNode(Other).OrigX = 7777; // left over from an earlier drag
        States.SelectionStartX = 960;
        States.SelectionStartY = 960;
        States.SelectionEndX = 1440;
        States.SelectionEndY = 1040;
        Network->SetSelectedItems(States);
    }
};

} // namespace

TEST(NetworkTransforms, RotatingASelectionByPlusAndMinus90Degrees)
{
    {
        Selection s;
        TNetwork &n = *s.Network;
        n.RotateNormalDrawingPlus90Degrees(s.States, true);
        EXPECT_EQ(Between(n, s.A, s.B), (Offset{0, 400})) << "turned clockwise on the drawing";
        EXPECT_EQ(n.GetNode(s.A).x, 1000) << "starts where the selection started";
        EXPECT_EQ(n.GetNode(s.A).y, 1000);
        EXPECT_EQ(n.GetNode(s.Other).x, 5000);
        EXPECT_EQ(n.GetFreeText(1).Angle, 300);
        EXPECT_EQ(s.States.SelectionEndY, 1440);
        EXPECT_EQ(s.States.SelectionStartX, 960);
        EXPECT_TRUE(s.Ui.Messages.empty());
    }
    {
        Selection s;
        TNetwork &n = *s.Network;
        n.RotateNormalDrawingMinus90Degrees(s.States, true);
        EXPECT_EQ(Between(n, s.A, s.B), (Offset{0, -400}));
        EXPECT_EQ(n.GetFreeText(1).Angle, 120);
        EXPECT_EQ(n.GetNode(s.Other).y, 5000);
    }
}

TEST(NetworkTransforms, ASelectionTooWideToTurnIsRefused)
{
    Selection s;
    TNetwork &n = *s.Network;
    // Snapped width 12840 + 40 - (1000 - 80) = 11960.
    n.GetNode(s.B).x = 12840;
    n.SetSelectedItems({.SelectionStartX = 0, .SelectionStartY = 0, .SelectionEndX = 13000, .SelectionEndY = 2000});
    n.RotateNormalDrawingPlus90Degrees(s.States, true);
    EXPECT_EQ(n.GetNode(s.B).x, 12840);
    EXPECT_EQ(n.GetNode(s.A).y, 1000);
    EXPECT_EQ(n.GetFreeText(1).Angle, 30);
    ASSERT_EQ(s.Ui.Messages.size(), 1u);
    EXPECT_EQ(s.Ui.Messages[0].Text, "The items cannot be rotated by 90 degrees.\r\r"
                                     "The selection width is greater than the drawing height.\r\r"
                                     "When rotated the itmes are too large to fit on the grid.\r\r");
}

TEST(NetworkTransforms, ATurnThatEndsTooTallPutsOnlyTheTurnedItemsBack)
{
    // A selected background image near the top of the sheet does not turn
    // but counts in the selection's extents, so the turned nodes, placed
    // where the selection started, make the selection too tall.
    auto network = NewNetwork();
    TNetwork &n = *network;
    TScriptedUserInterface ui;
    n.UserInterface = &ui;
    const int a = AddJoint(n, 1000, 1000);
    const int b = AddJoint(n, 12000, 1000);
    const int other = AddJoint(n, 5000, 5000);
    n.GetNode(other).OrigX = 7777; // left over from an earlier drag
    n.GetNode(a).Selected = true;
    n.GetNode(b).Selected = true;
    n.BackgroundImagesCount = 1;
    n.BackgroundImages[1].ImageX = 1000;
    n.BackgroundImages[1].ImageY = 40;
    n.BackgroundImages[1].Selected = true;
    TNetworkStates states;
    states.SelectionStartX = 960;
    states.SelectionStartY = 960;

    n.RotateNormalDrawingPlus90Degrees(states, true);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, "The items cannot be rotated by 90 degrees.\r\r"
                                   "When rotated they are too large to fit on the grid.\r\r");
    EXPECT_EQ(n.GetNode(a).x, 1000);
    EXPECT_EQ(n.GetNode(a).y, 1000);
    EXPECT_EQ(n.GetNode(b).x, 12000);
    EXPECT_EQ(n.GetNode(other).x, 5000) << "not moved to a stale saved position";
    EXPECT_EQ(states.SelectionStartY, 960);

    ui.Messages.clear();
    n.RotateNormalDrawingMinus90Degrees(states, true);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text, "The items cannot be rotated by minus 90 degrees.\r\r"
                                   "When rotated they are too large to fit on the grid.\r\r");
}

TEST(NetworkTransforms, RotatingTheWholeDrawingRecentresIt)
{
    Selection s;
    TNetwork &n = *s.Network;
    n.RotateNormalDrawingPlus90Degrees(s.States, false);
    EXPECT_EQ(Between(n, s.A, s.B), (Offset{0, 400}));
    EXPECT_EQ(Between(n, s.A, s.Other), (Offset{-4000, 4000}));
    const Box box = Extents(n, false);
    EXPECT_NEAR((box.x1 + box.x2) / 2, 9030, 40);
    EXPECT_NEAR((box.y1 + box.y2) / 2, 6010, 40);
    EXPECT_EQ(n.GetNode(s.Other).OrigX, n.GetNode(s.Other).x);
}

TEST(NetworkTransforms, RotatingInIsometricViewPassesThroughThePlan)
{
    Selection s;
    TNetwork &n = *s.Network;
    n.RotateNormalDrawingToIso();
    ASSERT_TRUE(n.IsometricDrawing);
    n.SetSelectedItems({.SelectionStartX = 0, .SelectionStartY = 0, .SelectionEndX = 18060,
                        .SelectionEndY = 12020});
    n.RotateIsoDrawingPlus90Degrees(s.States, true);
    EXPECT_TRUE(n.IsometricDrawing);
    EXPECT_TRUE(s.Ui.Messages.empty());
    // In plan view A->B ran along x and A->Other was (4000, 4000); turned
    // clockwise they run along y and (-4000, 4000).
    n.RotateIsoDrawingToNormal();
    EXPECT_EQ(Between(n, s.A, s.B), (Offset{0, 400}));
    EXPECT_EQ(Between(n, s.A, s.Other), (Offset{-4000, 4000}));
}

TEST(NetworkTransforms, FlipAndMirror)
{
    {
        Selection s;
        TNetwork &n = *s.Network;
        n.RotateFlipUpDown(s.States, true);
        // Selection extents snapped: y from 960 to 1040.
        EXPECT_EQ(n.GetNode(s.A).y, 1000);
        EXPECT_EQ(n.GetFreeText(1).y, 1000);
        EXPECT_EQ(n.GetFreeText(1).Angle, 330);
        EXPECT_EQ(n.GetNode(s.Other).y, 5000);
    }
    {
        Selection s;
        TNetwork &n = *s.Network;
        n.RotateMirrorLeftRight(s.States, true);
        EXPECT_EQ(n.GetNode(s.A).x, 1400);
        EXPECT_EQ(n.GetNode(s.B).x, 1000);
        EXPECT_EQ(n.GetFreeText(1).x, 1200);
        EXPECT_EQ(n.GetFreeText(1).Angle, 30) << "mirroring leaves angles";
        EXPECT_EQ(n.GetNode(s.Other).x, 5000);
    }
    {
        Selection s;
        TNetwork &n = *s.Network;
        n.RotateFlipUpDown(s.States, false); // nodes only: y from 1000 to 5000
        EXPECT_EQ(n.GetNode(s.A).y, 5000);
        EXPECT_EQ(n.GetNode(s.Other).y, 1000);
        EXPECT_EQ(n.GetFreeText(1).y, 5000);
        EXPECT_EQ(n.GetNode(s.Other).OrigY, 1000);
    }
    {
        Selection s;
        TNetwork &n = *s.Network;
        n.RotateFreeTextAngles(350);
        EXPECT_EQ(n.GetFreeText(1).Angle, 20);
    }
}

TEST(NetworkTransforms, AnIsometricTurnStopsWhenThePlanViewIsRefused)
{
    // Too large for the plan view, so the turn can not pass through it.
    for (bool plus : {true, false}) {
        auto network = NewNetwork();
        TNetwork &n = *network;
        TScriptedUserInterface ui;
        n.UserInterface = &ui;
        n.SetisometricDrawing();
        const int a = AddJoint(n, 20, 20);
        const int b = AddJoint(n, 18020, 12000);
        n.AddFreeText("t", 500, 500, clBlack, 10, {});
        n.GetFreeText(1).Angle = 30;
        TNetworkStates states;
        states.SelectionEndX = 18060;
        states.SelectionEndY = 12020;
        n.SetSelectedItems(states);

        if (plus)
            n.RotateIsoDrawingPlus90Degrees(states, true);
        else
            n.RotateIsoDrawingMinus90Degrees(states, true);
        EXPECT_TRUE(n.IsometricDrawing);
        EXPECT_EQ(Between(n, a, b), (Offset{18000, 11980})) << plus;
        EXPECT_EQ(n.GetNode(a).x, 20);
        EXPECT_EQ(n.GetFreeText(1).x, 500);
        ASSERT_EQ(ui.Messages.size(), 1u);
        EXPECT_EQ(ui.Messages[0].Text, "The Network cannot be rotated to standard view.\r\r"
                                       "It is too large to fit on the standard grid.\r\r");
    }
}

TEST(NetworkTransforms, ARefusedTransformLeavesTheTextAnglesAsTheyWere)
{
    struct Case {
        const char *Name;
        bool Isometric;
        std::vector<std::pair<int, int>> Nodes;
        std::function<void(TNetwork &)> Transform;
    } cases[] = {
        {"to isometric", false, {{40, 40}, {18000, 12000}}, [](TNetwork &n) { n.RotateNormalDrawingToIso(); }},
        {"to plan", true, {{20, 20}, {18020, 12000}}, [](TNetwork &n) { n.RotateIsoDrawingToNormal(); }},
        // The selected image near the top does not turn but makes the
        // turned selection too tall.
        {"turn too tall", false, {{1000, 1000}, {12000, 1000}}, [](TNetwork &n) {
             TNetworkStates states;
             states.SelectionStartX = 960;
             states.SelectionStartY = 960;
             n.RotateNormalDrawingPlus90Degrees(states, true);
         }},
    };
    for (const Case &c : cases) {
        auto network = NewNetwork();
        TNetwork &n = *network;
        TScriptedUserInterface ui;
        n.UserInterface = &ui;
        if (c.Isometric)
            n.SetisometricDrawing();
        for (auto [x, y] : c.Nodes)
            n.GetNode(AddJoint(n, x, y)).Selected = true;
        n.AddFreeText("t", 1200, 1000, clBlack, 10, {});
        n.GetFreeText(1).Angle = 30;
        n.GetFreeText(1).Selected = true;
        n.BackgroundImagesCount = 1;
        n.BackgroundImages[1].ImageX = 1000;
        n.BackgroundImages[1].ImageY = 40;
        n.BackgroundImages[1].Selected = true;

        c.Transform(n);
        ASSERT_EQ(ui.Messages.size(), 1u) << c.Name;
        EXPECT_EQ(n.IsometricDrawing, c.Isometric) << c.Name;
        EXPECT_EQ(n.GetFreeText(1).x, 1200) << c.Name;
        EXPECT_EQ(n.GetFreeText(1).Angle, 30) << c.Name;
    }
}
