// Fluid zones: the zone box and its information panel, the fluid pop-up
// menu and the "Fluid" menu, the pipe menu's "Change Fluid Zone" items and
// the zone display the rest of the window refreshes.
#include "app/NetworkForm.h"

#include "app/Status_Bar.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "units/Unit_Format.h"
#include "units/Units.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <utility>

namespace tessaran {

namespace {

// Lets a handler of the window see one widget's events.
class TEventHook : public QObject {
public:
    TEventHook(QObject *owner, std::function<bool(QEvent *)> handler) : QObject(owner), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override { return handler_(event); }

private:
    std::function<bool(QEvent *)> handler_;
};

// The zone box's entries are drawn by the window.
class TZoneItemDelegate : public QStyledItemDelegate {
public:
    TZoneItemDelegate(QObject *parent, std::function<void(QPainter &, int, const QRect &)> draw)
        : QStyledItemDelegate(parent), draw_(std::move(draw))
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        draw_(*painter, index.row(), option.rect);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(0, 18));
    }

private:
    std::function<void(QPainter &, int, const QRect &)> draw_;
};

TColor fromQColor(const QColor &colour)
{
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}

QString displayText(const std::string &text)
{
    return DialogDisplayText(QString::fromStdString(text));
}

} // namespace

void TNetworkForm::createFluidCommands()
{
    auto item = [this](QMenu *menu, const char *name, const char *text, void (TNetworkForm::*click)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, click);
        return action;
    };

    PopupMenuFluids = new QMenu(this);
    PopupMenuFluids->setObjectName("PopupMenuFluids");
    item(PopupMenuFluids, "EditCurrentFluid1", "Change Fluid", &TNetworkForm::EditCurrentFluid1Click);
    item(PopupMenuFluids, "AddFluidNewZone1", "Create New Fluid Zone", &TNetworkForm::CreateNewFluidZone1Click);
    item(PopupMenuFluids, "DeleteCurrentFluid1", "Delete Current Fluid Zone",
         &TNetworkForm::DeleteCurrentFluidZone1Click);
    item(PopupMenuFluids, "ChangeColorofthisZone1", "Change Color for this Fluid Zone",
         &TNetworkForm::ChangeColorforthisFluid1Click);
    item(PopupMenuFluids, "SelectFluidZoneArea1", "Select / Add Pipes to this Fluid Zone",
         &TNetworkForm::SelectAddPipestothisFluidZone1Click);
    item(PopupMenuFluids, "OnOffShowColorforthisFluidZone2", "On / Off  Show Colors for Fluid Zones",
         &TNetworkForm::OnOffShowColorforthisFluidZone1Click);
    item(PopupMenuFluids, "ResetFluidZonestoDefaultColors1", "Reset Fluid Zones to Default Colors",
         &TNetworkForm::ResetFluidZonestoDefaultColors1Click);
    PopupMenuFluids->addSeparator();
    PopupMenuFluids->addAction("Close")->setObjectName("CloseFluidMenu1");

    Fluid1 = new QMenu("Fluid", this);
    Fluid1->setObjectName("Fluid1");
    QAction *before = nullptr;
    for (QAction *action : menuBar()->actions())
        if (action->menu() && (action->menu()->objectName() == "Tools1" || action->menu()->objectName() == "Help1")) {
            before = action;
            break;
        }
    menuBar()->insertMenu(before, Fluid1);
    item(Fluid1, "ChangeFluid1", "Change Fluid", &TNetworkForm::ChangeFluid1Click);
    item(Fluid1, "CreateNewFluidZone1", "Create New Fluid Zone", &TNetworkForm::CreateNewFluidZone1Click);
    item(Fluid1, "DeleteCurrentFluidZone1", "Delete Current Fluid Zone", &TNetworkForm::DeleteCurrentFluidZone1Click);
    item(Fluid1, "ChangeColorforthisFluid1", "Change Color for this Fluid Zone",
         &TNetworkForm::ChangeColorforthisFluid1Click);
    item(Fluid1, "SelectAddPipestothisFluidZone1", "Select / Add Pipes to this Fluid Zone",
         &TNetworkForm::SelectAddPipestothisFluidZone1Click);
    item(Fluid1, "OnOffShowColorforthisFluidZone1", "On / Off  Show Colors for Fluid Zones",
         &TNetworkForm::OnOffShowColorforthisFluidZone1Click);
    item(Fluid1, "ResetFluidZonestoDefaultColors2", "Reset Fluid Zones to Default Colors",
         &TNetworkForm::ResetFluidZonestoDefaultColors1Click);

    // The fluid button and its box beside the zone box.
    EditFluid = new QLineEdit(LeftPanel1);
    EditFluid->setObjectName("EditFluid");
    EditFluid->setReadOnly(true);
    EditFluid->setGeometry(4, 694, 150, 22);
    BitBtnFluid = new QPushButton("Fluid", LeftPanel1);
    BitBtnFluid->setObjectName("BitBtnFluid");
    BitBtnFluid->setToolTip("Change Fluid");
    BitBtnFluid->setGeometry(156, 694, 42, 22);
    connect(BitBtnFluid, &QPushButton::clicked, this, &TNetworkForm::BitBtnFluidClick);
    BitBtnFluid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(BitBtnFluid, &QWidget::customContextMenuRequested, this, &TNetworkForm::BitBtnFluidClick);
    // A click, a key or a right click on the box opens the menu; keys are not typed.
    EditFluid->installEventFilter(new TEventHook(EditFluid, [this](QEvent *event) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::ContextMenu:
            QTimer::singleShot(0, this, &TNetworkForm::BitBtnFluidClick);
            return true;
        default: return false;
        }
    }));

    ComboBoxFluidZone->setItemDelegate(new TZoneItemDelegate(
        ComboBoxFluidZone, [this](QPainter &painter, int index, const QRect &rect) {
            ComboBoxFluidZoneDrawItem(painter, index, rect);
        }));
    // The zone texts are wider than the box.
    ComboBoxFluidZone->view()->setMinimumWidth(360);
    connect(ComboBoxFluidZone, &QComboBox::activated, this, &TNetworkForm::ComboBoxFluidZoneClick);
    ComboBoxFluidZone->installEventFilter(new TEventHook(ComboBoxFluidZone, [this](QEvent *event) {
        switch (event->type()) {
        case QEvent::Enter: ComboBoxFluidZoneMouseEnter(); return false;
        case QEvent::Leave: ComboBoxFluidZoneMouseLeave(); return false;
        case QEvent::KeyPress: return true;
        case QEvent::ContextMenu:
            event->accept();
            BitBtnFluidClick();
            return true;
        default: return false;
        }
    }));

    // The pipe menu's zone items.
    ChangeFluidZone1 = PopupMenu1 ? PopupMenu1->findChild<QMenu *>("ChangeFluidZone1") : nullptr;
    if (ChangeFluidZone1) {
        for (int zone = 1; zone <= TNetwork::MaxFluidZones; ++zone) {
            QAction *action = ChangeFluidZone1->addAction("Fluid Zone " + QString::number(zone));
            action->setObjectName("FluidZone" + QString::number(zone));
            connect(action, &QAction::triggered, this, [this, zone] { FluidZoneClick(zone); });
            FluidZoneItems[static_cast<std::size_t>(zone)] = action;
        }
        connect(ChangeFluidZone1, &QMenu::aboutToShow, this, &TNetworkForm::ChangeFluidZone1Click);
    }
}

