// Design, results and selection modes, the two floating results keys, the
// colour key drawn for the screen, prints and PDFs, the hover panel and the
// one-line item results of the status bar.
#include "app/NetworkForm.h"

#include "app/Status_Bar.h"
#include "drawing/Canvas_Drawings.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace tessaran {

namespace {

constexpr TColor Yellow = 0x00FFFF;

template <typename Widget> Widget *placed(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

void setColours(QWidget *widget, const QColor &background, const QColor &text)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget *widget, QPalette::ColorRole role)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, QApplication::palette().color(role));
    widget->setPalette(colours);
}

// The mouse on the key panels: their titles and bodies drag the panel
// about inside the drawing area; the key texts and the colour image open
// the units, labels and colouring choices.
class TKeyPanelMouse : public QObject {
public:
    explicit TKeyPanelMouse(TNetworkForm &form) : QObject(&form), form_(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        const QEvent::Type type = event->type();
        if (widget == form_.LabelResultsKey) {
            if (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick)
                QTimer::singleShot(0, &form_, [f = &form_] { f->ChangeUnits1Click(); });
            return false;
        }
        if (widget == form_.ImageResultsColors) {
            if (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick)
                QTimer::singleShot(0, &form_, [f = &form_] { f->ResultsColorsSelect(); });
            return false;
        }
        if (type == QEvent::MouseButtonDblClick) {
            if (widget == form_.LabelresultsKeyTitle)
                QTimer::singleShot(0, &form_, [f = &form_] { f->ChangeUnits1Click(); });
            else if (widget == form_.LabelColorKeyTitle)
                QTimer::singleShot(0, &form_, [f = &form_] { f->ResultsColorsSelect(); });
            return false;
        }
        QWidget *panel = widget == form_.LabelresultsKeyTitle || widget == form_.PanelResultsKey
                             ? form_.PanelResultsKey
                             : form_.PanelResultsColorKey;
        auto *mouse = dynamic_cast<QMouseEvent *>(event);
        if (!mouse)
            return false;
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            dragging_ = panel;
            grabOffset_ = mouse->globalPosition().toPoint() - panel->pos();
            return true;
        }
        if (type == QEvent::MouseMove && dragging_ == panel && (mouse->buttons() & Qt::LeftButton)) {
            const QWidget *area = panel->parentWidget();
            QPoint to = mouse->globalPosition().toPoint() - grabOffset_;
            to.setX(std::clamp(to.x(), 0, std::max(0, area->width() - panel->width())));
            to.setY(std::clamp(to.y(), -1, std::max(-1, area->height() - panel->height())));
            panel->move(to);
            return true;
        }
        if (type == QEvent::MouseButtonRelease && dragging_ == panel) {
            dragging_ = nullptr;
            return true;
        }
        return false;
    }

private:
    TNetworkForm &form_;
    QWidget *dragging_ = nullptr;
    QPoint grabOffset_;
};

struct TKeyValues {
    double Min = 0, Max = 0, AxisMin = 0, AxisMax = 0;
    std::string Title;
    TResultsColorItemEnum Item = ResultsVelocity;
};

TKeyValues keyValues(const TNetwork &net)
{
    const TConfigOptions &o = net.ConfigOptions;
    TKeyValues k;
    k.Item = o.ResultsColorItem;
    const std::string caption = net.GetResultsColorItemStringsText(k.Item);
    if (k.Item == ResultsPipeTotalK || k.Item == ResultsPipeReynoldsNumber) {
        k.Min = o.ResultsColorItemMinValue;
        k.Max = o.ResultsColorItemMaxValue;
        k.AxisMin = o.ResultsColorItemAxisMinValue;
        k.AxisMax = o.ResultsColorItemAxisMaxValue;
        k.Title = " Color of " + caption;
        return k;
    }
    const TUnit unit = net.GetResultsColorItemUnit(k.Item);
    k.Min = net.GetResultsColorItemConvertedValue(o.ResultsColorItemMinValue, o.ResultsColorItemMinValueFluidZoneIndex);
    k.Max = net.GetResultsColorItemConvertedValue(o.ResultsColorItemMaxValue, o.ResultsColorItemMaxValueFluidZoneIndex);
    k.AxisMin = net.GetResultsColorItemConvertedValue(o.ResultsColorItemAxisMinValue,
                                                      o.ResultsColorItemAxisMinValueFluidZoneIndex);
    k.AxisMax = net.GetResultsColorItemConvertedValue(o.ResultsColorItemAxisMaxValue,
                                                      o.ResultsColorItemAxisMaxValueFluidZoneIndex);
    k.Title = " Color of " + caption + " in " + unitName(unit);
    return k;
}

