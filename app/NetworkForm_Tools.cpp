// The drawing tools: choosing one sets the current tool, its status text,
// the tool-cursor image and the screen cursor over the drawing.
#include "app/NetworkForm.h"

#include "app/Status_Bar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

namespace tessaran {

struct TToolChoice {
    TDrawingObjectEnum Tool;
    const char *Status;
    int CursorImage;  // entry of ImageListCursorTypes, or none
    int ScreenCursor; // cursor slot, or the default arrow
};

namespace {

constexpr int NoPicture = -1;
constexpr int DefaultCursor = -1;

constexpr TToolChoice SupplyTool{DrawingSupply,
                             " Add Tank: Left click on the drawing to add a Tank at the cursor position.", 2,
                             DefaultCursor};
constexpr TToolChoice DemandPressureTool{
    DrawingDemandPressure, " Add Demand Pressure: Left click on the drawing to add a fixed pressure demand.", 6,
    DefaultCursor};
constexpr TToolChoice DemandFlowTool{DrawingDemandFlow,
                                 " Add Demand Flow: Left click on a node to set a demand flow at that point.", 7,
                                 DefaultCursor};
constexpr TToolChoice PumpTool{DrawingPump, " Add Pump: Left click on a pipe to add the pump at the cursor position.", 3,
                           DefaultCursor};
constexpr TToolChoice FittingsTool{DrawingFittings,
                               " Add Fittings: Left click on a pipe to add Fittings at the cursor position.", 8,
                               DefaultCursor};
constexpr TToolChoice ComponentTool{
    DrawingComponentPressure, " Add Component: Left click on a pipe to add a Component with a Pressure Loss.", 9,
    DefaultCursor};
constexpr TToolChoice FlowControlTool{
    DrawingFlowControl, " Add Control Valve: Left click on a pipe to add a Control valve component.", 10,
    DefaultCursor};
constexpr TToolChoice JointTool{DrawingJoint,
                            " Add Joint: Left click on the drawing to add a Joint at the cursor position.", 1,
                            DefaultCursor};
constexpr TToolChoice PipeAddTool{
    DrawingPipeAdd,
    " Add Pipes: Left click to select node. Left Click to draw pipe. Right click to stop rubber banding.", 0,
    DefaultCursor};
constexpr TToolChoice HandTool{DrawingHand,
                           " Pan Drawing: Left click and hold down, then move mouse to pan the drawing.", NoPicture,
                           13};
constexpr TToolChoice StandardCursorTool{
    DrawingStandardCursor, " Show Info: Left click on an item to show its details in the left hand panel.", 4,
    DefaultCursor};
constexpr TToolChoice DragNodeTool{
    DrawingDragNode,
    " Drag Node: Left click on a highlighted object and hold down while dragging to new position.", 5, 17};
constexpr TToolChoice TextTool{DrawingText, " Add Free Text: Click on the grid at the position to add text.", 11,
                           DefaultCursor};
constexpr TToolChoice ClosePipeTool{
    DrawingClosePipe, " Toggle to Open /Close Pipe: Left click on a pipe to toggle between closed and open.", 13,
    DefaultCursor};

constexpr TToolChoice SelectionTool{
    DrawingSelection,
    " Selection Mode: Left click and hold down while dragging to select items. Right click to exit selection mode.",
    NoPicture, 15};
constexpr TToolChoice PickSelectionTool{
    DrawingSelection,
    " Select Items: Left click on a pipe or node to select items then use Adjust Pipes/Nodes buttons. Right click to "
    "exit selection mode.",
    16, DefaultCursor};

enum class Clearing { AllIds, KeepRubberBandAndSelection, OnlyRubberBandAndSelection, Selection };

} // namespace

void TNetworkForm::createToolButtons()
{
    auto add = [this](const char *name, const QString &text, const QString &hint, void (TNetworkForm::*click)()) {
        auto *button = new QToolButton(ToolBar2);
        button->setObjectName(name);
        button->setText(text);
        button->setToolTip(hint);
        button->setCheckable(true);
        button->setAutoExclusive(false);
        ToolBar2->layout()->addWidget(button);
        connect(button, &QToolButton::clicked, this, click);
        return button;
    };
    ToolButtonCursorArrow = add("ToolButtonCursorArrow", "Info", "Show Item Info", &TNetworkForm::ToolButtonCursorArrowClick);
    ToolButtonHand1 = add("ToolButtonHand1", "Pan", "Pan the drawing", &TNetworkForm::ToolButtonHand1Click);
    ToolButtonTank1 = add("ToolButtonTank1", "Tank", "Add Tank", &TNetworkForm::ToolButtonTank1Click);
    ToolButtonPipeAdd1 = add("ToolButtonPipeAdd1", "Pipe", "Add Pipes", &TNetworkForm::ToolButtonPipeAdd1Click);
    ToolButtonJoint1 = add("ToolButtonJoint1", "Joint", "Add Join Point", &TNetworkForm::ToolButtonJoint1Click);
    ToolButtonDemandPressure = add("ToolButtonDemandPressure", "P", "Add Demand Pressure",
                                   &TNetworkForm::ToolButtonDemandPressureClick);
    ToolButtonDemandFlow = add("ToolButtonDemandFlow", "Q", "Add Demand Flow", &TNetworkForm::ToolButtonDemandFlowClick);
    ToolButtonPumpAdd1 = add("ToolButtonPumpAdd1", "Pump", "Add Pump", &TNetworkForm::ToolButtonPumpAdd1Click);
    ToolButtonFittingsAdd = add("ToolButtonFittingsAdd", "Fit", "Add Fittings", &TNetworkForm::ToolButtonFittingsAddClick);
    ToolButtonComponentPressureLossAdd = add("ToolButtonComponentPressureLossAdd", "Comp", "Add Component",
                                             &TNetworkForm::ToolButtonComponentPressureLossAddClick);
    ToolButtonFlowControlAdd = add("ToolButtonFlowControlAdd", "Valve", "Add Control Valve",
                                   &TNetworkForm::ToolButtonFlowControlAddClick);
    ToolButtonDragNode = add("ToolButtonDragNode", "Drag", "Drag and Move Items", &TNetworkForm::ToolButtonDragNodeClick);
    ToolButtonText = add("ToolButtonText", "Text", "Add Text", &TNetworkForm::ToolButtonTextClick);
    ToolButtonClosePipe = add("ToolButtonClosePipe", "Close", "Open / Close Pipe",
                              &TNetworkForm::ToolButtonClosePipeClick);
    ToolButtonSelection = add("ToolButtonSelection", "Select", "Select items with a rectangle",
                              &TNetworkForm::ToolButtonSelectionClick);
    ToolButtonSelection2 = add("ToolButtonSelection2", "Pick", "Select Individual Pipes & Nodes",
                               &TNetworkForm::ToolButtonSelection2Click);
}

void TNetworkForm::loadCursorTypeImages()
{
    // The tool-cursor pictures are the tools' own cursors, drawn small.
    ImageListCursorTypes.clear();
    for (int index = 0; index <= 16; ++index)
        ImageListCursorTypes.push_back(Cursors[static_cast<std::size_t>(std::min(index + 2, 17))].pixmap());
    // 17: the Show Item Info tool over a free text.
    ImageListCursorTypes.push_back(Cursors[6].pixmap());
}

void TNetworkForm::showToolCursorImage(int imageIndex)
{
    if (imageIndex == NoPicture) {
        ImageDrawCursorType->hide();
        return;
    }
    QPixmap picture(ImageDrawCursorType->size());
    picture.fill(Qt::white);
    if (imageIndex < static_cast<int>(ImageListCursorTypes.size())) {
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, ImageListCursorTypes[static_cast<std::size_t>(imageIndex)]);
    }
    ImageDrawCursorType->setPixmap(picture);
    ImageDrawCursorType->show();
}

