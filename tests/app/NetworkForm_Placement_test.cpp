// The placing routines called directly at drawing points, with their
// questions and refusals answered by script.
#include "Drawing_Fixture.h"

#include "model/Flow_Control_Class.h"

namespace tessaran::test {

std::string DrawingTest::FirstPipeValues() const
{
    return "Steel Sch. 40\rLength = 3.048 m\rDiameter = 102.260 mm\rRoughness = 0.046 mm\r\r";
}

namespace {

using Placement = DrawingTest;

const QString TooClose = "Node cannot be added at a position too close to another scaled up node.\r\r";

TEST_F(Placement, ATankOrEndPressureOnANodeChangesItsTypeUnlessAValveForbidsIt)
{
    // Inlet -> [PRV] -> prv; bpv -> [BPV] -> outlet; single <- one pipe;
    // branch -> two pipes; double <- two pipes.
    const int inlet = JointAt(ox, oy), prvNode = JointAt(ox + 200, oy);
    AddValveOn(Pipe(inlet, prvNode), PRV);
    const int bpvNode = JointAt(ox, oy + 200), outlet = JointAt(ox + 200, oy + 200);
    AddValveOn(Pipe(bpvNode, outlet), BPV);
    const int single = JointAt(ox + 400, oy);
    Pipe(inlet, single);
    const int branch = JointAt(ox + 400, oy + 400);
    Pipe(branch, outlet);
    const int twice = JointAt(ox, oy + 400);
    Pipe(inlet, twice);
    Pipe(bpvNode, twice);

    struct Case {
        const char *what;
        bool tank;
        int node;
        const char *message; // a refusal, or the question answered Yes
        TNodeType after;
    };
    const Case cases[] = {
        {"tank after a PRV", true, prvNode,
         "Node cannot be changed to a tank. \r\rAt least one pipe coming in to the node contains a PRV, which is "
         "not allowed.",
         Joint},
        {"tank before a BPV", true, bpvNode,
         "Node cannot be changed to a tank.\r\rAt least one pipe leaving the node contains a BPV, which is not "
         "allowed.",
         Joint},
        {"end pressure after a PRV", false, prvNode,
         "The node cannot be converted to an End Pressure node.\r\rAn End Pressure node cannot be at the end of a "
         "pipe that contains a PRV control.",
         Joint},
        {"end pressure before a BPV", false, bpvNode,
         "The node cannot be converted to an End Pressure node.\r\rAn End Pressure node cannot be at the start of a "
         "pipe that contains a BPV control.",
         Joint},
        {"end pressure with a pipe leaving", false, branch,
         "The node cannot be converted to an End Pressure node.\r\rDemand Pressure nodes must be at the end of a "
         "single pipe.",
         Joint},
        {"end pressure with two pipes coming in", false, twice,
         "The node cannot be converted to an End Pressure node.\r\rDemand Pressure nodes must be at the end of a "
         "single pipe.",
         Joint},
        {"end pressure at the end of one pipe", false, single,
         "Do you wish to change the type of the node to an end demand pressure?\r", EndPressure},
        {"tank on a joint", true, outlet, "Do you wish to change the type of the node to a tank?\r", Tank},
    };
    for (const Case &c : cases) {
        TNode &node = Net().GetNode(c.node);
        node.JointDischarge_m3s = 0.5;
        node.labelRelativex = 30;
        const bool question = c.after != Joint;
        dialogs.Expect(question ? TDialogKind::Confirmation : TDialogKind::Information, c.message,
                       question ? DialogYes : DialogOk);
        const int nodes = Nodes();
        if (c.tank)
            form->AddTankContainer(node.x, node.y, 3);
        else
            form->AddDemandPressure(node.x, node.y, 5);
        EXPECT_EQ(node.NodeType, c.after) << c.what;
        EXPECT_EQ(Nodes(), nodes) << c.what;
        EXPECT_EQ(node.JointDischarge_m3s, question ? 0 : 0.5) << c.what;
        // A changed node's label goes back to its default place.
        EXPECT_EQ(node.labelRelativex == 30, !question) << c.what;
        if (question) {
            EXPECT_EQ(node.NodeImageIndex, c.tank ? 3 : 5) << c.what;
            EXPECT_EQ(States().CurrentNodeIdSelected, c.node) << c.what;
        }
    }
    // A type change is no edit the log can take back.
    EXPECT_EQ(LogText(), "");
}

TEST_F(Placement, NewNodesKeepClearOfEnlargedNodesAndOffPipes)
{
    const int big = JointAt(ox, oy);
    Net().GetNode(big).NodeScale = 1.5;
    const int plain = JointAt(ox + 800, oy);
    const int a = JointAt(ox, oy + 400), b = JointAt(ox + 400, oy + 400);
    Pipe(a, b);

    dialogs.Expect(TDialogKind::Information, TooClose);
    form->AddTankContainer(ox + 40, oy + 40, 0);
    dialogs.Expect(TDialogKind::Information, TooClose);
    form->AddDemandPressure(ox, oy + 40, 5);
    dialogs.Expect(TDialogKind::Information, TooClose);
    EXPECT_EQ(form->AddJoint(ox - 40, oy, 0, 0), -1);
    EXPECT_EQ(Nodes(), 4);
    EXPECT_EQ(LogText(), "");

    form->AddTankContainer(ox + 60, oy, 0);
    form->AddTankContainer(ox + 840, oy + 40, 0); // beside a node of scale 1
    form->AddDemandPressure(ox + 1200, oy, 5);
    EXPECT_EQ(Nodes(), 7);
    const int endPressure = States().CurrentNodeIdSelected;
    EXPECT_EQ(Net().GetNode(endPressure).NodeType, EndPressure);
    EXPECT_EQ(Net().GetNode(endPressure).NodeImageIndex, 5);
    EXPECT_EQ(Net().GetNode(endPressure).Name, "N" + std::to_string(endPressure));
    EXPECT_EQ(LogText(), "+S+S+E");
    EXPECT_EQ(form->ActionLog->GetAction(3).NodeId, endPressure);

    dialogs.Expect(TDialogKind::Information, "Node container cannot be added on top of an existing pipe.");
    form->AddTankContainer(ox + 200, oy + 400, 0);
    dialogs.Expect(TDialogKind::Information, "Node cannot be added on top of an existing pipe.");
    form->AddDemandPressure(ox + 200, oy + 400, 5);
    EXPECT_EQ(Nodes(), 7);
    (void)plain;
}

TEST_F(Placement, AJointOnAPipeSplitsItAndDealsOutItsItems)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    Net().GetNode(a).Elevation_m = 12;
    const int p = Pipe(a, b, "Main");
    TPipe &pipe = Net().GetPipe(p);
    pipe.Length_m = 80;
    pipe.InnerDiameter_m = 0.2;
    pipe.PumpCount = 1;
    pipe.Pump.Name = "Booster";
    AddValveOn(p, BPV);
    pipe.ComponentPressureCount = 1;
    pipe.ComponentPressurePositionPercentageAlongPipe = 30;
    pipe.FlowControlPositionPercentageAlongPipe = 70;