// The start and width of the coloured part of a bar of full width w.
void colouredPart(const TKeyValues &k, int left, int w, int &x, int &width)
{
    x = left;
    width = w;
    const double range = k.AxisMax - k.AxisMin;
    if (range == 0)
        return;
    const int lo = static_cast<int>(std::lrint((k.Min - k.AxisMin) / range * w));
    const int hi = static_cast<int>(std::lrint((k.AxisMax - k.Max) / range * w));
    x = left + lo;
    width = w - hi - lo;
}

const TFluid &zoneFluid(const TNetwork &net, int zone)
{
    if (zone < 1 || zone > TNetwork::MaxFluidZones)
        zone = 1;
    return net.FluidZones[static_cast<std::size_t>(zone)].Fluid;
}

// "flow unit @ density unit (mass flow unit)" for a liquid; the standard
// flow and the mass flow for a gas with flow; nothing for a gas at rest.
std::string flowPart(const TNetwork &net, const TPipe &pipe)
{
    const TConfigOptions &o = net.ConfigOptions;
    const TFluid &fluid = zoneFluid(net, pipe.FluidZoneIndex);
    const double density = fluid.density_kgs_m3;
    const double massFlow = pipe.FlowUncompressed_m3s * density;
    const std::string mass = convertAndFormatDecimals(unt_kg_sec, o.UnitOfMassFlow, 4, massFlow) + " " +
                             unitName(o.UnitOfMassFlow);
    if (!fluid.FluidIsGas)
        return convertAndFormat(unt_m3_sec, o.UnitOfFlow, pipe.FlowUncompressed_m3s) + " " + unitName(o.UnitOfFlow) +
               " @ " + convertAndFormat(unt_kg_m3, o.UnitOfDensity, density) + " " + unitName(o.UnitOfDensity) +
               " (" + mass + ")";
    if (massFlow <= 0)
        return "";
    return convertFlowUnitToString(unt_kg_sec, o.UnitOfGasFlow, unitDecimals(o.UnitOfGasFlow),
                                   o.GasFlowTemperaturePressureModel, massFlow, density, fluid.pressure_bar_g,
                                   fluid.degrees_K, o.Atmosphere_bar_a) +
           " " + unitName(o.UnitOfGasFlow) + " (" + mass + ")";
}

} // namespace

void TNetworkForm::createResultsKeys()
{
    auto *mouse = new TKeyPanelMouse(*this);
    QFont bold = font();
    bold.setBold(true);
    const QString dragHint = "Left Click on the title bar and then drag the window to re-position ";
    auto title = [&](QWidget *panel, const char *name, const char *text, int width) {
        auto *label = placed(new QLabel(text, panel), name, {0, 0, width, 16});
        label->setFont(bold);
        label->setToolTip(dragHint);
        setColours(label, QApplication::palette().color(QPalette::Highlight),
                   QApplication::palette().color(QPalette::HighlightedText));
        label->installEventFilter(mouse);
        return label;
    };
    auto button = [&](QWidget *panel, const char *name, const char *text, const QRect &at, const QString &hint) {
        auto *b = placed(new QPushButton(text, panel), name, at);
        b->setToolTip(hint);
        return b;
    };

    PanelResultsKey->setParent(ScrollBox1);
    PanelResultsKey->resize(200, 41);
    setColours(PanelResultsKey, Qt::white, Qt::black);
    LabelresultsKeyTitle = title(PanelResultsKey, "LabelresultsKeyTitle", " Results Key", 200);
    BitBtnresultsKeyLabel = button(PanelResultsKey, "BitBtnresultsKeyLabel", "L", {2, 18, 20, 21}, "Labels");
    LabelResultsKey = placed(new QLabel(PanelResultsKey), "LabelResultsKey", {26, 18, 148, 21});
    LabelResultsKey->setToolTip("Click to change the displayed units");
    BitBtnResultsKeyUnits = button(PanelResultsKey, "BitBtnResultsKeyUnits", "U", {178, 18, 20, 21}, "Units");
    LabelResultsKey->installEventFilter(mouse);
    PanelResultsKey->installEventFilter(mouse);
    connect(BitBtnresultsKeyLabel, &QPushButton::clicked, this, &TNetworkForm::ToolButtonConfigureLabellingClick);
    connect(BitBtnResultsKeyUnits, &QPushButton::clicked, this, &TNetworkForm::ToolButtonConfigureUnitsClick);

    PanelResultsColorKey->setParent(ScrollBox1);
    PanelResultsColorKey->resize(300, 41);
    setColours(PanelResultsColorKey, Qt::white, Qt::black);
    LabelColorKeyTitle = title(PanelResultsColorKey, "LabelColorKeyTitle", "  Results Color Key", 300);
    ImageResultsColors = placed(new QLabel(PanelResultsColorKey), "ImageResultsColors", {4, 16, 266, 24});
    ImageResultsColors->setToolTip("Click to change the color key items");
    ImageResultsColors->installEventFilter(mouse);
    const QString bottomHint = "Click to adjust the bottom end of the color range";
    const QString topHint = "Click to adjust the top end of the color range";
    Button2 = button(PanelResultsColorKey, "Button2", "<", {4, 28, 12, 12}, bottomHint);
    Button1 = button(PanelResultsColorKey, "Button1", ">", {16, 28, 12, 12}, bottomHint);
    Button3 = button(PanelResultsColorKey, "Button3", "<", {246, 28, 12, 12}, topHint);
    Button4 = button(PanelResultsColorKey, "Button4", ">", {258, 28, 12, 12}, topHint);
    BitBtnResultsColorKey = button(PanelResultsColorKey, "BitBtnResultsColorKey", "...", {274, 17, 24, 23},
                                   "Click to change the color key items");
    PanelResultsColorKey->installEventFilter(mouse);
    connect(Button1, &QPushButton::clicked, this, &TNetworkForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TNetworkForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TNetworkForm::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TNetworkForm::Button4Click);
    connect(BitBtnResultsColorKey, &QPushButton::clicked, this, &TNetworkForm::ResultsColorsSelect);
    PanelResultsKey->hide();
    PanelResultsColorKey->hide();

    // The hover panel shows data in design mode and results in results mode.
    LabelInfo1->setWordWrap(true);
    LabelInfo1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(PanelResultInfo, Qt::white, Qt::black);
    LabelInfoTitle->setFont(bold);
    setColours(LabelInfoTitle, QApplication::palette().color(QPalette::ToolTipBase),
               QApplication::palette().color(QPalette::ToolTipText));
}

