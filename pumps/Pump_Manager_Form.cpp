#include "pumps/Pump_Manager_Form.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QValidator>

#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "platform/qt/Dialog_Service.h"
#include "platform/qt/Qt_Canvas.h"
#include "pumps/Form_Message.h"
#include "pumps/Image_Box.h"
#include "pumps/Pump_Data_Form.h"
#include "pumps/Pump_Manager_Save_Form.h"
#include "units/Graph_Class.h"
#include "units/Unit_Format.h"

namespace tessaran {

namespace {

TPumpManagerForm *instance = nullptr;
void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

// Kept for the program's run, between openings.
struct TLibraryState {
    double dutyFlow_kgs = 0;
    double dutyHead_mHd = 0;
    double allowedMiss = 5.0;
    int speedMin = 0, speedMax = 3600;
    TUnit flowUnit = unt_m3_sec, headUnit = unt_m_hd_fluid;
    bool unitsTaken = false; // set at the first opening
    TUnit impellerUnit = unt_mm;
    TFlowPreference preference = FlowNoPreference;
    int lookFor = 0;
    QString lastTopFolder;
    int highlightedRow = -1;
} state;

struct TUnitItem {
    const char *caption;
    TUnit unit;
};
const TUnitItem flowUnits[] = {{"m³/sec", unt_m3_sec},     {"m³/min", unt_m3_min},     {"m³/hour", unt_m3_hour},
                               {"l/sec", unt_L_sec},       {"l/min", unt_L_min},       {"l/hour", unt_L_hour},
                               {"ft³/sec", unt_ft3_sec},   {"ft³/min", unt_ft3_min},   {"ft³/hour", unt_ft3_hour},
                               {"in³/sec", unt_inch3_sec}, {"in³/min", unt_inch3_min}, {"in³/hour", unt_inch3_hour},
                               {"UK gpm", unt_gpm_UK},     {"US gpm", unt_gpm_USA},    {"kg/sec", unt_kg_sec},
                               {"kg/min", unt_kg_min},     {"kg/hour", unt_kg_hour},   {"lb/sec", unt_lb_sec},
                               {"lb/min", unt_lb_min},     {"lb/hour", unt_lb_hour}};
const TUnitItem headUnits[] = {{"m Fluid", unt_m_hd_fluid},   {"ft Fluid", unt_ft_hd_fluid}, {"mm Fluid", unt_mm_hd_fluid},
                               {"in. Fluid", unt_in_hd_fluid}, {"bar.g", unt_Bar_G},          {"psi.g", unt_Psi_G},
                               {"kPa.g", unt_kPa_G},           {"mm Hg", unt_mm_Hg},          {"in. Hg", unt_in_Hg},
                               {"mm H20", unt_mm_H2O},         {"in. H20", unt_in_H2O}};

bool imperial(TUnit headUnit) { return associatedFluidHeadUnitUnit(headUnit) == unt_ft_hd_fluid; }

std::string flowText(TUnit from, TUnit to, int decimals, double value, double density)
{
    return convertFlowUnitToString(from, to, decimals, std_15degC_101325Pa, value, density, 0, 288.15, 1.01325);
}

double toKgs(TUnit from, double value, double density)
{
    return convertFlowUnit(from, unt_kg_sec, std_15degC_101325Pa, value, density, 0, 288.15, 1.01325);
}

bool IsPumpNode(const QTreeWidgetItem *node) { return node && node->data(0, PumpTreeImageRole).toInt() == 1; }

QString libraryRoot() { return TPumpManagerSaveForm::LibraryRoot(); }

} // namespace

TPumpManagerForm::TPumpManagerForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PumpManagerForm"));
    setWindowTitle(QStringLiteral("Pump Library"));
    setModal(true);
    resize(1180, 700);

    auto *left = new QGroupBox(this);
    left->setGeometry(4, 4, 430, 640);
    RadioButtonBrowse = new QRadioButton(QStringLiteral("Browse"), left);
    RadioButtonBrowse->setObjectName(QStringLiteral("RadioButtonBrowse"));
    RadioButtonBrowse->setGeometry(8, 170, 80, 20);
    RadioButtonSearch = new QRadioButton(QStringLiteral("Search"), left);
    RadioButtonSearch->setObjectName(QStringLiteral("RadioButtonSearch"));
    RadioButtonSearch->setGeometry(8, 8, 80, 20);
    ComboBoxTopFolder = new QComboBox(left);
    ComboBoxTopFolder->setObjectName(QStringLiteral("ComboBoxTopFolder"));
    ComboBoxTopFolder->setGeometry(96, 170, 320, 22);
    ComboBoxTopFolder->setStyleSheet(QStringLiteral(
        "QComboBox QAbstractItemView { background: white; color: black; selection-background-color: yellow; "
        "selection-color: black; }"));

