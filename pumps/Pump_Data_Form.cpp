#include "pumps/Pump_Data_Form.h"

#include <array>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>

#include "docexport/Pdf_Ex_Engine.h"
#include "model/Pipe_Class.h"
#include "network/Network_Class.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Named_Widget.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Popup_Form.h"
#include "pumps/Pump_Sheet_Image_Form.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

// Boxes the editor disables are painted grey; enabled ones in the window colour.
const QColor DisabledBoxColour{224, 224, 224};

const std::array<TUnit, PumpFlowUnitItems> FlowUnits = {
    unt_m3_sec,   unt_m3_min,    unt_m3_hour,    unt_L_sec,  unt_L_min,  unt_L_hour,  unt_ft3_sec,
    unt_ft3_min,  unt_ft3_hour,  unt_inch3_sec,  unt_inch3_min, unt_inch3_hour, unt_gpm_UK, unt_gpm_USA,
    unt_kg_sec,   unt_kg_min,    unt_kg_hour,    unt_lb_sec, unt_lb_min, unt_lb_hour};
const std::array<TUnit, PumpHeadUnitItems> HeadUnits = {unt_m_hd_fluid, unt_ft_hd_fluid, unt_mm_hd_fluid,
                                                        unt_in_hd_fluid, unt_Bar_G,      unt_Psi_G,
                                                        unt_kPa_G,       unt_mm_Hg,      unt_in_Hg,
                                                        unt_mm_H2O,      unt_in_H2O};
const std::array<TUnit, PumpHeadUnitItems> NPSHrUnits = {
    unt_m_hd_fluid, unt_ft_hd_fluid, unt_mm_hd_fluid, unt_in_hd_fluid, unt_m_hd_fluid, unt_ft_hd_fluid,
    unt_m_hd_fluid, unt_m_hd_fluid,  unt_ft_hd_fluid, unt_m_hd_fluid,  unt_ft_hd_fluid};
const std::array<TUnit, PumpDiameterUnitItems> DiameterUnits = {unt_m, unt_mm, unt_ft, unt_inch};

const char *const FlowUnitCaptions[] = {"m³/sec", "m³/min", "m³/hour", "l/sec",    "l/min",    "l/hour", "ft³/sec",
                                        "ft³/min", "ft³/hour", "in³/sec", "in³/min", "in³/hour", "UK gpm", "US gpm",
                                        "kg/sec", "kg/min", "kg/hour", "lb/sec",   "lb/min",   "lb/hour"};
const char *const SetHeadCaptions[] = {"m Fluid", "ft Fluid", "mm Fluid", "in. Fluid", "bar.g", "psi.g",
                                       "kPa.g",   "mm Hg",    "in. Hg",   "mm H20",    "in. H20"};
const char *const DiameterCaptions[] = {"metres", "millimetres", "feet", "inches"};

const char *const Memo1Lines[] = {"Note:",
                                  "When the Pump's speed and impeller ",
                                  "diameter ",
                                  "are specified (and they are not zero)",
                                  "",
                                  "and the following are also specified ",
                                  "(and they are not zero)",
                                  "",
                                  "Min Speed",
                                  "Max Speed ",
                                  "Min Impeller Diameter ",
                                  "Max Impeller Diameter ",
                                  "",
                                  "then the software can predict pump",
                                  "performance data for:",
                                  "",
                                  "changes in pump speed ",
                                  "changes in impeller diameter",
                                  "changes in power and pump efficiency"};

const char *const Memo2Lines[] = {
    "Notes (scroll down to read):", "", "PUMP AFFINITY LAWS", "",
    "Predicted Flow: q2 = q1 * (s2/s1) * (d2/d1)", "Predicted Head: h2 = h1 * (s2/s1)^2 * (d2/d1)^2",
    "Predicted Power: p2 = p1 * (s2/s1)^3 * (d2/d1)^3", "", "where", "", "s1=Speed (original curve)",
    "d1=Impeller Diameter (original curve) ", "q1=Flow (on original curve)", "h1=Head (on original curve)",
    "p1=Power (on original curve)", "", "s2=Speed (new curve)", "d2=Impeller diameter (new curve)",
    "q2=Predicted Flow (on new curve)", "h2=Head (on new curve)", "p2=Predicted Power (on new curve)", "",
    "Pump affinity laws allow prediction of pump", "performance at different speeds and different",
    "impeller sizes, however they do not take", "account of real-world performance and the",
    "actual variation in performance that is", "specific to a particular pump.", "", "",
    "REAL WORLD PERFORMANCE AND MODELING", "", "Tessaran provides further customization",
    "of performance data through the use of variable", "multipliers, which are used to adjust the affinity",
    "laws for real-world performance, when predicting", "the pump curves for the specified minimum and ",
    "maximum impeller diameters, and for specified", "minimum and maximum speeds.", "",
    "In addition, for each curve point there is an", "individual multiplier which is then applied to",
    "the predicted efficiency to provide a precise", "adjustment of efficiency values (if required).", "",
    "The custom mutilpliers allow Tessaran", "to accurately model performance data of any",
    "pump across a range of impeller sizes running", "at different speed.", "",
    "The user interface provide sliders and up/down", "adjustment buttons which allow the user to",
    "change the pump performance data in real-time,", "to match for example an imported scanned image",
    "of a real-world pump performance graph.", "", "Points inbetween the predicted minimum impeller ",
    "diameter curve and the predicted maximum impeller", "diameter curve are then calculated using a ",
    "proprietary algorithm to provide pump curve data", "across the whole pump graph for any changes in ",
    "pump speed and impeller diameter.", "", "For further information refer to the User Guide.", "", ""};

QString Lines(std::initializer_list<const char *>) = delete;
template <std::size_t N>
QString Lines(const char *const (&lines)[N])
{
    QStringList list;
    for (const char *line : lines)
        list << QString::fromUtf8(line);
    return list.join(QLatin1Char('\n'));
}

TPumpDataForm *instance = nullptr;
void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

} // namespace

TUnit PumpFlowUnitOfItem(int index)
{
    return index >= 0 && index < PumpFlowUnitItems ? FlowUnits[static_cast<std::size_t>(index)] : unt_m3_sec;
}
int PumpFlowItemOfUnit(TUnit unit)
{
    for (int i = 0; i < PumpFlowUnitItems; ++i)
        if (FlowUnits[static_cast<std::size_t>(i)] == unit)
            return i;
    return -1;
}
TUnit PumpHeadUnitOfItem(int index)
{
    return index >= 0 && index < PumpHeadUnitItems ? HeadUnits[static_cast<std::size_t>(index)] : unt_m_hd_fluid;
}
int PumpHeadItemOfUnit(TUnit unit)
{
    for (int i = 0; i < PumpHeadUnitItems; ++i)
        if (HeadUnits[static_cast<std::size_t>(i)] == unit)
            return i;
    return -1;
}
TUnit PumpNPSHrUnitOfHeadItem(int index)
{
    return index >= 0 && index < PumpHeadUnitItems ? NPSHrUnits[static_cast<std::size_t>(index)] : unt_m_hd_fluid;
}
TUnit PumpDiameterUnitOfItem(int index)
{
    return index >= 0 && index < PumpDiameterUnitItems ? DiameterUnits[static_cast<std::size_t>(index)] : unt_m;
}
int PumpDiameterItemOfUnit(TUnit unit)
{
    for (int i = 0; i < PumpDiameterUnitItems; ++i)
        if (DiameterUnits[static_cast<std::size_t>(i)] == unit)
            return i;
    return -1;
}

// --- construction ---------------------------------------------------------------