    ExpectQuestion("A Node cannot be added on top of an existing pipe line in the Network without splitting the pipe "
                   "into two sections. \r\rIf the pipe is split you will need to reset the pipe details manually. "
                   "\r\rDo you wish to add the node and split the pipe?",
                   false);
    EXPECT_EQ(form->AddJoint(ox + 200, oy, 0, 0), -1);
    EXPECT_EQ(Pipes(), 1);

    ExpectQuestion("A Node cannot be added on top of an existing pipe line in the Network without splitting the pipe "
                   "into two sections. \r\rIf the pipe is split you will need to reset the pipe details manually. "
                   "\r\rDo you wish to add the node and split the pipe?",
                   true);
    const int joint = form->AddJoint(ox + 200, oy, 0, 0);
    ASSERT_GT(joint, 0);
    EXPECT_EQ(Net().GetNode(joint).Elevation_m, 12);
    EXPECT_EQ(Net().GetNode(joint).Name, "N" + std::to_string(joint));
    EXPECT_FALSE(Net().ExistsPipeLink(a, b));
    int first = 0, second = 0;
    for (int id = Net().GetNextPipeId(0); id > 0; id = Net().GetNextPipeId(id)) {
        int from = 0, to = 0;
        Net().GetFromAndToNodeIds(id, from, to);
        (from == a && to == joint ? first : second) = id;
    }
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    const TPipe &one = Net().GetPipe(first), &two = Net().GetPipe(second);
    EXPECT_EQ(one.Name, "Main");
    EXPECT_EQ(two.Name, "P" + std::to_string(second));
    EXPECT_EQ(one.Length_m, 40);
    EXPECT_EQ(two.Length_m, 40);
    EXPECT_EQ(two.InnerDiameter_m, 0.2);
    EXPECT_EQ(one.PumpCount, 1);
    EXPECT_EQ(one.Pump.Name, "Booster");
    EXPECT_EQ(two.PumpCount, 0);
    EXPECT_EQ(one.FlowControlCount, 1);
    EXPECT_EQ(two.FlowControlCount, 0);
    EXPECT_EQ(one.ComponentPressureCount, 1);
    EXPECT_EQ(one.ComponentPressurePositionPercentageAlongPipe, 30);
    EXPECT_EQ(two.ComponentPressureCount, 0);
    EXPECT_EQ(LogText(), "-P+J+P+P");