    auto label = [left](const QString &text, int x, int y, int w = 110) {
        auto *l = new QLabel(text, left);
        l->setGeometry(x, y, w, 18);
        return l;
    };
    auto edit = [left](const char *name, const QString &text, int x, int y, int w) {
        auto *e = new QLineEdit(text, left);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(x, y, w, 22);
        return e;
    };
    auto combo = [left](const char *name, int x, int y, int w) {
        auto *c = new QComboBox(left);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(x, y, w, 22);
        return c;
    };
    label(QStringLiteral("Flow"), 8, 60);
    label(QStringLiteral("Head"), 8, 87);
    EditFlow = edit("EditFlow", QStringLiteral("0.0"), 50, 58, 70);
    EditHead = edit("EditHead", QStringLiteral("0.0"), 50, 85, 70);
    ComboBoxFlowUnit = combo("ComboBoxFlowUnit", 127, 58, 110);
    ComboBoxHeadUnit = combo("ComboBoxHeadUnit", 127, 85, 110);
    for (const TUnitItem &u : flowUnits)
        ComboBoxFlowUnit->addItem(QString::fromUtf8(u.caption));
    for (const TUnitItem &u : headUnits)
        ComboBoxHeadUnit->addItem(QString::fromUtf8(u.caption));
    label(QStringLiteral("% Miss"), 250, 87, 50);
    EditMiss = edit("EditMiss", QStringLiteral("5.0"), 300, 85, 50);
    label(QStringLiteral("Speed"), 8, 114);
    EditSpeedMin = edit("EditSpeedMin", QStringLiteral("0"), 50, 112, 50);
    EditSpeedMax = edit("EditSpeedMax", QStringLiteral("3600"), 110, 112, 50);
    for (QLineEdit *e : {EditFlow, EditHead}) {
        auto *numbers = new QDoubleValidator(0, 1e12, 6, e);
        numbers->setNotation(QDoubleValidator::StandardNotation);
        e->setValidator(numbers);
    }
    for (QLineEdit *e : {EditSpeedMin, EditSpeedMax}) {
        e->setMaxLength(4);
        e->setValidator(new QIntValidator(0, 9999, e));
    }
    ComboBoxWhereFlow = combo("ComboBoxWhereFlow", 170, 112, 120);
    ComboBoxWhereFlow->addItems({QStringLiteral("Any"), QStringLiteral("Left of BEP"), QStringLiteral("Right of BEP")});
    ComboBoxLookFor = combo("ComboBoxLookFor", 8, 140, 180);
    ComboBoxLookFor->addItems(
        {QStringLiteral("Best Efficiency"), QStringLiteral("Fastest Speed"), QStringLiteral("Largest Impeller")});
    BitBtnFindPumps = new QPushButton(QStringLiteral("Find Pumps"), left);
    BitBtnFindPumps->setObjectName(QStringLiteral("BitBtnFindPumps"));
    BitBtnFindPumps->setGeometry(300, 136, 116, 28);

    TreeViewPumps = new QTreeWidget(left);
    TreeViewPumps->setObjectName(QStringLiteral("TreeViewPumps"));
    TreeViewPumps->setGeometry(8, 200, 250, 390);
    TreeViewPumps->setHeaderHidden(true);
    TreeViewPumps->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TreeViewPumps->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *deleteAction = new QAction(QStringLiteral("Delete"), TreeViewPumps);
    deleteAction->setObjectName(QStringLiteral("Delete1"));
    deleteAction->setShortcut(QKeySequence::Delete);
    TreeViewPumps->addAction(deleteAction);
    connect(deleteAction, &QAction::triggered, this, [this] { DeleteClick(); });
    BitBtnAddToFilteredList = new QPushButton(QStringLiteral("Add to Filtered List"), left);
    BitBtnAddToFilteredList->setObjectName(QStringLiteral("BitBtnAddToFilteredList"));
    BitBtnAddToFilteredList->setGeometry(267, 260, 150, 28);
    BitBtnClearFilteredResults = new QPushButton(QStringLiteral("Clear Filtered Results"), left);
    BitBtnClearFilteredResults->setObjectName(QStringLiteral("BitBtnClearFilteredResults"));
    BitBtnClearFilteredResults->setGeometry(267, 294, 150, 28);
    BitBtnSelect = new QPushButton(QStringLiteral("Select"), left);
    BitBtnSelect->setObjectName(QStringLiteral("BitBtnSelect"));
    BitBtnSelect->setGeometry(8, 600, 120, 30);
    BitBtnCancel = new QPushButton(QStringLiteral("Cancel"), left);
    BitBtnCancel->setObjectName(QStringLiteral("BitBtnCancel"));
    BitBtnCancel->setGeometry(138, 600, 120, 30);

    ImagePumpCurve = new TImageBox(560, 400, this);
    ImagePumpCurve->setObjectName(QStringLiteral("ImagePumpCurve"));
    ImagePumpCurve->move(440, 34);
    LabelRunningSpeed = new QLabel(this);
    LabelRunningSpeed->setObjectName(QStringLiteral("LabelRunningSpeed"));
    LabelRunningSpeed->setGeometry(440, 10, 120, 18);
    LabelRunningDiameter = new QLabel(this);
    LabelRunningDiameter->setObjectName(QStringLiteral("LabelRunningDiameter"));
    LabelRunningDiameter->setGeometry(570, 10, 160, 18);
    BitBtnSelectPump = new QPushButton(QStringLiteral("Select Pump"), this);
    BitBtnSelectPump->setObjectName(QStringLiteral("BitBtnSelectPump"));
    BitBtnSelectPump->setGeometry(880, 4, 120, 28);