// --- modes ------------------------------------------------------------------------

void TNetworkForm::SetDesignMode()
{
    ResultsMode = false;
    if (FormResults)
        FormResults->hide();
    BitBtnCalculate->setText("CALCULATE");
    for (QPushButton *button : {BitBtnResultsTable, BitBtnResultsPDF, BitBtnShowLog})
        button->setEnabled(false);
    PanelInvalidSolution->hide();
    for (QPushButton *button : {BitBtnLoadExamples, BitBtnNextExample}) {
        button->show();
        button->setEnabled(true);
    }
    for (QToolButton *button :
         {ToolButtonCursorArrow, ToolButtonHand1, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1,
          ToolButtonPumpAdd1, ToolButtonFittingsAdd, ToolButtonFlowControlAdd, ToolButtonComponentPressureLossAdd,
          ToolButtonDragNode, ToolButtonSelection, ToolButtonSelection2, ToolButtonDemandPressure,
          ToolButtonDemandFlow, ToolButtonAdjustPipes, ToolButtonAdjustNodes, ToolButtonEditGrid,
          ToolButtonIsometric, ToolButtonClosePipe, ToolButtonText})
        if (button)
            button->setEnabled(true);
    for (const char *name : {"ToolButtonUndo1", "ToolButtonRedo1", "ToolButtonDelete", "ToolButtonCut",
                             "ToolButtonCopy", "ToolButtonPaste", "ToolButtonMirror", "ToolButtonInvert",
                             "ToolButtonZoomSelection"})
        if (auto *button = findChild<QToolButton *>(name))
            button->setEnabled(true);
    if (auto *edit = menuBar()->findChild<QMenu *>("Edit1"))
        edit->menuAction()->setEnabled(true);

    NetworkImage->setCursor(Qt::ArrowCursor);
    showToolCursorImage(0);
    DrawingObject = DrawingStandardCursor;
    NetworkStates.DrawingObject = DrawingStandardCursor;
    NetworkStates.SelectionStatus = 0;
    NetworkStates.SelectionStartX = NetworkStates.SelectionStartY = 0;
    NetworkStates.SelectionEndX = NetworkStates.SelectionEndY = 0;
    if (CurrentNetwork)
        CurrentNetwork->SetSelectedItems(NetworkStates);

    ToolButtonCursorArrow->setChecked(true);
    for (QToolButton *button : {ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
                                ToolButtonDragNode, ToolButtonSelection, ToolButtonSelection2,
                                ToolButtonDemandPressure, ToolButtonDemandFlow})
        button->setChecked(false);
    if (auto *button = findChild<QToolButton *>("ToolButtonZoomSelection"))
        button->setChecked(false);

    StatusBarHintColor = StatusBarDefaultColor;
    StatusBar1->SetPanelText(2, "Show Info: Left click on an item to show its details in the left hand panel.");
    StatusBar1->SetPanelText(1, " ");
    StatusBar1->SetPanelText(0, " ");

    for (QWidget *panel : {PanelResultInfo, PanelResultsKey, PanelResultsColorKey, PanelCalculating})
        panel->hide();
    TimerCalculating->stop();
    CreatePDFCustomizedReport->setEnabled(false);
    PanelTankTypes->hide();
    UpdateDrawingMenuFromNetwork();
    ClickCalculateTextOnOff();
    RefreshScreen(true);
}

