// The main window's components and their wiring.
#include "app/NetworkForm.h"

#include "app/Action_Log_Class.h"
#include "app/Qt_Item_Dialogs.h"
#include "app/Splash_Screen_Form.h"
#include "app/Status_Bar.h"
#include "app/Viewport_Geometry.h"
#include "drawing/MetaFileDrawing_Class.h"
#include "model/Fitting_Set_Class.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "pumps/Pump_Database_Class.h"
#include "units/widgets/RightEdit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaran {

TNetworkImage::TNetworkImage(QWidget *parent) : QWidget(parent)
{
    setObjectName("NetworkImage");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TNetworkImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, Picture);
}

void TNetworkImage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (OnResize)
        OnResize();
}

void TNetworkImage::mousePressEvent(QMouseEvent *event)
{
    if (OnMouseDown)
        OnMouseDown(event);
}

void TNetworkImage::mouseMoveEvent(QMouseEvent *event)
{
    if (OnMouseMove)
        OnMouseMove(event);
}

void TNetworkImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (OnMouseUp)
        OnMouseUp(event);
}

void TNetworkImage::contextMenuEvent(QContextMenuEvent *event)
{
    if (OnContextMenu)
        OnContextMenu(event);
}

void TNetworkImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (OnMouseDown)
        OnMouseDown(event);
}

namespace {

template <typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(name);
    return widget;
}

// Named, at a fixed place inside its panel.
template <typename Widget> Widget *placed(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QWidget *panel(QWidget *parent, const char *name)
{
    auto *widget = named(new QWidget(parent), name);
    widget->setAutoFillBackground(true);
    return widget;
}

QToolButton *toolButton(QWidget *parent, const char *name, const QString &text, const QString &hint)
{
    auto *button = named(new QToolButton(parent), name);
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

} // namespace

TNetworkForm::TNetworkForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName("NetworkForm");
    ActionLog = std::make_unique<TActionLog>();
    createComponents();
    programItemDialogs_ = std::make_unique<TQtItemDialogs>(Services(), this);
    ItemDialogs = programItemDialogs_.get();
    createPipeMenus();
    createPanelControls();
    createFluidCommands();
    createNodeTypeChooser();
    createFileCommands();
    connect(Undo1, &QAction::triggered, this, &TNetworkForm::Undo1Click);
    connect(Redo1, &QAction::triggered, this, &TNetworkForm::Redo1Click);
    connect(Delete1, &QAction::triggered, this, &TNetworkForm::Delete1Click);
    FormCreate();
}

TNetworkForm::~TNetworkForm()
{
    if (auto *app = qApp)
        app->removeEventFilter(this);
}

void TNetworkForm::createComponents()
{
    createMenus();
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    createToolBars(central);
    column->addWidget(ToolBar1);
    column->addWidget(PanelDrawingToolbar);
    createTabRow(central);
    column->addWidget(TabRow);
    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    createLeftPanel(central);
    middle->addWidget(LeftPanel1);
    createDrawingArea(central);
    auto *drawing = new QGridLayout;
    drawing->setSpacing(0);
    drawing->addWidget(ScrollBox1, 0, 0);
    drawing->addWidget(ScrollBar2, 0, 1);
    drawing->addWidget(ScrollBar1, 1, 0);
    middle->addLayout(drawing, 1);
    column->addLayout(middle, 1);
    StatusBar1 = new TStatusBar(central);
    StatusBar1->Panels = {{201, " "}, {130, " "}, {650, " "}};
    StatusBar1->OnDrawPanel = [this](QPainter &painter, int index, const QRect &rect) {
        StatusBar1DrawPanel(painter, index, rect);
    };
    column->addWidget(StatusBar1);
    setCentralWidget(central);
    createTimers();
    createToolButtons();
    createReportCommands();
    // The hover panel floats over the drawing beside the mouse.
    PanelResultInfo->setParent(ScrollBox1);
    PanelResultInfo->hide();
    createOptionCommands();
    createPrintingCommands();
    createCalculationComponents();
    createClipboardCommands();

    SplashScreenForm = new TSplashScreenForm(this);
    SplashScreenForm->StopSplashOffTimer = [this] { TimerSplashOff->stop(); };

    // The wheel zooms wherever it turns over the window; the tab strip's
    // presses, the panel editors' Tab key and the drawing area's size come
    // through the same filter.
    qApp->installEventFilter(this);
    ToolBar1->setMouseTracking(true);
    ToolBar2->setMouseTracking(true);
    PanelDrawingToolbar->setMouseTracking(true);
}