void TNetworkForm::flashStatusBarHint()
{
    StatusBarHintColor = 0x00FFFF;
    TimerStatusBarHint->start(800);
    StatusBar1->repaint();
}

namespace {

void releaseAll(std::initializer_list<QToolButton *> buttons)
{
    for (QToolButton *button : buttons)
        button->setChecked(false);
}

} // namespace

void TNetworkForm::chooseTool(const TToolChoice &choice, int clearing, bool refreshWholeWindow)
{
    releaseAll({ToolButtonHand1, ToolButtonSelection, ToolButtonSelection2});
    NetworkImage->setCursor(choice.ScreenCursor == DefaultCursor
                                ? QCursor(Qt::ArrowCursor)
                                : Cursors[static_cast<std::size_t>(choice.ScreenCursor)]);
    StatusBar1->SetPanelText(2, choice.Status);
    showToolCursorImage(choice.CursorImage);
    DrawingObject = choice.Tool;
    NetworkStates.DrawingObject = choice.Tool;
    TNetworkStates &s = NetworkStates;
    switch (static_cast<Clearing>(clearing)) {
    case Clearing::AllIds:
        s.NodeIdClick1 = s.NodeIdClick2 = s.CurrentNodeIdSelected = s.CurrentPipeIdSelected = 0;
        s.PipeIdClick1 = s.PipeIdClick2 = 0;
        s.RubberBand = false;
        s.SelectionStatus = 0;
        break;
    case Clearing::KeepRubberBandAndSelection:
        s.NodeIdClick1 = s.NodeIdClick2 = s.CurrentNodeIdSelected = s.CurrentPipeIdSelected = 0;
        s.PipeIdClick1 = s.PipeIdClick2 = 0;
        break;
    case Clearing::OnlyRubberBandAndSelection:
        s.RubberBand = false;
        s.SelectionStatus = 0;
        break;
    case Clearing::Selection:
        s.RubberBand = false;
        s.SelectionStatus = 0;
        s.SelectionPasted = false;
        s.SelectionStartX = s.SelectionStartY = s.SelectionEndX = s.SelectionEndY = 0;
        s.CursorX = s.CursorY = 0;
        break;
    }
    flashStatusBarHint();
    UpdatePanelsNode(0, false);
    UpdatePanelsPipe(0, false);
    if (refreshWholeWindow)
        RefreshScreen(true);
    else
        RefreshScreenImageOnly(true);
}