void TNetworkForm::SetResultsMode()
{
    ResultsMode = true;
    BitBtnCalculate->setText("RE-DESIGN");
    for (QPushButton *button : {BitBtnResultsTable, BitBtnResultsPDF, BitBtnShowLog}) {
        button->show();
        button->setEnabled(true);
    }
    for (QPushButton *button : {BitBtnNextExample, BitBtnLoadExamples}) {
        button->hide();
        button->setEnabled(false);
    }
    ToolButtonCursorArrow->setChecked(true);
    ToolButtonCursorArrow->setEnabled(true);
    ToolButtonDragNode->setEnabled(true);
    for (QToolButton *button :
         {ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1, ToolButtonFittingsAdd,
          ToolButtonComponentPressureLossAdd, ToolButtonFlowControlAdd, ToolButtonSelection, ToolButtonSelection2,
          ToolButtonDemandPressure, ToolButtonDemandFlow, ToolButtonAdjustPipes, ToolButtonAdjustNodes,
          ToolButtonEditGrid, ToolButtonIsometric, ToolButtonClosePipe})
        if (button)
            button->setEnabled(false);
    for (const char *name : {"ToolButtonUndo1", "ToolButtonRedo1", "ToolButtonDelete", "ToolButtonCut",
                             "ToolButtonCopy", "ToolButtonPaste", "ToolButtonMirror", "ToolButtonInvert",
                             "ToolButtonZoomSelection"})
        if (auto *button = findChild<QToolButton *>(name))
            button->setEnabled(false);

    NetworkImage->setCursor(Qt::ArrowCursor);
    showToolCursorImage(0);
    DrawingObject = DrawingStandardCursor;
    NetworkStates.DrawingObject = DrawingStandardCursor;

    StatusBarHintColor = Yellow;
    StatusBar1->SetPanelText(2, " RESULTS MODE - Click on Re-Design button to return to edit mode.");

    PanelResultsKey->move(18, -1);
    UpdatePanelResultsKey();
    PanelResultsKey->show();
    PanelResultsKey->raise();
    PanelResultsColorKey->move(PanelResultsKey->x() + PanelResultsKey->width() + 4, -1);
    UpdatePanelResultsColorKey();

    CreatePDFCustomizedReport->setEnabled(true);
    PanelTankTypes->hide();
    UpdateDrawingMenuFromNetwork();
    RefreshScreen(true);
}

void TNetworkForm::SetSelectionMode()
{
    ToolButtonCursorArrow->setChecked(false);
    ToolButtonCursorArrow->setEnabled(false);
    for (QToolButton *button :
         {ToolButtonHand1, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
          ToolButtonFittingsAdd, ToolButtonComponentPressureLossAdd, ToolButtonFlowControlAdd, ToolButtonDragNode,
          ToolButtonSelection, ToolButtonSelection2, ToolButtonDemandPressure, ToolButtonDemandFlow, ToolButtonText})
        button->setEnabled(false);
    for (const char *name : {"ToolButtonUndo1", "ToolButtonRedo1"})
        if (auto *button = findChild<QToolButton *>(name))
            button->setEnabled(false);
    if (auto *button = findChild<QToolButton *>("ToolButtonDelete"))
        button->setEnabled(true);
    const bool individual = NetworkStates.SelectionStatus == 9;
    for (const char *name :
         {"ToolButtonCut", "ToolButtonCopy", "ToolButtonPaste", "ToolButtonMirror", "ToolButtonInvert",
          "ToolButtonZoomSelection"})
        if (auto *button = findChild<QToolButton *>(name))
            button->setEnabled(!individual);
    if (individual)
        ToolButtonCursorArrow->setEnabled(true);
    for (QToolButton *button : {ToolButtonAdjustPipes, ToolButtonAdjustNodes})
        if (button)
            button->setEnabled(true);
    for (QToolButton *button : {ToolButtonEditGrid, ToolButtonIsometric, ToolButtonClosePipe})
        if (button)
            button->setEnabled(false);

    NetworkImage->setCursor(Qt::ArrowCursor);
    showToolCursorImage(0);
    DrawingObject = DrawingSelection;
    NetworkStates.DrawingObject = DrawingSelection;
    StatusBarHintColor = Yellow;
    StatusBar1->SetPanelText(
        2, " SELECTION MODE - Left Click and drag to move the selection. Right Click to release.");
    UpdatePanelResultsKey();
    UpdatePanelResultsColorKey();
    PanelResultsKey->hide();
    PanelResultsColorKey->hide();
    RefreshScreen(true);
}