    GroupBoxDetails = new QGroupBox(QStringLiteral("Pump Details"), this);
    GroupBoxDetails->setObjectName(QStringLiteral("GroupBoxDetails"));
    GroupBoxDetails->setGeometry(1006, 4, 170, 430);
    int y = 20;
    auto detail = [&](const char *name, const QString &caption) {
        (new QLabel(caption, GroupBoxDetails))->setGeometry(6, y, 158, 16);
        auto *v = new QLabel(GroupBoxDetails);
        v->setObjectName(QString::fromLatin1(name));
        v->setGeometry(6, y + 16, 158, 16);
        y += 36;
        return v;
    };
    LabelName = detail("LabelName", QStringLiteral("Name:"));
    LabelCatalog = detail("LabelCatalog", QStringLiteral("Catalog:"));
    LabelManufacturer = detail("LabelManufacturer", QStringLiteral("Manufacturer:"));
    LabelType = detail("LabelType", QStringLiteral("Type:"));
    LabelSize = detail("LabelSize", QStringLiteral("Size:"));
    LabelStages = detail("LabelStages", QStringLiteral("Stages:"));
    LabelMotorRpm = detail("LabelMotorRpm", QStringLiteral("Motor Rpm:"));
    LabelSpeedMin = detail("LabelSpeedMin", QStringLiteral("Min Speed:"));
    LabelSpeedMax = detail("LabelSpeedMax", QStringLiteral("Max Speed:"));
    (new QLabel(QStringLiteral("Original Curve"), GroupBoxDetails))->setGeometry(6, y, 158, 16);
    LabelOrigFlowUnit = new QLabel(GroupBoxDetails);
    LabelOrigFlowUnit->setObjectName(QStringLiteral("LabelOrigFlowUnit"));
    LabelOrigFlowUnit->setGeometry(6, y + 16, 158, 16);
    LabelOrigHeadUnit = new QLabel(GroupBoxDetails);
    LabelOrigHeadUnit->setObjectName(QStringLiteral("LabelOrigHeadUnit"));
    LabelOrigHeadUnit->setGeometry(6, y + 32, 158, 16);

    GroupBoxResults = new QGroupBox(QStringLiteral("Filtered Results"), this);
    GroupBoxResults->setObjectName(QStringLiteral("GroupBoxResults"));
    GroupBoxResults->setGeometry(440, 440, 736, 250);
    StringGridPumps = new QTableWidget(3, 17, GroupBoxResults);
    StringGridPumps->setObjectName(QStringLiteral("StringGridPumps"));
    StringGridPumps->setGeometry(6, 18, 724, 226);
    StringGridPumps->horizontalHeader()->hide();
    StringGridPumps->verticalHeader()->hide();
    StringGridPumps->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGridPumps->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGridPumps->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGridPumps->setStyleSheet(QStringLiteral(
        "QTableWidget { background: white; color: black; } "
        "QTableWidget::item:selected { background: yellow; color: black; }"));
    ImagePumpCurve->installEventFilter(this);

    graph_ = std::make_unique<TGraph>(nullptr, 96, ImagePumpCurve->width(), ImagePumpCurve->height());

    for (QPushButton *b : {BitBtnFindPumps, BitBtnAddToFilteredList, BitBtnClearFilteredResults, BitBtnSelectPump,
                           BitBtnSelect, BitBtnCancel})
        b->setAutoDefault(false);
    connect(RadioButtonBrowse, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            SetBrowseMode(true);
    });
    connect(RadioButtonSearch, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            SetBrowseMode(false);
    });
    connect(BitBtnFindPumps, &QPushButton::clicked, this, [this] { FindPumpsClick(); });
    connect(BitBtnAddToFilteredList, &QPushButton::clicked, this, [this] { AddToFilteredListClick(); });
    connect(BitBtnClearFilteredResults, &QPushButton::clicked, this, [this] { ClearFilteredResults(); });
    connect(BitBtnSelectPump, &QPushButton::clicked, this, [this] { ChooseClick(); });
    connect(BitBtnSelect, &QPushButton::clicked, this, [this] { ChooseClick(); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(TreeViewPumps, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { PreviewTreeNode(node); });
    connect(TreeViewPumps, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *node) { PreviewTreeNode(node); });
    connect(TreeViewPumps, &QTreeWidget::itemDoubleClicked, this, [this] { ChooseClick(); });
    connect(StringGridPumps, &QTableWidget::cellClicked, this, [this](int row, int) { PreviewGridRow(row); });
    connect(StringGridPumps, &QTableWidget::cellDoubleClicked, this, [this] { ChooseClick(); });
    connect(ComboBoxTopFolder, &QComboBox::activated, this, [this] { TopFolderChange(); });

    // Every change of a search input clears the results.
    auto inputChanged = [this] {
        if (!database_)
            return;
        readBoxes();
        ClearFilteredResults();
    };
    for (QLineEdit *e : {EditFlow, EditHead, EditMiss, EditSpeedMin, EditSpeedMax})
        connect(e, &QLineEdit::textEdited, this, inputChanged);
    connect(ComboBoxWhereFlow, &QComboBox::activated, this, inputChanged);
    connect(ComboBoxLookFor, &QComboBox::activated, this, inputChanged);
    connect(ComboBoxFlowUnit, &QComboBox::activated, this, [this](int item) {
        state.flowUnit = flowUnits[item].unit;
        EditFlow->setText(QString::fromStdString(flowText(unt_kg_sec, state.flowUnit, 4, state.dutyFlow_kgs, density_)));
        unitChanged();
    });
    connect(ComboBoxHeadUnit, &QComboBox::activated, this, [this](int item) {
        state.headUnit = headUnits[item].unit;
        state.impellerUnit = imperial(state.headUnit) ? unt_inch : unt_mm;
        if (network_)
            EditHead->setText(QString::fromStdString(convertPressureAndFormat(
                unt_m_hd_fluid, state.headUnit, state.dutyHead_mHd, network_->ConfigOptions.Atmosphere_bar_a, density_)));
        unitChanged();
    });
}