TPumpDataForm::TPumpDataForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PumpDataForm"));
    setWindowTitle(QStringLiteral("Pump Data"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(921, 676 + 23 + 23);

    buildMenusAndTools();
    buildPumpDataSide();
    buildGraphSide();
    buildIconPanel();
    connectEntries();
    connectGrid();
    connectAdjustment();
    connectViews();
    connectPumpFiles();
    connectPdfSheet();
    if (!OpenCurveImageDigitiser)
        OpenCurveImageDigitiser = [](TPump &ThePump, const TFluid &TheFluid) {
            TPumpSheetImageForm::OpenForm(ThePump, TheFluid);
        };

    PumpGraphSmall = std::make_unique<TGraph>(nullptr, 96, ImagePumpCurve->width(), ImagePumpCurve->height());
    PumpGraphLarge =
        std::make_unique<TGraph>(nullptr, 96, ImagePumpCurveLarge->width(), ImagePumpCurveLarge->height());
    SavedPump.Clear();
    EditedPump.Clear();
    writeGridTitles();
}

TPumpDataForm::~TPumpDataForm() = default;

TPumpDataForm &TPumpDataForm::Instance()
{
    if (!instance) {
        instance = new TPumpDataForm;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

void TPumpDataForm::buildMenusAndTools()
{
    MainMenu = Named<QMenuBar>("MainMenu", this);
    MainMenu->setGeometry(0, 0, 921, 22);
    auto action = [this](QMenu *menu, const char *name, const char *caption) {
        QAction *a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu *file = MainMenu->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    LoadfromPumpDatabase1 = action(file, "LoadfromPumpDatabase1", "Open Pump Database");
    SavetoPumpDatabase1 = action(file, "SavetoPumpDatabase1", "Add to Pump Database");
    file->addSeparator();
    LoadPump1 = action(file, "LoadPump1", "Load Standalone Pump File");
    SavePump1 = action(file, "SavePump1", "Save Standalone Pump File");
    file->addSeparator();
    SaveToPipe1 = action(file, "SaveToPipe1", "Save Pump (to pipe)");
    file->addSeparator();
    Exit1 = action(file, "Exit1", "Exit");
    QMenu *edit = MainMenu->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    GraphOptions1 = action(edit, "GraphOptions1", "Graph Options");
    CopyGraphImage1 = action(edit, "CopyGraphImage1", "Copy Graph Image");
    QMenu *graph = MainMenu->addMenu(QStringLiteral("Graph"));
    graph->setObjectName(QStringLiteral("Graph1"));
    DrawGraph1 = action(graph, "DrawGraph1", "Draw Graph");
    graph->addSeparator();
    ImportLogoImageontograph1 = action(graph, "ImportLogoImageontograph1", "Import Logo Image (on to graph)");
    ImportPumpSheetImage1 = action(graph, "ImportPumpSheetImage1", "Import Curve Image (to trace over)");
    graph->addSeparator();
    CreatePDFPumpSheet1 = action(graph, "CreatePDFPumpSheet1", "Create PDF Pump Sheet");

    ToolBar1 = Named<QToolBar>("ToolBar1", this);
    ToolBar1->setGeometry(0, 22, 921, 23);
    auto tool = [this](const char *name, const char *hint, const char *caption = "") {
        auto *button = Named<QToolButton>(name, ToolBar1);
        button->setToolTip(QString::fromUtf8(hint));
        button->setText(QString::fromUtf8(*caption ? caption : hint));
        ToolBar1->addWidget(button);
        return button;
    };
    ToolButtonLoadPump = tool("ToolButtonLoadPump", "Load Pump from File");
    ToolButtonSavePump = tool("ToolButtonSavePump", "Save Pump to File");
    ToolButtonOpenPumpDatabase = tool("ToolButtonOpenPumpDatabase", "Open Pump Database");
    ToolButtonAddToPumpDatabase = tool("ToolButtonAddToPumpDatabase", "Add to Pump Database");
    ToolButtonImportCurveImage = tool("ToolButtonImportCurveImage", "Import Pump Curve Image (to trace over)");
    ToolButtonPDF = tool("ToolButtonPDF", "Create PDF Pump Sheet", "PDF");
    ToolButtonGraphOptions = tool("ToolButtonGraphOptions", "Graph Options");
    ToolButtonDrawGraph = tool("ToolButtonDrawGraph", "Draw Graph");
    ToolButtonCopyGraph = tool("ToolButtonCopyGraph", "Copy Graph Image to Clipboard");
    ToolBar1->addSeparator();
    auto toolBarButton = [this](const char *name, const char *caption) {
        auto *button = Named<QPushButton>(name, QString::fromUtf8(caption), ToolBar1);
        button->setAutoDefault(false);
        ToolBar1->addWidget(button);
        return button;
    };
    BitBtnOpenPumpDatabase = toolBarButton("BitBtnOpenPumpDatabase", "Open Pump Database");
    BitBtnAddPumpToDatabase = toolBarButton("BitBtnAddPumpToDatabase", "Add Pump to Database");
    BitBtnImportCurveImage = toolBarButton("BitBtnImportCurveImage", "Import Curve Image  ");
    BitBtnCreatePumpSheet = toolBarButton("BitBtnCreatePumpSheet", "Create Pump Sheet ");

    connect(SaveToPipe1, &QAction::triggered, this, [this] { SaveToPipe1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(DrawGraph1, &QAction::triggered, this, [this] { DrawGraph1Click(); });
    connect(ToolButtonDrawGraph, &QToolButton::clicked, this, [this] { DrawGraph1Click(); });
}

void TPumpDataForm::buildPumpDataSide()
{
    const int top = 45;
    GroupBoxPumpData = Named<QGroupBox>("GroupBoxPumpData", QStringLiteral(" Pump Data "), this);
    GroupBoxPumpData->setGeometry(8, top + 2, 326, 635);
    QWidget *g = GroupBoxPumpData;

    auto *labelName = new QLabel(QStringLiteral("Name"), g);
    labelName->setGeometry(10, 22, 50, 18);
    EditPumpName = Named<QLineEdit>("EditPumpName", g);
    EditPumpName->setGeometry(62, 20, 120, 20);
    EditPumpName->setMaxLength(20);
    auto *labelElevation = new QLabel(QStringLiteral("Elevation"), g);
    labelElevation->setGeometry(10, 48, 50, 18);
    RightEditElevation = Named<TRightEdit>("RightEditElevation", g);
    RightEditElevation->setGeometry(62, 46, 70, 20);
    RightEditElevation->setEnabled(false);
    LabelElevationUnit = Named<QLabel>("LabelElevationUnit", g);
    LabelElevationUnit->setGeometry(136, 48, 40, 18);
    ImagePumpSymbol = Named<TImageBox>("ImagePumpSymbol", 100, 60, g);
    ImagePumpSymbol->move(190, 14);
    BitBtnPumpIcon = Named<QPushButton>("BitBtnPumpIcon", QStringLiteral("Icon"), g);
    BitBtnPumpIcon->setGeometry(290, 30, 32, 22);

    GroupBoxModelPump = Named<QGroupBox>("GroupBoxModelPump", QStringLiteral(" Model Pump for "), g);
    GroupBoxModelPump->setGeometry(4, 76, 318, 408);
    QWidget *m = GroupBoxModelPump;
    RadioButtonFixedFlow = Named<QRadioButton>("RadioButtonFixedFlow", QStringLiteral("Set Flow Rate"), m);
    RadioButtonFixedFlow->setGeometry(8, 18, 120, 20);
    RightEditSetFlowRate = Named<TRightEdit>("RightEditSetFlowRate", m);
    RightEditSetFlowRate->setGeometry(130, 18, 80, 20);
    ComboBoxSetFlowUnits = Named<QComboBox>("ComboBoxSetFlowUnits", m);
    ComboBoxSetFlowUnits->setGeometry(214, 18, 96, 20);
    for (const char *caption : FlowUnitCaptions)
        ComboBoxSetFlowUnits->addItem(QString::fromUtf8(caption));
    RadioButtonFixedHeadRise = Named<QRadioButton>("RadioButtonFixedHeadRise", QStringLiteral("Set Head Increase"), m);
    RadioButtonFixedHeadRise->setGeometry(8, 42, 120, 20);
    RightEditSetFixedHead = Named<TRightEdit>("RightEditSetFixedHead", m);
    RightEditSetFixedHead->setGeometry(130, 42, 80, 20);
    ComboBoxSetFixedHeadUnits = Named<QComboBox>("ComboBoxSetFixedHeadUnits", m);
    ComboBoxSetFixedHeadUnits->setGeometry(214, 42, 96, 20);
    for (const char *caption : SetHeadCaptions)
        ComboBoxSetFixedHeadUnits->addItem(QString::fromUtf8(caption));
    LabelOrigCurveText = Named<QLabel>("LabelOrigCurveText", QStringLiteral("Edit Orig Curve:"), m);
    LabelOrigCurveText->setGeometry(8, 66, 84, 18);
    LabelOrigCurveText->setCursor(Qt::PointingHandCursor);
    LabelOrigCurveText->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    LabelOrigCurveText->installEventFilter(this);
    LabelOrigCurve = Named<QLabel>("LabelOrigCurve", m);
    LabelOrigCurve->setGeometry(94, 66, 220, 18);
    RadioButtonFixedSpeed = Named<QRadioButton>("RadioButtonFixedSpeed", QStringLiteral("Set Speed"), m);
    RadioButtonFixedSpeed->setGeometry(8, 88, 120, 20);
    RightEditPumpSpeed = Named<TRightEdit>("RightEditPumpSpeed", m);
    RightEditPumpSpeed->setGeometry(130, 88, 80, 20);
    (new QLabel(QStringLiteral("rpm"), m))->setGeometry(214, 90, 30, 18);
    (new QLabel(QStringLiteral("Set Impeller Diameter"), m))->setGeometry(26, 114, 104, 18);
    RightEditImpellerDiameter = Named<TRightEdit>("RightEditImpellerDiameter", m);
    RightEditImpellerDiameter->setGeometry(130, 112, 80, 20);
    ComboBoxImpellerDiameterUnits = Named<QComboBox>("ComboBoxImpellerDiameterUnits", m);
    ComboBoxImpellerDiameterUnits->setGeometry(214, 112, 96, 20);
    for (const char *caption : DiameterCaptions)
        ComboBoxImpellerDiameterUnits->addItem(QString::fromUtf8(caption));
    for (QRadioButton *button : {RadioButtonFixedFlow, RadioButtonFixedHeadRise, RadioButtonFixedSpeed})
        button->setAutoExclusive(false);

    StringGridPumpPoints = Named<QTableWidget>("StringGridPumpPoints", 12, 4, m);
    StringGridPumpPoints->setGeometry(14, 140, 74 + 70 + 69 + 69 + 4, 12 * 20 + 4);
    StringGridPumpPoints->horizontalHeader()->hide();
    StringGridPumpPoints->verticalHeader()->hide();
    StringGridPumpPoints->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridPumpPoints->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int widths[] = {74, 70, 69, 69};
    for (int c = 0; c < 4; ++c)
        StringGridPumpPoints->setColumnWidth(c, widths[c]);
    for (int r = 0; r < 12; ++r) {
        StringGridPumpPoints->setRowHeight(r, 20);
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem;
            if (r < 2 || (r == 2 && (c == 0 || c == 2)))
                item->setFlags(Qt::ItemIsEnabled);
            StringGridPumpPoints->setItem(r, c, item);
        }
    }
    StringGridPumpPoints->setTabKeyNavigation(true);
    StringGridPumpPoints->setSelectionMode(QAbstractItemView::ContiguousSelection);
    ComboBoxPumpFlowUnits = Named<QComboBox>("ComboBoxPumpFlowUnits");
    for (const char *caption : FlowUnitCaptions)
        ComboBoxPumpFlowUnits->addItem(QString::fromUtf8(caption));
    ComboBoxPumpHeadUnits = Named<QComboBox>("ComboBoxPumpHeadUnits");
    for (const char *caption : {"m Fluid", "ft Fluid", "mm Fluid", "in. Fluid", "bar.g", "psi.g", "kPa.g", "mm Hg",
                                "in. Hg", "mm.H²O", "in.H²O"})
        ComboBoxPumpHeadUnits->addItem(QString::fromUtf8(caption));
    StringGridPumpPoints->setCellWidget(1, 0, ComboBoxPumpFlowUnits);
    StringGridPumpPoints->setCellWidget(1, 1, ComboBoxPumpHeadUnits);

    PanelWarning = Named<QFrame>("PanelWarning", m);
    PanelWarning->setGeometry(4, 18, 310, 60);
    PanelWarning->setAutoFillBackground(true);
    PanelWarning->setStyleSheet(QStringLiteral("QFrame#PanelWarning { background: yellow; }"));
    auto *warning = new QLabel(
        QStringLiteral("In Results Mode, the Flow and Head values are shown in the units specified on the 'Units' "
                       "configuration screen."),
        PanelWarning);
    warning->setObjectName(QStringLiteral("LabelWarning"));
    warning->setWordWrap(true);
    warning->setGeometry(6, 4, 298, 52);
    PanelWarning->hide();

    GroupBoxPreferredRegion =
        Named<QGroupBox>("GroupBoxPreferredRegion", QStringLiteral(" Preferred Operating Region "), g);
    GroupBoxPreferredRegion->setGeometry(4, 488, 318, 46);
    (new QLabel(QStringLiteral("From"), GroupBoxPreferredRegion))->setGeometry(10, 20, 30, 18);
    RightEditPreferredOpRegionFromPercent = Named<TRightEdit>("RightEditPreferredOpRegionFromPercent", GroupBoxPreferredRegion);
    RightEditPreferredOpRegionFromPercent->setGeometry(44, 18, 50, 20);
    (new QLabel(QStringLiteral("% to"), GroupBoxPreferredRegion))->setGeometry(98, 20, 30, 18);
    RightEditPreferredOpRegionToPercent = Named<TRightEdit>("RightEditPreferredOpRegionToPercent", GroupBoxPreferredRegion);
    RightEditPreferredOpRegionToPercent->setGeometry(130, 18, 50, 20);
    (new QLabel(QStringLiteral("% of BEP flow"), GroupBoxPreferredRegion))->setGeometry(184, 20, 100, 18);

    auto button = [g](const char *name, const char *caption, int x, int y) {
        auto *b = Named<QPushButton>(name, QString::fromUtf8(caption), g);
        b->setGeometry(x, y, 150, 26);
        b->setAutoDefault(false);
        return b;
    };
    BitBtnClearPump = button("BitBtnClearPump", "Clear Pump Curve", 8, 540);
    BitBtnDeletePump = button("BitBtnDeletePump", "Delete Pump", 8, 570);
    BitBtnCancelPump = button("BitBtnCancelPump", "Cancel and Close", 8, 600);
    BitBtnGraphOptions = button("BitBtnGraphOptions", "Graph Options", 166, 540);
    BitBtnDrawGraph = button("BitBtnDrawGraph", "Draw Graph", 166, 570);
    BitBtnSavePump = button("BitBtnSavePump", "Save Pump to Pipe", 166, 600);

    connect(RadioButtonFixedSpeed, &QRadioButton::clicked, this, [this] { RadioButtonFixedSpeedClick(); });
    connect(RadioButtonFixedFlow, &QRadioButton::clicked, this, [this] { RadioButtonFixedFlowClick(); });
    connect(RadioButtonFixedHeadRise, &QRadioButton::clicked, this, [this] { RadioButtonFixedHeadRiseClick(); });
    connect(BitBtnSavePump, &QPushButton::clicked, this, [this] { SaveToPipe1Click(); });
    connect(BitBtnClearPump, &QPushButton::clicked, this, [this] { BitBtnClearPumpClick(); });
    connect(BitBtnDeletePump, &QPushButton::clicked, this, [this] { BitBtnDeletePumpClick(); });
    connect(BitBtnCancelPump, &QPushButton::clicked, this, [this] { BitBtnCancelPumpClick(); });
    connect(BitBtnDrawGraph, &QPushButton::clicked, this, [this] { DrawGraph1Click(); });
}

void TPumpDataForm::buildGraphSide()
{
    const int top = 45;
    GroupBoxPumpGraph = Named<QGroupBox>("GroupBoxPumpGraph", QStringLiteral(" Pump Performance Curve "), this);
    GroupBoxPumpGraph->setGeometry(342, top + 2, 570, 635);
    QWidget *g = GroupBoxPumpGraph;

    auto labelled = [g](const char *caption, int x, int y, int w) {
        (new QLabel(QString::fromUtf8(caption), g))->setGeometry(x, y, w, 16);
    };
    labelled("Pump Catalog", 8, 16, 90);
    EditPumpCatalog = Named<QLineEdit>("EditPumpCatalog", g);
    EditPumpCatalog->setGeometry(8, 32, 110, 20);
    labelled("Manufacturer", 122, 16, 90);
    EditPumpManufacturer = Named<QLineEdit>("EditPumpManufacturer", g);
    EditPumpManufacturer->setGeometry(122, 32, 110, 20);
    labelled("Type", 236, 16, 90);
    EditPumpType = Named<QLineEdit>("EditPumpType", g);
    EditPumpType->setGeometry(236, 32, 90, 20);
    labelled("Motor rpm", 330, 16, 70);
    RightEditPumpMotorRpm = Named<TRightEdit>("RightEditPumpMotorRpm", g);
    RightEditPumpMotorRpm->setGeometry(330, 32, 70, 20);
    labelled("Pump Size", 404, 16, 80);
    EditPumpSize = Named<QLineEdit>("EditPumpSize", g);
    EditPumpSize->setGeometry(404, 32, 100, 20);
    labelled("Stages", 508, 16, 50);
    RightEditPumpStages = Named<TRightEdit>("RightEditPumpStages", g);
    RightEditPumpStages->setGeometry(508, 32, 50, 20);
    for (QLineEdit *box : {EditPumpCatalog, EditPumpManufacturer, EditPumpType})
        box->setMaxLength(30);
    EditPumpSize->setMaxLength(20);

    GroupBoxPumpNotes = Named<QGroupBox>("GroupBoxPumpNotes", QStringLiteral(" Notes "), g);
    GroupBoxPumpNotes->setGeometry(8, 56, 300, 64);
    MemoPumpNotes = Named<QPlainTextEdit>("MemoPumpNotes", GroupBoxPumpNotes);
    MemoPumpNotes->setGeometry(6, 16, 288, 44);
    MemoPumpNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    labelled("Min Speed", 316, 62, 60);
    RightEditPumpSpeedMinRpm = Named<TRightEdit>("RightEditPumpSpeedMinRpm", g);
    RightEditPumpSpeedMinRpm->setGeometry(380, 60, 60, 20);
    labelled("rpm", 444, 62, 30);
    labelled("Max Speed", 316, 84, 60);
    RightEditPumpSpeedMaxRpm = Named<TRightEdit>("RightEditPumpSpeedMaxRpm", g);
    RightEditPumpSpeedMaxRpm->setGeometry(380, 82, 60, 20);
    labelled("rpm", 444, 84, 30);
    labelled("Min Impeller", 316, 106, 60);
    RightEditImpellerDiameterMin = Named<TRightEdit>("RightEditImpellerDiameterMin", g);
    RightEditImpellerDiameterMin->setGeometry(380, 104, 60, 20);
    LabelPumpMinDiam = Named<QLabel>("LabelPumpMinDiam", g);
    LabelPumpMinDiam->setGeometry(444, 106, 70, 16);
    labelled("Max Impeller", 316, 128, 60);
    RightEditImpellerDiameterMax = Named<TRightEdit>("RightEditImpellerDiameterMax", g);
    RightEditImpellerDiameterMax->setGeometry(380, 126, 60, 20);
    LabelPumpMaxDiam = Named<QLabel>("LabelPumpMaxDiam", g);
    LabelPumpMaxDiam->setGeometry(444, 128, 70, 16);

    ImagePumpCurve = Named<TImageBox>("ImagePumpCurve", 550, 400, g);
    ImagePumpCurve->move(10, 154);
    labelled("Speed", 10, 560, 40);
    RightEditPumpSpeedRpmGraph = Named<TRightEdit>("RightEditPumpSpeedRpmGraph", g);
    RightEditPumpSpeedRpmGraph->setGeometry(50, 558, 60, 20);
    UpDownSpeedUp = Named<QToolButton>("UpDownSpeedUp", g);
    UpDownSpeedUp->setArrowType(Qt::UpArrow);
    UpDownSpeedUp->setGeometry(112, 558, 16, 10);
    UpDownSpeedDown = Named<QToolButton>("UpDownSpeedDown", g);
    UpDownSpeedDown->setArrowType(Qt::DownArrow);
    UpDownSpeedDown->setGeometry(112, 568, 16, 10);
    labelled("Diameter", 136, 560, 50);
    RightEditPumpImpellerDiameterGraph = Named<TRightEdit>("RightEditPumpImpellerDiameterGraph", g);
    RightEditPumpImpellerDiameterGraph->setGeometry(186, 558, 60, 20);
    UpDownImpellerDiameterUp = Named<QToolButton>("UpDownImpellerDiameterUp", g);
    UpDownImpellerDiameterUp->setArrowType(Qt::UpArrow);
    UpDownImpellerDiameterUp->setGeometry(248, 558, 16, 10);
    UpDownImpellerDiameterDown = Named<QToolButton>("UpDownImpellerDiameterDown", g);
    UpDownImpellerDiameterDown->setArrowType(Qt::DownArrow);
    UpDownImpellerDiameterDown->setGeometry(248, 568, 16, 10);
    BitBtnEnlargeGraph = Named<QPushButton>("BitBtnEnlargeGraph", QStringLiteral("Enlarge"), g);
    BitBtnEnlargeGraph->setGeometry(470, 556, 80, 22);
    BitBtnAddLogo = Named<QPushButton>("BitBtnAddLogo", QStringLiteral("Logo"), g);
    BitBtnAddLogo->setGeometry(390, 556, 76, 22);
    for (QPushButton *b : {BitBtnEnlargeGraph, BitBtnAddLogo})
        b->setAutoDefault(false);

    GroupBoxShowPoint = Named<QGroupBox>("GroupBoxShowPoint", g);
    GroupBoxShowPoint->setGeometry(8, 582, 552, 48);
    QWidget *s = GroupBoxShowPoint;
    LabelShowFlow = Named<QLabel>("LabelShowFlow", s);
    LabelShowFlow->setGeometry(6, 6, 100, 16);
    RightEditFlow = Named<TRightEdit>("RightEditFlow", s);
    RightEditFlow->setGeometry(6, 22, 80, 20);
    LabelShowHead = Named<QLabel>("LabelShowHead", s);
    LabelShowHead->setGeometry(110, 6, 100, 16);
    RightEditHead = Named<TRightEdit>("RightEditHead", s);
    RightEditHead->setGeometry(110, 22, 80, 20);
    ButtonCalcCurvePoint = Named<QPushButton>("ButtonCalcCurvePoint", QStringLiteral("Calculate"), s);
    ButtonCalcCurvePoint->setGeometry(196, 20, 70, 22);
    ButtonCalcCurvePoint->setAutoDefault(false);
    LabelShowEffic = Named<QLabel>("LabelShowEffic", s);
    LabelShowEffic->setGeometry(272, 6, 90, 16);
    LabelShowNPSHr = Named<QLabel>("LabelShowNPSHr", s);
    LabelShowNPSHr->setGeometry(366, 6, 90, 16);
    LabelShowPower = Named<QLabel>("LabelShowPower", s);
    LabelShowPower->setGeometry(460, 6, 90, 16);

    GroupBoxGraphMessage = Named<QGroupBox>("GroupBoxGraphMessage", g);
    GroupBoxGraphMessage->setGeometry(20, 20, 400, 160);
    LabelGraphMessage = Named<QLabel>("LabelGraphMessage", GroupBoxGraphMessage);
    LabelGraphMessage->setWordWrap(true);
    LabelGraphMessage->setGeometry(8, 8, 384, 144);
    BitBtnMoveToProblemDiam = Named<QPushButton>("BitBtnMoveToProblemDiam", QStringLiteral("Show Problem Efficiency Line"),
                                                 GroupBoxGraphMessage);
    BitBtnMoveToProblemDiam->setGeometry(8, 132, 200, 22);
    BitBtnMoveToProblemDiam->setAutoDefault(false);
    BitBtnMoveToProblemDiam->hide();
    LabelGraphMessage->setGeometry(8, 8, 384, 120);
    GroupBoxGraphMessage->hide();
    GroupBoxImageOpacity2 = Named<QGroupBox>("GroupBoxImageOpacity2", QStringLiteral(" Fade "), g);
    GroupBoxImageOpacity2->setGeometry(280, 554, 100, 26);
    GroupBoxImageOpacity2->hide();
    PanelPointEfficiencies = Named<QFrame>("PanelPointEfficiencies", g);
    PanelPointEfficiencies->setGeometry(300, 330, 250, 160);
    PanelPointEfficiencies->setEnabled(false);
    PanelPointEfficiencies->hide();


    Panel2 = Named<QFrame>("Panel2", this);
    Panel2->setGeometry(0, 45, 921, 676);
    Panel2->setAutoFillBackground(true);
    ImagePumpCurveLarge = Named<TImageBox>("ImagePumpCurveLarge", 900, 620, Panel2);
    ImagePumpCurveLarge->move(10, 40);
    auto arrow = [this](const char *name, Qt::ArrowType type, int x, int y) {
        auto *b = Named<QToolButton>(name, Panel2);
        b->setArrowType(type);
        b->setGeometry(x, y, 16, 10);
        return b;
    };
    UpDownSpeedLargeGraphUp = arrow("UpDownSpeedLargeGraphUp", Qt::UpArrow, 200, 10);
    UpDownSpeedLargeGraphDown = arrow("UpDownSpeedLargeGraphDown", Qt::DownArrow, 200, 20);
    UpDownImpellerDiameterLargeGraphUp = arrow("UpDownImpellerDiameterLargeGraphUp", Qt::UpArrow, 400, 10);
    UpDownImpellerDiameterLargeGraphDown = arrow("UpDownImpellerDiameterLargeGraphDown", Qt::DownArrow, 400, 20);
    GroupBoxImageOpacity = Named<QGroupBox>("GroupBoxImageOpacity", QStringLiteral(" Fade "), Panel2);
    GroupBoxImageOpacity->setGeometry(600, 4, 140, 30);
    GroupBoxImageOpacity->hide();
    Panel2->hide();

    GroupBoxNoteSingleCurve = Named<QGroupBox>("GroupBoxNoteSingleCurve", QStringLiteral(" Pump Data "), g);
    GroupBoxNoteSingleCurve->setGeometry(14, 160, 260, 320);
    Memo1 = Named<QPlainTextEdit>("Memo1", GroupBoxNoteSingleCurve);
    Memo1->setGeometry(6, 16, 248, 298);
    Memo1->setReadOnly(true);
    Memo1->setPlainText(Lines(Memo1Lines));
    GroupBoxNoteSingleCurve->hide();
    GroupBoxNotes = Named<QGroupBox>("GroupBoxNotes", QStringLiteral(" Notes "), g);
    GroupBoxNotes->setGeometry(14, 160, 300, 380);
    Memo2 = Named<QPlainTextEdit>("Memo2", GroupBoxNotes);
    Memo2->setGeometry(6, 16, 288, 358);
    Memo2->setReadOnly(true);
    Memo2->setPlainText(Lines(Memo2Lines));
    {
        QPalette tip = Memo2->palette();
        tip.setColor(QPalette::Base, QApplication::palette().color(QPalette::ToolTipBase));
        Memo2->setPalette(tip);
    }
    GroupBoxNotes->hide();
    buildAdjustmentPanel();
    buildViewControls();
}

// --- opening ----------------------------------------------------------------------

void TPumpDataForm::OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                             bool &DeletePump, bool ResultsMode)
{
    Instance().Open(ThePumpDatabase, ThePump, ThePipeId, TheNetwork, DeletePump, ResultsMode);
}

double TPumpDataForm::atmosphere() const { return network_ ? network_->ConfigOptions.Atmosphere_bar_a : 1.01325; }

void TPumpDataForm::setBoxEnabled(QWidget *box, bool enabled)
{
    box->setEnabled(enabled);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, enabled ? QApplication::palette().color(QPalette::Base) : DisabledBoxColour);
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     enabled ? QApplication::palette().color(QPalette::Base) : DisabledBoxColour);
    box->setPalette(palette);
}

void TPumpDataForm::Open(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork,
                         bool &DeletePump, bool ResultsMode)
{
    // 1.
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(241, 250, 255));
    setPalette(background);
    setAutoFillBackground(true);
    deleted_ = false;
    DeletePump = false;
    BitBtnDrawGraph->setText(QStringLiteral("Draw Graph"));
    PanelPumpIcon->hide();
    PanelPumpIcon->move(162, 20);

    // 2. The pump stands at its pipe's start node's elevation from now on.
    network_ = &TheNetwork;
    pipeId_ = ThePipeId;
    pipe_ = &TheNetwork.GetPipe(ThePipeId);
    int fromNodeId = 0, toNodeId = 0;
    TheNetwork.GetFromAndToNodeIds(ThePipeId, fromNodeId, toNodeId);
    if (fromNodeId > 0)
        pipe_->PumpElevation_m = TheNetwork.GetNode(fromNodeId).Elevation_m;

    // 3.
    resultsMode_ = ResultsMode;
    pumpDatabase_ = &ThePumpDatabase;
    const TFluid &fluid = TheNetwork.GetPipeFluid(ThePipeId);
    density_ = fluid.density_kgs_m3 > 0 ? fluid.density_kgs_m3 : 1000.0;
    setWindowTitle(fluid.FluidIsGas ? QStringLiteral("Pump Data (Fan / Blower / Compressor)")
                                    : QStringLiteral("Pump Data"));
    PanelWarning->move(4, 18);

    // 4.
    SavedPump.CopyPump(ThePump);
    EditedPump.CopyPump(ThePump);
    GraphOptionsPump.CopyPump(ThePump);

    // 5.
    openingDistance_m_ = pipe_->PumpDistanceFromStartOfPipe_m;
    openingElevation_m_ = pipe_->PumpElevation_m;
    const TUnit elevationUnit = TheNetwork.ConfigOptions.UnitOfElevation;
    RightEditElevation->setText(q(convertUnitToString(unt_m, elevationUnit, 1, pipe_->PumpElevation_m)));
    LabelElevationUnit->setText(q(unitName(elevationUnit)));
    RightEditElevation->setEnabled(false);

    // 6. The overlays.
    PanelGraphOptions->hide();
    GroupBoxNoteSingleCurve->hide();
    GroupBoxNotes->hide();
    GroupBoxGraphMessage->hide();
    GroupBoxGraphMessage->move(20, 20);
    BitBtnMoveToProblemDiam->hide();
    PanelPointEfficiencies->hide();
    PanelPointEfficiencies->setEnabled(false);
    Panel2->hide();
    GroupBoxPumpData->move(8, GroupBoxPumpData->y());
    GroupBoxPumpData->setTitle(QStringLiteral(" Details of pump on pipe ") + QString::number(ThePipeId) +
                               QStringLiteral(", ") + q(pipe_->Name) + QStringLiteral(" "));

    // 7. The type of the pump, enabled as its button does, graph not drawn.
    GraphDrawingEnabled = false;
    RadioButtonFixedSpeed->setChecked(EditedPump.PumpType == PumpFixedSpeed);
    RadioButtonFixedHeadRise->setChecked(EditedPump.PumpType == PumpFixedHead);
    RadioButtonFixedFlow->setChecked(EditedPump.PumpType == PumpFixedFlow);
    applyTypeEnabling(EditedPump.PumpType);

    // 8.
    setResultsModeEnabling();

    // 9.
    writeGridTitles();

    // 10.
    if (ResultsMode) {
        EditedPump.PumpPoints.FlowDisplayUnit = TheNetwork.ConfigOptions.ShowPipeMassFlowRate
                                                    ? TheNetwork.ConfigOptions.UnitOfMassFlow
                                                    : TheNetwork.ConfigOptions.UnitOfFlow;
        EditedPump.PumpPoints.HeadDisplayUnit = TheNetwork.ConfigOptions.UnitOfPressureLoss;
        for (QWidget *w : std::initializer_list<QWidget *>{
                 UpDownSpeedUp, UpDownSpeedDown, UpDownImpellerDiameterUp, UpDownImpellerDiameterDown,
                 UpDownSpeedLargeGraphUp, UpDownSpeedLargeGraphDown, UpDownImpellerDiameterLargeGraphUp,
                 UpDownImpellerDiameterLargeGraphDown, BitBtnDrawGraph})
            w->setEnabled(false);
        DrawGraph1->setEnabled(false);
    }

    // 11.
    EditingBaseData = false;
    SetPumpDisplayUnits();
    GraphDrawingEnabled = true;

    // 12.
    if (EditedPump.PumpType == PumpFixedSpeed) {
        bool valid = false;
        int firstBlankRow = 0;
        QString message;
        CheckStringGridValid(valid, firstBlankRow, message);
        if (valid) {
            if (!ResultsMode) {
                DrawPumpGraphAndCheckData(true);
            } else {
                const TUnit flowUnit = EditedPump.PumpPoints.FlowDisplayUnit;
                RightEditFlow->setText(q(convertFlowUnitToString(unt_m3_sec, flowUnit, unitDecimals(flowUnit),
                                                                 std_15degC_101325Pa, pipe_->FlowUncompressed_m3s,
                                                                 density_, 0, 288.15, atmosphere())));
            }
        }
    }
    if (EditedPump.PumpType != PumpFixedSpeed)
        ClearPumpGraph();

    // 13.
    RightEditFlow->setEnabled(!ResultsMode);
    RightEditHead->setEnabled(!ResultsMode);

    // 14.
    if (!ResultsMode && BitBtnSavePump->isEnabled())
        BitBtnSavePump->setFocus();
    exec();

    // 15. The closing has put SavedPump back into EditedPump.
    ThePump.CopyPump(EditedPump);
    ThePump.calcPumpCurves(density_);
    DeletePump = deleted_;
    // The network and pipe belong to the caller; none of them is kept.
    network_ = nullptr;
    pipe_ = nullptr;
}

void TPumpDataForm::setLibraryCommandsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             BitBtnOpenPumpDatabase, BitBtnAddPumpToDatabase, BitBtnImportCurveImage, BitBtnAddLogo, BitBtnSavePump,
             BitBtnClearPump, BitBtnDeletePump, ToolButtonOpenPumpDatabase, ToolButtonAddToPumpDatabase,
             ToolButtonImportCurveImage, ToolButtonLoadPump, ToolButtonSavePump})
        w->setEnabled(enabled);
    for (QAction *a : {SavetoPumpDatabase1, LoadfromPumpDatabase1, ImportPumpSheetImage1, LoadPump1, SavePump1,
                       SaveToPipe1})
        a->setEnabled(enabled);
}