// --- keys ---------------------------------------------------------------------------

void TNetworkForm::UpdatePanelResultsKey()
{
    if (!LabelResultsKey || !CurrentNetwork)
        return;
    setTextColour(LabelresultsKeyTitle, QPalette::HighlightedText);
    const TConfigOptions &o = CurrentNetwork->ConfigOptions;
    std::string key;
    if (o.ShowPipeFlowRate)
        key = "f = flow in " + unitPlainName(o.UnitOfFlow);
    if (o.ShowPipeMassFlowRate)
        key = "mf = flow in " + unitPlainName(o.UnitOfMassFlow);
    if (o.ShowPipeGasFlowRate)
        key = "gf = flow in " + unitPlainName(o.UnitOfGasFlow);
    if (o.ShowPipeVelocity)
        key = "v = velocity in " + unitPlainName(o.UnitOfVelocity);
    if (o.ShowPipePressureLoss)
        key = "dP = pressure drop in " + unitPlainName(o.UnitOfPressureLoss);
    if (!key.empty())
        LabelResultsKey->setText(QString::fromStdString(key));
}

void TNetworkForm::UpdatePanelResultsColorKey()
{
    if (!LabelColorKeyTitle || !CurrentNetwork)
        return;
    setTextColour(LabelColorKeyTitle, QPalette::HighlightedText);
    if (!ResultsMode) {
        PanelResultsColorKey->hide();
        return;
    }
    QImage image(ImageResultsColors->size(), QImage::Format_RGB32);
    DrawResultsColorKey(image, 7, 0x000000, 0x808080, 3);
    ImageResultsColors->setPixmap(QPixmap::fromImage(image));
    LabelColorKeyTitle->setText(QString::fromStdString(keyValues(*CurrentNetwork).Title));
    PanelResultsColorKey->setVisible(CurrentNetwork->ConfigOptions.UseResultsColors);
    if (PanelResultsColorKey->isVisible())
        PanelResultsColorKey->raise();
}

void TNetworkForm::DrawResultsColorKey(QImage &Image, int TextSize, TColor TextColor, TColor AxisColor,
                                       int TickLength)
{
    if (Image.isNull() || !CurrentNetwork)
        return;
    const TKeyValues k = keyValues(*CurrentNetwork);
    const TConfigOptions &o = CurrentNetwork->ConfigOptions;
    const int W = Image.width();
    const int H = Image.height();
    const int w = W - 50;
    const int yMid = static_cast<int>(std::trunc((H - 4) / 2.0));
    TQtCanvas canvas(&Image);
    DrawStyledRectangle(canvas, 0, 0, W, H, 0xFFFFFF, TPenStyle::psSolid, TBrushStyle::bsSolid);
    int x = 25, width = w;
    colouredPart(k, 25, w, x, width);
    DrawThreeColorGradientBar(canvas, x, 0, width, yMid, o.ResultsColor1, o.ResultsColor2, o.ResultsColor3);
    DrawColorKeyScale(canvas, 25, yMid, w + 26, yMid, k.AxisMin, k.AxisMax,
                      k.Item == ResultsPipeReynoldsNumber ? 0 : 1, 5, "", 0, AxisColor, AxisColor, TickLength,
                      TextColor, TextSize, true);
}

int TNetworkForm::ColorKeyDecimals(TResultsColorItemEnum Item, double AxisMax)
{
    if (Item == ResultsPipeReynoldsNumber || AxisMax >= 1000)
        return 0;
    if (AxisMax >= 100)
        return 1;
    if (AxisMax >= 10)
        return 2;
    if (AxisMax >= 1)
        return 3;
    return 4;
}

void TNetworkForm::UpdateResultsColorKeyOnCanvas(TCanvas &Canvas, int X1, int Y1, int X2, int Y2, int TextSize,
                                                 TColor TextColor, TColor AxisColor, int TickLength)
{
    if (!CurrentNetwork)
        return;
    const TKeyValues k = keyValues(*CurrentNetwork);
    const TConfigOptions &o = CurrentNetwork->ConfigOptions;
    DrawStyledRectangle(Canvas, X1, Y1, X2, Y2, 0x000000, TPenStyle::psSolid, TBrushStyle::bsClear);
    const int m = std::max(40, static_cast<int>(std::trunc((X2 - X1) * 0.1)));
    const int left = X1 + m;
    const int w = (X2 - m) - left;
    const int yMid = static_cast<int>(std::trunc((Y2 - Y1) / 2.0));
    int x = left, width = w;
    colouredPart(k, left, w, x, width);
    DrawThreeColorGradientBar(Canvas, x, Y1 + 4, width, yMid, o.ResultsColor1, o.ResultsColor2, o.ResultsColor3);
    DrawColorKeyScale(Canvas, left, yMid, left + w, yMid, k.AxisMin, k.AxisMax, ColorKeyDecimals(k.Item, k.AxisMax),
                      5, "", 0, AxisColor, AxisColor, TickLength, TextColor, TextSize, true);
    Canvas.Pen.Color = 0x000000;
    Canvas.Pen.Width = 1;
    DrawCanvasText(Canvas, left + 4, Y1 + 4, k.Title, 0x000000, TextSize);
}

