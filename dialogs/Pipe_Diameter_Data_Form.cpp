#include "dialogs/Pipe_Diameter_Data_Form.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Main_Window_Services.h"
#include "dialogs/Dialog_Look.h"
#include "dialogs/File_Header_Display.h"
#include "dialogs/String_Grid_Procedures.h"
#include "model/Pipe_Nominal_Size_Set_Class.h"
#include "model/Pipe_Table_Text.h"
#include "platform/Stream.h"
#include "platform/TextFile.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/Units.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

const QColor BandColour(227, 243, 255);
const QColor FlashSilver(192, 192, 192);
const char *const FallbackFile = "Steel_ANSI_Sch40.trpi";
constexpr int SizeRowHeight = 18;
constexpr int SizeListHeight = 338;
constexpr int MaterialGridHeight = 345;
constexpr double Pi = 3.1415926535897932385;
const int SizeColumnWidths[] = {75, 75, 75, 75, 70, 70, 70};

const QString NotValidFile = QStringLiteral("Cannot load pipe and diameter data. File is not valid.\r");

char separator() { return static_cast<char>(LocaleDecimalSeparator()); }

double readBox(const QLineEdit *box, bool &valid)
{
    return ReadRealFromString(box->text().trimmed().toStdString(), valid, false, false, separator());
}

bool isPlaceholder(const TPipe &pipe) { return pipe.NominalDiameterMetric < 0; }

// Titles filled with a gradient from white to light grey, their text
// wrapped at its line breaks.
class TGradientHeader : public QHeaderView {
public:
    explicit TGradientHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0, Qt::white);
        gradient.setColorAt(1, QColor(230, 230, 230));
        painter->fillRect(rect, gradient);
        painter->setPen(QColor(160, 160, 160));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->setPen(Qt::black);
        const QString text = model()->headerData(logicalIndex, Qt::Horizontal).toString();
        painter->drawText(rect.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        // A click on the titles leaves no row selected.
        if (auto *grid = qobject_cast<TStringGridWidget *>(parentWidget()))
            StringGridClearSelection(grid);
        QHeaderView::mousePressEvent(event);
    }
};

// Marks the rows of the user's own list beside their nominal size.
class TUserMarkerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() == 0 && index.data(Qt::UserRole).toBool()) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBrush(QColor(0, 120, 215));
            painter->setPen(Qt::NoPen);
            painter->drawEllipse(QRect(option.rect.left() + 57, option.rect.top() + 2, 10, 10));
            painter->restore();
        }
    }
};

TStringGridWidget *newGrid(const char *name, QWidget *parent, int columns, int rows)
{
    auto *grid = Named<TStringGridWidget>(name, parent);
    grid->setHorizontalHeader(new TGradientHeader(grid));
    grid->SetColCount(columns);
    grid->SetRowCount(rows);
    grid->setFrameShape(QFrame::NoFrame);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(SizeRowHeight);
    return grid;
}

void setTitleHeight(TStringGridWidget *grid, int height) { grid->horizontalHeader()->setFixedHeight(height); }

QString fileNameWithoutExtension(const std::string &fileName) { return QFileInfo(q(fileName)).completeBaseName(); }

// Key filters of the boxes.
void RealEntry(TRightEdit *box, int before, int after)
{
    box->OnKeyPress = [before, after](TRightEdit *sender, char16_t &key) {
        FilterRealKey(sender, key, false, before, after);
    };
    SelectAllOnEntry(box);
}

} // namespace