    // A PRV goes to the second half, and so does a component past the middle.
    const int c = JointAt(ox, oy + 400), d = JointAt(ox + 400, oy + 400);
    const int q = Pipe(c, d);
    AddValveOn(q, PRV);
    Net().GetPipe(q).ComponentPressureCount = 1;
    Net().GetPipe(q).ComponentPressurePositionPercentageAlongPipe = 60;
    ExpectQuestion("A Node cannot be added on top of an existing pipe line in the Network without splitting the pipe "
                   "into two sections. \r\rIf the pipe is split you will need to reset the pipe details manually. "
                   "\r\rDo you wish to add the node and split the pipe?",
                   true);
    const int middle = form->AddJoint(ox + 200, oy + 400, 0, 0);
    int into = 0, outOf = 0;
    for (int id = Net().GetNextPipeId(0); id > 0; id = Net().GetNextPipeId(id)) {
        int from = 0, to = 0;
        Net().GetFromAndToNodeIds(id, from, to);
        if (to == middle)
            into = id;
        if (from == middle && to == d)
            outOf = id;
    }
    EXPECT_EQ(Net().GetPipe(into).FlowControlCount, 0);
    EXPECT_EQ(Net().GetPipe(into).ComponentPressureCount, 0);
    EXPECT_EQ(Net().GetPipe(outOf).FlowControlCount, 1);
    EXPECT_EQ(Net().GetPipe(outOf).ComponentPressureCount, 1);
}

TEST_F(Placement, JointRefusals)
{
    // Two pipes crossing at (ox + 200, oy + 200).
    Pipe(JointAt(ox, oy), JointAt(ox + 400, oy + 400));
    Pipe(JointAt(ox + 400, oy), JointAt(ox, oy + 400));
    dialogs.Expect(TDialogKind::Information,
                   "A Node cannot be added on a point where multiple lines already intersect. \r\rIf you wish to "
                   "connect the pipes at this point then please remove the \rexisting pipes, then add a joint at "
                   "this point and then re-connect the pipes \rto the joint.");
    EXPECT_EQ(form->AddJoint(ox + 200, oy + 200, 0, 0), -1);

    // On a node: the offer to make it a joint, and never a new node.
    const int tank = AddNodeAt(Net(), ox + 800, oy, Tank);
    Net().GetNode(tank).NodeImageIndex = 4;
    ExpectQuestion("Do you wish to change the type of the node to a joint?\r", true);
    EXPECT_EQ(form->AddJoint(ox + 800, oy, 2, 0), -1);
    EXPECT_EQ(Net().GetNode(tank).NodeType, Joint);
    EXPECT_EQ(Net().GetNode(tank).NodeImageIndex, 0);
    EXPECT_EQ(Nodes(), 5);
    EXPECT_EQ(LogText(), "");
}

TEST_F(Placement, TheTablesLimitsRefusePipesAndJoints)
{
    // 1000 pipes among 46 nodes (46 * 45 / 2 = 1035 pairs).
    std::vector<int> nodes;
    for (int i = 0; i < 46; ++i)
        nodes.push_back(JointAt(ox + 40 * i, oy + 40 * (i % 2)));
    int pipes = 0;
    for (std::size_t i = 0; i < nodes.size() && pipes < 1000; ++i)
        for (std::size_t j = i + 1; j < nodes.size() && pipes < 1000; ++j, ++pipes)
            AddPipeBetween(Net(), nodes[i], nodes[j]);
    ASSERT_EQ(Pipes(), 1000);
    const int far1 = JointAt(ox, oy + 2000), far2 = JointAt(ox + 400, oy + 2000);

    dialogs.Expect(TDialogKind::Information, "Pipe cannot be added. Maximum number of 1000 pipes reached. ");
    EXPECT_FALSE(form->AddPipeLink(far1, far2));
    dialogs.Expect(TDialogKind::Information, "Action cannot be performed. Maximum number of Pipes reached. ");
    EXPECT_EQ(form->AddJoint(ox, oy + 3000, 0, 0), -1);
    EXPECT_EQ(Pipes(), 1000);
    EXPECT_EQ(Nodes(), 48);
    EXPECT_EQ(LogText(), "");
}

TEST_F(Placement, APipeJoinsTwoNodesOnceWithNothingOnItsLine)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy), c = JointAt(ox + 800, oy);
    const QString connected =
        "The nodes are already connected. \r\rIf you need to create another flow between these nodes \rthen first "
        "add a joint at a different location and then \rconnect the nodes again via the joint.\r\rIf you were "
        "trying to highlight this node to draw from \rthen you first need to unselect the current node \rby clicking "
        "on the yellow highlight.";

    Net().CurrentFluidZone = 1;
    ExpectFirstPipeReminder(false);
    ASSERT_TRUE(form->AddPipeLink(a, b));
    const int ab = States().CurrentPipeIdSelected;
    EXPECT_EQ(States().PipeIdClick1, ab);
    EXPECT_EQ(Net().GetPipe(ab).Name, "P" + std::to_string(ab));
    EXPECT_EQ(Net().GetPipe(ab).Length_m, 3.048);
    EXPECT_EQ(LogText(), "+P");

    dialogs.Expect(TDialogKind::Information, connected);
    EXPECT_FALSE(form->AddPipeLink(a, b));
    dialogs.Expect(TDialogKind::Information, connected);
    EXPECT_FALSE(form->AddPipeLink(b, a));
    dialogs.Expect(TDialogKind::Information,
                   "Pipe cannot be added. \r\rThe pipe would pass through other nodes on the drawing \rand then some "
                   "nodes would appear to be connected when \rthey were not. This is not allowed so as to avoid "
                   "confusion. \r\rIn order to create a flow between the chosen points, \rfirst add a separate joint "
                   "elsewhere and then connect \rthe nodes via the joint.");
    EXPECT_FALSE(form->AddPipeLink(a, c));
    // A later pipe brings no reminder.
    EXPECT_TRUE(form->AddPipeLink(b, c));
    EXPECT_EQ(Pipes(), 2);
    EXPECT_EQ(LogText(), "+P+P");
}

