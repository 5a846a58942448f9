#include "dialogs/Fitting_Manager_Form.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "dialogs/Dialog_Look.h"
#include "dialogs/File_Header_Display.h"
#include "dialogs/Fitting_ChooseSymbol_Form.h"
#include "dialogs/Fitting_Gradual_Forms.h"
#include "dialogs/Fitting_LongBendCalculation_Form.h"
#include "dialogs/Fitting_PipeEntranceCalculation_Form.h"
#include "dialogs/Fitting_Sudden_Forms.h"
#include "dialogs/Fitting_Symbols.h"
#include "dialogs/String_Grid_Procedures.h"
#include "platform/qt/Dialog_Service.h"
#include "units/Numeric_Entry.h"
#include "units/Unit_Format.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

constexpr int NominalSizes[TFittingManagerForm::NominalSizeCount] = {
    6,   7,   8,   9,   10,  12,  15,  18,   20,   22,   25,   32,   40,   50,  65,
    80,  90,  100, 125, 150, 200, 250, 300,  350,  380,  400,  450,  500,  550, 600,
    650, 700, 750, 800, 850, 900, 950, 1000, 1050, 1200, 1400, 1500, 1800, 2100};

const QColor PipeBandColour(227, 243, 255);
const QColor CurrentPositionRow(255, 255, 224);
const QColor OtherPositionRow(249, 249, 249);
const QColor SymbolFill(213, 215, 255);
const std::vector<int> DatabaseWidths = {60, -1, -1, 59, 69, 69, 180, 46};
const std::vector<int> PipeWidths = {60, -1, -1, 59, 69, 69, 180, 46, 40, 90};

const QString RecordFull = QStringLiteral(
    "The pipe fitting record is full.\rReturn to the design screen and \rsplit the pipe to add more fittings.");
const QString KNotValid = QStringLiteral("The 'K' value is not valid");

bool ReadInteger(const QString &text, int &value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok && !text.trimmed().isEmpty();
}

// Column 0 of both grids: the symbol of the row (its column 2) and, for a
// user-list fitting, the user marker.
class TFittingSymbolDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.column() != 0)
            return;
        int symbol = -1;
        if (!ReadInteger(index.sibling(index.row(), 2).data().toString(), symbol))
            return;
        DrawFittingSymbol(*painter, option.rect.x() + 8, option.rect.y(), symbol);
        if (index.data(Qt::UserRole).toBool()) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(QColor(0, 120, 215));
            painter->drawEllipse(option.rect.x() + 42, option.rect.y() + 2, 8, 8);
            painter->restore();
        }
    }
};

void SetupGrid(TStringGridWidget *grid, int columns, const std::vector<int> &widths, int rowHeight)
{
    grid->SetColCount(columns);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->setItemDelegate(new TFittingSymbolDelegate(grid));
    StringGridSetColumnWidths(grid, widths, 1);
}

QStringList DatabaseTitles() { return {"Symbol", "", "", "Type", "Metric", "Imperial", "Description", "K "}; }