TPipeDiameterDataForm::TPipeDiameterDataForm(const std::string &PipeTablesFolder, TMainWindowServices *MainWindow,
                                             QWidget *parent)
    : QDialog(parent), folder_(PipeTablesFolder), mainWindow_(MainWindow)
{
    setObjectName(QStringLiteral("PipeDiameterDataForm"));
    setWindowTitle(QStringLiteral("Pipe diameter data"));

    // The pipe band.
    SelectedPipeDataPanel = Named<QFrame>("SelectedPipeDataPanel", this);
    SelectedPipeDataPanel->setAutoFillBackground(true);
    PipeNameLabel = Named<QLabel>("PipeNameLabel", SelectedPipeDataPanel);
    PipeIdLabel = Named<QLabel>("PipeIdLabel", SelectedPipeDataPanel);
    PipeMaterialStringGrid = newGrid("PipeMaterialStringGrid", SelectedPipeDataPanel, 3, 2);
    setTitleHeight(PipeMaterialStringGrid, 20);
    PipeMaterialStringGrid->SetCells(0, 0, QStringLiteral("Material"));
    PipeMaterialStringGrid->SetCells(1, 0, QStringLiteral("Schedule / Class"));
    StringGridSetColumnWidths(PipeMaterialStringGrid, {151, 151, 141}, 1);
    PipeMaterialStringGrid->setRowHeight(0, 22);
    PipeMaterialStringGrid->setFixedHeight(20 + 24);
    ChosenSizeStringGrid = newGrid("ChosenSizeStringGrid", SelectedPipeDataPanel, 7, 2);
    setTitleHeight(ChosenSizeStringGrid, 32);
    StringGridSetColumnWidths(ChosenSizeStringGrid,
                              std::vector<int>(std::begin(SizeColumnWidths), std::end(SizeColumnWidths)), 1);
    ChosenSizeStringGrid->setRowHeight(0, 22);
    ChosenSizeStringGrid->setFixedHeight(32 + 24);
    for (int col = 0; col < 7; ++col)
        ChosenSizeStringGrid->SetCells(col, 1, QString());
    for (int col : {5, 6}) {
        QTableWidgetItem *cell = ChosenSizeStringGrid->item(0, col);
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(FlashSilver);
    }
    MaterialEdit = Named<QLineEdit>("MaterialEdit");
    MaterialEdit->setMaxLength(40);
    ScheduleEdit = Named<QLineEdit>("ScheduleEdit");
    ScheduleEdit->setMaxLength(20);
    RoughnessEdit = Named<TRightEdit>("RoughnessEdit");
    RealEntry(RoughnessEdit, 3, 6);
    PipeMaterialStringGrid->setCellWidget(0, 0, MaterialEdit);
    PipeMaterialStringGrid->setCellWidget(0, 1, ScheduleEdit);
    PipeMaterialStringGrid->setCellWidget(0, 2, RoughnessEdit);
    NominalSizeEdit = Named<QLineEdit>("NominalSizeEdit");
    NominalSizeEdit->setEnabled(false);
    InternalDiameterEdit = Named<TRightEdit>("InternalDiameterEdit");
    WallThicknessEdit = Named<TRightEdit>("WallThicknessEdit");
    OutsideDiameterEdit = Named<TRightEdit>("OutsideDiameterEdit");
    WeightEdit = Named<TRightEdit>("WeightEdit");
    ChosenSizeStringGrid->setCellWidget(0, 0, NominalSizeEdit);
    int col = 1;
    for (TRightEdit *box : {InternalDiameterEdit, WallThicknessEdit, OutsideDiameterEdit, WeightEdit}) {
        RealEntry(box, 6, 3);
        ChosenSizeStringGrid->setCellWidget(0, col++, box);
    }
    SavePipeButton = Named<QPushButton>("SavePipeButton", QStringLiteral("Save Pipe"), SelectedPipeDataPanel);
    CancelButton = Named<QPushButton>("CancelButton", QStringLiteral("Cancel "), SelectedPipeDataPanel);
    auto *band = new QGridLayout(SelectedPipeDataPanel);
    auto *bandTop = new QHBoxLayout;
    bandTop->addWidget(new QLabel(QStringLiteral("Pipe data:"), SelectedPipeDataPanel));
    bandTop->addWidget(PipeNameLabel);
    bandTop->addWidget(PipeIdLabel);
    bandTop->addStretch();
    band->addLayout(bandTop, 0, 0, 1, 2);
    band->addWidget(PipeMaterialStringGrid, 1, 0);
    band->addWidget(ChosenSizeStringGrid, 2, 0);
    auto *bandButtons = new QVBoxLayout;
    bandButtons->addWidget(SavePipeButton);
    bandButtons->addWidget(CancelButton);
    bandButtons->addStretch();
    band->addLayout(bandButtons, 1, 1, 2, 1);

    // The size list.
    PipeDiameterTitleLabel = Named<QLabel>("PipeDiameterTitleLabel", QStringLiteral("Pipe Diameter Database:"), this);
    RoughnessLabel = Named<QLabel>("RoughnessLabel", this);
    PipeDiameterDataStringGrid = newGrid("PipeDiameterDataStringGrid", this, 7, 201);
    setTitleHeight(PipeDiameterDataStringGrid, 32);
    PipeDiameterDataStringGrid->setItemDelegateForColumn(0, new TUserMarkerDelegate(PipeDiameterDataStringGrid));
    PipeDiameterDataStringGrid->setFixedHeight(SizeListHeight);
    PipeDiameterDataStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGridSetColumnWidths(PipeDiameterDataStringGrid,
                              std::vector<int>(std::begin(SizeColumnWidths), std::end(SizeColumnWidths)), 0);
    PreviousPageButton = Named<QPushButton>("PreviousPageButton", QStringLiteral("<"), this);
    PreviousPageButton->setToolTip(QStringLiteral("Previous Page"));
    NextPageButton = Named<QPushButton>("NextPageButton", QStringLiteral(">"), this);
    NextPageButton->setToolTip(QStringLiteral("Next Page"));
    TransferSelectedSizeButton =
        Named<QPushButton>("TransferSelectedSizeButton", QStringLiteral("Transfer Selected Size"), this);
    MetricRadioButton = Named<QRadioButton>("MetricRadioButton", QStringLiteral("Metric"), this);
    ImperialRadioButton = Named<QRadioButton>("ImperialRadioButton", QStringLiteral("Imperial"), this);
    ChangeMaterialButton = Named<QPushButton>("ChangeMaterialButton", QStringLiteral("Change Material"), this);
    AddNewSizeButton = Named<QPushButton>("AddNewSizeButton", QStringLiteral("Add New Size"), this);
    RemoveEntryButton = Named<QPushButton>("RemoveEntryButton", QStringLiteral("Remove Entry"), this);
    SelectNewSizeTimer = Named<QTimer>("SelectNewSizeTimer", this);
    SelectNewSizeTimer->setSingleShot(true);

    // The new-size panel.
    NewSizePanel = Named<QFrame>("NewSizePanel", this);
    NewSizeHeadingLabel = Named<QLabel>("NewSizeHeadingLabel", NewSizePanel);
    NewSizeRoughnessLabel = Named<QLabel>("NewSizeRoughnessLabel", NewSizePanel);
    NewPipeDataHeadingStringGrid = newGrid("NewPipeDataHeadingStringGrid", NewSizePanel, 7, 2);
    setTitleHeight(NewPipeDataHeadingStringGrid, 32);
    StringGridSetColumnWidths(NewPipeDataHeadingStringGrid,
                              std::vector<int>(std::begin(SizeColumnWidths), std::end(SizeColumnWidths)), 1);
    NewPipeDataHeadingStringGrid->setRowHeight(0, 20);
    NewPipeDataHeadingStringGrid->setFixedHeight(54);
    NewNominalSizeComboBox = Named<QComboBox>("NewNominalSizeComboBox");
    NewInternalDiameterEdit = Named<TRightEdit>("NewInternalDiameterEdit");
    NewWallThicknessEdit = Named<TRightEdit>("NewWallThicknessEdit");
    NewOutsideDiameterEdit = Named<TRightEdit>("NewOutsideDiameterEdit");
    NewWeightEdit = Named<TRightEdit>("NewWeightEdit");
    NewPipeDataHeadingStringGrid->setCellWidget(0, 0, NewNominalSizeComboBox);
    col = 1;
    for (TRightEdit *box : {NewInternalDiameterEdit, NewWallThicknessEdit, NewOutsideDiameterEdit, NewWeightEdit}) {
        RealEntry(box, 6, 3);
        NewPipeDataHeadingStringGrid->setCellWidget(0, col++, box);
    }
    NewPipeDataHeadingStringGrid->SetCells(5, 1, QStringLiteral(" calculated"));
    NewPipeDataHeadingStringGrid->SetCells(6, 1, QStringLiteral(" calculated"));
    AddNewEntryButton = Named<QPushButton>("AddNewEntryButton", QStringLiteral(" Add New Entry"), NewSizePanel);
    NewSizeCancelButton = Named<QPushButton>("NewSizeCancelButton", QStringLiteral("Cancel"), NewSizePanel);
    auto *newSize = new QGridLayout(NewSizePanel);
    auto *newSizeTop = new QHBoxLayout;
    newSizeTop->addWidget(NewSizeHeadingLabel);
    newSizeTop->addSpacing(20);
    newSizeTop->addWidget(NewSizeRoughnessLabel);
    newSizeTop->addStretch();
    newSize->addLayout(newSizeTop, 0, 0, 1, 3);
    newSize->addWidget(NewPipeDataHeadingStringGrid, 1, 0);
    newSize->addWidget(AddNewEntryButton, 1, 1);
    newSize->addWidget(NewSizeCancelButton, 1, 2);

    // The choose-material screen.
    ChooseMaterialPanel = Named<QFrame>("ChooseMaterialPanel", this);
    ChooseMaterialPanel->setAutoFillBackground(true);
    ChooseMaterialPanel->setFrameShape(QFrame::Panel);
    FileListStringGrid = newGrid("FileListStringGrid", ChooseMaterialPanel, 5, 2);
    setTitleHeight(FileListStringGrid, 20);
    FileListStringGrid->setFixedHeight(MaterialGridHeight);
    FileListStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const char *const materialTitles[] = {"Material", "Schedule / Class", "Internal Roughness", "Pipe Size Range", ""};
    for (int c = 0; c < 5; ++c)
        FileListStringGrid->SetCells(c, 0, QString::fromLatin1(materialTitles[c]));
    StringGridSetColumnWidths(FileListStringGrid, {151, 125, 96, 143, -1}, 0);
    SelectMaterialButton = Named<QPushButton>("SelectMaterialButton", QStringLiteral("Select"), ChooseMaterialPanel);
    ChooseMaterialCancelButton =
        Named<QPushButton>("ChooseMaterialCancelButton", QStringLiteral("Cancel"), ChooseMaterialPanel);
    AddNewMaterialButton =
        Named<QPushButton>("AddNewMaterialButton", QStringLiteral(" Add New Material"), ChooseMaterialPanel);
    RemoveMaterialButton =
        Named<QPushButton>("RemoveMaterialButton", QStringLiteral("Remove Material"), ChooseMaterialPanel);
    MaterialPreviousPageButton =
        Named<QPushButton>("MaterialPreviousPageButton", QStringLiteral("<"), ChooseMaterialPanel);
    MaterialPreviousPageButton->setToolTip(QStringLiteral("Previous Page"));
    MaterialNextPageButton = Named<QPushButton>("MaterialNextPageButton", QStringLiteral(">"), ChooseMaterialPanel);
    MaterialNextPageButton->setToolTip(QStringLiteral("Next Page"));
    NewMaterialPanel = Named<QFrame>("NewMaterialPanel", ChooseMaterialPanel);
    AddPipeMaterialStringGrid = newGrid("AddPipeMaterialStringGrid", NewMaterialPanel, 3, 2);
    setTitleHeight(AddPipeMaterialStringGrid, 20);
    AddPipeMaterialStringGrid->SetCells(0, 0, QStringLiteral("Material"));
    AddPipeMaterialStringGrid->SetCells(1, 0, QStringLiteral("Schedule / Class"));
    StringGridSetColumnWidths(AddPipeMaterialStringGrid, {151, 111, 141}, 1);
    AddPipeMaterialStringGrid->setRowHeight(0, 22);
    AddPipeMaterialStringGrid->setFixedHeight(20 + 24);
    NewMaterialEdit = Named<QLineEdit>("NewMaterialEdit");
    NewMaterialEdit->setMaxLength(40);
    NewScheduleEdit = Named<QLineEdit>("NewScheduleEdit");
    NewScheduleEdit->setMaxLength(20);
    NewRoughnessEdit = Named<TRightEdit>("NewRoughnessEdit");
    RealEntry(NewRoughnessEdit, 3, 6);
    AddPipeMaterialStringGrid->setCellWidget(0, 0, NewMaterialEdit);
    AddPipeMaterialStringGrid->setCellWidget(0, 1, NewScheduleEdit);
    AddPipeMaterialStringGrid->setCellWidget(0, 2, NewRoughnessEdit);
    SaveNewMaterialButton =
        Named<QPushButton>("SaveNewMaterialButton", QStringLiteral("Save new material "), NewMaterialPanel);
    NewMaterialCancelButton = Named<QPushButton>("NewMaterialCancelButton", QStringLiteral("Cancel"), NewMaterialPanel);
    auto *newMaterial = new QHBoxLayout(NewMaterialPanel);
    newMaterial->addWidget(AddPipeMaterialStringGrid);
    newMaterial->addWidget(SaveNewMaterialButton);
    newMaterial->addWidget(NewMaterialCancelButton);
    auto *choose = new QGridLayout(ChooseMaterialPanel);
    choose->addWidget(new QLabel(QStringLiteral("Choose Material"), ChooseMaterialPanel), 0, 0);
    choose->addWidget(FileListStringGrid, 1, 0, 6, 1);
    choose->addWidget(MaterialPreviousPageButton, 1, 1);
    choose->addWidget(MaterialNextPageButton, 2, 1);
    choose->addWidget(SelectMaterialButton, 3, 1);
    choose->addWidget(ChooseMaterialCancelButton, 4, 1);
    choose->addWidget(AddNewMaterialButton, 5, 1);
    choose->addWidget(RemoveMaterialButton, 6, 1);
    choose->addWidget(NewMaterialPanel, 7, 0, 1, 2);

    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);

    auto *form = new QGridLayout(this);
    form->addWidget(SelectedPipeDataPanel, 0, 0, 1, 2);
    auto *listTitle = new QHBoxLayout;
    listTitle->setSpacing(2);
    listTitle->addWidget(PipeDiameterTitleLabel);
    listTitle->addWidget(RoughnessLabel);
    listTitle->addStretch();
    form->addLayout(listTitle, 1, 0);
    form->addWidget(PipeDiameterDataStringGrid, 2, 0);
    auto *side = new QVBoxLayout;
    side->addWidget(PreviousPageButton);
    side->addWidget(NextPageButton);
    side->addWidget(MetricRadioButton);
    side->addWidget(ImperialRadioButton);
    side->addWidget(ChangeMaterialButton);
    side->addWidget(AddNewSizeButton);
    side->addWidget(RemoveEntryButton);
    side->addStretch();
    form->addLayout(side, 2, 1);
    form->addWidget(TransferSelectedSizeButton, 3, 0, Qt::AlignLeft);
    form->addWidget(NewSizePanel, 4, 0, 1, 2);
    form->addWidget(ChooseMaterialPanel, 1, 0, 4, 2);
    setFixedWidth(710);

    // The boxes of the pipe band recompute their cells.
    connect(InternalDiameterEdit, &QLineEdit::textEdited, this,
            [this] { ChosenSizeStringGrid->SetCells(5, 1, QStringLiteral(" calculated")); });
    connect(OutsideDiameterEdit, &QLineEdit::textEdited, this,
            [this] { ChosenSizeStringGrid->SetCells(6, 1, QStringLiteral(" calculated")); });
    connect(InternalDiameterEdit, &QLineEdit::editingFinished, this, [this] { ResetCalculatedInternalVolume(); });
    connect(OutsideDiameterEdit, &QLineEdit::editingFinished, this, [this] { ResetCalculatedSurfaceArea(); });
    connect(TransferSelectedSizeButton, &QPushButton::clicked, this, [this] { TransferSelectedSize(); });
    connect(PipeDiameterDataStringGrid, &QTableWidget::cellDoubleClicked, this, [this] { TransferSelectedSize(); });
    connect(SelectNewSizeTimer, &QTimer::timeout, this,
            [this] { PaintDialogBackground(SelectedPipeDataPanel, BandColour); });
    connect(SavePipeButton, &QPushButton::clicked, this, [this] { SavePipeClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(MetricRadioButton, &QRadioButton::clicked, this, [this] { MetricRadioButtonClick(); });
    connect(ImperialRadioButton, &QRadioButton::clicked, this, [this] { MetricRadioButtonClick(); });
    connect(PreviousPageButton, &QPushButton::clicked, this, [this] { pageSizeList(false); });
    connect(NextPageButton, &QPushButton::clicked, this, [this] { pageSizeList(true); });
    connect(ChangeMaterialButton, &QPushButton::clicked, this, [this] { ShowChangeMaterialScreen(); });
    connect(AddNewSizeButton, &QPushButton::clicked, this, [this] { openNewSizePanel(true); });
    connect(NewSizeCancelButton, &QPushButton::clicked, this, [this] { openNewSizePanel(false); });
    connect(AddNewEntryButton, &QPushButton::clicked, this, [this] { AddNewEntryClick(); });
    connect(RemoveEntryButton, &QPushButton::clicked, this, [this] { RemoveEntryClick(); });
    connect(SelectMaterialButton, &QPushButton::clicked, this, [this] { ChooseNewPipeMaterialClick(); });
    connect(FileListStringGrid, &QTableWidget::cellDoubleClicked, this, [this] { ChooseNewPipeMaterialClick(); });
    connect(ChooseMaterialCancelButton, &QPushButton::clicked, this, [this] { ShowPipeSizesScreen(); });
    connect(AddNewMaterialButton, &QPushButton::clicked, this, [this] { openNewMaterialPanel(true); });
    connect(NewMaterialCancelButton, &QPushButton::clicked, this, [this] { openNewMaterialPanel(false); });
    connect(SaveNewMaterialButton, &QPushButton::clicked, this, [this] { SaveNewMaterialClick(); });
    connect(RemoveMaterialButton, &QPushButton::clicked, this, [this] { RemoveMaterialClick(); });
    connect(MaterialPreviousPageButton, &QPushButton::clicked, this, [this] { pageMaterialGrid(false); });
    connect(MaterialNextPageButton, &QPushButton::clicked, this, [this] { pageMaterialGrid(true); });

    InstallFileDataKey(this, &header_, false);
    writeTitles();
    ChooseMaterialPanel->hide();
    NewSizePanel->hide();
    NewMaterialPanel->hide();
    // The material list is there from the start.
    FillMaterialList();
    FillMaterialGrid(true);
}

bool TPipeDiameterDataForm::ChooseMaterialScreenShown() const { return !ChooseMaterialPanel->isHidden(); }

QString TPipeDiameterDataForm::tablePath(const std::string &fileName) const
{
    return q(folder_) + QStringLiteral("/") + q(fileName);
}

QString TPipeDiameterDataForm::diameterUnit() const { return metric_ ? QStringLiteral("mm") : QStringLiteral("inch"); }
QString TPipeDiameterDataForm::weightUnit() const
{
    return metric_ ? QStringLiteral("kgs/m") : QStringLiteral("lbs/ft");
}

double TPipeDiameterDataForm::toMetres(double value) const
{
    return convertUnit(metric_ ? unt_mm : unt_inch, unt_m, value);
}

void TPipeDiameterDataForm::writeSizeGridTitles(TStringGridWidget *grid)
{
    const QString d = diameterUnit();
    const QStringList titles = {
        QStringLiteral("Nominal Size"),
        QStringLiteral("Internal Diam.\n") + d,
        QStringLiteral("Wall Thick.\n") + d,
        QStringLiteral("Outside Diam.\n") + d,
        QStringLiteral("Weight\n") + weightUnit(),
        metric_ ? QStringLiteral("Internal Vol\nm³/ 100 m") : QStringLiteral("Internal Vol\nft³/ 100 ft"),
        metric_ ? QStringLiteral("Surface Area\nm²/ 100 m") : QStringLiteral("Surface Area\nft²/ 100 ft")};
    StringGridSetRowTexts(grid, titles, QString(), QString(), 0, 0);
}

void TPipeDiameterDataForm::writeTitles()
{
    for (TStringGridWidget *grid : {PipeDiameterDataStringGrid, ChosenSizeStringGrid, NewPipeDataHeadingStringGrid})
        writeSizeGridTitles(grid);
    const QString roughness =
        metric_ ? QStringLiteral("Internal Roughness (mm)") : QStringLiteral("Internal Roughness (inch)");
    PipeMaterialStringGrid->SetCells(2, 0, roughness);
    AddPipeMaterialStringGrid->SetCells(2, 0, roughness);
}

void TPipeDiameterDataForm::fillSizeRow(TStringGridWidget *grid, int row, const TPipe &pipe)
{
    const TUnit d = metric_ ? unt_mm : unt_inch;
    grid->SetCells(0, row, q(metric_ ? pipe.NominalDiameterMetricString : pipe.NominalDiameterImperialString));
    grid->SetCells(1, row, q(convertUnitToString(unt_m, d, 3, pipe.InnerDiameter_m)));
    grid->SetCells(2, row, q(convertUnitToString(unt_m, d, 3, pipe.WallThickness_m)));
    grid->SetCells(3, row, q(convertUnitToString(unt_m, d, 3, pipe.OuterDiameter_m)));
    grid->SetCells(
        4, row,
        q(convertUnitToString(unt_kgs_per_m, metric_ ? unt_kgs_per_m : unt_lbs_per_ft, 3, pipe.WeightPerMetre_kg)));
    const double perFoot = convertUnit(unt_ft, unt_m, 1.0);
    const double volume =
        metric_ ? pipe.InternalVolume_m3_m() : convertUnit(unt_m3, unt_ft3, pipe.InternalVolume_m3_m()) * perFoot;
    const double area =
        metric_ ? pipe.SurfaceArea_m2_m() : convertUnit(unt_m2, unt_ft2, pipe.SurfaceArea_m2_m()) * perFoot;
    grid->SetCells(5, row, q(formatFixed(4, volume * 100)));
    grid->SetCells(6, row, q(formatFixed(4, area * 100)));
    if (QTableWidgetItem *cell = grid->item(row - 1, 0))
        cell->setData(Qt::UserRole, false);
}

void TPipeDiameterDataForm::PopulateComboBoxWithNominalSizeStrings()
{
    NewNominalSizeComboBox->clear();
    NewNominalSizeComboBox->addItem(QStringLiteral("Calculated"));
    if (nominalSizes_)
        for (int i = 1; i <= nominalSizes_->LastDefaultPipeIndex; ++i) {
            const TPipeNominalSizeData row = nominalSizes_->getPipeNominalSizeData(i);
            NewNominalSizeComboBox->addItem(
                q(metric_ ? row.NominalDiameterMetricString : row.NominalDiameterImperialString));
        }
    NewNominalSizeComboBox->setCurrentIndex(0);
}

void TPipeDiameterDataForm::OpenPipeDiameterManager(TPipeNominalSizeSet &ThePipeNominalSizeSet, TPipe &ThePipe,
                                                    int ThePipeId, bool Metric, bool DisplayChangeMaterial)
{
    PaintDialogBackground(this);
    nominalSizes_ = &ThePipeNominalSizeSet;
    PopulateComboBoxWithNominalSizeStrings();
    openNewSizePanel(false);
    for (QLineEdit *box :
         {static_cast<QLineEdit *>(NewInternalDiameterEdit), static_cast<QLineEdit *>(NewWallThicknessEdit),
          static_cast<QLineEdit *>(NewOutsideDiameterEdit), static_cast<QLineEdit *>(NewWeightEdit), NewMaterialEdit,
          NewScheduleEdit, static_cast<QLineEdit *>(NewRoughnessEdit)})
        box->clear();
    openNewMaterialPanel(false);
    PaintDialogBackground(SelectedPipeDataPanel, BandColour);
    target_ = &ThePipe;
    working_.Copy(ThePipe);
    PipeIdLabel->setText(QStringLiteral("( Pipe Id: ") + QString::number(ThePipeId) + QStringLiteral(" )"));
    PipeNameLabel->setText(q(ThePipe.Name));

    (Metric ? MetricRadioButton : ImperialRadioButton)->setChecked(true);
    // The boxes are filled afresh below: nothing of theirs to convert.
    metric_ = Metric;
    MetricRadioButtonClick();
    DisplayTheDmPipeData(working_);

    std::string material, schedule, fileName;
    ThePipeNominalSizeSet.getMaterialAndScheduleString(working_.Material, working_.ScheduleClass, material, schedule,
                                                       fileName);
    // The set names a table by its file, standard or user list alike.
    QString path = tablePath(fileNameWithoutExtension(fileName).toStdString() + ".trpi");
    bool chooseMaterial = DisplayChangeMaterial;
    if (fileName.empty() || !QFileInfo::exists(path)) {
        path = tablePath(FallbackFile);
        if (!DisplayChangeMaterial) {
            const TPipeNominalSizeData first = ThePipeNominalSizeSet.getPipeNominalSizeData(1);
            const QString ms = q(working_.Material) + QStringLiteral("/") + q(working_.ScheduleClass);
            if (material == first.Material && schedule == first.ScheduleClass)
                Dialogs().ShowMessage(
                    TDialogKind::Warning,
                    QStringLiteral("Material '") + ms + QStringLiteral("' not found in pipe database.") +
                        QStringLiteral("\r\r") +
                        QStringLiteral("Pipe Database will open on 'Choose Material' screen.") + QStringLiteral("\r") +
                        QStringLiteral("You can then select a new material or click on 'Cancel' in order ") +
                        QStringLiteral("to keep existing pipe data.") + QStringLiteral("\r"),
                    this);
            else
                Dialogs().ShowMessage(
                    TDialogKind::Warning,
                    QStringLiteral("Material '") + ms + QStringLiteral("' does not exist in the pipe database.") +
                        QStringLiteral("\r\r") +
                        QStringLiteral("It either never existed or it has been superceded by a later schedule "
                                       "standard in the pipe database.") +
                        QStringLiteral("\r\r") +
                        QStringLiteral("The Database will now open on 'Choose Material' screen.") +
                        QStringLiteral("\r\r") + QStringLiteral("You can then select a new pipe material and size ") +
                        QStringLiteral("\r") + QStringLiteral("or click on 'Cancel' to keep the existing pipe data.") +
                        QStringLiteral("\r"),
                    this);
            chooseMaterial = true;
        }
    }
    LoadPipeDiameterSetFromText(path);
    DisplayPipeDiameterList(0);
    PipeDiameterTitleLabel->setText(GetMaterialScheduleTitle());
    NewSizeHeadingLabel->setText(QStringLiteral("Add pipe data: ") + GetMaterialScheduleTitle());
    ShowRoughnessLabel();
    if (chooseMaterial)
        ShowChangeMaterialScreen();
    else
        ShowPipeSizesScreen();
    exec();
}

void TPipeDiameterDataForm::loadTable(const QString &path, TPipeDiameterSet &set, TFileHeader &header, bool userRows,
                                      const std::string &fileName) const
{
    std::ifstream file(path.toStdString(), std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot open " + path.toStdString());
    header.LoadFromText(file);
    const std::string version = header.VersionReference;
    while (HasAnotherTextLine(file)) {
        const std::string line = ReadTextLine(file);
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        TPipe pipe;
        bool ok = false;
        pipe.LoadDiameterDataFromLine(line, fileName, version, ok);
        if (!ok) {
            // A new material's only row: material, schedule and roughness
            // under the nominal size -1.
            const std::vector<std::string> fields = SplitTableFields(line, 9);
            double roughness_in = 0;
            int nominal = 0;
            if (fields.empty() || !ReadTableInteger(fields[3], nominal) || nominal >= 0 ||
                !ReadTableReal(fields[2], roughness_in) || roughness_in < 0)
                throw std::runtime_error("bad line");
            pipe.Clear();
            pipe.Material = CutTableField(fields[0], 40);
            pipe.ScheduleClass = CutTableField(fields[1], 20);
            pipe.InnerRoughness_m = convertUnit(unt_inch, unt_m, roughness_in);
            pipe.NominalDiameterMetric = nominal;
            pipe.PipeDataFilename = fileName;
        }
        const int id = set.AddPipeDiameterData(pipe);
        set.SetPipeFileType(id, userRows ? PipeFileUser : PipeFileTessaran);
    }
    if (file.bad())
        throw std::runtime_error("read failed");
}

bool TPipeDiameterDataForm::LoadPipeDiameterSetFromText(const QString &path)
{
    sizes_.Clear();
    const std::string fileName = QFileInfo(path).fileName().toStdString();
    const QString userPath =
        QFileInfo(path).path() + QStringLiteral("/") + QFileInfo(path).completeBaseName() + QStringLiteral(".trpiu");
    // All or nothing: a table that fails part-way shows no rows of it.
    bool loaded = true;
    try {
        if (QFileInfo::exists(path)) {
            loadTable(path, sizes_, header_, false, fileName);
            loadedFile_ = fileName;
        } else {
            loadedFile_.clear();
        }
        if (QFileInfo::exists(userPath))
            loadTable(userPath, sizes_, header_, true, fileName);
    } catch (const std::exception &) {
        sizes_.Clear();
        loadedFile_.clear();
        loaded = false;
        Dialogs().ShowMessage(TDialogKind::Warning, NotValidFile, this);
    }
    SetPipeDiameterDataGrid_MinimumRowCount();
    return loaded;
}

void TPipeDiameterDataForm::SetPipeDiameterDataGrid_MinimumRowCount()
{
    TStringGridWidget *grid = PipeDiameterDataStringGrid;
    if (sizes_.PipeCount == 0) {
        grid->SetRowCount(2);
        grid->setRowHidden(0, true);
        PreviousPageButton->hide();
        NextPageButton->hide();
        return;
    }
    grid->SetRowCount(sizes_.PipeCount + 1);
    PreviousPageButton->show();
    NextPageButton->show();
    grid->setRowHidden(0, isPlaceholder(sizes_.GetPipeDiameterData(1)));
    for (int row = 1; row < sizes_.PipeCount; ++row)
        grid->setRowHidden(row, false);
}

void TPipeDiameterDataForm::DisplayPipeDiameterList(int previousNominal)
{
    TStringGridWidget *grid = PipeDiameterDataStringGrid;
    StringGridFillCells(grid, 0, 1, QString());
    for (int row = 1; row <= sizes_.PipeCount; ++row) {
        fillSizeRow(grid, row, sizes_.GetPipeDiameterData(row));
        if (QTableWidgetItem *cell = grid->item(row - 1, 0))
            cell->setData(Qt::UserRole, sizes_.GetPipeDiameterFileType(row) == PipeFileUser);
    }
    if (previousNominal > 0 && sizes_.PipeCount > 0) {
        int current = 1;
        for (int row = 1; row <= sizes_.PipeCount; ++row)
            if (sizes_.GetPipeDiameterData(row).NominalDiameterMetric == previousNominal)
                current = row;
        grid->SetRow(current);
        StringGridShowCurrentRow(grid);
    } else {
        StringGridClearSelection(grid);
    }
    grid->viewport()->update();
}

void TPipeDiameterDataForm::DisplayTheDmPipeData(const TPipe &pipe)
{
    PipeMaterialStringGrid->SetCells(0, 1, q(pipe.Material));
    PipeMaterialStringGrid->SetCells(1, 1, q(pipe.ScheduleClass));
    PipeMaterialStringGrid->SetCells(2, 1,
                                     q(metric_ ? convertUnitToString(unt_m, unt_mm, 4, pipe.InnerRoughness_m)
                                               : convertUnitToString(unt_m, unt_inch, 6, pipe.InnerRoughness_m)));
    fillSizeRow(ChosenSizeStringGrid, 1, pipe);
    NominalSizeEdit->setText(ChosenSizeStringGrid->Cells(0, 1));
    InternalDiameterEdit->setText(ChosenSizeStringGrid->Cells(1, 1));
    WallThicknessEdit->setText(ChosenSizeStringGrid->Cells(2, 1));
    OutsideDiameterEdit->setText(ChosenSizeStringGrid->Cells(3, 1));
    WeightEdit->setText(ChosenSizeStringGrid->Cells(4, 1));
    MaterialEdit->setText(PipeMaterialStringGrid->Cells(0, 1));
    ScheduleEdit->setText(PipeMaterialStringGrid->Cells(1, 1));
    RoughnessEdit->setText(PipeMaterialStringGrid->Cells(2, 1));
    StringGridClearSelection(PipeMaterialStringGrid);
    StringGridClearSelection(ChosenSizeStringGrid);
    heldNominal_ = QString::number(pipe.NominalDiameterMetric);
}

QString TPipeDiameterDataForm::GetMaterialScheduleTitle() const
{
    if (sizes_.PipeCount == 0)
        return QString();
    const TPipe &first = sizes_.GetPipeDiameterData(1);
    return q(first.Material) + QStringLiteral(" ") + q(first.ScheduleClass);
}

void TPipeDiameterDataForm::ShowRoughnessLabel()
{
    QString text;
    if (sizes_.PipeCount > 0) {
        const double roughness = sizes_.GetPipeDiameterData(1).InnerRoughness_m;
        text = metric_ ? QStringLiteral(", IR= ") + q(convertUnitToString(unt_m, unt_mm, 4, roughness)) +
                             QStringLiteral(" mm")
                       : QStringLiteral(", IR= ") + q(convertUnitToString(unt_m, unt_inch, 6, roughness)) +
                             QStringLiteral(" inch");
    }
    RoughnessLabel->setText(text);
    NewSizeRoughnessLabel->setText(text);
}

void TPipeDiameterDataForm::SetDmEditBoxesEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             SavePipeButton, CancelButton, MaterialEdit, ScheduleEdit, RoughnessEdit, InternalDiameterEdit,
             WallThicknessEdit, OutsideDiameterEdit, WeightEdit, PipeDiameterDataStringGrid, TransferSelectedSizeButton,
             MetricRadioButton, ImperialRadioButton, ChangeMaterialButton, NewSizePanel})
        control->setEnabled(enabled);
}