void TNetworkForm::ToolButtonTank1Click() { chooseTool(SupplyTool, 0, false); }
void TNetworkForm::ToolButtonDemandPressureClick() { chooseTool(DemandPressureTool, 0, false); }
void TNetworkForm::ToolButtonDemandFlowClick() { chooseTool(DemandFlowTool, 0, true); }
void TNetworkForm::ToolButtonPumpAdd1Click() { chooseTool(PumpTool, 0, false); }
void TNetworkForm::ToolButtonFittingsAddClick() { chooseTool(FittingsTool, 0, false); }
void TNetworkForm::ToolButtonComponentPressureLossAddClick() { chooseTool(ComponentTool, 0, false); }
void TNetworkForm::ToolButtonFlowControlAddClick() { chooseTool(FlowControlTool, 0, false); }
void TNetworkForm::ToolButtonJoint1Click() { chooseTool(JointTool, 0, false); }
void TNetworkForm::ToolButtonTextClick() { chooseTool(TextTool, 0, true); }

void TNetworkForm::ToolButtonPipeAdd1Click()
{
    chooseTool(PipeAddTool, 0, false);
    NetworkStates.SystemUpdatedSinceLoad = true;
}

void TNetworkForm::ToolButtonHand1Click()
{
    releaseAll({ToolButtonCursorArrow, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
                ToolButtonDragNode, ToolButtonDemandPressure, ToolButtonDemandFlow});
    chooseTool(HandTool, static_cast<int>(Clearing::KeepRubberBandAndSelection), false);
    ToolButtonHand1->setChecked(true);
}

void TNetworkForm::ToolButtonDragNodeClick()
{
    chooseTool(DragNodeTool, static_cast<int>(Clearing::OnlyRubberBandAndSelection), false);
}

void TNetworkForm::ToolButtonClosePipeClick()
{
    releaseAll({ToolButtonCursorArrow});
    chooseTool(ClosePipeTool, 0, true);
}

void TNetworkForm::ToolButtonSelectionClick()
{
    releaseAll({ToolButtonCursorArrow, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
                ToolButtonFittingsAdd, ToolButtonComponentPressureLossAdd, ToolButtonFlowControlAdd,
                ToolButtonDemandPressure, ToolButtonDemandFlow, ToolButtonDragNode, ToolButtonText,
                ToolButtonClosePipe});
    SetSelectionMode();
    ResultsMode = false;
    chooseTool(SelectionTool, static_cast<int>(Clearing::Selection), false);
    ToolButtonSelection->setChecked(true);
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

void TNetworkForm::ToolButtonSelection2Click()
{
    releaseAll({ToolButtonCursorArrow, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
                ToolButtonFittingsAdd, ToolButtonComponentPressureLossAdd, ToolButtonFlowControlAdd,
                ToolButtonDemandPressure, ToolButtonDemandFlow, ToolButtonDragNode, ToolButtonText,
                ToolButtonClosePipe});
    NetworkStates.SelectionStatus = 9;
    SetSelectionMode();
    ResultsMode = false;
    chooseTool(PickSelectionTool, static_cast<int>(Clearing::AllIds), false);
    TNetworkStates &s = NetworkStates;
    s.SelectionPasted = false;
    s.SelectionStartX = s.SelectionStartY = s.SelectionEndX = s.SelectionEndY = 0;
    s.CursorX = s.CursorY = 0;
    s.SelectionStatus = 9;
    ToolButtonSelection2->setChecked(true);
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

void TNetworkForm::ToolButtonCursorArrowClick()
{
    const int pipeClickedLast = NetworkStates.PipeIdClick1;
    releaseAll({ToolButtonDragNode});
    chooseTool(StandardCursorTool, 0, false);
    ToolButtonCursorArrow->setChecked(true);
    if (!ResultsMode)
        for (QToolButton *button :
             {ToolButtonHand1, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
              ToolButtonFittingsAdd, ToolButtonFlowControlAdd, ToolButtonComponentPressureLossAdd, ToolButtonDragNode,
              ToolButtonDemandPressure, ToolButtonDemandFlow, ToolButtonClosePipe, ToolButtonText})
            button->setEnabled(true);
    NetworkStates.CurrentPipeIdSelected = pipeClickedLast;
    NetworkStates.SelectionStartX = NetworkStates.SelectionStartY = 0;
    NetworkStates.SelectionEndX = NetworkStates.SelectionEndY = 0;
    CurrentNetwork->SetSelectedItems(NetworkStates);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    UpdateDrawingMenuFromNetwork();
}

} // namespace tessaran