QStringList PipeTitles()
{
    return {"Symbol", "", "", "Type", "Metric", "Imperial", "Description", "K value", "Qty", "Position"};
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    QSaveFile file(q(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw EFittingSetClass("Cannot write file " + path);
}

} // namespace

int TFittingManagerForm::NominalMetricSizeToIndex(int size_mm)
{
    for (int i = 0; i < NominalSizeCount; ++i)
        if (NominalSizes[i] == size_mm)
            return i + 1;
    return 0;
}

int TFittingManagerForm::IndexToNominalMetricSize(int index)
{
    return index >= 1 && index <= NominalSizeCount ? NominalSizes[index - 1] : 0;
}

TFittingManagerForm::TFittingManagerForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FittingManagerForm"));
    setWindowTitle(QStringLiteral("Pipe fitting friction coefficients"));
    ProgramFolder = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString() + "/";
    ChooseSymbolForm = new TChooseSymbolForm(this);
    LongPipeBendCalculationForm = new TLongPipeBendCalculationForm(this);
    SuddenContractionCalculationForm = new TSuddenContractionCalculationForm(this);
    SuddenEnlargementCalculationForm = new TSuddenEnlargementCalculationForm(this);
    GradualContractionCalculationForm = new TGradualContractionCalculationForm(this);
    GradualEnlargementCalculationForm = new TGradualEnlargementCalculationForm(this);
    PipeEntranceCalculationForm = new TPipeEntranceCalculationForm(this);

    // Pipe band.
    PipeBand = Named<QFrame>("PipeBand", this);
    PipeIdLabel = Named<QLabel>("PipeIdLabel", PipeBand);
    PipeNameLabel = Named<QLabel>("PipeNameLabel", PipeBand);
    PipeFittingDataStringGrid = Named<TStringGridWidget>("PipeFittingDataStringGrid", PipeBand);
    SetupGrid(PipeFittingDataStringGrid, 10, PipeWidths, PipeRowHeight);
    PipeFittingDataStringGrid->SetRowCount(PipeFittingSetSize + 1);
    PipeFittingDataStringGrid->setFixedHeight(PipeRowHeight * (PipeFittingSetSize + 1) + 8);
    PipeFittingDataStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridSetRowTexts(PipeFittingDataStringGrid, PipeTitles(), " ", "", 0, 0);
    QuantityComboBox = Named<QComboBox>("QuantityComboBox", PipeFittingDataStringGrid->viewport());
    for (int i = 1; i <= 20; ++i)
        QuantityComboBox->addItem(QString::number(i));
    PositionComboBox = Named<QComboBox>("PositionComboBox", PipeFittingDataStringGrid->viewport());
    PositionComboBox->addItems({QStringLiteral("Start of Pipe"), QStringLiteral("End of Pipe")});
    RemoveFromPipeBitBtn =
        Named<QPushButton>("RemoveFromPipeBitBtn", QStringLiteral("X"), PipeFittingDataStringGrid->viewport());
    RemoveFromPipeBitBtn->setToolTip(QStringLiteral("Remove fitting from pipe"));
    TotalKLabel = Named<QLabel>("TotalKLabel", PipeBand);
    SaveBitBtn = Named<QPushButton>("SaveBitBtn", QStringLiteral("  Save"), PipeBand);
    ClearBitBtn = Named<QPushButton>("ClearBitBtn", QStringLiteral("  Clear"), PipeBand);
    CancelBitBtn = Named<QPushButton>("CancelBitBtn", QStringLiteral("  Cancel"), PipeBand);
    {
        auto *layout = new QGridLayout(PipeBand);
        auto *head = new QHBoxLayout;
        head->addWidget(new QLabel(QStringLiteral("Fittings on:"), PipeBand));
        head->addWidget(PipeIdLabel);
        head->addWidget(PipeNameLabel);
        head->addStretch();
        layout->addLayout(head, 0, 0, 1, 2);
        layout->addWidget(PipeFittingDataStringGrid, 1, 0, 4, 1);
        layout->addWidget(SaveBitBtn, 1, 1);
        layout->addWidget(ClearBitBtn, 2, 1);
        layout->addWidget(CancelBitBtn, 3, 1);
        layout->addWidget(TotalKLabel, 5, 0);
    }

    // Database.
    auto *database = Named<QFrame>("DatabasePanel", this);
    FittingDataStringGrid = Named<TStringGridWidget>("FittingDataStringGrid", database);
    SetupGrid(FittingDataStringGrid, 8, DatabaseWidths, DatabaseRowHeight);
    FittingDataStringGrid->setFixedHeight(DatabaseGridHeight);
    StringGridSetRowTexts(FittingDataStringGrid, DatabaseTitles(), " ", "", 0, 0);
    // Every titled column sorts on a click: each shows the sort mark.
    for (int col : {0, 3, 4, 5, 6, 7})
        if (QTableWidgetItem *title = FittingDataStringGrid->horizontalHeaderItem(col))
            title->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    FittingDataStringGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    MetricDiameterComboBox2 = Named<QComboBox>("MetricDiameterComboBox2", database);
    ImperialDiameterComboBox2 = Named<QComboBox>("ImperialDiameterComboBox2", database);
    PipeSizeLabel = Named<QPushButton>("PipeSizeLabel", QStringLiteral("Pipe Size"), database);
    PipeSizeLabel->setFlat(true);
    PipeSizeLabel->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline"));
    PipeSizeLabel->setToolTip(QStringLiteral("Click to Show Fittings matching current Pipe Size"));
    AddSelectedItemBitBtn =
        Named<QPushButton>("AddSelectedItemBitBtn", QStringLiteral("Add Selected Item On To Pipe"), database);
    PreviousPageBitBtn = Named<QPushButton>("PreviousPageBitBtn", QStringLiteral("^"), database);
    PreviousPageBitBtn->setToolTip(QStringLiteral("Previous Page"));
    NextPageBitBtn = Named<QPushButton>("NextPageBitBtn", QStringLiteral("v"), database);
    NextPageBitBtn->setToolTip(QStringLiteral("Next Page"));
    CreateNewFittingBitBtn =
        Named<QPushButton>("CreateNewFittingBitBtn", QStringLiteral("Create New Fitting"), database);
    RemoveFittingBitBtn = Named<QPushButton>("RemoveFittingBitBtn", QStringLiteral("Remove Fitting"), database);
    PipeEntranceRadiusBitBtn =
        Named<QPushButton>("PipeEntranceRadiusBitBtn", QStringLiteral("Entrance Rounded"), database);
    GradualEnlargementBitBtn =
        Named<QPushButton>("GradualEnlargementBitBtn", QStringLiteral("Gradual Enlargement"), database);
    GradualContractionBitBtn =
        Named<QPushButton>("GradualContractionBitBtn", QStringLiteral("Gradual Contraction"), database);
    SuddenEnlargementBitBtn =
        Named<QPushButton>("SuddenEnlargementBitBtn", QStringLiteral("Sudden Enlargement"), database);
    SuddenContractionBitBtn =
        Named<QPushButton>("SuddenContractionBitBtn", QStringLiteral("Sudden Contraction"), database);
    LongPipeBendBitBtn = Named<QPushButton>("LongPipeBendBitBtn", QStringLiteral("Long Pipe Bend"), database);
    {
        auto *layout = new QGridLayout(database);
        auto *filters = new QHBoxLayout;
        filters->addWidget(PipeSizeLabel);
        filters->addWidget(MetricDiameterComboBox2);
        filters->addWidget(ImperialDiameterComboBox2);
        filters->addStretch();
        filters->addWidget(AddSelectedItemBitBtn);
        layout->addLayout(filters, 0, 0, 1, 2);
        layout->addWidget(FittingDataStringGrid, 1, 0, 12, 1);
        layout->addWidget(PreviousPageBitBtn, 1, 1);
        layout->addWidget(NextPageBitBtn, 2, 1);
        layout->addWidget(new QLabel(QStringLiteral("Calculate K value for"), database), 3, 1);
        int row = 4;
        for (QPushButton *button : {PipeEntranceRadiusBitBtn, GradualEnlargementBitBtn, GradualContractionBitBtn,
                                    SuddenEnlargementBitBtn, SuddenContractionBitBtn, LongPipeBendBitBtn})
            layout->addWidget(button, row++, 1);
        layout->addWidget(CreateNewFittingBitBtn, row++, 1);
        layout->addWidget(RemoveFittingBitBtn, row++, 1);
    }

    // New-fitting panel.
    NewFittingPanel = Named<QFrame>("NewFittingPanel", this);
    NewFittingTitleStringGrid = Named<TStringGridWidget>("NewFittingTitleStringGrid", NewFittingPanel);
    SetupGrid(NewFittingTitleStringGrid, 8, DatabaseWidths, DatabaseRowHeight);
    NewFittingTitleStringGrid->SetRowCount(1);
    NewFittingTitleStringGrid->setFixedHeight(24);
    NewFittingTitleStringGrid->setEnabled(false);
    StringGridSetRowTexts(NewFittingTitleStringGrid,
                          {"Symbol", "", "", "Type", "Metric", "Imperial", "Description", "K value"}, " ", "", 0, 0);
    auto *symbolFrame = new QFrame(NewFittingPanel);
    symbolFrame->setFrameShape(QFrame::Box);
    ChosenSymbolImage = Named<QLabel>("ChosenSymbolImage", symbolFrame);
    ChosenSymbolImage->setFixedSize(FittingSymbolWidth, FittingSymbolHeight);
    (new QHBoxLayout(symbolFrame))->addWidget(ChosenSymbolImage);
    ImageIndexEdit = Named<QLineEdit>("ImageIndexEdit", QStringLiteral("0"), NewFittingPanel);
    SizeIndexEdit = Named<QLineEdit>("SizeIndexEdit", QStringLiteral("0"), NewFittingPanel);
    ImageIndexEdit->hide();
    SizeIndexEdit->hide();
    FittingTypeEdit = Named<QLineEdit>("FittingTypeEdit", NewFittingPanel);
    FittingTypeEdit->setMaxLength(TFitting::PartTypeStrLength);
    MetricDiameterComboBox = Named<QComboBox>("MetricDiameterComboBox", NewFittingPanel);
    ImperialDiameterComboBox = Named<QComboBox>("ImperialDiameterComboBox", NewFittingPanel);
    DescriptionEdit = Named<QLineEdit>("DescriptionEdit", NewFittingPanel);
    KValueEdit = Named<TRightEdit>("KValueEdit", NewFittingPanel);
    KValueEdit->OnKeyPress = [](TRightEdit *sender, char16_t &key) { FilterRealKey(sender, key, false, 3, 4); };
    ChangeImageButton = Named<QPushButton>("ChangeImageButton", QStringLiteral("Change"), NewFittingPanel);
    SaveNewEntryBitBtn = Named<QPushButton>("SaveNewEntryBitBtn", QStringLiteral("Save To Database"), NewFittingPanel);
    AddToPipeBitBtn = Named<QPushButton>("AddToPipeBitBtn", QStringLiteral("Add to Start of Pipe"), NewFittingPanel);
    BitBtn1 = Named<QPushButton>("BitBtn1", QStringLiteral("Add to End of Pipe"), NewFittingPanel);
    HideNewFittingPanelBitBtn =
        Named<QPushButton>("HideNewFittingPanelBitBtn", QStringLiteral("Cancel"), NewFittingPanel);
    {
        auto *layout = new QGridLayout(NewFittingPanel);
        layout->addWidget(new QLabel(QStringLiteral("Create new fittting:"), NewFittingPanel), 0, 0, 1, 3);
        layout->addWidget(NewFittingTitleStringGrid, 1, 0, 1, 7);
        layout->addWidget(symbolFrame, 2, 0);
        layout->addWidget(FittingTypeEdit, 2, 1);
        layout->addWidget(MetricDiameterComboBox, 2, 2);
        layout->addWidget(ImperialDiameterComboBox, 2, 3);
        layout->addWidget(DescriptionEdit, 2, 4);
        layout->addWidget(KValueEdit, 2, 5);
        layout->addWidget(ChangeImageButton, 3, 0);
        layout->addWidget(
            new QLabel(QStringLiteral("Click fitting in above list or use helper buttons to calculate fitting K "
                                      "value. "),
                       NewFittingPanel),
            3, 1, 1, 4);
        layout->addWidget(
            new QLabel(QStringLiteral("Update data in this panel to create new fittings."), NewFittingPanel), 4, 1, 1,
            4);
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(SaveNewEntryBitBtn);
        buttons->addWidget(AddToPipeBitBtn);
        buttons->addWidget(BitBtn1);
        buttons->addWidget(HideNewFittingPanelBitBtn);
        layout->addLayout(buttons, 5, 0, 1, 7);
    }
    NewFittingPanel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PipeBand);
    layout->addWidget(database);
    layout->addWidget(NewFittingPanel);
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    hideDropDowns();
    drawChosenSymbol(false);

    connect(SaveBitBtn, &QPushButton::clicked, this, [this] {
        if (target_)
            target_->CopyFittingSet(WorkingFittingSet);
        accept();
    });
    connect(CancelBitBtn, &QPushButton::clicked, this, [this] { reject(); });
    connect(ClearBitBtn, &QPushButton::clicked, this, [this] {
        WorkingFittingSet.Clear();
        hideDropDowns();
        DisplayPipeFittingList();
    });
    connect(PipeFittingDataStringGrid, &QTableWidget::cellClicked, this,
            [this](int row) { PipeGridRowClicked(row + 1); });
    connect(QuantityComboBox, &QComboBox::activated, this, [this] {
        const int id = pipeRow_ >= 1 && pipeRow_ <= static_cast<int>(pipeRowIds_.size())
                           ? pipeRowIds_[static_cast<std::size_t>(pipeRow_ - 1)]
                           : 0;
        if (id < 1)
            return;
        PipeFittingDataStringGrid->SetCells(8, pipeRow_, QuantityComboBox->currentText());
        int quantity = 1;
        if (!ReadInteger(QuantityComboBox->currentText(), quantity))
            quantity = 1;
        WorkingFittingSet.UpdateFittingQuantity(id, quantity);
        TotalKLabel->setText("Total K = " + q(formatFixed(2, WorkingFittingSet.CalculateTotal_KValue())));
    });
    connect(PositionComboBox, &QComboBox::activated, this, [this] {
        const int id = pipeRow_ >= 1 && pipeRow_ <= static_cast<int>(pipeRowIds_.size())
                           ? pipeRowIds_[static_cast<std::size_t>(pipeRow_ - 1)]
                           : 0;
        if (id < 1)
            return;
        WorkingFittingSet.UpdateFittingPosition(id, PositionComboBox->currentText() == "End of Pipe" ? ExitFitting
                                                                                                     : EntryFitting);
        WorkingFittingSet.SortFittingSet(8, true);
        DisplayPipeFittingList();
        hideDropDowns();
    });
    connect(RemoveFromPipeBitBtn, &QPushButton::clicked, this, [this] {
        const int id = pipeRow_ >= 1 && pipeRow_ <= static_cast<int>(pipeRowIds_.size())
                           ? pipeRowIds_[static_cast<std::size_t>(pipeRow_ - 1)]
                           : 0;
        if (id >= 1)
            WorkingFittingSet.RemoveFitting(id);
        DisplayPipeFittingList();
        StringGridClearSelection(PipeFittingDataStringGrid);
        hideDropDowns();
    });

    connect(MetricDiameterComboBox2, &QComboBox::activated, this, [this](int index) {
        ImperialDiameterComboBox2->setCurrentIndex(index);
        ApplySizeFilter();
    });
    connect(ImperialDiameterComboBox2, &QComboBox::activated, this, [this](int index) {
        MetricDiameterComboBox2->setCurrentIndex(index);
        ApplySizeFilter();
    });
    connect(PipeSizeLabel, &QPushButton::clicked, this, [this] {
        MetricDiameterComboBox2->setCurrentIndex(NominalMetricSizeToIndex(currentSize_));
        ImperialDiameterComboBox2->setCurrentIndex(MetricDiameterComboBox2->currentIndex());
        ApplySizeFilter();
        DisplayPipeFittingList();
    });
    connect(FittingDataStringGrid, &QTableWidget::cellDoubleClicked, this, [this] { AddSelectedDatabaseFitting(); });
    connect(FittingDataStringGrid, &QTableWidget::cellClicked, this, [this] { FittingDataStringGridClick(); });
    connect(AddSelectedItemBitBtn, &QPushButton::clicked, this, [this] { AddSelectedDatabaseFitting(); });
    connect(FittingDataStringGrid->horizontalHeader(), &QHeaderView::sectionPressed, this,
            [this](int column) { SortDatabaseColumn(column); });
    connect(PreviousPageBitBtn, &QPushButton::clicked, this, [this] { PreviousPage(); });
    connect(NextPageBitBtn, &QPushButton::clicked, this, [this] { NextPage(); });
    connect(CreateNewFittingBitBtn, &QPushButton::clicked, this, [this] { CreateNewFittingBitBtnClick(); });
    connect(RemoveFittingBitBtn, &QPushButton::clicked, this, [this] { RemoveDatabaseFitting(); });
    connect(HideNewFittingPanelBitBtn, &QPushButton::clicked, this, [this] { HideCreateNewFittingPanel(); });
    connect(MetricDiameterComboBox, &QComboBox::activated, this,
            [this](int index) { MetricDiameterComboBoxClick(index); });
    connect(ImperialDiameterComboBox, &QComboBox::activated, this,
            [this](int index) { MetricDiameterComboBoxClick(index); });
    connect(ChangeImageButton, &QPushButton::clicked, this, [this] { ChangeImageButtonClick(); });
    connect(SaveNewEntryBitBtn, &QPushButton::clicked, this, [this] { SaveNewEntryBitBtnClick(); });
    connect(AddToPipeBitBtn, &QPushButton::clicked, this, [this] { AddToPipeBitBtnClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(PipeEntranceRadiusBitBtn, &QPushButton::clicked, this, [this] {
        calculatorButton(PipeEntranceCalculationForm, 28, "0.50", "EntRnd", "Pipe entrance rounded intake");
    });
    connect(GradualEnlargementBitBtn, &QPushButton::clicked, this,
            [this] { calculatorButton(GradualEnlargementCalculationForm, 29, "1.00", "GrEn", "Gradual enlargement"); });
    connect(GradualContractionBitBtn, &QPushButton::clicked, this, [this] {
        calculatorButton(GradualContractionCalculationForm, 30, "1.50", "GrCon", "Gradual contraction");
    });
    connect(SuddenEnlargementBitBtn, &QPushButton::clicked, this,
            [this] { calculatorButton(SuddenEnlargementCalculationForm, 31, "1.00", "SuEn", "Sudden enlargement"); });
    connect(SuddenContractionBitBtn, &QPushButton::clicked, this,
            [this] { calculatorButton(SuddenContractionCalculationForm, 32, "1.50", "SuCon", "Sudden contraction"); });
    connect(LongPipeBendBitBtn, &QPushButton::clicked, this, [this] {
        calculatorButton(LongPipeBendCalculationForm, 2, "1.00", "PRad", "Pipe bend with specific radius");
    });

    InstallFileDataKey(this, &FileHeader, false);
}

TFittingManagerForm::~TFittingManagerForm() = default;

// --- Opening and files ------------------------------------------------------

void TFittingManagerForm::OpenFittingManager(TFittingSet &ThePipeFittingSet, int ThePipeId,
                                             const std::string &ThePipeName, int TheNominalMetricSize, bool ResultsMode,
                                             TFittingPosition FittingPosition)
{
    PaintDialogBackground(this);
    PaintDialogBackground(PipeBand, PipeBandColour);
    currentSize_ = TheNominalMetricSize;
    currentPosition_ = FittingPosition;
    resultsMode_ = ResultsMode;
    for (QWidget *control : std::initializer_list<QWidget *>{PipeFittingDataStringGrid,
                                                             FittingDataStringGrid,
                                                             MetricDiameterComboBox2,
                                                             ImperialDiameterComboBox2,
                                                             PipeSizeLabel,
                                                             AddSelectedItemBitBtn,
                                                             PreviousPageBitBtn,
                                                             NextPageBitBtn,
                                                             CreateNewFittingBitBtn,
                                                             RemoveFittingBitBtn,
                                                             PipeEntranceRadiusBitBtn,
                                                             GradualEnlargementBitBtn,
                                                             GradualContractionBitBtn,
                                                             SuddenEnlargementBitBtn,
                                                             SuddenContractionBitBtn,
                                                             LongPipeBendBitBtn,
                                                             NewFittingPanel,
                                                             QuantityComboBox,
                                                             PositionComboBox,
                                                             RemoveFromPipeBitBtn,
                                                             SaveBitBtn,
                                                             ClearBitBtn,
                                                             CancelBitBtn})
        control->setEnabled(!ResultsMode);
    target_ = &ThePipeFittingSet;
    WorkingFittingSet.CopyFittingSet(ThePipeFittingSet);
    PipeIdLabel->setText("( Pipe Id: " + QString::number(ThePipeId) + " )");
    PipeNameLabel->setText(q(ThePipeName));

    if (firstUse_) {
        try {
            loadDatabase();
        } catch (const std::exception &error) {
            // The dialog is not shown; the next opening reads the files again.
            Dialogs().ShowMessage(TDialogKind::Error, q(error.what()), this);
            return;
        }
        fillSizeLists();
        ApplySizeFilter();
        FittingDataStringGridClick();
        firstUse_ = false;
    }
    HideCreateNewFittingPanel();
    hideDropDowns();
    MetricDiameterComboBox2->setCurrentIndex(NominalMetricSizeToIndex(currentSize_));
    ImperialDiameterComboBox2->setCurrentIndex(MetricDiameterComboBox2->currentIndex());
    ApplySizeFilter();
    WorkingFittingSet.SortFittingSet(8, true);
    DisplayPipeFittingList();
    exec();
}

void TFittingManagerForm::loadDatabase()
{
    const std::string folder = ProgramFolder + std::string(TFittingSet::FittingTablesFolder) + "/";
    const std::string standard = folder + std::string(TFittingSet::StandardFittingsFileName);
    std::ifstream in(standard, std::ios::binary);
    if (!in || !QFileInfo(q(standard)).isFile())
        throw EFittingSetClass("Cannot open file " + standard);
    FittingDataSet.Clear();
    FileHeader.LoadFromText(in);
    std::string tooLarge = FittingDataSet.LoadFromTextWithoutQuantity(in);
    if (!tooLarge.empty())
        Dialogs().ShowMessage(TDialogKind::Error, q(tooLarge), this);
    const std::string user = folder + std::string(TFittingSet::UserFittingsFileName);
    if (QFileInfo(q(user)).isFile()) {
        std::ifstream userIn(user, std::ios::binary);
        if (!userIn)
            throw EFittingSetClass("Cannot open file " + user);
        FileHeader.LoadFromText(userIn);
        tooLarge = FittingDataSet.LoadUserFittings_FromTextWithoutQuantity(userIn);
        if (!tooLarge.empty())
            Dialogs().ShowMessage(TDialogKind::Error, q(tooLarge), this);
    }
    SetFittingDataGrid_MinimumRowCount();
    DisplayMainFittingList();
}

bool TFittingManagerForm::rewriteList(TFittingFileType list)
{
    const std::string path = ProgramFolder + std::string(TFittingSet::FittingTablesFolder) + "/" +
                             std::string(list == FittingFileTessaran ? TFittingSet::StandardFittingsFileName
                                                                     : TFittingSet::UserFittingsFileName);
    try {
        std::ostringstream text(std::ios::binary);
        FileHeader.SetData(TFittingSet::FittingTablesVersion, "", "");
        FileHeader.SaveToText(text);
        if (list == FittingFileTessaran)
            FittingDataSet.SaveToTextWithoutQuantity(text);
        else
            FittingDataSet.SaveUserFittings_ToTextWithoutQuantity(text);
        WriteFile(path, text.str());
        return true;
    } catch (const std::exception &error) {
        Dialogs().ShowMessage(TDialogKind::Error, q(error.what()) + "\r\rThe change has not been made.", this);
        return false;
    }
}

void TFittingManagerForm::fillSizeLists()
{
    for (QComboBox *list :
         {MetricDiameterComboBox2, ImperialDiameterComboBox2, MetricDiameterComboBox, ImperialDiameterComboBox})
        list->clear();
    MetricDiameterComboBox2->addItem(QStringLiteral("-"));
    ImperialDiameterComboBox2->addItem(QStringLiteral("-"));
    MetricDiameterComboBox->addItem(QStringLiteral("N/A"));
    ImperialDiameterComboBox->addItem(QStringLiteral("N/A"));
    // One entry per nominal size, named as the database's plain pipe entry
    // of that size names it, so that a list index is always a size index.
    for (int i = 1; i <= NominalSizeCount; ++i) {
        const int size = IndexToNominalMetricSize(i);
        QString metric = QString::number(size) + " mm";
        QString imperial = QStringLiteral("-");
        for (int id = 1; id <= FittingDataSet.FittingCount; ++id) {
            const TFitting &fitting = FittingDataSet.GetFitting(id);
            if (fitting.ImageIndex == 0 && fitting.MetricSize == size) {
                metric = q(fitting.MetricDiameter);
                imperial = q(fitting.ImperialDiameter);
                break;
            }
        }
        MetricDiameterComboBox2->addItem(metric);
        MetricDiameterComboBox->addItem(metric);
        ImperialDiameterComboBox2->addItem(imperial);
        ImperialDiameterComboBox->addItem(imperial);
    }
}

// --- Lists ------------------------------------------------------------------

int TFittingManagerForm::DatabaseRowFittingId(int row) const
{
    return row >= 1 && row <= static_cast<int>(rowIds_.size()) ? rowIds_[static_cast<std::size_t>(row - 1)] : 0;
}

void TFittingManagerForm::SetFittingDataGrid_MinimumRowCount()
{
    int listed = 0;
    for (int id = 1; id <= FittingDataSet.FittingCount; ++id)
        if (FittingDataSet.GetFitting(id).ImageIndex >= 0)
            ++listed;
    if (listed == 0) {
        FittingDataStringGrid->SetRowCount(2);
        FittingDataStringGrid->setRowHidden(0, true);
        PreviousPageBitBtn->hide();
        NextPageBitBtn->hide();
    } else {
        FittingDataStringGrid->SetRowCount(listed + 1);
        for (int row = 0; row < listed; ++row)
            FittingDataStringGrid->setRowHidden(row, false);
        PreviousPageBitBtn->show();
        NextPageBitBtn->show();
    }
}

void TFittingManagerForm::DisplayMainFittingList()
{
    TStringGridWidget *grid = FittingDataStringGrid;
    SetFittingDataGrid_MinimumRowCount();
    StringGridFillCells(grid, 0, 1, QString());
    rowIds_.clear();
    int row = 0;
    for (int id = 1; id <= FittingDataSet.FittingCount; ++id) {
        const TFitting &fitting = FittingDataSet.GetFitting(id);
        if (fitting.ImageIndex < 0)
            continue;
        ++row;
        rowIds_.push_back(id);
        const std::vector<std::string> cells = fitting.DisplayOnStringGrid();
        for (int col = 0; col < 7; ++col)
            grid->SetCells(col + 1, row, q(cells[static_cast<std::size_t>(col)]));
        if (QTableWidgetItem *symbol = grid->item(row - 1, 0))
            symbol->setData(Qt::UserRole, FittingDataSet.GetFittingFileType(id) == FittingFileUser);
    }
    grid->viewport()->update();
}

void TFittingManagerForm::DisplayPipeFittingList()
{
    TStringGridWidget *grid = PipeFittingDataStringGrid;
    StringGridFillCells(grid, 0, 1, QString());
    StringGridClearSelection(grid);
    pipeRowIds_.clear();
    int row = 0;
    for (int id = 1; id <= WorkingFittingSet.FittingCount; ++id) {
        const TFitting &fitting = WorkingFittingSet.GetFitting(id);
        if (fitting.ImageIndex < 0)
            continue;
        ++row;
        pipeRowIds_.push_back(id);
        const std::vector<std::string> cells = fitting.DisplayOnStringGrid();
        for (int col = 0; col < 7; ++col)
            grid->SetCells(col + 1, row, q(cells[static_cast<std::size_t>(col)]));
        grid->SetCells(8, row, q(WorkingFittingSet.DisplayQuantityOnStringGrid(id)));
        grid->SetCells(9, row, q(WorkingFittingSet.DisplayPositionOnStringGrid(id)));
    }
    for (int r = 1; r <= PipeFittingSetSize; ++r) {
        QColor colour = Qt::white;
        if (r <= row)
            colour =
                WorkingFittingSet.GetFittingPosition(pipeRowIds_[static_cast<std::size_t>(r - 1)]) == currentPosition_
                    ? CurrentPositionRow
                    : OtherPositionRow;
        for (int col = 0; col < grid->ColCount(); ++col)
            if (QTableWidgetItem *cell = grid->item(r - 1, col))
                cell->setBackground(colour);
    }
    grid->viewport()->update();
    TotalKLabel->setText("Total K = " + q(formatFixed(2, WorkingFittingSet.CalculateTotal_KValue())));
}

void TFittingManagerForm::scrollDatabaseTo(int row)
{
    TStringGridWidget *grid = FittingDataStringGrid;
    if (row < 1 || row >= grid->RowCount())
        row = 1;
    // The scroll range follows the rows only once the grid has laid them
    // out.
    grid->doItemsLayout();
    if (grid->RowCount() > 1)
        grid->scrollTo(grid->model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

void TFittingManagerForm::ApplySizeFilter()
{
    ImperialDiameterComboBox2->setCurrentIndex(MetricDiameterComboBox2->currentIndex());
    FittingDataSet.SortFittingSet(-1, true);
    StringGridClearSelection(FittingDataStringGrid);
    DisplayMainFittingList();
    const int size = IndexToNominalMetricSize(MetricDiameterComboBox2->currentIndex());
    int row = 1;
    for (int r = 1; r <= static_cast<int>(rowIds_.size()); ++r)
        if (FittingDataSet.GetFitting(rowIds_[static_cast<std::size_t>(r - 1)]).MetricSize == size) {
            row = r;
            break;
        }
    scrollDatabaseTo(row);
}

void TFittingManagerForm::SortDatabaseColumn(int column)
{
    if (column < 0 || column >= static_cast<int>(sortAscending_.size()))
        return;
    FittingDataSet.SortFittingSet(column, sortAscending_[static_cast<std::size_t>(column)]);
    sortAscending_[static_cast<std::size_t>(column)] = !sortAscending_[static_cast<std::size_t>(column)];
    StringGridClearSelection(FittingDataStringGrid);
    DisplayMainFittingList();
    scrollDatabaseTo(1);
}

void TFittingManagerForm::PreviousPage()
{
    TStringGridWidget *grid = FittingDataStringGrid;
    const int page = grid->height() / DatabaseRowHeight - 2;
    const int top = std::max(1, grid->TopRow() - page);
    scrollDatabaseTo(top);
    grid->SetRow(top);
}

void TFittingManagerForm::NextPage()
{
    SetFittingDataGrid_MinimumRowCount();
    TStringGridWidget *grid = FittingDataStringGrid;
    const int page = grid->height() / DatabaseRowHeight - 2;
    int top = grid->TopRow();
    if (top + page <= static_cast<int>(rowIds_.size()))
        top += page;
    scrollDatabaseTo(top);
    grid->SetRow(top);
}

// --- The pipe's fittings ----------------------------------------------------

void TFittingManagerForm::hideDropDowns()
{
    QuantityComboBox->hide();
    PositionComboBox->hide();
    RemoveFromPipeBitBtn->hide();
}

void TFittingManagerForm::showDropDowns(int row)
{
    pipeRow_ = row;
    TStringGridWidget *grid = PipeFittingDataStringGrid;
    const int top = grid->rowViewportPosition(row - 1);
    const int quantityLeft = grid->columnViewportPosition(8);
    const int positionLeft = grid->columnViewportPosition(9);
    QuantityComboBox->setGeometry(quantityLeft, top, grid->columnWidth(8), PipeRowHeight + 1);
    PositionComboBox->setGeometry(positionLeft, top, grid->columnWidth(9), PipeRowHeight + 1);
    RemoveFromPipeBitBtn->setGeometry(positionLeft + grid->columnWidth(9) - PipeRowHeight - 20, top, PipeRowHeight,
                                      PipeRowHeight);
    int quantity = 0;
    if (ReadInteger(grid->Cells(8, row), quantity) && quantity >= 1 && quantity <= 20) {
        QuantityComboBox->setCurrentIndex(quantity - 1);
        QuantityComboBox->show();
        RemoveFromPipeBitBtn->show();
        if (QuantityComboBox->isEnabled())
            QuantityComboBox->setFocus();
    } else {
        StringGridClearSelection(grid);
        QuantityComboBox->hide();
        RemoveFromPipeBitBtn->hide();
    }
    const int id = pipeRowIds_[static_cast<std::size_t>(row - 1)];
    PositionComboBox->setCurrentIndex(WorkingFittingSet.GetFittingPosition(id) == ExitFitting ? 1 : 0);
    PositionComboBox->show();
}

void TFittingManagerForm::PipeGridRowClicked(int row)
{
    const int used = static_cast<int>(pipeRowIds_.size());
    if (used == 0) {
        StringGridClearSelection(PipeFittingDataStringGrid);
        hideDropDowns();
        return;
    }
    if (row > used) {
        PipeFittingDataStringGrid->SetRow(used);
        pipeRow_ = used;
        hideDropDowns();
        return;
    }
    PipeFittingDataStringGrid->SetRow(row);
    showDropDowns(row);
}

void TFittingManagerForm::AddSelectedDatabaseFitting()
{
    const int row = FittingDataStringGrid->Row();
    const int id = DatabaseRowFittingId(row);
    int size = -1;
    if (id < 1 || !ReadInteger(FittingDataStringGrid->Cells(1, row), size) || size < 0)
        return;
    if (WorkingFittingSet.FittingCount >= PipeFittingSetSize) {
        Dialogs().ShowMessage(TDialogKind::Information, RecordFull, this);
        return;
    }
    const int added = WorkingFittingSet.AddFitting(FittingDataSet.GetFitting(id), 1, currentPosition_);
    WorkingFittingSet.SetFittingFileType(added, FittingDataSet.GetFittingFileType(id));
    DisplayPipeFittingList();
    const auto at = std::find(pipeRowIds_.begin(), pipeRowIds_.end(), added);
    if (at != pipeRowIds_.end()) {
        const int pipeRow = static_cast<int>(at - pipeRowIds_.begin()) + 1;
        PipeFittingDataStringGrid->SetRow(pipeRow);
        showDropDowns(pipeRow);
    }
}

void TFittingManagerForm::RemoveDatabaseFitting()
{
    const int row = FittingDataStringGrid->Row();
    const int id = DatabaseRowFittingId(row);
    if (id < 1)
        return;
    // The plain pipe entries are the size lists' names and the filter's
    // targets: they stay.
    if (FittingDataSet.GetFitting(id).ImageIndex == 0) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("The plain pipe size entries (symbol 0) cannot be removed."), this);
        return;
    }
    const TFittingFileType list = FittingDataSet.GetFittingFileType(id);
    const QString question =
        QString(list == FittingFileTessaran ? "This is a standard fitting it " : "The selected fitting ") +
        "will be permanently removed.\r" + "This action cannot be reversed.\r\r" + "Continue with removal?";
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation, question, this))
        return;
    auto before = std::make_unique<TFittingSet>(DatabaseSize);
    before->CopyFittingSet(FittingDataSet);
    FittingDataSet.RemoveFitting(id);
    if (!rewriteList(list))
        FittingDataSet.CopyFittingSet(*before);
    SetFittingDataGrid_MinimumRowCount();
    DisplayMainFittingList();
    const int count = static_cast<int>(rowIds_.size());
    if (count == 0) {
        StringGridClearSelection(FittingDataStringGrid);
        return;
    }
    FittingDataStringGrid->SetRow(std::min(row, count));
    FittingDataStringGridClick();
}