void TPumpDataForm::setResultsModeEnabling()
{
    const bool design = !resultsMode_;
    const TPumpType type = EditedPump.PumpType;
    if (resultsMode_) {
        StringGridPumpPoints->setEnabled(false);
        setBoxEnabled(ComboBoxPumpFlowUnits, false);
        setBoxEnabled(ComboBoxPumpHeadUnits, false);
        for (QWidget *w : std::initializer_list<QWidget *>{
                 RightEditPreferredOpRegionFromPercent, RightEditPreferredOpRegionToPercent, EditPumpName,
                 BitBtnPumpIcon, ComboBoxImpellerDiameterUnits, RightEditImpellerDiameterMin,
                 RightEditImpellerDiameterMax, RightEditPumpSpeedMinRpm, RightEditPumpSpeedMaxRpm, EditPumpCatalog,
                 EditPumpManufacturer, EditPumpType, EditPumpSize, RightEditPumpStages, RightEditPumpMotorRpm,
                 MemoPumpNotes, UpDownSpeedUp, UpDownSpeedDown, UpDownImpellerDiameterUp, UpDownImpellerDiameterDown,
                 RadioButtonFixedSpeed, RadioButtonFixedFlow, RadioButtonFixedHeadRise, RightEditSetFlowRate,
                 ComboBoxSetFlowUnits, RightEditSetFixedHead, ComboBoxSetFixedHeadUnits, RightEditElevation})
            w->setEnabled(false);
        for (QWidget *w : std::initializer_list<QWidget *>{RightEditPumpSpeed, RightEditImpellerDiameter,
                                                            RightEditPumpSpeedRpmGraph,
                                                            RightEditPumpImpellerDiameterGraph})
            setBoxEnabled(w, false);
        BitBtnCancelPump->setEnabled(true);
        PanelWarning->setVisible(type == PumpFixedSpeed);
        PanelWarning->raise();
    } else {
        PanelWarning->hide();
        for (QWidget *w : std::initializer_list<QWidget *>{EditPumpName, BitBtnPumpIcon, RadioButtonFixedSpeed,
                                                            RadioButtonFixedFlow, RadioButtonFixedHeadRise,
                                                            BitBtnCancelPump, MemoPumpNotes})
            w->setEnabled(true);
        RightEditElevation->setEnabled(false);
        if (type == PumpFixedSpeed) {
            StringGridPumpPoints->setEnabled(true);
            setBoxEnabled(RightEditPumpSpeed, true);
            setBoxEnabled(RightEditImpellerDiameter, true);
            for (QWidget *w : std::initializer_list<QWidget *>{
                     ComboBoxImpellerDiameterUnits, RightEditImpellerDiameterMin, RightEditImpellerDiameterMax,
                     RightEditPumpSpeedMinRpm, RightEditPumpSpeedMaxRpm, EditPumpCatalog, EditPumpManufacturer,
                     EditPumpType, EditPumpSize, RightEditPumpStages, RightEditPumpMotorRpm})
                w->setEnabled(true);
            SetPumpStringGridState();
            for (QWidget *w : std::initializer_list<QWidget *>{RightEditPreferredOpRegionFromPercent,
                                                                RightEditPreferredOpRegionToPercent, UpDownSpeedUp,
                                                                UpDownSpeedDown, UpDownImpellerDiameterUp,
                                                                UpDownImpellerDiameterDown})
                w->setEnabled(true);
            setBoxEnabled(ComboBoxPumpFlowUnits, true);
            setBoxEnabled(ComboBoxPumpHeadUnits, true);
        } else if (type == PumpFixedHead) {
            RightEditSetFixedHead->setEnabled(true);
            ComboBoxSetFixedHeadUnits->setEnabled(true);
        } else {
            RightEditSetFlowRate->setEnabled(true);
            ComboBoxSetFlowUnits->setEnabled(true);
        }
    }
    setLibraryCommandsEnabled(design);
}