namespace {

void redrawAfterKeyChange(TNetworkForm &form)
{
    form.UpdatePanelResultsKey();
    form.UpdatePanelResultsColorKey();
    form.MetaFileDrawing->DrawMetaFileFromNetwork(*form.CurrentNetwork, form.NetworkStates, form.ResultsMode, true,
                                                  false, 0, true);
    form.DrawNetworkImageFromMetaFileAutomatic(form.MetaFileOffsetX, form.MetaFileOffsetY);
    form.NetworkImage->repaint();
}

} // namespace

// The ends of the coloured range move in steps of a twentieth of the scale;
// each stays on the scale and a step away from the other end.
void TNetworkForm::Button2Click()
{
    TConfigOptions &o = CurrentNetwork->ConfigOptions;
    const double step = 0.05 * (o.ResultsColorItemAxisMaxValue - o.ResultsColorItemAxisMinValue);
    o.ResultsColorItemMinValue = std::max(o.ResultsColorItemMinValue - step, o.ResultsColorItemAxisMinValue);
    redrawAfterKeyChange(*this);
}

void TNetworkForm::Button1Click()
{
    TConfigOptions &o = CurrentNetwork->ConfigOptions;
    const double step = 0.05 * (o.ResultsColorItemAxisMaxValue - o.ResultsColorItemAxisMinValue);
    const double limit =
        std::min(o.ResultsColorItemAxisMaxValue - step, o.ResultsColorItemMaxValue - step);
    const double raised = std::min(o.ResultsColorItemMinValue + step, limit);
    o.ResultsColorItemMinValue = std::max(o.ResultsColorItemMinValue, raised);
    redrawAfterKeyChange(*this);
}

void TNetworkForm::Button3Click()
{
    TConfigOptions &o = CurrentNetwork->ConfigOptions;
    const double step = 0.05 * (o.ResultsColorItemAxisMaxValue - o.ResultsColorItemAxisMinValue);
    const double limit =
        std::max(o.ResultsColorItemAxisMinValue + step, o.ResultsColorItemMinValue + step);
    const double lowered = std::max(o.ResultsColorItemMaxValue - step, limit);
    o.ResultsColorItemMaxValue = std::min(o.ResultsColorItemMaxValue, lowered);
    redrawAfterKeyChange(*this);
}

void TNetworkForm::Button4Click()
{
    TConfigOptions &o = CurrentNetwork->ConfigOptions;
    const double step = 0.05 * (o.ResultsColorItemAxisMaxValue - o.ResultsColorItemAxisMinValue);
    o.ResultsColorItemMaxValue = std::min(o.ResultsColorItemMaxValue + step, o.ResultsColorItemAxisMaxValue);
    redrawAfterKeyChange(*this);
}

void TNetworkForm::ResultsColorsSelect()
{
    NetworkStates.SystemUpdatedSinceLoad = true;
    OpenConfigForm(ConfigResults, CurrentNetwork->ConfigOptions, *CurrentNetwork, ResultsMode, false);
    StatusBarShowCalculationEngine();
    UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    redrawAfterKeyChange(*this);
    ResultsSheetShowSelected();
}

void TNetworkForm::BitBtnResultsTableClick()
{
    if (!ResultsMode)
        return;
    ShowResultsSheet();
    QThread::msleep(300);
    RefreshScreen(true);
}

// --- hover panel --------------------------------------------------------------------

namespace {

void fillHoverPanel(TNetworkForm &form, const std::string &title, const std::string &text)
{
    form.LabelInfoTitle->setText(QString::fromStdString(title));
    form.LabelInfo1->setText(QString::fromStdString(text).replace('\r', '\n'));
    const int width = form.LabelInfo1->width();
    form.LabelInfo1->resize(width, std::max(16, form.LabelInfo1->heightForWidth(width)));
}

} // namespace

void TNetworkForm::UpdatePanelResultNodeInfo(int NodeId)
{
    fillHoverPanel(*this, "   Node " + std::to_string(NodeId) + " (" + CurrentNetwork->GetNode(NodeId).Name + ")",
                   CurrentNetwork->PopulateStringNodeResultsInfo(NodeId, ResultsMode));
}