void TNetworkForm::createMenus()
{
    File1 = named(menuBar()->addMenu("&File"), "File1");
    Exit1 = named(File1->addAction("Exit"), "Exit1");
    connect(Exit1, &QAction::triggered, this, &TNetworkForm::Exit1Click);

    QMenu *edit = named(menuBar()->addMenu("&Edit"), "Edit1");
    Undo1 = named(edit->addAction("Undo"), "Undo1");
    Redo1 = named(edit->addAction("Redo"), "Redo1");
    edit->addSeparator();
    Cut1 = named(edit->addAction("Cut"), "Cut1");
    Copy1 = named(edit->addAction("Copy"), "Copy1");
    Paste1 = named(edit->addAction("Paste"), "Paste1");
    Delete1 = named(edit->addAction("Delete"), "Delete1");
    edit->addSeparator();
    SelectionRotate90Degrees1 = named(edit->addAction("Selection: Rotate +90 Degrees"), "SelectionRotate90Degrees1");
    SelectionRotate90Degrees2 = named(edit->addAction("Selection: Rotate -90 Degrees"), "SelectionRotate90Degrees2");
    SelectionMirror1 = named(edit->addAction("Selection: Mirror Items Left/Right"), "SelectionMirror1");
    SelectionInvert1 = named(edit->addAction("Selection: Invert Items Up/Down"), "SelectionInvert1");
    edit->addSeparator();
    EditGrid2 = named(edit->addAction("Edit Grid - Sheet View"), "EditGrid2");

    QMenu *drawing = named(menuBar()->addMenu("&Drawing"), "Drawing1");
    SetStandardDrawingMode1 = named(drawing->addAction("Set Standard Drawing Mode"), "SetStandardDrawingMode1");
    SetIsometricDrawingMode1 = named(drawing->addAction("Set Isometric Drawing Mode"), "SetIsometricDrawingMode1");
    IsometricTankViewFromLeft1 =
        named(drawing->addAction("Isometric Tank View From Left"), "IsometricTankViewFromLeft1");
    IsometricTankViewFromRight1 =
        named(drawing->addAction("Isometric Tank View From Right"), "IsometricTankViewFromRight1");
    RotateMirror1 = named(drawing->addAction("Mirror View (Switch Left/Right)"), "RotateMirror1");
    RotateInvert1 = named(drawing->addAction("Invert View (Switch Top/Bottom)"), "RotateInvert1");
    for (QAction *item : {SetStandardDrawingMode1, SetIsometricDrawingMode1, IsometricTankViewFromLeft1,
                          IsometricTankViewFromRight1})
        item->setCheckable(true);

    QMenu *view = named(menuBar()->addMenu("&View"), "View1");
    ZoomtoFitonScreen1 = named(view->addAction("Zoom to Fit on Screen"), "ZoomtoFitonScreen1");
    connect(ZoomtoFitonScreen1, &QAction::triggered, this, &TNetworkForm::ZoomtoFitonScreen1Click);

    QMenu *tools = named(menuBar()->addMenu("&Tools"), "Tools1");
    EditGrid = named(tools->addAction("Edit Grid - Sheet View"), "EditGrid");

    QMenu *reports = named(menuBar()->addMenu("&Reports"), "Reports1");
    CreatePDFCustomizedReport = named(reports->addAction("Create PDF Customized Report"), "CreatePDFCustomizedReport");

    QMenu *help = named(menuBar()->addMenu("&Help"), "Help1");
    About1 = named(help->addAction("About Tessaran"), "About1");
    connect(About1, &QAction::triggered, this, &TNetworkForm::About1Click);
}