TPumpManagerForm::~TPumpManagerForm() = default;

bool TPumpManagerForm::eventFilter(QObject *watched, QEvent *event)
{
    // A double-click on the preview chooses its pump.
    if (watched == ImagePumpCurve && event->type() == QEvent::MouseButtonDblClick) {
        ChooseClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

TPumpManagerForm &TPumpManagerForm::Instance()
{
    if (!instance) {
        instance = new TPumpManagerForm;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

void TPumpManagerForm::OpenForm(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork)
{
    Instance().Open(ThePumpDatabase, ThePump, ThePipeId, TheNetwork);
}

void TPumpManagerForm::unitChanged()
{
    if (database_) {
        database_->flowUnit = state.flowUnit;
        database_->headUnit = state.headUnit;
        database_->impellerDiameterUnit = state.impellerUnit;
    }
    if (RadioButtonSearch->isChecked()) {
        ClearFilteredResults();
        return;
    }
    setPreviewUnits();
    LabelRunningSpeed->clear();
    LabelRunningDiameter->clear();
    if (PreviewPump.PumpPoints.PointsCount > 2) {
        drawPreview(false);
        fillDetails();
    }
}

void TPumpManagerForm::Open(TPumpDatabase &ThePumpDatabase, TPump &ThePump, int ThePipeId, TNetwork &TheNetwork)
{
    // 1.
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(241, 250, 255));
    setPalette(background);
    setAutoFillBackground(true);
    Chosen = false;
    database_ = &ThePumpDatabase;
    network_ = &TheNetwork;
    pipeId_ = ThePipeId;
    const double density = TheNetwork.GetPipeFluid(ThePipeId).density_kgs_m3;
    density_ = density > 0 ? density : 1000.0;
    if (ComboBoxWhereFlow->currentIndex() >= 0 && ComboBoxWhereFlow->currentIndex() <= 2)
        state.preference = static_cast<TFlowPreference>(ComboBoxWhereFlow->currentIndex());
    if (ComboBoxLookFor->currentIndex() >= 0 && ComboBoxLookFor->currentIndex() <= 2)
        state.lookFor = ComboBoxLookFor->currentIndex();
    // 2.
    if (!state.unitsTaken || ThePump.PumpPoints.FlowDisplayUnit != state.flowUnit) {
        state.flowUnit = ThePump.PumpPoints.FlowDisplayUnit;
        EditFlow->setText(QStringLiteral("0.0"));
        ComboBoxWhereFlow->setCurrentIndex(0);
        state.dutyFlow_kgs = 0;
        state.preference = FlowNoPreference;
    }
    if (!state.unitsTaken || ThePump.PumpPoints.HeadDisplayUnit != state.headUnit) {
        state.headUnit = ThePump.PumpPoints.HeadDisplayUnit;
        EditHead->setText(QStringLiteral("0.0"));
        EditMiss->setText(QStringLiteral("5.0"));
        state.dutyHead_mHd = 0;
        state.allowedMiss = 5.0;
    }
    state.unitsTaken = true;
    // 3.
    auto wait = std::make_unique<TFormMessageShown>(QStringLiteral("Opening Pump Database..."), this);
    // 4. Rows and previews of an earlier opening point into an index that is
    // about to be rebuilt: they go, and choosing waits for a new preview.
    clearGraph();
    if (RadioButtonBrowse->isChecked())
        ClearFilteredResults();
    else
        RadioButtonBrowse->setChecked(true);
    SetBrowseMode(true);
    PreviewPump.Clear();
    if (state.headUnit == unt_m_H2O)
        state.headUnit = unt_mm_H2O;
    else if (state.headUnit == unt_ft_H2O)
        state.headUnit = unt_in_H2O;
    state.impellerUnit = imperial(state.headUnit) ? unt_inch : unt_mm;
    for (int i = 0; i < static_cast<int>(std::size(flowUnits)); ++i)
        if (flowUnits[i].unit == state.flowUnit)
            ComboBoxFlowUnit->setCurrentIndex(i);
    for (int i = 0; i < static_cast<int>(std::size(headUnits)); ++i)
        if (headUnits[i].unit == state.headUnit)
            ComboBoxHeadUnit->setCurrentIndex(i);
    database_->flowUnit = state.flowUnit;
    database_->headUnit = state.headUnit;
    database_->impellerDiameterUnit = state.impellerUnit;
    // 5.
    ComboBoxTopFolder->clear();
    std::vector<std::string> folders;
    TPumpDatabase::TStringsBuildTopLevelFoldersBasedOnFileSystem(folders, libraryRoot().toStdString());
    int item = 0;
    for (int i = 0; i < static_cast<int>(folders.size()); ++i) {
        ComboBoxTopFolder->addItem(QString::fromStdString(folders[static_cast<std::size_t>(i)]));
        if (QString::fromStdString(folders[static_cast<std::size_t>(i)]) == state.lastTopFolder)
            item = i;
    }
    ComboBoxTopFolder->setCurrentIndex(folders.empty() ? -1 : item);
    state.lastTopFolder = ComboBoxTopFolder->currentText();
    // 6. - 8.
    wait.reset();
    if (folders.empty()) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("The Pump Database is empty.\r\rAdd a pump to the Pump Database first."),
                              this);
        return;
    }
    if (!buildIndex(true))
        return;
    exec();
    // 9.
    if (Chosen) {
        ThePump.CopyPump(PreviewPump);
        ThePump.calcPumpCurves(density_);
    }
}

bool TPumpManagerForm::buildIndex(bool report)
{
    database_->IndexClear();
    int code = 0;
    std::string error, message;
    const QString folder = libraryRoot() + QStringLiteral("/") + ComboBoxTopFolder->currentText();
    database_->IndexBuild(folder.toStdString(), density_, code, error, message);
    if (!report)
        return code == 0;
    if (code != 0) {
        Dialogs().ShowMessage(TDialogKind::Error,
                              QStringLiteral("Cannot Build Pump Database Index.\r\rError Code: ") +
                                  QString::number(code) + QStringLiteral("\r\r") + QStringLiteral("Error: ") +
                                  QString::fromStdString(error) + QStringLiteral("\r\r") +
                                  QStringLiteral("Please contact ") + QStringLiteral("support") +
                                  QStringLiteral(" for assistance.") + QStringLiteral(" "),
                              this);
        return false;
    }
    TreeViewPumps->clear();
    database_->TreeViewBuildFromIndex(*TreeViewPumps);
    if (QTreeWidgetItem *first = TreeViewPumps->topLevelItem(0))
        first->setExpanded(true);
    if (message.size() > 1)
        Dialogs().ShowMessage(TDialogKind::Warning, QString::fromStdString(message), this);
    return true;
}

void TPumpManagerForm::TopFolderChange()
{
    ClearFilteredResults();
    state.lastTopFolder = ComboBoxTopFolder->currentText();
    if (!buildIndex(true))
        reject();
}

void TPumpManagerForm::SetBrowseMode(bool browse)
{
    for (QWidget *w : std::initializer_list<QWidget *>{EditFlow, EditHead, EditSpeedMin, EditSpeedMax,
                                                       ComboBoxWhereFlow, ComboBoxLookFor, EditMiss, BitBtnFindPumps})
        w->setEnabled(!browse);
    for (QWidget *w : std::initializer_list<QWidget *>{TreeViewPumps, BitBtnAddToFilteredList})
        w->setEnabled(browse);
    if (browse) {
        ComboBoxTopFolder->move(96, 170);
        ComboBoxFlowUnit->move(267, 200);
        ComboBoxHeadUnit->move(267, 227);
        setPreviewUnits();
    } else {
        ComboBoxTopFolder->move(96, 8);
        ComboBoxFlowUnit->move(127, 58);
        ComboBoxHeadUnit->move(127, 85);
        BitBtnSelectPump->setEnabled(false);
    }
    if (database_)
        ClearFilteredResults();
}

void TPumpManagerForm::setPreviewUnits()
{
    PreviewPump.PumpPoints.FlowDisplayUnit = state.flowUnit;
    PreviewPump.PumpPoints.HeadDisplayUnit = state.headUnit;
    PreviewPump.ImpellerDiameterDisplayUnit = state.impellerUnit;
    PreviewPump.PumpPoints.NPSHrDisplayUnit = imperial(state.headUnit) ? unt_ft_hd_fluid : unt_m_hd_fluid;
}

void TPumpManagerForm::clearGraph()
{
    ImagePumpCurve->Picture.fill(Qt::white);
    ImagePumpCurve->update();
}

void TPumpManagerForm::clearDetails()
{
    for (QLabel *l : {LabelName, LabelCatalog, LabelManufacturer, LabelType, LabelSize, LabelStages, LabelMotorRpm,
                      LabelSpeedMin, LabelSpeedMax, LabelOrigFlowUnit, LabelOrigHeadUnit})
        l->clear();
    GroupBoxDetails->setEnabled(false);
    LabelRunningSpeed->hide();
    LabelRunningDiameter->hide();
    previewed_ = false;
    BitBtnSelectPump->setEnabled(false);
}

void TPumpManagerForm::fillDetails()
{
    const TPump &p = PreviewPump;
    GroupBoxDetails->setEnabled(true);
    LabelName->setText(QString::fromStdString(p.Name));
    LabelCatalog->setText(QString::fromStdString(p.PumpCatalog));
    LabelManufacturer->setText(QString::fromStdString(p.PumpManufacturer));
    LabelType->setText(QString::fromStdString(p.PumpTypeKind));
    LabelSize->setText(QString::fromStdString(p.PumpSize));
    LabelStages->setText(QString::number(p.PumpStages));
    LabelMotorRpm->setText(QString::number(p.PumpMotorRpm));
    LabelSpeedMin->setText(QString::number(p.PumpSpeedMinRpm));
    LabelSpeedMax->setText(QString::number(p.PumpSpeedMaxRpm));
    LabelOrigFlowUnit->setText(QString::fromStdString(unitPlainName(p.BaseDataPumpPoints.FlowDisplayUnit)));
    LabelOrigHeadUnit->setText(QString::fromStdString(unitPlainName(p.BaseDataPumpPoints.HeadDisplayUnit)));
    LabelRunningSpeed->setText(QString::number(p.Speed_rpm) + QStringLiteral("  rpm"));
    LabelRunningDiameter->setText(
        QString::fromStdString(convertUnitToString(unt_m, state.impellerUnit, 3, p.ImpellerDiameter_m)) +
        QStringLiteral(" ") + QString::fromStdString(unitName(state.impellerUnit)));
    LabelRunningSpeed->show();
    LabelRunningDiameter->show();
}

void TPumpManagerForm::drawPreview(bool withOperatingPoint)
{
    ImagePumpCurve->Picture.fill(Qt::white);
    {
        TQtCanvas canvas(&ImagePumpCurve->Picture);
        graph_->GraphCanvas = &canvas;
        TPumpDataForm::Instance().DrawPumpGraph(*graph_, false, 65, PreviewPump);
        if (withOperatingPoint)
            PreviewPump.DrawOperatingPoint(
                *graph_, convertFlowUnit(unt_kg_sec, state.flowUnit, std_15degC_101325Pa, state.dutyFlow_kgs, density_, 0,
                                         288.15, 1.01325),
                density_, PreviewPump.PumpGraphOptions.ColorDesignPoint, 4);
        graph_->GraphCanvas = nullptr;
    }
    ImagePumpCurve->update();
}

bool TPumpManagerForm::loadPreviewFile(int entry)
{
    const std::string path = database_->GetFullPathFromRelativePath(database_->Entry(entry).RelativeFilePath);
    try {
        TMemoryStream stream(ReadWholeFile(path));
        TPump loaded;
        loaded.Load(stream, PumpCurrentFileVersion, density_, true);
        PreviewPump.CopyPump(loaded);
        PreviewPump.PumpFileVersionString = loaded.PumpFileVersionString;
        return true;
    } catch (const std::exception &) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Cannot open pump file.\r\rThe file may have been moved or deleted: "
                                             "\r\r") +
                                  QString::fromStdString(path),
                              this);
        return false;
    }
}