// --- the zone box ---------------------------------------------------------------------

std::string TNetworkForm::FluidZoneText(int Zone) const
{
    const TNetwork &n = *CurrentNetwork;
    if (Zone < 1 || Zone > TNetwork::MaxFluidZones)
        return "";
    const TConfigOptions &o = n.ConfigOptions;
    const TFluid &fluid = n.FluidZones[static_cast<std::size_t>(Zone)].Fluid;
    const double pressure = convertPressure(unt_Bar_G, o.UnitOfSurfacePressure, fluid.pressure_bar_g,
                                            o.Atmosphere_bar_a, fluid.density_kgs_m3);
    return "Zone " + std::to_string(Zone) + ": " + fluid.name + " [" +
           convertAndFormat(unt_kg_m3, o.UnitOfDensity, fluid.density_kgs_m3) + " " + unitName(o.UnitOfDensity) +
           " at " + formatFixed(1, pressure) + unitName(o.UnitOfSurfacePressure) + ", " +
           convertUnitToString(unt_degrees_K, o.UnitOfTemperature, 0, fluid.degrees_K) +
           unitName(o.UnitOfTemperature) + "]";
}

void TNetworkForm::UpdateFluidDisplay(bool UseCurrentPipeIdSelected)
{
    TNetwork &n = *CurrentNetwork;
    const int pipeId = NetworkStates.CurrentPipeIdSelected;
    if (UseCurrentPipeIdSelected && pipeId > 0) {
        const int zone = n.GetPipe(pipeId).FluidZoneIndex;
        if (zone >= 1 && zone <= n.FluidZonesCount)
            n.CurrentFluidZone = zone;
    }
    if (n.CurrentFluidZone < 1 || n.CurrentFluidZone > n.FluidZonesCount)
        n.CurrentFluidZone = 1;
    const TFluidZone &current = n.FluidZones[static_cast<std::size_t>(n.CurrentFluidZone)];
    {
        const QSignalBlocker blocker(ComboBoxFluidZone);
        ComboBoxFluidZone->clear();
        for (int zone = 1; zone <= n.FluidZonesCount; ++zone)
            ComboBoxFluidZone->addItem("Fluid Zone " + QString::number(zone));
        ComboBoxFluidZone->setCurrentIndex(n.CurrentFluidZone - 1);
    }
    QPalette palette = ComboBoxFluidZone->palette();
    palette.setColor(QPalette::Button, ToQColor(current.Color));
    palette.setColor(QPalette::Base, ToQColor(current.Color));
    ComboBoxFluidZone->setPalette(palette);
    ComboBoxFluidZone->repaint();
    if (EditFluid)
        EditFluid->setText(QString::fromStdString(current.Fluid.name));
}