// --- filling the form -------------------------------------------------------------

void TPumpDataForm::SetPumpDisplayUnits()
{
    ++filling_;
    selectGridUnitLists();
    LabelShowFlow->setText(QStringLiteral("Flow ") + q(unitName(EditedPump.PumpPoints.FlowDisplayUnit)));
    LabelShowHead->setText(QStringLiteral("Head ") + q(unitName(EditedPump.PumpPoints.HeadDisplayUnit)));
    RightEditFlow->clear();
    RightEditHead->clear();
    for (QLabel *label : {LabelShowEffic, LabelShowNPSHr, LabelShowPower})
        label->clear();
    if (const int item = PumpFlowItemOfUnit(EditedPump.SetFlowRateDisplayUnit); item >= 0)
        ComboBoxSetFlowUnits->setCurrentIndex(item);
    if (const int item = PumpHeadItemOfUnit(EditedPump.SetFixedHeadDisplayUnit); item >= 0)
        ComboBoxSetFixedHeadUnits->setCurrentIndex(item);
    if (const int item = PumpDiameterItemOfUnit(EditedPump.ImpellerDiameterDisplayUnit); item >= 0) {
        ComboBoxImpellerDiameterUnits->setCurrentIndex(item);
        rememberedDiameterIndex_ = item;
    }
    LabelPumpMinDiam->setText(q(unitName(EditedPump.ImpellerDiameterDisplayUnit)));
    LabelPumpMaxDiam->setText(q(unitName(EditedPump.ImpellerDiameterDisplayUnit)));
    --filling_;
    UpdateFormFromPump(EditedPump);
}