TEST_F(Placement, ThePumpQuestionOpensThePumpDialogAndADeletedPumpEmptiesTheLog)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy);
    Net().GetNode(a).Elevation_m = 2.5;
    const int p = Pipe(a, b);
    form->AddJoint(ox + 800, oy + 800, 0, 0); // something in the log
    const QString question = "Add Pump to the pipe:\r\rThe pump elevation was set to 2.500m\r ( same elevation as the "
                             "start of the pipe )\r\rThe pump is always positoned at the start of the pipe.\r\rFurther "
                             "information about the pump is required.\r\rDo you want to enter the pump data now?";
    ExpectQuestion(question, false);
    form->AddPump(ox + 101, oy + 3, ox + 80, oy);
    TPipe &pipe = Net().GetPipe(p);
    EXPECT_EQ(pipe.PumpCount, 1);
    EXPECT_EQ(pipe.Pump.Name, "Pump");
    EXPECT_EQ(pipe.PumpElevation_m, 2.5);
    EXPECT_EQ(pipe.PumpPositionPercentageAlongPipe, 0);
    EXPECT_EQ(pipe.Pump.SetFlowRateDisplayUnit, unt_m3_sec);
    EXPECT_EQ(pipe.Pump.SetFixedHeadDisplayUnit, unt_m_hd_fluid);
    EXPECT_TRUE(itemDialogs.Calls.empty());
    EXPECT_EQ(form->DrawingObject, DrawingStandardCursor);
    // The log cannot restore a pipe's pump: it starts afresh.
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);

    // A pump on a pipe with one opens its dialog; a deleted pump leaves.
    form->AddJoint(ox + 800, oy + 1200, 0, 0);
    itemDialogs.DeletePumpAnswer = true;
    form->AddPump(ox + 300, oy, ox + 320, oy);
    EXPECT_EQ(itemDialogs.Calls, std::vector<std::string>{"Pump " + std::to_string(p)});
    EXPECT_EQ(pipe.PumpCount, 0);
    EXPECT_EQ(form->ActionLog->ActionIdCurrent, 0);

    // Yes to the question opens the dialog at once.
    itemDialogs.DeletePumpAnswer = false;
    ExpectQuestion(question, true);
    form->AddPump(ox + 200, oy, ox + 200, oy);
    EXPECT_EQ(itemDialogs.Calls.size(), 2u);
    EXPECT_EQ(pipe.PumpCount, 1);
}

