// The chooser between several items of one pipe under the mouse, the pipe
// context menu of the canvas, zoom to the selection and the import of a
// background image.
#include "app/NetworkForm.h"

#include "app/Viewport_Geometry.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QWidget>

namespace tessaran {

void TNetworkForm::createPipeMenus()
{
    ExecPopupMenu = [](QMenu &menu, const QPoint &at) { return menu.exec(at); };
    auto item = [](QMenu *menu, const char *name, const QString &text) {
        QAction *action = menu->addAction(text);
        action->setObjectName(name);
        return action;
    };
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName("PopupMenu2");
    ShowFittings1 = item(PopupMenu2, "ShowFittings1", "Show Fittings");
    ShowControlValve1 = item(PopupMenu2, "ShowControlValve1", "Show Control Valve");
    ShowComponent1 = item(PopupMenu2, "ShowComponent1", "Show Component");
    ShowPump1 = item(PopupMenu2, "ShowPump1", "Show Pump");
    connect(ShowFittings1, &QAction::triggered, this, &TNetworkForm::ShowFittings1Click);
    connect(ShowControlValve1, &QAction::triggered, this, &TNetworkForm::ShowControlValve1Click);
    connect(ShowComponent1, &QAction::triggered, this, &TNetworkForm::ShowComponent1Click);
    connect(ShowPump1, &QAction::triggered, this, &TNetworkForm::ShowPump1Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    connect(item(PopupMenu1, "ChangePipeDiameter1", "Change Pipe Diameter"), &QAction::triggered, this,
            &TNetworkForm::BitBtnPipeDiameterClick);
    connect(item(PopupMenu1, "ChangePipeMaterial1", "Change Pipe Material"), &QAction::triggered, this,
            &TNetworkForm::BitBtnPipeMaterialClick);
    PopupMenu1->addSeparator();
    // The item buttons of the pipe panel run these once the panel has them.
    item(PopupMenu1, "AddEditFittings1", "Add / Edit Fittings");
    item(PopupMenu1, "AddEditComponentLoss1", "Add / Edit Component");
    item(PopupMenu1, "AddEditControlValve1", "Add / Edit Control Valve");
    item(PopupMenu1, "AddEditPump1", "Add / Edit Pump");
    PopupMenu1->addSeparator();
    connect(item(PopupMenu1, "ClosePipe1", "Re-Open / Close Pipe"), &QAction::triggered, this,
            &TNetworkForm::ClosePipe1Click);
    item(PopupMenu1, "ReversePipedirection1", "Reverse Pipe direction");
    connect(item(PopupMenu1, "PreventBackflow1", "Prevent Backflow - On / Off"), &QAction::triggered, this,
            &TNetworkForm::PreventBackflow1Click);
    connect(item(PopupMenu1, "MovePipe1", "Move / Unlink end of Pipe"), &QAction::triggered, this,
            &TNetworkForm::MovePipe1Click);
    PopupMenu1->addSeparator();
    connect(item(PopupMenu1, "UsePipeValuesasDefault1", "Set as Default Pipe for Drawing"), &QAction::triggered,
            this, &TNetworkForm::BitBtnPipeDefaultsClick);
    PopupMenu1->addSeparator();
    QMenu *zones = PopupMenu1->addMenu("Change Fluid Zone");
    zones->setObjectName("ChangeFluidZone1");

    QAction *importImage = new QAction("Import Image", this);
    importImage->setObjectName("ImportImage");
    File1->insertAction(Exit1, importImage);
    connect(importImage, &QAction::triggered, this, &TNetworkForm::ImportImageClick);

    NetworkImage->OnContextMenu = [this](QContextMenuEvent *event) {
        event->accept();
        if (NetworkImageContextPopup(event->pos().x(), event->pos().y()))
            ExecPopupMenu(*PopupMenu1, event->globalPos());
    };
}

// --- the item chooser ------------------------------------------------------------------

void TNetworkForm::OpenPipeItemsSelectPopupMenuIfNeeded()
{
    TNetworkStates &s = NetworkStates;
    NetworkImage->setEnabled(false);
    ShowFittings1->setEnabled(s.FittingsPipeId > 0);
    ShowControlValve1->setEnabled(s.FlowControlPipeId > 0);
    ShowComponent1->setEnabled(s.ComponentPressurePipeId > 0);
    ShowPump1->setEnabled(s.PumpPipeId > 0);
    auto itemsSet = [&] {
        return (s.FittingsPipeId > 0) + (s.FlowControlPipeId > 0) + (s.ComponentPressurePipeId > 0) +
               (s.PumpPipeId > 0);
    };
    if (itemsSet() >= 2) {
        ExecPopupMenu(*PopupMenu2, QCursor::pos() + QPoint(8, -10));
        QApplication::processEvents();
        // Dismissed: none of them.
        if (itemsSet() >= 2)
            s.FittingsPipeId = s.FlowControlPipeId = s.ComponentPressurePipeId = s.PumpPipeId = 0;
    }
    NetworkImage->setEnabled(true);
}

void TNetworkForm::ShowFittings1Click()
{
    NetworkStates.FlowControlPipeId = NetworkStates.ComponentPressurePipeId = NetworkStates.PumpPipeId = 0;
}

void TNetworkForm::ShowControlValve1Click()
{
    NetworkStates.FittingsPipeId = NetworkStates.ComponentPressurePipeId = NetworkStates.PumpPipeId = 0;
}

void TNetworkForm::ShowComponent1Click()
{
    NetworkStates.FittingsPipeId = NetworkStates.FlowControlPipeId = NetworkStates.PumpPipeId = 0;
}

void TNetworkForm::ShowPump1Click()
{
    NetworkStates.FittingsPipeId = NetworkStates.FlowControlPipeId = NetworkStates.ComponentPressurePipeId = 0;
}

// --- the pipe context menu ----------------------------------------------------------------

bool TNetworkForm::NetworkImageContextPopup(int X, int Y)
{
    int rawX = 0, rawY = 0;
    CalcMetaFileDrawingXY(X, Y, rawX, rawY);
    NetworkStates.PipeIdClick1 = CheckPipeClick(rawX, rawY);
    if (ResultsMode)
        return false;
    return NetworkStates.CurrentPipeIdSelected > 0 && NetworkStates.CurrentPipeIdSelected == NetworkStates.PipeIdClick1;
}

void TNetworkForm::BitBtnPipePopupMenuClick()
{
    ExecPopupMenu(*PopupMenu1, PanelPipes->mapToGlobal(QPoint(PanelPipes->width() - 11, 430)));
}

void TNetworkForm::PreventBackflow1Click()
{
    const int pipeId = NetworkStates.CurrentPipeIdSelected;
    if (pipeId > 0) {
        TPipe &pipe = CurrentNetwork->GetPipe(pipeId);
        if (pipe.FlowControlCount > 0)
            info("Backflow is already prevented on pipes that contain a control valve (FCV,PRV,BPV).\r ");
        else
            pipe.PreventBackflow = !pipe.PreventBackflow;
    }
    RefreshScreen(true);
}

void TNetworkForm::ClosePipe1Click()
{
    const int pipeId = NetworkStates.CurrentPipeIdSelected;
    if (pipeId > 0) {
        if (CurrentNetwork->IsPipeClosed(pipeId))
            CurrentNetwork->RestoreNodeLinkForClosedPipe(pipeId);
        else
            CurrentNetwork->RemoveNodeLinkAddClosedPipeLink(pipeId);
    }
    RefreshScreen(true);
}

// --- zoom to the selection -------------------------------------------------------------------

void TNetworkForm::ToolButtonZoomSelectionClick()
{
    TNetworkStates &s = NetworkStates;
    if (s.SelectionStatus == 0) {
        if (ScaleComboBox1->currentIndex() < ScaleComboBox1->count() - 1)
            ScaleComboBox1->setCurrentIndex(ScaleComboBox1->currentIndex() + 1);
        NetWorkImageRescaleFromIndex(ScaleComboBox1->currentIndex(), 2, true);
        return;
    }
    ScaleComboBox1->setCurrentIndex(ScaleIndex100);
    NetWorkImageRescaleFromIndex(ScaleIndex100, 2, true);
    const int startX = s.SelectionStartX, startY = s.SelectionStartY;
    const double fx = std::abs(s.SelectionEndX - startX) / static_cast<double>(SheetWidth);
    const double fy = std::abs(s.SelectionEndY - startY) / static_cast<double>(SheetHeight);
    const bool byHeight = fy > fx;
    const double m = byHeight ? fy : fx;
    const double v = byHeight ? ScrollBar2->height() / static_cast<double>(SheetHeight)
                              : ScrollBar1->width() / static_cast<double>(SheetWidth);
    double z = 0;
    int index = ScaleIndex100;
    const std::pair<double, int> steps[] = {{4, 14}, {3, 13}, {2.5, 12}, {2, 11}, {1.5, 10}, {1.25, 9}};
    bool found = false;
    for (const auto &[factor, item] : steps)
        if (m * factor * 1.2 < v) {
            z = factor;
            index = item;
            found = true;
            break;
        }
    if (!found && m < v) {
        z = 1;
        index = ScaleIndex100;
    } else if (!found) {
        z = m > 0 ? v / m * 0.9 : 1;
        const double limits[] = {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1, 1.25};
        index = ScaleComboBox1->currentIndex();
        for (int i = 0; i < 9; ++i)
            if (z < limits[i]) {
                index = i;
                break;
            }
    }
    ScaleComboBox1->setCurrentIndex(index);
    NetWorkImageRescaleFromIndex(index, 2, true);
    MetaFileOffsetX = startX - static_cast<int>(100 / z);
    MetaFileOffsetY = startY - static_cast<int>(100 / z);
    {
        const QSignalBlocker blockX(ScrollBar1), blockY(ScrollBar2);
        ScrollBar1->setValue(static_cast<int>(static_cast<double>(MetaFileOffsetX) / SheetWidth * ScrollBar1->maximum()));
        ScrollBar2->setValue(
            static_cast<int>(static_cast<double>(MetaFileOffsetY) / SheetHeight * ScrollBar2->maximum()));
    }
    RefreshScreen(true);
    NetworkImageMouseDown(Qt::RightButton, false, false, 10, 10);
}

// --- importing a background image --------------------------------------------------------------

void TNetworkForm::ImportImageClick()
{
    TNetwork &n = *CurrentNetwork;
    QString filter = "Images (";
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        filter += "*." + QString::fromLatin1(format) + " ";
    filter = filter.trimmed() + ")";
    TFileDialogRequest request;
    request.Caption = "Import Image";
    request.Filter = filter;
    request.Parent = this;
    const std::optional<QString> name = Dialogs().OpenPictureName(request);
    if (!name)
        return;
    if (!QFileInfo::exists(*name)) {
        info("Image File not found.\r");
        return;
    }
    if (n.BackgroundImagesCount > TNetwork::MaxBackgroundImages - 1) {
        info("Max number of background images is " + std::to_string(TNetwork::MaxBackgroundImages) + "\r\r" +
             "No further images can be imported." + "\r\r");
        return;
    }
    // The slot is taken only once the picture has been read and has a size.
    QImageReader reader(*name);
    const QImage picture = reader.read();
    if (picture.isNull() || picture.width() < 1 || picture.height() < 1) {
        info("Image File cannot be loaded: Error occured.\r");
        return;
    }
    int w = picture.width(), h = picture.height();
    bool limited = false;
    if (w > 2000) {
        h = static_cast<int>(2000 / (static_cast<double>(w) / h));
        w = 2000;
        limited = true;
    }
    if (h > 2000) {
        w = static_cast<int>(2000 * (static_cast<double>(w) / h));
        h = 2000;
        limited = true;
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (limited)
        info("Original image is too large at " + std::to_string(picture.width()) + " x " +
             std::to_string(picture.height()) + " pixels" + "\r\r" + "On loading the master image will automatically be " +
             "\r" + "scaled down to " + std::to_string(w) + " x " + std::to_string(h) + " pixels" + "\r\r" +
             "Note: The image can then be positioned and resized on the drawing as appropriate." + "\r");
    const QImage scaled = picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB888);
    ++n.BackgroundImagesCount;
    TBackgroundImage &image = n.BackgroundImages[static_cast<std::size_t>(n.BackgroundImagesCount)];
    image.Bitmap = std::make_unique<TBitmap>(FromQImage(scaled));
    image.BitmapAdjusted = std::make_unique<TBitmap>(FromQImage(scaled));
    image.ImageStretchWidth = image.Bitmap->Width();
    image.ImageStretchHeight = image.Bitmap->Height();
    image.ImageX = static_cast<int>(ScrollBar1->width() / 3.0 / MetaFileScale) + MetaFileOffsetX;
    image.ImageY = static_cast<int>(ScrollBar2->height() / 8.0 / MetaFileScale) + MetaFileOffsetY;
    image.DisplayLayer = 2;
    image.ImageOpacity = 100;
    image.UseGreyScale = image.HideImage = image.Selected = false;
    ToolButtonDragNodeClick();
    ToolButtonDragNode->setChecked(true);
}

} // namespace tessaran