void TPumpDataForm::UpdateFormFromPump(TPump &ThePump)
{
    ++filling_;
    // 1.
    EditPumpName->setText(q(ThePump.Name));
    UpdatePumpImageSymbol(ThePump.PumpImageIndex);
    // 2.
    if (ThePump.isSetFlowRateUsingMassFlow())
        RightEditSetFlowRate->setText(q(convertUnitToString(unt_kg_sec, ThePump.SetFlowRateDisplayUnit, 4,
                                                            ThePump.SetFlowRate_kgs)));
    else
        RightEditSetFlowRate->setText(q(convertUnitToString(unt_m3_sec, ThePump.SetFlowRateDisplayUnit, 4,
                                                            ThePump.SetFlowRate_m3s)));
    // 3.
    {
        const TUnit from = ThePump.SetFixedHead_Stored_mH2O ? unt_m_H2O : unt_m_hd_fluid;
        const TUnit to = ThePump.SetFixedHeadDisplayUnit;
        double value = 0;
        try {
            value = convertPressure(from, to, ThePump.SetFixedHead_FluidHead_m, atmosphere(), density_);
        } catch (const std::exception &) {
            value = ThePump.SetFixedHead_FluidHead_m;
        }
        RightEditSetFixedHead->setText(q(formatFixed(unitDecimals(to), value)));
    }
    // 4.
    RightEditPumpSpeed->setText(QString::number(ThePump.Speed_rpm));
    RightEditPreferredOpRegionFromPercent->setText(QString::number(ThePump.PreferredOpRegionFromPercent));
    RightEditPreferredOpRegionToPercent->setText(QString::number(ThePump.PreferredOpRegionToPercent));
    MemoPumpNotes->setPlainText(q(ThePump.NotesText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).chopped(
        ThePump.Notes.empty() ? 0 : 1));
    // 5.
    writeGridRows(ThePump);
    // 6.
    const TUnit diameterUnit = ThePump.ImpellerDiameterDisplayUnit;
    if (const int item = PumpDiameterItemOfUnit(diameterUnit); item >= 0) {
        ComboBoxImpellerDiameterUnits->setCurrentIndex(item);
        rememberedDiameterIndex_ = item;
    }
    RightEditImpellerDiameter->setText(q(convertUnitToString(unt_m, diameterUnit, 3, ThePump.ImpellerDiameter_m)));
    RightEditImpellerDiameterMin->setText(
        q(convertUnitToString(unt_m, diameterUnit, 3, ThePump.PumpImpellerDiameterMin_m)));
    RightEditImpellerDiameterMax->setText(
        q(convertUnitToString(unt_m, diameterUnit, 3, ThePump.PumpImpellerDiameterMax_m)));
    EditPumpCatalog->setText(q(ThePump.PumpCatalog));
    EditPumpManufacturer->setText(q(ThePump.PumpManufacturer));
    EditPumpType->setText(q(ThePump.PumpTypeKind));
    RightEditPumpMotorRpm->setText(QString::number(ThePump.PumpMotorRpm));
    EditPumpSize->setText(q(ThePump.PumpSize));
    RightEditPumpStages->setText(QString::number(ThePump.PumpStages));
    RightEditPumpSpeedMinRpm->setText(QString::number(ThePump.PumpSpeedMinRpm));
    RightEditPumpSpeedMaxRpm->setText(QString::number(ThePump.PumpSpeedMaxRpm));
    // 7.
    ThePump.PumpSpeedRpmGraph = ThePump.Speed_rpm;
    ThePump.PumpImpellerDiameterGraph_m = ThePump.ImpellerDiameter_m;
    RightEditPumpSpeedRpmGraph->setText(QString::number(ThePump.Speed_rpm));
    RightEditPumpImpellerDiameterGraph->setText(
        q(convertUnitToString(unt_m, diameterUnit, 3, ThePump.ImpellerDiameter_m)));
    // 8.
    if (!ThePump.isRunningOnBaseData() || resultsMode_) {
        StringGridPumpPoints->setEnabled(false);
        setBoxEnabled(RightEditPumpSpeed, false);
        setBoxEnabled(RightEditImpellerDiameter, false);
        ComboBoxImpellerDiameterUnits->setEnabled(false);
        SetLabelOrigCurve(ThePump);
        LabelOrigCurve->show();
        LabelOrigCurveText->show();
    } else {
        const bool speedPump = ThePump.PumpType == PumpFixedSpeed;
        StringGridPumpPoints->setEnabled(speedPump);
        setBoxEnabled(RightEditPumpSpeed, speedPump);
        setBoxEnabled(RightEditImpellerDiameter, speedPump);
        ComboBoxImpellerDiameterUnits->setEnabled(speedPump);
        LabelOrigCurve->hide();
        LabelOrigCurveText->hide();
    }
    // 9.
    setLibraryCommandsEnabled(!resultsMode_);
    RepaintStringGrid();
    --filling_;
}

