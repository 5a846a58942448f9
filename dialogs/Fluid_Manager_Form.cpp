#include "dialogs/Fluid_Manager_Form.h"

#include <fstream>
#include <functional>
#include <sstream>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "dialogs/File_Header_Display.h"
#include "dialogs/GasDataCalc_Form.h"
#include "dialogs/Gravity_Helper_Form.h"
#include "dialogs/String_Grid_Procedures.h"
#include "platform/TextFile.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr double AnyAtmosphere_bar_a = 1.01325;
constexpr int RowHeight = 18;
const QColor TopPanelColour(227, 243, 255);
const QColor TransferColour(192, 192, 192);
const std::vector<int> ListColumnWidths = {141, 75, 70, 80, 80, 80, 80, 45};
const std::vector<int> TitleColumnWidths = {141, 75, 70, 80, 80, 80, 80, 65};

const QString NameBlank = QStringLiteral("The fluid name cannot be blank.");
const QString DataIncomplete = QStringLiteral("The fluid data is not complete.\rPlease enter missing data.");

constexpr TFluidCategory LoadOrder[4] = {TFluidCategory::StandardLiquids, TFluidCategory::UserLiquids,
                                         TFluidCategory::StandardGases, TFluidCategory::UserGases};

// Draws the user-entry mark in column 0 of a user entry's row.
class TUserMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() != 0 || !index.data(Qt::UserRole).toBool())
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(QColor(0, 120, 215));
        painter->setPen(Qt::NoPen);
        const int size = std::min(10, option.rect.height() - 4);
        painter->drawEllipse(QRect(option.rect.x() + 113, option.rect.center().y() - size / 2, size, size));
        painter->restore();
    }
};

QString TitleText(const char *first, const QString &second) { return QString::fromUtf8(first) + "\n" + second; }

QStringList Titles(bool metric, bool gases)
{
    return {QStringLiteral("Name"),
            QStringLiteral("Formula"),
            TitleText("Temperature", metric ? "°C" : "°F"),
            TitleText("Pressure", metric ? "bar g" : "psi g"),
            TitleText("Density", metric ? "kg/m³" : "lb/ft³"),
            TitleText("Viscosity", "Centipoise"),
            gases ? TitleText("Specific Heat", "Ratio")
                  : TitleText("Vapour Press.", metric ? "kPa (abs)" : "psi (abs)"),
            QStringLiteral("State")};
}

TStringGridWidget *MakeTitleGrid(const char *name, QWidget *parent)
{
    auto *grid = Named<TStringGridWidget>(name, parent);
    grid->SetColCount(8);
    grid->SetRowCount(1);
    grid->horizontalHeader()->setFixedHeight(32);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setFixedHeight(34);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFrameShape(QFrame::NoFrame);
    StringGridSetColumnWidths(grid, TitleColumnWidths, 1);
    return grid;
}

const QString TitleStyle = QStringLiteral(
    "QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #c8dcf0);"
    " padding-left: 2px; padding-top: 2px; }");

} // namespace

