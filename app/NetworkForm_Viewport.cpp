// The viewport: rendering, stretching the rendered sheet onto the screen
// image, mapping and snapping, zoom and scroll.
#include "app/NetworkForm.h"

#include "app/Viewport_Geometry.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "platform/qt/Emf_Player.h"

#include <QComboBox>
#include <QPainter>
#include <QScrollBar>
#include <QWidget>

namespace tessaran {

int TNetworkForm::ViewWidth() const { return ScrollBar1->width(); }
int TNetworkForm::ViewHeight() const { return ScrollBar2->height(); }

const TMetafile &TNetworkForm::DrawingMetaFile() const { return MetaFileDrawing->MetaFile; }

void TNetworkForm::renderNetwork(bool ShowGridLines)
{
    MetaFileDrawing->DrawMetaFileFromNetwork(*CurrentNetwork, NetworkStates, ResultsMode, ShowGridLines, false, 0,
                                             true);
}

void TNetworkForm::repaintNetworkImage() { NetworkImage->repaint(); }

void TNetworkForm::RefreshScreen(bool ShowGridLines)
{
    UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
    UpdatePanelsPipe(NetworkStates.CurrentPipeIdSelected, false);
    UpdateFluidDisplay(true);
    UpdatePanelResultsKey();
    UpdatePanelResultsColorKey();
    renderNetwork(ShowGridLines);
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
    repaintNetworkImage();
}

void TNetworkForm::RefreshScreenImageOnly(bool ShowGridLines)
{
    renderNetwork(ShowGridLines);
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
}

void TNetworkForm::RefreshScreenOnKeyPress(int Key)
{
    if (Key == 13 || Key == 9)
        RefreshScreenImageOnly(true);
}

void TNetworkForm::ClearNetworkStates(TNetworkStates &TheNetworkStates, TDrawingObjectEnum &CurrentTool)
{
    const TNetworkStates kept = TheNetworkStates;
    TheNetworkStates = TNetworkStates{};
    TheNetworkStates.CursorX = kept.CursorX;
    TheNetworkStates.CursorY = kept.CursorY;
    TheNetworkStates.DrawingObject = kept.DrawingObject;
    CurrentTool = DrawingStandardCursor;
}

void TNetworkForm::ClearNetworkStates(TNetworkStates &TheNetworkStates)
{
    ClearNetworkStates(TheNetworkStates, DrawingObject);
}

void TNetworkForm::ImageClear(QImage &TheImage)
{
    if (!TheImage.isNull())
        TheImage.fill(Qt::white);
}

void TNetworkForm::DrawNetworkImageFromMetaFileAutomatic(int MetaFileFromX, int MetaFileFromY)
{
    QImage &image = NetworkImage->Picture;
    if (image.size() != NetworkImage->size())
        image = QImage(NetworkImage->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    ImageClear(image);
    const double s = MetaFileScale;
    const QRectF target(QPointF(static_cast<int>(-MetaFileFromX * s), static_cast<int>(-MetaFileFromY * s)),
                        QPointF(static_cast<int>(SheetWidth * s - MetaFileFromX * s),
                                static_cast<int>(SheetHeight * s - MetaFileFromY * s)));
    {
        QPainter painter(&image);
        PlayMetafile(painter, DrawingMetaFile(), target);
    }
    NetworkImage->update();

    const TNetworkStates &s2 = NetworkStates;
    const bool itemInHand = s2.CurrentNodeIdSelected > 0 || s2.CurrentPipeIdSelected > 0 || s2.DemandOutNodeId > 0 ||
                            s2.DemandinNodeId > 0 || s2.TextNodeId > 0 || s2.FreeTextId > 0;
    const bool editingTool = s2.DrawingObject != DrawingNone && s2.DrawingObject != DrawingPipeAdd &&
                             s2.DrawingObject != DrawingStandardCursor;
    if (itemInHand || editingTool)
        NetworkStates.SystemUpdatedSinceLoad = true;
}

void TNetworkForm::DrawImageFromMetaFile(QImage &TheImage, int MetaFileFromX, int MetaFileFromY, int CaptureWidth,
                                         int CaptureHeight)
{
    const double Iw = TheImage.width();
    const double Ih = TheImage.height();
    const int left = static_cast<int>(static_cast<double>(MetaFileFromX) / CaptureWidth * -Iw);
    const int top = static_cast<int>(static_cast<double>(MetaFileFromY) / CaptureHeight * -Ih);
    const int right = static_cast<int>(static_cast<double>(SheetWidth) / CaptureWidth * Iw + left);
    const int bottom = static_cast<int>(static_cast<double>(SheetHeight) / CaptureHeight * Ih + top);
    QPainter painter(&TheImage);
    PlayMetafile(painter, DrawingMetaFile(), QRectF(QPointF(left, top), QPointF(right, bottom)));
}

int TNetworkForm::GetMetaFileDrawingX(int NetworkImageX) const
{
    return ImageToDrawing(NetworkImageX, MetaFileScale, MetaFileOffsetX);
}

int TNetworkForm::GetMetaFileDrawingY(int NetworkImageY) const
{
    return ImageToDrawing(NetworkImageY, MetaFileScale, MetaFileOffsetY);
}

void TNetworkForm::CalcMetaFileDrawingXY(int NetworkImageX, int NetworkImageY, int &MetaFileX, int &MetaFileY) const
{
    MetaFileX = GetMetaFileDrawingX(NetworkImageX);
    MetaFileY = GetMetaFileDrawingY(NetworkImageY);
}

void TNetworkForm::CalcSnapToGridXY(int &MetaFileX, int &MetaFileY) const
{
    SnapToGrid(CurrentNetwork && CurrentNetwork->IsometricDrawing, GridSpacing, GridSpacing, MetaFileX, MetaFileY);
}

void TNetworkForm::CalcMetaFileDrawingSnapToGridXY(int NetworkImageX, int NetworkImageY, int &MetaFileX,
                                                   int &MetaFileY) const
{
    CalcMetaFileDrawingXY(NetworkImageX, NetworkImageY, MetaFileX, MetaFileY);
    CalcSnapToGridXY(MetaFileX, MetaFileY);
}

void TNetworkForm::SetSelectedNodesXYSnapToGrid()
{
    for (int id = CurrentNetwork->GetNextNodeId(0); id > 0; id = CurrentNetwork->GetNextNodeId(id)) {
        TNode &node = CurrentNetwork->GetNode(id);
        if (node.Selected)
            CalcSnapToGridXY(node.x, node.y);
    }
}

namespace {

// Keeps the view's centre while the scale changes, along one axis.
void rescaleAxis(QScrollBar *bar, int &offset, int sheet, int view, double oldScale, double newScale)
{
    offset += static_cast<int>(view / oldScale * 0.5);
    offset -= static_cast<int>(view / newScale * 0.5);
    const int max = bar->maximum();
    const int page = static_cast<int>(view / newScale);
    bar->setPageStep(page < max ? page : max - 10);
    int position = static_cast<int>(offset * 1.0 / sheet * max);
    if (position < 1)
        position = 1;
    if (position >= max)
        position = max - 1;
    bar->setValue(position); // a change runs the bar's change handler
}

} // namespace

void TNetworkForm::NetWorkImageRescale(double NewMetaFileScale, bool ReDrawImage)
{
    const double old = MetaFileScale;
    MetaFileScale = NewMetaFileScale;
    rescaleAxis(ScrollBar1, MetaFileOffsetX, SheetWidth, ViewWidth(), old, NewMetaFileScale);
    rescaleAxis(ScrollBar2, MetaFileOffsetY, SheetHeight, ViewHeight(), old, NewMetaFileScale);
    if (ReDrawImage)
        DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
}

void TNetworkForm::NetWorkImageRescaleFromIndex(int, int NumIntervals, bool RepaintIntervals)
{
    // The list's current entry decides, whatever index the caller passes.
    const double old = MetaFileScale;
    const double target = ScaleFromScaleText(ScaleComboBox1->currentText().toStdString());
    const int n = std::max(1, NumIntervals);
    const double step = (target - old) / n;
    if (RepaintIntervals)
        for (int i = 1; i < n; ++i) {
            NetWorkImageRescale(old + i * step, true);
            repaintNetworkImage();
        }
    NetWorkImageRescale(target, RepaintIntervals);
}

void TNetworkForm::ToolButtonZoomInClick()
{
    if (ScaleComboBox1->currentIndex() < ScaleComboBox1->count() - 1)
        ScaleComboBox1->setCurrentIndex(ScaleComboBox1->currentIndex() + 1);
    NetWorkImageRescaleFromIndex(ScaleComboBox1->currentIndex(), 2, true);
}

void TNetworkForm::ToolButtonZoomOutClick()
{
    if (ScaleComboBox1->currentIndex() <= 0 || ScrollBar1->value() < 1)
        return;
    ScaleComboBox1->setCurrentIndex(ScaleComboBox1->currentIndex() - 1);
    NetWorkImageRescaleFromIndex(ScaleComboBox1->currentIndex(), 2, true);
}

void TNetworkForm::ScaleComboBox1Click() { NetWorkImageRescaleFromIndex(ScaleComboBox1->currentIndex(), 2, true); }

void TNetworkForm::FormMouseWheel(int WheelDelta)
{
    if (WheelDelta > 20)
        ToolButtonZoomInClick();
    else if (WheelDelta < -20)
        ToolButtonZoomOutClick();
}

void TNetworkForm::ZoomtoFitonScreen1Click()
{
    ScaleComboBox1->setCurrentIndex(ScaleIndex100);
    NetWorkImageRescaleFromIndex(ScaleIndex100, 1, false);
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    CurrentNetwork->GetMinMaxXY(x1, y1, x2, y2, false);
    const TViewPlacement place = ZoomToFitPlacement(x1, y1, x2, y2, ViewWidth(), ViewHeight());
    ScaleComboBox1->setCurrentIndex(place.ScaleIndex);
    NetWorkImageRescaleFromIndex(place.ScaleIndex, 1, true);
    MetaFileOffsetX = place.OffsetX;
    MetaFileOffsetY = place.OffsetY;
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
}

void TNetworkForm::ScrollBar1Change()
{
    MetaFileOffsetX = static_cast<int>(static_cast<double>(ScrollBar1->value()) / ScrollBar1->maximum() * SheetWidth);
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
}

void TNetworkForm::ScrollBar2Change()
{
    MetaFileOffsetY =
        static_cast<int>(static_cast<double>(ScrollBar2->value()) / ScrollBar2->maximum() * SheetHeight);
    DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
}

bool TNetworkForm::zoomToItemAt100(bool pipe, int &itemX, int &itemY)
{
    ShowLeftPanel();
    QWidget *itemPanel = pipe ? PanelPipes : PanelNodeHeader;
    if (itemPanel->isEnabled())
        itemPanel->setFocus();
    ScaleComboBox1->setCurrentIndex(ScaleIndex100);
    NetWorkImageRescaleFromIndex(ScaleIndex100, 2, true);
    if (pipe) {
        const int pipeId = NetworkStates.CurrentPipeIdSelected;
        if (pipeId < 1)
            return false;
        int fromId = 0, toId = 0;
        CurrentNetwork->GetPipeNodes(pipeId, fromId, toId);
        const TNode &from = CurrentNetwork->GetNode(fromId);
        const TNode &to = CurrentNetwork->GetNode(toId);
        itemX = (from.x + to.x) / 2;
        itemY = (from.y + to.y) / 2;
    } else {
        const int nodeId = NetworkStates.CurrentNodeIdSelected;
        if (nodeId < 1)
            return false;
        const TNode &node = CurrentNetwork->GetNode(nodeId);
        itemX = node.x;
        itemY = node.y;
    }
    // In results mode the results sheet shows the item's row.
    if (ResultsMode) {
        if (pipe)
            ResultsSheetShowPipe(NetworkStates.CurrentPipeIdSelected);
        else
            ResultsSheetShowNode(NetworkStates.CurrentNodeIdSelected);
    }
    return true;
}

void TNetworkForm::zoomBesideResultsSheet(bool pipe)
{
    int x = 0, y = 0;
    if (!zoomToItemAt100(pipe, x, y)) {
        if (pipe)
            repaint();
        return;
    }
    const QRect window = frameGeometry();
    const QPoint scrollBoxOrigin = ScrollBox1->mapTo(this, QPoint(0, 0));
    const bool sheetVisible = FormResults && FormResults->isVisible();
    const QRect sheet = sheetVisible ? FormResults->frameGeometry() : QRect();
    const auto offsets = PlaceBesideResultsSheet(
        x, y, ViewWidth(), ViewHeight(), {window.left(), window.top(), window.width(), window.height()},
        scrollBoxOrigin.x(), scrollBoxOrigin.y(), sheetVisible,
        {sheet.left(), sheet.top(), sheet.width(), sheet.height()});
    if (offsets) {
        MetaFileOffsetX = offsets->X;
        MetaFileOffsetY = offsets->Y;
    }
    RefreshScreen(true);
    repaint();
}

void TNetworkForm::zoomToFixedPlacement(bool pipe, int viewWidthDivisor, bool nearBottom)
{
    int x = 0, y = 0;
    if (!zoomToItemAt100(pipe, x, y))
        return;
    MetaFileOffsetX = x - ViewWidth() / viewWidthDivisor;
    // Near the bottom: one eighth of the view above its lower edge, clear of
    // a dialog opened over the drawing.
    MetaFileOffsetY = y - (nearBottom ? (ViewHeight() / 8) * 7 : ViewHeight() / 2);
    RefreshScreen(true);
}

void TNetworkForm::ZoomtoPipe() { zoomBesideResultsSheet(true); }
void TNetworkForm::ZoomtoNode() { zoomBesideResultsSheet(false); }
void TNetworkForm::ZoomtoPipeLeftOfScreen() { zoomToFixedPlacement(true, 4, false); }
void TNetworkForm::ZoomtoPipeBottomOfScreen() { zoomToFixedPlacement(true, 2, true); }
void TNetworkForm::ZoomtoNodeBottomOfScreen() { zoomToFixedPlacement(false, 2, true); }

namespace {

// Characters 6 to 9 of "Pipe:" / "Node:" entries hold the id.
int idOfListEntry(const QString &entry)
{
    bool ok = false;
    const int id = entry.mid(5, 4).trimmed().toInt(&ok);
    return ok ? id : 0;
}

} // namespace

void TNetworkForm::ComboBoxPipeIdChange()
{
    const int id = idOfListEntry(ComboBoxPipeId->currentText());
    if (id > 0) {
        NetworkStates.CurrentPipeIdSelected = id;
        if (ResultsMode) {
            StatusBarShowPipe(id);
            ResultsSheetShowPipe(id);
        }
    }
    RefreshScreen(true);
}

void TNetworkForm::ComboBoxNodeIdChange()
{
    const int id = idOfListEntry(ComboBoxNodeId->currentText());
    if (id > 0) {
        NetworkStates.CurrentNodeIdSelected = id;
        if (ResultsMode) {
            StatusBarShowNode(id);
            ResultsSheetShowNode(id);
        }
    }
    RefreshScreen(true);
}

} // namespace tessaran