// --- New-fitting panel ------------------------------------------------------

void TFittingManagerForm::CreateNewFittingBitBtnClick()
{
    CreateNewFittingBitBtn->hide();
    RemoveFittingBitBtn->hide();
    FittingDataStringGrid->setFixedHeight(ShortDatabaseGridHeight);
    NewFittingPanel->show();
}

void TFittingManagerForm::HideCreateNewFittingPanel()
{
    NewFittingPanel->hide();
    FittingDataStringGrid->setFixedHeight(DatabaseGridHeight);
    CreateNewFittingBitBtn->show();
    RemoveFittingBitBtn->show();
}

void TFittingManagerForm::drawChosenSymbol(bool withSymbol)
{
    QImage picture(FittingSymbolWidth, FittingSymbolHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(SymbolFill);
    if (withSymbol) {
        int symbol = 0;
        if (!ReadInteger(ImageIndexEdit->text(), symbol))
            symbol = 0;
        QPainter painter(&picture);
        DrawFittingSymbol(painter, 0, 0, symbol);
    }
    ChosenSymbolImage->setPixmap(QPixmap::fromImage(picture));
}

void TFittingManagerForm::FittingDataStringGridClick()
{
    StringGridClearSelection(PipeFittingDataStringGrid);
    hideDropDowns();
    TStringGridWidget *grid = FittingDataStringGrid;
    if (grid->Row() < 1)
        grid->SetRow(1);
    const int row = grid->Row();
    if (DatabaseRowFittingId(row) < 1)
        return;
    SizeIndexEdit->setText(grid->Cells(1, row));
    int size = -1;
    if (!ReadInteger(SizeIndexEdit->text(), size) || size < 0)
        return;
    MetricDiameterComboBox->setCurrentIndex(NominalMetricSizeToIndex(size));
    ImperialDiameterComboBox->setCurrentIndex(NominalMetricSizeToIndex(size));
    ImageIndexEdit->setText(grid->Cells(2, row));
    FittingTypeEdit->setText(grid->Cells(3, row));
    DescriptionEdit->setText(grid->Cells(6, row));
    KValueEdit->setText(grid->Cells(7, row));
    drawChosenSymbol(true);
}

void TFittingManagerForm::MetricDiameterComboBoxClick(int index)
{
    MetricDiameterComboBox->setCurrentIndex(index);
    ImperialDiameterComboBox->setCurrentIndex(index);
    SizeIndexEdit->setText(QString::number(IndexToNominalMetricSize(index)));
}

void TFittingManagerForm::SetPipeSizeToNA()
{
    MetricDiameterComboBox->setCurrentIndex(0);
    ImperialDiameterComboBox->setCurrentIndex(0);
    SizeIndexEdit->setText(QStringLiteral("0"));
}

void TFittingManagerForm::ChangeImageButtonClick()
{
    int symbol = 0;
    if (!ReadInteger(ImageIndexEdit->text(), symbol))
        symbol = 0;
    ChooseSymbolForm->SymbolIndex = symbol;
    ChooseSymbolForm->move(x() + 12, y() + 179);
    ChooseSymbolForm->exec();
    if (ChooseSymbolForm->SymbolIndex >= 0) {
        ImageIndexEdit->setText(QString::number(ChooseSymbolForm->SymbolIndex));
        drawChosenSymbol(true);
    }
}

bool TFittingManagerForm::readK(double &k)
{
    std::string text = KValueEdit->text().toStdString();
    const char separator = static_cast<char>(LocaleDecimalSeparator());
    NormaliseDecimalSeparator(text, separator);
    bool valid = false;
    k = ReadRealFromString(text, valid, true, true, separator);
    if (!valid)
        Dialogs().ShowMessage(TDialogKind::Information, KNotValid, this);
    return valid;
}

TFitting TFittingManagerForm::buildFitting()
{
    if (MetricDiameterComboBox->currentIndex() < 0)
        SetPipeSizeToNA();
    double k = 0;
    std::string text = KValueEdit->text().toStdString();
    const char separator = static_cast<char>(LocaleDecimalSeparator());
    NormaliseDecimalSeparator(text, separator);
    bool valid = false;
    k = ReadRealFromString(text, valid, true, true, separator);
    int image = 0, size = 0;
    if (!ReadInteger(ImageIndexEdit->text(), image))
        image = 0;
    if (!ReadInteger(SizeIndexEdit->text(), size))
        size = 0;
    TFitting fitting;
    fitting.SetFittingData(
        size, image, FittingTypeEdit->text().toStdString(), MetricDiameterComboBox->currentText().toStdString(),
        ImperialDiameterComboBox->currentText().toStdString(), DescriptionEdit->text().toStdString(), k);
    return fitting;
}

void TFittingManagerForm::SaveNewEntryBitBtnClick()
{
    double k = 0;
    if (!readK(k))
        return;
    // A separator in a text would shift the fields of its line in the file.
    if (FittingTypeEdit->text().contains("~|~") || DescriptionEdit->text().contains("~|~")) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("The fitting type and description cannot hold \"~|~\"."), this);
        return;
    }
    int image = 0;
    if (!ReadInteger(ImageIndexEdit->text(), image) || image <= 0) {
        Dialogs().ShowMessage(TDialogKind::Information,
                              QStringLiteral("Choose a symbol for the new fitting: symbol 0 is kept for the plain "
                                             "pipe size entries."),
                              this);
        return;
    }
    if (!Dialogs().AskYesNo(TDialogKind::Confirmation,
                            QStringLiteral("Add new fitting data to Fitting database.\rProceed with this operation?"),
                            this))
        return;
    HideCreateNewFittingPanel();
    const TFitting fitting = buildFitting();
    int id = 0;
    try {
        id = FittingDataSet.AddFitting(fitting, 1, EntryFitting);
    } catch (const std::exception &error) {
        Dialogs().ShowMessage(TDialogKind::Error, q(error.what()), this);
        return;
    }
    FittingDataSet.SetFittingFileType(id, FittingFileUser);
    if (!rewriteList(FittingFileUser))
        FittingDataSet.RemoveFitting(id);
    SetFittingDataGrid_MinimumRowCount();
    DisplayMainFittingList();
    NextPage();
}