void TPipeDiameterDataForm::ShowPipeSizesScreen()
{
    PreviousPageButton->setVisible(sizes_.PipeCount > 0);
    NextPageButton->setVisible(sizes_.PipeCount > 0);
    ChooseMaterialPanel->hide();
    SetDmEditBoxesEnabled(true);
    AddNewSizeButton->show();
    RemoveEntryButton->show();
}

void TPipeDiameterDataForm::MetricRadioButtonClick()
{
    // A click on the unit already shown converts nothing.
    const bool changed = metric_ != MetricRadioButton->isChecked();
    metric_ = MetricRadioButton->isChecked();
    PopulateComboBoxWithNominalSizeStrings();
    writeTitles();
    FillMaterialGrid(!metric_);
    if (changed)
        convertEntries();
    ResetCalculatedInternalVolume();
    ResetCalculatedSurfaceArea();
    ShowRoughnessLabel();
    const int current = PipeDiameterDataStringGrid->Row();
    for (int row = 1; row <= sizes_.PipeCount; ++row)
        fillSizeRow(PipeDiameterDataStringGrid, row, sizes_.GetPipeDiameterData(row));
    for (int row = 1; row <= sizes_.PipeCount; ++row)
        if (QTableWidgetItem *cell = PipeDiameterDataStringGrid->item(row - 1, 0))
            cell->setData(Qt::UserRole, sizes_.GetPipeDiameterFileType(row) == PipeFileUser);
    if (current > 0)
        PipeDiameterDataStringGrid->SetRow(current);
}