void TNetworkForm::UpdatePanelResultPipeInfo(int PipeId)
{
    fillHoverPanel(*this, "   Pipe " + std::to_string(PipeId) + " (" + CurrentNetwork->GetPipe(PipeId).Name + ")",
                   CurrentNetwork->PopulateStringPipeResultsInfo(PipeId, ResultsMode));
}

// --- item results in the status bar -------------------------------------------------

namespace {

// Runs a composer of the status text; a failure blanks the panel.
template <typename Compose> void showItemText(TNetworkForm &form, Compose compose, bool blankGrid = false)
{
    try {
        const std::string text = compose();
        form.StatusBar1->SetPanelText(2, QString::fromStdString(text));
    } catch (const std::exception &) {
        form.StatusBar1->SetPanelText(2, " ");
        if (blankGrid)
            form.StatusBar1->SetPanelText(1, " ");
    }
    form.StatusBar1->repaint();
}

} // namespace

void TNetworkForm::StatusBarShowPipe(int PipeId)
{
    StatusBarHintColor = StatusBarDefaultColor;
    StatusBar1->SetPanelText(2, " ");
    if (PipeId <= 0 || !CurrentNetwork) {
        StatusBar1->repaint();
        return;
    }
    showItemText(
        *this,
        [&]() -> std::string {
            const TNetwork &net = *CurrentNetwork;
            const std::string id = std::to_string(PipeId);
            if (net.IsPipeClosed(PipeId))
                return " Pipe " + id + " is closed.";
            StatusBarHintColor = Yellow;
            const TConfigOptions &o = net.ConfigOptions;
            const TPipe &pipe = net.GetPipe(PipeId);
            const TFluid &fluid = zoneFluid(net, pipe.FluidZoneIndex);
            int from = 0, to = 0;
            net.GetFromAndToNodeIds(PipeId, from, to);
            const double dp = net.GetNode(from).Pressure_Bar_g - net.GetNode(to).Pressure_Bar_g;
            std::string text = " Pipe " + id + ", " + pipe.Name + ", dP " +
                               convertPressureAndFormat(unt_Bar_G, o.UnitOfPressure, dp, 0, fluid.density_kgs_m3) +
                               " " + unitPlainName(o.UnitOfPressure) + " ";
            if (!fluid.FluidIsGas)
                text += "(" +
                        convertPressureAndFormat(unt_Bar_G, o.UnitOfPressureLoss, dp, 0, fluid.density_kgs_m3) +
                        " " + unitName(o.UnitOfPressureLoss) + ") ";
            text += "at Flow ";
            if (!fluid.FluidIsGas) {
                text += flowPart(net, pipe) + ", Velocity " +
                        convertAndFormat(unt_m_Sec, o.UnitOfVelocity, pipe.Velocity_ms) + " " +
                        unitName(o.UnitOfVelocity);
            } else if (pipe.FlowUncompressed_m3s * fluid.density_kgs_m3 > 0) {
                double entry = 0, exit = 0, exitFlow = 0;
                net.GetGasFlowEntryAndExitVelocity_ms(PipeId, entry, exit, exitFlow);
                const std::string gas = flowPart(net, pipe);
                text += gas.substr(0, gas.size() - 1) + "), " + "vEntry " +
                        convertAndFormat(unt_m_Sec, o.UnitOfVelocity, entry) + " " + unitName(o.UnitOfVelocity) +
                        ", " + "vExit " + convertAndFormat(unt_m_Sec, o.UnitOfVelocity, exit) + " " +
                        unitName(o.UnitOfVelocity);
            }
            return text;
        },
        true);
}

void TNetworkForm::StatusBarShowNode(int NodeId)
{
    if (NodeId <= 0 || !CurrentNetwork)
        return;
    showItemText(*this, [&]() -> std::string {
        const TNetwork &net = *CurrentNetwork;
        const TConfigOptions &o = net.ConfigOptions;
        const TNode &node = net.GetNode(NodeId);
        const TFluid &fluid = zoneFluid(net, net.GetNodeFluidZoneIndex(NodeId));
        std::string text = " Node " + std::to_string(NodeId) + ", " + node.Name + ", ";
        switch (node.NodeType) {
        case Joint: text += "Join Point, "; break;
        case Tank: text += "Tank, "; break;
        case EndPressure: text += "Demand Pressure, "; break;
        default: break;
        }
        return text +
               convertPressureAndFormat(unt_Bar_G, o.UnitOfPressure, node.Pressure_Bar_g, o.Atmosphere_bar_a,
                                        fluid.density_kgs_m3) +
               " " + unitName(o.UnitOfPressure) + " at " + convertAndFormat(unt_m, o.UnitOfElevation, node.Elevation_m) +
               unitName(o.UnitOfElevation) + " elevation";
    });
}