namespace {
void applyVersionRule(TPump &p, double density)
{
    if (p.PumpFileVersionString > "5.12")
        p.CopyRunningDataFromBaseData();
    else
        p.CopyBaseDataFromRunningData();
    p.calcPumpCurves(density);
}
} // namespace

void TPumpManagerForm::PreviewGridRow(int row)
{
    // 1.
    state.highlightedRow = row;
    bool ok = false;
    const QTableWidgetItem *cell = StringGridPumps->item(row, 0);
    const int entry = cell ? cell->text().toInt(&ok) : 0;
    if (row < 2 || !ok || entry < 1 || entry > database_->pumpCount) {
        StringGridPumps->viewport()->update();
        return;
    }
    // 2. A file gone since it was listed: say so and drop its row.
    if (!loadPreviewFile(entry)) {
        StringGridPumps->removeRow(row);
        state.highlightedRow = -1;
        clearGraph();
        clearDetails();
        return;
    }
    // 3.
    TPumpGraphOptions &o = PreviewPump.PumpGraphOptions;
    o.ShowDesignCurve = o.ShowEnvelope = o.ShowEfficiencyIso = o.ShowDesignPoint = o.ShowImportedLogo =
        o.ShowMinFlowLine = true;
    o.ShowPrefOpRange = o.ShowEfficiencyLine = o.ShowPower = o.ShowNPSHr = o.ShowSystemCurve =
        o.ShowImportedPumpSheet = false;
    o.SystemCurveHeadStart_mHd = 0;
    // 4. - 6.
    setPreviewUnits();
    applyVersionRule(PreviewPump, density_);
    if (PreviewPump.ImpellerDiameter_m > 0) {
        const TPump &matched = database_->Entry(entry).Pump;
        bool valid = false;
        PreviewPump.UpdateRunningDataForSpeedAndImpellerDiameter2(matched.Speed_rpm, matched.ImpellerDiameter_m,
                                                                  density_, valid);
    }
    // 7.
    drawPreview(true);
    fillDetails();
    previewed_ = true;
    BitBtnSelectPump->setEnabled(true);
    StringGridPumps->viewport()->update();
}