void TNetworkForm::createToolBars(QWidget *parent)
{
    ToolBar1 = panel(parent, "ToolBar1");
    auto *row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(2, 2, 2, 2);
    ToolButtonZoomIn = toolButton(ToolBar1, "ToolButtonZoomIn", "+", "Zoom In");
    ToolButtonZoomOut = toolButton(ToolBar1, "ToolButtonZoomOut", "-", "Zoom Out");
    ToolButtonZoomCentre = toolButton(ToolBar1, "ToolButtonZoomCentre", "[ ]", "Zoom drawing to fit on screen");
    ScaleComboBox1 = named(new QComboBox(ToolBar1), "ScaleComboBox1");
    for (const char *item : ScaleListItems)
        ScaleComboBox1->addItem(item);
    ToolButtonIsometric = toolButton(ToolBar1, "ToolButtonIsometric", "Iso", "Isometric Mode On/Off Toggle");
    RadioButtonImperialUnits = named(new QRadioButton("Imperial", ToolBar1), "RadioButtonImperialUnits");
    RadioButtonMetricUnits = named(new QRadioButton("Metric", ToolBar1), "RadioButtonMetricUnits");
    BitBtnLoadExamples = named(new QPushButton("Example Systems", ToolBar1), "BitBtnLoadExamples");
    BitBtnNextExample = named(new QPushButton("Next Example", ToolBar1), "BitBtnNextExample");
    BitBtnQuickStartGuide = named(new QPushButton("Quick Start", ToolBar1), "BitBtnQuickStartGuide");
    ToolButtonExampleSystemSeparator = named(new QFrame(ToolBar1), "ToolButtonExampleSystemSeparator");
    ToolButtonExampleSystemSeparator->setFrameShape(QFrame::VLine);
    BitBtnResultsTable = named(new QPushButton("Results Table", ToolBar1), "BitBtnResultsTable");
    BitBtnResultsPDF = named(new QPushButton("Results PDF", ToolBar1), "BitBtnResultsPDF");
    BitBtnShowLog = named(new QPushButton("Results Log", ToolBar1), "BitBtnShowLog");
    ImageTessaranLogo = named(new QLabel("Tessaran", ToolBar1), "ImageTessaranLogo");
    ImageTessaranLogo->setFixedWidth(160);
    ImageTessaranLogo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont logoFont = ImageTessaranLogo->font();
    logoFont.setBold(true);
    logoFont.setPointSize(logoFont.pointSize() + 6);
    ImageTessaranLogo->setFont(logoFont);
    for (QWidget *widget : std::initializer_list<QWidget *>{
             ToolButtonZoomIn, ToolButtonZoomOut, ToolButtonZoomCentre, ScaleComboBox1, ToolButtonIsometric,
             RadioButtonImperialUnits, RadioButtonMetricUnits, ToolButtonExampleSystemSeparator, BitBtnLoadExamples,
             BitBtnNextExample, BitBtnQuickStartGuide, BitBtnResultsTable, BitBtnResultsPDF, BitBtnShowLog})
        row->addWidget(widget);
    row->addStretch(1);
    row->addWidget(ImageTessaranLogo);

    connect(ToolButtonZoomIn, &QToolButton::clicked, this, &TNetworkForm::ToolButtonZoomInClick);
    connect(ToolButtonZoomOut, &QToolButton::clicked, this, &TNetworkForm::ToolButtonZoomOutClick);
    connect(ToolButtonZoomCentre, &QToolButton::clicked, this, &TNetworkForm::ToolButtonZoomCentreClick);
    // Only the user's choice rescales; code that sets the entry runs nothing.
    connect(ScaleComboBox1, &QComboBox::activated, this, &TNetworkForm::ScaleComboBox1Click);

    PanelDrawingToolbar = panel(parent, "PanelDrawingToolbar");
    auto *tools = new QHBoxLayout(PanelDrawingToolbar);
    tools->setContentsMargins(2, 0, 2, 0);
    ToolBar2 = panel(PanelDrawingToolbar, "ToolBar2");
    ToolBar2->setMinimumHeight(4);
    new QHBoxLayout(ToolBar2);
    ToolBar2->layout()->setContentsMargins(0, 0, 0, 0);
    tools->addWidget(ToolBar2);
    tools->addStretch(1);
}