void TNetworkForm::ComboBoxFluidZoneDrawItem(QPainter &Painter, int Index, const QRect &Rect)
{
    const int zone = Index + 1;
    if (zone < 1 || zone > TNetwork::MaxFluidZones)
        return;
    const QColor colour = ToQColor(CurrentNetwork->FluidZones[static_cast<std::size_t>(zone)].Color);
    Painter.setPen(QPen(colour, 1));
    Painter.setBrush(colour);
    Painter.drawRect(Rect.adjusted(0, 0, -1, -1));
    Painter.setPen(Qt::black);
    Painter.setBrush(Qt::NoBrush);
    Painter.drawText(Rect.adjusted(0, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(FluidZoneText(zone)));
}

void TNetworkForm::ComboBoxFluidZoneClick(int Index)
{
    TNetwork &n = *CurrentNetwork;
    TNetworkStates &s = NetworkStates;
    n.CurrentFluidZone = Index + 1;
    UpdateFluidDisplay(false);
    if (ResultsMode) {
        s.CurrentPipeIdSelected = 0;
    } else if (s.CurrentPipeIdSelected > 0) {
        if (ask("Do you wish to change the current highlighted pipe to use this fluid zone?\r"))
            n.GetPipe(s.CurrentPipeIdSelected).FluidZoneIndex = n.CurrentFluidZone;
        else
            s.CurrentPipeIdSelected = s.PipeIdClick1 = s.PipeIdClick2 = 0;
    }
    UpdateFluidDisplay(true);
    RefreshScreen(true);
}

void TNetworkForm::ComboBoxFluidZoneMouseEnter()
{
    const int zone = ComboBoxFluidZone->currentIndex() + 1;
    if (zone < 1 || zone > CurrentNetwork->FluidZonesCount)
        return;
    PanelResultInfo->move(0, 0);
    QPalette palette = PanelResultInfo->palette();
    palette.setColor(QPalette::Window, ToQColor(CurrentNetwork->FluidZones[static_cast<std::size_t>(zone)].Color));
    PanelResultInfo->setPalette(palette);
    PanelResultInfo->setAutoFillBackground(true);
    LabelInfoTitle->setText("  Fluid Data");
    LabelInfo1->setText(displayText(CurrentNetwork->PopulateStringFluidInfo(zone, ResultsMode)));
    LabelInfo1->adjustSize();
    PanelResultInfo->resize(std::max(PanelResultInfo->width(), LabelInfo1->x() + LabelInfo1->width() + 4),
                            LabelInfo1->height() + 20);
    PanelResultInfo->show();
    PanelResultInfo->raise();
}

void TNetworkForm::ComboBoxFluidZoneMouseLeave()
{
    PanelResultInfo->hide();
    QPalette palette = PanelResultInfo->palette();
    palette.setColor(QPalette::Window, Qt::white);
    PanelResultInfo->setPalette(palette);
}

// --- the fluid menu --------------------------------------------------------------------

void TNetworkForm::BitBtnFluidClick()
{
    NetworkStates.SystemUpdatedSinceLoad = true;
    ExecPopupMenu(*PopupMenuFluids, QPoint(x() + BitBtnFluid->width() + 2, y() + 103));
}

void TNetworkForm::ChangeFluid1Click()
{
    TNetwork &n = *CurrentNetwork;
    FluidChanged = false;
    if (ResultsMode) {
        info("Fluid Data cannot be changed in results mode.");
        return;
    }
    const bool metric = n.ConfigOptions.UnitOfDiameter == unt_m || n.ConfigOptions.UnitOfDiameter == unt_mm;
    TFluid &fluid = n.FluidZones[static_cast<std::size_t>(n.CurrentFluidZone)].Fluid;
    if (ItemDialogs)
        FluidChanged = ItemDialogs->OpenFluidDataManager(fluid, metric, ResultsMode);
    if (FluidChanged) {
        n.SetAllDemandFlowsMasterUnitToUseGasFlowUnitIfCurrentlyGasAndUseVolumetricFlowUnit();
        n.SetAllDemandFlowsMasterUnitToUseMassFlowUnitIfCurrentlyLiquidAndUseGasFlowUnit();
        n.SetAllComponentEquivalentMassFlowRates();
        n.SetAllFlowControlEquivalentMassFlowRates();
        n.SetAllPumpAtSetFlowRateEquivalentMassFlowRates();
    } else if (CreatingFluidZone && n.CurrentFluidZone > 1) {
        // The zone being created is the last one: withdraw it.
        n.CurrentFluidZone = 1;
        --n.FluidZonesCount;
        RefillFluidZoneList();
        UpdateFluidDisplay(true);
    }
    UpdateFluidDisplay(false);
}

void TNetworkForm::EditCurrentFluid1Click()
{
    CreatingFluidZone = false;
    ChangeFluid1Click();
    UpdateFluidDisplay(true);
    CurrentNetwork->SetAllTankLiquidLevelsEqualZeroWhereFluidIsGas();
    EditFluid->setFocus();
    RefreshScreen(true);
}

void TNetworkForm::CreateNewFluidZone1Click()
{
    TNetwork &n = *CurrentNetwork;
    TNetworkStates &s = NetworkStates;
    if (ResultsMode) {
        info("New Fluid Zones cannot be created in results mode.");
        return;
    }
    if (n.FluidZonesCount >= TNetwork::MaxFluidZones) {
        info("A maximum of " + std::to_string(TNetwork::MaxFluidZones) + " Fluid Zones are allowed." + "\r\r" + " ");
        return;
    }
    if (!ask("Do you wish to create a new Fluid Zone within your pipe system?\r\rYou will need to select a fluid for "
             "the new fluid zone.\r\rYou will then need to select any pipes that are to be associated with the fluid "
             "in this zone.\r\rChoose Yes to proceed and Open up the Fluid Manager to select the fluid for the new "
             "fluid zone.\r"))
        return;
    ++n.FluidZonesCount;
    n.FluidZones[static_cast<std::size_t>(n.FluidZonesCount)].Fluid.SetToWater();
    n.CurrentFluidZone = n.FluidZonesCount;
    RefillFluidZoneList();
    UpdateFluidDisplay(false);

    CreatingFluidZone = true;
    ChangeFluid1Click();
    CreatingFluidZone = false;

    UpdateFluidDisplay(false);
    if (s.CurrentPipeIdSelected > 0 && FluidChanged) {
        if (ask("Do you wish to change the current highlighted pipe to use the new fluid zone?\r"))
            n.GetPipe(s.CurrentPipeIdSelected).FluidZoneIndex = n.CurrentFluidZone;
        else
            s.CurrentPipeIdSelected = s.PipeIdClick1 = s.PipeIdClick2 = 0;
    }
    UpdateFluidDisplay(true);
    RefreshScreen(true);
}

void TNetworkForm::DeleteCurrentFluidZone1Click()
{
    TNetwork &n = *CurrentNetwork;
    if (ResultsMode) {
        info("Fluid Zones cannot be deleted in results mode.");
        return;
    }
    const int zone = n.CurrentFluidZone;
    if (zone <= 1) {
        info("Fluid Zone 1 cannot be deleted since it is always the default zone.\r\r ");
    } else if (ask("Please confirm that you wish to delete Fluid Zone " + std::to_string(zone) + "\r\r" +
                   "All pipes in the deleted fluid zone will be updated to be use the fluid from Fluid Zone 1." +
                   "\r\r" + "All remaining Fluid Zones will be renumbered starting from Fluid Zone 1" + "\r\r" +
                   "Choose Yes to proceed or No to cancel." + "\r")) {
        n.UpdateFluidZoneInPipes(zone, 1);
        n.DeleteFluidZone(zone);
        RefillFluidZoneList();
        UpdateFluidDisplay(true);
    }
    RefreshScreen(true);
}

void TNetworkForm::ChangeColorforthisFluid1Click()
{
    TNetwork &n = *CurrentNetwork;
    if (n.CurrentFluidZone <= 1) {
        info("The color of Fluid Zone 1 cannot be changed.\r\rFluid Zone 1 is the default zone and pipes in this "
             "zone are not background highlighted.\r\r ");
    } else {
        TFluidZone &zone = n.FluidZones[static_cast<std::size_t>(n.CurrentFluidZone)];
        if (const std::optional<QColor> chosen = Dialogs().ChooseColour(ToQColor(zone.Color), this))
            zone.Color = fromQColor(*chosen);
    }
    UpdateFluidDisplay(true);
    RefreshScreen(true);
}

void TNetworkForm::SelectAddPipestothisFluidZone1Click()
{
    TNetworkStates &s = NetworkStates;
    if (ResultsMode) {
        info("Pipe Fluid Zones cannot be changed in results mode.");
        return;
    }
    if (CurrentNetwork->FluidZonesCount <= 1) {
        info("Only the default Fluid Zones exists.\r\rAll pipes are already associated with default fluid zone.\r");
        return;
    }
    // Entering selection mode redraws the panels, which would make the
    // highlighted pipe's zone current: the zone the command is for stays.
    const int zone = CurrentNetwork->CurrentFluidZone;
    SetSelectionMode();
    CurrentNetwork->CurrentFluidZone = zone;
    // The placing tools wait while the rectangle is drawn; the arrow tool,
    // which the rectangle's release chooses, gives them back.
    for (QToolButton *button :
         {ToolButtonHand1, ToolButtonTank1, ToolButtonPipeAdd1, ToolButtonJoint1, ToolButtonPumpAdd1,
          ToolButtonFittingsAdd, ToolButtonComponentPressureLossAdd, ToolButtonFlowControlAdd, ToolButtonDragNode,
          ToolButtonSelection, ToolButtonSelection2, ToolButtonDemandPressure, ToolButtonDemandFlow, ToolButtonText,
          ToolButtonClosePipe}) {
        button->setChecked(false);
        button->setEnabled(false);
    }
    for (QAction *command : {Cut1, Copy1, Paste1, SelectionMirror1, SelectionInvert1, Delete1})
        command->setEnabled(false);
    for (QToolButton *button : {ToolButtonAdjustPipes, ToolButtonAdjustNodes,
                                findChild<QToolButton *>("ToolButtonZoomSelection"),
                                findChild<QToolButton *>("ToolButtonDelete")})
        if (button)
            button->setEnabled(false);
    ToolButtonCursorArrow->setChecked(false);
    ToolButtonCursorArrow->setEnabled(true);
    showToolCursorImage(1);
    NetworkImage->setCursor(Cursors[15]);
    StatusBar1->SetPanelText(2, " Define New Fluid Zone: Left click and hold down while dragging to draw a rectangle "
                                "defining the new fluid zone.");
    flashStatusBarHint();
    DrawingObject = DrawingFluidZone;
    s.DrawingObject = DrawingFluidZone;
    s.RubberBand = false;
    s.SelectionStatus = 0;
    s.SelectionPasted = false;
    s.SelectionStartX = s.SelectionStartY = s.SelectionEndX = s.SelectionEndY = 0;
    s.CursorX = s.CursorY = 0;
    s.CurrentPipeIdSelected = s.PipeIdClick1 = s.PipeIdClick2 = 0;
    UpdateFluidDisplay(false);
    RefreshScreenImageOnly(true);
    QCursor::setPos(250, 150);
}

void TNetworkForm::OnOffShowColorforthisFluidZone1Click()
{
    for (int zone = 1; zone <= TNetwork::MaxFluidZones; ++zone) {
        bool &show = CurrentNetwork->FluidZones[static_cast<std::size_t>(zone)].ShowColor;
        show = !show;
    }
    RefreshScreen(true);
}

void TNetworkForm::ResetFluidZonestoDefaultColors1Click()
{
    for (int zone = 1; zone <= TNetwork::MaxFluidZones; ++zone)
        CurrentNetwork->FluidZones[static_cast<std::size_t>(zone)].Color =
            TNetwork::FluidZoneDefaultColors[static_cast<std::size_t>(zone)];
    RefreshScreen(true);
}

// --- the pipe menu's zones -------------------------------------------------------------

void TNetworkForm::ChangeFluidZone1Click()
{
    for (int zone = 1; zone <= TNetwork::MaxFluidZones; ++zone) {
        QAction *action = FluidZoneItems[static_cast<std::size_t>(zone)];
        action->setText(QString::fromStdString(FluidZoneText(zone)));
        action->setVisible(zone == 1 || zone <= CurrentNetwork->FluidZonesCount);
    }
}

void TNetworkForm::FluidZoneClick(int Zone)
{
    const int pipeId = NetworkStates.CurrentPipeIdSelected;
    if (pipeId > 0 && Zone >= 1 && Zone <= CurrentNetwork->FluidZonesCount)
        CurrentNetwork->GetPipe(pipeId).FluidZoneIndex = Zone;
    RefreshScreen(true);
}

} // namespace tessaran