TEST_F(Placement, ItemsGoOnlyOntoPipesThatCanTakeThem)
{
    const int a = JointAt(ox, oy), b = JointAt(ox + 400, oy), c = JointAt(ox, oy + 400), d = JointAt(ox + 400, oy + 400);
    const int plain = Pipe(a, b);
    const int valved = Pipe(c, d);
    AddValveOn(valved, FCV);
    form->ToolButtonFittingsAddClick();

    struct Case {
        const char *what;
        void (TNetworkForm::*add)(int, int, int, int);
        int x, y;
        const char *refusal; // empty: the dialog opens
        std::string dialog;
    };
    const std::string p = std::to_string(plain), v = std::to_string(valved);
    const Case cases[] = {
        {"pump on a node", &TNetworkForm::AddPump, ox, oy,
         "Pump cannot be added at same position as an existing node. \r\rA Pump must be added to a pipe by clicking on "
         "the pipe", ""},
        {"pump on nothing", &TNetworkForm::AddPump, ox + 200, oy + 200,
         "Pump cannot be added on to a blank section of the drawing. \r\rA Pump must be added to a pipe by clicking on "
         "the pipe", ""},
        {"pump on a valve pipe", &TNetworkForm::AddPump, ox + 200, oy + 400,
         "Pump cannot be added to a pipe where a Control Valve already exists. \r\rEither remove the control valve, "
         "or add the pump to a different pipe.\r", ""},
        {"fittings on nothing", &TNetworkForm::AddFittings, ox + 200, oy + 200,
         "Fittings cannot be added on to a blank section of the drawing. \r\rFittings must be added to a pipe by "
         "clicking on the pipe", ""},
        {"fittings", &TNetworkForm::AddFittings, ox + 100, oy, "", "Fittings " + p + " entry"},
        {"component on a node", &TNetworkForm::AddComponentPressureLoss, ox + 400, oy + 400,
         "Fixed Pressure Loss component cannot be added at same position as an existing node. \r\rA Fixed Pressure "
         "Loss component must be added to a pipe by clicking on the pipe", ""},
        {"component", &TNetworkForm::AddComponentPressureLoss, ox + 300, oy, "", "Component " + p},
        {"valve on nothing", &TNetworkForm::AddFlowControl, ox + 200, oy + 200,
         "Control valve component cannot be added on to a blank section of the drawing. \r\rA Control valve component "
         "must be added to a pipe by clicking on the pipe", ""},
        {"valve", &TNetworkForm::AddFlowControl, ox + 200, oy + 400, "", "FlowControl " + v},
    };
    for (const Case &c : cases) {
        itemDialogs.Calls.clear();
        if (*c.refusal)
            dialogs.Expect(TDialogKind::Information, c.refusal);
        (form.get()->*c.add)(c.x, c.y, c.x, c.y);
        EXPECT_EQ(itemDialogs.Calls, c.dialog.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.dialog})
            << c.what;
    }
    // The items stand where the pipe was clicked.
    EXPECT_DOUBLE_EQ(Net().GetPipe(plain).FittingsPositionPercentageAlongPipe, 25);
    EXPECT_DOUBLE_EQ(Net().GetPipe(plain).ComponentPressurePositionPercentageAlongPipe, 75);
    EXPECT_DOUBLE_EQ(Net().GetPipe(valved).FlowControlPositionPercentageAlongPipe, 0) << "kept: it had its valve";

    // A valve never goes onto a pipe with a pump.
    Net().GetPipe(plain).PumpCount = 1;
    itemDialogs.Calls.clear();
    dialogs.Expect(TDialogKind::Information,
                   "Control valve component cannot be added on to a pipe with a pump on. \r\rEither remove the pump, "
                   "or add the control valve to a different pipe.\r\rNote: If the pump type is 'variable speed' then "
                   "the flow can be set directly on the pump.");
    form->AddFlowControl(ox + 200, oy, ox + 200, oy);
    EXPECT_TRUE(itemDialogs.Calls.empty());
}