void TPumpManagerForm::PreviewTreeNode(QTreeWidgetItem *node)
{
    if (!database_ || !IsPumpNode(node))
        return;
    const std::string relative = node->data(0, PumpTreePathRole).toString().toStdString();
    int entry = 0;
    for (int i = 1; i <= database_->pumpCount; ++i)
        if (database_->Entry(i).RelativeFilePath == relative)
            entry = i;
    if (entry == 0)
        return;
    // 1.
    if (!loadPreviewFile(entry)) {
        clearGraph();
        clearDetails();
        return;
    }
    database_->Entry(entry).Pump.CopyPump(PreviewPump);
    database_->Entry(entry).Pump.calcPumpCurves(density_);
    // 2. - 3.
    setPreviewUnits();
    PreviewPump.PumpGraphOptions.ShowPrefOpRange = false;
    applyVersionRule(PreviewPump, density_);
    if (PreviewPump.ImpellerDiameter_m > 0) {
        bool valid = false;
        PreviewPump.UpdateRunningDataForSpeedAndImpellerDiameter2(PreviewPump.Speed_rpm, PreviewPump.ImpellerDiameter_m,
                                                                  density_, valid);
    }
    // 4.
    drawPreview(false);
    fillDetails();
    previewed_ = true;
    BitBtnSelectPump->setEnabled(true);
}