void TNetworkForm::createTabRow(QWidget *parent)
{
    TabRow = new QWidget(parent);
    TabRow->setFixedHeight(28);
    TabControl1 = named(new QTabBar(TabRow), "TabControl1");
    TabControl1->setStyleSheet(QString("QTabBar::tab { width: %1px; padding: 0px; margin: 0px; }").arg(TabWidth));
    TabControl1->setExpanding(false);
    TabControl1->setDrawBase(false);
    TabControl1->setGeometry(0, 2, TabWidth * MaxTabs + 30, 26);
    TabControl1->addTab("No Name");
    SpeedButtonNewTab = toolButton(TabRow, "SpeedButtonNewTab", "+", "New Tab");
    SpeedButtonNewTab->setGeometry(0, 4, 18, 20);
    SpeedButtonDeleteTab = toolButton(TabRow, "SpeedButtonDeleteTab", "x", "Delete Tab");
    SpeedButtonDeleteTab->setGeometry(0, 5, 14, 16);
    connect(SpeedButtonNewTab, &QToolButton::clicked, this, &TNetworkForm::SpeedButtonNewTabClick);
    connect(SpeedButtonDeleteTab, &QToolButton::clicked, this, &TNetworkForm::SpeedButtonDeleteTabClick);
}

void TNetworkForm::createLeftPanel(QWidget *parent)
{
    LeftPanel1 = panel(parent, "LeftPanel1");
    LeftPanel1->setFixedWidth(201);
    ButtonLeftMenuCollapse1 = named(new QPushButton("<", LeftPanel1), "ButtonLeftMenuCollapse1");
    ButtonLeftMenuCollapse1->setToolTip("Show/Hide Left Side Pipe & Node Information");
    ButtonLeftMenuCollapse1->setGeometry(0, 0, 15, 22);
    connect(ButtonLeftMenuCollapse1, &QPushButton::clicked, this, &TNetworkForm::ButtonLeftMenuCollapse1Click);
    TabControlLeftMenu = named(new QTabBar(LeftPanel1), "TabControlLeftMenu");
    TabControlLeftMenu->addTab("Nodes");
    TabControlLeftMenu->addTab("Pipes");
    TabControlLeftMenu->setGeometry(16, 0, 185, 22);
    TabControlLeftMenu->setMouseTracking(true);
    connect(TabControlLeftMenu, &QTabBar::currentChanged, this, &TNetworkForm::TabControlLeftMenuChange);

    GroupBox1 = named(new QGroupBox(LeftPanel1), "GroupBox1");
    GroupBox1->setAutoFillBackground(true);
    GroupBox1->setGeometry(0, 24, 201, 640);
    GroupBox1->setFlat(true);

    PanelNodeHeader = panel(GroupBox1, "PanelNodeHeader");
    EditNodeName = placed(new QLineEdit(PanelNodeHeader), "EditNodeName", {4, 4, 110, 22});
    ComboBoxNodeType = placed(new QComboBox(PanelNodeHeader), "ComboBoxNodeType", {4, 30, 110, 22});
    ComboBoxNodeId = placed(new QComboBox(PanelNodeHeader), "ComboBoxNodeId", {4, 56, 110, 22});
    BitBtnZoomToNode = named(new QPushButton("Zoom", PanelNodeHeader), "BitBtnZoomToNode");
    BitBtnZoomToNode->setToolTip("Zoom to selected node");
    BitBtnZoomToNode->setGeometry(120, 56, 60, 22);
    ImageNodeSymbol = placed(new QLabel(PanelNodeHeader), "ImageNodeSymbol", {150, 4, 48, 48});
    connect(BitBtnZoomToNode, &QPushButton::clicked, this, &TNetworkForm::BitBtnZoomToNodeClick);
    connect(ComboBoxNodeId, &QComboBox::activated, this, &TNetworkForm::ComboBoxNodeIdChange);

    PanelTankTypes = panel(GroupBox1, "PanelTankTypes");
    PanelNodeDetailSupply = panel(GroupBox1, "PanelNodeDetailSupply");
    RightEditSurfacePressure = placed(new TRightEdit(PanelNodeDetailSupply), "RightEditSurfacePressure", {4, 4, 90, 22});
    RightEditLiquidLevel = placed(new TRightEdit(PanelNodeDetailSupply), "RightEditLiquidLevel", {4, 30, 90, 22});
    RightEditTankElevation = placed(new TRightEdit(PanelNodeDetailSupply), "RightEditTankElevation", {4, 56, 90, 22});
    ImageTank1 = named(new QLabel(PanelNodeDetailSupply), "ImageTank1");
    ImageTank1Empty = named(new QLabel(PanelNodeDetailSupply), "ImageTank1Empty");
    ImageEndPressure = named(new QLabel(PanelNodeDetailSupply), "ImageEndPressure");
    PanelNodeDetailJoint = panel(GroupBox1, "PanelNodeDetailJoint");
    RightEditJointElevation = placed(new TRightEdit(PanelNodeDetailJoint), "RightEditJointElevation", {4, 4, 90, 22});
    PanelNodeNotes = panel(GroupBox1, "PanelNodeNotes");
    MemoNodeNotes = placed(new QPlainTextEdit(PanelNodeNotes), "MemoNodeNotes", {4, 4, 193, 52});

    PanelPipes = panel(GroupBox1, "PanelPipes");
    BitBtnReOpenPipe = named(new QPushButton("Open", PanelPipes), "BitBtnReOpenPipe");
    BitBtnShutOff = named(new QPushButton("Close", PanelPipes), "BitBtnShutOff");
    BitBtnReversePipe = named(new QPushButton("Reverse", PanelPipes), "BitBtnReversePipe");
    EditPipeName = placed(new QLineEdit(PanelPipes), "EditPipeName", {4, 4, 110, 22});
    ComboBoxPipeId = placed(new QComboBox(PanelPipes), "ComboBoxPipeId", {4, 46, 110, 22});
    BitBtnZoomToPipe = named(new QPushButton("Zoom", PanelPipes), "BitBtnZoomToPipe");
    BitBtnZoomToPipe->setToolTip("Zoom to selected pipe");
    BitBtnZoomToPipe->setGeometry(120, 46, 60, 22);
    RightEditPipeLength = placed(new TRightEdit(PanelPipes), "RightEditPipeLength", {4, 76, 90, 22});
    RightEditPipeDiameter = placed(new TRightEdit(PanelPipes), "RightEditPipeDiameter", {4, 102, 90, 22});
    RightEditPipeRoughness = placed(new TRightEdit(PanelPipes), "RightEditPipeRoughness", {4, 128, 90, 22});
    MemoPipeNotes = placed(new QPlainTextEdit(PanelPipes), "MemoPipeNotes", {4, 156, 193, 52});
    Bevel1 = named(new QFrame(PanelPipes), "Bevel1");
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setGeometry(0, 72, 201, 1);
    Bevel2 = named(new QFrame(PanelPipes), "Bevel2");
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setGeometry(0, 152, 201, 1);
    ComboBoxPipeColors = placed(new QComboBox(PanelPipes), "ComboBoxPipeColors", {4, 214, 110, 22});
    connect(BitBtnZoomToPipe, &QPushButton::clicked, this, &TNetworkForm::BitBtnZoomToPipeClick);
    connect(ComboBoxPipeId, &QComboBox::activated, this, &TNetworkForm::ComboBoxPipeIdChange);

    ComboBoxFluidZone = placed(new QComboBox(LeftPanel1), "ComboBoxFluidZone", {4, 668, 150, 22});
    PanelResultInfo = panel(LeftPanel1, "PanelResultInfo");
    PanelResultInfo->setGeometry(0, 694, 201, 60);
    LabelInfoTitle = placed(new QLabel(PanelResultInfo), "LabelInfoTitle", {4, 2, 193, 18});
    LabelInfo1 = placed(new QLabel(PanelResultInfo), "LabelInfo1", {4, 20, 193, 38});
    PanelResultsKey = panel(LeftPanel1, "PanelResultsKey");
    PanelResultsColorKey = panel(LeftPanel1, "PanelResultsColorKey");
    PanelCalculating = panel(LeftPanel1, "PanelCalculating");
    PanelCalculating2 = panel(PanelCalculating, "PanelCalculating2");
    GroupBoxCalculating = named(new QGroupBox(PanelCalculating), "GroupBoxCalculating");
    GroupBoxCalculating->setAutoFillBackground(true);
    LabelCalculatingUpdate = named(new QLabel(GroupBoxCalculating), "LabelCalculatingUpdate");
    LabelCalculatingUpdate->setAutoFillBackground(true);
    PanelInvalidSolution = panel(LeftPanel1, "PanelInvalidSolution");
    PanelInvalidSolution->hide();

    // Tab leaves a panel editor through the window's own handling.
    panelEditors_ = {EditNodeName,        ComboBoxNodeType,     RightEditSurfacePressure, RightEditLiquidLevel,
                     RightEditTankElevation, RightEditJointElevation, MemoNodeNotes,  EditPipeName,
                     RightEditPipeLength, RightEditPipeDiameter, RightEditPipeRoughness, MemoPipeNotes};
    for (QWidget *area : {PanelPipes, PanelNodeHeader, PanelNodeDetailJoint, PanelNodeDetailSupply})
        area->setMouseTracking(true);
}