TFluidDataManagerForm::TFluidDataManagerForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FluidDataManagerForm"));
    setWindowTitle(QStringLiteral("Fluid data"));
    ProgramFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString() + "/";
    GasDataCalcForm = new TFormGasDataCalc(this);
    SpecificGravityForm = new TFormSpecificGravity(this);

    auto makeBoxes = [this](const char *prefix, QWidget *panel) {
        auto name = [prefix](const char *part) { return QByteArray(prefix) + part; };
        TFluidBoxes boxes{};
        boxes.Name = Named<QLineEdit>(name("EditName").constData(), panel);
        boxes.Formula = Named<QLineEdit>(name("EditFormula").constData(), panel);
        boxes.Temperature = Named<TRightEdit>(name("EditTemperature").constData(), panel);
        boxes.Pressure = Named<TRightEdit>(name("EditPressure").constData(), panel);
        boxes.Density = Named<TRightEdit>(name("EditDensity").constData(), panel);
        boxes.Viscosity = Named<TRightEdit>(name("EditViscosity").constData(), panel);
        boxes.LastValue = Named<TRightEdit>(name("EditLastValue").constData(), panel);
        boxes.State = Named<QComboBox>(name("ComboBoxFluidState").constData(), panel);
        boxes.State->addItems({QStringLiteral("Liquid"), QStringLiteral("Gas")});
        boxes.Name->setMaxLength(TFluid::NameLength);
        boxes.Formula->setMaxLength(TFluid::ChemicalFormulaLength);
        auto filter = [](bool negative, int pre, int post) {
            return [negative, pre, post](TRightEdit *sender, char16_t &key) {
                FilterRealKey(sender, key, negative, pre, post);
            };
        };
        boxes.Temperature->OnKeyPress = filter(true, 6, 3);
        boxes.Viscosity->OnKeyPress = filter(true, 6, 6);
        boxes.Pressure->OnKeyPress = filter(false, 6, 6);
        boxes.Density->OnKeyPress = filter(false, 6, 6);
        boxes.LastValue->OnKeyPress = filter(false, 6, 6);
        QLineEdit *all[] = {boxes.Name,    boxes.Formula,   boxes.Temperature, boxes.Pressure,
                            boxes.Density, boxes.Viscosity, boxes.LastValue};
        for (int i = 0; i < 7; ++i) {
            all[i]->setFixedWidth(TitleColumnWidths[static_cast<std::size_t>(i)] + 2);
            SelectAllOnEntry(all[i]);
        }
        boxes.State->setFixedWidth(TitleColumnWidths[7] + 2);
        return boxes;
    };
    auto boxRow = [](const TFluidBoxes &boxes) {
        auto *row = new QHBoxLayout;
        row->setSpacing(0);
        for (QWidget *box : std::initializer_list<QWidget *>{boxes.Name, boxes.Formula, boxes.Temperature,
                                                             boxes.Pressure, boxes.Density, boxes.Viscosity,
                                                             boxes.LastValue, boxes.State, boxes.SpecificGravity})
            row->addWidget(box);
        row->addStretch();
        return row;
    };

    // Top band: the working fluid.
    TopPanel = Named<QFrame>("TopPanel", this);
    FmTitleStringGrid = MakeTitleGrid("FmTitleStringGrid", TopPanel);
    Fm = makeBoxes("Fm", TopPanel);
    FmComboBoxFluidState = Fm.State;
    BitBtnSpecificGravity = Named<QPushButton>("BitBtnSpecificGravity", QStringLiteral("SG"), TopPanel);
    Fm.SpecificGravity = BitBtnSpecificGravity;
    RevertToOriginalBitBtn = Named<QPushButton>("RevertToOriginalBitBtn", QStringLiteral("Cancel"), TopPanel);
    CloseWindowBitBtn = Named<QPushButton>("CloseWindowBitBtn", QStringLiteral("Save"), TopPanel);
    {
        auto *layout = new QVBoxLayout(TopPanel);
        auto *head = new QHBoxLayout;
        head->addWidget(new QLabel(QStringLiteral("Fluid properties:"), TopPanel));
        head->addStretch();
        head->addWidget(RevertToOriginalBitBtn);
        head->addWidget(CloseWindowBitBtn);
        layout->addLayout(head);
        layout->addWidget(FmTitleStringGrid);
        layout->addLayout(boxRow(Fm));
    }

    // Middle band: the database.
    auto *middle = Named<QFrame>("MiddlePanel", this);
    FluidDataStringGrid = Named<TStringGridWidget>("FluidDataStringGrid", middle);
    FluidDataStringGrid->SetColCount(8);
    FluidDataStringGrid->SetRowCount(FluidDataSetSize);
    FluidDataStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FluidDataStringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    FluidDataStringGrid->verticalHeader()->setDefaultSectionSize(RowHeight);
    FluidDataStringGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FluidDataStringGrid->horizontalHeader()->setFixedHeight(32);
    FluidDataStringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FluidDataStringGrid->setItemDelegate(new TUserMarkDelegate(FluidDataStringGrid));
    FluidDataStringGrid->setFixedHeight(ListHeight);
    StringGridSetColumnWidths(FluidDataStringGrid, ListColumnWidths, 0);
    FluidDataStringGrid->setMinimumWidth(680);
    for (TStringGridWidget *grid : {FmTitleStringGrid, FluidDataStringGrid})
        grid->horizontalHeader()->setStyleSheet(TitleStyle);
    MetricRadioButton = Named<QRadioButton>("MetricRadioButton", QStringLiteral("Metric"), middle);
    ImperialRadioButton = Named<QRadioButton>("ImperialRadioButton", QStringLiteral("Imperial"), middle);
    auto *units = new QGroupBox(middle);
    {
        auto *layout = new QHBoxLayout(units);
        layout->addWidget(MetricRadioButton);
        layout->addWidget(ImperialRadioButton);
    }
    ShowFluidTypeOptionsRadioGroup = Named<QGroupBox>("ShowFluidTypeOptionsRadioGroup", middle);
    LiquidsRadioButton = Named<QRadioButton>("LiquidsRadioButton", QStringLiteral("Liquids"));
    GasesRadioButton = Named<QRadioButton>("GasesRadioButton", QStringLiteral("Gases"));
    {
        auto *layout = new QHBoxLayout(ShowFluidTypeOptionsRadioGroup);
        layout->addWidget(LiquidsRadioButton);
        layout->addWidget(GasesRadioButton);
    }
    CreateNewEntryBitBtn = Named<QPushButton>("CreateNewEntryBitBtn", QStringLiteral("Add New Fluid"), middle);
    RemoveEntryBitBtn = Named<QPushButton>("RemoveEntryBitBtn", QStringLiteral("Remove Fluid"), middle);
    CalculateGasDataBitBtn = Named<QPushButton>("CalculateGasDataBitBtn", QStringLiteral("Calculate Gas Data"), middle);
    UseSelectedFluidBitBtn =
        Named<QPushButton>("UseSelectedFluidBitBtn", QStringLiteral("Transfer Selected Fluid"), middle);
    PreviousPageBitBtn = Named<QPushButton>("PreviousPageBitBtn", QStringLiteral("Previous Page"), middle);
    NextPageBitBtn = Named<QPushButton>("NextPageBitBtn", QStringLiteral("Next Page"), middle);
    {
        auto *layout = new QGridLayout(middle);
        layout->addWidget(new QLabel(QStringLiteral("Fluid Properties Database:"), middle), 0, 0);
        layout->addWidget(FluidDataStringGrid, 1, 0, 8, 1);
        layout->addWidget(units, 1, 1);
        layout->addWidget(ShowFluidTypeOptionsRadioGroup, 2, 1);
        layout->addWidget(UseSelectedFluidBitBtn, 3, 1);
        layout->addWidget(CalculateGasDataBitBtn, 4, 1);
        layout->addWidget(PreviousPageBitBtn, 5, 1);
        layout->addWidget(NextPageBitBtn, 6, 1);
        layout->addWidget(CreateNewEntryBitBtn, 7, 1);
        layout->addWidget(RemoveEntryBitBtn, 8, 1);
    }

    // Bottom band: a new database entry.
    AddFluidPanel = Named<QFrame>("AddFluidPanel", this);
    UserTitleStringGrid = MakeTitleGrid("UserTitleStringGrid", AddFluidPanel);
    UserTitleStringGrid->horizontalHeader()->setStyleSheet(TitleStyle);
    User = makeBoxes("User", AddFluidPanel);
    UserComboBoxFluidState = User.State;
    BitBtnAddFluidDataSpecificGravity =
        Named<QPushButton>("BitBtnAddFluidDataSpecificGravity", QStringLiteral("SG"), AddFluidPanel);
    User.SpecificGravity = BitBtnAddFluidDataSpecificGravity;
    BitBtn2 = Named<QPushButton>("BitBtn2", QStringLiteral("Transfer Selected Fluid"), AddFluidPanel);
    CloseNewEntryBitBtn = Named<QPushButton>("CloseNewEntryBitBtn", QStringLiteral("Cancel"), AddFluidPanel);
    AddNewEntryBitBtn = Named<QPushButton>("AddNewEntryBitBtn", QStringLiteral("Add to Fluid Data"), AddFluidPanel);
    {
        auto *layout = new QVBoxLayout(AddFluidPanel);
        auto *head = new QHBoxLayout;
        head->addWidget(new QLabel(QStringLiteral("Add fluid data:"), AddFluidPanel));
        head->addStretch();
        head->addWidget(BitBtn2);
        head->addWidget(CloseNewEntryBitBtn);
        head->addWidget(AddNewEntryBitBtn);
        layout->addLayout(head);
        layout->addWidget(UserTitleStringGrid);
        layout->addLayout(boxRow(User));
    }
    AddFluidPanel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TopPanel);
    layout->addWidget(middle);
    layout->addWidget(AddFluidPanel);
    setMinimumWidth(850);

    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    SelectNewSizeTimer = Named<QTimer>("SelectNewSizeTimer", this);
    SelectNewSizeTimer->setSingleShot(true);
    connect(SelectNewSizeTimer, &QTimer::timeout, this, [this] {
        SelectNewSizeTimer->stop();
        PaintDialogBackground(TopPanel, TopPanelColour);
    });

    connect(CloseWindowBitBtn, &QPushButton::clicked, this, [this] { CloseWindowBitBtnClick(); });
    connect(RevertToOriginalBitBtn, &QPushButton::clicked, this, [this] { reject(); });
    connect(UseSelectedFluidBitBtn, &QPushButton::clicked, this, [this] { UseSelectedFluidBitBtnClick(); });
    connect(FluidDataStringGrid, &QTableWidget::cellDoubleClicked, this, [this] { UseSelectedFluidBitBtnClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(CreateNewEntryBitBtn, &QPushButton::clicked, this, [this] { CreateNewEntryBitBtnClick(); });
    connect(CloseNewEntryBitBtn, &QPushButton::clicked, this, [this] { CloseNewEntryBitBtnClick(); });
    connect(AddNewEntryBitBtn, &QPushButton::clicked, this, [this] { AddNewEntryBitBtnClick(); });
    connect(RemoveEntryBitBtn, &QPushButton::clicked, this, [this] { RemoveEntryBitBtnClick(); });
    connect(CalculateGasDataBitBtn, &QPushButton::clicked, this, [this] { CalculateGasDataBitBtnClick(); });
    connect(LiquidsRadioButton, &QRadioButton::clicked, this, [this] { ShowFluidTypeOptionsRadioGroupClick(); });
    connect(GasesRadioButton, &QRadioButton::clicked, this, [this] { ShowFluidTypeOptionsRadioGroupClick(); });
    connect(MetricRadioButton, &QRadioButton::clicked, this, [this] { MetricRadioButtonClick(); });
    connect(ImperialRadioButton, &QRadioButton::clicked, this, [this] { MetricRadioButtonClick(); });
    connect(FmComboBoxFluidState, &QComboBox::activated, this, [this] { FmComboBoxFluidStateChange(); });
    connect(UserComboBoxFluidState, &QComboBox::activated, this, [this] {
        SetListState(User.State->currentText() == "Gas");
        ShowStateOfBoxes(User);
    });
    connect(PreviousPageBitBtn, &QPushButton::clicked, this, [this] { PreviousPage(); });
    connect(NextPageBitBtn, &QPushButton::clicked, this, [this] { NextPage(); });
    connect(BitBtnSpecificGravity, &QPushButton::clicked, this, [this] { SpecificGravityClick(Fm); });
    connect(BitBtnAddFluidDataSpecificGravity, &QPushButton::clicked, this, [this] { SpecificGravityClick(User); });
    connect(FluidDataStringGrid->horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int column) {
        StringGridClearSelection(FluidDataStringGrid);
        if (column == 0)
            SortFromTitle();
    });
    connect(FluidDataStringGrid, &QTableWidget::currentCellChanged, this,
            [this](int row) { FluidDataStringGridClick(row + 1); });

    InstallFileDataKey(this, &FileHeader, false);
    LiquidsRadioButton->setChecked(true);
    ImperialRadioButton->setChecked(true);
}