void TPipeDiameterDataForm::convertEntries()
{
    // Boxes that hold a number above zero change their unit; others stay.
    const TUnit d = unt_inch, w = unt_lbs_per_ft;
    convertBox(RoughnessEdit, d, unt_mm, 4, 6);
    convertBox(NewRoughnessEdit, d, unt_mm, 4, 6);
    for (TRightEdit *box :
         {InternalDiameterEdit, WallThicknessEdit, OutsideDiameterEdit, NewWallThicknessEdit, NewOutsideDiameterEdit})
        convertBox(box, d, unt_mm, 3, 3);
    convertBox(NewInternalDiameterEdit, d, unt_mm, 4, 6);
    convertBox(WeightEdit, w, unt_kgs_per_m, 4, 4);
    convertBox(NewWeightEdit, w, unt_kgs_per_m, 4, 4);
}

void TPipeDiameterDataForm::convertBox(TRightEdit *box, TUnit imperialUnit, TUnit metricUnit, int metricDecimals,
                                       int imperialDecimals)
{
    bool valid = false;
    const double value = readBox(box, valid);
    if (!valid)
        return;
    box->setText(metric_ ? q(convertUnitToString(imperialUnit, metricUnit, metricDecimals, value))
                         : q(convertUnitToString(metricUnit, imperialUnit, imperialDecimals, value)));
}