void TPumpDataForm::SetLabelOrigCurve(const TPump &ThePump)
{
    const TUnit unit = ThePump.ImpellerDiameterDisplayUnit;
    LabelOrigCurve->setText(QStringLiteral("Speed: ") + QString::number(ThePump.BaseDataSpeed_rpm) +
                            QStringLiteral(" rpm, Diam: ") +
                            q(convertUnitToString(unt_m, unit, 3, ThePump.BaseDataImpellerDiameter_m)) +
                            QStringLiteral(" ") + q(unitName(unit)));
}

// --- pump types and states --------------------------------------------------------

void TPumpDataForm::setCurveControlsEnabled(bool enabled)
{
    StringGridPumpPoints->setEnabled(enabled);
    setBoxEnabled(ComboBoxPumpFlowUnits, enabled);
    setBoxEnabled(ComboBoxPumpHeadUnits, enabled);
    for (QWidget *w : std::initializer_list<QWidget *>{
             GroupBoxPreferredRegion, RightEditPreferredOpRegionFromPercent, RightEditPreferredOpRegionToPercent,
             BitBtnDrawGraph, BitBtnGraphOptions, ButtonCalcCurvePoint, RightEditFlow, RightEditHead,
             GroupBoxPumpGraph, GroupBoxShowPoint, ComboBoxImpellerDiameterUnits, EditPumpCatalog,
             EditPumpManufacturer, EditPumpType, EditPumpSize, RightEditPumpStages, RightEditPumpMotorRpm,
             MemoPumpNotes, UpDownSpeedUp, UpDownSpeedDown, UpDownImpellerDiameterUp, UpDownImpellerDiameterDown})
        w->setEnabled(enabled);
    for (QWidget *w : std::initializer_list<QWidget *>{
             RightEditPumpSpeed, RightEditImpellerDiameter, RightEditImpellerDiameterMin, RightEditImpellerDiameterMax,
             RightEditPumpSpeedMinRpm, RightEditPumpSpeedMaxRpm, RightEditPumpSpeedRpmGraph,
             RightEditPumpImpellerDiameterGraph})
        setBoxEnabled(w, enabled);
    DrawGraph1->setEnabled(enabled);
    GraphOptions1->setEnabled(enabled);
}