TFluidDataManagerForm::~TFluidDataManagerForm() = default;

std::string TFluidDataManagerForm::FluidFilePath(const std::string &fileName) const
{
    return ProgramFolder + std::string(TFluidFileNames::Folder) + "/" + fileName;
}

// --- Files ----------------------------------------------------------------

bool TFluidDataManagerForm::LoadFluidDataSetFromText(const std::string &path)
{
    if (!QFileInfo(q(path)).isFile())
        return true;
    std::ifstream f(path, std::ios::binary);
    if (!f)
        throw EFluidDataSetClass("Cannot open file " + path);
    // A file without even its header line holds no fluids.
    if (!HasAnotherTextLine(f))
        return true;
    FileHeader.LoadFromText(f);
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    const std::string extension =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? std::string() : path.substr(dot);
    std::string tooLarge;
    if (extension == TFluidFileNames::StandardLiquidsExtension)
        tooLarge = FluidDataSet.LoadFromText_LiquidsDataSet(f);
    else if (extension == TFluidFileNames::UserLiquidsExtension)
        tooLarge = FluidDataSet.LoadFromText_UserLiquidsDataSet(f);
    else if (extension == TFluidFileNames::StandardGasesExtension)
        tooLarge = FluidDataSet.LoadFromText_GasesDataSet(f);
    else if (extension == TFluidFileNames::UserGasesExtension)
        tooLarge = FluidDataSet.LoadFromText_UserGasesDataSet(f);
    else if (extension == TFluidFileNames::OldFluidsExtension)
        tooLarge = FluidDataSet.LoadFromText_V639FluidsDataSet(f);
    SetFluidDataGrid_MinimumRowCount();
    if (!tooLarge.empty()) {
        Dialogs().ShowMessageBox({TDialogKind::Error, q(tooLarge), DialogAbort, this, std::nullopt, QString()});
        return false;
    }
    return true;
}