void TFittingManagerForm::addToPipe(TFittingPosition position)
{
    double k = 0;
    const bool kRead = readK(k);
    const bool room = WorkingFittingSet.FittingCount < PipeFittingSetSize;
    if (!room)
        Dialogs().ShowMessage(TDialogKind::Information, RecordFull, this);
    if (!kRead || !room)
        return;
    HideCreateNewFittingPanel();
    const TFitting fitting = buildFitting();
    currentPosition_ = position;
    const int added = WorkingFittingSet.AddFitting(fitting, 1, position);
    DisplayPipeFittingList();
    const auto at = std::find(pipeRowIds_.begin(), pipeRowIds_.end(), added);
    if (at != pipeRowIds_.end()) {
        const int row = static_cast<int>(at - pipeRowIds_.begin()) + 1;
        PipeFittingDataStringGrid->SetRow(row);
        showDropDowns(row);
    }
}

void TFittingManagerForm::AddToPipeBitBtnClick() { addToPipe(EntryFitting); }

void TFittingManagerForm::BitBtn1Click() { addToPipe(ExitFitting); }

void TFittingManagerForm::calculatorButton(TFittingCalculationForm *calculator, int symbol, const QString &defaultK,
                                           const QString &type, const QString &description)
{
    CreateNewFittingBitBtnClick();
    ImageIndexEdit->setText(QString::number(symbol));
    drawChosenSymbol(false);
    SetPipeSizeToNA();
    FittingTypeEdit->clear();
    DescriptionEdit->clear();
    const QString result = calculator->KResultText();
    KValueEdit->setText(result.isEmpty() ? defaultK : result);
    const QPalette saved = KValueEdit->palette();
    QPalette yellow = saved;
    yellow.setColor(QPalette::Base, FlashYellow);
    KValueEdit->setPalette(yellow);
    calculator->move(x() + 214, y() + 179);
    calculator->exec();
    KValueEdit->setPalette(saved);
    if (calculator->UseAsNewFitting()) {
        KValueEdit->setText(calculator->KResultText());
        FittingTypeEdit->setText(type);
        DescriptionEdit->setText(description);
        drawChosenSymbol(true);
    }
}

} // namespace tessaran