namespace {
// A pressure loss across an item of a pipe, in the surface-pressure unit
// with its name, for the pipe's own fluid.
std::string pipeLossText(const TNetwork &net, const TPipe &pipe, double mHd)
{
    const TConfigOptions &o = net.ConfigOptions;
    return convertPressureAndFormat(unt_m_hd_fluid, o.UnitOfSurfacePressure, mHd, o.Atmosphere_bar_a,
                                    zoneFluid(net, pipe.FluidZoneIndex).density_kgs_m3) +
           " " + unitPlainName(o.UnitOfSurfacePressure);
}
} // namespace

void TNetworkForm::StatusBarShowPump(int PipeId)
{
    if (PipeId <= 0 || !ResultsMode || !CurrentNetwork)
        return;
    showItemText(*this, [&]() -> std::string {
        const TNetwork &net = *CurrentNetwork;
        const TConfigOptions &o = net.ConfigOptions;
        const TPipe &pipe = net.GetPipe(PipeId);
        const double density = zoneFluid(net, pipe.FluidZoneIndex).density_kgs_m3;
        const double atmosphere = o.Atmosphere_bar_a;
        auto head = [&](double mHd, TUnit unit) {
            return convertPressureAndFormat(unt_m_hd_fluid, unit, mHd, atmosphere, density);
        };
        const std::string name = (" " + pipe.Pump.Name).substr(0, 21);
        std::string text = name + ", Flow " + flowPart(net, pipe) + ", Head " +
                           head(pipe.Pump_mHd_Fluid, o.UnitOfPressureLoss) + " " + unitPlainName(o.UnitOfPressureLoss) +
                           ", Suction Pressure " + head(net.GetPumpSuctionPressure_mFluid(PipeId), o.UnitOfPressure) +
                           " " + unitName(o.UnitOfPressure) + ", NPSHa " +
                           head(net.GetPumpNPSHa_mFluid(PipeId), o.UnitOfPressureLoss) + " " +
                           unitPlainName(o.UnitOfPressureLoss);
        const double npshr = pipe.Pump.calcPumpNPSHr_mHd_Fluid(pipe.FlowUncompressed_m3s, density);
        if (npshr > 0)
            text += ", NSPHr " + head(npshr, o.UnitOfPressureLoss) + " " + unitPlainName(o.UnitOfPressureLoss);
        return text;
    });
}

void TNetworkForm::StatusBarShowFitting(int PipeId)
{
    if (PipeId <= 0 || !CurrentNetwork)
        return;
    showItemText(*this, [&]() -> std::string {
        const TNetwork &net = *CurrentNetwork;
        const TPipe &pipe = net.GetPipe(PipeId);
        return " Pipe " + std::to_string(PipeId) +
               ", Entry Fittings Loss = " + pipeLossText(net, pipe, pipe.EntryFittingsLoss_mHd_Fluid) +
               ", Exit Fittings Loss = " + pipeLossText(net, pipe, pipe.ExitFittingsLoss_mHd_Fluid);
    });
}

void TNetworkForm::StatusBarShowComponent(int PipeId)
{
    if (PipeId <= 0 || !CurrentNetwork)
        return;
    showItemText(*this, [&]() -> std::string {
        const TNetwork &net = *CurrentNetwork;
        const TPipe &pipe = net.GetPipe(PipeId);
        return " Component on Pipe " + std::to_string(PipeId) + ", " + pipe.ComponentPressure.Name + ", dP " +
               pipeLossText(net, pipe, pipe.ComponentPressureLoss_mHd_Fluid);
    });
}

void TNetworkForm::StatusBarShowFlowControl(int PipeId)
{
    if (PipeId <= 0 || !CurrentNetwork)
        return;
    showItemText(*this, [&]() -> std::string {
        const TNetwork &net = *CurrentNetwork;
        const TConfigOptions &o = net.ConfigOptions;
        const TPipe &pipe = net.GetPipe(PipeId);
        const TFlowControl &valve = pipe.FlowControl;
        const std::string id = std::to_string(PipeId);
        std::string text;
        if (valve.ControlType == FCV) {
            text = "Flow Control on Pipe " + id + ", " + valve.Name + ", ";
        } else {
            text = std::string(valve.ControlType == PRV ? " PRV @ " : " BPV @ ") +
                   convertUnitToString(unt_Bar_G, o.UnitOfSurfacePressure, unitDecimals(o.UnitOfSurfacePressure),
                                       valve.RegulatedPressure_Bar_g) +
                   unitName(o.UnitOfSurfacePressure) + " on Pipe " + id + ", " + valve.Name + ", ";
        }
        return text + "Valve dP " + pipeLossText(net, pipe, pipe.FlowControlLoss_mHd_Fluid) + ", Flow " +
               flowPart(net, pipe);
    });
}

} // namespace tessaran