void TNetworkForm::createDrawingArea(QWidget *parent)
{
    ScrollBox1 = named(new QWidget(parent), "ScrollBox1");
    ScrollBox1->setMinimumSize(100, 100);
    NetworkImage = new TNetworkImage(ScrollBox1);
    NetworkImage->move(0, 0);
    // The tool-cursor picture follows the mouse over the drawing; until the
    // mouse comes it waits off the canvas.
    ImageDrawCursorType = named(new QLabel(ScrollBox1), "ImageDrawCursorType");
    ImageDrawCursorType->setFixedSize(32, 32);
    ImageDrawCursorType->move(-50, -50);
    ImageDrawCursorType->hide();
    NetworkImage->OnMouseDown = [this](QMouseEvent *event) {
        const QPoint at = event->position().toPoint();
        NetworkImageMouseDown(event->button(), (event->buttons() & Qt::LeftButton) != 0,
                              event->type() == QEvent::MouseButtonDblClick, at.x(), at.y());
    };
    NetworkImage->OnMouseMove = [this](QMouseEvent *event) {
        const QPoint at = event->position().toPoint();
        NetworkImageMouseMove((event->buttons() & Qt::LeftButton) != 0, at.x(), at.y());
    };
    NetworkImage->OnMouseUp = [this](QMouseEvent *event) {
        const QPoint at = event->position().toPoint();
        NetworkImageMouseUp(event->button(), at.x(), at.y());
    };
    NetworkImage->OnResize = [this] {
        NetworkImage->Picture = QImage(NetworkImage->size(), QImage::Format_RGB32);
        DrawNetworkImageFromMetaFileAutomatic(MetaFileOffsetX, MetaFileOffsetY);
    };
    ScrollBar1 = named(new QScrollBar(Qt::Horizontal, parent), "ScrollBar1");
    ScrollBar2 = named(new QScrollBar(Qt::Vertical, parent), "ScrollBar2");
    connect(ScrollBar1, &QScrollBar::valueChanged, this, &TNetworkForm::ScrollBar1Change);
    connect(ScrollBar2, &QScrollBar::valueChanged, this, &TNetworkForm::ScrollBar2Change);
}

void TNetworkForm::createTimers()
{
    auto timer = [this](const char *name) {
        auto *t = named(new QTimer(this), name);
        return t;
    };
    TimerAutoSave = timer("TimerAutoSave");
    TimerSplashOff = timer("TimerSplashOff");
    TimerNodePanelHighlight = timer("TimerNodePanelHighlight");
    TimerPipePanelHighlight = timer("TimerPipePanelHighlight");
    TimerStatusBarHint = timer("TimerStatusBarHint");
    TimerCalculating = timer("TimerCalculating");
    connect(TimerSplashOff, &QTimer::timeout, this, &TNetworkForm::TimerSplashOffTimer);
    connect(TimerStatusBarHint, &QTimer::timeout, this, &TNetworkForm::TimerStatusBarHintTimer);
}

} // namespace tessaran