void TPipeDiameterDataForm::ResetCalculatedInternalVolume()
{
    bool valid = false;
    const double d = readBox(InternalDiameterEdit, valid);
    if (!valid)
        return;
    const double d_m = toMetres(d);
    const double volume_m3_m = Pi * d_m * d_m / 4;
    const double volume =
        metric_ ? volume_m3_m : convertUnit(unt_m3, unt_ft3, volume_m3_m) * convertUnit(unt_ft, unt_m, 1.0);
    ChosenSizeStringGrid->SetCells(5, 1, q(formatFixed(4, volume * 100)));
}

void TPipeDiameterDataForm::ResetCalculatedSurfaceArea()
{
    bool valid = false;
    const double d = readBox(OutsideDiameterEdit, valid);
    if (!valid)
        return;
    const double area_m2_m = Pi * toMetres(d);
    const double area = metric_ ? area_m2_m : convertUnit(unt_m2, unt_ft2, area_m2_m) * convertUnit(unt_ft, unt_m, 1.0);
    ChosenSizeStringGrid->SetCells(6, 1, q(formatFixed(4, area * 100)));
}

void TPipeDiameterDataForm::flashBand()
{
    PaintDialogBackground(SelectedPipeDataPanel, FlashSilver);
    SelectNewSizeTimer->start(500);
}