namespace {

// The whole file is written to a temporary file that replaces the old one
// only when complete.
void WriteFluidFile(const std::string &path, TFileHeader &header, const TFluidDataSet &set, TFluidCategory category)
{
    std::ostringstream text(std::ios::binary);
    header.SetData(TFluidFileNames::Version, "", "");
    header.SaveToText(text);
    set.SaveToText(category, text);
    const std::string bytes = text.str();
    QSaveFile file(q(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EFluidDataSetClass("Cannot write file " + path);
}

} // namespace

void TFluidDataManagerForm::SaveFluidDataStandardLiquids_ToText(const std::string &path)
{
    WriteFluidFile(path, FileHeader, FluidDataSet, TFluidCategory::StandardLiquids);
}

void TFluidDataManagerForm::SaveFluidDataUserLiquids_ToText(const std::string &path)
{
    WriteFluidFile(path, FileHeader, FluidDataSet, TFluidCategory::UserLiquids);
}

void TFluidDataManagerForm::SaveFluidDataStandardGases_ToText(const std::string &path)
{
    WriteFluidFile(path, FileHeader, FluidDataSet, TFluidCategory::StandardGases);
}

void TFluidDataManagerForm::SaveFluidDataUserGases_ToText(const std::string &path)
{
    WriteFluidFile(path, FileHeader, FluidDataSet, TFluidCategory::UserGases);
}

void TFluidDataManagerForm::CheckForAndLoadOldVersionOfFluidFile()
{
    const std::string oldName =
        std::string(TFluidFileNames::OldFluids) + std::string(TFluidFileNames::OldFluidsExtension);
    const std::string path = FluidFilePath(oldName);
    if (!QFileInfo(q(path)).isFile())
        return;
    // The import rewrites both user files from the set: not while either
    // of them is only partly in it.
    if (unreadable_[static_cast<std::size_t>(TFluidCategory::UserLiquids)] ||
        unreadable_[static_cast<std::size_t>(TFluidCategory::UserGases)])
        return;
    TMessageBoxRequest question{TDialogKind::Confirmation,
                                QStringLiteral("User defined Fluid data from an old version of Tessaran has been "
                                               "found in file: \r\r") +
                                    q(oldName) + "\r\r" + "Import and Save this data to the latest Fluid Database?" +
                                    "\r",
                                DialogYesNo,
                                nullptr,
                                std::nullopt,
                                QString()};
    if (Dialogs().ShowMessageBox(question) != DialogYes)
        return;
    const TSnapshot before = snapshot();
    try {
        if (!LoadFluidDataSetFromText(path)) {
            restore(before);
            return;
        }
        const std::string gases = FluidFilePath(FluidCategoryFileName(TFluidCategory::UserGases));
        const std::string liquids = FluidFilePath(FluidCategoryFileName(TFluidCategory::UserLiquids));
        SaveFluidDataUserGases_ToText(gases);
        SaveFluidDataUserLiquids_ToText(liquids);
    } catch (const std::exception &error) {
        restore(before);
        Dialogs().ShowMessage(TDialogKind::Error, q(error.what()), this);
        return;
    }
    const std::string renamed =
        std::string(TFluidFileNames::OldFluidsRenamed) + std::string(TFluidFileNames::OldFluidsRenamedExtension);
    if (QFileInfo::exists(q(FluidFilePath(renamed))) || !QFile::rename(q(path), q(FluidFilePath(renamed))))
        Dialogs().ShowMessage(
            TDialogKind::Information,
            QStringLiteral("Could not rename ") + q(oldName) + "\r\r" + "Check file permissions." + "\r\r" +
                "On restarting Tessaran may ask whether to import of the file again. " +
                "If the file imported successfully then re-importing will duplicate fluid data entries. " + "\r\r" +
                "It is recommended that you check if the import of old user fluid data was successful and if so " +
                "then manually rename the file listed above to avoid further import of the same data." + "\r",
            this);
}

void TFluidDataManagerForm::loadDatabase()
{
    FluidDataSet.ClearFluidDataArray();
    unreadable_ = {};
    bool whole = true;
    for (int i = 0; i < 4; ++i) {
        try {
            if (!LoadFluidDataSetFromText(FluidFilePath(FluidCategoryFileName(LoadOrder[i])))) {
                unreadable_[static_cast<std::size_t>(i)] = true;
                whole = false;
            }
        } catch (const std::exception &error) {
            unreadable_[static_cast<std::size_t>(i)] = true;
            whole = false;
            Dialogs().ShowMessage(TDialogKind::Error, q(FluidCategoryFileName(LoadOrder[i])) + "\r\r" + q(error.what()),
                                  this);
        }
    }
    CheckForAndLoadOldVersionOfFluidFile();
    FluidDataSet.SortFluidDataSet(true);
    // A database that did not load whole is read again at the next opening.
    firstOpening_ = !whole;
}

TFluidDataManagerForm::TSnapshot TFluidDataManagerForm::snapshot() const
{
    TSnapshot saved;
    saved.reserve(static_cast<std::size_t>(FluidDataSet.FluidCount));
    for (int i = 1; i <= FluidDataSet.FluidCount; ++i)
        saved.emplace_back(*FluidDataSet.FluidDataArray[i].Fluid, FluidDataSet.FluidDataArray[i].Is_UserFluidData);
    return saved;
}

void TFluidDataManagerForm::restore(const TSnapshot &saved)
{
    FluidDataSet.ClearFluidDataArray();
    for (const auto &[fluid, isUser] : saved) {
        TFluid copy = fluid;
        FluidDataSet.AddFluidDataRec({&copy, isUser});
    }
}

bool TFluidDataManagerForm::rewriteCategory(TFluidCategory category)
{
    const std::string name = FluidCategoryFileName(category);
    if (unreadable_[static_cast<std::size_t>(category)]) {
        Dialogs().ShowMessage(TDialogKind::Error,
                              QStringLiteral("The file ") + q(name) +
                                  " did not load completely when the fluid database was opened, so it is not "
                                  "rewritten.\r\rThe change has not been made.",
                              this);
        return false;
    }
    try {
        WriteFluidFile(FluidFilePath(name), FileHeader, FluidDataSet, category);
        return true;
    } catch (const std::exception &error) {
        Dialogs().ShowMessage(TDialogKind::Error, q(error.what()) + "\r\rThe change has not been made.", this);
        return false;
    }
}

// --- Opening --------------------------------------------------------------

void TFluidDataManagerForm::OpenFluidDataManager(TFluid &The_Fluid, bool &FluidSaved, bool Metric, bool ResultsMode)
{
    PaintDialogBackground(this);
    PaintDialogBackground(AddFluidPanel);
    fluidSaved_ = false;
    if (firstOpening_) {
        liquidsRow_ = liquidsTop_ = gasesRow_ = gasesTop_ = 1;
        WriteTitles();
        loadDatabase();
        SetFluidDataGrid_MinimumRowCount();
        selectRow(1);
    }
    PaintDialogBackground(TopPanel, TopPanelColour);
    for (QLineEdit *box : {User.Name, User.Formula, static_cast<QLineEdit *>(User.Temperature),
                           static_cast<QLineEdit *>(User.Pressure), static_cast<QLineEdit *>(User.Density),
                           static_cast<QLineEdit *>(User.Viscosity), static_cast<QLineEdit *>(User.LastValue)})
        box->clear();
    closeAddPanel();

    resultsMode_ = ResultsMode;
    for (QLineEdit *box : {Fm.Name, Fm.Formula, static_cast<QLineEdit *>(Fm.Temperature),
                           static_cast<QLineEdit *>(Fm.Pressure), static_cast<QLineEdit *>(Fm.Density),
                           static_cast<QLineEdit *>(Fm.Viscosity), static_cast<QLineEdit *>(Fm.LastValue)})
        box->setReadOnly(ResultsMode);
    Fm.State->setEnabled(!ResultsMode);
    for (QWidget *control :
         std::initializer_list<QWidget *>{CloseWindowBitBtn, UseSelectedFluidBitBtn, BitBtn2, MetricRadioButton,
                                          ImperialRadioButton, ShowFluidTypeOptionsRadioGroup, CreateNewEntryBitBtn})
        control->setEnabled(!ResultsMode);
    RemoveEntryBitBtn->setVisible(!ResultsMode);

    callersFluid_ = &The_Fluid;
    WorkingFluid.CopyFluid(The_Fluid);

    (Metric ? MetricRadioButton : ImperialRadioButton)->setChecked(true);
    MetricRadioButtonClick();

    DisplayFluidInBoxes(The_Fluid, Fm);
    SetListState(The_Fluid.FluidIsGas);

    exec();
    SelectNewSizeTimer->stop();
    FluidSaved = fluidSaved_;
}

void TFluidDataManagerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ShowFluidTypeOptionsRadioGroupClick();
}

// --- Display --------------------------------------------------------------

void TFluidDataManagerForm::WriteTitles()
{
    StringGridSetRowTexts(FluidDataStringGrid, Titles(metric_, showingGases_), QString(), QString(), 0, 0);
    StringGridSetRowTexts(UserTitleStringGrid, Titles(metric_, showingGases_), QString(), QString(), 0, 0);
    StringGridSetRowTexts(FmTitleStringGrid, Titles(metric_, Fm.State->currentText() == "Gas"), QString(), QString(), 0,
                          0);
    if (QTableWidgetItem *title = FluidDataStringGrid->horizontalHeaderItem(0))
        title->setIcon(style()->standardIcon(ascending_ ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown));
}

void TFluidDataManagerForm::SetFluidDataGrid_MinimumRowCount()
{
    const int count = FluidDataSet.FluidCount;
    if (count == 0) {
        FluidDataStringGrid->SetRowCount(2);
        FluidDataStringGrid->setRowHidden(0, true);
        PreviousPageBitBtn->hide();
        NextPageBitBtn->hide();
    } else {
        FluidDataStringGrid->SetRowCount(count + 1);
        PreviousPageBitBtn->show();
        NextPageBitBtn->show();
    }
}

void TFluidDataManagerForm::DisplayFluidDataList(int row)
{
    displaying_ = true;
    TStringGridWidget *grid = FluidDataStringGrid;
    SetFluidDataGrid_MinimumRowCount();
    StringGridFillCells(grid, 0, 1, QString());
    const int count = FluidDataSet.FluidCount;
    for (int i = 1; i <= count; ++i) {
        const TFluidDataRec entry = FluidDataSet.GetFluidDataRec(i);
        const std::vector<std::string> cells =
            metric_ ? entry.Fluid->DisplayOnStringGrid_Metric(i) : entry.Fluid->DisplayOnStringGrid_Imperial(i);
        for (int col = 0; col < 8; ++col)
            grid->SetCells(col, i, q(cells[static_cast<std::size_t>(col)]));
        if (QTableWidgetItem *cell = grid->item(i - 1, 0))
            cell->setData(Qt::UserRole, entry.Is_UserFluidData);
        grid->setRowHeight(i - 1, RowHeight);
        grid->setRowHidden(i - 1, entry.Fluid->FluidIsGas != showingGases_);
    }
    for (int *position : {&liquidsRow_, &liquidsTop_, &gasesRow_, &gasesTop_})
        if (*position > count)
            *position = count;
    if (row <= 0) {
        StringGridClearSelection(grid);
    } else {
        int current = showingGases_ ? gasesRow_ : liquidsRow_;
        const int top = showingGases_ ? gasesTop_ : liquidsTop_;
        // A saved row of the other state: the first row of this one after it.
        while (current >= 1 && current <= count && grid->isRowHidden(current - 1) && current < count)
            ++current;
        if (current >= 1 && current <= count && !grid->isRowHidden(current - 1)) {
            grid->SetRow(current);
            lastVisibleRow_ = current;
        }
        scrollToTop(top);
    }
    grid->viewport()->update();
    displaying_ = false;
}

void TFluidDataManagerForm::scrollToTop(int row)
{
    TStringGridWidget *grid = FluidDataStringGrid;
    if (row < 1 || row > FluidDataSet.FluidCount)
        return;
    while (row < FluidDataSet.FluidCount && grid->isRowHidden(row - 1))
        ++row;
    grid->scrollTo(grid->model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

void TFluidDataManagerForm::selectRow(int row)
{
    if (row >= 1 && row <= FluidDataSet.FluidCount)
        FluidDataStringGrid->SetRow(row);
}

void TFluidDataManagerForm::storeListPosition()
{
    const int row = FluidDataStringGrid->Row();
    if (row < 1)
        return;
    (showingGases_ ? gasesRow_ : liquidsRow_) = row;
    (showingGases_ ? gasesTop_ : liquidsTop_) = FluidDataStringGrid->TopRow();
}

void TFluidDataManagerForm::DisplayFluidInBoxes(const TFluid &fluid, const TFluidBoxes &boxes)
{
    boxes.Name->setText(q(fluid.name));
    boxes.Formula->setText(q(fluid.chemicalFormula));
    boxes.Viscosity->setText(q(formatFixed(6, fluid.centipoise)));
    boxes.Temperature->setText(
        q(formatFixed(3, convertUnit(unt_degrees_K, metric_ ? unt_degrees_C : unt_degrees_F, fluid.degrees_K))));
    boxes.Pressure->setText(
        q(formatFixed(6, convertUnit(unt_Bar_G, metric_ ? unt_Bar_G : unt_Psi_G, fluid.pressure_bar_g))));
    boxes.Density->setText(
        q(formatFixed(6, convertUnit(unt_kg_m3, metric_ ? unt_kg_m3 : unt_lb_ft3, fluid.density_kgs_m3))));
    boxes.LastValue->setText(
        fluid.FluidIsGas
            ? q(formatFixed(6, fluid.specificHeatRatio))
            : q(formatFixed(6, convertAbsolutePressureUnit(unt_Bar_A, metric_ ? unt_kPa_A : unt_Psi_A,
                                                           fluid.vapourPressure_bar_a, AnyAtmosphere_bar_a))));
    boxes.State->setCurrentIndex(fluid.FluidIsGas ? 1 : 0);
    ShowStateOfBoxes(boxes);
    WriteTitles();
}

void TFluidDataManagerForm::ShowStateOfBoxes(const TFluidBoxes &boxes)
{
    const bool gas = boxes.State->currentText() == "Gas";
    boxes.SpecificGravity->setVisible(gas && !resultsMode_);
    boxes.SpecificGravity->setEnabled(gas && !resultsMode_);
}

void TFluidDataManagerForm::SetListState(bool gases)
{
    (gases ? GasesRadioButton : LiquidsRadioButton)->setChecked(true);
    ShowFluidTypeOptionsRadioGroupClick();
}

void TFluidDataManagerForm::ShowFluidTypeOptionsRadioGroupClick()
{
    storeListPosition();
    showingGases_ = GasesRadioButton->isChecked();
    CalculateGasDataBitBtn->setVisible(showingGases_ && AddFluidPanel->isHidden());
    DisplayFluidDataList(1);
    SetFluidDataGrid_MinimumRowCount();
    WriteTitles();
}

namespace {

// Rewrites a box's number in another unit when it reads under the rules
// given; a box that does not read keeps its text.
void ConvertEditTextUnits(TRightEdit *box, bool allowZero, bool allowNegative, int decimals,
                          const std::function<double(double)> &convert)
{
    bool valid = false;
    const double value = ReadRealFromEdit(box, valid, allowZero, allowNegative);
    if (valid)
        box->setText(q(formatFixed(decimals, convert(value))));
}

} // namespace

void TFluidDataManagerForm::ConvertBoxes(const TFluidBoxes &boxes)
{
    const TUnit temperatureFrom = metric_ ? unt_degrees_F : unt_degrees_C;
    const TUnit pressureFrom = metric_ ? unt_Psi_G : unt_Bar_G;
    const TUnit densityFrom = metric_ ? unt_lb_ft3 : unt_kg_m3;
    const TUnit absoluteFrom = metric_ ? unt_Psi_A : unt_kPa_A;
    const TUnit temperatureTo = metric_ ? unt_degrees_C : unt_degrees_F;
    const TUnit pressureTo = metric_ ? unt_Bar_G : unt_Psi_G;
    const TUnit densityTo = metric_ ? unt_kg_m3 : unt_lb_ft3;
    const TUnit absoluteTo = metric_ ? unt_kPa_A : unt_Psi_A;
    ConvertEditTextUnits(boxes.Temperature, true, true, 3,
                         [&](double v) { return convertUnit(temperatureFrom, temperatureTo, v); });
    ConvertEditTextUnits(boxes.Pressure, false, false, 6,
                         [&](double v) { return convertUnit(pressureFrom, pressureTo, v); });
    ConvertEditTextUnits(boxes.Density, false, false, 6,
                         [&](double v) { return convertUnit(densityFrom, densityTo, v); });
    if (boxes.State->currentText() == "Liquid")
        ConvertEditTextUnits(boxes.LastValue, true, false, 6, [&](double v) {
            return convertAbsolutePressureUnit(absoluteFrom, absoluteTo, v, AnyAtmosphere_bar_a);
        });
}

void TFluidDataManagerForm::MetricRadioButtonClick()
{
    const bool wasMetric = metric_;
    metric_ = MetricRadioButton->isChecked();
    WriteTitles();
    DisplayFluidDataList(1);
    if (metric_ != wasMetric) {
        ConvertBoxes(Fm);
        ConvertBoxes(User);
    }
}

void TFluidDataManagerForm::FmComboBoxFluidStateChange()
{
    const bool gas = Fm.State->currentText() == "Gas";
    SetListState(gas);
    ShowStateOfBoxes(Fm);
    Fm.LastValue->setText(
        gas ? q(formatFixed(6, WorkingFluid.specificHeatRatio))
            : q(formatFixed(6, convertAbsolutePressureUnit(unt_Bar_A, metric_ ? unt_kPa_A : unt_Psi_A,
                                                           WorkingFluid.vapourPressure_bar_a, AnyAtmosphere_bar_a))));
    WriteTitles();
}

// --- Reading a row of boxes -----------------------------------------------

bool TFluidDataManagerForm::readBoxes(const TFluidBoxes &boxes, bool forSave, TFluid &fluid, QString &reason) const
{
    bool valid = false;
    const double temperature = ReadRealFromEdit(boxes.Temperature, valid, true, true);
    if (!valid) {
        reason = QStringLiteral("Temperature value is incorrect");
        return false;
    }
    const double pressure = ReadRealFromEdit(boxes.Pressure, valid, true, !forSave);
    if (!valid) {
        reason = QStringLiteral("Pressure value is incorrect");
        return false;
    }
    const double density = ReadRealFromEdit(boxes.Density, valid, false, false);
    if (!valid) {
        reason = QStringLiteral("Density value is incorrect");
        return false;
    }
    const double viscosity = ReadRealFromEdit(boxes.Viscosity, valid, false, false);
    if (!valid) {
        reason = QStringLiteral("Viscosity value is incorrect");
        return false;
    }
    double last = ReadRealFromEdit(boxes.LastValue, valid, true, false);
    if (!valid)
        last = 0;

    TFluid built;
    const std::string name = boxes.Name->text().toStdString();
    built.name = CutToShortString(name.substr(std::min(name.find_first_not_of(' '), name.size())), TFluid::NameLength);
    built.chemicalFormula = CutToShortString(boxes.Formula->text().toStdString(), TFluid::ChemicalFormulaLength);
    built.degrees_K = convertUnit(metric_ ? unt_degrees_C : unt_degrees_F, unt_degrees_K, temperature);
    built.pressure_bar_g = metric_ ? pressure : convertUnit(unt_Psi_G, unt_Bar_G, pressure);
    built.density_kgs_m3 = metric_ ? density : convertUnit(unt_lb_ft3, unt_kg_m3, density);
    built.centipoise = viscosity;
    built.centistokes = viscosity / built.density_kgs_m3 * 1000.0;
    built.compressedFlowFactor = 1.0;
    if (boxes.State->currentText() == "Gas") {
        built.specificHeatRatio = last;
        built.FluidIsGas = true;
    } else {
        built.vapourPressure_bar_a =
            convertAbsolutePressureUnit(metric_ ? unt_kPa_A : unt_Psi_A, unt_Bar_A, last, AnyAtmosphere_bar_a);
        built.FluidIsGas = false;
    }
    fluid = built;
    return true;
}

namespace {

QString LeftTrimmed(const QString &text)
{
    int first = 0;
    while (first < text.size() && text[first] == ' ')
        ++first;
    return text.mid(first);
}

} // namespace

// --- Commands -------------------------------------------------------------

void TFluidDataManagerForm::CloseWindowBitBtnClick()
{
    if (resultsMode_)
        return;
    if (LeftTrimmed(Fm.Name->text()).isEmpty()) {
        Dialogs().ShowMessage(TDialogKind::Warning, NameBlank, this);
        return;
    }
    TFluid fluid;
    QString reason;
    if (!readBoxes(Fm, true, fluid, reason)) {
        Dialogs().ShowMessage(TDialogKind::Warning, DataIncomplete, this);
        return;
    }
    if (callersFluid_)
        callersFluid_->CopyFluid(fluid);
    fluidSaved_ = true;
    accept();
}

bool TFluidDataManagerForm::canTransferRow(int row) const
{
    return !resultsMode_ && row >= 1 && row <= FluidDataSet.FluidCount && !FluidDataStringGrid->isRowHidden(row - 1);
}

void TFluidDataManagerForm::UseSelectedFluidBitBtnClick()
{
    const int row = FluidDataStringGrid->Row();
    if (!canTransferRow(row))
        return;
    storeListPosition();
    const TFluid &entry = *FluidDataSet.GetFluidDataRec(row).Fluid;
    const double flowFactor = WorkingFluid.compressedFlowFactor;
    WorkingFluid.CopyFluid(entry);
    WorkingFluid.compressedFlowFactor = flowFactor;
    DisplayFluidInBoxes(WorkingFluid, Fm);
    WriteTitles();
    PaintDialogBackground(TopPanel, TransferColour);
    SelectNewSizeTimer->start(500);
}

void TFluidDataManagerForm::BitBtn2Click()
{
    const int row = FluidDataStringGrid->Row();
    if (!canTransferRow(row))
        return;
    storeListPosition();
    DisplayFluidInBoxes(*FluidDataSet.GetFluidDataRec(row).Fluid, User);
    WriteTitles();
    PaintDialogBackground(AddFluidPanel, FlashYellow);
    AddFluidPanel->repaint();
    QTimer::singleShot(500, AddFluidPanel, [this] { PaintDialogBackground(AddFluidPanel); });
}

void TFluidDataManagerForm::CreateNewEntryBitBtnClick()
{
    if (resultsMode_)
        return;
    CalculateGasDataBitBtn->hide();
    CreateNewEntryBitBtn->hide();
    RemoveEntryBitBtn->hide();
    FluidDataStringGrid->setFixedHeight(ShortListHeight);
    StringGridShowCurrentRow(FluidDataStringGrid);
    for (QLineEdit *box : {User.Name, User.Formula, static_cast<QLineEdit *>(User.Temperature),
                           static_cast<QLineEdit *>(User.Pressure), static_cast<QLineEdit *>(User.Density),
                           static_cast<QLineEdit *>(User.Viscosity), static_cast<QLineEdit *>(User.LastValue)})
        box->clear();
    User.State->setCurrentIndex(showingGases_ ? 1 : 0);
    ShowStateOfBoxes(User);
    AddFluidPanel->show();
    User.Name->setFocus();
}

void TFluidDataManagerForm::closeAddPanel()
{
    CreateNewEntryBitBtn->show();
    RemoveEntryBitBtn->setVisible(!resultsMode_);
    AddFluidPanel->hide();
    CalculateGasDataBitBtn->setVisible(showingGases_);
    FluidDataStringGrid->setFixedHeight(ListHeight);
}

void TFluidDataManagerForm::CloseNewEntryBitBtnClick()
{
    closeAddPanel();
    StringGridShowCurrentRow(FluidDataStringGrid);
}

void TFluidDataManagerForm::AddNewEntryBitBtnClick()
{
    if (LeftTrimmed(User.Name->text()).isEmpty()) {
        Dialogs().ShowMessage(TDialogKind::Warning, NameBlank, this);
        return;
    }
    TFluid fluid;
    QString reason;
    bool read = true;
    // The separator or a line break in a name would break its line in the
    // file.
    if (BreaksFluidLine(User.Name->text().toStdString()) || BreaksFluidLine(User.Formula->text().toStdString())) {
        reason = QStringLiteral("Name and formula cannot hold \"~|~\" or a line break");
        read = false;
    } else {
        read = readBoxes(User, false, fluid, reason);
    }
    if (!read) {
        Dialogs().ShowMessage(
            TDialogKind::Warning,
            QStringLiteral("The fluid data cannot be added.\r") + reason + "\r" + "Please correct the data.", this);
        return;
    }
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Add new fluid data to Fluid database.\rProceed with this operation?"),
                            this))
        return;
    const TSnapshot before = snapshot();
    try {
        FluidDataSet.AddFluidDataRec({&fluid, true});
    } catch (const std::exception &error) {
        Dialogs().ShowMessage(TDialogKind::Error, q(error.what()), this);
        return;
    }
    if (!rewriteCategory(fluid.FluidIsGas ? TFluidCategory::UserGases : TFluidCategory::UserLiquids)) {
        restore(before);
        DisplayFluidDataList(1);
        return;
    }
    FluidDataSet.SortFluidDataSet(ascending_);
    const int row = FluidDataSet.FindEntryNameId(fluid.name);
    SetFluidDataGrid_MinimumRowCount();
    if (row >= 1) {
        (showingGases_ ? gasesRow_ : liquidsRow_) = row;
        (showingGases_ ? gasesTop_ : liquidsTop_) = row;
    }
    DisplayFluidDataList(1);
    StringGridShowCurrentRow(FluidDataStringGrid);
    closeAddPanel();
}

void TFluidDataManagerForm::RemoveEntryBitBtnClick()
{
    const int row = FluidDataStringGrid->Row();
    if (resultsMode_ || row < 1 || row > FluidDataSet.FluidCount || FluidDataStringGrid->isRowHidden(row - 1))
        return;
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("The selected fluid data will be permanently removed.\rThis action cannot "
                                           "be reversed.\r\rContinue with removal?"),
                            this))
        return;
    const TFluidDataRec entry = FluidDataSet.GetFluidDataRec(row);
    const TFluidCategory category = FluidCategoryOf(entry.Is_UserFluidData, entry.Fluid->FluidIsGas);
    const TSnapshot before = snapshot();
    FluidDataSet.RemoveFluidDataRec(row);
    if (!rewriteCategory(category))
        restore(before);
    SetFluidDataGrid_MinimumRowCount();
    DisplayFluidDataList(0);
    const int count = FluidDataSet.FluidCount;
    if (count == 0) {
        StringGridClearSelection(FluidDataStringGrid);
        return;
    }
    const int next = row > count ? count : row;
    (showingGases_ ? gasesRow_ : liquidsRow_) = next;
    FluidDataStringGrid->SetRow(next);
}