void TPumpManagerForm::ChooseClick()
{
    // Nothing previewed in this opening: nothing to hand back.
    if (!previewed_) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Please select a pump from the list before choosing Select."), this);
        return;
    }
    Chosen = true;
    accept();
}

void TPumpManagerForm::ClearFilteredResults()
{
    if (database_)
        database_->IndexUnSelectAll();
    StringGridPumps->clearContents();
    StringGridPumps->clearSelection();
    StringGridPumps->setRowCount(3);
    state.highlightedRow = -1;
    GroupBoxResults->setTitle(QStringLiteral("Filtered Results"));
    clearGraph();
    clearDetails();
}

void TPumpManagerForm::readBoxes()
{
    bool ok = false;
    const double flow = EditFlow->text().toDouble(&ok);
    if (ok && flow >= 0)
        state.dutyFlow_kgs = toKgs(state.flowUnit, flow, density_);
    const double head = EditHead->text().toDouble(&ok);
    if (ok && head >= 0 && network_)
        state.dutyHead_mHd =
            convertPressure(state.headUnit, unt_m_hd_fluid, head, network_->ConfigOptions.Atmosphere_bar_a, density_);
    state.impellerUnit = imperial(state.headUnit) ? unt_inch : unt_mm;
    const double miss = EditMiss->text().toDouble(&ok);
    state.allowedMiss = std::max(ok && miss >= 0 ? miss : 0.0, 0.1);
    const int speedMin = EditSpeedMin->text().toInt(&ok);
    state.speedMin = ok && speedMin > 0 ? speedMin : 0;
    const int speedMax = EditSpeedMax->text().toInt(&ok);
    state.speedMax = ok && speedMax > 0 ? speedMax : 0;
    state.preference = static_cast<TFlowPreference>(std::clamp(ComboBoxWhereFlow->currentIndex(), 0, 2));
    state.lookFor = std::clamp(ComboBoxLookFor->currentIndex(), 0, 2);
}

void TPumpManagerForm::copyGridToTable(const TStringGrid &grid)
{
    StringGridPumps->clearContents();
    StringGridPumps->setColumnCount(std::max(grid.ColCount(), 1));
    StringGridPumps->setRowCount(std::max(grid.RowCount(), 3));
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c) {
            auto *item = new QTableWidgetItem(QString::fromStdString(grid.Cell(c, r)));
            if (r < 2)
                item->setBackground(QApplication::palette().button());
            StringGridPumps->setItem(r, c, item);
        }
    for (int c = 0; c < grid.ColCount(); ++c)
        StringGridPumps->setColumnWidth(c, grid.ColWidth(c));
}