void TPipeDiameterDataForm::TransferSelectedSize()
{
    const int row = PipeDiameterDataStringGrid->Row();
    if (row < 1 || row > sizes_.PipeCount)
        return;
    working_.Copy(sizes_.GetPipeDiameterData(row));
    DisplayTheDmPipeData(working_);
    flashBand();
}

bool TPipeDiameterDataForm::CompleteDiameterData(TRightEdit *InternalDiameter, TRightEdit *WallThickness,
                                                 TRightEdit *OutsideDiameter)
{
    bool iValid = false, wValid = false, oValid = false;
    double i = readBox(InternalDiameter, iValid);
    double w = readBox(WallThickness, wValid);
    double o = readBox(OutsideDiameter, oValid);
    const auto text = [](double value) { return q(formatFixed(3, value)); };
    bool result = false;
    if (i > 0 && w > 0 && o > 0 && iValid && wValid && oValid) {
        result = true;
    } else if (o <= 0 && i > 0 && w > 0) {
        if (Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Outside Diameter is not set.\rSet Outside Diameter to: ") +
                                   text(i + 2 * w) + QStringLiteral("\r") +
                                   QStringLiteral("based on Internal Diameter and Wall Thickness?"),
                               this)) {
            o = i + 2 * w;
            OutsideDiameter->setText(text(o));
            result = true;
        }
    } else if (i <= 0 && w > 0 && o > 0 && o - 2 * w > 0.01) {
        if (Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Internal Diameter is not set.\rSet Internal Diameter to:") +
                                   text(o - 2 * w) + QStringLiteral("\r") +
                                   QStringLiteral("based on Outside Diameter and Wall Thickness?"),
                               this)) {
            i = o - 2 * w;
            InternalDiameter->setText(text(i));
            result = true;
        }
    } else if (w <= 0 && o > 0 && i > 0 && o - i >= 0.01) {
        if (Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Wall Thickness is not set.\rSet Wall Thickness to:") +
                                   text((o - i) / 2) + QStringLiteral("\r") +
                                   QStringLiteral("based on Internal Diameter and Outside Diameter?"),
                               this)) {
            w = (o - i) / 2;
            WallThickness->setText(text(w));
            result = true;
        }
    }
    if (i > 0 && w > 0 && o > 0) {
        const double ratio = o / (i + 2 * w);
        if (ratio >= 0.9995 && ratio <= 1.0005)
            return result;
        if (Dialogs().AskYesNo(TDialogKind::Confirmation,
                               QStringLiteral("Outside Diameter does not equate with other data.\rSet Outside "
                                              "Diameter to:") +
                                   text(i + 2 * w) + QStringLiteral("\r") +
                                   QStringLiteral("based on Internal Diameter and Wall Thickness?"),
                               this)) {
            OutsideDiameter->setText(text(i + 2 * w));
            return true;
        }
        return false;
    }
    return result;
}