void TFluidDataManagerForm::CalculateGasDataBitBtnClick()
{
    auto fluid = std::make_unique<TFluid>();
    bool toCurrentFluid = false, toDatabase = false;
    GasDataCalcForm->ProgramFolder = ProgramFolder;
    GasDataCalcForm->OpenForm(*fluid, toCurrentFluid, toDatabase, metric_);
    if (toCurrentFluid)
        DisplayFluidInBoxes(*fluid, Fm);
    if (!toDatabase)
        return;
    const TSnapshot before = snapshot();
    try {
        FluidDataSet.AddFluidDataRec({fluid.get(), true});
    } catch (const std::exception &error) {
        Dialogs().ShowMessage(TDialogKind::Error, q(error.what()), this);
        return;
    }
    if (!rewriteCategory(TFluidCategory::UserGases)) {
        restore(before);
        DisplayFluidDataList(1);
        return;
    }
    FluidDataSet.SortFluidDataSet(ascending_);
    const int row =
        FluidDataSet.FindEntryNameIDAndTemperaturePressure(fluid->name, fluid->degrees_K, fluid->pressure_bar_g);
    SetFluidDataGrid_MinimumRowCount();
    DisplayFluidDataList(0);
    if (row >= 1) {
        (showingGases_ ? gasesRow_ : liquidsRow_) = row;
        FluidDataStringGrid->SetRow(row);
        StringGridShowCurrentRow(FluidDataStringGrid);
    }
}