void TPumpDataForm::applyTypeEnabling(TPumpType type)
{
    const bool speed = type == PumpFixedSpeed;
    setCurveControlsEnabled(speed);
    for (QCheckBox *box : {CheckBoxHead, CheckBoxNPSHr, CheckBoxGridLines, CheckBoxPower, CheckBoxPrefOp, CheckBoxEffic})
        box->setEnabled(speed);
    setBoxEnabled(RightEditSetFlowRate, type == PumpFixedFlow);
    setBoxEnabled(ComboBoxSetFlowUnits, type == PumpFixedFlow);
    setBoxEnabled(RightEditSetFixedHead, type == PumpFixedHead);
    setBoxEnabled(ComboBoxSetFixedHeadUnits, type == PumpFixedHead);
    RadioButtonFixedSpeed->setChecked(speed);
    RadioButtonFixedFlow->setChecked(type == PumpFixedFlow);
    RadioButtonFixedHeadRise->setChecked(type == PumpFixedHead);
}

void TPumpDataForm::RadioButtonFixedSpeedClick()
{
    EditedPump.PumpType = PumpFixedSpeed;
    applyTypeEnabling(PumpFixedSpeed);
    SetPumpStringGridState();
    ClearPumpGraph();
    if (!IsStringGridEmpty()) {
        bool valid = false;
        int firstBlankRow = 0;
        QString message;
        CheckStringGridValid(valid, firstBlankRow, message);
        if (valid)
            DrawGraph1Click();
    }
    RepaintStringGrid();
}

void TPumpDataForm::RadioButtonFixedFlowClick()
{
    EditedPump.PumpType = PumpFixedFlow;
    applyTypeEnabling(PumpFixedFlow);
    ClearPumpGraph();
    RepaintStringGrid();
}

void TPumpDataForm::RadioButtonFixedHeadRiseClick()
{
    EditedPump.PumpType = PumpFixedHead;
    applyTypeEnabling(PumpFixedHead);
    ClearPumpGraph();
    RepaintStringGrid();
}

void TPumpDataForm::SetPumpStringGridState()
{
    const bool speedPump = EditedPump.PumpType == PumpFixedSpeed;
    if (speedPump && EditedPump.Speed_rpm == EditedPump.BaseDataSpeed_rpm &&
        EditedPump.ImpellerDiameter_m == EditedPump.BaseDataImpellerDiameter_m) {
        EditingBaseData = true;
        StringGridPumpPoints->setEnabled(true);
        BitBtnDrawGraph->setText(QStringLiteral("Draw Graph"));
        BitBtnDrawGraph->setEnabled(true);
        DrawGraph1->setEnabled(true);
        for (QWidget *w : std::initializer_list<QWidget *>{RightEditPumpSpeed, RightEditImpellerDiameter,
                                                            RightEditImpellerDiameterMin, RightEditImpellerDiameterMax,
                                                            RightEditPumpSpeedMinRpm, RightEditPumpSpeedMaxRpm,
                                                            RightEditPumpSpeedRpmGraph,
                                                            RightEditPumpImpellerDiameterGraph})
            setBoxEnabled(w, true);
        for (QWidget *w : std::initializer_list<QWidget *>{ComboBoxImpellerDiameterUnits, UpDownSpeedUp,
                                                            UpDownSpeedDown, UpDownImpellerDiameterUp,
                                                            UpDownImpellerDiameterDown})
            w->setEnabled(true);
        EditedPump.CopyBaseDataFromRunningData();
        if (resultsMode_) {
            BitBtnDrawGraph->setEnabled(false);
            DrawGraph1->setEnabled(false);
            setBoxEnabled(RightEditPumpSpeedRpmGraph, false);
            setBoxEnabled(RightEditPumpImpellerDiameterGraph, false);
            for (QWidget *w : std::initializer_list<QWidget *>{UpDownSpeedUp, UpDownSpeedDown,
                                                                UpDownImpellerDiameterUp, UpDownImpellerDiameterDown})
                w->setEnabled(false);
        }
    } else if (!speedPump) {
        EditingBaseData = false;
        StringGridPumpPoints->setEnabled(false);
        BitBtnDrawGraph->setText(QStringLiteral("Draw Graph"));
        BitBtnDrawGraph->setEnabled(false);
        DrawGraph1->setEnabled(false);
        for (QWidget *w : std::initializer_list<QWidget *>{RightEditPumpSpeed, RightEditImpellerDiameter,
                                                            ComboBoxImpellerDiameterUnits, RightEditImpellerDiameterMin,
                                                            RightEditImpellerDiameterMax, RightEditPumpSpeedMinRpm,
                                                            RightEditPumpSpeedMaxRpm})
            setBoxEnabled(w, false);
    } else {
        EditingBaseData = false;
        StringGridPumpPoints->setEnabled(false);
        BitBtnDrawGraph->setText(QStringLiteral("Edit Pump Points"));
        BitBtnDrawGraph->setEnabled(true);
        DrawGraph1->setEnabled(true);
        setBoxEnabled(RightEditPumpSpeed, false);
        setBoxEnabled(RightEditImpellerDiameter, false);
        ComboBoxImpellerDiameterUnits->setEnabled(false);
        for (QWidget *w : std::initializer_list<QWidget *>{RightEditImpellerDiameterMin, RightEditImpellerDiameterMax,
                                                            RightEditPumpSpeedMinRpm, RightEditPumpSpeedMaxRpm,
                                                            RightEditPumpSpeedRpmGraph,
                                                            RightEditPumpImpellerDiameterGraph})
            setBoxEnabled(w, true);
        for (QWidget *w : std::initializer_list<QWidget *>{UpDownSpeedUp, UpDownSpeedDown, UpDownImpellerDiameterUp,
                                                            UpDownImpellerDiameterDown})
            w->setEnabled(true);
        if (resultsMode_) {
            BitBtnDrawGraph->setEnabled(false);
            DrawGraph1->setEnabled(false);
            for (QWidget *w : std::initializer_list<QWidget *>{
                     RightEditImpellerDiameterMin, RightEditImpellerDiameterMax, RightEditPumpSpeedMinRpm,
                     RightEditPumpSpeedMaxRpm, RightEditPumpSpeedRpmGraph, RightEditPumpImpellerDiameterGraph})
                setBoxEnabled(w, false);
            for (QWidget *w : std::initializer_list<QWidget *>{UpDownSpeedUp, UpDownSpeedDown,
                                                                UpDownImpellerDiameterUp, UpDownImpellerDiameterDown})
                w->setEnabled(false);
        }
    }
    RepaintStringGrid();
}

void TPumpDataForm::SetPumpToBaseData()
{
    StringGridPumpPoints->setEnabled(true);
    BitBtnDrawGraph->setText(QStringLiteral("Draw Graph"));
    EditedPump.CopyRunningDataFromBaseData();
    EditedPump.calcPumpCurves(density_);
    ++filling_;
    RightEditPumpSpeedRpmGraph->setText(QString::number(EditedPump.Speed_rpm));
    RightEditPumpImpellerDiameterGraph->setText(
        q(convertUnitToString(unt_m, EditedPump.ImpellerDiameterDisplayUnit, 3, EditedPump.ImpellerDiameter_m)));
    --filling_;
    bool valid = false;
    UpdateStringGridFromPump(EditedPump, valid);
    if (valid) {
        DrawGraph1Click();
    } else {
        Dialogs().ShowMessage(TDialogKind::Warning, QStringLiteral("Cannot update pump points grid from current pump "
                                                                   "data.\r\rThe pump points will be reset and "
                                                                   "cleared."),
                              this);
        EditedPump.ClearPumpCurves();
        UpdateStringGridFromPump(EditedPump, valid);
    }
}