void TPipeDiameterDataForm::SavePipeClick()
{
    bool roughnessValid = false, diameterValid = false;
    const double roughness = readBox(RoughnessEdit, roughnessValid);
    double diameter = 0;
    if (roughnessValid)
        diameter = readBox(InternalDiameterEdit, diameterValid);
    if (!roughnessValid) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("The Internal Roughness must be set."), this);
        return;
    }
    if (!diameterValid) {
        Dialogs().ShowMessage(TDialogKind::Information, QStringLiteral("The Internal Diameter must be set."), this);
        return;
    }
    if (!CompleteDiameterData(InternalDiameterEdit, WallThicknessEdit, OutsideDiameterEdit) &&
        !Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("The data may be incomplete or may not be correct.\rDo you wish to continue "
                                           "with the save operation?"),
                            this))
        return;
    const auto orZero = [](const QLineEdit *box) {
        bool valid = false;
        const double value = ReadRealFromString(box->text().trimmed().toStdString(), valid, true, false, separator());
        return valid ? value : 0.0;
    };
    diameter = readBox(InternalDiameterEdit, diameterValid);
    const double wall = orZero(WallThicknessEdit);
    const double outside = orZero(OutsideDiameterEdit);
    const double weight = orZero(WeightEdit);

    TPipe &pipe = *target_;
    pipe.InnerDiameter_m = toMetres(diameter);
    pipe.InnerRoughness_m = toMetres(roughness);
    pipe.Material = MaterialEdit->text().left(40).toStdString();
    // The look-up takes the schedule being saved, not the pipe's old one.
    const std::string schedule = ScheduleEdit->text().left(20).toStdString();
    if (nominalSizes_) {
        std::string material, matchedSchedule, fileName;
        nominalSizes_->getMaterialAndScheduleString(pipe.Material, schedule, material, matchedSchedule, fileName);
        const int index = nominalSizes_->getIDPipeNominalSizeSetIndex(pipe.InnerDiameter_m, material, matchedSchedule);
        const TPipeNominalSizeData row = nominalSizes_->getPipeNominalSizeData(index);
        pipe.NominalDiameterMetric = row.NominalDiameterMetric;
        pipe.NominalDiameterMetricString = row.NominalDiameterMetricString;
        pipe.NominalDiameterImperialString = row.NominalDiameterImperialString;
    }
    pipe.ScheduleClass = schedule;
    pipe.OuterDiameter_m = toMetres(outside);
    pipe.WallThickness_m = toMetres(wall);
    pipe.WeightPerMetre_kg = metric_ ? weight : convertUnit(unt_lbs_per_ft, unt_kgs_per_m, weight);
    pipe.PipeDataFilename = working_.PipeDataFilename;
    accept();
}

void TPipeDiameterDataForm::pageSizeList(bool next)
{
    TStringGridWidget *grid = PipeDiameterDataStringGrid;
    const int page = grid->height() / SizeRowHeight - 2;
    int top = grid->TopRow();
    if (next) {
        SetPipeDiameterDataGrid_MinimumRowCount();
        if (top + page <= sizes_.PipeCount)
            top += page;
    } else {
        top = std::max(1, top - page);
    }
    grid->SetTopRow(top);
    grid->SetRow(top);
}

} // namespace tessaran