TEST_F(Placement, DemandFlowsOnlyOnJoints)
{
    const int joint = JointAt(ox, oy);
    const int tank = AddNodeAt(Net(), ox + 400, oy, Tank);
    dialogs.Expect(TDialogKind::Information, "Cannot add a flow demand at this point.\r\rClick on a regular joint "
                                             "node to add a flow demand at that point.");
    form->AddDemandFlow(ox + 40, oy, 5);
    dialogs.Expect(TDialogKind::Information,
                   "Flow demands can only be added at nodes that are\rnot of type tank or end pressure.\r\rClick on a "
                   "regular node to add a flow demand at that point.");
    form->AddDemandFlow(ox + 400, oy, 5);
    EXPECT_TRUE(itemDialogs.Calls.empty());
    form->AddDemandFlow(ox, oy, 5);
    EXPECT_EQ(itemDialogs.Calls, std::vector<std::string>{"Demands " + std::to_string(joint) + " in"});
    EXPECT_EQ(States().CurrentNodeIdSelected, joint);
    (void)tank;
}

TEST_F(Placement, FreeTextsAreEditedWhereTheyStandOrAddedWithTheLastStyle)
{
    form->lastFreeTextSize = 14;
    form->lastFreeTextAngle = 90;
    itemDialogs.OnOpen = [&] { Net().GetFreeText(1).Color = 0x0000FF; };
    form->AddFreeText(ox + 13, oy + 7, ox, oy);
    ASSERT_EQ(Net().FreeTextsCount, 1);
    const TFreeText &text = Net().GetFreeText(1);
    EXPECT_EQ(text.x, ox + 13);
    EXPECT_EQ(text.y, oy + 7);
    EXPECT_EQ(text.Size, 14);
    EXPECT_EQ(text.Angle, 90);
    EXPECT_EQ(text.GetText(), "");
    // What the dialog left becomes the next text's style.
    EXPECT_EQ(form->lastFreeTextColor, 0x0000FF);
    form->AddFreeText(ox + 20, oy + 10, ox, oy); // 7 and 3 away: the same text
    EXPECT_EQ(Net().FreeTextsCount, 1);
    EXPECT_EQ(itemDialogs.Calls, (std::vector<std::string>{"FreeText 1", "FreeText 1"}));
}

} // namespace
} // namespace tessaran::test