void TFluidDataManagerForm::SortFromTitle()
{
    ascending_ = !ascending_;
    FluidDataSet.SortFluidDataSet(ascending_);
    DisplayFluidDataList(0);
    scrollToTop(1);
    ShowFluidTypeOptionsRadioGroupClick();
}

void TFluidDataManagerForm::FluidDataStringGridClick(int row)
{
    if (displaying_ || row < 1)
        return;
    TStringGridWidget *grid = FluidDataStringGrid;
    const int count = FluidDataSet.FluidCount;
    if (row <= count && grid->isRowHidden(row - 1)) {
        int candidate = 0;
        if (row > lastVisibleRow_) {
            for (int r = row + 1; r <= count && !candidate; ++r)
                if (!grid->isRowHidden(r - 1))
                    candidate = r;
            for (int r = count; r >= 1 && !candidate; --r)
                if (!grid->isRowHidden(r - 1))
                    candidate = r;
        } else {
            for (int r = row - 1; r >= 1 && !candidate; --r)
                if (!grid->isRowHidden(r - 1))
                    candidate = r;
            for (int r = 2; r <= count && !candidate; ++r)
                if (!grid->isRowHidden(r - 1))
                    candidate = r;
        }
        displaying_ = true;
        if (candidate >= 2)
            grid->SetRow(candidate);
        else if (lastVisibleRow_ >= 1 && lastVisibleRow_ <= count)
            grid->SetRow(lastVisibleRow_);
        displaying_ = false;
        row = grid->Row();
        if (row < 1 || grid->isRowHidden(row - 1))
            return;
    }
    lastVisibleRow_ = row;
    storeListPosition();
}