void TPumpManagerForm::FindPumpsClick()
{
    // 1.
    TFormMessageShown wait(QStringLiteral("Searching Pump Database..."), pos() + QPoint(476, 68));
    // 2.
    state.lastTopFolder = ComboBoxTopFolder->currentText();
    buildIndex(false);
    // 3.
    readBoxes();
    // 4.
    TStringGrid grid(17, 3);
    grid.FixedRows = 2;
    grid.FixedCols = 1;
    database_->flowUnit = state.flowUnit;
    database_->headUnit = state.headUnit;
    database_->impellerDiameterUnit = state.impellerUnit;
    database_->AddPumpRowHeaderToStringGrid(grid, *network_);
    ClearFilteredResults();
    // 5.
    const char *failure = nullptr;
    if (state.speedMax < state.speedMin)
        failure = "Maximum speed must be greater than minimum speed.\r";
    else if (state.speedMax <= 0)
        failure = "Maximum speed must be greater than zero.\r";
    else if (state.speedMin < 0)
        failure = "Minimum speed cannot be less than zero.\r";
    else if (state.dutyFlow_kgs <= 0)
        failure = "Flow must be greater than zero.\r";
    else if (state.dutyHead_mHd <= 0)
        failure = "Head must be greater than zero.\r";
    if (failure) {
        copyGridToTable(grid);
        wait.Close();
        Dialogs().ShowMessage(TDialogKind::Error, QString::fromLatin1(failure), this);
        return;
    }
    // 6.
    int row = 2;
    const double flow = state.dutyFlow_kgs, head = state.dutyHead_mHd;
    switch (state.lookFor) {
    case 1:
        database_->IndexFindMatchingPumpsFastestSpeedAddToStringGrid(
            flow, state.flowUnit, head, state.headUnit, state.impellerUnit, state.speedMin, state.speedMax, density_,
            state.preference, state.allowedMiss, *network_, grid, row);
        break;
    case 2:
        database_->IndexFindMatchingPumpsLargestDiameterAddToStringGrid(
            flow, state.flowUnit, head, state.headUnit, state.impellerUnit, state.speedMin, state.speedMax, density_,
            state.preference, state.allowedMiss, *network_, grid, row);
        break;
    default:
        database_->IndexFindMatchingPumpsBestEfficiencyAddToStringGrid(
            flow, state.flowUnit, head, state.headUnit, state.impellerUnit, state.speedMin, state.speedMax, density_,
            state.preference, state.allowedMiss, *network_, grid, row);
        break;
    }
    copyGridToTable(grid);
    // 7.
    int listed = 0;
    for (int r = 2; r < grid.RowCount(); ++r)
        if (!grid.Cell(0, r).empty())
            ++listed;
    GroupBoxResults->setTitle(QStringLiteral("Filtered Results: ") + QString::number(listed) +
                              QStringLiteral(" Pumps"));
    if (listed > 0) {
        StringGridPumps->setCurrentCell(2, 1);
        PreviewGridRow(2);
        if (StringGridPumps->isEnabled())
            StringGridPumps->setFocus();
    }
}

void TPumpManagerForm::AddToFilteredListClick()
{
    QTreeWidgetItem *root = TreeViewPumps->topLevelItem(0);
    if (!root)
        return;
    auto mark = [this](QTreeWidgetItem *node) {
        if (!node->isSelected() || !IsPumpNode(node))
            return;
        const std::string relative = node->data(0, PumpTreePathRole).toString().toStdString();
        for (int i = 1; i <= database_->pumpCount; ++i)
            if (database_->Entry(i).RelativeFilePath == relative)
                database_->Entry(i).Selected = true;
    };
    // Pumps one and two levels below the top folder only.
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem *child = root->child(i);
        mark(child);
        for (int j = 0; j < child->childCount(); ++j)
            mark(child->child(j));
    }
    TStringGrid grid(17, 3);
    int finish = 0;
    database_->PopulateStringGridPumpDataSelected(*network_, grid, 0, finish);
    copyGridToTable(grid);
    int listed = 0;
    for (int i = 1; i <= database_->pumpCount; ++i)
        if (database_->Entry(i).Selected)
            ++listed;
    GroupBoxResults->setTitle(QStringLiteral("Filtered List: ") + QString::number(listed) + QStringLiteral(" Pumps"));
    if (TreeViewPumps->isEnabled())
        TreeViewPumps->setFocus();
}

void TPumpManagerForm::DeleteClick()
{
    const QString failed = QStringLiteral("Error occured: Cannot delete folder.\r\r ");
    QTreeWidgetItem *node = TreeViewPumps->currentItem();
    if (!node || !database_) {
        Dialogs().ShowMessage(TDialogKind::Warning, failed, this);
        return;
    }
    // 1. The folder path: the library root, then the folder nodes down to the node.
    QStringList folders;
    for (QTreeWidgetItem *n = node; n; n = n->parent())
        if (!IsPumpNode(n))
            folders.prepend(n->text(0));
    const QString folder = libraryRoot() + QStringLiteral("/") + folders.join(QStringLiteral("/"));
    QTreeWidgetItem *parent = node->parent();
    if (IsPumpNode(node)) {
        // 2.
        if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                                QStringLiteral("Are you sure you wish to delete the selected pump?\r"), this))
            return;
        const QString file = folder + QStringLiteral("/") + node->text(0);
        if (!QFile::remove(file)) {
            Dialogs().ShowMessage(TDialogKind::Warning,
                                  QStringLiteral("Cannot delete pump file.\r\rCheck permissions on file: \r\r") + file,
                                  this);
            return;
        }
        if (parent)
            TreeViewPumps->setCurrentItem(parent);
        delete node;
        return;
    }
    // 3.
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Are you sure you wish to delete the selected folder?\r"), this))
        return;
    if (!QDir().rmdir(folder)) {
        Dialogs().ShowMessage(TDialogKind::Warning,
                              QStringLiteral("Cannot delete folder.\r\rFolder must be empty before it can be deleted."),
                              this);
        return;
    }
    if (parent) {
        TreeViewPumps->setCurrentItem(parent);
        delete node;
        return;
    }
    // The top folder itself went: show the list's first one.
    delete node;
    ComboBoxTopFolder->removeItem(ComboBoxTopFolder->currentIndex());
    ComboBoxTopFolder->setCurrentIndex(ComboBoxTopFolder->count() > 0 ? 0 : -1);
    TreeViewPumps->clear();
    if (ComboBoxTopFolder->count() > 0)
        TopFolderChange();
}

} // namespace tessaran