void TPumpDataForm::LabelOrigCurveTextClick()
{
    if (resultsMode_)
        return;
    StringGridPumpPoints->setEnabled(true);
    setBoxEnabled(ComboBoxPumpFlowUnits, true);
    setBoxEnabled(ComboBoxPumpHeadUnits, true);
    RepaintStringGrid();
    SetPumpToBaseData();
    SetPumpStringGridState();
    UpdateFormFromRightEditPumpImpellerDiameterGraph();
    if (BitBtnDrawGraph->isEnabled())
        BitBtnDrawGraph->setFocus();
}

// --- save, clear, delete, close -----------------------------------------------------

void TPumpDataForm::SaveToPipe1Click()
{
    if (!network_ || !pipe_)
        return;
    bool refused = false;
    auto refuse = [&](const QString &text) {
        Dialogs().ShowMessage(TDialogKind::Information, text, this);
        refused = true;
    };
    const TConfigOptions &options = network_->ConfigOptions;
    // 1.
    if (openingDistance_m_ > pipe_->Length_m) {
        const TUnit unit = options.UnitOfLength;
        refuse(QStringLiteral("The distance of the pump from the start of the pipe \rcannot be greater than the length "
                              "of the pipe (") +
               q(convertUnitToString(unt_m, unit, unitDecimals(unit), pipe_->Length_m)) + QStringLiteral(" ") +
               q(unitName(unit)) + QStringLiteral(")"));
    }
    // 2.
    {
        int fromNodeId = 0, toNodeId = 0;
        network_->GetFromAndToNodeIds(pipeId_, fromNodeId, toNodeId);
        if (fromNodeId > 0 && toNodeId > 0) {
            const double start = network_->GetNode(fromNodeId).Elevation_m;
            const double end = network_->GetNode(toNodeId).Elevation_m;
            if (openingElevation_m_ < std::min(start, end) || openingElevation_m_ > std::max(start, end)) {
                const TUnit unit = options.UnitOfElevation;
                refuse(QStringLiteral("The elevation of the pump must be between start and end elevation of the "
                                      "pipe. \r(") +
                       q(convertUnitToString(unt_m, unit, unitDecimals(unit), start)) + QStringLiteral(" ") +
                       q(unitName(unit)) + QStringLiteral(" to ") +
                       q(convertUnitToString(unt_m, unit, unitDecimals(unit), end)) + QStringLiteral(" ") +
                       q(unitName(unit)) + QStringLiteral(")"));
            }
        }
    }
    const TPump &p = EditedPump;
    // 3.
    if (p.PumpImpellerDiameterMin_m > 0 || p.PumpImpellerDiameterMax_m > 0) {
        if (!(p.PumpImpellerDiameterMin_m < p.PumpImpellerDiameterMax_m))
            refuse(QStringLiteral("The pump's Min Impeller Diameter must be less than the Max Impeller Diameter. \r"));
        else if (p.BaseDataImpellerDiameter_m < p.PumpImpellerDiameterMin_m ||
                 p.BaseDataImpellerDiameter_m > p.PumpImpellerDiameterMax_m)
            refuse(QStringLiteral("The Impeller Diameter for the pump's base data must be greater than the Min "
                                  "Impeller size and less than the Max Impeller size. \r"));
        else if (p.ImpellerDiameter_m < p.PumpImpellerDiameterMin_m ||
                 p.ImpellerDiameter_m > p.PumpImpellerDiameterMax_m)
            refuse(QStringLiteral("The pump's running Impeller Diameter must be between the Min Impeller size and "
                                  "the Max Impeller size. \r"));
    }
    // 4.
    if (p.PumpSpeedMinRpm > 0 || p.PumpSpeedMaxRpm > 0) {
        if (p.PumpSpeedMaxRpm < p.PumpSpeedMinRpm)
            refuse(QStringLiteral("The pump's Min Speed must be less than the Max Speed. \r"));
        else if (p.BaseDataSpeed_rpm < p.PumpSpeedMinRpm || p.BaseDataSpeed_rpm > p.PumpSpeedMaxRpm)
            refuse(QStringLiteral("The pump's Base Data Speed must be between the Min and Max Speed.\r"));
        else if (p.Speed_rpm < p.PumpSpeedMinRpm || p.Speed_rpm > p.PumpSpeedMaxRpm)
            refuse(QStringLiteral("The pump's Running Speed must be between the Min and Max Speed.\r"));
    }
    if (refused)
        return;

    // 5.
    auto writePipe = [this] {
        pipe_->PumpElevation_m = openingElevation_m_;
        pipe_->PumpDistanceFromStartOfPipe_m = 0;
        pipe_->PumpPositionPercentageAlongPipe = 0;
    };
    const bool empty = IsStringGridEmpty();
    bool valid = false;
    int firstBlankRow = 0;
    QString message;
    CheckStringGridValid(valid, firstBlankRow, message);
    if (valid) {
        EditedPump.PumpPoints.SetHead_Stored_mH2O = ComboBoxPumpHeadUnits->currentIndex() > 3;
        UpdatePumpFromStringGrid(EditedPump, valid);
        if (!valid)
            return;
        EditedPump.CopyBaseDataFromRunningDataOnlyIfRunningOnBaseData();
        EditedPump.ConvertBaseDataTomHeadFluidOrmH2ODependingOnRunningCurveHeadDisplayUnit(density_);
        SavedPump.CopyPump(EditedPump);
        writePipe();
        if (SavedPump.PumpType == PumpFixedSpeed && SavedPump.isPumpCurveShowingInMassFlow()) {
            const TConfigOptions &o = network_->ConfigOptions;
            Dialogs().ShowMessage(
                TDialogKind::Confirmation,
                QStringLiteral("Pump Curve is currently showing in units of mass flow (") +
                    q(unitName(SavedPump.PumpPoints.FlowDisplayUnit)) + QStringLiteral(") ") + QStringLiteral("\r\r") +
                    QStringLiteral("The values will be converted and the pump's data will be stored in equivalent "
                                   "units of volumetric flow, ") +
                    QStringLiteral("based on the current fluid density used in this pipe (") +
                    q(convertUnitToString(unt_kg_m3, o.UnitOfDensity, unitDecimals(o.UnitOfDensity), density_)) +
                    q(unitName(o.UnitOfDensity)) + QStringLiteral(").") + QStringLiteral("\r\r") +
                    QStringLiteral("NOTE: ") + QStringLiteral("\r") +
                    QStringLiteral("If this pump is used on a pipe in a different fluid zone then the base data that "
                                   "is stored in volumetric flow ") +
                    QStringLiteral("will be converted to show the equivalent mass flow for the fluid in that zone. ") +
                    QStringLiteral("\r\r") +
                    QStringLiteral("i.e. if this pump is used in a fluid zone with a different fluid density then the "
                                   "pump curve flow values ") +
                    QStringLiteral("(stored in volumetric flow) will convert to produce different mass flow values "
                                   "depending on the density of that fluid zone.") +
                    QStringLiteral("\r"),
                this);
        }
        done(QDialog::Accepted);
    } else if (empty) {
        writePipe();
        EditedPump.ClearPumpCurves();
        SavedPump.CopyPump(EditedPump);
        done(QDialog::Accepted);
    } else {
        Dialogs().ShowMessage(TDialogKind::Information, message, this);
    }
}

void TPumpDataForm::BitBtnClearPumpClick()
{
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Are you sure you wish to clear the pump curve data?\r"), this))
        return;
    EditedPump.ClearPumpCurves();
    UpdateFormFromPump(EditedPump);
}

void TPumpDataForm::BitBtnDeletePumpClick()
{
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Are you sure you wish to delete the pump \rand all pump data from this "
                                           "pipe?"),
                            this))
        return;
    deleted_ = true;
    done(QDialog::Rejected);
}

void TPumpDataForm::BitBtnCancelPumpClick() { done(QDialog::Rejected); }

// Leaves the enlarged graph; the editor stays open.
void TPumpDataForm::Exit1Click()
{
    QApplication::processEvents();
    Panel2->hide();
    DrawPumpGraphAndCheckData(true);
}

void TPumpDataForm::closeEvent(QCloseEvent *event)
{
    if (!resultsMode_ &&
        !Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("To save changes you must click Save Pump.\r\rCancel without saving changes?"),
                            this)) {
        event->ignore();
        return;
    }
    event->accept();
    done(QDialog::Rejected);
}

bool TPumpDataForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LabelOrigCurveText && event->type() == QEvent::MouseButtonRelease) {
        LabelOrigCurveTextClick();
        return true;
    }
    if (viewEventFilter(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// Escape is the close box's question too.
void TPumpDataForm::reject() { close(); }

void TPumpDataForm::done(int result)
{
    EditedPump.CopyPump(SavedPump);
    QDialog::done(result);
}

} // namespace tessaran