void TFluidDataManagerForm::PreviousPage()
{
    TStringGridWidget *grid = FluidDataStringGrid;
    const int page = ListHeight / RowHeight - 2;
    int top = grid->TopRow();
    int visible = 0;
    for (int r = top - 1; r >= 1 && visible < page; --r)
        if (!grid->isRowHidden(r - 1)) {
            ++visible;
            top = r;
        }
    scrollToTop(top);
    grid->SetRow(top);
}

void TFluidDataManagerForm::NextPage()
{
    SetFluidDataGrid_MinimumRowCount();
    TStringGridWidget *grid = FluidDataStringGrid;
    const int page = ListHeight / RowHeight - 2;
    int top = grid->TopRow();
    int visible = 0;
    int candidate = top;
    for (int r = top + 1; r <= FluidDataSet.FluidCount && visible < page; ++r)
        if (!grid->isRowHidden(r - 1)) {
            ++visible;
            candidate = r;
        }
    if (visible == page)
        top = candidate;
    scrollToTop(top);
    grid->SetRow(top);
}

void TFluidDataManagerForm::SpecificGravityClick(const TFluidBoxes &boxes)
{
    const TUnit temperatureUnit = metric_ ? unt_degrees_C : unt_degrees_F;
    const TUnit pressureUnit = metric_ ? unt_Bar_G : unt_Psi_G;
    const TUnit densityUnit = metric_ ? unt_kg_m3 : unt_lb_ft3;
    bool valid = false;
    double temperature_K = 293.15, pressure_bar_g = 0.0, density = 0.0;
    const double temperature = ReadRealFromEdit(boxes.Temperature, valid, true, true);
    if (valid)
        temperature_K = convertUnit(temperatureUnit, unt_degrees_K, temperature);
    const double pressure = ReadRealFromEdit(boxes.Pressure, valid, true, true);
    if (valid)
        pressure_bar_g = convertUnit(pressureUnit, unt_Bar_G, pressure);
    bool save = true;
    SpecificGravityForm->OpenFormSpecificGravity(boxes.State->currentText() == "Liquid", metric_, temperature_K,
                                                 pressure_bar_g, density, save);
    if (!save)
        return;
    boxes.Temperature->setText(q(formatFixed(3, convertUnit(unt_degrees_K, temperatureUnit, temperature_K))));
    boxes.Pressure->setText(q(formatFixed(6, convertUnit(unt_Bar_G, pressureUnit, pressure_bar_g))));
    boxes.Density->setText(q(formatFixed(6, convertUnit(unt_kg_m3, densityUnit, density))));
}

} // namespace tessaran
