// The window's chrome around the drawing: left panel, status bar, drawing
// menu states, logo, and the keyboard and wheel hooks.
#include "app/NetworkForm.h"

#include "app/Status_Bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace tessaran {

namespace {

QColor qColor(TColor colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

} // namespace

void TNetworkForm::ShowLeftPanel()
{
    LeftPanel1->setFixedWidth(201);
    TabControlLeftMenu->show();
    ButtonLeftMenuCollapse1->setText("<");
}

void TNetworkForm::HideLeftPanel()
{
    LeftPanel1->setFixedWidth(15);
    TabControlLeftMenu->hide();
    ButtonLeftMenuCollapse1->setText(">");
}

void TNetworkForm::ButtonLeftMenuCollapse1Click()
{
    if (LeftPanel1->width() <= 50)
        ShowLeftPanel();
    else
        HideLeftPanel();
}

void TNetworkForm::TabControlLeftMenuChange()
{
    if (TabControlLeftMenu->currentIndex() == 0) {
        UpdatePanelsNode(NetworkStates.CurrentNodeIdSelected, false);
    } else {
        PanelNodeHeader->hide();
        PanelNodeDetailSupply->hide();
    }
}

void TNetworkForm::StatusBar1DrawPanel(QPainter &painter, int panelIndex, const QRect &rect)
{
    TColor fill = StatusBarDefaultColor;
    if (panelIndex == 2) {
        const bool nothingSelected =
            NetworkStates.CurrentNodeIdSelected <= 0 && NetworkStates.CurrentPipeIdSelected <= 0;
        fill = ResultsMode && nothingSelected ? StatusBarDefaultColor : StatusBarHintColor;
    }
    painter.fillRect(rect, qColor(fill));
    painter.setPen(QApplication::palette().color(QPalette::ButtonText));
    painter.setFont(StatusBar1->font());
    const QString text = StatusBar1->Panels[static_cast<std::size_t>(panelIndex)].Text;
    painter.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
}

void TNetworkForm::TimerStatusBarHintTimer()
{
    TimerStatusBarHint->setInterval(0);
    TimerStatusBarHint->stop();
    StatusBarHintColor = StatusBarDefaultColor;
    StatusBar1->repaint();
}

void TNetworkForm::UpdateDrawingMenuFromNetwork()
{
    const bool selecting = NetworkStates.DrawingObject == DrawingSelection;
    ToolButtonIsometric->setEnabled(!selecting);
    for (QAction *item : {SetStandardDrawingMode1, SetIsometricDrawingMode1, IsometricTankViewFromLeft1,
                          IsometricTankViewFromRight1, RotateMirror1, RotateInvert1})
        item->setEnabled(!selecting);
    SetIsometricDrawingMode1->setChecked(CurrentNetwork->IsometricDrawing);
    SetStandardDrawingMode1->setChecked(!CurrentNetwork->IsometricDrawing);
    IsometricTankViewFromLeft1->setChecked(CurrentNetwork->IsometricXRadAng >= 0);
    IsometricTankViewFromRight1->setChecked(CurrentNetwork->IsometricXRadAng < 0);

    const int selection = NetworkStates.SelectionStatus;
    const bool itemSelected = NetworkStates.CurrentNodeIdSelected > 0 || NetworkStates.CurrentPipeIdSelected > 0;
    const bool selectionHeld = selection != 0 && selection != 9;
    Undo1->setEnabled(true);
    Redo1->setEnabled(true);
    Delete1->setEnabled(selection != 0 || itemSelected);
    for (QAction *item : {Cut1, Copy1, Paste1, SelectionRotate90Degrees1, SelectionRotate90Degrees2, SelectionMirror1,
                          SelectionInvert1})
        item->setEnabled(selectionHeld);
    if (CopyBufferFilled)
        Paste1->setEnabled(true);
    EditGrid->setEnabled(true);
    EditGrid2->setEnabled(true);
    if (ResultsMode)
        for (QAction *item : {Undo1, Redo1, Delete1, Cut1, Copy1, Paste1, SelectionRotate90Degrees1,
                              SelectionRotate90Degrees2, SelectionMirror1, SelectionInvert1, EditGrid2})
            item->setEnabled(false);
}

void TNetworkForm::FormResize()
{
    const int needed = TabRow->x() + TabControl1->x() + TabControl1->width() + ImageTessaranLogo->width() + 15;
    ImageTessaranLogo->setVisible(width() >= needed);
    PanelDrawingToolbar->update();
}

void TNetworkForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (FormInitialised)
        FormResize();
}

void TNetworkForm::CopyInfoPanelToClipboard()
{
    QApplication::clipboard()->setText(LabelInfoTitle->text() + "\r" + LabelInfo1->text());
}

void TNetworkForm::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier)
        CopyInfoPanelToClipboard();
    QMainWindow::keyReleaseEvent(event);
}

bool TNetworkForm::handlePanelEditorTab(QObject *editor)
{
    auto *widget = qobject_cast<QWidget *>(editor);
    if (!widget)
        return false;
    RefreshScreenImageOnly(true);
    // Through the panel and straight back: the editor's exit handler stores
    // its value while the caret stays where it was.
    if (QWidget *owner = widget->parentWidget())
        owner->setFocus(Qt::TabFocusReason);
    widget->setFocus(Qt::TabFocusReason);
    return true;
}

bool TNetworkForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            FormMouseWheel(static_cast<QWheelEvent *>(event)->angleDelta().y());
            return true; // handled whatever the delta
        }
        break;
    }
    case QEvent::MouseButtonPress:
        if (watched == TabControl1) {
            TabControl1MouseDown(static_cast<QMouseEvent *>(event)->position().toPoint());
            return true;
        }
        break;
    case QEvent::KeyPress:
        // The window sees Escape before the control with the focus does.
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
            !static_cast<QKeyEvent *>(event)->isAutoRepeat()) {
            QWidget *focus = QApplication::focusWidget();
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == this && (watched == focus || (!focus && watched == this)))
                FormKeyPress(27);
        }
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab &&
            static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier &&
            std::find(panelEditors_.begin(), panelEditors_.end(), watched) != panelEditors_.end())
            return handlePanelEditorTab(watched);
        break;
    case QEvent::MouseMove:
        if (watched == ToolBar1 || watched == TabControlLeftMenu || watched == PanelPipes ||
            watched == PanelNodeHeader || watched == PanelNodeDetailJoint || watched == PanelNodeDetailSupply ||
            watched == PanelDrawingToolbar) {
            ImageDrawCursorType->hide();
            QApplication::restoreOverrideCursor();
        } else if (watched == ToolBar2) {
            QApplication::restoreOverrideCursor();
        }
        break;
    case QEvent::Resize:
        if (watched == ScrollBox1)
            NetworkImage->resize(ScrollBox1->size());
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tessaran
